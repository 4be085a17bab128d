// Drawing-layer throughput on realistic sizes: a nine-part alpha background of 800 x 600,
// a 1-pixel part tiled across 1920 pixels, the bicubic resize of 1920 x 1080 to 960 x 540
// and the glow of a 400 x 60 text bitmap. Prints medians and Mpx/s, the goals, and the
// peers run in the same process: a plain scalar blend loop and GDI's AlphaBlend over the
// same 800 x 600 pixels, and the glow filter called once per window.
//   paint_bench [runs] [folder]
// With a folder, the resize's source and result are written there as raw RGBA (top-down,
// premultiplied) for the comparison with ImageMagick (bench/paint_bench.sh).
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_panel.h"
#include "bench/bench_timer.h"
#include "graphics/image/image.h"
#include "graphics/paint/blend_over.h"
#include "graphics/paint/glow.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/resize.h"

namespace {

uint32_t g_seed = 12345;
uint32_t Random()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}

void Report(const char* what, double ms, double megapixels)
{
    printf("%-44s median %8.3f ms  %8.1f Mpx/s\n", what, ms, megapixels / (ms / 1000.0));
}

void WriteRgba(const std::wstring& path, const uint32_t* pixels, int w, int h)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f)
        return;
    std::vector<uint8_t> row(size_t(w) * 4);
    for (int y = 0; y < h; ++y) {
        const uint32_t* p = pixels + size_t(h - 1 - y) * w;
        for (int x = 0; x < w; ++x) {
            row[4 * x] = p[x] >> 16 & 0xFF;
            row[4 * x + 1] = p[x] >> 8 & 0xFF;
            row[4 * x + 2] = p[x] & 0xFF;
            row[4 * x + 3] = p[x] >> 24;
        }
        fwrite(row.data(), 1, row.size(), f);
    }
    fclose(f);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? _wtoi(argv[1]) : 9;
    const std::wstring folder = argc > 2 ? argv[2] : L"";

    t_imageSource panelSource;
    t_imageSet9 nine;
    HBITMAP panel = MakeRoundedPanel(panelSource, nine);
    if (!panel)
        return 1;

    t_memDC target;
    t_memDC::Create(target, nullptr, 1920, 1080);
    {
        t_paintCtx paint(target.dc, true, &target, false);
        const double ms = MedianMs(runs, [&] { t_imageSet9::Draw(paint, nine, 0, 0, 800, 600); });
        Report("nine-part alpha background 800x600", ms, 800.0 * 600 / 1e6);
        printf("  goal >= 400 Mpx/s; peers over the same 800x600 pixels:\n");
        // The panel drawn once at full size is the source of both peers.
        t_memDC drawn;
        t_memDC::Create(drawn, nullptr, 800, 600);
        {
            t_paintCtx once(drawn.dc, true, &drawn, false);
            t_imageSet9::Draw(once, nine, 0, 0, 800, 600);
            once.End();
        }
        const double scalarMs = MedianMs(runs, [&] {
            for (int y = 0; y < 600; ++y) {
                uint32_t* to = target.Row(target.height - 1 - y);
                const uint32_t* s = drawn.Row(drawn.height - 1 - y);
                for (int x = 0; x < 800; ++x) {
                    const uint32_t sp = s[x], tp = to[x], keep = 255 - (sp >> 24);
                    uint32_t out = 0;
                    for (int c = 0; c < 32; c += 8)
                        out |= std::min(255u, (sp >> c & 0xFF) + ((tp >> c & 0xFF) * keep + 127) / 255) << c;
                    to[x] = out;
                }
            }
        });
        Report("  peer: scalar blend loop, same process", scalarMs, 800.0 * 600 / 1e6);
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const double gdiMs =
            MedianMs(runs, [&] { AlphaBlend(target.dc, 0, 0, 800, 600, drawn.dc, 0, 0, 800, 600, function); });
        Report("  peer: GDI AlphaBlend (Wine's)", gdiMs, 800.0 * 600 / 1e6);

        // A 1-pixel column of a 48-pixel-high bar, tiled across 1920 pixels.
        t_image bar;
        memset(&bar, 0, sizeof(bar));
        bar.SetPart(&panelSource, 20, 0, c_noColorKey, c_noColorKey, 1, 48, t_image::e_tile, t_image::e_natural, false);
        const double tileMs = MedianMs(runs, [&] { bar.Draw(paint, 0, 700, 1920, 48, 255); });
        Report("1-pixel part tiled across 1920 (x48)", tileMs, 1920.0 * 48 / 1e6);
        paint.End();
    }

    // A 1920 x 1080 picture: smooth gradients, noise and an alpha ramp.
    std::vector<uint32_t> picture(size_t(1920) * 1080);
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            const uint32_t noise = Random() & 31;
            picture[size_t(y) * 1920 + x] = Premultiplied((x * 255 / 1919 + noise) & 0xFF, (y * 255 / 1079) & 0xFF,
                                                          ((x ^ y) & 0x7F) + noise, 200 + ((x + y) % 56));
        }
    }
    std::vector<uint32_t> half(size_t(960) * 540);
    CBicubicFilter filter;
    const double resizeMs =
        MedianMs(runs, [&] { ResizePixels(filter, picture.data(), 1920, 1080, half.data(), 960, 540); });
    Report("bicubic resize 1920x1080 -> 960x540 (source)", resizeMs, 1920.0 * 1080 / 1e6);
    printf("  goal >= 200 Mpx/s, within one unit of the double sums (tests: ResizePixels, paint_ops_peer)\n");
    uint32_t* dibBits = nullptr;
    HBITMAP dib = CreateDib32(1920, 1080, &dibBits);
    memcpy(dibBits, picture.data(), picture.size() * 4);
    const double bitmapMs = MedianMs(runs, [&] {
        HBITMAP copy = CreateDib32(1920, 1080, nullptr);
        memcpy(GetBitmapPixels(copy), dibBits, picture.size() * 4);
        HBITMAP result = ResizeBitmap(copy, c_noColorKey, 960, 540, false, true);
        DeleteObject(result ? result : copy);
    });
    Report("ResizeBitmap (with DIB copy) 1920x1080", bitmapMs, 1920.0 * 1080 / 1e6);
    const double copyMs = MedianMs(runs, [&] {
        HBITMAP copy = CreateDib32(1920, 1080, nullptr);
        memcpy(GetBitmapPixels(copy), dibBits, picture.size() * 4);
        DeleteObject(copy);
    });
    Report("  of which DIB section made, filled, deleted", copyMs, 1920.0 * 1080 / 1e6);
    DeleteObject(dib);
    if (!folder.empty()) {
        WriteRgba(folder + L"\\source.rgba", picture.data(), 1920, 1080);
        WriteRgba(folder + L"\\ours.rgba", half.data(), 960, 540);
    }

    // Text-like strokes of 400 x 60.
    std::vector<uint32_t> text(size_t(400) * 60, 0);
    for (int i = 0; i < 400 * 60; ++i) {
        const int x = i % 400, y = i / 400;
        if (y > 10 && y < 50 && (x % 23 < 3 || y % 17 < 2 || (x + y) % 29 < 2))
            text[i] = 0xFF000000u;
    }
    const t_pixelRect source = {target.dc, text.data(), 400, 60, 0, 0, 400, 60};
    const double glowMs = MedianMs(runs, [&] {
        t_memDC glow;
        ApplyGlowEffect(source, glow);
    });
    Report("glow 400x60 (source)", glowMs, 400.0 * 60 / 1e6);
    Report("glow 400x60 (target 421x81)", glowMs, 421.0 * 81 / 1e6);
    std::vector<uint32_t> glowPixels(size_t(421) * 81);
    const t_pixelRect glowTarget = {nullptr, glowPixels.data(), 421, 81, 0, 0, 421, 81};
    const double filterMs = MedianMs(runs, [&] { ApplyEffectFilter(source, SharedGlowFilter(), glowTarget); });
    Report("  of which the filter (no DIB made)", filterMs, 421.0 * 81 / 1e6);
    // The filter as its interface describes it: one call per target pixel.
    struct t_windowed : t_effectGlowSimple {
        bool ApplyWhole(const t_pixelRect&, const t_pixelRect&) const override { return false; }
    } windowed;
    const double windowedMs = MedianMs(runs, [&] { ApplyEffectFilter(source, windowed, glowTarget); });
    Report("  peer: one filter call per pixel", windowedMs, 421.0 * 81 / 1e6);
    printf("  goal <= 1 ms\n");
    DeleteObject(panel);
    return 0;
}
