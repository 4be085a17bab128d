// The process-wide flash sender: the one player stub the program keeps alive, through which
// the status bar tells the Flash component where it is and whether it shows.
#pragma once

#include <windows.h>

#include "ime_ui/windows/flash/wnd_flash_sub.h"

class i_flashStub;

class t_wndFlashSenderImpl : public t_wndFlashSub {
public:
    // Where a stub comes from; by default the Flash component (null without one).
    using t_stubMaker = i_flashStub* (*)();

    // The singleton "t_wndFlashSenderImpl", created (and its CreateFlash called) on first use.
    static t_wndFlashSenderImpl* Instance();

    t_wndFlashSenderImpl();
    // Releases the stub.
    ~t_wndFlashSenderImpl() override;

    bool CreateFlash(HWND host, HWND parentWindow, int controlId, LPARAM packedId, t_wndBase* owner) override;
    int StubCall3(intptr_t a, intptr_t b, intptr_t c) override;
    int StubCall2(intptr_t a, intptr_t b) override;
    void FollowRect(const RECT& rect) override;
    void FollowShow(bool shown) override;
    // The sender paints nothing, has no layout and is never hit.
    void Paint_Layout(t_paintCtx&) override {}
    t_layoutWnd* CreateLayout() override { return nullptr; }
    bool HitTest(int, int, int) override { return false; }

    // Set by the status bar before each call.
    void SetHostWindow(HWND window) { hostWindow = window; }
    // Tests put a stand-in here; the next stub comes from maker.
    void SetStubMaker(t_stubMaker maker) { m_maker = maker; }
    // Releases the stub; the next call makes a new one.
    void ReleaseStub();
    i_flashStub* Stub() const { return m_stub; }

    HWND hostWindow;

private:
    // The stub, made on first need; null when none can be had.
    i_flashStub* EnsureStub();

    i_flashStub* m_stub;
    t_stubMaker m_maker;
};
