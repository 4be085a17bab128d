// The UI side of the host that embeds the input method's skinned windows: popups, tips,
// launches and the bar configuration. Every operation of this base ignores its arguments
// and answers a fixed default, so a window without a host shows nothing by itself: no
// popup, no tip or hint, and -1 for the status-button mask and colour, which sends the
// caller to the UI settings. Out arguments are never written by the defaults.
#pragma once

#include <windows.h>

struct t_uiSettings;

class UiWrapImplBase {
public:
    virtual ~UiWrapImplBase() = default;

    // Where a popup was asked for.
    enum t_popupMode {
        e_popupStatusBar = 0,     // right click on the status bar that no child took
        e_popupSoftKbdMenu = 1,   // right click on the soft-keyboard button
        e_popupSoftKbd = 2,       // click on the soft-keyboard button, flash command 12
        e_popupStatusCorner = 3,  // the status window's top-right corner
        e_popupFanJian = 4,       // right click on the traditional/simplified button
    };
    virtual void PopupAt(HWND host, int x, int y, int mode);

    // True makes the status window draw without layering.
    virtual bool IsLayeringOff();
    virtual bool IsPassportLoggedIn();
    virtual bool IsPassportToggled();
    // Fills the tooltip of a status button into text (capacity units).
    virtual void GetButtonHintText(wchar_t* text, int capacity, int window, int type, int index,
                                   const t_uiSettings* settings);
    virtual void NavigateUrl(const wchar_t* url);
    virtual void OnWindowShake(int gesture);
    virtual void OnWindowShow(HWND host, int flag);
    // True: the composition rich hint draws its frame picture.
    virtual bool DrawsHintFrame(HWND host);
    // Minimum size of the composition and candidate windows, when true.
    virtual bool GetMinWindowSize(HWND host, SIZE& size);
    virtual void OnFlashPoint(HWND host, int a, int b, int c);

    // Skin box and tips of the status window.
    virtual bool IsSkinBoxActive();
    virtual void OnSkinBoxLaunch(int flag);
    virtual void RunComponent(int bundleId, int componentId);
    virtual int GetComponentState(int bundleId, int componentId);  // default 0
    virtual bool CanShowSkinBoxHint();
    virtual bool WantsSetupTip();
    virtual void OnSetupTipDone(int flag);

    // Events of ReportBarConfigEvent.
    enum t_barConfigEvent {
        e_barConfigOpening = 0,
        e_barConfigApplied = 1,
        e_barConfigMaskChanged = 2,
        e_barConfigColorChanged = 3,
        e_barConfigConfirm = 4,
        e_barConfigCancel = 5,
        e_barConfigClosedByOpen = 6,
        e_barConfigDefault = 7,
    };
    // The bar configuration window.
    virtual void ApplyBarConfig(HWND host, DWORD buttonMask, DWORD colour);
    virtual void ReportBarConfigEvent(int code);
    virtual bool WantsBarConfigOpen();
    virtual void SetBarConfigOpen(int flag);
    // -1 (the default): take statusBtnFlag / statusBtnColor of the settings.
    virtual int GetStatusButtonMask();
    virtual int GetStatusButtonColor();
    // Every change while the configuration is open; -1 when it closes without a result.
    virtual void PreviewStatusButtonMask(int mask);
    virtual void PreviewStatusButtonColor(int colour);

    // 1 before and 0 after every message the IME windows handle.
    virtual void EnterMessage(int flag);
    virtual bool WantsToolboxTip();
    virtual void OnToolboxLaunch();
    virtual void OnBarConfigApplied();
};
