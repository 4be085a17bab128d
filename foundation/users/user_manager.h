// The user manager: lays out the input method's per-user folders, loads and repairs the
// accounts file "acc.dat", tells which user is current and resolves data files by name
// between a user's folder and the installation folder.
//
// Layout below the runtime's user data folder D:
//   D\DezadIR                      users root, the folder of the common user (id 0)
//   D\DezadIR.users\acc.dat        the accounts file
//   D\DezadIR.users\%08x\user.dat  each user's folder and data file
// In backup mode the accounts folder is D\DezadIR.users.Backup%08x (the backup number).
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"
#include "foundation/core/str.h"
#include "foundation/users/user_file.h"

class UserManager : public i_userLocator {
public:
    // Where UserManager::FindFile looks for a file.
    enum t_findKind {
        e_installOnly = 1,
        e_installThenUser = 2,
        e_userOnly = 3,
        e_userThenInstall = 4,
    };

    UserManager();
    ~UserManager();
    UserManager(const UserManager&) = delete;
    UserManager& operator=(const UserManager&) = delete;

    // The singleton "UserManager"; null only when memory runs out.
    static UserManager* Instance();

    // Lays out the folders, loads (and if need be repairs) the accounts file and the
    // current user's data, under the user data mutex. Later calls only take and release
    // the mutex. The editor passes backup off and number -1.
    bool Init(t_errorChain& errors, bool backup, int backupNumber);
    bool IsInitialised() const { return m_initialised; }

    // The current user id; 0 when none is set or it cannot be read.
    int GetCurrentUserId();
    // The current user id after reloading an accounts file that another process changed;
    // 0 when the accounts cannot be read. False only when the lock cannot be taken.
    bool ReadCurrentUserId(t_errorChain& errors, int& id);
    // The loaded accounts file's current user id; an invalid one (-1) gives 0, a message
    // and false.
    bool GetCheckedCurrentUserId(t_errorChain& errors, int& id) override;

    // The user whose skins and settings this process works with, recorded once at
    // start-up from GetCurrentUserId; -1 until then.
    void SetCurrentUserIndex(int userId) { m_currentUserIndex = userId; }
    int GetCurrentUserIndex() const { return m_currentUserIndex; }

    // The user's folder (no trailing separator): the users root for id 0, else the
    // accounts folder + "\" + the id as %08x. False when it does not fit in size.
    bool GetUserDir(wchar_t* out, size_t size, int userId) const;
    bool GetUserPath(t_str& out, int userId) const;
    bool GetUserDirText(t_str& out, int userId) const;
    // The user's "user.dat".
    bool GetUserDataPath(t_str& out, int userId) const override;
    bool GetAccFilePath(t_str& out) const;
    bool GetInstallDir(t_str& out) const;

    // Resolves name (in: a file name or relative path; out: the full path) for a user by
    // kind: the folders of the kind in order, each + subfolder (when given) + name; the
    // first candidate, or with mustExist the first that is an existing file. No candidate:
    // "找不到文件: " + name and false.
    bool FindFile(t_errorChain& errors, int kind, t_str& name, int userId, bool mustExist, const wchar_t* subfolder);

    // Removes a user's account and folder (with force: at the next restart; the current
    // user only with force). Ids 0 and -1 need nothing.
    bool DeleteUser(t_errorChain& errors, int userId, bool force);

    UserAccFile& AccFile() { return m_accFile; }
    UserCurrentDataFile& DataFile() { return m_dataFile; }
    bool AccountsLoaded() const { return m_accLoaded; }

    // Holds the mutex "Local\vired_user_lock" that serialises the desktop's processes
    // around initialisation and changes of the user data.
    class t_locker : public t_mutex::t_locker {
    public:
        bool Lock(t_errorChain& errors, UserManager& manager)
        {
            return t_mutex::t_locker::Lock(errors, manager.m_mutex);
        }
    };
    // Holds the in-process critical section around reads of the current user id.
    class t_lockerProc : public t_mutex::t_locker {
    public:
        bool Lock(t_errorChain& errors, UserManager& manager)
        {
            return t_mutex::t_locker::Lock(errors, manager.m_section);
        }
    };

private:
    bool BuildFolders(t_errorChain& errors);
    bool LoadAccounts(t_errorChain& errors, bool retry);
    bool PrepareAccFile(t_errorChain& errors, const t_str& accPath);
    bool LoadCurrentUserData(t_errorChain& errors);
    bool FolderOfKind(int kind, int step, int userId, t_str& out) const;

    bool m_backup;
    int m_backupNumber;
    UserAccFile m_accFile;
    bool m_accLoaded;
    UserCurrentDataFile m_dataFile;
    wchar_t m_installDir[MAX_PATH];
    wchar_t m_usersRoot[MAX_PATH];
    wchar_t m_accountsDir[MAX_PATH];
    bool m_initialised;
    int m_currentUserIndex;
    t_mutex m_mutex;
    t_criticalSection m_section;
};
