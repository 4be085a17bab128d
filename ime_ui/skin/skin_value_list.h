// Named lists of values: a part of the Skin.ini reader lists its values with their key
// names once, and loading, saving, resetting and walking all go through that list.
#pragma once

#include "ime_ui/skin/skin_value.h"

#include <initializer_list>

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

class t_skinValueList {
public:
    // The most values a part lists (a flash item's twenty).
    static const int c_capacity = 20;

    // Appends in reading order; entries past the capacity are a programming error and
    // are dropped.
    t_skinValueList& Add(std::initializer_list<t_skinNamedValue> values);

    // Loads every value (none is skipped when one fails); true when all loaded.
    bool Load(const t_iniSection* section, const wchar_t* prefix) const;
    void Save(t_iniSection* section, const wchar_t* prefix, t_heap& heap) const;
    void Reset() const;
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const;

private:
    t_skinNamedValue m_values[c_capacity] = {};
    int m_count = 0;
};

// One value under its composed key; keys that don't fit are not told.
void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value);
