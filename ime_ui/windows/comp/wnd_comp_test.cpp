// The composition windows and the candidate window as the editor's preview drives them:
// drawn in owner mode without an owner window into DIBs (background, mask, separator,
// buttons and text at their places), their minimum sizes, the rectangles, shows and
// paints they report to the host, the mouse reports with the candidate under the mouse,
// and the relay of the host message.
#include "ime_ui/windows/comp/wnd_comp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "foundation/records/skin_pack.h"
#include "foundation/win/rect.h"
#include "graphics/layout/layout.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "tests/support/default_skin.h"
#include "tests/support/flat_png.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/gdi_census.h"
#include "tests/support/paint_surface.h"
#include "tests/support/pixel_shot.h"
#include "tests/support/sample_ime_host.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

// Marker colours (0xRRGGBB; GDI colours of the skin read the same way round).
const uint32_t c_backColor = 0x808080;
const uint32_t c_candBackColor = 0x606060;
const uint32_t c_buttonColor = 0xFF0000;
const uint32_t c_lineColor = 0xFF00FF;
const uint32_t c_pictureColor = 0x00FFFF;
const int c_buttonSize = 16;
const int c_maskCorner = 8;

// Writes a 24-bit bottom-up BMP, white but for a black top-left corner of corner pixels.
std::string MaskBmp(int width, int height, int corner)
{
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t dataSize = static_cast<uint32_t>(stride * height);
    std::string out;
    auto put16 = [&out](uint32_t v) { out += std::string{char(v), char(v >> 8)}; };
    auto put32 = [&out](uint32_t v) { out += std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    out += "BM";
    put32(54 + dataSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(dataSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int row = height - 1; row >= 0; --row) {
        std::string line(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const char v = row < corner && x < corner ? '\0' : '\xFF';
            line[x * 3] = line[x * 3 + 1] = line[x * 3 + 2] = v;
        }
        out += line;
    }
    return out;
}

// The host of the preview: sample composition and candidates, and a record of every
// report the windows make.
class t_previewHost : public t_sampleImeHost {
public:
    bool SetCompWindowRect(HWND, int x, int y, int width, int height) override
    {
        compRect = RECT{x, y, x + width, y + height};
        ++compRects;
        return true;
    }
    bool SetCandWindowRect(HWND, int x, int y, int width, int height) override
    {
        candRect = RECT{x, y, x + width, y + height};
        ++candRects;
        return true;
    }
    bool SetCaretRect(HWND, int x, int y, int width, int height) override
    {
        caretRect = RECT{x, y, x + width, y + height};
        return true;
    }
    bool SetCandItemRects(HWND, const RECT* rects, int count, int left, int top, int right, int bottom) override
    {
        itemRects.assign(rects, rects + count);
        itemWindow = RECT{left, top, right, bottom};
        return true;
    }
    bool OnCompWindowShow(HWND, HWND, bool shown, bool combined) override
    {
        shows.push_back({'C', shown, combined});
        return true;
    }
    bool OnCandWindowShow(HWND, HWND, bool shown, bool combined) override
    {
        shows.push_back({'K', shown, combined});
        return true;
    }
    bool OnCompPainted(HWND) override
    {
        ++compPaints;
        return true;
    }
    bool OnCandPainted(HWND) override
    {
        ++candPaints;
        return true;
    }
    bool ReportMouse(HWND, int windowKind, int event, int index, int x, int y) override
    {
        mouse.push_back({windowKind, event, index, x, y});
        return true;
    }

    struct t_show {
        char window;
        bool shown, combined;
        bool operator==(const t_show& o) const
        {
            return window == o.window && shown == o.shown && combined == o.combined;
        }
    };
    struct t_mouse {
        int kind, event, index, x, y;
        bool operator==(const t_mouse& o) const
        {
            return kind == o.kind && event == o.event && index == o.index && x == o.x && y == o.y;
        }
    };

    RECT compRect = {}, candRect = {}, caretRect = {}, itemWindow = {};
    int compRects = 0, candRects = 0;
    std::vector<RECT> itemRects;
    std::vector<t_show> shows;
    int compPaints = 0, candPaints = 0;
    std::vector<t_mouse> mouse;
};

std::ostream& operator<<(std::ostream& out, const t_previewHost::t_mouse& m)
{
    return out << "{" << m.kind << "," << m.event << "," << m.index << "," << m.x << "," << m.y << "}";
}
std::ostream& operator<<(std::ostream& out, const t_previewHost::t_show& s)
{
    return out << "{" << s.window << "," << s.shown << "," << s.combined << "}";
}

class t_previewUi : public UiWrapImplBase {
public:
    bool GetMinWindowSize(HWND, SIZE& size) override
    {
        if (minimum.cx <= 0 && minimum.cy <= 0)
            return false;
        size = minimum;
        return true;
    }
    void EnterMessage(int flag) override { depth += flag ? 1 : -1; }
    void PopupAt(HWND, int x, int y, int mode) override { popups.push_back({x, y, mode}); }

    SIZE minimum = {0, 0};
    int depth = 0;
    std::vector<std::vector<int>> popups;
};

// Display, fonts and colours shared by every test skin: black text.
const wchar_t* const c_display = L"[Display]\r\nfont_size=12\r\nfont_ch=Tahoma\r\nfont_en=Tahoma\r\n"
                                 L"pinyin_color=0x000000\r\nzhongwen_first_color=0x000000\r\n"
                                 L"zhongwen_color=0x000000\r\ncomphint_color=0x000000\r\n"
                                 L"result_color=0x000000\r\nbihua_color=0x000000\r\ncaret_color=0x000000\r\n";

// A menu button of 16 pixels, 2 from the top and 3 from the right of the whole window.
std::wstring MenuButton(const std::wstring& prefix)
{
    return prefix + L"menu_display=1\r\n" + prefix + L"menu=red.png\r\n" + prefix +
           L"menu_align=2,0,0,3,1,0,0,2,0,0\r\n";
}

std::wstring CombinedSection(const wchar_t* name, const wchar_t* separator)
{
    return std::wstring(L"[") + name +
           L"]\r\npic=back.png\r\npic_mask=mask.bmp\r\nlayout_horizontal=0,8,8\r\nlayout_vertical=0,8,8\r\n"
           L"pinyin_marge=4,4,6,6\r\nzhongwen_marge=4,4,6,6\r\n" +
           separator + MenuButton(L"");
}

std::wstring SeparateSection(const wchar_t* name)
{
    return std::wstring(L"[") + name +
           L"]\r\npinyin_pic=back.png\r\npinyin_pic_mask=mask.bmp\r\npinyin_layout_horizontal=0,8,8\r\n"
           L"pinyin_layout_vertical=0,8,8\r\nzhongwen_pic=candback.png\r\nzhongwen_layout_horizontal=0,8,8\r\n"
           L"zhongwen_layout_vertical=0,8,8\r\npinyin_marge=4,4,6,6\r\nzhongwen_marge=4,4,6,6\r\n" +
           MenuButton(L"comp_") + MenuButton(L"cand_");
}

const wchar_t* const c_lineSeparator = L"separator=0xFF00FF,5,5\r\n";
const wchar_t* const c_pictureSeparator =
    L"seperatorui_pic=sep.png\r\nseperatorui_layout_horizontal=0,2,2\r\nseperatorui_layout_vertical=0,1,1\r\n"
    L"seperatorui_to_left_right=5,5\r\n";

bool WritePack(const t_tempFolder& dir, const std::wstring& ini, const std::wstring& packPath)
{
    const t_skinPackFiles files = {
        {L"back.png", FlatPng(40, 30, {c_backColor << 8 | 0xFF})},
        {L"candback.png", FlatPng(40, 30, {c_candBackColor << 8 | 0xFF})},
        {L"mask.bmp", MaskBmp(40, 30, c_maskCorner)},
        {L"sep.png", FlatPng(20, 4, {c_pictureColor << 8 | 0xFF})},
        {L"red.png", FlatPng(c_buttonSize, c_buttonSize, {c_buttonColor << 8 | 0xFF})},
    };
    return WriteSkinPackFile(dir / L"skin_src", files, ini, packPath);
}

// The pixels of one rendering, with finders for marker colours and text.
struct t_rendering : t_pixelShot {
    // Dark pixels: the black text over the grey backgrounds, no marker.
    RECT Text(const RECT& within) const
    {
        return Bounds(
            [](uint32_t c) {
                return std::max({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF}) < 0x50;
            },
            within);
    }
};

t_rendering Render(t_wndTop& window)
{
    t_rendering out;
    const SIZE size = window.GetSize();
    out.width = size.cx;
    out.height = size.cy;
    if (size.cx <= 0 || size.cy <= 0)
        return out;
    t_testSurface surface(size.cx, size.cy, true);
    EXPECT_TRUE(window.PaintToDC(surface.Dc(), 0, 0, -1, -1));
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x)
            out.pixels.push_back(surface.At(x, y));
    }
    return out;
}

RECT Moved(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

// The offset of key's line inside section; npos when either is missing.
size_t KeyLine(const std::wstring& ini, const wchar_t* section, const wchar_t* key)
{
    const size_t start = ini.find(std::wstring(L"[") + section + L"]");
    if (start == std::wstring::npos)
        return start;
    return ini.find(std::wstring(L"\r\n") + key + L"=", start);
}

// ini with key's value in section replaced.
std::wstring WithValue(std::wstring ini, const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    const size_t line = KeyLine(ini, section, key);
    if (line == std::wstring::npos)
        return std::wstring();
    const size_t from = line + 2 + wcslen(key) + 1;
    ini.replace(from, ini.find(L"\r\n", from) - from, value);
    return ini;
}

// ini with text inserted on a line of its own before key's line in section.
std::wstring WithLineBefore(std::wstring ini, const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    const size_t line = KeyLine(ini, section, key);
    if (line == std::wstring::npos)
        return std::wstring();
    ini.insert(line + 2, std::wstring(text) + L"\r\n");
    return ini;
}

class CompWindowsTest : public t_tempFolderTest {
protected:
    CompWindowsTest() : t_tempFolderTest(L"wnd_comp")
    {
        settings = t_uiSettings{};
        settings.skinEnabled = true;
        settings.cursorFollow = true;
        settings.fontSize = 12;
        settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
        settings.colorBackground = 0xFFFFFF;
        settings.colorBorder = 0x000000;
        packPath = At(L"skin.dat");
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
        context.SetImcWrap(&host);
        context.SetUiWrap(&ui);
    }

    bool LoadSkin(const std::wstring& sections)
    {
        if (!WritePack(dir, std::wstring(c_display) + sections, packPath))
            return false;
        t_errorChain errors;
        return skin.Load(errors, 0);
    }
    // The window as the preview makes it: owner mode, no owner window, measured.
    template <class W>
    void Make(W& window)
    {
        window.ownerMode = true;
        window.SetContext(&context);
        ASSERT_TRUE(window.Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, nullptr));
        window.Measure(nullptr);
    }

    // The three windows of the composition frame, made and taken down in the preview's order.
    struct t_threeWindows {
        t_wndComp combined;
        t_wndComp2 composition;
        t_wndCand candidates;
    };
    void MakeThree(t_threeWindows& windows)
    {
        Make(windows.combined);
        Make(windows.composition);
        Make(windows.candidates);
    }
    static void DestroyThree(t_threeWindows& windows)
    {
        windows.candidates.Destroy();
        windows.composition.Destroy();
        windows.combined.Destroy();
    }

    t_uiSettings settings;
    std::wstring packPath;
    t_uiSkinData skin;
    t_previewHost host;
    t_previewUi ui;
    t_uiContext context;
};

// The background fills the window, opaque; the mask layer's region leaves out its black
// corner; the menu button sits 2 from the top and 3 from the right.
void ExpectFrame(t_wndTop& window, const t_rendering& shot, uint32_t background, const char* what)
{
    ASSERT_GT(shot.width, 2 * c_maskCorner) << what;
    ASSERT_GT(shot.height, 2 * c_maskCorner) << what;
    EXPECT_EQ(0xFF, shot.Alpha(0, 0)) << what;
    EXPECT_EQ(background, shot.At(0, 0)) << what;
    ASSERT_TRUE(window.layout && window.layout->GetNext()) << what << ": a mask layer";
    HDC screen = GetDC(nullptr);
    HRGN region = window.layout->GetNext()->GetRegion(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(nullptr, region) << what;
    const RECT r = window.GetRect();
    EXPECT_FALSE(PtInRegion(region, r.left + 1, r.top + 1)) << what << ": the mask's black corner";
    EXPECT_FALSE(PtInRegion(region, r.left + c_maskCorner - 1, r.top + c_maskCorner - 1)) << what;
    EXPECT_TRUE(PtInRegion(region, r.left + c_maskCorner, r.top + c_maskCorner)) << what;
    EXPECT_TRUE(PtInRegion(region, r.right - 1, r.bottom - 1)) << what << ": the mask follows the window";
    DeleteObject(region);
    EXPECT_EQ(background, shot.At(shot.width - 1, shot.height - 1)) << what;
    EXPECT_EQ(background, shot.At(c_maskCorner + 1, shot.height - 2)) << what;
    ExpectRect(RECT{shot.width - 3 - c_buttonSize, 2, shot.width - 3, 2 + c_buttonSize}, shot.Find(c_buttonColor),
               what);
}

// The candidate rectangles run in a row (horizontal) or a column (vertical), in order.
void ExpectItemsInOrder(const std::vector<RECT>& rects, int shown, bool vertical, const char* what)
{
    ASSERT_EQ(10u, rects.size()) << what;
    for (int i = 0; i < shown; ++i)
        EXPECT_FALSE(RectIsEmpty(rects[i])) << what << " item " << i;
    for (int i = 1; i < shown; ++i) {
        if (vertical) {
            EXPECT_GE(rects[i].top, rects[i - 1].bottom) << what << " item " << i;
            EXPECT_EQ(rects[i].left, rects[i - 1].left) << what << " item " << i;
        } else {
            EXPECT_GE(rects[i].left, rects[i - 1].right) << what << " item " << i;
            EXPECT_EQ(rects[i].top, rects[i - 1].top) << what << " item " << i;
        }
    }
}

TEST_F(CompWindowsTest, CombinedSchemesDrawCompositionSeparatorAndCandidates)
{
    const struct {
        const char* name;
        bool vertical;
        const wchar_t* separator;
        uint32_t separatorColor;
        int separatorHeight;
    } cases[] = {
        {"horizontal, line", false, c_lineSeparator, c_lineColor, 1},
        {"horizontal, picture", false, c_pictureSeparator, c_pictureColor, 4},
        {"vertical, line", true, c_lineSeparator, c_lineColor, 1},
        {"vertical, picture", true, c_pictureSeparator, c_pictureColor, 4},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(LoadSkin(CombinedSection(L"Scheme_H1", c.separator) + CombinedSection(L"Scheme_V1", c.separator)))
            << c.name;
        settings.candStyle = c.vertical ? 1 : 0;
        host = t_previewHost();
        t_wndComp window;
        Make(window);
        EXPECT_EQ(c.vertical, window.IsVertical()) << c.name;
        const t_rendering shot = Render(window);
        ExpectFrame(window, shot, c_backColor, c.name);

        // The separator runs across the window, 5 pixels in from either side.
        const RECT separator = shot.Find(c.separatorColor);
        ASSERT_FALSE(RectIsEmpty(separator)) << c.name;
        EXPECT_EQ(5, separator.left) << c.name;
        EXPECT_EQ(shot.width - 5, separator.right) << c.name;
        EXPECT_EQ(c.separatorHeight, RectHeight(separator)) << c.name;

        // Composition text above it, candidates below; a row or a column of them.
        const RECT composition = shot.Text(RECT{0, 0, shot.width, separator.top});
        const RECT candidates = shot.Text(RECT{0, separator.bottom, shot.width, shot.height});
        ASSERT_FALSE(RectIsEmpty(composition)) << c.name;
        ASSERT_FALSE(RectIsEmpty(candidates)) << c.name;
        EXPECT_GE(composition.left, 6) << c.name;
        EXPECT_GE(candidates.left, 6) << c.name;
        if (c.vertical)
            EXPECT_GT(RectHeight(candidates), 4 * 10) << c.name << ": five candidates in a column";
        else
            EXPECT_GT(RectWidth(candidates), 3 * RectHeight(candidates)) << c.name << ": five candidates in a row";

        // What the host was told: the window (twice), the caret and the item rectangles.
        const RECT r = window.GetRect();
        ExpectRect(r, host.compRect, c.name);
        ExpectRect(r, host.candRect, c.name);
        ExpectRect(r, host.itemWindow, c.name);
        ExpectItemsInOrder(host.itemRects, 5, c.vertical, c.name);
        for (int i = 0; i < 5; ++i) {
            const RECT item = Moved(host.itemRects[i], -r.left, -r.top);
            EXPECT_GE(item.top, separator.bottom) << c.name << " item " << i;
            EXPECT_LE(item.bottom, shot.height) << c.name << " item " << i;
        }
        for (int i = 5; i < 10; ++i)
            EXPECT_TRUE(RectIsEmpty(host.itemRects[i]) || host.itemRects[i].left == host.itemRects[i].right)
                << c.name << " item " << i;
        EXPECT_GE(host.compPaints, 1) << c.name;
        EXPECT_EQ(host.compPaints, host.candPaints) << c.name;
    }
}

TEST_F(CompWindowsTest, SeparateSchemesDrawCompositionAndCandidateWindows)
{
    for (bool vertical : {false, true}) {
        const char* name = vertical ? "vertical" : "horizontal";
        ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + SeparateSection(L"Scheme_V2")));
        settings.candStyle = vertical ? 1 : 0;
        host = t_previewHost();
        t_wndComp2 composition;
        t_wndCand candidates;
        Make(composition);
        Make(candidates);

        const t_rendering compShot = Render(composition);
        ExpectFrame(composition, compShot, c_backColor, name);
        const RECT text = compShot.Text(compShot.All());
        ASSERT_FALSE(RectIsEmpty(text)) << name;
        EXPECT_GE(text.left, 6) << name;
        EXPECT_GE(text.top, 4) << name;

        // The candidate window has no mask: its corner shows its own background.
        const t_rendering candShot = Render(candidates);
        ASSERT_GT(candShot.width, 0) << name;
        EXPECT_EQ(c_candBackColor, candShot.At(1, 1)) << name;
        EXPECT_EQ(c_candBackColor, candShot.At(candShot.width - 1, candShot.height - 1)) << name;
        ExpectRect(RECT{candShot.width - 3 - c_buttonSize, 2, candShot.width - 3, 2 + c_buttonSize},
                   candShot.Find(c_buttonColor), name);
        const RECT list = candShot.Text(candShot.All());
        ASSERT_FALSE(RectIsEmpty(list)) << name;
        if (vertical)
            EXPECT_GT(RectHeight(list), 4 * 10) << name;
        else
            EXPECT_GT(RectWidth(list), 3 * RectHeight(list)) << name;

        ExpectRect(composition.GetRect(), host.compRect, name);
        ExpectRect(candidates.GetRect(), host.candRect, name);
        ExpectRect(candidates.GetRect(), host.itemWindow, name);
        ExpectItemsInOrder(host.itemRects, 5, vertical, name);
        EXPECT_GE(host.compPaints, 1) << name;
        EXPECT_GE(host.candPaints, 1) << name;
    }
}

TEST_F(CompWindowsTest, CaretReportIsTheCompositionCaretWidenedForTheHost)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2")));
    t_wndComp2 window;
    Make(window);
    RECT caret = {};
    window.compString.GetCaretRect(caret);
    ASSERT_FALSE(caret.left == 0 && caret.top == 0 && caret.bottom == 0) << "the typed text shows";
    ExpectRect(RECT{caret.left, caret.top - 2, caret.right, caret.bottom + 4}, host.caretRect, "caret");
}

TEST_F(CompWindowsTest, WithTheSkinOffWindowsKeepTheirMinimumWidths)
{
    // Tiny backgrounds and one candidate: the content alone is narrow.
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", L"")));
    host.candidateCount = 1;
    for (bool skinOn : {true, false}) {
        settings.skinEnabled = skinOn;
        t_wndComp combined;
        t_wndComp2 composition;
        t_wndCand candidates;
        Make(combined);
        Make(composition);
        Make(candidates);
        if (skinOn) {
            // The content is narrower than the minimums, so they show only with the skin off.
            EXPECT_LT(combined.GetSize().cx, t_wndComp::c_minimumWidth);
            EXPECT_LT(composition.GetSize().cx, t_wndComp2::c_minimumWidth);
            EXPECT_LT(candidates.GetSize().cx, t_wndCand::c_minimumWidth);
        } else {
            EXPECT_EQ(180, combined.GetSize().cx);
            EXPECT_EQ(180, composition.GetSize().cx);
            EXPECT_EQ(85, candidates.GetSize().cx);
            EXPECT_EQ(180, RectWidth(host.compRect));
        }
    }
}

TEST_F(CompWindowsTest, HostMinimumSizeRaisesEveryWindow)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", c_lineSeparator)));
    ui.minimum = SIZE{400, 150};
    t_wndComp combined;
    t_wndComp2 composition;
    t_wndCand candidates;
    Make(combined);
    Make(composition);
    Make(candidates);
    for (t_wndTop* window : {static_cast<t_wndTop*>(&combined), static_cast<t_wndTop*>(&composition),
                             static_cast<t_wndTop*>(&candidates)}) {
        EXPECT_EQ(400, window->GetSize().cx);
        EXPECT_EQ(150, window->GetSize().cy);
        // The background follows the window out to its far corner.
        const t_rendering shot = Render(*window);
        EXPECT_EQ(0xFF, shot.Alpha(399, 149));
    }
    // The content shrinks back once the host asks for less.
    ui.minimum = SIZE{0, 0};
    composition.Measure(nullptr);
    EXPECT_LT(composition.GetSize().cx, 400);
}

TEST_F(CompWindowsTest, MouseReportsCarryTheCandidateUnderThePoint)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", c_lineSeparator)));
    settings.cursorFollow = false;
    t_wndComp combined;
    t_wndCand candidates;
    t_wndComp2 composition;
    Make(combined);
    Make(candidates);
    Make(composition);

    struct t_window {
        const char* name;
        t_wndCompFrame* window;
        int kind;
        bool hasCandidates;
    } windows[] = {
        {"combined", &combined, 0, true},
        {"candidates", &candidates, 1, true},
        {"composition", &composition, 0, false},
    };
    for (const t_window& w : windows) {
        host = t_previewHost();
        w.window->MoveTo(200, 300);
        w.window->Measure(nullptr);
        const RECT r = w.window->GetRect();
        const RECT second = host.itemRects.empty() ? RECT{} : host.itemRects[2];
        int x = r.left + RectWidth(r) / 2, y = r.bottom - 2;
        int expected = -1;
        if (w.hasCandidates) {
            ASSERT_FALSE(RectIsEmpty(second)) << w.name;
            x = (second.left + second.right) / 2;
            y = (second.top + second.bottom) / 2;
            expected = 2;
        }
        host.mouse.clear();
        w.window->OnRButtonDown(0, x, y);
        EXPECT_TRUE(w.window->OnRButtonUp(0, x, y)) << w.name;
        w.window->OnLButtonDown(0, x, y);
        EXPECT_TRUE(w.window->OnLButtonUp(0, x, y)) << w.name;
        // A point in the window outside every candidate.
        w.window->OnRButtonDown(0, r.left + 1, r.top + 1);
        // A point outside the window reports nothing on a press.
        EXPECT_FALSE(w.window->OnRButtonDown(0, r.right + 50, r.bottom + 50)) << w.name;

        const int dx = x - r.left, dy = y - r.top;
        const std::vector<t_previewHost::t_mouse> expectedReports = {
            {w.kind, 2, expected, dx, dy}, {w.kind, 3, expected, dx, dy}, {w.kind, 0, expected, dx, dy},
            {w.kind, 1, expected, dx, dy}, {w.kind, 2, -1, 1, 1},
        };
        EXPECT_EQ(expectedReports, host.mouse) << w.name;
        ASSERT_FALSE(ui.popups.empty()) << w.name;
        EXPECT_EQ((std::vector<int>{x, y, 0}), ui.popups.back()) << w.name;
        ui.popups.clear();
    }
    // Only the composition windows keep their place when the cursor does not lead them.
    EXPECT_EQ(200, settings.compPosX);
    EXPECT_EQ(300, settings.compPosY);
}

TEST_F(CompWindowsTest, CandidatesBeyondTheTenthAreNeverReportedByIndex)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_V2")));
    settings.candStyle = 1;
    host.candidateCount = 9;
    t_wndCand window;
    Make(window);
    RECT rects[t_wndCandString::c_itemRectCount];
    ASSERT_EQ(10, window.candString.GetItemRects(rects));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(i, window.HitCandidate((rects[i].left + rects[i].right) / 2, (rects[i].top + rects[i].bottom) / 2))
            << i;
    }
    const RECT r = window.GetRect();
    EXPECT_EQ(-1, window.HitCandidate(r.right + 1, r.bottom + 1));
    EXPECT_EQ(-1, window.HitCandidate(r.left, r.top));
}

TEST_F(CompWindowsTest, ShowReportsTellTheHostWhichWindowShowed)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", c_lineSeparator)));
    t_wndComp combined;
    t_wndComp2 composition;
    t_wndCand candidates;
    Make(combined);
    Make(composition);
    Make(candidates);
    host.shows.clear();
    combined.Show(true);
    composition.Show(true);
    candidates.Show(false);
    const std::vector<t_previewHost::t_show> expected = {
        {'C', true, true}, {'K', true, true}, {'C', true, false}, {'K', false, false}};
    EXPECT_EQ(expected, host.shows);
}

TEST_F(CompWindowsTest, HostMessageIsRelayedUnlessHiddenWhileTheHostShows)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", c_lineSeparator)));
    HWND hostWindow =
        CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hostWindow);
    context.SetHostWindow(hostWindow);
    t_wndComp combined;
    t_wndComp2 composition;
    Make(combined);
    Make(composition);

    auto relayed = [hostWindow]() {
        MSG msg;
        int count = 0;
        while (PeekMessageW(&msg, hostWindow, c_msgFadeDone, c_msgFadeDone, PM_REMOVE)) {
            EXPECT_EQ(7u, msg.wParam);
            EXPECT_EQ(9, msg.lParam);
            ++count;
        }
        return count;
    };
    const struct {
        bool windowShown, hostShown;
        int expected;
    } cases[] = {{false, true, 0}, {false, false, 1}, {true, true, 1}, {true, false, 1}};
    for (const auto& c : cases) {
        ShowWindow(hostWindow, c.hostShown ? SW_SHOWNOACTIVATE : SW_HIDE);
        combined.shown = composition.shown = c.windowShown;
        bool handled = false;
        combined.OnMessage(nullptr, c_msgFadeDone, 7, 9, handled);
        EXPECT_EQ(c.expected, relayed()) << c.windowShown << c.hostShown;
        composition.WndProc(nullptr, c_msgFadeDone, 7, 9);
        EXPECT_EQ(c.expected, relayed()) << c.windowShown << c.hostShown;
    }
    EXPECT_EQ(0, ui.depth) << "every message is bracketed";
    DestroyWindow(hostWindow);
}

TEST_F(CompWindowsTest, RealWindowsAreOfTheirClassesAndBracketEveryMessage)
{
    ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + CombinedSection(L"Scheme_H1", c_lineSeparator)));
    t_wndComp combined;
    t_wndComp2 composition;
    t_wndCand candidates;
    combined.SetContext(&context);
    composition.SetContext(&context);
    candidates.SetContext(&context);
    ASSERT_TRUE(combined.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    ASSERT_TRUE(composition.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    ASSERT_TRUE(candidates.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
    const struct {
        t_wndTop* window;
        const wchar_t* className;
    } cases[] = {{&combined, L"VxPY_Comp"}, {&composition, L"VxPY_Comp2"}, {&candidates, L"VxPY_Cand"}};
    for (const auto& c : cases) {
        ASSERT_NE(nullptr, c.window->hwnd);
        wchar_t name[64] = {};
        GetClassNameW(c.window->hwnd, name, 64);
        EXPECT_STREQ(c.className, name);
        EXPECT_EQ(WS_EX_TOOLWINDOW, GetWindowLongW(c.window->hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        // IME messages are answered without the bracket; others inside it.
        EXPECT_EQ(0, SendMessageW(c.window->hwnd, WM_IME_STARTCOMPOSITION, 0, 0));
        SendMessageW(c.window->hwnd, WM_NULL, 0, 0);
        EXPECT_EQ(0, ui.depth);
        // The top's private message measures with a device context of the window it names.
        EXPECT_EQ(0, c.window->GetSize().cx) << "not measured yet";
        SendMessageW(c.window->hwnd, c_topPrivateMessage, 0, reinterpret_cast<LPARAM>(c.window->hwnd));
        EXPECT_GT(c.window->GetSize().cx, 0);
    }
}

TEST_F(CompWindowsTest, WithoutSeparatorOrFirstCandidateNoSeparatorShows)
{
    // No separator in the skin: composition and candidates in two rows, nothing between.
    ASSERT_TRUE(LoadSkin(CombinedSection(L"Scheme_H1", L"")));
    {
        t_wndComp window;
        Make(window);
        EXPECT_EQ(0, window.separator.kind);
        const t_rendering shot = Render(window);
        EXPECT_TRUE(RectIsEmpty(shot.Find(c_lineColor)));
        EXPECT_TRUE(RectIsEmpty(shot.Find(c_pictureColor)));
        ASSERT_EQ(10u, host.itemRects.size());
        const RECT first = Moved(host.itemRects[0], -window.GetRect().left, -window.GetRect().top);
        const RECT composition = shot.Text(RECT{0, 0, shot.width, first.top});
        ASSERT_FALSE(RectIsEmpty(composition));
        EXPECT_FALSE(RectIsEmpty(shot.Text(first)));
    }
    // A separator in the skin, but no candidate: the separator hides and takes no room.
    ASSERT_TRUE(LoadSkin(CombinedSection(L"Scheme_H1", c_pictureSeparator)));
    t_wndComp window;
    Make(window);
    EXPECT_FALSE(RectIsEmpty(Render(window).Find(c_pictureColor)));
    const int withCandidates = window.GetSize().cy;
    host.candidateCount = 0;
    window.Measure(nullptr);
    EXPECT_FALSE(window.separator.visible);
    EXPECT_TRUE(RectIsEmpty(Render(window).Find(c_pictureColor)));
    EXPECT_LT(window.GetSize().cy, withCandidates);
}

TEST_F(CompWindowsTest, PageUpButtonOfEitherSeparateWindowHidesTheListsOwnPageTurn)
{
    const struct {
        const char* name;
        const wchar_t* buttons;
        bool candidatePageTurn;  // the candidate window's list shows its own
    } cases[] = {
        {"no page-up button", L"", true},
        {"page-up on the composition window", L"comp_pageup_display=1\r\ncomp_pageup=red.png\r\n", false},
        {"page-up on the candidate window", L"cand_pageup_display=1\r\ncand_pageup=red.png\r\n", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(LoadSkin(SeparateSection(L"Scheme_H2") + c.buttons + CombinedSection(L"Scheme_H1", L"") +
                             L"pageup_display=1\r\npageup=red.png\r\n"))
            << c.name;
        t_wndCand candidates;
        Make(candidates);
        EXPECT_EQ(c.candidatePageTurn, candidates.candString.showTurnPage) << c.name;
        // The combined window has its own page-up button in every case.
        t_wndComp combined;
        Make(combined);
        EXPECT_FALSE(combined.candString.showTurnPage) << c.name;
    }
}

TEST_F(CompWindowsTest, WindowsWithoutContextDoNothing)
{
    t_wndComp combined;
    t_wndComp2 composition;
    t_wndCand candidates;
    for (t_wndCompFrame* window : {static_cast<t_wndCompFrame*>(&combined), static_cast<t_wndCompFrame*>(&composition),
                                   static_cast<t_wndCompFrame*>(&candidates)}) {
        window->ownerMode = true;
        ASSERT_TRUE(window->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, nullptr));
        EXPECT_EQ(nullptr, window->layout);
        EXPECT_EQ(0, window->Measure(nullptr));
        EXPECT_FALSE(window->OnLButtonUp(0, 1, 1));
        EXPECT_FALSE(window->OnRButtonDown(0, 1, 1));
    }
    EXPECT_EQ(0, host.compRects + host.candRects);
    EXPECT_TRUE(host.mouse.empty());
}

// The three windows over the default skin with broken candidate margins: a value the reader
// refuses leaves the candidate string out of the window's layout. Each round makes the
// windows in vertical style, lays them out and takes them down; no round may reach a node of
// a dropped layout, and none may leave GDI objects behind.
TEST_F(CompWindowsTest, BrokenCandidateMarginsSurviveRebuildAndDestroy)
{
    const t_defaultSkin source = ReadDefaultSkin();
    ASSERT_FALSE(source.pictures.empty());
    const struct {
        const char* name;
        std::wstring ini;
    } cases[] = {
        {"default skin", source.ini},
        {"V1 margins empty", WithValue(source.ini, L"Scheme_V1", L"zhongwen_marge", L"")},
        {"V1 margins letters", WithValue(source.ini, L"Scheme_V1", L"zhongwen_marge", L"abc")},
        {"V1 margins one number", WithValue(source.ini, L"Scheme_V1", L"zhongwen_marge", L"3")},
        {"V1 margins two numbers", WithValue(source.ini, L"Scheme_V1", L"zhongwen_marge", L"3,4")},
        {"V1 margins twenty digits", WithValue(source.ini, L"Scheme_V1", L"zhongwen_marge", L"12345678901234567890")},
        {"V2 margins behind a section header",
         WithLineBefore(source.ini, L"Scheme_V2", L"zhongwen_marge", L"[Inserted]")},
    };
    settings.candStyle = 1;
    const auto round = [&](const char* name) {
        t_threeWindows windows;
        MakeThree(windows);
        EXPECT_TRUE(windows.combined.IsVertical() && windows.composition.IsVertical() &&
                    windows.candidates.IsVertical())
            << name;
        DestroyThree(windows);
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.ini.empty()) << c.name;
        ASSERT_TRUE(WriteSkinPackFile(dir / L"skin_src", source.pictures, c.ini, packPath)) << c.name;
        t_errorChain errors;
        ASSERT_TRUE(skin.Load(errors, 0)) << c.name;
        // A first round makes what the process keeps once made (fonts, caches).
        round(c.name);
        const DWORD before = LiveGdiObjects();
        const size_t heapBefore = LiveHeapBytes();
        for (int i = 0; i < 6; ++i)
            round(c.name);
        EXPECT_EQ(before, LiveGdiObjects()) << c.name << ": GDI objects left behind";
        EXPECT_EQ(heapBefore, LiveHeapBytes()) << c.name << ": heap bytes left behind";
    }
}

// The default skin's Skin.ini damaged line by line, as hand edits do: values replaced by
// hostile ones, section headers dropped in, lines deleted, doubled or swapped.
std::wstring MutatedIni(const std::wstring& ini, std::mt19937& rng)
{
    std::vector<std::wstring> lines;
    for (size_t at = 0; at < ini.size();) {
        size_t end = ini.find(L"\r\n", at);
        if (end == std::wstring::npos)
            end = ini.size();
        lines.push_back(ini.substr(at, end - at));
        at = end + 2;
    }
    static const wchar_t* const values[] = {L"",
                                            L"abc",
                                            L"3",
                                            L"3,4",
                                            L"-1",
                                            L"12345678901234567890",
                                            L"0x",
                                            L"0xFFFFFFFF",
                                            L"99999",
                                            L",,,,",
                                            L"1,2,3,4,5,6,7,8,9",
                                            L"-2147483648",
                                            L"<1,2>",
                                            L"missing.png"};
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int edit = 0; edit < edits && !lines.empty(); ++edit) {
        const size_t line = rng() % lines.size();
        switch (rng() % 5) {
        case 0:
        case 1: {
            const size_t equals = lines[line].find(L'=');
            if (equals != std::wstring::npos)
                lines[line] = lines[line].substr(0, equals + 1) + values[rng() % (sizeof(values) / sizeof(values[0]))];
            break;
        }
        case 2:
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(line), L"[Inserted]");
            break;
        case 3:
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
            break;
        default:
            std::swap(lines[line], lines[rng() % lines.size()]);
            break;
        }
    }
    std::wstring out;
    for (const std::wstring& text : lines)
        out += text + L"\r\n";
    return out;
}

// Damaged Skin.ini files: each loads (or is refused), then the three windows are made in
// both styles and taken down; none may crash, and a second cycle on the same skin leaves no
// GDI objects behind. KAVREL_FUZZ_ROUNDS runs more of them.
TEST_F(CompWindowsTest, DamagedSkinIniFilesSurviveMakeAndDestroy)
{
    const t_defaultSkin source = ReadDefaultSkin();
    ASSERT_FALSE(source.pictures.empty());
    std::mt19937 rng(20261211);
    const auto cycle = [&] {
        for (int style : {0, 1}) {
            settings.candStyle = style;
            t_threeWindows windows;
            MakeThree(windows);
            DestroyThree(windows);
        }
    };
    const int rounds = FuzzRounds(24);
    for (int round = 0; round < rounds; ++round) {
        const std::wstring ini = MutatedIni(source.ini, rng);
        ASSERT_TRUE(WriteSkinPackFile(dir / L"skin_src", source.pictures, ini, packPath)) << "round " << round;
        t_errorChain errors;
        if (!skin.Load(errors, 0))
            continue;
        cycle();
        const DWORD before = LiveGdiObjects();
        cycle();
        EXPECT_EQ(before, LiveGdiObjects()) << "round " << round << ": GDI objects left behind";
    }
}

}  // namespace
