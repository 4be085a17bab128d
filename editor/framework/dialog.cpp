#include "editor/framework/dialog.h"

#include <commctrl.h>

#include <cwchar>
#include <cwctype>

namespace {
const int c_numberChars = 100;
const int c_horizontalStep = 5;
const int c_verticalStep = 10;
const int c_maxTextLimit = 100;

// Decimal value of a control's text, as the pages read numbers typed by the user.
int ParseInt(const wchar_t* text) { return static_cast<int>(wcstol(text, nullptr, 10)); }

bool IsEditableCombo(HWND combo) { return (GetWindowLongW(combo, GWL_STYLE) & CBS_DROPDOWN) != 0; }
}  // namespace

Dialog::Dialog() : m_templateId(0) {}

void Dialog::GetSize(int& width, int& height)
{
    width = m_width;
    height = m_height;
}

bool Dialog::Create(HINSTANCE module, int templateId, HWND parent)
{
    m_templateId = templateId;
    const HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), parent,
                                           reinterpret_cast<DLGPROC>(FrameworkWndProc), reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

INT_PTR Dialog::DoModal(HINSTANCE module, int templateId, HWND parent)
{
    m_templateId = templateId;
    return DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), parent, reinterpret_cast<DLGPROC>(FrameworkWndProc),
                           reinterpret_cast<LPARAM>(this));
}

int Dialog::UpdateData(bool save)
{
    for (int i = 0; i < ChildCount(); ++i) {
        Dialog* child = dynamic_cast<Dialog*>(ChildAt(i));
        if (child)
            child->UpdateData(save);
    }
    return save ? StoreToModel() : LoadFromModel();
}

void Dialog::OnPaint(HDC) {}
int Dialog::OnLButtonDown(WPARAM, int, int) { return 1; }
int Dialog::OnLButtonUp(WPARAM, int, int) { return 1; }
int Dialog::OnMouseMove(WPARAM, int, int) { return 1; }
int Dialog::LoadFromModel() { return 1; }
int Dialog::StoreToModel() { return 1; }

void Dialog::OnSize(WPARAM, LPARAM size)
{
    const int height = HIWORD(size);
    const LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    if (height < m_height) {
        if (!(style & WS_VSCROLL))
            SetWindowLongW(m_hwnd, GWL_STYLE, style | WS_VSCROLL);
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = m_height;
        info.nPage = static_cast<UINT>(height);
        info.nPos = 0;
        SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
    } else if (style & WS_VSCROLL) {
        OnVScroll(SB_TOP, nullptr);
        SetWindowLongW(m_hwnd, GWL_STYLE, style & ~WS_VSCROLL);
    }
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void Dialog::OnMouseWheel(WPARAM wParam, LPARAM)
{
    if (!(GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VSCROLL))
        return;
    OnVScroll(static_cast<short>(HIWORD(wParam)) > 0 ? SB_LINEUP : SB_LINEDOWN, nullptr);
}

int MoveScrollBar(HWND window, int bar, int request, int lineStep)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    const int old = info.nPos;
    int position = old;
    switch (request) {
    case SB_LINEUP:
        position = old - lineStep;
        break;
    case SB_LINEDOWN:
        position = old + lineStep;
        break;
    case SB_PAGEUP:
        position = old - static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        position = old + static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        if (bar == SB_VERT)
            position = info.nMin;
        break;
    case SB_BOTTOM:
        if (bar == SB_VERT)
            position = info.nMax;
        break;
    default:
        break;
    }
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, TRUE);
    GetScrollInfo(window, bar, &info);
    return info.nPos - old;
}

void Dialog::Scroll(int bar, int request, int lineStep)
{
    const int moved = MoveScrollBar(m_hwnd, bar, request, lineStep);
    if (moved == 0)
        return;
    if (bar == SB_VERT)
        ScrollWindow(m_hwnd, 0, -moved, nullptr, nullptr);
    else
        ScrollWindow(m_hwnd, -moved, 0, nullptr, nullptr);
}

void Dialog::OnHScroll(int request, HWND) { Scroll(SB_HORZ, request, c_horizontalStep); }

void Dialog::OnVScroll(int request, HWND) { Scroll(SB_VERT, request, c_verticalStep); }

int Dialog::OnInitDialog()
{
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    return 1;
}

int Dialog::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        if (UpdateData(true) == 1) {
            EndDialog(m_hwnd, 1);
            OnDestroy();
        }
        return 1;
    case IDCANCEL:
        EndDialog(m_hwnd, 0);
        OnDestroy();
        return 1;
    default:
        return 0;
    }
}

int Dialog::OnNotify(int, NMHDR*, LRESULT&) { return 0; }
int Dialog::OnDrawItem(int, DRAWITEMSTRUCT*) { return 1; }

int Dialog::GetItemRect(int id, RECT& out)
{
    RECT dialogRect;
    const HWND item = GetDlgItem(m_hwnd, id);
    if (!item || !GetWindowRect(item, &out) || !GetWindowRect(m_hwnd, &dialogRect))
        return 0;
    OffsetRect(&out, -dialogRect.left, -dialogRect.top);
    return 1;
}

int Dialog::EnableItem(int id, bool enable)
{
    const HWND item = GetDlgItem(m_hwnd, id);
    if (!item)
        return 0;
    EnableWindow(item, enable);
    return 1;
}

HWND Dialog::GetItem(int id) { return GetDlgItem(m_hwnd, id); }

HWND Dialog::FocusItem(int id) { return SetFocus(GetDlgItem(m_hwnd, id)); }

int Dialog::SetItemInt(int id, int value)
{
    wchar_t text[c_numberChars];
    swprintf(text, c_numberChars, L"%d", value);
    return SetWindowTextW(GetDlgItem(m_hwnd, id), text) ? 1 : 0;
}

int Dialog::GetItemInt(int id)
{
    wchar_t text[c_numberChars];
    GetItemText(id, text, c_numberChars);
    return ParseInt(text);
}

int Dialog::SetItemText(int id, const wchar_t* text)
{
    const HWND item = GetDlgItem(m_hwnd, id);
    if (!item)
        return 0;
    return SetWindowTextW(item, text) ? 1 : 0;
}

int Dialog::GetItemText(int id, wchar_t* out, int capacity)
{
    if (!out || capacity < 1)
        return 0;
    out[0] = 0;
    const HWND item = GetDlgItem(m_hwnd, id);
    if (!item)
        return 0;
    return GetWindowTextW(item, out, capacity);
}

LRESULT Dialog::ComboAdd(int id, const wchar_t* text)
{
    return SendDlgItemMessageW(m_hwnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

LRESULT Dialog::ComboDeleteText(int id, const wchar_t* text)
{
    const LRESULT index = ComboFind(id, text);
    if (index < 0)
        return -1;
    return SendDlgItemMessageW(m_hwnd, id, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

LRESULT Dialog::ComboDeleteAt(int id, int index)
{
    if (index < 0 || index >= SendDlgItemMessageW(m_hwnd, id, CB_GETCOUNT, 0, 0))
        return -1;
    return SendDlgItemMessageW(m_hwnd, id, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

LRESULT Dialog::ComboFind(int id, const wchar_t* text)
{
    return SendDlgItemMessageW(m_hwnd, id, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
}

LRESULT Dialog::ComboSelectInt(int id, int value)
{
    wchar_t text[c_numberChars];
    swprintf(text, c_numberChars, L"%d", value);
    const LRESULT found = ComboFind(id, text);
    if (found < 0 && IsEditableCombo(GetDlgItem(m_hwnd, id)))
        return SetItemText(id, text);
    return ComboSetCurSel(id, found < 0 ? 0 : static_cast<int>(found));
}

int Dialog::ComboGetInt(int id)
{
    wchar_t text[c_numberChars];
    if (ComboGetText(id, text, c_numberChars) < 0)
        return -1;
    return ParseInt(text);
}

LRESULT Dialog::ComboSetCurSel(int id, int index)
{
    if (index < 0 || index >= SendDlgItemMessageW(m_hwnd, id, CB_GETCOUNT, 0, 0))
        return -1;
    return SendDlgItemMessageW(m_hwnd, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LRESULT Dialog::ComboGetCurSel(int id) { return SendDlgItemMessageW(m_hwnd, id, CB_GETCURSEL, 0, 0); }

int Dialog::ComboGetText(int id, wchar_t* out, int capacity)
{
    if (!out || capacity < 1)
        return -1;
    out[0] = 0;
    const HWND combo = GetDlgItem(m_hwnd, id);
    if (!combo)
        return -1;
    if (IsEditableCombo(combo)) {
        GetWindowTextW(combo, out, capacity);
        return 1;
    }
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0)
        return -1;
    // The entry must fit the caller's buffer; a longer one reads as no selection.
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length < 0 || length >= capacity)
        return -1;
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(out));
    return 1;
}

BOOL Dialog::CheckItem(int id, UINT state) { return CheckDlgButton(m_hwnd, id, state); }

UINT Dialog::IsItemChecked(int id) { return IsDlgButtonChecked(m_hwnd, id); }

LRESULT Dialog::SetSpinRange(int id, int low, int high)
{
    return SendDlgItemMessageW(m_hwnd, id, UDM_SETRANGE, 0, MAKELPARAM(high, low));
}

void Dialog::SetSliderRange(int id, int minimum, int maximum, int tickFrequency)
{
    SendDlgItemMessageW(m_hwnd, id, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
    SendDlgItemMessageW(m_hwnd, id, TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageW(m_hwnd, id, TBM_SETPAGESIZE, 0, 10);
    SendDlgItemMessageW(m_hwnd, id, TBM_SETTICFREQ, static_cast<WPARAM>(tickFrequency), 0);
}

void Dialog::SetSliderPos(int id, int position) { SendDlgItemMessageW(m_hwnd, id, TBM_SETPOS, TRUE, position); }

LRESULT Dialog::GetSliderPos(int id) { return SendDlgItemMessageW(m_hwnd, id, TBM_GETPOS, 0, 0); }

LRESULT Dialog::LimitText(int id, int count)
{
    if (count < 1 || count > c_maxTextLimit)
        count = c_maxTextLimit;
    return SendDlgItemMessageW(m_hwnd, id, EM_LIMITTEXT, static_cast<WPARAM>(count), 0);
}

LRESULT Dialog::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        m_hwnd = window;
        return OnInitDialog();
    case WM_DESTROY:
        OnDestroy();
        return 1;
    case WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        OnPaint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_NOTIFY: {
        LRESULT result = 0;
        OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result);
        return result;
    }
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

int AboutDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    CenterOnScreen();
    return 1;
}
