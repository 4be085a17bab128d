#include "ime_ui/skin/skin_value_list.h"

#include "ime_ui/skin/skin_number.h"

bool LoadSkinValues(const t_skinNamedValue* values, int count, const t_iniSection* section, const wchar_t* prefix)
{
    bool all = true;
    for (int i = 0; i < count; ++i)
        all = values[i].value->Load(section, values[i].name, prefix) && all;
    return all;
}

void SaveSkinValues(const t_skinNamedValue* values, int count, t_iniSection* section, const wchar_t* prefix,
                    t_heap& heap)
{
    for (int i = 0; i < count; ++i)
        values[i].value->Save(section, values[i].name, heap, prefix);
}

void ResetSkinValues(const t_skinNamedValue* values, int count)
{
    for (int i = 0; i < count; ++i)
        values[i].value->Reset();
}

void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value)
{
    wchar_t key[c_skinKeyChars] = {0};
    if (MakeSkinKey(name, prefix, key) && key[0])
        visitor.Visit(section, key, value);
}

void WalkSkinValues(const t_skinNamedValue* values, int count, i_skinValueVisitor& visitor, const wchar_t* section,
                    const wchar_t* prefix)
{
    for (int i = 0; i < count; ++i)
        WalkSkinValue(visitor, section, values[i].name, prefix, *values[i].value);
}
