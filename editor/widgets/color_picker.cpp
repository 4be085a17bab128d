#include "editor/widgets/color_picker.h"

#include <cwchar>
#include <initializer_list>

#include "editor/resources/resource_ids.h"
#include "editor/widgets/widget_font.h"
#include "foundation/win/scoped_win.h"

namespace {
const wchar_t c_chooseLabel[] = L"选色";
const wchar_t c_pickLabel[] = L"取色";
const COLORREF c_white = 0xFFFFFF;

const UINT_PTR c_pollTimer = 1;
const UINT c_pollMs = 100;
// The dialog jumps away once the cursor comes this close to it.
const int c_keepAway = 5;
const int c_cursorOffset = 20;

COLORREF s_customColors[n_colorPicker::c_customColorCount] = {};
ColorPicker::t_chooseColorFn s_chooseColor = ChooseColorW;

COLORREF Inverse(COLORREF color) { return c_white - (color & c_white); }
}  // namespace

void ColorPicker::SetChooseColorFn(t_chooseColorFn fn) { s_chooseColor = fn ? fn : ChooseColorW; }

COLORREF* ColorPicker::CustomColors() { return s_customColors; }

COLORREF n_colorPicker::ContrastingTextColor(COLORREF color)
{
    // Rec. 601 luma, 0..255000.
    const unsigned luma = 299u * GetRValue(color) + 587u * GetGValue(color) + 114u * GetBValue(color);
    return luma >= 128u * 1000u ? RGB(0, 0, 0) : c_white;
}

bool n_colorPicker::ChooseColorFor(HWND owner, COLORREF& color)
{
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = color;
    choose.lpCustColors = s_customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!s_chooseColor(&choose))
        return false;
    color = choose.rgbResult;
    return true;
}

void n_colorPicker::DrawColorField(HDC dc, const RECT& rect, COLORREF color, const wchar_t* label, HFONT font)
{
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const HBRUSH fill = CreateSolidBrush(color);
    {
        t_scopedSelectObject pen(dc, GetStockObject(BLACK_PEN));
        t_scopedSelectObject brush(dc, fill);
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
    DeleteObject(fill);
    const COLORREF oldText = SetTextColor(dc, ContrastingTextColor(color));
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    RECT text = rect;
    DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    if (oldFont)
        SelectObject(dc, oldFont);
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
}

ColorPicker::ColorPicker()
    : m_chooseButton(nullptr), m_pickButton(nullptr), m_focused(false), m_font(nullptr), m_color(0),
      m_magnifier(nullptr), m_instance(nullptr)
{}

ColorPicker::~ColorPicker() { delete m_magnifier; }

int ColorPicker::Create(int left, int top, int right, int bottom, HWND parent, HINSTANCE instance)
{
    m_instance = instance;
    if (!Frame::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, left, top, right, bottom, parent, instance))
        return 0;
    m_font = n_widgetFont::Shared();
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    // The halves carry their captions as text too, for readers of the window tree.
    m_chooseButton = CreateWindowExW(0, L"BUTTON", c_chooseLabel, style, 1, 1, w / 2 - 2, h - 2, m_hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(n_colorPicker::c_chooseButtonId)),
                                     instance, nullptr);
    m_pickButton = CreateWindowExW(0, L"BUTTON", c_pickLabel, style, w / 2 + 1, 1, w / 2 - 2, h - 2, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(n_colorPicker::c_pickButtonId)),
                                   instance, nullptr);
    for (HWND button : {m_chooseButton, m_pickButton}) {
        if (button)
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    }
    return 1;
}

void ColorPicker::Enable(bool enable)
{
    EnableWindow(m_chooseButton, enable);
    EnableWindow(m_pickButton, enable);
}

void ColorPicker::Relayout()
{
    RECT rect;
    if (!m_chooseButton || !m_pickButton || !GetWindowRect(m_hwnd, &rect))
        return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    MoveWindow(m_chooseButton, 0, 0, w / 2, h, TRUE);
    MoveWindow(m_pickButton, w / 2, 0, w / 2, h, TRUE);
}

LRESULT ColorPicker::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_SETFOCUS:
        m_focused = true;
        SetFocus(m_chooseButton);
        return 0;
    case WM_KILLFOCUS:
        m_focused = false;
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && (item->CtlID == n_colorPicker::c_chooseButtonId || item->CtlID == n_colorPicker::c_pickButtonId)) {
            DrawHalf(*item);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == n_colorPicker::c_chooseButtonId) {
                Choose();
                return 0;
            }
            if (LOWORD(wParam) == n_colorPicker::c_pickButtonId) {
                Pick();
                return 0;
            }
        }
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void ColorPicker::DrawHalf(const DRAWITEMSTRUCT& item)
{
    n_colorPicker::DrawColorField(item.hDC, item.rcItem, m_color,
                                  item.CtlID == n_colorPicker::c_chooseButtonId ? c_chooseLabel : c_pickLabel, m_font);
}

void ColorPicker::Repaint()
{
    InvalidateRect(m_hwnd, nullptr, TRUE);
    InvalidateRect(m_chooseButton, nullptr, TRUE);
    InvalidateRect(m_pickButton, nullptr, TRUE);
}

void ColorPicker::Choose()
{
    COLORREF chosen = m_color;
    if (n_colorPicker::ChooseColorFor(m_hwnd, chosen) && chosen != m_color) {
        m_color = chosen;
        Repaint();
    }
    SendToParent(n_colorPicker::c_dialogClosed, 0, 0);
}

void ColorPicker::Pick()
{
    // The buttons stay clickable while the magnifier runs its own loop: one at a time.
    if (m_magnifier)
        return;
    m_magnifier = new PickColorMagnifier();
    const INT_PTR result = m_magnifier->DoModal(m_instance, c_dialogMagnifier, m_hwnd);
    if (result == 1) {
        m_color = m_magnifier->GetColor();
        Repaint();
    }
    delete m_magnifier;
    m_magnifier = nullptr;
    SendToParent(n_colorPicker::c_magnifierClosed, 0, 0);
}

ColorPicker::PickColorMagnifier::PickColorMagnifier() : m_color(0), m_capturing(false), m_lastCursor{-1, -1} {}

int ColorPicker::PickColorMagnifier::OnInitDialog()
{
    Dialog::OnInitDialog();
    SetFocus(m_hwnd);
    Place();
    ShowWindow(m_hwnd, SW_SHOW);
    SetCapture(m_hwnd);
    SetTimer(m_hwnd, c_pollTimer, c_pollMs, nullptr);
    m_capturing = true;
    // The focus stays on the dialog itself, where Enter and Esc reach the dialog loop.
    return 0;
}

void ColorPicker::PickColorMagnifier::Place()
{
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    int x = 0, y = 0;
    if (rect.left == 0 && rect.top == 0) {
        x = GetSystemMetrics(SM_CXSCREEN) - 1 - w;
        y = GetSystemMetrics(SM_CYSCREEN) - 1 - h;
    }
    SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT ColorPicker::PickColorMagnifier::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == c_pollTimer) {
            OnTimer();
            return 1;
        }
        break;
    case WM_LBUTTONUP:
        // The capture brings a click anywhere on the screen here: it takes the colour.
        if (m_capturing) {
            EndCapture();
            EndDialog(window, 1);
            OnDestroy();
            return 1;
        }
        break;
    case WM_ACTIVATEAPP:
        if (!wParam)
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        return 0;
    default:
        break;
    }
    return Dialog::WndProc(window, message, wParam, lParam);
}

int ColorPicker::PickColorMagnifier::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if ((id == IDOK || id == IDCANCEL) && m_capturing)
        EndCapture();
    return Dialog::OnCommand(wParam, lParam);
}

void ColorPicker::PickColorMagnifier::EndCapture()
{
    m_capturing = false;
    KillTimer(m_hwnd, c_pollTimer);
    ReleaseCapture();
}

void ColorPicker::PickColorMagnifier::OnTimer()
{
    // The dialog's start-up may cancel modes after WM_INITDIALOG, which drops the capture:
    // the magnifier holds it for as long as it runs.
    if (m_capturing && GetCapture() != m_hwnd)
        SetCapture(m_hwnd);
    POINT cursor;
    if (!GetCursorPos(&cursor) || (cursor.x == m_lastCursor.x && cursor.y == m_lastCursor.y))
        return;
    m_lastCursor = cursor;
    InvalidateRect(GetItem(c_magnifierZoom), nullptr, FALSE);
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    InflateRect(&rect, c_keepAway, c_keepAway);
    if (PtInRect(&rect, cursor))
        Place();
    const HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, cursor.x, cursor.y);
    ReleaseDC(nullptr, screen);
    if (color == CLR_INVALID || color == m_color)
        return;
    m_color = color;
    wchar_t text[64];
    _snwprintf(text, 63, L"R : %d\tG : %d\tB : %d", GetRValue(color), GetGValue(color), GetBValue(color));
    text[63] = 0;
    SetItemText(c_magnifierRgb, text);
    InvalidateRect(GetItem(c_magnifierSwatch), nullptr, FALSE);
}

int ColorPicker::PickColorMagnifier::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    if (!item)
        return 1;
    if (id == c_magnifierZoom)
        DrawMagnifier(*item);
    else if (id == c_magnifierSwatch)
        DrawSwatch(*item);
    return 1;
}

void ColorPicker::PickColorMagnifier::DrawMagnifier(const DRAWITEMSTRUCT& item)
{
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    POINT cursor;
    GetCursorPos(&cursor);
    const HDC screen = GetDC(nullptr);
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, r.left, r.top, w, h, screen, cursor.x - w / 4, cursor.y - h / 4, w / 2, h / 2, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    DrawIconEx(item.hDC, r.left + w / 2 - c_cursorOffset, r.top + h / 2 - c_cursorOffset, arrow,
               2 * GetSystemMetrics(SM_CXCURSOR), 2 * GetSystemMetrics(SM_CYCURSOR), 0, nullptr, DI_NORMAL);
}

void ColorPicker::PickColorMagnifier::DrawSwatch(const DRAWITEMSTRUCT& item)
{
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const HDC memory = CreateCompatibleDC(item.hDC);
    const HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, w, h);
    if (!memory || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        return;
    }
    const HBRUSH fill = CreateSolidBrush(m_color);
    const HPEN frame = CreatePen(PS_SOLID, 1, Inverse(m_color));
    {
        t_scopedSelectObject target(memory, bitmap);
        t_scopedSelectObject brush(memory, fill);
        t_scopedSelectObject pen(memory, frame);
        Rectangle(memory, 0, 0, w, h);
        BitBlt(item.hDC, r.left, r.top, w, h, memory, 0, 0, SRCCOPY);
    }
    DeleteObject(frame);
    DeleteObject(fill);
    DeleteObject(bitmap);
    DeleteDC(memory);
}
