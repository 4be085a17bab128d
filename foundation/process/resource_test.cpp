#include "foundation/process/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/config/runtime.h"

namespace {

uint32_t Be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Width, height and whether the picture is animated (an acTL chunk before the data).
bool PngFacts(const void* data, DWORD size, uint32_t& width, uint32_t& height, bool& animated)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (size < 33 || memcmp(p, "\x89PNG\r\n\x1a\n", 8) != 0 || memcmp(p + 12, "IHDR", 4) != 0)
        return false;
    width = Be32(p + 16);
    height = Be32(p + 20);
    animated = false;
    for (DWORD at = 8; size - at >= 12;) {
        const uint32_t length = Be32(p + at);
        if (memcmp(p + at + 4, "acTL", 4) == 0)
            animated = true;
        if (memcmp(p + at + 4, "IEND", 4) == 0)
            return true;
        if (length > size - at - 12)
            return false;
        at += 12 + length;
    }
    return false;
}

// Everything lives in one test: the process-wide runtime decides where Resource.dll is
// looked for, and the order of the steps is the point.
TEST(ResourceTest, LoadsOnceFromTheInstallationFolderAndFindsThePictures)
{
    // While the installation folder is unknown nothing loads, and the failure sticks.
    t_resource early;
    DWORD size = 5;
    EXPECT_EQ(nullptr, early.Find(nullptr, L"IDR_HINTICON", RT_RCDATA, size));
    EXPECT_EQ(0u, size);

    t_runtime* runtime = GetRuntime();
    runtime->SetInstallDirSource(nullptr);
    t_errorChain errors;
    ASSERT_TRUE(runtime->Init(errors));
    EXPECT_EQ(nullptr, early.Find(nullptr, L"IDR_HINTICON", RT_RCDATA, size));
    EXPECT_EQ(nullptr, early.Load());

    t_resource* shared = t_resource::Instance();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(shared, t_resource::Instance());
    HMODULE module = shared->Load();
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(module, shared->Load());

    const struct {
        const wchar_t* name;
        uint32_t width;   // 0: any
        uint32_t height;  // 0: any
        bool animated;
    } pictures[] = {
        {L"IDR_HINTICON", 16, 16, false},
        {L"IDR_HINTBUTTON", 0, 0, false},
        {L"IDR_HINTRADIO", 0, 0, false},
        {L"IDR_HINTCHECK", 0, 0, false},
        {L"IDR_HINTBK", 0, 0, false},
        {L"IDR_HINTARROW", 0, 0, false},
        {L"IDB_CAND_CLOUD_ANI", 0, 0, true},
        {L"IDR_CLOUD_DEAD", 0, 0, true},
        {L"IDR_CLOUD_DEAD_REV", 0, 0, true},
        {L"IDR_PNG_FLASH", 0, 0, false},
        {L"IDR_PNG_SKINBOX_BTN", 0, 0, false},
        {L"IDR_PNG_SKINBOX_BTN_DOWN", 0, 0, false},
        {L"IDR_PNG_SKINBOX_BTN_HOVER", 0, 0, false},
        {L"IDR_PNG_SKINBOX_HINT_BK", 0, 0, false},
        {L"IDR_PNG_SKINBOX_POINT", 0, 0, false},
        {L"IDR_PNG_SKINBOX_POINT_UP", 0, 0, false},
        {L"IDR_PNG_SKINBOX_POINT_LEFT", 0, 0, false},
        {L"IDR_PNG_SKINBOX_POINT_RIGHT", 0, 0, false},
        {L"IDR_PNG_BARCONFIG_OK", 0, 0, false},
        {L"IDR_PNG_BARCONFIG_DEFAULT", 0, 0, false},
        {L"IDR_PNG_BARCONFIG_CLOSE", 0, 0, false},
        {L"IDR_PNG_BARCONFIG_CHECKED", 0, 0, false},
        {L"IDR_PNG_BARCONFIG_UNCHECK", 0, 0, false},
        {L"IDR_BTNBK_HOVER", 0, 0, false},
        {L"IDR_BTNBK_DOWN", 0, 0, false},
        {L"IDR_NAME_ICON", 0, 0, false},
        {L"IDR_CLOUD_ICON", 0, 0, false},
        {L"IDR_SUGG_HELP", 0, 0, false},
        {L"IDR_SUGG_SEARCH", 0, 0, false},
        {MAKEINTRESOURCEW(32760), 0, 0, false},
    };
    for (const auto& picture : pictures) {
        const std::wstring label =
            IS_INTRESOURCE(picture.name) ? std::to_wstring(reinterpret_cast<uintptr_t>(picture.name)) : picture.name;
        const void* data = shared->Find(nullptr, picture.name, RT_RCDATA, size);
        ASSERT_NE(nullptr, data) << label;
        uint32_t width = 0;
        uint32_t height = 0;
        bool animated = false;
        ASSERT_TRUE(PngFacts(data, size, width, height, animated)) << label;
        EXPECT_EQ(picture.animated, animated) << label;
        if (picture.width) {
            EXPECT_EQ(picture.width, width) << label;
        }
        if (picture.height) {
            EXPECT_EQ(picture.height, height) << label;
        }
    }
    // Four state cells side by side; the check box cells are squares of the height.
    uint32_t width = 0;
    uint32_t height = 0;
    bool animated = false;
    const void* radio = shared->Find(module, L"IDR_HINTRADIO", RT_RCDATA, size);
    ASSERT_TRUE(PngFacts(radio, size, width, height, animated));
    EXPECT_EQ(0u, width % 4);
    const void* check = shared->Find(module, L"IDR_HINTCHECK", RT_RCDATA, size);
    ASSERT_TRUE(PngFacts(check, size, width, height, animated));
    EXPECT_EQ(0u, width % height);

    // The stroke bitmap is a bitmap resource.
    EXPECT_NE(nullptr, shared->Find(nullptr, L"IDB_BIHUA", RT_BITMAP, size));
    EXPECT_GT(size, sizeof(BITMAPINFOHEADER));
    HBITMAP strokes = LoadBitmapW(module, L"IDB_BIHUA");
    ASSERT_NE(nullptr, strokes);
    BITMAP facts;
    ASSERT_EQ(static_cast<int>(sizeof(facts)), GetObjectW(strokes, sizeof(facts), &facts));
    EXPECT_GT(facts.bmWidth, 0);
    DeleteObject(strokes);

    // Missing names and types, and a module that holds none of them.
    EXPECT_EQ(nullptr, shared->Find(nullptr, L"IDR_NO_SUCH_PICTURE", RT_RCDATA, size));
    EXPECT_EQ(nullptr, shared->Find(nullptr, L"IDR_HINTICON", L"PNG", size));
    EXPECT_EQ(nullptr, shared->Find(GetModuleHandleW(nullptr), L"IDR_HINTICON", RT_RCDATA, size));
    EXPECT_EQ(0u, size);

    // A fresh object loads now that the folder is known; the early one still does not retry.
    t_resource late;
    EXPECT_NE(nullptr, late.Find(nullptr, L"IDR_HINTICON", RT_RCDATA, size));
    EXPECT_EQ(nullptr, early.Find(nullptr, L"IDR_HINTICON", RT_RCDATA, size));
}

}  // namespace
