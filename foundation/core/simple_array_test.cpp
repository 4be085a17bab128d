#include "foundation/core/simple_array.h"

#include "tests/support/alloc_probe.h"
#include "foundation/core/str.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Capacities an array passes through while n elements are added one by one.
template <class TArray, class T>
std::vector<int> CapacitySteps(TArray& array, int n, const T& element)
{
    std::vector<int> steps;
    if (array.Capacity() != 0)
        steps.push_back(array.Capacity());
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(array.Add(element));
        if (steps.empty() || steps.back() != array.Capacity())
            steps.push_back(array.Capacity());
    }
    return steps;
}

TEST(SimpleArrayTest, GrowthDoublesFromOneOrFromTheInitialCapacity)
{
    int value = 7;
    {
        itl::ImmSimpleArray<int*> array;
        EXPECT_EQ((std::vector<int>{1, 2, 4, 8}), CapacitySteps(array, 8, &value));
    }
    {
        itl::ImmSimpleArray<int*> array(TAllocDefault(), 30);
        EXPECT_EQ(30, array.Capacity());
        EXPECT_EQ((std::vector<int>{30, 60, 120}), CapacitySteps(array, 120, &value));
        EXPECT_EQ(120, array.Count());
        EXPECT_EQ(&value, array[119]);
        // After Clear the initial capacity is the first step again.
        array.Clear();
        EXPECT_EQ(0, array.Capacity());
        EXPECT_EQ((std::vector<int>{30, 60}), CapacitySteps(array, 31, &value));
    }
}

TEST(SimpleArrayTest, StringElementsSurviveGrowthAndAreDestroyed)
{
    t_allocProbe probe;
    {
        itl::ImmSimpleArray<t_str> array(probe.Triple());
        std::vector<std::wstring> expected;
        for (int i = 0; i < 70; ++i) {
            // Short texts stay in each string's inline store, long ones on the heap.
            std::wstring text = L"第" + std::to_wstring(i) + L"行";
            if (i % 10 == 0)
                text += std::wstring(200, L'x');
            expected.push_back(text);
            ASSERT_TRUE(array.Add(t_str(text.c_str())));
        }
        ASSERT_EQ(70, array.Count());
        for (int i = 0; i < 70; ++i) {
            EXPECT_STREQ(expected[i].c_str(), array[i].c_str()) << i;
            EXPECT_EQ(static_cast<int>(expected[i].size()), array[i].Length());
        }
        EXPECT_EQ(5, array.Find(t_str(expected[5].c_str())));
        EXPECT_EQ(-1, array.Find(t_str(L"absent")));
    }
    EXPECT_EQ(0, probe.live);
}

TEST(SimpleArrayTest, LimitsAndAllocationFailureLeaveTheArrayUnchanged)
{
    // Over the limit the allocator is not asked; at the limit it is asked, for a block
    // whose byte size still fits in 31 bits.
    const int pointerLimit = itl::ImmSimpleArrayLimit<int*>::value;
    EXPECT_LE(uint64_t(pointerLimit) * sizeof(int*), 0x7fffffffu);
    struct {
        int initial;
        bool asked;
    } const pointerCases[] = {{-1, false}, {pointerLimit + 1, false}, {0x7fffffff, false}, {pointerLimit, true}};
    for (const auto& c : pointerCases) {
        t_allocProbe probe;
        probe.budget = 0;
        itl::ImmSimpleArray<int*> sized(probe.Triple(), c.initial);
        probe.requests.clear();
        EXPECT_FALSE(sized.Add(nullptr)) << c.initial;
        EXPECT_EQ(0, sized.Count());
        ASSERT_EQ(c.asked, !probe.requests.empty()) << c.initial;
        if (c.asked) {
            EXPECT_EQ(size_t(pointerLimit) * sizeof(int*), probe.requests[0]);
        }
    }
    const int stringLimit = itl::ImmSimpleArrayLimit<t_str>::value;
    EXPECT_LE(uint64_t(stringLimit) * sizeof(t_str), 0x7fffffffu);
    EXPECT_GT(uint64_t(stringLimit + 1) * sizeof(t_str), 0x7fffffffu);
    struct {
        int initial;
        bool asked;
    } const stringCases[] = {{stringLimit + 1, false}, {stringLimit, true}};
    for (const auto& c : stringCases) {
        t_allocProbe probe;
        probe.budget = 0;
        itl::ImmSimpleArray<t_str> sized(probe.Triple(), c.initial);
        probe.requests.clear();
        EXPECT_FALSE(sized.Add(t_str(L"x"))) << c.initial;
        ASSERT_EQ(c.asked, !probe.requests.empty()) << c.initial;
        if (c.asked) {
            EXPECT_EQ(size_t(stringLimit) * sizeof(t_str), probe.requests[0]);
        }
    }

    // A refused reallocation keeps what was there.
    t_allocProbe probe;
    itl::ImmSimpleArray<t_str> array(probe.Triple());
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(array.Add(t_str(L"kept")));
    probe.budget = 0;
    EXPECT_FALSE(array.Add(t_str(L"lost")));
    EXPECT_FALSE(array.Reserve(100));
    EXPECT_EQ(4, array.Count());
    EXPECT_EQ(4, array.Capacity());
    EXPECT_STREQ(L"kept", array[3].c_str());
    EXPECT_TRUE(array.Reserve(2));  // no growth needed
}

}  // namespace
