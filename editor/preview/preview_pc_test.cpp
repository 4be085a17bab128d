// The desktop preview drawn as the preview panel drives it: a generated skin pack lies
// where the work copy of the open skin lies, the preview loads it and draws its status bar,
// composition and candidate windows into a DIB, where their places show by the colours of
// their backgrounds and their texts by the bounding boxes of the text colours. Also the
// sample-text host, the large-font variant, the button-state animation and what the
// windowless windows post to their (absent) host.
#include "editor/preview/preview_pc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "editor/preview/imc_wrap_skin_preview.h"
#include "editor/preview/preview_blank.h"
#include "editor/preview/state_animator.h"
#include "foundation/env/env.h"
#include "foundation/win/rect.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "ime_ui/windows/comp/wnd_comp.h"
#include "ime_ui/windows/comp/wnd_comp_string.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"
#include "skin_model/zip_handler.h"
#include "tests/support/default_skin.h"
#include "tests/support/flat_png.h"
#include "tests/support/gdi_census.h"
#include "tests/support/paint_surface.h"
#include "tests/support/pixel_shot.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

// The program's own temporary folder: the work folder "SkinTmp" and its copy lie in it.
t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"preview_pc", true));

// Background markers (0xRRGGBB), one grey per window so text colours stand apart.
const uint32_t c_h1Color = 0x909090;
const uint32_t c_h2CompColor = 0x808080;
const uint32_t c_h2CandColor = 0x707070;
const uint32_t c_v1Color = 0xA0A0A0;
const uint32_t c_v2CompColor = 0xB0B0B0;
const uint32_t c_v2CandColor = 0xC0C0C0;
const uint32_t c_barColor = 0x505050;
const int c_barWidth = 120, c_barHeight = 30;
// The status button's three pictures and the animation of its in and out states.
const uint32_t c_variantColors[3] = {0xFF0000, 0x00FF00, 0x0000FF};
const uint32_t c_animColors[2] = {0xFFFF00, 0x00FFFF};
const int c_animDelay = 10;  // hundredths of a second per frame
const int c_buttonX = 10, c_buttonY = 5, c_buttonSize = 16;

// Text colours, the same read either way round: magenta converted text, green pinyin,
// black candidates.
const wchar_t* const c_display = L"[Display]\r\nfont_size=16\r\nfont_ch=SimSun\r\nfont_en=SimSun\r\n"
                                 L"result_color=0xC000C0\r\npinyin_color=0x00C000\r\n"
                                 L"zhongwen_first_color=0x000000\r\nzhongwen_color=0x000000\r\n"
                                 L"comphint_color=0x000000\r\nbihua_color=0x000000\r\ncaret_color=0x00C000\r\n";

std::wstring Combined(const wchar_t* name, const wchar_t* picture)
{
    return std::wstring(L"[") + name + L"]\r\npic=" + picture +
           L"\r\nlayout_horizontal=0,8,8\r\nlayout_vertical=0,8,8\r\npinyin_marge=6,4,6,6\r\n"
           L"zhongwen_marge=4,6,6,6\r\n";
}

std::wstring Separate(const wchar_t* name, const wchar_t* compPicture, const wchar_t* candPicture)
{
    return std::wstring(L"[") + name + L"]\r\npinyin_pic=" + compPicture +
           L"\r\npinyin_layout_horizontal=0,8,8\r\npinyin_layout_vertical=0,8,8\r\n"
           L"zhongwen_pic=" +
           candPicture +
           L"\r\nzhongwen_layout_horizontal=0,8,8\r\nzhongwen_layout_vertical=0,8,8\r\n"
           L"pinyin_marge=6,6,6,6\r\nzhongwen_marge=6,6,6,6\r\n";
}

std::wstring TestSkinIni()
{
    return std::wstring(c_display) + Combined(L"Scheme_H1", L"h1.png") +
           Separate(L"Scheme_H2", L"h2c.png", L"h2k.png") + Combined(L"Scheme_V1", L"v1.png") +
           Separate(L"Scheme_V2", L"v2c.png", L"v2k.png") +
           L"[StatusBar]\r\npic=bar.png\r\ncn_en_display=1\r\ncn_en=r.png,g.png,b.png\r\ncn_en_in=anim.png\r\n"
           L"cn_en_pos=" +
           std::to_wstring(c_buttonX) + L"," + std::to_wstring(c_buttonY) + L"\r\n";
}

uint32_t Rgba(uint32_t rgb) { return rgb << 8 | 0xFF; }

// The work copy: the work folder's path followed by ".dat".
std::wstring WorkCopy()
{
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(PreviewPC::WorkCopyPath(path));
    return path;
}

bool WriteTestSkin()
{
    const t_skinPackFiles files = {
        {L"h1.png", FlatPng(40, 30, {Rgba(c_h1Color)})},
        {L"h2c.png", FlatPng(40, 30, {Rgba(c_h2CompColor)})},
        {L"h2k.png", FlatPng(40, 30, {Rgba(c_h2CandColor)})},
        {L"v1.png", FlatPng(40, 30, {Rgba(c_v1Color)})},
        {L"v2c.png", FlatPng(40, 30, {Rgba(c_v2CompColor)})},
        {L"v2k.png", FlatPng(40, 30, {Rgba(c_v2CandColor)})},
        {L"bar.png", FlatPng(c_barWidth, c_barHeight, {Rgba(c_barColor)})},
        {L"r.png", FlatPng(c_buttonSize, c_buttonSize, {Rgba(c_variantColors[0])})},
        {L"g.png", FlatPng(c_buttonSize, c_buttonSize, {Rgba(c_variantColors[1])})},
        {L"b.png", FlatPng(c_buttonSize, c_buttonSize, {Rgba(c_variantColors[2])})},
        {L"anim.png", FlatPng(c_buttonSize, c_buttonSize, {Rgba(c_animColors[0]), Rgba(c_animColors[1])}, c_animDelay)},
    };
    return WriteSkinPackFile(g_temp->Path() + L"\\skin_src", files, TestSkinIni(), WorkCopy());
}

// The panel's settings: the environment's defaults, skins on, the preview's own font.
t_uiSettings PanelSettings()
{
    t_env env;
    t_uiSettings settings;
    BuildUiSettings(env, settings);
    settings.skinEnabled = true;
    settings.ignoreSkinFontSetting = true;
    settings.ignoreSkinColorSetting = true;
    settings.ignoreSkinColorSettingReal = false;
    settings.isotropicSkin = false;
    settings.fontSize = 16;
    wcscpy(settings.fontCh, L"SimSun");
    wcscpy(settings.fontEn, L"SimSun");
    return settings;
}

// Composition and candidate styles of a layout page.
void SetPageStyles(t_uiSettings& settings, int page)
{
    settings.compStyle = PreviewPC::IsSeparatePage(page) ? 1 : 0;
    settings.candStyle = page == PreviewConfigable::e_pageV1 || page == PreviewConfigable::e_pageV2 ? 1 : 0;
}

// One drawing of a preview.
using t_shot = t_pixelShot;

int Red(uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }
int Green(uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>(c & 0xFF); }
bool IsMagenta(uint32_t c) { return Red(c) - Green(c) > 60 && Blue(c) - Green(c) > 60; }
bool IsGreen(uint32_t c) { return Green(c) - std::max(Red(c), Blue(c)) > 60; }
bool IsDark(uint32_t c) { return std::max({Red(c), Green(c), Blue(c)}) < 0x38; }

t_shot Draw(PreviewConfigable& preview, int x = 0, int y = 0)
{
    t_shot out;
    int w = 0, h = 0;
    preview.GetSize(w, h);
    out.width = w + x;
    out.height = h + y;
    if (out.width <= 0 || out.height <= 0)
        return out;
    t_testSurface surface(out.width, out.height, true);
    preview.Paint(surface.Dc(), x, y);
    for (int row = 0; row < out.height; ++row) {
        for (int column = 0; column < out.width; ++column)
            out.pixels.push_back(surface.At(column, row));
    }
    return out;
}

// A desktop preview set up as the panel sets it up, showing page.
class PreviewPCTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteTestSkin()); }

    void Start(PreviewPC& preview, int page, int candidates = 5)
    {
        settings = PanelSettings();
        ASSERT_TRUE(preview.Init(0, settings));
        preview.SetSettings(settings);
        preview.Reload();
        preview.SetCandidateCount(candidates);
        ShowPage(preview, page);
        ASSERT_TRUE(preview.Skin().IsLoaded());
    }
    void ShowPage(PreviewPC& preview, int page)
    {
        SetPageStyles(settings, page);
        preview.SetScheme(page);
        preview.SetSettings(settings);
        preview.SetHostWindow(nullptr);
        ASSERT_TRUE(preview.UpdateLayout());
        // The panel asks the shown preview for its size right away.
        int width = 0, height = 0;
        preview.GetSize(width, height);
    }

    t_uiSettings settings;
};

TEST(ImcWrapImplSkinPreviewTest, SampleTextsFollowTheCountTheSampleAndTheRoom)
{
    const struct {
        int count;
        bool longSample;
        int capacity;
        std::vector<const wchar_t*> expected;
    } cases[] = {
        {3, false, 10240, {L"1.拼音 ", L"2.品 ", L"3.频 "}},
        {5, false, 10240, {L"1.拼音 ", L"2.品 ", L"3.频 ", L"4.拼 ", L"5.贫 "}},
        {12,
         false,
         10240,
         {L"1.拼音 ", L"2.品 ", L"3.频 ", L"4.拼 ", L"5.贫 ", L"6.聘 ", L"7.嫔 ", L"8.姘 ", L"9.颦 "}},
        {0, false, 10240, {}},
        {-4, false, 10240, {}},
        // "1.拼音 " and its terminator take 6 units, "2.品 " 5 more.
        {5, false, 10, {L"1.拼音 "}},
        {5, false, 5, {}},
        {3, true, 10240, {L"1.栖鹭拼音输入法打字准确快速好用让每个人都喜欢", L"2.爸爸", L"3.巴巴"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << " long " << c.longSample << " room " << c.capacity);
        ImcWrapImplSkinPreview host;
        host.SetCandidateCount(c.count);
        host.SetLongSample(c.longSample);
        std::vector<wchar_t> buffer(static_cast<size_t>(c.capacity) + 1, L'#');
        t_candidateList list = {};
        list.buffer = buffer.data();
        list.capacity = c.capacity;
        list.selectedIndex = 7;
        ASSERT_EQ(static_cast<int>(c.expected.size()), host.GetCandidates(nullptr, &list));
        EXPECT_EQ(0, list.selectedIndex);
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_STREQ(c.expected[i], list.records[i].text) << i;
        EXPECT_EQ(nullptr, list.records[c.expected.size()].text);
        EXPECT_EQ(L'#', buffer[static_cast<size_t>(c.capacity)]) << "nothing is written past the room";
    }

    // The composition: converted text, an empty text, the pinyin; every other field cleared.
    for (bool longSample : {false, true}) {
        ImcWrapImplSkinPreview host;
        host.SetLongSample(longSample);
        t_compositionRecord record;
        std::memset(&record, 0xCD, sizeof record);
        wchar_t buffer[64];
        ASSERT_TRUE(host.GetComposition(nullptr, buffer, 64, nullptr, nullptr, &record));
        EXPECT_STREQ(longSample ? L"" : L"栖鹭", record.text1);
        EXPECT_STREQ(L"", record.text2);
        EXPECT_EQ(nullptr, record.text4);
        EXPECT_EQ(nullptr, record.markup);
        EXPECT_EQ(0, record.richShown);
        const std::wstring pinyin = record.compText;
        if (!longSample) {
            EXPECT_EQ(L"pinyin", pinyin);
            continue;
        }
        // One syllable for each of the 22 characters of the long candidate.
        EXPECT_EQ(21, std::count(pinyin.begin(), pinyin.end(), L'\''));
        EXPECT_EQ(std::wstring(L"1.") + L"栖鹭拼音输入法打字准确快速好用让每个人都喜欢",
                  ImcWrapImplSkinPreview::CandidateText(0, true));
        EXPECT_EQ(24u, wcslen(ImcWrapImplSkinPreview::CandidateText(0, true)));
    }
}

TEST_F(PreviewPCTest, EveryPageDrawsItsWindowsThenTheStatusBarWithTheSampleTexts)
{
    const struct {
        int page;
        uint32_t compColor;  // the combined window, or the separate composition window
        uint32_t candColor;  // the separate candidate window; 0 for combined pages
        bool vertical;
    } cases[] = {
        {PreviewConfigable::e_pageH1, c_h1Color, 0, false},
        {PreviewConfigable::e_pageH2, c_h2CompColor, c_h2CandColor, false},
        {PreviewConfigable::e_pageV1, c_v1Color, 0, true},
        {PreviewConfigable::e_pageV2, c_v2CompColor, c_v2CandColor, true},
    };
    PreviewPC preview(PreviewPC::e_normal);
    Start(preview, PreviewConfigable::e_pageH1);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page);
        ShowPage(preview, c.page);
        for (int count : {3, 7}) {
            SCOPED_TRACE(testing::Message() << count << " candidates");
            preview.SetCandidateCount(count);
            preview.SetHostWindow(nullptr);
            ASSERT_TRUE(preview.UpdateLayout());
            const t_shot shot = Draw(preview);
            ASSERT_GT(shot.width, 0);

            // The composition window at the top left, the candidate window under it after
            // a gap, the status bar under them after another, each at its own size.
            const RECT comp = shot.Find(c.compColor);
            ASSERT_FALSE(RectIsEmpty(comp));
            EXPECT_EQ(0, comp.left);
            EXPECT_EQ(0, comp.top);
            RECT cand = comp;
            if (c.candColor) {
                cand = shot.Find(c.candColor);
                ASSERT_FALSE(RectIsEmpty(cand));
                EXPECT_EQ(0, cand.left);
                EXPECT_EQ(comp.bottom + PreviewPC::c_compCandGap, cand.top);
            }
            const RECT bar = shot.Find(c_barColor);
            EXPECT_EQ(0, bar.left);
            EXPECT_EQ(cand.bottom + PreviewPC::c_statusGap, bar.top);
            EXPECT_EQ(c_barWidth, RectWidth(bar));
            EXPECT_EQ(c_barHeight, RectHeight(bar));
            EXPECT_EQ(std::max<int>({RectWidth(comp), RectWidth(cand), c_barWidth}), shot.width);
            EXPECT_EQ(bar.bottom, shot.height);

            // "栖鹭" in the converted colour, then "pinyin" in the pinyin colour, in the
            // composition window.
            const RECT converted = shot.Bounds(IsMagenta, comp);
            const RECT pinyin = shot.Bounds(IsGreen, comp);
            ASSERT_FALSE(RectIsEmpty(converted));
            ASSERT_FALSE(RectIsEmpty(pinyin));
            EXPECT_LE(converted.right, pinyin.left);
            EXPECT_GE(RectWidth(pinyin), 3 * RectHeight(pinyin) / 2) << "six letters";
            EXPECT_GE(RectWidth(converted), 3 * RectHeight(converted) / 2) << "two characters";

            // The candidates: dark text inside each of the first count item rectangles, in a
            // row or a column; the rest empty.
            const t_wndTop& window = c.candColor ? static_cast<const t_wndTop&>(preview.Candidates())
                                                 : static_cast<const t_wndTop&>(preview.Composition());
            const t_wndCandString& list =
                c.candColor ? preview.Candidates().candString : preview.Composition().candString;
            RECT items[t_wndCandString::c_itemRectCount];
            ASSERT_EQ(t_wndCandString::c_itemRectCount, list.GetItemRects(items));
            const RECT origin = window.GetRect();
            for (int i = 0; i < t_wndCandString::c_itemRectCount; ++i) {
                SCOPED_TRACE(testing::Message() << "candidate " << i);
                RECT item = items[i];
                OffsetRect(&item, cand.left - origin.left, cand.top - origin.top);
                const RECT text = RectIsEmpty(item) ? item : shot.Bounds(IsDark, item);
                EXPECT_EQ(i < count, !RectIsEmpty(text));
                if (i == 0 || i >= count)
                    continue;
                RECT before = items[i - 1];
                OffsetRect(&before, cand.left - origin.left, cand.top - origin.top);
                if (c.vertical)
                    EXPECT_GE(item.top, before.bottom);
                else
                    EXPECT_GE(item.left, before.right);
            }
        }
    }
}

// The panel's two desktop previews over the default skin (custom buttons in every window).
// An edit reaches both: the shown one loads and lays out every window, the other loads and
// rebuilds its windows but measures only its page's. Then the other one is torn down; no
// node freed by a rebuild may be reached by the teardown, and no round leaves GDI objects
// behind.
TEST_F(PreviewPCTest, OnePreviewTornDownWhileTheOtherReloadsLeavesNothingBehind)
{
    const t_defaultSkin source = ReadDefaultSkin();
    ASSERT_TRUE(WriteSkinPackFile(g_temp->Path() + L"\\skin_src", source.pictures, source.ini, WorkCopy()));
    PreviewPC kept(PreviewPC::e_normal);
    Start(kept, PreviewConfigable::e_pageH1);
    const int pages[] = {PreviewConfigable::e_pageH1, PreviewConfigable::e_pageH2, PreviewConfigable::e_pageV1,
                         PreviewConfigable::e_pageV2};
    const auto round = [&](int index) {
        const int page = pages[index % 4];
        auto gone = std::make_unique<PreviewPC>(PreviewPC::e_largeFont);
        Start(*gone, page, 3 + index % 7);
        gone->Reload();
        for (t_wndTop* window :
             {static_cast<t_wndTop*>(&gone->Composition()), static_cast<t_wndTop*>(&gone->SeparateComposition()),
              static_cast<t_wndTop*>(&gone->Candidates()), static_cast<t_wndTop*>(&gone->Status())})
            window->ResetUi(0);
        if (PreviewPC::IsSeparatePage(page)) {
            gone->SeparateComposition().Measure(nullptr);
            gone->Candidates().Measure(nullptr);
        } else {
            gone->Composition().Measure(nullptr);
        }
        kept.Reload();
        ShowPage(kept, page);
        gone.reset();
        EXPECT_GT(Draw(kept).width, 0) << "round " << index;
    };
    // The first rounds make what the process keeps once made (fonts, caches).
    for (int index = 0; index < 4; ++index)
        round(index);
    const DWORD before = LiveGdiObjects();
    const int c_rounds = 24;
    for (int index = 4; index < 4 + c_rounds; ++index)
        round(index);
    EXPECT_EQ(before, LiveGdiObjects());
}

TEST_F(PreviewPCTest, AReloadWaitsUntilThePreviewIsNextMeasuredOrPainted)
{
    PreviewPC preview(PreviewPC::e_normal);
    Start(preview, PreviewConfigable::e_pageH1);
    EXPECT_FALSE(preview.RefreshPending());
    const t_shot before = Draw(preview);
    ASSERT_GT(before.width, 0);

    // An edit reloads and rebuilds nothing yet: the default skin written over the work copy
    // after it is what the next measure finds.
    preview.Reload();
    EXPECT_TRUE(preview.RefreshPending());
    const t_defaultSkin source = ReadDefaultSkin();
    ASSERT_TRUE(WriteSkinPackFile(g_temp->Path() + L"\\skin_src", source.pictures, source.ini, WorkCopy()));
    preview.SetHostWindow(nullptr);
    EXPECT_TRUE(preview.RefreshPending());
    const t_shot after = Draw(preview);
    EXPECT_FALSE(preview.RefreshPending());
    EXPECT_NE(before.pixels, after.pixels) << "the skin on disk when measured, not when reloaded";

    // A preview made afresh from the same work copy draws the same.
    PreviewPC fresh(PreviewPC::e_normal);
    Start(fresh, PreviewConfigable::e_pageH1);
    const t_shot expected = Draw(fresh);
    EXPECT_EQ(expected.width, after.width);
    EXPECT_EQ(expected.height, after.height);
    EXPECT_EQ(expected.pixels, after.pixels);
}

TEST_F(PreviewPCTest, TheLargeFontVariantDrawsTheSameSkinEightLarger)
{
    PreviewPC normal(PreviewPC::e_normal);
    PreviewPC large(PreviewPC::e_largeFont);
    Start(normal, PreviewConfigable::e_pageH1);
    Start(large, PreviewConfigable::e_pageH1);
    EXPECT_EQ(settings.fontSize, normal.Settings().fontSize);
    EXPECT_EQ(settings.fontSize + PreviewPC::c_largeFontStep, large.Settings().fontSize);
    const t_shot small = Draw(normal);
    const t_shot big = Draw(large);
    // Same windows and skin: the same background; larger texts, in proportion to the size.
    const RECT smallComp = small.Find(c_h1Color);
    const RECT bigComp = big.Find(c_h1Color);
    ASSERT_FALSE(RectIsEmpty(smallComp));
    ASSERT_FALSE(RectIsEmpty(bigComp));
    const double ratio = double(settings.fontSize + PreviewPC::c_largeFontStep) / settings.fontSize;
    for (bool (*match)(uint32_t) : {IsMagenta, IsGreen}) {
        const RECT a = small.Bounds(match, smallComp);
        const RECT b = big.Bounds(match, bigComp);
        ASSERT_FALSE(RectIsEmpty(a));
        ASSERT_FALSE(RectIsEmpty(b));
        EXPECT_NEAR(ratio, double(RectWidth(b)) / RectWidth(a), 0.2);
        EXPECT_NEAR(ratio, double(RectHeight(b)) / RectHeight(a), 0.25);
    }
    EXPECT_EQ(small.Find(c_barColor).right, big.Find(c_barColor).right) << "the status bar keeps its size";
}

// The clock that the animation reads.
uint32_t g_now = 0;
uint32_t FakeNow() { return g_now; }

TEST_F(PreviewPCTest, ButtonAnimationShowsEveryPictureAndStateForItsTime)
{
    t_inputHooksScope clock(t_inputHooks{FakeNow, nullptr, nullptr});
    PreviewPC preview(PreviewPC::e_normal);
    Start(preview, PreviewConfigable::e_pageH1);
    const int cnEn = 0;  // built-in kind 0 of window 0
    // Buttons of other types never animate.
    preview.StartAnimation(2 << 24 | cnEn);
    EXPECT_FALSE(preview.AnimationTick());
    preview.StartAnimation(cnEn);

    // The button's colour where the status bar shows it.
    const auto buttonColor = [&]() {
        const t_shot shot = Draw(preview);
        const RECT bar = shot.Find(c_barColor);
        return shot.At(bar.left + c_buttonX + c_buttonSize / 2, bar.top + c_buttonY + c_buttonSize / 2);
    };
    const uint32_t frames = 2 * c_animDelay * 10;  // the animated picture's play length
    // Per picture: normal, down and hover show the still picture a second each, in and out
    // the animation for its length; downing has no picture, so the next picture follows.
    struct t_step {
        uint32_t at;
        bool changed;
        int picture, state;
    };
    std::vector<t_step> steps;
    uint32_t t = 1000;
    for (int picture = 0; picture < 3; ++picture) {
        steps.push_back({t, true, picture, 0});
        steps.push_back({t + 999, false, picture, 0});
        steps.push_back({t + 1000, true, picture, 1});
        steps.push_back({t + 2000, true, picture, 2});
        steps.push_back({t + 3000, true, picture, 3});
        steps.push_back({t + 3000 + frames - 1, false, picture, 3});
        steps.push_back({t + 3000 + frames, true, picture, 4});
        steps.push_back({t + 3000 + 2 * frames, true, picture, 5});
        t += 3000 + 2 * frames + 10;
    }
    steps.push_back({t, true, 0, 0});  // and round again
    for (const t_step& step : steps) {
        SCOPED_TRACE(testing::Message() << "at " << step.at);
        g_now = step.at;
        EXPECT_EQ(step.changed, preview.AnimationTick());
        EXPECT_EQ(step.picture, preview.Animator().Picture());
        EXPECT_EQ(step.state, preview.Animator().State());
        if (step.state == 0 || step.state == 3) {
            EXPECT_EQ(step.state == 0 ? c_variantColors[step.picture] : c_animColors[0], buttonColor());
        }
    }

    // An edit makes the bar's buttons again; stopping then gives the new button back its
    // first picture and its own state.
    g_now += 1000;
    preview.AnimationTick();
    preview.SetHostWindow(nullptr);
    preview.StopAnimation();
    EXPECT_FALSE(preview.Animator().Running());
    const t_wndStatusBtn* button = preview.Status().FindButton(cnEn);
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(button, preview.Animator().Button()) << "the bar's button of now, not the one made before";
    EXPECT_FALSE(button->modeLocked);
    EXPECT_FALSE(button->fixedStateOn);
    EXPECT_EQ(c_variantColors[0], buttonColor());
    g_now += 1000;
    EXPECT_FALSE(preview.AnimationTick());
}

TEST_F(PreviewPCTest, TheWindowsHaveNoWindowAndTheirPostsPassTheLoopByHarmlessly)
{
    const auto threadWindows = []() {
        int count = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND, LPARAM counter) {
                ++*reinterpret_cast<int*>(counter);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int windowsBefore = threadWindows();
    PreviewPC preview(PreviewPC::e_normal);
    Start(preview, PreviewConfigable::e_pageH2);
    EXPECT_EQ(windowsBefore, threadWindows()) << "the preview makes no window";
    for (const t_wndTop* top :
         {static_cast<const t_wndTop*>(&preview.Composition()),
          static_cast<const t_wndTop*>(&preview.SeparateComposition()),
          static_cast<const t_wndTop*>(&preview.Candidates()), static_cast<const t_wndTop*>(&preview.Status())}) {
        EXPECT_TRUE(top->ownerMode);
        EXPECT_EQ(nullptr, top->hwnd);
        EXPECT_EQ(nullptr, top->GetHwnd());
    }
    EXPECT_EQ(nullptr, preview.Context().hostWindow);
    EXPECT_EQ(&preview.Host(), preview.Context().imcWrap);

    // A click on the bar and a release on the candidates post to the host window: with none,
    // they arrive on the thread as messages of no window and go nowhere.
    MSG drain;
    while (PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE)) {
    }
    const RECT bar = preview.Status().GetRect();
    preview.Status().OnLButtonDown(MK_LBUTTON, bar.left + 2, bar.top + 2);
    preview.Status().OnLButtonUp(0, bar.left + 2, bar.top + 2);
    const RECT cand = preview.Candidates().GetRect();
    preview.Candidates().OnLButtonDown(MK_LBUTTON, cand.left + 10, cand.top + 10);
    preview.Candidates().OnLButtonUp(0, cand.left + 10, cand.top + 10);
    int posted = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(nullptr, message.hwnd);
        ++posted;
        TranslateMessage(&message);
        EXPECT_EQ(0, DispatchMessageW(&message));
    }
    EXPECT_GT(posted, 0);
}

TEST(PreviewBlankTest, ABlankSlotHasNoSizeAndDrawsNothing)
{
    PreviewBlank blank;
    EXPECT_TRUE(blank.Init(0, PanelSettings()));
    EXPECT_TRUE(blank.UpdateLayout());
    int x = 7, y = 7;
    EXPECT_TRUE(blank.GetDefaultPos(0, x, y));
    EXPECT_EQ(0, x + y);
    const t_shot shot = Draw(blank, 20, 10);
    ASSERT_EQ(20 * 10u, shot.pixels.size());
    EXPECT_TRUE(std::all_of(shot.pixels.begin(), shot.pixels.end(), [](uint32_t p) { return p == 0; }));
    EXPECT_FALSE(blank.Tick());
    EXPECT_FALSE(blank.AnimationTick());
}

}  // namespace
