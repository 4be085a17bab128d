#include "ime_ui/skin/skin_config_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <random>
#include <string>

#include "tests/support/fuzz_input.h"
#include "tests/support/skin_value_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

namespace {

// Every section, every kind of key and every prefix the reader composes.
const wchar_t c_fullSkin[] = L"[General]\r\n"
                             L"skin_name=不读\r\n"
                             L"skin_id=栖鹭默认\r\n"
                             L"widget_cnt=2\r\n"
                             L"\r\n"
                             L"[Display]\r\n"
                             L"font_size=12\r\n"
                             L"font_ch=宋体\r\n"
                             L"font_en=Arial\r\n"
                             L"pinyin_color=0x554133\r\n"
                             L"zhongwen_color=255\r\n"
                             L"zhongwen_first_color=0xbe6e25\r\n"
                             L"zhongwen_first_bk_color=-1\r\n"
                             L"result_color=0x1\r\n"
                             L"bihua_color=0x2\r\n"
                             L"comphint_color=0x3\r\n"
                             L"caret_color=0x4\r\n"
                             L"use_gdip=1\r\n"
                             L"clear_edge=1\r\n"
                             L"webpage=http://example.com/主页\r\n"
                             L"aero=1\r\n"
                             L"glow=0\r\n"
                             L"default_skin=1\r\n"
                             L"\r\n"
                             L"[Scheme_H1]\r\n"
                             L"transparent_color=0xff00ff\r\n"
                             L"transparent_color_enable=1\r\n"
                             L"click_color=0x10\r\n"
                             L"click_color_enable=1\r\n"
                             L"opaque=200\r\n"
                             L"layered=0\r\n"
                             L"pic=h1.png<1;2;30;40>\r\n"
                             L"pic_mask=h1_mask.bmp\r\n"
                             L"layout_horizontal=1,8,9\r\n"
                             L"layout_vertical=0,3,4\r\n"
                             L"cn_en_display=1\r\n"
                             L"cn_en_align=1,2,3,4,5,6,7,8,9,10\r\n"
                             L"cn_en=c1.png,e1.png,a1.png\r\n"
                             L"cn_en_down=c3.png,e3.png,a3.png\r\n"
                             L"cn_en_hint=中/英\r\n"
                             L"logo_display=1\r\n"
                             L"logo_url=http://logo\r\n"
                             L"custom_cnt=2\r\n"
                             L"custom0_display=1\r\n"
                             L"custom0_hover=x.png<0;0;8;8>\r\n"
                             L"component_cnt=1\r\n"
                             L"component0_display=1\r\n"
                             L"component0_BundleId=bundle\r\n"
                             L"component0_ComId=com\r\n"
                             L"webpage_url=http://h1\r\n"
                             L"flash_cnt=1\r\n"
                             L"flash0=f.swf\r\n"
                             L"flash0_width=10\r\n"
                             L"flash0_showDisable=1\r\n"
                             L"flash0_framecnt=5\r\n"
                             L"flashbk=bk.swf\r\n"
                             L"flashbk_security=1\r\n"
                             L"flashbk_width=2\r\n"
                             L"flashbk_height=3\r\n"
                             L"pinyin_marge=1,2,3,4\r\n"
                             L"zhongwen_marge=5,6,7,8\r\n"
                             L"anchor=9,10\r\n"
                             L"separator=0xff0000,2,3\r\n"
                             L"\r\n"
                             L"[Scheme_H2]\r\n"
                             L"pinyin_pic=comp.png\r\n"
                             L"pinyin_pic_mask=comp_mask.bmp\r\n"
                             L"pinyin_layout_horizontal=2,5,5\r\n"
                             L"pinyin_layout_vertical=2,6,6\r\n"
                             L"zhongwen_pic=cand.png\r\n"
                             L"zhongwen_layout_horizontal=1,1,1\r\n"
                             L"comp_menu_display=1\r\n"
                             L"comp_menu=m.png\r\n"
                             L"cand_pageup_display=1\r\n"
                             L"cand_pageup_pos=7,8\r\n"
                             L"comp_custom_cnt=1\r\n"
                             L"comp_custom0=cc.png\r\n"
                             L"cand_component_cnt=1\r\n"
                             L"cand_component0_ComId=cid\r\n"
                             L"comp_webpage_url=http://comp\r\n"
                             L"cand_flash_cnt=1\r\n"
                             L"cand_flash0=c.swf\r\n"
                             L"cand_flash0_hidefullscreen=1\r\n"
                             L"comp_flashbk=cb.swf\r\n"
                             L"comp_flashbk_width=11\r\n"
                             L"pinyin_marge=1,1,1,1\r\n"
                             L"zhongwen_marge=2,2,2,2\r\n"
                             L"anchor=3,3\r\n"
                             L"\r\n"
                             L"[StatusBar]\r\n"
                             L"opaque=128\r\n"
                             L"pic=status.png\r\n"
                             L"pic_mask=status_mask.bmp\r\n"
                             L"pic_preview=preview.png<0;0;100;30>\r\n"
                             L"cn_en_display=1\r\n"
                             L"cn_en_pos=16,4\r\n"
                             L"cn_en=cn1.png,en1.png,a1.png\r\n"
                             L"skinmanager_display=1\r\n"
                             L"custom_cnt=1\r\n"
                             L"custom0=s.png\r\n"
                             L"webpage_url=http://status\r\n"
                             L"flash_cnt=0\r\n"
                             L"flashbk=s.swf\r\n"
                             L"flashbk_security=0\r\n"
                             L"flashbk_width=4\r\n"
                             L"flashbk_height=5\r\n";

std::wstring Text(const SkinStr& value) { return value.Text(); }

void ExpectFullSkin(const SkinConfigFile& skin)
{
    EXPECT_EQ(L"栖鹭默认", Text(skin.skin_id));
    EXPECT_EQ(2, skin.widget_cnt.Value());

    const SkinDisplay& d = skin.display;
    EXPECT_EQ(12, d.font_size.Value());
    EXPECT_EQ(L"宋体", Text(d.font_ch));
    EXPECT_EQ(0x554133u, d.pinyin_color.Value());
    EXPECT_EQ(255u, d.zhongwen_color.Value());
    EXPECT_TRUE(d.zhongwen_first_bk_color.IsPresent());
    EXPECT_EQ(0x4u, d.caret_color.Value());
    EXPECT_EQ(L"http://example.com/主页", Text(d.webpage));
    EXPECT_TRUE(d.use_gdip.Value() && d.clear_edge.Value() && d.aero.Value() && d.default_skin.Value());
    EXPECT_TRUE(d.glow.IsPresent());

    const SkinSchemeCombined& h1 = skin.schemeH1;
    EXPECT_EQ(0xff00ffu, h1.common.transparent_color.Value());
    EXPECT_TRUE(h1.common.click_color_enable.Value());
    EXPECT_EQ(200, h1.common.opaque.Value());
    EXPECT_FALSE(h1.common.layered.Value());
    EXPECT_EQ(L"h1.png<1;2;30;40>", SkinValueText(h1.window.pic));
    EXPECT_EQ(L"1,8,9", SkinValueText(h1.window.layout_horizontal));
    const SkinBtn& cnEn = h1.window.buttons.Button(t_skinButton::e_cnEn);
    EXPECT_TRUE(cnEn.display.Value());
    EXPECT_EQ(7, cnEn.align.Value().leftMode);
    EXPECT_EQ(L"c1.png,e1.png,a1.png", SkinValueText(cnEn.normal));
    EXPECT_EQ(L"c3.png,e3.png,a3.png", SkinValueText(cnEn.down));
    EXPECT_EQ(L"中/英", Text(cnEn.hint));
    EXPECT_EQ(L"http://logo", Text(h1.window.buttons.Button(t_skinButton::e_logo).url));
    ASSERT_EQ(2, h1.window.buttons.custom.ItemCount());
    EXPECT_TRUE(h1.window.buttons.custom.Item(0).display.Value());
    EXPECT_EQ(L"x.png<0;0;8;8>", SkinValueText(h1.window.buttons.custom.Item(0).hover));
    EXPECT_TRUE(h1.window.buttons.custom.Item(1).display.IsDefault());
    ASSERT_EQ(1, h1.window.buttons.component.ItemCount());
    EXPECT_EQ(L"bundle", Text(h1.window.buttons.component.Item(0).BundleId));
    EXPECT_EQ(L"com", Text(h1.window.buttons.component.Item(0).ComId));
    EXPECT_EQ(L"http://h1", Text(h1.window.webpage_url));
    ASSERT_EQ(1, h1.window.flashs.ItemCount());
    EXPECT_EQ(L"f.swf", Text(h1.window.flashs.Item(0).file));
    EXPECT_EQ(10, h1.window.flashs.Item(0).width.Value());
    EXPECT_TRUE(h1.window.flashs.Item(0).showDisable.Value());
    EXPECT_EQ(5, h1.window.flashs.Item(0).framecnt.Value());
    EXPECT_EQ(L"bk.swf", Text(h1.window.flashBk.flashbk));
    EXPECT_EQ(3, h1.window.flashBk.height.Value());
    EXPECT_EQ(L"1,2,3,4", SkinValueText(h1.marges.pinyin_marge));
    EXPECT_EQ(10, h1.marges.anchor.Value().y);
    EXPECT_EQ(t_seperatorMode::e_line, h1.seperatorUi.Mode());
    EXPECT_EQ(L"0x00ff0000,2,3", SkinValueText(h1.seperatorUi.separator));

    const SkinSchemeSeparate& h2 = skin.schemeH2;
    EXPECT_EQ(L"comp.png", SkinValueText(h2.composition.pic));
    EXPECT_EQ(L"2,6,6", SkinValueText(h2.composition.layout_vertical));
    EXPECT_EQ(L"cand.png", SkinValueText(h2.candidate.pic));
    EXPECT_EQ(L"m.png", SkinValueText(h2.composition.buttons.Button(t_skinButton::e_menu).normal));
    EXPECT_EQ(8, h2.candidate.buttons.Button(t_skinButton::e_pageUp).pos.Value().y);
    EXPECT_FALSE(h2.candidate.buttons.Button(t_skinButton::e_menu).display.Value());
    ASSERT_EQ(1, h2.composition.buttons.custom.ItemCount());
    EXPECT_EQ(L"cc.png", SkinValueText(h2.composition.buttons.custom.Item(0).normal));
    ASSERT_EQ(1, h2.candidate.buttons.component.ItemCount());
    EXPECT_EQ(L"cid", Text(h2.candidate.buttons.component.Item(0).ComId));
    EXPECT_EQ(0, h2.composition.buttons.component.ItemCount());
    EXPECT_EQ(L"http://comp", Text(h2.composition.webpage_url));
    ASSERT_EQ(1, h2.candidate.flashs.ItemCount());
    EXPECT_TRUE(h2.candidate.flashs.Item(0).hidefullscreen.Value());
    EXPECT_EQ(L"cb.swf", Text(h2.composition.flashBk.flashbk));
    EXPECT_EQ(11, h2.composition.flashBk.width.Value());
    EXPECT_EQ(L"3,3", SkinValueText(h2.marges.anchor));
    // The picture prefix is not the window prefix: no "comp_pic" is read.
    EXPECT_FALSE(h2.candidate.pic_mask.IsPresent());

    const SkinStatusBarPart& s = skin.statusBar;
    EXPECT_EQ(128, s.common.opaque.Value());
    EXPECT_TRUE(s.common.layered.Value()) << "layered defaults to true";
    EXPECT_EQ(L"preview.png<0;0;100;30>", SkinValueText(s.pic_preview));
    EXPECT_EQ(L"16,4", SkinValueText(s.buttons.Button(t_skinButton::e_cnEn).pos));
    EXPECT_TRUE(s.buttons.Button(t_skinButton::e_skinManager).display.Value());
    ASSERT_EQ(1, s.buttons.custom.ItemCount());
    EXPECT_EQ(0, s.flashs.ItemCount());
    EXPECT_TRUE(s.flashs.count.IsPresent());
    EXPECT_EQ(5, s.flashBk.height.Value());

    // Sections the file doesn't hold stay at their defaults.
    EXPECT_FALSE(skin.schemeV1.window.pic.IsPresent());
    EXPECT_EQ(255, skin.schemeV2.common.opaque.Value());
    EXPECT_EQ(L"2,0,0", SkinValueText(skin.schemeV2.candidate.layout_horizontal));
}

// Counts the values of a parsed skin that are present and those off their defaults.
struct t_census : i_skinValueVisitor {
    int present = 0;
    int changed = 0;
    void Visit(const wchar_t*, const wchar_t*, const SkinTypeBase& value) override
    {
        present += value.IsPresent();
        changed += !value.IsDefault();
    }
};

std::string Cp936(const std::wstring& text)
{
    const int n = WideCharToMultiByte(936, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), 0);
    WideCharToMultiByte(936, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

class SkinConfigFileTest : public ::testing::Test {
protected:
    SkinConfigFileTest() : dir(L"skin_config") {}

    // Parses the text from memory (UTF-16 with its mark).
    bool Parse(const std::wstring& text)
    {
        const std::string bytes = Utf16File(text);
        return skin.ParseDefault(bytes.data(), bytes.size());
    }

    t_tempFolder dir;
    SkinConfigFile skin;
};

TEST_F(SkinConfigFileTest, EverySectionFillsItsPartFromFilesOfEitherEncodingAndFromMemory)
{
    const std::wstring utf16 = WriteUtf16File(dir, L"utf16.ini", c_fullSkin);
    ASSERT_FALSE(utf16.empty());
    const std::wstring gbk = dir / L"gbk.ini";
    ASSERT_TRUE(WriteRaw(gbk, Cp936(c_fullSkin)));

    // A full skin still parses false: it leaves keys such as flash counts of other
    // windows out, which the result reports while every value that is there loads.
    EXPECT_FALSE(skin.ParseConfig(utf16.c_str()));
    ExpectFullSkin(skin);
    EXPECT_FALSE(skin.ParseConfig(gbk.c_str()));
    ExpectFullSkin(skin);
    EXPECT_FALSE(Parse(c_fullSkin));
    ExpectFullSkin(skin);
    const std::string gbkBytes = Cp936(c_fullSkin);
    EXPECT_FALSE(skin.ParseDefault(gbkBytes.data(), gbkBytes.size()));
    ExpectFullSkin(skin);

    // A new parse never mixes in the values of the previous one.
    EXPECT_TRUE(Parse(L"[General]\r\nskin_id=x\r\nwidget_cnt=0\r\n"));
    t_census census;
    skin.Walk(census);
    EXPECT_EQ(2, census.present);
    EXPECT_EQ(1, census.changed) << "only skin_id differs from its default";

    EXPECT_FALSE(skin.ParseConfig((dir / L"missing.ini").c_str()));
    EXPECT_FALSE(skin.ParseConfig(nullptr));
    EXPECT_FALSE(skin.ParseDefault(nullptr, 4));
}

TEST_F(SkinConfigFileTest, ButtonsSaveUnderTheKeysTheyLoadFrom)
{
    Parse(c_fullSkin);
    SkinBtnComponent& original = skin.schemeH1.window.buttons.component.Item(0);
    t_iniDocument document(false);
    t_iniSection* section = document.Root()->AddSection(L"Scheme_H2");
    ASSERT_NE(nullptr, section);
    t_heap heap(0x1000);
    original.Save(section, L"cand_component0", heap);
    EXPECT_STREQ(L"bundle", section->Value(L"cand_component0_BundleId"));
    EXPECT_STREQ(L"1", section->Value(L"cand_component0_display"));
    EXPECT_EQ(nullptr, section->FindKey(L"cand_component0_hint")) << "defaults are not written";

    SkinBtn& cnEn = skin.schemeH1.window.buttons.Button(t_skinButton::e_cnEn);
    cnEn.Save(section, L"cand_cn_en", heap);
    SkinBtn copy;
    EXPECT_FALSE(copy.Load(section, L"cand_cn_en")) << "pos, the other states and url are missing";
    EXPECT_EQ(SkinValueText(cnEn.align), SkinValueText(copy.align));
    EXPECT_EQ(SkinValueText(cnEn.normal), SkinValueText(copy.normal));
    EXPECT_EQ(SkinValueText(cnEn.down), SkinValueText(copy.down));
    EXPECT_EQ(Text(cnEn.hint), Text(copy.hint));
    EXPECT_TRUE(copy.display.Value());

    copy.Reset();
    copy.Save(section, L"cand_cn_en", heap);
    EXPECT_EQ(nullptr, section->FindKey(L"cand_cn_en_align")) << "a default removes its key";
}

TEST_F(SkinConfigFileTest, SectionResultsFollowTheirKeys)
{
    const std::wstring statusComplete = L"[StatusBar]\r\ntransparent_color=0\r\ntransparent_color_enable=0\r\n"
                                        L"click_color=0\r\nclick_color_enable=0\r\nopaque=255\r\nlayered=1\r\n"
                                        L"pic=a.png\r\npic_mask=b.bmp\r\npic_preview=c.png\r\nwebpage_url=u\r\n"
                                        L"flashbk=f\r\nflashbk_security=0\r\nflashbk_width=0\r\nflashbk_height=0\r\n";
    struct {
        const wchar_t* what;
        std::wstring text;
        bool result;
    } const cases[] = {
        {L"general alone", L"[General]\r\nskin_id=x\r\nwidget_cnt=0\r\n", true},
        {L"general without its count", L"[General]\r\nskin_id=x\r\n", false},
        {L"names in any case", L"[general]\r\nSKIN_ID=x\r\nWidget_Cnt=0\r\n", true},
        {L"a section of another name", L"[General]\r\nskin_id=x\r\nwidget_cnt=0\r\n[Extra]\r\na=1\r\n", false},
        {L"status bar without flash_cnt", statusComplete, false},
        {L"status bar with flash_cnt", statusComplete + L"flash_cnt=0\r\n", true},
        {L"status bar with a button missing", statusComplete + L"flash_cnt=0\r\ncn_en_display=1\r\n", true},
        {L"empty file", L"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, Parse(c.text)) << testing::PrintToString(std::wstring(c.what));

    // A failing section keeps none of the others from being read.
    EXPECT_FALSE(Parse(L"[Extra]\r\n[display]\r\nFONT_SIZE=9\r\n[StatusBar]\r\npic=s.png\r\n"));
    EXPECT_EQ(9, skin.display.font_size.Value());
    EXPECT_EQ(L"s.png", std::wstring(skin.statusBar.pic.Value().file));
    EXPECT_EQ(0, skin.statusBar.flashs.ItemCount());
}

TEST_F(SkinConfigFileTest, SeparatorModeFollowsTheKeysPresent)
{
    const std::wstring pictureKeys = L"seperatorui_pic=sep.png\r\nseperatorui_layout_horizontal=0,1,1\r\n"
                                     L"seperatorui_layout_vertical=0,1,1\r\nseperatorui_to_left_right=400,5\r\n";
    struct {
        std::wstring keys;
        t_seperatorMode mode;
    } const cases[] = {
        {L"", t_seperatorMode::e_none},
        {L"separator=0xff0000,2,3\r\n", t_seperatorMode::e_line},
        {L"separator=0xff0000,2\r\n", t_seperatorMode::e_none},
        {pictureKeys, t_seperatorMode::e_picture},
        {pictureKeys + L"separator=0xff0000,2,3\r\n", t_seperatorMode::e_picture},
        {L"seperatorui_pic=sep.png\r\nseparator=1,2,3\r\n", t_seperatorMode::e_line},
    };
    for (const auto& c : cases) {
        Parse(L"[Scheme_V1]\r\n" + c.keys);
        EXPECT_EQ(c.mode, skin.schemeV1.seperatorUi.Mode()) << testing::PrintToString(c.keys);
    }
    Parse(L"[Scheme_V1]\r\n" + pictureKeys);
    EXPECT_EQ(300, skin.schemeV1.seperatorUi.to_left_right.Value().first);
    skin.Reset();
    EXPECT_EQ(t_seperatorMode::e_none, skin.schemeV1.seperatorUi.Mode());
    EXPECT_FALSE(skin.schemeV1.seperatorUi.pic.IsPresent());
}

TEST_F(SkinConfigFileTest, CountsAreBoundedAndItemsHoldDefaultsWhenTheirKeysAreMissing)
{
    struct {
        std::wstring line;
        int items;
        bool loaded;
    } const cases[] = {
        {L"custom_cnt=2", 2, true},
        {L"custom_cnt=0", 0, true},
        {L"custom_cnt=-5", 0, true},
        {L"custom_cnt=1000", 1000, true},
        // Indexes of 1000 and above are never read: the count is lowered to 1000.
        {L"custom_cnt=1001", 1000, true},
        {L"custom_cnt=2000000000", 1000, true},
        {L"custom_cnt=2147483646", 1000, true},
        {L"custom_cnt=0x10", 0, false},
        {L"custom_cnt=2147483647", 0, false},
        {L"custom_cnt=lots", 0, false},
        {L"custom_cnt=" + std::wstring(100000, L'9'), 0, false},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        Parse(L"[Scheme_H1]\r\n" + c.line + L"\r\ncustom999_display=1\r\n");
        const auto took = std::chrono::steady_clock::now() - start;
        const std::string label = testing::PrintToString(c.line.substr(0, 30));
        const SkinBtnsCustom& custom = skin.schemeH1.window.buttons.custom;
        ASSERT_EQ(c.items, custom.ItemCount()) << label;
        EXPECT_EQ(c.loaded, custom.count.IsPresent()) << label;
        if (c.items > 0) {
            EXPECT_FALSE(custom.Item(0).display.Value()) << label;
            EXPECT_EQ(c.items, custom.count.Value()) << label;
        }
        if (c.items == 1000) {
            EXPECT_TRUE(custom.Item(999).display.Value()) << label;
        }
        EXPECT_LT(took, std::chrono::seconds(5)) << label;
    }
}

TEST_F(SkinConfigFileTest, HostileTextIsBounded)
{
    // 100k-character values of every shape under keys of every kind.
    const std::wstring shapes[] = {std::wstring(100000, L'9'), std::wstring(100000, L','),
                                   L"a<" + std::wstring(100000, L';') + L">", std::wstring(100000, L'<')};
    for (const std::wstring& value : shapes) {
        std::wstring text = L"[Display]\r\n";
        for (const wchar_t* key : {L"font_size", L"font_ch", L"pinyin_color", L"use_gdip"})
            text += std::wstring(key) + L"=" + value + L"\r\n";
        text += L"[Scheme_H1]\r\n";
        for (const wchar_t* key : {L"pic", L"layout_horizontal", L"cn_en", L"cn_en_align", L"cn_en_pos", L"anchor",
                                   L"pinyin_marge", L"separator", L"custom_cnt"})
            text += std::wstring(key) + L"=" + value + L"\r\n";
        text += std::wstring(100000, L'k') + L"=" + value + L"\r\n";
        Parse(text);
        EXPECT_LE(skin.schemeH1.window.buttons.Button(t_skinButton::e_cnEn).normal.Value().count, 3);
        EXPECT_EQ(0, skin.schemeH1.window.buttons.custom.ItemCount());
    }

    // Damaged copies of a full skin and random bytes, each ending at a no-access page.
    std::mt19937 rng(23);
    t_guardedBytes guarded;
    const std::string utf16 = Utf16File(c_fullSkin);
    const std::string gbk = Cp936(c_fullSkin);
    for (int i = 0; i < 1500; ++i) {
        std::string bytes = i % 3 == 0 ? utf16 : i % 3 == 1 ? gbk : RandomBytes(rng, rng() % 512);
        if (i % 3 != 2)
            Mutate(bytes, rng);
        const uint8_t* at = guarded.Place(bytes);
        ASSERT_NE(nullptr, at);
        skin.ParseDefault(at, bytes.size());
        t_census census;
        skin.Walk(census);
    }
}

}  // namespace
