// The program's module handle, stored once by the entry function. Every resource the
// UI loads (menus, dialogs, pictures) comes from this module.
#pragma once

#include <windows.h>

// Stores the handle the first time (later calls change nothing) and marks the process as
// an application rather than a library loaded into another program.
void SetModuleInstance(HINSTANCE module);
// Null before SetModuleInstance.
HINSTANCE GetModuleInstance();
bool IsApplication();
