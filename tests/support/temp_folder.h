#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Test helpers: a fresh folder under the temporary directory, removed at the end, and raw
// Win32 file access that does not go through the code under test. The benchmarks use them
// too, without GoogleTest: what needs it is left out there.

// Calls visit(name, isFolder) for each entry directly inside folder, "." and ".." left out.
template <class F>
void ForEachEntry(const std::wstring& folder, F visit)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// Calls visit(relative path, isFolder) for everything below root, each folder before what
// it holds.
template <class F>
void ForEachBelow(const std::wstring& root, F visit, const std::wstring& relative = std::wstring())
{
    ForEachEntry(relative.empty() ? root : root + L"\\" + relative, [&](const std::wstring& name, bool isFolder) {
        const std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
        visit(rel, isFolder);
        if (isFolder)
            ForEachBelow(root, visit, rel);
    });
}

// The names directly inside a folder, sorted; with filesOnly, the files alone.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder, bool filesOnly = false)
{
    std::vector<std::wstring> names;
    ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
        if (!filesOnly || !isFolder)
            names.push_back(name);
    });
    std::sort(names.begin(), names.end());
    return names;
}

class t_tempFolder {
public:
    explicit t_tempFolder(const wchar_t* tag)
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"kavrel_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                 std::to_wstring(GetTickCount());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~t_tempFolder() { RemoveTree(m_path); }
    t_tempFolder(const t_tempFolder&) = delete;
    t_tempFolder& operator=(const t_tempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

    static void RemoveTree(const std::wstring& path)
    {
        DWORD attrs = GetFileAttributesW(path.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES)
            return;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileW(path.c_str());
            return;
        }
        ForEachEntry(path, [&](const std::wstring& name, bool) { RemoveTree(path + L"\\" + name); });
        RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring m_path;
};

inline bool WriteRaw(const std::wstring& path, const void* bytes, size_t size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = size == 0 || WriteFile(h, bytes, static_cast<DWORD>(size), &put, nullptr);
    CloseHandle(h);
    return ok && put == size;
}
inline bool WriteRaw(const std::wstring& path, const std::string& bytes)
{
    return WriteRaw(path, bytes.data(), bytes.size());
}

// Reads the whole file into out; false when it cannot be opened.
inline bool ReadRaw(const std::wstring& path, std::string& out)
{
    out.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        out.append(buf, got);
    CloseHandle(h);
    return true;
}

// The file's bytes, or "<missing>" when it cannot be opened.
inline std::string ReadRaw(const std::wstring& path)
{
    std::string out;
    return ReadRaw(path, out) ? out : "<missing>";
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Everything below a folder by relative path: a file's bytes, "<dir>" for a folder.
using t_fileTree = std::map<std::wstring, std::string>;

inline t_fileTree ReadTree(const std::wstring& root)
{
    t_fileTree tree;
    ForEachBelow(root, [&](const std::wstring& rel, bool isFolder) {
        tree[rel] = isFolder ? "<dir>" : ReadRaw(root + L"\\" + rel);
    });
    return tree;
}

// The error chain's lines, first to last.
#include "foundation/core/error_chain.h"
inline std::vector<std::wstring> ErrorLines(const t_errorChain& errors)
{
    std::vector<std::wstring> lines;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        lines.push_back(line->text.c_str());
    return lines;
}

// The same joined by '|', for matching messages in tests. A template, so that a test's own
// non-template Lines wins overload resolution instead of clashing.
template <class T = void>
std::wstring Lines(const t_errorChain& errors)
{
    std::wstring out;
    for (const std::wstring& line : ErrorLines(errors)) {
        if (!out.empty())
            out += L"|";
        out += line;
    }
    return out;
}

#if __has_include(<gtest/gtest.h>)
#include <gtest/gtest.h>

// A test fixture that works in a fresh temporary folder of its own.
class t_tempFolderTest : public ::testing::Test {
protected:
    explicit t_tempFolderTest(const wchar_t* tag) : dir(tag) {}
    std::wstring At(const wchar_t* name) const { return dir / name; }

    t_tempFolder dir;
};

// A temporary folder for the whole test program, made before its first test and removed
// after its last; folder points at it meanwhile. With asTemp, TMP and TEMP name it too, so
// that whatever the code under test keeps in the temporary directory is this program's own
// and never meets a test program running beside it.
class t_programTempFolder : public ::testing::Environment {
public:
    t_programTempFolder(t_tempFolder*& folder, const wchar_t* tag, bool asTemp)
        : m_folder(folder), m_tag(tag), m_asTemp(asTemp)
    {}
    void SetUp() override
    {
        m_folder = new t_tempFolder(m_tag);
        if (m_asTemp) {
            SetEnvironmentVariableW(L"TMP", m_folder->Path().c_str());
            SetEnvironmentVariableW(L"TEMP", m_folder->Path().c_str());
        }
    }
    void TearDown() override
    {
        delete m_folder;
        m_folder = nullptr;
    }

private:
    t_tempFolder*& m_folder;
    const wchar_t* m_tag;
    bool m_asTemp;
};
#endif
