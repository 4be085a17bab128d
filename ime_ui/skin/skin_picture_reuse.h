// Decoded pictures carried from one load of the runtime skin to the next: the preview
// reloads the skin on every edit, and a file whose bytes and colour key are unchanged
// keeps its decoded bitmaps instead of being decoded again; fonts of an unchanged
// description are kept the same way. The runtime skin keeps two
// handle managers, the one being filled and the one of the last load; a bitmap taken over
// is skipped when that last one is released.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "graphics/layout/handle_manager.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_image_load.h"

class t_skinPictureReuse : public i_skinPictureReuse {
public:
    bool Take(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key, bool exact,
              t_imageSource& out) override;
    void Stored(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key, bool exact,
                t_imageSource* stored) override;

    // The same for fonts: a font made before from the same description and smoothing.
    bool TakeFont(const LOGFONTW& logFont, bool smoothing, t_font& out);
    void StoredFont(const LOGFONTW& logFont, bool smoothing, t_font* stored);
    static const void* FontIdentityOf(const t_font& font);

    // A stored picture changed after it was stored (resized): not to be taken over.
    void Forget(const t_imageSource* stored);
    // The pictures of the load just finished become the ones offered to the next load.
    void Retire();
    // The last load's manager was released: nothing of it is offered any more.
    void DropRetired();
    // Whether the object behind a stored bitmap record was taken over by the new load.
    bool IsKept(const void* identity) const { return m_kept.count(identity) != 0; }

    // The object a bitmap record's release frees (as the bitmap policy sees it).
    static const void* IdentityOf(const t_imageSource& source);

private:
    struct t_entry {
        std::string bytes;
        uint32_t key;
        bool exact;
        t_imageSource* stored;
    };
    static std::wstring KeyOf(const wchar_t* name);

    std::unordered_map<std::wstring, t_entry> m_current;
    std::unordered_map<std::wstring, t_entry> m_retired;
    struct t_fontEntry {
        LOGFONTW logFont;
        bool smoothing;
        t_font* stored;
    };
    std::vector<t_fontEntry> m_currentFonts;
    std::vector<t_fontEntry> m_retiredFonts;
    std::set<const void*> m_kept;
};

// The default policies, but bitmaps and fonts taken over by the next load are not released.
class t_skinHandleHelper : public t_handleManagerHelper_Default {
public:
    explicit t_skinHandleHelper(const t_skinPictureReuse& reuse) : m_bitmap(reuse), m_font(reuse) {}
    i_handleHelpler* Policy(int type, int subtype) override;

private:
    class t_bitmapPolicy : public t_handleHelper_Bitmap {
    public:
        explicit t_bitmapPolicy(const t_skinPictureReuse& reuse) : m_reuse(reuse) {}
        void Release(void* stored) override;

    private:
        const t_skinPictureReuse& m_reuse;
    };
    class t_fontPolicy : public t_handleHelper_Font {
    public:
        explicit t_fontPolicy(const t_skinPictureReuse& reuse) : m_reuse(reuse) {}
        void Release(void* stored) override;

    private:
        const t_skinPictureReuse& m_reuse;
    };
    t_bitmapPolicy m_bitmap;
    t_fontPolicy m_font;
};
