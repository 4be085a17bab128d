#include "ime_ui/skin/skin_animations.h"

void t_skinAnimations::Register(t_imageSource* source, int window)
{
    if (!source || source->kind != t_imageSource::e_frames || window < 0 || window >= 32)
        return;
    m_masks[source] |= 1u << window;
}

void t_skinAnimations::Clear()
{
    m_masks.clear();
    m_changed = false;
    m_lastGroupMask = 0;
}

unsigned t_skinAnimations::MaskOf(const t_imageSource* source) const
{
    auto found = m_masks.find(const_cast<t_imageSource*>(source));
    return found == m_masks.end() ? 0 : found->second;
}

bool t_skinAnimations::Tick(unsigned groupMask, int now, const t_recordWalk& walk)
{
    m_lastGroupMask = groupMask;
    bool changed = false;
    for (auto& item : m_masks) {
        if ((item.second & groupMask) == 0)
            continue;
        t_imageSource* source = item.first;
        const t_bitmapRef before = source->GetBitmapRef();
        if (!source->Frames().Advance(now))
            continue;
        changed = true;
        const t_bitmapRef after = source->GetBitmapRef();
        if (!before.IsBitmap() || !walk)
            continue;
        walk([&](t_image& record) {
            if (record.ref.IsBitmap() && record.ref.handle == before.handle)
                record.ref = after;
        });
    }
    m_changed = changed;
    return changed;
}
