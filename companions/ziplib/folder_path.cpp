#include "companions/ziplib/folder_path.h"

#include <windows.h>

#include <vector>

namespace n_folderPath {

namespace {

bool EqualNoCase(const wchar_t* a, const wchar_t* b, size_t n)
{
    return n <= 0x7fffffff && CompareStringOrdinal(a, static_cast<int>(n), b, static_cast<int>(n), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool Full(const wchar_t* path, std::wstring& out)
{
    out.clear();
    if (!path || !path[0])
        return false;
    DWORD n = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (n == 0)
        return false;
    std::vector<wchar_t> buffer(n + 1);
    n = GetFullPathNameW(path, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size())
        return false;
    out.assign(buffer.data(), n);
    // Keep "C:\" and "\\" whole; drop the separator after any other folder.
    while (out.size() > 3 && out.back() == L'\\')
        out.pop_back();
    return true;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateTree(const std::wstring& path)
{
    if (path.empty())
        return false;
    if (IsFolder(path))
        return true;
    const size_t cut = path.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 0) {
        const std::wstring parent = path.substr(0, cut);
        // A parent like "C:" or "\\server\share" is either there or cannot be made.
        if (parent.size() > 2 && parent.back() != L':' && !CreateTree(parent))
            return false;
    }
    return CreateDirectoryW(path.c_str(), nullptr) || IsFolder(path);
}

bool IsInside(const std::wstring& path, const std::wstring& folder)
{
    if (path.size() < folder.size() || !EqualNoCase(path.c_str(), folder.c_str(), folder.size()))
        return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\' || (!folder.empty() && folder.back() == L'\\');
}

}  // namespace n_folderPath
