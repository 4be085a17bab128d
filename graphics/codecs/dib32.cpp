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

bool CreatePictureDib(t_errorChain& errors, const t_pictureHeader& header, t_memDC& dib)
{
    dib.Release();
    const int64_t width = header.biWidth;
    const int64_t height = std::llabs(static_cast<int64_t>(header.biHeight));
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
    } else if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > c_maxDibPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else if (dib.CreateBitmap(static_cast<int>(width), static_cast<int>(height))) {
        return true;
    }
    errors.AddLastError().AppendText(L"创建DIBSection失败:");
    return false;
}
