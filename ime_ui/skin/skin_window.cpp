#include "ime_ui/skin/skin_window.h"

namespace {

const wchar_t c_seperatorPrefix[] = L"seperatorui";

}  // namespace

// --- SkinWindowCommon -----------------------------------------------------------

void SkinWindowCommon::List(t_skinValueList& list)
{
    list.Add({{L"transparent_color", &transparent_color},
              {L"transparent_color_enable", &transparent_color_enable},
              {L"click_color", &click_color},
              {L"click_color_enable", &click_color_enable},
              {L"opaque", &opaque},
              {L"layered", &layered}});
}

bool SkinWindowCommon::Load(const t_iniSection* section)
{
    t_skinValueList list;
    List(list);
    return list.Load(section, nullptr);
}

void SkinWindowCommon::Reset()
{
    t_skinValueList list;
    List(list);
    list.Reset();
}

void SkinWindowCommon::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    t_skinValueList list;
    const_cast<SkinWindowCommon*>(this)->List(list);
    list.Walk(visitor, section, nullptr);
}

// --- SkinFlashBk ----------------------------------------------------------------

bool SkinFlashBk::Load(const t_iniSection* section, const wchar_t* prefix)
{
    // Window prefixes are short names: the key always fits.
    wchar_t own[c_skinKeyChars] = {0};
    MakeSkinKey(L"flashbk", prefix, own);
    bool all = flashbk.Load(section, L"", own);
    all = security.Load(section, L"security", own) && all;
    all = width.Load(section, L"width", own) && all;
    all = height.Load(section, L"height", own) && all;
    return all;
}

void SkinFlashBk::Reset()
{
    flashbk.Reset();
    security.Reset();
    width.Reset();
    height.Reset();
}

void SkinFlashBk::Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const
{
    wchar_t own[c_skinKeyChars] = {0};
    if (!MakeSkinKey(L"flashbk", prefix, own))
        return;
    visitor.Visit(section, own, flashbk);
    WalkSkinValue(visitor, section, L"security", own, security);
    WalkSkinValue(visitor, section, L"width", own, width);
    WalkSkinValue(visitor, section, L"height", own, height);
}

// --- SkinSchemeWindow -----------------------------------------------------------

const wchar_t* SkinSchemeWindow::PicturePrefix() const
{
    switch (m_kind) {
    case t_skinWindowKind::e_composition:
        return L"pinyin";
    case t_skinWindowKind::e_candidate:
        return L"zhongwen";
    default:
        return nullptr;
    }
}

const wchar_t* SkinSchemeWindow::ControlPrefix() const
{
    switch (m_kind) {
    case t_skinWindowKind::e_composition:
        return L"comp";
    case t_skinWindowKind::e_candidate:
        return L"cand";
    default:
        return nullptr;
    }
}

bool SkinSchemeWindow::Load(const t_iniSection* section)
{
    const wchar_t* p = PicturePrefix();
    const wchar_t* q = ControlPrefix();
    bool all = pic.Load(section, L"pic", p);
    all = pic_mask.Load(section, L"pic_mask", p) && all;
    all = layout_horizontal.Load(section, L"layout_horizontal", p) && all;
    all = layout_vertical.Load(section, L"layout_vertical", p) && all;
    buttons.Load(section, q);
    all = webpage_url.Load(section, L"webpage_url", q) && all;
    all = flashs.Load(section, q) && all;
    all = flashBk.Load(section, q) && all;
    return all;
}

void SkinSchemeWindow::Reset()
{
    pic.Reset();
    pic_mask.Reset();
    layout_horizontal.Reset();
    layout_vertical.Reset();
    buttons.Reset();
    flashs.Reset();
    webpage_url.Reset();
    flashBk.Reset();
}

void SkinSchemeWindow::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    const wchar_t* p = PicturePrefix();
    const wchar_t* q = ControlPrefix();
    WalkSkinValue(visitor, section, L"pic", p, pic);
    WalkSkinValue(visitor, section, L"pic_mask", p, pic_mask);
    WalkSkinValue(visitor, section, L"layout_horizontal", p, layout_horizontal);
    WalkSkinValue(visitor, section, L"layout_vertical", p, layout_vertical);
    buttons.Walk(visitor, section, q);
    WalkSkinValue(visitor, section, L"webpage_url", q, webpage_url);
    flashs.Walk(visitor, section, q);
    flashBk.Walk(visitor, section, q);
}

// --- SkinMarges -----------------------------------------------------------------

bool SkinMarges::Load(const t_iniSection* section)
{
    bool all = pinyin_marge.Load(section, L"pinyin_marge", nullptr);
    all = zhongwen_marge.Load(section, L"zhongwen_marge", nullptr) && all;
    all = anchor.Load(section, L"anchor", nullptr) && all;
    return all;
}

void SkinMarges::Reset()
{
    pinyin_marge.Reset();
    zhongwen_marge.Reset();
    anchor.Reset();
}

void SkinMarges::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    WalkSkinValue(visitor, section, L"pinyin_marge", nullptr, pinyin_marge);
    WalkSkinValue(visitor, section, L"zhongwen_marge", nullptr, zhongwen_marge);
    WalkSkinValue(visitor, section, L"anchor", nullptr, anchor);
}

// --- SkinSeperatorUi ------------------------------------------------------------

void SkinSeperatorUi::Load(const t_iniSection* section)
{
    bool picture = pic.Load(section, L"pic", c_seperatorPrefix);
    picture = layout_horizontal.Load(section, L"layout_horizontal", c_seperatorPrefix) && picture;
    picture = layout_vertical.Load(section, L"layout_vertical", c_seperatorPrefix) && picture;
    picture = to_left_right.Load(section, L"to_left_right", c_seperatorPrefix) && picture;
    if (picture) {
        separator.Reset();
        m_mode = t_seperatorMode::e_picture;
        return;
    }
    m_mode = separator.Load(section, L"separator", nullptr) ? t_seperatorMode::e_line : t_seperatorMode::e_none;
}

void SkinSeperatorUi::Reset()
{
    separator.Reset();
    pic.Reset();
    layout_horizontal.Reset();
    layout_vertical.Reset();
    to_left_right.Reset();
    m_mode = t_seperatorMode::e_none;
}

void SkinSeperatorUi::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    WalkSkinValue(visitor, section, L"separator", nullptr, separator);
    WalkSkinValue(visitor, section, L"pic", c_seperatorPrefix, pic);
    WalkSkinValue(visitor, section, L"layout_horizontal", c_seperatorPrefix, layout_horizontal);
    WalkSkinValue(visitor, section, L"layout_vertical", c_seperatorPrefix, layout_vertical);
    WalkSkinValue(visitor, section, L"to_left_right", c_seperatorPrefix, to_left_right);
}
