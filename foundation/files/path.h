#pragma once

#include <windows.h>

#include <functional>

#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"
#include "foundation/core/str.h"

// A file-system path held in a t_str, with the operations that build, split, query and
// change it. The separator is the backslash only. Everything that is created, copied or
// moved is opened to all local users and app packages and given the low integrity label,
// so that low-integrity processes of the input method can use it.
class t_path : public t_str {
public:
    // One named mutex per file path ("Local\mutex_file_0x%08X" of a case-folded hash of
    // the path); every t_file open takes it, so opens of one path are serialised across
    // threads and processes.
    class t_mutex : public ::t_mutex {
    public:
        t_mutex();
        // Plain names are refused: this mutex is only ever named from a path.
        bool Create(t_errorChain& errors, const wchar_t* name) override;
        virtual bool CreateForPath(t_errorChain& errors, const wchar_t* path);
    };

    t_path() = default;
    t_path(const wchar_t* text) : t_str(text) {}
    t_path(const t_str& text) : t_str(text) {}
    t_path(const t_path& other) : t_str(other) {}
    t_path& operator=(const t_path& other)
    {
        t_str::operator=(other);
        return *this;
    }
    t_path& operator=(const wchar_t* text)
    {
        Assign(text);
        return *this;
    }

    // Building and splitting: never fail.
    // Base, then each non-null text by the Join rule.
    static t_str Combine(const wchar_t* base, const wchar_t* a = nullptr, const wchar_t* b = nullptr,
                         const wchar_t* c = nullptr, const wchar_t* d = nullptr, const wchar_t* e = nullptr);
    static t_str CombineFromStr(const t_str& base, const wchar_t* a = nullptr, const wchar_t* b = nullptr,
                                const wchar_t* c = nullptr, const wchar_t* d = nullptr, const wchar_t* e = nullptr);
    // Join: a part starting with '.' goes on as an extension (AppendExtension), anything
    // else as a path component (AppendPart). Append, inherited from t_str, adds plain text.
    bool Join(const wchar_t* part);
    // One backslash unless the path already ends with one, then the part.
    bool AppendPart(const wchar_t* part);
    bool AppendExtension(const wchar_t* extension);
    // A copy of the path with the part added by the Join rule.
    t_str Concat(const wchar_t* part) const;
    const wchar_t* FileName() const;
    const wchar_t* Extension() const;
    bool BaseName(t_str& out) const;
    bool GetFolder(t_str& out) const;
    bool IsRelative() const;
    bool IsDriveRoot() const;
    bool Contains(const wchar_t* other, bool directChildOnly) const;

    // Queries.
    bool IsFile() const;
    bool IsDirectory() const;
    bool GetFileSize(t_errorChain& errors, unsigned& size) const;

    // Changes.
    bool Delete(t_errorChain& errors, bool strict, bool toRecycleBin) const;
    void DeleteQuiet(bool toRecycleBin) const;
    void DeleteFolderQuiet() const;
    bool CreateDirectoryTree(t_errorChain& errors, bool strict) const;
    bool Copy(t_errorChain& errors, const wchar_t* target, bool failIfExists) const;
    bool Move(t_errorChain& errors, const wchar_t* target, bool failIfExists) const;
    bool CopyFolder(t_errorChain& errors, const wchar_t* target, bool failIfExists) const;

    // Best-effort security on a file or folder: Everyone (and app packages) get full,
    // inheritable access; the low mandatory label is set unless the path names an ".exe".
    static bool GrantAccess(const wchar_t* path);
    static bool ApplyLowLabel(const wchar_t* path);
};

// Folder trees. Child paths are built at full length (never cut to another name) and the
// walks keep their state on the stack, so they may run on several threads at once.
// True for "." and "..", the entries a folder walk skips.
bool IsDotEntry(const wchar_t* name);
// Calls visit with the name of each entry of the folder except "." and ".."; false when
// the folder cannot be listed.
bool ForEachFolderEntry(const wchar_t* folder, const std::function<void(const wchar_t* name)>& visit);
bool CopyFolderTree(t_errorChain& errors, const wchar_t* targetFolder, const wchar_t* sourceFolder);
bool DeleteFolderTree(const wchar_t* path);
bool DeleteFolder(const wchar_t* path);
bool DeleteFolderTreeAtReboot(const wchar_t* path);
bool ScheduleFolderDelete(const wchar_t* path);

// Names and paths that come from files, settings or users. A file name is one that Windows
// can create inside a folder: not empty, at most 255 characters, none of < > : " / \ | ? *
// or a control character, no trailing blank or dot, not "." or "..", and no device name
// ("CON", "nul.txt", "COM1 .ini": Windows opens the device for these in any folder).
enum class t_nameFault {
    e_none,
    e_empty,
    e_tooLong,
    e_character,
    e_trailing,
    e_dots,
    e_device,
};
t_nameFault CheckFileName(const wchar_t* name);
bool IsDeviceName(const wchar_t* name);
// What is wrong with a name, in words for a message; empty for e_none.
const wchar_t* NameFaultText(t_nameFault fault);

// A path that is to stay inside the folder it is joined to (relative) or that names a
// file by its full path (absolute, "X:\..."): what would take it elsewhere.
enum class t_pathFault {
    e_none,
    e_parent,  // a ".." part
    e_drive,   // "X:" on a relative path, or a drive without its root
    e_root,    // a leading separator: the root of the drive or a network share
    e_device,  // "\\.\", "\\?\" or a device name as a part
    e_name,    // a part that is no file name (see CheckFileName)
};
t_pathFault CheckPathParts(const wchar_t* path, bool absoluteAllowed);
const wchar_t* PathFaultText(t_pathFault fault);

// Formats into a 260-character path buffer; false (and an empty buffer) when it does not fit.
bool FormatPath(wchar_t (&buffer)[MAX_PATH], const wchar_t* format, ...);
