#include <gtest/gtest.h>

#include <windows.h>

#include "ime_ui/windows/base/icon_list.h"
#include "ime_ui/windows/base/mask_icons.h"

TEST(HashWideKey, FoldsTheTopNibbleAndKeepsCase)
{
    struct t_case {
        const wchar_t* key;
        uint32_t hash;
    };
    const t_case cases[] = {
        {nullptr, 0},
        {L"", 0},
        {L"A", 0x41},
        {L"AB", 0x41 * 16 + 0x42},
        {L"a", 0x61},
        // Eight units pass 28 bits: 0x1111111 * 16 + 1 = 0x11111111 -> top nibble 1 folded.
        {L"\x1\x1\x1\x1\x1\x1\x1\x1", 0x11111111u ^ 0x10000010u},
        // A unit above 0xFF: 0xFFFF * 16 + 0xFFFF = 0x10FFEF -> unchanged.
        {L"\xFFFF\xFFFF", 0x10FFEFu},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(c.hash, HashWideKey(c.key)) << (c.key ? c.key : L"(null)");
    // A long name never keeps a top nibble.
    EXPECT_EQ(0u, HashWideKey(L"IDR_HINTICON_WITH_A_LONG_TAIL") & 0xF0000000u);
    EXPECT_NE(HashWideKey(L"IDR_NAME"), HashWideKey(L"idr_name"));
}

TEST(ListImagePre, HoldsTheBuiltInPicturesByExactName)
{
    t_listImagePre* list = t_listImagePre::Instance();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(list, t_listImagePre::Instance());
    EXPECT_EQ(2u, list->Count());
    const t_builtinPicture* name = list->Find(L"IDR_NAME");
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(9, name->width);
    EXPECT_EQ(9, name->height);
    const t_builtinPicture* hint = list->Find(L"IDR_HINTICON");
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ(16, hint->width);
    EXPECT_EQ(16, hint->height);
    // Premultiplied: no channel above its alpha.
    for (int i = 0; i < 16 * 16; ++i) {
        const uint32_t p = hint->pixels[i], a = p >> 24;
        EXPECT_LE((p >> 16) & 0xFF, a);
        EXPECT_LE(p & 0xFF, a);
    }
    EXPECT_EQ(nullptr, list->Find(L"idr_name"));
    EXPECT_EQ(nullptr, list->Find(L""));
    EXPECT_EQ(nullptr, list->Find(nullptr));
}

TEST(MaskIcons, TintScalesEachChannelByTheMask)
{
    struct t_case {
        uint8_t mask;
        uint32_t colour;
        uint32_t word;
    };
    const t_case cases[] = {
        {128, 0x0000FF, 0x80800000u},  // red 128, green 0, blue 0, alpha 128
        {255, 0x123456, 0xFF563412u}, {0, 0xFFFFFF, 0x00000000u}, {128, 0xFFFFFFFFu, 0x80808080u},  // -1 is white
        {1, 0x00FF00, 0x01000100u},  // green 255 * 1 / 255 = 1
    };
    for (const t_case& c : cases) {
        uint32_t out = 0xDEADBEEF;
        TintMask(&c.mask, &out, 1, c.colour);
        EXPECT_EQ(c.word, out) << std::hex << c.colour;
    }
}

TEST(MaskIcons, TintsAGivenMaskAndReusesItsArray)
{
    t_maskIcons icons;
    const uint8_t mask[6] = {0, 51, 102, 153, 204, 255};
    ASSERT_TRUE(icons.SetMask(t_maskKind::e_cloud, mask, 3, 2));
    EXPECT_EQ(nullptr, icons.Tinted(t_maskKind::e_cloud));
    ASSERT_TRUE(icons.Tint(t_maskKind::e_cloud, 0x0000FF));
    const uint32_t* first = icons.Tinted(t_maskKind::e_cloud);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0x99990000u, first[3]);
    ASSERT_TRUE(icons.Tint(t_maskKind::e_cloud, 0xFF0000));
    EXPECT_EQ(first, icons.Tinted(t_maskKind::e_cloud));
    EXPECT_EQ(0x99000099u, first[3]);
    EXPECT_FALSE(icons.SetMask(t_maskKind::e_name, mask, 0, 2));
    EXPECT_FALSE(icons.SetMask(t_maskKind::e_name, mask, 100000, 100000));
    icons.Release();
    EXPECT_EQ(nullptr, icons.Tinted(t_maskKind::e_cloud));
}

TEST(MaskIcons, LoadsTheMasksOfTheResourceLibrary)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(n, 0u);
    wchar_t* slash = wcsrchr(path, L'\\');
    ASSERT_NE(nullptr, slash);
    wcscpy(slash + 1, L"Resource.dll");
    HMODULE module = LoadLibraryW(path);
    ASSERT_NE(nullptr, module) << "Resource.dll beside the test";
    t_maskIcons icons;
    for (int kind = 0; kind < c_maskKindCount; ++kind) {
        const t_maskKind k = static_cast<t_maskKind>(kind);
        ASSERT_TRUE(icons.Tint(k, 0x0000FF, module)) << kind;
        const SIZE size = icons.Size(k);
        ASSERT_GT(size.cx, 0);
        const uint32_t* tinted = icons.Tinted(k);
        bool anyOpaque = false;
        for (int i = 0; i < size.cx * size.cy; ++i) {
            const uint32_t a = tinted[i] >> 24;
            EXPECT_EQ(tinted[i] & 0xFFFF, 0u);  // only red
            EXPECT_EQ((tinted[i] >> 16) & 0xFF, a * 255 / 255);
            anyOpaque = anyOpaque || a == 255;
        }
        EXPECT_TRUE(anyOpaque) << kind;
    }
    // A name the library lacks leaves the kind unloaded.
    uint32_t* pixels = nullptr;
    int w = 0, h = 0;
    EXPECT_FALSE(LoadResourcePixels(module, L"NO_SUCH_PICTURE", RT_RCDATA, pixels, w, h));
    EXPECT_EQ(nullptr, pixels);
    FreeLibrary(module);
}
