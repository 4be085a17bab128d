#include "foundation/env/renewable_memory.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

// The largest usable size: with the trailer and the block header it must fit in 32 bits.
const DWORD c_maxUsable = MAXDWORD - t_renewableMemory::c_trailerSize - 16;

}  // namespace

t_renewableMemory::t_renewableMemory(i_renewableSource* source, const wchar_t* baseName, unsigned counterIndex,
                                     const int* suffix, bool perUser)
    : t_versionedData(counterIndex), m_renewed(false), m_source(source), m_perUser(perUser)
{
    wmemset(m_baseName, 0, c_nameCapacity);
    if (!baseName)
        baseName = L"???";
    if (suffix && *suffix != -1)
        _snwprintf(m_baseName, c_nameCapacity - 1, L"%s%x", baseName, (unsigned)*suffix);
    else
        _snwprintf(m_baseName, c_nameCapacity - 1, L"%s", baseName);
}

t_renewableMemory::~t_renewableMemory() { Close(); }

void t_renewableMemory::GenerationName(DWORD generation, wchar_t (&out)[c_nameCapacity]) const
{
    wmemset(out, 0, c_nameCapacity);
    _snwprintf(out, c_nameCapacity - 1, L"%s.v%d.filemap.vurodura", m_baseName, (int)generation);
}

DWORD t_renewableMemory::UsableSize(const t_block& block)
{
    DWORD size = block.DataSize();
    return size > c_trailerSize ? size - c_trailerSize : 0;
}

void t_renewableMemory::ZeroTrailer(t_block& block)
{
    DWORD size = block.DataSize();
    if (size >= c_trailerSize)
        memset(block.Data() + size - c_trailerSize, 0, c_trailerSize);
}

void t_renewableMemory::Adopt(t_block& block)
{
    m_mapping.Swap(block);
    block.Close();
}

DWORD t_renewableMemory::FollowingVersion(DWORD generationVersion) const
{
    // Callers skip their merge while their remembered version equals the block's; a new
    // generation numbered below the old block's version would make a stale copy look
    // current, so the version word only ever goes up from one generation to the next.
    DWORD old = m_mapping.Version();
    return m_mapping.IsOpen() && old >= generationVersion ? old + 1 : generationVersion;
}

DWORD t_renewableMemory::DataSize() const { return UsableSize(m_mapping); }

bool t_renewableMemory::IsValid() const { return m_source != nullptr && m_mapping.IsOpen(); }

void t_renewableMemory::Close() { m_mapping.Close(); }

bool t_renewableMemory::TrailerInUse(t_lockerMemSharable&) const
{
    DWORD size = m_mapping.DataSize();
    if (size < c_trailerSize)
        return false;
    const BYTE* trailer = m_mapping.Data() + size - c_trailerSize;
    for (DWORD i = 0; i < c_trailerSize; i += 4) {
        DWORD word;
        memcpy(&word, trailer + i, 4);
        if (word != 0)
            return true;
    }
    return false;
}

BYTE* t_renewableMemory::GetData(t_lockerMemSharable&) const
{
    return IsValid() && m_mapping.IsValid() ? m_mapping.Data() : nullptr;
}

bool t_renewableMemory::GrownSize(DWORD current, DWORD needed, DWORD& size)
{
    // Doubling cannot start from nothing: an empty block grows straight to the request
    // (or to one trailer's worth when the source asked for room without a size).
    unsigned long long grown = current ? 2ull * current : needed;
    if (grown == 0)
        grown = c_trailerSize;
    while (grown < needed)
        grown += current;
    if (grown > c_maxUsable)
        return false;
    size = (DWORD)grown;
    return true;
}

bool t_renewableMemory::Acquire(t_errorChain& errors, t_lockerMemSharable& locker, BYTE*& data, DWORD needed)
{
    data = nullptr;
    if (!IsCurrent() || !m_mapping.IsOpen()) {
        // Renewal takes the source's mutex before the mapping lock: let go of ours meanwhile.
        locker.Unlock();
        // A closed block of the current generation is opened again without a check.
        bool renewed = IsCurrent() && SeenVersion() != 0 ? Renew(errors, SeenVersion()) : CheckVersion(errors, nullptr);
        if (!locker.Lock(errors)) {
            errors.AddText(L"加内存锁失败");
            return false;
        }
        if (!renewed)
            return false;
    }
    if (!IsValid())
        return errors.Fail(L"共享内存不合法！");
    DWORD size = DataSize();
    if ((needed == 0 || needed <= size) && !m_source->IsFull(m_mapping.Data(), size)) {
        m_renewed = true;
        data = m_mapping.Data();
        return true;
    }
    DWORD grown = 0;
    if (!GrownSize(size, needed, grown) || !Grow(errors, locker, grown, &data)) {
        errors.AddText(L"扩容失败");
        return false;
    }
    m_renewed = true;
    return true;
}

bool t_renewableMemory::Grow(t_errorChain& errors, t_lockerMemSharable&, DWORD size, BYTE** data)
{
    if (!m_source || !m_mapping.IsOpen())
        return errors.Fail(L"共享内存不合法！");
    if (size > c_maxUsable)
        return errors.Fail(L"创建内存失败");
    if (!t_versionReg::IsOpen()) {
        errors.AddText(L"versionReg未初始化");
        return false;
    }
    // Holders of the old block see its version move; the counter names the new generation.
    m_mapping.BumpVersion();
    DWORD generation = t_versionReg::Increment(m_counterIndex);
    wchar_t name[c_nameCapacity];
    GenerationName(generation, name);

    t_block grown;
    t_errorChain openErrors;
    if (grown.Open(openErrors, name, m_perUser)) {
        grown.Close();
        return errors.Fail(L"Resize失败，创建临时内存失败");
    }
    if (!grown.Create(errors, name, size + c_trailerSize, m_perUser)) {
        errors.AddText(L"创建内存失败");
        return false;
    }
    // Made by another process between our open and create: not ours to fill.
    if (grown.State() != t_memSharableBase::c_stateCreated) {
        grown.Close();
        return errors.Fail(L"Resize失败，创建临时内存失败");
    }
    if (!m_source->CopyGrown(errors, m_mapping.Data(), DataSize(), grown.Data(), UsableSize(grown))) {
        errors.AddText(L"为用户数据扩展空间时重整内存失败");
        return false;
    }
    ZeroTrailer(grown);
    grown.StoreVersion(FollowingVersion(generation));
    Adopt(grown);
    // This process made the generation: it is current here without a renewal.
    InterlockedExchange(&m_seenVersion, (LONG)generation);
    if (data)
        *data = m_mapping.Data();
    return true;
}

bool t_renewableMemory::Renew(t_errorChain& errors, DWORD generation)
{
    if (!m_source)
        return errors.Fail(L"共享内存不合法！");
    if (!m_source->Prepare(errors)) {
        errors.AddText(L"加载用户数据失败");
        return false;
    }
    t_mutex::t_locker sourceLock;
    if (!sourceLock.Lock(errors, m_source->GetLock()))
        return false;
    t_lockerMemSharable mappingLock;
    if (!mappingLock.Lock(errors)) {
        errors.AddText(L"加内存锁失败");
        return false;
    }

    wchar_t name[c_nameCapacity];
    GenerationName(generation, name);
    t_block block;
    t_errorChain openErrors;
    if (block.Open(openErrors, name, m_perUser)) {
        // Another process built this generation.
        Adopt(block);
        return true;
    }

    mappingLock.Unlock();
    BYTE* bytes = nullptr;
    DWORD size = 0;
    if (!m_source->Load(errors, bytes, size)) {
        free(bytes);
        errors.AddText(L"加载文件失败");
        return false;
    }
    if (!mappingLock.Lock(errors)) {
        free(bytes);
        errors.AddText(L"加对象锁失败");
        return false;
    }
    if (size > c_maxUsable || !block.Create(errors, name, size + c_trailerSize, m_perUser)) {
        free(bytes);
        errors.AddText(L"新建共享内存失败");
        return false;
    }
    if (block.State() == t_memSharableBase::c_stateCreated) {
        ZeroTrailer(block);
        if (size)
            memcpy(block.Data(), bytes, size);
        block.StoreVersion(FollowingVersion(generation + 1));
    }
    // else another process created and filled it while we loaded: use theirs as it is.
    free(bytes);
    Adopt(block);
    return true;
}
