#include "toolkit/richhint/rich_hint_setting.h"

t_wndRichHintSetting::t_wndRichHintSetting(t_kind kind, t_wndRichHintDelegate* owner)
    : t_wndRichHintElement(kind, owner)
{}

bool t_wndRichHintSetting::OnLButtonDown(POINT, POINT)
{
    pressed = true;
    return true;
}

bool t_wndRichHintSetting::ReadSettingAttribute(const t_str& name, const t_str& value)
{
    if (name.Equals(L"id"))
        id = RichHintInt(value);
    else if (name.Equals(L"EnvItem"))
        envItem = RichHintQuoted(value);
    else
        return false;
    return true;
}
