// A stand-in for the maker's Flash component library, for tests: it hands out a utility
// and player stubs that record the last call they received and answer recognisable values.
// Environment variables choose what it reports:
//   KAVREL_FLASH_VERSION  the utility's interface version (default 10)
//   KAVREL_FLASH_DOINIT   "0" makes DoInit answer false
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "interfaces/flash_interfaces.h"

namespace {

// What the last call was: its slot (utility slots as they are, stub slots plus 100) and
// its first two arguments.
struct t_lastCall {
    int slot;
    intptr_t a;
    intptr_t b;
};

t_lastCall g_last = {-1, 0, 0};
LONG g_doInitCalls = 0;
i_unloadObserver* g_observer = nullptr;
LONG g_liveStubs = 0;

int EnvInt(const wchar_t* name, int fallback)
{
    wchar_t text[32];
    const DWORD n = GetEnvironmentVariableW(name, text, 32);
    return n > 0 && n < 32 ? _wtoi(text) : fallback;
}

void Record(int slot, intptr_t a = 0, intptr_t b = 0) { g_last = {slot, a, b}; }

class t_swf final : public i_flashSwf {
public:
    const void* Data() override { return "swf-data"; }
    int Size() override { return 8; }
    int Security() override { return 7; }
    void Release() override {}
};
t_swf g_swf;

class t_stub final : public i_flashStub {
public:
    void Delete() override { delete this; }
    int Version() override { return 0; }
    int Create(DWORD exStyle, DWORD style, HWND, int, LPARAM) override
    {
        Record(102, exStyle, style);
        return 1;
    }
    void SetSize(const SIZE* size) override { Record(103, size ? size->cx : -1, size ? size->cy : -1); }
    bool GetFrame(t_flashFrame* frame) override
    {
        Record(104);
        return frame != nullptr;
    }
    LRESULT SendMouse(HWND, UINT message, WPARAM, LPARAM point) override
    {
        Record(105, message, point);
        return 1;
    }
    int Load(const wchar_t* fileName) override
    {
        Record(106, fileName ? fileName[0] : 0);
        return 1;
    }
    int HitTest(int x, int y) override
    {
        Record(107, x, y);
        return 1;
    }
    void SetCommandSink(t_flashSkinCmd* sink) override { Record(108, reinterpret_cast<intptr_t>(sink)); }
    void Call2(intptr_t a, intptr_t b) override { Record(109, a, b); }
    void Call3(intptr_t a, intptr_t b, intptr_t) override { Record(110, a, b); }
    void Call1(intptr_t a) override { Record(111, a); }
    void SetHostWindow(HWND window) override { Record(112, reinterpret_cast<intptr_t>(window)); }
    void Move(int x, int y, int, int) override { Record(113, x, y); }
    void Show(bool shown) override { Record(114, shown); }
};

class t_factory final : public i_flashStubFactory {
public:
    i_flashStub* CreateStub() override
    {
        InterlockedIncrement(&g_liveStubs);
        return new t_stub();
    }
    void ReleaseStub(i_flashStub* stub) override
    {
        InterlockedDecrement(&g_liveStubs);
        if (stub)
            stub->Delete();
    }
};
t_factory g_factory;

class t_util final : public i_flashUtil {
public:
    int Version() override { return EnvInt(L"KAVREL_FLASH_VERSION", 10); }
    i_flashStubFactory* GetStubFactory() override { return Answer(1, &g_factory); }
    i_flashSwf* LoadSwf(const void* bytes, int size) override
    {
        Record(2, reinterpret_cast<intptr_t>(bytes), size);
        return size > 0 ? &g_swf : nullptr;
    }
    void Notify3(intptr_t a, intptr_t b) override { Record(3, a, b); }
    bool IsServerReady() override { return Answer(4, true); }
    bool Query5(intptr_t a, intptr_t b) override { return Answer(5, true, a, b); }
    bool Query6(intptr_t a, intptr_t b) override { return Answer(6, true, a, b); }
    void Notify7(intptr_t a, intptr_t b) override { Record(7, a, b); }
    bool Query8(intptr_t a, intptr_t b) override { return Answer(8, false, a, b); }
    void Notify9(intptr_t a, intptr_t b) override { Record(9, a, b); }
    bool Query10(intptr_t a, intptr_t b) override { return Answer(10, true, a, b); }
    bool InstallSsw(const void* bytes, int size, int userId) override
    {
        Record(11, size, userId);
        return bytes != nullptr;
    }
    i_flashStubFactory* GetStubFactory1() override { return Answer(12, &g_factory); }
    void Notify13(intptr_t a, intptr_t b) override { Record(13, a, b); }
    intptr_t Value14(intptr_t a, intptr_t b) override { return Answer(14, intptr_t(1014), a, b); }
    i_flashStubFactory* GetStubFactory3() override { return Answer(15, &g_factory); }
    bool Query16(intptr_t a, intptr_t b) override { return Answer(16, true, a, b); }
    bool Query17(intptr_t a, intptr_t b) override { return Answer(17, true, a, b); }
    bool Query18(intptr_t a, intptr_t b) override { return Answer(18, true, a, b); }
    intptr_t Value19(intptr_t a, intptr_t b) override { return Answer(19, intptr_t(1019), a, b); }
    void Notify20(intptr_t a, intptr_t b) override { Record(20, a, b); }
    void Notify21(intptr_t a, intptr_t b) override { Record(21, a, b); }
    bool Query22(intptr_t a, intptr_t b) override { return Answer(22, true, a, b); }
    bool Query23(intptr_t a, intptr_t b) override { return Answer(23, true, a, b); }
    void Notify24(intptr_t a, intptr_t b) override { Record(24, a, b); }
    intptr_t Value25(intptr_t a, intptr_t b) override { return Answer(25, intptr_t(1025), a, b); }
    bool IsUsable() override { return Answer(26, true); }
    bool RegisterUnloadObserver(i_unloadObserver* observer) override
    {
        g_observer = observer;
        return Answer(27, true, reinterpret_cast<intptr_t>(observer));
    }

private:
    template <class R>
    static R Answer(int slot, R value, intptr_t a = 0, intptr_t b = 0)
    {
        Record(slot, a, b);
        return value;
    }
};
t_util g_util;

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI DoInit()
{
    InterlockedIncrement(&g_doInitCalls);
    return EnvInt(L"KAVREL_FLASH_DOINIT", 1) != 0;
}

__declspec(dllexport) i_flashUtil* WINAPI GetFlashUtil() { return &g_util; }

// For tests: the last call received, how often DoInit ran, the stubs not yet released, and
// the library telling its observer that it goes away.
__declspec(dllexport) void WINAPI StandinLastCall(int* slot, intptr_t* a, intptr_t* b)
{
    *slot = g_last.slot;
    *a = g_last.a;
    *b = g_last.b;
    g_last = {-1, 0, 0};
}
__declspec(dllexport) int WINAPI StandinDoInitCalls() { return static_cast<int>(g_doInitCalls); }
__declspec(dllexport) int WINAPI StandinLiveStubs() { return static_cast<int>(g_liveStubs); }
__declspec(dllexport) void WINAPI StandinUnload()
{
    if (g_observer)
        g_observer->OnUnload();
}
}
