#include "skin_model/layout_info.h"

#include "skin_model/combine_info.h"
#include "tests/support/part_golden.h"
#include "skin_model/separate_info.h"

// Loads the keys into Scheme_H1, then saves the part into an emptied document.
static void LoadAndSaveH1(const wchar_t* keys, HorizontalCombineInfo& part)
{
    LoadSkinText(std::wstring(L"[Scheme_H1]\r\n") + keys);
    ASSERT_TRUE(part.Load());
    SkinIni::Instance()->Clear();
    ASSERT_TRUE(part.Save());
}

TEST(LayoutInfo, TransparencyKeys)
{
    struct t_case {
        const wchar_t* keys;
        bool enabled;
        COLORREF color;
        const wchar_t* written;
    } const cases[] = {
        {L"", false, 0xFFFFFF, L"-1"},
        {L"transparent_color_enable=1\r\ntransparent_color=0xff\r\n", true, 0xFF, L"0xff"},
        {L"transparent_color_enable=10\r\ntransparent_color=-1\r\n", true, 0xFFFFFF, L"0xffffff"},
        // Only a text beginning with 1 switches the colour on; off, the file gets -1.
        {L"transparent_color_enable=2\r\ntransparent_color=0x123\r\n", false, 0x123, L"-1"},
        {L"transparent_color_enable=true\r\n", false, 0xFFFFFF, L"-1"},
        {L"transparent_color_enable=1\r\ntransparent_color=0xffffffff\r\n", true, 0xFFFFFF, L"0xffffff"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.keys)));
        HorizontalCombineInfo part;
        LoadAndSaveH1(c.keys, part);
        EXPECT_EQ(c.enabled, part.transparentEnabled);
        EXPECT_EQ(c.color, part.transparentColor);
        EXPECT_EQ(100, part.opacity);
        EXPECT_STREQ(c.written, SkinIni::GetText(L"Scheme_H1", L"transparent_color"));
        EXPECT_STREQ(L"255", SkinIni::GetText(L"Scheme_H1", L"opaque"));
    }
}

// The file holds alpha, the part a percent: 200 comes back as 198.
TEST(LayoutInfo, OpacityKey)
{
    struct t_case {
        const wchar_t* value;
        int percent;
        const wchar_t* written;
    } const cases[] = {
        {L"200", 78, L"198"},  {L"128", 50, L"127"}, {L"0", 0, L"0"},
        {L"300", 100, L"255"}, {L"-5", 100, L"255"}, {L"0x1G", 100, L"255"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.value)));
        HorizontalCombineInfo part;
        LoadAndSaveH1((std::wstring(L"opaque=") + c.value + L"\r\n").c_str(), part);
        EXPECT_FALSE(part.transparentEnabled);
        EXPECT_EQ(0xFFFFFFu, part.transparentColor);
        EXPECT_EQ(c.percent, part.opacity);
        EXPECT_STREQ(L"-1", SkinIni::GetText(L"Scheme_H1", L"transparent_color"));
        EXPECT_STREQ(c.written, SkinIni::GetText(L"Scheme_H1", L"opaque"));
    }
}

class LayoutImport : public testing::Test {
protected:
    LayoutImport() : m_root(L"skin_import")
    {
        m_work = m_root / L"work";
        m_outside = m_root / L"outside";
        CreateDirectoryW(m_work.c_str(), nullptr);
        CreateDirectoryW(m_outside.c_str(), nullptr);
        CreateDirectoryW((m_work + L"\\sub").c_str(), nullptr);
        BaseInfo::SetWorkFolder(m_work.c_str());
        // The process's current directory is elsewhere: nothing may land there.
        GetCurrentDirectoryW(MAX_PATH, m_savedCurrent);
        SetCurrentDirectoryW(m_outside.c_str());
        SkinIni::Instance()->Clear();
    }
    ~LayoutImport() override
    {
        SetCurrentDirectoryW(m_savedCurrent);
        BaseInfo::SetWorkFolder(L"");
    }

    t_tempFolder m_root;
    std::wstring m_work;
    std::wstring m_outside;
    wchar_t m_savedCurrent[MAX_PATH];
};

TEST_F(LayoutImport, PicturesFromOutsideAreCopiedUnderTheSkinsNames)
{
    ASSERT_TRUE(WriteRaw(m_outside + L"\\my pic.png", "picture"));
    ASSERT_TRUE(WriteRaw(m_outside + L"\\m.BMP", "mask"));
    HorizontalCombineInfo part;
    part.hasPic = true;
    wcscpy(part.pic, (m_outside + L"\\my pic.png").c_str());
    wcscpy(part.picMask, (m_outside + L"\\m.BMP").c_str());

    ASSERT_TRUE(part.Save()) << part.Message().c_str();
    EXPECT_STREQ(L"skin1.png", part.pic);
    EXPECT_STREQ(L"skin1_mask.BMP", part.picMask);
    EXPECT_STREQ(L"skin1.png", SkinIni::GetText(L"Scheme_H1", L"pic"));
    EXPECT_EQ("picture", ReadRaw(m_work + L"\\skin1.png"));
    EXPECT_EQ("mask", ReadRaw(m_work + L"\\skin1_mask.BMP"));
    EXPECT_FALSE(Exists(m_outside + L"\\skin1.png"));

    // Saved again, the short names stay; the full path of the imported file itself
    // is no copy onto itself.
    wcscpy(part.pic, (m_work + L"\\skin1.png").c_str());
    ASSERT_TRUE(part.Save()) << part.Message().c_str();
    EXPECT_STREQ(L"skin1.png", part.pic);
    EXPECT_STREQ(L"skin1_mask.BMP", part.picMask);
    EXPECT_EQ("picture", ReadRaw(m_work + L"\\skin1.png"));
}

TEST_F(LayoutImport, RelativePathsAreTakenInsideTheWorkFolder)
{
    ASSERT_TRUE(WriteRaw(m_work + L"\\sub\\r.gif", "inside"));
    VerticalCombineInfo part;
    part.hasPic = true;
    wcscpy(part.pic, L".\\sub\\r.gif");
    ASSERT_TRUE(part.Save()) << part.Message().c_str();
    EXPECT_STREQ(L"skin2.gif", part.pic);
    EXPECT_EQ("inside", ReadRaw(m_work + L"\\skin2.gif"));
}

TEST_F(LayoutImport, AFailedCopyKeepsThePathAndSaysWhy)
{
    const std::wstring missing = m_outside + L"\\gone.png";
    HorizontalCombineInfo part;
    part.hasPic = true;
    wcscpy(part.pic, missing.c_str());
    EXPECT_FALSE(part.Save());
    EXPECT_FALSE(part.Message().IsEmpty());
    EXPECT_EQ(missing, part.pic);
    // The rest of the section is still written, naming the picture where it is.
    EXPECT_EQ(missing, SkinIni::GetText(L"Scheme_H1", L"pic"));
    EXPECT_STREQ(L"0,20,100", SkinIni::GetText(L"Scheme_H1", L"layout_horizontal"));
}

TEST_F(LayoutImport, OnlyWindowsWithAPictureImport)
{
    ASSERT_TRUE(WriteRaw(m_outside + L"\\z.png", "z"));
    ASSERT_TRUE(WriteRaw(m_outside + L"\\pm.bmp", "pm"));
    VerticalSeparateInfo part;
    wcscpy(part.pinyinPicMask, (m_outside + L"\\pm.bmp").c_str());
    part.zhongwenHasPic = true;
    wcscpy(part.zhongwenPic, (m_outside + L"\\z.png").c_str());
    ASSERT_TRUE(part.Save()) << part.Message().c_str();
    EXPECT_EQ(m_outside + L"\\pm.bmp", part.pinyinPicMask);
    EXPECT_STREQ(L"skin2_2.png", part.zhongwenPic);
    EXPECT_EQ("z", ReadRaw(m_work + L"\\skin2_2.png"));
    EXPECT_FALSE(Exists(m_work + L"\\skin2_1_mask.bmp"));
}

TEST_F(LayoutImport, BareNamesAndNoWorkFolder)
{
    wchar_t path[MAX_PATH] = L"skin1.png";
    t_errorChain errors;
    EXPECT_TRUE(BaseInfo::ImportPicture(errors, path, MAX_PATH, L"skin1"));
    EXPECT_STREQ(L"skin1.png", path);

    // A name that does not fit the buffer is refused before anything is copied.
    ASSERT_TRUE(WriteRaw(m_outside + L"\\a.png", "a"));
    wcscpy(path, (m_outside + L"\\a.png").c_str());
    EXPECT_FALSE(BaseInfo::ImportPicture(errors, path, 8, L"skin1"));
    EXPECT_FALSE(Exists(m_work + L"\\skin1.png"));

    BaseInfo::SetWorkFolder(L"");
    errors.Clear();
    EXPECT_FALSE(BaseInfo::ImportPicture(errors, path, MAX_PATH, L"skin1"));
    EXPECT_TRUE(errors.IsFailed());
    EXPECT_EQ(m_outside + L"\\a.png", path);
}
