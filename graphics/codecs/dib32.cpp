#include "graphics/codecs/dib32.h"

#include <cstdlib>

t_pictureHeader MakePictureHeader(int width, int height, int bitCount)
{
    t_pictureHeader header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = BI_RGB;
    return header;
}

bool CreateDib32(t_errorChain& errors, const t_pictureHeader& header, HBITMAP& bitmap, uint32_t*& bits)
{
    bitmap = nullptr;
    bits = nullptr;
    const int64_t width = header.biWidth;
    const int64_t height = std::llabs(static_cast<int64_t>(header.biHeight));
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
    } else if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > c_maxDibPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else {
        BITMAPINFO info = {};
        info.bmiHeader = MakePictureHeader(static_cast<int>(width), static_cast<int>(height), 32);
        void* pixels = nullptr;
        HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (made && pixels) {
            bitmap = made;
            bits = static_cast<uint32_t*>(pixels);
            return true;
        }
        if (made)
            DeleteObject(made);
    }
    errors.AddLastError().AppendText(L"创建DIBSection失败:");
    return false;
}

bool t_dib32::Create(t_errorChain& errors, const t_pictureHeader& header)
{
    Reset();
    if (!CreateDib32(errors, header, m_bitmap, m_bits))
        return false;
    m_width = header.biWidth;
    m_height = static_cast<int>(std::llabs(static_cast<int64_t>(header.biHeight)));
    return true;
}

HBITMAP t_dib32::Detach()
{
    HBITMAP bitmap = m_bitmap;
    m_bitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = 0;
    return bitmap;
}

void t_dib32::Reset()
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = 0;
}
