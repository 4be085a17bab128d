// A flash item played by the Flash component and drawn into its skinned window: the element
// owns a player stub, feeds it its size, mouse input and file name, and paints the frames
// the stub hands back (its placeholder picture while there is none).
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/str.h"
#include "ime_ui/windows/flash/wnd_flash_sub.h"

class i_flashStub;
struct t_flashFrame;

class t_wndFlashSubImpl : public t_wndFlashSub {
public:
    // Where players come from; by default the Flash component (null without one).
    using t_stubMaker = i_flashStub* (*)();
    // Tests put a stand-in here; null puts the Flash component back. Answers the old maker.
    static t_stubMaker SetStubMaker(t_stubMaker maker);

    // The extended style and style every player is created with.
    static const DWORD c_stubExStyle = WS_EX_LAYERED;
    static const DWORD c_stubStyle = WS_CHILD | WS_DISABLED;

    t_wndFlashSubImpl();
    // Releases the stub.
    ~t_wndFlashSubImpl() override;

    // Mouse input goes to the player in flash coordinates.
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseLeave() override;
    bool OnLButtonDblClk(UINT keys, int x, int y) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    bool OnRButtonDown(UINT, int, int) override { return false; }
    bool OnRButtonUp(UINT, int, int) override { return false; }
    // The player's current frame at natural size, or the placeholder without one.
    void Paint_Layout(t_paintCtx& context) override;
    // Releases the stub and the placeholder.
    void Destroy() override;
    // Outside the element or hidden: never; with captureAll: always; else the player decides.
    bool HitTest(int x, int y, int mode) override;
    bool SuspendsDrag() override { return captureAll; }
    bool WantsHandCursor() override { return handCursorWanted; }
    // The player loads the file name.
    void ResetUi(int arg) override;

    // The element (a child of owner, size 0) and its player.
    bool CreateFlash(HWND host, HWND parentWindow, int controlId, LPARAM packedId, t_wndBase* owner) override;
    void SetCommandSink(t_flashSkinCmd* sink) override;
    int StubCall3(intptr_t a, intptr_t b, intptr_t c) override;
    int StubCall2(intptr_t a, intptr_t b) override;
    void SetFileName(const wchar_t* fileName) override;
    void SetCaptureAll(bool on) override;
    void SetNotified(bool on) override;
    bool IsNotified() override;
    // Answers whether the player notified a new frame since the last tick, and forgets it.
    bool TickFlash() override;
    void SetPlaceholder(const t_image& record) override;
    void SetNoHandCursor(bool on) override;
    // Minus the element origin.
    void ToFlashPoint(POINT* point) override;

    i_flashStub* Stub() const { return stub; }
    const t_str& FileName() const { return fileName; }

    i_flashStub* stub;  // owned
    t_str fileName;
    bool notified;
    bool spare;
    bool captureAll;
    bool handCursorWanted;
    t_flashPlaceholder placeholder;

protected:
    // A new player created with the control id and packed id; false when there is none or
    // it refused (the element then keeps no stub).
    bool CreateStub(HWND host, int controlId, LPARAM packedId);
    void ReleaseStub();
    // The player's current frame when it has a usable one (pixels and a sane size).
    bool TakeFrame(t_flashFrame& frame);
    // Tells the player the element's size; false when the element is empty.
    bool SendSize();
    // A left-button message to the player when the point hits the element.
    bool SendButton(UINT message, UINT keys, int x, int y);
    // The message with the screen point in flash coordinates.
    void SendMouse(UINT message, UINT keys, int x, int y);
    // The element's rectangle in the coordinates of its drawing window.
    RECT PaintRect() const;
};
