#include "foundation/config/config_file.h"
#include "foundation/config/config_runtime_file.h"

#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace n_config;

class t_mainSection : public t_section {
public:
    explicit t_mainSection(t_heap* arena)
        : t_section(L"Main", arena), width(L"Width", 5), on(L"On", true), title(L"Title", L"无", arena)
    {}
    void RegisterMembers() override
    {
        AddMember(width);
        AddMember(on);
        AddMember(title);
        t_section::RegisterMembers();
    }
    t_int width;
    t_bool on;
    n_config::t_str title;
};

class t_extraSection : public t_section {
public:
    explicit t_extraSection(t_heap* arena) : t_section(L"Extra", arena), n(L"n", 7) {}
    void RegisterMembers() override
    {
        AddMember(n);
        t_section::RegisterMembers();
    }
    t_int n;
};

class t_testConfig : public t_configFile {
public:
    t_testConfig() : t_configFile(false), main(&TextArena()), extra(&TextArena()) { Init(); }
    void Init() override
    {
        AddMember(main);
        AddMember(extra);
    }
    t_mainSection main;
    t_extraSection extra;
};

TEST(ConfigFile, SaveKeepsWhatTheClassesDoNotKnow)
{
    t_tempFolder dir(L"config_keep");
    const std::wstring path = WriteUtf16File(dir, L"a.ini",
                                             L";head\r\n[Main]\r\n;why\r\nTitle=栖鹭\r\nHand=made\r\nWidth=12abc\r\n"
                                             L"[Unknown]\r\nx=1\r\n");
    ASSERT_FALSE(path.empty());
    t_testConfig config;
    ASSERT_TRUE(config.Load(path.c_str()));  // "Extra" is missing: still a successful load
    EXPECT_STREQ(L"栖鹭", config.main.title.Get());
    EXPECT_EQ(5, config.main.width.Get());  // malformed: the default
    EXPECT_FALSE(config.main.width.IsSet());
    EXPECT_TRUE(config.main.on.Value());
    EXPECT_EQ(7, config.extra.n.Get());

    config.extra.n.Set(-3);
    ASSERT_TRUE(config.Save((dir / L"b.ini").c_str()));
    // Known keys stay in place, new keys go to the end of their section, a new
    // section to the end of the file.
    EXPECT_EQ(Utf16File(L";head\r\n\r\n[Main]\r\n;why\r\nTitle=栖鹭\r\nHand=made\r\nWidth=5\r\nOn=1\r\n\r\n"
                        L"[Unknown]\r\nx=1\r\n\r\n[Extra]\r\nn=-3\r\n"),
              ReadRaw(dir / L"b.ini"));
}

TEST(ConfigFile, LoadResetsAndAFailedLoadKeepsDefaults)
{
    t_tempFolder dir(L"config_reset");
    const std::wstring path = WriteUtf16File(dir, L"a.ini", L"[Main]\r\nWidth=40\r\nOn=0\r\n");
    ASSERT_FALSE(path.empty());
    t_testConfig config;
    ASSERT_TRUE(config.Load(path.c_str()));
    EXPECT_EQ(40, config.main.width.Get());
    EXPECT_FALSE(config.main.on.Value());

    EXPECT_FALSE(config.Load((dir / L"missing.ini").c_str()));
    EXPECT_EQ(5, config.main.width.Get());
    EXPECT_TRUE(config.main.on.Value());
    EXPECT_FALSE(config.main.width.IsSet());

    // Saving after a failed load writes the defaults alone.
    ASSERT_TRUE(config.Save(path.c_str()));
    EXPECT_EQ(Utf16File(L"[Main]\r\nWidth=5\r\nOn=1\r\nTitle=无\r\n\r\n[Extra]\r\nn=7\r\n"), ReadRaw(path));
    EXPECT_FALSE(config.Save((dir / L"no\\such\\folder.ini").c_str()));
}

TEST(ConfigFile, ArraySectionsLoadTheCountAndSaveOnlyItemsWithValues)
{
    t_tempFolder dir(L"config_array");
    const std::wstring path = WriteUtf16File(dir, L"runtime.ini",
                                             L"[setting]\r\ncnt=3\r\n[item0]\r\nprocess=a.exe\r\ntype=1\r\n"
                                             L"[item2]\r\nprocess=c.exe\r\ncompany=栖鹭\r\nres=0101\r\n");
    ASSERT_FALSE(path.empty());
    t_configRuntimeFile runtime(false);
    ASSERT_TRUE(runtime.Load(path.c_str()));
    ASSERT_EQ(3, runtime.item.ItemCount());
    EXPECT_STREQ(L"a.exe", runtime.item.Item(0)->process.Get());
    EXPECT_EQ(1, runtime.item.Item(0)->type.Get());
    EXPECT_STREQ(L"", runtime.item.Item(1)->process.Get());
    EXPECT_FALSE(runtime.item.Item(1)->HasAnySet());
    EXPECT_STREQ(L"栖鹭", runtime.item.Item(2)->company.Get());
    EXPECT_STREQ(L"0101", runtime.item.Item(2)->res.Get());

    const std::wstring out = dir / L"out.ini";
    ASSERT_TRUE(runtime.Save(out.c_str()));
    t_iniDocument doc(false);
    t_errorChain errors;
    ASSERT_TRUE(doc.ReadConfig(errors, out.c_str(), 936));
    EXPECT_EQ(nullptr, doc.Root()->FindSection(L"item1"));
    EXPECT_STREQ(L"0", doc.GetValue(L"item2", L"type"));  // a saved item writes every value
    EXPECT_STREQ(L"3", doc.GetValue(L"setting", L"cnt"));

    t_configRuntimeFile again(false);
    ASSERT_TRUE(again.Load(out.c_str()));
    ASSERT_EQ(3, again.item.ItemCount());
    EXPECT_STREQ(L"c.exe", again.item.Item(2)->process.Get());
}

TEST(ConfigFile, ArrayItemCountFromTheFileIsBounded)
{
    t_tempFolder dir(L"config_count");
    struct {
        const wchar_t* count;
        int items;
    } const cases[] = {
        {L"2147483647", t_arraySectionBase::c_maxItems},
        {L"0x7fffffff", t_arraySectionBase::c_maxItems},
        {L"1025", t_arraySectionBase::c_maxItems},
        {L"1024", t_arraySectionBase::c_maxItems},
        {L"-5", 0},
        {L"0xFFFFFFFF", 0},
        {L"2", 2},
    };
    for (const auto& c : cases) {
        const std::wstring path = WriteUtf16File(
            dir, L"runtime.ini", std::wstring(L"[setting]\r\ncnt=") + c.count + L"\r\n[item1]\r\nprocess=b.exe\r\n");
        ASSERT_FALSE(path.empty());
        t_configRuntimeFile runtime(false);
        ASSERT_TRUE(runtime.Load(path.c_str()));
        EXPECT_EQ(c.items, runtime.item.ItemCount()) << c.count;
        if (c.items > 1) {
            EXPECT_STREQ(L"b.exe", runtime.item.Item(1)->process.Get());
        }
    }
}

// Values render one after another into scratch chunks of 0x1fffc characters: a
// value that does not fit the rest of a chunk takes a fresh one, and a value
// larger than a chunk is skipped while the file is still written.
TEST(ConfigFile, LongValuesTakeFreshChunksAndUnrenderableOnesAreSkipped)
{
    t_tempFolder dir(L"config_chunks");
    const std::wstring process(0x10000, L'p');
    const std::wstring company(0x10000, L'c');
    const std::wstring path = WriteUtf16File(dir, L"runtime.ini",
                                             L"[setting]\r\ncnt=1\r\n[item0]\r\nprocess=" + process + L"\r\ncompany=" +
                                                 company + L"\r\nversion=old\r\n");
    ASSERT_FALSE(path.empty());
    t_configRuntimeFile runtime(false);
    ASSERT_TRUE(runtime.Load(path.c_str()));
    ASSERT_EQ(1, runtime.item.ItemCount());
    t_configRuntimeFile::t_item* item = runtime.item.Item(0);
    const std::wstring huge(t_textCursor::c_chunkChars, L'v');  // no room for its terminator
    ASSERT_TRUE(item->version.FromString(huge.c_str(), nullptr));
    ASSERT_TRUE(item->res.FromString(L"01", nullptr));

    const std::wstring out = dir / L"out.ini";
    ASSERT_TRUE(runtime.Save(out.c_str()));
    t_iniDocument doc(false);
    t_errorChain errors;
    ASSERT_TRUE(doc.ReadConfig(errors, out.c_str(), 936)) << Lines(errors);
    ASSERT_NE(nullptr, doc.GetValue(L"item0", L"process"));
    EXPECT_EQ(process, doc.GetValue(L"item0", L"process"));
    ASSERT_NE(nullptr, doc.GetValue(L"item0", L"company"));
    EXPECT_EQ(company, doc.GetValue(L"item0", L"company"));    // took a fresh chunk
    EXPECT_STREQ(L"old", doc.GetValue(L"item0", L"version"));  // skipped: the document's own value
    EXPECT_STREQ(L"01", doc.GetValue(L"item0", L"res"));       // written after the skipped key
    EXPECT_STREQ(L"0", doc.GetValue(L"item0", L"type"));
}

TEST(ConfigFile, EncryptedConfigurationRoundTrip)
{
    t_tempFolder dir(L"config_enc");
    const std::wstring path = dir / L"runtime.ini";
    t_iniDocument source(true);
    source.SetValue(L"setting", L"cnt", L"1");
    source.SetValue(L"item0", L"process", L"输入.exe");
    t_errorChain errors;
    ASSERT_TRUE(source.WriteConfig(errors, path.c_str())) << Lines(errors);

    t_configRuntimeFile runtime(true);
    ASSERT_TRUE(runtime.Load(path.c_str()));
    ASSERT_EQ(1, runtime.item.ItemCount());
    EXPECT_STREQ(L"输入.exe", runtime.item.Item(0)->process.Get());
    runtime.item.Item(0)->type.Set(4);
    ASSERT_TRUE(runtime.Save(path.c_str()));
    EXPECT_EQ(std::string::npos, ReadRaw(path).find("setting"));

    t_configRuntimeFile again(true);
    ASSERT_TRUE(again.Load(path.c_str()));
    ASSERT_EQ(1, again.item.ItemCount());
    EXPECT_EQ(4, again.item.Item(0)->type.Get());
    EXPECT_STREQ(L"输入.exe", again.item.Item(0)->process.Get());

    // A plain file is not mistaken for an encrypted one.
    ASSERT_TRUE(WriteRaw(path, Utf16File(L"[setting]\r\ncnt=1\r\n")));
    EXPECT_FALSE(again.Load(path.c_str()));
    EXPECT_EQ(0, again.setting.cnt.Get());
}

}  // namespace
