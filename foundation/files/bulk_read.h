// Reads of files that no other process shares (the skin work folder): one listing gives
// names, sizes and write times, and a file is read whole with one open and one read,
// without the per-path mutex that t_file takes. Files that other processes share go
// through t_file. A listing may run on the system thread pool while the caller works.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/core/str.h"

struct t_listedFile {
    t_str name;
    uint64_t size = 0;
    // The last-write FILETIME as one number.
    uint64_t written = 0;
    DWORD attributes = 0;

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The entries of folder except "." and "..", in the order the system lists them (the
// order t_skinPack::AddFolder and ForEachFolderEntry see). False when it cannot be listed.
bool ListFolder(const wchar_t* folder, std::vector<t_listedFile>& out);

// ListFolder on the system thread pool: Start, work meanwhile, then Wait for the result.
// Where no pool thread can be had, Wait lists on the caller.
class t_folderListing {
public:
    t_folderListing() = default;
    ~t_folderListing();
    t_folderListing(const t_folderListing&) = delete;
    t_folderListing& operator=(const t_folderListing&) = delete;

    void Start(const wchar_t* folder);
    // ListFolder's result and entries; the listing is then done.
    bool Wait(std::vector<t_listedFile>& out);

private:
    static void CALLBACK Run(PTP_CALLBACK_INSTANCE instance, void* context);

    t_str m_folder;
    std::vector<t_listedFile> m_files;
    bool m_listed = false;
    HANDLE m_done = nullptr;  // set once the pool's callback has returned
};

// The whole file into out. False (out emptied) when it cannot be opened, is larger than
// limit bytes or does not read whole.
bool ReadWholeFile(const wchar_t* path, std::vector<uint8_t>& out, uint64_t limit = 0x7FFFFFF0);

// A file's size and last-write FILETIME, as a listing gives them: what tells a caller
// that a file it wrote was not written since. False when the path is no file.
bool GetFileStamp(const wchar_t* path, uint64_t& size, uint64_t& written);

// Plain names compared as the file system compares them: ordinal, ignoring case.
int CompareFileNames(const wchar_t* a, int aLength, const wchar_t* b, int bLength);
