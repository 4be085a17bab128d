#include "ime_ui/windows/mobile/wnd_comp_mobile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "graphics/paint/paint_ctx.h"
#include "tests/support/mobile_skin.h"

namespace {

const uint32_t c_barRgb = 0x3060C0;     // the composition picture, 0xRRGGBB
const uint32_t c_buttonRgb = 0x20B040;  // the status button

// Phone pixels: what the content height becomes.
int LineHeight(const t_mobileMetrics& m) { return static_cast<int>(std::trunc(m.screenWidth * 0.15625)); }

// The content height after scaling, as whole pixels.
int ScaledContent(const t_mobileScale& s) { return static_cast<int>(std::trunc(s.contentHeight * s.factor + 1e-9)); }

TEST(CompMobileScale, ContentHeightBecomesTheCompositionLine)
{
    struct t_case {
        const char* name;
        t_mobileScaleInput in;
        int content, top, bottom;
    };
    const t_case cases[] = {
        // A picture taller than its text: the content is the two text rows.
        {"tall picture", {60, 6, 7, 0, 0, 16, 240}, 32, 6, 22},
        {"tall picture, large phone", {60, 6, 7, 0, 0, 16, 480}, 32, 6, 22},
        // A picture shorter than margins and text: the content is what the margins leave.
        {"short picture", {30, 6, 7, 0, 0, 16, 240}, 17, 6, 7},
        // Button rows above and below the text: the content grows by them and is centred
        // by o = 3 taken from both margins.
        {"button rows", {80, 6, 7, 20, 10, 16, 480}, 68, 3, 9},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.name);
        const t_mobileScale s = t_wndCompMobile::ComputeScale(c.in);
        EXPECT_EQ(c.content, s.contentHeight);
        EXPECT_EQ(c.top, s.topMargin);
        EXPECT_EQ(c.bottom, s.bottomMargin);
        // In floating point: 37 / 32 is no whole number, nor is 37 / 60 (which integer
        // division turns into 0 and a 0 x 0 picture).
        EXPECT_DOUBLE_EQ(std::trunc(c.in.screenWidth * 0.15625) / c.content, s.factor);
        EXPECT_EQ(static_cast<int>(std::trunc(c.in.screenWidth * 0.15625)), ScaledContent(s));
    }
    // Margins that leave nothing: the picture keeps its size.
    const t_mobileScale none = t_wndCompMobile::ComputeScale({10, 6, 7, 0, 0, 16, 240});
    EXPECT_LE(none.contentHeight, 0);
    EXPECT_EQ(1.0, none.factor);
    EXPECT_GE(none.bottomMargin, 0);
}

TEST(CompMobileScale, HeightLimitByScreen)
{
    EXPECT_EQ(95, t_wndCompMobile::HeightLimit(320));
    EXPECT_EQ(95, t_wndCompMobile::HeightLimit(400));
    EXPECT_EQ(175, t_wndCompMobile::HeightLimit(401));
    EXPECT_EQ(175, t_wndCompMobile::HeightLimit(800));
}

// The bar rendered as the preview paints it: the window's full screen, top-down pixels.
struct t_screenShot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t Rgb(int x, int y) const { return At(x, y) & 0xFFFFFF; }
    int Alpha(int x, int y) const { return At(x, y) >> 24; }
};

t_screenShot Render(t_wndCompMobile& bar)
{
    t_screenShot shot;
    const t_mobileMetrics& m = bar.Metrics();
    shot.pixels = RenderTopDown(bar, m.screenWidth, m.screenHeight);
    if (!shot.pixels.empty()) {
        shot.width = m.screenWidth;
        shot.height = m.screenHeight;
    }
    return shot;
}

class CompMobileTest : public t_mobileSkinTest {
protected:
    CompMobileTest() : t_mobileSkinTest(L"comp_mobile") {}

    // A skin whose composition picture is bar.png (the picture given), with margins 6 and 7.
    bool Load(const std::string& picture, const std::wstring& extra = L"")
    {
        const std::wstring ini = L"[Display]\r\nfont_size=16\r\npinyin_color=0x0000ff\r\nzhongwen_color=0x00ff00\r\n"
                                 L"zhongwen_first_color=0xff0000\r\n"
                                 L"[Scheme_H1]\r\npic=bar.png\r\nlayout_horizontal=0,8,8\r\nlayout_vertical=0,8,8\r\n"
                                 L"pinyin_marge=6,3,12,12\r\nzhongwen_marge=3,7,12,4\r\n" +
                                 extra;
        return LoadSkin({{L"bar.png", picture}, {L"button.png", FlatPng(16, 16, {c_buttonRgb << 8 | 0xFF})}}, ini);
    }
    void Rebuild(const t_mobileMetrics& metrics)
    {
        bar.SetContext(&context);
        bar.SetMetrics(metrics);
        bar.Rebuild();
        bar.Measure(nullptr);
    }

    t_wndCompMobile bar;
};

TEST_F(CompMobileTest, ShortBarScalesToTheLineAndStretchesToTheScreen)
{
    ASSERT_TRUE(Load(FlatPng(40, 30, {c_barRgb << 8 | 0xFF})));
    for (const t_mobileMetrics& m : {t_mobileMetrics::Small(), t_mobileMetrics::Large()}) {
        SCOPED_TRACE(m.screenWidth);
        Rebuild(m);
        ASSERT_NE(nullptr, bar.BarBitmap());
        EXPECT_FALSE(bar.HasButtons());
        // The margins leave 17 of the 30 rows: those become the composition line.
        EXPECT_EQ(17, bar.LastScale().contentHeight);
        EXPECT_EQ(LineHeight(m), ScaledContent(bar.LastScale()));
        EXPECT_EQ(static_cast<int>(std::trunc(30 * bar.LastScale().factor)), bar.BarHeight());
        // 40 x k is narrower than either screen: stretched to exactly its width.
        EXPECT_EQ(m.screenWidth, bar.BarWidth());

        const t_screenShot shot = Render(bar);
        ASSERT_EQ(m.screenWidth, shot.width);
        const int above = m.screenHeight - m.keyboardHeight;
        const int middle = above - bar.BarHeight() / 2;
        for (int x : {2, m.screenWidth / 2, m.screenWidth - 3}) {
            EXPECT_EQ(255, shot.Alpha(x, above - 3)) << x;
            EXPECT_EQ(c_barRgb, shot.Rgb(x, above - 3)) << x;
        }
        EXPECT_EQ(255, shot.Alpha(m.screenWidth - 3, middle));
        // Below the bar (the keyboard's place) and high above it: nothing, no warning.
        EXPECT_EQ(0, shot.Alpha(m.screenWidth / 2, above + 2));
        EXPECT_EQ(0, shot.Alpha(2, 2));
        // The composition text sits on the bar.
        EXPECT_GE(bar.Line1().y, above - bar.BarHeight());
        EXPECT_EQ(bar.Line1().y + m.fontSize2, bar.Line2().y);
    }
}

TEST_F(CompMobileTest, StretchKeepsTheCapsAndWidensTheMiddle)
{
    // 8-pixel red and green caps (the picture's splits) around a blue middle.
    const uint32_t red = 0xD02020, blue = 0x2020D0, green = 0x20D020;
    ASSERT_TRUE(Load(PixelPng(40, 30, [=](int x, int) { return (x < 8 ? red : x < 32 ? blue : green) << 8 | 0xFF; })));
    for (const t_mobileMetrics& m : {t_mobileMetrics::Small(), t_mobileMetrics::Large()}) {
        SCOPED_TRACE(m.screenWidth);
        Rebuild(m);
        ASSERT_EQ(m.screenWidth, bar.BarWidth());
        const int cap = static_cast<int>(8 * bar.LastScale().factor + 0.5);
        const t_screenShot shot = Render(bar);
        // The bar's bottom rows, below the text.
        const int y = m.screenHeight - m.keyboardHeight - 2;
        auto channel = [&](int x, int shift) { return static_cast<int>(shot.Rgb(x, y) >> shift & 0xFF); };
        // Resampling softens the edges between the colours, nothing more.
        auto similar = [&](int x, uint32_t rgb) {
            for (int shift : {0, 8, 16}) {
                if (std::abs(channel(x, shift) - static_cast<int>(rgb >> shift & 0xFF)) > 16)
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(similar(cap / 2, red));
        EXPECT_TRUE(similar(m.screenWidth / 2, blue));
        EXPECT_TRUE(similar(m.screenWidth - 1 - cap / 2, green));
        // Scaled as a whole, the caps would reach 8 / 40 of the screen's width: there the
        // middle's blue is already stronger.
        EXPECT_GT(channel(2 * cap + 4, 0), channel(2 * cap + 4, 16));
        EXPECT_GT(channel(m.screenWidth - 1 - 2 * cap - 4, 0), channel(m.screenWidth - 1 - 2 * cap - 4, 8));
    }
}

TEST_F(CompMobileTest, TallBarShowsTheRedWarningAboveItsLimit)
{
    ASSERT_TRUE(Load(FlatPng(40, 200, {c_barRgb << 8 | 0xFF})));
    for (const t_mobileMetrics& m : {t_mobileMetrics::Small(), t_mobileMetrics::Large()}) {
        SCOPED_TRACE(m.screenWidth);
        Rebuild(m);
        EXPECT_EQ(LineHeight(m), ScaledContent(bar.LastScale()));
        const int above = m.screenHeight - m.keyboardHeight;
        const int limit = t_wndCompMobile::HeightLimit(m.screenHeight);
        ASSERT_GT(std::min(bar.BarHeight(), above), limit);
        // Taller than the room above the keyboard: the text starts at the screen's top.
        if (bar.BarHeight() > above) {
            EXPECT_EQ(0, bar.Line1().y);
            EXPECT_EQ(m.fontSize2, bar.Line2().y);
        }

        const t_screenShot shot = Render(bar);
        ASSERT_EQ(m.screenWidth, shot.width);
        const int bandBottom = above - limit;
        for (int y : {1, bandBottom - 2}) {
            const int x = m.screenWidth - 2;
            // Red at alpha 128 over the bar or over nothing.
            EXPECT_GE(shot.Alpha(x, y), 128) << y;
            const uint32_t rgb = shot.Rgb(x, y);
            EXPECT_GT(rgb >> 16 & 0xFF, rgb & 0xFF) << y;
        }
        EXPECT_EQ(c_barRgb, shot.Rgb(m.screenWidth - 2, bandBottom + 2));
        EXPECT_EQ(255, shot.Alpha(m.screenWidth - 2, bandBottom + 2));
    }
}

TEST_F(CompMobileTest, LowBarShowsNoWarning)
{
    // 95 and 175 are the limits: a bar just within them keeps the screen clear above it.
    ASSERT_TRUE(Load(FlatPng(40, 30, {c_barRgb << 8 | 0xFF})));
    Rebuild(t_mobileMetrics::Small());
    ASSERT_LE(bar.BarHeight(), 95);
    const t_screenShot shot = Render(bar);
    const int top = t_mobileMetrics::Small().screenHeight - t_mobileMetrics::Small().keyboardHeight - bar.BarHeight();
    for (int y = 0; y < top - 1; ++y)
        ASSERT_EQ(0, shot.Alpha(shot.width - 2, y)) << y;
}

TEST_F(CompMobileTest, TransparentBorderIsCroppedFromPictureAndMargins)
{
    // 50 x 40 with a 5-pixel clear border: the bar is the 40 x 30 inside, margins 6 and 7
    // lose the 5 rows cut above and below.
    ASSERT_TRUE(Load(BorderedPng(50, 40, 5, c_barRgb << 8 | 0xFF)));
    Rebuild(t_mobileMetrics::Small());
    ASSERT_NE(nullptr, bar.BarBitmap());
    EXPECT_EQ(27, bar.LastScale().contentHeight);
    EXPECT_EQ(static_cast<int>(std::trunc(30 * 37.0 / 27)), bar.BarHeight());
    EXPECT_EQ(240, bar.BarWidth());
    const t_screenShot shot = Render(bar);
    const int above = 320 - 155;
    // No clear rows left at the bar's top and bottom edges.
    EXPECT_EQ(255, shot.Alpha(120, above - 1));
    EXPECT_EQ(255, shot.Alpha(120, above - bar.BarHeight()));
}

TEST_F(CompMobileTest, AllTransparentPictureDrawsNothing)
{
    ASSERT_TRUE(Load(FlatPng(40, 30, {0x00000000})));
    // The skin keeps the picture: the bar itself finds nothing to show in it.
    ASSERT_NE(nullptr, skin.GetArea(static_cast<int>(t_skinArea::e_h1)));
    bar.rect = RECT{0, 0, 240, 320};
    Rebuild(t_mobileMetrics::Small());
    EXPECT_EQ(nullptr, bar.BarBitmap());
    EXPECT_EQ(0, bar.BarWidth());
    EXPECT_EQ(0, bar.BarHeight());
    // The window keeps the size the preview gave it.
    EXPECT_EQ(240, bar.rect.right - bar.rect.left);
    EXPECT_EQ(320, bar.rect.bottom - bar.rect.top);
    const t_screenShot shot = Render(bar);
    ASSERT_EQ(240, shot.width);
    // No grey and no picture: only the sample text's pixels carry alpha.
    int grey = 0, red = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            grey += shot.At(x, y) == 0xFF808080u;
            red += (shot.At(x, y) & 0xFF0000FF) == 0x800000FF;
        }
    }
    EXPECT_EQ(0, grey);
    EXPECT_EQ(0, red);
}

TEST_F(CompMobileTest, StatusButtonsSitAroundTheTextAndCoverTheScreen)
{
    // A shown button in the right-middle cell (target 6), centred there.
    ASSERT_TRUE(Load(FlatPng(40, 30, {c_barRgb << 8 | 0xFF}), L"[StatusBar]\r\ncn_en_display=1\r\ncn_en=button.png\r\n"
                                                              L"cn_en_align=0,0,0,0,3,3,3,3,6,0\r\n"));
    for (const t_mobileMetrics& m : {t_mobileMetrics::Small(), t_mobileMetrics::Large()}) {
        SCOPED_TRACE(m.screenWidth);
        Rebuild(m);
        ASSERT_TRUE(bar.HasButtons());
        ASSERT_NE(nullptr, bar.BarBitmap());
        EXPECT_EQ(LineHeight(m), ScaledContent(bar.LastScale()));
        // Laid out wide enough to cover the screen once scaled.
        EXPECT_GE(bar.BarWidth(), m.screenWidth);
        const t_screenShot shot = Render(bar);
        const int above = m.screenHeight - m.keyboardHeight;
        // The button shows in the visible bar's right part, at the text block's height.
        bool found = false;
        for (int y = std::max(0, above - bar.BarHeight()); y < above && !found; ++y) {
            for (int x = m.screenWidth / 2; x < m.screenWidth && !found; ++x)
                found = shot.Rgb(x, y) == c_buttonRgb && shot.Alpha(x, y) == 255;
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(CompMobileTest, ButtonRowsAboveAndBelowTheTextEnterTheScale)
{
    // The tallest button of the grid's top row (targets 1 to 3) and of its bottom row (7 to
    // 9), with its margins; the middle row's buttons sit beside the text and count for none.
    struct t_case {
        const wchar_t* aligns;  // cn_en, then menu
        int top, bottom;
    };
    const t_case cases[] = {
        {L"0,0,0,0,3,3,3,3,2,0|0,0,0,0,3,3,3,3,6,0", 16, 0},
        {L"0,0,0,0,3,3,3,3,6,0|0,0,0,0,3,3,3,3,9,0", 0, 16},
        {L"2,2,0,0,3,3,3,3,1,0|0,0,0,0,3,3,3,3,7,0", 20, 16},
    };
    for (const t_case& c : cases) {
        const std::wstring aligns = c.aligns;
        const size_t split = aligns.find(L'|');
        SCOPED_TRACE(std::string(aligns.begin(), aligns.end()));
        ASSERT_TRUE(Load(FlatPng(40, 30, {c_barRgb << 8 | 0xFF}),
                         L"[StatusBar]\r\ncn_en_display=1\r\ncn_en=button.png\r\ncn_en_align=" +
                             aligns.substr(0, split) + L"\r\nmenu_display=1\r\nmenu=button.png\r\nmenu_align=" +
                             aligns.substr(split + 1) + L"\r\n"));
        Rebuild(t_mobileMetrics::Small());
        ASSERT_TRUE(bar.HasButtons());
        EXPECT_EQ(c.top, bar.LastScaleInput().topRowExtent);
        EXPECT_EQ(c.bottom, bar.LastScaleInput().bottomRowExtent);
        EXPECT_EQ(bar.BarHeight(),
                  static_cast<int>(std::trunc(bar.LastScaleInput().barHeight * bar.LastScale().factor)));
        EXPECT_EQ(37, ScaledContent(bar.LastScale()));
    }
}

TEST_F(CompMobileTest, ExtremeSkinsGiveABoundedBar)
{
    struct t_case {
        const char* name;
        int width, height;
        const wchar_t* margins;  // pinyin_marge, zhongwen_marge
    };
    const t_case cases[] = {
        // Two rows of content in a very wide picture: the scale would make it 74000 wide.
        {"wide and flat", 4000, 2, L"pinyin_marge=0,0,0,0\r\nzhongwen_marge=0,0,0,0\r\n"},
        // Margins larger than the picture: no content to scale, the picture keeps its size.
        {"margins past the picture", 40, 30, L"pinyin_marge=100000,0,0,0\r\nzhongwen_marge=0,100000,0,0\r\n"},
        {"negative margins", 40, 30, L"pinyin_marge=-50,0,0,0\r\nzhongwen_marge=0,-50,0,0\r\n"},
        {"one pixel", 1, 1, L"pinyin_marge=0,0,0,0\r\nzhongwen_marge=0,0,0,0\r\n"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(LoadSkin({{L"bar.png", FlatPng(c.width, c.height, {c_barRgb << 8 | 0xFF})}},
                             std::wstring(L"[Display]\r\nfont_size=16\r\n[Scheme_H1]\r\npic=bar.png\r\n") + c.margins));
        Rebuild(t_mobileMetrics::Small());
        ASSERT_NE(nullptr, bar.BarBitmap());
        EXPECT_GE(bar.BarWidth(), 240);
        EXPECT_LE(bar.BarWidth(), 8192);
        EXPECT_GE(bar.BarHeight(), 1);
        EXPECT_LE(bar.BarHeight(), 8192);
        EXPECT_GE(bar.Line1().y, 0);
        EXPECT_EQ(240, Render(bar).width);
    }
}

TEST_F(CompMobileTest, SkinWithoutCompositionPictureHasAnEmptyBar)
{
    ASSERT_TRUE(LoadSkin({}, L"[Display]\r\nfont_size=16\r\n"));
    Rebuild(t_mobileMetrics::Large());
    EXPECT_EQ(nullptr, bar.BarBitmap());
    EXPECT_EQ(0, bar.BarHeight());
    // The text lines go just above the keyboard.
    EXPECT_LE(bar.Line1().y, 800 - 325);
    const t_screenShot shot = Render(bar);
    EXPECT_EQ(480, shot.width);
}

}  // namespace
