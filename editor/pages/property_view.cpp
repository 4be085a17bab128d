#include "editor/pages/property_view.h"

#include "editor/framework/messages.h"

namespace {
// The pages' width when no page is shown yet.
const int c_naturalWidth = 360;
}  // namespace

PropertyView::PropertyView() : m_current(-1) {}

LRESULT PropertyView::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == n_editorMessage::c_skinChanged) {
        SendToParent(message, wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == n_editorMessage::c_selectPage)
        return LOWORD(wParam) <= 6 ? 1 : 0;
    return Frame::WndProc(window, message, wParam, lParam);
}

void PropertyView::GetSize(int& width, int& height)
{
    width = c_naturalWidth;
    height = 0;
}

void PropertyView::CreatePages() {}

int PropertyView::RefreshAll()
{
    SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_reloadAllUnmodified, 1), 0);
    return 1;
}

int PropertyView::CommitAll() { return 1; }

int PropertyView::ClearAll() { return 1; }
