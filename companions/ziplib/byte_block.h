// A block of bytes reused from entry to entry: it only grows, and growing does not clear
// it, so that packing and unpacking many entries allocates a few times, not per entry.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

class t_byteBlock {
public:
    // Room for n bytes; the first keep bytes survive a move to a larger block.
    bool Reserve(size_t n, size_t keep = 0)
    {
        if (n <= m_capacity)
            return true;
        const size_t capacity = std::max(n, m_capacity + m_capacity / 2);
        std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[capacity]);
        if (!grown)
            return false;
        if (keep)
            memcpy(grown.get(), m_data.get(), keep);
        m_data = std::move(grown);
        m_capacity = capacity;
        return true;
    }
    uint8_t* Data() { return m_data.get(); }
    const uint8_t* Data() const { return m_data.get(); }
    size_t Capacity() const { return m_capacity; }

private:
    std::unique_ptr<uint8_t[]> m_data;
    size_t m_capacity = 0;
};
