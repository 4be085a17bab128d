#include "graphics/text/multi_line_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/paint_surface.h"

namespace {

TEST(MultiLineText, SplitsAtCrLfAndCrLfPairs)
{
    struct t_case {
        const wchar_t* text;
        int breaks;
        std::vector<std::wstring> lines;
    };
    const t_case cases[] = {
        {L"a\r\nb\rc", 2, {L"a", L"b", L"c"}},
        {L"a\r\nbb\rccc\n", 3, {L"a", L"bb", L"ccc", L""}},
        {L"\n\r", 2, {L"", L"", L""}},
        {L"\r\n\r\n", 2, {L"", L"", L""}},
        {L"one", 0, {L"one"}},
        {L"", 0, {L""}},
    };
    for (const t_case& c : cases) {
        t_multiLineText text;
        EXPECT_EQ(text.SetText(c.text), c.breaks);
        ASSERT_EQ(text.LineCount(), static_cast<int>(c.lines.size()));
        for (size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(std::wstring(text.Line(static_cast<int>(i))), c.lines[i]);
        EXPECT_EQ(text.Line(text.LineCount()), nullptr);
    }
    t_multiLineText text;
    text.SetText(L"x\ny");
    EXPECT_EQ(text.SetText(nullptr), 0);  // replaces and empties
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.LineCount(), 0);
}

TEST(MultiLineText, MeasuresAndDrawsOneLineUnderTheOther)
{
    t_testSurface surface(120, 120, false);
    HDC dc = surface.Dc();
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SIZE wide;
    GetTextExtentPoint32W(dc, L"WWWW", 4, &wide);

    t_multiLineText text;
    RECT measured = {5, 5, 6, 6};
    EXPECT_EQ(text.Draw(DT_CALCRECT, measured, dc), 0);  // no text
    text.SetText(L"a\r\nWWWW\rb\n");
    EXPECT_EQ(text.Draw(DT_CALCRECT, measured, dc), 4 * metrics.tmHeight);
    EXPECT_EQ(measured.left, 0);
    EXPECT_EQ(measured.top, 0);
    EXPECT_EQ(measured.right, wide.cx);
    EXPECT_EQ(measured.bottom, 4 * metrics.tmHeight);

    // Drawn: the caller's rectangle is unchanged and the third line sits in the third band.
    RECT all = {0, 0, 120, 120};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    RECT r = {0, 0, 120, 120};
    text.SetText(L"\n\nWWWW");
    EXPECT_EQ(text.Draw(0, r, dc), 3 * metrics.tmHeight);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 120);
    const auto inkInRows = [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            for (int x = 0; x < 120; ++x) {
                if ((surface.At(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(inkInRows(0, 2 * metrics.tmHeight));
    EXPECT_TRUE(inkInRows(2 * metrics.tmHeight, 3 * metrics.tmHeight));
    SelectObject(dc, previous);
}

}  // namespace
