// Aligned and grid placement against the host's reference table, and the layouts' own
// measuring and arranging passes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"

namespace {

// A leaf of fixed content size that answers a chosen measure value.
class t_leaf : public t_layout {
public:
    t_leaf(int width, int height, int measureValue = 3) : m_width(width), m_height(height), m_value(measureValue) {}
    SIZE GetSize() override { return SIZE{m_width, m_height}; }
    int Measure(t_paintCtx*) override
    {
        SetSize(m_width, m_height);
        return m_value;
    }
    void Prepare() override {}
    RECT GetChildRect(t_layout*) override { return RECT{0, 0, 0, 0}; }

private:
    int m_width, m_height, m_value;
};

std::vector<std::string> ReferenceLines(const char* kind)
{
    std::vector<std::string> lines;
    FILE* file = _wfopen(KAVREL_LAYOUT_REFERENCE, L"rb");
    if (!file)
        return lines;
    char buffer[1024];
    while (fgets(buffer, sizeof buffer, file)) {
        std::string line(buffer);
        if (line.rfind(kind, 0) == 0)
            lines.push_back(line);
    }
    fclose(file);
    return lines;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(AnchorRule, EveryModePairWithAndWithoutKeepMatchesTheReference)
{
    const std::vector<std::string> lines = ReferenceLines("anchor ");
    ASSERT_GT(lines.size(), 1000u) << "reference file missing";
    bool seen[4][4][2] = {};
    for (const std::string& line : lines) {
        std::istringstream in(line.substr(7));
        int lo, hi, size, a, m1, b, m2, keep, n, f;
        std::string arrow;
        in >> lo >> hi >> size >> a >> m1 >> b >> m2 >> keep >> arrow >> n >> f;
        ASSERT_FALSE(in.fail()) << line;
        seen[a][b][keep] = true;
        int nearEdge = 0, farEdge = 0;
        AlignSpan(lo, hi, size, a, m1, b, m2, keep != 0, nearEdge, farEdge);
        EXPECT_EQ(n, nearEdge) << line;
        EXPECT_EQ(f, farEdge) << line;

        // The vertical axis follows the same rule through a record.
        t_alignInfo record{0, 0, 0, 0, a, m1, b, m2, 0, size, 0, 0, 0};
        const RECT placed = record.Place(RECT{0, lo, 0, hi}, false, keep != 0);
        EXPECT_EQ(n, placed.top) << line;
        EXPECT_EQ(f, placed.bottom) << line;
    }
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b)
            EXPECT_TRUE(seen[a][b][0] && seen[a][b][1]) << a << "," << b;
    }
}

TEST(GridSharing, TracksAndTargetsMatchTheReference)
{
    const std::vector<std::string> lines = ReferenceLines("share ");
    ASSERT_GT(lines.size(), 10u) << "reference file missing";
    for (const std::string& line : lines) {
        std::istringstream in(line.substr(6));
        int target, count;
        in >> target >> count;
        t_layoutGrid grid(1, count);
        for (int i = 0; i < count; ++i) {
            int size;
            float weight;
            in >> size >> weight;
            grid.SetColumnInfo(i, 0, size, 0, weight);
        }
        std::string arrow;
        int finalTarget;
        in >> arrow >> finalTarget;
        ASSERT_FALSE(in.fail()) << line;
        grid.SetRect(10, 0, 10 + target, 0);
        grid.Prepare();
        EXPECT_EQ(finalTarget, grid.rect.right - grid.rect.left) << line;
        int end = 0;
        for (int i = 0; i < count; ++i) {
            int expected;
            in >> expected;
            EXPECT_EQ(expected, grid.Columns().FinalSize(i)) << line << " track " << i;
            end += expected;
            EXPECT_EQ(end, grid.Columns().End(i)) << line;
        }
    }
}

TEST(GridLayout, WeightsShareTheParentsSpareWidthAndChildrenTakeTheirCells)
{
    // Weights 1 and 2 over 100 spare pixels: 33 and 67, and the children follow the tracks.
    t_layoutGrid* grid = new t_layoutGrid(1, 2);
    grid->SetColumnInfo(0, 0, 0, 0, 1.0f);
    grid->SetColumnInfo(1, 0, 0, 0, 2.0f);
    t_leaf* left = new t_leaf(0, 10);
    t_leaf* right = new t_leaf(0, 10);
    ASSERT_TRUE(grid->AddChildAt(t_layoutPtr(left), 0, 0));
    ASSERT_TRUE(grid->AddChildAt(t_layoutPtr(right), 0, 1));
    t_layoutAligned root;
    root.AddChild(t_layoutPtr(grid), t_alignInfo::Default());
    root.SetRect(0, 0, 0, 0);
    root.Measure(nullptr);
    root.SetRect(5, 7, 105, 40);
    root.Layout(nullptr);
    EXPECT_EQ("5,7,38,17", Text(left->rect));  // the unweighted row keeps its 10 pixels
    EXPECT_EQ("38,7,105,17", Text(right->rect));
    EXPECT_EQ(left, grid->GetChildAt(0, 0));
    EXPECT_EQ(nullptr, grid->GetChildAt(0, 2));
}

TEST(GridLayout, GrowsToContentAndKeepsUnweightedTracks)
{
    t_layoutGrid grid(2, 2);
    t_leaf* a = new t_leaf(100, 20);
    t_leaf* b = new t_leaf(100, 30);
    t_leaf* spanning = new t_leaf(400, 400);
    grid.AddChildAt(t_layoutPtr(a), 0, 0);
    grid.AddChildAt(t_layoutPtr(b), 1, 1);
    ASSERT_TRUE(grid.SetCell(t_layoutPtr(spanning), {0, 1, 0, 1}));
    EXPECT_EQ(0, grid.Measure(nullptr));
    // The spanning child widens no track; content is 200 x 50.
    EXPECT_EQ("0,0,200,50", Text(grid.rect));
    EXPECT_EQ("0,0,200,50", Text(grid.GetChildRect(spanning)));

    // A wider parent without weights: the rectangle grows, the tracks do not.
    grid.SetRect(0, 0, 300, 50);
    grid.Prepare();
    EXPECT_EQ(300, grid.rect.right);
    EXPECT_EQ(100, grid.Columns().FinalSize(0));
    EXPECT_EQ(100, grid.Columns().FinalSize(1));
    EXPECT_EQ("100,20,200,50", Text(grid.GetChildRect(b)));

    // Narrower than the content: the grid grows back to it.
    grid.SetRect(0, 0, 50, 10);
    grid.Prepare();
    EXPECT_EQ("0,0,200,50", Text(grid.rect));
}

TEST(GridLayout, CellsOutsideTheGridAreRefusedAndAChildIsHeldOnce)
{
    t_layoutGrid grid(2, 3);
    const t_gridSpan refused[] = {{0, 2, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 3}, {0, 0, -1, 0}};
    for (const t_gridSpan& span : refused)
        EXPECT_FALSE(grid.SetCell(MakeOwned<t_leaf>(1, 1), span));
    EXPECT_EQ(0, grid.ChildCount());
    t_leaf* child = new t_leaf(1, 1);
    ASSERT_TRUE(grid.SetCell(t_layoutPtr(child), {1, 0, 0, 0}));  // row0 > row1 is accepted
    for (const t_gridSpan& span : refused)
        EXPECT_FALSE(grid.MoveCell(child, span));
    EXPECT_FALSE(grid.MoveCell(nullptr, {1, 1, 2, 2}));
    ASSERT_TRUE(grid.MoveCell(child, {1, 1, 2, 2}));  // placed again: one entry, new span
    EXPECT_EQ(1, grid.ChildCount());
    EXPECT_EQ(child, grid.GetChildAt(1, 2));
    EXPECT_EQ(nullptr, grid.FindCell(nullptr));
    grid.EraseCell(child);
    const t_layoutPtr taken = grid.RemoveChild(child);
    EXPECT_EQ(child, taken.get());
    EXPECT_EQ(0, grid.ChildCount());
    EXPECT_EQ(nullptr, grid.RemoveChild(child));
    EXPECT_EQ(nullptr, grid.GetChildAt(1, 2));
    EXPECT_EQ("0,0,0,0", Text(grid.GetChildRect(child)));
}

TEST(GridLayout, ResizingNeverDropsTracksAndZeroesThem)
{
    t_layoutGrid grid(3, 2);
    grid.SetRowInfo(2, 5, 40, 9, 1.0f);
    grid.SetRowInfo(3, 5, 40, 9, 1.0f);  // out of range: ignored
    grid.SetColumnInfo(0, 0, 15, 0, 0.0f);
    EXPECT_EQ(15, grid.GetSize().cx);
    EXPECT_EQ(40, grid.GetSize().cy);
    grid.SetSize(1, 4);
    EXPECT_EQ(3, grid.RowCount());
    EXPECT_EQ(4, grid.ColumnCount());
    EXPECT_EQ(0, grid.Rows()[2].minSize);
    EXPECT_EQ(0, grid.GetSize().cx);
}

TEST(AlignedLayout, DefaultRecordFillsAndKeepFlagsHoldTheMeasuredSize)
{
    t_layoutAligned root;
    root.SetMinSize(200, 100);
    t_leaf* filler = new t_leaf(30, 20, 0);
    t_leaf* kept = new t_leaf(30, 20, 3);
    t_leaf* stretched = new t_leaf(30, 20, 0);
    ASSERT_TRUE(root.AddChild(t_layoutPtr(filler), t_alignInfo::Default()));
    ASSERT_TRUE(root.AddChildAligned(t_layoutPtr(kept), 1, 10, 0, 5, 1, 4, 0, 0));
    ASSERT_TRUE(root.AddChildAligned(t_layoutPtr(stretched), 1, 10, 0, 5, 1, 4, 0, 0));
    root.SetRect(50, 60, 50, 60);
    EXPECT_EQ(3, root.Measure(nullptr));
    EXPECT_EQ("50,60,250,160", Text(root.rect));
    root.Layout(nullptr);
    EXPECT_EQ("50,60,250,160", Text(filler->rect));
    EXPECT_EQ("60,64,90,84", Text(kept->rect));
    EXPECT_EQ("60,64,245,160", Text(stretched->rect));
}

TEST(AlignedLayout, ContentSizeCountsMarginsAndAChildAddedTwiceHasOneRecord)
{
    t_layoutAligned root;
    t_leaf* child = new t_leaf(40, 10);
    root.AddChildAligned(t_layoutPtr(child), 1, 1, 2, 2, 1, 3, 2, 4);
    t_alignInfo again = *root.FindChild(child);
    again.leftMargin = 6;
    again.rightMargin = 7;
    again.topMargin = 8;
    again.bottomMargin = 9;
    t_leaf stranger(1, 1);
    EXPECT_FALSE(root.Realign(&stranger, again));
    ASSERT_TRUE(root.Realign(child, again));
    EXPECT_EQ(1, root.ChildCount());
    ASSERT_NE(nullptr, root.FindChild(child));
    EXPECT_EQ(6, root.FindChild(child)->leftMargin);
    EXPECT_EQ(40 + 13, root.GetSize().cx);
    EXPECT_EQ(10 + 17, root.GetSize().cy);
    root.Measure(nullptr);
    EXPECT_EQ(53, root.ContentWidth());
    EXPECT_EQ(27, root.ContentHeight());
    EXPECT_EQ(nullptr, root.FindChild(nullptr));
    EXPECT_EQ("0,0,0,0", Text(root.GetChildRect(nullptr)));
}

TEST(AlignedLayout, ExtremeMarginsAndSizesClampInsteadOfWrapping)
{
    int nearEdge = 0, farEdge = 0;
    AlignSpan(INT_MAX - 10, INT_MAX, INT_MAX, 2, -INT_MAX, 2, INT_MIN, false, nearEdge, farEdge);
    EXPECT_EQ(INT_MAX, nearEdge);
    EXPECT_EQ(INT_MAX, farEdge);
    AlignSpan(INT_MIN, INT_MIN + 4, INT_MAX, 0, INT_MAX, 1, INT_MIN, true, nearEdge, farEdge);
    EXPECT_EQ(INT_MIN, nearEdge);
    EXPECT_EQ(INT_MIN, farEdge);

    t_layoutAligned root;
    root.AddChildAligned(t_layoutPtr(new t_leaf(INT_MAX, 10)), 1, INT_MAX, 2, INT_MAX, 1, 0, 2, 0);
    root.SetRect(100, 0, 100, 0);
    root.Measure(nullptr);
    EXPECT_EQ(INT_MAX, root.ContentWidth());
    EXPECT_EQ(INT_MAX, root.rect.right);
    EXPECT_EQ(INT_MAX, root.GetSize().cx);

    t_layoutGrid grid(1, 2);
    grid.SetColumnInfo(0, 0, INT_MAX, 0, 0.0f);
    grid.SetColumnInfo(1, 0, INT_MAX, 0, 0.0f);
    EXPECT_EQ(INT_MAX, grid.GetSize().cx);
    grid.SetRect(-5, 0, 0, 0);
    grid.Prepare();
    EXPECT_EQ(INT_MAX - 5, grid.rect.right);
    EXPECT_EQ(INT_MAX, grid.Columns().End(1));
}

TEST(AlignedLayout, ComputeRectIgnoresKeep)
{
    t_alignInfo record = t_alignInfo::Default();
    record.rightMode = t_alignInfo::e_free;
    record.SetSize(10, 10);
    record.measureValue = 3;
    EXPECT_TRUE(SameRect(RECT{0, 0, 100, 50}, t_alignInfo::ComputeRect(record, 0, 0, 100, 50)));
    EXPECT_EQ("0,0,10,50", Text(record.Place(RECT{0, 0, 100, 50}, true, false)));
}

}  // namespace
