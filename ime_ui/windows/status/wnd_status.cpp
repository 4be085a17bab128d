#include "ime_ui/windows/status/wnd_status.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "foundation/process/process_launch.h"
#include "foundation/config/runtime.h"
#include "foundation/win/rect.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/buttons/button_layer.h"
#include "ime_ui/windows/base/ime_message_guard.h"
#include "ime_ui/windows/buttons/status_button_factory.h"
#include "ime_ui/windows/buttons/status_buttons.h"
#include "ime_ui/windows/flash/wnd_flash_sender.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/window_classes.h"

namespace {

// The class name lives in a class-wide buffer: at most 19 units and the terminator.
const int c_classNameChars = 20;
wchar_t g_className[c_classNameChars] = L"VxPY_Status";
// The module the class was registered for; while set, the class procedure swallows the
// IME messages.
HINSTANCE g_classInstance = nullptr;
t_statusPopupsFactory g_popupsFactory = nullptr;

// The picture's size; false when it shows nothing or has no area.
bool PictureSize(const t_image* picture, int& width, int& height)
{
    if (!picture || picture->IsBitmapEmpty())
        return false;
    width = picture->partWidth;
    height = picture->partHeight;
    return width > 0 && height > 0;
}

const RECT c_noRect = {-1, -1, -1, -1};

}  // namespace

const int t_wndStatus::c_stripKinds[11] = {15, 0, 2, 1, 5, 10, 12, 7, 3, 4, 6};
const wchar_t* const t_wndStatus::c_toolboxProgram = L"DORivi.exe";
const wchar_t* const t_wndStatus::c_toolboxArguments = L"--appid=curiobox -appbox -hStatus %08x -rect (%d,%d,%d,%d)";

t_wndStatus::t_wndStatus()
    : hasSkin(true), skinBoxRect(c_noRect), popups(nullptr), extraChild(nullptr), extraChildFactory(nullptr)
{
    windowIndex = static_cast<int>(t_uiWindow::e_status);
    useContentBounds = true;
}

t_wndStatus::~t_wndStatus()
{
    if (popups) {
        popups->HideSkinBoxHint(true);
        popups->CloseBarConfig();
        delete popups;
        popups = nullptr;
    }
    ClearSkinChildren();
}

// ---- window class

void t_wndStatus::SetClassName(const wchar_t* name)
{
    if (!name)
        return;
    wcsncpy(g_className, name, c_classNameChars - 1);
    g_className[c_classNameChars - 1] = 0;
}

const wchar_t* t_wndStatus::ClassName() { return g_className; }

bool t_wndStatus::RegisterClass(HINSTANCE instance)
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, g_className, &existing)) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_IME;
        wc.lpfnWndProc = ClassWndProc;
        wc.cbWndExtra = 4;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = g_className;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    g_classInstance = instance;
    return true;
}

LRESULT CALLBACK t_wndStatus::ClassWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_classInstance && IsImeUiMessage(msg))
        return 0;
    t_wndStatus* object = reinterpret_cast<t_wndStatus*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_DESTROY || msg == WM_NCDESTROY) {
        // A window taken away with its owner: the object forgets the dead handle.
        if (msg == WM_NCDESTROY && object && object->hwnd == hwnd) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            object->hwnd = nullptr;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (!object)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return RunGuarded([&] { return object->WndProc(hwnd, msg, wParam, lParam); });
}

void t_wndStatus::SetPopupsFactory(t_statusPopupsFactory factory) { g_popupsFactory = factory; }

i_statusPopups* t_wndStatus::EnsurePopups()
{
    if (!popups && g_popupsFactory)
        popups = g_popupsFactory(*this);
    return popups;
}

// ---- creation and messages

bool t_wndStatus::Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                         t_wndBase* parent)
{
    // The program registers the class at start-up; a bar made before that registers it.
    if (!ownerMode && !RegisterClass(ToolkitInstanceOr(instance)))
        return false;
    if (!CreateUiWindow(g_className, WS_EX_NOACTIVATE, style, x, y, width, height, owner, instance, parent))
        return false;
    ResetUi(0);
    return true;
}

LRESULT t_wndStatus::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsImeUiMessage(msg))
        return 0;
    t_enterMessageGuard guard(GetContext()->Ui());
    if (PreHandleMessage(window, msg, wParam, lParam))
        return 1;
    if (HandlePrivateMessage(msg, wParam, lParam))
        return 0;
    return t_wndUiSkinBase::WndProc(window, msg, wParam, lParam);
}

bool t_wndStatus::HandlePrivateMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    UiWrapImplBase& ui = GetContext()->Ui();
    switch (msg) {
    case c_msgSkinBoxLaunch:
        ui.OnSkinBoxLaunch(0);
        if (EnsurePopups())
            popups->LaunchSkinBox(lParam == 0 ? 1 : 0, 1);
        return true;
    case c_msgSkinBoxHidden:
        skinBoxRect = c_noRect;
        return true;
    case c_msgSetupTipClicked:
        ui.OnSetupTipDone(0);
        ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigOpening);
        OpenBarConfig();
        return true;
    case c_msgBarConfigDone:
        HandleBarConfigDone(wParam == 1);
        return true;
    case c_msgBarConfigOpen:
        HandleBarConfigRequest();
        return true;
    case c_msgToolbox:
        LaunchToolbox(wParam, lParam);
        return true;
    case c_msgCornerPopup: {
        const RECT r = GetRect();
        ui.PopupAt(GetContext()->hostWindow, r.right, r.top, UiWrapImplBase::e_popupStatusCorner);
        return true;
    }
    default:
        return false;
    }
}

void t_wndStatus::HandleBarConfigDone(bool confirmed)
{
    UiWrapImplBase& ui = GetContext()->Ui();
    DWORD mask = 0, colour = 0;
    if (confirmed && popups && popups->GetBarConfigValues(mask, colour))
        ui.ApplyBarConfig(GetContext()->hostWindow, mask, colour);
    CloseBarConfig();
    ui.SetBarConfigOpen(0);
}

void t_wndStatus::HandleBarConfigRequest()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    if (popups && popups->IsBarConfigOpen() && popups->IsBarConfigShown()) {
        ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigClosedByOpen);
        CloseBarConfig();
        ui.SetBarConfigOpen(0);
        return;
    }
    ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigOpening);
    ui.PreviewStatusButtonMask(-1);
    ui.PreviewStatusButtonColor(-1);
    OpenBarConfig();
}

void t_wndStatus::OpenBarConfig()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    ui.OnSetupTipDone(0);
    if (popups)
        popups->HideTip(i_statusPopups::e_setupTip);
    t_uiSkinData* skin = Skin();
    // Only the default skins' strip is configurable.
    if (!skin || !skin->IsDefaultSkin() || skin->UserSkinInUse() || !EnsurePopups())
        return;
    if (popups->OpenBarConfig(GetRect()))
        ui.SetBarConfigOpen(1);
}

void t_wndStatus::CloseBarConfig()
{
    if (popups)
        popups->CloseBarConfig();
}

void t_wndStatus::LaunchToolbox(WPARAM wParam, LPARAM lParam)
{
    RECT target;
    const bool windowShown = shown && hasSkin;
    t_wndStatusBtn* menu = FindKind(static_cast<int>(t_skinButton::e_menu));
    if (wParam == 0 && windowShown && menu && menu->visible) {
        target = menu->GetRect();
    } else if (wParam == 0 && !menu) {
        target = GetRect();
    } else {
        const int x = static_cast<short>(LOWORD(wParam)), y = static_cast<short>(HIWORD(wParam));
        const int width = static_cast<short>(LOWORD(lParam)), height = static_cast<short>(HIWORD(lParam));
        target = RECT{x, y, x + width, y + height};
    }
    GetContext()->Ui().OnToolboxLaunch();

    t_runtime* runtime = GetRuntime();
    if (runtime) {
        t_path program(runtime->GetInstallDir().c_str());
        program.AppendPart(c_toolboxProgram);
        wchar_t arguments[160];
        const int written = _snwprintf(arguments, sizeof(arguments) / sizeof(arguments[0]) - 1, c_toolboxArguments,
                                       static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetHwnd())), target.left,
                                       target.top, RectWidth(target), RectHeight(target));
        arguments[written < 0 ? 0 : written] = 0;
        t_errorChain errors;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        // A toolbox that cannot start is dropped without a word.
        if (CreateProcessAt(errors, startup, process, program.c_str(), arguments, 0)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    if (popups)
        popups->HideTip(i_statusPopups::e_toolboxTip);
}

// ---- mouse

void t_wndStatus::ReportMouse(int event, int x, int y)
{
    const RECT r = GetRect();
    GetContext()->Imc().ReportMouse(GetContext()->hostWindow, c_mouseWindowCode, event, -1, x - r.left, y - r.top);
}

bool t_wndStatus::OnLButtonDown(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0))
        ReportMouse(ImcWrapImplBase::e_leftDown, x, y);
    return t_wndUiSkinBase::OnLButtonDown(keys, x, y);
}

bool t_wndStatus::OnLButtonUp(UINT keys, int x, int y)
{
    t_wndUiSkinBase::OnLButtonUp(keys, x, y);
    const RECT r = GetRect();
    OnDragMove(r.left, r.top);
    // The host learns that the bar may have moved; in the preview there is no host window
    // and this becomes a thread message that nothing handles.
    PostMessageW(GetContext()->hostWindow, WM_IME_NOTIFY, c_hostMoveNotify, 0);
    ReportMouse(ImcWrapImplBase::e_leftUp, x, y);
    return true;
}

bool t_wndStatus::OnRButtonDown(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0))
        ReportMouse(ImcWrapImplBase::e_rightDown, x, y);
    return t_wndUiSkinBase::OnRButtonDown(keys, x, y);
}

bool t_wndStatus::OnRButtonUp(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return t_wndUiSkinBase::OnRButtonUp(keys, x, y);
    ReportMouse(ImcWrapImplBase::e_rightUp, x, y);
    if (!t_wndUiSkinBase::OnRButtonUp(keys, x, y))
        GetContext()->Ui().PopupAt(GetContext()->hostWindow, x, y, UiWrapImplBase::e_popupStatusBar);
    return true;
}

void t_wndStatus::OnMouseEnter()
{
    t_wndUiSkinBase::OnMouseEnter();
    ShowSkinBoxHint(false);
}

void t_wndStatus::OnMouseLeave()
{
    t_wndUiSkinBase::OnMouseLeave();
    if (popups && !GetContext()->Ui().IsSkinBoxActive())
        popups->HideSkinBoxHint(false);
}

void t_wndStatus::OnDragMove(int x, int y)
{
    if (t_uiSettings* settings = Settings()) {
        settings->statusPosX = x;
        settings->statusPosY = y;
    }
}

// ---- painting and geometry

void t_wndStatus::Paint_Layout(t_paintCtx& context)
{
    t_wndUiSkinBase::Paint_Layout(context);
    GetContext()->Imc().OnWindowPainted(GetContext()->hostWindow);
}

int t_wndStatus::Measure(HDC dc)
{
    Relayout(nullptr);
    if (!hasSkin)
        SetBounds(0, 0, 0, 0, false);
    return t_wndUiSkinBase::Measure(dc);
}

void t_wndStatus::SetBounds(int x, int y, int width, int height, bool repaint)
{
    t_uiSkinData* skin = Skin();
    if (!skin || UsesSkinLayout()) {
        int naturalWidth = 0, naturalHeight = 0;
        if (PictureSize(BackgroundPicture(), naturalWidth, naturalHeight)) {
            width = naturalWidth;
            height = naturalHeight;
        } else if (shown) {
            Show(false);
        }
    }
    t_wndUiSkinBase::SetBounds(x, y, width, height, repaint);
    FollowWithPopups();
    const RECT r = GetRect();
    if (!ChildMode() && skin && skin->WidgetCount() != 0) {
        if (t_wndFlashSenderImpl* sender = t_wndFlashSenderImpl::Instance()) {
            sender->SetHostWindow(GetContext()->hostWindow);
            sender->FollowRect(r);
        }
    }
    GetContext()->Imc().ReportWindowRect(GetContext()->hostWindow, r.left, r.top, RectWidth(r), RectHeight(r));
}

void t_wndStatus::FollowWithPopups()
{
    if (!popups)
        return;
    if (popups->IsSkinBoxHintShown())
        ShowSkinBoxHint(true);
    if (popups->IsTipShown(i_statusPopups::e_toolboxTip))
        ShowToolboxTip();
    if (popups->IsTipShown(i_statusPopups::e_setupTip))
        ShowSetupTip();
    if (popups->IsBarConfigOpen() && popups->IsBarConfigShown())
        popups->PlaceBarConfig(GetRect());
}

bool t_wndStatus::Show(bool show)
{
    if (!hasSkin)
        show = false;
    UiWrapImplBase& ui = GetContext()->Ui();
    if (show) {
        if (ui.IsSkinBoxActive())
            ShowSkinBoxHint(true);
        if (ui.WantsSetupTip())
            ShowSetupTip();
        if (ui.WantsBarConfigOpen())
            OpenBarConfig();
        if (ui.WantsToolboxTip())
            ShowToolboxTip();
    } else if (popups) {
        popups->HideSkinBoxHint(true);
        HideTips();
        CloseBarConfig();
    }
    const bool result = t_wndUiSkinBase::Show(show);
    t_uiSkinData* skin = Skin();
    if (!ChildMode() && skin && skin->WidgetCount() != 0) {
        if (t_wndFlashSenderImpl* sender = t_wndFlashSenderImpl::Instance()) {
            sender->SetHostWindow(GetContext()->hostWindow);
            sender->FollowShow(show);
        }
    }
    if (!ChildMode())
        GetContext()->Imc().ReportWindowShown(GetContext()->hostWindow, hwnd, show);
    return result;
}

// ---- buttons

t_wndStatusBtn* t_wndStatus::FindButton(uint32_t packedId) const
{
    const int type = static_cast<int>(packedId >> 24);
    const int window = static_cast<int>((packedId >> 16) & 0xFF);
    const int index = static_cast<int>(packedId & 0xFFFF);
    if (window >= c_skinWindowCount || packedId >= 0x4000000u)
        return nullptr;
    if (type == static_cast<int>(t_skinItemType::e_fixed) ? index > c_skinFixedIndexLimit
                                                          : index > c_skinItemIndexLimit)
        return nullptr;
    return FindStatusButton(buttonMap, window, static_cast<t_skinItemType>(type), index);
}

t_wndStatusBtn* t_wndStatus::FindKind(int kind) const
{
    return FindStatusButton(buttonMap, windowIndex, t_skinItemType::e_fixed, kind);
}

bool t_wndStatus::VisibleButtonRect(int kind, RECT& out) const
{
    t_wndStatusBtn* button = FindKind(kind);
    if (!button || !button->visible)
        return false;
    out = button->GetRect();
    return true;
}

void t_wndStatus::ClearSkinChildren()
{
    t_wndUiSkinBase::ClearSkinChildren();
    buttonMap.Clear();
    delete extraChild;
    extraChild = nullptr;
    if (extraChildFactory) {
        for (int i = ChildCount() - 1; i >= 0; --i) {
            t_wndBase* child = ChildAt(i);
            if (child && extraChildFactory->Owns(child))
                delete child;
        }
    }
}

// ---- popups

RECT t_wndStatus::SkinBoxRectOnScreen()
{
    const RECT window = GetRect();
    t_uiSkinData* skin = Skin();
    const bool computed =
        !(skinBoxRect.left == -1 && skinBoxRect.top == -1 && skinBoxRect.right == -1 && skinBoxRect.bottom == -1);
    if (!computed && skin && !(skin->ButtonParts() && skin->ButtonParts()->Flashes().Count() > 0)) {
        // The skin-box button is what the bar draws in a band of rows below its strip.
        const int width = RectWidth(window), height = RectHeight(window);
        const int rows = std::min(height, c_skinBoxBandEnd) - c_skinBoxBandTop;
        HDC screen = GetDC(nullptr);
        t_memDC dib;
        RECT band;
        if (rows > 0 && width > 0 && RenderToDib(screen, dib, width, height) &&
            GetOpaqueBounds(width, rows, dib.Pixels() + static_cast<size_t>(height - c_skinBoxBandTop - rows) * width,
                            band)) {
            skinBoxRect = RECT{band.left, c_skinBoxBandTop + band.top, band.right, c_skinBoxBandTop + band.bottom};
        }
        if (screen)
            ReleaseDC(nullptr, screen);
    }
    if (skinBoxRect.left == -1 && skinBoxRect.right == -1)
        return window;
    RECT onScreen = skinBoxRect;
    OffsetRect(&onScreen, window.left, window.top);
    return onScreen;
}

void t_wndStatus::ShowSkinBoxHint(bool immediate)
{
    UiWrapImplBase& ui = GetContext()->Ui();
    t_uiSkinData* skin = Skin();
    if (!ui.CanShowSkinBoxHint() || !skin || skin->HasSkinManagerPicture() || !EnsurePopups())
        return;
    const RECT box = SkinBoxRectOnScreen();
    popups->ShowSkinBoxHint(box, GetRect(), immediate || ui.IsSkinBoxActive());
}

void t_wndStatus::ShowSetupTip()
{
    t_uiSkinData* skin = Skin();
    RECT logo;
    if (!skin || !skin->IsDefaultSkin() || !VisibleButtonRect(static_cast<int>(t_skinButton::e_logo), logo) ||
        !EnsurePopups())
        return;
    popups->ShowTip(i_statusPopups::e_setupTip, logo, POINT{logo.left, logo.top}, 32, 0);
}

void t_wndStatus::ShowToolboxTip()
{
    if (!EnsurePopups())
        return;
    RECT target;
    if (!VisibleButtonRect(static_cast<int>(t_skinButton::e_menu), target))
        target = GetRect();
    popups->ShowTip(i_statusPopups::e_toolboxTip, target, POINT{(target.left + target.right) / 2, target.top}, 36, 4);
}

void t_wndStatus::HideTips()
{
    if (!popups)
        return;
    popups->HideTip(i_statusPopups::e_setupTip);
    popups->HideTip(i_statusPopups::e_toolboxTip);
}

// ---- rebuilding from the skin

const t_image* t_wndStatus::BackgroundPicture() const
{
    t_uiSkinData* skin = Skin();
    if (!skin)
        return nullptr;
    const t_image* preview = skin->GetStatusPreview();
    if (placeholderFlashes && preview && !preview->IsBitmapEmpty())
        return preview;
    return skin->GetStatusBackground();
}

bool t_wndStatus::UsesSkinLayout() const
{
    t_uiSkinData* skin = Skin();
    return skin && skin->UserSkinInUse() && !skin->IsDefaultSkin();
}

std::unique_ptr<t_layoutAligned> t_wndStatus::BuildSkinLayout(std::unique_ptr<t_layoutAligned> inner,
                                                              bool withButtons)
{
    if (!withButtons)
        return inner;
    CreateWindowButtons(buttonMap, windowIndex, this, GetContext());
    CreateFlashes(windowIndex);
    t_layoutGrid* grid = nullptr;
    auto wrapped = BuildButtonLayer(std::move(inner), buttonMap, 0, grid);
    if (wrapped)
        PlaceFlashes(wrapped.get(), grid, windowIndex, 0);
    return wrapped;
}

std::unique_ptr<t_layoutAligned> t_wndStatus::BuildDefaultLayout(std::unique_ptr<t_layoutAligned> inner, int height,
                                                                 bool withButtons)
{
    if (!withButtons)
        return inner;
    auto strip = MakeOwned<t_layoutAligned>();
    auto grid = MakeOwned<t_layoutGrid>(1, 2);
    if (!strip || !grid)
        return nullptr;
    CreateWindowButtons(buttonMap, windowIndex, this, GetContext());
    t_uiSettings* settings = Settings();
    const uint32_t mask = (settings ? settings->statusBtnFlag : 0) | c_logoBit;
    // Buttons that are not in the strip stay hidden.
    for (int i = 0; i < ChildCount(); ++i) {
        if (t_wndStatusBtn* button = dynamic_cast<t_wndStatusBtn*>(ChildAt(i)))
            button->visible = false;
    }
    int placed = 0;
    for (int kind : c_stripKinds) {
        t_wndStatusBtn* button = FindKind(kind);
        if (!button || !(mask & (1u << kind)))
            continue;
        // A new tree gets new nodes: one the button had went with the old tree.
        t_layoutPtr node(button->CreateLayout());
        if (!node)
            continue;
        button->visible = true;
        t_alignInfo place = t_alignInfo::Default();
        place.leftMode = t_alignInfo::e_near;
        place.leftMargin = 1 + c_stripStep * placed;
        place.rightMode = t_alignInfo::e_free;
        place.topMode = t_alignInfo::e_middle;
        place.bottomMode = t_alignInfo::e_middle;
        strip->AddChild(std::move(node), place);
        ++placed;
    }
    strip->SetMinSize(2 + c_stripStep * placed, 0);
    grid->SetColumnInfo(0, c_stripFirstColumn, c_stripFirstColumn, 0, 0.0f);
    grid->SetColumnInfo(1, 0, 0, 0, 1.0f);
    grid->SetRowInfo(0, height, height, 0, 0.0f);
    grid->AddChildAt(std::move(strip), 0, 0);
    if (extraChildFactory && !extraChild)
        extraChild = extraChildFactory->CreateExtraChild(*this);
    if (extraChild)
        grid->AddChildAt(t_layoutPtr(extraChild->CreateLayout()), 0, 1);
    inner->AddChild(std::move(grid), t_alignInfo::Default());
    return inner;
}

void t_wndStatus::Rebuild()
{
    skinBoxRect = c_noRect;
    contentDirty = true;
    // The children go before the layout tree that holds their nodes.
    ClearSkinChildren();
    SetLayout(nullptr);

    t_uiSkinData* skin = Skin();
    if (!skin || !Settings())
        return;
    ApplySkin();
    SetPerPixelAlpha(skin->UseGdip());

    bool layeredSkin = true;
    skin->GetLayered(static_cast<int>(t_skinScheme::e_status), layeredSkin);
    if (!ChildMode()) {
        SetRegion(nullptr);
        SetLayered(GetContext()->Ui().IsLayeringOff() ? false : layeredSkin);
    }

    const bool skinLayout = UsesSkinLayout();
    const t_image* picture = BackgroundPicture();
    int pictureWidth = 0, pictureHeight = 0;
    hasSkin = PictureSize(picture, pictureWidth, pictureHeight);
    if (!hasSkin)
        return;
    // A preview picture stands for the whole bar: no buttons over it.
    const bool withButtons = picture != skin->GetStatusPreview();

    auto root = MakeOwned<t_layoutAligned>();
    if (!root)
        return;
    root->SetRect(rect.left, rect.top, rect.left, rect.top);
    root = skinLayout ? BuildSkinLayout(std::move(root), withButtons)
                      : BuildDefaultLayout(std::move(root), pictureHeight, withButtons);
    if (!root)
        return;
    SetLayout(std::move(root));
    layout->SetRect(rect.left, rect.top, rect.left, rect.top);

    int opacity = 255;
    alpha = skin->GetOpacity(static_cast<int>(t_skinScheme::e_status), opacity) ? opacity : 255;
    colorKey = picture->key1 == c_noColorKey ? CLR_INVALID : picture->key1;

    t_image mask;
    mask.Init();
    skin->GetMask(c_skinMaskStatus, mask);
    if (skinLayout) {
        if (!SetImageLayers(*picture, mask))
            return;
        layout->SetMinSize(pictureWidth, pictureHeight);
    } else {
        t_imageSet9 nine;
        t_imageSet9::SetFromSource(picture->source, nine, t_insets{10, 10, 5, 5});
        if (!SetNineImageBackground(mask, nine, false))
            return;
    }

    DetachBackgroundForFlash();
    if (!ChildMode()) {
        if (t_uiSettings* settings = Settings())
            MoveTo(settings->statusPosX, settings->statusPosY);
    }
    Relayout(nullptr);
}
