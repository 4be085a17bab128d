#include "graphics/paint/bitmap_region.h"

#include <algorithm>
#include <vector>

#include "foundation/win/scoped_win.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/paint_ctx.h"

namespace {

// Collects one-row runs as rectangles and turns them into a region 2000 at a time
// (ExtCreateRegion slows down sharply on very long rectangle lists).
class t_regionBuilder {
public:
    void AddRun(int left, int top, int right)
    {
        m_rects.push_back(RECT{left, top, right, top + 1});
        if (m_rects.size() == c_flushCount)
            Flush();
    }

    HRGN Finish()
    {
        Flush();
        return m_result.IsValid() ? m_result.Detach() : CreateRectRgn(0, 0, 0, 0);
    }

private:
    static const size_t c_flushCount = 2000;

    void Flush()
    {
        if (m_rects.empty())
            return;
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + m_rects.size() * sizeof(RECT));
        RGNDATA* region = reinterpret_cast<RGNDATA*>(data.data());
        region->rdh.dwSize = sizeof(RGNDATAHEADER);
        region->rdh.iType = RDH_RECTANGLES;
        region->rdh.nCount = static_cast<DWORD>(m_rects.size());
        region->rdh.nRgnSize = static_cast<DWORD>(m_rects.size() * sizeof(RECT));
        RECT bounds = m_rects.front();
        for (const RECT& r : m_rects) {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        region->rdh.rcBound = bounds;
        memcpy(region->Buffer, m_rects.data(), m_rects.size() * sizeof(RECT));
        HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
        m_rects.clear();
        if (!part)
            return;
        if (!m_result.IsValid()) {
            m_result.Reset(part);
        } else {
            CombineRgn(m_result.Get(), m_result.Get(), part, RGN_OR);
            DeleteObject(part);
        }
    }

    std::vector<RECT> m_rects;
    t_scopedGdiObj<HRGN> m_result;
};

// Runs of pixels for which `in` holds, one top-down row at a time.
template <class t_test>
HRGN ScanRuns(const uint32_t* pixels, int bitmapWidth, int bitmapHeight, int x, int y, int width, int height, t_test in)
{
    t_regionBuilder builder;
    for (int r = 0; r < height; ++r) {
        const uint32_t* row = pixels + static_cast<size_t>(bitmapHeight - y - r - 1) * bitmapWidth + x;
        int c = 0;
        while (c < width) {
            while (c < width && !in(row[c]))
                ++c;
            const int start = c;
            while (c < width && in(row[c]))
                ++c;
            if (c > start)
                builder.AddRun(start, r, c);
        }
    }
    return builder.Finish();
}

}  // namespace

HRGN RegionFromBitmap(const uint32_t* pixels, int bitmapWidth, int bitmapHeight, int x, int y, int width, int height,
                      uint32_t key1, uint32_t key2)
{
    if (!pixels || x < 0 || y < 0)
        return nullptr;
    width = std::min(width, bitmapWidth - x);
    height = std::min(height, bitmapHeight - y);
    if (width < 1 || height < 1)
        return nullptr;
    const uint32_t k1 = ColorRefToArgb(key1), k2 = ColorRefToArgb(key2);
    return ScanRuns(pixels, bitmapWidth, bitmapHeight, x, y, width, height,
                    [k1, k2](uint32_t p) { return p != k1 && p != k2; });
}

HRGN RegionFromAlpha(HDC dc, int width, int height)
{
    t_memDC dib;
    if (!dc || !t_memDC::Create(dib, dc, width, height))
        return nullptr;
    BitBlt(dib.dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    return ScanRuns(dib.Pixels(), width, height, 0, 0, width, height, [](uint32_t p) { return p >= 0x1000000u; });
}
