// The nine-key keyboard of the phone preview: a background cut from the skin's candidate
// picture and the keys, whose background and icons are the program's pictures tinted with
// the skin's candidate colour. A picture only: it takes no input. The keys are short-lived
// items made for one paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/core/str.h"
#include "graphics/image/image.h"
#include "ime_ui/windows/mobile/wnd_comp_mobile.h"

struct t_font;

// Program pictures of the keyboard (PNG resources of the program).
const int c_keyPictureBackground = 2012;
const int c_keyPictureDelete = 2013;
const int c_keyPictureEnter = 2014;
const int c_keyPictureSpace = 2015;

// A key's rectangle: origin and size.
struct t_keyRect {
    int x, y, width, height;
};

// A key that draws the key background stretched over its rectangle.
class t_wndKeyboardItemMobile {
public:
    // The stretch margins of the key background.
    static const int c_backgroundMargin = 15;

    t_wndKeyboardItemMobile(const t_image& background, const t_keyRect& rect) : background(background), rect(rect) {}
    virtual ~t_wndKeyboardItemMobile() = default;
    virtual void Paint(t_paintCtx& context);

    t_image background;  // a copy of the keyboard's record; not owned
    t_keyRect rect;
};

// A key with one label centred in it.
class t_wndKeyboardTextItemMobile : public t_wndKeyboardItemMobile {
public:
    t_wndKeyboardTextItemMobile(const t_image& background, const t_keyRect& rect, const wchar_t* label,
                                const t_font* font, uint32_t color)
        : t_wndKeyboardItemMobile(background, rect), label(label), font(font), color(color)
    {}
    void Paint(t_paintCtx& context) override;

    t_str label;
    const t_font* font;  // the keyboard's
    uint32_t color;      // COLORREF
};

// A key with letters in its lower half and a faint digit in its upper half.
class t_wndKeyboardText2ItemMobile : public t_wndKeyboardTextItemMobile {
public:
    // The alpha of the digit.
    static const int c_digitAlpha = 80;

    t_wndKeyboardText2ItemMobile(const t_image& background, const t_keyRect& rect, const wchar_t* letters,
                                 const wchar_t* digit, const t_font* font, uint32_t color)
        : t_wndKeyboardTextItemMobile(background, rect, letters, font, color), label2(digit)
    {}
    void Paint(t_paintCtx& context) override;

    t_str label2;
};

// A key with an icon at its own size in its middle.
class t_wndKeyboardPicItemMobile : public t_wndKeyboardItemMobile {
public:
    t_wndKeyboardPicItemMobile(const t_image& background, const t_keyRect& rect, const t_image& icon)
        : t_wndKeyboardItemMobile(background, rect), icon(icon)
    {}
    void Paint(t_paintCtx& context) override;

    t_image icon;  // a copy of the keyboard's record; not owned
};

// Column widths, row height and top of the key grid.
struct t_keyboardGeometry {
    int top;          // T = screen height - keyboard height
    int centreWidth;  // c = trunc(W / 4.4)
    int sideWidth;    // b = (W - 3c) / 2
    int rowHeight;    // a = K / 4
    int shortHeight;  // the syllable keys: trunc(3a / 4)

    static t_keyboardGeometry Of(const t_mobileMetrics& metrics);
    // Left edge of column 0 to 4.
    int ColumnX(int column) const;
    int ColumnWidth(int column) const;
};

class t_wndKeyboardMobile : public t_wndUiSkinBase {
public:
    // The sample syllables of the syllable column.
    static const int c_syllableCount = 4;
    static const wchar_t* const c_syllables[c_syllableCount];
    // Screens narrower than this show the icons at half size.
    static const int c_narrowScreen = 300;
    // Keyboards at least this high use the large fonts.
    static const int c_tallKeyboard = 200;

    t_wndKeyboardMobile();
    ~t_wndKeyboardMobile() override;

    void SetMetrics(const t_mobileMetrics& metrics) { m_metrics = metrics; }
    const t_mobileMetrics& Metrics() const { return m_metrics; }
    // Where the program's pictures are found; the program itself unless set.
    void SetPictureModule(HMODULE module) { m_pictureModule = module; }

    // Pictures, key colour, fonts and background from the runtime skin of the context.
    void Rebuild() override;
    // The size is the preview's.
    int Measure(HDC) override { return 0; }
    // The background and the keys.
    void Paint_Layout(t_paintCtx& context) override;
    void Destroy() override {}
    void OnDelayDraw() override {}

    // The keys of one paint, in drawing order.
    void MakeKeys(std::vector<std::unique_ptr<t_wndKeyboardItemMobile>>& keys) const;

    // COLORREF of the keys and labels; -1 leaves the pictures as they are.
    uint32_t KeyColor() const { return m_keyColor; }
    const t_image& KeyBackground() const { return m_keyBackground; }
    const t_image& Icon(int picture) const;
    const t_image& Background() const { return m_background; }
    const t_font* SmallFont() const { return m_smallFont; }
    const t_font* DigitFont() const { return m_digitFont; }
    const t_font* MainFont() const { return m_mainFont; }

private:
    void ReleasePictures();
    void ReleaseFonts();
    // Loads a program picture, tints it with the key colour and, when halve, resizes it to
    // half its size. False (record empty) when it is missing.
    bool LoadPicture(int id, t_image& record, bool halve);
    void BuildBackground();

    t_mobileMetrics m_metrics;
    t_image m_keyBackground;
    t_image m_icons[3];  // 2013, 2014, 2015
    t_image m_background;
    uint32_t m_keyColor;
    t_font* m_smallFont;
    t_font* m_digitFont;
    t_font* m_mainFont;
    HMODULE m_pictureModule;
};
