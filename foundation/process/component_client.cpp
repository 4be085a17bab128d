#include "foundation/process/component_client.h"

#include <cwchar>

#include "foundation/config/ini_document.h"
#include "foundation/core/hash_map.h"
#include "foundation/core/version_text.h"
#include "foundation/files/path.h"
#include "foundation/process/process_launch.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/reg.h"

const wchar_t* const t_componentClient::c_managerKey = L"SoftWare\\VexilComponents";
const wchar_t* const t_componentClient::c_configFileName = L"ComponentConfig.ini";
const wchar_t* const t_componentClient::c_managerExeName = L"VexilComMgr.exe";
const wchar_t* const t_componentClient::c_suggListFileName = L"SuggList.ini";
const wchar_t* const t_componentClient::c_noVersion = L"1.0.0.0";

const t_componentClient::t_component t_componentClient::c_components[5] = {
    {L"HandInput", L"vexil.handinput", L"VexilHandInput.Component"},
    {L"ScreenCapture", L"vexil.screencapture", L"VexilScreenCapture.Component"},
    {L"MouseGesture", L"vexil.mousegesture", L"VexilMouseGesture.Component"},
    {L"SkinBox", L"vexil.skinbox", L"VexilSkinBox.Component"},
    {L"Flash", L"vexil.flash", L"VexilFlash.Component"},
};

namespace {

const unsigned c_codePage = 936;
const int c_showMode = 5;  // SW_SHOW
const size_t c_pathChars = MAX_PATH;

bool CopyToBuffer(const t_str& text, wchar_t* out, size_t size)
{
    if (!out || static_cast<size_t>(text.Length()) + 1 > size)
        return false;
    wmemcpy(out, text.c_str(), static_cast<size_t>(text.Length()) + 1);
    return true;
}

// The manager folder joined with a file name.
bool JoinManagerFolder(t_errorChain& errors, const wchar_t* name, t_str& out)
{
    t_path path;
    if (!t_componentClient::GetManagerFolder(errors, path))
        return false;
    path.Join(name);
    out = path;
    return true;
}

bool ManagerFile(const wchar_t* name, t_str& out)
{
    t_errorChain ignored;
    return JoinManagerFolder(ignored, name, out);
}

// A path getter's answer copied into a caller's buffer.
bool CopyPath(bool (*get)(t_errorChain&, t_str&), wchar_t* out, size_t size)
{
    t_errorChain ignored;
    t_str path;
    return get(ignored, path) && CopyToBuffer(path, out, size);
}

// Reads an encrypted INI file in code page 936; reading errors stay here.
bool ReadIni(t_iniDocument& document, const wchar_t* path)
{
    t_errorChain ignored;
    return path && *path && document.ReadConfig(ignored, path, c_codePage);
}

int CountOf(const t_iniDocument& document, const wchar_t* section)
{
    const wchar_t* count = document.GetValue(section, L"count");
    return count ? static_cast<int>(wcstol(count, nullptr, 10)) : 0;
}

void BundleSectionName(int index, wchar_t (&out)[64]) { _snwprintf(out, 64, L"bundle%d", index), out[63] = 0; }

// The first installed bundle section, with "id" and "version", whose id matches.
bool FindInstalledBundle(const t_iniDocument& config, const wchar_t* bundleId, wchar_t (&section)[64])
{
    if (!bundleId)
        return false;
    const int count = CountOf(config, L"system");
    for (int i = 0; i < count; ++i) {
        BundleSectionName(i, section);
        const wchar_t* id = config.GetValue(section, L"id");
        if (!id || !config.GetValue(section, L"version"))
            continue;
        if (_wcsicmp(id, bundleId) == 0)
            return true;
    }
    return false;
}

bool ReadConfigFile(t_iniDocument& config)
{
    t_str path;
    return ManagerFile(t_componentClient::c_configFileName, path) && ReadIni(config, path.c_str());
}

bool IsExistingFile(const t_str& path) { return !path.IsEmpty() && t_path(path).IsFile(); }

}  // namespace

const t_componentClient::t_component* t_componentClient::FindComponent(const wchar_t* name)
{
    for (const t_component& row : c_components)
        if (name && _wcsicmp(row.name, name) == 0)
            return &row;
    return nullptr;
}

bool t_componentClient::GetManagerFolder(t_errorChain& errors, t_str& out)
{
    t_reg key(HKEY_LOCAL_MACHINE);
    wchar_t folder[c_pathChars] = {};
    if (!key.Open(errors, c_managerKey, false, false) || !key.QueryString(errors, nullptr, folder, c_pathChars)) {
        errors.AddText(L"查找安装路径出错");
        return false;
    }
    out.Assign(folder);
    return true;
}

bool t_componentClient::GetConfigPath(t_errorChain& errors, t_str& out)
{
    return JoinManagerFolder(errors, c_configFileName, out);
}

bool t_componentClient::GetManagerExe(t_errorChain& errors, t_str& out)
{
    return JoinManagerFolder(errors, c_managerExeName, out);
}

bool t_componentClient::GetManagerFolder(wchar_t* out, size_t size) { return CopyPath(GetManagerFolder, out, size); }

bool t_componentClient::GetConfigPath(wchar_t* out, size_t size) { return CopyPath(GetConfigPath, out, size); }

bool t_componentClient::GetManagerExe(wchar_t* out, size_t size) { return CopyPath(GetManagerExe, out, size); }

bool t_componentClient::GetBundleFolder(const wchar_t* bundleId, wchar_t* out, size_t size)
{
    t_iniDocument config(true);
    wchar_t section[64];
    if (!ReadConfigFile(config) || !FindInstalledBundle(config, bundleId, section))
        return false;
    const wchar_t* folder = config.GetValue(section, L"folder");
    t_str managerFolder;
    t_errorChain ignored;
    if (!folder || !GetManagerFolder(ignored, managerFolder))
        return false;
    t_str text;
    text.Format(L"%s\\%s\\%s", managerFolder.c_str(), folder, config.GetValue(section, L"version"));
    return CopyToBuffer(text, out, size);
}

bool t_componentClient::GetBundleVersion(const wchar_t* bundleId, wchar_t* out, size_t size)
{
    t_iniDocument config(true);
    wchar_t section[64];
    if (!ReadConfigFile(config) || !FindInstalledBundle(config, bundleId, section))
        return false;
    return CopyToBuffer(t_str(config.GetValue(section, L"version")), out, size);
}

bool t_componentClient::StartManager(const t_str& command, bool wait)
{
    t_str exe;
    if (!ManagerFile(c_managerExeName, exe))
        return false;
    t_errorChain ignored;
    const wchar_t* parameters = command.IsEmpty() ? nullptr : command.c_str();
    if (wait) {
        DWORD exitCode = 0;
        return RunAndWait(ignored, exe.c_str(), exitCode, nullptr, parameters, L"*", c_showMode);
    }
    return ShellOpen(ignored, exe.c_str(), nullptr, parameters, L"*", c_showMode);
}

bool t_componentClient::InvokeByName(const wchar_t* name)
{
    const t_component* component = FindComponent(name);
    if (!component)
        return false;
    Invoke(component->bundleId, component->comName, false, nullptr, true);
    return true;
}

bool t_componentClient::Invoke(const wchar_t* bundleId, const wchar_t* comName, bool wait, const wchar_t* parameter,
                               bool uwr)
{
    t_str folder;
    t_errorChain ignored;
    if (!GetManagerFolder(ignored, folder))
        return false;
    t_str command;
    command.Format(L"-invoke %s %s", bundleId ? bundleId : L"", comName ? comName : L"");
    if (uwr)
        command.Append(L" -uwr");
    if (parameter && *parameter)
        command.AppendFormat(L" -param \"%s\"", parameter);
    StartManager(command, wait);
    return true;
}

bool t_componentClient::Retrieve(const wchar_t* name, bool url, HWND notifyWindow, bool silent, bool background)
{
    const t_component* component = FindComponent(name);
    const wchar_t* bundleId = component ? component->bundleId : (name ? name : L"");
    t_str folder;
    t_errorChain ignored;
    if (!GetManagerFolder(ignored, folder))
        return false;
    wchar_t version[c_pathChars];
    if (!GetBundleVersion(bundleId, version, c_pathChars))
        wcscpy(version, c_noVersion);
    t_str command;
    command.Format(L"%s %s %s", url ? L"-retrieveurl" : L"-retrieve", bundleId, version);
    if (silent)
        command.Append(L" -silent");
    if (notifyWindow)
        command.AppendFormat(L" -notifywnd %08x", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(notifyWindow)));
    if (background)
        command.Append(L" -background");
    return StartManager(command, false);
}

bool t_componentClient::Install(const wchar_t* packagePath, bool silent, bool wait)
{
    t_str folder;
    t_errorChain ignored;
    if (!GetManagerFolder(ignored, folder))
        return false;
    // Quoted, so that a package path with blanks stays one argument.
    t_str command;
    command.Format(L"-install \"%s\" -overwrite", packagePath ? packagePath : L"");
    if (silent)
        command.Append(L" -silent");
    StartManager(command, wait);
    return true;
}

void t_componentClient::LaunchManager() { StartManager(t_str(), false); }

const wchar_t* t_componentClient::GetSuggListPath()
{
    static wchar_t s_path[c_pathChars];
    s_path[0] = 0;
    t_str path;
    if (UserManager* users = UserManager::Instance()) {
        t_str userFolder;
        if (users->GetUserDirText(userFolder, users->GetCurrentUserId()))
            path.Format(L"%s\\Components\\%s", userFolder.c_str(), c_suggListFileName);
    }
    if (!IsExistingFile(path)) {
        t_str folder;
        t_errorChain ignored;
        path.Clear();
        if (GetManagerFolder(ignored, folder))
            path.Format(L"%s\\%s", folder.c_str(), c_suggListFileName);
    }
    if (IsExistingFile(path))
        CopyToBuffer(path, s_path, c_pathChars);
    return s_path;
}

void t_componentClient::CompareSuggList(std::vector<t_str>& older, std::vector<t_str>& missing)
{
    t_iniDocument suggestions(true);
    if (!ReadIni(suggestions, GetSuggListPath()))
        return;
    // Suggested and installed bundles, id -> version; keys and values live in the documents.
    t_hashMap suggested;
    t_hashMap installed;
    suggested.Rehash(17);
    installed.Rehash(17);
    const int suggestedCount = CountOf(suggestions, L"MODULE");
    std::vector<const wchar_t*> order;
    for (int i = 0; i < suggestedCount; ++i) {
        wchar_t section[64];
        BundleSectionName(i, section);
        const wchar_t* id = suggestions.GetValue(section, L"id");
        if (!id)
            break;
        bool inserted = false;
        t_wideKeyNode* node = suggested.FindOrInsert(id, &inserted);
        if (node && inserted) {
            node->value = const_cast<wchar_t*>(suggestions.GetValue(section, L"version"));
            order.push_back(id);
        }
    }
    t_iniDocument config(true);
    if (ReadConfigFile(config)) {
        const int count = CountOf(config, L"system");
        for (int i = 0; i < count; ++i) {
            wchar_t section[64];
            BundleSectionName(i, section);
            const wchar_t* id = config.GetValue(section, L"id");
            const wchar_t* version = config.GetValue(section, L"version");
            bool inserted = false;
            t_wideKeyNode* node = id && version ? installed.FindOrInsert(id, &inserted) : nullptr;
            if (node && inserted)
                node->value = const_cast<wchar_t*>(version);
        }
    }
    for (const wchar_t* id : order) {
        const t_wideKeyNode* node = installed.Find(id);
        if (!node) {
            missing.push_back(t_str(id));
            continue;
        }
        const wchar_t* wanted = static_cast<const wchar_t*>(suggested.Find(id)->value);
        if (CompareVersionText(static_cast<const wchar_t*>(node->value), wanted ? wanted : L"", 4) < 0)
            older.push_back(t_str(id));
    }
}

int t_componentClient::SuggestionState(const wchar_t* bundleId)
{
    std::vector<t_str> older;
    std::vector<t_str> missing;
    CompareSuggList(older, missing);
    for (const t_str& id : older)
        if (bundleId && id.EqualsNoCase(bundleId))
            return 1;
    for (const t_str& id : missing)
        if (bundleId && id.EqualsNoCase(bundleId))
            return 2;
    return 0;
}
