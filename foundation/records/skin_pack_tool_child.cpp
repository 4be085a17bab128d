// Packs a folder into a container or extracts one, for checks by independent readers.
//   skin_pack_tool_child pack <folder> <container> <1|3>
//   skin_pack_tool_child extract <container> <folder>
// Exit code 0 on success, 1 on failure (the error chain on stderr), 2 for bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "foundation/core/error_chain.h"
#include "foundation/records/skin_pack.h"

namespace {

int Report(t_errorChain& errors)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        fwprintf(stderr, L"%ls\n", line->text.c_str());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    t_errorChain errors;
    t_skinPack pack;
    int code = 2;
    if (wcscmp(argv[1], L"pack") == 0 && argc == 5) {
        if (!pack.AddFolder(argv[2])) {
            errors.AddText(L"folder cannot be listed");
            code = Report(errors);
        } else {
            code = pack.Export(errors, argv[3], wcscmp(argv[4], L"3") == 0) ? 0 : Report(errors);
        }
    } else if (wcscmp(argv[1], L"extract") == 0 && argc == 4) {
        if (!pack.Import(errors, argv[2]))
            code = Report(errors);
        else
            code = pack.ExtractTo(errors, argv[3]) ? 0 : Report(errors);
    }
    return code;
}
