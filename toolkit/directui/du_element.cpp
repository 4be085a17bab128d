#include "toolkit/directui/du_element.h"

#include <tinyxml.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "toolkit/directui/du_strings.h"
#include "toolkit/directui/du_text.h"

namespace DirectUI {

namespace {

const wchar_t* const c_tagNames[e_duTypeCount] = {L"frame", L"text",  L"image",  L"link", L"button",
                                                  L"radio", L"check", L"window", L"br"};

bool IsTrue(const wchar_t* value) { return value && _wcsicmp(value, L"true") == 0; }

}  // namespace

int DuAdd(int a, int b)
{
    long long sum = static_cast<long long>(a) + b;
    if (sum > c_duMaxCoordinate)
        return c_duMaxCoordinate;
    if (sum < -c_duMaxCoordinate)
        return -c_duMaxCoordinate;
    return static_cast<int>(sum);
}

DuElement::DuElement() = default;

DuElement::~DuElement() { ClearChildren(); }

void DuElement::ClearChildren()
{
    for (DuElement* child : m_children)
        delete child;
    m_children.clear();
}

int DuElement::TypeOfTag(const wchar_t* tag)
{
    if (!tag)
        return -1;
    for (int type = 0; type < e_duTypeCount; ++type) {
        if (_wcsicmp(tag, c_tagNames[type]) == 0)
            return type;
    }
    return -1;
}

bool DuElement::SetAttribute(const wchar_t* name, const wchar_t* value)
{
    if (!name || !value)
        return false;
    if (_wcsicmp(name, L"visible") == 0) {
        m_visible = IsTrue(value);
    } else if (_wcsicmp(name, L"enable") == 0) {
        m_enable = IsTrue(value);
    } else if (_wcsicmp(name, L"width") == 0) {
        m_fixedWidth = true;
        m_declaredWidth = m_width = ParseLeadingInt(value, 0, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"height") == 0) {
        m_fixedHeight = true;
        m_declaredHeight = m_height = ParseLeadingInt(value, 0, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"margin") == 0) {
        int margin = ParseLeadingInt(value, -c_duMaxCoordinate, c_duMaxCoordinate);
        std::fill(m_margin, m_margin + 4, margin);
    } else if (_wcsicmp(name, L"marginleft") == 0) {
        m_margin[0] = ParseLeadingInt(value, -c_duMaxCoordinate, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"margintop") == 0) {
        m_margin[1] = ParseLeadingInt(value, -c_duMaxCoordinate, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"marginright") == 0) {
        m_margin[2] = ParseLeadingInt(value, -c_duMaxCoordinate, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"marginbottom") == 0) {
        m_margin[3] = ParseLeadingInt(value, -c_duMaxCoordinate, c_duMaxCoordinate);
    } else if (_wcsicmp(name, L"align") == 0) {
        if (_wcsicmp(value, L"left") == 0)
            m_align = e_duAlignLeft;
        else if (_wcsicmp(value, L"center") == 0)
            m_align = e_duAlignCenter;
        else if (_wcsicmp(value, L"right") == 0)
            m_align = e_duAlignRight;
    } else if (_wcsicmp(name, L"valign") == 0) {
        if (_wcsicmp(value, L"top") == 0)
            m_valign = e_duVAlignTop;
        else if (_wcsicmp(value, L"middle") == 0)
            m_valign = e_duVAlignMiddle;
        else if (_wcsicmp(value, L"bottom") == 0)
            m_valign = e_duVAlignBottom;
    } else {
        return false;
    }
    return true;
}

bool DuElement::LoadFromNode(const TiXmlNode* node)
{
    if (!node)
        return false;
    if (node->Type() == TiXmlNode::TINYXML_DOCUMENT) {
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            if (const TiXmlElement* element = child->ToElement())
                AddChildElement(element);
        }
        return true;
    }
    const TiXmlElement* element = node->ToElement();
    if (!element)
        return true;
    for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next()) {
        std::unique_ptr<wchar_t[]> name(Utf8ToWide(attribute->Name()));
        std::unique_ptr<wchar_t[]> value(Utf8ToWide(attribute->Value()));
        SetAttribute(name.get(), value.get());
    }
    for (const TiXmlNode* child = element->FirstChild(); child; child = child->NextSibling()) {
        if (const TiXmlElement* childElement = child->ToElement()) {
            AddChildElement(childElement);
        } else if (const TiXmlText* text = child->ToText()) {
            std::unique_ptr<wchar_t[]> wide(Utf8ToWide(text->Value()));
            if (!wide)
                continue;
            if (m_type == e_duText)
                static_cast<DuElementText*>(this)->SetText(wide.get());
            else
                AddText(wide.get(), this);
        }
    }
    return true;
}

bool DuElement::AddChildElement(const TiXmlElement* xml)
{
    if (!xml || m_depth >= c_duMaxDepth)
        return false;
    std::unique_ptr<wchar_t[]> tag(Utf8ToWide(xml->Value()));
    int type = TypeOfTag(tag.get());
    if (type < 0)
        return false;
    DuElement* child = CreateElement(type, m_delegate);
    if (!child)
        return false;
    child->m_depth = m_depth + 1;
    m_children.push_back(child);
    child->LoadFromNode(xml);
    return true;
}

bool DuElement::AddText(const wchar_t* text, DuElement* parent)
{
    if (m_depth >= c_duMaxDepth)
        return false;
    auto* child = static_cast<DuElementText*>(CreateElement(e_duText, m_delegate));
    if (!child)
        return false;
    child->m_depth = m_depth + 1;
    child->SetText(text);
    if (parent) {
        if (parent->m_type == e_duText || parent->m_type == e_duLink)
            child->CopyStyle(*static_cast<DuElementText*>(parent));
        child->m_align = parent->m_align;
        child->m_valign = parent->m_valign;
    }
    m_children.push_back(child);
    return true;
}

bool DuElement::DrawSelf(t_paintCtx&, int, int) { return false; }

bool DuElement::MeasureSelf(t_paintCtx&) { return false; }

bool DuElement::ApplySize(t_paintCtx&, SIZE size)
{
    if (!m_fixedWidth)
        m_declaredWidth = size.cx;
    if (!m_fixedHeight)
        m_declaredHeight = size.cy;
    return true;
}

bool DuElement::Contains(POINT point, int originX, int originY) const
{
    long long left = static_cast<long long>(originX) + m_x;
    long long top = static_cast<long long>(originY) + m_y;
    return point.x >= left && point.x < left + m_width && point.y >= top && point.y < top + m_height;
}

POINT DuElement::ChildOffset(const DuElement& child) const
{
    POINT offset = {0, 0};
    if (child.m_align == e_duAlignCenter)
        offset.x = (m_declaredWidth - child.m_width) / 2;
    else if (child.m_align == e_duAlignRight)
        offset.x = m_declaredWidth - child.m_width;
    if (child.m_valign == e_duVAlignMiddle)
        offset.y = (m_declaredHeight - child.m_height) / 2;
    else if (child.m_valign == e_duVAlignBottom)
        offset.y = m_declaredHeight - child.m_height;
    return offset;
}

bool DuElement::AnyChildAt(POINT point, int originX, int originY, bool (DuElement::*test)(POINT, int, int))
{
    if (!Contains(point, originX, originY))
        return false;
    for (DuElement* child : m_children) {
        if (child->IsLineBreak())
            continue;
        POINT offset = ChildOffset(*child);
        if ((child->*test)(point, DuAdd(DuAdd(originX, m_x), offset.x), DuAdd(DuAdd(originY, m_y), offset.y)))
            return true;
    }
    return false;
}

bool DuElement::OnClick(POINT point, int originX, int originY)
{
    return AnyChildAt(point, originX, originY, &DuElement::OnClick);
}

bool DuElement::HitTest(POINT point, int originX, int originY)
{
    return AnyChildAt(point, originX, originY, &DuElement::HitTest);
}

bool DuElement::ReleaseCache() { return false; }

void DuElement::DrawTree(t_paintCtx& ctx, int x, int y)
{
    DrawSelf(ctx, x, y);
    for (DuElement* child : m_children) {
        if (child->IsLineBreak())
            continue;
        POINT offset = ChildOffset(*child);
        child->DrawTree(ctx, DuAdd(DuAdd(x, m_x), offset.x), DuAdd(DuAdd(y, m_y), offset.y));
    }
}

void DuElement::LayoutTree(t_paintCtx& ctx)
{
    m_rowCount = 1;
    int x = 0, rowTop = 0, rowHeight = 0, contentWidth = 0;
    for (DuElement* child : m_children) {
        if (child->IsLineBreak()) {
            ++m_rowCount;
            rowTop = DuAdd(rowTop, rowHeight);
            rowHeight = 0;
            x = 0;
            continue;
        }
        child->LayoutTree(ctx);
        child->m_x = x;
        child->m_y = rowTop;
        x = DuAdd(x, child->m_width);
        rowHeight = std::max(rowHeight, child->m_height);
        contentWidth = std::max(contentWidth, x);
    }
    m_contentWidth = contentWidth;
    m_contentHeight = DuAdd(rowTop, rowHeight);
    MeasureSelf(ctx);
    m_declaredWidth = m_width;
    m_declaredHeight = m_height;
}

void DuElement::Stretch(t_paintCtx& ctx, SIZE size)
{
    size_t first = 0;
    int rowTop = 0;
    while (first <= m_children.size()) {
        // One row: the children up to the next line break.
        size_t end = first;
        int rowWidth = 0, aligned = 0;
        for (; end < m_children.size() && !m_children[end]->IsLineBreak(); ++end) {
            rowWidth = DuAdd(rowWidth, m_children[end]->m_width);
            aligned += m_children[end]->m_align != e_duAlignLeft;
        }
        int share = aligned ? (DuAdd(size.cx, -rowWidth)) / aligned : 0;
        int x = 0, rowHeight = 0;
        for (size_t i = first; i < end; ++i) {
            DuElement* child = m_children[i];
            child->m_x = x;
            child->m_y = rowTop;
            SIZE childSize = {child->m_align != e_duAlignLeft ? DuAdd(child->m_width, share) : child->m_width,
                              child->m_height};
            if (child->m_align != e_duAlignLeft || child->m_valign != e_duVAlignTop)
                child->Stretch(ctx, childSize);
            x = DuAdd(x, childSize.cx);
            rowHeight = std::max(rowHeight, child->m_height);
        }
        rowTop = DuAdd(rowTop, rowHeight);
        first = end + 1;
    }
    ApplySize(ctx, size);
}

void DuElement::ReleaseTree()
{
    ReleaseCache();
    for (DuElement* child : m_children) {
        if (!child->IsLineBreak())
            child->ReleaseTree();
    }
}

}  // namespace DirectUI
