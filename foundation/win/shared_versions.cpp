#include "foundation/win/shared_versions.h"

#include "foundation/win/share_mem.h"

namespace {

// Block layout: u32 area size (1020), u32 initialised flag, 255 u32 counters.
struct t_registryState {
    t_mutex mutex{4};
    t_shareMem_t<t_versionReg::t_locker> mapping;
    volatile LONG* counters = nullptr;
    bool opened = false;
    bool attempted = false;
};

t_registryState& State()
{
    static t_registryState state;
    return state;
}

volatile LONG* Counter(unsigned index)
{
    t_registryState& state = State();
    if (!state.opened || index >= t_versionReg::c_counterCount)
        return nullptr;
    return state.counters + index;
}

// Unlocks on every path out of Init.
bool InitLocked(t_errorChain& errors, t_registryState& state)
{
    if (state.opened)
        return true;
    if (state.attempted) {
        errors.AddText(L"failled load version reg before");
        return false;
    }
    state.attempted = true;
    if (!t_shareMem::CreateShareble(errors, state.mapping, L"Local\\Filemap_VersionReg", true, false,
                                    t_versionReg::c_blockSize))
        return false;
    // A block made by another program may be smaller than ours.
    if (state.mapping.ViewSize() < t_versionReg::c_blockSize) {
        state.mapping.Close();
        return errors.Fail(L"VersionReg大小不符: %s", L"Local\\Filemap_VersionReg");
    }
    volatile LONG* words = static_cast<volatile LONG*>(state.mapping.View());
    volatile LONG* counters = words + 2;
    words[0] = 1020;
    if (words[1]) {
        for (unsigned i = 0; i < t_versionReg::c_counterCount; ++i)
            InterlockedCompareExchange(counters + i, 1, 0);
    } else {
        for (unsigned i = 0; i < t_versionReg::c_counterCount; ++i)
            InterlockedExchange(counters + i, 1);
        InterlockedExchange(words + 1, 1);
    }
    state.counters = counters;
    state.opened = true;
    return true;
}

}  // namespace

bool t_versionReg::Init(t_errorChain& errors)
{
    t_registryState& state = State();
    if (!state.mutex.Create(errors, L"Local\\vxfmPyVRMutex")) {
        errors.AddText(L"创建Message filemap mutex失败:").AppendText(L"Local\\vxfmPyVRMutex");
        return false;
    }
    t_locker locker;
    if (!locker.Lock(errors))
        return errors.Fail(L"VersionReg初始化失败");
    return InitLocked(errors, state);
}

bool t_versionReg::IsOpen() { return State().opened; }

DWORD t_versionReg::Increment(unsigned index)
{
    volatile LONG* counter = Counter(index);
    return counter ? (DWORD)InterlockedIncrement(counter) : 0;
}

DWORD t_versionReg::Read(unsigned index)
{
    volatile LONG* counter = Counter(index);
    return counter ? (DWORD)InterlockedCompareExchange(counter, 0, 0) : 0;
}

bool t_versionReg::t_locker::Lock(t_errorChain& errors) { return t_mutex::t_locker::Lock(errors, State().mutex); }

bool t_versionReg::t_interface::CheckVersion(t_errorChain& errors, void* argument)
{
    if (!t_versionReg::IsOpen()) {
        errors.AddText(L"versionReg未初始化");
        return false;
    }
    if (m_counterIndex >= c_counterCount)
        return errors.Fail(L"versionReg计数器序号越界(%u)", m_counterIndex);
    LONG seen = m_seenVersion;
    DWORD current = t_versionReg::Read(m_counterIndex);
    if ((DWORD)seen == current && current != 0)
        return true;
    if (seen == 0 && current == 0) {
        t_versionReg::Increment(m_counterIndex);
        current = t_versionReg::Read(m_counterIndex);
    }
    if (!Reload(errors, current, argument))
        return errors.Fail(L"检查数据更新失败（t_versionReg::t_interface::CheckVersion）");
    InterlockedCompareExchange(&m_seenVersion, (LONG)current, seen);
    return true;
}

void t_versionedData::Touch() { t_versionReg::Increment(m_counterIndex); }

bool t_versionedData::IsCurrent() const
{
    if (!t_versionReg::IsOpen())
        return true;
    return (DWORD)m_seenVersion == t_versionReg::Read(m_counterIndex);
}

void t_versionedData::Snapshot() { InterlockedExchange(&m_seenVersion, (LONG)t_versionReg::Read(m_counterIndex)); }
