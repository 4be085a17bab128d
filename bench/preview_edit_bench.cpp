// The editor's whole edit-to-preview road: one value of a layout part changes in the model
// (the composition margin, one pixel to and fro), the preview window gets the change
// message (Skin.ini committed, the packed work copy rewritten, the previews told to reload
// from it and lay out again, which each does when next shown) and repaints its back
// buffer. On our default skin (skin.dat beside this program) and on the generated skin of
// 500 pictures. Prints the median of the whole road and of its phases; there is no peer.
//   preview_edit_bench WORK_FOLDER [RUNS]
#include "bench/bench_timer.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/picture_skin.h"
#include "editor/app/app.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/preview.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/combine_info.h"
#include "skin_model/ime_skin.h"

namespace {

const int c_layoutPart = 2;

struct t_figures {
    double road;
    double workCopy;
    double reload;
    double paint;
};

bool Measure(const char* label, const wchar_t* package, int runs, double targetMs)
{
    IMESkin* skin = IMESkin::Instance();
    if (package ? !skin->Open(package) : !skin->New()) {
        std::printf("%-18s could not open the skin\n", label);
        return false;
    }
    Frame host;
    const HINSTANCE module = GetModuleInstance();
    if (!host.Create(nullptr, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1000, 800, nullptr, module))
        return false;
    Preview* preview = new Preview;
    if (!preview->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 1000, 800, host.GetHwnd(), module))
        return false;
    host.AddChild(preview);
    const HWND window = preview->GetHwnd();
    SendMessageW(window, n_editorMessage::c_selectPage, c_layoutPart, 0);
    preview->RenderBackBuffer();

    CombineInfo& layout = skin->HorizontalCombined();
    std::vector<double> road, workCopy, reload, paint;
    bool ok = true;
    for (int run = 0; run < runs; ++run) {
        layout.pinyinMarge[2] += run % 2 ? -1 : 1;
        double t = Now();
        SendMessageW(window, n_editorMessage::c_skinChanged, MAKEWPARAM(c_layoutPart, 0), 0);
        preview->RenderBackBuffer();
        road.push_back(Now() - t);

        // The phases one by one, each on an unchanged skin.
        t_errorChain errors;
        t = Now();
        ok = preview->SaveAndExtract(errors) && ok;
        workCopy.push_back(Now() - t);
        // The shown preview loads the work copy again and lays its windows out (the
        // previews do both when next asked for their size or picture).
        t = Now();
        PreviewConfigable* shown = preview->GetPreview(Preview::e_desktop);
        shown->Reload();
        shown->SetHostWindow(window);
        shown->UpdateLayout();
        int width = 0, height = 0;
        shown->GetSize(width, height);
        reload.push_back(Now() - t);
        t = Now();
        preview->RenderBackBuffer();
        paint.push_back(Now() - t);
    }
    // The back buffer with the small phone shown (the background, the sentence and the phone's
    // screen, bar and keyboard).
    std::vector<double> frame;
    SendMessageW(window, n_editorMessage::c_selectPreview, Preview::e_phone, 0);
    for (int run = 0; run < runs; ++run) {
        const double t = Now();
        preview->RenderBackBuffer();
        frame.push_back(Now() - t);
    }
    const int painted = preview->BackBufferPixels() ? 1 : 0;
    DestroyWindow(host.GetHwnd());
    host.OnDestroy();
    skin->Close();
    const double median = Median(road);
    std::printf("%-18s edit to repainted preview %7.2f ms (target %.0f ms, ratio %.2f)%s\n", label, median, targetMs,
                median / targetMs, ok && painted ? "" : "   FAILED");
    std::printf("%-18s   work copy %.2f ms, shown preview reloaded and laid out %.2f ms, back buffer painted %.2f ms "
                "(with the small phone shown %.2f ms)\n",
                label, Median(workCopy), Median(reload), Median(paint), Median(frame));
    return ok && painted;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::printf("usage: preview_edit_bench WORK_FOLDER [RUNS]\n");
        return 2;
    }
    const std::wstring work = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 15;
    SetModuleInstance(GetModuleHandleW(nullptr));
    if (!IMEKavrelApp::RegisterClasses()) {
        std::printf("could not register the window classes\n");
        return 1;
    }
    const std::wstring largeFolder = work + L"\\large";
    const std::wstring largePack = work + L"\\large.vsf";
    if (!WritePictureSkin(largeFolder, 500) || !PackSkinFolder(largeFolder, largePack)) {
        std::printf("could not generate the 500-picture skin\n");
        return 1;
    }
    std::printf("edit to preview, median of %d runs\n", runs);
    const bool ok =
        Measure("default skin", nullptr, runs, 8) && Measure("500-picture skin", largePack.c_str(), runs, 20);
    return ok ? 0 : 1;
}
