#include "ime_ui/skin/skin_config_file.h"

#include "foundation/core/error_chain.h"
#include "foundation/core/perf.h"

#include <cwchar>

namespace {

const wchar_t c_general[] = L"General";
const wchar_t c_display[] = L"Display";
const wchar_t c_schemeH1[] = L"Scheme_H1";
const wchar_t c_schemeV1[] = L"Scheme_V1";
const wchar_t c_schemeH2[] = L"Scheme_H2";
const wchar_t c_schemeV2[] = L"Scheme_V2";
const wchar_t c_statusBar[] = L"StatusBar";

bool Named(const wchar_t* name, const wchar_t* expected) { return name && _wcsicmp(name, expected) == 0; }

}  // namespace

SkinConfigFile::SkinConfigFile() : m_document(false) {}

bool SkinConfigFile::ParseConfig(const wchar_t* path)
{
    PerfScope scope("ParseConfig");
    Reset();
    t_errorChain dropped;
    if (!path || !m_document.ReadConfig(dropped, path, c_codePage))
        return false;
    return ParseSections();
}

bool SkinConfigFile::ParseDefault(const void* bytes, size_t size)
{
    PerfScope scope("ParseDefault");
    Reset();
    if (!m_document.ReadFromMemory(bytes, size, c_codePage))
        return false;
    return ParseSections();
}

bool SkinConfigFile::ParseSections()
{
    const t_iniFile* root = m_document.ParsedRoot();
    if (!root)
        return true;
    bool all = true;
    for (int i = 0; i < root->LineCount(); ++i) {
        if (!root->IsNameLine(i))
            continue;
        const wchar_t* name = root->Line(i);
        all = ParseSkinSection(root->FindSection(name), name) && all;
    }
    return all;
}

void SkinConfigFile::Reset()
{
    skin_id.Reset();
    widget_cnt.Reset();
    display.Reset();
    schemeH1.Reset();
    schemeV1.Reset();
    schemeH2.Reset();
    schemeV2.Reset();
    statusBar.Reset();
    m_document.Clear();
}

bool SkinConfigFile::ParseSkinSection(const t_iniSection* section, const wchar_t* name)
{
    if (Named(name, c_display))
        return ParseDisplaySection(section);
    if (Named(name, c_schemeH1))
        return ParseCombinedScheme(section, schemeH1);
    if (Named(name, c_schemeV1))
        return ParseCombinedScheme(section, schemeV1);
    if (Named(name, c_schemeH2))
        return ParseSeparateScheme(section, schemeH2);
    if (Named(name, c_schemeV2))
        return ParseSeparateScheme(section, schemeV2);
    if (Named(name, c_statusBar))
        return ParseStatusBarSection(section);
    if (Named(name, c_general))
        return ParseGeneralSection(section);
    return false;
}

bool SkinConfigFile::ParseGeneralSection(const t_iniSection* section)
{
    const bool idLoaded = skin_id.Load(section, L"skin_id", nullptr);
    const bool countLoaded = widget_cnt.Load(section, L"widget_cnt", nullptr);
    return idLoaded && countLoaded;
}

bool SkinConfigFile::ParseDisplaySection(const t_iniSection* section) { return display.Load(section, nullptr); }

bool SkinConfigFile::ParseCombinedScheme(const t_iniSection* section, SkinSchemeCombined& scheme)
{
    return scheme.Load(section, nullptr);
}

bool SkinConfigFile::ParseSeparateScheme(const t_iniSection* section, SkinSchemeSeparate& scheme)
{
    return scheme.Load(section, nullptr);
}

bool SkinConfigFile::ParseStatusBarSection(const t_iniSection* section) { return statusBar.Load(section, nullptr); }

void SkinConfigFile::Walk(i_skinValueVisitor& visitor) const
{
    WalkSkinValue(visitor, c_general, L"skin_id", nullptr, skin_id);
    WalkSkinValue(visitor, c_general, L"widget_cnt", nullptr, widget_cnt);
    display.Walk(visitor, c_display, nullptr);
    schemeH1.Walk(visitor, c_schemeH1, nullptr);
    schemeV1.Walk(visitor, c_schemeV1, nullptr);
    schemeH2.Walk(visitor, c_schemeH2, nullptr);
    schemeV2.Walk(visitor, c_schemeV2, nullptr);
    statusBar.Walk(visitor, c_statusBar, nullptr);
}
