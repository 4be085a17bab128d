#include "foundation/core/error_chain.h"

#include <cstdlib>
#include <cwchar>

#include "foundation/core/exe_path.h"

namespace {

t_errorChain::t_messageBoxFn g_messageBox = &MessageBoxW;

// Copies into a fixed buffer and silently stops at its end.
class t_boundedWriter {
public:
    t_boundedWriter(wchar_t* out, size_t limit) : m_out(out), m_limit(limit) {}
    void Put(const wchar_t* text, size_t count)
    {
        const size_t room = m_limit - m_used;
        if (count > room)
            count = room;
        wmemcpy(m_out + m_used, text, count);
        m_used += count;
    }
    void Put(const wchar_t* text) { Put(text, wcslen(text)); }
    void Put(const t_str& text) { Put(text.c_str(), static_cast<size_t>(text.Length())); }
    void End() { m_out[m_used] = 0; }

private:
    wchar_t* m_out;
    size_t m_limit;
    size_t m_used = 0;
};

}  // namespace

t_errorLine* t_errorChain::LinkAfter(t_errorLine* after)
{
    t_errorLine* line = new t_errorLine;
    if (after) {
        line->next = after->next;
        after->next = line;
    } else if (!m_first) {
        m_first = line;
    } else {
        t_errorLine* tail = m_first;
        while (tail->next)
            tail = tail->next;
        tail->next = line;
    }
    return line;
}

t_str& t_errorChain::NewLine() { return LinkAfter(nullptr)->text; }

t_str& t_errorChain::AddText(const wchar_t* text)
{
    t_str& line = NewLine();
    line.Assign(text);
    return line;
}

bool t_errorChain::Fail(const wchar_t* format, ...)
{
    m_failed = 1;
    t_str& line = NewLine();
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    return false;
}

t_str& t_errorChain::AddLastError()
{
    const DWORD code = GetLastError();
    AppendSystemErrorText(NewLine(), code);
    SetLastError(0);
    return NewLine();
}

void t_errorChain::Clear()
{
    t_errorLine* line = m_first;
    m_first = nullptr;
    while (line) {
        t_errorLine* next = line->next;
        delete line;
        line = next;
    }
}

void t_errorChain::Reset()
{
    m_failed = 0;
    Clear();
}

void t_errorChain::CopyLines(const t_errorLine* from, t_str& into)
{
    // Counted first: when `from` lies in this chain the copies must not be copied again.
    size_t count = 0;
    for (const t_errorLine* line = from; line; line = line->next)
        ++count;
    t_errorLine* target = nullptr;
    for (t_errorLine* line = m_first; line; line = line->next) {
        if (&line->text == &into) {
            target = line;
            break;
        }
    }
    if (!from)
        return;
    into.AppendStr(from->text);
    for (const t_errorLine* line = from->next; line && count > 1; line = line->next, --count) {
        t_errorLine* copy = LinkAfter(target);
        copy->text.AppendStr(line->text);
        if (target)
            target = copy;
    }
}

void t_errorChain::BuildReport(wchar_t* out, size_t outChars, bool withProcessName)
{
    if (!out || !outChars)
        return;
    const size_t limit = (outChars < c_reportChars ? outChars : c_reportChars) - 1;
    t_boundedWriter writer(out, limit);
    if (m_first) {
        m_failed = 0;
        int number = 1;
        for (const t_errorLine* line = m_first; line; line = line->next, ++number) {
            // Past the ninth line only the last one is kept: the outermost verdict.
            if (number > 9 && line->next)
                continue;
            writer.Put(line->text);
            if (line->next && number <= 9)
                writer.Put(L"\r\n");
        }
        if (withProcessName) {
            t_str path;
            if (GetExePath(path)) {
                writer.Put(L"\r\n\r\n进程名：");
                writer.Put(path.c_str() + (path.ReverseFindBackslash() + 1));
            }
        }
    }
    writer.End();
}

void t_errorChain::ShowReport(HWND owner, const wchar_t* caption)
{
    m_failed = 0;
    wchar_t* report = static_cast<wchar_t*>(std::malloc(c_reportChars * sizeof(wchar_t)));
    if (!report)
        return;
    BuildReport(report, c_reportChars, false);
    if (report[0])
        g_messageBox(owner, report, caption ? caption : L"栖鹭拼音输入法错误报告", MB_OK);
    std::free(report);
}

t_errorChain::t_messageBoxFn t_errorChain::SetMessageBoxHook(t_messageBoxFn fn)
{
    t_messageBoxFn old = g_messageBox;
    g_messageBox = fn ? fn : &MessageBoxW;
    return old;
}

t_str& AppendSystemErrorText(t_str& line, DWORD code)
{
    line.Append(L"系统错误");
    line.AppendUInt(code);
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (n > 0 && text) {
        for (DWORD i = 0; i < n; ++i) {
            if (text[i] < 32)
                text[i] = L' ';
        }
        line.Append(L": ");
        line.Append(text);
    } else if (code == 12002) {
        // The network time-out code has no system text of its own.
        line.Append(L": 网络连接超时");
    }
    if (text)
        LocalFree(text);
    return line;
}

t_str& AppendPathError(t_str& line, const wchar_t* message, const wchar_t* path)
{
    // Four blanks, an ideographic space and a blank: the path lines up under the
    // source and target of the next builder.
    line.Append(message);
    line.Append(L"：\r\n    　 ");
    line.Append(path);
    return line;
}

t_str& AppendFromToError(t_str& line, const wchar_t* message, const wchar_t* source, const wchar_t* target)
{
    line.Append(message);
    line.Append(L"：\r\n    从 ");
    line.Append(source);
    line.Append(L"\r\n    到 ");
    line.Append(target);
    return line;
}
