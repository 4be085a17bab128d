#include "skin_model/status_info.h"

#include <cwchar>

namespace {

const wchar_t c_section[] = L"StatusBar";
const int c_itemCount = 5;

// The cells in table order and a null end; built by the first part, freed by the last.
InfoItem* g_items[c_itemCount + 1];
int g_parts;

void BuildItems()
{
    g_items[0] = NewStringCell(L"pic", 0, L"", L"");
    g_items[1] = NewStringCell(L"pic_mask", 0, L"", L"");
    g_items[2] = NewIntCell(L"transparent_color", 0, 0, 0);
    g_items[3] = NewIntCell(L"transparent_color_enable", 0, 0, 0);
    // An alpha value 0..255 itself; a new skin is opaque.
    g_items[4] = NewIntCell(L"opaque", 0, 0, 255);
    g_items[c_itemCount] = nullptr;
}

void FreeItems()
{
    for (InfoItem*& item : g_items) {
        delete item;
        item = nullptr;
    }
}

}  // namespace

StatusInfo::StatusInfo() : editorFlag(1)
{
    if (g_parts++ == 0)
        BuildItems();
    BuildKeyMap();
}

StatusInfo::~StatusInfo()
{
    if (--g_parts == 0)
        FreeItems();
}

InfoItem* const* StatusInfo::ItemTable() { return g_items; }

bool StatusInfo::BuildKeyMap()
{
    m_keyMap.clear();
    for (int i = 0; g_items[i]; ++i) {
        std::vector<int>& numbers = m_keyMap[g_items[i]->GetName().c_str()];
        for (int n : numbers) {
            if (n == i) {
                m_keyMap.clear();
                return false;
            }
        }
        numbers.push_back(i);
    }
    return true;
}

bool StatusInfo::Load()
{
    editorFlag = 1;
    for (const auto& entry : m_keyMap) {
        const std::vector<int>& numbers = entry.second;
        Value* value = SkinIni::GetValue(c_section, entry.first.c_str());
        if (!value) {
            for (int n : numbers)
                g_items[n]->Reset();
            continue;
        }
        InfoItem* first = g_items[numbers[0]];
        if (value->Kind() == t_valueKind::e_single || (numbers.size() == 1 && first->Kind() == t_cellKind::e_text)) {
            // A text cell that is alone under its key takes the whole text, commas included.
            first->ReadFrom(*value);
        } else {
            const ValueArray* list = static_cast<const ValueArray*>(value);
            for (int j = 0; j < list->Count() && j < static_cast<int>(numbers.size()); ++j)
                g_items[numbers[static_cast<size_t>(j)]]->ReadFrom(*list->At(j));
        }
        delete value;
    }
    return true;
}

bool StatusInfo::Save()
{
    bool ok = true;
    for (const auto& entry : m_keyMap) {
        const std::vector<int>& numbers = entry.second;
        InfoItem* first = g_items[numbers[0]];
        if (numbers.size() == 1) {
            ok &= first->WriteTo(c_section) == 0;
            continue;
        }
        t_str joined;
        for (size_t j = 0; j < numbers.size(); ++j) {
            if (j > 0)
                joined.Append(L", ");
            AppendCellValue(joined, *g_items[numbers[j]]);
        }
        ok &= SkinIni::SetString(c_section, first->GetName().c_str(), joined.c_str());
    }
    return ok;
}

bool StatusInfo::Reset()
{
    for (int i = 0; g_items[i]; ++i)
        g_items[i]->Reset();
    return true;
}

bool StatusInfo::UsesPngOrGif() const
{
    for (const auto& entry : m_keyMap) {
        for (int n : entry.second) {
            const InfoItem* cell = g_items[n];
            if (cell->Kind() == t_cellKind::e_text &&
                IsPngOrGif(static_cast<const InfoItemString*>(cell)->Text().c_str()))
                return true;
        }
    }
    return false;
}

InfoItem* StatusInfo::FindItem(const wchar_t* key, int position) const
{
    if (!key)
        return nullptr;
    for (int i = 0; g_items[i]; ++i) {
        if (g_items[i]->Position() == position && g_items[i]->GetName().Equals(key))
            return g_items[i];
    }
    return nullptr;
}

bool StatusInfo::GetInt(const wchar_t* key, int position, int& out) const
{
    return GetCellInt(FindItem(key, position), out);
}

bool StatusInfo::SetInt(const wchar_t* key, int position, int value)
{
    return SetCellInt(FindItem(key, position), value);
}

bool StatusInfo::GetString(const wchar_t* key, int position, t_str& out) const
{
    return GetCellText(FindItem(key, position), out);
}

bool StatusInfo::SetString(const wchar_t* key, int position, const wchar_t* text)
{
    return SetCellText(FindItem(key, position), text);
}

void StatusInfo::ResetItem(const wchar_t* key, int position)
{
    if (InfoItem* cell = FindItem(key, position))
        cell->Reset();
}
