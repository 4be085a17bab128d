#include "ime_ui/windows/cand/wnd_cand_turn_page.h"

#include <cmath>
#include <cstring>

#include "foundation/core/perf.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/glow.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

namespace {

int g_arrowGap = t_wndCandTurnPage::c_baseArrowWidth;

// trunc(base x scale), held to a sane size.
int ScaledArrow(int base, double scale)
{
    const double scaled = std::trunc(base * scale);
    return scaled > 1024.0 ? 1024 : static_cast<int>(scaled);
}

}  // namespace

int t_wndCandTurnPage::ArrowGap() { return g_arrowGap; }

std::vector<uint32_t> t_wndCandTurnPage::BuildArrow(bool next, int w, int h, uint32_t colorRef)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(w > 0 ? w : 0) * (h > 0 ? h : 0), 0);
    const uint32_t pixel = colorRef == 0xFFFFFFFFu ? 0 : PremultiplyArgb(ColorRefToArgb(colorRef & 0xFFFFFF));
    const int m = h / 2;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            bool set;
            if (!next)
                set = r < m ? c >= w - r - 1 : !(r > m && c < r - m);
            else
                set = r < m ? c <= r : !(r > m && c > w + m - r - 1);
            if (set)
                pixels[static_cast<size_t>(r) * w + c] = pixel;
        }
    }
    return pixels;
}

t_wndCandTurnPage::t_wndCandTurnPage()
    : cursorRestore(false), pressPoint{0, 0}, prevDx(0), prevDy(0), nextDx(0), nextDy(0), prevHovered(false),
      nextHovered(false), repeatCounter(0), repeatRunning(false), builtScale(0.0), arrowWidth(c_baseArrowWidth),
      arrowHeight(c_baseArrowHeight)
{
    for (t_arrowBitmap* bitmap : {&prevBitmap, &nextBitmap}) {
        bitmap->glowFlag = false;
        bitmap->color = 0xFFFFFFFFu;
        bitmap->built = false;
    }
}

t_wndCandTurnPage::~t_wndCandTurnPage() { StopRepeat(); }

t_turnPageLook t_wndCandTurnPage::ReadSkin() const { return ReadTurnPageLook(GetContext()->GetSkin()); }

void t_wndCandTurnPage::Rebuild()
{
    const double scale = ReadSkin().scale;
    if (scale > 0.0) {
        arrowWidth = ScaledArrow(c_baseArrowWidth, scale);
        arrowHeight = ScaledArrow(c_baseArrowHeight, scale);
    } else {
        arrowWidth = c_baseArrowWidth;
        arrowHeight = c_baseArrowHeight;
    }
    g_arrowGap = arrowWidth;
}

int t_wndCandTurnPage::Measure(HDC)
{
    if (!visible) {
        StopRepeat();
        SetSize(0, 0);
        return measureValue;
    }
    SetSize(g_arrowGap + 2 * arrowWidth, arrowHeight);
    return measureValue;
}

bool t_wndCandTurnPage::HitTest(int x, int y, int)
{
    const RECT r = GetRect();
    return visible && PtInRect(&r, POINT{x, y});
}

bool t_wndCandTurnPage::CanPageUp() const
{
    const t_uiContext* context = GetContext();
    return context->Imc().CanPageUp(context->hostWindow);
}

bool t_wndCandTurnPage::CanPageDown() const
{
    const t_uiContext* context = GetContext();
    return context->Imc().CanPageDown(context->hostWindow);
}

RECT t_wndCandTurnPage::PrevBox() const
{
    const int height = rect.bottom - rect.top;
    return RECT{0, 0, arrowWidth + 1, height};
}

RECT t_wndCandTurnPage::NextBox() const
{
    const int height = rect.bottom - rect.top;
    return RECT{g_arrowGap + arrowWidth - 1, 0, g_arrowGap + 2 * arrowWidth, height};
}

void t_wndCandTurnPage::UpdateOffsets()
{
    prevDx = prevDy = nextDx = nextDy = 0;
    if (prevHovered && CanPageUp()) {
        prevDx = 1;
        prevDy = -1;
    } else if (nextHovered && CanPageDown()) {
        nextDx = 1;
        nextDy = -1;
    }
    InvalidateAll();
}

void t_wndCandTurnPage::OnMouseMove(UINT, int x, int y)
{
    const POINT point = {x - rect.left, y - rect.top};
    const RECT prev = PrevBox(), next = NextBox();
    if (PtInRect(&prev, point)) {
        nextHovered = false;
        if (!prevHovered) {
            prevHovered = true;
            UpdateOffsets();
        }
    } else if (PtInRect(&next, point)) {
        prevHovered = false;
        if (!nextHovered) {
            nextHovered = true;
            UpdateOffsets();
        }
    }
}

void t_wndCandTurnPage::OnMouseLeave()
{
    SetNoDrag(false);
    StopRepeat();
    prevHovered = nextHovered = false;
    prevDx = prevDy = nextDx = nextDy = 0;
    InvalidateAll();
}

void t_wndCandTurnPage::SetNoDrag(bool on)
{
    if (top)
        top->noDrag = on;
}

bool t_wndCandTurnPage::OnLButtonDown(UINT, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    SetNoDrag(true);
    StartRepeat();
    return true;
}

bool t_wndCandTurnPage::OnLButtonUp(UINT, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    SetNoDrag(false);
    StopRepeat();
    PageAt(POINT{x - rect.left, y - rect.top});
    return true;
}

bool t_wndCandTurnPage::OnTimer(UINT_PTR timerId)
{
    if (timerId != c_repeatTimerId)
        return t_wndStringItem::OnTimer(timerId);
    ++repeatCounter;
    if (repeatCounter > c_repeatDelayTicks) {
        const POINT cursor = InputCursorPos();
        PageAt(POINT{cursor.x - rect.left, cursor.y - rect.top});
    }
    return true;
}

void t_wndCandTurnPage::StartRepeat()
{
    repeatCounter = 0;
    if (repeatRunning)
        return;
    if (HWND hwnd = GetHwnd())
        SetTimer(hwnd, c_repeatTimerId, c_repeatTickMs, nullptr);
    repeatRunning = true;
}

void t_wndCandTurnPage::StopRepeat()
{
    repeatCounter = 0;
    if (!repeatRunning)
        return;
    if (HWND hwnd = GetHwnd())
        KillTimer(hwnd, c_repeatTimerId);
    repeatRunning = false;
}

void t_wndCandTurnPage::PageAt(POINT point)
{
    const RECT prev = PrevBox(), next = NextBox();
    if (PtInRect(&prev, point) && CanPageUp()) {
        cursorRestore = true;
        pressPoint = point;
        GetContext()->Imc().PageUp(GetContext()->hostWindow);
    }
    if (PtInRect(&next, point) && CanPageDown()) {
        cursorRestore = true;
        pressPoint = point;
        GetContext()->Imc().PageDown(GetContext()->hostWindow);
    }
}

void t_wndCandTurnPage::BuildBitmap(bool next, uint32_t color, bool glow, HDC reference)
{
    t_arrowBitmap& bitmap = next ? nextBitmap : prevBitmap;
    std::vector<uint32_t>& pixels = next ? nextPixels : prevPixels;
    const bool stale = !bitmap.built || bitmap.glowFlag != glow || bitmap.color != color || pixels.empty();
    if (!stale)
        return;
    pixels = BuildArrow(next, arrowWidth, arrowHeight, color);
    bitmap.pixels.Release();
    bitmap.glow.Release();
    bitmap.built = true;
    bitmap.glowFlag = glow;
    bitmap.color = color;
    if (!t_memDC::Create(bitmap.pixels, reference, arrowWidth, arrowHeight))
        return;
    // The DIB is bottom-up: its first row in memory is the arrow's last.
    for (int r = 0; r < arrowHeight; ++r)
        std::memcpy(bitmap.pixels.Pixels() + static_cast<size_t>(arrowHeight - 1 - r) * arrowWidth,
                    pixels.data() + static_cast<size_t>(r) * arrowWidth, sizeof(uint32_t) * arrowWidth);
    if (glow) {
        const t_pixelRect source = {bitmap.pixels.dc, bitmap.pixels.Pixels(), arrowWidth, arrowHeight, 0, 0, arrowWidth,
                                    arrowHeight};
        ApplyGlowEffect(source, bitmap.glow);
    }
}

void t_wndCandTurnPage::DrawArrow(t_paintCtx& context, const t_arrowBitmap& bitmap, int x, int y, uint8_t alpha) const
{
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    const int halo = t_effectGlowSimple::c_size / 2;
    if (bitmap.glow.dc)
        GdiAlphaBlend(context.Dc(), x - halo, y - halo, bitmap.glow.width, bitmap.glow.height, bitmap.glow.dc, 0, 0,
                      bitmap.glow.width, bitmap.glow.height, blend);
    if (bitmap.pixels.dc)
        GdiAlphaBlend(context.Dc(), x, y, arrowWidth, arrowHeight, bitmap.pixels.dc, 0, 0, arrowWidth, arrowHeight,
                      blend);
}

void t_wndCandTurnPage::Paint_CandPage(t_paintCtx& context)
{
    if (!visible) {
        StopRepeat();
        return;
    }
    PerfScope scope("Paint_BtnPage");
    const t_turnPageLook look = ReadSkin();
    if (!look.stylesPresent)
        return;
    const bool canUp = CanPageUp();
    const bool canDown = CanPageDown();
    {
        PerfScope build("Paint_BtnPage1");
        if (look.scale != builtScale) {
            prevPixels.clear();
            nextPixels.clear();
            builtScale = look.scale;
        }
        const bool glow = top && top->themedText;
        BuildBitmap(false, look.color, glow, context.Dc());
        BuildBitmap(true, look.color, glow, context.Dc());
    }
    {
        PerfScope draw("Paint_BtnPage2");
        const RECT r = GetRectInHwnd();
        const int v = (r.bottom - r.top - arrowHeight) / 2;
        DrawArrow(context, prevBitmap, r.left + prevDx, r.top + v + prevDy, canUp ? 255 : c_dimAlpha);
        DrawArrow(context, nextBitmap, r.left + arrowWidth + g_arrowGap + nextDx, r.top + v + nextDy,
                  canDown ? 255 : c_dimAlpha);
    }

    if (cursorRestore) {
        cursorRestore = false;
        SetCursorPos(rect.left + pressPoint.x, rect.top + pressPoint.y);
    }
}
