// The large skin of the benchmarks: the generated skin of synthetic_skin.h with real
// pictures (flat PNGs of 16 to 79 pixels a side, the .bmp names holding PNG data too), and
// the plain container (format 1) the editor's preview copy is written as.
#pragma once

#include <windows.h>

#include <cstdint>
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
