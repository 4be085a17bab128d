#include "foundation/files/file.h"

#include <cwchar>

#include "foundation/win/security.h"

namespace {

struct t_modeRow {
    DWORD disposition;
    DWORD share;
    DWORD access;
};

// WRITE_DAC and WRITE_OWNER let Close set the DACL and the label on the handle.
const t_modeRow c_modes[] = {
    {OPEN_EXISTING, FILE_SHARE_READ, FILE_READ_DATA},
    {CREATE_ALWAYS, 0, FILE_WRITE_DATA | READ_CONTROL | WRITE_DAC | WRITE_OWNER},
    {OPEN_ALWAYS, 0, FILE_READ_DATA | FILE_WRITE_DATA | READ_CONTROL | WRITE_DAC | WRITE_OWNER},
    {OPEN_ALWAYS, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_APPEND_DATA | READ_CONTROL | WRITE_DAC | WRITE_OWNER},
};

const int c_openAttempts = 3;
const DWORD c_sharingWaitMs = 100;

// Bytes that writes may still put (the tests' full drive); negative: no limit.
volatile LONG64 g_writeLimit = -1;

// How many of count bytes the limit lets through, taken from it.
DWORD TakeFromWriteLimit(DWORD count)
{
    for (;;) {
        const LONG64 room = g_writeLimit;
        if (room < 0)
            return count;
        const DWORD allowed = room < LONG64(count) ? DWORD(room) : count;
        if (InterlockedCompareExchange64(&g_writeLimit, room - allowed, room) == room)
            return allowed;
    }
}

bool ContainsExe(const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) {
        if (_wcsnicmp(p, L".exe", 4) == 0)
            return true;
    }
    return false;
}

}  // namespace

void SetWriteLimitForTests(int64_t bytes) { InterlockedExchange64(&g_writeLimit, bytes < 0 ? -1 : bytes); }

uint32_t FileSizeOf(HANDLE handle)
{
    DWORD high = 0;
    DWORD low = ::GetFileSize(handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return 0;
    // Larger than a 32-bit count: saturate, so that callers' size checks refuse it.
    return high ? UINT32_MAX : low;
}

t_file::~t_file()
{
    Close();
    m_mutex.Close();
}

bool t_file::Open(t_errorChain& errors, const wchar_t* path, int mode)
{
    Close();
    // The mutex object may still hold the handle of an earlier path.
    m_mutex.Close();
    if (!m_mutex.CreateForPath(errors, path) || !m_locker.Lock(errors, m_mutex)) {
        errors.AddText(L"打开文件失败");
        return false;
    }
    m_mode = mode;
    if (mode < 0 || mode >= static_cast<int>(sizeof(c_modes) / sizeof(c_modes[0]))) {
        errors.NewLine().AppendText(L"文件模式不识别：").AppendInt(mode);
        errors.NewLine().AppendText(L"打开文件失败：").AppendText(path);
        Close();
        return false;
    }
    const t_modeRow& row = c_modes[mode];
    DWORD code = 0;
    for (int attempt = 0; attempt < c_openAttempts; ++attempt) {
        HANDLE h = CreateFileW(path, row.access, row.share, nullptr, row.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_handle = h;
            m_path.Assign(path);
            return true;
        }
        code = GetLastError();
        if (code == ERROR_SHARING_VIOLATION) {
            if (attempt + 1 < c_openAttempts)
                Sleep(c_sharingWaitMs);
        } else if (code == ERROR_ACCESS_DENIED) {
            SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        } else {
            break;
        }
    }
    SetLastError(code);
    errors.AddLastError().AppendText(L"打开文件失败：").AppendText(path);
    // Nothing is open, so the path is not kept locked.
    Close();
    return false;
}

void t_file::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE) {
        if (m_mode != e_read) {
            // Best effort: the file stays usable when the security cannot be set.
            SetHandleAccessDacl(m_handle, SE_FILE_OBJECT);
            if (!ContainsExe(t_path(m_path).FileName()))
                SetHandleLowIntegrity(m_handle, SE_FILE_OBJECT);
        }
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    m_path.Clear();
    m_locker.Unlock();
}

bool t_file::Read(t_errorChain& errors, void* buffer, uint32_t count, uint32_t& read)
{
    read = 0;
    if (count == 0)
        return true;
    DWORD got = 0;
    if (!ReadFile(m_handle, buffer, count, &got, nullptr)) {
        errors.AddLastError().AppendText(L"读文件错误：").AppendText(m_path.c_str());
        return false;
    }
    if (got == 0) {
        errors.NewLine().AppendText(L"读文件错误[文件已经结束]：").AppendText(m_path.c_str());
        return false;
    }
    read = got;
    return true;
}

bool t_file::Write(t_errorChain& errors, const void* data, uint32_t count, uint32_t& written)
{
    written = 0;
    DWORD put = 0;
    const DWORD allowed = TakeFromWriteLimit(count);
    if (allowed < count) {
        // The tests' full drive: what fits goes in, then the write fails as on a full disk.
        if (allowed > 0)
            WriteFile(m_handle, data, allowed, &put, nullptr);
        SetLastError(ERROR_DISK_FULL);
        errors.AddLastError().AppendText(L"写文件错误：").AppendText(m_path.c_str());
        return false;
    }
    if (!WriteFile(m_handle, data, count, &put, nullptr)) {
        errors.AddLastError().AppendText(L"写文件错误：").AppendText(m_path.c_str());
        return false;
    }
    written = put;
    return true;
}

bool t_fileRead::Open(t_errorChain& errors, const wchar_t* path)
{
    m_length = 0;
    m_position = 0;
    if (!t_file::Open(errors, path, e_read))
        return false;
    m_length = FileSizeOf(m_handle);
    return true;
}

bool t_fileRead::Read(t_errorChain& errors, void* buffer, uint32_t count)
{
    uint32_t got = 0;
    if (!t_file::Read(errors, buffer, count, got))
        return false;
    if (got != count) {
        return errors.Fail(L"数据不足[预期读取%u字节，实际读取%u字节]：%s", count, got, m_path.c_str());
    }
    m_position += got;
    return true;
}

bool t_fileWrite::Write(t_errorChain& errors, const void* data, uint32_t count)
{
    uint32_t put = 0;
    if (!t_file::Write(errors, data, count, put))
        return false;
    if (put != count) {
        errors.NewLine().AppendFormat(L"写数据不充分[预期写%u字节，实际写%u字节]：%s", count, put, m_path.c_str());
        return false;
    }
    return true;
}
