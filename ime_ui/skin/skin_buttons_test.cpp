#include "ime_ui/skin/skin_buttons.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/support/flat_png.h"
#include "tests/support/utf16_file.h"

namespace {

// A runtime skin's button parts over a generated archive and a parsed Skin.ini.
class SkinButtonsTest : public ::testing::Test {
protected:
    SkinButtonsTest()
    {
        handles.Init(new t_handleManagerHelper_Default);
        parts.Pictures().Bind(&handles, &archive, false);
        context = t_skinBuildContext{};
        context.skinPath = L"C:\\skins\\work.vsf.dat";
        context.statusButtonColor = c_noColorKey;
    }
    ~SkinButtonsTest() override
    {
        parts.Clear();
        handles.ReleaseAll();
    }

    void AddFile(const wchar_t* name, const std::string& bytes)
    {
        t_heap heap(0x1000);
        t_varFile entry;
        entry.SetName(name, &heap);
        entry.SetData(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uint32_t>(bytes.size()), &heap);
        ASSERT_TRUE(archive.AddFile(entry));
    }
    // Flat pictures of 40 x 20, one colour each.
    void AddPictures(std::initializer_list<const wchar_t*> names)
    {
        uint32_t color = 0x10203FFF;
        for (const wchar_t* name : names) {
            AddFile(name, FlatPng(40, 20, {color}));
            color += 0x10000000;
        }
    }
    void Load(const std::wstring& ini)
    {
        const std::string bytes = Utf16File(ini);
        parsed.ParseDefault(bytes.data(), bytes.size());
        parts.Clear();
        handles.ReleaseAll();
        parts.Load(parsed, true, context);
    }
    // The file whose decoded picture the record shows; "-" when it shows none.
    std::wstring FileOf(const t_image& record) const
    {
        if (record.IsBitmapEmpty())
            return L"-";
        for (int i = 0; i < archive.Count(); ++i) {
            const wchar_t* name = archive.At(i)->GetName();
            t_imageSource* decoded = const_cast<SkinButtonsTest*>(this)->parts.Pictures().FindDecoded(name);
            if (decoded && decoded->payload.frames == record.source->payload.frames &&
                decoded->payload.ref.handle == record.source->payload.ref.handle)
                return name;
        }
        return L"?";
    }

    t_handleManager handles;
    t_skinPack archive;
    t_skinButtonParts parts;
    SkinConfigFile parsed;
    t_skinBuildContext context;
};

TEST(SkinKeys, StorableKeysAndPacking)
{
    const struct {
        int window;
        t_skinItemType type;
        int index;
        bool storable;
    } cases[] = {
        {0, t_skinItemType::e_fixed, 0, true},      {6, t_skinItemType::e_fixed, 15, true},
        {0, t_skinItemType::e_fixed, 16, false},    {7, t_skinItemType::e_custom, 0, false},
        {-1, t_skinItemType::e_custom, 0, false},   {3, t_skinItemType::e_custom, 999, true},
        {3, t_skinItemType::e_custom, 1000, false}, {3, t_skinItemType::e_component, -1, false},
        {2, t_skinItemType::e_flash, 999, true},    {2, static_cast<t_skinItemType>(4), 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.storable, IsStorableSkinKey(c.window, c.type, c.index)) << c.window << " " << c.index;
    EXPECT_EQ(0x03020005u, PackSkinKey(2, t_skinItemType::e_component, 5));
    EXPECT_EQ(0x0206FFFFu, PackSkinKey(6, t_skinItemType::e_flash, c_flashBackgroundIndex));
}

TEST_F(SkinButtonsTest, LayersTakeTheirPicturesAndMissingStatesFallBack)
{
    AddPictures({L"a.png", L"b.png", L"c.png", L"i.png", L"d.png", L"h.png"});
    Load(L"[StatusBar]\r\n"
         L"cn_en_display=1\r\ncn_en=a.png,b.png\r\n"
         L"quan_ban_display=1\r\nquan_ban=a.png,b.png,c.png\r\n"
         L"menu_display=1\r\nmenu=a.png\r\nmenu_in=i.png\r\nmenu_downing=d.png\r\nmenu_hover=h.png\r\n"
         L"logo_display=0\r\nlogo=a.png\r\n"
         L"news=a.png\r\n"
         L"custom_cnt=1\r\ncustom0_display=1\r\ncustom0=a.png\r\ncustom0_in=i.png,,c.png\r\n"
         L"component_cnt=1\r\ncomponent0_display=1\r\ncomponent0_BundleId=bundle\r\ncomponent0_ComId=com\r\n");

    const t_btnSkinRec* cnEn = parts.FindButton(0, t_skinItemType::e_fixed, 0);
    const t_btnSkinRec* quanBan = parts.FindButton(0, t_skinItemType::e_fixed, 2);
    const t_btnSkinRec* menu = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    const t_btnSkinRec* custom = parts.FindButton(0, t_skinItemType::e_custom, 0);
    ASSERT_TRUE(cnEn && quanBan && menu && custom);
    EXPECT_EQ(3, cnEn->layerCount);
    EXPECT_EQ(2, quanBan->layerCount);
    EXPECT_EQ(1, menu->layerCount);
    EXPECT_EQ(3, custom->layerCount);
    EXPECT_EQ(nullptr, parts.FindButton(0, t_skinItemType::e_fixed, 15)) << "display=0";
    EXPECT_EQ(nullptr, parts.FindButton(0, t_skinItemType::e_fixed, 14)) << "no display key";
    EXPECT_EQ(0, parts.GetButtonDisplay(0, t_skinItemType::e_fixed, 14));
    EXPECT_EQ(1, parts.GetButtonDisplay(0, t_skinItemType::e_fixed, 0));

    // Pictures by layer and state: normal, down, hover, in, out, downing, up.
    const struct {
        const t_btnSkinRec* record;
        int layer;
        const wchar_t* files[c_btnStateCount];
    } cases[] = {
        {cnEn, 0, {L"a.png", L"a.png", L"a.png", L"-", L"-", L"-", L"-"}},
        {cnEn, 1, {L"b.png", L"b.png", L"b.png", L"-", L"-", L"-", L"-"}},
        // Past the list: normal, in and downing take its last entry; the others nothing.
        {cnEn, 2, {L"b.png", L"b.png", L"b.png", L"-", L"-", L"-", L"-"}},
        {quanBan, 1, {L"b.png", L"b.png", L"b.png", L"-", L"-", L"-", L"-"}},
        // out takes in, up takes downing, down takes normal; hover kept.
        {menu, 0, {L"a.png", L"a.png", L"h.png", L"i.png", L"i.png", L"d.png", L"d.png"}},
        // An empty entry steps back to the nearest earlier one with a file.
        {custom, 1, {L"a.png", L"a.png", L"a.png", L"i.png", L"i.png", L"-", L"-"}},
        {custom, 2, {L"a.png", L"a.png", L"a.png", L"c.png", L"c.png", L"-", L"-"}},
    };
    for (const auto& c : cases) {
        for (int state = 0; state < c_btnStateCount; ++state) {
            EXPECT_EQ(c.files[state], FileOf(c.record->layers[c.layer].states[state]))
                << "layer " << c.layer << " state " << state;
        }
    }
    // Built-in layers call the host's functions; custom ones none (this program sets none).
    EXPECT_EQ(nullptr, custom->layers[0].callback);

    const t_btnSkinRec* component = parts.FindButton(0, t_skinItemType::e_component, 0);
    ASSERT_NE(nullptr, component);
    EXPECT_STREQ(L"bundle", component->BundleId.c_str());
    EXPECT_STREQ(L"com", component->ComId.c_str());
}

TEST_F(SkinButtonsTest, LayerCallbacksComeFromTheHostTable)
{
    AddPictures({L"a.png"});
    static int calls[UiFunction::c_count];
    UiFunction* functions = UiFunction::Instance();
    ASSERT_NE(nullptr, functions);
    // cn_en's layers are function indexes 0, 1, 2: callbacks 1, 0 and none.
    functions->Set(1, [](HWND, t_uiSettings*) { return ++calls[1]; });
    functions->Set(0, [](HWND, t_uiSettings*) { return ++calls[0]; });
    Load(L"[StatusBar]\r\ncn_en_display=1\r\ncn_en=a.png\r\n");
    const t_btnSkinRec* cnEn = parts.FindButton(0, t_skinItemType::e_fixed, 0);
    ASSERT_NE(nullptr, cnEn);
    ASSERT_NE(nullptr, cnEn->layers[0].callback);
    ASSERT_NE(nullptr, cnEn->layers[1].callback);
    EXPECT_EQ(nullptr, cnEn->layers[2].callback);
    cnEn->layers[0].callback(nullptr, nullptr);
    cnEn->layers[1].callback(nullptr, nullptr);
    EXPECT_EQ(1, calls[1]);
    EXPECT_EQ(1, calls[0]);
    functions->Set(0, nullptr);
    functions->Set(1, nullptr);
}

TEST_F(SkinButtonsTest, PartRectanglesStayInsideThePicture)
{
    AddPictures({L"a.png"});
    // The picture is 40 x 20.
    const struct {
        const wchar_t* spec;
        bool shown;
        int x, y, w, h;
    } cases[] = {
        {L"a.png", true, 0, 0, 40, 20},
        {L"a.png<10;0;50;20>", true, 10, 0, 30, 20},
        {L"a.png<-5;-7;10;10>", true, 0, 0, 10, 10},
        {L"a.png<39;19;100;100>", true, 39, 19, 1, 1},
        {L"a.png<40;0;5;5>", false, 0, 0, 0, 0},
        {L"a.png<0;0;-3;5>", false, 0, 0, 0, 0},
        {L"a.png<2147483646;2147483646;2147483646;2147483646>", false, 0, 0, 0, 0},
        {L"a.png<-2147483647;0;2147483646;-2147483647>", false, 0, 0, 0, 0},
        {L"a.png<0x7fffffff;0;1;1>", false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Load(std::wstring(L"[Scheme_H1]\r\nmenu_display=1\r\nmenu=") + c.spec + L"\r\n");
        const t_btnSkinRec* menu = parts.FindButton(1, t_skinItemType::e_fixed, 6);
        ASSERT_NE(nullptr, menu) << c.spec;
        const t_image& normal = menu->layers[0].states[e_btnNormal];
        EXPECT_EQ(c.shown, !normal.IsBitmapEmpty()) << c.spec;
        if (!c.shown || normal.IsBitmapEmpty())
            continue;
        EXPECT_EQ(c.x, normal.partX) << c.spec;
        EXPECT_EQ(c.y, normal.partY) << c.spec;
        EXPECT_EQ(c.w, normal.partWidth) << c.spec;
        EXPECT_EQ(c.h, normal.partHeight) << c.spec;
        EXPECT_LE(normal.partX + normal.partWidth, normal.fullWidth) << c.spec;
        EXPECT_LE(normal.partY + normal.partHeight, normal.fullHeight) << c.spec;
    }
}

TEST_F(SkinButtonsTest, StatusButtonsFitTheirPlaceInTheBackground)
{
    AddPictures({L"a.png"});
    context.statusBoxWidth = 30;
    context.statusBoxHeight = 12;
    // Placed at (25, 4) in a 30 x 12 box: 5 x 8 left for it; a 0 size takes the place's.
    Load(L"[StatusBar]\r\nmenu_display=1\r\nmenu_align=4,0,25,0,1,0,1,0,0,0\r\nmenu=a.png\r\n"
         L"logo_display=1\r\nlogo_pos=3,3\r\nlogo=a.png<0;0;8;50>\r\n");
    const t_btnSkinRec* menu = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    const t_btnSkinRec* logo = parts.FindButton(0, t_skinItemType::e_fixed, 15);
    ASSERT_TRUE(menu && logo);
    EXPECT_EQ(5, menu->layers[0].states[e_btnNormal].partWidth);
    EXPECT_EQ(8, menu->layers[0].states[e_btnNormal].partHeight);
    // pos gives {1, x, 0, 0, 1, y, 0, 0}: the place runs to the box's far edges.
    EXPECT_EQ(1, logo->align.leftMode);
    EXPECT_EQ(3, logo->align.leftMargin);
    EXPECT_EQ(8, logo->layers[0].states[e_btnNormal].partWidth);
    EXPECT_EQ(9, logo->layers[0].states[e_btnNormal].partHeight);
}

TEST_F(SkinButtonsTest, AlignmentMarginsScaleWithTheZoomOutsideTheStatusBar)
{
    AddPictures({L"a.png"});
    context.zoom = true;
    context.zoomFactor = 1.5;
    const wchar_t* button = L"menu_display=1\r\nmenu_align=3,1,2,-3,1,2,1,0,7,9\r\nmenu=a.png\r\n";
    Load(std::wstring(L"[StatusBar]\r\n") + button + L"[Scheme_V1]\r\n" + button);
    const t_btnSkinRec* status = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    const t_btnSkinRec* v1 = parts.FindButton(4, t_skinItemType::e_fixed, 6);
    ASSERT_TRUE(status && v1);
    // Text order: top, bottom, left, right margins, then top, bottom, left, right modes.
    const t_alignInfo plain{1, 2, 0, -3, 1, 3, 2, 1, 0, 0, 0, 7, 9};
    const t_alignInfo zoomed{1, 3, 0, -4, 1, 5, 2, 2, 0, 0, 0, 7, 9};
    EXPECT_EQ(0, memcmp(&plain, &status->align, sizeof plain));
    EXPECT_EQ(0, memcmp(&zoomed, &v1->align, sizeof zoomed));
}

TEST_F(SkinButtonsTest, HostileMarginsAndSizesStayInsideTheIntRange)
{
    AddPictures({L"a.png"});
    AddFile(L"m.swf", "FWS");
    context.flashDebugMode = true;
    context.zoom = true;
    context.zoomFactor = 4.0;
    context.statusBoxWidth = 30;
    context.statusBoxHeight = 12;
    const wchar_t* button = L"menu_display=1\r\nmenu=a.png<0;0;0;5>\r\n"
                            L"menu_align=2147483646,-2147483647,-2147483647,2147483646,1,0,1,0,0,0\r\n"
                            L"flash_cnt=1\r\nflash0=m.swf\r\nflash0_display=1\r\nflash0_width=2147483646\r\n"
                            L"flash0_height=-2147483647\r\n";
    Load(std::wstring(L"[StatusBar]\r\n") + button + L"[Scheme_H1]\r\n" + button);
    const t_btnSkinRec* h1 = parts.FindButton(1, t_skinItemType::e_fixed, 6);
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(INT_MAX, h1->align.topMargin);
    EXPECT_EQ(INT_MIN, h1->align.leftMargin);
    const t_flashSkinRec* flash = parts.FindFlash(1, 0);
    ASSERT_NE(nullptr, flash);
    EXPECT_EQ(INT_MAX, flash->width);
    EXPECT_EQ(INT_MIN, flash->height);
    // The status bar's button has no room left in its box: its picture is empty, not read.
    const t_btnSkinRec* status = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    ASSERT_NE(nullptr, status);
    const t_image& normal = status->layers[0].states[e_btnNormal];
    if (!normal.IsBitmapEmpty()) {
        EXPECT_LE(normal.partX + normal.partWidth, normal.fullWidth);
        EXPECT_LE(normal.partY + normal.partHeight, normal.fullHeight);
    }
}

TEST_F(SkinButtonsTest, AFileSharedByButtonsIsDecodedOnce)
{
    AddPictures({L"a.png", L"b.png"});
    Load(L"[StatusBar]\r\nmenu_display=1\r\nmenu=a.png\r\nmenu_down=b.png\r\n"
         L"news_display=1\r\nnews=A.PNG\r\nnews_hover=b.png\r\n"
         L"[Scheme_H1]\r\nmenu_display=1\r\nmenu=a.png,a.png,a.png\r\n");
    EXPECT_EQ(2, parts.Pictures().DecodeCount());
    const t_btnSkinRec* menu = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    const t_btnSkinRec* news = parts.FindButton(0, t_skinItemType::e_fixed, 14);
    const t_btnSkinRec* h1 = parts.FindButton(1, t_skinItemType::e_fixed, 6);
    ASSERT_TRUE(menu && news && h1);
    const void* bitmap = menu->layers[0].states[e_btnNormal].ref.handle;
    EXPECT_NE(nullptr, bitmap);
    EXPECT_EQ(bitmap, news->layers[0].states[e_btnNormal].ref.handle);
    EXPECT_EQ(bitmap, h1->layers[0].states[e_btnNormal].ref.handle);

    // A second load starts from an empty store and decodes again, once per file.
    Load(L"[StatusBar]\r\nmenu_display=1\r\nmenu=a.png\r\nnews_display=1\r\nnews=a.png\r\n");
    EXPECT_EQ(3, parts.Pictures().DecodeCount());
}

uint32_t FirstPixel(const t_imageSource* source)
{
    const uint32_t* pixels = static_cast<const uint32_t*>(source->GetBitmapRef().GetPixels());
    return pixels ? pixels[0] : 0xDEADBEEFu;
}

TEST_F(SkinButtonsTest, LoadSkinImageDecodesOnceKeysTheColourAndCopiesAfterwards)
{
    AddFile(L"red.png", FlatPng(4, 4, {0xFF0000FF}));
    AddFile(L"anim.png", FlatPng(4, 4, {0xFF0000FF, 0x00FF00FF}));
    t_skinPictureStore& store = parts.Pictures();
    t_imageSource* first = nullptr;
    t_imageSource* second = nullptr;
    bool cached = true;
    // Red as a COLORREF keys the red picture out.
    ASSERT_TRUE(LoadSkinImage(store, first, L"red.png", 3, cached, 0x0000FF));
    EXPECT_FALSE(cached);
    EXPECT_EQ(0u, FirstPixel(first));
    EXPECT_EQ(1, first->payload.hasAlpha);
    ASSERT_TRUE(LoadSkinImage(store, second, L"RED.PNG", 3, cached, c_noColorKey));
    EXPECT_TRUE(cached);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->GetBitmapRef().handle, second->GetBitmapRef().handle);
    EXPECT_EQ(0u, parts.Animations().MaskOf(first)) << "a still picture is no animation";

    t_imageSource* anim = nullptr;
    t_imageSource* copy = nullptr;
    ASSERT_TRUE(LoadSkinImage(store, anim, L"anim.png", 1, cached, c_noColorKey));
    anim->Frames().reversible = 1;
    ASSERT_TRUE(LoadSkinImage(store, copy, L"anim.png", 5, cached, c_noColorKey));
    EXPECT_EQ(0, copy->Frames().reversible);
    EXPECT_EQ(anim->Frames().frames, copy->Frames().frames);
    EXPECT_EQ(2u, parts.Animations().MaskOf(anim));
    EXPECT_EQ(32u, parts.Animations().MaskOf(copy));
    EXPECT_EQ(2, store.DecodeCount());

    for (const wchar_t* name : {L"", L"missing.png"}) {
        t_imageSource* none = first;
        EXPECT_FALSE(LoadSkinImage(store, none, name, 0, cached, c_noColorKey)) << name;
        EXPECT_EQ(nullptr, none);
    }
    EXPECT_FALSE(LoadSkinImage(store, first, nullptr, 0, cached, c_noColorKey));
}

TEST_F(SkinButtonsTest, DefaultSkinsTintTheStatusButtonsOnly)
{
    // 0xD29451 (a COLORREF) is the default skins' button colour.
    AddFile(L"s.png", FlatPng(4, 4, {0x5194D2FF}));
    AddFile(L"w.png", FlatPng(4, 4, {0x5194D2FF}));
    const std::wstring ini = L"[StatusBar]\r\nmenu_display=1\r\nmenu=s.png\r\n"
                             L"[Scheme_H1]\r\nmenu_display=1\r\nmenu=w.png\r\n";
    const struct {
        bool defaultSkin;
        uint32_t color;
        uint32_t status;
    } cases[] = {
        {true, 0x0000FF, 0xFFFF0000},
        {false, 0x0000FF, 0xFF5194D2},
        {true, c_noColorKey, 0xFF5194D2},
    };
    for (const auto& c : cases) {
        context.defaultSkin = c.defaultSkin;
        context.statusButtonColor = c.color;
        Load(ini);
        const t_btnSkinRec* status = parts.FindButton(0, t_skinItemType::e_fixed, 6);
        const t_btnSkinRec* h1 = parts.FindButton(1, t_skinItemType::e_fixed, 6);
        ASSERT_TRUE(status && h1);
        EXPECT_EQ(c.status, FirstPixel(status->layers[0].states[e_btnNormal].source));
        EXPECT_EQ(0xFF5194D2u, FirstPixel(h1->layers[0].states[e_btnNormal].source));
    }
}

TEST_F(SkinButtonsTest, PicturesThatFailLeaveTheirStateMissing)
{
    AddPictures({L"a.png"});
    AddFile(L"bad.png", "\x89PNG\r\n\x1a\n garbage");
    AddFile(L"empty.png", "");
    Load(L"[StatusBar]\r\nmenu_display=1\r\nmenu=bad.png\r\nmenu_down=empty.png\r\nmenu_hover=none.png\r\n"
         L"menu_in=a.png\r\n");
    const t_btnSkinRec* menu = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    ASSERT_NE(nullptr, menu);
    const t_btnLayer& layer = menu->layers[0];
    EXPECT_FALSE(layer.HasState(e_btnNormal));
    EXPECT_FALSE(layer.HasState(e_btnDown));
    EXPECT_FALSE(layer.HasState(e_btnHover));
    EXPECT_EQ(L"a.png", FileOf(layer.states[e_btnOut]));
    EXPECT_EQ(1, parts.Pictures().DecodeCount()) << "a.png only";
}

TEST_F(SkinButtonsTest, TickMovesEveryRecordOfAnAnimation)
{
    AddFile(L"anim.png", FlatPng(8, 8, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF}, 10));
    AddFile(L"other.png", FlatPng(8, 8, {0xFF0000FF, 0x00FF00FF}, 10));
    AddPictures({L"a.png"});
    Load(L"[StatusBar]\r\nmenu_display=1\r\nmenu=anim.png\r\nmenu_in=anim.png\r\n"
         L"news_display=1\r\nnews=anim.png\r\n"
         L"[Scheme_H2]\r\ncomp_menu_display=1\r\ncomp_menu=other.png\r\ncand_menu_display=1\r\ncand_menu=a.png\r\n");
    EXPECT_EQ(3, parts.Pictures().DecodeCount());
    const t_btnSkinRec* menu = parts.FindButton(0, t_skinItemType::e_fixed, 6);
    const t_btnSkinRec* news = parts.FindButton(0, t_skinItemType::e_fixed, 14);
    const t_btnSkinRec* comp = parts.FindButton(2, t_skinItemType::e_fixed, 6);
    ASSERT_TRUE(menu && news && comp);
    t_imageSource* decoded = parts.Pictures().FindDecoded(L"anim.png");
    ASSERT_NE(nullptr, decoded);
    ASSERT_EQ(t_imageSource::e_frames, decoded->kind);
    ASSERT_EQ(3, decoded->Frames().count);
    const void* frame0 = decoded->GetFrame(0).handle;
    const void* frame1 = decoded->GetFrame(1).handle;

    // out borrowed the animated in picture: a copy of its own that plays both ways.
    const t_image& in = menu->layers[0].states[e_btnIn];
    const t_image& out = menu->layers[0].states[e_btnOut];
    ASSERT_NE(in.source, out.source);
    EXPECT_EQ(1, out.source->Frames().reversible);
    EXPECT_EQ(0, in.source->Frames().reversible);
    EXPECT_EQ(1u, parts.Animations().MaskOf(out.source));
    EXPECT_EQ(4u, parts.Animations().MaskOf(comp->layers[0].states[e_btnNormal].source));

    // A background record of the skin's own tables shows the animation too.
    t_image background;
    background.Init();
    background.SetPart(decoded, 0, 0, c_noColorKey, c_noColorKey, 8, 8, 2, 2, false);
    t_image* lists[] = {&background};
    const int counts[] = {1};

    const int start = 5000;
    EXPECT_FALSE(parts.TickAnimations(c_animStatusGroup, start, lists, counts, 1)) << "first tick starts the clocks";
    EXPECT_FALSE(parts.TickAnimations(c_animStatusGroup, start + 5, lists, counts, 1));
    EXPECT_TRUE(parts.TickAnimations(c_animStatusGroup, start + 11, lists, counts, 1));
    EXPECT_EQ(c_animStatusGroup, parts.Animations().LastGroupMask());
    const t_image* moved[] = {&menu->layers[0].states[e_btnNormal],
                              &menu->layers[0].states[e_btnDown],
                              &menu->layers[0].states[e_btnHover],
                              &in,
                              &out,
                              &news->layers[0].states[e_btnNormal],
                              &background};
    for (const t_image* record : moved)
        EXPECT_EQ(frame1, record->ref.handle);
    // The composition window's animation is of another group: not started, not moved.
    t_imageSource* other = parts.Pictures().FindDecoded(L"other.png");
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(other->GetFrame(0).handle, comp->layers[0].states[e_btnNormal].ref.handle);
    EXPECT_NE(frame0, frame1);
    EXPECT_FALSE(parts.TickAnimations(0x80, start + 50, lists, counts, 1));
}

TEST_F(SkinButtonsTest, FlashItemsAndBackgroundsResolveTheirFiles)
{
    AddFile(L"movie.swf", "FWS-fake-movie");
    AddPictures({L"p.png"});
    context.flashDebugMode = true;
    context.zoom = true;
    context.zoomFactor = 1.5;
    Load(L"[StatusBar]\r\nflash_cnt=4\r\n"
         L"flash0=movie.swf\r\nflash0_display=1\r\nflash0_width=30\r\nflash0_height=21\r\nflash0_pos=4,5\r\n"
         L"flash0_preview=p.png\r\nflash0_drag=1\r\nflash0_security=6\r\nflash0_param=abc\r\nflash0_activate=0\r\n"
         L"flash1=movie.swf\r\nflash1_display=1\r\nflash1_width=30\r\n"
         L"flash2=missing.swf\r\nflash2_display=1\r\nflash2_width=30\r\nflash2_height=20\r\n"
         L"flash3=movie.swf\r\nflash3_popup=1\r\nflash3_width=5\r\nflash3_height=5\r\n"
         L"[Scheme_H1]\r\nflash_cnt=1\r\n"
         L"flash0=movie.swf\r\nflash0_display=1\r\nflash0_width=31\r\nflash0_height=11\r\n");

    const t_flashSkinRec* status = parts.FindFlash(0, 0);
    ASSERT_NE(nullptr, status);
    EXPECT_STREQ(L"C:\\skins\\Flash\\movie.swf", status->path.c_str());
    EXPECT_STREQ(L"flash_0000ffff", status->name.c_str());
    EXPECT_EQ(30, status->width) << "the status bar is not zoomed";
    EXPECT_EQ(21, status->height);
    EXPECT_EQ(4, status->align.leftMargin);
    EXPECT_EQ(5, status->align.topMargin);
    EXPECT_EQ(1, status->visible);
    EXPECT_EQ(1, status->drag);
    EXPECT_EQ(6, status->security);
    EXPECT_STREQ(L"abc", status->param.c_str());
    EXPECT_EQ(0, status->activate);
    EXPECT_EQ(1, status->showlikeparent) << "absent counts as on";
    EXPECT_EQ(1, status->hidefullscreen);
    EXPECT_FALSE(status->preview.IsBitmapEmpty());
    EXPECT_EQ(nullptr, parts.FindFlash(0, 1)) << "no height";
    EXPECT_EQ(nullptr, parts.FindFlash(0, 2)) << "file not in the archive";
    const t_flashSkinRec* popup = parts.FindFlash(0, 3);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(0, popup->visible);
    EXPECT_EQ(1, popup->popup);
    EXPECT_EQ(6, popup->security) << "-1 narrowed by the 6 stored with the data";

    const t_flashSkinRec* h1 = parts.FindFlash(1, 0);
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(46, h1->width) << "31 x 1.5, truncated";
    EXPECT_EQ(16, h1->height);
    EXPECT_STREQ(L"flash_0001ffff", h1->name.c_str());

    // The flash data is stored once under its path.
    t_handleQuery query{e_handleFlash, 0, nullptr, L"c:\\SKINS\\flash\\movie.swf"};
    ASSERT_TRUE(handles.Find(query));
    const t_storedFlash* stored = static_cast<const t_storedFlash*>(query.handle);
    EXPECT_EQ(std::string("FWS-fake-movie"),
              std::string(reinterpret_cast<const char*>(stored->Bytes()), stored->length));

    // A flash background: under index -1, scaled in the scheme windows.
    parsed.Reset();
    const std::string bytes = Utf16File(L"[Scheme_V2]\r\ncand_flashbk=movie.swf\r\ncand_flashbk_width=11\r\n"
                                        L"cand_flashbk_height=3\r\ncand_flashbk_security=3\r\n");
    parsed.ParseDefault(bytes.data(), bytes.size());
    parts.LoadFlashBackground(parsed.schemeV2.candidate.flashBk, 6, context);
    const t_flashSkinRec* background = parts.FindFlash(6, c_flashBackgroundIndex);
    ASSERT_NE(nullptr, background);
    EXPECT_EQ(17, background->width) << "11 x 1.5 + 0.5";
    EXPECT_EQ(5, background->height);
    EXPECT_EQ(1, background->visible);
    EXPECT_EQ(2, background->security) << "3 narrowed by the 6 stored with the data";
    const t_alignInfo fill = t_alignInfo::Default();
    EXPECT_EQ(0, memcmp(&fill, &background->align, sizeof fill));
}

TEST_F(SkinButtonsTest, FlashDataTheUtilityRefusesIsDroppedOutsideDebugMode)
{
    AddFile(L"movie.swf", "FWS-fake-movie");
    context.flashDebugMode = false;
    Load(
        L"[StatusBar]\r\nflash_cnt=1\r\nflash0=movie.swf\r\nflash0_display=1\r\nflash0_width=3\r\nflash0_height=3\r\n");
    // Without the Flash component the utility refuses every file.
    EXPECT_EQ(nullptr, parts.FindFlash(0, 0));
}

TEST_F(SkinButtonsTest, ItemIndexesPastTheLimitAreNotStored)
{
    AddPictures({L"a.png"});
    std::wstring ini = L"[Scheme_H1]\r\ncustom_cnt=1001\r\ncustom999_display=1\r\ncustom999=a.png\r\n"
                       L"custom1000_display=1\r\ncustom1000=a.png\r\n";
    Load(ini);
    EXPECT_NE(nullptr, parts.FindButton(1, t_skinItemType::e_custom, 999));
    EXPECT_EQ(nullptr, parts.FindButton(1, t_skinItemType::e_custom, 1000));
    EXPECT_EQ(1u, parts.Buttons().Count());
}

}  // namespace
