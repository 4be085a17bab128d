// The button page of one input window (button sets 1 to 6, dialog 147): the window's
// buttons in a list with visibility check boxes, and under it the picture editor of the
// selected button. Buttons of the three extra types are added and deleted here.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "editor/pages/btn_check_list.h"
#include "editor/pages/btn_view.h"
#include "editor/pages/sub_dialog.h"

class BtnInfo;

// What the pages with a button list share: extra buttons added to and deleted from a set,
// its list and its editors together.
namespace n_buttonPage {
// A button of an extra type: the set adds it, the list an unchecked row, the view its
// editor, and it is selected in both; its flat number, -1 when the type has no room.
int AddButton(BtnInfo& set, t_btnCheckList& list, BtnView& view, int type);
// The selected extra button removed from the set, the list and the view; the same row
// number is selected after it, or the row before when the last row went. The newly
// selected row; -1 when no extra button was selected.
int DeleteSelected(BtnInfo& set, t_btnCheckList& list, BtnView& view);
// Whether a list change toggled a row's check box, and to which state; the first check
// box a row gets on insertion is no toggle.
bool CheckToggled(const NMLISTVIEW& change, bool& checked);
}  // namespace n_buttonPage

class BtnPage : public SubDialog {
public:
    static const int c_templateId = 147;
    static const int c_builtInCount = 12;

    // set: the button set (window) 1..6.
    explicit BtnPage(int set);

    // The built-in buttons of the input windows in display order, c_builtInCount long.
    static const t_btnDesc* DisplayOrder();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    // Wide and tall enough for the list and the tallest editor under it.
    void GetSize(int& width, int& height) override;
    int LoadFromModel() override;
    int StoreToModel() override;
    // The page keeps its set for its whole life.
    int Clear() override;
    void OnSize(WPARAM type, LPARAM size) override;
    int OnNotify(int id, NMHDR* header, LRESULT& result) override;
    int OnClick(int id) override;

    // A button of an extra type added to the set, the list and the editors, and selected;
    // its flat number, -1 when the type has no room.
    int AddButton(int type);
    // Deletes the selected extra button; false when none is selected.
    bool DeleteSelected();

    int ButtonSet() const { return m_set; }
    BtnView& View() { return m_view; }
    t_btnCheckList& List() { return m_list; }

private:
    BtnInfo* Set() const;
    void LayoutEditorArea();
    void OnListItemChanged(const NMLISTVIEW& change);

    BtnView m_view;
    t_btnCheckList m_list;
    const t_btnDesc* m_order;
    int m_builtInCount;
    int m_set;
};
