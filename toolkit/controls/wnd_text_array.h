// A row or a column of text items laid out by a one-line grid with a gap after each item.
// The composition and candidate strings derive from it: they add the items, choose the
// orientation and the spacing, and style single items by index.
#pragma once

#include <windows.h>

#include <map>

#include "foundation/core/simple_array.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "toolkit/controls/wnd_base.h"
#include "toolkit/controls/wnd_text_item.h"

class t_wndTextArray : public t_wndBase {
public:
    enum t_orientation : int {
        e_row = 0,
        e_column = 1,
    };
    // How an item sits in its cell: stretched from the near edges (any other value), kept
    // against the far edges, or kept and centred.
    enum t_alignKind : int {
        e_alignStretch = 0,
        e_alignFar = 2,
        e_alignCentre = 3,
    };
    // Index of the styling operations that reaches every item.
    static const int c_allItems = -1;
    static const int c_valueCount = 6;
    // L4: gap after each item in a row; L5: gap after each item in a column.
    static const int c_rowGap = 4;
    static const int c_columnGap = 5;

    // Per-item state that the text item itself does not keep.
    struct t_itemState {
        int alignKind = e_alignStretch;
        t_textItemStyle hotStyle = {0, 0, 0, nullptr, false};
        uint32_t underlineColor = 0;
        int underlineValue = 0;
        int linkValue = -1;
        bool hot = false;
    };

    // The grid of the array: its measure refreshes the item placements first and sizes the
    // array element after.
    class t_layoutTexts : public t_layoutGrid {
    public:
        t_layoutTexts(t_wndTextArray* owner, int rows, int columns) : t_layoutGrid(rows, columns), m_owner(owner) {}
        int Measure(t_paintCtx* context) override;

    protected:
        void WatcherGone() override { m_owner = nullptr; }

    private:
        t_wndTextArray* m_owner;  // not owned; null once the array is gone
    };

    t_wndTextArray();
    ~t_wndTextArray() override;

    // Makes a text item child with the text (null: empty) and style; hotStyle is kept for
    // derived factories. Null when the item cannot be made.
    virtual t_wndTextItem* AddTextItem(const wchar_t* text, const t_textItemStyle& style,
                                       const t_textItemStyle& hotStyle, int alignKind, int itemValue);

    void SetItemStyle(int index, const t_textItemStyle& style);
    // Current and default font.
    void SetItemFont(int index, t_font* itemFont);
    // Returns the last item touched (null when none).
    t_wndTextItem* SetItemHotStyle(int index, const t_textItemStyle& hotStyle);
    void SetItemUnderline(int index, uint32_t color, int companion);
    void SetItemAlignKind(int index, int alignKind);
    // The item at hotIndex takes linkValue and turns hot; every other item -1 and not hot.
    void SetHotItem(int hotIndex, int linkValue);
    // The characters of the sixth child when it is a text item; null otherwise.
    const wchar_t* GetItem5Text() const;
    // The text item at index, null when out of range or another kind of child.
    t_wndTextItem* TextItemAt(int index) const;
    // State of a text item child (a default state for anything else).
    t_itemState ItemState(int index) const;

    // Base and current values both become values.
    void SetGeometry(const int (&values)[c_valueCount]);
    // Current values from the base values, scaled by the scale factor unless it is 0 or 1.
    void ApplyScale();
    // Builds the grid for the orientation from the current children. The grid becomes the
    // element's layout and is owned by whoever holds the tree it is put in; the cell layouts
    // are the items' own nodes. Returns null (the grid is no window node).
    t_layoutWnd* CreateLayout() override;
    // True as soon as one child is hit; the array's own rectangle is not tested.
    bool HitTest(int x, int y, int mode) override;

    // The placement record of an item of alignKind under the current gaps.
    t_alignInfo BuildItemAlign(int alignKind) const;
    // Rewrites the placement of every item when the grid still matches the items.
    void RefreshItemAligns(t_layoutGrid& grid);

    int current[c_valueCount];
    int base[c_valueCount];
    int orientation;
    bool derivedFlag;
    itl::ImmSimpleArray<t_layout*> cellLayouts;  // not owned
    double scale;

private:
    // The row grid (one row, a column per child) or the column grid (a row per child).
    t_layoutTexts* CreateLayoutTexts(bool column);
    // Applies fn to the text item at index, or to every text item for c_allItems.
    template <class F>
    t_wndTextItem* ForItems(int index, F fn);

    std::map<const t_wndBase*, t_itemState> m_states;
};
