#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// Test helpers: a fresh folder under the temporary directory, removed at the end, and raw
// Win32 file access that does not go through the code under test.

class t_tempFolder {
public:
    explicit t_tempFolder(const wchar_t* tag) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"kavrel_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) +
                 L"_" + std::to_wstring(GetTickCount());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~t_tempFolder() { RemoveTree(m_path); }

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

    static void RemoveTree(const std::wstring& path) {
        DWORD attrs = GetFileAttributesW(path.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES) return;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileW(path.c_str());
            return;
        }
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring m_path;
};

// A test fixture that works in a fresh temporary folder of its own.
class t_tempFolderTest : public ::testing::Test {
protected:
    explicit t_tempFolderTest(const wchar_t* tag) : dir(tag) {}
    std::wstring At(const wchar_t* name) const { return dir / name; }

    t_tempFolder dir;
};

inline bool WriteRaw(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
    return ok && put == bytes.size();
}

// The file's bytes, or "<missing>" when it cannot be opened.
inline std::string ReadRaw(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(h);
    return out;
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The error chain's lines joined by '|', for matching messages in tests. A template, so
// that a test's own non-template Lines wins overload resolution instead of clashing.
#include "foundation/error_chain.h"
template <class T = void>
std::wstring Lines(const t_errorChain& errors) {
    std::wstring out;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        if (!out.empty()) out += L"|";
        out += line->text.c_str();
    }
    return out;
}
