#include "graphics/image/image_source.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

void BitmapSizeOf(HBITMAP bitmap, int& width, int& height)
{
    width = height = 0;
    BITMAP info;
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info) == sizeof(info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

void* BitmapPixelsOf(HBITMAP bitmap)
{
    BITMAP info;
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info) == sizeof(info))
        return info.bmBits;
    return nullptr;
}

void* t_bitmapRef::GetPixels() const
{
    if (kind == e_pixels)
        return handle;
    if (kind == e_handle)
        return BitmapPixelsOf(static_cast<HBITMAP>(handle));
    return nullptr;
}

void t_bitmapRef::GetSize(int& w, int& h) const
{
    if (kind == e_handle) {
        BitmapSizeOf(static_cast<HBITMAP>(handle), w, h);
    } else {
        w = width;
        h = height;
    }
}

// ---- frame lists ----

void t_imageFrames::Init(t_imageFrames& payload, t_frame* frames, int count, int width, int height, bool hasAlpha,
                         int loopLimit)
{
    if (count < 0)
        count = 0;
    payload.frames = frames;
    payload.count = count;
    payload.current = 0;
    payload.ref = count > 0 && frames ? frames[0].ref : t_bitmapRef{};
    if (width == 0 && height == 0 && count > 0 && frames)
        frames[0].ref.GetSize(width, height);
    payload.width = width;
    payload.height = height;
    payload.hasAlpha = hasAlpha ? 1 : 0;
    payload.made = 1;
    payload.system = 0;
    payload.loaded = 1;
    payload.loopLimit = loopLimit;
    payload.loopsDone = 0;
    payload.start = 0;
    uint32_t cycle = 0;
    for (int i = 0; i < count && frames; ++i)
        cycle += static_cast<uint32_t>(frames[i].delay);
    payload.cycle = cycle;
    NotePicturesChanged();
}

bool t_imageFrames::Advance(int now)
{
    const int limit = loopLimit;
    if (limit > 0 && loopsDone >= limit)
        return false;
    if (count <= 0 || !frames)
        return false;
    if (start == 0) {
        start = now;
        current = reverse ? count - 1 : 0;
        return false;
    }
    if (cycle == 0)
        return false;
    if (current < 0 || current >= count)
        current = 0;
    int64_t e = static_cast<int64_t>(now) - start;
    if (frames[current].delay >= e)
        return false;

    const int64_t passes = e / cycle;
    if (limit > 0 && passes >= limit) {
        current = count - 1;
        loopsDone = limit;
    } else {
        loopsDone += static_cast<int32_t>(passes);
        e %= cycle;
        int64_t sum = 0;
        if (reverse) {
            int j = current;
            for (; j >= 0; --j) {
                sum += frames[j].delay;
                if (sum >= e)
                    break;
            }
            if (j >= 0) {
                current = j;
            } else {
                loopsDone = limit;
                current = 0;
            }
        } else if (loopsDone + 1 != limit) {
            const int old = current;
            int j = current;
            for (; j < count; ++j) {
                sum += frames[j].delay;
                if (sum >= e)
                    break;
            }
            if (j < count) {
                current = j;
            } else {
                ++loopsDone;
                if (old == 0)
                    return false;
                for (j = 0; j < old; ++j) {
                    sum += frames[j].delay;
                    if (sum >= e)
                        break;
                }
                if (j >= old)
                    return false;
                current = j;
            }
        } else {
            // The last pass ends on the last frame.
            int j = current;
            for (; j < count - 1; ++j) {
                sum += frames[j].delay;
                if (sum >= e)
                    break;
            }
            if (j < count - 1) {
                current = j;
            } else {
                current = count - 1;
                loopsDone = limit;
            }
        }
    }
    start = now;
    return true;
}

int t_imageFrames::GetPosition(int now) const
{
    if (start == 0)
        return 0;
    int position = now - start;
    if (!frames)
        return position;
    if (reverse) {
        for (int i = current + 1; i < count; ++i)
            position += frames[i].delay;
    } else {
        for (int i = 0; i < current && i < count; ++i)
            position += frames[i].delay;
    }
    return position;
}

void t_imageFrames::SetFrame(int index, int now, int referenceTime)
{
    if (!reversible || !frames || index < 0 || index >= count)
        return;
    current = index;
    const int delay = frames[index].delay;
    if (now - referenceTime >= delay)
        start = now - delay;
    else
        start = 2 * now - referenceTime - delay;
}

bool t_imageFrames::Reverse()
{
    if (!reversible)
        return false;
    reverse = reverse ? 0 : 1;
    return true;
}

void* t_imageFrames::GetBits() const
{
    if (!frames || current < 0 || current >= count)
        return nullptr;
    return frames[current].ref.GetPixels();
}

// ---- sources ----

namespace {

std::atomic<uint32_t> g_pictureGeneration{0};

}  // namespace

uint32_t PictureGeneration() { return g_pictureGeneration.load(std::memory_order_relaxed); }

void NotePicturesChanged() { g_pictureGeneration.fetch_add(1, std::memory_order_relaxed); }

bool t_imageSource::CreateFromPixels(int n, void* pixels, int width, int height, t_imageSource*& out, int loopLimit,
                                     const int* delays)
{
    out = nullptr;
    if (n <= 0 || !pixels || width <= 0 || height <= 0)
        return false;
    t_imageSource* source = static_cast<t_imageSource*>(calloc(1, sizeof(t_imageSource)));
    if (!source)
        return false;
    if (n == 1) {
        source->SetSingle(width, height, false, true, true, t_bitmapRef::e_pixels, pixels, width, height);
    } else {
        t_frame* frames = static_cast<t_frame*>(calloc(static_cast<size_t>(n), sizeof(t_frame)));
        if (!frames) {
            free(source);
            return false;
        }
        const size_t step = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (int i = 0; i < n; ++i) {
            frames[i].delay = delays ? delays[i] : 0;
            frames[i].ref = {t_bitmapRef::e_pixels, static_cast<uint32_t*>(pixels) + step * i, width, height};
        }
        source->kind = e_frames;
        t_imageFrames::Init(source->payload, frames, n, width, height, true, loopLimit);
    }
    out = source;
    return true;
}

void t_imageSource::SetSingle(int width, int height, bool system, bool hasAlpha, bool made, int refKind, void* handle,
                              int refWidth, int refHeight)
{
    kind = e_single;
    t_imageBitmap& single = Single();
    single.ref = {refKind, handle, refWidth, refHeight};
    if (width == 0 && height == 0 && refKind == t_bitmapRef::e_handle)
        BitmapSizeOf(static_cast<HBITMAP>(handle), width, height);
    single.width = width;
    single.height = height;
    single.system = system ? 1 : 0;
    single.hasAlpha = hasAlpha ? 1 : 0;
    single.made = made ? 1 : 0;
    single.loaded = 1;
    NotePicturesChanged();
}

t_bitmapRef t_imageSource::GetFrame(int index) const
{
    if (kind != e_frames || !payload.loaded || !payload.frames || index < 0 || index >= payload.count)
        return t_bitmapRef{};
    return payload.frames[index].ref;
}

t_bitmapRef t_imageSource::GetBitmapRef() const
{
    if (kind == e_single)
        return payload.ref;
    if (kind == e_frames)
        return GetFrame(payload.current);
    return t_bitmapRef{};
}

HBITMAP t_imageSource::GetBitmap() const { return kind == e_single ? payload.ref.Bitmap() : nullptr; }

void* t_imageSource::GetBits() const
{
    if (kind == e_single)
        return payload.GetBits();
    if (kind == e_frames)
        return payload.t_imageFrames::GetBits();
    return nullptr;
}

bool t_imageSource::GetSize(int& width, int& height) const
{
    if (!IsLoaded() || (kind == e_frames && (payload.count <= 0 || !payload.frames)))
        return false;
    width = payload.width;
    height = payload.height;
    return true;
}

void t_imageSource::GetSizeOrZero(int& width, int& height) const
{
    width = height = 0;
    if (kind == e_single || kind == e_frames) {
        width = payload.width;
        height = payload.height;
    }
}

bool t_imageSource::IsSame(const t_imageSource* a, const t_imageSource* b)
{
    if (!a || !b || a->kind != b->kind || (a->kind != e_single && a->kind != e_frames))
        return false;
    return a->payload.ref.handle == b->payload.ref.handle;
}

void t_imageSource::Free()
{
    if (kind == e_single) {
        if (payload.ref.kind == t_bitmapRef::e_handle && payload.ref.handle)
            DeleteObject(static_cast<HBITMAP>(payload.ref.handle));
    } else if (kind == e_frames) {
        for (int i = 0; payload.frames && i < payload.count; ++i) {
            const t_bitmapRef& ref = payload.frames[i].ref;
            if (ref.kind == t_bitmapRef::e_handle && ref.handle)
                DeleteObject(static_cast<HBITMAP>(ref.handle));
        }
        free(payload.frames);
    }
    if (kind == e_single || kind == e_frames)
        NotePicturesChanged();
    // Zeroed, so that a second Free deletes nothing.
    memset(this, 0, sizeof(*this));
}

bool LoadImageSource(const wchar_t* path, t_imageSourcePtr& out)
{
    out.reset();
    t_imageSource* loaded = nullptr;
    if (!path || !t_imageSource::LoadFile(path, loaded))
        return false;
    out.reset(loaded);
    return loaded != nullptr;
}

void t_imageSource::Destroy(t_imageSource* source)
{
    if (!source)
        return;
    source->Free();
    free(source);
}
