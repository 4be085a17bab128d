// The live preview beside the pages. The preview host joins with the runtime skin and
// the IME windows; until then the window stands in its place and shows nothing.
#pragma once

#include "editor/framework/window.h"

class Preview : public Frame {
public:
    static const int c_previewCount = 4;

    // The preview at index 0..3; none exist yet.
    Window* GetPreview(int index) const;
    // Writes the shown picture as PNG; false while there is no picture to write.
    bool SavePicture(const wchar_t* path);
};
