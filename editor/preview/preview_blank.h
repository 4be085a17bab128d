// A preview that shows nothing: it holds the panel's phone slots until phone previews
// exist, so that every slot answers the preview operations.
#pragma once

#include "editor/preview/preview_configable.h"

class PreviewBlank : public PreviewConfigable {
public:
    bool UpdateLayout() override { return true; }
    void GetSize(int& width, int& height) override { width = height = 0; }
    void Paint(HDC, int, int) override {}
    bool Init(int, const t_uiSettings&) override { return true; }
    void SetSettings(const t_uiSettings&) override {}
    void SetScheme(int) override {}
    void SetHostWindow(HWND) override {}
    void SetCandidateCount(int) override {}
    void SetPerPixelAlpha(bool) override {}
    bool Tick() override { return false; }
    void Reload() override {}
    // (0, 0): the content starts right after the sample sentence.
    bool GetDefaultPos(int, int& x, int& y) override
    {
        x = y = 0;
        return true;
    }
    void SetLongSample(bool) override {}
    bool AnimationTick() override { return false; }
    void StartAnimation(int) override {}
    void StopAnimation() override {}
};
