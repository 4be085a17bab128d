// A page that holds child pages behind a tab strip (dialog 146 with tab control 1200).
// The view is as wide as its widest child and as tall as its tallest child plus the strip;
// when its area is shorter than the current child needs it scrolls vertically. The child
// pages' change notices pass through it to its parent unchanged.
#pragma once

#include "editor/pages/sub_dialog.h"

class SubDialogTab : public SubDialog {
public:
    static const int c_templateId = 146;

    explicit SubDialogTab(t_partIndex part);

    // The view's own part, then every child in order; 1.
    int LoadFromModel() override;
    // Every child in order; 1.
    int StoreToModel() override;
    void OnSize(WPARAM type, LPARAM size) override;
    int OnInitDialog() override;
    int OnNotify(int id, NMHDR* header, LRESULT& result) override;
    // Every child in order, then the view's own part; 1.
    int Clear() override;

    // Builds the child pages, each created as a modeless child of this view, and adds them
    // in tab order.
    virtual void CreateTabs() = 0;

    // A tab with caption at the end of the strip for page (already a child of this view).
    void AddTab(const wchar_t* caption, SubDialog* page);
    int TabCount() const { return ChildCount(); }
    SubDialog* Page(int index) const;
    HWND TabControl() const { return m_tab; }
    int TabBottom() const { return m_tabBottom; }
    // Shows the page of the selected tab, hides the others and fits the scroll bar again.
    void ShowCurrentTab();

protected:
    // Creates page from templateId as a child of this view and adds its tab.
    void AddPage(const wchar_t* caption, SubDialog* page, int templateId);

private:
    // Sizes the view, the strip and every child from the children's sizes.
    void Layout();

    HWND m_tab;
    int m_tabBottom;
    int m_lastWidth;
    int m_lastHeight;
};
