#include "editor/widgets/button_array.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/app/app.h"
#include "foundation/core/str.h"
#include "graphics/image/mem_dc.h"
#include "skin_model/base_info.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/flat_png.h"
#include "tests/support/temp_folder.h"

namespace {

struct t_sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;  // the file name wParam points to, for 1282 and 1290
    HCURSOR cursor;     // the thread's cursor as it arrived
};

std::vector<t_sent> g_sent;
std::vector<std::wstring> g_boxes;
// The thread's cursor as each box showed.
std::vector<HCURSOR> g_boxCursors;

int WINAPI RecordBox(HWND, LPCWSTR text, LPCWSTR caption, UINT)
{
    g_boxes.push_back(std::wstring(text ? text : L"") + L"|" + (caption ? caption : L""));
    g_boxCursors.push_back(GetCursor());
    return IDOK;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message >= c_msgButtonPictureChanged && message <= c_msgButtonStateEdited) ||
        message == n_editorMessage::c_skinChanged) {
        t_sent sent{message, wParam, lParam, L"", GetCursor()};
        if (message == c_msgButtonPictureChanged || message == c_msgButtonEditorLoaded)
            sent.text = reinterpret_cast<const wchar_t*>(wParam);
        g_sent.push_back(sent);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Png() { return FlatPng(4, 4, {0xFF0000FFu}); }

std::wstring Key(int index, int property)
{
    t_str key;
    MakePropertyKey(key, index, c_btnBuiltIn, property);
    return key.c_str();
}

std::wstring Text(HWND window)
{
    wchar_t text[300] = {};
    GetWindowTextW(window, text, 300);
    return text;
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class ButtonArrayTest : public t_tempFolderTest {
protected:
    ButtonArrayTest() : t_tempFolderTest(L"btnarray") {}

    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        IMEKavrelApp::RegisterClasses();
        WNDCLASSW host = {};
        host.lpfnWndProc = HostProc;
        host.hInstance = GetModuleHandleW(nullptr);
        host.lpszClassName = L"ButtonArrayTestHost";
        RegisterClassW(&host);
    }

    void SetUp() override
    {
        g_sent.clear();
        g_boxes.clear();
        m_oldBox = ButtonArray::SetMessageBoxHook(&RecordBox);
        m_oldChainBox = t_errorChain::SetMessageBoxHook(&RecordBox);
        BaseInfo::SetWorkFolder(dir.Path().c_str());
        m_host = CreateWindowExW(0, L"ButtonArrayTestHost", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 600, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }

    void TearDown() override
    {
        m_array.reset();
        DestroyWindow(m_host);
        ButtonArray::SetMessageBoxHook(m_oldBox);
        t_errorChain::SetMessageBoxHook(m_oldChainBox);
        BaseInfo::SetWorkFolder(L"");
    }

    // A panel with one group (key 7) of a normal (key 0, clearable, notifying) and a
    // down row (key 1, not clearable), created in the host.
    ButtonArray* Make(int kind, int editorIndex, int buttonIndex)
    {
        m_array.reset(CreateButtonArray(kind, editorIndex, buttonIndex, c_btnBuiltIn));
        m_array->AddGroup(7, L"按钮");
        m_array->AddRow(7, 0, L"正常", true, true);
        m_array->AddRow(7, 1, L"按下", false, false);
        m_array->SetRowProperty(7, 0, Key(buttonIndex, c_propNormal).c_str(), 0, L"x_normal");
        m_array->SetRowProperty(7, 1, Key(buttonIndex, c_propDown).c_str(), 0, L"x_down");
        m_array->SetPropertyKey(Key(buttonIndex, kind == c_arrayWindowStatus ? c_propPos : c_propAlign).c_str());
        EXPECT_TRUE(m_array->CreateEditor(WS_VISIBLE, m_host, GetModuleHandleW(nullptr)));
        return m_array.get();
    }

    std::vector<t_sent> Sent(UINT message) const
    {
        std::vector<t_sent> out;
        for (const t_sent& sent : g_sent) {
            if (sent.message == message)
                out.push_back(sent);
        }
        return out;
    }

    HWND m_host = nullptr;
    std::unique_ptr<ButtonArray> m_array;
    ButtonArray::t_messageBoxFn m_oldBox = nullptr;
    t_errorChain::t_messageBoxFn m_oldChainBox = nullptr;
};

TEST_F(ButtonArrayTest, FactoryPicksTheEditorOfTheWindowAndTheWebLines)
{
    struct t_case {
        int kind;
        int button;
        int extraHeight;
        bool web;
    };
    const t_case cases[] = {
        {0, c_btnMenu, 24, false},    {0, c_btnWebpage, 80, true}, {1, c_btnMenu, 84, false},
        {4, c_btnWebpage, 140, true}, {2, c_btnMenu, 84, false},   {6, c_btnWebpage, 140, true},
    };
    for (const t_case& c : cases) {
        std::unique_ptr<ButtonArray> array(CreateButtonArray(c.kind, 3, c.button, c_btnBuiltIn));
        SCOPED_TRACE(c.kind * 100 + c.button);
        EXPECT_EQ(c.extraHeight, array->ExtraHeight());
        const bool full = dynamic_cast<ButtonArrayFull*>(array.get()) != nullptr;
        const bool sep = dynamic_cast<ButtonArraySep*>(array.get()) != nullptr;
        const bool status = dynamic_cast<ButtonArrayStatus*>(array.get()) != nullptr;
        EXPECT_EQ(c.kind == 0, status);
        EXPECT_EQ(c.kind == 1 || c.kind == 4, full);
        EXPECT_EQ(c.kind != 0 && c.kind != 1 && c.kind != 4, sep);
        const bool web = dynamic_cast<ButtonArrayWeb<ButtonArrayStatus>*>(array.get()) ||
                         dynamic_cast<ButtonArrayWeb<ButtonArrayFull>*>(array.get()) ||
                         dynamic_cast<ButtonArrayWeb<ButtonArraySep>*>(array.get());
        EXPECT_EQ(c.web, web);
    }
    // A custom button with the web button's index is a plain editor.
    std::unique_ptr<ButtonArray> custom(CreateButtonArray(1, 0, c_btnWebpage, c_btnCustom));
    EXPECT_EQ(84, custom->ExtraHeight());
}

TEST_F(ButtonArrayTest, KeysAreLookedUpAndMissingOnesChangeNothing)
{
    ButtonArraySep array(0, 0, 0);
    EXPECT_FALSE(array.AddRow(1, 0, L"a", false, false));
    ASSERT_TRUE(array.AddGroup(1, L"g"));
    ASSERT_TRUE(array.AddRow(1, 0, L"a", false, false));
    ASSERT_TRUE(array.AddRow(1, -1, L"b", false, false));
    EXPECT_TRUE(array.SetRowFile(1, 0, L"a.png"));
    EXPECT_FALSE(array.SetRowFile(1, -1, L"b.png"));
    EXPECT_FALSE(array.SetRowFile(2, 0, L"b.png"));
    EXPECT_FALSE(array.SetRowProperty(1, 5, L"k", 0, L"x"));
    wchar_t out[6] = L"?";
    EXPECT_TRUE(array.GetRowFile(1, 0, out, 4));
    EXPECT_STREQ(L"a.p", out);
    EXPECT_FALSE(array.GetRowFile(1, -1, out, 6));
    int width = 0, height = 0;
    array.GetContentSize(width, height);
    EXPECT_EQ(220 + 8 + 8, width);
    EXPECT_EQ((28 + 2 * 34) + 2 + 4 + 84, height);
}

TEST_F(ButtonArrayTest, RowsCarryTheirControlsAtTheirPlaces)
{
    ButtonArray* array = Make(2, 5, c_btnMenu);
    const RECT rect = {10, 10, 310, 400};
    const int used = array->Place(rect);
    EXPECT_EQ(84 + (28 + 2 * 34) + 2 + 4, used);
    EXPECT_EQ(0, array->Place(rect));

    ButtonArray::t_list* group = array->FindGroup(7);
    ASSERT_TRUE(group && group->GetHwnd());
    const HWND groupWindow = group->GetHwnd();
    RECT groupRect = ChildRect(array->GetHwnd(), groupWindow);
    EXPECT_EQ(4, groupRect.left);
    EXPECT_EQ(84 + 1, groupRect.top);
    EXPECT_EQ(28 + 2 * 34, groupRect.bottom - groupRect.top);
    EXPECT_EQ(L"按钮", Text(GetDlgItem(groupWindow, ButtonArray::c_idCaption)));

    ButtonArray::t_item* normal = array->FindRow(7, 0);
    ButtonArray::t_item* down = array->FindRow(7, 1);
    const HWND row = normal->GetHwnd();
    wchar_t className[32] = {};
    GetClassNameW(row, className, 32);
    EXPECT_STREQ(L"IMEKavrel_BTN", className);
    EXPECT_EQ(L"正常", Text(GetDlgItem(row, ButtonArray::c_idCaption)));
    EXPECT_EQ(L"导入..", Text(GetDlgItem(row, ButtonArray::c_idImport)));
    EXPECT_EQ(L"清除", Text(GetDlgItem(row, ButtonArray::c_idClear)));
    EXPECT_EQ(nullptr, GetDlgItem(down->GetHwnd(), ButtonArray::c_idClear));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongW(GetDlgItem(row, ButtonArray::c_idPicture), GWL_STYLE) & BS_TYPEMASK);

    // Row width = group width (300 - 8); c = 4 + (292 - 8 - 220) / 2.
    const int c = 4 + (300 - 8 - 8 - 220) / 2;
    const int expected[][3] = {{ButtonArray::c_idCaption, c + 4, 6},
                               {ButtonArray::c_idPicture, c + 88, 0},
                               {ButtonArray::c_idImport, c + 116, 0},
                               {ButtonArray::c_idClear, c + 168, 0}};
    for (const auto& e : expected) {
        const RECT r = ChildRect(row, GetDlgItem(row, e[0]));
        EXPECT_EQ(e[1], r.left) << e[0];
        EXPECT_EQ(e[2], r.top) << e[0];
    }
    EXPECT_EQ(ButtonArray::SharedFont(),
              reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(row, ButtonArray::c_idImport), WM_GETFONT, 0, 0)));
}

TEST_F(ButtonArrayTest, PanelScrollsOnlyWhenTheContentIsTaller)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    array->Place(RECT{0, 0, 300, 100});
    EXPECT_TRUE(GetWindowLongW(array->GetHwnd(), GWL_STYLE) & WS_VSCROLL);
    SendMessageW(array->GetHwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(20, array->ScrollPos());
    SendMessageW(array->GetHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    int width = 0, height = 0;
    array->GetContentSize(width, height);
    EXPECT_EQ(height - 100, array->ScrollPos());
    SendMessageW(array->GetHwnd(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, array->ScrollPos());

    array->Place(RECT{0, 0, 300, 500});
    EXPECT_FALSE(GetWindowLongW(array->GetHwnd(), GWL_STYLE) & WS_VSCROLL);
    SendMessageW(array->GetHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(0, array->ScrollPos());
}

TEST_F(ButtonArrayTest, ImportCopiesUnderTheExpectedNameAndRemovesTheTwin)
{
    struct t_case {
        const wchar_t* chosen;
        const wchar_t* created;
        const wchar_t* twin;
    };
    const t_case cases[] = {
        {L"a.bmp", L"x_normal.bmp", L"x_normal.png"},
        {L"b.png", L"x_normal.png", L"x_normal.gif"},
        {L"c.gif", L"x_normal.gif", L"x_normal.png"},
    };
    ButtonArray* array = Make(1, 2, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.chosen);
        g_sent.clear();
        g_boxes.clear();
        WriteBytes(At(c.twin), Png());
        const std::wstring outside = At(L"..") + L"\\btnarray_chosen_" + c.chosen;
        WriteBytes(outside, Png());
        row->ImportFile(outside.c_str());
        DeleteFileW(outside.c_str());
        EXPECT_STREQ(c.created, row->FileName());
        EXPECT_TRUE(Exists(At(c.created)));
        EXPECT_FALSE(Exists(At(c.twin)));
        EXPECT_TRUE(row->HasPicture());
        EXPECT_TRUE(g_boxes.empty());
        const auto changed = Sent(c_msgButtonPictureChanged);
        ASSERT_EQ(1u, changed.size());
        EXPECT_EQ(MAKELPARAM(7, 2), changed[0].lParam);
        EXPECT_EQ(c.created, changed[0].text);
        const auto edited = Sent(c_msgButtonStateEdited);
        ASSERT_EQ(1u, edited.size());
        EXPECT_EQ(1u, edited[0].wParam);
        DeleteFileW(At(c.created).c_str());
    }
}

TEST_F(ButtonArrayTest, ImportOfAFileThatIsNoPictureSaysSo)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 1);
    const std::wstring chosen = At(L"not_a_picture.png");
    WriteBytes(chosen, "plain text");
    row->ImportFile(chosen.c_str());
    EXPECT_STREQ(L"x_down.png", row->FileName());
    EXPECT_FALSE(row->HasPicture());
    ASSERT_EQ(2u, g_boxes.size());
    EXPECT_EQ(At(L"x_down.png") + L"|", g_boxes[0]);
    EXPECT_EQ(L"无法打开图片|栖鹭拼音输入法皮肤编辑器", g_boxes[1]);
    // The down row does not notify picture changes, but tells of the edit.
    EXPECT_TRUE(Sent(c_msgButtonPictureChanged).empty());
    EXPECT_EQ(1u, Sent(c_msgButtonStateEdited).size());
}

// The import copies and decodes under the wait cursor, the page hearing of it meanwhile;
// the cursor is back before a box says what went wrong, and after.
TEST_F(ButtonArrayTest, ImportWaitsWithTheWaitCursor)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    const std::wstring picture = At(L"..") + L"\\btnarray_wait.png";
    WriteBytes(picture, Png());
    const std::wstring text = At(L"..") + L"\\btnarray_wait.gif";
    WriteBytes(text, "plain text");
    struct t_case {
        const std::wstring* chosen;
        size_t boxes;
    };
    for (const t_case& c : {t_case{&picture, 0}, t_case{&text, 2}}) {
        g_sent.clear();
        g_boxes.clear();
        g_boxCursors.clear();
        SetCursor(arrow);
        row->ImportFile(c.chosen->c_str());
        const auto edited = Sent(c_msgButtonStateEdited);
        ASSERT_EQ(1u, edited.size());
        EXPECT_EQ(wait, edited[0].cursor);
        ASSERT_EQ(c.boxes, g_boxCursors.size());
        for (HCURSOR shown : g_boxCursors)
            EXPECT_EQ(arrow, shown);
        EXPECT_EQ(arrow, GetCursor());
    }
    DeleteFileW(picture.c_str());
    DeleteFileW(text.c_str());
}

TEST_F(ButtonArrayTest, FailedImportCopyKeepsTheTwin)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    WriteBytes(At(L"x_normal.gif"), Png());
    row->ImportFile(At(L"missing.png").c_str());
    EXPECT_TRUE(Exists(At(L"x_normal.gif")));
    EXPECT_FALSE(row->HasPicture());
    EXPECT_FALSE(g_boxes.empty());
}

TEST_F(ButtonArrayTest, ReimportingTheRowsOwnFileKeepsIt)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    WriteBytes(At(L"x_normal.png"), Png());
    WriteBytes(At(L"x_normal.gif"), Png());
    row->ImportFile(At(L"x_normal.png").c_str());
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_TRUE(row->HasPicture());
    EXPECT_TRUE(Exists(At(L"x_normal.png")));
    EXPECT_FALSE(Exists(At(L"x_normal.gif")));
}

TEST_F(ButtonArrayTest, ClearDeletesTheFileButNeverOneOutsideTheSkin)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    WriteBytes(At(L"x_normal.png"), Png());
    row->SetFileName(L"x_normal.png");
    ASSERT_EQ(0, row->LoadPicture(false));
    row->Clear();
    EXPECT_FALSE(Exists(At(L"x_normal.png")));
    EXPECT_STREQ(L"", row->FileName());
    EXPECT_FALSE(row->HasPicture());
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(row->GetHwnd(), ButtonArray::c_idPicture)));
    EXPECT_EQ(1u, Sent(c_msgButtonStateEdited).size());
    ASSERT_EQ(1u, Sent(c_msgButtonPictureChanged).size());
    EXPECT_EQ(L"", Sent(c_msgButtonPictureChanged)[0].text);

    const std::wstring outside = At(L"..") + L"\\btnarray_keep.png";
    WriteBytes(outside, Png());
    row->SetFileName(L"..\\btnarray_keep.png");
    row->Clear();
    EXPECT_TRUE(Exists(outside));
    DeleteFileW(outside.c_str());
}

TEST_F(ButtonArrayTest, LoadingGivesModelPicturesTheirExpectedNames)
{
    struct t_case {
        std::vector<const wchar_t*> present;
        const wchar_t* model;
        const wchar_t* expected;
    };
    const t_case cases[] = {
        {{L"old.png"}, L"old.png", L"x_down.png"},
        {{L"old.png", L"x_down.png"}, L"old.png", L"x_down#0.png"},
        {{L"old.png", L"x_down.png", L"x_down#0.png"}, L"old.png", L"x_down#1.png"},
        {{L"X_Down.bmp"}, L"X_Down.bmp", L"X_Down.bmp"},
        {{}, L"", L""},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowHorizontalCombined));
        for (const wchar_t* name : c.present)
            WriteBytes(At(name), Png());
        ASSERT_TRUE(info->SetStringByKey(Key(c_btnMenu, c_propDown).c_str(), 0, c.model));
        ButtonArray* array = Make(1, 0, c_btnMenu);
        array->LoadFromModel(*info);
        EXPECT_STREQ(c.expected, array->FindRow(7, 1)->FileName());
        t_str stored;
        info->GetStringByKey(Key(c_btnMenu, c_propDown).c_str(), 0, stored);
        EXPECT_STREQ(c.expected, stored.c_str());
        if (c.model[0]) {
            EXPECT_TRUE(Exists(At(c.expected)));
            EXPECT_TRUE(Exists(At(c.model)));
            EXPECT_TRUE(array->FindRow(7, 1)->HasPicture());
        }
        for (const wchar_t* name : {L"old.png", L"x_down.png", L"x_down#0.png", L"x_down#1.png", L"X_Down.bmp"})
            DeleteFileW(At(name).c_str());
    }
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ButtonArrayTest, ModelNamesOutsideTheSkinAreNeitherCopiedNorRead)
{
    const std::wstring outside = At(L"..") + L"\\btnarray_secret.png";
    WriteBytes(outside, Png());
    std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowHorizontalCombined));
    info->SetStringByKey(Key(c_btnMenu, c_propDown).c_str(), 0, L"..\\btnarray_secret.png");
    ButtonArray* array = Make(1, 0, c_btnMenu);
    array->LoadFromModel(*info);
    EXPECT_FALSE(Exists(At(L"x_down.png")));
    EXPECT_FALSE(array->FindRow(7, 1)->HasPicture());
    DeleteFileW(outside.c_str());
}

TEST_F(ButtonArrayTest, StoreWritesRowNames)
{
    std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowHorizontalCombined));
    ButtonArray* array = Make(1, 0, c_btnMenu);
    array->SetRowFile(7, 0, L"n.png");
    array->StoreToModel(*info);
    t_str value;
    info->GetStringByKey(Key(c_btnMenu, c_propNormal).c_str(), 0, value);
    EXPECT_STREQ(L"n.png", value.c_str());
    info->GetStringByKey(Key(c_btnMenu, c_propDown).c_str(), 0, value);
    EXPECT_STREQ(L"", value.c_str());
}

TEST_F(ButtonArrayTest, AlignmentRoundTripsTheTenValues)
{
    // margins top, bottom, left, right; vertical pair; horizontal pair; area; target.
    struct t_case {
        int in[10];
        int out[10];
    };
    const t_case cases[] = {
        {{1, 2, 3, 999, 1, 0, 0, 2, 9, 2}, {1, 2, 3, 999, 1, 0, 0, 2, 9, 2}},
        {{0, 0, 0, 0, 0, 2, 1, 0, 1, 1}, {0, 0, 0, 0, 0, 2, 1, 0, 1, 1}},
        {{5, 6, 7, 8, 0, 0, 0, 0, 5, 0}, {5, 6, 7, 8, 0, 0, 0, 0, 5, 0}},
        // Pairs the lists cannot show become centred; an area beyond the list is kept.
        {{0, 0, 0, 0, 1, 2, 2, 2, 12, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 12, 0}},
    };
    const std::wstring key = Key(c_btnSearch, c_propAlign);
    for (const t_case& c : cases) {
        std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowHorizontalCombined));
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(info->SetIntByKey(key.c_str(), i, c.in[i]));
        ButtonArray* array = Make(1, 4, c_btnSearch);
        array->LoadFromModel(*info);
        for (int i = 0; i < 10; ++i)
            info->SetIntByKey(key.c_str(), i, -7);
        info->SetIntByKey(key.c_str(), 8, c.in[8]);
        array->StoreToModel(*info);
        for (int i = 0; i < 10; ++i) {
            int value = -1;
            info->GetIntByKey(key.c_str(), i, value);
            EXPECT_EQ(c.out[i], value) << "case " << (&c - cases) << " value " << i;
        }
    }
    EXPECT_TRUE(Sent(c_msgButtonPlacementChanged).empty());
}

TEST_F(ButtonArrayTest, AlignmentControlsAndTheirNotice)
{
    ButtonArray* array = Make(5, 6, c_btnSearch);
    const HWND panel = array->GetHwnd();
    EXPECT_EQ(1, SendDlgItemMessageW(panel, ButtonArrayComp::c_idTarget, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(9, SendDlgItemMessageW(panel, ButtonArrayComp::c_idArea, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(3, SendDlgItemMessageW(panel, ButtonArrayComp::c_idVertical, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"距右边至少", Text(GetDlgItem(panel, ButtonArrayComp::MarginLabelId(3))));
    const HWND edit = GetDlgItem(panel, ButtonArrayComp::MarginEditId(0));
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_NUMBER);
    EXPECT_EQ(3, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    const HWND spin = GetDlgItem(panel, ButtonArrayComp::MarginSpinId(0));
    int low = -1, high = -1;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(0, low);
    EXPECT_EQ(999, high);

    std::unique_ptr<ButtonArray> full(CreateButtonArray(4, 0, c_btnSearch, c_btnBuiltIn));
    full->CreateEditor(0, m_host, GetModuleHandleW(nullptr));
    EXPECT_EQ(3, SendDlgItemMessageW(full->GetHwnd(), ButtonArrayComp::c_idTarget, CB_GETCOUNT, 0, 0));

    g_sent.clear();
    SetWindowTextW(edit, L"12");
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(ButtonArrayComp::c_idArea, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, ButtonArrayComp::c_idArea)));
    const auto sent = Sent(c_msgButtonPlacementChanged);
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(6u, sent[0].wParam);
    EXPECT_EQ(0, sent[0].lParam);
}

TEST_F(ButtonArrayTest, StatusPositionLoadsStoresAndReportsTypedValues)
{
    const std::wstring key = Key(c_btnMenu, c_propPos);
    std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowStatusBar));
    ASSERT_TRUE(info->SetIntByKey(key.c_str(), 0, 17));
    ASSERT_TRUE(info->SetIntByKey(key.c_str(), 1, 230));
    info->SetStringByKey(Key(c_btnMenu, c_propNormal).c_str(), 0, L"x_normal.png");
    WriteBytes(At(L"x_normal.png"), Png());
    ButtonArray* array = Make(0, 3, c_btnMenu);
    const HWND panel = array->GetHwnd();
    array->LoadFromModel(*info);
    const auto loaded = Sent(c_msgButtonEditorLoaded);
    ASSERT_EQ(1u, loaded.size());
    EXPECT_EQ(L"x_normal.png", loaded[0].text);
    EXPECT_EQ(MAKELPARAM(1, 3), loaded[0].lParam);
    EXPECT_EQ(L"17", Text(GetDlgItem(panel, ButtonArrayStatus::c_idXEdit)));
    EXPECT_EQ(L"230", Text(GetDlgItem(panel, ButtonArrayStatus::c_idYEdit)));
    EXPECT_TRUE(Sent(c_msgButtonPlacementChanged).empty());

    array->SetPos(40, 50);
    EXPECT_TRUE(Sent(c_msgButtonPlacementChanged).empty());
    array->StoreToModel(*info);
    int x = 0, y = 0;
    info->GetIntByKey(key.c_str(), 0, x);
    info->GetIntByKey(key.c_str(), 1, y);
    EXPECT_EQ(40, x);
    EXPECT_EQ(50, y);

    SetDlgItemTextW(panel, ButtonArrayStatus::c_idYEdit, L"61");
    const auto moved = Sent(c_msgButtonPlacementChanged);
    ASSERT_EQ(1u, moved.size());
    EXPECT_EQ(3u, moved[0].wParam);
    EXPECT_EQ(MAKELPARAM(40, 61), moved[0].lParam);
}

TEST_F(ButtonArrayTest, WebButtonKeepsItsOwnAddressAndHint)
{
    const std::wstring url = Key(c_btnWebpage, c_propUrl);
    const std::wstring hint = Key(c_btnWebpage, c_propHint);
    std::unique_ptr<BtnInfo> info(BtnInfo::New(c_windowHorizontalComp));
    ASSERT_TRUE(info->SetStringByKey(url.c_str(), 0, L"  http://example.test/  "));
    ASSERT_TRUE(info->SetStringByKey(hint.c_str(), 0, L"   "));
    ButtonArray* array = Make(2, 0, c_btnWebpage);
    const HWND panel = array->GetHwnd();
    EXPECT_EQ(84 + 56, array->ExtraHeight());
    array->LoadFromModel(*info);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(panel, ButtonArrayWeb<ButtonArraySep>::c_idUrlCheck));
    EXPECT_EQ(L"http://example.test/", Text(GetDlgItem(panel, ButtonArrayWeb<ButtonArraySep>::c_idUrlEdit)));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintCheck));
    EXPECT_EQ(L"", Text(GetDlgItem(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintEdit)));

    // The hint ticked and typed, the address unticked. Typing only marks the skin
    // modified: the page passes that on, and the preview, which shows neither, stays.
    CheckDlgButton(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintCheck, BST_CHECKED);
    g_sent.clear();
    SetDlgItemTextW(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintEdit, L" 看看 ");
    const auto marks = Sent(n_editorMessage::c_skinChanged);
    ASSERT_FALSE(marks.empty());
    for (const t_sent& mark : marks)
        EXPECT_EQ(static_cast<WPARAM>(MAKEWPARAM(n_editorMessage::c_modifiedOnly, 0)), mark.wParam);
    EXPECT_EQ(marks.size(), g_sent.size());
    CheckDlgButton(panel, ButtonArrayWeb<ButtonArraySep>::c_idUrlCheck, BST_UNCHECKED);
    array->StoreToModel(*info);
    t_str value;
    info->GetStringByKey(url.c_str(), 0, value);
    EXPECT_STREQ(L"", value.c_str());
    info->GetStringByKey(hint.c_str(), 0, value);
    EXPECT_STREQ(L"看看", value.c_str());

    // The lines sit below the alignment controls.
    array->Place(RECT{0, 0, 420, 600});
    const RECT check = ChildRect(panel, GetDlgItem(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintCheck));
    const RECT edit = ChildRect(panel, GetDlgItem(panel, ButtonArrayWeb<ButtonArraySep>::c_idHintEdit));
    EXPECT_EQ(4, check.left);
    EXPECT_EQ(84 + 28, check.top);
    EXPECT_EQ(104, edit.left);
    EXPECT_EQ(84 + 28 + 3, edit.top);
}

TEST_F(ButtonArrayTest, UserImportsThroughTheFileDialogAndClears)
{
    ButtonArray* array = Make(1, 1, c_btnMenu);
    array->Place(RECT{0, 0, 300, 300});
    ButtonArray::t_item* row = array->FindRow(7, 0);
    const std::wstring chosen = At(L"..") + L"\\btnarray_user.png";
    WriteBytes(chosen, Png());
    WriteBytes(At(L"x_normal.gif"), Png());
    {
        t_dialogDriver driver;
        driver.Type(chosen);
        SendMessageW(GetDlgItem(row->GetHwnd(), ButtonArray::c_idImport), BM_CLICK, 0, 0);
        EXPECT_TRUE(driver.AllAnswered());
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    DeleteFileW(chosen.c_str());
    EXPECT_STREQ(L"x_normal.png", row->FileName());
    EXPECT_TRUE(Exists(At(L"x_normal.png")));
    EXPECT_FALSE(Exists(At(L"x_normal.gif")));
    EXPECT_EQ(1u, Sent(c_msgButtonStateEdited).size());

    SendMessageW(GetDlgItem(row->GetHwnd(), ButtonArray::c_idClear), BM_CLICK, 0, 0);
    EXPECT_FALSE(Exists(At(L"x_normal.png")));
    EXPECT_STREQ(L"", row->FileName());
    EXPECT_EQ(2u, Sent(c_msgButtonStateEdited).size());
}

TEST_F(ButtonArrayTest, PictureButtonDrawsTheStatePictureStretched)
{
    ButtonArray* array = Make(1, 0, c_btnMenu);
    ButtonArray::t_item* row = array->FindRow(7, 0);
    const HWND button = GetDlgItem(row->GetHwnd(), ButtonArray::c_idPicture);
    t_memDC dib;
    ASSERT_TRUE(t_memDC::Create(dib, nullptr, 24, 24, t_dibRows::topDown));
    const HDC dc = dib.dc;
    const uint32_t* bits = dib.Pixels();
    auto draw = [&] {
        DRAWITEMSTRUCT item = {ODT_BUTTON, ButtonArray::c_idPicture, 0, ODA_DRAWENTIRE, 0, button,
                               dc,         {0, 0, 24, 24},           0};
        SendMessageW(row->GetHwnd(), WM_DRAWITEM, ButtonArray::c_idPicture, reinterpret_cast<LPARAM>(&item));
        GdiFlush();
        return bits[12 * 24 + 12] & 0xFFFFFF;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t facePixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    EXPECT_EQ(facePixel, draw());
    WriteBytes(At(L"x_normal.png"), Png());
    row->SetFileName(L"x_normal.png");
    ASSERT_EQ(0, row->LoadPicture(false));
    EXPECT_EQ(0xFF0000u, draw());
}

}  // namespace
