// The editor's entry function.
#include <windows.h>

#include "editor/app/app.h"
#include "foundation/config/app_config.h"
#include "foundation/core/singleton.h"
#include "graphics/paint/module_instance.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    SetModuleInstance(instance);
    IMEKavrelApp* app = IMEKavrelApp::Instance();
    if (!app)
        return -1;
    app->ParseCommandLine(commandLine);
    if (!IMEKavrelApp::RegisterClasses())
        return -1;
    if (!app->InitInstance())
        return -1;
    app->Run();
    AppConfig::Instance()->Save();
    ImmSingletonRegistry::Global().DestroyAll();
    return 0;
}
