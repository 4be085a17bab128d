// The two panels above the preview: the preview selector and the view buttons. Their
// contents join with the previews; until then they are empty child windows.
#pragma once

#include "editor/framework/window.h"
#include "editor/preview/preview.h"

class ExtraViewPanel : public Frame {
public:
    void Init() {}
    void SetPreview(int, PreviewConfigable*) {}
};

class ExtraBtnPanel : public Frame {
public:
    void Init() {}
};
