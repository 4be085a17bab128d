// The folder cleaner on a skin whose Skin.ini holds random values, names that reach out of
// the folder, or damaged bytes: it may delete pictures of that folder only, never a file
// beside it or in a folder below it, and a Skin.ini it cannot read leaves the folder as
// it was.
#include "skin_model/skin_cleaner.h"

#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace {

// Everything below root by upper-cased relative path (a folder's with a backslash at the
// end): a file's bytes, "<dir>" for a folder.
t_fileTree Tree(const std::wstring& root)
{
    t_fileTree tree;
    ForEachBelow(root, [&](const std::wstring& rel, bool isFolder) {
        std::wstring key = rel;
        CharUpperW(&key[0]);
        if (isFolder)
            tree[key + L"\\"] = "<dir>";
        else
            tree[key] = ReadRaw(root + L"\\" + rel);
    });
    return tree;
}

// A sandbox with pictures beside the skin folder and in a folder below it, which share
// names with the skin's own pictures.
void BuildSandbox(const std::wstring& sandbox, int round)
{
    t_tempFolder::RemoveTree(sandbox);
    CreateDirectoryW(sandbox.c_str(), nullptr);
    const std::wstring skin = sandbox + L"\\skin";
    CreateDirectoryW(skin.c_str(), nullptr);
    CreateDirectoryW((skin + L"\\pics").c_str(), nullptr);
    for (const wchar_t* name : {L"a.png", L"b.png", L"out.png", L"x.bmp"})
        WriteRaw(sandbox + L"\\" + name, "outside");
    for (const wchar_t* name : {L"a.png", L"z.gif"})
        WriteRaw(skin + L"\\pics\\" + name, "below");
    // Every other round the skin's pictures are identical, so that merging has work.
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.gif", L"x.bmp", L"a@2x.png", L"皮肤.bmp", L"d.PNG"}) {
        const std::wstring text = round % 2 ? L"same" : name;
        WriteRaw(skin + L"\\" + name, std::string(text.begin(), text.end()));
    }
    WriteRaw(skin + L"\\readme.txt", "text");
}

std::wstring RandomSkinIni(std::mt19937& rng, const std::wstring& sandbox)
{
    static const wchar_t* const c_sections[] = {L"StatusBar", L"Scheme_H1", L"Scheme_H2", L"Scheme_V1",
                                                L"Scheme_V2", L"General",   L"Display"};
    static const wchar_t* const c_keys[] = {L"pic",
                                            L"pic_mask",
                                            L"pinyin_pic",
                                            L"zhongwen_pic",
                                            L"cn_en",
                                            L"cn_en_hover",
                                            L"comp_menu_down",
                                            L"cand_custom3_up",
                                            L"custom0",
                                            L"flash1_flashpreview",
                                            L"skin_info",
                                            L"cn_en_display",
                                            L"cn_en_align",
                                            L"custom_cnt",
                                            L"opaque",
                                            L"anchor",
                                            L"cn_en_pos",
                                            L"x"};
    const std::wstring pieces[] = {L"a.png",
                                   L"B.PNG",
                                   L"c.gif",
                                   L"x.bmp",
                                   L"d.png",
                                   L"a@2x.png",
                                   L"皮肤.bmp",
                                   L"missing.png",
                                   L"..\\a.png",
                                   L"..\\out.png",
                                   L"../x.bmp",
                                   L"pics\\a.png",
                                   L"pics\\z.gif",
                                   L"\\a.png",
                                   L"C:\\a.png",
                                   sandbox + L"\\out.png",
                                   sandbox + L"\\skin\\pics\\z.gif",
                                   L"*.png",
                                   L"?.bmp",
                                   L"..",
                                   L".",
                                   L",",
                                   L",",
                                   L" ",
                                   L"<",
                                   L">",
                                   L";",
                                   L"<1;2;3;4>",
                                   L"<-1;99999999999;0;5>",
                                   L"0",
                                   L"1",
                                   L"-1",
                                   L"\t"};
    std::wstring text;
    for (int s = 0; s < 4; ++s) {
        text += L"[" + std::wstring(c_sections[rng() % (sizeof c_sections / sizeof c_sections[0])]) + L"]\r\n";
        for (int k = static_cast<int>(rng() % 8); k > 0; --k) {
            text += std::wstring(c_keys[rng() % (sizeof c_keys / sizeof c_keys[0])]) + L"=";
            for (int p = static_cast<int>(rng() % 8); p > 0; --p)
                text += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
            text += L"\r\n";
        }
    }
    return text;
}

TEST(SkinCleanerFuzz, DeletesOnlyPicturesOfTheFolder)
{
    t_tempFolder temp(L"cleaner_fuzz");
    const std::wstring sandbox = temp / L"box";
    const std::wstring skin = sandbox + L"\\skin";
    std::mt19937 rng(20240611);
    int cleaned = 0;
    int deleting = 0;
    for (int round = 0; round < 80; ++round) {
        BuildSandbox(sandbox, round);
        std::string ini = Utf16File(RandomSkinIni(rng, sandbox));
        // A quarter of the files are damaged on top, some beyond reading.
        if (round % 4 == 0)
            Mutate(ini, rng);
        ASSERT_TRUE(WriteRaw(skin + L"\\Skin.ini", ini));
        const t_fileTree before = Tree(sandbox);
        const std::string label = "round " + std::to_string(round);

        t_errorChain errors;
        t_skinCleaner cleaner;
        const bool ok = cleaner.Run(errors, skin.c_str());
        const t_fileTree after = Tree(sandbox);
        if (!ok) {
            EXPECT_FALSE(errors.IsEmpty()) << label;
            EXPECT_TRUE(before == after) << "a refused folder changed, " << label;
            continue;
        }
        ++cleaned;
        deleting += after.size() < before.size();
        for (const auto& entry : before) {
            const std::wstring& path = entry.first;
            const bool skinPicture = path.compare(0, 5, L"SKIN\\") == 0 && path.find(L'\\', 5) == std::wstring::npos &&
                                     IsPictureFileName(path.c_str());
            if (path == L"SKIN\\SKIN.INI")
                continue;
            auto kept = after.find(path);
            // A picture of the folder may go; one that stays keeps its bytes.
            if (skinPicture) {
                EXPECT_TRUE(kept == after.end() || kept->second == entry.second) << label;
                continue;
            }
            // Everything else stays as it was: files beside the folder, below it, and
            // its other files.
            EXPECT_TRUE(kept != after.end() && kept->second == entry.second)
                << testing::PrintToString(path) << " changed, " << label;
        }
        for (const auto& entry : after)
            EXPECT_TRUE(before.count(entry.first)) << testing::PrintToString(entry.first) << " appeared, " << label;
        EXPECT_TRUE(after.count(L"SKIN\\SKIN.INI")) << label;
    }
    EXPECT_GT(cleaned, 65);
    EXPECT_GT(deleting, 30);
}

}  // namespace
