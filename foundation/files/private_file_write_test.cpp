// Writes of private files: the whole new content or the old one, never a half; a failing
// drive or a held target leaves the old bytes.
#include "foundation/files/private_file_write.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/files/bulk_read.h"
#include "tests/support/temp_folder.h"

TEST(PrivateFileWrite, ReplacesWholeOrNotAtAll)
{
    t_tempFolder folder(L"private_write");
    const std::wstring target = folder / L"Skin.ini";
    const std::wstring beside = folder.Path() + L".Skin.ini.wtm";
    ASSERT_TRUE(WriteRaw(target, "old bytes"));

    // Through the default temporary and through one outside the folder: no temporary stays.
    for (const wchar_t* temporary : {static_cast<const wchar_t*>(nullptr), beside.c_str()}) {
        t_errorChain errors;
        const std::string text = temporary ? "new bytes beside" : "new bytes";
        ASSERT_TRUE(ReplacePrivateFile(errors, target.c_str(), text.data(), uint32_t(text.size()), temporary))
            << Lines(errors);
        EXPECT_EQ(text, ReadRaw(target));
        EXPECT_EQ(std::vector<std::wstring>{L"Skin.ini"}, NamesIn(folder.Path()));
        EXPECT_FALSE(Exists(beside));
    }
    // A full drive, and a target held open by someone else: the old bytes stay.
    SetWriteLimitForTests(4);
    t_errorChain full;
    EXPECT_FALSE(ReplacePrivateFile(full, target.c_str(), "longer than four", 16, beside.c_str()));
    SetWriteLimitForTests(-1);
    EXPECT_NE(std::wstring::npos, Lines(full).find(L"备份写失败:" + target)) << Lines(full);
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    t_errorChain locked;
    EXPECT_FALSE(ReplacePrivateFile(locked, target.c_str(), "x", 1, beside.c_str()));
    CloseHandle(held);
    EXPECT_EQ("new bytes beside", ReadRaw(target));
    EXPECT_EQ(std::vector<std::wstring>{L"Skin.ini"}, NamesIn(folder.Path()));
    EXPECT_FALSE(Exists(beside));
}

TEST(PrivateFileWrite, NewFileMovesOverItsTargetThroughTheHandle)
{
    t_tempFolder folder(L"private_write_move");
    const std::wstring temporary = folder / L"new.wtm";
    const std::wstring target = folder / L"target.ini";
    ASSERT_TRUE(WriteRaw(target, "old"));
    t_errorChain errors;
    t_privateFileWrite file;
    ASSERT_TRUE(file.Open(errors, temporary.c_str(), t_privateFileWrite::e_create)) << Lines(errors);
    ASSERT_TRUE(file.Write(errors, "new", 3));
    EXPECT_TRUE(file.MoveOver(target.c_str()));
    file.Close();
    EXPECT_EQ("new", ReadRaw(target));
    EXPECT_EQ(std::vector<std::wstring>{L"target.ini"}, NamesIn(folder.Path()));
    // Nothing open, nothing moved.
    EXPECT_FALSE(file.MoveOver(target.c_str()));
}

TEST(PrivateFileWrite, ExistingModeNeedsTheFileAndKeepsItsLength)
{
    t_tempFolder folder(L"private_write_existing");
    const std::wstring path = folder / L"copy.dat";
    t_errorChain errors;
    t_privateFileWrite file;
    EXPECT_FALSE(file.Open(errors, path.c_str(), t_privateFileWrite::e_existing));
    EXPECT_FALSE(Exists(path));

    ASSERT_TRUE(WriteRaw(path, "0123456789"));
    ASSERT_TRUE(file.Open(errors, path.c_str(), t_privateFileWrite::e_existing)) << Lines(errors);
    EXPECT_TRUE(file.Write(errors, "ab", 2));
    file.Close();
    EXPECT_EQ("ab23456789", ReadRaw(path));
}

TEST(FolderListing, GivesWhatListFolderGives)
{
    t_tempFolder folder(L"folder_listing");
    for (const wchar_t* name : {L"a.png", L"B.bmp", L"图片.gif"})
        ASSERT_TRUE(WriteRaw(folder / name, "x"));
    ASSERT_TRUE(CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    std::vector<t_listedFile> expected;
    ASSERT_TRUE(ListFolder(folder.Path().c_str(), expected));

    t_folderListing listing;
    listing.Start(folder.Path().c_str());
    std::vector<t_listedFile> got;
    ASSERT_TRUE(listing.Wait(got));
    ASSERT_EQ(expected.size(), got.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(got[i].name.Equals(expected[i].name.c_str()));
        EXPECT_EQ(expected[i].size, got[i].size);
        EXPECT_EQ(expected[i].written, got[i].written);
        EXPECT_EQ(expected[i].IsFolder(), got[i].IsFolder());
    }
    // A missing folder answers false, as ListFolder does; a second Start reuses the object.
    listing.Start((folder / L"missing").c_str());
    EXPECT_FALSE(listing.Wait(got));
    EXPECT_TRUE(got.empty());
}
