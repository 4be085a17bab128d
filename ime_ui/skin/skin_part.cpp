#include "ime_ui/skin/skin_part.h"

#include "ime_ui/skin/skin_number.h"

// --- t_skinFieldList ------------------------------------------------------------

t_skinFieldList& t_skinFieldList::Append(const t_field& field)
{
    if (m_count < c_capacity)
        m_fields[m_count++] = field;
    return *this;
}

t_skinFieldList& t_skinFieldList::Values(const wchar_t* prefix, std::initializer_list<t_skinNamedValue> values)
{
    for (const t_skinNamedValue& value : values)
        Append({value.name, prefix, value.value, nullptr, true});
    return *this;
}

t_skinFieldList& t_skinFieldList::Part(const wchar_t* name, const wchar_t* prefix, i_skinPart& part,
                                       t_skinResult result)
{
    return Append({name, prefix, nullptr, &part, result == t_skinResult::e_counts});
}

bool t_skinFieldList::Load(const t_iniSection* section) const
{
    bool all = true;
    for (int i = 0; i < m_count; ++i) {
        const t_field& field = m_fields[i];
        bool loaded = false;
        if (field.value) {
            loaded = field.value->Load(section, field.name, field.prefix);
        } else {
            wchar_t key[c_skinKeyChars] = {0};
            if (MakeSkinKey(field.name, field.prefix, key))
                loaded = field.part->Load(section, key);
            else
                field.part->Reset();
        }
        if (field.counts)
            all = loaded && all;
    }
    return all;
}

void t_skinFieldList::Save(t_iniSection* section, t_heap& heap) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_fields[i].value)
            m_fields[i].value->Save(section, m_fields[i].name, heap, m_fields[i].prefix);
    }
}

void t_skinFieldList::Reset() const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_fields[i].value)
            m_fields[i].value->Reset();
        else
            m_fields[i].part->Reset();
    }
}

void t_skinFieldList::Walk(i_skinValueVisitor& visitor, const wchar_t* section) const
{
    for (int i = 0; i < m_count; ++i) {
        const t_field& field = m_fields[i];
        if (field.value) {
            WalkSkinValue(visitor, section, field.name, field.prefix, *field.value);
            continue;
        }
        wchar_t key[c_skinKeyChars] = {0};
        if (MakeSkinKey(field.name, field.prefix, key))
            field.part->Walk(visitor, section, key);
    }
}

// --- SkinPart -------------------------------------------------------------------

bool SkinPart::Load(const t_iniSection* section, const wchar_t* prefix)
{
    t_skinFieldList fields;
    List(fields, prefix);
    return fields.Load(section);
}

void SkinPart::Reset()
{
    t_skinFieldList fields;
    List(fields, nullptr);
    fields.Reset();
}

void SkinPart::Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const
{
    // The list holds writable pointers; a walk only reads through them.
    t_skinFieldList fields;
    const_cast<SkinPart*>(this)->List(fields, prefix);
    fields.Walk(visitor, section);
}

void WalkSkinValue(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* name, const wchar_t* prefix,
                   const SkinTypeBase& value)
{
    wchar_t key[c_skinKeyChars] = {0};
    if (MakeSkinKey(name, prefix, key) && key[0])
        visitor.Visit(section, key, value);
}
