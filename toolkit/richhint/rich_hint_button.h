// A push button of a rich-hint line; clicking it reports its id, and the window commits
// the settings of the elements that share the id.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_setting.h"

class t_wndRichHintButton : public t_wndRichHintSetting {
public:
    static const int c_innerMargin = 5;

    explicit t_wndRichHintButton(t_wndRichHintDelegate* delegate);

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;
    bool OnMouseMove(POINT origin, POINT point) override;
    bool OnLButtonDown(POINT origin, POINT point) override;
    bool OnLButtonUp(POINT origin, POINT point) override;
    bool OnLeave() override;

    const t_str& Text() const { return text; }
    // Its setting exists on the host.
    bool IsKnown() const { return known; }
    bool IsHovered() const { return hover; }
    bool IsPressed() const { return pressed; }

private:
    t_str text;
    bool hover = false;
    bool known = false;
    SIZE textSize{};
};
