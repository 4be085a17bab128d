#include "ime_ui/windows/mobile/wnd_keyboard_mobile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/font.h"
#include "tests/support/mobile_skin.h"
#include "tests/support/gdi_census.h"

namespace {

TEST(KeyboardMobileGeometry, ColumnsAndRowsOfBothPhones)
{
    struct t_case {
        t_mobileMetrics metrics;
        int top, centre, side, row, shortKey;
    };
    const t_case cases[] = {
        {t_mobileMetrics::Small(), 165, 54, 39, 38, 28},
        {t_mobileMetrics::Large(), 475, 109, 76, 81, 60},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.metrics.screenWidth);
        const t_keyboardGeometry g = t_keyboardGeometry::Of(c.metrics);
        EXPECT_EQ(c.top, g.top);
        EXPECT_EQ(c.centre, g.centreWidth);
        EXPECT_EQ(c.side, g.sideWidth);
        EXPECT_EQ(c.row, g.rowHeight);
        EXPECT_EQ(c.shortKey, g.shortHeight);
        const int x[5] = {0, c.side, c.side + c.centre, c.side + 2 * c.centre, c.side + 3 * c.centre};
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(x[column], g.ColumnX(column));
            EXPECT_EQ(column == 0 || column == 4 ? c.side : c.centre, g.ColumnWidth(column));
        }
    }
}

// The labels of a key: "" for an icon or plain key, "letters/digit" for a two-line key.
std::wstring LabelOf(const t_wndKeyboardItemMobile& key)
{
    if (auto two = dynamic_cast<const t_wndKeyboardText2ItemMobile*>(&key))
        return std::wstring(two->label.c_str()) + L"/" + two->label2.c_str();
    if (auto text = dynamic_cast<const t_wndKeyboardTextItemMobile*>(&key))
        return text->label.c_str();
    return L"";
}

TEST(KeyboardMobileKeys, TwentyTwoKeysInTheirCells)
{
    t_wndKeyboardMobile keyboard;
    keyboard.SetMetrics(t_mobileMetrics::Small());
    keyboard.Rebuild();
    std::vector<std::unique_ptr<t_wndKeyboardItemMobile>> keys;
    keyboard.MakeKeys(keys);
    ASSERT_EQ(22u, keys.size());

    // W 240, K 155: columns at 0, 39, 93, 147, 201; rows 38 high from 165.
    struct t_expected {
        const wchar_t* label;
        t_keyRect rect;
        const t_font* font;
    };
    const t_expected expected[] = {
        {L"", {0, 165, 39, 112}, nullptr},  // the syllables' panel
        {L"Shou", {0, 165, 39, 28}, keyboard.SmallFont()},
        {L"Pin", {0, 193, 39, 28}, keyboard.SmallFont()},
        {L"Qin", {0, 221, 39, 28}, keyboard.SmallFont()},
        {L"Pi", {0, 249, 39, 28}, keyboard.SmallFont()},
        {L"符", {0, 277, 39, 38}, keyboard.MainFont()},
        {L"分词", {39, 165, 54, 38}, keyboard.MainFont()},
        {L"ghi/4", {39, 203, 54, 38}, keyboard.DigitFont()},
        {L"pqrs/7", {39, 241, 54, 38}, keyboard.DigitFont()},
        {L"123", {39, 279, 54, 38}, keyboard.DigitFont()},
        {L"abc/2", {93, 165, 54, 38}, keyboard.MainFont()},
        {L"jkl/5", {93, 203, 54, 38}, keyboard.DigitFont()},
        {L"tuv/8", {93, 241, 54, 38}, keyboard.DigitFont()},
        {L"", {93, 279, 54, 38}, nullptr},  // space
        {L"def/3", {147, 165, 54, 38}, keyboard.MainFont()},
        {L"mno/6", {147, 203, 54, 38}, keyboard.DigitFont()},
        {L"wxyz/9", {147, 241, 54, 38}, keyboard.DigitFont()},
        {L"中", {147, 279, 54, 38}, keyboard.MainFont()},
        {L"", {201, 165, 39, 38}, nullptr},  // delete
        {L"0", {201, 203, 39, 38}, keyboard.MainFont()},
        {L"清空", {201, 241, 39, 38}, keyboard.MainFont()},
        {L"", {201, 279, 39, 38}, nullptr},  // enter
    };
    for (size_t i = 0; i < keys.size(); ++i) {
        const t_expected& e = expected[i];
        const t_keyRect& r = keys[i]->rect;
        SCOPED_TRACE(i);
        EXPECT_EQ(e.label, LabelOf(*keys[i]));
        EXPECT_EQ(e.rect.x, r.x);
        EXPECT_EQ(e.rect.y, r.y);
        EXPECT_EQ(e.rect.width, r.width);
        EXPECT_EQ(e.rect.height, r.height);
        if (auto text = dynamic_cast<const t_wndKeyboardTextItemMobile*>(keys[i].get())) {
            EXPECT_EQ(e.font, text->font);
        }
    }
    // The icons in their places.
    auto icon = [&](size_t i) { return dynamic_cast<const t_wndKeyboardPicItemMobile*>(keys[i].get()); };
    ASSERT_NE(nullptr, icon(13));
    ASSERT_NE(nullptr, icon(18));
    ASSERT_NE(nullptr, icon(21));
    EXPECT_EQ(keyboard.Icon(c_keyPictureSpace).ref.handle, icon(13)->icon.ref.handle);
    EXPECT_EQ(keyboard.Icon(c_keyPictureDelete).ref.handle, icon(18)->icon.ref.handle);
    EXPECT_EQ(keyboard.Icon(c_keyPictureEnter).ref.handle, icon(21)->icon.ref.handle);
}

int FontHeight(const t_font* font)
{
    LOGFONTW logFont = {};
    return font && font->hfont && GetObjectW(font->hfont, sizeof(logFont), &logFont) ? logFont.lfHeight : -1;
}

TEST(KeyboardMobileKeys, FontsAndIconSizesFollowThePhone)
{
    struct t_case {
        t_mobileMetrics metrics;
        int small, digit, main, icon;
    };
    // The icons are 32 x 24: half size on the narrow phone only.
    const t_case cases[] = {{t_mobileMetrics::Small(), 10, 14, 16, 16}, {t_mobileMetrics::Large(), 20, 26, 30, 32}};
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.metrics.screenWidth);
        t_wndKeyboardMobile keyboard;
        keyboard.SetMetrics(c.metrics);
        keyboard.Rebuild();
        EXPECT_EQ(c.small, FontHeight(keyboard.SmallFont()));
        EXPECT_EQ(c.digit, FontHeight(keyboard.DigitFont()));
        EXPECT_EQ(c.main, FontHeight(keyboard.MainFont()));
        for (int id : {c_keyPictureDelete, c_keyPictureEnter, c_keyPictureSpace}) {
            EXPECT_EQ(c.icon, keyboard.Icon(id).partWidth) << id;
            EXPECT_EQ(c.icon * 24 / 32, keyboard.Icon(id).partHeight) << id;
        }
        EXPECT_EQ(40, keyboard.KeyBackground().partWidth);
        EXPECT_EQ(40, keyboard.KeyBackground().partHeight);
    }
}

// Every pixel of a picture carries the colour at its own alpha, premultiplied.
::testing::AssertionResult TintedWith(const t_image& image, uint32_t color)
{
    HBITMAP bitmap = static_cast<HBITMAP>(image.ref.handle);
    int width = 0, height = 0;
    const uint32_t* pixels = static_cast<const uint32_t*>(GetBitmapPixels(bitmap));
    if (!pixels || !QueryBitmapSize(bitmap, width, height))
        return ::testing::AssertionFailure() << "no pixels";
    GdiFlush();
    int visible = 0;
    for (int i = 0; i < width * height; ++i) {
        const uint32_t p = pixels[i], a = p >> 24;
        visible += a != 0;
        const uint32_t want = a << 24 | ((color & 0xFF) * a / 255) << 16 | ((color >> 8 & 0xFF) * a / 255) << 8 |
                              ((color >> 16 & 0xFF) * a / 255);
        if (p != want)
            return ::testing::AssertionFailure() << "pixel " << i << " is " << std::hex << p << ", not " << want;
    }
    if (visible == 0)
        return ::testing::AssertionFailure() << "no visible pixel";
    return ::testing::AssertionSuccess();
}

class KeyboardMobileTest : public t_mobileSkinTest {
protected:
    KeyboardMobileTest() : t_mobileSkinTest(L"keyboard_mobile") {}

    void Rebuild(const t_mobileMetrics& metrics)
    {
        keyboard.SetContext(&context);
        keyboard.SetMetrics(metrics);
        keyboard.Rebuild();
    }

    t_wndKeyboardMobile keyboard;
};

TEST_F(KeyboardMobileTest, PicturesTakeTheCandidateColour)
{
    ASSERT_TRUE(LoadSkin({}, L"[Display]\r\nfont_size=16\r\nzhongwen_color=0x336699\r\n"));
    Rebuild(t_mobileMetrics::Large());
    // Skin colours are COLORREF values.
    EXPECT_EQ(0x336699u, keyboard.KeyColor());
    EXPECT_TRUE(TintedWith(keyboard.KeyBackground(), 0x336699));
    for (int id : {c_keyPictureDelete, c_keyPictureEnter, c_keyPictureSpace})
        EXPECT_TRUE(TintedWith(keyboard.Icon(id), 0x336699)) << id;
}

TEST_F(KeyboardMobileTest, WithoutTheColourKeysAreBlack)
{
    // No runtime skin reaches the keyboard: no candidate text style.
    keyboard.SetMetrics(t_mobileMetrics::Small());
    keyboard.Rebuild();
    EXPECT_EQ(0u, keyboard.KeyColor());
    EXPECT_TRUE(TintedWith(keyboard.KeyBackground(), 0));
    EXPECT_TRUE(TintedWith(keyboard.Icon(c_keyPictureEnter), 0));
}

std::vector<uint32_t> Render(t_wndKeyboardMobile& keyboard)
{
    return RenderTopDown(keyboard, keyboard.Metrics().screenWidth, keyboard.Metrics().screenHeight);
}

TEST_F(KeyboardMobileTest, BackgroundFromTheCandidatePictureUnderTheKeys)
{
    // The separate candidate picture comes before the combined one.
    ASSERT_TRUE(LoadSkin({{L"green.png", FlatPng(30, 30, {0x00C000FF})}, {L"red.png", FlatPng(30, 30, {0xC00000FF})}},
                         L"[Display]\r\nfont_size=16\r\nzhongwen_color=0xffffff\r\n"
                         L"[Scheme_H1]\r\npic=green.png\r\n[Scheme_H2]\r\nzhongwen_pic=red.png\r\n"));
    for (const t_mobileMetrics& m : {t_mobileMetrics::Small(), t_mobileMetrics::Large()}) {
        SCOPED_TRACE(m.screenWidth);
        Rebuild(m);
        ASSERT_FALSE(keyboard.Background().IsEmpty());
        EXPECT_EQ(m.screenWidth, keyboard.Background().partWidth);
        EXPECT_EQ(m.keyboardHeight, keyboard.Background().partHeight);

        const std::vector<uint32_t> shot = Render(keyboard);
        ASSERT_FALSE(shot.empty());
        const int top = m.screenHeight - m.keyboardHeight;
        auto at = [&](int x, int y) { return shot[static_cast<size_t>(y) * m.screenWidth + x]; };
        // Nothing above the keyboard; the background everywhere on it, red under the keys'
        // translucent white.
        for (int x = 0; x < m.screenWidth; x += 7)
            ASSERT_EQ(0u, at(x, top - 1) >> 24) << x;
        int reddish = 0, greenish = 0, opaque = 0, count = 0;
        for (int y = top; y < m.screenHeight; y += 5) {
            for (int x = 0; x < m.screenWidth; x += 5) {
                const uint32_t p = at(x, y);
                ++count;
                opaque += p >> 24 == 255;
                reddish += (p >> 16 & 0xFF) > (p >> 8 & 0xFF) + 40;
                greenish += (p >> 8 & 0xFF) > (p >> 16 & 0xFF) + 40;
            }
        }
        EXPECT_EQ(count, opaque);
        // Labels and key edges whiten some of it; none of it is the combined window's green.
        EXPECT_GT(reddish, count * 3 / 4);
        EXPECT_EQ(0, greenish);
    }
}

TEST_F(KeyboardMobileTest, MissingPicturesLeaveTheKeysWithTheirLabels)
{
    ASSERT_TRUE(LoadSkin({}, L"[Display]\r\nfont_size=16\r\nzhongwen_color=0x336699\r\n"));
    keyboard.SetPictureModule(GetModuleHandleW(L"kernel32.dll"));
    Rebuild(t_mobileMetrics::Small());
    EXPECT_TRUE(keyboard.KeyBackground().IsEmpty());
    EXPECT_TRUE(keyboard.Icon(c_keyPictureDelete).IsEmpty());
    // No candidate picture either: no background.
    EXPECT_TRUE(keyboard.Background().IsEmpty());
    const std::vector<uint32_t> shot = Render(keyboard);
    ASSERT_FALSE(shot.empty());
    int painted = 0;
    for (uint32_t p : shot)
        painted += (p >> 24) != 0;
    // The labels alone: some pixels, far fewer than the keyboard's.
    EXPECT_GT(painted, 0);
    EXPECT_LT(painted, 240 * 155 / 4);
}

TEST_F(KeyboardMobileTest, RebuildsAndPaintsHoldNoMoreGdiObjects)
{
    // Every skin change rebuilds both phone windows: what a rebuild or a paint makes, the
    // next rebuild or the paint itself gives back.
    ASSERT_TRUE(
        LoadSkin({{L"bar.png", BorderedPng(50, 40, 5, 0x3060C0FF)}, {L"button.png", FlatPng(16, 16, {0x20B040FF})}},
                 L"[Display]\r\nfont_size=16\r\n[Scheme_H1]\r\npic=bar.png\r\n"
                 L"[StatusBar]\r\ncn_en_display=1\r\ncn_en=button.png\r\n"
                 L"cn_en_align=0,0,0,0,3,3,3,3,4,0\r\n"));
    t_wndCompMobile bar;
    bar.SetContext(&context);
    auto cycle = [&](const t_mobileMetrics& m) {
        bar.SetMetrics(m);
        bar.Rebuild();
        bar.Measure(nullptr);
        Rebuild(m);
        RenderTopDown(bar, m.screenWidth, m.screenHeight);
        RenderTopDown(keyboard, m.screenWidth, m.screenHeight);
    };
    cycle(t_mobileMetrics::Small());
    cycle(t_mobileMetrics::Large());
    ASSERT_NE(nullptr, bar.BarBitmap());
    ASSERT_FALSE(keyboard.KeyBackground().IsEmpty());
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 5; ++i) {
        cycle(t_mobileMetrics::Small());
        cycle(t_mobileMetrics::Large());
    }
    EXPECT_EQ(before, LiveGdiObjects());
}

}  // namespace
