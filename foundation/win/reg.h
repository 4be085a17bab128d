// A registry key below one of the predefined roots, with typed value access. Failures are
// reported with the key's path ("MACHINE\Software\...") in words.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

class t_reg {
public:
    // Only HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and
    // HKEY_DYN_DATA are accepted; with any other root every Open fails. Keys below
    // HKEY_LOCAL_MACHINE are opened in the 32-bit registry view, where the input
    // method's 32-bit programs keep theirs.
    explicit t_reg(HKEY root);
    virtual ~t_reg();

    t_reg(const t_reg&) = delete;
    t_reg& operator=(const t_reg&) = delete;

    // Opens (or with create, creates) the sub-key below the root, closing any key opened
    // before; a null or empty sub-key opens the root itself. Each non-empty sub-key is
    // appended to the path text.
    bool Open(t_errorChain& errors, const wchar_t* subKey, bool write, bool create);
    void Close();

    // Reads a value (null name: the default value) of the expected type into buffer;
    // size is the buffer's size in bytes on entry and the value's size on success.
    bool Query(t_errorChain& errors, const wchar_t* valueName, void* buffer, DWORD& size, DWORD expectedType);
    // Reads a REG_SZ value into a buffer of `chars` characters, always terminated: a
    // value stored without its terminator is terminated after its last character, and
    // one that leaves no room for the terminator fails.
    bool QueryString(t_errorChain& errors, const wchar_t* valueName, wchar_t* buffer, DWORD chars);
    // Writes byteCount bytes of data as a REG_SZ value.
    bool Set(t_errorChain& errors, const wchar_t* valueName, const void* data, DWORD byteCount);
    // Writes text as REG_SZ without its terminator (an empty text stores 0 bytes).
    bool SetString(t_errorChain& errors, const wchar_t* text, const wchar_t* valueName);

    HKEY Key() const { return m_key; }
    const t_str& PathText() const { return m_path; }

private:
    // path text, then "\" + the value name when there is one.
    void AppendValuePath(t_str& line, const wchar_t* valueName) const;

    HKEY m_key = nullptr;
    HKEY m_root = nullptr;
    t_str m_path;
};
