#include "skin_model/zip_handler.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "interfaces/ziplib.h"
#include "foundation/config/runtime.h"
#include "tests/support/runtime_init.h"
#include "tests/support/stored_zip.h"
#include "tests/support/temp_folder.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/shared_versions.h"

namespace {

// Every test program gets a temporary folder of its own, so that the work folder
// ("SkinTmp" in it) is never shared with a test program running beside it.
t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"ziphandler", true));

std::wstring WorkFolder() { return g_temp->Path() + L"\\SkinTmp"; }

void PutFile(const std::wstring& path, const std::string& bytes) { ASSERT_TRUE(WriteRaw(path, bytes)) << path.size(); }

class ZipHandlerTest : public ::testing::Test {
protected:
    void TearDown() override { t_tempFolder::RemoveTree(WorkFolder()); }
};

TEST_F(ZipHandlerTest, WorkFolderIsTheLongTempFolderPlusSkinTmp)
{
    wchar_t buffer[MAX_PATH];
    EXPECT_EQ(int(WorkFolder().size()), GetSkinTempFolder(buffer, MAX_PATH));
    EXPECT_EQ(WorkFolder(), buffer);
    // Too small a buffer gives nothing rather than a cut path.
    wchar_t small[8];
    EXPECT_EQ(0, GetSkinTempFolder(small, 8));
    EXPECT_EQ(L'\0', small[0]);
    ZipHandler zip;
    EXPECT_EQ(WorkFolder(), zip.GetWorkFolder());
}

TEST_F(ZipHandlerTest, PrepareLeavesOnlyAnEmptySkinIni)
{
    CreateDirectoryW(WorkFolder().c_str(), nullptr);
    CreateDirectoryW((WorkFolder() + L"\\old").c_str(), nullptr);
    PutFile(WorkFolder() + L"\\old\\a.png", "a");
    PutFile(WorkFolder() + L"\\Skin.ini", "[General]");
    ZipHandler zip;
    wchar_t ini[MAX_PATH];
    ASSERT_TRUE(zip.PrepareWorkFolder());
    EXPECT_FALSE(Exists(WorkFolder() + L"\\old"));
    EXPECT_EQ("", ReadRaw(WorkFolder() + L"\\Skin.ini"));
    ASSERT_TRUE(zip.GetIniPath(ini));
    EXPECT_EQ(WorkFolder() + L"\\Skin.ini", ini);

    // Without the file the path is still written, but the answer is false.
    DeleteFileW(ini);
    ini[0] = 0;
    EXPECT_FALSE(zip.GetIniPath(ini));
    EXPECT_EQ(WorkFolder() + L"\\Skin.ini", ini);
}

TEST_F(ZipHandlerTest, PrepareRefusesAFolderItCannotEmpty)
{
    ASSERT_TRUE(CreateDirectoryW(WorkFolder().c_str(), nullptr));
    PutFile(WorkFolder() + L"\\stale.png", "stale");
    HANDLE held =
        CreateFileW((WorkFolder() + L"\\stale.png").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    {
        ZipHandler zip;
        EXPECT_FALSE(zip.PrepareWorkFolder());
    }
    CloseHandle(held);
    // The handler did not take the folder over, so it did not remove it either.
    EXPECT_EQ("stale", ReadRaw(WorkFolder() + L"\\stale.png"));
}

TEST_F(ZipHandlerTest, DestructorRemovesOnlyAFolderItTouched)
{
    ASSERT_TRUE(CreateDirectoryW(WorkFolder().c_str(), nullptr));
    {
        ZipHandler untouched;
    }
    EXPECT_TRUE(Exists(WorkFolder()));
    {
        ZipHandler zip;
        ASSERT_TRUE(zip.PrepareWorkFolder());
    }
    EXPECT_FALSE(Exists(WorkFolder()));
}

TEST_F(ZipHandlerTest, ZipWritesAPackageThatUnzipsToTheSameFilesWithoutBak)
{
    t_tempFolder out(L"ziphandler_out");
    const std::wstring cases[] = {out / L"new.vsf", out / L"existing.vsf", out / L"named.bak"};
    PutFile(cases[1], "old package");
    PutFile(cases[2], "old package");
    for (const std::wstring& archive : cases) {
        SCOPED_TRACE(std::string(archive.begin(), archive.end()));
        ZipHandler zip;
        ASSERT_TRUE(zip.PrepareWorkFolder());
        PutFile(WorkFolder() + L"\\status.png", "png bytes");
        ASSERT_TRUE(zip.SetArchivePath(archive.c_str(), true));
        ASSERT_TRUE(zip.Zip());
        EXPECT_FALSE(Exists(archive + L".bak"));
        ASSERT_EQ("PK", ReadRaw(archive).substr(0, 2));

        // Back through a fresh work folder.
        ZipHandler again;
        ASSERT_TRUE(again.PrepareWorkFolder());
        ASSERT_TRUE(again.SetArchivePath(archive.c_str(), true));
        ASSERT_TRUE(again.UnZip());
        EXPECT_EQ("png bytes", ReadRaw(WorkFolder() + L"\\status.png"));
        EXPECT_EQ("", ReadRaw(WorkFolder() + L"\\Skin.ini"));
    }
}

TEST_F(ZipHandlerTest, FailedZipLeavesTheOldPackageByteForByte)
{
    t_tempFolder out(L"ziphandler_fail");
    const std::wstring archive = out / L"skin.vsf";
    const std::string old = "old package bytes";
    ZipHandler zip;
    ASSERT_TRUE(zip.PrepareWorkFolder());
    PutFile(WorkFolder() + L"\\a.png", "a");
    ASSERT_TRUE(zip.SetArchivePath(archive.c_str(), true));

    // A work file the zip library cannot read: packing fails after the old package was
    // moved aside, and it comes back.
    PutFile(archive, old);
    HANDLE locked =
        CreateFileW((WorkFolder() + L"\\a.png").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_FALSE(zip.Zip());
    CloseHandle(locked);
    EXPECT_EQ(old, ReadRaw(archive));
    EXPECT_FALSE(Exists(archive + L".bak"));

    // An old package that cannot be moved aside is never overwritten.
    HANDLE held = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(zip.Zip());
    CloseHandle(held);
    EXPECT_EQ(old, ReadRaw(archive));
    EXPECT_FALSE(Exists(archive + L".bak"));

    // No archive path, or a folder for one.
    ZipHandler empty;
    EXPECT_FALSE(empty.Zip());
    ASSERT_TRUE(zip.SetArchivePath(out.Path().c_str(), true));
    EXPECT_FALSE(zip.Zip());
    EXPECT_TRUE(Exists(out.Path()));
}

TEST_F(ZipHandlerTest, UnZipReportsTheLibraryResult)
{
    t_tempFolder out(L"ziphandler_unzip");
    struct t_case {
        const char* what;
        std::string bytes;
        bool ok;
    } cases[] = {
        {"plain", StoredZip({{"Skin.ini", "[General]"}, {"a.png", "a"}}), true},
        {"not a zip", "Skin not a zip at all", false},
        {"traversal /", StoredZip({{"a.png", "a"}, {"../escaped.png", "x"}}), false},
        {"traversal \\", StoredZip({{"a.png", "a"}, {"..\\escaped.png", "x"}}), false},
        {"drive", StoredZip({{"C:/escaped.png", "x"}}), false},
        {"absolute", StoredZip({{"/escaped.png", "x"}}), false},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring archive = out / L"in.zip";
        PutFile(archive, c.bytes);
        ZipHandler zip;
        ASSERT_TRUE(zip.PrepareWorkFolder());
        ASSERT_TRUE(zip.SetArchivePath(archive.c_str(), true));
        EXPECT_EQ(c.ok, zip.UnZip());
        EXPECT_EQ(c.ok, Exists(WorkFolder() + L"\\a.png"));
        EXPECT_FALSE(Exists(g_temp->Path() + L"\\escaped.png"));
        EXPECT_FALSE(Exists(L"C:\\escaped.png"));
    }
    ZipHandler missing;
    ASSERT_TRUE(missing.PrepareWorkFolder());
    EXPECT_FALSE(missing.UnZip());
}

TEST_F(ZipHandlerTest, ArchivePathFromANameGoesIntoAllSkin)
{
    // The user folders come from the user manager of a runtime over a folder of our own.
    t_tempFolder install(L"ziphandler_install");
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors)) << Lines(errors);
    ASSERT_TRUE(InitRuntimeAt(errors, install.Path())) << Lines(errors);
    ASSERT_TRUE(UserManager::Instance()->Init(errors, true, int(GetCurrentProcessId()))) << Lines(errors);

    UserManager::Instance()->SetCurrentUserIndex(-1);
    {
        ZipHandler noUser;
        EXPECT_STREQ(L"", noUser.GetUserFolder());
        EXPECT_FALSE(noUser.SetArchivePath(L"abc", false));
    }
    UserManager::Instance()->SetCurrentUserIndex(0);
    EXPECT_EQ(0, UserManager::Instance()->GetCurrentUserIndex());
    wchar_t root[MAX_PATH];
    ASSERT_TRUE(UserManager::Instance()->GetUserDir(root, MAX_PATH, 0));
    const std::wstring allSkin = std::wstring(root) + L"\\AllSkin";
    t_tempFolder::RemoveTree(allSkin);

    ZipHandler zip;
    EXPECT_STREQ(root, zip.GetUserFolder());
    const std::wstring name = L"abc" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(zip.SetArchivePath(name.c_str(), false));
    EXPECT_EQ(allSkin + L"\\" + name + L".vsf", zip.GetArchivePath());
    EXPECT_TRUE(Exists(allSkin));

    // A full path that does not fit is refused, not cut into another name.
    const std::wstring tooLong(MAX_PATH, L'x');
    EXPECT_FALSE(zip.SetArchivePath(tooLong.c_str(), true));
    EXPECT_STREQ(L"", zip.GetArchivePath());
    UserManager::Instance()->SetCurrentUserIndex(-1);
    t_str acc;
    UserManager::Instance()->GetAccFilePath(acc);
    const std::wstring accounts = acc.c_str();
    t_tempFolder::RemoveTree(accounts.substr(0, accounts.rfind(L'\\')));
}

}  // namespace
