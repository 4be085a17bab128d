// The list of the buttons of one window on a button page: one row per button in flat
// order (the built-in buttons in the window's display order, then the extra buttons),
// each with a check box that shows whether the button is visible.
#pragma once

#include <windows.h>

#include "skin_model/btn_ctrl_base.h"

class BtnInfo;

class t_btnCheckList : public BtnCtrlBase {
public:
    static const int c_listId = 1033;

    // table: the built-in buttons in display order, builtInCount entries long.
    t_btnCheckList(const t_btnDesc* table, int builtInCount, int windowIndex);

    // Takes the list view of the parent dialog and initialises it.
    void Attach(HWND parent);
    // Styles, the one column and a row per built-in button.
    void Init();
    // The extra buttons of the set as rows after the built-in ones; every check box from
    // the button's display key.
    void Load(BtnInfo& set);
    // Every row's check state into its button's display key (nothing while filling).
    void Store(BtnInfo& set) const;

    // A new button of an extra type, numbered after the existing ones; returns its row.
    int AddRow(int type, bool checked);
    // Deletes the row of an extra button and renumbers the captions after it; false for a
    // built-in row or a row out of range.
    bool DeleteRow(int row);

    // Selects and focuses row, deselecting all others.
    void Select(int row);
    // The first selected row, -1 for none.
    int SelectedRow() const;
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);
    int RowCount() const;

    HWND Handle() const { return m_list; }
    bool IsFilling() const { return m_filling != 0; }

private:
    void InsertRow(int row, bool checked);
    void SetCaption(int row);

    int m_listId;
    HWND m_list;
    HWND m_parent;
    unsigned char m_filling;
};
