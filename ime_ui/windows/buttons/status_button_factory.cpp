#include "ime_ui/windows/buttons/status_button_factory.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/buttons/status_buttons.h"
#include "toolkit/controls/ui_context.h"

namespace {

t_wndStatusBtn* NewFixedButton(int kind)
{
    switch (static_cast<t_skinButton>(kind)) {
    case t_skinButton::e_cnEn:
        return new (std::nothrow) t_wndButtonEn;
    case t_skinButton::e_biaodian:
        return new (std::nothrow) t_wndButtonPunct;
    case t_skinButton::e_quanBan:
        return new (std::nothrow) t_wndButtonHalf;
    case t_skinButton::e_quanShuang:
        return new (std::nothrow) t_wndButtonPin;
    case t_skinButton::e_fanJian:
        return new (std::nothrow) t_wndButtonTradition;
    case t_skinButton::e_softKeyboard:
        return new (std::nothrow) t_wndButtonSoftKeyboard;
    case t_skinButton::e_menu:
        return new (std::nothrow) t_wndButtonMenu;
    case t_skinButton::e_vexilsearch:
        return new (std::nothrow) t_wndButtonSearch;
    case t_skinButton::e_pageUp:
        return new (std::nothrow) t_wndButtonPageUp;
    case t_skinButton::e_pageDown:
        return new (std::nothrow) t_wndButtonPageDown;
    case t_skinButton::e_passport:
        return new (std::nothrow) t_wndButtonPassport;
    case t_skinButton::e_webpage:
        return new (std::nothrow) t_wndButtonWebpage;
    case t_skinButton::e_skinManager:
        return new (std::nothrow) t_wndButtonSkinManager;
    case t_skinButton::e_handInput:
        return new (std::nothrow) t_wndButtonHandInput;
    case t_skinButton::e_news:
        return new (std::nothrow) t_wndButtonNews;
    case t_skinButton::e_logo:
        return new (std::nothrow) t_wndButtonBarConfig;
    }
    return nullptr;
}

// The indexes of the skin's buttons of one type and window, in ascending order.
std::vector<int> SkinIndexes(const t_skinButtonParts& parts, int window, t_skinItemType type)
{
    std::vector<int> indexes;
    parts.Buttons().ForEach([&](unsigned key, const t_btnSkinRec&) {
        if (static_cast<int>(key >> 24) == static_cast<int>(type) && static_cast<int>((key >> 16) & 0xFF) == window)
            indexes.push_back(static_cast<int>(key & 0xFFFF));
    });
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

bool Store(t_flashKeyMap& buttons, t_wndStatusBtn* button)
{
    return button && buttons.Put(t_flashKey{button->window, button->type, button->index}, button);
}

}  // namespace

t_wndStatusBtn* CreateStatusButton(t_uiContext* context, t_wndBase* parent, int window, t_skinItemType type, int index)
{
    const t_uiContext* reach = context ? context : GetDefaultUiContext();
    const t_uiSkinData* skin = reach ? reach->skin : nullptr;
    const t_skinButtonParts* parts = skin ? skin->ButtonParts() : nullptr;
    const t_btnSkinRec* record = parts ? parts->FindButton(window, type, index) : nullptr;
    if (!record || !record->display)
        return nullptr;
    t_wndStatusBtn* button = nullptr;
    switch (type) {
    case t_skinItemType::e_custom:
        button = new (std::nothrow) t_wndButtonCustom;
        break;
    case t_skinItemType::e_component:
        button = new (std::nothrow) t_wndButtonComponent;
        break;
    case t_skinItemType::e_fixed:
        button = NewFixedButton(index);
        break;
    default:
        break;
    }
    if (!button)
        return nullptr;
    button->SetContext(context);
    button->SetKey(window, type, index);
    // The button's messages go to the window its parent draws into.
    const HWND drawing = parent ? parent->GetHwnd() : nullptr;
    button->SetPostWindow(drawing);
    if (!button->Create(WS_CHILD, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(drawing), nullptr, parent)) {
        delete button;
        return nullptr;
    }
    return button;
}

int CreateWindowButtons(t_flashKeyMap& buttons, int window, t_wndBase* parent, t_uiContext* context)
{
    int made = 0;
    for (int kind = 0; kind < c_skinFixedButtonCount; ++kind)
        made += Store(buttons, CreateStatusButton(context, parent, window, t_skinItemType::e_fixed, kind)) ? 1 : 0;
    const t_uiContext* reach = context ? context : GetDefaultUiContext();
    const t_skinButtonParts* parts = reach && reach->skin ? reach->skin->ButtonParts() : nullptr;
    if (!parts)
        return made;
    for (t_skinItemType type : {t_skinItemType::e_custom, t_skinItemType::e_component}) {
        for (int index : SkinIndexes(*parts, window, type))
            made += Store(buttons, CreateStatusButton(context, parent, window, type, index)) ? 1 : 0;
    }
    return made;
}

t_wndStatusBtn* FindStatusButton(const t_flashKeyMap& buttons, int window, t_skinItemType type, int index)
{
    return static_cast<t_wndStatusBtn*>(buttons.Lookup(t_flashKey{window, static_cast<int>(type), index}));
}
