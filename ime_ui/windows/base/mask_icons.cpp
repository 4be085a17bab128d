#include "ime_ui/windows/base/mask_icons.h"

#include <cstring>
#include <new>

#include "foundation/process/resource.h"
#include "graphics/image/image_source.h"

namespace {

const wchar_t* const c_maskNames[c_maskKindCount] = {L"IDR_NAME_ICON", L"IDR_CLOUD_ICON", L"IDR_SUGG_HELP",
                                                     L"IDR_SUGG_SEARCH"};

// Pictures larger than this are not icons: refused before any allocation.
const int c_maxPictureSide = 4096;

}  // namespace

void TintMask(const uint8_t* mask, uint32_t* out, size_t count, uint32_t colour)
{
    if (colour == 0xFFFFFFFFu)
        colour = 0x00FFFFFFu;
    const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t g = mask[i];
        out[i] = (g << 24) | ((red * g / 255) << 16) | ((green * g / 255) << 8) | (blue * g / 255);
    }
}

bool LoadResourcePixels(HMODULE module, const wchar_t* name, const wchar_t* type, uint32_t*& pixels, int& width,
                        int& height)
{
    t_errorChain dropped;
    return LoadResourcePixels(dropped, module, name, type, pixels, width, height);
}

bool LoadResourcePixels(t_errorChain& errors, HMODULE module, const wchar_t* name, const wchar_t* type,
                        uint32_t*& pixels, int& width, int& height)
{
    pixels = nullptr;
    width = height = 0;
    t_resource* resources = t_resource::Instance();
    DWORD size = 0;
    const void* data = resources ? resources->Find(module, name, type, size) : nullptr;
    if (!data || size == 0)
        return false;
    t_imageSource source;
    memset(&source, 0, sizeof(source));
    bool ok = source.Decode(data, size);
    int w = 0, h = 0;
    const t_bitmapRef ref = source.GetBitmapRef();
    const uint32_t* bits = ok ? static_cast<const uint32_t*>(ref.GetPixels()) : nullptr;
    if (bits)
        ref.GetSize(w, h);
    const bool readable = bits && w > 0 && h > 0 && w <= c_maxPictureSide && h <= c_maxPictureSide;
    if (ok && !readable)
        errors.NewLine().AppendFormat(L"%s", L"获取BITMAP失败!");
    ok = readable;
    if (ok) {
        pixels = new (std::nothrow) uint32_t[static_cast<size_t>(w) * static_cast<size_t>(h)];
        ok = pixels != nullptr;
    }
    if (ok) {
        // Decoded rows run bottom-up.
        for (int y = 0; y < h; ++y)
            memcpy(pixels + static_cast<size_t>(y) * w, bits + static_cast<size_t>(h - 1 - y) * w,
                   static_cast<size_t>(w) * 4);
        width = w;
        height = h;
    }
    source.Free();
    return ok;
}

bool t_maskIcons::SetMask(t_maskKind kind, const uint8_t* mask, int width, int height)
{
    if (!mask || width <= 0 || height <= 0 || width > c_maxPictureSide || height > c_maxPictureSide)
        return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint8_t* copy = new (std::nothrow) uint8_t[count];
    if (!copy)
        return false;
    memcpy(copy, mask, count);
    t_icon& icon = m_icons[Index(kind)];
    delete[] icon.mask;
    delete[] icon.tinted;
    icon.tinted = nullptr;
    icon.mask = copy;
    icon.size = SIZE{width, height};
    return true;
}

bool t_maskIcons::Load(t_maskKind kind, HMODULE module)
{
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    if (!LoadResourcePixels(module, c_maskNames[Index(kind)], RT_RCDATA, pixels, width, height))
        return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint8_t* mask = new (std::nothrow) uint8_t[count];
    bool ok = mask != nullptr;
    if (ok) {
        for (size_t i = 0; i < count; ++i)
            mask[i] = static_cast<uint8_t>(pixels[i] >> 24);
        ok = SetMask(kind, mask, width, height);
    }
    delete[] mask;
    delete[] pixels;
    return ok;
}

bool t_maskIcons::Tint(t_maskKind kind, uint32_t colour, HMODULE module)
{
    t_icon& icon = m_icons[Index(kind)];
    if (!icon.mask && !Load(kind, module))
        return false;
    const size_t count = static_cast<size_t>(icon.size.cx) * static_cast<size_t>(icon.size.cy);
    if (!icon.tinted) {
        icon.tinted = new (std::nothrow) uint32_t[count];
        if (!icon.tinted)
            return false;
    }
    TintMask(icon.mask, icon.tinted, count, colour);
    return true;
}

void t_maskIcons::Release()
{
    for (t_icon& icon : m_icons) {
        delete[] icon.mask;
        delete[] icon.tinted;
        icon = t_icon();
    }
}
