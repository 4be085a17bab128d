#include "editor/app/app.h"

#include <commctrl.h>

#include <cwchar>

#include "editor/app/main_frame.h"
#include "editor/preview/preview_full_screen.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/file_dialog_preview.h"
#include "foundation/config/app_config.h"
#include "foundation/config/runtime.h"
#include "foundation/core/error_chain.h"
#include "foundation/core/singleton.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/reg.h"
#include "foundation/win/share_mem.h"
#include "foundation/win/shared_versions.h"
#include "graphics/paint/module_instance.h"
#include "graphics/text/freetype.h"
#include "graphics/text/system_fonts.h"
#include "ime_ui/windows/comp/wnd_cand.h"
#include "ime_ui/windows/comp/wnd_comp.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_popups.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "skin_model/ime_skin.h"

namespace {
const wchar_t c_frameTitle[] = L"栖鹭拼音输入法皮肤编辑器";
const wchar_t c_frameClass[] = L"IMEKavrel";
const wchar_t c_installKey[] = L"SoftWare\\VurodUraKavrel";
const int c_classNameChars = 128;

// Records where the editor is installed, for the input method's own programs.
void StoreInstallPath()
{
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t* slash = wcsrchr(module, L'\\');
    if (slash)
        *slash = 0;
    t_errorChain errors;
    t_reg key(HKEY_LOCAL_MACHINE);
    if (key.Open(errors, c_installKey, true, true))
        key.SetString(errors, module, L"path");
}

// The input method's windows: their class names first, then the classes, composition
// first and status bar last. A class that cannot be registered is registered by the first
// window of it that is made.
void RegisterImeClasses(HINSTANCE module)
{
    t_wndComp::SetClassName(L"VxPY_Comp");
    t_wndComp2::SetClassName(L"VxPY_Comp2");
    t_wndCand::SetClassName(L"VxPY_Cand");
    t_wndStatus::SetClassName(L"VxPY_Status");
    t_wndComp::RegisterClass(module);
    t_wndComp2::RegisterClass(module);
    t_wndCand::RegisterClass(module);
    t_wndStatus::RegisterClass(module);
}

bool ReportFailure(t_errorChain& errors)
{
    errors.Show(nullptr);
    return false;
}

bool IsDialogClass(HWND window)
{
    wchar_t name[c_classNameChars];
    return GetClassNameW(window, name, c_classNameChars) && _wcsicmp(name, L"#32770") == 0;
}
}  // namespace

IMEKavrelApp::IMEKavrelApp() : m_frame(nullptr), m_menu(nullptr), m_accelerators(nullptr), m_commandLinePath{} {}

IMEKavrelApp::~IMEKavrelApp()
{
    delete m_frame;
    if (m_menu)
        DestroyMenu(m_menu);
    if (m_accelerators)
        DestroyAcceleratorTable(m_accelerators);
}

IMEKavrelApp* IMEKavrelApp::Instance() { return ImmSingleton<IMEKavrelApp>::Instance("IMEKavrelApp"); }

void IMEKavrelApp::ParseCommandLine(const wchar_t* text)
{
    m_commandLinePath[0] = 0;
    if (!text)
        return;
    int out = 0;
    for (const wchar_t* c = text; *c && out < MAX_PATH - 1; ++c) {
        if (*c != L'"')
            m_commandLinePath[out++] = *c;
    }
    m_commandLinePath[out] = 0;
}

bool IMEKavrelApp::RegisterClasses()
{
    struct t_class {
        const wchar_t* name;
        HBRUSH background;
    };
    const t_class classes[] = {
        {L"IMEKavrel", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))},
        {L"IMEKavrel_FullScreen", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))},
        {L"IMEKavrel_BTN", GetSysColorBrush(COLOR_BTNFACE)},
    };
    for (const t_class& entry : classes) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = FrameworkWndProc;
        windowClass.cbWndExtra = 4;
        windowClass.hInstance = GetModuleInstance();
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = entry.background;
        windowClass.lpszClassName = entry.name;
        if (!RegisterClassExW(&windowClass))
            return false;
    }
    return true;
}

bool IMEKavrelApp::InitInstance()
{
    const HINSTANCE module = GetModuleInstance();
    StoreInstallPath();
    RegisterImeClasses(module);
    // Every status bar gets the skin-box hint, the tips and the bar configuration.
    t_wndStatus::SetPopupsFactory(MakeStatusPopups);

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                           ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    AppConfig* config = AppConfig::Instance();
    config->Load();
    const bool smoothText = config->setting.useGdip.Value();
    if (smoothText)
        t_freetype::Instance()->Init();
    SetImageFilter(smoothText);

    const HWND running = FindWindowW(c_frameClass, nullptr);
    if (running) {
        ShowWindow(running, IsIconic(running) ? SW_RESTORE : SW_SHOWNA);
        SetForegroundWindow(running);
        // A package double-clicked while the editor runs opens in the running editor. It
        // is handed over once the editor is in front, so that its question about unsaved
        // work comes up above it, not under it.
        if (m_commandLinePath[0])
            SendOpenRequest(running, m_commandLinePath);
        return false;
    }

    t_runtime* runtime = t_runtime::Instance();
    t_errorChain runtimeErrors;
    runtime->SetInstallDirSource(nullptr);
    if (!runtime->Init(runtimeErrors)) {
        runtimeErrors.Clear();
        runtime->SetInstallDirSource(nullptr);
        if (!runtime->Init(runtimeErrors))
            return ReportFailure(runtimeErrors);
    }
    t_errorChain fileMapErrors;
    if (!t_filemap::Init(fileMapErrors))
        return ReportFailure(fileMapErrors);
    t_errorChain versionErrors;
    if (!t_versionReg::Init(versionErrors))
        return ReportFailure(versionErrors);
    t_errorChain userErrors;
    UserManager* users = UserManager::Instance();
    if (!users || !users->Init(userErrors, false, -1))
        return ReportFailure(userErrors);

    // Private fonts live in "Fonts" of the install folder.
    t_str fonts(runtime->GetInstallDir());
    fonts.Append(L"\\Fonts");
    SetPrivateFontsDir(fonts.c_str());
    users->SetCurrentUserIndex(users->GetCurrentUserId());

    m_frame = new IMEKavrelFrame;
    if (!m_frame->Create(c_frameClass, c_frameTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0, nullptr, module))
        return false;
    const HWND window = m_frame->GetHwnd();
    m_menu = LoadMenuW(module, MAKEINTRESOURCEW(c_menuMain));
    if (m_menu)
        SetMenu(window, m_menu);
    m_accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(c_acceleratorsMain));
    const HICON icon = LoadIconW(module, MAKEINTRESOURCEW(c_iconApp));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    IMESkin::Instance();
    if (!m_frame->CreateChildren())
        return false;
    if (m_commandLinePath[0])
        m_frame->OpenSkinByName(m_commandLinePath);
    return true;
}

bool IMEKavrelApp::PreTranslate(MSG& message)
{
    const HWND fullScreen = GetFullScreenPreviewWindow();
    const bool fullScreenShown = fullScreen && IsWindow(fullScreen) && IsWindowVisible(fullScreen);
    if (m_accelerators && !fullScreenShown && m_frame && m_frame->GetHwnd() &&
        TranslateAcceleratorW(m_frame->GetHwnd(), m_accelerators, &message))
        return true;
    for (HWND window = message.hwnd; window; window = GetParent(window)) {
        if (IsDialogClass(window) && IsDialogMessageW(window, &message))
            return true;
        if (fullScreen && window == fullScreen) {
            // Keys typed into the full-screen preview's children go to the preview itself.
            if (message.message >= WM_KEYDOWN && message.message <= 0x109)
                message.hwnd = fullScreen;
            break;
        }
    }
    return false;
}

int IMEKavrelApp::Run()
{
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void IMEKavrelApp::SetModified(bool modified)
{
    if (m_frame)
        m_frame->SetModified(modified);
}
