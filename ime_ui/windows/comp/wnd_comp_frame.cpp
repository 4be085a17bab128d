#include "ime_ui/windows/comp/wnd_comp_frame.h"

#include <algorithm>
#include <cwchar>

#include "foundation/config/runtime.h"
#include "graphics/layout/layout.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/windows/base/ime_message_guard.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_hint.h"

namespace {

// The module the classes were registered for; until then the class procedure passes
// everything to DefWindowProcW.
HINSTANCE g_classInstance = nullptr;

}  // namespace

// ---- window classes

void t_uiWindowClass::SetName(const wchar_t* value)
{
    if (!value)
        return;
    wcsncpy(name, value, c_nameChars - 1);
    name[c_nameChars - 1] = 0;
}

bool t_uiWindowClass::Register(HINSTANCE instance) const
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, name, &existing)) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_IME;
        wc.lpfnWndProc = t_wndCompFrame::UiWndProc;
        wc.cbWndExtra = 4;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    g_classInstance = instance;
    return true;
}

// ---- the frame

t_wndCompFrame::t_wndCompFrame(const t_compWindowKind& kind)
    : vertical(false), centreCell(nullptr), m_kind(kind), m_baseMinWidth(0), m_baseMinHeight(0)
{
    frameExParams[0] = 0xD9D4CD;
    frameExParams[1] = 0xFFFFFF;
    frameExParams[2] = 0xFFFFFF;
    frameExParams[3] = 0xFDF7EE;
    frameExParams[4] = -1;
}

t_wndCompFrame::~t_wndCompFrame() { ClearSkinChildren(); }

LRESULT CALLBACK t_wndCompFrame::UiWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    t_wndTop* object = reinterpret_cast<t_wndTop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY && object && object->hwnd == hwnd) {
        // A window taken away with its owner: the object forgets the dead handle.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        object->hwnd = nullptr;
        object = nullptr;
    }
    if (!g_classInstance || !object || msg == WM_DESTROY || msg == WM_NCDESTROY)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return RunGuarded([&] { return object->WndProc(hwnd, msg, wParam, lParam); });
}

bool t_wndCompFrame::Create(DWORD style, int x, int y, int width, int height, INT_PTR owner, HINSTANCE instance,
                            t_wndBase* parent)
{
    if (!ownerMode && !WindowClass().Register(ToolkitInstanceOr(instance)))
        return false;
    if (!CreateUiWindow(WindowClass().name, 0, style, x, y, width, height, owner, instance, parent))
        return false;
    if (!CreateParts(instance))
        return false;
    ResetUi(0);
    return true;
}

bool t_wndCompFrame::CreatePart(t_wndBase& element, HINSTANCE instance)
{
    return element.Create(WS_CHILD, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(GetHwnd()), instance, this);
}

void t_wndCompFrame::SetKeepFlags(t_wndBase& element, bool keepW, bool keepH)
{
    element.keepWidth = keepW;
    element.keepHeight = keepH;
    element.shrinkThresholdWidth = -1;
    element.shrinkThresholdHeight = -1;
}

void t_wndCompFrame::Destroy()
{
    ClearSkinChildren();
    t_wndUiSkinBase::Destroy();
    // The parts' nodes went with the window's layout tree.
    ResetParts();
    centreCell = nullptr;
}

LRESULT t_wndCompFrame::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsImeUiMessage(msg))
        return 0;
    t_enterMessageGuard guard(GetContext()->Ui());
    if (PreHandleMessage(window, msg, wParam, lParam))
        return 1;
    return t_wndUiSkinBase::WndProc(window, msg, wParam, lParam);
}

void t_wndCompFrame::OnMessage47B(HWND window)
{
    HDC dc = GetDC(window);
    Measure(dc);
    if (dc)
        ReleaseDC(window, dc);
}

bool t_wndCompFrame::ButtonShown(t_uiWindow window, int kind) const
{
    t_uiSkinData* skin = Skin();
    return skin && skin->ButtonParts() &&
           skin->ButtonParts()->GetButtonDisplay(static_cast<int>(window), t_skinItemType::e_fixed, kind) != 0;
}

void t_wndCompFrame::StorePosition()
{
    t_uiSettings* settings = Settings();
    if (!settings || settings->cursorFollow)
        return;
    const RECT r = FrameRect();
    settings->compPosX = r.left;
    settings->compPosY = r.top;
}

void t_wndCompFrame::ShowCustomButtonZero(const t_uiSkinData& skin)
{
    if (skin.IsDefaultSkin())
        SetChildVisible(Buttons(vertical), !skin.PlainBackground());
}

// ---- rebuilding from the skin

void t_wndCompFrame::Rebuild()
{
    contentDirty = true;
    // The children go before the layout tree that holds their nodes; the parts' nodes go
    // with the tree.
    ClearSkinChildren();
    SetLayout(nullptr);
    centreCell = nullptr;
    ResetParts();

    CreateLayout();
    if (layout)
        layout->SetRect(rect);
    t_uiSkinData* skin = Skin();
    t_uiSettings* settings = Settings();
    if (!skin || !settings || !layout)
        return;
    regionEnabled = skin->UserSkinInUse();
    SetPerPixelAlpha(skin->UseGdip());
    backColor = static_cast<COLORREF>(settings->colorBackground);
    frameColor = static_cast<COLORREF>(settings->colorBorder);

    const t_compWindowScheme scheme = SchemeOf(vertical);
    bool layeredSkin = true;
    skin->GetLayered(static_cast<int>(scheme.scheme), layeredSkin);
    t_imageSet9 background;
    for (t_image& cell : background.cells)
        cell.Init();
    if (const t_imageSet9* area = skin->GetArea(static_cast<int>(scheme.area)))
        background = *area;
    int opacity = 255;
    skin->GetOpacity(static_cast<int>(scheme.scheme), opacity);
    t_image mask;
    mask.Init();
    skin->GetMask(static_cast<int>(scheme.area), mask);
    windowIndex = static_cast<int>(scheme.window);
    ConfigureParts(vertical);
    alpha = opacity;

    if (!ChildMode()) {
        SetRegion(nullptr);
        SetLayered(GetContext()->Ui().IsLayeringOff() ? false : layeredSkin);
    }
    useFrameEx = skin->IsDefaultSkin() && !skin->UserSkinInUse() && !skin->PlainBackground();
    if (!useFrameEx) {
        colorKey = CLR_INVALID;
        SetPerPixelAlpha(true);
    }
    SetNineImageBackground(mask, background, false);
    centreCell = CenterCellLayout();
    DetachBackgroundForFlash();
    if (m_kind.composition)
        ShowCustomButtonZero(*skin);
    ForgetKeptSize();
    // The background's corners are the least the window shows.
    m_baseMinWidth = minWidth;
    m_baseMinHeight = minHeight;
}

// ---- measuring

int t_wndCompFrame::Measure(HDC dc)
{
    if (!Settings() || !Skin())
        return 0;
    if (!layout)
        return 3;
    PullContent();
    if (dc) {
        t_paintCtx context(dc, false, nullptr, false);
        Arrange(&context);
        context.End();
    } else {
        Arrange(nullptr);
    }
    AfterMeasure();
    // A tip that shows follows the new content.
    if (hint && hint->shown)
        hint->InvalidateAll();
    return t_wndUiSkinBase::Measure(dc);
}

void t_wndCompFrame::Arrange(t_paintCtx* context)
{
    // The content's own size first, from the background's minimum.
    layout->minWidth = m_baseMinWidth;
    layout->minHeight = m_baseMinHeight;
    const RECT start = layout->GetRect();
    layout->SetRect(start.left, start.top, start.left, start.top);
    layout->Measure(context);
    int width = layout->Width(), height = layout->Height();
    if (!Settings()->skinEnabled)
        width = std::max(width, m_kind.minimumWidth);
    SIZE hostMinimum = {0, 0};
    if (GetContext()->Ui().GetMinWindowSize(GetContext()->hostWindow, hostMinimum)) {
        width = std::max<int>(width, hostMinimum.cx);
        height = std::max<int>(height, hostMinimum.cy);
    }
    // The window is laid out at that size from now on.
    layout->minWidth = width;
    layout->minHeight = height;
    Relayout(context);
}

// ---- showing, painting, bounds

void t_wndCompFrame::SetBounds(int x, int y, int width, int height, bool repaint)
{
    t_wndUiSkinBase::SetBounds(x, y, width, height, repaint);
    t_runtime* runtime = GetRuntime();
    if (hwnd && runtime && runtime->UseTopmostUi())
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ReportBounds(FrameRect());
}

bool t_wndCompFrame::Show(bool show)
{
    const bool result = t_wndUiSkinBase::Show(show);
    ReportShow(show);
    return result;
}

void t_wndCompFrame::ReportShow(bool shown)
{
    t_uiContext& context = *GetContext();
    const bool combined = m_kind.composition && m_kind.candidates;
    if (m_kind.composition)
        context.Imc().OnCompWindowShow(context.hostWindow, GetHwnd(), shown, combined);
    if (m_kind.candidates)
        context.Imc().OnCandWindowShow(context.hostWindow, GetHwnd(), shown, combined);
}

void t_wndCompFrame::ReportPainted()
{
    t_uiContext& context = *GetContext();
    if (m_kind.composition)
        context.Imc().OnCompPainted(context.hostWindow);
    if (m_kind.candidates)
        context.Imc().OnCandPainted(context.hostWindow);
}

void t_wndCompFrame::Paint_Layout(t_paintCtx& context)
{
    t_wndUiSkinBase::Paint_Layout(context);
    if (m_drawPending) {
        m_drawPending = false;
        StopRotate();
    }
    ReportPainted();
}

void t_wndCompFrame::ClearSkinChildren()
{
    t_wndUiSkinBase::ClearSkinChildren();
    buttonsH.Clear();
    buttonsV.Clear();
}

// ---- mouse

int t_wndCompFrame::HitCandidate(int, int) { return -1; }

void t_wndCompFrame::ReportMouse(int event, int x, int y)
{
    const RECT r = FrameRect();
    GetContext()->Imc().ReportMouse(GetContext()->hostWindow, m_kind.mouseKind, event, HitCandidate(x, y), x - r.left,
                                    y - r.top);
}

bool t_wndCompFrame::OnLButtonDown(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    ReportMouse(ImcWrapImplBase::e_leftDown, x, y);
    return t_wndUiSkinBase::OnLButtonDown(keys, x, y);
}

bool t_wndCompFrame::OnLButtonUp(UINT keys, int x, int y)
{
    t_wndUiSkinBase::OnLButtonUp(keys, x, y);
    if (!Settings())
        return false;
    if (m_kind.composition)
        StorePosition();
    ReportMouse(ImcWrapImplBase::e_leftUp, x, y);
    return true;
}

bool t_wndCompFrame::OnRButtonDown(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    ReportMouse(ImcWrapImplBase::e_rightDown, x, y);
    return t_wndUiSkinBase::OnRButtonDown(keys, x, y);
}

bool t_wndCompFrame::OnRButtonUp(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    ReportMouse(ImcWrapImplBase::e_rightUp, x, y);
    if (!t_wndUiSkinBase::OnRButtonUp(keys, x, y))
        GetContext()->Ui().PopupAt(GetContext()->hostWindow, x, y, 0);
    return true;
}
