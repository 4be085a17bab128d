// The preview's redraw path: PaintToDC of a 600 x 200 top window with a nine-part alpha
// background and 30 children (alpha fills through the paint context) onto a 32-bit DIB.
// Prints the median of the runs, per call.
//   paint_to_dc_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_timer.h"
#include "graphics/image/image.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "tests/support/painted_tree.h"
#include "toolkit/wnd_top.h"

namespace {

uint32_t Premultiplied(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const int width = 600, height = 200, callsPerRun = 10;

    // A 48 x 48 rounded-panel picture with soft alpha edges, cut 16/16/16/16.
    uint32_t* panelBits = nullptr;
    HBITMAP panel = CreateDib32(48, 48, &panelBits);
    if (!panel)
        return 1;
    for (int i = 0; i < 48 * 48; ++i) {
        const int x = i % 48, y = i / 48;
        const int edge = std::min(std::min(x, 47 - x), std::min(y, 47 - y));
        panelBits[i] = Premultiplied(40 + x, 90, 160 + y, edge < 6 ? 40 * edge + 15 : 230);
    }
    t_imageSource panelSource;
    memset(&panelSource, 0, sizeof(panelSource));
    panelSource.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, panel, 0, 0);
    t_imageSet9 nine;
    t_imageSet9::SetFromSource(&panelSource, nine, t_insets{16, 16, 16, 16});
    t_image mask;
    mask.Init();
    mask.SetSource(&panelSource);

    // The top as the preview holds it: owner mode, no window of its own.
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, width, height);
    top.ownerMode = true;
    if (!top.SetNineImageBackground(mask, nine, false))
        return 1;
    LayOutBackground(top);

    t_memDCHolder target;
    if (!t_memDC::Create(*target, nullptr, width, height, 32))
        return 1;
    bool ok = true;
    const auto timePaint = [&] {
        return MedianMs(runs,
                        [&] {
                            for (int i = 0; i < callsPerRun; ++i)
                                ok = top.PaintToDC(target->dc, 0, 0, width, height) && ok;
                        }) /
               callsPerRun;
    };
    const double backgroundMs = timePaint();

    // 30 children in three rows of ten, half-transparent fills of different colours.
    for (int i = 0; i < 30; ++i) {
        const uint32_t color = 0xA0000000u | static_cast<uint32_t>((i * 37) & 0xFF) << 16 | (i * 91 & 0xFF) << 8 | 0x40;
        AddFilledChild(top, 20 + (i % 10) * 56, 20 + (i / 10) * 56, 48, 40, color, false);
    }

    const double ms = timePaint();
    GdiFlush();
    printf("PaintToDC 600x200, nine-part background, 30 children: median %.3f ms per call (%d runs of %d calls)\n", ms,
           runs, callsPerRun);
    printf("  the same top with the background alone:             median %.3f ms per call\n", backgroundMs);
    top.Destroy();
    DeleteObject(panel);
    return ok ? 0 : 1;
}
