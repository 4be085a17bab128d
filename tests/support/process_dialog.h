// Finding the dialogs a process shows, for tests that answer them from a second thread or
// from another process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace n_processDialog {

struct t_search {
    DWORD process;
    HWND found;
    const std::vector<HWND>* skip;
};

inline BOOL CALLBACK FindDialog(HWND window, LPARAM context)
{
    t_search* search = reinterpret_cast<t_search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64];
    if (process != search->process || !IsWindowVisible(window) || !GetClassNameW(window, name, 64) ||
        lstrcmpiW(name, L"#32770") != 0)
        return TRUE;
    if (std::find(search->skip->begin(), search->skip->end(), window) != search->skip->end())
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace n_processDialog

// A visible top-level dialog (class "#32770") of the process that is not in skip; null
// when there is none.
inline HWND FindDialogOf(DWORD process, const std::vector<HWND>& skip)
{
    n_processDialog::t_search search = {process, nullptr, &skip};
    EnumWindows(n_processDialog::FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same for this process.
inline HWND FindProcessDialog(const std::vector<HWND>& skip) { return FindDialogOf(GetCurrentProcessId(), skip); }
