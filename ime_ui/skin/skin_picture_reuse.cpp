#include "ime_ui/skin/skin_picture_reuse.h"

#include <cstring>
#include <cwctype>

std::wstring t_skinPictureReuse::KeyOf(const wchar_t* name)
{
    std::wstring key = name ? name : L"";
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(towlower(c));
    return key;
}

const void* t_skinPictureReuse::IdentityOf(const t_imageSource& source)
{
    if (source.kind == t_imageSource::e_frames)
        return source.payload.frames;
    return source.payload.ref.handle;
}

bool t_skinPictureReuse::Take(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key, bool exact,
                              t_imageSource& out)
{
    auto found = m_retired.find(KeyOf(name));
    if (found == m_retired.end())
        return false;
    const t_entry& entry = found->second;
    if (!entry.stored || entry.key != key || entry.exact != exact || entry.bytes.size() != size ||
        memcmp(entry.bytes.data(), bytes, size) != 0)
        return false;
    const void* identity = IdentityOf(*entry.stored);
    if (!identity)
        return false;
    out = *entry.stored;
    m_kept.insert(identity);
    // Taken once: a second use of the file in the new load is the store's own copy.
    m_retired.erase(found);
    return true;
}

void t_skinPictureReuse::Stored(const wchar_t* name, const unsigned char* bytes, uint32_t size, uint32_t key,
                                bool exact, t_imageSource* stored)
{
    t_entry& entry = m_current[KeyOf(name)];
    entry.bytes.assign(reinterpret_cast<const char*>(bytes), size);
    entry.key = key;
    entry.exact = exact;
    entry.stored = stored;
}

void t_skinPictureReuse::Forget(const t_imageSource* stored)
{
    for (auto it = m_current.begin(); it != m_current.end(); ++it) {
        if (it->second.stored == stored) {
            m_current.erase(it);
            return;
        }
    }
}

const void* t_skinPictureReuse::FontIdentityOf(const t_font& font)
{
    return font.hfont ? static_cast<const void*>(font.hfont) : font.ftFont;
}

bool t_skinPictureReuse::TakeFont(const LOGFONTW& logFont, bool smoothing, t_font& out)
{
    for (auto it = m_retiredFonts.begin(); it != m_retiredFonts.end(); ++it) {
        if (it->smoothing != smoothing || memcmp(&it->logFont, &logFont, sizeof logFont) != 0 || !it->stored)
            continue;
        const void* identity = FontIdentityOf(*it->stored);
        if (!identity)
            return false;
        out = *it->stored;
        m_kept.insert(identity);
        m_retiredFonts.erase(it);
        return true;
    }
    return false;
}

void t_skinPictureReuse::StoredFont(const LOGFONTW& logFont, bool smoothing, t_font* stored)
{
    m_currentFonts.push_back(t_fontEntry{logFont, smoothing, stored});
}

void t_skinPictureReuse::Retire()
{
    m_retired.swap(m_current);
    m_current.clear();
    m_retiredFonts.swap(m_currentFonts);
    m_currentFonts.clear();
    m_kept.clear();
}

void t_skinPictureReuse::DropRetired()
{
    m_retired.clear();
    m_retiredFonts.clear();
    m_kept.clear();
}

i_handleHelpler* t_skinHandleHelper::Policy(int type, int subtype)
{
    if (type == e_handleGdi && subtype == e_gdiBitmap)
        return &m_bitmap;
    if (type == e_handleGdi && subtype == e_gdiFont)
        return &m_font;
    return t_handleManagerHelper_Default::Policy(type, subtype);
}

void t_skinHandleHelper::t_bitmapPolicy::Release(void* stored)
{
    if (stored && m_reuse.IsKept(t_skinPictureReuse::IdentityOf(*static_cast<const t_imageSource*>(stored))))
        return;
    t_handleHelper_Bitmap::Release(stored);
}

void t_skinHandleHelper::t_fontPolicy::Release(void* stored)
{
    if (stored && m_reuse.IsKept(t_skinPictureReuse::FontIdentityOf(*static_cast<const t_font*>(stored))))
        return;
    t_handleHelper_Font::Release(stored);
}
