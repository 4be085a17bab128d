// Mix-in of every skinned window and item that talks to the input method's host: the
// pointer to its UI context. A window without one uses the default context, so reaching
// the host never fails.
#pragma once

struct t_uiContext;

class t_wndUiSub {
public:
    t_wndUiSub() = default;
    virtual ~t_wndUiSub() = default;

    // The context given, else the default context; never null.
    t_uiContext* GetContext() const;
    void SetContext(t_uiContext* context) { m_context = context; }

protected:
    t_uiContext* m_context = nullptr;  // not owned
};
