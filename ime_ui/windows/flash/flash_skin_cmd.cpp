#include "ime_ui/windows/flash/flash_skin_cmd.h"

#include "foundation/process/ui_function.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_wrap.h"

namespace {

// Kind-0 commands 0..15 and the host function each calls (-1: the popup or nothing).
const int c_commandFunctions[16] = {2, 3, 0, 1, 5, 4, 9, 10, 17, 16, 19, 20, -1, 7, 8, 23};

}  // namespace

int t_flashSkinCmd::FunctionIndexOf(uint32_t command) { return command < 16 ? c_commandFunctions[command] : -1; }

int t_flashSkinCmd::Execute(uint32_t kind, uint32_t command)
{
    const t_uiContext* context = GetContext();
    if (!context->imcWrap)
        return 0;
    if (kind == e_kindFunction) {
        if (command == c_softKeyboardPopup) {
            if (!context->uiWrap)
                return 0;
            const POINT cursor = InputCursorPos();
            context->uiWrap->PopupAt(context->hostWindow, cursor.x, cursor.y, UiWrapImplBase::e_popupSoftKbd);
            return 1;
        }
        const UiFunction* table = UiFunction::Instance();
        const UiFunction::t_callback function = table ? table->Get(FunctionIndexOf(command)) : nullptr;
        if (function)
            function(context->hostWindow, context->settings);
    } else if ((kind & 0xFFFFu) == e_kindPoint) {
        if (!context->uiWrap)
            return 0;
        context->uiWrap->OnFlashPoint(context->hostWindow, static_cast<int>(kind >> 16),
                                      static_cast<int16_t>(command & 0xFFFFu), static_cast<int>(command >> 16));
    }
    return 1;
}
