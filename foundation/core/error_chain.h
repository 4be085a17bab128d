// The error chain: fallible operations append lines of Chinese text that say what went
// wrong; the top level shows them in a message box.
#pragma once

#include <windows.h>

#include <cstddef>

#include "foundation/core/str.h"

// One message line; owned by its chain.
struct t_errorLine {
    t_str text;
    t_errorLine* next = nullptr;
};

class t_errorChain {
public:
    // Report buffers hold this many characters, terminator included.
    static const size_t c_reportChars = 65536;

    using t_messageBoxFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);

    t_errorChain() = default;
    ~t_errorChain() { Clear(); }
    t_errorChain(const t_errorChain&) = delete;
    t_errorChain& operator=(const t_errorChain&) = delete;

    bool IsFailed() const { return m_failed != 0; }
    bool IsEmpty() const { return m_first == nullptr; }
    const t_errorLine* FirstLine() const { return m_first; }

    t_str& NewLine();
    t_str& AddText(const wchar_t* text);
    // Sets the failed flag, adds a formatted line and returns false for the caller to return.
    bool Fail(const wchar_t* format, ...);
    // Adds the text of the thread's last error, resets it to 0 and returns a further empty
    // line for the caller's own words.
    t_str& AddLastError();
    void Clear();
    void Reset();
    // Appends `from` and every line after it: the first into `into`, each further one into
    // a new line after the previous target (at the tail when `into` is not in this chain).
    void CopyLines(const t_errorLine* from, t_str& into);

    // Writes lines 1-9 and the last one, separated by CRLF, optionally followed by the
    // process name; cut to outChars - 1 characters (at most 65535) and terminated.
    void BuildReport(wchar_t* out, size_t outChars, bool withProcessName);
    // Shows the report (when there is one) in a message box owned by `owner`;
    // a null caption gives the default caption.
    void ShowReport(HWND owner, const wchar_t* caption);
    void Show(const wchar_t* caption) { ShowReport(nullptr, caption); }

    // Replaces the message box function (null restores MessageBoxW); returns the old one.
    static t_messageBoxFn SetMessageBoxHook(t_messageBoxFn fn);

private:
    t_errorLine* LinkAfter(t_errorLine* after);

    t_errorLine* m_first = nullptr;
    unsigned char m_failed = 0;
};

// "系统错误<code>: <system text>", control characters of the text turned into blanks.
t_str& AppendSystemErrorText(t_str& line, DWORD code);
// message + "：" + CRLF + indent + path.
t_str& AppendPathError(t_str& line, const wchar_t* message, const wchar_t* path);
// message + "：" + CRLF + "    从 " + source + CRLF + "    到 " + target.
t_str& AppendFromToError(t_str& line, const wchar_t* message, const wchar_t* source, const wchar_t* target);
