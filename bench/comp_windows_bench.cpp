// The composition and candidate windows as the preview redraws them after an edit: one
// property of the runtime skin changes (the composition margin, one pixel to and fro),
// then each window of the scheme rebuilds from the skin (ResetUi), measures with the
// preview's sample texts and paints itself into a DIB (PaintToDC). Four schemes (combined
// horizontal and vertical, separate horizontal and vertical), on our default skin and on
// the generated skin of 500 pictures. Prints medians per scheme; there is no peer.
//   comp_windows_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/picture_skin.h"
#include "graphics/paint/paint_ctx.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "ime_ui/windows/comp/wnd_comp.h"
#include "tests/support/sample_ime_host.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

const double c_budgetMs = 2.0;

struct t_scheme {
    const char* name;
    bool vertical;
    bool combined;
    t_skinAlignId margin;  // the property that changes
};

const t_scheme c_schemes[] = {
    {"combined horizontal", false, true, t_skinAlignId::e_h1Pinyin},
    {"combined vertical", true, true, t_skinAlignId::e_v1Pinyin},
    {"separate horizontal", false, false, t_skinAlignId::e_h2Pinyin},
    {"separate vertical", true, false, t_skinAlignId::e_v2Pinyin},
};

// The generated skin names no margins, so its windows would show no text: every scheme
// section gets the margins of our default skin, and the separate schemes pictures of
// their own for the composition and the candidate window.
bool AddSchemeMargins(const std::wstring& folder)
{
    const std::wstring path = folder + L"\\Skin.ini";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::wstring ini(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    const bool ok = ReadFile(file, &ini[0], static_cast<DWORD>(ini.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    if (!ok)
        return false;
    const std::wstring margins = L"pinyin_marge=6,3,12,12\r\nzhongwen_marge=3,7,12,4\r\n";
    const std::wstring pictures = L"pinyin_pic=pic1.png\r\nzhongwen_pic=pic2.png\r\n";
    for (const wchar_t* section : {L"[Scheme_H1]\r\n", L"[Scheme_V1]\r\n", L"[Scheme_H2]\r\n", L"[Scheme_V2]\r\n"}) {
        const size_t at = ini.find(section);
        if (at == std::wstring::npos)
            return false;
        const bool separate = section[8] == L'2';
        ini.insert(at + wcslen(section), separate ? margins + pictures : margins);
    }
    return WriteRaw(path, ini.data(), ini.size() * sizeof(wchar_t));
}

t_uiSettings BenchSettings()
{
    t_uiSettings settings = {};
    settings.skinEnabled = true;
    settings.cursorFollow = true;
    settings.fontSize = 16;
    settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
    settings.colorBackground = 0xFFFFFF;
    settings.statusBtnColor = 0xFFFFFFFFu;
    return settings;
}

// One skin with the preview's windows over it.
class t_previewWindows {
public:
    bool Load(const std::wstring& pack)
    {
        m_settings = BenchSettings();
        m_skin.SetSkinPath(pack.c_str(), true);
        m_skin.SetSettings(&m_settings);
        t_errorChain errors;
        if (!m_skin.Load(errors, 0))
            return false;
        m_context.SetSettings(&m_settings);
        m_context.SetSkin(&m_skin);
        m_context.SetImcWrap(&m_host);
        m_context.SetUiWrap(&m_ui);
        for (t_wndCompFrame* window : Windows()) {
            window->ownerMode = true;
            if (!window->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, nullptr))
                return false;
        }
        return true;
    }

    // Change, rebuild, measure and paint the windows of scheme; false when one drew nothing.
    // phases receives the time of the three steps.
    bool Redraw(const t_scheme& scheme, HDC dc, int step, double (&phases)[3])
    {
        m_settings.candStyle = scheme.vertical ? 1 : 0;
        t_alignInfo margin;
        if (m_skin.GetAlign(static_cast<int>(scheme.margin), margin)) {
            margin.leftMargin += step % 2 ? 1 : -1;
            m_skin.SetAlign(static_cast<int>(scheme.margin), margin);
        }
        bool painted = true;
        std::vector<t_wndCompFrame*> windows;
        if (scheme.combined)
            windows = {&m_combined};
        else
            windows = {&m_composition, &m_candidates};
        phases[0] = phases[1] = phases[2] = 0;
        for (t_wndCompFrame* window : windows) {
            double start = Now();
            window->ResetUi(0);
            double end = Now();
            phases[0] += end - start;
            start = end;
            window->Measure(dc);
            end = Now();
            phases[1] += end - start;
            start = end;
            painted = window->PaintToDC(dc, 0, 0, -1, -1) && painted;
            phases[2] += Now() - start;
        }
        return painted;
    }

    // The part of the paint that is text: the scheme's strings painted alone, as laid out,
    // into an alpha DIB as large as the surface.
    double PaintStringsOnly(const t_scheme& scheme, HDC dc, int runs)
    {
        std::vector<t_wndBase*> strings;
        if (scheme.combined)
            strings = {&m_combined.compString, &m_combined.candString};
        else
            strings = {&m_composition.compString, &m_candidates.candString};
        t_memDC target;
        if (!t_memDC::Create(target, dc, 1200, 800))
            return 0;
        return MedianMs(runs, [&] {
            t_paintCtx context(target.dc, true, &target, false);
            for (t_wndBase* string : strings)
                string->Paint_Layout(context);
            context.End();
        });
    }

private:
    std::vector<t_wndCompFrame*> Windows()
    {
        m_combined.SetContext(&m_context);
        m_composition.SetContext(&m_context);
        m_candidates.SetContext(&m_context);
        m_combined.SetVersionHint(false);
        m_composition.SetVersionHint(false);
        return {&m_combined, &m_composition, &m_candidates};
    }

    t_uiSettings m_settings;
    t_uiSkinData m_skin;
    t_sampleImeHost m_host;
    UiWrapImplBase m_ui;
    t_uiContext m_context;
    t_wndComp m_combined;
    t_wndComp2 m_composition;
    t_wndCand m_candidates;
};

void Measure(const char* label, const std::wstring& pack, int runs, HDC dc)
{
    t_previewWindows windows;
    if (!windows.Load(pack)) {
        printf("%-18s LOAD FAILED\n", label);
        return;
    }
    for (const t_scheme& scheme : c_schemes) {
        double phases[3];
        bool ok = windows.Redraw(scheme, dc, 0, phases);
        std::vector<double> rebuild, measure, paint;
        int step = 1;
        const double ms = MedianMs(runs, [&] {
            ok = windows.Redraw(scheme, dc, step++, phases) && ok;
            rebuild.push_back(phases[0]);
            measure.push_back(phases[1]);
            paint.push_back(phases[2]);
        });
        const double text = windows.PaintStringsOnly(scheme, dc, runs);
        printf("%-18s %-20s %8.3f ms (target <= %.0f ms: %s)   rebuild %.3f  measure %.3f  paint %.3f"
               " (of which text %.3f)%s\n",
               label, scheme.name, ms, c_budgetMs, ms <= c_budgetMs ? "met" : "MISSED", Median(rebuild),
               Median(measure), Median(paint), text, ok ? "" : "   NOTHING PAINTED");
    }
}

}  // namespace

int main()
{
    t_benchSkins skins;
    if (const int failed = PrepareBenchSkins("comp_windows_bench", skins, AddSchemeMargins))
        return failed;
    const std::wstring& defaultPack = skins.defaultPack;
    const std::wstring& largePack = skins.largePack;
    const int runs = skins.runs;
    // The preview's drawing surface.
    t_memDC surface;
    if (!t_memDC::Create(surface, nullptr, 1200, 800)) {
        fprintf(stderr, "no drawing surface\n");
        return 1;
    }
    printf("composition windows: change + ResetUi + Measure + PaintToDC, median of %d runs\n", runs);
    Measure("default skin", defaultPack, runs, surface.dc);
    Measure("500-picture skin", largePack, runs, surface.dc);
    return 0;
}
