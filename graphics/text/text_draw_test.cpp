#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/text_draw.h"
#include "graphics/text/theme.h"
#include "graphics/text/ui_cache.h"
#include "tests/support/gdi_font.h"
#include "tests/support/paint_surface.h"

namespace {

// The theme entry points are looked up in an already loaded uxtheme.dll, as a program with
// visual styles has it.
const HMODULE s_uxtheme = LoadLibraryW(L"uxtheme.dll");

TEST(LogFontFaceName, LongNamesAreCutTo31Characters)
{
    struct {
        const wchar_t* name;
        size_t length;
    } const cases[] = {
        {L"", 0}, {L"Tahoma", 6}, {L"0123456789012345678901234567890", 31}, {L"01234567890123456789012345678901", 31}};
    for (const auto& c : cases) {
        wchar_t field[LF_FACESIZE + 1];
        wmemset(field, L'#', LF_FACESIZE + 1);
        SetLogFontFaceName(*reinterpret_cast<wchar_t(*)[LF_FACESIZE]>(field), c.name);
        EXPECT_EQ(c.length, wcslen(field));
        EXPECT_EQ(0, wcsncmp(field, c.name, c.length));
        EXPECT_EQ(L'#', field[LF_FACESIZE]);
    }
    std::wstring skinName(259, L'\x5B8B');
    LOGFONTW lf;
    SetLogFontFaceName(lf.lfFaceName, skinName.c_str());
    EXPECT_EQ(std::wstring(31, L'\x5B8B'), lf.lfFaceName);
}

// Alpha-correct GDI text: alpha where ink is and nowhere else, colour premultiplied by
// the coverage, placed by the format's alignment, scaled by the constant alpha.
TEST(DrawTextAlpha, CoverageBecomesPremultipliedColour)
{
    t_testGdiFont font(L"SimSun", 16);
    ASSERT_TRUE(font.Get());
    const wchar_t* text = L"Ag\x56FD\x5B57";
    const SIZE size = TestGdiExtent(font.Get(), text);
    struct {
        UINT format;
        int x, y;  // expected top-left of the text box in a 120 x 60 rect at (10, 5)
    } const cases[] = {
        {DT_SINGLELINE, 10, 5},
        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 10 + (120 - size.cx) / 2, 5 + (60 - size.cy) / 2},
        {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 130 - size.cx, 65 - size.cy},
    };
    const uint32_t color = 0x2080F0;  // COLORREF: red F0, green 80, blue 20
    for (const auto& c : cases) {
        t_testSurface surface(150, 80, true);
        const RECT rect = {10, 5, 130, 65};
        ASSERT_TRUE(DrawTextAlpha(surface.Paint(), text, -1, rect, font.Get(), color, c.format, 255));
        const RECT bounds = surface.AlphaBounds();
        EXPECT_GE(bounds.left, c.x);
        EXPECT_GE(bounds.top, c.y);
        EXPECT_LE(bounds.right, c.x + size.cx);
        EXPECT_LE(bounds.bottom, c.y + size.cy);
        EXPECT_LT(bounds.left, bounds.right);
        EXPECT_GT(surface.CountAlpha(), 40);
        int checked = 0;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const uint32_t p = surface.At(x, y);
                const uint32_t a = p >> 24;
                if (!a) {
                    ASSERT_EQ(0u, p);
                    continue;
                }
                ASSERT_EQ(0xF0 * a / 255, p >> 16 & 0xFF);
                ASSERT_EQ(0x80 * a / 255, p >> 8 & 0xFF);
                ASSERT_EQ(0x20 * a / 255, p & 0xFF);
                ++checked;
            }
        }
        EXPECT_GT(checked, 0);
    }
}

TEST(DrawTextAlpha, ConstantAlphaAndEmptyRects)
{
    t_testGdiFont font(L"Tahoma", 20);
    t_testSurface full(80, 30, true), half(80, 30, true);
    const RECT rect = {0, 0, 80, 30};
    ASSERT_TRUE(DrawTextAlpha(full.Paint(), L"Wm", -1, rect, font.Get(), 0xFFFFFF, DT_SINGLELINE, 255));
    ASSERT_TRUE(DrawTextAlpha(half.Paint(), L"Wm", -1, rect, font.Get(), 0xFFFFFF, DT_SINGLELINE, 128));
    int compared = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            const int a = full.At(x, y) >> 24, b = half.At(x, y) >> 24;
            EXPECT_NEAR(a * 128 / 255, b, 1);
            compared += a == 255;
        }
    }
    EXPECT_GT(compared, 0);

    t_testSurface none(40, 20, true);
    EXPECT_TRUE(DrawTextAlpha(none.Paint(), L"Wm", -1, RECT{5, 5, 5, 20}, font.Get(), 0, DT_SINGLELINE, 255));
    EXPECT_TRUE(DrawTextAlpha(none.Paint(), L"Wm", -1, RECT{5, 5, 30, 5}, font.Get(), 0, DT_SINGLELINE, 255));
    EXPECT_EQ(0, none.CountAlpha());
    // Cut to the rect: nothing spills out of a rect narrower than the text.
    ASSERT_TRUE(DrawTextAlpha(none.Paint(), L"WWWW", -1, RECT{5, 2, 15, 20}, font.Get(), 0, DT_SINGLELINE, 255));
    const RECT bounds = none.AlphaBounds();
    EXPECT_GE(bounds.left, 5);
    EXPECT_LE(bounds.right, 15);
}

TEST(MeasureTextGdi, SingleLineFromTheCacheOtherwiseCalcRect)
{
    t_testGdiFont font(L"Tahoma", 13);
    t_testSurface surface(10, 10, false);
    const wchar_t* text = L"one two three four five six";
    SIZE size = {};
    ASSERT_TRUE(MeasureTextGdi(DT_SINGLELINE, surface.Paint(), font.Get(), text, -1, size, 0));
    EXPECT_EQ(TestGdiExtent(font.Get(), text).cx, size.cx);
    EXPECT_TRUE(t_uiCache::Instance()->Find(font.Get()));

    HGDIOBJ old = SelectObject(surface.Dc(), font.Get());
    RECT wrapped = {0, 0, 60, 0};
    DrawTextW(surface.Dc(), text, -1, &wrapped, DT_WORDBREAK | DT_CALCRECT);
    SelectObject(surface.Dc(), old);
    ASSERT_TRUE(MeasureTextGdi(DT_WORDBREAK, surface.Paint(), font.Get(), text, -1, size, 60));
    EXPECT_EQ(wrapped.right, size.cx);
    EXPECT_EQ(wrapped.bottom, size.cy);
    EXPECT_GT(size.cy, TestGdiExtent(font.Get(), text).cy);
}

// Themed measuring gives the text's own size: the glow's margin is taken off by what the
// theme really adds.
TEST(ThemedText, MeasureIsTheTextSizeWithAndWithoutTheTheme)
{
    t_testGdiFont font(L"Tahoma", 15);
    HDC dc = CreateCompatibleDC(nullptr);
    const wchar_t* texts[] = {L"Hello", L"\x56FD\x5B57 ab", L"W"};
    // First without the "Window" theme (the GDI measure), then through the theme.
    for (int themed = 0; themed < 2; ++themed) {
        if (themed) {
            ASSERT_TRUE(s_uxtheme);
            ASSERT_TRUE(t_theme::Instance()->Load());
            ASSERT_TRUE(t_theme::Instance()->OpenWindowTheme(nullptr));
        }
        for (const wchar_t* text : texts) {
            SIZE size = {};
            ASSERT_TRUE(MeasureThemedText(font.Get(), dc, text, -1, size, DT_SINGLELINE, 0));
            const SIZE gdi = TestGdiExtent(font.Get(), text);
            EXPECT_EQ(gdi.cx, size.cx) << themed << " " << static_cast<int>(text[0]);
            EXPECT_EQ(gdi.cy, size.cy) << themed;
        }
    }
    DeleteDC(dc);
}

}  // namespace
