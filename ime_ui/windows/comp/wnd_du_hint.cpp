#include "ime_ui/windows/comp/wnd_du_hint.h"

#include <cstring>
#include <cwchar>

#include "foundation/core/error_chain.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/font.h"
#include "toolkit/directui/du_window.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// Pictures from the host larger than this along a side are not taken.
const int c_maxHintPictureSide = 16384;

// Copies a decoded picture (bottom-up premultiplied pixels) into a top-down DirectUI
// picture; false when it has no readable pixels or an unreasonable size.
bool CopyToDuPicture(const t_imageSource& source, DirectUI::DuPicture& picture)
{
    int width = 0, height = 0;
    const uint32_t* bits = ReadablePixels(source.GetBitmapRef(), width, height);
    if (!bits || width <= 0 || height <= 0 || width > c_maxHintPictureSide || height > c_maxHintPictureSide)
        return false;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        memcpy(&picture.pixels[static_cast<size_t>(y) * width], bits + static_cast<size_t>(height - 1 - y) * width,
               static_cast<size_t>(width) * sizeof(uint32_t));
    return true;
}

}  // namespace

t_wndDuHint::t_wndDuHint() : root(nullptr), tickCounter(0), m_delayRunning(false), m_faceName{}
{
    fadeTimerId = c_duHintFadeTimerId;
    root = static_cast<DirectUI::DuElementWindow*>(DirectUI::DuElement::CreateElement(DirectUI::e_duWindow, this));
}

t_wndDuHint::~t_wndDuHint()
{
    StopDelay();
    delete root;
}

void t_wndDuHint::StopDelay()
{
    if (m_delayRunning) {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, c_duHintTimerId);
    }
    m_delayRunning = false;
}

void t_wndDuHint::SetMarkup(const wchar_t* newMarkup)
{
    if (!newMarkup) {
        StopDelay();
        tickCounter = 0;
        // Forgotten too, so that the same hint shown again later waits and appears anew
        // instead of counting as unchanged while hidden.
        markup.Clear();
        return;
    }
    if (markup.EqualsNoCase(newMarkup))
        return;
    markup = newMarkup;
    if (root) {
        t_errorChain errors;
        root->LoadMarkup(errors, markup.c_str());
    }
    if (markup.IsEmpty())
        return;
    tickCounter = 0;
    if (HWND hwnd = GetHwnd()) {
        SetTimer(hwnd, c_duHintTimerId, c_duHintTickMs, nullptr);
        m_delayRunning = true;
    }
}

bool t_wndDuHint::OnTimer(UINT_PTR id)
{
    if (id != c_duHintTimerId)
        return t_wndStringItem::OnTimer(id);
    ++tickCounter;
    if (tickCounter == c_duHintWaitTicks) {
        StopDelay();
        t_uiContext* context = GetContext();
        context->Imc().RequestUiRefresh(context->hostWindow);
    } else if (tickCounter > c_duHintWaitTicks) {
        // A stray tick after the end: keep the counter where the tree shows.
        tickCounter = c_duHintWaitTicks;
        StopDelay();
    }
    return true;
}

int t_wndDuHint::Measure(HDC dc)
{
    if (!IsReady() || !root) {
        SetSize(0, 0);
        return 3;
    }
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    {
        t_paintCtx context(dc ? dc : own, top && top->perPixelAlpha, nullptr, false);
        root->LayoutTree(context);
        context.End();
    }
    if (own)
        DeleteDC(own);
    const int width = root->Width(), height = root->Height();
    if (width <= 0 || height <= 0)
        SetSize(0, 0);
    else
        SetSize(width, height);
    return 3;
}

void t_wndDuHint::Paint_Text(t_paintCtx& context)
{
    if (!visible || !IsReady() || !root)
        return;
    const RECT r = GetRectInHwnd();
    root->DrawTree(context, r.left, r.top);
}

bool t_wndDuHint::OnLButtonUp(UINT, int x, int y)
{
    if (!IsReady() || !root)
        return false;
    const RECT r = GetRect();
    return root->ClickTree(POINT{x - r.left, y - r.top});
}

bool t_wndDuHint::HitTest(int x, int y, int)
{
    if (!visible || !IsReady() || !root)
        return false;
    const RECT r = GetRect();
    return root->HitTestTree(POINT{x - r.left, y - r.top});
}

void t_wndDuHint::Rebuild()
{
    if (root)
        root->ReleaseTree();
}

void t_wndDuHint::OnLinkClick(const wchar_t* href, int)
{
    t_uiContext* context = GetContext();
    context->Imc().OnHintLink(context->hostWindow, href);
}

uint32_t t_wndDuHint::GetTextColor()
{
    // An item without a known colour (all ones) answers opaque black.
    if (textColor == 0xFFFFFFFFu)
        return 0xFF000000u;
    return 0xFF000000u | (textColor & 0xFFFFFF);
}

uint32_t t_wndDuHint::GetBackColor() { return hasBackColor ? 0xFF000000u | (backColor & 0xFFFFFF) : 0; }

const wchar_t* t_wndDuHint::GetFontName()
{
    LOGFONTW logFont = {};
    m_faceName[0] = 0;
    if (font && font->hfont && GetObjectW(font->hfont, sizeof logFont, &logFont)) {
        wcsncpy(m_faceName, logFont.lfFaceName, LF_FACESIZE - 1);
        m_faceName[LF_FACESIZE - 1] = 0;
    }
    return m_faceName;
}

int t_wndDuHint::GetFontSize()
{
    LOGFONTW logFont = {};
    if (font && font->hfont && GetObjectW(font->hfont, sizeof logFont, &logFont))
        return logFont.lfHeight;
    return 0;
}

bool t_wndDuHint::UseSmoothFont() { return top ? top->perPixelAlpha : true; }

bool t_wndDuHint::LoadUrlImage(const wchar_t* folder, const wchar_t* fileName, const wchar_t* url,
                               DirectUI::DuPicture& picture)
{
    t_uiContext* context = GetContext();
    t_imageSource* source = nullptr;
    if (!context->Imc().LoadHintImage(folder, fileName, url, context->hostWindow, c_duHintImageKind, &source))
        return false;
    const bool ok = source && CopyToDuPicture(*source, picture);
    if (source)
        t_imageSource::Destroy(source);
    return ok;
}
