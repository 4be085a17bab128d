#include "ime_ui/skin/ui_skin_data.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "foundation/config/runtime.h"
#include "ime_ui/skin/skin_buttons.h"
#include "tests/support/flat_png.h"
#include "tests/support/runtime_init.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const wchar_t* const c_baseIni =
    L"[General]\r\nskin_id=abc\r\nwidget_cnt=2\r\n"
    L"[Display]\r\nfont_size=12\r\npinyin_color=0x0000ff\r\nzhongwen_color=0x00ff00\r\ncomphint_color=0x123456\r\n"
    L"zhongwen_first_bk_color=0x111111\r\nwebpage=http://display\r\n"
    L"[Scheme_H1]\r\npic=h1.png\r\nlayout_horizontal=2,5,5\r\nlayout_vertical=1,0,0\r\n"
    L"pic_mask=mask.png<0;0;50;50>\r\npinyin_marge=3,4,5,6\r\nzhongwen_marge=1,2,3,4\r\nanchor=3,7\r\n"
    L"separator=0xff0000,2,3\r\nlayered=0\r\nopaque=200\r\nwebpage_url=http://h1\r\n"
    L"transparent_color_enable=1\r\ntransparent_color=0xff00ff\r\n"
    L"[Scheme_V1]\r\npic=anim.png\r\nseperatorui_pic=sep.png<-5;-5;1000;1000>\r\n"
    L"seperatorui_layout_horizontal=0,1,1\r\nseperatorui_layout_vertical=0,0,0\r\nseperatorui_to_left_right=4,6\r\n"
    L"[Scheme_H2]\r\npinyin_pic=h1.png<-10;5;100;0>\r\nzhongwen_pic=missing.png\r\n"
    L"[StatusBar]\r\npic=status.png<2;3;0;0>\r\npic_mask=mask.png\r\ncn_en_display=1\r\ncn_en=status.png\r\n";

// Writes a skin pack of generated pictures and the given Skin.ini; false on failure.
bool WritePack(const t_tempFolder& dir, const std::wstring& ini, const std::wstring& packPath)
{
    const t_skinPackFiles files = {
        {L"h1.png", FlatPng(20, 30, {0x00FF00FF})},
        {L"status.png", FlatPng(40, 20, {0xFF0000FF})},
        {L"mask.png", FlatPng(10, 10, {0x000000FF})},
        {L"sep.png", FlatPng(6, 4, {0x0000FFFF})},
        {L"anim.png", FlatPng(8, 8, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF}, 5)},
    };
    return WriteSkinPackFile(dir / L"skin_src", files, ini, packPath);
}

// Every cell of every background and every mask reads only pixels of its picture.
void ExpectPartsInsidePictures(const t_uiSkinData& skin, const std::string& label)
{
    auto check = [&](const t_image& image, const std::string& what) {
        if (!image.source)
            return;
        int width = 0, height = 0;
        image.source->GetSize(width, height);
        EXPECT_GE(image.partX, 0) << label << what;
        EXPECT_GE(image.partY, 0) << label << what;
        EXPECT_GE(image.partWidth, 0) << label << what;
        EXPECT_GE(image.partHeight, 0) << label << what;
        EXPECT_LE(image.partX + image.partWidth, width) << label << what;
        EXPECT_LE(image.partY + image.partHeight, height) << label << what;
    };
    for (int area = 0; area < c_skinAreaCount; ++area) {
        if (const t_imageSet9* set = skin.GetArea(area)) {
            for (int cell = 0; cell < t_imageSet9::e_cellCount; ++cell)
                check(set->cells[cell], " area " + std::to_string(area) + " cell " + std::to_string(cell));
        }
    }
    for (int mask = 0; mask < c_skinMaskCount; ++mask) {
        if (const t_image* image = skin.GetMaskPtr(mask))
            check(*image, " mask " + std::to_string(mask));
    }
    if (const t_image* status = skin.GetStatusBackground())
        check(*status, " status");
}

std::wstring FaceOf(const t_font* font)
{
    LOGFONTW logFont = {};
    if (!font || !font->hfont || !GetObjectW(font->hfont, sizeof logFont, &logFont))
        return L"";
    return logFont.lfFaceName;
}

class UiSkinDataTest : public t_tempFolderTest {
protected:
    UiSkinDataTest() : t_tempFolderTest(L"ui_skin"), settings(SkinOnSettings(12))
    {
        packPath = At(L"skin_v3.dat");
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
    }

    bool LoadIni(const std::wstring& ini)
    {
        if (!WritePack(dir, ini, packPath))
            return false;
        t_errorChain errors;
        return skin.ParseSkinIni(errors, packPath.c_str());
    }

    t_uiSettings settings;
    std::wstring packPath;
    t_uiSkinData skin;
};

uint32_t ColorOf(const uint32_t* record) { return record ? *record : 0xFFFFFFFFu; }

TEST_F(UiSkinDataTest, TextStylesInheritColoursInTheirOrder)
{
    ASSERT_TRUE(LoadIni(c_baseIni));
    // pinyin given, result and bihua inherit it; comphint given; zhongwen given; the first
    // candidate takes zhongwen's; its back colour is its own.
    const struct {
        t_textStyleId style;
        uint32_t color;
        uint32_t color2;
    } cases[] = {
        {t_textStyleId::e_result, 0x0000ff, 0xFFFFFFFFu},         {t_textStyleId::e_pinyin, 0x0000ff, 0xFFFFFFFFu},
        {t_textStyleId::e_compHint, 0x123456, 0xFFFFFFFFu},       {t_textStyleId::e_candSmall, 0x00ff00, 0xFFFFFFFFu},
        {t_textStyleId::e_bihua, 0x0000ff, 0xFFFFFFFFu},          {t_textStyleId::e_cand, 0x00ff00, 0xFFFFFFFFu},
        {t_textStyleId::e_candFirst, 0x00ff00, 0x111111},         {t_textStyleId::e_candLink, 0x00ff00, 0xFFFFFFFFu},
        {t_textStyleId::e_candTwoThirds, 0x00ff00, 0xFFFFFFFFu},  {t_textStyleId::e_candPinyin, 0x00ff00, 0xFFFFFFFFu},
        {t_textStyleId::e_candFirstOnCand, 0x00ff00, 0x8000ff00}, {t_textStyleId::e_candMingLiU, 0x00ff00, 0xFFFFFFFFu},
    };
    for (const auto& c : cases) {
        const t_skinTextStyle* style = skin.GetTextStylePtr(static_cast<int>(c.style));
        ASSERT_NE(nullptr, style) << static_cast<int>(c.style);
        EXPECT_EQ(c.color, ColorOf(style->color)) << static_cast<int>(c.style);
        EXPECT_EQ(c.color2, ColorOf(style->color2)) << static_cast<int>(c.style);
        EXPECT_NE(nullptr, style->font) << static_cast<int>(c.style);
    }
    // The debug style only with FlashDebugMode; nothing past the table.
    EXPECT_EQ(nullptr, skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_candDebug)));
    EXPECT_EQ(nullptr, skin.GetTextStylePtr(c_textStyleCount));
    EXPECT_EQ(nullptr, skin.GetTextStylePtr(-1));

    // Font sizes: H = -12, three quarters -9 (-9.5 truncated), two thirds -8.
    const struct {
        t_textStyleId style;
        LONG height;
    } sizes[] = {{t_textStyleId::e_cand, -12},
                 {t_textStyleId::e_candSmall, -9},
                 {t_textStyleId::e_candTwoThirds, -8},
                 {t_textStyleId::e_candLink, -12}};
    for (const auto& s : sizes) {
        LOGFONTW logFont = {};
        const t_font* font = skin.GetTextStylePtr(static_cast<int>(s.style))->font;
        ASSERT_TRUE(font && font->hfont);
        ASSERT_TRUE(GetObjectW(font->hfont, sizeof logFont, &logFont));
        EXPECT_EQ(s.height, logFont.lfHeight) << static_cast<int>(s.style);
    }
}

TEST_F(UiSkinDataTest, WithoutColoursStylesHaveNoColourAndPensAreMadeAnyway)
{
    ASSERT_TRUE(LoadIni(L"[General]\r\nskin_id=x\r\n"));
    for (int i = 0; i < c_textStyleCount; ++i) {
        if (const t_skinTextStyle* style = skin.GetTextStylePtr(i)) {
            EXPECT_EQ(nullptr, style->color) << i;
        }
    }
    const t_skinPen* caret = skin.GetPen(static_cast<int>(t_skinPenId::e_caret));
    ASSERT_NE(nullptr, caret);
    ASSERT_NE(nullptr, caret->pen);
    EXPECT_EQ(1, caret->flag);
    EXPECT_EQ(nullptr, skin.GetPen(static_cast<int>(t_skinPenId::e_h1Separator)));
    EXPECT_FALSE(skin.GetSeparatorShown(0));
    // font_size absent: 16.
    LOGFONTW logFont = {};
    ASSERT_TRUE(GetObjectW(skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand))->font->hfont, sizeof logFont,
                           &logFont));
    EXPECT_EQ(-16, logFont.lfHeight);
    EXPECT_EQ(0u, skin.AreaMask());
}

TEST_F(UiSkinDataTest, PensCutsMasksAlignmentsAnchorsAndFlags)
{
    ASSERT_TRUE(LoadIni(c_baseIni));

    const t_skinPen* separator = skin.GetPen(static_cast<int>(t_skinPenId::e_h1Separator));
    ASSERT_TRUE(separator && separator->pen);
    EXPECT_EQ(0xff0000u, separator->pen->color & 0xFFFFFF);
    EXPECT_EQ(0, separator->flag);
    EXPECT_TRUE(skin.GetSeparatorShown(0));
    EXPECT_TRUE(skin.GetSeparatorShown(1));  // V1 has the picture form
    EXPECT_EQ(nullptr, skin.GetPen(static_cast<int>(t_skinPenId::e_v1Separator)));
    EXPECT_EQ(t_seperatorMode::e_line, skin.SeparatorMode(0));
    EXPECT_EQ(t_seperatorMode::e_picture, skin.SeparatorMode(1));

    // H1: 20 x 30, x split mode 2 at 5 and 5 -> cuts 5 and 15; y split mode 1 at 0 and 0 ->
    // the whole height in the middle row, tiled.
    const t_imageSet9* h1 = skin.GetArea(static_cast<int>(t_skinArea::e_h1));
    ASSERT_NE(nullptr, h1);
    const int widths[3] = {5, 10, 5};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(widths[c], h1->cells[3 + c].partWidth) << c;
        EXPECT_EQ(30, h1->cells[3 + c].partHeight) << c;
        EXPECT_EQ(0, h1->cells[c].partHeight) << c;
        EXPECT_EQ(c == 1 ? 2 : 2, h1->cells[3 + c].modeH) << c;
        EXPECT_EQ(1, h1->cells[3 + c].modeV) << c;
        EXPECT_EQ(0xff00ffu, h1->cells[3 + c].key1) << c;
    }
    EXPECT_EQ(15, h1->cells[5].partX);

    // The mask asks 50 x 50 of a 10 x 10 picture: cut to the picture, black key.
    t_image mask = {};
    ASSERT_TRUE(skin.GetMask(static_cast<int>(t_skinArea::e_h1), mask));
    EXPECT_EQ(10, mask.partWidth);
    EXPECT_EQ(10, mask.partHeight);
    EXPECT_EQ(0u, mask.key1);
    // Windows without a mask keep an empty, present entry.
    t_image none = {};
    EXPECT_TRUE(skin.GetMask(static_cast<int>(t_skinArea::e_v1), none));
    EXPECT_EQ(nullptr, none.source);

    // Areas: H1, V1, V1 separator and the H2 composition window; the H2 candidate's
    // picture is missing from the pack.
    EXPECT_EQ((1u << 0) | (1u << 3) | (1u << 7) | (1u << 1), skin.AreaMask());
    EXPECT_EQ(nullptr, skin.GetArea(static_cast<int>(t_skinArea::e_h2Cand)));

    // The status background is the part from (2, 3) to the end of its 40 x 20 picture.
    const t_image* status = skin.GetStatusBackground();
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(2, status->partX);
    EXPECT_EQ(3, status->partY);
    EXPECT_EQ(38, status->partWidth);
    EXPECT_EQ(17, status->partHeight);

    const struct {
        t_skinAlignId id;
        t_alignInfo record;
    } aligns[] = {
        // pinyin_marge=3,4,5,6 is top, bottom, left, right.
        {t_skinAlignId::e_h1Pinyin, {1, 5, 0, 6, 1, 3, 0, 4, 0, 0, 0, 0, 0}},
        {t_skinAlignId::e_h1Zhongwen, {1, 3, 0, 4, 1, 1, 0, 2, 0, 0, 0, 0, 0}},
        {t_skinAlignId::e_h1Separator, {1, 2, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {t_skinAlignId::e_v1Separator, {1, 4, 2, 6, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& a : aligns) {
        t_alignInfo record = {};
        ASSERT_TRUE(skin.GetAlign(static_cast<int>(a.id), record)) << static_cast<int>(a.id);
        EXPECT_EQ(0, memcmp(&a.record, &record, sizeof record)) << static_cast<int>(a.id);
    }
    t_alignInfo absent = {};
    EXPECT_FALSE(skin.GetAlign(static_cast<int>(t_skinAlignId::e_v2Pinyin), absent));

    int x = 0, y = 0;
    ASSERT_TRUE(skin.GetIndexedPair(0, x, y));
    EXPECT_EQ(3, x);
    EXPECT_EQ(7, y);
    ASSERT_TRUE(skin.GetIndexedPair(3, x, y));  // always present, {0, 0} without the key
    EXPECT_EQ(0, x);
    EXPECT_FALSE(skin.GetIndexedPair(4, x, y));

    bool layered = true;
    int opacity = 0;
    ASSERT_TRUE(skin.GetLayered(static_cast<int>(t_skinScheme::e_h1), layered));
    EXPECT_FALSE(layered);
    ASSERT_TRUE(skin.GetLayered(static_cast<int>(t_skinScheme::e_status), layered));
    EXPECT_TRUE(layered);
    ASSERT_TRUE(skin.GetOpacity(static_cast<int>(t_skinScheme::e_h1), opacity));
    EXPECT_EQ(200, opacity);
    ASSERT_TRUE(skin.GetOpacity(static_cast<int>(t_skinScheme::e_v2), opacity));
    EXPECT_EQ(255, opacity);

    t_str url;
    EXPECT_TRUE(skin.GetWebpageUrl(url, static_cast<int>(t_uiWindow::e_h1)));
    EXPECT_STREQ(L"http://h1", url.c_str());
    EXPECT_TRUE(skin.GetWebpageUrl(url, static_cast<int>(t_uiWindow::e_h2Cand)));
    EXPECT_STREQ(L"http://display", url.c_str());

    EXPECT_STREQ(L"abc", skin.SkinId().c_str());
    EXPECT_EQ(2, skin.WidgetCount());
    ASSERT_NE(nullptr, skin.ButtonParts());
    EXPECT_NE(nullptr, skin.ButtonParts()->FindButton(0, t_skinItemType::e_fixed, 0));
    ExpectPartsInsidePictures(skin, "base");
}

TEST_F(UiSkinDataTest, AnimatedBackgroundStepsWithTheTick)
{
    ASSERT_TRUE(LoadIni(c_baseIni));
    const t_imageSet9* v1 = skin.GetArea(static_cast<int>(t_skinArea::e_v1));
    ASSERT_NE(nullptr, v1);
    const void* before = v1->cells[4].ref.handle;
    bool changed = false;
    for (int i = 0; i < 40 && !changed; ++i) {
        Sleep(20);
        changed = skin.TickAnimations(0x10);
    }
    ASSERT_TRUE(changed);
    EXPECT_NE(before, v1->cells[4].ref.handle);
    for (int cell = 0; cell < t_imageSet9::e_cellCount; ++cell)
        EXPECT_EQ(v1->cells[4].ref.handle, v1->cells[cell].ref.handle) << cell;
    // Windows not in the group leave it alone.
    EXPECT_FALSE(skin.TickAnimations(0x01));
}

TEST_F(UiSkinDataTest, ZoomRoundsMarginsAndCutsAndTruncatesAnchors)
{
    settings.fontSize = 18;
    settings.isotropicSkin = true;
    settings.ignoreSkinFontSetting = true;
    ASSERT_TRUE(LoadIni(c_baseIni));
    ASSERT_TRUE(skin.ZoomOn());
    EXPECT_DOUBLE_EQ(1.5, skin.ZoomFactor());

    t_alignInfo record = {};
    ASSERT_TRUE(skin.GetAlign(static_cast<int>(t_skinAlignId::e_h1Pinyin), record));
    EXPECT_EQ(8, record.leftMargin);   // 5 x 1.5 + 0.5 = 8
    EXPECT_EQ(9, record.rightMargin);  // 6 -> 9.5 -> 9
    EXPECT_EQ(5, record.topMargin);    // 3 -> 5.0
    EXPECT_EQ(6, record.bottomMargin);
    int x = 0, y = 0;
    ASSERT_TRUE(skin.GetIndexedPair(0, x, y));
    EXPECT_EQ(4, x);   // 3 x 1.5 = 4.5, truncated
    EXPECT_EQ(10, y);  // 7 x 1.5 = 10.5

    // The window picture is resized to 30 x 45 and its cuts scaled: 5 -> 8.
    const t_imageSet9* h1 = skin.GetArea(static_cast<int>(t_skinArea::e_h1));
    ASSERT_NE(nullptr, h1);
    int width = 0, height = 0;
    ASSERT_TRUE(h1->cells[4].source->GetSize(width, height));
    EXPECT_EQ(30, width);
    EXPECT_EQ(45, height);
    EXPECT_EQ(8, h1->cells[3].partWidth);
    EXPECT_EQ(14, h1->cells[4].partWidth);
    EXPECT_EQ(8, h1->cells[5].partWidth);
    // The user's size makes the fonts.
    LOGFONTW logFont = {};
    ASSERT_TRUE(GetObjectW(skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand))->font->hfont, sizeof logFont,
                           &logFont));
    EXPECT_EQ(-18, logFont.lfHeight);
    ExpectPartsInsidePictures(skin, "zoom");
}

TEST_F(UiSkinDataTest, ZoomFactorStaysInItsRange)
{
    settings.isotropicSkin = true;
    settings.ignoreSkinFontSetting = true;
    const struct {
        int fileSize;
        int userSize;
        bool zoom;
        double factor;
    } cases[] = {
        {0, 18, false, 0.0},  // no size of its own: nothing to divide by
        {1, 2000, true, t_uiSkinData::c_maxZoom},
        {-12, 18, true, 1.5},
        {12, 0, true, t_uiSkinData::c_minZoom},
        {12, 12, false, 1.0},
    };
    for (const auto& c : cases) {
        settings.fontSize = c.userSize;
        ASSERT_TRUE(
            LoadIni(std::wstring(c_baseIni) + L"[Display]\r\nfont_size=" + std::to_wstring(c.fileSize) + L"\r\n"))
            << c.fileSize;
        EXPECT_EQ(c.zoom, skin.ZoomOn()) << c.fileSize << " " << c.userSize;
        EXPECT_DOUBLE_EQ(c.factor, skin.ZoomFactor()) << c.fileSize << " " << c.userSize;
        ExpectPartsInsidePictures(skin, "clamp " + std::to_string(c.fileSize));
        // Fonts stay within reach of a screen.
        LOGFONTW logFont = {};
        const t_font* font = skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand))->font;
        ASSERT_TRUE(font && GetObjectW(font->hfont, sizeof logFont, &logFont));
        EXPECT_LE(-t_uiSkinData::c_maxFontPixels, logFont.lfHeight);
        EXPECT_GE(-1, logFont.lfHeight);
    }
}

TEST_F(UiSkinDataTest, LongFaceNamesAreCutToTheFaceField)
{
    const std::wstring face40(40, L'F');
    const std::wstring face300(300, L'G');
    ASSERT_TRUE(LoadIni(L"[Display]\r\nfont_ch=" + face40 + L"\r\nfont_en=" + face300 + L"\r\n"));
    // 31 characters of the 40 fit; a name as long as a path falls back to SimSun.
    EXPECT_EQ(face40.substr(0, LF_FACESIZE - 1),
              FaceOf(skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand))->font));
    EXPECT_EQ(L"宋体", FaceOf(skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_pinyin))->font));
}

TEST_F(UiSkinDataTest, HostileCutsAndPartsStayInsideThePictures)
{
    std::mt19937 random(7);
    auto number = [&]() {
        static const int c_values[] = {0, 1, -1, 5, 19, 20, 21, 29, 30, 31, 1000, -1000, 2147483646, -2147483647};
        return std::to_wstring(c_values[random() % (sizeof c_values / sizeof c_values[0])]);
    };
    for (int round = 0; round < 24; ++round) {
        const std::wstring ini = L"[Scheme_H1]\r\npic=h1.png<" + number() + L";" + number() + L";" + number() + L";" +
                                 number() + L">\r\nlayout_horizontal=" + std::to_wstring(random() % 3) + L"," +
                                 number() + L"," + number() + L"\r\nlayout_vertical=" + std::to_wstring(random() % 3) +
                                 L"," + number() + L"," + number() + L"\r\npic_mask=mask.png<" + number() + L";" +
                                 number() + L";" + number() + L";" + number() + L">\r\n[StatusBar]\r\npic=status.png<" +
                                 number() + L";" + number() + L";" + number() + L";" + number() + L">\r\n";
        settings.isotropicSkin = round % 2 == 1;
        settings.ignoreSkinFontSetting = round % 2 == 1;
        settings.fontSize = 18;
        ASSERT_TRUE(LoadIni(ini + L"[Display]\r\nfont_size=12\r\n")) << round;
        ExpectPartsInsidePictures(skin, "round " + std::to_string(round));
        // Cuts stay ordered inside the part.
        if (const t_imageSet9* h1 = skin.GetArea(0)) {
            for (int cell = 0; cell < t_imageSet9::e_cellCount; ++cell)
                EXPECT_GE(h1->cells[cell].partWidth, 0) << round << " " << cell;
        }
    }
}

TEST_F(UiSkinDataTest, ReloadTakesOverUnchangedPicturesAndDecodesChangedOnes)
{
    for (bool zoom : {false, true}) {
        settings.fontSize = zoom ? 18 : 12;
        settings.isotropicSkin = zoom;
        settings.ignoreSkinFontSetting = zoom;
        ASSERT_TRUE(LoadIni(c_baseIni));
        const int decodes = skin.ButtonParts()->Pictures().DecodeCount();
        t_errorChain errors;
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(skin.ParseSkinIni(errors, packPath.c_str()));
            // Every bitmap shown is alive and has the size the load expects.
            const t_image& status = *skin.GetStatusBackground();
            BITMAP info = {};
            ASSERT_TRUE(GetObjectW(status.ref.Bitmap(), sizeof info, &info)) << zoom << " " << round;
            EXPECT_EQ(40, info.bmWidth);
            const t_imageSet9* h1 = skin.GetArea(static_cast<int>(t_skinArea::e_h1));
            ASSERT_NE(nullptr, h1);
            ASSERT_TRUE(GetObjectW(h1->cells[4].ref.Bitmap(), sizeof info, &info)) << zoom << " " << round;
            EXPECT_EQ(zoom ? 30 : 20, info.bmWidth) << round;
            // Fonts carried over are alive too, at the size of the load.
            LOGFONTW logFont = {};
            for (int style = 0; style < c_textStyleCount; ++style) {
                const t_skinTextStyle* entry = skin.GetTextStylePtr(style);
                if (entry && entry->font && entry->font->hfont) {
                    EXPECT_TRUE(GetObjectW(entry->font->hfont, sizeof logFont, &logFont)) << style << " " << round;
                }
            }
            ASSERT_TRUE(GetObjectW(skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand))->font->hfont,
                                   sizeof logFont, &logFont));
            EXPECT_EQ(zoom ? -18 : -12, logFont.lfHeight);
            ExpectPartsInsidePictures(skin, "reload");
        }
        const int extra = skin.ButtonParts()->Pictures().DecodeCount() - decodes;
        // Only the resized window pictures (h1 for H1 and H2, the mask) are decoded again.
        if (zoom)
            EXPECT_GT(extra, 0);
        else
            EXPECT_EQ(0, extra);
    }
    // A changed file is decoded again: the H1 picture now 24 wide.
    settings.isotropicSkin = settings.ignoreSkinFontSetting = false;
    settings.fontSize = 12;
    ASSERT_TRUE(WritePack(dir, c_baseIni, packPath));
    const std::wstring folder = dir / L"skin_src";
    ASSERT_TRUE(WriteRaw(folder + L"\\h1.png", FlatPng(24, 30, {0x00FF00FF})));
    t_skinPack pack;
    t_errorChain errors;
    ASSERT_TRUE(pack.AddFolder(folder.c_str()) && pack.Export(errors, packPath.c_str(), false));
    ASSERT_TRUE(skin.ParseSkinIni(errors, packPath.c_str()));
    BITMAP info = {};
    ASSERT_TRUE(GetObjectW(skin.GetArea(0)->cells[4].ref.Bitmap(), sizeof info, &info));
    EXPECT_EQ(24, info.bmWidth);
}

TEST(UiSkinContext, SettingsReachTheSkinWhicheverComesFirst)
{
    t_uiSettings settings = SkinOnSettings(12);
    t_uiSkinData first, second;
    t_uiContext settingsFirst;
    settingsFirst.SetSettings(&settings);
    settingsFirst.SetSkin(&first);
    EXPECT_EQ(&settings, first.Settings());
    t_uiContext skinFirst;
    skinFirst.SetSkin(&second);
    skinFirst.SetSettings(&settings);
    EXPECT_EQ(&settings, second.Settings());
}

// The load road, with the installation folder and its default skin under the test's
// control.
class UiSkinLoadTest : public UiSkinDataTest {
protected:
    static void SetUpTestSuite()
    {
        s_install = new t_tempFolder(L"ui_skin_install");
        t_errorChain errors;
        InitRuntimeAt(errors, s_install->Path());
    }
    static void TearDownTestSuite()
    {
        delete s_install;
        s_install = nullptr;
    }
    void SetUp() override { DeleteFileW(DefaultSkinPath().c_str()); }

    static std::wstring DefaultSkinPath()
    {
        return t_runtime::Instance()->GetInstallDir().c_str() + std::wstring(L"\\Skin.dat");
    }
    bool WriteDefaultSkin() { return WritePack(dir, L"[General]\r\nskin_id=default\r\n", DefaultSkinPath()); }
    void Damage() { ASSERT_TRUE(WriteRaw(packPath, std::string("Skin\x03\x00\x00\x00garbage", 15))); }

    static t_tempFolder* s_install;
};
t_tempFolder* UiSkinLoadTest::s_install = nullptr;

TEST_F(UiSkinLoadTest, BrokenPreviewCopyWithNothingLoadedFallsBackToTheDefaultSkinAndStays)
{
    ASSERT_TRUE(WriteDefaultSkin());
    Damage();
    t_errorChain errors;
    ASSERT_TRUE(skin.Load(errors, 0));
    EXPECT_STREQ(L"default", skin.SkinId().c_str());
    EXPECT_FALSE(skin.UserSkinInUse());
    EXPECT_TRUE(skin.IsLoaded());
    // Reported, and the editor's copy is left where it is.
    EXPECT_EQ(L"加载皮肤失败:" + packPath, Lines(errors));
    EXPECT_TRUE(Exists(packPath));
}

TEST_F(UiSkinLoadTest, BrokenPreviewCopyKeepsTheSkinAlreadyLoaded)
{
    ASSERT_TRUE(WriteDefaultSkin());
    ASSERT_TRUE(WritePack(dir, c_baseIni, packPath));
    t_errorChain first;
    ASSERT_TRUE(skin.Load(first, 0));
    ASSERT_STREQ(L"abc", skin.SkinId().c_str());
    const uint32_t areas = skin.AreaMask();

    Damage();
    t_errorChain errors;
    EXPECT_FALSE(skin.Load(errors, 0));
    EXPECT_EQ(L"加载皮肤失败:" + packPath + L"|UiResource: 加载失败", Lines(errors));
    EXPECT_TRUE(Exists(packPath));
    // Everything of the last good load is still there.
    EXPECT_TRUE(skin.IsLoaded());
    EXPECT_STREQ(L"abc", skin.SkinId().c_str());
    EXPECT_EQ(areas, skin.AreaMask());
    ASSERT_NE(nullptr, skin.GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand)));
    EXPECT_NE(nullptr, skin.GetArea(static_cast<int>(t_skinArea::e_h1)));
}

TEST_F(UiSkinLoadTest, BrokenUserPackIsDroppedAndTheDefaultSkinRescuesSilently)
{
    ASSERT_TRUE(WriteDefaultSkin());
    skin.SetSkinPath(packPath.c_str(), false);
    Damage();
    t_errorChain errors;
    ASSERT_TRUE(skin.Load(errors, 0));
    EXPECT_STREQ(L"default", skin.SkinId().c_str());
    EXPECT_TRUE(errors.IsEmpty()) << Lines(errors);
    // The user's pack is a cache: a broken one is deleted.
    EXPECT_FALSE(Exists(packPath));
}

TEST_F(UiSkinLoadTest, NothingLoadableFailsWithTheMessagesAndKeepsTheDefaultFile)
{
    settings.skinEnabled = false;
    t_errorChain errors;
    EXPECT_FALSE(skin.Load(errors, 0));
    EXPECT_EQ(L"加载默认皮肤失败|UiResource: 加载失败", Lines(errors));
    EXPECT_FALSE(skin.IsLoaded());

    // A damaged default skin is reported the same way and never deleted.
    ASSERT_TRUE(WriteRaw(DefaultSkinPath(), std::string("not a pack")));
    t_errorChain again;
    EXPECT_FALSE(skin.Load(again, 0));
    EXPECT_TRUE(Exists(DefaultSkinPath()));
    EXPECT_NE(std::wstring::npos, Lines(again).find(L"加载默认皮肤失败"));
}

TEST_F(UiSkinLoadTest, SkinOffLoadsOnlyTheDefaultSkin)
{
    ASSERT_TRUE(WriteDefaultSkin());
    ASSERT_TRUE(WritePack(dir, c_baseIni, packPath));
    settings.skinEnabled = false;
    t_errorChain errors;
    ASSERT_TRUE(skin.Load(errors, 0));
    EXPECT_STREQ(L"default", skin.SkinId().c_str());
    EXPECT_FALSE(skin.UserSkinInUse());
}

}  // namespace
