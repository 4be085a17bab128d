// Loads and saves the seven button sets of a skin through the shared Skin.ini
// document: a normal skin (built-in buttons only) and a full one with 100 custom,
// 100 Flash and 100 photo-frame buttons in every set. Prints the median of several runs.
#include "bench/bench_timer.h"
#include "skin_model/button_set.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int c_runs = 15;

// Fills Skin.ini with seven sets of extraPerType buttons of each extra type, every
// button shown, placed and given pictures and a hint.
void WriteSkin(int extraPerType)
{
    SkinIni::Instance()->Clear();
    t_str key;
    t_str text;
    for (int w = 0; w < 7; ++w) {
        std::unique_ptr<BtnInfo> set(BtnInfo::New(w));
        for (int type = c_btnCustom; type <= c_btnPhotoFrame; ++type) {
            if (extraPerType > 0)
                set->AddButton(extraPerType - 1, type);
        }
        for (int flat = 0; flat < set->RowCount(); ++flat) {
            const t_btnDesc button = set->FromFlat(flat);
            set->SetButtonVisible(button.index, button.type, true);
            MakePropertyKey(key, button.index, button.type, set->AlignFlag() ? c_propAlign : c_propPos);
            set->SetIntByKey(key.c_str(), 0, flat * 3);
            for (int v = 0; v < ButtonVariantCountOf(button.index, button.type); ++v) {
                MakePropertyKey(key, button.index, button.type, c_propHover);
                MakeDefaultImageName(text, button.index, button.type, v, c_propHover, w);
                set->SetStringByKey(key.c_str(), v, text.c_str());
            }
            MakePropertyKey(key, button.index, button.type, c_propHint);
            set->SetStringByKey(key.c_str(), 0, ButtonCaptionOf(button.index, button.type));
        }
        set->Save();
    }
}

void Measure(const char* label, int extraPerType)
{
    WriteSkin(extraPerType);
    std::unique_ptr<BtnInfo> sets[7];
    for (int w = 0; w < 7; ++w)
        sets[w].reset(BtnInfo::New(w));
    std::vector<double> loads;
    std::vector<double> saves;
    for (int run = 0; run < c_runs; ++run) {
        double start = Now();
        for (auto& set : sets)
            set->Load();
        loads.push_back(Now() - start);

        start = Now();
        SkinIni::Instance()->Clear();
        for (auto& set : sets)
            set->Save();
        saves.push_back(Now() - start);
    }
    int buttons = 0;
    for (auto& set : sets)
        buttons += set->RowCount();
    std::printf("%-34s %5d buttons  load %8.2f ms  save %8.2f ms  (median of %d)\n", label, buttons, Median(loads),
                Median(saves), c_runs);
}

}  // namespace

int main()
{
    Measure("normal skin (built-in buttons)", 0);
    Measure("100 custom/Flash/photo-frame each", 100);
    return 0;
}
