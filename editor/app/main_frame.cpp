#include "editor/app/main_frame.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cwchar>

#include "editor/framework/editor_messages.h"
#include "editor/framework/spliter.h"
#include "editor/framework/wait_cursor.h"
#include "editor/pages/property_view.h"
#include "editor/pages/skin_type_view.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/extra_panels.h"
#include "editor/widgets/file_dialog_preview.h"
#include "foundation/core/error_chain.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/ime_skin.h"
#include "skin_model/zip_handler.h"

namespace {
const wchar_t c_productTitle[] = L"栖鹭拼音输入法皮肤编辑器";
const wchar_t c_newSkinTitle[] = L"新建皮肤方案";
const wchar_t c_packageFilter[] = L"栖鹭输入法皮肤文件(*.vsf)\0*.vsf\0";
const wchar_t c_pngFilter[] = L"png文件(*.png)\0*.png\0";
const wchar_t c_packageExtension[] = L".vsf";
const wchar_t c_pngExtension[] = L".png";
const int c_titleChars = 520;
const int c_nameChars = MAX_PATH - 1;
// How long a second start waits for the running editor to take its package.
const UINT c_openRequestTimeoutMs = 5000;

// The right-hand column: the view panel on top, the button panel under it, the preview below.
const int c_viewPanelBottom = 180;
const int c_buttonPanelBottom = 220;

// The filter text ends in a double NUL: the literal's own terminator is the second.
OPENFILENAMEW PackageDialog(HWND owner, wchar_t* file, int capacity, const wchar_t* folder)
{
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleInstance();
    dialog.lpstrFilter = c_packageFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(capacity);
    dialog.lpstrInitialDir = folder && folder[0] ? folder : nullptr;
    return dialog;
}

// Starts the package dialogs in the user's AllSkin folder; empty when it cannot be made.
void AllSkinFolder(wchar_t (&folder)[MAX_PATH])
{
    if (!IMESkin::Instance()->GetAllSkinFolder(folder))
        folder[0] = 0;
}

// The extension of the last part of a path, with its dot; null without one.
const wchar_t* ExtensionOf(const wchar_t* name)
{
    const wchar_t* dot = wcsrchr(name, L'.');
    const wchar_t* slash = wcsrchr(name, L'\\');
    if (!dot || (slash && dot < slash))
        return nullptr;
    return dot;
}

bool AppendExtensionUnlessPresent(wchar_t* name, int capacity, const wchar_t* extension)
{
    const wchar_t* present = ExtensionOf(name);
    if (present && _wcsicmp(present, extension) == 0)
        return true;
    const size_t length = wcslen(name);
    if (length + wcslen(extension) >= static_cast<size_t>(capacity))
        return false;
    wcscat(name, extension);
    return true;
}

bool EndsWithNoCase(const wchar_t* text, const wchar_t* tail)
{
    const size_t length = wcslen(text);
    const size_t tailLength = wcslen(tail);
    return length >= tailLength && _wcsicmp(text + length - tailLength, tail) == 0;
}
}  // namespace

bool ApplySaveExtension(wchar_t* name, int capacity, int filterIndex)
{
    if (!name || capacity < 1)
        return false;
    if (wcslen(name) > static_cast<size_t>(c_nameChars))
        name[c_nameChars] = 0;
    if (filterIndex != 1)
        return true;
    return AppendExtensionUnlessPresent(name, capacity, c_packageExtension);
}

bool ResolveSkinName(const wchar_t* name, const wchar_t* skinRoot, wchar_t* out, int capacity)
{
    if (!name || !out || capacity < 1)
        return false;
    out[0] = 0;
    const bool hasExtension = wcslen(name) > 3 && (EndsWithNoCase(name, L"vsf") || EndsWithNoCase(name, L"zip"));
    int written;
    if (wcschr(name, L'\\')) {
        written = swprintf(out, static_cast<size_t>(capacity), L"%ls", name);
    } else {
        if (!skinRoot || !skinRoot[0])
            return false;
        written = swprintf(out, static_cast<size_t>(capacity), L"%ls\\AllSkin\\%ls", skinRoot, name);
    }
    if (written < 0) {
        out[0] = 0;
        return false;
    }
    if (!hasExtension && static_cast<size_t>(written) + wcslen(c_packageExtension) >= static_cast<size_t>(capacity)) {
        out[0] = 0;
        return false;
    }
    if (!hasExtension)
        wcscat(out, c_packageExtension);
    return true;
}

bool ReadOpenRequest(const COPYDATASTRUCT* data, wchar_t (&out)[MAX_PATH])
{
    out[0] = 0;
    if (!data || data->dwData != IMEKavrelFrame::c_openRequestId || !data->lpData)
        return false;
    const DWORD bytes = data->cbData;
    if (bytes % sizeof(wchar_t) != 0 || bytes < 2 * sizeof(wchar_t) || bytes > MAX_PATH * sizeof(wchar_t))
        return false;
    const size_t units = bytes / sizeof(wchar_t);
    const wchar_t* text = static_cast<const wchar_t*>(data->lpData);
    // The terminator is the last unit and the only NUL.
    if (wcsnlen(text, units) != units - 1)
        return false;
    wmemcpy(out, text, units);
    return true;
}

bool SendOpenRequest(HWND frame, const wchar_t* name)
{
    if (!frame || !name || !name[0])
        return false;
    wchar_t path[MAX_PATH];
    if (wcschr(name, L'\\')) {
        const DWORD length = GetFullPathNameW(name, MAX_PATH, path, nullptr);
        if (length == 0 || length >= MAX_PATH)
            return false;
    } else {
        if (wcslen(name) >= MAX_PATH)
            return false;
        wcscpy(path, name);
    }
    COPYDATASTRUCT data = {};
    data.dwData = IMEKavrelFrame::c_openRequestId;
    data.cbData = static_cast<DWORD>((wcslen(path) + 1) * sizeof(wchar_t));
    data.lpData = path;
    DWORD_PTR taken = 0;
    return SendMessageTimeoutW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               c_openRequestTimeoutMs, &taken) &&
           taken;
}

IMEKavrelFrame::IMEKavrelFrame() : m_modified(0), m_splitterIndex(0), m_requestedPath{} {}

PropertyView* IMEKavrelFrame::Pages() const { return static_cast<PropertyView*>(ChildAt(e_pages)); }

Preview* IMEKavrelFrame::PreviewHost() const { return static_cast<Preview*>(ChildAt(e_preview)); }

t_wndSpliter* IMEKavrelFrame::Splitter() const { return static_cast<t_wndSpliter*>(ChildAt(m_splitterIndex)); }

int IMEKavrelFrame::ShowMessage(const wchar_t* text, const wchar_t* caption, UINT flags)
{
    return MessageBoxW(m_hwnd, text, caption, flags);
}

void IMEKavrelFrame::ShowOpenFailure(const wchar_t* path)
{
    // The document's reason follows the line that names the file.
    t_str text;
    text.AppendFormat(L"打开皮肤文件%s出错!", path);
    for (const t_errorLine* line = IMESkin::Instance()->OpenNotes().FirstLine(); line; line = line->next) {
        text.Append(L"\r\n");
        text.Append(line->text.c_str());
    }
    ShowMessage(text.c_str(), L"错误", MB_OK | MB_ICONERROR);
}

int IMEKavrelFrame::CreateChildren()
{
    const HINSTANCE module = GetModuleInstance();
    const DWORD panelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

    SkinTypeView* tree = new SkinTypeView;
    tree->Create(module, SkinTypeView::c_templateId, m_hwnd);
    AddChild(tree);

    PropertyView* pages = new PropertyView;
    pages->Create(nullptr, L"项目属性", WS_CHILD, 0, 0, 0, 0, 0, m_hwnd, module);
    AddChild(pages);
    SetWindowTextW(pages->GetHwnd(), L"项目属性");
    pages->CreatePages();
    UpdateWindow(pages->GetHwnd());

    Preview* preview = new Preview;
    preview->Create(nullptr, L"", panelStyle, 0, 0, 0, 0, 0, m_hwnd, module);
    AddChild(preview);
    preview->Show(SW_SHOW);
    UpdateWindow(preview->GetHwnd());

    ExtraViewPanel* viewPanel = new ExtraViewPanel;
    viewPanel->Create(nullptr, L"", panelStyle, 0, 0, 0, 0, 0, m_hwnd, module);
    AddChild(viewPanel);
    viewPanel->CreateItems();
    for (int i = 0; i < Preview::c_previewCount; ++i)
        viewPanel->SetSource(i, preview->GetPreview(i));

    ExtraBtnPanel* buttonPanel = new ExtraBtnPanel;
    buttonPanel->Create(nullptr, L"", panelStyle, 0, 0, 0, 0, 0, m_hwnd, module);
    AddChild(buttonPanel);
    buttonPanel->CreateButtons();

    t_wndSpliter* splitter = new t_wndSpliter(0);
    splitter->CreateBar(m_hwnd, module);
    AddChild(splitter);

    m_splitterIndex = ChildCount() - 1;
    m_modified = 0;
    ShowChildren(false);
    SetTitle(L"", true);
    DragAcceptFiles(m_hwnd, TRUE);
    EnableSavePreview(false);
    return 1;
}

LRESULT IMEKavrelFrame::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        return OnSize();
    case WM_CLOSE:
        return OnClose();
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = c_minWidth;
        info->ptMinTrackSize.y = c_minHeight;
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1)
            return OnCommand(LOWORD(wParam));
        break;
    case WM_DROPFILES:
        return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_ENABLE:
        // A question or dialog closed: a package handed over meanwhile is opened now.
        if (wParam && m_requestedPath[0])
            PostMessageW(m_hwnd, n_editorMessage::c_openRequested, 0, 0);
        break;
    case n_editorMessage::c_openRequested:
        OpenRequested();
        return 0;
    case n_editorMessage::c_selectPage:
        SelectPage(LOWORD(wParam));
        return 0;
    case n_editorMessage::c_skinChanged:
        OnSkinChanged(LOWORD(wParam), HIWORD(wParam) == 1);
        return 0;
    case n_editorMessage::c_selectPreview:
        SelectPreview(static_cast<int>(wParam));
        return 0;
    case n_editorMessage::c_viewMode:
        SetViewMode(static_cast<int>(wParam));
        return 0;
    case n_editorMessage::c_buttonAnimation:
        SetButtonAnimation(wParam, lParam);
        return 0;
    case n_editorMessage::c_splitter:
        OnSplitter(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    default:
        break;
    }
    return FrameStoreSize::WndProc(window, message, wParam, lParam);
}

LRESULT IMEKavrelFrame::OnCommand(int command)
{
    switch (command) {
    case c_cmdNew:
        return OnNew();
    case c_cmdOpen:
        return OnOpen(nullptr);
    case c_cmdClose:
        return CloseSkin() ? 1 : 0;
    case c_cmdSave:
        return OnSave();
    case c_cmdSaveAs:
        return OnSaveAs();
    case c_cmdExit:
        return OnClose();
    case c_cmdSavePreview:
        OnSavePreview();
        return 1;
    case c_cmdAbout: {
        AboutDialog about;
        about.DoModal(GetModuleInstance(), c_dialogAbout, m_hwnd);
        return 1;
    }
    default:
        return 1;
    }
}

LRESULT IMEKavrelFrame::OnSize()
{
    if (ChildCount() <= e_splitter)
        return 0;
    RECT client;
    GetClientRect(m_hwnd, &client);
    int x = 0;
    for (int i = e_pageTree; i <= e_pages; ++i) {
        RECT rect;
        ChildAt(i)->GetRectInParent(rect);
        const int width = rect.right - rect.left;
        ChildAt(i)->Move(x, 0, x + width, client.bottom, true);
        x += width;
    }
    PlaceRightHand(x, client.bottom, true);
    return 0;
}

void IMEKavrelFrame::PlaceRightHand(int pagesRight, int height, bool repaintSplitter)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int x = pagesRight + t_wndSpliter::c_width;
    ChildAt(e_preview)->Move(x, c_buttonPanelBottom, client.right, height, true);
    ChildAt(e_viewPanel)->Move(x, 0, client.right, c_viewPanelBottom, true);
    ChildAt(e_buttonPanel)->Move(x, c_viewPanelBottom, client.right, c_buttonPanelBottom, true);
    Splitter()->Move(pagesRight, 0, pagesRight + t_wndSpliter::c_width, height, repaintSplitter);
}

void IMEKavrelFrame::Relayout()
{
    if (ChildCount() <= e_splitter)
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    int treeWidth, pagesWidth, unused;
    ChildAt(e_pageTree)->GetSize(treeWidth, unused);
    ChildAt(e_pages)->GetSize(pagesWidth, unused);
    ChildAt(e_pageTree)->Move(0, 0, treeWidth, client.bottom, true);
    ChildAt(e_pages)->Move(treeWidth, 0, treeWidth + pagesWidth, client.bottom, true);
    PlaceRightHand(treeWidth + pagesWidth, client.bottom, false);
    Splitter()->SetCollapsed(false);
}

void IMEKavrelFrame::CollapsePages()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    int treeWidth, unused;
    ChildAt(e_pageTree)->GetSize(treeWidth, unused);
    ChildAt(e_pageTree)->Move(0, 0, treeWidth, client.bottom, true);
    ChildAt(e_pages)->Move(treeWidth, 0, treeWidth, client.bottom, true);
    PlaceRightHand(treeWidth, client.bottom, false);
}

void IMEKavrelFrame::DragSplitter(int offset)
{
    RECT client, pagesClient;
    GetClientRect(m_hwnd, &client);
    GetClientRect(ChildAt(e_pages)->GetHwnd(), &pagesClient);
    const int current = pagesClient.right;
    int natural, treeWidth, unused;
    ChildAt(e_pages)->GetSize(natural, unused);
    ChildAt(e_pageTree)->GetSize(treeWidth, unused);
    // Never wider than the pages' natural width; below one pixel the pages collapse.
    if (current + offset >= natural)
        offset = natural - current;
    if (current + offset < 1) {
        Splitter()->SetCollapsed(true);
        offset = -current;
    }
    ChildAt(e_pageTree)->Move(0, 0, treeWidth, client.bottom, true);
    ChildAt(e_pages)->Move(treeWidth, 0, treeWidth + current + offset, client.bottom, true);
    PlaceRightHand(treeWidth + current + offset, client.bottom, false);
}

void IMEKavrelFrame::OnSplitter(HWND, LPARAM code)
{
    if (ChildCount() <= e_splitter)
        return;
    if (code == t_wndSpliter::c_collapse)
        CollapsePages();
    else if (code == t_wndSpliter::c_relayout)
        Relayout();
    else
        DragSplitter(static_cast<short>(LOWORD(code)));
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void IMEKavrelFrame::SelectPage(int page)
{
    if (ChildCount() <= 2)
        return;
    for (int i = e_pageTree; i <= e_viewPanel; ++i)
        SendMessageW(ChildAt(i)->GetHwnd(), n_editorMessage::c_selectPage, static_cast<WPARAM>(page), 0);
    Relayout();
    SendMessageW(ChildAt(e_pages)->GetHwnd(), n_editorMessage::c_selectPage, static_cast<WPARAM>(page), 0);
    // The preview learns which layout to show; switching pages changes nothing in the
    // skin, so the modified flag stays as it is.
    SendMessageW(ChildAt(e_preview)->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(page, 0), 0);
    InvalidateRect(ChildAt(e_viewPanel)->GetHwnd(), nullptr, TRUE);
    InvalidateRect(ChildAt(e_buttonPanel)->GetHwnd(), nullptr, TRUE);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void IMEKavrelFrame::OnSkinChanged(int part, bool repaint)
{
    if (part == n_editorMessage::c_modifiedOnly) {
        SetModified(true);
        return;
    }
    if (ChildCount() <= 2)
        return;
    SendMessageW(ChildAt(e_preview)->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(part, repaint ? 1 : 0), 0);
    InvalidateRect(ChildAt(e_viewPanel)->GetHwnd(), nullptr, TRUE);
    InvalidateRect(ChildAt(e_buttonPanel)->GetHwnd(), nullptr, TRUE);
    if (part != n_editorMessage::c_reloadAllUnmodified) {
        m_modified = 1;
        UpdateMenus(true);
    }
}

void IMEKavrelFrame::SelectPreview(int preview)
{
    if (ChildCount() <= 2)
        return;
    SendMessageW(ChildAt(e_preview)->GetHwnd(), n_editorMessage::c_selectPreview, static_cast<WPARAM>(preview), 0);
    SendMessageW(ChildAt(e_buttonPanel)->GetHwnd(), n_editorMessage::c_selectPreview, static_cast<WPARAM>(preview), 0);
    InvalidateRect(ChildAt(e_viewPanel)->GetHwnd(), nullptr, TRUE);
    SetFocus(ChildAt(e_preview)->GetHwnd());
}

void IMEKavrelFrame::SetViewMode(int mode)
{
    if (ChildCount() <= 2)
        return;
    for (int i = e_preview; i <= e_buttonPanel; ++i)
        SendMessageW(ChildAt(i)->GetHwnd(), n_editorMessage::c_viewMode, static_cast<WPARAM>(mode), 0);
    InvalidateRect(ChildAt(e_viewPanel)->GetHwnd(), nullptr, TRUE);
}

void IMEKavrelFrame::SetButtonAnimation(WPARAM wParam, LPARAM lParam)
{
    if (ChildCount() <= 2)
        return;
    SendMessageW(ChildAt(e_preview)->GetHwnd(), n_editorMessage::c_buttonAnimation, wParam, lParam);
    InvalidateRect(ChildAt(e_preview)->GetHwnd(), nullptr, TRUE);
}

void IMEKavrelFrame::SetModified(bool modified)
{
    m_modified = modified ? 1 : 0;
    // Whether a skin is open is the document's state, not the modified flag.
    UpdateMenus(IMESkin::Instance()->IsEditing());
}

int IMEKavrelFrame::UpdateMenus(bool skinOpen)
{
    const HMENU menu = GetMenu(m_hwnd);
    if (!menu)
        return 0;
    const UINT saveState = m_modified && skinOpen ? MF_ENABLED : MF_GRAYED;
    const UINT openState = skinOpen ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, c_cmdSave, MF_BYCOMMAND | saveState);
    EnableMenuItem(menu, c_cmdClose, MF_BYCOMMAND | openState);
    EnableMenuItem(menu, c_cmdSaveAs, MF_BYCOMMAND | openState);
    return 1;
}

int IMEKavrelFrame::EnableSavePreview(bool enable)
{
    const HMENU menu = GetMenu(m_hwnd);
    if (!menu)
        return 0;
    EnableMenuItem(menu, c_cmdSavePreview, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    return 1;
}

void IMEKavrelFrame::ShowChildren(bool show)
{
    for (int i = 0; i < ChildCount(); ++i)
        ChildAt(i)->Show(show ? SW_SHOW : SW_HIDE);
    Relayout();
    UpdateMenus(show);
}

void IMEKavrelFrame::SetTitle(const wchar_t* name, bool fileTitleOnly)
{
    if (!name || !name[0]) {
        SetWindowTextW(m_hwnd, c_productTitle);
        return;
    }
    wchar_t shown[MAX_PATH];
    if (fileTitleOnly) {
        if (GetFileTitleW(name, shown, MAX_PATH) != 0)
            return;
        wchar_t* dot = wcsrchr(shown, L'.');
        if (dot)
            *dot = 0;
        name = shown;
    }
    wchar_t title[c_titleChars];
    swprintf(title, c_titleChars, L"%ls - %ls", c_productTitle, name);
    title[c_titleChars - 1] = 0;
    SetWindowTextW(m_hwnd, title);
}

void IMEKavrelFrame::ResetViews()
{
    SelectPage(2);
    SelectPage(0);
    SelectPreview(0);
    SetViewMode(0);
}

bool IMEKavrelFrame::SettleUnsavedWork()
{
    if (!IMESkin::Instance()->IsEditing())
        return true;
    const int answer = m_modified ? ShowMessage(L"是否保存正在编辑的皮肤方案？", L"提示",
                                                MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONQUESTION)
                                  : IDNO;
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES) {
        ResetViews();
        if (!OnSave())
            return false;
    }
    return true;
}

bool IMEKavrelFrame::CloseSkin()
{
    if (!SettleUnsavedWork())
        return false;
    CloseDocument();
    return true;
}

void IMEKavrelFrame::CloseDocument()
{
    IMESkin* skin = IMESkin::Instance();
    if (!skin->IsEditing())
        return;
    ResetViews();
    skin->Close();
    Pages()->ClearAll();
    m_modified = 0;
    ShowChildren(false);
    SetTitle(L"", true);
    EnableSavePreview(false);
}

int IMEKavrelFrame::OnNew()
{
    if (IMESkin::Instance()->IsEditing() && !CloseSkin())
        return 1;
    if (!IMESkin::Instance()->New()) {
        ShowMessage(L"创建皮肤失败", L"错误", MB_OK | MB_ICONERROR);
        return 0;
    }
    if (!Pages()->RefreshAll()) {
        ShowMessage(L"元件窗口更新失败", L"出错", MB_OK | MB_ICONERROR);
        return 0;
    }
    m_modified = 1;
    ShowChildren(true);
    SetTitle(c_newSkinTitle, true);
    EnableSavePreview(true);
    return 1;
}

int IMEKavrelFrame::OnOpen(const wchar_t* path)
{
    // The open skin is asked about first but closed only once another is chosen: a
    // cancelled dialog leaves it open as it was.
    if (!SettleUnsavedWork())
        return 0;
    wchar_t chosen[MAX_PATH] = L"";
    if (!path || !path[0]) {
        wchar_t folder[MAX_PATH];
        AllSkinFolder(folder);
        OPENFILENAMEW dialog = PackageDialog(m_hwnd, chosen, MAX_PATH, folder);
        dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        if (!GetOpenFileNameW(&dialog))
            return 0;
        path = chosen;
    }
    if (!OpenDocument(path))
        return 0;
    EnableSavePreview(true);
    return 1;
}

int IMEKavrelFrame::OpenSkinByName(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    if (!ResolveName(name, path))
        return 0;
    return OpenDocument(path) ? 1 : 0;
}

bool IMEKavrelFrame::ResolveName(const wchar_t* name, wchar_t (&path)[MAX_PATH])
{
    wchar_t root[MAX_PATH] = L"";
    const bool isPath = name && wcschr(name, L'\\');
    if (!isPath && !GetUserSkinRoot(root, MAX_PATH))
        return false;
    return ResolveSkinName(name, root, path, MAX_PATH);
}

bool IMEKavrelFrame::OpenDocument(const wchar_t* path)
{
    bool opened;
    {
        WaitCursor wait(m_hwnd);
        CloseDocument();
        opened = IMESkin::Instance()->Open(path);
        if (opened) {
            Pages()->RefreshAll();
            ShowChildren(true);
            // Named as every road names a skin: its file name without the extension.
            SetTitle(path, true);
        }
    }
    if (!opened)
        ShowOpenFailure(path);
    return opened;
}

bool IMEKavrelFrame::OnCopyData(const COPYDATASTRUCT* data)
{
    wchar_t path[MAX_PATH];
    if (!ReadOpenRequest(data, path))
        return false;
    // The sender waits for the answer: the question about unsaved changes comes later,
    // from the frame's own queue. A later request replaces one not yet opened.
    wcscpy(m_requestedPath, path);
    PostMessageW(m_hwnd, n_editorMessage::c_openRequested, 0, 0);
    return true;
}

void IMEKavrelFrame::OpenRequested()
{
    if (!m_requestedPath[0] || !IsWindowEnabled(m_hwnd))
        return;
    wchar_t name[MAX_PATH];
    wcscpy(name, m_requestedPath);
    m_requestedPath[0] = 0;
    wchar_t path[MAX_PATH];
    if (ResolveName(name, path))
        OnOpen(path);
}

bool IMEKavrelFrame::AskSavePath(wchar_t* out, int capacity)
{
    wchar_t folder[MAX_PATH];
    AllSkinFolder(folder);
    wchar_t chosen[MAX_PATH];
    for (;;) {
        chosen[0] = 0;
        OPENFILENAMEW dialog = PackageDialog(m_hwnd, chosen, MAX_PATH, folder);
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameW(&dialog))
            return false;
        if (!ApplySaveExtension(chosen, MAX_PATH, static_cast<int>(dialog.nFilterIndex)))
            continue;
        // The system dialog asked about the name as typed; the extension may have made
        // it another existing file.
        WIN32_FIND_DATAW found;
        if (!t_autoFindClose(FindFirstFileW(chosen, &found)).IsValid())
            break;
        if (ShowMessage(L"该文件已经存在，是否覆盖？", L"文件名冲突", MB_YESNO | MB_ICONQUESTION) == IDYES)
            break;
    }
    if (!Pages()->CommitAll())
        return false;
    if (wcslen(chosen) >= static_cast<size_t>(capacity))
        return false;
    wcscpy(out, chosen);
    return true;
}

bool IMEKavrelFrame::SaveToPath(const wchar_t* path, bool commit, const wchar_t* failureCaption)
{
    t_errorChain errors;
    bool committed;
    bool saved;
    {
        WaitCursor wait(m_hwnd);
        committed = !commit || Pages()->CommitAll();
        saved = committed && IMESkin::Instance()->Save(errors, path);
    }
    if (committed && !saved)
        errors.ShowReport(m_hwnd, failureCaption);
    return saved;
}

int IMEKavrelFrame::OnSave()
{
    IMESkin* skin = IMESkin::Instance();
    if (!skin->IsEditing())
        return 0;
    if (skin->IsNew()) {
        // A cancelled name dialog saves nothing, and says so.
        wchar_t path[MAX_PATH];
        if (!AskSavePath(path, MAX_PATH))
            return 0;
        // The name dialog committed the pages.
        if (!SaveToPath(path, false, L"新建皮肤文件失败"))
            return 0;
        wchar_t ini[MAX_PATH];
        if (!skin->GetIniPath(ini))
            return 0;
        SetTitle(path, true);
    } else {
        if (!SaveToPath(nullptr, true, L"保存皮肤文件失败"))
            return 0;
    }
    m_modified = 0;
    UpdateMenus(true);
    return 1;
}

int IMEKavrelFrame::OnSaveAs()
{
    if (!IMESkin::Instance()->IsEditing())
        return 1;
    wchar_t path[MAX_PATH];
    if (!AskSavePath(path, MAX_PATH))
        return 1;
    if (!SaveToPath(path, true, L"另存皮肤文件失败"))
        return 0;
    SetTitle(path, true);
    m_modified = 0;
    UpdateMenus(true);
    return 1;
}

LRESULT IMEKavrelFrame::OnClose()
{
    if (!CloseSkin())
        return 0;
    DragAcceptFiles(m_hwnd, FALSE);
    if (DestroyWindow(m_hwnd)) {
        PostQuitMessage(0);
        m_hwnd = nullptr;
    }
    return 0;
}

LRESULT IMEKavrelFrame::OnDropFiles(HDROP drop)
{
    wchar_t name[MAX_PATH] = L"";
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count >= 1)
        DragQueryFileW(drop, 0, name, MAX_PATH);
    DragFinish(drop);
    if (count >= 1)
        OnOpen(name);
    return 0;
}

bool IMEKavrelFrame::ChoosePngFile(wchar_t (&path)[MAX_PATH])
{
    path[0] = 0;
    CFileDialogPreview dialog;
    dialog.Configure(GetModuleInstance(), c_dialogFilePreview, c_filePreviewPicture);
    if (!dialog.ChooseSaveFile(m_hwnd, c_pngFilter, nullptr))
        return false;
    wcsncpy(path, dialog.GetPath(), c_nameChars);
    path[c_nameChars] = 0;
    return AppendExtensionUnlessPresent(path, MAX_PATH, c_pngExtension);
}

int IMEKavrelFrame::OnSavePreview()
{
    Preview* preview = PreviewHost();
    if (!preview)
        return 0;
    wchar_t path[MAX_PATH];
    if (!ChoosePngFile(path))
        return 0;
    return preview->SavePicture(path) ? 1 : 0;
}
