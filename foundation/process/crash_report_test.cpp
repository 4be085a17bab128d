#include "foundation/process/crash_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/crash_child_fixture.h"

namespace {

struct t_pathCase {
    const wchar_t* module;
    const wchar_t* extension;
    bool fits;
    const wchar_t* expected;
};

TEST(CrashReportPaths, ExtensionOfTheFileNameIsReplaced)
{
    const std::wstring longName(MAX_PATH - 4, L'a');
    const t_pathCase cases[] = {
        {L"C:\\dir\\Kavrel.exe", L"rpt", true, L"C:\\dir\\Kavrel.rpt"},
        {L"C:\\dir\\x.tar.exe", L"dmp", true, L"C:\\dir\\x.tar.dmp"},
        // A dot in a folder name is not the file's extension: the report stays beside it.
        {L"C:\\a.b\\prog", L"rpt", true, L"C:\\a.b\\prog.rpt"},
        {L"prog", L"dmp", true, L"prog.dmp"},
        {L"C:\\dir\\prog.", L"rpt", true, L"C:\\dir\\prog.rpt"},
        {longName.c_str(), L"rpt", false, L""},
        {L"", L"rpt", false, L""},
    };
    for (const t_pathCase& c : cases) {
        wchar_t out[MAX_PATH];
        EXPECT_EQ(c.fits, MakeCrashFilePath(c.module, c.extension, out)) << c.module;
        EXPECT_STREQ(c.expected, out) << c.module;
    }
}

TEST(CrashReportNames, FixedNamesThenTheSystemText)
{
    const struct {
        DWORD code;
        const wchar_t* name;
    } cases[] = {
        {0xC0000005, L"ACCESS_VIOLATION"},   {0x80000003, L"BREAKPOINT"}, {0xC00000FD, L"STACK_OVERFLOW"},
        {0xC0000094, L"INT_DIVIDE_BY_ZERO"}, {0x80000001, L"GUARD_PAGE"}, {0xC000008E, L"FLT_DIVIDE_BY_ZERO"},
    };
    wchar_t out[512];
    for (const auto& c : cases)
        EXPECT_STREQ(c.name, ExceptionCodeName(c.code, out)) << std::hex << c.code;

    // Any other code: NTDLL's message text, without its line end.
    wchar_t system[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   GetModuleHandleW(L"NTDLL.DLL"), 0xC0000417, 0, system, 512, nullptr);
    std::wstring expected(system, n);
    while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r' || expected.back() == L' '))
        expected.pop_back();
    EXPECT_EQ(expected, ExceptionCodeName(0xC0000417, out));
    EXPECT_STREQ(L"", ExceptionCodeName(0xE0001234, out));
}

TEST_F(CrashReportChild, FiveCrashesAreReportedAndEveryOneGoesToThePreviousFilter)
{
    // Each raised exception is continued by the child's own filter, the one installed
    // before the crash handler.
    EXPECT_EQ(6, Run(L"six"));
    const std::vector<std::wstring> lines = ReportLines();
    int reports = 0;
    for (const std::wstring& line : lines) {
        if (line == L"//=====================================================")
            ++reports;
        if (StartsWith(line, L"Exception code: ")) {
            EXPECT_EQ(L"Exception code: E0000001 ", line);
        }
    }
    EXPECT_EQ(5, reports);
    // The child held the dump file open: the dump was skipped, the rest written.
    EXPECT_EQ("", ReadRaw(At(L"crash_report_child.dmp")));
    Sleep(500);
    EXPECT_EQ(5u, Launches(5).size());
}

TEST_F(CrashReportChild, InvalidParameterToTheCRuntimeIsReportedAndReturns)
{
    // ucrtbase.dll has both setters; the child goes on after the report.
    EXPECT_EQ(100 + (e_hookInvalidParameter | e_hookPureCall), Run(L"invalid"));
    const std::vector<std::wstring> lines = ReportLines();
    ASSERT_GE(lines.size(), 5u);
    wchar_t name[512];
    EXPECT_EQ(std::wstring(L"Exception code: C0000417 ") + ExceptionCodeName(0xC0000417, name), lines[3]);
    // The reported address is the caller of the handler, inside the C runtime.
    std::wstring fault = lines[4];
    for (wchar_t& c : fault)
        c = towlower(c);
    EXPECT_NE(std::wstring::npos, fault.find(L"ucrtbase.dll")) << lines[4];
    EXPECT_EQ(1u, Launches(1).size());
}

TEST_F(CrashReportChild, PureVirtualCallIsReportedThenTheProgramEnds)
{
    EXPECT_EQ(3, Run(L"purecall"));
    const std::vector<std::wstring> lines = ReportLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_TRUE(StartsWith(lines[3], L"Exception code: C0000417")) << lines[3];
    EXPECT_EQ(At(L"crash_report_child.exe"), lines[4].substr(45)) << lines[4];
}

TEST_F(CrashReportChild, RuntimeWithoutTheSettersIsSkippedCleanly)
{
    // Each C runtime loaded in the process is hooked only where it exports the setters
    // (Wine's msvcrt.dll has neither; its own DLLs bring ucrtbase.dll, which has both).
    int expected = 0;
    for (const wchar_t* name : {L"msvcrt.dll", L"ucrtbase.dll"}) {
        HMODULE crt = GetModuleHandleW(name);
        if (crt && GetProcAddress(crt, "_set_invalid_parameter_handler"))
            expected |= e_hookInvalidParameter;
        if (crt && GetProcAddress(crt, "_set_purecall_handler"))
            expected |= e_hookPureCall;
    }
    EXPECT_EQ(expected, Run(L"hooks"));
}

}  // namespace
