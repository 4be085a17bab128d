// Named lists of values: a part of the Skin.ini reader lists its values with their key
// names once, and loading, saving, resetting and walking all go through that list.
#pragma once

#include "ime_ui/skin/skin_value.h"

// Told every value of a parsed skin with the section and the composed key it is read from.
class i_skinValueVisitor {
public:
    virtual ~i_skinValueVisitor() = default;
    virtual void Visit(const wchar_t* section, const wchar_t* key, const SkinTypeBase& value) = 0;
};

struct t_skinNamedValue {
    const wchar_t* name;  // the key name under the prefix; "" for the prefix itself
    SkinTypeBase* value;
};

// Loads every value (none is skipped when one fails); true when all loaded.
bool LoadSkinValues(const t_skinNamedValue* values, int count, const t_iniSection* section, const wchar_t* prefix);
void SaveSkinValues(const t_skinNamedValue* values, int count, t_iniSection* section, const wchar_t* prefix,
                    t_heap& heap);
void ResetSkinValues(const t_skinNamedValue* values, int count);
void WalkSkinValues(const t_skinNamedValue* values, int count, i_skinValueVisitor& visitor, const wchar_t* section,
                    const wchar_t* prefix);
// One value under its composed key; keys that don't fit are not told.
void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value);
