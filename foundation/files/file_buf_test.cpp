#include "foundation/files/file_buf.h"

#include <gtest/gtest.h>

#include <cstring>

#include "foundation/files/file.h"
#include "foundation/files/file_bak_write.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(FileBufRead, ReadsExactlyToTheEndAndNoFurther)
{
    t_tempFolder dir(L"buf");
    std::wstring path = dir / L"data.bin";
    ASSERT_TRUE(WriteRaw(path, "0123456789"));
    t_errorChain errors;
    t_fileBufRead in;
    ASSERT_TRUE(in.Load(errors, path.c_str())) << Lines(errors);
    EXPECT_EQ(10u, in.Size());
    char buf[16] = {};
    EXPECT_TRUE(in.Read(errors, buf, 4));
    EXPECT_TRUE(in.Read(errors, buf, 6));
    EXPECT_STREQ("456789", buf);
    EXPECT_FALSE(in.Read(errors, buf, 1));
    EXPECT_EQ(L"读文件越界: 11字节", Lines(errors));

    // Counts that would wrap a pointer or a 32-bit sum are refused by comparing counts.
    ASSERT_TRUE(in.Load(errors, path.c_str()));
    ASSERT_TRUE(in.Read(errors, buf, 2));
    t_errorChain wrap;
    EXPECT_FALSE(in.Read(wrap, buf, 0xFFFFFFFFu));
    EXPECT_EQ(L"读文件越界: 4294967297字节", Lines(wrap));
    EXPECT_FALSE(in.Read(wrap, buf, 0xFFFFFFFEu));
    EXPECT_EQ(2u, in.Position());

    t_errorChain missing;
    EXPECT_FALSE(in.Load(missing, (dir / L"missing.bin").c_str()));
    EXPECT_NE(std::wstring::npos, Lines(missing).find(L"|打开文件失败"));
}

TEST(FileBufWrite, WritesGrowsAndReadsBack)
{
    t_fileBufWrite buf;
    t_errorChain errors;
    std::string big(200000, 'x');
    big[199999] = 'y';
    EXPECT_TRUE(buf.Write(errors, "head", 4));
    EXPECT_TRUE(buf.Write(errors, big.data(), static_cast<uint32_t>(big.size())));
    EXPECT_EQ(200004u, buf.Length());
    EXPECT_EQ(262144u, buf.Capacity());  // doubled from 64 KiB

    buf.Rewind();
    char head[5] = {};
    EXPECT_TRUE(buf.Read(errors, head, 4));
    EXPECT_STREQ("head", head);
    EXPECT_FALSE(buf.Read(errors, head, 0xFFFFFFFFu));
    EXPECT_TRUE(buf.Write(errors, "HE", 2));  // overwrites inside, length unchanged
    EXPECT_EQ(200004u, buf.Length());

    // Past 100 MiB the buffer refuses and stays as it was.
    t_errorChain tooBig;
    EXPECT_FALSE(buf.Reserve(tooBig, 104857601ull));
    EXPECT_NE(std::wstring::npos, Lines(tooBig).find(L"写文件失败：数据量太大: 104857601字节"));
    EXPECT_EQ(262144u, buf.Capacity());
    EXPECT_FALSE(buf.Write(tooBig, big.data(), 0xFFFFFFFFu));
    EXPECT_NE(std::wstring::npos, Lines(tooBig).find(L"|写文件失败"));
    EXPECT_EQ(200004u, buf.Length());
    EXPECT_EQ('y', buf.Data()[200003]);
}

class BakWrite : public ::testing::Test {
protected:
    t_tempFolder dir{L"bak"};
    std::wstring target = dir / L"user.dat";
    t_fileBakWrite buf;
    t_errorChain errors;

    void Fill(const char* text) { ASSERT_TRUE(buf.Write(errors, text, static_cast<uint32_t>(strlen(text)))); }
};

TEST_F(BakWrite, ReplacesTheTargetAndLeavesNoTemporaryFiles)
{
    ASSERT_TRUE(WriteRaw(target, "old content"));
    Fill("new");
    EXPECT_TRUE(buf.Save(errors, target.c_str())) << Lines(errors);
    EXPECT_EQ("new", ReadRaw(target));
    EXPECT_FALSE(Exists(target + L".wtm"));
    EXPECT_FALSE(Exists(target + L".wtm.vxbak"));
    EXPECT_EQ(0u, buf.Length());

    // A target already named .wtm gets no second one.
    std::wstring wtm = dir / L"x.wtm";
    Fill("w");
    EXPECT_TRUE(buf.Save(errors, wtm.c_str()));
    EXPECT_EQ("w", ReadRaw(wtm));
    EXPECT_FALSE(Exists(wtm + L".vxbak"));
}

TEST_F(BakWrite, MissingFolderFailsBeforeAnythingIsWritten)
{
    std::wstring nowhere = dir / L"no\\user.dat";
    Fill("data");
    EXPECT_FALSE(buf.Save(errors, nowhere.c_str()));
    std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"|写文件失败|备份写失败:" + nowhere)) << lines;
    EXPECT_EQ(4u, buf.Length());
}

TEST_F(BakWrite, FailedFinalMoveKeepsTheOldFileAndReportsFailure)
{
    ASSERT_TRUE(WriteRaw(target, "old content"));
    // Another program reads the target without allowing it to be replaced.
    HANDLE reader = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    Fill("new content");
    EXPECT_FALSE(buf.Save(errors, target.c_str()));
    std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"移动文件失败")) << lines;
    EXPECT_NE(std::wstring::npos, lines.find(L"备份写失败:" + target)) << lines;
    EXPECT_EQ("old content", ReadRaw(target));
    EXPECT_EQ(11u, buf.Length());  // the caller's data is kept
    EXPECT_FALSE(Exists(target + L".wtm"));
    CloseHandle(reader);

    // Once the target is free the same buffer saves.
    t_errorChain again;
    EXPECT_TRUE(buf.Save(again, target.c_str())) << Lines(again);
    EXPECT_EQ("new content", ReadRaw(target));
}

TEST_F(BakWrite, FullDriveKeepsTheOldFileWholeAndLeavesNoTemporary)
{
    const std::string old(48152, 'o');
    ASSERT_TRUE(WriteRaw(target, old));
    const std::string data(48152, 'n');
    Fill(data.c_str());
    SetWriteLimitForTests(4096);
    const bool saved = buf.Save(errors, target.c_str());
    SetWriteLimitForTests(-1);
    EXPECT_FALSE(saved);
    const std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"系统错误112")) << lines;
    EXPECT_NE(std::wstring::npos, lines.find(L"备份写失败:" + target)) << lines;
    EXPECT_EQ(old, ReadRaw(target));
    EXPECT_FALSE(Exists(target + L".wtm"));
    EXPECT_FALSE(Exists(target + L".wtm.vxbak"));
    EXPECT_EQ(data.size(), buf.Length());
}

}  // namespace
