#include "foundation/process/dll.h"

#include "foundation/files/path.h"
#include "foundation/config/runtime.h"

namespace {

// Takes no arguments, so the caller's and the library's calling conventions agree either way.
using t_fnInitDllEnv = void(WINAPI*)();

}  // namespace

bool t_dll::Load(t_errorChain& errors, HMODULE& slot, const wchar_t* name, const wchar_t* folder)
{
    slot = nullptr;
    if (!name || !name[0]) {
        errors.NewLine().AppendText(L"动态链接库()不存在。");
        return false;
    }
    const t_runtime* runtime = GetRuntime();
    const uint8_t flag = runtime ? runtime->Res(c_loadingFlagIndex) : 0;
    if (flag != 0 && flag != 1 && lstrcmpiW(name, L"ziplib.dll") != 0) {
        errors.NewLine().AppendText(L"当前进程禁止加载dll");
        return false;
    }

    t_path path;
    if (folder && folder[0]) {
        path = folder;
        path.AppendPart(name);
    } else if (runtime && !runtime->GetInstallDir().IsEmpty()) {
        path = runtime->GetInstallDir();
        path.AppendPart(name);
    } else {
        path = name;
    }

    if (!path.IsFile()) {
        errors.NewLine().AppendText(L"动态链接库(").AppendText(path.c_str()).AppendText(L")不存在。");
        return false;
    }
    slot = LoadLibraryW(path.c_str());
    if (!slot) {
        errors.NewLine().AppendText(L"读取动态链接库(").AppendText(path.c_str()).AppendText(L")失败。");
        return false;
    }

    // The export is optional: look for it without touching the caller's chain, so that
    // neither a missing one nor the caller's earlier lines and failed state get mixed up.
    t_errorChain scratch;
    t_fnInitDllEnv init = nullptr;
    if (GetProcAs(scratch, slot, "InitDllEnv", init))
        init();
    return true;
}

bool t_dll::GetProc(t_errorChain& errors, HMODULE slot, const char* name, FARPROC& out)
{
    out = nullptr;
    if (!slot) {
        errors.NewLine().AppendText(L"Dll未初始化。");
        return false;
    }
    out = GetProcAddress(slot, name);
    if (!out) {
        t_str wideName;
        wideName.FromNarrow(name);
        errors.NewLine().AppendText(L"找不到函数（").AppendText(wideName.c_str()).AppendText(L"）。");
        return false;
    }
    return true;
}
