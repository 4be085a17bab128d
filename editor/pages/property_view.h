// The view that hosts the property pages. The pages join with the page framework;
// until then the view is an empty child window in its place, and refreshing,
// committing and clearing the pages succeed with nothing to do.
#pragma once

#include "editor/framework/window.h"

class PropertyView : public Frame {
public:
    PropertyView();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void GetSize(int& width, int& height) override;

    void CreatePages();
    // Every page from the model; tells the frame (1128, full reload, not modified).
    int RefreshAll();
    int CommitAll();
    int ClearAll();

private:
    int m_current;
};
