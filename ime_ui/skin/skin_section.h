// The sections of Skin.ini as the input method reads them: [Display], the combined
// schemes [Scheme_H1] and [Scheme_V1], the separate schemes [Scheme_H2] and [Scheme_V2],
// and [StatusBar]. Each is read with no prefix; a load keeps nothing of the one before.
#pragma once

#include "ime_ui/skin/skin_window.h"

// Loads true when all seventeen keys loaded.
class SkinDisplay : public SkinPart {
public:
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

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// One window holding composition and candidates. Loads true when the window-common keys,
// the window and the margins loaded; the separator never affects it.
class SkinSchemeCombined : public SkinPart {
public:
    SkinSchemeCombined() : window(t_skinWindowKind::e_combined) {}

    SkinWindowCommon common;
    SkinSchemeWindow window;
    SkinMarges marges;
    SkinSeperatorUi seperatorUi;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// A composition window and a candidate window. Loads true when the window-common keys,
// both windows and the margins loaded.
class SkinSchemeSeparate : public SkinPart {
public:
    SkinSchemeSeparate() : composition(t_skinWindowKind::e_composition), candidate(t_skinWindowKind::e_candidate) {}

    SkinWindowCommon common;
    SkinSchemeWindow composition;
    SkinSchemeWindow candidate;
    SkinMarges marges;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// Loads true when the window-common keys, the three pictures, webpage_url, the flash
// count and the flash background loaded.
class SkinStatusBarPart : public SkinPart {
public:
    SkinWindowCommon common;
    SkinImage pic;
    SkinImage pic_mask;
    SkinImage pic_preview;
    SkinStatusButtons buttons;
    SkinStr webpage_url;
    SkinFlashs flashs;
    SkinFlashBk flashBk;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};
