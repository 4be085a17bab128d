#include "foundation/core/hash_map.h"

#include "tests/support/alloc_probe.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> MakeKeys(int n)
{
    std::vector<std::wstring> keys;
    for (int i = 0; i < n; ++i)
        keys.push_back(L"key" + std::to_wstring(i));
    return keys;
}

template <class TMap>
t_wideKeyNode* Insert(TMap& map, const std::wstring& key, int value)
{
    bool inserted = false;
    t_wideKeyNode* node = map.FindOrInsert(key.c_str(), &inserted);
    if (node)
        node->value = reinterpret_cast<void*>(static_cast<intptr_t>(value));
    return inserted ? node : nullptr;
}

// Inserts keys[0..n) with their index as value; how many went in before the first refusal.
template <class TMap>
int InsertFirst(TMap& map, const std::vector<std::wstring>& keys, int n)
{
    int i = 0;
    while (i < n && Insert(map, keys[i], i))
        ++i;
    return i;
}

int ValueOf(const t_wideKeyNode* node) { return static_cast<int>(reinterpret_cast<intptr_t>(node->value)); }

TEST(HashMapTest, HashIsElfOverAsciiLowerCase)
{
    struct {
        const wchar_t* text;
        unsigned hash;
    } const cases[] = {
        {L"abc", 0x6783},
        {L"ABC", 0x6783},
        {L"Setting", 0x9cbb037},
        {L"SETTING", 0x9cbb037},
        {L"Ä", 0xc4},
        {L"ä", 0xe4},
        {L"GlobalFontNameForSkinWindow", 0x88bac27},
        {L"", 0},
        {nullptr, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hash, HashTextNoCase(c.text)) << (c.text ? c.text : L"(null)");
}

TEST(HashMapTest, BucketCountForSizesForThreeQuartersLoad)
{
    struct {
        unsigned n;
        unsigned buckets;
    } const cases[] = {
        {0, 17},
        {12, 17},
        {13, 17},
        {14, 23},
        {39, 53},
        {40, 53},
        {41, 67},
        {9987066, 13316089},   // 13316088 -> the last prime
        {10000000, 13333333},  // past the table: the size itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.buckets, HashBucketCountFor(c.n, 0.75f)) << c.n;
}

TEST(HashMapTest, NewMapGrowsAtThe39thInsertion)
{
    t_hashMap map;
    EXPECT_EQ(17u, map.BucketCount());
    EXPECT_EQ(38, map.GrowThreshold());
    EXPECT_EQ(0, map.ShrinkThreshold());

    const std::vector<std::wstring> keys = MakeKeys(39);
    ASSERT_EQ(38, InsertFirst(map, keys, 38));
    EXPECT_EQ(17u, map.BucketCount());
    ASSERT_NE(nullptr, Insert(map, keys[38], 38));
    EXPECT_EQ(53u, map.BucketCount());
    EXPECT_EQ(119, map.GrowThreshold());
    EXPECT_EQ(0, map.ShrinkThreshold());  // 13 is below 17
    EXPECT_EQ(39u, map.Count());
    for (int i = 0; i < 39; ++i) {
        t_wideKeyNode* node = map.Find(keys[i].c_str());
        ASSERT_NE(nullptr, node) << i;
        EXPECT_EQ(i, ValueOf(node));
    }
}

TEST(HashMapTest, KeysDifferingOnlyInAsciiCaseAreOneKey)
{
    struct {
        const wchar_t* stored;
        const wchar_t* looked;
        bool same;
    } const cases[] = {
        {L"Setting", L"SETTING", true}, {L"skin.ini", L"Skin.INI", true}, {L"", L"", true}, {L"Ä", L"ä", false},
        {L"abc", L"abd", false},        {L"ab", L"abc", false},
    };
    for (const auto& c : cases) {
        t_hashMap map;
        t_wideKeyNode* stored = map.FindOrInsert(c.stored);
        ASSERT_NE(nullptr, stored);
        bool inserted = false;
        t_wideKeyNode* looked = map.FindOrInsert(c.looked, &inserted);
        EXPECT_EQ(c.same, looked == stored) << c.stored << L" / " << c.looked;
        EXPECT_EQ(c.same ? 1u : 2u, map.Count()) << c.stored;
        EXPECT_STREQ(c.stored, stored->key);  // the first spelling stays
    }
    t_hashMap map;
    EXPECT_EQ(nullptr, map.FindOrInsert(nullptr));
    EXPECT_EQ(0u, map.Count());
}

TEST(HashMapTest, IterationVisitsEveryNodeOnceInBucketOrder)
{
    t_hashMap map;
    EXPECT_TRUE(map.Begin().Equals(map.End()));
    map.Rehash(23);  // before the first insertion only the size changes
    EXPECT_EQ(23u, map.BucketCount());
    EXPECT_TRUE(map.Begin().Equals(map.End()));

    const std::vector<std::wstring> keys = MakeKeys(100);
    ASSERT_EQ(100, InsertFirst(map, keys, 100));
    std::set<int> seen;
    unsigned lastBucket = 0;
    for (t_hashMap::t_iterator it = map.Begin(); it.NotEquals(map.End()); it.Next()) {
        const unsigned bucket = it.Node()->hash % map.BucketCount();
        EXPECT_GE(bucket, lastBucket);
        lastBucket = bucket;
        EXPECT_TRUE(seen.insert(ValueOf(it.Node())).second);
    }
    EXPECT_EQ(100u, seen.size());

    map.Clear();
    EXPECT_TRUE(map.Begin().Equals(map.End()));
}

TEST(HashMapTest, RemovalShrinksAndReleasesThePoolsAtZero)
{
    t_allocProbe probe;
    t_hashMap map(probe.Triple());
    const std::vector<std::wstring> keys = MakeKeys(200);
    ASSERT_EQ(200, InsertFirst(map, keys, 200));
    EXPECT_EQ(163u, map.BucketCount());  // 120 / 0.75 = 160
    EXPECT_EQ(40, map.ShrinkThreshold());

    // Removal in a scattered order takes nodes from heads, middles and tails
    // of chains; the rest stays reachable.
    std::vector<bool> present(200, true);
    for (int i = 0; i < 161; ++i) {
        const int k = i * 37 % 200;  // 37 and 200 are coprime: all distinct
        map.Remove(map.Find(keys[k].c_str()));
        present[k] = false;
    }
    EXPECT_EQ(39u, map.Count());
    EXPECT_EQ(53u, map.BucketCount());  // fell below 40: sized for 39
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(present[i], map.Find(keys[i].c_str()) != nullptr) << i;

    for (int i = 0; i < 200; ++i) {
        if (present[i])
            map.Remove(map.Find(keys[i].c_str()));
    }
    EXPECT_EQ(0u, map.Count());
    EXPECT_EQ(53u, map.BucketCount());  // 53 buckets have no shrink threshold
    EXPECT_EQ(1, probe.live);           // only the bucket array; node pools went at zero
    ASSERT_NE(nullptr, Insert(map, keys[0], 0));
    map.Remove(nullptr);  // ignored
    EXPECT_EQ(1u, map.Count());
}

TEST(HashMapTest, ClearKeepsTheBucketCountAndFreesEverything)
{
    t_allocProbe probe;
    {
        t_hashMap map(probe.Triple());
        const std::vector<std::wstring> keys = MakeKeys(60);
        ASSERT_EQ(60, InsertFirst(map, keys, 60));
        map.Clear();
        EXPECT_EQ(0u, map.Count());
        EXPECT_EQ(53u, map.BucketCount());
        EXPECT_EQ(0, probe.live);
        EXPECT_EQ(nullptr, map.Find(keys[0].c_str()));
        ASSERT_NE(nullptr, Insert(map, keys[5], 5));
        EXPECT_EQ(5, ValueOf(map.Find(L"KEY5")));
    }
    EXPECT_EQ(0, probe.live);  // the destructor clears
}

TEST(HashMapTest, FailedAllocationLeavesTheMapUnchanged)
{
    // budget: allocations that succeed before the refused one; inserted: keys
    // that go in first; then one more key is tried.
    struct {
        const char* what;
        int inserted;
        int budget;
        bool lastSucceeds;
        unsigned buckets;
    } const cases[] = {
        {"bucket array", 0, 0, false, 17},
        {"first pool", 0, 1, false, 17},
        {"eleventh node's pool", 10, 0, false, 17},
        {"growth table (insertion stands)", 38, 0, true, 17},
    };
    for (const auto& c : cases) {
        t_allocProbe probe;
        t_hashMap map(probe.Triple());
        const std::vector<std::wstring> keys = MakeKeys(c.inserted + 1);
        ASSERT_EQ(c.inserted, InsertFirst(map, keys, c.inserted)) << c.what;
        probe.budget = c.budget;
        EXPECT_EQ(c.lastSucceeds, Insert(map, keys[c.inserted], 99) != nullptr) << c.what;
        EXPECT_EQ(c.inserted + (c.lastSucceeds ? 1u : 0u), map.Count()) << c.what;
        EXPECT_EQ(c.buckets, map.BucketCount()) << c.what;
        EXPECT_EQ(c.lastSucceeds, map.Find(keys[c.inserted].c_str()) != nullptr) << c.what;
        for (int i = 0; i < c.inserted; ++i)
            EXPECT_EQ(i, ValueOf(map.Find(keys[i].c_str()))) << c.what;
        // Once memory returns the map carries on.
        probe.budget = -1;
        EXPECT_NE(nullptr, map.FindOrInsert(L"later")) << c.what;
    }
}

TEST(HashMapTest, ArenaMapCopiesKeysAndTakesAllMemoryFromTheArena)
{
    t_allocProbe probe;
    t_heap heap(0x8000, probe.Triple());
    t_heapHashMap* map = new t_heapHashMap(&heap);
    const std::vector<std::wstring> keys = MakeKeys(500);
    for (int i = 0; i < 500; ++i) {
        wchar_t buffer[32];
        wcscpy(buffer, keys[i].c_str());
        ASSERT_NE(nullptr, map->FindOrInsert(buffer));
        buffer[0] = L'X';  // the map holds its own copy
    }
    for (int i = 0; i < 500; ++i)
        ASSERT_NE(nullptr, map->Find(keys[i].c_str())) << i;
    EXPECT_EQ(500u, map->Count());
    for (size_t size : probe.requests)
        EXPECT_EQ(0x8000u + t_heap::c_blockHeader, size);  // arena blocks only

    map->Remove(map->Find(L"key7"));
    EXPECT_EQ(nullptr, map->Find(L"key7"));
    // The arena owns everything: freeing it first leaves the map nothing to free.
    heap.FreeAll();
    EXPECT_EQ(0, probe.live);
    delete map;

    // An arena that cannot grow refuses the insertion.
    t_heapHashMap small(&heap);
    probe.budget = 0;
    EXPECT_EQ(nullptr, small.FindOrInsert(L"k"));
    EXPECT_EQ(0u, small.Count());
}

TEST(HashMapTest, EnvironmentKeysMatchByIdElseByName)
{
    struct {
        t_envKey stored;
        t_envKey looked;
        bool same;
    } const cases[] = {
        {{5, L"FontName"}, {5, L"Other"}, true},  // both ids set: the id decides
        {{5, L"FontName"}, {6, L"FontName"}, false},
        {{0, L"FontName"}, {0, L"FONTNAME"}, true},  // no id: the name, ignoring case
        {{0, L"FontName"}, {0, L"FontSize"}, false},
        {{5, L"FontName"}, {0, L"FontName"}, false},  // hashes 5 and the name's differ
    };
    for (const auto& c : cases) {
        t_heap heap(0x4000);
        t_envKeyMap map(&heap);
        t_envKeyNode* stored = map.FindOrInsert(c.stored);
        ASSERT_NE(nullptr, stored);
        EXPECT_NE(c.stored.name, stored->name);  // copied into the arena
        EXPECT_STREQ(c.stored.name, stored->name);
        EXPECT_EQ(c.same, map.Find(c.looked) == stored) << c.stored.name << L"/" << c.looked.name;
    }
}

TEST(HashMapTest, UnsignedKeysInsertFindAndRemove)
{
    t_allocProbe probe;
    t_uintHashMap map(probe.Triple());
    for (unsigned k = 0; k < 1000; ++k) {
        t_uintKeyNode* node = map.FindOrInsert(k * 17);
        ASSERT_NE(nullptr, node);
        node->value = reinterpret_cast<void*>(static_cast<uintptr_t>(k));
    }
    for (unsigned k = 0; k < 1000; k += 2)
        map.Remove(map.Find(k * 17));
    EXPECT_EQ(500u, map.Count());
    for (unsigned k = 0; k < 1000; ++k) {
        t_uintKeyNode* node = map.Find(k * 17);
        if (k % 2 == 0) {
            EXPECT_EQ(nullptr, node) << k;
        } else {
            ASSERT_NE(nullptr, node) << k;
            EXPECT_EQ(k, reinterpret_cast<uintptr_t>(node->value));
        }
    }
    EXPECT_EQ(nullptr, map.Find(1));
}

}  // namespace
