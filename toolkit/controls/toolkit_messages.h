// The toolkit's private window messages, each value once.
#pragma once

#include <windows.h>

// Sent to a menu's notify window: wParam the row's command, lParam a t_menuHoverInfo*.
const UINT c_menuItemHoverMessage = WM_USER + 26;
// Sent to a menu's notify window: wParam the row's command, lParam the description's user value.
const UINT c_menuItemLeaveMessage = WM_USER + 27;
// Private message a top passes to OnPrivateMessage.
const UINT c_topPrivateMessage = WM_USER + 123;
// Posted by a subclassing wrapper to the control's parent: wParam the wrapper's id, lParam
// the control's window.
const UINT c_handleHoverMessage = WM_USER + 1001;
const UINT c_handleLeaveMessage = WM_USER + 1002;
