#include "skin_model/zip_handler.h"

#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/users/user_manager.h"

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

}  // namespace

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
    return ::UnZipEx4(m_archivePath, m_workFolder, nullptr, skipped, entry ? written : nullptr, &relay) == ZIPLIB_OK;
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
    return ReplaceArchive(errors, [&] { return ::ZipEntryList(entries, count, m_archivePath); });
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
