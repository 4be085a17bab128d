// The blocks a skinned window is described by in Skin.ini: the keys every window shares,
// the flash background, one window's pictures, buttons and items, the margins and the
// separator of the candidate list.
#pragma once

#include "ime_ui/skin/skin_button.h"

// transparent_color, transparent_color_enable, click_color, click_color_enable, opaque,
// layered: no prefix, in [StatusBar] and every [Scheme_*].
class SkinWindowCommon {
public:
    SkinWindowCommon() : opaque(255), layered(true) {}

    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinColor transparent_color;
    SkinBool transparent_color_enable;
    SkinColor click_color;
    SkinBool click_color_enable;
    SkinInt opaque;
    SkinBool layered;

private:
    void List(t_skinValueList& list);
};

// The flash background of a window: Q_flashbk (the flash file), then Q_flashbk_security,
// Q_flashbk_width, Q_flashbk_height.
class SkinFlashBk {
public:
    bool Load(const t_iniSection* section, const wchar_t* prefix);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const;

    SkinStr flashbk;
    SkinInt security;
    SkinInt width;
    SkinInt height;
};

// The kind of a scheme window, fixed at construction.
enum class t_skinWindowKind : int {
    e_combined = 0,
    e_composition = 1,
    e_candidate = 2,
};

// One window of a scheme: pictures and splits under the picture prefix P, buttons, web
// page, flash items and flash background under the control prefix Q (both none for the
// combined window; "pinyin"/"comp" and "zhongwen"/"cand" for the separate ones).
class SkinSchemeWindow {
public:
    explicit SkinSchemeWindow(t_skinWindowKind kind) : m_kind(kind) {}

    // True when the pictures, the splits, webpage_url, the flash count and the flash
    // background loaded; the buttons never fail it.
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    t_skinWindowKind Kind() const { return m_kind; }
    const wchar_t* PicturePrefix() const;
    const wchar_t* ControlPrefix() const;

    SkinImage pic;
    SkinImage pic_mask;
    SkinSplit layout_horizontal;
    SkinSplit layout_vertical;
    SkinStatusButtons buttons;
    SkinFlashs flashs;
    SkinStr webpage_url;
    SkinFlashBk flashBk;

private:
    const t_skinWindowKind m_kind;
};

// pinyin_marge, zhongwen_marge (top,bottom,left,right) and anchor.
class SkinMarges {
public:
    bool Load(const t_iniSection* section);
    void Reset();
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinAlign pinyin_marge;
    SkinAlign zhongwen_marge;
    SkinPos anchor;
};

// How the candidates of a combined window are separated.
enum class t_seperatorMode : int {
    e_none = 0,
    e_line = 1,
    e_picture = 2,
};

// The separator of a combined window: the plain line `separator` (colour,first,second)
// or the picture form under the prefix "seperatorui".
class SkinSeperatorUi {
public:
    // The picture form when all four of its keys load, else the line when it loads, else
    // none. Never fails the section.
    void Load(const t_iniSection* section);
    // All five values to their defaults, mode none.
    void Reset();
    void SetMode(t_seperatorMode mode) { m_mode = mode; }
    t_seperatorMode Mode() const { return m_mode; }
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

    SkinSeperator separator;
    SkinImage pic;
    SkinSplit layout_horizontal;
    SkinSplit layout_vertical;
    SkinToLeftRight to_left_right;

private:
    t_seperatorMode m_mode = t_seperatorMode::e_none;
};
