#include "foundation/process/resource.h"

#include "foundation/files/path.h"
#include "foundation/config/runtime.h"
#include "foundation/core/singleton.h"

t_resource::~t_resource()
{
    if (m_module)
        FreeLibrary(m_module);
}

t_resource* t_resource::Instance() { return ImmSingleton<t_resource>::Instance("t_resource"); }

HMODULE t_resource::Load()
{
    if (m_loadTried)
        return m_module;
    m_loadTried = true;
    const t_runtime* runtime = GetRuntime();
    if (!runtime || runtime->GetInstallDir().IsEmpty())
        return nullptr;
    t_path path(runtime->GetInstallDir());
    path.AppendPart(L"Resource.dll");
    m_module = LoadLibraryW(path.c_str());
    return m_module;
}

const void* t_resource::Find(HMODULE module, const wchar_t* name, const wchar_t* type, DWORD& size)
{
    size = 0;
    if (!module)
        module = Load();
    if (!module)
        return nullptr;
    HRSRC info = FindResourceW(module, name, type);
    if (!info)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return nullptr;
    size = SizeofResource(module, info);
    return data;
}
