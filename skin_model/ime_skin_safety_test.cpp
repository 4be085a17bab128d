// The skin document with packages from someone else and with failing drives: outside
// files are never read, case duplicates give one view, a failed write damages nothing, a
// failed save says why, and a save killed at any moment leaves the old or the new package.
#include "skin_model/ime_skin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "interfaces/ziplib.h"
#include "foundation/files/file.h"
#include "skin_model/base_info.h"
#include "skin_model/general_info.h"
#include "skin_model/skin_ini.h"
#include "tests/support/child_runner.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"

namespace {

// This program's temporary folder: the work folder "SkinTmp" lies in it.
t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"imeskin_safety", true));

const std::wstring c_source = std::wstring(KAVREL_SOURCE_DIR) + L"\\skin_model\\testdata\\doc_skin";
const char c_sentinel[] = "SENTINEL-5b1e-do-not-pack";

std::wstring Work() { return g_temp->Path() + L"\\SkinTmp"; }

std::string Utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

bool Contains(const t_fileTree& tree, const std::string& bytes)
{
    for (const auto& file : tree) {
        if (file.second.find(bytes) != std::string::npos)
            return true;
    }
    return false;
}

class IMESkinSafety : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetWriteLimitForTests(-1);
        m_skin.Close();
        for (const wchar_t* name : {L"SkinTmp", L"SkinTmp.dat", L"SkinTmp.tmp"})
            t_tempFolder::RemoveTree(g_temp->Path() + L"\\" + name);
    }

    // The fixture's pictures with a Skin.ini whose picture keys hold value, zipped.
    std::wstring HostilePackage(const std::wstring& value)
    {
        const std::wstring folder = m_folder / L"skin";
        t_tempFolder::RemoveTree(folder);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"skin1.png", L"status.png", L"cn.png", L"en.png"})
            EXPECT_TRUE(WriteRaw(folder + L"\\" + name, ReadRaw(c_source + L"\\" + name)));
        const std::string v = Utf8(value);
        EXPECT_TRUE(WriteRaw(folder + L"\\Skin.ini", "\xEF\xBB\xBF[General]\r\nskin_name=hostile\r\n"
                                                     "[Scheme_H1]\r\npic=" +
                                                         v + "\r\npic_mask=" + v + "\r\n[StatusBar]\r\npic=" + v +
                                                         "\r\ncn_en_display=1\r\ncn_en=cn.png," + v + "\r\n"));
        const std::wstring package = m_folder / L"hostile.vsf";
        EXPECT_EQ(ZIPLIB_OK, ZipFolder(folder.c_str(), nullptr, package.c_str()));
        return package;
    }

    t_tempFolder m_folder{L"imeskin_safety_case"};
    IMESkin m_skin;
};

TEST_F(IMESkinSafety, PictureValuesOutsideTheSkinAreNeverReadCopiedOrWrittenBack)
{
    // The designer's own file, where each value below would find it.
    const std::wstring secret = g_temp->Path() + L"\\secret.png";
    ASSERT_TRUE(WriteRaw(secret, c_sentinel));
    const std::wstring drive = secret.substr(0, 2);
    const std::wstring values[] = {
        secret,                            // a drive
        L"..\\secret.png",                 // climbs out of the work folder
        L"sub\\..\\..\\secret.png",        // climbs out through a subfolder
        L"\\\\?\\" + secret,               // a UNC prefix to a local file
        secret.substr(2),                  // rooted on the current drive
        L"\\\\server\\share\\secret.png",  // the network
        drive + L"secret.png",             // relative to a drive's own folder
    };
    ASSERT_EQ(L':', drive[1]);
    SetCurrentDirectoryW(g_temp->Path().c_str());
    for (const std::wstring& value : values) {
        SCOPED_TRACE(Utf8(value));
        const std::wstring package = HostilePackage(value);
        ASSERT_TRUE(m_skin.Open(package.c_str()));
        EXPECT_EQ((std::vector<std::wstring>{L"图片路径无效:" + value, L"图片路径无效:cn.png," + value}),
                  ErrorLines(m_skin.OpenNotes()));
        EXPECT_FALSE(m_skin.OpenNotes().IsFailed());
        // Missing for the parts, the preview's packed copy and the work folder alike.
        EXPECT_STREQ(L"", SkinIni::GetText(L"Scheme_H1", L"pic"));
        EXPECT_STREQ(L"cn.png,", SkinIni::GetText(L"StatusBar", L"cn_en"));
        EXPECT_EQ(std::string::npos, ReadRaw(Work() + L"\\Skin.ini").find("secret"));
        EXPECT_EQ(std::string::npos, ReadRaw(Work() + L".dat").find("secret"));

        const std::wstring saved = m_folder / L"saved.vsf";
        t_errorChain errors;
        ASSERT_TRUE(m_skin.Save(errors, saved.c_str())) << Utf8(Lines(errors));
        const std::wstring out = m_folder / L"out";
        t_tempFolder::RemoveTree(out);
        ASSERT_EQ(ZIPLIB_OK, UnZip(saved.c_str(), out.c_str()));
        const t_fileTree tree = ReadTree(out);
        EXPECT_FALSE(Contains(tree, c_sentinel));
        EXPECT_FALSE(Contains(ReadTree(Work()), c_sentinel));
        const std::string ini = tree.count(L"Skin.ini") ? tree.at(L"Skin.ini") : std::string();
        const std::wstring text(reinterpret_cast<const wchar_t*>(ini.data()), ini.size() / 2);
        EXPECT_EQ(std::wstring::npos, text.find(L"secret")) << Utf8(text);

        // The saved package opens clean.
        ASSERT_TRUE(m_skin.Close());
        ASSERT_TRUE(m_skin.Open(saved.c_str()));
        EXPECT_TRUE(m_skin.OpenNotes().IsEmpty()) << Utf8(Lines(m_skin.OpenNotes()));
        ASSERT_TRUE(m_skin.Close());
    }
    EXPECT_EQ(c_sentinel, ReadRaw(secret));
}

TEST_F(IMESkinSafety, NamesInsideTheWorkFolderResolveThereAndOthersNowhere)
{
    const std::wstring package = HostilePackage(L"skin1.png");
    ASSERT_TRUE(m_skin.Open(package.c_str()));
    EXPECT_TRUE(m_skin.OpenNotes().IsEmpty());
    EXPECT_STREQ(L"skin1.png", SkinIni::GetText(L"Scheme_H1", L"pic"));

    wchar_t out[MAX_PATH];
    ASSERT_TRUE(m_skin.ResolvePath(out, L"sub\\a.png"));
    EXPECT_EQ(Work() + L"\\sub\\a.png", out);
    // A full path is a picture the designer picked; a relative one that climbs out is none.
    ASSERT_TRUE(m_skin.ResolvePath(out, L"D:\\pics\\a.png"));
    EXPECT_STREQ(L"D:\\pics\\a.png", out);
    EXPECT_FALSE(m_skin.ResolvePath(out, L"..\\secret.png"));
    EXPECT_STREQ(L"", out);

    // Importing a picture never reads a relative path that leaves the skin.
    wchar_t picture[MAX_PATH] = L"..\\secret.png";
    t_errorChain errors;
    EXPECT_FALSE(BaseInfo::ImportPicture(errors, picture, MAX_PATH, L"skin1"));
    EXPECT_EQ(L"图片路径无效:..\\secret.png", Lines(errors));
    EXPECT_STREQ(L"..\\secret.png", picture);
}

TEST_F(IMESkinSafety, CaseDuplicateEntriesOpenAsTheFirstAndAreReported)
{
    const std::wstring package =
        std::wstring(KAVREL_SOURCE_DIR) + L"\\companions\\ziplib\\testdata\\case_duplicates.zip";
    ASSERT_TRUE(m_skin.Open(package.c_str()));
    EXPECT_STREQ(L"first", SkinIni::GetText(L"General", L"name"));
    EXPECT_EQ("first picture", ReadRaw(Work() + L"\\pics\\a.png"));
    const std::vector<std::wstring> notes = ErrorLines(m_skin.OpenNotes());
    ASSERT_EQ(3u, notes.size()) << Utf8(Lines(m_skin.OpenNotes()));
    EXPECT_NE(std::wstring::npos, notes[0].find(L"SKIN.INI"));
    EXPECT_NE(std::wstring::npos, notes[1].find(L"PICS/A.PNG"));
}

TEST_F(IMESkinSafety, CommitOnAFullDriveLeavesThePreviousSkinIni)
{
    const std::wstring package = m_folder / L"doc.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(c_source.c_str(), nullptr, package.c_str()));
    ASSERT_TRUE(m_skin.Open(package.c_str()));
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Commit(errors, false)) << Utf8(Lines(errors));
    const std::wstring ini = Work() + L"\\Skin.ini";
    const std::string before = ReadRaw(ini);
    ASSERT_GT(before.size(), 4096u);
    const std::vector<std::wstring> files = NamesIn(Work());

    // An unchanged model writes nothing, so only an edit meets the full drive.
    wcscpy(m_skin.General().skinVersion, L"9.9");
    SetWriteLimitForTests(4096);
    const bool committed = m_skin.Commit(errors, false);
    SetWriteLimitForTests(-1);
    EXPECT_FALSE(committed);
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"保存ini失败:" + ini)) << Utf8(Lines(errors));
    EXPECT_EQ(before, ReadRaw(ini));
    EXPECT_EQ(files, NamesIn(Work()));

    // The same edit commits once the drive has room again.
    t_errorChain again;
    EXPECT_TRUE(m_skin.Commit(again, false)) << Utf8(Lines(again));
    EXPECT_NE(std::string::npos, ReadRaw(ini).find(std::string("9\0.\09", 5)));
}

TEST_F(IMESkinSafety, EachSaveTargetFailureNamesItsCause)
{
    const std::wstring package = m_folder / L"doc.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(c_source.c_str(), nullptr, package.c_str()));
    ASSERT_TRUE(m_skin.Open(package.c_str()));

    // Another program holds the old package without letting it be moved.
    const std::wstring held = m_folder / L"held.vsf";
    ASSERT_TRUE(WriteRaw(held, "old package"));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    t_errorChain errors;
    EXPECT_FALSE(m_skin.Save(errors, held.c_str()));
    CloseHandle(holder);
    std::vector<std::wstring> lines = ErrorLines(errors);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(L"压缩失败", lines[0]);
    EXPECT_NE(std::wstring::npos, lines[1].find(L"系统错误32")) << Utf8(Lines(errors));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(held)) << Utf8(Lines(errors));
    EXPECT_EQ("old package", ReadRaw(held));

    // A folder that does not exist.
    const std::wstring nowhere = m_folder / L"no\\such\\x.vsf";
    errors.Reset();
    EXPECT_FALSE(m_skin.Save(errors, nowhere.c_str()));
    lines = ErrorLines(errors);
    ASSERT_EQ(2u, lines.size()) << Utf8(Lines(errors));
    EXPECT_EQ(L"压缩失败", lines[0]);
    EXPECT_EQ(0u, lines[1].find(L"系统错误3:"));
    EXPECT_NE(std::wstring::npos, lines[1].find(nowhere));

    // A folder where the package would go.
    const std::wstring folder = m_folder / L"folder.vsf";
    CreateDirectoryW(folder.c_str(), nullptr);
    errors.Reset();
    EXPECT_FALSE(m_skin.Save(errors, folder.c_str()));
    lines = ErrorLines(errors);
    ASSERT_EQ(2u, lines.size()) << Utf8(Lines(errors));
    EXPECT_EQ(0u, lines[1].find(L"系统错误336")) << Utf8(Lines(errors));
    EXPECT_NE(std::wstring::npos, lines[1].find(folder));
}

// A 24-bit bitmap of noise, which deflate cannot shrink: a package that takes a while to write.
std::string NoiseBitmap(int width, int height, uint32_t seed)
{
    const uint32_t rowBytes = uint32_t(width * 3 + 3) & ~3u;
    const uint32_t pixels = rowBytes * uint32_t(height);
    std::string out = "BM";
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += char(v >> (8 * i));
    };
    u32(54 + pixels);
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(width));
    u32(uint32_t(height));
    u32(1 | (24u << 16));
    u32(0);
    u32(pixels);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    std::mt19937 rng(seed);
    out += RandomBytes(rng, pixels);
    return out;
}

// A child opens a large package, changes the skin's name and saves it over the package;
// it is killed at a random moment of the save, many times. After every kill the package
// opens, and its files are byte for byte those of the old skin or of the new one.
TEST_F(IMESkinSafety, SaveKilledAtAnyMomentLeavesTheOldOrTheNewSkin)
{
    const std::wstring folder = m_folder / L"large";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"status.png", L"cn.png", L"en.png", L"unused.png"})
        ASSERT_TRUE(WriteRaw(folder + L"\\" + name, ReadRaw(c_source + L"\\" + name)));
    std::string ini = ReadRaw(c_source + L"\\Skin.ini");
    ASSERT_NE(std::string::npos, ini.find("skin1.png"));
    ini.replace(ini.find("skin1.png"), 9, "large.bmp");
    ASSERT_TRUE(WriteRaw(folder + L"\\Skin.ini", ini));
    ASSERT_TRUE(WriteRaw(folder + L"\\large.bmp", NoiseBitmap(1600, 1200, 7)));
    const std::wstring original = m_folder / L"original.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(folder.c_str(), nullptr, original.c_str()));
    const std::string oldBytes = ReadRaw(original);

    const std::wstring childTemp = m_folder / L"child_tmp";
    CreateDirectoryW(childTemp.c_str(), nullptr);
    const std::wstring package = m_folder / L"saved.vsf";
    const std::wstring eventName = UniqueTag(L"kavrel_save_mark_");
    const HANDLE mark = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(nullptr, mark);
    const std::wstring arguments =
        L"tmp \"" + childTemp + L"\" open \"" + package + L"\" set general.name 新名字 signal " + eventName + L" save";
    // Starts the child on a fresh copy of the old package; true once it is about to save.
    const auto startSave = [&](HANDLE& child) {
        ResetEvent(mark);
        DeleteFileW((package + L".saving").c_str());
        if (!WriteRaw(package, oldBytes))
            return false;
        child = StartChild(L"skin_doc_tool_child.exe", arguments);
        const HANDLE waits[2] = {mark, child};
        return child && WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
    };
    const auto openedTree = [&](const std::wstring& path, t_fileTree& tree) {
        if (!m_skin.Open(path.c_str()))
            return false;
        tree = ReadTree(Work());
        return m_skin.Close();
    };

    // The old skin, and the new one from a save left to finish, timed.
    t_fileTree oldTree, newTree;
    ASSERT_TRUE(openedTree(original, oldTree));
    HANDLE child = nullptr;
    ASSERT_TRUE(startSave(child));
    const DWORD started = GetTickCount();
    ASSERT_EQ(0, EndProgram(child, 60000));
    const DWORD saveMs = std::max<DWORD>(GetTickCount() - started, 20);
    ASSERT_TRUE(openedTree(package, newTree));
    ASSERT_NE(oldTree, newTree);
    ASSERT_NE(oldTree.at(L"large.bmp").size(), 0u);

    std::mt19937 rng(20250611);
    int oldSeen = 0, newSeen = 0;
    const int rounds = FuzzRounds(10);
    for (int round = 0; round < rounds; ++round) {
        ASSERT_TRUE(startSave(child));
        // Anywhere from the start of the save to well past its usual end.
        Sleep(DWORD(rng() % (2 * saveMs)));
        TerminateProcess(child, 9);
        WaitForSingleObject(child, 10000);
        CloseHandle(child);
        t_fileTree tree;
        ASSERT_TRUE(openedTree(package, tree)) << "round " << round << ": " << Utf8(Lines(m_skin.OpenNotes()));
        const bool isOld = tree == oldTree, isNew = tree == newTree;
        EXPECT_TRUE(isOld || isNew) << "round " << round;
        (isOld ? oldSeen : newSeen) += isOld || isNew ? 1 : 0;
        // Opened whole: no temporary of the killed save stays beside it.
        EXPECT_FALSE(Exists(package + L".saving")) << "round " << round;
    }
    CloseHandle(mark);
    std::printf("save of %u ms killed %d times: old skin %d, new skin %d\n", unsigned(saveMs), rounds, oldSeen,
                newSeen);
}

}  // namespace
