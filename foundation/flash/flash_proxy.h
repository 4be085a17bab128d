// Proxies over the Flash component's utility and player stubs. Before every call a proxy
// checks that the library is still loaded (it tells an observer when it goes away) and
// new enough for the operation; a refused call answers 0, false or nothing.
#pragma once

#include <atomic>

#include "interfaces/flash_interfaces.h"

// Told by the Flash library when it is unloaded; also counts as told when destroyed at exit.
// Outside the singleton registry (ImmSingleton_unmanaged).
class t_flashUnloadObserver final : public i_unloadObserver {
public:
    static t_flashUnloadObserver* Instance();
    static void Delete();

    t_flashUnloadObserver() = default;
    ~t_flashUnloadObserver();
    t_flashUnloadObserver(const t_flashUnloadObserver&) = delete;
    t_flashUnloadObserver& operator=(const t_flashUnloadObserver&) = delete;

    void OnUnload() override;
    bool IsUnloaded() const { return m_unloaded.load(); }

private:
    std::atomic<bool> m_unloaded{false};
};

// Whether the library was unloaded: a cached flag, refreshed from the observer until set,
// then set for good.
bool IsFlashUnloaded();

class t_proxyFlashUtil final : public i_flashUtil {
public:
    // The process-wide proxy (singleton "t_proxyFlashUtil").
    static t_proxyFlashUtil* Instance();

    void SetInner(i_flashUtil* inner) { m_inner = inner; }
    i_flashUtil* Inner() const { return m_inner; }

    // The lowest inner version that an operation needs.
    static int MinimumVersion(int slot);
    // Slot 26 when refused: whether the Flash ActiveX control is registered with an
    // existing file of version 10.1.102.64 or later.
    static bool IsFlashControlRegistered();

    // The inner version; -1 without inner object or after the library was unloaded.
    int Version() override;
    i_flashStubFactory* GetStubFactory() override;
    i_flashSwf* LoadSwf(const void* bytes, int size) override;
    void Notify3(intptr_t a, intptr_t b) override;
    bool IsServerReady() override;
    bool Query5(intptr_t a, intptr_t b) override;
    bool Query6(intptr_t a, intptr_t b) override;
    void Notify7(intptr_t a, intptr_t b) override;
    bool Query8(intptr_t a, intptr_t b) override;
    void Notify9(intptr_t a, intptr_t b) override;
    bool Query10(intptr_t a, intptr_t b) override;
    bool InstallSsw(const void* bytes, int size, int userId) override;
    i_flashStubFactory* GetStubFactory1() override;
    void Notify13(intptr_t a, intptr_t b) override;
    intptr_t Value14(intptr_t a, intptr_t b) override;
    i_flashStubFactory* GetStubFactory3() override;
    bool Query16(intptr_t a, intptr_t b) override;
    bool Query17(intptr_t a, intptr_t b) override;
    bool Query18(intptr_t a, intptr_t b) override;
    intptr_t Value19(intptr_t a, intptr_t b) override;
    void Notify20(intptr_t a, intptr_t b) override;
    void Notify21(intptr_t a, intptr_t b) override;
    bool Query22(intptr_t a, intptr_t b) override;
    bool Query23(intptr_t a, intptr_t b) override;
    void Notify24(intptr_t a, intptr_t b) override;
    intptr_t Value25(intptr_t a, intptr_t b) override;
    bool IsUsable() override;
    bool RegisterUnloadObserver(i_unloadObserver* observer) override;

private:
    // Not unloaded, and the inner version is at least the slot's minimum.
    bool Allows(int slot);

    i_flashUtil* m_inner = nullptr;
};

class t_proxyFlashStub final : public i_flashStub {
public:
    // A new proxy over a stub from the utility's factory; null unless the library is
    // loaded, not unloaded and its factory hands out a stub.
    static t_proxyFlashStub* Create();

    explicit t_proxyFlashStub(i_flashStub* inner) : m_inner(inner) {}
    i_flashStub* Inner() const { return m_inner; }

    void Delete() override;
    // The inner version; -1 without inner stub or after the library was unloaded.
    int Version() override;
    int Create(DWORD exStyle, DWORD style, HWND host, int controlId, LPARAM parameter) override;
    void SetSize(const SIZE* size) override;
    bool GetFrame(t_flashFrame* frame) override;
    LRESULT SendMouse(HWND window, UINT message, WPARAM keys, LPARAM point) override;
    int Load(const wchar_t* fileName) override;
    int HitTest(int x, int y) override;
    void SetCommandSink(t_flashSkinCmd* sink) override;
    void Call2(intptr_t a, intptr_t b) override;
    void Call3(intptr_t a, intptr_t b, intptr_t c) override;
    void Call1(intptr_t a) override;
    void SetHostWindow(HWND window) override;
    void Move(int x, int y, int width, int height) override;
    void Show(bool shown) override;

    // Whether stub is one of these proxies. Told by the object's virtual table, not by
    // run-time type information, which the library's own stubs need not carry.
    static bool IsProxy(const i_flashStub* stub);

private:
    bool Allows() { return Version() >= 0; }

    i_flashStub* m_inner;
};

// While the library is loaded and not unloaded, a proxy stub has its inner stub released
// through the factory and any other stub is released through the factory. A proxy is
// deleted in any case: it is this program's own memory.
void ReleaseFlashStub(i_flashStub* stub);
