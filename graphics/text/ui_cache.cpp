#include "graphics/text/ui_cache.h"

#include <cstdlib>
#include <cwchar>

#include "foundation/core/singleton.h"
#include "graphics/text/text_helpers.h"

namespace {

t_uiCache* s_live = nullptr;

unsigned KeyOf(HFONT font) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(font)); }

int16_t TruncatedWidth(const ABCFLOAT& abc) { return static_cast<int16_t>(abc.abcfA + abc.abcfB + abc.abcfC); }

bool FillWidths(HDC dc, bool extentMode, t_widthEntry& entry)
{
    const int count = t_widthEntry::c_count;
    if (extentMode) {
        wchar_t chars[count];
        for (int i = 0; i < count; ++i)
            chars[i] = static_cast<wchar_t>(t_widthEntry::c_first + i);
        INT extents[count] = {};
        INT fit = 0;
        SIZE size;
        if (!GetTextExtentExPointW(dc, chars, count, 10000, &fit, extents, &size))
            return false;
        for (int i = 0; i < count; ++i)
            entry.widths[i] = static_cast<int16_t>(i == 0 ? extents[0] : extents[i] - extents[i - 1]);
    } else {
        ABCFLOAT abc[count];
        if (!GetCharABCWidthsFloatW(dc, t_widthEntry::c_first, t_widthEntry::c_first + count - 1, abc))
            return false;
        for (int i = 0; i < count; ++i)
            entry.widths[i] = TruncatedWidth(abc[i]);
    }
    ABCFLOAT cjk;
    if (!GetCharABCWidthsFloatW(dc, t_widthEntry::c_cjkSample, t_widthEntry::c_cjkSample, &cjk))
        return false;
    entry.cjkWidth = TruncatedWidth(cjk);
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(dc, &metrics))
        return false;
    entry.height = metrics.tmHeight;
    return true;
}

// Sum of the cached widths; false when a character is neither printable ASCII nor CJK.
bool SumWidths(const t_widthEntry& entry, const wchar_t* text, int length, int& width)
{
    width = 0;
    for (int i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (c >= 32 && c <= 126)
            width += entry.widths[c - t_widthEntry::c_first];
        else if (IsCjkChar(c))
            width += entry.cjkWidth;
        else
            return false;
    }
    return true;
}

}  // namespace

bool IsCjkChar(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x2EFF) || (c >= 0x2F00 && c <= 0x2FDF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

t_uiCache::t_uiCache() : m_map(TAllocDefault()) { s_live = this; }

t_uiCache::~t_uiCache()
{
    Clear();
    if (s_live == this)
        s_live = nullptr;
}

t_uiCache* t_uiCache::Instance() { return ImmSingleton_unmanaged<t_uiCache>::Instance(); }

void t_uiCache::Delete() { ImmSingleton_unmanaged<t_uiCache>::Delete(); }

void t_uiCache::RemoveFont(HFONT font)
{
    if (!s_live || !font)
        return;
    t_uintHashMap::t_node* node = s_live->m_map.Find(KeyOf(font));
    if (!node)
        return;
    std::free(node->value);
    s_live->m_map.Remove(node);
}

void t_uiCache::Clear()
{
    for (t_uintHashMap::t_iterator it = m_map.Begin(); it.NotEquals(m_map.End()); it.Next())
        std::free(it.Node()->value);
    m_map.Clear();
}

const t_widthEntry* t_uiCache::Find(HFONT font) const
{
    const t_uintHashMap::t_node* node = font ? m_map.Find(KeyOf(font)) : nullptr;
    return node ? static_cast<const t_widthEntry*>(node->value) : nullptr;
}

bool t_uiCache::AddFont(HDC dc, HFONT font, bool extentMode)
{
    if (!font || !dc)
        return false;
    if (Find(font))
        return true;
    t_widthEntry* entry = static_cast<t_widthEntry*>(std::calloc(1, sizeof(t_widthEntry)));
    if (!entry)
        return false;
    bool filled;
    {
        t_scopedSelectObject selection(dc, font);
        filled = FillWidths(dc, extentMode, *entry);
    }
    t_uintHashMap::t_node* node = filled ? m_map.FindOrInsert(KeyOf(font)) : nullptr;
    if (!node) {
        std::free(entry);
        return false;
    }
    node->value = entry;
    return true;
}

bool t_uiCache::Measure(HDC dc, HFONT font, const wchar_t* text, int length, SIZE& size, bool extentMode)
{
    if (!text)
        return false;
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    if (length == 0)
        return true;
    AddFont(dc, font, extentMode);
    const t_widthEntry* entry = Find(font);
    int width = 0;
    if (entry && SumWidths(*entry, text, length, width)) {
        size.cx = width;
        size.cy = entry->height;
        return true;
    }
    t_scopedSelectObject selection(dc, font);
    return GetTextExtentPoint32W(dc, text, length, &size) != FALSE;
}
