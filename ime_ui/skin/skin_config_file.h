// The parsed form of a skin's Skin.ini as the input method reads it: a typed value for
// every key the format knows, grouped by section and window, with the defaults of what
// is missing. Filled from a file (ParseConfig) or from INI bytes in memory (ParseDefault);
// every text value points into the INI document held here, so values live until the
// next parse or Reset.
#pragma once

#include "foundation/config/ini_document.h"
#include "ime_ui/skin/skin_section.h"

#include <cstddef>

class SkinConfigFile {
public:
    // The value kinds and parts under the reader's own name.
    typedef ::SkinTypeBase SkinTypeBase;
    typedef ::SkinBool SkinBool;
    typedef ::SkinInt SkinInt;
    typedef ::SkinColor SkinColor;
    typedef ::SkinStr SkinStr;
    typedef ::SkinPos SkinPos;
    typedef ::SkinToLeftRight SkinToLeftRight;
    typedef ::SkinSplit SkinSplit;
    typedef ::SkinSeperator SkinSeperator;
    typedef ::SkinAlign SkinAlign;
    typedef ::SkinAlignEx SkinAlignEx;
    typedef ::SkinImage SkinImage;
    typedef ::SkinBtnUi SkinBtnUi;
    typedef ::SkinBtn SkinBtn;
    typedef ::SkinBtnComponent SkinBtnComponent;
    typedef ::SkinFlash SkinFlash;
    typedef ::SkinArrayBase SkinArrayBase;

    static const unsigned c_codePage = 936;

    SkinConfigFile();
    SkinConfigFile(const SkinConfigFile&) = delete;
    SkinConfigFile& operator=(const SkinConfigFile&) = delete;

    // Reset, then reads the file (a byte-order mark decides, else code page 936) and
    // every section of it. False when the file can't be read, or when any section was
    // not fully read; a failing section never keeps the others from being read.
    bool ParseConfig(const wchar_t* path);
    // The same from INI bytes in memory.
    bool ParseDefault(const void* bytes, size_t size);
    // Every value to its default, the arrays emptied, the separator modes none, and the
    // INI document emptied, which ends the life of every text value.
    void Reset();

    // Hands a section to its reader by name (case-insensitive); false for a section of
    // any other name.
    bool ParseSkinSection(const t_iniSection* section, const wchar_t* name);
    bool ParseGeneralSection(const t_iniSection* section);
    bool ParseDisplaySection(const t_iniSection* section);
    bool ParseCombinedScheme(const t_iniSection* section, SkinSchemeCombined& scheme);
    bool ParseSeparateScheme(const t_iniSection* section, SkinSchemeSeparate& scheme);
    bool ParseStatusBarSection(const t_iniSection* section);

    // Tells every value with its section and composed key, array items included.
    void Walk(i_skinValueVisitor& visitor) const;

    // [General]
    SkinStr skin_id;
    SkinInt widget_cnt;
    SkinDisplay display;
    SkinSchemeCombined schemeH1;
    SkinSchemeCombined schemeV1;
    SkinSchemeSeparate schemeH2;
    SkinSchemeSeparate schemeV2;
    SkinStatusBarPart statusBar;

private:
    // Reads every section of the parsed document, in file order.
    bool ParseSections();

    t_iniDocument m_document;
};
