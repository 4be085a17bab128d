#include "toolkit/controls/wnd_delay_show.h"

#include "graphics/layout/layout.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "toolkit/controls/input_hooks.h"

const t_delayShowTimings c_delayShowTimings = {1011, 1012, 10, 10, 1000, 1000};

void t_delayShowRequest::Set(const POINT* anchor, int placementFlags, int fitFlagBits, const RECT* fit,
                             const RECT* second, bool showImmediately)
{
    anchorX = anchor ? anchor->x : 0;
    anchorY = anchor ? anchor->y : 0;
    placement = placementFlags;
    fitFlags = fitFlagBits;
    fitRect = fit ? *fit : RECT{0, 0, 0, 0};
    secondRect = second ? *second : RECT{0, 0, 0, 0};
    immediate = showImmediately;
    noFit = false;
}

uint32_t MirroredFadeStart(uint32_t now, uint32_t otherStart, int otherDuration, int ownDuration)
{
    if (ownDuration <= 0)
        return now;
    // Unsigned difference: right across a wrap of the tick count.
    const long long elapsed = static_cast<uint32_t>(now - otherStart);
    long long remaining = 0;
    if (otherDuration > 0 && elapsed < otherDuration)
        remaining = (otherDuration - elapsed) * ownDuration / otherDuration;
    if (remaining > ownDuration)
        remaining = ownDuration;
    return now - static_cast<uint32_t>(remaining);
}

namespace {

// Alpha of a fade-in that has run elapsed of duration ms (elapsed < duration).
int FadeInAlpha(uint32_t elapsed, int duration)
{
    return static_cast<int>(static_cast<unsigned long long>(elapsed) * 255u / static_cast<unsigned>(duration));
}

// The step's elapsed time is inside the fade.
bool Running(uint32_t elapsed, int duration) { return duration > 0 && elapsed < static_cast<uint32_t>(duration); }

}  // namespace

t_wndDelayShow::t_wndDelayShow()
    : fadeOutStart(0), fadeInStart(0), fadingOut(true), fadingIn(false), hold(false),
      fadeOutTimerId(c_delayShowTimings.fadeOutTimerId), fadeInTimerId(c_delayShowTimings.fadeInTimerId),
      fadeOutInterval(c_delayShowTimings.fadeOutInterval), fadeInInterval(c_delayShowTimings.fadeInInterval),
      fadeOutDuration(c_delayShowTimings.fadeOutDuration), fadeInDuration(c_delayShowTimings.fadeInDuration)
{}

t_wndDelayShow::~t_wndDelayShow()
{
    StopFadeIn();
    StopFadeOut();
}

void t_wndDelayShow::Destroy()
{
    StopFadeIn();
    StopFadeOut();
    t_wndTop::Destroy();
}

void t_wndDelayShow::StopFade(t_fade fade)
{
    fade.running = false;
    if (HWND window = GetHwnd())
        KillTimer(window, fade.timerId);
}

void t_wndDelayShow::StopFadeIn() { StopFade(FadeIn()); }

void t_wndDelayShow::StopFadeOut() { StopFade(FadeOut()); }

void t_wndDelayShow::ShowOpaque()
{
    alpha = 255;
    Show(true);
}

// ---- popup and hide

void t_wndDelayShow::Popup(const t_delayShowRequest& newRequest)
{
    request = newRequest;
    fadeInStart = InputTickCount();

    RelayoutOnWindowDc();

    const RECT own = layout ? layout->GetRect() : rect;
    const long long width = 0LL + own.right - own.left;
    const long long height = 0LL + own.bottom - own.top;
    long long x = request.anchorX;
    if (request.placement & t_delayShowRequest::e_centreOnX)
        x -= width / 2;
    else if (request.placement & t_delayShowRequest::e_rightAtX)
        x -= width;
    long long y = request.anchorY;
    if (request.placement & t_delayShowRequest::e_centreOnY)
        y -= height / 2;
    else if (request.placement & t_delayShowRequest::e_bottomAtY)
        y -= height;

    const RECT requested = {ClampToInt(x), ClampToInt(y), ClampToInt(x + width), ClampToInt(y + height)};
    RECT placed = requested;
    if (!request.noFit)
        FitRectToWorkArea(placed, request.fitRect, static_cast<unsigned>(request.fitFlags));
    OnPlaced(placed, requested);
    Move(placed.left, placed.top, ClampToInt(width), ClampToInt(height), false);

    if (!request.immediate && (!shown || fadingOut)) {
        StartFadeIn();
    } else {
        StopFadeIn();
        StopFadeOut();
        ShowOpaque();
    }
    OnPopup();
}

void t_wndDelayShow::Hide(bool now)
{
    if (!shown)
        return;
    if (!now) {
        StartFadeOut();
        return;
    }
    StopFadeIn();
    StopFadeOut();
    Show(false);
    OnHidden();
}

// ---- fades

void t_wndDelayShow::StartFade(t_fade own, t_fade other)
{
    const bool reversing = other.running;
    if (reversing)
        StopFade(other);
    if (own.running)
        return;
    const uint32_t now = InputTickCount();
    own.start = reversing ? MirroredFadeStart(now, other.start, other.duration, own.duration) : now;
    own.running = true;
    other.start = 0;
    if (HWND window = GetHwnd())
        SetTimer(window, own.timerId, own.interval, nullptr);
}

void t_wndDelayShow::StartFadeIn() { StartFade(FadeIn(), FadeOut()); }

void t_wndDelayShow::StartFadeOut() { StartFade(FadeOut(), FadeIn()); }

void t_wndDelayShow::FadeInStep()
{
    // A fade-out that started later took over.
    if (!fadingIn || fadeInStart < fadeOutStart) {
        StopFadeIn();
        return;
    }
    const uint32_t elapsed = InputTickCount() - fadeInStart;
    if (Running(elapsed, fadeInDuration)) {
        alpha = FadeInAlpha(elapsed, fadeInDuration);
        Show(true);
        return;
    }
    StopFadeIn();
    ShowOpaque();
}

void t_wndDelayShow::FadeOutStep()
{
    // Held, or a fade-in that started later took over: the window stays shown.
    if (!fadingOut || hold || fadeOutStart < fadeInStart) {
        StopFadeOut();
        return;
    }
    const uint32_t elapsed = InputTickCount() - fadeOutStart;
    if (Running(elapsed, fadeOutDuration)) {
        alpha = 255 - FadeInAlpha(elapsed, fadeOutDuration);
        Show(true);
        return;
    }
    StopFadeOut();
    Show(false);
    OnHidden();
}

// ---- mouse and timers

bool t_wndDelayShow::OnTimer(UINT_PTR id)
{
    if (id == fadeInTimerId)
        FadeInStep();
    else if (id == fadeOutTimerId)
        FadeOutStep();
    else if (id == c_hoverTimerId)
        PollHover();
    else
        t_wndBase::OnTimer(id);
    return true;
}

void t_wndDelayShow::OnMouseEnter()
{
    if (shown) {
        hold = true;
        StopFadeIn();
        StopFadeOut();
        ShowOpaque();
    }
    t_wndTop::OnMouseEnter();
}

void t_wndDelayShow::OnMouseLeave()
{
    t_wndTop::OnMouseLeave();
    if (!FadeOnLeave())
        return;
    hold = false;
    if (shown)
        StartFadeOut();
}
