// Whether the Flash server runs: it owns a named event that this program only ever opens.
#pragma once

#include <windows.h>

class t_flashServerEvent {
public:
    static const wchar_t* const c_eventName;  // "Local\evt_vxFlashServerGlobal"

    // Probes the event at once; no handle is kept afterwards.
    t_flashServerEvent();
    ~t_flashServerEvent();
    t_flashServerEvent(const t_flashServerEvent&) = delete;
    t_flashServerEvent& operator=(const t_flashServerEvent&) = delete;

    bool IsPresent() const { return m_present; }
    const wchar_t* Name() const { return m_name; }

private:
    HANDLE m_event = nullptr;
    wchar_t m_name[MAX_PATH] = {};
    bool m_probeOnly = true;
    bool m_present = false;
};
