#include "foundation/config/config_runtime_file.h"

t_configRuntimeFile::t_setting::t_setting(const wchar_t* name, t_heap* arena)
    : n_config::t_section(name, arena), cnt(L"cnt", 0)
{}

void t_configRuntimeFile::t_setting::RegisterMembers()
{
    AddMember(cnt);
    n_config::t_section::RegisterMembers();
}

t_configRuntimeFile::t_item::t_item(const wchar_t* name, t_heap* arena)
    : n_config::t_section(name, arena), process(L"process", L"", arena), type(L"type", 0),
      company(L"company", L"", arena), version(L"version", L"", arena), res(L"res", L"", arena)
{}

void t_configRuntimeFile::t_item::RegisterMembers()
{
    AddMember(process);
    AddMember(type);
    AddMember(company);
    AddMember(version);
    AddMember(res);
    n_config::t_section::RegisterMembers();
}

t_configRuntimeFile::t_configRuntimeFile(bool encrypted)
    : n_config::t_configFile(encrypted), setting(L"setting", &TextArena()), item(L"item", &setting.cnt, &TextArena())
{
    Init();
}

void t_configRuntimeFile::Init()
{
    AddMember(setting);
    AddMember(item);
}
