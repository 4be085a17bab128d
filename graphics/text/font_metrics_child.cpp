// Metrics tool for the FreeType peer check: registers the test fonts, then for each line
// "<face>|<pixel height>|<hex code points ...>" of the job file given as the argument prints
// "<file>|<face index>|<width>|<height>|<ascent>" of the whole run, and one such line per
// single character and per adjacent pair, in that order.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/text/freetype.h"
#include "graphics/text/test_fonts_setup.h"

namespace {

std::wstring Utf16Of(const std::vector<unsigned>& codes)
{
    std::wstring text;
    for (unsigned c : codes) {
        if (c > 0xFFFF) {
            text.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else
            text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

void PrintRun(t_ftFont* font, const std::vector<unsigned>& codes)
{
    t_ftRunMetrics metrics = {-1, -1, -1};
    const std::wstring text = Utf16Of(codes);
    t_freetype::Instance()->MeasureRun(text.c_str(), static_cast<int>(text.size()), font, metrics);
    printf("%d|%d|%d\n", metrics.width, metrics.height, metrics.ascent);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || !n_testFonts::Install() || !t_freetype::Instance()->IsStarted())
        return 200;
    std::ifstream jobs(argv[1]);
    std::string line;
    while (std::getline(jobs, line)) {
        std::istringstream fields(line);
        std::string face, height, hex;
        std::getline(fields, face, '|');
        std::getline(fields, height, '|');
        std::getline(fields, hex);
        std::vector<unsigned> codes;
        std::istringstream hexCodes(hex);
        for (unsigned c; hexCodes >> std::hex >> c;)
            codes.push_back(c);
        const std::wstring wideFace(face.begin(), face.end());
        t_ftFont* font =
            t_freetype::Instance()->CreateFont(n_testFonts::LogFont(wideFace.c_str(), -std::stol(height)), nullptr);
        if (!font) {
            printf("nofont\n");
            continue;
        }
        const auto* entry = t_freetype::Instance()->FontManager()->FindEntry(font->face);
        printf("%s|%d\n", entry->path, entry->index);
        PrintRun(font, codes);
        for (size_t i = 0; i < codes.size(); ++i)
            PrintRun(font, {codes[i]});
        for (size_t i = 0; i + 1 < codes.size(); ++i)
            PrintRun(font, {codes[i], codes[i + 1]});
        t_freetype::Instance()->ReleaseFont(font);
    }
    fflush(stdout);
    return 0;
}
