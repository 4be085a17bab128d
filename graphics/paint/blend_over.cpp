#include "graphics/paint/blend_over.h"

#include <emmintrin.h>

#include <algorithm>
#include <vector>

namespace {

// round(x / 255) for 0 <= x <= 255 x 255, in each 16-bit lane: (x + 128) x 257 >> 16.
inline __m128i Div255(__m128i x) { return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257)); }

// Each pixel's alpha lane copied into its four lanes (two pixels of 16-bit lanes).
inline __m128i AlphaLanes(__m128i pixels) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF); }

// s + t x (255 - a) / 255 for two pixels in 16-bit lanes; c255 holds 255 in every lane.
inline __m128i Over(__m128i s, __m128i t, __m128i c255)
{
    const __m128i keep = _mm_sub_epi16(c255, AlphaLanes(s));
    return _mm_add_epi16(s, Div255(_mm_mullo_epi16(t, keep)));
}

// Four pixels at full constant alpha: opaque sources are copied, empty ones leave the
// target, the rest are blended.
inline __m128i Over4(__m128i s, __m128i t)
{
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i zero = _mm_setzero_si128();
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask)) == 0xFFFF)
        return s;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF)
        return t;
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i lo = Over(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(t, zero), c255);
    const __m128i hi = Over(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(t, zero), c255);
    return _mm_packus_epi16(lo, hi);
}

// Four pixels with the source scaled by a constant alpha (in every 16-bit lane of ca).
inline __m128i Over4Scaled(__m128i s, __m128i t, __m128i ca)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i slo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), ca));
    const __m128i shi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), ca));
    const __m128i lo = Over(slo, _mm_unpacklo_epi8(t, zero), c255);
    const __m128i hi = Over(shi, _mm_unpackhi_epi8(t, zero), c255);
    return _mm_packus_epi16(lo, hi);
}

// The last one to three pixels go through a four-pixel buffer.
template <class F>
void BlendTail(uint32_t* target, const uint32_t* source, int count, F&& blend)
{
    alignas(16) uint32_t s[4] = {}, t[4] = {};
    std::copy(source, source + count, s);
    std::copy(target, target + count, t);
    const __m128i out =
        blend(_mm_load_si128(reinterpret_cast<const __m128i*>(s)), _mm_load_si128(reinterpret_cast<const __m128i*>(t)));
    _mm_store_si128(reinterpret_cast<__m128i*>(t), out);
    std::copy(t, t + count, target);
}

// Source index shown at destination index i of `dest` when `part` pixels are enlarged:
// the pixel under the destination pixel's centre, ties to the lower index.
inline int NearestSource(int i, int part, int dest)
{
    return static_cast<int>((int64_t(2 * i + 1) * part - 1) / (int64_t(2) * dest));
}

}  // namespace

t_pixelView t_pixelView::BottomUp(const uint32_t* pixels, int width, int height)
{
    uint32_t* p = const_cast<uint32_t*>(pixels);
    return t_pixelView{p + static_cast<ptrdiff_t>(height - 1) * width, -static_cast<ptrdiff_t>(width), width, height};
}

bool PixelViewOf(HBITMAP bitmap, t_pixelView& view)
{
    DIBSECTION dib = {};
    if (!bitmap || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        !dib.dsBm.bmBits || dib.dsBmih.biCompression != BI_RGB || dib.dsBm.bmWidth <= 0 || dib.dsBm.bmHeight <= 0)
        return false;
    GdiFlush();
    uint32_t* bits = static_cast<uint32_t*>(dib.dsBm.bmBits);
    const int w = dib.dsBm.bmWidth, h = dib.dsBm.bmHeight;
    view = dib.dsBmih.biHeight < 0 ? t_pixelView{bits, w, w, h} : t_pixelView::BottomUp(bits, w, h);
    return true;
}

bool PixelTargetOf(HDC dc, t_pixelTarget& target)
{
    if (!dc || GetMapMode(dc) != MM_TEXT || GetLayout(dc) != 0)
        return false;
    if (GetGraphicsMode(dc) != GM_COMPATIBLE) {
        XFORM x = {};
        if (!GetWorldTransform(dc, &x) || x.eM11 != 1.0f || x.eM12 != 0.0f || x.eM21 != 0.0f || x.eM22 != 1.0f ||
            x.eDx != 0.0f || x.eDy != 0.0f)
            return false;
    }
    t_pixelView view;
    if (!PixelViewOf(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)), view))
        return false;
    POINT origin = {0, 0};
    if (!LPtoDP(dc, &origin, 1))
        return false;
    RECT box = {};
    const int region = GetClipBox(dc, &box);
    if (region == COMPLEXREGION || region == ERROR)
        return false;
    RECT clip = {0, 0, view.width, view.height};
    if (region == NULLREGION) {
        clip = RECT{0, 0, 0, 0};
    } else {
        OffsetRect(&box, origin.x, origin.y);
        if (!IntersectRect(&clip, &clip, &box))
            clip = RECT{0, 0, 0, 0};
    }
    target = t_pixelTarget{view, origin, clip};
    return true;
}

void BlendRowOver(uint32_t* target, const uint32_t* source, int count, int alpha)
{
    if (count <= 0 || alpha <= 0)
        return;
    int i = 0;
    if (alpha >= 255) {
        for (; i + 4 <= count; i += 4) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
            __m128i* t = reinterpret_cast<__m128i*>(target + i);
            _mm_storeu_si128(t, Over4(s, _mm_loadu_si128(t)));
        }
        if (i < count)
            BlendTail(target + i, source + i, count - i, Over4);
        return;
    }
    const __m128i ca = _mm_set1_epi16(static_cast<short>(alpha));
    const auto scaled = [ca](__m128i s, __m128i t) { return Over4Scaled(s, t, ca); };
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i* t = reinterpret_cast<__m128i*>(target + i);
        _mm_storeu_si128(t, scaled(s, _mm_loadu_si128(t)));
    }
    if (i < count)
        BlendTail(target + i, source + i, count - i, scaled);
}

bool BlendOver(const t_pixelTarget& target, int x, int y, int dw, int dh, const t_pixelView& source, int sx, int sy,
               int sw, int sh, int alpha)
{
    if (!CanBlendOver(sw, sh, dw, dh) || sx < 0 || sy < 0 || sx > source.width - sw || sy > source.height - sh)
        return false;
    // The destination in DIB coordinates, cut to the clip box.
    const int left = x + target.offset.x, top = y + target.offset.y;
    const int x0 = std::max<int>(left, target.clip.left), x1 = std::min<int64_t>(int64_t(left) + dw, target.clip.right);
    const int y0 = std::max<int>(top, target.clip.top), y1 = std::min<int64_t>(int64_t(top) + dh, target.clip.bottom);
    if (x0 >= x1 || y0 >= y1 || alpha <= 0)
        return true;
    const int count = x1 - x0;
    std::vector<uint32_t> stretched;
    if (sw != dw) {
        stretched.resize(static_cast<size_t>(count));
    }
    int lastRow = -1;
    for (int row = y0; row < y1; ++row) {
        const int sourceRow = sy + (sh == dh ? row - top : NearestSource(row - top, sh, dh));
        const uint32_t* from = source.Row(sourceRow) + sx;
        if (sw != dw) {
            if (sourceRow != lastRow) {
                for (int i = 0; i < count; ++i)
                    stretched[i] = from[NearestSource(x0 - left + i, sw, dw)];
                lastRow = sourceRow;
            }
            from = stretched.data();
        } else {
            from += x0 - left;
        }
        BlendRowOver(target.view.Row(row) + x0, from, count, alpha);
    }
    return true;
}
