#include "ime_ui/windows/skinbox/wnd_bar_config.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "foundation/core/owned.h"
#include "foundation/win/rect.h"
#include "graphics/image/image_source.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/ime_message_guard.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/window_classes.h"
#include "toolkit/controls/wnd_text_item.h"

namespace {

const DWORD c_popupExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
const int c_stripFrames = 4;
const t_insets c_stripBackgroundInsets = {10, 10, 5, 5};

// Where the children sit (window coordinates; the layout keeps them there).
const int c_margin = 8;
const int c_captionX = 10;
const int c_iconsCaptionY = 8;
const int c_gridX = 14, c_gridY = 30, c_gridColumns = 5, c_cellWidth = 40, c_cellHeight = 42;
const int c_checkOffsetX = 3, c_checkOffsetY = 22;
const int c_separator1Y = 118;
const int c_colourCaptionY = 126;
const int c_swatchY = 148, c_swatchStep = 20;
const int c_separator2Y = 170;
const int c_previewCaptionY = 178;
const int c_previewY = 198;
const int c_buttonsY = 230;
const int c_buttonWidthGuess = 60;

// Frame colours of the window: outer line, white line, then the face.
const uint32_t c_outerColor = 0xB5B5B5;
const uint32_t c_innerColor = 0xFFFFFF;
const uint32_t c_faceColor = 0xF9F9F9;

// Draws a premultiplied 32-bit bitmap stretched into (x, y, width, height) of dc.
void BlendBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height)
{
    BITMAP info = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || width <= 0 || height <= 0)
        return;
    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return;
    HGDIOBJ previous = SelectObject(source, bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    AlphaBlend(dc, x, y, width, height, source, 0, 0, info.bmWidth, std::abs(info.bmHeight), blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace

// ---- buttons

void t_wndImageButton::OnClick()
{
    if (id == -1)
        return;
    if (HWND window = GetHwnd())
        PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id & 0xFFFF), reinterpret_cast<LPARAM>(this));
}

bool t_wndImageButton::HitTest(int x, int y, int)
{
    const RECT r = GetRect();
    return visible && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void t_wndImageButton::SetStrip(int set, const t_image& strip)
{
    if (set < 0 || set >= t_btnImageSets::c_maxSets)
        return;
    imageSets.count = std::max(imageSets.count, set + 1);
    t_imageSet& pictures = imageSets.sets[set];
    for (t_image& picture : pictures.images)
        picture.Init();
    if (strip.IsBitmapEmpty())
        return;
    const int frameWidth = strip.partWidth / c_stripFrames;
    // Frames 0, 1 and 2 are normal, hover and down; every other state shows frame 0.
    const int frameOfState[t_imageSet::c_stateCount] = {0, 2, 1, 0, 0, 0, 0};
    for (int state = 0; state < t_imageSet::c_stateCount; ++state) {
        t_image& picture = pictures.images[state];
        picture = strip;
        picture.ownsSource = 0;
        picture.partX = strip.partX + frameOfState[state] * frameWidth;
        picture.partWidth = frameWidth;
    }
}

void t_wndImageButton::SetPicture(int set, const t_image& picture)
{
    if (set < 0 || set >= t_btnImageSets::c_maxSets)
        return;
    imageSets.count = std::max(imageSets.count, set + 1);
    for (t_image& state : imageSets.sets[set].images) {
        state = picture;
        state.ownsSource = 0;
    }
}

t_wndColorButton::t_wndColorButton(int commandId, COLORREF swatchColor) : color(swatchColor), frameColor(c_frameColor)
{
    id = commandId;
}

int t_wndColorButton::Measure(HDC)
{
    SetSize(c_size, c_size);
    return 3;
}

bool t_wndColorButton::HitTest(int x, int y, int)
{
    const RECT r = GetRect();
    return visible && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void t_wndColorButton::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    const RECT r = GetRectInHwnd();
    context.FillRect(r.left, r.top, RectWidth(r), RectHeight(r), frameColor);
    context.FillRect(r.left + 1, r.top + 1, RectWidth(r) - 2, RectHeight(r) - 2, color);
}

bool t_wndColorButton::OnLButtonUp(UINT, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    if (HWND window = GetHwnd())
        PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id & 0xFFFF), reinterpret_cast<LPARAM>(this));
    return true;
}

// ---- preview

t_wndBarConfigPreview::t_wndBarConfigPreview(HBITMAP* bitmaps, const t_image* statusBackground)
    : kindBitmaps(bitmaps), background(statusBackground), mask(0xFFFF)
{}

int t_wndBarConfigPreview::Measure(HDC)
{
    SetSize(0, c_stripHeight);
    return 2;
}

int t_wndBarConfigPreview::NeededWidth(uint32_t forMask)
{
    int shown = 0;
    for (int kind : t_wndBarConfig::c_previewKinds)
        shown += (forMask >> kind) & 1u;
    return 2 + c_step * shown;
}

SIZE t_wndBarConfigPreview::DrawnSize(int needed, int width)
{
    if (width <= 0 || needed <= 0)
        return SIZE{0, 0};
    if (width >= needed)
        return SIZE{needed, c_stripHeight};
    // In floating point: the integer quotient needed / width is 0 or loses the fraction.
    return SIZE{width, static_cast<LONG>(c_stripHeight * static_cast<double>(width) / needed + 0.5)};
}

HBITMAP t_wndBarConfigPreview::RenderStrip(HDC reference) const
{
    const int needed = NeededWidth(mask);
    t_memDC strip;
    if (!t_memDC::Create(strip, reference, needed, c_stripHeight))
        return nullptr;
    std::fill(strip.Pixels(), strip.Pixels() + static_cast<size_t>(needed) * c_stripHeight, 0u);
    {
        t_paintCtx context(strip.dc, true, &strip, false);
        if (background && !background->IsBitmapEmpty()) {
            t_imageSet9 nine;
            for (t_image& cell : nine.cells)
                cell.Init();
            if (background->source) {
                t_imageSet9::SetFromSource(background->source, nine, c_stripBackgroundInsets);
            } else {
                t_imageSet9::SetFromBitmap(nine, static_cast<HBITMAP>(background->ref.handle), c_stripBackgroundInsets,
                                           0, 0, c_noColorKey, c_noColorKey, t_image::e_stretch, t_image::e_stretch);
            }
            t_imageSet9::Draw(context, nine, 0, 0, needed, c_stripHeight);
        }
        context.End();
    }
    int x = 1;
    for (int kind : t_wndBarConfig::c_previewKinds) {
        if (!((mask >> kind) & 1u))
            continue;
        if (kindBitmaps && kindBitmaps[kind])
            BlendBitmap(strip.dc, kindBitmaps[kind], x, 1, c_step, c_step);
        x += c_step;
    }
    return strip.Detach();
}

void t_wndBarConfigPreview::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    const RECT r = GetRectInHwnd();
    const int needed = NeededWidth(mask);
    const SIZE drawn = DrawnSize(needed, RectWidth(r));
    if (drawn.cx <= 0 || drawn.cy <= 0)
        return;
    HBITMAP strip = RenderStrip(context.Dc());
    if (!strip)
        return;
    BlendBitmap(context.Dc(), strip, r.left + (RectWidth(r) - drawn.cx) / 2, r.top, drawn.cx, drawn.cy);
    DeleteObject(strip);
}

// ---- the window

const wchar_t* const t_wndBarConfig::c_pictureNames[e_pictureCount] = {
    L"IDR_PNG_BARCONFIG_OK", L"IDR_PNG_BARCONFIG_DEFAULT", L"IDR_PNG_BARCONFIG_CLOSE", L"IDR_PNG_BARCONFIG_CHECKED",
    L"IDR_PNG_BARCONFIG_UNCHECK"};

const t_wndBarConfig::t_row t_wndBarConfig::c_rows[c_rowCount] = {
    {0, 0}, {2, 1}, {1, 0}, {5, 0}, {10, 1}, {12, 0}, {6, 0}, {4, 1}, {3, 0}, {7, 0}, {15, 0},
};
const int t_wndBarConfig::c_previewKinds[c_rowCount] = {15, 0, 2, 1, 5, 10, 12, 7, 3, 4, 6};
const COLORREF t_wndBarConfig::c_swatches[c_swatchCount] = {0x1518C0, 0x1518FA, 0x16B1F9, 0x5CD297, 0x5CB515,
                                                            0xECB515, 0xD29451, 0x181000, 0xA44279};

t_wndBarConfig::t_wndBarConfig()
    : kindBitmaps{}, captionFont(nullptr), captionColor(0x373737), separatorColor(0xDEDEDE),
      preview(nullptr), pictureButtons{}, checkBoxes{}, swatches{}, confirmButton(nullptr), defaultButton(nullptr),
      closeButton(nullptr), captions{}, separatorY{c_separator1Y, c_separator2Y}, mask(0), maskAtShow(0),
      colour(0xFFFFFFFFu), colourAtShow(0xFFFFFFFFu), bitmapColour(0xFFFFFFFFu), resourceModule(nullptr)
{
    for (t_image& picture : pictures)
        picture.Init();
    statusBackground.Init();
    frameColor = 0xD9D4CD;
    backColor = 0xFFFFFF;
    dragEnabled = false;
}

t_wndBarConfig::~t_wndBarConfig() { Destroy(); }

int t_wndBarConfig::RowOf(int kind)
{
    for (int row = 0; row < c_rowCount; ++row)
        if (c_rows[row].kind == kind)
            return row;
    return -1;
}

bool t_wndBarConfig::Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                            t_wndBase* parentElement)
{
    if (!CreateWindowOfClass(c_topClassName, L"", style, x, y, width, height, ownerHwnd, instance, parentElement,
                             c_popupExStyle))
        return false;
    SetLayered(true);
    InitImages();
    CreateChildren();
    Rebuild();
    return true;
}

void t_wndBarConfig::Destroy()
{
    t_wndUiSkinBase::Destroy();
    preview = nullptr;
    std::fill(std::begin(pictureButtons), std::end(pictureButtons), nullptr);
    std::fill(std::begin(checkBoxes), std::end(checkBoxes), nullptr);
    std::fill(std::begin(swatches), std::end(swatches), nullptr);
    std::fill(std::begin(captions), std::end(captions), nullptr);
    confirmButton = defaultButton = closeButton = nullptr;
    FreeKindBitmaps();
    for (t_image& picture : pictures) {
        picture.Release();
        picture.Init();
    }
    if (captionFont) {
        t_font::Release(captionFont);
        captionFont = nullptr;
    }
}

void t_wndBarConfig::FreeKindBitmaps()
{
    for (HBITMAP& bitmap : kindBitmaps) {
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

void t_wndBarConfig::InitImages()
{
    for (int i = 0; i < e_pictureCount; ++i) {
        pictures[i].Release();
        if (!pictures[i].LoadResource(resourceModule, c_pictureNames[i]))
            pictures[i].Init();
    }
    if (!captionFont) {
        LOGFONTW logFont = {};
        logFont.lfHeight = 12;
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = CLEARTYPE_NATURAL_QUALITY;
        wcscpy(logFont.lfFaceName, L"SimSun");
        t_font::Create(logFont, captionFont, true);
    }

    FreeKindBitmaps();
    t_uiSkinData* skin = Skin();
    t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    for (int kind = 0; kind < c_kindCount; ++kind) {
        const int row = RowOf(kind);
        if (row < 0 || !parts)
            continue;
        t_btnSkinRec* record = parts->FindButton(c_skinStatusWindow, t_skinItemType::e_fixed, kind);
        if (!record || !record->display || record->layerCount <= 0)
            continue;
        int set = c_rows[row].pictureMode;
        if (set >= record->layerCount || !record->layers[set].HasState(e_btnNormal))
            set = 0;
        t_image picture = record->layers[set].states[e_btnNormal];
        if (picture.IsBitmapEmpty() || picture.partWidth <= 0 || picture.partHeight <= 0)
            continue;
        t_memDC holder;
        if (!t_memDC::Create(holder, nullptr, picture.partWidth, picture.partHeight))
            continue;
        std::fill(holder.Pixels(), holder.Pixels() + static_cast<size_t>(picture.partWidth) * picture.partHeight, 0u);
        {
            t_paintCtx context(holder.dc, true, &holder, false);
            picture.modeH = picture.modeV = t_image::e_stretch;
            picture.Draw(context, 0, 0, picture.partWidth, picture.partHeight, 255);
            context.End();
        }
        kindBitmaps[kind] = holder.Detach();
    }
    statusBackground.Init();
    if (skin && skin->GetStatusBackground()) {
        statusBackground = *skin->GetStatusBackground();
        statusBackground.ownsSource = 0;
    }
    bitmapColour = skin ? skin->StatusButtonColor() : 0xFFFFFFFFu;
}

void t_wndBarConfig::Place(t_wndBase* child, int x, int y)
{
    t_layoutAligned* root = static_cast<t_layoutAligned*>(layout);
    if (!child || !root)
        return;
    root->AddChild(t_layoutPtr(child->CreateLayout()),
                   t_alignInfo{t_alignInfo::e_near, x, t_alignInfo::e_free, 0, t_alignInfo::e_near, y,
                               t_alignInfo::e_free, 0, 0, 0, 0, 0, 0});
}

void t_wndBarConfig::CreateChildren()
{
    auto made = MakeOwned<t_layoutAligned>();
    t_layoutAligned* root = made.get();
    if (!root)
        return;
    SetLayout(std::move(made));
    root->SetRect(rect);

    const auto make = [this](t_wndBase* child) {
        // Create takes the command id in place of the one the constructor gave.
        if (child && !child->Create(WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, child->id, nullptr, this)) {
            delete child;
            return false;
        }
        return child != nullptr;
    };
    const auto stripSize = [](const t_image& strip) {
        return strip.IsBitmapEmpty() ? SIZE{0, 0} : SIZE{strip.partWidth / c_stripFrames, strip.partHeight};
    };

    closeButton = new (std::nothrow) t_wndImageButton(e_close);
    if (make(closeButton)) {
        closeButton->SetStrip(0, pictures[e_closePicture]);
        Place(closeButton, c_width - c_margin - stripSize(pictures[e_closePicture]).cx, 4);
    } else {
        closeButton = nullptr;
    }

    const wchar_t* const captionTexts[3] = {L"图标", L"颜色", L"预览"};
    const int captionYs[3] = {c_iconsCaptionY, c_colourCaptionY, c_previewCaptionY};
    for (int i = 0; i < 3; ++i) {
        t_wndTextItem* caption = new (std::nothrow) t_wndTextItem();
        if (!make(caption))
            continue;
        caption->SetItemText(captionTexts[i]);
        caption->SetStyle(t_textItemStyle{captionColor, 0, 0, captionFont, false});
        captions[i] = caption;
        Place(caption, c_captionX, captionYs[i]);
    }

    for (int row = 0; row < c_toggleRows; ++row) {
        const int kind = c_rows[row].kind;
        const int x = c_gridX + (row % c_gridColumns) * c_cellWidth;
        const int y = c_gridY + (row / c_gridColumns) * c_cellHeight;
        t_wndImageButton* picture = new (std::nothrow) t_wndImageButton(e_pictureFirst + row);
        if (make(picture)) {
            if (kindBitmaps[kind]) {
                t_image record;
                record.Init();
                record.SetBitmap(kindBitmaps[kind], 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural,
                                 t_image::e_natural, false);
                record.hasAlpha = 1;
                picture->SetPicture(0, record);
            }
            pictureButtons[row] = picture;
            Place(picture, x, y);
        }
        t_wndCheckButton* check = new (std::nothrow) t_wndCheckButton(e_checkFirst + row);
        if (make(check)) {
            check->SetStrip(0, pictures[e_unchecked]);
            check->SetStrip(1, pictures[e_checked]);
            check->enabled = kindBitmaps[kind] != nullptr;
            checkBoxes[row] = check;
            Place(check, x + c_checkOffsetX, y + c_checkOffsetY);
        }
    }

    for (int i = 0; i < c_swatchCount; ++i) {
        t_wndColorButton* swatch = new (std::nothrow) t_wndColorButton(e_swatchFirst + i, c_swatches[i]);
        if (!make(swatch))
            continue;
        swatches[i] = swatch;
        Place(swatch, c_gridX + i * c_swatchStep, c_swatchY);
    }

    preview = new (std::nothrow) t_wndBarConfigPreview(kindBitmaps, &statusBackground);
    if (make(preview)) {
        root->AddChild(t_layoutPtr(preview->CreateLayout()),
                       t_alignInfo{t_alignInfo::e_near, c_margin, t_alignInfo::e_far, c_margin, t_alignInfo::e_near,
                                   c_previewY, t_alignInfo::e_free, 0, 0, 0, 0, 0, 0});
    } else {
        preview = nullptr;
    }

    const int okWidth = pictures[e_ok].IsBitmapEmpty() ? c_buttonWidthGuess : stripSize(pictures[e_ok]).cx;
    const int defaultWidth =
        pictures[e_defaultPicture].IsBitmapEmpty() ? c_buttonWidthGuess : stripSize(pictures[e_defaultPicture]).cx;
    confirmButton = new (std::nothrow) t_wndImageButton(e_confirm);
    if (make(confirmButton)) {
        confirmButton->SetStrip(0, pictures[e_ok]);
        Place(confirmButton, c_width - c_margin - defaultWidth - c_margin - okWidth, c_buttonsY);
    } else {
        confirmButton = nullptr;
    }
    defaultButton = new (std::nothrow) t_wndImageButton(e_default);
    if (make(defaultButton)) {
        defaultButton->SetStrip(0, pictures[e_defaultPicture]);
        Place(defaultButton, c_width - c_margin - defaultWidth, c_buttonsY);
    } else {
        defaultButton = nullptr;
    }
    const int buttonsHeight = std::max<int>(stripSize(pictures[e_ok]).cy, stripSize(pictures[e_defaultPicture]).cy);
    root->SetMinSize(c_width, c_buttonsY + buttonsHeight + c_margin);
}

LRESULT t_wndBarConfig::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (IsImeUiMessage(msg))
        return 0;
    t_enterMessageGuard guard(GetContext()->Ui());
    return t_wndTop::WndProc(window, msg, wParam, lParam);
}

LRESULT t_wndBarConfig::OnCommand(WPARAM wParam, LPARAM)
{
    const int command = LOWORD(wParam);
    if (command == e_confirm) {
        Confirm();
    } else if (command == e_close) {
        Cancel();
    } else if (command >= e_checkFirst && command < e_checkFirst + 100) {
        ToggleRow(command - e_checkFirst);
    } else if (command >= e_pictureFirst && command < e_pictureFirst + 100) {
        ToggleRow(command - e_pictureFirst);
    } else if (command >= e_swatchFirst && command < e_swatchFirst + c_swatchCount) {
        Recolour(colour, c_swatches[command - e_swatchFirst]);
        UpdateLayer();
    } else if (command == e_default) {
        ResetToDefault();
    }
    return 0;
}

void t_wndBarConfig::Rebuild()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    t_uiSettings* settings = Settings();
    const int hostMask = ui.GetStatusButtonMask();
    uint32_t newMask =
        hostMask == -1 ? (settings ? settings->statusBtnFlag : c_defaultMask) : static_cast<uint32_t>(hostMask);
    newMask |= c_logoBit;
    if (preview)
        preview->mask = newMask;
    SetMask(newMask);
    const int hostColour = ui.GetStatusButtonColor();
    const uint32_t newColour =
        hostColour == -1 ? (settings ? settings->statusBtnColor : 0xFFFFFFFFu) : static_cast<uint32_t>(hostColour);
    Recolour(bitmapColour, newColour);
}

void t_wndBarConfig::SetMask(uint32_t newMask)
{
    mask = newMask;
    GetContext()->Ui().PreviewStatusButtonMask(static_cast<int>(newMask));
    for (int row = 0; row < c_toggleRows; ++row) {
        t_wndCheckButton* check = checkBoxes[row];
        if (check && check->enabled)
            check->SetChecked(((newMask >> c_rows[row].kind) & 1u) != 0);
    }
}

void t_wndBarConfig::Recolour(uint32_t from, uint32_t to)
{
    if (from == 0xFFFFFFFFu)
        from = c_defaultColor;
    if (to != from) {
        for (HBITMAP bitmap : kindBitmaps) {
            int width = 0, height = 0;
            uint32_t* pixels = static_cast<uint32_t*>(GetBitmapPixels(bitmap));
            if (pixels && QueryBitmapSize(bitmap, width, height))
                RecolorPixels(from, pixels, to, height, width);
        }
        NotePicturesChanged();
    }
    colour = bitmapColour = to;
    GetContext()->Ui().PreviewStatusButtonColor(static_cast<int>(to));
}

void t_wndBarConfig::ToggleRow(int row)
{
    if (row < 0 || row >= c_toggleRows)
        return;
    const uint32_t bit = 1u << c_rows[row].kind;
    t_wndCheckButton* check = checkBoxes[row];
    if (check && check->enabled)
        check->SetChecked(!check->IsChecked());
    SetMask((mask & bit) ? (mask & ~bit) : (mask | bit));
    if (preview)
        preview->mask = mask;
    // The window keeps its right edge when its size changes.
    const RECT before = GetRect();
    const SIZE size = MeasureNow();
    Move(before.right - size.cx, before.top, size.cx, size.cy, true);
}

SIZE t_wndBarConfig::MeasureNow()
{
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    Measure(dc);
    if (dc)
        ReleaseDC(window, dc);
    const RECT r = GetRect();
    return SIZE{RectWidth(r), RectHeight(r)};
}

int t_wndBarConfig::Measure(HDC dc)
{
    if (dc) {
        t_paintCtx context(dc, false, nullptr, themedText);
        Relayout(&context);
        context.End();
    } else {
        Relayout(nullptr);
    }
    return t_wndUiSkinBase::Measure(dc);
}

void t_wndBarConfig::Paint_Layout(t_paintCtx& context)
{
    const SIZE size = GetSize();
    context.FillRect(0, 0, size.cx, size.cy, c_outerColor);
    context.FillRect(1, 1, size.cx - 2, size.cy - 2, c_innerColor);
    context.FillRect(2, 2, size.cx - 4, size.cy - 4, c_faceColor);
    for (int y : separatorY)
        context.FillRect(c_margin, y, size.cx - 2 * c_margin, 1, separatorColor);
    t_wndUiSkinBase::Paint_Layout(context);
}

void t_wndBarConfig::ShowConfig()
{
    maskAtShow = mask;
    colourAtShow = colour;
    Show(true);
}

void t_wndBarConfig::Confirm()
{
    UiWrapImplBase& ui = GetContext()->Ui();
    t_uiSkinData* skin = Skin();
    t_uiSettings* settings = skin && skin->Settings() ? skin->Settings() : Settings();
    if (settings) {
        settings->statusBtnColor = colour;
        settings->statusBtnFlag = mask;
    }
    ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigConfirm);
    const bool maskChanged = mask != maskAtShow;
    const bool colourChanged = colour != colourAtShow;
    if (maskChanged)
        ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigMaskChanged);
    if (colourChanged)
        ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigColorChanged);
    if (maskChanged || colourChanged) {
        ui.ReportBarConfigEvent(UiWrapImplBase::e_barConfigApplied);
        ui.OnBarConfigApplied();
    }
    Show(false);
    if (ownerHwnd)
        PostMessageW(ownerHwnd, c_msgBarConfigDone, 1, 0);
}

void t_wndBarConfig::Cancel()
{
    GetContext()->Ui().ReportBarConfigEvent(UiWrapImplBase::e_barConfigCancel);
    Show(false);
    if (ownerHwnd)
        PostMessageW(ownerHwnd, c_msgBarConfigDone, 0, 0);
}

void t_wndBarConfig::ResetToDefault()
{
    Recolour(colour, c_defaultColor);
    SetMask(c_defaultMask);
    if (preview)
        preview->mask = c_defaultMask;
    UpdateLayer();
    GetContext()->Ui().ReportBarConfigEvent(UiWrapImplBase::e_barConfigDefault);
}
