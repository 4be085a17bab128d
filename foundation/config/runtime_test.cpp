#include "foundation/config/runtime.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "foundation/config/ini_document.h"
#include "foundation/win/security.h"
#include "foundation/win/share_mem.h"
#include "foundation/core/singleton.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

const wchar_t c_installKey[] = L"Software\\VexilInput";

// The input method's key in HKEY_LOCAL_MACHINE (the 32-bit view), absent unless a test
// writes it, and removed again afterwards.
class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, c_installKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            GTEST_SKIP() << "the machine has the input method's key; it is left alone";
        }
    }
    void TearDown() override
    {
        if (m_wroteKey)
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, c_installKey, KEY_WOW64_32KEY, 0);
    }

    void WriteInstallKey(const wchar_t* folder)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, c_installKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
        m_wroteKey = true;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                                                static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t))));
        RegCloseKey(key);
    }

    bool m_wroteKey = false;
};

bool HasLine(const t_errorChain& errors, const std::wstring& text)
{
    for (const std::wstring& line : ErrorLines(errors)) {
        if (line == text)
            return true;
    }
    return false;
}

std::wstring TempFolderWithoutSlash()
{
    wchar_t temp[MAX_PATH];
    std::wstring text(temp, GetTempPathW(MAX_PATH, temp));
    if (!text.empty() && text.back() == L'\\')
        text.pop_back();
    return text;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

t_runtimeItem Item(int type, const wchar_t* process, const wchar_t* res, const wchar_t* company = L"",
                   const wchar_t* version = L"")
{
    t_runtimeItem item;
    item.type = type;
    item.process.Assign(process);
    item.company.Assign(company);
    item.version.Assign(version);
    item.SetResText(res);
    return item;
}

}  // namespace

TEST_F(RuntimeTest, WithoutKeyOrSourceInitFailsButFillsTheFolders)
{
    t_runtime runtime;
    t_errorChain errors;
    EXPECT_FALSE(runtime.Init(errors));
    EXPECT_FALSE(runtime.IsInitialised());
    EXPECT_TRUE(HasLine(errors, L"打开注册表项失败：MACHINE\\Software\\VexilInput"));
    EXPECT_TRUE(HasLine(errors, L"查找安装路径出错"));
    EXPECT_EQ(L"t_runtime初始化失败", ErrorLines(errors).back());
    EXPECT_TRUE(runtime.GetInstallDir().IsEmpty());

    // Every other step still ran.
    EXPECT_EQ(TempFolderWithoutSlash(), runtime.GetTempDir().c_str());
    EXPECT_FALSE(runtime.GetUserDataDir().IsEmpty());
    EXPECT_STRNE(L"", runtime.FolderHash());
    EXPECT_STREQ(L"runtime_test.exe", runtime.ExeName().c_str());

    // After a failure every step runs again: the program's folder now serves.
    runtime.SetInstallDirSource(nullptr);
    errors.Reset();
    ASSERT_TRUE(runtime.Init(errors)) << ErrorLines(errors).size();
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_TRUE(runtime.IsInitialised());
    EXPECT_EQ(ExeFolder(), runtime.GetInstallDir().c_str());
}

TEST_F(RuntimeTest, InstallFolderFromTheRegistryKey)
{
    WriteInstallKey(L"C:\\Program Files\\栖鹭输入法");
    t_runtime runtime;
    t_errorChain errors;
    ASSERT_TRUE(runtime.Init(errors));
    EXPECT_STREQ(L"C:\\Program Files\\栖鹭输入法\\6.8.0.0000", runtime.GetInstallDir().c_str());
    t_str iniPath;
    ASSERT_TRUE(runtime.GetRuntimeIniPath(errors, iniPath));
    EXPECT_STREQ(L"C:\\Program Files\\栖鹭输入法\\6.8.0.0000\\runtime.ini", iniPath.c_str());

    // A second Init after success returns at once, whatever changed since.
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, c_installKey, KEY_WOW64_32KEY, 0);
    EXPECT_TRUE(runtime.Init(errors));
    EXPECT_STREQ(L"C:\\Program Files\\栖鹭输入法\\6.8.0.0000", runtime.GetInstallDir().c_str());
}

TEST_F(RuntimeTest, SourceFolderComesFirstAndFallsBackToTheKey)
{
    t_tempFolder folder(L"runtime_source");
    const std::wstring missing = folder / L"missing";
    {
        WriteInstallKey(L"C:\\Vexil");
        t_runtime runtime;
        runtime.SetInstallDirSource(folder.Path().c_str());
        EXPECT_EQ(t_runtime::e_lookupProgramFolder, runtime.LookupMode());
        t_errorChain errors;
        ASSERT_TRUE(runtime.Init(errors));
        EXPECT_EQ(folder.Path(), runtime.GetInstallDir().c_str());
    }
    {
        t_runtime runtime;
        runtime.SetInstallDirSource(missing.c_str());
        t_errorChain errors;
        ASSERT_TRUE(runtime.Init(errors));
        EXPECT_STREQ(L"C:\\Vexil\\6.8.0.0000", runtime.GetInstallDir().c_str());
        EXPECT_TRUE(errors.IsEmpty());
    }
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, c_installKey, KEY_WOW64_32KEY, 0);
    {
        t_runtime runtime;
        runtime.SetInstallDirSource(missing.c_str());
        t_errorChain errors;
        EXPECT_FALSE(runtime.Init(errors));
        EXPECT_TRUE(HasLine(errors, L"查找安装路径出错"));
        bool namesSource = false;
        for (const std::wstring& line : ErrorLines(errors))
            namesSource = namesSource || line.find(missing) != std::wstring::npos;
        EXPECT_TRUE(namesSource);
        EXPECT_EQ(L"t_runtime初始化失败", ErrorLines(errors).back());
    }
}

TEST_F(RuntimeTest, FoldersFlagsAndNamesUnderThisSystem)
{
    t_runtime runtime;
    runtime.SetInstallDirSource(nullptr);
    t_errorChain errors;
    ASSERT_TRUE(runtime.Init(errors));

    OSVERSIONINFOW version;
    ASSERT_TRUE(GetOsVersion(version));
    const bool win8 = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion > 1);
    EXPECT_EQ(win8, runtime.IsWin8OrLater());
    EXPECT_FALSE(runtime.IsBrowserHost());
    EXPECT_FALSE(runtime.IsSystemAccount());

    wchar_t appData[MAX_PATH];
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
    EXPECT_STREQ(appData, runtime.GetAppDataDir().c_str());

    if (win8) {
        // Wine's kernel32 says 10.0: the low-integrity folder, taken without looking.
        std::wstring parent(appData);
        parent = parent.substr(0, parent.rfind(L'\\'));
        EXPECT_EQ(parent + L"\\LocalLow", runtime.GetUserDataDir().c_str());
        EXPECT_TRUE(runtime.IsVistaOrLater());
        // The write probe left its file and found the folder writable.
        const std::wstring probe = std::wstring(runtime.GetUserDataDir().c_str()) + L"\\DezadIr\\metro.txt";
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(probe.c_str()));
        EXPECT_FALSE(runtime.IsRestricted());
    }

    wchar_t hash[17];
    FormatFolderHash(runtime.GetUserDataDir().c_str(), hash);
    EXPECT_STREQ(hash, runtime.FolderHash());
    EXPECT_STREQ(hash, n_shareName::FolderHash());
    EXPECT_STREQ(L"0000", runtime.PerUserText());

    EXPECT_EQ(Lower(ExePath()), runtime.ModulePath().c_str());
    EXPECT_STREQ(GetCommandLineW(), runtime.CommandLine().c_str());
    EXPECT_TRUE(runtime.CommandLineContains(L"runtime_test"));
    EXPECT_TRUE(runtime.PathContains(L"runtime_test.exe"));
    EXPECT_FALSE(runtime.PathContains(L"RUNTIME_TEST"));
    EXPECT_NE(nullptr, runtime.FindModule(L"kernel32.dll"));
    t_str company;
    EXPECT_FALSE(runtime.GetCompanyName(company));  // the test program has no version resource
}

TEST(RuntimeSingleton, IsOneNamedObject)
{
    t_runtime* runtime = t_runtime::Instance();
    ASSERT_NE(nullptr, runtime);
    EXPECT_EQ(runtime, GetRuntime());
    EXPECT_NE(nullptr, ImmSingletonRegistry::Global().Find("t_runtime"));
}

TEST(RuntimeUserData, CandidatesBelowTheAppDataParent)
{
    struct t_case {
        const char* what;
        std::vector<const wchar_t*> present;
        bool win8;
        t_userDataChoice choice;
        const wchar_t* expected;  // below the parent; null: the roaming folder itself
    };
    const t_case cases[] = {
        {"none present (Windows 7)", {}, false, e_userDataNone, nullptr},
        {"only Local", {L"Local"}, false, e_userDataFound, L"Local"},
        {"Roaming before Local", {L"Local", L"Roaming"}, false, e_userDataFound, L"Roaming"},
        {"LocalLow first", {L"Local", L"LocalLow", L"Roaming"}, false, e_userDataFound, L"LocalLow"},
        {"Windows 8 takes LocalLow unseen", {}, true, e_userDataFound, L"LocalLow"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_tempFolder parent(L"runtime_userdata");
        for (const wchar_t* name : c.present)
            ASSERT_TRUE(CreateDirectoryW((parent / name).c_str(), nullptr));
        const std::wstring roaming = parent / L"Roaming";
        t_str out;
        EXPECT_EQ(c.choice, SelectUserDataDir(roaming.c_str(), c.win8, out));
        EXPECT_EQ(c.expected ? parent / c.expected : roaming, out.c_str());
    }
    t_str out;
    EXPECT_EQ(e_userDataBadFolder, SelectUserDataDir(L"Roaming", false, out));
}

TEST(RuntimeHash, ElfHashOfTheUtf16UnitsInLowerCaseHex)
{
    // Expected values from an independent implementation; case is not folded.
    const struct {
        const wchar_t* text;
        const wchar_t* hash;
    } cases[] = {
        {L"", L"0"},
        {L"abc", L"6783"},
        {L"C:\\users\\kavrel\\AppData\\LocalLow", L"c601277"},
        {L"C:\\用户\\数据", L"b128a8e"},
    };
    for (const auto& c : cases) {
        wchar_t hash[17];
        FormatFolderHash(c.text, hash);
        EXPECT_STREQ(c.hash, hash) << c.text;
    }
}

TEST(RuntimeItems, MatchingByTypeCompanyAndVersion)
{
    t_runtime runtime;
    runtime.SetInstallDirSource(nullptr);
    t_errorChain errors;
    // The key may exist on a real machine; the program's folder serves either way.
    ASSERT_TRUE(runtime.Init(errors));

    struct t_case {
        t_runtimeItem item;
        bool matches;
    };
    const t_case cases[] = {
        {Item(0, L"", L""), true},
        {Item(1, L"runtime_test", L""), true},
        {Item(1, L"nosuchword", L""), false},
        {Item(2, L"RUNTIME_TEST.EXE", L""), true},  // another letter case
        {Item(2, L"runtime_test", L""), false},
        {Item(3, L"time_te", L""), true},
        {Item(3, L"TIME_TE", L""), false},
        {Item(4, L"kernel32.dll", L""), true},
        {Item(4, L"nosuch.dll", L""), false},
        {Item(7, L"runtime_test.exe", L""), false},
        // no version resource: a company never matches, a version is not checked
        {Item(0, L"", L"", L"Any Company"), false},
        {Item(0, L"", L"", L"", L"99.0+"), true},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(c.matches, runtime.MatchesItem(c.item)) << "index " << (&c - cases);
}

TEST(RuntimeItems, FirstMatchingItemSetsEachByte)
{
    t_runtime runtime;
    const std::vector<t_runtimeItem> items = {
        Item(2, L"someone_else.exe", L"99999"),
        Item(0, L"", L"0102"),
        Item(0, L"", L"3333"),
    };
    runtime.ApplyRuntimeItems(items);
    const uint8_t expected[] = {3, 1, 3, 2, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], runtime.Res(i)) << i;
    EXPECT_EQ(0, runtime.Res(37));
    EXPECT_EQ(0, runtime.Res(38));
    EXPECT_EQ(0, runtime.Res(-1));
}

TEST(RuntimeItems, TopmostUiFromTheTuningBytes)
{
    struct t_case {
        const wchar_t* res;  // bytes 0..4
        bool topmost;
    };
    const t_case cases[] = {
        {L"00000", true},   // r2 is not 1
        {L"00100", false},  // r2 = 1
        {L"00110", true},   // r3 = 1
        {L"00211", true},   // r4 decides: 1
        {L"00012", false},  // r4 decides: not 1
    };
    for (const t_case& c : cases) {
        t_runtime runtime;
        runtime.ApplyRuntimeItems({Item(0, L"", c.res)});
        EXPECT_EQ(c.topmost, runtime.UseTopmostUi()) << c.res;
    }
}

TEST_F(RuntimeTest, RuntimeIniInTheInstallFolderSetsTheBytes)
{
    t_tempFolder folder(L"runtime_ini");
    t_iniDocument document(true);
    ASSERT_TRUE(document.SetValue(L"setting", L"cnt", L"3"));
    ASSERT_TRUE(document.SetValue(L"item0", L"type", L"2"));
    ASSERT_TRUE(document.SetValue(L"item0", L"process", L"Runtime_Test.exe"));
    ASSERT_TRUE(document.SetValue(L"item0", L"res", L"0050"));
    ASSERT_TRUE(document.SetValue(L"item1", L"type", L"2"));
    ASSERT_TRUE(document.SetValue(L"item1", L"process", L"other.exe"));
    ASSERT_TRUE(document.SetValue(L"item1", L"res", L"7777"));
    ASSERT_TRUE(document.SetValue(L"item2", L"res", L"1111"));
    // A fourth item beyond the count is not read.
    ASSERT_TRUE(document.SetValue(L"item3", L"res", L"9999"));
    t_errorChain errors;
    ASSERT_TRUE(document.WriteConfig(errors, (folder / L"runtime.ini").c_str()));

    std::vector<t_runtimeItem> items;
    ASSERT_TRUE(ReadRuntimeItems((folder / L"runtime.ini").c_str(), items));
    ASSERT_EQ(3u, items.size());
    EXPECT_STREQ(L"Runtime_Test.exe", items[0].process.c_str());
    EXPECT_EQ(2, items[0].type);

    t_runtime runtime;
    runtime.SetInstallDirSource(folder.Path().c_str());
    ASSERT_TRUE(runtime.Init(errors));
    const uint8_t expected[] = {1, 1, 5, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], runtime.Res(i)) << i;

    EXPECT_FALSE(ReadRuntimeItems((folder / L"missing.ini").c_str(), items));
}

TEST(RuntimeDwm, CompositionAnswerFollowsDwmapi)
{
    // dwmapi.dll is not loaded for a runtime that does not know it is on Vista or later.
    if (!GetModuleHandleW(L"dwmapi.dll") && !GetRuntime()->IsVistaOrLater()) {
        EXPECT_FALSE(IsDwmCompositionEnabled());
        EXPECT_EQ(nullptr, GetModuleHandleW(L"dwmapi.dll"));
    }
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    ASSERT_NE(nullptr, dwm);
    typedef HRESULT(WINAPI * t_fn)(BOOL*);
    t_fn fn = reinterpret_cast<t_fn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
    ASSERT_NE(nullptr, fn);
    BOOL enabled = FALSE;
    const bool expected = fn(&enabled) == S_OK && enabled;
    EXPECT_EQ(expected, IsDwmCompositionEnabled());
    // The runtime record asks once and keeps the answer.
    t_runtime runtime;
    EXPECT_EQ(expected, runtime.DwmComposition());
    FreeLibrary(dwm);
    EXPECT_EQ(expected, runtime.DwmComposition());
}

TEST(RuntimeFlags, UiFlagsStartCleared)
{
    t_runtime runtime;
    EXPECT_FALSE(runtime.IsNoSkin());
    EXPECT_FALSE(runtime.AreCandidateTipsOff());
    EXPECT_FALSE(runtime.IsCandidateScroll());
    EXPECT_EQ(0, runtime.CursorOverride());
}
