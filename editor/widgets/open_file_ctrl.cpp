#include "editor/widgets/open_file_ctrl.h"

#include <algorithm>
#include <cstring>

#include "editor/resources/resource_ids.h"
#include "editor/widgets/file_dialog_preview.h"
#include "editor/widgets/widget_font.h"
#include "graphics/paint/module_instance.h"

namespace {
const wchar_t c_buttonText[] = L"导入...";
const int c_gap = 2;

HMENU ControlId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }
}  // namespace

OpenFileCtrl::OpenFileCtrl() : m_edit(nullptr), m_button(nullptr), m_notifyMessage(0)
{
    std::memset(m_filter, 0, sizeof(m_filter));
}

OpenFileCtrl::~OpenFileCtrl()
{
    // The window must not outlive the object its messages reach, nor the font its
    // controls draw with.
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    m_hwnd = nullptr;
}

bool OpenFileCtrl::Create(HWND parent, const RECT& rect, const wchar_t* label, int labelWidth, int editWidth,
                          int buttonWidth, UINT notifyMessage)
{
    m_notifyMessage = notifyMessage;
    HINSTANCE module = GetModuleInstance();
    if (!Frame::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, rect.left, rect.top, rect.right,
                       rect.bottom, parent, module))
        return false;
    const WPARAM font = reinterpret_cast<WPARAM>(n_widgetFont::Shared());
    SendMessageW(m_hwnd, WM_SETFONT, font, FALSE);

    const int height = rect.bottom - rect.top;
    HWND labelWindow = CreateWindowExW(0, L"STATIC", label ? label : L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0,
                                       labelWidth, height, m_hwnd, ControlId(IDC_STATIC), module, nullptr);
    m_edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", m_path.c_str(), WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL,
                        labelWidth + c_gap, 0, editWidth, height, m_hwnd, ControlId(c_editId), module, nullptr);
    m_button = CreateWindowExW(0, L"BUTTON", c_buttonText, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                               labelWidth + editWidth + 2 * c_gap, 0, buttonWidth, height, m_hwnd,
                               ControlId(c_buttonId), module, nullptr);
    for (HWND control : {labelWindow, m_edit, m_button}) {
        if (control)
            SendMessageW(control, WM_SETFONT, font, FALSE);
    }
    return true;
}

void OpenFileCtrl::SetFilter(const wchar_t* filter, int count)
{
    std::memset(m_filter, 0, sizeof(m_filter));
    const int copied = filter ? std::clamp(count, 0, c_filterCapacity) : 0;
    std::copy(filter, filter + copied, m_filter);
}

void OpenFileCtrl::SetPath(const wchar_t* path)
{
    m_path = path ? path : L"";
    if (m_edit)
        SetWindowTextW(m_edit, m_path.c_str());
}

LRESULT OpenFileCtrl::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == c_buttonId && HIWORD(wParam) == BN_CLICKED) {
        Browse();
        return 0;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void OpenFileCtrl::OnPaint(HDC dc)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void OpenFileCtrl::Browse()
{
    CFileDialogPreview dialog;
    dialog.Configure(GetModuleInstance(), c_dialogFilePreview, c_filePreviewPicture);
    if (!dialog.ChooseOpenFile(m_hwnd, m_filter[0] ? m_filter : nullptr, nullptr))
        return;
    m_chosen = dialog.GetPath();
    PostMessageW(GetParentHwnd(), m_notifyMessage, 0, 0);
}
