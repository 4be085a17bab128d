// Text measuring and drawing of 1000 CJK characters (40 lines of 25) in a GDI font, cold
// (a new font: its width entry is made on first use) and warm (the entry exists), next to
// GDI's own GetTextExtentPoint32W and DrawTextW on the same text. Prints medians and ratios.
//   text_bench [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/text_draw.h"
#include "graphics/text/ui_cache.h"

namespace {

const int c_lines = 40, c_perLine = 25;

HFONT NewFont()
{
    LOGFONTW lf = {};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    SetLogFontFaceName(lf.lfFaceName, L"SimSun");
    return CreateFontIndirectW(&lf);
}

// 40 lines of 25 common ideographs, spread over the CJK block.
std::vector<std::wstring> Lines()
{
    std::vector<std::wstring> lines;
    unsigned c = 0x4E00;
    for (int i = 0; i < c_lines; ++i) {
        std::wstring line;
        for (int j = 0; j < c_perLine; ++j, c += 17)
            line += static_cast<wchar_t>(c);
        lines.push_back(line);
    }
    return lines;
}

void Report(const char* what, double ours, double gdi)
{
    printf("%-40s ours %8.3f ms  GDI %8.3f ms  ratio %.2f\n", what, ours, gdi, ours / gdi);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const std::vector<std::wstring> lines = Lines();
    t_memDC target;
    if (!t_memDC::Create(target, nullptr, 16 * c_perLine + 8, 20 * c_lines + 8)) {
        fprintf(stderr, "no target DIB\n");
        return 1;
    }
    t_paintCtx context(target.dc, true, &target, false);
    t_uiCache& cache = *t_uiCache::Instance();
    long long sink = 0;

    auto measureOurs = [&](HFONT font) {
        for (const std::wstring& line : lines) {
            SIZE size = {};
            MeasureTextGdi(DT_SINGLELINE, context, font, line.c_str(), static_cast<int>(line.size()), size, 0);
            sink += size.cx;
        }
    };
    auto measureGdi = [&](HFONT font) {
        HGDIOBJ old = SelectObject(target.dc, font);
        for (const std::wstring& line : lines) {
            SIZE size = {};
            GetTextExtentPoint32W(target.dc, line.c_str(), static_cast<int>(line.size()), &size);
            sink += size.cx;
        }
        SelectObject(target.dc, old);
    };
    auto drawOurs = [&](HFONT font) {
        for (int i = 0; i < c_lines; ++i) {
            const RECT rect = {4, 4 + 20 * i, 4 + 16 * c_perLine, 24 + 20 * i};
            DrawTextAlpha(context, lines[i].c_str(), -1, rect, font, 0x202020, DT_SINGLELINE | DT_NOPREFIX, 255);
        }
    };
    auto drawGdi = [&](HFONT font) {
        HGDIOBJ old = SelectObject(target.dc, font);
        SetBkMode(target.dc, TRANSPARENT);
        for (int i = 0; i < c_lines; ++i) {
            RECT rect = {4, 4 + 20 * i, 4 + 16 * c_perLine, 24 + 20 * i};
            DrawTextW(target.dc, lines[i].c_str(), -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(target.dc, old);
        GdiFlush();
    };
    // Cold: every run on a font never used before.
    auto cold = [&](auto&& work) {
        return MedianMs(runs, [&] {
            HFONT font = NewFont();
            work(font);
            t_uiCache::RemoveFont(font);
            DeleteObject(font);
        });
    };
    HFONT warmFont = NewFont();
    measureOurs(warmFont);
    measureGdi(warmFont);
    drawOurs(warmFont);
    drawGdi(warmFont);

    printf("1000 CJK characters (%d lines of %d), SimSun 16 px, %d runs\n", c_lines, c_perLine, runs);
    Report("measure cold", cold(measureOurs), cold(measureGdi));
    Report("measure warm", MedianMs(runs, [&] { measureOurs(warmFont); }),
           MedianMs(runs, [&] { measureGdi(warmFont); }));
    Report("draw (alpha-correct) cold", cold(drawOurs), cold(drawGdi));
    Report("draw (alpha-correct) warm", MedianMs(runs, [&] { drawOurs(warmFont); }),
           MedianMs(runs, [&] { drawGdi(warmFont); }));
    printf("width entries: %u (checksum %lld)\n", cache.Count(), sink);
    t_uiCache::RemoveFont(warmFont);
    DeleteObject(warmFont);
    context.End();
    return 0;
}
