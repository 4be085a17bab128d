// The user's font and colour settings merged into a parsed skin before it is loaded, and
// the zoom that scales an isotropic skin to the user's font size.
#include "ime_ui/skin/ui_skin_data.h"

#include <cmath>

#include "toolkit/controls/ui_settings.h"

namespace {

const uint32_t c_noUserColor = 0xFFFFFFFFu;
const int c_plainBackgroundDefault = 0xFFFFFF;

void SetColor(SkinColor& value, int32_t color) { value.Set(static_cast<uint32_t>(color), true); }

}  // namespace

void t_uiSkinData::ApplyZoom(SkinConfigFile& parsed, const t_uiSettings* settings)
{
    SkinDisplay& display = parsed.display;
    m_defaultSkin = display.default_skin.Value();
    if (!settings)
        return;
    const bool skinOn = settings->skinEnabled;
    m_zoomOn = false;
    m_zoomFactor = 0.0;

    if (!skinOn || settings->ignoreSkinFontSetting) {
        // A skin without a usable font size of its own (0 included) is never zoomed.
        if (settings->isotropicSkin && skinOn && display.font_size.IsPresent() && display.font_size.Value() != 0) {
            double factor = std::fabs(static_cast<double>(settings->fontSize) / display.font_size.Value());
            if (factor < c_minZoom)
                factor = c_minZoom;
            if (factor > c_maxZoom)
                factor = c_maxZoom;
            if (factor > 0.999 && factor < 1.001) {
                m_zoomFactor = 1.0;
            } else {
                m_zoomOn = true;
                m_zoomFactor = factor;
            }
        }
        display.font_size.Set(settings->fontSize, true);
        display.font_ch.Set(settings->fontCh, true);
        display.font_en.Set(settings->fontEn, true);
        display.clear_edge.Set(settings->clearFontEdge, true);
    }

    if (settings->ignoreSkinColorSettingReal) {
        if (static_cast<uint32_t>(settings->colorPinyin) != c_noUserColor) {
            SetColor(display.pinyin_color, settings->colorPinyin);
            SetColor(display.result_color, settings->colorPinyin);
        }
        if (static_cast<uint32_t>(settings->colorNonPrimary) != c_noUserColor) {
            SetColor(display.bihua_color, settings->colorNonPrimary);
            SetColor(display.comphint_color, settings->colorNonPrimary);
            SetColor(display.zhongwen_color, settings->colorNonPrimary);
        }
        if (static_cast<uint32_t>(settings->colorPrimary) != c_noUserColor) {
            SetColor(display.zhongwen_first_color, settings->colorPrimary);
            SetColor(display.caret_color, settings->colorPrimary);
        }
        for (SkinSchemeCombined* scheme : {&parsed.schemeH1, &parsed.schemeV1}) {
            SkinSeperator& separator = scheme->seperatorUi.separator;
            if (scheme->seperatorUi.Mode() != t_seperatorMode::e_line || !separator.IsPresent())
                continue;
            _t_SkinSeperator value = separator.Value();
            value.colour = static_cast<uint32_t>(settings->colorBorder);
            separator.Set(value, true);
        }
    }

    m_plainBackground =
        !skinOn && settings->ignoreSkinColorSettingReal && settings->colorBackground != c_plainBackgroundDefault;

    if (!skinOn && m_defaultSkin) {
        for (SkinSchemeWindow* window :
             {&parsed.schemeH1.window, &parsed.schemeV1.window, &parsed.schemeH2.composition,
              &parsed.schemeH2.candidate, &parsed.schemeV2.composition, &parsed.schemeV2.candidate}) {
            window->pic.Reset();
            window->pic_mask.Reset();
        }
        m_statusButtonColor = settings->statusBtnColor;
    }
}
