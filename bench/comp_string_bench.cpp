// The composition string alone, as a composition window redraws it after an edit: the
// skin rebuild (ResetUi over the items), the pull of the host's composition (Update), the
// layout of the row (measure and place) and its paint into a 32-bit DIB. Two compositions
// (the preview's sample and a long pinyin sentence with a converted segment), on our default
// skin and on the generated skin of 500 pictures. Prints the median of each step; no peer.
//   comp_string_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/picture_skin.h"
#include "graphics/layout/layout_aligned.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/comp/wnd_comp_string.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const int c_width = 900, c_height = 60;

// Answers with a fixed composition, its texts written into the caller's buffer.
class t_compositionHost : public ImcWrapImplBase {
public:
    t_compositionHost(const wchar_t* converted, const wchar_t* typed, int segmentStart, int segmentEnd)
        : m_converted(converted), m_typed(typed), m_start(segmentStart), m_end(segmentEnd)
    {}
    bool GetComposition(HWND, wchar_t* buffer, int capacity, int*, int*, t_compositionRecord* record) override
    {
        const size_t first = m_converted.size() + 1;
        if (static_cast<size_t>(capacity) < first + m_typed.size() + 1)
            return false;
        wcscpy(buffer, m_converted.c_str());
        wcscpy(buffer + first, m_typed.c_str());
        record->text1 = buffer;
        record->compText = buffer + first;
        record->segmentEnds[0] = m_start;
        record->segmentEnds[1] = m_end;
        record->caretShown = 1;
        return true;
    }

private:
    std::wstring m_converted, m_typed;
    int m_start, m_end;
};

struct t_composition {
    const char* name;
    const wchar_t* converted;
    const wchar_t* typed;
    int segmentStart, segmentEnd;
};

const t_composition c_compositions[] = {
    {"preview sample", L"栖鹭", L"pinyin", 0, 0},
    {"long sentence", L"", L"wo'men'de'shu'ru'fa'da'zi'you'kuai'you'zhun'que", 6, 20},
};

struct t_steps {
    std::vector<double> rebuild, update, layout, paint;
};

void Run(const char* skinName, const std::wstring& pack, const t_composition& composition, int runs, t_memDC& surface)
{
    t_uiSettings settings = {};
    settings.skinEnabled = true;
    settings.fontSize = 16;
    settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
    settings.colorBackground = 0xFFFFFF;
    t_uiSkinData skin;
    skin.SetSkinPath(pack.c_str(), true);
    skin.SetSettings(&settings);
    t_errorChain errors;
    if (!skin.Load(errors, 0)) {
        printf("%-18s LOAD FAILED\n", skinName);
        return;
    }
    t_compositionHost host(composition.converted, composition.typed, composition.segmentStart, composition.segmentEnd);
    t_uiContext context;
    context.SetSettings(&settings);
    context.SetSkin(&skin);
    context.SetImcWrap(&host);

    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, c_width, c_height);
    t_wndCompString* string = new t_wndCompString();
    string->SetContext(&context);
    string->showVersionHint = false;
    if (!string->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, &top)) {
        printf("%-18s CREATE FAILED\n", skinName);
        return;
    }
    string->CreateLayout();
    static_cast<t_layoutAligned*>(top.layout)->AddChild(t_layoutPtr(string->layout), t_alignInfo::Default());

    t_steps steps;
    t_paintCtx paint(surface.dc, true, &surface, false);
    for (int i = 0; i <= runs; ++i) {  // the first round warms the caches and is dropped
        double t0 = Now();
        string->ResetUi(0);
        double t1 = Now();
        string->Update();
        double t2 = Now();
        top.layout->Measure(&paint);
        top.layout->SetRect(top.rect);
        top.layout->Layout(&paint);
        double t3 = Now();
        top.layout->Paint(paint, nullptr);
        GdiFlush();
        double t4 = Now();
        if (i == 0)
            continue;
        steps.rebuild.push_back(t1 - t0);
        steps.update.push_back(t2 - t1);
        steps.layout.push_back(t3 - t2);
        steps.paint.push_back(t4 - t3);
    }
    paint.End();
    const double total = Median(steps.rebuild) + Median(steps.update) + Median(steps.layout) + Median(steps.paint);
    printf("%-18s %-16s rebuild %.4f  update %.4f  layout %.4f  paint %.4f  sum %.4f ms  (row %ld px)\n", skinName,
           composition.name, Median(steps.rebuild), Median(steps.update), Median(steps.layout), Median(steps.paint),
           total, string->rect.right - string->rect.left);
    top.Destroy();
}

}  // namespace

int main()
{
    t_benchSkins skins;
    if (const int failed = PrepareBenchSkins("comp_string_bench", skins))
        return failed;
    const std::wstring& defaultPack = skins.defaultPack;
    const std::wstring& largePack = skins.largePack;
    const int runs = skins.runs;
    t_memDC surface;
    if (!t_memDC::Create(surface, nullptr, c_width, c_height)) {
        fprintf(stderr, "no drawing surface\n");
        return 1;
    }
    printf("composition string: ResetUi + Update + layout + paint, medians of %d runs (ms)\n", runs);
    for (const t_composition& composition : c_compositions) {
        Run("default skin", defaultPack, composition, runs, surface);
        Run("500-picture skin", largePack, composition, runs, surface);
    }
    return 0;
}
