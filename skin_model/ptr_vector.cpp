#include "skin_model/ptr_vector.h"

#include <climits>
#include <cstdlib>

t_ptrVector::t_ptrVector(int capacity) : m_capacity(0), m_count(0), m_items(nullptr)
{
    if (capacity > 0) {
        m_items = static_cast<void**>(malloc(sizeof(void*) * size_t(capacity)));
        if (m_items)
            m_capacity = capacity;
    }
}

t_ptrVector::~t_ptrVector() { free(m_items); }

int t_ptrVector::PushBack(void* pointer)
{
    if (!m_items) {
        m_items = static_cast<void**>(malloc(sizeof(void*)));
        if (!m_items)
            return 0;
        m_capacity = 1;
        m_count = 0;
    }
    if (m_count == m_capacity) {
        const long long grown = (long long)m_capacity + m_capacity / 2 + 1;
        if (grown > INT_MAX / int(sizeof(void*)))
            return 0;
        void** items = static_cast<void**>(realloc(m_items, sizeof(void*) * size_t(grown)));
        if (!items)
            return 0;
        m_items = items;
        m_capacity = int(grown);
    }
    m_items[m_count++] = pointer;
    return m_count;
}

void t_ptrVector::Free()
{
    free(m_items);
    m_items = nullptr;
    m_capacity = 0;
    m_count = 0;
}
