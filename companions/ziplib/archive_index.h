// Directories of archives readied by PrepareUnzipFile, kept so that each UnZipFile finds
// its entry through a map and one seek instead of walking the archive's directory again:
// n look-ups in one archive cost n, not n squared.
#pragma once

#include <windows.h>

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "companions/ziplib/zip_reader.h"

class t_archiveIndexCache {
public:
    // How many directories stay cached; the least recently used one goes first.
    static const size_t c_capacity = 8;

    t_archiveIndexCache();
    ~t_archiveIndexCache();
    t_archiveIndexCache(const t_archiveIndexCache&) = delete;
    t_archiveIndexCache& operator=(const t_archiveIndexCache&) = delete;

    static t_archiveIndexCache& Global();

    // Reads the archive's directory unless a cached copy matches the file's size and time.
    int Prepare(const std::wstring& archive);
    // The entry of that name (without regard to case, either separator): ZIPLIB_OK, or
    // ZIPLIB_E_OPEN when the archive cannot be read, ZIPLIB_E_ARGUMENT when it has no such
    // entry. prefix, when given, gets where the archive proper starts (t_zipReader::OpenAt).
    int Find(const std::wstring& archive, const std::wstring& entryName, t_zipEntry& out, uint64_t* prefix = nullptr);
    // Find for many names against one look at the archive: codes gets each name's code
    // (ZIPLIB_OK or ZIPLIB_E_ARGUMENT) and out its entry where found; the result is the
    // archive's (ZIPLIB_E_OPEN when it cannot be read).
    int FindEach(const std::wstring& archive, const std::vector<std::wstring>& names, std::vector<t_zipEntry>& out,
                 std::vector<int>& codes, uint64_t& prefix);
    void Clear();
    // Directories read so far (each costs a walk over every entry).
    unsigned DirectoryReads() const { return m_directoryReads; }

private:
    struct t_index {
        std::wstring key;  // the archive's path, upper case
        uint64_t size = 0;
        FILETIME written = {};
        uint64_t prefix = 0;
        std::unordered_map<std::wstring, t_zipEntry> entries;
    };
    // Under the lock: the cached index of the archive, read afresh when missing or stale;
    // null with code set on failure.
    t_index* Lookup(const std::wstring& archive, int& code);

    CRITICAL_SECTION m_lock;
    std::list<t_index> m_indexes;  // most recently used first
    unsigned m_directoryReads = 0;
};
