// A generated skin folder for the benchmarks that need a large realistic skin: random
// pictures and a UTF-16 Skin.ini whose custom buttons, spread over the five window
// sections, name them. The separate windows keep their buttons under a window prefix.
#pragma once

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

struct t_syntheticSkin {
    unsigned seed = 1;
    int pictures = 500;
    size_t pictureBytes = 20 * 1024;
    // The last `duplicates` pictures are byte copies of earlier ones, still named.
    int duplicates = 0;
    // Pictures spread through the listing that Skin.ini names nowhere.
    int unreferenced = 0;
    // Where a button's second picture goes: its hover value, or (false) a second item,
    // with a sub-rectangle, of its own value beside an empty hover value.
    bool hoverPictures = true;
};

inline std::wstring SyntheticPictureName(int i) { return L"pic" + std::to_wstring(i) + (i % 3 ? L".png" : L".bmp"); }

// Writes the pictures and Skin.ini into folder (created when missing). Each button is
// shown and names two pictures; the first picture of a section is also its background.
inline bool WriteSyntheticSkin(const std::wstring& folder, const t_syntheticSkin& shape)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    std::mt19937 random(shape.seed);
    std::vector<unsigned char> bytes(shape.pictureBytes);
    std::vector<std::vector<unsigned char>> written;
    for (int i = 0; i < shape.pictures; ++i) {
        if (i >= shape.pictures - shape.duplicates && !written.empty()) {
            bytes = written[random() % written.size()];
        } else {
            for (auto& b : bytes)
                b = static_cast<unsigned char>(random());
            written.push_back(bytes);
        }
        if (!WriteRaw(folder + L"\\" + SyntheticPictureName(i), bytes.data(), bytes.size()))
            return false;
    }

    std::vector<std::wstring> named;
    const int spacing = shape.unreferenced > 0 ? std::max(1, shape.pictures / shape.unreferenced) : 0;
    for (int i = 0; i < shape.pictures; ++i) {
        if (spacing == 0 || i % spacing != 1)
            named.push_back(SyntheticPictureName(i));
    }
    if (named.empty())
        return false;
    static const wchar_t* const c_sections[][2] = {{L"StatusBar", L""},
                                                   {L"Scheme_H1", L""},
                                                   {L"Scheme_H2", L"comp_"},
                                                   {L"Scheme_V1", L""},
                                                   {L"Scheme_V2", L"cand_"}};
    // A picture name in free text is not a reference.
    std::wstring ini = L"\xFEFF[General]\r\nskin_name=bench\r\nskin_info=pic1.png is not named here\r\n";
    const size_t perSection = (named.size() + 4) / 5;
    size_t next = 0;
    for (const auto& section : c_sections) {
        const std::wstring prefix = section[1];
        ini += L"\r\n[" + std::wstring(section[0]) + L"]\r\npic= " + named[std::min(next, named.size() - 1)] +
               L" \r\nopaque=255\r\nanchor=0,0\r\n";
        int button = 0;
        const size_t end = std::min(named.size(), next + perSection);
        for (; next < end; ++button) {
            const std::wstring key = prefix + L"custom" + std::to_wstring(button);
            ini += key + L"_display=1\r\n" + key + L"_pos=0,0\r\n";
            ini += key + L"=" + named[next++];
            if (shape.hoverPictures) {
                ini += L"\r\n" + key + L"_hover=" + (next < end ? named[next++] : L"") + L"\r\n";
            } else {
                if (next < end)
                    ini += L" , ," + named[next++] + L"<0;0;16;16>";
                ini += L"\r\n" + key + L"_hover=,\r\n";
            }
        }
        ini += prefix + L"custom_cnt=" + std::to_wstring(button) + L"\r\n";
    }
    return WriteRaw(folder + L"\\Skin.ini", ini.data(), ini.size() * sizeof(wchar_t));
}
