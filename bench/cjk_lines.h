// The text of the text benchmarks: lines of ideographs spread over the CJK block.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::wstring> CjkLines(int lineCount, int perLine)
{
    std::vector<std::wstring> lines;
    unsigned c = 0x4E00;
    for (int i = 0; i < lineCount; ++i) {
        std::wstring line;
        for (int j = 0; j < perLine; ++j, c += 17)
            line += static_cast<wchar_t>(c);
        lines.push_back(line);
    }
    return lines;
}
