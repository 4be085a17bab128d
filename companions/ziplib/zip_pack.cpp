#include "companions/ziplib/zip_pack.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "companions/ziplib/byte_block.h"
#include "companions/ziplib/deflate_cache.h"
#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/ordered_work.h"
#include "interfaces/ziplib.h"

namespace {

const uint64_t c_max32 = 0xffffffffull;
// Files above this size are deflated chunk by chunk straight into the output instead of
// being read whole.
const uint64_t c_wholeFileLimit = 64ull << 20;
const size_t c_outputBuffer = 1u << 20;
const size_t c_streamChunk = 1u << 20;
const DWORD c_largestWrite = 1u << 26;
// Entries deflated ahead of the one being written, per worker; bounds the memory held.
const size_t c_slotsPerWorker = 4;
const unsigned c_maxWorkers = 8;
// Below this many bytes to read and deflate the calling thread does all: handing entries
// to workers and waiting for them costs more than it saves.
const uint64_t c_threadedBytes = 256u << 10;
// Up to this many bytes in all, the calling thread looks the entries up in the deflate
// cache before deciding on workers; above it the workers do (hashing bytes in memory).
const uint64_t c_lookAheadBytes = 64u << 20;
// Version made by 2.0 on NTFS (a FAT host makes Info-ZIP unzip translate the UTF-8 names
// from an OEM code page).
const uint16_t c_madeBy = (11 << 8) | 20;

// Bytes the archives may still take (the tests' full drive); negative: no limit.
std::atomic<int64_t> g_writeLimit{-1};

// How many of size bytes the drive still takes.
size_t AllowedBytes(size_t size)
{
    int64_t room = g_writeLimit.load();
    size_t allowed = size;
    while (room >= 0) {
        allowed = room < int64_t(size) ? size_t(room) : size;
        if (g_writeLimit.compare_exchange_weak(room, room - int64_t(allowed)))
            break;
    }
    return allowed;
}

void Put16(uint8_t*& p, uint64_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p += 2;
}

void Put32(uint8_t*& p, uint64_t v)
{
    Put16(p, v);
    Put16(p, v >> 16);
}

void Put64(uint8_t*& p, uint64_t v)
{
    Put32(p, v);
    Put32(p, v >> 32);
}

uint32_t Clamp32(uint64_t v) { return v >= c_max32 ? uint32_t(c_max32) : uint32_t(v); }

// The archive file, written through one buffer.
class t_output {
public:
    ~t_output() { Abandon(); }

    bool Open(const std::wstring& path)
    {
        if (!m_buffer.Reserve(c_outputBuffer))
            return false;
        m_file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_file != INVALID_HANDLE_VALUE;
    }

    uint64_t Offset() const { return m_offset; }

    bool Write(const void* data, size_t size)
    {
        const uint8_t* bytes = static_cast<const uint8_t*>(data);
        m_offset += size;
        if (m_used + size <= c_outputBuffer) {
            memcpy(m_buffer.Data() + m_used, bytes, size);
            m_used += size;
            return true;
        }
        return Flush() && WriteThrough(bytes, size);
    }

    bool Flush()
    {
        const size_t used = m_used;
        m_used = 0;
        return WriteThrough(m_buffer.Data(), used);
    }

    // Overwrites bytes written earlier (a streamed entry's header).
    bool Patch(uint64_t offset, const void* data, DWORD size)
    {
        LARGE_INTEGER at;
        at.QuadPart = int64_t(offset);
        DWORD put = 0;
        if (!Flush() || !SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) ||
            !WriteFile(m_file, data, size, &put, nullptr) || put != size)
            return false;
        at.QuadPart = 0;
        return SetFilePointerEx(m_file, at, nullptr, FILE_END) != 0;
    }

    bool Close()
    {
        const bool flushed = Flush();
        const HANDLE file = m_file;
        m_file = INVALID_HANDLE_VALUE;
        return CloseHandle(file) && flushed;
    }

    void Abandon()
    {
        if (m_file != INVALID_HANDLE_VALUE) {
            const DWORD reason = GetLastError();
            CloseHandle(m_file);
            SetLastError(reason);
        }
        m_file = INVALID_HANDLE_VALUE;
    }

private:
    bool WriteThrough(const uint8_t* data, size_t size)
    {
        while (size > 0) {
            const size_t piece = std::min<size_t>(size, c_largestWrite);
            const size_t allowed = AllowedBytes(piece);
            DWORD put = 0;
            if (allowed && !WriteFile(m_file, data, DWORD(allowed), &put, nullptr))
                return false;
            // A file write that takes fewer bytes than given without an error has met a full
            // drive: say so, or the failure would carry no reason.
            if (allowed && put != allowed) {
                SetLastError(ERROR_DISK_FULL);
                return false;
            }
            if (allowed < piece) {
                SetLastError(ERROR_DISK_FULL);
                return false;
            }
            data += piece;
            size -= piece;
        }
        return true;
    }

    HANDLE m_file = INVALID_HANDLE_VALUE;
    t_byteBlock m_buffer;
    size_t m_used = 0;
    uint64_t m_offset = 0;
};

// What the central directory says of one entry.
struct t_record {
    uint64_t offset;
    uint64_t compressed;
    uint64_t size;
    uint32_t crc;
    uint32_t dosDate;
    uint16_t flags;
    uint16_t method;
    uint16_t internal;
};

uint32_t DosDate(const FILETIME& written)
{
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return (1u << 21) | (1u << 16);  // 1980-01-01, the earliest DOS date
    return (uint32_t(date) << 16) | time;
}

// The general-purpose flags: UTF-8 names, and the deflate level hint Info-ZIP sets.
uint16_t Flags(int method, int level)
{
    uint16_t flags = n_zipName::c_flagUtf8;
    if (method == Z_DEFLATED) {
        if (level >= 8)
            flags |= 2;
        else if (level == 2)
            flags |= 4;
        else if (level == 1)
            flags |= 6;
    }
    return flags;
}

// Local header of an entry; sizes at or above 4 GB go into a ZIP64 field, which a
// streamed entry whose size is not known yet asks for with zip64.
bool WriteLocalHeader(t_output& out, const t_packItem& item, const t_record& record, bool zip64)
{
    uint8_t header[30 + 20];
    uint8_t* p = header;
    zip64 = zip64 || record.size >= c_max32 || record.compressed >= c_max32;
    Put32(p, 0x04034b50);
    Put16(p, zip64 ? 45 : 20);
    Put16(p, record.flags);
    Put16(p, record.method);
    Put32(p, record.dosDate);
    Put32(p, record.crc);
    Put32(p, zip64 ? c_max32 : record.compressed);
    Put32(p, zip64 ? c_max32 : record.size);
    Put16(p, item.name.size());
    Put16(p, zip64 ? 20 : 0);
    uint8_t* extra = p;
    if (zip64) {
        Put16(extra, 1);
        Put16(extra, 16);
        Put64(extra, record.size);
        Put64(extra, record.compressed);
    }
    return out.Write(header, 30) && out.Write(item.name.data(), item.name.size()) && out.Write(p, extra - p);
}

bool WriteCentral(t_output& out, const std::vector<t_packItem>& items, const std::vector<t_record>& records)
{
    const uint64_t start = out.Offset();
    for (size_t i = 0; i < items.size(); ++i) {
        const t_packItem& item = items[i];
        const t_record& r = records[i];
        uint8_t header[46 + 28];
        uint8_t* p = header;
        uint8_t wide[24];
        uint8_t* w = wide;
        if (r.size >= c_max32)
            Put64(w, r.size);
        if (r.compressed >= c_max32)
            Put64(w, r.compressed);
        if (r.offset >= c_max32)
            Put64(w, r.offset);
        const size_t wideSize = w - wide;
        Put32(p, 0x02014b50);
        Put16(p, wideSize ? 45 : c_madeBy);
        Put16(p, wideSize ? 45 : 20);
        Put16(p, r.flags);
        Put16(p, r.method);
        Put32(p, r.dosDate);
        Put32(p, r.crc);
        Put32(p, Clamp32(r.compressed));
        Put32(p, Clamp32(r.size));
        Put16(p, item.name.size());
        Put16(p, wideSize ? wideSize + 4 : 0);
        Put16(p, 0);  // comment
        Put16(p, 0);  // disk
        Put16(p, r.internal);
        // MS-DOS attribute byte: the read-only, hidden, system, folder and archive bits.
        Put32(p, item.attributes & 0x37);
        Put32(p, Clamp32(r.offset));
        if (!out.Write(header, p - header) || !out.Write(item.name.data(), item.name.size()))
            return false;
        if (wideSize) {
            uint8_t* e = header;
            Put16(e, 1);
            Put16(e, wideSize);
            if (!out.Write(header, 4) || !out.Write(wide, wideSize))
                return false;
        }
    }
    const uint64_t end = out.Offset();
    const uint64_t size = end - start;
    const uint64_t count = items.size();
    uint8_t tail[56 + 20 + 22];
    uint8_t* p = tail;
    if (count >= 0xffff || start >= c_max32 || size >= c_max32) {
        Put32(p, 0x06064b50);  // ZIP64 end of central directory
        Put64(p, 44);
        Put16(p, 45);
        Put16(p, 45);
        Put32(p, 0);
        Put32(p, 0);
        Put64(p, count);
        Put64(p, count);
        Put64(p, size);
        Put64(p, start);
        Put32(p, 0x07064b50);  // its locator
        Put32(p, 0);
        Put64(p, end);
        Put32(p, 1);
    }
    Put32(p, 0x06054b50);
    Put16(p, 0);
    Put16(p, 0);
    Put16(p, std::min<uint64_t>(count, 0xffff));
    Put16(p, std::min<uint64_t>(count, 0xffff));
    Put32(p, Clamp32(size));
    Put32(p, Clamp32(start));
    Put16(p, 0);
    return out.Write(tail, p - tail);
}

// A deflate stream kept from entry to entry (deflateReset), made on first use.
class t_deflater {
public:
    t_deflater() = default;
    ~t_deflater()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    t_deflater(const t_deflater&) = delete;
    t_deflater& operator=(const t_deflater&) = delete;
    // The stream reset for a new entry at level, or null.
    z_stream* Reset(int level)
    {
        if (m_ready && m_level != level) {
            deflateEnd(&m_stream);
            m_ready = false;
        }
        if (!m_ready) {
            m_stream = z_stream();
            m_ready = deflateInit2(&m_stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
            m_level = level;
            return m_ready ? &m_stream : nullptr;
        }
        return deflateReset(&m_stream) == Z_OK ? &m_stream : nullptr;
    }

private:
    z_stream m_stream = {};
    bool m_ready = false;
    int m_level = 0;
};

// One entry's data, read (and deflated) ahead of its turn.
struct t_slot {
    t_byteBlock input;
    t_byteBlock output;
    std::shared_ptr<const t_deflated> reused;  // holds bytes the cache gave
    const uint8_t* bytes = nullptr;            // what goes into the archive
    size_t stored = 0;
    t_record record = {};
    int code = ZIPLIB_OK;
    DWORD reason = 0;
};

bool Streamed(const t_packItem& item) { return !item.folder && !item.inMemory && item.size > c_wholeFileLimit; }

// What is known of an entry's deflated bytes before it is prepared: its cache key (empty
// when not looked up yet) and what the cache held under it.
struct t_known {
    std::string key;
    std::shared_ptr<const t_deflated> hit;
    uint32_t crc = 0;  // of bytes in memory, once hashed
};

// Keys and looks up one entry read whole and deflated: a file by its listing, bytes in
// memory by their checksums.
// Runs on workers too: short of memory, the entry is simply deflated afresh.
void LookUp(const t_packItem& item, t_known& known, uint64_t pack, int level)
{
    try {
        if (item.inMemory) {
            const size_t size = size_t(item.size);
            known.crc = uint32_t(crc32_z(0, item.data, size));
            const uint32_t adler = uint32_t(adler32_z(1, item.data, size));
            known.key = t_deflateCache::DataKey(item.name, item.size, known.crc, adler, level);
        } else {
            known.key = t_deflateCache::FileKey(item.path, item.size, item.written, level);
        }
        known.hit = t_deflateCache::Global().Find(known.key, pack);
    } catch (const std::bad_alloc&) {
        known.key.clear();
        known.hit.reset();
    }
}

// The whole file into block; false with the system's reason set.
bool ReadWhole(const std::wstring& path, t_byteBlock& block, size_t& size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER length;
    bool ok = GetFileSizeEx(file, &length) != 0;
    size = 0;
    // One spare byte shows whether the file grew since its size was taken.
    if (ok && !block.Reserve(size_t(length.QuadPart) + 1)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ok = false;
    }
    while (ok) {
        if (size == block.Capacity() && !block.Reserve(size + 1, size)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            ok = false;
            break;
        }
        const DWORD want = DWORD(std::min<size_t>(block.Capacity() - size, c_largestWrite));
        DWORD got = 0;
        if (!ReadFile(file, block.Data() + size, want, &got, nullptr)) {
            ok = false;
            break;
        }
        size += got;
        // Short of what was asked: the end of the file.
        if (got < want)
            break;
    }
    const DWORD reason = GetLastError();
    CloseHandle(file);
    SetLastError(reason);
    return ok;
}

void Prepare(const t_packItem& item, t_known& known, uint64_t pack, t_slot& slot, t_deflater& deflater, int level)
{
    slot.code = ZIPLIB_OK;
    slot.reason = 0;
    slot.bytes = nullptr;
    slot.stored = 0;
    slot.reused.reset();
    slot.record = {};
    slot.record.flags = Flags(0, level);
    if (item.folder || Streamed(item))
        return;
    if (level > 0 && known.key.empty())
        LookUp(item, known, pack, level);
    // Key and level are those of the cached bytes: the key carries the level.
    if (level > 0 && known.hit) {
        t_record& r = slot.record;
        r.size = item.size;
        r.crc = known.hit->crc;
        r.method = Z_DEFLATED;
        r.flags = Flags(r.method, level);
        r.compressed = known.hit->bytes.size();
        r.internal = known.hit->internal;
        slot.reused = std::move(known.hit);
        slot.bytes = slot.reused->bytes.data();
        slot.stored = slot.reused->bytes.size();
        return;
    }
    const uint8_t* source = item.data;
    size_t size = size_t(item.size);
    if (!item.inMemory) {
        if (!ReadWhole(item.path, slot.input, size)) {
            slot.code = GetLastError() == ERROR_NOT_ENOUGH_MEMORY ? ZIPLIB_E_MEMORY : ZIPLIB_E_READ;
            slot.reason = GetLastError();
            return;
        }
        source = slot.input.Data();
    }
    t_record& r = slot.record;
    r.size = size;
    r.crc = item.inMemory && !known.key.empty() ? known.crc : uint32_t(crc32_z(0, source, size));
    r.method = level > 0 ? Z_DEFLATED : 0;
    r.flags = Flags(r.method, level);
    if (level == 0) {
        slot.bytes = source;
        slot.stored = size;
        r.compressed = size;
        return;
    }
    z_stream* stream = deflater.Reset(level);
    if (!stream || !slot.output.Reserve(deflateBound(stream, uLong(size)))) {
        slot.code = ZIPLIB_E_MEMORY;
        slot.reason = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    // Sizes read whole stay below 4 GB: one call deflates all.
    z_stream& z = *stream;
    const size_t bound = deflateBound(stream, uLong(size));
    z.next_in = const_cast<Bytef*>(source);
    z.avail_in = uInt(size);
    z.next_out = slot.output.Data();
    z.avail_out = uInt(std::min<size_t>(bound, 0xffffffffu));
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
        slot.code = ZIPLIB_E_MEMORY;
        slot.reason = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    slot.bytes = slot.output.Data();
    slot.stored = z.total_out;
    r.compressed = z.total_out;
    r.internal = z.data_type == Z_TEXT ? 1 : 0;
    // A file's key holds the size it was listed with: one that changed since is not kept.
    if (!known.key.empty() && (item.inMemory || size == item.size)) {
        std::shared_ptr<t_deflated> kept(new (std::nothrow) t_deflated);
        if (!kept)
            return;
        try {
            kept->bytes.assign(slot.bytes, slot.bytes + slot.stored);
            kept->crc = r.crc;
            kept->internal = r.internal;
            t_deflateCache::Global().Keep(known.key, std::move(kept), pack);
        } catch (const std::bad_alloc&) {
        }
    }
}

// A file too large to read whole: deflated chunk by chunk into the output, then its
// header completed.
int WriteStreamed(t_output& out, const t_packItem& item, int level, t_deflater& deflater, t_record& r,
                  t_packFailure& failure)
{
    HANDLE file = CreateFileW(item.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure.Fail(ZIPLIB_E_READ);
    std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    r.method = level > 0 ? Z_DEFLATED : 0;
    r.flags = Flags(r.method, level);
    const bool zip64 = item.size >= c_max32 / 2;
    if (!WriteLocalHeader(out, item, r, zip64))
        return failure.Fail(ZIPLIB_E_WRITE);
    std::unique_ptr<uint8_t[]> input(new (std::nothrow) uint8_t[c_streamChunk]);
    std::unique_ptr<uint8_t[]> output(new (std::nothrow) uint8_t[c_streamChunk]);
    z_stream* stream = level > 0 ? deflater.Reset(level) : nullptr;
    if (!input || !output || (level > 0 && !stream))
        return failure.FailWith(ZIPLIB_E_MEMORY, ERROR_NOT_ENOUGH_MEMORY);
    uLong crc = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, input.get(), DWORD(c_streamChunk), &got, nullptr))
            return failure.Fail(ZIPLIB_E_READ);
        crc = crc32(crc, input.get(), got);
        r.size += got;
        if (level == 0) {
            if (!out.Write(input.get(), got))
                return failure.Fail(ZIPLIB_E_WRITE);
            r.compressed += got;
        } else {
            z_stream& z = *stream;
            z.next_in = input.get();
            z.avail_in = got;
            int state = Z_OK;
            do {
                z.next_out = output.get();
                z.avail_out = uInt(c_streamChunk);
                state = deflate(&z, got ? Z_NO_FLUSH : Z_FINISH);
                const size_t made = c_streamChunk - z.avail_out;
                if (state == Z_STREAM_ERROR || !out.Write(output.get(), made))
                    return failure.Fail(ZIPLIB_E_WRITE);
                r.compressed += made;
            } while (z.avail_out == 0 || (got == 0 && state != Z_STREAM_END));
        }
        if (got == 0)
            break;
    }
    r.crc = uint32_t(crc);
    if (!zip64 && (r.size >= c_max32 || r.compressed >= c_max32)) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return failure.Fail(ZIPLIB_E_READ);
    }
    // CRC and sizes, then the ZIP64 sizes after the name.
    uint8_t fields[12];
    uint8_t* p = fields;
    Put32(p, r.crc);
    Put32(p, zip64 ? c_max32 : r.compressed);
    Put32(p, zip64 ? c_max32 : r.size);
    uint8_t wide[16];
    uint8_t* w = wide;
    Put64(w, r.size);
    Put64(w, r.compressed);
    if (!out.Patch(r.offset + 14, fields, sizeof(fields)) ||
        (zip64 && !out.Patch(r.offset + 30 + item.name.size() + 4, wide, sizeof(wide))))
        return failure.Fail(ZIPLIB_E_WRITE);
    return ZIPLIB_OK;
}

int WriteEntries(t_output& out, const std::vector<t_packItem>& items, int level, t_packFailure& failure)
{
    t_deflateCache& cache = t_deflateCache::Global();
    const uint64_t pack = cache.Begin();
    std::vector<t_known> known(items.size());
    uint64_t total = 0;
    for (const t_packItem& item : items)
        total += !item.folder && !Streamed(item) ? item.size : 0;
    // What is left to read and deflate decides on workers; a large list is looked up by them.
    size_t parallel = 0;
    uint64_t work = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const t_packItem& item = items[i];
        if (item.folder || Streamed(item))
            continue;
        if (level > 0 && total <= c_lookAheadBytes)
            LookUp(item, known[i], pack, level);
        if (!known[i].hit) {
            ++parallel;
            work += item.size;
        }
    }
    const unsigned workers = work < c_threadedBytes ? 0 : WorkerCount(parallel, c_maxWorkers);
    t_orderedWork<t_slot, t_deflater> queue(
        items.size(), std::max(1u, workers) * c_slotsPerWorker,
        [&items, &known, level, pack](size_t index, t_slot& slot, t_deflater& deflater) {
            Prepare(items[index], known[index], pack, slot, deflater, level);
        });
    queue.Start(workers);
    t_deflater own;
    std::vector<t_record> records(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const t_packItem& item = items[i];
        t_record& r = records[i];
        t_slot& slot = queue.Take(i, own);
        if (slot.code != ZIPLIB_OK)
            return failure.FailWith(slot.code, slot.reason);
        r = slot.record;
        r.offset = out.Offset();
        r.dosDate = DosDate(item.written);
        if (Streamed(item)) {
            const int code = WriteStreamed(out, item, level, own, r, failure);
            if (code != ZIPLIB_OK)
                return code;
        } else if (!WriteLocalHeader(out, item, r, false) || !out.Write(slot.bytes, slot.stored)) {
            return failure.Fail(ZIPLIB_E_WRITE);
        }
        queue.Release(i);
    }
    queue.Stop();
    // Entries this pack did not use are of no use to the next one.
    cache.End(pack);
    if (!WriteCentral(out, items, records))
        return failure.Fail(ZIPLIB_E_WRITE);
    return ZIPLIB_OK;
}

}  // namespace

int PackItems(const std::vector<t_packItem>& items, const std::wstring& target, int level, t_packFailure& failure)
{
    t_output out;
    if (!out.Open(target))
        return failure.Fail(ZIPLIB_E_WRITE);
    int code = WriteEntries(out, items, level, failure);
    if (code == ZIPLIB_OK && !out.Close())
        code = failure.Fail(ZIPLIB_E_WRITE);
    if (code != ZIPLIB_OK) {
        out.Abandon();
        DeleteFileW(target.c_str());
    }
    return code;
}

void SetPackWriteLimit(int64_t bytes) { g_writeLimit.store(bytes < 0 ? -1 : bytes); }
