#include "toolkit/controls/wnd_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/layout/layout.h"
#include "graphics/layout/layout_wnd.h"
#include "tests/support/paint_surface.h"
#include "toolkit/controls/wnd_hint.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// An element that writes what happens to it into a shared log.
class t_probe : public t_wndBase {
public:
    t_probe(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    ~t_probe() override
    {
        if (m_log)
            m_log->push_back("~" + m_name);
    }

    bool OnLButtonDown(UINT keys, int x, int y) override
    {
        m_log->push_back("down " + m_name);
        return t_wndBase::OnLButtonDown(keys, x, y) || (takesButton && visible && HitTest(x, y, 0));
    }
    void OnMouseEnter() override { m_log->push_back("enter " + m_name); }
    void OnMouseLeave() override
    {
        m_log->push_back("leave " + m_name);
        t_wndBase::OnMouseLeave();
    }
    bool OnTimer(UINT_PTR timerId) override
    {
        m_log->push_back("timer " + m_name + " " + std::to_string(timerId));
        return t_wndBase::OnTimer(timerId);
    }
    int GetHoverTime(int x, int y) override { return hoverTime ? hoverTime : t_wndBase::GetHoverTime(x, y); }
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override
    {
        m_log->push_back("message " + m_name);
        if (answers) {
            handled = true;
            return answers;
        }
        return t_wndBase::OnMessage(hwnd, msg, wParam, lParam, handled);
    }
    void Rebuild() override { m_log->push_back("rebuild " + m_name); }

    bool takesButton = false;
    int hoverTime = 0;
    LRESULT answers = 0;

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

// A layout node that fills its rectangle with one colour and answers hit tests as told.
class t_fillNode : public t_layout {
public:
    explicit t_fillNode(COLORREF color = 0, bool hits = true) : m_color(color), m_hits(hits) {}
    SIZE GetSize() override { return SIZE{0, 0}; }
    int Measure(t_paintCtx*) override { return 3; }
    void Prepare() override {}
    RECT GetChildRect(t_layout* child) override { return child->GetRect(); }
    void Paint(t_paintCtx& context, const POINT* offset) override
    {
        t_layout::Paint(context, offset);
        if (m_color) {
            RECT r = rect;
            if (offset)
                OffsetRect(&r, offset->x, offset->y);
            context.FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, m_color);
        }
    }
    bool HitTest(POINT, POINT*) override { return m_hits; }
    bool Add(t_layout* child) { return AppendChild(t_layoutPtr(child)); }

private:
    COLORREF m_color;
    bool m_hits;
};

// An element that paints its own rectangle in one colour.
class t_painter : public t_wndBase {
public:
    explicit t_painter(COLORREF color) : m_color(color) {}
    void Paint_Layout(t_paintCtx& context) override
    {
        const RECT r = GetRectInHwnd();
        context.FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, m_color);
    }

private:
    COLORREF m_color;
};

bool SameRect(const RECT& r, int left, int top, int right, int bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

// A pixel of a 32-bit DIB for a grey GDI colour (the same in either byte order).
uint32_t Grey(int level) { return static_cast<uint32_t>(level * 0x010101); }

TEST(WndBase, CreatePlacesChildrenAtTheParentOriginAndSharesTheTop)
{
    t_wndTop top;
    top.rect = {100, 200, 400, 500};
    t_wndBase parent;
    parent.top = &top;
    parent.rect = {100, 200, 300, 400};
    t_wndBase* child = new t_wndBase;
    ASSERT_TRUE(child->Create(0, 5, 7, 20, 10, 42, nullptr, &parent));
    EXPECT_TRUE(SameRect(child->rect, 105, 207, 125, 217));
    EXPECT_EQ(child->parent, &parent);
    EXPECT_EQ(child->top, &top);
    EXPECT_EQ(child->id, 42);
    ASSERT_EQ(parent.ChildCount(), 1);

    t_wndBase* grandchild = new t_wndBase;
    ASSERT_TRUE(grandchild->CreateWithValue(0, 1, 2, 3, 4, 7, nullptr, child, 99));
    EXPECT_TRUE(SameRect(grandchild->rect, 106, 209, 109, 213));
    EXPECT_EQ(grandchild->value, 99);
    EXPECT_EQ(grandchild->top, &top);

    // Without a parent the origin is (0, 0).
    t_wndBase lone;
    lone.Create(0, 5, 7, 20, 10, 0, nullptr, nullptr);
    EXPECT_TRUE(SameRect(lone.rect, 5, 7, 25, 17));

    // A parent with a layout places children from the layout's origin.
    t_wndBase laidOut;
    laidOut.rect = {0, 0, 50, 50};
    t_fillNode node;
    node.SetRect(30, 40, 80, 90);
    laidOut.layout = &node;
    t_wndBase inLayout;
    inLayout.Create(0, 1, 1, 2, 2, 0, nullptr, &laidOut);
    EXPECT_TRUE(SameRect(inLayout.rect, 31, 41, 33, 43));
    laidOut.layout = nullptr;
}

TEST(WndBase, SetSizeKeepsOrShrinksByTheThreshold)
{
    struct t_case {
        int threshold;
        std::vector<int> requests;
        int width;  // after the last request
    };
    const t_case cases[] = {
        {-1, {120}, 120},                   // the first request is always taken
        {-1, {120, 80}, 120},               // never shrinks
        {-1, {120, 80, 150}, 150},          // grows
        {30, {120, 80}, 80},                // a shrink of 40 reaches 30
        {30, {120, 100}, 120},              // a shrink of 20 does not
        {30, {120, 90}, 90},                // exactly the threshold
        {0, {120, 119}, 119},               // any shrink
        {30, {120, 100, 70}, 70},           // the kept value stays 120 after a refused shrink
        {-1, {INT_MAX, INT_MIN}, INT_MAX},  // no overflow in the shrink
    };
    for (const t_case& c : cases) {
        t_wndBase element;
        element.keepWidth = true;
        element.shrinkThresholdWidth = c.threshold;
        for (int request : c.requests)
            element.SetSize(request, 10);
        EXPECT_EQ(element.keptWidth, c.width) << "threshold " << c.threshold;
        if (c.width != INT_MAX) {
            EXPECT_EQ(element.rect.right - element.rect.left, c.width) << "threshold " << c.threshold;
        }
    }

    // Without the keep flag the height follows every request; ForgetKeptSize restarts the rule.
    t_wndBase element;
    element.keepWidth = true;
    element.SetSize(120, 30);
    element.SetSize(80, 20);
    EXPECT_EQ(element.rect.right, 120);
    EXPECT_EQ(element.rect.bottom, 20);
    element.ForgetKeptSize();
    element.SetSize(80, 20);
    EXPECT_EQ(element.rect.right, 80);
}

TEST(WndBase, MoveToAndMoveByCarryTheSubtree)
{
    t_wndBase root;
    root.Create(0, 100, 100, 50, 50, 0, nullptr, nullptr);
    t_wndBase child, grandchild;
    child.Create(0, 10, 20, 30, 20, 0, nullptr, &root);
    grandchild.Create(0, 2, 3, 4, 5, 0, nullptr, &child);
    ASSERT_TRUE(SameRect(grandchild.rect, 112, 123, 116, 128));

    root.MoveTo(300, 400);
    EXPECT_TRUE(SameRect(root.rect, 300, 400, 350, 450));
    EXPECT_TRUE(SameRect(child.rect, 310, 420, 340, 440));
    EXPECT_TRUE(SameRect(grandchild.rect, 312, 423, 316, 428));

    root.MoveBy(-300, -400);
    EXPECT_TRUE(SameRect(root.rect, 0, 0, 50, 50));
    EXPECT_TRUE(SameRect(grandchild.rect, 12, 23, 16, 28));

    // SetBounds sizes the element and moves its children with it.
    child.SetBounds(-5, -6, 7, 8, false);
    EXPECT_TRUE(SameRect(child.rect, -5, -6, 2, 2));
    EXPECT_TRUE(SameRect(grandchild.rect, -3, -3, 1, 2));

    // With a layout the layout tree moves, and the element takes its rectangle.
    t_fillNode node;
    node.SetRect(0, 0, 10, 10);
    t_wndBase laidOut;
    laidOut.layout = &node;
    laidOut.MoveTo(40, 50);
    EXPECT_TRUE(SameRect(node.GetRect(), 40, 50, 50, 60));
    EXPECT_TRUE(SameRect(laidOut.rect, 40, 50, 50, 60));
    laidOut.MoveBy(1, 1);
    EXPECT_TRUE(SameRect(laidOut.GetRect(), 41, 51, 51, 61));
    laidOut.layout = nullptr;
}

TEST(WndBase, TopOffsetAndRectanglesRelativeToTheTop)
{
    t_wndBase element;
    element.rect = {1010, 505, 1030, 525};
    EXPECT_EQ(element.GetTopOffset().x, 0);
    EXPECT_TRUE(SameRect(element.GetRectInTop(), 0, 0, 0, 0));
    EXPECT_TRUE(SameRect(element.GetRectInHwnd(), 1010, 505, 1030, 525));
    EXPECT_EQ(element.GetHwnd(), nullptr);

    t_wndTop top;
    top.rect = {1000, 500, 1100, 600};
    top.hwnd = reinterpret_cast<HWND>(0x1234);
    top.ownerHwnd = reinterpret_cast<HWND>(0x5678);
    element.SetTop(&top);
    const POINT offset = element.GetTopOffset();
    EXPECT_EQ(offset.x, -1000);
    EXPECT_EQ(offset.y, -500);
    EXPECT_TRUE(SameRect(element.GetRectInTop(), 10, 5, 30, 25));
    EXPECT_TRUE(SameRect(element.GetRectInHwnd(), 10, 5, 30, 25));
    EXPECT_EQ(element.GetHwnd(), top.hwnd);

    // Drawing into the owner: screen coordinates stay as they are.
    top.ownerMode = true;
    EXPECT_EQ(element.GetTopOffset().x, 0);
    EXPECT_TRUE(SameRect(element.GetRectInHwnd(), 1010, 505, 1030, 525));
    EXPECT_TRUE(SameRect(element.GetRectInTop(), 10, 5, 30, 25));
    EXPECT_EQ(element.GetHwnd(), top.ownerHwnd);
    top.hwnd = nullptr;
    top.ownerHwnd = nullptr;
    element.SetTop(nullptr);

    // Size and client rectangle; a hidden element has no size.
    EXPECT_EQ(element.GetSize().cx, 20);
    EXPECT_TRUE(SameRect(element.GetClientRect(), 0, 0, 20, 20));
    element.visible = false;
    EXPECT_EQ(element.GetSize().cx, 0);
}

TEST(WndBase, MouseButtonsGoToVisibleElementsHitInCreationOrder)
{
    std::vector<std::string> log;
    t_probe root(&log, "root"), first(&log, "first"), second(&log, "second"), inner(&log, "inner");
    root.Create(0, 0, 0, 100, 100, 0, nullptr, nullptr);
    first.Create(0, 0, 0, 50, 50, 0, nullptr, &root);
    second.Create(0, 0, 0, 60, 60, 0, nullptr, &root);
    inner.Create(0, 10, 10, 10, 10, 0, nullptr, &first);
    second.takesButton = true;

    struct t_case {
        int x, y;
        bool firstVisible;
        bool result;
        std::vector<std::string> order;
    };
    const t_case cases[] = {
        {15, 15, true, true, {"down root", "down first", "down inner", "down second"}},
        {55, 55, true, true, {"down root", "down first", "down second"}},  // first is not hit: passes nothing on
        {90, 90, true, false, {"down root", "down first", "down second"}},
        {200, 200, true, false, {"down root"}},
        {15, 15, false, true, {"down root", "down first", "down second"}},  // hidden: takes nothing, asks no child
    };
    for (const t_case& c : cases) {
        log.clear();
        first.visible = c.firstVisible;
        EXPECT_EQ(root.OnLButtonDown(0, c.x, c.y), c.result) << c.x << "," << c.y;
        EXPECT_EQ(log, c.order) << c.x << "," << c.y;
    }

    // The first child that takes the button ends the walk.
    first.visible = true;
    inner.takesButton = true;
    log.clear();
    EXPECT_TRUE(root.OnLButtonDown(0, 15, 15));
    EXPECT_EQ(log, (std::vector<std::string>{"down root", "down first", "down inner"}));

    // A hidden element fails every hit test; the plain buttons answer false with no taker.
    first.visible = false;
    EXPECT_FALSE(first.HitTest(15, 15, 0));
    EXPECT_FALSE(first.OnRButtonUp(0, 15, 15));
    t_wndBase plain;
    plain.Create(0, 0, 0, 10, 10, 0, nullptr, nullptr);
    for (auto op :
         {&t_wndBase::OnLButtonDblClk, &t_wndBase::OnLButtonUp, &t_wndBase::OnRButtonDown, &t_wndBase::OnRButtonUp})
        EXPECT_FALSE((plain.*op)(0, 5, 5));
}

TEST(WndBase, HitTestUsesTheLayoutRectangleAndItsInnerNode)
{
    t_wndBase element;
    element.rect = {0, 0, 10, 10};
    t_fillNode node;
    node.SetRect(100, 100, 120, 120);
    element.layout = &node;
    EXPECT_FALSE(element.HitTest(5, 5, 0));
    EXPECT_TRUE(element.HitTest(110, 110, 0));
    node.SetInner(t_layoutPtr(new t_fillNode(0, false)));  // the inner node refuses
    EXPECT_FALSE(element.HitTest(110, 110, 0));
    EXPECT_FALSE(element.HitTest(5, 5, 0));
    element.layout = nullptr;
}

TEST(WndBase, OnlyTheFirstElementHitInAMoveBecomesHot)
{
    std::vector<std::string> log;
    t_wndTop top;
    top.rect = {0, 0, 200, 200};
    t_probe root(&log, "root"), first(&log, "first"), second(&log, "second"), deep(&log, "deep");
    root.Create(0, 0, 0, 100, 100, 0, nullptr, nullptr);
    first.Create(0, 0, 0, 50, 50, 0, nullptr, &root);
    second.Create(0, 20, 20, 70, 70, 0, nullptr, &root);
    deep.Create(0, 40, 40, 10, 10, 0, nullptr, &second);
    root.SetTop(&top);

    // Two siblings under the point: the first in creation order enters, the other stays out.
    // (The top clears its hot flag at the start of every move.)
    top.hotFlag = false;
    root.OnMouseMove(0, 30, 30);
    EXPECT_TRUE(first.hover);
    EXPECT_FALSE(second.hover);
    EXPECT_FALSE(root.hover);
    EXPECT_EQ(top.hotElement, &first);
    EXPECT_EQ(log, std::vector<std::string>{"enter first"});

    // Children before their parent: the grandchild enters, not its parent.
    top.hotFlag = false;
    log.clear();
    root.OnMouseMove(0, 65, 65);
    EXPECT_FALSE(first.hover);
    EXPECT_TRUE(deep.hover);
    EXPECT_FALSE(second.hover);
    EXPECT_EQ(top.hotElement, &deep);
    EXPECT_EQ(log, (std::vector<std::string>{"leave first", "enter deep"}));

    // Leaving the whole tree: the hovered element leaves and the hot element is cleared.
    top.hotFlag = false;
    log.clear();
    root.OnMouseMove(0, 500, 500);
    EXPECT_FALSE(deep.hover);
    EXPECT_FALSE(top.hotFlag);
    EXPECT_EQ(top.hotElement, nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"leave deep"});

    // A hidden element is never hit, so it never enters.
    top.hotFlag = false;
    first.visible = false;
    log.clear();
    root.OnMouseMove(0, 30, 30);
    EXPECT_FALSE(first.hover);
    EXPECT_TRUE(second.hover);
    EXPECT_EQ(log, std::vector<std::string>{"enter second"});

    // A hot element that goes away is no longer the top's hot element.
    {
        t_probe passing(nullptr, "passing");
        passing.Create(0, 0, 0, 10, 10, 0, nullptr, &root);
        top.hotFlag = true;
        top.hotElement = &passing;
    }
    EXPECT_EQ(top.hotElement, nullptr);
    EXPECT_FALSE(top.hotFlag);
    top.hotFlag = true;
    top.hotElement = &second;

    // LeaveTest: a hovered element that the point left is no longer the top's hot element.
    EXPECT_TRUE(top.hotFlag);
    EXPECT_FALSE(second.LeaveTest(POINT{5, 5}));
    EXPECT_FALSE(top.hotFlag);
    EXPECT_EQ(top.hotElement, nullptr);
    root.SetTop(nullptr);
}

TEST(WndBase, TimersHoverTimesMessagesAndSkinResetsReachChildren)
{
    std::vector<std::string> log;
    t_probe root(&log, "root"), a(&log, "a"), b(&log, "b"), aa(&log, "aa");
    root.Create(0, 0, 0, 100, 100, 0, nullptr, nullptr);
    a.Create(0, 0, 0, 50, 50, 0, nullptr, &root);
    b.Create(0, 40, 40, 50, 50, 0, nullptr, &root);
    aa.Create(0, 0, 0, 10, 10, 0, nullptr, &a);

    EXPECT_TRUE(root.OnTimer(201));
    EXPECT_EQ(log, (std::vector<std::string>{"timer root 201", "timer a 201", "timer aa 201", "timer b 201"}));

    a.hoverTime = 0;
    aa.hoverTime = 700;
    b.hoverTime = 300;
    EXPECT_EQ(root.GetHoverTime(5, 5), 700);    // first child hit decides, through its own child
    EXPECT_EQ(root.GetHoverTime(45, 45), 100);  // a is hit first; a has no child there
    EXPECT_EQ(root.GetHoverTime(80, 80), 300);
    EXPECT_EQ(root.GetHoverTime(99, 5), 100);  // nothing hit

    log.clear();
    b.answers = 17;
    bool handled = false;
    EXPECT_EQ(root.OnMessage(nullptr, WM_USER, 0, 0, handled), 17);
    EXPECT_TRUE(handled);
    EXPECT_EQ(log, (std::vector<std::string>{"message root", "message a", "message aa", "message b"}));
    b.answers = 0;
    handled = false;
    EXPECT_EQ(root.OnMessage(nullptr, WM_USER, 0, 0, handled), 0);
    EXPECT_FALSE(handled);

    log.clear();
    root.ResetUi(0);
    EXPECT_EQ(log, (std::vector<std::string>{"rebuild aa", "rebuild a", "rebuild b", "rebuild root"}));
}

TEST(WndBase, SetBoundsPutsTheCursorBackOnceForTheFirstElementThatAsked)
{
    t_wndBase root, first, second;
    root.Create(0, 100, 100, 200, 200, 0, nullptr, nullptr);
    first.Create(0, 10, 10, 20, 20, 0, nullptr, &root);
    second.Create(0, 50, 50, 20, 20, 0, nullptr, &root);
    for (t_wndBase* e : {&first, &second}) {
        e->cursorRestore = true;
        e->cursorRestorePending = true;
        e->cursorOffsetX = 3;
        e->cursorOffsetY = 4;
    }
    ASSERT_TRUE(SetCursorPos(1, 1));
    root.SetBounds(100, 100, 200, 200, false);
    POINT at = {0, 0};
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 113);
    EXPECT_EQ(at.y, 114);
    EXPECT_FALSE(first.cursorRestorePending);
    EXPECT_TRUE(second.cursorRestorePending);

    // The next one in the walk asks next time; cursorRestore alone asks for nothing.
    root.SetBounds(100, 100, 200, 200, false);
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 153);
    SetCursorPos(1, 1);
    root.SetBounds(100, 100, 200, 200, false);
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 1);
}

// A window object that holds one child as a member and gets one more from the heap.
class t_panel : public t_probe {
public:
    explicit t_panel(std::vector<std::string>* log) : t_probe(log, "panel"), member(log, "member")
    {
        Create(0, 0, 0, 100, 100, 0, nullptr, nullptr);
        member.Create(0, 0, 0, 10, 10, 0, nullptr, this);
        heapChild = new t_probe(log, "heap");
        heapChild->Create(0, 20, 0, 10, 10, 0, nullptr, this);
    }
    t_probe member;
    t_probe* heapChild;
};

// An element whose element part is not at the start of its object: another base comes first.
class t_secondBase {
public:
    virtual ~t_secondBase() = default;
    int padding = 0;
};
class t_laterProbe : public t_secondBase, public t_probe {
public:
    t_laterProbe(std::vector<std::string>* log, const char* name) : t_probe(log, name), member(log, "inner") {}
    t_probe member;
};

TEST(WndBase, AParentDeletesOnlyTheChildrenMadeWithNew)
{
    std::vector<std::string> log;
    // Destroyed as a whole: the member leaves the array as it goes, the heap child is deleted.
    t_panel* panel = new t_panel(&log);
    ASSERT_EQ(panel->ChildCount(), 2);
    delete panel;
    EXPECT_EQ(log, (std::vector<std::string>{"~member", "~panel", "~heap"}));

    // Destroy first (as a top does before it goes): the member is destroyed but not deleted.
    log.clear();
    {
        t_panel local(&log);
        local.Destroy();
        EXPECT_EQ(local.ChildCount(), 0);
        EXPECT_EQ(local.member.parent, nullptr);
        EXPECT_EQ(log, std::vector<std::string>{"~heap"});
    }
    EXPECT_EQ(log, (std::vector<std::string>{"~heap", "~member", "~panel"}));

    // A heap child deleted by someone else leaves its parent's array.
    log.clear();
    t_probe parent(&log, "parent");
    t_probe* a = new t_probe(&log, "a");
    t_probe* b = new t_probe(&log, "b");
    a->Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    b->Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    delete a;
    ASSERT_EQ(parent.ChildCount(), 1);
    EXPECT_EQ(parent.ChildAt(0), b);

    // Made with new (std::nothrow): deleted; placed in a caller's buffer: only detached.
    alignas(t_probe) unsigned char buffer[sizeof(t_probe)];
    t_probe* placed = new (static_cast<void*>(buffer)) t_probe(&log, "placed");
    t_probe* nothrowMade = new (std::nothrow) t_probe(&log, "nothrow");
    ASSERT_NE(nothrowMade, nullptr);
    placed->Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    nothrowMade->Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    log.clear();
    parent.Destroy();
    EXPECT_EQ(log, (std::vector<std::string>{"~b", "~nothrow"}));
    EXPECT_EQ(placed->parent, nullptr);
    placed->~t_probe();

    // Made with new though its element part sits behind another base: deleted too, with
    // its member, which is never deleted on its own.
    t_laterProbe* later = new (std::nothrow) t_laterProbe(&log, "later");
    ASSERT_NE(later, nullptr);
    ASSERT_NE(static_cast<void*>(static_cast<t_wndBase*>(later)), static_cast<void*>(later));
    later->Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    later->member.Create(0, 0, 0, 1, 1, 0, nullptr, &parent);
    log.clear();
    parent.Destroy();
    EXPECT_EQ(log, (std::vector<std::string>{"~inner", "~later"}));

    // A member of an element that is not its parent outlives that parent safely.
    t_probe* other = new t_probe(&log, "other");
    t_probe member(&log, "orphan");
    member.Create(0, 0, 0, 1, 1, 0, nullptr, other);
    delete other;
    EXPECT_EQ(member.parent, nullptr);
}

TEST(WndBase, PaintsThroughTheLayoutAtTheTopOffset)
{
    t_testSurface surface(40, 30, false);
    t_wndTop top;
    top.rect = {1000, 500, 1040, 530};

    // The element's own window node: painting walks its inner node and children.
    t_wndBase element;
    element.Create(0, 1010, 505, 4, 3, 0, nullptr, nullptr);
    element.SetTop(&top);
    t_layoutWnd* own = element.CreateLayout();
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(SameRect(own->GetRect(), 1010, 505, 1014, 508));
    own->SetInner(t_layoutPtr(new t_fillNode(Grey(0x80))));
    own->SetRect(own->GetRect());
    element.Paint_Layout(surface.Paint());
    EXPECT_EQ(surface.At(10, 5) & 0xFFFFFF, Grey(0x80));
    EXPECT_EQ(surface.At(13, 7) & 0xFFFFFF, Grey(0x80));
    EXPECT_EQ(surface.At(14, 7) & 0xFFFFFF, 0u);
    EXPECT_EQ(surface.At(9, 5) & 0xFFFFFF, 0u);

    // A tree that holds the element's own node again paints it once instead of recursing.
    t_fillNode* around = new t_fillNode(Grey(0x20));
    around->SetRect(own->GetRect());
    ASSERT_TRUE(around->Add(new t_layoutWnd(&element)));
    element.layout = around;
    element.Paint_Layout(surface.Paint());
    EXPECT_EQ(surface.At(10, 5) & 0xFFFFFF, Grey(0x20));
    element.layout = own;
    delete around;

    // PaintLayoutLinked paints the inner node only.
    own->SetInner(t_layoutPtr(new t_fillNode(Grey(0x40))));
    own->SetRect(own->GetRect());
    element.PaintLayoutLinked(surface.Paint());
    EXPECT_EQ(surface.At(10, 5) & 0xFFFFFF, Grey(0x40));
    element.SetTop(nullptr);
    delete own;
    element.layout = nullptr;
}

TEST(WndBase, OverlappingChildrenPaintTheFirstOnTopAndItTakesTheClick)
{
    t_testSurface surface(20, 20, false);
    t_wndBase root;
    root.Create(0, 0, 0, 20, 20, 0, nullptr, nullptr);
    t_painter first(Grey(0x30)), second(Grey(0x60));
    first.Create(0, 0, 0, 10, 10, 0, nullptr, &root);
    second.Create(0, 5, 5, 10, 10, 0, nullptr, &root);
    t_fillNode* rootNode = new t_fillNode;
    rootNode->SetRect(root.rect);
    ASSERT_TRUE(rootNode->Add(first.CreateLayout()));
    ASSERT_TRUE(rootNode->Add(second.CreateLayout()));
    root.layout = rootNode;

    root.Paint_Layout(surface.Paint());
    EXPECT_EQ(surface.At(7, 7) & 0xFFFFFF, Grey(0x30));  // overlap: the first child
    EXPECT_EQ(surface.At(12, 12) & 0xFFFFFF, Grey(0x60));
    EXPECT_EQ(surface.At(2, 2) & 0xFFFFFF, Grey(0x30));

    // The element under the point that paints on top is the first one the dispatch asks.
    EXPECT_EQ(root.ChildAt(0), &first);
    EXPECT_TRUE(first.HitTest(7, 7, 0));
    EXPECT_TRUE(second.HitTest(7, 7, 0));

    root.layout = nullptr;
    delete rootNode;
    first.layout = nullptr;
    second.layout = nullptr;
}

TEST(WndBase, RelayoutTakesTheMeasuredLayoutRectangle)
{
    t_wndBase element;
    element.Create(0, 10, 20, 30, 40, 0, nullptr, nullptr);
    t_layoutWnd* node = element.CreateLayout();
    ASSERT_NE(node, nullptr);
    node->SetRect(10, 20, 500, 500);  // stale size: Relayout measures it again
    element.Relayout(nullptr);
    EXPECT_TRUE(SameRect(element.rect, 10, 20, 40, 60));
    EXPECT_TRUE(SameRect(node->GetRect(), 10, 20, 40, 60));
    EXPECT_EQ(element.Measure(nullptr), 3);
    delete node;
    element.layout = nullptr;
}

// A top that records what its elements pass up to it, without a window.
class t_recordingTop : public t_wndTop {
public:
    void InvalidateAll() override { ++repaints; }
    void Invalidate(const RECT* area) override
    {
        if (area)
            lastArea = *area;
        ++repaints;
    }
    void CloseMenu(int flag) override { closedWith = flag; }
    int repaints = 0;
    RECT lastArea = {0, 0, 0, 0};
    int closedWith = -1;
};

TEST(WndBase, InvalidationAndMenuClosingReachTheTop)
{
    t_recordingTop top;
    top.rect = {100, 100, 300, 300};
    top.SetTop(&top);  // as Create does, without a window
    t_wndBase panel, item;
    panel.Create(0, 10, 10, 100, 100, 0, nullptr, &top);
    item.Create(0, 5, 5, 20, 20, 0, nullptr, &panel);
    ASSERT_EQ(item.top, &top);

    item.InvalidateAll();
    EXPECT_EQ(top.repaints, 1);
    item.Invalidate(nullptr);
    EXPECT_EQ(top.repaints, 2);
    const RECT area = {1, 2, 3, 4};
    item.Invalidate(&area);
    EXPECT_EQ(top.repaints, 3);
    EXPECT_TRUE(SameRect(top.lastArea, 1 + 115 + 110, 2 + 115 + 110, 3 + 115 + 110, 4 + 115 + 110));

    item.CloseMenu(7);
    EXPECT_EQ(top.closedWith, 7);
    // A menu asked of a hidden top closes the top's menu instead.
    top.closedWith = -1;
    top.shown = false;
    item.ShowMenu(POINT{0, 0}, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(top.closedWith, 1);
    top.dragging = true;
    top.closedWith = -1;
    item.ShowMenu(POINT{0, 0}, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(top.closedWith, -1);
    top.dragging = false;
    item.Destroy();
    panel.Destroy();
}

TEST(WndBase, TheTooltipShowsNearTheElementAndHidesForEmptyText)
{
    t_wndTop top;
    top.rect = {100, 100, 400, 300};
    top.SetTop(&top);
    t_wndBase item;
    item.Create(0, 100, 50, 40, 20, 0, nullptr, &top);  // screen (200, 150)-(240, 170)
    item.SetText(L"下一页");

    item.ShowHint(true);
    ASSERT_NE(top.hint, nullptr);
    EXPECT_TRUE(top.hint->shown);
    EXPECT_EQ(top.hint->rect.top, 170 + 10);  // below the anchor
    EXPECT_EQ(top.hint->rect.left, 200);

    item.ShowHint(false);
    EXPECT_FALSE(top.hint->shown);

    item.hintBelow = false;
    item.ShowHint(true);
    EXPECT_TRUE(top.hint->shown);
    EXPECT_EQ(top.hint->rect.bottom, 150 - 2);  // above the anchor

    // Showing with an empty text hides the shown tooltip; a drag in progress changes nothing.
    top.dragging = true;
    item.ShowHint(false);
    EXPECT_TRUE(top.hint->shown);
    top.dragging = false;
    item.SetText(L"");
    item.ShowHint(true);
    EXPECT_FALSE(top.hint->shown);
    item.Destroy();
}

TEST(WndBase, TextMenuAndElementInterface)
{
    t_wndBase element;
    element.SetText(L"提示");
    EXPECT_TRUE(element.text.Equals(L"提示"));
    element.SetText(nullptr);
    EXPECT_TRUE(element.text.IsEmpty());

    t_menuData data;
    t_menuItem item;
    item.text.Assign(L"设置");
    item.command = 5;
    ASSERT_TRUE(data.AddItem(item));
    data.title.Assign(L"标题");
    element.SetMenuData(data);
    ASSERT_EQ(element.menuData.items.Count(), 1);
    EXPECT_TRUE(element.menuData.items[0].text.Equals(L"设置"));
    EXPECT_EQ(element.menuData.items[0].command, 5);
    EXPECT_TRUE(element.menuData.title.Equals(L"标题"));

    element.rect = {1, 2, 3, 4};
    element.minWidth = 7;
    i_element& bound = element;
    EXPECT_TRUE(SameRect(bound.GetElementRect(), 1, 2, 3, 4));
    EXPECT_EQ(bound.GetElementMinSize().cx, 7);
    EXPECT_EQ(bound.GetRegion(), nullptr);
    EXPECT_FALSE(element.SuspendsDrag());
    EXPECT_TRUE(element.WantsHandCursor());

    // Nothing needs a top here: hint and menu requests without one do nothing.
    element.ShowHint(true);
    element.ShowMenu(POINT{0, 0}, 0, 0, nullptr, nullptr, 0);
    element.CloseMenu(1);
}

}  // namespace
