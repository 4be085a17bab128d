#include "foundation/config/app_config.h"

#include "foundation/core/exe_path.h"
#include "foundation/core/singleton.h"
#include "foundation/files/path.h"

#include <windows.h>

#include <cwchar>

ConfigRect::ConfigRect(const wchar_t* name, int l, int t, int r, int b)
    : n_config::t_structOneLine(name, L","), left(L"", l), top(L"", t), right(L"", r), bottom(L"", b)
{}

void ConfigRect::RegisterMembers()
{
    AddMember(left);
    AddMember(top);
    AddMember(right);
    AddMember(bottom);
    n_config::t_structOneLine::RegisterMembers();
}

AppConfigSize::AppConfigSize(t_heap* arena)
    : n_config::t_section(L"Window Rect", arena), rect(L"Rect", 0, 0, 800, 600), max(L"max", true), icon(L"icon", false)
{}

void AppConfigSize::RegisterMembers()
{
    AddMember(rect);
    AddMember(max);
    AddMember(icon);
    n_config::t_section::RegisterMembers();
}

AppConfigSetting::AppConfigSetting(t_heap* arena) : n_config::t_section(L"Setting", arena), useGdip(L"UseGdip", true) {}

void AppConfigSetting::RegisterMembers()
{
    AddMember(useGdip);
    n_config::t_section::RegisterMembers();
}

AppConfigPreviewSetting::AppConfigPreviewSetting(t_heap* arena)
    : n_config::t_section(L"Preview", arena), candSize(L"candsize", 9)
{}

void AppConfigPreviewSetting::RegisterMembers()
{
    AddMember(candSize);
    n_config::t_section::RegisterMembers();
}

AppConfig::AppConfig()
    : n_config::t_configFile(false), windowRect(&TextArena()), setting(&TextArena()), preview(&TextArena())
{
    Init();
}

void AppConfig::Init()
{
    AddMember(windowRect);
    AddMember(setting);
    AddMember(preview);
}

AppConfig* AppConfig::Instance() { return ImmSingleton<AppConfig>::Instance("AppConfig"); }

const wchar_t* GetAppConfigPath()
{
    static wchar_t path[MAX_PATH];
    static bool computed = false;
    if (computed)
        return path;
    computed = true;
    // No program folder, or a settings path too long for the buffer: no settings path.
    t_str folder;
    if (GetExeFolder(folder))
        FormatPath(path, L"%s\\Kavrel.ini", folder.c_str());
    return path;
}
