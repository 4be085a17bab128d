#include "foundation/flash/flash_server_event.h"

#include <cwchar>

const wchar_t* const t_flashServerEvent::c_eventName = L"Local\\evt_vxFlashServerGlobal";

t_flashServerEvent::t_flashServerEvent()
{
    wcsncpy(m_name, c_eventName, MAX_PATH - 1);
    m_event = OpenEventW(EVENT_ALL_ACCESS, FALSE, m_name);
    m_present = m_event != nullptr;
    if (m_probeOnly && m_event) {
        CloseHandle(m_event);
        m_event = nullptr;
    }
}

t_flashServerEvent::~t_flashServerEvent()
{
    if (m_event)
        CloseHandle(m_event);
}
