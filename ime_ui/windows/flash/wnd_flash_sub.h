// Flash items on the skinned IME windows. Every flash child of a window is a t_wndFlashSub;
// the windows here show in-window items as placeholder pictures (t_wndFlashSubDummy). The
// live players drawn by the Flash component derive from the same base.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image.h"
#include "toolkit/controls/wnd_base.h"

class t_flashSkinCmd;
class t_layout;
class t_paintCtx;

// The picture a flash item shows instead of playing: the skin's preview picture, or the
// built-in "IDR_PNG_FLASH" over a grey box when the skin has none.
class t_flashPlaceholder {
public:
    t_flashPlaceholder();
    ~t_flashPlaceholder();
    t_flashPlaceholder(const t_flashPlaceholder&) = delete;
    t_flashPlaceholder& operator=(const t_flashPlaceholder&) = delete;

    // Copies the record (the picture stays its owner's).
    void Set(const t_image& record);
    // Paints into rect (coordinates of the context): the picture shrunk to fit (never
    // enlarged) and centred; the default picture over a grey box with a light outline.
    void Paint(t_paintCtx& context, const RECT& rect);

    bool IsDefault() const { return m_default; }
    const t_image& Image() const { return m_image; }

    static const uint32_t c_defaultFill = 0xCCDCDCDC;
    static const uint32_t c_defaultOutline = 0xCCBFBFBF;

private:
    // The record is usable when it shows a bitmap of non-zero size.
    bool IsUsable() const;
    void Clear();

    t_image m_image;
    bool m_tried;    // the default picture was asked for
    bool m_default;  // m_image is the default picture (owned)
};

// The common base: an element with the flash operations, each doing nothing here.
class t_wndFlashSub : public t_wndBase {
public:
    // Creates the element (and a player where the class has one); packedId is
    // (window << 16) | (~index & 0xFFFF).
    virtual bool CreateFlash(HWND host, HWND parentWindow, int controlId, LPARAM packedId, t_wndBase* owner);
    virtual void SetCommandSink(t_flashSkinCmd* sink);
    // Calls forwarded to the player; 0 without one.
    virtual int StubCall3(intptr_t a, intptr_t b, intptr_t c);
    virtual int StubCall2(intptr_t a, intptr_t b);
    virtual void SetFileName(const wchar_t* fileName);
    // The element takes every mouse point in its rectangle and stops window drags there.
    virtual void SetCaptureAll(bool on);
    // Set by the window when the Flash component notifies this item.
    virtual void SetNotified(bool on);
    virtual bool IsNotified();
    // One step of the flash timer: true when the window should repaint.
    virtual bool TickFlash();
    virtual void SetPlaceholder(const t_image& record);
    // The hand cursor is wanted when on is false.
    virtual void SetNoHandCursor(bool on);
    // The owner window moved or resized to rect.
    virtual void FollowRect(const RECT& rect);
    virtual void FollowShow(bool shown);
    // Background flashes only: the window's background layout that the flash paints over.
    virtual void SetInnerLayout(t_layout* layout);
    // Turns a screen point into the flash's coordinates.
    virtual void ToFlashPoint(POINT* point);
};

// An in-window flash item shown as its placeholder picture; it takes no mouse input.
class t_wndFlashSubDummy : public t_wndFlashSub {
public:
    // The element alone: a child of owner, size 0.
    bool CreateFlash(HWND host, HWND parentWindow, int controlId, LPARAM packedId, t_wndBase* owner) override;
    void SetPlaceholder(const t_image& record) override;
    // Paints the placeholder over the element's rectangle.
    void Paint_Layout(t_paintCtx& context) override;
    bool HitTest(int x, int y, int mode) override;

    t_flashPlaceholder placeholder;
};

// What the window makes of a flash item of the skin.
enum class t_flashSubKind : int {
    e_placeholder = 0,  // a picture in place of the flash
    e_inWindow = 1,     // a player drawn into the window
    e_background = 2,   // a player drawn as the window's background
    e_popup = 3,        // a player in a window of the Flash component
};

// A new flash child of the kind; null when it cannot be made.
t_wndFlashSub* NewFlashSub(t_flashSubKind kind);
