// Test helper: what the Flash component's stand-in library (VexilFlashDll.dll, loaded in
// this process) was last asked and how many of its players are alive.
#pragma once

#include <windows.h>

#include <cstdint>

template <class T>
T FlashStandinExport(const char* name)
{
    HMODULE module = GetModuleHandleW(L"VexilFlashDll.dll");
    return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The last call as {slot, a, b}: utility slots as they are, player slots plus 100; slot -2
// when the library is not loaded. The record is cleared.
struct t_flashStandinCall {
    int slot;
    intptr_t a;
    intptr_t b;
};
inline t_flashStandinCall TakeFlashStandinCall()
{
    t_flashStandinCall call = {-2, 0, 0};
    using t_fnLastCall = void(WINAPI*)(int*, intptr_t*, intptr_t*);
    if (auto last = FlashStandinExport<t_fnLastCall>("StandinLastCall"))
        last(&call.slot, &call.a, &call.b);
    return call;
}

// Players handed out and not yet released; -1 when the library is not loaded.
inline int FlashStandinLiveStubs()
{
    using t_fnCount = int(WINAPI*)();
    auto live = FlashStandinExport<t_fnCount>("StandinLiveStubs");
    return live ? live() : -1;
}
