// Resource.dll, the library of the input method's UI pictures, and resource look-up in it
// or in any other module.
#pragma once

#include <windows.h>

class t_resource {
public:
    t_resource() = default;
    ~t_resource();
    t_resource(const t_resource&) = delete;
    t_resource& operator=(const t_resource&) = delete;

    // The process-wide object (singleton "t_resource"); null only when memory runs out.
    static t_resource* Instance();

    // Loads "Resource.dll" from the installation folder on the first call only, so that a
    // failure is not retried. Null when it did not load, also while the installation
    // folder is unknown (a bare name would search other folders for a stranger's DLL).
    HMODULE Load();
    HMODULE Module() const { return m_module; }

    // One resource's bytes and size from module (null: Resource.dll, loaded first); null
    // when the module, the resource or its data cannot be had. name and type may be
    // MAKEINTRESOURCEW values.
    const void* Find(HMODULE module, const wchar_t* name, const wchar_t* type, DWORD& size);

private:
    HMODULE m_module = nullptr;
    bool m_loadTried = false;
};
