#include "graphics/image/image.h"

#include <cstring>

void t_image::Init()
{
    ref = t_bitmapRef{};
    source = nullptr;
    holder = e_ownBitmap;
    partX = partY = partWidth = partHeight = 0;
    modeH = modeV = e_natural;
    key1 = key2 = c_noColorKey;
    ownsSource = 0;
}

void t_image::SetBitmap(HBITMAP bitmap, int x, int y, uint32_t k1, uint32_t k2, int width, int height, int h, int v,
                        bool direct)
{
    ref = t_bitmapRef{t_bitmapRef::e_handle, bitmap, 0, 0};
    holder = e_ownBitmap;
    source = nullptr;
    ownsSource = 0;
    key1 = k1;
    key2 = k2;
    BitmapSizeOf(bitmap, fullWidth, fullHeight);
    partX = x;
    partY = y;
    partWidth = width == -1 ? fullWidth : width;
    partHeight = height == -1 ? fullHeight : height;
    hasAlpha = 0;
    modeH = h;
    modeV = v;
    directBlend = direct ? 1 : 0;
}

static bool SourceHasAlpha(const t_imageSource* source)
{
    return (source->kind == t_imageSource::e_single || source->kind == t_imageSource::e_frames) &&
           source->payload.hasAlpha;
}

void t_image::SetPart(t_imageSource* src, int x, int y, uint32_t k1, uint32_t k2, int width, int height, int h, int v,
                      bool direct)
{
    if (!src) {
        Init();
        return;
    }
    SetBitmap(nullptr, x, y, k1, k2, width, height, h, v, direct);
    holder = e_sourcePart;
    ref = src->GetBitmapRef();
    source = src;
    hasAlpha = SourceHasAlpha(src) ? 1 : 0;
    ref.GetSize(fullWidth, fullHeight);
    partWidth = width == -1 ? fullWidth : width;
    partHeight = height == -1 ? fullHeight : height;
}

void t_image::SetSource(t_imageSource* src)
{
    if (!src)
        return;
    holder = e_sourcePart;
    ref = src->GetBitmapRef();
    source = src;
    ownsSource = 0;
    hasAlpha = SourceHasAlpha(src) ? 1 : 0;
}

void t_image::TakeSource(t_imageSource* src)
{
    SetSource(src);
    if (src)
        ownsSource = 1;
}

t_bitmapRef t_image::GetBitmapRef() const
{
    if (holder == e_ownBitmap)
        return ref;
    if (holder == e_sourcePart)
        return source ? source->GetBitmapRef() : t_bitmapRef{};
    return t_bitmapRef{};
}

bool t_image::IsEmpty() const
{
    const bool hasBitmap = (ref.kind == t_bitmapRef::e_handle || ref.kind == t_bitmapRef::e_pixels) && ref.handle;
    return !hasBitmap && !source;
}

bool t_image::IsBitmapEmpty() const
{
    return !((ref.kind == t_bitmapRef::e_handle || ref.kind == t_bitmapRef::e_pixels) && ref.handle);
}

void t_image::Release()
{
    if (holder == e_ownBitmap && ref.kind == t_bitmapRef::e_handle && ref.handle) {
        DeleteObject(static_cast<HBITMAP>(ref.handle));
        NotePicturesChanged();
    } else if (holder == e_sourcePart && source && ownsSource)
        t_imageSource::Destroy(source);
    memset(this, 0, sizeof(*this));
}

void t_image::Reset()
{
    if (holder == e_ownBitmap && ref.kind == t_bitmapRef::e_handle && ref.handle) {
        DeleteObject(static_cast<HBITMAP>(ref.handle));
        NotePicturesChanged();
    }
    if (source && ownsSource)
        t_imageSource::Destroy(source);
    memset(this, 0, sizeof(*this));
}
