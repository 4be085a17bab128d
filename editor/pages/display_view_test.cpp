// The display page in this process, on a new skin, beside a real preview: its controls
// driven as a user drives them (keys into the combos, clicks on the buttons), the colour
// dialog replaced by a stand-in and the message boxes answered from a second thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/app/app.h"
#include "editor/framework/editor_messages.h"
#include "editor/pages/display_view.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/color_picker.h"
#include "foundation/config/app_config.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"
#include "graphics/image/mem_dc.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"
#include "tests/support/message_pump.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const wchar_t c_sizeMessage[] = L"请输入(1 - 99)间的合法数字";
const WPARAM c_displayChanged = static_cast<WPARAM>(t_partIndex::e_display);

// The stand-in colour dialog: answers OK with s_answer, or Cancel.
struct t_colourDialog {
    static BOOL s_ok;
    static COLORREF s_answer;
    static int s_calls;
    static CHOOSECOLORW s_seen;

    static BOOL WINAPI Choose(CHOOSECOLORW* choose)
    {
        ++s_calls;
        s_seen = *choose;
        if (s_ok)
            choose->rgbResult = s_answer;
        return s_ok;
    }
};
BOOL t_colourDialog::s_ok = TRUE;
COLORREF t_colourDialog::s_answer = 0;
int t_colourDialog::s_calls = 0;
CHOOSECOLORW t_colourDialog::s_seen = {};

// Stands where the main frame does: records the page's change messages and hands them
// to the preview as the frame does.
class t_pageHost : public Frame {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == n_editorMessage::c_skinChanged) {
            changes.push_back(wParam);
            if (preview)
                SendMessageW(preview->GetHwnd(), message, wParam, lParam);
            return 0;
        }
        return Frame::WndProc(window, message, wParam, lParam);
    }

    std::vector<WPARAM> changes;
    Preview* preview = nullptr;
};

std::wstring TextOf(HWND window) { return t_dialogDriver::TextOf(window); }

class DisplayPage : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(RegisterEditorClasses());
        ASSERT_TRUE(IMESkin::Instance()->New());
        // One host and one preview serve every test and live until the process ends:
        // destroying a preview's input windows is not safe yet.
        s_pageHost = new t_pageHost;
        ASSERT_TRUE(s_pageHost->Create(nullptr, L"display page", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1100, 720, nullptr,
                                       GetModuleInstance()));
        s_previewWindow = new Preview;
        ASSERT_TRUE(s_previewWindow->Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 420, 0, 1100, 720,
                                            s_pageHost->GetHwnd(), GetModuleInstance()));
        s_pageHost->AddChild(s_previewWindow);
        s_pageHost->preview = s_previewWindow;
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_previewWindow);
        ASSERT_TRUE(IMESkin::Instance()->New());
        SendMessageW(s_previewWindow->GetHwnd(), n_editorMessage::c_skinChanged,
                     MAKEWPARAM(n_editorMessage::c_reloadAllUnmodified, 1), 0);
        DisplayView::ResetAeroNote();
        ColorPicker::SetChooseColorFn(t_colourDialog::Choose);
        t_colourDialog::s_ok = TRUE;
        t_colourDialog::s_calls = 0;
        AppConfig::Instance()->preview.candSize.Set(9);
        CreatePage();
    }

    void CreatePage()
    {
        DestroyPage();
        m_page = new DisplayView;
        ASSERT_TRUE(m_page->Create(GetModuleInstance(), DisplayView::c_templateId, s_pageHost->GetHwnd()));
        ASSERT_EQ(1, m_page->LoadFromModel());
        SetWindowPos(m_page->GetHwnd(), nullptr, 0, 0, 420, 720, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpMessages(20);
        s_pageHost->changes.clear();
    }

    void DestroyPage()
    {
        if (!m_page)
            return;
        DestroyWindow(m_page->GetHwnd());
        delete m_page;
        m_page = nullptr;
    }

    void TearDown() override
    {
        ColorPicker::SetChooseColorFn(nullptr);
        DestroyPage();
        ExpectNoUnexpectedDialogs(m_driver);
    }

    HWND Item(int id) { return GetDlgItem(m_page->GetHwnd(), id); }
    std::wstring Text(int id) { return TextOf(Item(id)); }
    DisplayInfo& Model() { return IMESkin::Instance()->Display(); }

    // Replaces the text of an editable combo by typing: select all, then each key (an
    // empty text is one Backspace over the selection).
    void Type(int id, const std::wstring& text)
    {
        const HWND edit = GetWindow(Item(id), GW_CHILD);
        ASSERT_NE(nullptr, edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        if (text.empty())
            SendMessageW(edit, WM_CHAR, VK_BACK, 0);
        for (wchar_t c : text)
            SendMessageW(edit, WM_CHAR, c, 0);
    }
    // Picks a list item as the mouse does: the selection moves, then the notification.
    void Choose(int id, int index)
    {
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(m_page->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Uncheck(int id) { SendMessageW(Item(id), BM_SETCHECK, BST_UNCHECKED, 0); }

    // A value of [Display] in the work folder's Skin.ini.
    std::wstring IniValue(const wchar_t* key) { return WorkIniValue(L"Display", key); }

    bool PreviewInvalid()
    {
        RECT rect;
        return GetUpdateRect(s_previewWindow->GetHwnd(), &rect, FALSE) != 0;
    }

    static t_pageHost* s_pageHost;
    static Preview* s_previewWindow;
    DisplayView* m_page = nullptr;
    t_dialogDriver m_driver;
    t_tempFolder m_folder{L"display"};
};

t_pageHost* DisplayPage::s_pageHost = nullptr;
Preview* DisplayPage::s_previewWindow = nullptr;

TEST(DisplayFontLists, HanyiStandsBeforeSongtiInListOrder)
{
    struct t_case {
        std::vector<std::wstring> in;
        std::vector<std::wstring> out;
    } cases[] = {
        {{L"仿宋", L"汉仪书宋", L"黑体", L"宋体", L"汉仪中黑", L"楷体"},
         {L"仿宋", L"黑体", L"汉仪书宋", L"汉仪中黑", L"宋体", L"楷体"}},
        // Without "宋体", "SimSun" is the anchor; with neither nothing moves.
        {{L"SimSun", L"汉仪旗黑", L"Arial"}, {L"汉仪旗黑", L"SimSun", L"Arial"}},
        {{L"宋体", L"SimSun", L"汉仪旗黑"}, {L"汉仪旗黑", L"宋体", L"SimSun"}},
        {{L"黑体", L"汉仪旗黑", L"楷体"}, {L"黑体", L"汉仪旗黑", L"楷体"}},
        // Only an exact "宋体" anchors; names merely containing it do not.
        {{L"宋体-方正", L"汉仪旗黑", L"新宋体"}, {L"宋体-方正", L"汉仪旗黑", L"新宋体"}},
        {{L"汉仪", L"宋体"}, {L"汉仪", L"宋体"}},
        {{}, {}},
    };
    for (t_case& c : cases) {
        std::vector<std::wstring> names = c.in;
        PlaceHanyiBeforeSongti(names);
        EXPECT_EQ(c.out, names) << c.in.size();
    }
}

TEST(DisplayFontLists, ChineseAreGb2312WithoutAtEnglishAreAnyWithoutCaseDuplicates)
{
    const std::vector<t_fontFace> faces = {
        {L"宋体", GB2312_CHARSET},
        {L"@宋体", GB2312_CHARSET},
        {L"Arial", ANSI_CHARSET},
        {L"宋体", GB2312_CHARSET},
        {L"arial", ANSI_CHARSET},
        {L"@Arial Unicode", ANSI_CHARSET},
        {L"黑体", GB2312_CHARSET},
        {L"MingLiU", CHINESEBIG5_CHARSET},
        {std::wstring(70, L'x') + L"1", ANSI_CHARSET},
        {std::wstring(70, L'X') + L"2", ANSI_CHARSET},
    };
    EXPECT_EQ((std::vector<std::wstring>{L"宋体", L"黑体"}), ChineseFontNames(faces));
    EXPECT_EQ((std::vector<std::wstring>{L"宋体", L"Arial", L"黑体", L"MingLiU", std::wstring(70, L'x') + L"1"}),
              EnglishFontNames(faces));
}

TEST(DisplayFontLists, SizeTextsOneToNinetyNine)
{
    const struct {
        const wchar_t* text;
        bool valid;
    } cases[] = {{L"1", true},   {L"16", true},  {L"99", true},   {L"09", true},  {L"", false},
                 {L"0", false},  {L"00", false}, {L"100", false}, {L"1a", false}, {L"-1", false},
                 {L" 1", false}, {L"９", false}, {nullptr, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.valid, IsValidFontSize(c.text)) << (c.text ? c.text : L"(null)")[0];
}

TEST_F(DisplayPage, GivenFontsAreListedWithHanyiBeforeSongtiAndNoAt)
{
    const std::vector<t_fontFace> chinese = {
        {L"微软雅黑", GB2312_CHARSET},  {L"汉仪书宋", GB2312_CHARSET}, {L"宋体", GB2312_CHARSET},
        {L"@宋体", GB2312_CHARSET},     {L"汉仪中黑", GB2312_CHARSET}, {L"黑体", GB2312_CHARSET},
        {L"@汉仪中黑", GB2312_CHARSET}, {L"宋体", GB2312_CHARSET},     {L"Arial", ANSI_CHARSET},
    };
    std::vector<t_fontFace> english = {
        {L"Arial", ANSI_CHARSET}, {L"@Arial", ANSI_CHARSET}, {L"ARIAL", ANSI_CHARSET}, {L"Tahoma", ANSI_CHARSET}};
    english.insert(english.end(), chinese.begin(), chinese.end());
    m_page->FillFontLists(chinese, english);

    const std::vector<std::wstring> listed = m_page->ComboItems(c_displayFontCh);
    ASSERT_EQ(5u, listed.size());
    size_t songti = listed.size();
    for (size_t i = 0; i < listed.size(); ++i) {
        EXPECT_NE(L'@', listed[i][0]) << i;
        if (listed[i] == L"宋体")
            songti = i;
    }
    ASSERT_GE(songti, 2u);
    // The two 汉仪 fonts stand directly before 宋体, the others keep the sorted order.
    EXPECT_EQ(0u, listed[songti - 2].find(L"汉仪"));
    EXPECT_EQ(0u, listed[songti - 1].find(L"汉仪"));
    std::vector<std::wstring> others;
    for (const std::wstring& name : listed)
        if (name.find(L"汉仪") != 0 && name != L"宋体")
            others.push_back(name);
    EXPECT_EQ(2u, others.size());

    const std::vector<std::wstring> englishListed = m_page->ComboItems(c_displayFontEn);
    EXPECT_EQ(7u, englishListed.size());
    for (const std::wstring& name : englishListed)
        EXPECT_NE(L'@', name[0]);
}

TEST_F(DisplayPage, LoadingFillsWithoutReportingAChange)
{
    EXPECT_TRUE(s_pageHost->changes.empty());
    EXPECT_TRUE(m_page->IsLive());
    EXPECT_EQ(std::to_wstring(Model().fontSize), Text(c_displayFontSize));
    EXPECT_EQ(Model().fontCh, Text(c_displayFontCh));
    EXPECT_EQ(Model().fontEn, Text(c_displayFontEn));
    EXPECT_EQ(Model().largeFontDisabled, SendMessageW(Item(c_displayLargeFont), BM_GETCHECK, 0, 0) == BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(Item(c_displayWebpage)));
    EXPECT_FALSE(IsWindowVisible(Item(c_displayWebpageLabel)));
    EXPECT_EQ(L"9", Text(c_displayCandCount));

    // A size the list does not hold shows as typed, not as the first item that begins
    // with it; storing keeps it.
    for (int size : {1, 2, 4, 16, 7}) {
        Model().fontSize = size;
        m_page->LoadFromModel();
        EXPECT_EQ(std::to_wstring(size), Text(c_displayFontSize));
        EXPECT_EQ(std::to_wstring(size), Text(c_displayPreviewSize));
        ASSERT_EQ(1, m_page->StoreToModel());
        EXPECT_EQ(size, Model().fontSize);
    }
}

TEST_F(DisplayPage, SizesOutsideOneToNinetyNineAreRefusedAndResetTo16)
{
    // A valid size goes to the preview size too.
    Type(c_displayFontSize, L"24");
    EXPECT_EQ(L"24", Text(c_displayFontSize));
    EXPECT_EQ(L"24", Text(c_displayPreviewSize));
    EXPECT_EQ(24, Model().fontSize);
    EXPECT_EQ(24, Model().previewFontSize);
    EXPECT_EQ(L"24", IniValue(L"font_size"));

    // Two characters at most: a third key is not taken.
    Type(c_displayFontSize, L"123");
    EXPECT_EQ(L"12", Text(c_displayFontSize));

    for (const wchar_t* bad : {L"", L"0", L"x"}) {
        m_driver.Press(IDOK);
        Type(c_displayFontSize, bad);
        EXPECT_EQ(L"16", Text(c_displayFontSize)) << bad;
        EXPECT_EQ(L"16", Text(c_displayPreviewSize)) << bad;
        EXPECT_EQ(16, Model().fontSize) << bad;
    }
    ASSERT_TRUE(m_driver.AllAnswered());
    ASSERT_EQ(3u, m_driver.Seen().size());
    for (const t_dialogDriver::t_seen& seen : m_driver.Seen()) {
        EXPECT_EQ(L"错误", seen.caption);
        EXPECT_NE(std::wstring::npos, seen.text.find(c_sizeMessage));
    }

    // The preview size alone: valid stays, invalid takes the candidate size's text.
    Type(c_displayFontSize, L"20");
    Type(c_displayPreviewSize, L"32");
    EXPECT_EQ(L"20", Text(c_displayFontSize));
    EXPECT_EQ(32, Model().previewFontSize);
    m_driver.Press(IDOK);
    Type(c_displayPreviewSize, L"0");
    EXPECT_EQ(L"20", Text(c_displayPreviewSize));
    EXPECT_EQ(20, Model().previewFontSize);
    EXPECT_TRUE(m_driver.AllAnswered());
}

TEST_F(DisplayPage, ChoosingASizeSetsThePreviewSizeButNotTheReverse)
{
    Choose(c_displayFontSize, 5);  // "28"
    EXPECT_EQ(L"28", Text(c_displayFontSize));
    EXPECT_EQ(L"28", Text(c_displayPreviewSize));
    EXPECT_EQ(28, Model().fontSize);
    Choose(c_displayPreviewSize, 0);  // "14"
    EXPECT_EQ(L"28", Text(c_displayFontSize));
    EXPECT_EQ(14, Model().previewFontSize);
    EXPECT_EQ(L"28", IniValue(L"font_size"));
    ASSERT_EQ(2u, s_pageHost->changes.size());
    for (WPARAM change : s_pageHost->changes)
        EXPECT_EQ(c_displayChanged, change);
}

TEST_F(DisplayPage, CandidateCountReachesTheSettingsFile)
{
    Choose(c_displayCandCount, 2);
    EXPECT_EQ(5, AppConfig::Instance()->preview.candSize.Get());
    EXPECT_EQ(5, Model().previewCandCount);
    ASSERT_EQ(1u, s_pageHost->changes.size());

    const std::wstring path = m_folder.Path() + L"\\Kavrel.ini";
    ASSERT_TRUE(AppConfig::Instance()->Save(path.c_str()));
    t_iniDocument document(false);
    t_errorChain errors;
    ASSERT_TRUE(document.ReadConfig(errors, path.c_str(), 936));
    const wchar_t* value = document.GetValue(L"Preview", L"candsize");
    ASSERT_NE(nullptr, value);
    EXPECT_STREQ(L"5", value);

    // A count outside 3..9 in the settings shows as 9; a valid one as itself.
    for (int stored : {12, 2, -1, 4}) {
        AppConfig::Instance()->preview.candSize.Set(stored);
        CreatePage();
        EXPECT_EQ(stored == 4 ? L"4" : L"9", Text(c_displayCandCount)) << stored;
    }
}

TEST_F(DisplayPage, ColourButtonsReportOnlyAChangedColour)
{
    const COLORREF old = Model().zhongwenFirstColor;
    const COLORREF marker = RGB(0x10, 0xE0, 0x20);
    ASSERT_NE(old, marker);

    // Cancel, then OK with the same colour: nothing changes.
    t_colourDialog::s_ok = FALSE;
    Click(c_displayFirstColor);
    t_colourDialog::s_ok = TRUE;
    t_colourDialog::s_answer = old;
    Click(c_displayFirstColor);
    EXPECT_EQ(2, t_colourDialog::s_calls);
    EXPECT_TRUE(s_pageHost->changes.empty());
    EXPECT_EQ(old, Model().zhongwenFirstColor);
    EXPECT_EQ(old, t_colourDialog::s_seen.rgbResult);
    EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN), t_colourDialog::s_seen.Flags);
    EXPECT_EQ(m_page->GetHwnd(), t_colourDialog::s_seen.hwndOwner);
    EXPECT_EQ(ColorPicker::CustomColors(), t_colourDialog::s_seen.lpCustColors);

    // A new colour: one change, in the model, the work folder's Skin.ini and the preview.
    t_colourDialog::s_answer = marker;
    Click(c_displayFirstColor);
    ASSERT_EQ(1u, s_pageHost->changes.size());
    EXPECT_EQ(c_displayChanged, s_pageHost->changes[0]);
    EXPECT_EQ(marker, Model().zhongwenFirstColor);
    EXPECT_EQ(L"0x20e010", IniValue(L"zhongwen_first_color"));

    // Each button edits its own colour.
    const struct {
        int id;
        COLORREF DisplayInfo::*field;
        const wchar_t* key;
    } buttons[] = {{c_displayPinyinColor, &DisplayInfo::pinyinColor, L"pinyin_color"},
                   {c_displayCandColor, &DisplayInfo::zhongwenColor, L"zhongwen_color"},
                   {c_displayHintColor, &DisplayInfo::comphintColor, L"comphint_color"}};
    for (const auto& button : buttons) {
        t_colourDialog::s_answer = RGB(0x01, 0x02, button.id & 0xFF);
        Click(button.id);
        EXPECT_EQ(t_colourDialog::s_answer, Model().*button.field) << button.id;
        wchar_t hex[16];
        swprintf(hex, 16, L"0x%x", static_cast<unsigned>(t_colourDialog::s_answer));
        EXPECT_EQ(hex, IniValue(button.key)) << button.id;
    }
    EXPECT_EQ(4u, s_pageHost->changes.size());
}

TEST_F(DisplayPage, ColourButtonPaintsTheColourAndSettingInAContrastingColour)
{
    const int width = 80, height = 26;
    t_memDC dib;
    ASSERT_TRUE(t_memDC::Create(dib, nullptr, width, height, t_dibRows::topDown));
    const HDC dc = dib.dc;
    uint32_t* pixels = dib.Pixels();
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = c_displayPinyinColor;
    item.hwndItem = Item(c_displayPinyinColor);
    item.hDC = dc;
    item.rcItem = {0, 0, width, height};
    auto at = [&](int x, int y) {
        const uint32_t p = pixels[y * width + x] & 0xFFFFFF;
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    auto distance = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
               std::abs(GetBValue(a) - GetBValue(b));
    };
    // "设置" in white on dark colours and in black on light ones, a mid grey included.
    const struct {
        COLORREF colour, text;
    } cases[] = {{RGB(0x20, 0x60, 0xA0), RGB(255, 255, 255)},
                 {RGB(0, 0, 0), RGB(255, 255, 255)},
                 {RGB(255, 255, 255), RGB(0, 0, 0)},
                 {RGB(0x80, 0x80, 0x80), RGB(0, 0, 0)}};
    for (const auto& c : cases) {
        Model().pinyinColor = c.colour;
        for (int i = 0; i < width * height; ++i)
            pixels[i] = 0xFFFFFF;
        EXPECT_EQ(1, m_page->OnDrawItem(c_displayPinyinColor, &item));
        GdiFlush();
        EXPECT_EQ(RGB(255, 255, 255), at(0, 0));  // inset by one pixel
        EXPECT_EQ(RGB(0, 0, 0), at(1, 1));        // black frame
        EXPECT_EQ(c.colour, at(3, 3));
        // Text pixels: nearer the text colour than the fill (the glyphs' edges are
        // smoothed) and clearly apart from the fill.
        int textCount = 0, textLeft = width, textRight = 0;
        for (int y = 2; y < height - 2; ++y)
            for (int x = 2; x < width - 2; ++x) {
                if (distance(at(x, y), c.text) < distance(at(x, y), c.colour) && distance(at(x, y), c.colour) >= 96) {
                    ++textCount;
                    textLeft = std::min(textLeft, x);
                    textRight = std::max(textRight, x);
                }
            }
        EXPECT_GT(textCount, 20) << std::hex << c.colour;
        // Centred: the text's margins differ by at most a few pixels.
        EXPECT_LE(std::abs(textLeft - (width - 1 - textRight)), 4) << std::hex << c.colour;
    }

    // Other ids draw nothing.
    EXPECT_EQ(0, m_page->OnDrawItem(c_displayFontSize, &item));
}

TEST_F(DisplayPage, LargeFontSwitchReloadsEverything)
{
    const bool before = Model().largeFontDisabled;
    Click(c_displayLargeFont);
    ASSERT_EQ(1u, s_pageHost->changes.size());
    EXPECT_EQ(MAKEWPARAM(n_editorMessage::c_reloadAll, 1), s_pageHost->changes[0]);
    EXPECT_EQ(!before, Model().largeFontDisabled);
    EXPECT_EQ(before ? L"1" : L"0", IniValue(L"LargeFontSupport"));
    // The preview reloaded with the skin laid out the other way: the compatibility mode
    // (checked) scales the skin as a whole, unchecked stretches its nine pieces.
    EXPECT_EQ(!before, s_previewWindow->Settings().isotropicSkin);
    Click(c_displayLargeFont);
    EXPECT_EQ(before, Model().largeFontDisabled);
    EXPECT_EQ(before, s_previewWindow->Settings().isotropicSkin);
}

TEST_F(DisplayPage, AeroNoteOnlyOncePerRun)
{
    Uncheck(c_displayAero);
    m_driver.Press(IDOK);
    Click(c_displayAero);
    EXPECT_TRUE(m_driver.AllAnswered());
    EXPECT_TRUE(DisplayView::AeroNoteShown());
    EXPECT_TRUE(Model().aero);
    EXPECT_EQ(L"1", IniValue(L"aero"));
    Click(c_displayAero);
    EXPECT_FALSE(Model().aero);
    Click(c_displayAero);
    PumpMessages(200);
    ASSERT_EQ(1u, m_driver.Seen().size());
    EXPECT_EQ(L"提示", m_driver.Seen()[0].caption);
    EXPECT_NE(std::wstring::npos, m_driver.Seen()[0].text.find(L"支持Aero效果需要注意的事项:"));
    EXPECT_NE(std::wstring::npos, m_driver.Seen()[0].text.find(L"win7风格.vsf"));
}

TEST_F(DisplayPage, EveryChangeReachesSkinIniAndRepaintsThePreview)
{
    const struct {
        const char* name;
        void (*act)(DisplayPage&);
        const wchar_t* key;
        const wchar_t* value;
    } edits[] = {
        {"font size", [](DisplayPage& t) { t.Type(c_displayFontSize, L"30"); }, L"font_size", L"30"},
        {"chinese font", [](DisplayPage& t) { t.Type(c_displayFontCh, L"黑体"); }, L"font_ch", L"黑体"},
        {"english font", [](DisplayPage& t) { t.Type(c_displayFontEn, L"Tahoma"); }, L"font_en", L"Tahoma"},
        {"glow",
         [](DisplayPage& t) {
             t.Uncheck(c_displayGlow);
             t.Click(c_displayGlow);
         },
         L"glow", L"1"},
        {"aero",
         [](DisplayPage& t) {
             t.Uncheck(c_displayAero);
             t.m_driver.Press(IDOK);
             t.Click(c_displayAero);
         },
         L"aero", L"1"},
        {"colour",
         [](DisplayPage& t) {
             t_colourDialog::s_answer = RGB(0xE0, 0x10, 0x30);
             t.Click(c_displayCandColor);
         },
         L"zhongwen_color", L"0x3010e0"},
        {"large font", [](DisplayPage& t) { t.Click(c_displayLargeFont); }, L"LargeFontSupport", nullptr},
    };
    for (const auto& edit : edits) {
        ValidateRect(s_previewWindow->GetHwnd(), nullptr);
        s_pageHost->changes.clear();
        edit.act(*this);
        EXPECT_FALSE(s_pageHost->changes.empty()) << edit.name;
        EXPECT_TRUE(PreviewInvalid()) << edit.name;
        if (edit.value) {
            EXPECT_EQ(edit.value, IniValue(edit.key)) << edit.name;
        }
        PumpMessages(20);
    }
    EXPECT_TRUE(m_driver.AllAnswered());
    EXPECT_EQ(L"30", IniValue(L"font_size"));
}

TEST_F(DisplayPage, ChosenCandidateColourShowsInThePreview)
{
    const COLORREF marker = RGB(0xE0, 0x10, 0x30);
    auto markerPixels = [&] {
        s_previewWindow->RenderBackBuffer();
        const SIZE size = s_previewWindow->BackBufferSize();
        const uint32_t* pixels = s_previewWindow->BackBufferPixels();
        int count = 0;
        for (int i = 0; pixels && i < size.cx * size.cy; ++i)
            count += std::abs(int((pixels[i] >> 16) & 0xFF) - 0xE0) <= 8 &&
                     std::abs(int((pixels[i] >> 8) & 0xFF) - 0x10) <= 8 && std::abs(int(pixels[i] & 0xFF) - 0x30) <= 8;
        return count;
    };
    EXPECT_EQ(0, markerPixels());
    t_colourDialog::s_answer = marker;
    Click(c_displayFirstColor);
    Click(c_displayCandColor);
    EXPECT_GT(markerPixels(), 0);
}

// Not a check: shows the page for a screenshot when KAVREL_SHOT_MS is set.
TEST_F(DisplayPage, ShowForScreenshot)
{
    const char* ms = std::getenv("KAVREL_SHOT_MS");
    if (!ms)
        GTEST_SKIP();
    std::vector<t_fontFace> chinese = {{L"宋体", GB2312_CHARSET},
                                       {L"汉仪旗黑", GB2312_CHARSET},
                                       {L"黑体", GB2312_CHARSET},
                                       {L"微软雅黑", GB2312_CHARSET},
                                       {L"汉仪书宋", GB2312_CHARSET}};
    m_page->FillFontLists(chinese, chinese);
    m_page->LoadFromModel();
    int width = 0, height = 0;
    m_page->GetSize(width, height);
    SetWindowPos(m_page->GetHwnd(), HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW);
    SetForegroundWindow(s_pageHost->GetHwnd());
    InvalidateRect(m_page->GetHwnd(), nullptr, TRUE);
    PumpMessages(static_cast<DWORD>(std::atoi(ms)));
}

}  // namespace
