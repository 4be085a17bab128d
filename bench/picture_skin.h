// The large skin of the benchmarks: the generated skin of synthetic_skin.h with real
// pictures (flat PNGs of 16 to 79 pixels a side, the .bmp names holding PNG data too), and
// the plain container (format 1) the editor's preview copy is written as.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/synthetic_skin.h"
#include "foundation/core/error_chain.h"
#include "foundation/records/skin_pack.h"
#include "tests/support/flat_png.h"

inline bool PackSkinFolder(const std::wstring& folder, const std::wstring& path)
{
    t_skinPack pack;
    t_errorChain errors;
    return pack.AddFolder(folder.c_str()) && pack.Export(errors, path.c_str(), false);
}

inline bool WritePictureSkin(const std::wstring& folder, int pictures)
{
    t_syntheticSkin shape;
    shape.pictures = pictures;
    shape.pictureBytes = 16;
    if (!WriteSyntheticSkin(folder, shape))
        return false;
    for (int i = 0; i < pictures; ++i) {
        const int side = 16 + (i * 37) % 64;
        const std::string png = FlatPng(side, side, {(0x10203040u + static_cast<uint32_t>(i) * 0x01030507u) | 0xFFu});
        if (!WriteRaw(folder + L"\\" + SyntheticPictureName(i), png))
            return false;
    }
    return true;
}

// The two skins most benchmarks measure, from the command line
// "WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]": the default skin packed as WORK\default.dat and
// a 500-picture skin as WORK\large.dat; `adjustLarge`, when given, changes the large skin's
// folder before it is packed.
struct t_benchSkins {
    std::wstring work, defaultPack, largePack;
    int runs = 9;
};

// 0 when the skins are ready; else the exit code (2 for usage, 1 when the skins cannot be
// made), the reason printed.
inline int PrepareBenchSkins(const char* program, t_benchSkins& skins,
                             bool (*adjustLarge)(const std::wstring& folder) = nullptr)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) {
        fprintf(stderr, "usage: %s WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]\n", program);
        return 2;
    }
    skins.work = argv[1];
    skins.runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    skins.defaultPack = skins.work + L"\\default.dat";
    skins.largePack = skins.work + L"\\large.dat";
    const std::wstring largeFolder = skins.work + L"\\large";
    const bool ok = PackSkinFolder(argv[2], skins.defaultPack) && WritePictureSkin(largeFolder, 500) &&
                    (!adjustLarge || adjustLarge(largeFolder)) && PackSkinFolder(largeFolder, skins.largePack);
    LocalFree(argv);
    if (!ok) {
        fprintf(stderr, "could not prepare the skins\n");
        return 1;
    }
    return 0;
}
