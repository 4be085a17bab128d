#include "toolkit/controls/wnd_top_access.h"

#include "toolkit/controls/wnd_hint.h"
#include "toolkit/controls/wnd_menu.h"
#include "toolkit/controls/wnd_top.h"

bool TopHasHotElement(const t_wndTop* top) { return top->hotFlag && top->hotElement; }

t_wndBase* TopHotElement(const t_wndTop* top) { return top->hotElement; }

void TopSetHot(t_wndTop* top, t_wndBase* element)
{
    top->hotFlag = true;
    top->hotElement = element;
}

void TopClearHotElement(t_wndTop* top) { top->hotElement = nullptr; }

void TopClearHot(t_wndTop* top)
{
    top->hotFlag = false;
    top->hotElement = nullptr;
}

bool TopIsDragging(const t_wndTop* top) { return top->dragging; }

bool TopIsShown(const t_wndTop* top) { return top->shown; }

bool TopIsOwnerMode(const t_wndTop* top) { return top->ownerMode; }

HWND TopDrawingHwnd(const t_wndTop* top) { return top->ownerMode ? top->ownerHwnd : top->hwnd; }

t_wndBase* TopAsElement(t_wndTop* top) { return top; }

const t_wndBase* TopAsElement(const t_wndTop* top) { return top; }

void TopHideHint(t_wndTop* top)
{
    if (top->hint)
        top->hint->Hide();
}

void TopShowHint(t_wndTop* top, const wchar_t* text, const RECT& anchor, bool below)
{
    t_wndHint* hint = top->GetHint();
    if (!hint)
        return;
    hint->SetText(text);
    hint->ShowNearRect(anchor, below);
}

void TopPopupMenu(t_wndTop* top, const t_menuData& data, POINT point, UINT alignFlags, UINT fitFlags, HWND notifyHwnd,
                  LPARAM param)
{
    t_wndMenu* menu = top->GetMenu();
    if (!menu)
        return;
    menu->SetMenuData(data);
    const RECT anchor = top->GetRect();
    menu->Popup(&point, alignFlags, fitFlags, &anchor, notifyHwnd, param);
}
