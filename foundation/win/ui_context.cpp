#include "foundation/win/ui_context.h"

t_uiSkinData* t_uiContext::GetSkin() const { return skin; }
