#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/core/error_chain.h"

// A source of bytes (a file, a memory buffer). Read demands the exact count.
class t_byteStreamRead {
public:
    virtual ~t_byteStreamRead() = default;
    virtual bool Read(t_errorChain& errors, void* buffer, uint32_t count) = 0;
    // Four bytes taken as a little-endian word (a package's magic, for instance).
    bool ReadU32(t_errorChain& errors, uint32_t& value);
};

// A sink of bytes. Write demands that every byte be taken.
class t_byteStreamWrite {
public:
    virtual ~t_byteStreamWrite() = default;
    virtual bool Write(t_errorChain& errors, const void* data, uint32_t count) = 0;
};

// Bounded reader over a memory block that it does not own, for the picture decoders.
// A read that runs past the end fails, and every read after it fails too.
class t_memReader {
public:
    t_memReader(const void* begin, size_t size) : m_begin(static_cast<const uint8_t*>(begin)), m_size(size), m_pos(0) {}

    bool ReadByte(uint8_t& out);
    bool Read(size_t count, void* target);
    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }

private:
    const uint8_t* m_begin;
    size_t m_size;
    // Kept as a count within 0..size, so no pointer is ever formed past the block.
    size_t m_pos;
};
