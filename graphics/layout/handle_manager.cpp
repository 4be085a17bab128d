#include "graphics/layout/handle_manager.h"

#include <cstring>
#include <new>
#include <set>

#include "graphics/image/image_source.h"
#include "graphics/paint/solid_draw.h"
#include "graphics/text/font.h"

namespace {

const unsigned c_heapBlock = 3072;

// Heap copies keep 8-byte alignment for the records that hold pointers.
void* HeapCopy(t_heap& heap, const void* data, size_t size)
{
    const size_t rounded = (size + 7) & ~size_t(7);
    if (!data || rounded > t_heap::c_maxRequest)
        return nullptr;
    void* block = heap.Alloc(static_cast<unsigned>(rounded));
    if (block)
        memcpy(block, data, size);
    return block;
}

// A header followed by length bytes; false when the sizes do not fit a heap request.
void* CopyWithBytes(t_heap& heap, const void* header, size_t headerSize, const void* bytes, uint32_t length)
{
    if (length != 0 && !bytes)
        return nullptr;
    if (length > t_heap::c_maxRequest - headerSize - 8)
        return nullptr;
    const size_t total = headerSize + length;
    uint8_t* block = static_cast<uint8_t*>(heap.Alloc(static_cast<unsigned>((total + 7) & ~size_t(7))));
    if (!block)
        return nullptr;
    memcpy(block, header, headerSize);
    if (length)
        memcpy(block + headerSize, bytes, length);
    return block;
}

}  // namespace

void t_handleHelper_Handle::Release(void* stored)
{
    if (stored)
        CloseHandle(static_cast<HANDLE>(stored));
}

void* t_handleHelper_File::CopyKey(const void* key, t_heap& heap)
{
    if (!key)
        return nullptr;
    const t_fileBlob& blob = *static_cast<const t_fileBlob*>(key);
    const t_storedFile header{blob.length};
    return CopyWithBytes(heap, &header, sizeof header, blob.bytes, blob.length);
}

void* t_handleHelper_Flash::CopyKey(const void* key, t_heap& heap)
{
    if (!key)
        return nullptr;
    const t_flashBlob& blob = *static_cast<const t_flashBlob*>(key);
    const t_storedFlash header{blob.id, blob.length};
    return CopyWithBytes(heap, &header, sizeof header, blob.bytes, blob.length);
}

void* t_handleHelper_Font::CopyKey(const void* key, t_heap& heap) { return HeapCopy(heap, key, sizeof(t_font)); }

void t_handleHelper_Font::ReleaseFont(void* stored)
{
    if (stored)
        t_font::Destroy(static_cast<t_font*>(stored));
}

const void* t_handleHelper_Font::Identity(const void* stored)
{
    const t_font* font = static_cast<const t_font*>(stored);
    if (!font)
        return nullptr;
    return font->hfont ? static_cast<const void*>(font->hfont) : font->ftFont;
}

void* t_handleHelper_Bitmap::CopyKey(const void* key, t_heap& heap)
{
    return HeapCopy(heap, key, sizeof(t_imageSource));
}

void t_handleHelper_Bitmap::Release(void* stored)
{
    if (stored)
        static_cast<t_imageSource*>(stored)->Free();
}

const void* t_handleHelper_Bitmap::Identity(const void* stored)
{
    const t_imageSource* source = static_cast<const t_imageSource*>(stored);
    if (!source)
        return nullptr;
    if (source->kind == t_imageSource::e_frames)
        return source->payload.frames;
    return source->payload.ref.handle;
}

void* t_handleHelper_Pen::CopyKey(const void* key, t_heap& heap) { return HeapCopy(heap, key, sizeof(t_pen)); }

void t_handleHelper_Pen::Release(void* stored)
{
    if (stored && static_cast<t_pen*>(stored)->pen)
        DeleteObject(static_cast<t_pen*>(stored)->pen);
}

const void* t_handleHelper_Pen::Identity(const void* stored)
{
    return stored ? static_cast<const t_pen*>(stored)->pen : nullptr;
}

void t_handleHelper_Region::Release(void* stored)
{
    if (stored)
        DeleteObject(static_cast<HRGN>(stored));
}

void* t_handleHelper_FontColor::CopyKey(const void* key, t_heap& heap) { return HeapCopy(heap, key, sizeof(uint32_t)); }

t_handleManagerHelper_Default::t_handleManagerHelper_Default() : m_slots{}
{
    m_slots[0] = new t_handleHelper_Handle;
    m_slots[2] = new t_handleHelper_File;
    m_slots[3] = new t_handleHelper_Flash;
    m_slots[5] = new t_handleHelper_Font;
    m_slots[6] = new t_handleHelper_Bitmap;
    m_slots[7] = new t_handleHelper_Pen;
    m_slots[8] = new t_handleHelper_Region;
    m_slots[9] = new t_handleHelper_FontColor;
}

t_handleManagerHelper_Default::~t_handleManagerHelper_Default()
{
    for (i_handleHelpler* slot : m_slots)
        delete slot;
}

i_handleHelpler* t_handleManagerHelper_Default::Policy(int type, int subtype)
{
    if (type < 0 || type > 3 || subtype < 0 || subtype > 5)
        return nullptr;
    const int slot = type == e_handleGdi ? 4 + subtype : type;
    return slot < c_slots ? m_slots[slot] : nullptr;
}

t_handleManager::t_handleManager() : m_heap(c_heapBlock) {}

t_handleManager::~t_handleManager()
{
    ReleaseAll();
    delete m_helper;
}

void t_handleManager::Init(HandleManagerHelper* helper)
{
    ReleaseAll();
    if (helper != m_helper)
        delete m_helper;
    m_helper = helper;
    if (m_helper)
        m_helper->SetHeap(&m_heap);
}

void* t_handleManager::Acquire(const void* key, const wchar_t* name, int type, int subtype)
{
    i_handleHelpler* policy = m_helper ? m_helper->Policy(type, subtype) : nullptr;
    void* stored = policy ? policy->CopyKey(key, m_heap) : nullptr;
    Insert(name, t_handleEntry{nullptr, type, subtype, stored});
    return stored;
}

void t_handleManager::Insert(const wchar_t* name, const t_handleEntry& entry)
{
    const wchar_t* copy = m_heap.StrDup(name ? name : L"");
    if (!copy)
        copy = L"";
    t_handleEntry stored = entry;
    stored.name = copy;
    // A new entry goes before the entries of an equal name.
    m_entries.emplace_hint(m_entries.lower_bound(copy), copy, stored);
}

bool t_handleManager::Find(t_handleQuery& query) const
{
    bool found = false;
    for (const auto& item : m_entries) {
        const t_handleEntry& entry = item.second;
        if (entry.type != query.type || entry.subtype != query.subtype)
            continue;
        if (query.name && _wcsicmp(query.name, entry.name) != 0)
            continue;
        if (query.handle && query.handle != entry.key)
            continue;
        if (!query.handle)
            query.handle = entry.key;
        if (!query.name)
            query.name = entry.name;
        found = true;
    }
    return found;
}

void t_handleManager::ReleaseAll()
{
    // One object may sit under several entries (the same font stored under two names or
    // twice under one), and different objects may share a name: release by object.
    std::set<const void*> released;
    for (auto& item : m_entries) {
        const t_handleEntry& entry = item.second;
        i_handleHelpler* policy = m_helper ? m_helper->Policy(entry.type, entry.subtype) : nullptr;
        if (!policy || !entry.key)
            continue;
        const void* identity = policy->Identity(entry.key);
        if (identity && !released.insert(identity).second)
            continue;
        policy->Release(entry.key);
    }
    m_entries.clear();
    m_heap.Reset();
}
