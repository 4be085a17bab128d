// The DirectUI element tree: markup elements that lay themselves out in rows, stretch to a
// size, draw into a paint context and answer clicks. Windows and host services stay outside,
// behind DuDelegate.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class t_paintCtx;
class TiXmlNode;
class TiXmlElement;

namespace DirectUI {

class DuDelegate;

enum DuType : int32_t {
    e_duFrame = 0,
    e_duText = 1,
    e_duImage = 2,
    e_duLink = 3,
    e_duButton = 4,
    e_duRadio = 5,
    e_duCheck = 6,
    e_duWindow = 7,
    e_duBr = 8,
    e_duTypeCount = 9
};

enum DuAlign : int32_t {
    e_duAlignLeft = 0,
    e_duAlignCenter = 1,
    e_duAlignRight = 2
};

enum DuVAlign : int32_t {
    e_duVAlignTop = 0,
    e_duVAlignMiddle = 4,
    e_duVAlignBottom = 8
};

// Sizes and positions from markup are kept within this range so sums of many of them stay
// far from overflow.
const int c_duMaxCoordinate = 1000000;
// Deepest element nesting a tree accepts; deeper markup is refused before parsing.
const int c_duMaxDepth = 64;

class DuElement {
public:
    DuElement();
    virtual ~DuElement();
    DuElement(const DuElement&) = delete;
    DuElement& operator=(const DuElement&) = delete;

    virtual bool SetAttribute(const wchar_t* name, const wchar_t* value);
    virtual bool LoadFromNode(const TiXmlNode* node);
    virtual bool AddChildElement(const TiXmlElement* xml);
    virtual bool AddText(const wchar_t* text, DuElement* parent);
    virtual bool DrawSelf(t_paintCtx& ctx, int x, int y);
    virtual bool MeasureSelf(t_paintCtx& ctx);
    virtual bool ApplySize(t_paintCtx& ctx, SIZE size);
    // Clicks and hit tests take the point in the coordinates DrawTree was given, and the
    // origin that DrawTree would pass this element (parent and alignment offsets included).
    virtual bool OnClick(POINT point, int originX, int originY);
    virtual bool HitTest(POINT point, int originX, int originY);
    virtual bool ReleaseCache();

    // The element of a type (types outside 1..8 make a frame), sharing the delegate.
    static DuElement* CreateElement(int type, DuDelegate* delegate);
    // Type of a tag name (case-insensitive), -1 when it names no element.
    static int TypeOfTag(const wchar_t* tag);

    void DrawTree(t_paintCtx& ctx, int x, int y);
    void LayoutTree(t_paintCtx& ctx);
    void Stretch(t_paintCtx& ctx, SIZE size);
    void ReleaseTree();
    void ClearChildren();
    // Click and hit test of the tree drawn at (x, y).
    bool ClickTree(POINT point, int x = 0, int y = 0) { return OnClick(point, x, y); }
    bool HitTestTree(POINT point, int x = 0, int y = 0) { return HitTest(point, x, y); }

    int Type() const { return m_type; }
    int X() const { return m_x; }
    int Y() const { return m_y; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int ContentWidth() const { return m_contentWidth; }
    int ContentHeight() const { return m_contentHeight; }
    int DeclaredWidth() const { return m_declaredWidth; }
    int DeclaredHeight() const { return m_declaredHeight; }
    int Align() const { return m_align; }
    int VAlign() const { return m_valign; }
    int RowCount() const { return m_rowCount; }
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enable; }
    bool HasFixedWidth() const { return m_fixedWidth; }
    bool HasFixedHeight() const { return m_fixedHeight; }
    int Margin(int side) const { return side >= 0 && side < 4 ? m_margin[side] : 0; }
    const std::vector<DuElement*>& Children() const { return m_children; }
    DuDelegate* Delegate() const { return m_delegate; }

protected:
    bool IsLineBreak() const { return m_type == e_duBr; }
    // Offset DrawTree adds for a child placed by its align and valign.
    POINT ChildOffset(const DuElement& child) const;
    bool Contains(POINT point, int originX, int originY) const;
    // True when the point is inside this element and test (OnClick or HitTest) holds for a child.
    bool AnyChildAt(POINT point, int originX, int originY, bool (DuElement::*test)(POINT, int, int));

    int32_t m_align = e_duAlignLeft;
    int32_t m_valign = e_duVAlignTop;
    std::vector<DuElement*> m_children;
    DuDelegate* m_delegate = nullptr;
    int32_t m_type = e_duFrame;
    bool m_visible = true;
    bool m_enable = true;
    int32_t m_x = 0, m_y = 0;
    int32_t m_width = 0, m_height = 0;
    int32_t m_contentWidth = 0, m_contentHeight = 0;
    int32_t m_declaredWidth = 0, m_declaredHeight = 0;
    bool m_fixedWidth = false, m_fixedHeight = false;
    int32_t m_margin[4] = {};
    int32_t m_rowCount = 1;
    // Nesting depth below the root, bounding the recursion of loading.
    int32_t m_depth = 0;
};

// Adds two coordinates, saturating at the coordinate range.
int DuAdd(int a, int b);

}  // namespace DirectUI
