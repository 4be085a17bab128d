// The status-bar part (index 6) of the skin model: the status bar's own keys of section
// StatusBar (picture, mask, transparent colour, opacity), kept in typed cells addressed by
// key and list position. The status bar's buttons live in the same section but belong to
// a button set.
#pragma once

#include "skin_model/base_info.h"

#include <map>
#include <string>
#include <vector>

class StatusInfo : public BaseInfo {
public:
    // Builds the item table on first use.
    StatusInfo();
    // Deletes the cells of the item table with the last part.
    ~StatusInfo() override;

    bool Load() override;
    bool Save() override;
    // Every cell back to its default.
    bool Reset() override;
    t_partIndex PartIndex() const override { return t_partIndex::e_statusBar; }
    bool UsesPngOrGif() const override;

    // Enters every cell of the table under its key, in table order; false (and an
    // empty map) when one cell is met twice.
    bool BuildKeyMap();

    // The first cell with exactly this key (case-sensitive) and list position; null when none.
    InfoItem* FindItem(const wchar_t* key, int position) const;
    // False when the cell is missing or of the other kind.
    bool GetInt(const wchar_t* key, int position, int& out) const;
    bool SetInt(const wchar_t* key, int position, int value);
    bool GetString(const wchar_t* key, int position, t_str& out) const;
    bool SetString(const wchar_t* key, int position, const wchar_t* text);
    void ResetItem(const wchar_t* key, int position);

    // The process-wide table of the status bar's cells, null-terminated.
    static InfoItem* const* ItemTable();

    // 1 after construction and after every load; the status-bar page owns it.
    unsigned char editorFlag;

private:
    // Key -> item numbers in the table, in table order.
    std::map<std::wstring, std::vector<int>> m_keyMap;
};
