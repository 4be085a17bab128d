#include "editor/framework/spliter.h"

#include "editor/framework/editor_messages.h"

namespace {
const int c_arrowBandHalf = 30;
}  // namespace

t_wndSpliter::t_wndSpliter(int orientation)
    : m_orientation(orientation), m_pressX(0), m_pressY(0), m_dragging(false), m_collapsed(false)
{}

int t_wndSpliter::CreateBar(HWND parent, HINSTANCE module)
{
    m_hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, module, nullptr);
    if (!m_hwnd)
        return 0;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpliterWndProc));
    return 1;
}

bool t_wndSpliter::InArrowBand(HWND window, int y)
{
    RECT client;
    GetClientRect(window, &client);
    const int middle = client.bottom / 2;
    return y >= middle - c_arrowBandHalf && y <= middle + c_arrowBandHalf;
}

LRESULT t_wndSpliter::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_MOUSEMOVE:
        SetCursor(LoadCursorW(nullptr, m_orientation == 0 ? IDC_SIZEWE : IDC_SIZENS));
        break;
    case WM_LBUTTONDOWN:
        m_pressX = x;
        m_pressY = y;
        if (InArrowBand(window, y)) {
            PostMessageW(GetParent(window), n_editorMessage::c_splitter, reinterpret_cast<WPARAM>(window),
                         m_collapsed ? c_relayout : c_collapse);
            m_collapsed = !m_collapsed;
        } else {
            m_dragging = true;
            SetCapture(window);
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        }
        break;
    case WM_LBUTTONUP:
        if (m_dragging) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            ReleaseCapture();
            m_dragging = false;
            const LPARAM offset = MAKELPARAM(static_cast<WORD>(x - m_pressX), static_cast<WORD>(y - m_pressY));
            PostMessageW(GetParent(window), n_editorMessage::c_splitter, reinterpret_cast<WPARAM>(window), offset);
        }
        break;
    case WM_PAINT:
        Paint(window);
        return 1;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void t_wndSpliter::Paint(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int middle = client.bottom / 2;
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT band = {0, middle - c_arrowBandHalf, width, middle + c_arrowBandHalf};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    // A white triangle, one row at a time, pointing right when collapsed, left otherwise.
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    for (int row = middle - width; row <= middle + width - 1; ++row) {
        int d = row - (middle - width) - width;
        if (d < 0)
            d = -d;
        RECT line = m_collapsed ? RECT{0, row, width - d, row + 1} : RECT{d, row, width, row + 1};
        FillRect(dc, &line, white);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK SpliterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object)
        return object->WndProc(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}
