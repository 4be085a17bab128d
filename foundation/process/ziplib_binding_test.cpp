#include "foundation/process/ziplib_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

// A package made by the library's own ZipFolder, found by name like every other export.
std::wstring MakePackage(const t_zipLib& zip, const t_tempFolder& temp)
{
    const std::wstring folder = temp / L"皮肤";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\图片").c_str(), nullptr);
    WriteRaw(folder + L"\\Skin.ini", "[General]\r\nversion=3\r\n");
    WriteRaw(folder + L"\\图片\\背景.png", std::string(5000, 'p'));
    auto zipFolder =
        reinterpret_cast<t_fnZipFolder>(reinterpret_cast<void*>(GetProcAddress(zip.Module(), "ZipFolder")));
    const std::wstring package = temp / L"我的皮肤.vsf";
    return zipFolder && zipFolder(folder.c_str(), nullptr, package.c_str()) == ZIPLIB_OK ? package : L"";
}

TEST(ZipLibBindingTest, BindsEveryExportAndReadsSingleEntries)
{
    t_zipLib zip(ExeFolder().c_str());
    ASSERT_TRUE(zip.Errors().IsEmpty()) << Lines(zip.Errors());
    t_tempFolder temp(L"zip_lib_entries");
    const std::wstring package = MakePackage(zip, temp);
    ASSERT_FALSE(package.empty());

    t_errorChain errors;
    wchar_t path[MAX_PATH];
    uint32_t deleteAfterwards = 9;
    ASSERT_TRUE(zip.PrepareUnzipFile(errors, path, deleteAfterwards, package.c_str()));
    EXPECT_EQ(package, path);
    EXPECT_EQ(0u, deleteAfterwards);

    const struct {
        const wchar_t* entry;
        std::string bytes;
    } cases[] = {
        {L"skin.ini", "[General]\r\nversion=3\r\n"},
        {L"图片/背景.PNG", std::string(5000, 'p')},
        {L"图片\\背景.png", std::string(5000, 'p')},
    };
    for (const auto& c : cases) {
        uint32_t size = 0;
        uint8_t* bytes = nullptr;
        ASSERT_TRUE(zip.UnZipFile(errors, size, bytes, path, c.entry)) << c.entry;
        EXPECT_EQ(c.bytes, std::string(reinterpret_cast<char*>(bytes), size));
        EXPECT_TRUE(zip.FreeUnzipBuf(errors, size, bytes));
    }
    EXPECT_TRUE(errors.IsEmpty()) << Lines(errors);

    uint32_t size = 7;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&size);
    EXPECT_FALSE(zip.UnZipFile(errors, size, bytes, path, L"missing.png"));
    EXPECT_EQ(0u, size);
    EXPECT_EQ(nullptr, bytes);
    EXPECT_EQ(L"压缩失败", Lines(errors));
}

// What UnZipFiles handed over for one name: the bytes, or the reason it was not read.
struct t_answer {
    bool read;
    std::string bytes;
    uint32_t reason;
    bool operator==(const t_answer& o) const { return read == o.read && bytes == o.bytes && reason == o.reason; }
};

std::vector<t_answer> UnZipEach(t_zipLib& zip, const wchar_t* archive, const std::vector<t_str>& names)
{
    std::vector<t_answer> answers;
    zip.UnZipFiles(archive, names, [&](size_t index, bool read, const uint8_t* bytes, uint32_t size, uint32_t reason) {
        EXPECT_EQ(answers.size(), index);
        answers.push_back({read, std::string(reinterpret_cast<const char*>(bytes), read ? size : 0), reason});
    });
    return answers;
}

// Our library reads the archive once for all the names; the maker's, which lacks that
// export, is asked name by name. Both give UnZipFile's answers, in list order.
TEST(ZipLibBindingTest, ManyEntriesGiveUnZipFilesAnswersOnEitherLibrary)
{
    t_zipLib ours(ExeFolder().c_str());
    t_zipLib maker((ExeFolder() + L"\\ziplib_maker").c_str());
    ASSERT_TRUE(ours.Errors().IsEmpty()) << Lines(ours.Errors());
    ASSERT_TRUE(maker.Errors().IsEmpty()) << Lines(maker.Errors());
    EXPECT_TRUE(ours.HasUnZipFiles());
    EXPECT_FALSE(maker.HasUnZipFiles());
    t_tempFolder temp(L"zip_lib_many");
    const std::wstring package = MakePackage(ours, temp);
    ASSERT_FALSE(package.empty());
    t_errorChain errors;
    wchar_t path[MAX_PATH];
    uint32_t deleteAfterwards = 0;
    ASSERT_TRUE(ours.PrepareUnzipFile(errors, path, deleteAfterwards, package.c_str()));

    const std::string picture(5000, 'p');
    const std::vector<t_str> names = {L"图片/背景.PNG",
                                      L"missing.png",
                                      L"SKIN.INI",
                                      L"图片",
                                      L"",
                                      L"图片\\背景.png",
                                      std::wstring(300, L'a').c_str()};
    const std::vector<t_answer> expected = {
        {true, picture, 0},
        {false, "", ERROR_FILE_NOT_FOUND},
        {true, "[General]\r\nversion=3\r\n", 0},
        {false, "", ERROR_FILE_NOT_FOUND},
        {false, "", ERROR_FILE_NOT_FOUND},
        {true, picture, 0},
        {false, "", ERROR_FILE_NOT_FOUND},
    };
    EXPECT_EQ(expected, UnZipEach(ours, path, names));
    EXPECT_EQ(expected, UnZipEach(maker, path, names));
    EXPECT_TRUE(UnZipEach(ours, path, {}).empty());

    // An archive that cannot be read fails every name with the same reason on both.
    const std::wstring gone = temp / L"gone.vsf";
    const std::vector<t_answer> unread = UnZipEach(ours, gone.c_str(), names);
    ASSERT_EQ(names.size(), unread.size());
    for (const t_answer& answer : unread)
        EXPECT_FALSE(answer.read);
    EXPECT_EQ(unread, UnZipEach(maker, gone.c_str(), names));
}

TEST(ZipLibBindingTest, PathsThatDoNotFitReachTheLibraryEmpty)
{
    t_zipLib zip(ExeFolder().c_str());
    t_tempFolder temp(L"zip_lib_long");
    const std::wstring package = MakePackage(zip, temp);
    ASSERT_FALSE(package.empty());
    // 130 Chinese characters are 260 bytes in code page 936: one more than fits.
    std::wstring longPath = L"C:\\";
    while (longPath.size() < 130)
        longPath += L"长";
    t_errorChain errors;
    uint32_t size = 0;
    uint8_t* bytes = nullptr;
    EXPECT_FALSE(zip.UnZipFile(errors, size, bytes, longPath.c_str(), L"skin.ini"));
    EXPECT_EQ(L"压缩失败", Lines(errors));
    errors.Reset();
    EXPECT_FALSE(zip.UnZipFile(errors, size, bytes, package.c_str(), (std::wstring(300, L'a') + L".png").c_str()));
    EXPECT_EQ(L"压缩失败", Lines(errors));
}

TEST(ZipLibBindingTest, PrepareFailsForWhatIsNotAnArchive)
{
    t_zipLib zip(ExeFolder().c_str());
    t_tempFolder temp(L"zip_lib_prepare");
    WriteRaw(temp / L"text.vsf", "Skin but not a zip");
    for (const std::wstring& archive : {temp / L"text.vsf", temp / L"missing.vsf", temp.Path()}) {
        t_errorChain errors;
        wchar_t path[MAX_PATH] = L"x";
        uint32_t deleteAfterwards = 5;
        EXPECT_FALSE(zip.PrepareUnzipFile(errors, path, deleteAfterwards, archive.c_str()));
        EXPECT_EQ(L"准备解压目录失败", Lines(errors));
        EXPECT_EQ(L'\0', path[0]);
        EXPECT_EQ(0u, deleteAfterwards);
    }
}

TEST(ZipLibBindingTest, ALibraryMissingOneExportCountsAsNotLoaded)
{
    t_zipLib zip((ExeFolder() + L"\\ziplib_without_level").c_str());
    EXPECT_NE(nullptr, zip.Module());
    EXPECT_EQ(L"解析ziplib接口SetZipLevel失败", Lines(zip.Errors()));

    t_errorChain errors;
    FARPROC proc = nullptr;
    EXPECT_TRUE(zip.Resolve(errors, proc, "UnZipFile"));
    EXPECT_FALSE(zip.Resolve(errors, proc, "SetZipLevel"));
    EXPECT_EQ(L"解析ziplib接口SetZipLevel失败", Lines(errors));
}

TEST(ZipLibBindingTest, WithoutTheLibraryEveryCallSaysWhatIsMissing)
{
    t_tempFolder temp(L"zip_lib_none");
    std::unique_ptr<t_zipLib> zip(t_zipLib::Load(temp.Path().c_str()));
    ASSERT_NE(nullptr, zip);
    EXPECT_EQ(nullptr, zip->Module());
    EXPECT_EQ(L"动态链接库(" + (temp / L"ziplib.dll") + L")不存在。", Lines(zip->Errors()));

    t_errorChain errors;
    FARPROC proc = nullptr;
    uint32_t size = 0;
    uint8_t* bytes = nullptr;
    wchar_t path[MAX_PATH];
    uint32_t deleteAfterwards = 0;
    EXPECT_FALSE(zip->Resolve(errors, proc, "UnZipFile"));
    EXPECT_FALSE(zip->UnZipFileNarrow(errors, "a.zip", "skin.ini", size, bytes));
    EXPECT_FALSE(zip->UnZipFile(errors, size, bytes, L"a.zip", L"skin.ini"));
    EXPECT_FALSE(zip->FreeUnzipBuf(errors, 0, nullptr));
    EXPECT_FALSE(zip->PrepareUnzipFile(errors, path, deleteAfterwards, L"a.zip"));
    EXPECT_EQ(L"压缩失败：加载ziplib失败|解析ziplib接口UnZipFile失败|解析ziplib接口UnZipFile失败|"
              L"解析ziplib接口FreeBuf失败|解析ziplib接口PrepareUnzipFile失败",
              Lines(errors));
}

}  // namespace
