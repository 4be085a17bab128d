// The main frame driven as a designer drives it: commands through WM_COMMAND, the
// questions and file dialogs answered from a second thread, packages checked on disk.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/preview.h"
#include "editor/preview/preview_mobile.h"
#include "editor/preview/preview_pc.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/file_dialog_preview.h"
#include "foundation/config/app_config.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/module_instance.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/ime_messages.h"
#include "ime_ui/windows/mobile/wnd_comp_mobile.h"
#include "ime_ui/windows/status/wnd_status.h"
#include "skin_model/ime_skin.h"
#include "skin_model/zip_handler.h"
#include "tests/support/cursor_probe.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"
#include "tests/support/flat_png.h"
#include "tests/support/launch_log.h"
#include "tests/support/message_pump.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"

namespace {
const std::wstring c_product = L"栖鹭拼音输入法皮肤编辑器";

class MainFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartEditorApp()); }

    void SetUp() override
    {
        m_frame = IMEKavrelApp::Instance()->Frame();
        ASSERT_NE(nullptr, m_frame);
        // Every test starts with nothing open.
        ASSERT_TRUE(CloseFrameSkin(*m_frame));
    }

    LRESULT Command(int id) { return SendMessageW(m_frame->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring Title() const { return t_dialogDriver::TextOf(m_frame->GetHwnd()); }
    bool Enabled(int id) const
    {
        return !(GetMenuState(GetMenu(m_frame->GetHwnd()), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    // Save, Close, Save As, Save preview.
    std::string MenuStates() const
    {
        std::string states;
        for (int id : {c_cmdSave, c_cmdClose, c_cmdSaveAs, c_cmdSavePreview})
            states += Enabled(id) ? '1' : '0';
        return states;
    }
    // A package of the default skin, saved by the editor itself.
    std::wstring SaveNewSkin(const std::wstring& path)
    {
        EXPECT_EQ(1, Command(c_cmdNew));
        m_driver.Type(path);
        EXPECT_EQ(1, Command(c_cmdSave));
        return path;
    }

    void TearDown() override { ExpectNoUnexpectedDialogs(m_driver); }

    IMEKavrelFrame* m_frame = nullptr;
    t_dialogDriver m_driver;
    t_tempFolder m_folder{L"frame"};
};

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(MainFrame, TitleAndMenusFollowTheOpenSkin)
{
    EXPECT_EQ(c_product, Title());
    EXPECT_EQ("0000", MenuStates());
    EXPECT_FALSE(IsWindowVisible(m_frame->ChildAt(IMEKavrelFrame::e_preview)->GetHwnd()));

    ASSERT_EQ(1, Command(c_cmdNew));
    EXPECT_EQ(c_product + L" - 新建皮肤方案", Title());
    EXPECT_EQ("1111", MenuStates());
    EXPECT_TRUE(IsWindowVisible(m_frame->ChildAt(IMEKavrelFrame::e_preview)->GetHwnd()));

    // Clearing the modified flag grays Save only: the skin is still open.
    m_frame->SetModified(false);
    EXPECT_EQ("0111", MenuStates());
    // A page switch changes nothing in the skin.
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 3, 0);
    EXPECT_FALSE(m_frame->IsModified());
    // An edit does.
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(2, 0), 0);
    EXPECT_TRUE(m_frame->IsModified());
    EXPECT_EQ("1111", MenuStates());
}

// The start-up registers the input method's four window classes (before any of its windows
// exists: the preview's draw into the preview) and gives every status bar its popups.
TEST_F(MainFrame, StartUpRegistersTheImeClassesAndGivesTheStatusBarItsPopups)
{
    for (const wchar_t* name : {L"VxPY_Comp", L"VxPY_Comp2", L"VxPY_Cand", L"VxPY_Status"}) {
        WNDCLASSEXW found = {};
        found.cbSize = sizeof(found);
        EXPECT_TRUE(GetClassInfoExW(GetModuleInstance(), name, &found)) << "class registered at start-up";
        EXPECT_EQ(static_cast<UINT>(CS_IME), found.style & CS_IME);
    }

    // The preview's status bar: the skin-box hint's click reaches the skin-box utility.
    t_launchLog log(m_folder.Path() + L"\\launch.log");
    ASSERT_EQ(1, Command(c_cmdNew));
    Preview* preview = static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview));
    PreviewPC* desktop = dynamic_cast<PreviewPC*>(preview->GetPreview(Preview::e_desktop));
    ASSERT_NE(nullptr, desktop);
    t_wndStatus& previewBar = desktop->Status();
    previewBar.WndProc(previewBar.GetHwnd(), c_msgSkinBoxLaunch, 0, 0);
    const std::vector<t_launchRecord> records = log.WaitFor(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"VavIdiz.exe", records[0].program);
    EXPECT_NE(std::wstring::npos, records[0].commandLine.find(L"-sbp \"/p\"\"1\" \"/p\"\"1\""))
        << "source 1 (the status bar), value 1 (a click)";

    // A bar of the input method's own over a default skin: the logo's request opens the bar
    // configuration above it and a second request closes it.
    t_tempFolder folder{L"bar"};
    const std::wstring pack = folder.Path() + L"\\skin.dat";
    ASSERT_TRUE(WriteSkinPackFile(folder.Path() + L"\\src", {{L"bar.png", FlatPng(120, 30, {0x808080FF})}},
                                  L"[Display]\r\ndefault_skin=1\r\n[StatusBar]\r\npic=bar.png\r\n", pack));
    t_uiSettings settings = SkinOnSettings(12);
    settings.statusPosX = settings.statusPosY = 300;
    t_uiSkinData skin;
    skin.SetSettings(&settings);
    t_errorChain errors;
    ASSERT_TRUE(skin.ParseSkinIni(errors, pack.c_str()));
    ASSERT_TRUE(skin.IsDefaultSkin() && !skin.UserSkinInUse());
    ImcWrapImplBase imc;
    UiWrapImplBase ui;
    t_uiContext context;
    context.SetSettings(&settings);
    context.SetSkin(&skin);
    context.SetImcWrap(&imc);
    context.SetUiWrap(&ui);
    {
        t_wndStatus bar;
        bar.SetContext(&context);
        ASSERT_TRUE(bar.Create(WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr));
        bar.Show(true);
        PostMessageW(bar.GetHwnd(), c_msgBarConfigOpen, 0, 0);
        PumpMessages(50);
        ASSERT_NE(nullptr, bar.Popups()) << "made by the factory the start-up installed";
        EXPECT_TRUE(bar.Popups()->IsBarConfigOpen());
        EXPECT_TRUE(bar.Popups()->IsBarConfigShown());
        PostMessageW(bar.GetHwnd(), c_msgBarConfigOpen, 0, 0);
        PumpMessages(50);
        EXPECT_FALSE(bar.Popups()->IsBarConfigOpen());
    }
    CloseSkinLeftOpen();
}

TEST_F(MainFrame, SaveOfANewSkinAsksForANameAndAddsTheExtension)
{
    SaveNewSkin(m_folder.Path() + L"\\a.txt");
    const std::wstring package = m_folder.Path() + L"\\a.txt.vsf";
    EXPECT_TRUE(FileExists(package));
    EXPECT_EQ(c_product + L" - a.txt", Title());
    EXPECT_EQ("0111", MenuStates());
    EXPECT_FALSE(m_frame->IsModified());
}

TEST_F(MainFrame, CancelledNameKeepsTheNewSkinOpenOnClose)
{
    ASSERT_EQ(1, Command(c_cmdNew));
    m_driver.Press(IDYES);     // save the skin being edited?
    m_driver.Press(IDCANCEL);  // ... under which name: none
    EXPECT_EQ(0, Command(c_cmdClose));
    EXPECT_TRUE(m_driver.AllAnswered());
    ASSERT_EQ(2u, m_driver.Seen().size());
    EXPECT_EQ(L"提示", m_driver.Seen()[0].caption);
    EXPECT_NE(std::wstring::npos, m_driver.Seen()[0].text.find(L"是否保存正在编辑的皮肤方案？"));
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_TRUE(m_frame->IsModified());
}

TEST_F(MainFrame, CloseAsksOnlyWhenModified)
{
    ASSERT_EQ(1, Command(c_cmdNew));
    m_driver.Press(IDCANCEL);
    Command(c_cmdClose);
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());

    m_driver.Press(IDNO);
    Command(c_cmdClose);
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product, Title());
    EXPECT_EQ("0000", MenuStates());
    EXPECT_EQ(2u, m_driver.Seen().size());

    // Unmodified: closes without a question.
    ASSERT_EQ(1, Command(c_cmdNew));
    m_frame->SetModified(false);
    Command(c_cmdClose);
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(2u, m_driver.Seen().size());
}

TEST_F(MainFrame, SaveAsAsksAgainWhenTheExtendedNameExists)
{
    const std::wstring first = SaveNewSkin(m_folder.Path() + L"\\b.vsf");
    ASSERT_TRUE(FileExists(first));

    // "b" becomes "b.vsf", which exists: the editor asks; No shows the dialog again.
    m_driver.Type(m_folder.Path() + L"\\b");
    m_driver.Press(IDNO);
    m_driver.Press(IDCANCEL);
    EXPECT_EQ(1, Command(c_cmdSaveAs));
    EXPECT_TRUE(m_driver.AllAnswered());
    std::vector<t_dialogDriver::t_seen> seen = m_driver.Seen();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(L"文件名冲突", seen[seen.size() - 2].caption);
    EXPECT_NE(std::wstring::npos, seen[seen.size() - 2].text.find(L"该文件已经存在，是否覆盖？"));

    // Yes overwrites it; the title names the package without its folder and extension.
    const std::wstring second = m_folder.Path() + L"\\c.zip";
    m_driver.Type(second);
    EXPECT_EQ(1, Command(c_cmdSaveAs));
    EXPECT_TRUE(FileExists(second + L".vsf"));
    EXPECT_EQ(c_product + L" - c.zip", Title());
}

TEST_F(MainFrame, DroppedFilesOpenTheFirstAndAFailedOpenSaysWhich)
{
    const std::wstring package = SaveNewSkin(m_folder.Path() + L"\\dropped.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());

    const std::wstring missing = m_folder.Path() + L"\\missing.vsf";
    // DROPFILES followed by a double-NUL list of names, as the shell hands them over.
    const std::wstring names = package + L'\0' + missing + L'\0' + L'\0';
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    {
        const t_scopedGlobalLock locked(drop);
        DROPFILES* header = static_cast<DROPFILES*>(locked.Get());
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
    }
    SendMessageW(m_frame->GetHwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product + L" - dropped", Title());
    EXPECT_EQ("0111", MenuStates());

    m_frame->SetModified(false);
    m_driver.Press(IDOK);
    EXPECT_EQ(0, m_frame->OnOpen(missing.c_str()));
    ASSERT_FALSE(m_driver.Seen().empty());
    EXPECT_EQ(L"错误", m_driver.Seen().back().caption);
    EXPECT_NE(std::wstring::npos, m_driver.Seen().back().text.find(L"打开皮肤文件" + missing + L"出错!"));
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());
}

// A package that cannot be read says which file and why, below the line that names it.
TEST_F(MainFrame, BrokenPackageSaysWhichAndWhy)
{
    const std::wstring good = SaveNewSkin(m_folder.Path() + L"\\good.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    std::string bytes;
    {
        FILE* in = _wfopen(good.c_str(), L"rb");
        ASSERT_NE(nullptr, in);
        char chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof(chunk), in)) > 0)
            bytes.append(chunk, got);
        fclose(in);
    }
    struct t_case {
        const wchar_t* name;
        std::string content;
    };
    const t_case cases[] = {
        {L"truncated.vsf", bytes.substr(0, bytes.size() / 2)},
        {L"text.vsf", "[General]\r\nThis is a note, not a package.\r\n"},
    };
    for (const t_case& c : cases) {
        const std::wstring path = m_folder.Path() + L"\\" + c.name;
        FILE* out = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(nullptr, out);
        fwrite(c.content.data(), 1, c.content.size(), out);
        fclose(out);

        m_driver.Press(IDOK);
        EXPECT_EQ(0, m_frame->OnOpen(path.c_str()));
        EXPECT_TRUE(m_driver.AllAnswered());
        ASSERT_FALSE(m_driver.Seen().empty());
        const std::wstring text = m_driver.Seen().back().text;
        const std::wstring first = L"打开皮肤文件" + path + L"出错!";
        EXPECT_EQ(0u, text.find(first)) << c.name;
        // The reason follows on its own line and names the package again.
        const std::wstring reason = text.size() > first.size() ? text.substr(first.size()) : std::wstring();
        EXPECT_FALSE(reason.find_first_not_of(L"\r\n ") == std::wstring::npos) << c.name;
        EXPECT_NE(std::wstring::npos, reason.find(c.name)) << c.name;
        EXPECT_FALSE(IMESkin::Instance()->IsEditing());
    }
}

// Right after File > New both phone previews show the default skin's bar within the height
// a phone allows: no warning band.
TEST_F(MainFrame, DefaultSkinPassesThePhoneHeightCheck)
{
    ASSERT_EQ(1, Command(c_cmdNew));
    Preview* preview = static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview));
    for (int slot : {Preview::e_phone, Preview::e_phoneLarge}) {
        const t_wndCompMobile& bar = static_cast<PreviewMobile*>(preview->GetPreview(slot))->Composition();
        EXPECT_GT(bar.BarHeight(), 0) << slot;
        EXPECT_LE(bar.BarHeight(), t_wndCompMobile::HeightLimit(bar.Metrics().screenHeight))
            << slot << ": scale " << bar.LastScale().factor << ", content " << bar.LastScale().contentHeight
            << ", natural " << bar.LastScaleInput().barHeight << ", margins " << bar.LastScaleInput().topMargin << "/"
            << bar.LastScaleInput().bottomMargin << ", rows " << bar.LastScaleInput().topRowExtent << "/"
            << bar.LastScaleInput().bottomRowExtent << ", font " << bar.LastScaleInput().fontCell;
    }
}

TEST_F(MainFrame, OpenThroughTheDialog)
{
    const std::wstring package = SaveNewSkin(m_folder.Path() + L"\\picked.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());

    m_driver.Press(IDCANCEL);
    EXPECT_EQ(0, Command(c_cmdOpen));
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());

    m_driver.Type(package);
    EXPECT_EQ(1, Command(c_cmdOpen));
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product + L" - picked", Title());
    EXPECT_EQ("0111", MenuStates());
}

// Keeping the edits unsaved and then cancelling the open dialog keeps the edited skin open,
// still modified; only a chosen package replaces it.
TEST_F(MainFrame, CancelledOpenKeepsTheEditedSkin)
{
    const std::wstring other = SaveNewSkin(m_folder.Path() + L"\\other.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());

    ASSERT_EQ(1, Command(c_cmdNew));
    const std::wstring title = Title();
    m_driver.Press(IDNO);      // save the skin being edited?
    m_driver.Press(IDCANCEL);  // the open dialog
    EXPECT_EQ(0, Command(c_cmdOpen));
    EXPECT_TRUE(m_driver.AllAnswered());
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_TRUE(IMESkin::Instance()->IsNew());
    EXPECT_TRUE(m_frame->IsModified());
    EXPECT_EQ(title, Title());
    EXPECT_EQ("1111", MenuStates());
    EXPECT_TRUE(IsWindowVisible(m_frame->ChildAt(IMEKavrelFrame::e_preview)->GetHwnd()));

    // Cancelling the question keeps it too, without a dialog.
    m_driver.Press(IDCANCEL);
    EXPECT_EQ(0, Command(c_cmdOpen));
    EXPECT_TRUE(IMESkin::Instance()->IsNew());

    m_driver.Press(IDNO);
    m_driver.Type(other);
    EXPECT_EQ(1, Command(c_cmdOpen));
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_FALSE(IMESkin::Instance()->IsNew());
    EXPECT_FALSE(m_frame->IsModified());
    EXPECT_EQ(c_product + L" - other", Title());
}

TEST_F(MainFrame, BareNameOpensFromTheUsersSkinFolder)
{
    wchar_t root[MAX_PATH];
    ASSERT_TRUE(GetUserSkinRoot(root, MAX_PATH));
    wchar_t allSkin[MAX_PATH];
    ASSERT_TRUE(IMESkin::Instance()->GetAllSkinFolder(allSkin));
    const std::wstring package = std::wstring(allSkin) + L"\\bare_name_skin.vsf";
    DeleteFileW(package.c_str());
    SaveNewSkin(package);
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());

    // Opened by name, the title names it as File > Open does; the save-preview item stays
    // as it was.
    EXPECT_EQ(1, m_frame->OpenSkinByName(L"bare_name_skin"));
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product + L" - bare_name_skin", Title());
    EXPECT_EQ("0110", MenuStates());
    DeleteFileW(package.c_str());
}

// Opening and saving show the wait cursor while they work, after the frame painted what
// was pending (a closed dialog's leftovers); the cursor comes back, and is back before a
// failure is reported.
TEST_F(MainFrame, OpenAndSaveWaitWithTheWaitCursor)
{
    const std::wstring package = SaveNewSkin(m_folder.Path() + L"\\busy.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    const HWND frame = m_frame->GetHwnd();
    SetCursor(t_cursorProbe::Arrow());
    {
        InvalidateRect(frame, nullptr, TRUE);
        t_cursorProbe probe({n_editorMessage::c_skinChanged}, frame);
        ASSERT_TRUE(probe.Installed());
        ASSERT_EQ(1, m_frame->OnOpen(package.c_str()));
        EXPECT_TRUE(probe.AlwaysWith(n_editorMessage::c_skinChanged, t_cursorProbe::Wait()));
        ASSERT_FALSE(probe.Of(n_editorMessage::c_skinChanged).empty());
        EXPECT_FALSE(probe.Of(n_editorMessage::c_skinChanged).front().paintPending)
            << "the frame painted before the work";
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
    {
        // Saving reads the pages' fields into the skin, then packs it.
        t_cursorProbe probe({WM_GETTEXT}, nullptr);
        ASSERT_EQ(1, Command(c_cmdSave));
        EXPECT_TRUE(probe.AlwaysWith(WM_GETTEXT, t_cursorProbe::Wait()));
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());

    // A save that fails: the package is held open by another program.
    {
        const t_autoCloseFile held(
            CreateFileW(package.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.IsValid());
        t_cursorProbe probe({WM_GETTEXT, WM_INITDIALOG}, nullptr);
        m_driver.Press(IDOK);
        EXPECT_EQ(0, Command(c_cmdSave));
        ASSERT_FALSE(m_driver.Seen().empty());
        EXPECT_EQ(L"保存皮肤文件失败", m_driver.Seen().back().caption);
        ASSERT_FALSE(probe.Of(WM_GETTEXT).empty());
        EXPECT_EQ(t_cursorProbe::Wait(), probe.Of(WM_GETTEXT).front().cursor);
        EXPECT_TRUE(probe.AlwaysWith(WM_INITDIALOG, t_cursorProbe::Arrow())) << "back before the report";
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());

    // An open that fails, over the open skin: closing it is part of the work.
    const std::wstring broken = m_folder.Path() + L"\\broken.vsf";
    {
        FILE* out = _wfopen(broken.c_str(), L"wb");
        ASSERT_NE(nullptr, out);
        fputs("not a package", out);
        fclose(out);
    }
    {
        t_cursorProbe probe({n_editorMessage::c_selectPage, WM_INITDIALOG}, nullptr);
        m_driver.Press(IDOK);
        EXPECT_EQ(0, m_frame->OnOpen(broken.c_str()));
        EXPECT_TRUE(probe.AlwaysWith(n_editorMessage::c_selectPage, t_cursorProbe::Wait()));
        EXPECT_TRUE(probe.AlwaysWith(WM_INITDIALOG, t_cursorProbe::Arrow())) << "back before the report";
    }
    EXPECT_EQ(t_cursorProbe::Arrow(), GetCursor());
    EXPECT_TRUE(m_driver.AllAnswered());
}

// Another start of the program hands over a package with WM_COPYDATA: anything else sent
// that way is turned down and opens nothing.
TEST_F(MainFrame, OpenRequestsFromOtherProgramsAreCheckedBeforeUse)
{
    const std::wstring package = SaveNewSkin(m_folder.Path() + L"\\handed.vsf");
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    const HWND frame = m_frame->GetHwnd();
    const ULONG_PTR id = IMEKavrelFrame::c_openRequestId;

    const std::wstring full = package + L'\0';
    const std::wstring noTerminator = package;
    const std::wstring innerNul = package + L'\0' + L"x" + L'\0';
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'n') + L".vsf" + L'\0';
    const std::wstring onlyNul(1, L'\0');
    struct t_case {
        const char* what;
        ULONG_PTR id;
        const void* data;
        DWORD bytes;
    };
    const DWORD fullBytes = static_cast<DWORD>(full.size() * sizeof(wchar_t));
    const t_case refused[] = {
        {"another id", id + 1, full.data(), fullBytes},
        {"no data", id, nullptr, fullBytes},
        {"odd size", id, full.data(), fullBytes - 1},
        {"no terminator", id, noTerminator.data(), static_cast<DWORD>(noTerminator.size() * sizeof(wchar_t))},
        {"a NUL inside", id, innerNul.data(), static_cast<DWORD>(innerNul.size() * sizeof(wchar_t))},
        {"longer than a path", id, tooLong.data(), static_cast<DWORD>(tooLong.size() * sizeof(wchar_t))},
        {"empty", id, onlyNul.data(), sizeof(wchar_t)},
        {"nothing", id, full.data(), 0},
    };
    for (const t_case& c : refused) {
        COPYDATASTRUCT data = {c.id, c.bytes, const_cast<void*>(c.data)};
        EXPECT_EQ(FALSE, SendMessageW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))) << c.what;
        PumpMessages(30);
        EXPECT_FALSE(IMESkin::Instance()->IsEditing()) << c.what;
    }

    // Taken at once, opened from the frame's queue; while a dialog of the editor is up
    // (the frame disabled) the request waits for it to close.
    COPYDATASTRUCT data = {id, fullBytes, const_cast<wchar_t*>(full.data())};
    EnableWindow(frame, FALSE);
    EXPECT_EQ(TRUE, SendMessageW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());
    PumpMessages(50);
    EXPECT_FALSE(IMESkin::Instance()->IsEditing());
    EnableWindow(frame, TRUE);
    PumpMessages(50);
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product + L" - handed", Title());
    EXPECT_EQ("0111", MenuStates());

    // The sender makes a relative path full against its own folder.
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(m_folder.Path().c_str()));
    const bool sent = SendOpenRequest(frame, L".\\handed.vsf");
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_TRUE(sent);
    PumpMessages(50);
    SetCurrentDirectoryW(before);
    EXPECT_TRUE(IMESkin::Instance()->IsEditing());
    EXPECT_EQ(c_product + L" - handed", Title());
}

TEST(SaveExtension, FollowsTheFilter)
{
    struct t_case {
        const wchar_t* name;
        int filter;
        const wchar_t* expected;
    };
    const t_case cases[] = {
        {L"C:\\s\\a.txt", 1, L"C:\\s\\a.txt.vsf"}, {L"C:\\s\\a", 1, L"C:\\s\\a.vsf"},
        {L"C:\\s\\a.VSF", 1, L"C:\\s\\a.VSF"},     {L"C:\\s.d\\a", 1, L"C:\\s.d\\a.vsf"},
        {L"C:\\s\\a.txt", 2, L"C:\\s\\a.txt"},
    };
    for (const t_case& c : cases) {
        wchar_t name[MAX_PATH];
        wcscpy(name, c.name);
        EXPECT_TRUE(ApplySaveExtension(name, MAX_PATH, c.filter));
        EXPECT_STREQ(c.expected, name);
    }
    // A name that fills the buffer is cut to 259 units; the extension then cannot fit.
    wchar_t full[MAX_PATH];
    wmemset(full, L'x', MAX_PATH - 1);
    full[MAX_PATH - 1] = 0;
    EXPECT_FALSE(ApplySaveExtension(full, MAX_PATH, 1));
    EXPECT_EQ(259u, wcslen(full));
}

TEST(SkinName, ResolvesLikeTheCommandLine)
{
    struct t_case {
        const wchar_t* name;
        const wchar_t* expected;
    };
    const t_case cases[] = {
        {L"foo", L"R:\\root\\AllSkin\\foo.vsf"}, {L"foo.ZIP", L"R:\\root\\AllSkin\\foo.ZIP"},
        {L"C:\\x\\y.zip", L"C:\\x\\y.zip"},      {L"C:\\x\\y", L"C:\\x\\y.vsf"},
        {L"vsf", L"R:\\root\\AllSkin\\vsf.vsf"},  // three units are a name, not an extension
    };
    for (const t_case& c : cases) {
        wchar_t out[MAX_PATH];
        ASSERT_TRUE(ResolveSkinName(c.name, L"R:\\root", out, MAX_PATH)) << c.name;
        EXPECT_STREQ(c.expected, out);
    }
    wchar_t out[MAX_PATH];
    EXPECT_FALSE(ResolveSkinName(L"foo", L"", out, MAX_PATH));
}

TEST(CommandLine, DropsQuotesAndKeeps259Units)
{
    IMEKavrelApp app;
    app.ParseCommandLine(L"\"\"\"");
    EXPECT_STREQ(L"", app.CommandLinePath());
    app.ParseCommandLine(L"\"C:\\my skins\\a.vsf\"");
    EXPECT_STREQ(L"C:\\my skins\\a.vsf", app.CommandLinePath());
    std::wstring longName(300, L'n');
    app.ParseCommandLine(longName.c_str());
    EXPECT_EQ(259u, wcslen(app.CommandLinePath()));
    app.ParseCommandLine(nullptr);
    EXPECT_STREQ(L"", app.CommandLinePath());
}

TEST(ImageFilter, FollowsSmoothText)
{
    SetImageFilter(false);
    EXPECT_EQ(20, GetImageFilterLength());
    EXPECT_STREQ(L"BMP文件(*.bmp)", GetImageFilter());
    EXPECT_STREQ(L"*.bmp", GetImageFilter() + wcslen(GetImageFilter()) + 1);
    SetImageFilter(true);
    EXPECT_EQ(39, GetImageFilterLength());
    EXPECT_STREQ(L"*.bmp;*.png;*.gif", GetImageFilter() + wcslen(GetImageFilter()) + 1);
}
}  // namespace
