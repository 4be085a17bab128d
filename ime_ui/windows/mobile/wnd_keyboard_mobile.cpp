#include "ime_ui/windows/mobile/wnd_keyboard_mobile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/core/perf.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/resize.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/mask_icons.h"

const wchar_t* const t_wndKeyboardMobile::c_syllables[c_syllableCount] = {L"Shou", L"Pin", L"Qin", L"Pi"};

namespace {

const UINT c_centredFormat = 0x925;  // single line, centred both ways, no prefix
const UINT c_lettersFormat = 0x921;  // single line, centred across, from the top, no prefix
// Pictures larger than this are no key pictures: left out.
const int c_maxPictureSide = 1024;

// Cell heights of the small, digit and main fonts on tall and short keyboards.
struct t_fontHeights {
    int small, digit, main;
};
const t_fontHeights c_tallFonts = {20, 26, 30};
const t_fontHeights c_shortFonts = {10, 14, 16};

t_font* MakeFont(int height)
{
    LOGFONTW logFont;
    memset(&logFont, 0, sizeof(logFont));
    logFont.lfHeight = height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_NATURAL_QUALITY;
    wcscpy_s(logFont.lfFaceName, L"SimSun");
    t_font* font = nullptr;
    t_font::Create(logFont, font, false);
    return font;
}

RECT RectOf(const t_keyRect& key)
{
    return RECT{key.x, key.y, ClampToInt(0LL + key.x + key.width), ClampToInt(0LL + key.y + key.height)};
}

}  // namespace

// ---- key items

void t_wndKeyboardItemMobile::Paint(t_paintCtx& context)
{
    if (background.IsEmpty() || background.ref.kind != t_bitmapRef::e_handle || !background.ref.handle)
        return;
    const int margin = c_backgroundMargin;
    t_imageSet9 set;
    t_imageSet9::SetFromBitmap(set, static_cast<HBITMAP>(background.ref.handle),
                               t_insets{margin, margin, margin, margin}, 0, 0, c_noColorKey, c_noColorKey,
                               t_image::e_stretch, t_image::e_stretch);
    t_imageSet9::Draw(context, set, rect.x, rect.y, rect.width, rect.height);
}

void t_wndKeyboardTextItemMobile::Paint(t_paintCtx& context)
{
    t_wndKeyboardItemMobile::Paint(context);
    const RECT r = RectOf(rect);
    context.DrawText(label.c_str(), -1, &r, font, &color, nullptr, c_centredFormat, 255);
}

void t_wndKeyboardText2ItemMobile::Paint(t_paintCtx& context)
{
    t_wndKeyboardItemMobile::Paint(context);
    const RECT r = RectOf(rect);
    const int middle = ClampToInt(0LL + r.top + rect.height / 2);
    const RECT lower = {r.left, middle, r.right, r.bottom};
    const RECT upper = {r.left, r.top, r.right, middle};
    context.DrawText(label.c_str(), -1, &lower, font, &color, nullptr, c_lettersFormat, 255);
    context.DrawText(label2.c_str(), -1, &upper, font, &color, nullptr, c_centredFormat, c_digitAlpha);
}

void t_wndKeyboardPicItemMobile::Paint(t_paintCtx& context)
{
    t_wndKeyboardItemMobile::Paint(context);
    if (icon.IsEmpty())
        return;
    const int w = icon.partWidth, h = icon.partHeight;
    icon.Draw(context, rect.x + (rect.width - w) / 2, rect.y + (rect.height - h) / 2, w, h, 255);
}

// ---- geometry

t_keyboardGeometry t_keyboardGeometry::Of(const t_mobileMetrics& metrics)
{
    t_keyboardGeometry g;
    const int width = std::max(0, metrics.screenWidth), keyboard = std::max(0, metrics.keyboardHeight);
    g.top = ClampToInt(0LL + metrics.screenHeight - keyboard);
    g.centreWidth = static_cast<int>(std::trunc(width / 4.4));
    g.sideWidth = (width - 3 * g.centreWidth) / 2;
    g.rowHeight = keyboard / 4;
    g.shortHeight = 3 * g.rowHeight / 4;
    return g;
}

int t_keyboardGeometry::ColumnX(int column) const
{
    if (column <= 0)
        return 0;
    return sideWidth + (std::min(column, 4) - 1) * centreWidth;
}

int t_keyboardGeometry::ColumnWidth(int column) const { return column <= 0 || column >= 4 ? sideWidth : centreWidth; }

// ---- keyboard

t_wndKeyboardMobile::t_wndKeyboardMobile()
    : m_metrics(t_mobileMetrics::Small()), m_keyColor(0), m_smallFont(nullptr), m_digitFont(nullptr),
      m_mainFont(nullptr), m_pictureModule(GetModuleHandleW(nullptr))
{
    SetPerPixelAlpha(true);
    m_keyBackground.Init();
    for (t_image& icon : m_icons)
        icon.Init();
    m_background.Init();
}

t_wndKeyboardMobile::~t_wndKeyboardMobile()
{
    ReleasePictures();
    ReleaseFonts();
}

const t_image& t_wndKeyboardMobile::Icon(int picture) const
{
    const int index = std::clamp(picture - c_keyPictureDelete, 0, 2);
    return m_icons[index];
}

void t_wndKeyboardMobile::ReleasePictures()
{
    m_keyBackground.Release();
    for (t_image& icon : m_icons)
        icon.Release();
    m_background.Release();
}

void t_wndKeyboardMobile::ReleaseFonts()
{
    t_font::Release(m_smallFont);
    t_font::Release(m_digitFont);
    t_font::Release(m_mainFont);
    m_smallFont = m_digitFont = m_mainFont = nullptr;
}

bool t_wndKeyboardMobile::LoadPicture(int id, t_image& record, bool halve)
{
    if (!record.LoadResource(m_pictureModule, MAKEINTRESOURCEW(id)))
        return false;
    HBITMAP bitmap = static_cast<HBITMAP>(record.ref.handle);
    int width = 0, height = 0;
    uint32_t* pixels = static_cast<uint32_t*>(GetBitmapPixels(bitmap));
    if (!pixels || !QueryBitmapSize(bitmap, width, height) || width <= 0 || height <= 0 || width > c_maxPictureSide ||
        height > c_maxPictureSide) {
        record.Release();
        return false;
    }
    if (m_keyColor != c_noColorKey) {
        // Every pixel in the key colour at its own alpha.
        GdiFlush();
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::vector<uint8_t> alpha(count);
        for (size_t i = 0; i < count; ++i)
            alpha[i] = static_cast<uint8_t>(pixels[i] >> 24);
        TintMask(alpha.data(), pixels, count, m_keyColor & 0xFFFFFF);
    }
    if (halve && width >= 2 && height >= 2) {
        HBITMAP half = ResizeBitmap(bitmap, c_noColorKey, width / 2, height / 2, false, true);
        if (half) {
            // The old bitmap went with the resize.
            record.SetBitmap(half, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural,
                             false);
            record.hasAlpha = 1;
        }
    }
    return true;
}

void t_wndKeyboardMobile::BuildBackground()
{
    t_uiSkinData* skin = Skin();
    if (!skin)
        return;
    const t_imageSet9* area = nullptr;
    for (t_skinArea id : {t_skinArea::e_v2Cand, t_skinArea::e_h2Cand, t_skinArea::e_h1}) {
        area = skin->GetArea(static_cast<int>(id));
        if (area)
            break;
    }
    if (!area || area->cells[t_imageSet9::e_centre].IsEmpty())
        return;
    const int width = m_metrics.screenWidth, height = m_metrics.keyboardHeight;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return;
    t_memDC dib;
    if (!t_memDC::Create(dib, nullptr, width, height))
        return;
    {
        t_paintCtx context(dib.dc, true, &dib, false);
        t_image centre = area->cells[t_imageSet9::e_centre];
        centre.modeH = centre.modeV = t_image::e_stretch;
        centre.Draw(context, 0, 0, width, height, 255);
        context.End();
    }
    GdiFlush();
    HBITMAP bitmap = dib.Detach();
    if (!bitmap)
        return;
    m_background.SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural,
                           false);
    m_background.hasAlpha = 1;
}

void t_wndKeyboardMobile::Rebuild()
{
    PerfScope scope("Rebuild_KeyboardMobile");
    ReleasePictures();
    ReleaseFonts();

    t_uiSkinData* skin = Skin();
    const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(static_cast<int>(t_textStyleId::e_cand)) : nullptr;
    m_keyColor = style && style->color ? *style->color : 0;

    LoadPicture(c_keyPictureBackground, m_keyBackground, false);
    const bool halve = m_metrics.screenWidth < c_narrowScreen;
    for (int i = 0; i < 3; ++i)
        LoadPicture(c_keyPictureDelete + i, m_icons[i], halve);

    const t_fontHeights& heights = m_metrics.keyboardHeight >= c_tallKeyboard ? c_tallFonts : c_shortFonts;
    m_smallFont = MakeFont(heights.small);
    m_digitFont = MakeFont(heights.digit);
    m_mainFont = MakeFont(heights.main);

    BuildBackground();
}

void t_wndKeyboardMobile::MakeKeys(std::vector<std::unique_ptr<t_wndKeyboardItemMobile>>& keys) const
{
    keys.clear();
    const t_keyboardGeometry g = t_keyboardGeometry::Of(m_metrics);
    const uint32_t color = m_keyColor & 0xFFFFFF;
    const t_image& back = m_keyBackground;
    auto cell = [&g](int column, int row) {
        return t_keyRect{g.ColumnX(column), g.top + row * g.rowHeight, g.ColumnWidth(column), g.rowHeight};
    };
    auto text = [&](int column, int row, const wchar_t* label, const t_font* font) {
        keys.emplace_back(new t_wndKeyboardTextItemMobile(back, cell(column, row), label, font, color));
    };
    auto twoLine = [&](int column, int row, const wchar_t* letters, const wchar_t* digit, const t_font* font) {
        keys.emplace_back(new t_wndKeyboardText2ItemMobile(back, cell(column, row), letters, digit, font, color));
    };
    auto icon = [&](int column, int row, int picture) {
        keys.emplace_back(new t_wndKeyboardPicItemMobile(back, cell(column, row), Icon(picture)));
    };

    // The syllable column: the four syllables as a list on one panel, then the symbol key.
    keys.emplace_back(
        new t_wndKeyboardItemMobile(back, t_keyRect{0, g.top, g.sideWidth, c_syllableCount * g.shortHeight}));
    for (int i = 0; i < c_syllableCount; ++i) {
        const t_keyRect r = {0, g.top + i * g.shortHeight, g.sideWidth, g.shortHeight};
        keys.emplace_back(new t_wndKeyboardTextItemMobile(back, r, c_syllables[i], m_smallFont, color));
    }
    keys.emplace_back(new t_wndKeyboardTextItemMobile(
        back, t_keyRect{0, g.top + c_syllableCount * g.shortHeight, g.sideWidth, g.rowHeight}, L"符", m_mainFont,
        color));

    text(1, 0, L"分词", m_mainFont);
    twoLine(1, 1, L"ghi", L"4", m_digitFont);
    twoLine(1, 2, L"pqrs", L"7", m_digitFont);
    text(1, 3, L"123", m_digitFont);

    twoLine(2, 0, L"abc", L"2", m_mainFont);
    twoLine(2, 1, L"jkl", L"5", m_digitFont);
    twoLine(2, 2, L"tuv", L"8", m_digitFont);
    icon(2, 3, c_keyPictureSpace);

    twoLine(3, 0, L"def", L"3", m_mainFont);
    twoLine(3, 1, L"mno", L"6", m_digitFont);
    twoLine(3, 2, L"wxyz", L"9", m_digitFont);
    text(3, 3, L"中", m_mainFont);

    icon(4, 0, c_keyPictureDelete);
    text(4, 1, L"0", m_mainFont);
    text(4, 2, L"清空", m_mainFont);
    icon(4, 3, c_keyPictureEnter);
}

void t_wndKeyboardMobile::Paint_Layout(t_paintCtx& context)
{
    PerfScope scope("Paint_KeyboardMobile");
    const t_keyboardGeometry g = t_keyboardGeometry::Of(m_metrics);
    if (!m_background.IsEmpty())
        m_background.Draw(context, 0, g.top, m_metrics.screenWidth, m_metrics.keyboardHeight, 255);
    std::vector<std::unique_ptr<t_wndKeyboardItemMobile>> keys;
    MakeKeys(keys);
    for (auto& key : keys)
        key->Paint(context);
}
