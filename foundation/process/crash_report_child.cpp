// Helper for crash_report_test: installs the crash handler over a filter of its own and
// then crashes in the way its first argument names. A second argument names the folder the
// runtime takes as the installation folder (where the reporter is started).
//   fault     writes through a null pointer; the own filter exits with 42
//   overflow  recurses until the stack is exhausted; the own filter exits with 43
//   six       raises six continuable exceptions; the own filter continues each; exit code:
//             how often the own filter ran
//   invalid   loads ucrtbase.dll and passes it an invalid parameter; exit code: 100 + the
//             hooks found
//   purecall  calls a pure virtual function (the program then ends as the runtime's default)
//   hooks     exit code: the hooks found in the C runtimes loaded at start
// Except in the first two, the dump file is held open, so the dump is skipped.
#include <windows.h>

#include "foundation/process/crash_report.h"
#include "foundation/config/runtime.h"

namespace {

volatile LONG g_ownFilterCalls = 0;
volatile UINT g_exitCode = 0;

LONG WINAPI OwnFilter(EXCEPTION_POINTERS*)
{
    InterlockedIncrement(&g_ownFilterCalls);
    if (g_exitCode)
        ExitProcess(g_exitCode);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Recurses until the stack is exhausted (the depth never reaches its limit in practice).
__attribute__((noinline)) int Recurse(volatile char* previous, unsigned depth)
{
    volatile char frame[4096];
    frame[0] = previous ? previous[0] + 1 : 0;
    if (depth == 0xffffffffu)
        return frame[0];
    return Recurse(frame, depth + 1) + frame[1];
}

using t_fnWcscpyS = int(__cdecl*)(wchar_t*, size_t, const wchar_t*);

}  // namespace

struct t_base;
t_base* volatile g_constructing = nullptr;

// Outside the unnamed namespace and called through a pointer the compiler cannot follow, so
// the call stays a virtual one.
struct t_base {
    t_base()
    {
        g_constructing = this;
        CallPure();
    }
    virtual ~t_base() = default;
    virtual void Pure() = 0;
    static void CallPure();
};
__attribute__((noinline)) void t_base::CallPure() { g_constructing->Pure(); }
struct t_derived : t_base {
    void Pure() override {}
};

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 64;
    const wchar_t* mode = argv[1];
    if (argc > 2) {
        t_runtime* runtime = GetRuntime();
        runtime->SetInstallDirSource(argv[2]);
        t_errorChain ignored;
        runtime->Init(ignored);
    }
    HMODULE ucrt = lstrcmpW(mode, L"invalid") == 0 ? LoadLibraryW(L"ucrtbase.dll") : nullptr;

    // Except where the dump is looked at, the dump file is held open without sharing: the
    // reporter then skips the dump (which takes seconds under Wine) and writes the rest.
    if (lstrcmpW(mode, L"fault") != 0 && lstrcmpW(mode, L"overflow") != 0) {
        wchar_t exe[MAX_PATH] = {};
        wchar_t dump[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        if (MakeCrashFilePath(exe, L"dmp", dump))
            CreateFileW(dump, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    SetUnhandledExceptionFilter(OwnFilter);
    InstallCrashHandler();

    if (lstrcmpW(mode, L"fault") == 0) {
        g_exitCode = 42;
        *static_cast<volatile int*>(nullptr) = 1;
    } else if (lstrcmpW(mode, L"overflow") == 0) {
        g_exitCode = 43;
        return Recurse(nullptr, 0);
    } else if (lstrcmpW(mode, L"six") == 0) {
        for (int i = 0; i < 6; ++i)
            RaiseException(0xE0000001, 0, 0, nullptr);
        return static_cast<int>(g_ownFilterCalls);
    } else if (lstrcmpW(mode, L"invalid") == 0) {
        if (!ucrt)
            return 65;
        const unsigned hooks = CrashHandlerHooks();
        const auto wcscpyS = reinterpret_cast<t_fnWcscpyS>(reinterpret_cast<void*>(GetProcAddress(ucrt, "wcscpy_s")));
        if (!wcscpyS)
            return 66;
        wcscpyS(nullptr, 0, L"x");
        return static_cast<int>(100 + hooks);
    } else if (lstrcmpW(mode, L"purecall") == 0) {
        t_derived object;
        return 67;
    } else if (lstrcmpW(mode, L"hooks") == 0) {
        const unsigned hooks = CrashHandlerHooks();
        RestoreCrashFilter();
        return static_cast<int>(hooks);
    }
    return 64;
}
