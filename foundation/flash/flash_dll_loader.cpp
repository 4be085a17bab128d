#include "foundation/flash/flash_dll_loader.h"

#include <new>

#include "foundation/core/singleton.h"
#include "foundation/process/component_client.h"
#include "foundation/process/dll.h"

const wchar_t* const t_flashDllLoader::c_dllName = L"VexilFlashDll.dll";

namespace {
const wchar_t* const c_flashBundleId = L"VexilFlashBundle";
}  // namespace

bool FindFlashBundleFolder(wchar_t (&out)[MAX_PATH])
{
    out[0] = 0;
    if (!t_componentClient::GetBundleFolder(c_flashBundleId, out, MAX_PATH)) {
        out[0] = 0;
        return false;
    }
    return out[0] != 0;
}

t_flashDllLoader* t_flashDllLoader::Instance() { return ImmSingleton<t_flashDllLoader>::Instance("t_flashDllLoader"); }

t_flashDllLoader::~t_flashDllLoader()
{
    delete[] m_folder;
    m_folder = nullptr;
    // The library stays loaded: it may still have threads and windows of its own.
    m_module = nullptr;
    m_util = nullptr;
    m_failed = true;
}

void t_flashDllLoader::SetBundleFolder(const wchar_t* folder)
{
    delete[] m_folder;
    m_folder = nullptr;
    if (!folder)
        return;
    const size_t n = wcslen(folder) + 1;
    m_folder = new (std::nothrow) wchar_t[n];
    if (m_folder)
        wmemcpy(m_folder, folder, n);
}

i_flashUtil* t_flashDllLoader::Load()
{
    if (!m_folder) {
        wchar_t folder[MAX_PATH];
        FindFlashBundleFolder(folder);
        SetBundleFolder(folder);
    }
    if (!m_folder || !m_folder[0])
        m_failed = true;
    if (m_failed)
        return nullptr;
    if (m_util)
        return m_util;

    if (!m_module) {
        // The library's messages are of no use to the caller: Flash is optional.
        t_errorChain scratch;
        t_fnFlashDoInit doInit = nullptr;
        t_fnGetFlashUtil getUtil = nullptr;
        if (!t_dll::Load(scratch, m_module, c_dllName, m_folder) ||
            !t_dll::GetProcAs(scratch, m_module, "DoInit", doInit) || !doInit() ||
            !t_dll::GetProcAs(scratch, m_module, "GetFlashUtil", getUtil) || !(m_util = getUtil())) {
            m_failed = true;
            return nullptr;
        }
    }
    return m_util;
}
