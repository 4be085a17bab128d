// The four layout tab views of the page tree: a window page and the button page(s) of
// its window(s). Until the layout and button pages come, their tabs hold plain pages of
// the same templates, bound to the same parts.
#pragma once

#include "editor/pages/sub_dialog_tab.h"

class HorizontalCombineView : public SubDialogTab {
public:
    HorizontalCombineView();
    void CreateTabs() override;
};

class HorizontalSeparateView : public SubDialogTab {
public:
    HorizontalSeparateView();
    void CreateTabs() override;
};

class VerticalCombineView : public SubDialogTab {
public:
    VerticalCombineView();
    void CreateTabs() override;
};

class VerticalSeparateView : public SubDialogTab {
public:
    VerticalSeparateView();
    void CreateTabs() override;
};
