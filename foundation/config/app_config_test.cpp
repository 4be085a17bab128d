#include "foundation/config/app_config.h"

#include "foundation/files/file.h"

#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(AppConfig, DefaultsWriteTheKnownFile)
{
    t_tempFolder dir(L"appconfig_defaults");
    const std::wstring path = dir / L"Kavrel.ini";
    AppConfig config;
    EXPECT_FALSE(config.Load(path.c_str()));  // no file yet: defaults
    bool useGdip = false;
    EXPECT_FALSE(config.setting.useGdip.Get(&useGdip));
    EXPECT_TRUE(config.setting.useGdip.Value());
    EXPECT_EQ(9, config.preview.candSize.Get());
    EXPECT_EQ(800, config.windowRect.rect.right.Get());
    ASSERT_TRUE(config.Save(path.c_str()));
    const std::string golden =
        ReadRaw(std::wstring(KAVREL_SOURCE_DIR) + L"\\foundation\\config\\testdata\\app_config_defaults.ini");
    ASSERT_NE("<missing>", golden);
    EXPECT_EQ(golden, ReadRaw(path));
}

TEST(AppConfig, HandEditsSurviveAndValuesRoundTrip)
{
    t_tempFolder dir(L"appconfig_edits");
    const std::wstring path = WriteUtf16File(dir, L"Kavrel.ini",
                                             L";我的设置\r\n[Window Rect]\r\nRect=10,20,300,400,\r\nmax=0\r\n"
                                             L"Mine=1\r\n[Setting]\r\n;手工\r\nUseGdip=0\r\n[Own]\r\nk=v\r\n");
    ASSERT_FALSE(path.empty());
    AppConfig config;
    ASSERT_TRUE(config.Load(path.c_str()));
    bool useGdip = true;
    EXPECT_TRUE(config.setting.useGdip.Get(&useGdip));
    EXPECT_FALSE(useGdip);
    EXPECT_EQ(10, config.windowRect.rect.left.Get());
    EXPECT_EQ(400, config.windowRect.rect.bottom.Get());
    EXPECT_FALSE(config.windowRect.max.Value());

    config.preview.candSize.Set(7);
    config.windowRect.icon.Set(true);
    ASSERT_TRUE(config.Save(path.c_str()));
    EXPECT_EQ(Utf16File(L";我的设置\r\n\r\n[Window Rect]\r\nRect=10,20,300,400,\r\nmax=0\r\nMine=1\r\nicon=1\r\n"
                        L"\r\n[Setting]\r\n;手工\r\nUseGdip=0\r\n\r\n[Own]\r\nk=v\r\n\r\n[Preview]\r\n"
                        L"candsize=7\r\n"),
              ReadRaw(path));
}

TEST(AppConfig, InvalidValuesCountAsAbsent)
{
    t_tempFolder dir(L"appconfig_yes");
    const std::wstring path = WriteUtf16File(dir, L"Kavrel.ini",
                                             L"[Window Rect]\r\nRect=10,20,abc,400,\r\n"
                                             L"[Setting]\r\nUseGdip=yes\r\n[Preview]\r\ncandsize=0x0c\r\n");
    ASSERT_FALSE(path.empty());
    AppConfig config;
    ASSERT_TRUE(config.Load(path.c_str()));
    bool useGdip = true;  // the caller's own default stays
    EXPECT_FALSE(config.setting.useGdip.Get(&useGdip));
    EXPECT_TRUE(useGdip);
    EXPECT_EQ(12, config.preview.candSize.Get());
    // A rectangle with one bad member is not half taken: the default rectangle.
    const ConfigRect& rect = config.windowRect.rect;
    EXPECT_FALSE(rect.IsSet());
    EXPECT_EQ(0, rect.left.Get());
    EXPECT_EQ(0, rect.top.Get());
    EXPECT_EQ(800, rect.right.Get());
    EXPECT_EQ(600, rect.bottom.Get());
}

TEST(AppConfig, SettingsFileLivesBesideTheExecutable)
{
    ASSERT_FALSE(ExePath().empty());
    const std::wstring expected = ExeFolder() + L"\\Kavrel.ini";
    EXPECT_EQ(expected, GetAppConfigPath());
    EXPECT_EQ(GetAppConfigPath(), GetAppConfigPath());  // computed once, kept

    AppConfig* config = AppConfig::Instance();
    ASSERT_NE(nullptr, config);
    EXPECT_EQ(config, AppConfig::Instance());
    DeleteFileW(expected.c_str());
    config->preview.candSize.Set(11);
    ASSERT_TRUE(config->Save());
    AppConfig other;
    EXPECT_TRUE(other.Load(expected.c_str()));
    EXPECT_EQ(11, other.preview.candSize.Get());
    config->Load();
    EXPECT_EQ(11, config->preview.candSize.Get());
    DeleteFileW(expected.c_str());
}

TEST(AppConfig, SaveOnAFullDriveKeepsThePreviousFile)
{
    t_tempFolder dir(L"appconfig_full");
    const std::wstring path = WriteUtf16File(dir, L"Kavrel.ini", L"[Preview]\r\ncandsize=7\r\n;注释\r\n");
    ASSERT_FALSE(path.empty());
    const std::string before = ReadRaw(path);
    AppConfig config;
    ASSERT_TRUE(config.Load(path.c_str()));
    config.preview.candSize.Set(5);
    // Room for the byte-order mark and a few characters, not for the whole text.
    SetWriteLimitForTests(16);
    const bool saved = config.Save(path.c_str());
    SetWriteLimitForTests(-1);
    EXPECT_FALSE(saved);
    EXPECT_EQ(before, ReadRaw(path));
    EXPECT_EQ(std::vector<std::wstring>{L"Kavrel.ini"}, NamesIn(dir.Path()));

    ASSERT_TRUE(config.Save(path.c_str()));
    AppConfig again;
    ASSERT_TRUE(again.Load(path.c_str()));
    EXPECT_EQ(5, again.preview.candSize.Get());
}

}  // namespace
