// Test helper: an allocation triple that counts, records and can be told to
// fail, so that tests observe exactly what a container asks of its allocator.
#pragma once

#include "foundation/core/alloc.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <vector>

class t_allocProbe {
public:
    t_allocProbe() { Current() = this; }
    ~t_allocProbe() { Current() = nullptr; }

    TAllocDefault Triple() const { return TAllocDefault(&Alloc, &Realloc, &Free); }

    // Number of further allocations or reallocations that succeed; -1: all.
    int budget = -1;
    std::vector<size_t> requests;  // sizes asked of alloc and realloc, refused ones too
    std::vector<void*> freed;      // blocks freed, in order
    int live = 0;                  // blocks allocated and not yet freed

private:
    static t_allocProbe*& Current()
    {
        static t_allocProbe* current = nullptr;
        return current;
    }
    static bool Grant(size_t n)
    {
        t_allocProbe* p = Current();
        p->requests.push_back(n);
        if (p->budget == 0)
            return false;
        if (p->budget > 0)
            --p->budget;
        return true;
    }
    static void* Alloc(size_t n)
    {
        if (!Grant(n))
            return nullptr;
        void* block = std::malloc(n);
        if (block)
            ++Current()->live;
        return block;
    }
    // Always moves and scribbles over the old block, so that anything still
    // pointing into it shows.
    static void* Realloc(void* block, size_t n)
    {
        if (!Grant(n))
            return nullptr;
        void* moved = std::malloc(n);
        if (!moved)
            return nullptr;
        if (block) {
            const size_t old = _msize(block);
            memcpy(moved, block, old < n ? old : n);
            memset(block, 0xDD, old);
            std::free(block);
        } else {
            ++Current()->live;
        }
        return moved;
    }
    static void Free(void* block)
    {
        if (!block)
            return;
        Current()->freed.push_back(block);
        --Current()->live;
        std::free(block);
    }
};
