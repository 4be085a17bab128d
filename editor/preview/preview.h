// The live preview beside the pages: the skin being edited drawn by the input method's
// own windows after a sample sentence, as the input method would place them after that
// sentence was typed. It keeps the UI settings and a reading of Skin.ini filled from the
// model, rewrites the packed work copy the previews load on every change, and paints the
// selected preview into a back buffer with scrolling, a background colour cycle and the
// status-button animation.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "editor/framework/window.h"
#include "editor/preview/preview_configable.h"
#include "graphics/image/mem_dc.h"

class PreviewFullScreen;
class SkinConfigFile;
class SkinImage;
class t_errorChain;
class t_heap;
struct t_uiSettings;

class Preview : public Frame {
public:
    static const int c_previewCount = 4;
    // The previews in list order.
    enum t_slot : int {
        e_desktop = 0,
        e_desktopLargeFont = 1,
        e_phone = 2,
        e_phoneLarge = 3,
    };
    enum t_viewMode : int {
        e_viewNormal = 0,
        e_viewFullScreen = 1,
        e_viewColourCycle = 2,
        e_viewLongSample = 3,
    };
    // Timers of the preview window.
    static const UINT_PTR c_tickTimer = 121;
    static const UINT_PTR c_colourTimer = 122;
    static const UINT_PTR c_buttonTimer = 123;
    static const UINT c_tickMs = 10;
    static const UINT c_colourMs = 2000;
    static const UINT c_buttonMs = 10;
    // The page whose selection keeps the layout page last shown.
    static const int c_statusBarPage = 6;
    static const COLORREF c_defaultBackground = 0xFFFFFF;
    static const int c_backgroundColourCount = 8;
    // The background colours of the cycle, in order.
    static const COLORREF c_backgroundColours[c_backgroundColourCount];
    // The sentence the IME windows follow.
    static const wchar_t c_sampleSentence[];

    // The settings from the environment's defaults, the four previews.
    Preview();
    ~Preview() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The back buffer (client size plus the scroll offsets) is drawn and its visible part
    // copied to dc.
    void OnPaint(HDC dc) override;

    // The preview at index 0..3; null outside.
    PreviewConfigable* GetPreview(int index) const;
    // A PNG of the IME windows alone, without the sentence; false when there is nothing to
    // draw or the file cannot be written.
    bool SavePicture(const wchar_t* path);

    // The window exists: the previews are initialised, then loaded from the open skin.
    void OnCreate(HWND window);
    // Skin.ini of the work folder read again, the six window parts copied from the model,
    // the work copy written and every preview reloaded.
    bool ReloadAll(t_errorChain& errors);
    // Model part 1..6 into the settings and the Skin.ini reading; other parts copy nothing.
    void CopyPart(int part);
    // Skin.ini committed from the model, skinbak.ini kept, and the packed work copy beside
    // the work folder written from the folder with Skin.ini prepared for packing.
    bool SaveAndExtract(t_errorChain& errors);
    // A model part changed (100 and 101: everything). False when the work copy could not
    // be written; the previews then keep what they show.
    bool OnModelChanged(t_errorChain& errors, int part, bool repaint);
    void SelectPage(int page);
    void SelectPreview(int index);
    void SetViewMode(int mode);
    // Starts (on) or stops the state animation of a status-bar button.
    void SetButtonAnimation(bool on, int buttonId);
    // One step of the selected preview's animations; true when the window was invalidated.
    bool TickPreview();
    void NextBackgroundColour();
    bool TickButtonAnimation();

    // Draws the sentence and the selected preview with the content's top-left at (x, y);
    // anchor: where the IME windows' input position lies inside the preview (null: the
    // skin's default position for the current page).
    void DrawContent(HDC dc, int x, int y, const POINT* anchor);
    // Renders the client area into the back buffer as OnPaint does, without a window dc.
    void RenderBackBuffer();

    int CurrentPage() const { return m_page; }
    int SelectedPreview() const { return m_selected; }
    int ViewMode() const { return m_viewMode; }
    COLORREF Background() const { return m_background; }
    SIZE ContentSize() const { return {m_contentWidth, m_contentHeight}; }
    POINT ScrollOffset() const { return {m_scrollX, m_scrollY}; }
    SIZE SampleSize() const { return {m_sampleWidth, m_sampleHeight}; }
    const RECT& PictureRect() const { return m_pictureRect; }
    const t_uiSettings& Settings() const { return *m_settings; }
    const SkinConfigFile& Config() const { return *m_config; }
    // The back buffer: 32-bit top-down pixels of BackBufferSize(); null before the first paint.
    const uint32_t* BackBufferPixels() const { return m_buffer.Pixels(); }
    SIZE BackBufferSize() const { return SIZE{m_buffer.width, m_buffer.height}; }
    HWND FullScreenWindow() const;
    // The preview window of the process; null while none exists.
    static HWND Current();

private:
    // Every preview: SetSettings, Reload.
    void ReloadPreviews();
    void ApplyCandidateCount();
    // Every preview measured with this window, the content size, the scroll bars again.
    void Relayout(bool erase);
    void UpdateContentSize();
    void OnSize(int width, int height);
    void ResendSize();
    void OnScroll(int bar, int request);
    void OnMouseWheel(int delta);
    void ScrollToEnd();
    void InvalidateViews();
    void StopButtonAnimation();
    void CopyDisplay();
    void CopyCombined(int part);
    void CopySeparate(int part);
    void CopyStatusBar();
    // A text of the arena that a Skin.ini value may cut in place; null when it cannot be made.
    wchar_t* ArenaText(const wchar_t* text);
    // A picture value from a file name kept in the arena; reset when the name does not parse.
    void CopyPicture(SkinImage& value, const wchar_t* file);
    // The back buffer of at least this size; false when it cannot be made.
    bool EnsureBackBuffer(int width, int height);
    void FreeBackBuffer();

    std::unique_ptr<t_uiSettings> m_settings;
    std::unique_ptr<SkinConfigFile> m_config;
    std::unique_ptr<t_heap> m_texts;
    int m_page;
    int m_contentWidth;
    int m_contentHeight;
    int m_scrollX;
    int m_scrollY;
    HFONT m_sampleFont;
    int m_sampleWidth;
    int m_sampleHeight;
    RECT m_pictureRect;
    std::unique_ptr<PreviewConfigable> m_previews[c_previewCount];
    int m_selected;
    int m_viewMode;
    COLORREF m_background;
    std::unique_ptr<PreviewFullScreen> m_fullScreen;
    // The back buffer, rows top-down.
    t_memDC m_buffer;
};
