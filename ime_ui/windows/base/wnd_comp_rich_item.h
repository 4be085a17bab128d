// The hint line of the composition string: an optional small icon, an optional frame
// picture and a text in one of the skin's text styles. Some hint kinds split the text into
// two clickable halves, let the host draw a picture instead of the text, or wait for a
// result before showing anything. Hovering opens a rich tip with the hint's tip text.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"
#include "graphics/paint/nine_images.h"
#include "ime_ui/windows/base/wnd_string_item.h"

class t_wndRichHint;
struct t_richHintRequest;

// Kinds of composition hint, as the host reports them. Only the behaviour of each kind
// is the item's; what the input method means by it is the host's.
enum t_compHintKind : int {
    e_compHintNone = 0,
    e_compHintTriple = 1,         // carries three extra texts; underlined
    e_compHintUnderlined = 8,     // underlined
    e_compHintHalves = 16,        // two clickable halves split at the first space
    e_compHintWholeTip = 32,      // one tip for the whole text; a click selects -3
    e_compHintPassive = 512,      // shown only, never hit
    e_compHintPassiveAlt = 4096,  // shown only, never hit
    e_compHintLink = 8192,        // underlined
    e_compHintAction = 0x10000,   // a click is the host's action
    e_compHintResult = 0x20000,   // waits for a result, then shows it as a link
    e_compHintPicture = 0x400000  // the host draws a picture in place of the text
};

// Halves of a kind-16 hint, and the candidate indexes their clicks select.
enum t_compHintHalf : int {
    e_compHalfNone = 0,
    e_compHalfFirst = 1,
    e_compHalfSecond = 2
};
const int c_selectFirstHalf = -1;
const int c_selectSecondHalf = -2;
const int c_selectWholeHint = -3;

// The record the composition string hands over; null texts are allowed.
struct t_compHintRecord {
    int kind;
    int value;
    const wchar_t* text;
    const wchar_t* tipText;
    const wchar_t* extraTexts[3];  // kind 1: three texts; kind 16: the halves' texts in [0], [1]
    bool iconFlag;
    bool waiting;  // kind 0x20000: the result is still to come
    const wchar_t* resultText;
    const wchar_t* secondResultText;
};

// Fade timer of the rich item (its index in the composition string plus 150).
const int c_compRichFadeTimerId = 159;
// Timer that runs while a kind-0x20000 hint waits for its result.
const UINT_PTR c_compRichWaitTimerId = 250;
const UINT c_compRichWaitTickMs = 333;
// Size of the hint icon and the gap after it.
const int c_compRichIconSize = 16;
const int c_compRichIconGap = 5;
// Below this fade alpha the item draws nothing.
const int c_compRichMinAlpha = 20;
// Frame picture: resource number (type "PNG") and its edge widths.
const int c_compRichFrameId = 186;
const int c_compRichFrameEdge = 3;
// Hover delay before the rich tip opens.
const int c_compRichHoverMs = 1500;

// The rich tip of the composition and candidate items: the hint background and arrow of
// the resource library, for the host window owner; closeId -1 tells the host nothing.
t_richHintRequest ItemRichTipRequest(HWND owner, int closeId);

// The frame picture: the nine parts over the decoded bitmap, which the record owns.
struct t_compRichFrame {
    t_imageSet9 parts;
    HBITMAP bitmap;
    int width, height;
};

class t_wndCompRichItem : public t_wndStringItem {
public:
    t_wndCompRichItem();
    ~t_wndCompRichItem() override;

    // Takes the host's hint; see t_compHintRecord.
    void SetHint(const t_compHintRecord& record);
    // Empties the texts, sets kind 0 and stops the fade.
    void ClearHint();
    // The caret rectangle while the hint shows: the item's rect past its icon; empty
    // without an owning top.
    RECT GetCaretRect() const;

    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnMouseHover(UINT keys, int x, int y) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    bool OnRButtonDown(UINT keys, int x, int y) override;
    bool OnRButtonUp(UINT keys, int x, int y) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CompRich(context); }
    void Paint_CompRich(t_paintCtx& context);
    // Never below the minimum height.
    void SetSize(int width, int height) override;
    bool OnTimer(UINT_PTR id) override;
    int GetHoverTime(int x, int y) override;
    int Measure(HDC dc) override;
    bool HitTest(int x, int y, int mode) override;
    bool WantsHandCursor() override { return acceptsClick; }
    // Keeps the height of a sample text with pinyin in the style-5 font as minimum height.
    void Rebuild() override;

    // Starts the fade when the host's stamp changed (or was invalidated); StopFade ends it.
    void RestartHintFade();
    void StopHintFade();
    // The half of a kind-16 hint under a screen point; e_compHalfNone outside both.
    int HalfAt(int x, int y) const;
    // The rectangle the frame picture covers, in window client coordinates.
    RECT FrameRect() const;
    // Loads the frame picture from module (null: the resource library, else the program);
    // false when absent.
    bool LoadFrame(HMODULE module);
    // Takes a frame bitmap directly (owned from here on).
    bool SetFrameBitmap(HBITMAP bitmap);
    void ReleaseFrame();

    // The process-wide rich tip, made on first use over window and set up for the host
    // window; null when it cannot be made.
    static t_wndRichHint* SharedRichTip(HWND window, HWND hostWindow);
    // Destroys the shared rich tip (the tests end with it).
    static void DestroySharedRichTip();
    // The shared rich tip when it was made, else null.
    static t_wndRichHint* RichTip();

    bool entered;
    t_str hintText, tipText;
    t_str halfTexts[2];
    t_str extraTexts[3];
    bool iconFlag;
    int iconWidth, iconHeight;
    SIZE textSize;
    int kind;
    // Own fade.
    int hintFadeTimerId;  // -1: none
    int fadeAlpha;
    int fadeDelayTicks, fadeStepTicks;
    bool hintFadeRunning;
    int hintStamp;
    bool stampValid;
    int hintValue;
    // Kind 16: the two halves and " ".
    SIZE halfSizes[2];
    SIZE spaceSize;
    int openHalf;
    bool hasResult;
    t_str resultText;
    bool hostPicture;
    bool pressed;
    bool acceptsClick;
    t_compRichFrame frame;
    bool frameTried;
    int minHeight;
    itl::ImmSimpleArray<int> spans;
    // Content height: max(icon height, text height).
    int contentHeight;

private:
    // The text style the kind draws with: 5 for kinds 16 and 32, else 3.
    int StyleIndex() const;
    // Left of the text or host picture, from the item's left.
    int ContentStart() const;
    // The icon box in screen coordinates (empty without the icon).
    RECT IconRect() const;
    bool InItem(int x, int y) const;
    bool OnIcon(int x, int y) const;
    // Screen origin of the host's picture.
    POINT PictureOrigin() const;
    bool OtherMenuOpen() const;
    void UpdateHalfTip(int x, int y);
    void HideRichTip(bool now);
    void ShowRichTip();
    void StopWaitTimer();
    void PaintFrame(t_paintCtx& context);
    void PaintIcon(t_paintCtx& context, const RECT& box);
    void PaintHostPicture(t_paintCtx& context, const RECT& box, int start);
    void PaintHintText(t_paintCtx& context, const RECT& box, int start);

    bool m_waitTimerRunning;
};
