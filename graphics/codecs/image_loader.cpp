#include "graphics/codecs/image_loader.h"

#include <cstdlib>
#include <cstring>

#include "foundation/files/file.h"
#include "foundation/files/path.h"
#include "graphics/codecs/gif_decoder.h"
#include "graphics/codecs/png_decoder.h"
#include "graphics/codecs/apng_frames.h"
#if __has_include("graphics/codecs/bmp_decoder.h")
#include "graphics/codecs/bmp_decoder.h"
#define KAVREL_HAVE_BMP_LOADER 1
#endif

namespace {

// Constant-initialised, so decoders registered or asked for by other static
// initialisers never see an unconstructed array.
i_imageLoader* s_loaders[c_imageLoaderSlots] = {};

// Registers the loaders before the entry function and deletes them at exit.
struct t_loaderRegistration {
    t_loaderRegistration() { RegisterImageLoaders(); }
    ~t_loaderRegistration() { FreeImageLoaders(); }
} s_registration;

}  // namespace

void RegisterImageLoader(i_imageLoader* loader, int index)
{
    if (index >= 0 && index < c_imageLoaderSlots)
        s_loaders[index] = loader;
}

i_imageLoader* GetImageLoader(int index)
{
    return index >= 0 && index < c_imageLoaderSlots ? s_loaders[index] : nullptr;
}

void RegisterImageLoaders()
{
#ifdef KAVREL_HAVE_BMP_LOADER
    if (!s_loaders[e_pictureBmp])
        RegisterImageLoader(new t_imageLoader_bmp, e_pictureBmp);
#endif
    if (!s_loaders[e_picturePng]) {
        t_imageLoader_png* png = new t_imageLoader_png;
        png->SetDynHandler(new t_imageLoader_png_dyn);
        RegisterImageLoader(png, e_picturePng);
    }
    if (!s_loaders[e_pictureGif])
        RegisterImageLoader(new t_imageLoader_gif, e_pictureGif);
}

void FreeImageLoaders()
{
    for (i_imageLoader*& loader : s_loaders) {
        delete loader;
        loader = nullptr;
    }
}

int DetectImageType(uint32_t v)
{
    if ((v & 0xFFFF) == 0x4D42)
        return e_pictureBmp;
    if (v >= 0x474E5000u && v <= 0x474E50FFu)
        return e_picturePng;
    if ((v & 0xFFFFFF) == 0x464947)
        return e_pictureGif;
    if ((v & 0xFFFFFF) == 0xFFD8FF)
        return e_pictureJpeg;
    return e_pictureUnknown;
}

int DetectImageType(const void* data, size_t count)
{
    if (!data || count <= 3)
        return e_pictureUnknown;
    const uint8_t* b = static_cast<const uint8_t*>(data);
    return DetectImageType(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

bool DecodeImage(size_t count, const void* data, t_imageSource& target)
{
    int type = DetectImageType(data, count);
    if (type == e_pictureUnknown)
        type = e_pictureBmp;
    i_imageLoader* loader = GetImageLoader(type);
    return loader && loader->Load(target, data, count);
}

bool ReadWholeFile(t_errorChain& errors, const wchar_t* path, void*& data, uint32_t& size)
{
    data = nullptr;
    size = 0;
    const wchar_t* reason = nullptr;
    t_errorChain quiet;
    unsigned length = 0;
    if (!t_path(path).GetFileSize(quiet, length)) {
        reason = L"获取文件大小失败";
    } else {
        // One spare byte, so that an empty file still gets a buffer.
        uint8_t* buffer = static_cast<uint8_t*>(malloc(static_cast<size_t>(length) + 1));
        t_file file;
        if (!buffer) {
            reason = L"内存分配失败";
        } else if (!file.Open(quiet, path, t_file::e_read)) {
            reason = L"打开文件失败";
        } else {
            uint32_t done = 0;
            while (done < length) {
                uint32_t got = 0;
                if (!file.Read(quiet, buffer + done, length - done, got) || got == 0)
                    break;
                done += got;
            }
            file.Close();
            if (done == length) {
                data = buffer;
                size = length;
                return true;
            }
            reason = L"读取文件失败";
        }
        free(buffer);
    }
    errors.NewLine().AppendText(L"读取文件失败:").AppendText(reason);
    return false;
}

bool LoadImageFile(const wchar_t* path, t_imageSource& target)
{
    t_errorChain errors;
    void* data = nullptr;
    uint32_t size = 0;
    if (!ReadWholeFile(errors, path, data, size))
        return false;
    const bool ok = DecodeImage(size, data, target);
    free(data);
    return ok;
}

// ---- image sources over the registry ----

bool t_imageSource::Decode(const void* data, size_t size)
{
    memset(this, 0, sizeof(*this));
    return DecodeImage(size, data, *this);
}

bool t_imageSource::CreateFromMemory(const void* data, size_t size, t_imageSource*& out)
{
    out = nullptr;
    t_imageSource* source = static_cast<t_imageSource*>(calloc(1, sizeof(t_imageSource)));
    if (!source)
        return false;
    if (!source->Decode(data, size)) {
        Destroy(source);
        return false;
    }
    out = source;
    return true;
}

bool t_imageSource::LoadFile(const wchar_t* path, t_imageSource*& out)
{
    out = nullptr;
    t_imageSource* source = static_cast<t_imageSource*>(calloc(1, sizeof(t_imageSource)));
    if (!source)
        return false;
    if (!LoadImageFile(path, *source)) {
        Destroy(source);
        return false;
    }
    out = source;
    return true;
}
