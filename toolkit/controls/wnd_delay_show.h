// A top window that pops up next to an anchor point and shows and hides by fading its
// window alpha with two timers. While the cursor is over it, it stays opaque and a running
// fade-out stops; a fade that reverses continues from the alpha the other one reached.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/controls/wnd_top.h"

// Where and how a delay-show window pops up.
struct t_delayShowRequest {
    // Placement flags.
    enum : int {
        e_centreOnX = 0x04,  // centred on the anchor x (wins over e_rightAtX)
        e_rightAtX = 0x08,   // right edge at the anchor x (else the left edge)
        e_centreOnY = 0x10,  // centred on the anchor y (wins over e_bottomAtY)
        e_bottomAtY = 0x20,  // bottom edge at the anchor y (else the top edge)
    };

    // Null pointers give the point (0, 0) and empty rectangles; noFit is cleared.
    void Set(const POINT* anchor, int placementFlags, int fitFlagBits, const RECT* fit, const RECT* second,
             bool showImmediately);

    int anchorX = 0, anchorY = 0;
    int placement = 0;
    int fitFlags = 0;  // t_fitFlags of FitRectToWorkArea
    RECT fitRect = {0, 0, 0, 0};
    RECT secondRect = {0, 0, 0, 0};  // kept for derived windows
    bool immediate = false;          // opaque at once, no fade-in
    bool noFit = false;              // skip keeping the window beside the fit rectangle
};

// Timer ids, intervals and durations every delay-show window starts with.
struct t_delayShowTimings {
    UINT_PTR fadeOutTimerId, fadeInTimerId;
    UINT fadeOutInterval, fadeInInterval;  // ms between steps
    int fadeOutDuration, fadeInDuration;   // ms from one end of the alpha range to the other
};
extern const t_delayShowTimings c_delayShowTimings;

// The start tick that lets a fade of ownDuration continue from the alpha that the fade
// it replaces (started at otherStart, lasting otherDuration) has reached at now: the
// elapsed times mirror each other. Computed in 64 bits and held to [now - ownDuration,
// now], so a replaced fade that ended long ago (or never ran) restarts the new one.
uint32_t MirroredFadeStart(uint32_t now, uint32_t otherStart, int otherDuration, int ownDuration);

class t_wndDelayShow : public t_wndTop {
public:
    t_wndDelayShow();
    // Kills the fade timers (they may sit on an owner window that outlives this one).
    ~t_wndDelayShow() override;

    void OnMouseEnter() override;
    void OnMouseLeave() override;
    // Fade steps, the hover poll, else the element's timers; always true.
    bool OnTimer(UINT_PTR id) override;
    void Destroy() override;

    // Called after the window hid at the end of a fade-out or by an immediate Hide.
    virtual void OnHidden() {}
    // False keeps the hold and the window when the cursor leaves.
    virtual bool FadeOnLeave() { return true; }
    // Called by Popup with the rectangle after keeping it in the work area and before.
    virtual void OnPlaced(const RECT& /*finalRect*/, const RECT& /*requestedRect*/) {}
    // Called at the end of Popup.
    virtual void OnPopup() {}

    // Lays the window out, places it against the request's anchor and fades it in (or
    // shows it opaque at once).
    void Popup(const t_delayShowRequest& request);
    // Nothing unless shown. now: hides at once and calls OnHidden; else fades out.
    void Hide(bool now);
    using t_wndTop::Hide;
    void StartFadeIn();
    void StartFadeOut();
    // One tick of each fade.
    void FadeInStep();
    void FadeOutStep();
    bool IsShown() const { return shown; }

    uint32_t fadeOutStart;
    uint32_t fadeInStart;
    bool fadingOut;
    bool fadingIn;
    bool hold;  // the cursor is over the window
    UINT_PTR fadeOutTimerId;
    UINT_PTR fadeInTimerId;
    UINT fadeOutInterval;
    UINT fadeInInterval;
    int fadeOutDuration;
    int fadeInDuration;
    t_delayShowRequest request;

private:
    // One of the two fades, by reference to its fields.
    struct t_fade {
        bool& running;
        uint32_t& start;
        UINT_PTR timerId;
        UINT interval;
        int duration;
    };
    t_fade FadeIn() { return t_fade{fadingIn, fadeInStart, fadeInTimerId, fadeInInterval, fadeInDuration}; }
    t_fade FadeOut() { return t_fade{fadingOut, fadeOutStart, fadeOutTimerId, fadeOutInterval, fadeOutDuration}; }
    // Starts own unless it runs; a running other fade stops and own continues from the
    // alpha it reached.
    void StartFade(t_fade own, t_fade other);
    void StopFade(t_fade fade);
    void StopFadeIn();
    void StopFadeOut();
    // Alpha 255 and shown.
    void ShowOpaque();
};
