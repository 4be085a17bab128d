// The Flash component as the component manager installs it, for tests: the manager's
// folder named by its registry value, its configuration naming the Flash bundle, and in the
// bundle folder the stand-in library and "VexilFlash.exe" when asked for.
#pragma once

#include <windows.h>

#include <string>

#include "foundation/config/ini_document.h"
#include "foundation/process/component_client.h"
#include "foundation/win/reg.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

// The manager's folder is manager; the bundle lands in manager\Flash\1.0. False when a part
// could not be written.
inline bool InstallFlashBundle(const std::wstring& manager, bool library, bool exe)
{
    const std::wstring bundle = manager + L"\\Flash\\1.0";
    for (const std::wstring& folder : {manager, manager + L"\\Flash", bundle})
        CreateDirectoryW(folder.c_str(), nullptr);
    t_iniDocument config(true);
    config.SetValue(L"system", L"count", L"1");
    config.SetValue(L"bundle0", L"id", L"VexilFlashBundle");
    config.SetValue(L"bundle0", L"version", L"1.0");
    config.SetValue(L"bundle0", L"folder", L"Flash");
    t_errorChain errors;
    t_reg key(HKEY_LOCAL_MACHINE);
    if (!config.WriteConfig(errors, (manager + L"\\ComponentConfig.ini").c_str()) ||
        !key.Open(errors, t_componentClient::c_managerKey, true, true) ||
        !key.SetString(errors, manager.c_str(), nullptr))
        return false;
    if (library &&
        !CopyFileW((ExeFolder() + L"\\VexilFlashDll.dll").c_str(), (bundle + L"\\VexilFlashDll.dll").c_str(), FALSE))
        return false;
    return !exe || WriteRaw(bundle + L"\\VexilFlash.exe", std::string("stand-in"));
}
