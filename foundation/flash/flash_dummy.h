// Do-nothing stand-ins for the Flash component, used while it is missing or after it was
// unloaded: version 0, no players, and Flash counted as usable so that skins still open.
#pragma once

#include "interfaces/flash_interfaces.h"

class t_flashStubDummy final : public i_flashStub {
public:
    // The process-wide dummy (singleton "t_flashStubDummy").
    static t_flashStubDummy* Instance();

    void Delete() override {}
    int Version() override { return 0; }
    int Create(DWORD, DWORD, HWND, int, LPARAM) override { return 0; }
    void SetSize(const SIZE*) override {}
    bool GetFrame(t_flashFrame*) override { return false; }
    LRESULT SendMouse(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    int Load(const wchar_t*) override { return 0; }
    int HitTest(int, int) override { return 0; }
    void SetCommandSink(t_flashSkinCmd*) override {}
    void Call2(intptr_t, intptr_t) override {}
    void Call3(intptr_t, intptr_t, intptr_t) override {}
    void Call1(intptr_t) override {}
    void SetHostWindow(HWND) override {}
    void Move(int, int, int, int) override {}
    void Show(bool) override {}
};

class t_flashStubFactoryDummy final : public i_flashStubFactory {
public:
    // The process-wide dummy (singleton "t_flashStubFactoryDummy").
    static t_flashStubFactoryDummy* Instance();

    i_flashStub* CreateStub() override { return t_flashStubDummy::Instance(); }
    void ReleaseStub(i_flashStub*) override {}
};

class t_flashUtilDummy final : public i_flashUtil {
public:
    // The process-wide dummy (singleton "t_flashUtilDummy").
    static t_flashUtilDummy* Instance();

    int Version() override { return 0; }
    i_flashStubFactory* GetStubFactory() override { return t_flashStubFactoryDummy::Instance(); }
    i_flashSwf* LoadSwf(const void*, int) override { return nullptr; }
    void Notify3(intptr_t, intptr_t) override {}
    bool IsServerReady() override { return false; }
    bool Query5(intptr_t, intptr_t) override { return false; }
    bool Query6(intptr_t, intptr_t) override { return false; }
    void Notify7(intptr_t, intptr_t) override {}
    bool Query8(intptr_t, intptr_t) override { return false; }
    void Notify9(intptr_t, intptr_t) override {}
    bool Query10(intptr_t, intptr_t) override { return false; }
    bool InstallSsw(const void*, int, int) override { return false; }
    i_flashStubFactory* GetStubFactory1() override { return t_flashStubFactoryDummy::Instance(); }
    void Notify13(intptr_t, intptr_t) override {}
    intptr_t Value14(intptr_t, intptr_t) override { return 0; }
    i_flashStubFactory* GetStubFactory3() override { return t_flashStubFactoryDummy::Instance(); }
    bool Query16(intptr_t, intptr_t) override { return false; }
    bool Query17(intptr_t, intptr_t) override { return false; }
    bool Query18(intptr_t, intptr_t) override { return false; }
    intptr_t Value19(intptr_t, intptr_t) override { return 0; }
    void Notify20(intptr_t, intptr_t) override {}
    void Notify21(intptr_t, intptr_t) override {}
    bool Query22(intptr_t, intptr_t) override { return false; }
    bool Query23(intptr_t, intptr_t) override { return false; }
    void Notify24(intptr_t, intptr_t) override {}
    intptr_t Value25(intptr_t, intptr_t) override { return 0; }
    bool IsUsable() override { return true; }
    bool RegisterUnloadObserver(i_unloadObserver*) override { return false; }
};
