// Process-wide objects created on first use.
//
// Managed singletons (ImmSingleton<T>) live in one process-wide arena, are
// registered by class name and are destroyed together, newest first, by
// ImmSingletonRegistry::DestroyAll. Unmanaged ones (ImmSingleton_unmanaged<T>)
// live on the heap and are deleted by their owner. One critical section guards
// every creation; reading an existing singleton takes no lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>

class t_heap;
class ImmCleanup;

// Enter/leave the singleton lock. Both do nothing before the lock has been
// initialised at start-up and after it was deleted at exit.
void LockSingletons();
void UnlockSingletons();
bool SingletonLockReady();

// The arena that holds managed holders and the registry's array.
t_heap& SingletonArena();

// Where a getter keeps its holder. Every slot that ever held a holder is
// chained, so that destroying or releasing holders can clear the getters that
// point at them: a later use then creates a fresh object instead of touching
// destroyed or freed memory.
struct t_singletonSlot {
    std::atomic<ImmCleanup*> holder;
    t_singletonSlot* next;
    bool linked;
};

// Publishes a holder in a slot (links the slot on first use). Call under the lock.
void SingletonPublish(t_singletonSlot& slot, ImmCleanup* holder);

// Base of every singleton holder.
class ImmCleanup {
public:
    // Registers (this, name) in the process registry when name is not null.
    explicit ImmCleanup(const char* name);
    virtual ~ImmCleanup();

    ImmCleanup(const ImmCleanup&) = delete;
    ImmCleanup& operator=(const ImmCleanup&) = delete;
};

class ImmSingletonRegistry {
public:
    struct t_entry {
        ImmCleanup* holder;
        const char* name;
    };

    static const unsigned c_initialCapacity = 30;

    // The registry takes its arrays from arena; they are never freed singly.
    explicit ImmSingletonRegistry(t_heap& arena, unsigned initialCapacity = c_initialCapacity);

    // The process-wide registry (over SingletonArena), usable at any point of
    // static start-up.
    static ImmSingletonRegistry& Global();

    // Linear search, exact case-sensitive comparison.
    ImmCleanup* Find(const char* name) const;
    // Appends (holder, name); false when the array cannot grow (nothing is
    // registered then). The name is kept by pointer.
    bool Add(ImmCleanup* holder, const char* name);
    // Makes room for n entries; false when the arena cannot supply them.
    bool Reserve(unsigned n);
    // Runs every holder's destructor, last registered first, without freeing
    // memory; clears the getters of the destroyed holders; empties the registry.
    void DestroyAll();
    // Forgets the array without destroying anything (the arena is about to go).
    void Forget();

    unsigned Count() const { return m_count; }
    unsigned Capacity() const { return m_capacity; }
    const t_entry& Entry(unsigned i) const { return m_entries[i]; }

private:
    t_entry* m_entries;
    unsigned m_count;
    unsigned m_capacity;
    unsigned m_initialCapacity;
    t_heap* m_arena;
};

namespace n_singletonDetail {
// Takes n bytes aligned for align from the singleton arena; null on failure.
void* ArenaAllocate(unsigned n, unsigned align);
}  // namespace n_singletonDetail

// Holder of a managed singleton: ImmCleanup followed by the object.
template <class T>
class ImmSingleton : public ImmCleanup {
public:
    // The object, created on first use and registered under className (which
    // must outlive the registry: a literal). Null only when the arena cannot
    // supply the holder.
    static T* Instance(const char* className)
    {
        ImmCleanup* h = s_slot.holder.load(std::memory_order_acquire);
        if (h)
            return &static_cast<ImmSingleton*>(h)->m_object;
        return Create(className);
    }

private:
    ImmSingleton() : ImmCleanup(nullptr) {}

    static T* Create(const char* className)
    {
        LockSingletons();
        // Another thread may have finished the creation while we waited.
        ImmCleanup* h = s_slot.holder.load(std::memory_order_acquire);
        if (!h) {
            ImmSingletonRegistry& registry = ImmSingletonRegistry::Global();
            h = registry.Find(className);
            if (!h) {
                void* mem = n_singletonDetail::ArenaAllocate(sizeof(ImmSingleton), alignof(ImmSingleton));
                if (mem) {
                    ImmSingleton* created = new (mem) ImmSingleton();
                    // Registered after T's constructor, so that singletons
                    // which T created while constructing come earlier in the
                    // registry and are destroyed after T.
                    registry.Add(created, className);
                    h = created;
                }
            }
            if (h)
                SingletonPublish(s_slot, h);
        }
        UnlockSingletons();
        return h ? &static_cast<ImmSingleton*>(h)->m_object : nullptr;
    }

    T m_object;
    static t_singletonSlot s_slot;
};

template <class T>
t_singletonSlot ImmSingleton<T>::s_slot{};

// Holder of an unmanaged singleton: same shape, on the heap, never registered.
template <class T>
class ImmSingleton_unmanaged : public ImmCleanup {
public:
    static T* Instance()
    {
        ImmSingleton_unmanaged* h = s_holder.load(std::memory_order_acquire);
        if (h)
            return &h->m_object;
        LockSingletons();
        h = s_holder.load(std::memory_order_acquire);
        if (!h) {
            h = new (std::nothrow) ImmSingleton_unmanaged();
            s_holder.store(h, std::memory_order_release);
        }
        UnlockSingletons();
        return h ? &h->m_object : nullptr;
    }

    // For the owner: deletes the object; a later Instance creates a new one.
    static void Delete()
    {
        LockSingletons();
        ImmSingleton_unmanaged* h = s_holder.exchange(nullptr, std::memory_order_acq_rel);
        UnlockSingletons();
        delete h;
    }

private:
    ImmSingleton_unmanaged() : ImmCleanup(nullptr) {}

    T m_object;
    static std::atomic<ImmSingleton_unmanaged*> s_holder;
};

template <class T>
std::atomic<ImmSingleton_unmanaged<T>*> ImmSingleton_unmanaged<T>::s_holder{nullptr};
