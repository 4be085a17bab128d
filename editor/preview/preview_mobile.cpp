#include "editor/preview/preview_mobile.h"

#include "editor/preview/dc_scopes.h"
#include "editor/preview/preview_pc.h"
#include "foundation/core/error_chain.h"
#include "foundation/env/env.h"
#include "graphics/paint/paint_ctx.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/mobile/wnd_keyboard_mobile.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {
const int c_opaque = 255;
}  // namespace

PreviewMobile::PreviewMobile(int variant)
    : m_skin(new t_uiSkinData), m_settings(new t_uiSettings()), m_context(new t_uiContext), m_comp(new t_wndCompMobile),
      m_keyboard(new t_wndKeyboardMobile), m_variant(variant == e_large ? e_large : e_small),
      m_pictureModule(GetModuleHandleW(nullptr))
{
    m_frame.Init();
    t_env defaults;
    BuildUiSettings(defaults, *m_settings);
    m_comp->SetMetrics(Metrics());
    m_keyboard->SetMetrics(Metrics());
}

PreviewMobile::~PreviewMobile()
{
    m_comp.reset();
    m_keyboard.reset();
    m_frame.Release();
}

t_mobileMetrics PreviewMobile::Metrics() const
{
    return m_variant == e_large ? t_mobileMetrics::Large() : t_mobileMetrics::Small();
}

void PreviewMobile::GetSize(int& width, int& height)
{
    const t_mobileMetrics metrics = Metrics();
    width = metrics.screenWidth;
    height = metrics.screenHeight;
}

bool PreviewMobile::Init(int userId, const t_uiSettings& settings)
{
    SetSettings(settings);
    t_errorChain errors;
    m_skin->Init(errors, userId);
    wchar_t path[MAX_PATH];
    if (PreviewPC::WorkCopyPath(path))
        m_skin->SetSkinPath(path, true);
    m_skin->SetSettings(m_settings.get());
    m_context->SetSkin(m_skin.get());
    m_context->SetSettings(m_settings.get());
    m_context->SetUserId(userId);

    m_frame.Release();
    const int picture = m_variant == e_large ? c_largeFramePicture : c_smallFramePicture;
    if (m_frame.LoadResource(m_pictureModule, MAKEINTRESOURCEW(picture))) {
        m_frame.modeH = t_image::e_stretch;
        m_frame.modeV = t_image::e_stretch;
    } else {
        // Without its picture the phone shows its windows on nothing.
        m_frame.Init();
    }

    m_comp->SetContext(m_context.get());
    m_keyboard->SetContext(m_context.get());
    m_keyboard->SetPictureModule(m_pictureModule);
    return true;
}

void PreviewMobile::SetSettings(const t_uiSettings& settings)
{
    *m_settings = settings;
    // A phone shows the skin's own colours, at its own size.
    m_settings->ignoreSkinColorSetting = false;
    m_settings->isotropicSkin = false;
}

void PreviewMobile::SetHostWindow(HWND)
{
    const t_mobileMetrics metrics = Metrics();
    m_comp->SetMetrics(metrics);
    m_keyboard->SetMetrics(metrics);
    m_refresh.Relayout();
}

void PreviewMobile::Reload() { m_refresh.Reload(); }

void PreviewMobile::Refresh(HDC dc) { m_refresh.Run(*m_skin, {m_comp.get(), m_keyboard.get()}, dc); }

bool PreviewMobile::GetDefaultPos(int, int& x, int& y)
{
    x = y = 0;
    return true;
}

void PreviewMobile::Paint(HDC dc, int x, int y)
{
    if (!dc)
        return;
    Refresh(dc);
    int width = 0, height = 0;
    GetSize(width, height);
    const POINT device = ScaledByDpi(dc, x, y);
    t_viewportScope origin(dc, device.x, device.y);
    if (!m_frame.IsEmpty()) {
        t_paintCtx context(dc, false, nullptr, false);
        m_frame.Draw(context, 0, 0, width, height, c_opaque);
        context.End();
    }
    m_comp->PaintToDC(dc, 0, 0, width, height);
    m_keyboard->PaintToDC(dc, 0, 0, width, height);
}
