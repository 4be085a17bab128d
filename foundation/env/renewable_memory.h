// One block of data in named shared memory that every process of the input method sees,
// rebuilt or enlarged while other processes still hold the old copy. Each generation of the
// block is its own file mapping, named "<base>.v<generation>.filemap.vurodura"; the
// generation is announced through a counter of the shared version registry. What the data
// is, how it is loaded and how it moves into a larger block is up to a data source.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"
#include "foundation/win/share_mem.h"
#include "foundation/win/shared_versions.h"

// Gives the mutex that serialises rebuilding a block between processes.
class i_lockable {
public:
    virtual t_mutex& GetLock() = 0;
    virtual ~i_lockable() {}
};

// Produces the data of a block.
class i_loadable {
public:
    // The data in a block from malloc; the caller frees it with free.
    virtual bool Load(t_errorChain& errors, BYTE*& bytes, DWORD& size) = 0;
    // Readies the source before a load.
    virtual bool Prepare(t_errorChain& errors) = 0;
    virtual ~i_loadable() {}
};

class i_renewable : public i_loadable {
public:
    // Whether the block must grow even though a request fits.
    virtual bool IsFull(const BYTE* data, DWORD size) = 0;
    // Fills a larger block from the old one.
    virtual bool CopyGrown(t_errorChain& errors, const BYTE* oldData, DWORD oldSize, BYTE* newData, DWORD newSize) = 0;
};

// What a renewable memory needs of its data source.
class i_renewableSource : public i_renewable, public i_lockable {};

// A block of shared data; the caller holds the mapping locker while it touches the data.
class i_memory {
public:
    // The data with room for at least needed bytes (0: whatever is there), renewing or
    // growing the block first when that is due.
    virtual bool Acquire(t_errorChain& errors, t_lockerMemSharable& locker, BYTE*& data, DWORD needed) = 0;
    // Usable bytes of the current block.
    virtual DWORD DataSize() const = 0;
    virtual bool IsValid() const = 0;
    virtual void Close() = 0;
    virtual ~i_memory() {}
};

class t_renewableMemory : public i_memory, public t_versionedData {
public:
    // Bytes after the data of every generation, zeroed when the mapping is made.
    static constexpr DWORD c_trailerSize = 64;
    static constexpr int c_nameCapacity = 260;

    // A null base name gives "???"; a suffix other than null or -1 is appended to the base
    // name in lower-case hexadecimal. perUser is handed to every mapping creation.
    t_renewableMemory(i_renewableSource* source, const wchar_t* baseName, unsigned counterIndex, const int* suffix,
                      bool perUser);
    ~t_renewableMemory() override;

    bool Acquire(t_errorChain& errors, t_lockerMemSharable& locker, BYTE*& data, DWORD needed) override;
    DWORD DataSize() const override;
    bool IsValid() const override;
    void Close() override;

    // Brings the block to generation g: opens it when another process built it, else loads
    // the data and builds it.
    bool Renew(t_errorChain& errors, DWORD generation);
    bool Reload(t_errorChain& errors, DWORD newVersion, void* argument) override { return Renew(errors, newVersion); }

    // Moves the data into a new generation with room for size bytes; data (when given)
    // receives the new block. The caller holds the mapping locker.
    bool Grow(t_errorChain& errors, t_lockerMemSharable& locker, DWORD size, BYTE** data);

    // The current block's version word, which changes whenever its data does.
    DWORD Version() const { return m_mapping.Version(); }
    bool IsVersion(DWORD v) const { return m_mapping.IsVersion(v); }
    void BumpVersion() { m_mapping.BumpVersion(); }

    bool TrailerInUse(t_lockerMemSharable& locker) const;
    // The current data when the block is valid and its version word is set, else null.
    BYTE* GetData(t_lockerMemSharable& locker) const;

    bool IsRenewed() const { return m_renewed; }
    const wchar_t* BaseName() const { return m_baseName; }
    // The mapping name of a generation.
    void GenerationName(DWORD generation, wchar_t (&out)[c_nameCapacity]) const;
    // The full kernel name of the current mapping (empty when none is open).
    const wchar_t* MappingName() const { return m_mapping.Name(); }

    t_renewableMemory(const t_renewableMemory&) = delete;
    t_renewableMemory& operator=(const t_renewableMemory&) = delete;

private:
    typedef t_shareMem_t<t_lockerMemSharable> t_block;

    // Usable bytes of a block: its data size less the trailer.
    static DWORD UsableSize(const t_block& block);
    static void ZeroTrailer(t_block& block);
    // Makes block the current mapping and closes the old one.
    void Adopt(t_block& block);
    // The size a block of usable size current grows to so that needed bytes fit; false
    // when that does not fit in a mapping.
    // The version word of a new generation: the generation's own value, or one above the
    // current block's version when that is not below it.
    DWORD FollowingVersion(DWORD generationVersion) const;
    static bool GrownSize(DWORD current, DWORD needed, DWORD& size);

    t_block m_mapping;
    wchar_t m_baseName[c_nameCapacity];
    bool m_renewed;
    i_renewableSource* m_source;
    bool m_perUser;
};
