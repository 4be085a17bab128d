// The rotate window's flip: frame rectangles by angle, a flip without a back picture that
// never ends, a full flip that tells its owner, and stopping through the top.
#include "toolkit/controls/wnd_rotate.h"

#include <gtest/gtest.h>

#include "foundation/win/scoped_win.h"
#include "graphics/image/mem_dc.h"
#include "graphics/paint/pixel_ops.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/wnd_top.h"

namespace {

HBITMAP Picture(int width, int height, uint32_t pixel)
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(width, height, &bits);
    for (int i = 0; bitmap && i < width * height; ++i)
        bits[i] = pixel;
    return bitmap;
}

struct t_pictures {
    t_pictures() : front(Picture(100, 50, 0xFFFF0000)), back(Picture(60, 40, 0xFF0000FF)) {}
    t_scopedGdiObj<HBITMAP> front, back;
};

const RECT c_front = {100, 100, 200, 150};
const RECT c_back = {300, 200, 360, 240};

TEST(WndRotate, FrameRectanglesByAngle)
{
    t_pictures pictures;
    t_wndRotate rotate;
    ASSERT_TRUE(rotate.Create(nullptr));
    ASSERT_TRUE(rotate.Start(pictures.front.Get(), c_front, pictures.back.Get(), &c_back, 1000));
    struct t_case {
        int angle;
        RECT expected;
    };
    // At 45 degrees the pivot is (195, 148): left and right have gone sin(45°) of their way
    // to it, top and bottom half of theirs (front height 50). At 135 the pivot is (285, 196)
    // and the edges have come as far from it towards the back rectangle.
    const t_case cases[] = {
        {0, c_front},
        {45, RECT{167, 112, 196, 162}},
        {180, c_back},
        {135, RECT{296, 188, 338, 228}},
    };
    for (const t_case& c : cases) {
        rotate.angle = c.angle;
        rotate.ComputeFrameRect();
        EXPECT_EQ(rotate.current.left, c.expected.left) << c.angle;
        EXPECT_EQ(rotate.current.top, c.expected.top) << c.angle;
        EXPECT_EQ(rotate.current.right, c.expected.right) << c.angle;
        EXPECT_EQ(rotate.current.bottom, c.expected.bottom) << c.angle;
    }
    // Exactly 90 keeps the last rectangle.
    rotate.angle = 90;
    rotate.ComputeFrameRect();
    EXPECT_EQ(rotate.current.left, 296);
    rotate.Stop();
}

TEST(WndRotate, WithoutABackPictureTheFrontStaysAndTheFlipNeverEnds)
{
    t_pictures pictures;
    t_wndRotate rotate;
    ASSERT_TRUE(rotate.Create(nullptr));
    ASSERT_TRUE(rotate.Start(pictures.front.Get(), c_front, nullptr, nullptr, 1000));
    for (int i = 0; i < 60; ++i)
        rotate.Step();
    EXPECT_EQ(rotate.running, 1);
    EXPECT_EQ(rotate.angle, 0);
    EXPECT_TRUE(IsWindowVisible(rotate.hwnd));
    RECT r;
    GetWindowRect(rotate.hwnd, &r);
    EXPECT_TRUE(EqualRect(&r, &c_front));
    rotate.Stop();
    EXPECT_FALSE(IsWindowVisible(rotate.hwnd));
}

TEST(WndRotate, AFullFlipEndsAtTheBackAndTellsTheTop)
{
    t_pictures pictures;
    t_wndTop top;
    ASSERT_TRUE(top.Create(WS_POPUP, 0, 0, 50, 50, 0, nullptr, nullptr));
    t_wndRotate* rotate = top.GetRotate();
    ASSERT_NE(rotate, nullptr);
    ASSERT_NE(rotate->hwnd, nullptr);
    EXPECT_EQ(top.GetRotate(), rotate);  // made once
    rotate->notifyHwnd = top.hwnd;
    rotate->notifyMsg = RegisterWindowMessageW(L"KavrelRotateTestDone");
    top.rotateActive = true;
    ASSERT_TRUE(rotate->Start(pictures.front.Get(), c_front, pictures.back.Get(), &c_back, 1000));
    // 37 frames from 0 to 180 degrees in steps of 5; the next tick ends the flip.
    for (int i = 0; i < 37; ++i)
        rotate->Step();
    EXPECT_EQ(rotate->running, 1);
    RECT r;
    GetWindowRect(rotate->hwnd, &r);
    EXPECT_TRUE(EqualRect(&r, &c_back));
    rotate->Step();
    EXPECT_EQ(rotate->running, 0);
    EXPECT_EQ(rotate->angle, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_FALSE(top.rotateActive);

    // StopRotate hides a running flip.
    ASSERT_TRUE(rotate->Start(pictures.front.Get(), c_front, pictures.back.Get(), &c_back, 1000));
    rotate->Step();
    EXPECT_TRUE(IsWindowVisible(rotate->hwnd));
    top.rotateActive = true;
    top.StopRotate();
    EXPECT_FALSE(top.rotateActive);
    EXPECT_EQ(rotate->running, 0);
    EXPECT_FALSE(IsWindowVisible(rotate->hwnd));
}

}  // namespace
