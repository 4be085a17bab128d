#include "foundation/env/env_entry.h"

#include "foundation/core/heap.h"

namespace {

const unsigned c_registryBlockSize = 0x4000;

typedef t_hashMapT<t_uintKeyRules, t_hashMemHeap> t_idMap;

// The two lookup maps, each in its own arena. Created by the first registration (a static
// initialiser) and never freed: entries of other static objects may register or look up
// in any order, up to the end of the process.
struct t_registry {
    t_heap nameHeap{c_registryBlockSize};
    t_heap idHeap{c_registryBlockSize};
    t_heapHashMap byName{&nameHeap};
    t_idMap byId{t_hashMemHeap(&idHeap)};
};

t_registry& Registry()
{
    static t_registry* registry = new t_registry;
    return *registry;
}

}  // namespace

t_envEntryBase::t_envEntryBase(const wchar_t* name, int group, int id, t_envType type, t_syncMode mode)
    : m_id(id), m_name(name), m_type(type), m_mode(mode), m_group(group)
{
    t_registry& registry = Registry();
    if (t_wideKeyNode* node = registry.byName.FindOrInsert(name))
        node->value = this;
    if (id != 0)
        if (t_uintKeyNode* node = registry.byId.FindOrInsert(static_cast<unsigned>(id)))
            node->value = this;
}

const t_envEntryBase* t_envEntryBase::Find(const t_envKey& key)
{
    t_registry& registry = Registry();
    if (key.id != 0)
        if (const t_uintKeyNode* node = registry.byId.Find(static_cast<unsigned>(key.id)))
            return static_cast<const t_envEntryBase*>(node->value);
    if (!key.name)
        return nullptr;
    const t_wideKeyNode* node = registry.byName.Find(key.name);
    return node ? static_cast<const t_envEntryBase*>(node->value) : nullptr;
}
