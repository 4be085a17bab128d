// Helper process for the shared memory and version registry tests. The first argument is
// the folder hash that keeps the test's names apart from other runs.
//   share_mem_child <hash> open <name>:          opens the block, bumps its version, fills
//                                                its data with 0x5A; exit code = data size.
//   share_mem_child <hash> create <name> <size>: Create with that data size; exit code =
//                                                the data size the block reports.
//   share_mem_child <hash> vreg-read <index>:    t_versionReg::Init; exit code = counter.
//   share_mem_child <hash> vreg-inc <index>:     t_versionReg::Init, Increment; exit code =
//                                                the new value.
//   share_mem_child <hash> vreg-retry 0:         expects Init to fail, then a second Init to
//                                                fail at once; exit code 10 when so.
#include <windows.h>

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "foundation/win/share_mem.h"
#include "foundation/win/shared_versions.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 200;
    n_shareName::SetFolderHash(argv[1]);
    const wchar_t* command = argv[2];
    t_errorChain errors;
    if (wcscmp(command, L"open") == 0) {
        t_shareMem_t<t_lockerMemSharable> block;
        if (!block.Open(errors, argv[3], false))
            return 201;
        block.BumpVersion();
        memset(block.Data(), 0x5A, block.DataSize());
        return static_cast<int>(block.DataSize());
    }
    if (wcscmp(command, L"create") == 0 && argc == 5) {
        t_shareMem_t<t_lockerMemSharable> block;
        if (!block.Create(errors, argv[3], static_cast<DWORD>(_wtoi(argv[4])), false))
            return 201;
        return static_cast<int>(block.DataSize());
    }
    if (wcscmp(command, L"vreg-retry") == 0) {
        if (t_versionReg::Init(errors))
            return 204;
        t_errorChain again;
        if (t_versionReg::Init(again) || !again.FirstLine() ||
            !again.FirstLine()->text.Equals(L"failled load version reg before"))
            return 205;
        return 10;
    }
    unsigned index = static_cast<unsigned>(_wtoi(argv[3]));
    if (!t_versionReg::Init(errors))
        return 202;
    if (wcscmp(command, L"vreg-read") == 0)
        return static_cast<int>(t_versionReg::Read(index));
    if (wcscmp(command, L"vreg-inc") == 0)
        return static_cast<int>(t_versionReg::Increment(index));
    return 203;
}
