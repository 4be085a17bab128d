// One bit per pixel of a painted picture: which pixels answer the mouse.
#pragma once

#include <cstddef>
#include <cstdint>

struct t_hitMask {
    int width = 0, height = 0;
    uint32_t* bits = nullptr;  // bit x + y * width, in word / 32, bit % 32

    t_hitMask() = default;
    ~t_hitMask() { Free(); }
    t_hitMask(const t_hitMask&) = delete;
    t_hitMask& operator=(const t_hitMask&) = delete;

    // Frees the old buffer and allocates a zeroed one for width x height; a negative or
    // oversized area leaves the mask empty (false).
    bool Reset(int newWidth, int newHeight);
    void Free();
    // Zeroes every bit.
    void Clear();
    bool Test(int x, int y) const;
    // Sets bit (x, y); outside the mask nothing happens.
    void Set(int x, int y);
    // Sets every bit of the top-left w x h area (cut to the mask), whole words at a time.
    void SetAll(int w, int h);
    // One row of pixels at once: bit (x + i, y) is set for each of the count pixels that
    // equals neither key. The run is cut to the mask once, not per pixel.
    void SetRowFromPixels(int x, int y, const uint32_t* pixels, int count, uint32_t key1, uint32_t key2);

private:
    // Sets bits [first, first + count) of the flat index.
    void SetSpan(size_t first, size_t count);
};
