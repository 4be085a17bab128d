// The crashes whose dump is written and checked: a dump takes seconds under Wine, so they
// run in a test program of their own.
#include "tests/support/crash_child_fixture.h"

namespace {

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

}  // namespace
