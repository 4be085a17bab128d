#include "skin_model/zip_handler.h"

#include <string>

#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/win/scoped_win.h"
#include "foundation/users/user_manager.h"
#include "skin_model/picture_path.h"

const wchar_t c_saveTemporaryExtension[] = L".saving";

namespace {

const wchar_t c_iniName[] = L"Skin.ini";
// ERROR_DIRECTORY_NOT_SUPPORTED, which the MinGW headers lack: the package path is a folder.
const DWORD c_errorDirectoryNotSupported = 336;

// Copies text into a path buffer; false (and an empty buffer) when it does not fit.
bool CopyPath(wchar_t (&out)[MAX_PATH], const wchar_t* text)
{
    const size_t length = text ? wcslen(text) : 0;
    if (length >= MAX_PATH) {
        out[0] = 0;
        return false;
    }
    wmemcpy(out, text ? text : L"", length + 1);
    return true;
}

t_str SaveTemporaryFor(const wchar_t* archive)
{
    t_str path(archive ? archive : L"");
    path.Append(c_saveTemporaryExtension);
    return path;
}

bool PathExists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool IsEmptyFolder(const wchar_t* path)
{
    if (!t_path(path).IsDirectory())
        return false;
    bool empty = true;
    return ForEachFolderEntry(path, [&empty](const wchar_t*) { empty = false; }) && empty;
}

// Our ZipLib.dll's additions to the maker's exports, looked up by name in the ZipLib.dll
// the program loaded: beside the maker's own library, which lacks them, the program still
// starts and falls back to UnZip and ZipFolder.
struct t_zipAdditions {
    t_fnUnZipEx4 unzipReporting = nullptr;
    t_fnZipEntryList zipList = nullptr;
};

const t_zipAdditions& ZipAdditions()
{
    static const t_zipAdditions additions = [] {
        t_zipAdditions found;
        HMODULE library = nullptr;
        // The module that the imported UnZip lives in, whatever its file is called.
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(&::UnZip), &library)) {
            found.unzipReporting = reinterpret_cast<t_fnUnZipEx4>(GetProcAddress(library, "UnZipEx4"));
            found.zipList = reinterpret_cast<t_fnZipEntryList>(GetProcAddress(library, "ZipEntryList"));
        }
        return found;
    }();
    return additions;
}

bool IsFolderEntry(const std::wstring& name) { return !name.empty() && (name.back() == L'\\' || name.back() == L'/'); }

// Writes one entry of a pack list below folder: a folder entry as a folder, a file from its
// path (copied with its time) or from its bytes (with its time, now when 0).
bool StageEntry(const std::wstring& folder, const t_zipListEntry& entry)
{
    std::wstring name = entry.name ? entry.name : L"";
    for (wchar_t& c : name) {
        if (c == L'/')
            c = L'\\';
    }
    const bool isFolder = IsFolderEntry(name);
    if (isFolder)
        name.pop_back();
    if (name.empty() || !n_picturePath::StaysInside(name.c_str())) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    const std::wstring target = folder + L"\\" + name;
    t_errorChain ignored;
    const size_t slash = target.find_last_of(L'\\');
    if (!t_path(target.substr(0, slash).c_str()).CreateDirectoryTree(ignored, false))
        return false;
    if (isFolder)
        return CreateDirectoryW(target.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    if (entry.path)
        return CopyFileW(entry.path, target.c_str(), FALSE) != 0;
    const HANDLE file =
        CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = entry.size == 0 ||
              (entry.data && WriteFile(file, entry.data, entry.size, &written, nullptr) && written == entry.size);
    if (ok && entry.time) {
        const FILETIME time = {static_cast<DWORD>(entry.time), static_cast<DWORD>(entry.time >> 32)};
        ok = SetFileTime(file, nullptr, nullptr, &time) != 0;
    }
    const DWORD reason = GetLastError();
    CloseHandle(file);
    SetLastError(reason);
    return ok;
}

// ZipEntryList through the maker's exports: the entries are laid out in a folder of
// their own, which ZipFolder packs whole, and the folder goes again. The system's reason
// of a failure stays for the caller.
int ZipEntriesThroughFolder(const t_zipListEntry* entries, uint32_t count, const wchar_t* staging,
                            const wchar_t* archive)
{
    DeleteFolderTree(staging);
    if (!CreateDirectoryW(staging, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return ZIPLIB_E_WRITE;
    int code = ZIPLIB_OK;
    for (uint32_t i = 0; i < count && code == ZIPLIB_OK; ++i) {
        if (!StageEntry(staging, entries[i]))
            code = GetLastError() == ERROR_INVALID_NAME ? ZIPLIB_E_ARGUMENT : ZIPLIB_E_WRITE;
    }
    DWORD reason = GetLastError();
    if (code == ZIPLIB_OK) {
        code = ::ZipFolder(staging, staging, archive);
        reason = GetLastError();
    }
    DeleteFolderTree(staging);
    SetLastError(code == ZIPLIB_OK ? 0 : reason);
    return code;
}

}  // namespace

bool ZipHandler::HasReportingUnzip() { return ZipAdditions().unzipReporting != nullptr; }

bool ZipHandler::HasEntryListZip() { return ZipAdditions().zipList != nullptr; }

ZipHandler::ZipHandler() : m_prepared(false)
{
    m_archivePath[0] = 0;
    if (!GetUserSkinRoot(m_userFolder, MAX_PATH))
        m_userFolder[0] = 0;
    GetSkinTempFolder(m_workFolder, MAX_PATH);
}

ZipHandler::~ZipHandler()
{
    if (m_prepared)
        DeleteWorkFolder();
}

bool ZipHandler::DeleteWorkFolder()
{
    if (!m_workFolder[0])
        return true;
    return DeleteFolder(m_workFolder);
}

bool ZipHandler::PrepareWorkFolder()
{
    if (!m_workFolder[0])
        return false;
    if (PathExists(m_workFolder)) {
        DeleteFolderTree(m_workFolder);
        // A file that could not be deleted would mix into the next skin. The folder itself
        // may stay (it cannot be removed while it is a process's current directory): an
        // empty one is used as it is.
        if (PathExists(m_workFolder) && !IsEmptyFolder(m_workFolder))
            return false;
    }
    if (!CreateDirectoryW(m_workFolder, nullptr)) {
        const DWORD code = GetLastError();
        if (code != ERROR_ALREADY_EXISTS && code != ERROR_PATH_NOT_FOUND)
            return false;
    }
    wchar_t ini[MAX_PATH];
    if (!FormatPath(ini, L"%s\\%s", m_workFolder, c_iniName))
        return false;
    const HANDLE file =
        CreateFileW(ini, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(m_workFolder);
        return false;
    }
    CloseHandle(file);
    m_prepared = true;
    return true;
}

bool ZipHandler::SetArchivePath(const wchar_t* text, bool full)
{
    if (full)
        return CopyPath(m_archivePath, text);
    wchar_t folder[MAX_PATH];
    if (!m_userFolder[0] || !FormatPath(folder, L"%s\\AllSkin", m_userFolder))
        return false;
    if (!PathExists(folder) && !CreateDirectoryW(folder, nullptr))
        return false;
    if (!FormatPath(m_archivePath, L"%s\\%s%s", folder, text ? text : L"", L".vsf"))
        return false;
    return true;
}

bool ZipHandler::GetIniPath(wchar_t (&out)[MAX_PATH]) const
{
    if (!m_workFolder[0])
        return false;
    if (!FormatPath(out, L"%s\\%s", m_workFolder, c_iniName))
        return false;
    return t_path(out).IsFile();
}

bool ZipHandler::UnZip()
{
    t_errorChain dropped;
    return UnZip(dropped);
}

bool ZipHandler::UnZip(t_errorChain& notes) { return UnZip(notes, nullptr, nullptr); }

bool ZipHandler::UnZip(t_errorChain& notes, t_fnUnzipEntry entry, void* context)
{
    m_prepared = true;
    // The skipped names go to notes, the written files to the caller's entry.
    struct t_relay {
        t_errorChain* notes;
        t_fnUnzipEntry entry;
        void* context;
    } relay = {&notes, entry, context};
    const t_fnUnzipSkipped skipped = [](void* self, const wchar_t* name) {
        static_cast<t_relay*>(self)->notes->NewLine().AppendFormat(L"皮肤包中有仅大小写不同的重名文件，已忽略:%s",
                                                                   name);
    };
    const t_fnUnzipEntry written = [](void* self, const wchar_t* name, const uint8_t* data, uint32_t size) {
        const t_relay* to = static_cast<const t_relay*>(self);
        to->entry(to->context, name, data, size);
    };
    // Without the library's reporting addition: a plain UnZip, no case notes.
    const t_fnUnZipEx4 unzipReporting = ZipAdditions().unzipReporting;
    SetLastError(0);
    const int code = unzipReporting ? unzipReporting(m_archivePath, m_workFolder, nullptr, skipped,
                                                     entry ? written : nullptr, &relay)
                                    : ::UnZip(m_archivePath, m_workFolder);
    if (code == ZIPLIB_OK)
        return true;
    const DWORD reason = GetLastError();
    t_str& line = notes.NewLine();
    switch (code) {
    case ZIPLIB_E_OPEN: {
        // Either the file cannot be opened (the system says why) or it is no whole archive.
        t_autoCloseFile file(CreateFileW(m_archivePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        if (!file.IsValid())
            AppendSystemErrorText(line, GetLastError());
        else
            line.AppendText(L"皮肤包不是完整的zip文件(已截断或损坏)");
        break;
    }
    case ZIPLIB_E_TOO_BIG:
        line.AppendFormat(L"皮肤包解压后过大(单个文件超过%uMB、总计超过%uMB、文件数超过%u或压缩比超过%u倍)",
                          unsigned(ZIPLIB_MAX_ENTRY_SIZE >> 20), unsigned(ZIPLIB_MAX_TOTAL_SIZE >> 20),
                          unsigned(ZIPLIB_MAX_ENTRIES), unsigned(ZIPLIB_MAX_RATIO));
        break;
    case ZIPLIB_E_REFUSED:
        line.AppendText(L"皮肤包含加密的文件、不支持的压缩方式或会写到工作目录以外的文件名");
        break;
    case ZIPLIB_E_CORRUPT:
        line.AppendText(L"皮肤包已损坏(数据无法解压或校验不符)");
        break;
    case ZIPLIB_E_WRITE:
        if (reason)
            AppendSystemErrorText(line, reason);
        line.AppendText(L"写入工作目录失败");
        AppendPathError(line, L"", m_workFolder);
        return false;
    case ZIPLIB_E_MEMORY:
        line.AppendText(L"内存不足");
        break;
    default:
        line.AppendFormat(L"解压失败(压缩库错误%d)", code);
        break;
    }
    AppendPathError(line, L"", m_archivePath);
    return false;
}

bool ZipHandler::Zip()
{
    t_errorChain dropped;
    return Zip(dropped);
}

bool ZipHandler::Zip(t_errorChain& errors)
{
    return ReplaceArchive(errors,
                          [this](const wchar_t* archive) { return ::ZipFolder(m_workFolder, m_workFolder, archive); });
}

bool ZipHandler::ZipEntries(t_errorChain& errors, const t_zipListEntry* entries, uint32_t count)
{
    const t_fnZipEntryList zipList = ZipAdditions().zipList;
    if (zipList)
        return ReplaceArchive(errors, [&](const wchar_t* archive) { return zipList(entries, count, archive); });
    const std::wstring staging = std::wstring(m_workFolder) + L".pack";
    return ReplaceArchive(errors, [&](const wchar_t* archive) {
        return ZipEntriesThroughFolder(entries, count, staging.c_str(), archive);
    });
}

template <class TPack>
bool ZipHandler::ReplaceArchive(t_errorChain& errors, TPack pack)
{
    // Without a package path there is nothing to name; the caller's own line says it.
    if (!m_archivePath[0])
        return false;
    const auto fail = [&](DWORD reason, int code) {
        t_str& line = errors.NewLine();
        if (reason)
            AppendSystemErrorText(line, reason);
        else
            line.AppendFormat(L"压缩库错误%d", code);
        AppendPathError(line, L"", m_archivePath);
        return false;
    };
    // A folder at the package path would only be found by the final move.
    if (t_path(m_archivePath).IsDirectory())
        return fail(c_errorDirectoryNotSupported, 0);
    // The new package is written beside the old one under another name, flushed to the
    // disk and moved over it in one step: at every moment the package path holds the old
    // package or the new one, whole. A temporary that an interrupted save left is simply
    // written over.
    const t_str temporary = SaveTemporaryFor(m_archivePath);
    const int code = pack(temporary.c_str());
    if (code != ZIPLIB_OK) {
        // The library leaves the system's reason and no file; a failure without a reason
        // names its own code.
        const DWORD reason = GetLastError();
        DeleteFileW(temporary.c_str());
        return fail(reason, code);
    }
    bool flushed = false;
    {
        t_autoCloseFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        flushed = file.IsValid() && FlushFileBuffers(file.Get());
    }
    if (!flushed ||
        !MoveFileExW(temporary.c_str(), m_archivePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD reason = GetLastError();
        DeleteFileW(temporary.c_str());
        // A package that another program holds open refuses to be replaced as "access
        // denied": say that it is in use, which the user can do something about.
        if (reason == ERROR_ACCESS_DENIED) {
            t_autoCloseFile probe(CreateFileW(m_archivePath, DELETE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            if (!probe.IsValid() && GetLastError() == ERROR_SHARING_VIOLATION)
                reason = ERROR_SHARING_VIOLATION;
        }
        return fail(reason, ZIPLIB_E_WRITE);
    }
    m_prepared = true;
    return true;
}

void ZipHandler::RemoveSaveTemporary() const
{
    if (m_archivePath[0])
        DeleteFileW(SaveTemporaryFor(m_archivePath).c_str());
}

int GetSkinTempFolder(wchar_t* out, int size)
{
    if (!out || size <= 0)
        return 0;
    out[0] = 0;
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    wchar_t longForm[MAX_PATH];
    const DWORD longLength = GetLongPathNameW(temp, longForm, MAX_PATH);
    const wchar_t* folder = (longLength > 0 && longLength < MAX_PATH) ? longForm : temp;
    const int n = _snwprintf(out, size_t(size), L"%sSkinTmp", folder);
    if (n < 0 || n >= size) {
        out[0] = 0;
        return 0;
    }
    return n;
}

bool GetSkinTempFolderStr(t_str& out)
{
    wchar_t buffer[MAX_PATH];
    if (!GetSkinTempFolder(buffer, MAX_PATH)) {
        out.Clear();
        return false;
    }
    out.Assign(buffer);
    return true;
}

bool GetUserSkinRoot(wchar_t* out, int size)
{
    if (!out || size <= 0)
        return false;
    out[0] = 0;
    UserManager* manager = UserManager::Instance();
    if (!manager || !manager->IsInitialised())
        return false;
    const int userId = manager->GetCurrentUserIndex();
    if (userId < 0)
        return false;
    return manager->GetUserDir(out, size_t(size), userId) && out[0] != 0;
}
