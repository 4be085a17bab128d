#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process_dialog.h"

// Answers the modal dialogs (message boxes, file dialogs) of this process from a second
// thread, the way a user would: each step waits for a new dialog to appear, records its
// caption and texts, and presses a button (after typing a file name into a file dialog).
// The UI thread meanwhile runs the command that opened the dialog.
class t_dialogDriver {
public:
    struct t_step {
        int button;             // IDYES, IDNO, IDOK, IDCANCEL ...
        std::wstring fileName;  // typed into the dialog's file-name box first, when not empty
    };
    struct t_seen {
        std::wstring caption;
        std::wstring text;  // the static texts, joined by '\n'
    };

    static const DWORD c_unexpectedWaitMs = 3000;

    t_dialogDriver() : m_stop(false), m_thread([this] { Loop(); }) {}
    ~t_dialogDriver()
    {
        m_stop = true;
        m_thread.join();
    }

    void Press(int button) { Push({button, std::wstring()}); }
    void Type(const std::wstring& fileName, int button = IDOK) { Push({button, fileName}); }

    // The dialogs answered so far.
    std::vector<t_seen> Seen()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    // Dialogs that appeared with no step waiting; they were cancelled.
    std::vector<t_seen> Unexpected()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_unexpected;
    }
    bool AllAnswered()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_steps.empty();
    }

    static std::wstring TextOf(HWND window)
    {
        wchar_t text[1024];
        GetWindowTextW(window, text, 1024);
        return text;
    }

private:
    void Push(const t_step& step)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_steps.push_back(step);
    }

    static BOOL CALLBACK CollectTexts(HWND window, LPARAM context)
    {
        wchar_t name[64];
        if (GetClassNameW(window, name, 64) && lstrcmpiW(name, L"Static") == 0 && IsWindowVisible(window)) {
            std::wstring* text = reinterpret_cast<std::wstring*>(context);
            const std::wstring piece = TextOf(window);
            if (!piece.empty())
                *text += (text->empty() ? L"" : L"\n") + piece;
        }
        return TRUE;
    }

    static BOOL CALLBACK FindEdit(HWND window, LPARAM context)
    {
        wchar_t name[64];
        if (GetClassNameW(window, name, 64) && lstrcmpiW(name, L"Edit") == 0 && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(context) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Answer(HWND dialog, const t_step& step, bool unexpected)
    {
        t_seen seen;
        seen.caption = TextOf(dialog);
        EnumChildWindows(dialog, CollectTexts, reinterpret_cast<LPARAM>(&seen.text));
        if (!step.fileName.empty()) {
            HWND edit = nullptr;
            EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
            if (edit)
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.fileName.c_str()));
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            (unexpected ? m_unexpected : m_seen).push_back(seen);
        }
        const HWND button = GetDlgItem(dialog, step.button);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    void Loop()
    {
        std::vector<HWND> answered;
        DWORD unexpectedSince = 0;
        while (!m_stop) {
            Sleep(30);
            t_step step;
            bool expected;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                expected = !m_steps.empty();
                if (expected)
                    step = m_steps.front();
            }
            const HWND found = FindProcessDialog(answered);
            if (!found) {
                unexpectedSince = 0;
                continue;
            }
            if (!expected) {
                // A dialog nobody asked for would hang the test: cancel it after a while
                // and let the test see it.
                if (!unexpectedSince)
                    unexpectedSince = GetTickCount();
                if (GetTickCount() - unexpectedSince < c_unexpectedWaitMs)
                    continue;
                Answer(found, {IDCANCEL, std::wstring()}, true);
                answered.push_back(found);
                unexpectedSince = 0;
                continue;
            }
            // Let the dialog finish setting itself up before it is answered.
            Sleep(150);
            Answer(found, step, false);
            answered.push_back(found);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_steps.pop_front();
        }
    }

    std::atomic<bool> m_stop;
    std::mutex m_mutex;
    std::deque<t_step> m_steps;
    std::vector<t_seen> m_seen;
    std::vector<t_seen> m_unexpected;
    std::thread m_thread;
};
