#include "ime_ui/windows/buttons/wnd_status_btn.h"

#include "foundation/process/ui_function.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_image.h"

namespace {

// The default skin's backgrounds of a hovered and a pressed built-in button, shared by
// every button and loaded on first use after a reload request.
struct t_stateBackgrounds {
    t_image hover;
    t_image down;
    bool loaded = false;
    HMODULE module = nullptr;

    void Release()
    {
        hover.Release();
        down.Release();
        hover.Init();
        down.Init();
        loaded = false;
    }
    static void LoadOne(t_image& picture, HMODULE from, const wchar_t* name)
    {
        if (!picture.LoadResource(from, name)) {
            picture.Init();
            return;
        }
        // Stretched over the whole button.
        picture.modeH = t_image::e_stretch;
        picture.modeV = t_image::e_stretch;
    }
    t_image* For(int state)
    {
        if (!loaded) {
            loaded = true;
            LoadOne(hover, module, L"IDR_BTNBK_HOVER");
            LoadOne(down, module, L"IDR_BTNBK_DOWN");
        }
        t_image* picture = state == t_wndButton::e_hover ? &hover : state == t_wndButton::e_down ? &down : nullptr;
        return picture && !picture->IsBitmapEmpty() ? picture : nullptr;
    }
};

t_stateBackgrounds& Backgrounds()
{
    static t_stateBackgrounds* shared = [] {
        t_stateBackgrounds* made = new t_stateBackgrounds;
        made->hover.Init();
        made->down.Init();
        return made;
    }();
    return *shared;
}

// The state that plays the same animation the other way.
int CounterpartState(int state)
{
    switch (state) {
    case t_wndButton::e_in:
        return t_wndButton::e_out;
    case t_wndButton::e_out:
        return t_wndButton::e_in;
    case t_wndButton::e_downing:
        return t_wndButton::e_up;
    case t_wndButton::e_up:
        return t_wndButton::e_downing;
    default:
        return -1;
    }
}

// The frame an animation shows at position (hundredths of a second into its play, counted
// in its own direction).
int FrameAtPosition(const t_imageFrames& frames, int position)
{
    long long sum = 0;
    if (frames.reverse) {
        for (int i = frames.count - 1; i > 0; --i) {
            sum += frames.frames[i].delay;
            if (sum > position)
                return i;
        }
        return 0;
    }
    for (int i = 0; i < frames.count - 1; ++i) {
        sum += frames.frames[i].delay;
        if (sum > position)
            return i;
    }
    return frames.count - 1;
}

}  // namespace

t_wndStatusBtn::t_wndStatusBtn()
    : window(-1), type(static_cast<int>(t_skinItemType::e_fixed)), index(0), m_postWindow(nullptr),
      m_shownStateBefore(-1)
{}

t_wndStatusBtn::~t_wndStatusBtn() = default;

bool t_wndStatusBtn::CreateAs(DWORD createStyle, int x, int y, int width, int height, INT_PTR createId,
                              HINSTANCE instance, t_wndBase* parentElement, int buttonStyle, bool restoreCursor)
{
    if (!t_wndButton::Create(createStyle, x, y, width, height, createId, instance, parentElement))
        return false;
    style = buttonStyle;
    cursorRestore = restoreCursor;
    return true;
}

void t_wndStatusBtn::SetKey(int windowNumber, t_skinItemType itemType, int itemIndex)
{
    window = windowNumber;
    type = static_cast<int>(itemType);
    index = itemIndex;
}

HWND t_wndStatusBtn::PostWindow() const { return m_postWindow ? m_postWindow : GetHwnd(); }

t_uiSkinData* t_wndStatusBtn::Skin() const { return GetContext()->skin; }

t_btnSkinRec* t_wndStatusBtn::Record() const
{
    const t_uiSkinData* skin = Skin();
    const t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    return parts ? parts->FindButton(window, static_cast<t_skinItemType>(type), index) : nullptr;
}

HWND t_wndStatusBtn::HostWindow() const { return GetContext()->hostWindow; }

t_uiSettings* t_wndStatusBtn::Settings() const { return GetContext()->settings; }

void t_wndStatusBtn::Rebuild()
{
    const t_btnSkinRec* record = Record();
    visible = record && record->display;
    if (!visible)
        return;
    const int count = record->layerCount < 0                    ? 0
                      : record->layerCount > c_btnLayerCapacity ? c_btnLayerCapacity
                                                                : record->layerCount;
    for (int set = 0; set < t_btnImageSets::c_maxSets; ++set) {
        for (int state = 0; state < t_imageSet::c_stateCount; ++state) {
            t_image& picture = imageSets.sets[set].images[state];
            if (set < count) {
                picture = record->layers[set].states[state];
                // The skin's handle manager owns the pictures.
                picture.ownsSource = 0;
            } else {
                InitEmptyPicture(picture);
            }
        }
    }
    imageSets.count = count;
    // New pictures: the next paint copies them and the region is made again.
    shownMode = -1;
    shownState = -1;
    if (region) {
        DeleteObject(region);
        region = nullptr;
    }
}

void t_wndStatusBtn::UpdateHint()
{
    const t_uiSkinData* skin = Skin();
    const t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    SetHintOrHost(parts ? parts->GetButtonHint(window, static_cast<t_skinItemType>(type), index) : nullptr);
}

void t_wndStatusBtn::SetHintOrHost(const wchar_t* hint)
{
    if (hint && *hint) {
        SetText(hint);
        return;
    }
    wchar_t buffer[c_hintChars] = {};
    GetContext()->Ui().GetButtonHintText(buffer, c_hintChars, window, type, index, Settings());
    buffer[c_hintChars - 1] = L'\0';
    SetText(buffer);
}

void t_wndStatusBtn::CallLayerCallback()
{
    const t_btnSkinRec* record = Record();
    if (!record || mode < 0 || mode >= record->layerCount || mode >= c_btnLayerCapacity)
        return;
    if (UiFunction::t_callback callback = record->layers[mode].callback)
        callback(HostWindow(), Settings());
}

void t_wndStatusBtn::CallUiFunction(int number)
{
    const UiFunction* functions = UiFunction::Instance();
    if (UiFunction::t_callback callback = functions ? functions->Get(number) : nullptr)
        callback(HostWindow(), Settings());
}

void t_wndStatusBtn::ToggleMode() { SetMode(mode == 0 ? 1 : 0); }

void t_wndStatusBtn::AllowClicks(bool allowed)
{
    if (allowed)
        stateFlags &= ~e_noClick;
    else
        stateFlags |= e_noClick;
}

void t_wndStatusBtn::OnClick()
{
    CallLayerCallback();
    ToggleMode();
}

int t_wndStatusBtn::CompareButtonKeys(const t_wndStatusBtn& a, const t_wndStatusBtn& b)
{
    if (a.window != b.window)
        return a.window > b.window ? -1 : 1;
    if (a.type != b.type)
        return a.type < b.type ? -1 : 1;
    if (a.index != b.index)
        return a.index > b.index ? -1 : 1;
    return 0;
}

void t_wndStatusBtn::RequestBackgroundReload(HMODULE module)
{
    t_stateBackgrounds& backgrounds = Backgrounds();
    backgrounds.Release();
    backgrounds.module = module;
}

void t_wndStatusBtn::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    int alpha = 255;
    const t_uiSkinData* skin = Skin();
    if (skin && skin->IsDefaultSkin() && IsFixed()) {
        // The state decides the background, so the host's state is read first.
        UpdateState();
        const int state = GetVisualState();
        if (t_image* background = Backgrounds().For(state)) {
            const RECT r = GetRectInHwnd();
            background->Draw(context, r.left, r.top, r.right - r.left, r.bottom - r.top, 255);
        }
        if (state == e_hover)
            alpha = c_defaultSkinHoverAlpha;
    }
    if (t_renderImage* render = InnerImageRender(layout))
        render->alpha = alpha;
    t_wndButton::Paint_Layout(context);
}

void t_wndStatusBtn::UpdateHitMask()
{
    const t_uiSkinData* skin = Skin();
    if (!skin || !skin->IsDefaultSkin()) {
        t_wndButton::UpdateHitMask();
        return;
    }
    const t_image* picture = HitMaskPicture();
    if (!picture || picture->partWidth <= 0 || picture->partHeight <= 0 ||
        !hitMask.Reset(picture->partWidth, picture->partHeight)) {
        hitMask.Free();
        return;
    }
    hitMask.SetAll(picture->partWidth, picture->partHeight);
}

int t_wndStatusBtn::HitMaskVariant()
{
    const t_uiSkinData* skin = Skin();
    return skin && skin->IsDefaultSkin() ? 1 : 0;
}

t_imageFrames* t_wndStatusBtn::AnimationOf(int forMode, int state)
{
    t_image* picture = GetImage(forMode, state);
    if (!picture || picture->holder != t_image::e_sourcePart || !picture->source ||
        picture->source->kind != t_imageSource::e_frames)
        return nullptr;
    t_imageFrames& frames = picture->source->Frames();
    return frames.frames && frames.count > 0 ? &frames : nullptr;
}

void t_wndStatusBtn::OnImageChanged()
{
    const int state = GetVisualState();
    const int before = m_shownStateBefore;
    m_shownStateBefore = state;
    t_imageFrames* frames = AnimationOf(mode, state);
    if (!frames)
        return;
    const int now = static_cast<int>(InputTickCount() / 10);
    // Where the opposite animation had got to, before this one is rewound (the two may
    // share their frames).
    int from = -1;
    if (before >= 0 && before == CounterpartState(state)) {
        if (const t_imageFrames* counterpart = AnimationOf(mode, before))
            from = FrameAtPosition(*counterpart, counterpart->GetPosition(now));
    }
    frames->reverse = state == e_out || state == e_up ? 1 : 0;
    frames->loopsDone = 0;
    if (from >= 0 && from < frames->count) {
        frames->current = from;
        frames->start = now;
    } else {
        frames->current = frames->reverse ? frames->count - 1 : 0;
        frames->start = 0;
    }
    if (t_image* picture = GetImage(mode, state))
        picture->ref = picture->source->GetBitmapRef();
}

bool t_wndStatusBtn::StartStateAnimation(unsigned time, bool restart)
{
    t_imageFrames* frames = AnimationOf(mode, GetVisualState());
    if (!frames)
        return false;
    const bool loops = frames->loopLimit == 0;
    if (restart)
        return loops;
    if (loops) {
        frames->Reverse();
        frames->start = static_cast<int>(time);
        return true;
    }
    frames->start = 0;
    frames->loopsDone = 0;
    frames->current = frames->reverse ? frames->count - 1 : 0;
    return false;
}

unsigned t_wndStatusBtn::GetStateAnimationLength(int forMode, int state)
{
    const t_imageFrames* frames = AnimationOf(forMode, state);
    return frames ? frames->cycle : 0;
}

unsigned t_wndStatusBtn::GetStateAnimationPos(int forMode, int flags, unsigned time)
{
    const t_imageFrames* frames = AnimationOf(forMode, ButtonStateFromFlags(flags));
    if (!frames)
        return 0;
    const int position = frames->GetPosition(static_cast<int>(time));
    return position > 0 ? static_cast<unsigned>(position) : 0;
}
