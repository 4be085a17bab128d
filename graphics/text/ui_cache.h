// The text-width cache: per GDI font, the advance widths of the printable ASCII characters,
// one width for every CJK ideograph and the line height, so that single-line measuring of
// ASCII and CJK text makes no GDI call once the font's entry exists.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/hash_map.h"

// Whether c is a CJK radical, ideograph or compatibility ideograph (measured alike).
bool IsCjkChar(wchar_t c);

// Widths of one font.
struct t_widthEntry {
    static const int c_first = 32;
    static const int c_count = 96;  // characters 32 to 127
    static const wchar_t c_cjkSample = 0x56FD;

    int16_t widths[c_count];
    int16_t cjkWidth;  // the width of U+56FD, used for every CJK ideograph
    uint8_t spare[2];
    int32_t height;  // tmHeight
};

// Process-wide; made on first use, deleted at shutdown (Delete). Not locked: text is
// measured on the UI thread only.
class t_uiCache {
public:
    t_uiCache();
    ~t_uiCache();
    t_uiCache(const t_uiCache&) = delete;
    t_uiCache& operator=(const t_uiCache&) = delete;

    static t_uiCache* Instance();
    // Empties and frees the process's cache; a later Instance makes a new one.
    static void Delete();
    // Drops the font's entry (a released font's handle may be reused by a new font).
    // Nothing when the cache was never made, so a release at shutdown does not revive it.
    static void RemoveFont(HFONT font);

    // Makes the font's entry unless it exists. Extent mode takes the widths from the
    // partial extents of GetTextExtentExPointW, otherwise from the ABC widths. False for
    // a null font or when the entry cannot be made.
    bool AddFont(HDC dc, HFONT font, bool extentMode);
    // Single-line size of the text (a negative length: up to the NUL; 0 leaves `size` as
    // it was). Printable ASCII and CJK text is summed from the entry; any other character
    // measures the whole run with GetTextExtentPoint32W.
    bool Measure(HDC dc, HFONT font, const wchar_t* text, int length, SIZE& size, bool extentMode);

    const t_widthEntry* Find(HFONT font) const;
    unsigned Count() const { return m_map.Count(); }

private:
    void Clear();

    t_uintHashMap m_map;
};
