#include "foundation/process/process_launch.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/process/vav_idiz_cmd.h"
#include "tests/support/launch_log.h"
#include "tests/support/temp_folder.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring ChainText(const t_errorChain& errors)
{
    std::wstring text;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        text += std::wstring(line->text.c_str()) + L"|";
    return text;
}

// A stand-in program in a folder with a blank in its name, and the log it writes to.
class ProcessLaunch : public testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryW(m_tools.c_str(), nullptr);
        m_program = PlaceStandIn(L"VavIdiz.exe", m_tools);
    }
    void TearDown() override { t_launchPolicy::SetOverride(nullptr); }

    t_tempFolder m_temp{L"launch"};
    std::wstring m_tools = m_temp / L"my tools";
    std::wstring m_program;
    t_launchLog m_log{m_temp / L"launch.log"};
};

TEST_F(ProcessLaunch, ShellOpenPassesParametersAndWorkingFolder)
{
    const std::wstring other = m_temp.Path();
    struct {
        const wchar_t* parameters;
        const wchar_t* folder;
        std::wstring expectedFolder;
    } const cases[] = {
        {L"-a \"b c\"", L"*", m_tools},
        {L"-x", other.c_str(), other},
        {nullptr, L"*", m_tools},
    };
    size_t count = 0;
    for (const auto& c : cases) {
        t_errorChain errors;
        ASSERT_TRUE(ShellOpen(errors, m_program.c_str(), nullptr, c.parameters, c.folder, SW_SHOW))
            << ChainText(errors);
        const auto records = m_log.WaitFor(++count);
        ASSERT_EQ(count, records.size());
        const std::wstring expected = Quoted(m_program) + (c.parameters ? std::wstring(L" ") + c.parameters : L"");
        EXPECT_EQ(expected, records.back().commandLine);
        EXPECT_EQ(c.expectedFolder, records.back().folder);
        EXPECT_EQ(L"VavIdiz.exe", records.back().program);
    }
}

TEST_F(ProcessLaunch, RunAndWaitAnswersTheExitCode)
{
    m_log.SetExitCode(7);
    t_errorChain errors;
    DWORD exitCode = 0;
    ASSERT_TRUE(RunAndWait(errors, m_program.c_str(), exitCode, nullptr, L"-w 1", L"*", SW_SHOW));
    EXPECT_EQ(7u, exitCode);
    // Waiting means the record is there at once.
    const auto records = m_log.Read();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(Quoted(m_program) + L" -w 1", records[0].commandLine);
    EXPECT_EQ(m_tools, records[0].folder);
}

TEST_F(ProcessLaunch, CreateProcessAtQuotesThePathAndRunsInItsFolder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    t_errorChain errors;
    ASSERT_TRUE(CreateProcessAt(errors, startup, process, m_program.c_str(), L"-c \"x y\"", 0));
    ASSERT_NE(nullptr, process.hProcess);
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    const auto records = m_log.Read();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(Quoted(m_program) + L" -c \"x y\"", records[0].commandLine);
    EXPECT_EQ(m_tools, records[0].folder);
}

TEST_F(ProcessLaunch, OpenAsyncStartsTheProgramInItsFolder)
{
    EXPECT_TRUE(OpenAsync(L"-p 1", m_program.c_str()));
    const auto records = m_log.WaitFor(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(Quoted(m_program) + L" -p 1", records[0].commandLine);
    EXPECT_EQ(m_tools, records[0].folder);
}

TEST_F(ProcessLaunch, UtilityGetsItsNumberAndAppendedSwitches)
{
    t_vavIdizCmd command(m_tools.c_str(), 5);
    EXPECT_EQ(m_program, command.Path().c_str());
    command.Arguments().AppendFormat(L" %s \"/p\"\"3\" \"/p\"\"4\"", VavIdizSwitch(t_vavIdizCmd::c_skinBoxSwitch));
    EXPECT_TRUE(command.Run());
    const auto records = m_log.WaitFor(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(Quoted(m_program) + L"  5 -sbp \"/p\"\"3\" \"/p\"\"4\"", records[0].commandLine);
    EXPECT_EQ(m_tools, records[0].folder);
}

TEST_F(ProcessLaunch, MissingTargetsStartNothing)
{
    const std::wstring missing = m_tools + L"\\absent.exe";
    t_errorChain errors;
    EXPECT_FALSE(CheckExecutable(errors, missing.c_str()));
    EXPECT_EQ(L"找不到可执行程序：\r\n    　 " + missing + L"|", ChainText(errors));

    t_errorChain openErrors;
    EXPECT_FALSE(ShellOpen(openErrors, missing.c_str(), nullptr, nullptr, L"*", SW_SHOW));
    EXPECT_EQ(ChainText(errors), ChainText(openErrors));
    DWORD exitCode = 5;
    t_errorChain runErrors;
    EXPECT_FALSE(RunAndWait(runErrors, missing.c_str(), exitCode, nullptr, nullptr, L"*", SW_SHOW));
    EXPECT_FALSE(OpenAsync(nullptr, missing.c_str()));
    EXPECT_FALSE(t_vavIdizCmd(m_temp.Path().c_str(), 1).Run());

    t_errorChain folderErrors;
    EXPECT_TRUE(CheckExecutable(folderErrors, m_tools.c_str()));
    EXPECT_TRUE(m_log.NothingWithin(300));
}

HINSTANCE WINAPI FailingShell(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)
{
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

TEST_F(ProcessLaunch, ShellFailureNamesTheCodeThePathAndTheReason)
{
    t_shellExecuteFn old = SetShellExecuteHook(FailingShell);
    t_errorChain errors;
    EXPECT_FALSE(ShellOpen(errors, m_program.c_str(), nullptr, nullptr, L"*", SW_SHOW));
    SetShellExecuteHook(old);
    EXPECT_EQ(L"启动进程失败(31)：\r\n    　 " + m_program +
                  L"|There is no application associated with the given file name extension.|",
              ChainText(errors));
    EXPECT_EQ(nullptr, ShellResultText(33));
}

TEST_F(ProcessLaunch, LaunchSwitchOffDoesNothingAndSucceeds)
{
    t_launchPolicy policy;
    policy.launchSwitch = 2;
    t_launchPolicy::SetOverride(&policy);
    t_errorChain errors;
    EXPECT_TRUE(ShellOpen(errors, m_program.c_str(), nullptr, nullptr, L"*", SW_SHOW));
    DWORD exitCode = 9;
    EXPECT_TRUE(RunAndWait(errors, m_program.c_str(), exitCode, nullptr, nullptr, L"*", SW_SHOW));
    EXPECT_EQ(0u, exitCode);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessAt(errors, startup, process, m_program.c_str(), nullptr, 0));
    EXPECT_EQ(nullptr, process.hProcess);
    EXPECT_FALSE(OpenAsync(nullptr, m_program.c_str()));
    EXPECT_TRUE(m_log.NothingWithin(300));
}

// Inside a browser host every form goes through the launcher beside the install folder.
TEST_F(ProcessLaunch, BrowserHostStartsThroughTheLauncher)
{
    const std::wstring input = m_temp / L"Input";
    const std::wstring launcherFolder = input + L"\\VexilExe";
    CreateDirectoryW(input.c_str(), nullptr);
    CreateDirectoryW((input + L"\\6.8.0").c_str(), nullptr);
    CreateDirectoryW(launcherFolder.c_str(), nullptr);
    const std::wstring launcher = PlaceStandIn(L"VexilExe.exe", launcherFolder);
    t_launchPolicy policy;
    policy.browserHost = true;
    policy.installDir = (input + L"\\6.8.0").c_str();
    t_launchPolicy::SetOverride(&policy);

    t_errorChain errors;
    EXPECT_TRUE(ShellOpen(errors, m_program.c_str(), nullptr, L"-s 1", L"*", SW_SHOW));
    auto records = m_log.WaitFor(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"VexilExe.exe", records[0].program);
    EXPECT_EQ(Quoted(launcher) + L" /t:0 /n:5 " + Quoted(m_program) + L" -s 1", records[0].commandLine);
    EXPECT_EQ(m_tools, records[0].folder);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessAt(errors, startup, process, m_program.c_str(), L"-c", 0));
    ASSERT_NE(nullptr, process.hProcess);
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    records = m_log.Read();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(L"/t:1 " + Quoted(m_program) + L" -c", records[1].commandLine);
    EXPECT_EQ(m_tools, records[1].folder);

    EXPECT_TRUE(OpenAsync(L"-o", m_program.c_str()));
    records = m_log.WaitFor(3);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(Quoted(launcher) + L" /t:0 /n:0 " + Quoted(m_program) + L" -o", records[2].commandLine);
    EXPECT_EQ(m_tools, records[2].folder);

    // A missing target is reported; a missing launcher is not.
    t_errorChain missing;
    EXPECT_FALSE(ShellOpen(missing, (m_tools + L"\\absent.exe").c_str(), nullptr, nullptr, L"*", SW_SHOW));
    DeleteFileW(launcher.c_str());
    t_errorChain noLauncher;
    EXPECT_TRUE(ShellOpen(noLauncher, m_program.c_str(), nullptr, nullptr, L"*", SW_SHOW));
    EXPECT_TRUE(noLauncher.IsEmpty());
    EXPECT_EQ(3u, m_log.Read().size());
}

TEST(QuoteCommandLine, QuotesThePathAndAddsArgumentsAfterABlank)
{
    struct {
        const wchar_t* path;
        const wchar_t* arguments;
        const wchar_t* expected;
    } const cases[] = {
        {L"C:\\a b\\x.exe", L"-y", L"\"C:\\a b\\x.exe\" -y"},
        {L"C:\\x.exe", nullptr, L"\"C:\\x.exe\""},
        {L"C:\\x.exe", L"", L"\"C:\\x.exe\""},
    };
    for (const auto& c : cases) {
        t_str out;
        QuoteCommandLine(out, c.path, c.arguments);
        EXPECT_STREQ(c.expected, out.c_str());
    }
}

TEST(VavIdizSwitch, LooksIdsUpInTheUtilitysTable)
{
    struct {
        int id;
        const wchar_t* expected;
    } const cases[] = {
        {0, L"-d"},    {1, nullptr},  {2, L"-u"},    {18, L"-smarthint"}, {19, L"-tcr"},
        {35, L"-sbp"}, {48, L"-fbb"}, {49, nullptr}, {-1, nullptr},
    };
    for (const auto& c : cases) {
        const wchar_t* text = VavIdizSwitch(c.id);
        if (c.expected)
            EXPECT_STREQ(c.expected, text) << c.id;
        else
            EXPECT_EQ(nullptr, text) << c.id;
    }
}

}  // namespace
