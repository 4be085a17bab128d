#include "foundation/process/ui_function.h"

#include "foundation/core/singleton.h"

UiFunction* UiFunction::Instance() { return ImmSingleton<UiFunction>::Instance("UiFunction"); }

bool UiFunction::Set(int index, t_callback callback)
{
    if (index < 0 || index >= c_count)
        return false;
    m_callbacks[index] = callback;
    return true;
}
