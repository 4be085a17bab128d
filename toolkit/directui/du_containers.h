// The DirectUI elements that only hold others: frames, buttons, radios, check boxes and the
// line break between rows.
#pragma once

#include "toolkit/directui/du_element.h"

namespace DirectUI {

class DuElementFrame : public DuElement {
public:
    DuElementFrame() { m_type = e_duFrame; }
    bool DrawSelf(t_paintCtx& ctx, int x, int y) override;
    // Takes the size of its laid-out children.
    bool MeasureSelf(t_paintCtx& ctx) override;
};

// Buttons, radios and check boxes draw and measure nothing of their own.
class DuElementButton : public DuElement {
public:
    DuElementButton() { m_type = e_duButton; }
    bool DrawSelf(t_paintCtx&, int, int) override { return true; }
    bool MeasureSelf(t_paintCtx&) override { return true; }
};

class DuElementRadioButton : public DuElementButton {
public:
    DuElementRadioButton() { m_type = e_duRadio; }
};

class DuElementCheckBox : public DuElementButton {
public:
    DuElementCheckBox() { m_type = e_duCheck; }
};

class DuElementBr : public DuElement {
public:
    DuElementBr() { m_type = e_duBr; }
};

}  // namespace DirectUI
