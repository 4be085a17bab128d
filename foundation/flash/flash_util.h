// The program's entries to the Flash component: the utility (a version-checking
// proxy over the library's, or a do-nothing dummy), ".swf" loading, ".ssw"
// installation and the questions whether the Flash server is ready and Flash
// usable or installed.
#pragma once

#include "interfaces/flash_interfaces.h"

// The current utility: the dummy once the library was unloaded; else, on first
// use, the proxy over the library's utility (with the unload observer
// registered), or the dummy when the library cannot be loaded.
i_flashUtil* GetFlashUtil();
// Whether the library handed out a utility in this process.
bool IsFlashLoaded();

// Null when the library was loaded and then unloaded; else utility slot 2.
i_flashSwf* FlashUtilLoadSwf(const void* bytes, int size);
// Utility slot 11 with the current user's id.
bool FlashUtilInstallSsw(const void* bytes, int size);
// Utility slot 26.
bool FlashUtilIsUsable();
// True while the library was never loaded; else whether the Flash server's
// event exists and the utility says that it is ready (true once the library was
// unloaded).
bool IsFlashServerReady();
// Whether "VexilFlash.exe" is an existing file in the Flash bundle's folder.
bool IsFlashComponentInstalled();
