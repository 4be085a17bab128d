#include "foundation/config/config_array_section.h"

#include <cwchar>

namespace n_config {

namespace {
const unsigned c_nameBlock = 0x1000;
}

t_arraySectionBase::t_arraySectionBase(const wchar_t* name, t_int* count, t_heap* textArena)
    : t_typeBase(name), m_names(c_nameBlock), m_firstIndex(0), m_count(count), m_textArena(textArena)
{}

t_arraySectionBase::~t_arraySectionBase() { Reset(); }

void t_arraySectionBase::Reset()
{
    for (int i = 0; i < m_items.Count(); ++i)
        delete m_items[i];
    m_items.Clear();
    m_names.FreeAll();
    isSet = 0;
}

bool t_arraySectionBase::IsSet() const
{
    for (int i = 0; i < m_items.Count(); ++i) {
        if (m_items[i]->HasAnySet())
            return true;
    }
    return false;
}

const wchar_t* t_arraySectionBase::SectionName(wchar_t* buffer, unsigned size, const wchar_t* prefix,
                                               const t_section& item) const
{
    wchar_t own[c_keyChars];
    const wchar_t* arrayKey = KeyName(own, c_keyChars, prefix);
    if (!arrayKey)
        return nullptr;
    const size_t a = wcslen(arrayKey);
    const size_t b = wcslen(item.name);
    if (a + b >= size)
        return nullptr;
    wmemcpy(buffer, arrayKey, a);
    wmemcpy(buffer + a, item.name, b + 1);
    return buffer;
}

bool t_arraySectionBase::Load(const t_iniFile* file, const wchar_t* prefix)
{
    Reset();
    int count = m_count ? m_count->Get() : 0;
    if (count < 0)
        count = 0;
    if (count > c_maxItems)
        count = c_maxItems;
    if (!m_items.Reserve(count))
        return false;
    for (int i = 0; i < count; ++i) {
        wchar_t number[16];
        _snwprintf(number, 16, L"%d", m_firstIndex + i);
        number[15] = 0;
        const wchar_t* itemName = m_names.StrDup(number);
        t_section* item = itemName ? CreateItem(itemName, m_textArena) : nullptr;
        if (!item)
            return false;
        item->RegisterMembers();
        m_items.Add(item);
        wchar_t buffer[c_keyChars];
        const wchar_t* sectionName = SectionName(buffer, c_keyChars, prefix, *item);
        const t_iniSection* section = (file && sectionName) ? file->FindSection(sectionName) : nullptr;
        if (section)
            item->Read(*section, nullptr);
    }
    return true;
}

bool t_arraySectionBase::Save(t_iniFile& file, t_textCursor& cursor, const wchar_t* prefix)
{
    bool all = true;
    for (int i = 0; i < m_items.Count(); ++i) {
        t_section* item = m_items[i];
        if (!item->HasAnySet())
            continue;
        wchar_t buffer[c_keyChars];
        const wchar_t* sectionName = SectionName(buffer, c_keyChars, prefix, *item);
        t_iniSection* section = sectionName ? file.AddSection(sectionName) : nullptr;
        if (!section || !item->Write(*section, cursor, nullptr))
            all = false;
    }
    return all;
}

}  // namespace n_config
