// Ordered list of wide-text pointers whose blocks come from an arena.
#pragma once

#include "foundation/core/heap.h"

// Grows like itl::ImmSimpleArray; each block is taken from the arena with a
// leading 32-bit byte count, and a replaced block stays in the arena.
class t_heapPtrArray {
public:
    explicit t_heapPtrArray(t_heap* heap);

    t_heapPtrArray(const t_heapPtrArray&) = delete;
    t_heapPtrArray& operator=(const t_heapPtrArray&) = delete;

    // False (array unchanged) when the limit or the arena refuses.
    bool Append(const wchar_t* item);
    // 0 <= index <= count; later items move up by one.
    bool InsertAt(int index, const wchar_t* item);
    // Later items move down by one; false for an index out of range.
    bool RemoveAt(int index);
    // Index of the first item equal to text (case-sensitive), -1 when none.
    int IndexOf(const wchar_t* text) const;
    // Count and capacity 0; the blocks stay in the arena.
    void Reset();

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    // No bounds check: the caller keeps index within 0..Count()-1.
    const wchar_t* operator[](int index) const { return m_data[index]; }

private:
    bool Grow();

    const wchar_t** m_data;
    int m_count;
    int m_capacity;
    int m_initial;
    t_heap* m_heap;
};
