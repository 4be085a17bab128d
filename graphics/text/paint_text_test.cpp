#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/glow_text.h"
#include "graphics/text/pinyin_spans.h"
#include "graphics/text/text_draw.h"
#include "graphics/text/theme.h"
#include "tests/support/gdi_font.h"
#include "tests/support/paint_surface.h"

namespace {

// The theme entry points are looked up in an already loaded uxtheme.dll, as a program with
// visual styles has it.
const HMODULE s_uxtheme = LoadLibraryW(L"uxtheme.dll");

struct t_fontDeleter {
    void operator()(t_font* font) const { t_font::Release(font); }
};
typedef std::unique_ptr<t_font, t_fontDeleter> t_fontPtr;

// A GDI font record of a character height.
t_fontPtr GdiFont(const wchar_t* face, int height)
{
    LOGFONTW lf = {};
    lf.lfHeight = -height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    SetLogFontFaceName(lf.lfFaceName, face);
    t_font* font = nullptr;
    t_font::Create(lf, font, false);
    return t_fontPtr(font);
}

TEST(PaintCtxText, DispatchByTargetAndFont)
{
    t_fontPtr font = GdiFont(L"Tahoma", 16);
    const uint32_t color = 0x00FF00;
    const RECT rect = {0, 0, 60, 24};

    // Ordinary target, full alpha: plain GDI text (colour written, alpha left alone).
    t_testSurface plain(60, 24, false);
    ASSERT_TRUE(plain.Paint().DrawText(L"Hi", -1, &rect, font.get(), &color, nullptr, DT_SINGLELINE, 255));
    bool green = false;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 60; ++x) {
            const uint32_t p = plain.At(x, y);
            green |= (p & 0xFFFFFF) == 0x00FF00;
            EXPECT_EQ(0u, p >> 24);
        }
    }
    EXPECT_TRUE(green);

    // Alpha target: the alpha-correct path. A background is filled first.
    t_testSurface alpha(60, 24, true);
    const uint32_t background = 0x80000000u | 0x0000FF;
    ASSERT_TRUE(alpha.Paint().DrawText(L"Hi", -1, &rect, font.get(), &color, &background, DT_SINGLELINE, 255));
    EXPECT_EQ(0x80800000u, alpha.At(59, 23));
    EXPECT_GT(alpha.CountAlpha(), 60 * 24 - 1);

    // Misuse and empty text.
    EXPECT_FALSE(alpha.Paint().DrawText(L"Hi", -1, &rect, nullptr, &color, nullptr, 0, 255));
    EXPECT_FALSE(alpha.Paint().DrawText(L"Hi", -1, &rect, font.get(), nullptr, nullptr, 0, 255));
    EXPECT_FALSE(alpha.Paint().DrawText(L"Hi", -1, nullptr, font.get(), &color, nullptr, 0, 255));
    EXPECT_TRUE(alpha.Paint().DrawText(L"", -1, &rect, font.get(), &color, nullptr, 0, 255));

    SIZE size = {};
    ASSERT_TRUE(alpha.Paint().MeasureText(L"Hi \x56FD", -1, font.get(), &size, DT_SINGLELINE, 0));
    EXPECT_EQ(TestGdiExtent(font->hfont, L"Hi \x56FD").cx, size.cx);
    EXPECT_FALSE(alpha.Paint().MeasureText(L"Hi", -1, font.get(), nullptr, DT_SINGLELINE, 0));
    EXPECT_FALSE(alpha.Paint().MeasureText(L"Hi", -1, nullptr, &size, DT_SINGLELINE, 0));
}

// The program's own glow: a halo up to 10 pixels around the text, text on top.
TEST(GlowText, FilterGlowSurroundsTheText)
{
    t_fontPtr font = GdiFont(L"Tahoma", 18);
    const uint32_t color = 0x000000;
    t_testSurface surface(120, 70, true);
    const RECT rect = {30, 20, 90, 50};
    ASSERT_TRUE(DrawFilterGlowText(rect, surface.Paint(), L"Hi", -1, font.get(), &color, DT_SINGLELINE, 255));
    const RECT bounds = surface.AlphaBounds();
    EXPECT_GE(bounds.left, 20);
    EXPECT_GE(bounds.top, 10);
    EXPECT_LE(bounds.right, 100);
    EXPECT_LE(bounds.bottom, 60);
    // The glow reaches left of and above the text's ink.
    t_testSurface textOnly(120, 70, true);
    ASSERT_TRUE(DrawTextAlpha(textOnly.Paint(), L"Hi", -1, rect, font->hfont, color, DT_SINGLELINE, 255));
    const RECT ink = textOnly.AlphaBounds();
    EXPECT_LT(bounds.left, ink.left - 3);
    EXPECT_LT(bounds.top, ink.top - 3);
    EXPECT_GT(bounds.right, ink.right + 3);
    EXPECT_GT(bounds.bottom, ink.bottom + 3);
    // Where the black text is opaque the result is the text's black, not the white glow.
    int blackInk = 0;
    for (int y = ink.top; y < ink.bottom; ++y) {
        for (int x = ink.left; x < ink.right; ++x)
            blackInk += textOnly.At(x, y) == 0xFF000000u && surface.At(x, y) == 0xFF000000u;
    }
    EXPECT_GT(blackInk, 0);
    // Just outside the ink the halo is white-ish.
    const uint32_t halo = surface.At(ink.left - 2, (ink.top + ink.bottom) / 2);
    EXPECT_GT(halo >> 24, 0u);
    EXPECT_EQ(halo >> 24, halo & 0xFF);
}

// Themed glow on this system: the theme's own glow when it composes alpha, else the
// program's glow; either way the text shows and stays upright.
TEST(GlowText, ThemedGlowShowsTheTextUpright)
{
    ASSERT_TRUE(s_uxtheme);
    ASSERT_TRUE(t_theme::Instance()->Load());
    ASSERT_TRUE(t_theme::Instance()->OpenWindowTheme(nullptr));
    t_fontPtr font = GdiFont(L"Tahoma", 24);
    const uint32_t color = 0x000000;
    const RECT rect = {30, 20, 110, 60};
    t_testSurface themed(140, 80, true, true);
    ASSERT_TRUE(DrawThemedGlowText(rect, themed.Paint(), L"T", -1, font.get(), &color, DT_SINGLELINE, 255));
    // "T": its bar is at the top of the ink. Row sums of alpha above and below the middle.
    t_testSurface textOnly(140, 80, true);
    ASSERT_TRUE(DrawTextAlpha(textOnly.Paint(), L"T", -1, rect, font->hfont, color, DT_SINGLELINE, 255));
    const RECT ink = textOnly.AlphaBounds();
    ASSERT_LT(ink.top, ink.bottom);
    const int bar = ink.top + 1, stem = ink.bottom - 2;
    int barBlack = 0, stemBlack = 0;
    for (int x = ink.left; x < ink.right; ++x) {
        barBlack += themed.At(x, bar) == 0xFF000000u;
        stemBlack += themed.At(x, stem) == 0xFF000000u;
    }
    EXPECT_GT(barBlack, stemBlack);
    EXPECT_GT(themed.CountAlpha(), textOnly.CountAlpha());
}

TEST(PinyinSpans, FindParens)
{
    struct {
        const wchar_t* text;
        std::vector<int> spans;
    } const cases[] = {
        {L"ni(h\x01CEo)ma(x1)", {2, 6}},
        {L"a(b)c", {1, 3}},
        {L"()(zhv,\x01DC\x01D6)", {0, 1, 2, 9}},
        {L"(l\x00FC)", {}},
        {L"no parens", {}},
        {L"(abc", {}},
        {L"abc)", {}},
        {L"(A)(b c)", {}},
        {L")(ab)", {1, 4}},
        {L"((ab)", {}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        itl::ImmSimpleArray<int> spans;
        spans.Add(99);
        FindPinyinParens(c.text, spans);
        ASSERT_EQ(static_cast<int>(c.spans.size()), spans.Count()) << c.text;
        for (int i = 0; i < spans.Count(); ++i)
            EXPECT_EQ(c.spans[i], spans[i]);
    }
}

TEST(PinyinSpans, PiecesInTheirFonts)
{
    t_fontPtr main = GdiFont(L"Tahoma", 12), pinyin = GdiFont(L"Tahoma", 22);
    t_testSurface surface(200, 40, true);
    itl::ImmSimpleArray<int> spans;
    FindPinyinParens(L"a(b)c", spans);
    SIZE size = {};
    ASSERT_TRUE(MeasureTextWithPinyinSpans(size, surface.Paint(), L"a(b)c", main.get(), pinyin.get(), spans));
    EXPECT_EQ(TestGdiExtent(main->hfont, L"a").cx + TestGdiExtent(pinyin->hfont, L"(b)").cx +
                  TestGdiExtent(main->hfont, L"c").cx,
              size.cx);
    EXPECT_EQ(TestGdiExtent(pinyin->hfont, L"(b)").cy, size.cy);

    itl::ImmSimpleArray<int> none;
    ASSERT_TRUE(MeasureTextWithPinyinSpans(size, surface.Paint(), L"a(b)c", main.get(), pinyin.get(), none));
    EXPECT_EQ(TestGdiExtent(main->hfont, L"a(b)c").cx, size.cx);

    // Drawn pieces: the pinyin piece starts where "a" ends.
    const uint32_t color = 0xFFFFFF;
    const t_textStyle style = {&color, nullptr, main.get()};
    for (int alphaText = 0; alphaText < 2; ++alphaText) {
        t_testSurface drawn(200, 40, true), reference(200, 40, true);
        ASSERT_TRUE(DrawTextWithPinyinSpans(L"a(b)c", drawn.Paint(), style, pinyin.get(), &color, spans,
                                            RECT{0, 0, 200, 40}, 255, alphaText != 0));
        const int left = TestGdiExtent(main->hfont, L"a").cx;
        ASSERT_TRUE(DrawTextAlpha(reference.Paint(), L"(b)", -1, RECT{left, 0, 200, 40}, pinyin->hfont, color,
                                  c_textSingleLine, 255));
        const int pieceRight = left + TestGdiExtent(pinyin->hfont, L"(b)").cx;
        for (int y = 0; y < 40; ++y) {
            for (int x = left; x < pieceRight; ++x)
                ASSERT_EQ(reference.At(x, y), drawn.At(x, y)) << x << "," << y;
        }
        EXPECT_GT(drawn.CountAlpha(), reference.CountAlpha());
    }
}

}  // namespace
