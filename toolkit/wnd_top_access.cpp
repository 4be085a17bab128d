#include "toolkit/wnd_top_access.h"

// Until the top window lands, an element sees a top with no state.
bool TopHasHotElement(const t_wndTop*) { return false; }
t_wndBase* TopHotElement(const t_wndTop*) { return nullptr; }
void TopSetHot(t_wndTop*, t_wndBase*) {}
void TopClearHotElement(t_wndTop*) {}
void TopClearHot(t_wndTop*) {}
bool TopIsDragging(const t_wndTop*) { return false; }
bool TopIsShown(const t_wndTop*) { return false; }
bool TopIsOwnerMode(const t_wndTop*) { return false; }
HWND TopDrawingHwnd(const t_wndTop*) { return nullptr; }
t_wndBase* TopAsElement(t_wndTop*) { return nullptr; }
const t_wndBase* TopAsElement(const t_wndTop*) { return nullptr; }
void TopHideHint(t_wndTop*) {}
void TopShowHint(t_wndTop*, const wchar_t*, const RECT&, bool) {}
void TopPopupMenu(t_wndTop*, const t_menuData&, POINT, UINT, UINT, HWND, LPARAM) {}
