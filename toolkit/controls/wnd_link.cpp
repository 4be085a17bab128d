#include "toolkit/controls/wnd_link.h"

#include "foundation/process/url.h"

void t_wndLink::OnMouseLeave()
{
    t_wndTextItem::OnMouseLeave();
    ShowHint(false);
}

bool t_wndLink::OnMouseHover(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    t_wndBase::OnMouseHover(keys, x, y);
    ShowHint(true);
    return true;
}

bool t_wndLink::OnLButtonUp(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    if (!url.IsEmpty())
        Open(url.c_str());
    return t_wndBase::OnLButtonUp(keys, x, y);
}

void t_wndLink::SetUrl(const wchar_t* link)
{
    if (!link)
        url.Clear();
    else
        url.Assign(link);
}

void t_wndLink::Open(const wchar_t* link) { OpenUrl(link); }
