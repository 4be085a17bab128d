#include "skin_model/skin_ini.h"

#include "foundation/core/singleton.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "tests/support/part_golden.h"
#include "skin_model/separate_info.h"
#include "skin_model/status_info.h"

#include <memory>

TEST(SkinIni, OneNamedDocumentForTheProcess)
{
    t_iniDocument* doc = SkinIni::Instance();
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ(doc, SkinIni::Instance());
    EXPECT_FALSE(doc->IsEncrypted());
    EXPECT_NE(nullptr, ImmSingletonRegistry::Global().Find("SkinIni"));
}

TEST(SkinIni, SettersAppendKeysAndSections)
{
    SkinIni::Instance()->Clear();
    EXPECT_EQ(nullptr, SkinIni::GetValue(L"A", L"x"));
    EXPECT_TRUE(SkinIni::SetInt(L"A", L"x", -5));
    EXPECT_TRUE(SkinIni::SetString(L"B", L"y", L"1"));
    EXPECT_TRUE(SkinIni::SetString(L"A", L"z", L"2"));
    EXPECT_TRUE(SkinIni::SetString(L"A", L"x", L"3"));  // keeps its place

    t_tempFolder folder(L"skin_ini");
    t_errorChain errors;
    ASSERT_TRUE(SkinIni::Instance()->WriteConfig(errors, (folder / L"Skin.ini").c_str()));
    EXPECT_EQ(L"[A]\r\nx=3\r\nz=2\r\n\r\n[B]\r\ny=1\r\n", Utf16Text(ReadRaw(folder / L"Skin.ini")));

    SkinIni::SetInt(L"A", L"x", -5);
    std::unique_ptr<Value> value(SkinIni::GetValue(L"A", L"x"));
    ASSERT_TRUE(value);
    EXPECT_STREQ(L"-5", value->Text().c_str());
}

TEST(SkinIni, LongValuesAreCutNeverOverrun)
{
    // Far past the copy buffer, with a list that only the cut part can show.
    const std::wstring text = std::wstring(1019, L'1') + L",2," + std::wstring(3000, L'3');
    SkinIni::Instance()->Clear();
    SkinIni::SetString(L"S", L"k", text.c_str());
    std::unique_ptr<Value> value(SkinIni::GetValue(L"S", L"k"));
    ASSERT_TRUE(value);
    EXPECT_EQ(SkinIni::c_valueChars - 1, value->Text().Length());
    ASSERT_EQ(t_valueKind::e_list, value->Kind());
    const ValueArray& list = static_cast<const ValueArray&>(*value);
    ASSERT_EQ(3, list.Count());
    EXPECT_STREQ(L"2", list.At(1)->Text().c_str());
    EXPECT_STREQ(L"3", list.At(2)->Text().c_str());
}

// The same skin in code page 936, UTF-16LE and UTF-8 with BOM loads the same values.
TEST(SkinIni, EveryEncodingLoadsTheSameSkin)
{
    t_tempFolder folder(L"skin_encodings");
    std::string first;
    for (const wchar_t* name : {L"hand_skin_936.ini", L"hand_skin_utf16.ini", L"hand_skin_utf8.ini"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        LoadSkinIni(SkinTestData(name));
        t_modelParts model;
        model.LoadAll();
        EXPECT_STREQ(L"秋日 晴空", model.general.skinName);
        EXPECT_STREQ(L"微软雅黑", model.display.fontCh);
        t_str pic;
        EXPECT_TRUE(model.status.GetString(L"pic", 0, pic));
        EXPECT_STREQ(L"my status.bmp", pic.c_str());

        model.SaveAll();
        t_errorChain errors;
        ASSERT_TRUE(SkinIni::Instance()->WriteConfig(errors, (folder / L"out.ini").c_str()));
        const std::string written = ReadRaw(folder / L"out.ini");
        if (first.empty())
            first = written;
        else
            EXPECT_TRUE(written == first) << testing::PrintToString(Utf16Text(written));
    }
}

// Arbitrary values under every key the parts read: loading and saving must neither
// crash nor overrun, whatever the text.
TEST(SkinIni, PartsSurviveArbitraryValues)
{
    static const wchar_t* const sections[] = {L"General",   L"Display",   L"Scheme_H1", L"Scheme_H2",
                                              L"Scheme_V1", L"Scheme_V2", L"StatusBar"};
    static const wchar_t* const keys[] = {L"skin_name",
                                          L"skin_time",
                                          L"font_size",
                                          L"font_ch",
                                          L"pinyin_color",
                                          L"webpage",
                                          L"use_gdip",
                                          L"LargeFontSupport",
                                          L"pic",
                                          L"pic_mask",
                                          L"layout_horizontal",
                                          L"separator",
                                          L"pinyin_marge",
                                          L"zhongwen_marge",
                                          L"transparent_color_enable",
                                          L"transparent_color",
                                          L"opaque",
                                          L"anchor",
                                          L"pinyin_pic",
                                          L"zhongwen_pic",
                                          L"zhongwen_layout_vertical"};
    static const wchar_t alphabet[] = L"0123456789xXaFg,,, .-+\\\t字";
    uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };

    t_tempFolder folder(L"skin_fuzz");
    for (int round = 0; round < 40; ++round) {
        std::wstring text;
        for (const wchar_t* section : sections) {
            text += std::wstring(L"[") + section + L"]\r\n";
            for (const wchar_t* key : keys) {
                const size_t length = next() % 5 == 0 ? 1500 + next() % 1500 : next() % 24;
                std::wstring value;
                for (size_t i = 0; i < length; ++i)
                    value += alphabet[next() % (sizeof(alphabet) / sizeof(wchar_t) - 1)];
                text += std::wstring(key) + L"=" + value + L"\r\n";
            }
        }
        LoadSkinText(text);
        t_modelParts model;
        model.LoadAll();
        SkinIni::Instance()->Clear();
        for (BaseInfo* part : model.parts)
            part->Save();
        EXPECT_GE(model.h1.opacity, 0);
        EXPECT_LE(model.h1.opacity, 100);
    }
}
