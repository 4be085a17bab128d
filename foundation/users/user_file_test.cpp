#include "foundation/users/user_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/crypto/aes.h"
#include "tests/support/temp_folder.h"

namespace {

const unsigned char c_key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const unsigned char c_otherKey[16] = {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

// Raw payloads written under a key, with or without the digest block.
class t_rawFile : public UserFile {
public:
    explicit t_rawFile(const std::wstring& path, bool digest = true, const unsigned char* key = c_key)
        : UserFile(digest)
    {
        SetPath(path.c_str());
        SetKey(key);
    }
    bool Write(const std::string& payload)
    {
        t_errorChain errors;
        return SetPayload(payload.data(), uint32_t(payload.size())) && Save(errors, false);
    }
    std::string Payload() const
    {
        uint32_t n = 0;
        const unsigned char* p = GetPayload(&n);
        return std::string(reinterpret_cast<const char*>(p), n);
    }
};

// Parses payloads in memory.
template <class T>
class t_parser : public T {
public:
    bool Parse(const std::string& payload)
    {
        this->SetPayload(payload.data(), uint32_t(payload.size()));
        return this->ParsePayload();
    }
    std::string Build()
    {
        EXPECT_TRUE(this->BuildPayload());
        uint32_t n = 0;
        const unsigned char* p = this->GetPayload(&n);
        return std::string(reinterpret_cast<const char*>(p), n);
    }
};

std::string U32(uint32_t v)
{
    std::string s(4, '\0');
    VarWriteU32(reinterpret_cast<unsigned char*>(&s[0]), v);
    return s;
}

// Points a file object at path under the test key.
void Bind(UserFile& file, const std::wstring& path)
{
    file.SetPath(path.c_str());
    file.SetKey(c_key);
}

// The deciphered header block of a container.
std::string Header(const std::string& file, const unsigned char* key = c_key)
{
    t_aesSchedule schedule;
    AesSetDecryptKey(128, key, &schedule);
    unsigned char iv[16], out[16];
    memcpy(iv, file.data(), 16);
    AesCbc(reinterpret_cast<const unsigned char*>(file.data() + 16), out, 16, &schedule, iv, c_aesDecrypt);
    return std::string(reinterpret_cast<const char*>(out), 16);
}

}  // namespace

TEST(UserFile, ContainerSizesAndHeader)
{
    t_tempFolder folder(L"userfile_sizes");
    struct {
        uint32_t n;
        size_t size;
        char lengthByte;
    } cases[] = {{0, 48, 0}, {1, 64, 1}, {15, 64, 15}, {16, 64, 0}, {17, 80, 1}, {100, 160, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const std::wstring path = folder / L"f.dat";
        std::string payload;
        for (uint32_t i = 0; i < c.n; ++i)
            payload += char('a' + i % 26);
        t_rawFile writer(path);
        ASSERT_TRUE(writer.Write(payload));
        const std::string file = ReadRaw(path);
        EXPECT_EQ(c.size, file.size());
        EXPECT_EQ(std::string("User") + c.lengthByte + '\1' + std::string(10, '\0'), Header(file));

        t_rawFile reader(path);
        t_errorChain errors;
        ASSERT_TRUE(reader.Load(errors, true)) << Lines(errors);
        EXPECT_EQ(payload, reader.Payload());
    }
    // Without the digest block the file is 16 bytes shorter.
    t_rawFile plain(folder / L"p.dat", false);
    ASSERT_TRUE(plain.Write("seventeen bytes!!"));
    EXPECT_EQ(64u, ReadRaw(folder / L"p.dat").size());
}

TEST(UserFile, FreshIvEachSave)
{
    t_tempFolder folder(L"userfile_iv");
    t_rawFile a(folder / L"a.dat"), b(folder / L"b.dat");
    ASSERT_TRUE(a.Write("same payload"));
    ASSERT_TRUE(b.Write("same payload"));
    EXPECT_NE(ReadRaw(folder / L"a.dat"), ReadRaw(folder / L"b.dat"));
    for (const wchar_t* name : {L"a.dat", L"b.dat"}) {
        t_rawFile reader(folder / name);
        t_errorChain errors;
        ASSERT_TRUE(reader.Load(errors, false));
        EXPECT_EQ("same payload", reader.Payload());
    }
}

TEST(UserFile, DamagedFilesAreRefusedInWords)
{
    t_tempFolder folder(L"userfile_bad");
    const std::wstring source = folder / L"good.dat";
    ASSERT_TRUE(t_rawFile(source).Write(std::string(40, 'p')));
    const std::string good = ReadRaw(source);
    std::string flipped = good;
    flipped[good.size() - 20] ^= 1;  // a payload byte
    std::string header = good;
    header[20] ^= 1;

    const std::wstring path = folder / L"bad.dat";
    struct {
        const char* what;
        std::string bytes;
        bool digest;
        const unsigned char* key;
        std::wstring line;
    } cases[] = {
        {"32 bytes", good.substr(0, 32), true, c_key, L"UserFile::Load 文件格式错误:" + path},
        {"40 bytes", good.substr(0, 40), true, c_key, L"UserFile::Load 数据格式错误:读取长度失败"},
        {"ragged", good.substr(0, 70), true, c_key, L"UserFile::Load 数据格式错误:文件内容损坏"},
        {"other key", good, true, c_otherKey, L"UserFile::Load 数据格式错误:文件内容损坏"},
        {"payload byte", flipped, true, c_key, L"UserFile::Load 数据格式错误:文件内容损坏"},
        {"header byte", header, true, c_key, L"UserFile::Load 数据格式错误:文件内容损坏"},
        {"digest setting", good, false, c_key, L"UserFile::Load 数据格式错误:文件内容损坏"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteRaw(path, c.bytes));
        t_rawFile reader(path, c.digest, c.key);
        t_errorChain errors;
        EXPECT_FALSE(reader.Load(errors, false));
        EXPECT_EQ(c.line, Lines(errors));
        EXPECT_TRUE(reader.WasDamaged());
        EXPECT_EQ("", reader.Payload());
    }
    t_rawFile missing(folder / L"missing.dat");
    t_errorChain errors;
    EXPECT_FALSE(missing.Load(errors, false));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"UserFile::Load 打开文件失败:" + folder / L"missing.dat"));
    EXPECT_TRUE(missing.WasDamaged());
}

TEST(UserFile, FileHeldByAnotherProgramIsNotCalledDamaged)
{
    t_tempFolder folder(L"userfile_held");
    const std::wstring path = folder / L"held.dat";
    ASSERT_TRUE(t_rawFile(path).Write("sound content"));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    t_rawFile reader(path);
    t_errorChain errors;
    EXPECT_FALSE(reader.Load(errors, false));
    EXPECT_FALSE(reader.WasDamaged());
    CloseHandle(held);
    EXPECT_TRUE(reader.Load(errors, false));
}

TEST(UserFile, AccountsRoundTrip)
{
    t_tempFolder folder(L"userfile_acc");
    const std::wstring path = folder / L"acc.dat";
    const unsigned char key7[16] = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    {
        UserAccFile acc;
        Bind(acc, path);
        acc.SetCurrentUserId(0x2a);
        ASSERT_TRUE(acc.AddAccount(0x2a, key7, L"用户甲", L"note"));
        ASSERT_TRUE(acc.AddAccount(9, c_otherKey, L"b", nullptr));
        EXPECT_FALSE(acc.AddAccount(9, c_key, L"dup", nullptr));
        t_errorChain errors;
        ASSERT_TRUE(acc.Save(errors, true)) << Lines(errors);
    }
    UserAccFile acc;
    Bind(acc, path);
    t_errorChain errors;
    ASSERT_TRUE(acc.Load(errors, true)) << Lines(errors);
    EXPECT_EQ(0x2a, acc.GetCurrentUserId());
    ASSERT_EQ(2, acc.Count());
    VarUserAcc account;
    ASSERT_TRUE(acc.GetAccount(acc.FindUser(0x2a), account));
    EXPECT_EQ(0, memcmp(key7, account.key.Data(), 16));
    EXPECT_STREQ(L"用户甲", account.name.Text());
    EXPECT_STREQ(L"note", account.text.Text());
    EXPECT_EQ(-1, acc.FindUser(3));
    EXPECT_TRUE(acc.RemoveAt(0));
    EXPECT_EQ(-1, acc.FindUser(0x2a));
    EXPECT_EQ(0, acc.FindUser(9));
}

TEST(UserFile, AccountsPayloadChecks)
{
    t_parser<UserAccFile> acc;
    acc.SetCurrentUserId(5);
    const std::string good = acc.Build();
    EXPECT_EQ("Uacc" + U32(1) + U32(0) + U32(5) + U32(0), good);  // empty list
    struct {
        const char* what;
        std::string payload;
        bool ok;
    } cases[] = {
        {"good", good, true},
        {"format ignored", "Uacc" + U32(9) + good.substr(8), true},
        {"short", "Uacc", false},
        {"magic", "Udat" + good.substr(4), false},
        {"no list", good.substr(0, 16), false},
        {"list past end", good.substr(0, 16) + U32(100), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        t_parser<UserAccFile> parser;
        EXPECT_EQ(c.ok, parser.Parse(c.payload));
        if (!c.ok) {
            EXPECT_EQ(0, parser.Count());
        }
    }
}

TEST(UserFile, UserDataRoundTripsInFormatTwo)
{
    t_tempFolder folder(L"userfile_data");
    const std::wstring path = folder / L"user.dat";
    const unsigned char block[16] = {0xa0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0xaf};
    {
        UserDataFile data;
        Bind(data, path);
        data.SetBool(0, true);
        data.SetBool(1, false);
        ASSERT_TRUE(data.SetBytes(2, block, 16));
        ASSERT_TRUE(data.SetBytes(3, reinterpret_cast<const unsigned char*>("abc"), 3));
        ASSERT_TRUE(data.SetBytes(13, reinterpret_cast<const unsigned char*>("xy"), 2));
        for (int i : {5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16})
            data.SetInt(i, i * 1000 - 7000);
        t_errorChain errors;
        ASSERT_TRUE(data.Save(errors, false)) << Lines(errors);
    }
    UserDataFile data;
    Bind(data, path);
    t_errorChain errors;
    ASSERT_TRUE(data.Load(errors, false)) << Lines(errors);
    EXPECT_TRUE(data.GetBool(0));
    EXPECT_FALSE(data.GetBool(1));
    uint32_t n = 0;
    EXPECT_EQ(0, memcmp(block, data.GetBytes(2, &n), 16));
    const unsigned char* bytes = data.GetBytes(3, &n);
    EXPECT_EQ("abc", std::string(reinterpret_cast<const char*>(bytes), n));
    bytes = data.GetBytes(13, &n);
    EXPECT_EQ("xy", std::string(reinterpret_cast<const char*>(bytes), n));
    for (int i : {5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16})
        EXPECT_EQ(i * 1000 - 7000, data.GetInt(i)) << i;
}

TEST(UserFile, UserDataPayloadFormats)
{
    t_parser<UserDataFile> writer;
    writer.SetInt(8, 88);
    writer.SetInt(16, 1616);
    const std::string built = writer.Build();
    ASSERT_EQ("Udat" + U32(2), built.substr(0, 8));
    // Pair table: total, offset table of 17, then 17 pairs {index, offset}.
    const std::string table = built.substr(8);
    const uint32_t pairsStart = 8 + 17 * 4;
    EXPECT_EQ(U32(8), table.substr(pairsStart + 8 * 8, 4));  // pair 8 names value 8

    // A pair with index 20 is ignored; value 8 taken from its offset.
    std::string extra = table;
    VarWriteU32(reinterpret_cast<unsigned char*>(&extra[pairsStart + 8 * 3]), 20);
    t_parser<UserDataFile> ignoring;
    ASSERT_TRUE(ignoring.Parse("Udat" + U32(2) + extra));
    EXPECT_EQ(88, ignoring.GetInt(8));
    EXPECT_EQ(1616, ignoring.GetInt(16));

    // Format 1: values back to back; a short tail stops quietly.
    const std::string v1 =
        std::string("\1\0", 2) + std::string(16, 'k') + U32(2) + "zz" + std::string(16, 'm') + U32(55) + U32(66);
    t_parser<UserDataFile> old;
    ASSERT_TRUE(old.Parse("Udat" + U32(1) + v1 + "\1\2"));
    EXPECT_TRUE(old.GetBool(0));
    EXPECT_EQ(55, old.GetInt(5));
    EXPECT_EQ(66, old.GetInt(6));
    EXPECT_EQ(0, old.GetInt(7));

    struct {
        const char* what;
        std::string payload;
    } refused[] = {
        {"format 3", "Udat" + U32(3) + table},
        {"magic", "Uacc" + U32(2) + table},
        {"short", "Udat"},
        {"table cut", "Udat" + U32(2) + table.substr(0, 40)},
        {"value offset outside", "Udat" + U32(2) +
                                     [&] {
                                         std::string t = table;
                                         VarWriteU32(reinterpret_cast<unsigned char*>(&t[pairsStart + 8 * 5 + 4]),
                                                     0x7ffffff0);
                                         return t;
                                     }()},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        t_parser<UserDataFile> parser;
        EXPECT_FALSE(parser.Parse(c.payload));
    }
}

// A payload that parses builds one that parses back to itself.
template <class T>
void CheckParse(const std::string& payload)
{
    t_parser<T> file;
    if (!file.Parse(payload))
        return;
    const std::string once = file.Build();
    t_parser<T> again;
    ASSERT_TRUE(again.Parse(once));
    EXPECT_EQ(once, again.Build()) << testing::PrintToString(payload);
}

// Loads a damaged payload over records a sound one filled. A failed load leaves the
// records of a load that found no file at all; a successful one builds a payload that
// parses back to itself.
template <class T>
void CheckDamagedLoad(const std::wstring& path, const std::string& damaged, const std::string& sound,
                      const std::string& cleared)
{
    t_rawFile raw(path);
    ASSERT_TRUE(raw.Write(damaged));
    t_parser<T> file;
    ASSERT_TRUE(file.Parse(sound));
    Bind(file, path);
    t_errorChain errors;
    if (!file.Load(errors, false)) {
        EXPECT_FALSE(errors.IsEmpty());
        EXPECT_EQ(cleared, file.Build()) << testing::PrintToString(damaged);
        return;
    }
    CheckParse<T>(file.Build());
}

template <class T>
std::string ClearedPayload(const std::wstring& missingPath)
{
    t_parser<T> file;
    Bind(file, missingPath);
    t_errorChain errors;
    EXPECT_FALSE(file.Load(errors, false));
    return file.Build();
}

TEST(UserFile, ParsersSurviveArbitraryBytes)
{
    t_parser<UserAccFile> accWriter;
    const unsigned char key[16] = {};
    accWriter.SetCurrentUserId(2);
    accWriter.AddAccount(1, key, L"name", L"text");
    accWriter.AddAccount(2, key, L"two", L"");
    const std::string acc = accWriter.Build();
    t_parser<UserDataFile> dataWriter;
    dataWriter.SetBool(0, true);
    dataWriter.SetBytes(3, reinterpret_cast<const unsigned char*>("bytes"), 5);
    dataWriter.SetBytes(4, c_otherKey, 16);
    for (int i = 5; i < UserDataFile::c_valueCount; ++i) {
        if (i != 13)
            dataWriter.SetInt(i, 1000 + i);
    }
    const std::string data = dataWriter.Build();

    t_tempFolder dir(L"userfile_fuzz");
    const std::wstring path = dir / L"damaged.dat";
    const std::string clearedAcc = ClearedPayload<UserAccFile>(dir / L"missing.dat");
    const std::string clearedData = ClearedPayload<UserDataFile>(dir / L"missing.dat");
    ASSERT_NE(acc, clearedAcc);
    ASSERT_NE(data, clearedData);

    srand(99);
    for (int round = 0; round < 4000; ++round) {
        std::string a = acc, d = data;
        for (std::string* s : {&a, &d}) {
            for (int i = 0; i < 1 + rand() % 3; ++i)
                (*s)[4 + size_t(rand()) % (s->size() - 4)] = char(rand());
            if (round % 4 == 0)
                s->resize(size_t(rand()) % s->size());
        }
        // Every round parses in memory; every sixteenth goes through a file load as well,
        // which is slow under the emulator.
        CheckParse<UserAccFile>(a);
        CheckParse<UserDataFile>(d);
        if (round % 16 == 0) {
            CheckDamagedLoad<UserAccFile>(path, a, acc, clearedAcc);
            CheckDamagedLoad<UserDataFile>(path, d, data, clearedData);
        }
        if (HasFailure())
            break;
    }
}
