// The desktop preview: the input method's own status bar, composition windows and
// candidate window, loaded from the packed work copy of the skin being edited and drawn
// into the preview panel's picture instead of windows of their own. It owns the runtime
// skin, the UI context and its sample-text host, and can animate one status-bar button.
// Variant 1 shows the same skin with the font 8 larger.
#pragma once

#include <windows.h>

#include <memory>

#include "editor/preview/deferred_refresh.h"
#include "editor/preview/preview_configable.h"

class ImcWrapImplSkinPreview;
class StateAnimator;
class UiWrapImplBase;
class t_uiSkinData;
class t_wndCand;
class t_wndComp;
class t_wndComp2;
class t_wndStatus;
class t_wndTop;
struct t_uiContext;
struct t_uiSettings;

class PreviewPC : public PreviewConfigable {
public:
    enum t_variant : int {
        e_normal = 0,
        e_largeFont = 1,
    };
    // How much larger the large-font variant's font is.
    static const int c_largeFontStep = 8;
    // Gaps between the windows, top to bottom, in 96-dpi pixels.
    static const int c_compCandGap = 5;
    static const int c_statusGap = 5;

    explicit PreviewPC(int variant);
    // The windows go before the skin and the context they point at.
    ~PreviewPC() override;
    PreviewPC(const PreviewPC&) = delete;
    PreviewPC& operator=(const PreviewPC&) = delete;

    // Whether the page shows windows (separate and combined pages); the size itself is taken
    // when next asked for.
    bool UpdateLayout() override;
    // Separate pages: the widest of status bar, composition and candidate window, their
    // heights and the gaps; combined pages: the status bar and the combined window. Other
    // pages: size 0.
    void GetSize(int& width, int& height) override;
    // The windows of the page top to bottom, then the status bar, each at its own size.
    void Paint(HDC dc, int x, int y) override;
    // The runtime skin loads from the work copy (the work folder's path + ".dat"); the
    // windows are made windowless (no window of their own, drawn only by Paint).
    bool Init(int userId, const t_uiSettings& settings) override;
    // Variant 1 adds c_largeFontStep to the font size.
    void SetSettings(const t_uiSettings& settings) override;
    void SetScheme(int page) override { m_page = page; }
    // The windows are rebuilt and measured with the window's DC when next painted or measured.
    void SetHostWindow(HWND window) override;
    void SetCandidateCount(int count) override;
    void SetPerPixelAlpha(bool on) override;
    bool Tick() override;
    // The skin loads again when the preview is next painted or measured: a preview nobody
    // shows costs nothing, and several edits before a paint cost one load.
    void Reload() override;
    bool GetDefaultPos(int index, int& x, int& y) override;
    void SetLongSample(bool on) override;
    bool AnimationTick() override;
    void StartAnimation(int buttonId) override;
    void StopAnimation() override;

    // The packed work copy the skin loads from: the open skin's work folder, else the work
    // folder it would have, followed by ".dat". False when there is no such path.
    static bool WorkCopyPath(wchar_t (&out)[MAX_PATH]);

    int Variant() const { return m_variant; }
    int Page() const { return m_page; }
    // Whether the page shows the separate composition and candidate windows.
    static bool IsSeparatePage(int page) { return page == e_pageH2 || page == e_pageV2; }
    static bool IsCombinedPage(int page) { return page == e_pageH1 || page == e_pageV1; }

    // What Reload and SetHostWindow asked for, done now. GetSize, Paint and GetDefaultPos run
    // it first.
    void Refresh();
    bool RefreshPending() const { return m_refresh.Pending(); }

    t_uiSkinData& Skin() const { return *m_skin; }
    const t_uiSettings& Settings() const { return *m_settings; }
    ImcWrapImplSkinPreview& Host() const { return *m_host; }
    t_uiContext& Context() const { return *m_context; }
    t_wndComp& Composition() const { return *m_comp; }
    t_wndComp2& SeparateComposition() const { return *m_comp2; }
    t_wndCand& Candidates() const { return *m_cand; }
    t_wndStatus& Status() const { return *m_status; }
    const StateAnimator& Animator() const { return *m_animator; }

private:
    // The window mask of the skin's animations for the current composition and candidate
    // styles.
    unsigned AnimationMask() const;

    std::unique_ptr<t_uiSkinData> m_skin;
    std::unique_ptr<ImcWrapImplSkinPreview> m_host;
    std::unique_ptr<UiWrapImplBase> m_ui;
    std::unique_ptr<t_uiContext> m_context;
    std::unique_ptr<t_uiSettings> m_settings;
    std::unique_ptr<t_wndComp> m_comp;
    std::unique_ptr<t_wndComp2> m_comp2;
    std::unique_ptr<t_wndCand> m_cand;
    std::unique_ptr<t_wndStatus> m_status;
    std::unique_ptr<StateAnimator> m_animator;
    int m_page = e_pageH1;
    HWND m_hostWindow = nullptr;
    t_deferredRefresh m_refresh;
    int m_variant;
    int m_animatedButton = 0;
};
