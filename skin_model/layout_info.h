// What the four window-layout parts share: transparency, opacity and anchor keys,
// number lists, and the import of background pictures into the work folder.
#pragma once

#include "skin_model/base_info.h"

class LayoutInfo : public BaseInfo {
public:
    // A layout keeps its values when the skin closes.
    bool Clear() override { return true; }
    // Imports the pictures, then writes the section's keys. A picture that cannot be
    // copied keeps its old path, the part's message tells why, and the result is false.
    bool Save() override;
    bool ImportPictures() override;

    const wchar_t* Section() const { return m_section; }

    bool transparentEnabled;
    COLORREF transparentColor;
    // Percent 0..100; the file holds an alpha value.
    int opacity;
    int anchor[2];

protected:
    // section: "Scheme_H1" and so on; picturePrefix: "skin1" (horizontal) or "skin2".
    LayoutInfo(const wchar_t* section, const wchar_t* picturePrefix);

    virtual bool ImportOwnPictures(t_errorChain& errors) = 0;
    // The section's keys in their order, shared keys included (WriteShared).
    virtual bool WriteKeys() = 0;

    void ResetShared();
    void ReadShared();
    bool WriteShared() const;

    // A missing key gives defaultText; elements the text does not reach keep their values.
    void ReadList(const wchar_t* key, const wchar_t* defaultText, int* out, int n) const;
    // "%d" values joined by ","; the first as "0x%x" when firstHex.
    bool WriteList(const wchar_t* key, const int* values, int n, bool firstHex = false) const;
    // Copies the picture into the work folder as picturePrefix + suffix + its extension.
    bool Import(t_errorChain& errors, wchar_t (&picture)[c_pathChars], const wchar_t* suffix) const;

    // A window's background: keys prefix + "pic", "pic_mask", "layout_horizontal" and
    // "layout_vertical" (stretch lists of three), in this order.
    struct t_background {
        wchar_t (&pic)[c_pathChars];
        wchar_t (&mask)[c_pathChars];
        int (&horizontal)[3];
        int (&vertical)[3];
    };
    // True when the picture key names an image file.
    bool ReadBackground(const wchar_t* prefix, const t_background& background, const wchar_t* verticalDefault) const;
    bool WriteBackground(const wchar_t* prefix, const t_background& background) const;
    // The picture as picturePrefix + suffix, its mask as picturePrefix + suffix + "_mask".
    bool ImportBackground(t_errorChain& errors, const t_background& background, const wchar_t* suffix) const;

    const wchar_t* m_section;
    const wchar_t* m_picturePrefix;
};
