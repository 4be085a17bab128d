// The base of the input method's skinned top-level windows (status bar, composition,
// candidate and mobile windows): a toolkit top that reaches its host through a UI context,
// can be dragged by an anchor with a position callback, shows the runtime skin's flash
// items as child elements, passes flash commands to the host, steps button and picture
// animations and tells the host when it shows or is shaken.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ime_ui/windows/flash/flash_key.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_delay_draw.h"
#include "toolkit/controls/wnd_top.h"
#include "toolkit/controls/wnd_ui_sub.h"

class t_flashSkinCmd;
class t_layout;
class t_layoutAligned;
class t_layoutGrid;
class t_uiSkinData;
class t_wndFlashSub;
struct t_uiSettings;

// Timer of the flash children.
const UINT_PTR c_flashTimerId = 201;
const UINT c_flashTimerMs = 40;

// Whether some skinned IME window is being dragged by its anchor, for readers elsewhere in
// the process. Set when an anchor drag begins, cleared when it settles; kept apart from
// the toolkit's dragged-window state, whose hover pause it must not touch.
bool IsUiWindowDragActive();

class t_wndUiSkinBase : public t_wndTop, public t_wndUiSub, public t_wndDelayDraw {
public:
    t_wndUiSkinBase();
    // Deletes the command sink and empties the flash map.
    ~t_wndUiSkinBase() override;

    // Toolkit operations the base overrides.
    // Starts the hover poll; once per process, a skin with flash items that cannot play
    // shows the flash hint.
    void OnMouseEnter() override;
    // Hides the flash hint again when it was shown.
    void OnMouseLeave() override;
    // Every move and resize (SetBounds runs it too): while anchor-dragging the origin
    // follows the cursor and OnDragMove reports it; the flash children follow the window.
    void Move(int x, int y, int width, int height, bool repaint) override;
    // Tells the host before showing; the flash children follow.
    bool Show(bool show) override;
    // Hides the hint, resets the shake detector and tells the host.
    void OnShake(void* param) override;

    // Operations of the skinned window.
    // Vertical (alternative) layout: from the host's mode word, its mode flag, else
    // candStyle of the settings; false when the runtime says no skin.
    virtual bool IsAltStyle(const t_uiSettings* settings);
    // A point starts an anchor drag (the cursor's offset from the origin); null ends it
    // after dragSettleReload more moves.
    virtual void SetDragAnchor(const POINT* point);
    // The window's new origin during an anchor drag; nothing here.
    virtual void OnDragMove(int x, int y);
    // Deletes the status-button and flash children and empties the flash map.
    virtual void ClearSkinChildren();
    // Deletes the flash children, forgets the background flash and stops the flash timer.
    virtual void DestroyFlashes();
    // Makes a child for every flash item of the runtime skin's window windowIndex.
    virtual void CreateFlashes(int windowIndex);
    // Adds the flash children of windowIndex on layer to their targets: index 0 layout,
    // 1 to 9 the cells of grid row by row.
    virtual void PlaceFlashes(t_layoutAligned* layout, t_layoutGrid* grid, int windowIndex, int layer);
    // Called first for every message: flash notifications and commands (not handled) and
    // the flash timer (handled).
    virtual bool PreHandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // At the start of each relayout: reports the skin font to the host, gives the command
    // sink this window's context and takes the skin's aero and glow flags.
    void ApplySkin();
    // With a background flash, hands it the window layout's background; else forgets it.
    void DetachBackgroundForFlash();
    // Cell (1, 1) of the window layout's first inner layout when that is a grid; else null.
    t_layout* CenterCellLayout();
    // Shows or hides the element under (windowIndex, 1, 0) of map.
    void SetChildVisible(const t_flashKeyMap& map, bool visible);
    // The flash child under key; null when none.
    t_wndFlashSub* FindFlash(const t_flashKey& key) const;
    t_flashSkinCmd* FlashCommand() const { return flashCmd.get(); }

    // The text of the hint shown when the skin's flash items cannot play.
    static const wchar_t* const c_flashHintText;

    bool anchorDragging;   // a drag by the anchor is in progress
    bool dragEnding;       // the anchor drag is being finished
    int dragSettle;        // position callbacks still to deliver while ending
    int anchorX, anchorY;  // cursor offset from the window origin when the drag began
    int dragSettleReload;  // copied into dragSettle when the drag ends
    t_flashKeyMap flashMap;
    std::unique_ptr<t_flashSkinCmd> flashCmd;
    bool placeholderFlashes;   // flash items show as placeholder pictures
    int windowIndex;           // which window of the runtime skin this is; -1 none
    t_wndFlashSub* bgFlash;    // the background flash child, if any
    t_layout* detachedLayout;  // the background layout while bgFlash paints it

protected:
    // Makes the window: in owner mode none of its own (it draws into the owner's window);
    // else a tool window of className (registered by the caller), topmost and unowned when
    // the runtime asks for a topmost UI, layered under a "corel" host. `exStyle` adds to
    // WS_EX_TOOLWINDOW.
    bool CreateUiWindow(const wchar_t* className, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                        INT_PTR owner, HINSTANCE instance, t_wndBase* parent);
    // The context's runtime skin and settings; null when absent.
    t_uiSkinData* Skin() const;
    t_uiSettings* Settings() const;

private:
    // The flash hint of this window is showing.
    bool m_flashHintShown;
};

// One animation step of the four desktop windows (any may be null): the windows in mask
// (composition 0x12, separate composition 0x24, candidate 0x48, status 1) step their
// buttons and, when the skin's animations advanced, their animated pictures; every window
// that changed repaints. True when one did; an empty mask does nothing.
bool TickUiAnimations(t_uiSkinData* skin, unsigned mask, t_wndUiSkinBase* composition,
                      t_wndUiSkinBase* separateComposition, t_wndUiSkinBase* candidate, t_wndUiSkinBase* status,
                      bool visibleOnly);
