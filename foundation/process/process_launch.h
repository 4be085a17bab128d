// Starting other programs, files and folders: through the shell, waiting for the exit code,
// with the caller's startup records, or asynchronously on a worker thread that turns the
// input method off for itself. Inside a browser host, programs are started through the
// maker's launcher executable instead. These act on a path like t_path's own operations
// but live here, above the file layer, since they reach the runtime and the shell.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

// What the launchers take from the runtime (Part of t_runtime's record): the launch
// switch, the browser-host and restricted flags and the install folder.
struct t_launchPolicy {
    // Runtime res byte 11: every launcher does nothing (and reports success) unless it is
    // 0 or 1.
    static const int c_launchSwitchByte = 11;

    uint8_t launchSwitch = 0;
    bool browserHost = false;
    bool restricted = false;
    t_str installDir;

    bool LaunchesAllowed() const { return launchSwitch <= 1; }

    // The policy of the process runtime, or the one set by SetOverride.
    static t_launchPolicy Current();
    // Replaces the runtime's answers (null restores them); for tests of the other forms.
    static void SetOverride(const t_launchPolicy* policy);
};

// Every ShellExecuteW of the process layer goes through one function, which tests replace
// to see what would be handed to the shell. Null restores ShellExecuteW; returns the old.
using t_shellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
t_shellExecuteFn SetShellExecuteHook(t_shellExecuteFn fn);
HINSTANCE CallShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* folder, int show);

// The words for a failing result code of ShellExecuteW or ShellExecuteExW; null for any
// other code.
const wchar_t* ShellResultText(int code);
// "启动进程失败(<code>)" with the target's path line and, when known, the code's words.
bool FailShellStart(t_errorChain& errors, int code, const wchar_t* target);

// A folder passes; a path that is not an existing file fails with "找不到可执行程序" and
// the path on a second line.
bool CheckExecutable(t_errorChain& errors, const wchar_t* path);

// The working folder "*" stands for the target's own folder (none when it has none).
// Opens a target through the shell ("open").
bool ShellOpen(t_errorChain& errors, const wchar_t* target, HWND owner, const wchar_t* parameters,
               const wchar_t* folder, int show);
// Runs a target through the shell and waits for it; exitCode is all bits set when the shell
// gave no process handle (a document whose handler was already running).
bool RunAndWait(t_errorChain& errors, const wchar_t* target, DWORD& exitCode, HWND owner, const wchar_t* parameters,
                const wchar_t* folder, int show);
// CreateProcessW with the quoted path and arguments, in the program's own folder; the
// caller owns the returned handles.
bool CreateProcessAt(t_errorChain& errors, STARTUPINFOW& startup, PROCESS_INFORMATION& process, const wchar_t* path,
                     const wchar_t* arguments, DWORD creationFlags);
// Opens a program, file or folder on a short-lived worker thread; returns at once and
// reports nothing. A path that is neither a folder nor an existing file starts no thread.
// Answers whether a worker was started.
bool OpenAsync(const wchar_t* parameters, const wchar_t* path);

// A double quote, the path, a double quote, then a blank and the arguments when given.
void QuoteCommandLine(t_str& out, const wchar_t* path, const wchar_t* arguments);

// The maker's launcher executable ("VexilExe\VexilExe.exe" beside the install folder), which
// starts programs on behalf of a browser-hosted process.
class t_launcherExeCmd {
public:
    explicit t_launcherExeCmd(const wchar_t* target);

    // "/t:0 [/p:<owner> ]/n:<show> "<target>" [parameters]" through the shell, hidden.
    bool ShellOpen(const wchar_t* parameters, const wchar_t* folder, t_errorChain& errors, HWND owner, int show);
    // "/t:1 "<target>" [arguments]" through CreateProcessW, handles inherited.
    bool CreateProcess(PROCESS_INFORMATION& process, const wchar_t* folder, t_errorChain& errors,
                       const wchar_t* arguments, STARTUPINFOW& startup);

    const t_str& LauncherPath() const { return m_launcherPath; }

private:
    t_str m_launcherPath;
    t_str m_target;
};
