// A picture of a rich-hint line; of type 1 a three-state button strip that answers clicks.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "graphics/image/image.h"
#include "toolkit/richhint/rich_hint_element.h"

class t_wndRichHintImage : public t_wndRichHintElement {
public:
    static const int c_buttonStrip = 1;

    explicit t_wndRichHintImage(t_wndRichHintDelegate* delegate);
    ~t_wndRichHintImage() override;

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;
    bool OnMouseMove(POINT origin, POINT point) override;
    bool OnLButtonDown(POINT origin, POINT point) override;
    bool OnLButtonUp(POINT origin, POINT point) override;
    bool OnLeave() override;

    const t_str& Id() const { return id; }
    bool IsLoaded() const { return loaded; }
    int Type() const { return type; }
    bool IsHovered() const { return hover; }
    bool IsPressed() const { return pressed; }

private:
    t_str id;
    t_image picture;
    bool loaded = false;
    int32_t type = 0;
    bool hover = false;
    bool pressed = false;
};
