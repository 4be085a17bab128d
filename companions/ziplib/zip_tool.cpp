// Console front end of ZipLib.dll for scripts:
//   zip_tool unzip ARCHIVE FOLDER
//   zip_tool zip FOLDER ARCHIVE [LEVEL [ROOT]]
//   zip_tool get ARCHIVE ENTRY OUTFILE    (PrepareUnzipFile, then UnZipFile of one entry)
// The exit code is the library's result (0 success); "get" answers 10 when the archive
// cannot be prepared and 11 when the entry cannot be extracted.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "interfaces/ziplib.h"

namespace {

int Get(const wchar_t* archive, const wchar_t* entry, const wchar_t* outFile)
{
    char path[260] = {};
    uint32_t deleteAfterwards = 0;
    if (!PrepareUnzipFile(archive, path, &deleteAfterwards))
        return 10;
    char narrowEntry[1024];
    const int n = WideCharToMultiByte(936, 0, entry, -1, narrowEntry, sizeof(narrowEntry), nullptr, nullptr);
    t_unzipBuf buffer = {};
    int result = 11;
    if (n > 0 && UnZipFile(path, narrowEntry, &buffer)) {
        result = 0;
        HANDLE file = CreateFileW(outFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD put = 0;
        if (file == INVALID_HANDLE_VALUE ||
            (buffer.size && !WriteFile(file, buffer.data, buffer.size, &put, nullptr)) || put != buffer.size)
            result = ZIPLIB_E_WRITE;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        FreeUnzipBuf(&buffer);
    }
    printf("prepared=%s delete=%u\n", path, deleteAfterwards);
    if (deleteAfterwards) {
        wchar_t widePath[260];
        if (MultiByteToWideChar(936, 0, path, -1, widePath, 260) > 0)
            DeleteFileW(widePath);
    }
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 4 && wcscmp(argv[1], L"unzip") == 0)
        return UnZip(argv[2], argv[3]);
    if (argc >= 4 && wcscmp(argv[1], L"zip") == 0) {
        if (argc >= 5)
            SetZipLevel(_wtoi(argv[4]));
        return ZipFolder(argv[2], argc >= 6 ? argv[5] : nullptr, argv[3]);
    }
    if (argc >= 5 && wcscmp(argv[1], L"get") == 0)
        return Get(argv[2], argv[3], argv[4]);
    fprintf(stderr,
            "usage: zip_tool unzip ARCHIVE FOLDER | zip FOLDER ARCHIVE [LEVEL [ROOT]] | get ARCHIVE ENTRY OUT\n");
    return 64;
}
