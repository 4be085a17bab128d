#include "editor/framework/wait_cursor.h"

WaitCursor::WaitCursor(HWND window) : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT)))
{
    const HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    // Paints only what is already invalid (a closed dialog's leftovers), no more.
    if (root)
        RedrawWindow(root, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
}

// A thread that had no cursor yet gets the arrow back rather than none.
WaitCursor::~WaitCursor() { SetCursor(m_previous ? m_previous : LoadCursorW(nullptr, IDC_ARROW)); }
