// Runs the pixel operations on inputs a host script wrote, for peer checks against an
// independent computation of the same formulas.
//   paint_ops_child <folder>
// Reads <folder>\jobs.txt, one job a line, file names relative to the folder:
//   colorref <in> <out>                  u32 list -> (ColorRefToArgb, PremultiplyArgb) pairs
//   key <pixels> <key> <exact> <out>     ApplyColorKey
//   recolor <pixels> <A> <B> <out>       RecolorPixels
//   setalpha <pixels> <alpha> <out>      SetAlphaPremultiplied
//   bounds <pixels> <rows> <out>         GetOpaqueBounds, GetOpaqueBand: (i32 ok, 4 x i32) each
//   weights <S> <D> <out>                weight table: i32 window, count x (i32 left, i32 right,
//                                        window doubles)
//   resize <pixels> <W> <H> <out>        ResizePixels with the bicubic filter
//   glow <pixels> <out>                  ApplyGlowEffect
//   kernel <out>                         the glow's 21 x 21 weights, row by row
//   png <pixels> <l> <t> <r> <b> <out>   SavePixelsAsPng of the top-down rectangle
// Pixel files: u32 width, u32 height, then the pixels bottom row first. Numbers in the
// jobs file are decimal or 0x-hexadecimal. Exit code 1 when a job fails, 2 for bad input.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/paint/color_key.h"
#include "graphics/paint/glow.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/png_export.h"
#include "graphics/paint/resize.h"
#include "tests/support/temp_folder.h"

namespace {

std::wstring g_folder;

std::wstring PathOf(const std::wstring& name) { return g_folder + L"\\" + name; }

bool ReadInFolder(const std::wstring& name, std::string& bytes) { return ReadRaw(PathOf(name), bytes); }

bool WriteFile(const std::wstring& name, const void* data, size_t size)
{
    FILE* f = _wfopen(PathOf(name).c_str(), L"wb");
    if (!f)
        return false;
    const bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

struct t_pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
};

bool ReadPixels(const std::wstring& name, t_pixels& out)
{
    std::string bytes;
    if (!ReadInFolder(name, bytes) || bytes.size() < 8)
        return false;
    uint32_t size[2];
    memcpy(size, bytes.data(), 8);
    if (size[0] == 0 || size[1] == 0 || size[0] > 8192 || size[1] > 8192 ||
        bytes.size() != 8 + size_t(size[0]) * size[1] * 4)
        return false;
    out.width = int(size[0]);
    out.height = int(size[1]);
    out.data.resize(size_t(size[0]) * size[1]);
    memcpy(out.data.data(), bytes.data() + 8, out.data.size() * 4);
    return true;
}

bool WritePixels(const std::wstring& name, const uint32_t* pixels, int width, int height)
{
    std::string bytes(8 + size_t(width) * height * 4, '\0');
    const uint32_t size[2] = {uint32_t(width), uint32_t(height)};
    memcpy(&bytes[0], size, 8);
    memcpy(&bytes[8], pixels, size_t(width) * height * 4);
    return WriteFile(name, bytes.data(), bytes.size());
}

template <class T>
void Put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

uint32_t Number(const std::wstring& text) { return static_cast<uint32_t>(wcstoul(text.c_str(), nullptr, 0)); }

bool RunJob(const std::vector<std::wstring>& w)
{
    const std::wstring& op = w[0];
    t_pixels p;
    if (op == L"colorref" && w.size() == 3) {
        std::string in, out;
        if (!ReadInFolder(w[1], in))
            return false;
        for (size_t i = 0; i + 4 <= in.size(); i += 4) {
            uint32_t c;
            memcpy(&c, in.data() + i, 4);
            Put(out, ColorRefToArgb(c));
            Put(out, PremultiplyArgb(c));
        }
        return WriteFile(w[2], out.data(), out.size());
    }
    if (op == L"key" && w.size() == 5 && ReadPixels(w[1], p)) {
        ApplyColorKey(Number(w[2]), p.height, p.width, p.data.data(), Number(w[3]) != 0);
        return WritePixels(w[4], p.data.data(), p.width, p.height);
    }
    if (op == L"recolor" && w.size() == 5 && ReadPixels(w[1], p)) {
        RecolorPixels(Number(w[2]), p.data.data(), Number(w[3]), p.height, p.width);
        return WritePixels(w[4], p.data.data(), p.width, p.height);
    }
    if (op == L"setalpha" && w.size() == 4 && ReadPixels(w[1], p)) {
        SetAlphaPremultiplied(p.height, p.data.data(), int(Number(w[2])), p.width);
        return WritePixels(w[3], p.data.data(), p.width, p.height);
    }
    if (op == L"bounds" && w.size() == 4 && ReadPixels(w[1], p)) {
        std::string out;
        RECT bounds = {}, band = {};
        const bool haveBounds = GetOpaqueBounds(p.width, p.height, p.data.data(), bounds);
        const bool haveBand = GetOpaqueBand(p.data.data(), int(Number(w[2])), p.width, p.height, band);
        for (const auto& r : {std::make_pair(haveBounds, bounds), std::make_pair(haveBand, band)}) {
            Put<int32_t>(out, r.first ? 1 : 0);
            for (LONG v : {r.second.left, r.second.top, r.second.right, r.second.bottom})
                Put<int32_t>(out, v);
        }
        return WriteFile(w[3], out.data(), out.size());
    }
    if (op == L"weights" && w.size() == 4) {
        CBicubicFilter filter;
        t_weightTable table;
        const int target = int(Number(w[2]));
        if (!table.Build(filter, int(Number(w[1])), target))
            return false;
        std::string out;
        Put<int32_t>(out, table.window);
        for (int u = 0; u < target; ++u) {
            Put<int32_t>(out, table.entries[u].left);
            Put<int32_t>(out, table.entries[u].right);
            out.append(reinterpret_cast<const char*>(table.WeightsOf(u)), size_t(table.window) * 8);
        }
        return WriteFile(w[3], out.data(), out.size());
    }
    if (op == L"resize" && w.size() == 5 && ReadPixels(w[1], p)) {
        const int width = int(Number(w[2])), height = int(Number(w[3]));
        std::vector<uint32_t> out(size_t(width) * height);
        CBicubicFilter filter;
        return ResizePixels(filter, p.data.data(), p.width, p.height, out.data(), width, height) &&
               WritePixels(w[4], out.data(), width, height);
    }
    if (op == L"glow" && w.size() == 3 && ReadPixels(w[1], p)) {
        t_memDC out;
        const t_pixelRect source = {nullptr, p.data.data(), p.width, p.height, 0, 0, p.width, p.height};
        return ApplyGlowEffect(source, out) && WritePixels(w[2], out.Pixels(), out.width, out.height);
    }
    if (op == L"kernel" && w.size() == 2) {
        const t_effectGlowSimple& glow = SharedGlowFilter();
        std::string out;
        for (int r = 0; r < t_effectGlowSimple::c_size; ++r) {
            for (int c = 0; c < t_effectGlowSimple::c_size; ++c)
                Put<double>(out, glow.Weight(r, c));
        }
        return WriteFile(w[1], out.data(), out.size());
    }
    if (op == L"png" && w.size() == 7 && ReadPixels(w[1], p)) {
        const RECT rect = {LONG(Number(w[2])), LONG(Number(w[3])), LONG(Number(w[4])), LONG(Number(w[5]))};
        return SavePixelsAsPng(p.data.data(), rect, SIZE{p.width, p.height}, PathOf(w[6]).c_str());
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    g_folder = argv[1];
    std::string jobs;
    if (!ReadInFolder(L"jobs.txt", jobs))
        return 2;
    int failed = 0;
    size_t start = 0;
    while (start < jobs.size()) {
        size_t end = jobs.find('\n', start);
        if (end == std::string::npos)
            end = jobs.size();
        std::vector<std::wstring> words;
        std::wstring word;
        for (size_t i = start; i < end; ++i) {
            const char ch = jobs[i];
            if (ch == ' ' || ch == '\r') {
                if (!word.empty())
                    words.push_back(word);
                word.clear();
            } else {
                word += wchar_t(ch);
            }
        }
        if (!word.empty())
            words.push_back(word);
        if (!words.empty() && !RunJob(words)) {
            fprintf(stderr, "job failed: %ls\n", words[0].c_str());
            ++failed;
        }
        start = end + 1;
    }
    return failed ? 1 : 0;
}
