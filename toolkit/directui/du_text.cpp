#include "toolkit/directui/du_text.h"

#include <cwchar>
#include <cwctype>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/text_draw.h"
#include "toolkit/directui/du_delegate.h"
#include "toolkit/directui/du_strings.h"

namespace DirectUI {

namespace {

const UINT c_runFormat = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE;
const uint32_t c_shadowColor = 0xFF000000;
const int c_shadowAlpha = 170;

// "#%08x": the hexadecimal digits after the '#', 0 for anything else.
uint32_t ParseHexColor(const wchar_t* value)
{
    if (!value || *value != L'#')
        return 0;
    uint32_t result = 0;
    for (const wchar_t* p = value + 1; p < value + 9 && iswxdigit(*p); ++p)
        result = result << 4 | static_cast<uint32_t>(iswdigit(*p) ? *p - L'0' : (towlower(*p) - L'a' + 10));
    return result;
}

// Copies at most capacity - 1 characters and terminates.
void CopyTruncated(wchar_t* out, size_t capacity, const wchar_t* text)
{
    size_t length = text ? wcslen(text) : 0;
    if (length >= capacity)
        length = capacity - 1;
    if (length)
        wmemcpy(out, text, length);
    out[length] = 0;
}

}  // namespace

DuElementText::DuElementText()
{
    m_type = e_duText;
    CopyTruncated(m_faceName, c_faceCapacity, L"simsun");
}

DuElementText::~DuElementText()
{
    FreeFont();
    delete[] m_text;
}

void DuElementText::FreeFont()
{
    t_font::Release(m_font);
    m_font = nullptr;
}

void DuElementText::SetText(const wchar_t* text)
{
    wchar_t* copy = DupString(text);
    delete[] m_text;
    m_text = copy;
}

void DuElementText::CopyStyle(const DuElementText& from)
{
    m_useHostColors = from.m_useHostColors;
    m_textColor = from.m_textColor;
    m_textAlpha = from.m_textAlpha;
    m_backColor = from.m_backColor;
    m_backAlpha = from.m_backAlpha;
    m_useHostFace = from.m_useHostFace;
    m_useHostSize = from.m_useHostSize;
    wmemcpy(m_faceName, from.m_faceName, c_faceCapacity);
    m_size = from.m_size;
    m_bold = from.m_bold;
    m_italic = from.m_italic;
    m_underline = from.m_underline;
    m_deleteLine = from.m_deleteLine;
    m_shadow = from.m_shadow;
}

bool DuElementText::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (DuElement::SetAttribute(name, value))
        return true;
    if (!name || !value)
        return false;
    if (_wcsicmp(name, L"colortext") == 0) {
        uint32_t rgb = ParseHexColor(value);
        m_useHostColors = false;
        m_textColor = 0xFF000000 | (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        m_textAlpha = 255;
    } else if (_wcsicmp(name, L"colorback") == 0) {
        uint32_t argb = ParseHexColor(value);
        m_backColor = argb << 8 | 0xFF;
        m_backAlpha = static_cast<int>(argb >> 24);
    } else if (_wcsicmp(name, L"fontname") == 0) {
        m_useHostFace = false;
        CopyTruncated(m_faceName, c_faceCapacity, value);
    } else if (_wcsicmp(name, L"fontsize") == 0) {
        m_useHostSize = false;
        m_size = ParseLeadingInt(value, -4096, 4096);
    } else if (_wcsicmp(name, L"fontstyle") == 0) {
        m_bold = wcsstr(value, L"bold") != nullptr;
        m_italic = wcsstr(value, L"italic") != nullptr;
        m_underline = wcsstr(value, L"underline") != nullptr;
        m_deleteLine = wcsstr(value, L"deleteline") != nullptr;
        m_shadow = wcsstr(value, L"shadow") != nullptr;
    } else {
        return false;
    }
    return true;
}

LOGFONTW DuElementText::MakeLogFont() const
{
    LOGFONTW logFont = {};
    int size = m_useHostSize && m_delegate ? m_delegate->GetFontSize() : m_size;
    logFont.lfHeight = size < 1 ? size : -size;
    logFont.lfWeight = m_bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = m_italic;
    logFont.lfUnderline = m_underline;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = 6;  // CLEARTYPE_NATURAL_QUALITY
    const wchar_t* face = m_useHostFace && m_delegate ? m_delegate->GetFontName() : m_faceName;
    // Faces may be longer than the LOGFONT's field: cut them instead of overrunning it.
    SetLogFontFaceName(logFont.lfFaceName, face);
    return logFont;
}

bool DuElementText::MeasureSelf(t_paintCtx& ctx)
{
    if (!m_font) {
        LOGFONTW logFont = MakeLogFont();
        t_font::Create(logFont, m_font, m_delegate ? m_delegate->UseSmoothFont() : true);
    }
    if (!m_colorsMade) {
        m_madeTextColor = m_useHostColors && m_delegate ? m_delegate->GetTextColor() : m_textColor;
        m_madeBackColor = m_useHostColors && m_delegate ? m_delegate->GetBackColor() : m_backColor;
        m_colorsMade = true;
    }
    SIZE text = {0, 0};
    if (m_text && *m_text && m_font)
        ctx.MeasureText(m_text, -1, m_font, &text, c_runFormat, 0);
    if (!m_fixedWidth)
        m_width = DuAdd(m_contentWidth, text.cx);
    if (!m_fixedHeight)
        m_height = m_contentHeight > text.cy ? m_contentHeight : static_cast<int>(text.cy);
    return true;
}

bool DuElementText::DrawRun(t_paintCtx& ctx, int x, int y)
{
    if (!m_text || !*m_text || !m_font)
        return false;
    int left = DuAdd(x, m_x), top = DuAdd(y, m_y);
    RECT rect = {left, top, DuAdd(left, m_width), DuAdd(top, m_height)};
    int alpha = m_useHostColors ? 255 : m_textAlpha;
    if (m_shadow) {
        RECT shadow = {rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
        ctx.DrawText(m_text, -1, &shadow, m_font, &c_shadowColor, nullptr, c_runFormat, alpha * c_shadowAlpha / 255);
    }
    return ctx.DrawText(m_text, -1, &rect, m_font, &m_madeTextColor, nullptr, c_runFormat, alpha);
}

bool DuElementText::DrawSelf(t_paintCtx& ctx, int x, int y) { return DrawRun(ctx, x, y); }

bool DuElementText::ReleaseCache()
{
    if (m_useHostFace || m_useHostSize)
        FreeFont();
    if (m_useHostColors)
        m_colorsMade = false;
    return true;
}

}  // namespace DirectUI
