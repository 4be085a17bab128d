// A configuration file: typed sections and array sections over one INI document.
// Saving renders every value into the document that was loaded, so sections,
// keys and comments that the classes do not know are written back unchanged.
#pragma once

#include "foundation/config/config_array_section.h"
#include "foundation/config/config_struct.h"
#include "foundation/config/config_value.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/simple_array.h"

namespace n_config {

class t_configFile {
public:
    static const unsigned c_textBlockSize = 0x1fff8;

    explicit t_configFile(bool encrypted);
    virtual ~t_configFile() {}

    t_configFile(const t_configFile&) = delete;
    t_configFile& operator=(const t_configFile&) = delete;

    // Registers the members; a derived constructor builds its sections and calls it.
    virtual void Init() {}
    // Parses the loaded document into the members: each section found in the
    // document is read, each array section loads. True only when every section
    // was found.
    virtual bool Apply();

    // Resets every member, reads the file (code page 936) and applies it. A file
    // that cannot be read leaves the defaults; no words are reported.
    bool Load(const wchar_t* path);
    // Renders every value into the document and writes the file; the result is
    // that of writing.
    bool Save(const wchar_t* path);

    t_iniDocument& Document() { return m_document; }
    // Receives the string values read.
    t_heap& TextArena() { return m_textArena; }

protected:
    // Appends a section or array section and lets it register its members.
    void AddMember(t_typeBase& member);

private:
    itl::ImmSimpleArray<t_typeBase*> m_members;
    t_heap m_textArena;
    t_iniDocument m_document;
};

}  // namespace n_config
