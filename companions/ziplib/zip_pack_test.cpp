// Packing again through the deflate cache: what is reused must give the archive a fresh
// pack gives, and what changed must be deflated afresh.
#include "companions/ziplib/zip_pack.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "companions/ziplib/deflate_cache.h"
#include "interfaces/ziplib.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"

namespace {

FILETIME Time(uint64_t value)
{
    FILETIME time;
    time.dwLowDateTime = DWORD(value);
    time.dwHighDateTime = DWORD(value >> 32);
    return time;
}

t_packItem FileItem(const std::wstring& path, const std::string& name)
{
    WIN32_FILE_ATTRIBUTE_DATA facts = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts);
    t_packItem item;
    item.path = path;
    item.name = name;
    item.written = facts.ftLastWriteTime;
    item.attributes = facts.dwFileAttributes;
    item.size = facts.nFileSizeLow;
    return item;
}

t_packItem DataItem(const std::string& bytes, const std::string& name)
{
    t_packItem item;
    item.name = name;
    item.inMemory = true;
    item.data = reinterpret_cast<const uint8_t*>(bytes.data());
    item.size = bytes.size();
    item.written = Time(0x01d9000000000000ull);
    item.attributes = FILE_ATTRIBUTE_ARCHIVE;
    return item;
}

// The archive items give, packed with what the cache holds (warm) or without it.
std::string Pack(const std::vector<t_packItem>& items, const std::wstring& target, int level, bool warm)
{
    if (!warm)
        t_deflateCache::Global().Clear();
    t_packFailure failure;
    EXPECT_EQ(ZIPLIB_OK, PackItems(items, target, level, failure));
    return ReadRaw(target);
}

TEST(ZipPackTest, PackingAgainReusesUnchangedEntriesAndGivesTheSameArchive)
{
    t_tempFolder temp(L"zip_pack_cache");
    ASSERT_TRUE(WriteRaw(temp / L"a.png", Noise(300000, 1)));
    ASSERT_TRUE(WriteRaw(temp / L"b.txt", std::string(50000, 'b')));
    std::string text = "[General]\r\nname=one\r\n" + std::string(4000, 'x');
    std::string picture = Noise(120000, 2) + std::string(20000, 'p');
    std::vector<t_packItem> items = {FileItem(temp / L"a.png", "a.png"), FileItem(temp / L"b.txt", "b.txt"),
                                     DataItem(text, "skin.ini"), DataItem(picture, "c.png")};
    const std::wstring archive = temp / L"out.zip";

    const std::string fresh = Pack(items, archive, 6, false);
    EXPECT_EQ(4u, t_deflateCache::Global().Count());
    EXPECT_EQ(fresh, Pack(items, archive, 6, true));

    // The same sizes, other bytes: a changed text, a changed picture in memory and a file
    // written again (a new time) are each deflated afresh; the rest is reused.
    text[12] = 'X';
    picture[70000] ^= 0x55;
    ASSERT_TRUE(WriteRaw(temp / L"b.txt", std::string(50000, 'c')));
    HANDLE file = CreateFileW((temp / L"b.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const FILETIME later = Time(0x01da000000000000ull);
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    items[1] = FileItem(temp / L"b.txt", "b.txt");
    const std::string warm = Pack(items, archive, 6, true);
    // The entries of the earlier bytes are dropped once no pack uses them.
    EXPECT_EQ(4u, t_deflateCache::Global().Count());
    EXPECT_EQ(Pack(items, archive, 6, false), warm);
    t_tempFolder out(L"zip_pack_cache_out");
    ASSERT_EQ(ZIPLIB_OK, UnZip(archive.c_str(), out.Path().c_str()));
    EXPECT_EQ(std::string(50000, 'c'), ReadRaw(out / L"b.txt"));
    EXPECT_EQ(text, ReadRaw(out / L"skin.ini"));
    EXPECT_EQ(picture, ReadRaw(out / L"c.png"));
}

TEST(ZipPackTest, AnotherLevelOrStoredIsNotServedFromTheCache)
{
    t_tempFolder temp(L"zip_pack_level");
    const std::string text = std::string(60000, 'a') + Noise(60000, 3);
    const std::vector<t_packItem> items = {DataItem(text, "skin.ini")};
    const std::wstring archive = temp / L"out.zip";
    Pack(items, archive, 6, false);
    for (int level : {1, 9, 0}) {
        const std::string warm = Pack(items, archive, level, true);
        EXPECT_EQ(Pack(items, archive, level, false), warm) << level;
        Pack(items, archive, 6, false);
    }
}

// Lists small and large enough for workers, each packed twice: the archive is the same
// whether the entries were deflated on workers, on the calling thread or taken from the cache.
TEST(ZipPackTest, SmallAndLargeListsGiveTheSameArchiveColdAndWarm)
{
    t_tempFolder temp(L"zip_pack_sizes");
    for (size_t count : {size_t(3), size_t(40)}) {
        std::vector<std::string> bytes;
        for (size_t i = 0; i < count; ++i)
            bytes.push_back(Noise(20000 + i * 1000, unsigned(i)) + std::string(5000, char('a' + i % 26)));
        std::vector<t_packItem> items;
        for (size_t i = 0; i < count; ++i)
            items.push_back(DataItem(bytes[i], "p" + std::to_string(i) + ".png"));
        const std::wstring archive = temp / L"out.zip";
        const std::string fresh = Pack(items, archive, 6, false);
        EXPECT_EQ(fresh, Pack(items, archive, 6, true)) << count;
        t_tempFolder out(L"zip_pack_sizes_out");
        ASSERT_EQ(ZIPLIB_OK, UnZip(archive.c_str(), out.Path().c_str()));
        for (size_t i = 0; i < count; ++i)
            EXPECT_EQ(bytes[i], ReadRaw(out / (L"p" + std::to_wstring(i) + L".png"))) << count << " " << i;
    }
}

}  // namespace
