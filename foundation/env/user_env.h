// Each user's environment shared between the desktop's processes: one snapshot per user in
// renewable shared memory, filled from the user's "env.ini" by the first process that needs
// it; afterwards every caller merges its own changed values into the snapshot and takes
// the merged state back.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/core/hash_map.h"
#include "foundation/core/str.h"
#include "foundation/env/env.h"
#include "foundation/env/renewable_memory.h"
#include "foundation/win/mutex.h"

// Merges env's changed values into the user's shared environment and takes the merged
// state back into env; changed groups bump their counters of the version registry.
bool GetUserEnvironment(t_errorChain& errors, t_env& env, int userId);

class UserEnv {
public:
    // The version registry counter that the snapshots follow; moving it makes every process
    // rebuild its snapshot from "env.ini".
    static const unsigned c_snapshotCounter = 2;
    // Base name of the snapshots' mappings; the user id follows in hexadecimal.
    static constexpr const wchar_t* c_baseName = L"Local\\roroz_ida_vu";

    class t_envContainer;

    UserEnv();
    ~UserEnv();
    UserEnv(const UserEnv&) = delete;
    UserEnv& operator=(const UserEnv&) = delete;

    // The singleton "UserEnv"; null only when memory runs out.
    static UserEnv* Instance();

    // Finds or makes the user's container and merges env with its snapshot.
    bool MergeGet(t_errorChain& errors, int userId, t_env& env, bool countGroups);
    // The user's container; null when none was made yet.
    t_envContainer* Find(int userId) const;

    // The in-process lock, held across the container lookup and the merge.
    class t_locker : public t_mutex::t_locker {
    public:
        bool Lock(t_errorChain& errors, UserEnv& owner) { return t_mutex::t_locker::Lock(errors, owner.m_section); }
    };

private:
    typedef t_hashMapT<t_uintKeyRules, t_hashMemTriple> t_map;

    t_map m_containers;
    t_criticalSection m_section;
};

class UserEnv::t_envContainer : public i_renewableSource {
public:
    explicit t_envContainer(int userId);
    ~t_envContainer() override;

    // Merges env's changed values into the snapshot (rebuilt from "env.ini" first when the
    // snapshot counter moved) and replaces env's content by the merged snapshot.
    bool MergeFrom(t_errorChain& errors, t_env& env, bool countGroups);

    // Data source of the snapshot's memory.
    bool Load(t_errorChain& errors, BYTE*& bytes, DWORD& size) override;
    // Resolves the user's "env.ini": the user's folder, whether the file exists or not.
    bool Prepare(t_errorChain& errors) override;
    bool IsFull(const BYTE*, DWORD) override { return false; }
    // Copies the block when it fits in the new one, zeroing the rest; fails when it does not.
    bool CopyGrown(t_errorChain& errors, const BYTE* oldData, DWORD oldSize, BYTE* newData, DWORD newSize) override;
    // The one mutex that serialises rebuilding every user's snapshot between processes.
    t_mutex& GetLock() override;

    int UserId() const { return m_userId; }
    const t_str& Path() const { return m_path; }
    t_renewableMemory& Memory() { return m_memory; }

    // Opens or creates the rebuild mutex; its full kernel name.
    static bool CreateLock(t_errorChain& errors);
    static const wchar_t* LockName();

private:
    int m_userId;
    t_str m_path;
    t_renewableMemory m_memory;
};
