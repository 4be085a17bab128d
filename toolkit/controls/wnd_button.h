// The picture button of the skinned UI: one of seven state pictures from one of up to
// three image sets (its modes), a seven-state machine with optional timed transitions, a
// hit test on the opaque pixels of its picture, a tooltip on hover and a click reported
// through OnClick. The input method's status-bar, command and check buttons derive from it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image.h"
#include "graphics/paint/hit_mask.h"
#include "toolkit/controls/wnd_base.h"

// The seven pictures of one look of a button, one per visual state.
struct t_imageSet {
    static const int c_stateCount = 7;
    t_image images[c_stateCount];
};

// The looks of a button; count sets are in use.
struct t_btnImageSets {
    static const int c_maxSets = 3;
    t_imageSet sets[c_maxSets];
    int count;
};

class t_wndButton : public t_wndBase {
public:
    // State numbers (bits 0 to 2 of stateFlags); each shows the picture of the same number.
    enum t_state : int {
        e_normal = 0,
        e_down = 1,
        e_hover = 2,
        e_in = 3,       // hover-in animation
        e_out = 4,      // hover-out animation
        e_downing = 5,  // press animation
        e_up = 6,       // release animation
    };
    enum : int {
        e_stateMask = 7,
        e_noClick = 8,  // a release changes the state but reports no click
        e_toggleOn = 0x10,
    };
    // Bits of style.
    enum : int {
        e_styleToggle = 4,
        e_styleDefault = 8,
    };

    t_wndButton();
    // Frees the cached region and the hit mask; the pictures belong to whoever filled them.
    ~t_wndButton() override;

    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnMouseHover(UINT keys, int x, int y) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    // Puts the picture of the current mode and state into the picture node and paints it.
    void Paint_Layout(t_paintCtx& context) override;
    // The element, then LoadImages, the default style and ResetUi (0).
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    // A button destroys nothing of its own.
    void Destroy() override {}
    // Takes the size of picture 0 of the current set (which the other six take too) and
    // notes which picture the hit mask follows; the mask is built by the first hit test
    // after that picture changed. (0, 0) when hidden or when the mode has no set.
    int Measure(HDC dc) override;
    // A picture node (holding a copy of the current picture) becomes the inner node.
    t_layoutWnd* CreateLayout() override;
    // Hidden, or (in modes 1 and 2) not taking the mouse: false. Else the point must fall on
    // a set bit of the hit mask.
    bool HitTest(int x, int y, int mode) override;
    // A copy of the shape of the current picture at the button's size; null without one.
    // The caller owns it.
    HRGN GetRegion() override;

    // Operations of the button.
    virtual void OnClick() {}
    virtual void OnClickDone() {}
    // Before every paint and measure: subclasses read their state from the input method.
    virtual void UpdateState() {}
    // By Create: subclasses fill the image sets from the skin.
    virtual void LoadImages() {}
    virtual void OnImageChanged() {}
    // A timed state was entered at time (hundredths of a second).
    virtual bool StartStateAnimation(unsigned time, bool restart);
    // Length of a state's animation in hundredths of a second; 0: the state is not animated.
    virtual unsigned GetStateAnimationLength(int mode, int state);
    // How far the running animation is, in the same units.
    virtual unsigned GetStateAnimationPos(int mode, int flags, unsigned time);
    // Builds hitMask now from HitMaskPicture(); hit tests call it when the mask is stale.
    virtual void UpdateHitMask();
    // Anything besides the picture the mask depends on (0 here); a change makes it stale.
    virtual int HitMaskVariant() { return 0; }
    // The mask as hit tests read it, built first when stale.
    const t_hitMask& HitMask();

    // One step of the state machine at time (GetTickCount / 10) for the cursor at (x, y);
    // true when the state number changed.
    bool StepState(unsigned time, bool restart, int x, int y);
    // The state number becomes state when it is animated in the current mode, else fallback.
    void SetStateIfAnimated(int state, int fallback);
    // Ignored while modeLocked. Any value is kept; one without a set shows and reads nothing.
    void SetMode(int newMode);
    // Kept unless a fixed state is already on.
    void SetFixedState(int state);
    // The state picture shown for flags: 0 for no flags, 1 when down or toggled on, 2 to 6
    // as the state number says, 0 for 7.
    static int ButtonStateFromFlags(int flags);
    // fixedState while fixedStateOn, else the state picture of stateFlags.
    int GetVisualState() const;
    // The picture of (mode, state); null when the mode has no set or the state is not 0..6.
    t_image* GetImage(int forMode, int state);
    t_image* GetCurrentImage() { return GetImage(mode, GetVisualState()); }
    // Copies the picture of (mode, visual state) into dst; changed tells whether that pair
    // differs from the one last shown, and commit records it as shown. True when the
    // picture has a bitmap; false (dst untouched) when the mode has no set.
    bool CopyCurrentPicture(t_image& dst, bool& changed, bool commit);
    // Restarts the frame animation of the picture that flags shows in forMode.
    void RestartAnimation(int flags, int forMode);
    // RestartAnimation for the seven states of forMode.
    void RestartAnimations(int forMode);
    int StateNumber() const { return stateFlags & e_stateMask; }
    // The picture the hit mask follows: the normal picture, or the fixed state's, of the
    // mode the last Measure saw; null without one.
    t_image* HitMaskPicture() { return GetImage(m_maskKey.mode, m_maskKey.state); }

    int mode;
    int style;
    int stateFlags;
    int pressFlags;
    bool hintShown;
    t_btnImageSets imageSets;
    int shownMode, shownState;
    HRGN region;
    int previousMode;
    t_hitMask hitMask;
    bool modeLocked;
    bool fixedStateOn;
    int fixedState;

private:
    // Time and cursor as the state machine reads them (the toolkit's input hooks).
    static unsigned Now();
    void StepAtCursor(bool restart);
    // Whether the button itself handles a press or release: it takes the mouse, no child
    // took the event (taken tells whether one did) and the point hits it.
    bool TakesButton(bool (t_wndBase::*operation)(UINT, int, int), UINT keys, int x, int y, bool& taken);

    // What the cached region was made for.
    int m_regionMode, m_regionState, m_regionWidth, m_regionHeight;

    // What the hit mask was, or is to be, built from: the state picture the last Measure
    // chose and everything of it the bits depend on. A changed key makes the mask stale.
    struct t_hitMaskKey {
        int mode, state, variant;
        const t_image* picture;
        t_bitmapRef ref;
        const t_imageSource* source;
        int32_t partX, partY, partWidth, partHeight;
        uint32_t key1, key2;
        uint8_t hasAlpha;
        uint32_t generation;
        bool operator==(const t_hitMaskKey& o) const;
    };
    void NoteHitMaskPicture();
    t_hitMaskKey m_maskKey;
    bool m_maskStale;
};
