#include "foundation/users/user_manager.h"

#include <cwchar>

#include "foundation/files/path.h"
#include "foundation/core/perf.h"
#include "foundation/config/runtime.h"
#include "foundation/core/singleton.h"
#include "foundation/win/shared_versions.h"

namespace {

const wchar_t c_usersRootName[] = L"DezadIR";
const wchar_t c_accountsName[] = L"DezadIR.users";
const wchar_t c_accFileName[] = L"acc.dat";
const wchar_t c_userDataName[] = L"user.dat";

// The fixed key of "acc.dat"; every reader and writer of the accounts shares it.
const unsigned char c_accountsKey[UserFile::c_keySize] = {0x3c, 0x91, 0x5e, 0x07, 0xd2, 0x6a, 0xb8, 0x14,
                                                          0x4f, 0xe3, 0x29, 0x80, 0x75, 0x1b, 0xc6, 0x5d};

}  // namespace

UserManager::UserManager()
    : m_backup(false), m_backupNumber(-1), m_accLoaded(false), m_initialised(false), m_currentUserIndex(-1)
{
    m_installDir[0] = m_usersRoot[0] = m_accountsDir[0] = 0;
}

UserManager::~UserManager() = default;

UserManager* UserManager::Instance() { return ImmSingleton<UserManager>::Instance("UserManager"); }

bool UserManager::Init(t_errorChain& errors, bool backup, int backupNumber)
{
    m_backup = backup;
    m_backupNumber = backupNumber;
    if (!m_section.Create(errors, L"Local\\vired_user_lock_proc") || !m_mutex.Create(errors, L"Local\\vired_user_lock"))
        return errors.Fail(L"UserManager初始化失败");
    t_locker locker;
    if (!locker.Lock(errors, *this))
        return errors.Fail(L"UserManager初始化失败");
    if (m_initialised)
        return true;
    t_runtime* runtime = t_runtime::Instance();
    if (!runtime)
        return errors.Fail(L"UserManager初始化失败");
    if (!runtime->IsInitialised() && !runtime->Init(errors))
        return false;
    if (!BuildFolders(errors))
        return false;
    if (!LoadAccounts(errors, true) || !LoadCurrentUserData(errors))
        return false;
    m_initialised = true;
    return true;
}

bool UserManager::BuildFolders(t_errorChain& errors)
{
    const t_runtime* runtime = t_runtime::Instance();
    const wchar_t* data = runtime->GetUserDataDir().c_str();
    bool ok = FormatPath(m_installDir, L"%s", runtime->GetInstallDir().c_str()) &&
              FormatPath(m_usersRoot, L"%s\\%s", data, c_usersRootName);
    if (ok && m_backup)
        ok = FormatPath(m_accountsDir, L"%s\\%s.Backup%08x", data, c_accountsName, unsigned(m_backupNumber));
    else if (ok)
        ok = FormatPath(m_accountsDir, L"%s\\%s", data, c_accountsName);
    if (!ok) {
        errors.NewLine().AppendText(L"用户目录路径过长：").AppendText(data);
        return errors.Fail(L"UserManager初始化失败");
    }
    return true;
}

bool UserManager::PrepareAccFile(t_errorChain& errors, const t_str& accPath)
{
    const t_path folder(m_accountsDir);
    if (folder.IsFile())
        return errors.Fail(L"账户目录创建失败:无法创建上级目录");
    if (!folder.IsDirectory()) {
        t_errorChain ignored;
        folder.CreateDirectoryTree(ignored, false);
    }
    if (t_path(accPath).IsFile())
        return true;
    UserAccFile empty;
    empty.SetPath(accPath.c_str());
    empty.SetKey(c_accountsKey);
    empty.SetCurrentUserId(0);
    if (!empty.Save(errors, false)) {
        errors.AddText(L"UserManager::PrepareAccFile");
        return false;
    }
    return true;
}

bool UserManager::LoadAccounts(t_errorChain& errors, bool retry)
{
    m_accLoaded = false;
    t_str accPath;
    GetAccFilePath(accPath);
    if (!PrepareAccFile(errors, accPath)) {
        errors.NewLine().AppendText(L"用户账户文件创建失败：").AppendText(accPath.c_str());
        return false;
    }
    m_accFile.SetPath(accPath.c_str());
    m_accFile.SetKey(c_accountsKey);
    if (m_accFile.Load(errors, false)) {
        m_accLoaded = true;
        if (!m_backup)
            m_accFile.Snapshot();
        return true;
    }
    errors.NewLine().AppendText(L"用户账户文件加载失败：").AppendText(accPath.c_str());
    // Only a damaged file is repaired by starting afresh: a file that exists but could
    // not be read (held by another program) may be sound. The repair replaces the file
    // alone and keeps the lines as the report: the users' folders beside it hold their
    // data and are never deleted because of it.
    if (!retry || !m_accFile.WasDamaged())
        return false;
    // The damaged file is kept aside rather than deleted, so nothing is lost for good.
    t_str aside(accPath);
    aside.Append(L".damaged");
    if (!MoveFileExW(accPath.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(accPath.c_str());
    return LoadAccounts(errors, false);
}

bool UserManager::LoadCurrentUserData(t_errorChain& errors)
{
    m_dataFile.Link(&m_accFile, this);
    m_dataFile.SetActive(true);
    if (m_dataFile.Load(errors, false)) {
        m_dataFile.Snapshot();
        return true;
    }
    errors.AddText(L"当前用户数据加载失败");
    // As with the accounts: a data file that exists but cannot be read now is no reason
    // to drop the account.
    const int previous = m_accFile.GetCurrentUserId();
    if (previous > 0 && m_accFile.FindUser(previous) >= 0 && !m_dataFile.WasDamaged())
        return false;
    m_accFile.SetCurrentUserId(0);
    if (!m_accFile.Save(errors, false))
        return false;
    if (m_accFile.FindUser(previous) >= 0)
        return DeleteUser(errors, previous, true);
    return true;
}

int UserManager::GetCurrentUserId()
{
    PerfScope outer("GetCurrentUserId1");
    int id = 0;
    {
        PerfScope read("GetCurrentUserId2");
        t_errorChain errors;
        if (!ReadCurrentUserId(errors, id))
            id = 0;
    }
    PerfScope done("GetCurrentUserId3");
    return id;
}

bool UserManager::ReadCurrentUserId(t_errorChain& errors, int& id)
{
    id = 0;
    if (!m_section.IsCreated() && !m_section.Create(errors, L"Local\\vired_user_lock_proc"))
        return false;
    t_lockerProc locker;
    if (!locker.Lock(errors, *this))
        return false;
    // Without the shared registry no other process can announce a change: the loaded
    // file is then current. A failed check only means "no current user".
    t_errorChain check;
    const bool current = t_versionReg::IsOpen() ? m_accFile.CheckVersion(check, nullptr) : m_accFile.IsLoaded();
    if (current) {
        id = m_accFile.GetCurrentUserId();
        if (id == -1)
            id = 0;
    }
    return true;
}

bool UserManager::GetCheckedCurrentUserId(t_errorChain& errors, int& id)
{
    id = m_accFile.GetCurrentUserId();
    if (id == -1) {
        id = 0;
        return errors.Fail(L"账户文件错误:非法的当前用户名");
    }
    return true;
}

bool UserManager::GetUserDir(wchar_t* out, size_t size, int userId) const
{
    if (!out || size == 0)
        return false;
    int n = userId == 0 ? _snwprintf(out, size, L"%s", m_usersRoot)
                        : _snwprintf(out, size, L"%s\\%08x", m_accountsDir, unsigned(userId));
    // -1, or an exact fit without room for the terminator, does not fit.
    if (n < 0 || size_t(n) >= size) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool UserManager::GetUserDirText(t_str& out, int userId) const
{
    wchar_t buffer[MAX_PATH];
    if (!GetUserDir(buffer, MAX_PATH, userId))
        return false;
    out.Assign(buffer);
    return true;
}

bool UserManager::GetUserPath(t_str& out, int userId) const
{
    wchar_t buffer[MAX_PATH];
    if (!GetUserDir(buffer, MAX_PATH, userId))
        return false;
    out = t_path::Combine(buffer);
    return true;
}

bool UserManager::GetUserDataPath(t_str& out, int userId) const
{
    wchar_t buffer[MAX_PATH];
    if (!GetUserDir(buffer, MAX_PATH, userId))
        return false;
    out = t_path::Combine(buffer, c_userDataName);
    return true;
}

bool UserManager::GetAccFilePath(t_str& out) const
{
    out = t_path::Combine(m_accountsDir, c_accFileName);
    return true;
}

bool UserManager::GetInstallDir(t_str& out) const
{
    out.Assign(m_installDir);
    return true;
}

bool UserManager::FolderOfKind(int kind, int step, int userId, t_str& out) const
{
    bool install;
    switch (kind) {
    case e_installOnly:
        install = true;
        if (step > 0)
            return false;
        break;
    case e_installThenUser:
        install = step == 0;
        if (step > 1)
            return false;
        break;
    case e_userOnly:
        install = false;
        if (step > 0)
            return false;
        break;
    case e_userThenInstall:
        install = step == 1;
        if (step > 1)
            return false;
        break;
    default:
        return false;
    }
    if (install) {
        out.Assign(m_installDir);
        return true;
    }
    return GetUserDirText(out, userId);
}

bool UserManager::FindFile(t_errorChain& errors, int kind, t_str& name, int userId, bool mustExist,
                           const wchar_t* subfolder)
{
    if (kind < e_installOnly || kind > e_userThenInstall)
        return false;
    const int steps = (kind == e_installOnly || kind == e_userOnly) ? 1 : 2;
    for (int step = 0; step < steps; ++step) {
        t_str folder;
        if (!FolderOfKind(kind, step, userId, folder))
            return false;
        t_path candidate(folder);
        if (subfolder && subfolder[0])
            candidate.AppendPart(subfolder);
        candidate.AppendPart(name.c_str());
        if (!mustExist || candidate.IsFile()) {
            name = candidate;
            return true;
        }
    }
    errors.NewLine().AppendText(L"找不到文件: ").AppendText(name.c_str());
    return false;
}

bool UserManager::DeleteUser(t_errorChain& errors, int userId, bool force)
{
    if (userId == 0 || userId == -1)
        return true;
    if (!m_accLoaded)
        return errors.Fail(L"用户账户文件加载不成功");
    if (userId == m_accFile.GetCurrentUserId() && !force)
        return errors.Fail(L"不能删除当前用户");
    const int index = m_accFile.FindUser(userId);
    if (index < 0 || !m_accFile.RemoveAt(index))
        return errors.Fail(L"账户不存在");
    if (!m_accFile.Save(errors, false)) {
        errors.AddText(L"保存账户文件失败");
        t_errorChain reload;
        m_accLoaded = m_accFile.Load(reload, false);
        return false;
    }
    wchar_t folder[MAX_PATH];
    if (GetUserDir(folder, MAX_PATH, userId)) {
        if (force)
            DeleteFolderTreeAtReboot(folder);
        else
            DeleteFolderTree(folder);
    }
    return true;
}
