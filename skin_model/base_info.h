// The base of the fourteen model parts of Skin.ini, the typed value cells that the
// status bar and the button sets keep their values in, and the shared helpers with
// which the parts read and write the shared Skin.ini document.
#pragma once

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"
#include "skin_model/skin_ini.h"

#include <windows.h>

// The kind of a value cell, also the kind of a button property's cells.
enum class t_cellKind : int {
    e_none = -1,  // no cell (a property out of range)
    e_int = 0,
    e_text = 1,
};

// One value of one INI key at one position of its comma-separated list.
class InfoItem : private t_noCopy {
public:
    InfoItem(const wchar_t* name, int position);

    // Copies value, default, name and position into a target of the same kind;
    // false (target unchanged) for another kind.
    virtual bool CopyTo(InfoItem& target) const = 0;
    virtual InfoItem* Clone() const = 0;
    virtual ~InfoItem();
    virtual t_cellKind Kind() const = 0;
    // Takes the parsed value; the base does nothing and returns 0.
    virtual int ReadFrom(const Value& value);
    // Writes name = value into the section of the shared Skin.ini; the base does nothing.
    virtual int WriteTo(const wchar_t* section) const;
    // Value := default; the base does nothing.
    virtual void Reset();

    const t_str& GetName() const { return m_name; }
    void SetName(const wchar_t* name) { m_name.Assign(name); }
    int Position() const { return m_position; }

protected:
    // Copies every field of from into target when target is of from's kind.
    template <class Cell>
    static bool CopyCell(const Cell& from, InfoItem& target);

    t_str m_name;
    int m_position;
};

class InfoItemInt : public InfoItem {
public:
    InfoItemInt(const wchar_t* name, int position, int value, int defaultValue);

    bool CopyTo(InfoItem& target) const override;
    InfoItem* Clone() const override;
    t_cellKind Kind() const override { return t_cellKind::e_int; }
    // An empty value leaves the cell unchanged; "0x" texts are hexadecimal. Returns the
    // conversion's status (0 or -1).
    int ReadFrom(const Value& value) override;
    int WriteTo(const wchar_t* section) const override;
    void Reset() override { m_value = m_default; }

    int GetValue() const { return m_value; }
    void SetValue(int value) { m_value = value; }
    // Clears out and appends the value as "%d".
    void ToText(t_str& out) const;

private:
    friend class InfoItem;
    int m_value;
    int m_default;
};

class InfoItemString : public InfoItem {
public:
    InfoItemString(const wchar_t* name, int position, const wchar_t* value, const wchar_t* defaultValue);

    bool CopyTo(InfoItem& target) const override;
    InfoItem* Clone() const override;
    t_cellKind Kind() const override { return t_cellKind::e_text; }
    // Takes the value's text with its inner blanks kept (file names may hold blanks).
    int ReadFrom(const Value& value) override;
    int WriteTo(const wchar_t* section) const override;
    void Reset() override { m_value = m_default; }

    void GetText(t_str& out) const { out = m_value; }
    const t_str& Text() const { return m_value; }
    void SetText(const wchar_t* text) { m_value.Assign(text); }

private:
    friend class InfoItem;
    t_str m_value;
    t_str m_default;
};

InfoItem* NewIntCell(const wchar_t* name, int position, int value, int defaultValue);
InfoItem* NewStringCell(const wchar_t* name, int position, const wchar_t* value, const wchar_t* defaultValue);
// An int cell 0/0 or a text cell with empty value and default; null for e_none.
InfoItem* NewCell(t_cellKind kind, const wchar_t* name, int position);

// Typed access to a cell looked up by key: false, changing nothing, for a null cell or
// a cell of the other kind.
bool GetCellInt(const InfoItem* cell, int& out);
bool SetCellInt(InfoItem* cell, int value);
bool GetCellText(const InfoItem* cell, t_str& out);
bool SetCellText(InfoItem* cell, const wchar_t* text);
// Appends the cell's value as Skin.ini holds it: "%d" or the text.
void AppendCellValue(t_str& out, const InfoItem& cell);

// The fourteen model parts by index: the order in which the skin document keeps, saves
// and names them, and the numbers that pages, panels and preview pass in their messages.
enum class t_partIndex : int {
    e_general = 0,
    e_display = 1,
    e_horizontalCombined = 2,
    e_horizontalSeparate = 3,
    e_verticalCombined = 4,
    e_verticalSeparate = 5,
    e_statusBar = 6,
    // The button set of window w (0..6, see button_set.h) is e_firstButtonSet + w.
    e_firstButtonSet = 7,
    e_lastButtonSet = 13,
};
const int c_partCount = 14;

// The part of button-set window 0..6.
inline t_partIndex ButtonSetPartOf(int window)
{
    return static_cast<t_partIndex>(static_cast<int>(t_partIndex::e_firstButtonSet) + window);
}
inline bool IsButtonSetPart(t_partIndex index)
{
    return index >= t_partIndex::e_firstButtonSet && index <= t_partIndex::e_lastButtonSet;
}

// Base of every model part. Every part reads and writes the one shared Skin.ini
// document, whatever its INI path.
class BaseInfo {
public:
    static const int c_pathChars = MAX_PATH;
    static const int c_longTextChars = 1025;

    BaseInfo();
    virtual ~BaseInfo();

    // New skin: Reset.
    virtual bool ResetAll();
    // Skin closed: Reset (parts that keep their values across a close override it).
    virtual bool Clear();
    virtual bool Load() = 0;
    virtual bool Save() = 0;
    virtual bool Reset() = 0;
    // Copies pictures chosen from outside the skin into the work folder.
    virtual bool ImportPictures();
    virtual t_partIndex PartIndex() const = 0;
    virtual void SetIniPath(const wchar_t* path);
    virtual bool UsesPngOrGif() const = 0;

    const wchar_t* IniPath() const { return m_iniPath; }
    // The last problem of the part, empty when there is none.
    t_str& Message() { return m_message; }
    const t_str& Message() const { return m_message; }

    // Reading: a missing section or key gives the default; longer texts are cut.
    static void ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                           wchar_t (&out)[c_pathChars]);
    static void ReadLongString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                               wchar_t (&out)[c_longTextChars]);
    // An empty or missing value gives the default, any other goes through ParseInt.
    static int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue);
    static bool ReadBool(const wchar_t* section, const wchar_t* key, bool defaultValue);
    // The text when it names an image file, else the empty text.
    static void ReadPicture(const wchar_t* section, const wchar_t* key, wchar_t (&out)[c_pathChars]);

    static bool WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* text);
    // "0x%x" when hex, else "%d".
    static bool WriteInt(const wchar_t* section, const wchar_t* key, int value, bool hex);
    static bool WriteBool(const wchar_t* section, const wchar_t* key, bool value);

    // "0x" texts: up to eight hexadecimal digits, -1 when malformed; others decimal
    // (leading blanks, one sign, digits up to the first other character, 0 without any).
    static int ParseInt(const wchar_t* text);
    // Converts the comma-separated pieces into out[0..n-1]; elements beyond the pieces
    // are left as they are.
    static void ParseIntList(const wchar_t* text, int* out, int n);
    static bool IsImageFileName(const wchar_t* text);
    static bool IsPngOrGif(const wchar_t* fileName);
    // The characters after the last backslash; false when the path has at most four
    // characters or no backslash.
    static bool FileNameOf(const wchar_t* path, wchar_t (&out)[c_pathChars]);
    // Brings a picture chosen anywhere on disk into the work folder as baseName plus its
    // own extension and puts that short name into the buffer. A bare file name (already
    // in the skin) is left as it is. False, with a line in errors and the buffer
    // unchanged, when the picture cannot be copied.
    static bool ImportPicture(t_errorChain& errors, wchar_t* path, int capacity, const wchar_t* baseName);

    // The folder the open skin is unpacked into; pictures are imported into it.
    // Set by the skin document.
    static void SetWorkFolder(const wchar_t* folder);
    static const wchar_t* WorkFolder();

    BaseInfo(const BaseInfo&) = delete;
    BaseInfo& operator=(const BaseInfo&) = delete;

protected:
    wchar_t m_iniPath[c_pathChars];
    t_str m_message;
};

// Opacity: the file holds an alpha value 0..255, the pages a percent.
unsigned AlphaToPercent(unsigned alpha);
unsigned PercentToAlpha(unsigned percent);
// The part's name for messages; the empty text out of range.
const wchar_t* PartNameOf(t_partIndex index);
