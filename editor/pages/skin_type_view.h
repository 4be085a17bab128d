// The page tree on the left of the main window (dialog 129 with tree 1000). Its seven
// pages join with the page framework; until then the tree stands in its place, empty.
#pragma once

#include "editor/framework/dialog.h"

class SkinTypeView : public Dialog {
public:
    static const int c_templateId = 129;
};
