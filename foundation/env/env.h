// A set of environment values: loaded from the environment file "env.ini", merged with
// other sets, flattened into a block that processes share, and read through typed getters
// that fall back to each entry's default.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/core/hash_map.h"
#include "foundation/core/heap.h"
#include "foundation/env/env_entries.h"

// One stored value. Data of text and string values is a terminated UTF-16 string.
struct t_envValue {
    t_envType type;
    t_syncMode mode;
    int group;
    BYTE* data;         // in the set's arena
    uint32_t size;      // 1 for bool, 4 for int and unsigned long, bytes with terminator for text
    uint32_t capacity;  // bytes of the data area
    bool changed;
};

// Flat block, little-endian: u32 total size; per value the name in UTF-16 with its
// terminator, u32 id (0 for keys no entry knows), u8 type, u8 mode, u32 data size, the
// data; a 16-bit zero where the next name would begin. The group is not carried.
class t_env {
public:
    static const unsigned c_heapBlockSize = 0x4000;
    // A block of only the size word and the end mark.
    static const uint32_t c_emptyBlockSize = 6;
    // Bytes of a record besides its name characters and data.
    static const uint32_t c_recordOverhead = 12;
    // Larger data ends a block: no value is that large.
    static const uint32_t c_maxDataSize = 0x10000;
    // Texts longer than this cannot be stored: their data would end a block.
    static const uint32_t c_maxTextChars = c_maxDataSize / sizeof(wchar_t) - 1;
    // What the migration writes as the version of the file's settings.
    static constexpr const wchar_t* c_currentVersion = L"6.8.0.0000";

    t_env();
    virtual ~t_env();
    t_env(const t_env&) = delete;
    t_env& operator=(const t_env&) = delete;

    // A stored value converted by its type, else the entry's default. "HanziSet" always
    // reads 5 and "ArtWordMode" 1.
    int GetInt(const t_envEntry<int>& entry) const;
    unsigned long GetULong(const t_envEntry<unsigned long>& entry) const;
    // "InputStatistics", "IntelligentDeleteWord" and "AllowArt" always read true;
    // "SelectStyle" reads false while "ConvertStyle" does.
    bool GetBool(const t_envEntry<bool>& entry) const;
    // Only text and string values give their text; values of other types give null.
    const wchar_t* GetString(const t_envEntry<const wchar_t*>& entry) const;

    // Store the value with the entry's type, mode and group, marked changed; the set
    // becomes modified. False when the arena refuses (nothing is stored).
    bool SetInt(const t_envEntry<int>& entry, int value);
    bool SetBool(const t_envEntry<bool>& entry, bool value);
    bool SetString(const t_envEntry<const wchar_t*>& entry, const wchar_t* text);

    // Reads "env.ini" (code page 936 without a byte-order mark): the keys of [Setting]
    // with the modes of [SyncMode], after the legacy keys are derived; then the version
    // migration. Mode 1 first discards every value.
    bool LoadFromIni(t_errorChain& errors, const wchar_t* path, int mode);

    // Takes every changed value of source (whose changed flags and modified flag are then
    // cleared); with countGroups, bumps each touched group's shared counter once.
    bool Merge(t_errorChain& errors, t_env& source, bool countGroups);

    // Discards every value and copies all of other's, each marked changed.
    bool CopyFrom(const t_env& other);

    // The flat block: its size, and writing it into out when size holds it (the size word
    // written is size). False, with out untouched, when it does not fit.
    uint32_t GetBlockSize() const;
    bool WriteBlock(BYTE* out, uint32_t size) const;
    // Discards every value and stores the block's, each marked changed and in no group.
    // Every read stays within available bytes and within the block's own size word; a
    // malformed block keeps the values before the fault and fails.
    bool ReadBlock(t_errorChain& errors, const BYTE* block, uint32_t available);

    // Copies a block into a larger buffer and zeroes the rest; false (buffer untouched)
    // when the data does not fit.
    static bool CopyBlock(t_errorChain& errors, const BYTE* from, uint32_t fromSize, BYTE* to, uint32_t toSize);

    void ClearModified();
    bool IsModified() const { return m_modified; }

    // The version of the shared snapshot that this set last matched.
    DWORD Version() const { return m_version; }
    void SetVersion(DWORD version) { m_version = version; }

    // The stored value of a key (id 0 for keys no entry knows), else null.
    const t_envValue* FindValue(const t_envKey& key) const;
    unsigned ValueCount() const;

private:
    // The record of the key, created (type text, no data) when missing; null when the
    // arena refuses.
    t_envValue* Record(const t_envKey& key);
    // Replaces the record's data; false when the arena refuses.
    bool StoreData(t_envValue& value, const void* data, uint32_t size);
    bool Store(const t_envKey& key, t_envType type, t_syncMode mode, int group, const void* data, uint32_t size);
    bool StoreEntry(const t_envEntryBase& entry, const void* data, uint32_t size);
    void Discard();
    // Older settings files: records the current version and moves the ';' shortcut.
    void MigrateVersion();

    t_heap m_heap;
    DWORD m_version;
    t_envKeyMap* m_values;
    bool m_modified;
};
