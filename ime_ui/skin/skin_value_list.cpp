#include "ime_ui/skin/skin_value_list.h"

#include "ime_ui/skin/skin_number.h"

t_skinValueList& t_skinValueList::Add(std::initializer_list<t_skinNamedValue> values)
{
    for (const t_skinNamedValue& value : values) {
        if (m_count < c_capacity)
            m_values[m_count++] = value;
    }
    return *this;
}

bool t_skinValueList::Load(const t_iniSection* section, const wchar_t* prefix) const
{
    bool all = true;
    for (int i = 0; i < m_count; ++i)
        all = m_values[i].value->Load(section, m_values[i].name, prefix) && all;
    return all;
}

void t_skinValueList::Save(t_iniSection* section, const wchar_t* prefix, t_heap& heap) const
{
    for (int i = 0; i < m_count; ++i)
        m_values[i].value->Save(section, m_values[i].name, heap, prefix);
}

void t_skinValueList::Reset() const
{
    for (int i = 0; i < m_count; ++i)
        m_values[i].value->Reset();
}

void t_skinValueList::Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const
{
    for (int i = 0; i < m_count; ++i)
        WalkSkinValue(visitor, section, m_values[i].name, prefix, *m_values[i].value);
}

void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value)
{
    wchar_t key[c_skinKeyChars] = {0};
    if (MakeSkinKey(name, prefix, key) && key[0])
        visitor.Visit(section, key, value);
}
