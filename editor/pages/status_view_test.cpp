// The status-bar page, driven inside the running main frame: the bar picture and mask
// imported through their path fields, the ten button elements on the bar following their
// rows, moves by mouse, keys and typed positions landing in the position keys, extra
// buttons, the transparent colour, the animation test in the preview and the saved package.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/app/main_frame.h"
#include "editor/pages/status_view.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/open_file_ctrl.h"
#include "editor/widgets/status_adjust_wnd.h"
#include "graphics/image/mem_dc.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/ime_skin.h"
#include "skin_model/status_info.h"
#include "tests/support/cursor_probe.h"
#include "tests/support/editor_session.h"
#include "tests/support/flat_png.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_keyboard.h"
#include "tests/support/real_mouse.h"
#include "tests/support/temp_folder.h"

namespace {
const int c_statusPage = 6;
const int c_statusPart = 6;

TEST(StatusViewNames, ImportedPicturesTakeTheBaseNameAndTheChosenExtension)
{
    struct t_case {
        const wchar_t* chosen;
        const wchar_t* base;
        const wchar_t* expected;
    };
    const t_case cases[] = {
        {L"C:\\art\\blue.png", L"bar", L"bar.png"},
        {L"C:\\art\\a.b.GIF", L"bar", L"bar.GIF"},
        {L"C:\\art\\plain", L"bar", L"bar.bmp"},
        // A dot in a folder name is no extension.
        {L"C:\\art.d\\plain", L"bar_mask", L"bar_mask.bmp"},
        {L"mask.bmp", L"bar_mask", L"bar_mask.bmp"},
    };
    for (const t_case& c : cases) {
        t_str name;
        n_statusView::ImportedName(name, c.chosen, c.base);
        EXPECT_STREQ(c.expected, name.c_str()) << c.chosen;
    }
    EXPECT_EQ(0x01000003, n_statusView::AnimationButtonId(3, c_btnCustom));
    EXPECT_EQ(0x02002345, n_statusView::AnimationButtonId(0x12345, c_btnFlash));
    EXPECT_EQ(0, n_statusView::AnimationButtonId(0, c_btnBuiltIn));
}

std::wstring Key(int index, int type, int property)
{
    t_str key;
    MakePropertyKey(key, index, type, property);
    return key.c_str();
}

// The two numbers of a position value "x, y"; false when it has not two.
bool ParsePair(const std::wstring& text, int& x, int& y) { return swscanf(text.c_str(), L"%d , %d", &x, &y) == 2; }

class StatusPage : public t_editorSessionTest {
protected:
    void SetUp() override
    {
        t_editorSessionTest::SetUp();
        m_page = ShowPage();
        ASSERT_NE(nullptr, m_page);
        ASSERT_NE(nullptr, m_page->AdjustWindow());
        m_bar = m_page->AdjustWindow()->Background();
        ASSERT_NE(nullptr, m_bar);
    }

    Preview* PreviewHost() const { return static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview)); }
    StatusView* ShowPage()
    {
        Pages()->ShowPage(c_statusPage);
        return dynamic_cast<StatusView*>(Pages()->Page(c_statusPage));
    }
    HWND List() const { return GetDlgItem(m_page->GetHwnd(), c_statusButtonList); }
    static StatusInfo& Status() { return IMESkin::Instance()->StatusBar(); }
    static BtnInfo& Set() { return IMESkin::Instance()->ButtonSet(c_windowStatusBar); }
    static std::wstring StatusText(const wchar_t* key)
    {
        t_str text;
        Status().GetString(key, 0, text);
        return text.c_str();
    }
    void Click(int id)
    {
        SendMessageW(m_page->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(m_page->GetHwnd(), id)));
    }
    // A click on a check box: its state flips, then the page hears of it.
    void Toggle(int id)
    {
        const HWND box = GetDlgItem(m_page->GetHwnd(), id);
        SendMessageW(box, BM_SETCHECK,
                     SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        Click(id);
    }
    // The path field's "导入..." button, answered by the driver with the file name.
    void ImportThroughField(OpenFileCtrl* field, const std::wstring& chosen)
    {
        ASSERT_NE(nullptr, field);
        m_driver.Type(chosen);
        SendMessageW(field->GetHwnd(), WM_COMMAND, MAKEWPARAM(OpenFileCtrl::c_buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(field->GetHwnd(), OpenFileCtrl::c_buttonId)));
        PumpMessages(200);
        EXPECT_TRUE(m_driver.AllAnswered());
    }
    // What the field's edit shows.
    static std::wstring Shown(OpenFileCtrl* field)
    {
        wchar_t text[MAX_PATH] = L"";
        GetWindowTextW(GetDlgItem(field->GetHwnd(), OpenFileCtrl::c_editId), text, MAX_PATH);
        return text;
    }
    static std::wstring InWork(const std::wstring& name)
    {
        return std::wstring(IMESkin::Instance()->GetWorkFolder()) + L"\\" + name;
    }
    // An element's top-left in bar coordinates.
    POINT ElementAt(int index) const
    {
        RECT rect;
        GetWindowRect(m_bar->Button(index)->GetHwnd(), &rect);
        MapWindowPoints(nullptr, m_bar->GetHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return {rect.left, rect.top};
    }
    // The position key of a built-in button as Skin.ini holds it.
    static bool StoredPosition(int index, int& x, int& y)
    {
        return ParsePair(IniValue(L"StatusBar", Key(index, c_btnBuiltIn, c_propPos)), x, y);
    }
    // Shows the row's element and selects the button.
    void PrepareButton(int row)
    {
        ToggleCheck(List(), row, true);
        SelectRow(List(), row);
        ASSERT_TRUE(IsWindowVisible(m_bar->Button(row)->GetHwnd()));
    }

    StatusView* m_page = nullptr;
    GEStatusBarBackGround* m_bar = nullptr;
    t_tempFolder m_folder{L"statuspage"};
};

TEST_F(StatusPage, BarPictureAndMaskImportIntoTheWorkFolder)
{
    // The fields show the pictures' names in the skin, as the other pages do.
    EXPECT_EQ(L"status.png", Shown(m_page->PictureControl()));
    EXPECT_EQ(L"status_mask.bmp", Shown(m_page->MaskControl()));

    const std::wstring blue = m_folder / L"blue.png";
    ASSERT_TRUE(WriteRaw(blue, FlatPng(40, 20, {0x0000FFFFu})));
    ImportThroughField(m_page->PictureControl(), blue);
    EXPECT_EQ(L"bar.png", StatusText(L"pic"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(InWork(L"bar.png").c_str()));
    EXPECT_EQ(L"bar.png", m_page->PictureControl()->GetPath());
    EXPECT_EQ(L"bar.png", Shown(m_page->PictureControl()));
    int width = 0;
    int height = 0;
    m_bar->GetSize(width, height);
    EXPECT_EQ(40, width);
    EXPECT_EQ(20, height);
    EXPECT_TRUE(ChangedPart(c_statusPart));
    EXPECT_EQ(L"bar.png", IniValue(L"StatusBar", L"pic"));
    EXPECT_TRUE(m_frame->IsModified());

    // The target itself chosen again: kept, not deleted, and told as any import.
    PreviewChanges().clear();
    ImportThroughField(m_page->PictureControl(), InWork(L"bar.png"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(InWork(L"bar.png").c_str()));
    EXPECT_EQ(L"bar.png", StatusText(L"pic"));
    m_bar->GetSize(width, height);
    EXPECT_EQ(40, width);
    EXPECT_TRUE(ChangedPart(c_statusPart));

    // A mask without an extension comes in as a bitmap.
    const std::wstring plain = m_folder / L"plainmask";
    ASSERT_TRUE(WriteRaw(plain, FlatPng(40, 20, {0x000000FFu})));
    ImportThroughField(m_page->MaskControl(), plain);
    EXPECT_EQ(L"bar_mask.bmp", StatusText(L"pic_mask"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(InWork(L"bar_mask.bmp").c_str()));
    EXPECT_EQ(L"bar_mask.bmp", Shown(m_page->MaskControl()));

    // A mask whose file went is removed on the next load.
    ASSERT_TRUE(DeleteFileW(InWork(L"bar_mask.bmp").c_str()));
    m_page->LoadFromModel();
    EXPECT_EQ(L"", StatusText(L"pic_mask"));
    EXPECT_EQ(L"", Shown(m_page->MaskControl()));

    // A chosen file that cannot be read changes nothing and says so.
    m_driver.Press(IDOK);
    EXPECT_FALSE(m_page->ImportPicture(false, (m_folder / L"gone.png").c_str()));
    EXPECT_EQ(L"bar.png", StatusText(L"pic"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(InWork(L"bar.png").c_str()));
    ASSERT_FALSE(m_driver.Seen().empty());
    EXPECT_NE(std::wstring::npos, m_driver.Seen().back().text.find(L"无法导入图片"));
}

// A picture import shows the wait cursor while it copies the picture and the preview
// reloads, after the frame painted what was pending (the file dialog's leftovers); the
// cursor comes back, before a failure is reported too.
TEST_F(StatusPage, ImportsWaitWithTheWaitCursor)
{
    const HWND frame = m_frame->GetHwnd();
    const std::wstring wide = m_folder / L"wide.png";
    ASSERT_TRUE(WriteRaw(wide, FlatPng(600, 40, {0x3366CCFFu})));
    SetCursor(t_cursorProbe::Arrow());
    {
        InvalidateRect(frame, nullptr, TRUE);
        t_cursorProbe probe({n_editorMessage::c_skinChanged}, frame);
        ASSERT_TRUE(m_page->ImportPicture(false, wide.c_str()));
        EXPECT_TRUE(probe.AlwaysWith(n_editorMessage::c_skinChanged, t_cursorProbe::Wait()));
        ASSERT_FALSE(probe.Of(n_editorMessage::c_skinChanged).empty());
        EXPECT_FALSE(probe.Of(n_editorMessage::c_skinChanged).front().paintPending)
            << "the frame painted before the work";
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
    {
        // A button state's picture: its row tells the page, the page the preview.
        SelectRow(List(), 0);
        ButtonArray* editor = m_page->View().Editor(0);
        ASSERT_NE(nullptr, editor);
        ButtonArray::t_item* normal = editor->FindRow(0, c_propNormal);
        ASSERT_NE(nullptr, normal);
        t_cursorProbe probe({c_msgButtonStateEdited, n_editorMessage::c_skinChanged}, nullptr);
        normal->ImportFile(wide.c_str());
        EXPECT_TRUE(probe.AlwaysWith(c_msgButtonStateEdited, t_cursorProbe::Wait()));
        EXPECT_TRUE(probe.AlwaysWith(n_editorMessage::c_skinChanged, t_cursorProbe::Wait()));
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
    {
        t_cursorProbe probe({WM_INITDIALOG}, nullptr);
        m_driver.Press(IDOK);
        EXPECT_FALSE(m_page->ImportPicture(false, (m_folder / L"gone.png").c_str()));
        EXPECT_TRUE(m_driver.AllAnswered());
        EXPECT_TRUE(probe.AlwaysWith(WM_INITDIALOG, t_cursorProbe::Arrow())) << "back before the report";
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
}

TEST_F(StatusPage, TenElementsSitOnTheBarShownAsTheirRowsAreChecked)
{
    ASSERT_EQ(StatusView::c_builtInCount, m_page->List().RowCount() - Set().Count(c_btnCustom) -
                                              Set().Count(c_btnFlash) - Set().Count(c_btnPhotoFrame));
    const int order[StatusView::c_builtInCount] = {0, 1, 2, 4, 3, 5, 7, 10, 6, 12};
    for (int row = 0; row < StatusView::c_builtInCount; ++row) {
        EXPECT_EQ(order[row], StatusView::DisplayOrder()[row].index) << row;
        GEButton* element = m_bar->Button(row);
        ASSERT_NE(nullptr, element) << row;
        EXPECT_EQ(m_page->List().IsChecked(row), element->IsShown()) << row;
        EXPECT_EQ(m_page->List().IsChecked(row), IsWindowVisible(element->GetHwnd()) != FALSE) << row;
    }
    const int row = 3;
    const std::wstring key = Key(StatusView::DisplayOrder()[row].index, c_btnBuiltIn, c_propDisplay);
    const bool initial = m_page->List().IsChecked(row);
    for (bool checked : {!initial, initial}) {
        PreviewChanges().clear();
        ToggleCheck(List(), row, checked);
        EXPECT_EQ(checked, IsWindowVisible(m_bar->Button(row)->GetHwnd()) != FALSE) << checked;
        EXPECT_EQ(checked ? L"1" : L"0", IniValue(L"StatusBar", key)) << checked;
        EXPECT_TRUE(ChangedPart(c_statusPart)) << checked;
    }
}

TEST_F(StatusPage, AButtonPictureFromItsEditorReachesItsElementOnlyShownWhenChecked)
{
    const int row = 4;
    ToggleCheck(List(), row, false);
    SelectRow(List(), row);
    ButtonArray* editor = m_page->View().Editor(row);
    ASSERT_NE(nullptr, editor);
    const std::wstring small = m_folder / L"small.png";
    ASSERT_TRUE(WriteRaw(small, FlatPng(12, 9, {0xFF0000FFu})));
    // A second variant's picture is not the one the bar shows.
    int width = 0;
    int height = 0;
    if (ButtonArray::t_item* second = editor->FindRow(1, c_propNormal)) {
        m_bar->Button(row)->GetSize(width, height);
        second->ImportFile(small.c_str());
        int after = 0;
        int afterHeight = 0;
        m_bar->Button(row)->GetSize(after, afterHeight);
        EXPECT_EQ(width, after);
    }
    PreviewChanges().clear();
    ButtonArray::t_item* normal = editor->FindRow(0, c_propNormal);
    ASSERT_NE(nullptr, normal);
    normal->ImportFile(small.c_str());
    m_bar->Button(row)->GetSize(width, height);
    EXPECT_EQ(12, width);
    EXPECT_EQ(9, height);
    EXPECT_FALSE(IsWindowVisible(m_bar->Button(row)->GetHwnd()));
    EXPECT_TRUE(ChangedPart(c_statusPart));
    ToggleCheck(List(), row, true);
    EXPECT_TRUE(IsWindowVisible(m_bar->Button(row)->GetHwnd()));
}

TEST_F(StatusPage, TypedPositionsAndArrowKeysMoveElementsIntoThePositionKeys)
{
    const int row = 0;
    PrepareButton(row);
    ButtonArray* editor = m_page->View().Editor(row);
    ASSERT_NE(nullptr, editor);
    const HWND xEdit = GetDlgItem(editor->GetHwnd(), ButtonArrayStatus::c_idXEdit);
    const HWND yEdit = GetDlgItem(editor->GetHwnd(), ButtonArrayStatus::c_idYEdit);
    SetWindowTextW(yEdit, L"1");
    SetWindowTextW(xEdit, L"7");
    EXPECT_EQ(7, ElementAt(row).x);
    EXPECT_EQ(1, ElementAt(row).y);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(StoredPosition(c_btnCnEn, x, y)) << IniValue(L"StatusBar", Key(c_btnCnEn, c_btnBuiltIn, c_propPos));
    EXPECT_EQ(7, x);
    EXPECT_EQ(1, y);
    EXPECT_TRUE(ChangedPart(c_statusPart));

    // Right and down by one pixel each, through the program's own key handling, reported
    // into the editor and the key.
    BringWindowToTop(m_frame->GetHwnd());
    SetForegroundWindow(m_frame->GetHwnd());
    // The activation settles first: it gives the focus to the frame's own choice.
    PumpMessages(100);
    SetFocus(m_bar->Button(row)->GetHwnd());
    PumpMessages(50);
    ASSERT_EQ(m_bar->Button(row)->GetHwnd(), GetFocus());
    for (WORD key : {VK_RIGHT, VK_DOWN}) {
        SendKeyPress(key);
        PumpAsProgram(50);
    }
    const POINT moved = ElementAt(row);
    ASSERT_TRUE(StoredPosition(c_btnCnEn, x, y));
    EXPECT_EQ(moved.x, x);
    EXPECT_EQ(moved.y, y);
    EXPECT_EQ(8, x);
    EXPECT_EQ(2, y);
    wchar_t text[16] = L"";
    GetWindowTextW(xEdit, text, 16);
    EXPECT_STREQ(L"8", text);
}

TEST_F(StatusPage, DraggingAnElementKeepsItOnTheBarAndStoresItsPosition)
{
    const std::wstring wide = m_folder / L"wide.png";
    ASSERT_TRUE(WriteRaw(wide, FlatPng(160, 30, {0x808080FFu})));
    ASSERT_TRUE(m_page->ImportPicture(false, wide.c_str()));
    const int row = 1;
    PrepareButton(row);
    BringWindowToTop(m_frame->GetHwnd());
    SetForegroundWindow(m_frame->GetHwnd());
    PumpMessages(100);
    int width = 0;
    int height = 0;
    m_bar->Button(row)->GetSize(width, height);
    ASSERT_GT(width, 0);
    RECT element;
    GetWindowRect(m_bar->Button(row)->GetHwnd(), &element);
    const POINT grab = {element.left + width / 2, element.top + height / 2};
    ASSERT_EQ(m_bar->Button(row)->GetHwnd(), WindowFromPoint(grab)) << "the element must be on the screen";
    // The system's move loop runs inside the press: the mouse is driven from another thread
    // while this one dispatches.
    static POINT s_grab;
    s_grab = grab;
    const HANDLE driver = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            SendMouse(MOUSEEVENTF_MOVE, s_grab.x, s_grab.y, 40);
            SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0, 40);
            for (int step = 1; step <= 6; ++step)
                SendMouse(MOUSEEVENTF_MOVE, s_grab.x + step * 70, s_grab.y, 40);
            SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 40);
            return 0;
        },
        nullptr, 0, nullptr);
    ASSERT_NE(nullptr, driver);
    const DWORD end = GetTickCount() + 5000;
    while (WaitForSingleObject(driver, 0) == WAIT_TIMEOUT && static_cast<int>(end - GetTickCount()) > 0)
        PumpMessages(10);
    PumpMessages(100);
    WaitForSingleObject(driver, INFINITE);
    CloseHandle(driver);

    // Past the right edge: flush with it.
    const POINT at = ElementAt(row);
    EXPECT_EQ(160 - width, at.x);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(StoredPosition(c_btnBiaodian, x, y));
    EXPECT_EQ(at.x, x);
    EXPECT_EQ(at.y, y);
    EXPECT_TRUE(ChangedPart(c_statusPart));
    EXPECT_EQ(row, m_page->List().SelectedRow());
}

TEST_F(StatusPage, CustomButtonsAddAndDelete)
{
    const int first = Set().Count(c_btnCustom);
    const int rows = m_page->List().RowCount();
    Click(c_statusAddCustom);
    Click(c_statusAddCustom);
    ASSERT_EQ(first + 2, Set().Count(c_btnCustom));
    ASSERT_EQ(rows + 2, ListView_GetItemCount(List()));
    EXPECT_EQ(rows + 1, m_page->List().SelectedRow());
    EXPECT_EQ(rows + 1, m_page->View().CurrentEditor());
    EXPECT_TRUE(ChangedPart(c_statusPart));
    t_str countKey;
    Set().FullKey(countKey, CountKeyOf(c_btnCustom));
    EXPECT_EQ(std::to_wstring(first + 2), IniValue(L"StatusBar", countKey.c_str()));

    // Built-in buttons stay; the last row deleted selects the one before it.
    SelectRow(List(), 2);
    Click(c_statusDelete);
    EXPECT_EQ(rows + 2, ListView_GetItemCount(List()));
    SelectRow(List(), rows + 1);
    Click(c_statusDelete);
    EXPECT_EQ(rows + 1, ListView_GetItemCount(List()));
    EXPECT_EQ(rows, m_page->List().SelectedRow());
    EXPECT_EQ(rows, m_page->View().CurrentEditor());
    EXPECT_EQ(first + 1, Set().Count(c_btnCustom));
    EXPECT_EQ(std::to_wstring(first + 1), IniValue(L"StatusBar", countKey.c_str()));
}

TEST_F(StatusPage, TheTransparentColourKeysTheBar)
{
    const std::wstring green = m_folder / L"green.bmp";
    // A 2 x 2 24-bit bitmap, all green.
    std::string bmp("BM", 2);
    const unsigned char header[] = {70, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                    24, 0, 0, 0, 0, 0, 16, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bmp.append(reinterpret_cast<const char*>(header), sizeof(header));
    for (int row = 0; row < 2; ++row)
        bmp.append(std::string("\x00\xFF\x00\x00\xFF\x00\x00\x00", 8));
    ASSERT_TRUE(WriteRaw(green, bmp));
    ASSERT_TRUE(m_page->ImportPicture(false, green.c_str()));
    ASSERT_TRUE(m_bar->HasPicture());

    // The picture drawn over magenta: green without a key, magenta where green is keyed.
    auto pixel = [this]() {
        t_memDC dib;
        t_memDC::Create(dib, nullptr, 2, 2, t_dibRows::topDown);
        const HDC dc = dib.dc;
        const RECT all = {0, 0, 2, 2};
        const HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &all, magenta);
        DeleteObject(magenta);
        m_bar->Paint(dc);
        GdiFlush();
        return dib.Pixels()[0] & 0xFFFFFF;
    };
    EXPECT_EQ(0x00FF00u, pixel());

    Toggle(c_statusNoTransparent);
    ASSERT_NE(nullptr, m_page->TransparentPicker());
    m_page->TransparentPicker()->SetColor(RGB(0, 255, 0));
    PreviewChanges().clear();
    SendMessageW(m_page->GetHwnd(), n_colorPicker::c_dialogClosed, 0, 0);
    EXPECT_EQ(static_cast<int>(RGB(0, 255, 0)), m_bar->TransparentColour());
    EXPECT_EQ(static_cast<int>(RGB(0, 255, 0)), m_bar->Button(0)->TransparentColour());
    EXPECT_EQ(0xFF00FFu, pixel());
    EXPECT_TRUE(ChangedPart(c_statusPart));
    int value = 0;
    ASSERT_TRUE(Status().GetInt(L"transparent_color_enable", 0, value));
    EXPECT_EQ(1, value);
    ASSERT_TRUE(Status().GetInt(L"transparent_color", 0, value));
    EXPECT_EQ(static_cast<int>(RGB(0, 255, 0)), value);
    EXPECT_EQ(L"1", IniValue(L"StatusBar", L"transparent_color_enable"));

    // Switched off again: no key, and the stored colour is none.
    Toggle(c_statusNoTransparent);
    EXPECT_EQ(-1, m_bar->TransparentColour());
    EXPECT_EQ(0x00FF00u, pixel());
    ASSERT_TRUE(Status().GetInt(L"transparent_color", 0, value));
    EXPECT_EQ(-1, value);
    EXPECT_EQ(L"0", IniValue(L"StatusBar", L"transparent_color_enable"));
}

TEST_F(StatusPage, TheAnimationTestRunsUntilStoppedReselectedOrLeft)
{
    Preview* preview = PreviewHost();
    ASSERT_NE(nullptr, preview);
    SelectRow(List(), 0);
    Click(c_statusStartTest);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_page->GetHwnd(), c_statusStartTest));
    EXPECT_TRUE(preview->TickButtonAnimation());
    Click(c_statusStopTest);
    EXPECT_FALSE(preview->TickButtonAnimation());

    // Another button chosen in the list stops it.
    Click(c_statusStartTest);
    EXPECT_TRUE(preview->TickButtonAnimation());
    SelectRow(List(), 1);
    EXPECT_FALSE(preview->TickButtonAnimation());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_page->GetHwnd(), c_statusStopTest));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(m_page->GetHwnd(), c_statusStartTest));

    // So does another page.
    Click(c_statusStartTest);
    EXPECT_TRUE(preview->TickButtonAnimation());
    Pages()->ShowPage(0);
    EXPECT_FALSE(preview->TickButtonAnimation());
    ShowPage();
}

TEST_F(StatusPage, EveryChangeReachesTheSavedPackage)
{
    const std::wstring blue = m_folder / L"blue.png";
    ASSERT_TRUE(WriteRaw(blue, FlatPng(50, 24, {0x0000FFFFu})));
    ASSERT_TRUE(m_page->ImportPicture(false, blue.c_str()));
    PrepareButton(0);
    ButtonArray* editor = m_page->View().Editor(0);
    ASSERT_NE(nullptr, editor);
    SetWindowTextW(GetDlgItem(editor->GetHwnd(), ButtonArrayStatus::c_idXEdit), L"11");
    const int customs = Set().Count(c_btnCustom);
    Click(c_statusAddCustom);
    Toggle(c_statusNoTransparent);
    m_page->TransparentPicker()->SetColor(RGB(1, 2, 3));
    SendMessageW(m_page->GetHwnd(), n_colorPicker::c_dialogClosed, 0, 0);

    ASSERT_NO_FATAL_FAILURE(SaveAndReopen(m_folder / L"status.vsf"));

    EXPECT_EQ(L"bar.png", StatusText(L"pic"));
    int value = 0;
    ASSERT_TRUE(Status().GetInt(L"transparent_color", 0, value));
    EXPECT_EQ(static_cast<int>(RGB(1, 2, 3)), value);
    EXPECT_EQ(customs + 1, Set().Count(c_btnCustom));
    int x = 0;
    int y = 0;
    ASSERT_TRUE(StoredPosition(c_btnCnEn, x, y));
    EXPECT_EQ(11, x);
    // The page shows what came back.
    EXPECT_EQ(11, ElementAt(0).x);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(m_page->GetHwnd(), c_statusNoTransparent));
    EXPECT_EQ(RGB(1, 2, 3), m_page->TransparentPicker()->GetColor());
    EXPECT_EQ(static_cast<int>(RGB(1, 2, 3)), m_bar->TransparentColour());
    int width = 0;
    int height = 0;
    m_bar->GetSize(width, height);
    EXPECT_EQ(50, width);
    EXPECT_EQ(24, height);
    EXPECT_EQ(StatusView::c_builtInCount + customs + 1 + Set().Count(c_btnFlash) + Set().Count(c_btnPhotoFrame),
              ListView_GetItemCount(List()));
}
}  // namespace

namespace {
TEST_F(StatusPage, ABarWithoutPictureIsSavedWithoutOne)
{
    ASSERT_NE(L"", StatusText(L"pic"));
    PreviewChanges().clear();
    Toggle(c_statusNoPicture);
    EXPECT_EQ(0, Status().editorFlag);
    EXPECT_TRUE(ChangedPart(c_statusPart));
    ASSERT_NO_FATAL_FAILURE(SaveAndReopen(m_folder / L"plain.vsf"));
    EXPECT_EQ(L"", StatusText(L"pic"));
    EXPECT_EQ(L"", StatusText(L"pic_mask"));
    EXPECT_EQ(L"", m_page->PictureControl()->GetPath());
}
}  // namespace
