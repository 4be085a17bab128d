#include "ime_ui/skin/skin_button_record.h"

#include <cstring>

bool IsStorableSkinKey(int window, t_skinItemType type, int index)
{
    if (window < 0 || window >= c_skinWindowCount)
        return false;
    const int kind = static_cast<int>(type);
    if (kind < 0 || kind > static_cast<int>(t_skinItemType::e_component))
        return false;
    const int limit = type == t_skinItemType::e_fixed ? c_skinFixedIndexLimit : c_skinItemIndexLimit;
    return index >= 0 && index <= limit;
}

t_btnSkinRec::t_btnSkinRec() : layerCount(0), align(t_alignInfo::Default()), display(0)
{
    memset(layers, 0, sizeof layers);
}

bool t_btnSkinRec::AddLayer(const t_btnLayer& layer)
{
    if (layerCount >= c_btnLayerCapacity)
        return false;
    layers[layerCount++] = layer;
    return true;
}

t_flashSkinRec::t_flashSkinRec()
    : width(0), height(0), align(t_alignInfo::Default()), visible(0), drag(0), cursor(0), popup(0), showDisable(0),
      correct(0), stick(0), security(0), showlikeparent(1), hidefullscreen(1), activate(1), state{}
{
    memset(&preview, 0, sizeof preview);
}

void t_flashSkinRec::MakeName(t_str& out, int window, int index)
{
    const unsigned value = (static_cast<unsigned>(window) << 16) | (~static_cast<unsigned>(index) & 0xFFFFu);
    out.Format(L"flash_%08x", value);
}
