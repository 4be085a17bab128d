#include "foundation/env/env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/win/shared_versions.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/hex.h"
#include "tests/support/utf16_file.h"

namespace {

std::string Lines(const t_errorChain& errors)
{
    std::string out;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        char narrow[260];
        line->text.ToNarrow(narrow);
        out += narrow;
        out += '\n';
    }
    return out;
}

bool HasLine(const t_errorChain& errors, const wchar_t* text)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        if (line->text.Equals(text))
            return true;
    return false;
}

std::string Le32(uint32_t v)
{
    std::string s(4, '\0');
    PutLe32(s, 0, v);
    return s;
}

// One record of a flat block, written field by field.
std::string Record(const std::wstring& name, uint32_t id, uint8_t type, uint8_t mode, const std::string& data)
{
    return Utf16Le(name) + std::string(2, '\0') + Le32(id) + char(type) + char(mode) + Le32(uint32_t(data.size())) +
           data;
}

// A block of the records, with its size word and end mark.
std::string Block(const std::string& records)
{
    return Le32(uint32_t(4 + records.size() + 2)) + records + std::string(2, '\0');
}

std::string WideData(const std::wstring& text) { return Utf16Le(text) + std::string(2, '\0'); }

std::string Written(const t_env& env)
{
    std::string out(env.GetBlockSize(), '\x55');
    EXPECT_TRUE(env.WriteBlock(reinterpret_cast<BYTE*>(&out[0]), uint32_t(out.size())));
    return out;
}

// The records of a well-formed block, as byte strings in sorted order (a set's block lists
// them in its own order).
std::multiset<std::string> Records(const std::string& block)
{
    std::multiset<std::string> out;
    size_t pos = 4;
    while (pos + 2 <= block.size() && (block[pos] || block[pos + 1])) {
        size_t end = pos;
        while (block[end] || block[end + 1])
            end += 2;
        uint32_t size = 0;
        memcpy(&size, block.data() + end + 8, 4);
        const size_t next = end + 12 + size;
        out.insert(block.substr(pos, next - pos));
        pos = next;
    }
    return out;
}

bool Read(t_env& env, const std::string& block)
{
    t_errorChain errors;
    return env.ReadBlock(errors, reinterpret_cast<const BYTE*>(block.data()), uint32_t(block.size()));
}

// An environment loaded from an "env.ini" of the given text.
class EnvFile : public ::testing::Test {
protected:
    EnvFile() : m_dir(L"env") {}

    bool Load(t_env& env, const std::wstring& text, int mode = 1)
    {
        const std::wstring path = WriteUtf16File(m_dir, L"env.ini", text);
        EXPECT_FALSE(path.empty());
        m_errors.Clear();
        return env.LoadFromIni(m_errors, path.c_str(), mode);
    }

    t_tempFolder m_dir;
    t_errorChain m_errors;
};

TEST(Env, FreshSetGivesDefaults)
{
    t_env env;
    EXPECT_EQ(env.GetInt(n_env::CodePage), 936);
    EXPECT_EQ(env.GetInt(n_env::PageSize), 5);
    EXPECT_STREQ(env.GetString(n_env::FontCh), L"宋体");
    EXPECT_STREQ(env.GetString(n_env::ActiveSkinName), L"Default(黑系)");
    EXPECT_EQ(env.GetInt(n_env::KeyShortcutJJGMenu), 186);
    EXPECT_EQ(env.GetString(n_env::WizardReadFlags), nullptr);
    EXPECT_EQ(env.GetULong(n_env::StatusBtnColor), 0xFFFFFFFFu);
    EXPECT_EQ(env.ValueCount(), 0u);
    EXPECT_FALSE(env.IsModified());
    EXPECT_EQ(env.GetBlockSize(), 6u);
}

TEST(Env, ForcedAnswers)
{
    t_env env;
    env.SetInt(n_env::HanziSet, 2);
    env.SetInt(n_env::ArtWordMode, 7);
    for (const t_envEntry<bool>* entry : {&n_env::AllowArt, &n_env::InputStatistics, &n_env::IntelligentDeleteWord})
        env.SetBool(*entry, false);
    EXPECT_EQ(env.GetInt(n_env::HanziSet), 5);
    EXPECT_EQ(env.GetInt(n_env::ArtWordMode), 1);
    EXPECT_TRUE(env.GetBool(n_env::AllowArt));
    EXPECT_TRUE(env.GetBool(n_env::InputStatistics));
    EXPECT_TRUE(env.GetBool(n_env::IntelligentDeleteWord));

    env.SetBool(n_env::SelectStyle, true);
    EXPECT_FALSE(env.GetBool(n_env::SelectStyle));  // "ConvertStyle" defaults to false
    env.SetBool(n_env::ConvertStyle, true);
    EXPECT_TRUE(env.GetBool(n_env::SelectStyle));
    env.SetBool(n_env::SelectStyle, false);
    EXPECT_FALSE(env.GetBool(n_env::SelectStyle));
}

TEST(Env, SettersStoreTypeModeGroupAndGrow)
{
    t_env env;
    EXPECT_TRUE(env.SetInt(n_env::FontSize, 20));
    EXPECT_TRUE(env.IsModified());
    const t_envValue* value = env.FindValue(n_env::FontSize.Key());
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, t_envType::integer);
    EXPECT_EQ(value->mode, t_syncMode::remote);
    EXPECT_EQ(value->group, 3);
    EXPECT_EQ(value->size, 4u);
    EXPECT_TRUE(value->changed);
    EXPECT_EQ(env.GetInt(n_env::FontSize), 20);

    // A longer text grows the data area; a shorter one reuses it.
    const std::wstring longName(300, L'字');
    EXPECT_TRUE(env.SetString(n_env::FontEn, L"Tahoma"));
    EXPECT_TRUE(env.SetString(n_env::FontEn, longName.c_str()));
    EXPECT_EQ(std::wstring(env.GetString(n_env::FontEn)), longName);
    EXPECT_TRUE(env.SetString(n_env::FontEn, L"Ab"));
    EXPECT_STREQ(env.GetString(n_env::FontEn), L"Ab");
    EXPECT_EQ(env.FindValue(n_env::FontEn.Key())->size, 6u);

    env.ClearModified();
    EXPECT_FALSE(env.IsModified());
    EXPECT_FALSE(env.FindValue(n_env::FontSize.Key())->changed);
}

// A stored value read through every getter, by the value's own type.
TEST(Env, GettersConvertByStoredType)
{
    struct t_case {
        uint8_t type;
        std::string data;
        int asInt;
        unsigned long asULong;
        bool asBool;
        const wchar_t* asText;
    };
    const t_case cases[] = {
        {1, std::string(1, '\1'), 1, 1, true, nullptr},
        {1, std::string(1, '\0'), 0, 0, false, nullptr},
        {2, Le32(uint32_t(-7)), -7, 0xFFFFFFF9u, true, nullptr},
        {3, Le32(0), 0, 0, false, nullptr},
        {0, WideData(L"42"), 42, 42, true, L"42"},
        {4, WideData(L"0"), 0, 0, false, L"0"},
        {9, "xyz", 0, 0, false, nullptr},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(int(c.type));
        // One record per getter's entry, each with this type and data.
        t_env env;
        ASSERT_TRUE(Read(
            env, Block(Record(L"PageSize", 29, c.type, 3, c.data) + Record(L"InvalidSkinTime", 182, c.type, 2, c.data) +
                       Record(L"CursorFollow", 26, c.type, 3, c.data) + Record(L"FontEn", 32, c.type, 3, c.data))));
        EXPECT_EQ(env.GetInt(n_env::PageSize), c.asInt);
        EXPECT_EQ(env.GetULong(n_env::InvalidSkinTime), c.asULong);
        EXPECT_EQ(env.GetBool(n_env::CursorFollow), c.asBool);
        if (c.asText)
            EXPECT_STREQ(env.GetString(n_env::FontEn), c.asText);
        else
            EXPECT_EQ(env.GetString(n_env::FontEn), nullptr);
    }
}

TEST_F(EnvFile, LoadsTypedValuesModesAndUnknownKeys)
{
    t_env env;
    ASSERT_TRUE(Load(env, L"[Setting]\r\nPageSize=9\r\nFontCh=黑体\r\nStatusBtnColor=4294967295\r\n"
                          L"CursorFollow=0\r\nUnknownKey=some text\r\nKeyFocusWord=2\r\nMaxWordCand=7\r\n"
                          L"[SyncMode]\r\nPageSize=LOCAL\r\nUnknownKey=max\r\nMaxWordCand=odd\r\n"))
        << Lines(m_errors);
    EXPECT_EQ(env.GetInt(n_env::PageSize), 9);
    EXPECT_STREQ(env.GetString(n_env::FontCh), L"黑体");
    EXPECT_EQ(env.GetULong(n_env::StatusBtnColor), 0xFFFFFFFFu);
    EXPECT_FALSE(env.GetBool(n_env::CursorFollow));
    EXPECT_EQ(env.GetInt(n_env::KeyFocusWord), 0);  // 2 is stored as 0

    EXPECT_EQ(env.FindValue(n_env::PageSize.Key())->mode, t_syncMode::local);
    EXPECT_EQ(env.FindValue(n_env::MaxWordCand.Key())->mode, t_syncMode::remote);  // the entry's own
    EXPECT_EQ(env.FindValue(n_env::FontCh.Key())->group, 3);
    const t_envValue* unknown = env.FindValue(t_envKey{0, L"unknownkey"});
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->type, t_envType::text);
    EXPECT_EQ(unknown->mode, t_syncMode::max);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(unknown->data), L"some text");
    EXPECT_TRUE(unknown->changed);
}

TEST_F(EnvFile, LegacyKeysAreDerived)
{
    struct t_case {
        const wchar_t* setting;
        bool limitWordCand, learnNewWord, learnFreq;
    };
    const t_case cases[] = {
        {L"FreqUpMode=2", false, true, false},
        {L"FreqUpMode=4", false, true, true},
        {L"FreqUpMode=1", false, false, false},
        {L"FreqUpMode=5", false, false, false},
        {L"FreqUpMode=-1", false, true, true},
        {L"X=1", false, true, true},
        {L"MaxWordCand=0", false, true, true},
        {L"MaxWordCand=5", true, true, true},
        {L"MaxWordCand=0\r\nLimitWordCand=1", true, true, true},
        {L"FreqUpMode=0\r\nLearnNewWord=1\r\nLearnFreq=1", false, true, true},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.setting)));
        t_env env;
        ASSERT_TRUE(Load(env, std::wstring(L"[Setting]\r\n") + c.setting + L"\r\n")) << Lines(m_errors);
        EXPECT_EQ(env.GetBool(n_env::LimitWordCand), c.limitWordCand);
        EXPECT_EQ(env.GetBool(n_env::LearnNewWord), c.learnNewWord);
        EXPECT_EQ(env.GetBool(n_env::LearnFreq), c.learnFreq);
        // The derived keys are stored like any other.
        EXPECT_NE(env.FindValue(n_env::LearnFreq.Key()), nullptr);
    }

    t_env env;
    ASSERT_TRUE(Load(env, L"[Setting]\r\nIgnoreSkinColorSetting=1\r\n"));
    EXPECT_TRUE(env.GetBool(n_env::IgnoreSkinColorSetting_Real));
    ASSERT_TRUE(Load(env, L"[Setting]\r\nIgnoreSkinColorSetting=1\r\nIgnoreSkinColorSetting_Real=0\r\n"));
    EXPECT_FALSE(env.GetBool(n_env::IgnoreSkinColorSetting_Real));
}

TEST_F(EnvFile, VersionMigration)
{
    struct t_case {
        const wchar_t* setting;
        bool shortcut;
        int key, urlGuide;
    };
    const t_case cases[] = {
        {L"ENV_VERSION=5.0.3.1\r\nStateKeyShortcutSearch=186", false, 0, 0},
        {L"ENV_VERSION=6.0.0.0\r\nStateKeyShortcutSearch=186\r\nStateKeyShortcutUrlGuide=186", true, 186, 186},
        {L"ENV_VERSION=5.1.0.0\r\nStateKeyShortcutName=186", true, 186, 0},
        {L"StateKeyShortcutMailUrl=186", false, 0, 0},
        {L"StateKeyShortcutUrlGuide=186\r\nShortcutJJGMenu=0\r\nKeyShortcutJJGMenu=9", true, 186, 0},
        {L"StateKeyShortcutEngFill=186\r\nStateKeyShortcutUrlGuide=186", true, 186, 0},
        {L"StateKeyShortcutQuickInput=185", true, 186, 0},
        // As long as the version written over it: the text read is what decides.
        {L"ENV_VERSION=5.0.3.1234\r\nStateKeyShortcutSearch=186", false, 0, 0},
        {L"ENV_VERSION=5.0.3.123456\r\nStateKeyShortcutSearch=186", false, 0, 0},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.setting)));
        t_env env;
        ASSERT_TRUE(Load(env, std::wstring(L"[Setting]\r\n") + c.setting + L"\r\n")) << Lines(m_errors);
        EXPECT_EQ(env.GetBool(n_env::ShortcutJJGMenu), c.shortcut);
        EXPECT_EQ(env.GetInt(n_env::KeyShortcutJJGMenu), c.key);
        EXPECT_EQ(env.GetInt(n_env::StateKeyShortcutUrlGuide), c.urlGuide);
        EXPECT_STREQ(env.GetString(n_env::ENV_VERSION), L"6.8.0.0000");
    }
}

TEST_F(EnvFile, FailuresReportAndLeaveTheSetCleared)
{
    t_env env;
    env.SetInt(n_env::PageSize, 8);
    EXPECT_FALSE(Load(env, L"[Other]\r\nPageSize=3\r\n"));
    EXPECT_TRUE(HasLine(m_errors, L"解析配置文件失败：缺少项[setting]")) << Lines(m_errors);
    EXPECT_EQ(env.ValueCount(), 0u);

    m_errors.Clear();
    EXPECT_FALSE(env.LoadFromIni(m_errors, (m_dir / L"missing.ini").c_str(), 1));
    EXPECT_TRUE(HasLine(m_errors, L"加载环境失败")) << Lines(m_errors);

    // Mode 0 adds to what is there.
    env.SetInt(n_env::PageSize, 8);
    ASSERT_TRUE(Load(env, L"[Setting]\r\nMaxWordCand=3\r\n", 0));
    EXPECT_EQ(env.GetInt(n_env::PageSize), 8);
    EXPECT_EQ(env.GetInt(n_env::MaxWordCand), 3);
}

// The longest text a block record carries is stored; a longer one is skipped, so that the
// shared block stays readable.
TEST_F(EnvFile, LongTextsFitTheBlock)
{
    const std::wstring longest(t_env::c_maxTextChars, L'a');
    t_env env;
    ASSERT_TRUE(Load(env, L"[Setting]\r\nFontEn=" + longest + L"\r\nPrivate=" + longest + L"b\r\nFontCh=" + longest +
                              L"c\r\n"));
    EXPECT_EQ(env.FindValue(t_envKey{0, L"Private"}), nullptr);
    EXPECT_STREQ(env.GetString(n_env::FontCh), L"宋体");
    EXPECT_FALSE(env.SetString(n_env::FontCh, (longest + L"c").c_str()));
    t_env shared;
    ASSERT_TRUE(Read(shared, Written(env)));
    EXPECT_EQ(std::wstring(shared.GetString(n_env::FontEn)), longest);
}

TEST(EnvBlock, OneEntryBlockByteForByte)
{
    t_env env;
    env.SetInt(n_env::PageSize, 7);
    EXPECT_EQ(env.GetBlockSize(), 38u);
    const std::string block = Written(env);
    EXPECT_EQ(ToHex(reinterpret_cast<const unsigned char*>(block.data()), block.size()),
              std::string("26000000") +                     // total size
                  "5000610067006500530069007a0065000000" +  // "PageSize"
                  "1d000000" +                              // id 29
                  "02"
                  "03" +  // int, remote
                  "04000000" +
                  "07000000" +  // data
                  "0000");      // end mark
}

TEST(EnvBlock, RoundTripKeepsEveryValue)
{
    t_env other;
    other.SetInt(n_env::PageSize, 3);  // reading replaces
    t_env source;
    source.SetBool(n_env::CursorFollow, false);  // one byte: later names start at odd offsets
    source.SetString(n_env::FontCh, L"楷体");
    source.SetInt(n_env::StatusPosX, -5);
    const std::string block = Written(source);
    ASSERT_TRUE(Read(other, block));
    EXPECT_EQ(other.ValueCount(), 3u);
    EXPECT_FALSE(other.GetBool(n_env::CursorFollow));
    EXPECT_STREQ(other.GetString(n_env::FontCh), L"楷体");
    EXPECT_EQ(other.GetInt(n_env::StatusPosX), -5);
    const t_envValue* pos = other.FindValue(n_env::StatusPosX.Key());
    EXPECT_EQ(pos->mode, t_syncMode::local);
    EXPECT_EQ(pos->group, c_envNoGroup);
    EXPECT_EQ(other.FindValue(n_env::FontCh.Key())->group, c_envNoGroup);  // groups are not carried
    EXPECT_TRUE(pos->changed);
    EXPECT_EQ(Written(other), block);

    // The size word is the size given; a buffer too small is refused untouched.
    std::string big(block.size() + 10, '\x55');
    ASSERT_TRUE(source.WriteBlock(reinterpret_cast<BYTE*>(&big[0]), uint32_t(big.size())));
    EXPECT_EQ(big.substr(0, 4), Le32(uint32_t(big.size())));
    EXPECT_EQ(big.substr(4, block.size() - 4), block.substr(4));
    std::string small(block.size() - 1, '\x55');
    EXPECT_FALSE(source.WriteBlock(reinterpret_cast<BYTE*>(&small[0]), uint32_t(small.size())));
    EXPECT_EQ(small, std::string(block.size() - 1, '\x55'));
}

// Every read of a block stays inside both its size word and the bytes that exist.
TEST(EnvBlock, MalformedBlocksFailWithinBounds)
{
    const std::string good = Record(L"PageSize", 29, 2, 3, Le32(4));
    struct t_case {
        const char* what;
        std::string bytes;
        unsigned valuesKept;
    };
    const t_case cases[] = {
        {"no size word", "\x06\0", 0},
        {"size word past the bytes", Le32(1000) + good, 1},
        {"size word cuts the end mark", Le32(uint32_t(4 + good.size() + 1)) + good + std::string(2, '\0'), 1},
        {"size word below the header", Le32(3) + std::string(2, '\0'), 0},
        {"name without terminator", Le32(12) + Utf16Le(L"Page"), 0},
        {"record header cut",
         Block(good + Utf16Le(L"X") + std::string(2, '\0') + Le32(1)).substr(0, 4 + good.size() + 8), 1},
        {"data past the end", Block(Record(L"FontEn", 32, 4, 3, WideData(L"Arial")).substr(0, 30)), 0},
        {"data larger than any value",
         Block(good + Utf16Le(L"X") + std::string(2, '\0') + Le32(0) + "\0\3" + Le32(0x10001) +
               std::string(0x10001, 'a')),
         1},
        {"bool of two bytes", Block(Record(L"CursorFollow", 26, 1, 3, "\1\1")), 0},
        {"number of three bytes", Block(good + Record(L"PageSize", 29, 2, 3, "\1\1\1")), 1},
        {"unterminated text", Block(Record(L"FontEn", 32, 4, 3, Utf16Le(L"Arial"))), 0},
        {"odd text", Block(Record(L"FontEn", 32, 0, 3, std::string(3, '\0'))), 0},
    };
    t_guardedBytes guard;
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        const BYTE* at = guard.Place(c.bytes);
        ASSERT_NE(at, nullptr);
        t_env env;
        env.SetInt(n_env::MaxWordCand, 1);
        t_errorChain errors;
        EXPECT_FALSE(env.ReadBlock(errors, at, uint32_t(c.bytes.size())));
        EXPECT_TRUE(HasLine(errors, L"环境信息块已损坏")) << Lines(errors);
        EXPECT_EQ(env.ValueCount(), c.valuesKept);
        EXPECT_EQ(env.FindValue(n_env::MaxWordCand.Key()), nullptr);
    }
    t_env env;
    t_errorChain errors;
    EXPECT_FALSE(env.ReadBlock(errors, nullptr, 100));
}

TEST(EnvBlock, FuzzedBlocksNeverReadOutside)
{
    t_env source;
    ASSERT_TRUE(Read(source, Block(Record(L"PageSize", 29, 2, 3, Le32(4)) + Record(L"CursorFollow", 26, 1, 3, "\1") +
                                   Record(L"Unknown", 0, 0, 4, WideData(L"value")) +
                                   Record(L"FontCh", 31, 4, 3, WideData(L"宋体")) + Record(L"Opaque", 0, 77, 1, "q"))));
    const std::string valid = Written(source);
    std::mt19937 rng(20261210);
    t_guardedBytes guard;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = valid;
        if (round % 4 == 0)
            bytes = RandomBytes(rng, rng() % 96);
        else
            Mutate(bytes, rng);
        const BYTE* at = guard.Place(bytes);
        ASSERT_NE(at, nullptr);
        t_env env;
        t_errorChain errors;
        if (env.ReadBlock(errors, at, uint32_t(bytes.size()))) {
            // Whatever was accepted writes and reads back the same.
            t_env again;
            ASSERT_TRUE(Read(again, Written(env)));
            EXPECT_EQ(Records(Written(again)), Records(Written(env)));
            EXPECT_EQ(again.GetBlockSize(), env.GetBlockSize());
        }
    }
}

TEST(EnvBlock, CopyIntoLargerBuffer)
{
    struct t_case {
        uint32_t from, to;
        bool copies;
    };
    for (const t_case& c : {t_case{10, 16, true}, t_case{16, 16, true}, t_case{0, 4, true}, t_case{17, 16, false}}) {
        SCOPED_TRACE(c.from);
        const std::string from(c.from, 'a');
        std::string to(c.to, 'z');
        t_errorChain errors;
        EXPECT_EQ(t_env::CopyBlock(errors, reinterpret_cast<const BYTE*>(from.data()), c.from,
                                   reinterpret_cast<BYTE*>(&to[0]), c.to),
                  c.copies);
        if (c.copies)
            EXPECT_EQ(to, from + std::string(c.to - c.from, '\0'));
        else
            EXPECT_EQ(to, std::string(c.to, 'z'));
        EXPECT_EQ(errors.IsEmpty(), c.copies);
    }
}

TEST(EnvMerge, ChangedValuesGoOverAndGroupsCountOnce)
{
    t_errorChain errors;
    ASSERT_TRUE(t_versionReg::Init(errors)) << Lines(errors);
    t_env snapshot;
    snapshot.SetInt(n_env::PageSize, 6);
    snapshot.SetString(n_env::FontEn, L"Arial");
    snapshot.ClearModified();

    t_env local;
    local.SetString(n_env::FontCh, L"黑体");
    local.SetInt(n_env::ColorBorder, 0x123456);
    local.SetBool(n_env::QuanPin, false);
    local.SetInt(n_env::MaxWordCand, 3);
    local.ClearModified();
    local.SetInt(n_env::MaxWordCand, 4);  // changed after the clear: the only one of its kind
    local.SetString(n_env::FontCh, L"楷体");
    local.SetInt(n_env::ColorBorder, 0x654321);
    local.SetBool(n_env::QuanPin, false);

    const DWORD fonts = t_versionReg::Read(3), scheme = t_versionReg::Read(5), phrase = t_versionReg::Read(4);
    ASSERT_TRUE(snapshot.Merge(errors, local, true)) << Lines(errors);
    EXPECT_EQ(t_versionReg::Read(3), fonts + 1);
    EXPECT_EQ(t_versionReg::Read(5), scheme + 1);
    EXPECT_EQ(t_versionReg::Read(4), phrase);
    EXPECT_FALSE(local.IsModified());
    EXPECT_FALSE(local.FindValue(n_env::FontCh.Key())->changed);

    EXPECT_EQ(snapshot.ValueCount(), 6u);
    EXPECT_EQ(snapshot.GetInt(n_env::PageSize), 6);
    EXPECT_EQ(snapshot.GetInt(n_env::MaxWordCand), 4);
    EXPECT_STREQ(snapshot.GetString(n_env::FontCh), L"楷体");
    EXPECT_EQ(snapshot.FindValue(n_env::ColorBorder.Key())->group, 3);
    EXPECT_TRUE(snapshot.FindValue(n_env::QuanPin.Key())->changed);

    // Nothing changed: nothing moves, no counter either.
    ASSERT_TRUE(snapshot.Merge(errors, local, true));
    EXPECT_EQ(t_versionReg::Read(3), fonts + 1);

    // Without counting, groups are left alone.
    local.SetInt(n_env::FontSize, 30);
    ASSERT_TRUE(snapshot.Merge(errors, local, false));
    EXPECT_EQ(t_versionReg::Read(3), fonts + 1);
    EXPECT_EQ(snapshot.GetInt(n_env::FontSize), 30);
}

TEST_F(EnvFile, UnknownKeysSurviveLoadBlockAndMerge)
{
    t_env loaded;
    ASSERT_TRUE(Load(loaded, L"[Setting]\r\nPrivateKey=私有\r\n"));
    t_env shared;
    ASSERT_TRUE(Read(shared, Written(loaded)));
    t_env empty;  // an empty set merges and is merged into
    ASSERT_TRUE(empty.Merge(m_errors, shared, true)) << Lines(m_errors);
    ASSERT_TRUE(shared.Merge(m_errors, empty, true));
    const t_envValue* value = empty.FindValue(t_envKey{0, L"PrivateKey"});
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(value->data), L"私有");

    t_env copy;
    copy.SetInt(n_env::PageSize, 2);
    ASSERT_TRUE(copy.CopyFrom(empty));
    EXPECT_EQ(copy.ValueCount(), empty.ValueCount());
    EXPECT_EQ(copy.FindValue(n_env::PageSize.Key()), nullptr);
    EXPECT_TRUE(copy.FindValue(t_envKey{0, L"privatekey"})->changed);
    EXPECT_EQ(Written(copy).size(), Written(empty).size());
}

}  // namespace
