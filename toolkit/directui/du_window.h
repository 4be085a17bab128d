// The root of a DirectUI tree: loads markup and owns the elements made from it.
#pragma once

#include "toolkit/directui/du_element.h"

class t_errorChain;

namespace DirectUI {

class DuElementWindow : public DuElement {
public:
    DuElementWindow() { m_type = e_duWindow; }

    bool DrawSelf(t_paintCtx& ctx, int x, int y) override;
    // Width of the children; height at least theirs.
    bool MeasureSelf(t_paintCtx& ctx) override;

    // Replaces the tree with the elements of UTF-16 XML markup. Null, malformed or too deeply
    // nested markup fails with a message and leaves the tree empty.
    bool LoadMarkup(t_errorChain& errors, const wchar_t* markup);
    void SetDelegate(DuDelegate* delegate) { m_delegate = delegate; }

    // Deepest element nesting of UTF-8 markup, counted without parsing; stops counting once
    // past limit.
    static int MarkupDepth(const char* markup, int limit);
};

}  // namespace DirectUI
