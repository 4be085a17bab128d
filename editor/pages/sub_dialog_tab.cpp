#include "editor/pages/sub_dialog_tab.h"

#include <commctrl.h>

#include "editor/resources/resource_ids.h"

SubDialogTab::SubDialogTab(t_partIndex part)
    : SubDialog(part), m_tab(nullptr), m_tabBottom(0), m_lastWidth(0), m_lastHeight(0)
{}

SubDialog* SubDialogTab::Page(int index) const { return static_cast<SubDialog*>(ChildAt(index)); }

int SubDialogTab::LoadFromModel()
{
    SubDialog::LoadFromModel();
    for (int i = 0; i < TabCount(); ++i)
        Page(i)->LoadFromModel();
    return 1;
}

int SubDialogTab::StoreToModel()
{
    for (int i = 0; i < TabCount(); ++i)
        Page(i)->StoreToModel();
    return 1;
}

int SubDialogTab::Clear()
{
    for (int i = 0; i < TabCount(); ++i)
        Page(i)->Clear();
    return SubDialog::Clear();
}

void SubDialogTab::AddTab(const wchar_t* caption, SubDialog* page)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption);
    const int count = static_cast<int>(SendMessageW(m_tab, TCM_GETITEMCOUNT, 0, 0));
    SendMessageW(m_tab, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
    AddChild(page);
}

void SubDialogTab::AddPage(const wchar_t* caption, SubDialog* page, int templateId)
{
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    page->Create(module, templateId, m_hwnd);
    AddTab(caption, page);
}

int SubDialogTab::OnInitDialog()
{
    SetLive(false);
    m_tab = GetItem(c_tabViewTabs);
    CreateTabs();
    Layout();
    // Records the laid-out size as the view's own.
    Dialog::OnInitDialog();
    SendMessageW(m_tab, TCM_SETCURSEL, 0, 0);
    ShowCurrentTab();
    return 1;
}

void SubDialogTab::Layout()
{
    RECT tab = {};
    GetWindowRect(m_tab, &tab);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&tab), 2);
    int width = 0;
    int childHeight = 0;
    for (int i = 0; i < TabCount(); ++i) {
        int w = 0;
        int h = 0;
        Page(i)->GetSize(w, h);
        width = w > width ? w : width;
        childHeight = h > childHeight ? h : childHeight;
    }
    m_tabBottom = tab.bottom;
    const int height = childHeight + m_tabBottom;
    SetWindowPos(m_hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_tab, nullptr, 0, 0, width - 2 * tab.left, tab.bottom - tab.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < TabCount(); ++i)
        SetWindowPos(Page(i)->GetHwnd(), nullptr, 0, m_tabBottom, width, height - m_tabBottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubDialogTab::ShowCurrentTab()
{
    const int selected = static_cast<int>(SendMessageW(m_tab, TCM_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= TabCount())
        return;
    for (int i = 0; i < TabCount(); ++i) {
        if (i != selected)
            ShowWindow(Page(i)->GetHwnd(), SW_HIDE);
    }
    ShowWindow(Page(selected)->GetHwnd(), SW_SHOW);
    OnSize(SIZE_RESTORED, MAKELPARAM(m_lastWidth, m_lastHeight));
}

void SubDialogTab::OnSize(WPARAM type, LPARAM size)
{
    m_lastWidth = LOWORD(size);
    m_lastHeight = HIWORD(size);
    const int selected = m_tab ? static_cast<int>(SendMessageW(m_tab, TCM_GETCURSEL, 0, 0)) : -1;
    if (selected < 0 || selected >= TabCount())
        return;
    int width = 0;
    int height = 0;
    Page(selected)->GetSize(width, height);
    // The base scrolls against the height it keeps: for a tab view that is what the
    // current child needs below the strip (and GetSize reports it).
    m_height = height + m_tabBottom;
    Dialog::OnSize(type, size);
}

int SubDialogTab::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (header && id == c_tabViewTabs && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        ShowCurrentTab();
        result = 1;
        return 1;
    }
    return SubDialog::OnNotify(id, header, result);
}
