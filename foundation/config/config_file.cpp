#include "foundation/config/config_file.h"

namespace n_config {

namespace {
const unsigned c_codePageGbk = 936;
}

t_configFile::t_configFile(bool encrypted) : m_textArena(c_textBlockSize), m_document(encrypted) {}

void t_configFile::AddMember(t_typeBase& member)
{
    if (m_members.Find(&member) >= 0 || !m_members.Add(&member))
        return;
    member.RegisterMembers();
}

bool t_configFile::Apply()
{
    const t_iniFile* root = m_document.ParsedRoot();
    bool all = true;
    for (int i = 0; i < m_members.Count(); ++i) {
        t_typeBase* member = m_members[i];
        if (t_arraySectionBase* array = member->AsArray()) {
            array->Load(root);
            continue;
        }
        const t_iniSection* section = root ? root->FindSection(member->name) : nullptr;
        if (section)
            member->Read(*section, nullptr);
        else
            all = false;
    }
    return all;
}

bool t_configFile::Load(const wchar_t* path)
{
    for (int i = 0; i < m_members.Count(); ++i)
        m_members[i]->Reset();
    t_errorChain dropped;
    if (!m_document.ReadConfig(dropped, path, c_codePageGbk))
        return false;
    Apply();
    return true;
}

bool t_configFile::Save(const wchar_t* path)
{
    t_iniFile* root = m_document.Root();
    if (!root)
        return false;
    t_heap scratch(c_textBlockSize);
    t_textCursor cursor(&scratch);
    for (int i = 0; i < m_members.Count(); ++i) {
        t_typeBase* member = m_members[i];
        // A value that cannot be rendered is skipped; the file is still written.
        if (t_arraySectionBase* array = member->AsArray()) {
            array->Save(*root, cursor);
            continue;
        }
        if (t_iniSection* section = root->AddSection(member->name))
            member->Write(*section, cursor, nullptr);
    }
    t_errorChain dropped;
    return m_document.WriteConfig(dropped, path);
}

}  // namespace n_config
