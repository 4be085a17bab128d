#include "ime_ui/skin/skin_section.h"

// --- SkinDisplay ----------------------------------------------------------------

void SkinDisplay::List(t_skinValueList& list)
{
    list.Add({{L"font_size", &font_size},
              {L"font_ch", &font_ch},
              {L"font_en", &font_en},
              {L"pinyin_color", &pinyin_color},
              {L"zhongwen_color", &zhongwen_color},
              {L"zhongwen_first_color", &zhongwen_first_color},
              {L"zhongwen_first_bk_color", &zhongwen_first_bk_color},
              {L"result_color", &result_color},
              {L"bihua_color", &bihua_color},
              {L"comphint_color", &comphint_color},
              {L"caret_color", &caret_color},
              {L"use_gdip", &use_gdip},
              {L"clear_edge", &clear_edge},
              {L"webpage", &webpage},
              {L"aero", &aero},
              {L"glow", &glow},
              {L"default_skin", &default_skin}});
}

bool SkinDisplay::Load(const t_iniSection* section)
{
    t_skinValueList list;
    List(list);
    return list.Load(section, nullptr);
}

void SkinDisplay::Reset()
{
    t_skinValueList list;
    List(list);
    list.Reset();
}

void SkinDisplay::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    t_skinValueList list;
    const_cast<SkinDisplay*>(this)->List(list);
    list.Walk(visitor, section, nullptr);
}

// --- SkinSchemeCombined ---------------------------------------------------------

bool SkinSchemeCombined::Load(const t_iniSection* section)
{
    Reset();
    const bool commonLoaded = common.Load(section);
    const bool windowLoaded = window.Load(section);
    const bool margesLoaded = marges.Load(section);
    seperatorUi.Load(section);
    return windowLoaded && margesLoaded && commonLoaded;
}

void SkinSchemeCombined::Reset()
{
    common.Reset();
    window.Reset();
    marges.Reset();
    seperatorUi.Reset();
}

void SkinSchemeCombined::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    common.Walk(visitor, section);
    window.Walk(visitor, section);
    marges.Walk(visitor, section);
    seperatorUi.Walk(visitor, section);
}

// --- SkinSchemeSeparate ---------------------------------------------------------

bool SkinSchemeSeparate::Load(const t_iniSection* section)
{
    Reset();
    const bool commonLoaded = common.Load(section);
    const bool compositionLoaded = composition.Load(section);
    const bool candidateLoaded = candidate.Load(section);
    const bool margesLoaded = marges.Load(section);
    return margesLoaded && compositionLoaded && candidateLoaded && commonLoaded;
}

void SkinSchemeSeparate::Reset()
{
    common.Reset();
    composition.Reset();
    candidate.Reset();
    marges.Reset();
}

void SkinSchemeSeparate::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    common.Walk(visitor, section);
    composition.Walk(visitor, section);
    candidate.Walk(visitor, section);
    marges.Walk(visitor, section);
}

// --- SkinStatusBarPart ----------------------------------------------------------

bool SkinStatusBarPart::Load(const t_iniSection* section)
{
    Reset();
    const bool commonLoaded = common.Load(section);
    bool all = pic.Load(section, L"pic", nullptr);
    all = pic_mask.Load(section, L"pic_mask", nullptr) && all;
    all = pic_preview.Load(section, L"pic_preview", nullptr) && all;
    buttons.Load(section, nullptr);
    all = webpage_url.Load(section, L"webpage_url", nullptr) && all;
    all = flashs.Load(section, nullptr) && all;
    all = flashBk.Load(section, nullptr) && all;
    return all && commonLoaded;
}

void SkinStatusBarPart::Reset()
{
    common.Reset();
    pic.Reset();
    pic_mask.Reset();
    pic_preview.Reset();
    buttons.Reset();
    webpage_url.Reset();
    flashs.Reset();
    flashBk.Reset();
}

void SkinStatusBarPart::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    common.Walk(visitor, section);
    WalkSkinValue(visitor, section, L"pic", nullptr, pic);
    WalkSkinValue(visitor, section, L"pic_mask", nullptr, pic_mask);
    WalkSkinValue(visitor, section, L"pic_preview", nullptr, pic_preview);
    buttons.Walk(visitor, section, nullptr);
    WalkSkinValue(visitor, section, L"webpage_url", nullptr, webpage_url);
    flashs.Walk(visitor, section, nullptr);
    flashBk.Walk(visitor, section, nullptr);
}
