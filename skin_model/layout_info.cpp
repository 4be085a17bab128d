#include "skin_model/layout_info.h"

#include <cstring>
#include <cwchar>

namespace {

const COLORREF c_noTransparentColor = 0xFFFFFF;
const int c_fullOpacity = 100;

// The keys every layout section ends with, in the order they are written.
const t_layoutKey c_sharedKeys[] = {
    {L"transparent_color_enable", t_layoutForm::e_transparentEnable},
    {L"transparent_color", t_layoutForm::e_transparentColor},
    {L"opaque", t_layoutForm::e_opaque},
    LayoutList(L"anchor", &LayoutInfo::anchor, {L"0,0", {0, 0}}),
};

}  // namespace

LayoutInfo::LayoutInfo(const wchar_t* section, const wchar_t* picturePrefix, const t_layoutKey* keys, int keyCount,
                       bool vertical)
    : transparentEnabled(false), transparentColor(c_noTransparentColor), opacity(c_fullOpacity), anchor{0, 0},
      m_section(section), m_picturePrefix(picturePrefix), m_keys(keys), m_keyCount(keyCount), m_vertical(vertical)
{}

template <class Visit>
void LayoutInfo::ForEachKey(Visit visit) const
{
    for (int i = 0; i < m_keyCount; ++i)
        visit(m_keys[i]);
    for (const t_layoutKey& k : c_sharedKeys)
        visit(k);
}

bool LayoutInfo::Load()
{
    Reset();
    ForEachKey([this](const t_layoutKey& k) { ReadKey(k); });
    return true;
}

bool LayoutInfo::Save()
{
    m_message.Clear();
    const bool imported = ImportPictures();
    bool written = true;
    ForEachKey([this, &written](const t_layoutKey& k) { written = WriteKey(k) && written; });
    return imported && written;
}

bool LayoutInfo::Reset()
{
    ForEachKey([this](const t_layoutKey& k) { ResetKey(k); });
    return true;
}

bool LayoutInfo::ImportPictures()
{
    t_errorChain errors;
    bool ok = true;
    ForEachKey([this, &errors, &ok](const t_layoutKey& k) {
        if ((k.form != t_layoutForm::e_picture && k.form != t_layoutForm::e_mask) || !(this->*k.flag))
            return;
        t_str name(m_picturePrefix);
        name.Append(k.importSuffix);
        ok = ImportPicture(errors, this->*k.text, c_pathChars, name.c_str()) && ok;
    });
    if (ok)
        return true;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        if (!m_message.IsEmpty())
            m_message.Append(L"\r\n");
        m_message.AppendStr(line->text);
    }
    return false;
}

bool LayoutInfo::UsesPngOrGif() const
{
    bool uses = false;
    ForEachKey([this, &uses](const t_layoutKey& k) {
        if (k.form == t_layoutForm::e_picture && this->*k.flag && IsPngOrGif(this->*k.text))
            uses = true;
    });
    return uses;
}

void LayoutInfo::ReadKey(const t_layoutKey& k)
{
    wchar_t text[c_pathChars];
    switch (k.form) {
    case t_layoutForm::e_picture:
        ReadPicture(m_section, k.key, this->*k.text);
        this->*k.flag = (this->*k.text)[0] != 0;
        break;
    case t_layoutForm::e_mask:
        ReadPicture(m_section, k.key, this->*k.text);
        break;
    case t_layoutForm::e_list:
        ReadString(m_section, k.key, k.Defaults(m_vertical).missing, text);
        ParseIntList(text, k.Values(*this), k.Count());
        break;
    case t_layoutForm::e_separator:
        // Without a separator key the line is off and keeps the values of the missing text.
        ReadString(m_section, k.key, L"", text);
        this->*k.flag = text[0] != 0;
        ParseIntList(text[0] ? text : k.Defaults(m_vertical).missing, k.Values(*this), k.Count());
        break;
    case t_layoutForm::e_transparentEnable:
        // Only a text beginning with "1" switches the colour on ("2" and "true" do not).
        ReadString(m_section, k.key, L"", text);
        transparentEnabled = text[0] == L'1';
        break;
    case t_layoutForm::e_transparentColor: {
        ReadString(m_section, k.key, L"", text);
        const int color = text[0] ? ParseInt(text) : -1;
        transparentColor = color < 0 ? c_noTransparentColor : static_cast<COLORREF>(color);
        break;
    }
    case t_layoutForm::e_opaque:
        ReadString(m_section, k.key, L"", text);
        if (text[0]) {
            int alpha = ParseInt(text);
            if (alpha < 0 || alpha > 255)
                alpha = 255;
            opacity = static_cast<int>(AlphaToPercent(static_cast<unsigned>(alpha)));
        } else {
            opacity = c_fullOpacity;
        }
        break;
    }
}

bool LayoutInfo::WriteKey(const t_layoutKey& k) const
{
    switch (k.form) {
    case t_layoutForm::e_picture:
    case t_layoutForm::e_mask:
        return WriteString(m_section, k.key, this->*k.text);
    case t_layoutForm::e_list:
        return WriteList(k.key, k.Values(*this), k.Count());
    case t_layoutForm::e_separator:
        return this->*k.flag ? WriteList(k.key, k.Values(*this), k.Count(), true) : WriteString(m_section, k.key, L"");
    case t_layoutForm::e_transparentEnable:
        return WriteString(m_section, k.key, transparentEnabled ? L"1" : L"0");
    case t_layoutForm::e_transparentColor:
        return transparentEnabled ? WriteInt(m_section, k.key, static_cast<int>(transparentColor), true)
                                  : WriteString(m_section, k.key, L"-1");
    case t_layoutForm::e_opaque:
        return WriteInt(m_section, k.key, static_cast<int>(PercentToAlpha(static_cast<unsigned>(opacity))), false);
    }
    return false;
}

void LayoutInfo::ResetKey(const t_layoutKey& k)
{
    switch (k.form) {
    case t_layoutForm::e_picture:
        (this->*k.text)[0] = 0;
        this->*k.flag = false;
        break;
    case t_layoutForm::e_mask:
        (this->*k.text)[0] = 0;
        break;
    case t_layoutForm::e_separator:
        // A new skin draws the separator line.
        this->*k.flag = true;
        memcpy(k.Values(*this), k.Defaults(m_vertical).reset, sizeof(int) * static_cast<size_t>(k.Count()));
        break;
    case t_layoutForm::e_list:
        memcpy(k.Values(*this), k.Defaults(m_vertical).reset, sizeof(int) * static_cast<size_t>(k.Count()));
        break;
    case t_layoutForm::e_transparentEnable:
        transparentEnabled = false;
        break;
    case t_layoutForm::e_transparentColor:
        transparentColor = c_noTransparentColor;
        break;
    case t_layoutForm::e_opaque:
        opacity = c_fullOpacity;
        break;
    }
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
