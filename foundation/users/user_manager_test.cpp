#include "foundation/users/user_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/child_runner.h"
#include "foundation/files/path.h"
#include "foundation/config/runtime.h"
#include "tests/support/runtime_init.h"
#include "tests/support/temp_folder.h"
#include "foundation/win/shared_versions.h"

namespace {

// The installation folder for the whole run: the runtime is initialised once per process.
t_tempFolder* g_install = nullptr;

class t_environment : public t_programTempFolder {
public:
    t_environment() : t_programTempFolder(g_install, L"usermgr_install", false) {}
    void SetUp() override
    {
        t_programTempFolder::SetUp();
        t_errorChain errors;
        ASSERT_TRUE(t_versionReg::Init(errors)) << Lines(errors);
        ASSERT_TRUE(InitRuntimeAt(errors, g_install->Path())) << Lines(errors);
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new t_environment);

const unsigned char c_key5[16] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};

// Each test works in an accounts folder of its own (backup mode with a number unique to
// the test), so parallel test programs never share one.
class UserManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        m_number = int(GetCurrentProcessId() * 64 + ++serial);
        m_manager = Fresh();
        t_errorChain errors;
        ASSERT_TRUE(m_manager->Init(errors, true, m_number)) << Lines(errors);
        t_str acc;
        m_manager->GetAccFilePath(acc);
        m_accPath = acc.c_str();
        m_accDir = m_accPath.substr(0, m_accPath.rfind(L'\\'));
    }
    void TearDown() override
    {
        m_manager.reset();
        t_tempFolder::RemoveTree(m_accDir);
    }

    std::unique_ptr<UserManager> Fresh() { return std::unique_ptr<UserManager>(new UserManager()); }
    std::unique_ptr<UserManager> Reinit(t_errorChain& errors, bool* ok)
    {
        std::unique_ptr<UserManager> manager = Fresh();
        *ok = manager->Init(errors, true, m_number);
        return manager;
    }
    // A second manager on the same folder, whose start-up must succeed.
    std::unique_ptr<UserManager> Restart(t_errorChain& errors)
    {
        bool ok = false;
        std::unique_ptr<UserManager> manager = Reinit(errors, &ok);
        EXPECT_TRUE(ok) << Lines(errors);
        return manager;
    }
    std::wstring UserDir(int id)
    {
        t_str dir;
        EXPECT_TRUE(m_manager->GetUserDirText(dir, id));
        return dir.c_str();
    }
    // Lists user 5 (and 7) and writes user 5's data file with a marker value.
    void AddUsers(int current)
    {
        UserAccFile& acc = m_manager->AccFile();
        ASSERT_TRUE(acc.AddAccount(5, c_key5, L"五", L""));
        ASSERT_TRUE(acc.AddAccount(7, c_key5, L"七", L""));
        acc.SetCurrentUserId(current);
        t_errorChain errors;
        ASSERT_TRUE(acc.Save(errors, true)) << Lines(errors);
        for (int id : {5, 7})
            ASSERT_TRUE(t_path(UserDir(id).c_str()).CreateDirectoryTree(errors, false));
        UserDataFile data;
        t_str path;
        m_manager->GetUserDataPath(path, 5);
        data.SetPath(path.c_str());
        data.SetKey(c_key5);
        data.SetInt(8, 4242);
        ASSERT_TRUE(data.Save(errors, false)) << Lines(errors);
    }

    int m_number = 0;
    std::unique_ptr<UserManager> m_manager;
    std::wstring m_accPath;
    std::wstring m_accDir;
};

}  // namespace

TEST_F(UserManagerTest, FreshStartMakesEmptyAccounts)
{
    wchar_t expected[MAX_PATH];
    _snwprintf(expected, MAX_PATH, L"%s\\DezadIR.users.Backup%08x\\acc.dat",
               t_runtime::Instance()->GetUserDataDir().c_str(), unsigned(m_number));
    EXPECT_EQ(std::wstring(expected), m_accPath);
    EXPECT_TRUE(Exists(m_accPath));
    EXPECT_EQ(80u, ReadRaw(m_accPath).size());  // IV, header, digest, 20-byte payload
    EXPECT_EQ(0, m_manager->AccFile().Count());
    EXPECT_EQ(0, m_manager->GetCurrentUserId());
    int id = -5;
    t_errorChain errors;
    EXPECT_TRUE(m_manager->GetCheckedCurrentUserId(errors, id));
    EXPECT_EQ(0, id);
    // A second manager on the same folder reads the same file.
    auto again = Restart(errors);
    EXPECT_EQ(0, again->AccFile().Count());
    EXPECT_NE(nullptr, UserManager::Instance());
    EXPECT_EQ(UserManager::Instance(), UserManager::Instance());
}

TEST_F(UserManagerTest, UserFolders)
{
    const std::wstring data = t_runtime::Instance()->GetUserDataDir().c_str();
    EXPECT_EQ(data + L"\\DezadIR", UserDir(0));
    EXPECT_EQ(m_accDir + L"\\0000002a", UserDir(0x2a));
    t_str path;
    ASSERT_TRUE(m_manager->GetUserDataPath(path, 0x2a));
    EXPECT_EQ(m_accDir + L"\\0000002a\\user.dat", path.c_str());
    ASSERT_TRUE(m_manager->GetInstallDir(path));
    EXPECT_EQ(g_install->Path(), path.c_str());

    wchar_t small[8];
    EXPECT_FALSE(m_manager->GetUserDir(small, 8, 0x2a));
    const size_t exact = UserDir(0x2a).size();
    std::wstring buffer(exact + 1, L'?');
    EXPECT_FALSE(m_manager->GetUserDir(&buffer[0], exact, 0x2a));  // no room for the terminator
    EXPECT_TRUE(m_manager->GetUserDir(&buffer[0], exact + 1, 0x2a));
}

TEST_F(UserManagerTest, FindFileByKind)
{
    const int user = 0x2a;
    t_errorChain errors;
    const std::wstring userSkins = UserDir(user) + L"\\AllSkin";
    ASSERT_TRUE(t_path(userSkins.c_str()).CreateDirectoryTree(errors, false));
    CreateDirectoryW((*g_install / L"AllSkin").c_str(), nullptr);
    ASSERT_TRUE(WriteRaw(*g_install / L"AllSkin\\both.vsf", "i"));
    ASSERT_TRUE(WriteRaw(userSkins + L"\\both.vsf", "u"));
    ASSERT_TRUE(WriteRaw(*g_install / L"AllSkin\\install.vsf", "i"));
    ASSERT_TRUE(WriteRaw(userSkins + L"\\user.vsf", "u"));
    const std::wstring inInstall = *g_install / L"AllSkin\\";
    const std::wstring inUser = userSkins + L"\\";

    struct {
        int kind;
        const wchar_t* name;
        bool mustExist;
        std::wstring expected;  // empty: not found
    } cases[] = {
        {1, L"both.vsf", true, inInstall + L"both.vsf"},       {1, L"user.vsf", true, L""},
        {1, L"none.vsf", false, inInstall + L"none.vsf"},      {2, L"both.vsf", true, inInstall + L"both.vsf"},
        {2, L"user.vsf", true, inUser + L"user.vsf"},          {3, L"install.vsf", true, L""},
        {3, L"none.vsf", false, inUser + L"none.vsf"},         {4, L"both.vsf", true, inUser + L"both.vsf"},
        {4, L"install.vsf", true, inInstall + L"install.vsf"}, {4, L"none.vsf", true, L""},
        {4, L"none.vsf", false, inUser + L"none.vsf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.kind) + L" " + c.name);
        t_str name(c.name);
        t_errorChain found;
        const bool ok = m_manager->FindFile(found, c.kind, name, user, c.mustExist, L"AllSkin");
        EXPECT_EQ(!c.expected.empty(), ok);
        if (ok)
            EXPECT_EQ(c.expected, name.c_str());
        else
            EXPECT_EQ(std::wstring(L"找不到文件: ") + c.name, Lines(found));
    }
    t_str name(L"both.vsf");
    EXPECT_FALSE(m_manager->FindFile(errors, 5, name, user, false, nullptr));
    EXPECT_FALSE(m_manager->FindFile(errors, 0, name, user, false, nullptr));
}

TEST_F(UserManagerTest, DamagedAccountsFileIsReplaced)
{
    AddUsers(0);
    ASSERT_TRUE(WriteRaw(m_accPath, std::string(96, 'x')));
    t_errorChain errors;
    auto repaired = Restart(errors);
    EXPECT_EQ(0, repaired->AccFile().Count());
    EXPECT_EQ(0, repaired->GetCurrentUserId());
    EXPECT_EQ(80u, ReadRaw(m_accPath).size());
    // The damaged bytes are kept aside, not thrown away.
    EXPECT_EQ(std::string(96, 'x'), ReadRaw(m_accPath + L".damaged"));
    // The users' folders survive, and the repair is reported.
    EXPECT_TRUE(Exists(UserDir(5) + L"\\user.dat"));
    EXPECT_TRUE(Exists(UserDir(7)));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"用户账户文件加载失败：" + m_accPath));
}

TEST_F(UserManagerTest, AccountsHeldByAnotherProgramAreNotDeleted)
{
    AddUsers(0);
    const std::string before = ReadRaw(m_accPath);
    HANDLE held = CreateFileW(m_accPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    t_errorChain errors;
    bool ok = true;
    auto blocked = Reinit(errors, &ok);
    CloseHandle(held);
    EXPECT_FALSE(ok);
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"用户账户文件加载失败：" + m_accPath));
    EXPECT_EQ(before, ReadRaw(m_accPath));
    EXPECT_TRUE(Exists(UserDir(5) + L"\\user.dat"));
}

TEST_F(UserManagerTest, CurrentUserDataLoads)
{
    AddUsers(5);
    t_errorChain errors;
    auto manager = Restart(errors);
    EXPECT_EQ(5, manager->GetCurrentUserId());
    EXPECT_EQ(4242, manager->DataFile().GetInt(8));
    // Saving goes to user 5's file under its key.
    manager->DataFile().SetInt(8, 99);
    ASSERT_TRUE(manager->DataFile().Save(errors, true)) << Lines(errors);
    UserDataFile check;
    check.SetPath((UserDir(5) + L"\\user.dat").c_str());
    check.SetKey(c_key5);
    ASSERT_TRUE(check.Load(errors, false)) << Lines(errors);
    EXPECT_EQ(99, check.GetInt(8));
}

TEST_F(UserManagerTest, DamagedUserDataFallsBackToCommonUser)
{
    AddUsers(5);
    ASSERT_TRUE(WriteRaw(UserDir(5) + L"\\user.dat", std::string(64, 'z')));
    t_errorChain errors;
    auto manager = Restart(errors);
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"当前用户数据加载失败"));
    EXPECT_EQ(0, manager->GetCurrentUserId());
    EXPECT_EQ(-1, manager->AccFile().FindUser(5));
    EXPECT_EQ(1, manager->AccFile().Count());
    // The fallback was saved for every process.
    t_errorChain quiet;
    EXPECT_EQ(0, Restart(quiet)->GetCurrentUserId());
}

TEST_F(UserManagerTest, CommonUserHasNoDataFile)
{
    t_errorChain errors;
    UserCurrentDataFile& data = m_manager->DataFile();
    data.SetInt(8, 1);
    ASSERT_TRUE(data.Save(errors, true));
    ASSERT_TRUE(data.Load(errors, true));
    EXPECT_FALSE(Exists(UserDir(0) + L"\\user.dat"));
    EXPECT_TRUE(errors.IsEmpty()) << Lines(errors);
    // An invalid current id is refused in words.
    m_manager->AccFile().SetCurrentUserId(-1);
    EXPECT_FALSE(data.Load(errors, false));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"账户文件错误:非法的当前用户名"));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"UserCurrentDataFile::Load 用户id非法"));
}

TEST_F(UserManagerTest, DeleteUser)
{
    AddUsers(5);
    t_errorChain errors;
    auto manager = Restart(errors);

    EXPECT_TRUE(manager->DeleteUser(errors, 0, false));
    EXPECT_TRUE(manager->DeleteUser(errors, -1, false));
    struct {
        int id;
        const wchar_t* line;
    } refused[] = {{5, L"不能删除当前用户"}, {9, L"账户不存在"}};
    for (const auto& c : refused) {
        t_errorChain e;
        EXPECT_FALSE(manager->DeleteUser(e, c.id, false));
        EXPECT_EQ(c.line, Lines(e));
    }
    ASSERT_TRUE(manager->DeleteUser(errors, 7, false)) << Lines(errors);
    EXPECT_FALSE(Exists(UserDir(7)));
    EXPECT_TRUE(Exists(UserDir(5)));
    auto reread = Restart(errors);
    EXPECT_EQ(-1, reread->AccFile().FindUser(7));
    EXPECT_EQ(0, reread->AccFile().FindUser(5));

    UserManager unloaded;
    t_errorChain e;
    EXPECT_FALSE(unloaded.DeleteUser(e, 7, false));
    EXPECT_EQ(L"用户账户文件加载不成功", Lines(e));
}

TEST_F(UserManagerTest, ChangeByAnotherProcessIsSeen)
{
    AddUsers(0);
    EXPECT_EQ(0, m_manager->GetCurrentUserId());
    const std::wstring args = L"set-current \"" + g_install->Path() + L"\" " + std::to_wstring(m_number);
    ASSERT_EQ(0, RunChild(L"user_manager_child.exe", args + L" 5"));
    EXPECT_EQ(5, m_manager->GetCurrentUserId());
    ASSERT_EQ(0, RunChild(L"user_manager_child.exe", args + L" 7"));
    int id = 0;
    t_errorChain errors;
    ASSERT_TRUE(m_manager->ReadCurrentUserId(errors, id));
    EXPECT_EQ(7, id);
}
