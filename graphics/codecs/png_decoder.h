// PNG and animated PNG pictures through libpng (with the APNG extension), from memory into
// 32-bit premultiplied bottom-up DIB sections.
#pragma once

#include <png.h>

#include <cstddef>
#include <cstdint>

#include "foundation/core/error_chain.h"
#include "graphics/codecs/dib32.h"
#include "graphics/codecs/image_loader.h"
#include "graphics/codecs/mem_reader.h"

// Caps checked before anything is allocated from sizes and counts a file gives.
const uint64_t c_maxCanvasPixels = uint64_t(1) << 24;  // one picture or frame
const uint32_t c_maxAnimationFrames = 4096;
const uint64_t c_maxPictureBytes = uint64_t(256) << 20;  // all frames of one picture
const size_t c_maxChunkBytes = size_t(8) << 20;          // one ancillary chunk read whole

// One decode's state, reachable from libpng's callbacks: the input and libpng's last
// error message.
struct t_pngReadState {
    t_memInput* input;
    char message[256];
};

// What the frame handler gets: the target, libpng's structures after png_read_update_info,
// the picture header (canvas size, bit count 24 or 32) and row pointers over a buffer of
// the canvas's size.
struct t_pngFrameJob {
    t_imageSource* target;
    png_structp png;
    png_infop info;
    t_pictureHeader header;
    png_bytep* rows;
    t_errorChain* errors;
};

class i_imageLoader_png_dyn {
public:
    virtual ~i_imageLoader_png_dyn() = default;
    // Reads every frame and makes target a frame list; false (target empty) on failure,
    // with one reason line in job.errors.
    virtual bool HandleFrames(t_pngFrameJob& job) = 0;
};

class t_imageLoader_png : public i_imageLoader {
public:
    t_imageLoader_png() = default;
    ~t_imageLoader_png() override { delete m_dyn; }
    t_imageLoader_png(const t_imageLoader_png&) = delete;
    t_imageLoader_png& operator=(const t_imageLoader_png&) = delete;

    // Takes ownership of the animated-PNG handler.
    void SetDynHandler(i_imageLoader_png_dyn* handler)
    {
        delete m_dyn;
        m_dyn = handler;
    }
    bool Load(t_imageSource& target, const void* data, size_t count) override;

private:
    i_imageLoader_png_dyn* m_dyn = nullptr;
};

// Decodes a PNG; animated ones go to dyn when there is one (else their default image is
// decoded). Failure: one line "加载PNG图片失败:" with the reason, target empty.
bool DecodePng(t_errorChain& errors, t_memInput& input, t_imageSource& target, i_imageLoader_png_dyn* dyn);

// A DIB of width x height from top-down rows of RGBA (premultiplied on the way) or RGB
// (alpha 255). Failure: "创建bitmap失败:" then "创建DIBSection失败".
bool PngRowsToDib(t_errorChain& errors, int width, int height, int channels, const png_bytep* rows, HBITMAP& bitmap);

// Runs a libpng call sequence under its own recovery point, so that a libpng error inside
// it returns false here instead of unwinding the caller's C++ frames.
// body must hold no objects with destructors: a libpng error leaves it by a long jump.
bool PngGuarded(png_structp png, void (*body)(png_structp png, void* context), void* context);

// The reason line of a failed libpng call: libpng's own message.
void AppendPngMessage(t_str& line, png_structp png);
