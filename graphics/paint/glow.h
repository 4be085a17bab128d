// Effect filters over 32-bit premultiplied pixels; the glow spreads a picture's opaque
// pixels into a soft white halo 21 pixels wide.
#pragma once

#include <windows.h>

#include <cstdint>

struct t_memDC;

// The part of a filter's window that lies inside the source: one pointer per row (to the
// row's first pixel inside), the counts inside, and where the part starts in the kernel.
struct t_effectWindow {
    const uint32_t* const* rows;
    int columns, rowCount;
    int columnOffset, rowOffset;
};

// A rectangle of a bottom-up 32-bit buffer; x and y count from the first pixel in memory.
struct t_pixelRect {
    HDC dc;
    uint32_t* pixels;
    int bufferWidth, bufferHeight;
    int x, y, width, height;
};

class t_effectFilter {
public:
    explicit t_effectFilter(int width);
    virtual ~t_effectFilter();
    t_effectFilter(const t_effectFilter&) = delete;
    t_effectFilter& operator=(const t_effectFilter&) = delete;

    // The premultiplied ARGB pixel the filter makes of a window.
    virtual uint32_t Pixel(const t_effectWindow& window) const = 0;
    virtual int WeightSum(const t_effectWindow& window) const = 0;
    virtual int Unused() const { return 0; }
    // The whole pass of ApplyEffectFilter at once, for filters that can do it faster than
    // one window at a time with the same pixels; false when the filter has no such pass.
    virtual bool ApplyWhole(const t_pixelRect& source, const t_pixelRect& target) const
    {
        (void)source;
        (void)target;
        return false;
    }

    int Width() const { return m_width; }
    // Room for one window's row pointers during a pass.
    const uint32_t** Rows() { return m_rows; }

protected:
    int m_width;
    const uint32_t** m_rows;
};

class t_effectGlowSimple : public t_effectFilter {
public:
    static const int c_size = 21;

    t_effectGlowSimple();
    uint32_t Pixel(const t_effectWindow& window) const override;
    // Kernel weights of the window's pixels with alpha, min(255, sum) truncated.
    int WeightSum(const t_effectWindow& window) const override;
    // Every target pixel's weight sum at once, in integers, exactly: the kernel is a
    // paraboloid cut to a disc, so a kernel row's part of the sum comes from the count of
    // its set pixels and the sum of their squared offsets, gathered ring by ring of columns
    // around the window's centre; rows the same distance from the centre share their parts.
    bool ApplyWhole(const t_pixelRect& source, const t_pixelRect& target) const override;
    double Weight(int row, int column) const { return m_weights[row * c_size + column]; }

private:
    // The pixel of a window whose weight sum is `sum`.
    uint32_t PixelOfSum(int sum) const;

    uint32_t m_blue = 255, m_green = 255, m_red = 255, m_alpha = 255;
    double m_weights[c_size * c_size];
};

// The process's glow filter, made on first use.
t_effectGlowSimple& SharedGlowFilter();

// One filter call per target pixel: target (X, Y) takes the window of source pixels
// (X - w + k, Y - w + r), k and r from 0 to w - 1, cut to the source. False for a missing
// buffer or a rectangle outside its buffer.
bool ApplyEffectFilter(const t_pixelRect& source, t_effectFilter& filter, const t_pixelRect& target);

// Makes a 32-bit DIB of (width + 21) x (height + 21) in `out` and fills it with the glow
// of the source pixels (source.dc is the reference DC). False when the DIB cannot be made.
bool ApplyGlowEffect(const t_pixelRect& source, t_memDC& out);
