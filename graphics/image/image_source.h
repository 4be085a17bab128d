// Decoded pictures behind image records: one bitmap, or a list of animation frames with
// their delays. Plain records (no virtual operations), copied, zeroed and freed as raw
// memory. Pixels are 32-bit BGRA, premultiplied by alpha, rows bottom-up.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <cstdint>

// A bitmap: a DIB section handle, or a raw pointer to 32-bit pixels.
struct t_bitmapRef {
    enum t_kind : int32_t {
        e_handle = 0,  // HBITMAP of a DIB section; its size is asked of the bitmap
        e_pixels = 1,  // pointer to width x height 32-bit pixels, owned elsewhere
    };

    int32_t kind;
    void* handle;
    // Meaningful for e_pixels only.
    int32_t width, height;

    bool IsBitmap() const { return (kind == e_handle || kind == e_pixels) && handle; }
    HBITMAP Bitmap() const { return kind == e_handle ? static_cast<HBITMAP>(handle) : nullptr; }
    // The pixels: the pointer itself, or a DIB section's bits (null when unavailable).
    void* GetPixels() const;
    void GetSize(int& w, int& h) const;
};

// One frame of an animation; delay in hundredths of a second.
struct t_frame {
    int32_t delay;
    t_bitmapRef ref;
};

// The payload every source kind begins with; alone, the single-bitmap payload.
struct t_imageBitmap {
    uint8_t made;      // produced by a loader or from pixels (0: the system check mark)
    uint8_t system;    // the system check-mark picture
    uint8_t hasAlpha;  // the pixels carry meaningful alpha
    int32_t width, height;
    t_bitmapRef ref;  // the bitmap, or a frame list's first frame
    uint8_t loaded;

    void* GetBits() const { return ref.GetPixels(); }
};

// Frame-list payload. Times are hundredths of a second.
struct t_imageFrames : t_imageBitmap {
    int32_t count;
    int32_t current;
    int32_t start;      // when the current frame began; 0 = not started
    uint32_t cycle;     // sum of all delays
    int32_t loopLimit;  // passes to play; 0 = without end
    int32_t loopsDone;
    uint8_t reverse;     // playing from the last frame towards the first
    uint8_t reversible;  // the direction may be changed
    t_frame* frames;     // C heap, owned by the source

    // Takes the frame array (malloc'd). count < 0 counts as 0; a 0 x 0 size takes
    // frame 0's bitmap size.
    static void Init(t_imageFrames& payload, t_frame* frames, int count, int width, int height, bool hasAlpha,
                     int loopLimit);

    // Steps the animation to `now`; true when the current frame changed.
    bool Advance(int now);
    int GetPosition(int now) const;
    void SetFrame(int index, int now, int referenceTime);
    bool Reverse();
    int GetCurrentFrame() const { return current; }
    void* GetBits() const;
};

struct t_imageSource {
    enum t_kind : int32_t {
        e_single = 0,
        e_frames = 1
    };

    int32_t kind;
    // The single payload is the shared beginning of this one.
    t_imageFrames payload;

    t_imageBitmap& Single() { return payload; }
    const t_imageBitmap& Single() const { return payload; }
    t_imageFrames& Frames() { return payload; }
    const t_imageFrames& Frames() const { return payload; }

    // Creators: a zeroed heap source filled by the loader registry or from pixels; on
    // failure `out` is null and the result false. Free with Destroy.
    static bool CreateFromMemory(const void* data, size_t size, t_imageSource*& out);
    static bool LoadFile(const wchar_t* path, t_imageSource*& out);
    // n frames of width x height pixels at consecutive steps of `pixels` (the buffer stays
    // the caller's); n = 1 makes a single source.
    static bool CreateFromPixels(int n, void* pixels, int width, int height, t_imageSource*& out, int loopLimit,
                                 const int* delays);
    // Zeroes the source and decodes the bytes into it (the loader registry).
    bool Decode(const void* data, size_t size);

    void SetSingle(int width, int height, bool system, bool hasAlpha, bool made, int refKind, void* handle,
                   int refWidth, int refHeight);

    t_bitmapRef GetFrame(int index) const;
    t_bitmapRef GetBitmapRef() const;
    HBITMAP GetBitmap() const;
    void* GetBits() const;
    bool GetSize(int& width, int& height) const;
    bool GetSizePair(int (&size)[2]) const { return GetSize(size[0], size[1]); }
    // (0, 0) for kinds other than single and frames.
    void GetSizeOrZero(int& width, int& height) const;
    bool IsLoaded() const { return (kind == e_single || kind == e_frames) && payload.loaded; }

    static bool IsSame(const t_imageSource* a, const t_imageSource* b);

    // Deletes owned bitmaps and the frame array; the record stays (zeroed).
    void Free();
    // Free, then the heap record itself.
    static void Destroy(t_imageSource* source);
};

// The owner of a heap source made by the creators above.
struct t_imageSourceDeleter {
    void operator()(t_imageSource* source) const { t_imageSource::Destroy(source); }
};
using t_imageSourcePtr = std::unique_ptr<t_imageSource, t_imageSourceDeleter>;
// Loads the picture at path into out (emptied first); out stays empty when the file is no
// picture.
bool LoadImageSource(const wchar_t* path, t_imageSourcePtr& out);

// A count that moves whenever a decoded picture is made or freed, or a stored picture's
// pixels are changed in place (NotePicturesChanged): what is derived from pixels and kept
// (hit masks) compares it, so that a new picture at a reused address is not mistaken for
// the old one.
uint32_t PictureGeneration();
void NotePicturesChanged();

// Width and height of an HBITMAP; 0 x 0 for null or failure.
void BitmapSizeOf(HBITMAP bitmap, int& width, int& height);
// The bits of a DIB section; null for null or failure.
void* BitmapPixelsOf(HBITMAP bitmap);
