// Desktop blur behind a layered window, through dwmapi.dll when the process has it loaded.
#pragma once

#include <windows.h>

// DwmEnableBlurBehindWindow with blur on or off; the region (kept by the caller) limits the
// blur while enabling. 0 when dwmapi.dll is not loaded or lacks the function; this never
// loads the module.
HRESULT EnableBlurBehind(HWND window, bool enable, HRGN region);
