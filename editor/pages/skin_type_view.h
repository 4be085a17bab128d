// The page tree on the left of the main window (dialog 129 with tree 1000): the seven
// pages as root items. A selection made in the tree asks the main frame for the page
// (1127); the frame's fan-out of 1127 selects the item of a page chosen elsewhere.
#pragma once

#include "editor/framework/dialog.h"

class SkinTypeView : public Dialog {
public:
    static const int c_templateId = 129;
    static const int c_pageCount = 7;

    SkinTypeView();
    ~SkinTypeView() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnSize(WPARAM type, LPARAM size) override;
    int OnInitDialog() override;
    int OnNotify(int id, NMHDR* header, LRESULT& result) override;

    int CurrentIndex() const { return m_current; }
    // The tree text of page index (0..6); null outside.
    static const wchar_t* PageText(int index);
    // The page index of a tree text; -1 for a text that names no page.
    static int PageOfText(const wchar_t* text);

private:
    // The frame's fan-out: selects the root item of page index unless it is current.
    void SelectPage(int index);

    int m_current;
};
