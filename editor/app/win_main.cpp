// The editor's entry function.
#include <windows.h>

#include "editor/app/app.h"
#include "foundation/config/app_config.h"
#include "foundation/core/singleton.h"
#include "foundation/process/crash_report.h"
#include "graphics/paint/module_instance.h"
#include "graphics/text/font_manager.h"
#include "graphics/text/freetype.h"
#include "graphics/text/ui_cache.h"

namespace {
// The program's first static object: a crash anywhere in its life leaves a report.
t_crashHandlerScope s_crashHandler;

// Kernel objects of the font manager (the shared font mappings) carry this prefix.
const char c_objectNamePrefix[] = "kavrel_";
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    SetModuleInstance(instance);
    IMEKavrelApp* app = IMEKavrelApp::Instance();
    if (!app)
        return -1;
    app->ParseCommandLine(commandLine);
    if (!IMEKavrelApp::RegisterClasses())
        return -1;
    SetFontMappingPrefix(c_objectNamePrefix);
    if (!app->InitInstance())
        return -1;
    app->Run();
    AppConfig::Instance()->Save();
    ImmSingletonRegistry::Global().DestroyAll();
    t_uiCache::Delete();
    t_freetype::Delete();
    return 0;
}
