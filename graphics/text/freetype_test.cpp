#include "graphics/text/freetype.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/font_file.h"
#include "graphics/text/system_fonts.h"
#include "graphics/text/test_fonts_setup.h"
#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"

// The fixture changes the machine's font list and font links (RegSetValue through the set-up
// helpers), so the test runs under the registry lock.
namespace {

using n_testFonts::LogFont;

std::string NarrowPath(const std::wstring& path)
{
    char narrow[c_fontPathBytes];
    return WideToFontPath(path.c_str(), narrow) ? narrow : "";
}

// A private font file: the "VXFT" header and the font enciphered under the shared key.
std::string EncipherFont(const std::string& plain)
{
    std::string out(plain.size() + 64 + c_fontFileHeaderBytes, '\0');
    memcpy(&out[0], c_fontFileMagic, 4);
    unsigned length = 0;
    EXPECT_TRUE(t_fontFileCipher::Instance()->Cipher().Encrypt(
        &length, static_cast<unsigned>(plain.size()), reinterpret_cast<unsigned char*>(&out[c_fontFileHeaderBytes]),
        reinterpret_cast<const unsigned char*>(plain.data())));
    out.resize(c_fontFileHeaderBytes + length);
    return out;
}

class FreeTypeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(n_testFonts::Install());
        ASSERT_TRUE(t_freetype::Instance() && t_freetype::Instance()->IsStarted());
    }
    void SetUp() override
    {
        SetFontMappingPrefix(("kavreltest" + std::to_string(GetCurrentProcessId()) + "_").c_str());
    }
    void TearDown() override
    {
        for (t_ftFont* font : m_fonts)
            t_freetype::Instance()->ReleaseFont(font);
        n_testFonts::SetDefaultSimSunLinks();
    }

    t_ftFont* Font(const wchar_t* face, LONG height, LONG weight = FW_NORMAL)
    {
        t_ftFont* font = t_freetype::Instance()->CreateFont(LogFont(face, height, weight), nullptr);
        if (font)
            m_fonts.push_back(font);
        return font;
    }
    void Release(t_ftFont* font)
    {
        m_fonts.erase(std::find(m_fonts.begin(), m_fonts.end(), font));
        t_freetype::Instance()->ReleaseFont(font);
    }
    static t_freetype_fontmanager& Manager() { return *t_freetype::Instance()->FontManager(); }
    static const t_freetype_fontmanager::t_faceEntry* Entry(FT_Face face) { return Manager().FindEntry(face); }
    static int Width(const wchar_t* text, t_ftFont* font)
    {
        SIZE size = {-1, -1};
        EXPECT_TRUE(t_freetype::Instance()->MeasureText(text, -1, font, size));
        return size.cx;
    }

    std::vector<t_ftFont*> m_fonts;
};

TEST_F(FreeTypeTest, CjkCharactersMissingFromALatinFaceComeFromTheFirstLinkedFaceThatHasThem)
{
    t_ftFont* font = Font(L"DejaVu Sans", -16);
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(Entry(font->face)->path, NarrowPath(n_testFonts::c_dejaVuSans).c_str());
    ASSERT_EQ(font->fallbackCount, 4);  // NSimSun, SurSong and the two links
    EXPECT_STREQ(font->fallbacks[2].faceName, L"WenQuanYi Micro Hei");

    const int latin = Width(L"A", font);
    EXPECT_EQ(font->nextFallback, 0);  // nothing opened before a character needs it
    const int cjk = Width(L"国", font);
    EXPECT_GT(latin, 0);
    EXPECT_GT(cjk, 0);
    EXPECT_EQ(Width(L"A国", font), latin + cjk);
    EXPECT_EQ(font->fallbacks[0].face, nullptr);  // no NSimSun, no SurSong on this system
    EXPECT_EQ(font->fallbacks[1].face, nullptr);
    ASSERT_NE(font->fallbacks[2].face, nullptr);
    EXPECT_EQ(font->fallbacks[3].face, nullptr);  // Micro Hei served it
    EXPECT_STREQ(Entry(font->fallbacks[2].face)->path, NarrowPath(n_testFonts::c_microHei).c_str());
    EXPECT_EQ(font->nextFallback, 3);
}

TEST_F(FreeTypeTest, WithoutFontLinksNoFreeTypeFontIsMade)
{
    n_testFonts::DeleteValue(n_testFonts::c_systemLinkKey, L"SimSun");
    EXPECT_EQ(Font(L"DejaVu Sans", -16), nullptr);
    EXPECT_EQ(Manager().FaceCount(), 0u);  // the main face was released again
}

TEST_F(FreeTypeTest, LinkedFaceNamesLongerThanTheLogFontFieldAreCut)
{
    const std::wstring longName(60, L'x');  // the whole value stays within its 520 bytes
    n_testFonts::SetSimSunLinks(L"long.ttc," + longName + L'\0' + n_testFonts::DefaultSimSunLinks());
    t_ftFont* font = Font(L"DejaVu Sans", -16);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(Width(L"国", font), 0);
    EXPECT_EQ(font->fallbacks[2].face, nullptr);
    EXPECT_NE(font->fallbacks[3].face, nullptr);
}

TEST_F(FreeTypeTest, FontsOfOneFileShareTheFaceUntilTheLastIsReleased)
{
    t_ftFont* small = Font(L"DejaVu Sans", -16);
    t_ftFont* large = Font(L"DejaVu Sans", -24);
    ASSERT_TRUE(small && large);
    ASSERT_EQ(small->face, large->face);
    EXPECT_EQ(Entry(small->face)->references, 2);
    EXPECT_LT(Width(L"AB", small), Width(L"AB", large));  // each measures at its own size
    FT_Face face = small->face;
    Release(small);
    EXPECT_TRUE(Manager().IsFaceOpen(face));
    EXPECT_EQ(Entry(face)->references, 1);
    Release(large);
    EXPECT_FALSE(Manager().IsFaceOpen(face));
}

TEST_F(FreeTypeTest, FacesOfOneCollectionAreOpenedApart)
{
    t_ftFont* zen = Font(L"WenQuanYi Zen Hei", -16);
    t_ftFont* mono = Font(L"WenQuanYi Zen Hei Mono", -16);
    ASSERT_TRUE(zen && mono);
    EXPECT_NE(zen->face, mono->face);
    EXPECT_EQ(zen->face->face_index, 0);
    EXPECT_EQ(mono->face->face_index, 1);
    EXPECT_STREQ(mono->face->family_name, "WenQuanYi Zen Hei Mono");
    // One mapping of the file serves both faces across processes.
    EXPECT_TRUE(Entry(zen->face)->sharedMapping);
    EXPECT_TRUE(Entry(mono->face)->sharedMapping);
}

TEST_F(FreeTypeTest, AFileOfTheSameNameInAnotherFolderGetsItsOwnMapping)
{
    t_tempFolder folder(L"ftsame");
    CreateDirectoryW((folder / L"a").c_str(), nullptr);
    CreateDirectoryW((folder / L"b").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(n_testFonts::c_dejaVuSans, (folder / L"a\\same.ttf").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(n_testFonts::c_dejaVuSansBold, (folder / L"b\\same.ttf").c_str(), FALSE));
    FT_Face regular = nullptr, bold = nullptr;
    ASSERT_TRUE(Manager().OpenFace(NarrowPath(folder / L"a\\same.ttf").c_str(), 0, false, regular));
    ASSERT_TRUE(Manager().OpenFace(NarrowPath(folder / L"b\\same.ttf").c_str(), 0, false, bold));
    EXPECT_NE(regular, bold);
    EXPECT_TRUE(Entry(regular)->sharedMapping);
    EXPECT_FALSE(Entry(bold)->sharedMapping);
    EXPECT_STREQ(regular->style_name, "Book");
    EXPECT_STREQ(bold->style_name, "Bold");
    Manager().ReleaseFace(regular);
    Manager().ReleaseFace(bold);
}

TEST_F(FreeTypeTest, EncipheredPrivateFontsAreSizedByTheirPlainBytesAlsoFromAnExistingMapping)
{
    t_tempFolder folder(L"ftpriv");
    const std::string plain = ReadRaw(n_testFonts::c_dejaVuSans);
    ASSERT_TRUE(WriteRaw(folder / L"KavrelPrivate.vxfont", EncipherFont(plain)));
    SetPrivateFontsDir(folder.Path().c_str());
    t_ftFont* font = Font(L"KavrelPrivate", -16);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Entry(font->face)->size, plain.size());
    EXPECT_TRUE(Entry(font->face)->sharedMapping);
    EXPECT_GT(Width(L"Ag", font), 0);

    // Another manager stands for another process: it finds the named mapping made above.
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    {
        t_criticalSection lock;
        t_errorChain errors;
        ASSERT_TRUE(lock.Create(errors, nullptr));
        t_freetype_fontmanager other(library, lock);
        FT_Face face = nullptr;
        ASSERT_TRUE(other.OpenFace(Entry(font->face)->path, 0, true, face));
        EXPECT_EQ(other.FindEntry(face)->size, plain.size());
        EXPECT_TRUE(other.FindEntry(face)->sharedMapping);
        EXPECT_EQ(face->num_glyphs, font->face->num_glyphs);
    }
    FT_Done_FreeType(library);
}

TEST_F(FreeTypeTest, APrivateFontServesOnlyWhenTheWindowsFontsFolderLacksTheFace)
{
    t_tempFolder folder(L"ftwin");
    ASSERT_TRUE(CopyFileW(n_testFonts::c_dejaVuSans, (folder / L"KavrelWinFace.vxfont").c_str(), FALSE));
    SetPrivateFontsDir(folder.Path().c_str());
    t_ftFont* privateFont = Font(L"KavrelWinFace", -16);
    ASSERT_NE(privateFont, nullptr);
    EXPECT_STREQ(Entry(privateFont->face)->path, NarrowPath(folder / L"KavrelWinFace.vxfont").c_str());

    char windowsPath[c_fontPathBytes];
    ASSERT_TRUE(FontFileFromName(windowsPath, L"KavrelWinFace"));
    wchar_t wide[MAX_PATH];
    ASSERT_TRUE(FontPathToWide(windowsPath, wide));
    ASSERT_TRUE(CopyFileW(n_testFonts::c_dejaVuSansBold, wide, FALSE));
    t_ftFont* systemFont = Font(L"KavrelWinFace", -16);
    ASSERT_NE(systemFont, nullptr);
    EXPECT_STREQ(Entry(systemFont->face)->path, windowsPath);
    EXPECT_STREQ(systemFont->face->style_name, "Bold");
    Release(systemFont);
    DeleteFileW(wide);
}

TEST_F(FreeTypeTest, ASurrogatePairIsOneCharacter)
{
    t_ftFont* font = Font(L"DejaVu Sans", -16);
    ASSERT_NE(font, nullptr);
    const int pair = Width(L"\U00010300", font);  // OLD ITALIC LETTER A
    EXPECT_GT(pair, 0);
    EXPECT_EQ(Width(L"\xD800", font), 0);  // a lone surrogate has no glyph
    EXPECT_EQ(Width(L"\U00010300\U00010300", font), 2 * pair);
}

TEST_F(FreeTypeTest, GlyphsAreRenderedOncePerFaceIndexAndSize)
{
    t_ftFont* font = Font(L"DejaVu Sans", -16);
    ASSERT_NE(font, nullptr);
    Manager().ClearGlyphCache();
    Width(L"AAAA", font);
    EXPECT_EQ(Manager().GlyphCount(), 1u);
    Width(L"AB", font);
    EXPECT_EQ(Manager().GlyphCount(), 2u);
}

// Ink bounds and the strongest alpha of a 32-bit DIB.
struct t_ink {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    unsigned maxAlpha = 0;
};

t_ink InkOf(const t_memDC& dib)
{
    t_ink ink;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            const uint32_t p = dib.Pixels()[(dib.height - 1 - y) * dib.width + x];
            if (!p)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
            ink.maxAlpha = std::max(ink.maxAlpha, p >> 24);
        }
    return ink;
}

t_ink DrawInto(t_ftFont* font, const wchar_t* text, UINT format, int alpha, COLORREF color = RGB(0, 0, 0))
{
    t_memDC target;
    EXPECT_TRUE(t_memDC::Create(target, nullptr, 200, 60));
    t_paintCtx context(target.dc, true, &target, false);
    const RECT rect = {0, 0, 200, 60};
    EXPECT_TRUE(t_freetype::Instance()->DrawText(context, text, -1, rect, font, color, format, alpha));
    GdiFlush();
    return InkOf(target);
}

TEST_F(FreeTypeTest, DrawingHonoursTheRectAlignmentAndTheAlpha)
{
    t_ftFont* font = Font(L"DejaVu Sans", -20);
    ASSERT_NE(font, nullptr);
    t_ftRunMetrics metrics;
    ASSERT_TRUE(t_freetype::Instance()->MeasureRun(L"H", -1, font, metrics));

    const t_ink topLeft = DrawInto(font, L"H", DT_LEFT | DT_TOP, 255);
    ASSERT_GT(topLeft.right, 0);
    EXPECT_LT(topLeft.left, 5);
    EXPECT_LT(topLeft.top, metrics.ascent);
    EXPECT_EQ(topLeft.maxAlpha, 255u);

    const t_ink bottomRight = DrawInto(font, L"H", DT_RIGHT | DT_BOTTOM, 255);
    EXPECT_EQ(bottomRight.left - topLeft.left, 200 - metrics.width);
    EXPECT_EQ(bottomRight.top - topLeft.top, 60 - metrics.height);

    const t_ink centred = DrawInto(font, L"H", DT_CENTER | DT_VCENTER, 255);
    EXPECT_EQ(centred.left - topLeft.left, (200 - metrics.width) / 2);
    EXPECT_EQ(centred.top - topLeft.top, (60 - metrics.height) / 2);

    const t_ink faint = DrawInto(font, L"H", DT_LEFT | DT_TOP, 128);
    EXPECT_NEAR(static_cast<int>(faint.maxAlpha), 128, 2);
    EXPECT_EQ(faint.left, topLeft.left);
}

// Glyphs written straight into a DIB target give the pixels the per-glyph AlphaBlend gave:
// the same text into a target whose clip is two rectangles (GDI draws there) and into a
// plain one, over a coloured background, cut at the target's edges.
TEST_F(FreeTypeTest, GlyphsBlendedIntoTheTargetMatchTheGdiBlend)
{
    t_ftFont* font = Font(L"DejaVu Sans", -18);
    ASSERT_NE(font, nullptr);
    for (int alpha : {255, 90}) {
        t_memDC gdi, direct;
        ASSERT_TRUE(t_memDC::Create(gdi, nullptr, 120, 30) && t_memDC::Create(direct, nullptr, 120, 30));
        for (int i = 0; i < 120 * 30; ++i)
            gdi.Pixels()[i] = direct.Pixels()[i] = 0x80402010u + uint32_t(i % 97);
        HRGN clip = CreateRectRgn(0, 0, 120, 15);
        HRGN lower = CreateRectRgn(0, 15, 121, 30);
        CombineRgn(clip, clip, lower, RGN_OR);
        SelectClipRgn(gdi.dc, clip);
        DeleteObject(clip);
        DeleteObject(lower);
        const RECT rect = {-4, -6, 130, 30};
        for (t_memDC* target : {&gdi, &direct}) {
            t_paintCtx context(target->dc, true, target, false);
            EXPECT_TRUE(
                t_freetype::Instance()->DrawText(context, L"Wave gAj", -1, rect, font, RGB(200, 30, 90), 0, alpha));
        }
        GdiFlush();
        int most = 0, changed = 0;
        for (int i = 0; i < 120 * 30; ++i) {
            for (int shift = 0; shift < 32; shift += 8)
                most = std::max(
                    most, std::abs(int(gdi.Pixels()[i] >> shift & 0xFF) - int(direct.Pixels()[i] >> shift & 0xFF)));
            changed += direct.Pixels()[i] != 0x80402010u + uint32_t(i % 97);
        }
        EXPECT_LE(most, 1) << alpha;
        EXPECT_GT(changed, 100) << alpha;
    }
}

TEST_F(FreeTypeTest, DrawingFailsForAReleasedFaceAndSucceedsForAnEmptyRun)
{
    t_ftFont* font = Font(L"DejaVu Sans", -16);
    ASSERT_NE(font, nullptr);
    t_memDC target;
    ASSERT_TRUE(t_memDC::Create(target, nullptr, 20, 20));
    t_paintCtx context(target.dc, true, &target, false);
    const RECT rect = {0, 0, 20, 20};
    EXPECT_TRUE(t_freetype::Instance()->DrawText(context, L"", -1, rect, font, 0, 0, 255));
    FT_Face face = font->face;
    Manager().ReleaseFace(face);  // the face goes while the font still names it
    EXPECT_FALSE(t_freetype::Instance()->DrawText(context, L"A", -1, rect, font, 0, 0, 255));
    SIZE size;
    EXPECT_FALSE(t_freetype::Instance()->MeasureText(L"A", -1, font, size));
    m_fonts.clear();
    free(font);
}

TEST(RenderGlyphToArgbTest, CoverageBecomesPremultipliedColourCutToTheDib)
{
    unsigned char gray[] = {0, 128, 255, 64, 255, 32};  // 3 x 2
    FT_Bitmap bitmap = {};
    bitmap.rows = 2;
    bitmap.width = 3;
    bitmap.pitch = 3;
    bitmap.buffer = gray;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    uint32_t dib[2 * 3];
    std::fill(std::begin(dib), std::end(dib), 0xDEADBEEF);
    ASSERT_TRUE(RenderGlyphToArgb(dib, 2, 3, bitmap, RGB(255, 100, 0)));
    // Bottom-up: glyph row 0 is the DIB's last row; the third column is cut.
    const uint32_t expected[] = {0, 0, 0x40401900, 0xFFFF6400, 0, 0x80803200};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dib[i], expected[i]) << i;

    unsigned char mono[] = {0xA0};  // 1 0 1
    bitmap.rows = 1;
    bitmap.pitch = 1;
    bitmap.buffer = mono;
    bitmap.pixel_mode = FT_PIXEL_MODE_MONO;
    ASSERT_TRUE(RenderGlyphToArgb(dib, 3, 1, bitmap, CLR_INVALID));
    EXPECT_EQ(dib[0], 0xFF000000u);
    EXPECT_EQ(dib[1], 0u);
    EXPECT_EQ(dib[2], 0xFF000000u);

    bitmap.width = 0;
    EXPECT_FALSE(RenderGlyphToArgb(dib, 3, 1, bitmap, 0));
    EXPECT_EQ(dib[0], 0u);
}

TEST(FontFileTest, PrivateFontFilesArePlainOrEnciphered)
{
    const std::string font = "true: a small font body";
    struct {
        const char* name;
        std::string file;
        int result;
        std::string plain;
    } cases[] = {
        {"too short", std::string("VXFT1234567", 11), -1, ""},
        {"plain", font, 0, font},
        {"enciphered", EncipherFont(font), 0, font},
        {"enciphered with an inner header", EncipherFont("VXFT12345678" + font), 0, font},
        {"broken cipher text", std::string("VXFT12345678") + std::string(33, 'x'), -1, ""},
        {"cipher text not in blocks", std::string("VXFT12345678") + std::string(20, 'x'), -1, ""},
    };
    for (const auto& c : cases) {
        uint32_t size = static_cast<uint32_t>(c.file.size());
        unsigned char* out = nullptr;
        EXPECT_EQ(DecodeFontFile(reinterpret_cast<const unsigned char*>(c.file.data()), size, out), c.result) << c.name;
        if (c.result == 0 && out) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(out), size), c.plain) << c.name;
        }
        free(out);
    }
    t_tempFolder folder(L"ftfile");
    WriteRaw(folder / L"bad.vxfont", std::string("VXFT"));
    t_errorChain errors;
    t_fontFileData data;
    EXPECT_FALSE(LoadFontFile(errors, (folder / L"bad.vxfont").c_str(), data));
    EXPECT_EQ(Lines(errors), L"字体文件导入失败");
}

TEST(FontMappingNameTest, PrefixAndFileNameWithoutFolder)
{
    char name[260];
    SetFontMappingPrefix("kavrel_");
    EXPECT_TRUE(FontMappingName("C:\\Windows\\Fonts\\simsun.ttc", name));
    EXPECT_STREQ(name, "kavrel_simsun.ttc");
    SetFontMappingPrefix(nullptr);
    EXPECT_TRUE(FontMappingName("simsun.ttc", name));
    EXPECT_STREQ(name, "simsun.ttc");
    EXPECT_FALSE(FontMappingName("C:\\Fonts\\", name));
    SetFontMappingPrefix(std::string(250, 'p').c_str());
    EXPECT_FALSE(FontMappingName("C:\\Fonts\\a_long_font_file_name.ttf", name));
}

TEST_F(FreeTypeTest, AnotherProcessSharesTheFontMapping)
{
    t_ftFont* font = Font(L"WenQuanYi Micro Hei", -16);
    ASSERT_NE(font, nullptr);
    const std::string prefix = "kavreltest" + std::to_string(GetCurrentProcessId()) + "_";
    const std::wstring arguments = std::wstring(prefix.begin(), prefix.end()) + L" " + n_testFonts::c_microHei;
    EXPECT_EQ(RunChild(L"font_mapping_child.exe", arguments, 60000), 0);
}

}  // namespace
