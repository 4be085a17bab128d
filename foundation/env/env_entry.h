// Environment entries: the input method's fixed vocabulary of typed settings keys, each a
// static object with an id, a name, a type, a synchronisation mode, a change group and a
// default, registered by name and by id when it is constructed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/core/hash_map.h"

// The type of an entry or of a stored value; stored values read from "env.ini" under keys
// that no entry knows are plain text.
enum class t_envType : uint8_t {
    text = 0,
    boolean = 1,
    integer = 2,
    ulong = 3,
    string = 4,
};

// How a value is synchronised; carried with every stored value and in the flat block.
enum class t_syncMode : uint8_t {
    plain = 1,
    local = 2,
    remote = 3,
    max = 4,
    min = 5,
};

// No change group: the entry's changes bump no counter of the shared version registry.
const int c_envNoGroup = -1;

class t_envEntryBase {
public:
    virtual ~t_envEntryBase() {}

    int Id() const { return m_id; }
    const wchar_t* Name() const { return m_name; }
    t_envType Type() const { return m_type; }
    t_syncMode Mode() const { return m_mode; }
    int Group() const { return m_group; }
    t_envKey Key() const { return t_envKey{m_id, m_name}; }

    // With a non-zero id the id map first; else, or when the id is unknown, the name map
    // (ASCII case ignored). Null when no entry has that key.
    static const t_envEntryBase* Find(const t_envKey& key);
    static const t_envEntryBase* FindById(int id) { return Find(t_envKey{id, nullptr}); }
    static const t_envEntryBase* FindByName(const wchar_t* name) { return Find(t_envKey{0, name}); }

    t_envEntryBase(const t_envEntryBase&) = delete;
    t_envEntryBase& operator=(const t_envEntryBase&) = delete;

protected:
    // Fills the entry and registers it by name and by id; a later registration with the
    // same key replaces the earlier one.
    t_envEntryBase(const wchar_t* name, int group, int id, t_envType type, t_syncMode mode);

private:
    int m_id;
    const wchar_t* m_name;
    t_envType m_type;
    t_syncMode m_mode;
    int m_group;
};

// An entry with its default, for T = bool, int, unsigned long and const wchar_t*.
template <class T>
class t_envEntry : public t_envEntryBase {
public:
    t_envEntry(const wchar_t* name, int group, int id, T defaultValue, t_envType type, t_syncMode mode)
        : t_envEntryBase(name, group, id, type, mode), m_default(defaultValue)
    {}
    T Default() const { return m_default; }

private:
    T m_default;
};

// Unsigned-long entries carry no change group.
template <>
class t_envEntry<unsigned long> : public t_envEntryBase {
public:
    t_envEntry(const wchar_t* name, int id, unsigned long defaultValue, t_envType type, t_syncMode mode)
        : t_envEntryBase(name, c_envNoGroup, id, type, mode), m_default(defaultValue)
    {}
    unsigned long Default() const { return m_default; }

private:
    unsigned long m_default;
};
