// Packing a list of files and in-memory entries into a new zip archive: entries are read
// whole and deflated on worker threads (one reused deflate stream each) and written in
// list order through one buffered output, so the same list always gives the same archive.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct t_packItem {
    std::wstring path;  // the file to read (unless inMemory or folder)
    std::string name;   // UTF-8 entry name, '/' separated, "/" at the end of folders
    bool folder = false;
    bool inMemory = false;  // data and size instead of the file at path
    const uint8_t* data = nullptr;
    FILETIME written = {};
    uint32_t attributes = 0;
    uint64_t size = 0;  // as listed; a file is read as it is when packed
};

// The first failure's system reason, kept across the clean-up calls that follow it.
class t_packFailure {
public:
    int Fail(int code) { return FailWith(code, GetLastError()); }
    int FailWith(int code, DWORD reason)
    {
        if (m_code == 0) {
            m_code = code;
            m_reason = reason;
        }
        return code;
    }
    DWORD Reason() const { return m_code == 0 ? 0 : m_reason; }

private:
    int m_code = 0;
    DWORD m_reason = 0;
};

// Writes items into target (replacing any file there) at level (0 stores). A ZIPLIB_
// result; on failure the archive is deleted and failure holds the reason.
int PackItems(const std::vector<t_packItem>& items, const std::wstring& target, int level, t_packFailure& failure);

// Tests stand in for a full drive; see SetArchiveWriteLimitForTests in zip_writer.h.
void SetPackWriteLimit(int64_t bytes);
