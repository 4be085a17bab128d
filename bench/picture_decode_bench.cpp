// Decodes pictures from memory through the loader registry: every picture of the default
// skin (PNG and BMP masks), and the files of a folder the script generates (a 1024 x 1024
// RGBA PNG, an interlaced PNG, a 100-frame APNG, a 50-frame GIF). Prints the median time
// per set over several runs.
// Usage: picture_decode_bench.exe INPUT_FOLDER SKIN_FOLDER [RUNS]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_timer.h"
#include "graphics/image/image_source.h"
#include "tests/support/temp_folder.h"

namespace {

struct t_input {
    std::wstring name;
    std::string bytes;
};

std::vector<t_input> ReadFolder(const std::wstring& folder)
{
    std::vector<t_input> inputs;
    for (const std::wstring& name : NamesIn(folder, true)) {
        const size_t dot = name.rfind(L'.');
        const std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot);
        if (ext != L".png" && ext != L".bmp" && ext != L".gif")
            continue;
        inputs.push_back({name, ReadRaw(folder + L"\\" + name)});
    }
    return inputs;
}

// Median milliseconds to decode (and free) every input once; false when one fails.
bool Time(const std::vector<const t_input*>& inputs, int runs, double& median, int& frames)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        frames = 0;
        const double start = Now();
        for (const t_input* input : inputs) {
            t_imageSource source;
            if (!source.Decode(input->bytes.data(), input->bytes.size())) {
                wprintf(L"decode failed: %ls\n", input->name.c_str());
                return false;
            }
            frames += source.kind == t_imageSource::e_frames ? source.payload.count : 1;
            source.Free();
        }
        times.push_back(Now() - start);
    }
    median = Median(times);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: picture_decode_bench INPUT_FOLDER SKIN_FOLDER [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? _wtoi(argv[3]) : 9;
    const std::vector<t_input> generated = ReadFolder(argv[1]);
    const std::vector<t_input> skin = ReadFolder(argv[2]);
    if (generated.empty() || skin.empty()) {
        fprintf(stderr, "no pictures found\n");
        return 2;
    }
    std::vector<const t_input*> all;
    for (const t_input& input : skin)
        all.push_back(&input);
    double ms = 0;
    int frames = 0;
    if (!Time(all, runs, ms, frames))
        return 1;
    printf("default skin: %d pictures, median %.2f ms (%.3f ms per picture)\n", static_cast<int>(skin.size()), ms,
           ms / skin.size());
    for (const t_input& input : generated) {
        if (!Time({&input}, runs, ms, frames))
            return 1;
        printf("%ls: %d frame(s), %zu bytes, median %.2f ms\n", input.name.c_str(), frames, input.bytes.size(), ms);
    }
    return 0;
}
