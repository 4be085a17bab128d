#include "foundation/process/process_launch.h"

#include <imm.h>
#include <process.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>

#include "foundation/files/path.h"
#include "foundation/config/runtime.h"

namespace {

const t_launchPolicy* g_policyOverride = nullptr;
t_shellExecuteFn g_shellExecute = nullptr;

const wchar_t c_notExecutable[] = L"找不到可执行程序";
const wchar_t c_startFailed[] = L"启动进程失败";

struct t_shellResult {
    int code;
    const wchar_t* text;
};
const t_shellResult c_shellResults[] = {
    {0, L"The operating system is out of memory or resources."},
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"The operating system denied access to the specified file."},
    {8, L"There was not enough memory to complete the operation."},
    {11, L"The .exe file is invalid (non-Microsoft Win32 .exe or error in .exe image)."},
    {26, L"A sharing violation occurred."},
    {27, L"The file name association is incomplete or invalid."},
    {28, L"The DDE transaction could not be completed because the request timed out."},
    {29, L"The DDE transaction failed."},
    {30, L"The Dynamic Data Exchange (DDE) transaction could not be completed because other DDE transactions were "
         L"being processed."},
    {31, L"There is no application associated with the given file name extension."},
    {32, L"The specified dynamic-link library (DLL) was not found."},
};

bool IsFolder(const wchar_t* path) { return path && *path && t_path(path).IsDirectory(); }
bool IsExistingFile(const wchar_t* path) { return path && *path && t_path(path).IsFile(); }

// The target's folder for the working folder "*"; any other text stays as given.
const wchar_t* ResolveFolder(const wchar_t* folder, const wchar_t* target, t_str& storage)
{
    if (!folder || wcscmp(folder, L"*") != 0)
        return folder;
    if (!t_path(target).GetFolder(storage))
        return nullptr;
    return storage.c_str();
}

bool FailMissingTarget(t_errorChain& errors, const wchar_t* target)
{
    AppendPathError(errors.NewLine(), c_notExecutable, target ? target : L"");
    return false;
}

// Inside a browser host: an existing target goes through the launcher, whose failure is
// dropped; a missing one is reported.
template <class F>
bool ThroughLauncher(t_errorChain& errors, const wchar_t* target, F start)
{
    if (!IsExistingFile(target))
        return FailMissingTarget(errors, target);
    if (!start())
        errors.Reset();
    return true;
}

// The launcher's path: the install folder's parent + "VexilExe\VexilExe.exe".
t_str MakeLauncherPath()
{
    t_path folder(t_launchPolicy::Current().installDir);
    while (folder.Length() > 3 && folder.CharAt(folder.Length() - 1) == L'\\')
        folder.Truncate(folder.Length() - 1);
    t_str parent;
    t_path(folder).GetFolder(parent);
    t_path launcher(parent);
    launcher.AppendPart(L"VexilExe");
    launcher.AppendPart(L"VexilExe.exe");
    return launcher;
}

// One heap block that the worker owns: the record, then the three texts.
struct t_workerBlock {
    wchar_t* target;
    HWND owner;
    wchar_t* parameters;
    wchar_t* folder;
    int show;
};

void __cdecl OpenWorker(void* argument)
{
    t_workerBlock* block = static_cast<t_workerBlock*>(argument);
    // The shell windows this thread may create must not load the input method.
    ImmDisableIME(GetCurrentThreadId());
    const wchar_t* folder = *block->folder ? block->folder : nullptr;
    t_errorChain ignored;
    if (IsFolder(block->target)) {
        CallShellExecute(block->owner, L"open", block->target, block->parameters, folder, block->show);
    } else if (t_launchPolicy::Current().browserHost) {
        t_launcherExeCmd(block->target).ShellOpen(block->parameters, folder, ignored, nullptr, 0);
    } else if (CheckExecutable(ignored, block->target)) {
        CallShellExecute(block->owner, L"open", block->target, block->parameters, folder, block->show);
    }
    GlobalFree(block);
}

}  // namespace

t_launchPolicy t_launchPolicy::Current()
{
    if (g_policyOverride)
        return *g_policyOverride;
    t_launchPolicy policy;
    if (const t_runtime* runtime = GetRuntime()) {
        policy.launchSwitch = runtime->Res(c_launchSwitchByte);
        policy.browserHost = runtime->IsBrowserHost();
        policy.restricted = runtime->IsRestricted();
        policy.installDir = runtime->GetInstallDir();
    }
    return policy;
}

void t_launchPolicy::SetOverride(const t_launchPolicy* policy) { g_policyOverride = policy; }

t_shellExecuteFn SetShellExecuteHook(t_shellExecuteFn fn)
{
    t_shellExecuteFn old = g_shellExecute ? g_shellExecute : ShellExecuteW;
    g_shellExecute = fn;
    return old;
}

HINSTANCE CallShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* folder, int show)
{
    t_shellExecuteFn fn = g_shellExecute ? g_shellExecute : ShellExecuteW;
    return fn(owner, verb, file, parameters, folder, show);
}

const wchar_t* ShellResultText(int code)
{
    for (const t_shellResult& row : c_shellResults)
        if (row.code == code)
            return row.text;
    return nullptr;
}

bool FailShellStart(t_errorChain& errors, int code, const wchar_t* target)
{
    t_str message;
    message.Format(L"%s(%d)", c_startFailed, code);
    AppendPathError(errors.NewLine(), message.c_str(), target);
    if (const wchar_t* text = ShellResultText(code))
        errors.AddText(text);
    return false;
}

bool CheckExecutable(t_errorChain& errors, const wchar_t* path)
{
    if (IsFolder(path) || IsExistingFile(path))
        return true;
    return FailMissingTarget(errors, path);
}

bool ShellOpen(t_errorChain& errors, const wchar_t* target, HWND owner, const wchar_t* parameters,
               const wchar_t* folder, int show)
{
    const t_launchPolicy policy = t_launchPolicy::Current();
    if (!policy.LaunchesAllowed())
        return true;
    t_str folderStorage;
    folder = ResolveFolder(folder, target, folderStorage);
    if (!IsFolder(target)) {
        if (policy.browserHost)
            return ThroughLauncher(errors, target, [&] {
                return t_launcherExeCmd(target).ShellOpen(parameters, folder, errors, owner, show);
            });
        if (!CheckExecutable(errors, target))
            return false;
    }
    INT_PTR result = reinterpret_cast<INT_PTR>(CallShellExecute(owner, L"open", target, parameters, folder, show));
    if (result > 32)
        return true;
    return FailShellStart(errors, static_cast<int>(result), target);
}

bool RunAndWait(t_errorChain& errors, const wchar_t* target, DWORD& exitCode, HWND owner, const wchar_t* parameters,
                const wchar_t* folder, int show)
{
    if (!t_launchPolicy::Current().LaunchesAllowed()) {
        exitCode = 0;
        return true;
    }
    if (!CheckExecutable(errors, target))
        return false;
    t_str folderStorage;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_UNICODE;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = target;
    info.lpParameters = parameters;
    info.lpDirectory = ResolveFolder(folder, target, folderStorage);
    info.nShow = show;
    ShellExecuteExW(&info);
    INT_PTR result = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (result <= 32)
        return FailShellStart(errors, static_cast<int>(result), target);
    exitCode = static_cast<DWORD>(-1);
    if (info.hProcess) {
        WaitForSingleObject(info.hProcess, INFINITE);
        if (!GetExitCodeProcess(info.hProcess, &exitCode))
            exitCode = static_cast<DWORD>(-1);
        CloseHandle(info.hProcess);
    }
    return true;
}

bool CreateProcessAt(t_errorChain& errors, STARTUPINFOW& startup, PROCESS_INFORMATION& process, const wchar_t* path,
                     const wchar_t* arguments, DWORD creationFlags)
{
    const t_launchPolicy policy = t_launchPolicy::Current();
    if (!policy.LaunchesAllowed())
        return true;
    if (!CheckExecutable(errors, path))
        return false;
    t_str commandLine;
    QuoteCommandLine(commandLine, path, arguments);
    t_str folder;
    const wchar_t* folderText = t_path(path).GetFolder(folder) ? folder.c_str() : nullptr;
    if (policy.browserHost)
        return ThroughLauncher(errors, path, [&] {
            return t_launcherExeCmd(path).CreateProcess(process, folderText, errors, arguments, startup);
        });
    const BOOL started = CreateProcessW(path, commandLine.GetBuffer(commandLine.Length()), nullptr, nullptr, FALSE,
                                        creationFlags, nullptr, folderText, &startup, &process);
    const DWORD code = GetLastError();
    commandLine.ReleaseBuffer();
    if (started)
        return true;
    AppendPathError(errors.NewLine(), c_startFailed, path);
    AppendSystemErrorText(errors.NewLine(), code);
    return false;
}

bool OpenAsync(const wchar_t* parameters, const wchar_t* path)
{
    if (!t_launchPolicy::Current().LaunchesAllowed())
        return false;
    if (!IsFolder(path) && !IsExistingFile(path))
        return false;
    t_str folder;
    if (!t_path(path).GetFolder(folder))
        folder.Clear();
    if (!parameters)
        parameters = L"";
    const size_t pathChars = wcslen(path) + 1;
    const size_t parameterChars = wcslen(parameters) + 1;
    const size_t folderChars = static_cast<size_t>(folder.Length()) + 1;
    const size_t bytes = sizeof(t_workerBlock) + (pathChars + parameterChars + folderChars) * sizeof(wchar_t);
    t_workerBlock* block = static_cast<t_workerBlock*>(GlobalAlloc(GPTR, bytes));
    if (!block)
        return false;
    wchar_t* texts = reinterpret_cast<wchar_t*>(block + 1);
    block->target = texts;
    memcpy(block->target, path, pathChars * sizeof(wchar_t));
    block->parameters = block->target + pathChars;
    memcpy(block->parameters, parameters, parameterChars * sizeof(wchar_t));
    block->folder = block->parameters + parameterChars;
    memcpy(block->folder, folder.c_str(), folderChars * sizeof(wchar_t));
    block->owner = nullptr;
    block->show = SW_HIDE;
    if (_beginthread(OpenWorker, 0, block) == static_cast<uintptr_t>(-1)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

void QuoteCommandLine(t_str& out, const wchar_t* path, const wchar_t* arguments)
{
    out.Assign(L"\"");
    out.Append(path ? path : L"");
    out.Append(L"\"");
    if (arguments && *arguments) {
        out.Append(L" ");
        out.Append(arguments);
    }
}

t_launcherExeCmd::t_launcherExeCmd(const wchar_t* target) : m_launcherPath(MakeLauncherPath()), m_target(target) {}

bool t_launcherExeCmd::ShellOpen(const wchar_t* parameters, const wchar_t* folder, t_errorChain& errors, HWND owner,
                                 int show)
{
    if (!CheckExecutable(errors, m_launcherPath.c_str()))
        return false;
    t_str arguments(L"/t:0 ");
    if (owner)
        arguments.AppendFormat(L"/p:%u ", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(owner)));
    arguments.AppendFormat(L"/n:%d ", show);
    arguments.AppendFormat(L"\"%s\" ", m_target.c_str());
    if (parameters)
        arguments.Append(parameters);
    INT_PTR result = reinterpret_cast<INT_PTR>(
        CallShellExecute(nullptr, L"open", m_launcherPath.c_str(), arguments.c_str(), folder, SW_HIDE));
    if (result > 32)
        return true;
    return FailShellStart(errors, static_cast<int>(result), m_target.c_str());
}

bool t_launcherExeCmd::CreateProcess(PROCESS_INFORMATION& process, const wchar_t* folder, t_errorChain& errors,
                                     const wchar_t* arguments, STARTUPINFOW& startup)
{
    if (!CheckExecutable(errors, m_launcherPath.c_str()))
        return false;
    t_str commandLine(L"/t:1 ");
    commandLine.AppendFormat(L"\"%s\" ", m_target.c_str());
    if (arguments)
        commandLine.Append(arguments);
    const BOOL started = ::CreateProcessW(m_launcherPath.c_str(), commandLine.GetBuffer(commandLine.Length()), nullptr,
                                          nullptr, TRUE, 0, nullptr, folder, &startup, &process);
    const DWORD code = GetLastError();
    commandLine.ReleaseBuffer();
    if (started)
        return true;
    t_str message;
    message.Format(L"%s(%u)", c_startFailed, static_cast<unsigned>(code));
    AppendPathError(errors.NewLine(), message.c_str(), m_target.c_str());
    return false;
}
