// ZipLib.dll through its import library, on real files.
#include "interfaces/ziplib.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "companions/ziplib/archive_index.h"
#include "companions/ziplib/zip_writer.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"

namespace {

using t_tree = t_fileTree;  // relative path -> bytes ("<dir>" for folders)

void WriteTree(const std::wstring& root, const t_tree& tree)
{
    for (const auto& item : tree) {
        const std::wstring path = root + L"\\" + item.first;
        if (item.second == "<dir>") {
            CreateDirectoryW(path.c_str(), nullptr);
        } else {
            ASSERT_TRUE(WriteRaw(path, item.second)) << item.first;
        }
    }
}

std::string Narrow(const std::wstring& text)
{
    char buf[1024];
    const int n = WideCharToMultiByte(936, 0, text.c_str(), -1, buf, sizeof(buf), nullptr, nullptr);
    return n > 0 ? std::string(buf) : std::string();
}

const t_tree& SkinTree()
{
    static const t_tree tree = {
        {L"Skin.ini", "[General]\r\nname=test\r\n"},
        {L"空.txt", ""},
        {L"图片", "<dir>"},
        {L"图片\\候选框.png", Noise(200000, 7)},
        {L"图片\\Bar.bmp", std::string(100000, 'x')},
        {L"empty", "<dir>"},
        {L"a", "<dir>"},
        {L"a\\b", "<dir>"},
        {L"a\\b\\deep.gif", "GIF89a"},
    };
    return tree;
}

// Writes SkinTree() into a new folder and zips it with ZipFolder (root as it takes it).
int ZipSkinTree(const std::wstring& folder, const wchar_t* root, const std::wstring& archive)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteTree(folder, SkinTree());
    return ZipFolder(folder.c_str(), root, archive.c_str());
}

TEST(ZipLibTest, ZipFolderThenUnZipGivesTheSameTree)
{
    t_tempFolder temp(L"ziplib_roundtrip");
    const std::wstring source = temp / L"源";
    const std::wstring archive = temp / L"皮肤.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipSkinTree(source, source.c_str(), archive));

    const std::wstring target = temp / L"out\\nested";
    uint32_t written = 0;
    ASSERT_EQ(ZIPLIB_OK, UnZipEx2(archive.c_str(), target.c_str(), &written));
    EXPECT_EQ(SkinTree(), ReadTree(target));
    EXPECT_EQ(5u, written);

    // The code-page-936 entry points do the same.
    const std::wstring again = temp / L"又";
    ASSERT_EQ(ZIPLIB_OK, UnZipEx(Narrow(archive).c_str(), Narrow(again).c_str()));
    EXPECT_EQ(SkinTree(), ReadTree(again));
    const std::wstring archive2 = temp / L"二.zip";
    ASSERT_EQ(ZIPLIB_OK, ZipFolderEx(Narrow(source).c_str(), nullptr, Narrow(archive2).c_str()));
    EXPECT_EQ(ReadRaw(archive), ReadRaw(archive2));
}

TEST(ZipLibTest, ZipFolderNamesEntriesFromTheRootAndSkipsItsOwnArchive)
{
    t_tempFolder temp(L"ziplib_root");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, {{L"Skin.ini", "x"}});
    // An archive written inside the folder it packs does not pack itself.
    const std::wstring inside = source + L"\\self.zip";
    ASSERT_TRUE(WriteRaw(inside, "old archive"));
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, inside.c_str()));
    const std::wstring out1 = temp / L"out1";
    ASSERT_EQ(ZIPLIB_OK, UnZip(inside.c_str(), out1.c_str()));
    EXPECT_EQ((t_tree{{L"Skin.ini", "x"}}), ReadTree(out1));

    const std::wstring archive = temp / L"rooted.zip";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), temp.Path().c_str(), archive.c_str()));
    const std::wstring out2 = temp / L"out2";
    ASSERT_EQ(ZIPLIB_OK, UnZip(archive.c_str(), out2.c_str()));
    EXPECT_EQ("x", ReadRaw(out2 + L"\\skin\\Skin.ini"));

    // A root that does not contain the folder is refused and writes nothing.
    const std::wstring refused = temp / L"refused.zip";
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, ZipFolder(source.c_str(), (temp / L"out1").c_str(), refused.c_str()));
    EXPECT_FALSE(Exists(refused));
}

TEST(ZipLibTest, FailedZipLeavesNoArchive)
{
    t_tempFolder temp(L"ziplib_fail");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, {{L"a.png", "aaa"}, {L"b.png", "bbb"}});
    const std::wstring archive = temp / L"x.vsf";

    EXPECT_EQ(ZIPLIB_E_ARGUMENT, ZipFolder((temp / L"missing").c_str(), nullptr, archive.c_str()));
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, ZipFolder(nullptr, nullptr, archive.c_str()));
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, ZipFolder(source.c_str(), nullptr, L""));
    EXPECT_FALSE(Exists(archive));

    // A file that cannot be read stops the zip, and the half-written archive goes.
    HANDLE locked = CreateFileW((source + L"\\b.png").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_EQ(ZIPLIB_E_READ, ZipFolder(source.c_str(), nullptr, archive.c_str()));
    CloseHandle(locked);
    EXPECT_FALSE(Exists(archive));

    // A target that cannot be created.
    EXPECT_EQ(ZIPLIB_E_WRITE, ZipFolder(source.c_str(), nullptr, (temp / L"no\\such\\x.vsf").c_str()));
}

TEST(ZipLibTest, ZipLevelChoosesStoredOrDeflated)
{
    t_tempFolder temp(L"ziplib_level");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, {{L"a.bmp", std::string(300000, 'a')}});
    EXPECT_EQ(6, SetZipLevel(0));
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, (temp / L"stored.zip").c_str()));
    EXPECT_EQ(0, SetZipLevel(42));  // out of range: unchanged
    EXPECT_EQ(0, SetZipLevel(9));
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, (temp / L"deflated.zip").c_str()));
    InitDllEnv();
    EXPECT_EQ(6, SetZipLevel(-1));
    EXPECT_GT(ReadRaw(temp / L"stored.zip").size(), 300000u);
    EXPECT_LT(ReadRaw(temp / L"deflated.zip").size(), 5000u);
    for (const wchar_t* name : {L"stored.zip", L"deflated.zip"}) {
        const std::wstring out = temp / (std::wstring(name) + L".out");
        ASSERT_EQ(ZIPLIB_OK, UnZip((temp / name).c_str(), out.c_str()));
        EXPECT_EQ(std::string(300000, 'a'), ReadRaw(out + L"\\a.bmp"));
    }
}

TEST(ZipLibTest, UnZipRefusesWhatIsNotAnIntactArchive)
{
    t_tempFolder temp(L"ziplib_bad");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    const std::string payload = Noise(50000, 3);
    WriteTree(source, {{L"a.png", payload}});
    SetZipLevel(0);
    const std::wstring archive = temp / L"a.zip";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, archive.c_str()));
    SetZipLevel(-1);
    const std::string bytes = ReadRaw(archive);

    const std::wstring notZip = temp / L"text.zip";
    WriteRaw(notZip, "this is not a zip archive");
    EXPECT_EQ(ZIPLIB_E_OPEN, UnZip(notZip.c_str(), (temp / L"o1").c_str()));
    EXPECT_EQ(ZIPLIB_E_OPEN, UnZip((temp / L"missing.zip").c_str(), (temp / L"o1").c_str()));
    EXPECT_EQ(ZIPLIB_E_OPEN, UnZip(source.c_str(), (temp / L"o1").c_str()));
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, UnZip(archive.c_str(), nullptr));

    // Half an archive: its directory is gone.
    const std::wstring cut = temp / L"cut.zip";
    WriteRaw(cut, bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(ZIPLIB_E_OPEN, UnZip(cut.c_str(), (temp / L"o2").c_str()));

    // One flipped byte in the stored data: the CRC catches it and no partial file stays.
    std::string flipped = bytes;
    const size_t at = flipped.find(payload.substr(1000, 16));
    ASSERT_NE(std::string::npos, at);
    flipped[at] ^= 0x55;
    const std::wstring bad = temp / L"flipped.zip";
    WriteRaw(bad, flipped);
    EXPECT_EQ(ZIPLIB_E_CORRUPT, UnZip(bad.c_str(), (temp / L"o3").c_str()));
    EXPECT_FALSE(Exists(temp / L"o3\\a.png"));
    std::string narrow(260, 0);
    uint32_t deleteAfterwards = 0;
    ASSERT_TRUE(PrepareUnzipFile(bad.c_str(), &narrow[0], &deleteAfterwards));
    t_unzipBuf buffer = {};
    EXPECT_FALSE(UnZipFile(narrow.c_str(), "a.png", &buffer));
    EXPECT_EQ(nullptr, buffer.data);
    const DWORD reason = GetLastError();
    EXPECT_EQ(DWORD(ERROR_FILE_CORRUPT), reason);
    // Many entries at once: the same answer for the damaged one, the others still read.
    struct t_seen {
        std::vector<std::string> answers;
        static void ZIPLIB_CALL Found(void* self, uint32_t, uint8_t read, const uint8_t* data, uint32_t size,
                                      uint32_t why)
        {
            static_cast<t_seen*>(self)->answers.push_back(read ? std::string(reinterpret_cast<const char*>(data), size)
                                                               : "failed " + std::to_string(why));
        }
    } seen;
    const char* const names[] = {"a.png", "missing.png"};
    ASSERT_TRUE(UnZipFiles(narrow.c_str(), names, 2, &t_seen::Found, &seen));
    EXPECT_EQ((std::vector<std::string>{"failed " + std::to_string(reason),
                                        "failed " + std::to_string(ERROR_FILE_NOT_FOUND)}),
              seen.answers);
    EXPECT_FALSE(UnZipFiles((std::string(narrow.c_str()) + ".gone").c_str(), names, 2, &t_seen::Found, &seen));
    EXPECT_EQ(2u, seen.answers.size());
}

TEST(ZipLibTest, SingleEntriesIgnoreCaseAndSeparator)
{
    t_tempFolder temp(L"ziplib_entry");
    const std::wstring source = temp / L"skin";
    const std::wstring archive = temp / L"皮肤.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipSkinTree(source, nullptr, archive));

    char path[260];
    memset(path, 'x', sizeof(path));
    uint32_t deleteAfterwards = 7;
    ASSERT_TRUE(PrepareUnzipFile(archive.c_str(), path, &deleteAfterwards));
    EXPECT_EQ(0u, deleteAfterwards);
    EXPECT_EQ(Narrow(archive), path);

    struct {
        const wchar_t* asked;
        const wchar_t* stored;
    } cases[] = {
        {L"skin.ini", L"Skin.ini"},
        {L"SKIN.INI", L"Skin.ini"},
        {L"图片/候选框.png", L"图片\\候选框.png"},
        {L"图片\\bar.BMP", L"图片\\Bar.bmp"},
        {L"A/B\\Deep.gif", L"a\\b\\deep.gif"},
        {L"空.txt", L"空.txt"},
    };
    for (const auto& c : cases) {
        t_unzipBuf buffer = {};
        ASSERT_TRUE(UnZipFile(path, Narrow(c.asked).c_str(), &buffer)) << c.asked;
        EXPECT_EQ(SkinTree().at(c.stored), std::string(reinterpret_cast<char*>(buffer.data), buffer.size));
        EXPECT_NE(nullptr, buffer.data);
        FreeUnzipBuf(&buffer);
        EXPECT_EQ(nullptr, buffer.data);
    }
    t_unzipBuf buffer = {};
    for (const char* missing : {"nothing.png", "图片", "a/b/", "", "../Skin.ini"})
        EXPECT_FALSE(UnZipFile(path, missing, &buffer)) << missing;
    EXPECT_FALSE(UnZipFile("C:\\no\\such.zip", "Skin.ini", &buffer));
    EXPECT_FALSE(UnZipFile(nullptr, "Skin.ini", &buffer));
    EXPECT_FALSE(UnZipFile(path, "Skin.ini", nullptr));
    FreeUnzipBuf(nullptr);

    // A changed archive is read afresh, not answered from the old directory.
    WriteTree(source, {{L"Skin.ini", "changed"}});
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, archive.c_str()));
    ASSERT_TRUE(UnZipFile(path, "Skin.ini", &buffer));
    EXPECT_EQ("changed", std::string(reinterpret_cast<char*>(buffer.data), buffer.size));
    FreeUnzipBuf(&buffer);

    EXPECT_FALSE(PrepareUnzipFile((temp / L"none.zip").c_str(), path, &deleteAfterwards));
    EXPECT_FALSE(PrepareUnzipFile(source.c_str(), path, &deleteAfterwards));
    WriteRaw(temp / L"text.zip", "not a zip");
    EXPECT_FALSE(PrepareUnzipFile((temp / L"text.zip").c_str(), path, &deleteAfterwards));
}

TEST(ZipLibTest, PrepareGivesAReadablePathForNamesOutsideCodePage936)
{
    t_tempFolder temp(L"ziplib_prepare");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, {{L"Skin.ini", "ini"}});
    const std::wstring archive = temp / L"\U0001F600 skin.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, archive.c_str()));

    char path[260] = {};
    uint32_t deleteAfterwards = 0;
    ASSERT_TRUE(PrepareUnzipFile(archive.c_str(), path, &deleteAfterwards));
    wchar_t widePath[260];
    ASSERT_GT(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, path, -1, widePath, 260), 0);
    EXPECT_TRUE(Exists(widePath)) << path;
    t_unzipBuf buffer = {};
    ASSERT_TRUE(UnZipFile(path, "skin.ini", &buffer));
    EXPECT_EQ("ini", std::string(reinterpret_cast<char*>(buffer.data), buffer.size));
    FreeUnzipBuf(&buffer);
    if (deleteAfterwards) {
        // A copy: the archive itself stays.
        EXPECT_TRUE(DeleteFileW(widePath));
        EXPECT_TRUE(Exists(archive));
    }
}

TEST(ZipLibTest, LookUpsReadTheDirectoryOnce)
{
    t_tempFolder temp(L"ziplib_once");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    t_tree tree;
    for (int i = 0; i < 300; ++i)
        tree[L"p" + std::to_wstring(i) + L".png"] = std::to_string(i);
    WriteTree(source, tree);
    const std::wstring archive = temp / L"many.zip";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, archive.c_str()));

    t_archiveIndexCache cache;
    ASSERT_EQ(ZIPLIB_OK, cache.Prepare(archive));
    for (int i = 0; i < 300; ++i) {
        t_zipEntry entry;
        ASSERT_EQ(ZIPLIB_OK, cache.Find(archive, L"P" + std::to_wstring(i) + L".PNG", entry));
        EXPECT_EQ(std::to_string(i).size(), entry.uncompressedSize);
    }
    t_zipEntry entry;
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, cache.Find(archive, L"p300.png", entry));
    EXPECT_EQ(1u, cache.DirectoryReads());

    // More archives than the cache holds: the oldest is read again when asked for.
    for (size_t i = 0; i < t_archiveIndexCache::c_capacity; ++i) {
        const std::wstring copy = temp / (L"copy" + std::to_wstring(i) + L".zip");
        ASSERT_TRUE(CopyFileW(archive.c_str(), copy.c_str(), FALSE));
        ASSERT_EQ(ZIPLIB_OK, cache.Find(copy, L"p1.png", entry));
    }
    const unsigned before = cache.DirectoryReads();
    ASSERT_EQ(ZIPLIB_OK, cache.Find(archive, L"p1.png", entry));
    EXPECT_EQ(before + 1, cache.DirectoryReads());
}

}  // namespace

// Written by Python's zipfile on Linux, where the names below are different files:
// "Skin.ini", "pics/a.png", then "SKIN.INI", "PICS/A.PNG" and "Pics\a.png" (each a later
// case or separator duplicate), then "other.bmp".
const std::wstring c_caseDuplicates =
    std::wstring(KAVREL_SOURCE_DIR) + L"\\companions\\ziplib\\testdata\\case_duplicates.zip";

void ZIPLIB_CALL CollectSkipped(void* context, const wchar_t* name)
{
    static_cast<std::vector<std::wstring>*>(context)->push_back(name);
}

TEST(ZipLibTest, CaseDuplicatesGiveTheFirstEntryOnBothRoads)
{
    t_tempFolder temp(L"ziplib_case");
    const std::wstring target = temp / L"out";
    uint32_t written = 0;
    std::vector<std::wstring> skipped;
    ASSERT_EQ(ZIPLIB_OK, UnZipEx3(c_caseDuplicates.c_str(), target.c_str(), &written, CollectSkipped, &skipped));
    const t_tree expected = {
        {L"Skin.ini", "[General]\r\nname=first\r\n"},
        {L"pics", "<dir>"},
        {L"pics\\a.png", "first picture"},
        {L"other.bmp", "other"},
    };
    EXPECT_EQ(expected, ReadTree(target));
    EXPECT_EQ(3u, written);
    EXPECT_EQ((std::vector<std::wstring>{L"SKIN.INI", L"PICS/A.PNG", L"Pics\\a.png"}), skipped);

    // UnZip without a report writes the same files.
    const std::wstring plain = temp / L"plain";
    ASSERT_EQ(ZIPLIB_OK, UnZip(c_caseDuplicates.c_str(), plain.c_str()));
    EXPECT_EQ(expected, ReadTree(plain));

    // The single-entry road answers every spelling with the bytes UnZip wrote.
    char path[260];
    uint32_t deleteAfterwards = 0;
    ASSERT_TRUE(PrepareUnzipFile(c_caseDuplicates.c_str(), path, &deleteAfterwards));
    for (const char* asked : {"Skin.ini", "SKIN.INI", "skin.ini", "pics/a.png", "PICS\\A.PNG"}) {
        t_unzipBuf buffer = {};
        ASSERT_TRUE(UnZipFile(path, asked, &buffer)) << asked;
        const std::string got(reinterpret_cast<char*>(buffer.data), buffer.size);
        FreeUnzipBuf(&buffer);
        const bool ini = asked[0] == 'S' || asked[0] == 's';
        EXPECT_EQ(expected.at(ini ? L"Skin.ini" : L"pics\\a.png"), got) << asked;
    }
    if (deleteAfterwards)
        DeleteFileA(path);
}

TEST(ZipLibTest, FailedZipFolderLeavesTheSystemReason)
{
    t_tempFolder temp(L"ziplib_reason");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, {{L"Skin.ini", Noise(300000, 3)}, {L"a.png", Noise(200000, 5)}});

    SetLastError(0);
    EXPECT_EQ(ZIPLIB_E_WRITE, ZipFolder(source.c_str(), nullptr, (temp / L"no\\such\\x.vsf").c_str()));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());

    // A file another program holds without sharing.
    const std::wstring held = temp / L"held.vsf";
    ASSERT_TRUE(WriteRaw(held, "old"));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    SetLastError(0);
    EXPECT_EQ(ZIPLIB_E_WRITE, ZipFolder(source.c_str(), nullptr, held.c_str()));
    EXPECT_EQ(DWORD(ERROR_SHARING_VIOLATION), GetLastError());
    CloseHandle(holder);

    // A drive that fills part way through: the reason is the full disk, and the cut
    // archive goes.
    const std::wstring full = temp / L"full.vsf";
    SetArchiveWriteLimitForTests(4096);
    SetLastError(0);
    const int code = ZipFolderInto(source.c_str(), nullptr, full.c_str());
    const DWORD reason = GetLastError();
    SetArchiveWriteLimitForTests(-1);
    EXPECT_EQ(ZIPLIB_E_WRITE, code);
    EXPECT_EQ(DWORD(ERROR_DISK_FULL), reason);
    EXPECT_FALSE(Exists(full));

    // Success leaves no stale reason behind.
    SetLastError(ERROR_DISK_FULL);
    EXPECT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), nullptr, full.c_str()));
    EXPECT_EQ(0u, GetLastError());
}

namespace {

struct t_received {
    std::vector<std::wstring> names;
    t_tree files;
};

void ZIPLIB_CALL CollectEntry(void* context, const wchar_t* name, const uint8_t* data, uint32_t size)
{
    t_received& received = *static_cast<t_received*>(context);
    received.names.push_back(name);
    received.files[name] = std::string(reinterpret_cast<const char*>(data), size);
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts);
    return facts.ftLastWriteTime;
}

uint64_t Ticks(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

}  // namespace

TEST(ZipLibTest, EntryListPacksFilesAndBytesInListOrder)
{
    t_tempFolder temp(L"ziplib_list");
    const std::wstring source = temp / L"skin";
    CreateDirectoryW(source.c_str(), nullptr);
    WriteTree(source, SkinTree());
    const std::string ini = "[General]\r\nname=rewritten\r\n";
    // 2020-02-02 02:02:02 UTC; the archive keeps local DOS times to two seconds.
    const uint64_t iniTime = 132251257220000000ull;
    const std::wstring png = source + L"\\图片\\候选框.png";
    const std::wstring deep = source + L"\\a\\b\\deep.gif";
    const t_zipListEntry list[] = {
        {L"图片\\候选框.png", png.c_str(), nullptr, 0, 0},
        {L"Skin.ini", nullptr, reinterpret_cast<const uint8_t*>(ini.data()), uint32_t(ini.size()), iniTime},
        {L"a/b/", nullptr, nullptr, 0, 0},
        {L"a/b/deep.gif", deep.c_str(), nullptr, 0, 0},
        {L"空.txt", nullptr, nullptr, 0, 0},
    };
    const std::wstring archive = temp / L"list.vsf";
    SetLastError(ERROR_DISK_FULL);
    ASSERT_EQ(ZIPLIB_OK, ZipEntryList(list, 5, archive.c_str()));
    EXPECT_EQ(0u, GetLastError());

    const std::wstring target = temp / L"out";
    t_received received;
    uint32_t written = 0;
    ASSERT_EQ(ZIPLIB_OK, UnZipEx4(archive.c_str(), target.c_str(), &written, nullptr, CollectEntry, &received));
    const t_tree expected = {
        {L"图片", "<dir>"}, {L"图片\\候选框.png", SkinTree().at(L"图片\\候选框.png")},
        {L"Skin.ini", ini}, {L"a", "<dir>"},
        {L"a\\b", "<dir>"}, {L"a\\b\\deep.gif", "GIF89a"},
        {L"空.txt", ""},
    };
    EXPECT_EQ(expected, ReadTree(target));
    EXPECT_EQ(4u, written);
    // Each file written reaches the caller, named as in the folder, in archive order.
    EXPECT_EQ((std::vector<std::wstring>{L"图片\\候选框.png", L"Skin.ini", L"a\\b\\deep.gif", L"空.txt"}),
              received.names);
    for (const auto& file : received.files)
        EXPECT_EQ(expected.at(file.first), file.second);
    // Times: a file's own, to the DOS two seconds, and the listed one for bytes.
    EXPECT_LE(Ticks(WriteTime(png)) - Ticks(WriteTime(target + L"\\图片\\候选框.png")) + 20000000ull, 40000000ull);
    EXPECT_EQ(iniTime, Ticks(WriteTime(target + L"\\Skin.ini")));

    // The list gives the same archive as the folder walk for the same entries.
    const std::wstring sub = temp / L"sub";
    CreateDirectoryW(sub.c_str(), nullptr);
    WriteTree(sub, {{L"x.png", Noise(70000, 9)}, {L"y.bmp", std::string(90000, 'y')}});
    const std::wstring x = sub + L"\\x.png";
    const std::wstring y = sub + L"\\y.bmp";
    const t_zipListEntry same[] = {{L"x.png", x.c_str(), nullptr, 0, 0}, {L"y.bmp", y.c_str(), nullptr, 0, 0}};
    ASSERT_EQ(ZIPLIB_OK, ZipEntryList(same, 2, (temp / L"same1.zip").c_str()));
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(sub.c_str(), nullptr, (temp / L"same2.zip").c_str()));
    EXPECT_EQ(ReadRaw(temp / L"same1.zip"), ReadRaw(temp / L"same2.zip"));
}

TEST(ZipLibTest, EntryListFailuresLeaveNoArchive)
{
    t_tempFolder temp(L"ziplib_list_fail");
    const std::wstring archive = temp / L"x.vsf";
    const std::wstring missing = temp / L"missing.png";
    const uint8_t byte = 'b';
    const struct {
        t_zipListEntry entry;
        int code;
        DWORD reason;
    } cases[] = {
        {{L"..\\escape.png", nullptr, &byte, 1, 0}, ZIPLIB_E_ARGUMENT, 0},
        {{L"c:\\abs.png", nullptr, &byte, 1, 0}, ZIPLIB_E_ARGUMENT, 0},
        {{L"", nullptr, &byte, 1, 0}, ZIPLIB_E_ARGUMENT, 0},
        {{nullptr, nullptr, &byte, 1, 0}, ZIPLIB_E_ARGUMENT, 0},
        {{L"a.png", nullptr, nullptr, 5, 0}, ZIPLIB_E_ARGUMENT, 0},
        {{L"a.png", missing.c_str(), nullptr, 0, 0}, ZIPLIB_E_READ, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        const t_zipListEntry list[] = {{L"ok.txt", nullptr, &byte, 1, 0}, c.entry};
        SetLastError(12345);
        EXPECT_EQ(c.code, ZipEntryList(list, 2, archive.c_str()));
        EXPECT_EQ(c.reason, GetLastError());
        EXPECT_FALSE(Exists(archive));
    }
    // An empty list is an empty archive.
    ASSERT_EQ(ZIPLIB_OK, ZipEntryList(nullptr, 0, archive.c_str()));
    EXPECT_TRUE(Exists(archive));
    EXPECT_EQ(ZIPLIB_E_ARGUMENT, ZipEntryList(nullptr, 1, archive.c_str()));
}
