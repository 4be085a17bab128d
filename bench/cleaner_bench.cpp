// Runs the skin folder cleaner on a generated skin of 500 pictures (about 10 MB): most
// named by button and layout keys, some byte-identical to others, some named nowhere.
// Every run cleans a fresh copy of the folder; prints the median of several runs.
#include "bench/bench_timer.h"
#include "skin_model/skin_cleaner.h"

#include "foundation/files/path.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

const int c_runs = 9;
const int c_pictures = 500;
const int c_duplicates = 60;    // copies of other pictures, still named
const int c_unreferenced = 80;  // named nowhere
const size_t c_pictureBytes = 20 * 1024;

std::wstring PictureName(int i) { return L"pic" + std::to_wstring(i) + (i % 3 ? L".png" : L".bmp"); }

// The skin: pictures, then a Skin.ini (UTF-16) naming all but the unreferenced ones
// through custom buttons spread over the five window sections.
bool Generate(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    std::mt19937 random(7);
    std::vector<unsigned char> bytes(c_pictureBytes);
    std::vector<std::vector<unsigned char>> written;
    for (int i = 0; i < c_pictures; ++i) {
        if (i >= c_pictures - c_duplicates) {
            bytes = written[random() % written.size()];
        } else {
            for (auto& b : bytes)
                b = static_cast<unsigned char>(random());
            written.push_back(bytes);
        }
        if (!WriteRaw(folder + L"\\" + PictureName(i), bytes.data(), bytes.size()))
            return false;
    }

    static const wchar_t* const c_sections[] = {L"StatusBar", L"Scheme_H1", L"Scheme_H2", L"Scheme_V1", L"Scheme_V2"};
    std::vector<std::wstring> named;
    for (int i = 0; i < c_pictures; ++i) {
        // The unreferenced ones are spread through the listing.
        if (i % (c_pictures / c_unreferenced) != 1)
            named.push_back(PictureName(i));
    }
    std::wstring ini = L"\xFEFF[General]\r\nskin_name=bench\r\nskin_info=pic1.png is not named here\r\n";
    const size_t perSection = (named.size() + 4) / 5;
    size_t next = 0;
    for (const wchar_t* section : c_sections) {
        ini += L"\r\n[" + std::wstring(section) + L"]\r\npic= " + named[next] + L" \r\nopaque=255\r\nanchor=0,0\r\n";
        int button = 0;
        const size_t end = std::min(named.size(), next + perSection);
        for (; next < end; ++button) {
            const std::wstring key = L"custom" + std::to_wstring(button);
            ini += key + L"_display=" + (button % 2 ? L"1" : L"0") + L"\r\n" + key + L"_pos=0,0\r\n";
            ini += key + L"=" + named[next++];
            if (next < end)
                ini += L" , ," + named[next++] + L"<0;0;16;16>";
            ini += L"\r\n" + key + L"_hover=,\r\n";
        }
        ini += L"custom_cnt=" + std::to_wstring(button) + L"\r\n";
    }
    return WriteRaw(folder + L"\\Skin.ini", ini.data(), ini.size() * sizeof(wchar_t));
}

}  // namespace

int main()
{
    const t_tempFolder root(L"cleaner_bench");
    const std::wstring source = root / L"source";
    const std::wstring work = root / L"work";
    if (!Generate(source)) {
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

    std::printf("cleaner: %d pictures (%.1f MB), %d files before, %d after; median of %d runs: %.1f ms\n", c_pictures,
                c_pictures * static_cast<double>(c_pictureBytes) / (1024.0 * 1024.0), before, after, c_runs,
                Median(times));
    return 0;
}
