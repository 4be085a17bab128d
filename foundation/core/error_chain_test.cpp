#include "foundation/core/error_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

std::wstring Report(t_errorChain& chain, bool withProcessName)
{
    std::vector<wchar_t> buf(t_errorChain::c_reportChars, L'#');
    chain.BuildReport(buf.data(), buf.size(), withProcessName);
    return buf.data();
}

void AddNumberedLines(t_errorChain& chain, int count)
{
    for (int i = 1; i <= count; ++i)
        chain.NewLine().AppendText(L"L").AppendInt(i);
}

TEST(ErrorChainTest, ReportKeepsNineLinesAndTheLast)
{
    struct {
        int lines;
        const wchar_t* expected;
    } const cases[] = {
        {0, L""},
        {1, L"L1"},
        {2, L"L1\r\nL2"},
        {9, L"L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9"},
        {10, L"L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\nL10"},
        {12, L"L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\nL12"},
    };
    for (const auto& c : cases) {
        t_errorChain chain;
        AddNumberedLines(chain, c.lines);
        EXPECT_EQ(c.expected, Report(chain, false)) << c.lines << " lines";
    }
}

TEST(ErrorChainTest, ReportNamesTheProcess)
{
    t_errorChain chain;
    EXPECT_EQ(L"", Report(chain, true));
    chain.AddText(L"打开失败");
    wchar_t module[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    const std::wstring program = module;
    EXPECT_EQ(L"打开失败\r\n\r\n进程名：" + program.substr(program.rfind(L'\\') + 1), Report(chain, true));
}

TEST(ErrorChainTest, ReportIsCutAt65535Characters)
{
    t_errorChain chain;
    chain.AddText(std::wstring(40000, L'a').c_str());
    chain.AddText(std::wstring(40000, L'b').c_str());
    std::vector<wchar_t> buf(t_errorChain::c_reportChars + 8, L'#');
    chain.BuildReport(buf.data(), buf.size(), true);
    const std::wstring report = buf.data();
    ASSERT_EQ(65535u, report.size());
    EXPECT_EQ(std::wstring(40000, L'a') + L"\r\n" + std::wstring(25533, L'b'), report);
    EXPECT_EQ(L'#', buf[65536]);  // nothing written past the terminator

    // A smaller buffer is honoured the same way.
    wchar_t small[8];
    chain.BuildReport(small, 8, false);
    EXPECT_STREQ(L"aaaaaaa", small);
}

TEST(ErrorChainTest, FailSetsTheFlagAndTheReportClearsIt)
{
    t_errorChain chain;
    EXPECT_FALSE(chain.Fail(L"无法读取 %s (%d)", L"Skin.ini", 3));
    EXPECT_TRUE(chain.IsFailed());
    EXPECT_EQ(std::vector<std::wstring>{L"无法读取 Skin.ini (3)"}, ErrorLines(chain));
    Report(chain, false);
    EXPECT_FALSE(chain.IsFailed());

    chain.Fail(L"again");
    chain.Clear();  // keeps the flag
    EXPECT_TRUE(chain.IsEmpty());
    EXPECT_TRUE(chain.IsFailed());
    chain.AddText(L"x");
    chain.Reset();
    EXPECT_TRUE(chain.IsEmpty());
    EXPECT_FALSE(chain.IsFailed());
}

TEST(ErrorChainTest, AddLastErrorDescribesTheCodeAndLeavesALineForTheCaller)
{
    t_errorChain chain;
    SetLastError(ERROR_FILE_NOT_FOUND);
    t_str& own = chain.AddLastError();
    EXPECT_EQ(0u, GetLastError());
    EXPECT_TRUE(own.IsEmpty());
    own.Append(L"打开文件失败");

    const std::vector<std::wstring> lines = ErrorLines(chain);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(0u, lines[0].find(L"系统错误2: ")) << lines[0];
    EXPECT_GT(lines[0].size(), wcslen(L"系统错误2: "));
    EXPECT_EQ(L"打开文件失败", lines[1]);
    EXPECT_FALSE(chain.IsFailed());
}

TEST(ErrorChainTest, SystemErrorText)
{
    // A code with a system text: line breaks and other controls become blanks.
    t_str withText(L"> ");
    AppendSystemErrorText(withText, ERROR_ACCESS_DENIED);
    const std::wstring text = withText.c_str();
    EXPECT_EQ(0u, text.find(L"> 系统错误5: ")) << text;
    EXPECT_GT(text.size(), wcslen(L"> 系统错误5: "));
    for (wchar_t c : text)
        EXPECT_GE(c, 32) << text;

    struct {
        DWORD code;
        const wchar_t* expected;
    } const noText[] = {
        {12002, L"系统错误12002: 网络连接超时"},
        {0x2000ABCD, L"系统错误536914893"},
    };
    for (const auto& c : noText) {
        t_str line;
        EXPECT_STREQ(c.expected, AppendSystemErrorText(line, c.code).c_str());
    }
}

TEST(ErrorChainTest, PathAndFromToLinesAlignTheirPaths)
{
    t_str path(L"前: ");
    EXPECT_STREQ(L"前: 无法删除文件：\r\n    \u3000 C:\\a\\b.png",
                 AppendPathError(path, L"无法删除文件", L"C:\\a\\b.png").c_str());
    t_str move;
    EXPECT_STREQ(L"无法移动文件：\r\n    从 C:\\x.vsf\r\n    到 D:\\y.vsf",
                 AppendFromToError(move, L"无法移动文件", L"C:\\x.vsf", L"D:\\y.vsf").c_str());
    // The ideographic space is as wide as one Chinese character, so both paths start
    // at the same column.
    const std::wstring p = path.c_str(), m = move.c_str();
    EXPECT_EQ(p.substr(p.find(L"\r\n") + 2, 6), std::wstring(L"    \u3000 "));
    EXPECT_EQ(m.substr(m.find(L"\r\n") + 2, 6), std::wstring(L"    从 "));
}

TEST(ErrorChainTest, CopyLinesFromAnotherChain)
{
    t_errorChain inner;
    inner.AddText(L"a");
    inner.AddText(L"b");
    inner.AddText(L"c");

    t_errorChain outer;
    outer.AddText(L"first");
    t_str& target = outer.AddText(L"into:");
    outer.AddText(L"last");
    outer.CopyLines(inner.FirstLine(), target);
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"into:a", L"b", L"c", L"last"}), ErrorLines(outer));
    // The source is untouched.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c"}), ErrorLines(inner));

    t_errorChain fresh;
    fresh.CopyLines(inner.FirstLine()->next, fresh.NewLine());
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"c"}), ErrorLines(fresh));
}

TEST(ErrorChainTest, CopyLinesWithinOneChainEnds)
{
    t_errorChain chain;
    chain.AddText(L"x");
    t_str& tail = chain.AddText(L"y");
    chain.CopyLines(chain.FirstLine(), tail);
    EXPECT_EQ((std::vector<std::wstring>{L"x", L"yx", L"yx"}), ErrorLines(chain));
}

struct t_shownBox {
    int calls = 0;
    HWND owner = nullptr;
    std::wstring text, caption;
    UINT type = 0;
};
t_shownBox g_shown;

int WINAPI RecordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    ++g_shown.calls;
    g_shown.owner = owner;
    g_shown.text = text;
    g_shown.caption = caption;
    g_shown.type = type;
    return IDOK;
}

class ErrorChainShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shown = t_shownBox();
        m_old = t_errorChain::SetMessageBoxHook(&RecordBox);
    }
    void TearDown() override { t_errorChain::SetMessageBoxHook(m_old); }
    t_errorChain::t_messageBoxFn m_old = nullptr;
};

TEST_F(ErrorChainShowTest, EmptyChainShowsNothing)
{
    t_errorChain chain;
    chain.Show(nullptr);
    chain.ShowReport(reinterpret_cast<HWND>(0x1234), L"标题");
    EXPECT_EQ(0, g_shown.calls);
}

TEST_F(ErrorChainShowTest, ReportIsShownWithoutProcessName)
{
    t_errorChain chain;
    AddNumberedLines(chain, 11);
    chain.Fail(L"保存失败");
    chain.Show(nullptr);
    EXPECT_EQ(1, g_shown.calls);
    EXPECT_EQ(nullptr, g_shown.owner);
    EXPECT_EQ(L"L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9\r\n保存失败", g_shown.text);
    EXPECT_EQ(L"栖鹭拼音输入法错误报告", g_shown.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), g_shown.type);
    EXPECT_FALSE(chain.IsFailed());

    const HWND owner = reinterpret_cast<HWND>(0x1234);
    chain.ShowReport(owner, L"标题");
    EXPECT_EQ(2, g_shown.calls);
    EXPECT_EQ(owner, g_shown.owner);
    EXPECT_EQ(L"标题", g_shown.caption);
}

TEST(ErrorChainHookTest, NullHookRestoresTheSystemBox)
{
    const t_errorChain::t_messageBoxFn old = t_errorChain::SetMessageBoxHook(&RecordBox);
    EXPECT_EQ(&RecordBox, t_errorChain::SetMessageBoxHook(nullptr));
    EXPECT_EQ(static_cast<t_errorChain::t_messageBoxFn>(&MessageBoxW), t_errorChain::SetMessageBoxHook(old));
}

}  // namespace
