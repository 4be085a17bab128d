// The FreeType font manager: each font file opened once per process as a memory face over a
// file mapping that every process of the desktop shares by name, and the cache of rendered
// glyphs. One re-entrant lock serialises every use of FreeType, the faces and the glyphs.
#pragma once

#include <windows.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include "foundation/core/hash_map.h"
#include "foundation/win/mutex.h"

// Name of the lock shared by the manager's users.
extern const wchar_t* const c_fontManagerLockName;

// Process-wide prefix of the font mapping names (the editor sets "kavrel_").
void SetFontMappingPrefix(const char* prefix);
// The prefix followed by the file name without its folder. False when it does not fit.
bool FontMappingName(const char* path, char (&name)[260]);

// Sets the face's pixel size unless it has it already (fonts of several sizes share faces).
FT_Error SetFacePixelSize(FT_Face face, int pixelSize);

// Face map key: file path (compared ignoring ASCII case) and face index in a collection.
struct t_faceKey {
    const char* path;
    int index;
};
struct t_faceKeyNode {
    t_faceKey key;
    void* value;
    t_faceKeyNode* next;
    unsigned hash;
};
struct t_faceKeyRules {
    typedef t_faceKey t_key;
    typedef t_faceKeyNode t_node;
    static bool IsValid(const t_key& key) { return key.path != nullptr; }
    static unsigned Hash(const t_key& key);
    static bool Matches(const t_node* node, const t_key& key, unsigned hash);
    template <class TMem>
    static bool Store(t_node* node, const t_key& key, TMem&)
    {
        node->key = key;  // the path belongs to the face entry
        return true;
    }
};

// Glyph map key: face, glyph index, pixel size.
struct t_glyphKey {
    FT_Face face;
    FT_UInt index;
    int pixelSize;
};
struct t_glyphKeyNode {
    t_glyphKey key;
    void* value;
    t_glyphKeyNode* next;
    unsigned hash;
};
struct t_glyphKeyRules {
    typedef t_glyphKey t_key;
    typedef t_glyphKeyNode t_node;
    static bool IsValid(const t_key& key) { return key.face != nullptr; }
    static unsigned Hash(const t_key& key)
    {
        return static_cast<unsigned>(reinterpret_cast<uintptr_t>(key.face)) + key.index +
               static_cast<unsigned>(key.pixelSize);
    }
    static bool Matches(const t_node* node, const t_key& key, unsigned hash)
    {
        return node->hash == hash && node->key.face == key.face && node->key.index == key.index &&
               node->key.pixelSize == key.pixelSize;
    }
    template <class TMem>
    static bool Store(t_node* node, const t_key& key, TMem&)
    {
        node->key = key;
        return true;
    }
};

class t_freetype_fontmanager {
public:
    // A rendered glyph with the slot's metrics (26.6 fixed point).
    struct t_cachedGlyph {
        FT_Glyph glyph;  // a bitmap glyph
        FT_Glyph_Metrics metrics;
        FT_Fixed linearHoriAdvance;
    };

    // One open face: its file, the view of the shared mapping and its users in this process.
    struct t_faceEntry {
        char* path;
        int index;
        HANDLE mapping;
        const void* view;
        const unsigned char* data;  // the font bytes inside the view
        unsigned size;
        bool sharedMapping;  // false: a private unnamed mapping (the named one held another file)
        int references;
        FT_Face face;
    };

    // Holds the manager's lock for a scope; the lock is re-entrant for the holding thread.
    class t_locker {
    public:
        explicit t_locker(t_mutex& lock);
        ~t_locker();
        bool IsHeld() const { return m_held; }
        t_locker(const t_locker&) = delete;
        t_locker& operator=(const t_locker&) = delete;

    private:
        t_mutex& m_lock;
        bool m_held;
    };

    t_freetype_fontmanager(FT_Library library, t_mutex& lock);
    ~t_freetype_fontmanager();
    t_freetype_fontmanager(const t_freetype_fontmanager&) = delete;
    t_freetype_fontmanager& operator=(const t_freetype_fontmanager&) = delete;

    // Opens face `index` of the file (code page 936 path) or takes another reference to it.
    // A private file is a ".vxfont", deciphered when it carries the "VXFT" header.
    bool OpenFace(const char* path, int index, bool isPrivate, FT_Face& face);
    // Drops one reference; the last closes the face, its view and its mapping. The whole
    // glyph cache is cleared first.
    void ReleaseFace(FT_Face face);
    void ClearGlyphCache();
    bool IsFaceOpen(FT_Face face) const;
    // Renders and caches the glyph unless it is cached; FreeType's error code.
    FT_Error LoadGlyph(int pixelSize, FT_UInt index, FT_Face face);
    // The cached glyph, loaded when missing.
    FT_Error GetGlyph(FT_Face face, FT_UInt index, int pixelSize, const t_cachedGlyph*& glyph);

    t_mutex& Lock() { return m_lock; }
    FT_Library Library() const { return m_library; }
    unsigned FaceCount() const { return m_faces.Count(); }
    unsigned GlyphCount() const { return m_glyphs.Count(); }
    // The entry of an open face, null when it is not open.
    const t_faceEntry* FindEntry(FT_Face face) const;

private:
    typedef t_hashMapT<t_faceKeyRules, t_hashMemTriple> t_faceMap;
    typedef t_hashMapT<t_glyphKeyRules, t_hashMemTriple> t_glyphMap;

    void CloseEntry(t_faceEntry* entry);

    FT_Library m_library;
    t_faceMap m_faces;
    t_glyphMap m_glyphs;
    t_mutex& m_lock;
};
