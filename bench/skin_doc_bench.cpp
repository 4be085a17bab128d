// The skin document's package cycle on our default skin (skin.dat beside this program)
// and on a generated zip package of 500 pictures (about 10 MB): Open; Commit plus the
// re-pack of the preview copy, which the editor runs on every edit; and Save. Prints the
// median of several runs of each.
#include "bench/bench_timer.h"

#include <windows.h>

#include <cstdio>
#include <random>
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
const int c_pictures = 500;
const size_t c_pictureBytes = 20 * 1024;

// Distinct pictures, each named by a custom button of one of the five window sections.
bool Generate(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    std::mt19937 random(11);
    std::vector<unsigned char> bytes(c_pictureBytes);
    // The separate windows keep their buttons under a window prefix.
    static const wchar_t* const c_sections[][2] = {{L"StatusBar", L""},
                                                   {L"Scheme_H1", L""},
                                                   {L"Scheme_H2", L"comp_"},
                                                   {L"Scheme_V1", L""},
                                                   {L"Scheme_V2", L"cand_"}};
    std::wstring ini = L"\xFEFF[General]\r\nskin_name=bench\r\n";
    const int perSection = c_pictures / 5;
    int picture = 0;
    for (const auto& section : c_sections) {
        const std::wstring prefix = section[1];
        ini += L"\r\n[" + std::wstring(section[0]) + L"]\r\n";
        const int buttons = perSection / 2;
        for (int button = 0; button < buttons; ++button) {
            const std::wstring key = prefix + L"custom" + std::to_wstring(button);
            ini += key + L"_display=1\r\n" + key + L"_pos=0,0\r\n";
            // The normal and the hover picture.
            for (int state = 0; state < 2; ++state, ++picture) {
                const std::wstring name = L"p" + std::to_wstring(picture) + L".png";
                for (auto& b : bytes)
                    b = static_cast<unsigned char>(random());
                if (!WriteRaw(folder + L"\\" + name, bytes.data(), bytes.size()))
                    return false;
                ini += key + (state ? L"_hover=" : L"=") + name + L"\r\n";
            }
        }
        ini += prefix + L"custom_cnt=" + std::to_wstring(buttons) + L"\r\n";
    }
    return WriteRaw(folder + L"\\Skin.ini", ini.data(), ini.size() * sizeof(wchar_t));
}

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
    bool ok = Generate(generated) && ZipFolder(generated.c_str(), nullptr, package.c_str()) == ZIPLIB_OK;
    if (!ok)
        std::printf("could not generate the 500-picture package\n");
    std::printf("median of %d runs\n", c_runs);
    ok = Measure("default skin", defaultSkin, root) && ok;
    ok = ok && Measure("500 pictures", package, root);
    return ok ? 0 : 1;
}
