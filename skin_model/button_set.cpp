#include "skin_model/button_set.h"

#include "skin_model/btn_type_helper.h"

#include <cwchar>
#include <utility>

namespace {

// Position 8 of align starts at 6; every other int cell starts at 0.
const int c_alignDefaultPosition = 8;
const int c_alignDefault = 6;

const t_btnSetDesc c_sets[c_buttonWindowCount] = {
    {L"StatusBar", nullptr, false}, {L"Scheme_H1", nullptr, true}, {L"Scheme_H2", L"comp", true},
    {L"Scheme_H2", L"cand", true},  {L"Scheme_V1", nullptr, true}, {L"Scheme_V2", L"comp", true},
    {L"Scheme_V2", L"cand", true},
};

bool SameText(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b)
        return a == b;
    return wcscmp(a, b) == 0;
}

bool IsBlankText(const t_str& text)
{
    for (int i = 0; i < text.Length(); ++i) {
        if (text.CharAt(i) != L' ')
            return false;
    }
    return true;
}

}  // namespace

const t_btnSetDesc* ButtonSetDescOf(int window)
{
    return window >= 0 && window < c_buttonWindowCount ? &c_sets[window] : nullptr;
}

BtnInfo::BtnInfo(int window, const wchar_t* section, const wchar_t* prefix, bool align)
    : BtnCtrlBase(BuiltInOrderTable(), c_builtInButtonCount, window), m_section(section), m_prefix(prefix),
      m_align(align)
{
    CreateBuiltInButtons();
}

BtnInfo::BtnInfo(const BtnInfo& other)
    : BaseInfo(), BtnCtrlBase(other.m_orderTable, c_builtInButtonCount, other.m_windowIndex),
      m_section(other.m_section), m_prefix(other.m_prefix), m_align(other.m_align)
{
    CreateBuiltInButtons();
    other.CopyTo(*this);
}

BtnInfo::~BtnInfo()
{
    for (auto& pair : m_map) {
        for (InfoItem* cell : pair.second.cells)
            delete cell;
    }
}

BtnInfo* BtnInfo::New(int window)
{
    const t_btnSetDesc* desc = ButtonSetDescOf(window);
    return desc ? new BtnInfo(window, desc->section, desc->prefix, desc->align) : nullptr;
}

int BtnInfo::RowOf(int index, int type) const
{
    if (!Exists(index, type))
        return -1;
    if (type == c_btnBuiltIn)
        return index < RowCount() ? index : -1;
    return ToFlat(index, type);
}

void BtnInfo::FullKey(t_str& out, const wchar_t* key) const
{
    out.Clear();
    if (m_prefix) {
        out.Assign(m_prefix);
        out.AppendChar(L'_');
    }
    out.Append(key);
}

std::wstring BtnInfo::FullKeyOf(int index, int type, int property) const
{
    t_str key;
    t_str full;
    MakePropertyKey(key, index, type, property);
    FullKey(full, key.c_str());
    return std::wstring(full.c_str(), static_cast<size_t>(full.Length()));
}

void BtnInfo::CreateBuiltInButtons()
{
    for (int i = 0; i < c_builtInButtonCount; ++i)
        AppendButtonRow(i, c_btnBuiltIn, i);
    m_counts[c_btnBuiltIn] = c_builtInButtonCount;
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type)
        m_counts[type] = 0;
}

void BtnInfo::AppendButtonRow(int index, int type, int rowIndex)
{
    // The button's key and variant count are looked up once for its 14 properties.
    t_str buttonKey;
    FullKey(buttonKey, ButtonKeyOf(index, type));
    const int variantCount = ButtonVariantCountOf(index, type);
    t_row row;
    for (int property = 0; property < c_propCount; ++property)
        CreatePropertyCells(buttonKey, variantCount, property, row);
    m_rows.insert(m_rows.begin() + rowIndex, std::move(row));
}

void BtnInfo::CreatePropertyCells(const t_str& buttonKey, int variantCount, int property, t_row& row)
{
    std::wstring key(buttonKey.c_str(), static_cast<size_t>(buttonKey.Length()));
    if (property != c_propNormal) {
        key += L'_';
        key += PropertyKeyOf(property);
    }
    const int n = PropertyCellCount(property, variantCount);
    const t_cellKind kind = PropertyKind(property);
    t_cells cells;
    cells.reserve(static_cast<size_t>(n));
    for (int position = 0; position < n; ++position) {
        if (property == c_propAlign && position == c_alignDefaultPosition)
            cells.push_back(NewIntCell(key.c_str(), position, c_alignDefault, c_alignDefault));
        else
            cells.push_back(NewCell(kind, key.c_str(), position));
    }
    // Full keys are unique to one property of one button, so the entry is new.
    t_keyEntry& entry = m_map[key];
    entry.cells = cells;
    entry.property = property;
    row[static_cast<size_t>(property)] = std::move(cells);
}

bool BtnInfo::AddButton(int index, int type)
{
    if (type <= c_btnBuiltIn || type >= c_btnTypeCount || !IsValidButton(index, type))
        return false;
    int firstRow = 0;
    for (int t = c_btnBuiltIn; t < type; ++t)
        firstRow += m_counts[t];
    for (int i = m_counts[type]; i <= index; ++i) {
        AppendButtonRow(i, type, firstRow + i);
        m_counts[type] = i + 1;
    }
    return true;
}

void BtnInfo::RemoveButton(int index, int type)
{
    if (type == c_btnBuiltIn || !Exists(index, type))
        return;
    const int following = m_counts[type] - index - 1;
    const int flat = RowOf(index, type);
    t_row& row = m_rows[static_cast<size_t>(flat)];
    for (int property = c_propCount - 1; property >= 0; --property) {
        t_cells& cells = row[static_cast<size_t>(property)];
        if (cells.empty())
            continue;
        // Copied before the cells (which own the name) are deleted.
        const std::wstring key(cells[0]->GetName().c_str());
        for (InfoItem* cell : cells)
            delete cell;
        m_map.erase(key);
    }
    m_rows.erase(m_rows.begin() + flat);
    m_counts[type] -= 1;

    // Each following button takes the keys of the one before it. Old and new keys are
    // held as copies: a cell's name changes under SetName.
    for (int i = 0; i < following; ++i) {
        t_row& moved = m_rows[static_cast<size_t>(flat + i)];
        for (int property = c_propCount - 1; property >= 0; --property) {
            t_cells& cells = moved[static_cast<size_t>(property)];
            if (cells.empty())
                continue;
            const std::wstring oldKey(cells[0]->GetName().c_str());
            const std::wstring newKey = FullKeyOf(index + i, type, property);
            for (InfoItem* cell : cells)
                cell->SetName(newKey.c_str());
            auto found = m_map.find(oldKey);
            t_keyEntry entry = found->second;
            m_map.erase(found);
            m_map[newKey] = entry;
        }
    }
}

void BtnInfo::RemoveAllExtraButtons()
{
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        for (int i = m_counts[type] - 1; i >= 0; --i)
            RemoveButton(i, type);
        m_counts[type] = 0;
    }
}

InfoItem* BtnInfo::FindItem(const wchar_t* key, int position) const
{
    if (!key)
        return nullptr;
    t_str full;
    FullKey(full, key);
    auto found = m_map.find(std::wstring(full.c_str()));
    if (found == m_map.end() || position < 0 || position >= static_cast<int>(found->second.cells.size()))
        return nullptr;
    return found->second.cells[static_cast<size_t>(position)];
}

InfoItem* BtnInfo::FindOrAddItem(const wchar_t* key, int position)
{
    InfoItem* cell = FindItem(key, position);
    if (cell)
        return cell;
    const t_btnDesc button = ParseButtonKey(key);
    if (button.type <= c_btnBuiltIn || !AddButton(button.index, button.type))
        return nullptr;
    return FindItem(key, position);
}

bool BtnInfo::GetIntByKey(const wchar_t* key, int position, int& out)
{
    return GetCellInt(FindOrAddItem(key, position), out);
}

bool BtnInfo::SetIntByKey(const wchar_t* key, int position, int value)
{
    return SetCellInt(FindOrAddItem(key, position), value);
}

bool BtnInfo::GetStringByKey(const wchar_t* key, int position, t_str& out)
{
    return GetCellText(FindOrAddItem(key, position), out);
}

bool BtnInfo::SetStringByKey(const wchar_t* key, int position, const wchar_t* text)
{
    if (!SetCellText(FindOrAddItem(key, position), text))
        return false;
    if (position == 1)
        CopyPagePicture(key, text);
    return true;
}

void BtnInfo::CopyPagePicture(const wchar_t* key, const wchar_t* text)
{
    static const int pageButtons[2] = {c_btnPageDown, c_btnPageUp};
    static const int states[6] = {c_propDown, c_propHover, c_propIn, c_propOut, c_propDowning, c_propUp};
    t_str stateKey;
    for (int button : pageButtons) {
        if (!SameText(key, ButtonKeyOf(button, c_btnBuiltIn)))
            continue;
        for (int state : states) {
            MakePropertyKey(stateKey, button, c_btnBuiltIn, state);
            SetCellText(FindItem(stateKey.c_str(), 1), text);
        }
    }
}

void BtnInfo::ResetCellByKey(const wchar_t* key, int position)
{
    InfoItem* cell = FindItem(key, position);
    if (cell)
        cell->Reset();
}

void BtnInfo::SetButtonVisible(int index, int type, bool visible)
{
    t_str key;
    if (!MakePropertyKey(key, index, type, c_propDisplay))
        return;
    SetIntByKey(key.c_str(), 0, visible ? 1 : 0);
}

bool BtnInfo::IsButtonVisible(int row) const
{
    if (row < 0 || row >= RowCount())
        return false;
    const t_cells& cells = m_rows[static_cast<size_t>(row)][c_propDisplay];
    return !cells.empty() && static_cast<const InfoItemInt*>(cells[0])->GetValue() != 0;
}

void BtnInfo::SetButtonRowVisible(int row, bool visible)
{
    if (row < 0 || row >= RowCount())
        return;
    const t_cells& cells = m_rows[static_cast<size_t>(row)][c_propDisplay];
    if (!cells.empty())
        static_cast<InfoItemInt*>(cells[0])->SetValue(visible ? 1 : 0);
}

bool BtnInfo::AllCellsEmpty(const t_cells& cells)
{
    for (const InfoItem* cell : cells) {
        if (cell->Kind() == t_cellKind::e_text && !IsBlankText(static_cast<const InfoItemString*>(cell)->Text()))
            return false;
    }
    return true;
}

void BtnInfo::AppendHiddenMessage(int builtInIndex)
{
    m_message.Append(ButtonCaptionOf(builtInIndex, c_btnBuiltIn));
    m_message.Append(L"按钮不可见, 翻页键被禁用");
}

bool BtnInfo::SyncPageKeys()
{
    m_message.Clear();
    const bool upShown = IsButtonVisible(RowOf(c_btnPageUp, c_btnBuiltIn));
    const bool downShown = IsButtonVisible(RowOf(c_btnPageDown, c_btnBuiltIn));
    if (upShown == downShown)
        return true;
    AppendHiddenMessage(upShown ? c_btnPageDown : c_btnPageUp);
    SetButtonRowVisible(RowOf(upShown ? c_btnPageUp : c_btnPageDown, c_btnBuiltIn), false);
    return false;
}

bool BtnInfo::CopyTo(BtnInfo& target) const
{
    if (&target == this)
        return true;
    if (!SameText(m_section, target.m_section) || !SameText(m_prefix, target.m_prefix))
        return false;
    target.SetIniPath(m_iniPath);
    target.RemoveAllExtraButtons();
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        if (m_counts[type] > 0)
            target.AddButton(m_counts[type] - 1, type);
    }
    for (size_t r = 0; r < m_rows.size() && r < target.m_rows.size(); ++r) {
        for (size_t p = 0; p < c_propCount; ++p) {
            const t_cells& from = m_rows[r][p];
            const t_cells& to = target.m_rows[r][p];
            for (size_t c = 0; c < from.size() && c < to.size(); ++c)
                from[c]->CopyTo(*to[c]);
        }
    }
    return true;
}

void BtnInfo::ReadKey(const std::wstring& key, t_keyEntry& entry) const
{
    t_cells& cells = entry.cells;
    // Free texts keep their commas: the key has one cell and the whole text is its value.
    if (entry.property == c_propUrl || entry.property == c_propHint) {
        const wchar_t* text = SkinIni::GetText(m_section, key.c_str());
        if (!text) {
            cells[0]->Reset();
            return;
        }
        const Value whole(text);
        cells[0]->ReadFrom(whole);
        return;
    }
    Value* value = SkinIni::GetValue(m_section, key.c_str());
    if (!value) {
        for (InfoItem* cell : cells)
            cell->Reset();
        return;
    }
    if (value->Kind() == t_valueKind::e_list) {
        const ValueArray* list = static_cast<const ValueArray*>(value);
        for (int i = 0; i < list->Count() && i < static_cast<int>(cells.size()); ++i)
            cells[static_cast<size_t>(i)]->ReadFrom(*list->At(i));
    } else {
        cells[0]->ReadFrom(*value);
    }
    delete value;
}

bool BtnInfo::Load()
{
    RemoveAllExtraButtons();
    t_str countKey;
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        FullKey(countKey, CountKeyOf(type));
        Value* value = SkinIni::GetValue(m_section, countKey.c_str());
        if (!value)
            continue;
        int count = 0;
        value->ToInt(count);
        delete value;
        // A count from the file is held to what the type can number, so that a hostile
        // value never makes millions of cells.
        t_btnTypeHelper* helper = TypeHelperOf(type);
        const int limit = helper ? helper->Count() : 0;
        if (count > limit)
            count = limit;
        if (count > 0)
            AddButton(count - 1, type);
    }
    for (auto& pair : m_map)
        ReadKey(pair.first, pair.second);
    return true;
}

bool BtnInfo::WriteCells(const wchar_t* key, const t_cells& cells) const
{
    if (cells.size() == 1) {
        if (cells[0]->Kind() == t_cellKind::e_int)
            return SkinIni::SetInt(m_section, key, static_cast<const InfoItemInt*>(cells[0])->GetValue());
        return SkinIni::SetString(m_section, key, static_cast<const InfoItemString*>(cells[0])->Text().c_str());
    }
    t_str joined;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            joined.AppendChar(L',');
        AppendCellValue(joined, *cells[i]);
    }
    return SkinIni::SetString(m_section, key, joined.c_str());
}

bool BtnInfo::Save()
{
    m_message.Clear();
    bool ok = true;
    for (const t_row& row : m_rows) {
        for (int property = 0; property < c_propCount; ++property) {
            const t_cells& cells = row[static_cast<size_t>(property)];
            if (cells.empty())
                continue;
            if ((property == c_propPos && m_align) || (property == c_propAlign && !m_align))
                continue;
            if ((property == c_propUrl || property == c_propHint) && AllCellsEmpty(cells))
                continue;
            ok = WriteCells(cells[0]->GetName().c_str(), cells) && ok;
        }
    }
    t_str countKey;
    for (int type = c_btnCustom; type < c_btnTypeCount; ++type) {
        FullKey(countKey, CountKeyOf(type));
        ok = SkinIni::SetInt(m_section, countKey.c_str(), m_counts[type]) && ok;
    }
    return ok;
}

bool BtnInfo::Reset()
{
    for (auto& pair : m_map) {
        for (InfoItem* cell : pair.second.cells)
            cell->Reset();
    }
    return true;
}

bool BtnInfo::UsesPngOrGif() const
{
    for (const auto& pair : m_map) {
        for (const InfoItem* cell : pair.second.cells) {
            if (cell->Kind() == t_cellKind::e_text &&
                BaseInfo::IsPngOrGif(static_cast<const InfoItemString*>(cell)->Text().c_str()))
                return true;
        }
    }
    return false;
}
