// Helper process for the user manager tests: "set-current <install folder> <backup number>
// <user id>" initialises a user manager on the accounts folder of that backup number,
// makes the user current and saves the accounts file, as another input-method process
// would. Exit code 0 on success, 1 on failure, 2 for bad usage.
#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "foundation/config/runtime.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/shared_versions.h"

static int Run(int argc, wchar_t** argv)
{
    if (argc != 5 || wcscmp(argv[1], L"set-current") != 0)
        return 2;
    t_errorChain errors;
    t_runtime::Instance()->SetInstallDirSource(argv[2]);
    if (!t_versionReg::Init(errors))
        return 1;
    UserManager manager;
    if (!manager.Init(errors, true, _wtoi(argv[3])))
        return 1;
    UserManager::t_locker locker;
    if (!locker.Lock(errors, manager))
        return 1;
    manager.AccFile().SetCurrentUserId(_wtoi(argv[4]));
    return manager.AccFile().Save(errors, false) ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
