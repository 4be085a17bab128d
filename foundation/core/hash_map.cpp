#include "foundation/core/hash_map.h"

#include <cwchar>

namespace {

const unsigned c_primes[] = {
    17,      23,      29,      37,      41,      53,      67,      83,      103,     131,     163,      211,
    257,     331,     409,     521,     647,     821,     1031,    1291,    1627,    2053,    2591,     3251,
    4099,    5167,    6521,    8209,    10331,   13007,   16411,   20663,   26017,   32771,   41299,    52021,
    65537,   82571,   104033,  131101,  165161,  208067,  262147,  330287,  416147,  524309,  660563,   832291,
    1048583, 1321139, 1664543, 2097169, 2642257, 3329023, 4194319, 5284493, 6658049, 8388617, 10568993, 13316089,
};

}  // namespace

unsigned HashTextNoCase(const wchar_t* text)
{
    unsigned h = 0;
    if (!text)
        return h;
    for (; *text; ++text) {
        unsigned c = static_cast<unsigned short>(*text);
        if (c >= L'A' && c <= L'Z')
            c += L'a' - L'A';
        h = (h << 4) + c;
        const unsigned g = h & 0xF0000000u;
        if (g != 0)
            h = (h ^ (g >> 24)) & 0x0FFFFFFFu;
    }
    return h;
}

bool TextEqualsNoCase(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b)
        return a == b;
    return _wcsicmp(a, b) == 0;
}

unsigned HashBucketCountFor(unsigned n, float sizingLoad)
{
    const double wanted = static_cast<double>(n) / sizingLoad;
    const unsigned m = wanted >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<unsigned>(wanted);
    if (m <= c_primes[0])
        return c_primes[0];
    for (unsigned prime : c_primes) {
        if (prime >= m)
            return prime;
    }
    return m;
}

void* t_hashMemHeap::Alloc(size_t n)
{
    if (n > 0x7FFFFFFFu - sizeof(unsigned))
        return nullptr;
    unsigned* block = static_cast<unsigned*>(m_heap->Alloc(static_cast<unsigned>(n + sizeof(unsigned))));
    if (!block)
        return nullptr;
    *block = static_cast<unsigned>(n);
    return block + 1;
}
