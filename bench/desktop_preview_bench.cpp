// The desktop previews' share of every edit: as the preview panel drives them after a
// changed value, both desktop previews (normal and large font) reload the runtime skin
// from the packed work copy and lay their windows out again, then the shown one gives its
// size and paints its windows into the panel's picture. On our default skin and on the generated skin of
// 500 pictures. Prints medians of the whole share and of its phases; there is no peer.
//   desktop_preview_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/picture_skin.h"
#include "editor/preview/preview_pc.h"
#include "foundation/env/env.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/controls/ui_settings.h"

namespace {

const int c_previewCount = 2;

t_uiSettings PanelSettings()
{
    t_env env;
    t_uiSettings settings;
    BuildUiSettings(env, settings);
    settings.skinEnabled = true;
    settings.ignoreSkinFontSetting = true;
    settings.ignoreSkinColorSetting = true;
    settings.fontSize = 16;
    return settings;
}

bool Measure(const char* label, const std::wstring& folder, int runs, HDC surface)
{
    wchar_t workCopy[MAX_PATH];
    if (!PreviewPC::WorkCopyPath(workCopy) || !PackSkinFolder(folder, workCopy)) {
        std::printf("%-18s could not write the work copy\n", label);
        return false;
    }
    t_uiSettings settings = PanelSettings();
    std::unique_ptr<PreviewPC> previews[c_previewCount] = {std::make_unique<PreviewPC>(PreviewPC::e_normal),
                                                           std::make_unique<PreviewPC>(PreviewPC::e_largeFont)};
    for (auto& preview : previews) {
        if (!preview->Init(0, settings))
            return false;
        preview->SetSettings(settings);
        preview->Reload();
        preview->SetScheme(PreviewConfigable::e_pageH1);
        preview->SetHostWindow(nullptr);
        preview->UpdateLayout();
    }
    std::vector<double> whole, asked, refresh, paint;
    int width = 0, height = 0;
    for (int run = 0; run <= runs; ++run) {
        // What the panel asks of every preview after an edit.
        const double start = Now();
        for (auto& preview : previews) {
            preview->SetSettings(settings);
            preview->Reload();
            preview->SetHostWindow(nullptr);
            preview->UpdateLayout();
        }
        // The shown one's size and its picture.
        const double told = Now();
        previews[0]->GetSize(width, height);
        const double refreshed = Now();
        previews[0]->Paint(surface, 10, 10);
        GdiFlush();
        const double painted = Now();
        if (run == 0)
            continue;  // the first load after Init fills the picture cache
        whole.push_back(painted - start);
        asked.push_back(told - start);
        refresh.push_back(refreshed - told);
        paint.push_back(painted - refreshed);
    }
    const bool ok = width > 0 && height > 0;
    std::printf("%-18s both previews reloaded, laid out, one painted %7.2f ms%s\n", label, Median(whole),
                ok ? "" : "   NOTHING TO PAINT");
    std::printf("%-18s   reload and layout of both %.2f ms, size %.2f ms, paint %.2f ms (%d x %d)\n", label,
                Median(asked), Median(refresh), Median(paint), width, height);
    return ok;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) {
        std::printf("usage: desktop_preview_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]\n");
        return 2;
    }
    const std::wstring work = argv[1];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    // The work copy lies beside the work folder in the temporary folder: this one.
    SetEnvironmentVariableW(L"TMP", work.c_str());
    SetEnvironmentVariableW(L"TEMP", work.c_str());
    const std::wstring largeFolder = work + L"\\large";
    if (!WritePictureSkin(largeFolder, 500)) {
        std::printf("could not generate the 500-picture skin\n");
        return 1;
    }
    t_memDC surface;
    if (!t_memDC::Create(surface, nullptr, 1200, 800)) {
        std::printf("no drawing surface\n");
        return 1;
    }
    std::printf("desktop previews after an edit, median of %d runs\n", runs);
    const bool ok = Measure("default skin", argv[2], runs, surface.dc) &&
                    Measure("500-picture skin", largeFolder, runs, surface.dc);
    return ok ? 0 : 1;
}
