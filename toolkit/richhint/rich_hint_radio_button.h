// A radio group of a rich-hint line, bound to an integer setting of the host.
#pragma once

#include <cstdint>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"
#include "toolkit/richhint/rich_hint_setting.h"

class t_wndRichHintRadioButton : public t_wndRichHintSetting {
public:
    explicit t_wndRichHintRadioButton(t_wndRichHintDelegate* delegate);

    void ParseAttributes(const wchar_t* token, int length, HMODULE module) override;
    void Measure(t_paintCtx& context, SIZE& size) override;
    void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) override;
    bool OnMouseMove(POINT origin, POINT point) override;
    bool OnLButtonUp(POINT origin, POINT point) override;
    bool OnLeave() override;

    int OptionCount() const { return optionTexts.Count(); }
    const t_str& OptionText(int i) const { return optionTexts[i]; }
    int OptionValue(int i) const { return optionValues[i]; }
    int Selected() const { return selected; }
    // The value of the selected option; 0 without options.
    int SelectedValue() const;
    int HoverIndex() const { return hoverIndex; }
    bool IsShown() const { return shown; }

private:
    // The option whose row holds point, in the content rect of a cell at origin; -1 none.
    int OptionAt(POINT origin, POINT point) const;

    int32_t selected = 0;
    bool hoverActive = false;
    int32_t hoverIndex = -1;
    bool shown = false;
    itl::ImmSimpleArray<t_str> optionTexts;
    itl::ImmSimpleArray<int> optionValues;
    itl::ImmSimpleArray<SIZE> optionSizes;
    int stateWidth = 0, stateHeight = 0;
};
