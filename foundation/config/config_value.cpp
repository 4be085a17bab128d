#include "foundation/config/config_value.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

namespace n_config {

bool t_textCursor::NewChunk()
{
    void* chunk = arena ? arena->Alloc(c_chunkChars * sizeof(wchar_t)) : nullptr;
    if (!chunk)
        return false;
    at = static_cast<wchar_t*>(chunk);
    room = c_chunkChars;
    return true;
}

bool ParseInt(const wchar_t* text, int& out)
{
    if (!text || !*text)
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long result;
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        result = static_cast<long long>(wcstoul(text, &end, 16));
        if (errno == 0 && result > 0xFFFFFFFFLL)
            errno = ERANGE;
        // The bits of an unsigned hexadecimal number: 0xFFFFFFFF reads as -1.
        result = static_cast<int>(static_cast<unsigned>(result));
    } else {
        result = wcstol(text, &end, 10);
        if (errno == 0 && (result < INT32_MIN || result > INT32_MAX))
            errno = ERANGE;
    }
    if (errno != 0 || end == text || *end != 0)
        return false;
    out = static_cast<int>(result);
    return true;
}

// --- t_typeBase ---------------------------------------------------------------

const wchar_t* t_typeBase::KeyName(wchar_t* buffer, unsigned size, const wchar_t* prefix) const
{
    const wchar_t* own = name ? name : L"";
    if (!prefix || !*prefix)
        return own;
    const size_t a = wcslen(prefix);
    const size_t b = wcslen(own);
    if (a + b >= size)
        return nullptr;
    wmemcpy(buffer, prefix, a);
    wmemcpy(buffer + a, own, b + 1);
    return buffer;
}

bool t_typeBase::Read(const t_iniSection& section, const wchar_t* prefix) { return ReadValue(section, prefix); }

bool t_typeBase::Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix)
{
    return WriteValue(section, cursor, prefix);
}

bool t_typeBase::ReadValue(const t_iniSection& section, const wchar_t* prefix)
{
    wchar_t buffer[c_keyChars];
    const wchar_t* key = KeyName(buffer, c_keyChars, prefix);
    const t_iniNode* node = key ? section.FindKey(key) : nullptr;
    if (!node)
        return false;
    const wchar_t* text = static_cast<const wchar_t*>(node->value);
    if (!FromString(text ? text : L"", nullptr))
        return false;
    isSet = 1;
    return true;
}

bool t_typeBase::WriteValue(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix)
{
    wchar_t buffer[c_keyChars];
    const wchar_t* key = KeyName(buffer, c_keyChars, prefix);
    if (!key)
        return false;
    if (!cursor.at && !cursor.NewChunk())
        return false;
    if (!ToString(cursor.at, cursor.room) && !(cursor.NewChunk() && ToString(cursor.at, cursor.room)))
        return false;
    if (!section.SetKey(key, cursor.at, -1))
        return false;
    const unsigned used = static_cast<unsigned>(wcslen(cursor.at)) + 1;
    cursor.at += used;
    cursor.room -= used;
    return true;
}

// --- values -------------------------------------------------------------------

// Writes text with its terminator when it fits in size characters.
static bool CopyOut(wchar_t* buffer, unsigned size, const wchar_t* text)
{
    const size_t n = wcslen(text);
    if (!buffer || n >= size)
        return false;
    wmemcpy(buffer, text, n + 1);
    return true;
}

bool t_bool::FromString(const wchar_t* text, t_heap*)
{
    value = defaultValue;
    int parsed = 0;
    if (!ParseInt(text, parsed) || (parsed != 0 && parsed != 1))
        return false;
    value = static_cast<unsigned char>(parsed);
    return true;
}

bool t_bool::ToString(wchar_t* buffer, unsigned size) const { return CopyOut(buffer, size, value ? L"1" : L"0"); }

bool t_bool::Get(bool* out) const
{
    if (!isSet)
        return false;
    if (out)
        *out = value != 0;
    return true;
}

void t_bool::Set(bool on)
{
    value = on ? 1 : 0;
    isSet = 1;
}

bool t_int::FromString(const wchar_t* text, t_heap*)
{
    value = defaultValue;
    int parsed = 0;
    if (!ParseInt(text, parsed))
        return false;
    value = parsed;
    return true;
}

bool t_int::ToString(wchar_t* buffer, unsigned size) const
{
    wchar_t text[16];
    _snwprintf(text, 16, L"%d", value);
    text[15] = 0;
    return CopyOut(buffer, size, text);
}

void t_int::Set(int v)
{
    value = v;
    isSet = 1;
}

bool t_str::FromString(const wchar_t* text, t_heap* arena)
{
    value = defaultValue;
    if (!text || !*text)
        return false;
    t_heap* target = arena ? arena : m_arena;
    const wchar_t* copy = target ? target->StrDup(text) : text;
    if (!copy)
        return false;
    value = copy;
    isSet = 1;
    return true;
}

bool t_str::ToString(wchar_t* buffer, unsigned size) const { return CopyOut(buffer, size, value ? value : L""); }

}  // namespace n_config
