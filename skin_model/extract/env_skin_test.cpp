#include "skin_model/extract/env_skin.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/env/user_env_test_setup.h"
#include "foundation/files/path.h"
#include "foundation/process/component_client.h"
#include "foundation/flash/flash_util.h"
#include "foundation/records/skin_pack.h"
#include "skin_model/extract/skin_package_reader.h"
#include "tests/support/child_runner.h"
#include "tests/support/exe_folder.h"
#include "tests/support/flash_bundle.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/stored_zip.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

namespace {

// One installation (with ZipLib.dll, as the input method ships it) and one accounts folder
// for the whole program; it is also the temporary folder, where the zip library puts the
// copies it reads from.
t_tempFolder* g_install = nullptr;

class t_environment : public t_programTempFolder {
public:
    t_environment() : t_programTempFolder(g_install, L"extract_install", true) {}
    void SetUp() override
    {
        t_programTempFolder::SetUp();
        t_errorChain errors;
        ASSERT_TRUE(InitUserEnvTestProcess(errors, g_install->Path().c_str(), UniqueTag(L"ex").c_str(),
                                           int(GetCurrentProcessId() * 64 + 2)))
            << Lines(errors);
        ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\ZipLib.dll").c_str(), (*g_install / L"ZipLib.dll").c_str(), FALSE));
    }
    void TearDown() override
    {
        t_str acc;
        if (UserManager::Instance()->GetAccFilePath(acc)) {
            const std::wstring dir = acc.c_str();
            t_tempFolder::RemoveTree(dir.substr(0, dir.rfind(L'\\')));
        }
        t_programTempFolder::TearDown();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new t_environment);

using t_entries = std::map<std::wstring, std::string>;

// The entries of a container file and its format number.
t_entries ReadContainer(const std::wstring& path, uint32_t& format)
{
    t_entries entries;
    format = 0;
    t_skinPack::ProbeHeader(path.c_str(), &format);
    t_skinPack pack;
    t_errorChain errors;
    if (!pack.Import(errors, path.c_str()))
        return {{L"<unreadable>", ""}};
    for (int i = 0; i < pack.Count(); ++i) {
        uint32_t size = 0;
        const unsigned char* data = pack.At(i)->GetData(&size);
        entries[pack.At(i)->GetName()] = std::string(reinterpret_cast<const char*>(data), size);
    }
    return entries;
}

std::string ContainerBytes(const t_entries& entries, bool packed)
{
    t_tempFolder dir(L"extract_container");
    t_skinPack pack;
    for (const auto& entry : entries) {
        t_varFile file;
        file.SetName(entry.first.c_str(), nullptr);
        file.SetData(reinterpret_cast<const unsigned char*>(entry.second.data()), uint32_t(entry.second.size()),
                     nullptr);
        pack.AddFile(file);
    }
    t_errorChain errors;
    EXPECT_TRUE(pack.Export(errors, (dir / L"c.dat").c_str(), packed)) << Lines(errors);
    return ReadRaw(dir / L"c.dat");
}

// The zip archive with both size fields of central directory record `index` set to size.
std::string WithCentralSizes(std::string zip, int index, uint32_t size)
{
    size_t at = zip.find("PK\1\2");
    for (int i = 0; i < index && at != std::string::npos; ++i)
        at = zip.find("PK\1\2", at + 4);
    if (at != std::string::npos) {
        PutLe32(zip, at + 20, size);
        PutLe32(zip, at + 24, size);
    }
    return zip;
}

std::wstring FromTo(const std::wstring& source, const std::wstring& target)
{
    return L"皮肤解压失败：\r\n    从 " + source + L"\r\n    到 " + target;
}
std::wstring PathLine(const std::wstring& path) { return L"皮肤解压失败：\r\n    \x3000 " + path; }

class ExtractTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        userId = 0x300 + ++serial;
        t_str dir;
        ASSERT_TRUE(UserManager::Instance()->GetUserDirText(dir, userId));
        userDir = dir.c_str();
        t_errorChain errors;
        ASSERT_TRUE(t_path(userDir.c_str()).CreateDirectoryTree(errors, false)) << Lines(errors);
        target = userDir + L"\\skin_v3.dat";
    }
    void TearDown() override
    {
        t_tempFolder::RemoveTree(userDir);
        t_tempFolder::RemoveTree(*g_install / L"AllSkin");
    }

    struct t_outcome {
        bool ok;
        int32_t code;
        std::vector<std::wstring> lines;
    };
    t_outcome Run(const wchar_t* source, const wchar_t* targetName = nullptr, bool checkFlash = true)
    {
        t_errorChain errors;
        int32_t code = -100;
        const bool ok = t_envSkin::Instance()->Extract2(errors, userId, checkFlash, source, targetName, &code);
        return {ok, code, ErrorLines(errors)};
    }
    void Put(const std::wstring& path, const std::string& bytes)
    {
        CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        ASSERT_TRUE(WriteRaw(path, bytes)) << path;
    }

    int userId = 0;
    std::wstring userDir;
    std::wstring target;
    t_tempFolder packages{L"extract_packages"};
};

const std::string c_index936 = "[General]\r\nversion=3\r\n[Display]\r\nBack=bg.png, over.bmp\r\nAgain=BG.png\r\n";
const std::string c_oldTarget = "old runtime skin";

// Every kind of package through Extract2 by path: the result, the code, the exact lines,
// and what the target holds. The package itself never changes, and a failure leaves the
// old target and no partial file behind.
TEST_F(ExtractTest, PackagesConvertOrFailWithTheirCodeAndLines)
{
    const std::string utf16Index = Utf16File(L"[General]\r\nVersion=1\r\n[Display]\r\nBack=背景.png\r\n");
    const std::string hostileIndex = "[Display]\r\nA=sub\\pic.png,..\\evil.png\r\nB=../up.bmp\r\nC=C:\\x.gif\r\n"
                                     "D=good.png\r\nE=.png\r\nF=con.png\r\n";
    const std::string failingIndex =
        "[General]\r\nHomepage=skin.gifts.example\r\n[Display]\r\nA=gone.png\r\nB=ok.png\r\nC=empty.png\r\n";
    const std::string longName(300, 'x');
    const std::string mixedIndex =
        "[Display]\r\nA=a<b.png,ok.png,gone.png\r\nB=sub\\c.png,nul.png,B.PNG,b.png,last.gif\r\n";
    const std::string forbiddenIndex =
        "[Display]\r\nA=a<b.png,c>d.png,e|f.png,g*h.png,i?j.png,k\"l.png\r\nB=\x01z.png\r\nC=good.png\r\n";
    const std::wstring c_badCharacter = L"皮肤文件名无效(含< > : \" / \\ | ? *或控制字符)，未打包：";
    const std::string goodZip = StoredZip({{"skin.ini", "A=bg.png"}, {"bg.png", "P"}});
    // 25 named files, none in the archive: 20 lines, then the count of the rest.
    std::string manyMissing = "[Display]\r\nA=";
    std::vector<std::wstring> manyMissingLines;
    for (int i = 0; i < 25; ++i) {
        manyMissing += "m" + std::to_string(i) + ".png,";
        if (i < 20)
            manyMissingLines.push_back(L"皮肤文件缺失，未打包：m" + std::to_wstring(i) + L".png");
    }
    manyMissingLines.push_back(L"……另有5个文件未打包");
    const t_entries containerEntries = {
        {L"skin.ini", "[General]\r\nversion=9\r\n"}, {L"a.png", "A"}, {L"notes.txt", "kept"}};

    struct t_case {
        const char* label;
        std::string package;
        bool ok;
        int32_t code;
        std::vector<std::wstring> lines;  // "%S" and "%T" stand for the source and the target
        t_entries entries;
        uint32_t format;
    };
    const std::vector<t_case> cases = {
        {"zip, code page 936 index",
         StoredZip({{"skin.ini", c_index936}, {"bg.png", "P1"}, {"over.bmp", "B1"}, {"unused.png", "U"}}),
         true,
         0,
         {},
         {{L"skin.ini", c_index936}, {L"bg.png", "P1"}, {L"over.bmp", "B1"}},
         1},
        {"zip, UTF-16 index naming a Chinese file",
         StoredZip({{"Skin.ini", utf16Index}, {"\xb1\xb3\xbe\xb0.png", "CN"}}),
         true,
         0,
         {},
         {{L"skin.ini", utf16Index}, {L"背景.png", "CN"}},
         1},
        {"zip, names in other case",
         StoredZip({{"SKIN.INI", "[Display]\r\nA=Bg.PNG\r\n"}, {"bg.png", "P"}}),
         true,
         0,
         {},
         {{L"skin.ini", "[Display]\r\nA=Bg.PNG\r\n"}, {L"Bg.PNG", "P"}},
         1},
        {"plain container", ContainerBytes(containerEntries, false), true, 0, {}, containerEntries, 3},
        {"packed container", ContainerBytes(containerEntries, true), true, 0, {}, containerEntries, 3},
        {"zip, version 2",
         StoredZip({{"skin.ini", "[General]\r\nversion=2\r\n"}}),
         false,
         0,
         {L"皮肤版本不支持", L"%FT"},
         {},
         0},
        {"zip, version 4",
         StoredZip({{"skin.ini", "[General]\r\nversion=4\r\n"}}),
         false,
         0,
         {L"皮肤版本不支持", L"%FT"},
         {},
         0},
        {"not a zip archive",
         std::string("PK\3\4 but nothing more"),
         false,
         5,
         {L"皮肤解压失败:不是完整的zip文件(已截断或损坏)", L"%PL", L"%FT"},
         {},
         0},
        {"zip cut short",
         goodZip.substr(0, goodZip.size() - 10),
         false,
         5,
         {L"皮肤解压失败:不是完整的zip文件(已截断或损坏)", L"%PL", L"%FT"},
         {},
         0},
        {"zip whose skin.ini size field is wrong",
         WithCentralSizes(goodZip, 0, 3),
         false,
         6,
         {L"皮肤解压失败:skin.ini已损坏", L"%PL", L"%FT"},
         {},
         0},
        {"zip whose picture claims 1 GiB",
         WithCentralSizes(goodZip, 1, 1u << 30),
         true,
         0,
         {L"皮肤文件过大(超过256MB)，未打包：bg.png"},
         {{L"skin.ini", "A=bg.png"}},
         1},
        {"zip without skin.ini",
         StoredZip({{"bg.png", "P"}}),
         false,
         6,
         {L"皮肤解压失败:skin.ini不存在", L"%PL", L"%FT"},
         {},
         0},
        {"zip with an empty skin.ini",
         StoredZip({{"skin.ini", ""}}),
         false,
         6,
         {L"皮肤解压失败:skin.ini是空的", L"%PL", L"%FT"},
         {},
         0},
        {"zip with a one-byte skin.ini",
         StoredZip({{"skin.ini", "x"}}),
         false,
         7,
         {L"皮肤解压失败:skin.ini格式错误", L"%PL", L"%FT"},
         {},
         0},
        {"zip, names with folders, dots and devices",
         StoredZip({{"skin.ini", hostileIndex},
                    {"sub/pic.png", "S"},
                    {"evil.png", "E"},
                    {"up.bmp", "U"},
                    {"good.png", "G"},
                    {"con.png", "C"}}),
         true,
         0,
         {c_badCharacter + L"sub\\pic.png", c_badCharacter + L"..\\evil.png", c_badCharacter + L"../up.bmp",
          c_badCharacter + L"C:\\x.gif", L"皮肤文件名无效(以“.”开头)，未打包：.png",
          L"皮肤文件名无效(是设备名)，未打包：con.png"},
         {{L"skin.ini", hostileIndex}, {L"good.png", "G"}},
         1},
        {"zip, names Windows cannot create",
         StoredZip({{"skin.ini", forbiddenIndex}, {"a<b.png", "1"}, {"good.png", "G"}}),
         true,
         0,
         {c_badCharacter + L"a<b.png", c_badCharacter + L"c>d.png", c_badCharacter + L"e|f.png",
          c_badCharacter + L"g*h.png", c_badCharacter + L"i?j.png", c_badCharacter + L"k\"l.png",
          c_badCharacter + L"\x01z.png"},
         {{L"skin.ini", forbiddenIndex}, {L"good.png", "G"}},
         1},
        {"zip, UTF-16 index without a byte-order mark",
         StoredZip({{"skin.ini", Utf16Le(L"[Display]\r\nBack=背景.png\r\n")}, {"\xb1\xb3\xbe\xb0.png", "CN"}}),
         true,
         0,
         {},
         {{L"skin.ini", Utf16Le(L"[Display]\r\nBack=背景.png\r\n")}, {L"背景.png", "CN"}},
         1},
        {"zip naming many missing files",
         StoredZip({{"skin.ini", manyMissing}}),
         true,
         0,
         manyMissingLines,
         {{L"skin.ini", manyMissing}},
         1},
        {"zip, named files missing or empty",
         StoredZip({{"skin.ini", failingIndex}, {"ok.png", "OK"}, {"empty.png", ""}}),
         true,
         0,
         {L"皮肤文件缺失，未打包：skin.gif", L"皮肤文件缺失，未打包：gone.png", L"皮肤文件为空，未打包：empty.png"},
         {{L"skin.ini", failingIndex}, {L"ok.png", "OK"}},
         1},
        {"zip, refused names between missing and present ones, in text order",
         StoredZip({{"skin.ini", mixedIndex}, {"ok.png", "K"}, {"b.png", "B"}}),
         true,
         0,
         {c_badCharacter + L"a<b.png", L"皮肤文件缺失，未打包：gone.png", c_badCharacter + L"sub\\c.png",
          L"皮肤文件名无效(是设备名)，未打包：nul.png", L"皮肤文件缺失，未打包：last.gif"},
         {{L"skin.ini", mixedIndex}, {L"ok.png", "K"}, {L"B.PNG", "B"}},
         1},
        {"zip, a name too long",
         StoredZip({{"skin.ini", "A=" + longName + ".png\r\nB=ok.png"}, {"ok.png", "K"}}),
         true,
         0,
         {L"皮肤文件名过长，未打包：" + std::wstring(259, L'x') + L"…"},
         {{L"skin.ini", "A=" + longName + ".png\r\nB=ok.png"}, {L"ok.png", "K"}},
         1},
        {"zip with Flash, no Flash component",
         StoredZip({{"skin.ini", "A=anim.swf"}, {"anim.swf", "FWS"}}),
         false,
         13,
         {L"flash不支持", L"%FT"},
         {},
         0},
        {"zip with Flash data, no Flash component",
         StoredZip({{"skin.ini", "A=a.ssw"}, {"a.ssw", "SSW"}}),
         false,
         13,
         {L"flash不支持", L"%FT"},
         {},
         0},
        {"damaged container",
         std::string("Skin\1\0\0\0\xff\xff\xff\x7f", 12),
         false,
         9,
         {L"皮肤打包文件导入失败", L"%FT"},
         {},
         0},
    };

    int serial = 0;
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring source = packages / (L"p" + std::to_wstring(++serial) + L".vsf");
        Put(source, c.package);
        Put(target, c_oldTarget);

        const t_outcome outcome = Run(source.c_str());
        EXPECT_EQ(c.ok, outcome.ok);
        EXPECT_EQ(c.code, outcome.code);
        std::vector<std::wstring> expected;
        for (const std::wstring& line : c.lines)
            expected.push_back(line == L"%FT" ? FromTo(source, target) : line == L"%PL" ? PathLine(source) : line);
        EXPECT_EQ(expected, outcome.lines);

        EXPECT_EQ(c.package, ReadRaw(source)) << "the user's package changed";
        EXPECT_FALSE(Exists(target + L".part"));
        if (c.ok) {
            uint32_t format = 0;
            EXPECT_EQ(c.entries, ReadContainer(target, format));
            EXPECT_EQ(c.format, format);
            // A packed container that needs no change is written as it was.
            if (c.package.compare(0, 5, std::string("Skin\3", 5)) == 0) {
                EXPECT_EQ(c.package, ReadRaw(target));
            }
        } else {
            EXPECT_EQ(c_oldTarget, ReadRaw(target));
        }
    }
}

TEST_F(ExtractTest, UnreadableZipLibraryIsCodeFour)
{
    const std::wstring source = packages / L"a.vsf";
    Put(source, StoredZip({{"skin.ini", c_index936}}));
    t_skinPack pack;
    t_errorChain errors;
    int32_t code = -1;
    bool packed = true;
    t_tempFolder empty(L"extract_nolib");
    EXPECT_FALSE(t_envSkin::OpenSkinPackage(errors, source.c_str(), pack, &code, packed, empty.Path().c_str()));
    EXPECT_EQ(4, code);
    EXPECT_FALSE(packed);
    EXPECT_TRUE(errors.IsFailed());
    const std::vector<std::wstring> lines = ErrorLines(errors);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(L"动态链接库(" + empty.Path() + L"\\ziplib.dll)不存在。", lines[0]);
    EXPECT_EQ(L"ZipLib.dll打开失败", lines[1]);
}

// Writing fails: a folder where the target should be, or the package itself as target.
// Code 8, nothing half-written left, the package unchanged.
TEST_F(ExtractTest, UnwritableTargetIsCodeEight)
{
    const std::wstring source = packages / L"w.vsf";
    const std::string package = StoredZip({{"skin.ini", "A=a.png"}, {"a.png", "A"}});
    Put(source, package);
    CreateDirectoryW(target.c_str(), nullptr);
    t_outcome outcome = Run(source.c_str());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(8, outcome.code);
    ASSERT_GE(outcome.lines.size(), 2u);
    EXPECT_EQ(L"皮肤打包失败:保存文件失败", outcome.lines[outcome.lines.size() - 2]);
    EXPECT_EQ(FromTo(source, target), outcome.lines.back());
    EXPECT_FALSE(Exists(target + L".part"));
    RemoveDirectoryW(target.c_str());

    outcome = Run(source.c_str(), source.c_str());
    EXPECT_EQ(8, outcome.code);
    EXPECT_EQ((std::vector<std::wstring>{L"皮肤打包失败:目标文件就是皮肤包", FromTo(source, source)}), outcome.lines);
    EXPECT_EQ(package, ReadRaw(source));
}

// User -1 is the current user of the accounts file.
TEST_F(ExtractTest, CurrentUserByDefault)
{
    const std::wstring source = packages / L"u.vsf";
    Put(source, StoredZip({{"skin.ini", "A=a.png"}, {"a.png", "A"}}));
    const std::wstring out = packages / L"u.dat";
    t_errorChain errors;
    int32_t code = -100;
    EXPECT_TRUE(t_envSkin::Instance()->Extract2(errors, -1, true, source.c_str(), out.c_str(), &code)) << Lines(errors);
    EXPECT_EQ(0, code);
    uint32_t format = 0;
    EXPECT_EQ((t_entries{{L"skin.ini", "A=a.png"}, {L"a.png", "A"}}), ReadContainer(out, format));
}

TEST_F(ExtractTest, MissingSourcesAreCodeTwo)
{
    Put(target, c_oldTarget);
    const std::wstring absent = packages / L"absent.vsf";
    t_outcome outcome = Run(absent.c_str());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(2, outcome.code);
    EXPECT_EQ((std::vector<std::wstring>{L"解压缩皮肤失败：" + absent, L"解压缩皮肤失败:Extract2:查找源文件失败"}),
              outcome.lines);

    outcome = Run(L"无此皮肤");
    EXPECT_EQ(2, outcome.code);
    EXPECT_EQ((std::vector<std::wstring>{L"找不到文件: AllSkin\\无此皮肤.vsf", L"找不到文件: SkinPreview\\无此皮肤.vsf",
                                         L"找不到皮肤文件:无此皮肤", L"解压缩皮肤失败：找不到文件无此皮肤",
                                         L"解压缩皮肤失败:Extract2:查找源文件失败"}),
              outcome.lines);
    EXPECT_EQ(c_oldTarget, ReadRaw(target));
}

// Skin names: the user's "AllSkin", then "SkinPreview" (with a clean chain), the ".vsf"
// suffix not doubled, and an installed package copied into the user's "AllSkin".
TEST_F(ExtractTest, SkinNamesAreFoundInTheUserAndInstallationFolders)
{
    const std::string package = StoredZip({{"skin.ini", "A=a.png"}, {"a.png", "A"}});
    Put(userDir + L"\\SkinPreview\\预览.vsf", package);
    t_outcome outcome = Run(L"预览");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.lines.empty()) << outcome.lines.size();

    Put(userDir + L"\\AllSkin\\Mine.vsf", package);
    outcome = Run(L"mine.VSF", L"mine.dat");
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(Exists(userDir + L"\\mine.dat"));

    const std::wstring installed = *g_install / L"AllSkin\\Shipped.vsf";
    Put(installed, package);
    outcome = Run(L"Shipped");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(package, ReadRaw(userDir + L"\\AllSkin\\Shipped.vsf"));
    EXPECT_EQ(package, ReadRaw(installed));

    // By path too: the installed package is copied, the user's copy overwritten.
    Put(userDir + L"\\AllSkin\\Shipped.vsf", "stale");
    outcome = Run(installed.c_str());
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(package, ReadRaw(userDir + L"\\AllSkin\\Shipped.vsf"));
    uint32_t format = 0;
    EXPECT_EQ((t_entries{{L"skin.ini", "A=a.png"}, {L"a.png", "A"}}), ReadContainer(target, format));
}

// A skin name or target that would leave its folder is refused with a line naming it and
// why; nothing outside is read or written. The user's folder holds a package beside
// "AllSkin" that "..\\outside" would reach.
TEST_F(ExtractTest, NamesAndTargetsThatLeaveTheirFolderAreRefused)
{
    const std::string package = StoredZip({{"skin.ini", "A=a.png"}, {"a.png", "A"}});
    Put(userDir + L"\\outside.vsf", package);
    Put(userDir + L"\\AllSkin\\Mine.vsf", package);
    Put(target, c_oldTarget);
    struct t_case {
        const wchar_t* name;
        const wchar_t* why;
    };
    const t_case cases[] = {
        {L"..\\outside", L"含上级目录“..”"},
        {L"sub\\..\\..\\outside", L"含上级目录“..”"},
        {L"../outside", L"含上级目录“..”"},
        {L"C:outside", L"含盘符或冒号"},
        {L"\\outside", L"从根目录或网络共享开始"},
        {L"\\\\server\\share\\outside", L"从根目录或网络共享开始"},
        {L"\\\\.\\C:\\outside", L"指向设备"},
        {L"\\\\?\\C:\\outside", L"指向设备"},
        {L"NUL", L"指向设备"},
        {L"sub\\com1.vsf", L"指向设备"},
        {L"outside:stream", L"含盘符或冒号"},
        {L"a<b", L"含Windows不能建立的文件名"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        t_outcome outcome = Run(c.name);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(2, outcome.code);
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(L"解压缩皮肤失败：皮肤名") + c.why + L"：" + c.name,
                                             L"解压缩皮肤失败:Extract2:查找源文件失败"}),
                  outcome.lines);

        outcome = Run(L"Mine", c.name);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(3, outcome.code);
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(L"解压缩皮肤失败：目标") + c.why + L"：" + c.name,
                                             L"解压缩皮肤失败:Extract2:查找目标文件失败"}),
                  outcome.lines);
        EXPECT_EQ(c_oldTarget, ReadRaw(target));
    }
    EXPECT_FALSE(Exists(userDir + L"\\..\\outside"));

    // A full path stays a path, and a name from the user's environment is held to the
    // same rules.
    EXPECT_TRUE(Run((userDir + L"\\outside.vsf").c_str()).ok);
    Put(userDir + L"\\env.ini", Utf16File(L"[Setting]\r\nActiveSkinName=..\\outside\r\n"));
    const t_outcome fromEnvironment = Run(nullptr);
    EXPECT_FALSE(fromEnvironment.ok);
    EXPECT_EQ(2, fromEnvironment.code);
}

// Without a name the active skin of the user's environment is converted.
TEST_F(ExtractTest, NoNameTakesTheActiveSkin)
{
    Put(userDir + L"\\env.ini", Utf16File(L"[Setting]\r\nActiveSkinName=活动皮肤\r\n"));
    Put(userDir + L"\\AllSkin\\活动皮肤.vsf", StoredZip({{"skin.ini", "A=x.bmp"}, {"x.bmp", "X"}}));
    const t_outcome outcome = Run(nullptr);
    EXPECT_TRUE(outcome.ok) << (outcome.lines.empty() ? L"" : outcome.lines[0]);
    uint32_t format = 0;
    EXPECT_EQ((t_entries{{L"skin.ini", "A=x.bmp"}, {L"x.bmp", "X"}}), ReadContainer(target, format));
}

// A package deeper than MAX_PATH characters is read (or refused) without being touched.
TEST_F(ExtractTest, LongSourcePathLeavesThePackageAlone)
{
    std::wstring folder = packages.Path();
    while (folder.size() < 280) {
        folder += L"\\" + std::wstring(40, L'd');
        CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    }
    const std::wstring source = folder + L"\\long.vsf";
    const std::string package = StoredZip({{"skin.ini", "A=a.png"}, {"a.png", "A"}});
    ASSERT_TRUE(WriteRaw(L"\\\\?\\" + source, package));
    Put(target, c_oldTarget);
    // The zip library may read from a copy in the temporary folder: none may stay there.
    const std::vector<std::wstring> temporary = NamesIn(g_install->Path());
    const t_outcome outcome = Run(source.c_str());
    EXPECT_EQ(temporary, NamesIn(g_install->Path()));
    std::string after;
    ASSERT_TRUE(ReadRaw(L"\\\\?\\" + source, after));
    EXPECT_EQ(package, after);
    if (outcome.ok) {
        uint32_t format = 0;
        EXPECT_EQ((t_entries{{L"skin.ini", "A=a.png"}, {L"a.png", "A"}}), ReadContainer(target, format));
    } else {
        EXPECT_EQ(c_oldTarget, ReadRaw(target));
        ASSERT_FALSE(outcome.lines.empty());
        EXPECT_EQ(FromTo(source, target), outcome.lines.back());
    }
}

// Damaged zip archives and containers: whatever the bytes, the package stays as it was and
// the target is either the old one or a readable container with a "skin.ini" entry.
TEST_F(ExtractTest, DamagedPackagesNeverChangeThePackageOrSpoilTheTarget)
{
    const std::vector<std::string> seeds = {
        StoredZip({{"skin.ini", c_index936}, {"bg.png", "P1"}, {"over.bmp", "B1"}}),
        ContainerBytes({{L"skin.ini", c_index936}, {L"bg.png", "P1"}}, false),
        ContainerBytes({{L"skin.ini", c_index936}, {L"bg.png", "P1"}}, true),
    };
    std::mt19937 rng(2106);
    int converted = 0;
    for (int i = 0; i < 300; ++i) {
        std::string package = seeds[size_t(i) % seeds.size()];
        Mutate(package, rng);
        const std::wstring source = packages / (L"f" + std::to_wstring(i) + L".vsf");
        Put(source, package);
        Put(target, c_oldTarget);
        const t_outcome outcome = Run(source.c_str());
        ASSERT_EQ(package, ReadRaw(source)) << "case " << i;
        if (!outcome.ok) {
            ASSERT_EQ(c_oldTarget, ReadRaw(target)) << "case " << i;
            continue;
        }
        ++converted;
        uint32_t format = 0;
        const t_entries entries = ReadContainer(target, format);
        EXPECT_TRUE(entries.count(L"skin.ini") || format == 3) << "case " << i;
        EXPECT_FALSE(entries.count(L"<unreadable>")) << "case " << i;
    }
    EXPECT_GT(converted, 0);
}

TEST(ExtractVersion, ZipPackagesPassByTheirVersionContainersAlways)
{
    struct t_case {
        const char* index;
        bool zipPasses;
    };
    const t_case cases[] = {
        {"[General]\r\nversion=3\r\n", true},   {"[General]\r\nversion=1\r\n", true},
        {"[General]\r\nversion=0\r\n", true},   {"[General]\r\nversion=-7\r\n", true},
        {"[General]\r\nversion=\r\n", true},    {"[General]\r\nName=x\r\n", true},
        {"[Display]\r\nversion=9\r\n", true},   {"[General]\r\nversion=2\r\n", false},
        {"[General]\r\nVersion=4\r\n", false},  {"[General]\r\nversion=99999999999\r\n", false},
        {"[General]\r\nversion=3.5\r\n", true},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.index);
        t_skinPack pack;
        t_varFile index;
        index.SetName(L"skin.ini", nullptr);
        index.SetData(reinterpret_cast<const unsigned char*>(c.index), uint32_t(strlen(c.index)), nullptr);
        ASSERT_TRUE(pack.AddFile(index));
        EXPECT_EQ(c.zipPasses, t_envSkin::CheckPackageVersion(pack, false));
        EXPECT_TRUE(t_envSkin::CheckPackageVersion(pack, true));
    }
    t_skinPack empty;
    EXPECT_FALSE(t_envSkin::CheckPackageVersion(empty, false));
}

TEST(ExtractNames, ReferencedNamesOfIndexText)
{
    struct t_case {
        const wchar_t* text;
        std::vector<std::wstring> names;
    };
    const t_case cases[] = {
        {L"Back=a.png, b.BMP", {L"a.png", L"b.BMP"}},
        {L"x=pic.jpeg,y=pic.jpg z=anim.swf", {L"pic.jpeg", L"pic.jpg", L"anim.swf"}},
        {L"A=a.pngb.gif", {L"a.png", L"a.pngb.gif"}},
        {L"no pictures here. .txt", {}},
        {L".png", {L".png"}},
        {L".pn", {}},
        {L"a=.png", {L".png"}},
        {L"k=x.pn", {}},
        {L"[S]\r\nk=v\r\nb.png", {L"v\r\nb.png"}},
        {L"=名字.gif", {L"名字.gif"}},
    };
    for (const t_case& c : cases) {
        std::vector<std::wstring> found;
        ForEachReferencedName(c.text, wcslen(c.text),
                              [&](const wchar_t* name, size_t length) { found.emplace_back(name, length); });
        EXPECT_EQ(c.names, found) << c.text;
    }
}

TEST(ExtractTarget, TargetsByNameAndPath)
{
    t_str user;
    ASSERT_TRUE(UserManager::Instance()->GetUserPath(user, 0x777));
    t_str out;
    ASSERT_TRUE(t_envSkin::FindPackageTarget(out, 0x777, nullptr));
    EXPECT_EQ(std::wstring(user.c_str()) + L"\\skin_v3.dat", out.c_str());
    ASSERT_TRUE(t_envSkin::FindPackageTarget(out, 0x777, L"sub.dat"));
    EXPECT_EQ(std::wstring(user.c_str()) + L"\\sub.dat", out.c_str());
    ASSERT_TRUE(t_envSkin::FindPackageTarget(out, 0x777, L"D:\\x\\y.dat"));
    EXPECT_STREQ(L"D:\\x\\y.dat", out.c_str());
}

TEST(ExtractCounter, BumpMovesTheSkinCounter)
{
    const DWORD before = t_versionReg::Read(t_envSkin::c_skinVersionCounter);
    EXPECT_TRUE(t_envSkin::BumpSkinVersionCounter());
    EXPECT_EQ(before + 1, t_versionReg::Read(t_envSkin::c_skinVersionCounter));
}

// Flash content on a machine with the Flash component: loading the component changes the
// process for good, so each case runs in a fresh copy of this program (a
// DISABLED_FlashScenario test) after the parent installed the component's bundle: the
// manager's registry value and configuration, "VexilFlash.exe" and the stand-in library.
class ExtractFlash : public ExtractTest {
protected:
    void TearDown() override
    {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, t_componentClient::c_managerKey, KEY_WOW64_32KEY, 0);
        SetEnvironmentVariableW(L"KAVREL_FLASH_VERSION", nullptr);
        ExtractTest::TearDown();
    }
    void InstallBundle() { ASSERT_TRUE(InstallFlashBundle(packages / L"manager", true, true)); }
    // The scenario's exit code (0 when every check held), -2 when it did not run.
    int RunScenario(const wchar_t* name)
    {
        const std::wstring mark = packages / L"scenario_ran";
        SetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", mark.c_str());
        const int code = RunProgram(
            ExePath(), std::wstring(L"--gtest_also_run_disabled_tests --gtest_filter=DISABLED_FlashScenario.") + name,
            60000);
        SetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", nullptr);
        return Exists(mark) ? code : -2;
    }
};

class DISABLED_FlashScenario : public ExtractTest {
protected:
    void SetUp() override
    {
        ExtractTest::SetUp();
        wchar_t mark[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"KAVREL_SCENARIO_MARK", mark, MAX_PATH))
            WriteRaw(mark, std::string("ran"));
    }
};

TEST_F(ExtractFlash, SswEntriesAreHandedOverAndLeftOutAndSwfEntriesChecked)
{
    InstallBundle();
    EXPECT_EQ(0, RunScenario(L"Installed"));
}

TEST_F(ExtractFlash, FlashThatCannotBeUsedIsCodeEleven)
{
    InstallBundle();
    // An interface version too old to answer whether Flash is usable.
    SetEnvironmentVariableW(L"KAVREL_FLASH_VERSION", L"0");
    EXPECT_EQ(0, RunScenario(L"Unusable"));
}

TEST_F(DISABLED_FlashScenario, Installed)
{
    ASSERT_TRUE(IsFlashComponentInstalled());
    // ".ssw" entries next to each other: none may stay behind.
    const std::wstring source = packages / L"flash.vsf";
    Put(source, StoredZip({{"skin.ini", "A=a.ssw,b.ssw,anim.swf,c.ssw"},
                           {"a.ssw", "S1"},
                           {"b.ssw", "S2"},
                           {"anim.swf", "FWS"},
                           {"c.ssw", "S3"}}));
    t_outcome outcome = Run(source.c_str());
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.lines.empty());
    uint32_t format = 0;
    EXPECT_EQ((t_entries{{L"skin.ini", "A=a.ssw,b.ssw,anim.swf,c.ssw"}, {L"anim.swf", "FWS"}}),
              ReadContainer(target, format));

    // A packed container that loses its ".ssw" entries is packed again.
    const std::wstring packedSsw = packages / L"packed_ssw.vsf";
    Put(packedSsw, ContainerBytes({{L"skin.ini", "A=b.png"}, {L"a.ssw", "S"}, {L"b.png", "B"}}, true));
    outcome = Run(packedSsw.c_str());
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ((t_entries{{L"skin.ini", "A=b.png"}, {L"b.png", "B"}}), ReadContainer(target, format));
    EXPECT_EQ(3u, format);

    // The stand-in refuses an empty movie; unchecked, it is not asked.
    const t_entries withEmptySwf = {{L"skin.ini", "A=x.swf"}, {L"x.swf", ""}};
    const std::wstring container = packages / L"empty_swf.vsf";
    Put(container, ContainerBytes(withEmptySwf, false));
    outcome = Run(container.c_str());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(12, outcome.code);
    EXPECT_EQ((std::vector<std::wstring>{L"flash不支持", FromTo(container, target)}), outcome.lines);
    outcome = Run(container.c_str(), nullptr, false);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(withEmptySwf, ReadContainer(target, format));
    EXPECT_EQ(3u, format);
}

TEST_F(DISABLED_FlashScenario, Unusable)
{
    const std::wstring source = packages / L"flash.vsf";
    const std::string package = StoredZip({{"skin.ini", "A=anim.swf"}, {"anim.swf", "FWS"}});
    Put(source, package);
    Put(target, c_oldTarget);
    const t_outcome outcome = Run(source.c_str(), nullptr, false);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(11, outcome.code);
    EXPECT_EQ((std::vector<std::wstring>{L"flash不支持", FromTo(source, target)}), outcome.lines);
    EXPECT_EQ(c_oldTarget, ReadRaw(target));
    EXPECT_EQ(package, ReadRaw(source));
}

}  // namespace
