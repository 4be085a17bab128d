#include "foundation/process/dll.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/child_runner.h"
#include "foundation/config/runtime.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(DllTest, LoadsFromAFolderAndCallsTheOptionalInitExport)
{
    // ZipLib.dll has InitDllEnv, Resource.dll (resources only) has none: either way the
    // load succeeds and the caller's chain keeps what it held, failed state included.
    for (const wchar_t* name : {L"ziplib.dll", L"Resource.dll"}) {
        t_errorChain errors;
        errors.Fail(L"earlier");
        HMODULE slot = nullptr;
        ASSERT_TRUE(t_dll::Load(errors, slot, name, ExeFolder().c_str())) << name;
        EXPECT_NE(nullptr, slot);
        EXPECT_EQ(L"earlier", Lines(errors)) << name;
        EXPECT_TRUE(errors.IsFailed());

        t_errorChain clean;
        HMODULE again = nullptr;
        ASSERT_TRUE(t_dll::Load(clean, again, name, (ExeFolder() + L"\\").c_str()));
        EXPECT_EQ(slot, again);
        EXPECT_TRUE(clean.IsEmpty());
        EXPECT_FALSE(clean.IsFailed());
    }
}

TEST(DllTest, MissingAndBrokenLibrariesAreNamedInTheMessages)
{
    t_tempFolder temp(L"dll_missing");
    WriteRaw(temp / L"broken.dll", "MZ but nothing else");
    CreateDirectoryW((temp / L"folder.dll").c_str(), nullptr);
    struct {
        const wchar_t* name;
        std::wstring message;
    } cases[] = {
        {L"nothing.dll", L"动态链接库(" + (temp / L"nothing.dll") + L")不存在。"},
        {L"folder.dll", L"动态链接库(" + (temp / L"folder.dll") + L")不存在。"},
        {L"broken.dll", L"读取动态链接库(" + (temp / L"broken.dll") + L")失败。"},
    };
    for (const auto& c : cases) {
        t_errorChain errors;
        HMODULE slot = nullptr;
        EXPECT_FALSE(t_dll::Load(errors, slot, c.name, temp.Path().c_str()));
        EXPECT_EQ(nullptr, slot);
        EXPECT_EQ(c.message, Lines(errors));
    }
}

TEST(DllTest, WithoutAFolderTheInstallationFolderServes)
{
    t_runtime* runtime = GetRuntime();
    ASSERT_NE(nullptr, runtime);
    runtime->SetInstallDirSource(nullptr);
    t_errorChain init;
    ASSERT_TRUE(runtime->Init(init));
    ASSERT_EQ(ExeFolder(), runtime->GetInstallDir().c_str());

    t_errorChain errors;
    HMODULE slot = nullptr;
    ASSERT_TRUE(t_dll::Load(errors, slot, L"ziplib.dll", nullptr));
    EXPECT_EQ(GetModuleHandleW((ExeFolder() + L"\\ZipLib.dll").c_str()), slot);
    EXPECT_FALSE(t_dll::Load(errors, slot, L"none.dll", L""));
    EXPECT_EQ(L"动态链接库(" + ExeFolder() + L"\\none.dll)不存在。", Lines(errors));
}

TEST(DllTest, GetProcNamesTheMissingExport)
{
    t_errorChain errors;
    FARPROC proc = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(t_dll::GetProc(errors, nullptr, "UnZip", proc));
    EXPECT_EQ(nullptr, proc);
    EXPECT_EQ(L"Dll未初始化。", Lines(errors));

    HMODULE slot = nullptr;
    ASSERT_TRUE(t_dll::Load(errors, slot, L"ziplib.dll", ExeFolder().c_str()));
    errors.Reset();
    EXPECT_FALSE(t_dll::GetProc(errors, slot, "ZipEverything", proc));
    EXPECT_EQ(L"找不到函数（ZipEverything）。", Lines(errors));
    errors.Reset();
    // Exports carry their plain names, without "@n" decoration.
    for (const char* name : {"UnZip", "ZipFolder", "UnZipFile", "FreeUnzipBuf", "PrepareUnzipFile", "InitDllEnv"}) {
        EXPECT_TRUE(t_dll::GetProc(errors, slot, name, proc)) << name;
        EXPECT_NE(nullptr, proc);
    }
    EXPECT_TRUE(errors.IsEmpty());
}

TEST(DllTest, ARestrictedProcessLoadsOnlyTheZipLibrary)
{
    EXPECT_EQ(3, RunChild(L"dll_child.exe", L"\"" + ExeFolder() + L"\""));
}

}  // namespace
