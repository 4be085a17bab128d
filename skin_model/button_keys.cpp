#include "skin_model/button_keys.h"

#include "skin_model/btn_type_helper.h"

#include <cwchar>

namespace {

struct t_propertyRow {
    const wchar_t* key;
    const wchar_t* caption;
    int cells;  // -1: one per picture variant
    t_cellKind kind;
};

const t_cellKind c_int = t_cellKind::e_int;
const t_cellKind c_text = t_cellKind::e_text;

const t_propertyRow c_properties[c_propCount] = {
    {L"display", L"显示", 1, c_int},         {L"pos", L"位置", 2, c_int},
    {L"align", L"对齐位置", 10, c_int},      {L"", L"普通状态", -1, c_text},
    {L"down", L"鼠标按下", -1, c_text},      {L"hover", L"鼠标悬浮", -1, c_text},
    {L"in", L"鼠标进入", -1, c_text},        {L"out", L"鼠标离开", -1, c_text},
    {L"downing", L"鼠标按下中", -1, c_text}, {L"up", L"鼠标抬起", -1, c_text},
    {L"url", L"访问网页", 1, c_text},        {L"hint", L"悬浮提示", 1, c_text},
    {L"flashfile", L"Flash文件", 1, c_text}, {L"flashpreview", L"Flash预览图", 1, c_text},
};

const wchar_t* const c_builtInPictureBases[c_builtInButtonCount][3] = {
    {L"cn", L"en", L"a"},
    {L"cn_biaodian", L"en_biaodian", nullptr},
    {L"quan", L"ban", nullptr},
    {L"quanpin", L"shuanpin", nullptr},
    {L"jian", L"fan", nullptr},
    {L"key", nullptr, nullptr},
    {L"menu", nullptr, nullptr},
    {L"ie", nullptr, nullptr},
    {L"pageup_on", L"pageup_off", nullptr},
    {L"pagedown_on", L"pagedown_off", nullptr},
    {L"pass", L"passon", nullptr},
    {L"webpage", nullptr, nullptr},
    {L"skinmanager", nullptr, nullptr},
};

const wchar_t* const c_windowPrefixes[c_buttonWindowCount] = {L"", L"oh_", L"oh2_", L"ah_", L"ov_", L"ov2_", L"av_"};

// Rows of the picture grid; the last two are the Flash file and its preview.
const wchar_t* const c_stateSuffixes[9] = {L"1.bmp", L"2.bmp", L"3.bmp", L"4.bmp", L"5.bmp",
                                           L"6.bmp", L"7.bmp", L".swf",  L".bmp"};

bool IsProperty(int property) { return property >= 0 && property < c_propCount; }

// The helper of a valid button, else null.
t_btnTypeHelper* HelperOfButton(int index, int type)
{
    t_btnTypeHelper* helper = TypeHelperOf(type);
    return helper && helper->IsValidIndex(index) ? helper : nullptr;
}

}  // namespace

const wchar_t* PropertyKeyOf(int property) { return IsProperty(property) ? c_properties[property].key : nullptr; }

const wchar_t* PropertyCaptionOf(int property)
{
    return IsProperty(property) ? c_properties[property].caption : nullptr;
}

int PropertyCellCount(int property, int variantCount)
{
    if (!IsProperty(property))
        return 0;
    const int cells = c_properties[property].cells;
    return cells < 0 ? variantCount : cells;
}

t_cellKind PropertyKind(int property)
{
    return IsProperty(property) ? c_properties[property].kind : t_cellKind::e_none;
}

int PlacementPropertyOf(bool alignFlag) { return alignFlag ? c_propAlign : c_propPos; }

const wchar_t* ButtonKeyOf(int index, int type)
{
    t_btnTypeHelper* helper = HelperOfButton(index, type);
    return helper ? helper->Key(index) : nullptr;
}

const wchar_t* ButtonCaptionOf(int index, int type)
{
    t_btnTypeHelper* helper = HelperOfButton(index, type);
    return helper ? helper->Caption(index) : nullptr;
}

const wchar_t* ButtonVariantCaptionOf(int index, int type, int variant)
{
    t_btnTypeHelper* helper = HelperOfButton(index, type);
    if (!helper || variant < 0 || variant >= helper->VariantCount(index))
        return nullptr;
    return helper->VariantCaption(index, variant);
}

int ButtonVariantCountOf(int index, int type)
{
    t_btnTypeHelper* helper = HelperOfButton(index, type);
    return helper ? helper->VariantCount(index) : 0;
}

const wchar_t* CountKeyOf(int type)
{
    t_btnTypeHelper* helper = TypeHelperOf(type);
    return helper ? helper->CountKey() : nullptr;
}

bool IsValidButton(int index, int type) { return HelperOfButton(index, type) != nullptr; }

bool MakePropertyKey(t_str& out, int index, int type, int property)
{
    out.Clear();
    const wchar_t* key = ButtonKeyOf(index, type);
    if (!key || !IsProperty(property))
        return false;
    out.Assign(key);
    if (property != c_propNormal) {
        out.AppendChar(L'_');
        out.Append(c_properties[property].key);
    }
    return true;
}

t_btnDesc ParseButtonKey(const wchar_t* key)
{
    if (!key)
        return {0, -1};
    t_str candidate;
    for (int type = c_btnBuiltIn; type < c_btnTypeCount; ++type) {
        t_btnTypeHelper* helper = TypeHelperOf(type);
        int index = 0;
        if (!helper || !helper->ParseKey(key, index) || !helper->IsValidIndex(index))
            continue;
        for (int property = 0; property < c_propCount; ++property) {
            if (MakePropertyKey(candidate, index, type, property) && candidate.Equals(key))
                return {index, type};
        }
    }
    return {0, -1};
}

const wchar_t* WindowPicturePrefix(int window)
{
    return window >= 0 && window < c_buttonWindowCount ? c_windowPrefixes[window] : nullptr;
}

bool PictureBaseName(t_str& out, int index, int type, int variant)
{
    out.Clear();
    if (type == c_btnBuiltIn) {
        if (!IsValidButton(index, type) || variant < 0 || variant >= 3 || !c_builtInPictureBases[index][variant])
            return false;
        out.Assign(c_builtInPictureBases[index][variant]);
        return true;
    }
    const wchar_t* key = ButtonKeyOf(index, type);
    if (!key)
        return false;
    out.Assign(key);
    return true;
}

int StateImageIndex(int property)
{
    switch (property) {
    case c_propHover:
        return 1;
    case c_propDown:
        return 2;
    case c_propIn:
        return 3;
    case c_propOut:
        return 4;
    case c_propDowning:
        return 5;
    case c_propUp:
        return 6;
    case c_propFlashFile:
        return 7;
    case c_propFlashPreview:
        return 8;
    default:
        return 0;
    }
}

const wchar_t* StateSuffixOf(int property)
{
    const int row = StateImageIndex(property);
    const int rows = static_cast<int>(sizeof(c_stateSuffixes) / sizeof(c_stateSuffixes[0]));
    return row >= 0 && row < rows ? c_stateSuffixes[row] : c_stateSuffixes[0];
}

bool MakeDefaultImageName(t_str& out, int index, int type, int variant, int property, int window)
{
    t_str base;
    const wchar_t* prefix = WindowPicturePrefix(window);
    if (!prefix || !PictureBaseName(base, index, type, variant)) {
        out.Clear();
        return false;
    }
    out.Assign(prefix);
    out.AppendStr(base);
    out.Append(StateSuffixOf(property));
    return true;
}
