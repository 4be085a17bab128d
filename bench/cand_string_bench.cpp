// The candidate string as the preview redraws it after an edit, on its own: restyle from
// the runtime skin (Rebuild), pull the preview's nine sample candidates (Update), lay the
// items out (measure and place) and paint them into one DIB. A column and a row, plain
// and as into a layered window, on our default skin. Prints the median of each step;
// there is no peer.
//   cand_string_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/picture_skin.h"
#include "graphics/layout/layout_aligned.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "tests/support/painted_tree.h"
#include "tests/support/sample_ime_host.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const int c_width = 600, c_height = 400;

struct t_steps {
    std::vector<double> rebuild, update, layout, paint, total;
};

// One string under a top without a window, as the tests hold it.
class t_benchString {
public:
    bool Load(const std::wstring& pack)
    {
        m_settings = t_uiSettings{};
        m_settings.skinEnabled = true;
        m_settings.fontSize = 16;
        m_skin.SetSkinPath(pack.c_str(), true);
        m_skin.SetSettings(&m_settings);
        t_errorChain errors;
        if (!m_skin.Load(errors, 0))
            return false;
        m_host.candidateCount = t_sampleImeHost::c_sampleCount;
        m_context.SetSettings(&m_settings);
        m_context.SetSkin(&m_skin);
        m_context.SetImcWrap(&m_host);
        MakeWindowlessTop(m_top, 0, 0, c_width, c_height);
        m_string = new t_wndCandString();
        m_string->SetContext(&m_context);
        return m_string->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, &m_top);
    }
    ~t_benchString() { m_top.Destroy(); }

    // The string's node made again for the orientation and put under the top's root; with
    // alpha the items draw as into a layered window (alpha-correct text).
    void SetLook(int orientation, bool alpha)
    {
        m_alpha = alpha;
        m_top.SetPerPixelAlpha(alpha);
        t_layoutAligned* root = static_cast<t_layoutAligned*>(m_top.layout);
        t_layout* old = m_string->layout;
        m_string->orientation = orientation;
        m_string->CreateLayout();
        if (old) {
            root->EraseAlign(old);
            root->RemoveChild(old);
        }
        root->AddChild(t_layoutPtr(m_string->layout), t_alignInfo::Default());
    }

    // One redraw; false when nothing was painted.
    bool Redraw(t_memDC& dib, t_steps& steps)
    {
        const double t0 = Now();
        m_string->ApplyScale();
        m_string->Rebuild();
        const double t1 = Now();
        m_string->Update();
        const double t2 = Now();
        m_top.layout->Measure(nullptr);
        m_top.layout->SetRect(m_top.rect);
        m_top.layout->Layout(nullptr);
        const double t3 = Now();
        const bool painted = Paint(dib);
        const double t4 = Now();
        steps.rebuild.push_back(t1 - t0);
        steps.update.push_back(t2 - t1);
        steps.layout.push_back(t3 - t2);
        steps.paint.push_back(t4 - t3);
        steps.total.push_back(t4 - t0);
        return painted && m_string->GetSize().cx > 0;
    }

    // The top's tree painted into the one surface, cleared first, as its window's render
    // does after making its DIB (which the window benchmark counts).
    bool Paint(t_memDC& dib)
    {
        memset(dib.Pixels(), 0, static_cast<size_t>(c_width) * c_height * 4);
        t_paintCtx context(dib.dc, m_alpha, &dib, false);
        SetBkMode(dib.dc, TRANSPARENT);
        m_top.Paint_Layout(context);
        context.End();
        GdiFlush();
        for (int i = 0; i < c_width * c_height; ++i) {
            if (dib.Pixels()[i])
                return true;
        }
        return false;
    }

private:
    t_uiSettings m_settings;
    t_uiSkinData m_skin;
    t_sampleImeHost m_host;
    t_uiContext m_context;
    t_wndTop m_top;
    t_wndCandString* m_string = nullptr;  // a child of the top
    bool m_alpha = false;
};

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) {
        fprintf(stderr, "usage: cand_string_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]\n");
        return 2;
    }
    const std::wstring pack = std::wstring(argv[1]) + L"\\default.dat";
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    if (!PackSkinFolder(argv[2], pack)) {
        fprintf(stderr, "could not pack the default skin\n");
        return 1;
    }
    t_benchString bench;
    if (!bench.Load(pack)) {
        fprintf(stderr, "could not load the default skin\n");
        return 1;
    }
    t_memDC dib;
    if (!t_memDC::Create(dib, nullptr, c_width, c_height)) {
        fprintf(stderr, "no drawing surface\n");
        return 1;
    }
    printf("candidate string, nine sample candidates on the default skin: median of %d runs (ms)\n", runs);
    const struct {
        const char* name;
        int orientation;
        bool alpha;
    } layouts[] = {{"column", t_wndTextArray::e_column, false},
                   {"row", t_wndTextArray::e_row, false},
                   {"column, layered", t_wndTextArray::e_column, true},
                   {"row, layered", t_wndTextArray::e_row, true}};
    for (const auto& layout : layouts) {
        bench.SetLook(layout.orientation, layout.alpha);
        t_steps steps;
        bool ok = bench.Redraw(dib, steps);  // warm-up
        steps = t_steps{};
        for (int i = 0; i < runs; ++i)
            ok = bench.Redraw(dib, steps) && ok;
        printf("%-16s total %7.3f   rebuild %6.3f  update %6.3f  layout %6.3f  paint %6.3f%s\n", layout.name,
               Median(steps.total), Median(steps.rebuild), Median(steps.update), Median(steps.layout),
               Median(steps.paint), ok ? "" : "   NOTHING PAINTED");
    }
    return 0;
}
