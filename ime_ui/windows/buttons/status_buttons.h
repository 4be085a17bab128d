// The eighteen kinds of status button: the sixteen built-in kinds (t_skinButton), each reading its mode
// from the host and doing its own thing on a click, the skin's link buttons and its
// component buttons.
#pragma once

#include "foundation/core/str.h"
#include "ime_ui/skin/skin_button.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"

// Entries of the host's callback table that buttons call besides their layers' own.
enum : int {
    c_uiFnSoftKeyboardOff = 7,
    c_uiFnPassportOff = 19,
    c_uiFnPassportOn = 20,
    c_uiFnCustomLink = 21,
};

// Chinese/English: mode 2 and no clicks while input is disabled, else 0 in Chinese mode.
class t_wndButtonEn : public t_wndStatusBtn {
public:
    void UpdateState() override;
};

// Punctuation: mode 0 for Chinese punctuation in Chinese mode with input enabled.
class t_wndButtonPunct : public t_wndStatusBtn {
public:
    void UpdateState() override;
};

// Full or half width.
class t_wndButtonHalf : public t_wndStatusBtn {
public:
    void UpdateState() override;
};

// Full or double pinyin: mode 0 when the setting quanPin is on.
class t_wndButtonPin : public t_wndStatusBtn {
public:
    void UpdateState() override;
};

// Traditional or simplified; a right click asks for its popup.
class t_wndButtonTradition : public t_wndStatusBtn {
public:
    void UpdateState() override;
    bool OnRButtonUp(UINT keys, int x, int y) override;
};

// Soft keyboard: a toggle that is on while the host's soft keyboard shows.
class t_wndButtonSoftKeyboard : public t_wndStatusBtn {
public:
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    void UpdateState() override;
    void OnClick() override;
    bool OnRButtonUp(UINT keys, int x, int y) override;
};

// Asks the window it lives in for the toolbox, with its rectangle.
class t_wndButtonMenu : public t_wndStatusBtn {
public:
    void OnClick() override;
};

class t_wndButtonSearch : public t_wndStatusBtn {
public:
    void OnClick() override { CallLayerCallback(); }
};

// Page buttons: no clicks when the host cannot page that way.
class t_wndButtonPageUp : public t_wndStatusBtn {
public:
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    void UpdateState() override;
    void OnClick() override { CallLayerCallback(); }
};

class t_wndButtonPageDown : public t_wndStatusBtn {
public:
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    void UpdateState() override;
    void OnClick() override { CallLayerCallback(); }
};

// Passport: a toggle; mode 1 while logged in.
class t_wndButtonPassport : public t_wndStatusBtn {
public:
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    void UpdateState() override;
    void OnClick() override;
};

// Opens the window's web page.
class t_wndButtonWebpage : public t_wndStatusBtn {
public:
    // Hint and clicks follow whether the window has a page.
    void LoadImages() override;
    void OnClick() override;

    // The address as a hint shows it: at most 20 columns (characters past code 126 take
    // two), then "..."; control characters become "?".
    static void ShortenUrl(t_str& out, const wchar_t* url);
};

// Opens the skin box.
class t_wndButtonSkinManager : public t_wndStatusBtn {
public:
    // Opens the skin box for the window the button lives in; none by default.
    using t_skinBoxLauncher = void (*)(t_uiContext* context, HWND window);
    static void SetSkinBoxLauncher(t_skinBoxLauncher launcher);

    void OnClick() override;
};

class t_wndButtonHandInput : public t_wndStatusBtn {
public:
    void OnClick() override { CallLayerCallback(); }
};

class t_wndButtonNews : public t_wndStatusBtn {
public:
    void OnClick() override { CallLayerCallback(); }
};

// The logo asks the window it lives in for the bar configuration.
class t_wndButtonBarConfig : public t_wndStatusBtn {
public:
    void OnClick() override;
};

// A skin's link button: takes the mouse only when its record has a url.
class t_wndButtonCustom : public t_wndStatusBtn {
public:
    t_wndButtonCustom();
    void LoadImages() override;
    void OnClick() override;
};

// A skin's component button: the host runs the component and tells its mode.
class t_wndButtonComponent : public t_wndStatusBtn {
public:
    void UpdateState() override;
    void OnClick() override;

    // The record's bundle and component ids as numbers (0 when not a number).
    bool GetIds(int& bundleId, int& componentId) const;
};
