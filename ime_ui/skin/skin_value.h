// Typed values of the input method's own reading of Skin.ini: each kind parses and
// prints its text form, knows its default and whether the file held it, and loads
// itself from an INI section under a composed key (prefix + "_" + name).
//
// Text values are references into the parsed INI document, not copies: parsing cuts
// the value text in place (terminators over the separators), so a parsed value lives
// exactly as long as the document that holds its text.
#pragma once

#include "foundation/config/ini_document.h"
#include "foundation/core/heap.h"

#include <windows.h>

#include <cstring>

class SkinTypeBase {
public:
    virtual ~SkinTypeBase() = default;

    // Value := default, then the text; false (value at its default) when the text is
    // absent, empty or malformed. The text may be cut in place.
    virtual bool Parse(wchar_t* text) = 0;
    // The text form allocated from heap; null when the value has no text.
    virtual const wchar_t* Format(t_heap& heap) const = 0;
    // Looks the composed key up in the section: present and true when it exists and
    // parses; otherwise Reset and false. A missing key and a malformed one behave alike.
    virtual bool Load(const t_iniSection* section, const wchar_t* name, const wchar_t* prefix);
    // At its default the key is removed (false); else the key is set to the text form,
    // a new key appended at the end of the section (true).
    virtual bool Save(t_iniSection* section, const wchar_t* name, t_heap& heap, const wchar_t* prefix) const;
    // Value := default, present flag cleared.
    virtual void Reset() = 0;
    virtual bool IsDefault() const = 0;

    bool IsPresent() const { return m_present; }

protected:
    bool m_present = false;
};

template <class T>
class SkinTypeBase_t : public SkinTypeBase {
public:
    explicit SkinTypeBase_t(const T& defaultValue) : m_value(defaultValue), m_default(defaultValue) {}

    void Reset() override
    {
        m_value = m_default;
        m_present = false;
    }
    // Plain values and structures compare word by word.
    bool IsDefault() const override { return memcmp(&m_value, &m_default, sizeof(T)) == 0; }

    const T& Value() const { return m_value; }
    const T& Default() const { return m_default; }
    // Stores a value and a present flag as they are given.
    void Set(const T& value, bool present)
    {
        m_value = value;
        m_present = present;
    }
    // Copies the value out when present; the present flag.
    bool Get(T& out) const
    {
        if (m_present)
            out = m_value;
        return m_present;
    }

protected:
    T m_value;
    const T m_default;
};

struct _t_SkinToLeftRight {
    int first;
    int second;
};

// In the runtime skin: the fill mode of the middle stripe (0 stretch, 1 tile, 2 natural
// size) and the cut distances from the near and the far edge.
struct _t_SkinSplit {
    int mode;
    int first;
    int second;
};

struct _t_SkinSeperator {
    unsigned colour;
    int first;
    int second;
};

// Alignment of a button: anchor modes, margins and two extra flags, in this order.
struct AlignEx {
    int leftMode;
    int rightMode;
    int topMode;
    int bottomMode;
    int leftMargin;
    int rightMargin;
    int topMargin;
    int bottomMargin;
    int extra1;
    int extra2;
};

// No colour.
const unsigned c_skinNoColor = 0xFFFFFFFFu;
// Distances of separators and "to left/right" values are capped at this.
const int c_skinDistanceCap = 300;

// 0 or 1: the leading decimal integer of the text as the C library reads it (0 without
// one); any other number fails.
class SkinBool : public SkinTypeBase_t<bool> {
public:
    explicit SkinBool(bool defaultValue = false) : SkinTypeBase_t(defaultValue) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// Signed decimal only.
class SkinInt : public SkinTypeBase_t<int> {
public:
    explicit SkinInt(int defaultValue = 0) : SkinTypeBase_t(defaultValue) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// Decimal or "0x" hexadecimal; printed as "0x" and lower-case digits.
class SkinColor : public SkinTypeBase_t<unsigned> {
public:
    explicit SkinColor(unsigned defaultValue = c_skinNoColor) : SkinTypeBase_t(defaultValue) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// A reference to the value text of the document.
class SkinStr : public SkinTypeBase_t<const wchar_t*> {
public:
    SkinStr() : SkinTypeBase_t(nullptr) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
    // Case-sensitive; no text and the empty text are equal.
    bool IsDefault() const override;
    // The text, the empty text when there is none.
    const wchar_t* Text() const { return m_value ? m_value : L""; }
};

// "x,y".
class SkinPos : public SkinTypeBase_t<POINT> {
public:
    SkinPos() : SkinTypeBase_t(POINT{0, 0}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// "first,second", each capped at 300.
class SkinToLeftRight : public SkinTypeBase_t<_t_SkinToLeftRight> {
public:
    SkinToLeftRight() : SkinTypeBase_t(_t_SkinToLeftRight{0, 0}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// "mode,first,second", the mode 0..2.
class SkinSplit : public SkinTypeBase_t<_t_SkinSplit> {
public:
    SkinSplit() : SkinTypeBase_t(_t_SkinSplit{2, 0, 0}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// "colour,first,second", the two numbers capped at 300.
class SkinSeperator : public SkinTypeBase_t<_t_SkinSeperator> {
public:
    SkinSeperator() : SkinTypeBase_t(_t_SkinSeperator{c_skinNoColor, 0, 0}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// "top,bottom,left,right".
class SkinAlign : public SkinTypeBase_t<RECT> {
public:
    SkinAlign() : SkinTypeBase_t(RECT{0, 0, 0, 0}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// Ten numbers: top, bottom, left and right margin, top, bottom, left and right mode,
// then the two extra flags.
class SkinAlignEx : public SkinTypeBase_t<AlignEx> {
public:
    SkinAlignEx() : SkinTypeBase_t(AlignEx{}) {}
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
};

// Texts compared case-sensitively, no text counting as the empty text.
bool SameSkinText(const wchar_t* a, const wchar_t* b);

// Splits text in place at the separator: up to max pieces, the last one taking the rest
// of the text (separators included). Returns the number of pieces (at least 1).
int SplitSkinText(wchar_t* text, wchar_t separator, wchar_t** pieces, int max);
