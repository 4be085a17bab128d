// Test helper: a GIF writer for test pictures, so that tests can place frames anywhere on
// the screen (past its edges too) with any disposal, transparency and interlacing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A GIF writer for test pictures: colour maps as given, every frame coded with 9-bit
// codes and a clear code before the table would grow, so any index 0..255 can be written.
struct t_gifFrame {
    int left, top, width, height;
    std::vector<uint32_t> localMap;  // 0xRRGGBB; empty: none
    std::vector<uint8_t> pixels;
    int transparent = -1;
    int disposal = 0;
    int delay = 0;
    bool interlace = false;  // pixels are given top to bottom; written in the four passes
};

inline std::string MapBytes(const std::vector<uint32_t>& map, int& bits)
{
    bits = 1;
    while ((1u << bits) < map.size())
        ++bits;
    std::string out;
    for (size_t i = 0; i < (1u << bits); ++i) {
        const uint32_t c = i < map.size() ? map[i] : 0;
        out += {char(c >> 16), char(c >> 8), char(c)};
    }
    return out;
}

inline std::string Le16(int v) { return {char(v), char(v >> 8)}; }

inline std::string GifBytes(int width, int height, const std::vector<uint32_t>& globalMap,
                            const std::vector<t_gifFrame>& frames)
{
    std::string out = "GIF89a" + Le16(width) + Le16(height);
    int bits = 0;
    const std::string global = globalMap.empty() ? "" : MapBytes(globalMap, bits);
    out += char(globalMap.empty() ? 0 : 0x80 | (bits - 1));
    out += {0, 0};
    out += global;
    for (const t_gifFrame& f : frames) {
        out += "\x21\xF9\x04";
        out += char((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0));
        out += Le16(f.delay);
        out += char(f.transparent >= 0 ? f.transparent : 0);
        out += '\0';
        out += ',' + Le16(f.left) + Le16(f.top) + Le16(f.width) + Le16(f.height);
        const std::string local = f.localMap.empty() ? "" : MapBytes(f.localMap, bits);
        out += char((f.localMap.empty() ? 0 : 0x80 | (bits - 1)) | (f.interlace ? 0x40 : 0));
        out += local;
        // LZW: minimum code size 8, clear 256, end 257, 9-bit codes.
        out += '\x08';
        std::string data;
        uint32_t acc = 0;
        int have = 0;
        auto put = [&](int code) {
            acc |= uint32_t(code) << have;
            have += 9;
            while (have >= 8) {
                data += char(acc & 0xFF);
                acc >>= 8;
                have -= 8;
            }
        };
        std::vector<uint8_t> coded = f.pixels;
        if (f.interlace && f.width > 0 && f.pixels.size() == size_t(f.width) * f.height) {
            coded.clear();
            static const int c_start[4] = {0, 4, 2, 1}, c_step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (int row = c_start[pass]; row < f.height; row += c_step[pass])
                    coded.insert(coded.end(), f.pixels.begin() + size_t(row) * f.width,
                                 f.pixels.begin() + size_t(row + 1) * f.width);
            }
        }
        for (size_t i = 0; i < coded.size(); ++i) {
            if (i % 250 == 0)
                put(256);
            put(coded[i]);
        }
        put(257);
        if (have)
            data += char(acc & 0xFF);
        for (size_t i = 0; i < data.size(); i += 255) {
            const std::string block = data.substr(i, 255);
            out += char(block.size()) + block;
        }
        out += '\0';
    }
    out += ';';
    return out;
}
