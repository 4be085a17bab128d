// The rich-hint markup: a line cut into text runs and tags, each made into its element.
#pragma once

#include <windows.h>

class t_wndRichHintElement;
struct t_richHintRow;

// The element a token stands for, with the row's delegate and its attributes read; null
// only when memory runs out.
t_wndRichHintElement* CreateRichHintElement(t_richHintRow& row, const wchar_t* token, int length, HMODULE module);
// Replaces the row's elements with those of line[0..length): an empty line gives one empty
// text, a negative length none. Tags run from '<' to the next '>'; no escapes, no nesting.
void ParseRichHintLine(HMODULE module, const wchar_t* line, int length, t_richHintRow& row);
