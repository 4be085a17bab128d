#include "foundation/core/exe_path.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

TEST(ExePath, PathAndFolderOfThisProgram)
{
    t_str path, folder;
    ASSERT_TRUE(GetExePath(path));
    ASSERT_TRUE(GetExeFolder(folder));
    const std::wstring full = path.c_str();
    // The system's own answer, whichever test program this is.
    wchar_t module[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(module), full);
    const std::wstring name = full.substr(full.rfind(L'\\') + 1);
    EXPECT_EQ(std::wstring(folder.c_str()) + L"\\" + name, full);
    EXPECT_EQ(L".exe", name.substr(name.size() - 4));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(full.c_str()));
    EXPECT_NE(L'\\', folder.CharAt(folder.Length() - 1));
}

// A buffer that cannot hold the whole path counts as not found, never as a cut path.
TEST(ExePath, TooSmallBufferIsRefused)
{
    t_str path;
    ASSERT_TRUE(GetExePath(path));
    const int length = path.Length();
    t_str cut(L"old");
    EXPECT_FALSE(GetExePath(cut, length));
    EXPECT_TRUE(cut.IsEmpty());
    EXPECT_TRUE(GetExePath(cut, length + 1));
    EXPECT_STREQ(path.c_str(), cut.c_str());
    EXPECT_FALSE(GetExePath(cut, 0));
    EXPECT_TRUE(cut.IsEmpty());
}
