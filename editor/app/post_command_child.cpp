// Waits for the running editor's main window and posts it a menu command, as a click on
// the menu would: "post_command_child 32782" runs New. Used by the run script.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const WPARAM command = static_cast<WPARAM>(wcstoul(argv[1], nullptr, 10));
    for (int i = 0; i < 600; ++i) {
        const HWND frame = FindWindowW(L"IMEKavrel", nullptr);
        if (frame && IsWindowVisible(frame)) {
            PostMessageW(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
