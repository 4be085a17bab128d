#include "toolkit/ownerdraw/owner_draw_hover_button.h"

#include "foundation/win/scoped_win.h"
#include "graphics/paint/paint_ctx.h"

namespace {

const int c_maxButtonText = 260;

// The icon centred at its own size when the item is large enough, else the whole item.
RECT CentredIconRect(const RECT& item, SIZE size)
{
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    if (width < size.cx || height < size.cy)
        return item;
    const int x = item.left + (width - size.cx) / 2;
    const int y = item.top + (height - size.cy) / 2;
    return RECT{x, y, x + size.cx, y + size.cy};
}

// One frame of a strip: the record of the first frame moved right by index frames.
t_image FrameOf(const t_image& first, int index)
{
    t_image frame = first;
    frame.partX = first.partX + index * first.partWidth;
    // The frame shares the strip's bitmap; only the face frees it.
    frame.ownsSource = 0;
    return frame;
}

}  // namespace

t_wndOwnerDrawHoverButton::t_wndOwnerDrawHoverButton()
    : state(e_normal), hovering(false), pressed(false), textColor(0), pressedTextColor(0), drawFocus(false),
      drawIcon(false), threeColors(false), normalColor(0), hoverColor(0), downColor(0), iconPlacer(nullptr)
{
    hoverImage.Init();
    pressedImage.Init();
    icon.Init();
}

t_wndOwnerDrawHoverButton::~t_wndOwnerDrawHoverButton()
{
    t_wndOwnerDrawHoverButton::Detach();
    icon.Release();
}

void t_wndOwnerDrawHoverButton::ResetLooks()
{
    hoverImage.Init();
    pressedImage.Init();
    state = e_normal;
    hovering = false;
    pressed = false;
    textColor = 0;
    pressedTextColor = 0;
    threeColors = false;
    normalColor = hoverColor = downColor = 0;
}

void t_wndOwnerDrawHoverButton::Detach()
{
    t_wndOwnerDrawButton::Detach();
    ResetLooks();
}

void t_wndOwnerDrawHoverButton::OnAttached()
{
    // The face is the first frame of the strip; measured from the full picture, so that
    // attaching again does not cut it again.
    const int frames = FrameCount();
    if (frames > 0 && !face.IsBitmapEmpty())
        face.partWidth = (face.fullWidth - face.partX) / frames;
    t_wndOwnerDrawButton::OnAttached();
}

bool t_wndOwnerDrawHoverButton::Attach(HWND dialog, int newItemId, const wchar_t* picture, HMODULE module,
                                       const wchar_t* backgroundPicture)
{
    if (!AttachDlgItem(dialog, newItemId, picture, module, backgroundPicture))
        return false;
    hoverImage = FrameOf(face, 1);
    pressedImage = FrameOf(face, 2);
    return true;
}

void t_wndOwnerDrawHoverButton::Repaint()
{
    if (hwnd)
        InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT t_wndOwnerDrawHoverButton::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MSG record = {window, msg, wParam, lParam, 0, {0, 0}};
    PreTranslate(record);
    switch (msg) {
    case WM_MOUSEMOVE:
        // The wrapper's procedure asks for WM_MOUSELEAVE (TracksLeave).
        OnMouseMove(window, msg, wParam, lParam);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(window, msg, wParam, lParam);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(window, msg, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(window, msg, wParam, lParam);
        break;
    case WM_RBUTTONUP:
        OnRClick(wParam, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    default:
        break;
    }
    return t_wndOwnerDrawButton::WndProc(window, msg, wParam, lParam);
}

bool t_wndOwnerDrawHoverButton::OnMouseMove(HWND, UINT, WPARAM, LPARAM)
{
    if (!hovering) {
        state = e_hover;
        hovering = true;
        Repaint();
    }
    return true;
}

bool t_wndOwnerDrawHoverButton::OnMouseLeave(HWND, UINT, WPARAM, LPARAM)
{
    hovering = false;
    state = e_normal;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButton::OnLButtonDown(HWND, UINT, WPARAM, LPARAM)
{
    state = e_pressed;
    pressed = true;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButton::OnLButtonUp(HWND, UINT, WPARAM, LPARAM)
{
    state = e_normal;
    pressed = false;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    const t_image* frame = nullptr;
    switch (state) {
    case e_normal:
        frame = &face;
        break;
    case e_hover:
        frame = &hoverImage;
        break;
    case e_pressed:
        frame = &pressedImage;
        break;
    default:
        return false;
    }
    wchar_t label[c_maxButtonText + 1] = L"";
    if (item.hwndItem)
        GetWindowTextW(item.hwndItem, label, c_maxButtonText + 1);
    const bool drawn = DrawBuffered(item, [&](HDC dc, int width, int height) {
        t_paintCtx context(dc, false, nullptr, false);
        if (!background.IsBitmapEmpty())
            background.Draw(context, 0, 0, background.partWidth, background.partHeight, 255);
        t_image shown = *frame;
        shown.Draw(context, 0, 0, shown.partWidth, shown.partHeight, 255);
        const RECT all = {0, 0, width, height};
        if (drawIcon) {
            if (icon.holder == t_image::e_ownBitmap && icon.ref.IsBitmap()) {
                const SIZE size = {icon.partWidth, icon.partHeight};
                const RECT target = iconPlacer ? iconPlacer(all, size) : CentredIconRect(all, size);
                icon.Draw(context, target.left, target.top, target.right - target.left, target.bottom - target.top,
                          255);
            }
        } else if (label[0]) {
            COLORREF color = state == e_pressed ? pressedTextColor : textColor;
            if (threeColors)
                color = state == e_pressed ? downColor : state == e_hover ? hoverColor : normalColor;
            HFONT font =
                item.hwndItem ? reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)) : nullptr;
            t_scopedSelectObject selectedFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, color);
            RECT textRect = all;
            DrawTextW(dc, label, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
        if (drawFocus && (item.itemState & ODS_FOCUS)) {
            RECT focus = {3, 3, width - 3, height - 3};
            DrawFocusRect(dc, &focus);
        }
        context.End();
        return true;
    });
    return drawn;
}
