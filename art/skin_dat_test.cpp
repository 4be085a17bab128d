// The skin.dat that the build puts beside the programs: it must hold exactly the files
// of art/default_skin, and its Skin.ini must name only pictures that it carries, with
// the status-bar buttons inside the bar's picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/core/error_chain.h"
#include "tests/support/exe_folder.h"
#include "foundation/config/ini_document.h"
#include "foundation/records/skin_pack.h"
#include "tests/support/temp_folder.h"

namespace {

typedef std::vector<unsigned char> t_bytes;

// name -> bytes of every plain file directly inside folder.
std::map<std::wstring, std::string> FolderFiles(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files;
    ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
        if (!isFolder)
            files[name] = ReadRaw(folder + L"\\" + name);
    });
    return files;
}

bool IsPictureName(const std::wstring& text)
{
    size_t dot = text.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return false;
    std::wstring ext = text.substr(dot);
    return _wcsicmp(ext.c_str(), L".png") == 0 || _wcsicmp(ext.c_str(), L".bmp") == 0;
}

std::vector<std::wstring> SplitList(const wchar_t* value)
{
    std::vector<std::wstring> items;
    std::wstring text(value ? value : L"");
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(L',', start);
        items.push_back(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos)
            return items;
        start = comma + 1;
    }
}

// Width and height from a PNG header, or of a BMP; false for anything else.
bool PictureSize(const unsigned char* data, uint32_t count, int& w, int& h)
{
    static const unsigned char c_png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (count >= 24 && memcmp(data, c_png, 8) == 0) {
        w = (data[16] << 24) | (data[17] << 16) | (data[18] << 8) | data[19];
        h = (data[20] << 24) | (data[21] << 16) | (data[22] << 8) | data[23];
        return true;
    }
    if (count >= 26 && data[0] == 'B' && data[1] == 'M') {
        memcpy(&w, data + 18, 4);
        memcpy(&h, data + 22, 4);
        h = h < 0 ? -h : h;
        return true;
    }
    return false;
}

class SkinDatTest : public ::testing::Test {
protected:
    SkinDatTest() : m_ini(false) {}

    void SetUp() override
    {
        t_errorChain errors;
        ASSERT_TRUE(m_pack.Import(errors, (ExeFolder() + L"\\skin.dat").c_str()));
        t_varFile* ini = nullptr;
        ASSERT_TRUE(m_pack.Find(L"skin.ini", &ini));
        uint32_t count = 0;
        const unsigned char* bytes = ini->GetData(&count);
        ASSERT_GE(count, 2u);
        m_iniBytes.assign(bytes, bytes + count);
        ASSERT_TRUE(m_ini.ReadFromMemory(m_iniBytes.data(), m_iniBytes.size(), 936));
    }

    bool PictureOf(const std::wstring& name, int& w, int& h)
    {
        t_varFile* entry = nullptr;
        if (!m_pack.Find(name.c_str(), &entry))
            return false;
        uint32_t count = 0;
        const unsigned char* data = entry->GetData(&count);
        return PictureSize(data, count, w, h);
    }

    t_skinPack m_pack;
    t_bytes m_iniBytes;
    t_iniDocument m_ini;
};

TEST_F(SkinDatTest, HoldsExactlyTheFolderFiles)
{
    EXPECT_EQ(1u, m_pack.GetVersion());
    std::map<std::wstring, std::string> files = FolderFiles(std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin");
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(static_cast<int>(files.size()), m_pack.Count());
    for (const auto& file : files) {
        t_varFile* entry = nullptr;
        ASSERT_TRUE(m_pack.Find(file.first.c_str(), &entry)) << "missing from skin.dat";
        EXPECT_STREQ(file.first.c_str(), entry->GetName());
        uint32_t count = 0;
        const unsigned char* data = entry->GetData(&count);
        ASSERT_EQ(file.second.size(), count);
        EXPECT_TRUE(count == 0 || memcmp(file.second.data(), data, count) == 0);
    }
}

TEST_F(SkinDatTest, IniIsUtf16AndNamesOnlyPicturesItCarries)
{
    ASSERT_EQ(0xFF, m_iniBytes[0]);
    ASSERT_EQ(0xFE, m_iniBytes[1]);
    for (const wchar_t* section :
         {L"General", L"Display", L"Scheme_H1", L"Scheme_H2", L"Scheme_V1", L"Scheme_V2", L"StatusBar"})
        EXPECT_NE(nullptr, m_ini.Root()->FindSection(section)) << section;

    int named = 0;
    t_iniFile* root = m_ini.Root();
    for (int i = 0; i < root->LineCount(); ++i) {
        if (!root->IsNameLine(i))
            continue;
        t_iniSection* section = root->FindSection(root->Line(i));
        ASSERT_NE(nullptr, section);
        for (int k = 0; k < section->LineCount(); ++k) {
            if (!section->IsNameLine(k))
                continue;
            for (const std::wstring& item : SplitList(section->Value(section->Line(k)))) {
                if (!IsPictureName(item))
                    continue;
                int w = 0, h = 0;
                EXPECT_TRUE(PictureOf(item, w, h)) << "unreadable or missing picture";
                ++named;
            }
        }
    }
    EXPECT_GT(named, 50);
}

TEST_F(SkinDatTest, ShownStatusButtonsLieInsideTheBar)
{
    int barW = 0, barH = 0;
    const wchar_t* bar = m_ini.GetValue(L"StatusBar", L"pic");
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(PictureOf(bar, barW, barH));
    int shown = 0;
    for (const wchar_t* key : {L"cn_en", L"biaodian", L"quan_ban", L"quan_shuang", L"fan_jian", L"softkeyboard",
                               L"menu", L"vexilsearch", L"passport", L"webpage", L"skinmanager"}) {
        std::wstring k(key);
        const wchar_t* display = m_ini.GetValue(L"StatusBar", (k + L"_display").c_str());
        ASSERT_NE(nullptr, display);
        if (wcscmp(display, L"1") != 0)
            continue;
        ++shown;
        std::vector<std::wstring> pos = SplitList(m_ini.GetValue(L"StatusBar", (k + L"_pos").c_str()));
        ASSERT_EQ(2u, pos.size());
        int x = _wtoi(pos[0].c_str()), y = _wtoi(pos[1].c_str());
        for (const wchar_t* state : {L"", L"_hover", L"_down"}) {
            for (const std::wstring& picture : SplitList(m_ini.GetValue(L"StatusBar", (k + state).c_str()))) {
                int w = 0, h = 0;
                ASSERT_TRUE(PictureOf(picture, w, h));
                EXPECT_LE(x + w, barW);
                EXPECT_LE(y + h, barH);
            }
        }
    }
    EXPECT_GT(shown, 0);
}

}  // namespace
