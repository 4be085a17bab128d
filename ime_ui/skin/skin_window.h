// The blocks a skinned window is described by in Skin.ini: the keys every window shares,
// the flash background, one window's pictures, buttons and items, the margins and the
// separator of the candidate list.
#pragma once

#include "ime_ui/skin/skin_button.h"

// transparent_color, transparent_color_enable, click_color, click_color_enable, opaque,
// layered: no prefix, in [StatusBar] and every [Scheme_*]. Loads true when all six loaded.
class SkinWindowCommon : public SkinPart {
public:
    SkinWindowCommon() : opaque(255), layered(true) {}

    SkinColor transparent_color;
    SkinBool transparent_color_enable;
    SkinColor click_color;
    SkinBool click_color_enable;
    SkinInt opaque;
    SkinBool layered;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// The flash background of a window: Q_flashbk (the flash file), then Q_flashbk_security,
// Q_flashbk_width, Q_flashbk_height. Loads true when all four loaded.
class SkinFlashBk : public SkinPart {
public:
    SkinStr flashbk;
    SkinInt security;
    SkinInt width;
    SkinInt height;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// The kind of a scheme window, fixed at construction.
enum class t_skinWindowKind : int {
    e_combined = 0,
    e_composition = 1,
    e_candidate = 2,
};

// One window of a scheme: pictures and splits under the picture prefix P, buttons, web
// page, flash items and flash background under the control prefix Q (both none for the
// combined window; "pinyin"/"comp" and "zhongwen"/"cand" for the separate ones). Its keys
// follow from its kind alone: it is read with no prefix. Loads true when the pictures,
// the splits, webpage_url, the flash count and the flash background loaded; the buttons
// never fail it.
class SkinSchemeWindow : public SkinPart {
public:
    explicit SkinSchemeWindow(t_skinWindowKind kind) : m_kind(kind) {}

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

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;

private:
    const t_skinWindowKind m_kind;
};

// pinyin_marge, zhongwen_marge (top,bottom,left,right) and anchor. Loads true when all
// three loaded.
class SkinMarges : public SkinPart {
public:
    SkinAlign pinyin_marge;
    SkinAlign zhongwen_marge;
    SkinPos anchor;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// How the candidates of a combined window are separated.
enum class t_seperatorMode : int {
    e_none = 0,
    e_line = 1,
    e_picture = 2,
};

// The separator of a combined window: the plain line `separator` (colour,first,second)
// or the picture form under the prefix "seperatorui".
class SkinSeperatorUi : public SkinPart {
public:
    // The picture form when all four of its keys load, else the line when it loads, else
    // none. Always true: the separator never fails a section.
    bool Load(const t_iniSection* section, const wchar_t* prefix) override;
    // All five values to their defaults, mode none.
    void Reset() override;
    void SetMode(t_seperatorMode mode) { m_mode = mode; }
    t_seperatorMode Mode() const { return m_mode; }

    SkinSeperator separator;
    SkinImage pic;
    SkinSplit layout_horizontal;
    SkinSplit layout_vertical;
    SkinToLeftRight to_left_right;

protected:
    // The line, then the picture form.
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;

private:
    void ListPicture(t_skinFieldList& fields, const wchar_t* prefix);

    t_seperatorMode m_mode = t_seperatorMode::e_none;
};
