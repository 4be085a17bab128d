#include "toolkit/controls/window_classes.h"

#include "toolkit/controls/wnd_rotate.h"
#include "toolkit/controls/wnd_top.h"

namespace {

bool RegisterOne(const wchar_t* name, WNDPROC procedure)
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ToolkitInstance(), name, &existing))
        return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    // No CS_DBLCLKS: tops make their own double clicks. No class cursor: the elements
    // choose the cursor while the mouse moves.
    wc.lpfnWndProc = procedure;
    wc.hInstance = ToolkitInstance();
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HINSTANCE ToolkitInstance() { return GetModuleHandleW(nullptr); }

bool RegisterToolkitClasses()
{
    static bool registered = false;
    if (registered)
        return true;
    registered = RegisterOne(c_topClassName, ForwardToObject<t_wndTop>) &&
                 RegisterOne(c_hintClassName, ForwardToObject<t_wndTop>) &&
                 RegisterOne(c_rotateClassName, ForwardToObject<t_wndRotate>) &&
                 RegisterOne(c_menuClassName, ForwardToObject<t_wndTop>);
    return registered;
}
