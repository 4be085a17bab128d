#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/core/error_chain.h"
#include "tests/support/child_runner.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/paint_surface.h"
#include "toolkit/directui/du_containers.h"
#include "toolkit/directui/du_image.h"
#include "toolkit/directui/du_link.h"
#include "toolkit/directui/du_text.h"
#include "toolkit/directui/du_window.h"

using namespace DirectUI;

namespace {

// A host that records what the tree asks of it.
class t_fakeHost : public DuDelegate {
public:
    void OnLinkClick(const wchar_t* href, int) override { clicks.push_back(href); }
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved3() override {}
    void Reserved4() override {}
    void Reserved5() override {}
    uint32_t GetTextColor() override { return textColor; }
    uint32_t GetBackColor() override { return 0xFFFFFFFF; }
    const wchar_t* GetFontName() override { return fontName.c_str(); }
    int GetFontSize() override { return fontSize; }
    bool UseSmoothFont() override { return false; }
    bool LoadUrlImage(const wchar_t* folder, const wchar_t* fileName, const wchar_t* url, DuPicture& picture) override
    {
        urlRequests.push_back(std::wstring(folder) + L"|" + fileName + L"|" + url);
        picture = urlPicture;
        return true;
    }
    bool LoadResImage(const wchar_t* name, DuPicture& picture) override
    {
        resRequests.push_back(name);
        picture = resPicture;
        return true;
    }

    uint32_t textColor = 0xFF0000FF;
    std::wstring fontName = L"Tahoma";
    int fontSize = 12;
    DuPicture urlPicture;
    DuPicture resPicture;
    std::vector<std::wstring> clicks, urlRequests, resRequests;
};

DuPicture SolidPicture(int width, int height, uint32_t argb)
{
    DuPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height, argb);
    return picture;
}

const wchar_t* const c_typeNames[] = {L"frame", L"text",  L"image",  L"link", L"button",
                                      L"radio", L"check", L"window", L"br"};

// The tree as text: type names, text runs quoted, children in parentheses.
std::wstring Describe(const DuElement& element)
{
    std::wstring out = c_typeNames[element.Type()];
    if (element.Type() == e_duText && static_cast<const DuElementText&>(element).Text())
        out += L"'" + std::wstring(static_cast<const DuElementText&>(element).Text()) + L"'";
    if (!element.Children().empty()) {
        out += L"(";
        for (size_t i = 0; i < element.Children().size(); ++i)
            out += (i ? L"," : L"") + Describe(*element.Children()[i]);
        out += L")";
    }
    return out;
}

class DuTreeTest : public ::testing::Test {
protected:
    DuTreeTest() { root.SetDelegate(&host); }

    bool Load(const std::wstring& markup)
    {
        t_errorChain errors;
        bool ok = root.LoadMarkup(errors, markup.c_str());
        EXPECT_EQ(ok, !errors.IsFailed());
        return ok;
    }
    void Layout() { root.LayoutTree(surface.Paint()); }
    DuElement& Child(size_t i) { return *root.Children().at(i); }

    t_fakeHost host;
    DuElementWindow root;
    t_testSurface surface{320, 120, true};
};

TEST_F(DuTreeTest, MarkupBecomesTree)
{
    struct {
        const wchar_t* markup;
        const wchar_t* tree;
    } const cases[] = {
        {L"<frame><text>a</text></frame>", L"window(frame(text'a'))"},
        {L"<FRAME><Text>a</Text></FRAME>", L"window(frame(text'a'))"},
        {L"<text>a</text><br/><text>bb</text>", L"window(text'a',br,text'bb')"},
        // An unknown tag drops with its subtree; its siblings stay.
        {L"<frame><bogus><text>x</text></bogus><text>b</text></frame>", L"window(frame(text'b'))"},
        {L"<link href='u'>go</link>", L"window(link(text'go'))"},
        {L"<frame>hi<image src='x'/><button><radio/><check/></button></frame>",
         L"window(frame(text'hi',image,button(radio,check)))"},
        {L"<window><frame/></window>", L"window(window(frame))"},
        {L"<?xml version='1.0'?><!-- note --><text>中文</text>", L"window(text'中文')"},
        // The parser skips stray angle brackets it does not understand.
        {L"<text>a</text><", L"window(text'a')"},
        {L"<<<>>>", L"window"},
        {L"", L"window"},
        {L"  \r\n ", L"window"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        EXPECT_TRUE(Load(c.markup));
        EXPECT_EQ(Describe(root), c.tree);
    }
}

TEST_F(DuTreeTest, AttributesSetCommonAndTextFields)
{
    ASSERT_TRUE(Load(L"<text width='40' height='7x' margin='3' margintop='5' align='CENTER' valign='bottom' "
                     L"visible='no' enable='TRUE' colortext='#ff112233' colorback='#80445566' fontname='Arial' "
                     L"fontsize='15' fontstyle='bold shadow Italic'>t</text>"));
    auto& text = static_cast<DuElementText&>(Child(0));
    EXPECT_TRUE(text.HasFixedWidth());
    EXPECT_EQ(text.Width(), 40);
    EXPECT_EQ(text.DeclaredHeight(), 7);
    EXPECT_EQ(text.Margin(0), 3);
    EXPECT_EQ(text.Margin(1), 5);
    EXPECT_EQ(text.Align(), e_duAlignCenter);
    EXPECT_EQ(text.VAlign(), e_duVAlignBottom);
    EXPECT_FALSE(text.IsVisible());
    EXPECT_TRUE(text.IsEnabled());
    EXPECT_FALSE(text.UsesHostColors());
    EXPECT_EQ(text.TextColor(), 0xFF332211u);  // written red-green-blue, kept as a GDI colour
    EXPECT_EQ(text.BackColor(), 0x445566FFu);
    EXPECT_EQ(text.BackAlpha(), 0x80);
    EXPECT_STREQ(text.FaceName(), L"Arial");
    EXPECT_EQ(text.FontSize(), 15);
    EXPECT_TRUE(text.IsBold());
    EXPECT_TRUE(text.HasShadow());
    EXPECT_FALSE(text.IsItalic());  // the style words are case-sensitive
    // Values the table does not know leave the field alone.
    ASSERT_TRUE(Load(L"<frame align='middle' valign='left'/>"));
    EXPECT_EQ(Child(0).Align(), e_duAlignLeft);
    EXPECT_EQ(Child(0).VAlign(), e_duVAlignTop);
}

TEST_F(DuTreeTest, TextInsideLinkCopiesStyleAndAlignment)
{
    ASSERT_TRUE(Load(L"<link href='h' fontname='Arial' fontsize='20' colortext='#00112233' fontstyle='underline' "
                     L"align='right' valign='middle'>go</link>"));
    auto& link = static_cast<DuElementLink&>(Child(0));
    EXPECT_STREQ(link.Href(), L"h");
    auto& run = static_cast<DuElementText&>(*link.Children().at(0));
    EXPECT_STREQ(run.Text(), L"go");
    EXPECT_STREQ(run.FaceName(), L"Arial");
    EXPECT_EQ(run.FontSize(), 20);
    EXPECT_EQ(run.TextColor(), 0xFF332211u);
    EXPECT_TRUE(run.IsUnderline());
    EXPECT_EQ(run.Align(), e_duAlignRight);
    EXPECT_EQ(run.VAlign(), e_duVAlignMiddle);
}

TEST_F(DuTreeTest, LongFaceNamesAreCutToTheirFields)
{
    std::wstring longFace(300, L'F');
    ASSERT_TRUE(Load(L"<text fontname='" + longFace + L"'>a</text>"));
    auto& text = static_cast<DuElementText&>(Child(0));
    EXPECT_EQ(wcslen(text.FaceName()), 63u);
    LOGFONTW own = text.MakeLogFont();
    EXPECT_EQ(wcslen(own.lfFaceName), LF_FACESIZE - 1u);
    EXPECT_EQ(own.lfHeight, -12);
    // The host's face goes through the same cut.
    host.fontName = std::wstring(63, L'H');
    ASSERT_TRUE(Load(L"<text>a</text>"));
    LOGFONTW hosted = static_cast<DuElementText&>(Child(0)).MakeLogFont();
    EXPECT_EQ(std::wstring(hosted.lfFaceName), std::wstring(LF_FACESIZE - 1, L'H'));
    Layout();  // a font is still made
    EXPECT_NE(static_cast<DuElementText&>(Child(0)).Font(), nullptr);
}

TEST_F(DuTreeTest, LineBreakStartsANewRow)
{
    ASSERT_TRUE(Load(L"<text>a</text><br/><text>bbbbbb</text>"));
    Layout();
    const DuElement& first = Child(0);
    const DuElement& second = Child(2);
    ASSERT_GT(first.Height(), 0);
    EXPECT_EQ(root.RowCount(), 2);
    EXPECT_EQ(second.X(), 0);
    EXPECT_EQ(second.Y(), first.Height());
    EXPECT_GT(second.Width(), first.Width());
    EXPECT_EQ(root.ContentWidth(), second.Width());
    EXPECT_EQ(root.ContentHeight(), first.Height() + second.Height());
    EXPECT_EQ(root.Width(), second.Width());
}

TEST_F(DuTreeTest, FixedWidthSurvivesMeasureAndStretch)
{
    ASSERT_TRUE(Load(L"<text width='50' align='center'>a very long run of text</text><text align='right'>b</text>"));
    Layout();
    EXPECT_EQ(Child(0).Width(), 50);
    int bWidth = Child(1).Width();
    root.Stretch(surface.Paint(), SIZE{300, 40});
    EXPECT_EQ(Child(0).Width(), 50);
    EXPECT_EQ(Child(0).DeclaredWidth(), 50);
    // The two aligned children share what the row leaves: (300 - 50 - b) / 2 each.
    int share = (300 - 50 - bWidth) / 2;
    EXPECT_EQ(Child(1).X(), 50 + share);
    EXPECT_EQ(Child(1).DeclaredWidth(), bWidth + share);
    EXPECT_EQ(root.DeclaredWidth(), 300);
}

TEST_F(DuTreeTest, ReleaseTreeTakesTheHostsNewFont)
{
    ASSERT_TRUE(Load(L"<text>sample</text><text fontsize='12'>fixed</text>"));
    Layout();
    int hosted = Child(0).Width(), own = Child(1).Width();
    host.fontSize = 24;
    Layout();
    EXPECT_EQ(Child(0).Width(), hosted);  // fonts are kept until released
    root.ReleaseTree();
    Layout();
    EXPECT_GT(Child(0).Width(), hosted);
    EXPECT_EQ(Child(1).Width(), own);
}

TEST_F(DuTreeTest, DrawsTextImageAndUnderlineIntoTheDib)
{
    host.resPicture = SolidPicture(6, 4, 0xFFFF0000);
    ASSERT_TRUE(Load(L"<text>Wx</text><image type='res' src='dot'/><br/><link href='u'>link</link>"));
    Layout();
    ASSERT_EQ(host.resRequests, std::vector<std::wstring>{L"dot"});
    root.DrawTree(surface.Paint(), 10, 5);
    const DuElement& text = Child(0);
    const DuElement& image = Child(1);
    EXPECT_EQ(image.Width(), 6);
    // Text pixels lie inside the run's rect.
    int textPixels = 0;
    for (int y = 5; y < 5 + text.Height(); ++y) {
        for (int x = 10; x < 10 + text.Width(); ++x)
            textPixels += surface.At(x, y) >> 24 != 0;
    }
    EXPECT_GT(textPixels, 5);
    // The picture sits right after the text, opaque red.
    EXPECT_EQ(surface.At(10 + image.X(), 5 + image.Y()), 0xFFFF0000u);
    EXPECT_EQ(surface.At(10 + image.X() + 5, 5 + image.Y() + 3), 0xFFFF0000u);
    EXPECT_EQ(surface.At(10 + image.X() + 6, 5 + image.Y()), 0u);
    // The link's underline lies one pixel below its declared height, in the host colour.
    const DuElement& link = Child(3);
    EXPECT_EQ(surface.At(10 + link.X() + 1, 5 + link.Y() + link.DeclaredHeight() + 1), 0xFFFF0000u);
}

TEST_F(DuTreeTest, PicturesComeFromTheHostAndBadOnesAreDropped)
{
    host.urlPicture = SolidPicture(3, 3, 0xFF00FF00);
    host.urlPicture.pixels.pop_back();  // one pixel short of its size
    ASSERT_TRUE(Load(L"<image src='http://h/dir/p.png'/><image type='res'/>"));
    Layout();
    EXPECT_EQ(host.urlRequests, std::vector<std::wstring>{L"dir|p.png|http://h/dir/p.png"});
    EXPECT_TRUE(host.resRequests.empty());  // no src, nothing asked
    EXPECT_EQ(static_cast<DuElementImage&>(Child(0)).Picture(), nullptr);
    EXPECT_EQ(Child(0).Width(), 0);
    root.DrawTree(surface.Paint(), 0, 0);
    EXPECT_EQ(surface.CountAlpha(), 0);
}

TEST(DuImage, SplitsAddressesIntoFolderAndFile)
{
    struct {
        const wchar_t* src;
        bool ok;
        const wchar_t* folder;
        const wchar_t* file;
    } const cases[] = {
        {L"http://host/a.png", true, L"DuImages\\", L"a.png"},
        {L"http://host/dir/a.png", true, L"dir", L"a.png"},
        {L"http://host/x/dir/a.png", true, L"dir", L"a.png"},
        {L"x/a.png", true, L"DuImages\\", L"a.png"},
        {L"a.png", false, L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.src);
        std::wstring folder, file;
        EXPECT_EQ(DuElementImage::SplitUrl(c.src, folder, file), c.ok);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(file, c.file);
    }
}

TEST_F(DuTreeTest, ClicksFindNestedLinksWhereTheyAreDrawn)
{
    // The link's stored position is (0, 0) inside the inner frame, which sits after "pad".
    ASSERT_TRUE(Load(L"<frame><text>pad</text><frame><link href='inner'>LINK</link></frame></frame>"));
    Layout();
    const DuElement& outer = Child(0);
    const DuElement& pad = *outer.Children()[0];
    const DuElement& inner = *outer.Children()[1];
    const DuElement& link = *inner.Children()[0];
    ASSERT_EQ(link.X(), 0);
    ASSERT_EQ(inner.X(), pad.Width());
    const int ox = 7, oy = 3;  // where the host draws the tree
    POINT onLink = {ox + inner.X() + link.Width() / 2, oy + link.Height() / 2};
    POINT onPad = {ox + 1, oy + link.Height() / 2};
    EXPECT_TRUE(root.HitTestTree(onLink, ox, oy));
    EXPECT_TRUE(root.ClickTree(onLink, ox, oy));
    EXPECT_EQ(host.clicks, std::vector<std::wstring>{L"inner"});
    host.clicks.clear();
    EXPECT_FALSE(root.ClickTree(onPad, ox, oy));
    EXPECT_FALSE(root.ClickTree(POINT{ox + root.Width() + 2, oy}, ox, oy));
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(DuTreeTest, ClicksFollowAlignmentOffsets)
{
    ASSERT_TRUE(Load(L"<link href='right' align='right' valign='bottom'>R</link>"));
    Layout();
    root.Stretch(surface.Paint(), SIZE{200, 60});
    const DuElement& link = Child(0);
    int w = link.Width(), h = link.Height();
    ASSERT_GT(w, 0);
    // Drawn at the right and bottom of the stretched root; the root itself keeps its
    // measured size, so it is widened for the hit test by giving it the stretched one.
    root.DrawTree(surface.Paint(), 0, 0);
    RECT drawn = surface.AlphaBounds();
    EXPECT_GE(drawn.left, 200 - w - 1);
    EXPECT_GE(drawn.top, 60 - h - 1);
    DuElementWindow wide;
    wide.SetDelegate(&host);
    t_errorChain errors;
    ASSERT_TRUE(wide.LoadMarkup(errors, L"<link href='right' align='right' valign='bottom'>R</link>"
                                        L"<frame width='200' height='60'/>"));
    wide.LayoutTree(surface.Paint());
    wide.Stretch(surface.Paint(), SIZE{200, 60});
    const DuElement& wideLink = *wide.Children()[0];
    POINT atDrawn = {wide.DeclaredWidth() - wideLink.Width() / 2 - 1, wide.DeclaredHeight() - wideLink.Height() / 2};
    POINT atStored = {wideLink.X() + wideLink.Width() / 2, wideLink.Y() + wideLink.Height() / 2};
    EXPECT_FALSE(wide.ClickTree(atStored));
    EXPECT_TRUE(wide.ClickTree(atDrawn));
    EXPECT_EQ(host.clicks, std::vector<std::wstring>{L"right"});
}

TEST(DuWindow, CountsNestingWithoutParsing)
{
    struct {
        const char* markup;
        int depth;
    } const cases[] = {
        {"<a><b/><c></c></a>", 2},
        {"<a><!-- <b><c><d> --></a>", 1},
        {"<a x='<b>' y=\"<c>\"/>", 0},
        {"<?xml version='1.0'?><a><![CDATA[<b><c>]]></a>", 1},
        {"<a><b><c", 3},
        {"</a></b><c>", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        EXPECT_EQ(DuElementWindow::MarkupDepth(c.markup, 100), c.depth);
    }
}

std::wstring Nested(int depth)
{
    std::wstring markup;
    for (int i = 0; i < depth; ++i)
        markup += L"<frame>";
    markup += L"<text>x</text>";
    for (int i = 0; i < depth; ++i)
        markup += L"</frame>";
    return markup;
}

TEST_F(DuTreeTest, HostileMarkupFailsCleanly)
{
    const std::wstring bad[] = {
        L"<frame>", L"<frame></text>", L"<text a='1>x</text>", L"<text a='1' a='2'/>", Nested(c_duMaxDepth + 1),
    };
    for (const auto& markup : bad) {
        SCOPED_TRACE(markup.substr(0, 40));
        ASSERT_TRUE(Load(L"<text>old</text>"));
        t_errorChain errors;
        EXPECT_FALSE(root.LoadMarkup(errors, markup.c_str()));
        EXPECT_TRUE(errors.IsFailed());
        EXPECT_TRUE(root.Children().empty());
    }
    t_errorChain errors;
    EXPECT_FALSE(root.LoadMarkup(errors, nullptr));
    // The deepest accepted nesting loads whole.
    ASSERT_TRUE(Load(Nested(c_duMaxDepth - 1)));
    const DuElement* e = &root;
    int depth = 0;
    while (!e->Children().empty()) {
        e = e->Children()[0];
        ++depth;
    }
    EXPECT_EQ(depth, c_duMaxDepth);
    EXPECT_FALSE(Load(Nested(c_duMaxDepth)));
}

// Run in a child: a parser overrunning its stack under Wine can end the process quietly.
TEST(DuWindow, RefusesHostileNestingBeforeParsing)
{
    EXPECT_EQ(RunChild(L"du_markup_child.exe", L"200000"), 3);
    EXPECT_EQ(RunChild(L"du_markup_child.exe", std::to_wstring(c_duMaxDepth)), 2);
}

TEST_F(DuTreeTest, HugeValuesStayBounded)
{
    std::wstring markup = L"<frame width='99999999999999999999' margin='-99999999999'>";
    for (int i = 0; i < 3; ++i)
        markup += L"<text width='2000000000'>a</text>";
    markup += L"<text>" + std::wstring(100000, L'w') + L"</text></frame>";
    ASSERT_TRUE(Load(markup));
    Layout();
    const DuElement& frame = Child(0);
    EXPECT_EQ(frame.Width(), c_duMaxCoordinate);
    EXPECT_EQ(frame.Margin(2), -c_duMaxCoordinate);
    EXPECT_EQ(frame.ContentWidth(), c_duMaxCoordinate);
    root.Stretch(surface.Paint(), SIZE{100, 100});
    root.DrawTree(surface.Paint(), 0, 0);
    EXPECT_FALSE(root.ClickTree(POINT{5, 5}));
}

TEST_F(DuTreeTest, SurvivesDamagedMarkup)
{
    host.resPicture = SolidPicture(2, 2, 0xFF0000FF);
    const std::string seed =
        "<window><frame align='center'><text fontstyle='bold shadow'>a</text><br/><link href='u' valign='middle'>"
        "b<image type='res' src='r'/></link></frame><image src='http://h/d/f.png'/></window>";
    std::mt19937 rng(1234);
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = seed;
        Mutate(bytes, rng);
        std::wstring wide(bytes.begin(), bytes.end());
        t_errorChain errors;
        root.LoadMarkup(errors, wide.c_str());
        Layout();
        root.Stretch(surface.Paint(), SIZE{static_cast<LONG>(rng() % 400), static_cast<LONG>(rng() % 100)});
        root.DrawTree(surface.Paint(), 0, 0);
        root.ClickTree(POINT{static_cast<LONG>(rng() % 300), static_cast<LONG>(rng() % 100)});
        root.ReleaseTree();
    }
}

}  // namespace
