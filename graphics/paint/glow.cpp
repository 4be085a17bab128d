#include "graphics/paint/glow.h"

#include <algorithm>
#include <cmath>

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

uint32_t t_effectGlowSimple::Pixel(const t_effectWindow& window) const
{
    const uint32_t v = static_cast<uint32_t>(WeightSum(window)) * m_alpha;
    const uint32_t b = v * m_blue / 65025, g = v * m_green / 65025, r = v * m_red / 65025, a = v / 255;
    return a << 24 | r << 16 | g << 8 | b;
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
