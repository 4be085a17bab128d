// The element that owns a real top-level window: it turns the window's messages into
// element calls for its tree (client mouse points become screen points), paints the tree
// into a layered window through a 32-bit DIB or through a double-buffered WM_PAINT, makes
// hover, leave and double-click events itself, lets the user drag the window by any spot
// no child claims, keeps the window inside the work area, shapes classic windows with a
// region and creates its tooltip, popup menu and rotate window on demand.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "graphics/image/mem_dc.h"
#include "toolkit/controls/toolkit_messages.h"
#include "toolkit/controls/wnd_base.h"

class t_paintCtx;
class t_wndHint;
class t_wndMenu;
class t_wndRotate;
class t_layout;
class t_layoutGrid;
struct t_dragTracker;
struct t_image;
struct t_imageSet9;
struct t_shakeDetector;

// Timer of the hover poll, set on the drawing window while the mouse is inside.
const UINT_PTR c_hoverTimerId = 100;
const UINT c_hoverPollMs = 100;

class t_wndTop : public t_wndBase {
public:
    enum t_dragState : int {
        e_dragNone = 0,
        e_dragStarted = 1,  // the cursor has not moved since the drag began
        e_dragMoving = 2,   // the window follows the cursor
    };

    t_wndTop();
    // Destroy, then the element's own destructor.
    ~t_wndTop() override;

    // Element operations the top overrides.
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnMouseHover(UINT keys, int x, int y) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    void Paint_Layout(t_paintCtx& context) override;
    bool OnTimer(UINT_PTR id) override;
    // Makes the window: ownerHwnd arrives in the id argument. False when the top already
    // has a window or the window cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    // Runs Move.
    void SetBounds(int x, int y, int width, int height, bool repaint) override;
    int Measure(HDC dc) override;
    void Relayout(t_paintCtx* context) override;
    // Visible and inside the rectangle; mode is not used.
    bool HitTest(int x, int y, int mode) override;
    // Any invalidation repaints the whole window.
    void Invalidate(const RECT* rect) override;
    void InvalidateAll() override;
    void CloseMenu(int flag) override;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // Operations of the top.
    virtual LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual bool OnSetCursor(HWND hwnd, int hitCode, int mouseMsg);
    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool Show(bool show);
    // A shake while dragging; param points at {drawing window, dragOffsetX, dragOffsetY}.
    virtual void OnShake(void* param);
    virtual void OnPrivateMessage(LPARAM lParam);
    virtual void SetActiveFlag(bool flag);
    // Keeps the window inside the work area (unless in owner mode), sizes, moves and repaints.
    virtual void Move(int x, int y, int width, int height, bool repaint);

    // Owner window in owner mode, else the own window.
    HWND GetHwnd() const;
    // Repaints the whole window: a layered update or RedrawWindow.
    void UpdateLayer();
    // Renders the tree into a new 32-bit DIB of width x height in holder (made compatible
    // with hdc), keyed and with alpha as the window shows it; holder.blend gets the
    // window's blend function. False when the DIB cannot be made.
    bool RenderToDib(HDC hdc, t_memDC& holder, int width, int height);
    // Lays the tree out measuring with a DC of the drawing window (the screen's without one).
    void RelayoutOnWindowDc();
    // Renders into the top's kept DIB (remade only when the size changes); null on failure.
    t_memDC* RenderCached(HDC hdc, int width, int height);
    // Renders the window and alpha-blends it onto hdc at (x, y); a negative width or height
    // takes the top's own size. False when nothing could be rendered.
    bool PaintToDC(HDC hdc, int x, int y, int width, int height);
    void SetLayered(bool flag);
    void UpdateRegion(HDC dc);
    // Applies region as the window region (the window owns it) and keeps it.
    void SetRegion(HRGN newRegion);
    void BeginDrag(int dx, int dy);
    void EndDragMove();
    void PollHover();
    // Created on first use; null when it cannot be made.
    t_wndHint* GetHint();
    // The popup menu, created on first use (owned by this top); null when it cannot be made.
    t_wndMenu* GetMenu();
    t_wndRotate* GetRotate();
    void StopRotate();
    t_shakeDetector* GetShakeDetector();
    t_dragTracker* GetDragTracker();
    void ComputeContentBounds();
    // The root of the window's layout tree, owned by the top; layout names it. The old root
    // is deleted first, so its nodes tell their elements before the new tree is in place.
    void SetLayout(std::unique_ptr<t_layout> root);
    // The hide half of Show.
    virtual void Hide();
    // Index of the first child (in creation order) whose hit test takes the point; -1 when none.
    int ChildIndexAt(int x, int y);

    // Window backgrounds.
    // Nine pictures in a 3 x 3 grid (corners at their size, the middle tracks stretched)
    // over a mask grid of the same parts of maskSource; falls back to a frame and answers
    // false when the first picture is missing.
    bool SetNineImageBackground(const t_image& maskSource, const t_imageSet9& nineImages, bool noMiddleSize);
    // Fills grid with the nine records, one picture node per cell, and sizes its tracks.
    static void BuildNineImageGrid(t_layoutGrid& grid, const t_imageSet9& nineImages, bool noMiddleSize);
    // One picture layer and one mask layer (its first key set to black); false without a layout.
    bool SetImageLayers(const t_image& image, t_image& maskImage);
    // A bordered fill as the background (no minimum size).
    void SetPlainFrame(COLORREF frameColor, COLORREF backColor);
    // The framed gradient of frameExParams as the background.
    void SetFrameEx();

    // The classic WM_PAINT: the tree into a memory bitmap, then one BitBlt.
    void PaintClassic(HWND hwnd);
    // The process-wide dragged window (null when no top is dragged).
    static HWND DraggedWindow();

    bool mouseOff;
    HWND hwnd;
    HWND ownerHwnd;
    bool dragging;
    bool dragEnabled;
    t_dragState dragState;
    int dragOffsetX, dragOffsetY;
    int dragCursorX, dragCursorY;
    bool clampedRight;
    bool activeFlag;
    bool shown;
    HCURSOR restoreCursor;
    uint32_t hoverStartTick;
    int lastPollX, lastPollY;
    COLORREF colorKey;  // CLR_INVALID: none
    int alpha;
    bool ownerMode;
    bool layered;
    COLORREF backColor;
    COLORREF frameColor;
    int regionWidth, regionHeight;
    bool captured;
    bool hotFlag;
    RECT laidOutRect;
    RECT shownRect;
    bool keepOnScreen;
    uint32_t lastDownTick;
    int lastDownX, lastDownY;
    // Made on first use; each dies with the top (Destroy ends them in this order).
    std::unique_ptr<t_wndHint> hint;
    std::unique_ptr<t_wndMenu> menu;
    bool destroyed;
    int movedCursorX, movedCursorY;
    int lastSetCursorX, lastSetCursorY, lastHitCode, lastMouseMsg;
    HRGN region;
    t_wndBase* hotElement;
    bool rotateActive;
    std::unique_ptr<t_wndRotate> rotate;
    bool regionEnabled;
    bool blurBehind;
    bool useMaskRegion;
    std::unique_ptr<t_shakeDetector> shakeDetector;
    std::unique_ptr<t_dragTracker> dragTracker;
    bool inUpAfterDrag;
    int blurWidth, blurHeight;
    bool blurDirty;
    bool themedText;
    bool useFrameEx;
    int frameExParams[5];
    bool savedDragEnabled;
    // Set by an element while it holds the button (a page-turn arrow): no drag starts.
    bool noDrag;
    int doubleClickTime;
    HCURSOR cursor;
    RECT contentBounds;
    bool useContentBounds;
    bool contentDirty;
    // The DIB the last render of this size went into, reused by the next one.
    t_memDC renderCache;

protected:
    // Makes the window of a toolkit class (registered here on first use); false when the
    // top already has a window or the window cannot be made.
    bool CreateWindowOfClass(const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                             int height, INT_PTR owner, HINSTANCE instance, t_wndBase* parent, DWORD exStyle = 0);

private:
    // Starts the hover timer on the drawing window; nothing without a window.
    void StartHoverTimer();
    void StopHoverTimer();
    void ReleaseCaptureHeld();
    // The top's origin: the layout rectangle's or the rect's top-left.
    POINT Origin() const;
    // The layout, made (bound to the top) when there is none; null when it cannot be made.
    t_layout* EnsureLayout();

    // The tree that layout roots.
    std::unique_ptr<t_layout> m_root;
    // Paints the tree into holder, already width x height and cleared, keyed as the window shows it.
    void RenderInto(t_memDC& holder, int width, int height);
};
