#include "skin_model/layout_info.h"

#include <cwchar>

namespace {

const COLORREF c_noTransparentColor = 0xFFFFFF;

t_str Joined(const wchar_t* a, const wchar_t* b)
{
    t_str text(a);
    text.Append(b);
    return text;
}

}  // namespace

LayoutInfo::LayoutInfo(const wchar_t* section, const wchar_t* picturePrefix)
    : transparentEnabled(false), transparentColor(c_noTransparentColor), opacity(100), anchor{0, 0}, m_section(section),
      m_picturePrefix(picturePrefix)
{}

bool LayoutInfo::Save()
{
    m_message.Clear();
    const bool imported = ImportPictures();
    const bool written = WriteKeys();
    return imported && written;
}

bool LayoutInfo::ImportPictures()
{
    t_errorChain errors;
    if (ImportOwnPictures(errors))
        return true;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        if (!m_message.IsEmpty())
            m_message.Append(L"\r\n");
        m_message.AppendStr(line->text);
    }
    return false;
}

void LayoutInfo::ResetShared()
{
    transparentEnabled = false;
    transparentColor = c_noTransparentColor;
    opacity = 100;
    anchor[0] = anchor[1] = 0;
}

void LayoutInfo::ReadShared()
{
    wchar_t text[c_pathChars];

    // Only a text beginning with "1" switches the colour on ("2" and "true" do not).
    ReadString(m_section, L"transparent_color_enable", L"", text);
    transparentEnabled = text[0] == L'1';

    ReadString(m_section, L"transparent_color", L"", text);
    const int color = text[0] ? ParseInt(text) : -1;
    transparentColor = color < 0 ? c_noTransparentColor : static_cast<COLORREF>(color);

    ReadString(m_section, L"opaque", L"", text);
    if (text[0]) {
        int alpha = ParseInt(text);
        if (alpha < 0 || alpha > 255)
            alpha = 255;
        opacity = static_cast<int>(AlphaToPercent(static_cast<unsigned>(alpha)));
    } else {
        opacity = 100;
    }

    ReadList(L"anchor", L"0,0", anchor, 2);
}

bool LayoutInfo::WriteShared() const
{
    bool ok = WriteString(m_section, L"transparent_color_enable", transparentEnabled ? L"1" : L"0");
    if (transparentEnabled)
        ok &= WriteInt(m_section, L"transparent_color", static_cast<int>(transparentColor), true);
    else
        ok &= WriteString(m_section, L"transparent_color", L"-1");
    ok &= WriteInt(m_section, L"opaque", static_cast<int>(PercentToAlpha(static_cast<unsigned>(opacity))), false);
    ok &= WriteList(L"anchor", anchor, 2);
    return ok;
}

void LayoutInfo::ReadList(const wchar_t* key, const wchar_t* defaultText, int* out, int n) const
{
    wchar_t text[c_pathChars];
    ReadString(m_section, key, defaultText, text);
    ParseIntList(text, out, n);
}

bool LayoutInfo::WriteList(const wchar_t* key, const int* values, int n, bool firstHex) const
{
    t_str text;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            text.AppendChar(L',');
        text.AppendFormat(i == 0 && firstHex ? L"0x%x" : L"%d", values[i]);
    }
    return WriteString(m_section, key, text.c_str());
}

bool LayoutInfo::Import(t_errorChain& errors, wchar_t (&picture)[c_pathChars], const wchar_t* suffix) const
{
    return ImportPicture(errors, picture, c_pathChars, Joined(m_picturePrefix, suffix).c_str());
}

bool LayoutInfo::ReadBackground(const wchar_t* prefix, const t_background& background,
                                const wchar_t* verticalDefault) const
{
    ReadPicture(m_section, Joined(prefix, L"pic").c_str(), background.pic);
    ReadPicture(m_section, Joined(prefix, L"pic_mask").c_str(), background.mask);
    ReadList(Joined(prefix, L"layout_horizontal").c_str(), L"0,20,100", background.horizontal, 3);
    ReadList(Joined(prefix, L"layout_vertical").c_str(), verticalDefault, background.vertical, 3);
    return background.pic[0] != 0;
}

bool LayoutInfo::WriteBackground(const wchar_t* prefix, const t_background& background) const
{
    bool ok = WriteString(m_section, Joined(prefix, L"pic").c_str(), background.pic);
    ok &= WriteString(m_section, Joined(prefix, L"pic_mask").c_str(), background.mask);
    ok &= WriteList(Joined(prefix, L"layout_horizontal").c_str(), background.horizontal, 3);
    ok &= WriteList(Joined(prefix, L"layout_vertical").c_str(), background.vertical, 3);
    return ok;
}

bool LayoutInfo::ImportBackground(t_errorChain& errors, const t_background& background, const wchar_t* suffix) const
{
    bool ok = Import(errors, background.pic, suffix);
    ok &= Import(errors, background.mask, Joined(suffix, L"_mask").c_str());
    return ok;
}
