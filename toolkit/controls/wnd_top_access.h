// What an element asks of its top window: the hot element, drag and show state, the
// drawing window, the tooltip and the popup menu. Kept in one place so that the element
// needs nothing else of t_wndTop.
#pragma once

#include <windows.h>

class t_menuData;
class t_wndBase;
class t_wndTop;

// The hot flag is set and a hot element is recorded.
bool TopHasHotElement(const t_wndTop* top);
t_wndBase* TopHotElement(const t_wndTop* top);
// Sets the hot flag and makes element the hot element.
void TopSetHot(t_wndTop* top, t_wndBase* element);
// Clears the hot element only.
void TopClearHotElement(t_wndTop* top);
// Clears the hot flag and the hot element.
void TopClearHot(t_wndTop* top);
bool TopIsDragging(const t_wndTop* top);
bool TopIsShown(const t_wndTop* top);
bool TopIsOwnerMode(const t_wndTop* top);
// The owner window in owner mode, else the top's own window.
HWND TopDrawingHwnd(const t_wndTop* top);
// The top as the root element of its tree.
t_wndBase* TopAsElement(t_wndTop* top);
const t_wndBase* TopAsElement(const t_wndTop* top);
// Hides the tooltip when it exists.
void TopHideHint(t_wndTop* top);
// Shows the tooltip (created on first use) with the text near the anchor rectangle.
void TopShowHint(t_wndTop* top, const wchar_t* text, const RECT& anchor, bool below);
// Hands the description to the top's popup menu and shows it anchored on the top.
void TopPopupMenu(t_wndTop* top, const t_menuData& data, POINT point, UINT alignFlags, UINT fitFlags, HWND notifyHwnd,
                  LPARAM param);
