// The image record: which rectangle of a bitmap or of an image source is shown, how it
// fills a destination along each axis, its colour keys and whether its pixels carry alpha.
// A plain record, copied and zeroed as raw memory.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image_source.h"

class t_paintCtx;
struct t_blitContext;
struct t_hitMask;

// COLORREF value meaning "no colour key".
const uint32_t c_noColorKey = 0xFFFFFFFFu;

struct t_image {
    enum t_fillMode : int32_t { e_stretch = 0, e_tile = 1, e_natural = 2 };
    enum t_holder : int32_t {
        e_ownBitmap = 0,   // ref is the record's own bitmap
        e_sourcePart = 1,  // the record shows a part of `source`
    };

    t_bitmapRef ref;
    t_imageSource* source;
    int32_t partX, partY, partWidth, partHeight;
    int32_t fullWidth, fullHeight;
    uint32_t key1, key2;
    int32_t modeH, modeV;
    int32_t holder;
    uint8_t directBlend;
    uint8_t hasAlpha;
    uint8_t blend;  // the alpha-target flag of the last draw
    // The record owns `source` and frees it on Release or Reset. Records that merely point
    // at a source (nine-part cells, state pictures cut from one picture) leave it to its
    // owner, so a shared source is freed exactly once.
    uint8_t ownsSource;

    void Init();
    void SetBitmap(HBITMAP bitmap, int x, int y, uint32_t k1, uint32_t k2, int width, int height, int h,
                   int v, bool direct);
    void SetPart(t_imageSource* src, int x, int y, uint32_t k1, uint32_t k2, int width, int height,
                 int h, int v, bool direct);
    void SetSource(t_imageSource* src);
    // SetSource, and the record becomes the source's owner (a heap source, freed with
    // t_imageSource::Destroy).
    void TakeSource(t_imageSource* src);

    t_bitmapRef GetBitmapRef() const;
    bool IsEmpty() const;
    bool IsBitmapEmpty() const;

    void Release();
    void Reset();

    // A picture resource (RT_RCDATA, "PNG" or "RC_PNG") of module, or of the resource
    // library when null, decoded by the PNG loader; the record owns the bitmap.
    bool LoadResource(HMODULE module, const wchar_t* name);

    // Drawing (graphics/paint/image_blit.cpp, image_region.cpp). Draw and Blit record the
    // alpha-target flag of the drawing in `blend`; nothing else of the record changes.
    BOOL Draw(t_paintCtx& context, int x, int y, int width, int height, int alpha);
    BOOL DrawWithDC(HDC dest, HDC sourceDc, int x, int y, int width, int height, int alpha);
    void Blit(t_blitContext& context);
    // The natural-size path of Blit.
    void BlitNatural(t_blitContext& context);
    HRGN CreateRegion(HDC reference, int width, int height) const;
    void BuildHitMask(int width, int height, t_hitMask& mask) const;
    // The part pixel that `point` of a destination of `size` shows; false outside.
    bool MapPoint(SIZE size, POINT point, POINT& sourcePixel) const;
    // A bitmap resource of module (or the program) as the record's own bitmap.
    static bool LoadBitmapResource(HMODULE module, UINT id, t_image& record);
};

inline void InitImageRecord(t_image& image) { image.Init(); }

// The i-th record of a plain array of image records (the windows' picture tables).
inline t_image& ImageRecordAt(t_image* records, int i) { return records[i]; }

// The system check mark (OEM bitmap 32760) as a single source with the system flag set;
// without one, resource 32760 of the resource library through the PNG loader.
bool LoadCheckMarkImage(t_imageSource& target);
