// The host of the picture editors of one window's buttons on a button page: one editor per
// button in flat order, shown one at a time below the button list. It keeps a working copy
// of the button set, so that the values of buttons whose editor was never opened survive
// a save unchanged.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin_model/btn_ctrl_base.h"

class BtnInfo;
class ButtonArray;

class BtnView : public BtnCtrlBase {
public:
    // table: the built-in buttons in display order, builtInCount entries long.
    BtnView(const t_btnDesc* table, int builtInCount, int windowIndex);
    virtual ~BtnView();
    BtnView(const BtnView&) = delete;
    BtnView& operator=(const BtnView&) = delete;

    // Keeps style, parent and instance for later editors. The status bar's editors are all
    // created now (false at the first failure); the other windows' when first selected.
    bool Create(DWORD style, HWND parent, HINSTANCE instance);
    // The editors are placed under this list.
    void SetListControl(HWND list) { m_list = list; }

    // Takes the set: the working copy follows it, the editors of its extra buttons replace
    // the old ones, every created editor loads, and the set is written into Skin.ini.
    void Load(BtnInfo& set);
    // The working copy into the set, then every created editor's values.
    void SaveTo(BtnInfo& set);

    // Shows the editor of a button (creating and loading it when needed) and hides the
    // others. Nothing more when it is current already, unless forced.
    void Select(int flat, bool force);
    void SetArea(const RECT& area);
    void MaxEditorSize(int& width, int& height) const;
    bool FirstEditorRect(RECT& out) const;

    // An editor for a new button of an extra type, numbered after the existing ones;
    // returns its flat number, -1 for a type that is not extra.
    int AddEditor(int type);
    // Removes the editor of an extra button; the editors after it take their new numbers
    // and keys. False for a built-in button or a flat number out of range.
    bool DeleteEditor(int flat);

    void SetButtonPosition(int flat, int x, int y);
    void SetButtonShown(int flat, bool shown);

    int CurrentEditor() const { return m_current; }
    int EditorCount() const { return static_cast<int>(m_editors.size()); }
    // Null out of range.
    ButtonArray* Editor(int flat) const;
    const BtnInfo* WorkingCopy() const { return m_copy.get(); }
    const BtnInfo* EditedSet() const { return m_set; }

private:
    struct t_editor {
        ButtonArray* editor;
        bool shown;
    };

    // The picture groups and rows of a button, bound to its keys and default picture names.
    void BuildButtonGroup(ButtonArray& editor, int index, int type) const;
    ButtonArray* NewEditor(int flat) const;
    bool CreateEditorWindow(int flat);
    void DestroyEditor(int flat);
    // Editors from flat on are made again for the buttons now at their flat numbers.
    void RenumberFrom(int flat);
    void PlaceCurrent();

    std::vector<t_editor> m_editors;
    int m_current;
    RECT m_area;
    HWND m_parent;
    BtnInfo* m_set;
    std::unique_ptr<BtnInfo> m_copy;
    DWORD m_style;
    HINSTANCE m_instance;
    HWND m_list;
    bool m_created;
};
