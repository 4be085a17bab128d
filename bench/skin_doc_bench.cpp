// The skin document's package cycle on our default skin (skin.dat beside this program),
// on a generated zip package of 500 pictures (about 10 MB) and on one of about 2 MB:
// Open; RefreshWorkCopy (commit plus the re-pack of the preview copy, which the editor
// runs on every edit, here after a changed value, after a new picture and without a
// change); Save, and Save again without a change. Prints
// the median of several runs of each beside its goal; skin_doc_bench.sh runs Info-ZIP on
// the folders that were saved and prints the ratios. A skin of 2000 pictures (about 40 MB)
// measures the refresh only.
//   skin_doc_bench WORK_FOLDER [RUNS]
// Leaves WORK_FOLDER\default and WORK_FOLDER\500 (each work folder as it was saved).
#include "bench/bench_timer.h"
#include "bench/bench_setup.h"
#include "bench/synthetic_skin.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "interfaces/ziplib.h"
#include "foundation/files/path.h"
#include "skin_model/general_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

const double c_openGoalMs = 60;

bool Measure(const char* label, const std::wstring& package, const std::wstring& root, const std::wstring& keep,
             int runs, const double* refreshGoal)
{
    std::vector<double> open, refresh, refreshPicture, refreshSame, save, saveSame;
    const std::wstring target = root + L"\\saved.vsf";
    IMESkin skin;
    for (int run = 0; run < runs; ++run) {
        double t = Now();
        if (!skin.Open(package.c_str())) {
            std::printf("open failed\n");
            return false;
        }
        open.push_back(Now() - t);

        // An edit of a value, then an edit of a picture: each followed by what the preview
        // runs.
        t_errorChain errors;
        for (int edit = 0; edit < 3; ++edit) {
            _snwprintf(skin.General().skinVersion, 8, L"%d.%d", run, edit);
            t = Now();
            if (!skin.RefreshWorkCopy(errors)) {
                std::printf("refresh failed\n");
                return false;
            }
            refresh.push_back(Now() - t);
        }
        const std::wstring picture = std::wstring(skin.GetWorkFolder()) + L"\\bench_edit.png";
        WriteRaw(picture, std::string(4000 + run, char('a' + run)));
        t = Now();
        if (!skin.RefreshWorkCopy(errors)) {
            std::printf("refresh failed\n");
            return false;
        }
        refreshPicture.push_back(Now() - t);
        DeleteFileW(picture.c_str());
        // What the preview runs when nothing changed (the picture's removal aside, which
        // the refresh before this one takes in).
        if (!skin.RefreshWorkCopy(errors)) {
            std::printf("refresh failed\n");
            return false;
        }
        t = Now();
        if (!skin.RefreshWorkCopy(errors)) {
            std::printf("refresh failed\n");
            return false;
        }
        refreshSame.push_back(Now() - t);

        t = Now();
        if (!skin.Save(errors, target.c_str())) {
            std::printf("save failed\n");
            return false;
        }
        save.push_back(Now() - t);
        t = Now();
        if (!skin.Save(errors, target.c_str())) {
            std::printf("save failed\n");
            return false;
        }
        saveSame.push_back(Now() - t);
        if (run == runs - 1 && !keep.empty()) {
            t_errorChain ignored;
            DeleteFolderTree(keep.c_str());
            CopyFolderTree(ignored, keep.c_str(), skin.GetWorkFolder());
            // Info-ZIP packs what the save packed: the folder without the backup.
            DeleteFileW((keep + L"\\skinbak.ini").c_str());
        }
        skin.Close();
    }
    std::printf("%-14s open median %.1f ms\n", label, Median(open));
    if (refreshGoal) {
        std::printf("%-14s refresh median %.2f ms (goal %.0f ms, ratio %.2f), after a new picture %.2f ms, "
                    "without a change %.2f ms\n",
                    label, Median(refresh), *refreshGoal, Median(refresh) / *refreshGoal, Median(refreshPicture),
                    Median(refreshSame));
    }
    std::printf("%-14s save median %.1f ms, again without a change %.1f ms\n", label, Median(save), Median(saveSame));
    return true;
}

}  // namespace

int main()
{
    std::wstring root;
    int runs = 0;
    if (!ReadBenchArgs("skin_doc_bench", 9, root, runs))
        return 2;
    const std::wstring defaultSkin = ExeFolder() + L"\\skin.dat";

    t_syntheticSkin large;
    large.seed = 11;
    t_syntheticSkin small;
    small.seed = 12;
    small.pictures = 100;
    const std::wstring largePackage = root + L"\\500.vsf";
    const std::wstring smallPackage = root + L"\\2mb.vsf";
    t_syntheticSkin huge;
    huge.seed = 13;
    huge.pictures = 2000;
    const std::wstring hugePackage = root + L"\\2000.vsf";
    bool ok = WriteSyntheticSkin(root + L"\\gen500", large) &&
              ZipFolder((root + L"\\gen500").c_str(), nullptr, largePackage.c_str()) == ZIPLIB_OK &&
              WriteSyntheticSkin(root + L"\\gen2mb", small) &&
              ZipFolder((root + L"\\gen2mb").c_str(), nullptr, smallPackage.c_str()) == ZIPLIB_OK &&
              WriteSyntheticSkin(root + L"\\gen2000", huge) &&
              ZipFolder((root + L"\\gen2000").c_str(), nullptr, hugePackage.c_str()) == ZIPLIB_OK;
    if (!ok) {
        std::printf("could not generate the packages\n");
        return 1;
    }
    std::printf("median of %d runs\n", runs);
    const double defaultGoal = 4;
    const double largeGoal = 14;
    const double hugeGoal = 30;
    ok = Measure("default skin", defaultSkin, root, root + L"\\default", runs, &defaultGoal) &&
         Measure("500 pictures", largePackage, root, root + L"\\500", runs, &largeGoal) &&
         Measure("2000 pictures", hugePackage, root, std::wstring(), runs, &hugeGoal);
    if (ok) {
        std::vector<double> open;
        IMESkin skin;
        for (int run = 0; run < runs; ++run) {
            const double t = Now();
            ok = skin.Open(smallPackage.c_str()) && ok;
            open.push_back(Now() - t);
            skin.Close();
        }
        WIN32_FILE_ATTRIBUTE_DATA facts = {};
        GetFileAttributesExW(smallPackage.c_str(), GetFileExInfoStandard, &facts);
        std::printf("2 MB package   open median %.1f ms (%.1f MB; goal %.0f ms, ratio %.2f)\n", Median(open),
                    facts.nFileSizeLow / 1048576.0, c_openGoalMs, Median(open) / c_openGoalMs);
    }
    return ok ? 0 : 1;
}
