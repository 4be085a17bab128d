// The input method's runtime skin made from a generated 500-picture skin package (about
// 10 MB): t_envSkin::Extract2 from the zip archive (every picture named by Skin.ini, taken
// one by one from the archive, written as a plain container) and from the same skin as a
// packed container (read, deciphered and inflated for the checks, written as it was read). Prints the median of
// several runs of each; extract_bench.sh runs Info-ZIP unzip on the same archive and prints
// the ratio.
//   extract_bench WORK_FOLDER [RUNS]
// Leaves WORK_FOLDER\500.vsf for the peer.
#include "bench/bench_timer.h"
#include "bench/bench_setup.h"
#include "bench/synthetic_skin.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "interfaces/ziplib.h"
#include "foundation/env/user_env_test_setup.h"
#include "foundation/files/path.h"
#include "foundation/records/skin_pack.h"
#include "skin_model/extract/env_skin.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

// Median milliseconds of Extract2 from package into target; negative when a run failed.
double MeasureExtract(const std::wstring& package, const std::wstring& target, int userId, int runs,
                      uint32_t expectedEntries)
{
    bool failed = false;
    const double median = MedianMs(runs, [&] {
        t_errorChain errors;
        int32_t code = -1;
        if (!t_envSkin::Instance()->Extract2(errors, userId, false, package.c_str(), target.c_str(), &code) ||
            !errors.IsEmpty())
            failed = true;
    });
    t_skinPack check;
    t_errorChain errors;
    if (failed || !check.Import(errors, target.c_str()) || uint32_t(check.Count()) != expectedEntries)
        return -1;
    return median;
}

}  // namespace

int main()
{
    std::wstring root;
    int runs = 0;
    if (!ReadBenchArgs("extract_bench", 9, root, runs))
        return 2;

    // The installation (with the zip library, as the input method ships it) and the user.
    const int userId = 0x500;
    t_str userDir;
    if (!SetUpBenchUser(root, L"extract_bench", int(GetCurrentProcessId() * 64 + 3), userId, userDir))
        return 1;
    t_errorChain errors;

    t_syntheticSkin shape;
    shape.seed = 21;
    const std::wstring folder = root + L"\\gen500";
    const std::wstring zipPackage = root + L"\\500.vsf";
    const std::wstring packedPackage = root + L"\\500_packed.vsf";
    t_skinPack pack;
    bool ok = WriteSyntheticSkin(folder, shape) &&
              ZipFolder(folder.c_str(), nullptr, zipPackage.c_str()) == ZIPLIB_OK && pack.AddFolder(folder.c_str()) &&
              pack.Export(errors, packedPackage.c_str(), true);
    if (!ok) {
        std::printf("could not generate the packages\n");
        return 1;
    }
    const uint32_t entries = uint32_t(pack.Count());  // the pictures and Skin.ini

    const std::wstring target = std::wstring(userDir.c_str()) + L"\\skin_v3.dat";
    const double fromZip = MeasureExtract(zipPackage, target, userId, runs, entries);
    const double fromPacked = MeasureExtract(packedPackage, target, userId, runs, entries);
    t_tempFolder::RemoveTree(userDir.c_str());
    if (fromZip < 0 || fromPacked < 0) {
        std::printf("extraction failed\n");
        return 1;
    }
    std::printf("median of %d runs, %u entries\n", runs, entries);
    std::printf("500 pictures from zip median %.1f ms\n", fromZip);
    std::printf("500 pictures from container median %.1f ms\n", fromPacked);
    return 0;
}
