#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"

// Suffixes that make the names of shared mappings differ between Windows profiles. The
// runtime sets the folder hash (the hash of the user data folder) at start-up; until then
// it is empty and names carry no per-profile part.
namespace n_shareName {
// The fixed text appended to per-user mapping names.
const wchar_t* PerUserText();
const wchar_t* FolderHash();
// Keeps at most 16 characters; null clears it.
void SetFolderHash(const wchar_t* hash);
}  // namespace n_shareName

// A mapping handle with its view. The destructor unmaps and closes.
class t_memSharableBase {
public:
    enum {
        c_stateNone = 0,
        c_stateCreated = 1,
        c_stateOpened = 2
    };

    t_memSharableBase() : m_mapping(nullptr), m_view(nullptr), m_state(c_stateNone), m_viewSize(0) {}
    virtual ~t_memSharableBase() { Close(); }

    void Close();
    bool IsOpen() const { return m_mapping != nullptr; }
    int State() const { return m_state; }
    void* View() const { return m_view; }
    // Bytes of the view that can be touched (whole pages), 0 when not mapped.
    SIZE_T ViewSize() const { return m_viewSize; }
    // The full name the mapping was opened or created with (empty when unnamed).
    const wchar_t* Name() const { return m_name; }

    t_memSharableBase(const t_memSharableBase&) = delete;
    t_memSharableBase& operator=(const t_memSharableBase&) = delete;

protected:
    void SwapBase(t_memSharableBase& other);

private:
    friend class t_shareMem;
    HANDLE m_mapping;
    void* m_view;
    int m_state;
    SIZE_T m_viewSize;
    wchar_t m_name[226] = {};
};

class t_shareMem {
public:
    // Opens the named mapping, or, with create, makes it on the paging file with the
    // shared security attributes; then maps a view. A null name makes an unnamed
    // mapping. "Local\" is put in front of names that lack it; per-user names get the
    // per-user text, every name the folder hash. An existing mapping is viewed whole,
    // whatever size was asked.
    static bool CreateShareble(t_errorChain& errors, t_memSharableBase& object, const wchar_t* name, bool create,
                               bool perUser, DWORD size);
    // The full kernel object name CreateShareble uses for a base name.
    static void BuildName(const wchar_t* name, bool perUser, wchar_t (&out)[226]);
};

// Guard of a block's data: the locker type L names the mutex that serialises access.
template <class L>
class t_memSharable_t {
public:
    typedef L t_blockLocker;
    virtual ~t_memSharable_t() {}
};

// Interlocked operations on the version word of a block, shared by every t_shareMem_t.
namespace n_blockVersion {
LONG Read(volatile LONG* word);
void Bump(volatile LONG* word);
void Store(volatile LONG* word, LONG value);
}  // namespace n_blockVersion

// A block made of a header {u32 data size, u32 version word (0 = not yet valid)} and the
// data after it.
template <class L>
class t_shareMem_t : public t_memSharable_t<L>, public t_memSharableBase {
public:
    static const DWORD c_headerSize = 8;

    // Opens or creates a block with room for dataSize bytes of data. Only the process that
    // created the mapping writes the data size; one that found it existing keeps what the
    // creator stored.
    bool Create(t_errorChain& errors, const wchar_t* name, DWORD dataSize, bool perUser)
    {
        if (dataSize > MAXDWORD - c_headerSize)
            return errors.Fail(L"创建Filemap失败: 数据大小过大 (%u)", (unsigned)dataSize);
        if (!t_shareMem::CreateShareble(errors, *this, name, true, perUser, dataSize + c_headerSize))
            return false;
        if (State() == c_stateCreated)
            Header()[0] = dataSize;
        return true;
    }
    // Opens an existing block, viewed whole.
    bool Open(t_errorChain& errors, const wchar_t* name, bool perUser)
    {
        return t_shareMem::CreateShareble(errors, *this, name, false, perUser, 0);
    }

    // Data area, null when not mapped.
    BYTE* Data() const { return View() ? static_cast<BYTE*>(View()) + c_headerSize : nullptr; }
    // The stored data size, never more than the view holds: the header may have been
    // written by another program.
    DWORD DataSize() const
    {
        if (!View())
            return 0;
        if (ViewSize() < c_headerSize)
            return 0;
        DWORD stored = Header()[0];
        SIZE_T room = ViewSize() - c_headerSize;
        return stored > room ? static_cast<DWORD>(room) : stored;
    }
    DWORD Version() const { return View() ? Header()[1] : 0; }
    void SetVersion(DWORD v)
    {
        if (View())
            Header()[1] = v;
    }
    bool IsVersion(DWORD v) const { return View() && (DWORD)n_blockVersion::Read(VersionWord()) == v; }
    void BumpVersion()
    {
        if (View())
            n_blockVersion::Bump(VersionWord());
    }
    void StoreVersion(DWORD v)
    {
        if (View())
            n_blockVersion::Store(VersionWord(), (LONG)v);
    }
    bool IsValid() const { return View() && n_blockVersion::Read(VersionWord()) != 0; }
    void Swap(t_shareMem_t& other) { SwapBase(other); }

private:
    volatile DWORD* Header() const { return static_cast<volatile DWORD*>(View()); }
    volatile LONG* VersionWord() const { return reinterpret_cast<volatile LONG*>(Header() + 1); }
};

// The process-wide mutex "Local\filemap_mutex" that guards shared blocks.
class t_filemap {
public:
    // Opens or creates the mutex once per process.
    static bool Init(t_errorChain& errors);
    static t_mutex& Mutex();
};

// Holds "Local\filemap_mutex" (t_filemap::Init must have run).
class t_lockerMemSharable : public t_mutex::t_locker {
public:
    bool Lock(t_errorChain& errors);
};
