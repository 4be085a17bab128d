#include "editor/preview/preview.h"

#include <cwchar>

#include "editor/framework/dialog.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/preview_full_screen.h"
#include "editor/preview/preview_mobile.h"
#include "editor/preview/preview_pc.h"
#include "foundation/core/error_chain.h"
#include "foundation/core/heap.h"
#include "foundation/env/env.h"
#include "foundation/users/user_manager.h"
#include "graphics/paint/png_export.h"
#include "ime_ui/skin/skin_config_file.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/separate_info.h"
#include "skin_model/status_info.h"
#include "toolkit/controls/ui_settings.h"

const COLORREF Preview::c_backgroundColours[c_backgroundColourCount] = {0xFFFFFF, 0x0000FF, 0x8080FF, 0x00FFFF,
                                                                        0x00FF00, 0xFF0000, 0x808080, 0x000000};
const wchar_t Preview::c_sampleSentence[] = L"我爱栖鹭拼音输入法";

namespace {
const unsigned c_textBlock = 0x1FFF8;
const int c_horizontalStep = 5;
const int c_verticalStep = 10;
const int c_contentMarginX = 20;
const int c_contentMarginY = 10;
const int c_measureExtent = 1000;
const int c_fullOpacityPercent = 100;
const int c_opaqueAlpha = 255;
const int c_keyChars = 260;
// The status-bar buttons the preview copies, in the order they are copied.
const wchar_t* const c_statusButtons[] = {L"cn_en",        L"biaodian",    L"quan_ban", L"fan_jian", L"quan_shuang",
                                          L"softkeyboard", L"vexilsearch", L"passport", L"menu"};

HWND s_current = nullptr;

// A value of a non-text kind from its Skin.ini text, present when the text parses. The
// text is cut in place, so it goes through a local copy.
template <class Value>
void ParseValue(Value& value, const wchar_t* text)
{
    wchar_t buffer[c_keyChars];
    wcsncpy(buffer, text, c_keyChars - 1);
    buffer[c_keyChars - 1] = 0;
    const bool parsed = value.Parse(buffer);
    value.Set(value.Value(), parsed);
}

void ParseList(SkinSplit& value, const int (&numbers)[3])
{
    wchar_t text[64];
    _snwprintf(text, 64, L"%d,%d,%d", numbers[0], numbers[1], numbers[2]);
    text[63] = 0;
    ParseValue(value, text);
}

void ParseList(SkinAlign& value, const int (&numbers)[4])
{
    wchar_t text[64];
    _snwprintf(text, 64, L"%d,%d,%d,%d", numbers[0], numbers[1], numbers[2], numbers[3]);
    text[63] = 0;
    ParseValue(value, text);
}

// Transparency of a layout into a window's common keys; opacity is a percent in the model.
void CopyTransparency(const LayoutInfo& layout, SkinWindowCommon& common)
{
    if (!layout.transparentEnabled) {
        common.transparent_color_enable.Reset();
        common.transparent_color.Reset();
        common.opaque.Reset();
        return;
    }
    common.transparent_color_enable.Set(true, true);
    common.transparent_color.Set(static_cast<unsigned>(layout.transparentColor), true);
    const int alpha = layout.opacity < c_fullOpacityPercent ? static_cast<int>(layout.opacity * 2.55) : c_opaqueAlpha;
    common.opaque.Set(alpha, true);
}

void CopyAnchor(const LayoutInfo& layout, SkinMarges& marges)
{
    marges.anchor.Set(POINT{layout.anchor[0], layout.anchor[1]}, true);
}

int IntCell(const BtnInfo::t_cells& cells, size_t position, int fallback)
{
    if (position >= cells.size() || !cells[position] || cells[position]->Kind() != t_cellKind::e_int)
        return fallback;
    return static_cast<const InfoItemInt*>(cells[position])->GetValue();
}

// The picture texts of a state, one per variant, joined as Skin.ini lists them.
void JoinTextCells(const BtnInfo::t_cells& cells, t_str& out)
{
    out.Clear();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!cells[i] || cells[i]->Kind() != t_cellKind::e_text)
            continue;
        if (i > 0)
            out.Append(L",");
        out.Append(static_cast<const InfoItemString*>(cells[i])->Text().c_str());
    }
}

void ScaledToDevice(HDC dc, int& x, int& y)
{
    x = MulDiv(x, GetDeviceCaps(dc, LOGPIXELSX), USER_DEFAULT_SCREEN_DPI);
    y = MulDiv(y, GetDeviceCaps(dc, LOGPIXELSY), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace

Preview::Preview()
    : m_settings(new t_uiSettings()), m_config(new SkinConfigFile), m_texts(new t_heap(c_textBlock)),
      m_page(PreviewConfigable::e_pageH1), m_contentWidth(0), m_contentHeight(0), m_scrollX(0), m_scrollY(0),
      m_sampleFont(nullptr), m_sampleWidth(0), m_sampleHeight(0), m_pictureRect{0, 0, 0, 0}, m_selected(e_desktop),
      m_viewMode(e_viewNormal), m_background(c_defaultBackground)
{
    t_env defaults;
    BuildUiSettings(defaults, *m_settings);
    m_settings->ignoreSkinColorSetting = true;
    // The environment's default is the input method's plain look; the preview always
    // shows the skin being edited.
    m_settings->skinEnabled = true;
    m_previews[e_desktop].reset(new PreviewPC(PreviewPC::e_normal));
    m_previews[e_desktopLargeFont].reset(new PreviewPC(PreviewPC::e_largeFont));
    m_previews[e_phone].reset(new PreviewMobile(PreviewMobile::e_small));
    m_previews[e_phoneLarge].reset(new PreviewMobile(PreviewMobile::e_large));
}

Preview::~Preview()
{
    if (m_hwnd && s_current == m_hwnd)
        s_current = nullptr;
    FreeBackBuffer();
    // The full-screen window finds its object through its user data: it goes first.
    if (m_fullScreen && IsWindow(m_fullScreen->GetHwnd()))
        DestroyWindow(m_fullScreen->GetHwnd());
    m_fullScreen.reset();
    if (m_sampleFont)
        DeleteObject(m_sampleFont);
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview.reset();
    m_texts.reset();
    m_config.reset();
}

HWND Preview::Current() { return s_current; }

HWND Preview::FullScreenWindow() const { return m_fullScreen ? m_fullScreen->GetHwnd() : nullptr; }

PreviewConfigable* Preview::GetPreview(int index) const
{
    return index >= 0 && index < c_previewCount ? m_previews[index].get() : nullptr;
}

LRESULT Preview::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_DESTROY:
        KillTimer(window, c_tickTimer);
        KillTimer(window, c_colourTimer);
        KillTimer(window, c_buttonTimer);
        if (s_current == window)
            s_current = nullptr;
        break;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_TIMER:
        switch (wParam) {
        case c_tickTimer:
            TickPreview();
            return 1;
        case c_colourTimer:
            NextBackgroundColour();
            return 1;
        case c_buttonTimer:
            TickButtonAnimation();
            return 1;
        default:
            break;
        }
        break;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wParam));
        break;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wParam));
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(static_cast<short>(HIWORD(wParam)));
        break;
    case n_editorMessage::c_selectPage:
        SelectPage(LOWORD(wParam));
        break;
    case n_editorMessage::c_skinChanged: {
        // Errors are not shown: the preview keeps what it showed.
        t_errorChain errors;
        OnModelChanged(errors, LOWORD(wParam), HIWORD(wParam) == 1);
        break;
    }
    case n_editorMessage::c_selectPreview:
        SelectPreview(static_cast<int>(wParam));
        break;
    case n_editorMessage::c_viewMode:
        SetViewMode(static_cast<int>(wParam));
        break;
    case n_editorMessage::c_buttonAnimation:
        SetButtonAnimation(wParam != 0, static_cast<int>(lParam));
        break;
    default:
        break;
    }
    return Frame::WndProc(window, message, wParam, lParam);
}

void Preview::OnCreate(HWND window)
{
    // The handle is stored only once CreateWindowExW returns; everything below needs it.
    m_hwnd = window;
    m_settings->ignoreSkinFontSetting = true;

    m_sampleFont = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, CLEARTYPE_NATURAL_QUALITY, DEFAULT_PITCH, L"Simsun");
    if (const HDC dc = GetDC(window)) {
        const HGDIOBJ old = m_sampleFont ? SelectObject(dc, m_sampleFont) : nullptr;
        RECT rect = {0, 0, c_measureExtent, c_measureExtent};
        DrawTextW(dc, c_sampleSentence, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
        m_sampleWidth = rect.right - rect.left;
        m_sampleHeight = rect.bottom - rect.top;
        if (old)
            SelectObject(dc, old);
        ReleaseDC(window, dc);
    }

    // The previews are set up before anything loads into them: a skin may be open already.
    const int userId = UserManager::Instance() ? UserManager::Instance()->GetCurrentUserIndex() : -1;
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->Init(userId, *m_settings);
    ApplyCandidateCount();
    t_errorChain errors;
    if (ReloadAll(errors))
        SelectPage(m_page);

    m_fullScreen.reset(new PreviewFullScreen);
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (!m_fullScreen->Create(L"IMEKavrel_FullScreen", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, 0,
                              GetParent(window), module))
        m_fullScreen.reset();

    SetTimer(window, c_tickTimer, c_tickMs, nullptr);
    s_current = window;
}

void Preview::ApplyCandidateCount()
{
    const int count = IMESkin::Instance()->Display().previewCandCount;
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetCandidateCount(count);
}

void Preview::ReloadPreviews()
{
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews) {
        preview->SetSettings(*m_settings);
        preview->Reload();
    }
}

bool Preview::ReloadAll(t_errorChain& errors)
{
    wchar_t ini[MAX_PATH];
    if (IMESkin::Instance()->ResolvePath(ini, L"skin.ini"))
        m_config->ParseConfig(ini);
    else
        m_config->Reset();
    // Every value that held a copied text was just read again or reset: the texts can go.
    // Nothing else empties the arena, since a part's copy must never take the texts that
    // another part's values still point at.
    m_texts->Reset();
    for (int part = static_cast<int>(t_partIndex::e_display); part <= static_cast<int>(t_partIndex::e_statusBar);
         ++part)
        CopyPart(part);
    if (!SaveAndExtract(errors))
        return false;
    ReloadPreviews();
    return true;
}

bool Preview::SaveAndExtract(t_errorChain& errors)
{
    // The document commits Skin.ini, keeps skinbak.ini and packs the folder with Skin.ini
    // prepared for packing in memory, so the work folder's Skin.ini is never left in its
    // packed form when a step fails.
    return IMESkin::Instance()->RefreshWorkCopy(errors);
}

wchar_t* Preview::ArenaText(const wchar_t* text) { return m_texts->StrDup(text ? text : L""); }

void Preview::CopyPicture(SkinImage& value, const wchar_t* file)
{
    wchar_t* stored = ArenaText(file);
    if (!stored || !value.Parse(stored))
        value.Reset();
}

void Preview::CopyPart(int part)
{
    switch (static_cast<t_partIndex>(part)) {
    case t_partIndex::e_display:
        CopyDisplay();
        break;
    case t_partIndex::e_horizontalCombined:
    case t_partIndex::e_verticalCombined:
        CopyCombined(part);
        break;
    case t_partIndex::e_horizontalSeparate:
    case t_partIndex::e_verticalSeparate:
        CopySeparate(part);
        break;
    case t_partIndex::e_statusBar:
        CopyStatusBar();
        break;
    default:
        break;
    }
}

void Preview::CopyDisplay()
{
    const DisplayInfo& display = IMESkin::Instance()->Display();
    SkinDisplay& out = m_config->display;
    out.font_size.Set(display.fontSize, true);
    out.font_ch.Set(ArenaText(display.fontCh), true);
    out.font_en.Set(ArenaText(display.fontEn), true);
    out.pinyin_color.Set(static_cast<unsigned>(display.pinyinColor), true);
    out.zhongwen_first_color.Set(static_cast<unsigned>(display.zhongwenFirstColor), true);
    out.zhongwen_color.Set(static_cast<unsigned>(display.zhongwenColor), true);
    out.comphint_color.Set(static_cast<unsigned>(display.comphintColor), true);
    out.use_gdip.Set(display.useGdip, true);
    // The input method shows results and strokes in the pinyin colour.
    out.result_color.Set(static_cast<unsigned>(display.pinyinColor), true);
    out.bihua_color.Set(static_cast<unsigned>(display.pinyinColor), true);

    wcsncpy(m_settings->fontCh, display.fontCh, t_uiSettings::c_textChars - 1);
    m_settings->fontCh[t_uiSettings::c_textChars - 1] = 0;
    wcsncpy(m_settings->fontEn, display.fontEn, t_uiSettings::c_textChars - 1);
    m_settings->fontEn[t_uiSettings::c_textChars - 1] = 0;
    m_settings->fontSize = display.previewFontSize;
    // The compatibility mode scales the whole skin instead of stretching its nine pieces.
    m_settings->isotropicSkin = display.largeFontDisabled;
    ApplyCandidateCount();
}

void Preview::CopyCombined(int part)
{
    const CombineInfo& layout =
        static_cast<const CombineInfo&>(IMESkin::Instance()->Layout(static_cast<t_partIndex>(part)));
    SkinSchemeCombined& scheme =
        part == static_cast<int>(t_partIndex::e_horizontalCombined) ? m_config->schemeH1 : m_config->schemeV1;
    if (layout.hasPic)
        CopyPicture(scheme.window.pic, layout.pic);
    else
        scheme.window.pic.Reset();
    ParseList(scheme.window.layout_horizontal, layout.layoutHorizontal);
    ParseList(scheme.window.layout_vertical, layout.layoutVertical);
    if (layout.separatorEnabled) {
        scheme.seperatorUi.SetMode(t_seperatorMode::e_line);
        wchar_t text[64];
        _snwprintf(text, 64, L"0x%x,%d,%d", static_cast<unsigned>(layout.separator[0]), layout.separator[1],
                   layout.separator[2]);
        text[63] = 0;
        ParseValue(scheme.seperatorUi.separator, text);
    } else {
        scheme.seperatorUi.Reset();
    }
    ParseList(scheme.marges.pinyin_marge, layout.pinyinMarge);
    ParseList(scheme.marges.zhongwen_marge, layout.zhongwenMarge);
    CopyTransparency(layout, scheme.common);
    CopyAnchor(layout, scheme.marges);
}

void Preview::CopySeparate(int part)
{
    const SeparateInfo& layout =
        static_cast<const SeparateInfo&>(IMESkin::Instance()->Layout(static_cast<t_partIndex>(part)));
    SkinSchemeSeparate& scheme =
        part == static_cast<int>(t_partIndex::e_horizontalSeparate) ? m_config->schemeH2 : m_config->schemeV2;
    if (layout.pinyinHasPic)
        CopyPicture(scheme.composition.pic, layout.pinyinPic);
    else
        scheme.composition.pic.Reset();
    ParseList(scheme.composition.layout_horizontal, layout.pinyinLayoutHorizontal);
    ParseList(scheme.composition.layout_vertical, layout.pinyinLayoutVertical);
    ParseList(scheme.marges.pinyin_marge, layout.pinyinMarge);
    CopyAnchor(layout, scheme.marges);
    if (layout.zhongwenHasPic)
        CopyPicture(scheme.candidate.pic, layout.zhongwenPic);
    else
        scheme.candidate.pic.Reset();
    ParseList(scheme.candidate.layout_horizontal, layout.zhongwenLayoutHorizontal);
    ParseList(scheme.candidate.layout_vertical, layout.zhongwenLayoutVertical);
    ParseList(scheme.marges.zhongwen_marge, layout.zhongwenMarge);
    CopyTransparency(layout, scheme.common);
}

void Preview::CopyStatusBar()
{
    IMESkin* skin = IMESkin::Instance();
    const StatusInfo& status = skin->StatusBar();
    SkinStatusBarPart& out = m_config->statusBar;
    t_str text;
    if (status.GetString(L"pic", 0, text) && text.Length() > 0)
        CopyPicture(out.pic, text.c_str());
    else
        out.pic.Reset();
    int value = 0;
    if (status.GetInt(L"transparent_color_enable", 0, value))
        out.common.transparent_color_enable.Set(value != 0, true);
    if (status.GetInt(L"transparent_color", 0, value))
        out.common.transparent_color.Set(static_cast<unsigned>(value), true);
    if (status.GetInt(L"opaque", 0, value))
        out.common.opaque.Set(value, true);

    const BtnInfo& buttons = skin->ButtonSet(c_windowStatusBar);
    for (const wchar_t* key : c_statusButtons) {
        int fixed = -1;
        for (int i = 0; i < c_skinFixedButtonCount; ++i) {
            if (wcscmp(SkinButtonName(i), key) == 0)
                fixed = i;
        }
        const t_btnDesc desc = ParseButtonKey(key);
        const int row = buttons.RowOf(desc.index, desc.type);
        if (fixed < 0 || row < 0)
            continue;
        SkinBtn& button = out.buttons.buttons[fixed];
        const BtnInfo::t_row& cells = buttons.Row(row);
        const bool shown = IntCell(cells[c_propDisplay], 0, 0) != 0;
        button.display.Set(shown, true);
        if (!shown)
            continue;
        const BtnInfo::t_cells& pos = cells[c_propPos];
        button.pos.Set(POINT{IntCell(pos, 0, 0), IntCell(pos, 1, 0)}, true);
        button.align.Reset();
        // The seven states in the order of the model's properties, normal first.
        SkinBtnUi* const states[] = {&button.normal, &button.down,    &button.hover, &button.in,
                                     &button.out,    &button.downing, &button.up};
        for (int i = 0; i < c_propUp - c_propNormal + 1; ++i) {
            JoinTextCells(cells[c_propNormal + i], text);
            if (text.Length() == 0) {
                states[i]->Reset();
                continue;
            }
            wchar_t* stored = ArenaText(text.c_str());
            const bool parsed = stored && states[i]->Parse(stored);
            states[i]->Set(states[i]->Value(), parsed);
        }
    }
}

bool Preview::OnModelChanged(t_errorChain& errors, int part, bool)
{
    if (part == n_editorMessage::c_reloadAll || part == n_editorMessage::c_reloadAllUnmodified) {
        if (!ReloadAll(errors))
            return false;
        SelectPage(m_page);
        return true;
    }
    CopyPart(part);
    if (!SaveAndExtract(errors))
        return false;
    ReloadPreviews();
    Relayout(true);
    if (part <= static_cast<int>(t_partIndex::e_statusBar)) {
        ResendSize();
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    }
    return true;
}

void Preview::Relayout(bool erase)
{
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetHostWindow(m_hwnd);
    UpdateContentSize();
    ResendSize();
    InvalidateRect(m_hwnd, nullptr, erase);
}

void Preview::SelectPage(int page)
{
    StopButtonAnimation();
    if (page == static_cast<int>(t_partIndex::e_display))
        ApplyCandidateCount();
    if (page <= static_cast<int>(t_partIndex::e_display))
        return;
    const bool perPixelAlpha = m_config->display.use_gdip.Value();
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetPerPixelAlpha(perPixelAlpha);
    if (page != c_statusBarPage)
        m_page = page;
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetScheme(m_page);
    switch (m_page) {
    case PreviewConfigable::e_pageH1:
        m_settings->compStyle = 0;
        m_settings->candStyle = 0;
        break;
    case PreviewConfigable::e_pageH2:
        m_settings->compStyle = 1;
        m_settings->candStyle = 0;
        break;
    case PreviewConfigable::e_pageV1:
        m_settings->compStyle = 0;
        m_settings->candStyle = 1;
        break;
    case PreviewConfigable::e_pageV2:
        m_settings->compStyle = 1;
        m_settings->candStyle = 1;
        break;
    default:
        break;
    }
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetSettings(*m_settings);
    Relayout(true);
}

void Preview::SelectPreview(int index)
{
    if (index < 0 || index >= c_previewCount)
        return;
    m_selected = index;
    UpdateContentSize();
    ResendSize();
    if (m_selected == e_phoneLarge)
        ScrollToEnd();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Preview::SetViewMode(int mode)
{
    const int previous = m_viewMode;
    m_viewMode = mode;
    if (mode == e_viewLongSample || mode != e_viewFullScreen) {
        for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
            preview->SetLongSample(mode == e_viewLongSample);
    }
    if (mode == e_viewColourCycle) {
        SetTimer(m_hwnd, c_colourTimer, c_colourMs, nullptr);
    } else if (mode != e_viewFullScreen) {
        KillTimer(m_hwnd, c_colourTimer);
        m_background = c_defaultBackground;
    }
    if (m_fullScreen) {
        if (mode == e_viewFullScreen) {
            m_fullScreen->SetPreview(m_previews[m_selected].get());
            m_fullScreen->Show(previous);
        } else if (IsWindowVisible(m_fullScreen->GetHwnd())) {
            // Left by another road than its own close: it goes all the same.
            ShowWindow(m_fullScreen->GetHwnd(), SW_HIDE);
        }
    }
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->SetHostWindow(m_hwnd);
    UpdateContentSize();
    ResendSize();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Preview::StopButtonAnimation()
{
    if (m_hwnd)
        KillTimer(m_hwnd, c_buttonTimer);
    m_previews[e_desktop]->StopAnimation();
    m_previews[e_desktopLargeFont]->StopAnimation();
}

void Preview::SetButtonAnimation(bool on, int buttonId)
{
    StopButtonAnimation();
    if (!on)
        return;
    m_previews[e_desktop]->StartAnimation(buttonId);
    m_previews[e_desktopLargeFont]->StartAnimation(buttonId);
    SetTimer(m_hwnd, c_buttonTimer, c_buttonMs, nullptr);
}

void Preview::InvalidateViews()
{
    InvalidateRect(m_hwnd, nullptr, FALSE);
    if (m_viewMode == e_viewFullScreen && FullScreenWindow())
        InvalidateRect(FullScreenWindow(), nullptr, FALSE);
}

bool Preview::TickPreview()
{
    if (!m_previews[m_selected]->Tick())
        return false;
    InvalidateViews();
    return true;
}

bool Preview::TickButtonAnimation()
{
    if (!m_previews[m_selected]->AnimationTick())
        return false;
    InvalidateViews();
    return true;
}

void Preview::NextBackgroundColour()
{
    for (int i = 0; i < c_backgroundColourCount; ++i) {
        if (c_backgroundColours[i] == m_background) {
            m_background = c_backgroundColours[(i + 1) % c_backgroundColourCount];
            break;
        }
    }
    if (m_viewMode == e_viewFullScreen && m_fullScreen)
        m_fullScreen->SetBackground(m_background);
    InvalidateViews();
}

void Preview::UpdateContentSize()
{
    for (std::unique_ptr<PreviewConfigable>& preview : m_previews)
        preview->UpdateLayout();
    int width = 0, height = 0;
    m_previews[m_selected]->GetSize(width, height);
    m_contentWidth = m_sampleWidth + width + c_contentMarginX;
    m_contentHeight = m_sampleHeight + height + c_contentMarginY;
}

void Preview::ResendSize()
{
    RECT client;
    if (m_hwnd && GetClientRect(m_hwnd, &client))
        OnSize(client.right, client.bottom);
}

void Preview::OnSize(int width, int height)
{
    m_scrollX = 0;
    m_scrollY = 0;
    const LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    LONG wanted = style;
    const struct {
        int bar;
        LONG flag;
        int content;
        int page;
    } bars[] = {{SB_VERT, WS_VSCROLL, m_contentHeight, height}, {SB_HORZ, WS_HSCROLL, m_contentWidth, width}};
    for (const auto& bar : bars) {
        if (bar.page < bar.content) {
            wanted |= bar.flag;
            SCROLLINFO info = {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = bar.content;
            info.nPage = static_cast<UINT>(bar.page);
            info.nPos = 0;
            SetScrollInfo(m_hwnd, bar.bar, &info, TRUE);
        } else {
            wanted &= ~bar.flag;
        }
    }
    if (wanted != style) {
        SetWindowLongW(m_hwnd, GWL_STYLE, wanted);
        if (!(wanted & WS_VSCROLL))
            ShowScrollBar(m_hwnd, SB_VERT, FALSE);
        if (!(wanted & WS_HSCROLL))
            ShowScrollBar(m_hwnd, SB_HORZ, FALSE);
    }
    if (m_selected == e_phoneLarge)
        ScrollToEnd();
    if (wanted != style)
        SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void Preview::OnScroll(int bar, int request)
{
    const int moved = MoveScrollBar(m_hwnd, bar, request, bar == SB_VERT ? c_verticalStep : c_horizontalStep);
    if (moved == 0)
        return;
    (bar == SB_VERT ? m_scrollY : m_scrollX) += moved;
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void Preview::OnMouseWheel(int delta)
{
    if (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VSCROLL)
        OnScroll(SB_VERT, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void Preview::ScrollToEnd()
{
    const LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    if (style & WS_VSCROLL)
        m_scrollY += MoveScrollBar(m_hwnd, SB_VERT, SB_BOTTOM, c_verticalStep);
    if (style & WS_HSCROLL) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(m_hwnd, SB_HORZ, &info);
        const int old = info.nPos;
        info.fMask = SIF_POS;
        info.nPos = info.nMax;
        SetScrollInfo(m_hwnd, SB_HORZ, &info, TRUE);
        GetScrollInfo(m_hwnd, SB_HORZ, &info);
        m_scrollX += info.nPos - old;
    }
}

void Preview::DrawContent(HDC dc, int x, int y, const POINT* anchor)
{
    ApplyCandidateCount();
    PreviewConfigable& preview = *m_previews[m_selected];
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    int deviceX = x, deviceY = y;
    ScaledToDevice(dc, deviceX, deviceY);
    SetViewportOrgEx(dc, deviceX, deviceY, nullptr);

    POINT at = {0, 0};
    if (anchor) {
        at = *anchor;
    } else {
        int anchorX = 0, anchorY = 0;
        preview.GetDefaultPos(m_page - PreviewConfigable::e_pageH1, anchorX, anchorY);
        at = {anchorX, anchorY};
    }
    // The windows stand where the input method puts them after the sentence just typed;
    // what would fall off the top or left moves the sentence instead.
    int previewX = m_sampleWidth - at.x, previewY = m_sampleHeight - at.y;
    int sentenceX = 0, sentenceY = 0;
    if (previewX < 0) {
        sentenceX = -previewX;
        previewX = 0;
    }
    if (previewY < 0) {
        sentenceY = -previewY;
        previewY = 0;
    }
    preview.Paint(dc, x + previewX, y + previewY);
    int width = 0, height = 0;
    preview.GetSize(width, height);

    SetViewportOrgEx(dc, deviceX, deviceY, nullptr);
    const HGDIOBJ oldFont = m_sampleFont ? SelectObject(dc, m_sampleFont) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
    RECT text = {sentenceX, sentenceY, sentenceX + m_sampleWidth, sentenceY + m_sampleHeight};
    DrawTextW(dc, c_sampleSentence, -1, &text, DT_SINGLELINE | DT_NOCLIP);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (oldFont)
        SelectObject(dc, oldFont);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);

    m_pictureRect = {previewX, previewY, previewX + width, previewY + height};
}

bool Preview::EnsureBackBuffer(int width, int height)
{
    if (m_buffer.dc && m_buffer.width == width && m_buffer.height == height)
        return true;
    return t_memDC::Create(m_buffer, nullptr, width, height, t_dibRows::topDown);
}

void Preview::FreeBackBuffer() { m_buffer.Release(); }

void Preview::RenderBackBuffer()
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hwnd, &client);
    if (!EnsureBackBuffer(client.right + m_scrollX, client.bottom + m_scrollY))
        return;
    const HBRUSH brush = CreateSolidBrush(m_background);
    RECT all = {0, 0, m_buffer.width, m_buffer.height};
    FillRect(m_buffer.dc, &all, brush);
    DeleteObject(brush);
    DrawContent(m_buffer.dc, 0, 0, nullptr);
}

void Preview::OnPaint(HDC dc)
{
    RenderBackBuffer();
    if (!m_buffer.dc)
        return;
    BitBlt(dc, 0, 0, m_buffer.width - m_scrollX, m_buffer.height - m_scrollY, m_buffer.dc, m_scrollX, m_scrollY,
           SRCCOPY);
}

bool Preview::SavePicture(const wchar_t* path)
{
    if (!path || !path[0])
        return false;
    int width = 0, height = 0;
    m_previews[m_selected]->GetSize(width, height);
    if (width <= 0 || height <= 0)
        return false;
    const SIZE size = {m_sampleWidth + width, m_sampleHeight + height};
    // Bottom-up, as the PNG export reads rows.
    t_memDC image;
    if (!t_memDC::Create(image, nullptr, size.cx, size.cy))
        return false;
    const POINT anchor = {0, 0};
    DrawContent(image.dc, 0, 0, &anchor);
    GdiFlush();
    return SavePng(image.dib, m_pictureRect, size, path);
}
