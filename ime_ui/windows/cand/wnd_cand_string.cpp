#include "ime_ui/windows/cand/wnd_cand_string.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "ime_ui/windows/base/skin_style_access.h"
#include "ime_ui/windows/cand/wnd_cand_turn_page.h"
#include "ime_ui/windows/cand/wnd_scroll_image.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"

namespace {

const t_textItemStyle c_noStyle = {0, 0, 0, nullptr, false};
// L0..L5: no numbering offset or margins, a 4-pixel gap after each item either way.
const int c_geometry[t_wndTextArray::c_valueCount] = {0, 0, 0, 0, 4, 4};
const int c_numberOffset = 0;  // index of L0

// The skin's style at index, or fallback when the skin has none there.
t_textItemStyle StyleOr(const t_uiSkinData* skin, int index, const t_textItemStyle& fallback)
{
    t_textItemStyle style = fallback;
    SkinItemStyle(skin, index, style);
    return style;
}

// The item at index of the array when it is of class T.
template <class T>
T* ItemAs(const t_wndBase& owner, int index)
{
    if (index < 0 || index >= owner.ChildCount())
        return nullptr;
    return dynamic_cast<T*>(owner.ChildAt(index));
}

// Width of text in font (0 when it cannot be measured).
int TextWidth(t_paintCtx& context, const wchar_t* text, const t_font* font)
{
    SIZE size = {0, 0};
    if (!font || !context.MeasureText(text, -1, font, &size, c_textItemFormat, 0))
        return 0;
    return size.cx;
}

}  // namespace

// ---- construction

t_wndCandString::t_wndCandString()
    : showTurnPage(true), candidateCount(0), selectedIndex(0), numberWidthDigit(0), numberWidthLetter(0),
      samplePending(true), sampleRect{0, 0, 0, 0}, useAltFont(false), maxCandidateWidth(0), scrollImage(nullptr)
{
    orientation = e_column;
    derivedFlag = true;
    SetGeometry(c_geometry);
    scale = 0.0;
}

t_wndCandString::~t_wndCandString() = default;

void t_wndCandString::SetContext(t_uiContext* context)
{
    t_wndUiSub::SetContext(context);
    for (int i = 0; i < ChildCount(); ++i) {
        if (t_wndStringItem* item = dynamic_cast<t_wndStringItem*>(ChildAt(i)))
            item->SetContext(context);
    }
}

bool t_wndCandString::Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                             t_wndBase* parentElement)
{
    if (!t_wndBase::Create(style, x, y, width, height, id, instance, parentElement))
        return false;
    for (int i = 0; i < c_itemCount; ++i) {
        t_wndTextItem* item = nullptr;
        if (i < c_firstCandidate) {
            item = new (std::nothrow) t_wndCandStringRichItem();
        } else if (i < c_turnPageIndex) {
            t_wndCandStringItem* candidate = new (std::nothrow) t_wndCandStringItem();
            if (candidate) {
                candidate->candIndex = i - c_firstCandidate;
                candidate->sharedMaxWidth = &maxCandidateWidth;
            }
            item = candidate;
        } else {
            item = new (std::nothrow) t_wndCandTurnPage();
        }
        if (!item) {
            t_wndBase::Destroy();
            return false;
        }
        item->SetStyle(c_noStyle);
        item->value = 0;
        if (!item->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, this)) {
            delete item;
            t_wndBase::Destroy();
            return false;
        }
        SetItemAlignKind(i, e_alignStretch);
    }
    t_wndScrollImage* image = new (std::nothrow) t_wndScrollImage();
    if (!image || !image->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, this)) {
        delete image;
        t_wndBase::Destroy();
        return false;
    }
    image->visible = false;
    scrollImage = image;
    SetContext(m_context);
    return true;
}

// ---- typed items

t_wndCandStringRichItem* t_wndCandString::HeaderItem(int index) const
{
    if (index < 0 || index >= c_headerCount)
        return nullptr;
    return ItemAs<t_wndCandStringRichItem>(*this, c_firstHeader + index);
}

t_wndCandStringItem* t_wndCandString::CandidateItem(int position) const
{
    if (position < 0 || position >= c_candidateCount)
        return nullptr;
    return ItemAs<t_wndCandStringItem>(*this, c_firstCandidate + position);
}

t_wndCandTurnPage* t_wndCandString::TurnPageItem() const { return ItemAs<t_wndCandTurnPage>(*this, c_turnPageIndex); }

t_font* t_wndCandString::CandidateFont() const
{
    return SkinStyleFont(GetContext()->GetSkin(), useAltFont ? e_styleAltFont : e_styleNormal);
}

// ---- the host's list

void t_wndCandString::Cloud_SetTextExtInfo(int index, bool nameIcon, bool cloudOn, int cloudMode, bool underline,
                                           bool inlineImage)
{
    t_wndCandStringItem* item = CandidateItem(index - c_firstCandidate);
    if (!item)
        return;
    PerfScope scope("Cloud_SetTextExtInfo");
    item->SetNameIcon(nameIcon);
    item->SetCloudState(cloudOn, cloudMode);
    item->underline = underline;
    item->inlineImageFlag = inlineImage;
}

void t_wndCandString::Update()
{
    t_uiContext* context = GetContext();
    if (!context->imcWrap)
        return;
    if (!m_list) {
        // One extra unit past the capacity keeps a terminator the host cannot overwrite.
        m_hostBuffer.reset(new (std::nothrow) wchar_t[c_hostCapacity + 1]);
        m_list.reset(new (std::nothrow) t_candidateList());
        if (!m_hostBuffer || !m_list) {
            m_hostBuffer.reset();
            m_list.reset();
            return;
        }
    }
    t_candidateList& list = *m_list;
    m_hostBuffer[0] = 0;
    m_hostBuffer[c_hostCapacity] = 0;
    list.buffer = m_hostBuffer.get();
    list.capacity = c_hostCapacity;
    list.selectedIndex = 0;
    std::memset(list.records, 0, sizeof list.records);
    list.prefix = nullptr;
    std::memset(list.headers, 0, sizeof list.headers);

    const int count = context->imcWrap->GetCandidates(context->hostWindow, &list);
    if (count >= 0) {
        // The list has room for forty records whatever count the host answers.
        candidateCount = std::min(count, c_candidateCount);
        for (int k = 0; k < c_candidateCount; ++k) {
            t_wndCandStringItem* item = CandidateItem(k);
            if (!item)
                continue;
            const t_candidateRecord* record = k < candidateCount ? &list.records[k] : nullptr;
            item->SetItemText(record ? record->text : nullptr);
            if (record) {
                Cloud_SetTextExtInfo(c_firstCandidate + k, record->nameIcon != 0, record->cloudOn != 0,
                                     record->cloudMode, record->underline != 0, record->inlineImage != 0);
            } else {
                Cloud_SetTextExtInfo(c_firstCandidate + k, false, false, 0, false, false);
            }
        }
        if (t_wndCandTurnPage* turnPage = TurnPageItem())
            turnPage->visible = candidateCount != 0 && showTurnPage;
        SetSelection(list.selectedIndex);
    }
    if (t_wndCandStringItem* first = CandidateItem(0))
        first->SetPrefix(list.prefix);
    for (int i = 0; i < c_headerCount; ++i) {
        if (t_wndCandStringRichItem* header = HeaderItem(i))
            header->SetContent(list.headers[i]);
    }
}

// ---- styles

void t_wndCandString::StyleCandidates(const t_textItemStyle& normal, const t_textItemStyle& highlight)
{
    for (int k = 0; k < c_candidateCount; ++k)
        SetItemStyle(c_firstCandidate + k, k == selectedIndex ? highlight : normal);
}

void t_wndCandString::SetSelection(int index)
{
    const t_uiSkinData* skin = GetContext()->GetSkin();
    t_textItemStyle normal = StyleOr(skin, e_styleNormal, c_noStyle);
    t_textItemStyle highlight = StyleOr(skin, e_styleHighlight, c_noStyle);
    normal.font = highlight.font = CandidateFont();
    selectedIndex = index;
    StyleCandidates(normal, highlight);
}

void t_wndCandString::SetTurnPageAlign(int alignKind, int itemValue)
{
    if (ChildCount() < c_itemCount)
        return;
    SetItemAlignKind(c_turnPageIndex, alignKind);
    ChildAt(c_turnPageIndex)->value = itemValue;
}

int t_wndCandString::GetItemRects(RECT (&rects)[c_itemRectCount]) const
{
    for (int k = 0; k < c_itemRectCount; ++k) {
        const t_wndCandStringItem* item = CandidateItem(k);
        rects[k] = item ? item->GetRect() : RECT{0, 0, 0, 0};
    }
    return c_itemRectCount;
}

void t_wndCandString::Rebuild()
{
    t_uiContext* context = GetContext();
    const t_uiSkinData* skin = context->GetSkin();
    if (!skin)
        return;
    t_font* candidateFont = CandidateFont();

    t_textItemStyle header = StyleOr(skin, e_styleHeader, c_noStyle);
    header.font = candidateFont;
    for (int i = 0; i < c_headerCount; ++i)
        SetItemStyle(c_firstHeader + i, header);
    samplePending = true;

    // Without a normal style the candidates keep the header's.
    t_textItemStyle normal = header;
    const int normalIndex = SkinItemStyle(skin, e_styleNormal, normal) ? e_styleNormal : e_styleHeader;
    t_textItemStyle highlight = StyleOr(skin, e_styleHighlight, c_noStyle);
    t_textItemStyle hot = StyleOr(skin, e_styleHot, c_noStyle);
    normal.font = highlight.font = hot.font = candidateFont;
    StyleCandidates(normal, highlight);
    for (int k = 0; k < c_candidateCount; ++k) {
        t_wndCandStringItem* item = CandidateItem(k);
        if (!item)
            continue;
        SetItemHotStyle(c_firstCandidate + k, hot);
        // The hot style is also what a pressed candidate shows.
        item->pressedStyle = hot;
        if (item->nameIconFlag) {
            // A style without a text colour tints white.
            uint32_t colour = 0xFFFFFFFF;
            SkinStyleColour(skin, k == selectedIndex ? e_styleHighlight : normalIndex, colour);
            item->maskIcons.Tint(t_maskKind::e_name, colour);
        }
    }

    if (t_wndCandTurnPage* turnPage = TurnPageItem()) {
        turnPage->visible = showTurnPage;
        SetItemStyle(c_turnPageIndex, normal);
    }

    // The numbering widths: the offset plus "1." or "a." in the highlighted font. A memory
    // DC on the screen measures as the drawing window's DC would, at a fraction of the cost
    // of fetching a window DC on every rebuild.
    const int offset = current[c_numberOffset];
    numberWidthDigit = numberWidthLetter = offset;
    if (HDC dc = CreateCompatibleDC(nullptr)) {
        if (ChildCount() > 0) {
            t_paintCtx measure(dc, false, nullptr, false);
            SetBkMode(dc, TRANSPARENT);
            numberWidthDigit = offset + TextWidth(measure, L"1.", highlight.font);
            numberWidthLetter = offset + TextWidth(measure, L"a.", highlight.font);
            measure.End();
        }
        DeleteDC(dc);
    }
    useAltFont = context->Imc().UseAltCandidateFont(context->hostWindow);
    t_font* font = CandidateFont();
    for (int k = 0; k < c_candidateCount; ++k)
        SetItemFont(c_firstCandidate + k, font);
}

// ---- layout and paint

t_layoutWnd* t_wndCandString::CreateLayout()
{
    for (int k = 0; k < c_candidateCount; ++k) {
        if (t_wndCandStringItem* item = CandidateItem(k)) {
            item->candIndex = k;
            item->tipSide = orientation;
        }
    }
    t_wndTextArray::CreateLayout();
    auto own = MakeOwned<t_layoutTexts>(this);
    if (!own)
        return nullptr;  // the grid stays the layout
    if (layout)
        own->AddChild(t_layoutPtr(layout), t_alignInfo::Default());
    if (scrollImage)
        own->AddChild(t_layoutPtr(scrollImage->CreateLayout()), t_alignInfo::Default());
    own->SetRect(rect);
    // The node goes to whoever puts the string in a tree.
    SetLayoutNode(own.release());
    return nullptr;
}

void t_wndCandString::t_layoutTexts::Paint(t_paintCtx& context, const POINT* offset)
{
    if (m_owner)
        m_owner->ReportSampleColour(context, offset);
    t_layoutAligned::Paint(context, offset);
}

void t_wndCandString::ReportSampleColour(t_paintCtx& context, const POINT* offset)
{
    if (!visible || !samplePending || IsRectEmpty(&sampleRect))
        return;
    // The sample rectangle is relative to the string; the offset takes it into the context.
    const RECT own = GetRect();
    const int x = own.left + sampleRect.left + (offset ? offset->x : 0);
    const int y = own.top + sampleRect.top + (offset ? offset->y : 0);
    uint32_t colour = 0;
    if (!SampleAverageColor(context, x, y, x + (sampleRect.right - sampleRect.left),
                            y + (sampleRect.bottom - sampleRect.top), colour, true, context.IsAlphaTarget()))
        return;
    t_uiContext* ui = GetContext();
    ui->Imc().OnCandidatesDrawn(ui->hostWindow, colour);
    samplePending = false;
}

// ---- mouse

void t_wndCandString::HideScrollImageWithPicture()
{
    if (scrollImage && !scrollImage->source.IsBitmapEmpty())
        scrollImage->visible = false;
}

void t_wndCandString::OnMouseLeave()
{
    t_wndTextArray::OnMouseLeave();
    HideScrollImageWithPicture();
}

bool t_wndCandString::OnLButtonDown(UINT keys, int x, int y)
{
    if (!visible || !HitTest(x, y, 0))
        return false;
    return t_wndTextArray::OnLButtonDown(keys, x, y);
}

bool t_wndCandString::OnLButtonUp(UINT keys, int x, int y)
{
    HideScrollImageWithPicture();
    if (!visible)
        return false;
    const bool over = HitTest(x, y, 0);
    const bool handled = t_wndTextArray::OnLButtonUp(keys, x, y);
    // The host hears of every release over the list; a host without a window hears nothing.
    const t_uiContext* ui = GetContext();
    if (over && ui->hostWindow)
        PostMessageW(ui->hostWindow, c_msgCandListReleased, 0, 0);
    return handled;
}
