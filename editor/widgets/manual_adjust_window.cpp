#include "editor/widgets/manual_adjust_window.h"

#include <windowsx.h>

#include <algorithm>

#include "graphics/image/image.h"
#include "foundation/win/scoped_win.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/paint_ctx.h"

namespace {
using namespace n_manualAdjust;

const COLORREF c_nearLineColor = 0xFF3D30;  // top and left lines
const COLORREF c_farLineColor = 0x0082E5;   // bottom and right lines
const int c_pointRadius = c_pointSize / 2;

bool IsHorizontalLine(int index) { return index == ManualAdjustWindow::e_top || index == ManualAdjustWindow::e_bottom; }
bool IsVerticalLine(int index) { return index == ManualAdjustWindow::e_left || index == ManualAdjustWindow::e_right; }

// Two signed 16-bit halves, y high and x low, as the grip messages carry positions.
LPARAM PackPoint(int x, int y)
{
    const auto half = [](int v) { return static_cast<WORD>(static_cast<short>(std::clamp(v, -32768, 32767))); };
    return static_cast<LPARAM>(static_cast<DWORD>(half(y)) << 16 | half(x));
}
}  // namespace

ManualAdjustWindow::AdjustItem::AdjustItem(int index, HDC* ownerPictureDc)
    : m_index(index), m_dragging(false), m_ownerPictureDc(ownerPictureDc)
{}

POINT ManualAdjustWindow::AdjustItem::CursorInOwner() const
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(GetParent(m_hwnd), &cursor);
    return cursor;
}

void ManualAdjustWindow::AdjustItem::MoveByKey(UINT key)
{
    const bool sideways = key == VK_LEFT || key == VK_RIGHT;
    if (sideways ? IsHorizontalLine(m_index) : IsVerticalLine(m_index))
        return;
    const HWND owner = GetParent(m_hwnd);
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&rect), 2);
    // The owner places the grip as for a drag, so a key never moves a line past the other
    // line or out of the window.
    int x = m_index == ManualAdjustWindow::e_point ? rect.left + c_pointRadius : rect.left;
    int y = m_index == ManualAdjustWindow::e_point ? rect.top + c_pointRadius : rect.top;
    x += key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
    y += key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
    SendMessageW(owner, c_gripMoved, static_cast<WPARAM>(m_index), PackPoint(x, y));
    if (m_index != ManualAdjustWindow::e_point)
        InvalidateRect(owner, nullptr, TRUE);
    // Each key press is a finished move, reported as a drag's end is.
    SendMessageW(owner, c_dragEnded, static_cast<WPARAM>(m_index) | c_dragEndFlag, PackPoint(x, y));
}

LRESULT ManualAdjustWindow::AdjustItem::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        m_dragging = true;
        SetFocus(window);
        SetCapture(window);
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragging) {
            // Positions outside the window go to the owner too, which holds the grip at the
            // edge: a fast drag still brings a line all the way to it.
            const POINT cursor = CursorInOwner();
            const HWND owner = GetParent(window);
            SendMessageW(owner, c_gripMoved, static_cast<WPARAM>(m_index), PackPoint(cursor.x, cursor.y));
            if (m_index != ManualAdjustWindow::e_point)
                InvalidateRect(owner, nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_dragging) {
            m_dragging = false;
            ReleaseCapture();
            const POINT cursor = CursorInOwner();
            SendMessageW(GetParent(window), c_dragEnded, static_cast<WPARAM>(m_index) | c_dragEndFlag,
                         PackPoint(cursor.x, cursor.y));
        }
        return 0;
    case WM_CAPTURECHANGED:
        // A drag taken away by another window ends without a report.
        m_dragging = false;
        return 0;
    case WM_SETCURSOR: {
        const wchar_t* shape = IsHorizontalLine(m_index) ? IDC_SIZENS
                               : IsVerticalLine(m_index) ? IDC_SIZEWE
                                                         : IDC_SIZEALL;
        SetCursor(LoadCursorW(nullptr, shape));
        return TRUE;
    }
    case WM_GETDLGCODE:
        // Inside a dialog the arrows would otherwise move the focus instead of the grip.
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN) {
            MoveByKey(static_cast<UINT>(wParam));
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void ManualAdjustWindow::AdjustItem::OnPaint(HDC dc)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (m_index != ManualAdjustWindow::e_point) {
        const bool nearLine = m_index == ManualAdjustWindow::e_top || m_index == ManualAdjustWindow::e_left;
        const HBRUSH brush = CreateSolidBrush(nearLine ? c_nearLineColor : c_farLineColor);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        return;
    }
    // The point shows the picture under it, inverted inside its circle.
    const HDC picture = m_ownerPictureDc ? *m_ownerPictureDc : nullptr;
    if (picture) {
        RECT rect;
        GetWindowRect(m_hwnd, &rect);
        MapWindowPoints(nullptr, GetParent(m_hwnd), reinterpret_cast<POINT*>(&rect), 2);
        BitBlt(dc, 0, 0, c_pointSize, c_pointSize, picture, rect.left, rect.top, SRCCOPY);
    } else {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    const HDC mask = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, c_pointSize, c_pointSize);
    if (mask && bitmap) {
        t_scopedSelectObject target(mask, bitmap);
        const RECT all = {0, 0, c_pointSize, c_pointSize};
        FillRect(mask, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        t_scopedSelectObject brush(mask, GetStockObject(WHITE_BRUSH));
        t_scopedSelectObject pen(mask, GetStockObject(WHITE_PEN));
        Ellipse(mask, 0, 0, c_pointSize, c_pointSize);
        BitBlt(dc, 0, 0, c_pointSize, c_pointSize, mask, 0, 0, SRCINVERT);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (mask)
        DeleteDC(mask);
}

ManualAdjustWindow::ManualAdjustWindow(int controlId, bool pointFlag)
    : m_controlId(controlId), m_picture(nullptr), m_pictureWidth(0), m_pictureHeight(0), m_pointFlag(pointFlag),
      m_pictureDc(nullptr), m_pictureBitmap(nullptr), m_pictureDcOldBitmap(nullptr), m_grips{}, m_margins{},
      m_hasMargins(false), m_point{0, 0}, m_hasPoint(false)
{}

ManualAdjustWindow::~ManualAdjustWindow()
{
    FreePicture();
    if (m_pictureDc) {
        SelectObject(m_pictureDc, m_pictureDcOldBitmap);
        DeleteDC(m_pictureDc);
    }
    if (m_pictureBitmap)
        DeleteObject(m_pictureBitmap);
}

int ManualAdjustWindow::Create(HWND parent, int left, int top, int right, int bottom, HINSTANCE instance)
{
    if (!Frame::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, left, top, right, bottom, parent, instance))
        return 0;
    const SIZE size = ClientSize();
    const int w = size.cx, h = size.cy;
    const RECT places[e_gripCount] = {
        {0, 0, w, c_lineThickness},
        {0, h - c_lineThickness, w, h},
        {0, 0, c_lineThickness, h},
        {w - c_lineThickness, 0, w, h},
        {-c_pointRadius, -c_pointRadius, c_pointRadius, c_pointRadius},
    };
    const int count = m_pointFlag ? e_gripCount : e_point;
    for (int i = 0; i < count; ++i) {
        AdjustItem* grip = new AdjustItem(i, &m_pictureDc);
        const RECT& r = places[i];
        if (!grip->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, 0, r.left, r.top, r.right, r.bottom, m_hwnd, instance)) {
            delete grip;
            continue;
        }
        if (i == e_point)
            SetWindowRgn(grip->GetHwnd(), CreateEllipticRgn(0, 0, c_pointSize, c_pointSize), TRUE);
        m_grips[i] = grip;
        AddChild(grip);
    }
    return 1;
}

void ManualAdjustWindow::Enable(bool enable)
{
    for (AdjustItem* grip : m_grips) {
        if (grip)
            EnableWindow(grip->GetHwnd(), enable);
    }
}

void ManualAdjustWindow::GetPictureSize(int& width, int& height) const
{
    width = m_pictureWidth;
    height = m_pictureHeight;
}

HWND ManualAdjustWindow::Grip(int index) const
{
    return index >= 0 && index < e_gripCount && m_grips[index] ? m_grips[index]->GetHwnd() : nullptr;
}

RECT ManualAdjustWindow::GripRect(int index) const
{
    RECT rect = {0, 0, 0, 0};
    const HWND grip = Grip(index);
    if (grip && GetWindowRect(grip, &rect))
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ManualAdjustWindow::ClientSize() const
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hwnd, &client);
    return {client.right, client.bottom};
}

LRESULT ManualAdjustWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case c_gripMoved:
        MoveGrip(static_cast<int>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case c_dragEnded:
        ReportGrip(static_cast<int>(wParam & ~c_dragEndFlag));
        return 0;
    case c_setMargins:
        SetMargins(LOWORD(wParam), HIWORD(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case c_loadPicture:
        LoadPicture(reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    case c_setPoint:
        SetPoint(LOWORD(wParam), HIWORD(wParam));
        return 0;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void ManualAdjustWindow::FreePicture()
{
    m_picture.reset();
    m_pictureWidth = 0;
    m_pictureHeight = 0;
}

void ManualAdjustWindow::LoadPicture(const wchar_t* path)
{
    FreePicture();
    LoadImageSource(path, m_picture);
    // A picture without a size is no picture: nothing to draw, nothing to measure.
    if (m_picture &&
        (!m_picture->GetSize(m_pictureWidth, m_pictureHeight) || m_pictureWidth <= 0 || m_pictureHeight <= 0))
        FreePicture();
    // Margins and point given before the picture (or for the one before it) now find their
    // places on this one.
    PlaceMargins();
    PlacePoint();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ManualAdjustWindow::OnPaint(HDC dc)
{
    if (!m_picture)
        return;
    const SIZE size = ClientSize();
    t_image image;
    image.Init();
    image.SetPart(m_picture.get(), 0, 0, c_noColorKey, c_noColorKey, m_pictureWidth, m_pictureHeight,
                  t_image::e_stretch, t_image::e_stretch, false);
    {
        t_paintCtx context(dc, false, nullptr, false);
        image.Draw(context, 0, 0, size.cx, size.cy, 255);
        context.End();
    }
    // The point draws the picture under it from this copy.
    if (!m_pictureDc) {
        m_pictureDc = CreateCompatibleDC(dc);
        m_pictureDcOldBitmap = nullptr;
    }
    if (m_pictureDc) {
        const HBITMAP bitmap = CreateCompatibleBitmap(dc, size.cx, size.cy);
        if (bitmap) {
            const HGDIOBJ previous = SelectObject(m_pictureDc, bitmap);
            if (!m_pictureDcOldBitmap)
                m_pictureDcOldBitmap = previous;
            if (m_pictureBitmap)
                DeleteObject(m_pictureBitmap);
            m_pictureBitmap = bitmap;
            BitBlt(m_pictureDc, 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
        }
    }
    for (AdjustItem* grip : m_grips) {
        if (grip)
            InvalidateRect(grip->GetHwnd(), nullptr, FALSE);
    }
}

void ManualAdjustWindow::PlaceGrip(int index, int left, int top, int right, int bottom)
{
    const HWND grip = Grip(index);
    if (!grip)
        return;
    MoveWindow(grip, left, top, right - left, bottom - top, TRUE);
    InvalidateRect(grip, nullptr, FALSE);
}

void ManualAdjustWindow::MoveGrip(int index, int x, int y)
{
    if (!Grip(index))
        return;
    const SIZE size = ClientSize();
    const int w = size.cx, h = size.cy;
    const int t = c_lineThickness;
    // Each line is held between the window's edge and the other line of its pair, so the
    // lines never cross and every line can reach its edge (a margin of 0).
    switch (index) {
    case e_top: {
        const int limit = GripRect(e_bottom).top - 1;
        if (limit >= 0) {
            y = std::clamp(y, 0, limit);
            PlaceGrip(index, 0, y, w, y + t);
        }
        break;
    }
    case e_bottom: {
        const int lowest = GripRect(e_top).top + 1;
        if (lowest <= h - t) {
            y = std::clamp(y, lowest, h - t);
            PlaceGrip(index, 0, y, w, y + t);
        }
        break;
    }
    case e_left: {
        const int limit = GripRect(e_right).left - 1;
        if (limit >= 0) {
            x = std::clamp(x, 0, limit);
            PlaceGrip(index, x, 0, x + t, h);
        }
        break;
    }
    case e_right: {
        const int lowest = GripRect(e_left).left + 1;
        if (lowest <= w - t) {
            x = std::clamp(x, lowest, w - t);
            PlaceGrip(index, x, 0, x + t, h);
        }
        break;
    }
    case e_point:
        x = std::clamp(x, 0, w);
        y = std::clamp(y, 0, h);
        PlaceGrip(index, x - c_pointRadius, y - c_pointRadius, x + c_pointRadius, y + c_pointRadius);
        break;
    default:
        break;
    }
}

void ManualAdjustWindow::ReportGrip(int index)
{
    if (!Grip(index) || m_pictureWidth <= 0 || m_pictureHeight <= 0)
        return;
    const SIZE size = ClientSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    const RECT g = GripRect(index);
    // Bottom and right lines measure from the far edge to their outer edge.
    int dx = index == e_right ? size.cx - g.right : g.left;
    int dy = index == e_bottom ? size.cy - g.bottom : g.top;
    if (index == e_point) {
        dx += c_pointRadius;
        dy += c_pointRadius;
    }
    const int x = static_cast<int>(static_cast<long long>(dx) * m_pictureWidth / size.cx);
    const int y = static_cast<int>(static_cast<long long>(dy) * m_pictureHeight / size.cy);
    // The parent does not send a reported value back: it is kept here for the next picture.
    if (index == e_point)
        m_point = {x, y};
    else
        m_margins[index] = index == e_top || index == e_bottom ? y : x;
    SendToParent(c_gripMoved, static_cast<WPARAM>(m_controlId) << 16 | static_cast<WPARAM>(index), PackPoint(x, y));
}

void ManualAdjustWindow::SetMargins(int top, int bottom, int left, int right)
{
    m_margins[0] = top;
    m_margins[1] = bottom;
    m_margins[2] = left;
    m_margins[3] = right;
    m_hasMargins = true;
    PlaceMargins();
}

void ManualAdjustWindow::PlaceMargins()
{
    if (!m_hasMargins || m_pictureWidth <= 0 || m_pictureHeight <= 0)
        return;
    const int top = m_margins[0], bottom = m_margins[1], left = m_margins[2], right = m_margins[3];
    const SIZE size = ClientSize();
    const int w = size.cx, h = size.cy, t = c_lineThickness;
    if (w < t || h < t)
        return;
    const auto scale = [](int value, int window, int picture) {
        return static_cast<int>(static_cast<long long>(value) * window / picture);
    };
    // The far lines are placed by their outer edge, the edge a report measures from.
    const int topY = std::clamp(scale(top, h, m_pictureHeight), 0, h - t);
    const int bottomY = std::clamp(scale(m_pictureHeight - bottom, h, m_pictureHeight), t, h) - t;
    const int leftX = std::clamp(scale(left, w, m_pictureWidth), 0, w - t);
    const int rightX = std::clamp(scale(m_pictureWidth - right, w, m_pictureWidth), t, w) - t;
    PlaceGrip(e_top, 0, topY, w, topY + t);
    PlaceGrip(e_bottom, 0, bottomY, w, bottomY + t);
    PlaceGrip(e_left, leftX, 0, leftX + t, h);
    PlaceGrip(e_right, rightX, 0, rightX + t, h);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ManualAdjustWindow::SetPoint(int x, int y)
{
    m_point = {x, y};
    m_hasPoint = true;
    PlacePoint();
}

void ManualAdjustWindow::PlacePoint()
{
    if (!m_hasPoint || m_pictureWidth <= 0 || m_pictureHeight <= 0 || !Grip(e_point))
        return;
    const SIZE size = ClientSize();
    const int cx = static_cast<int>(static_cast<long long>(m_point.x) * size.cx / m_pictureWidth);
    const int cy = static_cast<int>(static_cast<long long>(m_point.y) * size.cy / m_pictureHeight);
    PlaceGrip(e_point, cx - c_pointRadius, cy - c_pointRadius, cx + c_pointRadius, cy + c_pointRadius);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}
