#include "ime_ui/windows/skinbox/wnd_skin_box_tip.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/win/rect.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "graphics/text/font.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_text_array.h"

namespace {

const wchar_t* const c_lineBreak = L"\r\n";
const DWORD c_popupExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
// The background's corners are kept when it is stretched over the bubble.
const t_insets c_backgroundInsets = {8, 8, 8, 8};

SIZE PictureSize(const t_image& picture)
{
    if (picture.IsBitmapEmpty())
        return SIZE{0, 0};
    return SIZE{std::max(picture.partWidth, 0), std::max(picture.partHeight, 0)};
}

}  // namespace

const wchar_t* const t_wndSkinBoxTip::c_pictureNames[e_pictureCount] = {
    L"IDR_PNG_SKINBOX_HINT_BK",    L"IDR_PNG_SKINBOX_POINT",       L"IDR_PNG_SKINBOX_POINT_UP",
    L"IDR_PNG_SKINBOX_POINT_LEFT", L"IDR_PNG_SKINBOX_POINT_RIGHT",
};

t_wndSkinBoxTip::t_wndSkinBoxTip()
    : textArray(nullptr), outerLayout(nullptr), font(nullptr), clampToWorkArea(true), resourceModule(nullptr),
      notifyWindow(nullptr), notifyMessage(0), firstShow(true), startTick(0),
      animating(false), targetRect{}, startRect{}, arrow(e_arrowDown), arrowAt{0, 0}, m_verticalArrow(true)
{
    for (t_image& picture : pictures)
        picture.Init();
    for (t_image& cell : background.cells)
        cell.Init();
    dragEnabled = false;
    cursor = LoadCursorW(nullptr, IDC_HAND);
}

t_wndSkinBoxTip::~t_wndSkinBoxTip() { Destroy(); }

bool t_wndSkinBoxTip::Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                             t_wndBase* parentElement)
{
    if (!CreateWindowOfClass(c_topClassName, L"", style, x, y, width, height, ownerHwnd, instance, parentElement,
                             c_popupExStyle))
        return false;
    SetLayered(true);
    SetPerPixelAlpha(true);
    LoadTipImages();
    if (!font) {
        LOGFONTW logFont = {};
        logFont.lfHeight = -12;
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = CLEARTYPE_NATURAL_QUALITY;
        wcscpy(logFont.lfFaceName, L"SimSun");
        t_font::Create(logFont, font, true);
    }
    BuildTipText(tipText.c_str());
    return true;
}

void t_wndSkinBoxTip::Destroy()
{
    if (hwnd) {
        KillTimer(hwnd, c_slideTimerId);
        KillTimer(hwnd, c_hideTimerId);
    }
    t_wndTop::Destroy();
    // The top deleted the layout tree, the text array's grid with it.
    outerLayout = nullptr;
    textArray = nullptr;
    for (t_image& picture : pictures) {
        picture.Release();
        picture.Init();
    }
    if (font) {
        t_font::Release(font);
        font = nullptr;
    }
}

bool t_wndSkinBoxTip::LoadTipImages()
{
    bool all = true;
    for (int i = 0; i < e_pictureCount; ++i) {
        pictures[i].Release();
        if (!pictures[i].LoadResource(resourceModule, c_pictureNames[i])) {
            pictures[i].Init();
            all = false;
        }
    }
    for (t_image& cell : background.cells)
        cell.Init();
    const t_image& back = pictures[e_background];
    if (!back.IsBitmapEmpty()) {
        t_imageSet9::SetFromBitmap(background, static_cast<HBITMAP>(back.ref.handle), c_backgroundInsets, 0, 0,
                                   c_noColorKey, c_noColorKey, t_image::e_stretch, t_image::e_stretch);
    }
    return all;
}

void t_wndSkinBoxTip::BuildTipText(const wchar_t* newText)
{
    if (newText != tipText.c_str())
        tipText.Assign(newText ? newText : L"");
    // A new text gets a new array and a new layout tree.
    SetLayout(nullptr);
    outerLayout = nullptr;
    if (textArray) {
        delete textArray;
        textArray = nullptr;
    }
    textArray = new (std::nothrow) t_wndTextArray();
    if (!textArray)
        return;
    textArray->orientation = t_wndTextArray::e_column;
    if (!textArray->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, this)) {
        delete textArray;
        textArray = nullptr;
        return;
    }
    const t_textItemStyle style = {c_textColor, c_backColor, 0, font, false};
    const wchar_t* piece = tipText.c_str();
    for (;;) {
        const wchar_t* end = wcsstr(piece, c_lineBreak);
        t_str line;
        if (end)
            line.AssignN(piece, static_cast<int>(end - piece));
        else
            line.Assign(piece);
        textArray->AddTextItem(line.c_str(), style, style, t_wndTextArray::e_alignStretch, 0);
        if (!end)
            break;
        piece = end + 2;
    }
    const int geometry[t_wndTextArray::c_valueCount] = {0, 0, 0, 0, c_lineGap, c_lineGap};
    textArray->SetGeometry(geometry);
    textArray->CreateLayout();

    auto made = MakeOwned<t_layoutAligned>();
    outerLayout = made.get();
    if (!outerLayout)
        return;
    outerLayout->SetRect(rect);
    SetLayout(std::move(made));
    if (textArray->layout)
        outerLayout->AddChild(t_layoutPtr(textArray->layout),
                              t_alignInfo{t_alignInfo::e_near, c_marginX, t_alignInfo::e_free, 0, t_alignInfo::e_near,
                                          c_marginY, t_alignInfo::e_free, 0, 0, 0, 0, 0, 0});
}

int t_wndSkinBoxTip::ArrowBand(bool vertical) const
{
    const SIZE up = PictureSize(pictures[vertical ? e_arrowDown : e_arrowRight]);
    return vertical ? up.cy : up.cx;
}

SIZE t_wndSkinBoxTip::MeasureTip(bool vertical)
{
    m_verticalArrow = vertical;
    if (!outerLayout)
        return SIZE{0, 0};
    // The arrow's band lies on both sides of the axis: the one not used stays clear.
    const int band = ArrowBand(vertical);
    t_alignInfo* text = textArray && textArray->layout ? outerLayout->FindChild(textArray->layout) : nullptr;
    if (text) {
        text->leftMargin = c_marginX + (vertical ? 0 : band);
        text->rightMargin = c_marginX + (vertical ? 0 : band);
        text->topMargin = c_marginY + (vertical ? band : 0);
        text->bottomMargin = c_marginY + (vertical ? band : 0);
    }
    RelayoutOnWindowDc();
    const RECT own = layout ? layout->GetRect() : rect;
    return SIZE{RectWidth(own), RectHeight(own)};
}

RECT t_wndSkinBoxTip::ComputeTipRect(POINT anchor, unsigned flags, unsigned fitFlags, const RECT& anchorRect)
{
    const bool vertical = (fitFlags & e_fitAboveAnchor) != 0;
    const SIZE size = MeasureTip(vertical);
    long long x = anchor.x, y = anchor.y;
    if (flags & e_centreOnX)
        x -= size.cx / 2;
    else if (flags & e_rightAtX)
        x -= size.cx;
    if (flags & e_centreOnY)
        y -= size.cy / 2;
    else if (flags & e_bottomAtY)
        y -= size.cy;
    RECT out = {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + size.cx),
                static_cast<LONG>(y + size.cy)};
    if (clampToWorkArea)
        FitRectToWorkArea(out, anchorRect, fitFlags);
    PlaceArrow(out, anchorRect, vertical);
    return out;
}

RECT t_wndSkinBoxTip::BubbleRect() const
{
    const SIZE size = GetSize();
    const int band = ArrowBand(m_verticalArrow);
    if (m_verticalArrow)
        return RECT{0, band, size.cx, std::max<LONG>(band, size.cy - band)};
    return RECT{band, 0, std::max<LONG>(band, size.cx - band), size.cy};
}

void t_wndSkinBoxTip::PlaceArrow(const RECT& tipRect, const RECT& anchorRect, bool vertical)
{
    const int width = RectWidth(tipRect), height = RectHeight(tipRect);
    const int band = ArrowBand(vertical);
    if (vertical) {
        // Above the target's middle the arrow points down from the bubble's bottom.
        const bool above = tipRect.top + height / 2 < (anchorRect.top + anchorRect.bottom) / 2;
        arrow = above ? e_arrowDown : e_arrowUp;
        const int arrowWidth = PictureSize(pictures[arrow]).cx;
        const int lowest = c_arrowEndGap + c_marginX;
        const int highest = std::max(lowest, width - c_arrowEndGap - c_marginX - arrowWidth);
        const int centre = (anchorRect.left + anchorRect.right) / 2 - tipRect.left - arrowWidth / 2;
        arrowAt = POINT{std::min(std::max(centre, lowest), highest), above ? height - band : 0};
        return;
    }
    const bool leftOf = tipRect.left + width / 2 < (anchorRect.left + anchorRect.right) / 2;
    arrow = leftOf ? e_arrowRight : e_arrowLeft;
    const int arrowHeight = PictureSize(pictures[arrow]).cy;
    const int lowest = c_arrowEndGap + c_marginY;
    const int highest = std::max(lowest, height - c_arrowEndGap - c_marginY - arrowHeight);
    const int centre = (anchorRect.top + anchorRect.bottom) / 2 - tipRect.top - arrowHeight / 2;
    arrowAt = POINT{leftOf ? width - band : 0, std::min(std::max(centre, lowest), highest)};
}

void t_wndSkinBoxTip::ShowTip(const RECT& anchorRect, POINT anchor, unsigned flags, unsigned fitFlags, bool autoHide)
{
    const RECT placed = ComputeTipRect(anchor, flags, fitFlags, anchorRect);
    if (firstShow) {
        firstShow = false;
        animating = true;
        startTick = InputTickCount();
        targetRect = placed;
        startRect = placed;
        if (fitFlags & e_fitLeftOfAnchor)
            OffsetRect(&startRect, (flags & e_rightAtX) ? -c_slideSideways : c_slideSideways, 0);
        else
            OffsetRect(&startRect, 0, (flags & e_bottomAtY) ? -c_slideVertical : c_slideVertical);
        alpha = 0;
        Move(startRect.left, startRect.top, RectWidth(placed), RectHeight(placed), false);
        // Shown at once, still transparent: the slide makes it appear.
        Show(true);
        if (hwnd)
            SetTimer(hwnd, c_slideTimerId, c_slideStepMs, nullptr);
    } else {
        if (animating && hwnd)
            KillTimer(hwnd, c_slideTimerId);
        animating = false;
        alpha = 255;
        targetRect = placed;
        Move(placed.left, placed.top, RectWidth(placed), RectHeight(placed), false);
        Show(true);
    }
    if (autoHide && hwnd) {
        hideStartTick = InputTickCount();
        SetTimer(hwnd, c_hideTimerId, c_autoHideMs, nullptr);
    }
}

void t_wndSkinBoxTip::SlideStep()
{
    if (!animating)
        return;
    const uint32_t elapsed = InputTickCount() - startTick;
    if (elapsed >= static_cast<uint32_t>(c_slideDurationMs)) {
        animating = false;
        alpha = 255;
        if (hwnd)
            KillTimer(hwnd, c_slideTimerId);
        Move(targetRect.left, targetRect.top, RectWidth(targetRect), RectHeight(targetRect), false);
        Show(true);
        return;
    }
    const double pi = 3.14159265358979323846;
    const double progress = std::sin(elapsed * 0.002 * 1.5708);
    const int degrees = static_cast<int>(progress * 90);
    const double s = std::sin(degrees * pi / 180.0);
    const auto across = [s](LONG from, LONG to) { return static_cast<LONG>(std::floor(from + s * (to - from) + 0.5)); };
    const auto down = [degrees](LONG from, LONG to) {
        return static_cast<LONG>((static_cast<long long>(degrees) * to + (90LL - degrees) * from) / 90);
    };
    const RECT now = {across(startRect.left, targetRect.left), down(startRect.top, targetRect.top),
                      across(startRect.right, targetRect.right), down(startRect.bottom, targetRect.bottom)};
    alpha = static_cast<int>(progress * 255);
    Move(now.left, now.top, RectWidth(now), RectHeight(now), false);
    Show(true);
}

void t_wndSkinBoxTip::HideTip()
{
    Show(false);
    animating = false;
    alpha = 255;
    if (hwnd) {
        KillTimer(hwnd, c_slideTimerId);
        KillTimer(hwnd, c_hideTimerId);
    }
}

bool t_wndSkinBoxTip::OnTimer(UINT_PTR id)
{
    if (id == c_hideTimerId) {
        // The time-out counts on the toolkit's clock: a timer that came early waits the rest.
        const uint32_t elapsed = InputTickCount() - hideStartTick;
        if (elapsed < c_autoHideMs) {
            if (hwnd)
                SetTimer(hwnd, c_hideTimerId, c_autoHideMs - elapsed, nullptr);
            return true;
        }
        HideTip();
        if (notifyWindow && IsWindow(notifyWindow))
            PostMessageW(notifyWindow, notifyMessage, 0, 1);
        return true;
    }
    if (id == c_slideTimerId) {
        SlideStep();
        return true;
    }
    return t_wndTop::OnTimer(id);
}

bool t_wndSkinBoxTip::OnLButtonUp(UINT keys, int x, int y)
{
    t_wndTop::OnLButtonUp(keys, x, y);
    HideTip();
    if (notifyWindow && IsWindow(notifyWindow))
        PostMessageW(notifyWindow, notifyMessage, 0, 0);
    return true;
}

void t_wndSkinBoxTip::Paint_Layout(t_paintCtx& context)
{
    const RECT bubble = BubbleRect();
    if (!background.cells[t_imageSet9::e_centre].IsBitmapEmpty()) {
        t_imageSet9::Draw(context, background, bubble.left, bubble.top, RectWidth(bubble), RectHeight(bubble));
    } else {
        context.FillRect(bubble.left, bubble.top, RectWidth(bubble), RectHeight(bubble), c_backColor);
    }
    t_image& arrowPicture = pictures[arrow];
    const SIZE arrowSize = PictureSize(arrowPicture);
    if (arrowSize.cx > 0 && arrowSize.cy > 0)
        arrowPicture.Draw(context, arrowAt.x, arrowAt.y, arrowSize.cx, arrowSize.cy, 255);
    t_wndTop::Paint_Layout(context);
}
