#include "graphics/codecs/bmp_decoder.h"

#include <cstring>

namespace {

const uint32_t c_fileHeaderBytes = 14;
const uint32_t c_coreHeaderBytes = 12;
const uint32_t c_infoHeaderBytes = 40;
const uint32_t c_os2HeaderBytes = 64;
const uint32_t c_v4HeaderBytes = 108;
const uint32_t c_v5HeaderBytes = 124;
// Where V4/V5 headers keep their red, green, blue and alpha masks.
const uint32_t c_headerMasksOffset = 40;

const uint32_t c_opaque = 0xFF000000u;

const wchar_t* const c_reasonShort = L"数据不全";
const wchar_t* const c_reasonFormat = L"不支持的格式";
const wchar_t* const c_reasonIndex = L"调色板索引越界";
const wchar_t* const c_reasonRle4 = L"RLE4数据错误";
const wchar_t* const c_reasonRle8 = L"RLE8数据错误";

uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t U32At(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Bytes of one stored row, rows padded to 4 bytes.
uint64_t RowBytes(uint32_t bitCount, int64_t width) { return (uint64_t(bitCount) * uint64_t(width) + 31) / 32 * 4; }

int CountBits(uint32_t value)
{
    int n = 0;
    for (; value; value &= value - 1)
        ++n;
    return n;
}

// One colour channel given by a mask: its bits are moved so that the channel's top bit
// lands on bit 7 (low bits stay 0; wider channels drop their low bits). This gives 0xF8
// for a full 5-bit channel and 0xFC for a full 6-bit one.
struct t_maskChannel {
    uint32_t mask = 0;
    int low = 0;
    int bits = 0;

    // False for a mask whose bits are not one contiguous run.
    bool Set(uint32_t value)
    {
        mask = value;
        low = 0;
        bits = CountBits(value);
        if (!value)
            return true;
        while (!(value & 1)) {
            value >>= 1;
            ++low;
        }
        return (value & (value + 1)) == 0;
    }
    uint32_t Take(uint32_t pixel) const
    {
        if (!bits)
            return 0;
        const uint32_t v = (pixel & mask) >> low;
        return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
    }
};

uint32_t Premultiply(uint32_t b, uint32_t g, uint32_t r, uint32_t a)
{
    return (b * a / 255) | (g * a / 255) << 8 | (r * a / 255) << 16 | a << 24;
}

// The palette as opaque BGRA words; indices at or past `count` are refused.
struct t_palette {
    uint32_t colours[256];
    uint32_t count = 0;

    void Load(const t_bmpInfo& info)
    {
        const int step = info.core ? 3 : 4;
        count = info.hasPalette ? info.paletteEntries : 0;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = info.palette + size_t(i) * step;
            colours[i] = c_opaque | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }
};

class t_pixelDecoder {
public:
    t_pixelDecoder(const t_pictureHeader& header, const t_bmpInfo& info, uint32_t* pixels)
        : m_header(header), m_info(info), m_pixels(pixels), m_width(header.biWidth), m_height(header.biHeight)
    {
        m_palette.Load(info);
    }

    // Null on success, else the reason.
    const wchar_t* Decode(t_memInput& input);

private:
    uint32_t* Row(int y) const { return m_pixels + size_t(y) * m_width; }
    const wchar_t* DecodeIndexed(const uint8_t* data, uint64_t stride);
    const wchar_t* DecodeMasked(const uint8_t* data, uint64_t stride, int bytesPerPixel);
    void CopyPremultiplied(const uint8_t* data, uint64_t stride);
    const wchar_t* DecodeRle(const uint8_t* data, size_t count, bool four);
    void FlipRows();

    const t_pictureHeader& m_header;
    const t_bmpInfo& m_info;
    uint32_t* m_pixels;
    int m_width;
    int m_height;
    t_palette m_palette;
};

const wchar_t* t_pixelDecoder::Decode(t_memInput& input)
{
    const uint32_t bits = m_header.biBitCount;
    const uint32_t compression = m_header.biCompression;
    const uint64_t stride = RowBytes(bits, m_width);
    const bool plain = compression == BI_RGB || compression == BI_BITFIELDS;
    if (plain && input.Remaining() < stride * uint64_t(m_height))
        return c_reasonShort;

    const uint8_t* data = input.Here();
    const wchar_t* reason = c_reasonFormat;
    switch (bits) {
    case 1:
        if (compression == BI_RGB)
            reason = DecodeIndexed(data, stride);
        break;
    case 4:
    case 8:
        if (compression == BI_RGB) {
            reason = DecodeIndexed(data, stride);
        } else if (compression == (bits == 4 ? BI_RLE4 : BI_RLE8)) {
            // The RLE stream is the image size's bytes, or as many of them as are present.
            size_t count = input.Remaining();
            if (m_header.biSizeImage < count)
                count = m_header.biSizeImage;
            reason = DecodeRle(data, count, bits == 4);
        }
        break;
    case 16:
        if (plain)
            reason = DecodeMasked(data, stride, 2);
        break;
    case 24:
        if (compression == BI_RGB) {
            for (int y = 0; y < m_height; ++y) {
                const uint8_t* s = data + stride * y;
                uint32_t* d = Row(y);
                for (int x = 0; x < m_width; ++x, s += 3)
                    d[x] = c_opaque | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0];
            }
            reason = nullptr;
        }
        break;
    case 32: {
        // Pixels stored as B, G, R, A bytes are taken as they stand; other mask layouts
        // (and V4/V5 headers that declare no alpha) go through the masks.
        const bool standard =
            compression == BI_RGB ||
            (m_info.redMask == 0x00FF0000 && m_info.greenMask == 0x0000FF00 && m_info.blueMask == 0x000000FF &&
             (!m_info.hasAlphaMask || m_info.alphaMask == 0xFF000000));
        if (compression == BI_RGB || compression == BI_BITFIELDS) {
            if (standard) {
                CopyPremultiplied(data, stride);
                reason = nullptr;
            } else {
                reason = DecodeMasked(data, stride, 4);
            }
        }
        break;
    }
    default:
        break;
    }
    if (reason)
        return reason;
    if (m_info.topDown)
        FlipRows();
    return nullptr;
}

const wchar_t* t_pixelDecoder::DecodeIndexed(const uint8_t* data, uint64_t stride)
{
    const uint32_t bits = m_header.biBitCount;
    const uint32_t perByte = 8 / bits;
    const uint32_t valueMask = (1u << bits) - 1;
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* s = data + stride * y;
        uint32_t* d = Row(y);
        for (int x = 0; x < m_width; ++x) {
            const uint32_t shift = 8 - bits * (x % perByte + 1);
            const uint32_t index = (s[x / perByte] >> shift) & valueMask;
            if (index >= m_palette.count)
                return c_reasonIndex;
            d[x] = m_palette.colours[index];
        }
    }
    return nullptr;
}

const wchar_t* t_pixelDecoder::DecodeMasked(const uint8_t* data, uint64_t stride, int bytesPerPixel)
{
    uint32_t red = m_info.redMask, green = m_info.greenMask, blue = m_info.blueMask;
    uint32_t alpha = m_info.hasAlphaMask ? m_info.alphaMask : 0;
    if (bytesPerPixel == 2) {
        // 16-bit masks count over the low 16 bits only.
        red &= 0xFFFF;
        green &= 0xFFFF;
        blue &= 0xFFFF;
        alpha &= 0xFFFF;
    }
    t_maskChannel r, g, b, a;
    if (!r.Set(red) || !g.Set(green) || !b.Set(blue) || !a.Set(alpha))
        return c_reasonFormat;
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* s = data + stride * y;
        uint32_t* d = Row(y);
        for (int x = 0; x < m_width; ++x, s += bytesPerPixel) {
            const uint32_t p = bytesPerPixel == 2 ? U16At(s) : U32At(s);
            const uint32_t av = a.bits ? a.Take(p) : 255;
            d[x] = Premultiply(b.Take(p), g.Take(p), r.Take(p), av);
        }
    }
    return nullptr;
}

void t_pixelDecoder::CopyPremultiplied(const uint8_t* data, uint64_t stride)
{
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* s = data + stride * y;
        uint32_t* d = Row(y);
        for (int x = 0; x < m_width; ++x, s += 4)
            d[x] = Premultiply(s[0], s[1], s[2], s[3]);
    }
}

// RLE rows run bottom-up like the DIB's. Pixels the stream never writes stay opaque
// black. A run that leaves the picture, a delta past it, an index past the palette or
// an end of data before the picture is complete fails.
const wchar_t* t_pixelDecoder::DecodeRle(const uint8_t* data, size_t count, bool four)
{
    const wchar_t* const broken = four ? c_reasonRle4 : c_reasonRle8;
    for (int y = 0; y < m_height; ++y) {
        uint32_t* d = Row(y);
        for (int x = 0; x < m_width; ++x)
            d[x] = c_opaque;
    }
    auto colour = [this](uint32_t index, uint32_t& out) {
        if (index >= m_palette.count)
            return false;
        out = m_palette.colours[index];
        return true;
    };

    size_t pos = 0;
    int x = 0;
    int row = 0;
    while (count - pos >= 2) {
        const uint32_t n = data[pos];
        const uint32_t code = data[pos + 1];
        pos += 2;
        if (n != 0) {
            if (row >= m_height || uint32_t(m_width - x) < n)
                return broken;
            uint32_t* d = Row(row) + x;
            if (four) {
                uint32_t hi = 0, lo = 0;
                if (!colour(code >> 4, hi) || (n > 1 && !colour(code & 15, lo)))
                    return c_reasonIndex;
                for (uint32_t i = 0; i < n; ++i)
                    d[i] = (i & 1) ? lo : hi;
            } else {
                uint32_t c;
                if (!colour(code, c))
                    return c_reasonIndex;
                for (uint32_t i = 0; i < n; ++i)
                    d[i] = c;
            }
            x += int(n);
        } else if (code == 0) {
            // An end of line may step just past the last row (an end of bitmap follows).
            if (row >= m_height)
                return broken;
            ++row;
            x = 0;
            continue;
        } else if (code == 1) {
            return nullptr;
        } else if (code == 2) {
            if (count - pos < 2)
                return broken;
            const int dx = data[pos];
            const int dy = data[pos + 1];
            pos += 2;
            if (dx > m_width - x || dy > m_height - row)
                return broken;
            x += dx;
            row += dy;
            continue;
        } else {
            // An absolute run of `code` pixels, its bytes padded to an even count.
            const uint32_t m = code;
            const size_t bytes = four ? (m + 1) / 2 : m;
            if (count - pos < bytes || row >= m_height || uint32_t(m_width - x) < m)
                return broken;
            uint32_t* d = Row(row) + x;
            const uint8_t* s = data + pos;
            for (uint32_t i = 0; i < m; ++i) {
                const uint32_t index = four ? ((i & 1) ? s[i / 2] & 15 : s[i / 2] >> 4) : s[i];
                if (!colour(index, d[i]))
                    return c_reasonIndex;
            }
            x += int(m);
            const size_t skip = bytes + (bytes & 1);
            pos += skip < count - pos ? skip : count - pos;
        }
        if (row == m_height - 1 && x == m_width)
            return nullptr;
    }
    return broken;
}

void t_pixelDecoder::FlipRows()
{
    for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom) {
        uint32_t* a = Row(top);
        uint32_t* b = Row(bottom);
        for (int x = 0; x < m_width; ++x) {
            const uint32_t t = a[x];
            a[x] = b[x];
            b[x] = t;
        }
    }
}

}  // namespace

bool ReadBmpInfoHeader(t_bmpInfo& info, t_pictureHeader& header, t_memInput& input)
{
    info = t_bmpInfo();
    const size_t headerStart = input.Position();
    if (input.Remaining() < 4)
        return false;
    const uint8_t* h = input.Here();
    const uint32_t size = U32At(h);
    // The whole header must be present: 12 bytes for a core header (a small core-header
    // picture may have fewer than 40 bytes in all), at least 40 for every other form.
    if (size != c_coreHeaderBytes && size < c_infoHeaderBytes)
        return false;
    if (input.Remaining() < size)
        return false;

    header = t_pictureHeader();
    header.biSize = size;
    if (size == c_coreHeaderBytes) {
        header.biWidth = U16At(h + 4);
        header.biHeight = U16At(h + 6);
        header.biPlanes = U16At(h + 8);
        header.biBitCount = U16At(h + 10);
        info.core = true;
    } else {
        memcpy(&header, h, c_infoHeaderBytes);
        header.biSize = size;
    }

    const int64_t width = header.biWidth;
    int64_t height = header.biHeight;
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    const uint64_t stride = RowBytes(header.biBitCount, width);
    const uint64_t total = stride * uint64_t(height < 0 ? -height : height);
    if (total > UINT32_MAX)
        return false;

    switch (size) {
    case c_coreHeaderBytes:
    case c_infoHeaderBytes:
    case c_os2HeaderBytes:
        break;
    case c_v4HeaderBytes:
    case c_v5HeaderBytes:
        info.redMask = U32At(h + c_headerMasksOffset);
        info.greenMask = U32At(h + c_headerMasksOffset + 4);
        info.blueMask = U32At(h + c_headerMasksOffset + 8);
        info.alphaMask = U32At(h + c_headerMasksOffset + 12);
        info.hasAlphaMask = true;
        break;
    default:
        if (size <= c_infoHeaderBytes || header.biPlanes != 1 || header.biCompression != BI_RGB ||
            header.biClrUsed != 0 || total != header.biSizeImage)
            return false;
        break;
    }
    if (!input.Seek(headerStart + size))
        return false;

    if (header.biSizeImage == 0)
        header.biSizeImage = static_cast<DWORD>(total);
    if (header.biClrUsed == 0 && header.biBitCount <= 8)
        header.biClrUsed = 1u << header.biBitCount;
    if (height < 0) {
        header.biHeight = static_cast<LONG>(-height);
        info.topDown = true;
    }

    if (header.biClrUsed != 0 && header.biBitCount <= 15) {
        // Only entries that an index can reach and that lie within the data are read.
        const size_t step = info.core ? 3 : 4;
        size_t entries = header.biClrUsed < 256 ? header.biClrUsed : 256;
        if (entries > input.Remaining() / step)
            entries = input.Remaining() / step;
        info.hasPalette = true;
        info.palette = input.Here();
        info.paletteEntries = static_cast<uint32_t>(entries);
    }

    const bool bitfields = header.biCompression == BI_BITFIELDS;
    if (header.biBitCount == 16 && !bitfields) {
        info.redMask = 0x7C00;
        info.greenMask = 0x03E0;
        info.blueMask = 0x001F;
        info.alphaMask = 0;
    } else if ((header.biBitCount == 16 || header.biBitCount == 32) && bitfields && size < c_v4HeaderBytes) {
        // Short headers carry the three masks after themselves.
        if (!input.ReadU32(info.redMask) || !input.ReadU32(info.greenMask) || !input.ReadU32(info.blueMask))
            return false;
    }
    return true;
}

bool DecodeBmpPixels(t_errorChain& errors, const t_pictureHeader& header, t_memInput& input, uint32_t* pixels,
                     const t_bmpInfo& info)
{
    t_pixelDecoder decoder(header, info, pixels);
    if (const wchar_t* reason = decoder.Decode(input))
        return errors.Fail(L"bmp数据读取错误:%s", reason);
    return true;
}

bool DecodeBmp(t_errorChain& errors, t_memInput& input, HBITMAP& bitmap, t_pictureHeader& header)
{
    bitmap = nullptr;
    if (input.Size() < c_fileHeaderBytes)
        return errors.Fail(L"文件过小");
    const uint8_t* start = input.Start();
    const bool hasFileHeader = start[0] == 'B' && start[1] == 'M';
    const uint32_t dataOffset = hasFileHeader ? U32At(start + 10) : 0;
    input.Seek(hasFileHeader ? c_fileHeaderBytes : 0);

    t_bmpInfo info;
    t_pictureHeader read;
    if (!ReadBmpInfoHeader(info, read, input))
        return errors.Fail(L"读取图片信息失败");

    bool placed;
    if (hasFileHeader) {
        placed = input.Seek(dataOffset);
    } else {
        // Bare data: the pixels follow the whole palette the header announces.
        const uint64_t paletteBytes = uint64_t(read.biClrUsed) * (info.core ? 3 : 4);
        placed =
            !info.hasPalette || (paletteBytes <= input.Remaining() && input.Skip(static_cast<size_t>(paletteBytes)));
    }
    // Uncompressed rows that are not all present are refused before the picture is
    // allocated: a damaged size must not cost a large allocation.
    const bool plain = read.biCompression == BI_RGB || read.biCompression == BI_BITFIELDS;
    if (!placed || (plain && input.Remaining() < RowBytes(read.biBitCount, read.biWidth) * uint64_t(read.biHeight))) {
        errors.Fail(L"bmp数据读取错误:%s", c_reasonShort);
        return errors.Fail(L"读取图片数据失败");
    }

    t_memDC dib;
    if (!CreatePictureDib(errors, read, dib))
        return errors.Fail(L"创建HBITMAP失败");
    if (!DecodeBmpPixels(errors, read, input, dib.Pixels(), info))
        return errors.Fail(L"读取图片数据失败");

    bitmap = dib.Detach();
    header = read;
    return true;
}

bool t_imageLoader_bmp::Load(t_imageSource& target, const void* data, size_t count)
{
    t_errorChain errors;
    t_memInput input(data, count);
    HBITMAP bitmap = nullptr;
    t_pictureHeader header;
    if (!DecodeBmp(errors, input, bitmap, header)) {
        errors.Reset();
        return false;
    }
    target.SetSingle(header.biWidth, header.biHeight, false, false, true, t_bitmapRef::e_handle, bitmap, 0, 0);
    return true;
}
