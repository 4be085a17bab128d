// Start-up of the editor program to its first painted frame, against a trivial Win32
// window (startup_peer_window.exe) started the same way in the same run: each program is
// started with CreateProcess and the clock stops when its top-level window shows and no
// visible window of it waits to be painted. Kavrel.exe runs from a copy of the program
// folder, so its settings start from the defaults. Then New on the default skin, to the
// repainted frame. Median of RUNS runs of each; goal: the editor within 2x the peer.
// Usage: editor_startup_bench.exe [runs]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "tests/support/child_runner.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {
const DWORD c_timeoutMs = 60000;
const DWORD c_closeTimeoutMs = 20000;
const WPARAM c_cmdNew = 32782;
const double c_goalRatio = 2.0;

struct t_windowCount {
    int windows = 0;
    bool pending = false;
};

BOOL CALLBACK CheckChild(HWND window, LPARAM state)
{
    t_windowCount& count = *reinterpret_cast<t_windowCount*>(state);
    ++count.windows;
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE))
        count.pending = true;
    return TRUE;
}

// The window's child windows, and whether it or a shown child still has a region to paint.
t_windowCount Census(HWND top)
{
    t_windowCount count;
    count.pending = GetUpdateRect(top, nullptr, FALSE) != 0;
    EnumChildWindows(top, CheckChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Waits until the window's thread has handled what was sent before and nothing of the
// window is left to paint; false after the timeout.
bool WaitPainted(HWND top, DWORD startedAt, int* children)
{
    for (;;) {
        DWORD_PTR ignored;
        if (!SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, c_timeoutMs, &ignored))
            return false;
        const t_windowCount count = Census(top);
        if (!count.pending) {
            if (children)
                *children = count.windows;
            return true;
        }
        if (GetTickCount() - startedAt > c_timeoutMs)
            return false;
        Sleep(1);
    }
}

// The shown top-level window of class className, once painted; null after the timeout.
HWND WaitForFirstPaint(const wchar_t* className, DWORD startedAt, int* children)
{
    for (;;) {
        const HWND top = FindWindowW(className, nullptr);
        if (top && IsWindowVisible(top))
            return WaitPainted(top, startedAt, children) ? top : nullptr;
        if (GetTickCount() - startedAt > c_timeoutMs)
            return nullptr;
        Sleep(1);
    }
}

struct t_dialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM state)
{
    t_dialogSearch& search = *reinterpret_cast<t_dialogSearch*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (owner == search.processId && IsWindowVisible(window) && wcscmp(className, L"#32770") == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// Closes the program's window and answers "No" to a question it asks on the way (the
// editor asks whether to save a modified skin); the exit code, -1 when it did not end.
int CloseProgram(HANDLE process, HWND top)
{
    PostMessageW(top, WM_CLOSE, 0, 0);
    const DWORD startedAt = GetTickCount();
    while (WaitForSingleObject(process, 10) == WAIT_TIMEOUT) {
        if (GetTickCount() - startedAt > c_closeTimeoutMs)
            break;
        t_dialogSearch search = {GetProcessId(process), nullptr};
        EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    }
    return EndProgram(process, 0);
}

// Starts exe and waits for its first painted window; the time in ms, or a negative value
// when it failed. The process and window are handed back for the caller to end.
double StartToFirstPaint(const std::wstring& exe, const wchar_t* className, HANDLE& process, HWND& top, int* children)
{
    const double started = Now();
    process = StartProgram(exe, L"");
    if (!process)
        return -1;
    top = WaitForFirstPaint(className, GetTickCount(), children);
    if (!top) {
        EndProgram(process, 0);
        process = nullptr;
        return -1;
    }
    return Now() - started;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 && _wtoi(argv[1]) > 0 ? _wtoi(argv[1]) : 9;
    t_tempFolder folder(L"startup");
    for (const wchar_t* name : {L"Kavrel.exe", L"ZipLib.dll", L"Resource.dll", L"skin.dat"}) {
        if (!CopyFileW((ExeFolder() + L"\\" + name).c_str(), (folder.Path() + L"\\" + name).c_str(), FALSE)) {
            std::printf("missing %ls beside the benchmark\n", name);
            return 1;
        }
    }
    const std::wstring peer = ExeFolder() + L"\\startup_peer_window.exe";
    std::vector<double> editor, peers, news;
    int children = 0;
    for (int i = 0; i < runs; ++i) {
        HANDLE process = nullptr;
        HWND top = nullptr;
        const double peerMs = StartToFirstPaint(peer, L"KavrelStartupPeer", process, top, nullptr);
        if (peerMs < 0) {
            std::printf("the peer window did not start\n");
            return 1;
        }
        peers.push_back(peerMs);
        CloseProgram(process, top);

        DeleteFileW((folder.Path() + L"\\Kavrel.ini").c_str());
        const double editorMs =
            StartToFirstPaint(folder.Path() + L"\\Kavrel.exe", L"IMEKavrel", process, top, &children);
        if (editorMs < 0) {
            std::printf("the editor did not show a painted window within %lu ms\n", c_timeoutMs);
            return 1;
        }
        editor.push_back(editorMs);
        const double newStarted = Now();
        SendMessageW(top, WM_COMMAND, MAKEWPARAM(c_cmdNew, 0), 0);
        if (!WaitPainted(top, GetTickCount(), nullptr)) {
            std::printf("the editor did not repaint after New\n");
            CloseProgram(process, top);
            return 1;
        }
        news.push_back(Now() - newStarted);
        if (CloseProgram(process, top) < 0)
            std::printf("run %d: the editor did not end when closed; ended it\n", i + 1);
    }
    const double ratio = Median(editor) / Median(peers);
    std::printf("editor start-up to first painted frame: median %.1f ms; trivial window: %.1f ms (%d runs)\n",
                Median(editor), Median(peers), runs);
    std::printf("ratio %.2fx (goal <= %.1fx) %s; %d child windows at first paint\n", ratio, c_goalRatio,
                ratio <= c_goalRatio ? "met" : "NOT met", children);
    std::printf("New on the default skin, to the repainted frame: median %.1f ms\n", Median(news));
    return 0;
}
