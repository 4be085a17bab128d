// The candidate string: its items, what it takes from the host's list (the editor's sample
// candidates among them), the clamp of the host's count, the styles of the highlighted and
// the other candidates, the numbering widths, the layout in a column or a row with the
// pixels it paints, the colour report, and what a release tells the host.
#include "ime_ui/windows/cand/wnd_cand_string.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/layout/layout.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/cand/wnd_cand_turn_page.h"
#include "ime_ui/windows/cand/wnd_scroll_image.h"
#include "tests/support/painted_tree.h"
#include "tests/support/runtime_skin_text.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// The editor preview's nine sample candidates.
const wchar_t* const c_samples[] = {L"1.拼音 ", L"2.品 ", L"3.频 ", L"4.拼 ", L"5.贫 ",
                                    L"6.聘 ",   L"7.嫔 ", L"8.姘 ", L"9.颦 "};

// A host that writes sample candidates into the string's buffer as the preview does, and
// can answer a count other than the number of records it filled.
class t_listHost : public ImcWrapImplBase {
public:
    int GetCandidates(HWND, t_candidateList* list) override
    {
        ++calls;
        seenCapacity = list->capacity;
        const t_candidateList zero = {};
        recordsWereZero = memcmp(list->records, zero.records, sizeof zero.records) == 0 && !list->prefix &&
                          memcmp(list->headers, zero.headers, sizeof zero.headers) == 0;
        wchar_t* out = list->buffer;
        int room = list->capacity;
        for (int i = 0; i < filled && i < t_candidateList::c_recordCount; ++i) {
            const wchar_t* sample = c_samples[i % 9];
            const int length = static_cast<int>(wcslen(sample)) + 1;
            if (length > room)
                break;
            memcpy(out, sample, length * sizeof(wchar_t));
            list->records[i] = records[i];
            list->records[i].text = out;
            out += length;
            room -= length;
        }
        list->selectedIndex = selected;
        list->prefix = prefix;
        for (int i = 0; i < t_candidateList::c_headerCount; ++i)
            list->headers[i] = headers[i];
        return answer;
    }
    bool UseAltCandidateFont(HWND) override { return altFont; }
    void SelectCandidate(HWND, int index) override { chosen.push_back(index); }
    void OnCandidatesDrawn(HWND, COLORREF colour) override { drawn.push_back(colour); }

    // Fills `count` records and answers the same count.
    void Offer(int count) { filled = answer = count; }

    int filled = 0, answer = 0, selected = 0;
    t_candidateRecord records[t_candidateList::c_recordCount] = {};
    const wchar_t* prefix = nullptr;
    t_wndCandStringRichItem::t_content headers[t_candidateList::c_headerCount] = {};
    bool altFont = false;
    int calls = 0, seenCapacity = 0;
    bool recordsWereZero = false;
    std::vector<int> chosen;
    std::vector<COLORREF> drawn;
};

const uint32_t c_plainColour = 0x203040;      // zhongwen_color: styles 3, 5, 12
const uint32_t c_firstColour = 0x0000C0;      // zhongwen_first_color: style 6
const uint32_t c_firstBackColour = 0xE0FFE0;  // zhongwen_first_bk_color: style 6's back

// A skin whose candidate styles all differ: 5 plain, 6 red on pale green.
const wchar_t c_skinText[] = L"[Display]\r\nfont_size=16\r\nfont_ch=Tahoma\r\nfont_en=Tahoma\r\n"
                             L"zhongwen_color=0x203040\r\nzhongwen_first_color=0x0000c0\r\n"
                             L"zhongwen_first_bk_color=0xe0ffe0\r\n";

class CandStringTest : public ::testing::Test {
protected:
    CandStringTest()
    {
        MakeWindowlessTop(top, 100, 200, 400, 400);
        context.SetImcWrap(&host);
        cand = new t_wndCandString();
        cand->SetContext(&context);
        created = cand->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, &top);
    }
    ~CandStringTest() override { top.Destroy(); }

    void UseSkin()
    {
        LoadRuntimeSkinText(skin, settings, c_skinText);
        ASSERT_NE(nullptr, skin.GetTextStylePtr(t_wndCandString::e_styleHighlight));
        context.SetSkin(&skin);
    }
    const t_skinTextStyle& Style(int index) const { return *skin.GetTextStylePtr(index); }
    t_wndCandStringItem* Candidate(int position) const { return cand->CandidateItem(position); }
    std::wstring Text(int position) const { return Candidate(position)->ItemText().c_str(); }
    // Puts the string's node (made again) under the top's root and places every item.
    void LayOut()
    {
        t_layoutAligned* root = static_cast<t_layoutAligned*>(top.layout);
        t_layout* old = cand->layout;
        cand->CreateLayout();
        if (old) {
            root->EraseAlign(old);
            root->RemoveChild(old);
        }
        ASSERT_NE(cand->layout, nullptr);
        root->AddChild(t_layoutPtr(cand->layout), t_alignInfo::Default());
        top.layout->Measure(nullptr);
        top.layout->SetRect(top.rect);
        top.layout->Layout(nullptr);
    }

    t_wndTop top;
    t_listHost host;
    t_uiContext context;
    t_uiSettings settings;
    t_uiSkinData skin;
    t_wndCandString* cand;
    bool created;
};

// Bounding box of the pixels whose colour channels lie near a COLORREF (BGRA pixels).
RECT ColourBounds(const t_memDC& dib, uint32_t colour, int tolerance)
{
    RECT box = {dib.width, dib.height, 0, 0};
    const uint32_t* pixels = dib.Pixels();
    for (int y = 0; y < dib.height; ++y) {
        for (int x = 0; x < dib.width; ++x) {
            const uint32_t p = pixels[(dib.height - 1 - y) * dib.width + x];
            if (!(p >> 24))
                continue;
            const int d = abs(static_cast<int>(p >> 16 & 0xFF) - static_cast<int>(colour & 0xFF)) +
                          abs(static_cast<int>(p >> 8 & 0xFF) - static_cast<int>(colour >> 8 & 0xFF)) +
                          abs(static_cast<int>(p & 0xFF) - static_cast<int>(colour >> 16 & 0xFF));
            if (d <= tolerance) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return box;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST_F(CandStringTest, CreateMakesHeadersCandidatesPageTurnAndAHiddenScrollImage)
{
    ASSERT_TRUE(created);
    ASSERT_EQ(t_wndCandString::c_itemCount + 1, cand->ChildCount());
    for (int i = 0; i < t_wndCandString::c_headerCount; ++i)
        EXPECT_NE(nullptr, cand->HeaderItem(i)) << i;
    for (int k = 0; k < t_wndCandString::c_candidateCount; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(nullptr, Candidate(k));
        EXPECT_EQ(Candidate(k), cand->ChildAt(t_wndCandString::c_firstCandidate + k));
        EXPECT_EQ(k, Candidate(k)->candIndex);
        EXPECT_EQ(&cand->maxCandidateWidth, Candidate(k)->sharedMaxWidth);
        EXPECT_EQ(&context, Candidate(k)->GetContext());
    }
    EXPECT_EQ(nullptr, cand->CandidateItem(t_wndCandString::c_candidateCount));
    ASSERT_NE(nullptr, cand->TurnPageItem());
    EXPECT_EQ(&context, cand->TurnPageItem()->GetContext());
    ASSERT_NE(nullptr, cand->ScrollImage());
    EXPECT_EQ(cand->ScrollImage(), cand->ChildAt(t_wndCandString::c_itemCount));
    EXPECT_FALSE(cand->ScrollImage()->visible);
    // A column with a 4-pixel gap either way until the owning window says otherwise.
    EXPECT_EQ(t_wndTextArray::e_column, cand->orientation);
    EXPECT_EQ(4, cand->current[t_wndTextArray::c_rowGap]);
    EXPECT_EQ(4, cand->current[t_wndTextArray::c_columnGap]);
    EXPECT_TRUE(cand->showTurnPage);
    EXPECT_TRUE(cand->SuspendsDrag());
    EXPECT_TRUE(cand->WantsHandCursor());
}

// The host's count decides how many records are read; the list holds forty whatever the
// host answers, and a negative answer keeps the candidates.
TEST_F(CandStringTest, UpdateTakesTheHostsCountClampedToTheList)
{
    struct t_case {
        int filled, answer;
        int expectCount;
        bool turnPage;
    };
    const t_case cases[] = {
        {5, 5, 5, true},    {9, 9, 9, true},    {3, 3, 3, true},         {0, 0, 0, false},
        {40, 40, 40, true}, {40, 41, 40, true}, {40, INT_MAX, 40, true},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.answer);
        host.filled = c.filled;
        host.answer = c.answer;
        cand->Update();
        EXPECT_TRUE(host.recordsWereZero);
        EXPECT_EQ(t_wndCandString::c_hostCapacity, host.seenCapacity);
        EXPECT_EQ(c.expectCount, cand->candidateCount);
        for (int k = 0; k < t_wndCandString::c_candidateCount; ++k) {
            const std::wstring expected = k < c.expectCount ? c_samples[k % 9] : L"";
            ASSERT_EQ(expected, Text(k)) << k;
        }
        EXPECT_EQ(c.turnPage, cand->TurnPageItem()->visible);
    }

    // A negative count: the candidates stay, prefix and headers still apply.
    host.filled = 2;
    host.answer = -1;
    host.prefix = L"zhong";
    host.headers[1] = {t_wndCandStringRichItem::e_click, L"more", true, 0, 2};
    cand->Update();
    EXPECT_EQ(40, cand->candidateCount);
    EXPECT_EQ(L"9.颦 ", Text(8));
    EXPECT_EQ(L"zhong", std::wstring(Candidate(0)->prefix.c_str()));
    EXPECT_TRUE(cand->HeaderItem(1)->visible);
    EXPECT_EQ(L"more", std::wstring(cand->HeaderItem(1)->richText.c_str()));
    EXPECT_FALSE(cand->HeaderItem(0)->visible);

    // No page-turn item when the string does not show its own.
    cand->showTurnPage = false;
    host.Offer(3);
    cand->Update();
    EXPECT_FALSE(cand->TurnPageItem()->visible);

    // Without a host the string asks nobody and keeps what it shows.
    const int calls = host.calls;
    context.SetImcWrap(nullptr);
    cand->Update();
    EXPECT_EQ(calls, host.calls);
    EXPECT_EQ(L"3.频 ", Text(2));
}

TEST_F(CandStringTest, RecordFlagsReachTheirCandidates)
{
    host.Offer(3);
    host.records[1].nameIcon = 1;
    host.records[1].underline = 1;
    host.records[2].cloudOn = 1;
    host.records[2].cloudMode = static_cast<int>(t_cloudMode::e_result);
    host.records[2].inlineImage = 1;
    cand->Update();
    EXPECT_TRUE(Candidate(1)->nameIconFlag);
    EXPECT_TRUE(Candidate(1)->underline);
    EXPECT_FALSE(Candidate(1)->cloudFlag);
    EXPECT_TRUE(Candidate(2)->cloudFlag);
    EXPECT_EQ(static_cast<int>(t_cloudMode::e_result), Candidate(2)->cloudMode);
    EXPECT_TRUE(Candidate(2)->inlineImageFlag);
    EXPECT_FALSE(Candidate(0)->nameIconFlag || Candidate(0)->underline || Candidate(0)->cloudFlag);

    // A shorter list clears the flags of the positions it no longer fills.
    host.Offer(1);
    cand->Update();
    EXPECT_FALSE(Candidate(1)->nameIconFlag || Candidate(1)->underline);
    EXPECT_FALSE(Candidate(2)->cloudFlag || Candidate(2)->inlineImageFlag);
    EXPECT_EQ(0, Candidate(2)->cloudMode);

    // By child index: the candidate at 5 + position; headers and page turn have no flags.
    cand->Cloud_SetTextExtInfo(t_wndCandString::c_firstCandidate + 3, false, false, 0, true, true);
    EXPECT_TRUE(Candidate(3)->underline && Candidate(3)->inlineImageFlag);
    cand->Cloud_SetTextExtInfo(0, true, true, 1, true, true);
    cand->Cloud_SetTextExtInfo(t_wndCandString::c_turnPageIndex, true, true, 1, true, true);
    EXPECT_FALSE(Candidate(0)->underline || Candidate(0)->cloudFlag);
}

TEST_F(CandStringTest, TheHighlightedCandidateTakesStyleSixTheOthersStyleFive)
{
    UseSkin();
    cand->Rebuild();
    host.Offer(7);
    host.selected = 2;
    cand->Update();
    EXPECT_EQ(2, cand->selectedIndex);
    const t_skinTextStyle& normal = Style(t_wndCandString::e_styleNormal);
    const t_skinTextStyle& highlight = Style(t_wndCandString::e_styleHighlight);
    ASSERT_TRUE(normal.color && highlight.color && highlight.color2);
    for (int k = 0; k < t_wndCandString::c_candidateCount; ++k) {
        SCOPED_TRACE(k);
        const t_wndCandStringItem* item = Candidate(k);
        if (k == 2) {
            EXPECT_EQ(c_firstColour, item->textColor);
            EXPECT_EQ(c_firstBackColour, item->backColor);
            EXPECT_TRUE(item->hasBackColor);
        } else {
            EXPECT_EQ(c_plainColour, item->textColor);
            EXPECT_FALSE(item->hasBackColor);
        }
        // Both in the candidate font, the highlighted one included.
        EXPECT_EQ(normal.font, item->font);
    }

    // A new selection moves the highlight; an index past the list highlights none.
    cand->SetSelection(0);
    EXPECT_EQ(c_firstColour, Candidate(0)->textColor);
    EXPECT_EQ(c_plainColour, Candidate(2)->textColor);
    cand->SetSelection(40);
    for (int k = 0; k < t_wndCandString::c_candidateCount; ++k)
        ASSERT_EQ(c_plainColour, Candidate(k)->textColor) << k;
}

TEST_F(CandStringTest, RebuildStylesHeadersHotAndPressedLookAndPageTurn)
{
    UseSkin();
    // Without a skin nothing is styled.
    context.SetSkin(nullptr);
    cand->Rebuild();
    EXPECT_EQ(nullptr, Candidate(0)->font);
    context.SetSkin(&skin);

    cand->selectedIndex = 1;
    cand->Rebuild();
    t_font* candidateFont = Style(t_wndCandString::e_styleNormal).font;
    ASSERT_NE(nullptr, candidateFont);
    // Headers: style 3's colours in the candidate font (not style 3's own).
    const t_wndCandStringRichItem* header = cand->HeaderItem(0);
    EXPECT_EQ(*Style(t_wndCandString::e_styleHeader).color, header->textColor);
    EXPECT_EQ(candidateFont, header->font);
    EXPECT_NE(Style(t_wndCandString::e_styleHeader).font, header->font);
    EXPECT_EQ(c_firstColour, Candidate(1)->textColor);
    EXPECT_EQ(c_plainColour, Candidate(0)->textColor);
    // The hot style (11, style 6's colour over style 5's) is also the pressed look.
    const t_skinTextStyle& hot = Style(t_wndCandString::e_styleHot);
    EXPECT_EQ(*hot.color, cand->ItemState(t_wndCandString::c_firstCandidate).hotStyle.textColor);
    EXPECT_EQ(candidateFont, cand->ItemState(t_wndCandString::c_firstCandidate).hotStyle.font);
    EXPECT_EQ(*hot.color, Candidate(0)->pressedStyle.textColor);
    // The page-turn item in the normal style, shown as the string asks.
    EXPECT_EQ(c_plainColour, cand->TurnPageItem()->textColor);
    EXPECT_EQ(c_plainColour, cand->TurnPageItem()->defaultStyle.textColor);
    EXPECT_TRUE(cand->TurnPageItem()->visible);
    EXPECT_TRUE(cand->samplePending);
}

TEST_F(CandStringTest, TheHostsOtherFontReachesEveryCandidateAtTheNextRebuild)
{
    UseSkin();
    t_font* normalFont = Style(t_wndCandString::e_styleNormal).font;
    t_font* altFont = Style(t_wndCandString::e_styleAltFont).font;
    ASSERT_NE(nullptr, altFont);
    ASSERT_NE(normalFont, altFont);
    cand->Rebuild();
    EXPECT_EQ(normalFont, Candidate(39)->font);

    host.altFont = true;
    cand->Rebuild();
    EXPECT_TRUE(cand->useAltFont);
    EXPECT_EQ(altFont, cand->CandidateFont());
    for (int k = 0; k < t_wndCandString::c_candidateCount; ++k)
        ASSERT_EQ(altFont, Candidate(k)->font) << k;
    // Later selections keep it.
    host.Offer(3);
    cand->Update();
    EXPECT_EQ(altFont, Candidate(0)->font);
    EXPECT_EQ(altFont, Candidate(1)->font);
}

TEST_F(CandStringTest, NumberingWidthsAddTheOffsetToTheLabelWidths)
{
    UseSkin();
    cand->Rebuild();
    // Widths of "1." and "a." in the candidate font on a screen context.
    HDC screen = GetDC(nullptr);
    t_paintCtx measure(screen, false, nullptr, false);
    SIZE digit = {0, 0}, letter = {0, 0};
    ASSERT_TRUE(measure.MeasureText(L"1.", 2, cand->CandidateFont(), &digit, c_textItemFormat, 0));
    ASSERT_TRUE(measure.MeasureText(L"a.", 2, cand->CandidateFont(), &letter, c_textItemFormat, 0));
    measure.End();
    ReleaseDC(nullptr, screen);
    ASSERT_GT(digit.cx, 0);
    EXPECT_EQ(digit.cx, cand->numberWidthDigit);
    EXPECT_EQ(letter.cx, cand->numberWidthLetter);

    const int values[t_wndTextArray::c_valueCount] = {7, 0, 0, 0, 4, 4};
    cand->SetGeometry(values);
    cand->Rebuild();
    EXPECT_EQ(7 + digit.cx, cand->numberWidthDigit);
    EXPECT_EQ(7 + letter.cx, cand->numberWidthLetter);
}

TEST_F(CandStringTest, LayoutHoldsTheGridAndTheScrollImage)
{
    UseSkin();
    cand->Rebuild();
    host.Offer(5);
    cand->Update();
    LayOut();
    ASSERT_NE(nullptr, dynamic_cast<t_wndCandString::t_layoutTexts*>(cand->layout));
    EXPECT_EQ(2, cand->layout->ChildCount());
    EXPECT_NE(nullptr, cand->ScrollImage()->layout);
    for (int k = 0; k < t_wndCandString::c_candidateCount; ++k)
        ASSERT_EQ(1, Candidate(k)->tipSide) << k;
}

// The preview's sample candidates paint inside their items, in a column and in a row, the
// highlighted one over its back colour; empty positions take no room.
TEST_F(CandStringTest, TheSampleCandidatesPaintInAColumnAndInARow)
{
    UseSkin();
    for (int orientation : {t_wndTextArray::e_column, t_wndTextArray::e_row}) {
        SCOPED_TRACE(orientation);
        cand->orientation = orientation;
        cand->Rebuild();
        host.Offer(9);
        host.selected = 0;
        cand->Update();
        LayOut();
        RECT rects[t_wndCandString::c_itemRectCount];
        ASSERT_EQ(t_wndCandString::c_itemRectCount, cand->GetItemRects(rects));
        for (int k = 1; k < 9; ++k) {
            SCOPED_TRACE(k);
            ASSERT_FALSE(IsRectEmpty(&rects[k]));
            if (orientation == t_wndTextArray::e_column)
                EXPECT_GE(rects[k].top, rects[k - 1].bottom + 4);
            else
                EXPECT_GE(rects[k].left, rects[k - 1].right + 4);
        }
        EXPECT_TRUE(IsRectEmpty(&rects[9]));

        t_memDC dib;
        ASSERT_TRUE(top.RenderToDib(nullptr, dib, 400, 400));
        GdiFlush();
        // The highlight's back colour covers exactly the first candidate.
        const RECT first = Candidate(0)->GetRectInTop();
        const RECT back = ColourBounds(dib, c_firstBackColour, 6);
        EXPECT_EQ(first.left, back.left);
        EXPECT_EQ(first.top, back.top);
        EXPECT_EQ(first.right, back.right);
        EXPECT_EQ(first.bottom, back.bottom);
        // The highlighted text inside it; the plain texts inside the union of the others.
        const RECT highlighted = ColourBounds(dib, c_firstColour, 120);
        ASSERT_LT(highlighted.left, highlighted.right) << "the highlighted text was not drawn";
        EXPECT_TRUE(Inside(highlighted, first));
        RECT others = Candidate(1)->GetRectInTop();
        for (int k = 2; k < 9; ++k) {
            const RECT r = Candidate(k)->GetRectInTop();
            UnionRect(&others, &others, &r);
        }
        const RECT plain = ColourBounds(dib, c_plainColour, 60);
        ASSERT_LT(plain.left, plain.right) << "the plain texts were not drawn";
        // The page-turn arrows are drawn in the same colour after the last candidate.
        RECT withPage = others;
        const RECT page = cand->TurnPageItem()->GetRectInTop();
        UnionRect(&withPage, &withPage, &page);
        EXPECT_TRUE(Inside(plain, withPage));
        EXPECT_GT(plain.right, others.left);
    }
}

TEST_F(CandStringTest, TheSampleColourIsReportedOncePerRestyle)
{
    UseSkin();
    cand->Rebuild();
    host.Offer(3);
    cand->Update();
    LayOut();
    t_memDC dib;
    // No sample rectangle: no report.
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 400, 400));
    EXPECT_TRUE(host.drawn.empty());

    // The sample is taken from what lies under the list before it paints: a backdrop
    // behind the first candidate only, so that a misplaced sample sees black.
    const RECT first = Candidate(0)->GetRect();
    const RECT inTop = Candidate(0)->GetRectInTop();
    AddFilledChild(top, inTop.left, inTop.top, inTop.right - inTop.left, inTop.bottom - inTop.top, 0xFF80C040u, false);
    const RECT own = cand->GetRect();
    cand->sampleRect = RECT{first.left - own.left, first.top - own.top, first.right - own.left, first.bottom - own.top};
    t_memDC second;
    ASSERT_TRUE(top.RenderToDib(nullptr, second, 400, 400));
    ASSERT_EQ(1u, host.drawn.size());
    EXPECT_FALSE(cand->samplePending);
    const COLORREF colour = host.drawn[0];
    EXPECT_NEAR(0x40, GetRValue(colour), 2);
    EXPECT_NEAR(0xC0, GetGValue(colour), 2);
    EXPECT_NEAR(0x80, GetBValue(colour), 2);

    t_memDC third;
    ASSERT_TRUE(top.RenderToDib(nullptr, third, 400, 400));
    EXPECT_EQ(1u, host.drawn.size());
    cand->Rebuild();
    t_memDC fourth;
    ASSERT_TRUE(top.RenderToDib(nullptr, fourth, 400, 400));
    EXPECT_EQ(2u, host.drawn.size());
}

// A release over the visible list posts to the host window once; a hidden list posts
// nothing; the candidate under the point is selected.
TEST_F(CandStringTest, AReleaseOnTheListSelectsAndTellsTheHostWindow)
{
    HWND hostWindow = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hostWindow);
    context.SetHostWindow(hostWindow);
    UseSkin();
    cand->Rebuild();
    host.Offer(5);
    cand->Update();
    LayOut();
    auto posts = [&] {
        int n = 0;
        MSG msg;
        while (PeekMessageW(&msg, hostWindow, c_msgCandListReleased, c_msgCandListReleased, PM_REMOVE)) {
            EXPECT_EQ(0u, msg.wParam);
            EXPECT_EQ(0, msg.lParam);
            ++n;
        }
        return n;
    };

    const RECT third = Candidate(3)->GetRect();
    const int x = (third.left + third.right) / 2, y = (third.top + third.bottom) / 2;
    EXPECT_TRUE(cand->OnLButtonDown(0, x, y));
    EXPECT_TRUE(Candidate(3)->pressed);
    EXPECT_TRUE(cand->OnLButtonUp(0, x, y));
    EXPECT_EQ(1, posts());
    ASSERT_EQ(1u, host.chosen.size());
    EXPECT_EQ(3, host.chosen[0]);
    EXPECT_FALSE(Candidate(3)->pressed);
    EXPECT_EQ(c_plainColour, Candidate(3)->textColor);

    // Outside the list: nothing for the host.
    EXPECT_FALSE(cand->OnLButtonUp(0, 2000, 2000));
    EXPECT_EQ(0, posts());

    cand->visible = false;
    EXPECT_FALSE(cand->OnLButtonDown(0, x, y));
    EXPECT_FALSE(cand->OnLButtonUp(0, x, y));
    EXPECT_EQ(0, posts());
    EXPECT_EQ(1u, host.chosen.size());
    DestroyWindow(hostWindow);
}

TEST_F(CandStringTest, LeavingOrReleasingHidesTheScrollImageOnlyWithAPicture)
{
    t_wndScrollImage* image = cand->ScrollImage();
    image->visible = true;
    cand->OnMouseLeave();
    EXPECT_TRUE(image->visible);

    image->SetImage(CreateDib32(8, 8), 0, 0);
    cand->OnMouseLeave();
    EXPECT_FALSE(image->visible);
    image->visible = true;
    cand->visible = false;
    EXPECT_FALSE(cand->OnLButtonUp(0, 0, 0));
    EXPECT_FALSE(image->visible);
}

TEST_F(CandStringTest, ItemRectsAreTenEvenForFewerCandidatesAndTurnPageTakesItsAlignment)
{
    RECT rects[t_wndCandString::c_itemRectCount];
    memset(rects, 0x7F, sizeof rects);
    EXPECT_EQ(10, cand->GetItemRects(rects));
    for (const RECT& r : rects)
        EXPECT_TRUE(IsRectEmpty(&r));

    cand->SetTurnPageAlign(t_wndTextArray::e_alignCentre, 2);
    EXPECT_EQ(t_wndTextArray::e_alignCentre, cand->ItemState(t_wndCandString::c_turnPageIndex).alignKind);
    EXPECT_EQ(2, cand->TurnPageItem()->value);

    // A string that was never made has no items to align or measure.
    t_wndCandString bare;
    bare.SetTurnPageAlign(t_wndTextArray::e_alignCentre, 1);
    EXPECT_EQ(10, bare.GetItemRects(rects));
    EXPECT_EQ(nullptr, bare.TurnPageItem());
}
