#include "foundation/files/path.h"

#include <aclapi.h>
#include <shellapi.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <initializer_list>
#include <string>

#include "foundation/win/scoped_win.h"
#include "foundation/win/security.h"

namespace {

wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }

// File or folder, as far as the attributes can be read.
enum class t_kind {
    missing,
    file,
    folder
};

t_kind KindOf(const wchar_t* path)
{
    DWORD attrs = GetFileAttributesW(path);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return t_kind::missing;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? t_kind::folder : t_kind::file;
}

t_str& PathErrorLine(t_errorChain& errors, const wchar_t* message, const wchar_t* path)
{
    return AppendPathError(errors.NewLine(), message, path);
}

}  // namespace

bool IsDeviceName(const wchar_t* name)
{
    // Only the part before the first dot, trailing blanks dropped, is compared.
    size_t length = wcscspn(name, L".");
    while (length > 0 && name[length - 1] == L' ')
        --length;
    static const wchar_t* const c_devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* device : c_devices) {
        if (wcslen(device) == length && _wcsnicmp(name, device, length) == 0)
            return true;
    }
    if (length != 4 || (_wcsnicmp(name, L"COM", 3) != 0 && _wcsnicmp(name, L"LPT", 3) != 0))
        return false;
    // Superscript one to three count as digits here too.
    const wchar_t digit = name[3];
    return (digit >= L'0' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3;
}

t_nameFault CheckFileName(const wchar_t* name)
{
    if (!name || !name[0])
        return t_nameFault::e_empty;
    const size_t length = wcslen(name);
    if (length > 255)
        return t_nameFault::e_tooLong;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0)
        return t_nameFault::e_dots;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c < 32 || wcschr(L"<>:\"/\\|?*", *c))
            return t_nameFault::e_character;
    }
    // Windows drops a trailing blank or dot: the file created would have another name.
    if (name[length - 1] == L' ' || name[length - 1] == L'.')
        return t_nameFault::e_trailing;
    if (IsDeviceName(name))
        return t_nameFault::e_device;
    return t_nameFault::e_none;
}

const wchar_t* NameFaultText(t_nameFault fault)
{
    switch (fault) {
    case t_nameFault::e_none:
        return L"";
    case t_nameFault::e_empty:
        return L"名字为空";
    case t_nameFault::e_tooLong:
        return L"名字超过255个字符";
    case t_nameFault::e_character:
        return L"含< > : \" / \\ | ? *或控制字符";
    case t_nameFault::e_trailing:
        return L"以空格或句点结尾";
    case t_nameFault::e_dots:
        return L"是“.”或“..”";
    case t_nameFault::e_device:
        return L"是设备名";
    }
    return L"";
}

t_pathFault CheckPathParts(const wchar_t* path, bool absoluteAllowed)
{
    if (!path || !path[0])
        return t_pathFault::e_name;
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (separator(path[0]) && separator(path[1]) && (path[2] == L'.' || path[2] == L'?') && separator(path[3]))
        return t_pathFault::e_device;
    const wchar_t* rest = path;
    if (path[1] == L':') {
        // A drive: only as the start of a full path, "X:\".
        const wchar_t letter = path[0] & ~0x20;
        if (!absoluteAllowed || letter < L'A' || letter > L'Z' || !separator(path[2]))
            return t_pathFault::e_drive;
        rest = path + 3;
    } else if (separator(path[0])) {
        return t_pathFault::e_root;
    }
    // Every part between separators: "." and empty parts change nothing; the rest must be
    // file names.
    t_pathFault fault = t_pathFault::e_none;
    for (const wchar_t* part = rest; *part && fault == t_pathFault::e_none;) {
        size_t length = 0;
        while (part[length] && !separator(part[length]))
            ++length;
        const std::wstring name(part, length);
        if (name == L"..")
            fault = t_pathFault::e_parent;
        else if (!name.empty() && name != L".") {
            const t_nameFault nameFault = CheckFileName(name.c_str());
            if (nameFault == t_nameFault::e_device)
                fault = t_pathFault::e_device;
            else if (nameFault == t_nameFault::e_character && name.find(L':') != std::wstring::npos)
                fault = t_pathFault::e_drive;
            else if (nameFault != t_nameFault::e_none)
                fault = t_pathFault::e_name;
        }
        part += length;
        if (*part)
            ++part;
    }
    return fault;
}

const wchar_t* PathFaultText(t_pathFault fault)
{
    switch (fault) {
    case t_pathFault::e_none:
        return L"";
    case t_pathFault::e_parent:
        return L"含上级目录“..”";
    case t_pathFault::e_drive:
        return L"含盘符或冒号";
    case t_pathFault::e_root:
        return L"从根目录或网络共享开始";
    case t_pathFault::e_device:
        return L"指向设备";
    case t_pathFault::e_name:
        return L"含Windows不能建立的文件名";
    }
    return L"";
}

bool IsDotEntry(const wchar_t* name) { return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)); }

bool ForEachFolderEntry(const wchar_t* folder, const std::function<void(const wchar_t* name)>& visit)
{
    t_path pattern(folder);
    pattern.AppendPart(L"*.*");
    WIN32_FIND_DATAW data;
    t_autoFindClose find(FindFirstFileW(pattern.c_str(), &data));
    if (!find.IsValid())
        return false;
    do {
        if (!IsDotEntry(data.cFileName))
            visit(data.cFileName);
    } while (FindNextFileW(find.Get(), &data));
    return true;
}

// ---- building and splitting ----

t_str t_path::Combine(const wchar_t* base, const wchar_t* a, const wchar_t* b, const wchar_t* c, const wchar_t* d,
                      const wchar_t* e)
{
    t_path result(base);
    for (const wchar_t* part : {a, b, c, d, e}) {
        if (part)
            result.Join(part);
    }
    return result;
}

t_str t_path::CombineFromStr(const t_str& base, const wchar_t* a, const wchar_t* b, const wchar_t* c, const wchar_t* d,
                             const wchar_t* e)
{
    return Combine(base.c_str(), a, b, c, d, e);
}

bool t_path::Join(const wchar_t* part)
{
    if (part && part[0] == L'.')
        return AppendExtension(part);
    return AppendPart(part);
}

bool t_path::AppendPart(const wchar_t* part)
{
    int n = Length();
    if (n == 0 || CharAt(n - 1) != L'\\')
        Append(L"\\");
    if (part)
        Append(part);
    return true;
}

bool t_path::AppendExtension(const wchar_t* extension)
{
    if (!extension)
        return true;
    int n = Length();
    int m = static_cast<int>(wcslen(extension));
    if (n > m && _wcsicmp(c_str() + (n - m), extension) == 0)
        return true;
    Append(extension);
    return true;
}

t_str t_path::Concat(const wchar_t* part) const
{
    t_path copy(*this);
    copy.Join(part);
    return copy;
}

const wchar_t* t_path::FileName() const
{
    int slash = ReverseFindBackslash();
    return c_str() + (slash + 1);
}

const wchar_t* t_path::Extension() const
{
    const wchar_t* dot = wcsrchr(c_str(), L'.');
    if (!dot)
        return nullptr;
    return (dot - c_str() > ReverseFindBackslash()) ? dot : nullptr;
}

bool t_path::BaseName(t_str& out) const
{
    const wchar_t* name = FileName();
    const wchar_t* dot = wcsrchr(name, L'.');
    out.AssignN(name, dot ? static_cast<int>(dot - name) : static_cast<int>(wcslen(name)));
    return true;
}

bool t_path::GetFolder(t_str& out) const
{
    int slash = ReverseFindBackslash();
    if (slash < 2) {
        out = *this;
        return false;
    }
    // A drive root keeps its backslash: the folder of C:\f.txt is C:\ .
    out.AssignN(c_str(), CharAt(slash - 1) == L':' ? slash + 1 : slash);
    return true;
}

bool t_path::IsRelative() const { return Length() < 2 || CharAt(1) != L':'; }

bool t_path::IsDriveRoot() const
{
    if (Length() != 3)
        return false;
    wchar_t letter = UpperAscii(CharAt(0));
    return letter >= L'A' && letter <= L'Z' && CharAt(1) == L':' && CharAt(2) == L'\\';
}

bool t_path::Contains(const wchar_t* other, bool directChildOnly) const
{
    if (!other)
        return false;
    int n = Length();
    if (static_cast<int>(wcslen(other)) <= n)
        return false;
    for (int i = 0; i < n; ++i) {
        if (towupper(CharAt(i)) != towupper(other[i]))
            return false;
    }
    if (other[n] != L'\\')
        return false;
    return !directChildOnly || wcschr(other + n + 1, L'\\') == nullptr;
}

// ---- queries ----

bool t_path::IsFile() const { return KindOf(c_str()) == t_kind::file; }

bool t_path::IsDirectory() const
{
    t_path probe(*this);
    int n = probe.Length();
    if (n == 2 && probe.CharAt(1) == L':') {
        probe.Append(L"\\");
    } else if (n > 0 && probe.CharAt(n - 1) == L'\\' && !probe.IsDriveRoot()) {
        probe.Truncate(n - 1);
    }
    DWORD attrs = GetFileAttributesW(probe.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return false;
    if (probe.IsDriveRoot())
        return true;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool t_path::GetFileSize(t_errorChain& errors, unsigned& size) const
{
    struct _stati64 st;
    if (_wstati64(c_str(), &st) != 0) {
        PathErrorLine(errors, L"无法取得文件大小", c_str());
        return false;
    }
    if (st.st_mode & _S_IFDIR) {
        PathErrorLine(errors, L"无法取得大小（对象为目录）", c_str());
        return false;
    }
    // The count is 32-bit: a larger file is refused rather than reported with a cut size.
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > UINT32_MAX) {
        PathErrorLine(errors, L"无法取得文件大小", c_str());
        return false;
    }
    size = static_cast<unsigned>(st.st_size);
    return true;
}

// ---- changes ----

bool t_path::Delete(t_errorChain& errors, bool strict, bool toRecycleBin) const
{
    // Read-only files can then be deleted too.
    SetFileAttributesW(c_str(), FILE_ATTRIBUTE_NORMAL);

    if (toRecycleBin) {
        if (!strict && KindOf(c_str()) != t_kind::file)
            return true;
        // SHFileOperationW takes a list ended by two terminators.
        size_t n = static_cast<size_t>(Length());
        wchar_t* list = static_cast<wchar_t*>(calloc(n + 2, sizeof(wchar_t)));
        if (!list) {
            PathErrorLine(errors, L"删除文件到回收站失败", c_str());
            return false;
        }
        wmemcpy(list, c_str(), n);
        SHFILEOPSTRUCTW op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = list;
        op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
        int code = SHFileOperationW(&op);
        free(list);
        if (code == 0)
            return true;
        t_str message;
        message.Format(L"删除文件到回收站失败 (%d)", code);
        t_str& line = (code == 0x402) ? errors.AddLastError() : errors.NewLine();
        AppendPathError(line, message.c_str(), c_str());
        return false;
    }

    if (DeleteFileW(c_str()))
        return true;
    DWORD code = GetLastError();
    if (!strict && !IsFile())
        return true;
    SetLastError(code);
    AppendPathError(errors.AddLastError(), L"删除文件失败", c_str());
    return false;
}

void t_path::DeleteQuiet(bool toRecycleBin) const
{
    t_errorChain ignored;
    Delete(ignored, false, toRecycleBin);
}

void t_path::DeleteFolderQuiet() const
{
    if (IsDirectory())
        DeleteFolderTree(c_str());
}

bool t_path::CreateDirectoryTree(t_errorChain& errors, bool strict) const
{
    if (Length() >= 2 && CharAt(0) == L'\\' && CharAt(1) == L'\\')
        return true;
    if (IsDirectory()) {
        if (!strict)
            return true;
        PathErrorLine(errors, L"创建目录失败，目录已经存在", c_str());
        return false;
    }
    // The parent is made first. Only a real, strictly shorter parent is followed, so the
    // recursion always ends (a path without a folder part, such as "Q:", has no parent).
    t_path parent;
    if (GetFolder(parent) && parent.Length() < Length() && !parent.IsDriveRoot()) {
        if (!parent.CreateDirectoryTree(errors, false))
            return false;
    }
    if (!CreateDirectoryW(c_str(), nullptr)) {
        AppendPathError(errors.AddLastError(), L"创建目录失败", c_str());
        return false;
    }
    GrantAccess(c_str());
    ApplyLowLabel(c_str());
    return true;
}

namespace {

// The target's folder is made first; a target without a folder part needs none.
bool PrepareTargetFolder(t_errorChain& errors, const wchar_t* target)
{
    t_path folder;
    if (!t_path(target).GetFolder(folder))
        return true;
    return folder.CreateDirectoryTree(errors, false);
}

void SecureCopiedPath(const wchar_t* target)
{
    SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    t_path::GrantAccess(target);
    t_path::ApplyLowLabel(target);
}

}  // namespace

bool t_path::Copy(t_errorChain& errors, const wchar_t* target, bool failIfExists) const
{
    if (!PrepareTargetFolder(errors, target))
        return false;
    SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    if (!CopyFileW(c_str(), target, failIfExists ? TRUE : FALSE)) {
        AppendFromToError(errors.AddLastError(), L"拷贝文件失败", c_str(), target);
        return false;
    }
    SecureCopiedPath(target);
    return true;
}

bool t_path::Move(t_errorChain& errors, const wchar_t* target, bool failIfExists) const
{
    if (!PrepareTargetFolder(errors, target))
        return false;
    DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (!failIfExists) {
        flags |= MOVEFILE_REPLACE_EXISTING;
        if (KindOf(target) == t_kind::file)
            SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
    }
    if (!MoveFileExW(c_str(), target, flags)) {
        AppendFromToError(errors.AddLastError(), L"移动文件失败", c_str(), target);
        return false;
    }
    SecureCopiedPath(target);
    return true;
}

bool t_path::CopyFolder(t_errorChain& errors, const wchar_t* target, bool failIfExists) const
{
    if (failIfExists && t_path(target).IsDirectory()) {
        AppendFromToError(errors.NewLine(), L"复制文件夹失败：目标文件夹已存在", c_str(), target);
        return false;
    }
    return CopyFolderTree(errors, target, c_str());
}

bool t_path::GrantAccess(const wchar_t* path) { return GrantPathAccess(path, SE_FILE_OBJECT, GENERIC_ALL, true); }

bool t_path::ApplyLowLabel(const wchar_t* path) { return SetPathLowIntegrity(path, SE_FILE_OBJECT); }

// ---- folder trees ----

bool CopyFolderTree(t_errorChain& errors, const wchar_t* targetFolder, const wchar_t* sourceFolder)
{
    t_kind kind = KindOf(sourceFolder);
    if (kind == t_kind::missing) {
        errors.NewLine().AppendText(L"目录不存在").AppendText(sourceFolder);
        return false;
    }
    if (kind == t_kind::file)
        return t_path(sourceFolder).Copy(errors, targetFolder, false);

    t_path target(targetFolder);
    if (!target.IsDirectory() && !target.CreateDirectoryTree(errors, false)) {
        errors.NewLine().AppendText(L"创建目录失败").AppendText(targetFolder);
        return false;
    }
    bool ok = true;
    ForEachFolderEntry(sourceFolder, [&](const wchar_t* name) {
        t_path from(sourceFolder), to(targetFolder);
        from.AppendPart(name);
        to.AppendPart(name);
        if (!CopyFolderTree(errors, to.c_str(), from.c_str()))
            ok = false;
    });
    return ok;
}

bool DeleteFolderTree(const wchar_t* path)
{
    t_kind kind = KindOf(path);
    if (kind == t_kind::missing)
        return false;
    if (kind == t_kind::file)
        return DeleteFileW(path) != FALSE;
    ForEachFolderEntry(path, [&](const wchar_t* name) {
        t_path child(path);
        child.AppendPart(name);
        DeleteFolderTree(child.c_str());
    });
    return RemoveDirectoryW(path) != FALSE;
}

bool DeleteFolder(const wchar_t* path)
{
    DeleteFolderTree(path);
    return true;
}

bool DeleteFolderTreeAtReboot(const wchar_t* path)
{
    t_kind kind = KindOf(path);
    if (kind == t_kind::missing)
        return false;
    if (kind == t_kind::folder) {
        ForEachFolderEntry(path, [&](const wchar_t* name) {
            t_path child(path);
            child.AppendPart(name);
            if (KindOf(child.c_str()) == t_kind::folder) {
                DeleteFolderTreeAtReboot(child.c_str());
            } else {
                MoveFileExW(child.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
            }
        });
    }
    return MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

bool ScheduleFolderDelete(const wchar_t* path)
{
    DeleteFolderTreeAtReboot(path);
    return true;
}

bool FormatPath(wchar_t (&buffer)[MAX_PATH], const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buffer, MAX_PATH - 1, format, args);
    va_end(args);
    buffer[MAX_PATH - 1] = 0;
    if (n < 0) {
        buffer[0] = 0;
        return false;
    }
    return true;
}
