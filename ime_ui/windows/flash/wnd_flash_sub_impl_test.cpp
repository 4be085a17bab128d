#include "ime_ui/windows/flash/wnd_flash_sub_impl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interfaces/flash_interfaces.h"
#include "graphics/image/image_source.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "ime_ui/windows/flash/wnd_flash_bk_sub_impl.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/flash/flash_skin_cmd.h"
#include "ime_ui/windows/flash/wnd_flash_popup_impl.h"
#include "ime_ui/windows/base/wnd_ui_skin_base.h"
#include "tests/support/paint_surface.h"
#include "tests/support/runtime_init.h"
#include "tests/support/scenario_child.h"
#include "foundation/process/component_client.h"
#include "foundation/config/runtime.h"
#include "foundation/flash/flash_proxy.h"
#include "foundation/flash/flash_util.h"
#include "tests/support/flash_bundle.h"
#include "tests/support/flash_standin.h"
#include "tests/support/flat_png.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const uint32_t c_red = 0xFFFF0000;
const uint32_t c_blue = 0xFF0000FF;

// A player that writes down every call it gets.
struct t_recordingStub final : i_flashStub {
    std::vector<std::string> calls;
    int createAnswer = 1;
    int hitAnswer = 0;
    bool frameClaimed = false;
    std::vector<uint32_t> framePixels;
    int frameWidth = 0, frameHeight = 0;

    void Note(const std::string& call) { calls.push_back(call); }
    static std::string Num(intptr_t v) { return std::to_string(static_cast<long long>(v)); }

    void Delete() override { Note("delete"); }
    int Version() override { return 1; }
    int Create(DWORD exStyle, DWORD style, HWND host, int controlId, LPARAM parameter) override
    {
        Note("create " + Num(exStyle) + " " + Num(style) + " " + Num(reinterpret_cast<intptr_t>(host)) + " " +
             Num(controlId) + " " + Num(parameter));
        return createAnswer;
    }
    void SetSize(const SIZE* size) override { Note("size " + Num(size->cx) + "x" + Num(size->cy)); }
    bool GetFrame(t_flashFrame* frame) override
    {
        Note("frame");
        if (!frameClaimed)
            return false;
        frame->pixels = framePixels.empty() ? nullptr : framePixels.data();
        frame->width = frameWidth;
        frame->height = frameHeight;
        return true;
    }
    LRESULT SendMouse(HWND, UINT message, WPARAM keys, LPARAM point) override
    {
        Note("mouse " + Num(message) + " " + Num(keys) + " " + Num(GET_X_LPARAM_(point)) + "," +
             Num(GET_Y_LPARAM_(point)));
        return 0;
    }
    int Load(const wchar_t* fileName) override
    {
        Note("load " + std::string(fileName, fileName + wcslen(fileName)));
        return 1;
    }
    int HitTest(int x, int y) override
    {
        Note("hit " + Num(x) + "," + Num(y));
        return hitAnswer;
    }
    void SetCommandSink(t_flashSkinCmd* sink) override { Note("sink " + Num(reinterpret_cast<intptr_t>(sink))); }
    void Call2(intptr_t a, intptr_t b) override { Note("call2 " + Num(a) + " " + Num(b)); }
    void Call3(intptr_t a, intptr_t b, intptr_t c) override { Note("call3 " + Num(a) + " " + Num(b) + " " + Num(c)); }
    void Call1(intptr_t a) override { Note("call1 " + Num(a)); }
    void SetHostWindow(HWND) override { Note("host"); }
    void Move(int x, int y, int w, int h) override
    {
        Note("move " + Num(x) + "," + Num(y) + "," + Num(w) + "," + Num(h));
    }
    void Show(bool shown) override { Note(shown ? "show" : "hide"); }

    // Signed halves of a packed point.
    static int GET_X_LPARAM_(LPARAM p) { return static_cast<short>(LOWORD(p)); }
    static int GET_Y_LPARAM_(LPARAM p) { return static_cast<short>(HIWORD(p)); }
};

t_recordingStub* g_next = nullptr;
int g_made = 0;
i_flashStub* MakeRecording()
{
    ++g_made;
    return g_next;
}

// Every element of a test gets the fixture's stub.
class FlashPlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_next = &stub;
        g_made = 0;
        m_oldMaker = t_wndFlashSubImpl::SetStubMaker(MakeRecording);
    }
    void TearDown() override
    {
        t_wndFlashSubImpl::SetStubMaker(m_oldMaker);
        g_next = nullptr;
    }

    // A live element at (x, y) of w x h with the fixture's stub; the creation calls are
    // forgotten.
    void Place(t_wndFlashSubImpl& element, int x, int y, int w, int h)
    {
        ASSERT_TRUE(element.CreateFlash(nullptr, nullptr, c_flashNotifyMessage, 0x3FFFE, nullptr));
        element.SetSize(w, h);
        element.MoveTo(x, y);
        stub.calls.clear();
    }

    t_recordingStub stub;

private:
    t_wndFlashSubImpl::t_stubMaker m_oldMaker = nullptr;
};

const HWND c_host = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));

TEST_F(FlashPlayer, CreatingMakesTheElementAndALayeredDisabledChildPlayer)
{
    t_wndBase owner;
    ASSERT_TRUE(owner.Create(WS_CHILD, 0, 0, 50, 50, 0, nullptr, nullptr));
    t_wndFlashSubImpl* element = new t_wndFlashSubImpl();
    ASSERT_TRUE(element->CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0x3FFFE, &owner));
    EXPECT_EQ(std::vector<std::string>{"create 524288 1207959552 4660 27244 262142"}, stub.calls);
    EXPECT_EQ(&stub, element->Stub());
    ASSERT_EQ(1, owner.ChildCount()) << "the element is a child of its window";
    EXPECT_EQ(element, owner.ChildAt(0));
    EXPECT_EQ(0, element->GetSize().cx);

    // The popup keeps only its player, created for no control of the window.
    stub.calls.clear();
    t_wndFlashPopupImpl* popup = new t_wndFlashPopupImpl();
    ASSERT_TRUE(popup->CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0x3FFFE, &owner));
    EXPECT_EQ(std::vector<std::string>{"create 524288 1207959552 4660 0 262142"}, stub.calls);
    ASSERT_EQ(2, owner.ChildCount()) << "an empty child, deleted with the window's other children";
    EXPECT_EQ(0, popup->GetSize().cx);
    delete popup;

    // No Flash component, or a player that refuses: no element worth keeping.
    g_next = nullptr;
    t_wndFlashSubImpl none;
    EXPECT_FALSE(none.CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0, nullptr));
    EXPECT_EQ(nullptr, none.Stub());
    g_next = &stub;
    stub.createAnswer = 0;
    t_wndFlashSubImpl refused;
    EXPECT_FALSE(refused.CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0, nullptr));
    EXPECT_EQ(nullptr, refused.Stub()) << "a refusing player is let go";
}

TEST_F(FlashPlayer, OptionsAndCallsReachThePlayer)
{
    t_wndFlashSubImpl element;
    Place(element, 0, 0, 10, 10);
    EXPECT_TRUE(element.WantsHandCursor());
    EXPECT_FALSE(element.SuspendsDrag());
    element.SetNoHandCursor(true);
    element.SetCaptureAll(true);
    EXPECT_FALSE(element.WantsHandCursor());
    EXPECT_TRUE(element.SuspendsDrag());

    element.SetFileName(L"skin\\a.swf");
    element.ResetUi(0);
    element.SetCommandSink(reinterpret_cast<t_flashSkinCmd*>(static_cast<intptr_t>(77)));
    EXPECT_EQ(1, element.StubCall2(1, 2));
    EXPECT_EQ(1, element.StubCall3(3, 4, 5));
    element.FollowRect(RECT{1, 2, 3, 4});
    element.FollowShow(true);
    EXPECT_EQ((std::vector<std::string>{"load skin\\a.swf", "sink 77", "call2 1 2", "call3 3 4 5"}), stub.calls)
        << "an in-window player does not follow the window";

    // A notification asks for one repaint.
    EXPECT_FALSE(element.TickFlash());
    element.SetNotified(true);
    EXPECT_TRUE(element.IsNotified());
    EXPECT_TRUE(element.TickFlash());
    EXPECT_FALSE(element.TickFlash());

    // Destroying lets the player go: calls answer 0 from then on.
    element.Destroy();
    EXPECT_EQ(nullptr, element.Stub());
    EXPECT_EQ(0, element.StubCall2(1, 2));
    EXPECT_EQ(0, element.StubCall3(1, 2, 3));
}

TEST_F(FlashPlayer, HitTestAsksThePlayerInFlashCoordinates)
{
    const struct {
        bool visible, captureAll;
        int hitAnswer;
        POINT point;
        bool hit;
        const char* asked;  // the call the player saw, "" for none
    } cases[] = {
        {true, false, 1, {15, 25}, true, "hit 5,5"}, {true, false, 0, {15, 25}, false, "hit 5,5"},
        {true, true, 0, {15, 25}, true, ""},         {true, true, 1, {9, 25}, false, ""},
        {true, false, 1, {40, 40}, false, ""},       {false, true, 1, {15, 25}, false, ""},
    };
    for (const auto& c : cases) {
        t_wndFlashSubImpl element;
        Place(element, 10, 20, 20, 10);
        element.visible = c.visible;
        element.SetCaptureAll(c.captureAll);
        stub.hitAnswer = c.hitAnswer;
        EXPECT_EQ(c.hit, element.HitTest(c.point.x, c.point.y, 0)) << c.asked;
        const std::string asked = stub.calls.empty() ? "" : stub.calls.back();
        EXPECT_EQ(c.asked, asked);
    }
    // Without a player nothing is hit, captureAll or not.
    t_wndFlashSubImpl element;
    Place(element, 10, 20, 20, 10);
    element.SetCaptureAll(true);
    element.Destroy();
    EXPECT_FALSE(element.HitTest(15, 25, 0));
}

POINT g_cursor = {0, 0};
bool FakeCursor(POINT& point)
{
    point = g_cursor;
    return true;
}

TEST_F(FlashPlayer, MouseGoesToThePlayerAndButtonsOnlyOnAHit)
{
    t_wndFlashSubImpl element;
    Place(element, 10, 20, 20, 10);
    stub.hitAnswer = 1;
    element.OnMouseMove(MK_SHIFT, 12, 23);
    EXPECT_TRUE(element.OnLButtonDown(MK_LBUTTON, 14, 21));
    EXPECT_TRUE(element.OnLButtonUp(0, 14, 21));
    EXPECT_TRUE(element.OnLButtonDblClk(MK_LBUTTON, 29, 29));
    EXPECT_FALSE(element.OnLButtonDown(MK_LBUTTON, 5, 5)) << "outside";
    EXPECT_FALSE(element.OnRButtonDown(0, 14, 21));
    EXPECT_FALSE(element.OnRButtonUp(0, 14, 21));
    g_cursor = POINT{8, 22};
    t_inputHooks hooks = {};
    hooks.cursorPos = FakeCursor;
    const t_inputHooks old = SetInputHooks(hooks);
    element.OnMouseLeave();
    SetInputHooks(old);
    std::vector<std::string> mouse;
    for (const std::string& call : stub.calls) {
        if (call.rfind("mouse", 0) == 0)
            mouse.push_back(call);
    }
    EXPECT_EQ((std::vector<std::string>{"mouse 512 4 2,3", "mouse 513 1 4,1", "mouse 514 0 4,1", "mouse 515 1 19,9",
                                        "mouse 512 1 -2,2"}),
              mouse)
        << "move, down, up, double click; leaving moves with the left-button key at the cursor";

    // The popup's player has a window of its own: the element passes nothing on.
    t_wndFlashPopupImpl popup;
    ASSERT_TRUE(popup.CreateFlash(nullptr, nullptr, c_flashNotifyMessage, 0, nullptr));
    popup.SetSize(20, 10);
    stub.calls.clear();
    popup.OnMouseMove(0, 1, 1);
    EXPECT_FALSE(popup.OnLButtonDown(MK_LBUTTON, 1, 1));
    EXPECT_FALSE(popup.HitTest(1, 1, 0));
    EXPECT_TRUE(stub.calls.empty());
}

TEST_F(FlashPlayer, PopupPlayerFollowsItsWindow)
{
    t_wndFlashPopupImpl popup;
    ASSERT_TRUE(popup.CreateFlash(nullptr, nullptr, c_flashNotifyMessage, 0, nullptr));
    popup.SetCaptureAll(true);
    popup.SetNoHandCursor(false);
    popup.SetNotified(true);
    EXPECT_FALSE(popup.SuspendsDrag());
    EXPECT_FALSE(popup.WantsHandCursor());
    EXPECT_FALSE(popup.TickFlash());
    stub.calls.clear();
    popup.FollowRect(RECT{10, 20, 110, 70});
    popup.FollowShow(true);
    popup.FollowShow(false);
    popup.SetFileName(L"p.swf");
    popup.ResetUi(0);
    EXPECT_EQ((std::vector<std::string>{"move 10,20,100,50", "show", "hide", "load p.swf"}), stub.calls);
}

TEST_F(FlashPlayer, PaintDrawsTheFrameAtNaturalSizeOrElseThePlaceholder)
{
    t_wndFlashSubImpl element;
    Place(element, 5, 6, 20, 10);
    stub.frameClaimed = true;
    stub.frameWidth = 4;
    stub.frameHeight = 3;
    stub.framePixels.assign(12, c_red);
    {
        t_testSurface surface(40, 40, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ((std::vector<std::string>{"size 20x10", "frame"}), stub.calls);
        const RECT painted = surface.AlphaBounds();
        EXPECT_EQ(5, painted.left);
        EXPECT_EQ(6, painted.top);
        EXPECT_EQ(9, painted.right);
        EXPECT_EQ(9, painted.bottom);
        EXPECT_EQ(c_red, surface.At(5, 6));
    }

    // A player may claim a frame it does not hand over, or one of an impossible size: the
    // placeholder shows instead.
    std::vector<uint32_t> placeholderPixels(2 * 2, c_blue);
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, placeholderPixels.data(), 2, 2, source, 0, nullptr));
    t_image record;
    record.Init();
    record.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural, true);
    element.SetPlaceholder(record);
    const struct {
        bool pixels;
        int w, h;
    } bad[] = {{false, 4, 3}, {true, 0, 3}, {true, 0x10000, 0x10000}, {true, -4, 3}};
    for (const auto& b : bad) {
        stub.framePixels.assign(b.pixels ? 12 : 0, c_red);
        stub.frameWidth = b.w;
        stub.frameHeight = b.h;
        t_testSurface surface(40, 40, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ(4, surface.CountAlpha()) << b.w << "x" << b.h;
        EXPECT_EQ(c_blue, surface.At(14, 10)) << "the placeholder, centred";
    }

    // An empty element tells the player size 0 and paints nothing.
    stub.calls.clear();
    element.SetSize(0, 10);
    {
        t_testSurface surface(40, 40, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ(std::vector<std::string>{"size 0x0"}, stub.calls);
        EXPECT_EQ(0, surface.CountAlpha());
    }

    // Without a player (no Flash component) the placeholder shows.
    t_wndFlashSubImpl lone;
    Place(lone, 5, 6, 20, 10);
    lone.Destroy();
    lone.SetPlaceholder(record);
    {
        t_testSurface surface(40, 40, true);
        lone.Paint_Layout(surface.Paint());
        EXPECT_EQ(4, surface.CountAlpha());
    }
    t_imageSource::Destroy(source);
}

// A background of one picture render over the whole rectangle.
t_layout* PictureBackground(t_image& picture, const RECT& r)
{
    t_renderImage* render = new t_renderImage();
    render->image = picture;
    render->image.modeH = render->image.modeV = t_image::e_stretch;
    t_layoutRender* node = new t_layoutRender(std::unique_ptr<t_render>(render));
    node->SetRect(r);
    return node;
}

TEST_F(FlashPlayer, BackgroundPlayerPaintsTheBackgroundWithItsFrameInPlaceOfThePictures)
{
    std::vector<uint32_t> bluePixels(2 * 2, c_blue);
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, bluePixels.data(), 2, 2, source, 0, nullptr));
    t_image blue;
    blue.Init();
    blue.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_stretch, t_image::e_stretch, true);

    t_wndFlashBkSubImpl element;
    Place(element, 0, 0, 16, 8);
    // Nothing to paint before the background is handed over.
    {
        t_testSurface surface(16, 8, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ(0, surface.CountAlpha());
    }
    t_layout* background = PictureBackground(blue, RECT{0, 0, 16, 8});
    element.SetInnerLayout(background);
    t_layoutWnd* node = element.CreateLayout();
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(background, node->GetInner()) << "the element's node carries the background";

    // No frame: the background as it is.
    {
        t_testSurface surface(16, 8, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ(16 * 8, surface.CountAlpha());
        EXPECT_EQ(c_blue, surface.At(15, 7));
        EXPECT_TRUE(element.perPixelAlpha);
    }
    // A frame stands in for the picture while painting, stretched the same way.
    stub.frameClaimed = true;
    stub.frameWidth = 2;
    stub.frameHeight = 1;
    stub.framePixels.assign(2, c_red);
    {
        t_testSurface surface(16, 8, true);
        element.Paint_Layout(surface.Paint());
        EXPECT_EQ(16 * 8, surface.CountAlpha());
        EXPECT_EQ(c_red, surface.At(0, 0));
        EXPECT_EQ(c_red, surface.At(15, 7));
    }
    const t_renderImage* render =
        static_cast<const t_renderImage*>(static_cast<t_layoutRender*>(background)->GetRender());
    EXPECT_EQ(source, render->image.source) << "the picture is put back";
    EXPECT_EQ(2, render->image.partWidth);

    // Points are taken relative to the background.
    background->MoveTo(4, 2);
    POINT p = {10, 10};
    element.ToFlashPoint(&p);
    EXPECT_EQ(6, p.x);
    EXPECT_EQ(8, p.y);

    delete node;
    delete background;  // the window's, never the node's
    t_imageSource::Destroy(source);
}

// ---- players as children of a skinned window

// A status bar with one in-window flash item and one popup item.
const wchar_t* const c_playerIni = L"[General]\r\nskin_id=players\r\n"
                                   L"[StatusBar]\r\npic=status.png\r\nflash_cnt=2\r\n"
                                   L"flash0=movie.swf\r\nflash0_display=1\r\nflash0_width=12\r\nflash0_height=7\r\n"
                                   L"flash0_drag=1\r\nflash0_align=0,0,0,0,1,0,1,0,0,0\r\n"
                                   L"flash1=movie.swf\r\nflash1_popup=1\r\nflash1_width=5\r\nflash1_height=5\r\n";

std::vector<t_recordingStub*> g_pool;
i_flashStub* MakeFromPool()
{
    g_pool.push_back(new t_recordingStub());
    return g_pool.back();
}

class PlayerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitRuntimeInProgramFolder();
    }

    PlayerWindow() : dir(L"flash_players")
    {
        settings.skinEnabled = true;
        settings.flashDebugMode = true;  // keep flash data the absent component would refuse
        packPath = dir / L"skin_v3.dat";
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
        context.SetHostWindow(c_host);
        window.SetContext(&context);
        m_oldMaker = t_wndFlashSubImpl::SetStubMaker(MakeFromPool);
    }
    ~PlayerWindow() override
    {
        window.DestroyFlashes();
        t_wndFlashSubImpl::SetStubMaker(m_oldMaker);
        for (t_recordingStub* stub : g_pool)
            delete stub;
        g_pool.clear();
    }

    bool Load()
    {
        const t_skinPackFiles files = {{L"status.png", FlatPng(40, 20, {0xFF0000FF})},
                                       {L"movie.swf", std::string("FWS-fake-movie")}};
        if (!WriteSkinPackFile(dir / L"skin", files, c_playerIni, packPath))
            return false;
        t_errorChain errors;
        return skin.ParseSkinIni(errors, packPath.c_str());
    }

    t_tempFolder dir;
    std::wstring packPath;
    t_uiSettings settings = {};
    t_uiSkinData skin;
    t_uiContext context;
    t_wndUiSkinBase window;

private:
    t_wndFlashSubImpl::t_stubMaker m_oldMaker = nullptr;
};

TEST_F(PlayerWindow, LiveItemsBecomePlayersThatFollowTheWindow)
{
    ASSERT_TRUE(Load());
    window.keepOnScreen = false;
    ASSERT_TRUE(window.Create(WS_POPUP, 0, 0, 60, 40, 0, nullptr, nullptr));
    window.placeholderFlashes = false;
    window.CreateFlashes(0);
    ASSERT_EQ(2u, g_pool.size()) << "a player for each item";
    auto* inWindow = dynamic_cast<t_wndFlashSubImpl*>(window.FindFlash(t_flashKey{0, 2, 0}));
    auto* popup = dynamic_cast<t_wndFlashPopupImpl*>(window.FindFlash(t_flashKey{0, 2, 1}));
    ASSERT_NE(nullptr, inWindow);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(nullptr, dynamic_cast<t_wndFlashPopupImpl*>(inWindow));
    EXPECT_EQ(2, window.ChildCount());
    EXPECT_TRUE(inWindow->SuspendsDrag()) << "the item's drag byte";

    const std::string sink = std::to_string(reinterpret_cast<intptr_t>(window.FlashCommand()));
    for (size_t i = 0; i < g_pool.size(); ++i) {
        const std::vector<std::string>& calls =
            static_cast<t_recordingStub*>(i == 0 ? inWindow->Stub() : popup->Stub())->calls;
        ASSERT_EQ(3u, calls.size()) << i;
        const std::string packed = std::to_string((0 << 16) | (~static_cast<int>(i) & 0xFFFF));
        EXPECT_EQ("create 524288 1207959552 " + std::to_string(reinterpret_cast<intptr_t>(c_host)) + " " +
                      std::string(i == 0 ? "27244 " : "0 ") + packed,
                  calls[0]);
        EXPECT_EQ("sink " + sink, calls[1]);
        EXPECT_EQ(0u, calls[2].rfind("load ", 0));
        EXPECT_NE(std::string::npos, calls[2].find("movie.swf")) << calls[2];
    }

    // The window moves and shows: the popup's player follows, the in-window one does not.
    auto* popupStub = static_cast<t_recordingStub*>(popup->Stub());
    auto* inStub = static_cast<t_recordingStub*>(inWindow->Stub());
    popupStub->calls.clear();
    inStub->calls.clear();
    window.SetBounds(30, 40, 60, 40, false);
    window.Show(true);
    window.Show(false);
    EXPECT_EQ((std::vector<std::string>{"move 30,40,60,40", "show", "hide"}), popupStub->calls);
    for (const std::string& call : inStub->calls)
        EXPECT_EQ(std::string::npos, call.find("move")) << call;

    // The component notifies the item; the flash timer repaints once for it.
    window.PreHandleMessage(window.hwnd, c_flashNotifyMessage, 0xFFFF, 0);
    EXPECT_TRUE(inWindow->IsNotified());
    EXPECT_TRUE(window.PreHandleMessage(window.hwnd, WM_TIMER, c_flashTimerId, 0));
    EXPECT_FALSE(inWindow->IsNotified()) << "the tick took the notification";

    // Both players go with the window's flash children, the popup's included.
    window.DestroyFlashes();
    EXPECT_EQ(0, window.ChildCount());
}

// ---- with the Flash component's stand-in library

// Loading the component changes the process for good: each case runs in a fresh copy of
// this program, with the bundle installed (or not) by the parent.
class FlashComponentPlayer : public t_tempFolderTest {
protected:
    FlashComponentPlayer() : t_tempFolderTest(L"flash_player") {}
    void TearDown() override
    {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, t_componentClient::c_managerKey, KEY_WOW64_32KEY, 0);
    }

    int RunScenario(const char* name)
    {
        return RunScenarioChild("DISABLED_FlashPlayerScenario", name, At(L"scenario_ran"));
    }
};

TEST_F(FlashComponentPlayer, PlayersComeFromTheComponentAndGoBackToIt)
{
    ASSERT_TRUE(InstallFlashBundle(At(L"manager"), true, true));
    EXPECT_EQ(0, RunScenario("Live"));
}

TEST_F(FlashComponentPlayer, WithoutTheComponentNoPlayerIsMade)
{
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, t_componentClient::c_managerKey, KEY_WOW64_32KEY, 0);
    EXPECT_EQ(0, RunScenario("Missing"));
}

// The stand-in's last call as "slot a b"; the record is cleared.
std::string LastCall()
{
    const t_flashStandinCall call = TakeFlashStandinCall();
    return std::to_string(call.slot) + " " + std::to_string(static_cast<long long>(call.a)) + " " +
           std::to_string(static_cast<long long>(call.b));
}

class DISABLED_FlashPlayerScenario : public ::testing::Test {
protected:
    void TearDown() override { MarkScenarioRan(); }
};

TEST_F(DISABLED_FlashPlayerScenario, Live)
{
    // The program loads the component once at start; players come from it afterwards.
    ASSERT_NE(nullptr, GetFlashUtil());
    ASSERT_TRUE(IsFlashLoaded());
    t_wndFlashSub* element = NewFlashSub(t_flashSubKind::e_inWindow);
    ASSERT_NE(nullptr, element);
    ASSERT_TRUE(element->CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0x3FFFE, nullptr));
    ASSERT_EQ(1, FlashStandinLiveStubs());
    EXPECT_EQ("102 524288 1207959552", LastCall()) << "a layered, disabled child player";
    auto* live = static_cast<t_wndFlashSubImpl*>(element);
    EXPECT_TRUE(t_proxyFlashStub::IsProxy(live->Stub()));

    element->SetSize(20, 10);
    element->MoveTo(10, 20);
    element->SetFileName(L"x.swf");
    element->ResetUi(0);
    EXPECT_EQ("106 120 0", LastCall()) << "the player loads the file";
    EXPECT_TRUE(element->HitTest(13, 24, 0));
    EXPECT_EQ("107 3 4", LastCall());
    EXPECT_TRUE(element->OnLButtonDown(MK_LBUTTON, 13, 24));
    EXPECT_EQ("105 513 " + std::to_string(MAKELPARAM(3, 4)), LastCall());
    EXPECT_EQ(1, element->StubCall2(7, 8));
    EXPECT_EQ("109 7 8", LastCall());

    // The stand-in claims frames without pixels: the placeholder shows.
    std::vector<uint32_t> pixels(4, c_blue);
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels.data(), 2, 2, source, 0, nullptr));
    t_image record;
    record.Init();
    record.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural, true);
    element->SetPlaceholder(record);
    {
        t_testSurface surface(40, 40, true);
        element->Paint_Layout(surface.Paint());
        EXPECT_EQ("104 0 0", LastCall());
        EXPECT_EQ(4, surface.CountAlpha());
    }

    // The popup's player lives as long as the window that made it.
    t_wndBase* owner = new t_wndBase();
    ASSERT_TRUE(owner->Create(WS_CHILD, 0, 0, 50, 50, 0, nullptr, nullptr));
    t_wndFlashSub* popup = NewFlashSub(t_flashSubKind::e_popup);
    ASSERT_TRUE(popup->CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0x3FFFE, owner));
    EXPECT_EQ(2, FlashStandinLiveStubs());
    popup->FollowRect(RECT{30, 40, 90, 60});
    EXPECT_EQ("113 30 40", LastCall());
    popup->FollowShow(true);
    EXPECT_EQ("114 1 0", LastCall());
    delete owner;
    EXPECT_EQ(1, FlashStandinLiveStubs());

    delete element;
    EXPECT_EQ(0, FlashStandinLiveStubs()) << "every player went back to the component";
    t_imageSource::Destroy(source);
}

TEST_F(DISABLED_FlashPlayerScenario, Missing)
{
    GetFlashUtil();
    EXPECT_FALSE(IsFlashLoaded());
    for (t_flashSubKind kind : {t_flashSubKind::e_inWindow, t_flashSubKind::e_background, t_flashSubKind::e_popup}) {
        t_wndFlashSub* element = NewFlashSub(kind);
        ASSERT_NE(nullptr, element);
        EXPECT_FALSE(element->CreateFlash(c_host, nullptr, c_flashNotifyMessage, 0x3FFFE, nullptr))
            << static_cast<int>(kind);
        EXPECT_EQ(0, element->StubCall2(1, 2));
        EXPECT_FALSE(element->HitTest(0, 0, 0));
        delete element;
    }
}

}  // namespace
