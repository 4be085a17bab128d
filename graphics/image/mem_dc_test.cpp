// The 32-bit DIB section holder: row order, its own DC, handing the bitmap on and freeing.
#include "graphics/image/mem_dc.h"

#include <gtest/gtest.h>

namespace {

bool IsGdiObject(HGDIOBJ object) { return GetObjectType(object) != 0; }

TEST(MemDC, RowOrderDecidesWhereTheTopDcRowLies)
{
    const struct {
        t_dibRows rows;
        int memoryRowOfTop;
    } cases[] = {{t_dibRows::bottomUp, 2}, {t_dibRows::topDown, 0}};
    for (const auto& c : cases) {
        t_memDC dib;
        ASSERT_TRUE(t_memDC::Create(dib, nullptr, 4, 3, c.rows));
        ASSERT_NE(nullptr, dib.dc);
        EXPECT_EQ(dib.dib, GetCurrentObject(dib.dc, OBJ_BITMAP));
        EXPECT_EQ(AC_SRC_ALPHA, dib.blend.AlphaFormat);
        DIBSECTION section = {};
        ASSERT_EQ(sizeof(section), static_cast<size_t>(GetObjectW(dib.dib, sizeof(section), &section)));
        EXPECT_EQ(3, section.dsBm.bmHeight);
        EXPECT_EQ(32, section.dsBm.bmBitsPixel);
        EXPECT_EQ(32, section.dsBmih.biBitCount);
        for (int i = 0; i < 12; ++i)
            ASSERT_EQ(0u, dib.Pixels()[i]) << "a new section is zeroed";
        SetPixelV(dib.dc, 1, 0, RGB(0x11, 0x22, 0x33));
        GdiFlush();
        EXPECT_EQ(0x112233u, dib.Row(c.memoryRowOfTop)[1] & 0xFFFFFFu);
    }
}

TEST(MemDC, DetachHandsOnAnUnselectedBitmapAndReleaseFreesBoth)
{
    t_memDC dib;
    ASSERT_TRUE(t_memDC::Create(dib, nullptr, 2, 2));
    const HDC dc = dib.dc;
    HBITMAP bitmap = dib.Detach();
    EXPECT_EQ(nullptr, dib.dc);
    EXPECT_EQ(nullptr, dib.bits);
    EXPECT_FALSE(IsGdiObject(dc));
    ASSERT_TRUE(IsGdiObject(bitmap));
    // Not selected anywhere any more: another DC can take it.
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(other, bitmap);
    EXPECT_NE(nullptr, previous);
    SelectObject(other, previous);
    DeleteDC(other);
    DeleteObject(bitmap);

    ASSERT_TRUE(t_memDC::Create(dib, nullptr, 2, 2));
    HBITMAP held = dib.dib;
    const HDC heldDc = dib.dc;
    // A second Create replaces the first section and DC.
    ASSERT_TRUE(t_memDC::Create(dib, nullptr, 3, 1));
    EXPECT_FALSE(IsGdiObject(held));
    EXPECT_FALSE(IsGdiObject(heldDc));
    held = dib.dib;
    dib.Release();
    EXPECT_FALSE(IsGdiObject(held));
    {
        t_memDC scoped;
        ASSERT_TRUE(scoped.CreateBitmap(5, 5));
        EXPECT_EQ(nullptr, scoped.dc);
        held = scoped.dib;
    }
    EXPECT_FALSE(IsGdiObject(held)) << "the destructor frees the section";
}

TEST(MemDC, EmptySizesMakeNothingAndCreateDib32KeepsTheRowOrder)
{
    const SIZE sizes[] = {{0, 4}, {4, 0}, {-1, 4}, {4, -1}};
    for (const SIZE& size : sizes) {
        t_memDC dib;
        EXPECT_FALSE(t_memDC::Create(dib, nullptr, size.cx, size.cy)) << size.cx << "x" << size.cy;
        EXPECT_FALSE(dib.CreateBitmap(size.cx, size.cy));
        EXPECT_EQ(nullptr, dib.dib);
        EXPECT_EQ(nullptr, dib.Pixels());
        uint32_t* bits = reinterpret_cast<uint32_t*>(1);
        EXPECT_EQ(nullptr, CreateDib32(size.cx, size.cy, &bits));
    }
    uint32_t* bits = nullptr;
    HBITMAP made = CreateDib32(3, 2, &bits, t_dibRows::topDown);
    ASSERT_NE(nullptr, made);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, made);
    SetPixelV(dc, 2, 0, RGB(0x44, 0x55, 0x66));
    GdiFlush();
    EXPECT_EQ(0x445566u, bits[2] & 0xFFFFFFu) << "the top row comes first in memory";
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(made);
}

}  // namespace
