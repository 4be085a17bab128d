// The bar configuration on a real window over a default skin's status buttons, with a host
// that records what it is told: toggles, recolouring, confirm, default and cancel, the
// preview strip, and the whole road through the status bar and its popups.
#include "ime_ui/windows/skinbox/wnd_bar_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/skinbox/wnd_skin_box.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_popups.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_tip.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "tests/support/exe_folder.h"
#include "tests/support/flat_png.h"
#include "tests/support/gdi_census.h"
#include "tests/support/message_pump.h"
#include "tests/support/paint_surface.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_text_array.h"

namespace {

// The icon colour of the default skins (COLORREF 0xD29451) as a PNG colour (0xRRGGBBAA),
// and the DIB pixels (0xAARRGGBB) of it and of swatch 0 (COLORREF 0x1518C0).
const uint32_t c_defaultIconPng = 0x5194D2FF;
const uint32_t c_defaultIconPixel = 0xFF5194D2;
const uint32_t c_swatch0Pixel = 0xFFC01815;
const uint32_t c_logoPng = 0x0000FFFF, c_logoPixel = 0xFF0000FF;
const uint32_t c_punctPng = 0xFFFF00FF, c_punctPixel = 0xFFFFFF00;

const wchar_t* const c_ini = L"[Display]\r\ndefault_skin=1\r\n[StatusBar]\r\npic=bar.png\r\n"
                             L"cn_en=icon.png\r\ncn_en_display=1\r\ncn_en_pos=10,5\r\n"
                             L"menu=icon.png\r\nmenu_display=1\r\nmenu_pos=40,5\r\n"
                             L"logo=blue.png\r\nlogo_display=1\r\nlogo_pos=70,5\r\n"
                             L"biaodian=yellow.png\r\nbiaodian_display=1\r\nbiaodian_pos=95,5\r\n";

struct t_call {
    std::string name;
    long long arg;
    bool operator==(const t_call& other) const { return name == other.name && arg == other.arg; }
};
std::ostream& operator<<(std::ostream& out, const t_call& call) { return out << call.name << "(" << call.arg << ")"; }

class BarConfigUi : public UiWrapImplBase {
public:
    void ReportBarConfigEvent(int code) override { calls.push_back({"Event", code}); }
    void PreviewStatusButtonMask(int mask) override { calls.push_back({"Mask", mask}); }
    void PreviewStatusButtonColor(int colour) override { calls.push_back({"Colour", colour}); }
    void OnBarConfigApplied() override { calls.push_back({"Applied", 0}); }
    void ApplyBarConfig(HWND, DWORD mask, DWORD colour) override
    {
        calls.push_back({"ApplyMask", static_cast<long long>(mask)});
        calls.push_back({"ApplyColour", static_cast<long long>(colour)});
    }
    void SetBarConfigOpen(int flag) override { calls.push_back({"Open", flag}); }
    bool CanShowSkinBoxHint() override { return true; }

    std::vector<t_call> calls;
};

// A plain window as the configuration's owner, reading what it is posted.
struct t_owner {
    t_owner() : hwnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~t_owner() { DestroyWindow(hwnd); }
    std::vector<WPARAM> Done()
    {
        std::vector<WPARAM> out;
        MSG msg;
        while (PeekMessageW(&msg, hwnd, c_msgBarConfigDone, c_msgBarConfigDone, PM_REMOVE))
            out.push_back(msg.wParam);
        return out;
    }
    HWND hwnd;
};

class BarConfigTest : public t_tempFolderTest {
protected:
    BarConfigTest() : t_tempFolderTest(L"wnd_bar_config")
    {
        settings = SkinOnSettings(12);
        settings.statusBtnFlag = 1u << 0 | 1u << 6;
        settings.statusPosX = 300;
        settings.statusPosY = 300;
        packPath = At(L"skin_v3.dat");
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
        context.SetUiWrap(&ui);
        t_statusPopups::SetResourceModule(resources);
    }
    ~BarConfigTest() override
    {
        t_statusPopups::SetResourceModule(nullptr);
        if (resources)
            FreeLibrary(resources);
    }

    bool WritePack()
    {
        const t_skinPackFiles files = {
            {L"bar.png", FlatPng(120, 30, {0x808080FF})},
            {L"icon.png", FlatPng(16, 16, {c_defaultIconPng})},
            {L"blue.png", FlatPng(16, 16, {c_logoPng})},
            {L"yellow.png", FlatPng(16, 16, {c_punctPng})},
        };
        return WriteSkinPackFile(dir / L"skin_src", files, c_ini, packPath);
    }
    bool LoadSkin()
    {
        t_errorChain errors;
        return WritePack() && skin.Load(errors, 0);
    }
    void Make(t_wndBarConfig& config)
    {
        ASSERT_TRUE(LoadSkin());
        config.SetContext(&context);
        config.SetResourceModule(resources);
        ASSERT_TRUE(config.Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(owner.hwnd),
                                  nullptr, nullptr));
        config.MeasureNow();
        config.ShowConfig();
        ui.calls.clear();
    }
    static void Command(t_wndBarConfig& config, int id) { SendMessageW(config.hwnd, WM_COMMAND, id, 0); }
    static uint32_t CentrePixel(HBITMAP bitmap)
    {
        DIBSECTION section = {};
        if (!bitmap || !GetObjectW(bitmap, sizeof(section), &section))
            return 0;
        const uint32_t* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
        return pixels[(section.dsBm.bmHeight / 2) * section.dsBm.bmWidth + section.dsBm.bmWidth / 2];
    }

    HMODULE resources = LoadLibraryW((ExeFolder() + L"\\Resource.dll").c_str());
    t_uiSettings settings;
    std::wstring packPath;
    t_uiSkinData skin;
    BarConfigUi ui;
    t_uiContext context;
    t_owner owner;
};

TEST_F(BarConfigTest, OpensWithTheSettingsMaskAndTheKindsOfTheSkin)
{
    t_wndBarConfig config;
    Make(config);
    EXPECT_EQ(1u << 0 | 1u << 6 | 1u << 15, config.mask) << "the logo is always on";
    EXPECT_EQ(config.mask, config.maskAtShow);
    EXPECT_EQ(t_wndBarConfig::c_width, config.GetSize().cx);
    // Kinds with an enabled record have a picture; the others none.
    for (int kind : {0, 1, 6, 15})
        EXPECT_NE(nullptr, config.kindBitmaps[kind]) << kind;
    for (int kind : {2, 3, 4, 5, 7, 10, 12})
        EXPECT_EQ(nullptr, config.kindBitmaps[kind]) << kind;
    EXPECT_EQ(c_defaultIconPixel, CentrePixel(config.kindBitmaps[0]));
    // Rows in their order: cn_en checked, punctuation (row 2) not, menu (row 6) checked.
    EXPECT_TRUE(config.checkBoxes[0]->IsChecked());
    EXPECT_FALSE(config.checkBoxes[2]->IsChecked());
    EXPECT_TRUE(config.checkBoxes[6]->IsChecked());
    EXPECT_FALSE(config.checkBoxes[1]->enabled) << "quan_ban has no record";

    // The frame: a grey line, a white line, then the face.
    const SIZE size = config.GetSize();
    t_testSurface surface(size.cx, size.cy, true);
    ASSERT_TRUE(config.PaintToDC(surface.Dc(), 0, 0, -1, -1));
    EXPECT_EQ(0xB5B5B5u, surface.At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, surface.At(1, size.cy / 2) & 0xFFFFFF);
    EXPECT_EQ(0xF9F9F9u, surface.At(4, size.cy - 4) & 0xFFFFFF);
}

TEST_F(BarConfigTest, TogglingARowTwiceRestoresTheMaskAndReportsBoth)
{
    t_wndBarConfig config;
    Make(config);
    const uint32_t start = config.mask;
    const RECT before = config.GetRect();
    Command(config, t_wndBarConfig::e_checkFirst + 2);  // punctuation, kind 1
    EXPECT_EQ(start | 1u << 1, config.mask);
    EXPECT_TRUE(config.checkBoxes[2]->IsChecked());
    EXPECT_EQ(start | 1u << 1, config.preview->mask);
    Command(config, t_wndBarConfig::e_pictureFirst + 2);  // its picture does the same
    EXPECT_EQ(start, config.mask);
    EXPECT_FALSE(config.checkBoxes[2]->IsChecked());
    const std::vector<t_call> expected = {{"Mask", start | 1u << 1}, {"Mask", start}};
    EXPECT_EQ(expected, ui.calls);
    EXPECT_EQ(before.right, config.GetRect().right) << "the window keeps its right edge";
    // Rows past the check boxes are ignored; the logo stays on.
    Command(config, t_wndBarConfig::e_checkFirst + 10);
    EXPECT_EQ(start, config.mask);
}

TEST_F(BarConfigTest, RealClicksOnACheckBoxAndASwatchReachTheWindow)
{
    t_wndBarConfig config;
    Make(config);
    const uint32_t start = config.mask;
    const RECT box = config.checkBoxes[0]->GetRect();
    ASSERT_GT(box.right, box.left);
    const int x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
    EXPECT_TRUE(config.checkBoxes[0]->HitTest(x, y, 0));
    EXPECT_TRUE(config.checkBoxes[0]->OnLButtonDown(MK_LBUTTON, x, y));
    config.checkBoxes[0]->OnLButtonUp(0, x, y);
    PumpMessages(50);
    EXPECT_EQ(start & ~1u, config.mask);
    EXPECT_FALSE(config.checkBoxes[0]->IsChecked());

    // A swatch takes the release inside it.
    const RECT swatch = config.swatches[0]->GetRect();
    EXPECT_EQ(t_wndColorButton::c_size, swatch.right - swatch.left);
    EXPECT_FALSE(config.swatches[0]->OnLButtonUp(0, swatch.right + 3, swatch.top));
    EXPECT_TRUE(config.swatches[0]->OnLButtonUp(0, swatch.left + 2, swatch.top + 2));
    PumpMessages(50);
    EXPECT_EQ(0x1518C0u, config.colour);
}

TEST_F(BarConfigTest, ConfirmReportsOnlyWhatChangedAndPostsToTheOwner)
{
    struct {
        std::vector<int> commands;
        std::vector<t_call> events;
    } const cases[] = {
        {{}, {{"Event", 4}}},
        {{t_wndBarConfig::e_checkFirst}, {{"Event", 4}, {"Event", 2}, {"Event", 1}, {"Applied", 0}}},
        {{t_wndBarConfig::e_swatchFirst + 3}, {{"Event", 4}, {"Event", 3}, {"Event", 1}, {"Applied", 0}}},
        {{t_wndBarConfig::e_checkFirst, t_wndBarConfig::e_swatchFirst},
         {{"Event", 4}, {"Event", 2}, {"Event", 3}, {"Event", 1}, {"Applied", 0}}},
        // Toggled back: nothing changed.
        {{t_wndBarConfig::e_checkFirst, t_wndBarConfig::e_checkFirst}, {{"Event", 4}}},
    };
    for (const auto& c : cases) {
        t_wndBarConfig config;
        Make(config);
        for (int command : c.commands)
            Command(config, command);
        ui.calls.clear();
        Command(config, t_wndBarConfig::e_confirm);
        EXPECT_EQ(c.events, ui.calls) << c.commands.size();
        EXPECT_FALSE(config.shown);
        EXPECT_EQ(std::vector<WPARAM>{1}, owner.Done());
        EXPECT_EQ(config.mask, settings.statusBtnFlag);
        EXPECT_EQ(config.colour, settings.statusBtnColor);
    }
}

TEST_F(BarConfigTest, CancelReportsAndPostsZero)
{
    t_wndBarConfig config;
    Make(config);
    const uint32_t flags = settings.statusBtnFlag;
    Command(config, t_wndBarConfig::e_checkFirst);
    ui.calls.clear();
    Command(config, t_wndBarConfig::e_close);
    EXPECT_EQ((std::vector<t_call>{{"Event", 5}}), ui.calls);
    EXPECT_FALSE(config.shown);
    EXPECT_EQ(std::vector<WPARAM>{0}, owner.Done());
    EXPECT_EQ(flags, settings.statusBtnFlag) << "the settings keep their values";
}

TEST_F(BarConfigTest, SwatchesRecolourTheIconsAndDefaultRestoresThemWithoutClosing)
{
    t_wndBarConfig config;
    Make(config);
    Command(config, t_wndBarConfig::e_swatchFirst);
    EXPECT_EQ(0x1518C0u, config.colour);
    EXPECT_EQ(c_swatch0Pixel, CentrePixel(config.kindBitmaps[0]));
    EXPECT_EQ(c_swatch0Pixel, CentrePixel(config.kindBitmaps[6]));
    EXPECT_EQ(c_logoPixel, CentrePixel(config.kindBitmaps[15])) << "other colours stay";
    EXPECT_EQ((std::vector<t_call>{{"Colour", 0x1518C0}}), ui.calls);

    ui.calls.clear();
    Command(config, t_wndBarConfig::e_default);
    EXPECT_EQ(t_wndBarConfig::c_defaultMask, config.mask);
    EXPECT_EQ(t_wndBarConfig::c_defaultColor, config.colour);
    EXPECT_EQ(c_defaultIconPixel, CentrePixel(config.kindBitmaps[0]));
    const std::vector<t_call> expected = {{"Colour", 0xD29451}, {"Mask", 0x9467}, {"Event", 7}};
    EXPECT_EQ(expected, ui.calls);
    EXPECT_TRUE(config.shown);
    EXPECT_TRUE(owner.Done().empty());
    EXPECT_TRUE(config.checkBoxes[2]->IsChecked()) << "punctuation is in the default mask";
    EXPECT_FALSE(config.checkBoxes[8]->IsChecked()) << "quan_shuang is not";
}

TEST_F(BarConfigTest, OpeningPaintingAndClosingLeaveNoGdiObjectsBehind)
{
    ASSERT_TRUE(LoadSkin());
    const auto cycle = [this] {
        t_wndBarConfig config;
        config.SetContext(&context);
        config.SetResourceModule(resources);
        ASSERT_TRUE(config.Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(owner.hwnd),
                                  nullptr, nullptr));
        const SIZE size = config.MeasureNow();
        config.ShowConfig();
        Command(config, t_wndBarConfig::e_swatchFirst + 2);
        Command(config, t_wndBarConfig::e_checkFirst + 3);
        t_testSurface surface(size.cx, size.cy, true);
        EXPECT_TRUE(config.PaintToDC(surface.Dc(), 0, 0, -1, -1));
        Command(config, t_wndBarConfig::e_close);
        owner.Done();
    };
    cycle();  // caches of fonts and pictures fill once
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 3; ++i)
        cycle();
    EXPECT_EQ(before, LiveGdiObjects());
}

TEST(BarConfigPreview, StripSizeFollowsTheMaskAndShrinksInProportion)
{
    EXPECT_EQ(222, t_wndBarConfigPreview::NeededWidth(0xFFFF));
    EXPECT_EQ(22, t_wndBarConfigPreview::NeededWidth(1u << 15));
    EXPECT_EQ(2, t_wndBarConfigPreview::NeededWidth(0));
    EXPECT_EQ(62, t_wndBarConfigPreview::NeededWidth(0x8003 | 1u << 8 | 1u << 9));  // page keys are not kinds here
    const struct {
        int needed, width;
        SIZE drawn;
    } cases[] = {
        {222, 300, {222, 22}},
        {222, 222, {222, 22}},
        {222, 111, {111, 11}},
        {222, 200, {200, 20}},
        {222, 5, {5, 0}},
        {42, 21, {21, 11}},
        // A width that measuring left at 0 draws nothing instead of dividing by zero.
        {222, 0, {0, 0}},
        {222, -4, {0, 0}},
    };
    for (const auto& c : cases) {
        const SIZE drawn = t_wndBarConfigPreview::DrawnSize(c.needed, c.width);
        EXPECT_EQ(c.drawn.cx, drawn.cx) << c.needed << " in " << c.width;
        EXPECT_EQ(c.drawn.cy, drawn.cy) << c.needed << " in " << c.width;
    }
}

TEST_F(BarConfigTest, PreviewStripShowsTheMaskedIconsInBarOrder)
{
    t_wndBarConfig config;
    Make(config);
    config.preview->mask = 1u << 15 | 1u << 0 | 1u << 1;
    HBITMAP strip = config.preview->RenderStrip(nullptr);
    ASSERT_NE(nullptr, strip);
    DIBSECTION section = {};
    ASSERT_TRUE(GetObjectW(strip, sizeof(section), &section));
    ASSERT_EQ(62, section.dsBm.bmWidth);
    ASSERT_EQ(22, std::abs(section.dsBm.bmHeight));
    const uint32_t* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
    // Logo, then Chinese/English, then punctuation, 20 pixels each from x = 1.
    const uint32_t expected[] = {c_logoPixel, c_defaultIconPixel, c_punctPixel};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(expected[i], pixels[11 * 62 + 1 + 20 * i + 10]) << i;
    EXPECT_NE(0u, pixels[0] >> 24) << "the background under the border";
    DeleteObject(strip);
    // Painted in an element too narrow for it: still no failure.
    config.preview->SetSize(0, 22);
    EXPECT_EQ(0, t_wndBarConfigPreview::DrawnSize(62, config.preview->GetSize().cx).cx);
}

// The status bar of a default skin with the program's popups.
class StatusPopupsTest : public BarConfigTest {
protected:
    StatusPopupsTest() { t_wndStatus::SetPopupsFactory(MakeStatusPopups); }
    ~StatusPopupsTest() override { t_wndStatus::SetPopupsFactory(nullptr); }

    void MakeStatus(t_wndStatus& status)
    {
        ASSERT_TRUE(WritePack());
        t_errorChain errors;
        ASSERT_TRUE(skin.ParseSkinIni(errors, packPath.c_str()));
        ASSERT_TRUE(skin.IsDefaultSkin());
        status.SetContext(&context);
        ASSERT_TRUE(status.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
        context.SetHostWindow(status.hwnd);
        status.Show(true);
    }
};

TEST_F(StatusPopupsTest, TheLogoOpensTheConfigurationAboveTheBarAndConfirmReachesTheHost)
{
    t_wndStatus status;
    MakeStatus(status);
    SendMessageW(status.hwnd, c_msgBarConfigOpen, 0, 0);
    t_statusPopups* popups = static_cast<t_statusPopups*>(status.Popups());
    ASSERT_NE(nullptr, popups);
    t_wndBarConfig* config = popups->BarConfig();
    ASSERT_NE(nullptr, config);
    EXPECT_TRUE(config->shown);
    const RECT bar = status.GetRect(), above = config->GetRect();
    EXPECT_EQ(bar.right, above.right);
    EXPECT_EQ(bar.top, above.bottom);

    ui.calls.clear();
    SendMessageW(config->hwnd, WM_COMMAND, t_wndBarConfig::e_default, 0);
    SendMessageW(config->hwnd, WM_COMMAND, t_wndBarConfig::e_confirm, 0);
    PumpMessages(50);
    EXPECT_EQ(nullptr, popups->BarConfig()) << "deleted once the bar handled its answer";
    const std::vector<t_call> expected = {
        {"Colour", 0xD29451}, {"Mask", 0x9467}, {"Event", 7},   {"Event", 4},          {"Event", 2},
        {"Event", 3},         {"Event", 1},     {"Applied", 0}, {"ApplyMask", 0x9467}, {"ApplyColour", 0xD29451},
        {"Open", 0}};
    EXPECT_EQ(expected, ui.calls);

    // Opened again and cancelled: nothing to apply.
    SendMessageW(status.hwnd, c_msgBarConfigOpen, 0, 0);
    ASSERT_NE(nullptr, popups->BarConfig());
    ui.calls.clear();
    SendMessageW(popups->BarConfig()->hwnd, WM_COMMAND, t_wndBarConfig::e_close, 0);
    PumpMessages(50);
    EXPECT_EQ(nullptr, popups->BarConfig());
    EXPECT_EQ((std::vector<t_call>{{"Event", 5}, {"Open", 0}}), ui.calls);
}

TEST_F(StatusPopupsTest, TheBarShowsTheSkinBoxHintAndItsTips)
{
    t_wndStatus status;
    MakeStatus(status);
    status.ShowSkinBoxHint(true);
    i_statusPopups* popups = status.Popups();
    ASSERT_NE(nullptr, popups);
    EXPECT_TRUE(popups->IsSkinBoxHintShown());
    popups->HideSkinBoxHint(true);
    EXPECT_FALSE(popups->IsSkinBoxHintShown());

    status.ShowSetupTip();
    status.ShowToolboxTip();
    t_statusPopups* own = static_cast<t_statusPopups*>(popups);
    ASSERT_NE(nullptr, own->Tip(i_statusPopups::e_setupTip));
    EXPECT_TRUE(popups->IsTipShown(i_statusPopups::e_setupTip));
    EXPECT_TRUE(popups->IsTipShown(i_statusPopups::e_toolboxTip));
    EXPECT_EQ(2, own->Tip(i_statusPopups::e_toolboxTip)->textArray->ChildCount());
    status.HideTips();
    EXPECT_FALSE(popups->IsTipShown(i_statusPopups::e_setupTip));
    EXPECT_FALSE(popups->IsTipShown(i_statusPopups::e_toolboxTip));
}

}  // namespace
