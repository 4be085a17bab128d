#include "ime_ui/windows/skinbox/wnd_skin_box.h"

#include <new>

#include "foundation/core/owned.h"
#include "foundation/process/component_client.h"
#include "foundation/config/runtime.h"
#include "foundation/process/vav_idiz_cmd.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/rect.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/work_area.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_tip.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/window_classes.h"

namespace {

const DWORD c_popupExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

}  // namespace

// ---- launch

t_str SkinBoxLaunchArguments(int value, int source)
{
    t_str arguments;
    if (const wchar_t* skinBoxSwitch = VavIdizSwitch(t_vavIdizCmd::c_skinBoxSwitch))
        arguments.AppendFormat(L" %s", skinBoxSwitch);
    arguments.AppendFormat(L" \"/p\"\"%d\" \"/p\"\"%d\"", source, value);
    return arguments;
}

bool LaunchSkinBox(int value, int source)
{
    t_runtime* runtime = GetRuntime();
    UserManager* users = UserManager::Instance();
    t_vavIdizCmd command(runtime ? runtime->GetInstallDir().c_str() : L"", users ? users->GetCurrentUserId() : 0);
    const t_str arguments = SkinBoxLaunchArguments(value, source);
    command.Arguments().AppendFormat(L"%s", arguments.c_str());
    return command.Run();
}

// ---- button

const wchar_t* const t_wndBtnSkinBox::c_tooltip = L"打开皮肤小盒子";
// The component manager's table names the skin box "SkinBox" (bundle "vexil.skinbox").
const wchar_t* const t_wndBtnSkinBox::c_componentName = L"SkinBox";

void t_wndBtnSkinBox::LoadImages()
{
    if (!hint)
        return;
    imageSets.count = 1;
    t_imageSet& set = imageSets.sets[0];
    for (t_image& picture : set.images)
        picture.Init();
    set.images[e_normal] = hint->pictures[t_wndSkinBoxHint::e_normal];
    set.images[e_down] = hint->pictures[t_wndSkinBoxHint::e_down];
    set.images[e_hover] = hint->pictures[t_wndSkinBoxHint::e_hover];
    // The copies show the hint's bitmaps; only the hint frees them.
    for (t_image& picture : set.images)
        picture.ownsSource = 0;
}

void t_wndBtnSkinBox::OnClick()
{
    if (!hint)
        return;
    hint->HideNow();
    t_componentClient::InvokeByName(c_componentName);
    UiWrapImplBase& ui = hint->GetContext()->Ui();
    if (ui.IsSkinBoxActive())
        ui.OnSkinBoxLaunch(0);
    LaunchSkinBox(1, e_skinBoxFromButton);
}

// ---- hint

const wchar_t* const t_wndSkinBoxHint::c_tipText = L"点此换肤";
const wchar_t* const t_wndSkinBoxHint::c_pictureNames[e_pictureCount] = {
    L"IDR_PNG_SKINBOX_BTN", L"IDR_PNG_SKINBOX_BTN_DOWN", L"IDR_PNG_SKINBOX_BTN_HOVER"};

t_wndSkinBoxHint::t_wndSkinBoxHint()
    : button(nullptr), tipPlaced(false), tipOnLeft(false), notifyMessage(0), notifyWindow(nullptr),
      resourceModule(nullptr), m_hintRect{}, m_tipAnchorRect{}, m_tipAnchor{0, 0}, m_tipFlags(c_tipFlags)
{
    for (t_image& picture : pictures)
        picture.Init();
    dragEnabled = false;
}

t_wndSkinBoxHint::~t_wndSkinBoxHint() { Destroy(); }

bool t_wndSkinBoxHint::Create(DWORD style, int x, int y, int, int, INT_PTR ownerHwnd, HINSTANCE instance,
                              t_wndBase* parentElement)
{
    for (int i = 0; i < e_pictureCount; ++i) {
        pictures[i].Release();
        if (!pictures[i].LoadResource(resourceModule, c_pictureNames[i]))
            pictures[i].Init();
    }
    const t_image& normal = pictures[e_normal];
    const int width = normal.IsBitmapEmpty() ? 0 : normal.partWidth;
    const int height = normal.IsBitmapEmpty() ? 0 : normal.partHeight;
    if (!CreateWindowOfClass(c_topClassName, L"", style, x, y, width, height, ownerHwnd, instance, parentElement,
                             c_popupExStyle))
        return false;
    SetLayered(true);
    SetPerPixelAlpha(true);

    button = new (std::nothrow) t_wndBtnSkinBox(this);
    if (!button || !button->Create(WS_CHILD | WS_VISIBLE, x, y, width, height, 0, instance, this)) {
        delete button;
        button = nullptr;
        return true;
    }
    button->SetText(t_wndBtnSkinBox::c_tooltip);

    auto made = MakeOwned<t_layoutAligned>();
    t_layoutAligned* root = made.get();
    if (!root)
        return true;
    root->SetRect(rect);
    root->SetMinSize(width, height);
    SetLayout(std::move(made));
    root->AddChild(t_layoutPtr(button->CreateLayout()),
                   t_alignInfo{t_alignInfo::e_near, 0, t_alignInfo::e_free, 0, t_alignInfo::e_near, 0,
                               t_alignInfo::e_free, 0, 0, 0, 0, 0, 0});
    return true;
}

void t_wndSkinBoxHint::Destroy()
{
    tip.reset();
    t_wndDelayShow::Destroy();
    button = nullptr;
    for (t_image& picture : pictures) {
        picture.Release();
        picture.Init();
    }
}

LRESULT t_wndSkinBoxHint::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == c_msgSkinBoxLaunch)
        OnTipNotify(lParam != 0);
    return t_wndDelayShow::WndProc(window, msg, wParam, lParam);
}

t_wndSkinBoxTip* t_wndSkinBoxHint::EnsureTip()
{
    if (tip)
        return tip.get();
    auto made = MakeOwned<t_wndSkinBoxTip>();
    if (!made)
        return nullptr;
    made->SetResourceModule(resourceModule);
    made->tipText.Assign(c_tipText);
    if (!made->Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(GetHwnd()), nullptr, nullptr))
        return nullptr;
    made->SetNotify(GetHwnd(), c_msgSkinBoxLaunch);
    tip = std::move(made);
    return tip.get();
}

void t_wndSkinBoxHint::OnTipNotify(bool timedOut)
{
    UiWrapImplBase& ui = GetContext()->Ui();
    if (ui.IsSkinBoxActive()) {
        ui.OnSkinBoxLaunch(0);
        LaunchSkinBox(timedOut ? 0 : 1, e_skinBoxFromHint);
    }
    if (shown)
        StartFadeOut();
    if (tip)
        tip->HideTip();
}

void t_wndSkinBoxHint::OnHidden()
{
    if (notifyWindow)
        PostMessageW(notifyWindow, notifyMessage, 0, 1);
}

bool t_wndSkinBoxHint::FadeOnLeave() { return !GetContext()->Ui().IsSkinBoxActive(); }

void t_wndSkinBoxHint::PlaceTip(const RECT& hintRect)
{
    tipOnLeft = false;
    m_tipAnchorRect = hintRect;
    m_tipAnchor = POINT{hintRect.right, (hintRect.top + hintRect.bottom) / 2};
    m_tipFlags = c_tipFlags;
    t_wndSkinBoxTip* made = EnsureTip();
    if (!made)
        return;
    const RECT tipRect = made->ComputeTipRect(m_tipAnchor, m_tipFlags, c_tipFitFlags, m_tipAnchorRect);
    tipPlaced = true;
    // The work area put the tip on the hint's left: it points from there.
    tipOnLeft = hintRect.left >= tipRect.right;
    if (tipOnLeft) {
        m_tipAnchor = POINT{hintRect.left, (hintRect.top + hintRect.bottom) / 2};
        m_tipFlags = c_tipFlags | t_wndSkinBoxTip::e_rightAtX;
    }
}

void t_wndSkinBoxHint::OnPlaced(const RECT& finalRect, const RECT&)
{
    m_hintRect = finalRect;
    tipPlaced = false;
    if (!GetContext()->Ui().IsSkinBoxActive())
        return;
    PlaceTip(finalRect);
    if (!tipPlaced)
        return;
    // Hint and tip go on one side of the skin-box button.
    const RECT& fit = request.fitRect;
    const bool hintOnLeft = finalRect.right <= fit.left;
    if (tipOnLeft == hintOnLeft)
        return;
    const int width = RectWidth(finalRect), height = RectHeight(finalRect);
    const int x = tipOnLeft ? request.anchorX - RectWidth(fit) - width : request.anchorX;
    RECT moved = {x, finalRect.top, x + width, finalRect.top + height};
    FitRectToWorkArea(moved, fit, static_cast<unsigned>(request.fitFlags));
    m_hintRect = moved;
    const bool wasOnLeft = tipOnLeft;
    PlaceTip(moved);
    // Once moved, the tip keeps the side that made the hint move.
    if (tipOnLeft != wasOnLeft) {
        tipOnLeft = wasOnLeft;
        m_tipAnchor = POINT{wasOnLeft ? moved.left : moved.right, (moved.top + moved.bottom) / 2};
        m_tipFlags = c_tipFlags | (wasOnLeft ? t_wndSkinBoxTip::e_rightAtX : 0u);
    }
}

void t_wndSkinBoxHint::OnPopup()
{
    const RECT now = GetRect();
    if (m_hintRect.left != now.left || m_hintRect.top != now.top)
        Move(m_hintRect.left, m_hintRect.top, RectWidth(m_hintRect), RectHeight(m_hintRect), true);
    if (tipPlaced && tip)
        tip->ShowTip(m_tipAnchorRect, m_tipAnchor, m_tipFlags, c_tipFitFlags, true);
}

void t_wndSkinBoxHint::HideNow()
{
    if (shown)
        Hide(true);
    if (tip)
        tip->HideTip();
}
