#include "foundation/files/file_buf.h"

#include <cstdlib>
#include <cstring>

#include "foundation/files/file.h"

namespace {

// Copies count bytes at position out of a block of size bytes and advances the position.
// Compared as counts: position <= size always holds, so size - position cannot wrap.
bool ReadFromBlock(t_errorChain& errors, const uint8_t* block, size_t size, size_t& position, void* buffer,
                   uint32_t count)
{
    if (position > size || count > size - position) {
        errors.NewLine().AppendFormat(L"读文件越界: %I64u字节", uint64_t(position) + count);
        return false;
    }
    if (count)
        memcpy(buffer, block + position, count);
    position += count;
    return true;
}

}  // namespace

void ReleaseBlock(uint8_t*& block, size_t& capacity, size_t& used)
{
    free(block);
    block = nullptr;
    capacity = 0;
    used = 0;
}

t_fileBufRead::~t_fileBufRead() { free(m_buffer); }

bool t_fileBufRead::Load(t_errorChain& errors, const wchar_t* path)
{
    free(m_buffer);
    m_buffer = nullptr;
    m_size = 0;
    m_position = 0;

    t_fileRead file;
    bool ok = file.Open(errors, path);
    uint32_t size = ok ? FileSizeOf(file.Handle()) : 0;
    uint8_t* block = ok ? static_cast<uint8_t*>(malloc(size ? size : 1)) : nullptr;
    if (ok && !block)
        errors.AddText(L"内存不足");
    ok = block && file.Read(errors, block, size);
    if (!ok) {
        free(block);
        errors.AddText(L"打开文件失败");
        return false;
    }
    m_buffer = block;
    m_size = size;
    return true;
}

bool t_fileBufRead::Read(t_errorChain& errors, void* buffer, uint32_t count)
{
    return ReadFromBlock(errors, m_buffer, m_size, m_position, buffer, count);
}

t_fileBufWrite::t_fileBufWrite()
{
    m_buffer = static_cast<uint8_t*>(malloc(c_initialCapacity));
    m_capacity = m_buffer ? c_initialCapacity : 0;
}

t_fileBufWrite::~t_fileBufWrite() { free(m_buffer); }

void t_fileBufWrite::Release()
{
    ReleaseBlock(m_buffer, m_capacity, m_length);
    m_position = 0;
}

bool t_fileBufWrite::Reserve(t_errorChain& errors, uint64_t required)
{
    if (m_capacity >= required)
        return true;
    // A released buffer starts again from the initial size.
    uint64_t capacity = m_capacity ? m_capacity : c_initialCapacity;
    while (capacity < required) {
        if (capacity * 2 > c_maxCapacity) {
            errors.NewLine().AppendFormat(L"写文件失败：数据量太大: %I64u字节", required);
            return false;
        }
        capacity *= 2;
    }
    uint8_t* grown = static_cast<uint8_t*>(realloc(m_buffer, static_cast<size_t>(capacity)));
    if (!grown) {
        errors.NewLine().AppendFormat(L"写文件失败：内存不足: %I64u字节", capacity);
        return false;
    }
    m_buffer = grown;
    m_capacity = static_cast<size_t>(capacity);
    return true;
}

bool t_fileBufWrite::Write(t_errorChain& errors, const void* data, uint32_t count)
{
    if (!Reserve(errors, uint64_t(m_position) + count)) {
        errors.AddText(L"写文件失败");
        return false;
    }
    if (count)
        memcpy(m_buffer + m_position, data, count);
    m_position += count;
    if (m_position > m_length)
        m_length = m_position;
    return true;
}

bool t_fileBufWrite::Read(t_errorChain& errors, void* buffer, uint32_t count)
{
    return ReadFromBlock(errors, m_buffer, m_length, m_position, buffer, count);
}
