#include "graphics/paint/resize.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
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

// One pass's weights as floats spread over four lanes, from each target index's first
// non-zero weight.
struct t_passTaps {
    struct t_taps {
        int first, count;
        size_t offset;  // four times this into lanes
    };
    std::vector<t_taps> taps;
    std::vector<float> lanes;
    int span = 0;  // the largest count

    explicit t_passTaps(const t_weightTable& table)
    {
        taps.resize(table.entries.size());
        size_t total = 0;
        for (const t_weightTable::t_entry& e : table.entries)
            total += static_cast<size_t>(e.right - e.firstUsed + 1);
        lanes.resize(total * 4);
        size_t offset = 0;
        for (size_t u = 0; u < table.entries.size(); ++u) {
            const t_weightTable::t_entry& e = table.entries[u];
            const double* w = table.WeightsOf(static_cast<int>(u));
            taps[u] = t_taps{e.firstUsed, e.right - e.firstUsed + 1, offset};
            span = std::max(span, taps[u].count);
            for (int k = e.firstUsed; k <= e.right; ++k, ++offset)
                std::fill_n(lanes.data() + offset * 4, 4, static_cast<float>(w[k - e.left]));
        }
    }
    const float* WeightsOf(const t_taps& t) const { return lanes.data() + t.offset * 4; }
};

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

// A row of pixels as floats, b, g, r, a for each; `out` has room for the width rounded up
// to four pixels.
void RowToFloats(const uint32_t* row, int width, float* out)
{
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < width; x += 4, out += 16) {
        const __m128i four = LoadPixels(row + x, width - x);
        const __m128i lo = _mm_unpacklo_epi8(four, zero), hi = _mm_unpackhi_epi8(four, zero);
        _mm_storeu_ps(out, _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)));
        _mm_storeu_ps(out + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)));
        _mm_storeu_ps(out + 8, _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)));
        _mm_storeu_ps(out + 12, _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero)));
    }
}

// Sums + 0.5, truncated and clamped to 0..255; alpha raised to the largest channel so that
// each pixel stays validly premultiplied.
void PackRow(const float* sums, int width, uint32_t* out)
{
    const __m128 half = _mm_set1_ps(0.5f);
    for (int x = 0; x < width; x += 4, sums += 16) {
        const __m128i lo = _mm_packs_epi32(_mm_cvttps_epi32(_mm_add_ps(_mm_loadu_ps(sums), half)),
                                           _mm_cvttps_epi32(_mm_add_ps(_mm_loadu_ps(sums + 4), half)));
        const __m128i hi = _mm_packs_epi32(_mm_cvttps_epi32(_mm_add_ps(_mm_loadu_ps(sums + 8), half)),
                                           _mm_cvttps_epi32(_mm_add_ps(_mm_loadu_ps(sums + 12), half)));
        const __m128i v = _mm_packus_epi16(lo, hi);  // saturates to 0..255
        // The largest of a pixel's four bytes ends in its lowest byte.
        __m128i m = _mm_max_epu8(v, _mm_srli_epi32(v, 8));
        m = _mm_max_epu8(m, _mm_srli_epi32(m, 16));
        StorePixels(out + x, _mm_or_si128(_mm_and_si128(v, _mm_set1_epi32(0xFFFFFF)), _mm_slli_epi32(m, 24)),
                    width - x);
    }
}

// The sums between the passes as PackRow would leave them but for the rounding: each
// channel clamped to 0..255, alpha raised to the largest channel. Not rounding there keeps
// every result within one unit of the double sums (which round between the passes): a
// channel then differs from theirs by at most half a unit, and the second pass's weights
// add up to little more than one in magnitude.
void SettleRow(float* sums, int width)
{
    const __m128 zero = _mm_setzero_ps(), top = _mm_set1_ps(255.0f);
    const __m128 alphaLane = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
    for (int x = 0; x < width; ++x, sums += 4) {
        const __m128 v = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(sums), zero), top);
        __m128 m = _mm_max_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 1, 0, 3)));
        m = _mm_max_ps(m, _mm_shuffle_ps(m, m, _MM_SHUFFLE(1, 0, 3, 2)));
        _mm_storeu_ps(sums, _mm_or_ps(_mm_andnot_ps(alphaLane, v), _mm_and_ps(alphaLane, m)));
    }
}

// A horizontal pass over one row held as floats: the raw sums of targetLength pixels.
void HorizontalSums(const t_passTaps& pass, const float* row, int targetLength, float* sums)
{
    for (int u = 0; u < targetLength; ++u, sums += 4) {
        const t_passTaps::t_taps& t = pass.taps[u];
        const float* w = pass.WeightsOf(t);
        const float* p = row + static_cast<size_t>(t.first) * 4;
        __m128 s = _mm_setzero_ps();
        for (int k = 0; k < 4 * t.count; k += 4)
            s = _mm_add_ps(s, _mm_mul_ps(_mm_loadu_ps(w + k), _mm_loadu_ps(p + k)));
        _mm_storeu_ps(sums, s);
    }
}

// A vertical pass's target row: rows[k] is its k-th tap's row as floats; the raw sums of
// `columns` pixels, four at a time.
void VerticalSums(const t_passTaps& pass, int v, const float* const* rows, int columns, float* sums)
{
    const t_passTaps::t_taps& t = pass.taps[v];
    const float* w = pass.WeightsOf(t);
    const size_t end = static_cast<size_t>(columns) * 4;
    for (size_t at = 0; at < end; at += 16) {
        __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0;
        for (int k = 0; k < t.count; ++k) {
            const __m128 weight = _mm_loadu_ps(w + 4 * k);
            const float* p = rows[k] + at;
            s0 = _mm_add_ps(s0, _mm_mul_ps(weight, _mm_loadu_ps(p)));
            s1 = _mm_add_ps(s1, _mm_mul_ps(weight, _mm_loadu_ps(p + 4)));
            s2 = _mm_add_ps(s2, _mm_mul_ps(weight, _mm_loadu_ps(p + 8)));
            s3 = _mm_add_ps(s3, _mm_mul_ps(weight, _mm_loadu_ps(p + 12)));
        }
        _mm_storeu_ps(sums + at, s0);
        _mm_storeu_ps(sums + at + 4, s1);
        _mm_storeu_ps(sums + at + 8, s2);
        _mm_storeu_ps(sums + at + 12, s3);
    }
}

// Scratch memory of the calling thread, kept for the thread's life and grown as needed:
// fresh memory costs a page fault per page on first touch, which under some systems costs
// more than the pass itself. Buffers 0..2 per thread, 16-byte aligned, contents undefined.
float* Scratch(int index, size_t floats)
{
    static thread_local std::vector<float> buffers[3];
    std::vector<float>& buffer = buffers[index];
    if (buffer.size() < floats + 4)
        buffer.resize(floats + 4);
    const uintptr_t at = (reinterpret_cast<uintptr_t>(buffer.data()) + 15) & ~uintptr_t(15);
    return reinterpret_cast<float*>(at);
}

// Both passes of one resize, shared by the threads that run its rows. Rows are floats
// (b, g, r, a per pixel), converted from the source once per block of target rows; a
// pass whose lengths are equal has no taps and copies.
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
            RowsOf(firstRow, endRow);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

private:
    static size_t RowFloats(int width) { return (static_cast<size_t>(width) + 3) * 4; }
    uint32_t* TargetRow(int y) const { return target + static_cast<size_t>(y) * targetWidth; }
    const uint32_t* SourceRow(int y) const { return source + static_cast<size_t>(y) * sourceWidth; }

    // The rows the vertical pass reads are source rows y, as floats (vertical first) or
    // through the horizontal pass (horizontal first). A ring holds as many as one target
    // row needs, each made once while the block's target rows move down the source.
    void RowsOf(int firstRow, int endRow) const
    {
        const int ringWidth = verticalFirst || !horizontal ? sourceWidth : targetWidth;
        const int middleWidth = verticalFirst ? sourceWidth : targetWidth;
        float* sums = Scratch(0, RowFloats(std::max(sourceWidth, targetWidth)));
        float* middle = Scratch(1, RowFloats(std::max(sourceWidth, targetWidth)));
        const int slots = vertical ? vertical->span : 0;
        float* ring = Scratch(2, RowFloats(ringWidth) * slots);
        std::vector<int> held(static_cast<size_t>(slots), -1);
        std::vector<const float*> rows(static_cast<size_t>(slots));
        for (int v = firstRow; v < endRow; ++v) {
            if (!vertical) {
                // Only the horizontal pass: source row v to target row v.
                RowToFloats(SourceRow(v), sourceWidth, middle);
                HorizontalSums(*horizontal, middle, targetWidth, sums);
                PackRow(sums, targetWidth, TargetRow(v));
                continue;
            }
            const t_passTaps::t_taps& t = vertical->taps[v];
            for (int k = 0; k < t.count; ++k) {
                const int y = t.first + k, slot = y % slots;
                float* row = ring + RowFloats(ringWidth) * slot;
                if (held[slot] != y) {
                    if (verticalFirst || !horizontal) {
                        RowToFloats(SourceRow(y), sourceWidth, row);
                    } else {
                        RowToFloats(SourceRow(y), sourceWidth, middle);
                        HorizontalSums(*horizontal, middle, targetWidth, row);
                        SettleRow(row, targetWidth);
                    }
                    held[slot] = y;
                }
                rows[k] = row;
            }
            if (!verticalFirst || !horizontal) {
                VerticalSums(*vertical, v, rows.data(), middleWidth, sums);
                PackRow(sums, middleWidth, TargetRow(v));
            } else {
                VerticalSums(*vertical, v, rows.data(), sourceWidth, middle);
                SettleRow(middle, sourceWidth);
                HorizontalSums(*horizontal, middle, targetWidth, sums);
                PackRow(sums, targetWidth, TargetRow(v));
            }
        }
    }
};

// Below this many weighted taps a pass runs on the calling thread alone.
const int64_t c_minParallelTaps = 1 << 18;

// Worker threads for the passes, started on the first large resize and kept for the
// process: starting threads costs more than a pass of a large picture under some systems.
// One pass uses them at a time; a pass that finds them busy runs on its own thread. The
// locks are the system's slim locks and condition variables, which wait without a round
// trip to a server process where the threads library's would not.
class t_passWorkers {
public:
    static t_passWorkers& Shared()
    {
        static t_passWorkers* workers = new t_passWorkers();  // kept for the process
        return *workers;
    }

    int Count() const { return m_count; }

    // Runs job(i) for i in 0..blocks on the workers and the calling thread; false when
    // the workers are busy with another pass (nothing was run then).
    bool Run(int blocks, const std::function<void(int)>& job)
    {
        if (!TryAcquireSRWLockExclusive(&m_busy))
            return false;
        AcquireSRWLockExclusive(&m_lock);
        m_job = &job;
        m_blocks = blocks;
        m_next = 0;
        m_running = 0;
        ++m_generation;
        ReleaseSRWLockExclusive(&m_lock);
        WakeAllConditionVariable(&m_wake);
        RunBlocks();
        AcquireSRWLockExclusive(&m_lock);
        while (m_next < m_blocks || m_running != 0)
            SleepConditionVariableSRW(&m_done, &m_lock, INFINITE, 0);
        m_job = nullptr;
        ReleaseSRWLockExclusive(&m_lock);
        ReleaseSRWLockExclusive(&m_busy);
        return true;
    }

private:
    t_passWorkers()
    {
        const int count = static_cast<int>(std::min(15u, std::max(1u, std::thread::hardware_concurrency()) - 1));
        for (int i = 0; i < count; ++i) {
            try {
                std::thread([this] { Serve(); }).detach();
                ++m_count;
            } catch (const std::system_error&) {
                break;
            }
        }
    }

    // Takes blocks until none is left.
    void RunBlocks()
    {
        AcquireSRWLockExclusive(&m_lock);
        while (m_job && m_next < m_blocks) {
            const int block = m_next++;
            ++m_running;
            const std::function<void(int)>* job = m_job;
            ReleaseSRWLockExclusive(&m_lock);
            (*job)(block);
            AcquireSRWLockExclusive(&m_lock);
            --m_running;
        }
        const bool done = m_next >= m_blocks && m_running == 0;
        ReleaseSRWLockExclusive(&m_lock);
        if (done)
            WakeAllConditionVariable(&m_done);
    }

    void Serve()
    {
        unsigned seen = 0;
        for (;;) {
            AcquireSRWLockExclusive(&m_lock);
            while (m_generation == seen)
                SleepConditionVariableSRW(&m_wake, &m_lock, INFINITE, 0);
            seen = m_generation;
            ReleaseSRWLockExclusive(&m_lock);
            RunBlocks();
        }
    }

    SRWLOCK m_busy = SRWLOCK_INIT, m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_wake = CONDITION_VARIABLE_INIT, m_done = CONDITION_VARIABLE_INIT;
    const std::function<void(int)>* m_job = nullptr;
    int m_blocks = 0, m_next = 0, m_running = 0, m_count = 0;
    unsigned m_generation = 0;
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
