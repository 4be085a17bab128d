// The buttons of one skinned window as a model part: the 13 built-in buttons plus
// custom, Flash and photo-frame buttons, every property held in typed cells keyed by
// its full Skin.ini key.
#pragma once

#include "foundation/core/str.h"
#include "skin_model/base_info.h"
#include "skin_model/btn_ctrl_base.h"
#include "skin_model/button_keys.h"

#include <array>
#include <map>
#include <string>
#include <vector>

// Where the buttons of a window live in Skin.ini.
struct t_btnSetDesc {
    const wchar_t* section;
    const wchar_t* prefix;  // null: keys carry no prefix
    bool align;             // placement by align (windows) or by pos (status bar)
};

// The set of a window (c_windowStatusBar .. c_windowVerticalCand); null out of range.
const t_btnSetDesc* ButtonSetDescOf(int window);

class BtnInfo : public BaseInfo, public BtnCtrlBase {
public:
    typedef std::vector<InfoItem*> t_cells;
    // One vector of cells per property, in property order.
    typedef std::array<t_cells, c_propCount> t_row;

    BtnInfo(int window, const wchar_t* section, const wchar_t* prefix, bool align);
    // The editor's working copy: same window and keys, values copied.
    BtnInfo(const BtnInfo& other);
    ~BtnInfo() override;
    BtnInfo& operator=(const BtnInfo&) = delete;

    // The set of a window from the table above; null out of range.
    static BtnInfo* New(int window);

    const wchar_t* Section() const { return m_section; }
    const wchar_t* KeyPrefix() const { return m_prefix; }
    bool AlignFlag() const { return m_align; }

    // Rows: the built-in buttons by index, then custom, Flash and photo-frame buttons.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const t_row& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
    // Row of an existing button, -1 otherwise.
    int RowOf(int index, int type) const;

    // prefix + "_" + key when the set has a prefix, else the key.
    void FullKey(t_str& out, const wchar_t* key) const;

    // Adds an extra button. Buttons between the type's count and index are added too,
    // so that a type stays numbered 0..count-1. False for a built-in type or an index
    // the type helper rejects; true when the button exists already.
    bool AddButton(int index, int type);
    // Removes an extra button and renumbers the following ones of its type.
    void RemoveButton(int index, int type);
    void RemoveAllExtraButtons();

    // key: the property key without the set's prefix.
    InfoItem* FindItem(const wchar_t* key, int position) const;
    // FindItem; a missing key that names an extra button adds that button.
    InfoItem* FindOrAddItem(const wchar_t* key, int position);

    // False, changing nothing, for a key that names no button or a cell of the other kind.
    bool GetIntByKey(const wchar_t* key, int position, int& out);
    bool SetIntByKey(const wchar_t* key, int position, int value);
    bool GetStringByKey(const wchar_t* key, int position, t_str& out);
    // Setting the disabled picture (position 1) of a page button sets it for all states.
    bool SetStringByKey(const wchar_t* key, int position, const wchar_t* text);
    void ResetCellByKey(const wchar_t* key, int position);

    void SetButtonVisible(int index, int type, bool visible);
    bool IsButtonVisible(int row) const;
    void SetButtonRowVisible(int row, bool visible);

    // True when every text cell is empty once outer blanks are removed.
    static bool AllCellsEmpty(const t_cells& cells);

    // The page buttons are shown together or not at all: when only one is hidden, the
    // other is hidden too and the message names the hidden one. False then.
    bool SyncPageKeys();

    // Makes target hold the same extra buttons and values. False for a target of
    // another window's keys.
    bool CopyTo(BtnInfo& target) const;

    bool Load() override;
    bool Save() override;
    bool Reset() override;
    t_partIndex PartIndex() const override { return ButtonSetPartOf(m_windowIndex); }
    bool UsesPngOrGif() const override;

private:
    struct t_keyEntry {
        t_cells cells;
        int property;
    };
    typedef std::map<std::wstring, t_keyEntry> t_keyMap;

    void CreateBuiltInButtons();
    void AppendButtonRow(int index, int type, int rowIndex);
    // buttonKey: the button's key with the set's prefix.
    void CreatePropertyCells(const t_str& buttonKey, int variantCount, int property, t_row& row);
    void ReadKey(const std::wstring& key, t_keyEntry& entry) const;
    bool WriteCells(const wchar_t* key, const t_cells& cells) const;
    void CopyPagePicture(const wchar_t* key, const wchar_t* text);
    void AppendHiddenMessage(int builtInIndex);
    std::wstring FullKeyOf(int index, int type, int property) const;

    const wchar_t* m_section;
    const wchar_t* m_prefix;
    t_keyMap m_map;
    std::vector<t_row> m_rows;
    bool m_align;
};
