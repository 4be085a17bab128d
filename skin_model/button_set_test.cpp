#include "skin_model/button_set.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t* const c_testData = KAVREL_SOURCE_DIR L"\\skin_model\\testdata\\";

t_iniDocument& Ini() { return *SkinIni::Instance(); }

std::wstring Fixture(const wchar_t* name) { return std::wstring(c_testData) + name; }

struct t_sevenSets {
    std::unique_ptr<BtnInfo> sets[c_buttonWindowCount];

    t_sevenSets()
    {
        for (int w = 0; w < c_buttonWindowCount; ++w)
            sets[w].reset(BtnInfo::New(w));
    }
    BtnInfo& operator[](int w) { return *sets[w]; }

    void LoadAll()
    {
        for (auto& set : sets)
            EXPECT_TRUE(set->Load());
    }
    // As the document commits: the shared document is cleared, then every set writes.
    void SaveAll()
    {
        Ini().Clear();
        for (auto& set : sets)
            EXPECT_TRUE(set->Save());
    }
};

void LoadText(const wchar_t* text)
{
    Ini().Clear();
    const std::wstring body = std::wstring(L"\xFEFF") + text;
    ASSERT_TRUE(Ini().ReadFromMemory(body.data(), body.size() * sizeof(wchar_t), 936));
}

std::wstring Saved(const wchar_t* section, const wchar_t* key)
{
    const wchar_t* text = SkinIni::GetText(section, key);
    return text ? text : L"<missing>";
}

std::wstring IntsOf(BtnInfo& set, const wchar_t* key, int n)
{
    std::wstring out;
    for (int i = 0; i < n; ++i) {
        int v = -99;
        EXPECT_TRUE(set.GetIntByKey(key, i, v)) << key;
        out += (i ? L"," : L"") + std::to_wstring(v);
    }
    return out;
}

std::wstring TextOf(BtnInfo& set, const wchar_t* key, int position = 0)
{
    t_str text;
    return set.GetStringByKey(key, position, text) ? text.c_str() : L"<none>";
}

void ExpectSameFile(const std::wstring& written, const wchar_t* golden)
{
    const std::string got = ReadRaw(written);
    const std::string want = ReadRaw(Fixture(golden));
    ASSERT_NE(want, "<missing>");
    if (got == want)
        return;
    size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at])
        ++at;
    ADD_FAILURE() << "differs from " << golden << " at byte " << at << " (sizes " << got.size() << " and "
                  << want.size() << ")";
}

TEST(ButtonSet, KeySchemeOfTheSevenSets)
{
    struct t_case {
        int window;
        const wchar_t* key;
        int position;
        const wchar_t* fullKey;
    };
    const t_case cases[] = {
        {c_windowStatusBar, L"cn_en_down", 2, L"cn_en_down"},
        {c_windowHorizontalCombined, L"menu_align", 9, L"menu_align"},
        {c_windowHorizontalComp, L"pageup_display", 0, L"comp_pageup_display"},
        {c_windowHorizontalCand, L"custom0_pos", 1, L"cand_custom0_pos"},
        {c_windowVerticalComp, L"skinmanager", 0, L"comp_skinmanager"},
        {c_windowVerticalCand, L"passport_up", 1, L"cand_passport_up"},
    };
    t_sevenSets sets;
    for (const t_case& c : cases) {
        InfoItem* cell = sets[c.window].FindOrAddItem(c.key, c.position);
        ASSERT_NE(cell, nullptr) << c.key;
        EXPECT_EQ(std::wstring(cell->GetName().c_str()), c.fullKey);
        EXPECT_EQ(cell->Position(), c.position);
    }
    const wchar_t* sections[c_buttonWindowCount] = {L"StatusBar", L"Scheme_H1", L"Scheme_H2", L"Scheme_H2",
                                                    L"Scheme_V1", L"Scheme_V2", L"Scheme_V2"};
    for (int w = 0; w < c_buttonWindowCount; ++w) {
        EXPECT_STREQ(sets[w].Section(), sections[w]);
        EXPECT_EQ(sets[w].PartIndex(), ButtonSetPartOf(w));
        EXPECT_EQ(sets[w].AlignFlag(), w != c_windowStatusBar);
    }
    EXPECT_EQ(BtnInfo::New(c_buttonWindowCount), nullptr);
    // Cells per key follow the variant count; the built-in rows come in index order.
    EXPECT_NE(sets[0].FindItem(L"cn_en", 2), nullptr);
    EXPECT_EQ(sets[0].FindItem(L"cn_en", 3), nullptr);
    EXPECT_EQ(sets[0].FindItem(L"menu", 1), nullptr);
    EXPECT_EQ(sets[0].Row(6)[c_propNormal][0]->GetName().c_str(), std::wstring(L"menu"));
}

TEST(ButtonSet, NewSkinGolden)
{
    t_tempFolder temp(L"btn_new");
    t_sevenSets sets;
    for (int w = 0; w < c_buttonWindowCount; ++w)
        EXPECT_TRUE(sets[w].ResetAll());
    sets.SaveAll();
    EXPECT_EQ(Saved(L"StatusBar", L"cn_en"), L",,");
    EXPECT_EQ(Saved(L"Scheme_H1", L"cn_en_align"), L"0,0,0,0,0,0,0,0,6,0");
    t_errorChain errors;
    ASSERT_TRUE(Ini().WriteConfig(errors, (temp / L"Skin.ini").c_str()));
    ExpectSameFile(temp / L"Skin.ini", L"buttons_new_saved.ini");
}

// Custom, Flash and photo-frame buttons from count keys, partial lists, long lists,
// hexadecimal and negative counts, and free texts with blanks and commas.
TEST(ButtonSet, HandWrittenSkinGolden)
{
    t_tempFolder temp(L"btn_hand");
    t_errorChain errors;
    ASSERT_TRUE(Ini().ReadConfig(errors, Fixture(L"buttons_hand.ini").c_str(), 936));
    t_sevenSets sets;
    sets.LoadAll();
    EXPECT_EQ(sets[0].Count(c_btnCustom), 2);
    EXPECT_EQ(sets[3].Count(c_btnFlash), 2);
    EXPECT_EQ(sets[3].Count(c_btnPhotoFrame), 0);
    EXPECT_EQ(TextOf(sets[0], L"custom1_hint"), L"点击 这里, 然后 再说");
    EXPECT_EQ(TextOf(sets[0], L"custom1_url"), L"http://example.com/a,b?x=1 y");
    EXPECT_EQ(IntsOf(sets[0], L"custom1_pos", 2), L"5,0");
    EXPECT_TRUE(sets[0].UsesPngOrGif());
    EXPECT_FALSE(sets[1].UsesPngOrGif());

    sets.SaveAll();
    ASSERT_TRUE(Ini().WriteConfig(errors, (temp / L"Skin.ini").c_str()));
    ExpectSameFile(temp / L"Skin.ini", L"buttons_hand_saved.ini");

    // Loaded back from what was saved, the free texts are still whole.
    ASSERT_TRUE(Ini().ReadConfig(errors, (temp / L"Skin.ini").c_str(), 936));
    t_sevenSets again;
    again.LoadAll();
    EXPECT_EQ(TextOf(again[0], L"custom1_hint"), L"点击 这里, 然后 再说");
    EXPECT_EQ(TextOf(again[0], L"custom1_url"), L"http://example.com/a,b?x=1 y");
}

TEST(ButtonSet, RemovingACustomButtonRenumbersTheRest)
{
    LoadText(L"[StatusBar]\r\ncustom_cnt=3\r\ncustom0=a.bmp\r\ncustom1=b.bmp\r\ncustom1_pos=11,12\r\n"
             L"custom2=c.bmp\r\ncustom2_hint=third\r\nflash_cnt=1\r\nflash0=f.bmp\r\n");
    std::unique_ptr<BtnInfo> set(BtnInfo::New(0));
    ASSERT_TRUE(set->Load());
    set->RemoveButton(0, c_btnCustom);

    EXPECT_EQ(set->Count(c_btnCustom), 2);
    EXPECT_EQ(TextOf(*set, L"custom0"), L"b.bmp");
    EXPECT_EQ(IntsOf(*set, L"custom0_pos", 2), L"11,12");
    EXPECT_EQ(TextOf(*set, L"custom1"), L"c.bmp");
    EXPECT_EQ(TextOf(*set, L"custom1_hint"), L"third");
    EXPECT_EQ(set->FindItem(L"custom2", 0), nullptr);
    // Renamed cells carry their new keys, and the rows stay in flat order.
    const int row = set->RowOf(1, c_btnCustom);
    EXPECT_EQ(std::wstring(set->Row(row)[c_propHint][0]->GetName().c_str()), L"custom1_hint");
    EXPECT_EQ(std::wstring(set->Row(set->RowOf(0, c_btnFlash))[c_propNormal][0]->GetName().c_str()), L"flash0");

    set->Save();
    EXPECT_EQ(Saved(L"StatusBar", L"custom_cnt"), L"2");
    EXPECT_EQ(Saved(L"StatusBar", L"custom1_hint"), L"third");
    // The shared document is not cleared here, so custom2 keeps its old line; a cleared
    // one never gets it.
    Ini().Clear();
    set->Save();
    EXPECT_EQ(Saved(L"StatusBar", L"custom2"), L"<missing>");

    // Built-in buttons and buttons that do not exist are left alone.
    set->RemoveButton(0, c_btnBuiltIn);
    set->RemoveButton(5, c_btnCustom);
    EXPECT_EQ(set->RowCount(), c_builtInButtonCount + 2 + 1);
    set->RemoveAllExtraButtons();
    EXPECT_EQ(set->RowCount(), c_builtInButtonCount);
    EXPECT_EQ(set->Count(c_btnFlash), 0);
}

// Counts from the file are held to 0..100 however large or negative they are.
TEST(ButtonSet, CountsFromTheFileAreBounded)
{
    struct t_case {
        const wchar_t* value;
        int count;
    };
    const t_case cases[] = {
        {L"10000000", 100}, {L"100", 100}, {L"101", 100}, {L"0x7fffffff", 100}, {L"-5", 0}, {L"", 0},
        {L"abc", 0},        {L"0xZZ", 0},  {L"3", 3},     {L"2,9", 2},
    };
    std::unique_ptr<BtnInfo> set(BtnInfo::New(2));
    for (const t_case& c : cases) {
        LoadText((std::wstring(L"[Scheme_H2]\r\ncomp_photoframe_cnt=") + c.value + L"\r\n").c_str());
        ASSERT_TRUE(set->Load());
        EXPECT_EQ(set->Count(c_btnPhotoFrame), c.count) << c.value;
        EXPECT_EQ(set->RowCount(), c_builtInButtonCount + c.count) << c.value;
    }
    Ini().Clear();
    set->Save();
    EXPECT_EQ(Saved(L"Scheme_H2", L"comp_photoframe_cnt"), L"2");
}

TEST(ButtonSet, LoadReadsListsCellByCell)
{
    LoadText(L"[StatusBar]\r\ncustom_cnt=2\r\ncustom1_pos=5,7\r\ncustom0_pos=5\r\n"
             L"cn_en_pos=0x10, -3 ,99\r\nbiaodian=a b.png\r\n");
    std::unique_ptr<BtnInfo> set(BtnInfo::New(0));
    ASSERT_TRUE(set->SetIntByKey(L"menu_pos", 0, 42));
    ASSERT_TRUE(set->Load());
    EXPECT_EQ(IntsOf(*set, L"custom1_pos", 2), L"5,7");
    EXPECT_EQ(IntsOf(*set, L"custom0_pos", 2), L"5,0");
    EXPECT_EQ(IntsOf(*set, L"cn_en_pos", 2), L"16,-3");
    EXPECT_EQ(TextOf(*set, L"biaodian", 0), L"a b.png");
    EXPECT_EQ(IntsOf(*set, L"menu_pos", 2), L"0,0");  // a missing key resets its cells

    // A single value for a key of several cells sets cell 0 and keeps the others.
    ASSERT_TRUE(set->SetIntByKey(L"custom1_pos", 1, 70));
    LoadText(L"[StatusBar]\r\ncustom_cnt=2\r\ncustom1_pos=8\r\n");
    ASSERT_TRUE(set->Load());
    EXPECT_EQ(IntsOf(*set, L"custom1_pos", 2), L"8,0");  // fresh cells after the reload
}

TEST(ButtonSet, KeysThatNameAButtonAddIt)
{
    std::unique_ptr<BtnInfo> set(BtnInfo::New(1));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(set->AddButton(i, c_btnCustom));
    int value = -1;
    EXPECT_TRUE(set->GetIntByKey(L"custom3_display", 0, value));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(set->Count(c_btnCustom), 4);

    // Beyond the next index the buttons in between are added too.
    EXPECT_TRUE(set->SetStringByKey(L"custom6_hint", 0, L"x"));
    EXPECT_EQ(set->Count(c_btnCustom), 7);
    EXPECT_NE(set->FindItem(L"custom5_up", 0), nullptr);
    EXPECT_EQ(set->RowOf(6, c_btnCustom), c_builtInButtonCount + 6);

    struct t_case {
        const wchar_t* key;
        int position;
    };
    const t_case refused[] = {
        {L"bogus_flashfile", 0}, {L"nothing", 0},          {L"custom100_display", 0},
        {L"flash0_nothing", 0},  {L"custom-2_display", 0}, {L"cn_en_pos", 2},
    };
    for (const t_case& c : refused) {
        EXPECT_FALSE(set->GetIntByKey(c.key, c.position, value)) << c.key;
        EXPECT_EQ(set->Count(c_btnFlash), 0) << c.key;
        EXPECT_EQ(set->Count(c_btnCustom), 7) << c.key;
    }
    // The wrong kind is refused without a change.
    t_str text;
    EXPECT_FALSE(set->GetStringByKey(L"custom0_display", 0, text));
    EXPECT_FALSE(set->SetIntByKey(L"custom0_hint", 0, 3));
    EXPECT_FALSE(set->SetIntByKey(L"custom0_display", 1, 3));
    EXPECT_FALSE(set->AddButton(100, c_btnCustom));
    EXPECT_FALSE(set->AddButton(0, c_btnBuiltIn));

    set->SetButtonVisible(2, c_btnPhotoFrame, true);
    EXPECT_EQ(set->Count(c_btnPhotoFrame), 3);
    EXPECT_TRUE(set->IsButtonVisible(set->RowOf(2, c_btnPhotoFrame)));
    set->SetButtonVisible(c_builtInButtonCount, c_btnBuiltIn, true);
    set->ResetCellByKey(L"photoframe2_display", 0);
    EXPECT_FALSE(set->IsButtonVisible(set->RowOf(2, c_btnPhotoFrame)));
}

TEST(ButtonSet, PageKeysAreShownTogether)
{
    struct t_case {
        bool up;
        bool down;
        const wchar_t* message;
    };
    const t_case cases[] = {
        {true, false, L"向下翻页按钮不可见, 翻页键被禁用"},
        {false, true, L"向上翻页按钮不可见, 翻页键被禁用"},
        {true, true, L""},
        {false, false, L""},
    };
    for (const t_case& c : cases) {
        BtnInfo set(3, L"Scheme_H2", L"cand", true);
        set.Message().Assign(L"old");
        set.SetButtonVisible(c_btnPageUp, c_btnBuiltIn, c.up);
        set.SetButtonVisible(c_btnPageDown, c_btnBuiltIn, c.down);
        EXPECT_EQ(set.SyncPageKeys(), c.message[0] == 0);
        EXPECT_EQ(std::wstring(set.Message().c_str()), c.message);
        const bool both = c.up && c.down;
        EXPECT_EQ(set.IsButtonVisible(set.RowOf(c_btnPageUp, c_btnBuiltIn)), both);
        EXPECT_EQ(set.IsButtonVisible(set.RowOf(c_btnPageDown, c_btnBuiltIn)), both);
    }
}

TEST(ButtonSet, DisabledPagePictureGoesToEveryState)
{
    const wchar_t* const states[] = {L"_down", L"_hover", L"_in", L"_out", L"_downing", L"_up"};
    for (const wchar_t* button : {L"pageup", L"pagedown"}) {
        BtnInfo set(0, L"StatusBar", nullptr, false);
        ASSERT_TRUE(set.SetStringByKey(button, 1, L"off.png"));
        for (const wchar_t* state : states) {
            const std::wstring key = std::wstring(button) + state;
            EXPECT_EQ(TextOf(set, key.c_str(), 1), L"off.png") << key;
            EXPECT_EQ(TextOf(set, key.c_str(), 0), L"") << key;
        }
    }
    // Position 0, or another button's normal key, copies nothing.
    BtnInfo set(0, L"StatusBar", nullptr, false);
    ASSERT_TRUE(set.SetStringByKey(L"pageup", 0, L"on.png"));
    ASSERT_TRUE(set.SetStringByKey(L"passport", 1, L"in.png"));
    ASSERT_TRUE(set.SetStringByKey(L"pageup_hover", 1, L"h.png"));
    EXPECT_EQ(TextOf(set, L"pageup_down", 0), L"");
    EXPECT_EQ(TextOf(set, L"passport_down", 1), L"");
    EXPECT_EQ(TextOf(set, L"pageup_up", 1), L"");
}

TEST(ButtonSet, CopiesAreIndependent)
{
    BtnInfo source(5, L"Scheme_V2", L"comp", true);
    source.SetIniPath(L"C:\\skin\\Skin.ini");
    ASSERT_TRUE(source.SetStringByKey(L"custom1", 0, L"c1.gif"));
    ASSERT_TRUE(source.SetIntByKey(L"flash0_align", 8, 2));
    ASSERT_TRUE(source.SetIntByKey(L"menu_display", 0, 1));

    BtnInfo copy(source);
    EXPECT_STREQ(copy.IniPath(), L"C:\\skin\\Skin.ini");
    EXPECT_EQ(copy.Count(c_btnCustom), 2);
    EXPECT_EQ(copy.Count(c_btnFlash), 1);
    EXPECT_EQ(TextOf(copy, L"custom1"), L"c1.gif");
    EXPECT_EQ(IntsOf(copy, L"flash0_align", 10), L"0,0,0,0,0,0,0,0,2,0");
    EXPECT_TRUE(copy.IsButtonVisible(6));

    // Work on the copy, then write it back.
    copy.RemoveButton(0, c_btnCustom);
    ASSERT_TRUE(copy.SetStringByKey(L"custom0_hint", 0, L"edited"));
    EXPECT_EQ(source.Count(c_btnCustom), 2);
    EXPECT_EQ(TextOf(source, L"custom0_hint"), L"");
    ASSERT_TRUE(copy.CopyTo(source));
    EXPECT_EQ(source.Count(c_btnCustom), 1);
    EXPECT_EQ(TextOf(source, L"custom0"), L"c1.gif");
    EXPECT_EQ(TextOf(source, L"custom0_hint"), L"edited");
    EXPECT_EQ(source.FindItem(L"custom1", 0), nullptr);
    ASSERT_TRUE(source.CopyTo(source));
    EXPECT_EQ(source.Count(c_btnFlash), 1);

    // The keys of another window are never copied in.
    BtnInfo other(6, L"Scheme_V2", L"cand", true);
    EXPECT_FALSE(source.CopyTo(other));
    EXPECT_EQ(other.Count(c_btnCustom), 0);
}

TEST(ButtonSet, ResetKeepsTheButtonsAndSaveSkipsEmptyFreeTexts)
{
    LoadText(L"[StatusBar]\r\nflash_cnt=1\r\nflash0_hint=  \r\nflash0_url=u\r\nmenu_pos=1,2\r\n");
    std::unique_ptr<BtnInfo> set(BtnInfo::New(0));
    ASSERT_TRUE(set->Load());
    Ini().Clear();
    set->Save();
    EXPECT_EQ(Saved(L"StatusBar", L"flash0_hint"), L"<missing>");
    EXPECT_EQ(Saved(L"StatusBar", L"flash0_url"), L"u");
    EXPECT_EQ(Saved(L"StatusBar", L"flash0_flashfile"), L"");
    EXPECT_EQ(Saved(L"StatusBar", L"menu_pos"), L"1,2");
    EXPECT_EQ(Saved(L"StatusBar", L"menu_align"), L"<missing>");

    ASSERT_TRUE(set->Clear());
    EXPECT_EQ(set->Count(c_btnFlash), 1);
    EXPECT_EQ(TextOf(*set, L"flash0_url"), L"");
    EXPECT_EQ(IntsOf(*set, L"menu_pos", 2), L"0,0");
}

// Arbitrary bytes as Skin.ini: every key of the scheme with random values, counts
// included. Nothing may crash, and counts stay within the type's range.
TEST(ButtonSet, SurvivesArbitraryValues)
{
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    const wchar_t alphabet[] = L"0123456789,, x-xX+abcfF;=\t\x4e2d\xFFFF";
    std::unique_ptr<BtnInfo> reference(BtnInfo::New(2));
    reference->AddButton(3, c_btnCustom);
    reference->AddButton(3, c_btnFlash);
    reference->AddButton(3, c_btnPhotoFrame);
    std::vector<std::wstring> keys;
    for (int r = 0; r < reference->RowCount(); ++r) {
        for (int p = 0; p < c_propCount; ++p)
            keys.push_back(reference->Row(r)[p][0]->GetName().c_str());
    }
    for (const wchar_t* word : {L"comp_custom_cnt", L"comp_flash_cnt", L"comp_photoframe_cnt"})
        keys.push_back(word);

    std::unique_ptr<BtnInfo> set(BtnInfo::New(2));
    for (int round = 0; round < 20; ++round) {
        std::wstring text = L"[Scheme_H2]\r\n";
        for (const std::wstring& key : keys) {
            if (next() % 3 == 0)
                continue;
            text += key + L"=";
            const int length = static_cast<int>(next() % 40);
            for (int i = 0; i < length; ++i)
                text += alphabet[next() % (sizeof(alphabet) / sizeof(alphabet[0]) - 1)];
            text += L"\r\n";
        }
        LoadText(text.c_str());
        ASSERT_TRUE(set->Load());
        for (int type = c_btnCustom; type <= c_btnPhotoFrame; ++type) {
            EXPECT_GE(set->Count(type), 0);
            EXPECT_LE(set->Count(type), 100);
        }
        Ini().Clear();
        EXPECT_TRUE(set->Save());
        EXPECT_TRUE(set->SyncPageKeys() || !set->Message().IsEmpty());
    }
}

}  // namespace
