#include "editor/widgets/file_dialog_preview.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cwchar>

#include "graphics/image/mem_dc.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/image_draw.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/resize.h"

namespace {
const DWORD c_openFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
const wchar_t c_sizeLabelFormat[] = L"%d × %d";

// The preview dialog whose hook runs now: the hook has no other way to its object.
CFileDialogPreview* s_current = nullptr;

// "(*.bmp;*.png;*.gif)" "*.bmp;*.png;*.gif" and "BMP文件(*.bmp)" "*.bmp", each with its NULs.
const wchar_t c_anyPictureFilter[] = L"(*.bmp;*.png;*.gif)\0*.bmp;*.png;*.gif\0";
const wchar_t c_bmpFilter[] = L"BMP文件(*.bmp)\0*.bmp\0";
const wchar_t* s_imageFilter = c_anyPictureFilter;
int s_imageFilterLength = static_cast<int>(sizeof(c_anyPictureFilter) / sizeof(wchar_t));
}  // namespace

const wchar_t* GetImageFilter() { return s_imageFilter; }
int GetImageFilterLength() { return s_imageFilterLength; }

void SetImageFilter(bool anyPicture)
{
    s_imageFilter = anyPicture ? c_anyPictureFilter : c_bmpFilter;
    s_imageFilterLength =
        static_cast<int>((anyPicture ? sizeof(c_anyPictureFilter) : sizeof(c_bmpFilter)) / sizeof(wchar_t));
}

CFileDialogPreview::CFileDialogPreview()
    : m_templateId(0), m_previewId(0), m_module(nullptr), m_frame(nullptr), m_picture(nullptr), m_scaledFrom(nullptr),
      m_scaledWidth(0), m_scaledHeight(0), m_configured(false), m_extendedError(0)
{
    m_path[0] = L'\0';
}

CFileDialogPreview::~CFileDialogPreview()
{
    if (s_current == this)
        s_current = nullptr;
    FreePicture();
}

CFileDialogPreview* CFileDialogPreview::Current() { return s_current; }

void CFileDialogPreview::Configure(HINSTANCE module, int templateId, int previewId)
{
    m_module = module;
    m_templateId = templateId;
    m_previewId = previewId;
    m_configured = true;
    FreePicture();
}

bool CFileDialogPreview::ChooseOpenFile(HWND owner, const wchar_t* filter, const wchar_t* initialDir)
{
    return Choose(false, owner, filter, initialDir);
}

bool CFileDialogPreview::ChooseSaveFile(HWND owner, const wchar_t* filter, const wchar_t* initialDir)
{
    return Choose(true, owner, filter, initialDir);
}

bool CFileDialogPreview::Choose(bool save, HWND owner, const wchar_t* filter, const wchar_t* initialDir)
{
    m_path[0] = L'\0';
    FreePicture();
    m_frame = nullptr;
    m_extendedError = 0;
    // One preview dialog at a time: a second one would take the hook from the first.
    if (!m_configured || s_current)
        return false;

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.hInstance = m_module;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = m_path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = initialDir;
    dialog.Flags = c_openFlags | (save ? OFN_OVERWRITEPROMPT : 0);
    dialog.lpfnHook = Hook;
    dialog.lpTemplateName = MAKEINTRESOURCEW(m_templateId);

    s_current = this;
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    m_extendedError = chosen ? 0 : CommDlgExtendedError();
    // The hook lets go on WM_DESTROY; a dialog that never came up (no template) sent none.
    s_current = nullptr;
    m_frame = nullptr;
    if (!chosen) {
        // The path buffer may hold the last previewed file: a cancel chose nothing.
        m_path[0] = L'\0';
        return false;
    }
    return true;
}

UINT_PTR CALLBACK CFileDialogPreview::Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CFileDialogPreview* current = s_current;
    return current ? current->HookProc(dialog, message, wParam, lParam) : 0;
}

UINT_PTR CFileDialogPreview::HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetHwnd(dialog);
        return 1;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header)
            return 0;
        if (header->code == CDN_SELCHANGE) {
            UpdatePreview();
        } else if (header->code == CDN_INITDONE) {
            m_frame = header->hwndFrom;
            FitPreview();
            PostMessageW(dialog, c_focusNameBox, 0, 0);
        }
        return 0;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && static_cast<int>(wParam) == m_previewId && static_cast<int>(item->CtlID) == m_previewId)
            DrawPreview(*item);
        return 0;
    }
    case c_focusNameBox:
        FocusNameBox();
        return 0;
    case WM_TIMER:
        if (wParam == c_animationTimer)
            AnimatePreview();
        return 0;
    case WM_DESTROY:
        KillTimer(dialog, c_animationTimer);
        hwnd = nullptr;
        m_frame = nullptr;
        if (s_current == this)
            s_current = nullptr;
        return 0;
    default:
        return 0;
    }
}

void CFileDialogPreview::SetHwnd(HWND dialog) { hwnd = dialog; }

HWND CFileDialogPreview::PreviewControl() const { return hwnd ? GetDlgItem(hwnd, m_previewId) : nullptr; }

void CFileDialogPreview::FreePicture()
{
    m_picture.reset();
    m_scaled.clear();
    m_scaledFrom = nullptr;
    m_scaledWidth = m_scaledHeight = 0;
}

CFileDialogPreview::t_layout CFileDialogPreview::Layout(int width, int height, int pictureWidth, int pictureHeight)
{
    t_layout layout = {};
    const int room = height - c_labelHeight;
    if (width <= 0 || room <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return layout;
    const double scale = std::max(static_cast<double>(pictureWidth) / width, static_cast<double>(pictureHeight) / room);
    // Truncated, with room for the rounding of the division: the side that fits exactly
    // keeps its full length.
    const int drawnWidth = std::clamp(static_cast<int>(pictureWidth / scale + 1e-6), 1, width);
    const int drawnHeight = std::clamp(static_cast<int>(pictureHeight / scale + 1e-6), 1, room);
    const int left = (width - drawnWidth) / 2;
    const int top = (height - drawnHeight - c_labelHeight) / 2;
    layout.picture = {left, top, left + drawnWidth, top + drawnHeight};
    layout.label = {0, top + drawnHeight, width, top + drawnHeight + c_labelHeight};
    return layout;
}

bool CFileDialogPreview::ScalePicture(int width, int height)
{
    int sourceWidth = 0, sourceHeight = 0;
    const uint32_t* pixels = m_picture ? ReadablePixels(m_picture->GetBitmapRef(), sourceWidth, sourceHeight) : nullptr;
    if (!pixels || sourceWidth <= 0 || sourceHeight <= 0)
        return false;
    if (pixels == m_scaledFrom && width == m_scaledWidth && height == m_scaledHeight)
        return true;
    m_scaledFrom = nullptr;
    std::vector<uint32_t> keyed;
    try {
        keyed.assign(pixels, pixels + static_cast<size_t>(sourceWidth) * sourceHeight);
        m_scaled.assign(static_cast<size_t>(width) * height, 0);
    } catch (const std::bad_alloc&) {
        m_scaled.clear();
        return false;
    }
    // Black is keyed out of an opaque picture before scaling, so that it leaves no dark
    // fringe; a picture with alpha keeps its own transparency.
    if (!m_picture->payload.hasAlpha)
        ApplyColorKey(RGB(0, 0, 0), sourceHeight, sourceWidth, keyed.data(), false);
    // An area average: every source pixel counts, where GDI's shrinking stretches drop
    // or combine them.
    CBoxFilter filter;
    if (!ResizePixels(filter, keyed.data(), sourceWidth, sourceHeight, m_scaled.data(), width, height)) {
        m_scaled.clear();
        return false;
    }
    m_scaledFrom = pixels;
    m_scaledWidth = width;
    m_scaledHeight = height;
    return true;
}

void CFileDialogPreview::UpdatePreview()
{
    if (!m_frame || !hwnd)
        return;
    wchar_t path[MAX_PATH] = {};
    const LRESULT length = SendMessageW(m_frame, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
    path[MAX_PATH - 1] = L'\0';
    if (length < 0)
        path[0] = L'\0';
    wcscpy(m_path, path);
    SetTimer(hwnd, c_animationTimer, c_animationPeriodMs, nullptr);
    FreePicture();
    // A folder or a file that is no picture leaves none.
    if (m_path[0])
        LoadImageSource(m_path, m_picture);
    // The template window and the preview control in it.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CFileDialogPreview::FitPreview()
{
    HWND control = PreviewControl();
    if (!control)
        return;
    RECT client, placed;
    GetClientRect(hwnd, &client);
    GetWindowRect(control, &placed);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&placed), 2);
    int height = client.bottom - GetSystemMetrics(SM_CYCAPTION) - placed.top;
    if (height < 0)
        height = 0;
    MoveWindow(control, placed.left, placed.top, placed.right - placed.left, height, TRUE);
}

void CFileDialogPreview::FocusNameBox()
{
    if (!m_frame)
        return;
    // The name box is an edit (edt1) or, in newer dialogs, a combo with an edit (cmb13).
    // Through the dialog, so that it also restores this focus when it is activated again.
    HWND box = GetDlgItem(m_frame, edt1);
    if (!box || !IsWindowVisible(box))
        box = GetDlgItem(m_frame, cmb13);
    if (box && IsWindowVisible(box))
        SendMessageW(m_frame, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
}

void CFileDialogPreview::AnimatePreview()
{
    if (!m_picture || m_picture->kind != t_imageSource::e_frames)
        return;
    if (!m_picture->Frames().Advance(static_cast<int>(GetTickCount() / 10)))
        return;
    HWND control = PreviewControl();
    if (control)
        InvalidateRect(control, nullptr, FALSE);
}

void CFileDialogPreview::DrawPreview(const DRAWITEMSTRUCT& item)
{
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width <= 0 || height <= 0)
        return;
    t_memDC buffer;
    if (!t_memDC::Create(buffer, item.hDC, width, height))
        return;
    const RECT all = {0, 0, width, height};
    FillRect(buffer.dc, &all, GetSysColorBrush(COLOR_BTNFACE));

    int pictureWidth = 0, pictureHeight = 0;
    if (m_path[0] && m_picture &&
        !(m_picture->GetSize(pictureWidth, pictureHeight) && pictureWidth > 0 && pictureHeight > 0)) {
        FreePicture();
    }
    const t_layout layout = Layout(width, height, pictureWidth, pictureHeight);
    const int drawnWidth = layout.picture.right - layout.picture.left;
    const int drawnHeight = layout.picture.bottom - layout.picture.top;
    if (m_path[0] && m_picture && drawnWidth > 0 && drawnHeight > 0) {
        GdiFlush();
        if (ScalePicture(drawnWidth, drawnHeight))
            BlendPixelsDirect(m_scaled.data(), drawnWidth, drawnHeight, 0, 0, drawnWidth, drawnHeight, buffer.Pixels(),
                              width, height, layout.picture.left, layout.picture.top);

        wchar_t label[64];
        const int length = _snwprintf(label, 63, c_sizeLabelFormat, pictureWidth, pictureHeight);
        label[63] = L'\0';
        RECT band = layout.label;
        HFONT font = item.hwndItem ? reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)) : nullptr;
        const HGDIOBJ oldFont = font ? SelectObject(buffer.dc, font) : nullptr;
        SetBkMode(buffer.dc, TRANSPARENT);
        SetTextColor(buffer.dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(buffer.dc, label, length < 0 ? -1 : length, &band, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        if (oldFont)
            SelectObject(buffer.dc, oldFont);
    }
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer.dc, 0, 0, SRCCOPY);
}
