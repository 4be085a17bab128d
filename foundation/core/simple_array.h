// Growable array that carries its own allocation functions.
#pragma once

#include "foundation/core/alloc.h"

#include <cstring>
#include <new>
#include <type_traits>

class t_str;

namespace itl {

// Largest element count of an array: 0x1fffffff, lowered so that the byte size
// of the block always fits in 31 bits, whatever the pointer size.
template <class T>
struct ImmSimpleArrayLimit {
    static const int value =
        (0x7fffffff / sizeof(T)) < 0x1fffffff ? static_cast<int>(0x7fffffff / sizeof(T)) : 0x1fffffff;
};

// Capacity after growing a full array of the given capacity: doubled, or the
// initial capacity the first time, or 1. False when the limit forbids it.
inline bool ImmArrayNextCapacity(int count, int capacity, int initial, int limit, int* next)
{
    if (capacity != 0) {
        if ((count & 0x40000000) != 0 || capacity > limit / 2)
            return false;
        *next = capacity * 2;
    } else if (initial != 0) {
        if (initial < 0 || initial > limit)
            return false;
        *next = initial;
    } else {
        *next = 1;
    }
    return true;
}

template <class T>
struct ImmSimpleArrayEqualHelper {
    static bool IsEqual(const T& a, const T& b) { return a == b; }
};

// Allocator policy: the triple the array allocates through.
struct ImmPlexAllocDefault : TAllocDefault {
    ImmPlexAllocDefault() {}
    ImmPlexAllocDefault(const TAllocDefault& triple) : TAllocDefault(triple) {}
};

template <class T, class TEqual = ImmSimpleArrayEqualHelper<T>, class TAlloc = ImmPlexAllocDefault>
class ImmSimpleArray {
public:
    static const int c_maxCount = ImmSimpleArrayLimit<T>::value;

    explicit ImmSimpleArray(const TAllocDefault& triple = TAllocDefault(), int initialCapacity = 0)
        : m_data(nullptr), m_count(0), m_capacity(0), m_initial(initialCapacity), m_alloc(triple)
    {
        if (initialCapacity > 0)
            Reserve(initialCapacity);
    }
    ~ImmSimpleArray() { Clear(); }

    ImmSimpleArray(const ImmSimpleArray&) = delete;
    ImmSimpleArray& operator=(const ImmSimpleArray&) = delete;

    // Copies the element in, growing the block when full; false (array
    // unchanged) when the limit or the allocator refuses.
    bool Add(const T& element)
    {
        if (m_count == m_capacity) {
            int next = 0;
            if (!ImmArrayNextCapacity(m_count, m_capacity, m_initial, c_maxCount, &next) || !Reserve(next))
                return false;
        }
        new (&m_data[m_count]) T(element);
        ++m_count;
        return true;
    }
    bool Append(const T& element) { return Add(element); }

    // Grows the block to hold n elements; a smaller n changes nothing.
    bool Reserve(int n)
    {
        if (n <= m_capacity)
            return true;
        if (n > c_maxCount)
            return false;
        T* data = Regrow(n);
        if (!data)
            return false;
        m_data = data;
        m_capacity = n;
        return true;
    }

    // Destroys the elements and frees the block.
    void Clear()
    {
        if (!std::is_trivially_destructible<T>::value) {
            for (int i = 0; i < m_count; ++i)
                m_data[i].~T();
        }
        if (m_data)
            m_alloc.Free(m_data);
        m_data = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

    // Index of the first element equal to the given one, -1 when none.
    int Find(const T& element) const
    {
        for (int i = 0; i < m_count; ++i) {
            if (TEqual::IsEqual(m_data[i], element))
                return i;
        }
        return -1;
    }

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    T* Data() { return m_data; }
    const T* Data() const { return m_data; }
    // No bounds check: the caller keeps index within 0..Count()-1.
    T& operator[](int index) { return m_data[index]; }
    const T& operator[](int index) const { return m_data[index]; }

private:
    // Plain values move with the reallocation function; objects such as t_str,
    // which may point into themselves, are copied into a new block instead.
    T* Regrow(int n)
    {
        const size_t bytes = static_cast<size_t>(n) * sizeof(T);
        if (std::is_trivially_copyable<T>::value) {
            return static_cast<T*>(m_data ? m_alloc.Reallocate(m_data, bytes) : m_alloc.Allocate(bytes));
        }
        T* data = static_cast<T*>(m_alloc.Allocate(bytes));
        if (!data || !m_data)
            return data;
        for (int i = 0; i < m_count; ++i) {
            new (&data[i]) T(m_data[i]);
            m_data[i].~T();
        }
        m_alloc.Free(m_data);
        return data;
    }

    T* m_data;
    int m_count;
    int m_capacity;
    int m_initial;
    TAlloc m_alloc;
};

}  // namespace itl
