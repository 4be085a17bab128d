// Test helpers for the model parts: loading a Skin.ini into the shared document and
// comparing what a part writes with an expected UTF-16LE file.
#pragma once

#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "skin_model/base_info.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/separate_info.h"
#include "skin_model/status_info.h"

#include <gtest/gtest.h>

#include <string>

// The general, display, four layout and status-bar parts, as a skin holds them.
struct t_modelParts {
    GeneralInfo general;
    DisplayInfo display;
    HorizontalCombineInfo h1;
    HorizontalSeparateInfo h2;
    VerticalCombineInfo v1;
    VerticalSeparateInfo v2;
    StatusInfo status;
    BaseInfo* parts[7] = {&general, &display, &h1, &h2, &v1, &v2, &status};

    void LoadAll()
    {
        for (BaseInfo* part : parts)
            ASSERT_TRUE(part->Load());
    }
    // As the document commits: the shared document is cleared, then every part writes.
    void SaveAll()
    {
        SkinIni::Instance()->Clear();
        for (BaseInfo* part : parts)
            EXPECT_TRUE(part->Save()) << part->Message().c_str();
    }
};

inline std::wstring SkinTestData(const wchar_t* name)
{
    return std::wstring(KAVREL_SOURCE_DIR) + L"\\skin_model\\testdata\\" + name;
}

// Reads a Skin.ini into the shared document the way the skin document opens one.
inline void LoadSkinIni(const std::wstring& path)
{
    t_errorChain errors;
    ASSERT_TRUE(SkinIni::Instance()->ReadConfig(errors, path.c_str(), SkinIni::c_codePage)) << Lines(errors);
}

inline void LoadHandSkin() { LoadSkinIni(SkinTestData(L"hand_skin_936.ini")); }

// Puts an INI text (UTF-16 in memory) into the shared document.
inline void LoadSkinText(const std::wstring& text)
{
    const std::string bytes = Utf16File(text);
    ASSERT_TRUE(SkinIni::Instance()->ReadFromMemory(bytes.data(), bytes.size(), SkinIni::c_codePage));
}

// What the part writes into an emptied document, rendered as the file it would become.
inline std::string SavedFile(BaseInfo& part, const t_tempFolder& folder)
{
    SkinIni::Instance()->Clear();
    EXPECT_TRUE(part.Save()) << part.Message().c_str();
    const std::wstring path = folder / L"Skin.ini";
    t_errorChain errors;
    EXPECT_TRUE(SkinIni::Instance()->WriteConfig(errors, path.c_str())) << Lines(errors);
    return ReadRaw(path);
}

// A key or name answer for comparison; null shows as "<null>".
inline std::wstring TextOrNull(const wchar_t* text) { return text ? text : L"<null>"; }

// The UTF-16 text of file bytes after the byte-order mark, for readable failures.
inline std::wstring Utf16Text(const std::string& bytes)
{
    if (bytes.size() < 2)
        return L"<" + std::to_wstring(bytes.size()) + L" bytes>";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}

inline void ExpectGolden(BaseInfo& part, const t_tempFolder& folder, const wchar_t* goldenName)
{
    const std::string expected = ReadRaw(SkinTestData((std::wstring(L"golden\\") + goldenName).c_str()));
    const std::string actual = SavedFile(part, folder);
    EXPECT_TRUE(actual == expected) << "golden " << testing::PrintToString(std::wstring(goldenName)) << "\nwritten:\n"
                                    << testing::PrintToString(Utf16Text(actual)) << "\nexpected:\n"
                                    << testing::PrintToString(Utf16Text(expected));
}

// Every part goes through the same two roads: a new skin, and a load of the hand-written one.
template <class T>
void ExpectGoldenRoads(const wchar_t* newGolden, const wchar_t* loadedGolden)
{
    t_tempFolder folder(L"skin_golden");
    T part;
    part.ResetAll();
    ExpectGolden(part, folder, newGolden);

    LoadHandSkin();
    ASSERT_TRUE(part.Load());
    ExpectGolden(part, folder, loadedGolden);
}
