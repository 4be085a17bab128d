// The faulting child of the crash reporter's tests, run from a folder of its own beside a
// copy of the recording reporter, and readers of what it leaves behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/process/crash_report.h"
#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"

// UTF-16LE text split at each line end; a last line without one is marked.
inline std::vector<std::wstring> Utf16Lines(const std::string& bytes, const std::wstring& lineEnd)
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
    int Run(const std::wstring& arguments) { return RunProgram(At(L"crash_report_child.exe"), arguments, 240000); }

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

inline bool StartsWith(const std::wstring& text, const std::wstring& head)
{
    return text.compare(0, head.size(), head) == 0;
}
