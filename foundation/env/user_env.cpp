#include "foundation/env/user_env.h"

#include <stdlib.h>
#include <string.h>

#include <new>

#include "foundation/core/singleton.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/share_mem.h"
#include "foundation/win/shared_versions.h"

namespace {

// The rebuild lock is named like the snapshots' mappings ("Local\", the base name, the
// "vurodura" family, the per-profile suffix), so that it pairs with exactly the mappings
// it guards and two Windows profiles never share it.
const wchar_t* const c_lockBaseName = L"Local\\roroz_ida_vu.mutex.vurodura";

struct t_lockState {
    t_mutex mutex{6};
    wchar_t name[226] = {};
};

t_lockState& LockState()
{
    static t_lockState state;
    return state;
}

}  // namespace

bool GetUserEnvironment(t_errorChain& errors, t_env& env, int userId)
{
    UserEnv* userEnv = UserEnv::Instance();
    if (!userEnv)
        return errors.Fail(L"UserEnv::MergeGet 失败: uid = %d", userId);
    return userEnv->MergeGet(errors, userId, env, true);
}

UserEnv::UserEnv() : m_containers(t_hashMemTriple())
{
    t_errorChain ignored;
    m_section.Create(ignored, nullptr);
}

UserEnv::~UserEnv()
{
    for (t_map::t_iterator it = m_containers.Begin(); it.NotEquals(m_containers.End()); it.Next())
        delete static_cast<t_envContainer*>(it.Node()->value);
    m_containers.Clear();
}

UserEnv* UserEnv::Instance() { return ImmSingleton<UserEnv>::Instance("UserEnv"); }

UserEnv::t_envContainer* UserEnv::Find(int userId) const
{
    const t_uintKeyNode* node = m_containers.Find(static_cast<unsigned>(userId));
    return node ? static_cast<t_envContainer*>(node->value) : nullptr;
}

bool UserEnv::MergeGet(t_errorChain& errors, int userId, t_env& env, bool countGroups)
{
    t_locker locker;
    bool merged = locker.Lock(errors, *this) && t_filemap::Init(errors) && t_envContainer::CreateLock(errors);
    if (merged) {
        t_envContainer* container = Find(userId);
        if (!container) {
            bool inserted = false;
            t_uintKeyNode* node = m_containers.FindOrInsert(static_cast<unsigned>(userId), &inserted);
            container = node ? new (std::nothrow) t_envContainer(userId) : nullptr;
            if (node && container)
                node->value = container;
            else if (node)
                m_containers.Remove(node);
        }
        merged = container && container->MergeFrom(errors, env, countGroups);
    }
    if (!merged)
        return errors.Fail(L"UserEnv::MergeGet 失败: uid = %d", userId);
    return true;
}

UserEnv::t_envContainer::t_envContainer(int userId)
    : m_userId(userId), m_memory(this, c_baseName, c_snapshotCounter, &userId, true)
{}

UserEnv::t_envContainer::~t_envContainer() {}

bool UserEnv::t_envContainer::CreateLock(t_errorChain& errors)
{
    t_lockState& state = LockState();
    if (state.mutex.IsCreated())
        return true;
    t_shareMem::BuildName(c_lockBaseName, true, state.name);
    return state.mutex.Create(errors, state.name);
}

const wchar_t* UserEnv::t_envContainer::LockName() { return LockState().mutex.Name(); }

t_mutex& UserEnv::t_envContainer::GetLock() { return LockState().mutex; }

bool UserEnv::t_envContainer::Prepare(t_errorChain& errors)
{
    // A failure is only noted: the snapshot is then built from an empty environment.
    UserManager* manager = UserManager::Instance();
    if (!manager || !manager->IsInitialised()) {
        errors.AddText(L"用户管理未初始化，找不到env.ini");
        return true;
    }
    t_str path(L"env.ini");
    if (manager->FindFile(errors, UserManager::e_userThenInstall, path, m_userId, false, nullptr))
        m_path = path;
    return true;
}

bool UserEnv::t_envContainer::Load(t_errorChain& errors, BYTE*& bytes, DWORD& size)
{
    bytes = nullptr;
    size = 0;
    // A missing or unreadable file gives an empty environment; the reason stays in the chain.
    t_env loaded;
    t_env empty;
    const bool fromFile = !m_path.IsEmpty() && loaded.LoadFromIni(errors, m_path.c_str(), 1);
    const t_env& env = fromFile ? loaded : empty;
    const uint32_t blockSize = env.GetBlockSize();
    if (blockSize != UINT32_MAX)
        bytes = static_cast<BYTE*>(malloc(blockSize));
    if (!bytes || !env.WriteBlock(bytes, blockSize)) {
        free(bytes);
        bytes = nullptr;
        return errors.Fail(L"%s", L"环境信息写入内存失败");
    }
    size = blockSize;
    return true;
}

bool UserEnv::t_envContainer::CopyGrown(t_errorChain& errors, const BYTE* oldData, DWORD oldSize, BYTE* newData,
                                        DWORD newSize)
{
    return t_env::CopyBlock(errors, oldData, oldSize, newData, newSize);
}

bool UserEnv::t_envContainer::MergeFrom(t_errorChain& errors, t_env& env, bool countGroups)
{
    const bool modified = env.IsModified();
    if (m_memory.IsCurrent() && m_memory.IsValid()) {
        // Nothing to give and nothing new to take.
        if (m_memory.IsVersion(env.Version()) && !modified)
            return true;
    } else if (!m_memory.CheckVersion(errors, nullptr)) {
        errors.AddText(L"UserEnv::t_envContainer::MergeFrom 失败");
        return false;
    }

    t_env merged;
    t_lockerMemSharable locker;
    bool done = locker.Lock(errors);
    BYTE* data = nullptr;
    if (done) {
        // The block lives in memory every process can write: read no further than the block.
        done = m_memory.Acquire(errors, locker, data, 0) && merged.ReadBlock(errors, data, m_memory.DataSize());
        if (!done)
            errors.AddText(L"读取环境信息失败");
    }
    if (done) {
        merged.SetVersion(m_memory.Version());
        merged.ClearModified();
        done = merged.Merge(errors, env, countGroups);
    }
    if (done) {
        const uint32_t size = merged.GetBlockSize();
        done = size != UINT32_MAX && m_memory.Acquire(errors, locker, data, size) && merged.WriteBlock(data, size);
        if (!done)
            errors.AddText(L"拷贝环境信息失败");
    }
    if (!done) {
        errors.AddText(L"UserEnv::t_envContainer::MergeFrom 失败");
        return false;
    }
    if (modified)
        m_memory.BumpVersion();
    env.SetVersion(m_memory.Version());
    env.CopyFrom(merged);
    merged.ClearModified();
    env.ClearModified();
    return true;
}
