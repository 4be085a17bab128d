#include "toolkit/controls/wnd_rotate.h"

#include <cmath>
#include <new>

#include "foundation/win/rect.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/window_classes.h"

namespace {

const double c_pi = 3.14159265358979323846;

int RoundToInt(double value) { return static_cast<int>(std::lround(value)); }

// A zero-width rectangle at x, height tall, centred on y.
RECT Edge(int x, int y, int height) { return RECT{x, y - height / 2, x, y - height / 2 + height}; }

// from moved towards to by t: left and right along a quarter sine, top and bottom linearly.
RECT Between(const RECT& from, const RECT& to, double t)
{
    const double s = std::sin(t * c_pi / 2);
    return RECT{from.left + RoundToInt(s * (to.left - from.left)), from.top + RoundToInt(t * (to.top - from.top)),
                from.right + RoundToInt(s * (to.right - from.right)),
                from.bottom + RoundToInt(t * (to.bottom - from.bottom))};
}

}  // namespace

t_wndRotate::t_wndRotate()
    : hwnd(nullptr), notifyHwnd(nullptr), notifyMsg(0), front(nullptr), back(nullptr), angle(0), current{0, 0, 0, 0},
      step(5), reserved(5), cursorOffsetX(0), cursorOffsetY(0), followCursor(false), running(0)
{}

t_wndRotate::~t_wndRotate()
{
    if (hwnd) {
        HWND window = hwnd;
        hwnd = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        KillTimer(window, c_rotateTimerId);
        DestroyWindow(window);
    }
    FreePicture(front);
    FreePicture(back);
}

bool t_wndRotate::Create(HWND owner)
{
    if (hwnd)
        return true;
    RegisterToolkitClasses();
    hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, c_rotateClassName, L"VXRotate", WS_POPUP | WS_DISABLED, 0,
                           0, 0, 0, owner, nullptr, ToolkitInstance(), nullptr);
    if (!hwnd)
        return false;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

LRESULT t_wndRotate::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (window == hwnd) {
        if (msg == WM_DESTROY) {
            running = 0;
            KillTimer(window, c_rotateTimerId);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            hwnd = nullptr;
        } else if (msg == WM_TIMER && wParam == c_rotateTimerId) {
            Step();
        }
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

t_wndRotate::t_picture* t_wndRotate::CopyPicture(HBITMAP bitmap, const RECT& rect)
{
    BITMAP info;
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return nullptr;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    t_picture* picture = new (std::nothrow) t_picture();
    if (!picture)
        return nullptr;
    picture->rect = rect;
    HDC source = CreateCompatibleDC(nullptr);
    if (!source || !t_memDC::Create(picture->dc, nullptr, info.bmWidth, height)) {
        if (source)
            DeleteDC(source);
        FreePicture(picture);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(picture->dc.dc, 0, 0, info.bmWidth, height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    picture->dc.blend = BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return picture;
}

void t_wndRotate::FreePicture(t_picture*& picture)
{
    if (!picture)
        return;
    delete picture;
    picture = nullptr;
}

bool t_wndRotate::Start(HBITMAP frontBitmap, const RECT& frontRect, HBITMAP backBitmap, const RECT* backRect,
                        UINT interval)
{
    if (!hwnd)
        return false;
    FreePicture(front);
    FreePicture(back);
    front = CopyPicture(frontBitmap, frontRect);
    if (!front)
        return false;
    if (backBitmap && backRect)
        back = CopyPicture(backBitmap, *backRect);
    angle = 0;
    current = frontRect;
    running = 1;
    return SetTimer(hwnd, c_rotateTimerId, interval, nullptr) != 0;
}

void t_wndRotate::Step()
{
    if (!running) {
        Stop();
        return;
    }
    if (angle <= 180) {
        DrawFrame();
        if (back)
            angle += step;
        return;
    }
    running = 0;
    angle = 0;
    if (hwnd)
        KillTimer(hwnd, c_rotateTimerId);
    if (notifyHwnd)
        PostMessageW(notifyHwnd, notifyMsg, 0, 0);
}

void t_wndRotate::ComputeFrameRect()
{
    if (!front)
        return;
    const RECT frontRect = front->rect;
    RECT backRect = back ? back->rect : frontRect;
    if (followCursor) {
        const POINT p = InputCursorPos();
        OffsetRect(&backRect, p.x - cursorOffsetX - backRect.left, p.y - cursorOffsetY - backRect.top);
    }
    if (!back) {
        current = backRect;
        return;
    }
    if (angle == 90)
        return;
    const POINT a = RectCentre(frontRect);
    const POINT b = RectCentre(backRect);
    const int cx = ((180 - angle) * a.x + angle * b.x) / 180;
    const int cy = ((180 - angle) * a.y + angle * b.y) / 180;
    if (angle > 90) {
        const RECT edge = Edge(cx, cy, backRect.bottom - backRect.top);
        current = Between(edge, backRect, (angle - 90) / 90.0);
    } else {
        const RECT edge = Edge(cx, cy, frontRect.bottom - frontRect.top);
        current = Between(frontRect, edge, angle / 90.0);
    }
}

void t_wndRotate::DrawFrame()
{
    if (!front || !hwnd)
        return;
    t_picture* picture = angle > 89 ? back : front;
    if (!picture)
        return;
    ComputeFrameRect();
    const int width = current.right - current.left;
    const int height = current.bottom - current.top;
    t_memDC frame;
    if (width <= 0 || height <= 0 || !t_memDC::Create(frame, nullptr, width, height))
        return;
    AlphaBlend(frame.dc, 0, 0, width, height, picture->dc.dc, 0, 0, picture->dc.width, picture->dc.height,
               picture->dc.blend);
    MoveWindow(hwnd, current.left, current.top, width, height, FALSE);
    POINT position = {current.left, current.top};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd, nullptr, &position, &size, frame.dc, &source, 0, &blend, ULW_ALPHA);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

void t_wndRotate::Stop()
{
    running = 0;
    angle = 0;
    if (!hwnd)
        return;
    KillTimer(hwnd, c_rotateTimerId);
    if (IsWindowVisible(hwnd))
        ShowWindow(hwnd, SW_HIDE);
}
