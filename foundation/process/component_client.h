// The program's side of the maker's component manager: the manager's folder from the
// registry, bundle lookups in its configuration file, the manager's command lines (invoke a
// component, retrieve or install a bundle) and the comparison of suggested bundles with the
// installed ones. Every function uses its own error chain; failures are a false result (or
// an empty text) and leave output buffers untouched.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

class t_componentClient {
public:
    // HKEY_LOCAL_MACHINE key whose default value is the manager's folder.
    static const wchar_t* const c_managerKey;
    static const wchar_t* const c_configFileName;    // "ComponentConfig.ini"
    static const wchar_t* const c_managerExeName;    // "VexilComMgr.exe"
    static const wchar_t* const c_suggListFileName;  // "SuggList.ini"
    // The version sent for a bundle that is not installed.
    static const wchar_t* const c_noVersion;  // "1.0.0.0"

    // One row of the component table: the components the program knows by name.
    struct t_component {
        const wchar_t* name;
        const wchar_t* bundleId;
        const wchar_t* comName;
    };
    static const t_component c_components[5];
    // The row whose name matches (ignoring case), or null.
    static const t_component* FindComponent(const wchar_t* name);

    // The manager's folder; failure to open the key or read the value adds "查找安装路径出错".
    static bool GetManagerFolder(t_errorChain& errors, t_str& out);
    static bool GetConfigPath(t_errorChain& errors, t_str& out);
    static bool GetManagerExe(t_errorChain& errors, t_str& out);
    // Buffer forms of the three: the path copied into out (size characters); false when it
    // does not fit.
    static bool GetManagerFolder(wchar_t* out, size_t size);
    static bool GetConfigPath(wchar_t* out, size_t size);
    static bool GetManagerExe(wchar_t* out, size_t size);

    // "<manager folder>\<folder>\<version>" of the first bundle section (with "id" and
    // "version") whose id matches, ignoring case; false when it has no "folder" or the text
    // does not fit.
    static bool GetBundleFolder(const wchar_t* bundleId, wchar_t* out, size_t size);
    // The "version" of the first bundle section whose id matches, ignoring case.
    static bool GetBundleVersion(const wchar_t* bundleId, wchar_t* out, size_t size);

    // Invokes a component of the table by name, without waiting, with " -uwr"; false only
    // for a name not in the table.
    static bool InvokeByName(const wchar_t* name);
    // "-invoke <bundle> <com>[ -uwr][ -param "<parameter>"]"; false only when the manager's
    // folder is unknown.
    static bool Invoke(const wchar_t* bundleId, const wchar_t* comName, bool wait, const wchar_t* parameter, bool uwr);
    // "-retrieve[url] <bundle> <installed version or 1.0.0.0>[ -silent][ -notifywnd %08x]
    // [ -background]" without waiting; a table name stands for its bundle id. The result of
    // the start.
    static bool Retrieve(const wchar_t* name, bool url, HWND notifyWindow, bool silent, bool background);
    // "-install "<package>" -overwrite[ -silent]"; true when the manager was found.
    static bool Install(const wchar_t* packagePath, bool silent, bool wait);
    // Starts the manager without arguments.
    static void LaunchManager();

    // The suggestion list: the current user's "Components\SuggList.ini", else the manager
    // folder's "SuggList.ini"; empty when neither exists. One process-wide buffer.
    static const wchar_t* GetSuggListPath();
    // Suggested bundles that are installed in an older version (older) or not at all
    // (missing); both stay empty without a suggestion list.
    static void CompareSuggList(std::vector<t_str>& older, std::vector<t_str>& missing);
    // 1 when the bundle is in CompareSuggList's older list, 2 when in its missing list, else 0.
    static int SuggestionState(const wchar_t* bundleId);

private:
    // Starts the manager with a command text: ShellOpen, or RunAndWait when waiting, in the
    // manager's own folder with show mode 5.
    static bool StartManager(const t_str& command, bool wait);
};
