#include "foundation/config/runtime.h"

#include <shlobj.h>

#include <cwchar>

#include "foundation/config/config_runtime_file.h"
#include "foundation/core/exe_path.h"
#include "foundation/files/file.h"
#include "foundation/win/file_version.h"
#include "foundation/files/path.h"
#include "foundation/win/reg.h"
#include "foundation/win/scoped_win.h"
#include "foundation/win/security.h"
#include "foundation/win/share_mem.h"
#include "foundation/core/singleton.h"
#include "foundation/core/version_text.h"

namespace {

const wchar_t c_installKey[] = L"Software\\VexilInput";
const wchar_t c_installVersionPart[] = L"6.8.0.0000";

// True for the local system account, and when the token cannot be read at all.
bool RunsAsSystemAccount()
{
    t_autoCloseHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out()))
        return true;
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER))
        return true;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return true;
    const TOKEN_USER* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameChars = 256;
    DWORD domainChars = 256;
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, user->User.Sid, name, &nameChars, domain, &domainChars, &use))
        return false;
    return _wcsicmp(name, L"SYSTEM") == 0 && _wcsicmp(domain, L"NT AUTHORITY") == 0;
}

bool EndsWithNoCase(const t_str& text, const wchar_t* tail)
{
    const int n = text.Length();
    const int m = static_cast<int>(wcslen(tail));
    return n >= m && _wcsicmp(text.c_str() + (n - m), tail) == 0;
}

bool Contains(const t_str& text, const wchar_t* part) { return part && wcsstr(text.c_str(), part) != nullptr; }

}  // namespace

void t_runtimeItem::SetResText(const wchar_t* text)
{
    for (int i = 0; i < c_resBytes; ++i)
        res[i] = 0;
    for (int i = 0; text && i < c_resBytes && text[i]; ++i)
        res[i] = static_cast<uint8_t>(text[i] - L'0');
}

t_runtime::t_runtime() { wcscpy(m_perUser, L"0000"); }

t_runtime* t_runtime::Instance() { return ImmSingleton<t_runtime>::Instance("t_runtime"); }

t_runtime* GetRuntime() { return t_runtime::Instance(); }

HMODULE t_runtime::FindModule(const wchar_t* name) const { return name && name[0] ? GetModuleHandleW(name) : nullptr; }

bool t_runtime::GetCompanyName(t_str& out) const
{
    t_fileVersionInfo info;
    t_str company;
    if (!info.Load(m_modulePath.c_str()) || !info.GetString(L"CompanyName", company) || company.Length() <= 2)
        return false;
    out = company;
    return true;
}

bool t_runtime::CommandLineContains(const wchar_t* text) const { return Contains(m_commandLineLower, text); }

bool t_runtime::GetModuleVersion(uint16_t out[4]) const { return GetFileVersion(m_modulePath.c_str(), out); }

bool t_runtime::GetRuntimeIniPath(t_errorChain& errors, t_str& out) const
{
    if (m_installDir.IsEmpty())
        return errors.Fail(L"安装路径未知，找不到runtime.ini");
    t_path path(m_installDir);
    path.AppendPart(L"runtime.ini");
    out = path;
    return true;
}

bool t_runtime::PathContains(const wchar_t* text) const { return Contains(m_modulePath, text); }

void t_runtime::SetInstallDirSource(const wchar_t* folder)
{
    m_lookupMode = e_lookupProgramFolder;
    m_installSource.Assign(folder ? folder : L"");
}

bool t_runtime::FindInstallDirInRegistry(t_errorChain& errors)
{
    t_reg reg(HKEY_LOCAL_MACHINE);
    wchar_t text[MAX_PATH];
    if (!reg.Open(errors, c_installKey, false, false) || !reg.QueryString(errors, nullptr, text, MAX_PATH))
        return false;
    if (!text[0]) {
        errors.NewLine().AppendText(L"注册表中的安装路径为空：").AppendText(reg.PathText().c_str());
        return false;
    }
    t_path folder(text);
    folder.AppendPart(c_installVersionPart);
    m_installDir = folder;
    return true;
}

bool t_runtime::FindInstallDir(t_errorChain& errors)
{
    m_installDir.Clear();
    t_path source;
    if (m_lookupMode == e_lookupProgramFolder) {
        source = m_installSource;
        if (source.IsEmpty()) {
            t_path exe;
            if (GetExePath(exe))
                exe.GetFolder(source);
        }
        if (!source.IsEmpty() && source.IsDirectory()) {
            m_installDir = source;
            return true;
        }
    }
    if (FindInstallDirInRegistry(errors))
        return true;
    if (m_lookupMode == e_lookupProgramFolder)
        AppendPathError(errors.NewLine(), L"程序所在的文件夹不存在", source.c_str());
    errors.NewLine().AppendText(L"查找安装路径出错");
    return false;
}

bool t_runtime::FindTempDir(t_errorChain& errors)
{
    m_tempDir.Clear();
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, buffer);
    if (n == 0 || n >= MAX_PATH) {
        errors.NewLine().Format(L"查找系统临时目录出错:%u", static_cast<unsigned>(GetLastError()));
        return false;
    }
    m_tempDir.AssignN(buffer, static_cast<int>(n));
    if (m_tempDir.CharAt(m_tempDir.Length() - 1) == L'\\')
        m_tempDir.Truncate(m_tempDir.Length() - 1);
    return true;
}

void t_runtime::FindOsFlags()
{
    OSVERSIONINFOW version;
    const DWORD major = GetOsVersion(version) ? version.dwMajorVersion : 0;
    const DWORD minor = major ? version.dwMinorVersion : 0;
    m_vista = 0;
    m_browserHost = 0;
    m_win8 = 0;
    if (major < 6)
        return;
    m_vista = 1;
    t_str exe;
    m_browserHost = GetExePath(exe, 1024) && EndsWithNoCase(exe, L"iexplore.exe");
    m_win8 = major > 6 || minor > 1;
}

bool t_runtime::FindAppDataDir(t_errorChain& errors)
{
    m_appDataDir.Clear();
    wchar_t buffer[MAX_PATH];
    HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(hr))
        hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, buffer);
    if (FAILED(hr)) {
        errors.NewLine().AppendText(L"获取用户文件夹错误");
        return false;
    }
    buffer[MAX_PATH - 1] = 0;
    m_appDataDir.Assign(buffer);
    // A profile carried over from Windows XP: its roaming folder has the newer name.
    const wchar_t c_xpName[] = L"Application Data";
    const int slash = m_appDataDir.ReverseFindBackslash();
    if (m_vista && slash >= 0 && wcscmp(m_appDataDir.c_str() + slash + 1, c_xpName) == 0) {
        m_appDataDir.Truncate(slash);
        m_appDataDir.Append(L"\\AppData\\Roaming");
    }
    return true;
}

t_userDataChoice SelectUserDataDir(const wchar_t* roamingFolder, bool win8, t_str& out)
{
    out.Assign(roamingFolder);
    t_path roaming(roamingFolder);
    t_str parent;
    if (!roaming.GetFolder(parent))
        return e_userDataBadFolder;
    static const wchar_t* const c_candidates[] = {L"LocalLow", L"Roaming", L"Local"};
    for (const wchar_t* name : c_candidates) {
        t_path candidate(parent);
        candidate.AppendPart(name);
        // From Windows 8 on the low-integrity folder is taken even before it exists.
        if (win8 || candidate.IsDirectory()) {
            out = candidate;
            return e_userDataFound;
        }
    }
    return e_userDataNone;
}

bool t_runtime::FindUserDataDir(t_errorChain& errors)
{
    m_userDataDir = m_appDataDir;
    if (!m_vista)
        return true;
    switch (SelectUserDataDir(m_appDataDir.c_str(), m_win8 != 0, m_userDataDir)) {
    case e_userDataFound:
        return true;
    case e_userDataNone:
        m_vista = 0;
        m_browserHost = 0;
        return true;
    case e_userDataBadFolder:
        break;
    }
    errors.NewLine().AppendText(L"获取用户文件夹错误(格式错误): ").AppendText(m_appDataDir.c_str());
    return false;
}

bool t_runtime::FindProcessNames(t_errorChain& errors)
{
    const wchar_t* commandLine = GetCommandLineW();
    m_commandLine.Assign(commandLine ? commandLine : L"");
    m_commandLineLower = m_commandLine;
    m_commandLineLower.ToLowerAscii();
    m_exeName.Clear();
    if (!GetExePath(m_modulePath)) {
        errors.NewLine().AppendText(L"调用GetModuleFileName()失败");
        return false;
    }
    m_modulePath.ToLowerAscii();
    int cut = m_modulePath.Length();
    while (cut > 0 && m_modulePath.CharAt(cut - 1) != L'\\' && m_modulePath.CharAt(cut - 1) != L'/')
        --cut;
    m_exeName.Assign(m_modulePath.c_str() + cut);
    return true;
}

void t_runtime::ProbeWriteAccess()
{
    m_restricted = 0;
    if (!m_win8)
        return;
    // An app container cannot write below the user data folder: that is what marks it.
    t_errorChain ignored;
    t_path folder(m_userDataDir);
    folder.AppendPart(L"DezadIr");
    folder.CreateDirectoryTree(ignored, false);
    t_path probe(folder);
    probe.AppendPart(L"metro.txt");
    t_file file;
    if (!file.Open(ignored, probe.c_str(), t_file::e_append))
        m_restricted = 1;
    file.Close();
}

bool ReadRuntimeItems(const wchar_t* path, std::vector<t_runtimeItem>& items)
{
    items.clear();
    t_configRuntimeFile file(true);
    if (!file.Load(path))
        return false;
    // No more items than were read and no more than the file's own count claims.
    int count = file.item.ItemCount();
    const int claimed = file.setting.cnt.Get();
    if (claimed < count)
        count = claimed < 0 ? 0 : claimed;
    items.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const t_configRuntimeFile::t_item* source = file.item.Item(i);
        t_runtimeItem& target = items[static_cast<size_t>(i)];
        target.process.Assign(source->process.Get());
        target.type = source->type.Get();
        target.company.Assign(source->company.Get());
        target.version.Assign(source->version.Get());
        target.SetResText(source->res.Get());
    }
    return true;
}

void t_runtime::LoadRuntimeIni()
{
    t_errorChain ignored;
    t_str text;
    if (!GetRuntimeIniPath(ignored, text))
        return;
    t_path path(text);
    std::vector<t_runtimeItem> items;
    if (path.IsFile() && ReadRuntimeItems(path.c_str(), items))
        ApplyRuntimeItems(items);
}

bool t_runtime::MatchesItem(const t_runtimeItem& item) const
{
    const wchar_t* process = item.process.c_str();
    bool matched = false;
    switch (item.type) {
    case 0:
        matched = true;
        break;
    case 1:
        matched = Contains(m_commandLineLower, process);
        break;
    case 2:
        matched = m_exeName.EqualsNoCase(process);
        break;
    case 3:
        matched = Contains(m_exeName, process);
        break;
    case 4:
        matched = FindModule(process) != nullptr;
        break;
    default:
        break;
    }
    if (!matched)
        return false;
    if (!item.company.IsEmpty()) {
        t_str company;
        if (!GetCompanyName(company) || !company.EqualsNoCase(item.company.c_str()))
            return false;
    }
    if (!item.version.IsEmpty()) {
        uint16_t version[4];
        if (GetModuleVersion(version) && !MatchVersionPattern(item.version.c_str(), version))
            return false;
    }
    return true;
}

void t_runtime::ApplyRuntimeItems(const std::vector<t_runtimeItem>& items)
{
    for (const t_runtimeItem& item : items) {
        if (!MatchesItem(item))
            continue;
        for (int i = 0; i < c_resBytes; ++i) {
            if (m_res[i] == 0 && item.res[i] != 0)
                m_res[i] = item.res[i];
        }
    }
}

bool t_runtime::Init(t_errorChain& errors)
{
    if (m_initialised)
        return true;
    // A failed run leaves partial results behind: every field is filled afresh.
    for (uint8_t& b : m_res)
        b = 0;
    m_folderHash[0] = 0;

    m_cleanBoot = GetSystemMetrics(SM_CLEANBOOT) != 0;
    m_systemAccount = RunsAsSystemAccount();
    const bool installOk = FindInstallDir(errors);
    const bool tempOk = FindTempDir(errors);
    FindOsFlags();
    const bool appDataOk = FindAppDataDir(errors);
    const bool userDataOk = appDataOk && FindUserDataDir(errors);
    if (userDataOk) {
        FormatFolderHash(m_userDataDir.c_str(), m_folderHash);
        n_shareName::SetFolderHash(m_folderHash);
    }
    wcscpy(m_perUser, L"0000");
    const bool namesOk = FindProcessNames(errors);
    ProbeWriteAccess();
    LoadRuntimeIni();

    if (installOk && tempOk && appDataOk && userDataOk && namesOk) {
        m_initialised = 1;
        return true;
    }
    return errors.Fail(L"t_runtime初始化失败");
}

bool t_runtime::UseTopmostUi() const
{
    if (m_win8 && m_restricted)
        return false;
    if (m_res[4] != 0)
        return m_res[4] == 1;
    return m_res[3] == 1 || m_restricted || m_res[2] != 1;
}

bool t_runtime::DwmComposition()
{
    if (m_dwmComposition < 0)
        m_dwmComposition = IsDwmCompositionEnabled() ? 1 : 0;
    return m_dwmComposition != 0;
}

bool IsDwmCompositionEnabled()
{
    HMODULE dwm = GetModuleHandleW(L"dwmapi.dll");
    if (!dwm) {
        const t_runtime* runtime = GetRuntime();
        if (!runtime || !runtime->IsVistaOrLater())
            return false;
        // Loaded from the system folder by full path, never from the search path.
        wchar_t path[MAX_PATH + 16];
        const UINT n = GetSystemDirectoryW(path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return false;
        wcscpy(path + n, L"\\dwmapi.dll");
        dwm = LoadLibraryW(path);
        if (!dwm)
            return false;
    }
    typedef HRESULT(WINAPI * t_isCompositionEnabled)(BOOL*);
    const t_isCompositionEnabled isEnabled = reinterpret_cast<t_isCompositionEnabled>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
    BOOL enabled = FALSE;
    return isEnabled && isEnabled(&enabled) == S_OK && enabled;
}

void FormatFolderHash(const wchar_t* text, wchar_t (&out)[17])
{
    uint32_t h = 0;
    for (const wchar_t* c = text ? text : L""; *c; ++c) {
        h = (h << 4) + static_cast<uint16_t>(*c);
        const uint32_t g = h & 0xf0000000u;
        if (g)
            h = (h ^ (g >> 24)) & ~g;
    }
    const int n = _snwprintf(out, 17, L"%x", static_cast<unsigned>(h));
    out[n >= 0 && n < 17 ? n : 0] = 0;
}
