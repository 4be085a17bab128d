// Runs the skin folder cleaner on a generated skin of 500 pictures (about 10 MB): most
// named by button and layout keys, some byte-identical to others, some named nowhere.
// Every run cleans a fresh copy of the folder; prints the median of several runs.
#include "bench/bench_timer.h"
#include "bench/synthetic_skin.h"
#include "skin_model/skin_cleaner.h"

#include "foundation/files/path.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int c_runs = 9;

}  // namespace

int main()
{
    const t_tempFolder root(L"cleaner_bench");
    const std::wstring source = root / L"source";
    const std::wstring work = root / L"work";
    t_syntheticSkin shape;
    shape.seed = 7;
    shape.duplicates = 60;
    shape.unreferenced = 80;
    shape.hoverPictures = false;
    if (!WriteSyntheticSkin(source, shape)) {
        std::printf("could not generate the skin folder\n");
        return 1;
    }

    std::vector<double> times;
    int before = 0;
    int after = 0;
    for (int run = 0; run < c_runs; ++run) {
        DeleteFolderTree(work.c_str());
        t_errorChain errors;
        if (!CopyFolderTree(errors, work.c_str(), source.c_str())) {
            std::printf("could not copy the skin folder\n");
            return 1;
        }
        before = int(NamesIn(work, true).size());
        const double start = Now();
        t_skinCleaner cleaner;
        const bool ok = cleaner.Run(errors, work.c_str());
        times.push_back(Now() - start);
        if (!ok) {
            std::printf("the cleaner failed\n");
            return 1;
        }
        after = int(NamesIn(work, true).size());
    }

    std::printf("cleaner: %d pictures (%.1f MB), %d files before, %d after; median of %d runs: %.1f ms\n",
                shape.pictures, shape.pictures * static_cast<double>(shape.pictureBytes) / (1024.0 * 1024.0), before,
                after, c_runs, Median(times));
    return 0;
}
