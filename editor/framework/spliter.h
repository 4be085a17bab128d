// The bar between the page area and the preview: dragged sideways to resize the pages,
// clicked on its arrow band to collapse or restore them. It posts 1132 to its parent.
#pragma once

#include "editor/framework/window.h"

class t_wndSpliter : public Window {
public:
    // Codes of message 1132's lParam (anything else is a drag offset).
    static const LPARAM c_collapse = 0x80000001;
    static const LPARAM c_relayout = 0x80000002;
    static const int c_width = 3;

    explicit t_wndSpliter(int orientation = 0);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // A "STATIC" child whose window procedure is replaced by the splitter's.
    int CreateBar(HWND parent, HINSTANCE module);
    void SetCollapsed(bool collapsed) { m_collapsed = collapsed; }
    bool IsCollapsed() const { return m_collapsed; }

private:
    void Paint(HWND window);
    // The band from H / 2 - 30 to H / 2 + 30 that toggles instead of dragging.
    static bool InArrowBand(HWND window, int y);

    int m_orientation;
    int m_pressX;
    int m_pressY;
    bool m_dragging;
    bool m_collapsed;
};

LRESULT CALLBACK SpliterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
