#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/files/byte_stream.h"
#include "foundation/core/error_chain.h"

// A whole file loaded into memory and read in exact counts.
class t_fileBufRead : public t_byteStreamRead {
public:
    t_fileBufRead() = default;
    ~t_fileBufRead() override;

    bool Load(t_errorChain& errors, const wchar_t* path);
    bool Read(t_errorChain& errors, void* buffer, uint32_t count) override;

    const uint8_t* Data() const { return m_buffer; }
    size_t Size() const { return m_size; }
    size_t Position() const { return m_position; }

    t_fileBufRead(const t_fileBufRead&) = delete;
    t_fileBufRead& operator=(const t_fileBufRead&) = delete;

private:
    uint8_t* m_buffer = nullptr;
    size_t m_size = 0;
    size_t m_position = 0;
};

// A growing memory buffer written and read back through one position. It doubles when
// full and refuses to grow past 100 MiB.
class t_fileBufWrite : public t_byteStreamWrite, public t_byteStreamRead {
public:
    static const size_t c_initialCapacity = 65536;
    static const size_t c_maxCapacity = 104857600;

    t_fileBufWrite();
    ~t_fileBufWrite() override;

    bool Write(t_errorChain& errors, const void* data, uint32_t count) override;
    bool Read(t_errorChain& errors, void* buffer, uint32_t count) override;
    bool Reserve(t_errorChain& errors, uint64_t required);

    // Moves the position back to the start, to read back what was written.
    void Rewind() { m_position = 0; }
    const uint8_t* Data() const { return m_buffer; }
    size_t Length() const { return m_length; }
    size_t Position() const { return m_position; }
    size_t Capacity() const { return m_capacity; }

    t_fileBufWrite(const t_fileBufWrite&) = delete;
    t_fileBufWrite& operator=(const t_fileBufWrite&) = delete;

protected:
    // Frees the buffer; the object is empty afterwards and grows again on the next write.
    void Release();

    uint8_t* m_buffer = nullptr;
    size_t m_capacity = 0;
    size_t m_length = 0;
    size_t m_position = 0;
};

// Frees a growing heap block and zeroes its pointer, capacity and fill count.
void ReleaseBlock(uint8_t*& block, size_t& capacity, size_t& used);
