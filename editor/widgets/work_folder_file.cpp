#include "editor/widgets/work_folder_file.h"

#include <windows.h>

#include <cwchar>

#include "skin_model/base_info.h"

namespace n_workFolderFile {
const wchar_t* ExtensionOf(const wchar_t* name)
{
    const wchar_t* dot = nullptr;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c == L'.')
            dot = c;
        else if (*c == L'\\' || *c == L'/')
            dot = nullptr;
    }
    return dot;
}

const wchar_t* NameOf(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c; ++c) {
        if (*c == L'\\' || *c == L'/')
            name = c + 1;
    }
    return name;
}

t_str InWorkFolder(const wchar_t* name)
{
    const wchar_t* work = BaseInfo::WorkFolder();
    t_str path(work ? work : L"");
    path.Append(L"\\");
    path.Append(name);
    return path;
}

bool SameFile(const wchar_t* a, const wchar_t* b)
{
    wchar_t fullA[MAX_PATH] = {}, fullB[MAX_PATH] = {};
    const DWORD lengthA = GetFullPathNameW(a, MAX_PATH, fullA, nullptr);
    const DWORD lengthB = GetFullPathNameW(b, MAX_PATH, fullB, nullptr);
    return lengthA && lengthA < MAX_PATH && lengthB && lengthB < MAX_PATH && _wcsicmp(fullA, fullB) == 0;
}
}  // namespace n_workFolderFile
