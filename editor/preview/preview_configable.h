// The previews the preview panel shows: each draws the skin being edited the way one kind
// of input-method screen shows it (desktop windows, a phone), from the packed work copy,
// and answers the panel's few questions about its size and its animations.
#pragma once

#include <windows.h>

struct t_uiSettings;

// The root of the preview family; it holds nothing.
class PreviewBase {
public:
    virtual ~PreviewBase() = default;
};

class PreviewConfigable : public PreviewBase {
public:
    // The layout pages a preview shows: combined or separate windows, horizontal or vertical.
    enum t_page : int {
        e_pageH1 = 2,  // horizontal, combined
        e_pageH2 = 3,  // horizontal, separate
        e_pageV1 = 4,  // vertical, combined
        e_pageV2 = 5,  // vertical, separate
    };

    ~PreviewConfigable() override = default;

    // Recomputes the content size; false when the preview has nothing to show.
    virtual bool UpdateLayout() = 0;
    virtual void GetSize(int& width, int& height) = 0;
    // Draws the content with its top-left corner at (x, y) (96-dpi units).
    virtual void Paint(HDC dc, int x, int y) = 0;
    // Once, after the panel's window exists: the runtime skin, the context and the windows.
    virtual bool Init(int userId, const t_uiSettings& settings) = 0;
    // A copy of the panel's settings becomes the preview's own.
    virtual void SetSettings(const t_uiSettings& settings) = 0;
    virtual void SetScheme(int page) = 0;
    // Lays the windows out again, measured with the device context of window.
    virtual void SetHostWindow(HWND window) = 0;
    virtual void SetCandidateCount(int count) = 0;
    virtual void SetPerPixelAlpha(bool on) = 0;
    // One step of the skin's animations; true when something must be drawn again.
    virtual bool Tick() = 0;
    // Loads the runtime skin again from the packed work copy.
    virtual void Reload() = 0;
    // Where the input method puts the window of scheme index 0..3 by default.
    virtual bool GetDefaultPos(int index, int& x, int& y) = 0;
    virtual void SetLongSample(bool on) = 0;
    // One step of the button-state animation; true when the button changed.
    virtual bool AnimationTick() = 0;
    // Starts animating the pictures and states of a status-bar button (packed id:
    // type << 24 | window << 16 | index).
    virtual void StartAnimation(int buttonId) = 0;
    virtual void StopAnimation() = 0;
};
