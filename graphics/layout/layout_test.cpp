// The layout tree's walks: paint, background, hit-test and find orders, regions, moving,
// arranging a chain, minimum sizes, and the node bound to a window element.
#include <gtest/gtest.h>

#include <string>

#include "graphics/layout/layout_wnd.h"
#include "tests/support/paint_surface.h"

namespace {

// A node that records the walks that reach it in a shared log.
class t_logNode : public t_layout {
public:
    t_logNode(std::string name, std::string* log, bool hits = false) : m_name(std::move(name)), m_log(log), m_hits(hits)
    {}
    SIZE GetSize() override { return SIZE{minWidth, minHeight}; }
    int Measure(t_paintCtx*) override
    {
        *m_log += "m" + m_name + " ";
        return 3;
    }
    void Prepare() override { *m_log += "p" + m_name + " "; }
    RECT GetChildRect(t_layout*) override { return RECT{rect.left + 1, rect.top + 2, rect.left + 11, rect.top + 12}; }
    void Paint(t_paintCtx& context, const POINT* offset) override
    {
        *m_log += m_name + " ";
        t_layout::Paint(context, offset);
    }
    t_layout* FindNodeAt(int x, int y) override
    {
        *m_log += m_name + " ";
        if (m_hits)
            return this;
        return t_layout::FindNodeAt(x, y);
    }
    HRGN GetRegion(HDC dc) override
    {
        if (m_hits)
            return CreateRectRgn(0, 0, rect.right - rect.left, rect.bottom - rect.top);
        return t_layout::GetRegion(dc);
    }
    bool HitTest(POINT point, POINT* out) override
    {
        *m_log += m_name + " ";
        return m_hits || t_layout::HitTest(point, out);
    }
    void Add(t_layout* child) { AppendChild(t_layoutPtr(child)); }

private:
    std::string m_name;
    std::string* m_log;
    bool m_hits;
};

// A window element as the toolkit's would answer.
class t_testElement : public i_element {
public:
    int Measure(HDC) override { return measureValue; }
    void Paint_Layout(t_paintCtx&) override { ++paints; }
    HRGN GetRegion() override { return CreateRectRgn(0, 0, 4, 4); }
    RECT GetElementRect() const override { return rect; }
    bool IsElementVisible() const override { return visible; }
    SIZE GetElementMinSize() const override { return SIZE{17, 19}; }

    RECT rect{100, 100, 130, 120};
    bool visible = true;
    int measureValue = 3;
    int paints = 0;
};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(LayoutTree, PaintsAndHitTestsInnerFirstThenChildrenFromLastToFirst)
{
    std::string log;
    t_logNode root("root", &log);
    root.SetInner(t_layoutPtr(new t_logNode("inner", &log)));
    root.Add(new t_logNode("a", &log));
    root.Add(new t_logNode("b", &log));
    root.Add(new t_logNode("c", &log));
    t_testSurface surface(4, 4, true);
    root.Paint(surface.Paint(), nullptr);
    EXPECT_EQ("root inner c b a ", log);

    log.clear();
    EXPECT_FALSE(root.HitTest(POINT{0, 0}, nullptr));
    EXPECT_EQ("root inner c b a ", log);

    // Children in order for FindNodeAt, the inner node not asked; the first answer wins.
    log.clear();
    EXPECT_EQ(nullptr, root.FindNodeAt(0, 0));
    EXPECT_EQ("root a b c ", log);
}

TEST(LayoutTree, TheFirstHitStopsEachWalk)
{
    std::string log;
    t_logNode root("root", &log);
    root.Add(new t_logNode("a", &log, true));
    t_logNode* b = new t_logNode("b", &log, true);
    root.Add(b);
    root.Add(new t_logNode("c", &log));
    EXPECT_TRUE(root.HitTest(POINT{0, 0}, nullptr));
    EXPECT_EQ("root c b ", log);
    log.clear();
    EXPECT_NE(b, root.FindNodeAt(0, 0));
    EXPECT_EQ("root a ", log);
}

TEST(LayoutTree, RegionIsTheUnionOfChildRegionsAtTheirOffsets)
{
    std::string log;
    t_logNode root("root", &log);
    EXPECT_EQ(nullptr, root.GetRegion(nullptr));  // no children, no region
    root.SetRect(10, 10, 100, 100);
    t_logNode* a = new t_logNode("a", &log, true);
    t_logNode* b = new t_logNode("b", &log, true);
    root.Add(a);
    root.Add(b);
    root.Add(new t_logNode("none", &log));
    a->SetRect(10, 10, 20, 15);
    b->SetRect(30, 40, 35, 50);
    HRGN region = root.GetRegion(nullptr);
    ASSERT_NE(nullptr, region);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ("0,0,25,40", Text(box));
    EXPECT_TRUE(PtInRegion(region, 22, 32));
    EXPECT_FALSE(PtInRegion(region, 15, 20));
    DeleteObject(region);
}

TEST(LayoutTree, MoveToKeepsChildOffsetsAndMovesTheWholeChain)
{
    std::string log;
    t_logNode root("root", &log);
    t_logNode* second = new t_logNode("second", &log);
    t_logNode* third = new t_logNode("third", &log);
    root.SetNext(t_layoutPtr(second));
    second->SetNext(t_layoutPtr(third));
    root.SetRect(0, 0, 50, 40);  // the whole chain shares it
    EXPECT_EQ("0,0,50,40", Text(third->rect));
    second->SetSize(20, 10);
    third->SetSize(5, 6);
    t_logNode* child = new t_logNode("child", &log);
    root.Add(child);
    child->SetRect(7, 8, 17, 18);
    root.SetInner(t_layoutPtr(new t_logNode("inner", &log)));
    root.GetInner()->SetRect(0, 0, 50, 40);

    root.MoveTo(100, 200);
    EXPECT_EQ("100,200,150,240", Text(root.rect));
    EXPECT_EQ("100,200,120,210", Text(second->rect));
    EXPECT_EQ("100,200,105,206", Text(third->rect));
    EXPECT_EQ("107,208,117,218", Text(child->rect));
    EXPECT_EQ("100,200,150,240", Text(root.GetInner()->rect));
}

TEST(LayoutTree, LayoutArrangesEveryNodeOfTheChainAndTheInnerNode)
{
    std::string log;
    t_logNode root("root", &log);
    t_logNode* child = new t_logNode("child", &log);
    root.Add(child);
    root.SetInner(t_layoutPtr(new t_logNode("inner", &log)));
    t_logNode* second = new t_logNode("second", &log);
    t_logNode* secondChild = new t_logNode("secondChild", &log);
    second->Add(secondChild);
    root.SetNext(t_layoutPtr(second));
    root.SetRect(40, 50, 90, 80);
    root.Layout(nullptr);
    EXPECT_EQ("proot pchild minner pinner msecond psecond psecondChild ", log);
    EXPECT_EQ("41,52,51,62", Text(child->rect));
    EXPECT_EQ("40,50,90,80", Text(root.GetInner()->rect));
    EXPECT_EQ("40,50,90,80", Text(second->rect));
    EXPECT_EQ("41,52,51,62", Text(secondChild->rect));
}

TEST(LayoutTree, MinimumSizesSpreadToInnerAndChainAndApplyToTheSubtree)
{
    std::string log;
    t_logNode root("root", &log);
    root.SetInner(t_layoutPtr(new t_logNode("inner", &log)));
    root.SetNext(t_layoutPtr(new t_logNode("next", &log)));
    root.SetMinSize(30, 20);
    EXPECT_EQ(30, root.GetInner()->minWidth);
    EXPECT_EQ(20, root.GetNext()->minHeight);
    t_logNode* child = new t_logNode("child", &log);
    child->minWidth = 4;
    child->minHeight = 5;
    child->SetRect(3, 3, 100, 100);
    root.Add(child);
    root.SetRect(1, 2, 500, 500);
    root.ApplyMinSize();
    EXPECT_EQ("1,2,31,22", Text(root.rect));
    EXPECT_EQ("1,2,31,22", Text(root.GetNext()->rect));
    EXPECT_EQ("3,3,7,8", Text(child->rect));
}

TEST(LayoutTree, RemoveChildHandsTheChildBackAndKeepsTheOrderOfTheOthers)
{
    std::string log;
    t_logNode root("root", &log);
    t_logNode* a = new t_logNode("a", &log);
    t_logNode* b = new t_logNode("b", &log);
    t_logNode* c = new t_logNode("c", &log);
    root.Add(a);
    root.Add(b);
    root.Add(c);
    const t_layoutPtr taken = root.RemoveChild(b);
    EXPECT_EQ(b, taken.get());
    ASSERT_EQ(2, root.ChildCount());
    EXPECT_EQ(a, root.ChildAt(0));
    EXPECT_EQ(c, root.ChildAt(1));
    EXPECT_EQ(nullptr, root.RemoveChild(b));
    EXPECT_EQ(nullptr, root.RemoveChild(nullptr));
    EXPECT_EQ(2, root.ChildCount());
    int visited = 0;
    EXPECT_FALSE(root.AllChildren(
        [](t_layout* child, void* context) {
            ++*static_cast<int*>(context);
            return child->GetKind() != t_layout::e_kindPlain;
        },
        &visited));
    EXPECT_EQ(1, visited);
}

TEST(LayoutWnd, SizesFromTheElementAndPaintsThroughIt)
{
    t_testElement element;
    t_layoutWnd node(&element);
    EXPECT_EQ(t_layout::e_kindWnd, node.GetKind());
    EXPECT_EQ(17, node.GetSize().cx);
    node.SetRect(5, 6, 500, 500);

    struct t_case {
        bool visible;
        int measureValue;
        const char* rect;
        int result;
    } const cases[] = {
        {true, 3, "5,6,35,26", 3},
        {true, 1, "5,6,35,26", 1},
        {false, 2, "5,6,5,6", 2},  // hidden: empty size, value kept
        {true, 0, "5,6,5,6", 0},   // measures 0: stays collapsed
    };
    for (const t_case& c : cases) {
        element.visible = c.visible;
        element.measureValue = c.measureValue;
        node.SetRect(5, 6, 500, 500);
        EXPECT_EQ(c.result, node.Measure(nullptr));
        EXPECT_EQ(c.rect, Text(node.rect));
    }

    t_testSurface surface(4, 4, true);
    node.Paint(surface.Paint(), nullptr);
    EXPECT_EQ(1, element.paints);
    HRGN region = node.GetRegion(nullptr);
    EXPECT_NE(nullptr, region);
    DeleteObject(region);

    t_layoutWnd unbound;
    unbound.SetRect(1, 1, 9, 9);
    EXPECT_EQ(0, unbound.Measure(nullptr));
    EXPECT_EQ("1,1,9,9", Text(unbound.rect));
    EXPECT_EQ(nullptr, unbound.GetRegion(nullptr));
    EXPECT_EQ(0, unbound.GetSize().cx);
    unbound.Paint(surface.Paint(), nullptr);
}

}  // namespace
