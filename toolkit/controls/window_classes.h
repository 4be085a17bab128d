// The window classes of the toolkit's own windows, registered once per process with a
// window procedure that finds the object through GWLP_USERDATA.
#pragma once

#include <windows.h>

const wchar_t* const c_topClassName = L"VxPY_top";
const wchar_t* const c_hintClassName = L"VxPY_Hint";
const wchar_t* const c_rotateClassName = L"VxPY_Rotate";
const wchar_t* const c_menuClassName = L"class_VxPY_Menu";

// The module the classes are registered for (the program's).
HINSTANCE ToolkitInstance();
// Registers the top, tooltip, rotate and menu classes unless done; false when one is missing
// afterwards.
bool RegisterToolkitClasses();
// The instance a window of a toolkit class is made with: the given one, or the program's.
inline HINSTANCE ToolkitInstanceOr(HINSTANCE instance) { return instance ? instance : ToolkitInstance(); }

// A class window procedure: the object of type T stored in GWLP_USERDATA handles every
// message through its WndProc; DefWindowProcW before it is stored and after it is cleared.
template <class T>
LRESULT CALLBACK ForwardToObject(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    T* object = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return object ? object->WndProc(window, msg, wParam, lParam) : DefWindowProcW(window, msg, wParam, lParam);
}
