// Deflated entries of the latest pack, kept for the next one: saving a skin again deflates
// only what changed. An entry is found by what vouches for its bytes: a file by its path,
// size and last-write time (as the folder listing gives them), bytes in memory by their
// name, size, CRC-32 and Adler-32; both with the level they were deflated at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct t_deflated {
    std::vector<uint8_t> bytes;  // the raw deflate stream
    uint32_t crc = 0;
    uint16_t internal = 0;  // the central directory's text flag
};

class t_deflateCache {
public:
    // The process-wide cache every pack uses.
    static t_deflateCache& Global();

    static std::string FileKey(const std::wstring& path, uint64_t size, const FILETIME& written, int level);
    static std::string DataKey(const std::string& name, uint64_t size, uint32_t crc, uint32_t adler, int level);

    // A pack begins: its number, which Find and Keep mark the entries it uses with.
    uint64_t Begin();
    // The entry under key, or null; marks it used by pack.
    std::shared_ptr<const t_deflated> Find(const std::string& key, uint64_t pack);
    // Keeps deflated under key for later packs, while the cache stays below its limit.
    void Keep(const std::string& key, std::shared_ptr<const t_deflated> deflated, uint64_t pack);
    // The pack ended: entries no pack since this one used are dropped.
    void End(uint64_t pack);
    // Drops every entry (the library's set-up, and tests).
    void Clear();

    size_t Count();
    size_t Bytes();

private:
    struct t_kept {
        std::shared_ptr<const t_deflated> deflated;
        uint64_t used;
    };

    SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<std::string, t_kept> m_entries;
    size_t m_bytes = 0;
    uint64_t m_packs = 0;
};
