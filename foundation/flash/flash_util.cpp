#include "foundation/flash/flash_util.h"

#include <atomic>

#include "foundation/files/path.h"
#include "foundation/flash/flash_dll_loader.h"
#include "foundation/flash/flash_dummy.h"
#include "foundation/flash/flash_proxy.h"
#include "foundation/flash/flash_server_event.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/mutex.h"

namespace {

std::atomic<i_flashUtil*> g_current{nullptr};
std::atomic<bool> g_loaded{false};
// Serialises the first load of the library between threads.
t_csAutoInit g_flashLock(4, L"Local\\cs_FlashUtil");

}  // namespace

i_flashUtil* GetFlashUtil()
{
    if (IsFlashUnloaded()) {
        g_current = t_flashUtilDummy::Instance();
        return g_current.load();
    }
    if (i_flashUtil* current = g_current.load())
        return current;

    wchar_t folder[MAX_PATH];
    FindFlashBundleFolder(folder);
    t_errorChain ignored;
    const bool locked = Lock(ignored, g_flashLock);
    if (!g_current.load()) {
        t_flashDllLoader* loader = t_flashDllLoader::Instance();
        i_flashUtil* inner = nullptr;
        if (loader) {
            loader->SetBundleFolder(folder);
            inner = loader->Load();
        }
        t_proxyFlashUtil* proxy = inner ? t_proxyFlashUtil::Instance() : nullptr;
        if (proxy) {
            g_loaded = true;
            proxy->SetInner(inner);
            proxy->RegisterUnloadObserver(t_flashUnloadObserver::Instance());
            g_current = proxy;
        } else {
            g_current = t_flashUtilDummy::Instance();
        }
    }
    if (locked)
        Unlock(g_flashLock);
    return g_current.load();
}

bool IsFlashLoaded() { return g_loaded.load(); }

i_flashSwf* FlashUtilLoadSwf(const void* bytes, int size)
{
    if (g_loaded.load() && IsFlashUnloaded())
        return nullptr;
    return GetFlashUtil()->LoadSwf(bytes, size);
}

bool FlashUtilInstallSsw(const void* bytes, int size)
{
    UserManager* users = UserManager::Instance();
    return GetFlashUtil()->InstallSsw(bytes, size, users ? users->GetCurrentUserId() : 0);
}

bool FlashUtilIsUsable() { return GetFlashUtil()->IsUsable(); }

bool IsFlashServerReady()
{
    if (!g_loaded.load())
        return true;
    const t_flashServerEvent server;
    if (!server.IsPresent())
        return false;
    return IsFlashUnloaded() || GetFlashUtil()->IsServerReady();
}

bool IsFlashComponentInstalled()
{
    wchar_t folder[MAX_PATH];
    // Without a bundle folder the joined path would name the drive's root.
    if (!FindFlashBundleFolder(folder))
        return false;
    t_path exe(folder);
    exe.Join(L"VexilFlash.exe");
    const DWORD attributes = GetFileAttributesW(exe.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
