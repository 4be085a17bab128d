// The information icon: picture, hand cursor, the shared hint on hover, the link on a click.
#include "ime_ui/windows/comp/icon_information.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "foundation/process/resource.h"
#include "foundation/process/url.h"
#include "graphics/image/image_source.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/wnd_rich_hint.h"
#include "ime_ui/windows/base/wnd_comp_rich_item.h"

namespace {

const wchar_t c_pictureName[] = L"IDR_ICONINFO";
const wchar_t c_hintClassName[] = L"UrlHintWnd";

t_wndRichHint* g_hint = nullptr;
bool g_hintSetUp = false;

// The decoded picture: bottom-up premultiplied 32-bit rows, as a DIB section holds them.
struct t_iconPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
t_iconPicture g_picture;

// A text value of a tag: a double quote would close it, '<' and '>' would start or end a tag
// and a line break would split the hint into rows, so those become harmless look-alikes.
void AppendTextValue(const wchar_t* text, t_str& out)
{
    for (const wchar_t* p = text ? text : L""; *p; ++p) {
        switch (*p) {
        case L'"':
            out.AppendChar(L'\'');
            break;
        case L'<':
            out.AppendChar(L'\xFF1C');  // fullwidth less-than
            break;
        case L'>':
            out.AppendChar(L'\xFF1E');  // fullwidth greater-than
            break;
        case L'\r':
        case L'\n':
            out.AppendChar(L' ');
            break;
        default:
            out.AppendChar(*p);
        }
    }
}

// An address value: the same characters percent-encoded, which keeps the address valid.
void AppendAddressValue(const wchar_t* target, t_str& out)
{
    for (const wchar_t* p = target ? target : L""; *p; ++p) {
        switch (*p) {
        case L'"':
            out.Append(L"%22");
            break;
        case L'<':
            out.Append(L"%3C");
            break;
        case L'>':
            out.Append(L"%3E");
            break;
        case L'\r':
            out.Append(L"%0D");
            break;
        case L'\n':
            out.Append(L"%0A");
            break;
        default:
            out.AppendChar(*p);
        }
    }
}

}  // namespace

t_iconInformation::t_iconInformation() { id = c_noHandleId; }

t_iconInformation::~t_iconInformation() { Detach(); }

void t_iconInformation::SetInfo(const wchar_t* tip, const wchar_t* text, const wchar_t* target)
{
    tipText.Assign(tip ? tip : L"");
    linkText.Assign(text ? text : L"");
    linkTarget.Assign(target ? target : L"");
}

void t_iconInformation::BuildHintMarkup(const wchar_t* tip, const wchar_t* text, const wchar_t* target, t_str& out)
{
    out.Clear();
    out.Append(tip ? tip : L"");
    out.Append(L"\r\n<a text=\"");
    AppendTextValue(text, out);
    out.Append(L"\" href=\"");
    AppendAddressValue(target, out);
    out.Append(L"\" align=right>");
}

t_wndRichHint* t_iconInformation::SharedHint() { return g_hint; }

void t_iconInformation::OpenLink(const wchar_t* target) { OpenUrl(target); }

void t_iconInformation::TrackHoverAndLeave(HWND window)
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
}

LRESULT t_iconInformation::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(window, &ps)) {
            Paint(dc);
            EndPaint(window, &ps);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        TrackHoverAndLeave(window);
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        break;
    case WM_LBUTTONDOWN:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        break;
    case WM_LBUTTONUP:
        if (!linkTarget.IsEmpty())
            OpenLink(linkTarget.c_str());
        break;
    case WM_MOUSEHOVER:
        TrackHoverAndLeave(window);
        ShowTip();
        break;
    case WM_MOUSELEAVE:
        if (g_hint && g_hint->hwnd) {
            g_hint->clicked = false;
            g_hint->leaveTime = 0;
            SetTimer(g_hint->hwnd, c_richHintTimerId, c_richHintTickMs, nullptr);
        }
        break;
    default:
        break;
    }
    // Every other answer (text length, dialog codes, sizes) is the control's own.
    return t_wndBaseHandle::WndProc(window, msg, wParam, lParam);
}

bool t_iconInformation::LoadPicture()
{
    if (!g_picture.pixels.empty())
        return true;
    t_resource* resources = t_resource::Instance();
    DWORD size = 0;
    const void* data = resources ? resources->Find(GetModuleHandleW(nullptr), c_pictureName, RT_RCDATA, size) : nullptr;
    if (!data)
        return false;
    t_imageSource* source = nullptr;
    if (!t_imageSource::CreateFromMemory(data, size, source) || !source)
        return false;
    bool stored = false;
    int width = 0, height = 0;
    const t_bitmapRef ref = source->GetBitmapRef();
    HBITMAP bitmap = ref.Bitmap();
    if (bitmap && source->GetSize(width, height) && width > 0 && height > 0 && width <= 1024 && height <= 1024) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // bottom-up, as the memory DC below
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
        HDC screen = GetDC(nullptr);
        if (screen &&
            GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) == height) {
            g_picture.width = width;
            g_picture.height = height;
            g_picture.pixels.swap(pixels);
            stored = true;
        }
        if (screen)
            ReleaseDC(nullptr, screen);
    }
    t_imageSource::Destroy(source);
    return stored;
}

void t_iconInformation::Paint(HDC dc)
{
    if (!LoadPicture())
        return;
    t_memDC memory;
    if (!t_memDC::Create(memory, dc, g_picture.width, g_picture.height))
        return;
    memcpy(memory.bits, g_picture.pixels.data(), g_picture.pixels.size() * sizeof(uint32_t));
    GdiFlush();
    RECT client = {};
    GetClientRect(hwnd, &client);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, client.left, client.top, g_picture.width, g_picture.height, memory.dc, 0, 0, g_picture.width,
               g_picture.height, blend);
}

void t_iconInformation::ShowTip()
{
    // The hint goes with the window that owned it (a closed page): it is made again.
    if (!g_hintSetUp || !g_hint || !g_hint->hwnd) {
        wcsncpy(t_wndRichHint::ClassNameBuffer(), c_hintClassName, c_richHintClassNameCapacity - 1);
        if (!t_wndRichHint::RegisterClass())
            return;
        if (!g_hint)
            g_hint = new (std::nothrow) t_wndRichHint;
        if (!g_hint)
            return;
        if (!g_hint->hwnd &&
            !g_hint->Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, reinterpret_cast<INT_PTR>(hwnd), nullptr, nullptr))
            return;
        // The item tips' look, without an arrow.
        t_richHintRequest request = ItemRichTipRequest(nullptr, -1);
        request.arrow = nullptr;
        request.arrowFlag = false;
        g_hint->Init(request);
        g_hint->SetContext(nullptr);
        g_hintSetUp = true;
    }
    if (g_hint->hwnd && IsWindowVisible(g_hint->hwnd))
        return;
    t_str markup;
    BuildHintMarkup(tipText.c_str(), linkText.c_str(), linkTarget.c_str(), markup);
    g_hint->SetText(markup.c_str());
    RECT anchor = {};
    GetWindowRect(hwnd, &anchor);
    g_hint->ShowAt(anchor, true);
}
