// The open skin's Skin.ini: one process-wide INI document shared by the skin document
// and every model part, and the small parsed form in which the parts read its values.
#pragma once

#include "foundation/config/ini_document.h"
#include "foundation/core/str.h"

#include <cstddef>
#include <vector>

// 0..15 for a hexadecimal digit, else -1.
int HexDigitValue(wchar_t c);

namespace n_skinValue {
// The "0x" form: prefix plus one to eight hexadecimal digits (length 3 to 10). False,
// out unchanged, for any other length or a character that is no hexadecimal digit.
bool ParseHex(const wchar_t* text, size_t length, int& out);
// Decimal text as the C library reads it (leading white space, one sign, digits up to
// the first other character, 0 without digits), held to the 32-bit range.
int ParseDecimal(const wchar_t* text);
}  // namespace n_skinValue

// Base of the model's objects that own texts and cells: copies are made on purpose
// (Clone, CopyTo), never by accident.
class t_noCopy {
public:
    t_noCopy(const t_noCopy&) = delete;
    t_noCopy& operator=(const t_noCopy&) = delete;

protected:
    t_noCopy() = default;
    ~t_noCopy() = default;
};

// A parsed value: one value, or a comma-separated list of them.
enum class t_valueKind : int {
    e_single = 0,
    e_list = 1,
};

// One value of Skin.ini. Text() has every blank removed (numbers and lists are read
// from it); RawText() keeps inner blanks so that file names and free texts such as
// "my pic.bmp" survive a load and save unchanged.
class Value : private t_noCopy {
public:
    Value() = default;
    // raw: the value as it stands; blanks are removed for Text() only.
    explicit Value(const wchar_t* raw);
    virtual ~Value();
    virtual t_valueKind Kind() const { return t_valueKind::e_single; }

    // A Value, or a ValueArray when the text holds a comma. Never null.
    static Value* Parse(const wchar_t* text);

    // 0 with the number in out; -1 (out unchanged) for an empty text or a malformed
    // "0x" text. Other texts convert as decimal: sign, leading digits, 0 without digits.
    int ToInt(int& out) const;
    // The "0x" form: one to eight hexadecimal digits after the prefix.
    int ParseHex(int& out) const;

    const t_str& Text() const { return m_text; }
    const t_str& RawText() const { return m_raw; }

protected:
    t_str m_text;
    t_str m_raw;
};

// A comma-separated value: Text() is the whole text, the items are the list positions
// in order (an empty position gives an empty item).
class ValueArray : public Value {
public:
    explicit ValueArray(const wchar_t* raw) : Value(raw) {}
    ~ValueArray() override;
    t_valueKind Kind() const override { return t_valueKind::e_list; }

    int Count() const { return static_cast<int>(m_items.size()); }
    // Item i, null when i is not below the count.
    const Value* At(int i) const;
    // Takes ownership.
    void Add(Value* item);

private:
    std::vector<Value*> m_items;
};

// The shared Skin.ini document, a named process-wide singleton ("SkinIni"). Files
// without a byte-order mark are read in code page 936; the document is written as
// UTF-16LE with byte-order mark.
class SkinIni {
public:
    static const unsigned c_codePage = 936;
    // Values are copied into a buffer of this many characters (terminator included)
    // before parsing; longer values are cut.
    static const int c_valueChars = 1024;

    SkinIni() : m_document(false) {}

    // The document, created empty on first use; null only when the singleton arena
    // cannot supply the holder.
    static t_iniDocument* Instance();

    // The parsed value of the key, owned by the caller (delete through Value*); null
    // when the section or key is missing.
    static Value* GetValue(const wchar_t* section, const wchar_t* key);
    // The stored text of the key as it stands, null when missing.
    static const wchar_t* GetText(const wchar_t* section, const wchar_t* key);
    // An existing key gets the new value; a new key goes to the end of its section,
    // a new section to the end of the document.
    static bool SetString(const wchar_t* section, const wchar_t* key, const wchar_t* text);
    // The number as "%d".
    static bool SetInt(const wchar_t* section, const wchar_t* key, int number);

private:
    t_iniDocument m_document;
};
