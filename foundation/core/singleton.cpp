#include "foundation/core/singleton.h"

#include <windows.h>

#include <cstring>

#include "foundation/core/heap.h"

// Start-up order. Getters may run from any static initialiser, before or after
// this file's own. So the arena and the registry are built on first use inside
// never-destroyed static storage (a function-local static pointer: no destructor
// is registered, so no getter can ever reach a destroyed object), while the lock
// and the exit actions belong to t_singletonStartup below, an ordinary static of
// this file. Until its constructor has run, getters work without locking; its
// destructor (run at exit in reverse order of construction) forgets the
// registry, frees the arena's blocks and deletes the lock.

namespace {

const unsigned c_arenaBlockSize = 0x7800;
// Spin 1024; the top bit makes the critical section allocate its event at once.
const DWORD c_lockSpin = 0x80000400;

CRITICAL_SECTION g_lock;
std::atomic<bool> g_lockReady{false};
// Chain of every getter slot that ever held a holder; changed under the lock.
t_singletonSlot* g_slots = nullptr;

// Clears every getter that holds `holder`, or every getter when it is null.
void ClearSlots(ImmCleanup* holder)
{
    for (t_singletonSlot* s = g_slots; s; s = s->next) {
        ImmCleanup* h = s->holder.load(std::memory_order_relaxed);
        if (h && (!holder || h == holder))
            s->holder.store(nullptr, std::memory_order_release);
    }
}

struct t_singletonStartup {
    t_singletonStartup()
    {
        if (InitializeCriticalSectionAndSpinCount(&g_lock, c_lockSpin))
            g_lockReady.store(true);
        SingletonArena();
        ImmSingletonRegistry::Global();
    }

    ~t_singletonStartup()
    {
        ImmSingletonRegistry& registry = ImmSingletonRegistry::Global();
        LockSingletons();
        // Every managed holder lives in the arena that goes now: no getter may
        // keep pointing into it.
        ClearSlots(nullptr);
        registry.Forget();
        SingletonArena().FreeAll();
        UnlockSingletons();
        if (g_lockReady.exchange(false))
            DeleteCriticalSection(&g_lock);
    }
};

t_singletonStartup g_singletonStartup;

}  // namespace

void LockSingletons()
{
    if (g_lockReady.load(std::memory_order_acquire))
        EnterCriticalSection(&g_lock);
}

void UnlockSingletons()
{
    if (g_lockReady.load(std::memory_order_acquire))
        LeaveCriticalSection(&g_lock);
}

bool SingletonLockReady() { return g_lockReady.load(std::memory_order_acquire); }

t_heap& SingletonArena()
{
    alignas(t_heap) static unsigned char store[sizeof(t_heap)];
    static t_heap* arena = new (store) t_heap(c_arenaBlockSize);
    return *arena;
}

void SingletonPublish(t_singletonSlot& slot, ImmCleanup* holder)
{
    if (!slot.linked) {
        slot.next = g_slots;
        g_slots = &slot;
        slot.linked = true;
    }
    slot.holder.store(holder, std::memory_order_release);
}

void* n_singletonDetail::ArenaAllocate(unsigned n, unsigned align)
{
    // The arena applies no alignment of its own.
    if (align == 0 || n > 0xffffffffu - align)
        return nullptr;
    void* p = SingletonArena().Allocate(n + align - 1);
    if (!p)
        return nullptr;
    uintptr_t a = reinterpret_cast<uintptr_t>(p);
    return reinterpret_cast<void*>((a + align - 1) / align * align);
}

ImmCleanup::ImmCleanup(const char* name)
{
    if (!name)
        return;
    LockSingletons();
    ImmSingletonRegistry::Global().Add(this, name);
    UnlockSingletons();
}

ImmCleanup::~ImmCleanup() = default;

ImmSingletonRegistry::ImmSingletonRegistry(t_heap& arena, unsigned initialCapacity)
    : m_entries(nullptr), m_count(0), m_capacity(0), m_initialCapacity(initialCapacity), m_arena(&arena)
{
    if (initialCapacity)
        Reserve(initialCapacity);
}

ImmSingletonRegistry& ImmSingletonRegistry::Global()
{
    alignas(ImmSingletonRegistry) static unsigned char store[sizeof(ImmSingletonRegistry)];
    static ImmSingletonRegistry* registry = new (store) ImmSingletonRegistry(SingletonArena());
    return *registry;
}

ImmCleanup* ImmSingletonRegistry::Find(const char* name) const
{
    if (!name)
        return nullptr;
    for (unsigned i = 0; i < m_count; ++i)
        if (std::strcmp(m_entries[i].name, name) == 0)
            return m_entries[i].holder;
    return nullptr;
}

bool ImmSingletonRegistry::Reserve(unsigned n)
{
    if (n <= m_capacity)
        return true;
    if (n > 0x0fffffffu)
        return false;
    // The array is preceded by its byte count, as every arena array is.
    uint32_t bytes = n * sizeof(t_entry);
    void* block = m_arena->Allocate(bytes + 4);
    if (!block)
        return false;
    std::memcpy(block, &bytes, 4);
    t_entry* entries = reinterpret_cast<t_entry*>(static_cast<unsigned char*>(block) + 4);
    if (m_count)
        std::memcpy(entries, m_entries, m_count * sizeof(t_entry));
    // The old array stays in the arena.
    m_entries = entries;
    m_capacity = n;
    return true;
}

bool ImmSingletonRegistry::Add(ImmCleanup* holder, const char* name)
{
    if (!holder || !name)
        return false;
    if (m_count == m_capacity) {
        unsigned grown;
        if (m_capacity == 0) {
            grown = m_initialCapacity ? m_initialCapacity : 1;
        } else {
            if ((m_count & 0x40000000u) || m_capacity > 0x0fffffffu / 2)
                return false;
            grown = m_capacity * 2;
        }
        if (!Reserve(grown))
            return false;
    }
    m_entries[m_count].holder = holder;
    m_entries[m_count].name = name;
    ++m_count;
    return true;
}

void ImmSingletonRegistry::DestroyAll()
{
    LockSingletons();
    // Taken off first: a destructor that registers anew must not extend the
    // list being walked.
    t_entry* entries = m_entries;
    unsigned count = m_count;
    Forget();
    for (unsigned i = count; i-- > 0;) {
        // Its getter must not hand it out again; the getters of holders not yet
        // destroyed keep working for the destructors that still use them.
        ClearSlots(entries[i].holder);
        entries[i].holder->~ImmCleanup();
    }
    UnlockSingletons();
}

void ImmSingletonRegistry::Forget()
{
    m_entries = nullptr;
    m_count = 0;
    m_capacity = 0;
}
