// The skin-box hint: a fading popup beside the status bar's skin-box button that holds one
// picture button launching the skin box, with a "点此换肤" tip sliding in next to it while
// the host says the skin box is active. Also the launch of the skin-box utility.
#pragma once

#include <memory>

#include <windows.h>

#include "graphics/image/image.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_button.h"
#include "toolkit/controls/wnd_delay_show.h"
#include "toolkit/controls/wnd_ui_sub.h"

class t_wndSkinBoxHint;
class t_wndSkinBoxTip;

// Sources of a skin-box launch.
enum t_skinBoxSource : int {
    e_skinBoxFromHint = 1,    // the hint's tip or the status bar
    e_skinBoxFromButton = 4,  // the hint's button
};

// Starts the input method's utility for the current user with the skin-box switch, the
// source and the value (1 after a click, 0 after a time-out), without waiting. False when
// it could not be started.
bool LaunchSkinBox(int value, int source);
// The utility's arguments after its user number, as LaunchSkinBox passes them.
t_str SkinBoxLaunchArguments(int value, int source);

// The hint's button: the hint's three pictures, a tooltip, and the launch on a click.
class t_wndBtnSkinBox : public t_wndButton {
public:
    static const wchar_t* const c_tooltip;  // "打开皮肤小盒子"
    // The component the button invokes through the component manager.
    static const wchar_t* const c_componentName;

    explicit t_wndBtnSkinBox(t_wndSkinBoxHint* owner) : hint(owner) {}
    // Fills state 0 (normal), 1 (down) and 2 (hover) from the hint's pictures.
    void LoadImages() override;
    void OnClick() override;

    t_wndSkinBoxHint* hint;  // not owned
};

class t_wndSkinBoxHint : public t_wndDelayShow, public t_wndUiSub {
public:
    static const wchar_t* const c_tipText;  // "点此换肤"
    // Placement of the tip beside the hint.
    static constexpr unsigned c_tipFlags = 0x20;
    static constexpr unsigned c_tipFitFlags = 1;

    enum t_picture : int {
        e_normal = 0,
        e_down = 1,
        e_hover = 2,
        e_pictureCount = 3
    };
    static const wchar_t* const c_pictureNames[e_pictureCount];

    t_wndSkinBoxHint();
    ~t_wndSkinBoxHint() override;

    // A layered, non-activating topmost tool window owned by ownerHwnd, as large as the
    // normal picture, holding the button. False when the window cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Where the pictures come from (null: the resource library); before Create.
    void SetResourceModule(HMODULE module) { resourceModule = module; }
    // The message posted (wParam 0, lParam 1) to window when the hint has hidden.
    void SetNotify(HWND window, UINT message)
    {
        notifyWindow = window;
        notifyMessage = message;
    }

    // The tip was clicked (timedOut false) or timed out.
    void OnTipNotify(bool timedOut);
    void OnHidden() override;
    // An active skin box keeps the hint when the mouse leaves it.
    bool FadeOnLeave() override;
    // With an active skin box, places the tip beside the hint and, when the tip had to go
    // to the hint's left, moves the hint to the left of the skin-box button.
    void OnPlaced(const RECT& finalRect, const RECT& requestedRect) override;
    // Moves the hint where OnPlaced decided and shows the tip when it was placed.
    void OnPopup() override;
    // Hides the hint now (no fade) and its tip.
    void HideNow();
    // Created on first need; null when it cannot be made.
    t_wndSkinBoxTip* EnsureTip();

    t_image pictures[e_pictureCount];
    std::unique_ptr<t_wndSkinBoxTip> tip;
    t_wndBtnSkinBox* button;  // a child
    bool tipPlaced;
    bool tipOnLeft;
    UINT notifyMessage;
    HWND notifyWindow;
    HMODULE resourceModule;

private:
    // The tip's anchor for a hint at hintRect.
    void PlaceTip(const RECT& hintRect);

    RECT m_hintRect;  // where OnPopup moves the hint
    RECT m_tipAnchorRect;
    POINT m_tipAnchor;
    unsigned m_tipFlags;
};
