#include "foundation/files/path.h"

#include "foundation/core/str.h"

t_path::t_mutex::t_mutex() : ::t_mutex(6) {}

bool t_path::t_mutex::Create(t_errorChain& errors, const wchar_t* /*name*/)
{
    errors.AddText(L"创建文件对象锁失败：不支持");
    return false;
}

bool t_path::t_mutex::CreateForPath(t_errorChain& errors, const wchar_t* path)
{
    // Case-folded so that C:\A.TXT and c:\a.txt share one mutex; different paths that
    // happen to share the value only serialise each other's opens. The name has a fixed
    // length, so every path is guarded.
    uint32_t value = 0;
    for (size_t i = 0; path && path[i]; ++i) {
        uint32_t c = path[i];
        if (c >= L'a' && c <= L'z')
            c -= L'a' - L'A';
        value ^= (i % 2 == 0) ? c : (c << 16);
    }
    t_str name;
    name.Format(L"Local\\mutex_file_0x%08X", (unsigned)value);
    if (!::t_mutex::Create(errors, name.c_str())) {
        errors.AddText(L"创建文件对象锁失败");
        return false;
    }
    return true;
}
