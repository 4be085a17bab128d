#include "skin_model/picture_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PicturePath, StaysInsideTheWorkFolder)
{
    const struct {
        const wchar_t* name;
        bool inside;
    } cases[] = {
        {L"skin1.png", true},
        {L"sub\\a.png", true},
        {L"sub/deeper/a.png", true},
        {L"sub\\..\\a.png", true},
        {L".\\a.png", true},
        {L"a..b.png", true},
        {L"", true},
        {L"..\\a.png", false},
        {L"sub\\..\\..\\a.png", false},
        {L"..\\..\\secret.png", false},
        {L"sub/../../secret.png", false},
        {L"C:\\Users\\me\\Documents\\secret.png", false},
        {L"C:secret.png", false},
        {L"c:/secret.png", false},
        {L"\\\\server\\share\\a.png", false},
        {L"//server/share/a.png", false},
        {L"\\\\?\\C:\\secret.png", false},
        {L"\\secret.png", false},
        {L"a.png:stream", false},
        {L"...\\a.png", false},
        {L".. \\a.png", false},
        {L"sub\\. .\\a.png", false},
        {L"CON.png", false},
        {L"sub\\nul.bmp", false},
        {L"com1.gif", false},
        {L"com0.gif", true},
        {L"console.png", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, n_picturePath::StaysInside(c.name)) << std::string(c.name, c.name + wcslen(c.name));
}

TEST(PicturePath, NamesAFileByItsExtension)
{
    for (const wchar_t* name : {L"a.png", L"A.BMP", L"x\\y.gif", L"f.swf", L"p.JPEG", L"t.tiff"})
        EXPECT_TRUE(n_picturePath::NamesAFile(name));
    for (const wchar_t* name : {L"", L"png", L".png", L"a.ini", L"C:\\notes.txt", L"http://x/y", L"a.png.txt"})
        EXPECT_FALSE(n_picturePath::NamesAFile(name));
}

TEST(PicturePath, RefusedItemsAreEmptiedAndReportedOncePerValue)
{
    t_iniDocument document(false);
    // UTF-16LE with its byte-order mark, as the editor writes Skin.ini.
    const wchar_t text[] = L"\xFEFF[Scheme_H1]\r\n"
                           L"pic=C:\\Users\\me\\secret.png\r\n"
                           L"pic_mask=sub\\mask.bmp\r\n"
                           L"[StatusBar]\r\n"
                           L";comment stays\r\n"
                           L"pic=..\\..\\secret.png\r\n"
                           L"btn_pic=a1.bmp, \\\\server\\share\\a2.bmp<0;0;10;10>,a3.bmp\r\n"
                           L"copy=C:\\Users\\me\\secret.png\r\n"
                           L"[General]\r\n"
                           L"skin_info=C:\\Windows: not a picture\r\n";
    ASSERT_TRUE(document.ReadFromMemory(text, sizeof(text) - sizeof(wchar_t), 936));
    t_errorChain notes;
    EXPECT_EQ(4, n_picturePath::RefuseOutside(document, notes));
    EXPECT_FALSE(notes.IsFailed());

    EXPECT_STREQ(L"", document.GetValue(L"Scheme_H1", L"pic"));
    EXPECT_STREQ(L"sub\\mask.bmp", document.GetValue(L"Scheme_H1", L"pic_mask"));
    EXPECT_STREQ(L"", document.GetValue(L"StatusBar", L"pic"));
    EXPECT_STREQ(L"a1.bmp,,a3.bmp", document.GetValue(L"StatusBar", L"btn_pic"));
    EXPECT_STREQ(L"C:\\Windows: not a picture", document.GetValue(L"General", L"skin_info"));

    std::wstring lines;
    for (const t_errorLine* line = notes.FirstLine(); line; line = line->next)
        lines += std::wstring(line->text.c_str()) + L"|";
    EXPECT_EQ(L"图片路径无效:C:\\Users\\me\\secret.png|图片路径无效:..\\..\\secret.png|"
              L"图片路径无效:a1.bmp, \\\\server\\share\\a2.bmp<0;0;10;10>,a3.bmp|",
              lines);

    // A clean document is left alone.
    t_errorChain none;
    EXPECT_EQ(0, n_picturePath::RefuseOutside(document, none));
    EXPECT_TRUE(none.IsEmpty());
}

}  // namespace
