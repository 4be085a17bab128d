// The picture header that decoders hand around, and the 32-bit DIB sections every decoded
// picture ends in: BGRA, premultiplied by alpha, rows bottom-up.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"

// The fields of a BITMAPINFOHEADER: size, width, height, planes, bit count, compression,
// image size, resolutions and colour counts of a decoded picture.
using t_pictureHeader = BITMAPINFOHEADER;

// A header of width by height (bottom-up) at the given bit count, everything else zero.
t_pictureHeader MakePictureHeader(int width, int height, int bitCount);

// Largest picture CreateDib32 makes, in pixels (256 MB of pixels): sizes from files are
// refused above it before anything is allocated.
const uint64_t c_maxDibPixels = uint64_t(1) << 26;

// A 32-bit bottom-up DIB section of the header's width by |height|. Refuses empty or
// oversized pictures. Failure: the system error text and "创建DIBSection失败:".
bool CreateDib32(t_errorChain& errors, const t_pictureHeader& header, HBITMAP& bitmap, uint32_t*& bits);

// Owns one DIB section from CreateDib32 until Detach hands it on.
class t_dib32 {
public:
    t_dib32() = default;
    ~t_dib32() { Reset(); }
    t_dib32(const t_dib32&) = delete;
    t_dib32& operator=(const t_dib32&) = delete;

    bool Create(t_errorChain& errors, const t_pictureHeader& header);
    HBITMAP Handle() const { return m_bitmap; }
    uint32_t* Bits() const { return m_bits; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // First pixel of DIB row y (row 0 is the bottom row).
    uint32_t* Row(int y) const { return m_bits + static_cast<size_t>(y) * m_width; }
    HBITMAP Detach();
    void Reset();

private:
    HBITMAP m_bitmap = nullptr;
    uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};
