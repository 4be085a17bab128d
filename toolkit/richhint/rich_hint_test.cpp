// Rich-hint markup: lines cut into elements (hostile lines included), attribute forms,
// measuring and painting into a DIB, and the elements' answers to the mouse.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/config/runtime.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/paint_surface.h"
#include "tests/support/runtime_init.h"
#include "toolkit/richhint/rich_hint_button.h"
#include "toolkit/richhint/rich_hint_check_box.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_hyper_link.h"
#include "toolkit/richhint/rich_hint_image.h"
#include "toolkit/richhint/rich_hint_parser.h"
#include "toolkit/richhint/rich_hint_radio_button.h"
#include "toolkit/richhint/rich_hint_rich_text.h"
#include "toolkit/richhint/rich_hint_row.h"
#include "toolkit/richhint/rich_hint_text.h"

namespace {

using t_element = t_wndRichHintElement;

// A host that knows a few settings and records what the elements tell it.
class t_fakeHost : public t_wndRichHintDelegate {
public:
    std::map<std::wstring, bool> bools = {{L"known", true}, {L"off", false}};
    std::map<std::wstring, int> ints = {{L"choice", 2}};
    std::vector<std::wstring> calls;
    int redraws = 0;
    t_richHintRow* clearOnReport = nullptr;  // a host that drops the line while answering

    void OnHref(const wchar_t* href, const wchar_t* text) override { Report(L"href:", href, text); }
    void OnAction(const wchar_t* action, const wchar_t* text) override { Report(L"action:", action, text); }
    void OnButton(int id, const wchar_t* text) override { Report(L"button:", std::to_wstring(id).c_str(), text); }
    void OnCheck(int id, const wchar_t* text) override { Report(L"check:", std::to_wstring(id).c_str(), text); }
    void Redraw() override { ++redraws; }
    void OnImageClick() override { Report(L"image:", L"", L""); }
    bool GetEnvBool(const wchar_t* name, bool& value) override
    {
        auto found = bools.find(name);
        if (found == bools.end())
            return false;
        value = found->second;
        return true;
    }
    bool GetEnvInt(const wchar_t* name, int& value) override
    {
        auto found = ints.find(name);
        if (found == ints.end())
            return false;
        value = found->second;
        return true;
    }
    void OnHintClosed() override { calls.push_back(L"closed"); }

private:
    void Report(const wchar_t* what, const wchar_t* value, const wchar_t* text)
    {
        calls.push_back(std::wstring(what) + value + L"|" + text);
        if (clearOnReport)
            clearOnReport->Clear();
    }
};

// Resource.dll beside the test program holds the shared control pictures.
class RichHintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitRuntimeInProgramFolder();
    }

    void Parse(const std::wstring& line)
    {
        ParseRichHintLine(nullptr, line.c_str(), static_cast<int>(line.size()), row);
    }
    t_element* At(int i) { return row.elements[i]; }

    // Measures, stretches and paints the row at origin on a surface.
    void Lay(t_testSurface& surface, int width = 0)
    {
        MeasureRow(row, surface.Paint());
        StretchRow(row, width > row.width ? width : row.width);
    }

    t_fakeHost host;
    t_richHintRow row{&host};
};

// What one element shows of itself, for the table.
std::wstring Describe(t_element* element)
{
    switch (element->Kind()) {
    case t_element::e_text:
        return L"T:" + std::wstring(static_cast<t_wndRichHintText*>(element)->Text().c_str());
    case t_element::e_boldText:
        return L"B:" + std::wstring(static_cast<t_wndRichHintText*>(element)->Text().c_str());
    case t_element::e_styledText:
        return L"S:" + std::wstring(static_cast<t_wndRichHintRichText*>(element)->Text().c_str());
    case t_element::e_link: {
        auto* link = static_cast<t_wndRichHintHyperLink*>(element);
        return L"A:" + std::wstring(link->Text().c_str()) +
               (link->Mode() == t_wndRichHintHyperLink::e_href ? L">" + std::wstring(link->Href().c_str())
                                                               : L"!" + std::wstring(link->Action().c_str()));
    }
    case t_element::e_image:
        return L"I:" + std::wstring(static_cast<t_wndRichHintImage*>(element)->Id().c_str());
    case t_element::e_button: {
        auto* button = static_cast<t_wndRichHintButton*>(element);
        return L"U:" + std::wstring(button->Text().c_str()) + L"#" + std::to_wstring(button->Id());
    }
    case t_element::e_radio: {
        auto* radio = static_cast<t_wndRichHintRadioButton*>(element);
        std::wstring out = L"R:";
        for (int i = 0; i < radio->OptionCount(); ++i)
            out += std::wstring(radio->OptionText(i).c_str()) + L"=" + std::to_wstring(radio->OptionValue(i)) + L";";
        return out;
    }
    case t_element::e_checkBox:
        return L"C:" + std::wstring(static_cast<t_wndRichHintCheckBox*>(element)->Text().c_str());
    }
    return L"?";
}

TEST_F(RichHintTest, LinesBecomeTheirElements)
{
    const struct {
        std::wstring line;
        std::vector<std::wstring> elements;
    } cases[] = {
        {L"plain <b bold> tail", {L"T:plain ", L"B:bold", L"T: tail"}},
        {L"a < b", {L"T:a ", L"T:< b"}},
        {L"a > b", {L"T:a > b"}},
        {L"", {L"T:"}},
        {L"<br>", {L"B:"}},
        // Too short for "<b " and '>': nothing left to show, never a negative length.
        {L"<b>", {L"B:"}},
        {L"x<b", {L"T:x", L"B:"}},
        {L"<b", {L"B:"}},
        {L"<b x", {L"B:"}},
        {L"<<<>>>", {L"T:<<<>", L"T:>>"}},
        {L"<>", {L"T:<>"}},
        {L"<", {L"T:<"}},
        {L"<unknown tag>", {L"T:<unknown tag>"}},
        {L"<a text=\"a b\" href=\"http://x/?q=1\">", {L"A:a b>http://x/?q=1"}},
        {L"<a text=\"go\" href=\"u\" action=\"ShowQuickInput\">", {L"A:go!ShowQuickInput"}},
        {L"<a text=\"go\" action=\"Search:k\" href=\"u\">", {L"A:go>u"}},
        {L"<a>", {L"A:>"}},
        {L"<t text=\"styled\" fontsize=14>", {L"S:styled"}},
        // The splitter never splits at its first character: a second blank after the tag
        // name sticks to the first name, which then matches nothing.
        {L"<t  text=\"x\"   >", {L"S:"}},
        {L"<t text=\"x\"   >", {L"S:x"}},
        {L"<img id=\"IDR_HINTICON\" voffset=-2>", {L"I:IDR_HINTICON"}},
        {L"<button text=\"OK\" id=7 EnvItem=\"known\">", {L"U:OK#7"}},
        {L"<radio texts=\"A,B,C\" values=\"1,2\" EnvItem=\"choice\">", {L"R:A=1;B=2;"}},
        {L"<radio texts=\"A,,B\" values=\"x,5\">", {L"R:A=0;B=5;"}},
        {L"<check text=\"c\" EnvItem=\"known\">", {L"C:c"}},
        {L"Hi <a text=\"更多\" action=\"ShowQuickInput\" align=right>!", {L"T:Hi ", L"A:更多!ShowQuickInput", L"T:!"}},
        // A '>' inside quotes still ends the tag: there is no escaping.
        {L"<a text=\"a>b\">", {L"A:>", L"T:b\">"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << std::string(c.line.begin(), c.line.end()));
        Parse(c.line);
        ASSERT_EQ(c.elements.size(), static_cast<size_t>(row.elements.Count()));
        for (int i = 0; i < row.elements.Count(); ++i) {
            EXPECT_EQ(c.elements[i], Describe(At(i)));
            EXPECT_EQ(&host, At(i)->Delegate());
        }
    }

    // A negative length adds nothing; a new parse replaces the old elements.
    Parse(L"a<b b>c");
    ParseRichHintLine(nullptr, L"x", -1, row);
    EXPECT_EQ(0, row.elements.Count());
}

TEST_F(RichHintTest, AttributeFormsAndDefaults)
{
    Parse(L"<t text=\"a b\" align=\"right\" fontsize=\"14\" fontname=\"Courier New\" fontstyle=\"Bold,ITALIC\" "
          L"fontcolor=0000FF>");
    auto* styled = static_cast<t_wndRichHintRichText*>(At(0));
    EXPECT_EQ(t_element::e_left, styled->Align());  // quoted align does not count
    EXPECT_EQ(0, styled->LogFont().lfHeight);       // a quoted number reads as 0
    EXPECT_EQ(FW_BOLD, styled->LogFont().lfWeight);
    EXPECT_TRUE(styled->LogFont().lfItalic);
    EXPECT_STREQ(L"Courier New", styled->LogFont().lfFaceName);
    EXPECT_EQ(0xFF0000FFu, styled->Color());

    Parse(L"<t text=\"x\" align=center fontname=\"0123456789012345678901234567890123456789\">");
    styled = static_cast<t_wndRichHintRichText*>(At(0));
    EXPECT_EQ(t_element::e_centre, styled->Align());
    EXPECT_EQ(12, styled->LogFont().lfHeight);
    EXPECT_EQ(FW_NORMAL, styled->LogFont().lfWeight);
    EXPECT_EQ(31u, wcslen(styled->LogFont().lfFaceName));
    EXPECT_FALSE(styled->HasColor());

    Parse(L"<a text=\"l\" FontColor=12345678 align=right><check text=\"c\" EnvItem=\"known\" FONTCOLOR=00FF00>");
    EXPECT_EQ(0xFF345678u, static_cast<t_wndRichHintHyperLink*>(At(0))->Color());
    EXPECT_EQ(t_element::e_right, At(0)->Align());
    EXPECT_EQ(0xFF00FF00u, static_cast<t_wndRichHintCheckBox*>(At(1))->Color());

    // Offsets and numbers from the markup stay in range.
    Parse(L"<img voffset=99999999999><img voffset=-7><button id=-99999999999>");
    EXPECT_EQ(32767, At(0)->GetVOffset());
    EXPECT_EQ(-7, At(1)->GetVOffset());
    EXPECT_EQ(INT_MIN, static_cast<t_wndRichHintButton*>(At(2))->Id());

    // Settings the host knows decide what shows: an unknown check box and a radio group
    // without options take no place; a button records whether its setting exists.
    Parse(L"<check text=\"c\" EnvItem=\"unknown\"><radio texts=\"\" values=\"\" EnvItem=\"choice\">"
          L"<button text=\"b\" EnvItem=\"nothing\"><button text=\"b\" EnvItem=\"off\"><check text=\"o\" "
          L"EnvItem=\"known\">");
    EXPECT_FALSE(static_cast<t_wndRichHintCheckBox*>(At(0))->IsShown());
    EXPECT_FALSE(static_cast<t_wndRichHintRadioButton*>(At(1))->IsShown());
    EXPECT_FALSE(static_cast<t_wndRichHintButton*>(At(2))->IsKnown());
    EXPECT_TRUE(static_cast<t_wndRichHintButton*>(At(3))->IsKnown());
    EXPECT_TRUE(static_cast<t_wndRichHintCheckBox*>(At(4))->IsChecked());
    t_testSurface surface(100, 40, true);
    Lay(surface);
    EXPECT_EQ(0, At(0)->GetCellSize().cx);
    EXPECT_EQ(0, At(1)->GetContentSize().cx);
    EXPECT_EQ(0, At(1)->GetContentSize().cy);
    EXPECT_GT(At(4)->GetCellSize().cx, 14);
}

// Radio options grow without bound; the host's value picks the selected one.
TEST_F(RichHintTest, RadioGroupTakesAnyNumberOfOptions)
{
    std::wstring texts, values;
    for (int i = 0; i < 300; ++i) {
        texts += (i ? L"," : L"") + std::wstring(L"o") + std::to_wstring(i);
        values += (i ? L"," : L"") + std::to_wstring(i * 10);
    }
    host.ints[L"many"] = 2500;
    Parse(L"<radio id=4 EnvItem=\"many\" texts=\"" + texts + L"\" values=\"" + values + L"\">");
    auto* radio = static_cast<t_wndRichHintRadioButton*>(At(0));
    ASSERT_EQ(300, radio->OptionCount());
    EXPECT_STREQ(L"o299", radio->OptionText(299).c_str());
    EXPECT_EQ(250, radio->Selected());
    EXPECT_EQ(2500, radio->SelectedValue());

    host.ints[L"many"] = 7;  // no option has it: the first is selected
    Parse(L"<radio EnvItem=\"many\" texts=\"a,b\" values=\"1,2\">");
    EXPECT_EQ(0, static_cast<t_wndRichHintRadioButton*>(At(0))->Selected());
}

// Arbitrary lines, ending at a no-access page, parse, measure, paint and take the mouse.
TEST_F(RichHintTest, HostileLinesSurvive)
{
    const wchar_t alphabet[] = L"<>\"= ,abtdiogrcheklnmsxyz0123456789-#宋\x0001";
    const int letters = static_cast<int>(wcslen(alphabet)) + 1;  // the NUL too
    const wchar_t* fragments[] = {L"<a ",         L"<b ",   L"<t ",      L"<img ",     L"<radio ",           L"<check ",
                                  L"<button ",    L"text=", L"texts=\"", L"values=\"", L"EnvItem=\"known\"", L"id=",
                                  L"align=right", L">"};
    std::mt19937 random(1234);
    t_guardedBytes guard;
    t_testSurface surface(200, 60, true);
    for (int round = 0; round < 600; ++round) {
        std::wstring line;
        const int pieces = static_cast<int>(random() % 12);
        for (int i = 0; i < pieces; ++i) {
            if (random() % 2)
                line += fragments[random() % (sizeof(fragments) / sizeof(fragments[0]))];
            else
                line += alphabet[random() % letters];
        }
        const size_t bytes = line.size() * sizeof(wchar_t);
        const wchar_t* placed = reinterpret_cast<const wchar_t*>(guard.Place(line.data(), bytes));
        ASSERT_NE(nullptr, placed);
        ParseRichHintLine(nullptr, placed, static_cast<int>(line.size()), row);
        Lay(surface, 150);
        PaintRow(row, POINT{2, 2}, surface.Paint());
        for (int x = 0; x < 160; x += 7) {
            POINT origin = {};
            if (t_element* hit = HitTestRow(row, POINT{2, 2}, POINT{x, 8}, &origin)) {
                hit->OnMouseMove(origin, POINT{x, 8});
                hit->OnLButtonDown(origin, POINT{x, 8});
                hit->OnLButtonUp(origin, POINT{x, 8});
                hit->OnLeave();
            }
        }
    }
}

TEST_F(RichHintTest, RowsMeasureStretchAndHitTest)
{
    t_testSurface surface(300, 40, true);
    Parse(L"left <a text=\"link\" href=\"u\" align=right><t text=\"mid\" align=center>");
    MeasureRow(row, surface.Paint());
    const int natural = row.width;
    const int leftWidth = At(0)->GetCellSize().cx;
    const int linkWidth = At(1)->GetContentSize().cx;
    EXPECT_EQ(natural, leftWidth + linkWidth + At(2)->GetCellSize().cx);
    EXPECT_GT(leftWidth, 0);
    EXPECT_GT(row.height, 0);

    // The two aligned elements share the spare width; every cell takes the row height.
    StretchRow(row, natural + 40);
    EXPECT_EQ(natural + 40, row.width);
    EXPECT_EQ(leftWidth, At(0)->GetCellSize().cx);
    EXPECT_EQ(linkWidth + 20, At(1)->GetCellSize().cx);
    EXPECT_EQ(row.height, At(2)->GetCellSize().cy);

    const POINT origin = {10, 5};
    const int y = origin.y + row.height / 2;
    POINT cell = {};
    // The right-aligned link is hit only over its text at the right of its cell.
    EXPECT_EQ(nullptr, HitTestRow(row, origin, POINT{origin.x + leftWidth + 5, y}, &cell));
    EXPECT_EQ(At(1), HitTestRow(row, origin, POINT{origin.x + leftWidth + 21, y}, &cell));
    EXPECT_EQ(origin.x + leftWidth, cell.x);
    EXPECT_EQ(At(0), HitTestRow(row, origin, POINT{origin.x, y}, &cell));
    EXPECT_EQ(nullptr, HitTestRow(row, origin, POINT{origin.x, origin.y + row.height}, &cell));

    RECT rect;
    At(1)->GetRectInRow(POINT{0, 0}, SIZE{At(1)->GetCellSize().cx, row.height + 10}, rect);
    EXPECT_EQ(20, rect.left);
    EXPECT_EQ(5, rect.top);

    // No aligned element: nothing is stretched but the row's width.
    Parse(L"a <b b>");
    MeasureRow(row, surface.Paint());
    const int first = At(0)->GetCellSize().cx;
    StretchRow(row, 500);
    EXPECT_EQ(first, At(0)->GetCellSize().cx);
}

// Counts pixels with alpha inside a rectangle of the surface.
int Inked(t_testSurface& surface, const RECT& r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            n += (surface.At(x, y) >> 24) != 0;
    }
    return n;
}

TEST_F(RichHintTest, ElementsPaintInsideTheirCells)
{
    Parse(L"Ab <b Cd>x<a text=\"link\" href=\"u\"><img id=\"IDR_HINTICON\"><button text=\"OK\" id=1 EnvItem=\"known\">"
          L"<radio texts=\"x,y\" values=\"1,2\" EnvItem=\"choice\"><check text=\"c\" EnvItem=\"known\">"
          L"<img id=\"NO_SUCH_PICTURE\">");
    ASSERT_EQ(9, row.elements.Count());
    t_testSurface surface(400, 60, true);
    Lay(surface);
    // The icon is 16 x 16; the button its text plus 5 on each side; a missing picture 0 x 0.
    EXPECT_EQ(16, At(4)->GetContentSize().cx);
    EXPECT_EQ(16, At(4)->GetContentSize().cy);
    EXPECT_TRUE(static_cast<t_wndRichHintImage*>(At(4))->IsLoaded());
    EXPECT_EQ(0, At(8)->GetCellSize().cx);
    EXPECT_FALSE(static_cast<t_wndRichHintImage*>(At(8))->IsLoaded());
    EXPECT_GT(At(5)->GetContentSize().cx, 10);
    EXPECT_GE(At(6)->GetContentSize().cy, 2 * 14 + 3);

    const POINT origin = {4, 3};
    PaintRow(row, origin, surface.Paint());
    int x = origin.x;
    for (int i = 0; i < row.elements.Count(); ++i) {
        const SIZE cell = At(i)->GetCellSize();
        RECT content;
        At(i)->GetRectInRow(POINT{x, origin.y}, SIZE{cell.cx, row.height}, content);
        if (cell.cx > 0) {
            EXPECT_GT(Inked(surface, content), 4) << "element " << i;
        }
        x += cell.cx;
    }
    // Nothing is drawn past the last cell or below the row.
    EXPECT_EQ(0, Inked(surface, RECT{x, 0, 400, 60}));
    EXPECT_EQ(0, Inked(surface, RECT{0, origin.y + row.height, 400, 60}));
}

TEST_F(RichHintTest, TextColoursAndDefaultFonts)
{
    // Colours are GDI colours (red in the low byte): links blue (0xFF0000) by default, plain
    // text black, styled text in its own colour.
    Parse(L"<a text=\"MMMM\" href=\"u\"><t text=\"MMMM\" fontcolor=00FF00>MMMM");
    t_testSurface surface(200, 30, false);
    surface.Paint().FillRect(0, 0, 200, 30, 0xFFFFFFFF);
    Lay(surface);
    PaintRow(row, POINT{0, 0}, surface.Paint());
    const uint32_t expected[] = {0x0000FF, 0x00FF00, 0x000000};  // pixels of blue, green, black
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        const int w = At(i)->GetCellSize().cx;
        bool found = false;
        for (int yy = 0; yy < row.height && !found; ++yy) {
            for (int xx = x; xx < x + w && !found; ++xx)
                found = (surface.At(xx, yy) & 0xFFFFFF) == expected[i];
        }
        EXPECT_TRUE(found) << "element " << i;
        x += w;
    }
}

// Handlers get the element's own cell origin: a radio group or check box after other
// elements picks the option under the mouse.
TEST_F(RichHintTest, MouseReachesTheElementUnderIt)
{
    Parse(L"<t text=\"a wide leading text\"><radio id=2 texts=\"one,two,three\" values=\"1,2,3\" EnvItem=\"choice\">"
          L"<check id=2 text=\"c\" EnvItem=\"known\">");
    t_testSurface surface(400, 80, true);
    Lay(surface);
    auto* radio = static_cast<t_wndRichHintRadioButton*>(At(1));
    auto* box = static_cast<t_wndRichHintCheckBox*>(At(2));
    ASSERT_TRUE(radio->IsShown());
    EXPECT_EQ(1, radio->Selected());  // the host's value 2
    const POINT origin = {0, 0};
    RECT radioRect;
    const int radioX = At(0)->GetCellSize().cx;
    radio->GetRectInRow(POINT{radioX, 0}, radio->GetCellSize(), radioRect);

    // Third option: its line starts two option heights (text + 3) below the group's top.
    const int optionHeight = (radio->GetContentSize().cy - 2 * 3) / 3;
    const POINT third = {radioRect.left + 4, radioRect.top + 2 * (optionHeight + 3) + 2};
    POINT cell = {};
    ASSERT_EQ(radio, HitTestRow(row, origin, third, &cell));
    EXPECT_EQ(radioX, cell.x);
    radio->OnMouseMove(cell, third);
    EXPECT_EQ(2, radio->HoverIndex());
    EXPECT_TRUE(radio->OnLButtonDown(cell, third));
    EXPECT_TRUE(radio->OnLButtonUp(cell, third));
    EXPECT_EQ(2, radio->Selected());
    EXPECT_EQ(3, radio->SelectedValue());
    EXPECT_TRUE(radio->OnLeave());
    EXPECT_EQ(-1, radio->HoverIndex());

    // The check box after both: hover follows its own rect, a click toggles and reports.
    RECT boxRect;
    const POINT boxOrigin = {radioX + radio->GetCellSize().cx, 0};
    box->GetRectInRow(boxOrigin, box->GetCellSize(), boxRect);
    const POINT inBox = {boxRect.left + 2, (boxRect.top + boxRect.bottom) / 2};
    ASSERT_EQ(box, HitTestRow(row, origin, inBox, &cell));
    EXPECT_EQ(boxOrigin.x, cell.x);
    const int redraws = host.redraws;
    box->OnMouseMove(cell, inBox);
    EXPECT_TRUE(box->IsHovered());
    EXPECT_GT(host.redraws, redraws);
    EXPECT_TRUE(box->IsChecked());
    box->OnLButtonDown(cell, inBox);
    box->OnLButtonUp(cell, inBox);
    EXPECT_FALSE(box->IsChecked());
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ(L"check:2|c", host.calls[0]);
    // A release without a press does nothing.
    box->OnLButtonUp(cell, inBox);
    EXPECT_EQ(1u, host.calls.size());

    // Everything sharing id 2 that shows goes to the group.
    itl::ImmSimpleArray<t_element*> group;
    CollectGroup(row, 2, group);
    EXPECT_EQ(2, group.Count());
    group.Clear();
    CollectGroup(row, 3, group);
    EXPECT_EQ(0, group.Count());
}

TEST_F(RichHintTest, ClicksReportToTheHost)
{
    Parse(L"<a text=\"t1\" href=\"http://x\"><a text=\"t2\" action=\"Search:k\"><button text=\"OK\" id=5 "
          L"EnvItem=\"known\"><img id=\"IDR_HINTBUTTON\" type=1><button text=\"b\" id=5 EnvItem=\"none\">");
    t_testSurface surface(300, 40, true);
    Lay(surface);
    const POINT p = {0, 0};
    for (int i = 0; i < 4; ++i) {
        // An up without a down reports nothing.
        At(i)->OnLButtonUp(p, p);
        At(i)->OnMouseMove(p, p);
        At(i)->OnLButtonDown(p, p);
        At(i)->OnLButtonUp(p, p);
    }
    const std::vector<std::wstring> expected = {L"href:http://x|t1", L"action:Search:k|t2", L"button:5|OK", L"image:|"};
    EXPECT_EQ(expected, host.calls);
    // The strip picture is three states wide.
    EXPECT_EQ(18, At(3)->GetContentSize().cx);
    itl::ImmSimpleArray<t_element*> group;
    CollectGroup(row, 5, group);
    ASSERT_EQ(1, group.Count());
    EXPECT_EQ(At(2), group[0]);

    // A host that drops the line while answering a click: the handler touches nothing after.
    host.clearOnReport = &row;
    At(0)->OnLButtonDown(p, p);
    EXPECT_TRUE(At(0)->OnLButtonUp(p, p));
    EXPECT_EQ(0, row.elements.Count());
    EXPECT_EQ(nullptr, row.hovered);
}

}  // namespace
