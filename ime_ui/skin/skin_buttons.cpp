#include "ime_ui/skin/skin_buttons.h"

#include <algorithm>
#include <climits>
#include <cwctype>

#include "foundation/flash/flash_util.h"
#include "graphics/image/image_source.h"
#include "graphics/layout/layout.h"
#include "graphics/paint/pixel_ops.h"
#include "ime_ui/skin/picture_part.h"

namespace {

// The host callback behind each function index of a button layer; -1 none.
const int c_functionCallback[] = {1, 0,  -1, 5,  4,  -1, 3,  2,  17, 16, 9,  10, 6,
                                  8, 18, 14, 15, -1, -1, 20, 19, 21, 23, 24, 25};
const int c_functionCount = sizeof c_functionCallback / sizeof c_functionCallback[0];

// Function indexes of the layers of each built-in button.
struct t_fixedLayers {
    int count;
    int function[c_btnLayerCapacity];
};
const t_fixedLayers c_fixedLayers[c_skinFixedButtonCount] = {
    {3, {0, 1, 2}},  // cn_en
    {3, {3, 4, 5}},  // biaodian
    {2, {7, 6}},     // quan_ban
    {2, {8, 9}},     // quan_shuang
    {2, {11, 10}},   // fan_jian
    {1, {12}},       // softkeyboard
    {1, {13}},       // menu
    {1, {14}},       // vexilsearch
    {2, {15, 17}},   // pageup
    {2, {16, 18}},   // pagedown
    {2, {19, 20}},   // passport
    {1, {21}},       // webpage
    {1, {22}},       // skinmanager
    {1, {23}},       // handinput
    {1, {24}},       // news
    {1, {25}},       // logo
};

// Status-bar button pictures of default skins are drawn in this colour, recoloured to
// the user's status-button colour.
const uint32_t c_defaultButtonTint = 0xD29451;

UiFunction::t_callback CallbackOf(int functionIndex)
{
    if (functionIndex < 0 || functionIndex >= c_functionCount || c_functionCallback[functionIndex] < 0)
        return nullptr;
    const UiFunction* functions = UiFunction::Instance();
    return functions ? functions->Get(c_functionCallback[functionIndex]) : nullptr;
}

t_alignInfo AlignOf(const SkinAlignEx& align, const SkinPos& pos, bool scale, double factor)
{
    if (!align.IsPresent()) {
        const POINT at = pos.Value();
        return t_alignInfo{1, static_cast<int>(at.x), 0, 0, 1, static_cast<int>(at.y), 0, 0, 0, 0, 0, 0, 0};
    }
    const AlignEx& a = align.Value();
    t_alignInfo record{a.leftMode,
                       a.leftMargin,
                       a.rightMode,
                       a.rightMargin,
                       a.topMode,
                       a.topMargin,
                       a.bottomMode,
                       a.bottomMargin,
                       0,
                       0,
                       0,
                       a.extra1,
                       a.extra2};
    if (scale) {
        record.leftMargin = ScaleSkinRounded(record.leftMargin, factor);
        record.rightMargin = ScaleSkinRounded(record.rightMargin, factor);
        record.topMargin = ScaleSkinRounded(record.topMargin, factor);
        record.bottomMargin = ScaleSkinRounded(record.bottomMargin, factor);
    }
    return record;
}

bool HasFile(const t_SkinImage& image) { return image.file && image.file[0]; }

// Entry `layer` of a state list. Lists that fall back take their last entry when shorter
// and step back to the nearest earlier entry with a file.
const t_SkinImage* PickEntry(const t_BtnUi& list, int layer, bool fallBack)
{
    const int count = std::min(list.count, c_btnUiCapacity);
    if (count <= 0)
        return nullptr;
    int i = layer;
    if (i >= count) {
        if (!fallBack)
            return nullptr;
        i = count - 1;
    }
    if (fallBack) {
        while (i > 0 && !HasFile(list.images[i]))
            --i;
    }
    return &list.images[i];
}

void RecolorSource(t_imageSource& source, uint32_t color)
{
    auto recolor = [color](const t_bitmapRef& ref) {
        uint32_t* pixels = static_cast<uint32_t*>(ref.GetPixels());
        int width = 0, height = 0;
        ref.GetSize(width, height);
        if (pixels && width > 0 && height > 0)
            RecolorPixels(c_defaultButtonTint, pixels, color, height, width);
    };
    if (source.kind == t_imageSource::e_frames) {
        for (int i = 0; i < source.Frames().count; ++i)
            recolor(source.Frames().frames[i].ref);
    } else {
        recolor(source.payload.ref);
    }
    NotePicturesChanged();
}

// The part (x, y, w, h) of a picture of size width x height a file's rectangle names:
// the whole picture for c = d = 0, else the rectangle with its origin clamped into the
// picture and its size clipped to what lies inside. False when nothing is left.
bool ClipPart(const t_SkinImage& spec, int width, int height, RECT& part)
{
    if (width <= 0 || height <= 0)
        return false;
    if (spec.c == 0 && spec.d == 0) {
        part = RECT{0, 0, width, height};
        return true;
    }
    const t_partRect clipped = ClipPicturePart(spec.a, spec.b, spec.c, spec.d, width, height);
    if (clipped.width <= 0 || clipped.height <= 0)
        return false;
    part = RECT{clipped.x, clipped.y, clipped.x + clipped.width, clipped.y + clipped.height};
    return true;
}

// Leading blanks of a file name skipped.
const wchar_t* TrimmedFile(const wchar_t* file)
{
    if (!file)
        return nullptr;
    while (*file == L' ' || *file == L'\t')
        ++file;
    return file;
}

}  // namespace

int ScaleSkinTruncated(int value, double factor)
{
    // Values from the file times any factor stay inside the int range.
    const double scaled = value * factor;
    if (!(scaled > -2147483648.0))
        return INT_MIN;
    if (!(scaled < 2147483647.0))
        return INT_MAX;
    return static_cast<int>(scaled);
}

int ScaleSkinRounded(int value, double factor)
{
    const double scaled = value * factor + 0.5;
    if (!(scaled > -2147483648.0))
        return INT_MIN;
    if (!(scaled < 2147483647.0))
        return INT_MAX;
    return static_cast<int>(scaled);
}

void t_skinButtonParts::Clear()
{
    m_buttons.Clear();
    m_flashes.Clear();
    m_animations.Clear();
    m_pictures.Forget();
}

t_btnSkinRec* t_skinButtonParts::FindButton(int window, t_skinItemType type, int index) const
{
    return m_buttons.Find(PackSkinKey(window, type, index));
}

uint8_t t_skinButtonParts::GetButtonDisplay(int window, t_skinItemType type, int index) const
{
    const t_btnSkinRec* record = FindButton(window, type, index);
    return record ? record->display : 0;
}

const wchar_t* t_skinButtonParts::GetButtonHint(int window, t_skinItemType type, int index) const
{
    const t_btnSkinRec* record = FindButton(window, type, index);
    return record ? record->hint.c_str() : nullptr;
}

bool t_skinButtonParts::GetButtonUrl(t_str& out, int window, t_skinItemType type, int index) const
{
    const t_btnSkinRec* record = FindButton(window, type, index);
    if (!record)
        return false;
    out = record->url;
    return !out.IsEmpty();
}

t_flashSkinRec* t_skinButtonParts::FindFlash(int window, int index) const
{
    return m_flashes.Find(PackSkinKey(window, t_skinItemType::e_flash, index));
}

bool t_skinButtonParts::BuildButtonRecord(const SkinBtn& button, const SkinWindowCommon& common, int window,
                                          t_skinItemType type, int index, const t_skinBuildContext& context)
{
    if (!IsStorableSkinKey(window, type, index))
        return false;
    const bool status = window == c_skinStatusWindow;
    const t_alignInfo align = AlignOf(button.align, button.pos, context.zoom && !status, context.zoomFactor);
    if (!button.display.IsPresent() || !button.display.Value())
        return false;

    t_btnSkinRec* record = new t_btnSkinRec;
    record->align = align;
    record->display = 1;
    record->hint.Assign(button.hint.Text());
    record->url.Assign(button.url.Text());
    const uint32_t key1 = WindowColorKey(common.transparent_color_enable, common.transparent_color);
    const uint32_t key2 = WindowColorKey(common.click_color_enable, common.click_color);

    // With a box, every picture is at most as large as the button's place in it.
    const bool boxed = status && context.statusBoxWidth > 0 && context.statusBoxHeight > 0;
    int boxWidth = 0, boxHeight = 0;
    if (boxed) {
        const RECT place = t_alignInfo::ComputeRect(align, 0, 0, context.statusBoxWidth, context.statusBoxHeight);
        boxWidth = std::max(ClampToInt(0LL + place.right - place.left), 0);
        boxHeight = std::max(ClampToInt(0LL + place.bottom - place.top), 0);
    }
    const bool recolor = context.defaultSkin && status && context.statusButtonColor != c_noColorKey;

    const SkinBtnUi* lists[c_btnStateCount] = {&button.normal, &button.down,    &button.hover, &button.in,
                                               &button.out,    &button.downing, &button.up};
    const bool fallsBack[c_btnStateCount] = {true, false, false, true, false, true, false};
    const int layers = type == t_skinItemType::e_fixed ? c_fixedLayers[index].count : c_btnLayerCapacity;

    for (int layer = 0; layer < layers; ++layer) {
        t_btnLayer entry;
        memset(&entry, 0, sizeof entry);
        if (type == t_skinItemType::e_fixed)
            entry.callback = CallbackOf(c_fixedLayers[index].function[layer]);
        const wchar_t* names[c_btnStateCount] = {};
        for (int state = 0; state < c_btnStateCount; ++state) {
            const t_SkinImage* picked = PickEntry(lists[state]->Value(), layer, fallsBack[state]);
            const wchar_t* file = picked ? TrimmedFile(picked->file) : nullptr;
            t_imageSource* source = nullptr;
            bool cached = false;
            if (!file || !*file || !LoadSkinImage(m_pictures, source, file, window, cached, key1))
                continue;
            if (recolor)
                RecolorSource(*source, context.statusButtonColor);
            t_SkinImage spec = *picked;
            if (boxed) {
                spec.c = spec.c == 0 ? boxWidth : std::min(spec.c, boxWidth);
                spec.d = spec.d == 0 ? boxHeight : std::min(spec.d, boxHeight);
            }
            int width = 0, height = 0;
            RECT part;
            if (!source->GetSize(width, height) || !ClipPart(spec, width, height, part))
                continue;
            entry.states[state].SetPart(source, part.left, part.top, key1, key2, part.right - part.left,
                                        part.bottom - part.top, t_image::e_natural, t_image::e_natural, true);
            names[state] = file;
        }

        // A missing state shows another: out the in picture and up the downing picture
        // (an animation then plays back and forth, so it gets a copy of its own), down
        // the normal one, hover the down one.
        const t_btnState borrowed[][2] = {{e_btnOut, e_btnIn}, {e_btnUp, e_btnDowning}};
        for (const auto& pair : borrowed) {
            if (entry.HasState(pair[0]) || !entry.HasState(pair[1]))
                continue;
            entry.states[pair[0]] = entry.states[pair[1]];
            t_image& copy = entry.states[pair[0]];
            if (copy.source && copy.source->kind == t_imageSource::e_frames) {
                t_imageSource* own = m_pictures.CopyOf(copy.source, names[pair[1]]);
                if (own) {
                    own->Frames().reversible = 1;
                    copy.source = own;
                    copy.ref = own->GetBitmapRef();
                    m_animations.Register(own, window);
                }
            }
        }
        if (!entry.HasState(e_btnDown))
            entry.states[e_btnDown] = entry.states[e_btnNormal];
        if (!entry.HasState(e_btnHover))
            entry.states[e_btnHover] = entry.states[e_btnDown];
        record->AddLayer(entry);
    }
    return m_buttons.Add(PackSkinKey(window, type, index), record);
}

namespace {

// The parsed window behind a window number (1..6) and the keys its scheme shares.
const SkinSchemeWindow* SchemeWindowOf(const SkinConfigFile& parsed, int window, const SkinWindowCommon*& common)
{
    switch (window) {
    case 1:
        common = &parsed.schemeH1.common;
        return &parsed.schemeH1.window;
    case 2:
        common = &parsed.schemeH2.common;
        return &parsed.schemeH2.composition;
    case 3:
        common = &parsed.schemeH2.common;
        return &parsed.schemeH2.candidate;
    case 4:
        common = &parsed.schemeV1.common;
        return &parsed.schemeV1.window;
    case 5:
        common = &parsed.schemeV2.common;
        return &parsed.schemeV2.composition;
    case 6:
        common = &parsed.schemeV2.common;
        return &parsed.schemeV2.candidate;
    default:
        common = nullptr;
        return nullptr;
    }
}

// Whether the flash utility lets an item of this security level pop up.
bool FlashSecurityUsable(int) { return FlashUtilIsUsable(); }

}  // namespace

void t_skinButtonParts::LoadWindowButtons(const SkinStatusButtons& buttons, const SkinWindowCommon& common, int window,
                                          const t_skinBuildContext& context)
{
    for (int i = 0; i < c_skinFixedButtonCount; ++i)
        BuildButtonRecord(buttons.buttons[i], common, window, t_skinItemType::e_fixed, i, context);
    for (int i = 0; i < buttons.custom.ItemCount() && i <= c_skinItemIndexLimit; ++i)
        BuildButtonRecord(buttons.custom.Item(i), common, window, t_skinItemType::e_custom, i, context);
    for (int i = 0; i < buttons.component.ItemCount() && i <= c_skinItemIndexLimit; ++i) {
        const SkinBtnComponent& item = buttons.component.Item(i);
        if (!BuildButtonRecord(item, common, window, t_skinItemType::e_component, i, context))
            continue;
        t_btnSkinRec* record = FindButton(window, t_skinItemType::e_component, i);
        if (record) {
            record->BundleId.Assign(item.BundleId.Text());
            record->ComId.Assign(item.ComId.Text());
        }
    }
}

void t_skinButtonParts::Load(const SkinConfigFile& parsed, bool statusButtons, const t_skinBuildContext& context)
{
    // The status bar is never zoomed.
    t_skinBuildContext status = context;
    status.zoom = false;
    if (statusButtons)
        LoadWindowButtons(parsed.statusBar.buttons, parsed.statusBar.common, c_skinStatusWindow, status);
    for (int window = 1; window < c_skinWindowCount; ++window) {
        const SkinWindowCommon* common = nullptr;
        const SkinSchemeWindow* scheme = SchemeWindowOf(parsed, window, common);
        LoadWindowButtons(scheme->buttons, *common, window, context);
    }
    LoadWindowFlashes(parsed.statusBar.flashs, c_skinStatusWindow, status);
    for (int window = 1; window < c_skinWindowCount; ++window) {
        const SkinWindowCommon* common = nullptr;
        const SkinSchemeWindow* scheme = SchemeWindowOf(parsed, window, common);
        LoadWindowFlashes(scheme->flashs, window, context);
    }
}

void t_skinButtonParts::LoadWindowFlashes(const SkinFlashs& flashs, int window, const t_skinBuildContext& context)
{
    for (int i = 0; i < flashs.ItemCount() && i <= c_skinItemIndexLimit; ++i)
        BuildFlashRecord(flashs.Item(i), window, i, context);
}

bool t_skinButtonParts::BuildFlashRecord(const SkinFlash& item, int window, int index,
                                         const t_skinBuildContext& context)
{
    if (!IsStorableSkinKey(window, t_skinItemType::e_flash, index))
        return false;
    const t_alignInfo align = AlignOf(item.align, item.pos, context.zoom, context.zoomFactor);
    const bool shown = item.display.IsPresent() && item.display.Value();
    const bool popup = item.popup.IsPresent() && item.popup.Value();
    if (!shown && !popup)
        return false;
    if (!item.width.IsPresent() || !item.height.IsPresent() || item.width.Value() == 0 || item.height.Value() == 0)
        return false;
    int width = item.width.Value();
    int height = item.height.Value();
    if (context.zoom) {
        width = ScaleSkinTruncated(width, context.zoomFactor);
        height = ScaleSkinTruncated(height, context.zoomFactor);
    }
    if (!item.file.IsPresent())
        return false;
    t_str path;
    int security = item.security.IsPresent() ? item.security.Value() : -1;
    if (!ResolveFlashFile(m_pictures, path, security, item.file.Text(), context))
        return false;
    if (popup && !FlashSecurityUsable(security))
        return false;

    t_flashSkinRec* record = new t_flashSkinRec;
    if (item.preview.IsPresent()) {
        t_imageSource* source = nullptr;
        bool cached = false;
        if (LoadSkinImage(m_pictures, source, TrimmedFile(item.preview.Text()), window, cached, c_noColorKey))
            record->preview.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural,
                                    t_image::e_natural, true);
    }
    record->width = width;
    record->height = height;
    record->visible = shown ? 1 : 0;
    record->align = align;
    record->path = path;
    t_flashSkinRec::MakeName(record->name, window, index);
    record->drag = item.drag.Value() ? 1 : 0;
    record->cursor = item.cursor.Value() ? 1 : 0;
    record->popup = popup ? 1 : 0;
    record->showDisable = item.showDisable.Value() ? 1 : 0;
    record->correct = item.correct.Value() ? 1 : 0;
    record->stick = item.stick.Value();
    record->security = security;
    record->param.Assign(item.param.Text());
    // Absent keys count as on.
    record->showlikeparent = !item.showlikeparent.IsPresent() || item.showlikeparent.Value() ? 1 : 0;
    record->hidefullscreen = !item.hidefullscreen.IsPresent() || item.hidefullscreen.Value() ? 1 : 0;
    record->activate = !item.activate.IsPresent() || item.activate.Value() ? 1 : 0;
    return m_flashes.Add(PackSkinKey(window, t_skinItemType::e_flash, index), record);
}

void t_skinButtonParts::LoadFlashBackground(const SkinFlashBk& flashBk, int window, const t_skinBuildContext& context)
{
    if (!flashBk.flashbk.IsPresent() || window < 0 || window >= c_skinWindowCount)
        return;
    t_str path;
    int security = flashBk.security.IsPresent() ? flashBk.security.Value() : -1;
    if (!ResolveFlashFile(m_pictures, path, security, flashBk.flashbk.Text(), context))
        return;
    int width = flashBk.width.IsPresent() ? flashBk.width.Value() : 0;
    int height = flashBk.height.IsPresent() ? flashBk.height.Value() : 0;
    if (context.zoom && window != c_skinStatusWindow) {
        width = ScaleSkinRounded(width, context.zoomFactor);
        height = ScaleSkinRounded(height, context.zoomFactor);
    }
    t_flashSkinRec* record = new t_flashSkinRec;
    record->path = path;
    record->width = width;
    record->height = height;
    record->visible = 1;
    record->security = security;
    t_flashSkinRec::MakeName(record->name, window, c_flashBackgroundIndex);
    m_flashes.Add(PackSkinKey(window, t_skinItemType::e_flash, c_flashBackgroundIndex), record);
}

bool t_skinButtonParts::TickAnimations(unsigned groupMask, int now, t_image* const* others, const int* otherCounts,
                                       int otherLists)
{
    return m_animations.Tick(groupMask, now, [&](const std::function<void(t_image&)>& repoint) {
        for (int list = 0; list < otherLists; ++list) {
            for (int i = 0; others[list] && i < otherCounts[list]; ++i)
                repoint(others[list][i]);
        }
        m_buttons.ForEach([&](unsigned, t_btnSkinRec& record) {
            for (int layer = 0; layer < record.layerCount; ++layer) {
                for (t_image& state : record.layers[layer].states)
                    repoint(state);
            }
        });
    });
}

bool ResolveFlashFile(t_skinPictureStore& store, t_str& path, int& security, const wchar_t* name,
                      const t_skinBuildContext& context)
{
    path.Clear();
    t_handleManager* handles = store.Handles();
    if (!name || !*name || !handles)
        return false;
    const wchar_t* skinPath = context.skinPath ? context.skinPath : L"";
    const wchar_t* slash = wcsrchr(skinPath, L'\\');
    if (slash)
        path.AssignN(skinPath, static_cast<int>(slash - skinPath));
    path.Append(L"\\Flash");
    if (name[0] != L'.')
        path.Append(L"\\");
    path.Append(name);

    t_handleQuery query{e_handleFlash, 0, nullptr, path.c_str()};
    if (handles->Find(query)) {
        if (query.handle)
            security &= static_cast<const t_storedFlash*>(query.handle)->id;
        return true;
    }
    t_varFile* entry = store.FindEntry(name);
    if (!entry)
        return false;
    uint32_t size = 0;
    const unsigned char* bytes = entry->GetData(&size);
    if (!bytes || size == 0 || size > 0x7FFFFFFFu)
        return false;
    t_flashBlob blob{0, size, bytes};
    i_flashSwf* swf = FlashUtilLoadSwf(bytes, static_cast<int>(size));
    if (swf) {
        const int kept = swf->Size();
        blob.bytes = swf->Data();
        blob.length = kept > 0 && blob.bytes ? static_cast<uint32_t>(kept) : 0;
        security &= swf->Security();
    } else if (!context.flashDebugMode) {
        return false;
    }
    blob.id = static_cast<uint32_t>(security);
    const bool stored = handles->Acquire(&blob, path.c_str(), e_handleFlash, 0) != nullptr;
    if (swf)
        swf->Release();
    return stored;
}
