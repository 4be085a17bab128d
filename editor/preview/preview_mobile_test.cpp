// The phone previews drawn as the preview panel drives them: a generated skin pack lies
// where the work copy of the open skin lies, the preview loads it and draws the phone
// screen, the composition bar and the keyboard into a DIB, where each shows by its colours.
// The program's own pictures come from the test program's resources.
#include "editor/preview/preview_mobile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/preview/preview_pc.h"
#include "foundation/env/env.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/mobile/wnd_keyboard_mobile.h"
#include "tests/support/flat_png.h"
#include "tests/support/gdi_census.h"
#include "tests/support/paint_surface.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_settings.h"

namespace {

// The program's own temporary folder: the work folder "SkinTmp" and its copy lie in it.
t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"preview_mobile", true));

const uint32_t c_barRgb = 0x3060C0;   // the composition picture
const uint32_t c_keysRgb = 0xC00000;  // the candidate picture, under the keys
const uint32_t c_marker = 0x10E010;   // the DIB before the preview paints
// Where the preview's top-left corner goes in the DIB: a margin shows what it leaves alone.
const int c_originX = 7, c_originY = 5;
const int c_margin = 12;

uint32_t Rgba(uint32_t rgb) { return rgb << 8 | 0xFF; }
int Red(uint32_t p) { return p >> 16 & 0xFF; }
int Green(uint32_t p) { return p >> 8 & 0xFF; }
int Blue(uint32_t p) { return p & 0xFF; }

// The panel's settings: the environment's defaults with the skin shown, the skin's colours
// ignored and the large-font zoom on, as the panel keeps them.
t_uiSettings PanelSettings()
{
    t_uiSettings settings;
    t_env defaults;
    BuildUiSettings(defaults, settings);
    settings.skinEnabled = true;
    settings.ignoreSkinColorSetting = true;
    settings.isotropicSkin = true;
    settings.fontSize = 16;
    return settings;
}

bool WriteWorkCopy(const t_skinPackFiles& files, const std::wstring& ini)
{
    wchar_t path[MAX_PATH];
    return PreviewPC::WorkCopyPath(path) && WriteSkinPackFile(g_temp->Path() + L"\\skin_src", files, ini, path);
}

// A skin with a flat composition bar, a candidate picture under the keys and white keys.
bool WriteTestSkin()
{
    return WriteWorkCopy(
        {{L"bar.png", FlatPng(40, 30, {Rgba(c_barRgb)})}, {L"keys.png", FlatPng(30, 30, {Rgba(c_keysRgb)})}},
        L"[Display]\r\nfont_size=16\r\npinyin_color=0x0000ff\r\nzhongwen_color=0xffffff\r\n"
        L"zhongwen_first_color=0xff0000\r\n"
        L"[Scheme_H1]\r\npic=bar.png\r\nlayout_horizontal=0,8,8\r\nlayout_vertical=0,8,8\r\n"
        L"pinyin_marge=6,3,12,12\r\nzhongwen_marge=3,7,12,4\r\n"
        L"[Scheme_H2]\r\nzhongwen_pic=keys.png\r\n");
}

// The preview painted at (c_originX, c_originY) into a DIB filled with the marker colour.
class t_phoneShot {
public:
    explicit t_phoneShot(PreviewMobile& preview)
    {
        preview.GetSize(width, height);
        m_surface.reset(new t_testSurface(c_originX + width + c_margin, c_originY + height + c_margin, false));
        const HBRUSH marker = CreateSolidBrush(RGB(Red(c_marker), Green(c_marker), Blue(c_marker)));
        const RECT all = {0, 0, m_surface->Width(), m_surface->Height()};
        FillRect(m_surface->Dc(), &all, marker);
        DeleteObject(marker);
        preview.Paint(m_surface->Dc(), c_originX, c_originY);
    }
    // 0xRRGGBB at a point of the preview (it may lie outside it, in the margin).
    uint32_t At(int x, int y) { return m_surface->At(c_originX + x, c_originY + y) & 0xFFFFFF; }

    int width = 0, height = 0;

private:
    std::unique_ptr<t_testSurface> m_surface;
};

// A picture's pixels, 0xRRGGBB top-down.
std::vector<uint32_t> PicturePixels(const t_image& picture)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.fullWidth;
    info.bmiHeader.biHeight = -picture.fullHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(picture.fullWidth) * picture.fullHeight);
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, picture.ref.Bitmap(), 0, picture.fullHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

struct t_variant {
    int variant;
    int width, height, keyboardHeight, fontSize1, fontSize2;
};
const t_variant c_variants[] = {
    {PreviewMobile::e_small, 240, 320, 155, 15, 11},
    {PreviewMobile::e_large, 480, 800, 325, 30, 22},
};

class PreviewMobileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteTestSkin()); }

    // Init, Reload and SetHostWindow, as the panel runs them before its first paint.
    void Ready(PreviewMobile& preview)
    {
        ASSERT_TRUE(preview.Init(-1, PanelSettings()));
        preview.Reload();
        preview.SetHostWindow(nullptr);
    }
};

TEST_F(PreviewMobileTest, EachVariantHasItsPhonesSizeAndMetrics)
{
    for (const t_variant& v : c_variants) {
        SCOPED_TRACE(v.width);
        PreviewMobile preview(v.variant);
        Ready(preview);
        EXPECT_EQ(v.variant, preview.Variant());
        EXPECT_TRUE(preview.UpdateLayout());
        int width = 0, height = 0;
        preview.GetSize(width, height);
        EXPECT_EQ(v.width, width);
        EXPECT_EQ(v.height, height);
        // Both windows take the same record.
        for (const t_mobileMetrics& m : {preview.Composition().Metrics(), preview.Keyboard().Metrics()}) {
            EXPECT_EQ(v.width, m.screenWidth);
            EXPECT_EQ(v.height, m.screenHeight);
            EXPECT_EQ(v.keyboardHeight, m.keyboardHeight);
            EXPECT_EQ(100, m.percent);
            EXPECT_EQ(v.fontSize1, m.fontSize1);
            EXPECT_EQ(v.fontSize2, m.fontSize2);
        }
        // The phone's own screen picture, at the phone's size.
        ASSERT_FALSE(preview.FramePicture().IsEmpty());
        EXPECT_EQ(v.width, preview.FramePicture().fullWidth);
        EXPECT_EQ(v.height, preview.FramePicture().fullHeight);
        int x = 9, y = 9;
        EXPECT_TRUE(preview.GetDefaultPos(2, x, y));
        EXPECT_EQ(0, x);
        EXPECT_EQ(0, y);
        EXPECT_FALSE(preview.Tick());
        EXPECT_FALSE(preview.AnimationTick());
    }
}

TEST_F(PreviewMobileTest, SettingsShowTheSkinsOwnColoursWithoutZoom)
{
    PreviewMobile preview(PreviewMobile::e_small);
    t_uiSettings panel = PanelSettings();
    panel.fontSize = 21;
    preview.SetSettings(panel);
    EXPECT_FALSE(preview.Settings().ignoreSkinColorSetting);
    EXPECT_FALSE(preview.Settings().isotropicSkin);
    EXPECT_EQ(21, preview.Settings().fontSize);
    EXPECT_TRUE(preview.Settings().skinEnabled);
    // The panel's record is a copy: it keeps its own values.
    EXPECT_TRUE(panel.ignoreSkinColorSetting);
}

// The phone screen fills exactly the preview's rectangle, the bar stands on the keyboard
// and the keys lie on the candidate picture at the bottom.
TEST_F(PreviewMobileTest, PaintsTheScreenTheBarAndTheKeyboardInThePhonesRectangle)
{
    for (const t_variant& v : c_variants) {
        SCOPED_TRACE(v.width);
        PreviewMobile preview(v.variant);
        Ready(preview);
        t_phoneShot shot(preview);
        ASSERT_TRUE(preview.Skin().IsLoaded());
        ASSERT_EQ(v.width, shot.width);

        // Nothing outside the phone.
        for (int y : {0, v.height / 2, v.height - 1}) {
            EXPECT_EQ(c_marker, shot.At(-1, y)) << y;
            EXPECT_EQ(c_marker, shot.At(v.width, y)) << y;
        }
        for (int x : {0, v.width / 2, v.width - 1}) {
            EXPECT_EQ(c_marker, shot.At(x, -1)) << x;
            EXPECT_EQ(c_marker, shot.At(x, v.height)) << x;
        }

        // The top of the screen shows the phone's picture pixel for pixel, corners included.
        const std::vector<uint32_t> frame = PicturePixels(preview.FramePicture());
        ASSERT_EQ(static_cast<size_t>(v.width) * v.height, frame.size());
        auto framePixel = [&](int x, int y) { return frame[static_cast<size_t>(y) * v.width + x]; };
        int mismatches = 0;
        for (int y = 0; y < v.height / 4; y += 3) {
            for (int x = 0; x < v.width; x += 5)
                mismatches += shot.At(x, y) != framePixel(x, y);
        }
        EXPECT_EQ(0, mismatches);
        EXPECT_EQ(framePixel(v.width - 1, 0), shot.At(v.width - 1, 0));

        // The bar just above the keyboard, across the screen.
        const int keyboardTop = v.height - v.keyboardHeight;
        for (int x : {2, v.width / 2, v.width - 3})
            EXPECT_EQ(c_barRgb, shot.At(x, keyboardTop - 3)) << x;

        // The keyboard: mostly the red candidate picture, with the white keys and labels on it.
        int reddish = 0, keys = 0, count = 0;
        for (int y = keyboardTop; y < v.height; y += 3) {
            for (int x = 0; x < v.width; x += 3) {
                const uint32_t p = shot.At(x, y);
                ++count;
                reddish += Red(p) > Green(p) + 40;
                keys += Green(p) > 0x30;
            }
        }
        EXPECT_GT(reddish, count / 2);
        EXPECT_GT(keys, count / 50);
        EXPECT_EQ(c_marker, shot.At(v.width / 2, v.height)) << "the keyboard ends with the phone";
    }
}

TEST_F(PreviewMobileTest, WithoutTheProgramsPicturesTheWindowsStillShow)
{
    PreviewMobile preview(PreviewMobile::e_small);
    preview.SetPictureModule(GetModuleHandleW(L"kernel32.dll"));
    Ready(preview);
    EXPECT_TRUE(preview.FramePicture().IsEmpty());
    t_phoneShot shot(preview);
    // No screen picture: the top stays as it was, the bar and the keyboard's picture show.
    EXPECT_EQ(c_marker, shot.At(shot.width / 2, 10));
    EXPECT_EQ(c_barRgb, shot.At(shot.width / 2, shot.height - 155 - 3));
    const uint32_t keyboard = shot.At(1, shot.height - 2);
    EXPECT_GT(Red(keyboard), Green(keyboard) + 40);
}

// A skin change reaches the phone at its next reload and layout, as the panel runs them;
// the phone does both when it is next painted, so that edits faster than paints load the
// work copy once.
TEST_F(PreviewMobileTest, ReloadShowsTheChangedSkin)
{
    PreviewMobile preview(PreviewMobile::e_large);
    Ready(preview);
    {
        t_phoneShot before(preview);
        EXPECT_EQ(c_barRgb, before.At(240, 800 - 325 - 3));
    }
    const uint32_t changed = 0x20A0A0;
    ASSERT_TRUE(WriteWorkCopy({{L"bar.png", FlatPng(40, 30, {Rgba(changed)})}},
                              L"[Display]\r\nfont_size=16\r\n[Scheme_H1]\r\npic=bar.png\r\n"
                              L"pinyin_marge=6,3,12,12\r\nzhongwen_marge=3,7,12,4\r\n"));
    EXPECT_FALSE(preview.ReloadPending());
    EXPECT_FALSE(preview.LayoutPending());
    const HBITMAP bar = preview.Composition().BarBitmap();
    preview.SetSettings(PanelSettings());
    preview.Reload();
    preview.SetHostWindow(nullptr);
    EXPECT_TRUE(preview.ReloadPending());
    EXPECT_TRUE(preview.LayoutPending());
    EXPECT_EQ(bar, preview.Composition().BarBitmap()) << "nothing made before the paint";
    t_phoneShot after(preview);
    EXPECT_FALSE(preview.ReloadPending());
    EXPECT_FALSE(preview.LayoutPending());
    EXPECT_EQ(changed, after.At(240, 800 - 325 - 3));
}

TEST_F(PreviewMobileTest, ReloadsAndPaintsHoldNoMoreGdiObjects)
{
    PreviewMobile preview(PreviewMobile::e_small);
    Ready(preview);
    auto cycle = [&] {
        preview.SetSettings(PanelSettings());
        preview.Reload();
        preview.SetHostWindow(nullptr);
        t_phoneShot shot(preview);
    };
    cycle();
    cycle();
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 5; ++i)
        cycle();
    EXPECT_EQ(before, LiveGdiObjects());
}

}  // namespace
