#include "foundation/win/share_mem.h"

#include <wchar.h>

#include <utility>

#include "foundation/core/perf.h"
#include "foundation/win/security.h"

namespace {

wchar_t g_folderHash[17] = {};

// Copies at most count characters of text to the end of out (capacity characters in all).
void AppendCut(wchar_t* out, size_t capacity, const wchar_t* text, size_t count)
{
    size_t used = wcslen(out);
    size_t n = wcslen(text);
    if (n > count)
        n = count;
    if (n > capacity - 1 - used)
        n = capacity - 1 - used;
    wmemcpy(out + used, text, n);
    out[used + n] = 0;
}

}  // namespace

const wchar_t* n_shareName::PerUserText() { return L"0000"; }

const wchar_t* n_shareName::FolderHash() { return g_folderHash; }

void n_shareName::SetFolderHash(const wchar_t* hash)
{
    g_folderHash[0] = 0;
    if (hash)
        AppendCut(g_folderHash, 17, hash, 16);
}

void t_memSharableBase::Close()
{
    if (m_view) {
        UnmapViewOfFile(m_view);
        m_view = nullptr;
    }
    if (m_mapping) {
        CloseHandle(m_mapping);
        m_mapping = nullptr;
    }
    m_state = c_stateNone;
    m_viewSize = 0;
    m_name[0] = 0;
}

void t_memSharableBase::SwapBase(t_memSharableBase& other)
{
    std::swap(m_mapping, other.m_mapping);
    std::swap(m_view, other.m_view);
    std::swap(m_state, other.m_state);
    std::swap(m_viewSize, other.m_viewSize);
    std::swap(m_name, other.m_name);
}

void t_shareMem::BuildName(const wchar_t* name, bool perUser, wchar_t (&out)[226])
{
    out[0] = 0;
    if (wcsncmp(name, L"Local\\", 6) == 0) {
        AppendCut(out, 226, name, 200);
    } else {
        AppendCut(out, 226, L"Local\\", 6);
        AppendCut(out, 226, name, 194);
    }
    if (perUser)
        AppendCut(out, 226, n_shareName::PerUserText(), 16);
    AppendCut(out, 226, n_shareName::FolderHash(), 16);
}

bool t_shareMem::CreateShareble(t_errorChain& errors, t_memSharableBase& object, const wchar_t* name, bool create,
                                bool perUser, DWORD size)
{
    PerfScope scope("CreateShareble");
    if (object.m_mapping)
        return errors.Fail(L"重复创建Filemap");
    wchar_t fullName[226] = {};
    if (name)
        BuildName(name, perUser, fullName);

    HANDLE mapping = nullptr;
    int state = t_memSharableBase::c_stateNone;
    if (name) {
        mapping = OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, TRUE, fullName);
        if (mapping)
            state = t_memSharableBase::c_stateOpened;
    }
    if (!mapping && create) {
        mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, GetLowIntegritySecurityAttributes(),
                                     PAGE_READWRITE | SEC_COMMIT, 0, size, name ? fullName : nullptr);
        if (!mapping) {
            t_str& line = errors.AddLastError();
            if (name)
                line.AppendText(L"创建Filemap失败: ").AppendText(fullName);
            else
                line.AppendText(L"创建无名Filemap失败");
            return false;
        }
        // Another process can create the name between our open and create; then the
        // mapping is theirs and keeps its own size and header.
        state = GetLastError() == ERROR_ALREADY_EXISTS ? t_memSharableBase::c_stateOpened
                                                       : t_memSharableBase::c_stateCreated;
    }
    if (!mapping) {
        if (name)
            errors.AddLastError().AppendText(L"打开Filemap失败: ").AppendText(fullName);
        else
            errors.Fail(L"打开无名Filemap失败");
        return false;
    }

    // An existing mapping may be larger or smaller than asked: view all of it.
    SIZE_T viewBytes = state == t_memSharableBase::c_stateOpened ? 0 : size;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, viewBytes);
    MEMORY_BASIC_INFORMATION info = {};
    if (!view || VirtualQuery(view, &info, sizeof(info)) != sizeof(info)) {
        t_str& line = errors.AddLastError();
        if (view)
            UnmapViewOfFile(view);
        CloseHandle(mapping);
        if (name)
            line.AppendText(L"Filemap基地址映射失败: ").AppendText(fullName).AppendText(L"大小: ").AppendUInt(size);
        else
            line.AppendText(L"无名Filemapy基地址映射失败");
        return false;
    }
    object.m_mapping = mapping;
    object.m_view = view;
    object.m_state = state;
    object.m_viewSize = info.RegionSize;
    wcscpy(object.m_name, fullName);
    return true;
}

LONG n_blockVersion::Read(volatile LONG* word) { return InterlockedCompareExchange(word, 0, 0); }

void n_blockVersion::Bump(volatile LONG* word)
{
    InterlockedCompareExchange(word, 1, 0);
    InterlockedIncrement(word);
}

void n_blockVersion::Store(volatile LONG* word, LONG value)
{
    LONG current = Read(word);
    InterlockedCompareExchange(word, value ? value : 1, current);
}

namespace {

struct t_filemapState {
    t_mutex mutex{5};
    bool created = false;
};

t_filemapState& FilemapState()
{
    static t_filemapState state;
    return state;
}

}  // namespace

bool t_filemap::Init(t_errorChain& errors)
{
    t_filemapState& state = FilemapState();
    if (state.created)
        return true;
    if (!state.mutex.Create(errors, L"Local\\filemap_mutex"))
        return errors.Fail(L"t_filemap::Init失败");
    state.created = true;
    return true;
}

t_mutex& t_filemap::Mutex() { return FilemapState().mutex; }

bool t_lockerMemSharable::Lock(t_errorChain& errors) { return t_mutex::t_locker::Lock(errors, t_filemap::Mutex()); }
