// Colour conversions and colour keys over 32-bit pixel buffers (BGRA in memory,
// 0xAARRGGBB as a value, premultiplied, rows bottom-up).
#pragma once

#include <cstdint>

// A COLORREF (0x00BBGGRR, -1 none) as 0xAARRGGBB: -1 gives 0; alpha 0xFF when the value
// is below 0x1000000, else its top byte is kept.
uint32_t ColorRefToArgb(uint32_t colorRef);
// Each colour channel times alpha / 255 (integer), alpha kept.
uint32_t PremultiplyArgb(uint32_t argb);

// Exact: pixels equal to ColorRefToArgb(key) become 0, the rest stay. Not exact: key -1
// makes every pixel opaque; otherwise pixels whose RGB is the key's become 0 and all
// others get alpha 255.
void ApplyColorKey(uint32_t key, int rows, int width, uint32_t* pixels, bool exact);
