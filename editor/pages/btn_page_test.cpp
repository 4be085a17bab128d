// The six button pages of the input windows, driven inside the running main frame: the
// button list with its check boxes, the picture editor of the selected button, and the
// custom buttons added and deleted, with every change followed into the model, Skin.ini
// and the preview.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/pages/btn_page.h"
#include "editor/pages/property_view.h"
#include "editor/pages/sub_dialog_tab.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/ime_skin.h"
#include "tests/support/editor_session.h"
#include "tests/support/flat_png.h"
#include "tests/support/real_mouse.h"
#include "tests/support/temp_folder.h"

namespace {
// Where the page of each button set sits: tree page and tab.
struct t_pagePlace {
    int page;
    int tab;
};
const t_pagePlace c_places[7] = {{-1, -1}, {2, 1}, {3, 1}, {3, 2}, {4, 1}, {5, 1}, {5, 2}};

std::wstring RowText(HWND list, int row)
{
    wchar_t text[128] = L"";
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring Key(int index, int type, int property)
{
    t_str key;
    MakePropertyKey(key, index, type, property);
    return key.c_str();
}

// The set's own key as Skin.ini holds it (with the set's prefix).
std::wstring FullKey(const BtnInfo& set, int index, int type, int property)
{
    t_str full;
    set.FullKey(full, Key(index, type, property).c_str());
    return full.c_str();
}

class BtnPages : public t_editorSessionTest {
protected:
    // The page of set 1..6, shown as the designer would: tree page, then its tab.
    BtnPage* Page(int set)
    {
        const t_pagePlace place = c_places[set];
        Pages()->ShowPage(place.page);
        SubDialogTab* view = static_cast<SubDialogTab*>(Pages()->Page(place.page));
        TabCtrl_SetCurSel(view->TabControl(), place.tab);
        view->ShowCurrentTab();
        return dynamic_cast<BtnPage*>(view->Page(place.tab));
    }
    static HWND ListOf(BtnPage* page) { return GetDlgItem(page->GetHwnd(), c_btnPageList); }
    static BtnInfo& SetOf(int set) { return IMESkin::Instance()->ButtonSet(set); }
    static void Click(BtnPage* page, int id)
    {
        SendMessageW(page->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page->GetHwnd(), id)));
    }
    t_tempFolder m_folder{L"btnpages"};
};

TEST_F(BtnPages, EveryPageListsTheBuiltInButtonsInDisplayOrderWithTheirVisibility)
{
    const t_btnDesc* order = BtnPage::DisplayOrder();
    const int expected[BtnPage::c_builtInCount] = {0, 1, 2, 4, 3, 5, 7, 10, 6, 12, 8, 9};
    for (int i = 0; i < BtnPage::c_builtInCount; ++i) {
        EXPECT_EQ(expected[i], order[i].index) << i;
        EXPECT_EQ(c_btnBuiltIn, order[i].type) << i;
    }
    for (int setNumber = 1; setNumber <= 6; ++setNumber) {
        BtnPage* page = Page(setNumber);
        ASSERT_NE(nullptr, page) << setNumber;
        EXPECT_EQ(setNumber, page->ButtonSet());
        EXPECT_TRUE(IsWindowVisible(page->GetHwnd())) << setNumber;
        BtnInfo& set = SetOf(setNumber);
        EXPECT_EQ(&set, page->Part());
        const HWND list = ListOf(page);
        const int extras = set.Count(c_btnCustom) + set.Count(c_btnFlash) + set.Count(c_btnPhotoFrame);
        ASSERT_EQ(BtnPage::c_builtInCount + extras, ListView_GetItemCount(list)) << setNumber;
        for (int row = 0; row < BtnPage::c_builtInCount; ++row) {
            EXPECT_EQ(ButtonCaptionOf(order[row].index, c_btnBuiltIn), RowText(list, row)) << setNumber << "/" << row;
            EXPECT_EQ(set.IsButtonVisible(set.RowOf(order[row].index, c_btnBuiltIn)), page->List().IsChecked(row))
                << setNumber << "/" << row;
        }
        // Button 0 is selected in the list and its editor is the one shown.
        EXPECT_EQ(0, page->List().SelectedRow());
        EXPECT_EQ(0, page->View().CurrentEditor());
    }
}

TEST_F(BtnPages, CheckBoxWritesTheDisplayKeyIntoSkinIniAndThePreview)
{
    const int setNumber = 3;
    BtnPage* page = Page(setNumber);
    ASSERT_NE(nullptr, page);
    BtnInfo& set = SetOf(setNumber);
    const HWND list = ListOf(page);
    const int row = 3;  // the simplified/traditional button
    const t_btnDesc button = BtnPage::DisplayOrder()[row];
    const std::wstring key = FullKey(set, button.index, button.type, c_propDisplay);
    for (bool checked : {true, false}) {
        PreviewChanges().clear();
        ToggleCheck(list, row, checked);
        EXPECT_EQ(checked, set.IsButtonVisible(set.RowOf(button.index, button.type)));
        EXPECT_TRUE(ChangedPart(7 + setNumber)) << checked;
        EXPECT_EQ(checked ? L"1" : L"0", IniValue(set.Section(), key)) << checked;
    }
    EXPECT_TRUE(m_frame->IsModified());
}

TEST_F(BtnPages, SelectingARowShowsItsEditorUnderTheList)
{
    BtnPage* page = Page(1);
    ASSERT_NE(nullptr, page);
    const HWND list = ListOf(page);
    RECT listRect;
    GetWindowRect(list, &listRect);
    MapWindowPoints(nullptr, page->GetHwnd(), reinterpret_cast<POINT*>(&listRect), 2);
    for (int row : {4, 10, 11, 0}) {
        SelectRow(list, row);
        ASSERT_EQ(row, page->View().CurrentEditor());
        for (int other = 0; other < page->View().EditorCount(); ++other) {
            const ButtonArray* editor = page->View().Editor(other);
            EXPECT_EQ(other == row, editor->IsCreated() && IsWindowVisible(editor->GetHwnd())) << row << "/" << other;
        }
        ButtonArray* editor = page->View().Editor(row);
        RECT placed;
        GetWindowRect(editor->GetHwnd(), &placed);
        MapWindowPoints(nullptr, page->GetHwnd(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(listRect.left, placed.left);
        EXPECT_EQ(listRect.bottom + 6, placed.top);

        // Groups: one per picture variant; the page buttons show one row in their second.
        const t_btnDesc button = BtnPage::DisplayOrder()[row];
        EXPECT_EQ(button.index, editor->ButtonIndex());
        int group = 0;
        for (ButtonArray::t_list* list = editor->FirstGroup(); list; list = list->Next(), ++group) {
            int rows = 0;
            for (ButtonArray::t_item* item = list->FirstRow(); item; item = item->Next())
                ++rows;
            const bool single = group == 1 && (button.index == c_btnPageUp || button.index == c_btnPageDown);
            EXPECT_EQ(single ? 1 : 7, rows) << row << "/" << group;
        }
        EXPECT_EQ(ButtonVariantCountOf(button.index, button.type), group);
        // Rows are bound to the set's keys and the default picture names.
        ButtonArray::t_item* down = editor->FindRow(0, c_propDown);
        ASSERT_NE(nullptr, down);
        EXPECT_EQ(Key(button.index, button.type, c_propDown), down->PropertyKey());
        t_str name;
        MakeDefaultImageName(name, button.index, button.type, 0, c_propDown, 1);
        EXPECT_EQ(0, std::wstring(name.c_str()).find(down->ExpectedBase()));
        EXPECT_EQ(std::wstring(name.c_str()).rfind(L'.'), wcslen(down->ExpectedBase()));
    }
}

TEST_F(BtnPages, AddingAndDeletingCustomButtonsRenumbersCaptionsKeysAndPictures)
{
    const int setNumber = 2;
    BtnPage* page = Page(setNumber);
    ASSERT_NE(nullptr, page);
    BtnInfo& set = SetOf(setNumber);
    const HWND list = ListOf(page);
    const int first = set.Count(c_btnCustom);
    const int firstRow = BtnPage::c_builtInCount + first;
    ASSERT_EQ(0, set.Count(c_btnFlash) + set.Count(c_btnPhotoFrame));

    Click(page, c_btnPageAddCustom);
    Click(page, c_btnPageAddCustom);
    ASSERT_EQ(first + 2, set.Count(c_btnCustom));
    ASSERT_EQ(firstRow + 2, ListView_GetItemCount(list));
    EXPECT_EQ(firstRow + 1, page->List().SelectedRow());
    EXPECT_EQ(firstRow + 1, page->View().CurrentEditor());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ButtonCaptionOf(first + i, c_btnCustom), RowText(list, firstRow + i));
        EXPECT_FALSE(page->List().IsChecked(firstRow + i));
        const ButtonArray* editor = page->View().Editor(firstRow + i);
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(c_btnCustom, editor->ButtonType());
        EXPECT_EQ(first + i, editor->ButtonIndex());
    }
    EXPECT_TRUE(ChangedPart(7 + setNumber));

    // The second new button gets a picture through its editor's import.
    const std::wstring picture = m_folder.Path() + L"\\a.png";
    ASSERT_TRUE(WriteRaw(picture, FlatPng(4, 4, {0xFF0000FFu})));
    ButtonArray::t_item* normal = page->View().Editor(firstRow + 1)->FindRow(0, c_propNormal);
    ASSERT_NE(nullptr, normal);
    normal->ImportFile(picture.c_str());
    EXPECT_TRUE(normal->HasPicture());
    const std::wstring oldKey = Key(first + 1, c_btnCustom, c_propNormal);
    t_str stored;
    ASSERT_TRUE(set.GetStringByKey(oldKey.c_str(), 0, stored));
    EXPECT_FALSE(stored.IsEmpty());

    // Deleting the first renames the second to its number in caption, editor and keys;
    // its picture follows under the new button's default name.
    SelectRow(list, firstRow);
    PreviewChanges().clear();
    Click(page, c_btnPageDelete);
    ASSERT_EQ(first + 1, set.Count(c_btnCustom));
    ASSERT_EQ(firstRow + 1, ListView_GetItemCount(list));
    EXPECT_EQ(ButtonCaptionOf(first, c_btnCustom), RowText(list, firstRow));
    EXPECT_EQ(firstRow, page->List().SelectedRow());
    EXPECT_EQ(firstRow, page->View().CurrentEditor());
    ButtonArray* moved = page->View().Editor(firstRow);
    ASSERT_NE(nullptr, moved);
    EXPECT_EQ(first, moved->ButtonIndex());
    ButtonArray::t_item* movedNormal = moved->FindRow(0, c_propNormal);
    ASSERT_NE(nullptr, movedNormal);
    const std::wstring newKey = Key(first, c_btnCustom, c_propNormal);
    EXPECT_EQ(newKey, movedNormal->PropertyKey());
    EXPECT_TRUE(movedNormal->HasPicture());
    EXPECT_EQ(0, std::wstring(movedNormal->FileName()).find(movedNormal->ExpectedBase()));
    ASSERT_TRUE(set.GetStringByKey(newKey.c_str(), 0, stored));
    EXPECT_STREQ(movedNormal->FileName(), stored.c_str());
    EXPECT_TRUE(ChangedPart(7 + setNumber));
    EXPECT_EQ(stored.c_str(), IniValue(set.Section(), FullKey(set, first, c_btnCustom, c_propNormal)));
    t_str countKey;
    set.FullKey(countKey, CountKeyOf(c_btnCustom));
    EXPECT_EQ(std::to_wstring(first + 1), IniValue(set.Section(), countKey.c_str()));

    // Delete with a built-in button selected does nothing; the last row deleted moves the
    // selection one up.
    SelectRow(list, 2);
    Click(page, c_btnPageDelete);
    EXPECT_EQ(firstRow + 1, ListView_GetItemCount(list));
    SelectRow(list, firstRow);
    Click(page, c_btnPageDelete);
    EXPECT_EQ(firstRow, ListView_GetItemCount(list));
    EXPECT_EQ(firstRow - 1, page->List().SelectedRow());
    EXPECT_EQ(firstRow - 1, page->View().CurrentEditor());
    EXPECT_EQ(first, set.Count(c_btnCustom));
}

TEST_F(BtnPages, LoadingASkinWithFewerButtonsRemovesTheSurplusRowsAndEditors)
{
    BtnPage* page = Page(4);
    ASSERT_NE(nullptr, page);
    const int rows = ListView_GetItemCount(ListOf(page));
    const int editors = page->View().EditorCount();
    Click(page, c_btnPageAddCustom);
    Click(page, c_btnPageAddFlash);
    Click(page, c_btnPageAddPhotoFrame);
    ASSERT_EQ(rows + 3, ListView_GetItemCount(ListOf(page)));
    ASSERT_EQ(editors + 3, page->View().EditorCount());
    // The flash button's editor has the flash file and preview rows.
    const ButtonArray* flash = page->View().Editor(rows + 1);
    ASSERT_NE(nullptr, flash);
    EXPECT_EQ(c_btnFlash, flash->ButtonType());
    EXPECT_NE(nullptr, flash->FindRow(0, c_propFlashFile));
    EXPECT_NE(nullptr, flash->FindRow(0, c_propFlashPreview));
    EXPECT_EQ(nullptr, flash->FindRow(0, c_propNormal));

    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    ASSERT_EQ(1, Command(c_cmdNew));
    EXPECT_EQ(rows, ListView_GetItemCount(ListOf(page)));
    EXPECT_EQ(editors, page->View().EditorCount());
    EXPECT_EQ(0, page->View().CurrentEditor());
}

TEST_F(BtnPages, EditorsNeverOpenedKeepTheirValuesThroughAStore)
{
    const int setNumber = 5;
    BtnInfo& set = SetOf(setNumber);
    const std::wstring key = Key(c_btnMenu, c_btnBuiltIn, c_propHover);
    ASSERT_TRUE(set.SetStringByKey(key.c_str(), 0, L"kept.bmp"));
    BtnPage* page = Page(setNumber);
    ASSERT_NE(nullptr, page);
    page->LoadFromModel();
    const int menuRow = 8;
    ASSERT_FALSE(page->View().Editor(menuRow)->IsCreated());
    ToggleCheck(ListOf(page), 0, !page->List().IsChecked(0));
    t_str value;
    ASSERT_TRUE(set.GetStringByKey(key.c_str(), 0, value));
    EXPECT_STREQ(L"kept.bmp", value.c_str());
}
}  // namespace

namespace {
TEST_F(BtnPages, ExtraButtonsComeBackWithTheSavedSkinAndFillingMarksNothing)
{
    BtnPage* page = Page(1);
    ASSERT_NE(nullptr, page);
    Click(page, c_btnPageAddCustom);
    const std::wstring package = m_folder.Path() + L"\\buttons.vsf";
    m_driver.Type(package);
    ASSERT_EQ(1, Command(c_cmdSave));
    ASSERT_TRUE(m_driver.AllAnswered());

    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    PreviewChanges().clear();
    ASSERT_EQ(1, m_frame->OnOpen(package.c_str()));
    for (WPARAM w : PreviewChanges())
        EXPECT_EQ(n_editorMessage::c_reloadAllUnmodified, LOWORD(w));
    // The added button came back with the skin.
    EXPECT_EQ(1, SetOf(1).Count(c_btnCustom));
    EXPECT_EQ(BtnPage::c_builtInCount + 1, ListView_GetItemCount(ListOf(page)));

    // Filling the button pages, editors included, marks nothing and tells nobody.
    for (int setNumber = 1; setNumber <= 6; ++setNumber) {
        BtnPage* shown = Page(setNumber);
        for (int row : {0, 4, 10, BtnPage::c_builtInCount})
            SelectRow(ListOf(shown), row);
        m_frame->SetModified(false);
        PreviewChanges().clear();
        EXPECT_EQ(1, shown->LoadFromModel());
        EXPECT_FALSE(m_frame->IsModified()) << setNumber;
        EXPECT_TRUE(PreviewChanges().empty()) << setNumber;
    }
}
}  // namespace

namespace {
// A shown custom button stays shown: its row is ticked again after the reopen, and a
// later edit of its pictures writes the set with the switch still on.
TEST_F(BtnPages, ExtraButtonVisibilitySurvivesReopenAndLaterEdits)
{
    const int setNumber = 1;
    BtnPage* page = Page(setNumber);
    ASSERT_NE(nullptr, page);
    Click(page, c_btnPageAddCustom);
    const int row = BtnPage::c_builtInCount + SetOf(setNumber).Count(c_btnCustom) - 1;
    const int index = SetOf(setNumber).Count(c_btnCustom) - 1;
    ToggleCheck(ListOf(page), row, true);
    const std::wstring key = FullKey(SetOf(setNumber), index, c_btnCustom, c_propDisplay);
    ASSERT_EQ(L"1", IniValue(SetOf(setNumber).Section(), key));

    SaveAndReopen(m_folder.Path() + L"\\shown.vsf");
    page = Page(setNumber);
    BtnInfo& set = SetOf(setNumber);
    ASSERT_EQ(index + 1, set.Count(c_btnCustom));
    EXPECT_TRUE(set.IsButtonVisible(set.RowOf(index, c_btnCustom)));
    EXPECT_TRUE(page->List().IsChecked(row));
    EXPECT_EQ(L"1", IniValue(set.Section(), key));

    // A picture of the button edited (as an import tells the page): the set is stored again.
    SelectRow(ListOf(page), row);
    SendMessageW(page->GetHwnd(), c_msgButtonStateEdited, 0, 0);
    EXPECT_TRUE(page->List().IsChecked(row));
    EXPECT_TRUE(set.IsButtonVisible(set.RowOf(index, c_btnCustom)));
    EXPECT_EQ(L"1", IniValue(set.Section(), key));
}

// A click at a point of a window's client area, with the real mouse.
void ClickAt(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    SendMouse(MOUSEEVENTF_MOVE, point.x, point.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 100);
}

TEST_F(BtnPages, MouseClicksOnTheListSelectAndToggleButtons)
{
    const int setNumber = 6;
    BtnPage* page = Page(setNumber);
    ASSERT_NE(nullptr, page);
    BringWindowToTop(m_frame->GetHwnd());
    SetForegroundWindow(m_frame->GetHwnd());
    PumpMessages(100);
    const HWND list = ListOf(page);
    BtnInfo& set = SetOf(setNumber);
    const int row = 5;
    RECT label = {};
    label.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)));
    ClickAt(list, label.left + 10, (label.top + label.bottom) / 2);
    EXPECT_EQ(row, page->List().SelectedRow());
    EXPECT_EQ(row, page->View().CurrentEditor());
    EXPECT_TRUE(IsWindowVisible(page->View().Editor(row)->GetHwnd()));

    // The check box sits left of the label.
    const t_btnDesc button = BtnPage::DisplayOrder()[row];
    const bool before = page->List().IsChecked(row);
    PreviewChanges().clear();
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds)));
    ClickAt(list, bounds.left + 8, (bounds.top + bounds.bottom) / 2);
    EXPECT_EQ(!before, page->List().IsChecked(row));
    EXPECT_EQ(!before, set.IsButtonVisible(set.RowOf(button.index, button.type)));
    EXPECT_TRUE(ChangedPart(7 + setNumber));
    EXPECT_EQ(before ? L"0" : L"1", IniValue(set.Section(), FullKey(set, button.index, button.type, c_propDisplay)));
}
}  // namespace
