// Zip archives for tests, written byte by byte rather than by the library under test, so
// that names the library would refuse to write can be tried.
#pragma once

#include <zlib.h>

#include <string>
#include <utility>
#include <vector>

// A zip archive of stored entries with the names exactly as given (no checks), so that
// hostile names can be tried.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string out, directory;
    auto u16 = [](std::string& s, unsigned v) {
        s += char(v & 0xff);
        s += char(v >> 8 & 0xff);
    };
    auto u32 = [&](std::string& s, unsigned v) {
        u16(s, v & 0xffff);
        u16(s, v >> 16);
    };
    for (const auto& entry : entries) {
        const unsigned crc =
            unsigned(crc32(0, reinterpret_cast<const Bytef*>(entry.second.data()), uInt(entry.second.size())));
        const unsigned offset = unsigned(out.size());
        u32(out, 0x04034b50);
        u16(out, 20);
        u16(out, 0);
        u16(out, 0);
        u16(out, 0);
        u16(out, 0x21);
        u32(out, crc);
        u32(out, unsigned(entry.second.size()));
        u32(out, unsigned(entry.second.size()));
        u16(out, unsigned(entry.first.size()));
        u16(out, 0);
        out += entry.first + entry.second;
        u32(directory, 0x02014b50);
        u16(directory, 20);
        u16(directory, 20);
        u16(directory, 0);
        u16(directory, 0);
        u16(directory, 0);
        u16(directory, 0x21);
        u32(directory, crc);
        u32(directory, unsigned(entry.second.size()));
        u32(directory, unsigned(entry.second.size()));
        u16(directory, unsigned(entry.first.size()));
        u16(directory, 0);
        u16(directory, 0);
        u16(directory, 0);
        u16(directory, 0);
        u32(directory, 0);
        u32(directory, offset);
        directory += entry.first;
    }
    const unsigned start = unsigned(out.size());
    out += directory;
    u32(out, 0x06054b50);
    u16(out, 0);
    u16(out, 0);
    u16(out, unsigned(entries.size()));
    u16(out, unsigned(entries.size()));
    u32(out, unsigned(directory.size()));
    u32(out, start);
    u16(out, 0);
    return out;
}
