// Serialisable records: flat little-endian images with u32 length prefixes,
// read back into a caller's arena.
#pragma once

#include "foundation/core/heap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

// Little-endian u32 access to unaligned bytes.
inline uint32_t VarReadU32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void VarWriteU32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// size bytes from the arena aligned for align (the arena itself does not
// align); null when the arena cannot supply them.
void* VarHeapAlloc(t_heap* heap, uint32_t size, uint32_t align);

// Largest image a record reads or writes: sizes stay representable as int.
const uint32_t c_varMaxImage = 0x7FFFFFFF;

class VarBase {
public:
    // Reads the record from available bytes, placing what it reads in the
    // arena. Returns the bytes consumed, -1 for malformed or short input (or an
    // arena that cannot supply memory), 0 when no arena or no input is given.
    virtual int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap) = 0;
    // Writes the image to out, or with a null out only measures it. Returns
    // the image size.
    virtual int Serialize(unsigned char* out) = 0;
    // Forgets the value without freeing anything.
    virtual void Clear() = 0;

protected:
    ~VarBase() = default;
};

// Typed view of a record's value.
template <class T>
class VarType {
public:
    // With an arena the value is copied into it; without one it is borrowed.
    virtual void Set(T value, t_heap* heap) = 0;
    // The stored value; count (optional) receives its element count.
    virtual T Get(uint32_t* count) = 0;

protected:
    ~VarType() = default;
};

// A counted array of bytes or u32 elements. Image: u32 byte count, then the
// elements little-endian.
template <class T>
class VarSimpleDynArray : public VarBase {
    static_assert(sizeof(T) == 1 || sizeof(T) == 4, "bytes or 32-bit elements");

public:
    VarSimpleDynArray() : m_data(nullptr), m_count(0) {}

    int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap) override
    {
        if (!in || !heap)
            return 0;
        if (available < 4)
            return -1;
        uint32_t bytes = VarReadU32(in);
        if (bytes > available - 4 || bytes > c_varMaxImage - 4 || bytes % sizeof(T) != 0)
            return -1;
        T* data = nullptr;
        if (bytes) {
            data = static_cast<T*>(VarHeapAlloc(heap, bytes, alignof(T)));
            if (!data)
                return -1;
            memcpy(data, in + 4, bytes);
        }
        m_data = data;
        m_count = bytes / sizeof(T);
        return static_cast<int>(bytes + 4);
    }

    int Serialize(unsigned char* out) override
    {
        if (m_data && m_count > (c_varMaxImage - 4) / sizeof(T))
            return -1;
        uint32_t bytes = m_data ? m_count * uint32_t(sizeof(T)) : 0;
        if (out) {
            VarWriteU32(out, bytes);
            if (bytes)
                memcpy(out + 4, m_data, bytes);
        }
        return static_cast<int>(bytes + 4);
    }

    void Clear() override
    {
        m_data = nullptr;
        m_count = 0;
    }

    // Stores count elements: copied into the arena when both data and arena are
    // given, else borrowed. False (record unchanged) when the arena fails.
    bool Assign(const T* data, uint32_t count, t_heap* heap)
    {
        if (data && heap) {
            if (!count)
                data = nullptr;  // nothing to copy; do not keep the caller's pointer
        }
        if (data && heap) {
            if (count > (c_varMaxImage - 4) / sizeof(T))
                return false;
            T* copy = static_cast<T*>(VarHeapAlloc(heap, count * uint32_t(sizeof(T)), alignof(T)));
            if (!copy)
                return false;
            memcpy(copy, data, count * sizeof(T));
            data = copy;
        }
        m_data = const_cast<T*>(data);
        m_count = count;
        return true;
    }

    T* Data() const { return m_data; }
    uint32_t Count() const { return m_count; }

private:
    T* m_data;
    uint32_t m_count;
};

// A UTF-16 text. Image: u32 byte count (even), then the code units without a
// terminator; the text ends at its first zero unit.
class VarStringW : public VarBase, public VarType<const wchar_t*> {
public:
    VarStringW() : m_text(nullptr) {}

    int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap) override;
    int Serialize(unsigned char* out) override;
    void Clear() override { m_text = nullptr; }

    // With an arena the text is copied (terminator included); a null text or
    // no arena stores the pointer unchanged. An arena that fails leaves null.
    void Set(const wchar_t* text, t_heap* heap) override;
    // The text; count receives its length in characters (0 for null).
    const wchar_t* Get(uint32_t* count = nullptr) override;
    const wchar_t* Text() const { return m_text; }

private:
    const wchar_t* m_text;
};

// A list of records of type T (each with Deserialize (in, available, arena)
// and Serialize (out)). Image, u32 fields relative to the list's first byte:
// total length, offset table as a VarSimpleDynArray<unsigned int>, then the
// elements back to back. An empty list is the single u32 0.
// The element pointer table grows in whole steps of N pointers from the arena.
template <class T, int N = 100>
class VarComplexDynArray {
    static_assert(N > 0, "growth step");

public:
    VarComplexDynArray() : m_items(nullptr), m_count(0), m_capacity(0), m_heap(nullptr) {}
    virtual ~VarComplexDynArray() = default;

    // Replaces the list with the one read from in; the elements live in the
    // arena, which is also kept for later appends and writes. Returns the
    // declared total (4 for an empty list), -1 for a malformed image, 0 when no
    // arena or no input is given.
    virtual int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap)
    {
        if (!in || !heap)
            return 0;
        if (available < 4)
            return -1;
        uint32_t total = VarReadU32(in);
        if (total > available || total > c_varMaxImage)
            return -1;
        Reset();
        m_heap = heap;
        if (total == 0)
            return 4;
        // The offset table must lie inside the list image.
        if (total < 8)
            return -1;
        VarSimpleDynArray<unsigned int> offsets;
        int tableSize = offsets.Deserialize(in + 4, total - 4, heap);
        if (tableSize < 0)
            return -1;
        const uint32_t n = offsets.Count();
        const uint32_t headerEnd = 4 + uint32_t(tableSize);
        if (n && !Grow(n))
            return -1;
        // Elements in table order may neither point into the header nor
        // overlap: a crafted table could otherwise make every entry re-read the
        // same bytes and multiply the arena's use.
        uint32_t nextFree = headerEnd;
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t offset = offsets.Data()[i];
            if (offset >= total)
                continue;
            if (offset < nextFree)
                return FailRead();
            T* item = static_cast<T*>(VarHeapAlloc(heap, sizeof(T), alignof(T)));
            if (!item)
                return FailRead();
            new (item) T();
            int used = item->Deserialize(in + offset, total - offset, heap);
            if (used <= 0)
                return FailRead();
            nextFree = offset + uint32_t(used);
            m_items[m_count++] = item;
        }
        m_offsets = offsets;
        return static_cast<int>(total);
    }

    // Writes the image to out; with a null out only measures it. Writing
    // needs an arena (from Deserialize, Append or SetHeap) for the offset
    // table: without one, or when it fails, 0 and nothing written. -1 when an
    // element cannot be written or the image would be too large.
    virtual int Serialize(unsigned char* out)
    {
        if (m_count == 0) {
            if (out)
                VarWriteU32(out, 0);
            return 4;
        }
        const uint32_t n = uint32_t(m_count);
        uint64_t size = 8 + 4 * uint64_t(n);
        for (uint32_t i = 0; i < n; ++i) {
            int itemSize = m_items[i]->Serialize(nullptr);
            if (itemSize < 0)
                return -1;
            size += uint32_t(itemSize);
        }
        if (size > c_varMaxImage)
            return -1;
        if (!out)
            return static_cast<int>(size);
        if (!m_heap)
            return 0;
        unsigned int* table = static_cast<unsigned int*>(VarHeapAlloc(m_heap, 4 * n, alignof(unsigned int)));
        if (!table)
            return 0;
        uint32_t pos = 8 + 4 * n;
        for (uint32_t i = 0; i < n; ++i) {
            table[i] = pos;
            pos += uint32_t(m_items[i]->Serialize(out + pos));
        }
        m_offsets.Assign(table, n, nullptr);
        VarWriteU32(out, pos);
        m_offsets.Serialize(out + 4);
        return static_cast<int>(pos);
    }

    // Adds an element (the pointer is kept, not copied); the pointer table
    // comes from the arena. False when the arena fails.
    bool Append(T* item, t_heap* heap)
    {
        if (!item || !heap)
            return false;
        m_heap = heap;
        if (!Grow(uint32_t(m_count) + 1))
            return false;
        m_items[m_count++] = item;
        return true;
    }

    // Removes element index; later elements move down one place.
    bool RemoveAt(int index)
    {
        if (index < 0 || index >= m_count)
            return false;
        memmove(m_items + index, m_items + index + 1, (m_count - index - 1) * sizeof(T*));
        --m_count;
        return true;
    }

    // Empties the list; memory stays with the arena.
    void Reset()
    {
        m_offsets.Clear();
        m_items = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

    void SetHeap(t_heap* heap) { m_heap = heap; }
    int Count() const { return m_count; }
    T* At(int index) const { return m_items[index]; }
    bool HasTable() const { return m_items != nullptr; }

private:
    int FailRead()
    {
        Reset();
        return -1;
    }

    // Room for need pointers; the table grows to a whole number of steps, at least
    // doubling, and the old table is abandoned in the arena (so appending n elements
    // copies and abandons O(n) pointers in all).
    bool Grow(uint32_t need)
    {
        if (need <= m_capacity)
            return true;
        const uint64_t least = (uint64_t(need) + N - 1) / N;
        uint64_t steps = std::max<uint64_t>(least, 2 * uint64_t(m_capacity) / N);
        if (steps * N * sizeof(T*) > c_varMaxImage)
            steps = least;
        uint64_t bytes = steps * N * sizeof(T*);
        if (bytes > c_varMaxImage)
            return false;
        T** table = static_cast<T**>(VarHeapAlloc(m_heap, uint32_t(bytes), alignof(T*)));
        if (!table)
            return false;
        if (m_count)
            memcpy(table, m_items, m_count * sizeof(T*));
        m_items = table;
        m_capacity = uint32_t(steps * N);
        return true;
    }

    VarSimpleDynArray<unsigned int> m_offsets;
    T** m_items;
    int m_count;
    uint32_t m_capacity;
    t_heap* m_heap;
};
