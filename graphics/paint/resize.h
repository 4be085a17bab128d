// Resizing 32-bit premultiplied pictures: a separable Mitchell-Netravali bicubic filter
// (B = C = 1/3) or a box filter in two passes, or GDI's AlphaBlend stretch.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class CGenericFilter {
public:
    explicit CGenericFilter(double width) : m_width(width) {}
    virtual ~CGenericFilter() = default;
    virtual double Filter(double x) const = 0;
    double Width() const { return m_width; }

protected:
    double m_width;
};

class CBicubicFilter : public CGenericFilter {
public:
    CBicubicFilter() : CGenericFilter(2.0) {}
    double Filter(double x) const override;
};

// The box filter: with the weight table's widening an average over the area a target
// pixel covers when shrinking, the nearest pixel when enlarging.
class CBoxFilter : public CGenericFilter {
public:
    CBoxFilter() : CGenericFilter(0.5) {}
    double Filter(double x) const override;
};

// Weights of one pass: for each target index the source indexes left..right and their
// weights, in one block of `window` doubles per entry.
struct t_weightTable {
    struct t_entry {
        int left, right;
        int firstUsed;  // first index with a non-zero weight (the pass skips the zeros before it)
    };
    int window = 0;
    std::vector<t_entry> entries;
    std::vector<double> weights;

    // False for an empty source or target length.
    bool Build(const CGenericFilter& filter, int sourceLength, int targetLength);
    const double* WeightsOf(int index) const { return weights.data() + static_cast<size_t>(index) * window; }
};

// The two passes over bottom-up 32-bit buffers (the cheaper order first; equal lengths
// copy), in float sums: every channel within one unit of the table's double sums rounded
// after each pass. Large pictures are spread over worker threads kept for the process.
// False for empty sizes or when memory runs out.
bool ResizePixels(const CGenericFilter& filter, const uint32_t* source, int sourceWidth, int sourceHeight,
                  uint32_t* target, int targetWidth, int targetHeight);

class CResizeEngine {
public:
    explicit CResizeEngine(const CGenericFilter* filter) : m_filter(filter) {}
    virtual ~CResizeEngine() = default;
    // A new bottom-up 32-bit DIB section of width x height with the source resized into
    // it; null on failure (nothing made is left behind; the source is untouched).
    HBITMAP Scale(HBITMAP source, int width, int height);

private:
    const CGenericFilter* m_filter;
};

// A new 32-bit DIB of width x height from a 32-bit DIB section: colour key applied to the
// source first (when not -1), then the bicubic engine or AlphaBlend's stretch. On success
// the source bitmap is deleted; on failure null comes back and the source stays the
// caller's.
HBITMAP ResizeBitmap(HBITMAP bitmap, uint32_t colorKey, int width, int height, bool exactKey, bool bicubic);
