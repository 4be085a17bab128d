// Scoped owners of Win32 and GDI handles: each frees or restores what it holds when its
// scope ends, so a function with several exits needs no clean-up code of its own.
#pragma once

#include <windows.h>

// Owns a handle whose kind is described by t_traits: its type, the value that means "none"
// and how it is freed.
template <typename t_traits>
class t_scopedHandle {
public:
    using t_handle = typename t_traits::t_handle;

    t_scopedHandle() : m_handle(t_traits::None()) {}
    explicit t_scopedHandle(t_handle handle) : m_handle(handle) {}
    ~t_scopedHandle() { Reset(); }
    t_scopedHandle(const t_scopedHandle&) = delete;
    t_scopedHandle& operator=(const t_scopedHandle&) = delete;

    bool IsValid() const { return m_handle != t_traits::None(); }
    t_handle Get() const { return m_handle; }
    // Frees the handle held and takes the one given.
    void Reset(t_handle handle = t_traits::None())
    {
        if (IsValid())
            t_traits::Free(m_handle);
        m_handle = handle;
    }
    // For functions that return a handle through a pointer; frees the one held first.
    t_handle* Out()
    {
        Reset();
        return &m_handle;
    }
    // Hands the handle on without freeing it.
    t_handle Detach()
    {
        const t_handle handle = m_handle;
        m_handle = t_traits::None();
        return handle;
    }

private:
    t_handle m_handle;
};

// A kernel object handle (event, token, mapping), null when there is none.
struct t_kernelHandleTraits {
    using t_handle = HANDLE;
    static HANDLE None() { return nullptr; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
// A file handle from CreateFileW, INVALID_HANDLE_VALUE when there is none.
struct t_fileHandleTraits {
    using t_handle = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
// A FindFirstFileW search.
struct t_findHandleTraits {
    using t_handle = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { FindClose(handle); }
};
// A memory DC from CreateCompatibleDC.
struct t_memoryDcTraits {
    using t_handle = HDC;
    static HDC None() { return nullptr; }
    static void Free(HDC dc) { DeleteDC(dc); }
};
// A GDI object of type T (HBITMAP, HFONT, HRGN, ...).
template <typename T>
struct t_gdiObjectTraits {
    using t_handle = T;
    static T None() { return nullptr; }
    static void Free(T object) { DeleteObject(object); }
};

using t_autoCloseHandle = t_scopedHandle<t_kernelHandleTraits>;
using t_autoCloseFile = t_scopedHandle<t_fileHandleTraits>;
using t_autoFindClose = t_scopedHandle<t_findHandleTraits>;
using t_autoDeleteDC = t_scopedHandle<t_memoryDcTraits>;
template <typename T>
using t_scopedGdiObj = t_scopedHandle<t_gdiObjectTraits<T>>;

// A window's device context (the screen's for no window) from GetDC, released at the end.
class t_scopedGetDC {
public:
    explicit t_scopedGetDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~t_scopedGetDC()
    {
        if (m_dc)
            ReleaseDC(m_window, m_dc);
    }
    t_scopedGetDC(const t_scopedGetDC&) = delete;
    t_scopedGetDC& operator=(const t_scopedGetDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects a GDI object into a DC for one scope and puts the previous one back; a null
// object selects nothing.
class t_scopedSelectObject {
public:
    t_scopedSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
    ~t_scopedSelectObject()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    t_scopedSelectObject(const t_scopedSelectObject&) = delete;
    t_scopedSelectObject& operator=(const t_scopedSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The memory of a global block locked for one scope (null when the lock failed).
class t_scopedGlobalLock {
public:
    explicit t_scopedGlobalLock(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~t_scopedGlobalLock()
    {
        if (m_data)
            GlobalUnlock(m_block);
    }
    t_scopedGlobalLock(const t_scopedGlobalLock&) = delete;
    t_scopedGlobalLock& operator=(const t_scopedGlobalLock&) = delete;
    void* Get() const { return m_data; }

private:
    HGLOBAL m_block;
    void* m_data;
};
