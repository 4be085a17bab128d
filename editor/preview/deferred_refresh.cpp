#include "editor/preview/deferred_refresh.h"

#include "foundation/core/error_chain.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "toolkit/controls/wnd_top.h"

void t_deferredRefresh::Run(t_uiSkinData& skin, std::initializer_list<t_wndTop*> windows, HDC dc)
{
    if (m_reload) {
        m_reload = false;
        t_errorChain errors;
        skin.Load(errors, skin.UserId());
        m_layout = true;
    }
    if (!m_layout)
        return;
    m_layout = false;
    for (t_wndTop* top : windows) {
        top->ResetUi(0);
        top->Measure(dc);
    }
}
