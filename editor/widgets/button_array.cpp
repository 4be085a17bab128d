#include "editor/widgets/button_array.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "editor/framework/editor_messages.h"
#include "editor/framework/wait_cursor.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/file_dialog_preview.h"
#include "editor/widgets/widget_font.h"
#include "editor/widgets/work_folder_file.h"
#include "foundation/core/error_chain.h"
#include "foundation/files/path.h"
#include "graphics/image/image.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/module_instance.h"
#include "graphics/paint/paint_ctx.h"
#include "skin_model/base_info.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/picture_path.h"

namespace {

using n_workFolderFile::ExtensionOf;
using n_workFolderFile::InWorkFolder;
using n_workFolderFile::NameOf;
using n_workFolderFile::SameFile;

const wchar_t c_panelClass[] = L"IMEKavrel";
const wchar_t c_rowClass[] = L"IMEKavrel_BTN";
const wchar_t c_appCaption[] = L"栖鹭拼音输入法皮肤编辑器";
const wchar_t c_cannotOpen[] = L"无法打开图片";
const int c_comboDropHeight = 400;
const int c_spinMax = 999;
// Attempts at a free "#n" name before normalising gives up.
const int c_maxNameTries = 10000;

ButtonArray::t_messageBoxFn g_messageBox = &MessageBoxW;

HWND MakeControl(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, DWORD exStyle, int id)
{
    const HWND control =
        CreateWindowExW(exStyle, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleInstance(), nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonArray::SharedFont()), FALSE);
    return control;
}

void MoveChild(HWND parent, int id, int x, int y, int width, int height)
{
    const HWND child = GetDlgItem(parent, id);
    if (child)
        MoveWindow(child, x, y, width, height, TRUE);
}

// The other picture format that may sit beside a picture of the same base name.
const wchar_t* TwinExtensionOf(const wchar_t* extension)
{
    return _wcsicmp(extension, L".png") == 0 ? L".gif" : L".png";
}

// A name of the work folder that may be read, copied or deleted: a name from a skin
// package never reaches a file outside the skin.
bool IsWorkFolderName(const wchar_t* name)
{
    const wchar_t* work = BaseInfo::WorkFolder();
    return name && name[0] && work && work[0] && n_picturePath::StaysInside(name);
}

int ReadDecimal(HWND parent, int id)
{
    wchar_t text[16] = {};
    GetDlgItemTextW(parent, id, text, 16);
    return static_cast<int>(wcstol(text, nullptr, 10));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Shared services.

HFONT ButtonArray::SharedFont() { return n_widgetFont::Shared(); }

ButtonArray::t_messageBoxFn ButtonArray::SetMessageBoxHook(t_messageBoxFn fn)
{
    const t_messageBoxFn old = g_messageBox;
    g_messageBox = fn ? fn : &MessageBoxW;
    return old;
}

int ButtonArray::ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags)
{
    return g_messageBox(owner, text, caption, flags);
}

// ---------------------------------------------------------------------------------------
// Row.

ButtonArray::t_item::t_item(int key, const wchar_t* caption, bool notify, bool clearable)
    : m_key(key), m_caption(caption ? caption : L""), m_notify(notify), m_clearable(clearable), m_next(nullptr),
      m_variant(0), m_picture(nullptr), m_gdip(false), m_pictureButton(nullptr)
{
    m_file[0] = L'\0';
}

ButtonArray::t_item::~t_item()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    FreePicture();
}

bool ButtonArray::t_item::CreateEditor(HWND parent, HINSTANCE module)
{
    if (!Create(c_rowClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent, module))
        return false;
    MakeControl(m_hwnd, L"STATIC", m_caption.c_str(), 0, 0, c_idCaption);
    m_pictureButton = MakeControl(m_hwnd, L"BUTTON", L"", BS_OWNERDRAW, 0, c_idPicture);
    MakeControl(m_hwnd, L"BUTTON", L"导入..", BS_PUSHBUTTON, 0, c_idImport);
    if (m_clearable)
        MakeControl(m_hwnd, L"BUTTON", L"清除", BS_PUSHBUTTON, 0, c_idClear);
    return true;
}

void ButtonArray::t_item::Place(int x, int y, int width)
{
    MoveWindow(m_hwnd, x, y, width, c_rowHeight, TRUE);
    const int left = 4;
    const int inner = width - 8;
    const int c = left + (inner - c_rowWidth) / 2;
    MoveChild(m_hwnd, c_idCaption, c + 4, 6, 80, 24);
    MoveChild(m_hwnd, c_idPicture, c + 88, 0, 24, 24);
    MoveChild(m_hwnd, c_idImport, c + 116, 0, 48, 24);
    MoveChild(m_hwnd, c_idClear, c + 168, 0, 48, 24);
}

void ButtonArray::t_item::SetProperty(const wchar_t* key, int variant, const wchar_t* expectedBase)
{
    m_propertyKey.Assign(key ? key : L"");
    m_variant = variant;
    m_expectedBase.Assign(expectedBase ? expectedBase : L"");
}

void ButtonArray::t_item::SetFileName(const wchar_t* name)
{
    wcsncpy(m_file, name ? name : L"", c_fileChars - 1);
    m_file[c_fileChars - 1] = L'\0';
}

void ButtonArray::t_item::FreePicture() { m_picture.reset(); }

int ButtonArray::t_item::LoadPicture(bool notify)
{
    if (!ReadPicture(notify))
        ReportUnreadable();
    return m_picture ? 0 : -1;
}

bool ButtonArray::t_item::ReadPicture(bool notify)
{
    FreePicture();
    if (!m_file[0]) {
        if (m_pictureButton)
            ShowWindow(m_pictureButton, SW_HIDE);
        if (notify && m_notify)
            SendToParent(c_msgButtonPictureChanged, reinterpret_cast<WPARAM>(m_file), 0);
        return true;
    }
    const t_str path = InWorkFolder(m_file);
    m_gdip = IMESkin::Instance()->Display().useGdip;
    const bool readable = IsWorkFolderName(m_file) && LoadImageSource(path.c_str(), m_picture);
    if (m_pictureButton) {
        SetWindowPos(m_pictureButton, nullptr, 0, 0, 24, 24, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
        InvalidateRect(m_pictureButton, nullptr, TRUE);
    }
    if (notify && m_notify)
        SendToParent(c_msgButtonPictureChanged, reinterpret_cast<WPARAM>(m_file), 0);
    return readable;
}

void ButtonArray::t_item::ReportUnreadable() { ShowMessage(m_hwnd, InWorkFolder(m_file).c_str(), nullptr, MB_OK); }

void ButtonArray::t_item::DrawPicture(const DRAWITEMSTRUCT& item)
{
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    int width = 0, height = 0;
    if (!m_picture || !m_picture->GetSize(width, height) || width <= 0 || height <= 0)
        return;
    // The picture blends over the button face; the GDI+ flag only changes how the
    // picture was decoded, both draw through the same blending.
    t_image picture;
    picture.Init();
    picture.SetPart(m_picture.get(), 0, 0, 0, 0, width, height, t_image::e_stretch, t_image::e_stretch, false);
    t_paintCtx context(item.hDC, false, nullptr, false);
    picture.Draw(context, area.left, area.top, area.right - area.left, area.bottom - area.top, 255);
    context.End();
}

void ButtonArray::t_item::Import()
{
    CFileDialogPreview dialog;
    dialog.Configure(GetModuleInstance(), c_dialogFilePreview, c_filePreviewPicture);
    if (!dialog.ChooseOpenFile(m_hwnd, GetImageFilter(), nullptr))
        return;
    ImportFile(dialog.GetPath());
}

void ButtonArray::t_item::ImportFile(const wchar_t* chosen)
{
    if (!chosen)
        return;
    t_errorChain errors;
    bool copied = true;
    bool readable;
    {
        // Copying, decoding and the preview's reload of a large picture take a while.
        WaitCursor wait(m_hwnd);
        SetFileName(m_expectedBase.c_str());
        // The chosen file needs a name and an extension.
        const wchar_t* extension = ExtensionOf(chosen);
        const wchar_t* name = NameOf(chosen);
        if (name[0] && extension && extension != name && extension[1]) {
            t_str fileName(m_expectedBase.c_str());
            fileName.Append(extension);
            SetFileName(fileName.c_str());
            const t_str target = InWorkFolder(m_file);
            copied = IsWorkFolderName(m_file) &&
                     (SameFile(chosen, target.c_str()) || t_path(chosen).Copy(errors, target.c_str(), false));
            // A failed copy keeps the twin: it may be the only picture of the state left.
            if (copied) {
                t_str twin(m_expectedBase.c_str());
                twin.Append(TwinExtensionOf(extension));
                t_path(InWorkFolder(twin.c_str())).DeleteQuiet(false);
            }
        }
        readable = ReadPicture(true);
        SendToParent(c_msgButtonStateEdited, 1, 0);
    }
    if (!copied)
        errors.ShowReport(m_hwnd, nullptr);
    if (!readable)
        ReportUnreadable();
    if (!m_picture)
        ShowMessage(m_hwnd, c_cannotOpen, c_appCaption, MB_OK);
}

void ButtonArray::t_item::Clear()
{
    if (IsWorkFolderName(m_file))
        t_path(InWorkFolder(m_file)).DeleteQuiet(false);
    m_file[0] = L'\0';
    LoadPicture(true);
    SendToParent(c_msgButtonStateEdited, 1, 0);
}

bool ButtonArray::t_item::NormaliseFileName()
{
    if (!m_file[0] || m_expectedBase.IsEmpty())
        return false;
    const wchar_t* extension = ExtensionOf(m_file);
    const int baseLength = static_cast<int>(extension ? extension - m_file : wcslen(m_file));
    if (baseLength == m_expectedBase.Length() && _wcsnicmp(m_file, m_expectedBase.c_str(), baseLength) == 0)
        return false;
    if (!IsWorkFolderName(m_file))
        return false;
    const wchar_t* ext = extension ? extension : L"";
    t_str target(m_expectedBase.c_str());
    target.Append(ext);
    for (int n = 0; t_path(InWorkFolder(target.c_str())).IsFile(); ++n) {
        if (n >= c_maxNameTries)
            return false;
        target.Format(L"%ls#%d%ls", m_expectedBase.c_str(), n, ext);
    }
    t_errorChain errors;
    if (!t_path(InWorkFolder(m_file)).Copy(errors, InWorkFolder(target.c_str()).c_str(), true)) {
        errors.ShowReport(m_hwnd, nullptr);
        return false;
    }
    SetFileName(target.c_str());
    return true;
}

void ButtonArray::t_item::LoadFromModel(BtnInfo& info)
{
    t_str value;
    if (!info.GetStringByKey(m_propertyKey.c_str(), m_variant, value))
        value.Clear();
    SetFileName(value.c_str());
    if (NormaliseFileName())
        info.SetStringByKey(m_propertyKey.c_str(), m_variant, m_file);
    LoadPicture(false);
}

void ButtonArray::t_item::StoreToModel(BtnInfo& info) const
{
    info.SetStringByKey(m_propertyKey.c_str(), m_variant, m_file[0] ? m_file : L"");
}

LRESULT ButtonArray::t_item::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == c_idImport)
                Import();
            else if (LOWORD(wParam) == c_idClear)
                Clear();
        }
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == c_idPicture && item) {
            DrawPicture(*item);
            return TRUE;
        }
        break;
    }
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        m_pictureButton = nullptr;
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Group.

ButtonArray::t_list::t_list(int key, const wchar_t* caption)
    : m_key(key), m_caption(caption ? caption : L""), m_rows(nullptr), m_next(nullptr)
{}

ButtonArray::t_list::~t_list()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    while (m_rows) {
        t_item* next = m_rows->m_next;
        delete m_rows;
        m_rows = next;
    }
}

ButtonArray::t_item* ButtonArray::t_list::FindRow(int key) const
{
    if (key == -1)
        return nullptr;
    for (t_item* row = m_rows; row; row = row->m_next) {
        if (row->m_key == key)
            return row;
    }
    return nullptr;
}

void ButtonArray::t_list::AppendRow(t_item* row)
{
    t_item** end = &m_rows;
    while (*end)
        end = &(*end)->m_next;
    *end = row;
}

bool ButtonArray::t_list::CreateEditor(HWND parent, HINSTANCE module)
{
    if (!Create(c_panelClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent, module))
        return false;
    MakeControl(m_hwnd, L"STATIC", m_caption.c_str(), 0, 0, c_idCaption);
    bool ok = true;
    for (t_item* row = m_rows; row; row = row->m_next)
        ok = row->CreateEditor(m_hwnd, module) && ok;
    return ok;
}

void ButtonArray::t_list::GetContentSize(int& width, int& height) const
{
    width = 0;
    height = c_groupCaptionHeight;
    for (t_item* row = m_rows; row; row = row->m_next) {
        width = std::max(width, c_rowWidth);
        height += c_rowHeight + 2;
    }
    width += 8;
}

void ButtonArray::t_list::Place(int x, int y, int width)
{
    int contentWidth = 0, height = 0;
    GetContentSize(contentWidth, height);
    MoveWindow(m_hwnd, x, y, width, height, TRUE);
    MoveChild(m_hwnd, c_idCaption, 4, 4, width - 8, 24);
    int rowY = c_groupCaptionHeight;
    for (t_item* row = m_rows; row; row = row->m_next) {
        row->Place(0, rowY, width);
        rowY += c_rowHeight + 2;
    }
}

void ButtonArray::t_list::OnPaint(HDC dc)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT ButtonArray::t_list::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case c_msgButtonPictureChanged:
        return SendToParent(message, wParam, lParam + m_key);
    case c_msgButtonStateEdited:
        return SendToParent(message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Panel.

ButtonArray::ButtonArray(int editorIndex, int buttonIndex, int buttonType)
    : m_editorIndex(editorIndex), m_buttonIndex(buttonIndex), m_buttonType(buttonType), m_created(false),
      m_groups(nullptr), m_building(false), m_placed{0, 0, 0, 0}, m_scrollPos(0), m_module(nullptr)
{}

ButtonArray::~ButtonArray()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    while (m_groups) {
        t_list* next = m_groups->m_next;
        delete m_groups;
        m_groups = next;
    }
}

bool ButtonArray::AddGroup(int key, const wchar_t* caption)
{
    t_list** end = &m_groups;
    while (*end)
        end = &(*end)->m_next;
    *end = new t_list(key, caption);
    return true;
}

ButtonArray::t_list* ButtonArray::FindGroup(int key) const
{
    for (t_list* group = m_groups; group; group = group->m_next) {
        if (group->m_key == key)
            return group;
    }
    return nullptr;
}

ButtonArray::t_item* ButtonArray::FindRow(int groupKey, int rowKey) const
{
    const t_list* group = FindGroup(groupKey);
    return group ? group->FindRow(rowKey) : nullptr;
}

bool ButtonArray::AddRow(int groupKey, int rowKey, const wchar_t* caption, bool notify, bool clearable)
{
    t_list* group = FindGroup(groupKey);
    if (!group)
        return false;
    group->AppendRow(new t_item(rowKey, caption, notify, clearable));
    return true;
}

bool ButtonArray::GetRowFile(int groupKey, int rowKey, wchar_t* out, int capacity) const
{
    const t_item* row = FindRow(groupKey, rowKey);
    if (!row || !out || capacity <= 0)
        return false;
    wcsncpy(out, row->m_file, static_cast<size_t>(capacity - 1));
    out[capacity - 1] = L'\0';
    return true;
}

bool ButtonArray::SetRowFile(int groupKey, int rowKey, const wchar_t* text)
{
    t_item* row = FindRow(groupKey, rowKey);
    if (!row)
        return false;
    row->SetFileName(text);
    return true;
}

bool ButtonArray::SetRowProperty(int groupKey, int rowKey, const wchar_t* propertyKey, int variant,
                                 const wchar_t* expectedBase)
{
    t_item* row = FindRow(groupKey, rowKey);
    if (!row)
        return false;
    row->SetProperty(propertyKey, variant, expectedBase);
    return true;
}

bool ButtonArray::CreateEditor(DWORD style, HWND parent, HINSTANCE module)
{
    m_created = true;
    m_module = module;
    if (!Create(c_panelClass, nullptr, style | WS_CHILD, 0, 0, 0, 0, 0, parent, module))
        return false;
    bool ok = CreateExtra(module);
    for (t_list* group = m_groups; group; group = group->m_next)
        ok = group->CreateEditor(m_hwnd, module) && ok;
    return ok;
}

void ButtonArray::GetContentSize(int& width, int& height) const
{
    width = 0;
    height = 4;
    for (const t_list* group = m_groups; group; group = group->m_next) {
        int groupWidth = 0, groupHeight = 0;
        group->GetContentSize(groupWidth, groupHeight);
        width = std::max(width, groupWidth);
        height += groupHeight + 2;
    }
    width += 8;
    height += ExtraHeight();
}

void ButtonArray::SetPos(int, int) { m_building = false; }

void ButtonArray::ShowExtra(bool) {}

void ButtonArray::LoadFromModel(BtnInfo& info)
{
    if (!m_created)
        return;
    for (t_list* group = m_groups; group; group = group->m_next) {
        for (t_item* row = group->m_rows; row; row = row->m_next)
            row->LoadFromModel(info);
    }
}

void ButtonArray::StoreToModel(BtnInfo& info)
{
    if (!m_created)
        return;
    for (t_list* group = m_groups; group; group = group->m_next) {
        for (t_item* row = group->m_rows; row; row = row->m_next)
            row->StoreToModel(info);
    }
}

void ButtonArray::Show(int command)
{
    ShowWindow(m_hwnd, command);
    ShowExtra(command != SW_HIDE);
}

int ButtonArray::Place(const RECT& rect)
{
    if (EqualRect(&rect, &m_placed))
        return 0;
    m_placed = rect;
    // Moving sends WM_SIZE, which resets the scroll position before the layout.
    MoveWindow(m_hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    RECT client;
    GetClientRect(m_hwnd, &client);
    RECT inner = client;
    inner.left += 4;
    inner.right -= 4;
    int y = client.top;
    LayoutExtra(inner, y);
    for (t_list* group = m_groups; group; group = group->m_next) {
        int groupWidth = 0, groupHeight = 0;
        group->GetContentSize(groupWidth, groupHeight);
        group->Place(inner.left, y + 1, inner.right - inner.left);
        y += groupHeight + 2;
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
    return y + 4;
}

void ButtonArray::OnSizeChanged()
{
    static thread_local bool inside = false;
    if (inside || !m_hwnd)
        return;
    inside = true;
    ScrollTo(0);
    RECT client;
    GetClientRect(m_hwnd, &client);
    int width = 0, height = 0;
    GetContentSize(width, height);
    const LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    if (client.bottom < height) {
        SetWindowLongPtrW(m_hwnd, GWL_STYLE, style | WS_VSCROLL);
        SCROLLINFO info = {
            sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, height, static_cast<UINT>(client.bottom), 0, 0};
        SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
    } else {
        SetWindowLongPtrW(m_hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL));
    }
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    inside = false;
}

void ButtonArray::ScrollTo(int position)
{
    if (!m_hwnd)
        return;
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    if (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VSCROLL) {
        GetScrollInfo(m_hwnd, SB_VERT, &info);
        const int last = std::max(0, info.nMax - static_cast<int>(info.nPage));
        position = std::max(0, std::min(position, last));
    } else {
        position = 0;
    }
    if (position == m_scrollPos)
        return;
    ScrollWindow(m_hwnd, 0, m_scrollPos - position, nullptr, nullptr);
    m_scrollPos = position;
    SetScrollPos(m_hwnd, SB_VERT, position, TRUE);
    UpdateWindow(m_hwnd);
}

LRESULT ButtonArray::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        OnSizeChanged();
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(window, SB_VERT, &info);
        int position = m_scrollPos;
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            position -= c_scrollLine;
            break;
        case SB_LINEDOWN:
            position += c_scrollLine;
            break;
        case SB_PAGEUP:
            position -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            position += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return 0;
        }
        ScrollTo(position);
        return 0;
    }
    case WM_MOUSEWHEEL:
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL)
            ScrollTo(m_scrollPos + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -c_scrollLine : c_scrollLine));
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case c_msgButtonPictureChanged:
        return SendToParent(message, wParam, MAKELPARAM(LOWORD(lParam), m_editorIndex));
    case c_msgButtonStateEdited:
        return SendToParent(message, wParam, lParam);
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

HWND ButtonArray::CreateLabel(const wchar_t* text, int id) { return MakeControl(m_hwnd, L"STATIC", text, 0, 0, id); }

HWND ButtonArray::CreateCheckBox(const wchar_t* text, int id)
{
    return MakeControl(m_hwnd, L"BUTTON", text, BS_AUTOCHECKBOX, 0, id);
}

HWND ButtonArray::CreateNumberEdit(int id)
{
    const HWND edit = MakeControl(m_hwnd, L"EDIT", L"", WS_BORDER | ES_NUMBER, 0, id);
    if (edit)
        SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    return edit;
}

HWND ButtonArray::CreateTextEdit(int id)
{
    return MakeControl(m_hwnd, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, 0, id);
}

HWND ButtonArray::CreateSpin(int id, bool alignRight)
{
    const DWORD style = UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS | (alignRight ? UDS_ALIGNRIGHT : 0);
    const HWND spin = MakeControl(m_hwnd, UPDOWN_CLASSW, L"", style, WS_EX_NOPARENTNOTIFY, id);
    if (spin)
        SendMessageW(spin, UDM_SETRANGE32, 0, c_spinMax);
    return spin;
}

HWND ButtonArray::CreateComboList(int id)
{
    return MakeControl(m_hwnd, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, id);
}

// ---------------------------------------------------------------------------------------
// Alignment.

namespace {

const wchar_t* const c_areaEntries[] = {L"左上", L"上方", L"右上", L"左方", L"正中",
                                        L"右方", L"左下", L"下方", L"右下"};
const wchar_t* const c_verticalEntries[] = {L"居中", L"对齐上边", L"对齐下边"};
const wchar_t* const c_horizontalEntries[] = {L"居中", L"对齐左边", L"对齐右边"};
const wchar_t* const c_marginCaptions[] = {L"距上边至少", L"距下边至少", L"距左边至少", L"距右边至少"};

// Align values: four margins, the vertical and the horizontal pair, area, target.
enum {
    c_alignMarginFirst = 0,
    c_alignVertical = 4,
    c_alignHorizontal = 6,
    c_alignArea = 8,
    c_alignTarget = 9,
};

template <size_t n>
void FillCombo(HWND combo, const wchar_t* const (&entries)[n])
{
    for (const wchar_t* entry : entries)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

}  // namespace

ButtonArrayComp::ButtonArrayComp(int editorIndex, int buttonIndex, int buttonType)
    : ButtonArray(editorIndex, buttonIndex, buttonType)
{}

void ButtonArrayComp::SetPropertyKey(const wchar_t* key) { m_propertyKey.Assign(key ? key : L""); }

int ButtonArrayComp::PairToEntry(int first, int second)
{
    if (first == 1 && second == 0)
        return 1;
    if (first == 0 && second == 2)
        return 2;
    return 0;
}

void ButtonArrayComp::EntryToPair(int entry, int& first, int& second)
{
    first = entry == 1 ? 1 : 0;
    second = entry == 2 ? 2 : 0;
}

bool ButtonArrayComp::CreateExtra(HINSTANCE)
{
    CreateLabel(L"对齐窗口", c_idTargetLabel);
    FillTargets(CreateComboList(c_idTarget));
    CreateLabel(L"对齐区域", c_idAreaLabel);
    FillCombo(CreateComboList(c_idArea), c_areaEntries);
    CreateLabel(L"竖直方向对齐方式", c_idVerticalLabel);
    FillCombo(CreateComboList(c_idVertical), c_verticalEntries);
    CreateLabel(L"水平方向对齐方式", c_idHorizontalLabel);
    FillCombo(CreateComboList(c_idHorizontal), c_horizontalEntries);
    bool ok = true;
    for (int margin = 0; margin < 4; ++margin) {
        CreateLabel(c_marginCaptions[margin], MarginLabelId(margin));
        // The spin takes the edit created just before it as its buddy.
        ok = CreateNumberEdit(MarginEditId(margin)) && ok;
        ok = CreateSpin(MarginSpinId(margin), false) && ok;
    }
    return ok;
}

void ButtonArrayComp::LayoutExtra(const RECT& rect, int& y)
{
    (void)rect;
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int width = client.right - client.left;
    MoveChild(m_hwnd, c_idTargetLabel, 28, y + 4, 50, 24);
    MoveChild(m_hwnd, c_idTarget, 78, y, 80, c_comboDropHeight);
    int areaX = width / 2;
    if (areaX < 169)
        areaX = 168;
    MoveChild(m_hwnd, c_idAreaLabel, areaX, y + 4, 50, 24);
    MoveChild(m_hwnd, c_idArea, areaX + 50, y, 80, c_comboDropHeight);
    const int labels[2] = {c_idVerticalLabel, c_idHorizontalLabel};
    const int lists[2] = {c_idVertical, c_idHorizontal};
    for (int line = 0; line < 2; ++line) {
        y += 28;
        MoveChild(m_hwnd, labels[line], 4, y + 4, 100, 24);
        MoveChild(m_hwnd, lists[line], 104, y, 60, c_comboDropHeight);
        const int offsets[2] = {164, 279};
        for (int side = 0; side < 2; ++side) {
            const int d = offsets[side];
            const int margin = line * 2 + side;
            MoveChild(m_hwnd, MarginLabelId(margin), d + 10, y + 4, 60, 24);
            MoveChild(m_hwnd, MarginEditId(margin), d + 70, y, 30, 18);
            MoveChild(m_hwnd, MarginSpinId(margin), d + 100, y - 3, 15, 24);
        }
    }
    y += 28;
}

void ButtonArrayComp::ShowExtra(bool) {}

void ButtonArrayComp::LoadFromModel(BtnInfo& info)
{
    if (!m_created)
        return;
    m_building = true;
    ButtonArray::LoadFromModel(info);
    int values[10] = {};
    for (int i = 0; i < 10; ++i) {
        if (!info.GetIntByKey(m_propertyKey.c_str(), i, values[i]))
            values[i] = 0;
    }
    for (int margin = 0; margin < 4; ++margin)
        SendDlgItemMessageW(m_hwnd, MarginSpinId(margin), UDM_SETPOS32, 0, values[c_alignMarginFirst + margin]);
    SendDlgItemMessageW(m_hwnd, c_idVertical, CB_SETCURSEL,
                        PairToEntry(values[c_alignVertical], values[c_alignVertical + 1]), 0);
    SendDlgItemMessageW(m_hwnd, c_idHorizontal, CB_SETCURSEL,
                        PairToEntry(values[c_alignHorizontal], values[c_alignHorizontal + 1]), 0);
    // A value the list does not hold leaves no selection, and the store keeps the value.
    SendDlgItemMessageW(m_hwnd, c_idArea, CB_SETCURSEL, static_cast<WPARAM>(values[c_alignArea] - 1), 0);
    SendDlgItemMessageW(m_hwnd, c_idTarget, CB_SETCURSEL, static_cast<WPARAM>(values[c_alignTarget]), 0);
    m_building = false;
}

void ButtonArrayComp::StoreToModel(BtnInfo& info)
{
    if (!m_created)
        return;
    ButtonArray::StoreToModel(info);
    const wchar_t* key = m_propertyKey.c_str();
    for (int margin = 0; margin < 4; ++margin) {
        const int value = static_cast<int>(SendDlgItemMessageW(m_hwnd, MarginSpinId(margin), UDM_GETPOS32, 0, 0));
        info.SetIntByKey(key, c_alignMarginFirst + margin, value);
    }
    const int pairs[2][2] = {{c_idVertical, c_alignVertical}, {c_idHorizontal, c_alignHorizontal}};
    for (const auto& pair : pairs) {
        const LRESULT entry = SendDlgItemMessageW(m_hwnd, pair[0], CB_GETCURSEL, 0, 0);
        int first = 0, second = 0;
        EntryToPair(entry == CB_ERR ? 0 : static_cast<int>(entry), first, second);
        info.SetIntByKey(key, pair[1], first);
        info.SetIntByKey(key, pair[1] + 1, second);
    }
    const LRESULT area = SendDlgItemMessageW(m_hwnd, c_idArea, CB_GETCURSEL, 0, 0);
    if (area != CB_ERR)
        info.SetIntByKey(key, c_alignArea, static_cast<int>(area) + 1);
    const LRESULT target = SendDlgItemMessageW(m_hwnd, c_idTarget, CB_GETCURSEL, 0, 0);
    if (target != CB_ERR)
        info.SetIntByKey(key, c_alignTarget, static_cast<int>(target));
}

void ButtonArrayComp::OnCommand(WPARAM wParam, LPARAM)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    bool changed = false;
    if (code == EN_CHANGE) {
        for (int margin = 0; margin < 4; ++margin)
            changed = changed || id == MarginEditId(margin);
    } else if (code == CBN_SELCHANGE) {
        changed = id == c_idTarget || id == c_idArea || id == c_idVertical || id == c_idHorizontal;
    }
    if (changed && !m_building)
        SendToParent(c_msgButtonPlacementChanged, static_cast<WPARAM>(m_editorIndex), 0);
}

void ButtonArrayFull::FillTargets(HWND combo)
{
    static const wchar_t* const entries[] = {L"整个窗口", L"写作窗口", L"候选窗口"};
    FillCombo(combo, entries);
}

void ButtonArraySep::FillTargets(HWND combo)
{
    static const wchar_t* const entries[] = {L"整个窗口"};
    FillCombo(combo, entries);
}

// ---------------------------------------------------------------------------------------
// Position.

ButtonArrayStatus::ButtonArrayStatus(int editorIndex, int buttonIndex, int buttonType)
    : ButtonArray(editorIndex, buttonIndex, buttonType)
{}

void ButtonArrayStatus::SetPropertyKey(const wchar_t* key) { m_propertyKey.Assign(key ? key : L""); }

bool ButtonArrayStatus::CreateExtra(HINSTANCE)
{
    CreateLabel(L"X = ", c_idXLabel);
    bool ok = CreateNumberEdit(c_idXEdit) != nullptr;
    ok = CreateSpin(c_idXSpin, true) && ok;
    CreateLabel(L"Y = ", c_idYLabel);
    ok = CreateNumberEdit(c_idYEdit) && ok;
    ok = CreateSpin(c_idYSpin, true) && ok;
    return ok;
}

void ButtonArrayStatus::LayoutExtra(const RECT&, int& y)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int x = (client.right - client.left - 176) / 2;
    const int ids[2][3] = {{c_idXLabel, c_idXEdit, c_idXSpin}, {c_idYLabel, c_idYEdit, c_idYSpin}};
    for (int i = 0; i < 2; ++i) {
        const int left = x + i * 96;
        MoveChild(m_hwnd, ids[i][0], left, y + 4, 32, 20);
        MoveChild(m_hwnd, ids[i][1], left + 32, y, 32, 20);
        MoveChild(m_hwnd, ids[i][2], left + 64, y, 16, 20);
    }
    y += 28;
}

void ButtonArrayStatus::ShowExtra(bool) {}

void ButtonArrayStatus::LoadFromModel(BtnInfo& info)
{
    if (!m_created)
        return;
    m_building = true;
    ButtonArray::LoadFromModel(info);
    const t_item* first = m_groups ? m_groups->FirstRow() : nullptr;
    static const wchar_t empty[] = L"";
    SendToParent(c_msgButtonEditorLoaded, reinterpret_cast<WPARAM>(first ? first->FileName() : empty),
                 MAKELPARAM(1, m_editorIndex));
    int x = 0, y = 0;
    if (!info.GetIntByKey(m_propertyKey.c_str(), 0, x))
        x = 0;
    if (!info.GetIntByKey(m_propertyKey.c_str(), 1, y))
        y = 0;
    SendDlgItemMessageW(m_hwnd, c_idXSpin, UDM_SETPOS32, 0, x);
    SendDlgItemMessageW(m_hwnd, c_idYSpin, UDM_SETPOS32, 0, y);
    m_building = false;
}

void ButtonArrayStatus::StoreToModel(BtnInfo& info)
{
    if (!m_created)
        return;
    ButtonArray::StoreToModel(info);
    info.SetIntByKey(m_propertyKey.c_str(), 0,
                     static_cast<int>(SendDlgItemMessageW(m_hwnd, c_idXSpin, UDM_GETPOS32, 0, 0)));
    info.SetIntByKey(m_propertyKey.c_str(), 1,
                     static_cast<int>(SendDlgItemMessageW(m_hwnd, c_idYSpin, UDM_GETPOS32, 0, 0)));
}

void ButtonArrayStatus::SetPos(int x, int y)
{
    m_building = true;
    wchar_t text[16];
    swprintf(text, 16, L"%d", x);
    SetDlgItemTextW(m_hwnd, c_idXEdit, text);
    swprintf(text, 16, L"%d", y);
    SetDlgItemTextW(m_hwnd, c_idYEdit, text);
    m_building = false;
}

void ButtonArrayStatus::OnCommand(WPARAM wParam, LPARAM)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != EN_CHANGE || (id != c_idXEdit && id != c_idYEdit) || m_building)
        return;
    const int x = ReadDecimal(m_hwnd, c_idXEdit);
    const int y = ReadDecimal(m_hwnd, c_idYEdit);
    SendToParent(c_msgButtonPlacementChanged, static_cast<WPARAM>(m_editorIndex), MAKELPARAM(x, y));
}

// ---------------------------------------------------------------------------------------
// Web button.

template <class t_base>
ButtonArrayWeb<t_base>::ButtonArrayWeb(int editorIndex, int buttonIndex, int buttonType)
    : t_base(editorIndex, buttonIndex, buttonType)
{}

template <class t_base>
bool ButtonArrayWeb<t_base>::CreateExtra(HINSTANCE module)
{
    bool ok = t_base::CreateExtra(module);
    ok = this->CreateCheckBox(L"单独设置网址", c_idUrlCheck) && ok;
    ok = this->CreateTextEdit(c_idUrlEdit) && ok;
    ok = this->CreateCheckBox(L"单独设置提示", c_idHintCheck) && ok;
    ok = this->CreateTextEdit(c_idHintEdit) && ok;
    return ok;
}

template <class t_base>
void ButtonArrayWeb<t_base>::LayoutExtra(const RECT& rect, int& y)
{
    t_base::LayoutExtra(rect, y);
    RECT client;
    GetClientRect(this->m_hwnd, &client);
    const int width = client.right - client.left;
    const int lines[2][2] = {{c_idUrlCheck, c_idUrlEdit}, {c_idHintCheck, c_idHintEdit}};
    for (const auto& line : lines) {
        MoveChild(this->m_hwnd, line[0], 4, y, 100, 24);
        MoveChild(this->m_hwnd, line[1], 104, y + 3, width - 108, 18);
        y += 28;
    }
}

template <class t_base>
void ButtonArrayWeb<t_base>::ShowExtra(bool show)
{
    t_base::ShowExtra(show);
}

template <class t_base>
void ButtonArrayWeb<t_base>::LoadFromModel(BtnInfo& info)
{
    if (!this->m_created)
        return;
    t_base::LoadFromModel(info);
    this->m_building = true;
    const int properties[2][3] = {{c_propUrl, c_idUrlCheck, c_idUrlEdit}, {c_propHint, c_idHintCheck, c_idHintEdit}};
    for (const auto& line : properties) {
        t_str key, value;
        if (!MakePropertyKey(key, this->m_buttonIndex, this->m_buttonType, line[0]) ||
            !info.GetStringByKey(key.c_str(), 0, value))
            value.Clear();
        value.Trim(L" ");
        CheckDlgButton(this->m_hwnd, line[1], value.IsEmpty() ? BST_UNCHECKED : BST_CHECKED);
        SetDlgItemTextW(this->m_hwnd, line[2], value.c_str());
    }
    this->m_building = false;
}

template <class t_base>
void ButtonArrayWeb<t_base>::StoreToModel(BtnInfo& info)
{
    if (!this->m_created)
        return;
    t_base::StoreToModel(info);
    const int properties[2][3] = {{c_propUrl, c_idUrlCheck, c_idUrlEdit}, {c_propHint, c_idHintCheck, c_idHintEdit}};
    for (const auto& line : properties) {
        t_str key, value;
        if (!MakePropertyKey(key, this->m_buttonIndex, this->m_buttonType, line[0]))
            continue;
        if (IsDlgButtonChecked(this->m_hwnd, line[1]) == BST_CHECKED) {
            wchar_t text[MAX_PATH] = {};
            GetDlgItemTextW(this->m_hwnd, line[2], text, MAX_PATH);
            value.Assign(text);
            value.Trim(L" ");
        }
        info.SetStringByKey(key.c_str(), 0, value.c_str());
    }
}

template <class t_base>
void ButtonArrayWeb<t_base>::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == c_idUrlCheck || id == c_idUrlEdit || id == c_idHintCheck || id == c_idHintEdit) {
        // The address and hint are not in the preview: the page only passes the change on.
        this->SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_modifiedOnly, 0), 0);
        return;
    }
    t_base::OnCommand(wParam, lParam);
}

template class ButtonArrayWeb<ButtonArrayStatus>;
template class ButtonArrayWeb<ButtonArrayFull>;
template class ButtonArrayWeb<ButtonArraySep>;

// ---------------------------------------------------------------------------------------

ButtonArray* CreateButtonArray(int windowKind, int editorIndex, int buttonIndex, int buttonType)
{
    const bool web = buttonType == c_btnBuiltIn && buttonIndex == c_btnWebpage;
    if (windowKind == c_arrayWindowStatus) {
        if (web)
            return new ButtonArrayWeb<ButtonArrayStatus>(editorIndex, buttonIndex, buttonType);
        return new ButtonArrayStatus(editorIndex, buttonIndex, buttonType);
    }
    if (windowKind == c_arrayWindowHorizontalCombined || windowKind == c_arrayWindowVerticalCombined) {
        if (web)
            return new ButtonArrayWeb<ButtonArrayFull>(editorIndex, buttonIndex, buttonType);
        return new ButtonArrayFull(editorIndex, buttonIndex, buttonType);
    }
    if (web)
        return new ButtonArrayWeb<ButtonArraySep>(editorIndex, buttonIndex, buttonType);
    return new ButtonArraySep(editorIndex, buttonIndex, buttonType);
}
