#include "foundation/process/crash_report.h"

#include <dbghelp.h>

#include <exception>

#include "foundation/core/singleton.h"
#include "foundation/config/runtime.h"

namespace {

const DWORD c_invalidCrtParameter = 0xC0000417;
const LONG c_maxReportedCrashes = 5;
// A writing thread that has not started by then never will (the crashing thread holds a
// lock that thread start-up needs): the crashing thread then writes itself.
const DWORD c_workerStartMs = 10000;
// How long a started writing thread may take for the report, the dump and the reporter's
// start (dumps take long under Wine on a busy machine).
const DWORD c_workerRunMs = 600000;

// Who writes the report of the current crash.
enum t_jobState : LONG {
    e_jobPending = 0,    // the writing thread has not claimed it yet
    e_jobClaimed = 1,    // the writing thread writes it
    e_jobAbandoned = 2,  // the crashing thread writes it; a late writing thread does nothing
};
const int c_lineCapacity = 1024;  // wvsprintfW writes at most 1024 characters
const int c_commandCapacity = 4 * MAX_PATH + 64;

using t_fnInvalidParameterHandler = void(__cdecl*)(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t);
using t_fnPureCallHandler = void(__cdecl*)();
using t_fnSetInvalidParameterHandler = t_fnInvalidParameterHandler(__cdecl*)(t_fnInvalidParameterHandler);
using t_fnSetPureCallHandler = t_fnPureCallHandler(__cdecl*)(t_fnPureCallHandler);
using t_fnMiniDumpWriteDump = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                            PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

// The C runtimes a statically linked MinGW program may have loaded; only loaded ones are
// hooked, and a runtime without the setters (Wine's msvcrt.dll has none) is skipped.
const wchar_t* const c_crtModules[] = {L"msvcrt.dll", L"ucrtbase.dll"};
const int c_crtModuleCount = sizeof(c_crtModules) / sizeof(c_crtModules[0]);

struct t_crtHooks {
    HMODULE module;
    // The runtime's setters, null where it lacks them.
    t_fnSetInvalidParameterHandler setInvalidParameter;
    t_fnSetPureCallHandler setPureCall;
    t_fnInvalidParameterHandler previousInvalidParameter;
    t_fnPureCallHandler previousPureCall;
};

// Process-wide state, filled at installation. Fixed buffers only: the crash path may run
// with little stack left and must not depend on the heap.
struct t_crashState {
    LPTOP_LEVEL_EXCEPTION_FILTER previous;
    bool installed;
    unsigned hooks;
    t_crtHooks crt[c_crtModuleCount];
    wchar_t modulePath[MAX_PATH];
    wchar_t exeFolder[MAX_PATH];
    wchar_t exeName[MAX_PATH];
    wchar_t reportPath[MAX_PATH];
    wchar_t dumpPath[MAX_PATH];
    volatile LONG crashCount;
    HANDLE reportFile;
    HANDLE dumpFile;

    // One crash is handled at a time: the thread that handles it, and the worker thread
    // that writes for it.
    volatile LONG ownerThread;
    volatile LONG workerThread;
    volatile LONG jobState;
    EXCEPTION_POINTERS* jobPointers;
    DWORD jobThread;

    // Scratch of the crash path, used only by the owner.
    wchar_t line[c_lineCapacity + 1];
    wchar_t codeName[512];
    wchar_t faultModule[MAX_PATH];
    wchar_t command[c_commandCapacity];
    wchar_t reporterPath[MAX_PATH + 16];
    wchar_t workFolder[MAX_PATH];
    CONTEXT runtimeContext;
    EXCEPTION_RECORD runtimeRecord;
    EXCEPTION_POINTERS runtimePointers;
};

t_crashState g_crash;

template <class T>
T FindExport(HMODULE module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const struct {
    DWORD code;
    const wchar_t* name;
} c_exceptionNames[] = {
    {0x80000001, L"GUARD_PAGE"},
    {0x80000002, L"DATATYPE_MISALIGNMENT"},
    {0x80000003, L"BREAKPOINT"},
    {0x80000004, L"SINGLE_STEP"},
    {0xC0000005, L"ACCESS_VIOLATION"},
    {0xC0000006, L"IN_PAGE_ERROR"},
    {0xC0000008, L"INVALID_HANDLE"},
    {0xC000001D, L"ILLEGAL_INSTRUCTION"},
    {0xC0000025, L"NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, L"INVALID_DISPOSITION"},
    {0xC000008C, L"ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008D, L"FLT_DENORMAL_OPERAND"},
    {0xC000008E, L"FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, L"FLT_INEXACT_RESULT"},
    {0xC0000090, L"FLT_INVALID_OPERATION"},
    {0xC0000091, L"FLT_OVERFLOW"},
    {0xC0000092, L"FLT_STACK_CHECK"},
    {0xC0000093, L"FLT_UNDERFLOW"},
    {0xC0000094, L"INT_DIVIDE_BY_ZERO"},
    {0xC0000095, L"INT_OVERFLOW"},
    {0xC0000096, L"PRIV_INSTRUCTION"},
    {0xC00000FD, L"STACK_OVERFLOW"},
};

// Copies text after out[length]; false when it does not fit (out is then cut).
bool AppendText(wchar_t* out, int capacity, int& length, const wchar_t* text)
{
    for (; *text; ++text) {
        if (length + 1 >= capacity) {
            out[length] = 0;
            return false;
        }
        out[length++] = *text;
    }
    out[length] = 0;
    return true;
}

bool AppendQuoted(wchar_t* out, int capacity, int& length, const wchar_t* text)
{
    return AppendText(out, capacity, length, length ? L" \"" : L"\"") && AppendText(out, capacity, length, text) &&
           AppendText(out, capacity, length, L"\"");
}

// The position of the last backslash, -1 when there is none.
int LastBackslash(const wchar_t* path)
{
    int last = -1;
    for (int i = 0; path[i]; ++i)
        if (path[i] == L'\\')
            last = i;
    return last;
}

void WriteText(const wchar_t* text)
{
    if (g_crash.reportFile == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(g_crash.reportFile, text, static_cast<DWORD>(lstrlenW(text) * sizeof(wchar_t)), &written, nullptr);
}

void WriteFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = wvsprintfW(g_crash.line, format, args);
    va_end(args);
    if (n > 0)
        WriteText(g_crash.line);
}

// The number (from 1) of the section of the module holding address and the address's
// offset in it; 0 and 0 when the address lies in no section of an image. The module's file
// path goes to g_crash.faultModule (empty when the address is in no module).
void FindFaultSection(const void* address, unsigned& section, DWORD& offset)
{
    section = 0;
    offset = 0;
    g_crash.faultModule[0] = 0;
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(address, &info, sizeof(info)) || !info.AllocationBase)
        return;
    HMODULE module = static_cast<HMODULE>(info.AllocationBase);
    const DWORD got = GetModuleFileNameW(module, g_crash.faultModule, MAX_PATH);
    if (got == 0 || got >= MAX_PATH)
        g_crash.faultModule[0] = 0;
    if (info.Type != MEM_IMAGE)
        return;

    const BYTE* base = static_cast<const BYTE*>(info.AllocationBase);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 || dos->e_lfanew > 0x10000)
        return;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return;
    const uintptr_t rva = reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(base);
    const IMAGE_SECTION_HEADER* headers = IMAGE_FIRST_SECTION(nt);
    for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const uintptr_t start = headers[i].VirtualAddress;
        const DWORD raw = headers[i].SizeOfRawData;
        const DWORD size = headers[i].Misc.VirtualSize > raw ? headers[i].Misc.VirtualSize : raw;
        if (rva >= start && rva <= start + size) {
            section = i + 1;
            offset = static_cast<DWORD>(rva - start);
            return;
        }
    }
}

void WriteReport(const EXCEPTION_POINTERS* pointers)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteText(L"//=====================================================\n");
    WriteFormat(L"Time: %d.%02d.%02d %02d:%02d:%02d %03d\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                now.wSecond, now.wMilliseconds);
    WriteFormat(L"Application: %s\n", g_crash.modulePath);

    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    if (record) {
        WriteFormat(L"Exception code: %08X %s\n", record->ExceptionCode,
                    ExceptionCodeName(record->ExceptionCode, g_crash.codeName));
        unsigned section = 0;
        DWORD offset = 0;
        FindFaultSection(record->ExceptionAddress, section, offset);
        WriteFormat(L"Fault address:  %p %02X:%08X %s\n", record->ExceptionAddress, section, offset,
                    g_crash.faultModule);
        WriteText(L"Exception Param:");
        const DWORD count = record->NumberParameters < EXCEPTION_MAXIMUM_PARAMETERS ? record->NumberParameters
                                                                                    : EXCEPTION_MAXIMUM_PARAMETERS;
        for (DWORD i = 0; i < count; ++i)
            WriteFormat(L"%p\t", reinterpret_cast<void*>(record->ExceptionInformation[i]));
        WriteText(L"\n");
    }

    WriteText(L"CPU mode: X64\n");
    const CONTEXT* c = pointers ? pointers->ContextRecord : nullptr;
    if (c) {
        // %p prints a 64-bit value as 16 upper-case hexadecimal digits.
        WriteText(L"Registers:");
        WriteFormat(L"RAX:%p RBX:%p RCX:%p RDX:%p RSI:%p RDI:%p ", c->Rax, c->Rbx, c->Rcx, c->Rdx, c->Rsi, c->Rdi);
        WriteFormat(L"R8:%p R9:%p R10:%p R11:%p R12:%p R13:%p R14:%p R15:%p ", c->R8, c->R9, c->R10, c->R11, c->R12,
                    c->R13, c->R14, c->R15);
        WriteFormat(L"CS:RIP:%04X:%p ", c->SegCs, c->Rip);
        WriteFormat(L"SS:RSP:%04X:%p RBP:%p\n", c->SegSs, c->Rsp, c->Rbp);
        WriteFormat(L"DS:%04X ES:%04X FS:%04X GS:%04X ", c->SegDs, c->SegEs, c->SegFs, c->SegGs);
        WriteFormat(L"Flags:%08X\n", c->EFlags);
        WriteText(L"\n");
    }
}

BOOL CALLBACK DumpCallback(PVOID, const PMINIDUMP_CALLBACK_INPUT, PMINIDUMP_CALLBACK_OUTPUT) { return TRUE; }

void WriteDump(EXCEPTION_POINTERS* pointers, DWORD threadId)
{
    if (g_crash.dumpFile == INVALID_HANDLE_VALUE)
        return;
    HMODULE dbghelp = LoadLibraryW(L"DbgHelp.dll");
    if (!dbghelp)
        return;
    const auto write = FindExport<t_fnMiniDumpWriteDump>(dbghelp, "MiniDumpWriteDump");
    if (!write)
        return;
    MINIDUMP_EXCEPTION_INFORMATION exception = {threadId, pointers, TRUE};
    MINIDUMP_CALLBACK_INFORMATION callback = {DumpCallback, nullptr};
    write(GetCurrentProcess(), GetCurrentProcessId(), g_crash.dumpFile, MiniDumpNormal, pointers ? &exception : nullptr,
          nullptr, &callback);
}

// The input method's installation folder when the runtime facts know one; never creates
// the runtime object on the crash path.
bool FindWorkFolder()
{
    g_crash.workFolder[0] = 0;
    if (!ImmSingletonRegistry::Global().Find("t_runtime"))
        return false;
    const t_runtime* runtime = GetRuntime();
    if (!runtime || !runtime->IsInitialised() || runtime->GetInstallDir().IsEmpty())
        return false;
    lstrcpynW(g_crash.workFolder, runtime->GetInstallDir().c_str(), MAX_PATH);
    return true;
}

void StartReporter()
{
    if (!g_crash.exeFolder[0])
        return;
    int length = 0;
    AppendText(g_crash.reporterPath, MAX_PATH + 16, length, g_crash.exeFolder);
    if (g_crash.exeFolder[lstrlenW(g_crash.exeFolder) - 1] != L'\\')
        AppendText(g_crash.reporterPath, MAX_PATH + 16, length, L"\\");
    if (!AppendText(g_crash.reporterPath, MAX_PATH + 16, length, L"crashrpt.exe"))
        return;

    const wchar_t* dumpName = g_crash.dumpPath + LastBackslash(g_crash.dumpPath) + 1;
    const wchar_t* reportName = g_crash.reportPath + LastBackslash(g_crash.reportPath) + 1;
    length = 0;
    if (!AppendQuoted(g_crash.command, c_commandCapacity, length, g_crash.reporterPath) ||
        !AppendQuoted(g_crash.command, c_commandCapacity, length, g_crash.exeName) ||
        !AppendQuoted(g_crash.command, c_commandCapacity, length, L"dezadir") ||
        !AppendQuoted(g_crash.command, c_commandCapacity, length, L"0") ||
        !AppendQuoted(g_crash.command, c_commandCapacity, length, dumpName) ||
        !AppendQuoted(g_crash.command, c_commandCapacity, length, reportName))
        return;

    const bool haveFolder = FindWorkFolder();
    OutputDebugStringW(g_crash.exeFolder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(g_crash.reporterPath, g_crash.command, nullptr, nullptr, FALSE, 0, nullptr,
                       haveFolder ? g_crash.workFolder : nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void RunCrashJob()
{
    g_crash.reportFile = CreateFileW(g_crash.reportPath, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (g_crash.reportFile != INVALID_HANDLE_VALUE)
        SetFilePointer(g_crash.reportFile, 0, nullptr, FILE_END);
    // The dump is written in many small pieces: written through, each would wait for the
    // disk (seconds under Wine), so it is flushed once when complete instead.
    g_crash.dumpFile =
        CreateFileW(g_crash.dumpPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

    WriteReport(g_crash.jobPointers);
    if (g_crash.reportFile != INVALID_HANDLE_VALUE)
        CloseHandle(g_crash.reportFile);
    g_crash.reportFile = INVALID_HANDLE_VALUE;

    WriteDump(g_crash.jobPointers, g_crash.jobThread);
    if (g_crash.dumpFile != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(g_crash.dumpFile);
        CloseHandle(g_crash.dumpFile);
    }
    g_crash.dumpFile = INVALID_HANDLE_VALUE;

    StartReporter();
}

DWORD WINAPI CrashWorker(void*)
{
    if (InterlockedCompareExchange(&g_crash.jobState, e_jobClaimed, e_jobPending) != e_jobPending)
        return 0;
    InterlockedExchange(&g_crash.workerThread, static_cast<LONG>(GetCurrentThreadId()));
    RunCrashJob();
    return 0;
}

// Takes the crash lock for this thread; false when this thread holds it already (a crash
// while handling a crash). Another thread's crash is waited for.
bool AcquireCrashLock()
{
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    for (;;) {
        const LONG owner = InterlockedCompareExchange(&g_crash.ownerThread, self, 0);
        if (owner == 0)
            return true;
        if (owner == self)
            return false;
        Sleep(10);
    }
}

void ReleaseCrashLock() { InterlockedExchange(&g_crash.ownerThread, 0); }

// The work runs on a thread of its own: a fresh stack for the dump even after a stack
// overflow, and a fault while writing ends only that thread (CrashFilter ends it).
void HandleCrashLocked(EXCEPTION_POINTERS* pointers)
{
    g_crash.jobPointers = pointers;
    g_crash.jobThread = GetCurrentThreadId();
    g_crash.jobState = e_jobPending;
    DWORD id = 0;
    HANDLE worker = CreateThread(nullptr, 0, CrashWorker, nullptr, 0, &id);
    if (worker && WaitForSingleObject(worker, c_workerStartMs) == WAIT_TIMEOUT) {
        if (InterlockedCompareExchange(&g_crash.jobState, e_jobAbandoned, e_jobPending) == e_jobPending) {
            CloseHandle(worker);
            worker = nullptr;
        } else {
            WaitForSingleObject(worker, c_workerRunMs);
        }
    }
    if (worker)
        CloseHandle(worker);
    else
        RunCrashJob();
    InterlockedExchange(&g_crash.workerThread, 0);
}

// Reports the caller of the handler whose context was captured in g_crash.runtimeContext
// (the handler's own frame): one frame is unwound to reach the caller. Runs under the lock.
void ReportRuntimeErrorLocked()
{
    CONTEXT& context = g_crash.runtimeContext;
    DWORD64 imageBase = 0;
    PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (function) {
        void* handlerData = nullptr;
        DWORD64 establisher = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &establisher,
                         nullptr);
    } else {
        // A leaf function: the return address is on top of the stack.
        context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
        context.Rsp += 8;
    }
    context.ContextFlags = CONTEXT_CONTROL;

    EXCEPTION_RECORD& record = g_crash.runtimeRecord;
    ZeroMemory(&record, sizeof(record));
    record.ExceptionCode = c_invalidCrtParameter;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
    g_crash.runtimePointers.ExceptionRecord = &record;
    g_crash.runtimePointers.ContextRecord = &context;
    HandleCrashLocked(&g_crash.runtimePointers);
}

// Inlined into each handler, so that the captured context is the handler's own frame.
#define KAVREL_REPORT_CALLER_AS_RUNTIME_ERROR()                                                                        \
    do {                                                                                                               \
        if (AcquireCrashLock()) {                                                                                      \
            RtlCaptureContext(&g_crash.runtimeContext);                                                                \
            ReportRuntimeErrorLocked();                                                                                \
            ReleaseCrashLock();                                                                                        \
        }                                                                                                              \
    } while (0)

void HookCrt()
{
    for (int i = 0; i < c_crtModuleCount; ++i) {
        t_crtHooks& hooks = g_crash.crt[i];
        hooks = t_crtHooks();
        hooks.module = GetModuleHandleW(c_crtModules[i]);
        if (!hooks.module)
            continue;
        hooks.setInvalidParameter =
            FindExport<t_fnSetInvalidParameterHandler>(hooks.module, "_set_invalid_parameter_handler");
        hooks.setPureCall = FindExport<t_fnSetPureCallHandler>(hooks.module, "_set_purecall_handler");
        if (hooks.setInvalidParameter) {
            hooks.previousInvalidParameter = hooks.setInvalidParameter(RuntimeErrorHandler);
            g_crash.hooks |= e_hookInvalidParameter;
        }
        if (hooks.setPureCall) {
            hooks.previousPureCall = hooks.setPureCall(PureCallHandler);
            g_crash.hooks |= e_hookPureCall;
        }
    }
}

void UnhookCrt()
{
    for (int i = 0; i < c_crtModuleCount; ++i) {
        t_crtHooks& hooks = g_crash.crt[i];
        // Only a runtime that is still loaded can take its old handlers back.
        if (hooks.module && GetModuleHandleW(c_crtModules[i]) == hooks.module) {
            if (hooks.setInvalidParameter)
                hooks.setInvalidParameter(hooks.previousInvalidParameter);
            if (hooks.setPureCall)
                hooks.setPureCall(hooks.previousPureCall);
        }
        hooks = t_crtHooks();
    }
    g_crash.hooks = 0;
}

// The thread running the previous filter, so that an exception raised inside it is not
// handed to it again.
volatile LONG g_previousFilterThread = 0;

}  // namespace

bool MakeCrashFilePath(const wchar_t* modulePath, const wchar_t* extension, wchar_t (&out)[MAX_PATH])
{
    out[0] = 0;
    if (!modulePath || !modulePath[0])
        return false;
    const int nameStart = LastBackslash(modulePath) + 1;
    int dot = -1;
    for (int i = nameStart; modulePath[i]; ++i)
        if (modulePath[i] == L'.')
            dot = i;
    int length = 0;
    if (dot >= 0) {
        if (dot + 1 >= MAX_PATH)
            return false;
        lstrcpynW(out, modulePath, dot + 2);
        length = dot + 1;
    } else if (!AppendText(out, MAX_PATH, length, modulePath) || !AppendText(out, MAX_PATH, length, L".")) {
        out[0] = 0;
        return false;
    }
    if (!AppendText(out, MAX_PATH, length, extension)) {
        out[0] = 0;
        return false;
    }
    return true;
}

const wchar_t* ExceptionCodeName(DWORD code, wchar_t (&out)[512])
{
    out[0] = 0;
    for (const auto& entry : c_exceptionNames) {
        if (entry.code == code) {
            lstrcpynW(out, entry.name, 512);
            return out;
        }
    }
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   GetModuleHandleW(L"NTDLL.DLL"), code, 0, out, 512, nullptr);
    int length = n < 512 ? static_cast<int>(n) : 511;
    while (length > 0 && (out[length - 1] == L'\r' || out[length - 1] == L'\n' || out[length - 1] == L' '))
        --length;
    out[length] = 0;
    return out;
}

void InstallCrashHandler()
{
    if (g_crash.installed)
        return;
    g_crash.reportFile = INVALID_HANDLE_VALUE;
    g_crash.dumpFile = INVALID_HANDLE_VALUE;
    const DWORD got = GetModuleFileNameW(nullptr, g_crash.modulePath, MAX_PATH);
    if (got == 0 || got >= MAX_PATH)
        g_crash.modulePath[0] = 0;
    const int slash = LastBackslash(g_crash.modulePath);
    g_crash.exeFolder[0] = 0;
    if (slash >= 0)
        lstrcpynW(g_crash.exeFolder, g_crash.modulePath, slash + 1);
    lstrcpynW(g_crash.exeName, g_crash.modulePath + slash + 1, MAX_PATH);
    MakeCrashFilePath(g_crash.modulePath, L"rpt", g_crash.reportPath);
    MakeCrashFilePath(g_crash.modulePath, L"dmp", g_crash.dumpPath);

    g_crash.previous = SetUnhandledExceptionFilter(CrashFilter);
    HookCrt();
    g_crash.installed = true;
}

void RestoreCrashFilter()
{
    if (!g_crash.installed)
        return;
    UnhookCrt();
    SetUnhandledExceptionFilter(g_crash.previous);
    g_crash.previous = nullptr;
    g_crash.installed = false;
}

unsigned CrashHandlerHooks() { return g_crash.hooks; }

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers)
{
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    // A fault while writing a report ends the writing thread; the crashing thread goes on.
    if (g_crash.workerThread == self)
        ExitThread(1);
    if (g_previousFilterThread == self)
        return EXCEPTION_CONTINUE_SEARCH;

    if (g_crash.crashCount < c_maxReportedCrashes) {
        InterlockedIncrement(&g_crash.crashCount);
        HandleCrash(pointers);
    }
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = g_crash.previous;
    if (!previous || previous == CrashFilter)
        return EXCEPTION_CONTINUE_SEARCH;
    InterlockedExchange(&g_previousFilterThread, self);
    const LONG result = previous(pointers);
    InterlockedCompareExchange(&g_previousFilterThread, 0, self);
    return result;
}

void HandleCrash(EXCEPTION_POINTERS* pointers)
{
    if (!AcquireCrashLock())
        return;
    HandleCrashLocked(pointers);
    ReleaseCrashLock();
}

void RuntimeErrorHandler(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t)
{
    KAVREL_REPORT_CALLER_AS_RUNTIME_ERROR();
}

void PureCallHandler() { KAVREL_REPORT_CALLER_AS_RUNTIME_ERROR(); }

// GCC's code calls this for a pure virtual call (the C runtime's pure-call handler only
// sees code built with Microsoft's compiler). Reported like the runtime's own, then the
// program ends as the default does.
extern "C" void __cxa_pure_virtual()
{
    if (g_crash.installed)
        KAVREL_REPORT_CALLER_AS_RUNTIME_ERROR();
    std::terminate();
}
