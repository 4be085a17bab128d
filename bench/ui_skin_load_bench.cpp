// The runtime skin's load (t_uiSkinData::Load of a packed skin, as the preview does on
// every edit) on our default skin and on a generated skin of 500 pictures named by the
// buttons of all windows. Cold: a new runtime skin for each load; warm: one runtime skin
// loading the same pack again, its handle manager holding the last load's objects.
// Prints medians of several runs; there is no peer.
//   ui_skin_load_bench WORK_FOLDER DEFAULT_SKIN_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/picture_skin.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_settings.h"

namespace {

t_uiSettings BenchSettings()
{
    t_uiSettings settings = {};
    settings.skinEnabled = true;
    settings.fontSize = 16;
    settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
    settings.colorBackground = 0xFFFFFF;
    settings.statusBtnColor = 0xFFFFFFFFu;
    return settings;
}

bool LoadInto(t_uiSkinData& skin, t_uiSettings& settings, const std::wstring& pack)
{
    skin.SetSkinPath(pack.c_str(), true);
    skin.SetSettings(&settings);
    t_errorChain errors;
    return skin.Load(errors, 0) && skin.UserSkinInUse();
}

void Measure(const char* label, const std::wstring& pack, int runs, double budgetMs)
{
    t_uiSettings settings = BenchSettings();
    bool ok = true;
    const double cold = MedianMs(runs, [&] {
        std::unique_ptr<t_uiSkinData> skin(new t_uiSkinData);
        ok = LoadInto(*skin, settings, pack) && ok;
    });
    t_uiSkinData warmSkin;
    ok = LoadInto(warmSkin, settings, pack) && ok;
    const double warm = MedianMs(runs, [&] { ok = LoadInto(warmSkin, settings, pack) && ok; });
    const int handles = warmSkin.Handles().Count();
    printf("%-22s cold %8.3f ms   warm %8.3f ms (target <= %.0f ms: %s)   %d handles%s\n", label, cold, warm, budgetMs,
           warm <= budgetMs ? "met" : "MISSED", handles, ok ? "" : "   LOAD FAILED");
}

}  // namespace

int main()
{
    t_benchSkins skins;
    if (const int failed = PrepareBenchSkins("ui_skin_load_bench", skins))
        return failed;
    const std::wstring& defaultPack = skins.defaultPack;
    const std::wstring& largePack = skins.largePack;
    const int runs = skins.runs;
    printf("runtime skin load, median of %d runs\n", runs);
    Measure("default skin", defaultPack, runs, 2.0);
    Measure("500-picture skin", largePack, runs, 4.0);
    return 0;
}
