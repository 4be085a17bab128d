// The skin document's package cycle on our default skin (skin.dat beside this program)
// and on a generated zip package of 500 pictures (about 10 MB): Open; Commit plus the
// re-pack of the preview copy, which the editor runs on every edit; and Save. Prints the
// median of several runs of each.
#include "bench/bench_timer.h"
#include "bench/synthetic_skin.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "companions/ziplib/ziplib.h"
#include "tests/support/exe_folder.h"
#include "foundation/files/path.h"
#include "foundation/records/skin_pack.h"
#include "tests/support/temp_folder.h"
#include "skin_model/ime_skin.h"

namespace {

const int c_runs = 7;

// The entries of a zip package, through a fresh extraction.
int CountEntries(const std::wstring& archive, const std::wstring& scratch)
{
    uint32_t written = 0;
    DeleteFolderTree(scratch.c_str());
    if (UnZipEx2(archive.c_str(), scratch.c_str(), &written) != ZIPLIB_OK)
        return -1;
    DeleteFolderTree(scratch.c_str());
    return int(written);
}

bool Measure(const char* label, const std::wstring& package, const std::wstring& root)
{
    std::vector<double> open, commit, save, commitOnly, addFolder;
    const std::wstring target = root + L"\\saved.vsf";
    IMESkin skin;
    for (int run = 0; run < c_runs; ++run) {
        double t = Now();
        if (!skin.Open(package.c_str())) {
            std::printf("open failed\n");
            return false;
        }
        open.push_back(Now() - t);

        // What the preview does on every edit: commit without validation, re-pack the copy.
        t_errorChain errors;
        t = Now();
        t_skinPack pack;
        bool committed = skin.Commit(errors, false);
        const double t1 = Now();
        committed = committed && pack.AddFolder(skin.GetWorkFolder());
        const double t2 = Now();
        committed = committed && pack.Export(errors, (std::wstring(skin.GetWorkFolder()) + L".dat").c_str(), false);
        commit.push_back(Now() - t);
        commitOnly.push_back(t1 - t);
        addFolder.push_back(t2 - t1);
        if (!committed) {
            std::printf("commit failed\n");
            return false;
        }

        t = Now();
        if (!skin.Save(errors, target.c_str())) {
            std::printf("save failed\n");
            return false;
        }
        save.push_back(Now() - t);
        skin.Close();
    }
    const int entries = CountEntries(target, root + L"\\count");
    std::printf("%-16s open %8.1f ms   commit+repack %8.1f ms   save %8.1f ms   (%d entries saved)\n", label,
                Median(open), Median(commit), Median(save), entries);
    std::printf("%-16s (commit %.1f ms, read folder %.1f ms, write copy %.1f ms)\n", "", Median(commitOnly),
                Median(addFolder), Median(commit) - Median(commitOnly) - Median(addFolder));
    return true;
}

}  // namespace

int main()
{
    const t_tempFolder temp(L"skin_doc_bench");
    const std::wstring& root = temp.Path();
    const std::wstring defaultSkin = ExeFolder() + L"\\skin.dat";

    const std::wstring generated = root + L"\\generated";
    const std::wstring package = root + L"\\generated.vsf";
    t_syntheticSkin shape;
    shape.seed = 11;
    bool ok =
        WriteSyntheticSkin(generated, shape) && ZipFolder(generated.c_str(), nullptr, package.c_str()) == ZIPLIB_OK;
    if (!ok)
        std::printf("could not generate the 500-picture package\n");
    std::printf("median of %d runs\n", c_runs);
    ok = Measure("default skin", defaultSkin, root) && ok;
    ok = ok && Measure("500 pictures", package, root);
    return ok ? 0 : 1;
}
