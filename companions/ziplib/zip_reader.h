// Reading zip archives with wide paths: the list of entries with their decoded names, the
// checks every entry passes before it is extracted, and one entry's bytes with size and
// CRC verified. The directory is read in one block; an archive extracted whole is read
// into memory once, and entries are inflated by a reused stream.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "companions/ziplib/byte_block.h"

struct t_zipEntry {
    std::wstring name;  // decoded name as stored (separators unchanged)
    bool nameDecoded = false;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t dosDate = 0;
    uint64_t headerOffset = 0;  // of the local header, from the archive's start

    bool IsFolder() const { return !name.empty() && (name.back() == L'/' || name.back() == L'\\'); }
};

// What one thread needs to unpack entries: a reused inflate stream and reused blocks.
class t_unpacker {
public:
    t_unpacker();
    ~t_unpacker();
    t_unpacker(const t_unpacker&) = delete;
    t_unpacker& operator=(const t_unpacker&) = delete;

private:
    friend class t_zipReader;
    struct t_state;
    std::unique_ptr<t_state> m_state;
};

class t_zipReader {
public:
    t_zipReader() = default;
    ~t_zipReader() { Close(); }
    t_zipReader(const t_zipReader&) = delete;
    t_zipReader& operator=(const t_zipReader&) = delete;

    // ZIPLIB_OK, or ZIPLIB_E_OPEN when the file cannot be opened as a zip archive.
    int Open(const wchar_t* path);
    // Opens an archive whose directory was read before, given where the archive proper
    // starts in the file (Prefix then): no search for the end record. Only Unpack and Read
    // work on it.
    int OpenAt(const wchar_t* path, uint64_t prefix);
    // Bytes before the archive proper (a self-extractor's stub).
    uint64_t Prefix() const { return m_prefix; }
    void Close();
    uint64_t ArchiveSize() const { return m_archiveSize; }
    // Maps the whole archive (or, where it cannot be mapped, reads it into memory) when it
    // is not too large, so that unpacking costs no further reads; false leaves it read
    // entry by entry. The archive is open without write sharing, so the mapped bytes stay.
    bool Preload();

    // Every entry in directory order; ZIPLIB_E_TOO_BIG past ZIPLIB_MAX_ENTRIES,
    // ZIPLIB_E_CORRUPT when the directory cannot be read.
    int List(std::vector<t_zipEntry>& entries);
    // The entry's bytes, checked against the directory's size and CRC: data points into
    // unpacker (or the preloaded archive) until its next use. Safe to call from several
    // threads at once, each with its own unpacker.
    int Unpack(const t_zipEntry& entry, t_unpacker& unpacker, const uint8_t*& data, size_t& size) const;
    // Unpack through a sink (false from sink: ZIPLIB_E_WRITE).
    int Read(const t_zipEntry& entry, const std::function<bool(const void*, unsigned)>& sink);

    // What an entry must pass before it is extracted: a decoded name, no encryption, stored
    // or deflated data, a plausible size within ZIPLIB_MAX_ENTRY_SIZE.
    static int Check(const t_zipEntry& entry);

private:
    // Opens the file and takes its size; ZIPLIB_E_OPEN when it is shorter than an end record.
    int OpenFile(const wchar_t* path);
    // count bytes at offset from the start of the file, into out; false when short.
    bool ReadAt(uint64_t offset, void* out, size_t count) const;
    // count bytes at offset: a pointer into the preloaded archive, or read into block.
    const uint8_t* View(uint64_t offset, size_t count, t_byteBlock& block) const;

    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint64_t m_archiveSize = 0;
    uint64_t m_prefix = 0;  // bytes before the archive proper (a self-extractor's stub)
    uint64_t m_directoryOffset = 0;
    uint64_t m_directorySize = 0;
    uint64_t m_entryCount = 0;
    HANDLE m_mapping = nullptr;
    const uint8_t* m_mapped = nullptr;       // the mapped view, unmapped by Close
    t_byteBlock m_whole;                     // the archive read whole where it could not be mapped
    const uint8_t* m_preloaded = nullptr;    // the whole archive: m_mapped or m_whole
    std::unique_ptr<t_unpacker> m_unpacker;  // for Read
};
