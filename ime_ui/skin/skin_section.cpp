#include "ime_ui/skin/skin_section.h"

// --- SkinDisplay ----------------------------------------------------------------

void SkinDisplay::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{L"font_size", &font_size},
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

// --- SkinSchemeCombined ---------------------------------------------------------

void SkinSchemeCombined::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Part(L"", prefix, common)
        .Part(L"", prefix, window)
        .Part(L"", prefix, marges)
        .Part(L"", prefix, seperatorUi, t_skinResult::e_ignored);
}

// --- SkinSchemeSeparate ---------------------------------------------------------

void SkinSchemeSeparate::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Part(L"", prefix, common)
        .Part(L"", prefix, composition)
        .Part(L"", prefix, candidate)
        .Part(L"", prefix, marges);
}

// --- SkinStatusBarPart ----------------------------------------------------------

void SkinStatusBarPart::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Part(L"", prefix, common)
        .Values(prefix, {{L"pic", &pic}, {L"pic_mask", &pic_mask}, {L"pic_preview", &pic_preview}})
        .Part(L"", prefix, buttons, t_skinResult::e_ignored)
        .Values(prefix, {{L"webpage_url", &webpage_url}})
        .Part(L"", prefix, flashs)
        .Part(L"", prefix, flashBk);
}
