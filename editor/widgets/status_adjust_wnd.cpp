#include "editor/widgets/status_adjust_wnd.h"

#include <algorithm>

#include "editor/widgets/work_folder_file.h"
#include "graphics/image/image.h"
#include "graphics/image/image_source.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/module_instance.h"
#include "graphics/paint/paint_ctx.h"
#include "skin_model/ime_skin.h"
#include "skin_model/status_info.h"

using namespace n_statusAdjust;

namespace {
bool ValidButton(int index) { return index >= 0 && index < c_buttonCount; }

// The signed coordinates of MAKELONG(x, y).
POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

LPARAM PackPoint(POINT point)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)), static_cast<WORD>(static_cast<short>(point.y)));
}

// A picture name of the work folder as a path; empty (no picture, nothing to read) for an
// empty name.
t_str WorkFolderPath(const wchar_t* name) { return name && *name ? n_workFolderFile::InWorkFolder(name) : t_str(); }
}  // namespace

// ---------------------------------------------------------------------------------------
// GraphicElement

const wchar_t GraphicElement::c_className[] = L"GraphicElement";

GraphicElement::GraphicElement(bool fixed)
    : m_picture(nullptr), m_pictureWidth(0), m_pictureHeight(0), m_transparentColour(c_noTransparentColour),
      m_fixed(fixed ? 1 : 0)
{}

GraphicElement::~GraphicElement()
{
    // A window that outlives its object must not reach it any more.
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
    FreePicture();
}

void GraphicElement::OnDestroy()
{
    FreePicture();
    Window::OnDestroy();
}

bool GraphicElement::RegisterWindowClass(HINSTANCE module)
{
    WNDCLASSW existing;
    if (GetClassInfoW(module, c_className, &existing))
        return true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = FrameworkWndProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = c_className;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool GraphicElement::Create(HWND parent, int x, int y, bool visible)
{
    const HINSTANCE module = GetModuleInstance() ? GetModuleInstance() : GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(module))
        return false;
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    m_hwnd = CreateWindowExW(0, c_className, L"", style, x, y, 0, 0, parent, nullptr, module, this);
    if (!m_hwnd)
        return false;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void GraphicElement::FreePicture()
{
    m_picture.reset();
    m_pictureWidth = 0;
    m_pictureHeight = 0;
}

bool GraphicElement::SetPicture(const wchar_t* path, bool resize)
{
    FreePicture();
    m_path = path ? path : L"";
    // A picture without a size is no picture.
    if (!m_path.IsEmpty() && LoadImageSource(m_path.c_str(), m_picture) &&
        (!m_picture->GetSize(m_pictureWidth, m_pictureHeight) || m_pictureWidth <= 0 || m_pictureHeight <= 0))
        FreePicture();
    if (m_hwnd) {
        if (resize)
            SetWindowPos(m_hwnd, nullptr, 0, 0, m_pictureWidth, m_pictureHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    return m_picture != nullptr;
}

void GraphicElement::SetTransparentColour(int colour)
{
    m_transparentColour = colour < 0 ? c_noTransparentColour : colour;
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, TRUE);
}

void GraphicElement::GetSize(int& width, int& height)
{
    width = m_pictureWidth;
    height = m_pictureHeight;
}

void GraphicElement::Paint(HDC dc)
{
    if (!m_picture) {
        RECT client = {0, 0, 0, 0};
        if (m_hwnd)
            GetClientRect(m_hwnd, &client);
        t_scopedSelectObject brush(dc, GetStockObject(GRAY_BRUSH));
        t_scopedSelectObject pen(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
        return;
    }
    const uint32_t key = m_transparentColour < 0 ? c_noColorKey : static_cast<uint32_t>(m_transparentColour);
    t_image image;
    image.Init();
    image.SetPart(m_picture.get(), 0, 0, key, key, m_pictureWidth, m_pictureHeight, t_image::e_stretch, t_image::e_stretch,
                  false);
    t_paintCtx context(dc, IMESkin::Instance()->AnyPartUsesPngOrGif(), nullptr, false);
    image.Draw(context, 0, 0, m_pictureWidth, m_pictureHeight, 255);
    context.End();
}

LRESULT GraphicElement::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_NCHITTEST:
        // The system moves an element grabbed by its "caption".
        if (!m_fixed)
            return HTCAPTION;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// GEButton

GEButton::GEButton(int index) : GraphicElement(false), m_index(index), m_quiet(0), m_shown(0) {}

POINT GEButton::Position() const
{
    RECT rect;
    GetWindowRect(m_hwnd, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(GetParent(m_hwnd), &corner);
    return corner;
}

void GEButton::QuietMove(int x, int y)
{
    if (!m_hwnd)
        return;
    const unsigned char wasQuiet = m_quiet;
    m_quiet = 1;
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_quiet = wasQuiet;
}

bool GEButton::SetPictureQuietly(const wchar_t* path)
{
    const unsigned char wasQuiet = m_quiet;
    m_quiet = 1;
    const bool loaded = SetPicture(path, true);
    m_quiet = wasQuiet;
    return loaded;
}

void GEButton::ClampAndReport()
{
    if (!m_hwnd)
        return;
    RECT bar;
    GetClientRect(GetParent(m_hwnd), &bar);
    RECT own;
    GetWindowRect(m_hwnd, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    const POINT at = Position();
    POINT inside = at;
    // Right and bottom edges first, so an element larger than the bar sits at its top-left.
    if (inside.x + width > bar.right)
        inside.x = bar.right - width;
    if (inside.y + height > bar.bottom)
        inside.y = bar.bottom - height;
    inside.x = std::max(inside.x, 0L);
    inside.y = std::max(inside.y, 0L);
    if (inside.x != at.x || inside.y != at.y)
        QuietMove(inside.x, inside.y);
    SendToParent(c_buttonMoved, static_cast<WPARAM>(m_index), PackPoint(inside));
}

void GEButton::MoveByKey(UINT key)
{
    POINT at = Position();
    switch (key) {
    case VK_LEFT:
        --at.x;
        break;
    case VK_UP:
        --at.y;
        break;
    case VK_RIGHT:
        ++at.x;
        break;
    case VK_DOWN:
        ++at.y;
        break;
    default:
        return;
    }
    SetWindowPos(m_hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT GEButton::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        // Inside a dialog the arrow keys would otherwise move the focus instead of the button.
        return DLGC_WANTARROWS;
    case WM_NCLBUTTONDOWN:
        SetFocus(window);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN) {
            MoveByKey(static_cast<UINT>(wParam));
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        // Stacking and showing leave the place as it was: nothing to report.
        const bool placed = !position || (position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
        if (!m_quiet && placed)
            ClampAndReport();
        break;
    }
    case WM_SETFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        SendToParent(c_buttonFocused, static_cast<WPARAM>(m_index), 0);
        ClampAndReport();
        SendToParent(c_raiseButton, static_cast<WPARAM>(m_index), 0);
        return 0;
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    default:
        break;
    }
    return GraphicElement::WndProc(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// GEStatusBarBackGround

GEStatusBarBackGround::GEStatusBarBackGround() : GraphicElement(true)
{
    for (int i = 0; i < c_buttonCount; ++i) {
        m_buttons[i] = nullptr;
        m_order[i] = i;
    }
}

bool GEStatusBarBackGround::Create(HWND parent)
{
    if (!GraphicElement::Create(parent, 0, 0, true))
        return false;
    for (int i = 0; i < c_buttonCount; ++i) {
        if (!m_buttons[i]) {
            m_buttons[i] = new GEButton(i);
            AddChild(m_buttons[i]);
        }
        if (!m_buttons[i]->Create(m_hwnd, 0, 0, false))
            return false;
    }
    // New children go to the bottom of their siblings: the windows take the list's order.
    Restack();
    return true;
}

GEButton* GEStatusBarBackGround::Button(int index) const { return ValidButton(index) ? m_buttons[index] : nullptr; }

void GEStatusBarBackGround::SetButtonPicture(const wchar_t* path, int index)
{
    GEButton* button = Button(index);
    if (!button)
        return;
    button->SetPictureQuietly(path);
    RaiseButton(index);
}

void GEStatusBarBackGround::ShowButton(int index, bool shown)
{
    GEButton* button = Button(index);
    if (!button)
        return;
    button->SetShown(shown);
    if (button->GetHwnd())
        ShowWindow(button->GetHwnd(), shown ? SW_SHOW : SW_HIDE);
}

void GEStatusBarBackGround::SetTransparentColour(int colour)
{
    for (GEButton* button : m_buttons) {
        if (button)
            button->SetTransparentColour(colour);
    }
    GraphicElement::SetTransparentColour(colour);
}

void GEStatusBarBackGround::RaiseButton(int index)
{
    if (!ValidButton(index))
        return;
    int* end = std::remove(m_order, m_order + c_buttonCount, index);
    *end = index;
    Restack();
}

void GEStatusBarBackGround::Restack()
{
    for (int position = 0; position < c_buttonCount; ++position) {
        const GEButton* button = m_buttons[m_order[position]];
        if (!button || !button->GetHwnd())
            continue;
        SetWindowPos(button->GetHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(button->GetHwnd(), WM_CHILDACTIVATE, 0, 0);
    }
}

void GEStatusBarBackGround::MoveButton(int index, int x, int y)
{
    if (GEButton* button = Button(index))
        button->QuietMove(x, y);
}

LRESULT GEStatusBarBackGround::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case c_buttonFocused:
    case c_buttonMoved:
        return SendToParent(message, wParam, lParam);
    case c_raiseButton:
        RaiseButton(static_cast<int>(wParam));
        return 0;
    case c_moveButton: {
        const POINT at = PointOf(lParam);
        MoveButton(static_cast<int>(wParam), at.x, at.y);
        return 0;
    }
    default:
        break;
    }
    return GraphicElement::WndProc(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// StatusAdjustWnd

StatusAdjustWnd::StatusAdjustWnd() : m_background(nullptr) {}

StatusAdjustWnd::~StatusAdjustWnd()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    m_hwnd = nullptr;
    delete m_background;
}

bool StatusAdjustWnd::Create(HWND parent, const RECT& rect)
{
    const HINSTANCE module = GetModuleInstance() ? GetModuleInstance() : GetModuleHandleW(nullptr);
    if (!Frame::Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, rect.left, rect.top, rect.right,
                       rect.bottom, parent, module))
        return false;
    if (!m_background)
        m_background = new GEStatusBarBackGround();
    return m_background->Create(m_hwnd);
}

void StatusAdjustWnd::ShowButton(int index, bool shown)
{
    if (m_background)
        m_background->ShowButton(index, shown);
}

void StatusAdjustWnd::SetTransparentColour(int colour)
{
    if (m_background)
        m_background->SetTransparentColour(colour);
}

LRESULT StatusAdjustWnd::ReloadBar()
{
    if (!m_background)
        return c_noBackground;
    t_str name;
    if (!IMESkin::Instance()->StatusBar().GetString(L"pic", 0, name))
        name.Clear();
    const bool loaded = m_background->SetPicture(WorkFolderPath(name.c_str()).c_str(), true);
    if (m_background->GetHwnd())
        ShowWindow(m_background->GetHwnd(), SW_SHOW);
    // No picture is no failure; a named picture that cannot be read is.
    return loaded || name.IsEmpty() ? 0 : -1;
}

LRESULT StatusAdjustWnd::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        if (m_background && m_background->GetHwnd())
            SetFocus(m_background->GetHwnd());
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case c_buttonFocused:
    case c_buttonMoved:
        return SendToParent(message, wParam, lParam);
    case c_moveButton:
        return m_background && m_background->GetHwnd() ? SendMessageW(m_background->GetHwnd(), message, wParam, lParam)
                                                       : 0;
    case c_reloadBar:
        return ReloadBar();
    case c_setButtonPicture:
        if (m_background) {
            const wchar_t* name = reinterpret_cast<const wchar_t*>(wParam);
            m_background->SetButtonPicture(WorkFolderPath(name).c_str(), static_cast<int>(HIWORD(lParam)));
        }
        return 0;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}
