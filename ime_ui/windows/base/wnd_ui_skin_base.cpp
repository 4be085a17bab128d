#include "ime_ui/windows/base/wnd_ui_skin_base.h"

#include <new>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "foundation/flash/flash_util.h"
#include "foundation/config/runtime.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/blur_behind.h"
#include "graphics/text/font.h"
#include "graphics/text/text_helpers.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/flash/flash_skin_cmd.h"
#include "ime_ui/windows/flash/wnd_flash_sub.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/shake_detector.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_button.h"
#include "toolkit/controls/wnd_top_access.h"

namespace {

volatile LONG g_uiDragActive = 0;

// The flash check runs once per process: -1 not yet, 0 passed, 1 failed.
int g_flashCheck = -1;

// The text styles whose font and colours the host is told about.
const int c_reportFontStyle = static_cast<int>(t_textStyleId::e_cand);
const int c_reportColorStyle = static_cast<int>(t_textStyleId::e_candFirst);

bool CompositionOn()
{
    t_runtime* runtime = GetRuntime();
    return runtime ? runtime->DwmComposition() : IsDwmCompositionEnabled();
}

// The parts of a packed runtime-skin key.
int KeyWindow(unsigned key) { return static_cast<int>((key >> 16) & 0xFFu); }
int KeyType(unsigned key) { return static_cast<int>(key >> 24); }
int KeyIndex(unsigned key) { return static_cast<int16_t>(key & 0xFFFFu); }

// Calls visit with every flash child of the map.
template <class F>
void VisitFlashes(const t_flashKeyMap& map, F&& visit)
{
    for (t_flashKeyMap::t_iterator it = map.Begin(); it.NotEquals(map.End()); it.Next()) {
        if (it.Node()->value)
            visit(static_cast<t_wndFlashSub*>(it.Node()->value));
    }
}

// Points every animated picture render of the tree at its source's current frame; true
// when one changed.
bool RepointAnimatedRenders(t_layout* node)
{
    if (!node)
        return false;
    bool changed = false;
    if (node->GetKind() == t_layout::e_kindRender) {
        t_render* render = static_cast<t_layoutRender*>(node)->GetRender();
        if (render && render->GetKind() == t_render::e_kindImage) {
            t_image& image = static_cast<t_renderImage*>(render)->image;
            if (image.source && image.source->kind == t_imageSource::e_frames) {
                const t_bitmapRef current = image.source->GetBitmapRef();
                if (current.IsBitmap() && current.handle != image.ref.handle) {
                    image.ref = current;
                    render->dirty = 1;
                    changed = true;
                }
            }
        }
    }
    changed |= RepointAnimatedRenders(node->GetInner());
    changed |= RepointAnimatedRenders(node->GetNext());
    for (int i = 0; i < node->ChildCount(); ++i)
        changed |= RepointAnimatedRenders(node->ChildAt(i));
    return changed;
}

// Steps every button child of the window; true when one changed its state.
bool StepButtons(t_wndUiSkinBase& window, unsigned time, POINT cursor)
{
    bool changed = false;
    for (int i = 0; i < window.ChildCount(); ++i) {
        t_wndButton* button = dynamic_cast<t_wndButton*>(window.ChildAt(i));
        if (button && button->StepState(time, false, cursor.x, cursor.y))
            changed = true;
    }
    return changed;
}

}  // namespace

bool IsUiWindowDragActive() { return InterlockedCompareExchange(&g_uiDragActive, 0, 0) != 0; }

const wchar_t* const t_wndUiSkinBase::c_flashHintText =
    L"Flash皮肤功能已更新，当前皮肤暂停播放。\r\n建议您重启电脑或重新打开程序。";

t_wndUiSkinBase::t_wndUiSkinBase()
    : anchorDragging(false), dragEnding(false), dragSettle(0), anchorX(0), anchorY(0), dragSettleReload(0),
      flashCmd(MakeOwned<t_flashSkinCmd>()), placeholderFlashes(true), windowIndex(-1), bgFlash(nullptr),
      detachedLayout(nullptr), m_flashHintShown(false)
{}

t_wndUiSkinBase::~t_wndUiSkinBase()
{
    flashMap.Clear();
}

t_uiSkinData* t_wndUiSkinBase::Skin() const { return GetContext()->skin; }

t_uiSettings* t_wndUiSkinBase::Settings() const { return GetContext()->settings; }

t_wndFlashSub* t_wndUiSkinBase::FindFlash(const t_flashKey& key) const
{
    return static_cast<t_wndFlashSub*>(flashMap.Lookup(key));
}

// ---- mouse, show and shake

void t_wndUiSkinBase::OnMouseEnter()
{
    t_wndTop::OnMouseEnter();
    t_uiSkinData* skin = Skin();
    if (!skin || !skin->ButtonParts() || skin->ButtonParts()->Flashes().Count() == 0)
        return;
    if (g_flashCheck < 0)
        g_flashCheck = !IsFlashServerReady() && !FlashUtilIsUsable() ? 1 : 0;
    if (g_flashCheck == 1) {
        const RECT r = GetRect();
        TopShowHint(this, c_flashHintText, RECT{r.left, r.top - 2, r.left, r.bottom + 10}, hintBelow);
        m_flashHintShown = true;
    }
}

void t_wndUiSkinBase::OnMouseLeave()
{
    t_wndTop::OnMouseLeave();
    if (m_flashHintShown) {
        TopHideHint(this);
        m_flashHintShown = false;
    }
}

bool t_wndUiSkinBase::Show(bool show)
{
    PerfScope scope("MoveComp621");
    const t_uiContext* context = GetContext();
    if (show)
        context->Ui().OnWindowShow(context->hostWindow, 1);
    const bool result = t_wndTop::Show(show);
    VisitFlashes(flashMap, [show](t_wndFlashSub* child) { child->FollowShow(show); });
    return result;
}

void t_wndUiSkinBase::OnShake(void*)
{
    ShowHint(false);
    if (GetShakeDetector())
        GetShakeDetector()->Reset();
    // The host learns that one shake gesture happened.
    GetContext()->Ui().OnWindowShake(1);
}

bool t_wndUiSkinBase::IsAltStyle(const t_uiSettings* settings)
{
    const t_runtime* runtime = GetRuntime();
    if (runtime && runtime->IsNoSkin())
        return false;
    ImcWrapImplBase& imc = GetContext()->Imc();
    const uint16_t word = imc.GetModeWord();
    if ((word & 0xFF00) == 0x100)
        return (word & 0xFF) == 1;
    if (imc.GetModeFlag())
        return true;
    return settings && settings->candStyle != 0;
}

// ---- anchor drag

void t_wndUiSkinBase::SetDragAnchor(const POINT* point)
{
    if (point) {
        anchorDragging = true;
        dragEnding = false;
        anchorX = point->x;
        anchorY = point->y;
        InterlockedExchange(&g_uiDragActive, 1);
        return;
    }
    dragEnding = true;
    dragSettle = dragSettleReload;
}

void t_wndUiSkinBase::OnDragMove(int, int) {}

void t_wndUiSkinBase::Move(int x, int y, int width, int height, bool repaint)
{
    bool settled = false;
    if (anchorDragging) {
        const POINT cursor = InputCursorPos();
        x = cursor.x - anchorX;
        y = cursor.y - anchorY;
        if (dragEnding && dragSettle > 0) {
            --dragSettle;
        } else if (dragEnding) {
            anchorDragging = false;
            dragEnding = false;
            settled = true;
        }
        OnDragMove(x, y);
    }
    t_wndTop::Move(x, y, width, height, repaint);
    // The drag is over: readers elsewhere must not go on thinking a window is dragged.
    if (settled)
        InterlockedExchange(&g_uiDragActive, 0);
    const RECT r = GetRect();
    VisitFlashes(flashMap, [&r](t_wndFlashSub* child) { child->FollowRect(r); });
}

// ---- the skin

void t_wndUiSkinBase::ApplySkin()
{
    t_uiContext* context = GetContext();
    t_uiSkinData* skin = context->skin;
    if (!context->settings || !skin)
        return;
    const t_skinTextStyle* fontStyle = skin->GetTextStylePtr(c_reportFontStyle);
    const t_skinTextStyle* colorStyle = skin->GetTextStylePtr(c_reportColorStyle);
    if (fontStyle && fontStyle->font && fontStyle->font->hfont && colorStyle && colorStyle->color) {
        LOGFONTW logFont = {};
        if (GetObjectW(fontStyle->font->hfont, sizeof(logFont), &logFont) == sizeof(logFont)) {
            const int fontValue = fontStyle->color ? static_cast<int>(*fontStyle->color) : 0;
            context->Imc().ReportSkinFont(0, logFont.lfFaceName, logFont.lfHeight, fontValue,
                                          static_cast<int>(*colorStyle->color));
        }
    }
    if (flashCmd)
        flashCmd->SetContext(m_context);
    blurBehind = skin->Aero();
    themedText = !ownerMode && RuntimeIsVistaOrLater() ? skin->Glow() : false;
    const bool composition = CompositionOn();
    if (blurBehind && composition)
        blurDirty = true;
    else if (blurBehind)
        blurBehind = false;
    else if (composition && GetHwnd())
        EnableBlurBehind(GetHwnd(), false, nullptr);
}

void t_wndUiSkinBase::DetachBackgroundForFlash()
{
    detachedLayout = nullptr;
    if (!bgFlash || !layout || !layout->GetInner())
        return;
    // The background flash paints the background under its frames.
    detachedLayout = layout->GetInner();
    bgFlash->SetInnerLayout(detachedLayout);
}

t_layout* t_wndUiSkinBase::CenterCellLayout()
{
    t_layout* background = layout ? layout->GetInner() : nullptr;
    if (!background || background->GetKind() != t_layout::e_kindGrid)
        return nullptr;
    return static_cast<t_layoutGrid*>(background)->GetChildAt(1, 1);
}

void t_wndUiSkinBase::SetChildVisible(const t_flashKeyMap& map, bool show)
{
    t_wndBase* child = static_cast<t_wndBase*>(map.Lookup(t_flashKey{windowIndex, 1, 0}));
    if (child)
        child->visible = show;
}

// ---- flash children

bool t_wndUiSkinBase::CreateUiWindow(const wchar_t* className, DWORD exStyle, DWORD style, int x, int y, int width,
                                     int height, INT_PTR owner, HINSTANCE instance, t_wndBase* parent)
{
    if (ownerMode) {
        if (hwnd || !t_wndBase::Create(style, x, y, width, height, owner, instance, parent))
            return false;
        ownerHwnd = reinterpret_cast<HWND>(owner);
        destroyed = false;
        SetTop(this);
        return true;
    }
    exStyle |= WS_EX_TOOLWINDOW;
    INT_PTR ownerWindow = owner;
    if (t_runtime* runtime = GetRuntime()) {
        if (runtime->UseTopmostUi()) {
            exStyle |= WS_EX_TOPMOST;
            ownerWindow = 0;
        }
        if (runtime->PathContains(L"corel"))
            exStyle |= WS_EX_LAYERED;
    }
    return CreateWindowOfClass(className, L"", style, x, y, width, height, ownerWindow, ToolkitInstanceOr(instance),
                               parent, exStyle);
}

void t_wndUiSkinBase::ClearSkinChildren()
{
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (t_wndStatusBtn* button = dynamic_cast<t_wndStatusBtn*>(ChildAt(i)))
            delete button;
    }
    DestroyFlashes();
    flashMap.Clear();
}

void t_wndUiSkinBase::DestroyFlashes()
{
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (t_wndFlashSub* child = dynamic_cast<t_wndFlashSub*>(ChildAt(i)))
            delete child;
    }
    // The map named the children just deleted.
    flashMap.Clear();
    bgFlash = nullptr;
    if (GetHwnd())
        KillTimer(GetHwnd(), c_flashTimerId);
}

void t_wndUiSkinBase::CreateFlashes(int window)
{
    t_uiSkinData* skin = Skin();
    if (!skin || !skin->ButtonParts())
        return;
    const HWND host = GetContext()->hostWindow;
    int created = 0;
    skin->ButtonParts()->Flashes().ForEach([&](unsigned key, const t_flashSkinRec& record) {
        if (KeyType(key) != static_cast<int>(t_skinItemType::e_flash) || KeyWindow(key) != window)
            return;
        const int index = KeyIndex(key);
        t_flashSubKind kind;
        if (index < 0) {
            if (placeholderFlashes)
                return;
            kind = t_flashSubKind::e_background;
        } else if (placeholderFlashes) {
            if (record.popup)
                return;
            kind = t_flashSubKind::e_placeholder;
        } else {
            kind = record.popup ? t_flashSubKind::e_popup : t_flashSubKind::e_inWindow;
        }
        t_wndFlashSub* child = NewFlashSub(kind);
        if (!child)
            return;
        const LPARAM packed = static_cast<LPARAM>((static_cast<unsigned>(window) << 16) | (~index & 0xFFFF));
        if (!child->CreateFlash(host, GetHwnd(), static_cast<int>(c_flashNotifyMessage), packed, this)) {
            delete child;
            return;
        }
        child->SetCaptureAll(record.drag != 0);
        child->SetNoHandCursor(record.cursor != 0);
        child->SetFileName(record.path.c_str());
        child->SetPlaceholder(record.preview);
        child->SetCommandSink(flashCmd.get());
        child->ResetUi(0);
        child->SetSize(record.width, record.height);
        if (!flashMap.Put(t_flashKey{window, static_cast<int>(t_skinItemType::e_flash), index}, child)) {
            delete child;
            return;
        }
        if (kind == t_flashSubKind::e_background)
            bgFlash = child;
        ++created;
    });
    if (created > 0 && GetHwnd())
        SetTimer(GetHwnd(), c_flashTimerId, c_flashTimerMs, nullptr);
}

void t_wndUiSkinBase::PlaceFlashes(t_layoutAligned* target0, t_layoutGrid* grid, int window, int layer)
{
    t_uiSkinData* skin = Skin();
    if (!skin || !skin->ButtonParts())
        return;
    const int c_targetCount = 10;
    t_layoutAligned* targets[c_targetCount] = {target0};
    for (int i = 1; i < c_targetCount; ++i) {
        t_layout* cell = grid ? grid->GetChildAt((i - 1) / 3, (i - 1) % 3) : nullptr;
        targets[i] = cell && cell->GetKind() == t_layout::e_kindAligned ? static_cast<t_layoutAligned*>(cell) : nullptr;
    }
    skin->ButtonParts()->Flashes().ForEach([&](unsigned key, const t_flashSkinRec& record) {
        if (KeyType(key) != static_cast<int>(t_skinItemType::e_flash) || KeyWindow(key) != window)
            return;
        t_wndFlashSub* child = FindFlash(t_flashKey{window, static_cast<int>(t_skinItemType::e_flash), KeyIndex(key)});
        if (!child)
            return;
        // A record for another target or layer, or one whose target is missing, is left
        // out alone: the walk goes on, so what is placed does not depend on map order.
        const int target = record.align.extra1;
        if (target < 0 || target >= c_targetCount || record.align.extra2 != layer || !targets[target])
            return;
        t_layoutPtr node(child->CreateLayout());
        if (!node)
            return;
        node->SetSize(record.width, record.height);
        targets[target]->AddChild(std::move(node), record.align);
    });
}

bool t_wndUiSkinBase::PreHandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == c_flashNotifyMessage) {
        const uint32_t packed = static_cast<uint32_t>(wParam);
        const int index = static_cast<int16_t>(~packed & 0xFFFFu);
        t_wndFlashSub* child =
            FindFlash(t_flashKey{static_cast<int>(packed >> 16), static_cast<int>(t_skinItemType::e_flash), index});
        if (child)
            child->SetNotified(true);
        return false;
    }
    if (msg == c_flashCommandMessage) {
        if (flashCmd)
            flashCmd->Execute(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        return false;
    }
    if (msg == WM_TIMER && wParam == c_flashTimerId) {
        bool repaint = false;
        VisitFlashes(flashMap, [&repaint](t_wndFlashSub* child) { repaint |= child->TickFlash(); });
        if (repaint)
            UpdateLayer();
        return true;
    }
    return false;
}

// ---- animation tick

bool TickUiAnimations(t_uiSkinData* skin, unsigned mask, t_wndUiSkinBase* composition,
                      t_wndUiSkinBase* separateComposition, t_wndUiSkinBase* candidate, t_wndUiSkinBase* status,
                      bool visibleOnly)
{
    if (mask == 0)
        return false;
    struct t_entry {
        t_wndUiSkinBase* window;
        unsigned group;
        bool marked;
    } windows[] = {
        {composition, c_animCombinedGroup, false},
        {separateComposition, c_animCompositionGroup, false},
        {candidate, c_animCandidateGroup, false},
        {status, c_animStatusGroup, false},
    };
    const unsigned now = InputTickCount() / 10;
    const POINT cursor = InputCursorPos();
    for (t_entry& entry : windows) {
        if (!entry.window || !(mask & entry.group))
            entry.window = nullptr;
        else if (entry.window->shown)
            entry.marked = StepButtons(*entry.window, now, cursor);
    }
    if (skin && skin->TickAnimations(mask)) {
        for (t_entry& entry : windows) {
            if (entry.window && (!visibleOnly || entry.window->shown) && RepointAnimatedRenders(entry.window->layout))
                entry.marked = true;
        }
    }
    bool any = false;
    for (t_entry& entry : windows) {
        if (entry.marked) {
            entry.window->UpdateLayer();
            any = true;
        }
    }
    return any;
}
