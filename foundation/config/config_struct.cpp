#include "foundation/config/config_struct.h"

#include <cstdlib>
#include <cwchar>

namespace n_config {

// --- t_struct -----------------------------------------------------------------

void t_struct::AddMember(t_typeBase& member)
{
    if (m_members.Find(&member) < 0)
        m_members.Add(&member);
}

void t_struct::RegisterMembers()
{
    for (int i = 0; i < m_members.Count(); ++i)
        m_members[i]->RegisterMembers();
}

void t_struct::Reset()
{
    for (int i = 0; i < m_members.Count(); ++i)
        m_members[i]->Reset();
    isSet = 0;
}

bool t_struct::IsSet() const
{
    if (isSet)
        return true;
    for (int i = 0; i < m_members.Count(); ++i) {
        if (m_members[i]->IsSet())
            return true;
    }
    return false;
}

bool t_struct::ReadMembers(const t_iniSection& section, const wchar_t* prefix)
{
    bool all = true;
    for (int i = 0; i < m_members.Count(); ++i) {
        if (!m_members[i]->Read(section, prefix))
            all = false;
    }
    return all;
}

bool t_struct::WriteMembers(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix)
{
    bool all = true;
    for (int i = 0; i < m_members.Count(); ++i) {
        if (!m_members[i]->Write(section, cursor, prefix))
            all = false;
    }
    return all;
}

bool t_struct::Read(const t_iniSection& section, const wchar_t* prefix)
{
    wchar_t buffer[c_keyChars];
    const wchar_t* own = KeyName(buffer, c_keyChars, prefix);
    return own && ReadMembers(section, own);
}

bool t_struct::Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix)
{
    wchar_t buffer[c_keyChars];
    const wchar_t* own = KeyName(buffer, c_keyChars, prefix);
    return own && WriteMembers(section, cursor, own);
}

// --- t_section ----------------------------------------------------------------

bool t_section::Read(const t_iniSection& section, const wchar_t*) { return ReadMembers(section, nullptr); }

bool t_section::Write(t_iniSection& section, t_textCursor& cursor, const wchar_t*)
{
    return WriteMembers(section, cursor, nullptr);
}

bool t_section::HasAnySet() const
{
    for (int i = 0; i < m_members.Count(); ++i) {
        if (m_members[i]->IsSet())
            return true;
    }
    return false;
}

// --- t_structOneLine ----------------------------------------------------------

t_structOneLine::t_structOneLine(const wchar_t* name, const wchar_t* separator) : t_struct(name), m_separatorLength(0)
{
    while (separator && separator[m_separatorLength] && m_separatorLength < c_maxSeparator) {
        m_separator[m_separatorLength] = separator[m_separatorLength];
        ++m_separatorLength;
    }
    m_separator[m_separatorLength] = 0;
}

bool t_structOneLine::FromString(const wchar_t* text, t_heap* arena)
{
    t_struct::Reset();
    if (!text)
        return false;
    // Pieces are cut in a private copy: the text belongs to the document.
    const size_t length = wcslen(text);
    wchar_t* copy = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
    if (!copy)
        return false;
    wmemcpy(copy, text, length + 1);
    bool all = true;
    wchar_t* piece = copy;
    for (int i = 0; i < m_members.Count(); ++i) {
        t_typeBase* member = m_members[i];
        if (!piece || !*piece) {
            // The text ran out: this member and the rest keep their defaults.
            member->Reset();
            piece = nullptr;
            continue;
        }
        wchar_t* next = m_separatorLength ? wcsstr(piece, m_separator) : nullptr;
        if (next) {
            *next = 0;
            next += m_separatorLength;
        }
        if (!member->FromString(piece, arena))
            all = false;
        member->isSet = 0;
        piece = next;
    }
    free(copy);
    return all;
}

bool t_structOneLine::ToString(wchar_t* buffer, unsigned size) const
{
    if (!buffer || size == 0)
        return false;
    unsigned used = 0;
    buffer[0] = 0;
    for (int i = 0; i < m_members.Count(); ++i) {
        if (!m_members[i]->ToString(buffer + used, size - used))
            return false;
        used += static_cast<unsigned>(wcslen(buffer + used));
        if (size - used <= m_separatorLength)
            return false;
        wmemcpy(buffer + used, m_separator, m_separatorLength + 1);
        used += m_separatorLength;
    }
    return true;
}

bool t_structOneLine::Read(const t_iniSection& section, const wchar_t* prefix)
{
    if (ReadValue(section, prefix))
        return true;
    // A line that fails in one member is not half taken: every member keeps its
    // default (a window rectangle from three parsed numbers and one default is
    // worse than the default rectangle).
    t_struct::Reset();
    return false;
}

bool t_structOneLine::Write(t_iniSection& section, t_textCursor& cursor, const wchar_t* prefix)
{
    return WriteValue(section, cursor, prefix);
}

}  // namespace n_config
