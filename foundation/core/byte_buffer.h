// Growable byte buffer with a 270-byte inline store, for building images.
#pragma once

#include <cstdint>

class t_byteBuffer {
public:
    t_byteBuffer() { Init(); }
    ~t_byteBuffer() { Free(); }
    t_byteBuffer(const t_byteBuffer&) = delete;
    t_byteBuffer& operator=(const t_byteBuffer&) = delete;

    // Empty, in place, capacity 0. Forgets (does not free) a heap block.
    void Init();
    // Room for at least n bytes: the larger of n and (2 x capacity + 16)
    // masked to 0xfff0. Blocks up to 270 bytes (capacity word included) stay
    // inline. False (buffer unchanged) when memory cannot be had.
    bool Reserve(uint32_t n);
    // Reserves n + offset bytes and returns the data at offset; null on failure.
    unsigned char* ReserveAt(uint32_t n, uint32_t offset);
    // Releases a heap block; the buffer is empty and in place again.
    void Free();

    unsigned char* Data() { return reinterpret_cast<unsigned char*>(m_block) + 4; }
    uint32_t Capacity() const;
    bool IsInPlace() const { return m_inPlace != 0; }

private:
    static const int c_inlineBytes = 270;

    unsigned char* m_block;  // u32 capacity, then the data
    unsigned char m_inline[c_inlineBytes];
    uint16_t m_inlineUsed;
    uint8_t m_inPlace;
};
