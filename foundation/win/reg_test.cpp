#include "foundation/win/reg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

// A private key under HKEY_CURRENT_USER, removed before and after each test.
class RegTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_subKey = L"Software\\KavrelRegTest_" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_subKey.c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_subKey.c_str()); }

    // Writes a value with the raw API, bypassing the wrapper.
    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
        RegCloseKey(key);
    }

    // Reads a value with the raw API: its type and bytes.
    bool GetRaw(const wchar_t* name, DWORD& type, std::vector<BYTE>& bytes)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        LONG code = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
        bytes.assign(size, 0);
        if (code == ERROR_SUCCESS && size)
            code = RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size);
        RegCloseKey(key);
        return code == ERROR_SUCCESS;
    }

    std::wstring KeyPath() const { return L"CURRENT_USER\\" + m_subKey; }

    std::wstring m_subKey;
};

std::wstring LastLine(const t_errorChain& errors)
{
    const std::vector<std::wstring> lines = ErrorLines(errors);
    return lines.empty() ? std::wstring() : lines.back();
}

}  // namespace

TEST_F(RegTest, StringsRoundTripWithoutStoredTerminator)
{
    t_errorChain errors;
    t_reg reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open(errors, m_subKey.c_str(), true, true));
    EXPECT_EQ(KeyPath(), reg.PathText().c_str());

    const wchar_t* const texts[] = {L"Z:\\程序\\Kavrel", L""};
    for (const wchar_t* text : texts) {
        ASSERT_TRUE(reg.SetString(errors, text, L"path"));
        DWORD type = REG_NONE;
        std::vector<BYTE> raw;
        ASSERT_TRUE(GetRaw(L"path", type, raw));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        // The terminator is not passed, so an empty text is an empty REG_SZ of 0 bytes.
        // (Wine adds a terminator it finds right after non-empty data.)
        if (!text[0]) {
            EXPECT_EQ(0u, raw.size());
        }

        wchar_t buffer[64];
        wmemset(buffer, L'#', 64);
        ASSERT_TRUE(reg.QueryString(errors, L"path", buffer, 64));
        EXPECT_STREQ(text, buffer);
    }

    // The default value (null name).
    ASSERT_TRUE(reg.SetString(errors, L"default", nullptr));
    wchar_t buffer[16];
    ASSERT_TRUE(reg.QueryString(errors, nullptr, buffer, 16));
    EXPECT_STREQ(L"default", buffer);
    EXPECT_TRUE(errors.IsEmpty());
}

// Stored values with and without terminators, in buffers of several sizes: the result is
// always terminated inside the buffer, and a value that leaves no room fails.
TEST_F(RegTest, QueryStringTerminatesFromTheByteCount)
{
    struct t_case {
        const char* what;
        std::vector<wchar_t> stored;  // exactly the characters stored
        DWORD extraByte;              // 1: a stray odd byte after them
        DWORD bufferChars;
        bool ok;
        const wchar_t* expected;  // on success
        const wchar_t* message;   // on failure: a part of the last line
    };
    const t_case cases[] = {
        {"unterminated, room to spare", {L'a', L'b', L'c'}, 0, 8, true, L"abc", nullptr},
        {"unterminated, fills the buffer", {L'a', L'b', L'c'}, 0, 3, false, nullptr, L"没有结束符的位置"},
        {"unterminated, one spare character", {L'a', L'b', L'c'}, 0, 4, true, L"abc", nullptr},
        {"terminated, exact fit", {L'a', L'b', L'c', 0}, 0, 4, true, L"abc", nullptr},
        {"terminated, too long", {L'a', L'b', L'c', 0}, 0, 3, false, nullptr, L"读注册表失败："},
        {"odd byte count", {L'a', L'b', L'c'}, 1, 8, true, L"abc", nullptr},
        {"empty", {}, 0, 1, true, L"", nullptr},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        // A non-zero character follows the data in memory: Wine would otherwise store
        // a terminator it finds just past the given size.
        std::vector<BYTE> bytes(c.stored.size() * sizeof(wchar_t));
        if (!bytes.empty())
            memcpy(bytes.data(), c.stored.data(), bytes.size());
        if (c.extraByte)
            bytes.push_back('z');
        const DWORD size = static_cast<DWORD>(bytes.size());
        bytes.insert(bytes.end(), {'Q', 'Q', 'Q', 'Q'});
        PutRaw(L"v", REG_SZ, bytes.data(), size);
        DWORD type = REG_NONE;
        std::vector<BYTE> stored;
        ASSERT_TRUE(GetRaw(L"v", type, stored));
        ASSERT_EQ(size, stored.size());

        t_errorChain errors;
        t_reg reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.Open(errors, m_subKey.c_str(), false, false));
        // The buffer sits inside a larger one filled with markers, to see any overrun.
        std::vector<wchar_t> frame(c.bufferChars + 4, L'#');
        const bool ok = reg.QueryString(errors, L"v", frame.data(), c.bufferChars);
        EXPECT_EQ(c.ok, ok);
        EXPECT_EQ(std::wstring(4, L'#'), std::wstring(frame.data() + c.bufferChars, 4));
        EXPECT_LT(wcsnlen(frame.data(), c.bufferChars), static_cast<size_t>(c.bufferChars));
        if (c.ok) {
            EXPECT_STREQ(c.expected, frame.data());
            EXPECT_TRUE(errors.IsEmpty());
        } else {
            EXPECT_NE(std::wstring::npos, LastLine(errors).find(c.message));
            EXPECT_NE(std::wstring::npos, LastLine(errors).find(KeyPath() + L"\\v"));
        }
    }
}

TEST_F(RegTest, FailuresNameTheKeyAndValue)
{
    PutRaw(L"number", REG_DWORD, "\1\0\0\0", 4);

    t_errorChain errors;
    t_reg reg(HKEY_CURRENT_USER);
    // A missing sub-key without create: the system's text, then the path.
    EXPECT_FALSE(reg.Open(errors, (m_subKey + L"\\missing").c_str(), false, false));
    std::vector<std::wstring> lines = ErrorLines(errors);
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::wstring::npos, lines[0].find(L"系统错误2"));
    EXPECT_EQ(L"打开注册表项失败：" + KeyPath() + L"\\missing", lines[1]);

    // A second open appends the new sub-key to the path text again.
    errors.Reset();
    t_reg key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Open(errors, m_subKey.c_str(), false, false));
    wchar_t buffer[16];
    EXPECT_FALSE(key.QueryString(errors, L"number", buffer, 16));
    EXPECT_EQ(L"注册表键值类型不匹配：" + KeyPath() + L"\\number", LastLine(errors));
    EXPECT_FALSE(key.QueryString(errors, L"absent", buffer, 16));
    EXPECT_EQ(L"读注册表失败：" + KeyPath() + L"\\absent", LastLine(errors));
    EXPECT_FALSE(key.QueryString(errors, nullptr, buffer, 16));
    EXPECT_EQ(L"读注册表失败：" + KeyPath(), LastLine(errors));

    // Writing through a key opened for reading.
    EXPECT_FALSE(key.SetString(errors, L"x", L"name"));
    EXPECT_EQ(L"设置注册表键值失败：" + KeyPath() + L"\\<<name>>", LastLine(errors));
    EXPECT_FALSE(key.SetString(errors, L"x", nullptr));
    EXPECT_EQ(L"设置注册表键值失败：" + KeyPath(), LastLine(errors));

    // A value read as raw bytes keeps its size.
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_TRUE(key.Query(errors, L"number", &value, size, REG_DWORD));
    EXPECT_EQ(1u, value);
    EXPECT_EQ(4u, size);
}

TEST_F(RegTest, RootsAndEmptySubKey)
{
    t_errorChain errors;
    // An empty sub-key opens the root itself.
    t_reg root(HKEY_CURRENT_USER);
    EXPECT_TRUE(root.Open(errors, L"", false, false));
    EXPECT_STREQ(L"CURRENT_USER", root.PathText().c_str());
    EXPECT_NE(nullptr, root.Key());

    struct t_root {
        HKEY key;
        const wchar_t* name;
    };
    const t_root roots[] = {{HKEY_CLASSES_ROOT, L"CLASSES_ROOT"},
                            {HKEY_LOCAL_MACHINE, L"MACHINE"},
                            {HKEY_USERS, L"USERS"},
                            {HKEY_DYN_DATA, L"DYN_DATA"}};
    for (const t_root& r : roots)
        EXPECT_STREQ(r.name, t_reg(r.key).PathText().c_str());

    // Other roots are refused: every open fails with words.
    t_reg other(HKEY_CURRENT_CONFIG);
    EXPECT_FALSE(other.Open(errors, L"Software", false, false));
    EXPECT_EQ(L"打开注册表项失败：\\Software", LastLine(errors));
    EXPECT_FALSE(other.Open(errors, nullptr, false, false));
    EXPECT_NE(std::wstring::npos, LastLine(errors).find(L"创建注册表项失败："));
}

// Machine-wide keys are shared with the input method's 32-bit programs: the wrapper
// writes and reads them in the 32-bit view, and the 64-bit view never sees them.
TEST(RegMachineView, MachineKeysLiveInTheThirtyTwoBitView)
{
    const std::wstring subKey = L"Software\\KavrelRegViewTest_" + std::to_wstring(GetCurrentProcessId());
    auto removeBoth = [&] {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_WOW64_64KEY, 0);
    };
    removeBoth();
    {
        t_errorChain errors;
        t_reg reg(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.Open(errors, subKey.c_str(), true, true));
        ASSERT_TRUE(reg.SetString(errors, L"C:\\Program Files (x86)\\Vexil", nullptr));
    }
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key));
    RegCloseKey(key);
    key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key));
    if (key)
        RegCloseKey(key);

    // A value a 32-bit installer wrote (32-bit view) is what the wrapper reads.
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    const wchar_t installed[] = L"D:\\Vexil";
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(installed), sizeof(installed)));
    RegCloseKey(key);
    {
        t_errorChain errors;
        t_reg reg(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.Open(errors, subKey.c_str(), false, false));
        wchar_t text[64];
        ASSERT_TRUE(reg.QueryString(errors, nullptr, text, 64));
        EXPECT_STREQ(installed, text);
    }
    removeBoth();
}
