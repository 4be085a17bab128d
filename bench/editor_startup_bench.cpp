// Start-up of the editor program to its first painted frame: Kavrel.exe (from a copy of
// the program folder, so its settings start from the defaults) is started, and the clock
// stops when its main window exists and its thread has gone idle after painting it, then
// again with New on the default skin. Median of RUNS runs.
// Usage: editor_startup_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "tests/support/child_runner.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {
const DWORD c_timeoutMs = 60000;
const WPARAM c_cmdNew = 32782;

HWND WaitForFrame(DWORD startedAt)
{
    for (;;) {
        const HWND frame = FindWindowW(L"IMEKavrel", nullptr);
        if (frame && IsWindowVisible(frame)) {
            DWORD_PTR ignored;
            SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, c_timeoutMs, &ignored);
            return frame;
        }
        if (GetTickCount() - startedAt > c_timeoutMs)
            return nullptr;
        Sleep(1);
    }
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? _wtoi(argv[1]) : 7;
    t_tempFolder folder(L"startup");
    for (const wchar_t* name : {L"Kavrel.exe", L"ZipLib.dll", L"Resource.dll", L"skin.dat"}) {
        if (!CopyFileW((ExeFolder() + L"\\" + name).c_str(), (folder.Path() + L"\\" + name).c_str(), FALSE)) {
            std::printf("missing %ls beside the benchmark\n", name);
            return 1;
        }
    }
    std::vector<double> frames, news;
    for (int i = 0; i < runs; ++i) {
        DeleteFileW((folder.Path() + L"\\Kavrel.ini").c_str());
        const double started = Now();
        const HANDLE process = StartProgram(folder.Path() + L"\\Kavrel.exe", L"");
        const HWND frame = process ? WaitForFrame(GetTickCount()) : nullptr;
        if (!frame) {
            std::printf("the editor did not start\n");
            return 1;
        }
        frames.push_back(Now() - started);
        const double newStarted = Now();
        SendMessageW(frame, WM_COMMAND, MAKEWPARAM(c_cmdNew, 0), 0);
        DWORD_PTR ignored;
        SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, c_timeoutMs, &ignored);
        news.push_back(Now() - newStarted);
        PostMessageW(frame, WM_CLOSE, 0, 0);
        EndProgram(process, c_timeoutMs);
    }
    std::printf("editor start-up to first painted frame: median %.1f ms (%d runs)\n", Median(frames), runs);
    std::printf("New on the default skin, to the repainted frame: median %.1f ms\n", Median(news));
    return 0;
}
