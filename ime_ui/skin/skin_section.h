// The sections of Skin.ini as the input method reads them: [Display], the combined
// schemes [Scheme_H1] and [Scheme_V1], the separate schemes [Scheme_H2] and [Scheme_V2],
// and [StatusBar].
#pragma once

#include "ime_ui/skin/skin_window.h"

class SkinDisplay {
public:
    // True when all seventeen keys loaded.
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinInt font_size;
    SkinStr font_ch;
    SkinStr font_en;
    SkinColor pinyin_color;
    SkinColor zhongwen_color;
    SkinColor zhongwen_first_color;
    SkinColor zhongwen_first_bk_color;
    SkinColor result_color;
    SkinColor bihua_color;
    SkinColor comphint_color;
    SkinColor caret_color;
    SkinBool use_gdip;
    SkinBool clear_edge;
    SkinStr webpage;
    SkinBool aero;
    SkinBool glow;
    SkinBool default_skin;

private:
    void List(t_skinValueList& list);
};

// One window holding composition and candidates.
class SkinSchemeCombined {
public:
    SkinSchemeCombined() : window(t_skinWindowKind::e_combined) {}

    // Resets the part, then reads it; the window-common result when the window and the
    // margins loaded, else false. The separator never affects it.
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinWindowCommon common;
    SkinSchemeWindow window;
    SkinMarges marges;
    SkinSeperatorUi seperatorUi;
};

// A composition window and a candidate window.
class SkinSchemeSeparate {
public:
    SkinSchemeSeparate() : composition(t_skinWindowKind::e_composition), candidate(t_skinWindowKind::e_candidate) {}

    // Resets the part, then reads it; false when the margins didn't load, else the
    // window-common result when both windows loaded.
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinWindowCommon common;
    SkinSchemeWindow composition;
    SkinSchemeWindow candidate;
    SkinMarges marges;
};

class SkinStatusBarPart {
public:
    // Resets the part, then reads it; true when the window-common keys, the three
    // pictures, webpage_url, the flash count and the flash background loaded.
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinWindowCommon common;
    SkinImage pic;
    SkinImage pic_mask;
    SkinImage pic_preview;
    SkinStatusButtons buttons;
    SkinStr webpage_url;
    SkinFlashs flashs;
    SkinFlashBk flashBk;
};
