// The picture button: its seven-state machine driven through the toolkit's input hooks
// (clock, primary button, cursor), toggles, click suppression, hit tests on opaque pixels,
// the picture of every state and mode as rendered into a DIB, and modes without a set.
#include "toolkit/controls/wnd_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "foundation/win/scoped_win.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// The input the state machine reads: clock, primary button and cursor.
struct t_fakeInput {
    static uint32_t tick;
    static bool down;
    static POINT cursor;
    static uint32_t Tick() { return tick; }
    static bool Down() { return down; }
    static bool Cursor(POINT& point)
    {
        point = cursor;
        return true;
    }
};
uint32_t t_fakeInput::tick = 100000;
bool t_fakeInput::down = false;
POINT t_fakeInput::cursor = {0, 0};

const int c_width = 6, c_height = 4;
const int c_sets = 2;

// Colour of the picture of (mode, state); opaque, so premultiplied as it stands.
uint32_t PictureColor(int mode, int state)
{
    return 0xFF000000u | (0x30u + mode * 0x60u) << 16 | (0x10u + state * 0x20u) << 8 | 0x44u;
}

// One DIB holding every picture: row band per mode, column band per state. The top-left
// pixel of every picture is fully transparent.
class t_statePictures {
public:
    t_statePictures()
    {
        uint32_t* bits = nullptr;
        const int w = c_width * t_imageSet::c_stateCount, h = c_height * c_sets;
        m_bitmap.Reset(CreateDib32(w, h, &bits));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int mode = y / c_height, state = x / c_width;
                const bool corner = x % c_width == 0 && y % c_height == 0;
                bits[(h - 1 - y) * w + x] = corner ? 0 : PictureColor(mode, state);
            }
        }
    }
    t_statePictures(const t_statePictures&) = delete;
    t_statePictures& operator=(const t_statePictures&) = delete;

    // Fills sets of the button with the pictures cut from the DIB.
    void Fill(t_wndButton& button, int sets) const
    {
        for (int m = 0; m < sets; ++m) {
            for (int s = 0; s < t_imageSet::c_stateCount; ++s) {
                t_image& picture = button.imageSets.sets[m].images[s];
                picture.SetBitmap(m_bitmap.Get(), s * c_width, m * c_height, c_noColorKey, c_noColorKey, c_width,
                                  c_height, t_image::e_natural, t_image::e_natural, false);
                picture.hasAlpha = 1;
            }
        }
        button.imageSets.count = sets;
    }

private:
    t_scopedGdiObj<HBITMAP> m_bitmap;
};

// A button that counts its clicks and runs scripted animation lengths and positions.
class t_testButton : public t_wndButton {
public:
    void LoadImages() override
    {
        if (pictures)
            pictures->Fill(*this, c_sets);
    }
    void OnClick() override { ++clicks; }
    void OnClickDone() override { ++clicksDone; }
    void ShowHint(bool show) override { ++(show ? hintsShown : hintsHidden); }
    bool StartStateAnimation(unsigned time, bool) override
    {
        ++starts;
        startedAt = time;
        return true;
    }
    unsigned GetStateAnimationLength(int, int state) override { return lengths[state]; }
    unsigned GetStateAnimationPos(int, int, unsigned time) override { return posFromClock ? time - startedAt : pos; }

    static const t_statePictures* pictures;
    int clicks = 0, clicksDone = 0, starts = 0;
    int hintsShown = 0, hintsHidden = 0;
    unsigned startedAt = 0;
    unsigned lengths[7] = {0, 0, 0, 0, 0, 0, 0};
    unsigned pos = 0;
    bool posFromClock = false;
};
const t_statePictures* t_testButton::pictures = nullptr;

// A button at (10, 20) inside a windowless top at (100, 200), measured and painted through
// the top's layout tree; input comes from t_fakeInput.
class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() : m_hooks(t_inputHooks{&t_fakeInput::Tick, &t_fakeInput::Down, &t_fakeInput::Cursor})
    {
        t_fakeInput::tick = 100000;
        t_fakeInput::down = false;
        t_fakeInput::cursor = {0, 0};
        t_testButton::pictures = &m_pictures;
        MakeWindowlessTop(m_top, 100, 200, 40, 30);
        button = new t_testButton();
        button->Create(0, 10, 20, 1, 1, 0, nullptr, &m_top);
        t_layoutWnd* node = button->CreateLayout();
        static_cast<t_layoutAligned*>(m_top.layout)->AddChild(t_layoutPtr(node), t_alignInfo::Default());
        button->Measure(nullptr);
        button->SyncLayoutRect();
    }
    ~ButtonTest() override { t_testButton::pictures = nullptr; }

    // A screen point at (dx, dy) from the button's origin, where the cursor is put too.
    POINT At(int dx, int dy)
    {
        t_fakeInput::cursor = {110 + dx, 220 + dy};
        return t_fakeInput::cursor;
    }
    bool Press(POINT p)
    {
        t_fakeInput::down = true;
        return button->OnLButtonDown(MK_LBUTTON, p.x, p.y);
    }
    bool Release(POINT p)
    {
        t_fakeInput::down = false;
        return button->OnLButtonUp(0, p.x, p.y);
    }
    // The colour rendered at (dx, dy) of the button.
    uint32_t Rendered(int dx = 2, int dy = 2)
    {
        t_memDC dib;
        EXPECT_TRUE(m_top.RenderToDib(nullptr, dib, 40, 30));
        GdiFlush();
        return dib.Pixels()[(30 - 1 - (20 + dy)) * 40 + 10 + dx];
    }

    t_inputHooksScope m_hooks;
    t_statePictures m_pictures;
    t_wndTop m_top;
    t_testButton* button;  // owned by the top
};

TEST_F(ButtonTest, CreateLoadsPicturesAndMeasuresPictureZero)
{
    EXPECT_EQ(button->style, t_wndButton::e_styleDefault);
    EXPECT_TRUE(button->acceptsMouse);
    EXPECT_EQ(button->imageSets.count, c_sets);
    const SIZE size = button->GetSize();
    EXPECT_EQ(size.cx, c_width);
    EXPECT_EQ(size.cy, c_height);
    // The other six pictures take the size of picture 0.
    button->imageSets.sets[0].images[3].partWidth = 99;
    button->Measure(nullptr);
    EXPECT_EQ(button->imageSets.sets[0].images[3].partWidth, c_width);
    // Hidden: no size and no hit.
    button->visible = false;
    button->Measure(nullptr);
    EXPECT_EQ(button->GetSize().cx, 0);
    EXPECT_FALSE(button->HitTest(112, 222, 0));
}

TEST_F(ButtonTest, OneClickPerPressAndReleaseInside)
{
    const POINT in = At(2, 2);
    button->OnMouseEnter();
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);
    EXPECT_TRUE(Press(in));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_down);
    EXPECT_EQ(button->pressFlags, t_wndButton::e_hover);
    EXPECT_EQ(button->clicks, 0);
    EXPECT_TRUE(Release(in));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);  // the up state is not animated
    EXPECT_EQ(button->clicks, 1);
    EXPECT_EQ(button->clicksDone, 1);
    // A second release without a press is taken but reports nothing.
    EXPECT_TRUE(Release(in));
    EXPECT_EQ(button->clicks, 1);
    // Two more full clicks: two more reports.
    for (int i = 0; i < 2; ++i) {
        Press(in);
        Release(in);
    }
    EXPECT_EQ(button->clicks, 3);
}

TEST_F(ButtonTest, ReleaseOutsideEndsInNormalWithoutClick)
{
    button->OnMouseEnter();
    EXPECT_TRUE(Press(At(2, 2)));
    // The pointer leaves with the button held, then lets go outside: the top passes the
    // release (not taken) and the leave.
    const POINT out = At(30, 2);
    EXPECT_FALSE(Release(out));
    button->OnMouseLeave();
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_normal);
    EXPECT_EQ(button->clicks, 0);
    EXPECT_FALSE(button->hover);
}

TEST_F(ButtonTest, SuppressionDragEndAndRefusedMouseReportNoClick)
{
    const POINT in = At(3, 1);
    // The suppress bit: the state still changes.
    button->stateFlags = t_wndButton::e_noClick;
    Press(in);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_down);
    EXPECT_TRUE(Release(in));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);
    EXPECT_EQ(button->stateFlags & t_wndButton::e_noClick, t_wndButton::e_noClick);
    EXPECT_EQ(button->clicks, 0);

    // The release that ends a window drag.
    button->stateFlags = 0;
    Press(in);
    m_top.inUpAfterDrag = true;
    Release(in);
    m_top.inUpAfterDrag = false;
    EXPECT_EQ(button->clicks, 0);

    // A button that takes no mouse takes no press.
    button->acceptsMouse = false;
    EXPECT_FALSE(Press(in));
    EXPECT_FALSE(Release(in));
    EXPECT_EQ(button->clicks, 0);
}

TEST_F(ButtonTest, ClickRecordsCursorOffsetWhenAsked)
{
    button->cursorRestore = true;
    Press(At(4, 3));
    Release(At(4, 3));
    EXPECT_TRUE(button->cursorRestorePending);
    EXPECT_EQ(button->cursorOffsetX, 4);
    EXPECT_EQ(button->cursorOffsetY, 3);
}

TEST_F(ButtonTest, HoverShowsTheTooltipOncePerVisit)
{
    const POINT in = At(2, 2);
    EXPECT_TRUE(button->OnMouseHover(0, in.x, in.y));
    EXPECT_TRUE(button->OnMouseHover(0, in.x, in.y));
    EXPECT_EQ(button->hintsShown, 1);
    EXPECT_FALSE(button->OnMouseHover(0, 300, 300));
    button->OnMouseLeave();
    EXPECT_EQ(button->hintsHidden, 1);
    EXPECT_FALSE(button->hintShown);
    EXPECT_TRUE(button->OnMouseHover(0, in.x, in.y));
    EXPECT_EQ(button->hintsShown, 2);
}

// A child element that takes every press and release.
class t_buttonTaker : public t_wndBase {
public:
    bool OnLButtonDown(UINT, int, int) override { return true; }
    bool OnLButtonUp(UINT, int, int) override { return true; }
};

TEST_F(ButtonTest, ChildrenTakeTheButtonFirst)
{
    t_buttonTaker* child = new t_buttonTaker();
    child->Create(0, 0, 0, 2, 2, 0, nullptr, button);
    EXPECT_TRUE(Press(At(2, 2)));
    EXPECT_TRUE(Release(At(2, 2)));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_normal);
    EXPECT_EQ(button->clicks, 0);
}

TEST_F(ButtonTest, TransparentPixelIsNotHit)
{
    // (0, 0) of the picture is fully transparent; its neighbours are opaque.
    EXPECT_FALSE(button->HitTest(110, 220, 0));
    EXPECT_TRUE(button->HitTest(111, 220, 0));
    EXPECT_TRUE(button->HitTest(110, 221, 0));
    EXPECT_TRUE(button->HitTest(115, 223, 0));
    EXPECT_FALSE(button->HitTest(116, 223, 0));  // past the picture
    EXPECT_FALSE(Press(At(0, 0)));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_normal);
    // Modes 1 and 2 ask whether the button takes the mouse at all.
    button->acceptsMouse = false;
    EXPECT_TRUE(button->HitTest(111, 220, 0));
    EXPECT_FALSE(button->HitTest(111, 220, 1));
    EXPECT_FALSE(button->HitTest(111, 220, 2));
}

TEST_F(ButtonTest, HitMaskIsBuiltOnTheFirstHitAndKeptUntilThePictureChanges)
{
    // Measure only notes the picture; the first hit test builds the mask.
    EXPECT_EQ(button->hitMask.bits, nullptr);
    EXPECT_TRUE(button->HitTest(111, 220, 0));
    ASSERT_NE(button->hitMask.bits, nullptr);
    // Kept over a Measure of the same picture: a cleared mask stays cleared.
    button->hitMask.Clear();
    button->Measure(nullptr);
    EXPECT_FALSE(button->HitTest(111, 220, 0));

    // A new picture of its own pixels, transparent along the top row.
    std::vector<uint32_t> pixels(c_width * c_height, 0xFF336699u);
    for (int x = 0; x < c_width; ++x)
        pixels[(c_height - 1) * c_width + x] = 0;
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels.data(), c_width, c_height, source, 0, nullptr));
    t_image& normal = button->imageSets.sets[0].images[t_wndButton::e_normal];
    t_image saved = normal;
    normal.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, c_width, c_height, t_image::e_natural, t_image::e_natural,
                   false);
    normal.hasAlpha = 1;
    button->Measure(nullptr);
    EXPECT_FALSE(button->HitTest(111, 220, 0));
    EXPECT_TRUE(button->HitTest(110, 221, 0));

    // The same record, address and pixel buffer, but a new picture in it: a new mask.
    t_imageSource::Destroy(source);
    std::fill(pixels.begin(), pixels.end(), 0xFF336699u);
    pixels[c_width + 2] = 0;  // (2, 2) from the top
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels.data(), c_width, c_height, source, 0, nullptr));
    normal.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, c_width, c_height, t_image::e_natural, t_image::e_natural,
                   false);
    normal.hasAlpha = 1;
    button->Measure(nullptr);
    EXPECT_TRUE(button->HitTest(111, 220, 0));
    EXPECT_FALSE(button->HitTest(112, 222, 0));

    // Another state picture followed: the fixed state's, of the mode Measure saw.
    button->fixedStateOn = true;
    button->fixedState = t_wndButton::e_hover;
    button->Measure(nullptr);
    EXPECT_FALSE(button->HitTest(110, 220, 0));
    EXPECT_TRUE(button->HitTest(112, 222, 0));
    normal = saved;
    t_imageSource::Destroy(source);
}

TEST_F(ButtonTest, RegionFollowsTheOpaquePixelsAndSurvivesAPaint)
{
    // A paint records the shown picture first; the region must not depend on that.
    Rendered();
    HRGN shape = button->GetRegion();
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    EXPECT_TRUE(PtInRegion(shape, 1, 0));
    EXPECT_TRUE(PtInRegion(shape, c_width - 1, c_height - 1));
    EXPECT_FALSE(PtInRegion(shape, c_width, 0));
    DeleteObject(shape);
    // Each call hands out its own copy.
    HRGN a = button->GetRegion();
    HRGN b = button->GetRegion();
    EXPECT_NE(a, b);
    DeleteObject(a);
    DeleteObject(b);
}

TEST_F(ButtonTest, EveryStateAndModeDrawsItsPicture)
{
    for (int mode = 0; mode < c_sets; ++mode) {
        button->SetMode(mode);
        for (int state = 0; state < t_imageSet::c_stateCount; ++state) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " state " << state);
            button->stateFlags = state;
            EXPECT_EQ(Rendered(), PictureColor(mode, state));
            EXPECT_EQ(Rendered(c_width - 1, c_height - 1), PictureColor(mode, state));
            EXPECT_EQ(Rendered(0, 0), 0xFF000000u);  // the transparent corner over the black DIB
        }
        // A fixed state wins over the live one.
        button->stateFlags = t_wndButton::e_hover;
        button->fixedStateOn = true;
        button->fixedState = 5;
        EXPECT_EQ(Rendered(), PictureColor(mode, 5));
        button->fixedStateOn = false;
    }
    // The seventh state number shows the normal picture.
    button->SetMode(0);
    button->stateFlags = 7;
    EXPECT_EQ(Rendered(), PictureColor(0, 0));
}

TEST_F(ButtonTest, ToggleShowsDownWhileOnAndItsLiveStateWhenOff)
{
    button->style |= t_wndButton::e_styleToggle;
    const POINT in = At(2, 2);
    button->OnMouseEnter();
    Press(in);
    Release(in);
    EXPECT_EQ(button->stateFlags & t_wndButton::e_toggleOn, t_wndButton::e_toggleOn);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);
    EXPECT_EQ(Rendered(), PictureColor(0, t_wndButton::e_down));
    Press(in);
    Release(in);
    EXPECT_EQ(button->stateFlags & t_wndButton::e_toggleOn, 0);
    EXPECT_EQ(Rendered(), PictureColor(0, t_wndButton::e_hover));
    EXPECT_EQ(button->clicks, 2);
    // Off and away: the normal picture again.
    button->OnMouseLeave();
    EXPECT_EQ(Rendered(), PictureColor(0, t_wndButton::e_normal));
}

TEST_F(ButtonTest, StepStateFollowsTheAnimationTable)
{
    struct t_case {
        int from;
        bool hit, down;
        unsigned pos;
        unsigned len6;  // the up state's length (others are 10)
        int to;
        bool started;
    };
    const t_case cases[] = {
        {3, true, false, 5, 10, 3, false},   {3, true, false, 10, 10, 2, false}, {3, false, false, 0, 10, 4, true},
        {4, true, false, 0, 10, 3, true},    {4, false, false, 9, 10, 4, false}, {4, false, false, 10, 10, 0, false},
        {5, true, true, 9, 10, 5, false},    {5, true, true, 10, 10, 1, false},  {5, true, false, 0, 10, 6, true},
        {5, false, true, 0, 10, 6, true},    {6, true, true, 0, 10, 5, true},    {6, true, false, 10, 10, 2, false},
        {6, false, false, 10, 10, 0, false}, {6, true, false, 3, 10, 6, false},  {1, false, false, 0, 10, 6, false},
        {1, false, false, 0, 0, 0, false},   {1, true, false, 0, 10, 6, false},  {1, true, false, 0, 0, 2, false},
        {1, true, true, 0, 10, 1, false},    {0, true, true, 0, 10, 0, false},   {2, false, false, 0, 10, 2, false},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " hit " << c.hit << " down " << c.down << " pos "
                                        << c.pos << " len6 " << c.len6);
        for (unsigned& length : button->lengths)
            length = 10;
        button->lengths[6] = c.len6;
        button->starts = 0;
        button->pos = c.pos;
        // The on bit and the suppress bit ride along untouched.
        button->stateFlags = c.from | t_wndButton::e_toggleOn | t_wndButton::e_noClick;
        const POINT p = At(c.hit ? 2 : 30, 2);
        t_fakeInput::down = c.down;
        const bool changed = button->StepState(500, true, p.x, p.y);
        EXPECT_EQ(button->StateNumber(), c.to);
        EXPECT_EQ(changed, c.to != c.from);
        EXPECT_EQ(button->stateFlags & ~t_wndButton::e_stateMask, t_wndButton::e_toggleOn | t_wndButton::e_noClick);
        EXPECT_EQ(button->pressFlags, c.from | t_wndButton::e_toggleOn | t_wndButton::e_noClick);
        EXPECT_EQ(button->starts > 0, c.started);
    }
}

TEST_F(ButtonTest, AnimatedClickRunsThroughTimedStatesOnTheClock)
{
    for (unsigned& length : button->lengths)
        length = 20;  // 200 ms each
    button->posFromClock = true;
    const POINT in = At(2, 2);
    button->OnMouseEnter();
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_in);
    button->startedAt = t_fakeInput::tick / 10;
    t_fakeInput::tick += 100;
    EXPECT_FALSE(button->StepState(t_fakeInput::tick / 10, true, in.x, in.y));
    t_fakeInput::tick += 100;
    EXPECT_TRUE(button->StepState(t_fakeInput::tick / 10, true, in.x, in.y));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);

    // The press enters the press animation; it reaches down after its length.
    Press(in);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_downing);
    button->startedAt = t_fakeInput::tick / 10;
    t_fakeInput::tick += 250;
    button->StepState(t_fakeInput::tick / 10, true, in.x, in.y);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_down);
    // Released from down: the up state is animated, so it is shown, and the click is reported.
    Release(in);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_up);
    EXPECT_EQ(button->clicks, 1);
    // Pressed and released again during the press animation: the up animation starts at
    // the release and the clock ends it in hover.
    Press(in);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_downing);
    button->startedAt = t_fakeInput::tick / 10;
    t_fakeInput::tick += 50;
    Release(in);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_up);
    EXPECT_EQ(button->startedAt, t_fakeInput::tick / 10);
    EXPECT_EQ(button->clicks, 2);
    t_fakeInput::tick += 190;
    button->StepState(t_fakeInput::tick / 10, true, in.x, in.y);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_up);
    t_fakeInput::tick += 10;
    button->StepState(t_fakeInput::tick / 10, true, in.x, in.y);
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);

    // Leaving from hover runs the out animation; coming back during it runs in again.
    button->OnMouseLeave();
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_out);
    button->OnMouseEnter();
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_in);
    EXPECT_EQ(button->clicks, 2);
}

TEST_F(ButtonTest, ModeChangeRestartsFromPositionZero)
{
    for (unsigned& length : button->lengths)
        length = 10;
    button->pos = 50;  // would end any animation
    button->stateFlags = t_wndButton::e_in;
    button->SetMode(1);
    EXPECT_EQ(button->previousMode, 0);
    const POINT in = At(2, 2);
    // The first step in the new mode counts from 0: still in.
    EXPECT_FALSE(button->StepState(1, true, in.x, in.y));
    EXPECT_EQ(button->previousMode, 1);
    EXPECT_TRUE(button->StepState(2, true, in.x, in.y));
    EXPECT_EQ(button->StateNumber(), t_wndButton::e_hover);
    // A locked mode stays.
    button->modeLocked = true;
    button->SetMode(0);
    EXPECT_EQ(button->mode, 1);
}

TEST_F(ButtonTest, ModeOrFixedStateWithoutPictureShowsAndReadsNothing)
{
    struct t_case {
        int mode;
        bool fixed;
        int fixedState;
    };
    const t_case cases[] = {{2, false, 0},       {3, false, 0}, {-1, false, 0}, {INT_MAX, false, 0},
                            {INT_MIN, false, 0}, {0, true, 7},  {0, true, -3},  {1, true, INT_MAX}};
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " fixed " << c.fixedState);
        button->SetMode(c.mode);
        button->fixedStateOn = c.fixed;
        button->fixedState = c.fixedState;
        EXPECT_EQ(button->mode, c.mode);
        EXPECT_EQ(button->GetCurrentImage(), nullptr);
        EXPECT_EQ(button->GetRegion(), nullptr);
        EXPECT_EQ(Rendered(), 0xFF000000u);  // nothing drawn over the black DIB
        button->RestartAnimation(0, c.mode);
        button->RestartAnimations(c.mode);
        button->Measure(nullptr);
        EXPECT_FALSE(button->HitTest(112, 222, 0));
        if (!c.fixed) {
            EXPECT_EQ(button->GetSize().cx, 0);
        }
        EXPECT_FALSE(Press(At(2, 2)));
        t_image copy;
        copy.Init();
        bool changed = true;
        EXPECT_FALSE(button->CopyCurrentPicture(copy, changed, true));
        button->StepState(1, true, 112, 222);
    }
    // Back to a mode with a set: everything works again.
    button->SetMode(1);
    button->fixedStateOn = false;
    button->stateFlags = 0;
    button->Measure(nullptr);
    EXPECT_EQ(button->GetSize().cx, c_width);
    EXPECT_EQ(Rendered(), PictureColor(1, 0));
    EXPECT_TRUE(button->HitTest(112, 222, 0));
    // A set count past the three sets reads no further than the third.
    button->imageSets.count = 99;
    EXPECT_EQ(button->GetImage(3, 0), nullptr);
    EXPECT_NE(button->GetImage(2, 0), nullptr);
}

TEST(WndButtonAnimation, RestartPutsAFrameAnimationBackAtItsFirstFrame)
{
    std::vector<uint32_t> pixels(2 * 4 * 4, 0xFF112233u);
    const int delays[2] = {5, 5};
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(2, pixels.data(), 4, 4, source, 0, delays));
    t_wndButton button;
    button.imageSets.count = 1;
    button.imageSets.sets[0].images[t_wndButton::e_hover].SetPart(source, 0, 0, c_noColorKey, c_noColorKey, 4, 4,
                                                                  t_image::e_natural, t_image::e_natural, false);
    t_imageFrames& frames = source->Frames();
    frames.Advance(100);
    frames.Advance(107);
    ASSERT_EQ(frames.current, 1);
    button.RestartAnimation(t_wndButton::e_hover, 0);
    EXPECT_EQ(frames.current, 0);
    EXPECT_EQ(frames.start, 0);
    frames.Advance(200);
    frames.Advance(207);
    button.RestartAnimations(0);
    EXPECT_EQ(frames.current, 0);
    t_imageSource::Destroy(source);
}

}  // namespace
