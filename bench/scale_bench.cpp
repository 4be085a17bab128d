// How opening a package in the editor (IMESkin::Open) and making the runtime skin from it
// (t_envSkin::Extract2) grow with the number of pictures: packages of 1 000, 10 000 and
// 50 000 small pictures, each named in Skin.ini, beside the floor Wine sets for both:
// writing the same files into a fresh folder (CreateFileW, WriteFile, CloseHandle). Goals,
// each printed beside its figure: open within 1.5 times the floor at every size,
// extraction of 10 000 pictures under 2 s, and extraction linear (its cost per picture
// stays flat along the curve). Last, a Skin.ini naming 50 000 pictures the package lacks:
// the extraction's time and how many lines its chain holds (a bounded count).
//   scale_bench WORK_FOLDER [RUNS [PICTURES...]]
#include "bench/bench_timer.h"
#include "bench/bench_setup.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "interfaces/ziplib.h"
#include "foundation/env/user_env_test_setup.h"
#include "foundation/files/path.h"
#include "skin_model/extract/env_skin.h"
#include "skin_model/extract/skin_package_reader.h"
#include "skin_model/ime_skin.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

const double c_openGoalRatio = 1.5;
const double c_extract10kGoalMs = 2000;
// The cost per picture of the largest package at most this many times the smallest's.
const double c_linearGrowth = 1.5;

std::wstring PictureName(int i)
{
    wchar_t name[32];
    _snwprintf(name, 32, L"p%05d.png", i);
    return name;
}

// N pictures of 200 to 700 bytes and a Skin.ini naming each (or naming them when absent).
struct t_scaleSkin {
    std::vector<std::pair<std::wstring, std::string>> files;

    t_scaleSkin(int pictures, bool withPictures)
    {
        std::mt19937 rng{unsigned(pictures)};
        std::string ini = "\xEF\xBB\xBF[General]\r\nskin_name=scale\r\n[Display]\r\n";
        for (int i = 0; i < pictures; ++i) {
            const std::wstring name = PictureName(i);
            ini += "pic" + std::to_string(i) + "=" + std::string(name.begin(), name.end()) + "\r\n";
            if (!withPictures)
                continue;
            std::string bytes = "\x89PNG\r\n\x1a\n";
            bytes.resize(200 + rng() % 500);
            for (size_t b = 8; b < bytes.size(); ++b)
                bytes[b] = char(rng());
            files.emplace_back(name, bytes);
        }
        files.emplace_back(L"Skin.ini", ini);
    }
};

// Writes the files into a fresh folder; its time in milliseconds, negative on failure.
double WriteFiles(const std::wstring& folder, const t_scaleSkin& skin)
{
    DeleteFolderTree(folder.c_str());
    const double start = Now();
    if (!CreateDirectoryW(folder.c_str(), nullptr))
        return -1;
    for (const auto& file : skin.files) {
        const HANDLE handle = CreateFileW((folder + L"\\" + file.first).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD put = 0;
        const bool ok = handle != INVALID_HANDLE_VALUE &&
                        WriteFile(handle, file.second.data(), DWORD(file.second.size()), &put, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        if (!ok)
            return -1;
    }
    return Now() - start;
}

struct t_point {
    int pictures;
    double floorMs, openMs, extractMs;
};

bool MeasurePoint(const std::wstring& root, int pictures, int runs, int userId, const std::wstring& userDir,
                  t_point& point)
{
    const t_scaleSkin skin(pictures, true);
    const std::wstring source = root + L"\\gen" + std::to_wstring(pictures);
    const std::wstring package = root + L"\\" + std::to_wstring(pictures) + L".vsf";
    if (WriteFiles(source, skin) < 0 || ZipFolder(source.c_str(), nullptr, package.c_str()) != ZIPLIB_OK) {
        std::printf("could not generate %d pictures\n", pictures);
        return false;
    }
    std::vector<double> floor, open, extract;
    const std::wstring floorFolder = root + L"\\floor";
    const std::wstring target = userDir + L"\\skin_v3.dat";
    for (int run = 0; run < runs; ++run) {
        const double written = WriteFiles(floorFolder, skin);
        if (written < 0)
            return false;
        floor.push_back(written);
        DeleteFolderTree(floorFolder.c_str());

        IMESkin document;
        double t = Now();
        if (!document.Open(package.c_str())) {
            std::printf("open of %d pictures failed\n", pictures);
            return false;
        }
        open.push_back(Now() - t);
        document.Close();

        t_errorChain errors;
        int32_t code = -1;
        t = Now();
        if (!t_envSkin::Instance()->Extract2(errors, userId, false, package.c_str(), target.c_str(), &code) ||
            !errors.IsEmpty()) {
            std::printf("extraction of %d pictures failed\n", pictures);
            return false;
        }
        extract.push_back(Now() - t);
    }
    DeleteFolderTree(source.c_str());
    point = {pictures, Median(floor), Median(open), Median(extract)};
    return true;
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace

int main()
{
    std::wstring root;
    int runs = 0;
    if (!ReadBenchArgs("scale_bench", 5, root, runs))
        return 2;
    // Picture counts after the run count; 1 000, 10 000 and 50 000 when none is given.
    std::vector<int> counts;
    {
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
        for (int i = 3; argv && i < argc; ++i) {
            if (_wtoi(argv[i]) > 0)
                counts.push_back(_wtoi(argv[i]));
        }
        LocalFree(argv);
    }
    if (counts.empty())
        counts = {1000, 10000, 50000};

    // The installation (with the zip library, as the input method ships it) and the user.
    const int userId = 0x500;
    t_str userDir;
    if (!SetUpBenchUser(root, L"scale_bench", int(GetCurrentProcessId() * 64 + 5), userId, userDir))
        return 1;

    std::printf("median of %d runs (one above 10 000, where Wine alone takes minutes)\n", runs);
    std::printf("%8s %11s %11s %22s %11s %22s %12s %14s\n", "pictures", "floor ms", "open ms", "open/floor (goal<=1.5)",
                "extract ms", "goal", "open us/pic", "extract us/pic");
    std::fflush(stdout);
    std::vector<t_point> points;
    bool ok = true;
    for (const int pictures : counts) {
        t_point point = {};
        if (!MeasurePoint(root, pictures, pictures > 10000 ? 1 : runs, userId, userDir.c_str(), point)) {
            ok = false;
            break;
        }
        const double ratio = point.openMs / point.floorMs;
        char goal[32] = "-";
        if (pictures <= 10000) {
            const double allowed = c_extract10kGoalMs * pictures / 10000;
            _snprintf(goal, sizeof goal, "<%.0f ms %s", allowed, Verdict(point.extractMs < allowed));
        }
        std::printf("%8d %11.1f %11.1f %15.2f %6s %11.1f %22s %12.1f %14.1f\n", pictures, point.floorMs, point.openMs,
                    ratio, Verdict(ratio <= c_openGoalRatio), point.extractMs, goal, point.openMs * 1000 / pictures,
                    point.extractMs * 1000 / pictures);
        std::fflush(stdout);
        points.push_back(point);
    }
    for (const t_point& point : points) {
        if (point.pictures != 10000)
            continue;
        std::printf("open of 10 000 pictures: %.2f x the floor (goal at most %.1f): %s\n", point.openMs / point.floorMs,
                    c_openGoalRatio, Verdict(point.openMs <= c_openGoalRatio * point.floorMs));
        std::printf("extraction of 10 000 pictures: %.0f ms (goal under %.0f ms): %s\n", point.extractMs,
                    c_extract10kGoalMs, Verdict(point.extractMs < c_extract10kGoalMs));
    }
    // Linear: the cost per picture of the largest package against the smallest. Opening
    // writes every picture, so its floor is Wine's, and Wine's own cost per file grows
    // with the folder: the open is held to the floor at every size instead.
    if (ok && points.size() >= 2) {
        const t_point& first = points.front();
        const t_point& last = points.back();
        const double growth = (last.extractMs / last.pictures) / (first.extractMs / first.pictures);
        std::printf("extraction per picture, %d against %d pictures: %.2f x (goal at most %.1f, linear): %s\n",
                    last.pictures, first.pictures, growth, c_linearGrowth, Verdict(growth <= c_linearGrowth));
        const double floorGrowth = (last.floorMs / last.pictures) / (first.floorMs / first.pictures);
        const double openGrowth = (last.openMs / last.pictures) / (first.openMs / first.pictures);
        std::printf("open per picture, %d against %d pictures: %.2f x; Wine's floor per file: %.2f x\n", last.pictures,
                    first.pictures, openGrowth, floorGrowth);
    }

    // A Skin.ini that names 50 000 pictures, none of them in the package.
    if (ok) {
        const t_scaleSkin named(50000, false);
        const std::wstring source = root + L"\\missing";
        const std::wstring package = root + L"\\missing.vsf";
        ok = WriteFiles(source, named) >= 0 && ZipFolder(source.c_str(), nullptr, package.c_str()) == ZIPLIB_OK;
        size_t lines = 0;
        const double ms = ok ? MedianMs(runs,
                                        [&] {
                                            t_errorChain chain;
                                            int32_t code = -1;
                                            const std::wstring target =
                                                std::wstring(userDir.c_str()) + L"\\missing.dat";
                                            t_envSkin::Instance()->Extract2(chain, userId, false, package.c_str(),
                                                                            target.c_str(), &code);
                                            lines = 0;
                                            for (const t_errorLine* line = chain.FirstLine(); line; line = line->next)
                                                ++lines;
                                        })
                             : 0;
        // The pictures named one line each, then one line counting the rest.
        const size_t bound = t_skinPackageReader::c_maxLeftOutLines + 1;
        if (ok)
            std::printf("50 000 named pictures missing: extraction %.1f ms; %u lines on the chain (goal at most %u, "
                        "bounded): %s\n",
                        ms, unsigned(lines), unsigned(bound), Verdict(lines <= bound));
    }
    t_tempFolder::RemoveTree(userDir.c_str());
    return ok ? 0 : 1;
}
