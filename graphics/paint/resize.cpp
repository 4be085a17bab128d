#include "graphics/paint/resize.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#include "foundation/win/scoped_win.h"
#include "graphics/image/image.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"

namespace {

const double c_b = 1.0 / 3.0;
const double c_c = 1.0 / 3.0;
const double c_p0 = (6.0 - 2.0 * c_b) / 6.0;
const double c_p2 = (-18.0 + 12.0 * c_b + 6.0 * c_c) / 6.0;
const double c_p3 = (12.0 - 9.0 * c_b - 6.0 * c_c) / 6.0;
const double c_q0 = (8.0 * c_b + 24.0 * c_c) / 6.0;
const double c_q1 = (-12.0 * c_b - 48.0 * c_c) / 6.0;
const double c_q2 = (6.0 * c_b + 30.0 * c_c) / 6.0;
const double c_q3 = (-c_b - 6.0 * c_c) / 6.0;

// A pixel's four bytes as doubles: blue and green in bg, red and alpha in ra. Exact, so
// the sums below are the same whichever way the bytes were widened.
inline void PixelToDoubles(uint32_t p, __m128d& bg, __m128d& ra)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), zero), zero);
    bg = _mm_cvtepi32_pd(v);
    ra = _mm_cvtepi32_pd(_mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
}

// Sums + 0.5, truncated and clamped to 0..255; alpha raised to the largest channel so that
// the pixel stays validly premultiplied.
inline uint32_t PackPixel(__m128d bg, __m128d ra)
{
    const __m128d half = _mm_set1_pd(0.5);
    const __m128i lo = _mm_cvttpd_epi32(_mm_add_pd(bg, half));  // b, g
    const __m128i hi = _mm_cvttpd_epi32(_mm_add_pd(ra, half));  // r, a
    __m128i v = _mm_unpacklo_epi64(lo, hi);                     // b, g, r, a as int32
    v = _mm_packs_epi32(v, v);
    v = _mm_packus_epi16(v, v);  // saturates to 0..255
    const uint32_t p = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    const uint32_t b = p & 0xFF, g = p >> 8 & 0xFF, r = p >> 16 & 0xFF, a = p >> 24;
    const uint32_t alpha = std::max(std::max(a, b), std::max(g, r));
    return alpha << 24 | (p & 0xFFFFFF);
}

// Source row as doubles (b, g, r, a per pixel), converted once for all its taps.
void RowToDoubles(const uint32_t* row, int width, double* out)
{
    for (int x = 0; x < width; ++x) {
        __m128d bg, ra;
        PixelToDoubles(row[x], bg, ra);
        _mm_storeu_pd(out + 4 * x, bg);
        _mm_storeu_pd(out + 4 * x + 2, ra);
    }
}

// Rows firstRow..endRow of the horizontal pass: sourceWidth pixels each into targetWidth.
bool HorizontalRows(const t_weightTable& table, const uint32_t* source, int sourceWidth, int firstRow, int endRow,
                    uint32_t* target, int targetWidth)
{
    std::vector<double> row;
    try {
        row.resize(static_cast<size_t>(sourceWidth) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = firstRow; y < endRow; ++y) {
        RowToDoubles(source + static_cast<size_t>(y) * sourceWidth, sourceWidth, row.data());
        uint32_t* out = target + static_cast<size_t>(y) * targetWidth;
        for (int u = 0; u < targetWidth; ++u) {
            const t_weightTable::t_entry& e = table.entries[u];
            const double* w = table.WeightsOf(u);
            __m128d bg = _mm_setzero_pd(), ra = _mm_setzero_pd();
            for (int k = e.firstUsed; k <= e.right; ++k) {
                const __m128d weight = _mm_set1_pd(w[k - e.left]);
                const double* p = row.data() + 4 * k;
                bg = _mm_add_pd(bg, _mm_mul_pd(weight, _mm_loadu_pd(p)));
                ra = _mm_add_pd(ra, _mm_mul_pd(weight, _mm_loadu_pd(p + 2)));
            }
            out[u] = PackPixel(bg, ra);
        }
    }
    return true;
}

// Target rows firstRow..endRow of the vertical pass over `columns` columns.
bool VerticalRows(const t_weightTable& table, const uint32_t* source, int columns, uint32_t* target, int firstRow,
                  int endRow)
{
    std::vector<double> sums;
    try {
        sums.resize(static_cast<size_t>(columns) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int v = firstRow; v < endRow; ++v) {
        const t_weightTable::t_entry& e = table.entries[v];
        const double* w = table.WeightsOf(v);
        std::fill(sums.begin(), sums.end(), 0.0);
        for (int k = e.firstUsed; k <= e.right; ++k) {
            const __m128d weight = _mm_set1_pd(w[k - e.left]);
            const uint32_t* row = source + static_cast<size_t>(k) * columns;
            double* s = sums.data();
            for (int x = 0; x < columns; ++x, s += 4) {
                __m128d bg, ra;
                PixelToDoubles(row[x], bg, ra);
                _mm_storeu_pd(s, _mm_add_pd(_mm_loadu_pd(s), _mm_mul_pd(weight, bg)));
                _mm_storeu_pd(s + 2, _mm_add_pd(_mm_loadu_pd(s + 2), _mm_mul_pd(weight, ra)));
            }
        }
        uint32_t* out = target + static_cast<size_t>(v) * columns;
        const double* s = sums.data();
        for (int x = 0; x < columns; ++x, s += 4)
            out[x] = PackPixel(_mm_loadu_pd(s), _mm_loadu_pd(s + 2));
    }
    return true;
}

// Below this many weighted taps a pass runs on the calling thread alone.
const int64_t c_minParallelTaps = 1 << 18;

// Worker threads for the passes, started on the first large resize and kept for the
// process: starting threads costs more than a pass of a large picture under some systems.
// One pass uses them at a time; a pass that finds them busy runs on its own thread.
class t_passWorkers {
public:
    static t_passWorkers& Shared()
    {
        static t_passWorkers* workers = new t_passWorkers();  // kept for the process
        return *workers;
    }

    int Count() const { return static_cast<int>(m_threads.size()); }

    // Runs job(i) for i in 0..blocks on the workers and the calling thread; false when
    // the workers are busy with another pass (nothing was run then).
    bool Run(int blocks, const std::function<void(int)>& job)
    {
        std::unique_lock<std::mutex> busy(m_busy, std::try_to_lock);
        if (!busy.owns_lock())
            return false;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_job = &job;
            m_blocks = blocks;
            m_next = 0;
            m_running = 0;
            ++m_generation;
        }
        m_wake.notify_all();
        RunBlocks();
        std::unique_lock<std::mutex> lock(m_lock);
        m_done.wait(lock, [this] { return m_next >= m_blocks && m_running == 0; });
        m_job = nullptr;
        return true;
    }

private:
    t_passWorkers()
    {
        const unsigned count = std::min(15u, std::max(1u, std::thread::hardware_concurrency()) - 1);
        for (unsigned i = 0; i < count; ++i) {
            try {
                m_threads.emplace_back([this] { Serve(); });
                m_threads.back().detach();
            } catch (const std::system_error&) {
                break;
            }
        }
    }

    // Takes blocks until none is left.
    void RunBlocks()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        while (m_job && m_next < m_blocks) {
            const int block = m_next++;
            ++m_running;
            const std::function<void(int)>* job = m_job;
            lock.unlock();
            (*job)(block);
            lock.lock();
            --m_running;
        }
        if (m_next >= m_blocks && m_running == 0)
            m_done.notify_all();
    }

    void Serve()
    {
        unsigned seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_lock);
                m_wake.wait(lock, [this, seen] { return m_generation != seen; });
                seen = m_generation;
            }
            RunBlocks();
        }
    }

    std::mutex m_busy, m_lock;
    std::condition_variable m_wake, m_done;
    const std::function<void(int)>* m_job = nullptr;
    int m_blocks = 0, m_next = 0, m_running = 0;
    unsigned m_generation = 0;
    std::vector<std::thread> m_threads;
};

// Runs work(first, end) over rows 0..rows in blocks spread over the workers; false when
// any block failed.
template <class F>
bool ForRowBlocks(int rows, int64_t taps, F&& work)
{
    if (taps < c_minParallelTaps || rows < 2)
        return work(0, rows);
    t_passWorkers& workers = t_passWorkers::Shared();
    // A few blocks per thread even out threads that the system runs late.
    const int blocks = std::min(rows, (workers.Count() + 1) * 4);
    if (workers.Count() == 0 || blocks < 2)
        return work(0, rows);
    std::atomic<bool> ok{true};
    const std::function<void(int)> job = [&](int i) {
        if (!work(static_cast<int>(int64_t(rows) * i / blocks), static_cast<int>(int64_t(rows) * (i + 1) / blocks)))
            ok = false;
    };
    if (!workers.Run(blocks, job))
        return work(0, rows);
    return ok;
}

bool Pass(const CGenericFilter& filter, bool horizontal, const uint32_t* source, int sourceWidth, int sourceHeight,
          uint32_t* target, int targetLength)
{
    const int sourceLength = horizontal ? sourceWidth : sourceHeight;
    if (sourceLength == targetLength) {
        memcpy(target, source, static_cast<size_t>(sourceWidth) * sourceHeight * 4);
        return true;
    }
    t_weightTable table;
    try {
        if (!table.Build(filter, sourceLength, targetLength))
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (horizontal) {
        const int64_t taps = int64_t(targetLength) * sourceHeight * table.window;
        return ForRowBlocks(sourceHeight, taps, [&](int first, int end) {
            return HorizontalRows(table, source, sourceWidth, first, end, target, targetLength);
        });
    }
    const int64_t taps = int64_t(targetLength) * sourceWidth * table.window;
    return ForRowBlocks(targetLength, taps, [&](int first, int end) {
        return VerticalRows(table, source, sourceWidth, target, first, end);
    });
}

// AlphaBlend of the whole source into a new DIB of the target size.
HBITMAP SimpleScale(HBITMAP source, int sourceWidth, int sourceHeight, int width, int height)
{
    uint32_t* bits = nullptr;
    HBITMAP result = CreateDib32(width, height, &bits);
    if (!result)
        return nullptr;
    bool ok = false;
    {
        const t_autoDeleteDC from(CreateCompatibleDC(nullptr));
        const t_autoDeleteDC to(CreateCompatibleDC(nullptr));
        if (from.IsValid() && to.IsValid()) {
            const t_scopedSelectObject fromSelected(from.Get(), source);
            const t_scopedSelectObject toSelected(to.Get(), result);
            const BLENDFUNCTION function = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ok = AlphaBlend(to.Get(), 0, 0, width, height, from.Get(), 0, 0, sourceWidth, sourceHeight, function) != 0;
        }
    }
    if (!ok) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}

}  // namespace

double CBicubicFilter::Filter(double x) const
{
    const double ax = std::fabs(x);
    if (ax < 1.0)
        return c_p0 + c_p2 * x * x + c_p3 * ax * ax * ax;
    if (ax < 2.0)
        return c_q0 + c_q1 * ax + c_q2 * x * x + c_q3 * ax * ax * ax;
    return 0.0;
}

double CBoxFilter::Filter(double x) const { return std::fabs(x) <= Width() ? 1.0 : 0.0; }

bool t_weightTable::Build(const CGenericFilter& filter, int sourceLength, int targetLength)
{
    if (sourceLength <= 0 || targetLength <= 0)
        return false;
    const double scale = static_cast<double>(targetLength) / static_cast<double>(sourceLength);
    double width = filter.Width();
    double fscale = 1.0;
    if (scale < 1.0) {
        width = filter.Width() / scale;
        fscale = scale;
    }
    window = 2 * static_cast<int>(std::ceil(width)) + 1;
    entries.assign(static_cast<size_t>(targetLength), t_entry{});
    weights.assign(static_cast<size_t>(targetLength) * window, 0.0);
    for (int u = 0; u < targetLength; ++u) {
        const double centre = u / scale + (0.5 / scale - 0.5);
        int left = std::max(0, static_cast<int>(std::floor(centre - width)));
        int right = std::min(static_cast<int>(std::ceil(centre + width)), sourceLength - 1);
        if (right - left + 1 > window)
            ++left;
        double* w = weights.data() + static_cast<size_t>(u) * window;
        double total = 0.0;
        for (int k = left; k <= right; ++k) {
            w[k - left] = fscale * filter.Filter(fscale * (centre - k));
            total += w[k - left];
        }
        if (total > 0.0 && total != 1.0) {
            for (int k = left; k <= right; ++k)
                w[k - left] /= total;
            while (right > left && w[right - left] == 0.0)
                --right;
        }
        int first = left;
        // Zero weights add nothing to a sum: the pass starts at the first non-zero one.
        while (first < right && w[first - left] == 0.0)
            ++first;
        entries[u] = t_entry{left, right, first};
    }
    return true;
}

bool ResizePixels(const CGenericFilter& filter, const uint32_t* source, int sourceWidth, int sourceHeight,
                  uint32_t* target, int targetWidth, int targetHeight)
{
    if (!source || !target || sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return false;
    const bool verticalFirst =
        static_cast<int64_t>(targetHeight) * sourceWidth < static_cast<int64_t>(targetWidth) * sourceHeight;
    std::vector<uint32_t> middle;
    try {
        middle.resize(verticalFirst ? static_cast<size_t>(sourceWidth) * targetHeight
                                    : static_cast<size_t>(targetWidth) * sourceHeight);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (verticalFirst) {
        return Pass(filter, false, source, sourceWidth, sourceHeight, middle.data(), targetHeight) &&
               Pass(filter, true, middle.data(), sourceWidth, targetHeight, target, targetWidth);
    }
    return Pass(filter, true, source, sourceWidth, sourceHeight, middle.data(), targetWidth) &&
           Pass(filter, false, middle.data(), targetWidth, sourceHeight, target, targetHeight);
}

HBITMAP CResizeEngine::Scale(HBITMAP source, int width, int height)
{
    int sw = 0, sh = 0;
    const uint32_t* pixels = ReadablePixels(t_bitmapRef{t_bitmapRef::e_handle, source, 0, 0}, sw, sh);
    if (!pixels || !m_filter || width <= 0 || height <= 0)
        return nullptr;
    uint32_t* bits = nullptr;
    HBITMAP result = CreateDib32(width, height, &bits);
    if (!result)
        return nullptr;
    if (!ResizePixels(*m_filter, pixels, sw, sh, bits, width, height)) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}

HBITMAP ResizeBitmap(HBITMAP bitmap, uint32_t colorKey, int width, int height, bool exactKey, bool bicubic)
{
    int sw = 0, sh = 0;
    uint32_t* pixels = const_cast<uint32_t*>(ReadablePixels(t_bitmapRef{t_bitmapRef::e_handle, bitmap, 0, 0}, sw, sh));
    // Sizes are checked before the source is touched: a refused resize leaves it as it was.
    if (!pixels || width <= 0 || height <= 0)
        return nullptr;
    if (colorKey != c_noColorKey)
        ApplyColorKey(colorKey, sh, sw, pixels, exactKey);
    HBITMAP result = nullptr;
    if (bicubic) {
        CBicubicFilter filter;
        CResizeEngine engine(&filter);
        result = engine.Scale(bitmap, width, height);
    } else {
        result = SimpleScale(bitmap, sw, sh, width, height);
    }
    if (result)
        DeleteObject(bitmap);
    return result;
}
