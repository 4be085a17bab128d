#include "ime_ui/windows/mobile/wnd_comp_mobile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/core/owned.h"
#include "foundation/core/perf.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_fixed_image.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/resize.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"

const wchar_t* const t_wndCompMobile::c_sampleComposition = L"栖鹭shou'ji'shu'ru'fa";
const wchar_t* const t_wndCompMobile::c_sampleFirst = L"手机输入法  ";
const wchar_t* const t_wndCompMobile::c_sampleOthers = L"手机 手里 >>";
const wchar_t* const t_wndCompMobile::c_heightWarning = L"超过最大高度，影响手机用户使用";

namespace {

// No side of the bar picture grows past this, whatever the skin's margins make of the scale.
const int c_maxBarSide = 8192;
// Custom buttons looked at on the status bar.
const int c_customButtonLimit = 100;
// Text formats.
const UINT c_lineFormat = 0x920;            // single line, no prefix, no clipping
const UINT c_warningFormat = 5;             // centred both ways
const uint32_t c_barFill = 0x808080;        // opaque grey under the bar
const uint32_t c_warningFill = 0x800000FF;  // red at alpha 128
const uint32_t c_warningColor = 0x00FFFF;   // yellow

void MakeLogFont(LOGFONTW& logFont, int height, int weight)
{
    memset(&logFont, 0, sizeof(logFont));
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_NATURAL_QUALITY;
    wcscpy_s(logFont.lfFaceName, L"simsun");
}

// The stretch mode of a part, with natural size taken as stretch.
int BarMode(int mode) { return mode == t_image::e_natural ? t_image::e_stretch : mode; }

// The nine parts with the bar's modes.
t_imageSet9 BarParts(const t_imageSet9& parts)
{
    t_imageSet9 copy = parts;
    for (t_image& cell : copy.cells) {
        cell.modeH = BarMode(cell.modeH);
        cell.modeV = BarMode(cell.modeV);
    }
    // Corners stay at their size.
    for (int corner :
         {t_imageSet9::e_topLeft, t_imageSet9::e_topRight, t_imageSet9::e_bottomLeft, t_imageSet9::e_bottomRight})
        copy.cells[corner].modeH = copy.cells[corner].modeV = t_image::e_natural;
    return copy;
}

// A width x height picture with the nine parts drawn over it and, when given, a layout on
// top; null when the DIB cannot be made.
HBITMAP DrawBar(const t_imageSet9& parts, int width, int height, t_layout* content)
{
    if (width <= 0 || height <= 0 || width > c_maxBarSide || height > c_maxBarSide)
        return nullptr;
    t_memDC dib;
    if (!t_memDC::Create(dib, nullptr, width, height))
        return nullptr;
    {
        t_paintCtx context(dib.dc, true, &dib, false);
        t_imageSet9 set = BarParts(parts);
        t_imageSet9::Draw(context, set, 0, 0, width, height);
        if (content)
            content->Paint(context, nullptr);
        context.End();
    }
    GdiFlush();
    return dib.Detach();
}

// The part of a bitmap as an image record that does not own it.
t_image PartOf(HBITMAP bitmap, int x, int y, int width, int height, int modeH, int modeV)
{
    t_image record;
    record.Init();
    record.SetBitmap(bitmap, x, y, c_noColorKey, c_noColorKey, width, height, modeH, modeV, false);
    record.hasAlpha = 1;
    return record;
}

int ScaleRounded(int value, double factor) { return ClampToInt(static_cast<long long>(value * factor + 0.5)); }

}  // namespace

t_wndCompMobile::t_wndCompMobile()
    : m_metrics(t_mobileMetrics::Small()), m_x1(0), m_y1(0), m_x2(0), m_y2(0), m_topMargin(0), m_bottomMargin(0),
      m_font1(nullptr), m_font2(nullptr), m_bar(nullptr), m_barWidth(0),
      m_barHeight(0), m_scale{1.0, 0, 0, 0}, m_scaleInput{}, m_hasButtons(false)
{
    SetPerPixelAlpha(true);
    MakeLogFont(m_logFont1, m_metrics.fontSize1, FW_NORMAL);
    MakeLogFont(m_logFont2, m_metrics.fontSize2, FW_BOLD);
}

t_wndCompMobile::~t_wndCompMobile()
{
    ReleaseFonts();
    ReleaseBar();
}

void t_wndCompMobile::ReleaseFonts()
{
    t_font::Release(m_font1);
    t_font::Release(m_font2);
    m_font1 = m_font2 = nullptr;
}

void t_wndCompMobile::ReleaseBar()
{
    if (m_bar)
        DeleteObject(m_bar);
    m_bar = nullptr;
    m_barWidth = m_barHeight = 0;
}

t_mobileScale t_wndCompMobile::ComputeScale(const t_mobileScaleInput& in)
{
    const double r = (2 * 0.11 - c_lineShare) / c_lineShare;
    const long long a = in.barHeight, T = in.topMargin, B = in.bottomMargin;
    const long long d = 0LL + in.topRowExtent + in.bottomRowExtent + 2LL * in.fontCell;
    const long long e = T + d + B;
    const long long g = a < e ? B : B + a - e;
    const long long h = std::max(0LL, static_cast<long long>(std::trunc(g - d * r / 2 / (r + 1))));
    const long long rows = std::max(in.topRowExtent, in.bottomRowExtent);
    long long o, H;
    if (a < e) {
        o = std::min({T, B, rows, h});
        H = a + 2 * o - T - B;
    } else {
        o = std::min({T, g, rows, h});
        H = d + 2 * o;
    }
    t_mobileScale scale;
    scale.topMargin = ClampToInt(T - o);
    // A content taller than the picture would leave a negative margin: none instead.
    scale.bottomMargin = ClampToInt(std::max(0LL, a + o - T - H));
    H = std::min(H, a);
    scale.contentHeight = ClampToInt(H);
    // In floating point: the line height over a content height is rarely a whole number.
    const double line = std::trunc(in.screenWidth * c_lineShare);
    scale.factor = H <= 0 ? 1.0 : line / static_cast<double>(H);
    return scale;
}

int t_wndCompMobile::PinyinFontCell() const
{
    t_uiSkinData* skin = Skin();
    const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(static_cast<int>(t_textStyleId::e_pinyin)) : nullptr;
    if (!style || !style->font)
        return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return 0;
    SIZE size = {0, 0};
    {
        t_paintCtx context(dc, false, nullptr, false);
        context.MeasureText(L"国", 1, style->font, &size, DT_SINGLELINE, 0);
        context.End();
    }
    DeleteDC(dc);
    return std::max<int>(0, size.cy);
}

bool t_wndCompMobile::BuildPlainBar(const t_imageSet9& parts, t_caps& caps, int& naturalHeight)
{
    const t_image* cell = parts.cells;
    const int width = ClampToInt(0LL + cell[0].partWidth + cell[1].partWidth + cell[2].partWidth);
    const int height = ClampToInt(0LL + cell[0].partHeight + cell[3].partHeight + cell[6].partHeight);
    HBITMAP full = DrawBar(parts, width, height, nullptr);
    if (!full)
        return false;
    const uint32_t* pixels = static_cast<const uint32_t*>(GetBitmapPixels(full));
    RECT bounds;
    // A picture without one visible pixel has no bounds to crop to: the bar stays empty.
    if (!pixels || !GetOpaqueBounds(width, height, pixels, bounds)) {
        DeleteObject(full);
        return false;
    }
    const int cropWidth = bounds.right - bounds.left, cropHeight = bounds.bottom - bounds.top;
    HBITMAP cropped = nullptr;
    if (cropWidth == width && cropHeight == height) {
        cropped = full;
    } else {
        uint32_t* bits = nullptr;
        cropped = CreateDib32(cropWidth, cropHeight, &bits);
        if (cropped) {
            // Both bottom-up: source row (height - 1 - y) holds top-down row y.
            for (int y = 0; y < cropHeight; ++y)
                memcpy(bits + static_cast<size_t>(cropHeight - 1 - y) * cropWidth,
                       pixels + static_cast<size_t>(height - 1 - (bounds.top + y)) * width + bounds.left,
                       static_cast<size_t>(cropWidth) * 4);
        }
        DeleteObject(full);
        if (!cropped)
            return false;
    }
    m_bar = cropped;
    m_barWidth = cropWidth;
    m_barHeight = cropHeight;
    naturalHeight = cropHeight;

    // The caps as edges inside the cropped picture; crossing edges are swapped.
    int leftEdge = std::clamp(cell[0].partWidth - static_cast<int>(bounds.left), 0, cropWidth);
    int rightEdge = std::clamp(cropWidth - (cell[2].partWidth - static_cast<int>(width - bounds.right)), 0, cropWidth);
    if (leftEdge > rightEdge)
        std::swap(leftEdge, rightEdge);
    int topEdge = std::clamp(cell[0].partHeight - static_cast<int>(bounds.top), 0, cropHeight);
    int bottomEdge =
        std::clamp(cropHeight - (cell[6].partHeight - static_cast<int>(height - bounds.bottom)), 0, cropHeight);
    if (topEdge > bottomEdge)
        std::swap(topEdge, bottomEdge);
    caps = t_caps{leftEdge, cropWidth - rightEdge, topEdge, cropHeight - bottomEdge};
    m_topMargin = std::max(0, m_topMargin - static_cast<int>(bounds.top));
    m_bottomMargin = std::max(0, m_bottomMargin - static_cast<int>(height - bounds.bottom));
    return true;
}

bool t_wndCompMobile::BuildButtonBar(const t_imageSet9& parts, t_caps& caps, int fontCell)
{
    t_uiSkinData* skin = Skin();
    t_skinButtonParts* buttons = skin ? skin->ButtonParts() : nullptr;
    if (!buttons)
        return false;
    const t_image* cell = parts.cells;
    t_layoutGrid grid(3, 3);
    grid.SetColumnInfo(0, 0, cell[0].partWidth, 0, 0.0f);
    grid.SetColumnInfo(1, 0, 0, 0, 1.0f);
    grid.SetColumnInfo(2, 0, cell[2].partWidth, 0, 0.0f);
    grid.SetRowInfo(0, 0, cell[0].partHeight, 0, 0.0f);
    grid.SetRowInfo(1, 0, 0, 0, 1.0f);
    grid.SetRowInfo(2, 0, cell[6].partHeight, 0, 0.0f);

    // The text block: two rows of one font cell each, in the centre.
    if (auto text = MakeOwned<t_layoutGrid>(2, 1)) {
        text->AddChildAt(MakeOwned<t_layoutFixedImage>(nullptr, 0, fontCell), 0, 0);
        text->AddChildAt(MakeOwned<t_layoutFixedImage>(nullptr, 0, fontCell), 1, 0);
        grid.AddChildAt(std::move(text), 1, 1);
    }

    // The outer cells hold the buttons their records place there; a record for the centre
    // (the text) or for the whole bar has no cell here and is left out.
    t_layoutAligned* cells[9] = {};
    auto place = [&](t_btnSkinRec* record) {
        if (!record || !record->display || record->layerCount <= 0 || !record->layers[0].HasState(e_btnNormal))
            return;
        const int target = record->align.extra1;
        if (target < 1 || target > 9 || target == 5)
            return;
        const int row = (target - 1) / 3, column = (target - 1) % 3;
        t_layoutAligned*& node = cells[target - 1];
        if (!node) {
            auto made = MakeOwned<t_layoutAligned>();
            if (!made || !grid.AddChildAt(std::move(made), row, column))
                return;
            node = static_cast<t_layoutAligned*>(grid.GetChildAt(row, column));
        }
        node->AddChild(MakeOwned<t_layoutFixedImage>(&record->layers[0].states[e_btnNormal]), record->align);
    };
    for (int i = 0; i < c_customButtonLimit; ++i) {
        t_btnSkinRec* record = buttons->FindButton(c_skinStatusWindow, t_skinItemType::e_custom, i);
        if (!record)
            break;
        place(record);
    }
    for (int i = 0; i < c_skinFixedButtonCount; ++i)
        place(buttons->FindButton(c_skinStatusWindow, t_skinItemType::e_fixed, i));
    bool any = false;
    for (t_layoutAligned* node : cells)
        any = any || node;
    if (!any)
        return false;

    grid.SetRect(0, 0, 0, 0);
    grid.Measure(nullptr);
    int rowExtent[3] = {};
    for (int i = 0; i < 9; ++i) {
        if (cells[i])
            rowExtent[i / 3] = std::max(rowExtent[i / 3], cells[i]->Height());
    }
    const int height = grid.Height();
    const t_mobileScaleInput input = {height,       m_topMargin, m_bottomMargin,       rowExtent[0],
                                      rowExtent[2], fontCell,    m_metrics.screenWidth};
    m_scaleInput = input;
    m_scale = ComputeScale(input);
    // Wide enough to cover the screen once scaled.
    const long long wanted = static_cast<long long>(m_metrics.screenWidth / m_scale.factor) + 1;
    grid.minWidth = std::max(grid.Width(), static_cast<int>(std::min<long long>(wanted, c_maxBarSide)));
    grid.SetRect(0, 0, 0, 0);
    grid.Measure(nullptr);
    grid.Layout(nullptr);
    m_bar = DrawBar(parts, grid.Width(), grid.Height(), &grid);
    if (!m_bar)
        return false;
    m_barWidth = grid.Width();
    m_barHeight = grid.Height();
    caps = t_caps{cell[0].partWidth, cell[2].partWidth, cell[0].partHeight, cell[6].partHeight};
    return true;
}

void t_wndCompMobile::StretchToScreen(const t_caps& caps, int middleMode)
{
    const int screen = m_metrics.screenWidth;
    if (!m_bar || m_barWidth >= screen || screen > c_maxBarSide)
        return;
    t_memDC dib;
    if (!t_memDC::Create(dib, nullptr, screen, m_barHeight))
        return;
    const int left = std::min(caps.left, m_barWidth), right = std::min(caps.right, m_barWidth - left);
    {
        t_paintCtx context(dib.dc, true, &dib, false);
        t_image part = PartOf(m_bar, 0, 0, left, m_barHeight, t_image::e_natural, t_image::e_natural);
        if (left > 0)
            part.Draw(context, 0, 0, left, m_barHeight, 255);
        const int middle = m_barWidth - left - right, target = screen - left - right;
        if (middle > 0 && target > 0) {
            part = PartOf(m_bar, left, 0, middle, m_barHeight, BarMode(middleMode), t_image::e_stretch);
            part.Draw(context, left, 0, target, m_barHeight, 255);
        }
        if (right > 0) {
            part = PartOf(m_bar, m_barWidth - right, 0, right, m_barHeight, t_image::e_natural, t_image::e_natural);
            part.Draw(context, screen - right, 0, right, m_barHeight, 255);
        }
        context.End();
    }
    GdiFlush();
    HBITMAP wide = dib.Detach();
    if (!wide)
        return;
    DeleteObject(m_bar);
    m_bar = wide;
    m_barWidth = screen;
}

void t_wndCompMobile::Rebuild()
{
    PerfScope scope("Rebuild_CompMobile");
    ReleaseFonts();
    ReleaseBar();
    m_scale = t_mobileScale{1.0, 0, 0, 0};
    m_scaleInput = t_mobileScaleInput{};
    m_hasButtons = false;
    MakeLogFont(m_logFont1, m_metrics.fontSize1, FW_NORMAL);
    MakeLogFont(m_logFont2, m_metrics.fontSize2, FW_BOLD);
    t_font::Create(m_logFont1, m_font1, false);
    t_font::Create(m_logFont2, m_font2, false);

    t_uiSkinData* skin = Skin();
    m_topMargin = m_bottomMargin = 0;
    if (!skin)
        return;
    t_alignInfo align;
    if (skin->GetAlign(static_cast<int>(t_skinAlignId::e_h1Pinyin), align))
        m_topMargin = align.topMargin;
    if (skin->GetAlign(static_cast<int>(t_skinAlignId::e_h1Zhongwen), align))
        m_bottomMargin = align.bottomMargin;
    const t_imageSet9* parts = skin->GetArea(static_cast<int>(t_skinArea::e_h1));
    if (!parts)
        return;

    const int fontCell = PinyinFontCell();
    t_caps caps = {};
    if (BuildButtonBar(*parts, caps, fontCell)) {
        m_hasButtons = true;
    } else {
        int naturalHeight = 0;
        if (!BuildPlainBar(*parts, caps, naturalHeight))
            return;
        m_scaleInput =
            t_mobileScaleInput{naturalHeight, m_topMargin, m_bottomMargin, 0, 0, fontCell, m_metrics.screenWidth};
        m_scale = ComputeScale(m_scaleInput);
    }
    // The margins as the content was centred in them.
    m_topMargin = m_scale.topMargin;
    m_bottomMargin = m_scale.bottomMargin;

    // Scaled; no side past the limit.
    double k = m_scale.factor;
    const int longest = std::max(m_barWidth, m_barHeight);
    if (longest * k > c_maxBarSide)
        k = static_cast<double>(c_maxBarSide) / longest;
    const int width = std::max(1, static_cast<int>(std::trunc(m_barWidth * k)));
    const int height = std::max(1, static_cast<int>(std::trunc(m_barHeight * k)));
    if (width != m_barWidth || height != m_barHeight) {
        HBITMAP scaled = ResizeBitmap(m_bar, c_noColorKey, width, height, false, true);
        if (!scaled) {
            ReleaseBar();
            return;
        }
        m_bar = scaled;
        m_barWidth = width;
        m_barHeight = height;
    }
    caps = t_caps{ScaleRounded(caps.left, k), ScaleRounded(caps.right, k), ScaleRounded(caps.top, k),
                  ScaleRounded(caps.bottom, k)};
    m_topMargin = ScaleRounded(m_topMargin, k);
    m_bottomMargin = ScaleRounded(m_bottomMargin, k);
    StretchToScreen(caps, parts->cells[t_imageSet9::e_top].modeH);
}

int t_wndCompMobile::Measure(HDC)
{
    const t_mobileMetrics& m = m_metrics;
    m_x1 = m_x2 = 20;
    const long long above = 0LL + m.screenHeight - m.keyboardHeight - m_barHeight;
    const long long inside = (0LL + m_barHeight + m_topMargin - m_bottomMargin - m.fontSize1 - m.fontSize2) / 2;
    m_y1 = ClampToInt(std::max(0LL, above + inside));
    m_y2 = ClampToInt(0LL + m_y1 + m.fontSize2);
    return 0;
}

void t_wndCompMobile::Paint_Layout(t_paintCtx& context)
{
    PerfScope scope("Paint_CompMobile");
    const t_mobileMetrics& m = m_metrics;
    const int above = m.screenHeight - m.keyboardHeight;
    const int w = std::min(m_barWidth, m.screenWidth);
    const int h = std::max(0, std::min(m_barHeight, above));
    if (m_bar && w > 0 && h > 0) {
        context.FillRect(0, above - h, w, h, c_barFill);
        // Wider than the screen: its right part; taller: its bottom part.
        const int sourceX = m_barWidth > m.screenWidth ? m_barWidth - m.screenWidth : 0;
        t_image part = PartOf(m_bar, sourceX, m_barHeight - h, w, h, t_image::e_natural, t_image::e_natural);
        part.Draw(context, 0, above - h, w, h, 255);
    }

    t_uiSkinData* skin = Skin();
    auto colorOf = [skin](t_textStyleId id) -> const uint32_t* {
        const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(static_cast<int>(id)) : nullptr;
        return style ? style->color : nullptr;
    };
    const RECT line1 = {m_x1, m_y1, m.screenWidth, m.screenHeight};
    context.DrawText(c_sampleComposition, -1, &line1, m_font2, colorOf(t_textStyleId::e_pinyin), nullptr, c_lineFormat,
                     255);
    RECT line2 = {m_x2, m_y2, m.screenWidth, m.screenHeight};
    context.DrawText(c_sampleFirst, -1, &line2, m_font1, colorOf(t_textStyleId::e_candFirst), nullptr, c_lineFormat,
                     255);
    SIZE first = {0, 0};
    if (m_font1 && context.MeasureText(c_sampleFirst, -1, m_font1, &first, DT_SINGLELINE, 0))
        line2.left = ClampToInt(0LL + line2.left + first.cx);
    context.DrawText(c_sampleOthers, -1, &line2, m_font1, colorOf(t_textStyleId::e_cand), nullptr, c_lineFormat, 255);

    const int limit = HeightLimit(m.screenHeight);
    if (limit < h) {
        const RECT band = {0, 0, w, above - limit};
        context.FillRect(band.left, band.top, band.right - band.left, band.bottom - band.top, c_warningFill);
        context.DrawText(c_heightWarning, -1, &band, m_font1, &c_warningColor, nullptr, c_warningFormat, 255);
    }
}
