#include <gtest/gtest.h>

#include <cwchar>

#include "graphics/text/ui_cache.h"
#include "tests/support/gdi_font.h"

namespace {

// A test font whose width entry is dropped before the handle is freed.
class t_gdiFont : public t_testGdiFont {
public:
    using t_testGdiFont::t_testGdiFont;
    ~t_gdiFont() { t_uiCache::RemoveFont(Get()); }
};

class UiCache : public ::testing::Test {
protected:
    void SetUp() override { m_dc = CreateCompatibleDC(nullptr); }
    void TearDown() override
    {
        DeleteDC(m_dc);
        t_uiCache::Delete();
    }

    SIZE GdiCalcRect(HFONT font, const wchar_t* text)
    {
        HGDIOBJ old = SelectObject(m_dc, font);
        RECT rect = {0, 0, 0, 0};
        DrawTextW(m_dc, text, -1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        SelectObject(m_dc, old);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    HDC m_dc = nullptr;
};

TEST(CjkChars, RangesAndTheirEdges)
{
    struct {
        wchar_t c;
        bool cjk;
    } const cases[] = {
        {0x2E7F, false}, {0x2E80, true},  {0x2EFF, true},  {0x2F00, true},  {0x2FDF, true}, {0x2FE0, false},
        {0x33FF, false}, {0x3400, true},  {0x4DBF, true},  {0x4DC0, false}, {0x4E00, true}, {0x56FD, true},
        {0x9FFF, true},  {0xA000, false}, {0xF8FF, false}, {0xF900, true},  {0xFAFF, true}, {0xFB00, false},
        {L'a', false},   {0x3001, false}, {0xFF0C, false}, {0xD840, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cjk, IsCjkChar(c.c)) << std::hex << int(c.c);
}

// Cached single-line widths equal GDI's own measure of the same font and text, in both
// modes of filling the table, for Latin and CJK fonts.
TEST_F(UiCache, WidthsEqualGdiMeasure)
{
    const wchar_t* const faces[] = {L"Tahoma", L"SimSun", L"WenQuanYi Micro Hei"};
    const int heights[] = {12, 16, 23};
    const wchar_t* const texts[] = {
        L"The quick brown fox, 1234!",
        L"~`{|}@#$%^&*()_+-=[]\\;':\",./<>?",
        L"\x4E2D\x6587\x8F93\x5165\x6CD5",
        L"ni\x4F60hao\x597D 12",
        L"\x56FD",
    };
    for (const wchar_t* face : faces) {
        for (int height : heights) {
            for (int extentMode = 0; extentMode < 2; ++extentMode) {
                t_gdiFont font(face, height);
                ASSERT_TRUE(font.Get());
                for (const wchar_t* text : texts) {
                    SIZE cached = {-1, -1};
                    ASSERT_TRUE(t_uiCache::Instance()->Measure(m_dc, font.Get(), text, -1, cached, extentMode != 0));
                    const SIZE extent = TestGdiExtent(font.Get(), text);
                    const SIZE calc = GdiCalcRect(font.Get(), text);
                    EXPECT_EQ(extent.cx, cached.cx) << face << " " << height << " " << extentMode;
                    EXPECT_EQ(extent.cy, cached.cy) << face << " " << height;
                    EXPECT_EQ(calc.cx, cached.cx) << face << " " << height;
                    EXPECT_EQ(calc.cy, cached.cy) << face << " " << height;
                }
                ASSERT_TRUE(t_uiCache::Instance()->Find(font.Get()));
            }
        }
    }
}

TEST_F(UiCache, AsciiAndCjkAreSummedFromTheEntryWithoutGdi)
{
    t_gdiFont font(L"SimSun", 15);
    t_uiCache& cache = *t_uiCache::Instance();
    ASSERT_TRUE(cache.AddFont(m_dc, font.Get(), false));
    const t_widthEntry* entry = cache.Find(font.Get());
    ASSERT_TRUE(entry);

    HGDIOBJ old = SelectObject(m_dc, font.Get());
    ABCFLOAT abc;
    ASSERT_TRUE(GetCharABCWidthsFloatW(m_dc, 0x56FD, 0x56FD, &abc));
    TEXTMETRICW metrics;
    ASSERT_TRUE(GetTextMetricsW(m_dc, &metrics));
    SelectObject(m_dc, old);
    EXPECT_EQ(int(abc.abcfA + abc.abcfB + abc.abcfC), entry->cjkWidth);
    EXPECT_EQ(metrics.tmHeight, entry->height);

    // No DC at all: only the entry can answer. Every ideograph counts as U+56FD.
    SIZE size = {};
    ASSERT_TRUE(cache.Measure(nullptr, font.Get(), L"ab\x56FD", -1, size, false));
    EXPECT_EQ(entry->widths['a' - 32] + entry->widths['b' - 32] + entry->cjkWidth, size.cx);
    EXPECT_EQ(metrics.tmHeight, size.cy);
    ASSERT_TRUE(cache.Measure(nullptr, font.Get(), L"\x4E00\x9F98\x3400\xF900\x2E80", -1, size, false));
    EXPECT_EQ(5 * entry->cjkWidth, size.cx);
    // The length is honoured: only "ab".
    ASSERT_TRUE(cache.Measure(nullptr, font.Get(), L"ab\x56FD", 2, size, false));
    EXPECT_EQ(entry->widths['a' - 32] + entry->widths['b' - 32], size.cx);
}

TEST_F(UiCache, OtherCharactersFallBackToGdi)
{
    t_gdiFont font(L"Tahoma", 17);
    const wchar_t* const texts[] = {L"caf\x00E9", L"tab\there", L"\xD83D\xDE00x", L"\x3001\xFF0C", L"a\x7F"};
    for (const wchar_t* text : texts) {
        SIZE size = {};
        ASSERT_TRUE(t_uiCache::Instance()->Measure(m_dc, font.Get(), text, -1, size, false));
        EXPECT_EQ(TestGdiExtent(font.Get(), text).cx, size.cx);
        // Without a DC there is nothing to fall back on.
        EXPECT_FALSE(t_uiCache::Instance()->Measure(nullptr, font.Get(), text, -1, size, false));
    }
}

TEST_F(UiCache, EmptyTextLeavesTheSizeAndMakesNoEntry)
{
    t_gdiFont font(L"Tahoma", 12);
    SIZE size = {7, 9};
    EXPECT_TRUE(t_uiCache::Instance()->Measure(m_dc, font.Get(), L"", -1, size, false));
    EXPECT_TRUE(t_uiCache::Instance()->Measure(m_dc, font.Get(), L"abc", 0, size, false));
    EXPECT_EQ(7, size.cx);
    EXPECT_EQ(9, size.cy);
    EXPECT_EQ(nullptr, t_uiCache::Instance()->Find(font.Get()));
}

TEST_F(UiCache, ExtentModeTakesPartialExtents)
{
    t_gdiFont font(L"Tahoma", 14, FW_BOLD);
    ASSERT_TRUE(t_uiCache::Instance()->AddFont(m_dc, font.Get(), true));
    const t_widthEntry* entry = t_uiCache::Instance()->Find(font.Get());
    ASSERT_TRUE(entry);
    HGDIOBJ old = SelectObject(m_dc, font.Get());
    for (wchar_t c = 32; c < 127; ++c) {
        SIZE size;
        GetTextExtentPoint32W(m_dc, &c, 1, &size);
        EXPECT_EQ(size.cx, entry->widths[c - 32]) << int(c);
    }
    SelectObject(m_dc, old);
    // The first mode that made the entry stays.
    EXPECT_TRUE(t_uiCache::Instance()->AddFont(m_dc, font.Get(), false));
    EXPECT_EQ(entry, t_uiCache::Instance()->Find(font.Get()));
}

TEST_F(UiCache, RemoveDropsTheEntryAndNeverMakesTheCache)
{
    t_uiCache::Delete();
    t_gdiFont font(L"Tahoma", 12);
    t_uiCache::RemoveFont(font.Get());  // no cache yet: nothing happens

    t_uiCache& cache = *t_uiCache::Instance();
    EXPECT_FALSE(cache.AddFont(m_dc, nullptr, false));
    EXPECT_FALSE(cache.AddFont(nullptr, font.Get(), false));
    ASSERT_TRUE(cache.AddFont(m_dc, font.Get(), false));
    t_gdiFont other(L"SimSun", 12);
    ASSERT_TRUE(cache.AddFont(m_dc, other.Get(), false));
    EXPECT_EQ(2u, cache.Count());
    t_uiCache::RemoveFont(font.Get());
    EXPECT_EQ(nullptr, cache.Find(font.Get()));
    EXPECT_TRUE(cache.Find(other.Get()));
    EXPECT_EQ(1u, cache.Count());
}

}  // namespace
