#include "toolkit/richhint/wnd_rich_hint.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/richhint/rich_hint_element.h"
#include "toolkit/richhint/rich_hint_row.h"
#include "toolkit/controls/ui_context.h"

namespace {

const HWND c_hostWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4321));
const HWND c_ownerValue = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));

// The host: settings it knows, and every call the hint made, in order.
class t_fakeHost : public ImcWrapImplBase {
public:
    std::vector<std::wstring> calls;
    std::wstring lastText;
    HWND lastHost = nullptr;
    // Runs inside the host's quick-input and search calls (a hint rebuilt from a handler).
    void (*inHandler)(t_fakeHost&) = nullptr;
    t_wndRichHint* hint = nullptr;

    void CommitEnv() override { calls.push_back(L"commit"); }
    void SearchText(HWND host, const wchar_t* text) override
    {
        calls.push_back(std::wstring(L"search ") + text);
        lastHost = host;
        if (inHandler)
            inHandler(*this);
    }
    bool GetEnvBool(const wchar_t* name, bool& value) override
    {
        if (wcscmp(name, L"Opt") == 0 || wcscmp(name, L"Btn") == 0) {
            value = false;
            return true;
        }
        return false;
    }
    bool GetEnvInt(const wchar_t* name, int& value) override
    {
        if (wcscmp(name, L"Size") != 0)
            return false;
        value = 20;
        return true;
    }
    void SetEnvBool(const wchar_t* name, bool value) override
    {
        calls.push_back(std::wstring(L"bool ") + name + (value ? L"=1" : L"=0"));
    }
    void SetEnvInt(const wchar_t* name, int value) override
    {
        calls.push_back(std::wstring(L"int ") + name + L"=" + std::to_wstring(value));
    }
    void ShowQuickInput(HWND host, const wchar_t* text) override
    {
        calls.push_back(std::wstring(L"quick ") + text);
        lastHost = host;
        if (inHandler)
            inHandler(*this);
    }
};

// A hint that records the addresses it would open instead of starting a browser.
class t_testHint : public t_wndRichHint {
public:
    std::vector<std::wstring> opened;

protected:
    void OpenHref(const wchar_t* href) override { opened.push_back(href); }
};

t_richHintRequest Request(const wchar_t* background, const wchar_t* arrow, int linger)
{
    t_richHintRequest request = {};
    request.owner = c_ownerValue;
    request.background = background;
    request.arrow = arrow;
    request.module = GetModuleHandleW(nullptr);
    request.arrowFlag = arrow != nullptr;
    request.splitLeft = 8;
    request.splitTop = 8;
    request.splitRight = 32;
    request.splitBottom = 32;
    request.marginLeft = request.marginTop = request.marginRight = request.marginBottom = 10;
    request.arrowTopOffset = 1;
    request.arrowBottomOffset = 0;
    request.linger = linger;
    request.closeId = -1;
    return request;
}

class RichHintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wcscpy(t_wndRichHint::ClassNameBuffer(), L"RichHintTestWnd");
        ASSERT_TRUE(t_wndRichHint::RegisterClass());
        ASSERT_TRUE(hint.Create(WS_POPUP, 0, 0, 100, 100, 0, nullptr, nullptr));
        host.hint = &hint;
        context.SetImcWrap(&host);
        context.SetHostWindow(c_hostWindow);
        hint.SetContext(&context);
    }

    // The screen point at the middle of an element's content (dx, dy from its top-left
    // corner when given).
    POINT ElementPoint(int rowIndex, int elementIndex, int dx = -1, int dy = -1)
    {
        int y = hint.marginTop + (hint.placedAbove || !hint.HasArrow() ? 0 : hint.arrowHeight);
        for (int i = 0; i < rowIndex; ++i)
            y += hint.RowAt(i)->height + c_richHintRowGap;
        t_richHintRow* row = hint.RowAt(rowIndex);
        int x = hint.marginLeft;
        for (int i = 0; i < elementIndex; ++i)
            x += row->elements[i]->GetCellSize().cx;
        t_wndRichHintElement* element = row->elements[elementIndex];
        RECT content = {};
        element->GetRectInRow(POINT{x, y}, SIZE{element->GetCellSize().cx, row->height}, content);
        const RECT window = hint.GetRect();
        const int px = dx < 0 ? (content.left + content.right) / 2 : content.left + dx;
        const int py = dy < 0 ? (content.top + content.bottom) / 2 : content.top + dy;
        return POINT{window.left + px, window.top + py};
    }

    void Click(POINT p)
    {
        hint.OnMouseMove(0, p.x, p.y);
        hint.OnLButtonDown(MK_LBUTTON, p.x, p.y);
        hint.OnLButtonUp(0, p.x, p.y);
    }

    void ShowWithText(const wchar_t* markup)
    {
        hint.SetText(markup);
        const RECT anchor = {200, 200, 220, 220};
        hint.ShowAt(anchor, false);
    }

    bool Visible() const { return hint.hwnd && IsWindowVisible(hint.hwnd); }

    // Client pixel of the rendered window (BGRA).
    uint32_t PixelAt(int x, int y)
    {
        const SIZE size = hint.GetSize();
        HDC screen = GetDC(nullptr);
        t_memDC dib;
        const bool rendered = hint.RenderToDib(screen, dib, size.cx, size.cy);
        ReleaseDC(nullptr, screen);
        if (!rendered || x < 0 || y < 0 || x >= size.cx || y >= size.cy)
            return 0;
        return dib.Pixels()[(size.cy - 1 - y) * size.cx + x];
    }

    t_fakeHost host;
    t_uiContext context;
    t_testHint hint;
};

TEST_F(RichHintTest, LinesBecomeRows)
{
    struct t_case {
        const wchar_t* text;
        bool plain;
        int rows;
    } const cases[] = {
        {L"one\r\ntwo\r\n", false, 2},  // a trailing break adds no row
        {L"one\r\n\r\ntwo", false, 3},  // an empty line between two breaks is a row
        {L"", false, 0},
        {L"<b bold>\r\n<a text=\"x\" href=\"y\">", true, 2},
        {L"single", false, 1},
    };
    for (const t_case& c : cases) {
        hint.SetContent(c.text, c.plain);
        EXPECT_EQ(c.rows, hint.RowCount()) << testing::PrintToString(std::wstring(c.text));
    }

    // Plain pieces stay text, tags and all.
    hint.SetContent(L"<b bold>", true);
    ASSERT_EQ(1, hint.RowCount());
    ASSERT_EQ(1, hint.RowAt(0)->elements.Count());
    EXPECT_EQ(t_wndRichHintElement::e_text, hint.RowAt(0)->elements[0]->Kind());

    // The empty middle row holds one empty text; rows stand 5 apart inside the margins.
    hint.SetContent(L"one\r\n\r\ntwo", false);
    ASSERT_EQ(1, hint.RowAt(1)->elements.Count());
    EXPECT_EQ(t_wndRichHintElement::e_text, hint.RowAt(1)->elements[0]->Kind());
    SIZE size = {};
    ASSERT_TRUE(hint.Measure(size));
    EXPECT_GT(hint.RowAt(0)->height, 0);
    const int rows = hint.RowAt(0)->height + hint.RowAt(1)->height + hint.RowAt(2)->height;
    EXPECT_EQ(rows + 2 * c_richHintRowGap, hint.contentHeight);
    EXPECT_EQ(hint.contentWidth + 20, size.cx);
    EXPECT_EQ(hint.contentHeight + 20, size.cy);
}

TEST_F(RichHintTest, MoreLinkTakesTheSpareWidth)
{
    hint.Init(Request(nullptr, nullptr, 0));
    hint.SetContentWithMoreLink(L"a line much wider than the link below it, surely");
    ASSERT_EQ(2, hint.RowCount());
    t_richHintRow* link = hint.RowAt(1);
    ASSERT_EQ(1, link->elements.Count());
    EXPECT_EQ(t_wndRichHintElement::e_link, link->elements[0]->Kind());
    EXPECT_EQ(t_wndRichHintElement::e_right, link->elements[0]->Align());
    SIZE size = {};
    ASSERT_TRUE(hint.Measure(size));
    EXPECT_LT(link->elements[0]->GetContentSize().cx, hint.contentWidth);
    EXPECT_EQ(hint.contentWidth, link->elements[0]->GetCellSize().cx);

    // Its action asks the host for quick input with the owner value and the link's text.
    hint.ShowAt(RECT{200, 200, 220, 220}, false);
    Click(ElementPoint(1, 0));
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ(L"quick 更多字符画...", host.calls[0]);
    EXPECT_EQ(c_ownerValue, host.lastHost);
    EXPECT_FALSE(Visible());
}

TEST_F(RichHintTest, BackgroundThatDoesNotDecodeIsNotLoaded)
{
    hint.Init(Request(L"RICH_BROKEN", nullptr, 0));
    EXPECT_FALSE(hint.HasBackground());
    ShowWithText(L"text");
    EXPECT_EQ(0xFF888888u, PixelAt(1, 1));

    hint.Init(Request(L"RICH_BACK", nullptr, 0));
    EXPECT_TRUE(hint.HasBackground());
    ShowWithText(L"text");
    const SIZE size = hint.GetSize();
    EXPECT_EQ(0xFF282828u, PixelAt(1, 1));                      // the corner's border
    EXPECT_EQ(0xFF282828u, PixelAt(size.cx - 2, size.cy - 2));  // stretched to the far corner
    EXPECT_EQ(0xFFA0C8F0u, PixelAt(size.cx / 2, 6));            // the top edge's inside

    // A missing picture keeps what was loaded.
    hint.Init(Request(L"NO_SUCH_PICTURE", nullptr, 0));
    EXPECT_TRUE(hint.HasBackground());
}

TEST_F(RichHintTest, PlacedAboveOrBelowWithTheArrowFrame)
{
    hint.Init(Request(L"RICH_BACK", L"RICH_ARROW", 0));
    ASSERT_TRUE(hint.HasArrow());
    RECT area = {};
    const POINT corner = {300, 300};
    GetWorkArea(&corner, area);

    hint.SetText(L"near the bottom");
    const RECT low = {area.left + 100, area.bottom - 20, area.left + 120, area.bottom - 4};
    hint.ShowAt(low, false);
    EXPECT_TRUE(hint.placedAbove);
    EXPECT_EQ(t_wndRichHint::e_arrowDown, hint.ArrowFrame());
    RECT shown = hint.GetRect();
    EXPECT_LE(shown.bottom, low.top);
    SIZE size = hint.GetSize();
    // Frame 0 (red) at the bottom, at the arrow's x.
    EXPECT_EQ(0xFFFF0000u, PixelAt(hint.arrowX + 4, size.cy - 3));

    hint.SetText(L"near the top");
    const RECT high = {area.left + 100, area.top + 2, area.left + 120, area.top + 18};
    hint.ShowAt(high, true);
    EXPECT_FALSE(hint.placedAbove);
    EXPECT_EQ(t_wndRichHint::e_arrowUp, hint.ArrowFrame());
    shown = hint.GetRect();
    EXPECT_GE(shown.top, high.bottom);
    // Frame 2 (blue) at the top offset.
    EXPECT_EQ(0xFF0000FFu, PixelAt(hint.arrowX + 4, hint.arrowTopOffset + 3));
    // The body starts below the arrow.
    EXPECT_EQ(0xFF282828u, PixelAt(1, hint.arrowHeight + 1));

    // Without room below, preferring below still goes above.
    hint.SetText(L"again");
    hint.ShowAt(low, false);
    EXPECT_TRUE(hint.placedAbove);
}

TEST_F(RichHintTest, LeavingHidesAtOnceOrAfterTheDelay)
{
    ShowWithText(L"text");
    ASSERT_TRUE(Visible());
    hint.OnMouseEnter();
    hint.OnMouseLeave();
    EXPECT_FALSE(Visible());
    EXPECT_EQ(0, hint.RowCount());

    // The delayed hide: the eighth tick hides, unless the mouse comes back first.
    ShowWithText(L"text");
    hint.Hide(false);
    for (int tick = 1; tick < 8; ++tick) {
        hint.OnTimer(c_richHintTimerId);
        EXPECT_TRUE(Visible()) << tick;
    }
    hint.OnTimer(c_richHintTimerId);
    EXPECT_FALSE(Visible());
}

TEST_F(RichHintTest, LingersThenFades)
{
    hint.Init(Request(nullptr, nullptr, 1000));
    ShowWithText(L"text");
    hint.OnMouseEnter();
    hint.OnMouseLeave();
    ASSERT_TRUE(Visible());
    // About one second at full alpha.
    for (int tick = 0; tick < 21; ++tick)
        hint.OnTimer(c_richHintTimerId);
    EXPECT_EQ(255, hint.alpha);
    hint.OnTimer(c_richHintTimerId);
    hint.OnTimer(c_richHintTimerId);
    EXPECT_LT(hint.alpha, 255);
    const int faded = hint.alpha;
    hint.OnTimer(c_richHintTimerId);
    EXPECT_LT(hint.alpha, faded);

    // Coming back restores full alpha.
    hint.OnMouseEnter();
    EXPECT_EQ(255, hint.alpha);

    // Leaving again fades out over two seconds and hides.
    hint.OnMouseLeave();
    int ticks = 0;
    while (Visible() && ticks < 200) {
        hint.OnTimer(c_richHintTimerId);
        ++ticks;
    }
    EXPECT_FALSE(Visible());
    EXPECT_GE(ticks, 21 + 40);
    EXPECT_LE(ticks, 21 + 44);

    // Shown again, it is opaque from the start.
    ShowWithText(L"again");
    EXPECT_EQ(255, hint.alpha);
}

TEST_F(RichHintTest, AClickInsideStopsTheLeaveTimer)
{
    hint.Init(Request(nullptr, nullptr, 100));
    ShowWithText(L"text");
    hint.OnMouseEnter();
    const RECT r = hint.GetRect();
    hint.OnLButtonDown(MK_LBUTTON, r.left + 2, r.top + 2);
    hint.OnMouseLeave();
    for (int tick = 0; tick < 100; ++tick)
        hint.OnTimer(c_richHintTimerId);
    EXPECT_TRUE(Visible());
    EXPECT_EQ(255, hint.alpha);
}

TEST_F(RichHintTest, LinksSendTheirResults)
{
    ShowWithText(L"<a text=\"open\" href=\"http://example.com/x\">");
    Click(ElementPoint(0, 0));
    ASSERT_EQ(1u, hint.opened.size());
    EXPECT_EQ(L"http://example.com/x", hint.opened[0]);
    EXPECT_FALSE(Visible());

    ShowWithText(L"see <a text=\"find\" action=\"Search:kavrel\">");
    Click(ElementPoint(0, 1));
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ(L"search kavrel", host.calls[0]);
    EXPECT_EQ(c_hostWindow, host.lastHost);
    EXPECT_FALSE(Visible());
}

TEST_F(RichHintTest, ButtonCommitsItsGroup)
{
    ShowWithText(L"<check text=\"opt\" id=3 EnvItem=\"Opt\"><check text=\"other\" id=4 EnvItem=\"Opt\">\r\n"
                 L"<radio texts=\"small,big\" values=\"10,20\" id=3 EnvItem=\"Size\">\r\n"
                 L"<radio texts=\"x\" values=\"1\" id=3 EnvItem=\"Unknown\"><button text=\"OK\" id=3 EnvItem=\"Btn\">");
    ASSERT_EQ(3, hint.RowCount());
    // The check box toggles itself; only the button's click reaches the host.
    Click(ElementPoint(0, 0, 2));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(Visible());
    Click(ElementPoint(2, 1));
    const std::vector<std::wstring> expected = {L"bool Opt=1", L"int Size=20", L"bool Btn=0", L"commit"};
    EXPECT_EQ(expected, host.calls);
    EXPECT_FALSE(Visible());
}

// Rebuilds the hint from inside the host call that a link's handler makes.
void RebuildHint(t_fakeHost& host)
{
    host.hint->SetText(L"rebuilt\r\n<a text=\"again\" action=\"Search:2\">");
    host.hint->ShowAt(RECT{200, 200, 220, 220}, false);
}

TEST_F(RichHintTest, RebuiltWhileHoveredAndInsideAHandler)
{
    ShowWithText(L"<a text=\"hover me\" action=\"Search:1\">\r\nsecond line");
    const POINT link = ElementPoint(0, 0);
    hint.OnMouseMove(0, link.x, link.y);
    ASSERT_NE(nullptr, hint.hoveredRow);

    // Hidden while hovered: the hovered row goes with the rows.
    hint.Hide(true);
    EXPECT_EQ(nullptr, hint.hoveredRow);
    ShowWithText(L"<a text=\"hover me\" action=\"Search:1\">\r\nsecond line");
    hint.OnMouseMove(0, link.x, link.y + 1);
    ASSERT_NE(nullptr, hint.hoveredRow);

    // New content while hovered.
    hint.SetText(L"fresh");
    EXPECT_EQ(nullptr, hint.hoveredRow);
    hint.ShowAt(RECT{200, 200, 220, 220}, false);
    hint.OnMouseMove(0, link.x, link.y);

    // The host rebuilds the hint while the link's handler still runs: the handler ends in
    // a hide that must not free the rebuilt rows either.
    ShowWithText(L"<a text=\"hover me\" action=\"Search:1\">");
    host.inHandler = RebuildHint;
    Click(ElementPoint(0, 0));
    host.inHandler = nullptr;
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ(L"search 1", host.calls[0]);
    // The hide after the host call took the rebuilt content away; the window works on.
    EXPECT_FALSE(Visible());
    ShowWithText(L"<a text=\"again\" action=\"Search:2\">");
    Click(ElementPoint(0, 0));
    EXPECT_EQ(L"search 2", host.calls.back());
}

TEST_F(RichHintTest, PaintMessageValidates)
{
    ShowWithText(L"text");
    InvalidateRect(hint.hwnd, nullptr, FALSE);
    SendMessageW(hint.hwnd, WM_PAINT, 0, 0);
    EXPECT_FALSE(GetUpdateRect(hint.hwnd, nullptr, FALSE));
}

}  // namespace
