// The runtime skin: the skin as the input method's windows draw it. Fonts, colours, pens,
// nine-part backgrounds, masks, alignment records and per-window flags in fixed tables,
// the button and flash records of every window, and the handle manager that owns every
// GDI object and decoded picture. Filled from a skin pack by Load (the user's pack, a
// pack rebuilt from the active skin, or the installation's default skin).
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"
#include "foundation/records/skin_pack.h"
#include "graphics/image/image.h"
#include "graphics/layout/handle_manager.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/solid_draw.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_config_file.h"
#include "ime_ui/skin/skin_picture_reuse.h"

struct t_uiSettings;
// Button, flash and animation records (skin_buttons.h): made with the skin, owned by it.
class t_skinButtonParts;

// Windows of the input method's UI; the animation group bit of a window is 1 << number.
enum class t_uiWindow : int {
    e_status = 0,
    e_h1 = 1,      // [Scheme_H1] combined window
    e_h2Comp = 2,  // [Scheme_H2] composition window
    e_h2Cand = 3,  // [Scheme_H2] candidate window
    e_v1 = 4,      // [Scheme_V1] combined window
    e_v2Comp = 5,
    e_v2Cand = 6,
};
const int c_uiWindowCount = 7;

// Areas of backgrounds and masks.
enum class t_skinArea : int {
    e_h1 = 0,
    e_h2Comp = 1,
    e_h2Cand = 2,
    e_v1 = 3,
    e_v2Comp = 4,
    e_v2Cand = 5,
    e_h1Separator = 6,
    e_v1Separator = 7,
};
const int c_skinAreaCount = 8;
// The masks table has the six scheme areas, then the status bar.
const int c_skinMaskStatus = 6;
const int c_skinMaskCount = 7;

// The window an area's pictures belong to.
t_uiWindow SkinAreaWindow(t_skinArea area);

// Text styles (what each is drawn with is fixed by LoadConfig).
enum class t_textStyleId : int {
    e_result = 0,
    e_pinyin = 1,
    e_compHint = 2,
    e_candSmall = 3,
    e_bihua = 4,
    e_cand = 5,
    e_candFirst = 6,
    e_candLink = 7,
    e_candTwoThirds = 8,
    e_candDebug = 9,
    e_candPinyin = 10,
    e_candFirstOnCand = 11,
    e_candMingLiU = 12,
};
const int c_textStyleCount = 13;

// Pens: the caret, the separator lines of the combined windows.
enum class t_skinPenId : int {
    e_caret = 0,
    e_h1Separator = 1,
    e_v1Separator = 2,
};
const int c_skinPenCount = 3;

// Alignment records: the separators of the combined windows, then the two margins of
// each scheme.
enum class t_skinAlignId : int {
    e_h1Separator = 0,
    e_v1Separator = 1,
    e_h1Pinyin = 2,
    e_h1Zhongwen = 3,
    e_h2Pinyin = 4,
    e_h2Zhongwen = 5,
    e_v1Pinyin = 6,
    e_v1Zhongwen = 7,
    e_v2Pinyin = 8,
    e_v2Zhongwen = 9,
};
const int c_skinAlignCount = 10;

// Layered and opacity entries; anchors use the first four.
enum class t_skinScheme : int {
    e_h1 = 0,
    e_h2 = 1,
    e_v1 = 2,
    e_v2 = 3,
    e_status = 4,
};
const int c_skinSchemeCount = 5;
const int c_skinAnchorCount = 4;
// Web pages: [Display] webpage, then window number + 1.
const int c_skinWebpageCount = 8;

// One text style: colour records and font, all owned by the handle manager. A null colour
// draws nothing.
struct t_skinTextStyle {
    const uint32_t* color;
    const uint32_t* color2;
    int reserved;
    t_font* font;
};

struct t_skinPen {
    t_pen* pen;  // owned by the handle manager
    int flag;    // 1 for the caret
};

struct t_skinPair {
    int x, y;
};

// A fixed table whose entries are present or absent.
template <class T, int N>
class t_skinTable {
public:
    static const int c_size = N;

    // The entry, or null when the index is outside the table or the entry is absent.
    const T* Get(int index) const { return index >= 0 && index < N && m_present[index] ? &m_values[index] : nullptr; }
    // The entry, marked present; null outside the table.
    T* Set(int index)
    {
        if (index < 0 || index >= N)
            return nullptr;
        m_present[index] = true;
        return &m_values[index];
    }
    T* Slot(int index) { return index >= 0 && index < N ? &m_values[index] : nullptr; }
    void SetAbsent(int index)
    {
        if (index >= 0 && index < N)
            m_present[index] = false;
    }
    void ClearPresence()
    {
        for (bool& present : m_present)
            present = false;
    }

private:
    bool m_present[N] = {};
    T m_values[N] = {};
};

class t_uiSkinData {
public:
    // File name of the runtime skin in the user's folder, and of the default skin in the
    // installation folder.
    static const wchar_t* const c_userSkinFile;
    static const wchar_t* const c_defaultSkinFile;
    // Zoom factors are kept inside this range: beyond it a skin would be scaled to
    // nothing or to pictures far larger than any screen.
    static constexpr double c_minZoom = 0.25;
    static constexpr double c_maxZoom = 4.0;
    // Font sizes (pixels) are kept inside 1..c_maxFontPixels.
    static const int c_maxFontPixels = 256;

    t_uiSkinData();
    ~t_uiSkinData();
    t_uiSkinData(const t_uiSkinData&) = delete;
    t_uiSkinData& operator=(const t_uiSkinData&) = delete;

    // Clears the tables, sets the skin path to the user's folder + "\skin_v3.dat",
    // forgets the settings (SetSettings comes after it) and keeps the user id.
    bool Init(t_errorChain& errors, int userId);
    // Up to 260 characters. A preview copy is never deleted or rebuilt from the active
    // skin when it can't be read, and a broken copy keeps the skin already loaded.
    void SetSkinPath(const wchar_t* path, bool previewCopy = false);
    void SetSettings(t_uiSettings* settings) { m_settings = settings; }

    // Loads the current skin; true when some skin (the user's or the default) was loaded.
    bool Load(t_errorChain& errors, int userId);
    // Loads one skin pack file.
    bool ParseSkinIni(t_errorChain& errors, const wchar_t* path);
    // Has the active skin written as a skin pack at path.
    bool UnzipSkin(const wchar_t* path, t_errorChain& errors, int userId);
    // Loads the default skin of the installation.
    bool LoadDefaultSkin(t_errorChain& errors);

    // Merges the user's font and colour settings into the parsed skin and decides the zoom.
    void ApplyZoom(SkinConfigFile& parsed, const t_uiSettings* settings);
    // Rebuilds every table, record and handle from the parsed skin; always true.
    bool LoadConfig(const SkinConfigFile& parsed);

    // Readers: false (or null) when the index is out of range or the entry is absent.
    bool GetTextStyle(int index, const uint32_t*& color, const uint32_t*& color2, int& reserved, t_font*& font) const;
    const t_skinTextStyle* GetTextStylePtr(int index) const { return m_textStyles.Get(index); }
    const t_skinPen* GetPen(int index) const { return m_pens.Get(index); }
    bool GetSeparatorShown(int index) const;
    const t_image* GetStatusBackground() const { return m_statusBackground.Get(0); }
    const t_image* GetStatusPreview() const { return m_statusPreview.Get(0); }
    // The nine parts of an area's background, row by row.
    const t_imageSet9* GetArea(int area) const { return m_backgrounds.Get(area); }
    bool GetAlign(int index, t_alignInfo& out) const;
    void SetAlign(int index, const t_alignInfo& record);
    bool GetIndexedPair(int index, int& x, int& y) const;
    bool GetLayered(int index, bool& out) const;
    bool GetOpacity(int index, int& out) const;
    bool GetMask(int index, t_image& out) const;
    const t_image* GetMaskPtr(int index) const { return m_masks.Get(index); }
    void SetMask(int index, const t_image& record);
    // The window's own web page when present and non-empty, else [Display] webpage; true
    // when the text found is non-empty.
    bool GetWebpageUrl(t_str& out, int window) const;

    // State of the last load.
    bool IsLoaded() const { return m_loaded; }
    bool UserSkinInUse() const { return m_userSkinInUse; }
    bool IsDefaultSkin() const { return m_defaultSkin; }
    bool UseGdip() const { return m_useGdip; }
    bool PlainBackground() const { return m_plainBackground; }
    bool ZoomOn() const { return m_zoomOn; }
    double ZoomFactor() const { return m_zoomFactor; }
    uint32_t StatusButtonColor() const { return m_statusButtonColor; }
    // Bit 1 << area set for every background present.
    uint32_t AreaMask() const { return m_areaMask; }
    bool Aero() const { return m_aero; }
    bool Glow() const { return m_glow; }
    bool HasSkinManagerPicture() const { return m_skinManagerPicture; }
    bool HasMenuPicture() const { return m_menuPicture; }
    int WidgetCount() const { return m_widgetCount; }
    const t_str& SkinId() const { return m_skinId; }
    t_seperatorMode SeparatorMode(int combined) const { return m_separatorMode[combined ? 1 : 0]; }
    const wchar_t* SkinPath() const { return m_skinPath; }
    t_uiSettings* Settings() const { return m_settings; }
    int UserId() const { return m_userId; }
    bool StatusButtonsAllowed() const { return m_statusButtonsAllowed; }
    void SetStatusButtonsAllowed(bool allowed) { m_statusButtonsAllowed = allowed; }

    t_handleManager& Handles() { return *m_handles; }
    const t_skinPack& Archive() const { return m_archive; }
    // The scaled value of a length from the file: x factor + 0.5, truncated (unchanged
    // with zoom off).
    int Scale(int value) const;

    // --- Buttons, flash items and animations (skin_buttons.cpp) ---
    // Loads a picture of the archive for a window, once per file name; cached tells
    // whether the handle manager already held it.
    bool LoadSkinImage(t_imageSource*& out, const wchar_t* fileName, int window, bool& cached, uint32_t colorKey);
    // LoadConfig step 4: the button records, then the flash items; also sets the
    // skin-manager-picture and menu-picture bytes.
    void LoadButtons(const SkinConfigFile& parsed);
    // The flash background of a window (after its background and mask).
    void LoadFlashBackground(int window, const SkinFlashBk& flashBk, bool scaled);
    // Advances the animations of the windows in the group mask; true when a picture changed.
    bool TickAnimations(uint32_t groupMask);
    t_skinButtonParts* ButtonParts() const { return m_buttonParts; }

private:
    // The button parts' life, with the skin's (skin_buttons.cpp).
    static t_skinButtonParts* CreateButtonParts(t_skinPictureReuse& reuse);
    static void DestroyButtonParts(t_skinButtonParts* parts);
    // Empties the button and flash maps and the animation registry.
    void ClearButtonParts();

    // ParseSkinIni; a broken pack is deleted only with dropBroken (never the default
    // skin of the installation or an editor's preview copy).
    bool ParseSkinPack(t_errorChain& errors, const wchar_t* path, bool dropBroken);
    // Empties the tables and maps; with everything, both handle managers are released too
    // (otherwise the current one is kept aside for the next load to reuse from).
    void ReleaseLoaded(bool everything);
    t_handleManager& OtherHandles() { return m_handleStore[m_handles == &m_handleStore[0] ? 1 : 0]; }
    // LoadConfig steps.
    void LoadStatusPictures(const SkinStatusBarPart& status);
    void LoadBackground(t_skinArea area, const t_SkinImage& picture, const SkinSplit& splitX, const SkinSplit& splitY,
                        uint32_t colorKey, bool separator);
    void LoadMask(int index, const SkinImage& mask, bool scaled);
    // Loads a picture for a window and finds its part: (a, b) and (c, d) of spec, the whole
    // picture for a 0 x 0 size, scaled with the zoom when zoomed (the picture itself
    // resized too unless keepNatural or it came from the cache), then clipped to the pixels.
    bool LoadPicture(const t_SkinImage& spec, const wchar_t* file, int window, uint32_t key, bool zoomed,
                     bool keepNatural, t_imageSource*& source, int& x, int& y, int& width, int& height);
    void LoadFonts(const SkinDisplay& display);
    void LoadPens(const SkinConfigFile& parsed);
    void LoadAlignments(const SkinConfigFile& parsed);
    void LoadFlags(const SkinConfigFile& parsed);
    // A colour record in the handle manager; null for no colour.
    const uint32_t* AcquireColor(uint32_t color);
    t_font* AcquireFont(const LOGFONTW& logFont, bool smoothing);

    t_skinTable<t_skinTextStyle, c_textStyleCount> m_textStyles;
    t_skinTable<t_skinPen, c_skinPenCount> m_pens;
    t_skinTable<t_image, 1> m_statusBackground;
    t_skinTable<t_imageSet9, c_skinAreaCount> m_backgrounds;
    t_skinTable<t_alignInfo, c_skinAlignCount> m_aligns;
    t_skinTable<bool, 2> m_separatorShown;
    t_skinTable<bool, c_skinSchemeCount> m_layered;
    t_skinTable<int, c_skinSchemeCount> m_opacity;
    t_skinTable<t_skinPair, c_skinAnchorCount> m_anchors;
    t_skinTable<t_str, c_skinWebpageCount> m_webpages;
    t_skinTable<t_image, c_skinMaskCount> m_masks;
    t_skinTable<t_image, 1> m_statusPreview;

    t_skinButtonParts* m_buttonParts;

    t_seperatorMode m_separatorMode[2] = {t_seperatorMode::e_none, t_seperatorMode::e_none};
    wchar_t m_skinPath[MAX_PATH] = {};
    bool m_previewCopy = false;
    // Pictures carried over between loads; the manager being filled and the one of the
    // load before, released once the new load has taken over what it can reuse.
    t_skinPictureReuse m_reuse;
    t_handleManager m_handleStore[2];
    t_handleManager* m_handles;
    SkinConfigFile m_config;
    t_str m_skinId;
    t_skinPack m_archive;
    t_uiSettings* m_settings = nullptr;
    int m_userId = 0;

    bool m_useGdip = false;
    bool m_userSkinInUse = false;
    bool m_defaultSkin = false;
    bool m_loaded = false;
    bool m_plainBackground = false;
    bool m_zoomOn = false;
    double m_zoomFactor = 0.0;
    uint32_t m_statusButtonColor = 0xFFFFFFFFu;
    uint32_t m_areaMask = 0;
    bool m_aero = false;
    bool m_glow = false;
    bool m_skinManagerPicture = false;  // set by LoadButtons
    bool m_menuPicture = false;         // set by LoadButtons
    int m_widgetCount = 0;
    bool m_statusButtonsAllowed = true;
    // The fitted pinyin size of the last main font.
    struct {
        bool valid;
        LOGFONTW mainFont;
        int fallback;
        int height;
    } m_pinyinFit = {};
};
