#include "foundation/flash/flash_dummy.h"

#include "foundation/core/singleton.h"

t_flashStubDummy* t_flashStubDummy::Instance() { return ImmSingleton<t_flashStubDummy>::Instance("t_flashStubDummy"); }

t_flashStubFactoryDummy* t_flashStubFactoryDummy::Instance()
{
    return ImmSingleton<t_flashStubFactoryDummy>::Instance("t_flashStubFactoryDummy");
}

t_flashUtilDummy* t_flashUtilDummy::Instance() { return ImmSingleton<t_flashUtilDummy>::Instance("t_flashUtilDummy"); }
