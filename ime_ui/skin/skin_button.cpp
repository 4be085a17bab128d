#include "ime_ui/skin/skin_button.h"

#include "ime_ui/skin/skin_number.h"

#include <cwchar>

namespace {

const wchar_t* const c_buttonNames[c_skinFixedButtonCount] = {
    L"cn_en",  L"biaodian", L"quan_ban", L"quan_shuang", L"fan_jian",    L"softkeyboard", L"menu", L"vexilsearch",
    L"pageup", L"pagedown", L"passport", L"webpage",     L"skinmanager", L"handinput",    L"news", L"logo",
};

}  // namespace

const wchar_t* SkinButtonName(int index)
{
    return index >= 0 && index < c_skinFixedButtonCount ? c_buttonNames[index] : nullptr;
}

// --- SkinBtn --------------------------------------------------------------------

void SkinBtn::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{L"display", &display},
                           {L"pos", &pos},
                           {L"align", &align},
                           {L"", &normal},
                           {L"down", &down},
                           {L"hover", &hover},
                           {L"in", &in},
                           {L"out", &out},
                           {L"downing", &downing},
                           {L"up", &up},
                           {L"hint", &hint},
                           {L"url", &url}});
}

void SkinBtn::Save(t_iniSection* section, const wchar_t* prefix, t_heap& heap)
{
    t_skinFieldList fields;
    List(fields, prefix);
    fields.Save(section, heap);
}

void SkinBtnComponent::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    SkinBtn::List(fields, prefix);
    fields.Values(prefix, {{L"BundleId", &BundleId}, {L"ComId", &ComId}});
}

// --- SkinFlash ------------------------------------------------------------------

void SkinFlash::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    fields.Values(prefix, {{L"", &file},
                           {L"display", &display},
                           {L"pos", &pos},
                           {L"align", &align},
                           {L"width", &width},
                           {L"height", &height},
                           {L"drag", &drag},
                           {L"preview", &preview},
                           {L"cursor", &cursor},
                           {L"param", &param},
                           {L"popup", &popup},
                           {L"showDisable", &showDisable},
                           {L"stick", &stick},
                           {L"correct", &correct},
                           {L"security", &security},
                           {L"showlikeparent", &showlikeparent},
                           {L"hidefullscreen", &hidefullscreen},
                           {L"activate", &activate},
                           {L"framefree", &framefree},
                           {L"framecnt", &framecnt}});
}

// --- SkinArrayBase --------------------------------------------------------------

bool SkinArrayBase::ItemKey(const wchar_t* prefix, const wchar_t* suffix, wchar_t (&out)[c_skinKeyChars]) const
{
    wchar_t name[c_skinKeyChars];
    const int written = _snwprintf(name, c_skinKeyChars, L"%s%s", Name(), suffix);
    if (written < 0 || written >= c_skinKeyChars)
        return false;
    out[0] = 0;
    return MakeSkinKey(name, prefix, out);
}

bool SkinArrayBase::Load(const t_iniSection* section, const wchar_t* prefix)
{
    Clear();
    wchar_t countKey[c_skinKeyChars];
    if (!ItemKey(prefix, L"_cnt", countKey) || !count.Load(section, L"", countKey))
        return false;
    if (count.Value() > c_skinArrayMaxItems)
        count.Set(c_skinArrayMaxItems, true);
    for (int i = 0; i < count.Value(); ++i) {
        wchar_t index[12];
        _snwprintf(index, 12, L"%d", i);
        wchar_t itemKey[c_skinKeyChars];
        if (!ItemKey(prefix, index, itemKey) || !AppendNew(section, itemKey))
            break;
    }
    return true;
}

void SkinArrayBase::Reset()
{
    Clear();
    count.Reset();
}

void SkinArrayBase::Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const
{
    wchar_t key[c_skinKeyChars];
    if (ItemKey(prefix, L"_cnt", key))
        visitor.Visit(section, key, count);
    for (int i = 0; i < ItemCount(); ++i) {
        wchar_t index[12];
        _snwprintf(index, 12, L"%d", i);
        if (ItemKey(prefix, index, key))
            WalkItem(i, visitor, section, key);
    }
}

// --- SkinStatusButtons ----------------------------------------------------------

void SkinStatusButtons::List(t_skinFieldList& fields, const wchar_t* prefix)
{
    for (int i = 0; i < c_skinFixedButtonCount; ++i)
        fields.Part(c_buttonNames[i], prefix, buttons[i], t_skinResult::e_ignored);
    fields.Part(L"", prefix, custom, t_skinResult::e_ignored).Part(L"", prefix, component, t_skinResult::e_ignored);
}
