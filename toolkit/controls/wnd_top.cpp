#include "toolkit/controls/wnd_top.h"

#include <windowsx.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "foundation/config/runtime.h"
#include "foundation/win/scoped_win.h"
#include "graphics/layout/layout.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/bitmap_region.h"
#include "graphics/paint/blur_behind.h"
#include "graphics/paint/color_key.h"
#include "graphics/image/image.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/work_area.h"
#include "graphics/text/theme.h"
#include "toolkit/controls/drag_tracker.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/shake_detector.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_hint.h"
#include "toolkit/controls/wnd_menu.h"
#include "toolkit/controls/wnd_rotate.h"

namespace {

// The window of the top being dragged; while set, every other top's hover poll pauses.
HWND g_draggedWindow = nullptr;

// Desktop composition, asked once per process and kept in the runtime record.
bool CompositionOn()
{
    t_runtime* runtime = GetRuntime();
    return runtime ? runtime->DwmComposition() : IsDwmCompositionEnabled();
}

void SetSystemCursor(LPCWSTR id) { SetCursor(LoadCursorW(nullptr, id)); }

}  // namespace

t_wndTop::t_wndTop()
    : mouseOff(false), hwnd(nullptr), ownerHwnd(nullptr), dragging(false), dragEnabled(true), dragState(e_dragNone),
      dragOffsetX(0), dragOffsetY(0), dragCursorX(0), dragCursorY(0), clampedRight(false), activeFlag(false),
      shown(false), restoreCursor(nullptr), hoverStartTick(0), lastPollX(0), lastPollY(0), colorKey(CLR_INVALID),
      alpha(255), ownerMode(false), layered(false), backColor(0xFFFFFF), frameColor(0xFFFF00), regionWidth(0),
      regionHeight(0), captured(false), hotFlag(false), laidOutRect{0, 0, 0, 0}, shownRect{0, 0, 0, 0},
      keepOnScreen(true), lastDownTick(0), lastDownX(0), lastDownY(0), destroyed(false),
      movedCursorX(0), movedCursorY(0), lastSetCursorX(-1), lastSetCursorY(-1), lastHitCode(-1), lastMouseMsg(-1),
      region(nullptr), hotElement(nullptr), rotateActive(false), regionEnabled(true),
      blurBehind(false), useMaskRegion(false), inUpAfterDrag(false),
      blurWidth(0), blurHeight(0), blurDirty(true), themedText(false), useFrameEx(false), frameExParams{0, 0, 0, 0, 0},
      savedDragEnabled(false), noDrag(false), doubleClickTime(200),
      cursor(LoadCursorW(nullptr, IDC_ARROW)), contentBounds{0, 0, 0, 0}, useContentBounds(false), contentDirty(false)
{}

t_wndTop::~t_wndTop() { Destroy(); }

POINT t_wndTop::Origin() const
{
    const RECT r = GetRect();
    return POINT{r.left, r.top};
}

HWND t_wndTop::GetHwnd() const { return ownerMode ? ownerHwnd : hwnd; }

HWND t_wndTop::DraggedWindow() { return g_draggedWindow; }

// ---- creation and destruction

bool t_wndTop::Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                      t_wndBase* parent)
{
    return CreateWindowOfClass(c_topClassName, L"", style, x, y, width, height, owner, instance, parent);
}

bool t_wndTop::CreateWindowOfClass(const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                                   int height, INT_PTR owner, HINSTANCE instance, t_wndBase* parent, DWORD exStyle)
{
    if (hwnd)
        return false;
    t_wndBase::Create(style, x, y, width, height, owner, instance, parent);
    RegisterToolkitClasses();
    HWND ownerWindow = reinterpret_cast<HWND>(owner);
    HWND made = CreateWindowExW(exStyle, className, title, style, x, y, width, height, ownerWindow, nullptr,
                                ToolkitInstanceOr(instance), nullptr);
    if (!made) {
        GetLastError();
        return false;
    }
    hwnd = made;
    ownerHwnd = ownerWindow;
    destroyed = false;
    SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTop(this);
    return true;
}

void t_wndTop::Destroy()
{
    if (destroyed)
        return;
    destroyed = true;
    shakeDetector.reset();
    dragTracker.reset();
    hint.reset();
    menu.reset();
    if (g_draggedWindow && g_draggedWindow == GetHwnd())
        g_draggedWindow = nullptr;
    if (hwnd) {
        HWND window = hwnd;
        // Forgotten first: the WM_DESTROY that DestroyWindow sends finds no object.
        hwnd = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        KillTimer(window, c_hoverTimerId);
        if (captured && GetCapture() == window)
            ReleaseCapture();
        DestroyWindow(window);
    }
    captured = false;
    region = nullptr;  // the window owned it
    t_wndBase::Destroy();
    SetLayout(nullptr);
    rotate.reset();
}

void t_wndTop::SetLayout(std::unique_ptr<t_layout> root)
{
    m_root = std::move(root);
    SetLayoutNode(m_root.get());
}

// ---- message dispatch

LRESULT t_wndTop::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const POINT origin = Origin();
    // Client points are signed 16-bit values; the top's origin makes them screen points.
    const int clientX = GET_X_LPARAM(lParam) + origin.x;
    const int clientY = GET_Y_LPARAM(lParam) + origin.y;
    switch (msg) {
    case WM_DESTROY:
        if (window == hwnd) {
            // The window is going away by itself: Destroy must not destroy it again.
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            KillTimer(window, c_hoverTimerId);
            hwnd = nullptr;
        }
        Destroy();
        return 0;
    case WM_MOVE:
        MoveTo(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_PAINT:
        PaintClassic(window);
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(window, static_cast<short>(LOWORD(lParam)), HIWORD(lParam)))
            return 1;
        return DefWindowProcW(window, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        return 1;
    case WM_NCCALCSIZE:
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), clientX, clientY);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), clientX, clientY);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), clientX, clientY);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), clientX, clientY);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), clientX, clientY);
        return 0;
    case WM_NCMOUSEHOVER:
    case WM_MOUSEHOVER:
        // Screen points packed in 16 bits each: sign-extended, so monitors left of or
        // above the primary one give negative coordinates.
        OnMouseHover(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case c_topPrivateMessage:
        OnPrivateMessage(lParam);
        return 0;
    default:
        break;
    }
    if (rotate && rotate->notifyMsg && msg == rotate->notifyMsg)
        rotateActive = false;
    bool handled = false;
    const LRESULT result = OnMessage(window, msg, wParam, lParam, handled);
    return handled ? result : DefWindowProcW(window, msg, wParam, lParam);
}

LRESULT t_wndTop::OnMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    return t_wndBase::OnMessage(window, msg, wParam, lParam, handled);
}

bool t_wndTop::OnSetCursor(HWND window, int hitCode, int mouseMsg)
{
    const POINT p = InputCursorPos();
    // The system repeats this message for a cursor that did not move; those repeats are
    // dropped. A button message is never a repeat: two presses at one spot (the release
    // in between arrives under capture, not here) are two presses.
    const bool button = mouseMsg != WM_MOUSEMOVE;
    if (!button && hitCode == lastHitCode && mouseMsg == lastMouseMsg && p.x == lastSetCursorX && p.y == lastSetCursorY)
        return true;
    lastHitCode = hitCode;
    lastMouseMsg = mouseMsg;
    lastSetCursorX = p.x;
    lastSetCursorY = p.y;
    // An enabled window gets the mouse message itself; passing it on here as well would run
    // every press twice. Only a disabled window learns of the mouse through this message.
    if (window && IsWindowEnabled(window))
        return false;
    switch (mouseMsg) {
    case WM_MOUSEMOVE:
        OnMouseMove(0, p.x, p.y);
        return true;
    case WM_LBUTTONDOWN:
        OnLButtonDown(MK_LBUTTON, p.x, p.y);
        return true;
    case WM_LBUTTONUP:
        OnLButtonUp(MK_LBUTTON, p.x, p.y);
        return true;
    case WM_RBUTTONDOWN:
        OnRButtonDown(MK_RBUTTON, p.x, p.y);
        return true;
    case WM_RBUTTONUP:
        OnRButtonUp(MK_RBUTTON, p.x, p.y);
        return true;
    default:
        return false;
    }
}

LRESULT t_wndTop::OnCommand(WPARAM, LPARAM) { return 0; }

void t_wndTop::OnShake(void*) { ShowHint(false); }

void t_wndTop::OnPrivateMessage(LPARAM) {}

void t_wndTop::SetActiveFlag(bool flag) { activeFlag = flag; }

// ---- mouse

int t_wndTop::ChildIndexAt(int x, int y)
{
    for (int i = 0; i < children.Count(); ++i) {
        t_wndBase* child = children[i];
        if (child && child->HitTest(x, y, 0))
            return i;
    }
    return -1;
}

void t_wndTop::OnMouseMove(UINT keys, int x, int y)
{
    if (mouseOff)
        return;
    const bool buttonDown = IsPrimaryButtonDown();
    if (dragEnabled && !noDrag && buttonDown && dragTracker && dragTracker->HasMoved(x, y) && !dragging)
        BeginDrag(x - dragTracker->pressX, y - dragTracker->pressY);
    hotElement = nullptr;
    if (x == movedCursorX && y == movedCursorY) {
        CloseMenu(1);
        return;
    }
    movedCursorX = -1;
    movedCursorY = -1;

    if (!dragging) {
        for (int i = 0; i < children.Count(); ++i) {
            if (children[i])
                children[i]->OnMouseMove(keys, x, y);
        }
        if (HitTest(x, y, 0)) {
            if (!hover) {
                hover = true;
                OnMouseEnter();
            }
            const int index = ChildIndexAt(x, y);
            if (index < 0) {
                SetCursor(cursor);
            } else if (children[index]->WantsHandCursor()) {
                SetSystemCursor(IDC_HAND);
            }
        } else if (hover && !buttonDown) {
            hover = false;
            OnLButtonUp(keys, x, y);
            OnMouseLeave();
        }
        return;
    }

    if (dragState != e_dragNone && !buttonDown) {
        OnLButtonUp(keys, x, y);
        return;
    }
    if (GetShakeDetector() && shakeDetector->Update(x)) {
        struct {
            HWND window;
            int offsetX, offsetY;
        } shake = {GetHwnd(), dragOffsetX, dragOffsetY};
        OnShake(&shake);
    }
    if (dragState == e_dragStarted || dragState == e_dragMoving) {
        dragState = e_dragMoving;
        const POINT p = InputCursorPos();
        dragCursorX = p.x;
        dragCursorY = p.y;
        const SIZE size = GetSize();
        Move(dragCursorX - dragOffsetX, dragCursorY - dragOffsetY, size.cx, size.cy, !layered);
        if (layered && !ownerMode && hwnd) {
            const RECT r = GetRect();
            MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        }
    }
}

void t_wndTop::BeginDrag(int dx, int dy)
{
    SetSystemCursor(IDC_SIZEALL);
    dragState = e_dragStarted;
    dragging = true;
    if (hwnd) {
        SetCapture(hwnd);
        captured = true;
    }
    const POINT p = InputCursorPos();
    dragCursorX = p.x - dx;
    dragCursorY = p.y - dy;
    const POINT origin = Origin();
    dragOffsetX = dragCursorX - origin.x;
    dragOffsetY = dragCursorY - origin.y;
    g_draggedWindow = GetHwnd();
    ShowHint(false);
    if (GetShakeDetector())
        shakeDetector->Reset();
    if (useContentBounds)
        ComputeContentBounds();
}

void t_wndTop::EndDragMove()
{
    ReleaseCaptureHeld();
    const POINT p = InputCursorPos();
    dragCursorX = p.x;
    dragCursorY = p.y;
    const SIZE size = GetSize();
    Move(dragCursorX - dragOffsetX, dragCursorY - dragOffsetY, size.cx, size.cy, true);
}

void t_wndTop::ReleaseCaptureHeld()
{
    if (!captured)
        return;
    captured = false;
    if (hwnd && GetCapture() == hwnd)
        ReleaseCapture();
}

bool t_wndTop::OnLButtonDown(UINT, int x, int y)
{
    if (hwnd) {
        SetCapture(hwnd);
        captured = true;
        if (!ownerMode && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
            SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    const int index = ChildIndexAt(x, y);
    ShowHint(false);
    CloseMenu(1);
    if (index < 0) {
        if (!HitTest(x, y, 0))
            return false;
        UpdateLayer();
        SetActiveFlag(true);
        if (dragEnabled)
            BeginDrag(0, 0);
        const uint32_t now = InputTickCount();
        if (now - lastDownTick < static_cast<uint32_t>(doubleClickTime) &&
            std::abs(x - lastDownX) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
            std::abs(y - lastDownY) <= GetSystemMetrics(SM_CYDOUBLECLK))
            OnLButtonDblClk(MK_LBUTTON, x, y);
        lastDownTick = now;
    } else {
        t_wndBase::OnLButtonDown(MK_LBUTTON, x, y);
        if (children[index]->SuspendsDrag() && !savedDragEnabled) {
            savedDragEnabled = dragEnabled;
            dragEnabled = false;
        }
    }
    lastDownX = x;
    lastDownY = y;
    GetDragTracker();
    if (dragTracker)
        dragTracker->Press(x, y);
    return true;
}

bool t_wndTop::OnLButtonUp(UINT keys, int x, int y)
{
    if (dragTracker)
        dragTracker->Reset();
    ReleaseCaptureHeld();
    bool result = false;
    if (dragging) {
        if (shakeDetector)
            shakeDetector->Reset();
        if (dragState == e_dragMoving)
            EndDragMove();
        SetSystemCursor(IDC_ARROW);
        dragging = false;
        dragState = e_dragNone;
        g_draggedWindow = nullptr;
        inUpAfterDrag = true;
        result = t_wndBase::OnLButtonUp(keys, x, y);
        inUpAfterDrag = false;
    } else if (!visible) {
        SetSystemCursor(IDC_ARROW);
        result = false;
    } else {
        for (int i = 0; i < children.Count(); ++i) {
            if (children[i] && children[i]->OnLButtonUp(keys, x, y)) {
                result = true;
                break;
            }
        }
    }
    if (visible) {
        bool overChild = false;
        for (int i = 0; i < children.Count() && !overChild; ++i)
            overChild = children[i] && children[i]->HitTest(x, y, 2);
        if (!overChild)
            SetSystemCursor(IDC_ARROW);
    }
    if (savedDragEnabled) {
        dragEnabled = true;
        savedDragEnabled = false;
    }
    return result;
}

void t_wndTop::StartHoverTimer()
{
    // A top without a window (owner mode without an owner) would make a thread timer that
    // nothing could stop.
    HWND window = GetHwnd();
    if (window)
        SetTimer(window, c_hoverTimerId, c_hoverPollMs, nullptr);
}

void t_wndTop::StopHoverTimer()
{
    HWND window = GetHwnd();
    if (window)
        KillTimer(window, c_hoverTimerId);
}

void t_wndTop::OnMouseEnter()
{
    restoreCursor = GetCursor();
    StartHoverTimer();
}

bool t_wndTop::OnTimer(UINT_PTR timerId)
{
    if (timerId == c_hoverTimerId) {
        PollHover();
        return true;
    }
    return t_wndBase::OnTimer(timerId);
}

void t_wndTop::PollHover()
{
    if (dragState != e_dragNone)
        return;
    if (g_draggedWindow && g_draggedWindow != GetHwnd())
        return;
    const POINT p = InputCursorPos();
    HWND window = GetHwnd();
    if (HitTest(p.x, p.y, 0) && shown) {
        const uint32_t now = InputTickCount();
        if (hoverStartTick && p.x == lastPollX && p.y == lastPollY) {
            if (now - hoverStartTick > static_cast<uint32_t>(GetHoverTime(p.x, p.y))) {
                hoverStartTick = now;
                if (window)
                    PostMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(p.x, p.y));
            }
        } else {
            hoverStartTick = now;
        }
        for (int i = 0; i < children.Count(); ++i) {
            if (children[i])
                children[i]->OnMouseMove(0, p.x, p.y);
        }
    } else if (!IsPrimaryButtonDown() && window) {
        PostMessageW(window, WM_MOUSELEAVE, 0, MAKELPARAM(p.x, p.y));
    }
    lastPollX = p.x;
    lastPollY = p.y;
}

void t_wndTop::OnMouseLeave()
{
    hotFlag = false;
    hotElement = nullptr;
    StopHoverTimer();
    if (!IsPrimaryButtonDown())
        ReleaseCaptureHeld();
    t_wndBase::OnMouseLeave();
    hover = false;
    if (restoreCursor)
        SetCursor(restoreCursor);
}

bool t_wndTop::OnMouseHover(UINT keys, int x, int y) { return t_wndBase::OnMouseHover(keys, x, y); }

bool t_wndTop::HitTest(int x, int y, int)
{
    if (!visible)
        return false;
    const RECT r = GetRect();
    const POINT p = {x, y};
    return PtInRect(&r, p) != FALSE;
}

// ---- painting

void t_wndTop::Paint_Layout(t_paintCtx& context) { t_wndBase::Paint_Layout(context); }

void t_wndTop::PaintClassic(HWND window)
{
    PerfScope whole("PaintTop");
    PAINTSTRUCT ps;
    HDC paintDc;
    HDC memoryDc;
    SIZE size;
    {
        PerfScope scope("PaintTop1");
        paintDc = BeginPaint(window, &ps);
        memoryDc = paintDc ? CreateCompatibleDC(paintDc) : nullptr;
        size = GetSize();
    }
    if (!memoryDc || size.cx <= 0 || size.cy <= 0) {
        if (memoryDc)
            DeleteDC(memoryDc);
        EndPaint(window, &ps);
        return;
    }
    HBITMAP bitmap;
    {
        PerfScope scope("PaintTop2");
        bitmap = CreateCompatibleBitmap(paintDc, size.cx, size.cy);
    }
    if (bitmap) {
        HGDIOBJ previous;
        {
            PerfScope scope("PaintTop3");
            previous = SelectObject(memoryDc, bitmap);
        }
        {
            PerfScope scope("PaintTop4");
            t_paintCtx context(memoryDc, perPixelAlpha, nullptr, false);
            Paint_Layout(context);
            context.End();
        }
        {
            PerfScope scope("PaintTop5");
            BitBlt(paintDc, 0, 0, size.cx, size.cy, memoryDc, 0, 0, SRCCOPY);
        }
        SelectObject(memoryDc, previous);
    }
    PerfScope scope("PaintTop6");
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memoryDc);
    EndPaint(window, &ps);
}

void t_wndTop::RelayoutOnWindowDc()
{
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    {
        t_paintCtx context(dc, false, nullptr, themedText);
        Relayout(&context);
        context.End();
    }
    if (dc)
        ReleaseDC(window, dc);
}

bool t_wndTop::RenderToDib(HDC hdc, t_memDC& holder, int width, int height)
{
    if (!t_memDC::Create(holder, hdc, width, height))
        return false;
    RenderInto(holder, width, height);
    return true;
}

t_memDC* t_wndTop::RenderCached(HDC hdc, int width, int height)
{
    // A DIB section starts zeroed: a reused one is cleared to the same start.
    if (renderCache.dc && renderCache.width == width && renderCache.height == height) {
        memset(renderCache.bits, 0, static_cast<size_t>(width) * height * 4);
        RenderInto(renderCache, width, height);
        return &renderCache;
    }
    return RenderToDib(hdc, renderCache, width, height) ? &renderCache : nullptr;
}

void t_wndTop::RenderInto(t_memDC& holder, int width, int height)
{
    // The DC may be reused: whatever a paint leaves selected or set goes with RestoreDC.
    const int saved = SaveDC(holder.dc);
    const bool keyed = colorKey != CLR_INVALID;
    uint32_t keyColor = colorKey & 0xFFFFFF;
    if (keyed && !perPixelAlpha) {
        HBRUSH brush = CreateSolidBrush(keyColor);
        const RECT all = {0, 0, width, height};
        if (brush) {
            FillRect(holder.dc, &all, brush);
            DeleteObject(brush);
        }
        keyColor = GetPixel(holder.dc, 0, 0);
    }
    {
        t_paintCtx context(holder.dc, perPixelAlpha, &holder, themedText);
        SetBkMode(holder.dc, TRANSPARENT);
        Paint_Layout(context);
        context.End();
    }
    if (saved)
        RestoreDC(holder.dc, saved);
    GdiFlush();
    if (keyed)
        ApplyColorKey(keyColor, height, width, holder.Pixels(), perPixelAlpha);
    else if (!perPixelAlpha)
        ApplyColorKey(c_noColorKey, height, width, holder.Pixels(), false);
    holder.blend = BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
}

bool t_wndTop::PaintToDC(HDC hdc, int x, int y, int width, int height)
{
    const SIZE own = GetSize();
    if (width < 0 || height < 0) {
        width = own.cx;
        height = own.cy;
    }
    t_memDC* dib = RenderCached(hdc, width, height);
    if (!dib)
        return false;
    return AlphaBlend(hdc, x, y, width, height, dib->dc, 0, 0, width, height, dib->blend) != FALSE;
}

void t_wndTop::UpdateLayer()
{
    HWND window = GetHwnd();
    if (!window)
        return;
    if (!layered) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
        return;
    }
    PerfScope scope("UpdateLayer");
    const SIZE size = GetSize();
    HDC windowDc = GetDC(window);
    if (!windowDc)
        return;
    if (t_memDC* dib = RenderCached(windowDc, size.cx, size.cy)) {
        if (blurBehind && CompositionOn() && (blurDirty || size.cx != blurWidth || size.cy != blurHeight)) {
            blurDirty = false;
            blurWidth = size.cx;
            blurHeight = size.cy;
            t_layout* mask = layout ? layout->GetNext() : nullptr;
            t_scopedGdiObj<HRGN> blur(
                mask ? mask->GetRegion(dib->dc)
                     : RegionFromBitmap(dib->Pixels(), size.cx, size.cy, 0, 0, size.cx, size.cy, 0, 0));
            EnableBlurBehind(window, false, nullptr);
            EnableBlurBehind(window, true, blur.Get());
        }
        POINT position = Origin();
        SIZE windowSize = size;
        POINT source = {0, 0};
        UpdateLayeredWindow(window, nullptr, &position, &windowSize, dib->dc, &source, 0, &dib->blend, ULW_ALPHA);
    }
    ReleaseDC(window, windowDc);
}

void t_wndTop::Invalidate(const RECT*) { UpdateLayer(); }

void t_wndTop::InvalidateAll() { UpdateLayer(); }

void t_wndTop::SetLayered(bool flag)
{
    const bool composition = CompositionOn();
    layered = composition ? true : flag;
    HWND window = GetHwnd();
    if (!window)
        return;
    if (blurBehind && composition && !flag)
        EnableBlurBehind(window, false, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = layered ? (style | WS_EX_LAYERED) : (style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (wanted != style)
        SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
}

void t_wndTop::ComputeContentBounds()
{
    const SIZE size = GetSize();
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    t_memDC dib;
    if (RenderToDib(dc, dib, size.cx, size.cy)) {
        RECT bounds;
        contentBounds = GetOpaqueBounds(size.cx, size.cy, dib.Pixels(), bounds) ? bounds : RECT{0, 0, 0, 0};
    }
    if (dc)
        ReleaseDC(window, dc);
}

// ---- geometry

void t_wndTop::Move(int x, int y, int width, int height, bool repaint)
{
    if (keepOnScreen && !ownerMode) {
        RECT test = {x, y, x + width, y + height};
        const bool contentKnown =
            contentBounds.left || contentBounds.top || contentBounds.right || contentBounds.bottom;
        if (useContentBounds && contentKnown)
            test =
                RECT{contentBounds.left + x, contentBounds.top + y, contentBounds.right + x, contentBounds.bottom + y};
        const POINT corner = {test.left, test.top};
        RECT work;
        GetWorkArea(&corner, work);
        if (test.right > work.right) {
            const int excess = test.right - work.right;
            x -= excess;
            test.left -= excess;
            test.right -= excess;
            clampedRight = true;
        }
        if (test.left < work.left)
            x += work.left - test.left;
        if (test.bottom > work.bottom) {
            const int excess = test.bottom - work.bottom;
            y -= excess;
            test.top -= excess;
            test.bottom -= excess;
        }
        if (test.top < work.top)
            y += work.top - test.top;
    }
    SetSize(width, height);
    MoveTo(x, y);
    if (repaint) {
        if (layered)
            UpdateLayer();
        else if (width && height && hwnd)
            MoveWindow(hwnd, x, y, width, height, TRUE);
    }
    RestoreCursorPos();
    const POINT p = InputCursorPos();
    movedCursorX = p.x;
    movedCursorY = p.y;
}

void t_wndTop::SetBounds(int x, int y, int width, int height, bool repaint) { Move(x, y, width, height, repaint); }

bool t_wndTop::Show(bool show)
{
    if (!show) {
        Hide();
        return true;
    }
    shown = true;
    if (layered) {
        UpdateLayer();
        return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                                SWP_NOOWNERZORDER) != FALSE;
    }
    HWND window = GetHwnd();
    if (window && !IsWindowVisible(window))
        ShowWindow(window, SW_SHOWNOACTIVATE);
    if (window)
        SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING |
                         SWP_DEFERERASE);
    shownRect = rect;
    if (hwnd)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE);
    return true;
}

void t_wndTop::Hide()
{
    shown = false;
    hover = false;
    clampedRight = false;
    SetActiveFlag(false);
    ShowHint(false);
    CloseMenu(1);
    ForgetKeptSize();
    if (hwnd)
        ShowWindow(hwnd, SW_HIDE);
}

int t_wndTop::Measure(HDC dc)
{
    UpdateRegion(dc);
    const bool contentEmpty = !(contentBounds.left || contentBounds.top || contentBounds.right || contentBounds.bottom);
    if (useContentBounds && (contentEmpty || contentDirty)) {
        contentDirty = false;
        ComputeContentBounds();
    }
    return measureValue;
}

void t_wndTop::UpdateRegion(HDC dc)
{
    if (!regionEnabled || !layout || !layout->GetInner() || layered || ownerMode)
        return;
    const SIZE size = GetSize();
    if (region && size.cx == regionWidth && size.cy == regionHeight)
        return;
    HRGN made = nullptr;
    t_layout* mask = layout->GetNext();
    if (useMaskRegion && mask) {
        made = mask->GetRegion(dc);
    } else {
        made = layout->GetInner()->GetRegion(dc);
        HRGN own = layout->GetRegion(dc);
        if (made && own) {
            CombineRgn(made, made, own, RGN_OR);
            DeleteObject(own);
        } else if (own) {
            made = own;
        }
    }
    SetRegion(made);
    regionWidth = size.cx;
    regionHeight = size.cy;
}

void t_wndTop::SetRegion(HRGN newRegion)
{
    if (!region && !newRegion)
        return;
    if (hwnd && SetWindowRgn(hwnd, newRegion, TRUE)) {
        region = newRegion;  // the window owns it now
        return;
    }
    if (newRegion)
        DeleteObject(newRegion);
}

void t_wndTop::Relayout(t_paintCtx* context)
{
    t_runtime* runtime = GetRuntime();
    if (themedText && runtime && runtime->IsVistaOrLater() && t_theme::Instance() &&
        !t_theme::Instance()->WindowTheme()) {
        if (!t_theme::Instance()->Load() || !t_theme::Instance()->OpenWindowTheme(GetHwnd()))
            themedText = false;
    }
    laidOutRect = GetRect();
    t_wndBase::Relayout(context);
}

// ---- tooltip, menu, rotate window, helpers

namespace {

// A popup of the top (tooltip or menu), made on first use; null when it cannot be made.
template <class T>
T* PopupOf(std::unique_ptr<T>& kept, HWND owner)
{
    if (kept)
        return kept.get();
    std::unique_ptr<T> made = MakeOwned<T>();
    if (!made || !made->Create(WS_POPUP | WS_DISABLED, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(owner), nullptr, nullptr))
        return nullptr;
    kept = std::move(made);
    return kept.get();
}

}  // namespace

t_wndHint* t_wndTop::GetHint() { return PopupOf(hint, GetHwnd()); }

t_wndMenu* t_wndTop::GetMenu() { return PopupOf(menu, GetHwnd()); }

void t_wndTop::CloseMenu(int flag)
{
    if (menu)
        menu->Close(flag);
}

t_wndRotate* t_wndTop::GetRotate()
{
    if (rotate)
        return rotate.get();
    rotate = MakeOwned<t_wndRotate>();
    if (rotate)
        rotate->Create(GetHwnd());
    return rotate.get();
}

void t_wndTop::StopRotate()
{
    rotateActive = false;
    if (rotate)
        rotate->Stop();
}

t_shakeDetector* t_wndTop::GetShakeDetector()
{
    if (!shakeDetector)
        shakeDetector = MakeOwned<t_shakeDetector>();
    return shakeDetector.get();
}

t_dragTracker* t_wndTop::GetDragTracker()
{
    if (!dragTracker)
        dragTracker = MakeOwned<t_dragTracker>();
    return dragTracker.get();
}

// ---- backgrounds

t_layout* t_wndTop::EnsureLayout()
{
    if (!layout)
        SetLayout(std::unique_ptr<t_layout>(t_wndBase::CreateLayout()));
    return layout;
}

void t_wndTop::BuildNineImageGrid(t_layoutGrid& grid, const t_imageSet9& nineImages, bool noMiddleSize)
{
    grid.SetSize(3, 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto render = MakeOwned<t_renderImage>();
            if (!render)
                continue;
            render->image = nineImages.cells[3 * r + c];
            // The cell draws the record; the record's owner keeps what it points at.
            render->image.ownsSource = 0;
            grid.AddChildAt(MakeOwned<t_layoutRender>(std::move(render)), r, c);
        }
    }
    const t_image& first = nineImages.cells[t_imageSet9::e_topLeft];
    const t_image& last = nineImages.cells[t_imageSet9::e_bottomRight];
    const t_image& centre = nineImages.cells[t_imageSet9::e_centre];
    grid.SetColumnInfo(0, first.partWidth, first.partWidth, 0, 0.0f);
    grid.SetColumnInfo(2, last.partWidth, last.partWidth, 0, 0.0f);
    grid.SetRowInfo(0, first.partHeight, first.partHeight, 0, 0.0f);
    grid.SetRowInfo(2, last.partHeight, last.partHeight, 0, 0.0f);
    // The middle tracks stretch, unless the centre picture keeps its natural size.
    if (centre.modeH == t_image::e_natural)
        grid.SetColumnInfo(1, centre.partWidth, centre.partWidth, 0, 0.0f);
    else
        grid.SetColumnInfo(1, noMiddleSize ? 0 : centre.partWidth, noMiddleSize ? 0 : centre.partWidth, 0, 1.0f);
    if (centre.modeV == t_image::e_natural)
        grid.SetRowInfo(1, centre.partHeight, centre.partHeight, 0, 0.0f);
    else
        grid.SetRowInfo(1, noMiddleSize ? 0 : centre.partHeight, noMiddleSize ? 0 : centre.partHeight, 0, 1.0f);
}

bool t_wndTop::SetNineImageBackground(const t_image& maskSource, const t_imageSet9& nineImages, bool noMiddleSize)
{
    const t_image& first = nineImages.cells[t_imageSet9::e_topLeft];
    if (!first.ref.IsBitmap()) {
        colorKey = CLR_INVALID;
        if (useFrameEx)
            SetFrameEx();
        else
            SetPlainFrame(frameColor, backColor);
        return false;
    }
    if (!EnsureLayout())
        return false;
    const t_image* cells = nineImages.cells;
    minWidth = cells[0].partWidth + cells[1].partWidth + cells[2].partWidth;
    minHeight = cells[0].partHeight + cells[3].partHeight + cells[6].partHeight;
    auto pictures = MakeOwned<t_layoutGrid>(3, 3);
    auto mask = MakeOwned<t_layoutGrid>(3, 3);
    if (!pictures || !mask)
        return false;
    BuildNineImageGrid(*pictures, nineImages, noMiddleSize);
    // The mask cells show the same parts of the mask picture, black keyed out. They are
    // copies: the caller's records keep what they point at.
    t_imageSet9 maskImages = nineImages;
    for (t_image& cell : maskImages.cells) {
        cell.ref = maskSource.ref;
        cell.source = maskSource.source;
        cell.holder = maskSource.holder;
        cell.key1 = 0;
    }
    BuildNineImageGrid(*mask, maskImages, noMiddleSize);
    layout->SetInner(std::move(pictures));
    layout->SetNext(std::move(mask));
    layout->SetRect(layout->GetRect());
    colorKey = CLR_INVALID;
    SetPerPixelAlpha(true);
    return true;
}

bool t_wndTop::SetImageLayers(const t_image& image, t_image& maskImage)
{
    if (!layout)
        return false;
    auto picture = MakeOwned<t_renderImage>();
    auto mask = MakeOwned<t_renderImage>();
    if (!picture || !mask)
        return false;
    picture->image = image;
    picture->image.ownsSource = 0;
    maskImage.key1 = 0;
    mask->image = maskImage;
    mask->image.ownsSource = 0;
    auto pictureNode = MakeOwned<t_layoutRender>(std::move(picture));
    auto maskNode = MakeOwned<t_layoutRender>(std::move(mask));
    if (!pictureNode || !maskNode)
        return false;
    layout->SetInner(std::move(pictureNode));
    layout->SetNext(std::move(maskNode));
    layout->SetRect(layout->GetRect());
    return true;
}

void t_wndTop::SetPlainFrame(COLORREF newFrameColor, COLORREF newBackColor)
{
    minWidth = 0;
    minHeight = 0;
    if (!EnsureLayout())
        return;
    auto frame = MakeOwned<t_renderFrame>();
    if (!frame) {
        layout->SetInner(nullptr);
        return;
    }
    frame->borderColor = newFrameColor;
    frame->fillColor = newBackColor;
    frame->flags = 0;
    layout->SetInner(MakeOwned<t_layoutRender>(std::move(frame)));
    layout->SetRect(layout->GetRect());
}

void t_wndTop::SetFrameEx()
{
    minWidth = 0;
    minHeight = 0;
    if (!EnsureLayout())
        return;
    auto frame = MakeOwned<t_renderFrameEx>();
    if (!frame) {
        layout->SetInner(nullptr);
        return;
    }
    frame->outerColor = static_cast<COLORREF>(frameExParams[0]);
    frame->innerColor = static_cast<COLORREF>(frameExParams[1]);
    frame->gradientA = static_cast<COLORREF>(frameExParams[2]);
    frame->gradientB = static_cast<COLORREF>(frameExParams[3]);
    frame->gradientC = static_cast<COLORREF>(frameExParams[4]);
    // A third colour splits the gradient in two halves.
    frame->gradientMode = frameExParams[4] != -1 ? t_renderFrameEx::e_gradientTwo : t_renderFrameEx::e_gradientOne;
    layout->SetInner(MakeOwned<t_layoutRender>(std::move(frame)));
    layout->SetRect(layout->GetRect());
}
