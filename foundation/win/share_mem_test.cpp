#include "foundation/win/share_mem.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/support/child_runner.h"

namespace {

typedef t_shareMem_t<t_lockerMemSharable> t_block;

// Names of this run differ from those of parallel runs through the folder hash.
class ShareMem : public ::testing::Test {
protected:
    void SetUp() override
    {
        hash = UniqueTag(L"s");
        n_shareName::SetFolderHash(hash.c_str());
    }
    void TearDown() override { n_shareName::SetFolderHash(nullptr); }

    std::wstring hash;
};

std::wstring FirstLine(const t_errorChain& errors)
{
    return errors.FirstLine() ? errors.FirstLine()->text.c_str() : L"";
}

bool HasLineStartingWith(const t_errorChain& errors, const std::wstring& start)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        if (std::wstring(line->text.c_str()).compare(0, start.size(), start) == 0)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(ShareMem, NamesGetPrefixPerUserTextAndFolderHash)
{
    struct {
        const wchar_t* name;
        bool perUser;
        std::wstring expected;
    } cases[] = {
        {L"abc", false, L"Local\\abc" + hash},
        {L"Local\\abc", false, L"Local\\abc" + hash},
        {L"abc", true, L"Local\\abc0000" + hash},
        {L"Local\\roroz_ida_vu", true, L"Local\\roroz_ida_vu0000" + hash},
        {L"local\\abc", false, L"Local\\local\\abc" + hash},
    };
    for (const auto& c : cases) {
        wchar_t out[226];
        t_shareMem::BuildName(c.name, c.perUser, out);
        EXPECT_EQ(c.expected, out) << c.name;
    }

    // Long names are cut: 194 characters after an added prefix, 200 with their own.
    wchar_t out[226];
    std::wstring longName(300, L'q');
    t_shareMem::BuildName(longName.c_str(), true, out);
    EXPECT_EQ(L"Local\\" + std::wstring(194, L'q') + L"0000" + hash, out);
    t_shareMem::BuildName((L"Local\\" + longName).c_str(), false, out);
    EXPECT_EQ(L"Local\\" + std::wstring(194, L'q') + hash, out);

    n_shareName::SetFolderHash(L"0123456789abcdef_too_long");
    EXPECT_STREQ(L"0123456789abcdef", n_shareName::FolderHash());
}

TEST_F(ShareMem, CreateThenOpenExistingKeepsCreatorsSize)
{
    t_errorChain errors;
    t_block creator;
    ASSERT_TRUE(creator.Create(errors, L"block_size", 100, false)) << FirstLine(errors);
    EXPECT_EQ(t_memSharableBase::c_stateCreated, creator.State());
    EXPECT_EQ(100u, creator.DataSize());
    EXPECT_EQ(0u, creator.Version());
    EXPECT_FALSE(creator.IsValid());
    EXPECT_EQ(L"Local\\block_size" + hash, creator.Name());

    // A second Create with another size opens the existing block whole and leaves the
    // stored size alone, in both directions.
    for (DWORD asked : {5000u, 10u}) {
        t_block other;
        ASSERT_TRUE(other.Create(errors, L"Local\\block_size", asked, false));
        EXPECT_EQ(t_memSharableBase::c_stateOpened, other.State());
        EXPECT_EQ(100u, other.DataSize()) << asked;
        EXPECT_GE(other.ViewSize(), 108u);
        EXPECT_EQ(100u, creator.DataSize());
        other.Data()[99] = 7;
        EXPECT_EQ(7, creator.Data()[99]);  // one block, two views
    }

    t_block opened;
    ASSERT_TRUE(opened.Open(errors, L"block_size", false));
    EXPECT_EQ(t_memSharableBase::c_stateOpened, opened.State());
    EXPECT_EQ(100u, opened.DataSize());
    EXPECT_TRUE(errors.IsEmpty());
}

TEST_F(ShareMem, FailuresAreReported)
{
    t_errorChain errors;
    t_block missing;
    EXPECT_FALSE(missing.Open(errors, L"block_missing", false));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_TRUE(HasLineStartingWith(errors, L"打开Filemap失败: Local\\block_missing" + hash));

    t_block held;
    ASSERT_TRUE(held.Create(errors, L"block_held", 16, false));
    errors.Reset();
    EXPECT_FALSE(held.Create(errors, L"block_other", 16, false));
    EXPECT_EQ(L"重复创建Filemap", FirstLine(errors));
    EXPECT_TRUE(errors.IsFailed());
    EXPECT_EQ(L"Local\\block_held" + hash, held.Name());  // still the first block

    // The data size plus the header must fit in 32 bits.
    t_block huge;
    errors.Reset();
    EXPECT_FALSE(huge.Create(errors, L"block_huge", 0xFFFFFFFFu, false));
    EXPECT_FALSE(huge.IsOpen());
}

TEST_F(ShareMem, UnnamedBlockAndSwap)
{
    t_errorChain errors;
    t_block a, b;
    ASSERT_TRUE(a.Create(errors, nullptr, 32, false));
    EXPECT_EQ(t_memSharableBase::c_stateCreated, a.State());
    EXPECT_EQ(32u, a.DataSize());
    a.Data()[0] = 42;

    a.Swap(b);
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(nullptr, a.Data());
    EXPECT_EQ(0u, a.DataSize());
    ASSERT_TRUE(b.IsOpen());
    EXPECT_EQ(42, b.Data()[0]);
    b.Close();
    EXPECT_FALSE(b.IsOpen());
    EXPECT_EQ(t_memSharableBase::c_stateNone, b.State());
}

TEST_F(ShareMem, VersionWord)
{
    t_errorChain errors;
    t_block block;
    // Not mapped: every operation is harmless.
    block.BumpVersion();
    block.StoreVersion(3);
    EXPECT_EQ(0u, block.Version());
    EXPECT_FALSE(block.IsValid());

    ASSERT_TRUE(block.Create(errors, L"block_version", 8, false));
    struct {
        const char* step;
        void (*apply)(t_block&);
        DWORD expected;
    } steps[] = {
        {"bump from 0 starts at 1", [](t_block& b) { b.BumpVersion(); }, 2},
        {"bump", [](t_block& b) { b.BumpVersion(); }, 3},
        {"store", [](t_block& b) { b.StoreVersion(9); }, 9},
        {"store 0 stores 1", [](t_block& b) { b.StoreVersion(0); }, 1},
        {"set", [](t_block& b) { b.SetVersion(0); }, 0},
    };
    for (const auto& s : steps) {
        s.apply(block);
        EXPECT_EQ(s.expected, block.Version()) << s.step;
        EXPECT_TRUE(block.IsVersion(s.expected)) << s.step;
        EXPECT_EQ(s.expected != 0, block.IsValid()) << s.step;
    }
}

TEST_F(ShareMem, StoredSizeLargerThanTheMappingIsCut)
{
    // A foreign mapping of 16 bytes whose header claims a megabyte.
    std::wstring name = L"Local\\block_foreign" + hash;
    HANDLE foreign = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, name.c_str());
    ASSERT_NE(nullptr, foreign);
    DWORD* words = static_cast<DWORD*>(MapViewOfFile(foreign, FILE_MAP_WRITE, 0, 0, 16));
    ASSERT_NE(nullptr, words);
    words[0] = 1000000;

    t_errorChain errors;
    t_block block;
    ASSERT_TRUE(block.Open(errors, L"block_foreign", false));
    EXPECT_LE(block.DataSize() + 8u, block.ViewSize());
    EXPECT_GT(block.DataSize(), 0u);
    block.Data()[block.DataSize() - 1] = 1;  // the whole reported area can be written

    UnmapViewOfFile(words);
    CloseHandle(foreign);
}

TEST_F(ShareMem, SecondProcessSeesAndChangesTheBlock)
{
    t_errorChain errors;
    t_block block;
    ASSERT_TRUE(block.Create(errors, L"block_cross", 64, false));
    EXPECT_EQ(0u, block.Version());

    // The child opens the block, bumps its version and fills its data.
    EXPECT_EQ(64, RunChild(L"share_mem_child.exe", hash + L" open block_cross"));
    EXPECT_EQ(2u, block.Version());
    EXPECT_TRUE(block.IsValid());
    EXPECT_EQ(0x5A, block.Data()[0]);
    EXPECT_EQ(0x5A, block.Data()[63]);

    // Its Create with a larger size finds our block and keeps our size.
    EXPECT_EQ(64, RunChild(L"share_mem_child.exe", hash + L" create block_cross 4000"));
    EXPECT_EQ(64u, block.DataSize());

    // Under another folder hash (another profile) the name is another mapping.
    EXPECT_EQ(201, RunChild(L"share_mem_child.exe", L"otherprofile open block_cross"));
}

TEST(Filemap, LockerHoldsTheSharedMutex)
{
    t_errorChain errors;
    ASSERT_TRUE(t_filemap::Init(errors));
    ASSERT_TRUE(t_filemap::Init(errors));  // once per process
    EXPECT_STREQ(L"Local\\filemap_mutex", t_filemap::Mutex().Name());

    HANDLE raw = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\filemap_mutex");
    ASSERT_NE(nullptr, raw);
    {
        t_lockerMemSharable locker;
        ASSERT_TRUE(locker.Lock(errors));
        EXPECT_EQ(&t_filemap::Mutex(), locker.Held());
        DWORD seenByOther = 0;
        std::thread other([&] { seenByOther = WaitForSingleObject(raw, 0); });
        other.join();
        EXPECT_EQ(WAIT_TIMEOUT, seenByOther);
    }
    EXPECT_TRUE(errors.IsEmpty());
    CloseHandle(raw);
}
