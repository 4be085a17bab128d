// The editor inside a test program: its window classes registered once, the application
// and its main frame started, a test's host window taken down, and the dialogs nobody
// expected reported. t_editorFrameTest runs the main frame for one test with a new skin.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/window.h"
#include "editor/resources/resource_ids.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/message_pump.h"

// The editor's window classes, registered once for every suite of the program.
inline bool RegisterEditorClasses()
{
    static const bool registered = [] {
        SetModuleInstance(GetModuleHandleW(nullptr));
        return IMEKavrelApp::RegisterClasses();
    }();
    return registered;
}

// The application as the program starts it, main frame included.
inline bool StartEditorApp() { return RegisterEditorClasses() && IMEKavrelApp::Instance()->InitInstance(); }

// Closes the skin the frame has open, unsaved, so that a test starts with nothing open.
inline bool CloseFrameSkin(IMEKavrelFrame& frame)
{
    if (!IMESkin::Instance()->IsEditing())
        return true;
    frame.SetModified(false);
    return frame.CloseSkin();
}

// A value of the work folder's Skin.ini as the preview's refresh wrote it.
inline std::wstring WorkIniValue(const wchar_t* section, const std::wstring& key)
{
    wchar_t ini[MAX_PATH];
    if (!IMESkin::Instance()->GetIniPath(ini))
        return L"<no Skin.ini>";
    t_iniDocument document(false);
    t_errorChain errors;
    if (!document.ReadConfig(errors, ini, 936))
        return L"<unreadable>";
    const wchar_t* value = document.GetValue(section, key.c_str());
    return value ? value : L"<missing>";
}

// Fails the test once for every dialog the driver cancelled because nothing expected it.
inline void ExpectNoUnexpectedDialogs(t_dialogDriver& driver)
{
    for (const t_dialogDriver::t_seen& seen : driver.Unexpected())
        ADD_FAILURE() << "a dialog nobody expected was cancelled: " << seen.caption.size() << " units of caption";
}

// Destroys a test's top-level host window and the children it owns.
inline void DestroyHost(Frame& host)
{
    DestroyWindow(host.GetHwnd());
    host.OnDestroy();
}

// Closes the skin a test left open.
inline void CloseSkinLeftOpen()
{
    if (IMESkin::Instance()->IsEditing())
        IMESkin::Instance()->Close();
}

// The end of a test that hosts editor windows in its own top-level window: the host goes,
// the skin closes, and dialogs nobody expected fail the test.
inline void TearDownHost(Frame& host, t_dialogDriver& driver)
{
    DestroyHost(host);
    CloseSkinLeftOpen();
    ExpectNoUnexpectedDialogs(driver);
}

// The editor's main frame for one test, as the program shows it: a new skin, the frame in
// front. Afterwards the skin is closed unsaved and the frame destroyed, so the suites that
// follow find no editor window.
class t_editorFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorApp());
        m_frame = IMEKavrelApp::Instance()->Frame();
        ASSERT_NE(nullptr, m_frame);
        m_window = m_frame->GetHwnd();
        ASSERT_EQ(1, SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(c_cmdNew, 0), 0));
        SetForegroundWindow(m_window);
        PumpMessages(100);
    }

    void TearDown() override
    {
        if (m_frame) {
            m_frame->SetModified(false);
            EXPECT_TRUE(m_frame->CloseSkin());
            DestroyWindow(m_window);
            PumpMessages(20);
        }
        ExpectNoUnexpectedDialogs(m_driver);
    }

    IMEKavrelFrame* m_frame = nullptr;
    HWND m_window = nullptr;
    t_dialogDriver m_driver;
};
