#include "toolkit/controls/wnd_hint.h"

#include <new>

#include "foundation/win/scoped_win.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "toolkit/controls/window_classes.h"

namespace {

const COLORREF c_hintBackground = RGB(128, 128, 0);
const COLORREF c_hintInk = RGB(0, 0, 0);

}  // namespace

t_wndHint::t_wndHint() { keepOnScreen = true; }

t_wndHint::~t_wndHint() { Destroy(); }

HFONT t_wndHint::HintFont()
{
    static HFONT font = [] {
        LOGFONTW logFont = {};
        logFont.lfHeight = 12;
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = ANTIALIASED_QUALITY;
        lstrcpynW(logFont.lfFaceName, L"宋体", LF_FACESIZE);
        return CreateFontIndirectW(&logFont);
    }();
    return font;
}

bool t_wndHint::Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                       t_wndBase* parent)
{
    // No timer at creation: the object is not reachable from the window until the user
    // data is set, and the topmost timer runs only while the tooltip is shown.
    return CreateWindowOfClass(c_hintClassName, L"HintWnd", style, x, y, width, height, owner, instance, parent);
}

void t_wndHint::Destroy()
{
    StopTopmostTimer();
    m_lines.Clear();
    t_wndTop::Destroy();
}

void t_wndHint::SetText(const wchar_t* newText) { m_lines.SetText(newText); }

void t_wndHint::ShowHint(bool) {}

void t_wndHint::StopTopmostTimer()
{
    if (m_timerRunning && hwnd)
        KillTimer(hwnd, c_hintTopmostTimerId);
    m_timerRunning = false;
}

LRESULT t_wndHint::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc) {
            t_paintCtx context(dc, false, nullptr, false);
            SetBkMode(dc, TRANSPARENT);
            Paint_Layout(context);
            context.End();
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_TIMER:
        if (IsWindowVisible(window)) {
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        } else {
            KillTimer(window, c_hintTopmostTimerId);
            m_timerRunning = false;
        }
        return 0;
    case WM_DESTROY:
        // Destroyed with its owner: the object forgets the window.
        if (window == hwnd) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            KillTimer(window, c_hintTopmostTimerId);
            m_timerRunning = false;
            hwnd = nullptr;
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

void t_wndHint::Paint_Layout(t_paintCtx& context)
{
    HDC dc = context.Dc();
    const RECT r = GetRectInHwnd();
    HBRUSH background = CreateSolidBrush(c_hintBackground);
    if (background) {
        FillRect(dc, &r, background);
        DeleteObject(background);
    }
    {
        t_scopedSelectObject pen(dc, GetStockObject(BLACK_PEN));
        t_scopedSelectObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    RECT textRect = {r.left + 2, r.top + 4, r.right - 2, r.bottom - 4};
    t_scopedSelectObject font(dc, HintFont());
    SetTextColor(dc, c_hintInk);
    SetBkMode(dc, TRANSPARENT);
    m_lines.Draw(0, textRect, dc);
}

bool t_wndHint::MeasureHint(SIZE& size)
{
    if (m_lines.IsEmpty())
        return false;
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    if (!dc)
        return false;
    RECT measured = {0, 0, 0, 0};
    {
        t_scopedSelectObject font(dc, HintFont());
        m_lines.Draw(DT_CALCRECT, measured, dc);
    }
    ReleaseDC(window, dc);
    size.cx = measured.right + 4;
    size.cy = measured.bottom + 8;
    return true;
}

void t_wndHint::ShowNearRect(const RECT& anchorRect, bool below)
{
    SIZE size;
    if (!MeasureHint(size))
        return;
    const int w = size.cx + 1;
    const int h = size.cy + 1;
    RECT anchor = anchorRect;
    const POINT corner = {anchor.left, anchor.top};
    RECT work;
    GetWorkArea(&corner, work);
    int x = anchor.left;
    int y = anchor.top - h;
    if (below && anchor.bottom + h <= work.bottom) {
        y = anchor.bottom;
    } else if (below) {
        const int anchorWidth = anchor.right - anchor.left;
        if (anchorWidth > 0 && anchorWidth < w) {
            anchor.left = anchor.right - w < 0 ? 0 : anchor.right - w;
            x = anchor.left;
        }
    }
    Move(x, y, w, h, true);
    t_wndTop::Show(true);
    HWND window = GetHwnd();
    if (window && SetTimer(window, c_hintTopmostTimerId, c_hintTopmostMs, nullptr))
        m_timerRunning = true;
}

void t_wndHint::Hide()
{
    StopTopmostTimer();
    t_wndTop::Hide();
}
