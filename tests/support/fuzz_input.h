#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

// Test helpers for hostile input: a buffer whose last byte sits just before a no-access
// page, so that any read past the end of an input faults at once, and a seeded mutator
// that damages valid inputs the way disks, transfers and hand edits do.

class t_guardedBytes {
public:
    t_guardedBytes()
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
    }
    ~t_guardedBytes() { Release(); }
    t_guardedBytes(const t_guardedBytes&) = delete;
    t_guardedBytes& operator=(const t_guardedBytes&) = delete;

    // Copies the bytes so that they end exactly at the no-access page; null when the
    // pages cannot be had.
    const uint8_t* Place(const void* data, size_t n)
    {
        const size_t pages = n / m_page + 1;
        if (pages > m_pages && !Reserve(pages))
            return nullptr;
        uint8_t* end = m_base + m_pages * m_page;
        if (n)
            memcpy(end - n, data, n);
        return end - n;
    }
    const uint8_t* Place(const std::string& bytes) { return Place(bytes.data(), bytes.size()); }

private:
    bool Reserve(size_t pages)
    {
        Release();
        m_base = static_cast<uint8_t*>(VirtualAlloc(nullptr, (pages + 1) * m_page, MEM_COMMIT, PAGE_READWRITE));
        if (!m_base)
            return false;
        DWORD old = 0;
        if (!VirtualProtect(m_base + pages * m_page, m_page, PAGE_NOACCESS, &old)) {
            Release();
            return false;
        }
        m_pages = pages;
        return true;
    }
    void Release()
    {
        if (m_base)
            VirtualFree(m_base, 0, MEM_RELEASE);
        m_base = nullptr;
        m_pages = 0;
    }

    uint8_t* m_base = nullptr;
    size_t m_pages = 0;
    size_t m_page = 4096;
};

// Little-endian field writes for damaging binary headers in place; nothing is written
// when the field does not fit.
inline void PutLe16(std::string& bytes, size_t at, uint32_t value)
{
    if (at > bytes.size() || bytes.size() - at < 2)
        return;
    bytes[at] = static_cast<char>(value);
    bytes[at + 1] = static_cast<char>(value >> 8);
}
inline void PutLe32(std::string& bytes, size_t at, uint32_t value)
{
    if (at > bytes.size() || bytes.size() - at < 4)
        return;
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// A value that tends to break size and offset arithmetic: the edges of the 16- and 32-bit
// ranges, small numbers, numbers near the input's own size, or anything.
inline uint32_t EdgeValue(std::mt19937& rng, size_t inputSize)
{
    static const uint32_t c_edges[] = {0,       1,          2,           0x7f,        0x80,
                                       0xff,    0x7fff,     0x8000,      0xfffe,      0xffff,
                                       0x10000, 0x7fffffff, 0x80000000u, 0xfffffffeu, 0xffffffffu};
    switch (rng() % 4) {
    case 0:
        return c_edges[rng() % (sizeof c_edges / sizeof c_edges[0])];
    case 1:
        return static_cast<uint32_t>(inputSize) + (rng() % 9) - 4;
    case 2:
        return rng() % 64;
    default:
        return static_cast<uint32_t>(rng());
    }
}

// One to four random damages: bit flips, random bytes, edge values over 16- or 32-bit
// fields, cut tails, inserted or removed runs, a run repeated.
inline void Mutate(std::string& bytes, std::mt19937& rng)
{
    const int changes = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < changes; ++k) {
        const size_t n = bytes.size();
        const size_t at = n ? rng() % n : 0;
        switch (rng() % 8) {
        case 0:
            if (n)
                bytes[at] ^= static_cast<char>(1u << (rng() % 8));
            break;
        case 1:
            if (n)
                bytes[at] = static_cast<char>(rng());
            break;
        case 2:
            PutLe16(bytes, at, EdgeValue(rng, n));
            break;
        case 3:
            PutLe32(bytes, at, EdgeValue(rng, n));
            break;
        case 4:
            bytes.resize(at);
            break;
        case 5: {
            std::string run(1 + rng() % 16, 0);
            for (char& c : run)
                c = static_cast<char>(rng());
            bytes.insert(at, run);
            break;
        }
        case 6:
            bytes.erase(at, 1 + rng() % 16);
            break;
        default:
            if (n)
                bytes.insert(at, bytes.substr(at, 1 + rng() % 32));
            break;
        }
    }
}

// The number of mutated inputs a fuzz loop tries: `bounded` in the test command, or the
// value of KAVREL_FUZZ_ROUNDS for long runs outside it.
inline int FuzzRounds(int bounded)
{
    wchar_t text[32] = {};
    if (GetEnvironmentVariableW(L"KAVREL_FUZZ_ROUNDS", text, 32) > 0 && _wtoi(text) > 0)
        return _wtoi(text);
    return bounded;
}

// n bytes of a small generator from seed: data that does not compress.
inline std::string Noise(size_t n, unsigned seed)
{
    std::string out(n, 0);
    for (char& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return out;
}

inline std::string RandomBytes(std::mt19937& rng, size_t n)
{
    std::string out(n, 0);
    for (char& c : out)
        c = static_cast<char>(rng());
    return out;
}
