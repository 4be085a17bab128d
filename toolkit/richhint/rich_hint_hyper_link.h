// A link of a rich-hint line: opens an address or triggers an action when clicked.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_element.h"

class t_wndRichHintHyperLink : public t_wndRichHintElement {
public:
    enum t_mode : int32_t {
        e_href = 0,
        e_action = 1
    };

    explicit t_wndRichHintHyperLink(t_wndRichHintDelegate* delegate);

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;
    bool OnMouseMove(POINT origin, POINT point) override;
    bool OnLButtonDown(POINT origin, POINT point) override;
    bool OnLButtonUp(POINT origin, POINT point) override;

    const t_str& Text() const { return text; }
    const t_str& Href() const { return href; }
    const t_str& Action() const { return action; }
    t_mode Mode() const { return mode; }
    bool HasColor() const { return hasColor; }
    uint32_t Color() const { return color; }

private:
    t_str text;
    t_str href;
    t_str action;
    t_mode mode = e_href;
    bool pressed = false;
    bool hasColor = false;
    uint32_t color = 0;
};
