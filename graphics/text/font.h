// The font record of the skinned UI: a GDI font, or a FreeType font made from the same font
// file when smooth text is wanted and the family suits it. Text drawing and measuring pick
// their path from the record's kind.
#pragma once

#include <windows.h>

#include <cstdint>

struct t_ftFont;

enum class t_fontKind : uint32_t {
    gdi = 0,
    freeType = 1
};

// Full font names (name ID 4) read from a font's name table.
struct t_trueTypeNames {
    static const int c_capacity = 260;
    static const int c_english = 0;
    static const int c_simplified = 1;
    static const int c_traditional = 2;
    static const int c_count = 3;

    wchar_t names[c_count][c_capacity];
};

struct t_font {
    t_fontKind kind;
    // The GDI font, kept also for FreeType records; null when GDI refused the LOGFONT but a
    // FreeType font was made.
    HFONT hfont;
    // The FreeType font behind a record of kind freeType, else null.
    t_ftFont* ftFont;
    // The text drawing takes its alpha-corrected path for such fonts.
    uint8_t needsAlphaFix;

    // Allocates a record and fills it (CreateIndirect); on failure `out` is null.
    static bool Create(LOGFONTW& logFont, t_font*& out, bool smoothing);
    // Fills a record from a LOGFONT whose quality field is changed in place: FreeType for
    // "汉仪" faces, for "QQ.exe" on Windows 8 or later and when smoothing is asked, unless the
    // family is one that stays GDI. False only when GDI refused the font and no FreeType
    // font was wanted.
    static bool CreateIndirect(LOGFONTW& logFont, t_font* font, bool smoothing);
    // Deletes the HFONT, releases the FreeType font or drops the HFONT's width-cache entry,
    // and frees the record. Null is accepted.
    static void Release(t_font* font);
    // As Release without freeing the record (records held by value).
    static void Destroy(t_font* font);

    bool IsFreeType() const { return kind == t_fontKind::freeType && ftFont != nullptr; }
};

// Reads the English, Simplified and Traditional Chinese full names of the font. Without a
// font all three become the face name. May rewrite the LOGFONT face name with the
// Traditional name when only that exists (see the definition).
void GetTrueTypeNames(HFONT font, wchar_t (&faceName)[LF_FACESIZE], t_trueTypeNames& names);
// SimSun and NSimSun up to 18 pixels high, MingLiU and PMingLiU at every height: their
// bitmap strikes look better through GDI.
bool IsGdiOnlyFamily(const wchar_t* englishName, LONG logFontHeight);
// True only for the face "宋体-PUA".
bool NeedsAlphaFix(const wchar_t* face);
