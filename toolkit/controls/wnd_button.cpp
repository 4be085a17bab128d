#include "toolkit/controls/wnd_button.h"

#include <new>

#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/wnd_image.h"
#include "toolkit/controls/wnd_top.h"

namespace {

bool HasBitmap(const t_image& picture) { return picture.GetBitmapRef().IsBitmap(); }

}  // namespace

t_wndButton::t_wndButton()
    : mode(0), style(e_styleDefault), stateFlags(0), pressFlags(0), hintShown(false), shownMode(0), shownState(-1),
      region(nullptr), previousMode(0), modeLocked(false), fixedStateOn(false), fixedState(0), m_regionMode(-1),
      m_regionState(-1), m_regionWidth(0), m_regionHeight(0), m_maskKey(), m_maskStale(false)
{
    for (t_imageSet& set : imageSets.sets) {
        for (t_image& picture : set.images)
            InitEmptyPicture(picture);
    }
    imageSets.count = 0;
    acceptsMouse = true;
}

t_wndButton::~t_wndButton()
{
    if (region)
        DeleteObject(region);
    region = nullptr;
    hitMask.Free();
}

unsigned t_wndButton::Now() { return InputTickCount() / 10; }

void t_wndButton::StepAtCursor(bool restart)
{
    const POINT cursor = InputCursorPos();
    StepState(Now(), restart, cursor.x, cursor.y);
}

int t_wndButton::ButtonStateFromFlags(int flags)
{
    if (flags == 0)
        return e_normal;
    const int number = flags & e_stateMask;
    if (number == e_down || (flags & e_toggleOn))
        return e_down;
    return number == 7 ? e_normal : number;
}

int t_wndButton::GetVisualState() const { return fixedStateOn ? fixedState : ButtonStateFromFlags(stateFlags); }

t_image* t_wndButton::GetImage(int forMode, int state)
{
    // The mode and the fixed state are anybody's numbers: only a set in use is read.
    const int count = imageSets.count < 0                           ? 0
                      : imageSets.count > t_btnImageSets::c_maxSets ? t_btnImageSets::c_maxSets
                                                                    : imageSets.count;
    if (forMode < 0 || forMode >= count || state < 0 || state >= t_imageSet::c_stateCount)
        return nullptr;
    return &imageSets.sets[forMode].images[state];
}

void t_wndButton::SetStateIfAnimated(int state, int fallback)
{
    const int number = GetStateAnimationLength(mode, state) != 0 ? state : fallback;
    stateFlags = (stateFlags & ~e_stateMask) | (number & e_stateMask);
}

bool t_wndButton::StartStateAnimation(unsigned, bool) { return false; }
unsigned t_wndButton::GetStateAnimationLength(int, int) { return 0; }
unsigned t_wndButton::GetStateAnimationPos(int, int, unsigned) { return 0; }

bool t_wndButton::StepState(unsigned time, bool restart, int x, int y)
{
    const bool hit = HitTest(x, y, 0);
    const bool down = IsPrimaryButtonDown();
    const unsigned len3 = GetStateAnimationLength(mode, e_in);
    const unsigned len4 = GetStateAnimationLength(mode, e_out);
    const unsigned len5 = GetStateAnimationLength(mode, e_downing);
    const unsigned len6 = GetStateAnimationLength(mode, e_up);
    unsigned pos = 0;
    if (mode != previousMode) {
        // A new look starts its picture's animation from the beginning.
        previousMode = mode;
        RestartAnimation(stateFlags, mode);
    } else {
        pos = GetStateAnimationPos(mode, stateFlags, time);
    }
    pressFlags = stateFlags;
    const int before = StateNumber();
    int next = before;
    switch (before) {
    case e_in:
        if (hit && pos >= len3) {
            next = e_hover;
        } else if (!hit) {
            next = e_out;
            StartStateAnimation(time, true);
        }
        break;
    case e_out:
        if (hit) {
            next = e_in;
            StartStateAnimation(time, true);
        } else if (pos >= len4) {
            next = e_normal;
        }
        break;
    case e_downing:
        if (down && hit) {
            if (pos >= len5)
                next = e_down;
        } else {
            next = e_up;
            StartStateAnimation(time, restart);
        }
        break;
    case e_up:
        if (down && hit) {
            next = e_downing;
            StartStateAnimation(time, restart);
        } else if (pos >= len6) {
            next = hit ? e_hover : e_normal;
        }
        break;
    case e_down:
        if (!hit) {
            SetStateIfAnimated(e_up, e_normal);
            next = StateNumber();
        } else if (!down) {
            SetStateIfAnimated(e_up, e_hover);
            next = StateNumber();
        }
        break;
    default:
        break;
    }
    stateFlags = (stateFlags & ~e_stateMask) | next;
    return next != before;
}

void t_wndButton::OnMouseEnter()
{
    if (stateFlags == e_out)
        StepAtCursor(true);
    else if (stateFlags != e_hover)
        SetStateIfAnimated(e_in, e_hover);
    InvalidateAll();
}

void t_wndButton::OnMouseLeave()
{
    switch (StateNumber()) {
    case e_normal:
    case e_out:
        break;
    case e_hover:
        stateFlags = (stateFlags & ~e_stateMask) | (GetStateAnimationLength(mode, e_out) != 0 ? e_out : e_normal);
        break;
    default:
        StepAtCursor(true);
        break;
    }
    InvalidateAll();
    ShowHint(false);
    hintShown = false;
    hover = false;
    t_wndBase::OnMouseLeave();
}

bool t_wndButton::OnMouseHover(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    if (!hintShown) {
        ShowHint(true);
        hintShown = true;
    }
    t_wndBase::OnMouseHover(keys, x, y);
    return true;
}

bool t_wndButton::TakesButton(bool (t_wndBase::*operation)(UINT, int, int), UINT keys, int x, int y, bool& taken)
{
    taken = false;
    if (!acceptsMouse)
        return false;
    // The children get the button first.
    for (int i = 0; i < ChildCount(); ++i) {
        if ((ChildAt(i)->*operation)(keys, x, y)) {
            taken = true;
            return false;
        }
    }
    return HitTest(x, y, 0);
}

bool t_wndButton::OnLButtonDown(UINT keys, int x, int y)
{
    bool taken = false;
    if (!TakesButton(&t_wndBase::OnLButtonDown, keys, x, y, taken))
        return taken;
    pressFlags = stateFlags;
    SetStateIfAnimated(e_downing, e_down);
    if (style & e_styleToggle)
        stateFlags ^= e_toggleOn;
    InvalidateAll();
    return true;
}

bool t_wndButton::OnLButtonUp(UINT keys, int x, int y)
{
    bool taken = false;
    if (!TakesButton(&t_wndBase::OnLButtonUp, keys, x, y, taken))
        return taken;
    const int number = StateNumber();
    if (number != e_down && number != e_downing)
        return true;
    StepAtCursor(true);
    const bool endsDrag = top && top->inUpAfterDrag;
    if (!(stateFlags & e_noClick) && !endsDrag) {
        if (cursorRestore) {
            cursorRestorePending = true;
            const RECT r = GetRect();
            cursorOffsetX = x - r.left;
            cursorOffsetY = y - r.top;
        }
        OnClick();
        OnClickDone();
    }
    InvalidateAll();
    return true;
}

bool t_wndButton::HitTest(int x, int y, int hitMode)
{
    if (!visible || ((hitMode == 1 || hitMode == 2) && !acceptsMouse))
        return false;
    const RECT r = GetRect();
    const POINT point = {x, y};
    if (!PtInRect(&r, point))
        return false;
    return HitMask().Test(x - r.left, y - r.top);
}

bool t_wndButton::t_hitMaskKey::operator==(const t_hitMaskKey& o) const
{
    return mode == o.mode && state == o.state && variant == o.variant && picture == o.picture &&
           ref.kind == o.ref.kind && ref.handle == o.ref.handle && ref.width == o.ref.width &&
           ref.height == o.ref.height && source == o.source && partX == o.partX && partY == o.partY &&
           partWidth == o.partWidth && partHeight == o.partHeight && key1 == o.key1 && key2 == o.key2 &&
           hasAlpha == o.hasAlpha && generation == o.generation;
}

void t_wndButton::NoteHitMaskPicture()
{
    t_hitMaskKey key = {};
    key.mode = mode;
    key.state = fixedStateOn ? fixedState : e_normal;
    key.variant = HitMaskVariant();
    key.generation = PictureGeneration();
    if (const t_image* picture = GetImage(key.mode, key.state)) {
        key.picture = picture;
        key.ref = picture->GetBitmapRef();
        key.source = picture->source;
        key.partX = picture->partX;
        key.partY = picture->partY;
        key.partWidth = picture->partWidth;
        key.partHeight = picture->partHeight;
        key.key1 = picture->key1;
        key.key2 = picture->key2;
        key.hasAlpha = picture->hasAlpha;
    }
    if (!(key == m_maskKey)) {
        m_maskKey = key;
        m_maskStale = true;
    }
}

const t_hitMask& t_wndButton::HitMask()
{
    if (m_maskStale) {
        m_maskStale = false;
        UpdateHitMask();
    }
    return hitMask;
}

void t_wndButton::UpdateHitMask()
{
    const t_image* picture = HitMaskPicture();
    if (!picture || (!HasBitmap(*picture) && !picture->source) || picture->partWidth <= 0 || picture->partHeight <= 0 ||
        !hitMask.Reset(picture->partWidth, picture->partHeight)) {
        hitMask.Free();
        return;
    }
    picture->BuildHitMask(picture->partWidth, picture->partHeight, hitMask);
}

int t_wndButton::Measure(HDC)
{
    int width = 0, height = 0;
    if (visible && GetImage(mode, e_normal)) {
        UpdateState();
    }
    // UpdateState may have changed the mode: the set is looked up afresh.
    if (visible && GetImage(mode, e_normal)) {
        t_imageSet& set = imageSets.sets[mode];
        width = set.images[0].partWidth > 0 ? set.images[0].partWidth : 0;
        height = set.images[0].partHeight > 0 ? set.images[0].partHeight : 0;
        for (int i = 1; i < t_imageSet::c_stateCount; ++i) {
            set.images[i].partWidth = width;
            set.images[i].partHeight = height;
        }
    }
    NoteHitMaskPicture();
    SetSize(width, height);
    return 3;
}

bool t_wndButton::CopyCurrentPicture(t_image& dst, bool& changed, bool commit)
{
    changed = false;
    const int state = GetVisualState();
    const t_image* picture = GetImage(mode, state);
    if (!picture)
        return false;
    dst = *picture;
    // The copy only shows the picture; its owner keeps what it points at.
    dst.ownsSource = 0;
    changed = mode != shownMode || state != shownState;
    if (commit && changed) {
        shownMode = mode;
        shownState = state;
        OnImageChanged();
    }
    return HasBitmap(*picture);
}

t_layoutWnd* t_wndButton::CreateLayout()
{
    t_layoutWnd* node = t_wndBase::CreateLayout();
    if (!node)
        return nullptr;
    AttachPictureNode(*node, true);
    shownMode = -1;
    return node;
}

void t_wndButton::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    UpdateState();
    t_image picture;
    picture.Init();
    bool changed = false;
    if (!CopyCurrentPicture(picture, changed, true))
        return;
    if (changed) {
        if (t_renderImage* render = InnerImageRender(layout)) {
            render->image = picture;
            render->dirty = 1;
        }
    }
    PaintLayoutLinked(context);
}

HRGN t_wndButton::GetRegion()
{
    t_image picture;
    picture.Init();
    bool changed = false;
    if (!CopyCurrentPicture(picture, changed, false))
        return nullptr;
    const SIZE size = GetSize();
    const int state = GetVisualState();
    // The cache remembers what it was made for, so a paint in between cannot leave it stale.
    if (!region || m_regionMode != mode || m_regionState != state || m_regionWidth != size.cx ||
        m_regionHeight != size.cy) {
        if (region)
            DeleteObject(region);
        region = picture.CreateRegion(nullptr, size.cx, size.cy);
        m_regionMode = mode;
        m_regionState = state;
        m_regionWidth = size.cx;
        m_regionHeight = size.cy;
    }
    if (!region)
        return nullptr;
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR) {
        DeleteObject(copy);
        copy = nullptr;
    }
    return copy;
}

bool t_wndButton::Create(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId, HINSTANCE instance,
                         t_wndBase* parentElement)
{
    if (!t_wndBase::Create(createStyle, x, y, width, height, createId, instance, parentElement))
        return false;
    LoadImages();
    style = e_styleDefault;
    ResetUi(0);
    return true;
}

void t_wndButton::SetMode(int newMode)
{
    if (modeLocked)
        return;
    const int old = mode;
    mode = newMode;
    if (newMode != old && old != previousMode)
        previousMode = old;
}

void t_wndButton::SetFixedState(int state)
{
    if (!fixedStateOn)
        fixedState = state;
}

namespace {

// A picture cut from an animated source starts again at its first frame on the next advance.
void RestartPicture(t_image* picture)
{
    if (!picture || !picture->source || picture->holder != t_image::e_sourcePart ||
        picture->source->kind != t_imageSource::e_frames)
        return;
    t_imageFrames& frames = picture->source->Frames();
    frames.start = 0;
    frames.loopsDone = 0;
    frames.current = frames.reverse ? frames.count - 1 : 0;
}

}  // namespace

void t_wndButton::RestartAnimation(int flags, int forMode)
{
    RestartPicture(GetImage(forMode, ButtonStateFromFlags(flags)));
}

void t_wndButton::RestartAnimations(int forMode)
{
    for (int state = 0; state < t_imageSet::c_stateCount; ++state)
        RestartPicture(GetImage(forMode, state));
}
