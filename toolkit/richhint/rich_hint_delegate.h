// What the rich-hint elements ask of the window that owns them: link, button and check
// results, repaint requests and the host's settings.
#pragma once

class t_wndRichHintDelegate {
public:
    virtual ~t_wndRichHintDelegate();

    // A link in address mode was clicked.
    virtual void OnHref(const wchar_t* href, const wchar_t* text) = 0;
    // A link in action mode was clicked.
    virtual void OnAction(const wchar_t* action, const wchar_t* text) = 0;
    // A push button was clicked.
    virtual void OnButton(int id, const wchar_t* text) = 0;
    // A check box toggled itself.
    virtual void OnCheck(int id, const wchar_t* text) = 0;
    // An element's look changed.
    virtual void Redraw() = 0;
    // A three-state picture was clicked.
    virtual void OnImageClick() = 0;
    // Whether the boolean setting exists, and its value.
    virtual bool GetEnvBool(const wchar_t* name, bool& value) = 0;
    // Whether the integer setting exists, and its value.
    virtual bool GetEnvInt(const wchar_t* name, int& value) = 0;
    // The window hid itself.
    virtual void OnHintClosed() = 0;
};
