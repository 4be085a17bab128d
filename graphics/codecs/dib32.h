// The picture header that decoders hand around, and the 32-bit DIB sections every decoded
// picture ends in: BGRA, premultiplied by alpha, rows bottom-up.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "graphics/image/mem_dc.h"

// The fields of a BITMAPINFOHEADER: size, width, height, planes, bit count, compression,
// image size, resolutions and colour counts of a decoded picture.
using t_pictureHeader = BITMAPINFOHEADER;

// A header of width by height (bottom-up) at the given bit count, everything else zero.
t_pictureHeader MakePictureHeader(int width, int height, int bitCount);

// Largest picture a decoder makes a DIB for, in pixels (256 MB of pixels): sizes from
// files are refused above it before anything is allocated.
const uint64_t c_maxDibPixels = uint64_t(1) << 26;

// Makes dib a 32-bit bottom-up DIB section (no DC) of the header's width by |height|.
// Refuses empty or oversized pictures. Failure: the system error text and
// "创建DIBSection失败:".
bool CreatePictureDib(t_errorChain& errors, const t_pictureHeader& header, t_memDC& dib);
