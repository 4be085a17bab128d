// Zips and unzips a generated skin folder (500 pictures, about 10 MB) through ZipLib.dll
// and prints the median of several runs. ziplib_bench.sh runs Info-ZIP on the same folder.
//   ziplib_bench WORK_FOLDER [RUNS]
// Leaves WORK_FOLDER\skin (the pictures), WORK_FOLDER\ours.zip and WORK_FOLDER\ours_out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "companions/ziplib/ziplib.h"
#include "tests/support/temp_folder.h"

namespace {

// Half the pictures are bitmaps with smooth gradients and flat areas (they deflate well),
// half are noise standing in for already-compressed PNG data.
std::string Picture(int index, unsigned& seed)
{
    std::string out;
    if (index % 2 == 0) {
        const int w = 96 + index % 64;
        const int h = 64;
        out.assign("BM");
        out.resize(54, 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool flat = (x / 16 + y / 16) % 3 == 0;
                out.push_back(static_cast<char>(flat ? 0xF0 : x * 2 + index));
                out.push_back(static_cast<char>(flat ? 0xF0 : y * 3));
                out.push_back(static_cast<char>(flat ? 0xF0 : (x + y) ^ index));
                out.push_back(static_cast<char>(0xFF));
            }
        }
    } else {
        out.assign("\x89PNG\r\n\x1a\n");
        const size_t size = 8000 + (index * 37) % 8000;
        while (out.size() < size) {
            seed = seed * 1103515245u + 12345u;
            out.push_back(static_cast<char>(seed >> 16));
        }
    }
    return out;
}

bool MakeSkin(const std::wstring& folder, uint64_t& bytes)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\图片").c_str(), nullptr);
    unsigned seed = 1;
    bytes = 0;
    std::string ini = "[General]\r\nname=bench\r\n[Display]\r\n";
    for (int i = 0; i < 500; ++i) {
        const std::wstring name =
            (i % 2 ? L"图片\\候选_" : L"图片\\bar_") + std::to_wstring(i) + (i % 2 ? L".png" : L".bmp");
        const std::string data = Picture(i, seed);
        if (!WriteRaw(folder + L"\\" + name, data))
            return false;
        bytes += data.size();
        ini += "pic" + std::to_string(i) + "=x" + std::to_string(i) + "\r\n";
    }
    return WriteRaw(folder + L"\\Skin.ini", ini);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: ziplib_bench WORK_FOLDER [RUNS]\n");
        return 64;
    }
    const std::wstring work = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    const std::wstring skin = work + L"\\skin";
    const std::wstring archive = work + L"\\ours.zip";
    const std::wstring out = work + L"\\ours_out";
    uint64_t bytes = 0;
    if (!MakeSkin(skin, bytes)) {
        fprintf(stderr, "could not write the skin folder\n");
        return 1;
    }
    SetZipLevel(6);
    std::vector<double> zipTimes;
    std::vector<double> unzipTimes;
    for (int i = 0; i < runs; ++i) {
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
    }
    WIN32_FILE_ATTRIBUTE_DATA facts;
    GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &facts);
    printf("skin: 501 files, %llu bytes\n", static_cast<unsigned long long>(bytes));
    printf("ziplib zip   median %.1f ms over %d runs, archive %lu bytes\n", Median(zipTimes), runs, facts.nFileSizeLow);
    printf("ziplib unzip median %.1f ms over %d runs\n", Median(unzipTimes), runs);
    return 0;
}
