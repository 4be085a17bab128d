#include "skin_model/zip_handler.h"

#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/win/scoped_win.h"
#include "foundation/users/user_manager.h"

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
    SetLastError(0);
    const int code = ::UnZipEx4(m_archivePath, m_workFolder, nullptr, skipped, entry ? written : nullptr, &relay);
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
    return ReplaceArchive(errors, [&](const wchar_t* archive) { return ::ZipEntryList(entries, count, archive); });
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
    if (!flushed || !MoveFileExW(temporary.c_str(), m_archivePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD reason = GetLastError();
        DeleteFileW(temporary.c_str());
        // A package that another program holds open refuses to be replaced as "access
        // denied": say that it is in use, which the user can do something about.
        if (reason == ERROR_ACCESS_DENIED) {
            t_autoCloseFile probe(CreateFileW(m_archivePath, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
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
