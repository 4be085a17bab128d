// Hash map with pooled nodes, in a few key variants that share one growth
// mechanism: wide keys over an allocation triple or in an arena, environment
// entry keys (id and name) and unsigned keys.
#pragma once

#include "foundation/core/alloc.h"
#include "foundation/core/heap.h"

#include <cstddef>
#include <cstring>

// ELF (PJW) hash over the UTF-16 units with "A".."Z" folded to lower case;
// null hashes like the empty text.
unsigned HashTextNoCase(const wchar_t* text);
// Equality ignoring case through the C library's compare; null equals only null.
bool TextEqualsNoCase(const wchar_t* a, const wchar_t* b);
// Bucket count sized for n elements at the given load: 17 at least, else the
// first prime of the table not below n / load, else n / load itself.
unsigned HashBucketCountFor(unsigned n, float sizingLoad);

// Memory of a map taken through an allocation triple; keys are kept, not copied.
class t_hashMemTriple {
public:
    static const bool c_ownsBlocks = true;

    explicit t_hashMemTriple(const TAllocDefault& triple = TAllocDefault()) : m_triple(triple) {}

    void* Alloc(size_t n) { return m_triple.Allocate(n); }
    void Release(void* block)
    {
        if (block)
            m_triple.Free(block);
    }
    const wchar_t* KeepText(const wchar_t* text) { return text; }

private:
    TAllocDefault m_triple;
};

// Memory of a map taken from an arena: each block carries a leading 32-bit
// byte count, keys are copied into the arena, and nothing is freed singly.
class t_hashMemHeap {
public:
    static const bool c_ownsBlocks = false;

    explicit t_hashMemHeap(t_heap* heap) : m_heap(heap) {}

    void* Alloc(size_t n);
    void Release(void*) {}
    const wchar_t* KeepText(const wchar_t* text) { return m_heap->StrDup(text); }
    t_heap* Heap() const { return m_heap; }

private:
    t_heap* m_heap;
};

// Key rules: hash, match and store of one key kind with its node layout.
struct t_wideKeyNode {
    const wchar_t* key;
    void* value;
    t_wideKeyNode* next;
    unsigned hash;
};

struct t_wideKeyRules {
    typedef const wchar_t* t_key;
    typedef t_wideKeyNode t_node;

    static bool IsValid(t_key key) { return key != nullptr; }
    static unsigned Hash(t_key key) { return HashTextNoCase(key); }
    static bool Matches(const t_node* node, t_key key, unsigned hash)
    {
        return node->hash == hash && TextEqualsNoCase(node->key, key);
    }
    template <class TMem>
    static bool Store(t_node* node, t_key key, TMem& mem)
    {
        node->key = mem.KeepText(key);
        return node->key != nullptr;
    }
};

// Key of an environment entry: a non-zero id decides alone; else the name.
struct t_envKey {
    int id;
    const wchar_t* name;
};

struct t_envKeyNode {
    int id;
    const wchar_t* name;
    void* value;
    t_envKeyNode* next;
    unsigned hash;
};

struct t_envKeyRules {
    typedef t_envKey t_key;
    typedef t_envKeyNode t_node;

    static bool IsValid(const t_key& key) { return key.id != 0 || key.name != nullptr; }
    static unsigned Hash(const t_key& key)
    {
        return key.id != 0 ? static_cast<unsigned>(key.id) : HashTextNoCase(key.name);
    }
    static bool Matches(const t_node* node, const t_key& key, unsigned hash)
    {
        if (node->hash != hash)
            return false;
        if (node->id != 0 && key.id != 0)
            return node->id == key.id;
        return TextEqualsNoCase(node->name, key.name);
    }
    template <class TMem>
    static bool Store(t_node* node, const t_key& key, TMem& mem)
    {
        node->id = key.id;
        node->name = key.name ? mem.KeepText(key.name) : nullptr;
        return node->name != nullptr || key.name == nullptr;
    }
};

struct t_uintKeyNode {
    unsigned key;
    void* value;
    t_uintKeyNode* next;
    unsigned hash;
};

struct t_uintKeyRules {
    typedef unsigned t_key;
    typedef t_uintKeyNode t_node;

    static bool IsValid(t_key) { return true; }
    static unsigned Hash(t_key key) { return key; }
    static bool Matches(const t_node* node, t_key key, unsigned hash) { return node->hash == hash && node->key == key; }
    template <class TMem>
    static bool Store(t_node* node, t_key key, TMem&)
    {
        node->key = key;
        return true;
    }
};

// The map itself. The table grows when the count passes 2.25 x the bucket
// count, shrinks below 0.25 x, and a resize sizes it for 0.75 per bucket.
// Nodes come from pool blocks of 10 and return to a free list.
template <class TRules, class TMem>
class t_hashMapT {
public:
    typedef typename TRules::t_key t_key;
    typedef typename TRules::t_node t_node;

    // Where a key lives or would be inserted: by-products of Find.
    struct t_place {
        unsigned bucket;
        unsigned hash;
        t_node* prev;  // chain predecessor of the found node, null at the head
    };

    class t_iterator {
    public:
        t_iterator(t_node* node, const t_hashMapT* map) : m_node(node), m_map(map) {}

        // Chain successor, else the head of the next non-empty bucket, else null.
        void Next()
        {
            if (!m_node)
                return;
            if (m_node->next) {
                m_node = m_node->next;
                return;
            }
            m_node = m_map->FirstFrom(m_node->hash % m_map->m_bucketCount + 1);
        }
        t_node* Node() const { return m_node; }
        bool Equals(const t_iterator& other) const { return m_node == other.m_node; }
        bool NotEquals(const t_iterator& other) const { return m_node != other.m_node; }

    private:
        t_node* m_node;
        const t_hashMapT* m_map;
    };

    explicit t_hashMapT(const TMem& mem) : m_mem(mem) { Init(mem); }
    ~t_hashMapT()
    {
        // An arena map leaves all its memory to the arena, which may be gone.
        if (TMem::c_ownsBlocks)
            Clear();
    }

    t_hashMapT(const t_hashMapT&) = delete;
    t_hashMapT& operator=(const t_hashMapT&) = delete;

    // Empties the map and starts afresh over the given memory.
    void Init(const TMem& mem)
    {
        if (m_initialised)
            Clear();
        m_initialised = true;
        m_mem = mem;
        m_buckets = nullptr;
        m_count = 0;
        m_bucketCount = c_minBuckets;
        m_sizingLoad = 0.75f;
        m_shrinkLoad = 0.25f;
        m_growLoad = 2.25f;
        m_growThreshold = -1;
        m_shrinkThreshold = 0;
        m_suspend = 0;
        m_nodesPerBlock = 10;
        m_pools = nullptr;
        m_free = nullptr;
        UpdateThresholds();
    }

    t_node* Find(const t_key& key, t_place* place = nullptr) const
    {
        if (!TRules::IsValid(key))
            return nullptr;
        const unsigned hash = TRules::Hash(key);
        const unsigned bucket = hash % m_bucketCount;
        t_node* prev = nullptr;
        t_node* node = m_buckets ? m_buckets[bucket] : nullptr;
        while (node && !TRules::Matches(node, key, hash)) {
            prev = node;
            node = node->next;
        }
        if (place) {
            place->bucket = bucket;
            place->hash = hash;
            place->prev = node ? prev : nullptr;
        }
        return node;
    }

    // Links a new node for the key (the caller stores the value). The bucket
    // and hash come from a Find with no change in between. Null, with the map
    // unchanged, when memory runs out.
    t_node* InsertNode(unsigned bucket, const t_key& key, unsigned hash)
    {
        if (!TRules::IsValid(key))
            return nullptr;
        if (!m_buckets && !(m_buckets = NewBuckets(m_bucketCount)))
            return nullptr;
        if (!m_free && !AddPool())
            return nullptr;
        t_node* node = m_free;
        if (!TRules::Store(node, key, m_mem))
            return nullptr;
        m_free = node->next;
        if (bucket >= m_bucketCount || bucket != hash % m_bucketCount)
            bucket = hash % m_bucketCount;
        node->hash = hash;
        node->value = nullptr;
        node->next = m_buckets[bucket];
        m_buckets[bucket] = node;
        ++m_count;
        if (m_suspend == 0 && static_cast<long long>(m_count) > m_growThreshold)
            Rehash(BucketCountFor(m_count));  // a failed resize keeps the old table
        return node;
    }

    // The node of the key, inserted (value null) when missing.
    t_node* FindOrInsert(const t_key& key, bool* inserted = nullptr)
    {
        t_place place;
        t_node* node = Find(key, &place);
        if (inserted)
            *inserted = false;
        if (node || !TRules::IsValid(key))
            return node;
        node = InsertNode(place.bucket, key, place.hash);
        if (inserted)
            *inserted = node != nullptr;
        return node;
    }

    // Unlinks a node of this map and returns it to the free list.
    void Remove(t_node* node)
    {
        if (!node || !m_buckets)
            return;
        t_node** link = &m_buckets[node->hash % m_bucketCount];
        while (*link && *link != node)
            link = &(*link)->next;
        if (!*link)
            return;
        *link = node->next;
        node->next = m_free;
        m_free = node;
        --m_count;
        if (m_count == 0)
            ReleasePools();
        if (m_suspend == 0 && static_cast<long long>(m_count) < m_shrinkThreshold)
            Rehash(BucketCountFor(m_count));
    }

    // Re-sizes the table to n buckets (0: sized for the count). False when the
    // new table cannot be allocated; the map is then unchanged.
    bool Rehash(unsigned n)
    {
        if (n == 0)
            n = BucketCountFor(m_count);
        if (n == m_bucketCount)
            return true;
        if (m_buckets) {
            t_node** buckets = NewBuckets(n);
            if (!buckets)
                return false;
            for (unsigned i = 0; i < m_bucketCount; ++i) {
                t_node* node = m_buckets[i];
                while (node) {
                    t_node* next = node->next;
                    t_node** head = &buckets[node->hash % n];
                    node->next = *head;
                    *head = node;
                    node = next;
                }
            }
            m_mem.Release(m_buckets);
            m_buckets = buckets;
        }
        m_bucketCount = n;
        UpdateThresholds();
        return true;
    }

    unsigned BucketCountFor(unsigned n) const { return HashBucketCountFor(n, m_sizingLoad); }

    void UpdateThresholds()
    {
        m_growThreshold = Threshold(m_growLoad);
        m_shrinkThreshold = Threshold(m_shrinkLoad);
        if (m_shrinkThreshold < static_cast<int>(c_minBuckets))
            m_shrinkThreshold = 0;
    }

    // Empties the map; the bucket count keeps its value.
    void Clear()
    {
        ++m_suspend;
        if (m_buckets) {
            for (unsigned i = 0; i < m_bucketCount; ++i) {
                while (t_node* node = m_buckets[i]) {
                    m_buckets[i] = node->next;
                    node->next = m_free;
                    m_free = node;
                    --m_count;
                }
            }
            m_mem.Release(m_buckets);
            m_buckets = nullptr;
        }
        m_count = 0;
        ReleasePools();
        --m_suspend;
    }

    t_iterator Begin() const { return t_iterator(FirstFrom(0), this); }
    t_iterator End() const { return t_iterator(nullptr, this); }

    unsigned Count() const { return m_count; }
    unsigned BucketCount() const { return m_bucketCount; }
    int GrowThreshold() const { return m_growThreshold; }
    int ShrinkThreshold() const { return m_shrinkThreshold; }

private:
    static const unsigned c_minBuckets = 17;

    // A pool block is a link word to the previous block followed by the nodes.
    struct t_pool {
        t_pool* prev;
    };

    int Threshold(float load) const
    {
        const double t = static_cast<double>(m_bucketCount) * load;
        return t >= 2147483647.0 ? 2147483647 : static_cast<int>(t);
    }

    t_node** NewBuckets(unsigned n)
    {
        if (n == 0 || n > (static_cast<size_t>(-1) >> 4) / sizeof(t_node*))
            return nullptr;
        t_node** buckets = static_cast<t_node**>(m_mem.Alloc(n * sizeof(t_node*)));
        if (buckets)
            memset(buckets, 0, n * sizeof(t_node*));
        return buckets;
    }

    bool AddPool()
    {
        t_pool* pool = static_cast<t_pool*>(m_mem.Alloc(sizeof(t_pool) + m_nodesPerBlock * sizeof(t_node)));
        if (!pool)
            return false;
        pool->prev = m_pools;
        m_pools = pool;
        t_node* nodes = reinterpret_cast<t_node*>(pool + 1);
        for (unsigned i = m_nodesPerBlock; i-- > 0;) {
            nodes[i].next = m_free;
            m_free = &nodes[i];
        }
        return true;
    }

    void ReleasePools()
    {
        while (m_pools) {
            t_pool* prev = m_pools->prev;
            m_mem.Release(m_pools);
            m_pools = prev;
        }
        m_free = nullptr;
    }

    t_node* FirstFrom(unsigned bucket) const
    {
        if (!m_buckets)
            return nullptr;
        for (; bucket < m_bucketCount; ++bucket) {
            if (m_buckets[bucket])
                return m_buckets[bucket];
        }
        return nullptr;
    }

    bool m_initialised = false;
    t_node** m_buckets = nullptr;
    unsigned m_count = 0;
    unsigned m_bucketCount = c_minBuckets;
    float m_sizingLoad = 0.75f;
    float m_shrinkLoad = 0.25f;
    float m_growLoad = 2.25f;
    int m_growThreshold = -1;
    int m_shrinkThreshold = 0;
    unsigned m_suspend = 0;
    unsigned m_nodesPerBlock = 10;
    t_pool* m_pools = nullptr;
    t_node* m_free = nullptr;
    TMem m_mem;
};

// Wide keys kept by pointer, memory through a triple (the C library's by default).
class t_hashMap : public t_hashMapT<t_wideKeyRules, t_hashMemTriple> {
public:
    explicit t_hashMap(const TAllocDefault& triple = TAllocDefault())
        : t_hashMapT<t_wideKeyRules, t_hashMemTriple>(t_hashMemTriple(triple))
    {}
    void Init(const TAllocDefault& triple)
    {
        t_hashMapT<t_wideKeyRules, t_hashMemTriple>::Init(t_hashMemTriple(triple));
    }
};

// Wide keys copied into an arena that supplies all memory.
class t_heapHashMap : public t_hashMapT<t_wideKeyRules, t_hashMemHeap> {
public:
    explicit t_heapHashMap(t_heap* heap) : t_hashMapT<t_wideKeyRules, t_hashMemHeap>(t_hashMemHeap(heap)) {}
};

// Environment entry keys (id and name, name copied) in an arena.
class t_envKeyMap : public t_hashMapT<t_envKeyRules, t_hashMemHeap> {
public:
    explicit t_envKeyMap(t_heap* heap) : t_hashMapT<t_envKeyRules, t_hashMemHeap>(t_hashMemHeap(heap)) {}
};

// Unsigned keys, memory through a triple.
class t_uintHashMap : public t_hashMapT<t_uintKeyRules, t_hashMemTriple> {
public:
    explicit t_uintHashMap(const TAllocDefault& triple = TAllocDefault())
        : t_hashMapT<t_uintKeyRules, t_hashMemTriple>(t_hashMemTriple(triple))
    {}
};
