// GIF pictures through giflib, from memory: every frame is composed on the logical screen
// and becomes a 32-bit bitmap whose pure white pixels are transparent.
#pragma once

#include <gif_lib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/core/error_chain.h"
#include "graphics/codecs/image_loader.h"
#include "graphics/codecs/mem_reader.h"

// Reads one GIF frame by frame onto two canvases of the logical screen (BGRX, top-down):
// the output canvas shows the current frame, the base canvas what the next frame starts
// from after disposal.
class t_gifReader {
public:
    // Results of NextFrame below 1.
    enum : int {
        e_end = 0,
        e_readFailed = -1,  // no decoder, a failed line or a frame that cannot be shown
        e_extensionFailed = -2,
        e_extensionNextFailed = -3,
    };

    t_gifReader() = default;
    ~t_gifReader() { Close(); }
    t_gifReader(const t_gifReader&) = delete;
    t_gifReader& operator=(const t_gifReader&) = delete;

    bool Open(t_errorChain& errors, t_memInput& input);
    // The next frame's delay in milliseconds, 0 at the end, or a negative code.
    int NextFrame();
    // The output canvas as a 32-bit bitmap, pure white transparent, the rest opaque.
    bool FrameToDib(t_errorChain& errors, HBITMAP& bitmap) const;
    void Close();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int FrameCount() const { return m_frames; }

private:
    static int ReadInput(GifFileType* gif, GifByteType* target, int count);
    int ReadImage();
    int ReadExtension();

    GifFileType* m_gif = nullptr;
    int m_width = 0, m_height = 0;
    std::vector<uint32_t> m_output, m_base;
    std::vector<GifPixelType> m_line;
    uint32_t m_background = 0xFFFFFF;
    int m_frames = 0;
    // From the graphic control extension, for the next image only.
    int m_delay = 10;
    int m_transparent = -1;
    int m_disposal = 0;
};

class t_imageLoader_gif : public i_imageLoader {
public:
    bool Load(t_imageSource& target, const void* data, size_t count) override;
};

// Decodes a GIF: one frame gives a single bitmap, more a frame list played without end.
// Failure: one line with the reason, target empty.
bool DecodeGif(t_errorChain& errors, t_memInput& input, t_imageSource& target);
