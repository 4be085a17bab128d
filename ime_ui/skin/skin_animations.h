// The animated pictures of the runtime skin: each frame list with the windows that show
// it. A tick advances the lists of the windows asked for and re-points every picture
// record that showed an old frame to the new one.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

#include "graphics/image/image.h"

class t_skinAnimations {
public:
    // Called with every picture record that may show a frame of an animation.
    using t_recordWalk = std::function<void(const std::function<void(t_image&)>&)>;

    // Adds the window's bit to the source's mask; single pictures are not animations.
    void Register(t_imageSource* source, int window);
    void Clear();

    // Advances every animation whose window mask shares a bit with groupMask to `now`
    // (hundredths of a second); when a current frame changed, every record walk gives
    // that showed the old frame is re-pointed to the new one. True when a frame changed.
    bool Tick(unsigned groupMask, int now, const t_recordWalk& walk);

    // The window mask of a source; 0 when it is not registered.
    unsigned MaskOf(const t_imageSource* source) const;
    int Count() const { return static_cast<int>(m_masks.size()); }
    bool Changed() const { return m_changed; }
    unsigned LastGroupMask() const { return m_lastGroupMask; }

private:
    std::unordered_map<t_imageSource*, unsigned> m_masks;
    bool m_changed = false;
    unsigned m_lastGroupMask = 0;
};

// The animation groups the windows tick with: the bit of each window they repaint.
const unsigned c_animStatusGroup = 0x01;
const unsigned c_animCombinedGroup = 0x12;
const unsigned c_animCompositionGroup = 0x24;
const unsigned c_animCandidateGroup = 0x48;
