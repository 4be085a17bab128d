// What the input method's window procedures share: the IME messages they answer with 0
// and never pass on, the host's EnterMessage bracket around every other message, and the
// guard that ends a message with 0 when its handling throws, reporting the first such
// exception of the process.
#pragma once

#include <windows.h>

class UiWrapImplBase;

// WM_IME_STARTCOMPOSITION to WM_IME_COMPOSITION and WM_IME_SETCONTEXT to WM_IME_CHAR.
bool IsImeUiMessage(UINT msg);

// EnterMessage(1) for the life of a message, EnterMessage(0) on every way out.
class t_enterMessageGuard {
public:
    explicit t_enterMessageGuard(UiWrapImplBase& ui);
    ~t_enterMessageGuard();
    t_enterMessageGuard(const t_enterMessageGuard&) = delete;
    t_enterMessageGuard& operator=(const t_enterMessageGuard&) = delete;

private:
    UiWrapImplBase& m_ui;
};

// Reports an exception that ended a message; the default hands it to the crash reporter.
using t_uiExceptionReporter = void (*)();
// Null puts the default back; either way the next exception is reported again.
void SetUiExceptionReporter(t_uiExceptionReporter reporter);
// Runs the reporter for the first exception of the process only.
void ReportUiExceptionOnce();

// The answer of handle(), or 0 when it throws.
template <class F>
LRESULT RunGuarded(F&& handle)
{
    try {
        return handle();
    } catch (...) {
        ReportUiExceptionOnce();
        return 0;
    }
}
