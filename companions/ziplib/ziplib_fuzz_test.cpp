// ZipLib.dll on damaged and hostile archives: nothing may crash, every answer is one of
// the documented codes, and nothing is ever written outside the target folder.
//
// testdata/fuzz_seed.zip was written with Python's zipfile (fixed dates): a deflated
// Skin.ini, a folder entry and a stored picture under a UTF-8 name (flag bit 11), a
// deflated picture whose header name is code page 936 with an Info-ZIP Unicode Path
// field, and an empty file.
#include "interfaces/ziplib.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "companions/ziplib/entry_name.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Seed()
{
    return ReadRaw(std::wstring(KAVREL_SOURCE_DIR) + L"\\companions\\ziplib\\testdata\\fuzz_seed.zip");
}

// Offsets of every occurrence of a four-byte signature.
std::vector<size_t> Signatures(const std::string& bytes, uint32_t signature)
{
    std::vector<size_t> at;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        const uint32_t v = static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8) |
                           (static_cast<uint8_t>(bytes[i + 2]) << 16) |
                           (static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 3])) << 24);
        if (v == signature)
            at.push_back(i);
    }
    return at;
}

// Damages one field of a local header, a central directory record or the end record:
// counts, sizes, offsets and name, extra and comment lengths.
void DamageField(std::string& bytes, std::mt19937& rng)
{
    struct t_field {
        uint32_t signature;
        unsigned offset;
        unsigned width;
    };
    static const t_field c_fields[] = {
        {0x04034b50, 6, 2},  {0x04034b50, 8, 2},  {0x04034b50, 14, 4}, {0x04034b50, 18, 4}, {0x04034b50, 22, 4},
        {0x04034b50, 26, 2}, {0x04034b50, 28, 2}, {0x02014b50, 4, 2},  {0x02014b50, 8, 2},  {0x02014b50, 10, 2},
        {0x02014b50, 16, 4}, {0x02014b50, 20, 4}, {0x02014b50, 24, 4}, {0x02014b50, 28, 2}, {0x02014b50, 30, 2},
        {0x02014b50, 32, 2}, {0x02014b50, 42, 4}, {0x06054b50, 4, 2},  {0x06054b50, 8, 2},  {0x06054b50, 10, 2},
        {0x06054b50, 12, 4}, {0x06054b50, 16, 4}, {0x06054b50, 20, 2},
    };
    const t_field& field = c_fields[rng() % (sizeof c_fields / sizeof c_fields[0])];
    const std::vector<size_t> records = Signatures(bytes, field.signature);
    if (records.empty())
        return;
    const size_t at = records[rng() % records.size()] + field.offset;
    const uint32_t value = EdgeValue(rng, bytes.size());
    if (field.width == 2)
        PutLe16(bytes, at, value);
    else
        PutLe32(bytes, at, value);
}

// The damaged archives: every truncation, then seeded field damage, random mutations
// and both together.
std::vector<std::string> DamagedArchives(const std::string& seed, int rounds)
{
    std::vector<std::string> out;
    for (size_t n = 0; n < seed.size(); n += 5)
        out.push_back(seed.substr(0, n));
    std::mt19937 rng(20240611);
    for (int round = 0; round < rounds; ++round) {
        std::string bad = seed;
        switch (round % 3) {
        case 0:
            DamageField(bad, rng);
            if (rng() % 2)
                DamageField(bad, rng);
            break;
        case 1:
            Mutate(bad, rng);
            break;
        default:
            DamageField(bad, rng);
            Mutate(bad, rng);
            break;
        }
        out.push_back(bad);
    }
    return out;
}

bool KnownCode(int code) { return code >= ZIPLIB_OK && code <= ZIPLIB_E_READ; }

std::string Cp936(const std::wstring& text)
{
    std::string out;
    return n_zipName::ToCp936(text, out) ? out : std::string();
}

TEST(ZipLibFuzz, SeedArchiveIsWhole)
{
    t_tempFolder temp(L"ziplib_fuzz_seed");
    const std::wstring archive = temp / L"seed.zip";
    ASSERT_TRUE(WriteRaw(archive, Seed()));
    uint32_t written = 0;
    ASSERT_EQ(ZIPLIB_OK, UnZipEx2(archive.c_str(), (temp / L"out").c_str(), &written));
    EXPECT_EQ(4u, written);
    EXPECT_EQ(std::string("BM") + std::string("\0\1\2\3", 4), ReadRaw(temp / L"out\\候选.bmp").substr(0, 6));
    EXPECT_EQ(16u, ReadRaw(temp / L"out\\图片\\bg.png").size());
}

// Every damaged archive through UnZip, PrepareUnzipFile and UnZipFile. The sandbox holds
// the archive, a sentinel file and the target folder: after each call it must hold the
// same and nothing else, the sentinel unchanged. An archive refused as a whole leaves
// no target folder behind. When UnZip succeeds, each file it wrote is also found by
// UnZipFile.
TEST(ZipLibFuzz, DamagedArchivesStayInsideTheTarget)
{
    const std::string seed = Seed();
    ASSERT_GT(seed.size(), 100u);
    t_tempFolder temp(L"ziplib_fuzz");
    const std::wstring sentinel = temp / L"sentinel.txt";
    ASSERT_TRUE(WriteRaw(sentinel, "keep"));
    const std::wstring target = temp / L"out";
    const char* const c_asked[] = {"Skin.ini", "\xcd\xbc\xc6\xac\\bg.png", "\xba\xf2\xd1\xa1.bmp", "empty.txt",
                                   "..\\Skin.ini"};

    const std::vector<std::string> archives = DamagedArchives(seed, 600);
    int extracted = 0;
    int refused = 0;
    for (size_t i = 0; i < archives.size(); ++i) {
        const std::string& bytes = archives[i];
        const std::wstring name = L"a" + std::to_wstring(i) + L".zip";
        const std::wstring archive = temp / name;
        ASSERT_TRUE(WriteRaw(archive, bytes));
        const std::string label = "case " + std::to_string(i);

        const int code = UnZip(archive.c_str(), target.c_str());
        EXPECT_TRUE(KnownCode(code)) << code << " " << label;
        std::set<std::wstring> expected = {name, L"sentinel.txt"};
        if (code == ZIPLIB_OK || code == ZIPLIB_E_WRITE || code == ZIPLIB_E_CORRUPT)
            expected.insert(L"out");
        else
            EXPECT_FALSE(Exists(target)) << "refused as a whole yet written, " << label;
        const std::vector<std::wstring> present = NamesIn(temp.Path());
        for (const std::wstring& found : present)
            EXPECT_TRUE(expected.count(found)) << testing::PrintToString(found) << " outside the target, " << label;
        ASSERT_EQ("keep", ReadRaw(sentinel)) << label;

        std::vector<std::wstring> written;
        ForEachBelow(target, [&](const std::wstring& rel, bool isFolder) {
            if (!isFolder)
                written.push_back(rel);
        });
        extracted += code == ZIPLIB_OK;
        refused += code == ZIPLIB_E_REFUSED || code == ZIPLIB_E_TOO_BIG || code == ZIPLIB_E_OPEN;

        char path[260];
        uint32_t deleteAfterwards = 0;
        if (PrepareUnzipFile(archive.c_str(), path, &deleteAfterwards)) {
            EXPECT_EQ(0u, deleteAfterwards) << label;
            std::vector<std::string> asked(std::begin(c_asked), std::end(c_asked));
            for (const std::wstring& file : written)
                asked.push_back(Cp936(file));
            for (size_t k = 0; k < asked.size(); ++k) {
                t_unzipBuf buffer = {7, nullptr};
                const uint8_t ok = UnZipFile(path, asked[k].c_str(), &buffer);
                if (ok) {
                    EXPECT_TRUE(buffer.data != nullptr) << label;
                    EXPECT_LE(buffer.size, ZIPLIB_MAX_ENTRY_SIZE) << label;
                } else {
                    EXPECT_TRUE(buffer.data == nullptr && buffer.size == 0) << label;
                    // Every file UnZip wrote passed its checks and CRC as an entry of that name.
                    EXPECT_FALSE(code == ZIPLIB_OK && k >= std::size(c_asked) && !asked[k].empty())
                        << asked[k] << " " << label;
                }
                FreeUnzipBuf(&buffer);
            }
        }
        t_tempFolder::RemoveTree(target);
        DeleteFileW(archive.c_str());
    }
    // The damage reaches both sides: some archives still extract, many are refused.
    EXPECT_GT(extracted, 20);
    EXPECT_GT(refused, 200);
}

// Names and extra fields straight from the directory, as arbitrary bytes at the very end
// of readable memory. A name that passes the safety check stays below any folder.
TEST(ZipLibFuzz, EntryNamesFromArbitraryBytes)
{
    std::mt19937 rng(7);
    t_guardedBytes rawGuard;
    t_guardedBytes extraGuard;
    const std::wstring folder = L"C:\\skins\\out";
    static const char c_pieces[] = "./\\.. :aA\x80\xff\xc3\xa9\xe4\xb8\xad";
    int decoded = 0;
    int safe = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string raw;
        if (round % 2) {
            raw = RandomBytes(rng, rng() % 24);
        } else {
            for (size_t n = rng() % 24; n; --n)
                raw += c_pieces[rng() % (sizeof c_pieces - 1)];
        }
        // Extra fields: a Unicode Path field with a right or wrong CRC and any length,
        // behind or in front of other fields, or noise.
        std::string extra;
        if (rng() % 4) {
            const std::string utf8 = RandomBytes(rng, rng() % 12);
            const uint32_t crc = rng() % 2 ? static_cast<uint32_t>(rng()) : 0;
            std::string field(4, 0);
            PutLe16(field, 0, 0x7075);
            PutLe16(field, 2, rng() % 3 ? static_cast<uint32_t>(5 + utf8.size()) : EdgeValue(rng, utf8.size()));
            field += '\x01';
            std::string crcBytes(4, 0);
            PutLe32(crcBytes, 0, crc);
            field += crcBytes + utf8;
            extra = rng() % 2 ? field : RandomBytes(rng, rng() % 8) + field;
            if (rng() % 4 == 0)
                extra.resize(rng() % (extra.size() + 1));
        } else {
            extra = RandomBytes(rng, rng() % 16);
        }
        const uint8_t* rawAt = rawGuard.Place(raw);
        const uint8_t* extraAt = extraGuard.Place(extra);
        ASSERT_TRUE(rawAt && extraAt);
        const uint16_t flags = rng() % 2 ? n_zipName::c_flagUtf8 : 0;
        const uint8_t host = static_cast<uint8_t>(rng() % 3 == 0 ? n_zipName::c_hostUnix : rng() % 24);
        std::wstring name;
        if (!n_zipName::Decode(reinterpret_cast<const char*>(rawAt), raw.size(), flags, extraAt, extra.size(), host,
                               name))
            continue;
        ++decoded;
        bool directory = false;
        if (!n_zipName::MakeSafeRelative(name, directory))
            continue;
        ++safe;
        wchar_t full[1024];
        const std::wstring joined = folder + L"\\" + name;
        const DWORD n = GetFullPathNameW(joined.c_str(), 1024, full, nullptr);
        ASSERT_TRUE(n > 0 && n < 1024);
        EXPECT_EQ(0, _wcsnicmp(full, (folder + L"\\").c_str(), folder.size() + 1))
            << testing::PrintToString(name) << " leaves the folder as " << testing::PrintToString(std::wstring(full));
    }
    EXPECT_GT(decoded, 3000);
    EXPECT_GT(safe, 800);
}

}  // namespace
