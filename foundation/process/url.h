// Opening web links in the maker's browser, the user's default browser or the shell.
#pragma once

#include <windows.h>

#include "foundation/core/str.h"

// Makes a link safe to hand on: blanks around it dropped; http, https and mailto links
// kept; a value without a scheme ("www.example.com", as skins store them) becomes an http
// link; blanks, quotes and control characters inside are percent-encoded. Anything else
// (file:, javascript:, a program path, an empty value) is refused: false.
bool NormaliseUrl(const wchar_t* url, t_str& out);

// Opens a link: nothing while the runtime is restricted or the link is refused by
// NormaliseUrl. The maker's browser (through the command interpreter, the link escaped for
// it), else the default browser found by FindBrowserExe, else the shell's own handler.
void OpenUrl(const wchar_t* url);

// The default browser's program in one pair of double quotes, or Internet Explorer under
// the program files folder; false when neither is known.
bool FindBrowserExe(wchar_t (&out)[MAX_PATH]);

// The command of the default web browser from the registry; empty when none.
t_str GetDefaultBrowserCommand();

// '^' before each of "@%&|<>^", so that the command interpreter passes the link on as one
// argument.
void EscapeForCommandInterpreter(const wchar_t* text, t_str& out);
