#include "foundation/core/heap.h"

#include <cstring>
#include <cwchar>

t_heap::t_heap(unsigned blockSize, const TAllocDefault& triple)
    : allocator<unsigned char, TAllocDefault>(triple), m_current(nullptr), m_blockSize(blockSize)
{}

t_heap::~t_heap() { FreeAll(); }

void* t_heap::Alloc(unsigned n)
{
    if (m_current && m_current->used < m_blockSize && n <= m_blockSize - m_current->used) {
        void* p = DataOf(m_current) + m_current->used;
        m_current->used += n;
        return p;
    }
    if (n > c_maxRequest)
        return nullptr;
    // An oversized request gets a block of its own, full at once; the free
    // rest of the old block is abandoned.
    const size_t data = n > m_blockSize ? n : m_blockSize;
    t_block* block = static_cast<t_block*>(m_alloc.Allocate(data + sizeof(t_block)));
    if (!block)
        return nullptr;
    block->used = n;
    block->prev = m_current;
    m_current = block;
    return DataOf(block);
}

void* t_heap::Allocate(unsigned n) { return Alloc(n); }

wchar_t* t_heap::StrDup(const wchar_t* text)
{
    if (!text)
        return nullptr;
    const size_t len = wcslen(text);
    if (len >= 0x7fffffff / sizeof(wchar_t))
        return nullptr;
    return StrDupN(text, static_cast<unsigned>(len));
}

wchar_t* t_heap::StrDupN(const wchar_t* text, unsigned n)
{
    if (!text || n >= 0x7fffffff / sizeof(wchar_t))
        return nullptr;
    wchar_t* copy = static_cast<wchar_t*>(Alloc((n + 1) * sizeof(wchar_t)));
    if (!copy)
        return nullptr;
    memcpy(copy, text, n * sizeof(wchar_t));
    copy[n] = 0;
    return copy;
}

void t_heap::FreeAll()
{
    while (m_current) {
        t_block* prev = m_current->prev;
        m_alloc.Free(m_current);
        m_current = prev;
    }
}

void t_heap::Reset()
{
    if (!m_current)
        return;
    while (m_current->prev) {
        t_block* prev = m_current->prev;
        m_alloc.Free(m_current);
        m_current = prev;
    }
    m_current->used = 0;
}
