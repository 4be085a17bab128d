#include "foundation/process/component_client.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/config/ini_document.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/reg.h"
#include "foundation/win/shared_versions.h"
#include "tests/support/launch_log.h"
#include "tests/support/runtime_init.h"
#include "tests/support/temp_folder.h"

namespace {

struct t_iniValue {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};

void WriteEncryptedIni(const std::wstring& path, const std::vector<t_iniValue>& values)
{
    t_iniDocument document(true);
    for (const t_iniValue& v : values)
        ASSERT_TRUE(document.SetValue(v.section, v.key, v.value));
    t_errorChain errors;
    ASSERT_TRUE(document.WriteConfig(errors, path.c_str()));
}

void DeleteManagerKey() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SoftWare\\VexilComponents", KEY_WOW64_32KEY, 0); }

// The second bundle section lacks its version; the third matches the first's id in another
// case; the fourth has no folder.
const std::vector<t_iniValue> c_config = {
    {L"system", L"count", L"4"},         {L"bundle0", L"id", L"other"},        {L"bundle0", L"version", L"1.0"},
    {L"bundle0", L"folder", L"Other"},   {L"bundle1", L"id", L"vexil.flash"},  {L"bundle1", L"folder", L"Wrong"},
    {L"bundle2", L"id", L"VEXIL.FLASH"}, {L"bundle2", L"version", L"2.1.0.5"}, {L"bundle2", L"folder", L"Flash"},
    {L"bundle3", L"id", L"nofolder"},    {L"bundle3", L"version", L"3.0"},
};

// A manager folder (with a blank in its name) named by the registry, holding the manager
// stand-in and its configuration.
class ComponentClient : public testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_manager = PlaceStandIn(L"VexilComMgr.exe", m_folder);
        WriteEncryptedIni(m_folder + L"\\ComponentConfig.ini", c_config);
        t_errorChain errors;
        t_reg key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(errors, L"SoftWare\\VexilComponents", true, true));
        ASSERT_TRUE(key.SetString(errors, m_folder.c_str(), nullptr));
    }
    void TearDown() override { DeleteManagerKey(); }

    t_tempFolder m_temp{L"components"};
    std::wstring m_folder = m_temp / L"Vexil Components";
    std::wstring m_manager;
    t_launchLog m_log{m_temp / L"launch.log"};
};

TEST_F(ComponentClient, PathsComeFromTheRegisteredFolder)
{
    t_errorChain errors;
    t_str text;
    ASSERT_TRUE(t_componentClient::GetManagerFolder(errors, text));
    EXPECT_EQ(m_folder, text.c_str());
    ASSERT_TRUE(t_componentClient::GetConfigPath(errors, text));
    EXPECT_EQ(m_folder + L"\\ComponentConfig.ini", text.c_str());
    ASSERT_TRUE(t_componentClient::GetManagerExe(errors, text));
    EXPECT_EQ(m_manager, text.c_str());

    wchar_t buffer[MAX_PATH];
    ASSERT_TRUE(t_componentClient::GetManagerExe(buffer, MAX_PATH));
    EXPECT_EQ(m_manager, buffer);
    // Too small: false, the buffer untouched.
    wchar_t small[8] = L"keep";
    EXPECT_FALSE(t_componentClient::GetConfigPath(small, 8));
    EXPECT_STREQ(L"keep", small);
}

TEST_F(ComponentClient, BundleLookupsSkipSectionsWithoutVersion)
{
    struct {
        const wchar_t* id;
        const wchar_t* folder;   // null: not found
        const wchar_t* version;  // null: not found
    } const cases[] = {
        {L"vexil.flash", L"Flash\\2.1.0.5", L"2.1.0.5"},
        {L"Vexil.Flash", L"Flash\\2.1.0.5", L"2.1.0.5"},
        {L"other", L"Other\\1.0", L"1.0"},
        {L"nofolder", nullptr, L"3.0"},
        {L"absent", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        wchar_t folder[MAX_PATH] = L"untouched";
        wchar_t version[MAX_PATH] = L"untouched";
        EXPECT_EQ(c.folder != nullptr, t_componentClient::GetBundleFolder(c.id, folder, MAX_PATH)) << c.id;
        EXPECT_EQ(c.folder ? m_folder + L"\\" + c.folder : L"untouched", folder) << c.id;
        EXPECT_EQ(c.version != nullptr, t_componentClient::GetBundleVersion(c.id, version, MAX_PATH)) << c.id;
        EXPECT_STREQ(c.version ? c.version : L"untouched", version) << c.id;
    }
    wchar_t tiny[4] = L"x";
    EXPECT_FALSE(t_componentClient::GetBundleFolder(L"vexil.flash", tiny, 4));
    EXPECT_STREQ(L"x", tiny);
}

TEST_F(ComponentClient, ManagerCommandLines)
{
    struct {
        std::function<bool()> call;
        std::wstring parameters;  // empty: the manager started without any
    } const cases[] = {
        {[] { return t_componentClient::Invoke(L"b.id", L"Com.Name", false, nullptr, false); },
         L"-invoke b.id Com.Name"},
        {[] { return t_componentClient::Invoke(L"b.id", L"Com.Name", true, L"a b", true); },
         L"-invoke b.id Com.Name -uwr -param \"a b\""},
        {[] { return t_componentClient::Invoke(L"b.id", L"Com.Name", false, L"", false); }, L"-invoke b.id Com.Name"},
        {[] { return t_componentClient::InvokeByName(L"SKINBOX"); },
         L"-invoke vexil.skinbox VexilSkinBox.Component -uwr"},
        {[] { return t_componentClient::Retrieve(L"flash", false, nullptr, false, false); },
         L"-retrieve vexil.flash 2.1.0.5"},
        {[] { return t_componentClient::Retrieve(L"absent.bundle", true, reinterpret_cast<HWND>(0x1a2b), true, true); },
         L"-retrieveurl absent.bundle 1.0.0.0 -silent -notifywnd 00001a2b -background"},
        {[] { return t_componentClient::Install(L"C:\\my packs\\flash.vcp", true, false); },
         L"-install \"C:\\my packs\\flash.vcp\" -overwrite -silent"},
        {[] { return t_componentClient::Install(L"C:\\flash.vcp", false, true); },
         L"-install \"C:\\flash.vcp\" -overwrite"},
        {[] {
             t_componentClient::LaunchManager();
             return true;
         },
         L""},
    };
    size_t count = 0;
    for (const auto& c : cases) {
        EXPECT_TRUE(c.call()) << c.parameters;
        const auto records = m_log.WaitFor(++count);
        ASSERT_EQ(count, records.size()) << c.parameters;
        const std::wstring quoted = L"\"" + m_manager + L"\"";
        EXPECT_EQ(c.parameters.empty() ? quoted : quoted + L" " + c.parameters, records.back().commandLine);
        EXPECT_EQ(m_folder, records.back().folder);
        EXPECT_EQ(L"VexilComMgr.exe", records.back().program);
    }
}

TEST_F(ComponentClient, UnknownNamesAndAMissingManager)
{
    EXPECT_FALSE(t_componentClient::InvokeByName(L"NoSuchComponent"));
    // A known name answers true even when the manager cannot be started.
    DeleteFileW(m_manager.c_str());
    EXPECT_TRUE(t_componentClient::InvokeByName(L"Flash"));
    EXPECT_TRUE(t_componentClient::Install(L"C:\\x.vcp", false, false));
    EXPECT_FALSE(t_componentClient::Retrieve(L"Flash", false, nullptr, false, false));
    EXPECT_TRUE(m_log.NothingWithin(300));

    // Without the registry value nothing is found.
    DeleteManagerKey();
    t_errorChain errors;
    t_str folder(L"kept");
    EXPECT_FALSE(t_componentClient::GetManagerFolder(errors, folder));
    EXPECT_STREQ(L"kept", folder.c_str());
    const t_errorLine* last = errors.FirstLine();
    while (last && last->next)
        last = last->next;
    ASSERT_NE(nullptr, last);
    EXPECT_STREQ(L"查找安装路径出错", last->text.c_str());
    wchar_t buffer[MAX_PATH] = L"untouched";
    EXPECT_FALSE(t_componentClient::GetBundleFolder(L"vexil.flash", buffer, MAX_PATH));
    EXPECT_STREQ(L"untouched", buffer);
    EXPECT_FALSE(t_componentClient::Invoke(L"b", L"c", false, nullptr, false));
    EXPECT_FALSE(t_componentClient::Install(L"C:\\x.vcp", false, false));
    EXPECT_TRUE(t_componentClient::InvokeByName(L"flash"));
}

// Reading stops at the first section without an id; a bundle installed in a newer version
// than suggested is not older.
TEST_F(ComponentClient, SuggestionsAgainstInstalledBundles)
{
    std::vector<t_str> older;
    std::vector<t_str> missing;
    EXPECT_STREQ(L"", t_componentClient::GetSuggListPath());
    t_componentClient::CompareSuggList(older, missing);
    EXPECT_TRUE(older.empty() && missing.empty());

    WriteEncryptedIni(m_folder + L"\\SuggList.ini", {
                                                        {L"MODULE", L"count", L"5"},
                                                        {L"bundle0", L"id", L"VEXIL.FLASH"},
                                                        {L"bundle0", L"version", L"2.2.0.0"},
                                                        {L"bundle1", L"id", L"vexil.skinbox"},
                                                        {L"bundle1", L"version", L"1.0.0.0"},
                                                        {L"bundle2", L"id", L"other"},
                                                        {L"bundle2", L"version", L"0.9"},
                                                        {L"bundle3", L"version", L"1.0"},
                                                        {L"bundle4", L"id", L"vexil.handinput"},
                                                        {L"bundle4", L"version", L"1.0"},
                                                    });
    EXPECT_EQ(m_folder + L"\\SuggList.ini", t_componentClient::GetSuggListPath());
    t_componentClient::CompareSuggList(older, missing);
    ASSERT_EQ(1u, older.size());
    EXPECT_STREQ(L"VEXIL.FLASH", older[0].c_str());
    ASSERT_EQ(1u, missing.size());
    EXPECT_STREQ(L"vexil.skinbox", missing[0].c_str());

    struct {
        const wchar_t* id;
        int state;
    } const cases[] = {{L"vexil.flash", 1}, {L"Vexil.SkinBox", 2}, {L"other", 0}, {L"vexil.handinput", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.state, t_componentClient::SuggestionState(c.id)) << c.id;
}

// The current user's own list, in "Components" of the user's folder, comes before the
// manager's: a user store initialised over an installation folder of the test's.
TEST_F(ComponentClient, SuggestionsOfTheUsersComponentsFolderComeFirst)
{
    WriteEncryptedIni(m_folder + L"\\SuggList.ini",
                      {{L"MODULE", L"count", L"1"}, {L"bundle0", L"id", L"other"}, {L"bundle0", L"version", L"9.0"}});
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors));
    const std::wstring install = m_temp / L"install";
    CreateDirectoryW(install.c_str(), nullptr);
    ASSERT_TRUE(InitRuntimeAt(errors, install));
    UserManager* users = UserManager::Instance();
    ASSERT_TRUE(users->Init(errors, true, int(GetCurrentProcessId())));
    t_str userFolder;
    ASSERT_TRUE(users->GetUserDirText(userFolder, users->GetCurrentUserId()));
    const std::wstring components = std::wstring(userFolder.c_str()) + L"\\Components";
    t_str accounts;
    users->GetAccFilePath(accounts);
    const std::wstring store = std::wstring(accounts.c_str()).substr(0, std::wstring(accounts.c_str()).rfind(L'\\'));
    ASSERT_TRUE(CreateDirectoryW(components.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    WriteEncryptedIni(components + L"\\SuggList.ini", {{L"MODULE", L"count", L"2"},
                                                       {L"bundle0", L"id", L"vexil.flash"},
                                                       {L"bundle0", L"version", L"2.1.0.5"},
                                                       {L"bundle1", L"id", L"vexil.gesture"},
                                                       {L"bundle1", L"version", L"1.0"}});

    EXPECT_EQ(components + L"\\SuggList.ini", t_componentClient::GetSuggListPath());
    std::vector<t_str> older;
    std::vector<t_str> missing;
    t_componentClient::CompareSuggList(older, missing);
    EXPECT_TRUE(older.empty()) << "the installed version is the suggested one";
    ASSERT_EQ(1u, missing.size());
    EXPECT_STREQ(L"vexil.gesture", missing[0].c_str());
    EXPECT_EQ(0, t_componentClient::SuggestionState(L"other")) << "the manager's list is not read";

    // Without the user's list the manager's is read again.
    DeleteFileW((components + L"\\SuggList.ini").c_str());
    EXPECT_EQ(m_folder + L"\\SuggList.ini", t_componentClient::GetSuggListPath());
    EXPECT_EQ(1, t_componentClient::SuggestionState(L"other"));
    t_tempFolder::RemoveTree(store);
}

}  // namespace
