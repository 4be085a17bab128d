#include "graphics/codecs/apng_frames.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/image/mem_dc.h"
#include "graphics/paint/blend_over.h"

namespace {

struct t_frameRead {
    bool hasControl;
    t_apngFrameControl control;
    png_bytep* rows;
    png_infop info;
};

// One frame: its head (the control chunk, if any) and its pixels.
void ReadFrame(png_structp png, void* context)
{
    t_frameRead& f = *static_cast<t_frameRead*>(context);
    png_read_frame_head(png, f.info);
    f.hasControl = png_get_valid(png, f.info, PNG_INFO_fcTL) != 0;
    if (f.hasControl) {
        t_apngFrameControl& c = f.control;
        png_get_next_frame_fcTL(png, f.info, &c.width, &c.height, &c.x, &c.y, &c.delayNum, &c.delayDen, &c.disposeOp,
                                &c.blendOp);
    }
    png_read_image(png, f.rows);
}

void DeleteFrames(t_frame* frames, int count)
{
    for (int i = 0; frames && i < count; ++i) {
        if (frames[i].ref.handle)
            DeleteObject(static_cast<HBITMAP>(frames[i].ref.handle));
    }
    free(frames);
}

}  // namespace

int ApngDelay(unsigned numerator, unsigned denominator)
{
    if (numerator == 0 && denominator == 0)
        return 100;
    if (denominator == 0)
        denominator = 100;
    const int delay = static_cast<int>(numerator * 100.0 / denominator);
    return delay < 2 ? 2 : delay;
}

bool ComposeApngFrame(HBITMAP& frame, HBITMAP canvas, const t_apngFrameControl& control)
{
    t_pixelView canvasPixels, framePixels;
    if (!PixelViewOf(canvas, canvasPixels) || !PixelViewOf(frame, framePixels))
        return false;
    const int width = canvasPixels.width, height = canvasPixels.height;
    uint32_t* bits = nullptr;
    HBITMAP composed = CreateDib32(width, height, &bits);
    if (!composed)
        return false;
    const t_pixelView out = t_pixelView::BottomUp(bits, width, height);
    for (int y = 0; y < height; ++y)
        memcpy(out.Row(y), canvasPixels.Row(y), static_cast<size_t>(width) * 4);
    // Only the frame's rectangle changes: the source operation replaces it (a blend over a
    // cleared rectangle is a copy), the over operation blends into it.
    const int x0 = static_cast<int>(std::min<png_uint_32>(control.x, png_uint_32(width)));
    const int y0 = static_cast<int>(std::min<png_uint_32>(control.y, png_uint_32(height)));
    const int columns = std::min(framePixels.width, width - x0), rows = std::min(framePixels.height, height - y0);
    for (int r = 0; r < rows; ++r) {
        uint32_t* to = out.Row(y0 + r) + x0;
        if (control.blendOp == PNG_BLEND_OP_SOURCE)
            memcpy(to, framePixels.Row(r), static_cast<size_t>(columns) * 4);
        else
            BlendRowOver(to, framePixels.Row(r), columns, 255);
    }
    // Disposal: none keeps the composed picture as the canvas, background clears the
    // frame's rectangle, previous leaves the canvas as it was.
    const int clearColumns = static_cast<int>(std::min<png_uint_32>(control.width, png_uint_32(width - x0)));
    const int clearRows = static_cast<int>(std::min<png_uint_32>(control.height, png_uint_32(height - y0)));
    if (control.disposeOp == PNG_DISPOSE_OP_NONE) {
        for (int r = 0; r < rows; ++r)
            memcpy(canvasPixels.Row(y0 + r) + x0, out.Row(y0 + r) + x0, static_cast<size_t>(columns) * 4);
    } else if (control.disposeOp == PNG_DISPOSE_OP_BACKGROUND) {
        for (int r = 0; r < clearRows; ++r)
            memset(canvasPixels.Row(y0 + r) + x0, 0, static_cast<size_t>(clearColumns) * 4);
    }
    DeleteObject(frame);
    frame = composed;
    return true;
}

bool t_imageLoader_png_dyn::HandleFrames(t_pngFrameJob& job)
{
    t_errorChain& errors = *job.errors;
    const int width = job.header.biWidth, height = job.header.biHeight;
    const int channels = job.header.biBitCount / 8;
    png_uint_32 images = 0, plays = 0;
    png_get_acTL(job.png, job.info, &images, &plays);
    // libpng counts a default image that has no control chunk among the images; it is
    // read but is not a frame of the animation.
    const bool hiddenDefault = png_get_first_frame_is_hidden(job.png, job.info) != 0;
    const png_uint_32 count = hiddenDefault && images > 0 ? images - 1 : images;
    const uint64_t canvasBytes = uint64_t(width) * height * 4;
    // Counts and sizes from the file are checked before anything is allocated: the frames
    // plus the canvas must stay within one picture's bytes.
    if (count == 0 || count > c_maxAnimationFrames || plays > INT32_MAX ||
        canvasBytes * (uint64_t(count) + 1) > c_maxPictureBytes) {
        errors.NewLine().AppendText(L"动画帧数或尺寸过大");
        return false;
    }
    t_frame* frames = static_cast<t_frame*>(calloc(count, sizeof(t_frame)));
    t_memDC canvas;
    t_errorChain quiet;
    if (!frames || !CreatePictureDib(quiet, MakePictureHeader(width, height, 32), canvas)) {
        free(frames);
        errors.NewLine().AppendText(L"PNG: out of memory");
        return false;
    }
    int done = 0;
    for (png_uint_32 image = 0; image < images; ++image) {
        t_frameRead read = {};
        read.rows = job.rows;
        read.info = job.info;
        if (!PngGuarded(job.png, ReadFrame, &read)) {
            AppendPngMessage(errors.NewLine(), job.png);
            DeleteFrames(frames, done);
            return false;
        }
        if (image == 0 && hiddenDefault)
            continue;
        if (!read.hasControl) {
            errors.NewLine().AppendText(L"动画帧缺少控制块");
            DeleteFrames(frames, done);
            return false;
        }
        const t_apngFrameControl& c = read.control;
        // libpng keeps frames inside the canvas; checked again since the canvas is ours.
        if (c.width == 0 || c.height == 0 || c.x > png_uint_32(width) || c.y > png_uint_32(height) ||
            c.width > png_uint_32(width) - c.x || c.height > png_uint_32(height) - c.y) {
            errors.NewLine().AppendText(L"动画帧超出画布");
            DeleteFrames(frames, done);
            return false;
        }
        HBITMAP bitmap = nullptr;
        t_errorChain dibErrors;
        if (!PngRowsToDib(dibErrors, c.width, c.height, channels, job.rows, bitmap) ||
            !ComposeApngFrame(bitmap, canvas.dib, c)) {
            if (bitmap)
                DeleteObject(bitmap);
            errors.NewLine().AppendText(L"创建bitmap失败");
            DeleteFrames(frames, done);
            return false;
        }
        frames[done].delay = ApngDelay(c.delayNum, c.delayDen);
        frames[done].ref = {t_bitmapRef::e_handle, bitmap, 0, 0};
        ++done;
    }
    // Composed frames carry alpha even from an opaque file: parts of the canvas that no
    // frame covers, or that a frame disposed, are transparent.
    job.target->kind = t_imageSource::e_frames;
    t_imageFrames::Init(job.target->payload, frames, done, width, height, true, static_cast<int>(plays));
    return true;
}
