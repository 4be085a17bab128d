#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/files/byte_stream.h"
#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"
#include "foundation/files/path.h"
#include "foundation/core/str.h"

// A Win32 file handle guarded by the per-path named mutex: the mutex is held from a
// successful open to the close, so opens of one path by this program's threads and
// processes follow one another. Files opened for writing get the shared DACL and the
// low integrity label when they are closed.
class t_file {
public:
    enum t_mode {
        e_read = 0,       // existing file, others may read
        e_writeNew = 1,   // created or truncated, not shared
        e_readWrite = 2,  // opened or created, not shared
        e_append = 3,     // opened or created, shared for reading and writing
    };

    t_file() = default;
    virtual ~t_file();

    // Sharing violations are retried (three attempts, 100 ms apart); an access denial
    // clears the file's read-only, hidden and system attributes before the next attempt.
    bool Open(t_errorChain& errors, const wchar_t* path, int mode);
    void Close();
    // A short read succeeds; a read at the end of the file fails.
    bool Read(t_errorChain& errors, void* buffer, uint32_t count, uint32_t& read);
    bool Write(t_errorChain& errors, const void* data, uint32_t count, uint32_t& written);

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return m_handle; }
    const t_str& Path() const { return m_path; }
    int Mode() const { return m_mode; }

    t_file(const t_file&) = delete;
    t_file& operator=(const t_file&) = delete;

protected:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    int m_mode = -1;
    t_str m_path;
    t_path::t_mutex m_mutex;
    t_mutex::t_locker m_locker;
};

// A file opened for reading, read in exact counts.
class t_fileRead : public t_file, public t_byteStreamRead {
public:
    bool Open(t_errorChain& errors, const wchar_t* path);
    bool Read(t_errorChain& errors, void* buffer, uint32_t count) override;
    uint32_t Length() const { return m_length; }
    uint32_t Position() const { return m_position; }

private:
    uint32_t m_length = 0;
    uint32_t m_position = 0;
};

// A file opened for writing (modes 1 to 3 through t_file::Open); every byte must be written.
class t_fileWrite : public t_file, public t_byteStreamWrite {
public:
    bool Write(t_errorChain& errors, const void* data, uint32_t count) override;
};

// The file's size, 0 when it cannot be taken.
uint32_t FileSizeOf(HANDLE handle);

// Tests stand in for a full drive: writes through t_file take at most bytes more bytes in
// all, then come up short and fail with ERROR_DISK_FULL, as WriteFile does on a drive that
// fills. A negative count lifts the limit.
void SetWriteLimitForTests(int64_t bytes);
