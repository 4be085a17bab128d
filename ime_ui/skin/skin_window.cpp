#include "ime_ui/skin/skin_window.h"

namespace {

const wchar_t c_separatorKey[] = L"separator";

}  // namespace

// --- SkinWindowCommon -----------------------------------------------------------

void SkinWindowCommon::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{L"transparent_color", &transparent_color},
                           {L"transparent_color_enable", &transparent_color_enable},
                           {L"click_color", &click_color},
                           {L"click_color_enable", &click_color_enable},
                           {L"opaque", &opaque},
                           {L"layered", &layered}});
}

// --- SkinFlashBk ----------------------------------------------------------------

void SkinFlashBk::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    // Q_flashbk_security is the key "security" under the prefix Q_flashbk.
    fields.Values(prefix, {{L"flashbk", &flashbk},
                           {L"flashbk_security", &security},
                           {L"flashbk_width", &width},
                           {L"flashbk_height", &height}});
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

void SkinSchemeWindow::List(t_skinFieldList& fields, const wchar_t*)
{
    const wchar_t* p = PicturePrefix();
    const wchar_t* q = ControlPrefix();
    fields
        .Values(p, {{L"pic", &pic},
                    {L"pic_mask", &pic_mask},
                    {L"layout_horizontal", &layout_horizontal},
                    {L"layout_vertical", &layout_vertical}})
        .Part(L"", q, buttons, t_skinResult::e_ignored)
        .Values(q, {{L"webpage_url", &webpage_url}})
        .Part(L"", q, flashs)
        .Part(L"", q, flashBk);
}

// --- SkinMarges -----------------------------------------------------------------

void SkinMarges::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix,
                  {{L"pinyin_marge", &pinyin_marge}, {L"zhongwen_marge", &zhongwen_marge}, {L"anchor", &anchor}});
}

// --- SkinSeperatorUi ------------------------------------------------------------

void SkinSeperatorUi::ListPicture(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{L"seperatorui_pic", &pic},
                           {L"seperatorui_layout_horizontal", &layout_horizontal},
                           {L"seperatorui_layout_vertical", &layout_vertical},
                           {L"seperatorui_to_left_right", &to_left_right}});
}

void SkinSeperatorUi::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{c_separatorKey, &separator}});
    ListPicture(fields, prefix);
}

bool SkinSeperatorUi::Load(const t_iniSection* section, const wchar_t* prefix)
{
    // The line is read only when the picture form is incomplete.
    t_skinFieldList picture;
    ListPicture(picture, prefix);
    if (picture.Load(section)) {
        separator.Reset();
        m_mode = t_seperatorMode::e_picture;
    } else {
        m_mode = separator.Load(section, c_separatorKey, prefix) ? t_seperatorMode::e_line : t_seperatorMode::e_none;
    }
    return true;
}

void SkinSeperatorUi::Reset()
{
    SkinPart::Reset();
    m_mode = t_seperatorMode::e_none;
}
