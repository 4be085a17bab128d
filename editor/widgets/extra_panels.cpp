#include "editor/widgets/extra_panels.h"

#include <algorithm>
#include <cstdint>

#include "editor/framework/editor_messages.h"
#include "editor/preview/preview_configable.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/module_instance.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"

namespace {
const wchar_t* const c_thumbTitles[ExtraViewPanel::c_itemCount] = {L"正常字体预览", L"大字体预览", L"手机-低分辨率预览",
                                                                   L"手机-高分辨率预览"};
// The phone thumbnails, enabled only on the phone page.
const int c_firstPhoneItem = 2;
// The view modes that make no sense for a phone preview.
const int c_firstPhoneHiddenButton = 2;
// The disabled veil: grey at half opacity.
const BYTE c_veilGrey = 0x80;
const BYTE c_veilAlpha = 0x80;

// Both panels' fonts: made once and kept for the process.
HFONT MakePanelFont()
{
    LOGFONTW font = {};
    font.lfHeight = -14;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(font.lfFaceName, L"Simsun");
    return CreateFontIndirectW(&font);
}

HFONT CaptionFont()
{
    static const HFONT font = MakePanelFont();
    return font;
}

HFONT TitleFont()
{
    static const HFONT font = MakePanelFont();
    return font;
}

bool IsPhonePreview(int preview) { return preview == 2 || preview == 3; }

// Fills rect with a colour at a constant opacity over what is there.
void FillTranslucent(HDC dc, const RECT& rect, COLORREF colour, BYTE alpha)
{
    t_memDC dot;
    if (!t_memDC::Create(dot, dc, 1, 1))
        return;
    dot.Pixels()[0] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dot.dc, 0, 0, 1, 1, blend);
}
}  // namespace

// ---- t_previewThumb ------------------------------------------------------------------

t_previewThumb::t_previewThumb(const wchar_t* title) : m_title(title), m_source(nullptr), m_enabled(true), m_scale(1.0f)
{}

int t_previewThumb::Width() const { return static_cast<int>(c_width * m_scale); }

RECT t_previewThumb::PicturePlace(int x, int y, int width, int sourceWidth, int sourceHeight)
{
    RECT none = {x, y + c_titleHeight, x, y + c_titleHeight};
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 2)
        return none;
    // One pixel of the frame on each side stays clear.
    const double scale =
        std::min(static_cast<double>(width - 2) / sourceWidth, static_cast<double>(c_pictureHeight - 2) / sourceHeight);
    const int drawnWidth = static_cast<int>(sourceWidth * scale);
    const int drawnHeight = static_cast<int>(sourceHeight * scale);
    const int left = x + (width - drawnWidth) / 2;
    const int top = y + c_titleHeight + (c_pictureHeight - drawnHeight) / 2;
    return RECT{left, top, left + drawnWidth, top + drawnHeight};
}

void t_previewThumb::PaintSource(HDC dc, int x, int y, int width) const
{
    int sourceWidth = 0, sourceHeight = 0;
    m_source->GetSize(sourceWidth, sourceHeight);
    if (sourceWidth <= 0 || sourceHeight <= 0 ||
        static_cast<int64_t>(sourceWidth) * sourceHeight > static_cast<int64_t>(c_maxSourcePixels))
        return;
    const RECT place = PicturePlace(x, y, width, sourceWidth, sourceHeight);
    if (place.right <= place.left || place.bottom <= place.top)
        return;
    // The preview draws with per-pixel alpha into a cleared picture, which is then blended,
    // scaled, onto the panel.
    t_memDC picture;
    if (!t_memDC::Create(picture, dc, sourceWidth, sourceHeight))
        return;
    const int saved = SaveDC(picture.dc);
    m_source->Paint(picture.dc, 0, 0);
    if (saved)
        RestoreDC(picture.dc, saved);
    GdiFlush();
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    AlphaBlend(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, picture.dc, 0, 0,
               sourceWidth, sourceHeight, picture.blend);
    SetStretchBltMode(dc, oldMode);
}

void t_previewThumb::Paint(HDC dc, int x, int y, HFONT titleFont) const
{
    const int width = Width();
    {
        t_scopedSelectObject font(dc, titleFont ? static_cast<HGDIOBJ>(titleFont) : GetStockObject(DEFAULT_GUI_FONT));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
        RECT title = {x, y, x + width, y + c_titleHeight};
        DrawTextW(dc, m_title.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }
    if (m_source)
        PaintSource(dc, x, y, width);
    {
        t_scopedSelectObject pen(dc, GetStockObject(BLACK_PEN));
        t_scopedSelectObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, x, y + c_titleHeight, x + width, y + c_height);
    }
    if (!m_enabled) {
        // The veil covers the thumbnail's own width, so a shrunk one leaves its neighbour alone.
        const RECT picture = {x, y + c_titleHeight, x + width, y + c_height};
        FillTranslucent(dc, picture, RGB(c_veilGrey, c_veilGrey, c_veilGrey), c_veilAlpha);
    }
}

// ---- ExtraBtnPanel -------------------------------------------------------------------

ExtraBtnPanel::ExtraBtnPanel() : m_mode(0) {}

ExtraBtnPanel::~ExtraBtnPanel() = default;

t_wndOwnerDrawHoverButtonItem4* ExtraBtnPanel::Button(int index) const
{
    return index >= 0 && index < c_buttonCount ? m_buttons[index].get() : nullptr;
}

HWND ExtraBtnPanel::ButtonWindow(int index) const
{
    t_wndOwnerDrawHoverButtonItem4* button = Button(index);
    return button ? button->hwnd : nullptr;
}

bool ExtraBtnPanel::CreateButtons()
{
    if (!m_hwnd)
        return false;
    const HINSTANCE module = GetModuleInstance();
    bool ok = true;
    for (int i = 0; i < c_buttonCount; ++i) {
        const int id = c_firstButtonId + i;
        HWND control = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, m_hwnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
        if (!control) {
            ok = false;
            continue;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(CaptionFont()), FALSE);
        m_buttons[i].reset(new t_wndOwnerDrawHoverButtonItem4);
        if (!m_buttons[i]->Attach(m_hwnd, id, MAKEINTRESOURCEW(c_firstPicture + i), module, nullptr)) {
            m_buttons[i].reset();
            DestroyWindow(control);
            ok = false;
            continue;
        }
        m_group.Add(m_buttons[i].get());
    }
    // Every button takes the first one's size, side by side.
    RECT first = {0, 0, 0, 0};
    if (HWND window = ButtonWindow(0))
        GetWindowRect(window, &first);
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;
    for (int i = 0; i < c_buttonCount; ++i) {
        if (HWND window = ButtonWindow(i)) {
            MoveWindow(window, i * width, 0, width, height, TRUE);
            ShowWindow(window, SW_SHOW);
        }
    }
    SelectMode(0);
    return ok;
}

void ExtraBtnPanel::SelectMode(int mode)
{
    if (mode < 0 || mode >= c_buttonCount)
        return;
    m_mode = mode;
    if (m_buttons[mode])
        m_group.Select(m_buttons[mode].get());
}

void ExtraBtnPanel::OnPreviewChanged(int preview)
{
    const int before = m_mode;
    const bool phone = IsPhonePreview(preview);
    if (phone || preview == 0 || preview == 1) {
        for (int i = c_firstPhoneHiddenButton; i < c_buttonCount; ++i) {
            if (HWND window = ButtonWindow(i))
                ShowWindow(window, phone ? SW_HIDE : SW_SHOW);
        }
    }
    if (phone && m_mode >= c_firstPhoneHiddenButton)
        m_mode = 0;
    if (m_mode != before && m_hwnd)
        PostMessageW(GetParent(m_hwnd), n_editorMessage::c_viewMode, static_cast<WPARAM>(m_mode), 0);
}

LRESULT ExtraBtnPanel::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlID >= static_cast<UINT>(c_firstButtonId) &&
            item->CtlID < static_cast<UINT>(c_firstButtonId + c_buttonCount)) {
            t_scopedSelectObject font(item->hDC, CaptionFont());
            t_wndOwnerDrawButton::DrawItemOf(item);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && id >= c_firstButtonId && id < c_firstButtonId + c_buttonCount) {
            PostMessageW(GetParent(window), n_editorMessage::c_viewMode, static_cast<WPARAM>(id - c_firstButtonId), 0);
            return 0;
        }
        break;
    }
    default:
        if (message == n_editorMessage::c_selectPreview) {
            OnPreviewChanged(static_cast<int>(wParam));
            return 0;
        }
        if (message == n_editorMessage::c_viewMode) {
            SelectMode(static_cast<int>(wParam));
            return 0;
        }
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

// ---- ExtraViewPanel ------------------------------------------------------------------

ExtraViewPanel::ExtraViewPanel() : m_pageMode(0), m_viewMode(0), m_pressed(-1)
{
    for (t_viewItem& each : m_items)
        each.left = each.top = each.right = each.bottom = 0;
}

ExtraViewPanel::~ExtraViewPanel() = default;

t_previewThumb* ExtraViewPanel::Item(int index) const
{
    return index >= 0 && index < c_itemCount ? m_items[index].item.get() : nullptr;
}

RECT ExtraViewPanel::ItemRect(int index) const
{
    if (index < 0 || index >= c_itemCount)
        return RECT{0, 0, 0, 0};
    const t_viewItem& each = m_items[index];
    return RECT{each.left, each.top, each.right, each.bottom};
}

void ExtraViewPanel::CreateItems()
{
    for (int i = 0; i < c_itemCount; ++i)
        m_items[i].item.reset(new t_previewThumb(c_thumbTitles[i]));
    // Nothing was chosen yet: the phones start disabled without sending the frame back.
    ApplyEnabled(false);
}

void ExtraViewPanel::SetSource(int index, PreviewConfigable* source)
{
    if (t_previewThumb* item = Item(index))
        item->SetSource(source);
}

void ExtraViewPanel::UpdateEnabled() { ApplyEnabled(true); }

void ExtraViewPanel::ApplyEnabled(bool notify)
{
    t_previewThumb* firstPhone = Item(c_firstPhoneItem);
    if (!firstPhone)
        return;
    const bool wasEnabled = firstPhone->IsEnabled();
    const bool enable = m_pageMode == c_phonePage;
    for (int i = c_firstPhoneItem; i < c_itemCount; ++i)
        m_items[i].item->SetEnabled(enable);
    if (!enable && wasEnabled && notify && m_hwnd)
        PostMessageW(GetParent(m_hwnd), n_editorMessage::c_selectPreview, 0, 0);
}

void ExtraViewPanel::Layout(int clientWidth)
{
    const int cell = clientWidth / c_itemCount;
    int gap = 0, width = t_previewThumb::c_width;
    float scale = 1.0f;
    if (cell < t_previewThumb::c_width) {
        width = std::max(cell, 0);
        scale = static_cast<float>(width) / t_previewThumb::c_width;
    } else {
        gap = cell - t_previewThumb::c_width;
    }
    for (int i = 0; i < c_itemCount; ++i) {
        t_viewItem& each = m_items[i];
        each.left = gap / 2 + (gap + width) * i;
        each.top = c_itemTop;
        each.right = each.left + width;
        each.bottom = each.top + t_previewThumb::c_height;
        if (each.item)
            each.item->SetScale(scale);
    }
}

int ExtraViewPanel::ItemAt(int x, int y) const
{
    const POINT point = {x, y};
    for (int i = 0; i < c_itemCount; ++i) {
        const t_viewItem& each = m_items[i];
        const RECT rect = {each.left, each.top, each.right, each.bottom};
        if (each.item && each.item->IsEnabled() && PtInRect(&rect, point))
            return i;
    }
    return -1;
}

void ExtraViewPanel::OnLButtonDown(int x, int y) { m_pressed = ItemAt(x, y); }

void ExtraViewPanel::OnLButtonUp(int x, int y)
{
    const int released = ItemAt(x, y);
    if (released < 0 || released != m_pressed) {
        m_pressed = -1;
        return;
    }
    m_pressed = -1;
    if (m_hwnd)
        PostMessageW(GetParent(m_hwnd), n_editorMessage::c_selectPreview, static_cast<WPARAM>(released), 0);
}

void ExtraViewPanel::OnPaint(HDC dc)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hwnd, &client);
    Layout(client.right - client.left);
    // Drawn off screen first: four previews take a while, and the panel repaints on every edit.
    t_memDC buffer;
    const bool buffered = t_memDC::Create(buffer, dc, client.right, client.bottom);
    const HDC target = buffered ? buffer.dc : dc;
    FillRect(target, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const t_viewItem& each : m_items) {
        if (each.item)
            each.item->Paint(target, each.left, each.top, TitleFont());
    }
    if (buffered)
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer.dc, 0, 0, SRCCOPY);
}

LRESULT ExtraViewPanel::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        // The paint fills the whole client area.
        return 1;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    default:
        if (message == n_editorMessage::c_selectPage) {
            m_pageMode = LOWORD(wParam);
            UpdateEnabled();
            return 0;
        }
        if (message == n_editorMessage::c_viewMode) {
            m_viewMode = static_cast<int>(wParam);
            UpdateEnabled();
            return 0;
        }
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}
