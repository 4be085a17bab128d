// The paint context over a device context, and the thread's scratch DIBs painting borrows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/mem_dc.h"

struct t_font;

// A 32-bit bottom-up DIB the calling thread keeps for short-lived drawing, at least
// width x height (it grows, never shrinks, up to 4M pixels). Its content is whatever the
// last user left. Null for an empty or too large size or a failure; the caller then makes
// its own DIB. DC row y starts at Pixels() + (height - 1 - y) * width of the holder.
t_memDC* ScratchDib(HDC reference, int width, int height);

// A width x height 32-bit DIB borrowed from the thread's pool for one scope, zeroed like a
// new DIB section, in the state a new memory DC has. Painting makes many short-lived DIBs
// of the same few sizes, and making and freeing a DIB section costs more than using it, so
// the pool keeps a few. With every pooled DIB of that size in use it makes its own.
class t_scratchDib {
public:
    t_scratchDib(HDC reference, int width, int height);
    ~t_scratchDib();
    t_scratchDib(const t_scratchDib&) = delete;
    t_scratchDib& operator=(const t_scratchDib&) = delete;
    explicit operator bool() const { return m_dib != nullptr; }
    t_memDC* operator->() { return m_dib; }
    t_memDC& operator*() { return *m_dib; }
    t_memDC* get() { return m_dib; }

private:
    t_memDC* m_dib;
    int m_entry;
    int m_savedState;
    t_memDC m_own;
};

// One paint over an HDC: whether the target's alpha must stay correct, the target's
// memory-DC holder when its pixels can be reached directly, and what the context made.
class t_paintCtx {
public:
    t_paintCtx(HDC dc, bool alphaTarget, t_memDC* target, bool themedText);
    ~t_paintCtx() = default;
    t_paintCtx(const t_paintCtx&) = delete;
    t_paintCtx& operator=(const t_paintCtx&) = delete;

    // Restores the clip region, deletes what the context made and, when it owns its memory
    // DC, selects the old bitmap back and deletes the DC (DeleteDC's result).
    BOOL End();

    HDC Dc() const { return m_dc; }
    bool IsAlphaTarget() const { return m_alphaTarget != 0; }
    bool IsThemedText() const { return m_themedText != 0; }
    t_memDC* Target() const { return m_target; }

    // A GDI object deleted at End (one; a second replaces and deletes the first).
    void SetCreatedObject(HGDIOBJ object);
    // Saves the DC's current clip region for End to restore (once per context).
    void SaveClip();
    // The context owns its DC: End selects previous back and deletes the DC.
    void OwnDc(HGDIOBJ previous) { m_previous = previous; }

    // Solid fill with an ARGB colour (graphics/paint/solid_draw.cpp): a brush on ordinary
    // targets; on alpha targets the colour's alpha (255 below 0x1000000) is blended in.
    bool FillRect(int x, int y, int width, int height, uint32_t argb);

    // Text in a font record (graphics/text/paint_text.cpp): glowing on themed alpha targets,
    // alpha-correct GDI text or FreeType text on alpha targets, plain GDI text on ordinary
    // ones at full alpha. A background colour is filled over the rect first. False without
    // font, colour or rect; a negative length means up to the NUL.
    bool DrawText(const wchar_t* text, int length, const RECT* rect, const t_font* font, const uint32_t* color,
                  const uint32_t* background, UINT format, int alpha);
    // Size of the text as the drawing path of the font lays it out.
    bool MeasureText(const wchar_t* text, int length, const t_font* font, SIZE* size, UINT format, int widthLimit);

private:
    uint8_t m_alphaTarget;
    uint8_t m_themedText;
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
    HGDIOBJ m_created = nullptr;
    HRGN m_savedClip = nullptr;
    bool m_clipSaved = false;
    t_memDC* m_target;
};
