#include "toolkit/controls/wnd_base_handle.h"

namespace {

// The procedure the window had before the first wrapper, kept on the window so that the
// forwarding procedure can still reach it when no wrapper is stored.
const wchar_t c_originalProcProperty[] = L"Kavrel.OriginalWndProc";

WNDPROC OriginalProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetPropW(window, c_originalProcProperty)); }

// One procedure for every wrapped window: the wrapper in GWLP_USERDATA handles the
// message; without one, the window's own procedure does.
LRESULT CALLBACK ForwardToHandle(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    t_wndBaseHandle* handle = reinterpret_cast<t_wndBaseHandle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (handle)
        return handle->WndProc(window, msg, wParam, lParam);
    const WNDPROC original = OriginalProcOf(window);
    return original ? CallWindowProcW(original, window, msg, wParam, lParam)
                    : DefWindowProcW(window, msg, wParam, lParam);
}

bool RunsForwarding(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == ForwardToHandle;
}

// The forwarding procedure sits in the window's chain (possibly under a later subclass).
bool IsWrapped(HWND window) { return OriginalProcOf(window) != nullptr; }

void PostToParent(HWND control, UINT msg, int id)
{
    HWND parent = GetParent(control);
    if (parent)
        PostMessageW(parent, msg, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(control));
}

void TrackMouse(HWND window, DWORD flags)
{
    TRACKMOUSEEVENT track = {sizeof(track), flags, window, HOVER_DEFAULT};
    TrackMouseEvent(&track);
}

}  // namespace

t_wndBaseHandle::t_wndBaseHandle() : hwnd(nullptr), oldWndProc(nullptr), id(c_noHandleId), m_below(nullptr) {}

t_wndBaseHandle::~t_wndBaseHandle() { t_wndBaseHandle::Detach(); }

t_wndBaseHandle* t_wndBaseHandle::FromHwnd(HWND window)
{
    if (!window || !IsWrapped(window))
        return nullptr;
    return reinterpret_cast<t_wndBaseHandle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool t_wndBaseHandle::Attach(HWND window)
{
    if (!window)
        return false;
    if (window == hwnd) {
        OnAttached();
        return true;
    }
    // Off the first window only: what a subclass keeps for its window (pictures) stays.
    if (hwnd)
        t_wndBaseHandle::Detach();
    if (IsWrapped(window)) {
        // Another wrapper holds the window: it stays in the chain below this one.
        m_below = reinterpret_cast<t_wndBaseHandle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        oldWndProc = OriginalProcOf(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    } else {
        m_below = nullptr;
        // The object is stored before the procedure changes, so the first forwarded
        // message already finds it.
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        oldWndProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardToHandle)));
        if (!oldWndProc)
            oldWndProc = DefWindowProcW;
        SetPropW(window, c_originalProcProperty, reinterpret_cast<HANDLE>(oldWndProc));
    }
    hwnd = window;
    OnAttached();
    return true;
}

void t_wndBaseHandle::Detach()
{
    if (!hwnd)
        return;
    HWND window = hwnd;
    t_wndBaseHandle* first = FromHwnd(window);
    if (first == this) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_below));
        if (!m_below) {
            // The last wrapper: the window gets its own procedure back, unless something
            // subclassed it over ours; the forwarding procedure then passes every message
            // to the original one through the kept property.
            if (RunsForwarding(window)) {
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWndProc));
                RemovePropW(window, c_originalProcProperty);
            }
        }
    } else {
        // Further down the chain: the wrapper above takes this one's place.
        for (t_wndBaseHandle* above = first; above; above = above->m_below) {
            if (above->m_below == this) {
                above->m_below = m_below;
                break;
            }
        }
    }
    hwnd = nullptr;
    m_below = nullptr;
    oldWndProc = nullptr;
}

void t_wndBaseHandle::ForgetDyingWindow()
{
    HWND window = hwnd;
    if (FromHwnd(window) == this) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (RunsForwarding(window))
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWndProc));
        RemovePropW(window, c_originalProcProperty);
    }
    hwnd = nullptr;
    m_below = nullptr;
    oldWndProc = nullptr;
}

void t_wndBaseHandle::OnAttached() {}

bool t_wndBaseHandle::PreTranslate(MSG& msg)
{
    if (msg.message != WM_LBUTTONDOWN)
        return false;
    msg.pt.x = static_cast<short>(LOWORD(msg.lParam));
    msg.pt.y = static_cast<short>(HIWORD(msg.lParam));
    return true;
}

LRESULT t_wndBaseHandle::CallPrevious(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_below)
        return m_below->WndProc(window, msg, wParam, lParam);
    if (oldWndProc)
        return CallWindowProcW(oldWndProc, window, msg, wParam, lParam);
    return DefWindowProcW(window, msg, wParam, lParam);
}

LRESULT t_wndBaseHandle::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE: {
        // One request for every flag: a later request may replace an earlier one.
        const DWORD flags = (id != c_noHandleId ? TME_HOVER : 0) | (TracksLeave() ? TME_LEAVE : 0);
        if (flags)
            TrackMouse(window, flags);
        break;
    }
    case WM_MOUSEHOVER:
        if (id != c_noHandleId) {
            PostToParent(window, c_handleHoverMessage, id);
            TrackMouse(window, TME_LEAVE);
        }
        break;
    case WM_MOUSELEAVE:
        if (id != c_noHandleId)
            PostToParent(window, c_handleLeaveMessage, id);
        break;
    case WM_NCDESTROY: {
        // The wrappers below see the message first; then this one lets go of the window.
        const LRESULT result = CallPrevious(window, msg, wParam, lParam);
        ForgetDyingWindow();
        return result;
    }
    default:
        break;
    }
    return CallPrevious(window, msg, wParam, lParam);
}

void t_wndBaseHandle::Show(bool show)
{
    if (hwnd)
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
}

void t_wndBaseHandle::Move(int x, int y, int width, int height, bool repaint)
{
    if (hwnd)
        MoveWindow(hwnd, x, y, width, height, repaint ? TRUE : FALSE);
}
