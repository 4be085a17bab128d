#include "graphics/codecs/gif_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/core/perf.h"
#include "graphics/codecs/dib32.h"
#include "graphics/codecs/png_decoder.h"

namespace {

const uint32_t c_fillColor = 0x00FFFFFF;  // white: transparent once the frame is keyed

uint32_t ColorOf(const GifColorType& c) { return uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue; }

// A frame's rectangle on the screen: [x0, x1) by [y0, y1), empty (x0 == x1 or y0 == y1)
// when the frame lies wholly outside.
struct t_gifClip {
    int x0, y0, x1, y1;
};

t_gifClip ClipToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    // 64-bit sums: offsets and sizes come from the file.
    auto span = [](int start, int size, int limit, int& from, int& to) {
        from = int(std::clamp<int64_t>(start, 0, limit));
        to = int(std::clamp<int64_t>(int64_t(start) + size, from, limit));
    };
    t_gifClip clip;
    span(left, width, screenWidth, clip.x0, clip.x1);
    span(top, height, screenHeight, clip.y0, clip.y1);
    return clip;
}

}  // namespace

int t_gifReader::ReadInput(GifFileType* gif, GifByteType* target, int count)
{
    t_memInput* input = static_cast<t_memInput*>(gif->UserData);
    if (!input || count <= 0)
        return 0;
    return static_cast<int>(input->ReadSome(target, static_cast<size_t>(count)));
}

bool t_gifReader::Open(t_errorChain& errors, t_memInput& input)
{
    Close();
    int error = 0;
    m_gif = DGifOpen(&input, ReadInput, &error);
    if (!m_gif) {
        errors.NewLine().AppendText(L"打开GIF失败");
        return false;
    }
    m_width = m_gif->SWidth;
    m_height = m_gif->SHeight;
    // The screen size comes from the file: checked before the canvases are allocated.
    if (m_width <= 0 || m_height <= 0 || uint64_t(m_width) * m_height > c_maxCanvasPixels) {
        errors.NewLine().AppendText(L"图片尺寸错误");
        Close();
        return false;
    }
    const size_t pixels = size_t(m_width) * m_height;
    m_output.assign(pixels, c_fillColor);
    m_base.assign(pixels, c_fillColor);
    m_background = c_fillColor;
    const ColorMapObject* global = m_gif->SColorMap;
    if (global && global->Colors && m_gif->SBackGroundColor >= 0 && m_gif->SBackGroundColor < global->ColorCount)
        m_background = ColorOf(global->Colors[m_gif->SBackGroundColor]);
    m_frames = 0;
    return true;
}

void t_gifReader::Close()
{
    if (m_gif) {
        int error = 0;
        DGifCloseFile(m_gif, &error);
        m_gif = nullptr;
    }
    m_output.clear();
    m_base.clear();
    m_line.clear();
}

int t_gifReader::NextFrame()
{
    if (!m_gif)
        return e_readFailed;
    m_delay = 10;
    m_transparent = -1;
    m_disposal = 0;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(m_gif, &type) == GIF_ERROR)
            return e_readFailed;
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE:
            return ReadImage();
        case EXTENSION_RECORD_TYPE: {
            const int result = ReadExtension();
            if (result < 0)
                return result;
            break;
        }
        case TERMINATE_RECORD_TYPE:
            return e_end;
        default:
            return e_readFailed;
        }
    }
}

int t_gifReader::ReadExtension()
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(m_gif, &code, &block) == GIF_ERROR)
        return e_extensionFailed;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        m_delay = block[2] | block[3] << 8;
        m_transparent = (block[1] & 1) ? block[4] : -1;
        m_disposal = (block[1] >> 2) & 7;
    }
    while (block) {
        if (DGifGetExtensionNext(m_gif, &block) == GIF_ERROR)
            return e_extensionNextFailed;
    }
    return 1;
}

int t_gifReader::ReadImage()
{
    if (DGifGetImageDesc(m_gif) == GIF_ERROR)
        return e_readFailed;
    ++m_frames;
    const GifImageDesc& desc = m_gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : m_gif->SColorMap;
    if (!map || !map->Colors || desc.Width <= 0 || desc.Height <= 0)
        return e_readFailed;
    uint32_t palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = i < map->ColorCount ? ColorOf(map->Colors[i]) : 0;  // indices past the map: black

    m_output = m_base;
    m_line.resize(static_cast<size_t>(desc.Width));
    // The frame's rectangle clipped to the logical screen, once, before anything is drawn or
    // restored: a frame may lie partly or wholly outside it (its rows are read and dropped).
    const t_gifClip clip = ClipToScreen(desc.Left, desc.Top, desc.Width, desc.Height, m_width, m_height);
    auto putRow = [&](int row) -> bool {
        if (DGifGetLine(m_gif, m_line.data(), desc.Width) == GIF_ERROR)
            return false;
        const int64_t y = int64_t(desc.Top) + row;
        if (y < clip.y0 || y >= clip.y1)
            return true;
        uint32_t* out = m_output.data() + size_t(y) * m_width;
        for (int x = clip.x0; x < clip.x1; ++x) {
            const int index = m_line[size_t(x - desc.Left)];
            if (index != m_transparent)
                out[x] = palette[index];
        }
        return true;
    };
    if (desc.Interlace) {
        static const int c_start[4] = {0, 4, 2, 1}, c_step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = c_start[pass]; row < desc.Height; row += c_step[pass]) {
                if (!putRow(row))
                    return e_readFailed;
            }
        }
    } else {
        for (int row = 0; row < desc.Height; ++row) {
            if (!putRow(row))
                return e_readFailed;
        }
    }

    if (m_disposal == 2) {
        const uint32_t fill = m_transparent < 0 ? m_background : c_fillColor;
        for (int y = clip.y0; y < clip.y1; ++y) {
            uint32_t* row = m_base.data() + size_t(y) * m_width;
            std::fill(row + clip.x0, row + clip.x1, fill);
        }
    } else if (m_disposal != 3) {
        m_base = m_output;
    }
    return m_delay != 0 ? m_delay * 10 : 100;
}

bool t_gifReader::FrameToDib(t_errorChain& errors, HBITMAP& bitmap) const
{
    bitmap = nullptr;
    t_memDC dib;
    if (!CreatePictureDib(errors, MakePictureHeader(m_width, m_height, 32), dib))
        return false;
    // Pure white is the transparent colour; everything else is opaque (ApplyColorKey's
    // inexact key, done while the rows are copied).
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* in = m_output.data() + size_t(y) * m_width;
        uint32_t* out = dib.Row(m_height - 1 - y);
        for (int x = 0; x < m_width; ++x)
            out[x] = (in[x] & 0xFFFFFF) == 0xFFFFFF ? 0 : in[x] | 0xFF000000u;
    }
    bitmap = dib.Detach();
    return true;
}

bool DecodeGif(t_errorChain& errors, t_memInput& input, t_imageSource& target)
{
    PerfScope scope("DecodeGif");
    t_errorChain reasons;
    t_gifReader reader;
    std::vector<t_frame> frames;
    const wchar_t* reason = nullptr;
    if (!reader.Open(reasons, input)) {
        reason = reasons.FirstLine() ? reasons.FirstLine()->text.c_str() : L"";
    } else {
        const uint64_t frameBytes = uint64_t(reader.Width()) * reader.Height() * 4;
        int delay = reader.NextFrame();
        if (delay <= 0)
            reason = L"读取GIF帧失败";
        while (!reason && delay > 0) {
            // Every frame is a canvas-sized bitmap: the count and the bytes are capped before
            // the next one is made (two canvases are held besides).
            if (frames.size() >= c_maxAnimationFrames || (frames.size() + 3) * frameBytes > c_maxPictureBytes) {
                reason = L"动画帧数或尺寸过大";
                break;
            }
            HBITMAP bitmap = nullptr;
            if (!reader.FrameToDib(reasons, bitmap)) {
                reason = L"创建bitmap失败";
                break;
            }
            frames.push_back(t_frame{delay / 10, {t_bitmapRef::e_handle, bitmap, 0, 0}});
            // A frame that cannot be read ends the animation with the frames before it.
            delay = reader.NextFrame();
        }
    }
    reader.Close();
    if (!reason && frames.size() > 1) {
        t_frame* list = static_cast<t_frame*>(malloc(sizeof(t_frame) * frames.size()));
        if (!list) {
            reason = L"内存分配失败";
        } else {
            memcpy(list, frames.data(), sizeof(t_frame) * frames.size());
            target.kind = t_imageSource::e_frames;
            t_imageFrames::Init(target.payload, list, static_cast<int>(frames.size()), reader.Width(), reader.Height(),
                                true, 0);
            return true;
        }
    } else if (!reason) {
        target.SetSingle(reader.Width(), reader.Height(), false, true, true, t_bitmapRef::e_handle,
                         frames[0].ref.handle, 0, 0);
        return true;
    }
    for (const t_frame& frame : frames)
        DeleteObject(static_cast<HBITMAP>(frame.ref.handle));
    errors.NewLine().AppendText(L"加载GIF图片失败:").AppendText(reason);
    return false;
}

bool t_imageLoader_gif::Load(t_imageSource& target, const void* data, size_t count)
{
    t_errorChain errors;
    t_memInput input(data, count);
    if (DecodeGif(errors, input, target))
        return true;
    errors.Reset();
    return false;
}
