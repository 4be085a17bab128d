#include "foundation/core/heap_ptr_array.h"

#include "tests/support/alloc_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Items(const t_heapPtrArray& array)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < array.Count(); ++i)
        items.push_back(array[i]);
    return items;
}

TEST(HeapPtrArrayTest, InsertRemoveAndFindKeepTheOrder)
{
    t_heap heap(0x8000);
    t_heapPtrArray lines(&heap);
    EXPECT_EQ(-1, lines.IndexOf(L"a"));
    ASSERT_TRUE(lines.Append(L"b"));
    ASSERT_TRUE(lines.InsertAt(0, L"a"));  // front
    ASSERT_TRUE(lines.InsertAt(2, L"d"));  // at the count: the end
    ASSERT_TRUE(lines.InsertAt(2, L"c"));  // middle
    EXPECT_FALSE(lines.InsertAt(5, L"x"));
    EXPECT_FALSE(lines.InsertAt(-1, L"x"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c", L"d"}), Items(lines));

    EXPECT_EQ(2, lines.IndexOf(L"c"));
    EXPECT_EQ(-1, lines.IndexOf(L"C"));  // exact text only
    EXPECT_EQ(-1, lines.IndexOf(nullptr));

    ASSERT_TRUE(lines.RemoveAt(1));
    ASSERT_TRUE(lines.RemoveAt(2));  // last
    EXPECT_FALSE(lines.RemoveAt(2));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c"}), Items(lines));

    lines.Reset();
    EXPECT_EQ(0, lines.Count());
    EXPECT_EQ(0, lines.Capacity());
    ASSERT_TRUE(lines.Append(L"again"));
    EXPECT_EQ((std::vector<std::wstring>{L"again"}), Items(lines));
}

TEST(HeapPtrArrayTest, GrowsByDoublingInArenaBlocksThatStayInTheArena)
{
    t_allocProbe probe;
    t_heap heap(0x8000, probe.Triple());
    t_heapPtrArray lines(&heap);
    std::vector<std::wstring> texts;
    for (int i = 0; i < 100; ++i)
        texts.push_back(L"line" + std::to_wstring(i));
    std::vector<int> steps;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(lines.Append(texts[i].c_str()));
        if (steps.empty() || steps.back() != lines.Capacity())
            steps.push_back(lines.Capacity());
    }
    EXPECT_EQ((std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128}), steps);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(texts[i], lines[i]);
    EXPECT_EQ(1u, probe.requests.size());  // all blocks fit in one arena block
    EXPECT_EQ(0u, probe.freed.size());
}

TEST(HeapPtrArrayTest, ArenaFailureLeavesTheArrayUnchanged)
{
    t_allocProbe probe;
    t_heap heap(0x10, probe.Triple());
    t_heapPtrArray lines(&heap);
    ASSERT_TRUE(lines.Append(L"one"));
    ASSERT_TRUE(lines.Append(L"two"));
    probe.budget = 0;
    EXPECT_FALSE(lines.InsertAt(0, L"zero"));  // needs a block of 4 items: no room
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), Items(lines));
    EXPECT_EQ(2, lines.Capacity());
}

}  // namespace
