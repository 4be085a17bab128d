#include "skin_model/skin_ini.h"

#include "foundation/core/singleton.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

namespace {

const wchar_t c_blank = L' ';

}  // namespace

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool n_skinValue::ParseHex(const wchar_t* text, size_t length, int& out)
{
    if (length < 3 || length > 10)
        return false;
    // Assembled aside so that a malformed text never leaves a partial number in out.
    uint32_t value = 0;
    for (size_t i = 2; i < length; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    out = static_cast<int>(value);
    return true;
}

int n_skinValue::ParseDecimal(const wchar_t* text)
{
    const long v = wcstol(text, nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

Value::Value(const wchar_t* raw)
{
    if (!raw)
        raw = L"";
    // Ends are trimmed for the raw form; inner blanks stay.
    int begin = 0;
    int end = static_cast<int>(wcslen(raw));
    while (begin < end && raw[begin] == c_blank)
        ++begin;
    while (end > begin && raw[end - 1] == c_blank)
        --end;
    m_raw.AssignN(raw + begin, end - begin);
    for (int i = begin; i < end; ++i) {
        if (raw[i] != c_blank)
            m_text.AppendChar(raw[i]);
    }
}

Value::~Value() = default;

Value* Value::Parse(const wchar_t* text)
{
    if (!text)
        text = L"";
    if (!wcschr(text, L','))
        return new Value(text);

    ValueArray* list = new ValueArray(text);
    const size_t length = wcslen(text);
    size_t start = 0;
    t_str item;
    for (;;) {
        const wchar_t* comma = wcschr(text + start, L',');
        if (!comma) {
            list->Add(new Value(text + start));
            break;
        }
        const size_t at = static_cast<size_t>(comma - text);
        item.AssignN(text + start, static_cast<int>(at - start));
        list->Add(new Value(item.c_str()));
        start = at + 1;
        // One trailing comma adds no empty item.
        if (start >= length)
            break;
    }
    return list;
}

int Value::ToInt(int& out) const
{
    if (m_text.IsEmpty())
        return -1;
    const wchar_t* t = m_text.c_str();
    if (t[0] == L'0' && (t[1] == L'x' || t[1] == L'X'))
        return ParseHex(out);
    out = n_skinValue::ParseDecimal(t);
    return 0;
}

int Value::ParseHex(int& out) const
{
    return n_skinValue::ParseHex(m_text.c_str(), static_cast<size_t>(m_text.Length()), out) ? 0 : -1;
}

ValueArray::~ValueArray()
{
    for (Value* item : m_items)
        delete item;
}

const Value* ValueArray::At(int i) const
{
    if (i < 0 || i >= Count())
        return nullptr;
    return m_items[static_cast<size_t>(i)];
}

void ValueArray::Add(Value* item)
{
    if (item)
        m_items.push_back(item);
}

t_iniDocument* SkinIni::Instance()
{
    SkinIni* ini = ImmSingleton<SkinIni>::Instance("SkinIni");
    return ini ? &ini->m_document : nullptr;
}

const wchar_t* SkinIni::GetText(const wchar_t* section, const wchar_t* key)
{
    t_iniDocument* doc = Instance();
    return doc ? doc->GetValue(section, key) : nullptr;
}

Value* SkinIni::GetValue(const wchar_t* section, const wchar_t* key)
{
    const wchar_t* text = GetText(section, key);
    if (!text)
        return nullptr;
    wchar_t buffer[c_valueChars];
    CopyText1024(buffer, text);
    return Value::Parse(buffer);
}

bool SkinIni::SetString(const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    t_iniDocument* doc = Instance();
    return doc && doc->SetValue(section, key, text ? text : L"", -1);
}

bool SkinIni::SetInt(const wchar_t* section, const wchar_t* key, int number)
{
    wchar_t text[32];
    _snwprintf(text, 31, L"%d", number);
    text[31] = 0;
    return SetString(section, key, text);
}
