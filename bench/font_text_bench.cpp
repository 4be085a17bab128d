// FreeType text: 1000 CJK characters (40 lines of 25) measured and drawn into a 32-bit
// memory DC, cold (FreeType started afresh: font file mapped, face opened, every glyph
// rendered) and warm (glyphs cached), in a CJK face and in a Latin face whose CJK characters
// come from the font links. GDI's own GetTextExtentPoint32W and DrawTextW on the same text in
// the same CJK family are the peer. Prints medians and ratios.
//   font_text_bench [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/cjk_lines.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/freetype.h"
#include "graphics/text/test_fonts_setup.h"

namespace {

const int c_lines = 40, c_perLine = 25, c_pixels = 16;

struct t_times {
    double measure, draw;
};

// Measures then draws every line; false when a call fails or measures nothing.
bool MeasureAndDraw(t_ftFont* font, const std::vector<std::wstring>& lines, t_paintCtx& context, t_times& times)
{
    bool ok = true;
    double start = Now();
    for (const std::wstring& line : lines) {
        SIZE size = {};
        ok = t_freetype::Instance()->MeasureText(line.c_str(), -1, font, size) && size.cx > 0 && ok;
    }
    times.measure = Now() - start;
    start = Now();
    for (size_t i = 0; i < lines.size(); ++i) {
        const RECT rect = {0, static_cast<LONG>(i) * 20, 600, static_cast<LONG>(i) * 20 + 20};
        ok =
            t_freetype::Instance()->DrawText(context, lines[i].c_str(), -1, rect, font, RGB(20, 30, 200), 0, 255) && ok;
    }
    times.draw = Now() - start;
    return ok;
}

// Medians of cold and warm runs for one face.
bool Run(const wchar_t* face, int runs, const std::vector<std::wstring>& lines, t_paintCtx& context, t_times& cold,
         t_times& warm)
{
    std::vector<double> coldMeasure, coldDraw, warmMeasure, warmDraw;
    for (int r = 0; r < runs; ++r) {
        t_freetype::Delete();  // nothing of the last run stays: mapping, face, glyphs
        const double start = Now();
        t_ftFont* font = t_freetype::Instance()->CreateFont(n_testFonts::LogFont(face, -c_pixels), nullptr);
        const double open = Now() - start;
        t_times times;
        if (!font || !MeasureAndDraw(font, lines, context, times))
            return false;
        coldMeasure.push_back(open + times.measure);
        coldDraw.push_back(times.draw);
        if (!MeasureAndDraw(font, lines, context, times))
            return false;
        warmMeasure.push_back(times.measure);
        warmDraw.push_back(times.draw);
        t_freetype::Instance()->ReleaseFont(font);
    }
    cold = {Median(coldMeasure), Median(coldDraw)};
    warm = {Median(warmMeasure), Median(warmDraw)};
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    if (!n_testFonts::Install()) {
        fprintf(stderr, "cannot register the test fonts\n");
        return 1;
    }
    const std::vector<std::wstring> lines = CjkLines(c_lines, c_perLine);
    t_memDC target;
    if (!t_memDC::Create(target, nullptr, 600, c_lines * 20))
        return 1;
    t_paintCtx context(target.dc, true, &target, false);

    // The peer: GDI on the same text in the same family.
    LOGFONTW logFont = n_testFonts::LogFont(L"WenQuanYi Micro Hei", -c_pixels);
    HFONT gdiFont = CreateFontIndirectW(&logFont);
    HGDIOBJ old = SelectObject(target.dc, gdiFont);
    const double gdiMeasure = MedianMs(runs, [&] {
        for (const std::wstring& line : lines) {
            SIZE size;
            GetTextExtentPoint32W(target.dc, line.c_str(), static_cast<int>(line.size()), &size);
        }
    });
    const double gdiDraw = MedianMs(runs, [&] {
        for (size_t i = 0; i < lines.size(); ++i) {
            RECT rect = {0, static_cast<LONG>(i) * 20, 600, static_cast<LONG>(i) * 20 + 20};
            DrawTextW(target.dc, lines[i].c_str(), -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
        }
    });
    SelectObject(target.dc, old);
    DeleteObject(gdiFont);

    printf("1000 CJK characters, %d px, median of %d runs (ms)\n", c_pixels, runs);
    printf("%-40s %10s %10s\n", "", "measure", "draw");
    printf("%-40s %10.2f %10.2f\n", "GDI (peer)", gdiMeasure, gdiDraw);
    const wchar_t* faces[] = {L"WenQuanYi Micro Hei", L"DejaVu Sans"};
    const char* labels[] = {"CJK face", "Latin face, CJK from the font links"};
    for (int f = 0; f < 2; ++f) {
        t_times cold{}, warm{};
        if (!Run(faces[f], runs, lines, context, cold, warm)) {
            fprintf(stderr, "FreeType text failed for %s\n", labels[f]);
            return 1;
        }
        printf("%-40s %10.2f %10.2f   (x%.1f, x%.1f GDI)\n", (std::string(labels[f]) + ", cold").c_str(), cold.measure,
               cold.draw, cold.measure / gdiMeasure, cold.draw / gdiDraw);
        printf("%-40s %10.2f %10.2f   (x%.1f, x%.1f GDI)\n", (std::string(labels[f]) + ", warm").c_str(), warm.measure,
               warm.draw, warm.measure / gdiMeasure, warm.draw / gdiDraw);
    }
    printf("cold measure includes mapping the font file and opening the face\n");
    t_freetype::Delete();
    return 0;
}
