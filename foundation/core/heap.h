// Arena allocator: chained blocks, bump allocation, release all at once.
#pragma once

#include "foundation/core/alloc.h"

#include <cstddef>

// Memory handed out is never freed singly: whole blocks are released by
// FreeAll, Reset or the destructor. No alignment is applied to requests.
class t_heap : public allocator<unsigned char, TAllocDefault> {
public:
    explicit t_heap(unsigned blockSize, const TAllocDefault& triple = TAllocDefault());
    ~t_heap() override;

    t_heap(const t_heap&) = delete;
    t_heap& operator=(const t_heap&) = delete;

    // n bytes from the current block, or from a new block of
    // max(n, block size) bytes; null (arena unchanged) when allocation fails or n
    // exceeds c_maxRequest.
    void* Alloc(unsigned n);
    // Same as Alloc; the entry used for singleton holders.
    void* Allocate(unsigned n);

    // Arena copy of a wide string with its terminator; null for null input or
    // when allocation fails.
    wchar_t* StrDup(const wchar_t* text);
    // Arena copy of the first n characters, terminated.
    wchar_t* StrDupN(const wchar_t* text, unsigned n);

    // Frees every block, newest first.
    void FreeAll();
    // Frees every block but the oldest and empties that one for reuse.
    void Reset();
    void Clear() { Reset(); }

    unsigned BlockSize() const { return m_blockSize; }

    // Largest single request; anything larger is refused without asking the allocator.
    static constexpr unsigned c_maxRequest = 0x7FFF0000u;

private:
    struct t_block {
        unsigned used;  // bytes of data handed out
        t_block* prev;  // older block, null for the oldest
    };

public:
    // Bytes each block spends on its header before the data.
    static constexpr size_t c_blockHeader = sizeof(t_block);

private:
    static unsigned char* DataOf(t_block* block) { return reinterpret_cast<unsigned char*>(block + 1); }

    t_block* m_current;
    unsigned m_blockSize;
};
