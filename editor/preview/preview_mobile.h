// The phone preview: the input method's mobile composition bar and nine-key keyboard over
// a phone-screen picture, loaded from the packed work copy of the skin being edited and
// drawn into the preview panel's picture. Variant 0 is a small phone (240 x 320), variant 1
// a large one (480 x 800).
#pragma once

#include <windows.h>

#include <memory>

#include "editor/preview/deferred_refresh.h"
#include "editor/preview/preview_configable.h"
#include "graphics/image/image.h"
#include "ime_ui/windows/mobile/wnd_comp_mobile.h"

class t_uiSkinData;
class t_wndKeyboardMobile;
struct t_uiContext;
struct t_uiSettings;

class PreviewMobile : public PreviewConfigable {
public:
    enum t_variant : int {
        e_small = 0,
        e_large = 1,
    };
    // The phone-screen pictures of the program (PNG resources).
    static constexpr int c_smallFramePicture = 2010;
    static constexpr int c_largeFramePicture = 2011;

    explicit PreviewMobile(int variant);
    // The windows go before the skin and the context they point at.
    ~PreviewMobile() override;
    PreviewMobile(const PreviewMobile&) = delete;
    PreviewMobile& operator=(const PreviewMobile&) = delete;

    bool UpdateLayout() override { return true; }
    // The phone's screen size.
    void GetSize(int& width, int& height) override;
    // The phone-screen picture stretched to the screen, then the bar and the keyboard over it.
    void Paint(HDC dc, int x, int y) override;
    // The runtime skin loads from the work copy; the picture comes from the program's
    // resources (or, when set, from SetPictureModule's module). Always true.
    bool Init(int userId, const t_uiSettings& settings) override;
    // The panel's settings, with the skin's own colours and without the large-font zoom.
    void SetSettings(const t_uiSettings& settings) override;
    void SetScheme(int) override {}
    // Both windows take the phone's metrics; they are rebuilt and measured before the next
    // paint.
    void SetHostWindow(HWND window) override;
    void SetCandidateCount(int) override {}
    void SetPerPixelAlpha(bool) override {}
    bool Tick() override { return false; }
    // The runtime skin loads the work copy again before the next paint: edits that come
    // faster than paints load it once.
    void Reload() override;
    // (0, 0): the phone starts right after the sample sentence.
    bool GetDefaultPos(int index, int& x, int& y) override;
    void SetLongSample(bool) override {}
    bool AnimationTick() override { return false; }
    void StartAnimation(int) override {}
    void StopAnimation() override {}

    // Where the pictures are looked up (the phone screen and the keyboard's): the program
    // itself unless set. Takes effect at Init.
    void SetPictureModule(HMODULE module) { m_pictureModule = module; }

    int Variant() const { return m_variant; }
    // The layout record of the phone both windows get.
    t_mobileMetrics Metrics() const;
    t_uiSkinData& Skin() const { return *m_skin; }
    const t_uiSettings& Settings() const { return *m_settings; }
    t_uiContext& Context() const { return *m_context; }
    const t_image& FramePicture() const { return m_frame; }
    t_wndCompMobile& Composition() const { return *m_comp; }
    t_wndKeyboardMobile& Keyboard() const { return *m_keyboard; }

    // What Reload and SetHostWindow asked for, done now: the skin loaded, the windows rebuilt
    // and measured with dc. Paint runs it first.
    void Refresh(HDC dc);
    bool ReloadPending() const { return m_refresh.ReloadPending(); }
    bool LayoutPending() const { return m_refresh.LayoutPending(); }

private:
    std::unique_ptr<t_uiSkinData> m_skin;
    std::unique_ptr<t_uiSettings> m_settings;
    std::unique_ptr<t_uiContext> m_context;
    t_image m_frame;
    std::unique_ptr<t_wndCompMobile> m_comp;
    std::unique_ptr<t_wndKeyboardMobile> m_keyboard;
    int m_variant;
    HMODULE m_pictureModule;
    t_deferredRefresh m_refresh{true};
};
