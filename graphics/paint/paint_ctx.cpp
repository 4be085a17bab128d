#include "graphics/paint/paint_ctx.h"

#include <algorithm>

#include <cstring>

namespace {

constexpr long long c_scratchMaxPixels = 1LL << 22;

}  // namespace

t_memDC* ScratchDib(HDC reference, int width, int height)
{
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > c_scratchMaxPixels)
        return nullptr;
    // The thread's growing text DIB, released when the thread ends.
    thread_local t_memDC dib;
    if (dib.dc && dib.width >= width && dib.height >= height)
        return &dib;
    // Grow in steps so a run of slightly larger texts does not remake it each time.
    const int wantWidth = std::max(dib.dc ? dib.width : 0, (width + 63) / 64 * 64);
    const int wantHeight = std::max(dib.dc ? dib.height : 0, (height + 31) / 32 * 32);
    if (static_cast<long long>(wantWidth) * wantHeight > c_scratchMaxPixels ||
        !t_memDC::Create(dib, reference, wantWidth, wantHeight))
        return t_memDC::Create(dib, reference, width, height) ? &dib : nullptr;
    return &dib;
}

namespace {

// The thread's pool of exact-size DIBs; the least recently used free one makes room.
struct t_dibPool {
    struct t_entry {
        t_memDC dib;
        bool busy = false;
        unsigned long long lastUse = 0;
    };
    static constexpr int c_entries = 12;
    static constexpr long long c_maxPixels = 1LL << 21;
    t_entry entries[c_entries];
    unsigned long long clock = 0;
};

t_dibPool& DibPool()
{
    thread_local t_dibPool pool;
    return pool;
}

}  // namespace

t_scratchDib::t_scratchDib(HDC reference, int width, int height) : m_dib(nullptr), m_entry(-1), m_savedState(0)
{
    if (width <= 0 || height <= 0)
        return;
    if (static_cast<long long>(width) * height <= t_dibPool::c_maxPixels) {
        t_dibPool& pool = DibPool();
        int chosen = -1, spare = -1;
        for (int i = 0; i < t_dibPool::c_entries; ++i) {
            t_dibPool::t_entry& e = pool.entries[i];
            if (e.busy)
                continue;
            if (e.dib.dc && e.dib.width == width && e.dib.height == height) {
                chosen = i;
                break;
            }
            // An empty entry first, else the least recently used one.
            const bool better =
                spare < 0 || (pool.entries[spare].dib.dc && (!e.dib.dc || e.lastUse < pool.entries[spare].lastUse));
            if (better)
                spare = i;
        }
        if (chosen >= 0) {
            memset(pool.entries[chosen].dib.bits, 0, static_cast<size_t>(width) * height * 4);
        } else if (spare >= 0 && t_memDC::Create(pool.entries[spare].dib, reference, width, height)) {
            chosen = spare;
        }
        if (chosen >= 0) {
            t_dibPool::t_entry& e = pool.entries[chosen];
            e.busy = true;
            e.lastUse = ++pool.clock;
            m_entry = chosen;
            m_dib = &e.dib;
            m_savedState = SaveDC(e.dib.dc);
            return;
        }
    }
    if (t_memDC::Create(m_own, reference, width, height))
        m_dib = &m_own;
}

t_scratchDib::~t_scratchDib()
{
    if (m_entry >= 0) {
        t_dibPool::t_entry& e = DibPool().entries[m_entry];
        if (m_savedState)
            RestoreDC(e.dib.dc, m_savedState);
        e.busy = false;
    }
}

t_paintCtx::t_paintCtx(HDC dc, bool alphaTarget, t_memDC* target, bool themedText)
    : m_alphaTarget(alphaTarget ? 1 : 0), m_themedText(themedText ? 1 : 0), m_dc(dc), m_target(target)
{
    if (dc)
        SetBkMode(dc, TRANSPARENT);
}

void t_paintCtx::SetCreatedObject(HGDIOBJ object)
{
    if (m_created && m_created != object)
        DeleteObject(m_created);
    m_created = object;
}

void t_paintCtx::SaveClip()
{
    if (m_clipSaved || !m_dc)
        return;
    m_clipSaved = true;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    // GetClipRgn answers 0 when the DC has no clip region: End then removes clipping.
    if (region && GetClipRgn(m_dc, region) == 1) {
        m_savedClip = region;
    } else if (region) {
        DeleteObject(region);
    }
}

BOOL t_paintCtx::End()
{
    BOOL result = TRUE;
    if (!m_dc)
        return result;
    // A context without a saved region ends unclipped.
    SelectClipRgn(m_dc, m_savedClip);
    if (m_created)
        DeleteObject(m_created);
    if (m_savedClip)
        DeleteObject(m_savedClip);
    m_created = nullptr;
    m_savedClip = nullptr;
    m_clipSaved = false;
    if (m_previous) {
        SelectObject(m_dc, m_previous);
        result = DeleteDC(m_dc);
        m_previous = nullptr;
        m_dc = nullptr;
    }
    return result;
}
