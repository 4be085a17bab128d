#include "toolkit/ownerdraw/owner_draw_button.h"

#include <commctrl.h>

#include "graphics/paint/paint_ctx.h"

bool LoadButtonPicture(HMODULE module, const wchar_t* picture, t_image& record)
{
    record.Init();
    if (!picture)
        return false;
    if (IS_INTRESOURCE(picture) &&
        t_image::LoadBitmapResource(module, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(picture)), record))
        return true;
    if (record.LoadResource(module, picture))
        return true;
    record.Init();
    return false;
}

t_wndOwnerDrawButton::t_wndOwnerDrawButton() : itemId(0)
{
    face.Init();
    background.Init();
}

t_wndOwnerDrawButton::~t_wndOwnerDrawButton() { t_wndOwnerDrawButton::Detach(); }

void t_wndOwnerDrawButton::Detach()
{
    t_wndBaseHandle::Detach();
    face.Release();
    background.Release();
    face.Init();
    background.Init();
}

void t_wndOwnerDrawButton::OnAttached()
{
    if (hwnd)
        SetWindowPos(hwnd, nullptr, 0, 0, face.partWidth, face.partHeight, SWP_NOZORDER | SWP_NOMOVE);
}

bool t_wndOwnerDrawButton::AttachDlgItem(HWND dialog, int newItemId, const wchar_t* picture, HMODULE module,
                                         const wchar_t* backgroundPicture)
{
    HWND control = GetDlgItem(dialog, newItemId);
    if (!control)
        return false;
    itemId = newItemId;
    t_image loaded;
    if (!LoadButtonPicture(module, picture, loaded))
        return false;
    // A wrapper attached before lets go of its window and pictures first.
    if (hwnd && hwnd != control)
        Detach();
    face.Release();
    face = loaded;
    background.Release();
    background.Init();
    if (backgroundPicture) {
        t_image back;
        if (LoadButtonPicture(module, backgroundPicture, back))
            background = back;
    }
    return Attach(control);
}

LRESULT t_wndOwnerDrawButton::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MSG record = {window, msg, wParam, lParam, 0, {0, 0}};
    PreTranslate(record);
    switch (msg) {
    case WM_RBUTTONUP:
        OnRClick(wParam, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_SETCURSOR:
        // The hand is set for this control alone: changing the class cursor would change
        // it for every button of the process.
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return t_wndBaseHandle::WndProc(window, msg, wParam, lParam);
}

void t_wndOwnerDrawButton::OnRClick(WPARAM, POINT)
{
    HWND parent = hwnd ? GetParent(hwnd) : nullptr;
    if (!parent)
        return;
    NMHDR header = {hwnd, static_cast<UINT_PTR>(itemId), static_cast<UINT>(NM_RCLICK)};
    SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(itemId), reinterpret_cast<LPARAM>(&header));
}

bool t_wndOwnerDrawButton::DrawBuffered(const DRAWITEMSTRUCT& item,
                                        const std::function<bool(HDC dc, int width, int height)>& paint)
{
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    t_memDC buffer;
    if (!t_memDC::Create(buffer, item.hDC, width, height))
        return false;
    // What is under the control shows through the transparent parts of its pictures.
    BitBlt(buffer.dc, 0, 0, width, height, item.hDC, item.rcItem.left, item.rcItem.top, SRCCOPY);
    const bool result = paint(buffer.dc, width, height);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer.dc, 0, 0, SRCCOPY);
    return result;
}

bool t_wndOwnerDrawButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    DrawBuffered(item, [this](HDC dc, int, int) {
        t_paintCtx context(dc, false, nullptr, false);
        face.Draw(context, 0, 0, face.partWidth, face.partHeight, 255);
        context.End();
        return true;
    });
    return true;
}

bool t_wndOwnerDrawButton::DrawItemOf(const DRAWITEMSTRUCT* item)
{
    if (!item || item->CtlType != ODT_BUTTON)
        return false;
    t_wndOwnerDrawButton* button = dynamic_cast<t_wndOwnerDrawButton*>(FromHwnd(item->hwndItem));
    return button && button->DrawItem(*item);
}
