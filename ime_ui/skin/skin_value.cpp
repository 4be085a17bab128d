#include "ime_ui/skin/skin_value.h"

#include "foundation/core/str.h"
#include "ime_ui/skin/skin_number.h"

#include <cerrno>
#include <cwchar>

namespace {

bool IsEmpty(const wchar_t* text) { return !text || !*text; }

const wchar_t* Keep(t_heap& heap, const t_str& text) { return heap.StrDup(text.c_str()); }

int CapDistance(int value) { return value > c_skinDistanceCap ? c_skinDistanceCap : value; }

// Splits into exactly n pieces and parses each as a number; false when the text has
// fewer pieces or a piece fails (a surplus piece makes the last one fail).
template <int N>
bool ParseNumbers(wchar_t* text, int (&out)[N])
{
    wchar_t* pieces[N];
    if (SplitSkinText(text, L',', pieces, N) != N)
        return false;
    bool ok = true;
    for (int i = 0; i < N; ++i)
        ok = ParseSkinNumber(pieces[i], out[i]) && ok;
    return ok;
}

}  // namespace

bool SameSkinText(const wchar_t* a, const wchar_t* b) { return wcscmp(a ? a : L"", b ? b : L"") == 0; }

int SplitSkinText(wchar_t* text, wchar_t separator, wchar_t** pieces, int max)
{
    int count = 0;
    pieces[count++] = text;
    while (count < max) {
        wchar_t* next = wcschr(pieces[count - 1], separator);
        if (!next)
            break;
        *next = 0;
        pieces[count++] = next + 1;
    }
    return count;
}

// --- SkinTypeBase ---------------------------------------------------------------

bool SkinTypeBase::Load(const t_iniSection* section, const wchar_t* name, const wchar_t* prefix)
{
    wchar_t key[c_skinKeyChars] = {0};
    const t_iniNode* node = nullptr;
    if (section && MakeSkinKey(name, prefix, key))
        node = section->FindKey(key);
    if (node && node->value && Parse(static_cast<wchar_t*>(node->value))) {
        m_present = true;
        return true;
    }
    Reset();
    return false;
}

bool SkinTypeBase::Save(t_iniSection* section, const wchar_t* name, t_heap& heap, const wchar_t* prefix) const
{
    wchar_t key[c_skinKeyChars] = {0};
    if (!section || !MakeSkinKey(name, prefix, key) || !key[0])
        return false;
    if (IsDefault()) {
        section->RemoveKey(section->FindKey(key));
        return false;
    }
    const wchar_t* text = Format(heap);
    return section->SetKey(key, text ? text : L"", -1);
}

// --- Scalars --------------------------------------------------------------------

bool SkinBool::Parse(wchar_t* text)
{
    m_value = m_default;
    if (IsEmpty(text))
        return false;
    errno = 0;
    const long long number = wcstoll(text, nullptr, 10);
    if (errno == ERANGE || (number != 0 && number != 1))
        return false;
    m_value = number == 1;
    return true;
}

const wchar_t* SkinBool::Format(t_heap& heap) const { return heap.StrDup(m_value ? L"1" : L"0"); }

bool SkinInt::Parse(wchar_t* text)
{
    m_value = m_default;
    return ParseSkinDecimal(text, m_value);
}

const wchar_t* SkinInt::Format(t_heap& heap) const
{
    t_str text;
    text.AppendInt(m_value);
    return Keep(heap, text);
}

bool SkinColor::Parse(wchar_t* text)
{
    m_value = m_default;
    int number = 0;
    if (!ParseSkinNumber(text, number))
        return false;
    m_value = static_cast<unsigned>(number);
    return true;
}

const wchar_t* SkinColor::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"0x%x", m_value);
    return Keep(heap, text);
}

bool SkinStr::Parse(wchar_t* text)
{
    m_value = m_default;
    if (IsEmpty(text))
        return false;
    m_value = text;
    return true;
}

const wchar_t* SkinStr::Format(t_heap& heap) const { return m_value ? heap.StrDup(m_value) : nullptr; }

bool SkinStr::IsDefault() const { return SameSkinText(m_value, m_default); }

// --- Lists of numbers -----------------------------------------------------------

bool SkinPos::Parse(wchar_t* text)
{
    m_value = m_default;
    int numbers[2] = {0, 0};
    if (IsEmpty(text) || !ParseNumbers(text, numbers))
        return false;
    m_value = POINT{numbers[0], numbers[1]};
    return true;
}

const wchar_t* SkinPos::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"%d,%d", int(m_value.x), int(m_value.y));
    return Keep(heap, text);
}

bool SkinToLeftRight::Parse(wchar_t* text)
{
    m_value = m_default;
    int numbers[2] = {0, 0};
    if (IsEmpty(text) || !ParseNumbers(text, numbers))
        return false;
    m_value = _t_SkinToLeftRight{CapDistance(numbers[0]), CapDistance(numbers[1])};
    return true;
}

const wchar_t* SkinToLeftRight::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"%d,%d", m_value.first, m_value.second);
    return Keep(heap, text);
}

bool SkinSplit::Parse(wchar_t* text)
{
    m_value = m_default;
    int numbers[3] = {0, 0, 0};
    // The mode compares as unsigned, so a negative mode is out of range too.
    if (IsEmpty(text) || !ParseNumbers(text, numbers) || static_cast<unsigned>(numbers[0]) > 2)
        return false;
    m_value = _t_SkinSplit{numbers[0], numbers[1], numbers[2]};
    return true;
}

const wchar_t* SkinSplit::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"%d,%d,%d", m_value.mode, m_value.first, m_value.second);
    return Keep(heap, text);
}

bool SkinSeperator::Parse(wchar_t* text)
{
    m_value = m_default;
    int numbers[3] = {0, 0, 0};
    if (IsEmpty(text) || !ParseNumbers(text, numbers))
        return false;
    m_value = _t_SkinSeperator{static_cast<unsigned>(numbers[0]), CapDistance(numbers[1]), CapDistance(numbers[2])};
    return true;
}

const wchar_t* SkinSeperator::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"0x%08x,%d,%d", m_value.colour, m_value.first, m_value.second);
    return Keep(heap, text);
}

bool SkinAlign::Parse(wchar_t* text)
{
    m_value = m_default;
    int numbers[4] = {0, 0, 0, 0};
    if (IsEmpty(text) || !ParseNumbers(text, numbers))
        return false;
    m_value.top = numbers[0];
    m_value.bottom = numbers[1];
    m_value.left = numbers[2];
    m_value.right = numbers[3];
    return true;
}

const wchar_t* SkinAlign::Format(t_heap& heap) const
{
    t_str text;
    text.Format(L"%d,%d,%d,%d", int(m_value.top), int(m_value.bottom), int(m_value.left), int(m_value.right));
    return Keep(heap, text);
}

bool SkinAlignEx::Parse(wchar_t* text)
{
    m_value = m_default;
    int n[10] = {0};
    if (IsEmpty(text) || !ParseNumbers(text, n))
        return false;
    m_value = AlignEx{n[6], n[7], n[4], n[5], n[2], n[3], n[0], n[1], n[8], n[9]};
    return true;
}

const wchar_t* SkinAlignEx::Format(t_heap& heap) const
{
    const AlignEx& v = m_value;
    t_str text;
    text.Format(L"%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", v.topMargin, v.bottomMargin, v.leftMargin, v.rightMargin, v.topMode,
                v.bottomMode, v.leftMode, v.rightMode, v.extra1, v.extra2);
    return Keep(heap, text);
}
