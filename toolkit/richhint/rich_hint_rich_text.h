// Styled text of a rich-hint line: its own face, size, weight, slant and colour.
#pragma once

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_element.h"

struct t_font;

class t_wndRichHintRichText : public t_wndRichHintElement {
public:
    explicit t_wndRichHintRichText(t_wndRichHintDelegate* delegate);
    ~t_wndRichHintRichText() override;

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;

    const t_str& Text() const { return text; }
    const t_font* Font() const { return font; }
    bool HasColor() const { return hasColor; }
    uint32_t Color() const { return color; }
    const LOGFONTW& LogFont() const { return logFont; }

private:
    t_str text;
    t_font* font = nullptr;
    bool hasColor = false;
    uint32_t color = 0;
    LOGFONTW logFont{};
};
