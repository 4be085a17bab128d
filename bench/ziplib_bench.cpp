// Zips and unzips a generated skin folder (500 pictures and Skin.ini, about 11 MB) through
// ZipLib.dll and prints the median of several runs. ziplib_bench.sh runs Info-ZIP on the
// same folder and prints the ratios.
//   ziplib_bench WORK_FOLDER [RUNS]
// Leaves WORK_FOLDER\skin (the pictures), WORK_FOLDER\ours.zip and WORK_FOLDER\ours_out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "bench/synthetic_skin.h"
#include "interfaces/ziplib.h"
#include "tests/support/temp_folder.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: ziplib_bench WORK_FOLDER [RUNS]\n");
        return 64;
    }
    const std::wstring work = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 9;
    const std::wstring skin = work + L"\\skin";
    const std::wstring archive = work + L"\\ours.zip";
    const std::wstring out = work + L"\\ours_out";
    if (!WriteSyntheticSkin(skin, t_syntheticSkin())) {
        fprintf(stderr, "could not write the skin folder\n");
        return 1;
    }
    SetZipLevel(6);
    std::vector<double> zipTimes;
    std::vector<double> againTimes;
    std::vector<double> unzipTimes;
    for (int i = 0; i < runs; ++i) {
        // A cold zip: the library forgets the deflated entries it keeps for packing again.
        InitDllEnv();
        SetZipLevel(6);
        const double t0 = Now();
        if (ZipFolder(skin.c_str(), nullptr, archive.c_str()) != ZIPLIB_OK)
            return 2;
        const double t1 = Now();
        t_tempFolder::RemoveTree(out);
        const double t2 = Now();
        if (UnZip(archive.c_str(), out.c_str()) != ZIPLIB_OK)
            return 3;
        const double t3 = Now();
        zipTimes.push_back(t1 - t0);
        unzipTimes.push_back(t3 - t2);
        // The same folder again, unchanged: its deflated entries are reused.
        const double t4 = Now();
        if (ZipFolder(skin.c_str(), nullptr, archive.c_str()) != ZIPLIB_OK)
            return 2;
        againTimes.push_back(Now() - t4);
    }
    WIN32_FILE_ATTRIBUTE_DATA facts;
    GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &facts);
    printf("ziplib zip   median %.1f ms over %d runs, archive %lu bytes\n", Median(zipTimes), runs, facts.nFileSizeLow);
    printf("ziplib unzip median %.1f ms over %d runs\n", Median(unzipTimes), runs);
    printf("ziplib zip of the unchanged folder again median %.1f ms\n", Median(againTimes));
    return 0;
}
