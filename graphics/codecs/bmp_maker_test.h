// Test helper: builds small bitmap files and bare bitmap data byte by byte, so that tests
// can show one header form, depth or damage at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct t_bmpFields {
    uint32_t headerSize = 40;  // 12 core, 40, 64, 108 or 124 (or any other, for refusals)
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    // 0x00RRGGBB entries; 3 bytes each under a core header, else 4.
    std::vector<uint32_t> palette;
    // Red, green, blue (and alpha): after a 40-byte header, inside a V4/V5 one.
    std::vector<uint32_t> masks;
    std::string pixels;
    bool fileHeader = true;
};

inline void AppendLe(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

inline std::string MakeBmp(const t_bmpFields& s)
{
    std::string info;
    if (s.headerSize == 12) {
        AppendLe(info, 12, 4);
        AppendLe(info, static_cast<uint32_t>(s.width), 2);
        AppendLe(info, static_cast<uint32_t>(s.height), 2);
        AppendLe(info, 1, 2);
        AppendLe(info, s.bits, 2);
    } else {
        AppendLe(info, s.headerSize, 4);
        AppendLe(info, static_cast<uint32_t>(s.width), 4);
        AppendLe(info, static_cast<uint32_t>(s.height), 4);
        AppendLe(info, 1, 2);
        AppendLe(info, s.bits, 2);
        AppendLe(info, s.compression, 4);
        AppendLe(info, s.imageSize, 4);
        AppendLe(info, 2835, 4);
        AppendLe(info, 2835, 4);
        AppendLe(info, s.colorsUsed, 4);
        AppendLe(info, 0, 4);
        const bool masksInside = s.headerSize >= 108;
        if (masksInside)
            for (uint32_t m : s.masks)
                AppendLe(info, m, 4);
        info.resize(s.headerSize, 0);
        if (!masksInside)
            for (uint32_t m : s.masks)
                AppendLe(info, m, 4);
    }
    for (uint32_t c : s.palette)
        AppendLe(info, c, s.headerSize == 12 ? 3 : 4);
    if (!s.fileHeader)
        return info + s.pixels;
    std::string out = "BM";
    AppendLe(out, static_cast<uint32_t>(14 + info.size() + s.pixels.size()), 4);
    AppendLe(out, 0, 4);
    AppendLe(out, static_cast<uint32_t>(14 + info.size()), 4);
    return out + info + s.pixels;
}

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}
