// How many GDI objects and heap bytes the process holds, for leak checks. Windows counts them with
// GetGuiResources; Wine answers 0 there, but it resolves a handle given by its 16-bit
// table index alone, so the live objects can be counted by asking every index.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <malloc.h>

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

// Bytes the C run-time heap holds in use, for leak checks over repeated cycles.
inline size_t LiveHeapBytes()
{
    _HEAPINFO entry{};
    size_t bytes = 0;
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY)
            bytes += entry._size;
    }
    return bytes;
}
