#include "ime_ui/windows/cand/wnd_cand_string_item.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "foundation/process/resource.h"
#include "foundation/config/runtime.h"
#include "foundation/win/rect.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/fade_out.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/pinyin_spans.h"
#include "graphics/text/text_helpers.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/skin_style_access.h"
#include "ime_ui/windows/base/wnd_comp_rich_item.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/richhint/wnd_rich_hint.h"
#include "toolkit/controls/wnd_top.h"
#include "toolkit/controls/wnd_top_access.h"

namespace {

t_cloudAnimations g_animations = {};

const wchar_t c_waitingName[] = L"IDB_CAND_CLOUD_ANI";
const wchar_t c_deadName[] = L"IDR_CLOUD_DEAD";
const wchar_t c_deadReverseName[] = L"IDR_CLOUD_DEAD_REV";
const wchar_t c_nameIconTip[] = L"人名智能组词";
const wchar_t c_richTipClassName[] = L"VxPY_CandRichTip";
// A frame larger than this is not an icon: it is left out.
const int c_maxFrameSide = 1024;

t_wndCandStringRichItem::t_positionBoxesReader g_positionBoxesReader = nullptr;

// A decoded frame list of the resource, or null (a failed or still picture is freed).
t_imageSource* LoadFrames(HMODULE module, const wchar_t* name, int& count)
{
    count = 0;
    t_resource* resources = t_resource::Instance();
    DWORD size = 0;
    const void* data = resources ? resources->Find(module, name, RT_RCDATA, size) : nullptr;
    if (!data || size == 0)
        return nullptr;
    t_imageSource* source = nullptr;
    if (!t_imageSource::CreateFromMemory(data, size, source) || !source)
        return nullptr;
    if (source->kind != t_imageSource::e_frames || source->Frames().count <= 0 || !source->Frames().frames) {
        t_imageSource::Destroy(source);
        return nullptr;
    }
    count = source->Frames().count;
    return source;
}

// Measures a run in a font, with a DC of the context; (0, 0) on failure.
SIZE RunSize(t_paintCtx& context, const wchar_t* text, int length, const t_font* font)
{
    SIZE size = {0, 0};
    if (length <= 0 || !text || !context.MeasureText(text, length, font, &size, c_textItemFormat, 0))
        size = SIZE{0, 0};
    return size;
}

// A run with its pinyin spans in the second font, or plainly when it has none.
SIZE SpanRunSize(t_paintCtx& context, const wchar_t* text, const t_font* font, const t_font* pinyinFont,
                 const itl::ImmSimpleArray<int>& spans)
{
    SIZE size = {0, 0};
    if (!text || !*text)
        return size;
    if (spans.Count() > 0) {
        if (!MeasureTextWithPinyinSpans(size, context, text, font, pinyinFont, spans))
            size = SIZE{0, 0};
        return size;
    }
    return RunSize(context, text, static_cast<int>(wcslen(text)), font);
}

// Blends premultiplied 32-bit pixels (top-down or bottom-up rows) at (x, y).
void BlendPixels(t_paintCtx& context, const uint32_t* pixels, int width, int height, bool bottomUp, int x, int y,
                 int alpha)
{
    if (!pixels || width <= 0 || height <= 0 || alpha <= 0)
        return;
    t_memDC memory;
    if (!t_memDC::Create(memory, context.Dc(), width, height))
        return;
    uint32_t* target = memory.Pixels();
    for (int row = 0; row < height; ++row) {
        // The DIB is bottom-up.
        const int from = bottomUp ? row : height - 1 - row;
        memcpy(target + static_cast<size_t>(row) * width, pixels + static_cast<size_t>(from) * width,
               static_cast<size_t>(width) * sizeof(uint32_t));
    }
    GdiFlush();
    GdiAlphaBlend(context.Dc(), x, y, width, height, memory.dc, 0, 0, width, height, SourceAlphaBlend(alpha));
}

// Frame i of an animation tinted with a COLORREF, bottom-up; empty when it cannot be read.
std::vector<uint32_t> TintedFrame(const t_imageSource* source, int index, uint32_t colour, int& width, int& height)
{
    std::vector<uint32_t> out;
    width = height = 0;
    if (!source)
        return out;
    const t_bitmapRef ref = source->GetFrame(index);
    int w = 0, h = 0;
    const uint32_t* pixels = ReadablePixels(ref, w, h);
    if (!pixels || w <= 0 || h <= 0 || w > c_maxFrameSide || h > c_maxFrameSide)
        return out;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<uint8_t> mask(count);
    for (size_t i = 0; i < count; ++i)
        mask[i] = static_cast<uint8_t>(pixels[i] >> 24);
    out.resize(count);
    TintMask(mask.data(), out.data(), count, colour);
    width = w;
    height = h;
    return out;
}

// The frame's delay in ms (hundredths in the source).
DWORD FrameDelayMs(const t_imageSource* source, int index)
{
    if (!source || source->kind != t_imageSource::e_frames || index < 0 || index >= source->Frames().count)
        return 0;
    const int delay = source->Frames().frames[index].delay;
    return delay > 0 ? static_cast<DWORD>(delay) * 10 : 0;
}

}  // namespace

// ---- shared animations

const t_cloudAnimations& t_wndCandStringItem::Animations() { return g_animations; }

void t_wndCandStringItem::LoadAnimations(HMODULE module)
{
    if (!g_animations.waiting) {
        g_animations.waiting = LoadFrames(module, c_waitingName, g_animations.waitingFrames);
        int w = 0, h = 0;
        if (g_animations.waiting)
            g_animations.waiting->GetSize(w, h);
        g_animations.frameWidth = w;
        g_animations.frameHeight = h;
    }
    if (!g_animations.dead)
        g_animations.dead = LoadFrames(module, c_deadName, g_animations.deadFrames);
    if (!g_animations.deadReverse)
        g_animations.deadReverse = LoadFrames(module, c_deadReverseName, g_animations.deadReverseFrames);
}

void t_wndCandStringItem::ReleaseAnimations()
{
    for (t_imageSource* source : {g_animations.waiting, g_animations.dead, g_animations.deadReverse}) {
        if (source)
            t_imageSource::Destroy(source);
    }
    g_animations = t_cloudAnimations{};
}

// ---- construction

t_wndCandStringItem::t_wndCandStringItem()
    : normalStyle{0, 0, 0, nullptr, false}, pressedStyle{0, 0, 0, nullptr, false}, candIndex(0), tipSide(0),
      nameIconFlag(false), cloudFlag(false), cloudMode(0), frameCounter(0), cloudTimerRunning(false), lastFrameTime(0),
      cloudFading(false), underline(false), nameIconAlpha(0), nameIconFadeDone(false),
      sharedMaxWidth(nullptr), extraIconBox{0, 0, 0, 0}, extraIconFlag(false),
      inlineImageFlag(false), inlineImageSize{0, 0}, labelWidth(0), clipRect{0, 0, 0, 0}, naturalWidth(0),
      naturalHeight(0), pressed(false), m_nameTipShown(false)
{
    acceptsMouse = true;
    LoadAnimations(nullptr);
}

t_wndCandStringItem::~t_wndCandStringItem()
{
    KillAnimationTimers();
    richTip.reset();
    wordSpans.Clear();
    prefixSpans.Clear();
}

void t_wndCandStringItem::SetStyles(const t_textItemStyle& normal, const t_textItemStyle& pressedLook)
{
    normalStyle = normal;
    pressedStyle = pressedLook;
    SetStyle(normal);
}

void t_wndCandStringItem::SetPrefix(const wchar_t* text)
{
    if (!text)
        prefix.Clear();
    else
        prefix.Assign(text);
}

int t_wndCandStringItem::LabelLength() const
{
    const wchar_t* text = itemText.c_str();
    const wchar_t* dot = wcschr(text, L'.');
    return dot ? static_cast<int>(dot - text) + 1 : itemText.Length();
}

// ---- host and skin questions

bool t_wndCandStringItem::IconsShown() const
{
    const t_uiContext* context = GetContext();
    return context->Imc().ShowsCandidateIcons(context->hostWindow);
}

bool t_wndCandStringItem::RuntimeCandidateFlag() const
{
    const t_runtime* runtime = GetRuntime();
    return runtime && runtime->AreCandidateTipsOff();
}

bool t_wndCandStringItem::DefaultSkinSpace() const
{
    const t_uiSkinData* skin = GetContext()->GetSkin();
    return skin && skin->IsDefaultSkin() && RuntimeCandidateFlag();
}

const t_font* t_wndCandStringItem::PinyinFont() const
{
    // Without the skin's pinyin style the spans keep the item's own font.
    const t_font* pinyin = SkinStyleFont(GetContext()->GetSkin(), c_pinyinStyle);
    return pinyin ? pinyin : font;
}

// ---- cloud and name-icon state

void t_wndCandStringItem::SetCloudState(bool on, int mode)
{
    if (on && !cloudFlag)
        frameCounter = 0;
    cloudFlag = on;
    cloudMode = on ? mode : 0;
    if (mode == static_cast<int>(t_cloudMode::e_waiting)) {
        alpha = 255;
        if (on) {
            cloudFading = false;
            StartCloudTimer();
        }
    }
}

void t_wndCandStringItem::SetNameIcon(bool on)
{
    nameIconFlag = on;
    if (on) {
        StartNameIconTimer();
    } else {
        nameIconAlpha = 0;
        nameIconFadeDone = false;
    }
}

void t_wndCandStringItem::StartCloudTimer()
{
    if ((cloudFlag || cloudFading || nameIconFlag) && !cloudTimerRunning) {
        if (HWND hwnd = GetHwnd())
            SetTimer(hwnd, c_cloudTimerId, c_animationTickMs, nullptr);
        cloudTimerRunning = true;
    }
}

void t_wndCandStringItem::StopCloudTimer()
{
    if ((cloudFlag || cloudFading || nameIconFlag) && cloudTimerRunning) {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, c_cloudTimerId);
        cloudTimerRunning = false;
    }
}

void t_wndCandStringItem::StartNameIconTimer()
{
    if (nameIconFadeDone)
        return;
    if (HWND hwnd = GetHwnd())
        SetTimer(hwnd, c_nameIconTimerId, c_animationTickMs, nullptr);
}

void t_wndCandStringItem::KillAnimationTimers()
{
    if (HWND hwnd = GetHwnd()) {
        KillTimer(hwnd, c_cloudTimerId);
        KillTimer(hwnd, c_nameIconTimerId);
    }
    cloudTimerRunning = false;
}

bool t_wndCandStringItem::OnTimer(UINT_PTR timerId)
{
    if (timerId != c_cloudTimerId && timerId != c_nameIconTimerId)
        return t_wndStringItem::OnTimer(timerId);
    if (!visible || (top && !top->shown)) {
        KillAnimationTimers();
        return true;
    }
    t_uiContext* context = GetContext();
    const DWORD now = InputTickCount();
    const DWORD requested = context->Imc().GetCloudRequestTime(context->hostWindow);
    if (timerId == c_cloudTimerId) {
        if (!CloudIs(t_cloudMode::e_waiting))
            return true;
        if (now - requested < c_cloudHoldMs) {
            frameCounter = 0;
            lastFrameTime = now;
            return true;
        }
        const int frames = g_animations.waitingFrames;
        if (frames <= 0)
            return true;
        const int shown = frameCounter >= 0 && frameCounter < frames ? frameCounter : 0;
        if (now - lastFrameTime > FrameDelayMs(g_animations.waiting, shown)) {
            frameCounter = static_cast<int16_t>((shown + 1) % frames);
            lastFrameTime = now;
            Invalidate(nullptr);
        }
        return true;
    }
    const DWORD elapsed = now - requested;
    if (elapsed <= c_nameIconDelayMs) {
        nameIconAlpha = 0;
    } else if (elapsed < c_nameIconDelayMs + c_nameIconFadeMs) {
        nameIconAlpha = static_cast<uint8_t>((elapsed - c_nameIconDelayMs) * 255 / c_nameIconFadeMs);
    } else {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, c_nameIconTimerId);
        nameIconAlpha = 255;
        nameIconFadeDone = true;
        return true;
    }
    context->Imc().RequestUiRefresh(context->hostWindow);
    return true;
}

// ---- measure

SIZE t_wndCandStringItem::MeasureWord(t_paintCtx& context, bool& usedSpans)
{
    const wchar_t* text = itemText.c_str();
    const int length = itemText.Length();
    const bool splitLabel = !prefix.IsEmpty() && length > 1 && text[1] == L'.';
    // With a prefix the label is measured as "1.", so that every label takes one width.
    const wchar_t* word = splitLabel ? text + 2 : text;
    FindPinyinParens(word, wordSpans);
    usedSpans = wordSpans.Count() > 0;
    SIZE size = {0, 0};
    if (usedSpans) {
        size = SpanRunSize(context, word, font, PinyinFont(), wordSpans);
        if (splitLabel) {
            const SIZE label = RunSize(context, L"1.", 2, font);
            size.cx += label.cx;
            size.cy = std::max(size.cy, label.cy);
        }
    } else if (splitLabel) {
        t_str measured;
        measured.Assign(L"1.");
        measured.Append(word);
        size = RunSize(context, measured.c_str(), measured.Length(), font);
    } else {
        size = RunSize(context, text, length, font);
    }
    return size;
}

int t_wndCandStringItem::Measure(HDC dc)
{
    HideRichTip();
    if (!visible || itemText.IsEmpty()) {
        SetSize(0, 0);
        naturalWidth = naturalHeight = 0;
        return 3;
    }
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    t_paintCtx context(dc ? dc : own, perPixelAlpha, nullptr, top && top->themedText);
    t_uiContext* ui = GetContext();
    ImcWrapImplBase& host = ui->Imc();

    bool usedSpans = false;
    const SIZE word = MeasureWord(context, usedSpans);
    int width = word.cx, height = word.cy;
    const int space = RunSize(context, L" ", 1, font).cx;
    if (DefaultSkinSpace())
        width += space;

    int iconWidth = 0, iconHeight = 0;
    if (host.GetCandidateExtraIconSize(ui->hostWindow, candIndex, iconWidth, iconHeight) &&
        IsHostPictureSize(iconWidth, iconHeight)) {
        extraIconFlag = true;
        extraIconBox = t_box{0, 0, iconWidth, iconHeight};
    } else {
        extraIconFlag = false;
        extraIconBox = t_box{0, 0, 0, 0};
    }
    const bool iconsShown = host.ShowsCandidateIcons(ui->hostWindow);
    if (extraIconFlag) {
        // The host's icon takes the place of the name icon and the cloud.
        nameIconFlag = false;
        cloudFlag = false;
    }

    const uint32_t tint = textColor & 0xFFFFFF;
    if (inlineImageFlag) {
        labelWidth = width;
        int imageWidth = 0, imageHeight = 0;
        if (host.GetCandidateImageSize(ui->hostWindow, candIndex, imageWidth, imageHeight) &&
            IsHostPictureSize(imageWidth, imageHeight)) {
            inlineImageSize = SIZE{imageWidth, imageHeight};
            width += imageWidth;
            height = std::max(height, imageHeight);
        } else {
            inlineImageSize = SIZE{0, 0};
        }
    } else {
        if (!prefix.IsEmpty()) {
            FindPinyinParens(prefix.c_str(), prefixSpans);
            width += SpanRunSize(context, prefix.c_str(), font, PinyinFont(), prefixSpans).cx;
        }
        if (nameIconFlag && iconsShown && maskIcons.Tint(t_maskKind::e_name, tint))
            width += maskIcons.Size(t_maskKind::e_name).cx;
        if (cloudFlag) {
            const int labelLength = LabelLength();
            const SIZE label = RunSize(context, itemText.c_str(), labelLength, font);
            const int rest =
                usedSpans ? word.cx - label.cx
                          : RunSize(context, itemText.c_str() + labelLength, itemText.Length() - labelLength, font).cx;
            if (CloudIs(t_cloudMode::e_waiting) || CloudIs(t_cloudMode::e_failed)) {
                width = label.cx + space + g_animations.frameWidth;
                height = std::max<int>(label.cy, g_animations.frameHeight);
            } else if (CloudIs(t_cloudMode::e_result)) {
                const int icon = iconsShown && maskIcons.Tint(t_maskKind::e_cloud, tint)
                                     ? maskIcons.Size(t_maskKind::e_cloud).cx
                                     : 0;
                width = label.cx + icon + rest;
            }
        }
    }
    if (width > 0 && height > 0 && extraIconFlag) {
        extraIconBox.x = width;
        extraIconBox.y = 0;
        width += extraIconBox.width;
        height = std::max(height, extraIconBox.height);
    }
    context.End();
    if (own)
        DeleteDC(own);

    SetSize(width, height);
    if (sharedMaxWidth && *sharedMaxWidth < width)
        *sharedMaxWidth = width;
    naturalWidth = width;
    naturalHeight = height;
    if (!RectIsEmpty(clipRect)) {
        const int clipWidth = clipRect.right - clipRect.left, clipHeight = clipRect.bottom - clipRect.top;
        if (clipWidth < width || clipHeight < height)
            SetSize(std::min(width, clipWidth), std::min(height, clipHeight));
    }
    return 3;
}

// ---- paint

namespace {

// One run of the candidate: with its spans in the pinyin font, else through the context.
int DrawRun(t_paintCtx& context, const wchar_t* text, int length, const itl::ImmSimpleArray<int>* spans,
            const t_font* font, const t_font* pinyinFont, const uint32_t* colour, const uint32_t* back, int x, int y,
            int right, int bottom, int alpha)
{
    if (!text || length <= 0)
        return 0;
    RECT box = {x, y, right, bottom};
    if (spans && spans->Count() > 0) {
        // The span indexes count from the run's start, which must end the text.
        SIZE size = {0, 0};
        if (!MeasureTextWithPinyinSpans(size, context, text, font, pinyinFont, *spans))
            return 0;
        box.right = x + size.cx;
        const t_textStyle style = {colour, back, font};
        DrawTextWithPinyinSpans(text, context, style, pinyinFont, colour, *spans, box, alpha, false);
        return size.cx;
    }
    const SIZE size = RunSize(context, text, length, font);
    box.right = x + size.cx;
    context.DrawText(text, length, &box, font, colour, back, c_textItemFormat, alpha);
    return size.cx;
}

}  // namespace

void t_wndCandStringItem::Paint_CandString(t_paintCtx& context)
{
    if (!visible || itemText.IsEmpty())
        return;
    PerfScope scope("Paint_CandString");
    const RECT r = GetRectInHwnd();
    const int visibleWidth = r.right - r.left, visibleHeight = r.bottom - r.top;
    // Only a candidate that the clip cut short is composed apart and faded at its cut.
    const bool clipped = !RectIsEmpty(clipRect) && (visibleWidth < naturalWidth || visibleHeight < naturalHeight);
    if (!clipped) {
        PaintContent(context, r.left, r.top, r.right - r.left, r.bottom - r.top);
        return;
    }
    if (visibleWidth <= 0 || visibleHeight <= 0)
        return;
    t_memDC memory;
    if (!t_memDC::Create(memory, context.Dc(), naturalWidth, naturalHeight))
        return;
    {
        t_paintCtx composed(memory.dc, true, &memory, context.IsThemedText());
        PaintContent(composed, 0, 0, naturalWidth, naturalHeight);
        composed.End();
    }
    GdiFlush();
    const RECT fade = {std::max(0, visibleWidth - naturalHeight), 0, visibleWidth, naturalHeight};
    FadeOutHorizontally(fade, memory.Pixels(), naturalWidth, naturalHeight);
    GdiAlphaBlend(context.Dc(), r.left, r.top, visibleWidth, visibleHeight, memory.dc, 0, 0, visibleWidth,
                  visibleHeight, SourceAlphaBlend(255));
}

void t_wndCandStringItem::PaintContent(t_paintCtx& context, int x, int y, int width, int height)
{
    const wchar_t* text = itemText.c_str();
    const int length = itemText.Length();
    const uint32_t* back = hasBackColor ? &backColor : nullptr;
    const t_font* pinyin = PinyinFont();
    const int space = RunSize(context, L" ", 1, font).cx;
    const int right = x + width, bottom = y + height;
    int left = x;
    if (DefaultSkinSpace())
        left += space;
    const int labelLength = length > 1 && text[1] == L'.' ? 2 : 0;

    if (!prefix.IsEmpty()) {
        left += DrawRun(context, text, labelLength, nullptr, font, pinyin, &textColor, back, left, y, right, bottom,
                        c_dimAlpha);
        left += DrawRun(context, prefix.c_str(), prefix.Length(), &prefixSpans, font, pinyin, &textColor, back, left, y,
                        right, bottom, c_dimAlpha);
        DrawRun(context, text + labelLength, length - labelLength, &wordSpans, font, pinyin, &textColor, back, left, y,
                right, bottom, alpha);
        return;
    }

    const bool hasDot = wcschr(text, L'.') != nullptr;
    const int frameTop = y + (height - g_animations.frameHeight) / 2;
    const uint32_t tint = textColor & 0xFFFFFF;
    int frameWidth = 0, frameHeight = 0;
    if (CloudIs(t_cloudMode::e_waiting)) {
        if (hasDot)
            left += DrawRun(context, text, 2, nullptr, font, pinyin, &textColor, back, left, y, right, bottom, alpha);
        const int frames = g_animations.waitingFrames;
        const int index = frameCounter >= 0 && frameCounter < frames ? frameCounter : 0;
        const std::vector<uint32_t> frame =
            TintedFrame(frames > 0 ? g_animations.waiting : nullptr, index, tint, frameWidth, frameHeight);
        if (!frame.empty())
            BlendPixels(context, frame.data(), frameWidth, frameHeight, true, left, frameTop, alpha);
    } else if (CloudIs(t_cloudMode::e_result)) {
        DrawRun(context, text, length, &wordSpans, font, pinyin, &textColor, back, left, y, right, bottom, 255);
        if (IconsShown() && maskIcons.Tint(t_maskKind::e_cloud, tint)) {
            const SIZE icon = maskIcons.Size(t_maskKind::e_cloud);
            BlendPixels(context, maskIcons.Tinted(t_maskKind::e_cloud), icon.cx, icon.cy, false,
                        right - icon.cx - space, y, 255);
        }
    } else if (CloudIs(t_cloudMode::e_failed)) {
        left += DrawRun(context, text, 2, nullptr, font, pinyin, &textColor, back, left, y, right, bottom, c_dimAlpha);
        const int frames = g_animations.deadFrames;
        int index = frameCounter;
        if (index < 0 || index >= frames)
            index = 0;
        const std::vector<uint32_t> frame =
            TintedFrame(frames > 0 ? g_animations.dead : nullptr, index, tint, frameWidth, frameHeight);
        if (!frame.empty())
            BlendPixels(context, frame.data(), frameWidth, frameHeight, true, left, y + (height - frameHeight) / 2,
                        c_dimAlpha);
    } else if (inlineImageFlag) {
        left +=
            DrawRun(context, text, LabelLength(), nullptr, font, pinyin, &textColor, back, left, y, right, bottom, 255);
        DrawHostPicture(context, false, left, y, inlineImageSize.cx, inlineImageSize.cy);
    } else {
        DrawRun(context, text, length, &wordSpans, font, pinyin, &textColor, back, left, y, right, bottom, 255);
    }
    PaintIcons(context, x, y, width, height);
}

void t_wndCandStringItem::PaintIcons(t_paintCtx& context, int x, int y, int width, int height)
{
    const int space = RunSize(context, L" ", 1, font).cx;
    const int right = x + width;
    if (underline) {
        const int from = x + RunSize(context, L"2.", 2, font).cx;
        const int to = right - space;
        if (to > from)
            context.FillRect(from, y + height - 1, to - from, 1, 0xFF000000u | (textColor & 0xFFFFFF));
    }
    if (nameIconFlag && IconsShown() && width > 0 && height > 0 &&
        maskIcons.Tint(t_maskKind::e_name, textColor & 0xFFFFFF)) {
        const SIZE icon = maskIcons.Size(t_maskKind::e_name);
        BlendPixels(context, maskIcons.Tinted(t_maskKind::e_name), icon.cx, icon.cy, false, right - icon.cx - space, y,
                    nameIconAlpha);
    }
    if (extraIconFlag && extraIconBox.width > 0 && extraIconBox.height > 0) {
        int at = right - extraIconBox.width;
        if (itemText.Length() > 0 && itemText.c_str()[itemText.Length() - 1] == L' ')
            at -= space;
        extraIconBox.x = at - x;
        DrawHostPicture(context, true, at, y, extraIconBox.width, extraIconBox.height);
    }
}

void t_wndCandStringItem::DrawHostPicture(t_paintCtx& context, bool extraIcon, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    t_memDC picture;
    if (!t_memDC::Create(picture, context.Dc(), width, height))
        return;
    t_uiContext* ui = GetContext();
    if (extraIcon)
        ui->Imc().DrawCandidateExtraIcon(ui->hostWindow, candIndex, picture.dc, picture.bits, width, height);
    else
        ui->Imc().DrawCandidateImage(ui->hostWindow, candIndex, picture.dc, picture.bits, width, height);
    GdiFlush();
    GdiAlphaBlend(context.Dc(), x, y, width, height, picture.dc, 0, 0, width, height, SourceAlphaBlend(255));
}

// ---- mouse

bool t_wndCandStringItem::OnLButtonDown(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return t_wndStringItem::OnLButtonDown(keys, x, y);
    textColor = pressedStyle.textColor;
    backColor = pressedStyle.backColor;
    shadowColor = pressedStyle.shadowColor;
    font = pressedStyle.font;
    hasBackColor = pressedStyle.hasBackColor;
    pressed = true;
    Invalidate(nullptr);
    return true;
}

bool t_wndCandStringItem::OnLButtonUp(UINT keys, int x, int y)
{
    const bool wasPressed = pressed;
    pressed = false;
    RestoreStyle();
    if (wasPressed)
        Invalidate(nullptr);
    if (!HitTest(x, y, 0))
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    if (top && (top->inUpAfterDrag || top->dragState == t_wndTop::e_dragMoving))
        return true;
    t_uiContext* ui = GetContext();
    const int px = x - rect.left, py = y - rect.top;
    if (extraIconFlag && px >= extraIconBox.x && px < extraIconBox.x + extraIconBox.width && py >= extraIconBox.y &&
        py < extraIconBox.y + extraIconBox.height) {
        if (ui->Imc().OnCandidateExtraIconClick(ui->hostWindow, candIndex, px - extraIconBox.x, py - extraIconBox.y))
            return true;
    }
    ui->Imc().SelectCandidate(ui->hostWindow, candIndex);
    return true;
}

void t_wndCandStringItem::OnMouseMove(UINT keys, int x, int y)
{
    t_wndStringItem::OnMouseMove(keys, x, y);
    if (!top || !nameIconFlag || !IconsShown())
        return;
    const SIZE icon = maskIcons.Size(t_maskKind::e_name);
    const int px = x - rect.left, py = y - rect.top;
    const int width = rect.right - rect.left;
    const bool onIcon = icon.cx > 0 && px >= width - icon.cx - 5 && py <= icon.cy;
    if (onIcon && !m_nameTipShown) {
        const RECT r = GetRect();
        TopShowHint(top, c_nameIconTip, RECT{r.left, r.top - 2, r.left, r.bottom + 10}, hintBelow);
        m_nameTipShown = true;
    } else if (!onIcon && m_nameTipShown) {
        TopHideHint(top);
        m_nameTipShown = false;
    }
}

bool t_wndCandStringItem::OnMouseHover(UINT keys, int x, int y)
{
    if (!t_wndStringItem::OnMouseHover(keys, x, y))
        return false;
    t_uiContext* ui = GetContext();
    ui->Imc().OnCandidateHover(ui->hostWindow, candIndex, x - rect.left, y - rect.top);
    return true;
}

void t_wndCandStringItem::OnMouseEnter()
{
    t_wndStringItem::OnMouseEnter();
    if (!top || RuntimeCandidateFlag())
        return;
    const RECT r = GetRect();
    const POINT anchor = tipSide ? POINT{r.right, r.top} : POINT{r.left, r.bottom + 4};
    const UINT mode = tipSide ? 1 : 2;
    if (ShowRichTip())
        return;
    t_uiContext* ui = GetContext();
    t_str tip;
    if (ui->Imc().GetCandidateTip(ui->hostWindow, tip, candIndex)) {
        SetText(tip.c_str());
        ShowMenu(anchor, 0, mode, nullptr, nullptr, 0);
    } else {
        CloseMenu(1);
    }
}

void t_wndCandStringItem::OnMouseLeave()
{
    CloseMenu(0);
    HideRichTip();
    t_uiContext* ui = GetContext();
    ui->Imc().OnCandidateLeave(ui->hostWindow, candIndex);
    if (top)
        TopHideHint(top);
    m_nameTipShown = false;
    t_wndStringItem::OnMouseLeave();
}

// ---- rich tip

bool t_wndCandStringItem::ShowRichTip()
{
    t_uiContext* ui = GetContext();
    t_str markup;
    if (!ui->Imc().GetCandidateRichTip(ui->hostWindow, markup, candIndex))
        return false;
    if (!richTip) {
        wcsncpy(t_wndRichHint::ClassNameBuffer(), c_richTipClassName, c_richHintClassNameCapacity - 1);
        if (!t_wndRichHint::RegisterClass())
            return false;
        std::unique_ptr<t_wndRichHint> made = MakeOwned<t_wndRichHint>();
        if (!made || !made->Create(0x88000000, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(GetHwnd()), nullptr, nullptr))
            return false;
        made->Init(ItemRichTipRequest(ui->hostWindow, 0));
        made->SetContext(m_context);
        richTip = std::move(made);
    }
    CloseMenu(1);
    richTip->SetText(markup.c_str());
    richTip->ShowAt(GetRect(), false);
    return true;
}

void t_wndCandStringItem::HideRichTip()
{
    if (!richTip)
        return;
    HWND window = GetHwnd();
    richTip->Hide(!(window && IsWindowVisible(window)));
}

// ---- the action item

void t_wndCandStringRichItem::SetPositionBoxesReader(t_positionBoxesReader reader) { g_positionBoxesReader = reader; }

t_wndCandStringRichItem::t_wndCandStringRichItem()
    : kind(0), underline(false), underlineStart(0), underlineLength(0), underlineRect{0, 0, 0, 0}
{
    acceptsMouse = true;
}

void t_wndCandStringRichItem::SetContent(const t_content& content)
{
    if (!content.text) {
        SetItemText(nullptr);
        richText.Clear();
        visible = false;
        return;
    }
    kind = content.kind;
    richText.Assign(content.text);
    underline = content.underline;
    underlineStart = content.underlineStart;
    underlineLength = content.underlineLength;
    SetItemText(L" ");
    visible = true;
}

int t_wndCandStringRichItem::Measure(HDC dc)
{
    if (!visible || richText.IsEmpty()) {
        SetSize(0, 0);
        return 3;
    }
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    t_paintCtx context(dc ? dc : own, perPixelAlpha, nullptr, top && top->themedText);
    const SIZE size = RunSize(context, richText.c_str(), richText.Length(), font);
    context.End();
    if (own)
        DeleteDC(own);
    SetSize(size.cx, size.cy);
    return 3;
}

void t_wndCandStringRichItem::Paint_CandRich(t_paintCtx& context)
{
    if (!visible || richText.IsEmpty())
        return;
    const RECT r = GetRectInHwnd();
    const int length = richText.Length();
    context.DrawText(richText.c_str(), length, &r, font, &textColor, hasBackColor ? &backColor : nullptr, format, 255);
    if (!underline)
        return;
    // Start and length are the host's: the segment must lie inside the text.
    if (underlineStart < 0 || underlineLength <= 0 || underlineStart >= length ||
        underlineLength > length - underlineStart) {
        underline = false;
        return;
    }
    const SIZE before = RunSize(context, richText.c_str(), underlineStart, font);
    const SIZE segment = RunSize(context, richText.c_str() + underlineStart, underlineLength, font);
    const int top = r.top + ((r.bottom - r.top) - segment.cy) / 2;
    underlineRect = RECT{r.left + before.cx, top, r.left + before.cx + segment.cx, top + segment.cy};
    if (segment.cx > 0 && segment.cy > 0)
        context.FillRect(underlineRect.left, underlineRect.bottom - 1, segment.cx, 1,
                         0xFF000000u | (textColor & 0xFFFFFF));
}

bool t_wndCandStringRichItem::HitTest(int x, int y, int)
{
    if (!visible || !underline)
        return false;
    const POINT offset = GetTopOffset();
    const POINT point = {x + offset.x, y + offset.y};
    return PtInRect(&underlineRect, point) != FALSE;
}

void t_wndCandStringRichItem::OnMouseMove(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0))
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
    t_wndStringItem::OnMouseMove(keys, x, y);
}

bool t_wndCandStringRichItem::OnLButtonUp(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    if (top && (top->inUpAfterDrag || top->dragState == t_wndTop::e_dragMoving))
        return true;
    t_uiContext* ui = GetContext();
    if (kind == e_boxClick) {
        // The position record is the host's and may be absent: then there is no box to send.
        RECT first = {}, second = {};
        if (!ui->positionRecord || !g_positionBoxesReader || !g_positionBoxesReader(ui->positionRecord, first, second))
            return true;
        RECT box = first;
        if (second.right - second.left != 0 && second.bottom - second.top != 0)
            UnionRect(&box, &first, &second);
        ui->Imc().OnRichCandidateBoxClick(ui->hostWindow, box);
    } else if (kind == e_click) {
        ui->Imc().OnRichCandidateClick(ui->hostWindow);
    }
    return true;
}
