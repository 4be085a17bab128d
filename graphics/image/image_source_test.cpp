#include "graphics/image/image_source.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "graphics/image/image.h"
#include "graphics/image/mem_dc.h"

namespace {

bool IsBitmapAlive(HBITMAP bitmap)
{
    BITMAP info;
    return GetObjectW(bitmap, sizeof(info), &info) == sizeof(info);
}

// A frame list of pixel frames with the given delays.
t_imageSource* Frames(std::vector<int> delays, int loopLimit, std::vector<uint32_t>& pixels)
{
    pixels.assign(delays.size() * 4, 0);
    t_imageSource* source = nullptr;
    EXPECT_TRUE(t_imageSource::CreateFromPixels(static_cast<int>(delays.size()), pixels.data(), 2, 2, source, loopLimit,
                                                delays.data()));
    return source;
}

TEST(ImageFrames, AdvanceStepsThroughTheDelaysAndWraps)
{
    std::vector<uint32_t> pixels;
    t_imageSource* source = Frames({10, 20, 30}, 0, pixels);
    ASSERT_NE(nullptr, source);
    t_imageFrames& f = source->Frames();
    EXPECT_EQ(60u, f.cycle);
    // (time, changed, current frame after, loops done after)
    const struct {
        int now;
        bool changed;
        int current, loops;
    } steps[] = {
        {1000, false, 0, 0},                      // starts
        {1009, false, 0, 0},                      // frame 0 lasts 10
        {1011, true, 1, 0},  {1040, true, 2, 0},  // 29 > 20: the walk reaches frame 2
        {1060, false, 2, 0},                      // 20 <= 30
        {1075, true, 0, 1},                       // 35 passes the end: wraps to frame 0, one loop done
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.changed, f.Advance(s.now)) << s.now;
        EXPECT_EQ(s.current, f.GetCurrentFrame()) << s.now;
        EXPECT_EQ(s.loops, f.loopsDone) << s.now;
    }
    EXPECT_EQ(1075, f.start);
    t_imageSource::Destroy(source);
}

TEST(ImageFrames, ALoopLimitStopsOnTheLastFrame)
{
    std::vector<uint32_t> pixels;
    t_imageSource* source = Frames({10, 20, 30}, 1, pixels);
    t_imageFrames& f = source->Frames();
    f.Advance(1000);
    EXPECT_TRUE(f.Advance(1015));
    EXPECT_EQ(1, f.current);
    EXPECT_TRUE(f.Advance(1500));
    EXPECT_EQ(2, f.current);
    EXPECT_EQ(1, f.loopsDone);
    EXPECT_FALSE(f.Advance(1600));
    EXPECT_FALSE(f.Advance(9000));
    EXPECT_EQ(2, f.current);
    t_imageSource::Destroy(source);
}

TEST(ImageFrames, ReverseSetFrameAndPosition)
{
    std::vector<uint32_t> pixels;
    t_imageSource* source = Frames({10, 20, 30}, 0, pixels);
    t_imageFrames& f = source->Frames();
    EXPECT_FALSE(f.Reverse());  // not reversible
    f.reversible = 1;
    EXPECT_TRUE(f.Reverse());
    f.Advance(500);
    EXPECT_EQ(2, f.current);
    EXPECT_EQ(5, f.GetPosition(505));  // no frame after the last one
    f.SetFrame(1, 600, 550);           // 50 >= 20: started 20 ago
    EXPECT_EQ(1, f.current);
    EXPECT_EQ(580, f.start);
    f.SetFrame(0, 600, 595);  // 5 < 10
    EXPECT_EQ(2 * 600 - 595 - 10, f.start);
    EXPECT_EQ(10 + 20 + 30, f.GetPosition(f.start + 10));
    t_imageSource::Destroy(source);
}

TEST(ImageSource, FramesOutOfRangeAndSizes)
{
    std::vector<uint32_t> pixels;
    t_imageSource* source = Frames({10, 20}, 0, pixels);
    EXPECT_EQ(nullptr, source->GetFrame(2).handle);
    EXPECT_EQ(nullptr, source->GetFrame(-1).handle);
    EXPECT_EQ(pixels.data() + 4, source->GetFrame(1).handle);
    int width = 0, height = 0;
    EXPECT_TRUE(source->GetSize(width, height));
    EXPECT_EQ(2, width);
    // Pixel frames belong to the caller: Free deletes nothing of them.
    source->Free();
    EXPECT_FALSE(source->GetSize(width, height));
    t_imageSource::Destroy(source);

    t_imageSource empty = {};
    empty.kind = 7;
    EXPECT_FALSE(empty.GetSize(width, height));
    empty.GetSizeOrZero(width, height);
    EXPECT_EQ(0, width);
}

TEST(ImageRecord, SetBitmapAndSetPartTakeFullSizesForMinusOne)
{
    HBITMAP bitmap = CreateDib32(40, 30);
    t_image image;
    image.Init();
    EXPECT_EQ(c_noColorKey, image.key1);
    EXPECT_EQ(t_image::e_natural, image.modeH);
    image.SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, 0, 0, false);
    EXPECT_EQ(40, image.partWidth);
    EXPECT_EQ(30, image.partHeight);
    image.SetBitmap(nullptr, 0, 0, c_noColorKey, c_noColorKey, -1, -1, 0, 0, false);
    EXPECT_EQ(0, image.partWidth);
    EXPECT_TRUE(image.IsEmpty());

    t_imageSource source = {};
    source.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, bitmap, 0, 0);
    EXPECT_EQ(40, source.payload.width);
    image.SetPart(&source, 0, 0, c_noColorKey, c_noColorKey, 10, -1, 2, 2, false);
    EXPECT_EQ(10, image.partWidth);
    EXPECT_EQ(30, image.partHeight);
    EXPECT_EQ(t_image::e_sourcePart, image.holder);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(bitmap, image.GetBitmapRef().handle);
    source.Free();
    EXPECT_FALSE(IsBitmapAlive(bitmap));
}

// Several records cut from one source (nine-part cells, state pictures) free it once: the
// records that only point at it leave it alone, its owner frees it.
TEST(ImageRecord, ASharedSourceIsFreedOnceByItsOwner)
{
    HBITMAP bitmap = CreateDib32(9, 9);
    t_imageSource* source = static_cast<t_imageSource*>(calloc(1, sizeof(t_imageSource)));
    source->SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, bitmap, 0, 0);
    t_image owner, cells[3];
    owner.Init();
    owner.TakeSource(source);
    for (int i = 0; i < 3; ++i) {
        cells[i].Init();
        cells[i].SetPart(source, i * 3, 0, c_noColorKey, c_noColorKey, 3, 3, 2, 2, false);
    }
    cells[0].Release();
    cells[1].Reset();
    EXPECT_TRUE(IsBitmapAlive(bitmap));
    EXPECT_EQ(bitmap, cells[2].GetBitmapRef().handle);
    EXPECT_EQ(nullptr, cells[0].source);
    owner.Release();
    EXPECT_FALSE(IsBitmapAlive(bitmap));
}

TEST(ImageRecord, ReleaseDeletesOwnBitmapsButNotPixelBuffers)
{
    HBITMAP bitmap = CreateDib32(4, 4);
    t_image image;
    image.Init();
    image.SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, 2, 2, false);
    image.Release();
    EXPECT_FALSE(IsBitmapAlive(bitmap));

    uint32_t pixels[4] = {};
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels, 2, 2, source, 0, nullptr));
    image.TakeSource(source);
    EXPECT_EQ(pixels, image.GetBitmapRef().GetPixels());
    image.Release();  // frees the source record, not the caller's pixels
    pixels[3] = 1;
    EXPECT_EQ(1u, pixels[3]);
}

}  // namespace
