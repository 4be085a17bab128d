#include "foundation/env/renewable_memory.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"

namespace {

// Every mapping and counter of this program carries its own folder hash, so parallel test
// programs never meet.
class t_environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        n_shareName::SetFolderHash(UniqueTag(L"rm").c_str());
        t_errorChain errors;
        ASSERT_TRUE(t_versionReg::Init(errors)) << Lines(errors);
        ASSERT_TRUE(t_filemap::Init(errors)) << Lines(errors);
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new t_environment);

// A data source over a byte string that counts its loads.
class t_textSource : public i_renewableSource {
public:
    explicit t_textSource(const std::string& content) : m_content(content)
    {
        t_errorChain errors;
        m_lock.Create(errors, (L"Local\\renewable_test_lock" + UniqueTag(L"")).c_str());
    }

    bool Load(t_errorChain& errors, BYTE*& bytes, DWORD& size) override
    {
        ++loads;
        if (failLoad)
            return errors.Fail(L"no data");
        bytes = static_cast<BYTE*>(malloc(m_content.size() + 1));
        memcpy(bytes, m_content.data(), m_content.size());
        size = static_cast<DWORD>(m_content.size());
        return true;
    }
    bool Prepare(t_errorChain&) override { return true; }
    bool IsFull(const BYTE*, DWORD) override { return full; }
    bool CopyGrown(t_errorChain&, const BYTE* oldData, DWORD oldSize, BYTE* newData, DWORD newSize) override
    {
        ++copies;
        memcpy(newData, oldData, oldSize < newSize ? oldSize : newSize);
        return true;
    }
    t_mutex& GetLock() override { return m_lock; }

    int loads = 0;
    int copies = 0;
    bool full = false;
    bool failLoad = false;

private:
    std::string m_content;
    t_mutex m_lock;
};

// Each test follows a counter and a base name of its own.
class RenewableMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        static unsigned serial = 0;
        counter = 100 + ++serial;
        base = L"Local\\renewable_test_" + std::to_wstring(serial);
    }

    // Acquires under the mapping lock; the data as a string of the block's usable size.
    bool AcquireText(t_renewableMemory& memory, DWORD needed, std::string& text)
    {
        t_lockerMemSharable locker;
        if (!locker.Lock(errors))
            return false;
        BYTE* data = nullptr;
        if (!memory.Acquire(errors, locker, data, needed))
            return false;
        text.assign(reinterpret_cast<char*>(data), memory.DataSize());
        return true;
    }

    unsigned counter = 0;
    std::wstring base;
    t_errorChain errors;
};

}  // namespace

TEST(RenewableMemoryNames, BaseNameSuffixAndGenerations)
{
    struct {
        const wchar_t* base;
        int suffix;
        bool withSuffix;
        const wchar_t* expected;
    } cases[] = {
        {L"Local\\roroz_ida_vu", 0x1a2b, true, L"Local\\roroz_ida_vu1a2b.v7.filemap.vurodura"},
        {L"Local\\roroz_ida_vu", -1, true, L"Local\\roroz_ida_vu.v7.filemap.vurodura"},
        {L"plain", 0, false, L"plain.v7.filemap.vurodura"},
        {nullptr, 3, true, L"???3.v7.filemap.vurodura"},
    };
    for (const auto& c : cases) {
        t_renewableMemory memory(nullptr, c.base, 0, c.withSuffix ? &c.suffix : nullptr, false);
        wchar_t name[t_renewableMemory::c_nameCapacity];
        memory.GenerationName(7, name);
        EXPECT_STREQ(c.expected, name);
        EXPECT_FALSE(memory.IsValid());
        EXPECT_EQ(0u, memory.DataSize());
    }
}

TEST_F(RenewableMemory, FirstAcquireBuildsTheBlockAndALaterOneOpensIt)
{
    t_textSource source("hello block");
    t_renewableMemory first(&source, base.c_str(), counter, nullptr, true);
    std::string text;
    ASSERT_TRUE(AcquireText(first, 0, text)) << Lines(errors);
    EXPECT_EQ(1, source.loads);
    EXPECT_EQ("hello block", text);
    EXPECT_TRUE(first.IsValid());
    EXPECT_TRUE(first.IsRenewed());
    DWORD generation = t_versionReg::Read(counter);
    EXPECT_EQ(generation + 1, first.Version());  // the version word runs one ahead
    wchar_t expected[226];
    wchar_t generationName[t_renewableMemory::c_nameCapacity];
    first.GenerationName(generation, generationName);
    t_shareMem::BuildName(generationName, true, expected);
    EXPECT_STREQ(expected, first.MappingName());
    {
        t_lockerMemSharable locker;
        ASSERT_TRUE(locker.Lock(errors));
        EXPECT_FALSE(first.TrailerInUse(locker));
        EXPECT_NE(nullptr, first.GetData(locker));
    }

    // A second user of the same name and counter opens that generation: no second load.
    t_textSource other("other text");
    t_renewableMemory second(&other, base.c_str(), counter, nullptr, true);
    ASSERT_TRUE(AcquireText(second, 0, text)) << Lines(errors);
    EXPECT_EQ(0, other.loads);
    EXPECT_EQ("hello block", text);
    EXPECT_STREQ(first.MappingName(), second.MappingName());

    // Acquiring again without a change neither loads nor renews.
    ASSERT_TRUE(AcquireText(first, 5, text));
    EXPECT_EQ(1, source.loads);
    EXPECT_TRUE(errors.IsEmpty()) << Lines(errors);
}

TEST_F(RenewableMemory, GrowthSizes)
{
    // Usable size 10 throughout: request, full flag -> usable size afterwards.
    struct {
        const char* what;
        DWORD needed;
        bool full;
        DWORD expected;
    } cases[] = {
        {"zero bytes keep the block", 0, false, 10},        {"a request that fits keeps it", 10, false, 10},
        {"one byte more doubles", 11, false, 20},           {"2.5 times grows to 3 times", 25, false, 30},
        {"zero bytes of a full block double", 0, true, 20}, {"a fitting request of a full block doubles", 4, true, 20},
    };
    for (const auto& c : cases) {
        SetUp();
        t_textSource source("0123456789");
        t_renewableMemory memory(&source, base.c_str(), counter, nullptr, false);
        std::string text;
        ASSERT_TRUE(AcquireText(memory, 0, text)) << Lines(errors);
        source.full = c.full;
        ASSERT_TRUE(AcquireText(memory, c.needed, text)) << c.what << " " << Lines(errors);
        EXPECT_EQ(c.expected, memory.DataSize()) << c.what;
        EXPECT_EQ("0123456789", text.substr(0, 10)) << c.what;
        EXPECT_EQ(std::string(c.expected - 10, '\0'), text.substr(10)) << c.what;
        EXPECT_EQ(c.expected != 10, source.copies == 1) << c.what;
    }
}

TEST_F(RenewableMemory, EmptyBlockGrowsToTheRequest)
{
    // Doubling cannot grow an empty block; it must still end, with the room asked for.
    t_textSource source("");
    t_renewableMemory memory(&source, base.c_str(), counter, nullptr, false);
    std::string text;
    ASSERT_TRUE(AcquireText(memory, 0, text)) << Lines(errors);
    EXPECT_EQ(0u, memory.DataSize());
    ASSERT_TRUE(AcquireText(memory, 100, text)) << Lines(errors);
    EXPECT_EQ(100u, memory.DataSize());

    // An empty block that reports itself full gets some room too.
    t_textSource fullSource("");
    fullSource.full = true;
    t_renewableMemory full(&fullSource, (base + L"_full").c_str(), 254, nullptr, false);
    BYTE* data = nullptr;
    t_lockerMemSharable locker;
    ASSERT_TRUE(locker.Lock(errors));
    ASSERT_TRUE(full.Acquire(errors, locker, data, 0)) << Lines(errors);
    EXPECT_EQ(t_renewableMemory::c_trailerSize, full.DataSize());
}

TEST_F(RenewableMemory, GrowthIsSeenByAnotherHolder)
{
    t_textSource source("abc");
    t_renewableMemory a(&source, base.c_str(), counter, nullptr, false);
    t_renewableMemory b(&source, base.c_str(), counter, nullptr, false);
    std::string text;
    ASSERT_TRUE(AcquireText(a, 0, text));
    ASSERT_TRUE(AcquireText(b, 0, text));
    // Merges of the old generation moved its version word past the next generation's number.
    for (int i = 0; i < 5; ++i)
        a.BumpVersion();
    DWORD oldVersion = b.Version();

    {
        t_lockerMemSharable locker;
        ASSERT_TRUE(locker.Lock(errors));
        BYTE* data = nullptr;
        ASSERT_TRUE(a.Acquire(errors, locker, data, 40)) << Lines(errors);
        memcpy(data, "grown data", 10);
    }
    // b still holds the old generation, whose version word moved.
    EXPECT_NE(oldVersion, b.Version());
    EXPECT_EQ(3u, b.DataSize());
    ASSERT_TRUE(AcquireText(b, 0, text)) << Lines(errors);
    EXPECT_EQ(a.DataSize(), b.DataSize());
    EXPECT_EQ("grown data", text.substr(0, 10));
    EXPECT_STREQ(a.MappingName(), b.MappingName());
    EXPECT_EQ(1, source.loads);
    // The version word never goes back: a copy that matched the old block must not match.
    EXPECT_GT(b.Version(), oldVersion);
}

TEST_F(RenewableMemory, GrowthFailsWhenTheNextGenerationExists)
{
    t_textSource source("keep me");
    t_renewableMemory memory(&source, base.c_str(), counter, nullptr, false);
    std::string text;
    ASSERT_TRUE(AcquireText(memory, 0, text));

    // Someone already holds the name of the next generation.
    wchar_t next[t_renewableMemory::c_nameCapacity];
    memory.GenerationName(t_versionReg::Read(counter) + 1, next);
    t_shareMem_t<t_lockerMemSharable> squatter;
    ASSERT_TRUE(squatter.Create(errors, next, 16, false));

    t_lockerMemSharable locker;
    ASSERT_TRUE(locker.Lock(errors));
    BYTE* data = nullptr;
    EXPECT_FALSE(memory.Acquire(errors, locker, data, 100));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(L"Resize失败，创建临时内存失败|扩容失败", Lines(errors));
    EXPECT_EQ(7u, memory.DataSize());
    EXPECT_EQ(0, memcmp(memory.GetData(locker), "keep me", 7));
}

TEST_F(RenewableMemory, FailuresLeaveNothingHalfMade)
{
    t_textSource source("x");
    source.failLoad = true;
    t_renewableMemory memory(&source, base.c_str(), counter, nullptr, false);
    std::string text;
    EXPECT_FALSE(AcquireText(memory, 0, text));
    EXPECT_FALSE(memory.IsValid());
    EXPECT_EQ(L"no data|加载文件失败|检查数据更新失败（t_versionReg::t_interface::CheckVersion）", Lines(errors));

    // Once the source can load, the next acquire builds the block.
    source.failLoad = false;
    errors.Reset();
    ASSERT_TRUE(AcquireText(memory, 0, text)) << Lines(errors);
    EXPECT_EQ("x", text);

    t_renewableMemory orphan(nullptr, base.c_str(), counter, nullptr, false);
    errors.Reset();
    EXPECT_FALSE(orphan.Renew(errors, 1));
    EXPECT_EQ(L"共享内存不合法！", Lines(errors));
}
