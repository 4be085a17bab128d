#include "editor/pages/layout_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "editor/app/app.h"
#include "editor/framework/editor_messages.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/manual_adjust_window.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/combine_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/separate_info.h"
#include "tests/support/cursor_probe.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/flat_png.h"

namespace {
// The parent of the page under test: records the change notices and, with commit set,
// commits the model into the work folder on each as the preview does.
class t_recordingParent : public Frame {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == n_editorMessage::c_skinChanged) {
            notices.push_back(wParam);
            t_errorChain errors;
            if (commit)
                committed = IMESkin::Instance()->RefreshWorkCopy(errors);
        }
        return Frame::WndProc(window, message, wParam, lParam);
    }
    std::vector<WPARAM> notices;
    bool commit = false;
    bool committed = false;
};

// What an adjustment window was told: the page's messages to it, recorded before it handles them.
struct t_adjustLog {
    std::vector<std::pair<UINT, WPARAM>> messages;
    std::vector<LPARAM> lParams;
    std::vector<std::wstring> pictures;
    WNDPROC previous = nullptr;

    size_t Count(UINT message) const
    {
        size_t n = 0;
        for (const auto& m : messages)
            n += m.first == message;
        return n;
    }
    void Clear()
    {
        messages.clear();
        lParams.clear();
        pictures.clear();
    }
};

const wchar_t c_logProperty[] = L"layout_pages_test.log";

LRESULT CALLBACK RecordAdjust(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    t_adjustLog* log = static_cast<t_adjustLog*>(GetPropW(window, c_logProperty));
    if (message == n_manualAdjust::c_setMargins || message == n_manualAdjust::c_setPoint ||
        message == n_manualAdjust::c_loadPicture) {
        log->messages.push_back({message, wParam});
        log->lParams.push_back(lParam);
        if (message == n_manualAdjust::c_loadPicture)
            log->pictures.push_back(reinterpret_cast<const wchar_t*>(lParam));
    }
    return CallWindowProcW(log->previous, window, message, wParam, lParam);
}

void Listen(HWND window, t_adjustLog& log)
{
    SetPropW(window, c_logProperty, &log);
    log.previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordAdjust)));
}

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadFile(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return std::string();
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    fclose(file);
    return text;
}

std::wstring WorkFile(const wchar_t* name) { return std::wstring(IMESkin::Instance()->GetWorkFolder()) + L"\\" + name; }

template <class Page>
struct t_pageKind {
    using page = Page;
};

class LayoutPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool registered = false;
        if (registered)
            return;
        SetModuleInstance(GetModuleHandleW(nullptr));
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(IMEKavrelApp::RegisterClasses());
        registered = true;
    }

    void SetUp() override
    {
        ASSERT_TRUE(IMESkin::Instance()->New());
        ASSERT_TRUE(m_parent.Create(nullptr, L"layout page host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 700, 1000, nullptr,
                                    GetModuleInstance()));
    }

    void TearDown() override
    {
        DestroyWindow(m_parent.GetHwnd());
        m_parent.OnDestroy();
        delete m_page;
        if (IMESkin::Instance()->IsEditing())
            IMESkin::Instance()->Close();
        for (const t_dialogDriver::t_seen& seen : m_driver.Unexpected())
            ADD_FAILURE() << "a dialog appeared: " << seen.caption.size() << " units of caption";
    }

    // Creates the page on the parent, listens to its adjustment windows and loads it.
    void Open(LayoutPage* page, int templateId)
    {
        m_page = page;
        ASSERT_TRUE(m_page->Create(GetModuleInstance(), templateId, m_parent.GetHwnd()));
        for (int w = 0; w < m_page->WindowCount(); ++w) {
            ASSERT_NE(m_page->AdjustWindow(w), nullptr);
            Listen(m_page->AdjustWindow(w)->GetHwnd(), m_logs[w]);
        }
        m_page->LoadFromModel();
    }

    HWND Item(int id) { return GetDlgItem(m_page->GetHwnd(), id); }
    std::wstring Text(int id) { return t_dialogDriver::TextOf(Item(id)); }
    // Typing a number: the edit's notices come as from the keyboard.
    void Type(int id, const wchar_t* text) { SetWindowTextW(Item(id), text); }
    int Number(int id) { return _wtoi(Text(id).c_str()); }
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    bool NoticeOf(t_partIndex part, bool repaint)
    {
        const WPARAM expected = static_cast<WPARAM>(part) | (repaint ? 0x10000 : 0);
        for (WPARAM notice : m_parent.notices)
            if (notice == expected)
                return true;
        return false;
    }
    // A finished drag of a grip of the adjustment window with control id.
    void Drag(int control, int code, int x, int y)
    {
        SendMessageW(m_page->GetHwnd(), n_manualAdjust::c_gripMoved, MAKEWPARAM(code, control), MAKELPARAM(x, y));
    }
    // One section of the work folder's Skin.ini after the preview's refresh.
    std::string CommittedSection(const char* section)
    {
        const std::string ini = CommittedIni();
        const size_t start = ini.find(std::string("[") + section + "]");
        if (start == std::string::npos)
            return std::string();
        return ini.substr(start, ini.find("\n[", start) - start);
    }
    std::string CommittedIni()
    {
        t_errorChain errors;
        EXPECT_TRUE(IMESkin::Instance()->RefreshWorkCopy(errors));
        std::string text = ReadFile(WorkFile(L"Skin.ini"));
        if (text.compare(0, 2, "\xFF\xFE") != 0)
            return text;
        // UTF-16: keep the low bytes of the ASCII keys and values.
        std::string plain;
        for (size_t i = 0; i + 1 < text.size(); i += 2)
            if (text[i + 1] == 0)
                plain += text[i];
        return plain;
    }

    t_recordingParent m_parent;
    LayoutPage* m_page = nullptr;
    t_adjustLog m_logs[LayoutPage::c_maxWindows];
    t_dialogDriver m_driver;
};

// A picture of width x height in the work folder, named name.
void PutPicture(const wchar_t* name, int width, int height)
{
    WriteFile(WorkFile(name), FlatPng(width, height, {0x3366CCFFu}));
}
}  // namespace

TEST(LayoutPageRules, EdgesBeyondThePictureArePulledBack)
{
    struct {
        int value, size, other, expected;
    } const cases[] = {
        {80, 100, 30, 69},                    // the left edge of a 100-pixel picture whose right edge is 30
        {69, 100, 30, 69},                    // just below the limit stays
        {70, 100, 30, 69},                    // the limit itself does not
        {0, 100, 30, 0},   {1, 100, 100, 0},  // the opposite edge fills the picture: anything from 1 becomes 0
        {5, 100, 150, 0},  {0, 100, 150, 0}, {99, 100, 0, 99},  // the anchor (other 0)
        {100, 100, 0, 99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(n_layoutPage::PullBackIntoPicture(c.value, c.size, c.other), c.expected)
            << c.value << " in " << c.size << " opposite " << c.other;
}

TEST(LayoutPageRules, OpacitySliderShowsTheRequestedStep)
{
    struct {
        int request, position;
        bool shows;
        int shown, snapped;
    } const cases[] = {
        {TB_LINEUP, 40, true, 50, 40},     {TB_PAGEUP, 40, true, 50, 40},
        {TB_LINEDOWN, 40, true, 30, 40},   {TB_PAGEDOWN, 5, true, 0, 5},
        {TB_TOP, 40, true, 0, 40},         {TB_BOTTOM, 40, true, 100, 40},
        {TB_ENDTRACK, 47, true, 40, 40},   {TB_THUMBPOSITION, 47, false, 0, 47},
        {TB_THUMBTRACK, 47, false, 0, 47}, {TB_LINEUP, 250, true, 255, 250},
    };
    for (const auto& c : cases) {
        int shown = -7;
        int snapped = -7;
        EXPECT_EQ(n_layoutPage::OpacityShown(c.request, c.position, shown, snapped), c.shows) << c.request;
        if (c.shows) {
            EXPECT_EQ(shown, c.shown) << c.request;
        }
        EXPECT_EQ(snapped, c.snapped) << c.request;
    }
}

using CombinePageTest = LayoutPageTest;

TEST_F(CombinePageTest, EveryFieldLoadsFromItsKeyAndStoresBack)
{
    HorizontalCombineInfo& part =
        static_cast<HorizontalCombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    PutPicture(L"bg.png", 100, 40);
    part.hasPic = true;
    wcscpy(part.pic, L"bg.png");
    wcscpy(part.picMask, L"mask.png");
    const int horizontal[3] = {1, 11, 12}, vertical[3] = {2, 13, 14};
    std::copy(horizontal, horizontal + 3, part.layoutHorizontal);
    std::copy(vertical, vertical + 3, part.layoutVertical);
    part.separatorEnabled = true;
    part.separator[0] = 0x123456;
    part.separator[1] = 21;
    part.separator[2] = 22;
    const int pinyin[4] = {31, 32, 33, 34}, cand[4] = {41, 42, 43, 44};
    std::copy(pinyin, pinyin + 4, part.pinyinMarge);
    std::copy(cand, cand + 4, part.zhongwenMarge);
    part.anchor[0] = 5;
    part.anchor[1] = 6;
    part.transparentEnabled = false;
    part.transparentColor = 0xABCDEF;
    part.opacity = 70;
    Open(new HorizontalCombinePage, c_dialogCombinePage);

    struct {
        int id;
        int value;
    } const numbers[] = {
        {c_combineLeftEdge, 11},    {c_combineRightEdge, 12},       {c_combineTopEdge, 13},
        {c_combineBottomEdge, 14},  {c_combineSeparatorLeft, 21},   {c_combineSeparatorRight, 22},
        {c_combinePinyinTop, 31},   {c_combinePinyinSeparator, 32}, {c_combinePinyinLeft, 33},
        {c_combinePinyinRight, 34}, {c_combineCandSeparator, 41},   {c_combineCandBottom, 42},
        {c_combineCandLeft, 43},    {c_combineCandRight, 44},       {c_combineAnchorLeft, 5},
        {c_combineAnchorTop, 6},    {c_layoutOpacityValue, 70},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(Number(n.id), n.value) << n.id;
    EXPECT_EQ(Text(c_combinePicture), L"bg.png");
    EXPECT_EQ(Text(c_combineMask), L"mask.png");
    EXPECT_EQ(SendMessageW(Item(c_combineHorizontalList), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Item(c_combineVerticalList), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(Item(c_combineVerticalList), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(Item(c_layoutOpacitySlider), TBM_GETPOS, 0, 0), 70);
    EXPECT_FALSE(Checked(c_combineNoPicture));
    EXPECT_TRUE(Checked(c_combineNoTransparent));
    EXPECT_FALSE(Checked(c_combineNoSeparator));
    EXPECT_EQ(m_page->TransparentPicker()->GetColor(), 0xABCDEFu);
    EXPECT_EQ(m_page->SeparatorPicker()->GetColor(), 0x123456u);
    EXPECT_FALSE(IsWindowVisible(Item(c_layoutOpacitySlider)));
    // The adjustment window got the edges and the picture.
    ASSERT_GE(m_logs[0].Count(n_manualAdjust::c_setMargins), 1u);
    ASSERT_GE(m_logs[0].Count(n_manualAdjust::c_loadPicture), 1u);
    EXPECT_EQ(m_logs[0].pictures.back(), WorkFile(L"bg.png"));
    int width = 0, height = 0;
    m_page->AdjustWindow(0)->GetPictureSize(width, height);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 40);

    // Every control back into its key.
    const int changed[] = {c_combineSeparatorLeft, c_combinePinyinTop, c_combineCandRight, c_combineTopEdge};
    for (int id : changed)
        Type(id, L"9");
    SendMessageW(Item(c_combineHorizontalList), CB_SETCURSEL, 0, 0);
    m_page->TransparentPicker()->SetColor(0x0000FF);
    Click(c_combineNoTransparent);
    SendMessageW(Item(c_layoutOpacitySlider), TBM_SETPOS, TRUE, 30);
    Click(c_combineNoSeparator);
    ASSERT_EQ(m_page->StoreToModel(), 1);
    EXPECT_EQ(part.separator[1], 9);
    EXPECT_EQ(part.pinyinMarge[0], 9);
    EXPECT_EQ(part.zhongwenMarge[3], 9);
    EXPECT_EQ(part.layoutVertical[1], 9);
    EXPECT_EQ(part.layoutHorizontal[0], 0);
    EXPECT_TRUE(part.transparentEnabled);
    EXPECT_EQ(part.transparentColor, 0x0000FFu);
    EXPECT_FALSE(part.separatorEnabled);
    EXPECT_EQ(part.opacity, 30);

    // And on into the work folder's Skin.ini.
    const std::string ini = CommittedSection("Scheme_H1");
    EXPECT_NE(ini.find("layout_horizontal=0,11,12"), std::string::npos) << ini;
    EXPECT_NE(ini.find("layout_vertical=2,9,14"), std::string::npos) << ini;
    EXPECT_NE(ini.find("pinyin_marge=9,32,33,34"), std::string::npos) << ini;
    EXPECT_TRUE(NoticeOf(t_partIndex::e_horizontalCombined, false));
}

TEST_F(CombinePageTest, CheckBoxesEnableTheirControls)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    PutPicture(L"bg.png", 100, 40);
    part.hasPic = true;
    wcscpy(part.pic, L"bg.png");
    part.transparentEnabled = true;
    part.separatorEnabled = true;
    Open(new HorizontalCombinePage, c_dialogCombinePage);
    const int pictureControls[] = {c_combinePicture,    c_combinePictureImport,  c_combineMask,
                                   c_combineMaskImport, c_combineHorizontalList, c_combineVerticalList,
                                   c_combineLeftEdge,   c_combineLeftEdgeSpin,   c_combineBottomEdge,
                                   c_combineAnchorLeft, c_combineAnchorTopSpin};
    for (int id : pictureControls)
        EXPECT_TRUE(Enabled(id)) << id;
    m_parent.notices.clear();
    m_logs[0].Clear();

    Click(c_combineNoPicture);
    for (int id : pictureControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(IsWindowEnabled(m_page->AdjustWindow(0)->Grip(ManualAdjustWindow::e_left)));
    EXPECT_FALSE(part.hasPic);
    EXPECT_TRUE(NoticeOf(t_partIndex::e_horizontalCombined, true));
    ASSERT_FALSE(m_logs[0].pictures.empty());
    EXPECT_EQ(m_logs[0].pictures.back(), L"");
    Click(c_combineNoPicture);
    EXPECT_TRUE(Enabled(c_combinePictureImport));
    EXPECT_NE(m_logs[0].pictures.back(), L"");

    EXPECT_TRUE(Enabled(c_layoutOpacitySlider));
    Click(c_combineNoTransparent);
    EXPECT_FALSE(Enabled(c_layoutOpacitySlider));
    EXPECT_FALSE(Enabled(c_layoutOpacityValue));
    EXPECT_FALSE(IsWindowEnabled(m_page->TransparentPicker()->ChooseButton()));
    EXPECT_FALSE(part.transparentEnabled);

    const int separatorControls[] = {c_combineSeparatorLeft, c_combineSeparatorLeftSpin, c_combineSeparatorRight,
                                     c_combineSeparatorRightSpin};
    Click(c_combineNoSeparator);
    for (int id : separatorControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(IsWindowEnabled(m_page->SeparatorPicker()->PickButton()));
    EXPECT_FALSE(part.separatorEnabled);
    const std::string section = CommittedSection("Scheme_H1");
    EXPECT_NE(section.find("separator="), std::string::npos) << section;
    EXPECT_EQ(section.find("separator=0x"), std::string::npos) << section;
    Click(c_combineNoSeparator);
    for (int id : separatorControls)
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(CombinePageTest, EdgesTypedBeyondThePictureArePulledBack)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_verticalCombined));
    PutPicture(L"bg.png", 100, 50);
    part.hasPic = true;
    wcscpy(part.pic, L"bg.png");
    part.layoutHorizontal[1] = 0;
    part.layoutHorizontal[2] = 30;
    part.layoutVertical[1] = 0;
    part.layoutVertical[2] = 60;
    Open(new VerticalCombinePage, c_dialogCombinePage);
    EXPECT_EQ(Text(c_combineTitle), L"竖排合窗口设置");
    m_logs[0].Clear();

    struct {
        int id;
        const wchar_t* typed;
        int expected;
    } const cases[] = {
        {c_combineLeftEdge, L"80", 69},  // 100 wide, right edge 30
        {c_combineLeftEdge, L"20", 20},  // inside stays
        {c_combineTopEdge, L"3", 0},     // bottom edge 60 beyond the 50-pixel height
        {c_combineAnchorLeft, L"150", 99}, {c_combineAnchorTop, L"49", 49},
    };
    for (const auto& c : cases) {
        Type(c.id, c.typed);
        EXPECT_EQ(Number(c.id), c.expected) << c.id << " typed " << std::string(c.typed, c.typed + wcslen(c.typed));
    }
    EXPECT_EQ(part.layoutHorizontal[1], 20);
    EXPECT_EQ(part.layoutVertical[1], 0);
    EXPECT_EQ(part.anchor[0], 99);
    EXPECT_EQ(part.anchor[1], 49);
    // The window got the corrected values: left 20 with right 30, the anchor at 99, 49.
    ASSERT_FALSE(m_logs[0].lParams.empty());
    for (size_t i = m_logs[0].messages.size(); i-- > 0;)
        if (m_logs[0].messages[i].first == n_manualAdjust::c_setMargins) {
            EXPECT_EQ(m_logs[0].lParams[i], static_cast<LPARAM>(MAKELONG(20, 30)));
            break;
        }
    EXPECT_EQ(m_logs[0].messages.back().first, n_manualAdjust::c_setPoint);
    EXPECT_EQ(m_logs[0].messages.back().second, static_cast<WPARAM>(MAKELONG(99, 49)));
    const std::string ini = CommittedSection("Scheme_V1");
    EXPECT_NE(ini.find("layout_horizontal=0,20,30"), std::string::npos) << ini;
    EXPECT_TRUE(NoticeOf(t_partIndex::e_verticalCombined, false));
}

TEST_F(CombinePageTest, DraggingAGuideLineUpdatesTheEditWithoutEcho)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    PutPicture(L"bg.png", 100, 40);
    part.hasPic = true;
    wcscpy(part.pic, L"bg.png");
    const int horizontal[3] = {0, 0, 5}, vertical[3] = {0, 2, 3};
    std::copy(horizontal, horizontal + 3, part.layoutHorizontal);
    std::copy(vertical, vertical + 3, part.layoutVertical);
    Open(new HorizontalCombinePage, c_dialogCombinePage);
    m_logs[0].Clear();
    m_parent.notices.clear();

    Drag(1, ManualAdjustWindow::e_left, 17, 3);
    Drag(1, ManualAdjustWindow::e_bottom, 2, 9);
    Drag(1, ManualAdjustWindow::e_point, 25, 12);
    EXPECT_EQ(Number(c_combineLeftEdge), 17);
    EXPECT_EQ(Number(c_combineBottomEdge), 9);
    EXPECT_EQ(Number(c_combineAnchorLeft), 25);
    EXPECT_EQ(Number(c_combineAnchorTop), 12);
    EXPECT_EQ(part.layoutHorizontal[1], 17);
    EXPECT_EQ(part.layoutVertical[2], 9);
    EXPECT_EQ(part.anchor[0], 25);
    EXPECT_EQ(part.anchor[1], 12);
    EXPECT_EQ(m_logs[0].Count(n_manualAdjust::c_setMargins), 0u);
    EXPECT_EQ(m_logs[0].Count(n_manualAdjust::c_setPoint), 0u);
    EXPECT_TRUE(NoticeOf(t_partIndex::e_horizontalCombined, false));

    // A typed value goes to the window.
    Type(c_combineRightEdge, L"7");
    ASSERT_EQ(m_logs[0].Count(n_manualAdjust::c_setMargins), 1u);
    EXPECT_EQ(m_logs[0].messages.back().second, static_cast<WPARAM>(MAKELONG(2, 9)));
    EXPECT_EQ(m_logs[0].lParams.back(), static_cast<LPARAM>(MAKELONG(17, 7)));
}

// The lines show the page's edges and the point its anchor as soon as the page fills,
// and again on a picture of another size; a line moved by an arrow key lands in its field
// and in Skin.ini.
TEST_F(CombinePageTest, AdjustmentLinesShowTheEdgesOnOpeningANewPictureAndMoveByKeys)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    PutPicture(L"bg.png", 100, 40);
    PutPicture(L"big.png", 200, 80);
    part.hasPic = true;
    wcscpy(part.pic, L"bg.png");
    const int horizontal[3] = {0, 8, 10}, vertical[3] = {0, 8, 4};
    std::copy(horizontal, horizontal + 3, part.layoutHorizontal);
    std::copy(vertical, vertical + 3, part.layoutVertical);
    part.anchor[0] = 50;
    part.anchor[1] = 20;
    Open(new HorizontalCombinePage, c_dialogCombinePage);
    ManualAdjustWindow& adjust = *m_page->AdjustWindow(0);
    RECT client;
    GetClientRect(adjust.GetHwnd(), &client);
    const int w = client.right, h = client.bottom;
    for (const auto& picture : {std::make_pair(L"bg.png", 1), std::make_pair(L"big.png", 2)}) {
        if (picture.second == 2)
            Type(c_combinePicture, picture.first);
        const int pw = 100 * picture.second, ph = 40 * picture.second;
        EXPECT_EQ(8 * h / ph, adjust.GripRect(ManualAdjustWindow::e_top).top) << picture.second;
        EXPECT_EQ((ph - 4) * h / ph, adjust.GripRect(ManualAdjustWindow::e_bottom).bottom) << picture.second;
        EXPECT_EQ(8 * w / pw, adjust.GripRect(ManualAdjustWindow::e_left).left) << picture.second;
        EXPECT_EQ((pw - 10) * w / pw, adjust.GripRect(ManualAdjustWindow::e_right).right) << picture.second;
        const RECT point = adjust.GripRect(ManualAdjustWindow::e_point);
        EXPECT_EQ(50 * w / pw, (point.left + point.right) / 2) << picture.second;
    }

    // An arrow key on the focused top line: the field and Skin.ini follow.
    const int before = Number(c_combineTopEdge);
    for (int i = 0; i < 3; ++i)
        SendMessageW(adjust.Grip(ManualAdjustWindow::e_top), WM_KEYDOWN, VK_DOWN, 0);
    const int after = Number(c_combineTopEdge);
    EXPECT_GT(after, before);
    EXPECT_EQ(after, part.layoutVertical[1]);
    const std::string ini = CommittedSection("Scheme_H1");
    EXPECT_NE(ini.find("layout_vertical=0," + std::to_string(after) + ",4"), std::string::npos) << ini;
}

TEST_F(CombinePageTest, ImportedPictureRepaintsAndIsPackedOnSave)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    part.hasPic = true;
    Open(new HorizontalCombinePage, c_dialogCombinePage);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring picked = std::wstring(temp) + L"layout_pick.png";
    WriteFile(picked, FlatPng(64, 32, {0xFF0000FFu}));
    m_parent.notices.clear();
    m_logs[0].Clear();

    m_driver.Type(picked);
    {
        // The preview's reload of the picture runs under the wait cursor.
        SetCursor(t_cursorProbe::Arrow());
        t_cursorProbe probe({n_editorMessage::c_skinChanged}, nullptr);
        Click(c_combinePictureImport);
        EXPECT_TRUE(probe.AlwaysWith(n_editorMessage::c_skinChanged, t_cursorProbe::Wait()));
        EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
    }
    EXPECT_TRUE(m_driver.AllAnswered());
    EXPECT_EQ(Text(c_combinePicture), picked);
    EXPECT_EQ(std::wstring(part.pic), picked);
    EXPECT_TRUE(NoticeOf(t_partIndex::e_horizontalCombined, true));
    int width = 0, height = 0;
    m_page->AdjustWindow(0)->GetPictureSize(width, height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 32);

    // Saving copies the picture into the package under the part's own name.
    t_errorChain errors;
    const std::wstring package = std::wstring(temp) + L"layout_pick.kvs";
    ASSERT_TRUE(IMESkin::Instance()->Save(errors, package.c_str()));
    EXPECT_EQ(std::wstring(part.pic).find(L'\\'), std::wstring::npos) << std::string(part.pic, part.pic + 4);
    EXPECT_FALSE(ReadFile(WorkFile(part.pic)).empty());
    DeleteFileW(picked.c_str());
    DeleteFileW(package.c_str());
}

TEST_F(CombinePageTest, CommittedImportShowsTheSkinsNameSoTheOutsideFileMayGo)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    part.hasPic = true;
    Open(new HorizontalCombinePage, c_dialogCombinePage);
    m_parent.commit = true;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring picked = std::wstring(temp) + L"layout_outside.png";
    const std::string bytes = FlatPng(48, 24, {0x00FF00FFu});
    WriteFile(picked, bytes);
    m_driver.Type(picked);
    Click(c_combinePictureImport);
    EXPECT_TRUE(m_driver.AllAnswered());
    ASSERT_TRUE(m_parent.committed);
    // The commit imported the picture under the part's own name; the field shows that name.
    EXPECT_EQ(std::wstring(part.pic).find(L'\\'), std::wstring::npos);
    EXPECT_EQ(Text(c_combinePicture), std::wstring(part.pic));
    EXPECT_EQ(ReadFile(WorkFile(part.pic)), bytes);

    // The outside file goes; later edits and a save still find the picture in the skin.
    DeleteFileW(picked.c_str());
    m_parent.committed = false;
    Type(c_combineLeftEdge, L"5");
    EXPECT_TRUE(m_parent.committed);
    EXPECT_EQ(Text(c_combinePicture), std::wstring(part.pic));
    t_errorChain errors;
    const std::wstring package = std::wstring(temp) + L"layout_outside.kvs";
    EXPECT_TRUE(IMESkin::Instance()->Save(errors, package.c_str()));
    EXPECT_EQ(ReadFile(WorkFile(part.pic)), bytes);
    DeleteFileW(package.c_str());
}

using SeparatePageTest = LayoutPageTest;

TEST_F(SeparatePageTest, BothWindowsLoadAndStoreTheirKeys)
{
    SeparateInfo& part = static_cast<SeparateInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_verticalSeparate));
    PutPicture(L"py.png", 100, 30);
    PutPicture(L"cand.png", 80, 60);
    part.pinyinHasPic = part.zhongwenHasPic = true;
    wcscpy(part.pinyinPic, L"py.png");
    wcscpy(part.zhongwenPic, L"cand.png");
    wcscpy(part.zhongwenPicMask, L"cm.png");
    const int pyH[3] = {1, 3, 4}, pyV[3] = {2, 5, 6}, cH[3] = {0, 7, 8}, cV[3] = {1, 9, 10};
    std::copy(pyH, pyH + 3, part.pinyinLayoutHorizontal);
    std::copy(pyV, pyV + 3, part.pinyinLayoutVertical);
    std::copy(cH, cH + 3, part.zhongwenLayoutHorizontal);
    std::copy(cV, cV + 3, part.zhongwenLayoutVertical);
    const int pm[4] = {11, 12, 13, 14}, cm[4] = {15, 16, 17, 18};
    std::copy(pm, pm + 4, part.pinyinMarge);
    std::copy(cm, cm + 4, part.zhongwenMarge);
    part.anchor[0] = 19;
    part.anchor[1] = 20;
    part.transparentEnabled = true;
    Open(new VerticalSeparatePage, c_dialogSeparatePage);
    EXPECT_EQ(Text(c_separateTitle), L"竖排分窗口设置");

    struct {
        int id, value;
    } const numbers[] = {
        {c_separatePinyinLeftEdge, 3},   {c_separatePinyinRightEdge, 4}, {c_separatePinyinTopEdge, 5},
        {c_separatePinyinBottomEdge, 6}, {c_separateCandLeftEdge, 7},    {c_separateCandRightEdge, 8},
        {c_separateCandTopEdge, 9},      {c_separateCandBottomEdge, 10}, {c_separatePinyinTop, 11},
        {c_separatePinyinBottom, 12},    {c_separatePinyinLeft, 13},     {c_separatePinyinRight, 14},
        {c_separateCandTop, 15},         {c_separateCandBottom, 16},     {c_separateCandLeft, 17},
        {c_separateCandRight, 18},       {c_separateAnchorLeft, 19},     {c_separateAnchorTop, 20},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(Number(n.id), n.value) << n.id;
    EXPECT_EQ(Text(c_separateCandMask), L"cm.png");
    EXPECT_EQ(SendMessageW(Item(c_separatePinyinVerticalList), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(Item(c_separateCandHorizontalList), CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(Checked(c_separateNoTransparent));
    int width = 0, height = 0;
    m_page->AdjustWindow(1)->GetPictureSize(width, height);
    EXPECT_EQ(width, 80);
    m_page->AdjustWindow(0)->GetPictureSize(width, height);
    EXPECT_EQ(width, 100);

    // Each window's size bounds its own edges; the anchor follows the pinyin picture.
    Type(c_separateCandLeftEdge, L"90");
    EXPECT_EQ(Number(c_separateCandLeftEdge), 71);
    Type(c_separatePinyinLeftEdge, L"90");
    EXPECT_EQ(Number(c_separatePinyinLeftEdge), 90);
    Type(c_separateAnchorTop, L"45");
    EXPECT_EQ(Number(c_separateAnchorTop), 29);

    // A drag in the candidate window lands in the candidate edits, unechoed.
    m_logs[0].Clear();
    m_logs[1].Clear();
    Drag(2, ManualAdjustWindow::e_top, 0, 4);
    EXPECT_EQ(Number(c_separateCandTopEdge), 4);
    EXPECT_EQ(Number(c_separatePinyinTopEdge), 5);
    EXPECT_EQ(part.zhongwenLayoutVertical[1], 4);
    EXPECT_EQ(m_logs[1].Count(n_manualAdjust::c_setMargins), 0u);
    // A typed edge goes to both windows.
    Type(c_separatePinyinBottomEdge, L"2");
    EXPECT_EQ(m_logs[0].Count(n_manualAdjust::c_setMargins), 1u);
    EXPECT_EQ(m_logs[1].Count(n_manualAdjust::c_setMargins), 1u);

    // The picture box stores into both windows' flags.
    Click(c_separateNoPicture);
    EXPECT_FALSE(part.pinyinHasPic);
    EXPECT_FALSE(part.zhongwenHasPic);
    EXPECT_FALSE(Enabled(c_separateCandMaskImport));
    EXPECT_FALSE(Enabled(c_separateCandTopEdgeSpin));
    EXPECT_FALSE(Enabled(c_separateAnchorLeft));
    EXPECT_EQ(m_logs[1].pictures.back(), L"");
    EXPECT_TRUE(NoticeOf(t_partIndex::e_verticalSeparate, true));

    Click(c_separateNoPicture);
    Type(c_separateCandRight, L"33");
    SendMessageW(Item(c_separateCandVerticalList), CB_SETCURSEL, 2, 0);
    ASSERT_EQ(m_page->StoreToModel(), 1);
    EXPECT_EQ(part.zhongwenMarge[3], 33);
    EXPECT_EQ(part.zhongwenLayoutVertical[0], 2);
    const std::string ini = CommittedSection("Scheme_V2");
    EXPECT_NE(ini.find("zhongwen_marge=15,16,17,33"), std::string::npos) << ini;
}

TEST_F(SeparatePageTest, ImportOnTheCandidateRowChangesOnlyItsPicture)
{
    SeparateInfo& part = static_cast<SeparateInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalSeparate));
    PutPicture(L"py.png", 100, 30);
    part.pinyinHasPic = part.zhongwenHasPic = true;
    wcscpy(part.pinyinPic, L"py.png");
    const std::wstring pinyinMask = part.pinyinPicMask;
    const std::wstring mask = part.zhongwenPicMask;
    Open(new HorizontalSeparatePage, c_dialogSeparatePage);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring picked = std::wstring(temp) + L"layout_cand.png";
    WriteFile(picked, FlatPng(48, 24, {0x00FF00FFu}));
    m_parent.notices.clear();

    m_driver.Type(picked);
    Click(c_separateCandPictureImport);
    EXPECT_TRUE(m_driver.AllAnswered());
    EXPECT_EQ(std::wstring(part.zhongwenPic), picked);
    EXPECT_EQ(std::wstring(part.pinyinPic), L"py.png");
    EXPECT_EQ(std::wstring(part.zhongwenPicMask), mask);
    EXPECT_EQ(std::wstring(part.pinyinPicMask), pinyinMask);
    EXPECT_TRUE(NoticeOf(t_partIndex::e_horizontalSeparate, true));
    int width = 0, height = 0;
    m_page->AdjustWindow(1)->GetPictureSize(width, height);
    EXPECT_EQ(width, 48);
    m_page->AdjustWindow(0)->GetPictureSize(width, height);
    EXPECT_EQ(width, 100);
    DeleteFileW(picked.c_str());
}

TEST_F(CombinePageTest, WithoutAPictureTypedEdgesAndUnknownStretchesStay)
{
    CombineInfo& part = static_cast<CombineInfo&>(*IMESkin::Instance()->GetPart(t_partIndex::e_horizontalCombined));
    // The picture is named but missing: nothing to measure against.
    part.hasPic = true;
    wcscpy(part.pic, L"missing.png");
    part.layoutHorizontal[0] = 5;  // no item of the list
    part.layoutHorizontal[2] = 30;
    Open(new HorizontalCombinePage, c_dialogCombinePage);

    Type(c_combineLeftEdge, L"80");
    EXPECT_EQ(Number(c_combineLeftEdge), 80);
    ASSERT_EQ(m_page->StoreToModel(), 1);
    EXPECT_EQ(part.layoutHorizontal[1], 80);
    EXPECT_EQ(part.layoutHorizontal[0], 5);
}
