// The fonts of the runtime skin and the text styles drawn with them.
#include "ime_ui/skin/ui_skin_data.h"

#include <cstring>
#include <cwchar>

#include "toolkit/controls/ui_settings.h"

namespace {

const wchar_t* const c_songTi = L"宋体";

enum t_fontId {
    e_f1Regular,    // Chinese face at H
    e_f2ThreeQ,     // Chinese face at three quarters
    e_f3TwoThirds,  // Chinese face at two thirds
    e_f4Link,       // underlined Arial at -12
    e_f5Bold,       // bold Latin face at H
    e_f6MingLiU,    // MingLiU at H
    e_f7Pinyin,     // Tahoma at the fitted pinyin size
    e_fontCount
};

// Copies a face name into the 32-unit field, cutting what doesn't fit.
void SetFace(LOGFONTW& logFont, const wchar_t* face)
{
    wcsncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    logFont.lfFaceName[LF_FACESIZE - 1] = 0;
}

LOGFONTW BaseFont(const wchar_t* face, int height)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = 6;
    SetFace(logFont, face);
    return logFont;
}

// Faces whose bitmap strikes GDI draws better than any smoothing.
bool DrawnByGdiOnly(const wchar_t* face, int height)
{
    if (_wcsicmp(face, L"DFKai-SB") == 0)
        return true;
    if (height < -18)
        return false;
    return _wcsicmp(face, L"simsun") == 0 || _wcsicmp(face, L"nsimsun") == 0 || wcscmp(face, c_songTi) == 0 ||
           wcscmp(face, L"新宋体") == 0;
}

// A face from the skin: its text when given and shorter than a path, else the fallback.
const wchar_t* FaceOf(const SkinStr& value, const wchar_t* fallback)
{
    if (!value.IsPresent() || !value.Value())
        return fallback;
    return wcslen(value.Value()) >= MAX_PATH ? c_songTi : value.Value();
}

// Height of a one-line text in a GDI font on dc; 0 when it can't be measured.
int TextHeight(HDC dc, HFONT font, const wchar_t* text)
{
    if (!font)
        return 0;
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    const BOOL ok = GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    return ok ? size.cy : 0;
}

// The largest Tahoma size, from height toward zero, whose "(zhǒng)" is no taller than
// "国" in the main font; fallback when measuring fails.
int FitPinyinHeight(const t_font* main, int height, int fallback)
{
    if (!main || !main->hfont)
        return fallback;
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!dc)
        return fallback;
    SetBkMode(dc, TRANSPARENT);
    int result = fallback;
    const int limit = TextHeight(dc, main->hfont, L"国");
    if (limit > 0) {
        for (int size = height; size < -8 || size > 8; size += size < 0 ? 1 : -1) {
            LOGFONTW logFont = BaseFont(L"Tahoma", size);
            HFONT probe = CreateFontIndirectW(&logFont);
            const int measured = TextHeight(dc, probe, L"(zh\x01D2ng)");
            if (probe)
                DeleteObject(probe);
            if (measured <= 0)
                break;
            if (measured <= limit) {
                result = size;
                break;
            }
        }
    }
    DeleteDC(dc);
    return result;
}

}  // namespace

t_font* t_uiSkinData::AcquireFont(const LOGFONTW& asked, bool smoothing)
{
    // CreateIndirect changes the quality field of what it is given: a copy.
    LOGFONTW logFont = asked;
    t_font record = {};
    const bool reused = m_reuse.TakeFont(asked, smoothing, record);
    if (!reused && !t_font::CreateIndirect(logFont, &record, smoothing))
        return nullptr;
    t_font* stored = static_cast<t_font*>(m_handles->Acquire(&record, logFont.lfFaceName, e_handleGdi, e_gdiFont));
    if (!stored) {
        if (!reused)
            t_font::Destroy(&record);
        return nullptr;
    }
    m_reuse.StoredFont(asked, smoothing, stored);
    return stored;
}

void t_uiSkinData::LoadFonts(const SkinDisplay& display)
{
    long long size = display.font_size.IsPresent() ? display.font_size.Value() : 16;
    if (size < 0)
        size = -size;
    // A size of 0 or one larger than any screen would make no usable font.
    if (size < 1)
        size = 1;
    if (size > c_maxFontPixels)
        size = c_maxFontPixels;
    const int height = -static_cast<int>(size);
    const wchar_t* chinese = FaceOf(display.font_ch, c_songTi);
    const wchar_t* latin = FaceOf(display.font_en, L"Arial");

    LOGFONTW fonts[e_fontCount] = {
        BaseFont(chinese, height),
        BaseFont(chinese, static_cast<int>(static_cast<float>(height) * 0.75f - 0.5f)),
        BaseFont(chinese, static_cast<int>(static_cast<float>(height) * 0.6666667f)),
        BaseFont(L"Arial", -12),
        BaseFont(latin, height),
        BaseFont(L"MingLiU", height),
        BaseFont(L"Tahoma", static_cast<int>(height * 0.8 - 0.5)),
    };
    fonts[e_f4Link].lfUnderline = TRUE;
    fonts[e_f5Bold].lfWeight = FW_BOLD;

    t_font* made[e_fontCount] = {};
    for (int i = 0; i < e_fontCount; ++i) {
        if (i == e_f7Pinyin) {
            // Measured once per main font: a reload of the same fonts takes the last answer.
            if (!m_pinyinFit.valid || memcmp(&m_pinyinFit.mainFont, &fonts[e_f1Regular], sizeof(LOGFONTW)) != 0 ||
                m_pinyinFit.fallback != fonts[i].lfHeight || !made[e_f1Regular]) {
                m_pinyinFit.mainFont = fonts[e_f1Regular];
                m_pinyinFit.fallback = fonts[i].lfHeight;
                m_pinyinFit.height = FitPinyinHeight(made[e_f1Regular], height, fonts[i].lfHeight);
                m_pinyinFit.valid = made[e_f1Regular] != nullptr;
            }
            fonts[i].lfHeight = m_pinyinFit.height;
        }
        if (i != e_f4Link) {
            const bool gdiOnly = DrawnByGdiOnly(fonts[i].lfFaceName, fonts[i].lfHeight);
            fonts[i].lfQuality = m_useGdip && !gdiOnly ? 5 : 0;
        }
        made[i] = AcquireFont(fonts[i], i == e_f7Pinyin ? false : m_useGdip);
    }

    // Colours missing from the file follow the one taken before them.
    const SkinColor* chain[] = {&display.pinyin_color, &display.result_color, &display.bihua_color,
                                &display.comphint_color, &display.zhongwen_color};
    uint32_t resolved[5];
    uint32_t previous = c_noColorKey;
    for (int i = 0; i < 5; ++i) {
        resolved[i] = chain[i]->IsPresent() ? chain[i]->Value() : previous;
        previous = resolved[i];
    }
    const uint32_t pinyin = resolved[0], result = resolved[1], bihua = resolved[2], compHint = resolved[3],
                   zhongwen = resolved[4];
    const uint32_t first = display.zhongwen_first_color.IsPresent() ? display.zhongwen_first_color.Value() : zhongwen;
    const uint32_t firstBack =
        display.zhongwen_first_bk_color.IsPresent() ? display.zhongwen_first_bk_color.Value() : c_noColorKey;

    auto style = [this](t_textStyleId id, uint32_t color, uint32_t color2, t_font* font) {
        *m_textStyles.Set(static_cast<int>(id)) = t_skinTextStyle{AcquireColor(color), AcquireColor(color2), 0, font};
    };
    style(t_textStyleId::e_result, result, c_noColorKey, made[e_f1Regular]);
    style(t_textStyleId::e_pinyin, pinyin, c_noColorKey, made[e_f5Bold]);
    style(t_textStyleId::e_compHint, compHint, c_noColorKey, made[e_f5Bold]);
    style(t_textStyleId::e_candSmall, zhongwen, c_noColorKey, made[e_f2ThreeQ]);
    style(t_textStyleId::e_bihua, bihua, c_noColorKey, made[e_f5Bold]);
    style(t_textStyleId::e_cand, zhongwen, c_noColorKey, made[e_f1Regular]);
    style(t_textStyleId::e_candFirst, first, firstBack, made[e_f1Regular]);
    style(t_textStyleId::e_candLink, zhongwen != c_noColorKey ? zhongwen : first, c_noColorKey, made[e_f4Link]);
    style(t_textStyleId::e_candTwoThirds, zhongwen, c_noColorKey, made[e_f3TwoThirds]);
    if (m_settings && m_settings->flashDebugMode)
        *m_textStyles.Set(static_cast<int>(t_textStyleId::e_candDebug)) =
            *m_textStyles.Get(static_cast<int>(t_textStyleId::e_candTwoThirds));
    style(t_textStyleId::e_candPinyin, zhongwen, c_noColorKey, made[e_f7Pinyin]);
    const t_skinTextStyle* cand = m_textStyles.Get(static_cast<int>(t_textStyleId::e_cand));
    const t_skinTextStyle* candFirst = m_textStyles.Get(static_cast<int>(t_textStyleId::e_candFirst));
    if (cand && candFirst && cand->color) {
        const uint32_t mixed = (*cand->color & 0xFFFFFF) | 0x80000000u;
        *m_textStyles.Set(static_cast<int>(t_textStyleId::e_candFirstOnCand)) =
            t_skinTextStyle{candFirst->color, AcquireColor(mixed), 0, candFirst->font};
    }
    style(t_textStyleId::e_candMingLiU, zhongwen, c_noColorKey, made[e_f6MingLiU]);
}
