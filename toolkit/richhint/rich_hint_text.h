// Plain and bold text of a rich-hint line.
#pragma once

#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_element.h"

class t_wndRichHintText : public t_wndRichHintElement {
public:
    explicit t_wndRichHintText(t_wndRichHintDelegate* delegate);

    // A token starting with "<b" is bold text without its first three and its last
    // character (never a negative length); any other token is shown unchanged.
    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;

    const t_str& Text() const { return text; }
    void SetText(const wchar_t* value, int length) { text.AssignN(value, length); }

private:
    t_str text;
};
