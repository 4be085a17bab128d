// The input method's status bar: a skinned IME window whose children are the status
// buttons of the runtime skin, laid out from the skin's own placement (user skins) or, for
// default skins, as a strip of the built-in buttons that the user's button mask chooses.
// Buttons and popups talk to it through private window messages; it tells its host where
// it is, when it shows and what the mouse did. The skin-box hint, the tips and the bar
// configuration hang off it behind i_statusPopups.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ime_ui/windows/flash/flash_key.h"
#include "ime_ui/windows/status/status_popups.h"
#include "ime_ui/windows/base/wnd_ui_skin_base.h"

class t_layoutAligned;
class t_wndStatusBtn;

class t_wndStatus : public t_wndUiSkinBase {
public:
    // The kind code of the status window in the host's mouse reports.
    static const int c_mouseWindowCode = 2;
    // wParam of the WM_IME_NOTIFY posted to the host when the left button comes up.
    static const WPARAM c_hostMoveNotify = 6;
    // Built-in kinds of the default strip, in strip order, and the spacing of the strip.
    static const int c_stripKinds[11];
    static const int c_stripStep = 20;
    static const int c_stripFirstColumn = 17;
    // The logo's bit is always in the default strip's mask.
    static const uint32_t c_logoBit = 1u << 15;
    // Rows 26 to 35 of the rendered bar are searched for the skin-box button.
    static const int c_skinBoxBandTop = 26;
    static const int c_skinBoxBandEnd = 36;
    // The toolbox program in the input method's folder and its arguments.
    static const wchar_t* const c_toolboxProgram;
    static const wchar_t* const c_toolboxArguments;

    // Makes the extra child of the default strip's second column.
    class i_extraChildFactory {
    public:
        virtual ~i_extraChildFactory() = default;
        // A new element (owned by the status bar); null for none.
        virtual t_wndBase* CreateExtraChild(t_wndStatus& status) = 0;
        // Whether element is one that this factory made (the status bar deletes those).
        virtual bool Owns(const t_wndBase* element) = 0;
    };

    t_wndStatus();
    // Hides and deletes the popups, then deletes every skin child.
    ~t_wndStatus() override;

    // The window class: its name (at most 19 units are kept) and its registration with
    // instance; false when it is neither registered nor already there.
    static void SetClassName(const wchar_t* name);
    static const wchar_t* ClassName();
    static bool RegisterClass(HINSTANCE instance);
    static LRESULT CALLBACK ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Where every status bar made from now on gets its popups.
    static void SetPopupsFactory(t_statusPopupsFactory factory);

    // Toolkit operations.
    // In child mode (owner mode) the window draws into the given owner; else a window of
    // the status class. Then the skin is applied.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                t_wndBase* parent) override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    bool OnRButtonDown(UINT keys, int x, int y) override;
    bool OnRButtonUp(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void Paint_Layout(t_paintCtx& context) override;
    int Measure(HDC dc) override;
    void SetBounds(int x, int y, int width, int height, bool repaint) override;
    bool Show(bool show) override;
    void Rebuild() override;
    void OnDragMove(int x, int y) override;
    void ClearSkinChildren() override;

    // The button under a packed id (type << 24 | window << 16 | index); null when the id
    // is out of range or no such button exists.
    t_wndStatusBtn* FindButton(uint32_t packedId) const;
    // The built-in button of kind; null when the bar has none.
    t_wndStatusBtn* FindKind(int kind) const;

    // The skin-box hint, when the host may show it and the skin draws no skin-manager button.
    void ShowSkinBoxHint(bool immediate);
    void ShowSetupTip();
    void ShowToolboxTip();
    void HideTips();
    // Asks the popups for the bar configuration (default skins only).
    void OpenBarConfig();
    void CloseBarConfig();
    // Starts the toolbox program for a rectangle given as the toolbox message packs it.
    void LaunchToolbox(WPARAM wParam, LPARAM lParam);

    void SetExtraChildFactory(i_extraChildFactory* factory) { extraChildFactory = factory; }
    i_statusPopups* Popups() const { return popups; }
    // The bar draws into its owner (the preview) instead of a window of its own.
    bool ChildMode() const { return ownerMode; }

    bool hasSkin;
    RECT skinBoxRect;  // skin-box button in window coordinates; all -1 until computed
    t_flashKeyMap buttonMap;
    i_statusPopups* popups;  // owned; made on first need
    t_wndBase* extraChild;   // owned
    i_extraChildFactory* extraChildFactory;

private:
    // The popups, made by the factory on first need; null without a factory.
    i_statusPopups* EnsurePopups();
    // The picture the bar is drawn from (the preview picture in placeholder mode when the
    // skin has one, else the status background); null when the skin has none.
    const t_image* BackgroundPicture() const;
    // Whether the skin lays the bar out itself (a user skin that is not a default skin).
    bool UsesSkinLayout() const;
    // The skin's own placement: buttons and flash items around the background.
    std::unique_ptr<t_layoutAligned> BuildSkinLayout(std::unique_ptr<t_layoutAligned> inner, bool withButtons);
    // The built-in strip and the extra child in a row as high as the background.
    std::unique_ptr<t_layoutAligned> BuildDefaultLayout(std::unique_ptr<t_layoutAligned> inner, int height,
                                                        bool withButtons);
    // The skin-box button's rectangle on the screen.
    RECT SkinBoxRectOnScreen();
    // The host's popup and the mouse report with the point relative to the window.
    void ReportMouse(int event, int x, int y);
    // A button's rectangle when it exists and shows; false otherwise.
    bool VisibleButtonRect(int kind, RECT& out) const;
    // The auxiliary popups take the window's new place.
    void FollowWithPopups();
    void HandleBarConfigDone(bool confirmed);
    void HandleBarConfigRequest();
    // True when msg is one of the private messages (handled).
    bool HandlePrivateMessage(UINT msg, WPARAM wParam, LPARAM lParam);
};
