#include "toolkit/directui/du_image.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "graphics/paint/paint_ctx.h"
#include "toolkit/directui/du_strings.h"

namespace DirectUI {

namespace {

// Pictures beyond this side length are refused: they are host data, not trusted sizes.
const int c_maxPictureSide = 16384;

}  // namespace

bool DuPicture::IsValid() const
{
    if (width <= 0 || height <= 0 || width > c_maxPictureSide || height > c_maxPictureSide)
        return false;
    return pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
}

DuElementImage::DuElementImage() { m_type = e_duImage; }

DuElementImage::~DuElementImage()
{
    delete m_picture;
    delete[] m_src;
}

bool DuElementImage::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (DuElement::SetAttribute(name, value))
        return true;
    if (!name || !value)
        return false;
    if (_wcsicmp(name, L"type") == 0) {
        if (_wcsicmp(value, L"url") == 0)
            m_sourceType = e_duSourceUrl;
        else if (_wcsicmp(value, L"res") == 0)
            m_sourceType = e_duSourceRes;
        return true;
    }
    if (_wcsicmp(name, L"src") == 0) {
        wchar_t* copy = DupString(value);
        delete[] m_src;
        m_src = copy;
        return true;
    }
    return false;
}

bool DuElementImage::SplitUrl(const wchar_t* src, std::wstring& folder, std::wstring& fileName)
{
    if (!src)
        return false;
    const wchar_t* last = wcsrchr(src, L'/');
    if (!last)
        return false;
    fileName.assign(last + 1);
    const wchar_t* previous = nullptr;
    for (const wchar_t* p = last; p > src;) {
        --p;
        if (*p == L'/') {
            previous = p;
            break;
        }
    }
    if (previous && !(previous > src && previous[-1] == L'/'))
        folder.assign(previous + 1, last);
    else
        folder.assign(L"DuImages\\");
    return true;
}

void DuElementImage::LoadPicture()
{
    if (!m_delegate || !m_src)
        return;
    DuPicture* picture = new (std::nothrow) DuPicture;
    if (!picture)
        return;
    bool loaded = false;
    if (m_sourceType == e_duSourceRes) {
        loaded = m_delegate->LoadResImage(m_src, *picture);
    } else {
        std::wstring folder, fileName;
        if (SplitUrl(m_src, folder, fileName))
            loaded = m_delegate->LoadUrlImage(folder.c_str(), fileName.c_str(), m_src, *picture);
    }
    // A picture whose pixel count disagrees with its size is never drawn from.
    if (loaded && picture->IsValid())
        m_picture = picture;
    else
        delete picture;
}

bool DuElementImage::MeasureSelf(t_paintCtx&)
{
    if (!m_picture)
        LoadPicture();
    int pictureWidth = m_picture ? m_picture->width : 0;
    int pictureHeight = m_picture ? m_picture->height : 0;
    if (!m_fixedWidth)
        m_width = DuAdd(m_contentWidth, pictureWidth);
    if (!m_fixedHeight)
        m_height = m_contentHeight > pictureHeight ? m_contentHeight : pictureHeight;
    return true;
}

bool DuElementImage::DrawSelf(t_paintCtx& ctx, int x, int y)
{
    if (!m_picture || m_width <= 0 || m_height <= 0)
        return false;
    t_memDC dib;
    if (!t_memDC::Create(dib, ctx.Dc(), m_picture->width, m_picture->height))
        return false;
    // The DIB is bottom-up; the picture's rows are top-down.
    uint32_t* bits = dib.Pixels();
    size_t rowPixels = static_cast<size_t>(m_picture->width);
    for (int row = 0; row < m_picture->height; ++row) {
        const uint32_t* from = m_picture->pixels.data() + row * rowPixels;
        std::copy(from, from + rowPixels, bits + (m_picture->height - 1 - row) * rowPixels);
    }
    GdiFlush();
    int top = DuAdd(y, m_y);
    if (m_picture->height < m_height)
        top = DuAdd(top, (m_height - m_picture->height) / 2);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(ctx.Dc(), DuAdd(x, m_x), top, m_width, m_height, dib.dc, 0, 0, m_picture->width,
                      m_picture->height, blend) != FALSE;
}

}  // namespace DirectUI
