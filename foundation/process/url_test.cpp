#include "foundation/process/url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/process/process_launch.h"
#include "foundation/win/reg.h"
#include "tests/support/launch_log.h"
#include "tests/support/temp_folder.h"

namespace {

struct t_shellCall {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
};
std::vector<t_shellCall> g_calls;

HINSTANCE WINAPI RecordingShell(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT)
{
    g_calls.push_back({verb ? verb : L"", file ? file : L"", parameters ? parameters : L""});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

// Sees what would go to the shell instead of starting anything.
class t_shellSpy {
public:
    t_shellSpy() : m_old(SetShellExecuteHook(RecordingShell)) { g_calls.clear(); }
    ~t_shellSpy() { SetShellExecuteHook(m_old); }

private:
    t_shellExecuteFn m_old;
};

TEST(NormaliseUrl, KeepsWebAndMailLinksAndRefusesEverythingElse)
{
    struct {
        const wchar_t* url;
        const wchar_t* expected;  // null: refused
    } const cases[] = {
        {L"http://a.example/x", L"http://a.example/x"},
        {L"HTTPS://a.example", L"HTTPS://a.example"},
        {L"  https://a.example/?q=1 \t", L"https://a.example/?q=1"},
        {L"mailto:me@example.com", L"mailto:me@example.com"},
        {L"www.example.com", L"http://www.example.com"},
        {L"www.example.com:8080/a", L"http://www.example.com:8080/a"},
        {L"http://a.example/a b\"c", L"http://a.example/a%20b%22c"},
        {L"file:///C:/x.exe", nullptr},
        {L"file:C:\\x.exe", nullptr},
        {L"javascript:alert(1)", nullptr},
        {L"vbscript:x", nullptr},
        {L"shell:startup", nullptr},
        {L"C:\\x.exe", nullptr},
        {L"c:x.exe", nullptr},
        {L"\\\\server\\share\\x.exe", nullptr},
        {L"/bin/sh", nullptr},
        {L"..\\x.exe", nullptr},
        {L"tools\\x.exe", nullptr},
        {L"", nullptr},
        {L"   ", nullptr},
        {nullptr, nullptr},
    };
    for (const auto& c : cases) {
        t_str out;
        const bool kept = NormaliseUrl(c.url, out);
        EXPECT_EQ(c.expected != nullptr, kept) << (c.url ? c.url : L"(null)");
        if (c.expected && kept) {
            EXPECT_STREQ(c.expected, out.c_str());
        }
    }
}

TEST(OpenUrl, RefusedLinksNeverReachTheShell)
{
    t_shellSpy spy;
    for (const wchar_t* url : {L"file:///C:/windows/system32/calc.exe", L"javascript:alert(1)", L"C:\\x.exe",
                               L"\\\\server\\x.exe", L"", L"  "})
        OpenUrl(url);
    EXPECT_TRUE(g_calls.empty());

    // A kept link reaches it once, as the opened file or the browser's parameters.
    OpenUrl(L"  www.example.com ");
    ASSERT_EQ(1u, g_calls.size());
    const std::wstring handed = g_calls[0].file + L" " + g_calls[0].parameters;
    EXPECT_NE(std::wstring::npos, handed.find(L"http://www.example.com")) << handed;
}

TEST(OpenUrl, RestrictedRuntimeOpensNothing)
{
    t_shellSpy spy;
    t_launchPolicy policy;
    policy.restricted = true;
    t_launchPolicy::SetOverride(&policy);
    OpenUrl(L"http://a.example");
    t_launchPolicy::SetOverride(nullptr);
    EXPECT_TRUE(g_calls.empty());
}

TEST(EscapeForCommandInterpreter, EscapesEachSpecialCharacter)
{
    t_str out;
    EscapeForCommandInterpreter(L"http://a/?x=1&y=2|c<d>e^f@g%h", out);
    EXPECT_STREQ(L"http://a/?x=1^&y=2^|c^<d^>e^^f^@g^%h", out.c_str());
}

// The maker's browser: its registry key names its folder; it is started through the
// command interpreter, and the link arrives as one argument.
TEST(OpenUrl, MakersBrowserGetsTheLinkThroughTheCommandInterpreter)
{
    t_tempFolder temp(L"url");
    const std::wstring folder = temp / L"Vexil Explorer";
    CreateDirectoryW(folder.c_str(), nullptr);
    PlaceStandIn(L"VexilExplorer.exe", folder);
    t_launchLog log(temp / L"launch.log");
    {
        t_errorChain errors;
        t_reg key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(errors, L"Software\\VexilExplorer", true, true));
        ASSERT_TRUE(key.SetString(errors, folder.c_str(), nullptr));
    }
    OpenUrl(L"http://a.example/?x=1&y=2%41");
    const auto records = log.WaitFor(1);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\VexilExplorer", KEY_WOW64_32KEY, 0);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"VexilExplorer.exe", records[0].program);
    const std::wstring& line = records[0].commandLine;
    const std::wstring tail = L" http://a.example/?x=1&y=2%41";
    ASSERT_GE(line.size(), tail.size()) << line;
    EXPECT_EQ(tail, line.substr(line.size() - tail.size())) << line;
    EXPECT_EQ(folder, records[0].folder);
}

// The default browser from the user's class of "http": its program gets the link as its
// parameters.
TEST(OpenUrl, DefaultBrowserFromTheUsersHttpClass)
{
    t_tempFolder temp(L"url");
    const std::wstring browser = PlaceStandIn(L"VexilExplorer.exe", temp.Path());
    t_launchLog log(temp / L"launch.log");
    HKEY existing = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\http", 0, KEY_READ, &existing) == ERROR_SUCCESS) {
        RegCloseKey(existing);
        GTEST_SKIP() << "the user has an http class of their own";
    }
    const std::wstring command = L"\"" + browser + L"\" -osint -url \"%1\"";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\http\\Shell\\open\\command", 0,
                                             nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    EXPECT_STREQ(command.c_str(), GetDefaultBrowserCommand().c_str());
    wchar_t found[MAX_PATH];
    ASSERT_TRUE(FindBrowserExe(found));
    EXPECT_EQ(L"\"" + browser + L"\"", found);
    OpenUrl(L"https://a.example/b");
    const auto records = log.WaitFor(1);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\http");
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"\"" + browser + L"\" https://a.example/b", records[0].commandLine);
}

}  // namespace
