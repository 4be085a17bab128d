// The clock, the primary mouse button and the cursor position as the toolkit's windows
// read them. Each goes through a replaceable function so that hover timing, drag starts
// and double clicks can be driven without real input.
#pragma once

#include <windows.h>

#include <cstdint>

struct t_inputHooks {
    uint32_t (*tickCount)();
    bool (*primaryButtonDown)();
    bool (*cursorPos)(POINT& point);
};

// The hooks in force (the system's by default).
const t_inputHooks& InputHooks();
// Replaces the hooks; a null member keeps the system's function. Returns the old set.
t_inputHooks SetInputHooks(const t_inputHooks& hooks);

// GetTickCount through the hook.
uint32_t InputTickCount();
// The primary button (the right one when the buttons are swapped) is held, through the hook.
bool IsPrimaryButtonDown();
// The cursor position through the hook; (0, 0) when it cannot be read.
POINT InputCursorPos();

// Installs hooks for one scope and puts the previous ones back at its end.
class t_inputHooksScope {
public:
    explicit t_inputHooksScope(const t_inputHooks& hooks) : m_saved(SetInputHooks(hooks)) {}
    ~t_inputHooksScope() { SetInputHooks(m_saved); }
    t_inputHooksScope(const t_inputHooksScope&) = delete;
    t_inputHooksScope& operator=(const t_inputHooksScope&) = delete;

private:
    t_inputHooks m_saved;
};
