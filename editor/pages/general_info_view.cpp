#include "editor/pages/general_info_view.h"

#include "editor/resources/resource_ids.h"
#include "skin_model/general_info.h"

namespace {
const int c_edits[GeneralInfoView::c_fieldCount] = {c_infoSkinName,  c_infoSkinVersion, c_infoSkinAuthor,
                                                    c_infoSkinEmail, c_infoSkinTime,    c_infoSkinInfo};

wchar_t* FieldOf(GeneralInfo& info, int field)
{
    wchar_t* const fields[GeneralInfoView::c_fieldCount] = {info.skinName,  info.skinVersion, info.skinAuthor,
                                                            info.skinEmail, info.skinTime,    info.skinInfo};
    return fields[field];
}

// Every line break ("\r\n", or a lone '\r' or '\n') becomes one space.
void JoinLines(wchar_t* text)
{
    wchar_t* out = text;
    for (const wchar_t* in = text; *in; ++in) {
        if (*in == L'\r' && in[1] == L'\n')
            ++in;
        *out++ = *in == L'\r' || *in == L'\n' ? L' ' : *in;
    }
    *out = 0;
}
}  // namespace

GeneralInfoView::GeneralInfoView() : SubDialog(t_partIndex::e_general) {}

int GeneralInfoView::EditOfField(int field) { return field >= 0 && field < c_fieldCount ? c_edits[field] : 0; }

int GeneralInfoView::OnInitDialog()
{
    SetLive(false);
    for (int field = 0; field < c_fieldCount; ++field)
        LimitText(c_edits[field], c_edits[field] == c_infoSkinInfo ? c_infoLimit : c_textLimit);
    FocusItem(c_infoSkinName);
    return Dialog::OnInitDialog();
}

void GeneralInfoView::FillControls()
{
    GeneralInfo* info = static_cast<GeneralInfo*>(m_part);
    for (int field = 0; field < c_fieldCount; ++field)
        SetItemText(c_edits[field], info ? FieldOf(*info, field) : L"");
    FocusItem(c_infoSkinName);
}

int GeneralInfoView::StoreToModel()
{
    GeneralInfo* info = static_cast<GeneralInfo*>(m_part);
    if (!info)
        return 0;
    for (int field = 0; field < c_fieldCount; ++field) {
        wchar_t* text = FieldOf(*info, field);
        GetItemText(c_edits[field], text, BaseInfo::c_pathChars);
        // A Skin.ini value ends at its line: the description's line breaks become spaces,
        // so no line after the first is lost when the skin is saved and opened again.
        JoinLines(text);
    }
    return 1;
}

int GeneralInfoView::OnTextChange(int)
{
    if (IsLive())
        NotifyModified();
    return 0;
}
