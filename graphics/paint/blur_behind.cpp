#include "graphics/paint/blur_behind.h"

namespace {

struct t_blurBehind {
    DWORD flags;
    BOOL enable;
    HRGN region;
    BOOL transitionOnMaximized;
};

const DWORD c_blurEnable = 1;
const DWORD c_blurRegion = 2;

typedef HRESULT(WINAPI* t_enableBlur)(HWND, const t_blurBehind*);

}  // namespace

HRESULT EnableBlurBehind(HWND window, bool enable, HRGN region)
{
    static const t_enableBlur function = [] {
        HMODULE module = GetModuleHandleW(L"dwmapi.dll");
        return module ? reinterpret_cast<t_enableBlur>(
                            reinterpret_cast<void*>(GetProcAddress(module, "DwmEnableBlurBehindWindow")))
                      : nullptr;
    }();
    if (!function)
        return 0;
    const t_blurBehind blur = {c_blurEnable | c_blurRegion, enable ? TRUE : FALSE, enable ? region : nullptr, FALSE};
    return function(window, &blur);
}
