// The parts of the input method's reading of Skin.ini. A part lists its fields once: its
// values under their key names and its nested parts under their key prefixes; loading,
// resetting and walking all go through that list.
#pragma once

#include "ime_ui/skin/skin_value.h"

#include <initializer_list>

// Told every value of a parsed skin with the section and the composed key it is read from.
class i_skinValueVisitor {
public:
    virtual ~i_skinValueVisitor() = default;
    virtual void Visit(const wchar_t* section, const wchar_t* key, const SkinTypeBase& value) = 0;
};

// A part read under a key prefix (none for a section's own keys).
class i_skinPart {
public:
    virtual ~i_skinPart() = default;
    // Every value is loaded or, where its key is missing or malformed, reset: a load keeps
    // nothing of an earlier one. True when everything that counts toward the part loaded.
    virtual bool Load(const t_iniSection* section, const wchar_t* prefix) = 0;
    // Every value to its default, arrays emptied.
    virtual void Reset() = 0;
    // Tells every value under its composed key; keys that don't fit are not told.
    virtual void Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const = 0;
};

struct t_skinNamedValue {
    const wchar_t* name;  // the key name under the prefix; "" for the prefix itself
    SkinTypeBase* value;
};

// Whether a nested part's load result counts toward the result of the part holding it.
enum class t_skinResult : int {
    e_counts = 0,
    e_ignored = 1,
};

class t_skinFieldList {
public:
    // The most fields a part lists (a flash item's twenty values).
    static const int c_capacity = 20;

    // Values read under the prefix, appended in reading order. Fields past the capacity
    // are a programming error and are dropped.
    t_skinFieldList& Values(const wchar_t* prefix, std::initializer_list<t_skinNamedValue> values);
    // A nested part read under prefix + "_" + name ("" for the prefix itself). Where that
    // key doesn't fit, the part is reset on load and not walked.
    t_skinFieldList& Part(const wchar_t* name, const wchar_t* prefix, i_skinPart& part,
                          t_skinResult result = t_skinResult::e_counts);

    // Loads every field (none is skipped when one fails); true when every value and every
    // counting part loaded.
    bool Load(const t_iniSection* section) const;
    // Saves the values; nested parts are not saved.
    void Save(t_iniSection* section, t_heap& heap) const;
    void Reset() const;
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section) const;

private:
    struct t_field {
        const wchar_t* name;
        const wchar_t* prefix;
        SkinTypeBase* value;  // a value, or
        i_skinPart* part;     // a nested part
        bool counts;
    };

    t_skinFieldList& Append(const t_field& field);

    t_field m_fields[c_capacity];
    int m_count = 0;
};

// A part whose fields are listed by List: Load, Reset and Walk are those of the list.
class SkinPart : public i_skinPart {
public:
    SkinPart() = default;
    SkinPart(const SkinPart&) = delete;
    SkinPart& operator=(const SkinPart&) = delete;

    bool Load(const t_iniSection* section, const wchar_t* prefix) override;
    void Reset() override;
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const override;

protected:
    // Lists the fields in reading order for the part read under prefix.
    virtual void List(t_skinFieldList& fields, const wchar_t* prefix) = 0;
};

// One value under its composed key; keys that don't fit are not told.
void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value);
