#include "ime_ui/windows/skinbox/wnd_skin_box_popups.h"

#include <new>

#include "foundation/core/owned.h"
#include "foundation/win/rect.h"
#include "graphics/paint/work_area.h"
#include "ime_ui/windows/skinbox/wnd_bar_config.h"
#include "ime_ui/windows/skinbox/wnd_skin_box.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_tip.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "toolkit/controls/wnd_delay_show.h"

namespace {

HMODULE g_resourceModule = nullptr;
const DWORD c_popupStyle = WS_POPUP | WS_DISABLED;
const int c_firstSize = 100;

}  // namespace

const wchar_t* const t_statusPopups::c_setupTipText = L"点我设置";
const wchar_t* const t_statusPopups::c_toolboxTipText = L"手写、换肤、截屏应有尽有，\r\n惊喜尽在“栖鹭奇趣盒”。";

void t_statusPopups::SetResourceModule(HMODULE module) { g_resourceModule = module; }

i_statusPopups* MakeStatusPopups(t_wndStatus& status) { return new (std::nothrow) t_statusPopups(status); }

t_statusPopups::t_statusPopups(t_wndStatus& owner) : m_status(owner) {}

t_statusPopups::~t_statusPopups() = default;

// ---- skin-box hint

t_wndSkinBoxHint* t_statusPopups::EnsureHint()
{
    if (m_hint)
        return m_hint.get();
    std::unique_ptr<t_wndSkinBoxHint> made = MakeOwned<t_wndSkinBoxHint>();
    if (!made)
        return nullptr;
    made->SetContext(m_status.GetContext());
    made->SetResourceModule(g_resourceModule);
    if (!made->Create(c_popupStyle, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(m_status.GetHwnd()), nullptr, nullptr))
        return nullptr;
    made->SetNotify(m_status.GetHwnd(), c_msgSkinBoxHidden);
    m_hint = std::move(made);
    return m_hint.get();
}

void t_statusPopups::ShowSkinBoxHint(const RECT& skinBox, const RECT& window, bool immediate)
{
    t_wndSkinBoxHint* hint = EnsureHint();
    if (!hint)
        return;
    const POINT corner = {skinBox.right, skinBox.bottom};
    t_delayShowRequest request;
    request.Set(&corner, c_hintPlacement, c_hintFitFlags, &skinBox, &window, immediate);
    hint->Popup(request);
}

void t_statusPopups::HideSkinBoxHint(bool atOnce)
{
    if (!m_hint)
        return;
    m_hint->Hide(atOnce);
    if (m_hint->tip)
        m_hint->tip->HideTip();
}

bool t_statusPopups::IsSkinBoxHintShown() const { return m_hint && m_hint->IsShown(); }

void t_statusPopups::LaunchSkinBox(int value, int source) { ::LaunchSkinBox(value, source); }

// ---- tips

t_wndSkinBoxTip* t_statusPopups::EnsureTip(t_tip tip)
{
    if (tip != e_setupTip && tip != e_toolboxTip)
        return nullptr;
    if (m_tips[tip])
        return m_tips[tip].get();
    std::unique_ptr<t_wndSkinBoxTip> made = MakeOwned<t_wndSkinBoxTip>();
    if (!made)
        return nullptr;
    made->SetResourceModule(g_resourceModule);
    made->tipText.Assign(tip == e_setupTip ? c_setupTipText : c_toolboxTipText);
    HWND owner = m_status.GetHwnd();
    if (!made->Create(c_popupStyle, 0, 0, c_firstSize, c_firstSize, reinterpret_cast<INT_PTR>(owner), nullptr,
                      nullptr))
        return nullptr;
    made->SetNotify(owner, tip == e_setupTip ? c_msgSetupTipClicked : c_msgCornerPopup);
    m_tips[tip] = std::move(made);
    return m_tips[tip].get();
}

void t_statusPopups::ShowTip(t_tip tip, const RECT& target, POINT point, unsigned flags, unsigned belowFlags)
{
    t_wndSkinBoxTip* made = EnsureTip(tip);
    if (!made)
        return;
    // Above the target; when the work area pushes it onto the target, below its bottom edge.
    const RECT above = made->ComputeTipRect(point, flags, c_tipFitFlags, target);
    if (above.top >= target.bottom)
        made->ShowTip(target, POINT{point.x, target.bottom}, belowFlags, c_tipFitFlags, false);
    else
        made->ShowTip(target, point, flags, c_tipFitFlags, false);
}

void t_statusPopups::HideTip(t_tip tip)
{
    if ((tip == e_setupTip || tip == e_toolboxTip) && m_tips[tip])
        m_tips[tip]->HideTip();
}

bool t_statusPopups::IsTipShown(t_tip tip) const
{
    return (tip == e_setupTip || tip == e_toolboxTip) && m_tips[tip] && m_tips[tip]->IsShown();
}

// ---- bar configuration

bool t_statusPopups::OpenBarConfig(const RECT& statusRect)
{
    if (!m_barConfig) {
        std::unique_ptr<t_wndBarConfig> made = MakeOwned<t_wndBarConfig>();
        if (!made)
            return false;
        made->SetContext(m_status.GetContext());
        made->SetResourceModule(g_resourceModule);
        if (!made->Create(c_popupStyle, 0, 0, c_firstSize, c_firstSize, reinterpret_cast<INT_PTR>(m_status.GetHwnd()),
                          nullptr, nullptr))
            return false;
        m_barConfig = std::move(made);
    }
    m_barConfig->Rebuild();
    PlaceBarConfig(statusRect);
    m_barConfig->ShowConfig();
    return true;
}

bool t_statusPopups::IsBarConfigOpen() const { return m_barConfig != nullptr; }

bool t_statusPopups::IsBarConfigShown() const { return m_barConfig && m_barConfig->shown; }

void t_statusPopups::PlaceBarConfig(const RECT& statusRect)
{
    if (!m_barConfig)
        return;
    const SIZE size = m_barConfig->MeasureNow();
    // Its top-right corner at the bar's, lifted by its own height: it sits above the bar.
    RECT placed = {statusRect.right - size.cx, statusRect.top - size.cy, statusRect.right, statusRect.top};
    FitRectToWorkArea(placed, statusRect, e_fitAboveAnchor);
    m_barConfig->Move(placed.left, placed.top, RectWidth(placed), RectHeight(placed), m_barConfig->shown);
}

bool t_statusPopups::GetBarConfigValues(DWORD& mask, DWORD& colour) const
{
    if (!m_barConfig)
        return false;
    mask = m_barConfig->mask;
    colour = m_barConfig->colour;
    return true;
}

void t_statusPopups::CloseBarConfig()
{
    if (!m_barConfig)
        return;
    m_barConfig->Show(false);
    m_barConfig.reset();
}
