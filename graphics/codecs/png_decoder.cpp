#include "graphics/codecs/png_decoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "foundation/core/perf.h"

namespace {

void PNGCBAPI OnPngError(png_structp png, png_const_charp message)
{
    t_pngReadState* state = static_cast<t_pngReadState*>(png_get_error_ptr(png));
    if (state) {
        strncpy(state->message, message ? message : "", sizeof(state->message) - 1);
        state->message[sizeof(state->message) - 1] = 0;
    }
    png_longjmp(png, 1);
}

void PNGCBAPI OnPngWarning(png_structp, png_const_charp) {}

void PNGCBAPI OnPngRead(png_structp png, png_bytep target, size_t count)
{
    t_pngReadState* state = static_cast<t_pngReadState*>(png_get_io_ptr(png));
    if (!target)
        png_error(png, "Null Data Buf");
    if (!state || !state->input->Read(target, count))
        png_error(png, "Read Error");
}

// The parts of one decode that libpng's sections fill; plain data.
struct t_pngDecode {
    png_infop info;
    png_uint_32 width, height;
    int bitDepth, colorType, interlace;
    size_t rowBytes;
    int channels;
    bool animated;
    png_bytep* rows;
};

void ReadInfo(png_structp png, void* context)
{
    t_pngDecode& d = *static_cast<t_pngDecode*>(context);
    png_infop info = d.info;
    png_read_info(png, info);
    png_get_IHDR(png, info, &d.width, &d.height, &d.bitDepth, &d.colorType, &d.interlace, nullptr, nullptr);
}

void SetTransforms(png_structp png, void* context)
{
    t_pngDecode& d = *static_cast<t_pngDecode*>(context);
    png_infop info = d.info;
    if (d.bitDepth == 16)
        png_set_strip_16(png);
    if (d.colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(png);
    if (d.bitDepth < 8)
        png_set_expand(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (d.colorType == PNG_COLOR_TYPE_GRAY || d.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    d.animated = png_get_valid(png, info, PNG_INFO_acTL) != 0;
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_get_IHDR(png, info, &d.width, &d.height, &d.bitDepth, &d.colorType, &d.interlace, nullptr, nullptr);
    d.rowBytes = png_get_rowbytes(png, info);
    d.channels = png_get_channels(png, info);
}

void ReadImage(png_structp png, void* context) { png_read_image(png, static_cast<t_pngDecode*>(context)->rows); }

void ReadEnd(png_structp png, void*) { png_read_end(png, nullptr); }

}  // namespace

bool PngGuarded(png_structp png, void (*body)(png_structp png, void* context), void* context)
{
    jmp_buf saved;
    memcpy(saved, png_jmpbuf(png), sizeof(jmp_buf));
    volatile bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        body(png, context);
        ok = true;
    }
    memcpy(png_jmpbuf(png), saved, sizeof(jmp_buf));
    return ok;
}

void AppendPngMessage(t_str& line, png_structp png)
{
    const t_pngReadState* state = static_cast<const t_pngReadState*>(png_get_error_ptr(png));
    if (!state)
        return;
    // libpng's messages are ASCII.
    for (const char* c = state->message; *c; ++c)
        line.AppendChar(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
}

bool PngRowsToDib(t_errorChain& errors, int width, int height, int channels, const png_bytep* rows, HBITMAP& bitmap)
{
    bitmap = nullptr;
    t_errorChain quiet;
    t_memDC dib;
    if (!CreatePictureDib(quiet, MakePictureHeader(width, height, 32), dib)) {
        errors.NewLine().AppendText(L"创建bitmap失败:").AppendText(L"创建DIBSection失败");
        return false;
    }
    for (int y = 0; y < height; ++y) {
        // The first PNG row is the top row: the last row of a bottom-up DIB.
        uint32_t* out = dib.Row(height - 1 - y);
        const uint8_t* in = rows[y];
        if (channels == 4) {
            for (int x = 0; x < width; ++x, in += 4) {
                const uint32_t a = in[3];
                out[x] = a << 24 | (in[0] * a / 255) << 16 | (in[1] * a / 255) << 8 | (in[2] * a / 255);
            }
        } else {
            for (int x = 0; x < width; ++x, in += 3)
                out[x] = 0xFF000000u | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
        }
    }
    bitmap = dib.Detach();
    return true;
}

bool DecodePng(t_errorChain& errors, t_memInput& input, t_imageSource& target, i_imageLoader_png_dyn* dyn)
{
    PerfScope scope("DecodePng");
    const wchar_t* reason = nullptr;
    if (input.Remaining() < 8)
        reason = L"文件过小";
    else if (png_sig_cmp(input.Here(), 0, 8) != 0)
        reason = L"头部不正确";
    if (reason) {
        errors.NewLine().AppendText(L"加载PNG图片失败:").AppendText(reason);
        return false;
    }
    t_pngReadState state = {&input, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    if (!png) {
        errors.NewLine().AppendText(L"加载PNG图片失败:").AppendText(L"创建头部结构失败");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        errors.NewLine().AppendText(L"加载PNG图片失败:").AppendText(L"创建信息结构失败");
        return false;
    }
    // Ancillary chunks are read whole: without a cap, a chunk claiming a gigabyte would be
    // allocated (and cleared) before its missing bytes are noticed. The decoder uses no
    // ancillary chunk but tRNS and the animation chunks, so the others are skipped unread.
    png_set_chunk_malloc_max(png, c_maxChunkBytes);
    static const png_byte c_unused[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0"
                                       "sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, c_unused, (sizeof(c_unused)) / 5);
    input.Skip(8);
    png_set_read_fn(png, &state, OnPngRead);
    png_set_sig_bytes(png, 8);

    t_pngDecode d = {};
    d.info = info;
    uint8_t* image = nullptr;
    bool ok = false;
    t_str line;
    if (!PngGuarded(png, ReadInfo, &d)) {
        AppendPngMessage(line, png);
    } else if (uint64_t(d.width) * d.height > c_maxCanvasPixels) {
        line.AppendText(L"图片过大");
    } else if (!PngGuarded(png, SetTransforms, &d)) {
        AppendPngMessage(line, png);
    } else if ((d.channels != 3 && d.channels != 4) || d.rowBytes < size_t(d.width) * d.channels) {
        line.AppendText(L"不支持的格式");
    } else {
        image = static_cast<uint8_t*>(malloc(d.rowBytes * d.height));
        d.rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * d.height));
        if (!image || !d.rows) {
            line.AppendText(L"PNG: out of memory");
        } else {
            for (png_uint_32 y = 0; y < d.height; ++y)
                d.rows[y] = image + d.rowBytes * y;
            if (d.animated && dyn) {
                t_errorChain frameErrors;
                t_pngFrameJob job = {&target, png,         info, MakePictureHeader(d.width, d.height, d.channels * 8),
                                     d.rows,  &frameErrors};
                if (dyn->HandleFrames(job)) {
                    ok = true;
                } else if (const t_errorLine* first = frameErrors.FirstLine()) {
                    line.AppendStr(first->text);
                }
            } else if (!PngGuarded(png, ReadImage, &d)) {
                AppendPngMessage(line, png);
            } else {
                HBITMAP bitmap = nullptr;
                t_errorChain dibErrors;
                if (PngRowsToDib(dibErrors, d.width, d.height, d.channels, d.rows, bitmap)) {
                    target.SetSingle(d.width, d.height, false, d.channels == 4, true, t_bitmapRef::e_handle, bitmap, 0,
                                     0);
                    ok = true;
                } else {
                    line.AppendStr(dibErrors.FirstLine()->text);
                }
            }
            // Whatever follows a still picture's data (to IEND) must read cleanly too. After
            // the announced frames of an animation nothing more is read: the libpng
            // extension cannot finish a file whose default image was not a frame.
            if (ok && !(d.animated && dyn) && !PngGuarded(png, ReadEnd, nullptr)) {
                AppendPngMessage(line, png);
                target.Free();
                ok = false;
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    free(d.rows);
    free(image);
    if (!ok)
        errors.NewLine().AppendText(L"加载PNG图片失败:").AppendStr(line);
    return ok;
}

bool t_imageLoader_png::Load(t_imageSource& target, const void* data, size_t count)
{
    t_errorChain errors;
    t_memInput input(data, count);
    if (DecodePng(errors, input, target, m_dyn))
        return true;
    errors.Reset();
    return false;
}
