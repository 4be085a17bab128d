#include "ime_ui/windows/base/wnd_ui_skin_base.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/config/runtime.h"
#include "foundation/process/ui_function.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/flash/flash_skin_cmd.h"
#include "ime_ui/windows/flash/wnd_flash_sub.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"
#include "tests/support/flat_png.h"
#include "tests/support/runtime_init.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/paint_surface.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/shake_detector.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

const HWND c_host = reinterpret_cast<HWND>(static_cast<intptr_t>(0x4321));

// ---- a fake host

struct t_fakeImc : ImcWrapImplBase {
    uint16_t modeWord = 0;
    bool modeFlag = false;
    std::vector<std::wstring> fonts;

    uint16_t GetModeWord() override { return modeWord; }
    bool GetModeFlag() override { return modeFlag; }
    bool ReportSkinFont(int, const wchar_t* face, int, int, int) override
    {
        fonts.push_back(face);
        return true;
    }
};

struct t_fakeUi : UiWrapImplBase {
    std::vector<std::string> calls;

    void PopupAt(HWND host, int x, int y, int mode) override { calls.push_back(Text("popup", host, x, y, mode)); }
    void OnFlashPoint(HWND host, int a, int b, int c) override { calls.push_back(Text("point", host, a, b, c)); }
    void OnWindowShow(HWND host, int flag) override { calls.push_back(Text("show", host, flag, 0, 0)); }
    void OnWindowShake(int gesture) override { calls.push_back(Text("shake", nullptr, gesture, 0, 0)); }

    static std::string Text(const char* what, HWND host, int a, int b, int c)
    {
        return std::string(what) + (host == c_host ? " host " : " ? ") + std::to_string(a) + " " + std::to_string(b) +
               " " + std::to_string(c);
    }
};

// ---- fake cursor

POINT g_cursor = {0, 0};
bool FakeCursor(POINT& point)
{
    point = g_cursor;
    return true;
}
bool ButtonUp() { return false; }

// ---- a flash child that records what the window tells it

struct t_recordingFlash : t_wndFlashSub {
    bool notified = false;
    bool tickAnswer = false;
    int ticks = 0;
    RECT followed = {-1, -1, -1, -1};
    std::vector<bool> shows;

    void SetNotified(bool on) override { notified = on; }
    bool TickFlash() override
    {
        ++ticks;
        return tickAnswer;
    }
    void FollowRect(const RECT& r) override { followed = r; }
    void FollowShow(bool shown) override { shows.push_back(shown); }
};

// A skinned window that counts its paints and records its drag reports.
class t_testWindow : public t_wndUiSkinBase {
public:
    bool Make(int width = 60, int height = 40)
    {
        keepOnScreen = false;
        if (!Create(WS_POPUP, 0, 0, width, height, 0, nullptr, nullptr))
            return false;
        SetLayered(true);
        return true;
    }
    void OnDragMove(int x, int y) override { moves.push_back(POINT{x, y}); }
    void Paint_Layout(t_paintCtx& context) override
    {
        ++paints;
        t_wndUiSkinBase::Paint_Layout(context);
    }
    // A layout root whose inner node holds one render of image.
    void SetRenderLayout(const t_image& image)
    {
        t_renderImage* render = new t_renderImage();
        render->image = image;
        t_layoutAligned* root = new t_layoutAligned();
        root->SetInner(t_layoutPtr(new t_layoutRender(std::unique_ptr<t_render>(render))));
        root->SetRect(rect);
        SetLayout(std::unique_ptr<t_layout>(root));
    }
    t_renderImage* Render() const
    {
        return static_cast<t_renderImage*>(static_cast<t_layoutRender*>(layout->GetInner())->GetRender());
    }

    std::vector<POINT> moves;
    int paints = 0;
};

// A window with the fake host in its context.
class SkinBaseTest : public ::testing::Test {
protected:
    SkinBaseTest()
    {
        context.SetImcWrap(&imc);
        context.SetUiWrap(&ui);
        context.SetHostWindow(c_host);
        window.SetContext(&context);
    }

    t_fakeImc imc;
    t_fakeUi ui;
    t_uiContext context;
    t_testWindow window;
};

TEST(FlashKey, PacksLikeTheSkinAndTellsCollidingKeysApart)
{
    EXPECT_EQ(0x0203FFFFu, (t_flashKey{3, 2, -1}.Hash()));
    EXPECT_EQ(PackSkinKey(5, t_skinItemType::e_component, 999), (t_flashKey{5, 3, 999}.Hash()));
    // Index 1 and index 0x10001 share a hash; the map still keeps them apart.
    t_flashKeyMap map;
    int a = 0, b = 0, c = 0;
    ASSERT_TRUE(map.Put(t_flashKey{0, 2, 1}, &a));
    ASSERT_TRUE(map.Put(t_flashKey{0, 2, 0x10001}, &b));
    ASSERT_TRUE(map.Put(t_flashKey{0, 2, -1}, &c));
    EXPECT_EQ(&a, map.Lookup(t_flashKey{0, 2, 1}));
    EXPECT_EQ(&b, map.Lookup(t_flashKey{0, 2, 0x10001}));
    EXPECT_EQ(&c, map.Lookup(t_flashKey{0, 2, -1}));
    EXPECT_EQ(nullptr, map.Lookup(t_flashKey{1, 2, 1}));
    ASSERT_TRUE(map.Put(t_flashKey{0, 2, 1}, &c));
    EXPECT_EQ(&c, map.Lookup(t_flashKey{0, 2, 1}));
    EXPECT_EQ(3u, map.Count());
}

// ---- the flash command sink

int g_calledEntry = -1;
HWND g_calledHost = nullptr;
t_uiSettings* g_calledSettings = nullptr;
template <int N>
int RecordEntry(HWND host, t_uiSettings* settings)
{
    g_calledEntry = N;
    g_calledHost = host;
    g_calledSettings = settings;
    return 0;
}
template <int... N>
void SetAllEntries(std::integer_sequence<int, N...>)
{
    (UiFunction::Instance()->Set(N, RecordEntry<N>), ...);
}

TEST_F(SkinBaseTest, FlashCommandsCallTheHostFunctionOfTheirTable)
{
    t_uiSettings settings = {};
    context.SetSettings(&settings);
    t_flashSkinCmd& sink = *window.FlashCommand();
    sink.SetContext(&context);
    // With every entry unset a function command is taken and does nothing.
    EXPECT_EQ(1, sink.Execute(0, 3));
    SetAllEntries(std::make_integer_sequence<int, UiFunction::c_count>());
    const int expected[16] = {2, 3, 0, 1, 5, 4, 9, 10, 17, 16, 19, 20, -1, 7, 8, 23};
    for (uint32_t command = 0; command < 16; ++command) {
        if (command == t_flashSkinCmd::c_softKeyboardPopup)
            continue;
        g_calledEntry = -1;
        EXPECT_EQ(1, sink.Execute(0, command)) << command;
        EXPECT_EQ(expected[command], g_calledEntry) << command;
        EXPECT_EQ(c_host, g_calledHost);
        EXPECT_EQ(&settings, g_calledSettings);
    }
    // Commands past the table call nothing.
    g_calledEntry = -1;
    EXPECT_EQ(1, sink.Execute(0, 16));
    EXPECT_EQ(-1, g_calledEntry);
    for (int i = 0; i < UiFunction::c_count; ++i)
        UiFunction::Instance()->Set(i, nullptr);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(SkinBaseTest, FlashPopupAndPointCommandsGoToTheUiHost)
{
    g_cursor = POINT{70, 80};
    t_inputHooksScope hooks(t_inputHooks{nullptr, nullptr, FakeCursor});
    t_flashSkinCmd& sink = *window.FlashCommand();
    sink.SetContext(&context);
    EXPECT_EQ(1, sink.Execute(0, t_flashSkinCmd::c_softKeyboardPopup));
    EXPECT_EQ(1, sink.Execute(0x00050001, 0x0007FFFE));
    EXPECT_EQ(1, sink.Execute(2, 0));  // other kinds are taken and ignored
    EXPECT_EQ((std::vector<std::string>{"popup host 70 80 2", "point host 5 -2 7"}), ui.calls);

    // Without the UI host those two answer 0; without the input host every command does.
    context.SetUiWrap(nullptr);
    EXPECT_EQ(0, sink.Execute(0, t_flashSkinCmd::c_softKeyboardPopup));
    EXPECT_EQ(0, sink.Execute(1, 5));
    EXPECT_EQ(1, sink.Execute(0, 3));
    context.SetImcWrap(nullptr);
    EXPECT_EQ(0, sink.Execute(0, 3));
}

// ---- the message hook

TEST_F(SkinBaseTest, MessageHookNotifiesCommandsAndTicksTheFlashChildren)
{
    ASSERT_TRUE(window.Make());
    t_recordingFlash item, other, background;
    other.tickAnswer = true;
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{3, 2, 1}, &item));
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{3, 2, 0}, &other));
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{3, 2, -1}, &background));
    window.FlashCommand()->SetContext(&context);

    // High word 3 and low word 0xFFFE name window 3, item 1; the message goes on.
    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, c_flashNotifyMessage, MAKEWPARAM(0xFFFE, 3), 0));
    EXPECT_TRUE(item.notified);
    EXPECT_FALSE(other.notified);
    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, c_flashNotifyMessage, MAKEWPARAM(0xFFFF, 3), 0));
    EXPECT_TRUE(background.notified == false && other.notified);
    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, c_flashNotifyMessage, MAKEWPARAM(0x0000, 3), 0));
    EXPECT_TRUE(background.notified) << "~0 is index -1";
    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, c_flashNotifyMessage, MAKEWPARAM(0xFFFE, 4), 0));

    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, c_flashCommandMessage, 0x00020001, 0x00030004));
    EXPECT_EQ((std::vector<std::string>{"point host 2 4 3"}), ui.calls);

    // The flash timer steps every child, repaints when one asks, and is handled.
    window.paints = 0;
    EXPECT_TRUE(window.PreHandleMessage(window.hwnd, WM_TIMER, c_flashTimerId, 0));
    EXPECT_EQ(1, item.ticks);
    EXPECT_EQ(1, other.ticks);
    EXPECT_EQ(1, background.ticks);
    EXPECT_EQ(1, window.paints);
    other.tickAnswer = false;
    EXPECT_TRUE(window.PreHandleMessage(window.hwnd, WM_TIMER, c_flashTimerId, 0));
    EXPECT_EQ(1, window.paints) << "nobody asked for a repaint";

    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, WM_TIMER, c_flashTimerId + 1, 0));
    EXPECT_FALSE(window.PreHandleMessage(window.hwnd, WM_MOUSEMOVE, 0, 0));
    window.flashMap.Clear();
}

// ---- orientation

TEST_F(SkinBaseTest, AltStyleFollowsTheModeWordThenTheFlagThenTheSettings)
{
    const struct {
        uint16_t word;
        bool flag;
        int candStyle;
        bool expected;
    } cases[] = {
        {0x0101, false, 0, true}, {0x0100, true, 1, false}, {0x01FF, true, 1, false},  {0x0201, false, 0, false},
        {0x0201, true, 0, true},  {0x0000, false, 1, true}, {0x0001, false, 0, false},
    };
    for (const auto& c : cases) {
        imc.modeWord = c.word;
        imc.modeFlag = c.flag;
        t_uiSettings settings = {};
        settings.candStyle = c.candStyle;
        EXPECT_EQ(c.expected, window.IsAltStyle(&settings)) << std::hex << c.word << " " << c.flag;
    }
    imc.modeWord = 0;
    imc.modeFlag = false;
    EXPECT_FALSE(window.IsAltStyle(nullptr));
}

// ---- dragging by the anchor

TEST_F(SkinBaseTest, AnchorDragReportsEveryMoveSettlesAndClearsTheDragFlag)
{
    ASSERT_TRUE(window.Make());
    t_recordingFlash item;
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{0, 2, 0}, &item));
    t_inputHooksScope hooks(t_inputHooks{nullptr, ButtonUp, FakeCursor});

    const POINT anchor = {5, 6};
    window.dragSettleReload = 1;
    window.SetDragAnchor(&anchor);
    EXPECT_TRUE(IsUiWindowDragActive());
    g_cursor = POINT{200, 150};
    window.SetBounds(0, 0, 60, 40, false);  // the origin follows the cursor, not the arguments
    g_cursor = POINT{210, 160};
    window.Move(0, 0, 60, 40, false);
    window.SetDragAnchor(nullptr);
    g_cursor = POINT{220, 170};
    window.Move(0, 0, 60, 40, false);  // one settling move left
    EXPECT_TRUE(window.anchorDragging);
    EXPECT_TRUE(IsUiWindowDragActive());
    g_cursor = POINT{230, 180};
    window.Move(0, 0, 60, 40, false);  // the last one ends the drag
    EXPECT_FALSE(window.anchorDragging);
    EXPECT_FALSE(IsUiWindowDragActive()) << "the flag is cleared once the drag settles";
    window.Move(7, 8, 60, 40, false);  // an ordinary move again

    const std::vector<std::pair<int, int>> expected = {{195, 144}, {205, 154}, {215, 164}, {225, 174}};
    ASSERT_EQ(expected.size(), window.moves.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, window.moves[i].x) << i;
        EXPECT_EQ(expected[i].second, window.moves[i].y) << i;
    }
    const RECT r = window.GetRect();
    EXPECT_EQ(7, r.left);
    EXPECT_EQ(8, r.top);
    // The flash children follow the window.
    EXPECT_EQ(r.left, item.followed.left);
    EXPECT_EQ(r.bottom, item.followed.bottom);
    // The toolkit's own dragged window was never touched.
    EXPECT_EQ(nullptr, t_wndTop::DraggedWindow());
    window.flashMap.Clear();
}

// A child that counts the hover poll's mouse moves.
struct t_countingChild : t_wndBase {
    int moves = 0;
    void OnMouseMove(UINT, int, int) override { ++moves; }
};

TEST_F(SkinBaseTest, AfterAnAnchorDragOtherWindowsStillPollTheHover)
{
    ASSERT_TRUE(window.Make());
    t_inputHooksScope hooks(t_inputHooks{nullptr, ButtonUp, FakeCursor});
    const POINT anchor = {1, 1};
    window.SetDragAnchor(&anchor);
    g_cursor = POINT{300, 300};
    window.Move(0, 0, 60, 40, false);
    window.SetDragAnchor(nullptr);
    window.Move(0, 0, 60, 40, false);
    ASSERT_FALSE(window.anchorDragging);

    t_wndTop other;
    other.keepOnScreen = false;
    ASSERT_TRUE(other.Create(WS_POPUP, 0, 0, 50, 50, 0, nullptr, nullptr));
    t_countingChild child;
    ASSERT_TRUE(child.Create(0, 0, 0, 10, 10, 0, nullptr, &other));
    other.Move(500, 500, 50, 50, false);
    other.shown = true;
    g_cursor = POINT{510, 510};
    other.PollHover();
    EXPECT_EQ(1, child.moves) << "the hover poll of another window goes on";
}

TEST_F(SkinBaseTest, ClearingTheSkinChildrenKeepsEveryOtherChild)
{
    ASSERT_TRUE(window.Make());
    t_wndStatusBtn* button = new t_wndStatusBtn();
    button->SetKey(0, t_skinItemType::e_custom, 0);
    ASSERT_TRUE(button->Create(0, 0, 0, 10, 10, 0, nullptr, &window));
    t_wndFlashSub* flash = NewFlashSub(t_flashSubKind::e_placeholder);
    ASSERT_TRUE(flash->CreateFlash(nullptr, window.hwnd, c_flashNotifyMessage, 0xFFFF, &window));
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{0, 2, 0}, flash));
    t_wndBase* other = new t_wndBase();
    ASSERT_TRUE(other->Create(0, 0, 0, 5, 5, 0, nullptr, &window));
    // A layout node of the button stays in a tree that outlives it.
    t_layoutAligned tree;
    tree.AddChild(t_layoutPtr(button->CreateLayout()), t_alignInfo::Default());
    t_layoutWnd* node = static_cast<t_layoutWnd*>(button->layout);
    ASSERT_EQ(3, window.ChildCount());

    window.ClearSkinChildren();
    ASSERT_EQ(1, window.ChildCount());
    EXPECT_EQ(other, window.ChildAt(0));
    EXPECT_EQ(0u, window.flashMap.Count());
    EXPECT_EQ(nullptr, node->GetElement());
}

// ---- show and shake

TEST_F(SkinBaseTest, ShowTellsTheHostFirstAndTheFlashChildrenFollow)
{
    ASSERT_TRUE(window.Make());
    t_recordingFlash item;
    ASSERT_TRUE(window.flashMap.Put(t_flashKey{0, 2, 0}, &item));
    EXPECT_TRUE(window.Show(true));
    EXPECT_TRUE(window.shown);
    EXPECT_TRUE(window.Show(false));
    EXPECT_EQ((std::vector<std::string>{"show host 1 0 0"}), ui.calls) << "hiding tells nobody";
    EXPECT_EQ((std::vector<bool>{true, false}), item.shows);

    window.GetShakeDetector()->count = 2;
    window.OnShake(nullptr);
    EXPECT_EQ(-1, window.GetShakeDetector()->count);
    EXPECT_EQ("shake ? 1 0 0", ui.calls.back());
    window.flashMap.Clear();
}

// ---- flash children from a runtime skin

// Writes a skin pack with the given Skin.ini, a status picture, a flash file and pictures.
bool WriteSkinPack(const t_tempFolder& dir, const std::wstring& ini, const std::wstring& packPath)
{
    const t_skinPackFiles files = {
        {L"status.png", FlatPng(40, 20, {0xFF0000FF})},
        {L"p.png", FlatPng(40, 20, {0x00FF00FF})},
        {L"anim.png", FlatPng(8, 8, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF}, 5)},
        {L"movie.swf", std::string("FWS-fake-movie")},
    };
    return WriteSkinPackFile(dir / L"skin_src", files, ini, packPath);
}

// Flash items of the status bar: target and layer in the last two numbers of _align.
// Items 0, 1 and 5 are misplaced (bad target, other layer, empty target); 2 and 3 are
// good; 4 is a popup. Items are walked in index order, so a walk that stopped at the first
// misplaced item would place nothing.
const wchar_t* const c_flashIni =
    L"[General]\r\nskin_id=flashy\r\n"
    L"[Display]\r\nzhongwen_color=0x00ff00\r\nzhongwen_first_color=0xbe6e25\r\n"
    L"[Scheme_H2]\r\npinyin_pic=anim.png\r\n"
    L"[StatusBar]\r\npic=status.png\r\nflash_cnt=6\r\n"
    L"flash0=movie.swf\r\nflash0_display=1\r\nflash0_width=9\r\nflash0_height=9\r\n"
    L"flash0_align=0,0,0,0,1,0,1,0,11,0\r\n"
    L"flash1=movie.swf\r\nflash1_display=1\r\nflash1_width=9\r\nflash1_height=9\r\n"
    L"flash1_align=0,0,0,0,1,0,1,0,0,1\r\n"
    L"flash2=movie.swf\r\nflash2_display=1\r\nflash2_width=12\r\nflash2_height=7\r\nflash2_preview=p.png\r\n"
    L"flash2_drag=1\r\nflash2_align=3,0,4,0,1,0,1,0,0,0\r\n"
    L"flash3=movie.swf\r\nflash3_display=1\r\nflash3_width=5\r\nflash3_height=6\r\n"
    L"flash3_align=0,0,0,0,1,0,1,0,5,0\r\n"
    L"flash4=movie.swf\r\nflash4_popup=1\r\nflash4_width=5\r\nflash4_height=5\r\n"
    L"flash5=movie.swf\r\nflash5_display=1\r\nflash5_width=5\r\nflash5_height=5\r\n"
    L"flash5_align=0,0,0,0,1,0,1,0,3,0\r\n";

class SkinFlashTest : public SkinBaseTest {
protected:
    static void SetUpTestSuite()
    {
        InitRuntimeInProgramFolder();
    }

    SkinFlashTest() : dir(L"ui_skin_base")
    {
        settings.skinEnabled = true;
        settings.fontSize = 12;
        settings.flashDebugMode = true;  // keep flash data the absent component would refuse
        packPath = dir / L"skin_v3.dat";
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
    }

    bool LoadIni(const std::wstring& ini)
    {
        if (!WriteSkinPack(dir, ini, packPath))
            return false;
        t_errorChain errors;
        return skin.ParseSkinIni(errors, packPath.c_str());
    }

    t_wndFlashSub* Child(int index) { return window.FindFlash(t_flashKey{0, 2, index}); }

    t_tempFolder dir;
    std::wstring packPath;
    t_uiSettings settings = {};
    t_uiSkinData skin;
};

int FlashChildren(t_wndUiSkinBase& window)
{
    int n = 0;
    for (int i = 0; i < window.ChildCount(); ++i)
        n += dynamic_cast<t_wndFlashSub*>(window.ChildAt(i)) != nullptr;
    return n;
}

TEST_F(SkinFlashTest, FlashItemsBecomePlaceholdersPlacedOnTheirTargets)
{
    ASSERT_TRUE(LoadIni(c_flashIni));
    ASSERT_EQ(6u, skin.ButtonParts()->Flashes().Count()) << "five items and the popup";
    ASSERT_TRUE(window.Make());
    window.CreateFlashes(0);
    EXPECT_EQ(5, FlashChildren(window)) << "the popup is left out";
    EXPECT_EQ(5u, window.flashMap.Count());
    EXPECT_EQ(nullptr, Child(4));
    t_wndFlashSubDummy* good = dynamic_cast<t_wndFlashSubDummy*>(Child(2));
    ASSERT_NE(nullptr, good);
    EXPECT_EQ(12, good->GetRect().right - good->GetRect().left);
    EXPECT_EQ(7, good->GetRect().bottom - good->GetRect().top);
    EXPECT_FALSE(good->placeholder.Image().IsBitmapEmpty()) << "the preview picture";
    EXPECT_FALSE(good->HitTest(good->GetRect().left + 1, good->GetRect().top + 1, 0));
    EXPECT_TRUE(KillTimer(window.hwnd, c_flashTimerId)) << "the flash timer runs";
    SetTimer(window.hwnd, c_flashTimerId, c_flashTimerMs, nullptr);

    // Targets: the aligned layout and the aligned cells of a grid, cell (0, 2) missing.
    t_layoutAligned* root = new t_layoutAligned();
    t_layoutGrid* grid = new t_layoutGrid(3, 3);
    std::vector<t_layoutAligned*> cells;
    for (int i = 0; i < 9; ++i) {
        cells.push_back(i == 2 ? nullptr : new t_layoutAligned());
        if (cells.back())
            grid->AddChildAt(t_layoutPtr(cells.back()), i / 3, i % 3);
    }
    root->AddChild(t_layoutPtr(grid), t_alignInfo::Default());
    window.PlaceFlashes(root, grid, 0, 0);
    ASSERT_NE(nullptr, Child(2)->layout);
    ASSERT_NE(nullptr, Child(3)->layout);
    EXPECT_NE(nullptr, root->FindChild(Child(2)->layout)) << "target 0";
    EXPECT_NE(nullptr, cells[4]->FindChild(Child(3)->layout)) << "target 5 is cell (1, 1)";
    for (int index : {0, 1, 5})
        EXPECT_EQ(nullptr, Child(index)->layout) << index;
    EXPECT_EQ(7, Child(2)->layout->Height());

    // Laid out and painted, the good item shows its preview where its record puts it.
    window.SetLayout(t_layoutPtr(root));
    root->Measure(nullptr);
    root->SetRect(0, 0, 60, 40);
    root->Layout(nullptr);
    t_testSurface surface(60, 40, true);
    root->Paint(surface.Paint(), nullptr);
    // Its record: left margin 4, top margin 3, both edges near.
    const RECT placed = Child(2)->layout->GetRect();
    EXPECT_EQ(4, placed.left);
    EXPECT_EQ(3, placed.top);
    EXPECT_EQ(16, placed.right);
    EXPECT_EQ(10, placed.bottom);
    const uint32_t pixel = surface.At(placed.left + 6, placed.top + 3);
    EXPECT_EQ(0xFFu, pixel >> 24);
    EXPECT_EQ(0x00FF00u, pixel & 0xFFFFFF) << std::hex << pixel;

    // Destroying the flashes leaves no child, no map entry, no timer and no node that
    // names a deleted child.
    t_layoutWnd* node = static_cast<t_layoutWnd*>(Child(2)->layout);
    window.DestroyFlashes();
    EXPECT_EQ(0, FlashChildren(window));
    EXPECT_EQ(0u, window.flashMap.Count());
    EXPECT_EQ(nullptr, node->GetElement());
    EXPECT_FALSE(KillTimer(window.hwnd, c_flashTimerId));
    root->Paint(surface.Paint(), nullptr);
}

TEST_F(SkinFlashTest, WithoutFlashItemsNoTimerStartsAndDestroyingIsHarmless)
{
    ASSERT_TRUE(LoadIni(c_flashIni));
    ASSERT_TRUE(window.Make());
    window.CreateFlashes(3);  // the candidate window has no flash items
    EXPECT_EQ(0, FlashChildren(window));
    EXPECT_FALSE(KillTimer(window.hwnd, c_flashTimerId));
    window.DestroyFlashes();
    window.ClearSkinChildren();
    EXPECT_EQ(0u, window.flashMap.Count());
}

TEST_F(SkinFlashTest, ApplySkinReportsTheFontAndGivesTheCommandSinkTheWindowContext)
{
    ASSERT_TRUE(LoadIni(c_flashIni));
    window.ApplySkin();
    EXPECT_EQ(&context, window.FlashCommand()->GetContext());
    // The candidate font and the first candidate's colour go to the host.
    ASSERT_EQ(1u, imc.fonts.size());
    EXPECT_FALSE(imc.fonts[0].empty());
    EXPECT_FALSE(window.blurBehind) << "the skin asks for no aero";
    // Without a skin nothing is applied.
    t_testWindow bare;
    t_uiContext empty;
    bare.SetContext(&empty);
    bare.ApplySkin();
    EXPECT_NE(&empty, bare.FlashCommand()->GetContext());
}

// ---- the animation tick

TEST_F(SkinFlashTest, AnimationTickRepaintsOnlyTheWindowsOfItsMask)
{
    ASSERT_TRUE(LoadIni(c_flashIni));
    const t_imageSet9* area = skin.GetArea(static_cast<int>(t_skinArea::e_h2Comp));
    ASSERT_NE(nullptr, area);
    const t_image animated = area->cells[t_imageSet9::e_centre];
    ASSERT_NE(nullptr, animated.source);
    ASSERT_EQ(t_imageSource::e_frames, animated.source->kind);

    // Four windows that all show the composition window's animated picture.
    t_testWindow windows[4];
    for (t_testWindow& w : windows) {
        w.SetContext(&context);
        ASSERT_TRUE(w.Make(8, 8));
        w.SetRenderLayout(animated);
        w.Show(true);
        w.paints = 0;
    }
    t_testWindow& composition = windows[0];
    t_testWindow& separate = windows[1];
    EXPECT_FALSE(TickUiAnimations(&skin, 0, &windows[0], &windows[1], &windows[2], &windows[3], true));

    const void* before = separate.Render()->image.ref.handle;
    bool ticked = false;
    for (int i = 0; i < 60 && !ticked; ++i) {
        Sleep(20);
        ticked =
            TickUiAnimations(&skin, c_animCompositionGroup, &windows[0], &windows[1], &windows[2], &windows[3], true);
    }
    ASSERT_TRUE(ticked);
    EXPECT_NE(before, separate.Render()->image.ref.handle);
    EXPECT_GE(separate.paints, 1);
    for (t_testWindow* untouched : {&composition, &windows[2], &windows[3]}) {
        EXPECT_EQ(0, untouched->paints);
        EXPECT_EQ(before, untouched->Render()->image.ref.handle);
    }

    // A hidden window of the mask is not stepped when only visible ones are asked for.
    separate.Show(false);
    separate.paints = 0;
    const void* hidden = separate.Render()->image.ref.handle;
    for (int i = 0; i < 20; ++i) {
        Sleep(20);
        TickUiAnimations(&skin, c_animCompositionGroup, nullptr, &separate, nullptr, nullptr, true);
    }
    EXPECT_EQ(hidden, separate.Render()->image.ref.handle);
    EXPECT_EQ(0, separate.paints);
}

}  // namespace
