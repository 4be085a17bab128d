// The thread's cursor at the moments its windows are sent some messages, and whether a
// watched window had paint pending then: a WH_CALLWNDPROC hook on the calling thread
// sees the work from inside while the program runs unchanged. One probe at a time.
#pragma once

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

class t_cursorProbe {
public:
    struct t_sighting {
        UINT message;
        HCURSOR cursor;
        bool paintPending;
    };

    t_cursorProbe(std::vector<UINT> messages, HWND watched) : m_messages(std::move(messages)), m_watched(watched)
    {
        Current() = this;
        m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
    }
    ~t_cursorProbe()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    t_cursorProbe(const t_cursorProbe&) = delete;
    t_cursorProbe& operator=(const t_cursorProbe&) = delete;

    bool Installed() const { return m_hook != nullptr; }
    // The sightings of one message, in order.
    std::vector<t_sighting> Of(UINT message) const
    {
        std::vector<t_sighting> of;
        for (const t_sighting& seen : m_seen) {
            if (seen.message == message)
                of.push_back(seen);
        }
        return of;
    }
    // The message was seen at least once, and each time with this cursor.
    bool AlwaysWith(UINT message, HCURSOR cursor) const
    {
        const std::vector<t_sighting> of = Of(message);
        return !of.empty() &&
               std::all_of(of.begin(), of.end(), [cursor](const t_sighting& seen) { return seen.cursor == cursor; });
    }

    static HCURSOR Wait() { return LoadCursorW(nullptr, IDC_WAIT); }
    static HCURSOR Arrow() { return LoadCursorW(nullptr, IDC_ARROW); }

private:
    static t_cursorProbe*& Current()
    {
        static t_cursorProbe* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam)
    {
        t_cursorProbe* probe = Current();
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && probe &&
            std::find(probe->m_messages.begin(), probe->m_messages.end(), sent->message) != probe->m_messages.end()) {
            const bool pending = probe->m_watched && GetUpdateRect(probe->m_watched, nullptr, FALSE);
            probe->m_seen.push_back({sent->message, GetCursor(), pending});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    std::vector<UINT> m_messages;
    HWND m_watched;
    HHOOK m_hook = nullptr;
    std::vector<t_sighting> m_seen;
};
