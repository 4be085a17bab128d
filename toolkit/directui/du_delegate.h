// The host side of a DirectUI element tree: default font and colours, pictures and links.
#pragma once

#include <cstdint>
#include <vector>

namespace DirectUI {

// A decoded picture: width x height premultiplied ARGB pixels, rows top-down.
struct DuPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    // The pixel count matches the size and the size is positive and bounded.
    bool IsValid() const;
};

// Everything host-specific the tree needs. Colours are words with the alpha in the top byte
// and a GDI colour (red lowest) below.
class DuDelegate {
public:
    virtual ~DuDelegate() = default;

    virtual void OnLinkClick(const wchar_t* href, int flags) = 0;
    // Slots the tree never calls; hosts answer them as they see fit.
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual void Reserved3() = 0;
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual uint32_t GetTextColor() = 0;
    virtual uint32_t GetBackColor() = 0;
    virtual const wchar_t* GetFontName() = 0;
    virtual int GetFontSize() = 0;
    virtual bool UseSmoothFont() = 0;
    virtual bool LoadUrlImage(const wchar_t* folder, const wchar_t* fileName, const wchar_t* url,
                              DuPicture& picture) = 0;
    virtual bool LoadResImage(const wchar_t* name, DuPicture& picture) = 0;
};

}  // namespace DirectUI
