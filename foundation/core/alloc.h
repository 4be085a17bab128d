// Pluggable allocation functions shared by the containers of the foundation.
#pragma once

#include <cstddef>
#include <cstdlib>

// Three allocation functions; a null entry stands for the C library's own.
// Every container copies the triple it is given and allocates only through it.
struct TAllocDefault {
    void* (*alloc)(size_t);
    void* (*realloc)(void*, size_t);
    void (*free)(void*);

    TAllocDefault() : alloc(&std::malloc), realloc(&std::realloc), free(&std::free) {}
    TAllocDefault(void* (*a)(size_t), void* (*r)(void*, size_t), void (*f)(void*)) : alloc(a), realloc(r), free(f) {}

    void Assign(const TAllocDefault& other)
    {
        alloc = other.alloc;
        realloc = other.realloc;
        free = other.free;
    }

    void* Allocate(size_t n) const { return alloc ? alloc(n) : std::malloc(n); }
    void* Reallocate(void* block, size_t n) const { return realloc ? realloc(block, n) : std::realloc(block, n); }
    void Free(void* block) const
    {
        if (free)
            free(block);
        else
            std::free(block);
    }
};

// Base of the allocating containers: holds the triple; destroyed through its
// virtual destructor.
template <class T, class TAlloc>
class allocator {
public:
    explicit allocator(const TAlloc& triple = TAlloc()) : m_alloc(triple) {}
    virtual ~allocator() {}

    const TAlloc& Triple() const { return m_alloc; }

protected:
    TAlloc m_alloc;
};
