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
    const int c = (c_size + 1) / 2;
    const int discSquare = 4 * c * c;
    const int64_t divisor = int64_t(discSquare) * c * c;
    struct t_kernelRow {
        int first, last;  // kernel columns inside the disc (first > last: none)
        int base;         // 4c^2 - b^2
    } kernelRows[c_size];
    for (int r = 0; r < c_size; ++r) {
        const int b = 2 * r + 1 - 2 * c;
        t_kernelRow& row = kernelRows[r];
        row = t_kernelRow{c_size, -1, discSquare - b * b};
        for (int k = 0; k < c_size; ++k) {
            const int a = 2 * k + 1 - 2 * c;
            if (std::abs(a) < 2 * c && std::abs(b) < 2 * c && a * a + b * b <= discSquare) {
                row.first = std::min(row.first, k);
                row.last = std::max(row.last, k);
            }
        }
    }
    const int w = source.width, h = source.height;
    // Each target pixel's M is gathered in the target itself, one source row at a time:
    // source row y is row r of the kernel for target row y + c_size - r.
    const auto targetRow = [&target](int ty) {
        return target.pixels + static_cast<size_t>(target.y + ty) * target.bufferWidth + target.x;
    };
    for (int ty = 0; ty < target.height; ++ty)
        std::fill(targetRow(ty), targetRow(ty) + target.width, 0u);
    // Running count, sum of x and sum of x^2 of the row's set pixels. Doubles hold these
    // whole numbers exactly (all stay far below 2^53) and take two at a step.
    std::vector<double> counts(static_cast<size_t>(w) + 1), firsts(counts.size()), seconds(counts.size());
    for (int y = 0; y < h && y < target.height; ++y) {
        const uint32_t* p = source.pixels + static_cast<size_t>(source.y + y) * source.bufferWidth + source.x;
        double* n0 = counts.data();
        double* n1 = firsts.data();
        double* n2 = seconds.data();
        for (int x = 0; x < w; ++x) {
            const double set = p[x] > 0xFFFFFFu ? 1.0 : 0.0;
            n0[x + 1] = n0[x] + set;
            n1[x + 1] = n1[x] + set * x;
            n2[x + 1] = n2[x] + set * x * x;
        }
        if (n0[w] == 0)
            continue;
        for (int r = 0; r < c_size; ++r) {
            const int ty = y + c_size - r;
            const t_kernelRow& kr = kernelRows[r];
            if (ty >= target.height || kr.first > kr.last)
                continue;
            uint32_t* out = targetRow(ty);
            // Target column tx sees source columns tx - c_size + first .. tx - c_size + last,
            // cut to the source (the window never reaches column tx itself).
            const int lead = kr.first - c_size, trail = kr.last - c_size + 1;
            const double base = kr.base;
            // a = 2x + t for source column x, t = 2 (c_size - tx) + 1 - 2c.
            const auto add = [&](int tx, int from, int to) {
                const double s0 = n0[to] - n0[from], s1 = n1[to] - n1[from], s2 = n2[to] - n2[from];
                const double t = 2.0 * (c_size - tx) + 1 - 2 * c;
                out[tx] += static_cast<uint32_t>(base * s0 - (4 * s2 + 4 * t * s1 + t * t * s0));
            };
            // Columns whose whole kernel row lies inside the source go two at a time; the
            // others cut their range to the source.
            const int inFirst = std::min(std::max(0, -lead), target.width);
            const int inEnd = std::max(inFirst, std::min(target.width, w - trail + 1));
            for (int tx = 0; tx < inFirst; ++tx) {
                const int from = std::max(0, tx + lead), to = std::min(w, tx + trail);
                if (from < to)
                    add(tx, from, to);
            }
            int tx = inFirst;
            const __m128d four = _mm_set1_pd(4.0), baseLanes = _mm_set1_pd(base);
            for (; tx + 2 <= inEnd; tx += 2) {
                const __m128d s0 = _mm_sub_pd(_mm_loadu_pd(n0 + tx + trail), _mm_loadu_pd(n0 + tx + lead));
                const __m128d s1 = _mm_sub_pd(_mm_loadu_pd(n1 + tx + trail), _mm_loadu_pd(n1 + tx + lead));
                const __m128d s2 = _mm_sub_pd(_mm_loadu_pd(n2 + tx + trail), _mm_loadu_pd(n2 + tx + lead));
                const double t0 = 2.0 * (c_size - tx) + 1 - 2 * c;
                const __m128d t = _mm_set_pd(t0 - 2.0, t0);
                const __m128d square =
                    _mm_add_pd(_mm_mul_pd(four, _mm_add_pd(s2, _mm_mul_pd(t, s1))), _mm_mul_pd(_mm_mul_pd(t, t), s0));
                const __m128i part = _mm_cvttpd_epi32(_mm_sub_pd(_mm_mul_pd(baseLanes, s0), square));
                __m128i* to = reinterpret_cast<__m128i*>(out + tx);
                _mm_storel_epi64(to, _mm_add_epi32(_mm_loadl_epi64(to), part));
            }
            for (; tx < target.width; ++tx) {
                const int from = std::max(0, tx + lead), to = std::min(w, tx + trail);
                if (from < to)
                    add(tx, from, to);
            }
        }
    }
    for (int ty = 0; ty < target.height; ++ty) {
        uint32_t* out = targetRow(ty);
        for (int tx = 0; tx < target.width; ++tx)
            out[tx] = PixelOfSum(static_cast<int>(std::min<int64_t>(255, int64_t(out[tx]) * 357 / divisor)));
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
