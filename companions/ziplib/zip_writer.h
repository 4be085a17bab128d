// Writing a folder tree into a new zip archive.
#pragma once

// The deflate level ZipFolder uses (0 stores); SetLevel returns the previous one and
// ignores values outside -1..9 (-1: the default, 6).
int ZipLevel();
int SetZipLevelValue(int level);

#include <cstdint>

// A ZIPLIB_ result; see ZipFolder in ziplib.h. On failure the thread's last-error code is
// the system's reason for the first step that failed (0 when it had none).
int ZipFolderInto(const wchar_t* folder, const wchar_t* root, const wchar_t* archive);
// The same for a list of entries; see ZipEntryList in ziplib.h.
struct t_zipListEntry;
int ZipEntryListInto(const t_zipListEntry* entries, uint32_t count, const wchar_t* archive);

// Tests stand in for a full drive: the archives written afterwards take at most bytes
// more bytes in all, then writes come up short with ERROR_DISK_FULL, as on a drive that
// fills. A negative count lifts the limit.
void SetArchiveWriteLimitForTests(int64_t bytes);
