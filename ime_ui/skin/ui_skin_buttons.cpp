// The runtime skin's side of its button, flash-item and animation records: the records
// live in t_skinButtonParts, fed with what the skin knows (archive, handle manager, zoom,
// status background) and ticked over the skin's own picture tables too.
#include "ime_ui/skin/skin_buttons.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "toolkit/controls/ui_settings.h"

t_skinButtonParts* t_uiSkinData::CreateButtonParts(t_skinPictureReuse& reuse)
{
    t_skinButtonParts* parts = new t_skinButtonParts;
    parts->Pictures().SetReuse(&reuse);
    return parts;
}

void t_uiSkinData::DestroyButtonParts(t_skinButtonParts* parts) { delete parts; }

void t_uiSkinData::ClearButtonParts()
{
    if (m_buttonParts)
        m_buttonParts->Clear();
}

bool t_uiSkinData::LoadSkinImage(t_imageSource*& out, const wchar_t* fileName, int window, bool& cached,
                                 uint32_t colorKey)
{
    out = nullptr;
    cached = false;
    if (!m_buttonParts)
        return false;
    t_skinPictureStore& store = m_buttonParts->Pictures();
    store.Bind(m_handles, &m_archive, m_useGdip);
    return ::LoadSkinImage(store, out, fileName, window, cached, colorKey);
}

// What the records are built with.
static t_skinBuildContext BuildContext(const t_uiSkinData& skin)
{
    t_skinBuildContext context = {};
    context.zoom = skin.ZoomOn();
    context.zoomFactor = skin.ZoomFactor();
    context.defaultSkin = skin.IsDefaultSkin();
    context.statusButtonColor = skin.StatusButtonColor();
    if (const t_image* background = skin.GetStatusBackground()) {
        if (!background->IsEmpty()) {
            context.statusBoxWidth = background->partWidth;
            context.statusBoxHeight = background->partHeight;
        }
    }
    context.skinPath = skin.SkinPath();
    context.flashDebugMode = skin.Settings() && skin.Settings()->flashDebugMode;
    return context;
}

void t_uiSkinData::LoadButtons(const SkinConfigFile& parsed)
{
    if (!m_buttonParts)
        return;
    m_buttonParts->Pictures().Bind(m_handles, &m_archive, m_useGdip);
    m_buttonParts->Load(parsed, m_statusButtonsAllowed, BuildContext(*this));
    auto hasPicture = [this](t_skinButton button) {
        const t_btnSkinRec* record =
            m_buttonParts->FindButton(c_skinStatusWindow, t_skinItemType::e_fixed, static_cast<int>(button));
        return record && record->layerCount > 0 && record->layers[0].HasState(e_btnNormal);
    };
    m_skinManagerPicture = hasPicture(t_skinButton::e_skinManager);
    m_menuPicture = hasPicture(t_skinButton::e_menu);
}

void t_uiSkinData::LoadFlashBackground(int window, const SkinFlashBk& flashBk, bool scaled)
{
    if (!m_buttonParts)
        return;
    m_buttonParts->Pictures().Bind(m_handles, &m_archive, m_useGdip);
    t_skinBuildContext context = BuildContext(*this);
    if (!scaled)
        context.zoom = false;
    m_buttonParts->LoadFlashBackground(flashBk, window, context);
}

// The backgrounds table is walked as one run of records.
static_assert(sizeof(t_imageSet9) == sizeof(t_image) * t_imageSet9::e_cellCount, "nine records, no padding");

bool t_uiSkinData::TickAnimations(uint32_t groupMask)
{
    if (!m_buttonParts)
        return false;
    const int now = static_cast<int>(GetTickCount() / 10);
    t_image* const lists[] = {m_statusBackground.Slot(0), m_backgrounds.Slot(0)->cells};
    const int counts[] = {1, c_skinAreaCount * t_imageSet9::e_cellCount};
    return m_buttonParts->TickAnimations(groupMask, now, lists, counts, 2);
}
