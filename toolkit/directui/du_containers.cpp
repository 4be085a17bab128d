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

DuElement* DuElement::CreateElement(int type, DuDelegate* delegate)
{
    DuElement* element = nullptr;
    switch (type) {
    case e_duText:
        element = new (std::nothrow) DuElementText;
        break;
    case e_duImage:
        element = new (std::nothrow) DuElementImage;
        break;
    case e_duLink:
        element = new (std::nothrow) DuElementLink;
        break;
    case e_duButton:
        element = new (std::nothrow) DuElementButton;
        break;
    case e_duRadio:
        element = new (std::nothrow) DuElementRadioButton;
        break;
    case e_duCheck:
        element = new (std::nothrow) DuElementCheckBox;
        break;
    case e_duWindow:
        element = new (std::nothrow) DuElementWindow;
        break;
    case e_duBr:
        element = new (std::nothrow) DuElementBr;
        break;
    default:
        element = new (std::nothrow) DuElementFrame;
        break;
    }
    if (element)
        element->m_delegate = delegate;
    return element;
}

}  // namespace DirectUI
