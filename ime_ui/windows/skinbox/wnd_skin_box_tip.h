// A tip bubble of the status bar's popups: lines of text on a nine-part background with an
// arrow that points at a target rectangle. The first time it shows it slides in; it can
// hide itself after a while and tells its notify window when it was clicked or timed out.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image.h"
#include "graphics/paint/nine_images.h"
#include "toolkit/controls/wnd_top.h"

class t_layoutAligned;
class t_wndTextArray;
struct t_font;

class t_wndSkinBoxTip : public t_wndTop {
public:
    // Timers on the tip's own window.
    static constexpr UINT_PTR c_hideTimerId = 1011;
    static constexpr UINT_PTR c_slideTimerId = 1012;
    static constexpr UINT c_slideStepMs = 10;
    static constexpr int c_slideDurationMs = 500;
    static constexpr UINT c_autoHideMs = 20000;
    // How far from the target the first show starts: sideways with fit flag 1, else up or down.
    static constexpr int c_slideSideways = 100;
    static constexpr int c_slideVertical = 50;
    // Text colours (COLORREF) and the room around the text inside the bubble.
    static constexpr COLORREF c_textColor = 0x745E28;
    static constexpr COLORREF c_backColor = 0xFFFFFF;
    static constexpr int c_marginX = 10;
    static constexpr int c_marginY = 8;
    static constexpr int c_lineGap = 7;
    // The arrow stays this far (plus the margin) from either end of the bubble's edge.
    static constexpr int c_arrowEndGap = 5;

    // The pictures, in load order.
    enum t_picture : int {
        e_background = 0,
        e_arrowDown = 1,
        e_arrowUp = 2,
        e_arrowLeft = 3,
        e_arrowRight = 4,
        e_pictureCount = 5,
    };
    static const wchar_t* const c_pictureNames[e_pictureCount];

    // Placement flags of ComputeTipRect (as t_delayShowRequest's).
    enum : unsigned {
        e_centreOnX = 0x04,
        e_rightAtX = 0x08,
        e_centreOnY = 0x10,
        e_bottomAtY = 0x20,
    };

    t_wndSkinBoxTip();
    ~t_wndSkinBoxTip() override;

    // A layered, non-activating topmost tool window of the toolkit's class owned by
    // ownerHwnd; loads the pictures and the font and builds the (empty) text. False when
    // the window cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    // The slide step and the time-out; then the element's timers.
    bool OnTimer(UINT_PTR id) override;
    // A click anywhere hides the tip and tells the notify window (lParam 0).
    bool OnLButtonUp(UINT keys, int x, int y) override;
    // The bubble and its arrow, then the text.
    void Paint_Layout(t_paintCtx& context) override;

    // Where the pictures come from (null: the resource library); before Create.
    void SetResourceModule(HMODULE module) { resourceModule = module; }
    // Loads the five pictures and cuts the background; false when one is missing (the
    // others are kept).
    bool LoadTipImages();
    // One row of the text array per "\r\n"-separated line.
    void BuildTipText(const wchar_t* newText);
    void SetNotify(HWND window, UINT message)
    {
        notifyWindow = window;
        notifyMessage = message;
    }

    // The tip's screen rectangle for an anchor point and placement flags, kept in the work
    // area beside anchorRect (fitFlags of FitRectToWorkArea); chooses and places the arrow.
    RECT ComputeTipRect(POINT anchor, unsigned flags, unsigned fitFlags, const RECT& anchorRect);
    // Shows the tip there: sliding in the first time, else at once; autoHide hides it
    // c_autoHideMs later on the toolkit's clock.
    void ShowTip(const RECT& anchorRect, POINT anchor, unsigned flags, unsigned fitFlags, bool autoHide);
    void HideTip();
    // One step of the slide-in at the hooked clock.
    void SlideStep();
    bool IsShown() const { return shown; }

    t_str tipText;
    t_image pictures[e_pictureCount];
    t_imageSet9 background;
    t_wndTextArray* textArray;  // a child
    t_layoutAligned* outerLayout;
    t_font* font;  // owned
    bool clampToWorkArea;
    HMODULE resourceModule;
    HWND notifyWindow;
    UINT notifyMessage;
    bool firstShow;
    uint32_t startTick;
    uint32_t hideStartTick;  // when the time-out began
    bool animating;
    RECT targetRect;
    RECT startRect;
    // The arrow last chosen, its picture and its place in window coordinates.
    t_picture arrow;
    POINT arrowAt;

private:
    // The bubble's rectangle in window coordinates: the window less the arrow's band.
    RECT BubbleRect() const;
    // Measures the text with room for an arrow on the axis the fit flags choose.
    SIZE MeasureTip(bool arrowAbove);
    void PlaceArrow(const RECT& tipRect, const RECT& anchorRect, bool vertical);
    int ArrowBand(bool vertical) const;
    // Whether the arrow band is above/below (true) or left/right of the bubble.
    bool m_verticalArrow;
};
