#include "ime_ui/windows/buttons/status_buttons.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>

#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

const int c_toggleStyle = t_wndButton::e_styleToggle | t_wndButton::e_styleDefault;

// The on bit of a toggle.
void SetToggleOn(t_wndButton& button, bool on)
{
    if (on)
        button.stateFlags |= t_wndButton::e_toggleOn;
    else
        button.stateFlags &= ~t_wndButton::e_toggleOn;
}

// A right-button release on the button asks the host for one of its popups.
bool PopupOnRelease(t_wndStatusBtn& button, int x, int y, int popupMode)
{
    if (!button.HitTest(x, y, 0))
        return false;
    button.GetContext()->Ui().PopupAt(button.HostWindow(), x, y, popupMode);
    return true;
}

// A decimal id of a component record; 0 when the text is not a number that fits.
int ParseId(const t_str& text)
{
    const wchar_t* begin = text.c_str();
    if (!begin || !*begin)
        return 0;
    wchar_t* end = nullptr;
    errno = 0;
    const long value = wcstol(begin, &end, 10);
    if (errno != 0 || end == begin || *end != L'\0' || value < INT_MIN || value > INT_MAX)
        return 0;
    return static_cast<int>(value);
}

// A page or link button: clicks and the hint follow whether it has an address.
void LinkHint(t_wndStatusBtn& button, const t_str& address, bool hasAddress)
{
    button.AllowClicks(hasAddress);
    if (!hasAddress) {
        button.SetText(L"");
        return;
    }
    const t_btnSkinRec* record = button.Record();
    if (record && !record->hint.IsEmpty()) {
        button.SetText(record->hint.c_str());
        return;
    }
    t_str shortened;
    t_wndButtonWebpage::ShortenUrl(shortened, address.c_str());
    t_str hint(L"访问: ");
    hint.Append(shortened.c_str());
    button.SetText(hint.c_str());
}

// A page button: mode 0 and clicks when the host can page that way, else mode 1 and none.
void ShowPaging(t_wndStatusBtn& button, bool can)
{
    button.SetMode(can ? 0 : 1);
    button.AllowClicks(can);
}

t_wndButtonSkinManager::t_skinBoxLauncher g_skinBoxLauncher = nullptr;

}  // namespace

void t_wndButtonEn::UpdateState()
{
    ImcWrapImplBase& imc = GetContext()->Imc();
    if (imc.IsInputDisabled()) {
        SetMode(2);
        AllowClicks(false);
    } else {
        SetMode(imc.IsChineseMode(HostWindow()) ? 0 : 1);
        AllowClicks(true);
    }
    UpdateHint();
}

void t_wndButtonPunct::UpdateState()
{
    ImcWrapImplBase& imc = GetContext()->Imc();
    const HWND host = HostWindow();
    const bool chinese = imc.IsChinesePunct(host) && imc.IsChineseMode(host) && !imc.IsInputDisabled();
    SetMode(chinese ? 0 : 1);
    AllowClicks(true);
    UpdateHint();
}

void t_wndButtonHalf::UpdateState()
{
    SetMode(GetContext()->Imc().IsFullWidth(HostWindow()) ? 0 : 1);
    UpdateHint();
}

void t_wndButtonPin::UpdateState()
{
    const t_uiSettings* settings = Settings();
    SetMode(settings && settings->quanPin ? 0 : 1);
    UpdateHint();
}

void t_wndButtonTradition::UpdateState()
{
    SetMode(GetContext()->Imc().IsTraditional(HostWindow()) ? 0 : 1);
    UpdateHint();
}

bool t_wndButtonTradition::OnRButtonUp(UINT, int x, int y)
{
    return PopupOnRelease(*this, x, y, UiWrapImplBase::e_popupFanJian);
}

bool t_wndButtonSoftKeyboard::Create(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId,
                                     HINSTANCE instance, t_wndBase* parentElement)
{
    return CreateAs(createStyle, x, y, width, height, createId, instance, parentElement, c_toggleStyle, false);
}

void t_wndButtonSoftKeyboard::UpdateState()
{
    SetToggleOn(*this, GetContext()->Imc().IsSoftKeyboardOn(HostWindow()));
    UpdateHint();
}

void t_wndButtonSoftKeyboard::OnClick()
{
    if (stateFlags & e_toggleOn) {
        CallUiFunction(c_uiFnSoftKeyboardOff);
        SetToggleOn(*this, false);
        return;
    }
    const RECT r = GetRect();
    GetContext()->Ui().PopupAt(HostWindow(), r.left, r.top, UiWrapImplBase::e_popupSoftKbd);
}

bool t_wndButtonSoftKeyboard::OnRButtonUp(UINT, int x, int y)
{
    return PopupOnRelease(*this, x, y, UiWrapImplBase::e_popupSoftKbdMenu);
}

void t_wndButtonMenu::OnClick()
{
    const HWND target = PostWindow();
    if (!target)
        return;
    const RECT r = GetRect();
    const WPARAM wParam = (static_cast<WPARAM>(static_cast<uint16_t>(r.top)) << 16) | static_cast<uint16_t>(r.left);
    const LPARAM lParam = static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(r.bottom - r.top)) << 16) |
                                              static_cast<uint16_t>(r.right - r.left));
    PostMessageW(target, c_msgToolbox, wParam, lParam);
}

bool t_wndButtonPageUp::Create(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId,
                               HINSTANCE instance, t_wndBase* parentElement)
{
    return CreateAs(createStyle, x, y, width, height, createId, instance, parentElement, e_styleDefault, true);
}

void t_wndButtonPageUp::UpdateState() { ShowPaging(*this, GetContext()->Imc().CanPageUp(HostWindow())); }

bool t_wndButtonPageDown::Create(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId,
                                 HINSTANCE instance, t_wndBase* parentElement)
{
    return CreateAs(createStyle, x, y, width, height, createId, instance, parentElement, e_styleDefault, true);
}

void t_wndButtonPageDown::UpdateState() { ShowPaging(*this, GetContext()->Imc().CanPageDown(HostWindow())); }

bool t_wndButtonPassport::Create(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId,
                                 HINSTANCE instance, t_wndBase* parentElement)
{
    return CreateAs(createStyle, x, y, width, height, createId, instance, parentElement, c_toggleStyle, false);
}

void t_wndButtonPassport::UpdateState()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    SetMode(ui.IsPassportLoggedIn() ? 1 : 0);
    SetToggleOn(*this, ui.IsPassportToggled());
    UpdateHint();
}

void t_wndButtonPassport::OnClick()
{
    const bool on = (stateFlags & e_toggleOn) != 0;
    CallUiFunction(on ? c_uiFnPassportOn : c_uiFnPassportOff);
    SetToggleOn(*this, !on);
}

void t_wndButtonWebpage::ShortenUrl(t_str& out, const wchar_t* url)
{
    out.Clear();
    if (!url)
        return;
    const int c_maxColumns = 20;
    int columns = 0;
    for (const wchar_t* p = url; *p; ++p) {
        columns += *p > 126 ? 2 : 1;
        if (columns > c_maxColumns) {
            out.Append(L"...");
            return;
        }
        out.AppendChar(*p < 32 ? L'?' : *p);
    }
}

void t_wndButtonWebpage::LoadImages()
{
    t_str page;
    const t_uiSkinData* skin = Skin();
    const bool hasPage = skin && skin->GetWebpageUrl(page, window);
    LinkHint(*this, page, hasPage);
}

void t_wndButtonWebpage::OnClick()
{
    t_str page;
    const t_uiSkinData* skin = Skin();
    if (!skin || !skin->GetWebpageUrl(page, window))
        return;
    GetContext()->Ui().NavigateUrl(page.c_str());
    CallLayerCallback();
}

void t_wndButtonSkinManager::SetSkinBoxLauncher(t_skinBoxLauncher launcher) { g_skinBoxLauncher = launcher; }

void t_wndButtonSkinManager::OnClick()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    if (ui.IsSkinBoxActive())
        ui.OnSkinBoxLaunch(0);
    if (g_skinBoxLauncher)
        g_skinBoxLauncher(GetContext(), PostWindow());
    CallLayerCallback();
}

void t_wndButtonBarConfig::OnClick()
{
    if (const HWND target = PostWindow())
        PostMessageW(target, c_msgBarConfigOpen, 0, 0);
}

t_wndButtonCustom::t_wndButtonCustom() { acceptsMouse = false; }

void t_wndButtonCustom::LoadImages()
{
    t_str url;
    const t_uiSkinData* skin = Skin();
    const t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    const bool hasUrl = parts && parts->GetButtonUrl(url, window, t_skinItemType::e_custom, index);
    acceptsMouse = hasUrl;
    LinkHint(*this, url, hasUrl);
}

void t_wndButtonCustom::OnClick()
{
    t_str url;
    const t_uiSkinData* skin = Skin();
    const t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    if (!parts || !parts->GetButtonUrl(url, window, t_skinItemType::e_custom, index))
        return;
    GetContext()->Ui().NavigateUrl(url.c_str());
    CallUiFunction(c_uiFnCustomLink);
}

bool t_wndButtonComponent::GetIds(int& bundleId, int& componentId) const
{
    bundleId = componentId = 0;
    const t_btnSkinRec* record = Record();
    if (!record)
        return false;
    bundleId = ParseId(record->BundleId);
    componentId = ParseId(record->ComId);
    return true;
}

void t_wndButtonComponent::UpdateState()
{
    int bundleId = 0, componentId = 0;
    if (!GetIds(bundleId, componentId))
        return;
    // The host's answer picks one of the three layers: anything else is held to them.
    const int state = GetContext()->Ui().GetComponentState(bundleId, componentId);
    SetMode(state < 0 ? 0 : state >= c_btnLayerCapacity ? c_btnLayerCapacity - 1 : state);
}

void t_wndButtonComponent::OnClick()
{
    int bundleId = 0, componentId = 0;
    if (GetIds(bundleId, componentId))
        GetContext()->Ui().RunComponent(bundleId, componentId);
}
