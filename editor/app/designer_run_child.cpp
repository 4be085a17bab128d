// A designer's session with the editor, run in this process with the program's resources:
// start the editor, open a package, change a text colour on the display page, import a
// window picture on a layout page (the adjustment lines showing the fixed edges before and
// after), import a button-state picture on a button page, add a custom button, show it and
// give it a picture, move a status-bar button, watch the preview change after each edit,
// save under a new name, close, open the saved package again and check every change (the
// custom button still shown, also after another of its pictures is imported); then move
// the button again, save over that package and open it once more. Dialogs are answered from a second
// thread as the user would answer them.
//
// designer_run_child <package> <saved package> <window picture> <button picture> <colour 0xBBGGRR>
// Prints "step <name> <ms>" for each step's wall time and "fail <text>" for each failed
// check; exits 0 when every check held.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/pages/btn_page.h"
#include "editor/pages/layout_pages.h"
#include "editor/pages/property_view.h"
#include "editor/pages/skin_type_view.h"
#include "editor/pages/status_view.h"
#include "editor/pages/sub_dialog_tab.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/button_array.h"
#include "editor/widgets/color_picker.h"
#include "editor/widgets/manual_adjust_window.h"
#include "editor/widgets/status_adjust_wnd.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/flat_png.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_keyboard.h"

namespace {
int s_failures = 0;

void Fail(const std::string& text)
{
    ++s_failures;
    std::printf("fail %s\n", text.c_str());
    std::fflush(stdout);
}

void Check(bool condition, const std::string& text)
{
    if (!condition)
        Fail(text);
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        out.resize(static_cast<size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
        out.resize(static_cast<size_t>(size - 1));
    }
    return out;
}

// A PNG header's width or height.
int BigEndian(const uint8_t* bytes) { return bytes[0] << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3]; }

std::vector<uint8_t> ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wall time of one step, printed when the step ends.
class t_stepClock {
public:
    explicit t_stepClock(const char* name) : m_name(name), m_start(Now()) {}
    ~t_stepClock() { End(); }
    void End()
    {
        if (!m_name)
            return;
        std::printf("step %s %.0f\n", m_name, (Now() - m_start) * 1000.0);
        std::fflush(stdout);
        m_name = nullptr;
    }

private:
    static double Now()
    {
        LARGE_INTEGER count, frequency;
        QueryPerformanceCounter(&count);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    const char* m_name;
    double m_start;
};

const int c_statusPage = 6;
// Where the Chinese/English status button goes: typed, then one arrow key, then another.
const wchar_t c_movedPosition[] = L"31,6";
const wchar_t c_finalPosition[] = L"31,7";
// The window's horizontal stretch with the left fixed edge typed as 7.
const wchar_t c_editedEdges[] = L"0,7,8";

// The colour dialog answered as a user answers it: the red, green and blue boxes typed,
// then OK.
const UINT c_answerColour = WM_APP + 41;
COLORREF s_typedColour = 0;
const int c_colourRedEdit = 706;

UINT_PTR CALLBACK TypeColour(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        PostMessageW(dialog, c_answerColour, 0, 0);
        return TRUE;
    }
    if (message == c_answerColour) {
        SetDlgItemInt(dialog, c_colourRedEdit, GetRValue(s_typedColour), FALSE);
        SetDlgItemInt(dialog, c_colourRedEdit + 1, GetGValue(s_typedColour), FALSE);
        SetDlgItemInt(dialog, c_colourRedEdit + 2, GetBValue(s_typedColour), FALSE);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI ChooseColourByTyping(CHOOSECOLORW* choose)
{
    CHOOSECOLORW typed = *choose;
    typed.Flags |= CC_ENABLEHOOK;
    typed.lpfnHook = TypeColour;
    const BOOL ok = ChooseColorW(&typed);
    choose->rgbResult = typed.rgbResult;
    return ok;
}

class t_designer {
public:
    t_designer(const wchar_t* package, const wchar_t* saved, const wchar_t* windowPicture, const wchar_t* buttonPicture,
               COLORREF colour)
        : m_package(package), m_saved(saved), m_windowPicture(windowPicture), m_buttonPicture(buttonPicture),
          m_colour(colour)
    {}

    void Run()
    {
        if (!Start())
            return;
        if (!OpenPackage())
            return;
        // A dialog left unanswered would take the answer meant for the next one: the
        // session ends there.
        using t_step = void (t_designer::*)();
        for (t_step step :
             {&t_designer::ChangeColour, &t_designer::ImportWindowPicture, &t_designer::ImportButtonPicture,
              &t_designer::AddCustomButton, &t_designer::MoveStatusButton, &t_designer::SaveAndClose,
              &t_designer::Reopen, &t_designer::ShowReopenedCustomButton, &t_designer::SaveInPlace}) {
            if (m_stuck)
                break;
            (this->*step)();
        }
        for (const t_dialogDriver::t_seen& seen : m_driver.Unexpected())
            Fail("a dialog nobody expected was cancelled: " + Narrow(seen.caption + L" / " + seen.text));
    }

private:
    bool Start()
    {
        t_stepClock clock("start");
        SetModuleInstance(GetModuleHandleW(nullptr));
        if (!IMEKavrelApp::RegisterClasses() || !IMEKavrelApp::Instance()->InitInstance()) {
            Fail("the editor did not start");
            return false;
        }
        m_frame = IMEKavrelApp::Instance()->Frame();
        ShowWindow(m_frame->GetHwnd(), SW_SHOW);
        PumpMessages(50);
        return true;
    }

    bool OpenPackage()
    {
        t_stepClock clock("open");
        m_driver.Type(m_package);
        if (Command(c_cmdOpen) != 1 || !IMESkin::Instance()->IsEditing()) {
            Fail("the package did not open");
            return false;
        }
        Answered("the open dialog was answered");
        PumpMessages(50);
        return true;
    }

    void ChangeColour()
    {
        t_stepClock clock("display_colour");
        SelectPage(1);
        const std::vector<uint32_t> before = Grab();
        ColorPicker::SetChooseColorFn(ChooseColourByTyping);
        s_typedColour = m_colour;
        const HWND page = Pages()->Page(1)->GetHwnd();
        SendMessageW(GetDlgItem(page, c_displayFirstColor), BM_CLICK, 0, 0);
        ColorPicker::SetChooseColorFn(nullptr);
        Check(IMESkin::Instance()->Display().zhongwenFirstColor == m_colour, "the model holds the typed colour");
        Check(WorkIni(L"Display", L"zhongwen_first_color") == ColourText(), "the work Skin.ini holds the colour");
        RequireChange(before, "display colour");
    }

    void ImportWindowPicture()
    {
        t_stepClock clock("layout_picture");
        SelectPage(2);
        SelectTab(2, 0);
        const std::vector<uint32_t> before = Grab();
        const HWND page = static_cast<SubDialogTab*>(Pages()->Page(2))->Page(0)->GetHwnd();
        CheckAdjustLines("the opened skin", 8, 8, 8, 8);
        m_driver.Type(m_windowPicture);
        SendMessageW(GetDlgItem(page, c_combinePictureImport), BM_CLICK, 0, 0);
        Answered("the picture dialog was answered");
        Check(ReadBytes(WorkFile(WorkIni(L"Scheme_H1", L"pic"))) == ReadBytes(m_windowPicture),
              "the chosen picture is in the skin");
        CheckAdjustLines("the new picture", 8, 8, 8, 8);
        RequireChange(before, "window picture");
    }

    // The adjustment lines of the combined horizontal window at the fixed edges (picture
    // pixels), as the window scales them, with the page's own picture loaded.
    void CheckAdjustLines(const char* when, int left, int right, int top, int bottom)
    {
        LayoutPage* page = dynamic_cast<LayoutPage*>(static_cast<SubDialogTab*>(Pages()->Page(2))->Page(0));
        ManualAdjustWindow* adjust = page ? page->AdjustWindow(0) : nullptr;
        int pw = 0;
        int ph = 0;
        if (adjust)
            adjust->GetPictureSize(pw, ph);
        if (!adjust || pw <= 0 || ph <= 0) {
            Fail(std::string("the adjustment window shows a picture on ") + when);
            return;
        }
        RECT client;
        GetClientRect(adjust->GetHwnd(), &client);
        const int w = client.right, h = client.bottom;
        const struct {
            int grip, shown, expected;
        } lines[] = {
            {ManualAdjustWindow::e_left, adjust->GripRect(ManualAdjustWindow::e_left).left, left * w / pw},
            {ManualAdjustWindow::e_right, adjust->GripRect(ManualAdjustWindow::e_right).right, (pw - right) * w / pw},
            {ManualAdjustWindow::e_top, adjust->GripRect(ManualAdjustWindow::e_top).top, top * h / ph},
            {ManualAdjustWindow::e_bottom, adjust->GripRect(ManualAdjustWindow::e_bottom).bottom,
             (ph - bottom) * h / ph},
        };
        for (const auto& line : lines)
            Check(line.shown == line.expected,
                  std::string("on ") + when + " adjustment line " + std::to_string(line.grip) + " stands at " +
                      std::to_string(line.shown) + ", not " + std::to_string(line.expected));
    }

    // A custom button added on the combined horizontal window's button page, shown with its
    // check box and given a normal picture.
    void AddCustomButton()
    {
        t_stepClock clock("custom_button");
        BtnPage* page = ShowButtonPage();
        if (!page) {
            Fail("the button page is not shown");
            return;
        }
        m_customPicture = m_saved + L".custom.png";
        const std::string png = FlatPng(14, 14, {0xC02080FFu});
        std::ofstream(m_customPicture.c_str(), std::ios::binary)
            .write(png.data(), static_cast<std::streamsize>(png.size()));
        const std::vector<uint32_t> before = Grab();
        SendMessageW(page->GetHwnd(), WM_COMMAND, MAKEWPARAM(c_btnPageAddCustom, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page->GetHwnd(), c_btnPageAddCustom)));
        const int row = BtnPage::c_builtInCount;
        const HWND list = GetDlgItem(page->GetHwnd(), c_btnPageList);
        LVITEMW state = {};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        ButtonArray::t_item* normal = CustomRow(page, row, c_propNormal);
        if (!normal) {
            Fail("the custom button's editor is not shown");
            return;
        }
        m_driver.Type(m_customPicture);
        SendMessageW(GetDlgItem(normal->GetHwnd(), ButtonArray::c_idImport), BM_CLICK, 0, 0);
        Answered("the custom picture dialog was answered");
        Check(WorkIni(L"Scheme_H1", L"custom0_display") == L"1", "the custom button is shown in Skin.ini");
        RequireChange(before, "custom button");
    }

    // After the reopen the custom button's row is ticked, and another of its pictures keeps
    // it shown.
    void ShowReopenedCustomButton()
    {
        t_stepClock clock("custom_button_reopened");
        BtnPage* page = ShowButtonPage();
        const int row = BtnPage::c_builtInCount;
        if (!page || page->List().RowCount() <= row) {
            Fail("the reopened button page lists the custom button");
            return;
        }
        Check(page->List().IsChecked(row), "the reopened custom button's row is ticked");
        const HWND list = GetDlgItem(page->GetHwnd(), c_btnPageList);
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        ButtonArray::t_item* hover = CustomRow(page, row, c_propHover);
        if (!hover) {
            Fail("the reopened custom button's editor is not shown");
            return;
        }
        m_driver.Type(m_customPicture);
        SendMessageW(GetDlgItem(hover->GetHwnd(), ButtonArray::c_idImport), BM_CLICK, 0, 0);
        Answered("the custom hover picture dialog was answered");
        Check(page->List().IsChecked(row), "the custom button's row stays ticked after another picture");
        Check(WorkIni(L"Scheme_H1", L"custom0_display") == L"1",
              "the custom button stays shown in Skin.ini: " + Narrow(WorkIni(L"Scheme_H1", L"custom0_display")));
    }

    BtnPage* ShowButtonPage()
    {
        SelectPage(2);
        SelectTab(2, 1);
        return dynamic_cast<BtnPage*>(static_cast<SubDialogTab*>(Pages()->Page(2))->Page(1));
    }

    static ButtonArray::t_item* CustomRow(BtnPage* page, int row, int property)
    {
        ButtonArray* editor = page->View().Editor(row);
        if (page->View().CurrentEditor() != row || !editor || !IsWindowVisible(editor->GetHwnd()))
            return nullptr;
        return editor->FindRow(0, property);
    }

    void ImportButtonPicture()
    {
        t_stepClock clock("button_picture");
        ButtonArray::t_item* normal = ShowPageDownEditor();
        if (!normal) {
            Fail("the page-down button's editor is not shown");
            return;
        }
        const std::vector<uint32_t> before = Grab();
        m_driver.Type(m_buttonPicture);
        SendMessageW(GetDlgItem(normal->GetHwnd(), ButtonArray::c_idImport), BM_CLICK, 0, 0);
        Answered("the button picture dialog was answered");
        Check(normal->HasPicture(), "the button row shows the imported picture");
        m_buttonFile = normal->FileName();
        Check(ReadBytes(WorkFile(m_buttonFile)) == ReadBytes(m_buttonPicture),
              "the work folder holds the imported button picture");
        RequireChange(before, "button picture");
    }

    // The Chinese/English button, typed to (30, 6) in its editor, then one pixel right with
    // the arrow key on its element in the layout editor.
    void MoveStatusButton()
    {
        t_stepClock clock("status_position");
        SelectPage(c_statusPage);
        StatusView* page = dynamic_cast<StatusView*>(Pages()->Page(c_statusPage));
        const int row = 0;
        if (!page || !page->AdjustWindow() || StatusView::DisplayOrder()[row].index != c_btnCnEn) {
            Fail("no status-bar page with the Chinese/English button first");
            return;
        }
        const HWND list = GetDlgItem(page->GetHwnd(), c_statusButtonList);
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        ButtonArray* editor = page->View().Editor(row);
        GEButton* element = page->AdjustWindow()->Background()->Button(row);
        if (!editor || !element || !IsWindowVisible(element->GetHwnd())) {
            Fail("the Chinese/English button is not on the bar");
            return;
        }
        const std::vector<uint32_t> before = Grab();
        SetWindowTextW(GetDlgItem(editor->GetHwnd(), ButtonArrayStatus::c_idYEdit), L"6");
        SetWindowTextW(GetDlgItem(editor->GetHwnd(), ButtonArrayStatus::c_idXEdit), L"30");
        Check(WorkIni(L"StatusBar", L"cn_en_pos") == L"30,6", "the typed position is stored");

        PressArrow(element, VK_RIGHT);
        Check(WorkIni(L"StatusBar", L"cn_en_pos") == c_movedPosition,
              "the arrow key's move is stored: " + Narrow(WorkIni(L"StatusBar", L"cn_en_pos")));
        RequireChange(before, "status-button position");
        m_edited = Grab();
    }

    void SaveAndClose()
    {
        {
            t_stepClock clock("save_as");
            m_driver.Type(m_saved);
            Check(Command(c_cmdSaveAs) == 1, "save as succeeded");
            Answered("the save dialog was answered");
            Check(GetFileAttributesW(m_saved.c_str()) != INVALID_FILE_ATTRIBUTES, "the saved package exists");
        }
        {
            // The designer tidies the folder the window picture came from, changes a fixed
            // edge of that window and saves again: the picture is in the skin already.
            t_stepClock clock("edit_and_save");
            const std::wstring away = m_windowPicture + L".away";
            MoveFileW(m_windowPicture.c_str(), away.c_str());
            SelectPage(2);
            SelectTab(2, 0);
            const HWND page = static_cast<SubDialogTab*>(Pages()->Page(2))->Page(0)->GetHwnd();
            const std::wstring field = t_dialogDriver::TextOf(GetDlgItem(page, c_combinePicture));
            Check(!field.empty() && field.find(L'\\') == std::wstring::npos,
                  "the path field shows the picture's name in the skin: " + Narrow(field));
            SetWindowTextW(GetDlgItem(page, c_combineLeftEdge), L"7");
            Check(m_frame->IsModified(), "the edge change marks the skin modified");
            const bool saved = Command(c_cmdSave) == 1 && !m_frame->IsModified();
            MoveFileW(away.c_str(), m_windowPicture.c_str());
            if (!saved) {
                Fail("saving again succeeded");
                m_stuck = true;
                return;
            }
            Check(WorkIni(L"Scheme_H1", L"layout_horizontal") == c_editedEdges, "the edge change is stored");
            SelectPage(c_statusPage);
            m_edited = Grab();
        }
        t_stepClock clock("close");
        Check(Command(c_cmdClose) == 1 && !IMESkin::Instance()->IsEditing(), "the skin closed without a question");
    }

    void Reopen()
    {
        {
            t_stepClock clock("reopen");
            m_driver.Type(m_saved);
            if (Command(c_cmdOpen) != 1 || !IMESkin::Instance()->IsEditing()) {
                Fail("the saved package did not open");
                m_stuck = true;
                return;
            }
            PumpMessages(50);
        }
        t_stepClock clock("verify");
        Check(!m_frame->IsModified(), "the reopened skin is not marked modified");
        SelectPage(c_statusPage);
        const std::vector<uint32_t> reopened = Grab();
        size_t differing = reopened.size() == m_edited.size() ? 0 : reopened.size();
        for (size_t i = 0; !differing && i < reopened.size(); ++i)
            differing += reopened[i] != m_edited[i];
        std::printf("preview reopened %zu pixels differ from the edited skin's\n", differing);
        Check(differing == 0, "the reopened skin's preview shows what the edited skin's showed");
        IMESkin* skin = IMESkin::Instance();
        Check(skin->Display().zhongwenFirstColor == m_colour, "the reopened model holds the colour");
        Check(WorkIni(L"Display", L"zhongwen_first_color") == ColourText(), "the reopened Skin.ini holds the colour");

        const std::wstring windowFile = WorkIni(L"Scheme_H1", L"pic");
        Check(windowFile.find(L'\\') == std::wstring::npos, "the window picture is named inside the package");
        Check(ReadBytes(WorkFile(windowFile)) == ReadBytes(m_windowPicture),
              "the reopened window picture is the imported one (" + Narrow(windowFile) + ")");
        const HWND layout = static_cast<SubDialogTab*>(Pages()->Page(2))->Page(0)->GetHwnd();
        Check(t_dialogDriver::TextOf(GetDlgItem(layout, c_combinePicture)) == windowFile,
              "the layout page shows the reopened picture name");
        const std::vector<uint8_t> chosen = ReadBytes(m_windowPicture);
        LayoutPage* layoutPage = dynamic_cast<LayoutPage*>(static_cast<SubDialogTab*>(Pages()->Page(2))->Page(0));
        int width = 0;
        int height = 0;
        if (layoutPage && layoutPage->AdjustWindow(0))
            layoutPage->AdjustWindow(0)->GetPictureSize(width, height);
        Check(chosen.size() > 24 && width == BigEndian(&chosen[16]) && height == BigEndian(&chosen[20]),
              "the layout page's adjustment window shows the reopened picture");
        CheckAdjustLines("the reopened skin", 7, 8, 8, 8);

        t_str stored;
        t_str key;
        MakePropertyKey(key, c_btnPageDown, c_btnBuiltIn, c_propNormal);
        Check(skin->ButtonSet(1).GetStringByKey(key.c_str(), 0, stored) && m_buttonFile == stored.c_str(),
              "the reopened button set names the imported picture");
        Check(ReadBytes(WorkFile(m_buttonFile)) == ReadBytes(m_buttonPicture),
              "the reopened button picture is the imported one");
        Check(WorkIni(L"Scheme_H1", L"pagedown").find(m_buttonFile + L",") == 0,
              "the reopened Skin.ini names the button picture");
        ButtonArray::t_item* normal = ShowPageDownEditor();
        Check(normal && normal->HasPicture() && m_buttonFile == normal->FileName(),
              "the reopened button page shows the imported picture");

        Check(WorkIni(L"StatusBar", L"cn_en_pos") == c_movedPosition,
              "the reopened Skin.ini holds the button position");
        Check(WorkIni(L"Scheme_H1", L"layout_horizontal") == c_editedEdges, "the reopened Skin.ini holds the edge");
        StatusView* page = dynamic_cast<StatusView*>(Pages()->Page(c_statusPage));
        GEButton* element = page && page->AdjustWindow() ? page->AdjustWindow()->Background()->Button(0) : nullptr;
        RECT placed = {};
        if (element) {
            GetWindowRect(element->GetHwnd(), &placed);
            MapWindowPoints(nullptr, GetParent(element->GetHwnd()), reinterpret_cast<POINT*>(&placed), 2);
        }
        Check(element && placed.left == 31 && placed.top == 6,
              "the reopened layout editor places the button at (31, 6)");
        Check(!m_frame->IsModified(), "showing the reopened skin's pages marks nothing");
    }

    // One press of an arrow key on the keyboard while the element has the focus.
    void PressArrow(GEButton* element, WORD arrow)
    {
        SetForegroundWindow(m_frame->GetHwnd());
        PumpMessages(100);
        SetFocus(element->GetHwnd());
        PumpMessages(30);
        Check(GetFocus() == element->GetHwnd(), "the button's element has the focus");
        SendKeyPress(arrow);
        PumpMessages(50);
    }

    // The reopened skin edited once more (the button one pixel down), saved over the
    // package it was opened from, closed and opened again.
    void SaveInPlace()
    {
        {
            t_stepClock clock("save_in_place");
            SelectPage(c_statusPage);
            StatusView* page = dynamic_cast<StatusView*>(Pages()->Page(c_statusPage));
            GEButton* element = page && page->AdjustWindow() ? page->AdjustWindow()->Background()->Button(0) : nullptr;
            if (!element) {
                Fail("no status-bar layout editor");
                return;
            }
            const std::vector<uint32_t> before = Grab();
            PressArrow(element, VK_DOWN);
            Check(WorkIni(L"StatusBar", L"cn_en_pos") == c_finalPosition,
                  "the second move is stored: " + Narrow(WorkIni(L"StatusBar", L"cn_en_pos")));
            RequireChange(before, "second status-button move");
            Check(m_frame->IsModified(), "the move marks the skin modified");
            Check(Command(c_cmdSave) == 1 && !m_frame->IsModified(), "save over the opened package succeeded");
            Check(Command(c_cmdClose) == 1 && !IMESkin::Instance()->IsEditing(), "the skin closed again");
        }
        t_stepClock clock("reopen_again");
        m_driver.Type(m_saved);
        if (Command(c_cmdOpen) != 1 || !IMESkin::Instance()->IsEditing()) {
            Fail("the package saved in place did not open");
            return;
        }
        Check(WorkIni(L"StatusBar", L"cn_en_pos") == c_finalPosition, "the second move came back");
        Check(WorkIni(L"Display", L"zhongwen_first_color") == ColourText(), "the colour came back again");
        Check(ReadBytes(WorkFile(WorkIni(L"Scheme_H1", L"pic"))) == ReadBytes(m_windowPicture),
              "the window picture came back again");
        Check(ReadBytes(WorkFile(m_buttonFile)) == ReadBytes(m_buttonPicture), "the button picture came back again");
    }

    // The button page of the combined horizontal window with the page-down button selected
    // in its list: the row of the normal picture of its first variant; null when not shown.
    ButtonArray::t_item* ShowPageDownEditor()
    {
        SelectPage(2);
        SelectTab(2, 1);
        BtnPage* page = dynamic_cast<BtnPage*>(static_cast<SubDialogTab*>(Pages()->Page(2))->Page(1));
        if (!page)
            return nullptr;
        int row = -1;
        for (int i = 0; i < BtnPage::c_builtInCount; ++i) {
            if (BtnPage::DisplayOrder()[i].index == c_btnPageDown && BtnPage::DisplayOrder()[i].type == c_btnBuiltIn)
                row = i;
        }
        if (row < 0)
            return nullptr;
        const HWND list = GetDlgItem(page->GetHwnd(), c_btnPageList);
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        ButtonArray* editor = page->View().Editor(row);
        if (page->View().CurrentEditor() != row || !editor || !IsWindowVisible(editor->GetHwnd()))
            return nullptr;
        return editor->FindRow(0, c_propNormal);
    }

    void Answered(const char* what)
    {
        if (m_driver.AllAnswered())
            return;
        Fail(what);
        m_stuck = true;
    }

    LRESULT Command(int id) { return SendMessageW(m_frame->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    PropertyView* Pages() const { return static_cast<PropertyView*>(m_frame->ChildAt(IMEKavrelFrame::e_pages)); }
    Preview* PreviewWindow() const { return static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview)); }

    // A click on the page's item in the tree.
    void SelectPage(int page)
    {
        SkinTypeView* tree = static_cast<SkinTypeView*>(m_frame->ChildAt(IMEKavrelFrame::e_pageTree));
        const HWND control = GetDlgItem(tree->GetHwnd(), c_pageTreeControl);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(control, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (int i = 0; item && i < page; ++i)
            item = reinterpret_cast<HTREEITEM>(
                SendMessageW(control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        SendMessageW(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Check(Pages()->CurrentIndex() == page, "page " + std::to_string(page) + " is shown");
        PumpMessages(30);
    }

    // A click on a tab of a tab view: the strip reports the change to the view.
    void SelectTab(int page, int tab)
    {
        SubDialogTab* view = static_cast<SubDialogTab*>(Pages()->Page(page));
        const HWND strip = view->TabControl();
        TabCtrl_SetCurSel(strip, tab);
        NMHDR header = {strip, static_cast<UINT_PTR>(GetDlgCtrlID(strip)), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(view->GetHwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        Check(IsWindowVisible(view->Page(tab)->GetHwnd()), "tab " + std::to_string(tab) + " is shown");
        PumpMessages(30);
    }

    // The preview's back buffer as the preview paints it now.
    std::vector<uint32_t> Grab()
    {
        PumpMessages(30);
        Preview* preview = PreviewWindow();
        preview->RenderBackBuffer();
        const SIZE size = preview->BackBufferSize();
        const uint32_t* pixels = preview->BackBufferPixels();
        if (!pixels || size.cx <= 0 || size.cy <= 0)
            return std::vector<uint32_t>();
        return std::vector<uint32_t>(pixels, pixels + static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    }

    void RequireChange(const std::vector<uint32_t>& before, const char* what)
    {
        const std::vector<uint32_t> after = Grab();
        size_t changed = 0;
        if (before.size() != after.size()) {
            changed = after.size();
        } else {
            for (size_t i = 0; i < after.size(); ++i)
                changed += before[i] != after[i];
        }
        std::printf("preview %s %zu pixels changed of %zu\n", what, changed, after.size());
        Check(!before.empty() && changed > 0, std::string("the preview shows the ") + what);
    }

    std::wstring WorkFile(const std::wstring& name) const
    {
        return std::wstring(IMESkin::Instance()->GetWorkFolder()) + L"\\" + name;
    }

    static std::wstring WorkIni(const wchar_t* section, const wchar_t* key)
    {
        wchar_t ini[MAX_PATH];
        t_errorChain errors;
        if (!IMESkin::Instance()->RefreshWorkCopy(errors) || !IMESkin::Instance()->GetIniPath(ini))
            return L"<no Skin.ini>";
        t_iniDocument document(false);
        if (!document.ReadConfig(errors, ini, 936))
            return L"<unreadable>";
        const wchar_t* value = document.GetValue(section, key);
        return value ? value : L"<missing>";
    }

    std::wstring ColourText() const
    {
        wchar_t text[16];
        _snwprintf(text, 16, L"0x%06x", static_cast<unsigned>(m_colour));
        text[15] = 0;
        return text;
    }

    std::wstring m_package;
    std::wstring m_saved;
    std::wstring m_windowPicture;
    std::wstring m_buttonPicture;
    COLORREF m_colour;
    std::wstring m_buttonFile;
    std::wstring m_customPicture;
    // The preview after the last edit before the package was closed, on the status-bar page.
    std::vector<uint32_t> m_edited;
    IMEKavrelFrame* m_frame = nullptr;
    bool m_stuck = false;
    t_dialogDriver m_driver;
};
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 6) {
        std::printf("usage: designer_run_child <package> <saved> <window picture> <button picture> <colour>\n");
        return 2;
    }
    {
        t_designer designer(argv[1], argv[2], argv[3], argv[4], static_cast<COLORREF>(wcstoul(argv[5], nullptr, 16)));
        designer.Run();
    }
    std::printf("%d failure(s)\n", s_failures);
    std::fflush(stdout);
    // The editor's windows and singletons stay until the process ends, as the frame tests leave them.
    ExitProcess(s_failures ? 1 : 0);
}
