// Picture values of Skin.ini: a picture file with an optional part rectangle, and the
// state pictures of a button (up to three, one per mode of the button).
#pragma once

#include "ime_ui/skin/skin_value.h"

// A picture: the file (a reference into the document's text), then the origin a, b of
// the part inside the file and its width c and height d (0 and 0: the whole picture).
struct t_SkinImage {
    const wchar_t* file;
    int a;
    int b;
    int c;
    int d;

    // Text form "file" or "file<a;b;c;d>". Clears the record first; fails for an empty
    // text and for a "<" without a following ">". Numbers that don't parse stay 0,
    // numbers past the fourth are ignored. The text is cut in place.
    bool Parse(wchar_t* text);
    // The file alone when all four numbers are 0, else "file<a;b;c;d>".
    void AppendTo(t_str& out) const;
    // File texts compared case-sensitively (none equals empty), then the numbers.
    bool Equals(const t_SkinImage& other) const;
    void Clear() { *this = t_SkinImage{nullptr, 0, 0, 0, 0}; }
};

class SkinImage : public SkinTypeBase_t<t_SkinImage> {
public:
    SkinImage() : SkinTypeBase_t(t_SkinImage{nullptr, 0, 0, 0, 0}) {}
    // Also sets the present flag from its result.
    bool Parse(wchar_t* text) override;
    const wchar_t* Format(t_heap& heap) const override;
    bool IsDefault() const override { return m_value.Equals(m_default); }
};

// Room for one picture per mode of a button.
const int c_btnUiCapacity = 3;

struct t_BtnUi {
    t_SkinImage images[c_btnUiCapacity];
    int count;
};

// A comma-separated list of picture texts; each piece gives one entry, a piece that
// fails gives an empty one. Pieces past the third are ignored: the list has room for
// three. A non-empty text always parses.
class SkinBtnUi : public SkinTypeBase_t<t_BtnUi> {
public:
    SkinBtnUi() : SkinTypeBase_t(t_BtnUi{}) {}
    bool Parse(wchar_t* text) override;
    // None when the count is 0; else the entries joined by ",".
    const wchar_t* Format(t_heap& heap) const override;
    // Counts, then each entry's file text and numbers.
    bool IsDefault() const override;
};
