// Fading the right end of a run of candidates towards transparency in a 32-bit buffer.
#pragma once

#include <windows.h>

#include <cstdint>

// Each of the four bytes of a premultiplied pixel times factor / 255, rounded down.
uint32_t ScaleArgb(uint32_t pixel, int factor);

// Scales the pixels of rect in a bottom-up width x height buffer (rows counted from the
// buffer's first row in memory) by (right - x) * 255 / (right - left) per column x, so that
// the rectangle fades out towards its right edge. Parts outside the buffer are skipped.
void FadeOutHorizontally(const RECT& rect, uint32_t* pixels, int width, int height);
