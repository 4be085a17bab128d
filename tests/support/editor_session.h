// The editor's main frame running inside a test program, as the page tests drive it: the
// application starts once per suite, every test begins with a new, unmodified skin, and the
// skin-changed messages that reach the preview are recorded. Helpers drive list views as a
// click would and read the work folder's Skin.ini as the preview's refresh wrote it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/pages/property_view.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"

class t_editorSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(StartEditorApp());
        Hook() = SetWindowsHookExW(WH_CALLWNDPROC, RecordPreviewChange, nullptr, GetCurrentThreadId());
    }

    static void TearDownTestSuite()
    {
        UnhookWindowsHookEx(Hook());
        Hook() = nullptr;
    }

    void SetUp() override
    {
        m_frame = IMEKavrelApp::Instance()->Frame();
        ASSERT_NE(nullptr, m_frame);
        ASSERT_TRUE(CloseFrameSkin(*m_frame));
        ASSERT_EQ(1, Command(c_cmdNew));
        m_frame->SetModified(false);
        PreviewChanges().clear();
    }

    void TearDown() override { ExpectNoUnexpectedDialogs(m_driver); }

    LRESULT Command(int id) { return SendMessageW(m_frame->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    PropertyView* Pages() const { return static_cast<PropertyView*>(m_frame->ChildAt(IMEKavrelFrame::e_pages)); }

    // Saves the skin into package (the driver answers the file dialog of Save, or of
    // command), closes it and opens the package again.
    void SaveAndReopen(const std::wstring& package, int command = c_cmdSave)
    {
        m_driver.Type(package);
        ASSERT_EQ(1, Command(command));
        ASSERT_TRUE(m_driver.AllAnswered());
        m_frame->SetModified(false);
        ASSERT_TRUE(m_frame->CloseSkin());
        ASSERT_EQ(1, m_frame->OnOpen(package.c_str()));
    }

    // Dispatches for ms as the program's message loop does: accelerators and dialog keys
    // first (arrow keys in a page reach only the controls that ask for them).
    static void PumpAsProgram(DWORD ms)
    {
        const DWORD end = GetTickCount() + ms;
        do {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!IMEKavrelApp::Instance()->PreTranslate(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(5);
        } while (static_cast<int>(end - GetTickCount()) > 0);
    }

    // The skin-changed messages sent to the preview on this thread: each one re-packs and
    // reloads the preview.
    static std::vector<WPARAM>& PreviewChanges()
    {
        static std::vector<WPARAM> changes;
        return changes;
    }
    static bool ChangedPart(int part)
    {
        for (WPARAM w : PreviewChanges()) {
            if (LOWORD(w) == part)
                return true;
        }
        return false;
    }

    // A value of the work folder's Skin.ini as the preview's refresh wrote it.
    static std::wstring IniValue(const wchar_t* section, const std::wstring& key) { return WorkIniValue(section, key); }

    // A click on a row as the list reports it: the row alone selected.
    static void SelectRow(HWND list, int row)
    {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    // A click on a row's check box.
    static void ToggleCheck(HWND list, int row, bool checked)
    {
        LVITEMW item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

    IMEKavrelFrame* m_frame = nullptr;
    t_dialogDriver m_driver;

private:
    static HHOOK& Hook()
    {
        static HHOOK hook = nullptr;
        return hook;
    }
    static LRESULT CALLBACK RecordPreviewChange(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->message == n_editorMessage::c_skinChanged && sent->hwnd == Preview::Current())
            PreviewChanges().push_back(sent->wParam);
        return CallNextHookEx(Hook(), code, wParam, lParam);
    }
};
