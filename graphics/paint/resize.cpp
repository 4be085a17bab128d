#include "graphics/paint/resize.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
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

// One pass's weights from each target index's first non-zero weight: as the table has
// them (doubles) and as floats spread over four lanes.
struct t_passTaps {
    struct t_taps {
        int first, count;
        size_t offset;  // into exact; four times this into lanes
    };
    std::vector<t_taps> taps;
    std::vector<double> exact;
    std::vector<float> lanes;
    int span = 0;  // the largest count

    explicit t_passTaps(const t_weightTable& table)
    {
        taps.resize(table.entries.size());
        size_t total = 0;
        for (const t_weightTable::t_entry& e : table.entries)
            total += static_cast<size_t>(e.right - e.firstUsed + 1);
        exact.resize(total);
        lanes.resize(total * 4);
        size_t offset = 0;
        for (size_t u = 0; u < table.entries.size(); ++u) {
            const t_weightTable::t_entry& e = table.entries[u];
            const double* w = table.WeightsOf(static_cast<int>(u));
            taps[u] = t_taps{e.firstUsed, e.right - e.firstUsed + 1, offset};
            span = std::max(span, taps[u].count);
            for (int k = e.firstUsed; k <= e.right; ++k, ++offset) {
                exact[offset] = w[k - e.left];
                std::fill_n(lanes.data() + offset * 4, 4, static_cast<float>(w[k - e.left]));
            }
        }
    }
};

// A pixel's four bytes as doubles: blue and green in bg, red and alpha in ra.
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

// Four pixels (16 bytes) as floats: b, g, r, a in the lanes of each.
inline void PixelsToFloats(__m128i four, __m128& p0, __m128& p1, __m128& p2, __m128& p3)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_unpacklo_epi8(four, zero), hi = _mm_unpackhi_epi8(four, zero);
    p0 = _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero));
    p1 = _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero));
    p2 = _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero));
    p3 = _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero));
}

// Four pixels' sums + 0.5, truncated and clamped to 0..255; alpha raised to the largest
// channel, as PackPixel does.
inline __m128i PackFour(__m128 s0, __m128 s1, __m128 s2, __m128 s3)
{
    const __m128 half = _mm_set1_ps(0.5f);
    const __m128i lo = _mm_packs_epi32(_mm_cvttps_epi32(_mm_add_ps(s0, half)), _mm_cvttps_epi32(_mm_add_ps(s1, half)));
    const __m128i hi = _mm_packs_epi32(_mm_cvttps_epi32(_mm_add_ps(s2, half)), _mm_cvttps_epi32(_mm_add_ps(s3, half)));
    const __m128i v = _mm_packus_epi16(lo, hi);  // saturates to 0..255
    // The largest of a pixel's four bytes ends in its lowest byte.
    __m128i m = _mm_max_epu8(v, _mm_srli_epi32(v, 8));
    m = _mm_max_epu8(m, _mm_srli_epi32(m, 16));
    return _mm_or_si128(_mm_and_si128(v, _mm_set1_epi32(0xFFFFFF)), _mm_slli_epi32(m, 24));
}

// Up to four pixels from memory, the rest zero.
inline __m128i LoadPixels(const uint32_t* p, int count)
{
    if (count >= 4)
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    uint32_t four[4] = {0, 0, 0, 0};
    std::copy(p, p + count, four);
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(four));
}

inline void StorePixels(uint32_t* p, __m128i v, int count)
{
    if (count >= 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        return;
    }
    uint32_t four[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(four), v);
    std::copy(four, four + count, p);
}

// A row of pixels as floats, four per pixel (b, g, r, a); `out` has room for the width
// rounded up to four pixels.
void RowToFloats(const uint32_t* row, int width, float* out)
{
    for (int x = 0; x < width; x += 4, out += 16) {
        __m128 p0, p1, p2, p3;
        PixelsToFloats(LoadPixels(row + x, width - x), p0, p1, p2, p3);
        _mm_storeu_ps(out, p0);
        _mm_storeu_ps(out + 4, p1);
        _mm_storeu_ps(out + 8, p2);
        _mm_storeu_ps(out + 12, p3);
    }
}

// The first pass of a resize runs in doubles, so that the picture between the passes is
// exactly the double sums' (many sums of smooth pictures lie on a rounding edge, and a
// pixel rounded the other way there would move the second pass's sums by up to a unit).
// The second pass sums floats over four lanes: within one unit of the double sums.

// One row of a horizontal pass in doubles: row holds the source pixels as doubles.
void ExactHorizontalRow(const t_passTaps& pass, const double* row, int targetLength, uint32_t* out)
{
    for (int u = 0; u < targetLength; ++u) {
        const t_passTaps::t_taps& t = pass.taps[u];
        const double* w = pass.exact.data() + t.offset;
        const double* p = row + static_cast<size_t>(t.first) * 4;
        __m128d bg = _mm_setzero_pd(), ra = _mm_setzero_pd();
        for (int k = 0; k < t.count; ++k, p += 4) {
            const __m128d weight = _mm_set1_pd(w[k]);
            bg = _mm_add_pd(bg, _mm_mul_pd(weight, _mm_loadu_pd(p)));
            ra = _mm_add_pd(ra, _mm_mul_pd(weight, _mm_loadu_pd(p + 2)));
        }
        out[u] = PackPixel(bg, ra);
    }
}

// Target row v of a vertical pass in doubles over `columns` columns of the source.
void ExactVerticalRow(const t_passTaps& pass, const uint32_t* source, int columns, int v, uint32_t* out)
{
    const t_passTaps::t_taps& t = pass.taps[v];
    const double* w = pass.exact.data() + t.offset;
    const uint32_t* first = source + static_cast<size_t>(t.first) * columns;
    for (int x = 0; x < columns; ++x) {
        __m128d bg = _mm_setzero_pd(), ra = _mm_setzero_pd();
        const uint32_t* p = first + x;
        for (int k = 0; k < t.count; ++k, p += columns) {
            const __m128d weight = _mm_set1_pd(w[k]);
            __m128d pbg, pra;
            PixelToDoubles(*p, pbg, pra);
            bg = _mm_add_pd(bg, _mm_mul_pd(weight, pbg));
            ra = _mm_add_pd(ra, _mm_mul_pd(weight, pra));
        }
        out[x] = PackPixel(bg, ra);
    }
}

// One row of a horizontal pass in floats: row holds the source pixels as floats.
void FloatHorizontalRow(const t_passTaps& pass, const float* row, int targetLength, uint32_t* out)
{
    for (int u = 0; u < targetLength; u += 4) {
        const int count = std::min(4, targetLength - u);
        __m128 s[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
        for (int i = 0; i < count; ++i) {
            const t_passTaps::t_taps& t = pass.taps[u + i];
            const float* w = pass.lanes.data() + t.offset * 4;
            const float* p = row + static_cast<size_t>(t.first) * 4;
            for (int k = 0; k < 4 * t.count; k += 4)
                s[i] = _mm_add_ps(s[i], _mm_mul_ps(_mm_loadu_ps(w + k), _mm_loadu_ps(p + k)));
        }
        StorePixels(out + u, PackFour(s[0], s[1], s[2], s[3]), count);
    }
}

// One target row of a vertical pass in floats: rows[k] is the k-th tap's row as floats.
void FloatVerticalRow(const t_passTaps::t_taps& t, const float* weights, const float* const* rows, int columns,
                      uint32_t* out)
{
    int x = 0;
    for (; x + 4 <= columns; x += 4) {
        __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0;
        const size_t at = static_cast<size_t>(x) * 4;
        for (int k = 0; k < t.count; ++k) {
            const __m128 w = _mm_loadu_ps(weights + 4 * k);
            const float* p = rows[k] + at;
            s0 = _mm_add_ps(s0, _mm_mul_ps(w, _mm_loadu_ps(p)));
            s1 = _mm_add_ps(s1, _mm_mul_ps(w, _mm_loadu_ps(p + 4)));
            s2 = _mm_add_ps(s2, _mm_mul_ps(w, _mm_loadu_ps(p + 8)));
            s3 = _mm_add_ps(s3, _mm_mul_ps(w, _mm_loadu_ps(p + 12)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), PackFour(s0, s1, s2, s3));
    }
    if (x < columns) {
        __m128 s[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
        for (int i = 0; x + i < columns; ++i) {
            for (int k = 0; k < t.count; ++k)
                s[i] = _mm_add_ps(s[i], _mm_mul_ps(_mm_loadu_ps(weights + 4 * k),
                                                   _mm_loadu_ps(rows[k] + static_cast<size_t>(x + i) * 4)));
        }
        StorePixels(out + x, PackFour(s[0], s[1], s[2], s[3]), columns - x);
    }
}

// Scratch memory of the calling thread, kept for the thread's life and grown as needed:
// fresh memory costs a page fault per page on first touch, which under some systems costs
// more than the pass itself. Three buffers per thread (index 0..2); the contents are left
// as the last user left them.
template <class T>
T* Scratch(int index, size_t count)
{
    static thread_local std::vector<unsigned char> buffers[3];
    std::vector<unsigned char>& buffer = buffers[index];
    if (buffer.size() < count * sizeof(T) + 16)
        buffer.resize(count * sizeof(T) + 16);
    // 16-byte aligned (the vector's own block may be aligned to 8 only).
    const uintptr_t at = (reinterpret_cast<uintptr_t>(buffer.data()) + 15) & ~uintptr_t(15);
    return reinterpret_cast<T*>(at);
}

// The two passes of one resize, made for one call and shared by the threads that run
// its rows. A pass whose lengths are equal has no taps: it copies.
struct t_resizeJob {
    const uint32_t* source;
    int sourceWidth, sourceHeight;
    uint32_t* target;
    int targetWidth, targetHeight;
    bool verticalFirst;
    std::unique_ptr<t_passTaps> horizontal, vertical;  // null for a copying pass

    // Target rows firstRow..endRow; false when memory runs out.
    bool Rows(int firstRow, int endRow) const
    {
        try {
            return verticalFirst ? VerticalFirstRows(firstRow, endRow) : HorizontalFirstRows(firstRow, endRow);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

private:
    uint32_t* TargetRow(int y) const { return target + static_cast<size_t>(y) * targetWidth; }
    const uint32_t* SourceRow(int y) const { return source + static_cast<size_t>(y) * sourceWidth; }

    // Each target row comes from one row between the passes: the vertical pass's row v
    // (or source row v), then the horizontal pass of it.
    bool VerticalFirstRows(int firstRow, int endRow) const
    {
        uint32_t* middle = Scratch<uint32_t>(0, vertical ? static_cast<size_t>(sourceWidth) : 0);
        float* floats = Scratch<float>(1, horizontal ? (static_cast<size_t>(sourceWidth) + 3) * 4 : 0);
        for (int v = firstRow; v < endRow; ++v) {
            const uint32_t* row = SourceRow(v);
            if (vertical) {
                ExactVerticalRow(*vertical, source, sourceWidth, v, middle);
                row = middle;
            }
            if (horizontal) {
                RowToFloats(row, sourceWidth, floats);
                FloatHorizontalRow(*horizontal, floats, targetWidth, TargetRow(v));
            } else {
                std::copy(row, row + targetWidth, TargetRow(v));
            }
        }
        return true;
    }

    // Target row v takes the vertical pass over rows of the horizontal pass's result; those
    // rows are made once for this block of target rows, into a ring that holds as many as
    // one target row needs.
    bool HorizontalFirstRows(int firstRow, int endRow) const
    {
        double* doubles = Scratch<double>(0, horizontal ? static_cast<size_t>(sourceWidth) * 4 : 0);
        uint32_t* middle = Scratch<uint32_t>(1, horizontal ? static_cast<size_t>(targetWidth) : 0);
        if (!vertical) {
            for (int v = firstRow; v < endRow; ++v)
                ExactRowOf(v, doubles, TargetRow(v));
            return true;
        }
        const int slots = vertical->span;
        const size_t stride = (static_cast<size_t>(targetWidth) + 3) * 4;
        float* ring = Scratch<float>(2, stride * slots);
        std::vector<int> held(static_cast<size_t>(slots), -1);
        std::vector<const float*> rows(static_cast<size_t>(slots));
        for (int v = firstRow; v < endRow; ++v) {
            const t_passTaps::t_taps& t = vertical->taps[v];
            for (int k = 0; k < t.count; ++k) {
                const int y = t.first + k, slot = y % slots;
                float* row = ring + stride * slot;
                if (held[slot] != y) {
                    const uint32_t* pixels = SourceRow(y);
                    if (horizontal) {
                        ExactRowOf(y, doubles, middle);
                        pixels = middle;
                    }
                    RowToFloats(pixels, targetWidth, row);
                    held[slot] = y;
                }
                rows[k] = row;
            }
            FloatVerticalRow(t, vertical->lanes.data() + t.offset * 4, rows.data(), targetWidth, TargetRow(v));
        }
        return true;
    }

    // Source row y through the horizontal pass in doubles.
    void ExactRowOf(int y, double* doubles, uint32_t* out) const
    {
        const uint32_t* row = SourceRow(y);
        for (int x = 0; x < sourceWidth; ++x) {
            __m128d bg, ra;
            PixelToDoubles(row[x], bg, ra);
            _mm_storeu_pd(doubles + 4 * x, bg);
            _mm_storeu_pd(doubles + 4 * x + 2, ra);
        }
        ExactHorizontalRow(*horizontal, doubles, targetWidth, out);
    }
};

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
    t_resizeJob job = {source, sourceWidth, sourceHeight, target, targetWidth, targetHeight, false, nullptr, nullptr};
    job.verticalFirst =
        static_cast<int64_t>(targetHeight) * sourceWidth < static_cast<int64_t>(targetWidth) * sourceHeight;
    int64_t taps = 0;
    try {
        t_weightTable table;
        if (targetWidth != sourceWidth) {
            if (!table.Build(filter, sourceWidth, targetWidth))
                return false;
            job.horizontal.reset(new t_passTaps(table));
            taps += int64_t(targetWidth) * (job.verticalFirst ? targetHeight : sourceHeight) * table.window;
        }
        if (targetHeight != sourceHeight) {
            if (!table.Build(filter, sourceHeight, targetHeight))
                return false;
            job.vertical.reset(new t_passTaps(table));
            taps += int64_t(targetHeight) * (job.verticalFirst ? sourceWidth : targetWidth) * table.window;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!job.horizontal && !job.vertical) {
        memcpy(target, source, static_cast<size_t>(sourceWidth) * sourceHeight * 4);
        return true;
    }
    return ForRowBlocks(targetHeight, taps, [&job](int first, int end) { return job.Rows(first, end); });
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
