#include "toolkit/controls/ui_context.h"

#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

t_uiContext::t_skinSettingsHandler g_skinSettingsHandler = nullptr;

void HandSettingsToSkin(t_uiSkinData* skin, t_uiSettings* settings)
{
    if (skin && settings && g_skinSettingsHandler)
        g_skinSettingsHandler(skin, settings);
}

ImcWrapImplBase& DefaultImcWrap()
{
    static ImcWrapImplBase instance;
    return instance;
}

UiWrapImplBase& DefaultUiWrap()
{
    static UiWrapImplBase instance;
    return instance;
}

}  // namespace

void t_uiContext::SetSkinSettingsHandler(t_skinSettingsHandler handler) { g_skinSettingsHandler = handler; }

t_uiContext::t_uiContext()
    : settings(nullptr), skin(nullptr), positionRecord(nullptr), imcWrap(nullptr), uiWrap(nullptr), hostWindow(nullptr),
      userId(0)
{}

void t_uiContext::SetSettings(t_uiSettings* value)
{
    settings = value;
    HandSettingsToSkin(skin, settings);
}

void t_uiContext::SetSkin(t_uiSkinData* value)
{
    skin = value;
    HandSettingsToSkin(skin, settings);
}

ImcWrapImplBase& t_uiContext::Imc() const { return imcWrap ? *imcWrap : DefaultImcWrap(); }

UiWrapImplBase& t_uiContext::Ui() const { return uiWrap ? *uiWrap : DefaultUiWrap(); }

t_uiContext* GetDefaultUiContext()
{
    static t_uiContext context = [] {
        t_uiContext c;
        c.imcWrap = &DefaultImcWrap();
        c.uiWrap = &DefaultUiWrap();
        return c;
    }();
    return &context;
}
