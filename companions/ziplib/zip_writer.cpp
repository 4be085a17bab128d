#include "companions/ziplib/zip_writer.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "companions/ziplib/entry_name.h"
#include "companions/ziplib/folder_path.h"
#include "companions/ziplib/zip_pack.h"
#include "interfaces/ziplib.h"

namespace {

const int c_defaultLevel = 6;
// ERROR_DIRECTORY_NOT_SUPPORTED, which the MinGW headers lack: the archive path is a folder.
const DWORD c_errorDirectoryNotSupported = 336;
std::atomic<int> g_level{c_defaultLevel};

using t_item = t_packItem;
using t_failure = t_packFailure;

bool LessNoCase(const std::wstring& a, const std::wstring& b)
{
    const int r =
        CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
    return r == CSTR_LESS_THAN || (r == CSTR_EQUAL && a < b);
}

bool AddItem(const std::wstring& path, const std::wstring& relative, const WIN32_FIND_DATAW& data,
             std::vector<t_item>& items)
{
    std::wstring name = relative;
    std::replace(name.begin(), name.end(), L'\\', L'/');
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folder)
        name += L'/';
    t_item item;
    if (!n_zipName::ToUtf8(name, item.name) || item.name.size() > 0xffff)
        return false;
    item.path = path;
    item.folder = folder;
    item.written = data.ftLastWriteTime;
    item.attributes = data.dwFileAttributes;
    item.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    items.push_back(std::move(item));
    return true;
}

// Depth first, each folder's children sorted by name, so that the same folder always
// gives the same archive. The archive being written is left out.
int Collect(const std::wstring& folder, const std::wstring& relative, const std::wstring& archive,
            std::vector<t_item>& items, int depth)
{
    if (depth > 200)
        return ZIPLIB_E_READ;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? ZIPLIB_OK : ZIPLIB_E_READ;
    std::vector<WIN32_FIND_DATAW> children;
    do {
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            children.push_back(data);
    } while (FindNextFileW(find, &data));
    const DWORD stop = GetLastError();
    FindClose(find);
    if (stop != ERROR_NO_MORE_FILES)
        return ZIPLIB_E_READ;
    std::sort(children.begin(), children.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
        return LessNoCase(a.cFileName, b.cFileName);
    });
    for (const WIN32_FIND_DATAW& child : children) {
        const std::wstring path = folder + L"\\" + child.cFileName;
        const std::wstring name = relative.empty() ? std::wstring(child.cFileName) : relative + L"\\" + child.cFileName;
        if (CompareStringOrdinal(path.c_str(), static_cast<int>(path.size()), archive.c_str(),
                                 static_cast<int>(archive.size()), TRUE) == CSTR_EQUAL)
            continue;
        if (!AddItem(path, name, child, items))
            return ZIPLIB_E_READ;
        // A link or junction is stored as the folder entry it appears as, not followed.
        if ((child.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(child.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            const int code = Collect(path, name, archive, items, depth + 1);
            if (code != ZIPLIB_OK)
                return code;
        }
    }
    return ZIPLIB_OK;
}

int WriteItems(const std::vector<t_item>& items, const std::wstring& target, t_failure& failure);

// One listed entry as an item: a file's facts as the folder walk finds them, or bytes.
int ListItem(const t_zipListEntry& entry, std::vector<t_item>& items)
{
    if (!entry.name || !entry.name[0])
        return ZIPLIB_E_ARGUMENT;
    std::wstring relative = entry.name;
    bool folder = false;
    if (!n_zipName::MakeSafeRelative(relative, folder))
        return ZIPLIB_E_ARGUMENT;
    WIN32_FIND_DATAW data = {};
    if (entry.path) {
        WIN32_FILE_ATTRIBUTE_DATA facts;
        if (!GetFileAttributesExW(entry.path, GetFileExInfoStandard, &facts))
            return ZIPLIB_E_READ;
        if (((facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
            SetLastError(folder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED);
            return ZIPLIB_E_READ;
        }
        data.dwFileAttributes = facts.dwFileAttributes;
        data.ftLastWriteTime = facts.ftLastWriteTime;
        data.nFileSizeHigh = facts.nFileSizeHigh;
        data.nFileSizeLow = facts.nFileSizeLow;
        if (!AddItem(entry.path, relative, data, items))
            return ZIPLIB_E_ARGUMENT;
        return ZIPLIB_OK;
    }
    if (entry.size && !entry.data && !folder)
        return ZIPLIB_E_ARGUMENT;
    data.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    uint64_t time = entry.time;
    if (time == 0) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        time = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    }
    data.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(time);
    data.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(time >> 32);
    data.nFileSizeLow = folder ? 0 : entry.size;
    if (!AddItem(std::wstring(), relative, data, items))
        return ZIPLIB_E_ARGUMENT;
    items.back().inMemory = !folder;
    items.back().data = entry.data;
    return ZIPLIB_OK;
}

int WriteList(const t_zipListEntry* entries, uint32_t count, const wchar_t* archive, t_failure& failure)
{
    std::wstring target;
    if ((!entries && count) || !n_folderPath::Full(archive, target))
        return failure.Fail(ZIPLIB_E_ARGUMENT);
    if (n_folderPath::IsFolder(target)) {
        SetLastError(c_errorDirectoryNotSupported);
        return failure.Fail(ZIPLIB_E_ARGUMENT);
    }
    std::vector<t_item> items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        SetLastError(0);
        const int code = ListItem(entries[i], items);
        if (code != ZIPLIB_OK)
            return failure.Fail(code);
    }
    return WriteItems(items, target, failure);
}

int WriteArchive(const wchar_t* folder, const wchar_t* root, const wchar_t* archive, t_failure& failure)
{
    std::wstring source;
    std::wstring base;
    std::wstring target;
    if (!n_folderPath::Full(folder, source) || !n_folderPath::IsFolder(source) || !n_folderPath::Full(archive, target))
        return failure.Fail(ZIPLIB_E_ARGUMENT);
    if (root && root[0]) {
        if (!n_folderPath::Full(root, base) || !n_folderPath::IsInside(source, base))
            return failure.Fail(ZIPLIB_E_ARGUMENT);
    } else {
        base = source;
    }
    if (n_folderPath::IsFolder(target)) {
        SetLastError(c_errorDirectoryNotSupported);
        return failure.Fail(ZIPLIB_E_ARGUMENT);
    }

    std::vector<t_item> items;
    std::wstring relative;
    if (source.size() > base.size()) {
        // The folder's own entry, named from the root.
        relative = source.substr(base.size() + (base.back() == L'\\' ? 0 : 1));
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (!GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &attributes))
            return failure.Fail(ZIPLIB_E_READ);
        WIN32_FIND_DATAW data = {};
        data.dwFileAttributes = attributes.dwFileAttributes;
        data.ftLastWriteTime = attributes.ftLastWriteTime;
        if (!AddItem(source, relative, data, items))
            return failure.Fail(ZIPLIB_E_READ);
    }
    int code = Collect(source, relative, target, items, 0);
    if (code != ZIPLIB_OK)
        return failure.Fail(code);

    return WriteItems(items, target, failure);
}

int WriteItems(const std::vector<t_item>& items, const std::wstring& target, t_failure& failure)
{
    return PackItems(items, target, ZipLevel(), failure);
}

}  // namespace

int ZipLevel() { return g_level.load(); }

int SetZipLevelValue(int level)
{
    if (level < -1 || level > 9)
        return g_level.load();
    return g_level.exchange(level == -1 ? c_defaultLevel : level);
}

int ZipFolderInto(const wchar_t* folder, const wchar_t* root, const wchar_t* archive)
{
    t_failure failure;
    const int code = WriteArchive(folder, root, archive, failure);
    SetLastError(failure.Reason());
    return code;
}

int ZipEntryListInto(const t_zipListEntry* entries, uint32_t count, const wchar_t* archive)
{
    t_failure failure;
    const int code = WriteList(entries, count, archive, failure);
    SetLastError(failure.Reason());
    return code;
}

void SetArchiveWriteLimitForTests(int64_t bytes) { SetPackWriteLimit(bytes); }
