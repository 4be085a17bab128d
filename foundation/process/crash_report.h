// The crash reporter: an unhandled structured exception, an invalid parameter passed to the
// C runtime or a pure virtual call writes a text report and a minidump next to the
// executable and starts the maker's reporter program "crashrpt.exe" from the executable's
// folder. Everything on the crash path works in fixed process-wide buffers, so that it also
// runs on the nearly exhausted stack of a stack overflow.
#pragma once

#include <windows.h>

#include <cstdint>

// Remembers the previous unhandled-exception filter and makes CrashFilter the filter;
// hooks the C runtime's invalid-parameter and pure-call handlers where the runtime offers
// the setters; fills the report and dump paths from the executable's path.
void InstallCrashHandler();
// Puts the remembered filter (and the C runtime's previous handlers) back.
void RestoreCrashFilter();

// Reports the first five crashes of the process, then hands the exception to the previous
// filter (0 when there is none).
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

// The C runtime's invalid-parameter handler: reports the caller as a crash with the code
// 0xC0000417 and returns to the runtime. Not counted against the limit of five.
void RuntimeErrorHandler(const wchar_t* expression, const wchar_t* function, const wchar_t* file, unsigned line,
                         uintptr_t reserved);
// The C runtime's pure-call handler: the same report.
void PureCallHandler();

// Writes the report and the dump and starts the reporter. A second crash on the thread
// that is already handling one is ignored.
void HandleCrash(EXCEPTION_POINTERS* pointers);

// Which C runtime setters InstallCrashHandler found (bits of t_crashHook).
enum t_crashHook : unsigned {
    e_hookInvalidParameter = 1,
    e_hookPureCall = 2,
};
unsigned CrashHandlerHooks();

// The report or dump path of a module path: the file name's extension replaced by
// extension ("rpt", "dmp"), or "." and extension appended to a name without one. False when
// the result does not fit in MAX_PATH characters.
bool MakeCrashFilePath(const wchar_t* modulePath, const wchar_t* extension, wchar_t (&out)[MAX_PATH]);

// The name of an exception code: the fixed name for the well-known codes, else the system's
// message text for it from NTDLL.DLL (line ends removed), else the empty text. The result is
// written to out (512 characters) and returned.
const wchar_t* ExceptionCodeName(DWORD code, wchar_t (&out)[512]);

// Installs the handler when constructed and restores the previous filter when destroyed:
// the program's first static object, so that the reporter covers its whole life.
class t_crashHandlerScope {
public:
    t_crashHandlerScope() { InstallCrashHandler(); }
    ~t_crashHandlerScope() { RestoreCrashFilter(); }
    t_crashHandlerScope(const t_crashHandlerScope&) = delete;
    t_crashHandlerScope& operator=(const t_crashHandlerScope&) = delete;
};
