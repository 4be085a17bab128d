#include "ime_ui/windows/flash/wnd_flash_sender.h"

#include "foundation/core/singleton.h"
#include "foundation/flash/flash_proxy.h"

namespace {

i_flashStub* MakeComponentStub() { return t_proxyFlashStub::Create(); }

}  // namespace

t_wndFlashSenderImpl* t_wndFlashSenderImpl::Instance()
{
    static bool created = false;
    t_wndFlashSenderImpl* sender = ImmSingleton<t_wndFlashSenderImpl>::Instance("t_wndFlashSenderImpl");
    if (sender && !created) {
        created = true;
        sender->CreateFlash(nullptr, nullptr, 0, 0, nullptr);
    }
    return sender;
}

t_wndFlashSenderImpl::t_wndFlashSenderImpl() : hostWindow(nullptr), m_stub(nullptr), m_maker(MakeComponentStub) {}

t_wndFlashSenderImpl::~t_wndFlashSenderImpl() { ReleaseStub(); }

bool t_wndFlashSenderImpl::CreateFlash(HWND, HWND, int, LPARAM, t_wndBase*) { return true; }

void t_wndFlashSenderImpl::ReleaseStub()
{
    i_flashStub* stub = m_stub;
    m_stub = nullptr;
    ReleaseFlashStub(stub);
}

i_flashStub* t_wndFlashSenderImpl::EnsureStub()
{
    if (!m_stub && m_maker)
        m_stub = m_maker();
    return m_stub;
}

int t_wndFlashSenderImpl::StubCall3(intptr_t a, intptr_t b, intptr_t c)
{
    i_flashStub* stub = EnsureStub();
    if (!stub)
        return 0;
    stub->Call3(a, b, c);
    return 1;
}

int t_wndFlashSenderImpl::StubCall2(intptr_t a, intptr_t b)
{
    i_flashStub* stub = EnsureStub();
    if (!stub)
        return 0;
    stub->Call2(a, b);
    return 1;
}

void t_wndFlashSenderImpl::FollowRect(const RECT& r)
{
    i_flashStub* stub = EnsureStub();
    if (!stub)
        return;
    stub->SetHostWindow(hostWindow);
    stub->Move(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void t_wndFlashSenderImpl::FollowShow(bool shown)
{
    i_flashStub* stub = EnsureStub();
    if (!stub)
        return;
    stub->SetHostWindow(hostWindow);
    stub->Show(shown);
}
