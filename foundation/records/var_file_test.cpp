#include "foundation/records/var_file.h"

#include "tests/support/fuzz_input.h"
#include "tests/support/hex.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

namespace {

typedef VarComplexDynArray<t_varFile, 100> t_fileList;

// Appends a file entry (name and bytes copied into the arena).
template <class TList>
void AddFile(TList& list, t_heap& heap, const wchar_t* name, const std::string& data)
{
    t_varFile source;
    source.SetName(name, nullptr);
    source.SetData(reinterpret_cast<const unsigned char*>(data.data()), static_cast<uint32_t>(data.size()), nullptr);
    t_varFile* entry = t_varFile::CloneInto(source, &heap);
    ASSERT_NE(nullptr, entry);
    ASSERT_TRUE(list.Append(entry, &heap));
}

template <class TList>
t_bytes Write(TList& list)
{
    int size = list.Serialize(nullptr);
    t_bytes out(size);
    EXPECT_EQ(size, list.Serialize(out.data()));
    return out;
}

std::string DataOf(const t_varFile* f)
{
    uint32_t count = 0;
    const unsigned char* p = f->GetData(&count);
    return std::string(reinterpret_cast<const char*>(p), count);
}

TEST(VarFileTest, EmptyListIsFourZeroBytes)
{
    t_heap heap(0x1000);
    t_fileList list;
    EXPECT_EQ("00000000", ToHex(Write(list)));
    const unsigned char in[] = {0, 0, 0, 0, 9, 9};
    EXPECT_EQ(4, list.Deserialize(in, sizeof in, &heap));
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(0, list.Deserialize(in, sizeof in, nullptr));
}

TEST(VarFileTest, ListImageLayout)
{
    t_heap heap(0x1000);
    t_fileList list;
    AddFile(list, heap, L"a", "xy");
    AddFile(list, heap, L"bc", "");
    // total, table bytes, two offsets, then {name, data} images.
    EXPECT_EQ("28000000"
              "08000000"
              "10000000"
              "1c000000"
              "02000000"
              "6100"
              "02000000"
              "7879"
              "04000000"
              "62006300"
              "00000000",
              ToHex(Write(list)));
    // Writing needs an arena for the offset table.
    t_fileList noArena;
    t_varFile entry;
    entry.SetName(L"a", nullptr);
    noArena.Append(&entry, &heap);
    noArena.SetHeap(nullptr);
    t_bytes out(64, 0xee);
    EXPECT_EQ(0, noArena.Serialize(out.data()));
    EXPECT_EQ(t_bytes(64, 0xee), out);
}

TEST(VarFileTest, ListRoundTripsAcrossGrowthSteps)
{
    t_heap heap(0x8000);
    VarComplexDynArray<t_varFile, 3> list;
    for (int i = 0; i < 10; ++i)
        AddFile(list, heap, (L"file" + std::to_wstring(i) + L".png").c_str(), std::string(i * 5, char('a' + i)));
    ASSERT_TRUE(list.RemoveAt(4));
    EXPECT_FALSE(list.RemoveAt(9));
    const t_bytes image = Write(list);

    t_heap readHeap(0x8000);
    VarComplexDynArray<t_varFile, 3> back;
    ASSERT_EQ(static_cast<int>(image.size()), back.Deserialize(image.data(), image.size(), &readHeap));
    ASSERT_EQ(9, back.Count());
    for (int i = 0, k = 0; i < 10; ++i) {
        if (i == 4)
            continue;
        EXPECT_STREQ((L"file" + std::to_wstring(i) + L".png").c_str(), back.At(k)->GetName());
        EXPECT_EQ(std::string(i * 5, char('a' + i)), DataOf(back.At(k)));
        ++k;
    }
    // A copy of an entry lives in the arena and does not share its source's bytes.
    t_varFile* clone = t_varFile::CloneInto(*back.At(1), &heap);
    ASSERT_NE(nullptr, clone);
    EXPECT_STREQ(L"file1.png", clone->GetName());
    EXPECT_EQ("bbbbb", DataOf(clone));
    EXPECT_NE(back.At(1)->GetData(nullptr), clone->GetData(nullptr));
    EXPECT_EQ(nullptr, t_varFile::CloneInto(*back.At(1), nullptr));
    // Entry 0 has no bytes: its clone has none either.
    EXPECT_EQ(nullptr, t_varFile::CloneInto(*back.At(0), &heap)->GetData(nullptr));
}

TEST(VarFileTest, MalformedListImages)
{
    struct {
        const char* hex;
        int result;
        int count;
    } const cases[] = {
        // total beyond the available bytes
        {"2b000000", -1, 0},
        // total 1..7: no room for the offset table inside the list
        {"04000000", -1, 0},
        {"0700000000000000", -1, 0},
        // offset table of 6 bytes
        {"0e000000060000000c00000000000000", -1, 0},
        // second offset equals total: skipped, one element read
        {"1a00000008000000100000001a000000"
         "02000000"
         "6100"
         "00000000",
         26, 1},
        // offset pointing into the header
        {"1a000000080000000400000000000000"
         "02000000"
         "6100"
         "00000000",
         -1, 0},
        // two offsets naming the same element
        {"1a000000080000001000000010000000"
         "02000000"
         "6100"
         "00000000",
         -1, 0},
        // element data running past total (though not past the input)
        {"1a000000040000000c000000"
         "02000000"
         "6100"
         "08000000"
         "7879"
         "00000000",
         -1, 0},
    };
    for (const auto& c : cases) {
        t_heap heap(0x1000);
        t_fileList list;
        t_bytes in = FromHex(c.hex);
        EXPECT_EQ(c.result, list.Deserialize(in.data(), in.size(), &heap)) << c.hex;
        EXPECT_EQ(c.count, list.Count()) << c.hex;
    }
}

// Every result is -1 or a length within the input, and no read leaves it.
int ReadGuarded(t_guardedBytes& guard, const t_bytes& image, size_t n)
{
    t_heap heap(0x1000);
    t_fileList list;
    const unsigned char* p = guard.Place(image.data(), n);
    if (!p) {
        ADD_FAILURE() << "no guarded pages for " << n << " bytes";
        return -2;
    }
    int r = list.Deserialize(p, static_cast<uint32_t>(n), &heap);
    EXPECT_TRUE(r == -1 || (r >= 4 && static_cast<size_t>(r) <= n)) << r << " of " << n;
    for (int i = 0; i < list.Count(); ++i) {
        // Entries read must stay readable (all in the arena).
        uint32_t count = 0;
        list.At(i)->GetData(&count);
        const wchar_t* name = list.At(i)->GetName();
        EXPECT_TRUE(name != nullptr);
    }
    return r;
}

TEST(VarFileTest, ReaderSurvivesDamagedImages)
{
    t_heap heap(0x1000);
    t_fileList list;
    AddFile(list, heap, L"Skin.ini", "[General]\r\nName=x\r\n");
    AddFile(list, heap, L"bk.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    AddFile(list, heap, L"", "");
    AddFile(list, heap, L"候选.bmp", "BM");
    const t_bytes image = Write(list);
    t_guardedBytes guard;
    ASSERT_NE(nullptr, guard.Place(image.data(), image.size()));

    ASSERT_EQ(static_cast<int>(image.size()), ReadGuarded(guard, image, image.size()));
    // Every truncation: the declared total no longer fits.
    for (size_t n = 0; n < image.size(); ++n)
        EXPECT_EQ(-1, ReadGuarded(guard, image, n)) << n;
    // Truncations with the total rewritten to match: the damage is inside.
    for (size_t n = 4; n < image.size(); ++n) {
        t_bytes cut(image.begin(), image.begin() + n);
        VarWriteU32(cut.data(), static_cast<uint32_t>(n));
        ReadGuarded(guard, cut, n);
    }
    // Random byte changes, including huge lengths and offsets.
    std::mt19937 rng(1234);
    for (int round = 0; round < 3000; ++round) {
        t_bytes bad = image;
        int changes = 1 + rng() % 4;
        for (int k = 0; k < changes; ++k) {
            size_t at = rng() % bad.size();
            switch (rng() % 3) {
            case 0:
                bad[at] = static_cast<unsigned char>(rng());
                break;
            case 1:
                bad[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
                break;
            default:
                if (at + 4 <= bad.size())
                    VarWriteU32(&bad[at], rng() % 2 ? 0xfffffff0u + rng() % 16 : rng() % 200);
            }
        }
        ReadGuarded(guard, bad, bad.size());
    }
    // Pure noise with a plausible total.
    for (int round = 0; round < 500; ++round) {
        t_bytes noise(4 + rng() % 120);
        for (auto& b : noise)
            b = static_cast<unsigned char>(rng());
        VarWriteU32(noise.data(), static_cast<uint32_t>(rng() % (noise.size() + 1)));
        ReadGuarded(guard, noise, noise.size());
    }
}

}  // namespace
