// Pictures of the runtime skin, decoded from the skin archive once per file: a second use
// of a file gets a copy of the decoded source (sharing its bitmaps) from the handle
// manager, and every animated source is registered with the windows that show it.
#pragma once

#include <cstdint>

#include "foundation/core/hash_map.h"
#include "foundation/records/skin_pack.h"
#include "graphics/layout/handle_manager.h"
#include "ime_ui/skin/skin_animations.h"

// Pictures decoded by an earlier load, offered before a file is decoded again.
class i_skinPictureReuse {
public:
    virtual ~i_skinPictureReuse() = default;
    // Fills out with a picture decoded earlier from the same bytes with the same key;
    // false when there is none.
    virtual bool Take(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key, bool exact,
                      t_imageSource& out) = 0;
    // The picture now stored for these bytes, decoded or taken.
    virtual void Stored(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key, bool exact,
                        t_imageSource* stored) = 0;
};

// Where LoadSkinImage finds the files and keeps what it decodes. The name indexes point
// at sources the handle manager holds and at entries of the archive: Forget them whenever
// the manager is released or the archive reloaded.
class t_skinPictureStore {
public:
    explicit t_skinPictureStore(t_skinAnimations& animations) : m_animations(animations) {}
    t_skinPictureStore(const t_skinPictureStore&) = delete;
    t_skinPictureStore& operator=(const t_skinPictureStore&) = delete;

    // The manager that keeps the decoded sources and the archive the files come from
    // (null: none); the colour key matches exactly when `exactKey` (the skin's use_gdip).
    void Bind(t_handleManager* handles, const t_skinPack* archive, bool exactKey)
    {
        m_handles = handles;
        m_archive = archive;
        m_exactKey = exactKey;
    }
    bool ExactKey() const { return m_exactKey; }
    // Asked before each decode (null: none).
    void SetReuse(i_skinPictureReuse* reuse) { m_reuse = reuse; }
    // Drops the name index (the handle manager's entries are released by its owner).
    void Forget();

    t_handleManager* Handles() { return m_handles; }
    t_skinAnimations& Animations() { return m_animations; }
    const t_skinPack* Archive() const { return m_archive; }

    // The first decoded source stored under the name (case-insensitive); null when none.
    t_imageSource* FindDecoded(const wchar_t* name) const;
    // A copy of a stored source registered under the name: its own frame position over the
    // same bitmaps. Null when the manager can't store it.
    t_imageSource* CopyOf(const t_imageSource* source, const wchar_t* name);
    // Counts the files decoded since construction (the cache's misses).
    int DecodeCount() const { return m_decodes; }
    // The archive's first entry of that name (case-insensitive) through an index built on
    // first use after Forget; null when none.
    t_varFile* FindEntry(const wchar_t* name);

private:
    friend bool LoadSkinImage(t_skinPictureStore&, t_imageSource*&, const wchar_t*, int, bool&, uint32_t);

    t_handleManager* m_handles = nullptr;
    t_skinAnimations& m_animations;
    const t_skinPack* m_archive = nullptr;
    bool m_exactKey = false;
    t_heap m_indexHeap{4096};
    t_heapHashMap m_index{&m_indexHeap};
    // Entries by name: the archive is searched once per load, not once per picture.
    t_heap m_entryHeap{8192};
    t_heapHashMap m_entries{&m_entryHeap};
    const t_skinPack* m_indexedArchive = nullptr;
    int m_indexedCount = -1;
    int m_decodes = 0;
    i_skinPictureReuse* m_reuse = nullptr;
};

// Loads the picture file `name` for a window: a copy of the decoded source when the store
// already holds one (cached true), else the archive's entry of that name decoded, colour
// key applied to every frame (none when key is 0xFFFFFFFF) and stored (cached false).
// An animated source is registered for the window either way. False, out null, for an
// empty name, a missing or empty entry, or bytes that don't decode.
bool LoadSkinImage(t_skinPictureStore& store, t_imageSource*& out, const wchar_t* name, int window, bool& cached,
                   uint32_t key);
