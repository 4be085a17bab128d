// A text run of the DirectUI tree, in its own style or the host's.
#pragma once

#include "toolkit/directui/du_element.h"

struct t_font;

namespace DirectUI {

class DuElementText : public DuElement {
public:
    static const int c_faceCapacity = 64;

    DuElementText();
    ~DuElementText() override;

    bool SetAttribute(const wchar_t* name, const wchar_t* value) override;
    bool DrawSelf(t_paintCtx& ctx, int x, int y) override;
    bool MeasureSelf(t_paintCtx& ctx) override;
    bool ReleaseCache() override;

    // Replaces the text with a copy (null clears it).
    void SetText(const wchar_t* text);
    // Takes the colours, face, size and style flags of another text.
    void CopyStyle(const DuElementText& from);
    // The LOGFONT the run is drawn with: host or own face (cut to the LOGFONT's field) and size.
    LOGFONTW MakeLogFont() const;

    const wchar_t* Text() const { return m_text; }
    const wchar_t* FaceName() const { return m_faceName; }
    int FontSize() const { return m_size; }
    uint32_t TextColor() const { return m_textColor; }
    uint32_t BackColor() const { return m_backColor; }
    int BackAlpha() const { return m_backAlpha; }
    bool UsesHostColors() const { return m_useHostColors; }
    bool IsBold() const { return m_bold; }
    bool IsItalic() const { return m_italic; }
    bool IsUnderline() const { return m_underline; }
    bool IsDeleteLine() const { return m_deleteLine; }
    bool HasShadow() const { return m_shadow; }
    const t_font* Font() const { return m_font; }
    // The colour drawn with, made at measure time.
    uint32_t MadeTextColor() const { return m_madeTextColor; }

protected:
    // Draws the run in its rect; shared with links.
    bool DrawRun(t_paintCtx& ctx, int x, int y);
    void FreeFont();

    wchar_t* m_text = nullptr;
    bool m_useHostColors = true;
    uint32_t m_textColor = 0xFF000000;
    int m_textAlpha = 255;
    uint32_t m_backColor = 0;
    int m_backAlpha = 255;
    bool m_useHostFace = true;
    bool m_useHostSize = true;
    wchar_t m_faceName[c_faceCapacity];
    int m_size = 12;
    bool m_bold = false, m_italic = false, m_underline = false, m_deleteLine = false, m_shadow = false;
    t_font* m_font = nullptr;
    bool m_colorsMade = false;
    uint32_t m_madeTextColor = 0;
    uint32_t m_madeBackColor = 0;
};

}  // namespace DirectUI
