#include "skin_model/zip_handler.h"

#include <string>

#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/users/user_manager.h"
#include "skin_model/picture_path.h"

namespace {

const wchar_t c_iniName[] = L"Skin.ini";

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
    const t_fnUnZipEx4 unzipReporting = ZipAdditions().unzipReporting;
    if (!unzipReporting)
        return ::UnZip(m_archivePath, m_workFolder) == ZIPLIB_OK;
    return unzipReporting(m_archivePath, m_workFolder, nullptr, skipped, entry ? written : nullptr, &relay) ==
           ZIPLIB_OK;
}

bool ZipHandler::Zip()
{
    t_errorChain dropped;
    return Zip(dropped);
}

bool ZipHandler::Zip(t_errorChain& errors)
{
    return ReplaceArchive(errors, [this] { return ::ZipFolder(m_workFolder, m_workFolder, m_archivePath); });
}

bool ZipHandler::ZipEntries(t_errorChain& errors, const t_zipListEntry* entries, uint32_t count)
{
    const t_fnZipEntryList zipList = ZipAdditions().zipList;
    if (zipList)
        return ReplaceArchive(errors, [&] { return zipList(entries, count, m_archivePath); });
    const std::wstring staging = std::wstring(m_workFolder) + L".pack";
    return ReplaceArchive(errors,
                          [&] { return ZipEntriesThroughFolder(entries, count, staging.c_str(), m_archivePath); });
}

template <class TPack>
bool ZipHandler::ReplaceArchive(t_errorChain& errors, TPack pack)
{
    // Without a package path there is nothing to name; the caller's own line says it.
    if (!m_archivePath[0])
        return false;
    // ".bak" always goes on: an archive that already ends in ".bak" must not be its own
    // backup, or the new package would be deleted as the backup afterwards.
    t_path backup(m_archivePath);
    backup.Append(L".bak");
    bool movedAside = false;
    if (t_path(m_archivePath).IsFile()) {
        // Packing over a package that could not be moved aside would lose it on failure.
        if (!t_path(m_archivePath).Move(errors, backup.c_str(), false))
            return false;
        movedAside = true;
    }
    const int code = pack();
    if (code != ZIPLIB_OK) {
        // The library leaves the system's reason; a failure without one names its own code.
        const DWORD reason = GetLastError();
        t_str& line = errors.NewLine();
        if (reason)
            AppendSystemErrorText(line, reason);
        else
            line.AppendFormat(L"压缩库错误%d", code);
        AppendPathError(line, L"", m_archivePath);
        if (movedAside)
            backup.Move(errors, m_archivePath, false);
        return false;
    }
    if (movedAside)
        backup.Delete(errors, false, false);
    m_prepared = true;
    return true;
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
