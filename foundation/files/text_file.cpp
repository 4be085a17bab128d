#include "foundation/files/text_file.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "foundation/files/file.h"
#include "foundation/files/file_buf.h"

// ---- writer ----

t_fileTextWrite::t_fileTextWrite(size_t initialBytes)
{
    m_buffer = static_cast<uint8_t*>(malloc(initialBytes ? initialBytes : 2));
    m_capacity = m_buffer ? (initialBytes ? initialBytes : 2) : 0;
    m_outOfMemory = m_buffer == nullptr;
}

t_fileTextWrite::~t_fileTextWrite() { free(m_buffer); }

void t_fileTextWrite::Release() { ReleaseBlock(m_buffer, m_capacity, m_used); }

bool t_fileTextWrite::Put(wchar_t c)
{
    if (m_outOfMemory)
        return false;
    size_t need = m_used + sizeof(wchar_t);
    if (need > m_capacity) {
        // Twice the need keeps reallocations few.
        uint8_t* grown = static_cast<uint8_t*>(realloc(m_buffer, need * 2));
        if (!grown) {
            m_outOfMemory = true;
            return false;
        }
        m_buffer = grown;
        m_capacity = need * 2;
    }
    memcpy(m_buffer + m_used, &c, sizeof(wchar_t));
    m_used = need;
    return true;
}

t_fileTextWrite& t_fileTextWrite::Append(const wchar_t* text)
{
    if (!text)
        return *this;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n' || *p == L'\r') {
            // A pair of different line-end characters counts as one line end.
            wchar_t partner = (*p == L'\n') ? L'\r' : L'\n';
            Put(L'\r');
            Put(L'\n');
            if (p[1] == partner)
                ++p;
        } else {
            Put(*p);
        }
    }
    return *this;
}

bool t_fileTextWrite::ReportOutOfMemory(t_errorChain& errors)
{
    errors.AddText(L"写文件失败：内存不足");
    return false;
}

bool t_fileTextWrite::WriteToFile(t_errorChain& errors, const wchar_t* path)
{
    if (m_outOfMemory)
        return ReportOutOfMemory(errors);
    static const uint8_t bom[2] = {0xFF, 0xFE};
    t_fileWrite file;
    if (!file.Open(errors, path, t_file::e_writeNew))
        return false;
    if (!file.Write(errors, bom, 2))
        return false;
    if (m_used > UINT32_MAX || !file.Write(errors, m_buffer, static_cast<uint32_t>(m_used)))
        return false;
    file.Close();
    Release();
    return true;
}

bool t_fileTextWrite::CopyOutWithBom(size_t& size, void* target)
{
    if (m_outOfMemory)
        return false;
    size_t room = size;
    size = m_used + 2;
    if (room < size)
        return false;
    uint8_t* out = static_cast<uint8_t*>(target);
    out[0] = 0xFF;
    out[1] = 0xFE;
    if (m_used)
        memcpy(out + 2, m_buffer, m_used);
    Release();
    return true;
}

// ---- loader ----

void t_textBuffer::Free()
{
    free(m_allocation);
    m_allocation = nullptr;
    m_cursor = nullptr;
    m_text = nullptr;
}

namespace {

bool IsTrimmed(wchar_t c) { return c >= 1 && c <= 32 && c != L'\n' && c != L'\r'; }

const size_t c_tailZeros = 4;

// A block of count + 4 bytes, the last four zero: a wide terminator even after an odd count.
uint8_t* AllocateLoadBlock(size_t count)
{
    if (count > SIZE_MAX - c_tailZeros)
        return nullptr;
    uint8_t* block = static_cast<uint8_t*>(malloc(count + c_tailZeros));
    if (block)
        memset(block + count, 0, c_tailZeros);
    return block;
}

}  // namespace

wchar_t* t_textBuffer::NextLine()
{
    if (!m_cursor)
        return nullptr;
    if (*m_cursor == 0) {
        m_cursor = nullptr;
        return nullptr;
    }
    wchar_t* start = m_cursor;
    wchar_t* end = start;
    while (*end && *end != L'\n' && *end != L'\r')
        ++end;
    if (*end == 0) {
        m_cursor = nullptr;
    } else {
        m_cursor = end + ((end[0] == L'\r' && end[1] == L'\n') ? 2 : 1);
    }
    while (start < end && IsTrimmed(*start))
        ++start;
    while (end > start && IsTrimmed(end[-1]))
        --end;
    *end = 0;
    return start;
}

t_textEncoding DetectTextEncoding(const void* bytes, size_t count, size_t& markBytes)
{
    const uint8_t* data = static_cast<const uint8_t*>(bytes);
    markBytes = 0;
    if (count >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        markBytes = 2;
        return t_textEncoding::e_utf16le;
    }
    if (count >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        markBytes = 2;
        return t_textEncoding::e_utf16be;
    }
    if (count >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        markBytes = 3;
        return t_textEncoding::e_utf8;
    }
    size_t evenZeros = 0, oddZeros = 0;
    for (size_t i = 0; i < count; ++i) {
        if (data[i] == 0)
            ++((i % 2) ? oddZeros : evenZeros);
    }
    if (evenZeros + oddZeros == 0)
        return t_textEncoding::e_codePage;
    return oddZeros >= evenZeros ? t_textEncoding::e_utf16le : t_textEncoding::e_utf16be;
}

bool DecodeText(const void* bytes, size_t count, unsigned codePage, std::wstring& out)
{
    out.clear();
    t_errorChain ignored;
    t_textBuffer text;
    if (!LoadTextMemory(ignored, bytes, count, codePage, text))
        return false;
    if (text.Text())
        out = text.Text();
    return true;
}

// Decodes a loaded block (data of `count` bytes followed by four zero bytes) into `out`.
// The block is either adopted by `out` or freed.
struct t_textLoader {
    static void Adopt(t_textBuffer& out, void* allocation, wchar_t* text)
    {
        out.m_allocation = allocation;
        out.m_text = text;
        out.m_cursor = text;
    }

    static bool Convert(t_errorChain& errors, uint8_t* block, const uint8_t* data, size_t count, unsigned codePage,
                        const wchar_t* what, t_textBuffer& out)
    {
        wchar_t* text = nullptr;
        int chars = 0;
        if (count > 0) {
            if (count <= INT_MAX) {
                chars = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data), static_cast<int>(count),
                                            nullptr, 0);
            } else {
                SetLastError(ERROR_ARITHMETIC_OVERFLOW);
            }
            if (chars <= 0) {
                errors.AddLastError().AppendText(what);
                errors.Fail(L"编码不识别[%02x%02x-%02x%02x]", block[0], block[1], block[2], block[3]);
                free(block);
                return false;
            }
        }
        text = static_cast<wchar_t*>(malloc((size_t(chars) + 1) * sizeof(wchar_t)));
        if (!text) {
            errors.Fail(L"编码不识别[%02x%02x-%02x%02x]", block[0], block[1], block[2], block[3]);
            free(block);
            return false;
        }
        if (chars > 0) {
            MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data), static_cast<int>(count), text, chars);
        }
        text[chars] = 0;
        free(block);
        Adopt(out, text, text);
        return true;
    }

    static bool Decode(t_errorChain& errors, uint8_t* block, size_t count, unsigned codePage, t_textBuffer& out)
    {
        size_t mark = 0;
        switch (DetectTextEncoding(block, count, mark)) {
        case t_textEncoding::e_utf16le:
            // An odd last byte pairs with the zero tail.
            Adopt(out, block, reinterpret_cast<wchar_t*>(block + mark));
            return true;
        case t_textEncoding::e_utf16be: {
            const size_t n = count - mark;
            if (mark && n % 2) {
                errors.Fail(L"BigEndianUnicode解码错误：数据长度为奇数（len = %d）", static_cast<int>(n));
                free(block);
                return false;
            }
            if (n % 2)
                block[count - 1] = 0;
            for (size_t i = mark; i + 1 < count; i += 2) {
                const uint8_t t = block[i];
                block[i] = block[i + 1];
                block[i + 1] = t;
            }
            Adopt(out, block, reinterpret_cast<wchar_t*>(block + mark));
            return true;
        }
        case t_textEncoding::e_utf8:
            return Convert(errors, block, block + mark, count - mark, CP_UTF8, L"UTF8转码失败", out);
        case t_textEncoding::e_codePage:
            break;
        }
        return Convert(errors, block, block, count, codePage, L"ANSI转码失败", out);
    }
};

bool LoadTextFile(t_errorChain& errors, const wchar_t* path, unsigned codePage, t_textBuffer& out)
{
    out.Free();
    t_fileRead file;
    if (!file.Open(errors, path))
        return false;
    uint32_t size = FileSizeOf(file.Handle());
    uint8_t* block = AllocateLoadBlock(size);
    if (!block) {
        errors.NewLine().AppendText(L"打开文件失败：内存不足或者文件大小错误\n").AppendText(path);
        return false;
    }
    if (!file.Read(errors, block, size)) {
        free(block);
        errors.NewLine().AppendText(L"打开文件失败：").AppendText(path);
        return false;
    }
    file.Close();
    if (!t_textLoader::Decode(errors, block, size, codePage, out)) {
        errors.NewLine().AppendText(L"打开文件失败：").AppendText(path);
        return false;
    }
    return true;
}

bool LoadTextMemory(t_errorChain& errors, const void* bytes, size_t count, unsigned codePage, t_textBuffer& out)
{
    out.Free();
    uint8_t* block = (bytes || count == 0) ? AllocateLoadBlock(count) : nullptr;
    if (!block) {
        errors.AddText(L"加载内存文件失败：内存不足或者原始内存块大小错误");
        return false;
    }
    if (count)
        memcpy(block, bytes, count);
    if (!t_textLoader::Decode(errors, block, count, codePage, out)) {
        errors.AddText(L"加载内存文件失败");
        return false;
    }
    return true;
}
