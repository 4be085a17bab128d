#include "editor/pages/property_view.h"

#include "editor/framework/editor_messages.h"
#include "editor/pages/display_view.h"
#include "editor/pages/general_info_view.h"
#include "editor/pages/status_view.h"
#include "editor/pages/tab_views.h"
#include "editor/resources/resource_ids.h"

namespace {
// The pages' width when no page is shown yet.
const int c_naturalWidth = 360;
}  // namespace

PropertyView::PropertyView() : m_current(-1) {}

SubDialog* PropertyView::Page(int index) const { return static_cast<SubDialog*>(ChildAt(index)); }

void PropertyView::CreatePages()
{
    if (ChildCount() > 0)
        return;
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    struct t_page {
        SubDialog* page;
        int templateId;
    };
    const t_page pages[c_pageCount] = {
        {new GeneralInfoView, c_dialogGeneralInfo},
        {new DisplayView, c_dialogDisplay},
        {new HorizontalCombineView, SubDialogTab::c_templateId},
        {new HorizontalSeparateView, SubDialogTab::c_templateId},
        {new VerticalCombineView, SubDialogTab::c_templateId},
        {new VerticalSeparateView, SubDialogTab::c_templateId},
        {new StatusView, c_dialogStatusPage},
    };
    for (const t_page& entry : pages) {
        entry.page->Create(module, entry.templateId, m_hwnd);
        AddChild(entry.page);
    }
    ShowPage(0);
}

void PropertyView::FitCurrentPage(bool repaint)
{
    SubDialog* page = Page(m_current);
    if (!page || !page->GetHwnd())
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    MoveWindow(page->GetHwnd(), 0, 0, client.right, client.bottom, repaint);
}

void PropertyView::ShowPage(int index)
{
    if (index < 0 || index >= ChildCount())
        return;
    if (index == m_current) {
        Page(index)->Show(SW_HIDE);
        Page(index)->Show(SW_SHOW);
        FitCurrentPage(true);
        return;
    }
    m_current = index;
    FitCurrentPage(false);
    Page(index)->Show(SW_SHOW);
    for (int i = 0; i < ChildCount(); ++i) {
        if (i != index)
            Page(i)->Show(SW_HIDE);
    }
}

LRESULT PropertyView::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        FitCurrentPage(true);
        break;
    case WM_ERASEBKGND:
        return 1;
    case n_editorMessage::c_selectPage:
        if (LOWORD(wParam) >= c_pageCount)
            return 0;
        ShowPage(LOWORD(wParam));
        return 1;
    case n_editorMessage::c_skinChanged:
        SendToParent(message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void PropertyView::GetSize(int& width, int& height)
{
    SubDialog* page = Page(m_current);
    if (!page) {
        width = c_naturalWidth;
        height = 0;
        return;
    }
    page->GetSize(width, height);
}

int PropertyView::RefreshAll()
{
    for (int i = 0; i < ChildCount(); ++i)
        Page(i)->LoadFromModel();
    SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_reloadAllUnmodified, 1), 0);
    return 1;
}

int PropertyView::CommitAll()
{
    for (int i = 0; i < ChildCount(); ++i)
        Page(i)->StoreToModel();
    return 1;
}

int PropertyView::ClearAll()
{
    for (int i = 0; i < ChildCount(); ++i)
        Page(i)->Clear();
    return 1;
}
