// The receiver of the commands that flash items send to the input method: kind 0 runs one
// of the host's functions (or opens the soft-keyboard popup), kind 1 reports a point of the
// flash to the host. Each skinned IME window owns one and hands it to its flash children.
#pragma once

#include <cstdint>

#include "toolkit/controls/wnd_ui_sub.h"

class t_flashCmd {
public:
    virtual ~t_flashCmd() = default;
    // Answers 1 when the command was taken, 0 when there is nobody to take it.
    virtual int Execute(uint32_t kind, uint32_t command) = 0;
    virtual int Execute3(intptr_t, intptr_t, intptr_t) { return 0; }
};

class t_flashSkinCmd : public t_flashCmd, public t_wndUiSub {
public:
    // Command kinds (the low 16 bits of kind).
    enum : uint32_t {
        e_kindFunction = 0,
        e_kindPoint = 1,
    };
    // The kind-0 command that opens the soft-keyboard popup at the cursor.
    static const uint32_t c_softKeyboardPopup = 12;

    int Execute(uint32_t kind, uint32_t command) override;

    // The host function table entry that a kind-0 command calls; -1 for none.
    static int FunctionIndexOf(uint32_t command);
};
