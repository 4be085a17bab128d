// Loads the Flash component library from its bundle folder once per process and
// asks it for its utility object. A failed load is never retried.
#pragma once

#include <windows.h>

#include "interfaces/flash_interfaces.h"

class t_flashDllLoader {
public:
    static const wchar_t* const c_dllName;  // "VexilFlashDll.dll"

    // The process-wide loader (singleton "t_flashDllLoader").
    static t_flashDllLoader* Instance();

    t_flashDllLoader() = default;
    ~t_flashDllLoader();
    t_flashDllLoader(const t_flashDllLoader&) = delete;
    t_flashDllLoader& operator=(const t_flashDllLoader&) = delete;

    // Keeps a copy of folder (null: none).
    void SetBundleFolder(const wchar_t* folder);
    const wchar_t* BundleFolder() const { return m_folder ? m_folder : L""; }

    // The library's utility: loads the library on first use (its "DoInit" must
    // answer true) and calls its "GetFlashUtil". Null when the bundle folder is
    // unknown or any step failed, then and for good.
    i_flashUtil* Load();
    bool Failed() const { return m_failed; }
    HMODULE Module() const { return m_module; }

private:
    wchar_t* m_folder = nullptr;
    HMODULE m_module = nullptr;
    i_flashUtil* m_util = nullptr;
    bool m_failed = false;
};

// The Flash bundle's folder from the component configuration, at most MAX_PATH
// - 1 characters; false (out empty) when the bundle is not installed.
bool FindFlashBundleFolder(wchar_t (&out)[MAX_PATH]);
