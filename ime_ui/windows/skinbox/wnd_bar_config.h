// The bar configuration: a popup above the status bar of a default skin where the user
// chooses which built-in buttons the bar shows and the colour of their icons. Every change
// goes to the host at once; confirm writes the result into the UI settings and tells the
// status bar, which applies it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image.h"
#include "ime_ui/windows/base/wnd_ui_skin_base.h"
#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_button.h"

class t_wndTextItem;
struct t_font;

// A picture button that posts WM_COMMAND (its id, itself) to its top's drawing window when
// clicked. Hit anywhere in its rectangle while visible.
class t_wndImageButton : public t_wndButton {
public:
    explicit t_wndImageButton(int commandId) { id = commandId; }

    void OnClick() override;
    bool HitTest(int x, int y, int mode) override;

    // The pictures of set (a mode) cut from a strip of four frames: frame 0 normal, 1 hover,
    // 2 down. The cut records show the strip's bitmap, which stays the caller's.
    void SetStrip(int set, const t_image& strip);
    // One picture in every state of set.
    void SetPicture(int set, const t_image& picture);
};

// A check box: the unchecked pictures in mode 0, the checked ones in mode 1.
class t_wndCheckButton : public t_wndImageButton {
public:
    explicit t_wndCheckButton(int commandId) : t_wndImageButton(commandId) {}

    bool IsChecked() const { return mode == 1; }
    void SetChecked(bool checked) { SetMode(checked ? 1 : 0); }

    // A disabled box keeps its state when its row toggles.
    bool enabled = true;
};

// A colour swatch: its rectangle in the frame colour, inside it the colour. A left button
// release inside it while visible posts WM_COMMAND (its id, itself).
class t_wndColorButton : public t_wndBase {
public:
    static constexpr int c_size = 12;
    static constexpr COLORREF c_frameColor = 0xC5C9C5;

    t_wndColorButton(int commandId, COLORREF swatchColor);

    void Paint_Layout(t_paintCtx& context) override;
    bool OnLButtonUp(UINT keys, int x, int y) override;
    int Measure(HDC dc) override;
    bool HitTest(int x, int y, int mode) override;

    COLORREF color;
    COLORREF frameColor;
};

// The preview strip: the status background with the masked kinds' icons in bar order,
// scaled down to the element's width when it is narrower.
class t_wndBarConfigPreview : public t_wndBase {
public:
    static constexpr int c_stripHeight = 22;
    static constexpr int c_step = 20;

    t_wndBarConfigPreview(HBITMAP* bitmaps, const t_image* statusBackground);

    // Width 0 (the layout stretches it), height 22; keeps the height only.
    int Measure(HDC dc) override;
    void Paint_Layout(t_paintCtx& context) override;

    // The width of the strip for a mask: two pixels of border and 20 per icon shown.
    static int NeededWidth(uint32_t mask);
    // The strip's drawn size in an element of width: the needed size, or narrower ones
    // scaled in proportion (a width of 0 draws nothing).
    static SIZE DrawnSize(int needed, int width);
    // Renders the strip for the mask into a new 32-bit DIB of NeededWidth x 22 (premultiplied
    // alpha); null when it cannot be made. The caller deletes it.
    HBITMAP RenderStrip(HDC reference) const;

    HBITMAP* kindBitmaps;       // the window's, not owned
    const t_image* background;  // not owned
    uint32_t mask;
};

class t_wndBarConfig : public t_wndUiSkinBase {
public:
    static constexpr int c_width = 216;
    static constexpr int c_rowCount = 11;    // configurable kinds, the logo last
    static constexpr int c_toggleRows = 10;  // rows with a picture and a check box
    static constexpr int c_swatchCount = 9;
    static constexpr int c_kindCount = 16;
    static constexpr uint32_t c_defaultColor = 0xD29451;
    static constexpr uint32_t c_defaultMask = 0x9467;
    static constexpr uint32_t c_logoBit = 1u << 15;

    // Command ids of the children.
    enum t_command : int {
        e_confirm = 1,
        e_close = 2,
        e_checkFirst = 100,
        e_pictureFirst = 200,
        e_swatchFirst = 300,
        e_default = 1001,
    };
    // The window's pictures, in load order.
    enum t_picture : int {
        e_ok = 0,
        e_defaultPicture = 1,
        e_closePicture = 2,
        e_checked = 3,
        e_unchecked = 4,
        e_pictureCount = 5,
    };
    static const wchar_t* const c_pictureNames[e_pictureCount];

    struct t_row {
        int kind;
        int pictureMode;  // the image set of the kind's record shown
    };
    static const t_row c_rows[c_rowCount];
    static const int c_previewKinds[c_rowCount];
    static const COLORREF c_swatches[c_swatchCount];

    t_wndBarConfig();
    ~t_wndBarConfig() override;

    // A layered popup of the toolkit's class owned by ownerHwnd with every child, then the
    // first rebuild. False when the window cannot be made.
    bool Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                t_wndBase* parent) override;
    void Destroy() override;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Rebuild() override;
    int Measure(HDC dc) override;
    void Paint_Layout(t_paintCtx& context) override;

    // Where the pictures come from (null: the resource library); before Create.
    void SetResourceModule(HMODULE module) { resourceModule = module; }
    // How the status bar opens it: the values at this moment are what confirm compares with.
    void ShowConfig();

    void InitImages();
    void SetMask(uint32_t newMask);
    void Recolour(uint32_t from, uint32_t to);
    void ToggleRow(int row);
    void Confirm();
    void Cancel();
    void ResetToDefault();
    // Lays out and measures with the window's DC; the new size.
    SIZE MeasureNow();

    t_image pictures[e_pictureCount];
    HBITMAP kindBitmaps[c_kindCount];  // owned DIB sections; null for kinds without a record
    t_image statusBackground;          // a copy of the skin's record
    t_font* captionFont;               // owned
    COLORREF captionColor;
    COLORREF separatorColor;
    t_wndBarConfigPreview* preview;
    t_wndImageButton* pictureButtons[c_toggleRows];
    t_wndCheckButton* checkBoxes[c_toggleRows];
    t_wndColorButton* swatches[c_swatchCount];
    t_wndImageButton* confirmButton;
    t_wndImageButton* defaultButton;
    t_wndImageButton* closeButton;
    t_wndTextItem* captions[3];
    int separatorY[2];  // window rows of the two separator lines
    uint32_t mask;
    uint32_t maskAtShow;
    uint32_t colour;
    uint32_t colourAtShow;
    uint32_t bitmapColour;
    HMODULE resourceModule;

private:
    void CreateChildren();
    void FreeKindBitmaps();
    // The child's node at (x, y) in the window.
    void Place(t_wndBase* child, int x, int y);
    // The kind's row; -1 for kinds without one.
    static int RowOf(int kind);
};
