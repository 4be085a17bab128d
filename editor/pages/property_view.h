// The view that hosts the seven property pages, one shown at a time: the information page,
// the display page, the four layout tab views and the status-bar page. It passes the
// pages' change notices on to the main frame.
#pragma once

#include "editor/framework/window.h"

class SubDialog;

class PropertyView : public Frame {
public:
    static const int c_pageCount = 7;

    PropertyView();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The current page's size; the pages' natural width before one is shown.
    void GetSize(int& width, int& height) override;

    // The seven pages as children of the view, in page order; then page 0 shows.
    void CreatePages();
    // Shows page index and hides the others; the current page is hidden, shown again and
    // fitted to the view.
    void ShowPage(int index);
    // Every page from the model; tells the frame (1128, full reload, not modified).
    int RefreshAll();
    int CommitAll();
    int ClearAll();

    int CurrentIndex() const { return m_current; }
    // Page 0..6; null before CreatePages or outside.
    SubDialog* Page(int index) const;

private:
    void FitCurrentPage(bool repaint);

    int m_current;
};
