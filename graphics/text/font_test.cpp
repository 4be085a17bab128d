#include "graphics/text/font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/text/freetype.h"
#include "graphics/text/system_fonts.h"
#include "graphics/text/test_fonts_setup.h"
#include "graphics/text/ui_cache.h"
#include "tests/support/temp_folder.h"

// The tests add values to the machine's font list (RegSetValue through the set-up helpers),
// so they run under the registry lock.
namespace {

using n_testFonts::LogFont;

TEST(FontNamesTest, AlphaFixAndGdiOnlyFamilies)
{
    EXPECT_TRUE(NeedsAlphaFix(L"宋体-PUA"));
    EXPECT_FALSE(NeedsAlphaFix(L"宋体-pua"));
    EXPECT_FALSE(NeedsAlphaFix(L"宋体"));
    EXPECT_FALSE(NeedsAlphaFix(L""));
    EXPECT_FALSE(NeedsAlphaFix(nullptr));

    struct {
        const wchar_t* name;
        LONG height;
        bool gdiOnly;
    } cases[] = {
        {L"SimSun", -16, true},        {L"SimSun", -18, true},      {L"SimSun", -19, false},  {L"SimSun", -24, false},
        {L"NSimSun", -12, true},       {L"simsun-extB", -12, true}, {L"PMingLiU", -16, true}, {L"PMingLiU", -48, true},
        {L"MingLiU_HKSCS", -30, true}, {L"Arial", -12, false},      {L"", -12, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsGdiOnlyFamily(c.name, c.height), c.gdiOnly) << c.name << " " << c.height;
}

TEST(FontNamesTest, FullNamesComeFromTheNameTable)
{
    LOGFONTW logFont = LogFont(L"WenQuanYi Zen Hei", -16);
    HFONT font = CreateFontIndirectW(&logFont);
    ASSERT_NE(font, nullptr);
    t_trueTypeNames names;
    GetTrueTypeNames(font, logFont.lfFaceName, names);
    EXPECT_STREQ(names.names[t_trueTypeNames::c_english], L"WenQuanYi Zen Hei");
    EXPECT_STREQ(names.names[t_trueTypeNames::c_simplified], L"文泉驿正黑");
    EXPECT_STREQ(names.names[t_trueTypeNames::c_traditional], L"文泉驛正黑");
    DeleteObject(font);

    // A face that the font does not answer to (GDI substituted another): both names become
    // the face, so the family rules see the asked name.
    logFont = LogFont(L"SimSun", -16);
    font = CreateFontIndirectW(&logFont);
    GetTrueTypeNames(font, logFont.lfFaceName, names);
    EXPECT_STREQ(names.names[t_trueTypeNames::c_english], L"SimSun");
    EXPECT_STREQ(names.names[t_trueTypeNames::c_simplified], L"SimSun");
    DeleteObject(font);

    GetTrueTypeNames(nullptr, logFont.lfFaceName, names);
    for (const auto& name : names.names)
        EXPECT_STREQ(name, L"SimSun");
}

class SystemFontFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const wchar_t* values[][2] = {
            {L"KvFaceA & KvFaceB (TrueType)", L"kv_ab.ttc"},
            {L"KvBold (TrueType)", L"kv_plain.ttf"},
            {L"KvBold Bold (TrueType)", L"kv_bold.ttf"},
            {L"KvItal Bold (TrueType)", L"kv_italbold.ttf"},
            {L"KvItal Italic (TrueType)", L"kv_italic.ttf"},
            {L"KvPlain Bold (TrueType)", L"kv_plain_bold.ttf"},
            {L"KvPlain Regular (TrueType)", L"kv_plain_regular.ttf"},
            {L"KvGb (TrueType)", L"kv_gb.ttf"},
            {L"KvFull (TrueType)", L"D:\\fonts\\kv_full.ttf"},
            {L"KaiTi (TrueType)", L"kv_kaiti.ttf"},
        };
        for (const auto& v : values)
            ASSERT_TRUE(n_testFonts::SetString(n_testFonts::c_fontListKey, v[0], v[1]));
    }

    static std::string InFontsFolder(const char* file)
    {
        char path[c_fontPathBytes];
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        WideToFontPath((std::wstring(windows) + L"\\fonts\\").c_str(), path);
        return std::string(path) + file;
    }
};

TEST_F(SystemFontFileTest, NamesStylesAndSeparatorsPickTheFile)
{
    struct {
        const wchar_t* face;
        LONG weight;
        bool italic;
        const char* file;  // null: not found
        int index;
    } cases[] = {
        {L"KvFaceA", FW_NORMAL, false, "kv_ab.ttc", 0},
        {L"kvfaceb", FW_NORMAL, false, "kv_ab.ttc", 1},  // after "& ", case ignored
        {L"KvBold", FW_BOLD, false, "kv_bold.ttf", 0},   // the face alone is not good enough
        {L"KvBold", FW_NORMAL, false, "kv_plain.ttf", 0},
        {L"KvItal", FW_NORMAL, true, "kv_italic.ttf", 0},
        {L"KvPlain", FW_NORMAL, false, "kv_plain_bold.ttf", 0},  // first whole-name match ends the walk
        {L"KvGb_GB2312", FW_NORMAL, false, "kv_gb.ttf", 0},
        {L"楷体", FW_NORMAL, false, "kv_kaiti.ttf", 0},
        {L"KvMissing", FW_NORMAL, false, nullptr, 0},
        {L"", FW_NORMAL, false, nullptr, 0},
    };
    for (const auto& c : cases) {
        LOGFONTW logFont = LogFont(c.face, -16, c.weight);
        logFont.lfItalic = c.italic;
        char path[c_fontPathBytes];
        int index = -1;
        const bool found = FindSystemFontFile(c.face, logFont, path, index);
        EXPECT_EQ(found, c.file != nullptr) << c.face;
        if (found && c.file) {
            EXPECT_EQ(path, InFontsFolder(c.file)) << c.face;
            EXPECT_EQ(index, c.index) << c.face;
        }
    }
    char path[c_fontPathBytes];
    int index = 0;
    ASSERT_TRUE(FindSystemFontFile(L"KvFull", LogFont(L"KvFull", -16), path, index));
    EXPECT_STREQ(path, "D:\\fonts\\kv_full.ttf");
}

class FontRecordTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(n_testFonts::Install());
        ASSERT_TRUE(t_freetype::Instance()->IsStarted());
    }
    void TearDown() override { SetPrivateFontsDir(nullptr); }
};

TEST_F(FontRecordTest, TheRulesChooseGdiOrFreeType)
{
    t_tempFolder folder(L"fontrec");
    // A private SimSun lets the FreeType path find a file for it.
    ASSERT_TRUE(CopyFileW(n_testFonts::c_microHei, (folder / L"SimSun.vxfont").c_str(), FALSE));
    SetPrivateFontsDir(folder.Path().c_str());
    struct {
        const wchar_t* face;
        LONG height;
        bool smoothing;
        t_fontKind kind;
        BYTE quality;
    } cases[] = {
        {L"DejaVu Sans", -16, false, t_fontKind::gdi, DEFAULT_QUALITY},
        {L"DejaVu Sans", -16, true, t_fontKind::freeType, CLEARTYPE_QUALITY},
        {L"SimSun", -16, true, t_fontKind::gdi, CLEARTYPE_QUALITY},  // small SimSun stays GDI
        {L"SimSun", -24, true, t_fontKind::freeType, CLEARTYPE_QUALITY},
        {L"PMingLiU", -40, true, t_fontKind::gdi, CLEARTYPE_QUALITY},
        {L"汉仪KavrelTest", -16, false, t_fontKind::gdi, CLEARTYPE_QUALITY},  // wanted, but no file
        {L"KavrelNoSuchFace", -16, true, t_fontKind::gdi, CLEARTYPE_QUALITY},
    };
    for (const auto& c : cases) {
        LOGFONTW logFont = LogFont(c.face, c.height);
        t_font* font = nullptr;
        ASSERT_TRUE(t_font::Create(logFont, font, c.smoothing)) << c.face;
        EXPECT_EQ(font->kind, c.kind) << c.face << " " << c.height;
        EXPECT_EQ(logFont.lfQuality, c.quality) << c.face;
        EXPECT_NE(font->hfont, nullptr);
        EXPECT_EQ(font->IsFreeType(), c.kind == t_fontKind::freeType);
        t_font::Release(font);
    }
    EXPECT_EQ(t_freetype::Instance()->FontManager()->FaceCount(), 0u);  // every face released
}

TEST_F(FontRecordTest, AHanyiFaceGetsFreeTypeWithoutSmoothing)
{
    t_tempFolder folder(L"fonthy");
    ASSERT_TRUE(CopyFileW(n_testFonts::c_dejaVuSans, (folder / L"汉仪测试.vxfont").c_str(), FALSE));
    SetPrivateFontsDir(folder.Path().c_str());
    LOGFONTW logFont = LogFont(L"汉仪测试", -16);
    t_font* font = nullptr;
    ASSERT_TRUE(t_font::Create(logFont, font, false));
    EXPECT_EQ(font->kind, t_fontKind::freeType);
    EXPECT_EQ(logFont.lfQuality, CLEARTYPE_QUALITY);
    t_font::Release(font);
}

TEST_F(FontRecordTest, ReleaseDropsTheWidthCacheEntryAndAcceptsNull)
{
    LOGFONTW logFont = LogFont(L"DejaVu Sans", -14);
    t_font* font = nullptr;
    ASSERT_TRUE(t_font::Create(logFont, font, false));
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(t_uiCache::Instance()->AddFont(dc, font->hfont, false));
    const HFONT handle = font->hfont;
    ASSERT_NE(t_uiCache::Instance()->Find(handle), nullptr);
    t_font::Release(font);
    EXPECT_EQ(t_uiCache::Instance()->Find(handle), nullptr);
    DeleteDC(dc);
    t_font::Release(nullptr);
}

TEST_F(FontRecordTest, PrivateFontsJoinTheFamilyList)
{
    t_tempFolder folder(L"fontenum");
    ASSERT_TRUE(WriteRaw(folder / L"KavrelPrivateFamily.vxfont", std::string("not read")));
    ASSERT_TRUE(WriteRaw(folder / L"ignored.ttf", std::string("x")));
    SetPrivateFontsDir(folder.Path().c_str());
    struct t_seen {
        std::vector<std::wstring> faces;
        bool privateIsTrueType = false;
    } seen;
    LOGFONTW logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesWithPrivate(
        dc, &logFont,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM user) -> int {
            t_seen& seen = *reinterpret_cast<t_seen*>(user);
            seen.faces.push_back(font->lfFaceName);
            if (seen.faces.back() == L"KavrelPrivateFamily")
                seen.privateIsTrueType = type == TRUETYPE_FONTTYPE;
            return 1;
        },
        reinterpret_cast<LPARAM>(&seen), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(seen.privateIsTrueType);
    EXPECT_EQ(seen.faces.back(), L"KavrelPrivateFamily");
    EXPECT_GT(seen.faces.size(), 1u);  // the system's families come first
    EXPECT_EQ(std::count(seen.faces.begin(), seen.faces.end(), L"ignored"), 0);
}

}  // namespace
