// The list of candidates inside the candidate window and the combined composition window:
// five action items, forty candidates and the page-turn item in one row (horizontal skins)
// or one column (vertical skins), with a hidden scroll image after them. It pulls the list
// from the host, styles the candidates with the highlighted one apart, measures the width
// of the numbering and tells the host when the mouse is released on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "ime_ui/windows/cand/wnd_cand_string_item.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_text_array.h"
#include "toolkit/controls/wnd_ui_sub.h"

class t_wndCandTurnPage;
class t_wndScrollImage;

// One candidate as the host describes it. Bytes the string does not read are reserved.
struct t_candidateRecord {
    const wchar_t* text;  // label included ("1.拼音 "); null: empty
    uint8_t nameIcon;
    uint8_t cloudOn;
    int32_t cloudMode;  // t_cloudMode
    uint8_t underline;
    uint8_t reserved[11];
    uint8_t inlineImage;
};

// What the host fills for the candidate string. Before each call the string points buffer
// at its own text buffer of capacity units and zeroes the records, the prefix and the
// headers; texts may point into that buffer or into host memory valid until the next call.
struct t_candidateList {
    static constexpr int c_recordCount = 40;
    static constexpr int c_headerCount = 5;

    wchar_t* buffer;
    int32_t capacity;
    int32_t selectedIndex;  // the highlighted candidate, 0..39
    t_candidateRecord records[c_recordCount];
    const wchar_t* prefix;  // dimmed before the first candidate's word; null: none
    t_wndCandStringRichItem::t_content headers[c_headerCount];
};

class t_wndCandString : public t_wndTextArray, public t_wndUiSub {
public:
    // Children by index; the scroll image follows them.
    static constexpr int c_firstHeader = 0;
    static constexpr int c_headerCount = t_candidateList::c_headerCount;
    static constexpr int c_firstCandidate = c_firstHeader + c_headerCount;
    static constexpr int c_candidateCount = t_candidateList::c_recordCount;
    static constexpr int c_turnPageIndex = c_firstCandidate + c_candidateCount;
    static constexpr int c_itemCount = c_turnPageIndex + 1;
    // Candidates whose rectangles the owning window reports to the host.
    static constexpr int c_itemRectCount = 10;
    // Units of text the host may write into the buffer it is given.
    static constexpr int c_hostCapacity = 10240;

    // Skin text styles the string reads.
    enum t_style : int {
        e_styleHeader = 3,
        e_styleNormal = 5,
        e_styleHighlight = 6,
        e_styleHot = 11,
        e_styleAltFont = 12,
    };

    // The string's own node: the items' grid and the scroll image, and before painting them
    // the average colour of the sample rectangle for the host.
    class t_layoutTexts : public t_layoutAligned {
    public:
        explicit t_layoutTexts(t_wndCandString* owner) : m_owner(owner) {}
        void Paint(t_paintCtx& context, const POINT* offset) override;

    protected:
        void WatcherGone() override { m_owner = nullptr; }

    private:
        t_wndCandString* m_owner;  // not owned; null once the string is gone
    };

    t_wndCandString();
    ~t_wndCandString() override;

    // Stores the context and hands it to every string item.
    void SetContext(t_uiContext* context);
    // The element, then the five header items, the forty candidates, the page-turn item and
    // the hidden scroll image; false (and no items) when one cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                t_wndBase* parent) override;
    // Pulls the host's candidate list into the items. Without a host nothing changes; a
    // negative count keeps the candidates but still applies the prefix and the headers.
    void Update();
    // Restyles the candidates with the one at index highlighted.
    void SetSelection(int index);
    // The page-turn item's alignment kind and value.
    void SetTurnPageAlign(int alignKind, int itemValue);
    // Rectangles of candidates 0 to 9 (zero where there is no item); returns 10.
    int GetItemRects(RECT (&rects)[c_itemRectCount]) const;
    // Flags of the candidate item at index (other indexes: nothing).
    void Cloud_SetTextExtInfo(int index, bool nameIcon, bool cloudOn, int cloudMode, bool underline, bool inlineImage);

    // Restyles every item from the runtime skin and measures the numbering; nothing without
    // a skin.
    void Rebuild() override;
    // The items' grid inside the string's own node, which becomes the layout.
    t_layoutWnd* CreateLayout() override;
    void OnMouseLeave() override;
    bool OnLButtonDown(UINT keys, int x, int y) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    // Pressing on the list never drags the window.
    bool SuspendsDrag() override { return true; }
    bool WantsHandCursor() override { return true; }

    // The skin's zoom factor, or 0, which the owning window sets before ApplyScale.
    void SetScaleFactor(double factor) { scale = factor; }

    // Typed items; null before Create or out of range.
    t_wndCandStringRichItem* HeaderItem(int index) const;
    t_wndCandStringItem* CandidateItem(int position) const;
    t_wndCandTurnPage* TurnPageItem() const;
    t_wndScrollImage* ScrollImage() const { return scrollImage; }
    // The font of the candidates: style 12's when the host asks for the other font, else
    // style 5's; null when that style is absent.
    t_font* CandidateFont() const;

    bool showTurnPage;
    int candidateCount;
    int selectedIndex;
    int numberWidthDigit;   // L0 plus the width of "1."
    int numberWidthLetter;  // L0 plus the width of "a."
    bool samplePending;
    RECT sampleRect;  // empty: no colour report
    bool useAltFont;
    int maxCandidateWidth;          // raised by every candidate's measure
    t_wndScrollImage* scrollImage;  // a child; null before Create

private:
    // The average colour of the sample rectangle, once per restyle, when the string shows.
    void ReportSampleColour(t_paintCtx& context, const POINT* offset);
    void HideScrollImageWithPicture();
    // Normal or highlighted style with the candidate font, by position.
    void StyleCandidates(const t_textItemStyle& normal, const t_textItemStyle& highlight);

    // The host's text buffer and list, made on the first Update and reused after.
    std::unique_ptr<wchar_t[]> m_hostBuffer;
    std::unique_ptr<t_candidateList> m_list;
};
