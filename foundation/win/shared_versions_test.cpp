#include "foundation/win/shared_versions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/child_runner.h"
#include "foundation/win/share_mem.h"

// The registry is process-wide and opened once, so these tests run in file order: first
// before the registry is opened, then with it open.

namespace {

// Keeps this run's registry apart from parallel runs.
const std::wstring g_hash = UniqueTag(L"v");
[[maybe_unused]] const bool g_hashSet = (n_shareName::SetFolderHash(g_hash.c_str()), true);

int Child(const std::wstring& arguments) { return RunChild(L"share_mem_child.exe", g_hash + L" " + arguments); }

// Records the versions it was asked to reload.
class t_recorder : public t_versionedData {
public:
    explicit t_recorder(unsigned index, bool fail = false) : t_versionedData(index), m_fail(fail) {}
    bool Reload(t_errorChain& errors, DWORD newVersion, void* argument) override
    {
        reloads.push_back(newVersion);
        lastArgument = argument;
        if (m_fail)
            return errors.Fail(L"reload failed");
        return true;
    }
    std::vector<DWORD> reloads;
    void* lastArgument = nullptr;

private:
    bool m_fail;
};

// A view of this run's registry block of our own, to look at and spoil its words.
struct t_rawRegistry {
    t_memSharableBase block;
    DWORD* words = nullptr;
    bool Open(bool create)
    {
        t_errorChain errors;
        if (!t_shareMem::CreateShareble(errors, block, L"Local\\Filemap_VersionReg", create, false, 1028))
            return false;
        words = static_cast<DWORD*>(block.View());
        return true;
    }
    DWORD& Counter(unsigned i) { return words[2 + i]; }
};

}  // namespace

TEST(VersionReg, NotOpenBeforeInit)
{
    ASSERT_FALSE(t_versionReg::IsOpen());
    EXPECT_EQ(0u, t_versionReg::Increment(3));
    EXPECT_EQ(0u, t_versionReg::Read(3));

    t_recorder data(3);
    t_errorChain errors;
    EXPECT_FALSE(data.CheckVersion(errors, nullptr));
    ASSERT_NE(nullptr, errors.FirstLine());
    EXPECT_TRUE(errors.FirstLine()->text.Equals(L"versionReg未初始化"));
    EXPECT_TRUE(data.reloads.empty());
    EXPECT_TRUE(data.IsCurrent());
    data.Snapshot();
    EXPECT_EQ(0u, data.SeenVersion());
}

TEST(VersionReg, InitialisersSetCountersAcrossProcesses)
{
    // We make the block first and leave it uninitialised; a child initialises it.
    t_rawRegistry raw;
    ASSERT_TRUE(raw.Open(true));
    ASSERT_EQ(t_memSharableBase::c_stateCreated, raw.block.State());
    EXPECT_EQ(1, Child(L"vreg-read 7"));
    EXPECT_EQ(1020u, raw.words[0]);
    EXPECT_EQ(1u, raw.words[1]);
    for (unsigned i = 0; i < t_versionReg::c_counterCount; ++i)
        ASSERT_EQ(1u, raw.Counter(i)) << i;

    // A counter left at 0 is raised to 1 by the next initialiser; the others keep their value.
    raw.Counter(7) = 0;
    raw.Counter(8) = 42;
    EXPECT_EQ(1, Child(L"vreg-read 7"));
    EXPECT_EQ(1u, raw.Counter(7));
    EXPECT_EQ(42u, raw.Counter(8));

    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors));
    ASSERT_TRUE(t_versionReg::Init(errors));  // second call: at once
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_EQ(42u, t_versionReg::Read(8));

    // Increments of another process are seen here, and ours there.
    EXPECT_EQ(2, Child(L"vreg-inc 3"));
    EXPECT_EQ(2u, t_versionReg::Read(3));
    EXPECT_EQ(3u, t_versionReg::Increment(3));
    EXPECT_EQ(3, Child(L"vreg-read 3"));

    EXPECT_EQ(0u, t_versionReg::Increment(t_versionReg::c_counterCount));  // out of range
    EXPECT_EQ(0u, t_versionReg::Read(t_versionReg::c_counterCount));
}

TEST(VersionReg, FailedInitIsNotRetried)
{
    // A kernel object of another type holds the registry's name under another profile hash.
    std::wstring hash = UniqueTag(L"w");
    HANDLE squatter = CreateMutexW(nullptr, FALSE, (L"Local\\Filemap_VersionReg" + hash).c_str());
    ASSERT_NE(nullptr, squatter);
    EXPECT_EQ(10, RunChild(L"share_mem_child.exe", hash + L" vreg-retry 0"));
    CloseHandle(squatter);
}

TEST(VersionedData, ReloadsOnceWhenTheCounterMoves)
{
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors));
    int argument = 0;
    t_recorder data(10);
    EXPECT_FALSE(data.IsCurrent());

    ASSERT_TRUE(data.CheckVersion(errors, &argument));
    ASSERT_EQ(std::vector<DWORD>{1}, data.reloads);
    EXPECT_EQ(&argument, data.lastArgument);
    EXPECT_EQ(1u, data.SeenVersion());
    EXPECT_TRUE(data.IsCurrent());

    ASSERT_TRUE(data.CheckVersion(errors, nullptr));  // nothing moved
    EXPECT_EQ(1u, data.reloads.size());

    EXPECT_EQ(2, Child(L"vreg-inc 10"));
    EXPECT_FALSE(data.IsCurrent());
    ASSERT_TRUE(data.CheckVersion(errors, nullptr));
    ASSERT_TRUE(data.CheckVersion(errors, nullptr));
    EXPECT_EQ((std::vector<DWORD>{1, 2}), data.reloads);

    // Touch moves the counter for the others; Snapshot takes it as seen.
    t_recorder writer(10);
    writer.Touch();
    EXPECT_EQ(3u, t_versionReg::Read(10));
    EXPECT_FALSE(data.IsCurrent());
    data.Snapshot();
    EXPECT_TRUE(data.IsCurrent());
    EXPECT_TRUE(errors.IsEmpty());
}

TEST(VersionedData, FailedReloadKeepsTheOldVersion)
{
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors));
    t_recorder data(11, true);
    EXPECT_FALSE(data.CheckVersion(errors, nullptr));
    EXPECT_EQ(0u, data.SeenVersion());
    EXPECT_TRUE(errors.IsFailed());
    // The reloader's own line comes first, the verdict last.
    ASSERT_NE(nullptr, errors.FirstLine());
    ASSERT_NE(nullptr, errors.FirstLine()->next);
    EXPECT_TRUE(errors.FirstLine()->text.Equals(L"reload failed"));
    EXPECT_TRUE(errors.FirstLine()->next->text.Equals(L"检查数据更新失败（t_versionReg::t_interface::CheckVersion）"));

    t_recorder outOfRange(t_versionReg::c_counterCount);
    EXPECT_FALSE(outOfRange.CheckVersion(errors, nullptr));
    EXPECT_TRUE(outOfRange.reloads.empty());
}

TEST(VersionedData, ZeroCounterIsIncrementedBeforeTheReload)
{
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors));
    t_rawRegistry raw;
    ASSERT_TRUE(raw.Open(false));
    raw.Counter(12) = 0;

    t_recorder data(12);
    ASSERT_TRUE(data.CheckVersion(errors, nullptr));
    EXPECT_EQ(std::vector<DWORD>{1}, data.reloads);
    EXPECT_EQ(1u, raw.Counter(12));
    EXPECT_EQ(1u, data.SeenVersion());
}
