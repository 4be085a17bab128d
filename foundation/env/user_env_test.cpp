#include "foundation/env/user_env.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "foundation/env/user_env_test_setup.h"
#include "foundation/files/path.h"
#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

namespace {

t_tempFolder* g_install = nullptr;
std::wstring g_hash;
int g_accountsNumber = 0;

// One installation folder, one accounts folder and one folder hash for the whole program,
// shared with the helper process.
class t_environment : public t_programTempFolder {
public:
    t_environment() : t_programTempFolder(g_install, L"userenv_install", false) {}
    void SetUp() override
    {
        t_programTempFolder::SetUp();
        g_hash = UniqueTag(L"ue");
        g_accountsNumber = static_cast<int>(GetCurrentProcessId() * 64 + 1);
        t_errorChain errors;
        ASSERT_TRUE(InitUserEnvTestProcess(errors, g_install->Path().c_str(), g_hash.c_str(), g_accountsNumber))
            << Lines(errors);
    }
    void TearDown() override
    {
        t_str acc;
        if (UserManager::Instance()->GetAccFilePath(acc)) {
            std::wstring dir = acc.c_str();
            t_tempFolder::RemoveTree(dir.substr(0, dir.rfind(L'\\')));
        }
        t_programTempFolder::TearDown();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new t_environment);

// Each test works on users of its own.
class UserEnvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        userId = 0x100 + ++serial;
        t_str dir;
        ASSERT_TRUE(UserManager::Instance()->GetUserDirText(dir, userId));
        userDir = dir.c_str();
        t_errorChain errors;
        ASSERT_TRUE(t_path(userDir.c_str()).CreateDirectoryTree(errors, false)) << Lines(errors);
    }

    bool WriteEnvIni(const std::wstring& settings)
    {
        return WriteRaw(userDir + L"\\env.ini", Utf16File(L"[Setting]\r\n" + settings));
    }
    UserEnv::t_envContainer& Container()
    {
        UserEnv::t_envContainer* container = UserEnv::Instance()->Find(userId);
        EXPECT_NE(nullptr, container);
        return *container;
    }
    // The snapshot's bytes as they lie in shared memory.
    std::string Snapshot()
    {
        t_lockerMemSharable locker;
        t_errorChain errors;
        EXPECT_TRUE(locker.Lock(errors));
        const BYTE* data = Container().Memory().GetData(locker);
        return data ? std::string(reinterpret_cast<const char*>(data), Container().Memory().DataSize()) : "<none>";
    }

    int userId = 0;
    std::wstring userDir;
    t_errorChain errors;
};

}  // namespace

TEST_F(UserEnvTest, FirstCallWithoutEnvIniGivesDefaultsAndAnEmptyBlock)
{
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    EXPECT_EQ(0u, env.ValueCount());
    EXPECT_EQ(936, env.GetInt(n_env::CodePage));
    EXPECT_STREQ(L"Default(黑系)", env.GetString(n_env::ActiveSkinName));
    EXPECT_EQ(std::string("\x06\0\0\0\0\0", 6), Snapshot());
    EXPECT_FALSE(env.IsModified());
    EXPECT_EQ(Container().Memory().Version(), env.Version());
    EXPECT_EQ(userDir + L"\\env.ini", Container().Path().c_str());

    // The mapping carries the user id in hexadecimal and the per-profile suffix.
    wchar_t name[t_renewableMemory::c_nameCapacity];
    Container().Memory().GenerationName(t_versionReg::Read(UserEnv::c_snapshotCounter), name);
    wchar_t prefix[64];
    _snwprintf(prefix, 64, L"Local\\roroz_ida_vu%x.v", userId);
    EXPECT_EQ(0u, std::wstring(name).find(prefix)) << name;
    wchar_t expected[226];
    t_shareMem::BuildName(name, true, expected);
    EXPECT_STREQ(expected, Container().Memory().MappingName());
}

TEST_F(UserEnvTest, SnapshotComesFromEnvIniAndMergesKeepEveryonesChanges)
{
    ASSERT_TRUE(WriteEnvIni(L"PageSize=7\r\nUnknownKey=text\r\n"));
    t_env first, second;
    ASSERT_TRUE(GetUserEnvironment(errors, first, userId)) << Lines(errors);
    ASSERT_TRUE(GetUserEnvironment(errors, second, userId)) << Lines(errors);
    EXPECT_EQ(7, first.GetInt(n_env::PageSize));
    const t_envValue* unknown = second.FindValue(t_envKey{0, L"UnknownKey"});
    ASSERT_NE(nullptr, unknown);
    EXPECT_STREQ(L"text", reinterpret_cast<const wchar_t*>(unknown->data));

    // A value the caller did not change is replaced by the snapshot's.
    first.SetInt(n_env::PageSize, 3);
    ASSERT_TRUE(GetUserEnvironment(errors, first, userId)) << Lines(errors);
    second.SetInt(n_env::MaxWordCand, 9);
    ASSERT_TRUE(GetUserEnvironment(errors, second, userId)) << Lines(errors);
    EXPECT_EQ(3, second.GetInt(n_env::PageSize));
    EXPECT_EQ(9, second.GetInt(n_env::MaxWordCand));
    ASSERT_TRUE(GetUserEnvironment(errors, first, userId)) << Lines(errors);
    EXPECT_EQ(9, first.GetInt(n_env::MaxWordCand));
    EXPECT_EQ(first.Version(), second.Version());
    EXPECT_TRUE(errors.IsEmpty()) << Lines(errors);
}

TEST_F(UserEnvTest, ChangedGroupsAreCountedOnce)
{
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));
    const DWORD skinGroup = t_versionReg::Read(3);
    const DWORD schemeGroup = t_versionReg::Read(5);
    env.SetInt(n_env::FontSize, 20);
    env.SetBool(n_env::SkinEnabled, true);
    env.SetInt(n_env::PageSize, 6);
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    EXPECT_EQ(skinGroup + 1, t_versionReg::Read(3));
    EXPECT_EQ(schemeGroup, t_versionReg::Read(5));
}

TEST_F(UserEnvTest, UnchangedEnvironmentOfTheCurrentVersionLeavesTheSnapshotAlone)
{
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));
    env.SetInt(n_env::PageSize, 4);
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));

    // Scribble over the snapshot: a call with nothing to give does not even read it.
    t_lockerMemSharable locker;
    ASSERT_TRUE(locker.Lock(errors));
    BYTE* data = Container().Memory().GetData(locker);
    ASSERT_NE(nullptr, data);
    const std::string before = Snapshot();
    memset(data + 4, 0xAB, Container().Memory().DataSize() - 4);
    locker.Unlock();
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    EXPECT_EQ(4, env.GetInt(n_env::PageSize));

    // A change must read it: the scribbled block fails, and the reading stops at the block's
    // end even though its size word claims more and the trailer after it holds zeros.
    ASSERT_TRUE(locker.Lock(errors));
    memset(data, 0xFF, 4);
    locker.Unlock();
    env.SetInt(n_env::PageSize, 8);
    EXPECT_FALSE(GetUserEnvironment(errors, env, userId));
    const std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"读取环境信息失败|UserEnv::t_envContainer::MergeFrom 失败|"
                                             L"UserEnv::MergeGet 失败: uid = " +
                                             std::to_wstring(userId)))
        << lines;

    // Repaired, the block merges again.
    ASSERT_TRUE(locker.Lock(errors));
    memcpy(data, before.data(), before.size());
    locker.Unlock();
    errors.Reset();
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    EXPECT_EQ(8, env.GetInt(n_env::PageSize));
}

TEST_F(UserEnvTest, MovedCounterRebuildsFromEnvIni)
{
    ASSERT_TRUE(WriteEnvIni(L"PageSize=7\r\n"));
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));
    ASSERT_TRUE(WriteEnvIni(L"PageSize=8\r\n"));
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));
    EXPECT_EQ(7, env.GetInt(n_env::PageSize));  // the snapshot, not the file

    // Another process asks for a reload.
    t_versionReg::Increment(UserEnv::c_snapshotCounter);
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    EXPECT_EQ(8, env.GetInt(n_env::PageSize));
}

TEST_F(UserEnvTest, GrowthCopiesTheBlockOnlyWhenItFits)
{
    UserEnv::t_envContainer container(userId);
    const BYTE block[6] = {6, 0, 0, 0, 0, 0};
    struct {
        DWORD newSize;
        bool copied;
    } cases[] = {{6, true}, {10, true}, {5, false}};
    for (const auto& c : cases) {
        BYTE out[10];
        memset(out, 0x77, sizeof(out));
        t_errorChain copyErrors;
        EXPECT_EQ(c.copied, container.CopyGrown(copyErrors, block, 6, out, c.newSize)) << c.newSize;
        if (c.copied) {
            EXPECT_EQ(0, memcmp(block, out, 6));
            EXPECT_EQ(std::string(c.newSize - 6, '\0'), std::string(reinterpret_cast<char*>(out) + 6, c.newSize - 6));
        } else {
            EXPECT_EQ(std::string(10, '\x77'), std::string(reinterpret_cast<char*>(out), 10));
            EXPECT_TRUE(copyErrors.IsFailed());
        }
    }
}

TEST_F(UserEnvTest, RebuildLockIsNamedLikeTheMappings)
{
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId));
    EXPECT_EQ(L"Local\\roroz_ida_vu.mutex.vurodura0000" + g_hash, UserEnv::t_envContainer::LockName());
    EXPECT_EQ(&Container().GetLock(), &UserEnv::Instance()->Find(userId)->GetLock());
}

// The helper process of one step, kept alive while the test looks at what it left.
class t_helperStep {
public:
    t_helperStep(const std::wstring& arguments)
    {
        const std::wstring prefix = L"Local\\user_env_test_" + g_hash;
        m_done = CreateEventW(nullptr, FALSE, FALSE, (prefix + L"_done").c_str());
        m_quit = CreateEventW(nullptr, TRUE, FALSE, (prefix + L"_quit").c_str());
        m_process = StartChild(L"user_env_child.exe", arguments);
    }
    ~t_helperStep() { Finish(); }

    // True once the step succeeded; false when the process ended or hung first.
    bool WaitDone()
    {
        if (!m_process || !m_done || !m_quit)
            return false;
        HANDLE handles[2] = {m_done, m_process};
        return WaitForMultipleObjects(2, handles, FALSE, 30000) == WAIT_OBJECT_0;
    }
    // Lets the process end; its exit code.
    int Finish()
    {
        if (m_quit)
            SetEvent(m_quit);
        if (m_process) {
            m_code = EndProgram(m_process, 30000);
            m_process = nullptr;
        }
        for (HANDLE* h : {&m_done, &m_quit})
            if (*h) {
                CloseHandle(*h);
                *h = nullptr;
            }
        return m_code;
    }

private:
    HANDLE m_done = nullptr;
    HANDLE m_quit = nullptr;
    HANDLE m_process = nullptr;
    int m_code = -1;
};

TEST_F(UserEnvTest, TwoProcessesShareOneSnapshot)
{
    const std::wstring arguments = L"\"" + g_install->Path() + L"\" " + g_hash + L" " +
                                   std::to_wstring(g_accountsNumber) + L" " + std::to_wstring(userId) + L" ";
    ASSERT_TRUE(WriteEnvIni(L"PageSize=7\r\n"));
    t_env env;
    ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
    const std::wstring built = Container().Memory().MappingName();

    // The second process must open this snapshot, not load the changed file.
    ASSERT_TRUE(WriteEnvIni(L"PageSize=9\r\n"));
    {
        t_helperStep second(arguments + L"second " + built);
        ASSERT_TRUE(second.WaitDone()) << second.Finish();
        env.SetInt(n_env::MaxWordCand, 8);
        ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
        EXPECT_EQ(0, second.Finish());
    }
    EXPECT_EQ(30, env.GetInt(n_env::FontSize));  // the other process's change
    EXPECT_EQ(8, env.GetInt(n_env::MaxWordCand));
    EXPECT_EQ(7, env.GetInt(n_env::PageSize));

    // The other process sees both changes and grows the block into a new generation.
    const std::wstring beforeGrowth = Container().Memory().MappingName();
    {
        t_helperStep third(arguments + L"third");
        ASSERT_TRUE(third.WaitDone()) << third.Finish();
        ASSERT_TRUE(GetUserEnvironment(errors, env, userId)) << Lines(errors);
        EXPECT_EQ(0, third.Finish());
    }
    EXPECT_EQ(std::wstring(3000, L'x'), env.GetString(n_env::ActiveSkinName));
    EXPECT_EQ(30, env.GetInt(n_env::FontSize));
    EXPECT_EQ(8, env.GetInt(n_env::MaxWordCand));
    EXPECT_NE(beforeGrowth, Container().Memory().MappingName());
    EXPECT_GE(Container().Memory().DataSize(), 6000u);
}
