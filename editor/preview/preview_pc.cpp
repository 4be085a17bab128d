#include "editor/preview/preview_pc.h"

#include <cwchar>

#include "editor/preview/dc_scopes.h"
#include "editor/preview/imc_wrap_skin_preview.h"
#include "editor/preview/state_animator.h"
#include "foundation/core/error_chain.h"
#include "foundation/env/env.h"
#include "foundation/win/scoped_win.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "ime_ui/windows/comp/wnd_comp.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"
#include "skin_model/button_keys.h"
#include "skin_model/ime_skin.h"
#include "skin_model/zip_handler.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

const wchar_t* const c_workCopyExtension = L".dat";

int Larger(int a, int b) { return a > b ? a : b; }

}  // namespace

PreviewPC::PreviewPC(int variant)
    : m_skin(new t_uiSkinData), m_host(new ImcWrapImplSkinPreview), m_ui(new UiWrapImplBase),
      m_context(new t_uiContext), m_settings(new t_uiSettings()), m_comp(new t_wndComp), m_comp2(new t_wndComp2),
      m_cand(new t_wndCand), m_status(new t_wndStatus), m_animator(new StateAnimator), m_variant(variant)
{
    t_env defaults;
    BuildUiSettings(defaults, *m_settings);
    m_settings->ignoreSkinColorSetting = true;
}

PreviewPC::~PreviewPC()
{
    // The windows read the context and the skin while they go. The combined window goes
    // before the status bar: torn down after it, its layout was seen to reach a node that
    // the bar's teardown had freed (a skin with many custom buttons in both).
    m_comp.reset();
    m_comp2.reset();
    m_cand.reset();
    m_status.reset();
}

bool PreviewPC::WorkCopyPath(wchar_t (&out)[MAX_PATH])
{
    out[0] = 0;
    wchar_t folder[MAX_PATH] = {};
    const wchar_t* open = IMESkin::Instance() ? IMESkin::Instance()->GetWorkFolder() : nullptr;
    if (open && open[0]) {
        if (wcslen(open) >= MAX_PATH)
            return false;
        wcscpy(folder, open);
    } else if (GetSkinTempFolder(folder, MAX_PATH) <= 0) {
        return false;
    }
    const size_t length = wcslen(folder);
    if (length + wcslen(c_workCopyExtension) >= MAX_PATH)
        return false;
    wcscpy(out, folder);
    wcscat(out, c_workCopyExtension);
    return true;
}

bool PreviewPC::Init(int userId, const t_uiSettings& settings)
{
    SetSettings(settings);
    t_errorChain errors;
    m_skin->Init(errors, userId);
    wchar_t path[MAX_PATH];
    if (WorkCopyPath(path))
        m_skin->SetSkinPath(path, true);
    m_skin->SetSettings(m_settings.get());
    m_context->SetSkin(m_skin.get());
    m_context->SetSettings(m_settings.get());
    m_context->SetUserId(userId);
    m_context->SetImcWrap(m_host.get());
    m_context->SetUiWrap(m_ui.get());
    // The host window stays null: what the windows post to their host goes to this
    // thread's queue, where the editor's loop passes it by.
    m_context->SetHostWindow(nullptr);

    m_comp->SetContext(m_context.get());
    m_comp2->SetContext(m_context.get());
    m_cand->SetContext(m_context.get());
    m_status->SetContext(m_context.get());
    m_comp->SetVersionHint(false);
    m_comp2->SetVersionHint(false);
    const HINSTANCE module = GetModuleHandleW(nullptr);
    bool made = true;
    for (t_wndTop* window : {static_cast<t_wndTop*>(m_comp.get()), static_cast<t_wndTop*>(m_comp2.get()),
                             static_cast<t_wndTop*>(m_cand.get()), static_cast<t_wndTop*>(m_status.get())}) {
        if (window->hwnd || window->ownerMode)
            continue;  // made already
        window->ownerMode = true;
        if (!window->Create(WS_CHILD, 0, 0, 0, 0, 0, module, nullptr))
            made = false;
        window->Show(false);
    }
    return made;
}

void PreviewPC::SetSettings(const t_uiSettings& settings)
{
    *m_settings = settings;
    if (m_variant == e_largeFont)
        m_settings->fontSize += c_largeFontStep;
}

void PreviewPC::SetHostWindow(HWND window)
{
    m_hostWindow = window;
    m_refresh.Relayout();
}

bool PreviewPC::UpdateLayout() { return IsSeparatePage(m_page) || IsCombinedPage(m_page); }

void PreviewPC::GetSize(int& width, int& height)
{
    width = height = 0;
    if (!UpdateLayout())
        return;
    Refresh();
    const SIZE status = m_status->GetSize();
    if (IsSeparatePage(m_page)) {
        const SIZE comp = m_comp2->GetSize();
        const SIZE cand = m_cand->GetSize();
        width = Larger(status.cx, Larger(cand.cx, comp.cx));
        height = status.cy + cand.cy + comp.cy + c_compCandGap + c_statusGap;
        return;
    }
    const SIZE comp = m_comp->GetSize();
    width = Larger(status.cx, comp.cx);
    height = status.cy + comp.cy + c_statusGap;
}

void PreviewPC::Paint(HDC dc, int x, int y)
{
    if (!dc || !UpdateLayout())
        return;
    Refresh();
    const POINT device = ScaledByDpi(dc, x, y);
    t_viewportScope origin(dc, device.x, device.y);
    int top = 0;
    if (IsCombinedPage(m_page)) {
        m_comp->PaintToDC(dc, 0, top, -1, -1);
        top += m_comp->GetSize().cy;
    } else {
        m_comp2->PaintToDC(dc, 0, top, -1, -1);
        top += m_comp2->GetSize().cy + c_compCandGap;
        m_cand->PaintToDC(dc, 0, top, -1, -1);
        top += m_cand->GetSize().cy;
    }
    top += c_statusGap;
    m_status->PaintToDC(dc, 0, top, -1, -1);
}

void PreviewPC::SetCandidateCount(int count) { m_host->SetCandidateCount(count); }

void PreviewPC::SetLongSample(bool on) { m_host->SetLongSample(on); }

void PreviewPC::SetPerPixelAlpha(bool on)
{
    for (t_wndTop* top : {static_cast<t_wndTop*>(m_comp.get()), static_cast<t_wndTop*>(m_comp2.get()),
                          static_cast<t_wndTop*>(m_cand.get()), static_cast<t_wndTop*>(m_status.get())})
        top->SetPerPixelAlpha(on);
}

unsigned PreviewPC::AnimationMask() const
{
    const bool separate = m_settings->compStyle != 0;
    const bool vertical = m_settings->candStyle != 0;
    // The status bar (bit 0) and the windows of the layout (1 << window number).
    const unsigned status = 1u << static_cast<int>(t_uiWindow::e_status);
    if (separate) {
        return vertical ? status | 1u << static_cast<int>(t_uiWindow::e_v2Comp) |
                              1u << static_cast<int>(t_uiWindow::e_v2Cand)
                        : status | 1u << static_cast<int>(t_uiWindow::e_h2Comp) |
                              1u << static_cast<int>(t_uiWindow::e_h2Cand);
    }
    return status | 1u << static_cast<int>(vertical ? t_uiWindow::e_v1 : t_uiWindow::e_h1);
}

bool PreviewPC::Tick()
{
    return TickUiAnimations(m_skin.get(), AnimationMask(), m_comp.get(), m_comp2.get(), m_cand.get(), m_status.get(),
                            false);
}

void PreviewPC::Reload() { m_refresh.Reload(); }

void PreviewPC::Refresh()
{
    if (!m_refresh.Pending())
        return;
    t_scopedGetDC dc(m_hostWindow);
    m_refresh.Run(*m_skin, {m_comp.get(), m_comp2.get(), m_cand.get(), m_status.get()}, dc.Get());
}

bool PreviewPC::GetDefaultPos(int index, int& x, int& y)
{
    Refresh();
    return m_skin->GetIndexedPair(index, x, y);
}

namespace {

// Parts of a packed button id.
int ButtonIndexOf(int id) { return id & 0xFFFF; }
int ButtonTypeOf(int id) { return static_cast<int>(static_cast<uint32_t>(id) >> 24); }

}  // namespace

bool PreviewPC::AnimationTick()
{
    const int type = ButtonTypeOf(m_animatedButton);
    if (type != static_cast<int>(t_skinItemType::e_fixed) && type != static_cast<int>(t_skinItemType::e_custom))
        return false;
    const int count = ButtonVariantCountOf(ButtonIndexOf(m_animatedButton), type);
    m_animator->SetButton(m_status->FindButton(static_cast<uint32_t>(m_animatedButton)), count);
    return m_animator->Step(InputTickCount());
}

void PreviewPC::StartAnimation(int buttonId)
{
    m_animatedButton = buttonId;
    m_animator->Reset();
    m_animator->SetRunning(true);
}

void PreviewPC::StopAnimation()
{
    if (!m_animator->Running())
        return;
    // The bar may have made its buttons again since the last step: stop the one it has now.
    m_animator->SetButton(m_status->FindButton(static_cast<uint32_t>(m_animatedButton)), 0);
    m_animator->Stop();
}
