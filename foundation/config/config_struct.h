// Configuration structures: named groups of values, stored as key prefixes in a
// section (t_struct), as one INI section (t_section) or as one key whose value
// holds every member (t_structOneLine).
#pragma once

#include "foundation/config/config_value.h"
#include "foundation/core/simple_array.h"

namespace n_config {

class t_struct : public t_typeBase {
public:
    explicit t_struct(const wchar_t* name) : t_typeBase(name) {}

    // A structure is not one value: only t_structOneLine parses and renders.
    bool FromString(const wchar_t*, t_heap*) override { return false; }
    bool ToString(wchar_t*, unsigned) const override { return false; }
    // Every member with prefix + name as its prefix; true only when all succeeded.
    bool Read(const t_iniSection& section, const wchar_t* prefix) override;
    bool Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix) override;
    void Reset() override;
    // Set itself, or any member set.
    bool IsSet() const override;
    // A derived class appends its members with AddMember, then calls this,
    // which lets every member register its own.
    void RegisterMembers() override;

    int MemberCount() const { return m_members.Count(); }
    t_typeBase* Member(int index) const { return m_members[index]; }

protected:
    // Appends a member once (a second registration of the same one is ignored).
    void AddMember(t_typeBase& member);

    bool ReadMembers(const t_iniSection& section, const wchar_t* prefix);
    bool WriteMembers(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix);

    itl::ImmSimpleArray<t_typeBase*> m_members;
};

// A structure stored as one INI section; its members' keys carry no prefix.
class t_section : public t_struct {
public:
    t_section(const wchar_t* name, t_heap* arena) : t_struct(name), m_arena(arena) {}

    bool Read(const t_iniSection& section, const wchar_t* prefix) override;
    bool Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix) override;
    virtual bool HasAnySet() const;

    // The arena of the section's text values.
    t_heap* Arena() const { return m_arena; }

private:
    t_heap* m_arena;
};

// A structure stored as one key: the members' texts in order, each followed by
// the separator ("0,0,800,600," for four integers and ","). Pieces are cut in a
// private copy, so text members need an arena of their own.
class t_structOneLine : public t_struct {
public:
    static const unsigned c_maxSeparator = 9;

    // A separator longer than c_maxSeparator characters is cut there.
    t_structOneLine(const wchar_t* name, const wchar_t* separator);

    // Members take their pieces in order; members past the end of the text are
    // reset. The members' own set flags stay cleared.
    bool FromString(const wchar_t* text, t_heap* arena) override;
    bool ToString(wchar_t* buffer, unsigned size) const override;
    // Success marks the structure set; a missing key or a failed parse leaves
    // every member at its default.
    bool Read(const t_iniSection& section, const wchar_t* prefix) override;
    bool Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix) override;

private:
    wchar_t m_separator[c_maxSeparator + 1];
    unsigned m_separatorLength;
};

}  // namespace n_config
