// The rich hint bubble: content rows, placement against an anchor, painting, the mouse
// and the hide timer.
#include "toolkit/richhint/wnd_rich_hint.h"

#include <cwchar>

#include "foundation/core/perf.h"
#include "foundation/process/resource.h"
#include "foundation/config/runtime.h"
#include "foundation/process/url.h"
#include "graphics/image/image.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/richhint/rich_hint_button.h"
#include "toolkit/richhint/rich_hint_check_box.h"
#include "toolkit/richhint/rich_hint_element.h"
#include "toolkit/richhint/rich_hint_parser.h"
#include "toolkit/richhint/rich_hint_radio_button.h"
#include "toolkit/richhint/rich_hint_row.h"
#include "toolkit/richhint/rich_hint_text.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/window_classes.h"

namespace {

const int c_defaultMargin = 10;
// The leave counter of the hide-later path: the window hides at the tick after it passes this.
const int c_hideLaterMs = 300;
const uint32_t c_plainBackground = 0xFF888888u;
const wchar_t c_lineBreak[] = L"\r\n";
const wchar_t c_moreLinkMarkup[] = L"<a text=\"更多字符画...\" action=\"ShowQuickInput\" align=right>";
const wchar_t c_quickInputAction[] = L"ShowQuickInput";
const wchar_t c_searchPrefix[] = L"Search:";

wchar_t g_className[c_richHintClassNameCapacity];

// Replaces picture and its size with the RCDATA picture name of module (null: the resource
// library) when that resource exists; false, and nothing changes, when it is missing. A resource
// that does not decode or is empty leaves picture null with a zero size.
bool ReplacePicture(HMODULE module, const wchar_t* name, t_imageSource*& picture, int& width, int& height)
{
    t_resource* resources = t_resource::Instance();
    DWORD size = 0;
    const void* data = resources ? resources->Find(module, name, RT_RCDATA, size) : nullptr;
    if (!data)
        return false;
    if (picture)
        t_imageSource::Destroy(picture);
    picture = nullptr;
    width = height = 0;
    t_imageSource* source = nullptr;
    if (!t_imageSource::CreateFromMemory(data, size, source) || !source)
        return true;
    int decodedWidth = 0, decodedHeight = 0;
    if (!source->GetSize(decodedWidth, decodedHeight) || decodedWidth <= 0 || decodedHeight <= 0) {
        t_imageSource::Destroy(source);
        return true;
    }
    picture = source;
    width = decodedWidth;
    height = decodedHeight;
    return true;
}

LRESULT CALLBACK RichHintWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ForwardToObject<t_wndRichHint>(window, msg, wParam, lParam);
}

}  // namespace

t_wndRichHint::t_wndRichHint()
    : ownerValue(nullptr), hoveredRow(nullptr), hoverFlag(false), contentWidth(0), contentHeight(0), module(nullptr),
      backgroundLoaded(false), background(nullptr), backgroundWidth(0), backgroundHeight(0), arrowShown(false),
      arrow(nullptr), arrowWidth(0), arrowHeight(0), splitLeft(0), splitTop(0), splitRight(0), splitBottom(0),
      marginLeft(c_defaultMargin), marginTop(c_defaultMargin), marginRight(c_defaultMargin),
      marginBottom(c_defaultMargin), placedAbove(true), arrowFrameFlag(true), arrowX(0), arrowTopOffset(0),
      arrowBottomOffset(0), linger(0), loopFlag(false), leaveTime(0), fadeTime(0), clicked(false), closeId(-1),
      m_dispatchDepth(0)
{}

t_wndRichHint::~t_wndRichHint()
{
    Destroy();
    m_dispatchDepth = 0;
    ReleaseRows();
    FreeRetiredRows();
}

wchar_t* t_wndRichHint::ClassNameBuffer() { return g_className; }

bool t_wndRichHint::RegisterClass()
{
    if (!g_className[0])
        return false;
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ToolkitInstance(), g_className, &existing))
        return existing.lpfnWndProc == RichHintWndProc;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_IME;
    wc.lpfnWndProc = RichHintWndProc;
    wc.cbWndExtra = 4;
    wc.hInstance = ToolkitInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = g_className;
    return RegisterClassExW(&wc) != 0;
}

bool t_wndRichHint::Create(DWORD style, int x, int y, int width, int height, INT_PTR ownerHwnd, HINSTANCE instance,
                           t_wndBase* parent)
{
    if (!g_className[0])
        return false;
    const t_runtime* runtime = t_runtime::Instance();
    const bool topmost = runtime && runtime->UseTopmostUi();
    DWORD exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    if (topmost) {
        exStyle |= WS_EX_TOPMOST;
        ownerHwnd = 0;
    }
    if (!CreateWindowOfClass(g_className, L"RichHintWindow", style, x, y, width, height, ownerHwnd, instance, parent,
                             exStyle))
        return false;
    SetLayered(true);
    SetPerPixelAlpha(true);
    return true;
}

void t_wndRichHint::Destroy()
{
    if (hwnd)
        KillTimer(hwnd, c_richHintTimerId);
    ReleaseRows();
    FreePictures();
    t_wndTop::Destroy();
}

void t_wndRichHint::FreePictures()
{
    if (background)
        t_imageSource::Destroy(background);
    background = nullptr;
    backgroundLoaded = false;
    backgroundWidth = backgroundHeight = 0;
    if (arrow)
        t_imageSource::Destroy(arrow);
    arrow = nullptr;
    arrowShown = false;
    arrowWidth = arrowHeight = 0;
}

// ---- content

void t_wndRichHint::Init(const t_richHintRequest& request)
{
    ownerValue = request.owner;
    module = request.module;
    arrowShown = request.arrowFlag;
    linger = request.linger < 0 ? 0 : request.linger;
    closeId = request.closeId;
    clicked = false;
    if (request.background) {
        if (ReplacePicture(request.module, request.background, background, backgroundWidth, backgroundHeight)) {
            // Only a picture that decoded counts: painting draws from it.
            backgroundLoaded = background != nullptr;
            splitLeft = request.splitLeft;
            splitTop = request.splitTop;
            splitRight = request.splitRight;
            splitBottom = request.splitBottom;
            marginLeft = request.marginLeft;
            marginTop = request.marginTop;
            marginRight = request.marginRight;
            marginBottom = request.marginBottom;
        }
    } else {
        marginLeft = marginTop = marginRight = marginBottom = c_defaultMargin;
    }
    if (request.arrowFlag && request.arrow) {
        if (ReplacePicture(request.module, request.arrow, arrow, arrowWidth, arrowHeight)) {
            arrowShown = arrow != nullptr;
            arrowTopOffset = request.arrowTopOffset;
            arrowBottomOffset = request.arrowBottomOffset;
        }
    }
}

void t_wndRichHint::SetContent(const wchar_t* text, bool plain)
{
    ReleaseRows();
    if (!text)
        return;
    const wchar_t* piece = text;
    for (;;) {
        const wchar_t* end = wcsstr(piece, c_lineBreak);
        const int length = end ? static_cast<int>(end - piece) : static_cast<int>(wcslen(piece));
        // A piece after the last break becomes a row only when it holds something.
        if (!end && length == 0)
            break;
        t_richHintRow* row = new (std::nothrow) t_richHintRow(this);
        if (!row)
            break;
        if (!rows.Add(row)) {
            delete row;
            break;
        }
        if (plain) {
            // One text element holding the piece as it stands, tags included.
            t_wndRichHintText* element = new (std::nothrow) t_wndRichHintText(this);
            if (element) {
                element->SetText(piece, length);
                if (!row->elements.Add(element))
                    element->Release();
            }
        } else {
            ParseRichHintLine(module, piece, length, *row);
        }
        if (!end)
            break;
        piece = end + 2;
    }
}

void t_wndRichHint::SetText(const wchar_t* text) { SetContent(text, false); }

void t_wndRichHint::SetContentWithMoreLink(const wchar_t* text)
{
    SetContent(text, true);
    t_richHintRow* row = new (std::nothrow) t_richHintRow(this);
    if (!row)
        return;
    if (!rows.Add(row)) {
        delete row;
        return;
    }
    ParseRichHintLine(nullptr, c_moreLinkMarkup, static_cast<int>(wcslen(c_moreLinkMarkup)), *row);
}

void t_wndRichHint::ReleaseRows()
{
    // The hovered row goes with the rows: a later move must not reach into a freed row.
    hoveredRow = nullptr;
    for (int i = 0; i < rows.Count(); ++i) {
        if (m_dispatchDepth > 0 && m_retiredRows.Add(rows[i]))
            continue;
        delete rows[i];
    }
    rows.Clear();
}

void t_wndRichHint::FreeRetiredRows()
{
    for (int i = 0; i < m_retiredRows.Count(); ++i)
        delete m_retiredRows[i];
    m_retiredRows.Clear();
}

void t_wndRichHint::EndDispatch()
{
    if (--m_dispatchDepth == 0)
        FreeRetiredRows();
}

// ---- measuring and placement

int t_wndRichHint::ArrowSpace() const { return HasArrow() ? arrowHeight : 0; }

int t_wndRichHint::BodyTop() const { return placedAbove ? 0 : ArrowSpace(); }

bool t_wndRichHint::Measure(SIZE& size)
{
    HWND window = GetHwnd();
    HDC dc = GetDC(window);
    if (!dc)
        return false;
    t_paintCtx context(dc, false, nullptr, false);
    SetBkMode(dc, TRANSPARENT);
    int width = 0, height = 0;
    for (int i = 0; i < rows.Count(); ++i) {
        MeasureRow(*rows[i], context);
        if (rows[i]->width > width)
            width = rows[i]->width;
        height += rows[i]->height + (i > 0 ? c_richHintRowGap : 0);
    }
    context.End();
    ReleaseDC(window, dc);
    contentWidth = width;
    contentHeight = height;
    const int arrowSpace = HasArrow() ? arrowHeight - arrowTopOffset : 0;
    size.cx = marginLeft + width + marginRight;
    size.cy = height + marginTop + marginBottom + arrowSpace;
    if (size.cx < 1)
        size.cx = 1;
    if (size.cy < 1)
        size.cy = 1;
    SetSize(size.cx, size.cy);
    for (int i = 0; i < rows.Count(); ++i)
        StretchRow(*rows[i], width);
    return true;
}

void t_wndRichHint::ShowAt(const RECT& anchor, bool preferAbove)
{
    HWND window = GetHwnd();
    if (window)
        KillTimer(window, c_richHintTimerId);
    SIZE size = {};
    if (!Measure(size))
        return;
    const int w = size.cx, h = size.cy;
    const POINT corner = {anchor.left, anchor.top};
    RECT area = {};
    GetWorkArea(&corner, area);
    const bool belowFits = anchor.bottom + h < area.bottom;
    const bool aboveFits = anchor.top - h > area.top;
    placedAbove = preferAbove ? !(!aboveFits && belowFits) : (!belowFits && aboveFits);
    int x = anchor.left;
    if (anchor.left + w > area.right)
        x = area.right - w;
    arrowX = anchor.left - x + marginLeft;
    arrowFrameFlag = (anchor.left + anchor.right) / 2 >= arrowX;
    int y;
    if (placedAbove)
        y = anchor.top - h > area.top ? anchor.top - h : area.top;
    else
        y = anchor.bottom > area.bottom ? area.bottom - h : anchor.bottom;
    Move(x, y, w, h, false);
    // A hint that faded out comes back opaque.
    alpha = 255;
    UpdateLayer();
    if (window)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
    Show(true);
}

t_wndRichHint::t_arrowFrame t_wndRichHint::ArrowFrame() const
{
    if (placedAbove)
        return arrowFrameFlag ? e_arrowDown : e_arrowDownAlt;
    return arrowFrameFlag ? e_arrowUp : e_arrowUpAlt;
}

// ---- painting

void t_wndRichHint::Paint_Layout(t_paintCtx& context)
{
    PerfScope scope("Paint_RichHint");
    const SIZE client = GetSize();
    if (client.cx <= 1 && client.cy <= 1)
        return;
    const int arrowSpace = ArrowSpace();
    const int bodyTop = BodyTop();
    const int bodyHeight = client.cy - arrowSpace;
    if (backgroundLoaded && background) {
        t_imageSet9 set;
        const t_insets insets = {splitLeft, backgroundWidth - splitRight, splitTop, backgroundHeight - splitBottom};
        t_imageSet9::SetFromSource(background, set, insets);
        t_imageSet9::Draw(context, set, 0, bodyTop, client.cx, bodyHeight);
    } else {
        context.FillRect(0, 0, client.cx, client.cy, c_plainBackground);
    }
    if (HasArrow() && arrowWidth >= e_arrowFrames) {
        const int frameWidth = arrowWidth / e_arrowFrames;
        const int y = placedAbove ? client.cy - arrowBottomOffset - arrowHeight : arrowTopOffset;
        t_image frame;
        frame.Init();
        frame.SetPart(arrow, ArrowFrame() * frameWidth, 0, c_noColorKey, c_noColorKey, frameWidth, arrowHeight,
                      t_image::e_natural, t_image::e_natural, false);
        frame.Draw(context, arrowX, y, frameWidth, arrowHeight, 255);
    }
    POINT origin = {marginLeft, marginTop + bodyTop};
    for (int i = 0; i < rows.Count(); ++i) {
        PaintRow(*rows[i], origin, context);
        origin.y += rows[i]->height + c_richHintRowGap;
    }
}

void t_wndRichHint::SetLayerAlpha(int value)
{
    alpha = value < 0 ? 0 : value > 255 ? 255 : value;
    UpdateLayer();
}

// ---- mouse

POINT t_wndRichHint::ToClient(int x, int y) const
{
    const RECT bounds = GetRect();
    return POINT{x - bounds.left, y - bounds.top};
}

t_richHintRow* t_wndRichHint::RowHitTest(POINT point, POINT& origin)
{
    if (point.x < marginLeft || point.x >= marginLeft + contentWidth)
        return nullptr;
    int y = BodyTop() + marginTop;
    for (int i = 0; i < rows.Count(); ++i) {
        if (point.y >= y && point.y < y + rows[i]->height) {
            origin = POINT{marginLeft, y};
            return rows[i];
        }
        y += rows[i]->height + c_richHintRowGap;
    }
    return nullptr;
}

void t_wndRichHint::LeaveHoveredRow()
{
    t_richHintRow* row = hoveredRow;
    hoveredRow = nullptr;
    if (!row || !row->hovered)
        return;
    t_wndRichHintElement* element = row->hovered;
    row->hovered = nullptr;
    BeginDispatch();
    element->OnLeave();
    EndDispatch();
}

void t_wndRichHint::OnMouseMove(UINT keys, int x, int y)
{
    hoverFlag = true;
    if (hwnd)
        KillTimer(hwnd, c_richHintTimerId);
    t_wndTop::OnMouseMove(keys, x, y);
    const POINT point = ToClient(x, y);
    POINT origin = {};
    t_richHintRow* row = RowHitTest(point, origin);
    if (row != hoveredRow)
        LeaveHoveredRow();
    if (!row)
        return;
    hoveredRow = row;
    POINT elementOrigin = {};
    t_wndRichHintElement* element = HitTestRow(*row, origin, point, &elementOrigin);
    BeginDispatch();
    if (row->hovered && row->hovered != element) {
        t_wndRichHintElement* previous = row->hovered;
        row->hovered = nullptr;
        previous->OnLeave();
    }
    // A leave handler may have replaced the content: the row is then retired.
    if (hoveredRow == row && element) {
        row->hovered = element;
        element->OnMouseMove(elementOrigin, point);
    }
    EndDispatch();
}

bool t_wndRichHint::OnLButtonDown(UINT keys, int x, int y)
{
    (void)keys;
    clicked = true;
    if (hwnd)
        KillTimer(hwnd, c_richHintTimerId);
    const POINT point = ToClient(x, y);
    POINT origin = {}, elementOrigin = {};
    t_richHintRow* row = RowHitTest(point, origin);
    t_wndRichHintElement* element = row ? HitTestRow(*row, origin, point, &elementOrigin) : nullptr;
    if (!element)
        return false;
    BeginDispatch();
    const bool taken = element->OnLButtonDown(elementOrigin, point);
    EndDispatch();
    return taken;
}

bool t_wndRichHint::OnLButtonUp(UINT keys, int x, int y)
{
    (void)keys;
    const POINT point = ToClient(x, y);
    POINT origin = {}, elementOrigin = {};
    t_richHintRow* row = RowHitTest(point, origin);
    t_wndRichHintElement* element = row ? HitTestRow(*row, origin, point, &elementOrigin) : nullptr;
    if (!element)
        return false;
    BeginDispatch();
    const bool taken = element->OnLButtonUp(elementOrigin, point);
    EndDispatch();
    return taken;
}

void t_wndRichHint::OnMouseEnter()
{
    if (hwnd)
        KillTimer(hwnd, c_richHintTimerId);
    SetLayerAlpha(255);
    hoverFlag = true;
    restoreCursor = GetCursor();
    if (hwnd)
        SetTimer(hwnd, c_hoverTimerId, c_hoverPollMs, nullptr);
}

void t_wndRichHint::OnMouseLeave()
{
    hoverFlag = false;
    if (linger == 0) {
        Hide(true);
    } else {
        leaveTime = 0;
        fadeTime = 0;
        if (!clicked && hwnd)
            SetTimer(hwnd, c_richHintTimerId, c_richHintTickMs, nullptr);
    }
    t_wndTop::OnMouseLeave();
}

// ---- hiding

bool t_wndRichHint::OnTimer(UINT_PTR id)
{
    if (id == c_hoverTimerId) {
        PollHover();
        return false;
    }
    if (id != c_richHintTimerId) {
        t_wndBase::OnTimer(id);
        return false;
    }
    if (clicked) {
        if (hwnd)
            KillTimer(hwnd, c_richHintTimerId);
        return false;
    }
    if (linger == 0) {
        if (leaveTime <= c_hideLaterMs) {
            leaveTime += c_richHintTickMs;
        } else {
            if (hwnd)
                KillTimer(hwnd, c_richHintTimerId);
            Hide(true);
        }
        return false;
    }
    if (leaveTime > linger) {
        if (fadeTime > c_richHintFadeMs) {
            if (hwnd)
                KillTimer(hwnd, c_richHintTimerId);
            Hide(true);
            return false;
        }
        SetLayerAlpha((c_richHintFadeMs - fadeTime) * 255 / c_richHintFadeMs);
        fadeTime += c_richHintTickMs;
    }
    leaveTime += c_richHintTickMs;
    return false;
}

void t_wndRichHint::Hide(bool now)
{
    if (!now) {
        leaveTime = 0;
        fadeTime = 0;
        if (hwnd)
            SetTimer(hwnd, c_richHintTimerId, c_richHintTickMs, nullptr);
        return;
    }
    hoverFlag = false;
    if (hwnd) {
        KillTimer(hwnd, c_richHintTimerId);
        SetWindowPos(hwnd, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetSize(1, 1);
    if (hoveredRow)
        hoveredRow->hovered = nullptr;
    hoveredRow = nullptr;
    SetActiveFlag(false);
    ShowHint(false);
    CloseMenu(1);
    ForgetKeptSize();
    if (hwnd)
        ShowWindow(hwnd, SW_HIDE);
    shown = false;
    ReleaseRows();
    if (loopFlag) {
        loopFlag = false;
        PostQuitMessage(0);
    }
    if (closeId != -1)
        OnHintClosed();
}

LRESULT t_wndRichHint::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        // The layered window is pushed by UpdateLayer; the update region is only
        // validated, or the system would send WM_PAINT again and again.
        PAINTSTRUCT ps;
        if (BeginPaint(window, &ps))
            EndPaint(window, &ps);
        else
            ValidateRect(window, nullptr);
        return 0;
    }
    return t_wndTop::WndProc(window, msg, wParam, lParam);
}

// ---- the elements' results

void t_wndRichHint::OpenHref(const wchar_t* href) { OpenUrl(href); }

void t_wndRichHint::OnHref(const wchar_t* href, const wchar_t* text)
{
    (void)text;
    OpenHref(href);
    Hide(true);
}

void t_wndRichHint::OnAction(const wchar_t* action, const wchar_t* text)
{
    t_uiContext* context = GetContext();
    const size_t prefix = wcslen(c_searchPrefix);
    if (action && wcscmp(action, c_quickInputAction) == 0)
        context->Imc().ShowQuickInput(ownerValue, text ? text : L"");
    else if (action && wcsncmp(action, c_searchPrefix, prefix) == 0)
        context->Imc().SearchText(context->hostWindow, action + prefix);
    Hide(true);
}

void t_wndRichHint::OnButton(int id, const wchar_t* text)
{
    (void)text;
    itl::ImmSimpleArray<t_wndRichHintElement*> group;
    for (int i = 0; i < rows.Count(); ++i)
        CollectGroup(*rows[i], id, group);
    ImcWrapImplBase& host = GetContext()->Imc();
    for (int i = 0; i < group.Count(); ++i) {
        t_wndRichHintElement* element = group[i];
        switch (element->Kind()) {
        case t_wndRichHintElement::e_radio: {
            auto* radio = static_cast<t_wndRichHintRadioButton*>(element);
            host.SetEnvInt(radio->EnvItem().c_str(), radio->SelectedValue());
            break;
        }
        case t_wndRichHintElement::e_checkBox: {
            auto* check = static_cast<t_wndRichHintCheckBox*>(element);
            host.SetEnvBool(check->EnvItem().c_str(), check->IsChecked());
            break;
        }
        case t_wndRichHintElement::e_button:
            host.SetEnvBool(static_cast<t_wndRichHintButton*>(element)->EnvItem().c_str(), false);
            break;
        default:
            break;
        }
    }
    host.CommitEnv();
    Hide(true);
}

void t_wndRichHint::OnCheck(int id, const wchar_t* text)
{
    (void)id;
    (void)text;
}

void t_wndRichHint::Redraw() { UpdateLayer(); }

void t_wndRichHint::OnImageClick() { Hide(true); }

bool t_wndRichHint::GetEnvBool(const wchar_t* name, bool& value) { return GetContext()->Imc().GetEnvBool(name, value); }

bool t_wndRichHint::GetEnvInt(const wchar_t* name, int& value) { return GetContext()->Imc().GetEnvInt(name, value); }

void t_wndRichHint::OnHintClosed() {}
