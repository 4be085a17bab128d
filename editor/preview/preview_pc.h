// The desktop preview: the input method's own status bar, composition windows and
// candidate window, loaded from the packed work copy of the skin being edited and drawn
// into the preview panel's picture instead of windows of their own. It owns the runtime
// skin, the UI context and its sample-text host, and can animate one status-bar button.
// Variant 1 shows the same skin with the font 8 larger.
#pragma once

#include <windows.h>

#include <memory>

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

    // Reload, SetHostWindow and UpdateLayout only note what is to be done; Refresh does it
    // when the preview is next asked for its size, picture, position or animation step, so a
    // preview nobody shows costs nothing on an edit and edits faster than paints load the
    // work copy once.
    // True for the layout pages (the size follows at the next question).
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
    void SetScheme(int page) override
    {
        m_page = page;
        m_sizePending = true;
    }
    void SetHostWindow(HWND window) override;
    void SetCandidateCount(int count) override;
    void SetPerPixelAlpha(bool on) override;
    bool Tick() override;
    void Reload() override;
    bool GetDefaultPos(int index, int& x, int& y) override;
    void SetLongSample(bool on) override;
    bool AnimationTick() override;
    void StartAnimation(int buttonId) override;
    void StopAnimation() override;

    // What Reload, SetHostWindow and UpdateLayout asked for, done now: the skin loaded, then
    // every window rebuilt, then the windows of the page (every window when everyWindow is
    // set) measured with the host window's device context, then the size. A window off the
    // page is measured once a page shows it. A load releases the pictures of the load before
    // it that it did not take over, so no window may outlive a load unrebuilt (not even one
    // the page does not show): its layout would reach released pictures when painted or
    // torn down.
    void Refresh(bool everyWindow = false) const;
    bool ReloadPending() const { return m_reloadPending; }
    bool LayoutPending() const { return m_layoutPending; }

    // The packed work copy the skin loads from: the open skin's work folder, else the work
    // folder it would have, followed by ".dat". False when there is no such path.
    static bool WorkCopyPath(wchar_t (&out)[MAX_PATH]);

    int Variant() const { return m_variant; }
    int Page() const { return m_page; }
    // Whether the page shows the separate composition and candidate windows.
    static bool IsSeparatePage(int page) { return page == e_pageH2 || page == e_pageV2; }
    static bool IsCombinedPage(int page) { return page == e_pageH1 || page == e_pageV1; }

    // The skin and the windows as the next paint shows them (what is pending is done first).
    t_uiSkinData& Skin() const;
    const t_uiSettings& Settings() const { return *m_settings; }
    ImcWrapImplSkinPreview& Host() const { return *m_host; }
    t_uiContext& Context() const { return *m_context; }
    t_wndComp& Composition() const;
    t_wndComp2& SeparateComposition() const;
    t_wndCand& Candidates() const;
    t_wndStatus& Status() const;
    const StateAnimator& Animator() const { return *m_animator; }

private:
    enum t_windowSlot : int {
        e_slotComp = 0,
        e_slotComp2,
        e_slotCand,
        e_slotStatus,
        e_slotCount,
    };
    t_wndTop* Window(int slot) const;
    // Whether the page shows the window of slot.
    bool OnPage(int slot) const;

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
    int m_variant;
    int m_animatedButton = 0;
    // Work left for Refresh, and the window whose device context measures the windows.
    mutable bool m_reloadPending = false;
    mutable bool m_layoutPending = true;
    mutable bool m_sizePending = true;
    mutable bool m_measurePending[e_slotCount] = {};
    mutable int m_width = 0, m_height = 0;
    HWND m_hostWindow = nullptr;
};
