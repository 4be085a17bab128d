#include "companions/ziplib/zip_reader.h"

#include <iowin32.h>

#include <memory>

#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/ziplib.h"

int t_zipReader::Open(const wchar_t* path)
{
    Close();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return ZIPLIB_E_OPEN;
    m_archiveSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    zlib_filefunc64_def io;
    fill_win32_filefunc64W(&io);
    m_file = unzOpen2_64(path, &io);
    return m_file ? ZIPLIB_OK : ZIPLIB_E_OPEN;
}

void t_zipReader::Close()
{
    if (m_file) {
        unzClose(m_file);
        m_file = nullptr;
    }
}

int t_zipReader::List(std::vector<t_zipEntry>& entries)
{
    entries.clear();
    if (!m_file)
        return ZIPLIB_E_OPEN;
    unz_global_info64 global;
    if (unzGetGlobalInfo64(m_file, &global) != UNZ_OK)
        return ZIPLIB_E_CORRUPT;
    if (global.number_entry > ZIPLIB_MAX_ENTRIES)
        return ZIPLIB_E_TOO_BIG;
    entries.reserve(static_cast<size_t>(global.number_entry));
    std::vector<char> name;
    std::vector<uint8_t> extra;
    int rc = unzGoToFirstFile(m_file);
    while (rc == UNZ_OK) {
        if (entries.size() >= ZIPLIB_MAX_ENTRIES)
            return ZIPLIB_E_TOO_BIG;
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_file, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return ZIPLIB_E_CORRUPT;
        // Both lengths are 16-bit fields of the directory record.
        name.assign(info.size_filename + 1, 0);
        extra.assign(info.size_file_extra + 1, 0);
        if (unzGetCurrentFileInfo64(m_file, &info, name.data(), static_cast<uLong>(name.size()), extra.data(),
                                    static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK)
            return ZIPLIB_E_CORRUPT;
        t_zipEntry entry;
        entry.flags = static_cast<uint16_t>(info.flag);
        entry.method = static_cast<uint16_t>(info.compression_method);
        entry.compressedSize = info.compressed_size;
        entry.uncompressedSize = info.uncompressed_size;
        entry.dosDate = static_cast<uint32_t>(info.dosDate);
        entry.nameDecoded =
            n_zipName::Decode(name.data(), info.size_filename, entry.flags, extra.data(), info.size_file_extra,
                              static_cast<uint8_t>(info.version >> 8), entry.name);
        if (unzGetFilePos64(m_file, &entry.position) != UNZ_OK)
            return ZIPLIB_E_CORRUPT;
        entries.push_back(std::move(entry));
        rc = unzGoToNextFile(m_file);
    }
    return rc == UNZ_END_OF_LIST_OF_FILE ? ZIPLIB_OK : ZIPLIB_E_CORRUPT;
}

int t_zipReader::Check(const t_zipEntry& entry)
{
    if (!entry.nameDecoded)
        return ZIPLIB_E_REFUSED;
    // Bit 0: traditional or AES encryption; bit 6: strong encryption.
    if (entry.flags & 0x0041)
        return ZIPLIB_E_REFUSED;
    if (entry.method != 0 && entry.method != Z_DEFLATED)
        return ZIPLIB_E_REFUSED;
    if (entry.uncompressedSize > ZIPLIB_MAX_ENTRY_SIZE)
        return ZIPLIB_E_TOO_BIG;
    if (entry.method == 0 && entry.compressedSize != entry.uncompressedSize)
        return ZIPLIB_E_CORRUPT;
    return ZIPLIB_OK;
}

int t_zipReader::Read(const t_zipEntry& entry, const std::function<bool(const void*, unsigned)>& sink)
{
    if (!m_file)
        return ZIPLIB_E_OPEN;
    unz64_file_pos position = entry.position;
    if (unzGoToFilePos64(m_file, &position) != UNZ_OK || unzOpenCurrentFile(m_file) != UNZ_OK)
        return ZIPLIB_E_CORRUPT;
    const unsigned c_chunk = 1u << 16;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[c_chunk]);
    if (!buffer) {
        unzCloseCurrentFile(m_file);
        return ZIPLIB_E_MEMORY;
    }
    // minizip never inflates past the directory's size, so a lying size cannot make
    // this loop write more than the checks allowed.
    uint64_t total = 0;
    int result = ZIPLIB_OK;
    for (;;) {
        const int got = unzReadCurrentFile(m_file, buffer.get(), c_chunk);
        if (got < 0) {
            result = ZIPLIB_E_CORRUPT;
            break;
        }
        if (got == 0)
            break;
        total += static_cast<unsigned>(got);
        if (!sink(buffer.get(), static_cast<unsigned>(got))) {
            result = ZIPLIB_E_WRITE;
            break;
        }
    }
    // unzCloseCurrentFile compares the CRC once every byte was read.
    const int closed = unzCloseCurrentFile(m_file);
    if (result == ZIPLIB_OK && (total != entry.uncompressedSize || closed != UNZ_OK))
        result = ZIPLIB_E_CORRUPT;
    return result;
}
