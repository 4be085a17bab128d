// The program's built-in pictures that string items look up by name: a process-wide map
// from a UTF-16 name to a picture record.
#pragma once

#include <cstdint>

#include "foundation/core/hash_map.h"

// ELF hash over UTF-16 units, case kept: h = h * 16 + c in 32 bits, the top nibble folded
// into bits 4 to 7. Null hashes like the empty name (0).
uint32_t HashWideKey(const wchar_t* key);

// Premultiplied 32-bit BGRA pixels, row by row from the top.
struct t_builtinPicture {
    const uint32_t* pixels;
    int width;
    int height;
};

// Exact, case-sensitive names.
struct t_imageKeyRules {
    typedef const wchar_t* t_key;
    typedef t_wideKeyNode t_node;
    static bool IsValid(t_key key) { return key != nullptr; }
    static unsigned Hash(t_key key) { return HashWideKey(key); }
    static bool Matches(const t_node* node, t_key key, unsigned hash);
    template <class TMem>
    static bool Store(t_node* node, t_key key, TMem& mem)
    {
        node->key = mem.KeepText(key);
        return node->key != nullptr;
    }
};

class t_listImagePre {
public:
    // Filled with the built-in table.
    t_listImagePre();
    t_listImagePre(const t_listImagePre&) = delete;
    t_listImagePre& operator=(const t_listImagePre&) = delete;

    // The process-wide list (singleton "t_listImagePre"); null only when memory runs out.
    static t_listImagePre* Instance();

    // The picture of the name, or null.
    const t_builtinPicture* Find(const wchar_t* name) const;
    unsigned Count() const { return m_map.Count(); }

private:
    t_hashMapT<t_imageKeyRules, t_hashMemTriple> m_map;
};
