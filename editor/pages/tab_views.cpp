#include "editor/pages/tab_views.h"

#include "editor/pages/btn_page.h"
#include "editor/pages/layout_pages.h"
#include "editor/resources/resource_ids.h"

namespace {
const wchar_t c_windowTab[] = L"窗口设置";
const wchar_t c_buttonTab[] = L"按钮设置";
const wchar_t c_compButtonTab[] = L"写作窗口按钮设置";
const wchar_t c_candButtonTab[] = L"候选窗口按钮设置";

// The button page of button set (window) 1..6.
SubDialog* NewButtonPage(int set) { return new BtnPage(set); }
}  // namespace

HorizontalCombineView::HorizontalCombineView() : SubDialogTab(t_partIndex::e_horizontalCombined) {}

void HorizontalCombineView::CreateTabs()
{
    AddPage(c_windowTab, new HorizontalCombinePage, c_dialogCombinePage);
    AddPage(c_buttonTab, NewButtonPage(1), c_dialogButtonPage);
}

HorizontalSeparateView::HorizontalSeparateView() : SubDialogTab(t_partIndex::e_horizontalSeparate) {}

void HorizontalSeparateView::CreateTabs()
{
    AddPage(c_windowTab, new HorizontalSeparatePage, c_dialogSeparatePage);
    AddPage(c_compButtonTab, NewButtonPage(2), c_dialogButtonPage);
    AddPage(c_candButtonTab, NewButtonPage(3), c_dialogButtonPage);
}

VerticalCombineView::VerticalCombineView() : SubDialogTab(t_partIndex::e_verticalCombined) {}

void VerticalCombineView::CreateTabs()
{
    AddPage(c_windowTab, new VerticalCombinePage, c_dialogCombinePage);
    AddPage(c_buttonTab, NewButtonPage(4), c_dialogButtonPage);
}

VerticalSeparateView::VerticalSeparateView() : SubDialogTab(t_partIndex::e_verticalSeparate) {}

void VerticalSeparateView::CreateTabs()
{
    AddPage(c_windowTab, new VerticalSeparatePage, c_dialogSeparatePage);
    AddPage(c_compButtonTab, NewButtonPage(5), c_dialogButtonPage);
    AddPage(c_candButtonTab, NewButtonPage(6), c_dialogButtonPage);
}
