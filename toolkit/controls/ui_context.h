// The record through which a skinned window of the input method reaches the world outside
// itself: the UI settings, the runtime skin, the host's two interfaces, the host window
// and the current user. A host (the editor's preview) builds one, fills it and hands it to
// its windows before they are created; the context owns none of what it points at.
#pragma once

#include <windows.h>

class ImcWrapImplBase;
class UiWrapImplBase;
class t_uiSkinData;
struct t_uiSettings;
// Where the composition and candidate windows keep their moves; nothing sets one here.
struct t_wndPosRecord;

struct t_uiContext {
    // The runtime skin takes its settings through this handler, which it installs; the
    // handler swallows any failure of the skin.
    using t_skinSettingsHandler = void (*)(t_uiSkinData* skin, t_uiSettings* settings);
    static void SetSkinSettingsHandler(t_skinSettingsHandler handler);

    // Every field zero, the interfaces included (a host sets them with SetImcWrap and
    // SetUiWrap).
    t_uiContext();

    // Stores the settings and, when a skin is set, hands them to it.
    void SetSettings(t_uiSettings* value);
    // Stores the skin and, when both are set, hands it the settings already stored.
    void SetSkin(t_uiSkinData* value);
    void SetUserId(int value) { userId = value; }
    void SetImcWrap(ImcWrapImplBase* value) { imcWrap = value; }
    void SetUiWrap(UiWrapImplBase* value) { uiWrap = value; }
    void SetHostWindow(HWND value) { hostWindow = value; }

    t_uiSkinData* GetSkin() const { return skin; }

    // The host's interfaces, or the do-nothing defaults where none is set, so that a
    // caller never calls through a null interface.
    ImcWrapImplBase& Imc() const;
    UiWrapImplBase& Ui() const;

    t_uiSettings* settings;
    t_uiSkinData* skin;
    t_wndPosRecord* positionRecord;
    ImcWrapImplBase* imcWrap;
    UiWrapImplBase* uiWrap;
    HWND hostWindow;  // first argument of most host calls, target of posts to the host
    int userId;
};

// The process-wide context of windows that were given none: every field zero except the
// interfaces, which are do-nothing defaults. Built on first call, UI thread only; it lives
// until the process ends.
t_uiContext* GetDefaultUiContext();
