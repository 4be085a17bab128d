// The row of items a composition window shows: the mode icons, the typed text with its
// converted segment, the fixed texts beside it, a blank, the stroke keys, the rich and
// markup hints, the preview's version hint and the flash debug hint. The items are made
// once, in a fixed order, and from then on only filled, styled, shown and hidden.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "toolkit/controls/wnd_text_array.h"
#include "toolkit/controls/wnd_ui_sub.h"

class t_wndCompStringModeIcon;
class t_wndCompStringText;
class t_wndCompStringBlank;
class t_wndCompStringBiHua;
class t_wndCompRichItem;
class t_wndDuHint;
class t_wndCompStringAlpha;
class t_wndCompStringFlashHint;
class t_uiSkinData;
struct t_skinTextStyle;

// What the host fills for the composition string. Every field is zero before the host is
// asked; texts may be null and point into the caller's buffer or into host memory, valid
// until the next call.
struct t_compositionRecord {
    const wchar_t* text1;     // item 1: the text already converted
    const wchar_t* text2;     // item 2
    const wchar_t* compText;  // item 3: the text being typed
    const wchar_t* text4;     // item 4
    const wchar_t* text6;     // item 6; item 5 pads it when present
    int32_t unused;
    uint8_t strokeInput;  // the stroke keys are shown
    int32_t richValue;
    const wchar_t* richText;
    const wchar_t* richSecondText;  // the tip, or the second result of a result hint
    const wchar_t* richExtraTexts[3];
    int32_t richKind;  // t_compHintKind
    uint8_t richShown;
    uint8_t markupShown;
    // The two ends of the converted segment in compText, in letters and in either order.
    int32_t segmentEnds[2];
    int32_t richIconFlag;
    uint8_t caretShown;     // the caret dot after the typed text
    uint8_t richWaiting;    // a result hint still waits for its result
    const wchar_t* markup;  // DirectUI markup of item 10
    int32_t modeIconCount;
    int32_t modeIconBytes;
    const void* modeIcons;  // records as t_wndCompStringModeIcon::SetModeIcons reads them
};

class t_wndCompString : public t_wndTextArray, public t_wndUiSub {
public:
    // The items by index in the row.
    enum t_item : int {
        e_modeIcon = 0,
        e_text1 = 1,
        e_text2 = 2,
        e_compText = 3,
        e_text4 = 4,
        e_padding = 5,
        e_text6 = 6,
        e_blank = 7,
        e_stroke = 8,
        e_rich = 9,
        e_markup = 10,
        e_version = 11,
        e_flash = 12,
    };
    static constexpr int c_itemCount = 13;
    // Units of text the host may write into the buffer it is given.
    static constexpr int c_hostCapacity = 10240;
    static constexpr int c_blankWidth = 64;
    // The caret reported after the typed text stands this far right of it.
    static constexpr int c_caretGap = 82;

    // What each item takes from the skin's text styles.
    static constexpr int c_skinStyleCount = 10;
    struct t_itemStyles {
        t_textItemStyle style[c_itemCount];
        bool styled[c_itemCount];     // false: the item keeps its style
        bool hasColour[c_itemCount];  // the style it took names a text colour
    };
    // The styles of the items from the skin's text styles (null where the skin has none). A
    // style the skin lacks leaves the one taken before it, so an item can inherit the style
    // of the items before it. The version hint takes one only when versionStyled.
    static void ResolveItemStyles(const t_skinTextStyle* const (&skinStyles)[c_skinStyleCount], bool versionStyled,
                                  t_itemStyles& out);

    t_wndCompString();
    ~t_wndCompString() override;

    // Stores the context and hands it to the items that reach the host.
    void SetContext(t_uiContext* context);
    // The element, then the thirteen items; false (and no items) when one cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    // Pulls the host's composition and applies it to the items. Without a host, or when
    // the host has nothing, the items keep what they show.
    void Update();
    // Restyles every item from the runtime skin; nothing without a skin.
    void Rebuild() override;
    // Where the host should put its caret, in the parent's coordinates; empty when neither
    // the rich hint nor the typed text shows.
    void GetCaretRect(RECT& out) const;
    // True only when every item asks for the hand cursor.
    bool WantsHandCursor() override;

    // The item at index, typed; null before Create.
    t_wndCompStringModeIcon* ModeIconItem() const;
    t_wndCompStringText* CompTextItem() const;
    t_wndCompStringBlank* BlankItem() const;
    t_wndCompStringBiHua* StrokeItem() const;
    t_wndCompRichItem* RichItem() const;
    t_wndDuHint* MarkupItem() const;
    t_wndCompStringAlpha* VersionItem() const;
    t_wndCompStringFlashHint* FlashItem() const;

    bool hasSearchButton;  // set by the owning window from its skin
    bool showVersionHint;

private:
    // Item of class T at index, null when the row is not made or holds another class.
    template <class T>
    T* ItemAs(int index) const;
    void ApplyTexts(const t_compositionRecord& record);
    void ApplyHints(const t_compositionRecord& record);

    // The host's text buffer, made on the first Update and reused by every later one.
    std::unique_ptr<wchar_t[]> m_hostBuffer;
};
