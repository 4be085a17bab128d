// The two strips above the preview: the preview selector (four live thumbnails of the
// preview host's previews, a click chooses the one shown) and the row of view-mode
// buttons (a radio group). Both talk to the main frame only by posting its private
// messages: the selector posts the chosen preview, the buttons the chosen view mode.
#pragma once

#include <windows.h>

#include <memory>

#include "editor/framework/window.h"
#include "foundation/core/str.h"
#include "toolkit/ownerdraw/owner_draw_button_group.h"

class PreviewConfigable;
class t_wndOwnerDrawHoverButtonItem4;

// One thumbnail: a title band over a picture of its preview, scaled to fit, in a frame.
class t_previewThumb {
public:
    // Natural size: a title band over the picture area.
    static const int c_width = 130;
    static const int c_height = 170;
    static const int c_titleHeight = 30;
    static const int c_pictureHeight = c_height - c_titleHeight;
    // A source larger than this (in pixels) is not rendered.
    static const int c_maxSourcePixels = 4096 * 4096;

    explicit t_previewThumb(const wchar_t* title);

    const wchar_t* Title() const { return m_title.c_str(); }
    // The preview that renders the picture (not owned; null for none).
    void SetSource(PreviewConfigable* source) { m_source = source; }
    PreviewConfigable* Source() const { return m_source; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    void SetScale(float scale) { m_scale = scale; }
    float Scale() const { return m_scale; }
    // The drawn width: the natural width times the scale, truncated.
    int Width() const;

    // Title, the source's picture, the frame and, when disabled, the grey veil, with the
    // thumbnail's top-left corner at (x, y).
    void Paint(HDC dc, int x, int y, HFONT titleFont) const;
    // Where a source picture of width x height goes in a thumbnail of the given width at
    // (x, y): scaled uniformly to fit inside the frame and centred in the picture area.
    // Empty for an empty source.
    static RECT PicturePlace(int x, int y, int width, int sourceWidth, int sourceHeight);

private:
    void PaintSource(HDC dc, int x, int y, int width) const;

    t_str m_title;
    PreviewConfigable* m_source;
    bool m_enabled;
    float m_scale;
};

// Four picture buttons that switch the preview's view mode (normal, full screen, colour
// cycle, long sample); the two that make no sense for a phone preview hide while one is
// chosen.
class ExtraBtnPanel : public Frame {
public:
    static const int c_buttonCount = 4;
    // Control ids of the buttons, in view-mode order.
    static const int c_firstButtonId = 100;
    // Picture resources (strips of four equal frames), in view-mode order.
    static const int c_firstPicture = 2000;

    ExtraBtnPanel();
    ~ExtraBtnPanel() override;

    // The four buttons side by side at the size of the first one's picture frame, the
    // first one selected. False when a button cannot be made.
    bool CreateButtons();
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Phone previews (2 and 3) hide buttons 2 and 3 and fall back from modes 2 and 3 to
    // mode 0, which is posted to the parent; desktop previews show them again.
    void OnPreviewChanged(int preview);

    int Mode() const { return m_mode; }
    t_wndOwnerDrawHoverButtonItem4* Button(int index) const;
    HWND ButtonWindow(int index) const;

private:
    void SelectMode(int mode);

    std::unique_ptr<t_wndOwnerDrawHoverButtonItem4> m_buttons[c_buttonCount];
    t_ownerDrawButtonGroup m_group;
    int m_mode;
};

// Four thumbnails of the preview host's previews; pressing and releasing on the same
// enabled one posts its index to the parent. The phone thumbnails are enabled only while
// the combined horizontal window page is shown.
class ExtraViewPanel : public Frame {
public:
    static const int c_itemCount = 4;
    // The page whose previews include the phones.
    static const int c_phonePage = 2;
    static const int c_itemTop = 2;

    ExtraViewPanel();
    ~ExtraViewPanel() override;

    // The four thumbnails with their titles; the phone ones disabled until the page allows
    // them.
    void CreateItems();
    // Thumbnail index 0..3 takes its preview (other indices are ignored).
    void SetSource(int index, PreviewConfigable* source);
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc) override;

    // The thumbnails' rects and scale for a client width: four equal cells, shrunk below
    // the natural width, else spread with equal gaps.
    void Layout(int clientWidth);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    // Phone thumbnails follow the page mode; leaving their page posts preview 0 to the parent.
    void UpdateEnabled();

    t_previewThumb* Item(int index) const;
    RECT ItemRect(int index) const;
    int PageMode() const { return m_pageMode; }
    int ViewMode() const { return m_viewMode; }
    int Pressed() const { return m_pressed; }
    // The first enabled thumbnail holding the point; -1 for none.
    int ItemAt(int x, int y) const;

private:
    struct t_viewItem {
        std::unique_ptr<t_previewThumb> item;
        int left, top, right, bottom;
    };
    void ApplyEnabled(bool notify);

    t_viewItem m_items[c_itemCount];
    int m_pageMode;
    int m_viewMode;
    int m_pressed;
};
