// Typed configuration values: named values with defaults that read themselves
// from an INI section and render themselves back into it.
#pragma once

#include "foundation/core/heap.h"
#include "foundation/config/ini_document.h"

namespace n_config {

// Longest key, terminator included.
const unsigned c_keyChars = 260;

// Where values render their text while a file is saved: chunks taken from a
// scratch arena, filled one value after another.
struct t_textCursor {
    wchar_t* at;
    unsigned room;  // characters left at `at`
    t_heap* arena;

    explicit t_textCursor(t_heap* textArena) : at(nullptr), room(0), arena(textArena) {}
    // A fresh chunk of c_chunkChars characters; false when the arena refuses.
    bool NewChunk();

    static const unsigned c_chunkChars = 0x1fffc;
};

// Integer text: "0x" (either case) and hexadecimal digits, else a signed
// decimal number. The whole text must be consumed and fit 32 bits.
bool ParseInt(const wchar_t* text, int& out);

class t_arraySectionBase;

class t_typeBase {
public:
    explicit t_typeBase(const wchar_t* name) : isSet(0), name(name) {}
    virtual ~t_typeBase() {}

    // Back to the default, then parse; a failed parse leaves the default.
    virtual bool FromString(const wchar_t* text, t_heap* arena) = 0;
    // Renders the value; false when it does not fit in size characters.
    virtual bool ToString(wchar_t* buffer, unsigned size) const = 0;
    // Reads the key (prefix + name) from the section; success marks it set.
    virtual bool Read(const t_iniSection& section, const wchar_t* prefix);
    // Renders the value at the cursor and sets the key in the section.
    virtual bool Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix);
    virtual void Reset() = 0;
    virtual bool IsSet() const { return isSet != 0; }
    // The key: prefix + name when a prefix is given, else the name; null when
    // it does not fit in size characters.
    virtual const wchar_t* KeyName(wchar_t* buffer, unsigned size, const wchar_t* prefix) const;
    // Structures enter their members here; nothing for a plain value.
    virtual void RegisterMembers() {}
    // Array sections answer themselves; everything else null.
    virtual t_arraySectionBase* AsArray() { return nullptr; }

    unsigned char isSet;
    const wchar_t* name;

protected:
    bool ReadValue(const t_iniSection& section, const wchar_t* prefix);
    bool WriteValue(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix);
};

template <class T>
class t_typeBase_t : public t_typeBase {
public:
    t_typeBase_t(const wchar_t* name, T defaultValue)
        : t_typeBase(name), value(defaultValue), defaultValue(defaultValue)
    {}

    void Reset() override
    {
        value = defaultValue;
        isSet = 0;
    }

protected:
    T value;
    T defaultValue;
};

// Accepts only 0 and 1 (in any integer spelling such as "0x1").
class t_bool : public t_typeBase_t<unsigned char> {
public:
    t_bool(const wchar_t* name, bool defaultValue) : t_typeBase_t(name, defaultValue ? 1 : 0) {}

    bool FromString(const wchar_t* text, t_heap* arena) override;
    bool ToString(wchar_t* buffer, unsigned size) const override;

    // Stores the value into out only when it is set; returns whether it is.
    bool Get(bool* out) const;
    // The current value, the default when nothing was read or set.
    bool Value() const { return value != 0; }
    void Set(bool on);
};

class t_int : public t_typeBase_t<int> {
public:
    t_int(const wchar_t* name, int defaultValue) : t_typeBase_t(name, defaultValue) {}

    bool FromString(const wchar_t* text, t_heap* arena) override;
    bool ToString(wchar_t* buffer, unsigned size) const override;

    int Get() const { return value; }
    void Set(int v);
};

// A text value; parsed texts are copied into the arena given to FromString,
// else into the value's own arena.
class t_str : public t_typeBase_t<const wchar_t*> {
public:
    t_str(const wchar_t* name, const wchar_t* defaultValue, t_heap* arena)
        : t_typeBase_t(name, defaultValue), m_arena(arena)
    {}

    bool FromString(const wchar_t* text, t_heap* arena) override;
    bool ToString(wchar_t* buffer, unsigned size) const override;

    const wchar_t* Get() const { return value ? value : L""; }

private:
    t_heap* m_arena;
};

}  // namespace n_config
