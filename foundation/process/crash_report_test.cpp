#include "foundation/process/crash_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"

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

// UTF-16LE text split at each line end; a last line without one is marked.
std::vector<std::wstring> Utf16Lines(const std::string& bytes, const std::wstring& lineEnd)
{
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(lineEnd, start)) != std::wstring::npos; start = end + lineEnd.size())
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start) + L"<no line end>");
    return lines;
}

// A faulting child run from a folder of its own, beside a copy of the recording reporter.
class CrashReportChild : public t_tempFolderTest {
protected:
    CrashReportChild() : t_tempFolderTest(L"crash") {}

    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\crash_report_child.exe").c_str(),
                              At(L"crash_report_child.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\crashrpt.exe").c_str(), At(L"crashrpt.exe").c_str(), FALSE));
        ASSERT_TRUE(CreateDirectoryW(At(L"install").c_str(), nullptr));
        SetEnvironmentVariableW(L"KAVREL_LAUNCH_LOG", At(L"launch.log").c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"KAVREL_LAUNCH_LOG", nullptr);
        // The reporter may still be finishing its record.
        Sleep(100);
    }

    // Dumps take seconds under Wine on a busy machine.
    int Run(const std::wstring& arguments) { return RunProgram(At(L"crash_report_child.exe"), arguments, 120000); }

    // The report's lines (UTF-16LE, LF line ends, no byte-order mark).
    std::vector<std::wstring> ReportLines() { return Utf16Lines(ReadRaw(At(L"crash_report_child.rpt")), L"\n"); }

    // The reporter's launches, {command line, working folder}, once count of them are in.
    std::vector<std::pair<std::wstring, std::wstring>> Launches(size_t count)
    {
        std::vector<std::pair<std::wstring, std::wstring>> launches;
        for (int i = 0; i < 150; ++i) {
            launches.clear();
            const std::vector<std::wstring> lines = Utf16Lines(ReadRaw(At(L"launch.log")), L"\r\n");
            for (size_t k = 0; k + 3 <= lines.size(); k += 3)
                launches.emplace_back(lines[k + 1], lines[k + 2]);
            if (launches.size() >= count)
                break;
            Sleep(100);
        }
        return launches;
    }

    std::wstring ExpectedCommand() const
    {
        return L"\"" + At(L"crashrpt.exe") +
               L"\" \"crash_report_child.exe\" \"dezadir\" \"0\" \"crash_report_child.dmp\" \"crash_report_child.rpt\"";
    }
};

bool StartsWith(const std::wstring& text, const std::wstring& head) { return text.compare(0, head.size(), head) == 0; }

TEST_F(CrashReportChild, FaultWritesReportAndDumpAndStartsTheReporter)
{
    EXPECT_EQ(42, Run(L"fault \"" + At(L"install") + L"\""));

    const std::vector<std::wstring> lines = ReportLines();
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(L"//=====================================================", lines[0]);
    EXPECT_TRUE(StartsWith(lines[1], L"Time: ")) << lines[1];
    EXPECT_EQ(L"Application: " + At(L"crash_report_child.exe"), lines[2]);
    EXPECT_EQ(L"Exception code: C0000005 ACCESS_VIOLATION", lines[3]);
    // The fault lies in the child's code: its first section, 16 hexadecimal digits of address.
    EXPECT_TRUE(StartsWith(lines[4], L"Fault address:  ")) << lines[4];
    EXPECT_EQ(L" 01:", lines[4].substr(32, 4)) << lines[4];
    EXPECT_EQ(At(L"crash_report_child.exe"), lines[4].substr(45)) << lines[4];
    // An access violation has two parameters: write (1) and the address (0).
    EXPECT_EQ(L"Exception Param:0000000000000001\t0000000000000000\t", lines[5]);
    EXPECT_EQ(L"CPU mode: X64", lines[6]);
    EXPECT_TRUE(StartsWith(lines[7], L"Registers:RAX:")) << lines[7];
    EXPECT_NE(std::wstring::npos, lines[7].find(L" R15:")) << lines[7];
    EXPECT_NE(std::wstring::npos, lines[7].find(L" CS:RIP:")) << lines[7];
    EXPECT_NE(std::wstring::npos, lines[7].find(L"SS:RSP:")) << lines[7];
    EXPECT_TRUE(StartsWith(lines[8], L"DS:")) << lines[8];
    EXPECT_NE(std::wstring::npos, lines[8].find(L" Flags:")) << lines[8];
    EXPECT_EQ(L"", lines[9]);

    EXPECT_EQ("MDMP", ReadRaw(At(L"crash_report_child.dmp")).substr(0, 4));

    const auto launches = Launches(1);
    ASSERT_EQ(1u, launches.size());
    EXPECT_EQ(ExpectedCommand(), launches[0].first);
    EXPECT_EQ(At(L"install"), launches[0].second);
}

TEST_F(CrashReportChild, StackOverflowIsReportedFromAFreshStack)
{
    EXPECT_EQ(43, Run(L"overflow"));
    const std::vector<std::wstring> lines = ReportLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(L"Exception code: C00000FD STACK_OVERFLOW", lines[3]);
    EXPECT_EQ("MDMP", ReadRaw(At(L"crash_report_child.dmp")).substr(0, 4));
    ASSERT_EQ(1u, Launches(1).size());
    EXPECT_EQ(ExpectedCommand(), Launches(1)[0].first);
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
