// Pictures from resources: image records loaded from a module's picture resources, and
// the system check mark.
#include <cstring>

#include "foundation/process/resource.h"
#include "graphics/codecs/image_loader.h"
#include "graphics/image/image.h"

namespace {

const int c_checkMarkId = 32760;  // OBM_CHECK

// The picture resource's bytes: RT_RCDATA, then "PNG", then "RC_PNG".
const void* FindPictureResource(HMODULE module, const wchar_t* name, DWORD& size)
{
    t_resource* resources = t_resource::Instance();
    if (!resources)
        return nullptr;
    static const wchar_t* const c_types[] = {RT_RCDATA, L"PNG", L"RC_PNG"};
    for (const wchar_t* type : c_types) {
        size = 0;
        if (const void* data = resources->Find(module, name, type, size))
            return data;
    }
    return nullptr;
}

// Decodes with the PNG loader and takes the current bitmap out of the decoded source;
// everything else the source holds is freed.
HBITMAP DecodeToBitmap(const void* data, DWORD size, bool& hasAlpha)
{
    i_imageLoader* png = GetImageLoader(e_picturePng);
    if (!png || !data)
        return nullptr;
    t_imageSource source;
    memset(&source, 0, sizeof(source));
    if (!png->Load(source, data, size)) {
        source.Free();
        return nullptr;
    }
    hasAlpha = source.payload.hasAlpha != 0;
    HBITMAP bitmap = nullptr;
    t_bitmapRef* current = nullptr;
    if (source.kind == t_imageSource::e_single)
        current = &source.payload.ref;
    else if (source.kind == t_imageSource::e_frames && source.payload.frames && source.payload.current >= 0 &&
             source.payload.current < source.payload.count)
        current = &source.payload.frames[source.payload.current].ref;
    if (current && current->kind == t_bitmapRef::e_handle) {
        bitmap = current->Bitmap();
        current->handle = nullptr;
        if (source.kind == t_imageSource::e_frames)
            source.payload.ref.handle = nullptr;
    }
    source.Free();
    return bitmap;
}

}  // namespace

bool t_image::LoadResource(HMODULE module, const wchar_t* name)
{
    memset(this, 0, sizeof(*this));
    DWORD size = 0;
    const void* data = FindPictureResource(module, name, size);
    bool hasAlphaPixels = false;
    HBITMAP bitmap = DecodeToBitmap(data, size, hasAlphaPixels);
    if (!bitmap)
        return false;
    SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, e_natural, e_natural, false);
    hasAlpha = 1;
    return true;
}

bool LoadCheckMarkImage(t_imageSource& target)
{
    memset(&target, 0, sizeof(target));
    HBITMAP system = static_cast<HBITMAP>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(c_checkMarkId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (system) {
        target.SetSingle(0, 0, true, false, false, t_bitmapRef::e_handle, system, 0, 0);
        return true;
    }
    DWORD size = 0;
    const void* data = FindPictureResource(nullptr, MAKEINTRESOURCEW(c_checkMarkId), size);
    i_imageLoader* png = GetImageLoader(e_picturePng);
    if (!data || !png)
        return false;
    if (!png->Load(target, data, size)) {
        target.Free();
        return false;
    }
    return true;
}
