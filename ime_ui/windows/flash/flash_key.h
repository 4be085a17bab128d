// The key of a window's flash children and skin buttons: {window number, item type, item
// index}, hashed the way the runtime skin packs its keys, and the hash map kept by it.
#pragma once

#include "foundation/core/hash_map.h"

struct t_flashKey {
    int window;
    int type;   // 2 for flash items; 0, 1 or 3 for buttons
    int index;  // negative for a window's background flash

    // ((window | type << 8) << 16) | (index & 0xFFFF).
    unsigned Hash() const
    {
        return ((static_cast<unsigned>(window) | static_cast<unsigned>(type) << 8) << 16) |
               (static_cast<unsigned>(index) & 0xFFFFu);
    }
    bool operator==(const t_flashKey& other) const
    {
        return window == other.window && type == other.type && index == other.index;
    }
};

struct t_flashKeyNode {
    t_flashKey key;
    void* value;
    t_flashKeyNode* next;
    unsigned hash;
};

struct t_flashKeyRules {
    typedef t_flashKey t_key;
    typedef t_flashKeyNode t_node;

    static bool IsValid(const t_key&) { return true; }
    static unsigned Hash(const t_key& key) { return key.Hash(); }
    static bool Matches(const t_node* node, const t_key& key, unsigned hash)
    {
        return node->hash == hash && node->key == key;
    }
    template <class TMem>
    static bool Store(t_node* node, const t_key& key, TMem&)
    {
        node->key = key;
        return true;
    }
};

// Values are not owned: the map only finds elements that live elsewhere (as children of a
// window). Memory through the C library.
class t_flashKeyMap : public t_hashMapT<t_flashKeyRules, t_hashMemTriple> {
public:
    t_flashKeyMap() : t_hashMapT<t_flashKeyRules, t_hashMemTriple>(t_hashMemTriple()) {}

    // The value under key; null when absent.
    void* Lookup(const t_flashKey& key) const
    {
        t_node* node = Find(key);
        return node ? node->value : nullptr;
    }
    // Stores value under key, replacing an earlier value; false when memory runs out.
    bool Put(const t_flashKey& key, void* value)
    {
        t_node* node = FindOrInsert(key);
        if (!node)
            return false;
        node->value = value;
        return true;
    }
};
