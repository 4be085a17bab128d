#include "companions/ziplib/extract_archive.h"

#include <windows.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/folder_path.h"
#include "companions/ziplib/zip_reader.h"
#include "companions/ziplib/ziplib.h"

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

int WriteEntry(t_zipReader& reader, const t_planned& item, t_folders& folders, const t_entrySink& sink)
{
    const size_t cut = item.path.find_last_of(L'\\');
    if (cut == std::wstring::npos || !folders.Ensure(item.path.substr(0, cut)))
        return ZIPLIB_E_WRITE;
    t_fileHandle file(
        CreateFileW(item.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return ZIPLIB_E_WRITE;
    std::vector<uint8_t> bytes;
    const int code = reader.Read(*item.entry, [&file, &bytes, &sink](const void* data, unsigned size) {
        if (sink)
            bytes.insert(bytes.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        DWORD put = 0;
        return WriteFile(file.Get(), data, size, &put, nullptr) && put == size;
    });
    if (code == ZIPLIB_OK)
        SetWriteTime(file.Get(), item.entry->dosDate);
    file.Close();
    if (code != ZIPLIB_OK)
        DeleteFileW(item.path.c_str());
    else if (sink)
        sink(item.path.substr(item.relative), bytes.data(), static_cast<uint32_t>(bytes.size()));
    return code;
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
    if (!n_folderPath::CreateTree(target))
        return ZIPLIB_E_WRITE;
    t_folders folders;
    for (const t_planned& item : plan) {
        if (item.folder) {
            if (!folders.Ensure(item.path))
                return ZIPLIB_E_WRITE;
            continue;
        }
        code = WriteEntry(reader, item, folders, entry);
        if (code != ZIPLIB_OK)
            return code;
        if (written)
            ++*written;
    }
    if (skipped) {
        for (const t_zipEntry* entry : left)
            skipped(entry->name);
    }
    return ZIPLIB_OK;
}
