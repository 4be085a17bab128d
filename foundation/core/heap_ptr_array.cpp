#include "foundation/core/heap_ptr_array.h"

#include "foundation/core/simple_array.h"

#include <cstring>
#include <cwchar>

t_heapPtrArray::t_heapPtrArray(t_heap* heap) : m_data(nullptr), m_count(0), m_capacity(0), m_initial(0), m_heap(heap) {}

bool t_heapPtrArray::Grow()
{
    int next = 0;
    if (!itl::ImmArrayNextCapacity(m_count, m_capacity, m_initial, itl::ImmSimpleArrayLimit<const wchar_t*>::value,
                                   &next))
        return false;
    const unsigned bytes = static_cast<unsigned>(next) * sizeof(const wchar_t*);
    unsigned* block = static_cast<unsigned*>(m_heap->Alloc(bytes + sizeof(unsigned)));
    if (!block)
        return false;
    *block = bytes;
    const wchar_t** data = reinterpret_cast<const wchar_t**>(block + 1);
    if (m_count > 0)
        memcpy(data, m_data, m_count * sizeof(const wchar_t*));
    m_data = data;
    m_capacity = next;
    return true;
}

bool t_heapPtrArray::Append(const wchar_t* item) { return InsertAt(m_count, item); }

bool t_heapPtrArray::InsertAt(int index, const wchar_t* item)
{
    if (index < 0 || index > m_count)
        return false;
    if (m_count == m_capacity && !Grow())
        return false;
    memmove(m_data + index + 1, m_data + index, (m_count - index) * sizeof(const wchar_t*));
    m_data[index] = item;
    ++m_count;
    return true;
}

bool t_heapPtrArray::RemoveAt(int index)
{
    if (index < 0 || index >= m_count)
        return false;
    memmove(m_data + index, m_data + index + 1, (m_count - index - 1) * sizeof(const wchar_t*));
    --m_count;
    return true;
}

int t_heapPtrArray::IndexOf(const wchar_t* text) const
{
    if (!text)
        return -1;
    for (int i = 0; i < m_count; ++i) {
        if (m_data[i] && wcscmp(m_data[i], text) == 0)
            return i;
    }
    return -1;
}

void t_heapPtrArray::Reset()
{
    m_data = nullptr;
    m_count = 0;
    m_capacity = 0;
}
