#include "ime_ui/skin/ui_skin_data.h"

#include <cwchar>

#include "foundation/core/perf.h"
#include "foundation/files/path.h"
#include "foundation/users/user_manager.h"
#include "graphics/paint/resize.h"
#include "ime_ui/skin/picture_part.h"
#include "skin_model/extract/env_skin.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"

const wchar_t* const t_uiSkinData::c_userSkinFile = c_runtimeSkinFileName;
const wchar_t* const t_uiSkinData::c_defaultSkinFile = L"Skin.dat";

namespace {

// The context hands its settings to the skin through this.
void TakeSettings(t_uiSkinData* skin, t_uiSettings* settings)
{
    if (skin)
        skin->SetSettings(settings);
}

// A file name as the skin gives it: leading blanks skipped; null when nothing is left.
const wchar_t* PictureFile(const SkinImage& value)
{
    if (!value.IsPresent() || !value.Value().file)
        return nullptr;
    const wchar_t* file = value.Value().file;
    while (*file == L' ' || *file == L'\t')
        ++file;
    return *file && wcslen(file) < MAX_PATH ? file : nullptr;
}

int ClampInt(double value)
{
    if (!(value > -2147483647.0))
        return value != value ? 0 : -2147483647;
    if (value > 2147483647.0)
        return 2147483647;
    return static_cast<int>(value);
}

struct t_cuts {
    int mode, first, second;
};

// The two cut positions along one axis of a picture part of `size`.
t_cuts SplitCuts(const SkinSplit& split, int size, const t_uiSkinData& skin)
{
    int mode = 0, first = -1, second = -1;
    if (split.IsPresent()) {
        mode = split.Value().mode;
        first = split.Value().first;
        second = split.Value().second;
    }
    first = skin.Scale(first);
    second = skin.Scale(second);
    const bool differ = first != second;
    first = first < 0 ? 0 : first;
    second = second < 0 ? 0 : second;
    int c1 = first < size ? first : size;
    int c2 = size - (second < size ? second : size);
    if (c2 < 0)
        c2 = 0;
    if (c2 < c1) {
        const int t = c1;
        c1 = c2;
        c2 = t;
    }
    if (differ && c1 == c2 && c2 < size - 1)
        c2 = c1 + 1;
    return t_cuts{mode, c1, c2};
}

}  // namespace

t_uiWindow SkinAreaWindow(t_skinArea area)
{
    switch (area) {
    case t_skinArea::e_h1:
    case t_skinArea::e_h1Separator:
        return t_uiWindow::e_h1;
    case t_skinArea::e_h2Comp:
        return t_uiWindow::e_h2Comp;
    case t_skinArea::e_h2Cand:
        return t_uiWindow::e_h2Cand;
    case t_skinArea::e_v1:
    case t_skinArea::e_v1Separator:
        return t_uiWindow::e_v1;
    case t_skinArea::e_v2Comp:
        return t_uiWindow::e_v2Comp;
    case t_skinArea::e_v2Cand:
        return t_uiWindow::e_v2Cand;
    }
    return t_uiWindow::e_h1;
}

t_uiSkinData::t_uiSkinData() : m_buttonParts(CreateButtonParts(m_reuse)), m_handles(&m_handleStore[0])
{
    for (t_handleManager& handles : m_handleStore)
        handles.Init(new t_skinHandleHelper(m_reuse));
    t_uiContext::SetSkinSettingsHandler(&TakeSettings);
}

t_uiSkinData::~t_uiSkinData()
{
    ReleaseLoaded(true);
    DestroyButtonParts(m_buttonParts);
}

bool t_uiSkinData::Init(t_errorChain& errors, int userId)
{
    ReleaseLoaded(true);
    UserManager* users = UserManager::Instance();
    if (!users) {
        errors.Fail(L"皮肤初始化错误:账户系统初始化失败");
        return false;
    }
    t_str folder;
    if (!users->GetUserDirText(folder, userId) || folder.Length() == 0) {
        errors.Fail(L"皮肤初始化错误:用户目录获取失败");
        return false;
    }
    t_path path(folder);
    path.AppendPart(c_userSkinFile);
    SetSkinPath(path.c_str());
    m_useGdip = false;
    m_settings = nullptr;
    m_userId = userId;
    return true;
}

void t_uiSkinData::SetSkinPath(const wchar_t* path, bool previewCopy)
{
    wcsncpy(m_skinPath, path ? path : L"", MAX_PATH - 1);
    m_skinPath[MAX_PATH - 1] = 0;
    m_previewCopy = previewCopy;
}

int t_uiSkinData::Scale(int value) const
{
    if (!m_zoomOn)
        return value;
    return ClampInt(value * m_zoomFactor + 0.5);
}

void t_uiSkinData::ReleaseLoaded(bool everything)
{
    // The button parts index pictures of the current manager: emptied before it goes.
    ClearButtonParts();
    if (everything) {
        m_reuse.DropRetired();
        m_reuse.Retire();
        m_reuse.DropRetired();
        for (t_handleManager& handles : m_handleStore)
            handles.ReleaseAll();
    } else {
        OtherHandles().ReleaseAll();
        m_reuse.Retire();
        m_handles = &OtherHandles();
    }
    m_textStyles.ClearPresence();
    m_pens.ClearPresence();
    m_statusBackground.ClearPresence();
    m_backgrounds.ClearPresence();
    m_aligns.ClearPresence();
    m_separatorShown.ClearPresence();
    m_layered.ClearPresence();
    m_opacity.ClearPresence();
    m_anchors.ClearPresence();
    m_webpages.ClearPresence();
    m_masks.ClearPresence();
    m_statusPreview.ClearPresence();
    m_aero = m_glow = false;
    m_skinId.Clear();
    m_widgetCount = 0;
    m_separatorMode[0] = m_separatorMode[1] = t_seperatorMode::e_none;
    m_areaMask = 0;
    m_skinManagerPicture = m_menuPicture = false;
}

bool t_uiSkinData::LoadConfig(const SkinConfigFile& parsed)
{
    PerfScope scope("LoadConfig");
    ReleaseLoaded(false);
    m_useGdip = parsed.display.use_gdip.IsPresent() && parsed.display.use_gdip.Value();

    LoadStatusPictures(parsed.statusBar);

    struct t_schemeWindow {
        t_skinArea area;
        const SkinWindowCommon* common;
        const SkinSchemeWindow* window;
    };
    const t_schemeWindow combined[] = {
        {t_skinArea::e_h1, &parsed.schemeH1.common, &parsed.schemeH1.window},
        {t_skinArea::e_v1, &parsed.schemeV1.common, &parsed.schemeV1.window},
    };
    const t_schemeWindow separate[] = {
        {t_skinArea::e_h2Comp, &parsed.schemeH2.common, &parsed.schemeH2.composition},
        {t_skinArea::e_h2Cand, &parsed.schemeH2.common, &parsed.schemeH2.candidate},
        {t_skinArea::e_v2Comp, &parsed.schemeV2.common, &parsed.schemeV2.composition},
        {t_skinArea::e_v2Cand, &parsed.schemeV2.common, &parsed.schemeV2.candidate},
    };
    auto loadWindow = [this](const t_schemeWindow& w) {
        const uint32_t key = WindowColorKey(w.common->transparent_color_enable, w.common->transparent_color);
        LoadBackground(w.area, w.window->pic.Value(), w.window->layout_horizontal, w.window->layout_vertical, key,
                       false);
        LoadMask(static_cast<int>(w.area), w.window->pic_mask, true);
        LoadFlashBackground(static_cast<int>(SkinAreaWindow(w.area)), w.window->flashBk, true);
    };
    for (const t_schemeWindow& w : combined)
        loadWindow(w);
    const SkinSchemeCombined* schemes[] = {&parsed.schemeH1, &parsed.schemeV1};
    const t_skinArea separators[] = {t_skinArea::e_h1Separator, t_skinArea::e_v1Separator};
    for (int i = 0; i < 2; ++i) {
        const SkinSchemeCombined& scheme = *schemes[i];
        if (scheme.seperatorUi.Mode() != t_seperatorMode::e_picture)
            continue;
        const uint32_t key = WindowColorKey(scheme.common.transparent_color_enable, scheme.common.transparent_color);
        LoadBackground(separators[i], scheme.seperatorUi.pic.Value(), scheme.seperatorUi.layout_horizontal,
                       scheme.seperatorUi.layout_vertical, key, true);
    }
    for (const t_schemeWindow& w : separate)
        loadWindow(w);

    LoadButtons(parsed);
    LoadFonts(parsed.display);
    LoadPens(parsed);
    LoadAlignments(parsed);
    LoadFlags(parsed);
    // What the new load took over stays; the rest of the last load goes.
    OtherHandles().ReleaseAll();
    m_reuse.DropRetired();
    return true;
}

void t_uiSkinData::LoadStatusPictures(const SkinStatusBarPart& status)
{
    t_image* background = m_statusBackground.Set(0);
    background->Init();
    const wchar_t* file = PictureFile(status.pic);
    if (!file)
        return;
    const uint32_t key1 = WindowColorKey(status.common.transparent_color_enable, status.common.transparent_color);
    const uint32_t key2 = WindowColorKey(status.common.click_color_enable, status.common.click_color);
    t_imageSource* source = nullptr;
    bool cached = false;
    if (!LoadSkinImage(source, file, static_cast<int>(t_uiWindow::e_status), cached, key1) || !source)
        return;
    int width = 0, height = 0;
    source->GetSize(width, height);
    const t_SkinImage& spec = status.pic.Value();
    const t_partRect part = ClipPicturePart(spec.a, spec.b, spec.c, spec.d, width, height);
    background->SetPart(source, part.x, part.y, key1, key2, part.width, part.height, t_image::e_natural,
                        t_image::e_natural, false);

    LoadMask(c_skinMaskStatus, status.pic_mask, false);

    if (const wchar_t* previewFile = PictureFile(status.pic_preview)) {
        t_imageSource* preview = nullptr;
        if (LoadSkinImage(preview, previewFile, static_cast<int>(t_uiWindow::e_status), cached, c_noColorKey) &&
            preview) {
            preview->GetSize(width, height);
            const t_SkinImage& p = status.pic_preview.Value();
            const t_partRect pp = ClipPicturePart(p.a, p.b, p.c, p.d, width, height);
            t_image* record = m_statusPreview.Set(0);
            record->Init();
            record->SetPart(preview, pp.x, pp.y, c_noColorKey, c_noColorKey, pp.width, pp.height, t_image::e_natural,
                            t_image::e_natural, false);
        }
    }
    LoadFlashBackground(static_cast<int>(t_uiWindow::e_status), status.flashBk, false);
}

// Resizes a freshly decoded single picture to its size times the zoom factor.
static void ZoomSource(t_imageSource& source, int width, int height, bool bicubic, t_skinPictureReuse& reuse)
{
    if (source.kind != t_imageSource::e_single || source.payload.ref.kind != t_bitmapRef::e_handle)
        return;
    HBITMAP bitmap = static_cast<HBITMAP>(source.payload.ref.handle);
    if (!bitmap || width <= 0 || height <= 0)
        return;
    HBITMAP resized = ResizeBitmap(bitmap, c_noColorKey, width, height, false, bicubic);
    if (!resized)
        return;
    reuse.Forget(&source);
    source.payload.ref.handle = resized;
    source.payload.width = width;
    source.payload.height = height;
}

bool t_uiSkinData::LoadPicture(const t_SkinImage& spec, const wchar_t* file, int window, uint32_t key, bool zoomed,
                               bool keepNatural, t_imageSource*& source, int& x, int& y, int& width, int& height)
{
    bool cached = false;
    source = nullptr;
    if (!LoadSkinImage(source, file, window, cached, key) || !source)
        return false;
    int fullWidth = 0, fullHeight = 0;
    source->GetSize(fullWidth, fullHeight);
    x = spec.a;
    y = spec.b;
    width = spec.c;
    height = spec.d;
    const bool whole = spec.c == 0 && spec.d == 0;
    if (whole) {
        width = fullWidth;
        height = fullHeight;
    }
    if (zoomed && m_zoomOn) {
        x = Scale(x);
        y = Scale(y);
        if (!(keepNatural && whole)) {
            width = Scale(width);
            height = Scale(height);
        }
        if (!keepNatural && !cached) {
            ZoomSource(*source, Scale(fullWidth), Scale(fullHeight), m_useGdip, m_reuse);
            source->GetSize(fullWidth, fullHeight);
        }
    }
    // Whatever the file says, the part stays inside the pixels.
    const t_partRect part = ClipPicturePart(x, y, width, height, fullWidth, fullHeight);
    x = part.x;
    y = part.y;
    width = part.width;
    height = part.height;
    return true;
}

void t_uiSkinData::LoadBackground(t_skinArea area, const t_SkinImage& picture, const SkinSplit& splitX,
                                  const SkinSplit& splitY, uint32_t colorKey, bool separator)
{
    const int index = static_cast<int>(area);
    m_areaMask &= ~(1u << index);
    m_backgrounds.SetAbsent(index);
    t_imageSet9* set = m_backgrounds.Slot(index);
    for (t_image& cell : set->cells)
        cell.Init();
    if (!picture.file)
        return;
    const wchar_t* file = picture.file;
    while (*file == L' ' || *file == L'\t')
        ++file;
    if (!*file)
        return;

    t_imageSource* source = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    if (!LoadPicture(picture, file, static_cast<int>(SkinAreaWindow(area)), colorKey, true, separator, source, x, y,
                     width, height))
        return;
    const t_cuts cx = SplitCuts(splitX, width, *this);
    const t_cuts cy = SplitCuts(splitY, height, *this);
    const int columns[4] = {0, cx.first, cx.second, width};
    const int rows[4] = {0, cy.first, cy.second, height};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            t_image& cell = set->cells[r * 3 + c];
            const int modeH = c == 1 ? cx.mode : t_image::e_natural;
            const int modeV = r == 1 ? cy.mode : t_image::e_natural;
            cell.SetPart(source, x + columns[c], y + rows[r], colorKey, c_noColorKey, columns[c + 1] - columns[c],
                         rows[r + 1] - rows[r], modeH, modeV, separator);
        }
    }
    m_backgrounds.Set(index);
    m_areaMask |= 1u << index;
}

void t_uiSkinData::LoadMask(int index, const SkinImage& mask, bool scaled)
{
    t_image* record = m_masks.Set(index);
    if (!record)
        return;
    record->Init();
    const wchar_t* file = PictureFile(mask);
    if (!file)
        return;
    const int window = index == c_skinMaskStatus ? static_cast<int>(t_uiWindow::e_status)
                                                 : static_cast<int>(SkinAreaWindow(static_cast<t_skinArea>(index)));
    // The mask is the part at the picture's origin.
    t_SkinImage spec = mask.Value();
    spec.a = spec.b = 0;
    t_imageSource* source = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    if (!LoadPicture(spec, file, window, c_noColorKey, scaled, false, source, x, y, width, height))
        return;
    record->SetPart(source, 0, 0, 0, c_noColorKey, width, height, t_image::e_natural, t_image::e_natural, false);
}

void t_uiSkinData::LoadPens(const SkinConfigFile& parsed)
{
    const SkinDisplay& display = parsed.display;
    uint32_t caret = c_noColorKey;
    if (display.caret_color.IsPresent())
        caret = display.caret_color.Value();
    else if (display.zhongwen_first_color.IsPresent())
        caret = display.zhongwen_first_color.Value();
    auto makePen = [this](int index, uint32_t color, int flag) {
        t_skinPen* entry = m_pens.Set(index);
        entry->pen = nullptr;
        entry->flag = flag;
        t_pen* pen = nullptr;
        if (!t_pen::Create(pen, color & 0xFFFFFF))
            return;
        entry->pen = static_cast<t_pen*>(m_handles->Acquire(pen, nullptr, e_handleGdi, e_gdiPen));
        if (!entry->pen)
            DeleteObject(pen->pen);
        delete pen;
    };
    makePen(static_cast<int>(t_skinPenId::e_caret), caret, 1);

    const SkinSchemeCombined* schemes[] = {&parsed.schemeH1, &parsed.schemeV1};
    for (int i = 0; i < 2; ++i) {
        const SkinSeperatorUi& separator = schemes[i]->seperatorUi;
        *m_separatorShown.Set(i) = separator.Mode() != t_seperatorMode::e_none;
        if (separator.Mode() == t_seperatorMode::e_line)
            makePen(i + 1, separator.separator.Value().colour, 0);
    }
}

void t_uiSkinData::LoadAlignments(const SkinConfigFile& parsed)
{
    struct t_margin {
        t_skinAlignId id;
        const SkinAlign* value;
    };
    const t_margin margins[] = {
        {t_skinAlignId::e_h1Pinyin, &parsed.schemeH1.marges.pinyin_marge},
        {t_skinAlignId::e_h1Zhongwen, &parsed.schemeH1.marges.zhongwen_marge},
        {t_skinAlignId::e_h2Pinyin, &parsed.schemeH2.marges.pinyin_marge},
        {t_skinAlignId::e_h2Zhongwen, &parsed.schemeH2.marges.zhongwen_marge},
        {t_skinAlignId::e_v1Pinyin, &parsed.schemeV1.marges.pinyin_marge},
        {t_skinAlignId::e_v1Zhongwen, &parsed.schemeV1.marges.zhongwen_marge},
        {t_skinAlignId::e_v2Pinyin, &parsed.schemeV2.marges.pinyin_marge},
        {t_skinAlignId::e_v2Zhongwen, &parsed.schemeV2.marges.zhongwen_marge},
    };
    for (const t_margin& m : margins) {
        if (!m.value->IsPresent())
            continue;
        const RECT& r = m.value->Value();
        t_alignInfo record{1, Scale(r.left), 0, Scale(r.right), 1, Scale(r.top), 0, Scale(r.bottom), 0, 0, 0, 0, 0};
        *m_aligns.Set(static_cast<int>(m.id)) = record;
    }
    const SkinSchemeCombined* schemes[] = {&parsed.schemeH1, &parsed.schemeV1};
    for (int i = 0; i < 2; ++i) {
        const SkinSeperatorUi& separator = schemes[i]->seperatorUi;
        int first = 0, second = 0;
        if (separator.Mode() == t_seperatorMode::e_line && separator.separator.IsPresent()) {
            first = separator.separator.Value().first;
            second = separator.separator.Value().second;
        } else if (separator.Mode() == t_seperatorMode::e_picture && separator.to_left_right.IsPresent()) {
            first = separator.to_left_right.Value().first;
            second = separator.to_left_right.Value().second;
        } else {
            continue;
        }
        *m_aligns.Set(i) = t_alignInfo{1, first, 2, second, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    }
}

void t_uiSkinData::LoadFlags(const SkinConfigFile& parsed)
{
    const SkinWindowCommon* commons[c_skinSchemeCount] = {&parsed.schemeH1.common, &parsed.schemeH2.common,
                                                          &parsed.schemeV1.common, &parsed.schemeV2.common,
                                                          &parsed.statusBar.common};
    for (int i = 0; i < c_skinSchemeCount; ++i) {
        *m_layered.Set(i) = commons[i]->layered.Value();
        *m_opacity.Set(i) = commons[i]->opaque.Value();
    }
    const SkinMarges* marges[c_skinAnchorCount] = {&parsed.schemeH1.marges, &parsed.schemeH2.marges,
                                                   &parsed.schemeV1.marges, &parsed.schemeV2.marges};
    for (int i = 0; i < c_skinAnchorCount; ++i) {
        const POINT& anchor = marges[i]->anchor.Value();
        t_skinPair* pair = m_anchors.Set(i);
        // Anchors are truncated, not rounded.
        pair->x = m_zoomOn ? ClampInt(anchor.x * m_zoomFactor) : anchor.x;
        pair->y = m_zoomOn ? ClampInt(anchor.y * m_zoomFactor) : anchor.y;
    }
    const SkinStr* pages[c_skinWebpageCount] = {
        &parsed.display.webpage,
        &parsed.statusBar.webpage_url,
        &parsed.schemeH1.window.webpage_url,
        &parsed.schemeH2.composition.webpage_url,
        &parsed.schemeH2.candidate.webpage_url,
        &parsed.schemeV1.window.webpage_url,
        &parsed.schemeV2.composition.webpage_url,
        &parsed.schemeV2.candidate.webpage_url,
    };
    for (int i = 0; i < c_skinWebpageCount; ++i)
        m_webpages.Set(i)->Assign(pages[i]->Text());
    m_aero = parsed.display.aero.Value();
    m_glow = parsed.display.glow.Value();
    m_skinId.Assign(parsed.skin_id.Text());
    m_widgetCount = parsed.widget_cnt.Value();
    m_separatorMode[0] = parsed.schemeH1.seperatorUi.Mode();
    m_separatorMode[1] = parsed.schemeV1.seperatorUi.Mode();
}

const uint32_t* t_uiSkinData::AcquireColor(uint32_t color)
{
    if (color == c_noColorKey)
        return nullptr;
    return static_cast<const uint32_t*>(m_handles->Acquire(&color, nullptr, e_handleGdi, e_gdiFontColor));
}

bool t_uiSkinData::GetTextStyle(int index, const uint32_t*& color, const uint32_t*& color2, int& reserved,
                                t_font*& font) const
{
    const t_skinTextStyle* style = m_textStyles.Get(index);
    if (!style)
        return false;
    color = style->color;
    color2 = style->color2;
    reserved = style->reserved;
    font = style->font;
    return true;
}

bool t_uiSkinData::GetSeparatorShown(int index) const
{
    const bool* shown = m_separatorShown.Get(index);
    return shown && *shown;
}

bool t_uiSkinData::GetAlign(int index, t_alignInfo& out) const
{
    const t_alignInfo* record = m_aligns.Get(index);
    if (!record)
        return false;
    out = *record;
    return true;
}

void t_uiSkinData::SetAlign(int index, const t_alignInfo& record)
{
    if (t_alignInfo* slot = m_aligns.Set(index))
        *slot = record;
}

bool t_uiSkinData::GetIndexedPair(int index, int& x, int& y) const
{
    const t_skinPair* pair = m_anchors.Get(index);
    if (!pair)
        return false;
    x = pair->x;
    y = pair->y;
    return true;
}

bool t_uiSkinData::GetLayered(int index, bool& out) const
{
    const bool* value = m_layered.Get(index);
    if (!value)
        return false;
    out = *value;
    return true;
}

bool t_uiSkinData::GetOpacity(int index, int& out) const
{
    const int* value = m_opacity.Get(index);
    if (!value)
        return false;
    out = *value;
    return true;
}

bool t_uiSkinData::GetMask(int index, t_image& out) const
{
    const t_image* record = m_masks.Get(index);
    if (!record)
        return false;
    out = *record;
    return true;
}

void t_uiSkinData::SetMask(int index, const t_image& record)
{
    if (t_image* slot = m_masks.Set(index))
        *slot = record;
}

bool t_uiSkinData::GetWebpageUrl(t_str& out, int window) const
{
    const t_str* own = m_webpages.Get(window + 1);
    if (window >= 0 && own && own->Length() > 0) {
        out.Assign(own->c_str());
        return true;
    }
    const t_str* general = m_webpages.Get(0);
    out.Assign(general ? general->c_str() : L"");
    return out.Length() > 0;
}
