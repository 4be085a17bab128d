// The preview's redraw path: PaintToDC of a 600 x 200 top window with a nine-part alpha
// background and 30 children (alpha fills through the paint context) onto a 32-bit DIB.
// Prints the median of the runs, per call.
//   paint_to_dc_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_panel.h"
#include "bench/bench_timer.h"
#include "graphics/image/image.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/wnd_top.h"

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const int width = 600, height = 200, callsPerRun = 10;

    t_imageSource panelSource;
    t_imageSet9 nine;
    HBITMAP panel = MakeRoundedPanel(panelSource, nine);
    if (!panel)
        return 1;
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

    t_memDC target;
    if (!t_memDC::Create(target, nullptr, width, height))
        return 1;
    bool ok = true;
    const auto timePaint = [&] {
        return MedianMs(runs,
                        [&] {
                            for (int i = 0; i < callsPerRun; ++i)
                                ok = top.PaintToDC(target.dc, 0, 0, width, height) && ok;
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
