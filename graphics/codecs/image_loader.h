// The picture decoder interface and the process-wide registry of decoders by picture
// type, filled before the entry function; format detection from the first bytes, and
// decoding from memory or a file into an image source.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/core/error_chain.h"
#include "graphics/image/image_source.h"

class i_imageLoader {
public:
    virtual ~i_imageLoader() = default;
    // Decodes count bytes into target (zeroed by the caller). Decoders report through a
    // private error chain: callers see the bool only.
    virtual bool Load(t_imageSource& target, const void* data, size_t count) = 0;
};

enum t_pictureType : int {
    e_pictureUnknown = 0,
    e_pictureBmp = 1,
    e_picturePng = 2,
    e_pictureGif = 3,
    e_pictureJpeg = 4,
};
const int c_imageLoaderSlots = 5;

// Stores loader in slot index (0 <= index < 5; others are ignored). The registry owns it.
void RegisterImageLoader(i_imageLoader* loader, int index);
i_imageLoader* GetImageLoader(int index);
// BMP into slot 1, PNG with its animated-PNG frame handler into 2, GIF into 3; run by a
// static initialiser. FreeImageLoaders deletes them (at exit).
void RegisterImageLoaders();
void FreeImageLoaders();

// The type of a picture from its first four bytes, read as a little-endian value.
int DetectImageType(uint32_t firstBytes);
// The type of count bytes (0 for 3 bytes or fewer).
int DetectImageType(const void* data, size_t count);

// Decodes with the loader of the detected type (unknown types go to the BMP slot).
bool DecodeImage(size_t count, const void* data, t_imageSource& target);
// Reads the file (wide path) and decodes it.
bool LoadImageFile(const wchar_t* path, t_imageSource& target);

// The whole file in a C-heap buffer the caller frees. Failures: one line "读取文件失败:"
// with the reason.
bool ReadWholeFile(t_errorChain& errors, const wchar_t* path, void*& data, uint32_t& size);
