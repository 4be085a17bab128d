// Path helpers shared by extraction and zipping.
#pragma once

#include <string>

namespace n_folderPath {

// The full path (GetFullPathNameW) without a trailing separator unless it is a root;
// false when it cannot be formed.
bool Full(const wchar_t* path, std::wstring& out);
bool IsFolder(const std::wstring& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool CreateTree(const std::wstring& path);
// Whether path is folder itself or lies below it (without regard to case).
bool IsInside(const std::wstring& path, const std::wstring& folder);

}  // namespace n_folderPath
