#include "editor/preview/preview_full_screen.h"

#include "editor/framework/editor_messages.h"
#include "editor/preview/preview_configable.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/ownerdraw/owner_draw_hover_button.h"

namespace {
const COLORREF c_showBackground = 0xFFFFFF;
HWND s_fullScreenPreview = nullptr;
}  // namespace

void SetFullScreenPreviewWindow(HWND window) { s_fullScreenPreview = window; }
HWND GetFullScreenPreviewWindow() { return s_fullScreenPreview; }

PreviewFullScreen::PreviewFullScreen()
    : m_preview(nullptr), m_closeButton(new t_wndOwnerDrawHoverButton), m_returnMode(0), m_background(c_showBackground)
{}

PreviewFullScreen::~PreviewFullScreen()
{
    if (m_hwnd && GetFullScreenPreviewWindow() == m_hwnd)
        SetFullScreenPreviewWindow(nullptr);
}

HWND PreviewFullScreen::CloseButton() const { return m_hwnd ? GetDlgItem(m_hwnd, c_closeButtonId) : nullptr; }

void PreviewFullScreen::OnCreate(HWND window)
{
    // The handle is stored only once CreateWindowExW returns; the button needs it now.
    m_hwnd = window;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const HWND button =
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c_closeButtonId)), module, nullptr);
    // Without its picture the button stays an empty square no one can see: Esc still closes.
    if (button)
        m_closeButton->Attach(window, c_closeButtonId, MAKEINTRESOURCEW(c_closePicture), module, nullptr);
    // The message loop hands the keys typed into any child of this window to the window.
    SetFullScreenPreviewWindow(window);
}

LRESULT PreviewFullScreen::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_DESTROY:
        if (GetFullScreenPreviewWindow() == window)
            SetFullScreenPreviewWindow(nullptr);
        break;
    case WM_CLOSE:
    case WM_SYSCOMMAND:
        // Neither Alt+F4 nor the system menu closes or moves the window.
        return 1;
    case WM_WININICHANGE:
    case WM_DISPLAYCHANGE:
        FitToMonitor();
        break;
    case WM_ERASEBKGND:
        // OnPaint covers the whole client area.
        return 1;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlID == static_cast<UINT>(c_closeButtonId) && m_closeButton->hwnd)
            return m_closeButton->DrawItem(*item) ? TRUE : FALSE;
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            Close();
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == c_closeButtonId && HIWORD(wParam) == BN_CLICKED) {
            Close();
            return 0;
        }
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void PreviewFullScreen::Show(int previousMode)
{
    if (previousMode != c_fullScreenMode)
        m_returnMode = previousMode;
    FitToMonitor();
    m_background = c_showBackground;
    if (!m_hwnd)
        return;
    ShowWindow(m_hwnd, SW_SHOW);
    // Esc must reach the window, not a control of the frame that had the focus.
    SetFocus(m_hwnd);
}

void PreviewFullScreen::Close()
{
    if (!m_hwnd)
        return;
    ShowWindow(m_hwnd, SW_HIDE);
    if (const HWND parent = GetParent(m_hwnd))
        PostMessageW(parent, n_editorMessage::c_viewMode, static_cast<WPARAM>(m_returnMode), 0);
}

void PreviewFullScreen::FitToMonitor()
{
    if (!m_hwnd)
        return;
    const HWND parent = GetParent(m_hwnd);
    const HMONITOR monitor = MonitorFromWindow(parent ? parent : m_hwnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return;
    const RECT& area = info.rcMonitor;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    MoveWindow(m_hwnd, area.left, area.top, width, height, TRUE);
    if (const HWND button = CloseButton()) {
        RECT rect;
        GetWindowRect(button, &rect);
        SetWindowPos(button, nullptr, width - (rect.right - rect.left), 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

POINT PreviewFullScreen::PreviewOrigin(int clientWidth, int clientHeight, int previewWidth, int previewHeight)
{
    int x = (clientWidth - previewWidth) / 2;
    if (x < 1)
        x = 0;
    // A preview taller than the screen starts above it: its lower part, where the phone's
    // keyboard is, stays in sight.
    return POINT{x, (clientHeight - previewHeight) / 2};
}

void PreviewFullScreen::Render(HDC dc, int width, int height)
{
    const HBRUSH brush = CreateSolidBrush(m_background);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (!m_preview)
        return;
    int previewWidth = 0, previewHeight = 0;
    m_preview->GetSize(previewWidth, previewHeight);
    const POINT origin = PreviewOrigin(width, height, previewWidth, previewHeight);
    m_preview->Paint(dc, origin.x, origin.y);
}

void PreviewFullScreen::OnPaint(HDC dc)
{
    RECT client;
    if (!GetClientRect(m_hwnd, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    t_memDC buffer;
    if (!t_memDC::Create(buffer, dc, client.right, client.bottom)) {
        // No memory for a buffer: straight onto the window.
        Render(dc, client.right, client.bottom);
        return;
    }
    Render(buffer.dc, client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.dc, 0, 0, SRCCOPY);
}
