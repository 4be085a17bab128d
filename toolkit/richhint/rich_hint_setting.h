// The base of the rich-hint elements bound to a setting of the host (the button, the check
// box and the radio group): the setting's name ("EnvItem"), the id the host hears with it
// and whether the left button went down on the element.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_element.h"

class t_wndRichHintSetting : public t_wndRichHintElement {
public:
    // Remembers the press; the element acts when the button comes up over it.
    bool OnLButtonDown(POINT origin, POINT point) override;

    const t_str& EnvItem() const { return envItem; }
    int Id() const { return id; }

protected:
    t_wndRichHintSetting(t_kind kind, t_wndRichHintDelegate* delegate);

    // Takes "id" and "EnvItem"; false for any other attribute, which the element reads.
    bool ReadSettingAttribute(const t_str& name, const t_str& value);

    t_str envItem;
    int32_t id = 0;
    bool pressed = false;
};
