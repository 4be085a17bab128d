// Reading zip archives through minizip with wide paths: the list of entries with their
// decoded names, the checks every entry passes before it is extracted, and streaming one
// entry's bytes with its size and CRC verified.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <unzip.h>

struct t_zipEntry {
    std::wstring name;  // decoded name as stored (separators unchanged)
    bool nameDecoded = false;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t dosDate = 0;
    unz64_file_pos position = {};

    bool IsFolder() const { return !name.empty() && (name.back() == L'/' || name.back() == L'\\'); }
};

class t_zipReader {
public:
    t_zipReader() = default;
    ~t_zipReader() { Close(); }
    t_zipReader(const t_zipReader&) = delete;
    t_zipReader& operator=(const t_zipReader&) = delete;

    // ZIPLIB_OK, or ZIPLIB_E_OPEN when the file cannot be opened as a zip archive.
    int Open(const wchar_t* path);
    void Close();
    uint64_t ArchiveSize() const { return m_archiveSize; }

    // Every entry in directory order; ZIPLIB_E_TOO_BIG past ZIPLIB_MAX_ENTRIES,
    // ZIPLIB_E_CORRUPT when the directory cannot be read.
    int List(std::vector<t_zipEntry>& entries);
    // Streams the entry's bytes to sink (false from sink stops with ZIPLIB_E_WRITE); the
    // byte count must equal the directory's size and the CRC must match.
    int Read(const t_zipEntry& entry, const std::function<bool(const void*, unsigned)>& sink);

    // What an entry must pass before it is extracted: a decoded name, no encryption, stored
    // or deflated data, a plausible size within ZIPLIB_MAX_ENTRY_SIZE.
    static int Check(const t_zipEntry& entry);

private:
    unzFile m_file = nullptr;
    uint64_t m_archiveSize = 0;
};
