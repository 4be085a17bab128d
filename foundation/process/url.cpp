#include "foundation/process/url.h"

#include <cwchar>
#include <cwctype>

#include "foundation/files/path.h"
#include "foundation/process/process_launch.h"
#include "foundation/win/reg.h"

namespace {

const wchar_t c_browserKey[] = L"Software\\VexilExplorer";
const wchar_t c_browserExe[] = L"\\VexilExplorer.exe";
const int c_maxRegChars = 512;

const wchar_t* const c_allowedSchemes[] = {L"http", L"https", L"mailto"};

bool IsSchemeChar(wchar_t c) { return iswalnum(c) || c == L'+' || c == L'-' || c == L'.'; }

// The length of the link's scheme (before ':'), 0 when it has none. One letter before ':'
// is a drive, and a dotted name a host with its port, not a scheme.
int SchemeLength(const wchar_t* text)
{
    if (!iswalpha(text[0]))
        return 0;
    int i = 1;
    bool dotted = false;
    while (text[i] && IsSchemeChar(text[i])) {
        dotted = dotted || text[i] == L'.';
        ++i;
    }
    return text[i] == L':' && i >= 2 && !dotted ? i : 0;
}

// A registry text of at most 512 characters: REG_SZ or REG_EXPAND_SZ with an even byte count
// and its terminator.
bool ReadRegText(HKEY root, const wchar_t* subKey, const wchar_t* valueName, t_str& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[c_maxRegChars + 1];
    DWORD type = 0;
    DWORD bytes = sizeof(buffer);
    LONG status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || bytes % 2 != 0 || bytes < 2 ||
        buffer[bytes / 2 - 1] != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    out.Assign(buffer);
    return true;
}

// The command under a class's Shell key: its default verb's command, or "open"'s.
bool ShellCommandOf(HKEY root, const t_str& shellKey, t_str& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, shellKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    t_str verb;
    if (!ReadRegText(root, shellKey.c_str(), nullptr, verb) || verb.IsEmpty())
        verb.Assign(L"open");
    t_str commandKey(shellKey);
    commandKey.AppendFormat(L"\\%s\\command", verb.c_str());
    return ReadRegText(root, commandKey.c_str(), nullptr, out);
}

// The command of a class name: the user's classes first, then the machine's.
bool CommandOfClass(const wchar_t* className, t_str& out)
{
    t_str userKey(L"Software\\Classes\\");
    userKey.AppendFormat(L"%s\\Shell", className);
    if (ShellCommandOf(HKEY_CURRENT_USER, userKey, out))
        return true;
    t_str rootKey(className);
    rootKey.Append(L"\\Shell");
    return ShellCommandOf(HKEY_CLASSES_ROOT, rootKey, out);
}

int WindowsClass()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return 0;
#pragma GCC diagnostic pop
    if (version.dwMajorVersion == 6)
        return 2;
    if (version.dwMajorVersion == 5 && (version.dwMinorVersion == 1 || version.dwMinorVersion == 2))
        return 1;
    return 0;
}

// The maker's browser: the folder its key names, when VexilExplorer.exe lies in it.
bool FindMakerBrowser(t_str& folder, t_str& exe)
{
    t_reg key(HKEY_LOCAL_MACHINE);
    t_errorChain ignored;
    wchar_t buffer[MAX_PATH] = {};
    if (!key.Open(ignored, c_browserKey, false, false) || !key.QueryString(ignored, nullptr, buffer, MAX_PATH))
        return false;
    folder.Assign(buffer);
    exe.Assign(buffer);
    exe.Append(c_browserExe);
    return t_path(exe).IsFile();
}

}  // namespace

bool NormaliseUrl(const wchar_t* url, t_str& out)
{
    if (!url)
        return false;
    t_str text(url);
    text.Trim(L" \t\r\n");
    if (text.IsEmpty())
        return false;
    const int schemeLength = SchemeLength(text.c_str());
    if (schemeLength > 0) {
        t_str scheme;
        text.Mid(scheme, 0, schemeLength);
        bool allowed = false;
        for (const wchar_t* name : c_allowedSchemes)
            allowed = allowed || scheme.EqualsNoCase(name);
        if (!allowed)
            return false;
        out.Clear();
    } else {
        // Without a scheme only a host name can follow: no drive, folder or share path.
        const wchar_t first = text.CharAt(0);
        if (first == L'/' || first == L'\\' || first == L'.' || text.Find(L'\\') >= 0 ||
            (text.Length() > 1 && text.CharAt(1) == L':'))
            return false;
        out.Assign(L"http://");
    }
    for (int i = 0; i < text.Length(); ++i) {
        const wchar_t c = text.CharAt(i);
        if (c <= L' ' || c == L'"' || c == 0x7f)
            out.AppendFormat(L"%%%02X", static_cast<unsigned>(c));
        else
            out.AppendChar(c);
    }
    return true;
}

void EscapeForCommandInterpreter(const wchar_t* text, t_str& out)
{
    out.Clear();
    for (; text && *text; ++text) {
        if (wcschr(L"@%&|<>^", *text))
            out.AppendChar(L'^');
        out.AppendChar(*text);
    }
}

void OpenUrl(const wchar_t* url)
{
    if (t_launchPolicy::Current().restricted)
        return;
    t_str link;
    if (!NormaliseUrl(url, link))
        return;
    t_str folder;
    t_str exe;
    if (FindMakerBrowser(folder, exe)) {
        t_str escaped;
        EscapeForCommandInterpreter(link.c_str(), escaped);
        t_str parameters(L"/c ");
        parameters.Append(t_path(exe).FileName());
        parameters.Append(L" ");
        parameters.AppendStr(escaped);
        CallShellExecute(nullptr, L"open", L"cmd.exe", parameters.c_str(), folder.c_str(), SW_HIDE);
        return;
    }
    wchar_t browser[MAX_PATH];
    if (FindBrowserExe(browser)) {
        CallShellExecute(nullptr, L"open", browser, link.c_str(), nullptr, SW_SHOW);
        return;
    }
    CallShellExecute(nullptr, nullptr, link.c_str(), nullptr, nullptr, SW_SHOW);
}

bool FindBrowserExe(wchar_t (&out)[MAX_PATH])
{
    t_str result;
    t_str command = GetDefaultBrowserCommand();
    if (!command.IsEmpty()) {
        if (command.Length() > MAX_PATH)
            command.Truncate(MAX_PATH);
        const wchar_t* text = command.c_str();
        if (*text == L'"')
            ++text;
        // The candidate runs from the start through the last "exe".
        const int length = static_cast<int>(wcslen(text));
        for (int i = length - 3; i >= 0; --i) {
            if (_wcsnicmp(text + i, L"exe", 3) == 0) {
                t_str candidate;
                candidate.AssignN(text, i + 3);
                // Only the last "exe" is tried.
                if (t_path(candidate).IsFile())
                    result = candidate;
                break;
            }
        }
    }
    if (result.IsEmpty()) {
        t_reg key(HKEY_LOCAL_MACHINE);
        t_errorChain ignored;
        wchar_t programFiles[MAX_PATH] = {};
        if (!key.Open(ignored, L"Software\\Microsoft\\Windows\\CurrentVersion", false, false) ||
            !key.QueryString(ignored, L"ProgramFilesDir", programFiles, MAX_PATH))
            return false;
        result.Format(L"%s\\Internet Explorer\\IEXPLORE.exe", programFiles);
    }
    if (result.Length() + 3 > MAX_PATH)
        return false;
    _snwprintf(out, MAX_PATH, L"\"%s\"", result.c_str());
    out[MAX_PATH - 1] = 0;
    return true;
}

t_str GetDefaultBrowserCommand()
{
    t_str command;
    if (WindowsClass() == 2) {
        t_str progId;
        if (ReadRegText(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
                        L"Progid", progId) &&
            !progId.IsEmpty() && CommandOfClass(progId.c_str(), command))
            return command;
    }
    if (!CommandOfClass(L"http", command))
        command.Clear();
    return command;
}
