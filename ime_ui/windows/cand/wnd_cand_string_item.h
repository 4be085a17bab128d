// The candidate string's items: one candidate (label digit, ".", then the word) with its
// dimmed prefix, pinyin spans, underline, name icon, cloud states, host-drawn icons and a
// fade under the clip; and the action item with an underlined link segment.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"
#include "ime_ui/windows/base/mask_icons.h"
#include "ime_ui/windows/base/wnd_string_item.h"

class t_paintCtx;
class t_wndRichHint;
struct t_imageSource;
struct t_wndPosRecord;

// Cloud states of a candidate.
enum class t_cloudMode : int {
    e_none = 0,
    e_waiting = 1,
    e_result = 2,
    e_failed = 3,
};

// The animations every candidate item shares: a waiting spinner and the failed cloud,
// forwards and back. Each is absent until it decodes.
struct t_cloudAnimations {
    t_imageSource* waiting;
    int waitingFrames, frameWidth, frameHeight;
    t_imageSource* dead;
    int deadFrames;
    t_imageSource* deadReverse;
    int deadReverseFrames;
};

class t_wndCandStringItem : public t_wndStringItem {
public:
    static const UINT_PTR c_cloudTimerId = 2711;
    static const UINT_PTR c_nameIconTimerId = 2712;
    static const UINT c_animationTickMs = 10;
    // The waiting animation rests on its first frame this long after the host's request.
    static const DWORD c_cloudHoldMs = 500;
    // The name icon stays hidden this long after the request, then fades in over as long.
    static const DWORD c_nameIconDelayMs = 500;
    static const DWORD c_nameIconFadeMs = 500;
    // Alpha of the dimmed label, prefix and failed cloud.
    static const int c_dimAlpha = 63;
    // Text style of pinyin spans.
    static const int c_pinyinStyle = 10;

    // A box relative to the item, {x, y, width, height}.
    struct t_box {
        int x, y, width, height;
    };

    t_wndCandStringItem();
    ~t_wndCandStringItem() override;

    // The shared animations; each absent one is loaded from module (null: Resource.dll).
    // Every construction tries again the ones that are still absent.
    static const t_cloudAnimations& Animations();
    static void LoadAnimations(HMODULE module);
    static void ReleaseAnimations();

    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CandString(context); }
    void Paint_CandString(t_paintCtx& context);
    bool OnTimer(UINT_PTR timerId) override;
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnMouseHover(UINT keys, int x, int y) override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;

    // The normal and the pressed style; the normal one becomes current.
    void SetStyles(const t_textItemStyle& normal, const t_textItemStyle& pressed);
    // Null clears the prefix.
    void SetPrefix(const wchar_t* text);
    // Clip of the candidate string; an empty rect clips nothing.
    void SetClipRect(const RECT& clip) { clipRect = clip; }
    void SetSharedMaxWidth(int* record) { sharedMaxWidth = record; }

    void SetCloudState(bool on, int mode);
    void SetNameIcon(bool on);
    void StartCloudTimer();
    void StopCloudTimer();
    void StartNameIconTimer();

    // Shows the rich tip when the host has markup for the candidate; false otherwise.
    bool ShowRichTip();
    // A delayed hide while the item's window is visible, else at once.
    void HideRichTip();

    // The label: the text up to and including the first "."; the whole text without one.
    int LabelLength() const;

    t_textItemStyle normalStyle, pressedStyle;
    int candIndex;
    int tipSide;  // nonzero: tips open to the right (vertical layouts)
    bool nameIconFlag;
    t_maskIcons maskIcons;
    std::unique_ptr<t_wndRichHint> richTip;  // made on first use
    t_str prefix;
    bool cloudFlag;
    int cloudMode;
    int16_t frameCounter;
    bool cloudTimerRunning;
    DWORD lastFrameTime;
    bool cloudFading;
    bool underline;
    uint8_t nameIconAlpha;
    bool nameIconFadeDone;
    int* sharedMaxWidth;  // owned by the candidate string
    t_box extraIconBox;
    bool extraIconFlag;
    bool inlineImageFlag;
    SIZE inlineImageSize;
    int labelWidth;
    itl::ImmSimpleArray<int> wordSpans, prefixSpans;
    RECT clipRect;
    int naturalWidth, naturalHeight;
    bool pressed;

private:
    // Paints the candidate with its top-left at (x, y) of the context.
    void PaintContent(t_paintCtx& context, int x, int y, int width, int height);
    void PaintIcons(t_paintCtx& context, int x, int y, int width, int height);
    // A cleared 32-bit bitmap the host draws into (the extra icon or the inline image),
    // blended at (x, y).
    void DrawHostPicture(t_paintCtx& context, bool extraIcon, int x, int y, int width, int height);
    // The word's width with its spans, or the plain measure.
    SIZE MeasureWord(t_paintCtx& context, bool& usedSpans);
    bool IconsShown() const;
    // The cloud is on in this mode.
    bool CloudIs(t_cloudMode mode) const { return cloudFlag && cloudMode == static_cast<int>(mode); }
    bool RuntimeCandidateFlag() const;
    bool DefaultSkinSpace() const;
    const t_font* PinyinFont() const;
    void KillAnimationTimers();

    bool m_nameTipShown;  // the top's tooltip shows the name icon's text
};

// The action item of the candidate string: a text with an underlined, clickable segment.
class t_wndCandStringRichItem : public t_wndStringItem {
public:
    enum t_kind : int {
        e_click = 1,     // the host's rich-candidate click
        e_boxClick = 2,  // the host's box click with the candidate window's boxes
    };

    // What the candidate string hands over.
    struct t_content {
        int kind;
        const wchar_t* text;  // null clears and hides the item
        bool underline;
        int underlineStart, underlineLength;  // characters
    };

    // The two boxes of a window-position record, for the box click; the window that
    // defines the record installs it. Without one, or without a record, no box is sent.
    using t_positionBoxesReader = bool (*)(const t_wndPosRecord* record, RECT& first, RECT& second);
    static void SetPositionBoxesReader(t_positionBoxesReader reader);

    t_wndCandStringRichItem();

    void SetContent(const t_content& content);
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CandRich(context); }
    void Paint_CandRich(t_paintCtx& context);
    bool HitTest(int x, int y, int mode) override;
    void OnMouseMove(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;

    int kind;
    t_str richText;
    bool underline;
    int underlineStart, underlineLength;
    RECT underlineRect;  // window client coordinates
};
