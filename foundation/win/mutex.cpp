#include "foundation/win/mutex.h"

#include <wchar.h>

#include "foundation/core/perf.h"
#include "foundation/win/security.h"

namespace {

const wchar_t c_localPrefix[] = L"Local\\";
const size_t c_localPrefixLength = 6;

bool StartsWithLocal(const wchar_t* text) { return wcsncmp(text, c_localPrefix, c_localPrefixLength) == 0; }

}  // namespace

t_mutex::t_mutex(int kind) : m_handle(nullptr), m_kind(kind) { m_name[0] = 0; }

t_mutex::~t_mutex()
{
    // The destructor must not call the virtual Close of a derived class that is gone.
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

bool t_mutex::NormaliseName(const wchar_t* name, wchar_t (&out)[c_nameCapacity])
{
    const wchar_t* prefix = c_localPrefix;
    if (StartsWithLocal(name)) {
        prefix = L"";
        if (StartsWithLocal(name + c_localPrefixLength))
            name += c_localPrefixLength;
    }
    size_t prefixLength = wcslen(prefix);
    size_t nameLength = wcslen(name);
    if (nameLength > c_nameCapacity - 1 - prefixLength) {
        out[0] = 0;
        return false;
    }
    wmemcpy(out, prefix, prefixLength);
    wmemcpy(out + prefixLength, name, nameLength + 1);
    return true;
}

bool t_mutex::SetNormalisedName(t_errorChain& errors, const wchar_t* name)
{
    if (!name)
        return true;
    wchar_t normalised[c_nameCapacity];
    if (!NormaliseName(name, normalised)) {
        // A cut name could collide with another object's name: refuse it instead.
        return errors.Fail(L"互斥量名称过长（最多%d个字符）：%s", c_nameCapacity - 1, name);
    }
    wmemcpy(m_name, normalised, c_nameCapacity);
    return true;
}

bool t_mutex::Create(t_errorChain& errors, const wchar_t* name)
{
    PerfScope scope("CreateMutex");
    if (m_handle)
        return true;
    if (name) {
        if (!SetNormalisedName(errors, name))
            return false;
        m_handle = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, m_name);
        if (!m_handle) {
            PerfScope createScope("CreateMutex2");
            m_handle = CreateMutexW(GetLowIntegritySecurityAttributes(), FALSE, m_name);
        }
    } else {
        wcscpy(m_name, L"Local\\Mutex_NoName");
        PerfScope createScope("CreateMutex2");
        m_handle = CreateMutexW(nullptr, FALSE, nullptr);
    }
    if (!m_handle) {
        errors.AddLastError().AppendText(L"互斥量创建失败：").AppendText(m_name);
        return false;
    }
    return true;
}

void t_mutex::Close()
{
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

bool t_mutex::IsCreated() const { return m_handle != nullptr; }

bool t_mutex::Wait(t_errorChain& errors)
{
    // Waiting on nothing would let the caller in unguarded.
    if (!m_handle)
        return errors.Fail(L"获取Mutex失败：未创建 %s", m_name);
    DWORD result = WaitForSingleObject(m_handle, INFINITE);
    switch (result) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        return true;
    case WAIT_TIMEOUT:
        return errors.Fail(L"获取Mutex失败：WAIT_TIMEOUT");
    case WAIT_FAILED:
        errors.AddLastError().AppendText(L"获取Mutex失败");
        return false;
    default:
        return errors.Fail(L"获取Mutex失败：WaitForSingleObject返回值不识别(%d)", (int)result);
    }
}

void t_mutex::Release()
{
    if (m_handle)
        ReleaseMutex(m_handle);
}

bool Lock(t_errorChain& errors, t_mutex& mutex)
{
    PerfScope scope("Lock");
    if (!mutex.IsCreated())
        return errors.Fail(L"t_mutex::Lock 未初始化");
    return mutex.Wait(errors);
}

void Unlock(t_mutex& mutex)
{
    PerfScope scope("Unlock");
    mutex.Release();
}

bool t_mutex::t_locker::Lock(t_errorChain& errors, t_mutex& mutex)
{
    Unlock();
    if (!::Lock(errors, mutex))
        return false;
    m_held = &mutex;
    return true;
}

void t_mutex::t_locker::Unlock()
{
    if (m_held) {
        ::Unlock(*m_held);
        m_held = nullptr;
    }
}

t_criticalSection::t_criticalSection(int kind) : t_mutex(kind), m_initialised(false) {}

t_criticalSection::~t_criticalSection() { Close(); }

bool t_criticalSection::Create(t_errorChain& errors, const wchar_t* name)
{
    if (m_initialised)
        return true;
    if (!SetNormalisedName(errors, name))
        return false;
    // The high bit asks the system to allocate the wait event now, so that entering
    // never fails later for lack of memory.
    if (!InitializeCriticalSectionAndSpinCount(&m_section, 0x80000400))
        return errors.Fail(L"创建CriticalSection失败:%s, %d", m_name, (int)GetLastError());
    m_initialised = true;
    return true;
}

void t_criticalSection::Close()
{
    if (m_initialised) {
        DeleteCriticalSection(&m_section);
        m_initialised = false;
    }
}

bool t_criticalSection::IsCreated() const { return m_initialised; }

bool t_criticalSection::Wait(t_errorChain& errors)
{
    if (!m_initialised)
        return errors.Fail(L"获取CriticalSection失败：未创建 %s", m_name);
    EnterCriticalSection(&m_section);
    return true;
}

void t_criticalSection::Release()
{
    if (m_initialised)
        LeaveCriticalSection(&m_section);
}

t_csAutoInit::t_csAutoInit(int kind, const wchar_t* name) : t_criticalSection(kind)
{
    t_errorChain dropped;
    Create(dropped, name);
}
