// The view that hosts the seven property pages, one shown at a time: the information page,
// the display page, the four layout tab views and the status-bar page. It passes the
// pages' change notices on to the main frame. A page's window is made when the page is
// first shown or asked for, so start-up builds only the first page; a page made while a
// skin is open fills itself from it at once.
#pragma once

#include "editor/framework/window.h"

class SubDialog;

class PropertyView : public Frame {
public:
    static const int c_pageCount = 7;

    PropertyView();

    // The pages go with the child list; none is made after this.
    void OnDestroy() override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The current page's size; the pages' natural width before one is shown.
    void GetSize(int& width, int& height) override;

    // Page 0 as a child of the view, shown; the others follow on first use.
    void CreatePages();
    // Shows page index and hides the others; the current page is hidden, shown again and
    // fitted to the view.
    void ShowPage(int index);
    // Every made page from the model (the others fill themselves when made); tells the
    // frame (1128, full reload, not modified).
    int RefreshAll();
    // Every page into the model. While a skin is open, pages not made yet are made first:
    // a page's controls shape what it stores (text limits, percent steps).
    int CommitAll();
    // Every made page forgets its part.
    int ClearAll();

    int CurrentIndex() const { return m_current; }
    // Page 0..6, made (hidden) when it was not yet; null before CreatePages or outside.
    SubDialog* Page(int index);
    // Whether page index has its window yet.
    bool IsPageMade(int index) const;

private:
    void FitCurrentPage(bool repaint);
    SubDialog* MakePage(int index);

    int m_current;
    // Set by CreatePages: from then on pages can be made.
    bool m_started;
    // A skin is loaded into the pages (RefreshAll until ClearAll): a page made meanwhile
    // loads itself.
    bool m_loaded;
    // Not owned: the child list owns the made pages, in the order they were made.
    SubDialog* m_pages[c_pageCount];
};
