// Writing a folder tree into a new zip archive.
#pragma once

// The deflate level ZipFolder uses (0 stores); SetLevel returns the previous one and
// ignores values outside -1..9 (-1: the default, 6).
int ZipLevel();
int SetZipLevelValue(int level);

// A ZIPLIB_ result; see ZipFolder in ziplib.h.
int ZipFolderInto(const wchar_t* folder, const wchar_t* root, const wchar_t* archive);
