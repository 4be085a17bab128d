#include "ime_ui/windows/flash/wnd_flash_popup_impl.h"

#include "interfaces/flash_interfaces.h"

bool t_wndFlashPopupImpl::CreateFlash(HWND host, HWND, int, LPARAM packedId, t_wndBase* owner)
{
    // The element stays an empty child of the window, so that the window deletes it (and
    // lets the player go) with its other flash children; it draws and takes nothing.
    if (owner && !t_wndBase::Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, owner))
        return false;
    // The player's own window is no child control of the skinned window.
    return CreateStub(host, 0, packedId);
}

void t_wndFlashPopupImpl::FollowRect(const RECT& r)
{
    if (stub)
        stub->Move(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void t_wndFlashPopupImpl::FollowShow(bool shown)
{
    if (stub)
        stub->Show(shown);
}
