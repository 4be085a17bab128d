// The editor's own settings: the main window's placement, the text output and the
// preview's candidate size, kept in "Kavrel.ini" beside the executable.
#pragma once

#include "foundation/config/config_file.h"

// The folder of the running executable followed by "Kavrel.ini", computed once.
// Empty when the module path cannot be taken or the result would not fit in
// MAX_PATH characters.
const wchar_t* GetAppConfigPath();

// The main window's normal rectangle: left, top, right, bottom as one line.
class ConfigRect : public n_config::t_structOneLine {
public:
    ConfigRect(const wchar_t* name, int left, int top, int right, int bottom);
    void RegisterMembers() override;

    n_config::t_int left;
    n_config::t_int top;
    n_config::t_int right;
    n_config::t_int bottom;
};

// "Window Rect": placement of the main window.
class AppConfigSize : public n_config::t_section {
public:
    explicit AppConfigSize(t_heap* arena);
    void RegisterMembers() override;

    ConfigRect rect;
    n_config::t_bool max;   // maximised, or minimised and restoring to maximised
    n_config::t_bool icon;  // minimised
};

// "Setting": text in the preview drawn with the FreeType font manager.
class AppConfigSetting : public n_config::t_section {
public:
    explicit AppConfigSetting(t_heap* arena);
    void RegisterMembers() override;

    n_config::t_bool useGdip;
};

// "Preview": the candidate size of the display page.
class AppConfigPreviewSetting : public n_config::t_section {
public:
    explicit AppConfigPreviewSetting(t_heap* arena);
    void RegisterMembers() override;

    n_config::t_int candSize;
};

class AppConfig : public n_config::t_configFile {
public:
    AppConfig();
    void Init() override;

    // The process-wide settings object (named singleton "AppConfig").
    static AppConfig* Instance();

    // Load and save the settings file beside the executable. A file that cannot
    // be read leaves the defaults; one that cannot be written is not updated.
    bool Load() { return n_config::t_configFile::Load(GetAppConfigPath()); }
    bool Save() { return n_config::t_configFile::Save(GetAppConfigPath()); }
    // The same with a path of the caller's choice.
    using n_config::t_configFile::Load;
    using n_config::t_configFile::Save;

    AppConfigSize windowRect;
    AppConfigSetting setting;
    AppConfigPreviewSetting preview;
};
