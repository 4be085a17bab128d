#include "ime_ui/windows/comp/wnd_comp_string.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/config/runtime.h"
#include "graphics/paint/solid_draw.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/wnd_comp_rich_item.h"
#include "ime_ui/windows/comp/wnd_comp_string_bihua.h"
#include "ime_ui/windows/comp/wnd_comp_string_mode_icon.h"
#include "ime_ui/windows/comp/wnd_comp_string_text.h"
#include "ime_ui/windows/comp/wnd_du_hint.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"

namespace {

const wchar_t c_paddingText[] = L"          ";  // ten spaces
const wchar_t c_versionText[] = L"    预览6.8.0.0000";
const wchar_t c_flashText[] = L"    Flash调试模式";
const int c_versionFadeTimerId = 161;
const int c_flashFadeTimerId = 162;
const int c_richItemValue = 9;
const int c_caretPen = 0;
// Any kind the array does not name keeps an item against the near edges.
const int c_alignNear = 1;

// Skin text styles, by what the composition string styles with them.
enum t_compStyle : int {
    e_styleText1 = 0,
    e_styleText6 = 2,
    e_styleHints = 3,
    e_styleText4 = 4,
    e_styleText2 = 6,
    e_styleCompText = 1,
    e_styleVersion = 8,
    e_styleFlash = 9,
};

// The runtime skin's style as an item style: text colour, back colour when the skin has a
// second colour, the reserved word as the shadow colour, and the font.
t_textItemStyle ItemStyleOf(const t_skinTextStyle& style)
{
    t_textItemStyle out = {0, 0, 0, nullptr, false};
    out.textColor = style.color ? *style.color : 0;
    out.backColor = style.color2 ? *style.color2 : 0;
    out.hasBackColor = style.color2 != nullptr;
    out.shadowColor = static_cast<uint32_t>(style.reserved);
    out.font = style.font;
    return out;
}

// The version hint lives outside the host's context where the system draws it itself.
bool VersionItemTakesContext()
{
    const t_runtime* runtime = t_runtime::Instance();
    return !(runtime && runtime->IsWin8OrLater());
}

// Shows or hides an item and starts or stops its fade with it.
void ShowFading(t_wndStringItem& item, bool show)
{
    item.visible = show;
    if (show)
        item.RestartFade();
    else
        item.StopFade();
}

// The item class of each place in the row.
t_wndTextItem* MakeItem(int index)
{
    switch (index) {
    case t_wndCompString::e_modeIcon:
        return new (std::nothrow) t_wndCompStringModeIcon();
    case t_wndCompString::e_compText:
        return new (std::nothrow) t_wndCompStringText();
    case t_wndCompString::e_blank:
        return new (std::nothrow) t_wndCompStringBlank();
    case t_wndCompString::e_stroke:
        return new (std::nothrow) t_wndCompStringBiHua();
    case t_wndCompString::e_rich:
        return new (std::nothrow) t_wndCompRichItem();
    case t_wndCompString::e_markup:
        return new (std::nothrow) t_wndDuHint();
    case t_wndCompString::e_version: {
        t_wndCompStringAlpha* item = new (std::nothrow) t_wndCompStringAlpha();
        if (item)
            item->fadeTimerId = c_versionFadeTimerId;
        return item;
    }
    case t_wndCompString::e_flash: {
        t_wndCompStringFlashHint* item = new (std::nothrow) t_wndCompStringFlashHint();
        if (item)
            item->fadeTimerId = c_flashFadeTimerId;
        return item;
    }
    default:
        return new (std::nothrow) t_wndTextItem();
    }
}

// Plain texts sit against the near edges, the two hints at the far end, the rest centred.
int ItemAlignKind(int index)
{
    switch (index) {
    case t_wndCompString::e_text1:
    case t_wndCompString::e_text2:
    case t_wndCompString::e_text4:
    case t_wndCompString::e_padding:
    case t_wndCompString::e_text6:
        return c_alignNear;
    case t_wndCompString::e_version:
    case t_wndCompString::e_flash:
        return t_wndTextArray::e_alignFar;
    default:
        return t_wndTextArray::e_alignCentre;
    }
}

}  // namespace

t_wndCompString::t_wndCompString() : hasSearchButton(false), showVersionHint(true) {}

t_wndCompString::~t_wndCompString() = default;

template <class T>
T* t_wndCompString::ItemAs(int index) const
{
    if (ChildCount() != c_itemCount)
        return nullptr;
    return dynamic_cast<T*>(ChildAt(index));
}

t_wndCompStringModeIcon* t_wndCompString::ModeIconItem() const { return ItemAs<t_wndCompStringModeIcon>(e_modeIcon); }
t_wndCompStringText* t_wndCompString::CompTextItem() const { return ItemAs<t_wndCompStringText>(e_compText); }
t_wndCompStringBlank* t_wndCompString::BlankItem() const { return ItemAs<t_wndCompStringBlank>(e_blank); }
t_wndCompStringBiHua* t_wndCompString::StrokeItem() const { return ItemAs<t_wndCompStringBiHua>(e_stroke); }
t_wndCompRichItem* t_wndCompString::RichItem() const { return ItemAs<t_wndCompRichItem>(e_rich); }
t_wndDuHint* t_wndCompString::MarkupItem() const { return ItemAs<t_wndDuHint>(e_markup); }
t_wndCompStringAlpha* t_wndCompString::VersionItem() const { return ItemAs<t_wndCompStringAlpha>(e_version); }
t_wndCompStringFlashHint* t_wndCompString::FlashItem() const { return ItemAs<t_wndCompStringFlashHint>(e_flash); }

void t_wndCompString::SetContext(t_uiContext* context)
{
    t_wndUiSub::SetContext(context);
    const bool versionTakes = VersionItemTakesContext();
    for (int i = 0; i < ChildCount(); ++i) {
        t_wndStringItem* item = dynamic_cast<t_wndStringItem*>(ChildAt(i));
        if (item && (i != e_version || versionTakes))
            item->SetContext(context);
    }
}

bool t_wndCompString::Create(DWORD style, int x, int y, int width, int height, INT_PTR id, HINSTANCE instance,
                             t_wndBase* parentElement)
{
    if (!t_wndBase::Create(style, x, y, width, height, id, instance, parentElement))
        return false;
    const t_textItemStyle none = {0, 0, 0, nullptr, false};
    for (int i = 0; i < c_itemCount; ++i) {
        t_wndTextItem* item = MakeItem(i);
        if (!item) {
            t_wndBase::Destroy();
            return false;
        }
        item->SetStyle(none);
        item->value = i == e_rich ? c_richItemValue : 0;
        if (!item->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, this)) {
            delete item;
            t_wndBase::Destroy();
            return false;
        }
        SetItemAlignKind(i, ItemAlignKind(i));
    }
    SetContext(m_context);
    return true;
}

void t_wndCompString::ApplyTexts(const t_compositionRecord& record)
{
    TextItemAt(e_text1)->SetItemText(record.text1);
    TextItemAt(e_text2)->SetItemText(record.text2);
    TextItemAt(e_text4)->SetItemText(record.text4);
    TextItemAt(e_text6)->SetItemText(record.text6);
    const bool hasText6 = record.text6 && record.text6[0];
    TextItemAt(e_padding)->SetItemText(hasText6 ? c_paddingText : nullptr);

    t_wndCompStringText* comp = CompTextItem();
    comp->SetItemText(record.compText);
    // The host's ends are trusted no further than the text they index.
    const int length = comp->ItemText().Length();
    const int a = std::clamp(record.segmentEnds[0], 0, length);
    const int b = std::clamp(record.segmentEnds[1], 0, length);
    comp->segmentStart = std::min(a, b);
    comp->segmentEnd = std::max(a, b);
    comp->caretShown = record.caretShown != 0;
}

void t_wndCompString::ApplyHints(const t_compositionRecord& record)
{
    t_wndCompStringBiHua* stroke = StrokeItem();
    const bool strokeOn = record.strokeInput != 0;
    ShowFading(*stroke, strokeOn);
    bool shown = strokeOn;

    t_wndDuHint* markup = MarkupItem();
    const bool markupOn = record.markupShown != 0;
    markup->SetMarkup(markupOn ? record.markup : L"");
    markup->visible = markupOn;
    if (markupOn)
        shown = true;

    t_wndCompRichItem* rich = RichItem();
    if (markupOn) {
        rich->visible = false;
    } else if (strokeOn && record.richKind != e_compHintAction) {
        rich->ClearHint();
    } else {
        t_compHintRecord hint = {};
        hint.kind = record.richKind;
        hint.value = record.richValue;
        hint.text = record.richText;
        hint.tipText = record.richSecondText;
        for (int i = 0; i < 3; ++i)
            hint.extraTexts[i] = record.richExtraTexts[i];
        hint.iconFlag = record.richIconFlag != 0;
        hint.waiting = record.richWaiting != 0;
        hint.resultText = record.richText;
        hint.secondResultText = record.richSecondText;
        rich->SetHint(hint);
        rich->visible = record.richShown != 0;
        shown = rich->visible;
    }

    t_wndCompStringBlank* blank = BlankItem();
    blank->blankWidth = c_blankWidth;
    blank->visible = shown;

    t_wndCompStringAlpha* version = VersionItem();
    version->SetItemText(showVersionHint ? c_versionText : nullptr);
    ShowFading(*version, showVersionHint);

    t_wndCompStringFlashHint* flash = FlashItem();
    flash->SetItemText(c_flashText);
    ShowFading(*flash, true);

    t_wndCompStringModeIcon* icons = ModeIconItem();
    if (record.modeIconCount > 0 && record.modeIconBytes > 0 && record.modeIcons) {
        icons->SetModeIcons(record.modeIcons, static_cast<size_t>(record.modeIconBytes), record.modeIconCount);
        icons->visible = true;
    } else {
        icons->visible = false;
    }
}

void t_wndCompString::Update()
{
    t_uiContext* context = GetContext();
    if (!context->imcWrap || ChildCount() != c_itemCount)
        return;
    // One unit past the capacity stays 0, so a host that fills the whole buffer still
    // leaves its last text ended.
    if (!m_hostBuffer) {
        m_hostBuffer.reset(new (std::nothrow) wchar_t[c_hostCapacity + 1]);
        if (!m_hostBuffer)
            return;
    }
    memset(m_hostBuffer.get(), 0, sizeof(wchar_t) * (c_hostCapacity + 1));
    int hotIndex = -1, hotValue = -1;
    t_compositionRecord record;
    memset(&record, 0, sizeof record);
    if (!context->imcWrap->GetComposition(context->hostWindow, m_hostBuffer.get(), c_hostCapacity, &hotIndex, &hotValue,
                                          &record))
        return;
    ApplyTexts(record);
    ApplyHints(record);
    SetHotItem(hotIndex, hotValue);
}

void t_wndCompString::ResolveItemStyles(const t_skinTextStyle* const (&skinStyles)[c_skinStyleCount],
                                        bool versionStyled, t_itemStyles& out)
{
    t_textItemStyle current = {0, 0, 0, nullptr, false};
    bool currentHasColour = false;
    for (int i = 0; i < c_itemCount; ++i) {
        out.style[i] = current;
        out.styled[i] = false;
        out.hasColour[i] = false;
    }
    auto give = [&](int item) {
        out.style[item] = current;
        out.styled[item] = true;
        out.hasColour[item] = currentHasColour;
    };
    // An absent entry keeps the style taken before it.
    auto take = [&](int styleIndex) {
        if (const t_skinTextStyle* style = skinStyles[styleIndex]) {
            current = ItemStyleOf(*style);
            currentHasColour = style->color != nullptr;
        }
    };
    take(e_styleText1);
    give(e_text1);
    take(e_styleText2);
    give(e_text2);
    take(e_styleCompText);
    give(e_compText);
    take(e_styleText4);
    give(e_text4);
    take(e_styleText6);
    give(e_text6);
    give(e_padding);
    take(e_styleHints);
    for (int item : {e_blank, e_markup, e_stroke, e_modeIcon, e_rich})
        give(item);
    if (versionStyled) {
        take(e_styleVersion);
        give(e_version);
    }
    // The flash hint inherits nothing: without its own style it stays unstyled and hides.
    const t_skinTextStyle* flash = skinStyles[e_styleFlash];
    current = flash ? ItemStyleOf(*flash) : t_textItemStyle{0, 0, 0, nullptr, false};
    currentHasColour = flash && flash->color;
    give(e_flash);
}

void t_wndCompString::Rebuild()
{
    const t_uiSkinData* skin = GetContext()->GetSkin();
    if (!skin || ChildCount() != c_itemCount)
        return;
    const t_skinTextStyle* skinStyles[c_skinStyleCount];
    for (int i = 0; i < c_skinStyleCount; ++i)
        skinStyles[i] = skin->GetTextStylePtr(i);
    t_itemStyles styles;
    ResolveItemStyles(skinStyles, VersionItemTakesContext(), styles);
    for (int i = 0; i < c_itemCount; ++i) {
        if (styles.styled[i])
            SetItemStyle(i, styles.style[i]);
    }
    VersionItem()->hasTextColour = styles.hasColour[e_version];
    FlashItem()->hasTextColour = styles.hasColour[e_flash];
    MarkupItem()->Rebuild();
    // The stroke keys are tinted again with the new colour the next time they show.
    StrokeItem()->loadTried = false;

    const t_skinPen* pen = skin->GetPen(c_caretPen);
    const uint32_t penColour = pen && pen->pen ? pen->pen->color : 0;
    SetItemUnderline(c_allItems, penColour, pen ? pen->flag : 0);
}

void t_wndCompString::GetCaretRect(RECT& out) const
{
    out = RECT{0, 0, 0, 0};
    if (ChildCount() != c_itemCount)
        return;
    const t_wndCompRichItem* rich = RichItem();
    if (rich->visible) {
        out = rich->GetCaretRect();
        return;
    }
    const t_wndCompStringText* comp = CompTextItem();
    if (!comp->visible)
        return;
    // The item's rectangle relative to this string, its parent.
    const RECT inner = comp->GetRect();
    const RECT mine = GetRect();
    out = RECT{inner.left - mine.left, inner.top - mine.top, inner.right - mine.left, inner.bottom - mine.top};
    out.left = out.right = out.right + c_caretGap;
}

bool t_wndCompString::WantsHandCursor()
{
    for (int i = 0; i < ChildCount(); ++i)
        if (!ChildAt(i)->WantsHandCursor())
            return false;
    return true;
}
