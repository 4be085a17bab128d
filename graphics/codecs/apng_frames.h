// Animated PNG frames: every frame that carries a frame control chunk is read, composed
// onto the animation's canvas by its blend and dispose operations and kept as one frame
// of the source's frame list.
#pragma once

#include <png.h>

#include "graphics/codecs/png_decoder.h"

// One frame's control chunk.
struct t_apngFrameControl {
    png_uint_32 width, height, x, y;
    png_uint_16 delayNum, delayDen;
    png_byte disposeOp, blendOp;
};

// Delay in hundredths of a second: numerator x 100 / denominator (0 counts as 100),
// at least 2; 0/0 gives 100.
int ApngDelay(unsigned numerator, unsigned denominator);

// Composes frame over a copy of canvas (both canvas-sized 32-bit bitmaps except the frame,
// which sits at its offsets), then disposes the canvas; the composed picture replaces
// frame (the old one is deleted). False, nothing changed, when no DIB could be made.
bool ComposeApngFrame(HBITMAP& frame, HBITMAP canvas, const t_apngFrameControl& control);

class t_imageLoader_png_dyn : public i_imageLoader_png_dyn {
public:
    bool HandleFrames(t_pngFrameJob& job) override;
};
