// The runtime skin's store of GDI objects, pictures, colours and file contents under names:
// found again by name or by handle, and released all at once when the skin is reloaded.
// What a stored key is and how it is released is decided by one policy per kind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "foundation/core/heap.h"

// Kinds of stored resources: (type, subtype).
enum t_handleType : int {
    e_handleKernel = 0,  // a kernel handle, closed on release
    e_handleGdi = 1,     // a GDI object or record, by subtype
    e_handleFile = 2,    // file contents {length, bytes}
    e_handleFlash = 3,   // Flash data {id, length, bytes}
};
enum t_handleSubtype : int {
    e_gdiNone = 0,
    e_gdiFont = 1,       // t_font record
    e_gdiBitmap = 2,     // t_imageSource record
    e_gdiPen = 3,        // t_pen record
    e_gdiRegion = 4,     // HRGN
    e_gdiFontColor = 5,  // 4-byte colour
};

// What Acquire takes for file contents and Flash data; stored as a header with the bytes
// inline behind it.
struct t_fileBlob {
    uint32_t length;
    const void* bytes;
};
struct t_flashBlob {
    uint32_t id;
    uint32_t length;
    const void* bytes;
};
struct t_storedFile {
    uint32_t length;
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this + 1); }
};
struct t_storedFlash {
    uint32_t id;
    uint32_t length;
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this + 1); }
};

// The policy of one kind of resource.
class i_handleHelpler {
public:
    virtual ~i_handleHelpler() = default;
    // Copies what key points at into the heap (or keeps the handle itself); null on failure.
    virtual void* CopyKey(const void* key, t_heap& heap) = 0;
    // Releases the resource behind a stored key.
    virtual void Release(void* stored) = 0;
    // The underlying object of a stored key, so that one object stored several times is
    // released once; null when the policy releases nothing.
    virtual const void* Identity(const void* stored) = 0;
};

class t_handleHelper_Handle : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap&) override { return const_cast<void*>(key); }
    void Release(void* stored) override;
    const void* Identity(const void* stored) override { return stored; }
};

class t_handleHelper_File : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void*) override {}
    const void* Identity(const void*) override { return nullptr; }
};

class t_handleHelper_Flash : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void*) override {}
    const void* Identity(const void*) override { return nullptr; }
};

class t_handleHelper_Font : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void* stored) override { ReleaseFont(stored); }
    const void* Identity(const void* stored) override;
    // Deletes the GDI font and releases the FreeType font or the width-cache entry; the
    // record itself lives in the heap.
    static void ReleaseFont(void* stored);
};

class t_handleHelper_Bitmap : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void* stored) override;
    const void* Identity(const void* stored) override;
};

class t_handleHelper_Pen : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void* stored) override;
    const void* Identity(const void* stored) override;
};

class t_handleHelper_Region : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap&) override { return const_cast<void*>(key); }
    void Release(void* stored) override;
    const void* Identity(const void* stored) override { return stored; }
};

class t_handleHelper_FontColor : public i_handleHelpler {
public:
    void* CopyKey(const void* key, t_heap& heap) override;
    void Release(void*) override {}
    const void* Identity(const void*) override { return nullptr; }
};

// A set of policies by (type, subtype).
class HandleManagerHelper {
public:
    virtual ~HandleManagerHelper() = default;
    // The policy of a kind; null when none applies.
    virtual i_handleHelpler* Policy(int type, int subtype) = 0;
    void SetHeap(t_heap* heap) { m_heap = heap; }
    t_heap* Heap() const { return m_heap; }

private:
    t_heap* m_heap = nullptr;
};

class t_handleManagerHelper_Default : public HandleManagerHelper {
public:
    t_handleManagerHelper_Default();
    ~t_handleManagerHelper_Default() override;
    t_handleManagerHelper_Default(const t_handleManagerHelper_Default&) = delete;
    t_handleManagerHelper_Default& operator=(const t_handleManagerHelper_Default&) = delete;

    i_handleHelpler* Policy(int type, int subtype) override;

private:
    static const int c_slots = 10;
    i_handleHelpler* m_slots[c_slots];
};

struct t_handleEntry {
    const wchar_t* name;  // in the manager's heap; "" when none was given
    int type;
    int subtype;
    void* key;  // as the policy stored it; null when no policy applies
};

// A lookup: kind, and optionally the stored key and the name; Find fills the missing ones.
struct t_handleQuery {
    int type;
    int subtype;
    void* handle;
    const wchar_t* name;
};

class t_handleManager {
public:
    t_handleManager();
    ~t_handleManager();
    t_handleManager(const t_handleManager&) = delete;
    t_handleManager& operator=(const t_handleManager&) = delete;

    // Takes the policy set (deleted with the manager); the manager starts empty.
    void Init(HandleManagerHelper* helper);
    // Stores a copy of the key under name (made by the kind's policy; null when none
    // applies) and returns it. The entry is stored in every case.
    void* Acquire(const void* key, const wchar_t* name, int type, int subtype);
    // Adds a prepared entry (its name is copied; its key is stored as it is).
    void Insert(const wchar_t* name, const t_handleEntry& entry);
    // Entries in name order whose kind matches, whose name matches ignoring case and
    // whose stored key matches (each when given); fills the query's missing key and name
    // from the first match. True when any entry matched.
    bool Find(t_handleQuery& query) const;
    // Releases every stored object once, however many entries hold it, and empties the
    // manager for reuse.
    void ReleaseAll();

    int Count() const { return static_cast<int>(m_entries.size()); }

private:
    struct t_nameLess {
        bool operator()(const wchar_t* a, const wchar_t* b) const { return wcscmp(a, b) < 0; }
    };

    std::multimap<const wchar_t*, t_handleEntry, t_nameLess> m_entries;
    t_heap m_heap;
    HandleManagerHelper* m_helper = nullptr;
};
