#include "foundation/records/skin_pack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

typedef std::map<std::wstring, std::string> t_files;

std::string Bytes(const t_varFile* entry)
{
    uint32_t count = 0;
    const unsigned char* data = entry->GetData(&count);
    return std::string(reinterpret_cast<const char*>(data), count);
}

t_files Entries(const t_skinPack& pack)
{
    t_files out;
    for (int i = 0; i < pack.Count(); ++i)
        out[pack.At(i)->GetName()] = Bytes(pack.At(i));
    return out;
}

void Add(t_skinPack& pack, const wchar_t* name, const std::string& bytes)
{
    t_varFile entry;
    entry.SetName(name, nullptr);
    entry.SetData(reinterpret_cast<const unsigned char*>(bytes.data()), uint32_t(bytes.size()), nullptr);
    ASSERT_TRUE(pack.AddFile(entry));
}

std::string Image(t_skinPack& pack)
{
    std::string out(size_t(pack.Serialize(nullptr)), '\0');
    EXPECT_EQ(int(out.size()), pack.Serialize(reinterpret_cast<unsigned char*>(&out[0])));
    return out;
}

std::string Header(uint32_t format)
{
    std::string h("Skin");
    for (int i = 0; i < 4; ++i)
        h += char((format >> (8 * i)) & 0xff);
    return h;
}

const t_files& SampleFiles()
{
    static const t_files files = {
        {L"Skin.ini", std::string("[General]\r\nName=sample\r\n", 24)},
        {L"图片.bmp", std::string(3000, '\x7f') + std::string("\0\1\2\3", 4)},
        {L"empty.png", std::string()},
    };
    return files;
}

void WriteFolder(const t_tempFolder& folder, const t_files& files)
{
    for (const auto& f : files)
        ASSERT_TRUE(WriteRaw(folder / f.first, f.second));
}

}  // namespace

TEST(SkinPack, FolderRoundTripsThroughBothFormats)
{
    t_tempFolder folder(L"skinpack_src");
    WriteFolder(folder, SampleFiles());
    CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    ASSERT_TRUE(WriteRaw(folder / L"sub\\inner.bmp", "ignored"));
    t_tempFolder out(L"skinpack_out");

    struct {
        bool pack;
        uint32_t format;
    } cases[] = {{false, 1}, {true, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        t_skinPack pack;
        ASSERT_TRUE(pack.AddFolder(folder.Path().c_str()));
        EXPECT_EQ(SampleFiles(), Entries(pack));  // the sub-folder is not entered

        t_errorChain errors;
        const std::wstring file = out / (L"skin" + std::to_wstring(c.format) + L".vsf");
        ASSERT_TRUE(pack.Export(errors, file.c_str(), c.pack));
        const std::string written = ReadRaw(file);
        EXPECT_EQ(Header(c.format), written.substr(0, 8));
        if (c.pack) {
            EXPECT_EQ(0u, (written.size() - 8) % 16);
            // No random block: the same pack enciphers to the same bytes.
            const std::wstring again = out / L"again.vsf";
            ASSERT_TRUE(pack.Export(errors, again.c_str(), true));
            EXPECT_EQ(written, ReadRaw(again));
        } else {
            EXPECT_EQ(Image(pack), written);
        }

        t_skinPack back;
        ASSERT_TRUE(back.Import(errors, file.c_str())) << Lines(errors);
        EXPECT_EQ(c.format, back.GetVersion());
        EXPECT_EQ(SampleFiles(), Entries(back));
    }
}

TEST(SkinPack, EmptyPackIsTwelveBytes)
{
    t_skinPack pack;
    t_tempFolder out(L"skinpack_empty");
    t_errorChain errors;
    ASSERT_TRUE(pack.Export(errors, (out / L"e.vsf").c_str(), false));
    EXPECT_EQ(Header(1) + std::string(4, '\0'), ReadRaw(out / L"e.vsf"));
    // A pack that was never filled has nothing to extract.
    EXPECT_FALSE(pack.ExtractTo(errors, out.Path().c_str()));
    // An empty list survives packing too.
    ASSERT_TRUE(pack.Export(errors, (out / L"e3.vsf").c_str(), true));
    t_skinPack back;
    ASSERT_TRUE(back.Import(errors, (out / L"e3.vsf").c_str()));
    EXPECT_EQ(0, back.Count());
}

TEST(SkinPack, RefusedFilesLeaveThePackEmpty)
{
    t_skinPack good;
    for (const auto& f : SampleFiles())
        Add(good, f.first.c_str(), f.second);
    const std::string body = Image(good).substr(8);

    struct {
        const char* what;
        std::string bytes;
        uint32_t version;  // the version field afterwards
    } cases[] = {
        {"format 0", Header(0) + body, 0},
        {"format 2", Header(2) + body, 2},
        {"format 4", Header(4) + body, 4},
        {"format 7", Header(7) + body, 7},
        {"plain body labelled 3", Header(3) + body, 3},
        {"short", std::string("Skin\1\0\0", 7), 1},
        {"empty", std::string(), 1},
        {"other magic", "Skip" + Header(1).substr(4) + body, 1},
        {"truncated list", Header(1) + body.substr(0, body.size() - 3), 1},
        {"one cipher block", Header(3) + std::string(16, 'x'), 3},
        {"ragged cipher body", Header(3) + std::string(33, 'x'), 3},
    };
    t_tempFolder folder(L"skinpack_bad");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = folder / L"bad.vsf";
        ASSERT_TRUE(WriteRaw(path, c.bytes));
        t_skinPack pack;
        Add(pack, L"old.txt", "previous content");
        t_errorChain errors;
        EXPECT_FALSE(pack.Import(errors, path.c_str()));
        EXPECT_EQ(0, pack.Count());
        EXPECT_EQ(c.version, pack.GetVersion());
        EXPECT_EQ(L"皮肤打包文件导入失败", Lines(errors).substr(Lines(errors).rfind(L'|') + 1));
    }
    t_skinPack pack;
    t_errorChain errors;
    EXPECT_FALSE(pack.Import(errors, (folder / L"missing.vsf").c_str()));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"皮肤打包文件导入失败"));
}

TEST(SkinPack, PackedBodyWithLyingLengthIsRefused)
{
    t_skinPack good;
    Add(good, L"a.bmp", std::string(500, 'a'));
    std::string image = Image(good);
    t_byteBuffer packed;
    uint32_t length = uint32_t(image.size());
    ASSERT_TRUE(good.Pack(&length, packed, reinterpret_cast<const unsigned char*>(image.data())));
    std::string valid(reinterpret_cast<const char*>(packed.Data()), length);

    // Re-encipher the plaintext with another declared length.
    const t_blockCipher& cipher = t_skinFileCipher::Instance()->Cipher();
    std::vector<unsigned char> plain(valid.size());
    unsigned int plainLength = 0;
    ASSERT_TRUE(cipher.Decrypt(uint32_t(valid.size() - 8), &plainLength,
                               reinterpret_cast<const unsigned char*>(valid.data() + 8), plain.data()));
    for (uint32_t declared :
         {0x7ffffff0u, 0xffffffffu, uint32_t(image.size() - 8 + 1), uint32_t(image.size() - 8 - 1)}) {
        SCOPED_TRACE(declared);
        VarWriteU32(plain.data(), declared);
        std::vector<unsigned char> body(plainLength + 32);
        unsigned int bodyLength = 0;
        ASSERT_TRUE(cipher.Encrypt(&bodyLength, plainLength, body.data(), plain.data()));
        std::string file = Header(3) + std::string(reinterpret_cast<const char*>(body.data()), bodyLength);
        t_skinPack pack;
        EXPECT_EQ(-1, pack.Deserialize(reinterpret_cast<const unsigned char*>(file.data()), uint32_t(file.size())));
        EXPECT_EQ(0, pack.Count());
    }
}

TEST(SkinPack, SurvivesDamagedImages)
{
    t_skinPack good;
    for (const auto& f : SampleFiles())
        Add(good, f.first.c_str(), f.second);
    const std::string plain = Image(good);
    t_byteBuffer packed;
    uint32_t length = uint32_t(plain.size());
    ASSERT_TRUE(good.Pack(&length, packed, reinterpret_cast<const unsigned char*>(plain.data())));
    const std::string cipher(reinterpret_cast<const char*>(packed.Data()), length);

    srand(1234);
    for (const std::string* source : {&plain, &cipher}) {
        for (int round = 0; round < 3000; ++round) {
            std::string bytes = *source;
            const int flips = 1 + rand() % 4;
            for (int i = 0; i < flips; ++i)
                bytes[8 + size_t(rand()) % (bytes.size() - 8)] = char(rand());
            if (round % 5 == 0)
                bytes.resize(size_t(rand()) % bytes.size());
            t_skinPack pack;
            int read = pack.Deserialize(reinterpret_cast<const unsigned char*>(bytes.data()), uint32_t(bytes.size()));
            if (read < 0)
                ASSERT_EQ(0, pack.Count());
            else
                ASSERT_LE(uint32_t(read), std::max<size_t>(bytes.size(), 1u << 20));
        }
    }
}

TEST(SkinPack, NamesAreUniqueWithoutRegardToCase)
{
    t_skinPack pack;
    Add(pack, L"Skin.ini", "first");
    t_varFile twin;
    twin.SetName(L"SKIN.INI", nullptr);
    EXPECT_FALSE(pack.AddFile(twin));
    Add(pack, L"b.bmp", "b");
    Add(pack, L"c.bmp", "c");
    EXPECT_EQ(3, pack.Count());

    t_varFile* found = nullptr;
    ASSERT_TRUE(pack.Find(L"skin.INI", &found));
    EXPECT_EQ("first", Bytes(found));
    EXPECT_FALSE(pack.Find(L"none", &found));
    EXPECT_EQ(nullptr, found);

    EXPECT_TRUE(pack.Remove(L"B.BMP"));
    EXPECT_FALSE(pack.Remove(L"b.bmp"));
    ASSERT_EQ(2, pack.Count());
    EXPECT_STREQ(L"c.bmp", pack.At(1)->GetName());
}

TEST(SkinPack, PlainNamesAreNamesWindowsCanCreate)
{
    for (const wchar_t* name : {L"a.png", L"背景 1.png", L"x", L"a b.c.bmp", L"dot.in.middle.gif", L"CONSOLE.png",
                                L"com10.png", L"lpt.png"}) {
        EXPECT_TRUE(t_skinPack::IsPlainName(name)) << std::string(name, name + wcslen(name));
        t_tempFolder folder(L"skinpack_plain");
        t_skinPack pack;
        Add(pack, name, "x");
        t_errorChain errors;
        EXPECT_TRUE(pack.ExtractTo(errors, folder.Path().c_str()));
        EXPECT_EQ("x", ReadRaw(folder / name));
    }
    EXPECT_FALSE(t_skinPack::IsPlainName(std::wstring(256, L'n').c_str()));
    EXPECT_TRUE(t_skinPack::IsPlainName(std::wstring(255, L'n').c_str()));
}

TEST(SkinPack, EntryNamesCannotLeaveTheFolder)
{
    // Each name alone beside a plain one: the plain entry is still written, the hostile
    // one is refused, and nothing appears anywhere but the plain file in the folder.
    const wchar_t* const hostile[] = {
        L"..\\escaped.txt",
        L"sub/escaped.txt",
        L"C:escaped.txt",
        L"..",
        L"\\\\host\\escaped.txt",
        // A leading dot would be appended to the folder text: skin.dat beside the folder.
        L".dat",
        // Device names open the device wherever the folder is.
        L"CON",
        L"nul.txt",
        L"COM1",
        L"lpt2.bmp",
        L"AUX .ini",
        L"CONOUT$",
        // Names Windows cannot create at all.
        L"a<b.png",
        L"a>b.png",
        L"a|b.png",
        L"a*b.png",
        L"a?b.png",
        L"a\"b.png",
        L"tab\tname.png",
        L"trailing.",
        L"trailing ",
    };
    t_tempFolder root(L"skinpack_names");
    const std::wstring target = root / L"skin";
    for (const wchar_t* name : hostile) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        DeleteFileW((target + L"\\kept.txt").c_str());
        CreateDirectoryW(target.c_str(), nullptr);
        t_skinPack pack;
        Add(pack, name, "x");
        Add(pack, L"kept.txt", "kept");
        EXPECT_FALSE(t_skinPack::IsPlainName(name));
        t_errorChain errors;
        EXPECT_FALSE(pack.ExtractTo(errors, target.c_str()));
        // One line naming the entry.
        const std::vector<std::wstring> lines = ErrorLines(errors);
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(0u, lines[0].find(L"皮肤文件名无效("));
        EXPECT_EQ(lines[0].size() - wcslen(name), lines[0].rfind(name));
        EXPECT_EQ("kept", ReadRaw(target + L"\\kept.txt"));  // the others are still written
        EXPECT_EQ(std::vector<std::wstring>{L"skin"}, NamesIn(root.Path()));
        EXPECT_EQ(std::vector<std::wstring>{L"kept.txt"}, NamesIn(target));
    }
}

TEST(SkinPack, ReadsContainerWrittenByAnotherWriter)
{
    // Written by the independent writer of the peer check (Python zlib and AES).
    const std::wstring fixture = std::wstring(KAVREL_SOURCE_DIR) + L"\\foundation\\records\\testdata\\skin_pack_v3.vsf";
    t_skinPack pack;
    t_errorChain errors;
    ASSERT_TRUE(pack.Import(errors, fixture.c_str())) << Lines(errors);
    EXPECT_EQ(3u, pack.GetVersion());
    std::string pattern;
    for (int i = 0; i < 4 * 256; ++i)
        pattern += char(i & 0xff);
    ASSERT_EQ(3, pack.Count());
    EXPECT_STREQ(L"Skin.ini", pack.At(0)->GetName());
    EXPECT_EQ("[General]\r\nName=fixture\r\n", Bytes(pack.At(0)));
    EXPECT_STREQ(L"图片.bmp", pack.At(1)->GetName());
    EXPECT_EQ(pattern, Bytes(pack.At(1)));
    EXPECT_STREQ(L"empty.txt", pack.At(2)->GetName());
    EXPECT_EQ("", Bytes(pack.At(2)));

    // The other writer's list image is byte for byte the one we write.
    const std::string file = ReadRaw(fixture);
    t_byteBuffer buffer;
    uint32_t length = uint32_t(file.size());
    t_skinPack scratch;
    const unsigned char* image = scratch.Unpack(&length, buffer, reinterpret_cast<const unsigned char*>(file.data()));
    ASSERT_NE(nullptr, image);
    t_skinPack ours;
    Add(ours, L"Skin.ini", Bytes(pack.At(0)));
    Add(ours, L"图片.bmp", pattern);
    Add(ours, L"empty.txt", "");
    EXPECT_EQ(Image(ours).substr(8), std::string(reinterpret_cast<const char*>(image) + 8, length - 8));
}

TEST(SkinPack, PlainExportOfPackedImportStaysReadable)
{
    // A pack read from a packed file carries version 3; writing it plain must still give
    // a file that reads back (a plain body labelled 3 could not be read).
    t_tempFolder folder(L"skinpack_relabel");
    t_skinPack pack;
    for (const auto& f : SampleFiles())
        Add(pack, f.first.c_str(), f.second);
    t_errorChain errors;
    ASSERT_TRUE(pack.Export(errors, (folder / L"p.vsf").c_str(), true));
    t_skinPack packed;
    ASSERT_TRUE(packed.Import(errors, (folder / L"p.vsf").c_str()));
    ASSERT_EQ(3u, packed.GetVersion());
    ASSERT_TRUE(packed.Export(errors, (folder / L"plain.vsf").c_str(), false));
    EXPECT_EQ(Header(1), ReadRaw(folder / L"plain.vsf").substr(0, 8));
    t_skinPack back;
    ASSERT_TRUE(back.Import(errors, (folder / L"plain.vsf").c_str())) << Lines(errors);
    EXPECT_EQ(1u, back.GetVersion());
    EXPECT_EQ(SampleFiles(), Entries(back));
}

TEST(SkinPack, AddFolderRefusesMissingFolder)
{
    t_skinPack pack;
    Add(pack, L"kept.txt", "kept");
    t_tempFolder folder(L"skinpack_missing");
    EXPECT_FALSE(pack.AddFolder((folder / L"nope").c_str()));
    EXPECT_FALSE(pack.AddFolder((folder.Path() + L"\\..\\" + L"nope").c_str()));
    ASSERT_TRUE(WriteRaw(folder / L"file.txt", "x"));
    EXPECT_FALSE(pack.AddFolder((folder / L"file.txt").c_str()));
    EXPECT_EQ(1, pack.Count());  // unchanged
}

// The header probe reads the magic and the format number without loading the file.
TEST(SkinPack, ProbeHeaderReadsMagicAndFormat)
{
    struct {
        const char* what;
        std::string bytes;
        bool container;
        uint32_t format;
    } cases[] = {
        {"plain", Header(1) + std::string(4, '\0'), true, 1},
        {"packed", Header(3) + std::string(16, 'x'), true, 3},
        {"unknown format", Header(0x01020304), true, 0x01020304},
        {"magic only", "Skin", true, 0},
        {"cut format", std::string("Skin\1\0", 6), true, 0},
        {"zip", std::string("PK\3\4Skin\1\0\0\0", 12), false, 0},
        {"lower case", "skin" + Header(1).substr(4), false, 0},
        {"short", "Ski", false, 0},
        {"empty", std::string(), false, 0},
    };
    t_tempFolder folder(L"skinpack_probe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = folder / L"probe.vsf";
        ASSERT_TRUE(WriteRaw(path, c.bytes));
        uint32_t format = 99;
        EXPECT_EQ(c.container, t_skinPack::ProbeHeader(path.c_str(), &format));
        EXPECT_EQ(c.format, format);
        EXPECT_EQ(c.container, t_skinPack::ProbeHeader(path.c_str(), nullptr));
    }
    uint32_t format = 99;
    EXPECT_FALSE(t_skinPack::ProbeHeader((folder / L"missing.vsf").c_str(), &format));
    EXPECT_EQ(0u, format);
    EXPECT_FALSE(t_skinPack::ProbeHeader(folder.Path().c_str(), &format));
    EXPECT_FALSE(t_skinPack::ProbeHeader(nullptr, &format));
}

namespace {

std::string FreshImage(const std::wstring& folder)
{
    t_skinPack pack;
    EXPECT_TRUE(pack.AddFolder(folder.c_str()));
    return Image(pack);
}

std::string CopyImage(t_skinPackCopy& copy)
{
    const std::vector<uint8_t>& image = copy.Image();
    return std::string(image.begin(), image.end());
}

}  // namespace

// The kept copy gives the image a fresh AddFolder gives, through every kind of change, and
// reads only the files that changed; its file is patched to the same bytes.
TEST(SkinPackCopy, FollowsTheFolderReadingOnlyWhatChanged)
{
    t_tempFolder folder(L"skin_pack_copy");
    for (const auto& file : SampleFiles())
        ASSERT_TRUE(WriteRaw(folder / file.first, file.second));
    ASSERT_TRUE(CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    const std::wstring target = folder.Path() + L".dat";
    t_skinPackCopy copy;
    // Seeded bytes stand in for the files whose size they match: a wrong size is read.
    copy.Seed(L"SKIN.INI", reinterpret_cast<const uint8_t*>("seeded"), 6);
    copy.Seed(L"图片.bmp", reinterpret_cast<const uint8_t*>(SampleFiles().at(L"图片.bmp").data()), 3004);
    ASSERT_TRUE(copy.Update(folder.Path().c_str()));
    EXPECT_EQ(2, copy.LastReads());
    EXPECT_EQ(FreshImage(folder.Path()), CopyImage(copy));

    const std::string given = "given bytes";
    const t_skinPackCopy::t_given givenIni = {L"skin.ini", reinterpret_cast<const uint8_t*>(given.data()),
                                              uint32_t(given.size())};
    struct t_step {
        const char* what;
        std::function<void()> change;
        int reads;
        bool useGiven;
    };
    const t_step steps[] = {
        {"nothing", [] {}, 0, false},
        {"a longer file", [&] { WriteRaw(folder / L"empty.png", "now with bytes"); }, 1, false},
        {"the same size", [&] { WriteRaw(folder / L"empty.png", "now with BYTES"); }, 1, false},
        // A patch with nothing to patch still leaves the whole image in the file.
        {"nothing after a patched write", [] {}, 0, false},
        {"a new file", [&] { WriteRaw(folder / L"new.gif", "new"); }, 1, false},
        {"a deleted file", [&] { DeleteFileW((folder / L"图片.bmp").c_str()); }, 0, false},
        {"given bytes", [] {}, 0, true},
        {"no longer given", [] {}, 1, false},
    };
    for (const t_step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        ASSERT_TRUE(copy.Update(folder.Path().c_str(), step.useGiven ? &givenIni : nullptr, step.useGiven ? 1 : 0));
        EXPECT_EQ(step.reads, copy.LastReads());
        t_skinPack expected;
        ASSERT_TRUE(expected.AddFolder(folder.Path().c_str()));
        if (step.useGiven) {
            // The given bytes take the file's place in listing order.
            t_skinPack rebuilt;
            for (int i = 0; i < copy.Count(); ++i) {
                const t_skinPackCopy::t_entry& entry = copy.At(i);
                const std::string bytes = entry.name.Equals(L"Skin.ini") ? given : ReadRaw(folder / entry.name.c_str());
                Add(rebuilt, entry.name.c_str(), bytes);
            }
            EXPECT_EQ(Image(rebuilt), CopyImage(copy));
        } else {
            EXPECT_EQ(Image(expected), CopyImage(copy));
        }
        t_errorChain errors;
        ASSERT_TRUE(copy.Write(errors, target.c_str())) << Lines(errors);
        EXPECT_EQ(CopyImage(copy), ReadRaw(target));
    }

    // A file changed behind the copy's back is written whole again.
    ASSERT_TRUE(WriteRaw(target, "someone else's bytes"));
    t_errorChain errors;
    ASSERT_TRUE(copy.Write(errors, target.c_str())) << Lines(errors);
    EXPECT_EQ(CopyImage(copy), ReadRaw(target));
    // An empty folder gives the 12-byte image; a missing one changes nothing.
    EXPECT_FALSE(copy.Update((folder / L"missing").c_str()));
    EXPECT_EQ(FreshImage(folder.Path()), CopyImage(copy));
    ASSERT_TRUE(copy.Update((folder / L"sub").c_str()));
    EXPECT_EQ(Header(1) + std::string(4, '\0'), CopyImage(copy));
}
