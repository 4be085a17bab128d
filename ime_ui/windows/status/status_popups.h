// The popups that hang off the status bar: the skin-box hint, the setup and toolbox tips
// and the bar configuration window. The status bar decides when each one shows and what it
// points at; the popups themselves live behind this interface, made for each status bar
// by a factory that the program installs once. Without a factory a status bar has no
// popups, and what it would ask of them is left out.
//
// The popups answer through the status window's private messages (ime_messages.h):
// the hint posts c_msgSkinBoxHidden when it has hidden and passes its tip's click on as
// c_msgSkinBoxLaunch; the setup tip posts c_msgSetupTipClicked and the toolbox tip
// c_msgCornerPopup when clicked; the bar configuration posts c_msgBarConfigDone with 1
// (confirmed) or 0 (cancelled). Each is created owned by the status window (GetHwnd) and
// with its context.
#pragma once

#include <windows.h>

#include "ime_ui/windows/ime_messages.h"

class t_wndStatus;

class i_statusPopups {
public:
    enum t_tip : int {
        e_setupTip = 0,    // "点我设置", at the logo button
        e_toolboxTip = 1,  // the toolbox tip, at the menu button
    };

    virtual ~i_statusPopups() = default;

    // The skin-box hint pops up at the bottom-right corner of skinBox (screen), kept
    // beside it and near window (the status window's rectangle); immediate skips its fade.
    virtual void ShowSkinBoxHint(const RECT& skinBox, const RECT& window, bool immediate) = 0;
    // atOnce hides it now, else it starts to fade out; its tip hides either way.
    virtual void HideSkinBoxHint(bool atOnce) = 0;
    virtual bool IsSkinBoxHintShown() const = 0;
    // Runs the skin-box utility with the value (1 after a click, 0 after a time-out) and
    // the source of the request.
    virtual void LaunchSkinBox(int value, int source) = 0;

    // A tip above target with its arrow at point (placement flags above); when the work
    // area pushes it onto target it goes below with belowFlags. A later call moves it.
    virtual void ShowTip(t_tip tip, const RECT& target, POINT point, unsigned flags, unsigned belowFlags) = 0;
    virtual void HideTip(t_tip tip) = 0;
    virtual bool IsTipShown(t_tip tip) const = 0;

    // Makes the bar configuration on first use, places it above the status window's
    // top-right corner (statusRect, screen) and shows it; false when it cannot be shown.
    virtual bool OpenBarConfig(const RECT& statusRect) = 0;
    virtual bool IsBarConfigOpen() const = 0;
    virtual bool IsBarConfigShown() const = 0;
    // A shown configuration follows the status window.
    virtual void PlaceBarConfig(const RECT& statusRect) = 0;
    // The button mask and icon colour the configuration holds; false when none is open.
    virtual bool GetBarConfigValues(DWORD& mask, DWORD& colour) const = 0;
    // Hides and deletes the configuration.
    virtual void CloseBarConfig() = 0;
};

// Makes the popups of one status bar (owned by it); null for none.
using t_statusPopupsFactory = i_statusPopups* (*)(t_wndStatus& status);
