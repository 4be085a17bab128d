// The buttons a skin places on the status bar and on the composition and candidate
// windows: a picture button whose pictures, hint and placement come from its record in
// the runtime skin, whose mode follows the input method's state as the host reports it and
// whose click calls the host. This is the part every kind shares; the kinds themselves are
// in status_buttons.h.
#pragma once

#include <windows.h>

#include "ime_ui/skin/skin_button_record.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_button.h"
#include "toolkit/controls/wnd_ui_sub.h"

class t_uiSkinData;
struct t_uiSettings;

class t_wndStatusBtn : public t_wndButton, public t_wndUiSub {
public:
    // Alpha of a built-in button's own picture over the default skin's hover background.
    static constexpr int c_defaultSkinHoverAlpha = 179;
    // The hint buffer the host fills.
    static constexpr int c_hintChars = 256;

    t_wndStatusBtn();
    // Unbinds the button's layout node, which the window's layout tree owns.
    ~t_wndStatusBtn() override;

    // Over the default skin, a built-in button hovered or pressed gets the shared state
    // background underneath (the button's own picture dimmed while hovered).
    void Paint_Layout(t_paintCtx& context) override;
    // Visibility and pictures from the record.
    void Rebuild() override;
    // The current mode's layer callback, then the mode toggles 0 <-> 1.
    void OnClick() override;
    // Kinds without a state of their own only refresh their hint.
    void UpdateState() override { LoadImages(); }
    void LoadImages() override { UpdateHint(); }
    // Animated state pictures: the in/out and downing/up pairs play as one animation
    // forwards and backwards.
    void OnImageChanged() override;
    bool StartStateAnimation(unsigned time, bool restart) override;
    unsigned GetStateAnimationLength(int forMode, int state) override;
    unsigned GetStateAnimationPos(int forMode, int flags, unsigned time) override;
    // Over the default skin the whole rectangle answers the mouse.
    void UpdateHitMask() override;
    // Whether the skin is the default one: UpdateHitMask follows it.
    int HitMaskVariant() override;

    // The record's hint when it has one, else the host's text for the button.
    void UpdateHint();
    // The button's key in the runtime skin; set before Create.
    void SetKey(int window, t_skinItemType itemType, int itemIndex);
    // The window the button's messages go to; without one, the window it draws into.
    void SetPostWindow(HWND window) { m_postWindow = window; }
    HWND PostWindow() const;

    // The runtime skin of the context, its record of this button and the host's
    // arguments; null where missing.
    t_uiSkinData* Skin() const;
    t_btnSkinRec* Record() const;
    HWND HostWindow() const;
    t_uiSettings* Settings() const;
    bool IsFixed() const
    {
        return type != static_cast<int>(t_skinItemType::e_custom) &&
               type != static_cast<int>(t_skinItemType::e_component);
    }

    // Calls the callback of the current mode's layer, when it has one.
    void CallLayerCallback();
    // Calls entry number of the host's callback table, when it is set.
    void CallUiFunction(int number);
    // Mode 1 from 0, else 0 (unless the mode is locked).
    void ToggleMode();
    // Click suppression (stateFlags value 8).
    void AllowClicks(bool allowed);
    // The hint text shown for this button: given, else the host's.
    void SetHintOrHost(const wchar_t* hint);

    // Order of the custom buttons of one cell: higher window number first, then lower
    // type, then higher index. Negative when a goes first.
    static int CompareButtonKeys(const t_wndStatusBtn& a, const t_wndStatusBtn& b);

    // The shared state backgrounds of the default skin are loaded again on next use; module
    // null is the resource library.
    static void RequestBackgroundReload(HMODULE module = nullptr);

    int window;  // window number, -1 until set
    int type;    // 0 built-in, 1 custom, 3 component
    int index;   // the built-in kind, else the position in the skin's array

protected:
    // Create, then the style the kind needs and whether the cursor goes back after a click.
    bool CreateAs(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId, HINSTANCE instance,
                  t_wndBase* parentElement, int buttonStyle, bool restoreCursor);

private:
    // The animated picture of (mode, state): its frame list, null when not animated.
    t_imageFrames* AnimationOf(int forMode, int state);

    // A pointer-sized handle: the window that the button's messages go to.
    HWND m_postWindow;
    // The state whose picture was last shown, for continuing an animation in the
    // opposite direction.
    int m_shownStateBefore;
};
