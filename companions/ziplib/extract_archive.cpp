#include "companions/ziplib/extract_archive.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "companions/ziplib/byte_block.h"
#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/folder_path.h"
#include "companions/ziplib/ordered_work.h"
#include "companions/ziplib/zip_reader.h"
#include "interfaces/ziplib.h"

namespace {

struct t_planned {
    const t_zipEntry* entry;
    std::wstring path;  // full target path
    bool folder;
    size_t relative;  // where the name relative to the target starts in path
};

class t_fileHandle {
public:
    explicit t_fileHandle(HANDLE handle) : m_handle(handle) {}
    ~t_fileHandle() { Close(); }
    t_fileHandle(const t_fileHandle&) = delete;
    t_fileHandle& operator=(const t_fileHandle&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    void Close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// Every entry is checked, and the whole archive refused, before anything is written. A
// file whose look-up key (UnZipFile's) was met before goes to skipped instead of the plan.
int Plan(const std::vector<t_zipEntry>& entries, uint64_t archiveSize, const std::wstring& target,
         std::vector<t_planned>& plan, std::vector<const t_zipEntry*>& skipped)
{
    uint64_t total = 0;
    std::unordered_set<std::wstring> files;
    plan.reserve(entries.size());
    for (const t_zipEntry& entry : entries) {
        const int code = t_zipReader::Check(entry);
        if (code != ZIPLIB_OK)
            return code;
        std::wstring relative = entry.name;
        bool folder = false;
        if (!n_zipName::MakeSafeRelative(relative, folder))
            return ZIPLIB_E_REFUSED;
        if (!folder && !entry.IsFolder() && !files.insert(n_zipName::Key(relative)).second) {
            skipped.push_back(&entry);
            continue;
        }
        // At most ZIPLIB_MAX_ENTRIES sizes of at most ZIPLIB_MAX_ENTRY_SIZE each: no overflow.
        total += entry.uncompressedSize;
        if (total > ZIPLIB_MAX_TOTAL_SIZE)
            return ZIPLIB_E_TOO_BIG;
        std::wstring path = target;
        if (path.back() != L'\\')
            path += L'\\';
        path += relative;
        // The name was checked part by part; this only guards against a mistake there.
        if (!n_folderPath::IsInside(path, target))
            return ZIPLIB_E_REFUSED;
        const size_t start = path.size() - relative.size();
        plan.push_back({&entry, std::move(path), folder || entry.IsFolder(), start});
    }
    if (total > ZIPLIB_RATIO_FLOOR && total / ZIPLIB_MAX_RATIO > archiveSize)
        return ZIPLIB_E_TOO_BIG;
    return ZIPLIB_OK;
}

void SetWriteTime(HANDLE file, uint32_t dosDate)
{
    FILETIME local;
    FILETIME utc;
    if (DosDateTimeToFileTime(static_cast<WORD>(dosDate >> 16), static_cast<WORD>(dosDate), &local) &&
        LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(file, nullptr, nullptr, &utc);
}

// Folders made so far, so that each is asked for once and not once per file in it.
class t_folders {
public:
    bool Ensure(const std::wstring& folder)
    {
        if (folder == m_last)
            return true;
        if (!n_folderPath::CreateTree(folder))
            return false;
        m_last = folder;
        return true;
    }

private:
    std::wstring m_last;
};

// One file's outcome, kept until its turn comes: the bytes only when the caller asked for
// them.
struct t_written {
    int code = ZIPLIB_OK;
    t_byteBlock bytes;
    size_t size = 0;
};

struct t_writer {
    t_unpacker unpacker;
};

const unsigned c_maxWorkers = 8;
const size_t c_slotsPerWorker = 4;

// Unpacks the entry and writes its file (the folder exists); a file cut short goes.
void WriteEntry(const t_zipReader& reader, const t_planned& item, bool keep, t_written& slot, t_writer& writer)
{
    slot.size = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
    slot.code = reader.Unpack(*item.entry, writer.unpacker, data, size);
    if (slot.code != ZIPLIB_OK)
        return;
    t_fileHandle file(
        CreateFileW(item.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        slot.code = ZIPLIB_E_WRITE;
        return;
    }
    DWORD put = 0;
    if (size > 0 && (!WriteFile(file.Get(), data, DWORD(size), &put, nullptr) || put != size)) {
        file.Close();
        DeleteFileW(item.path.c_str());
        slot.code = ZIPLIB_E_WRITE;
        return;
    }
    SetWriteTime(file.Get(), item.entry->dosDate);
    if (keep) {
        if (!slot.bytes.Reserve(std::max<size_t>(size, 1))) {
            slot.code = ZIPLIB_E_MEMORY;
            return;
        }
        memcpy(slot.bytes.Data(), data, size);
        slot.size = size;
    }
}

// Every folder the plan needs, made before any file is written, so that files can be
// written in any order.
bool MakeFolders(const std::vector<t_planned>& plan)
{
    t_folders folders;
    for (const t_planned& item : plan) {
        if (item.folder) {
            if (!folders.Ensure(item.path))
                return false;
            continue;
        }
        const size_t cut = item.path.find_last_of(L'\\');
        if (cut == std::wstring::npos || !folders.Ensure(item.path.substr(0, cut)))
            return false;
    }
    return true;
}

}  // namespace

int ExtractArchive(const wchar_t* archive, const wchar_t* folder, uint32_t* written, const t_skippedSink& skipped,
                   const t_entrySink& entry)
{
    if (written)
        *written = 0;
    std::wstring target;
    if (!archive || !archive[0] || !n_folderPath::Full(folder, target))
        return ZIPLIB_E_ARGUMENT;
    t_zipReader reader;
    int code = reader.Open(archive);
    std::vector<t_zipEntry> entries;
    if (code == ZIPLIB_OK)
        code = reader.List(entries);
    std::vector<t_planned> plan;
    std::vector<const t_zipEntry*> left;
    if (code == ZIPLIB_OK)
        code = Plan(entries, reader.ArchiveSize(), target, plan, left);
    if (code != ZIPLIB_OK)
        return code;
    if (!n_folderPath::CreateTree(target) || !MakeFolders(plan))
        return ZIPLIB_E_WRITE;

    // Files are unpacked and written on worker threads; their results are taken in
    // archive order, so the count, the first failure and the caller's calls come in the
    // order a single thread would give.
    std::vector<const t_planned*> files;
    for (const t_planned& item : plan) {
        if (!item.folder)
            files.push_back(&item);
    }
    reader.Preload();
    const bool keep = static_cast<bool>(entry);
    const unsigned workers = WorkerCount(files.size(), c_maxWorkers);
    t_orderedWork<t_written, t_writer> queue(files.size(), std::max(1u, workers) * c_slotsPerWorker,
                                             [&](size_t index, t_written& slot, t_writer& writer) {
                                                 WriteEntry(reader, *files[index], keep, slot, writer);
                                             });
    queue.Start(workers);
    t_writer own;
    for (size_t i = 0; i < files.size(); ++i) {
        const t_written& slot = queue.Take(i, own);
        if (slot.code != ZIPLIB_OK)
            return slot.code;
        if (written)
            ++*written;
        if (keep) {
            const t_planned& item = *files[i];
            entry(item.path.substr(item.relative), slot.bytes.Data(), static_cast<uint32_t>(slot.size));
        }
        queue.Release(i);
    }
    queue.Stop();
    if (skipped) {
        for (const t_zipEntry* entry : left)
            skipped(entry->name);
    }
    return ZIPLIB_OK;
}
