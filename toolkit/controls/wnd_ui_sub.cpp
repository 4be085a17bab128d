#include "toolkit/controls/wnd_ui_sub.h"

#include "toolkit/controls/ui_context.h"

t_uiContext* t_wndUiSub::GetContext() const { return m_context ? m_context : GetDefaultUiContext(); }
