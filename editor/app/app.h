// The editor process: the window classes, start-up (the input method's window classes and
// status-bar popups, settings, single instance, the foundation services, the main frame),
// the message loop and the picture-file filter.
#pragma once

#include <windows.h>

class IMEKavrelFrame;

class IMEKavrelApp {
public:
    IMEKavrelApp();
    ~IMEKavrelApp();
    IMEKavrelApp(const IMEKavrelApp&) = delete;
    IMEKavrelApp& operator=(const IMEKavrelApp&) = delete;

    // The named singleton "IMEKavrelApp".
    static IMEKavrelApp* Instance();

    // The command line without its double quotes, at most 259 characters.
    void ParseCommandLine(const wchar_t* text);
    const wchar_t* CommandLinePath() const { return m_commandLinePath; }
    static bool RegisterClasses();
    bool InitInstance();
    // Runs until WM_QUIT or a GetMessageW error.
    int Run();
    void SetModified(bool modified);
    IMEKavrelFrame* Frame() const { return m_frame; }
    // One message through the accelerators and the dialogs on its parent chain; true
    // when one of them took it.
    bool PreTranslate(MSG& message);

private:
    IMEKavrelFrame* m_frame;
    HMENU m_menu;
    HACCEL m_accelerators;
    wchar_t m_commandLinePath[MAX_PATH];
};
