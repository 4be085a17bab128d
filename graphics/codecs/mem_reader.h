// Bounded reader over a picture held in memory, shared by the picture decoders and the
// read callbacks of the image libraries. Unlike the foundation stream reader it can move
// its cursor (a bitmap's pixel data lies at an offset its file header names).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class t_memInput {
public:
    t_memInput(const void* start, size_t count)
        : m_start(static_cast<const uint8_t*>(start)), m_count(start ? count : 0)
    {}

    const uint8_t* Start() const { return m_start; }
    size_t Size() const { return m_count; }
    size_t Position() const { return m_cursor; }
    size_t Remaining() const { return m_count - m_cursor; }
    // The bytes at the cursor; Remaining() of them may be read.
    const uint8_t* Here() const { return m_start + m_cursor; }

    // Moves the cursor to an offset from the start; false (cursor unmoved) past the end.
    bool Seek(size_t offset)
    {
        if (offset > m_count)
            return false;
        m_cursor = offset;
        return true;
    }
    bool Skip(size_t count)
    {
        if (count > Remaining())
            return false;
        m_cursor += count;
        return true;
    }
    // Copies exactly count bytes; a read past the end leaves the cursor at the end, so
    // every later read fails as well.
    bool Read(void* target, size_t count)
    {
        if (count > Remaining()) {
            m_cursor = m_count;
            return false;
        }
        if (count)
            memcpy(target, Here(), count);
        m_cursor += count;
        return true;
    }
    // Copies up to count bytes and returns how many it copied (0 at the end).
    size_t ReadSome(void* target, size_t count)
    {
        if (count > Remaining())
            count = Remaining();
        if (count)
            memcpy(target, Here(), count);
        m_cursor += count;
        return count;
    }
    bool ReadU8(uint8_t& value) { return Read(&value, 1); }
    bool ReadU16(uint16_t& value)
    {
        uint8_t b[2];
        if (!Read(b, 2))
            return false;
        value = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool ReadU32(uint32_t& value)
    {
        uint8_t b[4];
        if (!Read(b, 4))
            return false;
        value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }

private:
    const uint8_t* m_start;
    size_t m_count;
    // Always within 0..count, so no pointer is ever formed past the block.
    size_t m_cursor = 0;
};
