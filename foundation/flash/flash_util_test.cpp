#include "foundation/flash/flash_util.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/config/ini_document.h"
#include "foundation/flash/flash_dll_loader.h"
#include "foundation/flash/flash_dummy.h"
#include "foundation/flash/flash_proxy.h"
#include "foundation/win/reg.h"
#include "tests/support/child_runner.h"
#include "tests/support/flash_bundle.h"
#include "tests/support/flash_standin.h"
#include "tests/support/temp_folder.h"

// Loading the Flash component changes the process for good, so every case runs in a fresh
// copy of this program: the parent prepares the component manager's registry value, its
// configuration and the bundle folder, then runs one DISABLED_FlashScenario test.

namespace {

const wchar_t* const c_managerKey = L"SoftWare\\VexilComponents";
const wchar_t* const c_controlKey = L"CLSID\\{d27cdb6e-ae6d-11cf-96b8-444553540000}\\InprocServer32";

using t_fnCount = int(WINAPI*)();
using t_fnUnload = void(WINAPI*)();

int EnvInt(const wchar_t* name)
{
    wchar_t text[16] = {};
    GetEnvironmentVariableW(name, text, 16);
    return _wtoi(text);
}

bool SetRegistryDefault(HKEY root, const wchar_t* key, const std::wstring& value)
{
    t_errorChain errors;
    t_reg reg(root);
    return reg.Open(errors, key, true, true) && reg.SetString(errors, value.c_str(), nullptr);
}

void DeleteRegistryKey(HKEY root, const wchar_t* key)
{
    // The same view as t_reg: the 32-bit one below HKEY_LOCAL_MACHINE.
    RegDeleteKeyExW(root, key, root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0, 0);
}

class FlashComponent : public t_tempFolderTest {
protected:
    FlashComponent() : t_tempFolderTest(L"flash") {}

    void TearDown() override
    {
        DeleteRegistryKey(HKEY_LOCAL_MACHINE, c_managerKey);
        DeleteRegistryKey(HKEY_CLASSES_ROOT, c_controlKey);
        SetEnvironmentVariableW(L"KAVREL_FLASH_VERSION", nullptr);
        SetEnvironmentVariableW(L"KAVREL_FLASH_DOINIT", nullptr);
    }

    // The manager folder with a configuration naming the Flash bundle; with library, the
    // stand-in library in the bundle folder; with exe, "VexilFlash.exe" beside it.
    void InstallBundle(bool library, bool exe) { ASSERT_TRUE(InstallFlashBundle(At(L"manager"), library, exe)); }

    // Runs one scenario in a fresh process; its exit code (0 when every check held), or -2
    // when the scenario did not run at all.
    int RunScenario(const char* name)
    {
        std::wstring filter = L"--gtest_also_run_disabled_tests --gtest_filter=DISABLED_FlashScenario.";
        for (const char* c = name; *c; ++c)
            filter += static_cast<wchar_t>(*c);
        const std::wstring mark = At(L"scenario_ran");
        DeleteFileW(mark.c_str());
        SetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", mark.c_str());
        const int code = RunProgram(ExePath(), filter, 60000);
        SetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", nullptr);
        return Exists(mark) ? code : -2;
    }
};

TEST_F(FlashComponent, MissingBundleGivesTheDummies)
{
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, c_managerKey);
    EXPECT_EQ(0, RunScenario("Missing"));
    // A configured bundle without the library is just as missing.
    InstallBundle(false, false);
    EXPECT_EQ(0, RunScenario("Missing"));
}

TEST_F(FlashComponent, LibraryWhoseInitFailsIsNeverLoadedAgain)
{
    InstallBundle(true, true);
    SetEnvironmentVariableW(L"KAVREL_FLASH_DOINIT", L"0");
    EXPECT_EQ(0, RunScenario("InitFails"));
}

TEST_F(FlashComponent, ProxyForwardsWhatTheLibraryVersionAllows)
{
    InstallBundle(true, true);
    for (int version = 0; version <= 10; ++version) {
        SetEnvironmentVariableW(L"KAVREL_FLASH_VERSION", std::to_wstring(version).c_str());
        EXPECT_EQ(0, RunScenario("VersionGate")) << "version " << version;
    }
}

TEST_F(FlashComponent, StubsAreProxiedAndReleasedThroughTheFactory)
{
    InstallBundle(true, true);
    EXPECT_EQ(0, RunScenario("Stubs"));
}

TEST_F(FlashComponent, UnloadTurnsEveryEntryIntoTheDummies)
{
    InstallBundle(true, true);
    EXPECT_EQ(0, RunScenario("Unload"));
}

TEST_F(FlashComponent, InstalledMeansTheFlashProgramIsAFile)
{
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, c_managerKey);
    EXPECT_FALSE(IsFlashComponentInstalled());
    InstallBundle(false, false);
    EXPECT_FALSE(IsFlashComponentInstalled());
    CreateDirectoryW(At(L"manager\\Flash\\1.0\\VexilFlash.exe").c_str(), nullptr);
    EXPECT_FALSE(IsFlashComponentInstalled());
    RemoveDirectoryW(At(L"manager\\Flash\\1.0\\VexilFlash.exe").c_str());
    InstallBundle(false, true);
    EXPECT_TRUE(IsFlashComponentInstalled());
}

TEST_F(FlashComponent, RegisteredControlNeedsAnExistingFileOfVersion10_1_102_64)
{
    DeleteRegistryKey(HKEY_CLASSES_ROOT, c_controlKey);
    EXPECT_FALSE(t_proxyFlashUtil::IsFlashControlRegistered());
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const struct {
        std::wstring file;
        bool registered;
    } cases[] = {
        {ExeFolder() + L"\\VexilFlashDll.dll", true},       // version 10.1.102.64
        {std::wstring(system) + L"\\kernel32.dll", false},  // 10.0: too old
        {At(L"missing.ocx"), false},
        {dir.Path(), false},  // a directory
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetRegistryDefault(HKEY_CLASSES_ROOT, c_controlKey, c.file));
        EXPECT_EQ(c.registered, t_proxyFlashUtil::IsFlashControlRegistered()) << c.file;
    }
}

// The scenarios, run only in a child process; each leaves a mark that it ran.
class DISABLED_FlashScenario : public ::testing::Test {
protected:
    void TearDown() override
    {
        wchar_t mark[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", mark, MAX_PATH))
            WriteRaw(mark, std::string("ran"));
    }
};

TEST_F(DISABLED_FlashScenario, Missing)
{
    EXPECT_EQ(static_cast<i_flashUtil*>(t_flashUtilDummy::Instance()), GetFlashUtil());
    EXPECT_FALSE(IsFlashLoaded());
    EXPECT_TRUE(IsFlashServerReady());
    EXPECT_EQ(nullptr, FlashUtilLoadSwf("swf", 3));
    EXPECT_FALSE(FlashUtilInstallSsw("ssw", 3));
    EXPECT_TRUE(FlashUtilIsUsable());
    EXPECT_EQ(nullptr, t_proxyFlashStub::Create());
    EXPECT_EQ(0, GetFlashUtil()->Version());
    EXPECT_EQ(static_cast<i_flashStubFactory*>(t_flashStubFactoryDummy::Instance()), GetFlashUtil()->GetStubFactory());
    EXPECT_TRUE(t_flashDllLoader::Instance()->Failed());
}

TEST_F(DISABLED_FlashScenario, InitFails)
{
    EXPECT_EQ(static_cast<i_flashUtil*>(t_flashUtilDummy::Instance()), GetFlashUtil());
    EXPECT_FALSE(IsFlashLoaded());
    t_flashDllLoader* loader = t_flashDllLoader::Instance();
    EXPECT_TRUE(loader->Failed());
    EXPECT_EQ(nullptr, loader->Load());
    auto calls = FlashStandinExport<t_fnCount>("StandinDoInitCalls");
    ASSERT_NE(nullptr, calls);
    EXPECT_EQ(1, calls());
}

TEST_F(DISABLED_FlashScenario, VersionGate)
{
    const int version = EnvInt(L"KAVREL_FLASH_VERSION");
    i_flashUtil* util = GetFlashUtil();
    ASSERT_EQ(static_cast<i_flashUtil*>(t_proxyFlashUtil::Instance()), util);
    EXPECT_TRUE(IsFlashLoaded());
    EXPECT_EQ(version, util->Version());
    TakeFlashStandinCall();

    // Each slot with the lowest library version it needs, the stand-in's answer and the
    // proxy's answer when refused.
    const intptr_t a = 31, b = 32;
    const struct {
        int slot;
        int minimum;
        intptr_t answer;
        intptr_t refused;
        intptr_t (*call)(i_flashUtil*, intptr_t, intptr_t);
    } cases[] = {
        {1, 0, 1, 0, [](i_flashUtil* u, intptr_t, intptr_t) { return intptr_t(u->GetStubFactory() != nullptr); }},
        {3, 0, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify3(x, y), intptr_t(0); }},
        {4, 0, 1, 0, [](i_flashUtil* u, intptr_t, intptr_t) { return intptr_t(u->IsServerReady()); }},
        {5, 0, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query5(x, y)); }},
        {6, 0, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query6(x, y)); }},
        {7, 0, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify7(x, y), intptr_t(0); }},
        {8, 0, 0, 1, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query8(x, y)); }},
        {9, 0, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify9(x, y), intptr_t(0); }},
        {10, 0, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query10(x, y)); }},
        {12, 1, 1, 0, [](i_flashUtil* u, intptr_t, intptr_t) { return intptr_t(u->GetStubFactory1() != nullptr); }},
        {13, 1, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify13(x, y), intptr_t(0); }},
        {14, 2, 1014, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Value14(x, y); }},
        {15, 3, 1, 0, [](i_flashUtil* u, intptr_t, intptr_t) { return intptr_t(u->GetStubFactory3() != nullptr); }},
        {16, 4, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query16(x, y)); }},
        {17, 4, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query17(x, y)); }},
        {18, 4, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query18(x, y)); }},
        {19, 5, 1019, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Value19(x, y); }},
        {20, 6, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify20(x, y), intptr_t(0); }},
        {21, 6, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify21(x, y), intptr_t(0); }},
        {22, 7, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query22(x, y)); }},
        {23, 7, 1, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return intptr_t(u->Query23(x, y)); }},
        {24, 8, 0, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Notify24(x, y), intptr_t(0); }},
        {25, 8, 1025, 0, [](i_flashUtil* u, intptr_t x, intptr_t y) { return u->Value25(x, y); }},
        // Refused, slot 26 asks whether the ActiveX control is registered.
        {26, 9, 1, intptr_t(t_proxyFlashUtil::IsFlashControlRegistered()),
         [](i_flashUtil* u, intptr_t, intptr_t) { return intptr_t(u->IsUsable()); }},
    };
    for (const auto& c : cases) {
        const bool allowed = version >= c.minimum;
        EXPECT_EQ(allowed ? c.answer : c.refused, c.call(util, a, b)) << "slot " << c.slot;
        const t_flashStandinCall call = TakeFlashStandinCall();
        EXPECT_EQ(allowed ? c.slot : -1, call.slot) << "slot " << c.slot;
    }

    // Loading and installation pass their data on at every version.
    ASSERT_NE(nullptr, FlashUtilLoadSwf("swf-bytes", 9));
    EXPECT_EQ(2, TakeFlashStandinCall().slot);
    EXPECT_TRUE(FlashUtilInstallSsw("ssw", 3));
    const t_flashStandinCall install = TakeFlashStandinCall();
    EXPECT_EQ(11, install.slot);
    EXPECT_EQ(3, install.a);

    // The unload observer is registered only with a library of version 10 or later.
    auto unload = FlashStandinExport<t_fnUnload>("StandinUnload");
    ASSERT_NE(nullptr, unload);
    unload();
    EXPECT_EQ(version >= 10, IsFlashUnloaded());
}

TEST_F(DISABLED_FlashScenario, Stubs)
{
    ASSERT_EQ(static_cast<i_flashUtil*>(t_proxyFlashUtil::Instance()), GetFlashUtil());
    auto live = FlashStandinExport<t_fnCount>("StandinLiveStubs");
    ASSERT_NE(nullptr, live);
    t_proxyFlashStub* stub = t_proxyFlashStub::Create();
    ASSERT_NE(nullptr, stub);
    EXPECT_TRUE(t_proxyFlashStub::IsProxy(stub));
    EXPECT_FALSE(t_proxyFlashStub::IsProxy(stub->Inner()));
    EXPECT_EQ(1, live());
    TakeFlashStandinCall();

    EXPECT_EQ(1, stub->Create(WS_EX_LAYERED, WS_CHILD | WS_DISABLED, nullptr, 27244, 0));
    EXPECT_EQ(102, TakeFlashStandinCall().slot);
    const SIZE size = {40, 30};
    stub->SetSize(&size);
    const t_flashStandinCall setSize = TakeFlashStandinCall();
    EXPECT_EQ(103, setSize.slot);
    EXPECT_EQ(40, setSize.a);
    t_flashFrame frame = {};
    EXPECT_TRUE(stub->GetFrame(&frame));
    EXPECT_EQ(1, stub->SendMouse(nullptr, WM_LBUTTONDOWN, 1, MAKELPARAM(3, 4)));
    EXPECT_EQ(105, TakeFlashStandinCall().slot);
    EXPECT_EQ(1, stub->HitTest(5, 6));
    const t_flashStandinCall hit = TakeFlashStandinCall();
    EXPECT_EQ(107, hit.slot);
    EXPECT_EQ(6, hit.b);
    stub->Call3(7, 8, 9);
    EXPECT_EQ(110, TakeFlashStandinCall().slot);
    stub->Move(1, 2, 3, 4);
    EXPECT_EQ(113, TakeFlashStandinCall().slot);
    stub->Show(true);
    EXPECT_EQ(114, TakeFlashStandinCall().slot);

    ReleaseFlashStub(stub);
    EXPECT_EQ(0, live());

    // A stub straight from the factory is released through it as well.
    i_flashStub* plain = GetFlashUtil()->GetStubFactory()->CreateStub();
    EXPECT_EQ(1, live());
    ReleaseFlashStub(plain);
    EXPECT_EQ(0, live());
}

TEST_F(DISABLED_FlashScenario, Unload)
{
    // The Flash server's event decides readiness while the library is loaded.
    ASSERT_EQ(static_cast<i_flashUtil*>(t_proxyFlashUtil::Instance()), GetFlashUtil());
    EXPECT_FALSE(IsFlashServerReady());
    HANDLE server = CreateEventW(nullptr, TRUE, FALSE, L"Local\\evt_vxFlashServerGlobal");
    ASSERT_NE(nullptr, server);
    EXPECT_TRUE(IsFlashServerReady());
    t_proxyFlashStub* stub = t_proxyFlashStub::Create();
    ASSERT_NE(nullptr, stub);
    EXPECT_NE(nullptr, FlashUtilLoadSwf("swf", 3));

    auto unload = FlashStandinExport<t_fnUnload>("StandinUnload");
    ASSERT_NE(nullptr, unload);
    unload();
    TakeFlashStandinCall();
    EXPECT_TRUE(IsFlashUnloaded());
    EXPECT_EQ(nullptr, FlashUtilLoadSwf("swf", 3));
    EXPECT_EQ(static_cast<i_flashUtil*>(t_flashUtilDummy::Instance()), GetFlashUtil());
    EXPECT_EQ(nullptr, t_proxyFlashStub::Create());
    EXPECT_TRUE(IsFlashServerReady());
    // The old proxies no longer reach the library.
    EXPECT_EQ(-1, t_proxyFlashUtil::Instance()->Version());
    EXPECT_FALSE(t_proxyFlashUtil::Instance()->IsServerReady());
    EXPECT_EQ(0, stub->HitTest(1, 1));
    EXPECT_EQ(-1, TakeFlashStandinCall().slot);
    ReleaseFlashStub(stub);
    CloseHandle(server);
}

}  // namespace
