#include "companions/ziplib/zip_reader.h"

#include <zlib.h>

#include <algorithm>

#include "companions/ziplib/entry_name.h"
#include "interfaces/ziplib.h"

namespace {

const uint32_t c_localSignature = 0x04034b50;
const uint32_t c_centralSignature = 0x02014b50;
const uint32_t c_endSignature = 0x06054b50;
const uint32_t c_end64Signature = 0x06064b50;
const uint32_t c_locator64Signature = 0x07064b50;
const size_t c_endSize = 22;
const size_t c_locator64Size = 20;
const size_t c_end64Size = 56;
const size_t c_centralSize = 46;
const size_t c_localSize = 30;
const uint64_t c_max32 = 0xffffffffull;
// Archives up to this size are read whole before they are extracted.
const uint64_t c_preloadLimit = 256ull << 20;
// A directory larger than this is refused rather than read.
const uint64_t c_largestDirectory = 64ull << 20;
const DWORD c_largestRead = 1u << 26;

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return uint32_t(Get16(p)) | (uint32_t(Get16(p + 2)) << 16); }
uint64_t Get64(const uint8_t* p) { return uint64_t(Get32(p)) | (uint64_t(Get32(p + 4)) << 32); }

// The ZIP64 extra field (0x0001) of a directory record fills in the 32-bit fields that
// hold 0xffffffff, in the order size, compressed size, offset. False when it is missing
// or short.
bool ReadZip64Sizes(const uint8_t* extra, size_t extraSize, t_zipEntry& entry)
{
    const bool wantSize = entry.uncompressedSize == c_max32;
    const bool wantCompressed = entry.compressedSize == c_max32;
    const bool wantOffset = entry.headerOffset == c_max32;
    if (!wantSize && !wantCompressed && !wantOffset)
        return true;
    while (extraSize >= 4) {
        const uint16_t id = Get16(extra);
        const size_t size = Get16(extra + 2);
        if (size > extraSize - 4)
            return false;
        const uint8_t* field = extra + 4;
        if (id == 1) {
            const size_t need = 8 * (size_t(wantSize) + size_t(wantCompressed) + size_t(wantOffset));
            if (size < need)
                return false;
            if (wantSize) {
                entry.uncompressedSize = Get64(field);
                field += 8;
            }
            if (wantCompressed) {
                entry.compressedSize = Get64(field);
                field += 8;
            }
            if (wantOffset)
                entry.headerOffset = Get64(field);
            return true;
        }
        extra += 4 + size;
        extraSize -= 4 + size;
    }
    return false;
}

}  // namespace

struct t_unpacker::t_state {
    z_stream stream = {};
    bool ready = false;
    t_byteBlock input;
    t_byteBlock output;
};

t_unpacker::t_unpacker() : m_state(new t_state) {}

t_unpacker::~t_unpacker()
{
    if (m_state->ready)
        inflateEnd(&m_state->stream);
}

int t_zipReader::OpenFile(const wchar_t* path)
{
    Close();
    if (!path)
        return ZIPLIB_E_OPEN;
    m_file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER length;
    if (m_file == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_file, &length)) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    m_archiveSize = uint64_t(length.QuadPart);
    if (m_archiveSize < c_endSize) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    return ZIPLIB_OK;
}

int t_zipReader::OpenAt(const wchar_t* path, uint64_t prefix)
{
    const int code = OpenFile(path);
    if (code != ZIPLIB_OK)
        return code;
    if (prefix > m_archiveSize) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    m_prefix = prefix;
    return ZIPLIB_OK;
}

int t_zipReader::Open(const wchar_t* path)
{
    const int opened = OpenFile(path);
    if (opened != ZIPLIB_OK)
        return opened;

    // The end record is among the last 64 KB (its comment is at most that long); the last
    // one found counts.
    const size_t tailSize = size_t(std::min<uint64_t>(m_archiveSize, 0xffff + c_endSize + c_locator64Size));
    const uint64_t tailStart = m_archiveSize - tailSize;
    std::vector<uint8_t> tail(tailSize);
    if (!ReadAt(tailStart, tail.data(), tailSize)) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    size_t at = tailSize - c_endSize + 1;
    bool found = false;
    while (at-- > 0) {
        if (Get32(&tail[at]) == c_endSignature) {
            found = true;
            break;
        }
    }
    const uint8_t* end = tail.data() + at;
    if (!found || Get16(end + 4) != 0 || Get16(end + 6) != 0 || Get16(end + 8) != Get16(end + 10)) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    uint64_t endAt = tailStart + at;
    m_entryCount = Get16(end + 10);
    m_directorySize = Get32(end + 12);
    m_directoryOffset = Get32(end + 16);

    // A ZIP64 locator right before it points at the ZIP64 end record, whose counts hold.
    if (at >= c_locator64Size && Get32(end - c_locator64Size) == c_locator64Signature) {
        const uint64_t recordAt = Get64(end - c_locator64Size + 8);
        uint8_t record[c_end64Size];
        if (recordAt > endAt || endAt - recordAt < c_end64Size || !ReadAt(recordAt, record, c_end64Size) ||
            Get32(record) != c_end64Signature || Get32(record + 16) != 0 || Get32(record + 20) != 0 ||
            Get64(record + 24) != Get64(record + 32)) {
            Close();
            return ZIPLIB_E_OPEN;
        }
        m_entryCount = Get64(record + 32);
        m_directorySize = Get64(record + 40);
        m_directoryOffset = Get64(record + 48);
        endAt = recordAt;
    }
    // Whatever lies before the archive proper (a self-extractor's stub) shifts every offset.
    if (m_directoryOffset > endAt || m_directorySize > endAt - m_directoryOffset) {
        Close();
        return ZIPLIB_E_OPEN;
    }
    m_prefix = endAt - m_directoryOffset - m_directorySize;
    return ZIPLIB_OK;
}

void t_zipReader::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_archiveSize = 0;
    m_prefix = 0;
    m_directoryOffset = 0;
    m_directorySize = 0;
    m_entryCount = 0;
    if (m_mapped)
        UnmapViewOfFile(m_mapped);
    m_mapped = nullptr;
    if (m_mapping)
        CloseHandle(m_mapping);
    m_mapping = nullptr;
    m_preloaded = nullptr;
}

bool t_zipReader::ReadAt(uint64_t offset, void* out, size_t count) const
{
    uint8_t* bytes = static_cast<uint8_t*>(out);
    while (count > 0) {
        OVERLAPPED position = {};
        position.Offset = DWORD(offset);
        position.OffsetHigh = DWORD(offset >> 32);
        const DWORD want = DWORD(std::min<size_t>(count, c_largestRead));
        DWORD got = 0;
        if (!ReadFile(m_file, bytes, want, &got, &position) || got == 0)
            return false;
        bytes += got;
        offset += got;
        count -= got;
    }
    return true;
}

const uint8_t* t_zipReader::View(uint64_t offset, size_t count, t_byteBlock& block) const
{
    if (offset > m_archiveSize || count > m_archiveSize - offset)
        return nullptr;
    if (m_preloaded)
        return m_preloaded + offset;
    if (!block.Reserve(std::max<size_t>(count, 1)) || !ReadAt(offset, block.Data(), count))
        return nullptr;
    return block.Data();
}

bool t_zipReader::Preload()
{
    if (m_file == INVALID_HANDLE_VALUE || m_archiveSize > c_preloadLimit)
        return false;
    if (m_preloaded)
        return true;
    // A mapping costs no copy, and the workers fault in only the pages they read.
    m_mapping = CreateFileMappingW(m_file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_mapping)
        m_mapped = static_cast<const uint8_t*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    if (m_mapped)
        m_preloaded = m_mapped;
    else if (m_whole.Reserve(size_t(m_archiveSize)) && ReadAt(0, m_whole.Data(), size_t(m_archiveSize)))
        m_preloaded = m_whole.Data();
    return m_preloaded != nullptr;
}

int t_zipReader::List(std::vector<t_zipEntry>& entries)
{
    entries.clear();
    if (m_file == INVALID_HANDLE_VALUE)
        return ZIPLIB_E_OPEN;
    if (m_entryCount > ZIPLIB_MAX_ENTRIES)
        return ZIPLIB_E_TOO_BIG;
    if (m_directorySize > c_largestDirectory)
        return ZIPLIB_E_TOO_BIG;
    t_byteBlock block;
    const uint8_t* directory = View(m_prefix + m_directoryOffset, size_t(m_directorySize), block);
    if (!directory)
        return ZIPLIB_E_CORRUPT;
    entries.reserve(size_t(m_entryCount));
    size_t at = 0;
    const size_t size = size_t(m_directorySize);
    for (uint64_t i = 0; i < m_entryCount; ++i) {
        if (size - at < c_centralSize)
            return ZIPLIB_E_CORRUPT;
        const uint8_t* record = directory + at;
        const size_t nameSize = Get16(record + 28);
        const size_t extraSize = Get16(record + 30);
        const size_t commentSize = Get16(record + 32);
        if (Get32(record) != c_centralSignature || size - at - c_centralSize < nameSize + extraSize + commentSize)
            return ZIPLIB_E_CORRUPT;
        t_zipEntry entry;
        entry.flags = Get16(record + 8);
        entry.method = Get16(record + 10);
        entry.dosDate = Get32(record + 12);
        entry.crc = Get32(record + 16);
        entry.compressedSize = Get32(record + 20);
        entry.uncompressedSize = Get32(record + 24);
        entry.headerOffset = Get32(record + 42);
        const char* name = reinterpret_cast<const char*>(record + c_centralSize);
        const uint8_t* extra = record + c_centralSize + nameSize;
        if (!ReadZip64Sizes(extra, extraSize, entry))
            return ZIPLIB_E_CORRUPT;
        entry.nameDecoded = n_zipName::Decode(name, nameSize, entry.flags, extra, extraSize,
                                              static_cast<uint8_t>(Get16(record + 4) >> 8), entry.name);
        entries.push_back(std::move(entry));
        at += c_centralSize + nameSize + extraSize + commentSize;
    }
    return ZIPLIB_OK;
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

int t_zipReader::Unpack(const t_zipEntry& entry, t_unpacker& unpacker, const uint8_t*& data, size_t& size) const
{
    data = nullptr;
    size = 0;
    if (m_file == INVALID_HANDLE_VALUE)
        return ZIPLIB_E_OPEN;
    const int checked = Check(entry);
    if (checked != ZIPLIB_OK)
        return checked;
    t_unpacker::t_state& state = *unpacker.m_state;
    // The local header: its name and extra field may differ in length from the directory's.
    const uint64_t headerAt = m_prefix + entry.headerOffset;
    if (headerAt < entry.headerOffset)
        return ZIPLIB_E_CORRUPT;
    const uint8_t* header = View(headerAt, c_localSize, state.input);
    if (!header || Get32(header) != c_localSignature || Get16(header + 8) != entry.method)
        return ZIPLIB_E_CORRUPT;
    const uint64_t dataAt = headerAt + c_localSize + Get16(header + 26) + Get16(header + 28);
    if (entry.compressedSize > m_archiveSize)
        return ZIPLIB_E_CORRUPT;
    const uint8_t* packed = View(dataAt, size_t(entry.compressedSize), state.input);
    if (!packed)
        return ZIPLIB_E_CORRUPT;

    const size_t expected = size_t(entry.uncompressedSize);
    if (entry.method == 0) {
        data = packed;
    } else {
        // One byte more than the directory says shows an entry that inflates past its size.
        if (!state.output.Reserve(expected + 1))
            return ZIPLIB_E_MEMORY;
        z_stream& z = state.stream;
        if (!state.ready) {
            if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
                return ZIPLIB_E_MEMORY;
            state.ready = true;
        } else if (inflateReset(&z) != Z_OK) {
            return ZIPLIB_E_MEMORY;
        }
        uint64_t left = entry.compressedSize;
        z.next_out = state.output.Data();
        z.avail_out = uInt(expected + 1);
        z.avail_in = 0;
        int result = Z_OK;
        do {
            if (z.avail_in == 0 && left > 0) {
                const uInt piece = uInt(std::min<uint64_t>(left, 1u << 30));
                z.next_in = const_cast<Bytef*>(packed);
                z.avail_in = piece;
                packed += piece;
                left -= piece;
            }
            result = inflate(&z, Z_NO_FLUSH);
        } while (result == Z_OK && z.avail_out > 0 && (z.avail_in > 0 || left > 0));
        if (result != Z_STREAM_END || z.total_out != expected)
            return ZIPLIB_E_CORRUPT;
        data = state.output.Data();
    }
    if (uint32_t(crc32_z(0, data, expected)) != entry.crc)
        return ZIPLIB_E_CORRUPT;
    size = expected;
    return ZIPLIB_OK;
}

int t_zipReader::Read(const t_zipEntry& entry, const std::function<bool(const void*, unsigned)>& sink)
{
    if (!m_unpacker)
        m_unpacker.reset(new t_unpacker);
    const uint8_t* data = nullptr;
    size_t size = 0;
    const int code = Unpack(entry, *m_unpacker, data, size);
    if (code != ZIPLIB_OK)
        return code;
    // Entries are at most ZIPLIB_MAX_ENTRY_SIZE bytes: one call.
    return sink(data, unsigned(size)) ? ZIPLIB_OK : ZIPLIB_E_WRITE;
}
