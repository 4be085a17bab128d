// Loading the maker's libraries at run time: by file name from a folder (or the
// installation folder), with the library's optional "InitDllEnv" called once loaded, and
// exports looked up with messages that name what is missing.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"

class t_dll {
public:
    // Loads name from folder (null or empty: the installation folder of t_runtime, or the
    // name alone while that is unknown) and stores the handle in slot. A process whose
    // DLL-loading byte (runtime byte 9) is neither 0 nor 1 may load only "ziplib.dll".
    // Messages: "当前进程禁止加载dll", "动态链接库(<path>)不存在。", "读取动态链接库(<path>)失败。".
    // A missing "InitDllEnv" is not a failure and leaves the chain as it was.
    static bool Load(t_errorChain& errors, HMODULE& slot, const wchar_t* name, const wchar_t* folder);

    // GetProcAddress with messages: "Dll未初始化。" for an empty slot,
    // "找不到函数（<name>）。" for a missing export.
    static bool GetProc(t_errorChain& errors, HMODULE slot, const char* name, FARPROC& out);

    template <class T>
    static bool GetProcAs(t_errorChain& errors, HMODULE slot, const char* name, T& out)
    {
        FARPROC proc = nullptr;
        const bool ok = GetProc(errors, slot, name, proc);
        out = reinterpret_cast<T>(reinterpret_cast<void*>(proc));
        return ok;
    }

    // The runtime byte that restricts which libraries this process may load.
    static const int c_loadingFlagIndex = 9;
};
