// A text item that opens a web link when clicked and shows its tooltip while hovered.
#pragma once

#include "foundation/core/str.h"
#include "toolkit/controls/wnd_text_item.h"

class t_wndLink : public t_wndTextItem {
public:
    t_wndLink() = default;
    ~t_wndLink() override = default;

    void OnMouseLeave() override;
    bool OnMouseHover(UINT keys, int x, int y) override;
    // Hit: a non-empty url is opened, then the release goes to the children.
    bool OnLButtonUp(UINT keys, int x, int y) override;

    // Null clears the link.
    void SetUrl(const wchar_t* link);

    t_str url;

protected:
    // Hands the link to the browser; a seam so that tests see what would open.
    virtual void Open(const wchar_t* link);
};
