// Text arrays: items in a row or a column with the gap after each, alignment kinds in the
// cell, empty items without a gap, styling by index and the scaling of the layout values.
#include "toolkit/controls/wnd_text_array.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/font_record.h"
#include "tests/support/gdi_font.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// An element that is no text item, to sit among the items.
class t_otherElement : public t_wndBase {};

class TextArrayTest : public ::testing::Test {
protected:
    TextArrayTest() : m_font(MakeTestFont(L"Tahoma", 14))
    {
        MakeWindowlessTop(top, 100, 200, 300, 200);
        array = new t_wndTextArray();
        array->Create(0, 10, 20, 0, 0, 0, nullptr, &top);
    }
    ~TextArrayTest() override
    {
        delete array->layout;
        array->layout = nullptr;
    }

    t_textItemStyle Style(uint32_t color) const { return t_textItemStyle{color, 0, 0, m_font.get(), false}; }
    t_wndTextItem* Add(const wchar_t* text, int alignKind = 0)
    {
        return array->AddTextItem(text, Style(0x102030), Style(0), alignKind, 7);
    }
    // Builds and measures the grid, then places its nodes.
    void Lay()
    {
        array->CreateLayout();
        ASSERT_NE(array->layout, nullptr);
        array->layout->Measure(nullptr);
        array->layout->Layout(nullptr);
    }
    SIZE Extent(const wchar_t* text) const { return TestGdiExtent(m_font->hfont, text); }
    RECT NodeRect(int cell) const { return array->cellLayouts[cell]->GetRect(); }

    t_testFontPtr m_font;
    t_wndTop top;
    t_wndTextArray* array;
};

TEST_F(TextArrayTest, AddTextItemMakesStyledChildren)
{
    ASSERT_TRUE(m_font);
    t_wndTextItem* item = Add(L"ab", 3);
    t_wndTextItem* empty = array->AddTextItem(nullptr, Style(1), Style(0), 0, 9);
    ASSERT_TRUE(item && empty);
    EXPECT_EQ(2, array->ChildCount());
    EXPECT_EQ(array, item->parent);
    EXPECT_EQ(&top, item->top);
    EXPECT_EQ(std::wstring(L"ab"), item->ItemText().c_str());
    EXPECT_TRUE(empty->ItemText().IsEmpty());
    EXPECT_EQ(0x102030u, item->textColor);
    EXPECT_EQ(0x102030u, item->defaultStyle.textColor);
    EXPECT_EQ(7, item->value);
    EXPECT_EQ(3, array->ItemState(0).alignKind);
}

TEST_F(TextArrayTest, RowPlacesItemsWithTheGapAfterEach)
{
    array->SetGeometry({0, 0, 0, 0, 4, 9});  // the column gap is not used in a row
    Add(L"Kav");
    Add(L"");  // an empty item adds no gap
    t_otherElement* other = new t_otherElement();
    other->Create(0, 0, 0, 5, 5, 0, nullptr, array);  // keeps its column, empty
    Add(L"rel");
    Lay();
    const SIZE kav = Extent(L"Kav"), rel = Extent(L"rel");
    ASSERT_EQ(3, array->cellLayouts.Count());
    EXPECT_EQ(4, static_cast<t_layoutGrid*>(array->layout)->ColumnCount());
    EXPECT_EQ(1, static_cast<t_layoutGrid*>(array->layout)->RowCount());
    EXPECT_EQ(110, NodeRect(0).left);
    EXPECT_EQ(110 + kav.cx, NodeRect(0).right);
    EXPECT_EQ(110 + kav.cx + 4, NodeRect(1).left);
    EXPECT_EQ(110 + kav.cx + 4, NodeRect(2).left);
    EXPECT_EQ(110 + kav.cx + 4 + rel.cx, NodeRect(2).right);
    EXPECT_EQ(220, NodeRect(2).top);
    // The array takes the grid's size, the gap after the last item included.
    EXPECT_EQ(kav.cx + 4 + rel.cx + 4, array->rect.right - array->rect.left);
    EXPECT_EQ(std::max(kav.cy, rel.cy), array->rect.bottom - array->rect.top);
    EXPECT_EQ(array->rect.right, array->layout->GetRect().right);
    EXPECT_EQ(array->rect.bottom, array->layout->GetRect().bottom);

    // A second build starts from the current children again.
    delete array->layout;
    array->layout = nullptr;
    Lay();
    EXPECT_EQ(3, array->cellLayouts.Count());
    EXPECT_EQ(110 + kav.cx + 4, NodeRect(2).left);
}

TEST_F(TextArrayTest, ColumnStacksItemsByAlignKind)
{
    array->SetGeometry({0, 0, 0, 0, 4, 5});
    array->orientation = t_wndTextArray::e_column;
    Add(L"K", t_wndTextArray::e_alignFar);
    Add(L"Kavrel", t_wndTextArray::e_alignCentre);
    Add(L"Ka", t_wndTextArray::e_alignCentre);
    Lay();
    const SIZE k = Extent(L"K"), kavrel = Extent(L"Kavrel"), ka = Extent(L"Ka");
    ASSERT_EQ(3, array->cellLayouts.Count());
    // Against the far edges: right on the column's right, bottom above the gap.
    EXPECT_EQ(110 + kavrel.cx, NodeRect(0).right);
    EXPECT_EQ(110 + kavrel.cx - k.cx, NodeRect(0).left);
    EXPECT_EQ(220, NodeRect(0).top);
    const t_layoutGrid& grid = *static_cast<t_layoutGrid*>(array->layout);
    EXPECT_EQ(k.cy + 5, grid.Rows().End(0));
    EXPECT_EQ(k.cy + 5 + kavrel.cy + 5, grid.Rows().End(1));
    EXPECT_EQ(110, NodeRect(1).left);
    // Centred (to the pixel) across the column and inside its row.
    EXPECT_NEAR(110 + (kavrel.cx - ka.cx) / 2.0, NodeRect(2).left, 0.5);
    EXPECT_NEAR(220 + grid.Rows().End(1) + 2.5, NodeRect(2).top, 0.5);
    EXPECT_EQ(ka.cx, NodeRect(2).right - NodeRect(2).left);
    EXPECT_EQ(kavrel.cx, array->rect.right - array->rect.left);
    EXPECT_EQ(k.cy + kavrel.cy + ka.cy + 15, array->rect.bottom - array->rect.top);
}

TEST_F(TextArrayTest, EmptyArrayAndOtherOrientations)
{
    Lay();
    EXPECT_EQ(0, array->layout->ChildCount());
    EXPECT_EQ(0, array->rect.right - array->rect.left);
    EXPECT_EQ(0, array->rect.bottom - array->rect.top);
    delete array->layout;
    array->layout = nullptr;
    Add(L"x");
    array->orientation = 2;
    array->CreateLayout();
    EXPECT_EQ(nullptr, array->layout);
    EXPECT_EQ(0, array->cellLayouts.Count());
}

TEST_F(TextArrayTest, ScaleRoundsHalfUpAndTruncatesTowardZero)
{
    struct t_case {
        double scale;
        int base;
        int expected;
    } const cases[] = {
        {1.5, 4, 6}, {1.5, 3, 5}, {1.25, -3, -3}, {1.25, 0, 0},          {2.0, -3, -5},
        {1.0, 7, 7}, {0.0, 7, 7}, {0.5, 3, 2},    {1e10, 5, 2147483647},
    };
    for (const t_case& c : cases) {
        array->SetGeometry({c.base, c.base, c.base, c.base, c.base, c.base});
        array->scale = c.scale;
        array->ApplyScale();
        for (int i = 0; i < t_wndTextArray::c_valueCount; ++i) {
            EXPECT_EQ(c.expected, array->current[i]) << c.scale << " x " << c.base;
            EXPECT_EQ(c.base, array->base[i]);
        }
    }
}

TEST_F(TextArrayTest, StylingByIndex)
{
    for (const wchar_t* text : {L"0", L"1", L"2", L"3", L"4"})
        Add(text);
    t_otherElement* other = new t_otherElement();
    other->Create(0, 0, 0, 5, 5, 0, nullptr, array);
    EXPECT_EQ(nullptr, array->GetItem5Text());  // the sixth child is no text item

    array->SetItemStyle(t_wndTextArray::c_allItems, Style(0xAA));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(0xAAu, array->TextItemAt(i)->textColor);
    array->SetItemStyle(2, Style(0xBB));
    array->SetItemStyle(6, Style(0xCC));   // child count: nothing
    array->SetItemStyle(-2, Style(0xCC));  // nothing
    EXPECT_EQ(0xBBu, array->TextItemAt(2)->textColor);
    EXPECT_EQ(0xAAu, array->TextItemAt(3)->textColor);

    array->SetItemFont(1, nullptr);
    EXPECT_EQ(nullptr, array->TextItemAt(1)->font);
    EXPECT_EQ(nullptr, array->TextItemAt(1)->defaultStyle.font);
    EXPECT_EQ(m_font.get(), array->TextItemAt(0)->font);

    EXPECT_EQ(array->TextItemAt(4), array->SetItemHotStyle(t_wndTextArray::c_allItems, Style(0xDD)));
    EXPECT_EQ(nullptr, array->SetItemHotStyle(5, Style(0xDD)));
    EXPECT_EQ(0xDDu, array->ItemState(0).hotStyle.textColor);
    array->SetItemUnderline(3, 0xEE, 2);
    EXPECT_EQ(0xEEu, array->ItemState(3).underlineColor);
    EXPECT_EQ(2, array->ItemState(3).underlineValue);

    array->SetHotItem(1, 42);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i == 1, array->ItemState(i).hot);
        EXPECT_EQ(i == 1 ? 42 : -1, array->ItemState(i).linkValue);
    }

    // Exactly five items: no sixth; six: its characters.
    delete other;
    EXPECT_EQ(nullptr, array->GetItem5Text());
    Add(L"five");
    ASSERT_NE(nullptr, array->GetItem5Text());
    EXPECT_EQ(std::wstring(L"five"), array->GetItem5Text());
}

TEST_F(TextArrayTest, HitTestAsksTheChildrenOnly)
{
    t_wndTextItem* item = Add(L"Kav");
    item->acceptsMouse = true;
    Lay();
    const RECT r = item->GetRect();
    EXPECT_TRUE(array->HitTest(r.left + 1, r.top + 1, 0));
    item->acceptsMouse = false;
    EXPECT_FALSE(array->HitTest(r.left + 1, r.top + 1, 0));
}

}  // namespace
