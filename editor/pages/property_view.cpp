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

PropertyView::PropertyView() : m_current(-1), m_started(false), m_loaded(false), m_pages() {}

bool PropertyView::IsPageMade(int index) const { return index >= 0 && index < c_pageCount && m_pages[index]; }

SubDialog* PropertyView::Page(int index)
{
    if (index < 0 || index >= c_pageCount)
        return nullptr;
    return m_pages[index] ? m_pages[index] : MakePage(index);
}

SubDialog* PropertyView::MakePage(int index)
{
    if (!m_started || !m_hwnd)
        return nullptr;
    SubDialog* page = nullptr;
    int templateId = SubDialogTab::c_templateId;
    switch (index) {
    case 0:
        page = new GeneralInfoView;
        templateId = c_dialogGeneralInfo;
        break;
    case 1:
        page = new DisplayView;
        templateId = c_dialogDisplay;
        break;
    case 2:
        page = new HorizontalCombineView;
        break;
    case 3:
        page = new HorizontalSeparateView;
        break;
    case 4:
        page = new VerticalCombineView;
        break;
    case 5:
        page = new VerticalSeparateView;
        break;
    default:
        page = new StatusView;
        templateId = c_dialogStatusPage;
        break;
    }
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
    page->Create(module, templateId, m_hwnd);
    AddChild(page);
    m_pages[index] = page;
    // Made hidden: ShowPage shows the page it makes current.
    page->Show(SW_HIDE);
    if (m_loaded)
        page->LoadFromModel();
    return page;
}

void PropertyView::OnDestroy()
{
    for (SubDialog*& page : m_pages)
        page = nullptr;
    m_started = false;
    m_current = -1;
    Frame::OnDestroy();
}

void PropertyView::CreatePages()
{
    if (m_started)
        return;
    m_started = true;
    ShowPage(0);
}

void PropertyView::FitCurrentPage(bool repaint)
{
    SubDialog* page = IsPageMade(m_current) ? m_pages[m_current] : nullptr;
    if (!page || !page->GetHwnd())
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    MoveWindow(page->GetHwnd(), 0, 0, client.right, client.bottom, repaint);
}

void PropertyView::ShowPage(int index)
{
    if (!Page(index))
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
    for (int i = 0; i < c_pageCount; ++i) {
        if (i != index && m_pages[i])
            m_pages[i]->Show(SW_HIDE);
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
    SubDialog* page = IsPageMade(m_current) ? m_pages[m_current] : nullptr;
    if (!page) {
        width = c_naturalWidth;
        height = 0;
        return;
    }
    page->GetSize(width, height);
}

int PropertyView::RefreshAll()
{
    m_loaded = true;
    for (SubDialog* page : m_pages) {
        if (page)
            page->LoadFromModel();
    }
    SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_reloadAllUnmodified, 1), 0);
    return 1;
}

int PropertyView::CommitAll()
{
    for (int i = 0; i < c_pageCount; ++i) {
        SubDialog* page = m_loaded ? Page(i) : m_pages[i];
        if (page)
            page->StoreToModel();
    }
    return 1;
}

int PropertyView::ClearAll()
{
    m_loaded = false;
    for (SubDialog* page : m_pages) {
        if (page)
            page->Clear();
    }
    return 1;
}
