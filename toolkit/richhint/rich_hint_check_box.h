// A check box of a rich-hint line, bound to a boolean setting of the host.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_setting.h"

class t_wndRichHintCheckBox : public t_wndRichHintSetting {
public:
    explicit t_wndRichHintCheckBox(t_wndRichHintDelegate* delegate);

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;
    bool OnMouseMove(POINT origin, POINT point) override;
    bool OnLButtonUp(POINT origin, POINT point) override;
    bool OnLeave() override;

    const t_str& Text() const { return text; }
    bool IsChecked() const { return checked; }
    bool IsHovered() const { return hover; }
    bool IsShown() const { return shown; }
    bool HasColor() const { return hasColor; }
    uint32_t Color() const { return color; }

private:
    t_str text;
    bool checked = false;
    bool hover = false;
    bool shown = false;
    bool hasColor = false;
    uint32_t color = 0;
};
