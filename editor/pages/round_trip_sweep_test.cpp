// The round trip of every page, inside the running main frame: each control that edits the
// skin is given a value other than the one it shows, in turn; the preview's back buffer
// must change after each one the preview shows. Then the skin is saved and reopened: every
// control shows what it was given and the preview is pixel for pixel what it was before
// saving. Run on the default skin (File > New) and on a package zipped by Info-ZIP.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/pages/btn_page.h"
#include "editor/pages/display_view.h"
#include "editor/pages/layout_pages.h"
#include "editor/pages/property_view.h"
#include "editor/pages/status_view.h"
#include "editor/pages/sub_dialog_tab.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/manual_adjust_window.h"
#include "editor/widgets/open_file_ctrl.h"
#include "editor/widgets/status_adjust_wnd.h"
#include "skin_model/btn_ctrl_base.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/separate_info.h"
#include "skin_model/status_info.h"
#include "tests/support/editor_session.h"
#include "tests/support/exe_folder.h"
#include "tests/support/flat_png.h"
#include "tests/support/preview_pixels.h"
#include "tests/support/temp_folder.h"

namespace {

// How a control is given its new value.
enum class t_how {
    e_text,           // an edit: a text typed in
    e_number,         // a number edit: one more (one less where the page pulls it back)
    e_typed,          // an editable combo: a text typed into its edit
    e_list,           // a drop-down list: the next item, chosen
    e_check,          // a check box: clicked
    e_colourButton,   // a colour button: clicked, the colour dialog answers a new colour
    e_picker,         // the page's transparent-colour field: a colour chosen in its dialog
    e_separator,      // the separator's colour field
    e_import,         // an "导入..." button: a picture chosen in the file dialog (extra = its edit)
    e_slider,         // the opacity slider: moved
    e_grip,           // the adjustment window's anchor point: dragged (id = window 1 or 2)
    e_barPicture,     // the status page's picture field: a picture imported
    e_barMask,        // the status page's mask field
    e_rowCheck,       // the swept button's check box in the button list
    e_editorNumber,   // a number edit of the swept button's editor
    e_editorList,     // a drop-down list of the swept button's editor
    e_editorPicture,  // the swept button's normal-state picture: imported
    e_addCustom,      // the add-a-custom-button button
};

// Whether the preview shows the control.
enum class t_shown {
    e_no,
    e_yes,
    e_whenButtonShows
};

struct t_step {
    int page;
    int tab;
    const char* name;
    t_how how;
    int id;
    int extra;
    t_shown shown;
    // Switches that enable other controls of the page go first while they disable them.
    bool enabler;
};

// The button swept on every button page and the status page: the first of every list.
const int c_sweptRow = 0;
const int c_sweptButton = c_btnCnEn;
// The colour of a corner of every imported picture, given as the transparent colour.
const uint32_t c_keyColour = 0xFF00FF;

std::vector<t_step> SweepTable()
{
    using h = t_how;
    using s = t_shown;
    std::vector<t_step> table = {
        // 皮肤信息: the texts, not shown by the preview.
        {0, -1, "skin name", h::e_text, c_infoSkinName, 0, s::e_no, false},
        {0, -1, "skin version", h::e_text, c_infoSkinVersion, 0, s::e_no, false},
        {0, -1, "skin author", h::e_text, c_infoSkinAuthor, 0, s::e_no, false},
        {0, -1, "skin email", h::e_text, c_infoSkinEmail, 0, s::e_no, false},
        {0, -1, "skin time", h::e_text, c_infoSkinTime, 0, s::e_no, false},
        {0, -1, "skin info", h::e_text, c_infoSkinInfo, 0, s::e_no, false},
        // 输入窗口外观设置
        {1, -1, "font size", h::e_typed, c_displayFontSize, 0, s::e_yes, false},
        // Open: the sample in the preview did not change with the English face.
        {1, -1, "english font", h::e_typed, c_displayFontEn, 0, s::e_no, false},
        // The test prefix maps every Chinese face to one CJK face: the preview cannot tell them.
        {1, -1, "chinese font", h::e_typed, c_displayFontCh, 0, s::e_no, false},
        {1, -1, "pinyin colour", h::e_colourButton, c_displayPinyinColor, 0, s::e_yes, false},
        {1, -1, "first candidate colour", h::e_colourButton, c_displayFirstColor, 0, s::e_yes, false},
        {1, -1, "candidate colour", h::e_colourButton, c_displayCandColor, 0, s::e_yes, false},
        {1, -1, "hint colour", h::e_colourButton, c_displayHintColor, 0, s::e_no, false},
        {1, -1, "web page", h::e_text, c_displayWebpage, 0, s::e_no, false},
        // The glow lights the built-in page arrows only, which the skins' page buttons replace.
        {1, -1, "glow", h::e_check, c_displayGlow, 0, s::e_no, false},
        {1, -1, "aero", h::e_check, c_displayAero, 0, s::e_no, false},
        {1, -1, "large font", h::e_check, c_displayLargeFont, 0, s::e_no, false},
    };
    // The combined windows' pages.
    for (int page : {2, 4}) {
        const std::vector<t_step> rows = {
            {page, 0, "no picture", h::e_check, c_combineNoPicture, 0, s::e_yes, true},
            {page, 0, "picture", h::e_import, c_combinePictureImport, c_combinePicture, s::e_yes, false},
            {page, 0, "mask", h::e_import, c_combineMaskImport, c_combineMask, s::e_no, false},
            {page, 0, "horizontal stretch", h::e_list, c_combineHorizontalList, 0, s::e_yes, false},
            {page, 0, "vertical stretch", h::e_list, c_combineVerticalList, 0, s::e_yes, false},
            {page, 0, "left edge", h::e_number, c_combineLeftEdge, 0, s::e_yes, false},
            {page, 0, "right edge", h::e_number, c_combineRightEdge, 0, s::e_yes, false},
            {page, 0, "top edge", h::e_number, c_combineTopEdge, 0, s::e_yes, false},
            {page, 0, "bottom edge", h::e_number, c_combineBottomEdge, 0, s::e_yes, false},
            // The colour keys nothing until it is one the picture has (the next row).
            {page, 0, "no transparent colour", h::e_check, c_combineNoTransparent, 0, s::e_no, true},
            {page, 0, "transparent colour", h::e_picker, 0, 0, s::e_yes, false},
            {page, 0, "opacity", h::e_slider, c_layoutOpacitySlider, 0, s::e_yes, false},
            {page, 0, "no separator", h::e_check, c_combineNoSeparator, 0, s::e_yes, true},
            {page, 0, "separator colour", h::e_separator, 0, 0, s::e_yes, false},
            {page, 0, "separator left", h::e_number, c_combineSeparatorLeft, 0, s::e_yes, false},
            // Open: the right-hand margins did not change the combined window's preview.
            {page, 0, "separator right", h::e_number, c_combineSeparatorRight, 0, s::e_no, false},
            {page, 0, "pinyin top", h::e_number, c_combinePinyinTop, 0, s::e_yes, false},
            {page, 0, "pinyin to separator", h::e_number, c_combinePinyinSeparator, 0, s::e_yes, false},
            {page, 0, "pinyin left", h::e_number, c_combinePinyinLeft, 0, s::e_yes, false},
            {page, 0, "pinyin right", h::e_number, c_combinePinyinRight, 0, s::e_no, false},
            {page, 0, "candidates to separator", h::e_number, c_combineCandSeparator, 0, s::e_yes, false},
            {page, 0, "candidates bottom", h::e_number, c_combineCandBottom, 0, s::e_yes, false},
            {page, 0, "candidates left", h::e_number, c_combineCandLeft, 0, s::e_yes, false},
            {page, 0, "candidates right", h::e_number, c_combineCandRight, 0, s::e_no, false},
            {page, 0, "anchor left", h::e_number, c_combineAnchorLeft, 0, s::e_yes, false},
            {page, 0, "anchor top", h::e_number, c_combineAnchorTop, 0, s::e_yes, false},
            {page, 0, "anchor dragged", h::e_grip, 1, 0, s::e_yes, false},
        };
        table.insert(table.end(), rows.begin(), rows.end());
    }
    // The separate windows' pages.
    for (int page : {3, 5}) {
        const std::vector<t_step> rows = {
            {page, 0, "no picture", h::e_check, c_separateNoPicture, 0, s::e_yes, true},
            {page, 0, "pinyin picture", h::e_import, c_separatePinyinPictureImport, c_separatePinyinPicture, s::e_yes,
             false},
            {page, 0, "pinyin mask", h::e_import, c_separatePinyinMaskImport, c_separatePinyinMask, s::e_no, false},
            {page, 0, "candidate picture", h::e_import, c_separateCandPictureImport, c_separateCandPicture, s::e_yes,
             false},
            {page, 0, "candidate mask", h::e_import, c_separateCandMaskImport, c_separateCandMask, s::e_no, false},
            {page, 0, "pinyin horizontal stretch", h::e_list, c_separatePinyinHorizontalList, 0, s::e_yes, false},
            {page, 0, "pinyin vertical stretch", h::e_list, c_separatePinyinVerticalList, 0, s::e_yes, false},
            {page, 0, "candidate horizontal stretch", h::e_list, c_separateCandHorizontalList, 0, s::e_yes, false},
            {page, 0, "candidate vertical stretch", h::e_list, c_separateCandVerticalList, 0, s::e_yes, false},
            {page, 0, "pinyin left edge", h::e_number, c_separatePinyinLeftEdge, 0, s::e_yes, false},
            {page, 0, "pinyin right edge", h::e_number, c_separatePinyinRightEdge, 0, s::e_yes, false},
            {page, 0, "pinyin top edge", h::e_number, c_separatePinyinTopEdge, 0, s::e_yes, false},
            {page, 0, "pinyin bottom edge", h::e_number, c_separatePinyinBottomEdge, 0, s::e_yes, false},
            {page, 0, "candidate left edge", h::e_number, c_separateCandLeftEdge, 0, s::e_yes, false},
            {page, 0, "candidate right edge", h::e_number, c_separateCandRightEdge, 0, s::e_yes, false},
            {page, 0, "candidate top edge", h::e_number, c_separateCandTopEdge, 0, s::e_yes, false},
            {page, 0, "candidate bottom edge", h::e_number, c_separateCandBottomEdge, 0, s::e_yes, false},
            {page, 0, "no transparent colour", h::e_check, c_separateNoTransparent, 0, s::e_no, true},
            {page, 0, "transparent colour", h::e_picker, 0, 0, s::e_yes, false},
            {page, 0, "opacity", h::e_slider, c_layoutOpacitySlider, 0, s::e_yes, false},
            {page, 0, "pinyin top", h::e_number, c_separatePinyinTop, 0, s::e_yes, false},
            {page, 0, "pinyin bottom", h::e_number, c_separatePinyinBottom, 0, s::e_yes, false},
            {page, 0, "pinyin left", h::e_number, c_separatePinyinLeft, 0, s::e_yes, false},
            {page, 0, "pinyin right", h::e_number, c_separatePinyinRight, 0, s::e_yes, false},
            {page, 0, "candidates top", h::e_number, c_separateCandTop, 0, s::e_yes, false},
            {page, 0, "candidates bottom", h::e_number, c_separateCandBottom, 0, s::e_yes, false},
            {page, 0, "candidates left", h::e_number, c_separateCandLeft, 0, s::e_yes, false},
            {page, 0, "candidates right", h::e_number, c_separateCandRight, 0, s::e_yes, false},
            {page, 0, "anchor left", h::e_number, c_separateAnchorLeft, 0, s::e_yes, false},
            {page, 0, "anchor top", h::e_number, c_separateAnchorTop, 0, s::e_yes, false},
            {page, 0, "anchor dragged", h::e_grip, 1, 0, s::e_yes, false},
        };
        table.insert(table.end(), rows.begin(), rows.end());
    }
    // The six button pages: the first button's picture, its check box, its placement, and
    // a custom button added.
    const struct {
        int page;
        int tab;
    } buttonPages[] = {{2, 1}, {3, 1}, {3, 2}, {4, 1}, {5, 1}, {5, 2}};
    for (const auto& place : buttonPages) {
        const int p = place.page;
        const int t = place.tab;
        const std::vector<t_step> rows = {
            {p, t, "button picture", h::e_editorPicture, 0, 0, s::e_whenButtonShows, false},
            // A button is placed once it has an area: the area goes before the check box.
            {p, t, "button area", h::e_editorList, ButtonArrayComp::c_idArea, 0, s::e_whenButtonShows, false},
            {p, t, "button shown", h::e_rowCheck, 0, 0, s::e_yes, false},
            {p, t, "button target", h::e_editorList, ButtonArrayComp::c_idTarget, 0, s::e_whenButtonShows, false},
            // Open: the direction lists did not move the shown button in the preview.
            {p, t, "button vertical", h::e_editorList, ButtonArrayComp::c_idVertical, 0, s::e_no, false},
            {p, t, "button horizontal", h::e_editorList, ButtonArrayComp::c_idHorizontal, 0, s::e_no, false},
        };
        table.insert(table.end(), rows.begin(), rows.end());
        const char* const margins[4] = {"button margin top", "button margin bottom", "button margin left",
                                        "button margin right"};
        // A margin moves the button only on the side it is aligned to: the directions swept
        // above may leave it at the top and left, where the bottom and right margins do nothing.
        for (int margin = 0; margin < 4; ++margin)
            table.push_back({p, t, margins[margin], h::e_editorNumber, ButtonArrayComp::MarginEditId(margin), 0,
                             margin == 0 || margin == 2 ? s::e_whenButtonShows : s::e_no, false});
        table.push_back({p, t, "custom button added", h::e_addCustom, c_btnPageAddCustom, 0, s::e_no, false});
    }
    // 状态栏设置
    const std::vector<t_step> status = {
        {6, -1, "no bar picture", h::e_check, c_statusNoPicture, 0, s::e_yes, true},
        {6, -1, "bar picture", h::e_barPicture, 0, 0, s::e_yes, false},
        {6, -1, "bar mask", h::e_barMask, 0, 0, s::e_no, false},
        {6, -1, "no transparent colour", h::e_check, c_statusNoTransparent, 0, s::e_no, true},
        {6, -1, "transparent colour", h::e_picker, 0, 0, s::e_yes, false},
        {6, -1, "opacity", h::e_slider, c_statusOpacitySlider, 0, s::e_yes, false},
        {6, -1, "button x", h::e_editorNumber, ButtonArrayStatus::c_idXEdit, 0, s::e_whenButtonShows, false},
        {6, -1, "button y", h::e_editorNumber, ButtonArrayStatus::c_idYEdit, 0, s::e_whenButtonShows, false},
        {6, -1, "button picture", h::e_editorPicture, 0, 0, s::e_whenButtonShows, false},
        {6, -1, "button shown", h::e_rowCheck, 0, 0, s::e_yes, false},
        {6, -1, "custom button added", h::e_addCustom, c_statusAddCustom, 0, s::e_no, false},
    };
    table.insert(table.end(), status.begin(), status.end());
    return table;
}

// Controls of the pages that edit nothing of the skin, or whose edit the table reaches
// another way, by page (-1: every page) and id: why each is left out.
struct t_excluded {
    int page;
    int id;
    const char* why;
};
const t_excluded c_excluded[] = {
    {1, c_displayPreviewSize, "the preview's own font size, kept in memory and reset from the skin's size on opening"},
    {1, c_displayCandCount, "the preview's number of candidates, an editor setting of Kavrel.ini"},
    {-1, c_btnPageDelete, "removes an added button: the round trip of the extra buttons is the add's"},
    {-1, c_btnPageAddFlash, "created hidden: no designer reaches it"},
    {-1, c_btnPageAddPhotoFrame, "created hidden: no designer reaches it"},
    {6, c_statusDelete, "removes an added button: the round trip of the extra buttons is the add's"},
    {6, c_statusAddFlash, "created hidden: no designer reaches it"},
    {6, c_statusAddPhotoFrame, "created hidden: no designer reaches it"},
    {6, c_statusStartTest, "starts the preview's button animation, edits nothing"},
    {6, c_statusStopTest, "stops the preview's button animation, edits nothing"},
    // In a button's editor (ids of ButtonArray).
    {-2, ButtonArray::c_idClear, "gives a state back its default, no picture; the import gives the non-default"},
    {-2, ButtonArray::c_idPicture, "shows the state's picture"},
};

const char* ExclusionOf(int page, int id, bool inEditor)
{
    for (const t_excluded& row : c_excluded) {
        if (row.id == id && (inEditor ? row.page == -2 : (row.page == page || row.page == -1)))
            return row.why;
    }
    return nullptr;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) { return t_dialogDriver::TextOf(window); }

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A control a user can change: not a label, a frame, a group box or a read-only edit.
bool IsInput(HWND control)
{
    const std::wstring name = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (_wcsicmp(name.c_str(), L"Static") == 0)
        return false;
    if (_wcsicmp(name.c_str(), L"Button") == 0)
        return (style & BS_TYPEMASK) != BS_GROUPBOX;
    if (_wcsicmp(name.c_str(), L"Edit") == 0)
        return (style & ES_READONLY) == 0;
    return true;
}

COLORREF s_nextColour = RGB(0xE0, 0x10, 0x30);
BOOL WINAPI ChooseNextColour(CHOOSECOLORW* choose)
{
    choose->rgbResult = s_nextColour;
    return TRUE;
}

class RoundTripSweep : public t_editorSessionTest {
protected:
    void SetUp() override
    {
        t_editorSessionTest::SetUp();
        ColorPicker::SetChooseColorFn(ChooseNextColour);
        DisplayView::ResetAeroNote();
    }
    void TearDown() override
    {
        ColorPicker::SetChooseColorFn(nullptr);
        t_editorSessionTest::TearDown();
    }

    // The page of a step, shown as the designer shows it: tree page, then its tab.
    SubDialog* Show(int page, int tab)
    {
        SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, page, 0);
        if (tab < 0)
            return Pages()->Page(page);
        SubDialogTab* view = static_cast<SubDialogTab*>(Pages()->Page(page));
        TabCtrl_SetCurSel(view->TabControl(), tab);
        view->ShowCurrentTab();
        return view->Page(tab);
    }
    SubDialog* PageOf(const t_step& step)
    {
        if (step.tab < 0)
            return Pages()->Page(step.page);
        return static_cast<SubDialogTab*>(Pages()->Page(step.page))->Page(step.tab);
    }
    static BtnView* ViewOf(SubDialog* page)
    {
        if (BtnPage* buttons = dynamic_cast<BtnPage*>(page))
            return &buttons->View();
        if (StatusView* status = dynamic_cast<StatusView*>(page))
            return &status->View();
        return nullptr;
    }
    static t_btnCheckList* ListOf(SubDialog* page)
    {
        if (BtnPage* buttons = dynamic_cast<BtnPage*>(page))
            return &buttons->List();
        if (StatusView* status = dynamic_cast<StatusView*>(page))
            return &status->List();
        return nullptr;
    }
    static BtnInfo* SetOf(SubDialog* page)
    {
        if (BtnPage* buttons = dynamic_cast<BtnPage*>(page))
            return &IMESkin::Instance()->ButtonSet(buttons->ButtonSet());
        if (dynamic_cast<StatusView*>(page))
            return &IMESkin::Instance()->ButtonSet(0);
        return nullptr;
    }
    // The swept button's editor, selected so that it is created and shown.
    ButtonArray* SweptEditor(SubDialog* page)
    {
        t_btnCheckList* list = ListOf(page);
        if (list && list->SelectedRow() != c_sweptRow)
            SelectRow(list->Handle(), c_sweptRow);
        BtnView* view = ViewOf(page);
        return view ? view->Editor(c_sweptRow) : nullptr;
    }
    bool SweptButtonShows(SubDialog* page)
    {
        BtnInfo* set = SetOf(page);
        ButtonArray* editor = SweptEditor(page);
        if (!set || !editor)
            return false;
        const ButtonArray::t_item* normal = editor->FindRow(0, c_propNormal);
        return set->IsButtonVisible(set->RowOf(c_sweptButton, c_btnBuiltIn)) && normal && normal->HasPicture();
    }
    static ColorPicker* PickerOf(SubDialog* page, bool separator)
    {
        if (LayoutPage* layout = dynamic_cast<LayoutPage*>(page))
            return separator ? layout->SeparatorPicker() : layout->TransparentPicker();
        if (StatusView* status = dynamic_cast<StatusView*>(page))
            return separator ? nullptr : status->TransparentPicker();
        return nullptr;
    }

    // A picture file of its own colour for each import.
    std::wstring NewPicture(int width, int height)
    {
        const std::wstring path = m_folder / (L"p" + std::to_wstring(m_pictures) + L".png");
        EXPECT_TRUE(WriteRaw(path, PatternPng(width, height, static_cast<uint32_t>(++m_pictures), c_keyColour)));
        return path;
    }

    // A picture field's value: the name it shows and the bytes of that picture in the skin.
    static std::wstring PictureValue(const std::wstring& name)
    {
        wchar_t path[MAX_PATH];
        if (name.empty() || !IMESkin::Instance()->ResolvePath(path, name.c_str()))
            return name;
        const std::string bytes = ReadRaw(path);
        return name + L":" + std::to_wstring(bytes.size()) + L":" +
               std::to_wstring(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    }

    // The value the control of a step shows.
    std::wstring Shown(const t_step& step)
    {
        SubDialog* page = PageOf(step);
        const HWND dialog = page->GetHwnd();
        const HWND item = step.id ? GetDlgItem(dialog, step.id) : nullptr;
        switch (step.how) {
        case t_how::e_text:
        case t_how::e_number:
        case t_how::e_typed:
            return TextOf(item);
        case t_how::e_list:
            return std::to_wstring(SendMessageW(item, CB_GETCURSEL, 0, 0));
        case t_how::e_check:
            return std::to_wstring(SendMessageW(item, BM_GETCHECK, 0, 0));
        case t_how::e_colourButton: {
            // The button paints the part's colour.
            const DisplayInfo& display = IMESkin::Instance()->Display();
            const COLORREF colour = step.id == c_displayPinyinColor  ? display.pinyinColor
                                    : step.id == c_displayFirstColor ? display.zhongwenFirstColor
                                    : step.id == c_displayCandColor  ? display.zhongwenColor
                                                                     : display.comphintColor;
            return std::to_wstring(colour);
        }
        case t_how::e_picker:
        case t_how::e_separator: {
            ColorPicker* picker = PickerOf(page, step.how == t_how::e_separator);
            return picker ? std::to_wstring(picker->GetColor()) : L"<no picker>";
        }
        case t_how::e_import:
            return PictureValue(TextOf(GetDlgItem(dialog, step.extra)));
        case t_how::e_slider:
            return std::to_wstring(SendMessageW(item, TBM_GETPOS, 0, 0));
        case t_how::e_grip: {
            const bool combined = step.page == 2 || step.page == 4;
            return TextOf(GetDlgItem(dialog, combined ? c_combineAnchorLeft : c_separateAnchorLeft)) + L"," +
                   TextOf(GetDlgItem(dialog, combined ? c_combineAnchorTop : c_separateAnchorTop));
        }
        case t_how::e_barPicture:
        case t_how::e_barMask: {
            StatusView* status = static_cast<StatusView*>(page);
            OpenFileCtrl* field = step.how == t_how::e_barPicture ? status->PictureControl() : status->MaskControl();
            // The name in the skin: the field's path is inside a work folder of its own.
            const std::wstring& path = field->GetPath();
            return PictureValue(path.substr(path.find_last_of(L'\\') + 1));
        }
        case t_how::e_rowCheck:
            return std::to_wstring(ListOf(page)->IsChecked(c_sweptRow));
        case t_how::e_editorNumber:
        case t_how::e_editorList: {
            ButtonArray* editor = SweptEditor(page);
            const HWND control = GetDlgItem(editor->GetHwnd(), step.id);
            return step.how == t_how::e_editorNumber ? TextOf(control)
                                                     : std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0));
        }
        case t_how::e_editorPicture: {
            const ButtonArray::t_item* normal = SweptEditor(page)->FindRow(0, c_propNormal);
            return normal ? PictureValue(normal->FileName()) : L"<no row>";
        }
        case t_how::e_addCustom:
            return std::to_wstring(ListOf(page)->RowCount());
        }
        return L"";
    }

    // Gives the control of a step a new value, as a designer would.
    void Give(const t_step& step)
    {
        SubDialog* page = Show(step.page, step.tab);
        const HWND dialog = page->GetHwnd();
        const HWND item = step.id ? GetDlgItem(dialog, step.id) : nullptr;
        const auto command = [&](HWND target, int id, int code, HWND from) {
            SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
        };
        switch (step.how) {
        case t_how::e_text:
            SetWindowTextW(item, (L"改" + TextOf(item) + L"过").c_str());
            break;
        case t_how::e_number:
            // Small enough to lie inside every picture the sweep imports.
            SetWindowTextW(item, _wtoi(TextOf(item).c_str()) == 3 ? L"4" : L"3");
            break;
        case t_how::e_typed: {
            const HWND edit = GetWindow(item, GW_CHILD);
            const std::wstring text = step.id == c_displayFontSize ? L"22"
                                      : step.id == c_displayFontEn ? L"Wingdings"
                                                                   : L"黑体";
            SendMessageW(edit, EM_SETSEL, 0, -1);
            for (wchar_t c : text)
                SendMessageW(edit, WM_CHAR, c, 0);
            break;
        }
        case t_how::e_list: {
            const LRESULT count = SendMessageW(item, CB_GETCOUNT, 0, 0);
            const LRESULT current = SendMessageW(item, CB_GETCURSEL, 0, 0);
            SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>((current + 1) % count), 0);
            command(dialog, step.id, CBN_SELCHANGE, item);
            command(dialog, step.id, CBN_CLOSEUP, item);
            break;
        }
        case t_how::e_check:
            if (step.id == c_displayAero && page == Pages()->Page(1) && !DisplayView::AeroNoteShown() &&
                SendMessageW(item, BM_GETCHECK, 0, 0) != BST_CHECKED)
                m_driver.Press(IDOK);
            SendMessageW(item, BM_CLICK, 0, 0);
            break;
        case t_how::e_colourButton:
            s_nextColour = RGB(0xE0, 0x10, step.id & 0xFF);
            SendMessageW(item, BM_CLICK, 0, 0);
            break;
        case t_how::e_picker:
        case t_how::e_separator: {
            ColorPicker* picker = PickerOf(page, step.how == t_how::e_separator);
            ASSERT_NE(nullptr, picker);
            picker->SetColor(step.how == t_how::e_picker ? RGB(0xFF, 0x00, 0xFF) : RGB(0x30, 0xC0, 0x10 + step.page));
            SendMessageW(dialog, n_colorPicker::c_dialogClosed, 0, 0);
            break;
        }
        case t_how::e_import:
            // Smaller than any window it backs (every window stretches it both ways), with a
            // middle between the usual fixed edges.
            m_driver.Type(NewPicture(40, 20));
            SendMessageW(item, BM_CLICK, 0, 0);
            EXPECT_TRUE(m_driver.AllAnswered()) << step.name;
            break;
        case t_how::e_slider: {
            const LRESULT position = SendMessageW(item, TBM_GETPOS, 0, 0);
            const int moved = position >= 50 ? static_cast<int>(position) - 30 : static_cast<int>(position) + 30;
            SendMessageW(item, TBM_SETPOS, TRUE, moved);
            SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, moved), reinterpret_cast<LPARAM>(item));
            break;
        }
        case t_how::e_grip:
            SendMessageW(dialog, n_manualAdjust::c_gripMoved, MAKEWPARAM(ManualAdjustWindow::e_point, step.id),
                         MAKELPARAM(23, 11));
            break;
        case t_how::e_barPicture:
        case t_how::e_barMask: {
            StatusView* status = static_cast<StatusView*>(page);
            OpenFileCtrl* field = step.how == t_how::e_barPicture ? status->PictureControl() : status->MaskControl();
            m_driver.Type(NewPicture(150, 30));
            command(field->GetHwnd(), OpenFileCtrl::c_buttonId, BN_CLICKED,
                    GetDlgItem(field->GetHwnd(), OpenFileCtrl::c_buttonId));
            PumpMessages(100);
            EXPECT_TRUE(m_driver.AllAnswered()) << step.name;
            break;
        }
        case t_how::e_rowCheck: {
            t_btnCheckList* list = ListOf(page);
            ToggleCheck(list->Handle(), c_sweptRow, !list->IsChecked(c_sweptRow));
            break;
        }
        case t_how::e_editorNumber: {
            const HWND edit = GetDlgItem(SweptEditor(page)->GetHwnd(), step.id);
            SetWindowTextW(edit, std::to_wstring(_wtoi(TextOf(edit).c_str()) + 3).c_str());
            break;
        }
        case t_how::e_editorList: {
            ButtonArray* editor = SweptEditor(page);
            const HWND list = GetDlgItem(editor->GetHwnd(), step.id);
            const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
            const LRESULT current = SendMessageW(list, CB_GETCURSEL, 0, 0);
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>((current + 1) % count), 0);
            command(editor->GetHwnd(), step.id, CBN_SELCHANGE, list);
            break;
        }
        case t_how::e_editorPicture: {
            ButtonArray::t_item* normal = SweptEditor(page)->FindRow(0, c_propNormal);
            ASSERT_NE(nullptr, normal);
            normal->ImportFile(NewPicture(14, 12).c_str());
            break;
        }
        case t_how::e_addCustom:
            command(dialog, step.id, BN_CLICKED, item);
            break;
        }
        PumpMessages(10);
    }

    // The preview of every page, page by page.
    std::vector<std::vector<uint32_t>> PreviewOfEveryPage()
    {
        std::vector<std::vector<uint32_t>> previews;
        for (int page = 0; page < PropertyView::c_pageCount; ++page) {
            Show(page, -1);
            previews.push_back(PreviewPixels(*m_frame));
        }
        return previews;
    }

    // Every control of every page that a user can change is in the table or excluded.
    void ExpectEveryControlSwept(const std::vector<t_step>& table)
    {
        std::map<HWND, bool> swept;
        for (const t_step& step : table) {
            SubDialog* page = Show(step.page, step.tab);
            const HWND dialog = page->GetHwnd();
            for (int id : {step.id, step.extra}) {
                if (id && step.how != t_how::e_grip && (step.how < t_how::e_rowCheck || step.how == t_how::e_addCustom))
                    swept[GetDlgItem(dialog, id)] = true;
            }
        }
        for (int page = 0; page < PropertyView::c_pageCount; ++page) {
            SubDialogTab* tabs = dynamic_cast<SubDialogTab*>(Show(page, -1));
            const int tabCount = tabs ? tabs->TabCount() : 1;
            for (int tab = 0; tab < tabCount; ++tab) {
                SubDialog* shown = Show(page, tabs ? tab : -1);
                CheckControlsOf(page, shown, swept, table);
            }
        }
    }

    void CheckControlsOf(int page, SubDialog* shown, const std::map<HWND, bool>& swept,
                         const std::vector<t_step>& table)
    {
        const HWND dialog = shown->GetHwnd();
        std::set<HWND> widgets;
        if (LayoutPage* layout = dynamic_cast<LayoutPage*>(shown)) {
            for (ColorPicker* picker : {layout->TransparentPicker(), layout->SeparatorPicker()})
                if (picker)
                    widgets.insert(picker->GetHwnd());
            for (int w = 0; w < layout->WindowCount(); ++w)
                widgets.insert(layout->AdjustWindow(w)->GetHwnd());
        }
        if (StatusView* status = dynamic_cast<StatusView*>(shown)) {
            widgets.insert(status->TransparentPicker()->GetHwnd());
            widgets.insert(status->PictureControl()->GetHwnd());
            widgets.insert(status->MaskControl()->GetHwnd());
            // The bar's elements are placed by the button's x and y (dragging them types
            // the same fields).
            widgets.insert(status->AdjustWindow()->GetHwnd());
        }
        BtnView* view = ViewOf(shown);
        std::set<HWND> editors;
        for (int flat = 0; view && flat < view->EditorCount(); ++flat)
            if (view->Editor(flat)->IsCreated())
                editors.insert(view->Editor(flat)->GetHwnd());
        for (HWND control : ChildrenOf(dialog)) {
            if (editors.count(control)) {
                CheckEditorControls(page, control, table);
                continue;
            }
            if (widgets.count(control) || !IsInput(control))
                continue;
            // A spin drives its buddy edit, which the table holds.
            const HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
            const bool spin = _wcsicmp(ClassOf(control).c_str(), UPDOWN_CLASSW) == 0;
            const int id = GetDlgCtrlID(control);
            const bool listed = swept.count(spin ? buddy : control) != 0 ||
                                (_wcsicmp(ClassOf(control).c_str(), WC_LISTVIEWW) == 0 && ListOf(shown));
            EXPECT_TRUE(listed || ExclusionOf(page, id, false))
                << "page " << page << ": control " << id << " is neither swept nor excluded";
        }
    }

    // The controls of a button's editor: the swept kinds, by id, or excluded.
    void CheckEditorControls(int page, HWND editor, const std::vector<t_step>& table)
    {
        std::set<int> swept = {ButtonArray::c_idImport};
        for (const t_step& step : table)
            if (step.page == page && (step.how == t_how::e_editorNumber || step.how == t_how::e_editorList))
                swept.insert(step.id);
        std::vector<HWND> stack = ChildrenOf(editor);
        while (!stack.empty()) {
            const HWND control = stack.back();
            stack.pop_back();
            const std::vector<HWND> inner = ChildrenOf(control);
            stack.insert(stack.end(), inner.begin(), inner.end());
            if (!IsInput(control) || !inner.empty())
                continue;
            const int id = GetDlgCtrlID(control);
            const bool spin = _wcsicmp(ClassOf(control).c_str(), UPDOWN_CLASSW) == 0;
            const int buddy =
                spin ? GetDlgCtrlID(reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0))) : 0;
            EXPECT_TRUE(swept.count(spin ? buddy : id) || ExclusionOf(page, id, true))
                << "page " << page << ": editor control " << id << " is neither swept nor excluded";
        }
    }

    // A window that draws no picture is saved without picture names (the input method
    // reads none there): its picture fields come back empty.
    static bool PictureDropped(const t_step& step)
    {
        IMESkin& skin = *IMESkin::Instance();
        if (step.how == t_how::e_barPicture || step.how == t_how::e_barMask)
            return !skin.StatusBar().editorFlag;
        if (step.how != t_how::e_import)
            return false;
        const t_partIndex part = static_cast<t_partIndex>(step.page);
        if (step.page == 2 || step.page == 4)
            return !static_cast<CombineInfo&>(*skin.GetPart(part)).hasPic;
        const SeparateInfo& separate = static_cast<SeparateInfo&>(*skin.GetPart(part));
        const bool pinyin = step.id == c_separatePinyinPictureImport || step.id == c_separatePinyinMaskImport;
        return pinyin ? !separate.pinyinHasPic : !separate.zhongwenHasPic;
    }

    // Why a control cannot come back with its value, or null: what the file holds decides.
    static const char* NotKept(const t_step& step)
    {
        IMESkin& skin = *IMESkin::Instance();
        const bool separator =
            step.how == t_how::e_separator || step.id == c_combineSeparatorLeft || step.id == c_combineSeparatorRight;
        if ((step.page == 2 || step.page == 4) && step.tab == 0 && separator &&
            !static_cast<CombineInfo&>(*skin.GetPart(static_cast<t_partIndex>(step.page))).separatorEnabled)
            return "a window without separator is saved without the separator key";
        if (step.page == 6 && step.id == c_statusNoPicture)
            return "the switch is the editor's: a bar saved without picture opens with an empty picture";
        return nullptr;
    }

    bool SingleItemList(const t_step& step)
    {
        if (step.how != t_how::e_editorList)
            return false;
        const HWND list = GetDlgItem(SweptEditor(PageOf(step))->GetHwnd(), step.id);
        return SendMessageW(list, CB_GETCOUNT, 0, 0) == 1;
    }

    // The whole sweep on the skin open now, saved into package with command.
    void Sweep(const std::wstring& package, int command)
    {
        std::vector<t_step> table = SweepTable();
        ExpectEveryControlSwept(table);
        // Enablers that disable their controls now go first, the others last.
        std::vector<t_step> ordered;
        for (int pass = 0; pass < 3; ++pass) {
            for (const t_step& step : table) {
                const bool disabling = step.enabler && SendMessageW(GetDlgItem(PageOf(step)->GetHwnd(), step.id),
                                                                    BM_GETCHECK, 0, 0) == BST_CHECKED;
                const int when = !step.enabler ? 1 : disabling ? 0 : 2;
                if (when == pass)
                    ordered.push_back(step);
            }
        }
        // The enablers first go in page order with the page's other controls: each page's
        // steps keep together.
        std::stable_sort(ordered.begin(), ordered.end(),
                         [](const t_step& a, const t_step& b) { return a.page * 10 + a.tab < b.page * 10 + b.tab; });

        std::vector<std::wstring> given;
        std::vector<uint32_t> previewBefore;
        int shownPage = -1;
        int shownTab = -2;
        for (const t_step& step : ordered) {
            SCOPED_TRACE(std::string("page ") + std::to_string(step.page) + "/" + std::to_string(step.tab) + " " +
                         step.name);
            SubDialog* page = Show(step.page, step.tab);
            const std::wstring before = Shown(step);
            // The preview after the last step, unless another page shows now.
            if (step.page != shownPage || step.tab != shownTab)
                previewBefore = PreviewPixels(*m_frame);
            shownPage = step.page;
            shownTab = step.tab;
            Give(step);
            const std::wstring after = Shown(step);
            // A list of one item (a separate window's button targets) has no other value.
            if (!SingleItemList(step)) {
                EXPECT_NE(before, after) << "the control kept its value";
            }
            const bool shows =
                !SingleItemList(step) &&
                (step.shown == t_shown::e_yes || (step.shown == t_shown::e_whenButtonShows && SweptButtonShows(page)));
            std::vector<uint32_t> previewAfter = PreviewPixels(*m_frame);
            if (shows) {
                EXPECT_NE(previewBefore, previewAfter) << "the preview did not change";
            }
            previewBefore.swap(previewAfter);
            given.push_back(after);
        }
        EXPECT_TRUE(m_driver.AllAnswered());
        EXPECT_TRUE(m_frame->IsModified());

        // Before saving: what each control shows now, and the preview of every page.
        std::vector<std::wstring> saved;
        for (const t_step& step : ordered)
            saved.push_back(PictureDropped(step) ? std::wstring() : Shown(step));
        const std::vector<std::vector<uint32_t>> previews = PreviewOfEveryPage();

        ASSERT_NO_FATAL_FAILURE(SaveAndReopen(package, command));
        EXPECT_FALSE(m_frame->IsModified());
        for (size_t i = 0; i < ordered.size(); ++i) {
            const t_step& step = ordered[i];
            Show(step.page, step.tab);
            if (NotKept(step))
                continue;
            EXPECT_EQ(saved[i], Shown(step))
                << "page " << step.page << "/" << step.tab << " " << step.name << " after the reopen";
        }
        const std::vector<std::vector<uint32_t>> reopened = PreviewOfEveryPage();
        for (int page = 0; page < PropertyView::c_pageCount; ++page) {
            ASSERT_EQ(previews[page].size(), reopened[page].size()) << page;
            size_t differing = 0;
            for (size_t p = 0; p < previews[page].size(); ++p)
                differing += previews[page][p] != reopened[page][p];
            EXPECT_EQ(0u, differing) << "the preview of page " << page << " differs after the reopen";
        }
    }

    int m_pictures = 0;
    t_tempFolder m_folder{L"sweep"};
};

TEST_F(RoundTripSweep, DefaultSkin) { Sweep(m_folder / L"默认.vsf", c_cmdSave); }

// The designer's skin folder, zipped by Info-ZIP when the test was built.
TEST_F(RoundTripSweep, PackageZippedByInfoZip)
{
    const std::wstring package = ExeFolder() + L"\\round_trip_sweep.vsf";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(package.c_str()));
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    ASSERT_EQ(1, m_frame->OnOpen(package.c_str()));
    Sweep(m_folder / L"另存.vsf", c_cmdSaveAs);
}

}  // namespace
