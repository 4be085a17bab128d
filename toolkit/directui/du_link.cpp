#include "toolkit/directui/du_link.h"

#include <cwchar>

#include "foundation/config/runtime.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/directui/du_delegate.h"
#include "toolkit/directui/du_strings.h"

namespace DirectUI {

namespace {

// A restricted runtime shows links without underline and ignores their clicks.
bool IsRestricted()
{
    t_runtime* runtime = t_runtime::Instance();
    return runtime && runtime->IsRestricted();
}

}  // namespace

DuElementLink::DuElementLink() { m_type = e_duLink; }

DuElementLink::~DuElementLink() { delete[] m_href; }

bool DuElementLink::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (DuElementText::SetAttribute(name, value))
        return true;
    if (!name || !value || _wcsicmp(name, L"href") != 0)
        return false;
    wchar_t* copy = DupString(value);
    delete[] m_href;
    m_href = copy;
    return true;
}

bool DuElementLink::DrawSelf(t_paintCtx& ctx, int x, int y)
{
    if (!IsRestricted() && m_declaredWidth > 0) {
        // The colour word's top byte is an alpha here, not the fill's 0-means-opaque.
        uint32_t line = 0xFF000000 | (m_madeTextColor & 0xFFFFFF);
        ctx.FillRect(DuAdd(x, m_x), DuAdd(DuAdd(DuAdd(y, m_y), m_declaredHeight), 1), m_declaredWidth, 1, line);
    }
    return DrawRun(ctx, x, y);
}

bool DuElementLink::HitTest(POINT point, int originX, int originY)
{
    return DuElement::HitTest(point, originX, originY) || Contains(point, originX, originY);
}

bool DuElementLink::OnClick(POINT point, int originX, int originY)
{
    if (DuElement::OnClick(point, originX, originY))
        return true;
    if (!Contains(point, originX, originY) || IsRestricted())
        return false;
    if (m_delegate)
        m_delegate->OnLinkClick(m_href ? m_href : L"", 0);
    return true;
}

}  // namespace DirectUI
