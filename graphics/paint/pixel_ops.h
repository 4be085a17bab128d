// Pixel operations shared by the drawing layer, over 32-bit buffers (BGRA in memory,
// 0xAARRGGBB as a value, premultiplied, rows bottom-up). Rectangles are top-down.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image_source.h"

class t_paintCtx;

// The 32-bit bottom-up pixels behind a reference when they can be read directly (a pixel
// buffer, or a bottom-up 32-bit DIB section, flushed first); null otherwise.
const uint32_t* ReadablePixels(const t_bitmapRef& ref, int& width, int& height);

// Every pixel's B, G, R times alpha / 255, and A = alpha.
void SetAlphaPremultiplied(int rows, uint32_t* pixels, int alpha, int width);

// Pixels with alpha whose channels each lie within 16 of colour A's channel scaled by the
// pixel's alpha become colour B at the pixel's alpha, premultiplied. Colours are COLORREF;
// nothing happens when B is -1 or 0x7FFFFFFF.
void RecolorPixels(uint32_t colorA, uint32_t* pixels, uint32_t colorB, int rows, int width);

// Zeroes a top-down rectangle of a bottom-up buffer (cut to the buffer).
void ClearPixelRect(int height, const RECT& rect, int width, uint32_t* pixels);
// Swaps the rows top to bottom.
void FlipRows(int width, uint32_t* pixels, int height);

// Bounding box of the non-zero pixels (right and bottom exclusive); false when all are 0.
bool GetOpaqueBounds(int width, int height, const uint32_t* pixels, RECT& rect);
// Left and right bounds of the non-zero pixels over `rows` rows from the first non-empty
// row counted from the top; false when the buffer is empty.
bool GetOpaqueBand(const uint32_t* pixels, int rows, int width, int height, RECT& rect);

// Average colour of three rows (1/4, 2/4 and 3/4 down) of a region of the context, its
// width capped at 1024, as the bytes R, G, B, A. With useAlpha and alphaTarget the region
// is blended into a DIB and the average un-premultiplied; otherwise GetPixel, alpha 255.
// False when all four averages are 0.
bool SampleAverageColor(t_paintCtx& context, int x, int y, int right, int bottom, uint32_t& color, bool useAlpha,
                        bool alphaTarget);

// An HBITMAP's size (0 x 0 for null or failure) and its DIB bits.
SIZE GetBitmapSize(HBITMAP bitmap);
bool QueryBitmapSize(HBITMAP bitmap, int& width, int& height);
void* GetBitmapPixels(HBITMAP bitmap);
