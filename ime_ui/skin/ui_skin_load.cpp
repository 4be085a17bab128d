// The road from a skin pack file to a loaded runtime skin: the pack at the skin path, a
// pack rebuilt there from the user's active skin, then the installation's default skin.
#include "ime_ui/skin/ui_skin_data.h"

#include "foundation/files/path.h"
#include "foundation/config/runtime.h"
#include "graphics/text/font_manager.h"
#include "graphics/text/freetype.h"
#include "skin_model/extract/env_skin.h"
#include "toolkit/controls/ui_settings.h"

namespace {

void ClearGlyphCache()
{
    if (!t_freetype::Exists())
        return;
    if (t_freetype_fontmanager* manager = t_freetype::Instance()->FontManager())
        manager->ClearGlyphCache();
}

}  // namespace

bool t_uiSkinData::Load(t_errorChain& errors, int userId)
{
    ClearGlyphCache();
    m_archive.Clear();
    // The area mask and the tables belong to the skin loaded last: only LoadConfig
    // replaces them, so a failed load leaves that skin whole.

    bool loaded = false;
    bool keptPrevious = false;
    if (m_settings && m_settings->skinEnabled) {
        m_userSkinInUse = true;
        loaded = ParseSkinIni(errors, m_skinPath);
        // A preview copy is the editor's own file: it is neither deleted nor replaced by
        // the active skin, and a broken one keeps the skin already shown.
        if (!loaded && !m_previewCopy && UnzipSkin(m_skinPath, errors, userId))
            loaded = ParseSkinIni(errors, m_skinPath);
        if (!loaded) {
            if (m_previewCopy && m_loaded) {
                keptPrevious = true;
            } else if (LoadDefaultSkin(errors)) {
                // The broken preview copy stays reported; a rebuilt user skin needs no word.
                if (!m_previewCopy)
                    errors.Reset();
                loaded = true;
            }
        }
    } else {
        loaded = LoadDefaultSkin(errors);
    }

    m_archive.Clear();
    m_config.Reset();
    if (loaded)
        return true;
    if (!keptPrevious)
        m_loaded = false;
    errors.NewLine().AppendText(L"UiResource: 加载失败");
    return false;
}

bool t_uiSkinData::ParseSkinIni(t_errorChain& errors, const wchar_t* path)
{
    return ParseSkinPack(errors, path, !m_previewCopy);
}

bool t_uiSkinData::ParseSkinPack(t_errorChain& errors, const wchar_t* path, bool dropBroken)
{
    m_widgetCount = 0;
    ClearGlyphCache();
    t_errorChain importErrors;
    t_varFile* entry = nullptr;
    uint32_t size = 0;
    const unsigned char* data = nullptr;
    if (m_archive.Import(importErrors, path) && m_archive.Find(L"skin.ini", &entry) && entry)
        data = entry->GetData(&size);
    if (data && size > 0) {
        m_config.Reset();
        m_config.ParseDefault(data, size);
        m_defaultSkin = m_config.display.default_skin.Value();
        m_statusButtonColor = 0xFFFFFFFFu;
        ApplyZoom(m_config, m_settings);
        LoadConfig(m_config);
        m_loaded = true;
        return true;
    }
    if (dropBroken) {
        t_path(path).DeleteQuiet(false);
        m_loaded = false;
    }
    errors.NewLine().AppendText(L"加载皮肤失败:").AppendText(path);
    return false;
}

bool t_uiSkinData::UnzipSkin(const wchar_t* path, t_errorChain& errors, int userId)
{
    t_envSkin* envSkin = t_envSkin::Instance();
    const wchar_t* active = m_settings && m_settings->activeSkinName[0] ? m_settings->activeSkinName : nullptr;
    const bool checkFlash = !(m_settings && m_settings->flashDebugMode);
    if (envSkin && envSkin->Extract2(errors, userId, checkFlash, active, path, nullptr)) {
        t_envSkin::BumpSkinVersionCounter();
        return true;
    }
    errors.NewLine().AppendText(L"解压皮肤失败:").AppendText(active ? active : L"");
    return false;
}

bool t_uiSkinData::LoadDefaultSkin(t_errorChain& errors)
{
    m_userSkinInUse = false;
    t_runtime* runtime = t_runtime::Instance();
    if (runtime) {
        t_path path(runtime->GetInstallDir());
        path.AppendPart(c_defaultSkinFile);
        // The installation's own skin is never deleted, whatever its state.
        if (path.IsFile() && ParseSkinPack(errors, path.c_str(), false))
            return true;
    }
    errors.Fail(L"加载默认皮肤失败");
    return false;
}
