// The full-screen preview: a borderless window over the whole monitor of the main frame
// that shows the selected preview centred on the preview panel's background colour, with
// a close button at its top right. Esc or the button hide it and hand the preview panel
// its earlier view mode back through the main frame.
#pragma once

#include <windows.h>

#include <memory>

#include "editor/framework/window.h"

class PreviewConfigable;
class t_wndOwnerDrawHoverButton;

// The window that takes key messages while the full-screen preview shows (the message
// loop asks); none until the full-screen preview exists.
void SetFullScreenPreviewWindow(HWND window);
HWND GetFullScreenPreviewWindow();

class PreviewFullScreen : public Frame {
public:
    // The close button's control id and picture (a strip of normal, hover and pressed).
    static constexpr int c_closeButtonId = 100;
    static constexpr int c_closePicture = 2009;
    // The full-screen view mode, which is never a mode to go back to.
    static constexpr int c_fullScreenMode = 1;

    PreviewFullScreen();
    ~PreviewFullScreen() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Through a back buffer: Render, then one copy.
    void OnPaint(HDC dc) override;

    // The preview to show (not owned; null shows only the background).
    void SetPreview(PreviewConfigable* preview) { m_preview = preview; }
    PreviewConfigable* GetPreview() const { return m_preview; }
    // Covers the monitor and shows the window on a white background; a previous mode
    // other than full screen becomes the mode to go back to.
    void Show(int previousMode);
    void SetBackground(COLORREF colour) { m_background = colour; }
    COLORREF Background() const { return m_background; }
    int ReturnMode() const { return m_returnMode; }
    // Hides the window and posts the mode to go back to to the parent (the main frame).
    void Close();
    // Moves the window over the monitor nearest its parent, the close button to its top
    // right corner.
    void FitToMonitor();

    // The background over width x height and the preview centred on it (from the left
    // edge when wider; a taller one starts above the top).
    void Render(HDC dc, int width, int height);
    // Where the preview's top-left corner goes in a client area of this size.
    static POINT PreviewOrigin(int clientWidth, int clientHeight, int previewWidth, int previewHeight);

    HWND CloseButton() const;

private:
    void OnCreate(HWND window);

    PreviewConfigable* m_preview;
    std::unique_ptr<t_wndOwnerDrawHoverButton> m_closeButton;
    int m_returnMode;
    COLORREF m_background;
};
