#include "foundation/core/str.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Largest capacity whose block size (2 * capacity + 4 bytes) stays below 2 GB.
const uint32_t c_maxCapacity = 0x3FFFFFF0u;

// A string that cannot get its memory has no way to report it; going on would leave
// callers writing into a block that is too small, so the process stops here.
[[noreturn]] void OutOfMemory()
{
    RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();
}

bool InSet(const wchar_t* set, wchar_t c) { return c != 0 && std::wcschr(set, c) != nullptr; }

}  // namespace

t_str::t_str() { Init(); }

t_str::t_str(const wchar_t* text)
{
    Init();
    Assign(text);
}

t_str::t_str(const t_str& other)
{
    Init();
    AssignN(other.c_str(), other.Length());
}

t_str& t_str::operator=(const t_str& other)
{
    if (this != &other)
        AssignN(other.c_str(), other.Length());
    return *this;
}

t_str::~t_str()
{
    if (!m_inPlace)
        std::free(m_block);
}

void t_str::Init()
{
    m_length = 0;
    m_inline.capacity = 0;
    m_block = &m_inline.capacity;
    m_inlineUsed = 4;
    m_inPlace = 1;
    m_lentSize = 0;
    Reserve(1);
    Chars()[0] = 0;
}

void t_str::Reserve(int count)
{
    if (count <= 0)
        return;
    const uint32_t want = static_cast<uint32_t>(count);
    const uint32_t capacity = *m_block;
    if (capacity >= want)
        return;
    if (want > c_maxCapacity)
        OutOfMemory();
    // The 16-bit mask is deliberate: past 32759 characters the proposal wraps and the
    // request alone decides the new capacity.
    const uint32_t proposal = (2 * capacity + 16) & 0xfff0u;
    const uint32_t newCapacity = want > proposal ? want : proposal;
    const size_t bytes = 2 * static_cast<size_t>(newCapacity) + 4;

    if (m_inPlace) {
        if (bytes <= sizeof(uint32_t) + sizeof(m_inline.chars)) {
            m_inlineUsed = static_cast<int16_t>(bytes);
        } else {
            void* block = std::malloc(bytes);
            if (!block)
                OutOfMemory();
            std::memcpy(block, &m_inline, static_cast<size_t>(m_inlineUsed));
            m_block = static_cast<uint32_t*>(block);
            m_inPlace = 0;
        }
    } else {
        void* block = std::realloc(m_block, bytes);
        if (!block)
            OutOfMemory();
        m_block = static_cast<uint32_t*>(block);
    }
    *m_block = newCapacity;
}

// Growing may move the block, so a source inside it is found again by its offset.
bool t_str::InBlock(const wchar_t* text, size_t& offset) const
{
    const uintptr_t begin = reinterpret_cast<uintptr_t>(c_str());
    const uintptr_t at = reinterpret_cast<uintptr_t>(text);
    if (at < begin || at - begin >= static_cast<uintptr_t>(*m_block) * sizeof(wchar_t))
        return false;
    offset = (at - begin) / sizeof(wchar_t);
    return true;
}

void t_str::AssignN(const wchar_t* text, int count)
{
    if (!text || count < 0)
        count = 0;
    const uint32_t n = static_cast<uint32_t>(count);
    if (n >= c_maxCapacity)
        OutOfMemory();
    size_t offset = 0;
    const bool inside = InBlock(text, offset);
    Reserve(count + 1);
    if (inside)
        text = Chars() + offset;
    if (n)
        std::memmove(Chars(), text, n * sizeof(wchar_t));
    m_length = n;
    Chars()[n] = 0;
}

void t_str::Assign(const wchar_t* text) { AssignN(text, text ? static_cast<int>(std::wcslen(text)) : 0); }

void t_str::Clear()
{
    m_lentSize = 0;
    m_length = 0;
    Chars()[0] = 0;
}

void t_str::AppendN(const wchar_t* text, uint32_t count)
{
    if (!text || !count)
        return;
    if (count > c_maxCapacity || m_length + 1 > c_maxCapacity - count)
        OutOfMemory();
    size_t offset = 0;
    const bool inside = InBlock(text, offset);
    Reserve(static_cast<int>(m_length + count + 1));
    if (inside)
        text = Chars() + offset;
    std::memmove(Chars() + m_length, text, count * sizeof(wchar_t));
    m_length += count;
    Chars()[m_length] = 0;
}

void t_str::Append(const wchar_t* text)
{
    if (text)
        AppendN(text, static_cast<uint32_t>(std::wcslen(text)));
}

void t_str::AppendStr(const t_str& other) { AppendN(other.c_str(), other.m_length); }

t_str& t_str::AppendText(const wchar_t* text)
{
    // The formatter would read a text of this string after growing had moved it.
    size_t offset = 0;
    if (InBlock(text, offset))
        AppendN(text, static_cast<uint32_t>(std::wcslen(text)));
    else
        AppendFormat(L"%s", text ? text : L"");
    return *this;
}

t_str& t_str::AppendInt(int value)
{
    AppendFormat(L"%d", value);
    return *this;
}

t_str& t_str::AppendUInt(unsigned value)
{
    AppendFormat(L"%u", value);
    return *this;
}

t_str& t_str::AppendChar(wchar_t c)
{
    // %c takes an int-promoted wchar_t in the wide formatter.
    AppendFormat(L"%c", c < 32 ? L'?' : c);
    return *this;
}

void t_str::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void t_str::AppendFormatV(const wchar_t* format, va_list args)
{
    if (!format)
        return;
    uint32_t trial = *m_block - m_length;
    if (trial < 16)
        trial = 16;
    int needed = -1;  // known once a trial was too small
    for (;;) {
        if (trial > c_maxCapacity || m_length > c_maxCapacity - trial)
            OutOfMemory();
        Reserve(static_cast<int>(m_length + trial));
        wchar_t* dest = Chars() + m_length;
        va_list copy;
        va_copy(copy, args);
        // One place is kept back for the terminator: an exact fit writes none.
        const int written = _vsnwprintf(dest, trial - 1, format, copy);
        va_end(copy);
        if (written >= 0) {
            m_length += static_cast<uint32_t>(written);
            Chars()[m_length] = 0;
            return;
        }
        // The formatter answers -1 both for too little space and for a bad argument;
        // counting the output once tells the two apart and bounds the doubling.
        if (needed < 0) {
            va_copy(copy, args);
            needed = _vscwprintf(format, copy);
            va_end(copy);
        }
        if (needed < 0 || static_cast<uint32_t>(needed) < trial) {
            Chars()[m_length] = 0;  // the formatter may have written over it
            return;
        }
        trial *= 2;
    }
}

void t_str::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void t_str::FormatV(const wchar_t* format, va_list args)
{
    Clear();
    AppendFormatV(format, args);
}

bool t_str::Equals(const wchar_t* text) const { return std::wcscmp(c_str(), text ? text : L"") == 0; }

bool t_str::EqualsNoCase(const wchar_t* text) const { return _wcsicmp(c_str(), text ? text : L"") == 0; }

bool t_str::EqualsNoCaseStr(const t_str& other) const { return EqualsNoCase(other.c_str()); }

bool t_str::operator==(const t_str& other) const
{
    return m_length == other.m_length && std::memcmp(c_str(), other.c_str(), m_length * sizeof(wchar_t)) == 0;
}

int t_str::Find(wchar_t c, int start) const
{
    if (start < 0 || static_cast<uint32_t>(start) >= m_length)
        return -1;
    const wchar_t* chars = c_str();
    for (uint32_t i = static_cast<uint32_t>(start); i < m_length; ++i) {
        if (chars[i] == c)
            return static_cast<int>(i);
    }
    return -1;
}

int t_str::FindText(int start, const wchar_t* text) const
{
    if (!text || start < 0 || static_cast<uint32_t>(start) >= m_length)
        return -1;
    const wchar_t* found = std::wcsstr(c_str() + start, text);
    return found ? static_cast<int>(found - c_str()) : -1;
}

int t_str::ReverseFindBackslash() const
{
    const wchar_t* found = std::wcsrchr(c_str(), L'\\');
    return found ? static_cast<int>(found - c_str()) : -1;
}

void t_str::Mid(t_str& out, int start, int count) const
{
    if (start < 0 || static_cast<uint32_t>(start) >= m_length) {
        out.Clear();
        return;
    }
    const uint32_t rest = m_length - static_cast<uint32_t>(start);
    const uint32_t n = (count < 0 || static_cast<uint32_t>(count) > rest) ? rest : static_cast<uint32_t>(count);
    out.AssignN(c_str() + start, static_cast<int>(n));
}

void t_str::Erase(int from, int to)
{
    if (from < 0 || static_cast<uint32_t>(from) >= m_length || to <= from)
        return;
    uint32_t end = static_cast<uint32_t>(to);
    if (end > m_length)
        end = m_length;
    wchar_t* chars = Chars();
    // Moves the tail and its terminator down.
    std::memmove(chars + from, chars + end, (m_length - end + 1) * sizeof(wchar_t));
    m_length -= end - static_cast<uint32_t>(from);
}

void t_str::Truncate(int length)
{
    // Beyond the block the terminator could not be written.
    if (length < 0 || static_cast<uint32_t>(length) >= *m_block)
        return;
    m_length = static_cast<uint32_t>(length);
    Chars()[m_length] = 0;
}

void t_str::Trim(const wchar_t* set)
{
    if (!set || !m_length)
        return;
    const wchar_t* chars = c_str();
    uint32_t lead = 0;
    while (lead < m_length && InSet(set, chars[lead]))
        ++lead;
    Erase(0, static_cast<int>(lead));
    while (m_length && InSet(set, Chars()[m_length - 1]))
        --m_length;
    Chars()[m_length] = 0;
}

void t_str::ToLowerAscii()
{
    wchar_t* chars = Chars();
    for (uint32_t i = 0; i < m_length; ++i) {
        if (chars[i] >= L'A' && chars[i] <= L'Z')
            chars[i] = static_cast<wchar_t>(chars[i] + (L'a' - L'A'));
    }
}

wchar_t* t_str::GetBuffer(int count)
{
    if (count < 0)
        count = 0;
    if (static_cast<uint32_t>(count) >= c_maxCapacity)
        OutOfMemory();
    Reserve(count + 1);
    m_lentSize = static_cast<uint32_t>(count) + 1;
    return Chars();
}

bool t_str::ReleaseBuffer()
{
    // Without a loan the whole block is the limit of the count.
    const uint32_t limit = m_lentSize ? m_lentSize : *m_block;
    const wchar_t* chars = c_str();
    m_length = 0;
    while (m_length < limit && chars[m_length] != 0)
        ++m_length;
    m_lentSize = 0;
    if (m_length >= limit || chars[m_length] != 0) {
        Clear();
        return false;
    }
    return true;
}

bool t_str::FromNarrow(const char* text)
{
    if (!text) {
        Clear();
        return false;
    }
    const int needed = MultiByteToWideChar(936, 0, text, -1, nullptr, 0);
    if (needed <= 0) {
        Clear();
        return false;
    }
    wchar_t* buf = GetBuffer(needed - 1);
    if (MultiByteToWideChar(936, 0, text, -1, buf, needed) != needed) {
        Clear();
        return false;
    }
    return ReleaseBuffer();
}

bool t_str::ToNarrow(char (&out)[260]) const
{
    out[0] = 0;
    if (!m_length)
        return true;
    const int written = WideCharToMultiByte(936, 0, c_str(), static_cast<int>(m_length), out,
                                            static_cast<int>(sizeof(out)) - 1, nullptr, nullptr);
    if (written <= 0) {
        out[0] = 0;
        return false;
    }
    out[written] = 0;
    return true;
}

bool AppendToPathBuf(wchar_t (&buf)[260], const wchar_t* text)
{
    const size_t used = wcsnlen(buf, 260);
    if (used == 260)
        return false;
    if (!text)
        return true;
    const size_t add = std::wcslen(text);
    if (add > 259 - used)
        return false;
    std::wcsncat(buf, text, add);
    return true;
}

bool CopyText1024(wchar_t (&buf)[1024], const wchar_t* text)
{
    if (!text)
        text = L"";
    std::wcsncpy(buf, text, 1023);
    buf[1023] = 0;
    return std::wcslen(text) <= 1023;
}
