// Generated PNG pictures for tests and benchmarks: flat-coloured RGBA pictures, and
// animated PNGs whose frames are flat colours, written with zlib alone.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace n_flatPng {

inline std::string Be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
inline std::string Be16(uint32_t v) { return std::string{char(v >> 8), char(v)}; }

inline void Chunk(std::string& out, const std::string& type, const std::string& data)
{
    const std::string typed = type + data;
    out += Be32(static_cast<uint32_t>(data.size())) + typed;
    out += Be32(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
}

// The zlib stream of a width x height RGBA picture whose pixel at (x, y) is rgba(x, y)
// (0xRRGGBBAA); with three channels, of the RGB picture without the alpha bytes.
template <class t_pixel>
inline std::string PixelData(int width, int height, t_pixel rgba, int channels = 4)
{
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(channels) * static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x)
            raw += Be32(rgba(x, y)).substr(0, static_cast<size_t>(channels));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    packed.resize(size);
    return packed;
}

// The zlib stream of a width x height RGBA picture of one colour (0xRRGGBBAA).
inline std::string ImageData(int width, int height, uint32_t rgba)
{
    return PixelData(width, height, [rgba](int, int) { return rgba; });
}

}  // namespace n_flatPng

// A PNG of flat frames (0xRRGGBBAA each); more than one colour makes an animation whose
// frames each last `delay` hundredths of a second and which loops without end.
inline std::string FlatPng(int width, int height, const std::vector<uint32_t>& colors, int delay = 10)
{
    using namespace n_flatPng;
    std::string out = "\x89PNG\r\n\x1a\n";
    Chunk(out, "IHDR", Be32(width) + Be32(height) + std::string("\x08\x06\x00\x00\x00", 5));
    const bool animated = colors.size() > 1;
    if (animated)
        Chunk(out, "acTL", Be32(static_cast<uint32_t>(colors.size())) + Be32(0));
    uint32_t sequence = 0;
    for (size_t i = 0; i < colors.size(); ++i) {
        if (animated) {
            Chunk(out, "fcTL",
                  Be32(sequence++) + Be32(width) + Be32(height) + Be32(0) + Be32(0) + Be16(delay) + Be16(100) +
                      std::string("\x00\x00", 2));
        }
        const std::string data = ImageData(width, height, colors[i]);
        if (i == 0)
            Chunk(out, "IDAT", data);
        else
            Chunk(out, "fdAT", Be32(sequence++) + data);
    }
    Chunk(out, "IEND", "");
    return out;
}

// An opaque PNG whose every row and column differs (so that stretching, tiling and fixed
// edges show), with a block of key (0xRRGGBB) in its top-left corner.
inline std::string PatternPng(int width, int height, uint32_t seed, uint32_t key)
{
    using namespace n_flatPng;
    std::string out = "\x89PNG\r\n\x1a\n";
    Chunk(out, "IHDR", Be32(width) + Be32(height) + std::string("\x08\x06\x00\x00\x00", 5));
    Chunk(out, "IDAT", PixelData(width, height, [=](int x, int y) {
              if (x < width / 4 && y < height / 4)
                  return key << 8 | 0xFFu;
              const uint32_t r = (seed * 37u + static_cast<uint32_t>(x) * 255u / width) & 0xFFu;
              const uint32_t g = (seed * 91u + static_cast<uint32_t>(y) * 255u / height) & 0xFFu;
              const uint32_t b = (seed * 53u + static_cast<uint32_t>(x + y) * 7u) & 0xFFu;
              return r << 24 | g << 16 | b << 8 | 0xFFu;
          }));
    Chunk(out, "IEND", "");
    return out;
}
