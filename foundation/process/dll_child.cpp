// Helper for dll_test: a process whose DLL-loading byte is 2 tries to load the zip library
// and the resource library from the folder given as argument. Exit code: bit 0 set when
// "ZIPLIB.DLL" loaded, bit 1 set when "Resource.dll" was refused with the right message.
#include <windows.h>

#include <vector>

#include "foundation/process/dll.h"
#include "foundation/config/runtime.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 64;
    t_runtimeItem everyProcess;
    everyProcess.type = 0;
    everyProcess.res[t_dll::c_loadingFlagIndex] = 2;
    GetRuntime()->ApplyRuntimeItems(std::vector<t_runtimeItem>{everyProcess});

    int result = 0;
    t_errorChain errors;
    HMODULE zip = nullptr;
    if (t_dll::Load(errors, zip, L"ZIPLIB.DLL", argv[1]) && zip)
        result |= 1;
    t_errorChain refused;
    HMODULE resource = nullptr;
    if (!t_dll::Load(refused, resource, L"Resource.dll", argv[1]) && !resource && refused.FirstLine() &&
        refused.FirstLine()->text.Equals(L"当前进程禁止加载dll") && !refused.FirstLine()->next)
        result |= 2;
    return result;
}
