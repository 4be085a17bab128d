// The main frame's preview as it paints: its back buffer rendered now and copied out.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/app/main_frame.h"
#include "editor/preview/preview.h"

// The pixels of the preview's back buffer (32-bit, top-down rows); empty when the frame has
// no preview or nothing was drawn.
inline std::vector<uint32_t> PreviewPixels(IMEKavrelFrame& frame)
{
    Preview* preview = static_cast<Preview*>(frame.ChildAt(IMEKavrelFrame::e_preview));
    if (!preview)
        return {};
    preview->RenderBackBuffer();
    const SIZE size = preview->BackBufferSize();
    const uint32_t* pixels = preview->BackBufferPixels();
    if (!pixels || size.cx <= 0 || size.cy <= 0)
        return {};
    return std::vector<uint32_t>(pixels, pixels + static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
}
