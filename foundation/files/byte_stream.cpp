#include "foundation/files/byte_stream.h"

#include <cstring>

bool t_byteStreamRead::ReadU32(t_errorChain& errors, uint32_t& value)
{
    uint8_t bytes[4];
    if (!Read(errors, bytes, 4))
        return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

bool t_memReader::ReadByte(uint8_t& out)
{
    if (m_pos >= m_size)
        return false;
    out = m_begin[m_pos++];
    return true;
}

bool t_memReader::Read(size_t count, void* target)
{
    if (m_pos >= m_size)
        return false;
    if (count > m_size - m_pos) {
        // Ran off the end: the reader is spent, later reads fail as well.
        m_pos = m_size;
        return false;
    }
    memcpy(target, m_begin + m_pos, count);
    m_pos += count;
    return true;
}
