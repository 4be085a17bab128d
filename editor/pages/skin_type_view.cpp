#include "editor/pages/skin_type_view.h"

#include <commctrl.h>

#include <cwchar>

#include "editor/framework/editor_messages.h"
#include "editor/resources/resource_ids.h"

namespace {
const wchar_t* const c_pageTexts[SkinTypeView::c_pageCount] = {
    L"皮肤信息",       L"输入窗口外观设置", L"横排合窗口设置", L"横排分窗口设置",
    L"竖排合窗口设置", L"竖排分窗口设置",   L"状态栏设置",
};
const int c_itemTextChars = 128;
}  // namespace

SkinTypeView::SkinTypeView() : m_current(0) {}

SkinTypeView::~SkinTypeView() = default;

const wchar_t* SkinTypeView::PageText(int index)
{
    return index >= 0 && index < c_pageCount ? c_pageTexts[index] : nullptr;
}

int SkinTypeView::PageOfText(const wchar_t* text)
{
    for (int i = 0; text && i < c_pageCount; ++i) {
        if (wcscmp(text, c_pageTexts[i]) == 0)
            return i;
    }
    return -1;
}

void SkinTypeView::OnDestroy()
{
    // Messages that reach the dialog after this object is gone must not find it.
    if (m_hwnd)
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    Dialog::OnDestroy();
}

int SkinTypeView::OnInitDialog()
{
    const HWND tree = GetItem(c_pageTreeControl);
    for (int i = 0; i < c_pageCount; ++i) {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<wchar_t*>(c_pageTexts[i]);
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    // The first page shows from the start: its item is selected before any notice can
    // reach the frame (the index is current already).
    m_current = 0;
    const LPARAM first = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    if (first)
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, first);
    return Dialog::OnInitDialog();
}

int SkinTypeView::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (!header || id != c_pageTreeControl || header->code != TVN_SELCHANGEDW)
        return Dialog::OnNotify(id, header, result);
    const NMTREEVIEWW* change = reinterpret_cast<const NMTREEVIEWW*>(header);
    wchar_t text[c_itemTextChars] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = change->itemNew.hItem;
    item.pszText = text;
    item.cchTextMax = c_itemTextChars;
    if (!item.hItem || !SendMessageW(header->hwndFrom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    const int index = PageOfText(text);
    result = 0;
    if (index < 0)
        return 0;
    if (index != m_current) {
        m_current = index;
        SendToParent(n_editorMessage::c_selectPage, static_cast<WPARAM>(index), 0);
    }
    return 1;
}

void SkinTypeView::SelectPage(int index)
{
    if (index == m_current || index < 0 || index >= c_pageCount)
        return;
    // Current before the selection moves: the tree's change notice then finds nothing new
    // and does not ask the frame a second time (which would re-pack the preview again).
    m_current = index;
    const HWND tree = GetItem(c_pageTreeControl);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int i = 0; item && i < index; ++i)
        item =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    if (item)
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void SkinTypeView::OnSize(WPARAM, LPARAM size)
{
    MoveWindow(GetItem(c_pageTreeControl), 0, 0, LOWORD(size), HIWORD(size), TRUE);
}

LRESULT SkinTypeView::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            return 1;
        break;
    case n_editorMessage::c_selectPage:
        SelectPage(LOWORD(wParam));
        return 0;
    default:
        break;
    }
    return Dialog::WndProc(window, message, wParam, lParam);
}
