#include "editor/framework/window.h"

#include "foundation/config/app_config.h"

namespace {
const wchar_t c_defaultClass[] = L"IMEKavrel";
const int c_firstChildCapacity = 1;

// The placement is restored once per process, on the main frame's first activation.
bool s_firstActivation = true;
}  // namespace

Window::Window() : m_hwnd(nullptr), m_children(c_firstChildCapacity), m_width(0), m_height(0) {}

Window::~Window() { DeleteChildren(); }

void Window::DeleteChildren()
{
    for (int i = 0; i < m_children.Count(); ++i)
        delete ChildAt(i);
    m_children.Free();
}

Window* Window::ChildAt(int index) const
{
    if (index < 0 || index >= m_children.Count())
        return nullptr;
    return static_cast<Window*>(*m_children.At(index));
}

void Window::OnDestroy()
{
    for (int i = 0; i < m_children.Count(); ++i) {
        Window* child = ChildAt(i);
        child->OnDestroy();
        delete child;
    }
    m_children.Free();
    m_hwnd = nullptr;
}

void Window::Move(int left, int top, int right, int bottom, bool repaint)
{
    MoveWindow(m_hwnd, left, top, right - left, bottom - top, repaint);
}

LRESULT Window::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void Window::GetSize(int& width, int& height)
{
    width = 0;
    height = 0;
}

LRESULT Window::SendToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(GetParentHwnd(), message, wParam, lParam);
}

void Window::AddChild(Window* child)
{
    if (child && !m_children.PushBack(child))
        delete child;
}

void Window::CenterOnScreen()
{
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - m_width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - m_height) / 2;
    MoveWindow(m_hwnd, x, y, m_width, m_height, TRUE);
}

int Window::GetRectInParent(RECT& out) const
{
    const HWND parent = GetParentHwnd();
    if (!parent)
        return -1;
    RECT parentRect;
    GetWindowRect(m_hwnd, &out);
    GetWindowRect(parent, &parentRect);
    OffsetRect(&out, -parentRect.left, -parentRect.top);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongW(parent, GWL_STYLE)), TRUE);
    OffsetRect(&out, frame.left, frame.top);
    return 0;
}

LRESULT Frame::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        OnPaint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Frame::Create(const wchar_t* className, const wchar_t* title, DWORD style, int menuId, int left, int top,
                   int right, int bottom, HWND parent, HINSTANCE module)
{
    const HMENU menu = menuId ? LoadMenuW(module, MAKEINTRESOURCEW(menuId)) : nullptr;
    m_hwnd = CreateWindowExW(0, className ? className : c_defaultClass, title, style, left, top, right - left,
                             bottom - top, parent, menu, module, this);
    if (!m_hwnd) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    SetLastError(0);
    const LONG_PTR previous = SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return previous != 0 || GetLastError() == 0;
}

void Frame::OnPaint(HDC) {}

LRESULT FrameStoreSize::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        StorePlacement(window);
    } else if (message == WM_ACTIVATE && LOWORD(wParam) == WA_ACTIVE && s_firstActivation) {
        s_firstActivation = false;
        RestorePlacement(window);
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void FrameStoreSize::StorePlacement(HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return;
    AppConfigSize& size = AppConfig::Instance()->windowRect;
    switch (placement.showCmd) {
    case SW_SHOWNORMAL:
        size.icon.Set(false);
        size.max.Set(false);
        break;
    case SW_SHOWMAXIMIZED:
        size.icon.Set(false);
        size.max.Set(true);
        break;
    case SW_SHOWMINIMIZED:
        // A minimised window remembers whether it comes back maximised.
        size.icon.Set(true);
        size.max.Set((placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
        break;
    default:
        break;
    }
    const RECT& normal = placement.rcNormalPosition;
    size.rect.left.Set(normal.left);
    size.rect.top.Set(normal.top);
    size.rect.right.Set(normal.right);
    size.rect.bottom.Set(normal.bottom);
}

void FrameStoreSize::RestorePlacement(HWND window)
{
    const AppConfigSize& size = AppConfig::Instance()->windowRect;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (size.icon.Value()) {
        placement.showCmd = SW_SHOWMINNOACTIVE;
        placement.flags = size.max.Value() ? WPF_RESTORETOMAXIMIZED : WPF_SETMINPOSITION;
    } else if (size.max.Value()) {
        placement.showCmd = SW_SHOWMAXIMIZED;
        placement.flags = WPF_RESTORETOMAXIMIZED;
    } else {
        placement.showCmd = SW_SHOWNORMAL;
        placement.flags = WPF_SETMINPOSITION;
    }
    placement.ptMinPosition = {0, 0};
    placement.ptMaxPosition = {-GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER)};
    placement.rcNormalPosition = {size.rect.left.Get(), size.rect.top.Get(), size.rect.right.Get(),
                                  size.rect.bottom.Get()};
    SetWindowPlacement(window, &placement);
}

void FrameStoreSize::ResetFirstActivation() { s_firstActivation = true; }

LRESULT CALLBACK FrameworkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    Window* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object)
        return object->WndProc(window, message, wParam, lParam);
    if (GetClassLongPtrW(window, GCL_CBWNDEXTRA) == DLGWINDOWEXTRA)
        return 0;
    if (message == WM_CREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Window* creator = create ? static_cast<Window*>(create->lpCreateParams) : nullptr;
        if (creator)
            return creator->WndProc(window, message, reinterpret_cast<WPARAM>(window), lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
