// The private window messages of the input method's windows, each value once.
#pragma once

#include <windows.h>

// The flash children's messages to the window that holds them: a player's notice (wParam
// window << 16 | (~index & 0xFFFF)) and a flash command (wParam kind, lParam command).
const UINT c_flashNotifyMessage = 27244;
const UINT c_flashCommandMessage = 27245;

// A composition item's fade ended: posted to the owning top with wParam the final alpha and
// lParam the item's index in the composition string (timer id - 150). A composition window
// posts it on to the host window with the same wParam and lParam.
const UINT c_msgFadeDone = WM_USER + 0x123;

// Posted to the context's host window (wParam 0, lParam 0) after a release on the candidate list.
const UINT c_msgCandListReleased = WM_APP + 0x3FA;

// The status bar's messages from its buttons and popups.
// The skin-box tip tells the hint of a click (lParam 0) or a time-out (lParam 1); the hint
// passes it on to the bar, which launches the skin box.
const UINT c_msgSkinBoxLaunch = WM_APP + 0x401;
// The skin-box hint hid.
const UINT c_msgSkinBoxHidden = WM_APP + 0x402;
// The setup tip was clicked.
const UINT c_msgSetupTipClicked = WM_APP + 0x403;
// The bar configuration closed: wParam 1 confirmed, 0 cancelled.
const UINT c_msgBarConfigDone = WM_APP + 0x404;
// The logo button asks to open or close the bar configuration.
const UINT c_msgBarConfigOpen = WM_APP + 0x405;
// Not handled by the bar.
const UINT c_msgStatusUnused = WM_APP + 0x406;
// The menu button asks for the toolbox: wParam x | y << 16, lParam width | height << 16.
const UINT c_msgToolbox = WM_APP + 0x407;
// The toolbox tip was clicked: the host's popup at the bar's top-right corner.
const UINT c_msgCornerPopup = WM_APP + 0x408;
