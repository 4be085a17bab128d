// A text run of the DirectUI tree that opens an address through the host when clicked.
#pragma once

#include "toolkit/directui/du_text.h"

namespace DirectUI {

class DuElementLink : public DuElementText {
public:
    DuElementLink();
    ~DuElementLink() override;

    bool SetAttribute(const wchar_t* name, const wchar_t* value) override;
    bool DrawSelf(t_paintCtx& ctx, int x, int y) override;
    bool OnClick(POINT point, int originX, int originY) override;
    bool HitTest(POINT point, int originX, int originY) override;

    const wchar_t* Href() const { return m_href; }

private:
    wchar_t* m_href = nullptr;
};

}  // namespace DirectUI
