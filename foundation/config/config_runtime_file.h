// The input method's runtime.ini: a count in section "setting" and that many
// process records in the sections "item0", "item1" and so on.
#pragma once

#include "foundation/config/config_file.h"

class t_configRuntimeFile : public n_config::t_configFile {
public:
    class t_setting : public n_config::t_section {
    public:
        t_setting(const wchar_t* name, t_heap* arena);
        void RegisterMembers() override;

        n_config::t_int cnt;
    };

    class t_item : public n_config::t_section {
    public:
        t_item(const wchar_t* name, t_heap* arena);
        void RegisterMembers() override;

        n_config::t_str process;
        n_config::t_int type;
        n_config::t_str company;
        n_config::t_str version;
        n_config::t_str res;
    };

    // Plain or encrypted as the owner of the file decides.
    explicit t_configRuntimeFile(bool encrypted);
    void Init() override;

    t_setting setting;
    n_config::t_arraySection<t_item> item;
};
