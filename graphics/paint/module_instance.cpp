#include "graphics/paint/module_instance.h"

namespace {
HINSTANCE s_module = nullptr;
bool s_isApplication = false;
}  // namespace

void SetModuleInstance(HINSTANCE module)
{
    if (s_isApplication)
        return;
    s_module = module;
    s_isApplication = true;
}

HINSTANCE GetModuleInstance() { return s_module; }

bool IsApplication() { return s_isApplication; }
