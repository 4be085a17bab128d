#include "ime_ui/windows/base/ime_message_guard.h"

#include "foundation/process/crash_report.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

// The exception code of a C++ exception, as the crash report names it.
const DWORD c_cppExceptionCode = 0xE06D7363;

void ReportToCrashHandler()
{
    CONTEXT context = {};
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = c_cppExceptionCode;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
    EXCEPTION_POINTERS pointers = {&record, &context};
    HandleCrash(&pointers);
}

t_uiExceptionReporter g_reporter = ReportToCrashHandler;
LONG g_reported = 0;

}  // namespace

bool IsImeUiMessage(UINT msg)
{
    return (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION) ||
           (msg >= WM_IME_SETCONTEXT && msg <= WM_IME_CHAR);
}

t_enterMessageGuard::t_enterMessageGuard(UiWrapImplBase& ui) : m_ui(ui) { m_ui.EnterMessage(1); }

t_enterMessageGuard::~t_enterMessageGuard() { m_ui.EnterMessage(0); }

void SetUiExceptionReporter(t_uiExceptionReporter reporter)
{
    g_reporter = reporter ? reporter : ReportToCrashHandler;
    InterlockedExchange(&g_reported, 0);
}

void ReportUiExceptionOnce()
{
    if (InterlockedExchange(&g_reported, 1) == 0 && g_reporter)
        g_reporter();
}
