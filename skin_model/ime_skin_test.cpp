#include "skin_model/ime_skin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "interfaces/ziplib.h"
#include "foundation/config/ini_document.h"
#include "foundation/files/path.h"
#include "foundation/records/skin_pack.h"
#include "tests/support/child_runner.h"
#include "tests/support/temp_folder.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/skin_cleaner.h"
#include "skin_model/skin_ini.h"
#include "skin_model/status_info.h"

namespace {

// A temporary folder of this program's own: the work folder "SkinTmp" lies in it.
t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"imeskin", true));

const std::wstring c_source = std::wstring(KAVREL_SOURCE_DIR) + L"\\skin_model\\testdata\\doc_skin";

std::wstring Work() { return g_temp->Path() + L"\\SkinTmp"; }

void MakeZip(const std::wstring& archive, const std::wstring& folder = c_source)
{
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(folder.c_str(), nullptr, archive.c_str()));
}

// A container of the fixture's files plus extra entries, written in either format.
void MakeContainer(const std::wstring& path, bool packed,
                   const std::vector<std::pair<std::wstring, std::string>>& extra = {})
{
    t_skinPack pack;
    ASSERT_TRUE(pack.AddFolder(c_source.c_str()));
    for (const auto& entry : extra) {
        t_varFile file;
        file.SetName(entry.first.c_str(), nullptr);
        file.SetData(reinterpret_cast<const unsigned char*>(entry.second.data()), uint32_t(entry.second.size()),
                     nullptr);
        ASSERT_TRUE(pack.AddFile(file));
    }
    t_errorChain errors;
    ASSERT_TRUE(pack.Export(errors, path.c_str(), packed)) << Lines(errors);
}

// The text Commit writes for the model as it stands (from an empty document, as Save
// commits, so that the text holds exactly the keys the parts write).
std::string Committed(IMESkin& skin)
{
    SkinIni::Instance()->Clear();
    t_errorChain errors;
    EXPECT_TRUE(skin.Commit(errors, false)) << Lines(errors);
    return ReadRaw(Work() + L"\\Skin.ini");
}

std::vector<std::wstring> IniLines(const std::string& bytes)
{
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    std::vector<std::wstring> out;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    out.push_back(text.substr(start));
    return out;
}

// Names the first line that differs.
void ExpectSameLines(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) {
            ADD_FAILURE() << "line " << i + 1 << " differs: [" << std::string(a[i].begin(), a[i].end()) << "] vs ["
                          << std::string(b[i].begin(), b[i].end()) << "]";
            return;
        }
    EXPECT_EQ(a.size(), b.size());
}

void ExpectSameIni(const std::string& expected, const std::string& actual)
{
    ExpectSameLines(IniLines(expected), IniLines(actual));
}

// The committed Skin.ini with every picture name that the work folder holds replaced by
// the picture's bytes: saving merges byte-identical pictures under one name, which
// changes names but not what the skin shows.
std::vector<std::wstring> ModelLines(IMESkin& skin)
{
    std::vector<std::wstring> lines = IniLines(Committed(skin));
    for (std::wstring& line : lines) {
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        std::wstring out = line.substr(0, equals + 1);
        std::wstring value = line.substr(equals + 1);
        size_t start = 0;
        while (true) {
            const size_t comma = value.find(L',', start);
            std::wstring item = value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
            const std::wstring name = item.substr(0, item.find(L'<'));
            const std::wstring path = Work() + L"\\" + name;
            if (!name.empty() && name.find(L'.') != std::wstring::npos && Exists(path))
                item = L"#" + std::to_wstring(std::hash<std::string>()(ReadRaw(path))) + item.substr(name.size());
            out += item;
            if (comma == std::wstring::npos)
                break;
            out += L',';
            start = comma + 1;
        }
        line = out;
    }
    return lines;
}

// The names whose bytes differ between two trees (or that only one holds), for short messages.
std::string TreeDiff(const t_fileTree& expected, const t_fileTree& actual)
{
    std::string out;
    for (const t_fileTree* side : {&expected, &actual})
        for (const auto& file : *side) {
            const t_fileTree& other = side == &expected ? actual : expected;
            const auto found = other.find(file.first);
            if ((found == other.end() || found->second != file.second) && (side == &expected || found == other.end()))
                out += std::string(file.first.begin(), file.first.end()) + " ";
        }
    return out;
}

// A package's Skin.ini value, read back through a fresh extraction.
std::wstring PackageValue(const std::wstring& archive, const wchar_t* section, const wchar_t* key,
                          std::vector<std::wstring>* names = nullptr)
{
    t_tempFolder out(L"imeskin_pkg");
    EXPECT_EQ(ZIPLIB_OK, UnZip(archive.c_str(), out.Path().c_str()));
    if (names)
        *names = NamesIn(out.Path());
    t_iniDocument ini(false);
    t_errorChain errors;
    EXPECT_TRUE(ini.ReadConfig(errors, (out / L"Skin.ini").c_str(), 936));
    const wchar_t* value = ini.GetValue(section, key);
    return value ? value : L"<missing>";
}

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    for (const std::wstring& n : names)
        if (_wcsicmp(n.c_str(), name) == 0)
            return true;
    return false;
}

const wchar_t* SkinName(IMESkin& skin) { return skin.General().skinName; }

std::string Utf8Of(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

class IMESkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_package = m_folder / L"皮肤.vsf";
        MakeZip(m_package);
    }
    void TearDown() override
    {
        m_skin.Close();
        for (const wchar_t* name : {L"SkinTmp", L"SkinTmp.dat", L"SkinTmp.tmp"})
            t_tempFolder::RemoveTree(g_temp->Path() + L"\\" + name);
    }

    t_tempFolder m_folder{L"imeskin_case"};
    std::wstring m_package;
    IMESkin m_skin;
};

TEST_F(IMESkinTest, OpenFillsTheWorkFolderThePartsAndTheWorkCopy)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    EXPECT_TRUE(m_skin.IsEditing());
    EXPECT_FALSE(m_skin.IsNew());
    EXPECT_EQ(Work(), m_skin.GetWorkFolder());
    EXPECT_EQ(Work(), BaseInfo::WorkFolder());
    EXPECT_STREQ(L"测试皮肤", SkinName(m_skin));
    EXPECT_EQ(ReadRaw(c_source + L"\\unused.png"), ReadRaw(Work() + L"\\unused.png"));

    // The packed copy of the preview: format 1, every file of the folder.
    t_skinPack copy;
    t_errorChain errors;
    ASSERT_TRUE(copy.Import(errors, (Work() + L".dat").c_str())) << Lines(errors);
    EXPECT_EQ(1u, copy.GetVersion());
    EXPECT_EQ(6, copy.Count());

    struct {
        const wchar_t* name;
        std::wstring expected;
    } paths[] = {
        {L"a.png", Work() + L"\\a.png"},
        {L"", Work()},
        {L"D:\\pics\\a.png", L"D:\\pics\\a.png"},
    };
    for (const auto& c : paths) {
        wchar_t out[MAX_PATH];
        ASSERT_TRUE(m_skin.ResolvePath(out, c.name));
        EXPECT_EQ(c.expected, out);
    }
}

TEST_F(IMESkinTest, OpenOfNoFileChangesNothing)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    m_skin.General().skinName[0] = L'改';
    const std::wstring missing = m_folder / L"missing.vsf";
    for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), L"", missing.c_str(), m_folder.Path().c_str()}) {
        EXPECT_FALSE(m_skin.Open(path));
        EXPECT_TRUE(m_skin.IsEditing());
        EXPECT_EQ(L'改', SkinName(m_skin)[0]);
        EXPECT_TRUE(Exists(Work() + L"\\unused.png"));
    }
}

TEST_F(IMESkinTest, RefusedPackagesLeaveTheDocumentClosed)
{
    const std::wstring p = m_folder.Path();
    MakeContainer(p + L"\\packed3.vsf", true);
    MakeContainer(p + L"\\up.vsf", false, {{L"..\\evil.png", "x"}});
    MakeContainer(p + L"\\dot.vsf", false, {{L".evil", "x"}});
    MakeContainer(p + L"\\slash.vsf", false, {{L"sub/evil.png", "x"}});
    // A packed container whose enciphered body is noise: refused from its header alone.
    WriteRaw(p + L"\\bogus3.vsf", std::string("Skin\x03\0\0\0", 8) + std::string(64, '\x7f'));
    CreateDirectoryW((p + L"\\noini").c_str(), nullptr);
    WriteRaw(p + L"\\noini\\a.png", "a");
    MakeZip(p + L"\\noini.vsf", p + L"\\noini");
    WriteRaw(p + L"\\garbage.vsf", "neither a zip nor a container");
    // Info-ZIP style traversal entry, refused as a whole by the zip library.
    std::string slip = ReadRaw(p + L"\\noini.vsf");
    for (size_t at = slip.find("a.png"); at != std::string::npos; at = slip.find("a.png", at + 1))
        slip.replace(at, 5, "../aa");
    WriteRaw(p + L"\\slip.vsf", slip);

    const std::string whole = ReadRaw(m_package);
    WriteRaw(p + L"\\cut.vsf", whole.substr(0, whole.size() / 2));
    WriteRaw(p + L"\\empty.vsf", "");
    // An entry whose sizes claim 300 MB: refused before anything is written.
    std::string bomb = whole;
    for (size_t at = bomb.find("PK\1\2"); at != std::string::npos; at = bomb.find("PK\1\2", at + 4)) {
        if (bomb.compare(at + 46, 9, "skin1.png") == 0) {
            for (const size_t field : {at + 20, at + 24})
                for (int i = 0; i < 4; ++i)
                    bomb[field + size_t(i)] = char((300u << 20) >> (8 * i));
        }
    }
    WriteRaw(p + L"\\bomb.vsf", bomb);
    CreateDirectoryW((p + L"\\blank").c_str(), nullptr);
    WriteRaw(p + L"\\blank\\Skin.ini", "");
    WriteRaw(p + L"\\blank\\a.png", "a");
    MakeZip(p + L"\\blankini.vsf", p + L"\\blank");

    // Each refusal says what is wrong with the package and names it.
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"packed3.vsf", L"格式3"},
        {L"bogus3.vsf", L"格式3"},
        {L"up.vsf", L"皮肤文件名无效(含< > : \" / \\ | ? *或控制字符)：..\\evil.png"},
        {L"dot.vsf", L"皮肤文件名无效(以“.”开头)：.evil"},
        {L"slash.vsf", L"皮肤文件名无效(含< > : \" / \\ | ? *或控制字符)：sub/evil.png"},
        {L"noini.vsf", L"皮肤包中没有Skin.ini"},
        {L"garbage.vsf", L"不是完整的zip文件"},
        {L"slip.vsf", L"会写到工作目录以外的文件名"},
        {L"cut.vsf", L"不是完整的zip文件"},
        {L"empty.vsf", L"皮肤包是空文件"},
        {L"bomb.vsf", L"皮肤包解压后过大"},
        {L"blankini.vsf", L"Skin.ini是空的"},
    };
    for (const auto& c : cases) {
        const wchar_t* name = c.first;
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        ASSERT_TRUE(m_skin.Open(m_package.c_str()));
        EXPECT_FALSE(m_skin.Open((p + L"\\" + name).c_str()));
        const std::wstring reason = Lines(m_skin.OpenNotes());
        EXPECT_NE(std::wstring::npos, reason.find(c.second)) << Utf8Of(reason);
        EXPECT_NE(std::wstring::npos, reason.find(p + L"\\" + name)) << Utf8Of(reason);
        if (wcscmp(name, L"empty.vsf") == 0) {
            // Refused before the open skin was touched.
            EXPECT_TRUE(m_skin.Close());
            continue;
        }
        EXPECT_FALSE(m_skin.IsEditing());
        EXPECT_EQ(nullptr, m_skin.GetWorkFolder());
        EXPECT_FALSE(Exists(Work()));
        EXPECT_FALSE(Exists(Work() + L".dat"));
        EXPECT_FALSE(m_skin.Close());
        for (const wchar_t* outside : {L"\\evil.png", L"\\SkinTmp.evil", L"\\aa", L"\\sub"})
            EXPECT_FALSE(Exists(g_temp->Path() + outside)) << outside;
    }
}

// Skin.ini in every encoding a designer's tools write opens with its text, and a save keeps
// every picture: byte-order marks, UTF-16 without one (told by its zero bytes), and GBK.
TEST_F(IMESkinTest, SkinIniInEveryEncodingOpensWithItsTextAndSavesItsPictures)
{
    const std::string utf8 = ReadRaw(c_source + L"\\Skin.ini").substr(3);
    std::wstring text(utf8.size(), L'\0');
    text.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], int(text.size()))));
    std::string utf16le(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string utf16be = utf16le;
    for (size_t i = 0; i + 1 < utf16be.size(); i += 2)
        std::swap(utf16be[i], utf16be[i + 1]);
    std::string gbk(text.size() * 2, '\0');
    gbk.resize(
        size_t(WideCharToMultiByte(936, 0, text.data(), int(text.size()), &gbk[0], int(gbk.size()), nullptr, nullptr)));
    const std::pair<const char*, std::string> encodings[] = {
        {"UTF-16LE without a mark", utf16le},           {"UTF-16BE without a mark", utf16be},
        {"UTF-16LE with FF FE", "\xFF\xFE" + utf16le},  {"UTF-16BE with FE FF", "\xFE\xFF" + utf16be},
        {"UTF-8 with EF BB BF", "\xEF\xBB\xBF" + utf8}, {"GBK", gbk},
    };
    for (const auto& encoding : encodings) {
        SCOPED_TRACE(encoding.first);
        const std::wstring folder = m_folder / L"encoded";
        t_tempFolder::RemoveTree(folder);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"skin1.png", L"status.png", L"cn.png", L"en.png"})
            WriteRaw(folder + L"\\" + name, ReadRaw(c_source + L"\\" + name));
        WriteRaw(folder + L"\\Skin.ini", encoding.second);
        const std::wstring package = m_folder / L"encoded.vsf";
        MakeZip(package, folder);
        ASSERT_TRUE(m_skin.Open(package.c_str())) << Utf8Of(Lines(m_skin.OpenNotes()));
        EXPECT_STREQ(L"测试皮肤", SkinName(m_skin));
        const std::wstring saved = m_folder / L"saved.vsf";
        t_errorChain errors;
        ASSERT_TRUE(m_skin.Save(errors, saved.c_str())) << Utf8Of(Lines(errors));
        std::vector<std::wstring> names;
        EXPECT_EQ(L"测试皮肤", PackageValue(saved, L"General", L"skin_name", &names));
        for (const wchar_t* picture : {L"skin1.png", L"status.png", L"cn.png", L"en.png"})
            EXPECT_TRUE(Has(names, picture)) << Utf8Of(picture);
        ASSERT_TRUE(m_skin.Close());
    }
}

TEST_F(IMESkinTest, OpenAndNewWorkWhileTheWorkFolderIsTheCurrentDirectory)
{
    wchar_t before[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, before));
    struct t_restoreDir {
        const wchar_t* path;
        ~t_restoreDir() { SetCurrentDirectoryW(path); }
    } restore{before};
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    m_skin.SetCurrentDirToWork();
    wchar_t now[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, now);
    ASSERT_EQ(Work(), now);
    // The folder cannot be removed while it is the current directory; its files can.
    ASSERT_TRUE(m_skin.Close());
    ASSERT_TRUE(m_skin.New());
    EXPECT_FALSE(Exists(Work() + L"\\unused.png"));
    EXPECT_TRUE(m_skin.Open(m_package.c_str()));
    EXPECT_TRUE(Exists(Work() + L"\\unused.png"));
}

TEST_F(IMESkinTest, PlainContainerOpensAndSavesAsZip)
{
    const std::wstring container = m_folder / L"packed.vsf";
    MakeContainer(container, false);
    ASSERT_TRUE(m_skin.Open(container.c_str()));
    const std::string model = Committed(m_skin);
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Save(errors, nullptr)) << Lines(errors);
    EXPECT_EQ("PK", ReadRaw(container).substr(0, 2));
    EXPECT_FALSE(Exists(container + L".bak"));
    ASSERT_TRUE(m_skin.Close());
    ASSERT_TRUE(m_skin.Open(container.c_str()));
    ExpectSameIni(model, Committed(m_skin));
}

TEST_F(IMESkinTest, NewSaveOpenGivesTheSameModel)
{
    ASSERT_TRUE(Exists(ExeFolder() + L"\\skin.dat"));
    const std::string templateBytes = ReadRaw(ExeFolder() + L"\\skin.dat");
    ASSERT_TRUE(m_skin.New());
    EXPECT_TRUE(m_skin.IsNew());
    const std::vector<std::wstring> model = ModelLines(m_skin);

    // A new skin has no package of its own: without a target nothing is written, and
    // never over the template.
    t_errorChain errors;
    EXPECT_FALSE(m_skin.Save(errors, nullptr));
    EXPECT_EQ(L"压缩失败", Lines(errors));
    EXPECT_EQ(templateBytes, ReadRaw(ExeFolder() + L"\\skin.dat"));

    const std::wstring target = m_folder / L"新.vsf";
    errors.Clear();
    ASSERT_TRUE(m_skin.New());
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    EXPECT_FALSE(m_skin.IsNew());
    EXPECT_EQ(target, m_skin.GetZipHandler()->GetArchivePath());
    // Saving again goes to the same package and leaves no backup behind.
    ASSERT_TRUE(m_skin.Save(errors, nullptr)) << Lines(errors);
    EXPECT_FALSE(Exists(target + L".bak"));
    ASSERT_TRUE(m_skin.Close());
    EXPECT_FALSE(Exists(Work()));
    EXPECT_FALSE(Exists(Work() + L".dat"));
    EXPECT_FALSE(Exists(Work() + L".tmp"));

    ASSERT_TRUE(m_skin.Open(target.c_str()));
    ExpectSameLines(model, ModelLines(m_skin));
}

// Values whose key the model would read otherwise when missing stay in the package: the
// emptied descriptive texts and font names, and the status bar's -1 ("no colour").
TEST_F(IMESkinTest, ValuesThatAbsenceReadsOtherwiseSurviveSaveAndOpen)
{
    ASSERT_TRUE(m_skin.New());
    GeneralInfo& general = m_skin.General();
    for (wchar_t* text :
         {general.skinName, general.skinVersion, general.skinAuthor, general.skinTime, general.skinInfo})
        text[0] = 0;
    m_skin.Display().fontCh[0] = 0;
    m_skin.Display().fontEn[0] = 0;
    ASSERT_TRUE(m_skin.StatusBar().SetInt(L"transparent_color", 0, -1));
    ASSERT_TRUE(m_skin.StatusBar().SetInt(L"transparent_color_enable", 0, -1));
    const std::vector<std::wstring> model = ModelLines(m_skin);

    const std::wstring target = m_folder / L"空.vsf";
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    EXPECT_EQ(L"-1", PackageValue(target, L"StatusBar", L"transparent_color"));
    EXPECT_EQ(L"", PackageValue(target, L"General", L"skin_name"));
    ASSERT_TRUE(m_skin.Close());
    ASSERT_TRUE(m_skin.Open(target.c_str()));
    ExpectSameLines(model, ModelLines(m_skin));
}

// Keys that no part writes (colours and switches only the input method reads) and the
// display keys of a new skin reach the package with their values, through a second save
// of the reopened package too: the saved skin previews as the work copy did.
TEST_F(IMESkinTest, SaveKeepsTheKeysNoPartWrites)
{
    ASSERT_TRUE(m_skin.New());
    // The template's own Skin.ini, as New unpacked it.
    const std::vector<std::wstring> lines = IniLines(ReadRaw(Work() + L"\\Skin.ini"));
    struct t_kept {
        std::wstring section, key, value;
    };
    std::vector<t_kept> kept;
    std::wstring section;
    for (std::wstring line : lines) {
        if (!line.empty() && line.front() == 0xFEFF)
            line.erase(0, 1);
        if (line.size() > 2 && line.front() == L'[' && line.back() == L']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        const std::wstring value = line.substr(equals + 1);
        if (section == L"Display" || (section == L"General" && !value.empty()))
            kept.push_back({section, line.substr(0, equals), value});
    }
    for (const wchar_t* key : {L"result_color", L"bihua_color", L"caret_color", L"clear_edge", L"webpage"})
        EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [key](const t_kept& k) { return k.key == key; })) << key;
    ASSERT_TRUE(std::any_of(kept.begin(), kept.end(), [](const t_kept& k) { return k.key == L"skin_id"; }));

    const std::wstring first = m_folder / L"新.vsf";
    const std::wstring second = m_folder / L"再.vsf";
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Save(errors, first.c_str())) << Lines(errors);
    ASSERT_TRUE(m_skin.Close());
    ASSERT_TRUE(m_skin.Open(first.c_str()));
    ASSERT_TRUE(m_skin.Save(errors, second.c_str())) << Lines(errors);
    for (const std::wstring& package : {first, second}) {
        for (const t_kept& k : kept)
            EXPECT_EQ(k.value, PackageValue(package, k.section.c_str(), k.key.c_str()))
                << std::string(k.key.begin(), k.key.end());
    }
}

TEST_F(IMESkinTest, SavedPackageIsCleanedWhileTheWorkFolderIsNot)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    // The horizontal combined window without a picture: blanked in the package only.
    m_skin.HorizontalCombined().hasPic = false;
    const std::string model = Committed(m_skin);
    const std::wstring target = m_folder / L"saved.vsf";
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);

    std::vector<std::wstring> names;
    const std::wstring pic = PackageValue(target, L"Scheme_H1", L"pic", &names);
    EXPECT_TRUE(pic.empty() || pic == L"<missing>") << pic;
    EXPECT_EQ(L"status.png", PackageValue(target, L"StatusBar", L"pic"));
    EXPECT_FALSE(Has(names, L"skinbak.ini"));
    EXPECT_FALSE(Has(names, L"unused.png"));
    EXPECT_TRUE(Has(names, L"status.png"));

    ExpectSameIni(model, ReadRaw(Work() + L"\\Skin.ini"));
    ExpectSameIni(model, ReadRaw(Work() + L"\\skinbak.ini"));
    EXPECT_TRUE(Exists(Work() + L"\\unused.png"));
    EXPECT_TRUE(Exists(Work() + L"\\skin1.png"));
}

TEST_F(IMESkinTest, FailedZipKeepsThePreviousPackageAndTheWorkFolder)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    m_skin.HorizontalCombined().hasPic = false;
    ASSERT_TRUE(CreateDirectoryW((Work() + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(WriteRaw(Work() + L"\\sub\\note.txt", "note"));
    // Committed as Save commits, from an emptied document.
    Committed(m_skin);
    const t_fileTree before = ReadTree(Work());
    const std::string package = ReadRaw(m_package);
    t_errorChain errors;
    // Held for deletion by another program: the zip library cannot read it.
    HANDLE held =
        CreateFileW((Work() + L"\\sub\\note.txt").c_str(), GENERIC_READ | DELETE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(m_skin.Save(errors, nullptr));
    CloseHandle(held);
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"压缩失败")) << Lines(errors);
    EXPECT_EQ(package, ReadRaw(m_package));
    EXPECT_FALSE(Exists(m_package + L".bak"));
    // The work folder as it was, with the committed Skin.ini kept as skinbak.ini.
    t_fileTree expected = before;
    expected[L"skinbak.ini"] = before.at(L"Skin.ini");
    EXPECT_EQ("", TreeDiff(expected, ReadTree(Work())));
    EXPECT_TRUE(m_skin.IsEditing());
}

// What a zip archive's central directory says of one entry.
struct t_zipFacts {
    std::string name;
    uint32_t crc;
    uint32_t size;
    uint32_t dosTime;
    bool operator==(const t_zipFacts& other) const
    {
        return name == other.name && crc == other.crc && size == other.size && dosTime == other.dosTime;
    }
};

std::ostream& operator<<(std::ostream& out, const t_zipFacts& facts)
{
    return out << facts.name << " crc " << facts.crc << " size " << facts.size << " time " << facts.dosTime;
}

uint32_t Le(const std::string& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes.at(at + size_t(i)));
    return value;
}

std::vector<t_zipFacts> CentralDirectory(const std::string& zip)
{
    std::vector<t_zipFacts> out;
    size_t end = zip.size() >= 22 ? zip.size() - 22 : 0;
    while (end > 0 && Le(zip, end, 4) != 0x06054b50)
        --end;
    size_t at = Le(zip, end + 16, 4);
    for (uint32_t i = 0, count = Le(zip, end + 10, 2); i < count && Le(zip, at, 4) == 0x02014b50; ++i) {
        const size_t nameLength = Le(zip, at + 28, 2);
        out.push_back({zip.substr(at + 46, nameLength), Le(zip, at + 16, 4), Le(zip, at + 24, 4), Le(zip, at + 12, 4)});
        at += 46 + nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
    }
    return out;
}

// The package of a save holds what cleaning an uncleaned copy of the work folder and
// zipping that copy gives: the same entries in the same order, with the same bytes and
// times. The work folder is never changed by the save.
TEST_F(IMESkinTest, SavedPackageIsTheCleanedFolderZippedAndTheWorkFolderStays)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    // Identical referenced pictures are merged, unreferenced ones dropped, subfolders kept,
    // a variant stays with its picture; the window without a picture loses skin1.png.
    ASSERT_TRUE(WriteRaw(Work() + L"\\en.png", ReadRaw(Work() + L"\\cn.png")));
    ASSERT_TRUE(WriteRaw(Work() + L"\\status@2x.png", "status at 2x"));
    ASSERT_TRUE(WriteRaw(Work() + L"\\orphan.bmp", "orphan"));
    ASSERT_TRUE(CreateDirectoryW((Work() + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((Work() + L"\\sub\\deeper").c_str(), nullptr));
    ASSERT_TRUE(WriteRaw(Work() + L"\\sub\\deeper\\b.png", "deeper"));
    ASSERT_TRUE(WriteRaw(Work() + L"\\sub\\A.txt", "a"));
    m_skin.HorizontalCombined().hasPic = false;
    Committed(m_skin);
    const t_fileTree before = ReadTree(Work());
    t_errorChain errors;

    // The road through an uncleaned copy.
    const std::wstring copy = m_folder / L"copy";
    ASSERT_TRUE(CopyFolderTree(errors, copy.c_str(), Work().c_str())) << Lines(errors);
    DeleteFileW((copy + L"\\skinbak.ini").c_str());
    m_skin.PostProcessIni((copy + L"\\Skin.ini").c_str());
    CleanSkinFolder(copy.c_str());
    const std::wstring reference = m_folder / L"reference.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(copy.c_str(), copy.c_str(), reference.c_str()));

    const std::wstring target = m_folder / L"saved.vsf";
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    std::vector<t_zipFacts> saved = CentralDirectory(ReadRaw(target));
    std::vector<t_zipFacts> expected = CentralDirectory(ReadRaw(reference));
    ASSERT_EQ(expected.size(), saved.size());
    // Skin.ini is written at saving time on either road, and the copy's folders are made
    // at copying time.
    for (std::vector<t_zipFacts>* list : {&saved, &expected})
        for (t_zipFacts& facts : *list)
            if (facts.name == "Skin.ini" || facts.name.back() == '/')
                facts.dosTime = 0;
    EXPECT_EQ(expected, saved);
    t_tempFolder unpacked(L"imeskin_saved");
    t_tempFolder unpackedReference(L"imeskin_reference");
    ASSERT_EQ(ZIPLIB_OK, UnZip(target.c_str(), unpacked.Path().c_str()));
    ASSERT_EQ(ZIPLIB_OK, UnZip(reference.c_str(), unpackedReference.Path().c_str()));
    const t_fileTree tree = ReadTree(unpacked.Path());
    EXPECT_EQ("", TreeDiff(ReadTree(unpackedReference.Path()), tree));
    ExpectSameIni(ReadTree(unpackedReference.Path())[L"Skin.ini"], tree.at(L"Skin.ini"));
    EXPECT_EQ(0u, tree.count(L"orphan.bmp"));
    EXPECT_EQ(1u, tree.count(L"status@2x.png"));
    EXPECT_EQ(1u, tree.count(L"sub\\deeper\\b.png"));
    EXPECT_EQ(1u, tree.count(L"cn.png") + tree.count(L"en.png"));

    t_fileTree after = before;
    after[L"skinbak.ini"] = before.at(L"Skin.ini");
    EXPECT_EQ("", TreeDiff(after, ReadTree(Work())));
}

// Saving again cleans the package anew when a picture's bytes, the files or the text
// changed since the last save, and packs the same entries when nothing did.
TEST_F(IMESkinTest, SavingAgainCleansWhatChangedSinceTheLastSave)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    const std::wstring target = m_folder / L"saved.vsf";
    t_errorChain errors;
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    std::vector<std::wstring> first;
    EXPECT_EQ(L"status.png", PackageValue(target, L"StatusBar", L"pic", &first));
    ASSERT_TRUE(Has(first, L"cn.png") && Has(first, L"en.png"));
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    std::vector<std::wstring> again;
    PackageValue(target, L"StatusBar", L"pic", &again);
    EXPECT_EQ(first, again);

    // en.png becomes a copy of cn.png (the same size): merged with it.
    const std::string cn = ReadRaw(Work() + L"\\cn.png");
    ASSERT_EQ(cn.size(), ReadRaw(Work() + L"\\en.png").size());
    ASSERT_TRUE(WriteRaw(Work() + L"\\en.png", cn));
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    std::vector<std::wstring> merged;
    PackageValue(target, L"StatusBar", L"pic", &merged);
    EXPECT_EQ(1, int(Has(merged, L"cn.png")) + int(Has(merged, L"en.png")));

    // A new unreferenced picture is left out; a window that loses its picture, blanked.
    ASSERT_TRUE(WriteRaw(Work() + L"\\orphan.png", "orphan"));
    m_skin.HorizontalCombined().hasPic = false;
    ASSERT_TRUE(m_skin.Save(errors, target.c_str())) << Lines(errors);
    std::vector<std::wstring> last;
    const std::wstring pic = PackageValue(target, L"Scheme_H1", L"pic", &last);
    EXPECT_TRUE(pic.empty() || pic == L"<missing>") << pic;
    EXPECT_FALSE(Has(last, L"orphan.png"));
    EXPECT_FALSE(Has(last, L"skin1.png"));
}

// The preview's packed copy after each edit is what a fresh pack of the work folder with
// the post-processed Skin.ini gives, and the work folder keeps the committed Skin.ini.
TEST_F(IMESkinTest, RefreshedWorkCopyIsAFreshPackOfThePostProcessedFolder)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    const std::wstring ini = Work() + L"\\Skin.ini";
    const std::wstring fresh = m_folder / L"fresh.dat";
    const auto freshPack = [&](bool postProcessed) {
        const std::string committed = ReadRaw(ini);
        if (postProcessed)
            m_skin.PostProcessIni(ini.c_str());
        t_skinPack pack;
        t_errorChain errors;
        EXPECT_TRUE(pack.AddFolder(Work().c_str()));
        EXPECT_TRUE(pack.Export(errors, fresh.c_str(), false)) << Lines(errors);
        EXPECT_TRUE(WriteRaw(ini, committed));
        return ReadRaw(fresh);
    };
    // Open writes the copy of the folder as unpacked.
    EXPECT_TRUE(freshPack(false) == ReadRaw(Work() + L".dat"));

    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"nothing", [] {}},
        {"values",
         [&] {
             wcscpy(m_skin.General().skinName, L"改过的皮肤");
             m_skin.HorizontalCombined().hasPic = false;
         }},
        {"a picture", [] { WriteRaw(Work() + L"\\status.png", std::string(300, 's')); }},
        {"a picture of the same size", [] { WriteRaw(Work() + L"\\cn.png", std::string(82, 'c')); }},
        {"a new picture", [] { WriteRaw(Work() + L"\\new.png", "new"); }},
        {"a deleted picture", [] { DeleteFileW((Work() + L"\\unused.png").c_str()); }},
        {"values again", [&] { wcscpy(m_skin.General().skinName, L"又改"); }},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.first);
        edit.second();
        t_errorChain errors;
        ASSERT_TRUE(m_skin.RefreshWorkCopy(errors)) << Lines(errors);
        const std::string committed = ReadRaw(ini);
        EXPECT_TRUE(committed == ReadRaw(Work() + L"\\skinbak.ini"));
        EXPECT_TRUE(freshPack(true) == ReadRaw(Work() + L".dat"));
    }
    // The window without a picture keeps it in the work folder, not in the copy.
    t_iniDocument document(false);
    t_errorChain errors;
    ASSERT_TRUE(document.ReadConfig(errors, ini.c_str(), 936));
    EXPECT_STREQ(L"skin1.png", document.GetValue(L"Scheme_H1", L"pic"));
    t_skinPack copy;
    ASSERT_TRUE(copy.Import(errors, (Work() + L".dat").c_str()));
    t_varFile* packed = nullptr;
    ASSERT_TRUE(copy.Find(L"Skin.ini", &packed));
    uint32_t size = 0;
    const unsigned char* data = packed->GetData(&size);
    ASSERT_TRUE(document.ReadFromMemory(data, size, 936));
    const wchar_t* pic = document.GetValue(L"Scheme_H1", L"pic");
    EXPECT_STREQ(L"", pic ? pic : L"");

    // A copy already current is not written again; an edit that cannot be written fails,
    // and the next refresh brings the copy up to date.
    HANDLE held = CreateFileW((Work() + L".dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    errors.Reset();
    EXPECT_TRUE(m_skin.RefreshWorkCopy(errors)) << Lines(errors);
    wcscpy(m_skin.General().skinName, L"写不进");
    EXPECT_FALSE(m_skin.RefreshWorkCopy(errors));
    CloseHandle(held);
    EXPECT_EQ(L"解压失败:保存文件失败", Lines(errors));
    errors.Reset();
    EXPECT_TRUE(m_skin.RefreshWorkCopy(errors)) << Lines(errors);
    EXPECT_TRUE(freshPack(true) == ReadRaw(Work() + L".dat"));
    ASSERT_TRUE(m_skin.Close());
    EXPECT_FALSE(m_skin.RefreshWorkCopy(errors));
    EXPECT_EQ(L"解压失败:保存ini失败", Lines(errors));
}

TEST_F(IMESkinTest, ValidationNamesThePartAndWritesNoPackage)
{
    ASSERT_TRUE(m_skin.Open(m_package.c_str()));
    BtnInfo* buttons = &m_skin.ButtonSet(c_windowHorizontalCombined);
    ASSERT_TRUE(buttons->SetIntByKey(L"pageup_display", 0, 1));
    ASSERT_TRUE(buttons->SetIntByKey(L"pagedown_display", 0, 0));
    const std::wstring target = m_folder / L"never.vsf";
    t_errorChain errors;
    EXPECT_FALSE(m_skin.Save(errors, target.c_str()));
    EXPECT_EQ(0u, Lines(errors).find(L"横排合窗口按钮:")) << Lines(errors);
    EXPECT_FALSE(Exists(target));

    // The preview's commit does not validate.
    ASSERT_TRUE(buttons->SetIntByKey(L"pageup_display", 0, 1));
    errors.Clear();
    EXPECT_TRUE(m_skin.Commit(errors, false)) << Lines(errors);
    t_iniDocument ini(false);
    ASSERT_TRUE(ini.ReadConfig(errors, (Work() + L"\\Skin.ini").c_str(), 936));
    const wchar_t* up = ini.GetValue(L"Scheme_H1", L"pageup_display");
    const wchar_t* down = ini.GetValue(L"Scheme_H1", L"pagedown_display");
    ASSERT_TRUE(up && down);
    EXPECT_STREQ(L"1", up);
    EXPECT_STREQ(L"0", down);
}

TEST_F(IMESkinTest, OperationsThatNeedAnOpenSkin)
{
    t_errorChain errors;
    EXPECT_FALSE(m_skin.Close());
    EXPECT_FALSE(m_skin.Save(errors, nullptr));
    EXPECT_EQ(L"不处于编辑状态", Lines(errors));
    wchar_t out[MAX_PATH];
    EXPECT_FALSE(m_skin.GetIniPath(out));
    EXPECT_EQ(nullptr, m_skin.GetWorkFolder());

    bool packed = true;
    EXPECT_TRUE(IMESkin::ProbeFile(m_package.c_str(), packed));
    EXPECT_FALSE(packed);
    const std::wstring container = m_folder / L"c.vsf";
    MakeContainer(container, false);
    EXPECT_TRUE(IMESkin::ProbeFile(container.c_str(), packed));
    EXPECT_TRUE(packed);
    EXPECT_FALSE(IsSkinPackFile(m_folder.Path().c_str()));
}

// Runs the document tool from a folder of its own, where no template lies beside it.
int RunToolAlone(const std::wstring& folder, const std::wstring& arguments)
{
    for (const wchar_t* name : {L"skin_doc_tool_child.exe", L"ZipLib.dll"})
        if (!CopyFileW((ExeFolder() + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE))
            return -2;
    return RunProgram(folder + L"\\skin_doc_tool_child.exe", arguments, 60000);
}

TEST(IMESkinNew, WithoutTemplateGivesAnEmptyWorkFolder)
{
    t_tempFolder program(L"imeskin_notemplate");
    const std::wstring snapshot = program / L"snapshot";
    const std::wstring committed = program / L"committed";
    EXPECT_EQ(0, RunToolAlone(program.Path(), L"tmp \"" + program.Path() + L"\" new snapshot \"" + snapshot +
                                                  L"\" commit snapshot \"" + committed + L"\""));
    EXPECT_EQ("", ReadRaw(snapshot + L"\\Skin.ini"));
    // No part names a PNG or GIF picture, so the committed file says GDI+ is not needed.
    t_iniDocument ini(false);
    t_errorChain errors;
    ASSERT_TRUE(ini.ReadConfig(errors, (committed + L"\\Skin.ini").c_str(), 936)) << Lines(errors);
    const wchar_t* useGdip = ini.GetValue(L"Display", L"use_gdip");
    EXPECT_STREQ(L"0", useGdip ? useGdip : L"<missing>");
    EXPECT_EQ(1u, NamesIn(snapshot).size());
}

}  // namespace
