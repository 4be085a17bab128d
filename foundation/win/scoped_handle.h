// The owner of a kernel handle: closes it in one place, with the function that ends that
// kind of handle. Empty is INVALID_HANDLE_VALUE, as CreateFileW and FindFirstFileW fail.
#pragma once

#include <windows.h>

template <BOOL(WINAPI* Close)(HANDLE)>
class t_scopedHandle {
public:
    explicit t_scopedHandle(HANDLE handle) : m_handle(handle) {}
    ~t_scopedHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            Close(m_handle);
    }
    t_scopedHandle(const t_scopedHandle&) = delete;
    t_scopedHandle& operator=(const t_scopedHandle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// An open file.
using t_fileHandle = t_scopedHandle<CloseHandle>;
// A FindFirstFileW search.
using t_findHandle = t_scopedHandle<FindClose>;
