// The composition string: its thirteen items, what it takes from the host's record, how
// it styles the items from the skin, the caret it reports and how the sample composition
// of the editor's preview paints.
#include "ime_ui/windows/comp/wnd_comp_string.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/layout/layout.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/solid_draw.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_config_file.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/wnd_comp_rich_item.h"
#include "ime_ui/windows/comp/wnd_comp_string_bihua.h"
#include "ime_ui/windows/comp/wnd_comp_string_mode_icon.h"
#include "ime_ui/windows/comp/wnd_comp_string_text.h"
#include "ime_ui/windows/comp/wnd_du_hint.h"
#include "tests/support/painted_tree.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// A host that answers with the record the test sets. With sample on it writes the two
// texts of the editor's preview into the caller's buffer, as the preview does.
class t_fakeHost : public ImcWrapImplBase {
public:
    bool GetComposition(HWND, wchar_t* buffer, int capacity, int* hot, int* hotValue, t_compositionRecord* out) override
    {
        ++calls;
        seenCapacity = capacity;
        seenHot = *hot;
        seenHotValue = *hotValue;
        const t_compositionRecord zero = {};
        recordWasZero = memcmp(out, &zero, sizeof zero) == 0;
        bufferWasZero = true;
        for (int i = 0; i < capacity; ++i)
            bufferWasZero = bufferWasZero && buffer[i] == 0;
        if (!answer)
            return false;
        *out = fill;
        if (sample) {
            // "栖鹭", "", "pinyin", one after the other with their terminators.
            const wchar_t texts[] = L"栖鹭\0\0pinyin";
            memcpy(buffer, texts, sizeof texts);
            out->text1 = buffer;
            out->text2 = buffer + 3;
            out->compText = buffer + 4;
        }
        if (fillBuffer) {
            // The unit past the capacity is the string's own guard, not the host's to write.
            guardWasZero = buffer[capacity] == 0;
            // Every unit the host was given, with no room left for an end.
            for (int i = 0; i < capacity; ++i)
                buffer[i] = L'x';
            out->text1 = buffer;
        }
        *hot = hotIndex;
        *hotValue = hotLink;
        return true;
    }

    t_compositionRecord fill = {};
    bool answer = true;
    bool sample = false;
    bool fillBuffer = false;
    bool guardWasZero = false;
    int hotIndex = -1, hotLink = -1;
    int calls = 0;
    int seenCapacity = 0, seenHot = 0, seenHotValue = 0;
    bool recordWasZero = false, bufferWasZero = false;
};

// A runtime skin from a few [Display] lines, every text colour apart from the others.
bool LoadSkin(t_uiSkinData& skin, t_uiSettings& settings, bool flashDebug)
{
    settings = SkinOnSettings(16);
    settings.flashDebugMode = flashDebug;
    skin.SetSettings(&settings);
    const std::string bytes = Utf16File(L"[Display]\r\nfont_size=16\r\nfont_ch=Tahoma\r\nfont_en=Tahoma\r\n"
                                        L"pinyin_color=0x0000ff\r\nresult_color=0x00ff00\r\n"
                                        L"zhongwen_color=0x102030\r\ncomphint_color=0x405060\r\n"
                                        L"bihua_color=0x708090\r\ncaret_color=0xff0000\r\n");
    SkinConfigFile parsed;
    parsed.ParseDefault(bytes.data(), bytes.size());
    skin.LoadConfig(parsed);
    return skin.GetTextStylePtr(0) && skin.GetTextStylePtr(1) && skin.GetTextStylePtr(0)->font;
}

uint32_t StyleColour(const t_uiSkinData& skin, int index) { return *skin.GetTextStylePtr(index)->color; }

class CompStringTest : public ::testing::Test {
protected:
    CompStringTest()
    {
        MakeWindowlessTop(top, 100, 200, 600, 60);
        context.SetImcWrap(&host);
        comp = new t_wndCompString();
        comp->SetContext(&context);
        created = comp->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, &top);
    }
    ~CompStringTest() override
    {
        top.Destroy();
        t_wndCompRichItem::DestroySharedRichTip();
    }

    void UseSkin(bool flashDebug = false)
    {
        ASSERT_TRUE(LoadSkin(skin, settings, flashDebug));
        context.SetSkin(&skin);
    }
    t_wndTextItem* Item(int index) const { return comp->TextItemAt(index); }
    std::wstring Text(int index) const { return Item(index)->ItemText().c_str(); }
    // Puts the string's grid under the top's root and places every item.
    void LayOut()
    {
        comp->CreateLayout();
        ASSERT_NE(comp->layout, nullptr);
        static_cast<t_layoutAligned*>(top.layout)->AddChild(t_layoutPtr(comp->layout), t_alignInfo::Default());
        top.layout->Measure(nullptr);
        top.layout->SetRect(top.rect);
        top.layout->Layout(nullptr);
    }

    t_wndTop top;
    t_fakeHost host;
    t_uiContext context;
    t_uiSettings settings;
    t_uiSkinData skin;
    t_wndCompString* comp;
    bool created;
};

}  // namespace

TEST_F(CompStringTest, CreateMakesTheThirteenItemsInTheirPlaces)
{
    ASSERT_TRUE(created);
    ASSERT_EQ(t_wndCompString::c_itemCount, comp->ChildCount());
    EXPECT_TRUE(comp->showVersionHint);
    EXPECT_FALSE(comp->hasSearchButton);
    struct t_case {
        int index;
        bool typed;  // the typed accessor finds the item
        int alignKind;
        int fadeTimerId;
        int value;
    };
    const t_case cases[] = {
        {0, comp->ModeIconItem() != nullptr, 3, -1, 0},
        {1, true, 1, -1, 0},
        {2, true, 1, -1, 0},
        {3, comp->CompTextItem() != nullptr, 3, -1, 0},
        {4, true, 1, -1, 0},
        {5, true, 1, -1, 0},
        {6, true, 1, -1, 0},
        {7, comp->BlankItem() != nullptr, 3, -1, 0},
        {8, comp->StrokeItem() != nullptr, 3, -1, 0},
        {9, comp->RichItem() != nullptr, 3, -1, 9},
        {10, comp->MarkupItem() != nullptr, 3, 160, 0},
        {11, comp->VersionItem() != nullptr, 2, 161, 0},
        {12, comp->FlashItem() != nullptr, 2, 162, 0},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_TRUE(c.typed);
        EXPECT_EQ(c.alignKind, comp->ItemState(c.index).alignKind);
        EXPECT_EQ(c.value, Item(c.index)->value);
        EXPECT_TRUE(Item(c.index)->ItemText().IsEmpty());
        if (t_wndStringItem* item = dynamic_cast<t_wndStringItem*>(Item(c.index))) {
            EXPECT_EQ(c.fadeTimerId, item->fadeTimerId);
            // The context given before Create reaches the items that talk to the host
            // (the version hint only where the system does not draw it itself).
            if (c.index != t_wndCompString::e_version) {
                EXPECT_EQ(&context, item->GetContext());
            }
        } else {
            EXPECT_TRUE(c.index == 1 || c.index == 2 || (c.index >= 4 && c.index <= 6));
        }
    }
    EXPECT_EQ(c_compRichFadeTimerId, comp->RichItem()->hintFadeTimerId);
}

TEST_F(CompStringTest, UpdateAsksTheHostWithAZeroedRecordAndBuffer)
{
    host.sample = true;
    comp->Update();
    comp->Update();  // the second call gets a buffer cleared of the first call's texts
    EXPECT_EQ(2, host.calls);
    EXPECT_EQ(t_wndCompString::c_hostCapacity, host.seenCapacity);
    EXPECT_EQ(-1, host.seenHot);
    EXPECT_EQ(-1, host.seenHotValue);
    EXPECT_TRUE(host.recordWasZero);
    EXPECT_TRUE(host.bufferWasZero);
    EXPECT_EQ(L"栖鹭", Text(1));
    EXPECT_EQ(L"", Text(2));
    EXPECT_EQ(L"pinyin", Text(3));
}

TEST_F(CompStringTest, AHostThatFillsTheWholeBufferStillGivesAnEndedText)
{
    host.fillBuffer = true;
    comp->Update();
    EXPECT_TRUE(host.guardWasZero);
    EXPECT_EQ(t_wndCompString::c_hostCapacity, Item(1)->ItemText().Length());
}

TEST_F(CompStringTest, TextsAndThePaddingBeforeTextSix)
{
    struct t_case {
        const wchar_t *text1, *text2, *text4, *text6;
        const wchar_t* padding;
    };
    const t_case cases[] = {
        {L"a", L"b", L"d", L"f", L"          "},
        {L"a", nullptr, nullptr, L"", L""},
        {nullptr, nullptr, nullptr, nullptr, L""},
    };
    for (const t_case& c : cases) {
        host.fill = {};
        host.fill.text1 = c.text1;
        host.fill.text2 = c.text2;
        host.fill.text4 = c.text4;
        host.fill.text6 = c.text6;
        comp->Update();
        auto text = [](const wchar_t* t) { return std::wstring(t ? t : L""); };
        EXPECT_EQ(text(c.text1), Text(1));
        EXPECT_EQ(text(c.text2), Text(2));
        EXPECT_EQ(text(c.text4), Text(4));
        EXPECT_EQ(text(c.text6), Text(6));
        EXPECT_EQ(c.padding, Text(5));
    }
}

TEST_F(CompStringTest, SegmentEndsAreOrderedAndKeptInsideTheText)
{
    struct t_case {
        const wchar_t* text;
        int a, b;
        int start, end;
        const wchar_t* segment;
    };
    const t_case cases[] = {
        {L"abcdefghij", 7, 3, 3, 7, L"defg"},                                         // either order
        {L"abcdefghij", 3, 7, 3, 7, L"defg"}, {L"pinyin", -5, 100, 0, 6, L"pinyin"},  // past both ends: the whole text
        {L"pinyin", 40, 50, 6, 6, L""},  // beyond the text: nothing selected
        {L"pinyin", 2, -1, 0, 2, L"pi"},      {L"pinyin", INT_MIN, INT_MAX, 0, 6, L"pinyin"},
        {nullptr, 3, 9, 0, 0, L""},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "," << c.b);
        host.fill = {};
        host.fill.compText = c.text;
        host.fill.segmentEnds[0] = c.a;
        host.fill.segmentEnds[1] = c.b;
        host.fill.caretShown = 1;
        comp->Update();
        t_wndCompStringText* item = comp->CompTextItem();
        EXPECT_EQ(c.start, item->segmentStart);
        EXPECT_EQ(c.end, item->segmentEnd);
        EXPECT_TRUE(item->caretShown);
        // The split the item paints from stays within the text.
        item->SplitParts();
        EXPECT_EQ(item->ItemText().Length(), item->before.Length() + item->segment.Length() + item->after.Length());
        EXPECT_EQ(c.segment, std::wstring(item->segment.c_str()));
    }
}

TEST_F(CompStringTest, StrokeMarkupAndRichHintsDecideTheBlank)
{
    struct t_case {
        const char* what;
        uint8_t stroke, markup, richShown;
        int richKind;
        bool strokeShown, markupShown, richVisible, blankShown;
    };
    const t_case cases[] = {
        {"nothing", 0, 0, 0, e_compHintUnderlined, false, false, false, false},
        {"rich hint", 0, 0, 1, e_compHintUnderlined, false, false, true, true},
        {"stroke", 1, 0, 0, e_compHintUnderlined, true, false, false, true},
        {"markup hides the rich hint", 0, 1, 1, e_compHintUnderlined, false, true, false, true},
        {"stroke with an action hint", 1, 0, 0, e_compHintAction, true, false, false, false},
        {"stroke with a shown action hint", 1, 0, 1, e_compHintAction, true, false, true, true},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        host.fill = {};
        host.fill.strokeInput = c.stroke;
        host.fill.markupShown = c.markup;
        host.fill.markup = L"<text>m</text>";
        host.fill.richShown = c.richShown;
        host.fill.richKind = c.richKind;
        host.fill.richText = L"hint";
        // Stroke input leaves the rich item as it was: start each case with it hidden.
        comp->RichItem()->visible = false;
        comp->Update();
        EXPECT_EQ(c.strokeShown, comp->StrokeItem()->visible);
        EXPECT_EQ(c.markupShown, comp->MarkupItem()->visible);
        EXPECT_EQ(c.markupShown ? L"<text>m</text>" : L"", std::wstring(comp->MarkupItem()->Markup().c_str()));
        EXPECT_EQ(c.richVisible, comp->RichItem()->visible);
        EXPECT_EQ(c.blankShown, comp->BlankItem()->visible);
        EXPECT_EQ(t_wndCompString::c_blankWidth, comp->BlankItem()->blankWidth);
    }
}

TEST_F(CompStringTest, StrokeInputClearsTheRichHintButKeepsItsVisibility)
{
    host.fill.richShown = 1;
    host.fill.richKind = e_compHintUnderlined;
    host.fill.richText = L"hint";
    host.fill.richSecondText = L"tip";
    host.fill.richValue = 42;
    comp->Update();
    t_wndCompRichItem* rich = comp->RichItem();
    ASSERT_TRUE(rich->visible);
    EXPECT_EQ(L"hint", std::wstring(rich->hintText.c_str()));
    EXPECT_EQ(L"tip", std::wstring(rich->tipText.c_str()));
    EXPECT_EQ(42, rich->hintValue);

    host.fill.strokeInput = 1;
    host.fill.richShown = 0;
    comp->Update();
    EXPECT_TRUE(rich->visible);
    EXPECT_TRUE(rich->hintText.IsEmpty());
    EXPECT_EQ(e_compHintNone, rich->kind);
}

TEST_F(CompStringTest, VersionAndFlashHints)
{
    comp->Update();
    EXPECT_EQ(L"    预览6.8.0.0000", Text(11));
    EXPECT_TRUE(Item(11)->visible);
    EXPECT_EQ(L"    Flash调试模式", Text(12));
    EXPECT_TRUE(Item(12)->visible);

    comp->showVersionHint = false;
    comp->Update();
    EXPECT_EQ(L"", Text(11));
    EXPECT_FALSE(Item(11)->visible);
    EXPECT_FALSE(comp->VersionItem()->timerRunning);
    EXPECT_EQ(L"    Flash调试模式", Text(12));
    EXPECT_TRUE(Item(12)->visible);
}

TEST_F(CompStringTest, ModeIconsShowOnlyWithACountAndData)
{
    // One record: id 7, clickable, with a tip, name "n", hint "h".
    const uint8_t record[] = {7, 0, 0, 0, 1, 1, 'n', 0, 0, 0, 'h', 0, 0, 0};
    struct t_case {
        int count, bytes;
        const void* data;
        bool shown;
    };
    const t_case cases[] = {
        {1, sizeof record, record, true},
        {0, sizeof record, record, false},
        {1, 0, record, false},
        {-1, sizeof record, record, false},
        {1, -5, record, false},
        {1, sizeof record, nullptr, false},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.bytes);
        host.fill = {};
        host.fill.modeIconCount = c.count;
        host.fill.modeIconBytes = c.bytes;
        host.fill.modeIcons = c.data;
        comp->Update();
        EXPECT_EQ(c.shown, comp->ModeIconItem()->visible);
        if (c.shown) {
            ASSERT_EQ(1, comp->ModeIconItem()->IconCount());
            EXPECT_EQ(7, comp->ModeIconItem()->Icon(0).id);
        }
    }
}

TEST_F(CompStringTest, WithoutHostOrAnswerTheItemsKeepTheirContent)
{
    host.fill.text1 = L"kept";
    host.fill.strokeInput = 1;
    comp->Update();
    ASSERT_EQ(L"kept", Text(1));

    host.fill.text1 = L"new";
    host.fill.strokeInput = 0;
    host.answer = false;
    comp->Update();
    EXPECT_EQ(1 + 1, host.calls);
    EXPECT_EQ(L"kept", Text(1));
    EXPECT_TRUE(comp->StrokeItem()->visible);

    host.answer = true;
    context.SetImcWrap(nullptr);
    comp->Update();
    EXPECT_EQ(2, host.calls);
    EXPECT_EQ(L"kept", Text(1));
}

TEST_F(CompStringTest, TheHostsHotItemTurnsHot)
{
    host.hotIndex = 3;
    host.hotLink = 7;
    comp->Update();
    for (int i = 0; i < t_wndCompString::c_itemCount; ++i) {
        EXPECT_EQ(i == 3, comp->ItemState(i).hot) << i;
        EXPECT_EQ(i == 3 ? 7 : -1, comp->ItemState(i).linkValue) << i;
    }
}

TEST(CompStringStyles, EachItemTakesItsStyleAndAnAbsentOneInheritsThePrevious)
{
    t_skinTextStyle styles[t_wndCompString::c_skinStyleCount];
    uint32_t colours[t_wndCompString::c_skinStyleCount];
    const t_skinTextStyle* present[t_wndCompString::c_skinStyleCount];
    for (int i = 0; i < t_wndCompString::c_skinStyleCount; ++i) {
        colours[i] = 0x100 + i;
        styles[i] = t_skinTextStyle{&colours[i], nullptr, 0, nullptr};
        present[i] = &styles[i];
    }
    // Item -> the skin style it takes when every style is present.
    const int expected[t_wndCompString::c_itemCount] = {3, 0, 6, 1, 4, 2, 2, 3, 3, 3, 3, 8, 9};
    t_wndCompString::t_itemStyles out;
    t_wndCompString::ResolveItemStyles(present, true, out);
    for (int i = 0; i < t_wndCompString::c_itemCount; ++i) {
        EXPECT_TRUE(out.styled[i]) << i;
        EXPECT_TRUE(out.hasColour[i]) << i;
        EXPECT_EQ(0x100u + expected[i], out.style[i].textColor) << i;
    }

    // Without style 6 the second text takes the first's; without style 8 the version hint
    // takes the hints' style; without style 9 the flash hint gets no style at all.
    present[6] = present[8] = present[9] = nullptr;
    t_wndCompString::ResolveItemStyles(present, true, out);
    EXPECT_EQ(0x100u, out.style[t_wndCompString::e_text2].textColor);
    EXPECT_EQ(0x103u, out.style[t_wndCompString::e_version].textColor);
    EXPECT_TRUE(out.styled[t_wndCompString::e_flash]);
    EXPECT_EQ(0u, out.style[t_wndCompString::e_flash].textColor);
    EXPECT_EQ(nullptr, out.style[t_wndCompString::e_flash].font);
    EXPECT_FALSE(out.hasColour[t_wndCompString::e_flash]);

    // Where the system draws the version hint it is left alone; a style without a colour
    // is told apart; a second colour becomes the back colour.
    uint32_t back = 0xABCDEF;
    styles[0].color = nullptr;
    styles[0].color2 = &back;
    t_wndCompString::ResolveItemStyles(present, false, out);
    EXPECT_FALSE(out.styled[t_wndCompString::e_version]);
    EXPECT_FALSE(out.hasColour[t_wndCompString::e_text1]);
    EXPECT_TRUE(out.style[t_wndCompString::e_text1].hasBackColor);
    EXPECT_EQ(back, out.style[t_wndCompString::e_text1].backColor);
}

TEST_F(CompStringTest, RebuildStylesTheItemsFromTheRuntimeSkin)
{
    // Without a skin nothing changes.
    comp->Rebuild();
    EXPECT_EQ(nullptr, Item(1)->font);

    UseSkin();
    comp->Rebuild();
    struct t_case {
        int item, style;
    };
    const t_case cases[] = {{1, 0}, {2, 6}, {3, 1}, {4, 4}, {5, 2}, {6, 2}, {7, 3}, {9, 3}};
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(StyleColour(skin, c.style), Item(c.item)->textColor);
        EXPECT_EQ(skin.GetTextStylePtr(c.style)->font, Item(c.item)->font);
    }
    // Every item carries the caret pen's colour and flag as its underline.
    const t_skinPen* pen = skin.GetPen(0);
    ASSERT_TRUE(pen && pen->pen);
    for (int i = 0; i < t_wndCompString::c_itemCount; ++i) {
        EXPECT_EQ(pen->pen->color, comp->ItemState(i).underlineColor) << i;
        EXPECT_EQ(pen->flag, comp->ItemState(i).underlineValue) << i;
    }
    // Outside flash debugging the flash hint has no style and hides when measured.
    comp->Update();
    EXPECT_EQ(nullptr, Item(12)->font);
    Item(12)->Measure(nullptr);
    EXPECT_FALSE(Item(12)->visible);
}

TEST_F(CompStringTest, FlashDebuggingStylesTheFlashHint)
{
    UseSkin(true);
    comp->Rebuild();
    ASSERT_TRUE(skin.GetTextStylePtr(9));
    EXPECT_EQ(skin.GetTextStylePtr(9)->font, Item(12)->font);
    EXPECT_EQ(StyleColour(skin, 9), Item(12)->textColor);
    comp->Update();
    Item(12)->Measure(nullptr);
    EXPECT_TRUE(Item(12)->visible);
    EXPECT_GT(Item(12)->rect.right - Item(12)->rect.left, 0);
}

TEST_F(CompStringTest, CaretRectFollowsTheRichHintOrTheTypedText)
{
    UseSkin();
    comp->Rebuild();
    host.sample = true;
    comp->Update();
    LayOut();

    RECT caret;
    comp->GetCaretRect(caret);
    const RECT text = comp->CompTextItem()->GetRect();
    const RECT mine = comp->GetRect();
    EXPECT_GT(text.right - text.left, 0);
    EXPECT_EQ(text.right - mine.left + 82, caret.left);
    EXPECT_EQ(caret.left, caret.right);
    EXPECT_EQ(text.top - mine.top, caret.top);
    EXPECT_EQ(text.bottom - mine.top, caret.bottom);

    comp->RichItem()->visible = true;
    comp->GetCaretRect(caret);
    const RECT rich = comp->RichItem()->GetCaretRect();
    EXPECT_TRUE(EqualRect(&rich, &caret));

    comp->RichItem()->visible = false;
    comp->CompTextItem()->visible = false;
    comp->GetCaretRect(caret);
    EXPECT_TRUE(IsRectEmpty(&caret));
    EXPECT_EQ(0, caret.left | caret.top | caret.right | caret.bottom);
}

TEST_F(CompStringTest, HandCursorOnlyWhenEveryItemAsksForIt)
{
    EXPECT_TRUE(comp->WantsHandCursor());
    comp->RichItem()->acceptsClick = false;
    EXPECT_FALSE(comp->WantsHandCursor());
}

TEST_F(CompStringTest, ThePreviewsSampleCompositionPaintsItsTextsInARow)
{
    UseSkin();
    comp->Rebuild();
    host.sample = true;
    comp->showVersionHint = false;
    comp->Update();
    LayOut();
    // Both texts are drawn at full strength: the fade of the hints does not touch them.
    t_memDC dib;
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 600, 60));
    GdiFlush();
    // Bounding boxes of the pixels nearest to each text colour.
    const uint32_t converted = StyleColour(skin, 0), typed = StyleColour(skin, 1);
    auto closeTo = [](uint32_t pixel, uint32_t colour) {
        // pixel is BGRA, colour 0x00BBGGRR; compare the dominant channel only.
        const int pr = pixel >> 16 & 0xFF, pg = pixel >> 8 & 0xFF, pb = pixel & 0xFF;
        const int cr = colour & 0xFF, cg = colour >> 8 & 0xFF, cb = colour >> 16 & 0xFF;
        return abs(pr - cr) + abs(pg - cg) + abs(pb - cb) < 120 && (pr | pg | pb) != 0;
    };
    RECT boxes[2] = {{600, 60, 0, 0}, {600, 60, 0, 0}};
    const uint32_t colours[2] = {converted, typed};
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 600; ++x) {
            const uint32_t p = dib.Pixels()[(59 - y) * 600 + x];
            for (int k = 0; k < 2; ++k) {
                if (closeTo(p, colours[k])) {
                    boxes[k].left = std::min<LONG>(boxes[k].left, x);
                    boxes[k].right = std::max<LONG>(boxes[k].right, x + 1);
                    boxes[k].top = std::min<LONG>(boxes[k].top, y);
                    boxes[k].bottom = std::max<LONG>(boxes[k].bottom, y + 1);
                }
            }
        }
    }
    const RECT first = comp->TextItemAt(1)->GetRectInTop(), third = comp->CompTextItem()->GetRectInTop();
    ASSERT_LT(boxes[0].left, boxes[0].right) << "the converted text was not drawn";
    ASSERT_LT(boxes[1].left, boxes[1].right) << "the typed text was not drawn";
    // Each text inside its item, the converted one before the typed one.
    EXPECT_GE(boxes[0].left, first.left);
    EXPECT_LE(boxes[0].right, first.right);
    EXPECT_GE(boxes[1].left, third.left);
    EXPECT_LE(boxes[1].right, third.right);
    EXPECT_LT(boxes[0].right, boxes[1].left);
}
