#include "foundation/core/heap.h"

#include "tests/support/alloc_probe.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const size_t c_header = t_heap::c_blockHeader;  // used count and link to the previous block

unsigned char* Bytes(void* p) { return static_cast<unsigned char*>(p); }

TEST(HeapTest, SmallRequestsShareOneBlockUntilItIsFull)
{
    t_allocProbe probe;
    t_heap heap(0x100, probe.Triple());
    unsigned char* a = Bytes(heap.Alloc(0x80));
    unsigned char* b = Bytes(heap.Alloc(0x7f));
    unsigned char* c = Bytes(heap.Alloc(1));  // exactly fills the block
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a + 0x80, b);  // bump allocation, no alignment
    EXPECT_EQ(a + 0xff, c);
    EXPECT_EQ(1u, probe.requests.size());
    EXPECT_EQ(0x100 + c_header, probe.requests[0]);

    unsigned char* d = Bytes(heap.Alloc(1));
    EXPECT_EQ(2u, probe.requests.size());
    EXPECT_NE(a, d);
}

TEST(HeapTest, OversizedRequestGetsItsOwnFullBlock)
{
    t_allocProbe probe;
    t_heap heap(0x8000, probe.Triple());
    ASSERT_NE(nullptr, heap.Alloc(16));
    unsigned char* big = Bytes(heap.Alloc(0x9000));
    ASSERT_NE(nullptr, big);
    memset(big, 0xAB, 0x9000);  // the whole request is usable
    unsigned char* next = Bytes(heap.Alloc(16));
    ASSERT_NE(nullptr, next);

    const std::vector<size_t> expected = {0x8000 + c_header, 0x9000 + c_header, 0x8000 + c_header};
    EXPECT_EQ(expected, probe.requests);
    EXPECT_FALSE(next >= big && next < big + 0x9000);
}

TEST(HeapTest, ResetKeepsOnlyTheOldestBlockEmpty)
{
    t_allocProbe probe;
    {
        t_heap heap(0x100, probe.Triple());
        unsigned char* first = Bytes(heap.Alloc(0x100));
        heap.Alloc(0x100);
        heap.Alloc(0x200);
        ASSERT_EQ(3, probe.live);

        heap.Reset();
        EXPECT_EQ(1, probe.live);
        EXPECT_EQ(2u, probe.freed.size());
        // The next allocation reuses the oldest block from its start.
        EXPECT_EQ(first, Bytes(heap.Alloc(0x10)));
        EXPECT_EQ(first + 0x10, Bytes(heap.Alloc(0x10)));
        heap.Clear();
        EXPECT_EQ(first, Bytes(heap.Alloc(0x10)));
        EXPECT_EQ(1, probe.live);
    }
    EXPECT_EQ(0, probe.live);  // the destructor frees the rest
}

TEST(HeapTest, FreeAllReleasesNewestFirstAndTheArenaStaysUsable)
{
    t_allocProbe probe;
    t_heap heap(0x40, probe.Triple());
    unsigned char* blocks[3];
    for (unsigned char*& b : blocks)
        b = Bytes(heap.Alloc(0x40)) - c_header;
    heap.FreeAll();
    const std::vector<void*> expected = {blocks[2], blocks[1], blocks[0]};
    EXPECT_EQ(expected, probe.freed);
    EXPECT_EQ(0, probe.live);
    heap.FreeAll();  // nothing left to free
    EXPECT_NE(nullptr, heap.Alloc(4));
    EXPECT_EQ(1, probe.live);
}

TEST(HeapTest, FailedAllocationReturnsNullAndLeavesTheArenaAsItWas)
{
    t_allocProbe probe;
    t_heap heap(0x20, probe.Triple());
    unsigned char* a = Bytes(heap.Alloc(0x10));
    probe.budget = 0;
    EXPECT_EQ(nullptr, heap.Alloc(0x40));
    EXPECT_EQ(nullptr, heap.StrDup(L"a text longer than what is left"));
    // The current block is still the old one and serves what fits.
    EXPECT_EQ(a + 0x10, Bytes(heap.Alloc(0x10)));
    // Sizes past the arena's limit are refused without asking.
    probe.budget = -1;
    const size_t asked = probe.requests.size();
    EXPECT_EQ(nullptr, heap.Alloc(0xFFFFFFFFu));
    EXPECT_EQ(nullptr, heap.Alloc(t_heap::c_maxRequest + 1));
    EXPECT_EQ(nullptr, heap.StrDupN(L"x", 0x7FFFFFFFu));
    EXPECT_EQ(asked, probe.requests.size());
    // The limit itself is asked for (and here refused by the allocator, not by the arena).
    probe.budget = 0;
    EXPECT_EQ(nullptr, heap.Alloc(t_heap::c_maxRequest));
    ASSERT_EQ(asked + 1, probe.requests.size());
    EXPECT_EQ(t_heap::c_maxRequest + c_header, probe.requests.back());
}

TEST(HeapTest, StrDupCopiesIntoTheArena)
{
    t_heap heap(0x8000);
    wchar_t source[] = L"栖鹭 Skin";
    wchar_t* copy = heap.StrDup(source);
    ASSERT_NE(nullptr, copy);
    source[0] = L'X';
    EXPECT_STREQ(L"栖鹭 Skin", copy);
    EXPECT_STREQ(L"", heap.StrDup(L""));
    EXPECT_EQ(nullptr, heap.StrDup(nullptr));

    wchar_t* part = heap.StrDupN(L"section=value", 7);
    EXPECT_STREQ(L"section", part);
    EXPECT_EQ(nullptr, heap.StrDupN(nullptr, 3));
}

}  // namespace
