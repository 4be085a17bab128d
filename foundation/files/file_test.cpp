#include "foundation/files/file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"

namespace {

class FileTest : public t_tempFolderTest {
protected:
    FileTest() : t_tempFolderTest(L"file") {}
};

TEST_F(FileTest, WriteReadAndAppendModes)
{
    std::wstring path = At(L"数据.bin");
    t_errorChain errors;
    {
        t_fileWrite out;
        ASSERT_TRUE(out.Open(errors, path.c_str(), t_file::e_writeNew)) << Lines(errors);
        EXPECT_TRUE(out.Write(errors, "Skin\x01\x02", 6));
    }
    {
        t_fileWrite out;
        ASSERT_TRUE(out.Open(errors, path.c_str(), t_file::e_append));
        EXPECT_TRUE(out.Write(errors, "++", 2));
    }
    EXPECT_EQ(std::string("Skin\x01\x02++", 8), ReadRaw(path));

    t_fileRead in;
    ASSERT_TRUE(in.Open(errors, path.c_str()));
    EXPECT_EQ(8u, in.Length());
    uint32_t magic = 0;
    EXPECT_TRUE(in.ReadU32(errors, magic));
    EXPECT_EQ(0x6E696B53u, magic);  // "Skin" little-endian
    char rest[10] = {};
    EXPECT_FALSE(in.Read(errors, rest, 10));  // only 4 bytes are left
    EXPECT_TRUE(errors.IsFailed());
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"数据不足[预期读取10字节，实际读取4字节]：" + path));
    EXPECT_FALSE(in.Read(errors, rest, 1));  // now at the end
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"读文件错误[文件已经结束]：" + path));
    in.Close();
    EXPECT_TRUE(in.Path().IsEmpty());

    // Read-write mode opens or creates without truncating.
    t_file rw;
    ASSERT_TRUE(rw.Open(errors, path.c_str(), t_file::e_readWrite));
    uint32_t got = 0;
    EXPECT_TRUE(rw.Read(errors, rest, 10, got));
    EXPECT_EQ(8u, got);  // a plain t_file read may be short
}

TEST_F(FileTest, OpenFailuresAreReported)
{
    struct {
        int mode;
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {7, L"x.bin", L"文件模式不识别：7|打开文件失败："},
        {-1, L"x.bin", L"文件模式不识别：-1|打开文件失败："},
        {t_file::e_read, L"missing.bin", L"打开文件失败："},
        {t_file::e_writeNew, L"no\\such\\folder.bin", L"打开文件失败："},
    };
    for (const auto& c : cases) {
        std::wstring path = At(c.path);
        t_errorChain errors;
        t_file file;
        EXPECT_FALSE(file.Open(errors, path.c_str(), c.mode)) << c.mode;
        std::wstring lines = Lines(errors);
        EXPECT_NE(std::wstring::npos, lines.find(std::wstring(c.expected) + path)) << lines;
        EXPECT_FALSE(file.IsOpen());
        if (c.mode == t_file::e_read) {
            EXPECT_EQ(0u, lines.find(L"系统错误")) << lines;
        }
    }
}

TEST_F(FileTest, ReadOnlyFileOpensForWritingAfterAttributeReset)
{
    std::wstring path = At(L"ro.txt");
    ASSERT_TRUE(WriteRaw(path, "old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    t_errorChain errors;
    t_fileWrite out;
    ASSERT_TRUE(out.Open(errors, path.c_str(), t_file::e_writeNew)) << Lines(errors);
    EXPECT_TRUE(out.Write(errors, "new", 3));
    out.Close();
    EXPECT_EQ("new", ReadRaw(path));
    EXPECT_EQ(0u, GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
}

// Starts file_child to hold the path without sharing for holdMs; returns once it holds it.
HANDLE StartHolder(const std::wstring& path, int holdMs)
{
    std::wstring eventName = UniqueTag(L"Local\\kavrel_file_hold_");
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    HANDLE holder =
        StartChild(L"file_child.exe", L"hold \"" + path + L"\" " + std::to_wstring(holdMs) + L" " + eventName);
    DWORD waited = holder ? WaitForSingleObject(ready, 20000) : WAIT_FAILED;
    CloseHandle(ready);
    if (holder && waited != WAIT_OBJECT_0) {
        EndProgram(holder, 0);
        return nullptr;
    }
    return holder;
}

TEST_F(FileTest, SharingViolationIsRetriedThreeTimes)
{
    std::wstring path = At(L"held.txt");
    ASSERT_TRUE(WriteRaw(path, "x"));

    // Held for long: three attempts, two 100 ms waits, then failure.
    HANDLE holder = StartHolder(path, 3000);
    ASSERT_NE(nullptr, holder);
    t_errorChain errors;
    t_fileRead in;
    DWORD start = GetTickCount();
    EXPECT_FALSE(in.Open(errors, path.c_str()));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 180u);
    // It gave up while the file was still held, rather than waiting for the release.
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(holder, 0));
    std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"系统错误32")) << lines;  // ERROR_SHARING_VIOLATION
    EXPECT_NE(std::wstring::npos, lines.find(L"打开文件失败：" + path)) << lines;
    EXPECT_EQ(0, EndProgram(holder, 20000));

    // Released during the waits: a later attempt succeeds.
    holder = StartHolder(path, 30);
    ASSERT_NE(nullptr, holder);
    t_errorChain later;
    EXPECT_TRUE(in.Open(later, path.c_str())) << Lines(later);
    in.Close();
    EXPECT_EQ(0, EndProgram(holder, 20000));
}

// The per-file mutex name, computed independently: upper-cased characters XORed into the
// low half at even indexes, the high half at odd ones.
std::wstring ExpectedMutexName(const std::wstring& path)
{
    uint32_t value = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        uint32_t c = path[i];
        if (c >= L'a' && c <= L'z')
            c -= 32;
        value ^= (i % 2) ? (c << 16) : c;
    }
    wchar_t name[64];
    _snwprintf(name, 64, L"Local\\mutex_file_0x%08X", value);
    name[63] = 0;
    return name;
}

TEST_F(FileTest, PerPathMutexIsHeldFromOpenToClose)
{
    std::wstring path = At(L"Locked.txt");
    t_errorChain errors;
    t_fileWrite out;
    ASSERT_TRUE(out.Open(errors, path.c_str(), t_file::e_writeNew));

    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, ExpectedMutexName(path).c_str());
    ASSERT_NE(nullptr, mutex) << ExpectedMutexName(path);
    DWORD seen = 0;
    std::thread([&] { seen = WaitForSingleObject(mutex, 0); }).join();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), seen);

    out.Close();
    std::thread([&] {
        seen = WaitForSingleObject(mutex, 0);
        if (seen == WAIT_OBJECT_0)
            ReleaseMutex(mutex);
    }).join();
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), seen);
    CloseHandle(mutex);
}

TEST_F(FileTest, SecondOpenOfThePathWaitsForTheFirstClose)
{
    std::wstring path = At(L"shared.txt");
    std::wstring otherCase = path;
    for (auto& c : otherCase)
        c = towupper(c);

    t_errorChain errors;
    t_fileWrite first;
    ASSERT_TRUE(first.Open(errors, path.c_str(), t_file::e_writeNew));
    ASSERT_TRUE(first.Write(errors, "first", 5));

    // The second opener signals once its open returned.
    HANDLE openReturned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> opened{false};
    std::string seenByThread;
    std::thread second([&] {
        t_errorChain threadErrors;
        t_fileRead in;
        const bool ok = in.Open(threadErrors, otherCase.c_str());
        opened = ok;
        SetEvent(openReturned);
        if (ok) {
            char buf[16] = {};
            in.Read(threadErrors, buf, in.Length());
            seenByThread = buf;
        }
    });
    // Waiting in the per-path mutex, not failing on sharing.
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(openReturned, 300));
    first.Close();
    second.join();
    CloseHandle(openReturned);
    EXPECT_TRUE(opened.load());
    EXPECT_EQ("first", seenByThread);
}

}  // namespace
