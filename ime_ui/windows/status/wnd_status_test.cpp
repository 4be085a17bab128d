#include "ime_ui/windows/status/wnd_status.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/config/runtime.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/ime_message_guard.h"
#include "ime_ui/windows/buttons/status_button_factory.h"
#include "ime_ui/windows/buttons/status_buttons.h"
#include "tests/support/exe_folder.h"
#include "tests/support/flat_png.h"
#include "tests/support/launch_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/paint_surface.h"
#include "tests/support/runtime_init.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/painted_tree.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

// Marker colours of the button pictures (0xRRGGBBAA in the files, 0xRRGGBB when read back).
const uint32_t c_barColor = 0x808080;
const uint32_t c_cnEnColor = 0xFF0000;
const uint32_t c_menuColor = 0x00FF00;
const uint32_t c_logoColor = 0x0000FF;
const uint32_t c_punctColor = 0xFFFF00;
const int c_barWidth = 120, c_barHeight = 30, c_buttonSize = 16;

// Four buttons on a 120 x 30 bar, each at its own place.
const wchar_t* const c_statusIni = L"[StatusBar]\r\npic=bar.png\r\n"
                                   L"cn_en=red.png\r\ncn_en_display=1\r\ncn_en_pos=10,5\r\n"
                                   L"menu=green.png\r\nmenu_display=1\r\nmenu_pos=40,5\r\n"
                                   L"logo=blue.png\r\nlogo_display=1\r\nlogo_pos=70,5\r\n"
                                   L"biaodian=yellow.png\r\nbiaodian_display=1\r\nbiaodian_pos=95,5\r\n";

struct t_call {
    std::string name;
    std::vector<long long> args;
    bool operator==(const t_call& other) const { return name == other.name && args == other.args; }
};
std::ostream& operator<<(std::ostream& out, const t_call& call)
{
    out << call.name << "(";
    for (long long a : call.args)
        out << a << ",";
    return out << ")";
}

class RecordingUi : public UiWrapImplBase {
public:
    void PopupAt(HWND host, int x, int y, int mode) override
    {
        if (throwOnPopup)
            throw std::runtime_error("host failed");
        Add("PopupAt", {Handle(host), x, y, mode});
    }
    void OnSkinBoxLaunch(int flag) override { Add("OnSkinBoxLaunch", {flag}); }
    void OnSetupTipDone(int flag) override { Add("OnSetupTipDone", {flag}); }
    void ApplyBarConfig(HWND host, DWORD mask, DWORD colour) override
    {
        Add("ApplyBarConfig", {Handle(host), static_cast<long long>(mask), static_cast<long long>(colour)});
    }
    void ReportBarConfigEvent(int code) override { Add("ReportBarConfigEvent", {code}); }
    void SetBarConfigOpen(int flag) override { Add("SetBarConfigOpen", {flag}); }
    void PreviewStatusButtonMask(int mask) override { Add("PreviewStatusButtonMask", {mask}); }
    void PreviewStatusButtonColor(int colour) override { Add("PreviewStatusButtonColor", {colour}); }
    void OnToolboxLaunch() override { Add("OnToolboxLaunch", {}); }
    bool CanShowSkinBoxHint() override { return canShowHint; }
    bool IsSkinBoxActive() override { return skinBoxActive; }
    bool WantsSetupTip() override { return wantsSetupTip; }
    bool WantsToolboxTip() override { return wantsToolboxTip; }
    void EnterMessage(int flag) override
    {
        depth += flag ? 1 : -1;
        ++enterCalls;
    }

    static long long Handle(HWND window) { return static_cast<long long>(reinterpret_cast<INT_PTR>(window)); }
    void Add(const char* name, std::vector<long long> args) { calls.push_back({name, std::move(args)}); }

    std::vector<t_call> calls;
    int depth = 0;
    int enterCalls = 0;
    bool throwOnPopup = false;
    bool canShowHint = false, skinBoxActive = false, wantsSetupTip = false, wantsToolboxTip = false;
};

class RecordingImc : public ImcWrapImplBase {
public:
    bool ReportMouse(HWND, int windowKind, int event, int index, int x, int y) override
    {
        mouse.push_back({"ReportMouse", {windowKind, event, index, x, y}});
        return true;
    }
    bool ReportWindowRect(HWND, int x, int y, int width, int height) override
    {
        lastRect = RECT{x, y, x + width, y + height};
        return true;
    }

    std::vector<t_call> mouse;
    RECT lastRect = {};
};

// Popups that only record what the status bar asks of them.
class RecordingPopups : public i_statusPopups {
public:
    static RecordingPopups* last;
    RecordingPopups() { last = this; }
    ~RecordingPopups() override
    {
        if (last == this)
            last = nullptr;
    }

    void ShowSkinBoxHint(const RECT& skinBox, const RECT&, bool immediate) override
    {
        hintShown = true;
        hintBox = skinBox;
        calls.push_back({"ShowSkinBoxHint", {immediate}});
    }
    void HideSkinBoxHint(bool atOnce) override
    {
        hintShown = false;
        calls.push_back({"HideSkinBoxHint", {atOnce}});
    }
    bool IsSkinBoxHintShown() const override { return hintShown; }
    void LaunchSkinBox(int value, int source) override { calls.push_back({"LaunchSkinBox", {value, source}}); }
    void ShowTip(t_tip tip, const RECT&, POINT point, unsigned flags, unsigned belowFlags) override
    {
        calls.push_back({"ShowTip", {tip, point.x, point.y, flags, belowFlags}});
    }
    void HideTip(t_tip tip) override { calls.push_back({"HideTip", {tip}}); }
    bool IsTipShown(t_tip) const override { return false; }
    bool OpenBarConfig(const RECT&) override
    {
        barConfigShown = true;
        calls.push_back({"OpenBarConfig", {}});
        return true;
    }
    bool IsBarConfigOpen() const override { return barConfigShown; }
    bool IsBarConfigShown() const override { return barConfigShown; }
    void PlaceBarConfig(const RECT&) override {}
    bool GetBarConfigValues(DWORD& mask, DWORD& colour) const override
    {
        if (!barConfigShown)
            return false;
        mask = 0x9467;
        colour = 0xD29451;
        return true;
    }
    void CloseBarConfig() override
    {
        if (barConfigShown)
            calls.push_back({"CloseBarConfig", {}});
        barConfigShown = false;
    }

    std::vector<t_call> calls;
    bool hintShown = false;
    bool barConfigShown = false;
    RECT hintBox = {};
};
RecordingPopups* RecordingPopups::last = nullptr;

i_statusPopups* MakeRecordingPopups(t_wndStatus&) { return new RecordingPopups; }

bool WritePack(const t_tempFolder& dir, const std::wstring& ini, const std::wstring& packPath)
{
    const t_skinPackFiles files = {
        {L"bar.png", FlatPng(c_barWidth, c_barHeight, {c_barColor << 8 | 0xFF})},
        {L"tall.png", FlatPng(c_barWidth, 40, {c_barColor << 8 | 0xFF})},
        {L"short.png", FlatPng(c_barWidth, 20, {c_barColor << 8 | 0xFF})},
        {L"cyan.png", FlatPng(12, 12, {0x00FFFFFF})},
        {L"movie.swf", "FWS-fake-movie"},
        {L"red.png", FlatPng(c_buttonSize, c_buttonSize, {c_cnEnColor << 8 | 0xFF})},
        {L"green.png", FlatPng(c_buttonSize, c_buttonSize, {c_menuColor << 8 | 0xFF})},
        {L"blue.png", FlatPng(c_buttonSize, c_buttonSize, {c_logoColor << 8 | 0xFF})},
        {L"yellow.png", FlatPng(c_buttonSize, c_buttonSize, {c_punctColor << 8 | 0xFF})},
    };
    return WriteSkinPackFile(dir / L"skin_src", files, ini, packPath);
}

// A runtime skin loaded from a generated pack, the context of a fake host and a status bar.
class StatusTest : public t_tempFolderTest {
protected:
    StatusTest() : t_tempFolderTest(L"wnd_status")
    {
        settings = SkinOnSettings(12);
        settings.statusPosX = 100;
        settings.statusPosY = 100;
        packPath = At(L"skin_v3.dat");
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
        context.SetImcWrap(&imc);
        context.SetUiWrap(&ui);
        t_wndStatus::SetPopupsFactory(MakeRecordingPopups);
    }
    ~StatusTest() override { t_wndStatus::SetPopupsFactory(nullptr); }

    // Loaded as the user's skin.
    bool LoadSkin(const std::wstring& ini)
    {
        if (!WritePack(dir, ini, packPath))
            return false;
        t_errorChain errors;
        return skin.Load(errors, 0);
    }
    // Loaded as the input method's own skin (no user skin in use).
    bool ParseOnly(const std::wstring& ini)
    {
        if (!WritePack(dir, ini, packPath))
            return false;
        t_errorChain errors;
        return skin.ParseSkinIni(errors, packPath.c_str()) && !skin.UserSkinInUse();
    }
    // The bar as the preview makes it: drawing into its owner (none here).
    void CreateChild(t_wndStatus& status)
    {
        status.ownerMode = true;
        status.SetContext(&context);
        ASSERT_TRUE(status.Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, nullptr));
    }
    // The bar with a window of its own.
    void CreateWindowed(t_wndStatus& status)
    {
        status.SetContext(&context);
        ASSERT_TRUE(status.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
        ASSERT_NE(nullptr, status.hwnd);
    }

    t_uiSettings settings;
    std::wstring packPath;
    t_uiSkinData skin;
    RecordingUi ui;
    RecordingImc imc;
    t_uiContext context;
};

// The colour (0xRRGGBB) of every pixel the bar paints, and a finder for marker colours.
struct t_rendering {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    // Bounds of the pixels of one colour; empty when none.
    RECT Find(uint32_t color) const
    {
        RECT r = {width, height, 0, 0};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) == color && (pixels[static_cast<size_t>(y) * width + x] >> 24) == 0xFF) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
            }
        }
        return r.left < r.right ? r : RECT{0, 0, 0, 0};
    }
};

t_rendering Render(t_wndStatus& status)
{
    t_rendering out;
    const SIZE size = status.GetSize();
    out.width = size.cx;
    out.height = size.cy;
    if (size.cx <= 0 || size.cy <= 0)
        return out;
    t_testSurface surface(size.cx, size.cy, true);
    EXPECT_TRUE(status.PaintToDC(surface.Dc(), 0, 0, -1, -1));
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x)
            out.pixels.push_back(surface.At(x, y));
    }
    return out;
}

RECT Box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

TEST_F(StatusTest, SkinLayoutPlacesEveryButtonWhereTheSkinSays)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    ASSERT_TRUE(skin.UserSkinInUse());
    ASSERT_FALSE(skin.IsDefaultSkin());
    t_wndStatus status;
    CreateChild(status);
    EXPECT_TRUE(status.hasSkin);
    const t_rendering bar = Render(status);
    ASSERT_EQ(c_barWidth, bar.width);
    ASSERT_EQ(c_barHeight, bar.height);
    ExpectRect(Box(10, 5, 16, 16), bar.Find(c_cnEnColor), "cn_en");
    ExpectRect(Box(40, 5, 16, 16), bar.Find(c_menuColor), "menu");
    ExpectRect(Box(70, 5, 16, 16), bar.Find(c_logoColor), "logo");
    ExpectRect(Box(95, 5, 16, 16), bar.Find(c_punctColor), "biaodian");
    EXPECT_EQ(c_barColor, bar.At(0, 0));
    EXPECT_EQ(c_barColor, bar.At(c_barWidth - 1, c_barHeight - 1));
}

TEST_F(StatusTest, DefaultStripShowsTheMaskedKindsInStripOrder)
{
    const struct {
        uint32_t flags;
        std::vector<uint32_t> strip;  // marker colours from the left
    } cases[] = {
        // The logo is always there, first.
        {0, {c_logoColor}},
        {1u << 0 | 1u << 6, {c_logoColor, c_cnEnColor, c_menuColor}},
        // Punctuation (kind 1) comes after Chinese/English (kind 0) and before the menu (6).
        {1u << 0 | 1u << 1 | 1u << 6, {c_logoColor, c_cnEnColor, c_punctColor, c_menuColor}},
        {1u << 6 | 1u << 15, {c_logoColor, c_menuColor}},
    };
    ASSERT_TRUE(LoadSkin(std::wstring(L"[Display]\r\ndefault_skin=1\r\n") + c_statusIni));
    ASSERT_TRUE(skin.IsDefaultSkin());
    for (const auto& c : cases) {
        settings.statusBtnFlag = c.flags;
        t_wndStatus status;
        CreateChild(status);
        const t_rendering bar = Render(status);
        ASSERT_EQ(c_barHeight, bar.height) << c.flags;
        const uint32_t all[] = {c_cnEnColor, c_menuColor, c_logoColor, c_punctColor};
        for (uint32_t color : all) {
            const RECT found = bar.Find(color);
            int slot = -1;
            for (size_t i = 0; i < c.strip.size(); ++i) {
                if (c.strip[i] == color)
                    slot = static_cast<int>(i);
            }
            if (slot < 0) {
                EXPECT_EQ(0, found.right) << std::hex << c.flags << " colour " << color << " should be hidden";
                continue;
            }
            // x = 1 + 20 per button before it, centred in the bar's height.
            ExpectRect(Box(1 + 20 * slot, (c_barHeight - c_buttonSize) / 2, 16, 16), found, "strip button");
        }
        // The strip is as wide as its buttons (two pixels of border, 20 per button).
        EXPECT_EQ(static_cast<int>(2 + 20 * c.strip.size()), bar.width) << c.flags;
        EXPECT_EQ(c_barColor, bar.At(bar.width - 1, 0)) << c.flags;
    }
}

// Extra children that fill their cell with magenta and count how many are alive.
class FillFactory : public t_wndStatus::i_extraChildFactory {
public:
    class t_counted : public t_fillElement {
    public:
        explicit t_counted(int& live) : t_fillElement(0xFFFF00FF, false), m_live(live) { ++m_live; }
        ~t_counted() override { --m_live; }

    private:
        int& m_live;
    };

    t_wndBase* CreateExtraChild(t_wndStatus& status) override
    {
        t_counted* child = new t_counted(live);
        child->Create(WS_CHILD, 0, 0, 10, 12, 0, nullptr, &status);
        made.push_back(child);
        return child;
    }
    bool Owns(const t_wndBase* element) override { return std::find(made.begin(), made.end(), element) != made.end(); }

    int live = 0;
    std::vector<const t_wndBase*> made;
};

TEST_F(StatusTest, DefaultStripGivesTheRestOfTheRowToTheExtraChild)
{
    ASSERT_TRUE(LoadSkin(std::wstring(L"[Display]\r\ndefault_skin=1\r\n") + c_statusIni));
    settings.statusBtnFlag = 0;
    FillFactory factory;
    {
        t_wndStatus status;
        status.SetExtraChildFactory(&factory);
        CreateChild(status);
        const t_rendering bar = Render(status);
        // The logo's column (2 + 20 pixels), then the extra child down the whole row.
        ExpectRect(RECT{22, 0, bar.width, c_barHeight}, bar.Find(0xFF00FF), "extra child");
        EXPECT_GE(bar.width, 32);
        EXPECT_EQ(1, factory.live);
        // Every rebuild replaces it.
        status.ResetUi(0);
        EXPECT_EQ(1, factory.live);
        EXPECT_EQ(2u, factory.made.size());
    }
    EXPECT_EQ(0, factory.live);
}

TEST_F(StatusTest, SkinLayoutPlacesFlashItemsAsPlaceholders)
{
    // Without the Flash component only debug mode keeps the item.
    settings.flashDebugMode = true;
    ASSERT_TRUE(LoadSkin(L"[StatusBar]\r\npic=bar.png\r\nflash_cnt=1\r\nflash0=movie.swf\r\nflash0_display=1\r\n"
                         L"flash0_width=20\r\nflash0_height=20\r\nflash0_pos=50,4\r\nflash0_preview=cyan.png\r\n"));
    t_wndStatus status;
    CreateChild(status);
    EXPECT_EQ(1u, status.flashMap.Count());
    const t_rendering bar = Render(status);
    // The 12 x 12 preview at natural size, centred in the item's 20 x 20 box.
    ExpectRect(Box(54, 8, 12, 12), bar.Find(0x00FFFF), "flash placeholder");
}

TEST_F(StatusTest, WithoutABackgroundTheBarHasNoSkinAndNeverShows)
{
    ASSERT_TRUE(LoadSkin(L"[StatusBar]\r\ncn_en=red.png\r\ncn_en_display=1\r\n"));
    t_wndStatus status;
    CreateWindowed(status);
    EXPECT_FALSE(status.hasSkin);
    HDC dc = GetDC(nullptr);
    status.Measure(dc);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(0, status.GetSize().cx);
    status.Show(true);
    EXPECT_FALSE(IsWindowVisible(status.hwnd));
    EXPECT_EQ(nullptr, status.FindKind(0));
}

TEST_F(StatusTest, FindButtonChecksThePackedIdBeforeLookingItUp)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    t_wndStatus status;
    CreateChild(status);
    const struct {
        uint32_t id;
        int kind;  // -1: null
    } cases[] = {
        {0x00000000, 0},  {0x00000006, 6},  {0x0000000F, 15},
        {0x00000001, 1},  {0x00000002, -1},  // no such button in the skin
        {0x00000010, -1},                    // built-in kinds stop at 15
        {0x00070000, -1},                    // window 7 does not exist
        {0x04000000, -1},                    // type 4 does not exist
        {0x01000000, -1},                    // no custom button
    };
    for (const auto& c : cases) {
        t_wndStatusBtn* button = status.FindButton(c.id);
        if (c.kind < 0) {
            EXPECT_EQ(nullptr, button) << std::hex << c.id;
        } else {
            ASSERT_NE(nullptr, button) << std::hex << c.id;
            EXPECT_EQ(c.kind, button->index);
            EXPECT_EQ(button, status.FindKind(c.kind));
        }
    }
}

TEST_F(StatusTest, ClassNameKeepsNineteenUnits)
{
    t_wndStatus::SetClassName(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_STREQ(L"ABCDEFGHIJKLMNOPQRS", t_wndStatus::ClassName());
    t_wndStatus::SetClassName(L"VxPY_Status");
    EXPECT_STREQ(L"VxPY_Status", t_wndStatus::ClassName());
}

TEST_F(StatusTest, ShowingAndHidingDrivesThePopups)
{
    ASSERT_TRUE(ParseOnly(std::wstring(L"[Display]\r\ndefault_skin=1\r\n") + c_statusIni));
    settings.statusBtnFlag = 1u << 6;
    ui.canShowHint = ui.skinBoxActive = ui.wantsSetupTip = ui.wantsToolboxTip = true;
    t_wndStatus status;
    CreateWindowed(status);
    status.Show(true);
    ASSERT_NE(nullptr, RecordingPopups::last);
    const RECT logo = status.FindKind(15)->GetRect();
    const RECT menu = status.FindKind(6)->GetRect();
    const std::vector<t_call> shown = {
        {"ShowSkinBoxHint", {1}},
        {"ShowTip", {i_statusPopups::e_setupTip, logo.left, logo.top, 32, 0}},
        {"ShowTip", {i_statusPopups::e_toolboxTip, (menu.left + menu.right) / 2, menu.top, 36, 4}},
    };
    EXPECT_EQ(shown, RecordingPopups::last->calls);
    RecordingPopups::last->calls.clear();
    status.Show(false);
    const std::vector<t_call> hidden = {{"HideSkinBoxHint", {1}},
                                        {"HideTip", {i_statusPopups::e_setupTip}},
                                        {"HideTip", {i_statusPopups::e_toolboxTip}}};
    EXPECT_EQ(hidden, RecordingPopups::last->calls);
}

TEST_F(StatusTest, SkinBoxAnchorIsTheBandBelowTheStripOrTheWindow)
{
    const struct {
        const wchar_t* picture;
        int top, bottom;  // of the anchor, relative to the window
    } cases[] = {
        {L"tall.png", 26, 36},  // rows 26 to 35 of a 40-row bar
        {L"bar.png", 26, 30},   // cut to the bar
        {L"short.png", 0, 20},  // a 20-row bar has no such rows: the whole window
    };
    ui.canShowHint = true;
    for (const auto& c : cases) {
        ASSERT_TRUE(LoadSkin(std::wstring(L"[StatusBar]\r\npic=") + c.picture + L"\r\n"));
        t_wndStatus status;
        CreateWindowed(status);
        status.ShowSkinBoxHint(false);
        ASSERT_NE(nullptr, RecordingPopups::last);
        const RECT r = status.GetRect();
        ExpectRect(RECT{r.left, r.top + c.top, r.left + c_barWidth, r.top + c.bottom}, RecordingPopups::last->hintBox,
                   "skin box");
    }
}

// Messages sent to a real status window, with what the host and the popups saw.
class StatusMessageTest : public StatusTest {
protected:
    void SetUp() override
    {
        // A default skin in use by the input method itself: the bar can be configured.
        ASSERT_TRUE(ParseOnly(std::wstring(L"[Display]\r\ndefault_skin=1\r\n") + c_statusIni));
        settings.statusBtnFlag = 1u << 6;
        CreateWindowed(status);
        ui.calls.clear();
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageW(status.hwnd, msg, wParam, lParam);
    }
    std::vector<t_call> PopupCalls() const
    {
        return RecordingPopups::last ? RecordingPopups::last->calls : std::vector<t_call>();
    }

    t_wndStatus status;
};

TEST_F(StatusMessageTest, BarConfigurationOpensClosesAndApplies)
{
    // 0x8405 twice: opened (event 0), then closed (event 6).
    Send(c_msgBarConfigOpen);
    ASSERT_NE(nullptr, RecordingPopups::last);
    EXPECT_TRUE(RecordingPopups::last->barConfigShown);
    Send(c_msgBarConfigOpen);
    EXPECT_FALSE(RecordingPopups::last->barConfigShown);
    const std::vector<t_call> toggled = {
        {"ReportBarConfigEvent", {0}}, {"PreviewStatusButtonMask", {-1}}, {"PreviewStatusButtonColor", {-1}},
        {"OnSetupTipDone", {0}},       {"SetBarConfigOpen", {1}},         {"ReportBarConfigEvent", {6}},
        {"SetBarConfigOpen", {0}},
    };
    EXPECT_EQ(toggled, ui.calls);

    // Confirmed: the host gets the configuration's values; cancelled: nothing to apply.
    context.SetHostWindow(status.hwnd);
    const long long host = RecordingUi::Handle(status.hwnd);
    for (int confirmed = 1; confirmed >= 0; --confirmed) {
        Send(c_msgBarConfigOpen);
        ui.calls.clear();
        Send(c_msgBarConfigDone, static_cast<WPARAM>(confirmed));
        std::vector<t_call> expected;
        if (confirmed)
            expected.push_back({"ApplyBarConfig", {host, 0x9467, 0xD29451}});
        expected.push_back({"SetBarConfigOpen", {0}});
        EXPECT_EQ(expected, ui.calls) << confirmed;
        EXPECT_FALSE(RecordingPopups::last->barConfigShown);
    }

    // The setup tip's click opens the configuration too.
    ui.calls.clear();
    Send(c_msgSetupTipClicked);
    const std::vector<t_call> fromTip = {
        {"OnSetupTipDone", {0}}, {"ReportBarConfigEvent", {0}}, {"OnSetupTipDone", {0}}, {"SetBarConfigOpen", {1}}};
    EXPECT_EQ(fromTip, ui.calls);
}

TEST_F(StatusMessageTest, UserSkinsCannotOpenTheConfiguration)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    status.ResetUi(0);
    ui.calls.clear();
    Send(c_msgBarConfigOpen);
    const std::vector<t_call> expected = {{"ReportBarConfigEvent", {0}},
                                          {"PreviewStatusButtonMask", {-1}},
                                          {"PreviewStatusButtonColor", {-1}},
                                          {"OnSetupTipDone", {0}}};
    EXPECT_EQ(expected, ui.calls);
    EXPECT_TRUE(RecordingPopups::last == nullptr || !RecordingPopups::last->barConfigShown);
}

TEST_F(StatusMessageTest, SkinBoxCornerPopupAndUnhandledMessages)
{
    context.SetHostWindow(status.hwnd);
    const long long host = RecordingUi::Handle(status.hwnd);
    Send(c_msgSkinBoxLaunch, 0, 0);
    Send(c_msgSkinBoxLaunch, 0, 1);
    const std::vector<t_call> launches = {{"LaunchSkinBox", {1, 1}}, {"LaunchSkinBox", {0, 1}}};
    EXPECT_EQ(launches, PopupCalls());

    status.skinBoxRect = RECT{1, 2, 3, 4};
    Send(c_msgSkinBoxHidden);
    ExpectRect(RECT{-1, -1, -1, -1}, status.skinBoxRect, "skin box forgotten");

    Send(c_msgCornerPopup);
    Send(c_msgStatusUnused);
    const RECT r = status.GetRect();
    const std::vector<t_call> expected = {
        {"OnSkinBoxLaunch", {0}}, {"OnSkinBoxLaunch", {0}}, {"PopupAt", {host, r.right, r.top, 3}}};
    EXPECT_EQ(expected, ui.calls);
}

TEST_F(StatusMessageTest, AWindowDestroyedFromOutsideIsForgotten)
{
    HWND window = status.hwnd;
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, status.hwnd);
    // The bar goes on without a window and is deleted cleanly at the end of the test.
    status.ResetUi(0);
    EXPECT_TRUE(status.hasSkin);
}

TEST_F(StatusMessageTest, EveryMessageIsBracketedAndImeMessagesAreSwallowed)
{
    const int before = ui.enterCalls;
    const UINT ime[] = {WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_SETCONTEXT, WM_IME_NOTIFY, WM_IME_CHAR};
    for (UINT msg : ime)
        EXPECT_EQ(0, Send(msg, 1, 1)) << msg;
    EXPECT_EQ(before, ui.enterCalls);

    Send(c_msgStatusUnused);
    Send(WM_NULL);
    EXPECT_EQ(before + 4, ui.enterCalls);
    EXPECT_EQ(0, ui.depth);
}

int g_reported = 0;
void CountReport() { ++g_reported; }

TEST_F(StatusMessageTest, AnExceptionEndsTheMessageWithZeroAndIsReportedOnce)
{
    g_reported = 0;
    SetUiExceptionReporter(CountReport);
    ui.throwOnPopup = true;
    EXPECT_EQ(0, Send(c_msgCornerPopup));
    EXPECT_EQ(0, Send(c_msgCornerPopup));
    EXPECT_EQ(1, g_reported);
    // The bracket was closed on the way out.
    EXPECT_EQ(0, ui.depth);
    SetUiExceptionReporter(nullptr);
}

// Drives the toolkit's drag with a cursor and a button of its own.
POINT g_cursor;
bool g_buttonDown;
bool HookedCursor(POINT& p)
{
    p = g_cursor;
    return true;
}
bool HookedButton() { return g_buttonDown; }

TEST_F(StatusTest, DraggingWritesThePositionAndTellsTheHost)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, host);
    context.SetHostWindow(host);
    t_wndStatus status;
    CreateWindowed(status);
    status.Show(true);
    RECT r = status.GetRect();
    ASSERT_EQ(100, r.left);
    ASSERT_EQ(100, r.top);

    t_inputHooksScope hooks(t_inputHooks{nullptr, HookedButton, HookedCursor});
    // Press on bare bar (no button there), move by (30, 20), release.
    g_cursor = POINT{r.left + 115, r.top + 25};
    g_buttonDown = true;
    status.OnLButtonDown(MK_LBUTTON, g_cursor.x, g_cursor.y);
    g_cursor.x += 30;
    g_cursor.y += 20;
    status.OnMouseMove(MK_LBUTTON, g_cursor.x, g_cursor.y);
    status.OnMouseMove(MK_LBUTTON, g_cursor.x, g_cursor.y);
    g_buttonDown = false;
    status.OnLButtonUp(0, g_cursor.x, g_cursor.y);

    EXPECT_EQ(130, settings.statusPosX);
    EXPECT_EQ(120, settings.statusPosY);
    r = status.GetRect();
    EXPECT_EQ(130, r.left);
    EXPECT_EQ(120, r.top);
    const std::vector<t_call> mouse = {{"ReportMouse", {2, 0, -1, 115, 25}}, {"ReportMouse", {2, 1, -1, 115, 25}}};
    EXPECT_EQ(mouse, imc.mouse);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, host, WM_IME_NOTIFY, WM_IME_NOTIFY, PM_REMOVE));
    EXPECT_EQ(6u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);
    DestroyWindow(host);
}

TEST_F(StatusTest, WithoutAHostWindowTheNotificationIsAHarmlessThreadMessage)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    t_wndStatus status;
    CreateChild(status);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    status.OnLButtonUp(0, 5, 5);
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_IME_NOTIFY, WM_IME_NOTIFY, PM_REMOVE));
    EXPECT_EQ(nullptr, msg.hwnd);
    // What the editor's loop does with it: nothing.
    TranslateMessage(&msg);
    EXPECT_EQ(0, DispatchMessageW(&msg));
    // The child bar stays where the preview put it; the position it reports is its own.
    EXPECT_EQ(0, settings.statusPosX);
    EXPECT_EQ(0, settings.statusPosY);
}

TEST_F(StatusTest, RightClickOnBareBarAsksForTheBarPopup)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    t_wndStatus status;
    CreateWindowed(status);
    const RECT r = status.GetRect();
    status.OnRButtonDown(MK_RBUTTON, r.left + 115, r.top + 25);
    status.OnRButtonUp(0, r.left + 115, r.top + 25);
    const std::vector<t_call> popup = {{"PopupAt", {0, r.left + 115, r.top + 25, 0}}};
    EXPECT_EQ(popup, ui.calls);
    const std::vector<t_call> mouse = {{"ReportMouse", {2, 2, -1, 115, 25}}, {"ReportMouse", {2, 3, -1, 115, 25}}};
    EXPECT_EQ(mouse, imc.mouse);
}

// The toolbox program is the recording stand-in, placed in the installation folder.
class StatusToolboxTest : public StatusTest {
protected:
    static void SetUpTestSuite()
    {
        s_install = new t_tempFolder(L"wnd_status_install");
        t_errorChain errors;
        InitRuntimeAt(errors, s_install->Path());
        CopyFileW((ExeFolder() + L"\\VavIdiz.exe").c_str(),
                  (std::wstring(t_runtime::Instance()->GetInstallDir().c_str()) + L"\\DORivi.exe").c_str(), FALSE);
    }
    static void TearDownTestSuite()
    {
        delete s_install;
        s_install = nullptr;
    }
    static t_tempFolder* s_install;
};
t_tempFolder* StatusToolboxTest::s_install = nullptr;

TEST_F(StatusToolboxTest, ToolboxStartsForTheMenuButtonOrTheGivenRectangle)
{
    ASSERT_TRUE(LoadSkin(c_statusIni));
    t_wndStatus status;
    CreateWindowed(status);
    t_launchLog log(dir / L"launch.log");
    wchar_t handle[16];
    _snwprintf(handle, 16, L"%08x", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(status.hwnd)));
    const std::wstring prefix = std::wstring(L"--appid=curiobox -appbox -hStatus ") + handle + L" -rect ";

    // Hidden: x and y from wParam (0), the size from lParam.
    SendMessageW(status.hwnd, c_msgToolbox, 0, MAKELPARAM(50, 20));
    // Shown with a menu button: the button's rectangle.
    status.Show(true);
    SendMessageW(status.hwnd, c_msgToolbox, 0, MAKELPARAM(50, 20));
    // Given: signed 16-bit values.
    SendMessageW(status.hwnd, c_msgToolbox, MAKEWPARAM(-5, 7), MAKELPARAM(30, 40));

    const std::vector<t_launchRecord> records = log.WaitFor(3);
    ASSERT_EQ(3u, records.size());
    const RECT menu = status.FindKind(6)->GetRect();
    const std::wstring expected[] = {
        prefix + L"(0,0,50,20)",
        prefix + L"(" + std::to_wstring(menu.left) + L"," + std::to_wstring(menu.top) + L",16,16)",
        prefix + L"(-5,7,30,40)",
    };
    std::vector<std::wstring> lines;
    for (const t_launchRecord& record : records) {
        EXPECT_EQ(L"DORivi.exe", record.program);
        lines.push_back(record.commandLine.substr(record.commandLine.find(L"--appid")));
    }
    // The stand-ins may record in any order.
    for (const std::wstring& line : expected)
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), line)) << line.c_str();
    int launches = 0;
    for (const t_call& call : ui.calls)
        launches += call.name == "OnToolboxLaunch";
    EXPECT_EQ(3, launches);
}

TEST_F(StatusTest, ButtonClicksReachTheBarThroughItsMessages)
{
    ASSERT_TRUE(ParseOnly(std::wstring(L"[Display]\r\ndefault_skin=1\r\n") + c_statusIni));
    t_wndStatus status;
    CreateWindowed(status);
    status.Show(true);
    t_wndStatusBtn* logo = status.FindKind(15);
    ASSERT_NE(nullptr, logo);
    const RECT r = logo->GetRect();
    t_inputHooksScope hooks(t_inputHooks{nullptr, HookedButton, HookedCursor});
    g_cursor = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    g_buttonDown = true;
    status.OnMouseMove(0, g_cursor.x, g_cursor.y);
    status.OnLButtonDown(MK_LBUTTON, g_cursor.x, g_cursor.y);
    g_buttonDown = false;
    status.OnLButtonUp(0, g_cursor.x, g_cursor.y);
    PumpMessages(100);
    ASSERT_FALSE(ui.calls.empty());
    EXPECT_EQ((t_call{"ReportBarConfigEvent", {0}}), ui.calls.front());
}

}  // namespace
