#include "skin_model/skin_cleaner.h"

#include "foundation/files/bulk_read.h"
#include "foundation/files/path.h"
#include "tests/support/utf16_file.h"
#include "tests/support/part_golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// The picture and text files of a folder, sorted, Skin.ini left out.
std::vector<std::wstring> FilesOf(const std::wstring& folder)
{
    std::vector<std::wstring> names = NamesIn(folder, true);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::wstring& name) { return _wcsicmp(name.c_str(), L"Skin.ini") == 0; }),
                names.end());
    return names;
}

std::string Narrow(const wchar_t* name) { return std::string(name, name + wcslen(name)); }

std::wstring SkinIniText(const t_tempFolder& folder) { return Utf16Text(ReadRaw(folder / L"Skin.ini")); }

void WriteSkinIni(const t_tempFolder& folder, const std::wstring& text)
{
    ASSERT_TRUE(WriteRaw(folder / L"Skin.ini", Utf16File(text)));
}

void Replace(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool Clean(const t_tempFolder& folder, std::wstring* lines = nullptr)
{
    t_errorChain errors;
    t_skinCleaner cleaner;
    const bool ok = cleaner.Run(errors, folder.Path().c_str());
    if (lines)
        *lines = Lines(errors);
    return ok;
}

}  // namespace

TEST(SkinCleanerNames, PictureFilesAndHighResVariants)
{
    struct {
        const wchar_t* name;
        bool picture;
        const wchar_t* variantOf;  // null: no variant
    } cases[] = {
        {L"a.bmp", true, nullptr},   {L"A.PNG", true, nullptr},      {L"x.Gif", true, nullptr},
        {L"a.jpg", false, nullptr},  {L"a.png.txt", false, nullptr}, {L"png", false, nullptr},
        {L"bg@2x.png", true, L"bg"}, {L"BG@2X.bmp", true, L"BG"},    {L"@2x.png", true, nullptr},
        {L"a@2x", false, L"a"},      {L"a@2x.b.png", true, nullptr}, {L"a@3x.png", true, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.picture, IsPictureFileName(c.name)) << testing::PrintToString(std::wstring(c.name));
        t_str base;
        EXPECT_EQ(c.variantOf != nullptr, Strip2xSuffix(c.name, base)) << testing::PrintToString(std::wstring(c.name));
        if (c.variantOf) {
            EXPECT_STREQ(c.variantOf, base.c_str());
        }
    }
}

TEST(SkinCleanerNames, OnlyPicturePropertiesHoldReferences)
{
    struct {
        const wchar_t* section;
        const wchar_t* key;
        bool picture;
    } cases[] = {
        {L"Scheme_H1", L"pic", true},
        {L"scheme_h1", L"PIC_MASK", true},
        {L"Scheme_H2", L"pinyin_pic", true},
        {L"Scheme_V2", L"zhongwen_pic_mask", true},
        {L"StatusBar", L"pic_preview", true},
        {L"Scheme_V1", L"seperatorui_pic", true},
        {L"StatusBar", L"cn_en", true},
        {L"StatusBar", L"cn_en_hover", true},
        {L"Scheme_H2", L"comp_pageup_downing", true},
        {L"Scheme_V2", L"cand_custom12_up", true},
        {L"Scheme_H1", L"photoframe0", true},
        {L"Scheme_H1", L"flash3_flashpreview", true},
        {L"Scheme_H1", L"webpage", true},  // the web-page button's pictures
        {L"Scheme_H1", L"webpage_url", false},
        {L"Scheme_H1", L"cn_en_hint", false},
        {L"Scheme_H1", L"custom0_url", false},
        {L"Scheme_H1", L"flash0_flashfile", false},
        {L"Scheme_H1", L"custom_cnt", false},
        {L"Scheme_H1", L"custom", false},
        {L"Scheme_H1", L"cn_en_pos", false},
        {L"Scheme_H1", L"cn_enx", false},
        {L"Display", L"webpage", false},
        {L"General", L"skin_info", false},
        {L"General", L"pic", false},
        {L"Other", L"pic", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.picture, IsPictureProperty(c.section, c.key))
            << testing::PrintToString(std::wstring(c.section) + L"/" + c.key);
}

TEST(SkinCleanerRefs, ItemsAndSubRectangles)
{
    struct {
        const wchar_t* item;
        const wchar_t* name;
        int rect[4];
        const wchar_t* written;
    } cases[] = {
        {L"  a b.png  ", L"a b.png", {0, 0, 0, 0}, L"a b.png"},
        {L"a.png<1;2;3;4>", L"a.png", {1, 2, 3, 4}, L"a.png<1;2;3;4>"},
        {L" a.png < -1; 2 ;30;40> tail", L"a.png", {-1, 2, 30, 40}, L"a.png<-1;2;30;40>"},
        {L"a.png<1;2;0;4>", L"a.png", {1, 2, 0, 4}, L"a.png"},
        {L"a.png<1;2;3;0>", L"a.png", {1, 2, 3, 0}, L"a.png"},
        {L"a.png<1;2>", L"a.png", {1, 2, 0, 0}, L"a.png"},
        {L"a.png<1>;2;3;4", L"a.png", {1, 0, 0, 0}, L"a.png"},
        {L"a.png<1;2;3;4", L"a.png", {0, 0, 0, 0}, L"a.png"},
        {L"a.png<x;99999999999;3;4>", L"a.png", {0, INT_MAX, 3, 4}, L"a.png<0;2147483647;3;4>"},
        {L"<1;2;3;4>", L"", {1, 2, 3, 4}, nullptr},  // no name: never recorded
        {L"   ", L"", {0, 0, 0, 0}, nullptr},
    };
    for (const auto& c : cases) {
        t_pictureRef ref;
        EXPECT_EQ(nullptr, ref.ParseNext(c.item));
        const std::string label = testing::PrintToString(std::wstring(c.item));
        EXPECT_STREQ(c.name, ref.name.c_str()) << label;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.rect[i], ref.rect[i]) << label << " number " << i;
        if (c.written) {
            t_str out;
            int commas = 0;
            ref.AppendAt(out, commas, 0);
            EXPECT_STREQ(c.written, out.c_str()) << label;
        }
    }

    // The cursor walks the commas; a trailing comma gives one more, empty, item.
    const wchar_t* value = L"a.png, ,b.png,";
    std::vector<std::wstring> names;
    for (const wchar_t* cursor = value; cursor;) {
        t_pictureRef ref;
        cursor = ref.ParseNext(cursor);
        names.push_back(ref.name.c_str());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"a.png", L"", L"b.png", L""}), names);
}

TEST(SkinCleanerDefaults, RulesInOrder)
{
    struct {
        const wchar_t* key;
        const wchar_t* value;
        bool displayed;
        bool drop;
    } cases[] = {
        {L"skin_id", L"", false, true},
        {L"skin_id", L"   ", false, true},
        {L"cn_en", L" , ,", true, true},
        {L"cn_en", L",a,", false, false},
        {L"cn_en_display", L"0", false, true},
        {L"cn_en_display", L" 0 ", false, true},
        {L"cn_en_display", L"1", false, false},
        {L"cn_en_align", L"0,0,0,0,0,0,0,0,6,0", true, false},
        {L"cn_en_align", L"0,0,0,0,0,0,0,0,6,0", false, true},
        {L"cn_en_align", L"0,0,0,0,0,0,0,0,0,0", false, false},
        {L"custom_cnt", L"0", true, true},
        {L"comp_custom_cnt", L"0", false, true},
        {L"custom_cnt", L"2", false, false},
        {L"anchor", L"0,0", false, true},
        {L"opaque", L"255", false, true},
        {L"opaque", L"0xff", false, false},
        {L"cn_en_pos", L"0,0", true, false},
        {L"cn_en_pos", L"0,0", false, true},
        {L"cn_en_pos", L"1,0", false, false},
        {L"transparent_color", L"-1", false, true},
        {L"transparent_color", L"0xffffff", false, false},
        {L"transparent_color_enable", L"-1", false, true},
        {L"transparent_color_enable", L"0", false, true},
        {L"transparent_color_enable", L"1", false, false},
        {L"flash_cnt", L"0", false, true},
        {L"photoframe_cnt", L"0", false, true},
        {L"Opaque", L"255", false, false},  // key texts compare case-sensitively
        {L"font_size", L"0", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.drop, IsDefaultSkinValue(L"Scheme_H1", c.key, c.value, c.displayed))
            << testing::PrintToString(std::wstring(c.key) + L"=" + c.value) << " displayed " << c.displayed;
}

// A key stays where the model would read its absence otherwise than the value: texts
// with a default of their own, and the status bar's cells, which reset to 0.
// The display part's web page stays too, so that a saved skin lists every display key.
TEST(SkinCleanerDefaults, KeepsWhatAbsenceWouldReadOtherwise)
{
    struct {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
        bool drop;
    } cases[] = {
        {L"General", L"skin_name", L"", false},
        {L"general", L"skin_info", L"  ", false},
        {L"General", L"skin_email", L"", true},
        {L"General", L"skin_id", L"", true},
        {L"Display", L"font_ch", L"", false},
        {L"Display", L"font_en", L"", false},
        {L"Display", L"webpage", L"", false},
        {L"StatusBar", L"transparent_color", L"-1", false},
        {L"StatusBar", L"transparent_color_enable", L"-1", false},
        {L"StatusBar", L"transparent_color_enable", L"0", true},
        {L"StatusBar", L"opaque", L"255", true},
        {L"Scheme_V2", L"transparent_color", L"-1", true},
        {L"Scheme_V2", L"transparent_color_enable", L"-1", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.drop, IsDefaultSkinValue(c.section, c.key, c.value, false))
            << testing::PrintToString(std::wstring(c.section) + L"." + c.key + L"=" + c.value);
}

TEST(SkinCleanerDefaults, DisplaySwitchOfTheKeysButton)
{
    t_iniDocument ini(false);
    const std::wstring text = L"[S]\r\ncn_en_display=1\r\ncomp_pageup_display=0\r\nmenu_display=x\r\n"
                              L"custom2_display=0x1\r\nnone=5\r\n";
    const std::string bytes = Utf16File(text);
    ASSERT_TRUE(ini.ReadFromMemory(bytes.data(), bytes.size(), 936));
    const t_iniSection& section = *ini.ParsedRoot()->FindSection(L"S");
    struct {
        const wchar_t* key;
        bool displayed;
    } cases[] = {
        {L"cn_en_pos", true},     {L"CN_EN_ALIGN", true},  {L"comp_pageup_pos", false},
        {L"menu_pos", false},     {L"custom2_pos", false},  // "0x1" reads as decimal 0
        {L"quan_ban_pos", false}, {L"none", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.displayed, IsButtonDisplayed(c.key, section)) << testing::PrintToString(std::wstring(c.key));
}

// A hand-written skin: unreferenced, free-text-only and high-resolution pictures, a
// mask named with a folder part, two identical pictures, values to normalise and
// default keys to drop.
TEST(SkinCleaner, CleansTheHandWrittenSkin)
{
    t_tempFolder folder(L"cleaner_basic");
    t_errorChain errors;
    ASSERT_TRUE(CopyFolderTree(errors, folder.Path().c_str(), SkinTestData(L"cleaner\\basic").c_str()))
        << Lines(errors);

    std::wstring lines;
    ASSERT_TRUE(Clean(folder, &lines)) << lines;

    // One of the two identical pictures survives, whichever the listing gave last.
    std::vector<std::wstring> files = FilesOf(folder.Path());
    const bool cnSurvived = std::count(files.begin(), files.end(), L"cn.bmp") != 0;
    const std::wstring survivor = cnSurvived ? L"cn.bmp" : L"copy_of_cn.bmp";
    std::vector<std::wstring> expectedFiles = {L"bg.png",     L"bg@2x.png",  L"en.bmp",  L"mask.bmp",
                                               L"readme.txt", L"status.png", L"web.gif", survivor};
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(expectedFiles, files);

    std::wstring expected = L"[General]\r\n"
                            L"skin_name=测试皮肤\r\n"
                            // Empty, yet kept: a missing version loads as "0.9".
                            L"skin_version=\r\n"
                            L"skin_info=背景见 bg_old.png, 按钮见 btn<1;2;3;4>.png\r\n"
                            L"\r\n[Display]\r\n"
                            L"font_size=16\r\n"
                            L"webpage=http://example.com/notes.png\r\n"
                            L"\r\n[Scheme_H1]\r\n"
                            L"pic=bg.png\r\n"
                            L"pic_mask=pics\\mask.bmp\r\n"
                            L"layout_horizontal=0,20,100\r\n"
                            L"cn_en=$,,en.bmp\r\n"
                            L"cn_en_hover=$<1;2;3;4>,en.bmp,$\r\n"
                            L"cn_en_display=1\r\n"
                            L"cn_en_pos=0,0\r\n"
                            L"cn_en_align=0,0,0,0,0,0,0,0,6,0\r\n"
                            L"pageup_hint=see pageup.png\r\n"
                            L"webpage=web.gif\r\n"
                            L"webpage_url=http://x/y.gif\r\n"
                            L"\r\n[StatusBar]\r\n"
                            L"pic=status.png\r\n";
    Replace(expected, L"$", survivor);
    EXPECT_EQ(expected, SkinIniText(folder));
    // Written in place: the file keeps the case of its name.
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder / L"SKIN.INI").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    FindClose(find);
    EXPECT_STREQ(L"Skin.ini", data.cFileName);

    // A cleaned folder stays as it is.
    const std::string before = ReadRaw(folder / L"Skin.ini");
    ASSERT_TRUE(Clean(folder));
    EXPECT_EQ(files, FilesOf(folder.Path()));
    EXPECT_EQ(before, ReadRaw(folder / L"Skin.ini"));
}

// Identical pictures: every group keeps one file and every reference follows it;
// high-resolution variants and pictures with a variant of their own are never merged away.
TEST(SkinCleaner, MergesIdenticalPicturesButKeepsVariantPairs)
{
    t_tempFolder folder(L"cleaner_merge");
    WriteRaw(folder / L"a.png", "same");
    WriteRaw(folder / L"B.png", "same");
    WriteRaw(folder / L"c.png", "same");
    WriteRaw(folder / L"d.png", "other");
    WriteRaw(folder / L"e.png", "other");
    WriteRaw(folder / L"e@2x.png", "other at 2x");
    WriteRaw(folder / L"f.gif", "lone");
    WriteSkinIni(folder, L"[StatusBar]\r\npic=a.png\r\npic_mask=b.png\r\n"
                         L"cn_en=c.png,A.PNG,d.png\r\ncn_en_hover=e.png,f.gif\r\n");
    ASSERT_TRUE(Clean(folder));

    const std::vector<std::wstring> files = FilesOf(folder.Path());
    std::wstring sameSurvivor;
    for (const wchar_t* name : {L"B.png", L"a.png", L"c.png"}) {
        if (std::count(files.begin(), files.end(), name))
            sameSurvivor += name;
    }
    ASSERT_EQ(5u, sameSurvivor.size()) << testing::PrintToString(sameSurvivor);
    // e.png has a variant of its own, so it stays whichever of d and e survives.
    std::vector<std::wstring> expectedFiles = {sameSurvivor, L"e.png", L"e@2x.png", L"f.gif"};
    const bool dSurvived = std::count(files.begin(), files.end(), L"d.png") != 0;
    if (dSurvived)
        expectedFiles.push_back(L"d.png");
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(expectedFiles, files);

    std::wstring expected = L"[StatusBar]\r\npic=$\r\npic_mask=$\r\ncn_en=$,$,%\r\ncn_en_hover=e.png,f.gif\r\n";
    Replace(expected, L"$", sameSurvivor);
    Replace(expected, L"%", dSurvived ? L"d.png" : L"e.png");
    EXPECT_EQ(expected, SkinIniText(folder));
}

TEST(SkinCleaner, FolderPartsAndVariantsKeepTheirPictures)
{
    t_tempFolder folder(L"cleaner_parts");
    for (const wchar_t* name : {L"x.png", L"k.gif", L"y.bmp", L"y@2x.gif", L"z@2x.png", L"q.png", L"Q@2x.PNG"})
        WriteRaw(folder / name, Narrow(name));
    WriteSkinIni(folder, L"[Scheme_V1]\r\npic=sub\\x.png\r\npic_mask=y.bmp\r\n"
                         L"cn_en=q.png<0;0;5;5>,C:\\skins/k.gif\r\n[General]\r\nskin_info=z.png\r\n");
    ASSERT_TRUE(Clean(folder));
    // x.png and k.gif are named with a folder; y@2x.gif and Q@2x.PNG belong to named
    // pictures; z@2x.png belongs to a picture that only free text mentions.
    EXPECT_EQ((std::vector<std::wstring>{L"Q@2x.PNG", L"k.gif", L"q.png", L"x.png", L"y.bmp", L"y@2x.gif"}),
              FilesOf(folder.Path()));
    EXPECT_EQ(L"[Scheme_V1]\r\npic=sub\\x.png\r\npic_mask=y.bmp\r\ncn_en=q.png<0;0;5;5>,C:\\skins/k.gif\r\n"
              L"\r\n[General]\r\nskin_info=z.png\r\n",
              SkinIniText(folder));
}

TEST(SkinCleaner, RefusesWithoutTouchingTheFolder)
{
    t_tempFolder folder(L"cleaner_refuse");
    WriteRaw(folder / L"orphan.png", "o");
    std::wstring lines;

    // Not a folder.
    const std::wstring missing = folder / L"nope";
    t_errorChain errors;
    t_skinCleaner cleaner;
    EXPECT_FALSE(cleaner.Run(errors, missing.c_str()));
    EXPECT_TRUE(errors.IsFailed());
    EXPECT_EQ(L"皮肤文件夹不存在:" + missing + L"|查找皮肤路径失败" + missing, Lines(errors));

    // No Skin.ini: nothing is deleted.
    EXPECT_FALSE(Clean(folder, &lines));
    EXPECT_EQ(L"skin.ini不存在:" + (folder / L"Skin.ini") + L"|解析皮肤ini文件失败", lines);
    EXPECT_TRUE(Exists(folder / L"orphan.png"));

    // An unreadable Skin.ini (held open without sharing): nothing is deleted.
    WriteSkinIni(folder, L"[StatusBar]\r\npic=x.png\r\n");
    HANDLE lock = CreateFileW((folder / L"Skin.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(Clean(folder, &lines));
    CloseHandle(lock);
    EXPECT_NE(std::wstring::npos, lines.find(L"解析ini失败|解析皮肤ini文件失败")) << lines;
    EXPECT_TRUE(Exists(folder / L"orphan.png"));

    // CleanSkinFolder reports nothing and cleans.
    CleanSkinFolder(folder.Path().c_str());
    EXPECT_FALSE(Exists(folder / L"orphan.png"));
    CleanSkinFolder((folder / L"nope").c_str());
}

// A picture whose name starts with a dot is a file of the folder, not an extension of the
// folder's path: removing it must not touch the folder's sibling of that name.
TEST(SkinCleaner, DotNamedPictureStaysInsideTheFolder)
{
    t_tempFolder root(L"cleaner_dot");
    const std::wstring skin = root / L"skin";
    ASSERT_TRUE(CreateDirectoryW(skin.c_str(), nullptr));
    ASSERT_TRUE(WriteRaw(skin + L"\\.png", "unnamed"));
    ASSERT_TRUE(WriteRaw(skin + L"\\Skin.ini", Utf16File(L"[StatusBar]\r\npic=\r\n")));
    ASSERT_TRUE(WriteRaw(skin + L".png", "sibling"));
    t_errorChain errors;
    t_skinCleaner cleaner;
    EXPECT_TRUE(cleaner.Run(errors, skin.c_str())) << Lines(errors);
    EXPECT_FALSE(Exists(skin + L"\\.png"));
    EXPECT_EQ("sibling", ReadRaw(skin + L".png"));
}

// Every picture item of the picture values in the folder's Skin.ini, as the file name
// it stands for (the part after any folder).
std::vector<std::wstring> NamedFiles(const t_tempFolder& folder)
{
    std::vector<std::wstring> names;
    t_iniDocument ini(false);
    t_errorChain errors;
    if (!ini.ReadConfig(errors, (folder / L"Skin.ini").c_str(), 936) || !ini.ParsedRoot())
        return names;
    const t_iniFile& root = *ini.ParsedRoot();
    for (auto s = root.Begin(); s.NotEquals(root.End()); s.Next()) {
        const t_iniSection& section = *t_iniFile::SectionOf(s.Node());
        for (auto k = section.Begin(); k.NotEquals(section.End()); k.Next()) {
            if (!IsPictureProperty(s.Node()->key, k.Node()->key) || !k.Node()->value)
                continue;
            for (const wchar_t* cursor = static_cast<const wchar_t*>(k.Node()->value); cursor;) {
                t_pictureRef ref;
                cursor = ref.ParseNext(cursor);
                std::wstring name = ref.name.c_str();
                const size_t cut = name.find_last_of(L"\\/");
                if (cut != std::wstring::npos)
                    name.erase(0, cut + 1);
                if (IsPictureFileName(name.c_str()))
                    names.push_back(name);
            }
        }
    }
    return names;
}

bool HasFileNoCase(const std::vector<std::wstring>& files, const std::wstring& name)
{
    for (const std::wstring& file : files) {
        if (_wcsicmp(file.c_str(), name.c_str()) == 0)
            return true;
    }
    return false;
}

// Picture values built from random pieces, with the pictures all different or all
// identical: the cleaner never fails, no named picture that existed goes missing, and
// a second run changes nothing.
TEST(SkinCleaner, RandomPictureValuesAreStable)
{
    static const wchar_t* const pieces[] = {L",", L" ",  L"<",  L">", L";",   L"a.png", L"B.PNG", L"c.gif",
                                            L"7", L"-3", L"\\", L"/", L"@2x", L"x",     L"\t",    L".bmp"};
    std::mt19937 random(20240611);
    t_tempFolder folder(L"cleaner_random");
    for (int round = 0; round < 60; ++round) {
        t_tempFolder::RemoveTree(folder.Path());
        CreateDirectoryW(folder.Path().c_str(), nullptr);
        for (const wchar_t* name : {L"a.png", L"b.png", L"c.gif", L"x.bmp", L"a@2x.png"})
            WriteRaw(folder / name, round % 2 ? "same" : Narrow(name));
        const std::vector<std::wstring> original = FilesOf(folder.Path());
        std::wstring text = L"[StatusBar]\r\n";
        for (const wchar_t* key : {L"pic", L"cn_en", L"menu_hover"}) {
            std::wstring value;
            const int count = static_cast<int>(random() % 12);
            for (int i = 0; i < count; ++i)
                value += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            text += std::wstring(key) + L"=" + value + L"\r\n";
        }
        WriteSkinIni(folder, text);
        const std::string label = testing::PrintToString(text);

        std::wstring lines;
        ASSERT_TRUE(Clean(folder, &lines)) << lines;
        const std::vector<std::wstring> files = FilesOf(folder.Path());
        for (const std::wstring& name : NamedFiles(folder)) {
            if (HasFileNoCase(original, name)) {
                EXPECT_TRUE(HasFileNoCase(files, name)) << testing::PrintToString(name) << " in " << label;
            }
        }
        const std::string ini = ReadRaw(folder / L"Skin.ini");
        ASSERT_TRUE(Clean(folder, &lines)) << lines;
        EXPECT_EQ(files, FilesOf(folder.Path())) << label;
        EXPECT_EQ(ini, ReadRaw(folder / L"Skin.ini")) << label;
    }
}

// Plan decides in memory, from the held pictures, exactly what Run then does to the folder.
TEST(SkinCleaner, PlanDecidesWhatRunDoesWithoutTouchingTheFolder)
{
    t_tempFolder merge(L"cleaner_plan_merge");
    for (const wchar_t* name : {L"a.png", L"B.png", L"c.png"})
        WriteRaw(merge / name, "same");
    for (const wchar_t* name : {L"d.png", L"e.png", L"unused.bmp"})
        WriteRaw(merge / name, "other");
    WriteRaw(merge / L"e@2x.png", "other at 2x");
    WriteRaw(merge / L"empty.gif", "");
    WriteSkinIni(merge, L"[StatusBar]\r\npic=a.png\r\npic_mask=b.png\r\n"
                        L"cn_en=c.png,A.PNG,d.png\r\ncn_en_hover=e.png,empty.gif\r\n");
    t_tempFolder basic(L"cleaner_plan_basic");
    t_errorChain errors;
    ASSERT_TRUE(CopyFolderTree(errors, basic.Path().c_str(), SkinTestData(L"cleaner\\basic").c_str())) << Lines(errors);

    for (const t_tempFolder* folder : {&merge, &basic}) {
        SCOPED_TRACE(Narrow(folder->Path().c_str()));
        std::vector<t_listedFile> listing;
        ASSERT_TRUE(ListFolder(folder->Path().c_str(), listing));
        std::vector<std::string> bytes;
        for (const t_listedFile& file : listing)
            bytes.push_back(file.IsFolder() ? std::string() : ReadRaw(*folder / file.name.c_str()));
        std::vector<t_heldPicture> held;
        for (size_t i = 0; i < listing.size(); ++i) {
            if (!listing[i].IsFolder())
                held.push_back({listing[i].name.c_str(), reinterpret_cast<const uint8_t*>(bytes[i].data()),
                                uint32_t(bytes[i].size())});
        }
        const t_fileTree before = ReadTree(folder->Path());
        const std::string ini = ReadRaw(*folder / L"Skin.ini");

        t_cleanPlan plan;
        t_skinCleaner planner;
        ASSERT_TRUE(planner.Plan(errors, held.data(), held.size(), ini.data(), ini.size(), plan)) << Lines(errors);
        EXPECT_EQ(before, ReadTree(folder->Path()));

        ASSERT_TRUE(Clean(*folder));
        std::set<std::wstring> dropped;
        for (const auto& file : before) {
            if (!Exists(*folder / file.first))
                dropped.insert(file.first);
        }
        std::set<std::wstring> planned;
        for (const t_str& name : plan.dropped)
            planned.insert(name.c_str());
        EXPECT_EQ(dropped, planned);
        EXPECT_FALSE(plan.dropped.empty());
        EXPECT_EQ(ReadRaw(*folder / L"Skin.ini"), std::string(plan.ini.begin(), plan.ini.end()));
    }

    // A text that does not parse is refused with Run's lines.
    t_cleanPlan plan;
    t_skinCleaner planner;
    errors.Reset();
    EXPECT_FALSE(planner.Plan(errors, nullptr, 0, "\xFE\xFF\x00", 3, plan));
    EXPECT_EQ(L"解析ini失败|解析皮肤ini文件失败", Lines(errors));
}
