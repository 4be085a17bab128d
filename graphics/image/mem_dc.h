// The one 32-bit DIB section type: BGRA pixels, zeroed when made, rows bottom-up or
// top-down, optionally selected into a memory DC of its own. Every DIB section the
// program paints into or hands on as a picture is made here.
#pragma once

#include <windows.h>

#include <cstdint>

// Row order of a DIB section in memory.
enum class t_dibRows {
    bottomUp,
    topDown
};

// Owns a DIB section and, when made with one, the memory DC it is selected into; both go
// when the holder is released or destroyed. Painting reads the fields (and may set the
// blend); only Create, CreateBitmap, Release and Detach change the handles.
struct t_memDC {
    HDC dc;
    HBITMAP dib;
    HGDIOBJ previous;
    BLENDFUNCTION blend;  // {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}
    void* bits;
    int width, height;

    t_memDC() { Init(); }
    ~t_memDC() { Release(); }
    t_memDC(const t_memDC&) = delete;
    t_memDC& operator=(const t_memDC&) = delete;

    // Empties the holder without freeing anything: only for one whose handles went elsewhere.
    void Init();
    // A width x height DIB section in a new memory DC compatible with reference (or the
    // screen); what the holder had is released first. False for an empty size or a failure.
    static bool Create(t_memDC& holder, HDC reference, int width, int height, t_dibRows rows = t_dibRows::bottomUp);
    // As Create but without a DC: for pictures that are handed on or selected elsewhere.
    bool CreateBitmap(int width, int height, t_dibRows rows = t_dibRows::bottomUp);
    // Selects the old bitmap back, deletes DIB and DC and empties the holder; DeleteDC's result.
    BOOL Release();
    // As Release, but the DIB section goes to the caller.
    HBITMAP Detach();

    uint32_t* Pixels() const { return static_cast<uint32_t*>(bits); }
    // First pixel of row y in memory order (the bottom row first for a bottom-up DIB).
    uint32_t* Row(int y) const { return Pixels() + static_cast<size_t>(y) * width; }
};

// A new width x height 32-bit DIB section owned by the caller, with no DC; null for an
// empty size or a failure. `bits` gets its pixels.
HBITMAP CreateDib32(int width, int height, uint32_t** bits = nullptr, t_dibRows rows = t_dibRows::bottomUp);
