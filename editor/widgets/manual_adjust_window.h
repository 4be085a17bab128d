// The manual adjustment area of the layout pages: a skin picture stretched over the
// window with four guide lines (top, bottom, left, right margins) and an optional point
// that the user drags. A finished drag is reported to the parent in picture pixels; the
// parent sets the lines and the point from picture pixels.
#pragma once

#include <windows.h>

#include "editor/framework/editor_messages.h"
#include "editor/framework/window.h"
#include "graphics/image/image_source.h"

namespace n_manualAdjust {
const WPARAM c_dragEndFlag = 0x10000;
const int c_lineThickness = 2;
const int c_pointSize = 10;
}  // namespace n_manualAdjust

class ManualAdjustWindow : public Frame {
public:
    enum t_grip {
        e_top = 0,
        e_bottom = 1,
        e_left = 2,
        e_right = 3,
        e_point = 4,
        e_gripCount = 5
    };

    // One grip: a line two pixels thick across the window, or the round point.
    class AdjustItem : public Frame {
    public:
        AdjustItem(int index, HDC* ownerPictureDc);
        LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
        void OnPaint(HDC dc) override;

        int Index() const { return m_index; }
        bool IsDragging() const { return m_dragging; }

    private:
        // The cursor in the owner's client coordinates.
        POINT CursorInOwner() const;
        void MoveByKey(UINT key);

        int m_index;
        bool m_dragging;
        HDC* m_ownerPictureDc;
    };

    ManualAdjustWindow(int controlId, bool pointFlag);
    ~ManualAdjustWindow() override;

    // The frame as a visible child over the rectangle with its grips; 0 when the frame
    // cannot be made.
    int Create(HWND parent, int left, int top, int right, int bottom, HINSTANCE instance);
    void Enable(bool enable);
    void GetPictureSize(int& width, int& height) const;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc) override;

    // The grip's window, null when it does not exist.
    HWND Grip(int index) const;
    // The grip's rectangle in the window's client coordinates; empty when it does not exist.
    RECT GripRect(int index) const;

private:
    void LoadPicture(const wchar_t* path);
    void FreePicture();
    void MoveGrip(int index, int x, int y);
    void ReportGrip(int index);
    void SetMargins(int top, int bottom, int left, int right);
    void SetPoint(int x, int y);
    // The lines and the point where the kept margins and point put them on the picture.
    void PlaceMargins();
    void PlacePoint();
    void PlaceGrip(int index, int left, int top, int right, int bottom);
    SIZE ClientSize() const;

    int m_controlId;
    t_imageSourcePtr m_picture;
    int m_pictureWidth;
    int m_pictureHeight;
    bool m_pointFlag;
    HDC m_pictureDc;
    HBITMAP m_pictureBitmap;
    HGDIOBJ m_pictureDcOldBitmap;
    AdjustItem* m_grips[e_gripCount];
    // The margins (top, bottom, left, right) and the point last set, in picture pixels:
    // kept so that a picture loaded after them shows them.
    int m_margins[4];
    bool m_hasMargins;
    POINT m_point;
    bool m_hasPoint;
};
