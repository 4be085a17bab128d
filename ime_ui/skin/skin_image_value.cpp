#include "ime_ui/skin/skin_image_value.h"

#include "foundation/core/str.h"
#include "ime_ui/skin/skin_number.h"

#include <cwchar>

bool t_SkinImage::Parse(wchar_t* text)
{
    Clear();
    if (!text || !*text)
        return false;
    wchar_t* open = wcschr(text, L'<');
    if (!open) {
        file = text;
        return true;
    }
    wchar_t* close = wcschr(open + 1, L'>');
    if (!close)
        return false;
    *open = 0;
    *close = 0;
    wchar_t* pieces[5];
    // A fifth piece takes whatever follows the fourth number, so it is never read.
    const int count = SplitSkinText(open + 1, L';', pieces, 5);
    int* fields[4] = {&a, &b, &c, &d};
    for (int i = 0; i < count && i < 4; ++i)
        ParseSkinNumber(pieces[i], *fields[i]);
    file = text;
    return true;
}

void t_SkinImage::AppendTo(t_str& out) const
{
    out.Append(file ? file : L"");
    if (a || b || c || d)
        out.AppendFormat(L"<%d;%d;%d;%d>", a, b, c, d);
}

bool t_SkinImage::Equals(const t_SkinImage& other) const
{
    return SameSkinText(file, other.file) && a == other.a && b == other.b && c == other.c && d == other.d;
}

bool SkinImage::Parse(wchar_t* text)
{
    m_value = m_default;
    m_present = m_value.Parse(text);
    if (!m_present)
        m_value = m_default;
    return m_present;
}

const wchar_t* SkinImage::Format(t_heap& heap) const
{
    t_str text;
    m_value.AppendTo(text);
    return heap.StrDup(text.c_str());
}

bool SkinBtnUi::Parse(wchar_t* text)
{
    m_value = m_default;
    if (!text || !*text)
        return false;
    // Once the list is full the rest of the text is left as it stands.
    wchar_t* piece = text;
    while (piece && m_value.count < c_btnUiCapacity) {
        wchar_t* next = wcschr(piece, L',');
        if (next)
            *next++ = 0;
        t_SkinImage& entry = m_value.images[m_value.count++];
        if (!entry.Parse(piece))
            entry.Clear();
        piece = next;
    }
    return true;
}

const wchar_t* SkinBtnUi::Format(t_heap& heap) const
{
    if (m_value.count <= 0)
        return nullptr;
    t_str text;
    for (int i = 0; i < m_value.count && i < c_btnUiCapacity; ++i) {
        if (i > 0)
            text.Append(L",");
        m_value.images[i].AppendTo(text);
    }
    return heap.StrDup(text.c_str());
}

bool SkinBtnUi::IsDefault() const
{
    if (m_value.count != m_default.count)
        return false;
    for (int i = 0; i < m_value.count && i < c_btnUiCapacity; ++i) {
        if (!m_value.images[i].Equals(m_default.images[i]))
            return false;
    }
    return true;
}
