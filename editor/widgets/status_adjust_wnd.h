// The status layout editor of the status-bar page: the bar picture with one movable
// picture per status button on it. The user drags a button's picture or moves it with the
// arrow keys; every move is reported to the page, which stores the position. Positions the
// page types in move the pictures without a report.
//
// StatusAdjustWnd (a child frame of the page) holds the background element, which holds
// the ten button elements; all three kinds are GraphicElement windows.
#pragma once

#include <windows.h>

#include "editor/framework/editor_messages.h"
#include "editor/framework/window.h"
#include "foundation/core/str.h"
#include "graphics/image/image_source.h"


namespace n_statusAdjust {
// Result of c_reloadBar without a background element.
const LRESULT c_noBackground = -2;
const int c_buttonCount = 10;
// No colour key (-1).
const int c_noTransparentColour = -1;
}  // namespace n_statusAdjust

// A child window that shows one picture at its own size, keyed by a transparent colour; a
// grey box without a picture. An element that is not fixed can be dragged with the mouse.
class GraphicElement : public Window {
public:
    static const wchar_t c_className[];

    explicit GraphicElement(bool fixed);
    ~GraphicElement() override;

    void OnDestroy() override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The picture's size (0 x 0 without one).
    void GetSize(int& width, int& height) override;
    // The picture at (0, 0) keyed by the transparent colour, or the grey box over the client area.
    virtual void Paint(HDC dc);

    // Registers the window class once per process.
    static bool RegisterWindowClass(HINSTANCE module);
    // A child at (x, y), 0 x 0; false when it cannot be made.
    bool Create(HWND parent, int x, int y, bool visible);

    // Frees the old picture and loads the file (0 x 0 when it cannot be loaded). With
    // resize, the element takes the picture's size (position and visibility kept); always
    // repainted. False when nothing could be loaded.
    bool SetPicture(const wchar_t* path, bool resize);
    // -1 for none; else a COLORREF that is keyed out.
    void SetTransparentColour(int colour);

    int TransparentColour() const { return m_transparentColour; }
    const wchar_t* PicturePath() const { return m_path.c_str(); }
    bool HasPicture() const { return m_picture != nullptr; }
    bool IsFixed() const { return m_fixed; }

protected:
    void FreePicture();

    t_imageSourcePtr m_picture;
    int m_pictureWidth;
    int m_pictureHeight;
    t_str m_path;
    int m_transparentColour;
    unsigned char m_fixed;
};

// One status button on the bar: dragged by the mouse, moved 1 px by the arrow keys, kept
// inside the bar and raised when it gets the focus.
class GEButton : public GraphicElement {
public:
    explicit GEButton(int index);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    int Index() const { return m_index; }
    bool IsShown() const { return m_shown != 0; }
    void SetShown(bool shown) { m_shown = shown ? 1 : 0; }
    // Moves to (x, y) in bar coordinates without resizing and without a report.
    void QuietMove(int x, int y);
    // Pushes the element back inside the bar's client area (right and bottom edges first,
    // then left and top) and reports its top-left corner.
    void ClampAndReport();

    // SetPicture without a report of the resize.
    bool SetPictureQuietly(const wchar_t* path);

private:
    void MoveByKey(UINT key);
    // The element's top-left corner in the bar's client coordinates.
    POINT Position() const;

    int m_index;
    unsigned char m_quiet;
    unsigned char m_shown;
};

// The bar picture, fixed, with the ten button elements as its children and their stacking
// order (last = topmost).
class GEStatusBarBackGround : public GraphicElement {
public:
    GEStatusBarBackGround();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Its own element at (0, 0) and the ten button elements, hidden.
    bool Create(HWND parent);
    // Out-of-range indexes are ignored.
    void SetButtonPicture(const wchar_t* path, int index);
    void ShowButton(int index, bool shown);
    // The colour of the ten buttons and of the bar itself.
    void SetTransparentColour(int colour);
    // Takes index out of the stacking order, appends it and restacks every element.
    void RaiseButton(int index);
    void MoveButton(int index, int x, int y);

    GEButton* Button(int index) const;
    // Index at position 0..9 of the stacking order (last = topmost).
    int StackAt(int position) const { return m_order[position]; }

private:
    // Brings every button to the top in the list's order, so the last one ends on top.
    void Restack();

    GEButton* m_buttons[n_statusAdjust::c_buttonCount];
    int m_order[n_statusAdjust::c_buttonCount];
};

class StatusAdjustWnd : public Frame {
public:
    StatusAdjustWnd();
    ~StatusAdjustWnd() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // A visible tab-stop child frame over the rectangle with the background inside it;
    // false when either cannot be made.
    bool Create(HWND parent, const RECT& rect);
    void ShowButton(int index, bool shown);
    void SetTransparentColour(int colour);

    GEStatusBarBackGround* Background() const { return m_background; }

private:
    // The bar picture from the status part's `pic`; c_noBackground without a background.
    LRESULT ReloadBar();

    GEStatusBarBackGround* m_background;
};
