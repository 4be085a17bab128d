// The page-turn item at the end of the candidate list: a left and a right arrow drawn in
// code in the skin's text colour, dimmed where the host cannot page, nudged under the mouse,
// paging on release and again every tick while the button is held.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "graphics/paint/paint_ctx.h"
#include "ime_ui/windows/cand/turn_page_look.h"
#include "ime_ui/windows/base/wnd_string_item.h"

class t_wndCandTurnPage : public t_wndStringItem {
public:
    static const UINT_PTR c_repeatTimerId = 1982;
    static const UINT c_repeatTickMs = 50;
    // Ticks of holding before the first repeat page (450 ms).
    static const int c_repeatDelayTicks = 8;
    static const int c_baseArrowWidth = 6;
    static const int c_baseArrowHeight = 11;
    // Alpha of an arrow whose direction cannot page.
    static const uint8_t c_dimAlpha = 79;
    // The arrow pixels (premultiplied opaque colour or 0), row 0 at the top.
    static std::vector<uint32_t> BuildArrow(bool next, int width, int height, uint32_t colorRef);
    // The gap between the arrows, shared by every page-turn item.
    static int ArrowGap();

    t_wndCandTurnPage();
    ~t_wndCandTurnPage() override;

    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseLeave() override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CandPage(context); }
    void Paint_CandPage(t_paintCtx& context);
    bool OnTimer(UINT_PTR timerId) override;
    int Measure(HDC dc) override;
    bool HitTest(int x, int y, int mode) override;
    void Rebuild() override;

    int ArrowWidth() const { return arrowWidth; }
    int ArrowHeight() const { return arrowHeight; }
    bool RepeatRunning() const { return repeatRunning; }

    struct t_arrowBitmap {
        t_memDC pixels;
        t_memDC glow;
        bool glowFlag;
        uint32_t color;
        bool built;
    };

    std::vector<uint32_t> prevPixels, nextPixels;
    bool cursorRestore;
    POINT pressPoint;
    int prevDx, prevDy, nextDx, nextDy;
    bool prevHovered, nextHovered;
    int repeatCounter;
    bool repeatRunning;
    double builtScale;
    t_arrowBitmap prevBitmap, nextBitmap;
    int arrowWidth, arrowHeight;

protected:
    // The runtime skin's colour, styles and scale; a missing skin gives no styles.
    virtual t_turnPageLook ReadSkin() const;

private:
    void StartRepeat();
    void StopRepeat();
    // Offsets from the hover flags and what the host can page.
    void UpdateOffsets();
    // Pages in the direction(s) whose box holds the point (relative to the item).
    void PageAt(POINT point);
    // The previous and next arrow boxes, relative to the item.
    RECT PrevBox() const;
    RECT NextBox() const;
    bool CanPageUp() const;
    bool CanPageDown() const;
    void SetNoDrag(bool on);
    // Refills and redraws one arrow when its colour, glow or scale changed.
    void BuildBitmap(bool next, uint32_t color, bool glow, HDC reference);
    void DrawArrow(t_paintCtx& context, const t_arrowBitmap& bitmap, int x, int y, uint8_t alpha) const;
};
