#include "foundation/core/exe_path.h"

bool GetExePath(t_str& out, int maxChars)
{
    wchar_t* buffer = maxChars > 0 ? out.GetBuffer(maxChars) : nullptr;
    if (!buffer) {
        out.Clear();
        return false;
    }
    const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(maxChars));
    buffer[n < static_cast<DWORD>(maxChars) ? n : 0] = 0;
    out.ReleaseBuffer();
    if (n == 0 || n >= static_cast<DWORD>(maxChars)) {
        out.Clear();
        return false;
    }
    return true;
}

bool GetExeFolder(t_str& out)
{
    if (!GetExePath(out))
        return false;
    const int slash = out.ReverseFindBackslash();
    if (slash < 0) {
        out.Clear();
        return false;
    }
    out.Truncate(slash);
    return true;
}
