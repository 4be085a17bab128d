#include "graphics/paint/glow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <emmintrin.h>

#include "graphics/paint/paint_ctx.h"

t_effectFilter::t_effectFilter(int width) : m_width(width), m_rows(new const uint32_t*[size_t(width)]) {}

t_effectFilter::~t_effectFilter() { delete[] m_rows; }

t_effectGlowSimple::t_effectGlowSimple() : t_effectFilter(c_size)
{
    const double c = (c_size + 1) / 2;
    for (int i = 0; i < c_size; ++i) {
        for (int j = 0; j < c_size; ++j) {
            const double dx = std::fabs(j + 0.5 - c), dy = std::fabs(i + 0.5 - c);
            const double d2 = dx * dx + dy * dy;
            double w = 0.0;
            if (dx < c && dy < c && d2 <= c * c)
                w = 255.0 * 1.4 * (c * c - d2) / (c * c * c * c);
            m_weights[i * c_size + j] = w;
        }
    }
}

int t_effectGlowSimple::WeightSum(const t_effectWindow& window) const
{
    const int columns = std::min(window.columns, c_size - window.columnOffset);
    const int rows = std::min(window.rowCount, c_size - window.rowOffset);
    double sum = 0.0;
    for (int r = 0; r < rows; ++r) {
        const uint32_t* p = window.rows[r];
        const double* w = m_weights + (window.rowOffset + r) * c_size + window.columnOffset;
        int k = 0;
        // Four pixels a step, added in order.
        for (; k + 4 <= columns; k += 4) {
            if (p[k] > 0xFFFFFFu)
                sum += w[k];
            if (p[k + 1] > 0xFFFFFFu)
                sum += w[k + 1];
            if (p[k + 2] > 0xFFFFFFu)
                sum += w[k + 2];
            if (p[k + 3] > 0xFFFFFFu)
                sum += w[k + 3];
        }
        for (; k < columns; ++k) {
            if (p[k] > 0xFFFFFFu)
                sum += w[k];
        }
    }
    return static_cast<int>(std::min(255.0, sum));
}

uint32_t t_effectGlowSimple::Pixel(const t_effectWindow& window) const { return PixelOfSum(WeightSum(window)); }

uint32_t t_effectGlowSimple::PixelOfSum(int sum) const
{
    const uint32_t v = static_cast<uint32_t>(sum) * m_alpha;
    const uint32_t b = v * m_blue / 65025, g = v * m_green / 65025, r = v * m_red / 65025, a = v / 255;
    return a << 24 | r << 16 | g << 8 | b;
}

bool t_effectGlowSimple::ApplyWhole(const t_pixelRect& source, const t_pixelRect& target) const
{
    // With a = 2k + 1 - 2c and b = 2r + 1 - 2c for kernel column k and row r, a weight is
    // 357 (4c^2 - a^2 - b^2) / 4c^4 inside the disc a^2 + b^2 <= 4c^2 and 0 outside (the
    // constructor's formula with the factor 255 x 1.4 = 357). A window's sum is then
    // 357 M / 4c^4 for the integer M of its set pixels; M / 4c^4 lands on a whole number
    // only where the sum is clamped to 255 anyway, so truncating the exact quotient gives
    // what the double sum truncates to.
    //
    // a and b are odd, and kernel rows with the same |b| have the same weights: source row y
    // meets kernel rows (c_size - |b|) / 2 and (c_size + |b|) / 2 in target rows
    // y + (c_size + |b|) / 2 and y + (c_size - |b|) / 2. Each row's part for each |b| comes
    // from rings of columns |a| = 1, 3, 5, ... around the window's centre, built up one ring
    // at a time for eight target columns at once in 16-bit lanes. M is gathered in unsigned
    // 16-bit lanes that saturate: 65535 lies beyond the M that clamps to 255.
    const int c = (c_size + 1) / 2;
    const int discSquare = 4 * c * c;
    const int rings = c;  // |a| = 2j - 1 for j = 1..c; the last ring has no right column
    static_assert(c_size == 2 * ((c_size + 1) / 2) - 1, "the kernel is odd-sized with its centre between columns");
    // For each |b| = 2i - 1: the weight base 4c^2 - b^2 and the rings inside the disc.
    struct t_rowKind {
        int16_t base;
        int rings;
    } kinds[c];
    for (int i = 1; i <= c; ++i) {
        const int b = 2 * i - 1;
        int j = 0;
        while (j < rings && (2 * j + 1) * (2 * j + 1) + b * b <= discSquare)
            ++j;
        kinds[i - 1] = t_rowKind{static_cast<int16_t>(discSquare - b * b), j};
    }
    const int w = source.width, h = source.height, tw = target.width, th = target.height;
    if (tw == 0 || th == 0)
        return true;
    const int chunks = (tw + 7) / 8;
    const int span = chunks * 8;
    // Source column x sits at mask[x + c_size]; target column tx reads mask[tx .. tx + c_size - 1].
    std::vector<uint16_t> mask(static_cast<size_t>(span) + c_size + 8);
    std::vector<uint16_t> sums(static_cast<size_t>(span) * th);
    const int maskColumns = std::min(w, span);
    const __m128i zero = _mm_setzero_si128();
    for (int y = 0; y < h && y + 1 < th; ++y) {
        const uint32_t* p = source.pixels + static_cast<size_t>(source.y + y) * source.bufferWidth + source.x;
        int first = -1, last = -1;
        for (int x = 0; x < maskColumns; ++x) {
            const bool set = p[x] > 0xFFFFFFu;
            mask[size_t(x) + c_size] = set ? 1 : 0;
            if (set) {
                last = x;
                if (first < 0)
                    first = x;
            }
        }
        if (first < 0)
            continue;
        // Only target columns whose window meets a set pixel: first + 1 .. last + c_size.
        const int firstChunk = (first + 1) / 8, endChunk = std::min(chunks, (last + c_size) / 8 + 1);
        for (int chunk = firstChunk; chunk < endChunk; ++chunk) {
            const uint16_t* m = mask.data() + chunk * 8;
            __m128i count = zero, squares = zero;
            int kind = c - 1;  // the kinds from the widest ring count down
            for (int j = 1; j <= rings; ++j) {
                // Ring j: kernel columns c - j and c + j - 1 (the latter only inside the kernel).
                __m128i ring = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + c - j));
                if (c + j - 1 < c_size)
                    ring = _mm_add_epi16(ring, _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + c + j - 1)));
                count = _mm_add_epi16(count, ring);
                squares =
                    _mm_add_epi16(squares, _mm_mullo_epi16(ring, _mm_set1_epi16(int16_t((2 * j - 1) * (2 * j - 1)))));
                for (; kind >= 0 && kinds[kind].rings == j; --kind) {
                    const __m128i part =
                        _mm_sub_epi16(_mm_mullo_epi16(count, _mm_set1_epi16(kinds[kind].base)), squares);
                    const int b = 2 * kind + 1;
                    for (const int ty : {y + (c_size + b) / 2, y + (c_size - b) / 2}) {
                        if (ty >= th || (b == c_size && ty != y + c_size))
                            continue;
                        __m128i* to = reinterpret_cast<__m128i*>(sums.data() + size_t(ty) * span + chunk * 8);
                        _mm_storeu_si128(to, _mm_adds_epu16(_mm_loadu_si128(to), part));
                    }
                }
            }
        }
    }
    const int clampAt = (255 * int64_t(discSquare) * c * c + 356) / 357;  // the least M giving 255
    for (int ty = 0; ty < th; ++ty) {
        uint32_t* out = target.pixels + static_cast<size_t>(target.y + ty) * target.bufferWidth + target.x;
        const uint16_t* m = sums.data() + size_t(ty) * span;
        for (int tx = 0; tx < tw; ++tx) {
            const int sum = m[tx] >= clampAt ? 255 : m[tx] * 357 / (discSquare * c * c);
            out[tx] = PixelOfSum(sum);
        }
    }
    return true;
}

t_effectGlowSimple& SharedGlowFilter()
{
    static t_effectGlowSimple* glow = new t_effectGlowSimple();  // kept for the process
    return *glow;
}

namespace {

bool RectInBuffer(const t_pixelRect& rect)
{
    return rect.pixels && rect.width >= 0 && rect.height >= 0 && rect.x >= 0 && rect.y >= 0 &&
           rect.x <= rect.bufferWidth - rect.width && rect.y <= rect.bufferHeight - rect.height;
}

}  // namespace

bool ApplyEffectFilter(const t_pixelRect& source, t_effectFilter& filter, const t_pixelRect& target)
{
    if (!RectInBuffer(source) || !RectInBuffer(target))
        return false;
    if (filter.ApplyWhole(source, target))
        return true;
    const int w = filter.Width();
    const uint32_t** rows = filter.Rows();
    for (int ty = 0; ty < target.height; ++ty) {
        uint32_t* out = target.pixels + static_cast<size_t>(target.y + ty) * target.bufferWidth + target.x;
        // Source rows ty - w .. ty - 1, cut to the source.
        const int firstRow = std::max(0, ty - w), endRow = std::min(source.height, ty);
        for (int tx = 0; tx < target.width; ++tx) {
            const int firstColumn = std::max(0, tx - w), endColumn = std::min(source.width, tx);
            t_effectWindow window = {rows, 0, 0, 0, 0};
            if (endRow > firstRow && endColumn > firstColumn) {
                for (int r = firstRow; r < endRow; ++r)
                    rows[r - firstRow] =
                        source.pixels + static_cast<size_t>(source.y + r) * source.bufferWidth + source.x + firstColumn;
                window.columns = endColumn - firstColumn;
                window.rowCount = endRow - firstRow;
                window.columnOffset = firstColumn - (tx - w);
                window.rowOffset = firstRow - (ty - w);
            }
            out[tx] = filter.Pixel(window);
        }
    }
    return true;
}

bool ApplyGlowEffect(const t_pixelRect& source, t_memDC& out)
{
    const int size = t_effectGlowSimple::c_size;
    if (!source.pixels || source.width <= 0 || source.height <= 0)
        return false;
    if (!t_memDC::Create(out, source.dc, source.width + size, source.height + size))
        return false;
    const t_pixelRect target = {out.dc, out.Pixels(), out.width, out.height, 0, 0, out.width, out.height};
    return ApplyEffectFilter(source, SharedGlowFilter(), target);
}
