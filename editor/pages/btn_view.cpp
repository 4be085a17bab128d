#include "editor/pages/btn_view.h"

#include "editor/widgets/button_array.h"
#include "skin_model/button_keys.h"
#include "skin_model/button_set.h"

namespace {
const int c_builtInRows[] = {c_propNormal, c_propHover, c_propDown, c_propIn, c_propOut, c_propDowning, c_propUp};
const int c_customRows[] = {c_propNormal, c_propHover, c_propIn, c_propOut};
const int c_flashRows[] = {c_propFlashFile, c_propFlashPreview};
const int c_photoFrameRows[] = {c_propHover};
// Editors sit this far below the button list.
const int c_gapBelowList = 6;

struct t_rowSet {
    const int* properties;
    int count;
};

template <size_t n>
t_rowSet RowsOf(const int (&properties)[n])
{
    return {properties, static_cast<int>(n)};
}

// The state rows of a button's picture variant.
t_rowSet StateRows(int index, int type, int variant)
{
    switch (type) {
    case c_btnBuiltIn:
        // The page buttons' second variant is one picture for every state.
        if (variant == 1 && (index == c_btnPageUp || index == c_btnPageDown))
            return {c_builtInRows, 1};
        return RowsOf(c_builtInRows);
    case c_btnCustom:
        return RowsOf(c_customRows);
    case c_btnFlash:
        return RowsOf(c_flashRows);
    case c_btnPhotoFrame:
        return RowsOf(c_photoFrameRows);
    default:
        return {nullptr, 0};
    }
}

// The default picture name without its extension: the name the editor gives imports.
void ExpectedBaseName(t_str& out, int index, int type, int variant, int property, int window)
{
    if (!MakeDefaultImageName(out, index, type, variant, property, window))
        return;
    for (int i = out.Length() - 1; i >= 0; --i) {
        if (out.CharAt(i) == L'.') {
            out.Truncate(i);
            return;
        }
        if (out.CharAt(i) == L'\\')
            return;
    }
}
}  // namespace

BtnView::BtnView(const t_btnDesc* table, int builtInCount, int windowIndex)
    : BtnCtrlBase(table, builtInCount, windowIndex), m_current(-1), m_area(), m_parent(nullptr), m_set(nullptr),
      m_style(0), m_instance(nullptr), m_list(nullptr), m_created(false)
{
    for (int flat = 0; flat < builtInCount; ++flat)
        m_editors.push_back({NewEditor(flat), true});
}

BtnView::~BtnView()
{
    for (int flat = EditorCount() - 1; flat >= 0; --flat)
        DestroyEditor(flat);
}

ButtonArray* BtnView::NewEditor(int flat) const
{
    const t_btnDesc button = FromFlat(flat);
    ButtonArray* editor = CreateButtonArray(m_windowIndex, flat, button.index, button.type);
    BuildButtonGroup(*editor, button.index, button.type);
    return editor;
}

void BtnView::BuildButtonGroup(ButtonArray& editor, int index, int type) const
{
    const t_btnSetDesc* setDesc = ButtonSetDescOf(m_windowIndex);
    t_str key;
    MakePropertyKey(key, index, type, PlacementPropertyOf(setDesc && setDesc->align));
    editor.SetPropertyKey(key.c_str());
    const int variants = ButtonVariantCountOf(index, type);
    for (int variant = 0; variant < variants; ++variant) {
        const wchar_t* caption = ButtonVariantCaptionOf(index, type, variant);
        editor.AddGroup(variant, caption ? caption : L"");
        const t_rowSet rows = StateRows(index, type, variant);
        for (int r = 0; r < rows.count; ++r) {
            const int property = rows.properties[r];
            const wchar_t* rowCaption = PropertyCaptionOf(property);
            // The normal picture leads its group: its changes are reported upwards, and the
            // first variant's cannot be cleared (a button needs its normal picture).
            const bool lead = property == c_propNormal;
            editor.AddRow(variant, property, rowCaption ? rowCaption : L"", lead, !(lead && variant == 0));
            t_str expected;
            ExpectedBaseName(expected, index, type, variant, property, m_windowIndex);
            MakePropertyKey(key, index, type, property);
            editor.SetRowProperty(variant, property, key.c_str(), variant, expected.c_str());
        }
    }
}

bool BtnView::Create(DWORD style, HWND parent, HINSTANCE instance)
{
    m_style = style;
    m_parent = parent;
    m_instance = instance;
    m_created = true;
    if (m_windowIndex != c_windowStatusBar)
        return true;
    for (int flat = 0; flat < EditorCount(); ++flat) {
        if (!CreateEditorWindow(flat))
            return false;
    }
    return true;
}

bool BtnView::CreateEditorWindow(int flat)
{
    t_editor& slot = m_editors[static_cast<size_t>(flat)];
    if (slot.editor->IsCreated())
        return true;
    if (!m_created || !slot.editor->CreateEditor(m_style, m_parent, m_instance))
        return false;
    slot.editor->ShowExtra(slot.shown);
    return true;
}

void BtnView::DestroyEditor(int flat)
{
    ButtonArray* editor = m_editors[static_cast<size_t>(flat)].editor;
    const HWND window = editor->GetHwnd();
    if (window && IsWindow(window))
        DestroyWindow(window);
    delete editor;
    m_editors.erase(m_editors.begin() + flat);
}

ButtonArray* BtnView::Editor(int flat) const
{
    return flat >= 0 && flat < EditorCount() ? m_editors[static_cast<size_t>(flat)].editor : nullptr;
}

void BtnView::Load(BtnInfo& set)
{
    m_set = &set;
    if (m_copy)
        set.CopyTo(*m_copy);
    else
        m_copy.reset(new BtnInfo(set));
    const int builtIn = Count(c_btnBuiltIn);
    for (int flat = EditorCount() - 1; flat >= builtIn; --flat)
        DestroyEditor(flat);
    if (m_current >= builtIn)
        m_current = -1;
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type)
        SetCount(type, 0);
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        for (int index = 0; index < set.Count(type); ++index) {
            SetCount(type, index + 1);
            const int flat = ToFlat(index, type);
            m_editors.insert(m_editors.begin() + flat, {NewEditor(flat), true});
            if (m_windowIndex == c_windowStatusBar && m_created)
                CreateEditorWindow(flat);
        }
    }
    for (t_editor& slot : m_editors) {
        if (slot.editor->IsCreated())
            slot.editor->LoadFromModel(set);
    }
    set.Save();
}

void BtnView::SaveTo(BtnInfo& set)
{
    if (m_copy)
        m_copy->CopyTo(set);
    for (t_editor& slot : m_editors) {
        if (slot.editor->IsCreated())
            slot.editor->StoreToModel(set);
    }
}

void BtnView::Select(int flat, bool force)
{
    if (flat < 0 || flat >= EditorCount())
        return;
    ButtonArray* editor = m_editors[static_cast<size_t>(flat)].editor;
    if (!editor->IsCreated()) {
        if (!CreateEditorWindow(flat))
            return;
        if (m_set)
            editor->LoadFromModel(*m_set);
    }
    if (flat == m_current && !force)
        return;
    m_current = flat;
    PlaceCurrent();
    editor->Show(SW_SHOW);
    InvalidateRect(editor->GetHwnd(), nullptr, TRUE);
    UpdateWindow(editor->GetHwnd());
    for (int other = 0; other < EditorCount(); ++other) {
        ButtonArray* hidden = m_editors[static_cast<size_t>(other)].editor;
        if (other != flat && hidden->IsCreated())
            hidden->Show(SW_HIDE);
    }
}

void BtnView::PlaceCurrent()
{
    ButtonArray* editor = Editor(m_current);
    if (!editor || !editor->IsCreated())
        return;
    RECT rect = m_area;
    if (m_list && m_parent) {
        RECT list;
        GetWindowRect(m_list, &list);
        MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&list), 2);
        OffsetRect(&rect, list.left - rect.left, list.bottom + c_gapBelowList - rect.top);
    }
    editor->Place(rect);
}

void BtnView::SetArea(const RECT& area)
{
    m_area = area;
    PlaceCurrent();
}

void BtnView::MaxEditorSize(int& width, int& height) const
{
    width = 0;
    height = 0;
    for (const t_editor& slot : m_editors) {
        int w = 0;
        int h = 0;
        slot.editor->GetContentSize(w, h);
        if (w > width)
            width = w;
        if (h > height)
            height = h;
    }
}

bool BtnView::FirstEditorRect(RECT& out) const
{
    const ButtonArray* editor = Editor(0);
    if (!editor || !editor->IsCreated())
        return false;
    return GetWindowRect(editor->GetHwnd(), &out) != FALSE;
}

int BtnView::AddEditor(int type)
{
    if (type <= c_btnBuiltIn || type >= c_btnTypeCount)
        return -1;
    const int index = Count(type);
    SetCount(type, index + 1);
    const int flat = ToFlat(index, type);
    // The working copy holds every button the view shows, so that a save keeps it.
    if (m_copy)
        m_copy->AddButton(index, type);
    m_editors.insert(m_editors.begin() + flat, {NewEditor(flat), true});
    if (CreateEditorWindow(flat) && m_set)
        m_editors[static_cast<size_t>(flat)].editor->LoadFromModel(*m_set);
    if (m_current >= flat)
        ++m_current;
    // Editors of the later types moved one place on: their numbers follow.
    RenumberFrom(flat + 1);
    return flat;
}

bool BtnView::DeleteEditor(int flat)
{
    if (flat < Count(c_btnBuiltIn) || flat >= EditorCount())
        return false;
    const t_btnDesc button = FromFlat(flat);
    if (button.type <= c_btnBuiltIn)
        return false;
    if (m_copy)
        m_copy->RemoveButton(button.index, button.type);
    DestroyEditor(flat);
    SetCount(button.type, Count(button.type) - 1);
    if (m_current == flat)
        m_current = -1;
    else if (m_current > flat)
        --m_current;
    RenumberFrom(flat);
    return true;
}

void BtnView::RenumberFrom(int first)
{
    for (int flat = first; flat < EditorCount(); ++flat) {
        t_editor& slot = m_editors[static_cast<size_t>(flat)];
        const bool created = slot.editor->IsCreated();
        const bool visible = created && IsWindowVisible(slot.editor->GetHwnd());
        const HWND window = slot.editor->GetHwnd();
        if (window && IsWindow(window))
            DestroyWindow(window);
        delete slot.editor;
        // A fresh editor carries the new number, index, keys, captions and picture names.
        slot.editor = NewEditor(flat);
        if (!created || !CreateEditorWindow(flat))
            continue;
        if (m_set)
            slot.editor->LoadFromModel(*m_set);
        if (flat == m_current) {
            PlaceCurrent();
            slot.editor->Show(visible ? SW_SHOW : SW_HIDE);
        } else {
            slot.editor->Show(SW_HIDE);
        }
    }
}

void BtnView::SetButtonPosition(int flat, int x, int y)
{
    ButtonArray* editor = Editor(flat);
    if (editor && editor->IsCreated())
        editor->SetPos(x, y);
}

void BtnView::SetButtonShown(int flat, bool shown)
{
    if (flat < 0 || flat >= EditorCount())
        return;
    t_editor& slot = m_editors[static_cast<size_t>(flat)];
    slot.shown = shown;
    if (slot.editor->IsCreated())
        slot.editor->ShowExtra(shown);
}
