#include "foundation/flash/flash_proxy.h"

#include "foundation/core/singleton.h"
#include "foundation/files/path.h"
#include "foundation/win/file_version.h"
#include "foundation/flash/flash_util.h"
#include "foundation/win/reg.h"

namespace {

std::atomic<bool> g_unloadedCache{false};

// The lowest inner version each utility slot needs (slot 0 is the version
// itself).
const int c_minimumVersion[i_flashUtil::c_slotCount] = {
    0, 0, 0, 0, 0, 0, 0, 0,  0, 0,  // 0 to 9
    0, 0, 1, 1, 2, 3, 4, 4,  4, 5,  // 10 to 19
    6, 6, 7, 7, 8, 8, 9, 10,        // 20 to 27
};

const wchar_t* const c_flashControlKey = L"CLSID\\{d27cdb6e-ae6d-11cf-96b8-444553540000}\\InprocServer32";
const uint16_t c_minimumControlVersion[4] = {10, 1, 102, 64};

}  // namespace

t_flashUnloadObserver* t_flashUnloadObserver::Instance()
{
    return ImmSingleton_unmanaged<t_flashUnloadObserver>::Instance();
}

void t_flashUnloadObserver::Delete() { ImmSingleton_unmanaged<t_flashUnloadObserver>::Delete(); }

t_flashUnloadObserver::~t_flashUnloadObserver()
{
    m_unloaded = true;
    g_unloadedCache = true;
}

void t_flashUnloadObserver::OnUnload() { m_unloaded = true; }

bool IsFlashUnloaded()
{
    if (!g_unloadedCache.load()) {
        const t_flashUnloadObserver* observer = t_flashUnloadObserver::Instance();
        if (observer && observer->IsUnloaded())
            g_unloadedCache = true;
    }
    return g_unloadedCache.load();
}

t_proxyFlashUtil* t_proxyFlashUtil::Instance() { return ImmSingleton<t_proxyFlashUtil>::Instance("t_proxyFlashUtil"); }

int t_proxyFlashUtil::MinimumVersion(int slot)
{
    return slot >= 0 && slot < c_slotCount ? c_minimumVersion[slot] : 0x7fffffff;
}

bool t_proxyFlashUtil::IsFlashControlRegistered()
{
    t_errorChain ignored;
    t_reg key(HKEY_CLASSES_ROOT);
    wchar_t file[MAX_PATH] = {};
    if (!key.Open(ignored, c_flashControlKey, false, false) || !key.QueryString(ignored, nullptr, file, MAX_PATH))
        return false;
    if (!t_path(file).IsFile())
        return false;
    uint16_t version[4] = {};
    if (!GetFileVersion(file, version))
        return false;
    for (int i = 0; i < 4; ++i)
        if (version[i] != c_minimumControlVersion[i])
            return version[i] > c_minimumControlVersion[i];
    return true;
}

int t_proxyFlashUtil::Version() { return m_inner && !IsFlashUnloaded() ? m_inner->Version() : -1; }

bool t_proxyFlashUtil::Allows(int slot) { return !IsFlashUnloaded() && Version() >= MinimumVersion(slot); }

i_flashStubFactory* t_proxyFlashUtil::GetStubFactory() { return Allows(1) ? m_inner->GetStubFactory() : nullptr; }
i_flashSwf* t_proxyFlashUtil::LoadSwf(const void* bytes, int size)
{
    return Allows(2) ? m_inner->LoadSwf(bytes, size) : nullptr;
}
void t_proxyFlashUtil::Notify3(intptr_t a, intptr_t b)
{
    if (Allows(3))
        m_inner->Notify3(a, b);
}
bool t_proxyFlashUtil::IsServerReady() { return Allows(4) && m_inner->IsServerReady(); }
bool t_proxyFlashUtil::Query5(intptr_t a, intptr_t b) { return Allows(5) && m_inner->Query5(a, b); }
bool t_proxyFlashUtil::Query6(intptr_t a, intptr_t b) { return Allows(6) && m_inner->Query6(a, b); }
void t_proxyFlashUtil::Notify7(intptr_t a, intptr_t b)
{
    if (Allows(7))
        m_inner->Notify7(a, b);
}
bool t_proxyFlashUtil::Query8(intptr_t a, intptr_t b) { return Allows(8) ? m_inner->Query8(a, b) : true; }
void t_proxyFlashUtil::Notify9(intptr_t a, intptr_t b)
{
    if (Allows(9))
        m_inner->Notify9(a, b);
}
bool t_proxyFlashUtil::Query10(intptr_t a, intptr_t b) { return Allows(10) && m_inner->Query10(a, b); }
bool t_proxyFlashUtil::InstallSsw(const void* bytes, int size, int userId)
{
    return Allows(11) && m_inner->InstallSsw(bytes, size, userId);
}
i_flashStubFactory* t_proxyFlashUtil::GetStubFactory1() { return Allows(12) ? m_inner->GetStubFactory1() : nullptr; }
void t_proxyFlashUtil::Notify13(intptr_t a, intptr_t b)
{
    if (Allows(13))
        m_inner->Notify13(a, b);
}
intptr_t t_proxyFlashUtil::Value14(intptr_t a, intptr_t b) { return Allows(14) ? m_inner->Value14(a, b) : 0; }
i_flashStubFactory* t_proxyFlashUtil::GetStubFactory3() { return Allows(15) ? m_inner->GetStubFactory3() : nullptr; }
bool t_proxyFlashUtil::Query16(intptr_t a, intptr_t b) { return Allows(16) && m_inner->Query16(a, b); }
bool t_proxyFlashUtil::Query17(intptr_t a, intptr_t b) { return Allows(17) && m_inner->Query17(a, b); }
bool t_proxyFlashUtil::Query18(intptr_t a, intptr_t b) { return Allows(18) && m_inner->Query18(a, b); }
intptr_t t_proxyFlashUtil::Value19(intptr_t a, intptr_t b) { return Allows(19) ? m_inner->Value19(a, b) : 0; }
void t_proxyFlashUtil::Notify20(intptr_t a, intptr_t b)
{
    if (Allows(20))
        m_inner->Notify20(a, b);
}
void t_proxyFlashUtil::Notify21(intptr_t a, intptr_t b)
{
    if (Allows(21))
        m_inner->Notify21(a, b);
}
bool t_proxyFlashUtil::Query22(intptr_t a, intptr_t b) { return Allows(22) && m_inner->Query22(a, b); }
bool t_proxyFlashUtil::Query23(intptr_t a, intptr_t b) { return Allows(23) && m_inner->Query23(a, b); }
void t_proxyFlashUtil::Notify24(intptr_t a, intptr_t b)
{
    if (Allows(24))
        m_inner->Notify24(a, b);
}
intptr_t t_proxyFlashUtil::Value25(intptr_t a, intptr_t b) { return Allows(25) ? m_inner->Value25(a, b) : 0; }
bool t_proxyFlashUtil::IsUsable() { return Allows(26) ? m_inner->IsUsable() : IsFlashControlRegistered(); }
bool t_proxyFlashUtil::RegisterUnloadObserver(i_unloadObserver* observer)
{
    return Allows(27) && m_inner->RegisterUnloadObserver(observer);
}

t_proxyFlashStub* t_proxyFlashStub::Create()
{
    if (!IsFlashLoaded() || IsFlashUnloaded())
        return nullptr;
    i_flashStubFactory* factory = GetFlashUtil()->GetStubFactory();
    i_flashStub* inner = factory ? factory->CreateStub() : nullptr;
    return inner ? new (std::nothrow) t_proxyFlashStub(inner) : nullptr;
}

void t_proxyFlashStub::Delete() { delete this; }

bool t_proxyFlashStub::IsProxy(const i_flashStub* stub)
{
    static const t_proxyFlashStub probe(nullptr);
    return stub && *reinterpret_cast<void* const*>(stub) == *reinterpret_cast<void* const*>(&probe);
}

int t_proxyFlashStub::Version() { return m_inner && !IsFlashUnloaded() ? m_inner->Version() : -1; }

int t_proxyFlashStub::Create(DWORD exStyle, DWORD style, HWND host, int controlId, LPARAM parameter)
{
    return Allows() ? m_inner->Create(exStyle, style, host, controlId, parameter) : 0;
}
void t_proxyFlashStub::SetSize(const SIZE* size)
{
    if (Allows())
        m_inner->SetSize(size);
}
bool t_proxyFlashStub::GetFrame(t_flashFrame* frame) { return Allows() && m_inner->GetFrame(frame); }
LRESULT t_proxyFlashStub::SendMouse(HWND window, UINT message, WPARAM keys, LPARAM point)
{
    return Allows() ? m_inner->SendMouse(window, message, keys, point) : 0;
}
int t_proxyFlashStub::Load(const wchar_t* fileName) { return Allows() ? m_inner->Load(fileName) : 0; }
int t_proxyFlashStub::HitTest(int x, int y) { return Allows() ? m_inner->HitTest(x, y) : 0; }
void t_proxyFlashStub::SetCommandSink(t_flashSkinCmd* sink)
{
    if (Allows())
        m_inner->SetCommandSink(sink);
}
void t_proxyFlashStub::Call2(intptr_t a, intptr_t b)
{
    if (Allows())
        m_inner->Call2(a, b);
}
void t_proxyFlashStub::Call3(intptr_t a, intptr_t b, intptr_t c)
{
    if (Allows())
        m_inner->Call3(a, b, c);
}
void t_proxyFlashStub::Call1(intptr_t a)
{
    if (Allows())
        m_inner->Call1(a);
}
void t_proxyFlashStub::SetHostWindow(HWND window)
{
    if (Allows())
        m_inner->SetHostWindow(window);
}
void t_proxyFlashStub::Move(int x, int y, int width, int height)
{
    if (Allows())
        m_inner->Move(x, y, width, height);
}
void t_proxyFlashStub::Show(bool shown)
{
    if (Allows())
        m_inner->Show(shown);
}

void ReleaseFlashStub(i_flashStub* stub)
{
    if (!stub)
        return;
    t_proxyFlashStub* proxy = t_proxyFlashStub::IsProxy(stub) ? static_cast<t_proxyFlashStub*>(stub) : nullptr;
    if (IsFlashLoaded() && !IsFlashUnloaded()) {
        i_flashStubFactory* factory = GetFlashUtil()->GetStubFactory();
        i_flashStub* inner = proxy ? proxy->Inner() : stub;
        if (factory && inner)
            factory->ReleaseStub(inner);
    }
    if (proxy)
        proxy->Delete();
}
