#include "graphics/paint/png_export.h"

#include <cstring>
#include <vector>

#include "foundation/win/security.h"
#include "graphics/paint/pixel_ops.h"

namespace {

// The few GDI+ flat-interface types used here, as gdiplus.dll lays them out.
typedef int t_gpStatus;
struct t_gpStartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
struct t_gpCodecInfo {
    CLSID clsid;
    GUID formatId;
    const WCHAR* codecName;
    const WCHAR* dllName;
    const WCHAR* formatDescription;
    const WCHAR* filenameExtension;
    const WCHAR* mimeType;
    DWORD flags, version, sigCount, sigSize;
    const BYTE* sigPattern;
    const BYTE* sigMask;
};
struct t_gpRect {
    INT x, y, width, height;
};
struct t_gpBitmapData {
    UINT width, height;
    INT stride;
    INT pixelFormat;
    void* scan0;
    UINT_PTR reserved;
};
struct t_gpBitmap;

const INT c_pixelFormat32bppPARGB = 0xE200B;
const UINT c_imageLockModeWrite = 2;
const t_gpStatus c_ok = 0;

struct t_gdiplus {
    t_gpStatus(WINAPI* startup)(ULONG_PTR*, const t_gpStartupInput*, void*);
    t_gpStatus(WINAPI* getEncodersSize)(UINT*, UINT*);
    t_gpStatus(WINAPI* getEncoders)(UINT, UINT, t_gpCodecInfo*);
    t_gpStatus(WINAPI* createBitmapFromScan0)(INT, INT, INT, INT, BYTE*, t_gpBitmap**);
    t_gpStatus(WINAPI* lockBits)(t_gpBitmap*, const t_gpRect*, UINT, INT, t_gpBitmapData*);
    t_gpStatus(WINAPI* unlockBits)(t_gpBitmap*, t_gpBitmapData*);
    t_gpStatus(WINAPI* saveImageToFile)(t_gpBitmap*, const WCHAR*, const CLSID*, const void*);
    t_gpStatus(WINAPI* disposeImage)(t_gpBitmap*);
    bool bound = false;
    bool started = false;
};

t_gdiplus g_gdiplus;

template <class T>
bool Bind(HMODULE module, const char* name, T& function)
{
    function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// Binds the flat interface once gdiplus.dll is loaded (it stays loaded for the process).
bool BindGdiplus()
{
    if (g_gdiplus.bound)
        return true;
    HMODULE module = GetModuleHandleW(L"gdiplus.dll");
    if (!module)
        module = LoadLibraryW(L"gdiplus.dll");
    if (!module)
        return false;
    t_gdiplus& g = g_gdiplus;
    g.bound =
        Bind(module, "GdiplusStartup", g.startup) && Bind(module, "GdipGetImageEncodersSize", g.getEncodersSize) &&
        Bind(module, "GdipGetImageEncoders", g.getEncoders) &&
        Bind(module, "GdipCreateBitmapFromScan0", g.createBitmapFromScan0) &&
        Bind(module, "GdipBitmapLockBits", g.lockBits) && Bind(module, "GdipBitmapUnlockBits", g.unlockBits) &&
        Bind(module, "GdipSaveImageToFile", g.saveImageToFile) && Bind(module, "GdipDisposeImage", g.disposeImage);
    return g.bound;
}

// The rectangle copied upright into a new premultiplied 32-bit GDI+ bitmap.
t_gpBitmap* CreateBitmapFromPixels(const void* pixels, const RECT& rect, SIZE size)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    t_gpBitmap* bitmap = nullptr;
    if (g_gdiplus.createBitmapFromScan0(width, height, 0, c_pixelFormat32bppPARGB, nullptr, &bitmap) != c_ok || !bitmap)
        return nullptr;
    const t_gpRect all = {0, 0, width, height};
    t_gpBitmapData data = {};
    if (g_gdiplus.lockBits(bitmap, &all, c_imageLockModeWrite, c_pixelFormat32bppPARGB, &data) != c_ok) {
        g_gdiplus.disposeImage(bitmap);
        return nullptr;
    }
    const uint8_t* source = static_cast<const uint8_t*>(pixels);
    const size_t sourceStride = static_cast<size_t>(size.cx) * 4;
    for (int i = 0; i < height; ++i) {
        // Output row i is top-down row top + i, memory row height - 1 - top - i.
        const uint8_t* from = source + static_cast<size_t>(size.cy - 1 - rect.top - i) * sourceStride + rect.left * 4;
        uint8_t* to = static_cast<uint8_t*>(data.scan0) + static_cast<ptrdiff_t>(i) * data.stride;
        memcpy(to, from, static_cast<size_t>(width) * 4);
    }
    g_gdiplus.unlockBits(bitmap, &data);
    return bitmap;
}

}  // namespace

bool StartGdiplusOnce()
{
    if (g_gdiplus.started)
        return true;
    if (!BindGdiplus())
        return false;
    const t_gpStartupInput input = {1, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    // GDI+ stays started until the process ends; the token is not needed.
    g_gdiplus.started = g_gdiplus.startup(&token, &input, nullptr) == c_ok;
    return g_gdiplus.started;
}

int FindEncoderClsid(const wchar_t* mimeType, CLSID& clsid)
{
    if (!BindGdiplus())
        return -1;
    UINT count = 0, bytes = 0;
    if (g_gdiplus.getEncodersSize(&count, &bytes) != c_ok || bytes == 0 || count == 0)
        return -1;
    std::vector<uint8_t> buffer;
    try {
        buffer.resize(bytes);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    t_gpCodecInfo* codecs = reinterpret_cast<t_gpCodecInfo*>(buffer.data());
    if (g_gdiplus.getEncoders(count, bytes, codecs) != c_ok)
        return -1;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].mimeType && wcscmp(codecs[i].mimeType, mimeType) == 0) {
            clsid = codecs[i].clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SavePixelsAsPng(const void* pixels, const RECT& rect, SIZE size, const wchar_t* path)
{
    // The rectangle must lie inside the source and hold at least one pixel.
    if (!pixels || !path || size.cx <= 0 || size.cy <= 0 || rect.left < 0 || rect.top < 0 || rect.right > size.cx ||
        rect.bottom > size.cy || rect.left >= rect.right || rect.top >= rect.bottom)
        return false;
    OSVERSIONINFOW version;
    if (!GetOsVersion(version))
        return false;
    if (version.dwMajorVersion < 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion == 0)) {
        if (!LoadLibraryW(L"gdiplus.dll"))
            return false;
    }
    if (!StartGdiplusOnce())
        return false;
    CLSID png = {};
    FindEncoderClsid(L"image/png", png);
    t_gpBitmap* bitmap = CreateBitmapFromPixels(pixels, rect, size);
    if (!bitmap)
        return false;
    const t_gpStatus status = g_gdiplus.saveImageToFile(bitmap, path, &png, nullptr);
    g_gdiplus.disposeImage(bitmap);
    return status == c_ok;
}

bool SavePng(HBITMAP bitmap, const RECT& rect, SIZE size, const wchar_t* path)
{
    int width = 0, height = 0;
    const uint32_t* pixels = ReadablePixels(t_bitmapRef{t_bitmapRef::e_handle, bitmap, 0, 0}, width, height);
    if (!pixels || width != size.cx || height != size.cy)
        return false;
    return SavePixelsAsPng(pixels, rect, size, path);
}
