// Test helper for picture fuzzing: decodes bytes as a picture the way the program does and
// checks that a success gives a readable picture and a failure leaves nothing behind.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "graphics/image/image_source.h"

inline bool DecodeCleanly(const uint8_t* data, size_t size)
{
    t_imageSource source = {};
    const bool ok = source.Decode(data, size);
    if (ok) {
        int width = 0, height = 0;
        EXPECT_TRUE(source.GetSize(width, height));
        EXPECT_TRUE(source.GetBitmapRef().IsBitmap());
    } else {
        EXPECT_FALSE(source.IsLoaded() && source.GetBitmapRef().handle);
    }
    source.Free();
    return ok;
}
