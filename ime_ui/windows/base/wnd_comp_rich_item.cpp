#include "ime_ui/windows/base/wnd_comp_rich_item.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/process/resource.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/pinyin_spans.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/icon_list.h"
#include "ime_ui/windows/base/skin_style_access.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_menu.h"
#include "toolkit/richhint/wnd_rich_hint.h"
#include "toolkit/controls/wnd_top.h"

namespace {

const int c_styleHint = static_cast<int>(t_textStyleId::e_candSmall);     // 3
const int c_styleHalves = static_cast<int>(t_textStyleId::e_cand);        // 5
const int c_stylePinyin = static_cast<int>(t_textStyleId::e_candPinyin);  // 10
// Ticks of waiting and of rising of the fade; fewer for a result that was waited for.
const int c_fadeTicks = 8;
const int c_resultFadeTicks = 2;
// Sample whose height in the style-5 font is the minimum height.
const wchar_t c_minHeightSample[] = L"焱(yàn)";
const wchar_t c_richTipClassName[] = L"VxPY_RichTip";
// Popup menu of a tip: flags and mode of ShowMenu.
const UINT c_tipAlign = 32;
const UINT c_tipMode = 2;

t_wndRichHint* g_richTip = nullptr;

// Measures text in a font, pinyin spans in the pinyin font; a DC of its own when none given.
SIZE MeasureHintRun(HDC dc, const wchar_t* text, const t_font* font, const t_font* pinyinFont,
                    itl::ImmSimpleArray<int>* keepSpans)
{
    SIZE size = {0, 0};
    if (!text || !*text || !font)
        return size;
    itl::ImmSimpleArray<int> local;
    itl::ImmSimpleArray<int>& spans = keepSpans ? *keepSpans : local;
    FindPinyinParens(text, spans);
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    {
        t_paintCtx context(dc ? dc : own, false, nullptr, false);
        if (!MeasureTextWithPinyinSpans(size, context, text, font, pinyinFont ? pinyinFont : font, spans))
            size = SIZE{0, 0};
        context.End();
    }
    if (own)
        DeleteDC(own);
    return size;
}

// Blends top-down premultiplied pixels into the context at (x, y) with a constant alpha.
void BlendTopDown(t_paintCtx& context, const uint32_t* pixels, int width, int height, int x, int y, int alpha)
{
    if (!pixels || width <= 0 || height <= 0 || alpha <= 0)
        return;
    t_memDC canvas;
    if (!t_memDC::Create(canvas, context.Dc(), width, height))
        return;
    uint32_t* bits = canvas.Pixels();
    for (int row = 0; row < height; ++row)
        memcpy(bits + static_cast<size_t>(height - 1 - row) * width, pixels + static_cast<size_t>(row) * width,
               static_cast<size_t>(width) * 4);
    GdiFlush();
    BLENDFUNCTION blend = canvas.blend;
    blend.SourceConstantAlpha = static_cast<BYTE>(std::min(alpha, 255));
    AlphaBlend(context.Dc(), x, y, width, height, canvas.dc, 0, 0, width, height, blend);
}

const t_builtinPicture* HintIcon()
{
    // Taken once from the built-in list, which lives for the program's life.
    static const t_builtinPicture* icon = nullptr;
    if (!icon) {
        if (t_listImagePre* list = t_listImagePre::Instance())
            icon = list->Find(L"IDR_HINTICON");
    }
    return icon;
}

}  // namespace

t_richHintRequest ItemRichTipRequest(HWND owner, int closeId)
{
    t_richHintRequest request = {};
    request.owner = owner;
    request.background = L"IDR_HINTBK";
    request.arrow = L"IDR_HINTARROW";
    request.module = nullptr;
    request.arrowFlag = true;
    request.splitLeft = 15;
    request.splitTop = 15;
    request.splitRight = 42;
    request.splitBottom = 68;
    request.marginLeft = 15;
    request.marginTop = 15;
    request.marginRight = 20;
    request.marginBottom = 20;
    request.arrowTopOffset = 1;
    request.arrowBottomOffset = 8;
    request.linger = 0;
    request.closeId = closeId;
    return request;
}

t_wndCompRichItem::t_wndCompRichItem()
    : entered(false), iconFlag(false), iconWidth(0), iconHeight(0), textSize{0, 0}, kind(e_compHintNone),
      hintFadeTimerId(c_compRichFadeTimerId), fadeAlpha(255), fadeDelayTicks(0), fadeStepTicks(0),
      hintFadeRunning(false), hintStamp(0), stampValid(true), hintValue(0), halfSizes{{0, 0}, {0, 0}}, spaceSize{0, 0},
      openHalf(e_compHalfNone), hasResult(false), hostPicture(false), pressed(false), acceptsClick(true), frame{},
      frameTried(false), minHeight(0), contentHeight(0), m_waitTimerRunning(false)
{
    acceptsMouse = true;
}

t_wndCompRichItem::~t_wndCompRichItem()
{
    StopHintFade();
    StopWaitTimer();
    ReleaseFrame();
}

// ---- Hint and fade ----

void t_wndCompRichItem::SetHint(const t_compHintRecord& record)
{
    kind = record.kind;
    hintValue = record.value;
    iconFlag = record.iconFlag;
    if (!record.text) {
        hintText.Clear();
        StopHintFade();
    } else if (kind != e_compHintResult) {
        hintText = record.text;
        RestartHintFade();
    }
    tipText = record.tipText ? record.tipText : L"";
    if (kind == e_compHintTriple) {
        for (int i = 0; i < 3; ++i)
            extraTexts[i] = record.extraTexts[i] ? record.extraTexts[i] : L"";
    } else if (kind == e_compHintHalves) {
        for (int i = 0; i < 2; ++i)
            halfTexts[i] = record.extraTexts[i] ? record.extraTexts[i] : L"";
    }
    if (kind != e_compHintResult) {
        StopWaitTimer();
        hasResult = false;
    } else if (record.waiting) {
        hasResult = false;
        hintText.Clear();
        resultText.Clear();
        if (!m_waitTimerRunning) {
            if (HWND hwnd = GetHwnd()) {
                SetTimer(hwnd, c_compRichWaitTimerId, c_compRichWaitTickMs, nullptr);
                m_waitTimerRunning = true;
            }
        }
    } else {
        hintText = record.resultText ? record.resultText : L"";
        resultText = record.secondResultText ? record.secondResultText : L"";
        // The result fades in whatever the host's stamp says.
        stampValid = false;
        hasResult = true;
        RestartHintFade();
    }
}

void t_wndCompRichItem::ClearHint()
{
    hintText.Clear();
    tipText.Clear();
    resultText.Clear();
    for (t_str& text : halfTexts)
        text.Clear();
    for (t_str& text : extraTexts)
        text.Clear();
    kind = e_compHintNone;
    hasResult = false;
    StopHintFade();
    StopWaitTimer();
}

void t_wndCompRichItem::RestartHintFade()
{
    const int stamp = GetContext()->Imc().GetHintStamp();
    if (stampValid && stamp == hintStamp)
        return;
    hintStamp = stamp;
    stampValid = true;
    if (hintFadeTimerId < 0)
        return;
    fadeDelayTicks = 0;
    fadeStepTicks = 0;
    fadeAlpha = 0;
    if (!hintFadeRunning) {
        if (HWND hwnd = GetHwnd())
            SetTimer(hwnd, static_cast<UINT_PTR>(hintFadeTimerId), c_fadeTickMs, nullptr);
    }
    hintFadeRunning = true;
}

void t_wndCompRichItem::StopHintFade()
{
    if (hintFadeRunning && hintFadeTimerId >= 0) {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, static_cast<UINT_PTR>(hintFadeTimerId));
    }
    hintFadeRunning = false;
    fadeDelayTicks = 0;
    fadeStepTicks = 0;
}

void t_wndCompRichItem::StopWaitTimer()
{
    if (m_waitTimerRunning) {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, c_compRichWaitTimerId);
    }
    m_waitTimerRunning = false;
}

bool t_wndCompRichItem::OnTimer(UINT_PTR id)
{
    if (hintFadeTimerId >= 0 && id == static_cast<UINT_PTR>(hintFadeTimerId)) {
        if (!visible) {
            StopHintFade();
            return true;
        }
        const int ticks = kind == e_compHintResult ? c_resultFadeTicks : c_fadeTicks;
        if (fadeDelayTicks < ticks) {
            ++fadeDelayTicks;
        } else if (fadeStepTicks < ticks) {
            ++fadeStepTicks;
            fadeAlpha = std::min(255, fadeAlpha + 255 / ticks);
        } else {
            fadeAlpha = 255;
            StopHintFade();
        }
        Invalidate(nullptr);
        return true;
    }
    if (id == c_compRichWaitTimerId) {
        if (!visible || hasResult)
            StopWaitTimer();
        return true;
    }
    return t_wndStringItem::OnTimer(id);
}

// ---- Geometry ----

int t_wndCompRichItem::StyleIndex() const
{
    return kind == e_compHintHalves || kind == e_compHintWholeTip ? c_styleHalves : c_styleHint;
}

int t_wndCompRichItem::ContentStart() const
{
    if (iconFlag)
        return c_compRichIconSize + c_compRichIconGap;
    return hostPicture ? c_compRichIconGap : 0;
}

RECT t_wndCompRichItem::IconRect() const
{
    if (!iconFlag)
        return RECT{0, 0, 0, 0};
    const RECT r = GetRect();
    return RECT{r.left, r.top, r.left + iconWidth, r.bottom};
}

RECT t_wndCompRichItem::GetCaretRect() const
{
    if (!top)
        return RECT{0, 0, 0, 0};
    RECT r = GetRect();
    if (iconFlag)
        r.left += c_compRichIconSize;
    if (kind == e_compHintPicture)
        r.left += c_compRichIconGap;
    return r;
}

int t_wndCompRichItem::HalfAt(int x, int y) const
{
    const RECT r = GetRect();
    if (y < r.top || y >= r.bottom)
        return e_compHalfNone;
    const int first = r.left + ContentStart();
    const int second = first + halfSizes[0].cx + spaceSize.cx;
    if (x >= first && x < first + halfSizes[0].cx)
        return e_compHalfFirst;
    if (x >= second && x < second + halfSizes[1].cx)
        return e_compHalfSecond;
    return e_compHalfNone;
}

void t_wndCompRichItem::SetSize(int width, int height) { t_wndStringItem::SetSize(width, std::max(height, minHeight)); }

int t_wndCompRichItem::Measure(HDC dc)
{
    iconWidth = iconHeight = iconFlag ? c_compRichIconSize : 0;
    hostPicture = false;
    textSize = SIZE{0, 0};
    contentHeight = iconHeight;
    halfSizes[0] = halfSizes[1] = spaceSize = SIZE{0, 0};
    spans.Clear();
    if (!visible) {
        SetSize(0, 0);
        return 3;
    }
    t_uiContext* context = GetContext();
    if (kind == e_compHintPicture) {
        SIZE picture = {0, 0};
        if (context->Imc().MeasureHintPicture(context->hostWindow, dc, picture) &&
            IsHostPictureSize(picture.cx, picture.cy)) {
            hostPicture = true;
            textSize = picture;
            contentHeight = std::max<int>(iconHeight, picture.cy);
            SetSize(iconWidth + picture.cx + c_compRichIconGap, contentHeight);
            return 3;
        }
    }
    const t_uiSkinData* skin = context->GetSkin();
    const t_font* styleFont = SkinStyleFont(skin, StyleIndex());
    if (!styleFont) {
        SetSize(iconWidth, iconHeight);
        return 3;
    }
    const t_font* pinyinFont = SkinStyleFont(skin, c_stylePinyin);
    if (kind == e_compHintHalves || kind == e_compHintWholeTip) {
        const int space = hintText.Find(L' ');
        t_str first, second;
        if (space >= 0) {
            hintText.Mid(first, 0, space);
            hintText.Mid(second, space + 1);
        } else {
            first = hintText;
        }
        halfSizes[0] = MeasureHintRun(dc, first.c_str(), styleFont, pinyinFont, nullptr);
        halfSizes[1] = MeasureHintRun(dc, second.c_str(), styleFont, pinyinFont, nullptr);
        spaceSize = MeasureHintRun(dc, L" ", styleFont, nullptr, nullptr);
    }
    textSize = MeasureHintRun(dc, hintText.c_str(), styleFont, pinyinFont, &spans);
    contentHeight = std::max<int>(iconHeight, textSize.cy);
    SetSize(iconWidth + textSize.cx + c_compRichIconGap, contentHeight);
    return 3;
}

void t_wndCompRichItem::Rebuild()
{
    const t_uiSkinData* skin = GetContext()->GetSkin();
    const t_font* font5 = SkinStyleFont(skin, c_styleHalves);
    minHeight =
        font5 ? MeasureHintRun(nullptr, c_minHeightSample, font5, SkinStyleFont(skin, c_stylePinyin), nullptr).cy : 0;
    t_wndStringItem::Rebuild();
}

// ---- Painting ----

RECT t_wndCompRichItem::FrameRect() const
{
    RECT r = GetRectInHwnd();
    r.top -= c_compRichFrameEdge;
    r.bottom += c_compRichFrameEdge;
    r.right += 2 * c_compRichFrameEdge;
    if (!iconFlag)
        r.left -= c_compRichIconSize / 2;
    return r;
}

bool t_wndCompRichItem::SetFrameBitmap(HBITMAP bitmap)
{
    ReleaseFrame();
    int width = 0, height = 0;
    if (!bitmap || !QueryBitmapSize(bitmap, width, height) || width <= 2 * c_compRichFrameEdge ||
        height <= c_compRichFrameEdge) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    frame.bitmap = bitmap;
    frame.width = width;
    frame.height = height;
    const t_insets insets = {c_compRichFrameEdge, c_compRichFrameEdge, 0, c_compRichFrameEdge};
    t_imageSet9::SetFromBitmap(frame.parts, bitmap, insets, width, height, c_noColorKey, c_noColorKey,
                               t_image::e_stretch, t_image::e_stretch);
    return true;
}

bool t_wndCompRichItem::LoadFrame(HMODULE module)
{
    frameTried = true;
    if (!module) {
        t_resource* resources = t_resource::Instance();
        module = resources ? resources->Load() : nullptr;
        if (!module)
            module = GetModuleHandleW(nullptr);
    }
    t_image picture;
    if (!picture.LoadResource(module, MAKEINTRESOURCEW(c_compRichFrameId)))
        return false;
    // The nine parts share the bitmap; the frame record owns it from here on.
    HBITMAP bitmap = picture.ref.Bitmap();
    picture.ref.handle = nullptr;
    return SetFrameBitmap(bitmap);
}

void t_wndCompRichItem::ReleaseFrame()
{
    if (frame.bitmap)
        DeleteObject(frame.bitmap);
    memset(&frame, 0, sizeof(frame));
}

void t_wndCompRichItem::PaintFrame(t_paintCtx& context)
{
    t_uiContext* ui = GetContext();
    if (!ui->Ui().DrawsHintFrame(ui->hostWindow))
        return;
    if (!frame.bitmap && !frameTried)
        LoadFrame(nullptr);
    if (!frame.bitmap)
        return;
    const RECT r = FrameRect();
    t_imageSet9::Draw(context, frame.parts, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void t_wndCompRichItem::PaintIcon(t_paintCtx& context, const RECT& box)
{
    const t_builtinPicture* icon = HintIcon();
    if (!icon)
        return;
    BlendTopDown(context, icon->pixels, icon->width, icon->height, box.left,
                 box.top + (contentHeight - c_compRichIconSize) / 2, fadeAlpha);
}

void t_wndCompRichItem::PaintHostPicture(t_paintCtx& context, const RECT& box, int start)
{
    const int width = (box.right - box.left) - start, height = box.bottom - box.top;
    if (width <= 0 || height <= 0)
        return;
    t_memDC canvas;
    if (!t_memDC::Create(canvas, context.Dc(), width, height))
        return;
    t_uiContext* ui = GetContext();
    ui->Imc().DrawHintPicture(ui->hostWindow, canvas.dc, canvas.bits, width, height, 32);
    GdiFlush();
    AlphaBlend(context.Dc(), box.left + start, box.top, width, height, canvas.dc, 0, 0, width, height, canvas.blend);
}

void t_wndCompRichItem::PaintHintText(t_paintCtx& context, const RECT& box, int start)
{
    const t_uiSkinData* skin = GetContext()->GetSkin();
    const t_font* styleFont = SkinStyleFont(skin, StyleIndex());
    uint32_t colour = 0;
    if (!styleFont || !SkinStyleColour(skin, StyleIndex(), colour) || hintText.IsEmpty())
        return;
    const t_font* pinyinFont = SkinStyleFont(skin, c_stylePinyin);
    const int x = box.left + start;
    const int y = box.top + (contentHeight - textSize.cy) / 2 + 1;
    const RECT textBox = {x, y, x + textSize.cx, y + textSize.cy};
    if (spans.Count() > 0) {
        const t_textStyle style = {&colour, nullptr, styleFont};
        DrawTextWithPinyinSpans(hintText.c_str(), context, style, pinyinFont ? pinyinFont : styleFont, &colour, spans,
                                textBox, 255, false);
    } else {
        context.DrawText(hintText.c_str(), hintText.Length(), &textBox, styleFont, &colour, nullptr, c_textItemFormat,
                         255);
    }
    const bool underlined = kind == e_compHintTriple || kind == e_compHintUnderlined || kind == e_compHintLink ||
                            (kind == e_compHintResult && !resultText.IsEmpty());
    if (underlined)
        context.FillRect(x, textBox.bottom - 1, textSize.cx, 1, 0xFF000000u | (colour & 0xFFFFFF));
}

void t_wndCompRichItem::Paint_CompRich(t_paintCtx& context)
{
    if (!visible || (hintText.IsEmpty() && !hostPicture)) {
        StopHintFade();
        return;
    }
    if (fadeAlpha < c_compRichMinAlpha)
        return;
    const RECT box = GetRectInHwnd();
    PaintFrame(context);
    // A result hint shows nothing of itself until its result is in.
    const bool showsContent = kind != e_compHintResult || hasResult;
    if (iconFlag && showsContent)
        PaintIcon(context, box);
    const int start = ContentStart();
    if (hostPicture)
        PaintHostPicture(context, box, start);
    else if (showsContent)
        PaintHintText(context, box, start);
}

// ---- Tips ----

t_wndRichHint* t_wndCompRichItem::SharedRichTip(HWND window, HWND hostWindow)
{
    if (g_richTip && g_richTip->hwnd && IsWindow(g_richTip->hwnd))
        return g_richTip;
    // The window went with its owner: the tip is made again.
    DestroySharedRichTip();
    wcsncpy(t_wndRichHint::ClassNameBuffer(), c_richTipClassName, c_richHintClassNameCapacity - 1);
    if (!t_wndRichHint::RegisterClass())
        return nullptr;
    t_wndRichHint* tip = new (std::nothrow) t_wndRichHint;
    if (!tip)
        return nullptr;
    if (!tip->Create(0x88000000, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(window), nullptr, nullptr)) {
        delete tip;
        return nullptr;
    }
    tip->Init(ItemRichTipRequest(hostWindow, -1));
    g_richTip = tip;
    return g_richTip;
}

void t_wndCompRichItem::DestroySharedRichTip()
{
    if (!g_richTip)
        return;
    if (g_richTip->hwnd && IsWindow(g_richTip->hwnd))
        g_richTip->Destroy();
    delete g_richTip;
    g_richTip = nullptr;
}

t_wndRichHint* t_wndCompRichItem::RichTip() { return g_richTip; }

void t_wndCompRichItem::ShowRichTip()
{
    if (tipText.IsEmpty())
        return;
    t_uiContext* ui = GetContext();
    t_wndRichHint* tip = SharedRichTip(GetHwnd(), ui->hostWindow);
    if (!tip)
        return;
    tip->SetContext(m_context);
    // The markup is measured as the tip is placed.
    tip->SetText(tipText.c_str());
    tip->ShowAt(GetRect(), true);
}

void t_wndCompRichItem::HideRichTip(bool now)
{
    if (g_richTip && g_richTip->hwnd)
        g_richTip->Hide(now);
}

bool t_wndCompRichItem::OtherMenuOpen() const
{
    // A popup that this item did not open (a right-click menu) keeps the half tips shut.
    return openHalf == e_compHalfNone && top && top->menu && top->menu->hwnd && IsWindowVisible(top->menu->hwnd);
}

void t_wndCompRichItem::UpdateHalfTip(int x, int y)
{
    if (OtherMenuOpen())
        return;
    t_uiContext* ui = GetContext();
    const RECT r = GetRect();
    if (kind == e_compHintHalves) {
        const int half = HalfAt(x, y);
        t_str tip;
        if (half != e_compHalfNone && ui->Imc().GetHintHalfTip(ui->hostWindow, tip, half)) {
            if (openHalf != half) {
                const int left =
                    r.left + ContentStart() + (half == e_compHalfSecond ? halfSizes[0].cx + spaceSize.cx : 0);
                SetText(tip.c_str());
                ShowMenu(POINT{left, r.bottom}, c_tipAlign, c_tipMode, nullptr, nullptr, 0);
                openHalf = half;
            }
        } else {
            CloseMenu(1);
            openHalf = e_compHalfNone;
        }
    } else if (kind == e_compHintWholeTip) {
        t_str tip;
        if (ui->Imc().GetHintTip(ui->hostWindow, tip)) {
            if (openHalf != e_compHalfFirst) {
                SetText(tip.c_str());
                ShowMenu(POINT{r.left + ContentStart(), r.bottom}, c_tipAlign, c_tipMode, nullptr, nullptr, 0);
                openHalf = e_compHalfFirst;
            }
        } else {
            CloseMenu(1);
            openHalf = e_compHalfNone;
        }
    } else {
        openHalf = e_compHalfNone;
    }
}

// ---- Mouse ----

bool t_wndCompRichItem::InItem(int x, int y) const
{
    const RECT r = GetRect();
    const POINT point = {x, y};
    return PtInRect(&r, point) != 0;
}

bool t_wndCompRichItem::OnIcon(int x, int y) const
{
    const RECT icon = IconRect();
    const POINT point = {x, y};
    return PtInRect(&icon, point) != 0;
}

POINT t_wndCompRichItem::PictureOrigin() const
{
    const RECT r = GetRect();
    return POINT{r.left + ContentStart(), r.top};
}

void t_wndCompRichItem::OnMouseMove(UINT keys, int x, int y)
{
    if (InItem(x, y) && !OnIcon(x, y)) {
        UpdateHalfTip(x, y);
        if (kind == e_compHintPicture) {
            t_uiContext* ui = GetContext();
            const POINT origin = PictureOrigin();
            ui->Imc().OnHintPictureMove(ui->hostWindow, x - origin.x, y - origin.y);
        }
    } else if (OnIcon(x, y)) {
        CloseMenu(1);
    }
    t_wndStringItem::OnMouseMove(keys, x, y);
}

void t_wndCompRichItem::OnMouseEnter()
{
    t_wndStringItem::OnMouseEnter();
    entered = true;
    const POINT cursor = InputCursorPos();
    if (!OnIcon(cursor.x, cursor.y))
        UpdateHalfTip(cursor.x, cursor.y);
    if (kind == e_compHintPicture) {
        t_uiContext* ui = GetContext();
        ui->Imc().OnHintPictureEnter(ui->hostWindow);
    }
}

void t_wndCompRichItem::OnMouseLeave()
{
    HideRichTip(false);
    CloseMenu(0);
    entered = false;
    openHalf = e_compHalfNone;
    if (kind == e_compHintPicture) {
        t_uiContext* ui = GetContext();
        ui->Imc().OnHintPictureLeave(ui->hostWindow);
    }
    t_wndStringItem::OnMouseLeave();
}

bool t_wndCompRichItem::OnMouseHover(UINT keys, int x, int y)
{
    if (InItem(x, y))
        ShowRichTip();
    return t_wndStringItem::OnMouseHover(keys, x, y);
}

int t_wndCompRichItem::GetHoverTime(int, int) { return c_compRichHoverMs; }

bool t_wndCompRichItem::OnLButtonDown(UINT keys, int x, int y)
{
    const bool inside = InItem(x, y);
    if (!iconFlag || inside)
        pressed = true;
    if (OnIcon(x, y)) {
        ShowRichTip();
    } else if (kind == e_compHintPicture && inside) {
        t_uiContext* ui = GetContext();
        const POINT origin = PictureOrigin();
        ui->Imc().OnHintPicturePress(ui->hostWindow, x - origin.x, y - origin.y);
    }
    t_wndStringItem::OnLButtonDown(keys, x, y);
    return inside;
}

bool t_wndCompRichItem::OnLButtonUp(UINT keys, int x, int y)
{
    const bool wasPressed = pressed;
    pressed = false;
    const bool dragged = top && top->dragState == t_wndTop::e_dragMoving;
    if (!wasPressed || dragged || !InItem(x, y) || OnIcon(x, y))
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    t_uiContext* ui = GetContext();
    ImcWrapImplBase& host = ui->Imc();
    if (kind == e_compHintHalves) {
        const int half = HalfAt(x, y);
        t_str tip;
        if (half != e_compHalfNone && host.GetHintHalfTip(ui->hostWindow, tip, half))
            host.SelectCandidate(ui->hostWindow, half == e_compHalfFirst ? c_selectFirstHalf : c_selectSecondHalf);
    } else if (kind == e_compHintWholeTip) {
        host.SelectCandidate(ui->hostWindow, c_selectWholeHint);
    } else if (kind & e_compHintAction) {
        host.OnHintAction(ui->hostWindow);
    } else if (kind == e_compHintResult) {
        if (hasResult)
            host.OnHintLink(ui->hostWindow, resultText.c_str());
    } else {
        bool taken = false;
        if (kind == e_compHintPicture) {
            const POINT origin = PictureOrigin();
            taken = host.OnHintPictureClick(ui->hostWindow, x - origin.x, y - origin.y);
        }
        if (!taken)
            host.OnHintClick(ui->hostWindow);
    }
    HideRichTip(true);
    return true;
}

bool t_wndCompRichItem::OnRButtonDown(UINT keys, int x, int y) { return t_wndBase::OnRButtonDown(keys, x, y); }

bool t_wndCompRichItem::OnRButtonUp(UINT keys, int x, int y) { return t_wndBase::OnRButtonUp(keys, x, y); }

bool t_wndCompRichItem::HitTest(int x, int y, int mode)
{
    acceptsClick = true;
    if ((kind == e_compHintResult && !hasResult) || kind == e_compHintPassive || kind == e_compHintPassiveAlt)
        return false;
    if (OnIcon(x, y))
        return false;
    if (kind == e_compHintPicture && InItem(x, y)) {
        t_uiContext* ui = GetContext();
        const POINT origin = PictureOrigin();
        bool accepts = true;
        if (ui->Imc().HitHintPicture(ui->hostWindow, x - origin.x, y - origin.y, accepts) && !accepts)
            acceptsClick = false;
    }
    return t_wndStringItem::HitTest(x, y, mode);
}
