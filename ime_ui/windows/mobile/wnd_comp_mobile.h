// The composition bar of the phone preview: the skin's composition picture (with the
// status-bar buttons around the text when the skin has some) scaled so that its text block
// fits a phone's composition line, stretched to the screen width and drawn just above the
// keyboard with two sample lines of text. A bar too tall for a phone gets a red warning band
// above its height limit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ime_ui/windows/base/wnd_ui_skin_base.h"

struct t_font;
struct t_imageSet9;

// The phone the mobile preview shows: its screen, its keyboard and the two text sizes.
struct t_mobileMetrics {
    int screenWidth;
    int screenHeight;
    int keyboardHeight;
    int percent;  // always 100
    int fontSize1;
    int fontSize2;

    // The two phones of the preview: 240 x 320 and 480 x 800.
    static t_mobileMetrics Small() { return t_mobileMetrics{240, 320, 155, 100, 15, 11}; }
    static t_mobileMetrics Large() { return t_mobileMetrics{480, 800, 325, 100, 30, 22}; }
};

// What the scale of the bar is worked out from. The text block is two rows of fontCell
// pixels; topRowExtent and bottomRowExtent are the heights of the tallest buttons in the
// button grid's top and bottom rows (0 for a row without buttons, and for a bar without
// buttons), the content that sits above and below the text block.
struct t_mobileScaleInput {
    int barHeight;  // the bar picture's natural height
    int topMargin;  // the bar's margins, in natural pixels
    int bottomMargin;
    int topRowExtent;     // u
    int bottomRowExtent;  // v
    int fontCell;         // f: cell height of the pinyin text style's font
    int screenWidth;
};

struct t_mobileScale {
    double factor;      // k: natural pixels to phone pixels
    int contentHeight;  // H: the height that becomes trunc(screen width x 0.15625)
    int topMargin;      // the margins after the content was centred, in natural pixels
    int bottomMargin;
};

class t_wndCompMobile : public t_wndUiSkinBase {
public:
    // The composition line's share of the screen width.
    static constexpr double c_lineShare = 0.15625;
    // Height limits of the bar on small and large phones, and the screen height between.
    static const int c_smallLimit = 95;
    static const int c_largeLimit = 175;
    static const int c_largeScreen = 400;
    // The sample texts and the warning.
    static const wchar_t* const c_sampleComposition;
    static const wchar_t* const c_sampleFirst;
    static const wchar_t* const c_sampleOthers;
    static const wchar_t* const c_heightWarning;

    t_wndCompMobile();
    ~t_wndCompMobile() override;

    void SetMetrics(const t_mobileMetrics& metrics) { m_metrics = metrics; }
    const t_mobileMetrics& Metrics() const { return m_metrics; }

    // Fonts, margins and the bar picture, from the runtime skin of the context.
    void Rebuild() override;
    // Places the two text lines; the window's size is the preview's.
    int Measure(HDC dc) override;
    // The bar, the texts and the height warning.
    void Paint_Layout(t_paintCtx& context) override;
    // The preview owns the window's life: nothing to undo here.
    void Destroy() override {}
    void OnDelayDraw() override {}

    // The scale that brings the content height of a bar to the composition line's height.
    static t_mobileScale ComputeScale(const t_mobileScaleInput& input);
    // The bar height above which a phone of this screen height shows the warning.
    static int HeightLimit(int screenHeight) { return screenHeight > c_largeScreen ? c_largeLimit : c_smallLimit; }

    // The bar picture (owned; null for an empty bar) and its size.
    HBITMAP BarBitmap() const { return m_bar; }
    int BarWidth() const { return m_barWidth; }
    int BarHeight() const { return m_barHeight; }
    int TopMargin() const { return m_topMargin; }
    int BottomMargin() const { return m_bottomMargin; }
    POINT Line1() const { return POINT{m_x1, m_y1}; }
    POINT Line2() const { return POINT{m_x2, m_y2}; }
    // The scale of the last rebuild (1 when none was worked out).
    const t_mobileScale& LastScale() const { return m_scale; }
    // What it was worked out from.
    const t_mobileScaleInput& LastScaleInput() const { return m_scaleInput; }
    // Whether the last rebuild placed the skin's status-bar buttons on the bar.
    bool HasButtons() const { return m_hasButtons; }

private:
    // The caps the stretch to the screen width keeps as they are, in bar pixels.
    struct t_caps {
        int left, right, top, bottom;
    };

    void ReleaseFonts();
    void ReleaseBar();
    // The bar from the nine-part picture alone, cropped to its opaque pixels; false for an
    // empty picture.
    bool BuildPlainBar(const t_imageSet9& parts, t_caps& caps, int& naturalHeight);
    // The bar as a grid of the shown status buttons around the text block.
    bool BuildButtonBar(const t_imageSet9& parts, t_caps& caps, int fontCell);
    // The scaled bar widened to the screen: caps kept, the middle stretched.
    void StretchToScreen(const t_caps& caps, int middleMode);
    // The cell height of the pinyin text style's font (0 without one).
    int PinyinFontCell() const;

    t_mobileMetrics m_metrics;
    int m_x1, m_y1, m_x2, m_y2;
    int m_topMargin, m_bottomMargin;
    t_font* m_font1;
    t_font* m_font2;
    LOGFONTW m_logFont1;
    LOGFONTW m_logFont2;
    HBITMAP m_bar;
    int m_barWidth, m_barHeight;
    t_mobileScale m_scale;
    t_mobileScaleInput m_scaleInput;
    bool m_hasButtons;
};
