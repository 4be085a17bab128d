#include "foundation/core/byte_buffer.h"

#include <cstdlib>
#include <cstring>

namespace {

uint32_t ReadCapacity(const unsigned char* block)
{
    uint32_t v;
    memcpy(&v, block, 4);
    return v;
}

}  // namespace

void t_byteBuffer::Init()
{
    m_block = m_inline;
    m_inPlace = 1;
    m_inlineUsed = 4;
    memset(m_inline, 0, 4);
}

uint32_t t_byteBuffer::Capacity() const { return ReadCapacity(m_block); }

bool t_byteBuffer::Reserve(uint32_t n)
{
    uint32_t capacity = Capacity();
    if (capacity >= n)
        return true;
    // 16-bit mask: large buffers grow by their request alone.
    uint32_t proposal = (2 * capacity + 16) & 0xfff0;
    uint32_t grown = n > proposal ? n : proposal;
    if (grown > 0xFFFFFFFFu - 4)
        return false;
    uint32_t blockSize = grown + 4;
    if (m_inPlace) {
        if (blockSize <= uint32_t(c_inlineBytes)) {
            m_inlineUsed = static_cast<uint16_t>(blockSize);
        } else {
            unsigned char* block = static_cast<unsigned char*>(malloc(blockSize));
            if (!block)
                return false;
            memcpy(block, m_inline, m_inlineUsed);
            m_block = block;
            m_inPlace = 0;
        }
    } else {
        unsigned char* block = static_cast<unsigned char*>(realloc(m_block, blockSize));
        if (!block)
            return false;
        m_block = block;
    }
    memcpy(m_block, &grown, 4);
    return true;
}

unsigned char* t_byteBuffer::ReserveAt(uint32_t n, uint32_t offset)
{
    if (n > 0xFFFFFFFFu - offset || !Reserve(n + offset))
        return nullptr;
    return Data() + offset;
}

void t_byteBuffer::Free()
{
    if (!m_inPlace)
        free(m_block);
    Init();
}
