// What the four window-layout parts share: one key table per section that serves
// load, save and reset alike, and the import of background pictures into the work folder.
#pragma once

#include "skin_model/base_info.h"

struct t_layoutKey;

class LayoutInfo : public BaseInfo {
public:
    // A layout keeps its values when the skin closes.
    bool Clear() override { return true; }
    // Resets, then reads every key of the table.
    bool Load() override;
    // Imports the pictures, then writes the section's keys. A picture that cannot be
    // copied keeps its old path, the part's message tells why, and the result is false.
    bool Save() override;
    bool Reset() override;
    bool ImportPictures() override;
    // True when a window with a picture names a PNG or GIF file.
    bool UsesPngOrGif() const override;

    const wchar_t* Section() const { return m_section; }

    bool transparentEnabled;
    COLORREF transparentColor;
    // Percent 0..100; the file holds an alpha value.
    int opacity;
    int anchor[2];

protected:
    // section: "Scheme_H1" and so on; picturePrefix: "skin1" (horizontal) or "skin2";
    // keys: the section's own keys in the order they are written (the keys every layout
    // shares follow them); vertical picks the vertical defaults where the table has them.
    LayoutInfo(const wchar_t* section, const wchar_t* picturePrefix, const t_layoutKey* keys, int keyCount,
               bool vertical);

private:
    // The section's own keys, then the shared ones.
    template <class Visit>
    void ForEachKey(Visit visit) const;
    void ReadKey(const t_layoutKey& k);
    bool WriteKey(const t_layoutKey& k) const;
    void ResetKey(const t_layoutKey& k);
    // "%d" values joined by ","; the first as "0x%x" when firstHex.
    bool WriteList(const wchar_t* key, const int* values, int n, bool firstHex = false) const;

    const wchar_t* m_section;
    const wchar_t* m_picturePrefix;
    const t_layoutKey* m_keys;
    int m_keyCount;
    bool m_vertical;
};

// How a layout key is read and written.
enum class t_layoutForm {
    // A window's background picture: a text that is no image file name loads empty; the
    // window's has-picture flag follows it.
    e_picture,
    // The mask of a window's picture; imported only when the window has a picture.
    e_mask,
    // Integers written "%d,%d,..."; positions the text does not reach keep reset values.
    e_list,
    // "0x%x,%d,%d" when the flag is set, the empty text when not; an empty or missing
    // key clears the flag and loads the missing text.
    e_separator,
    // The part's own fields: "1"/"0"; "0x%x" or "-1" when disabled; an alpha value
    // 0..255 held as a percent.
    e_transparentEnable,
    e_transparentColor,
    e_opaque,
};

// Defaults of a list: the text a missing key loads and the values of a new skin.
struct t_listDefaults {
    const wchar_t* missing;
    int reset[4];
};

// One key of a layout section. Fields are members of the concrete part, reached
// through LayoutInfo; only those that fit the form are set.
struct t_layoutKey {
    const wchar_t* key;
    t_layoutForm form;
    // Picture and mask: the file name; the window's has-picture flag.
    wchar_t (LayoutInfo::*text)[BaseInfo::c_pathChars];
    // Picture, mask: the window's has-picture flag; separator: its enabled flag.
    bool LayoutInfo::*flag;
    // List and separator: the values, by their count.
    int (LayoutInfo::*list2)[2];
    int (LayoutInfo::*list3)[3];
    int (LayoutInfo::*list4)[4];
    // Picture and mask: appended to the part's picture prefix to name the imported copy.
    const wchar_t* importSuffix;
    t_listDefaults horizontal;
    // Where the vertical form differs (missing null: as horizontal).
    t_listDefaults vertical;

    int Count() const { return list2 ? 2 : list3 ? 3 : list4 ? 4 : 0; }
    int* Values(LayoutInfo& part) const
    {
        return list2 ? part.*list2 : list3 ? part.*list3 : list4 ? part.*list4 : nullptr;
    }
    const int* Values(const LayoutInfo& part) const { return Values(const_cast<LayoutInfo&>(part)); }
    const t_listDefaults& Defaults(bool verticalForm) const
    {
        return verticalForm && vertical.missing ? vertical : horizontal;
    }
};

// Builders of table rows from the concrete part's members.
template <class Part>
constexpr t_layoutKey LayoutPicture(const wchar_t* key, wchar_t (Part::*pic)[BaseInfo::c_pathChars], bool Part::*hasPic,
                                    const wchar_t* importSuffix, bool mask = false)
{
    return {key,
            mask ? t_layoutForm::e_mask : t_layoutForm::e_picture,
            static_cast<wchar_t(LayoutInfo::*)[BaseInfo::c_pathChars]>(pic),
            static_cast<bool LayoutInfo::*>(hasPic),
            nullptr,
            nullptr,
            nullptr,
            importSuffix,
            {},
            {}};
}

template <class Part, int N>
constexpr t_layoutKey LayoutList(const wchar_t* key, int (Part::*values)[N], t_listDefaults horizontal,
                                 t_listDefaults vertical = {}, bool Part::*separatorFlag = nullptr)
{
    static_assert(N >= 2 && N <= 4, "lists of two to four values");
    t_layoutKey row = {key,        separatorFlag ? t_layoutForm::e_separator : t_layoutForm::e_list,
                       nullptr,    static_cast<bool LayoutInfo::*>(separatorFlag),
                       nullptr,    nullptr,
                       nullptr,    nullptr,
                       horizontal, vertical};
    if constexpr (N == 2)
        row.list2 = static_cast<int(LayoutInfo::*)[2]>(values);
    else if constexpr (N == 3)
        row.list3 = static_cast<int(LayoutInfo::*)[3]>(values);
    else
        row.list4 = static_cast<int(LayoutInfo::*)[4]>(values);
    return row;
}
