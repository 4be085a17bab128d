// The wait cursor while the editor works on its UI thread (opening, importing a picture,
// saving). Before the work starts the window's top-level window and its children paint
// what is pending, so a dialog that just closed leaves nothing half-painted behind while
// the thread is busy; the cursor the thread had comes back when the owner goes, on every
// road out. Questions and error messages belong after the owner's scope.
#pragma once

#include <windows.h>

class WaitCursor {
public:
    explicit WaitCursor(HWND window);
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
