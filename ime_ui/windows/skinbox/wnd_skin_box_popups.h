// The status bar's popups as the program shows them: the skin-box hint, the setup and
// toolbox tips and the bar configuration, each made on first need and owned here.
#pragma once

#include <windows.h>

#include <memory>

#include "ime_ui/windows/status/status_popups.h"

class t_wndBarConfig;
class t_wndSkinBoxHint;
class t_wndSkinBoxTip;

class t_statusPopups : public i_statusPopups {
public:
    // The tips' texts.
    static const wchar_t* const c_setupTipText;
    static const wchar_t* const c_toolboxTipText;
    // Placement of the skin-box hint: its left/bottom at the skin-box button's bottom-right
    // corner, kept beside the button.
    static constexpr int c_hintPlacement = 0x20;
    static constexpr int c_hintFitFlags = 1;
    // Status tips stay above their target unless the work area pushes them below it.
    static constexpr unsigned c_tipFitFlags = 2;

    explicit t_statusPopups(t_wndStatus& owner);
    ~t_statusPopups() override;

    void ShowSkinBoxHint(const RECT& skinBox, const RECT& window, bool immediate) override;
    void HideSkinBoxHint(bool atOnce) override;
    bool IsSkinBoxHintShown() const override;
    void LaunchSkinBox(int value, int source) override;
    void ShowTip(t_tip tip, const RECT& target, POINT point, unsigned flags, unsigned belowFlags) override;
    void HideTip(t_tip tip) override;
    bool IsTipShown(t_tip tip) const override;
    bool OpenBarConfig(const RECT& statusRect) override;
    bool IsBarConfigOpen() const override;
    bool IsBarConfigShown() const override;
    void PlaceBarConfig(const RECT& statusRect) override;
    bool GetBarConfigValues(DWORD& mask, DWORD& colour) const override;
    void CloseBarConfig() override;

    // Where every popup made from now on takes its pictures (null: the resource library).
    static void SetResourceModule(HMODULE module);

    t_wndSkinBoxHint* Hint() const { return m_hint.get(); }
    t_wndSkinBoxTip* Tip(t_tip tip) const { return m_tips[tip].get(); }
    t_wndBarConfig* BarConfig() const { return m_barConfig.get(); }

private:
    t_wndSkinBoxHint* EnsureHint();
    t_wndSkinBoxTip* EnsureTip(t_tip tip);

    t_wndStatus& m_status;
    // Each made on first use; the bar configuration goes first, the hint last.
    std::unique_ptr<t_wndSkinBoxHint> m_hint;
    std::unique_ptr<t_wndSkinBoxTip> m_tips[2];
    std::unique_ptr<t_wndBarConfig> m_barConfig;
};

// The factory the program installs with t_wndStatus::SetPopupsFactory.
i_statusPopups* MakeStatusPopups(t_wndStatus& status);
