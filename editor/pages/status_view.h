// The status-bar page (page 6, dialog 134): the bar's background picture and mask, its
// transparent colour, the status buttons (button set 0) in a list with their picture
// editors, and the layout editor that shows the bar with one movable picture per button.
// Two radio buttons start and stop the animation test of the selected button in the
// preview.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "editor/framework/editor_messages.h"
#include "editor/pages/btn_check_list.h"
#include "editor/pages/btn_view.h"
#include "editor/pages/sub_dialog.h"
#include "foundation/core/str.h"

class BtnInfo;
class ColorPicker;
class OpenFileCtrl;
class StatusAdjustWnd;
class StatusInfo;

namespace n_statusView {
// The name an imported picture takes in the work folder: baseName plus the chosen file's
// extension (the text from its last '.' on, ".bmp" when it has none).
void ImportedName(t_str& out, const wchar_t* chosen, const wchar_t* baseName);
// Copies the chosen file into the work folder as ImportedName, overwriting; a failed copy
// is tried once more after deleting the target. A chosen file that already is the target
// is neither copied nor deleted. The new name in name; false when the copy failed.
bool ImportIntoWorkFolder(const wchar_t* chosen, const wchar_t* baseName, t_str& name);
// lParam of the animation test message: the button's type and index.
LPARAM AnimationButtonId(int index, int type);
}  // namespace n_statusView

class StatusView : public SubDialog {
public:
    static constexpr int c_builtInCount = 10;

    StatusView();
    ~StatusView() override;

    // The status bar's built-in buttons in display order, c_builtInCount long.
    static const t_btnDesc* DisplayOrder();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    // Binds the status part and button set 0 again and fills every control.
    int LoadFromModel() override;
    int StoreToModel() override;
    void OnSize(WPARAM type, LPARAM size) override;
    void OnPaint(HDC dc) override;
    int OnNotify(int id, NMHDR* header, LRESULT& result) override;
    int OnClick(int id) override;
    void OnHScroll(int request, HWND control) override;

    // The import of a chosen bar picture (or mask): copied into the work folder as "bar"
    // ("bar_mask") with its own extension; the part takes the name; the bar reloads (or the
    // mask is checked) and the change is told. False when the copy failed.
    bool ImportPicture(bool mask, const wchar_t* chosen);
    // A button of an extra type added to the set, the list, the editors, and selected; its
    // flat number, -1 when none could be added.
    int AddButton(int type);
    // Deletes the selected extra button; false when none is selected.
    bool DeleteSelected();
    // Radio buttons and the message to the main frame that starts (the selected button) or
    // stops the preview's animation test.
    void StartTest();
    void StopTest();

    StatusAdjustWnd* AdjustWindow() const { return m_adjust; }
    OpenFileCtrl* PictureControl() const { return m_picture; }
    OpenFileCtrl* MaskControl() const { return m_mask; }
    ColorPicker* TransparentPicker() const { return m_picker; }
    BtnView& View() { return m_view; }
    t_btnCheckList& List() { return m_list; }
    StatusInfo* Status() const;
    BtnInfo* Set() const { return m_set; }

private:
    void CreateChildren();
    void Layout();
    // The bar picture into the path control and the layout editor; false when it could
    // not be opened.
    bool LoadPicture();
    void LoadMask();
    // A mask whose file is missing is removed from the part and the control.
    void CheckMask();
    void LoadTransparency();
    void ApplyTransparentRule(bool used);
    // The colour the bar keys out: the picker's when the colour is used, else none (-1).
    int KeyColour();
    void SetKeyColour(int colour);
    void ReloadBar();
    void ShowElement(int flat, bool shown);
    // The bar element and the button's editor follow the row's check box.
    void ShowRow(int flat, bool shown);
    void OnListItemChanged(const NMLISTVIEW& change);
    // A button element got the focus: its button becomes the selected one.
    void OnElementFocused(int flat);
    void OnElementMoved(int flat, int x, int y);
    // A picture name from a button editor for element flat.
    void SendButtonPicture(int flat, WPARAM name);
    HWND MainFrame() const;

    StatusAdjustWnd* m_adjust;
    OpenFileCtrl* m_picture;
    OpenFileCtrl* m_mask;
    ColorPicker* m_picker;
    BtnView m_view;
    t_btnCheckList m_list;
    BtnInfo* m_set;
};
