#include "graphics/codecs/apng_frames.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/image/image.h"
#include "graphics/paint/image_draw.h"
#include "graphics/paint/paint_ctx.h"

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

// Zeroes a rectangle (top-down coordinates) of a bottom-up 32-bit bitmap, clipped to it.
void ClearRect(HBITMAP bitmap, int x, int y, int width, int height)
{
    DIBSECTION dib = {};
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits)
        return;
    const int w = dib.dsBm.bmWidth, h = dib.dsBm.bmHeight;
    const int right = std::min(w, x + width), bottom = std::min(h, y + height);
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (x >= right || y >= bottom)
        return;
    GdiFlush();
    uint32_t* bits = static_cast<uint32_t*>(dib.dsBm.bmBits);
    for (int row = y; row < bottom; ++row)
        memset(bits + static_cast<size_t>(h - 1 - row) * w + x, 0, sizeof(uint32_t) * (right - x));
}

// Draws a whole 32-bit bitmap at (x, y) with its alpha. The bitmap goes in as a pixel
// reference with direct blending, so the draw blends straight into the target's memory.
void DrawOver(t_paintCtx& context, HBITMAP bitmap, int x, int y)
{
    int width = 0, height = 0;
    BitmapSizeOf(bitmap, width, height);
    t_image record;
    record.Init();
    record.ref = {t_bitmapRef::e_pixels, BitmapPixelsOf(bitmap), width, height};
    record.partWidth = record.fullWidth = width;
    record.partHeight = record.fullHeight = height;
    record.hasAlpha = 1;
    record.directBlend = 1;
    DrawImageNatural(record, context, x, y, width, height, 255);
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
    int width = 0, height = 0;
    BitmapSizeOf(canvas, width, height);
    t_memDC out;
    if (!t_memDC::Create(out, nullptr, width, height))
        return false;
    {
        t_paintCtx context(out.dc, true, &out, false);
        DrawOver(context, canvas, 0, 0);
        if (control.blendOp == PNG_BLEND_OP_SOURCE) {
            GdiFlush();
            ClearRect(out.dib, control.x, control.y, control.width, control.height);
        }
        DrawOver(context, frame, control.x, control.y);
        context.End();
    }
    GdiFlush();
    if (control.disposeOp == PNG_DISPOSE_OP_NONE) {
        // The canvas becomes the composed picture.
        void* to = BitmapPixelsOf(canvas);
        if (to)
            memcpy(to, out.bits, static_cast<size_t>(width) * height * 4);
    } else if (control.disposeOp == PNG_DISPOSE_OP_BACKGROUND) {
        ClearRect(canvas, control.x, control.y, control.width, control.height);
    }
    DeleteObject(frame);
    frame = out.Detach();
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
