// Test fixture of the phone preview's windows: a runtime skin loaded from a generated pack
// and the context that hands it to a window, as the mobile preview does.
#pragma once

#include <windows.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "foundation/core/error_chain.h"
#include "graphics/paint/paint_ctx.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "tests/support/flat_png.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/wnd_top.h"

// A width x height RGBA PNG whose pixel (x, y) is colour(x, y) as 0xRRGGBBAA.
template <class F>
std::string PixelPng(int width, int height, F colour)
{
    using namespace n_flatPng;
    std::string out = "\x89PNG\r\n\x1a\n";
    Chunk(out, "IHDR", Be32(width) + Be32(height) + std::string("\x08\x06\x00\x00\x00", 5));
    Chunk(out, "IDAT", PixelData(width, height, colour));
    Chunk(out, "IEND", "");
    return out;
}

// One colour (0xRRGGBBAA) inside a fully transparent border.
inline std::string BorderedPng(int width, int height, int border, uint32_t rgba)
{
    return PixelPng(width, height, [=](int x, int y) {
        return x >= border && y >= border && x < width - border && y < height - border ? rgba : 0u;
    });
}

// A window rendered as the preview paints it, width x height top-down pixels; empty when
// nothing could be rendered.
inline std::vector<uint32_t> RenderTopDown(t_wndTop& window, int width, int height)
{
    std::vector<uint32_t> out;
    t_memDC dib;
    if (!window.RenderToDib(nullptr, dib, width, height))
        return out;
    GdiFlush();
    out.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            out[static_cast<size_t>(y) * width + x] = dib.Pixels()[static_cast<size_t>(height - 1 - y) * width + x];
    }
    return out;
}

class t_mobileSkinTest : public t_tempFolderTest {
protected:
    explicit t_mobileSkinTest(const wchar_t* tag) : t_tempFolderTest(tag)
    {
        settings = t_uiSettings{};
        settings.skinEnabled = true;
        settings.fontSize = 16;
        settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
        settings.colorBackground = 0xFFFFFF;
        settings.statusBtnColor = 0xFFFFFFFFu;
        packPath = At(L"skin_v3.dat");
        skin.SetSkinPath(packPath.c_str(), true);
        skin.SetSettings(&settings);
        context.SetSettings(&settings);
        context.SetSkin(&skin);
    }

    // The pack of files and ini, loaded as the preview's skin.
    bool LoadSkin(const t_skinPackFiles& files, const std::wstring& ini)
    {
        if (!WriteSkinPackFile(dir / L"skin_src", files, ini, packPath))
            return false;
        t_errorChain errors;
        return skin.ParseSkinIni(errors, packPath.c_str());
    }

    t_uiSettings settings;
    std::wstring packPath;
    t_uiSkinData skin;
    t_uiContext context;
};
