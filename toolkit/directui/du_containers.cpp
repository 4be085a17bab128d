#include "toolkit/directui/du_containers.h"

#include <new>

#include "toolkit/directui/du_image.h"
#include "toolkit/directui/du_link.h"
#include "toolkit/directui/du_window.h"

namespace DirectUI {

bool DuElementFrame::DrawSelf(t_paintCtx&, int, int) { return true; }

bool DuElementFrame::MeasureSelf(t_paintCtx&)
{
    if (!m_fixedWidth)
        m_width = m_contentWidth;
    if (!m_fixedHeight)
        m_height = m_contentHeight;
    return true;
}

namespace {
template <class t_element>
DuElement* Make()
{
    return new (std::nothrow) t_element;
}

// The element class of each markup type; any other type makes a frame.
const struct {
    int type;
    DuElement* (*make)();
} c_makers[] = {
    {e_duText, Make<DuElementText>},         {e_duImage, Make<DuElementImage>},
    {e_duLink, Make<DuElementLink>},         {e_duButton, Make<DuElementButton>},
    {e_duRadio, Make<DuElementRadioButton>}, {e_duCheck, Make<DuElementCheckBox>},
    {e_duWindow, Make<DuElementWindow>},     {e_duBr, Make<DuElementBr>},
};
}  // namespace

DuElement* DuElement::CreateElement(int type, DuDelegate* delegate)
{
    DuElement* (*make)() = Make<DuElementFrame>;
    for (const auto& maker : c_makers) {
        if (maker.type == type)
            make = maker.make;
    }
    DuElement* element = make();
    if (element)
        element->m_delegate = delegate;
    return element;
}

}  // namespace DirectUI
