// How many GDI objects the process holds, for leak checks. Windows counts them with
// GetGuiResources; Wine answers 0 there, but it resolves a handle given by its 16-bit
// table index alone, so the live objects can be counted by asking every index.
#pragma once

#include <windows.h>

#include <cstdint>

inline DWORD LiveGdiObjects()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    DWORD live = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++live;
    }
    return live;
}
