// The runtime skin's buttons and flash items: built from the parsed Skin.ini after the
// window pictures, kept by {window, type, index}, read by the status bar and the IME
// windows; and the animation tick that steps the animated pictures they show.
#pragma once

#include <cstdint>

#include "ime_ui/skin/skin_button_record.h"
#include "ime_ui/skin/skin_config_file.h"
#include "ime_ui/skin/skin_image_load.h"

// What building the records reads of the runtime skin besides the parsed file.
struct t_skinBuildContext {
    bool zoom;
    double zoomFactor;
    // Default skins have their status-bar button pictures recoloured to this (-1 none).
    bool defaultSkin;
    uint32_t statusButtonColor;
    // Buttons of the status bar are aligned in its background (0 x 0: no box).
    int statusBoxWidth;
    int statusBoxHeight;
    // Flash files are found beside the skin package: its folder + "\Flash\" + name.
    const wchar_t* skinPath;
    // Flash data the utility refuses is still kept.
    bool flashDebugMode;
};

// A margin or size scaled by the zoom: value x factor + 0.5, truncated; results past the
// int range are held at its ends.
int ScaleSkinRounded(int value, double factor);
// value x factor, truncated, held inside the int range the same way.
int ScaleSkinTruncated(int value, double factor);

class t_skinButtonParts {
public:
    t_skinButtonParts() : m_pictures(m_animations) {}
    t_skinButtonParts(const t_skinButtonParts&) = delete;
    t_skinButtonParts& operator=(const t_skinButtonParts&) = delete;

    // Both maps emptied, their records deleted, the animation registry and the picture
    // index emptied: call it whenever the handle manager is released.
    void Clear();

    // The status bar's buttons (only when statusButtons), then those of windows 1..6;
    // then the flash items of all seven windows.
    void Load(const SkinConfigFile& parsed, bool statusButtons, const t_skinBuildContext& context);
    // The flash background of a window, stored under {window, 2, -1} when its file resolves.
    void LoadFlashBackground(const SkinFlashBk& flashBk, int window, const t_skinBuildContext& context);

    // One button record built and stored; false when it has none (hidden, bad key).
    bool BuildButtonRecord(const SkinBtn& button, const SkinWindowCommon& common, int window, t_skinItemType type,
                           int index, const t_skinBuildContext& context);

    t_btnSkinRec* FindButton(int window, t_skinItemType type, int index) const;
    uint8_t GetButtonDisplay(int window, t_skinItemType type, int index) const;
    const wchar_t* GetButtonHint(int window, t_skinItemType type, int index) const;
    // Copies the url; true when it isn't empty.
    bool GetButtonUrl(t_str& out, int window, t_skinItemType type, int index) const;
    t_flashSkinRec* FindFlash(int window, int index) const;

    const t_skinRecordMap<t_btnSkinRec>& Buttons() const { return m_buttons; }
    const t_skinRecordMap<t_flashSkinRec>& Flashes() const { return m_flashes; }
    t_skinAnimations& Animations() { return m_animations; }
    t_skinPictureStore& Pictures() { return m_pictures; }

    // Advances the animations of the windows in groupMask to `now` (hundredths of a
    // second); every button picture and every record in `others` (count records each)
    // that showed an old frame shows the new one. True when a frame changed.
    bool TickAnimations(unsigned groupMask, int now, t_image* const* others, const int* otherCounts, int otherLists);

private:
    void LoadWindowButtons(const SkinStatusButtons& buttons, const SkinWindowCommon& common, int window,
                           const t_skinBuildContext& context);
    void LoadWindowFlashes(const SkinFlashs& flashs, int window, const t_skinBuildContext& context);
    bool BuildFlashRecord(const SkinFlash& item, int window, int index, const t_skinBuildContext& context);

    t_skinRecordMap<t_btnSkinRec> m_buttons;
    t_skinRecordMap<t_flashSkinRec> m_flashes;
    t_skinAnimations m_animations;
    t_skinPictureStore m_pictures;
};

// Resolves a flash file of the skin: path = the skin package's folder + "\Flash\" + name
// (a name beginning with "." is appended as an extension). Data already held under the
// path only narrows `security`; else the archive entry goes to the flash utility and is
// stored in the handle manager. False when the entry is missing, the utility refuses it
// outside debug mode, or it can't be stored.
bool ResolveFlashFile(t_skinPictureStore& store, t_str& path, int& security, const wchar_t* name,
                      const t_skinBuildContext& context);
