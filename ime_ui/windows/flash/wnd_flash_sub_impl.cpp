#include "ime_ui/windows/flash/wnd_flash_sub_impl.h"

#include <climits>

#include "foundation/flash/flash_proxy.h"
#include "graphics/image/image.h"
#include "graphics/image/image_source.h"
#include "toolkit/controls/input_hooks.h"

namespace {

i_flashStub* MakeComponentStub() { return t_proxyFlashStub::Create(); }

t_wndFlashSubImpl::t_stubMaker g_stubMaker = MakeComponentStub;

// The frame size a player may hand over: 32-bit pixels whose byte count fits an int.
bool IsSaneFrameSize(int width, int height) { return width > 0 && height > 0 && width <= INT_MAX / 4 / height; }

}  // namespace

t_wndFlashSubImpl::t_stubMaker t_wndFlashSubImpl::SetStubMaker(t_stubMaker maker)
{
    const t_stubMaker old = g_stubMaker;
    g_stubMaker = maker ? maker : MakeComponentStub;
    return old;
}

t_wndFlashSubImpl::t_wndFlashSubImpl()
    : stub(nullptr), notified(false), spare(false), captureAll(false), handCursorWanted(true)
{}

t_wndFlashSubImpl::~t_wndFlashSubImpl() { ReleaseStub(); }

// ---- the player

bool t_wndFlashSubImpl::CreateStub(HWND host, int controlId, LPARAM packedId)
{
    ReleaseStub();
    stub = g_stubMaker();
    if (!stub)
        return false;
    if (!stub->Create(c_stubExStyle, c_stubStyle, host, controlId, packedId)) {
        ReleaseStub();
        return false;
    }
    return true;
}

void t_wndFlashSubImpl::ReleaseStub()
{
    i_flashStub* old = stub;
    stub = nullptr;
    ReleaseFlashStub(old);
}

bool t_wndFlashSubImpl::CreateFlash(HWND host, HWND, int controlId, LPARAM packedId, t_wndBase* owner)
{
    if (!t_wndBase::Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, owner))
        return false;
    return CreateStub(host, controlId, packedId);
}

void t_wndFlashSubImpl::SetCommandSink(t_flashSkinCmd* sink)
{
    if (stub)
        stub->SetCommandSink(sink);
}

int t_wndFlashSubImpl::StubCall3(intptr_t a, intptr_t b, intptr_t c)
{
    if (!stub)
        return 0;
    stub->Call3(a, b, c);
    return 1;
}

int t_wndFlashSubImpl::StubCall2(intptr_t a, intptr_t b)
{
    if (!stub)
        return 0;
    stub->Call2(a, b);
    return 1;
}

void t_wndFlashSubImpl::SetFileName(const wchar_t* name) { fileName = name ? name : L""; }
void t_wndFlashSubImpl::SetCaptureAll(bool on) { captureAll = on; }
void t_wndFlashSubImpl::SetNotified(bool on) { notified = on; }
bool t_wndFlashSubImpl::IsNotified() { return notified; }

bool t_wndFlashSubImpl::TickFlash()
{
    // One notification asks for one repaint.
    const bool repaint = notified;
    notified = false;
    return repaint;
}

void t_wndFlashSubImpl::SetPlaceholder(const t_image& record) { placeholder.Set(record); }
void t_wndFlashSubImpl::SetNoHandCursor(bool on) { handCursorWanted = !on; }

void t_wndFlashSubImpl::ResetUi(int arg)
{
    if (stub)
        stub->Load(fileName.c_str());
    t_wndFlashSub::ResetUi(arg);
}

void t_wndFlashSubImpl::Destroy()
{
    ReleaseStub();
    t_image none;
    none.Init();
    placeholder.Set(none);
    t_wndFlashSub::Destroy();
}

// ---- mouse

void t_wndFlashSubImpl::ToFlashPoint(POINT* point)
{
    if (!point)
        return;
    const RECT r = GetRect();
    point->x -= r.left;
    point->y -= r.top;
}

void t_wndFlashSubImpl::SendMouse(UINT message, UINT keys, int x, int y)
{
    if (!stub)
        return;
    POINT point = {x, y};
    ToFlashPoint(&point);
    stub->SendMouse(GetHwnd(), message, keys, MAKELPARAM(point.x, point.y));
}

bool t_wndFlashSubImpl::SendButton(UINT message, UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    SendMouse(message, keys, x, y);
    return true;
}

void t_wndFlashSubImpl::OnMouseMove(UINT keys, int x, int y)
{
    SendMouse(WM_MOUSEMOVE, keys, x, y);
    t_wndFlashSub::OnMouseMove(keys, x, y);
}

void t_wndFlashSubImpl::OnMouseLeave()
{
    const POINT cursor = InputCursorPos();
    SendMouse(WM_MOUSEMOVE, MK_LBUTTON, cursor.x, cursor.y);
    t_wndFlashSub::OnMouseLeave();
}

bool t_wndFlashSubImpl::OnLButtonDblClk(UINT keys, int x, int y) { return SendButton(WM_LBUTTONDBLCLK, keys, x, y); }
bool t_wndFlashSubImpl::OnLButtonDown(UINT keys, int x, int y) { return SendButton(WM_LBUTTONDOWN, keys, x, y); }
bool t_wndFlashSubImpl::OnLButtonUp(UINT keys, int x, int y) { return SendButton(WM_LBUTTONUP, keys, x, y); }

bool t_wndFlashSubImpl::HitTest(int x, int y, int)
{
    if (!stub || !visible)
        return false;
    const RECT r = GetRect();
    const POINT screen = {x, y};
    if (!PtInRect(&r, screen))
        return false;
    if (captureAll)
        return true;
    POINT point = screen;
    ToFlashPoint(&point);
    return stub->HitTest(point.x, point.y) != 0;
}

// ---- painting

RECT t_wndFlashSubImpl::PaintRect() const
{
    RECT r = GetRect();
    const POINT offset = GetTopOffset();
    OffsetRect(&r, offset.x, offset.y);
    return r;
}

bool t_wndFlashSubImpl::SendSize()
{
    const RECT r = GetRect();
    SIZE size = {r.right - r.left, r.bottom - r.top};
    if (size.cx <= 0 || size.cy <= 0) {
        size = SIZE{0, 0};
        stub->SetSize(&size);
        return false;
    }
    stub->SetSize(&size);
    return true;
}

bool t_wndFlashSubImpl::TakeFrame(t_flashFrame& frame)
{
    frame = t_flashFrame{nullptr, 0, 0};
    // A player may claim a frame without handing pixels: that is no frame.
    return stub && stub->GetFrame(&frame) && frame.pixels && IsSaneFrameSize(frame.width, frame.height);
}

void t_wndFlashSubImpl::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    const RECT r = PaintRect();
    // Without a player (no Flash component) the item shows its placeholder.
    if (!stub) {
        placeholder.Paint(context, r);
        return;
    }
    if (!SendSize())
        return;
    t_flashFrame frame;
    if (!TakeFrame(frame)) {
        placeholder.Paint(context, r);
        return;
    }
    t_imageSource* source = nullptr;
    if (!t_imageSource::CreateFromPixels(1, frame.pixels, frame.width, frame.height, source, 0, nullptr))
        return;
    t_image picture;
    picture.Init();
    picture.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, frame.width, frame.height, t_image::e_natural,
                    t_image::e_natural, true);
    picture.Draw(context, r.left, r.top, frame.width, frame.height, 255);
    t_imageSource::Destroy(source);
}
