#include "ime_ui/skin/skin_image_load.h"

#include "graphics/codecs/image_loader.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/color_key.h"

namespace {

// Applies the colour key to one bitmap's pixels.
void KeyBitmap(const t_bitmapRef& ref, uint32_t key, bool exact)
{
    uint32_t* pixels = static_cast<uint32_t*>(ref.GetPixels());
    int width = 0, height = 0;
    ref.GetSize(width, height);
    if (pixels && width > 0 && height > 0)
        ApplyColorKey(key, height, width, pixels, exact);
}

void KeySource(t_imageSource& source, uint32_t key, bool exact)
{
    if (source.kind == t_imageSource::e_frames) {
        const t_imageFrames& frames = source.Frames();
        for (int i = 0; i < frames.count; ++i)
            KeyBitmap(frames.frames[i].ref, key, exact);
    } else {
        KeyBitmap(source.payload.ref, key, exact);
    }
    NotePicturesChanged();
}

}  // namespace

void t_skinPictureStore::Forget()
{
    m_index.Clear();
    m_indexHeap.Reset();
    m_entries.Clear();
    m_entryHeap.Reset();
    m_indexedArchive = nullptr;
    m_indexedCount = -1;
}

t_varFile* t_skinPictureStore::FindEntry(const wchar_t* name)
{
    if (!m_archive || !name)
        return nullptr;
    // An archive emptied since (its count changed) is indexed again.
    if (m_indexedArchive != m_archive || m_indexedCount != m_archive->Count()) {
        m_entries.Clear();
        m_entryHeap.Reset();
        m_indexedArchive = m_archive;
        m_indexedCount = m_archive->Count();
        for (int i = 0; i < m_indexedCount; ++i) {
            t_varFile* entry = m_archive->At(i);
            const wchar_t* entryName = entry ? entry->GetName() : nullptr;
            if (!entryName)
                continue;
            t_heapHashMap::t_node* node = m_entries.FindOrInsert(entryName);
            if (node && !node->value)
                node->value = entry;
        }
    }
    t_heapHashMap::t_node* node = m_entries.Find(name);
    return node ? static_cast<t_varFile*>(node->value) : nullptr;
}

t_imageSource* t_skinPictureStore::FindDecoded(const wchar_t* name) const
{
    t_heapHashMap::t_node* node = name ? m_index.Find(name) : nullptr;
    return node ? static_cast<t_imageSource*>(node->value) : nullptr;
}

t_imageSource* t_skinPictureStore::CopyOf(const t_imageSource* source, const wchar_t* name)
{
    if (!m_handles || !source)
        return nullptr;
    return static_cast<t_imageSource*>(m_handles->Acquire(source, name, e_handleGdi, e_gdiBitmap));
}

bool LoadSkinImage(t_skinPictureStore& store, t_imageSource*& out, const wchar_t* name, int window, bool& cached,
                   uint32_t key)
{
    out = nullptr;
    cached = false;
    if (!name || !*name || !store.m_handles)
        return false;

    if (t_imageSource* decoded = store.FindDecoded(name)) {
        out = store.CopyOf(decoded, name);
        if (!out)
            return false;
        if (out->kind == t_imageSource::e_frames)
            out->Frames().reversible = 0;
        cached = true;
    } else {
        t_varFile* entry = store.FindEntry(name);
        if (!entry)
            return false;
        uint32_t size = 0;
        const unsigned char* bytes = entry->GetData(&size);
        if (!bytes || size == 0)
            return false;
        t_imageSource source;
        const bool reused = store.m_reuse && store.m_reuse->Take(name, bytes, size, key, store.m_exactKey, source);
        if (!reused) {
            if (!source.Decode(bytes, size)) {
                source.Free();
                return false;
            }
            ++store.m_decodes;
            if (key != c_noColorKey)
                KeySource(source, key, store.m_exactKey);
            source.payload.hasAlpha = 1;
        }
        out = static_cast<t_imageSource*>(store.m_handles->Acquire(&source, name, e_handleGdi, e_gdiBitmap));
        if (!out) {
            if (!reused)
                source.Free();
            return false;
        }
        if (store.m_reuse)
            store.m_reuse->Stored(name, bytes, size, key, store.m_exactKey, out);
        t_heapHashMap::t_node* node = store.m_index.FindOrInsert(name);
        if (node && !node->value)
            node->value = out;
    }
    store.m_animations.Register(out, window);
    return true;
}
