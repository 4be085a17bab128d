// One element of a rich-hint line: measured into a cell, painted into it, and answering the
// mouse. Points and origins are in the coordinates of the surface the row is painted on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/richhint/rich_hint_attributes.h"

class t_paintCtx;
class t_wndRichHintDelegate;

class t_wndRichHintElement {
public:
    enum t_kind : int32_t {
        e_text = 0,
        e_boldText = 1,
        e_image = 3,
        e_link = 4,
        e_button = 5,
        e_radio = 6,
        e_checkBox = 7,
        e_styledText = 8,
    };
    // The values double as the DrawText horizontal flags.
    enum t_align : int32_t {
        e_left = 0,
        e_centre = 1,
        e_right = 2
    };

    t_wndRichHintElement(t_kind kind, t_wndRichHintDelegate* delegate);
    virtual ~t_wndRichHintElement();
    t_wndRichHintElement(const t_wndRichHintElement&) = delete;
    t_wndRichHintElement& operator=(const t_wndRichHintElement&) = delete;

    // Reads the element's attributes from its whole token ("<a ...>"); module holds its
    // pictures (null: the resource library).
    virtual void ParseAttributes(const wchar_t* token, int length, HMODULE module) = 0;
    // Sets content and cell size; size receives them.
    virtual void Measure(t_paintCtx& context, SIZE& size) = 0;
    // Paints into the cell at origin.
    virtual void Paint(t_paintCtx& context, POINT origin, SIZE cellSize) = 0;
    // Deletes the element.
    void Release();

    SIZE GetCellSize() const { return {cellWidth, cellHeight}; }
    SIZE GetContentSize() const { return {contentWidth, contentHeight}; }

    // Mouse handlers; origin is the element's own cell origin. True when the element took
    // the event. A handler that reports to the delegate does so last: the delegate may
    // release the element.
    virtual bool OnMouseMove(POINT origin, POINT point);
    virtual bool OnLButtonDown(POINT origin, POINT point);
    virtual bool OnLButtonUp(POINT origin, POINT point);
    virtual bool OnLeave();

    // The content's rectangle in a cell at origin: aligned across, centred down.
    void GetRectInRow(POINT origin, SIZE cellSize, RECT& rect) const;
    int GetVOffset() const { return vOffset; }

    t_kind Kind() const { return kind; }
    t_align Align() const { return align; }
    t_wndRichHintDelegate* Delegate() const { return delegate; }
    void SetCellSize(int width, int height)
    {
        cellWidth = width;
        cellHeight = height;
    }

protected:
    // Content and cell both become size.
    void SetMeasured(SIZE size);
    // Reads the attributes of a tag token (see ParseRichHintAttributes): "align" sets the
    // alignment, every other attribute goes to read(name, value).
    template <class t_read>
    void ReadAttributes(const wchar_t* token, int length, bool quotedEquals, t_read read)
    {
        itl::ImmSimpleArray<t_richHintAttribute> attributes;
        ParseRichHintAttributes(token, length, quotedEquals, attributes);
        for (int i = 0; i < attributes.Count(); ++i) {
            if (attributes[i].name.Equals(L"align"))
                align = static_cast<t_align>(RichHintAlign(attributes[i].value));
            else
                read(attributes[i].name, attributes[i].value);
        }
    }

    int32_t cellWidth = 0, cellHeight = 0;
    t_kind kind;
    t_align align = e_left;
    int32_t contentWidth = 0, contentHeight = 0;
    t_wndRichHintDelegate* delegate;
    int32_t vOffset = 0;
};
