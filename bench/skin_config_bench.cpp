// The input method's Skin.ini reader (SkinConfigFile) on our default skin's Skin.ini and
// on a generated one of 2191 buttons (313 custom buttons in each of the seven windows,
// every key of a button set). Prints the median of several runs of ParseConfig (the
// file) and ParseDefault (the bytes in memory); on the default skin also the editor
// model's read of the same file (the shared document and its fourteen parts) and the
// ratio. The model keeps at most 100 custom buttons per window, so it is no peer for the
// generated skin.
//   skin_config_bench WORK_FOLDER DEFAULT_SKIN_INI [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "ime_ui/skin/skin_config_file.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/separate_info.h"
#include "skin_model/skin_ini.h"
#include "skin_model/status_info.h"
#include "tests/support/temp_folder.h"

namespace {

const int c_windows = 7;
const int c_buttonsPerWindow = 313;

// The Skin.ini of 2191 buttons; the separate windows keep theirs under a window prefix.
std::wstring LargeSkin()
{
    static const wchar_t* const c_windowKeys[c_windows][2] = {
        {L"StatusBar", L""}, {L"Scheme_H1", L""},      {L"Scheme_H2", L"comp_"}, {L"Scheme_H2", L"cand_"},
        {L"Scheme_V1", L""}, {L"Scheme_V2", L"comp_"}, {L"Scheme_V2", L"cand_"},
    };
    std::wstring ini = L"\xFEFF[General]\r\nskin_id=bench\r\nwidget_cnt=0\r\n[Display]\r\nfont_size=16\r\n"
                       L"font_ch=宋体\r\npinyin_color=0x554133\r\n";
    std::wstring section;
    for (int w = 0; w < c_windows; ++w) {
        const std::wstring prefix = c_windowKeys[w][1];
        if (section != c_windowKeys[w][0]) {
            section = c_windowKeys[w][0];
            ini += L"\r\n[" + section +
                   L"]\r\npic=bk.png\r\nopaque=255\r\nanchor=0,0\r\n"
                   L"pinyin_marge=6,3,12,12\r\nzhongwen_marge=3,7,12,4\r\n";
        }
        for (int b = 0; b < c_buttonsPerWindow; ++b) {
            const std::wstring key = prefix + L"custom" + std::to_wstring(b);
            const std::wstring n = std::to_wstring(b);
            ini += key + L"_display=1\r\n";
            ini += w == 0 ? key + L"_pos=" + n + L",4\r\n" : key + L"_align=0,0,0," + n + L",0,0,0,2,6,2\r\n";
            ini += key + L"=b" + n + L"_1.png,b" + n + L"_2.png<0;0;16;16>,b" + n + L"_3.png\r\n";
            ini += key + L"_down=b" + n + L"_d.png,,\r\n";
            ini += key + L"_hover=b" + n + L"_h.png\r\n";
            ini += key + L"_hint=按钮" + n + L"\r\n";
            ini += key + L"_url=http://example.com/" + n + L"\r\n";
        }
        ini += prefix + L"custom_cnt=" + std::to_wstring(c_buttonsPerWindow) + L"\r\n";
    }
    return ini;
}

// The editor model's read: the shared document, then every part loads from it.
void ModelRead(const std::wstring& path)
{
    t_errorChain errors;
    SkinIni::Instance()->ReadConfig(errors, path.c_str(), SkinIni::c_codePage);
    GeneralInfo general;
    DisplayInfo display;
    HorizontalCombineInfo h1;
    HorizontalSeparateInfo h2;
    VerticalCombineInfo v1;
    VerticalSeparateInfo v2;
    StatusInfo status;
    for (BaseInfo* part : std::initializer_list<BaseInfo*>{&general, &display, &h1, &h2, &v1, &v2, &status})
        part->Load();
    for (int w = 0; w < c_buttonWindowCount; ++w) {
        std::unique_ptr<BtnInfo> set(BtnInfo::New(w));
        set->Load();
    }
}

int CustomButtons(const SkinConfigFile& skin)
{
    return skin.statusBar.buttons.custom.ItemCount() + skin.schemeH1.window.buttons.custom.ItemCount() +
           skin.schemeV1.window.buttons.custom.ItemCount() + skin.schemeH2.composition.buttons.custom.ItemCount() +
           skin.schemeH2.candidate.buttons.custom.ItemCount() + skin.schemeV2.composition.buttons.custom.ItemCount() +
           skin.schemeV2.candidate.buttons.custom.ItemCount();
}

void Measure(const char* label, const std::wstring& path, int runs, bool withModel)
{
    std::string bytes;
    ReadRaw(path, bytes);
    SkinConfigFile skin;
    const double file = MedianMs(runs, [&] { skin.ParseConfig(path.c_str()); });
    const int fromFile = CustomButtons(skin);
    const double memory = MedianMs(runs, [&] { skin.ParseDefault(bytes.data(), bytes.size()); });
    std::printf("%-14s %7zu bytes, %4d custom buttons read: ParseConfig median %.2f ms, ParseDefault median %.2f ms\n",
                label, bytes.size(), std::min(fromFile, CustomButtons(skin)), file, memory);
    if (withModel) {
        const double model = MedianMs(runs, [&] { ModelRead(path); });
        std::printf("%-14s editor model read median %.2f ms, ratio (ParseConfig / model) %.2f\n", label, model,
                    file / model);
    }
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) {
        std::printf("usage: skin_config_bench WORK_FOLDER DEFAULT_SKIN_INI [RUNS]\n");
        return 2;
    }
    const std::wstring root = argv[1];
    const std::wstring defaultIni = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    const std::wstring text = LargeSkin();
    const std::wstring largeIni = root + L"\\large_skin.ini";
    if (!Exists(defaultIni) || !WriteRaw(largeIni, text.data(), text.size() * sizeof(wchar_t))) {
        std::printf("cannot read the default skin or write the generated one\n");
        return 1;
    }
    Measure("default skin", defaultIni, runs, true);
    Measure("2191 buttons", largeIni, runs, false);
    return 0;
}
