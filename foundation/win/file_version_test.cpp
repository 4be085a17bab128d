#include "foundation/win/file_version.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/exe_folder.h"

namespace {

std::wstring SystemFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, n) + L"\\" + name;
}

}  // namespace

TEST(FileVersion, ReadsSystemDllAgainstTheRawResource)
{
    const std::wstring path = SystemFile(L"kernel32.dll");
    uint16_t version[4] = {};
    ASSERT_TRUE(GetFileVersion(path.c_str(), version));

    // Cross-check the word order against the fixed block read directly.
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), version[0]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), version[1]);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), version[2]);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), version[3]);
    EXPECT_GE(version[0], 5);

    t_fileVersionInfo info;
    ASSERT_TRUE(info.Load(path.c_str()));
    t_str company;
    ASSERT_TRUE(info.GetString(L"CompanyName", company));
    EXPECT_GT(company.Length(), 2);
    EXPECT_FALSE(info.GetString(L"NoSuchValue", company));
}

TEST(FileVersion, FilesWithoutAVersionResourceFail)
{
    // The test program carries no version resource; the others do not exist or are empty.
    const std::wstring cases[] = {ExePath(), ExePath() + L".missing", L""};
    for (const std::wstring& path : cases) {
        uint16_t version[4] = {1, 2, 3, 4};
        EXPECT_FALSE(GetFileVersion(path.c_str(), version));
        t_fileVersionInfo info;
        EXPECT_FALSE(info.Load(path.c_str()));
        t_str company;
        EXPECT_FALSE(info.GetString(L"CompanyName", company));
    }
}
