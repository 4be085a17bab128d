// Making the status buttons of one window from the runtime skin: one button per enabled
// record, each of the class of its kind, kept by the window in a map under its key.
#pragma once

#include "ime_ui/skin/skin_button_record.h"
#include "ime_ui/windows/flash/flash_key.h"

class t_wndBase;
class t_wndStatusBtn;
struct t_uiContext;

// A new button for {window, type, index}, created as a child of parent (which may be null)
// and drawing into the parent's window; null when the context's runtime skin has no enabled
// record for the key, or the type or kind is not a button.
t_wndStatusBtn* CreateStatusButton(t_uiContext* context, t_wndBase* parent, int window, t_skinItemType type, int index);

// Every button of the window: the built-in kinds 0 to 15, then the skin's custom buttons,
// then its component buttons, each stored in buttons under its key. Answers how many were
// made.
int CreateWindowButtons(t_flashKeyMap& buttons, int window, t_wndBase* parent, t_uiContext* context);

// The button stored under a key of the map; null when absent.
t_wndStatusBtn* FindStatusButton(const t_flashKeyMap& buttons, int window, t_skinItemType type, int index);
