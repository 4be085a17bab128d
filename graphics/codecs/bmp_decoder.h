// Our own reader of Windows bitmaps: files ("BM" header) and bare bitmap data as resources
// store it, in every header form (core, 40-byte, OS/2 64-byte, V4 and V5), 1/4/8-bit
// palette pictures plain or RLE, 16-bit with masks, 24-bit and 32-bit. The result is
// always a 32-bit bottom-up DIB section, premultiplied by alpha.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "graphics/codecs/dib32.h"
#include "graphics/codecs/image_loader.h"
#include "graphics/codecs/mem_reader.h"

// What the header tells the pixel decoder beyond the picture header itself.
struct t_bmpInfo {
    bool core = false;     // palette entries are 3-byte RGBTRIPLEs
    bool topDown = false;  // the file's first row is the top row
    bool hasPalette = false;
    // Colour masks of 16- and 32-bit pictures; the alpha mask only from V4/V5 headers.
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    uint32_t alphaMask = 0;
    bool hasAlphaMask = false;
    // Points into the data; paletteEntries of them lie within it.
    const uint8_t* palette = nullptr;
    uint32_t paletteEntries = 0;
};

// Reads the info header (and the masks and palette position) at the cursor into header
// and info. The height comes out positive, with topDown set for a negative one; a zero
// image size and colour count get their defaults. The cursor ends after the header and
// the masks, at the palette when there is one.
bool ReadBmpInfoHeader(t_bmpInfo& info, t_pictureHeader& header, t_memInput& input);

// Decodes the pixels at the cursor into pixels (width x height, bottom-up BGRA).
// Failure: one line "bmp数据读取错误:" and the reason.
bool DecodeBmpPixels(t_errorChain& errors, const t_pictureHeader& header, t_memInput& input, uint32_t* pixels,
                     const t_bmpInfo& info);

// Decodes a bitmap file or bare bitmap data into a new DIB section that the caller owns.
// Failure: no bitmap and the line "文件过小", "读取图片信息失败", "创建HBITMAP失败" or
// "读取图片数据失败" (after the lines of the step that failed).
bool DecodeBmp(t_errorChain& errors, t_memInput& input, HBITMAP& bitmap, t_pictureHeader& header);

// Slot 1 of the loader registry: BMP files, bare bitmap data and every picture of no known
// type. The source becomes a single bitmap without alpha.
class t_imageLoader_bmp : public i_imageLoader {
public:
    bool Load(t_imageSource& target, const void* data, size_t count) override;
};
