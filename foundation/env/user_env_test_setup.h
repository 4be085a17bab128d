// Start-up shared by the user environment's test and its helper process: both must see the
// same user folders and the same named objects, and no other test program's.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/config/runtime.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/share_mem.h"
#include "foundation/win/shared_versions.h"

// The runtime over installFolder, then folderHash for every mapping and counter name (the
// runtime would otherwise set the profile's own), the version registry, the mapping lock
// and the user manager on the accounts folder of backup number accountsNumber.
inline bool InitUserEnvTestProcess(t_errorChain& errors, const wchar_t* installFolder, const wchar_t* folderHash,
                                   int accountsNumber)
{
    t_runtime::Instance()->SetInstallDirSource(installFolder);
    if (!t_runtime::Instance()->Init(errors))
        return false;
    n_shareName::SetFolderHash(folderHash);
    UserManager* manager = UserManager::Instance();
    return t_versionReg::Init(errors) && t_filemap::Init(errors) && manager &&
           manager->Init(errors, true, accountsNumber);
}
