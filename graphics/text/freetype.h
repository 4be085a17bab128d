// Smooth text through FreeType: the process-wide library, the FreeType font behind a font
// record of kind freeType (a main face and fallback faces for the characters it lacks), and
// the measuring and drawing of text runs glyph by glyph.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/text/font_manager.h"

class t_paintCtx;
struct t_trueTypeNames;

struct t_ftLibrary {
    FT_Library library;
    t_freetype_fontmanager* manager;
};

// A face used for characters that the main face lacks; opened on first need.
struct t_ftFallback {
    wchar_t faceName[MAX_PATH];
    FT_Face face;
};

struct t_ftFont {
    t_ftLibrary* library;
    FT_Face face;
    int pixelSize;
    int fallbackCount;
    int nextFallback;  // fallbacks below this index were tried for opening
    int maxAdvance;    // over the opened faces, pixels
    int maxHeight;
    LOGFONTW logFont;
    t_ftFallback* fallbacks;  // fallbackCount entries, allocated with the record
};

// Width, line height and ascent of a text run, in pixels.
struct t_ftRunMetrics {
    int width;
    int height;
    int ascent;
};

// Puts a glyph bitmap, cut to the DIB, into the top rows of a bottom-up 32-bit DIB as
// premultiplied colour with coverage as alpha (-1 counts as black). The whole DIB is cleared
// first; false for an empty bitmap.
bool RenderGlyphToArgb(uint32_t* bits, int width, int height, const FT_Bitmap& bitmap, COLORREF color);

class t_freetype {
public:
    t_freetype();
    ~t_freetype();
    t_freetype(const t_freetype&) = delete;
    t_freetype& operator=(const t_freetype&) = delete;

    // The process-wide instance, started on creation.
    static t_freetype* Instance();
    // Whether the instance was made (so that clearing caches never starts FreeType).
    static bool Exists();
    // Deletes the instance (the program's shutdown); a later Instance makes a new one.
    static void Delete();

    // Once per process: the lock, the library and the font manager. Later calls answer true.
    bool Init();
    void Done();
    bool IsStarted() const { return m_library != nullptr; }
    t_freetype_fontmanager* FontManager() const { return m_library ? m_library->manager : nullptr; }

    // The FreeType font for a LOGFONT (its face found through the system font list, the
    // Windows fonts folder or the private folder), with the SimSun font links as fallbacks.
    // Null when FreeType is not started, the face cannot be opened or the links are missing.
    t_ftFont* CreateFont(const LOGFONTW& logFont, const t_trueTypeNames* names);
    void ReleaseFont(t_ftFont* font);

    // Draws a run in `color` (a COLORREF, -1 black) at the rect's corner given by the
    // format's alignment (DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM), blended with a
    // constant alpha. A negative length means up to the NUL.
    bool DrawText(t_paintCtx& context, const wchar_t* text, int length, const RECT& rect, t_ftFont* font,
                  COLORREF color, UINT format, int alpha);
    // Width of the run and the line height of the faces it uses.
    bool MeasureText(const wchar_t* text, int length, t_ftFont* font, SIZE& size);
    // The same with the run's ascent.
    bool MeasureRun(const wchar_t* text, int length, t_ftFont* font, t_ftRunMetrics& metrics);

private:
    t_ftLibrary* m_library;
    t_mutex* m_lock;
};
