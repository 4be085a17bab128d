#include "ime_ui/windows/flash/wnd_flash_sub.h"

#include <algorithm>
#include <new>

#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/solid_draw.h"
#include "ime_ui/windows/flash/wnd_flash_bk_sub_impl.h"
#include "ime_ui/windows/flash/wnd_flash_popup_impl.h"
#include "toolkit/controls/wnd_top.h"

namespace {

const wchar_t* const c_defaultPictureName = L"IDR_PNG_FLASH";

}  // namespace

// ---- the placeholder picture

t_flashPlaceholder::t_flashPlaceholder() : m_tried(false), m_default(false) { m_image.Init(); }

t_flashPlaceholder::~t_flashPlaceholder() { Clear(); }

void t_flashPlaceholder::Clear()
{
    // Only the default picture is ours; a skin's record shows the skin's picture.
    if (m_default)
        m_image.Reset();
    m_image.Init();
    m_default = false;
}

void t_flashPlaceholder::Set(const t_image& record)
{
    Clear();
    m_image = record;
    m_image.ownsSource = 0;
    m_tried = false;
}

bool t_flashPlaceholder::IsUsable() const
{
    return !m_image.GetBitmapRef().IsBitmap() ? false : m_image.partWidth > 0 && m_image.partHeight > 0;
}

void t_flashPlaceholder::Paint(t_paintCtx& context, const RECT& rect)
{
    if (!IsUsable()) {
        if (m_tried)
            return;
        m_tried = true;
        Clear();
        if (!m_image.LoadResource(nullptr, c_defaultPictureName)) {
            m_image.Init();
            return;
        }
        m_default = true;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (m_default && width > 0 && height > 0)
        context.FillRect(rect.left, rect.top, width, height, c_defaultFill);
    const int pictureWidth = m_image.partWidth;
    const int pictureHeight = m_image.partHeight;
    if (width > 0 && height > 0 && pictureWidth > 0 && pictureHeight > 0) {
        // Shrunk by the tighter ratio, never enlarged.
        const double scale = std::min(
            1.0, std::min(static_cast<double>(width) / pictureWidth, static_cast<double>(height) / pictureHeight));
        const int drawWidth = std::max(1, static_cast<int>(pictureWidth * scale));
        const int drawHeight = std::max(1, static_cast<int>(pictureHeight * scale));
        t_image drawn = m_image;
        drawn.modeH = drawn.modeV = t_image::e_stretch;
        drawn.Draw(context, rect.left + (width - drawWidth) / 2, rect.top + (height - drawHeight) / 2, drawWidth,
                   drawHeight, 255);
        m_image.blend = drawn.blend;
    }
    if (m_default && width > 0 && height > 0) {
        t_pen* pen = nullptr;
        if (t_pen::Create(pen, c_defaultOutline)) {
            DrawPenFrame(pen, rect, context);
            t_pen::Release(pen);
        }
    }
}

// ---- the common base: every operation does nothing

bool t_wndFlashSub::CreateFlash(HWND, HWND, int, LPARAM, t_wndBase*) { return false; }
void t_wndFlashSub::SetCommandSink(t_flashSkinCmd*) {}
int t_wndFlashSub::StubCall3(intptr_t, intptr_t, intptr_t) { return 0; }
int t_wndFlashSub::StubCall2(intptr_t, intptr_t) { return 0; }
void t_wndFlashSub::SetFileName(const wchar_t*) {}
void t_wndFlashSub::SetCaptureAll(bool) {}
void t_wndFlashSub::SetNotified(bool) {}
bool t_wndFlashSub::IsNotified() { return false; }
bool t_wndFlashSub::TickFlash() { return false; }
void t_wndFlashSub::SetPlaceholder(const t_image&) {}
void t_wndFlashSub::SetNoHandCursor(bool) {}
void t_wndFlashSub::FollowRect(const RECT&) {}
void t_wndFlashSub::FollowShow(bool) {}
void t_wndFlashSub::SetInnerLayout(t_layout*) {}
void t_wndFlashSub::ToFlashPoint(POINT*) {}

// ---- the placeholder element

bool t_wndFlashSubDummy::CreateFlash(HWND, HWND, int, LPARAM, t_wndBase* owner)
{
    return t_wndBase::Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, owner);
}

void t_wndFlashSubDummy::SetPlaceholder(const t_image& record) { placeholder.Set(record); }

void t_wndFlashSubDummy::Paint_Layout(t_paintCtx& context)
{
    if (!visible)
        return;
    RECT r = GetRect();
    const POINT offset = GetTopOffset();
    OffsetRect(&r, offset.x, offset.y);
    placeholder.Paint(context, r);
}

bool t_wndFlashSubDummy::HitTest(int, int, int) { return false; }

t_wndFlashSub* NewFlashSub(t_flashSubKind kind)
{
    switch (kind) {
    case t_flashSubKind::e_placeholder:
        return new (std::nothrow) t_wndFlashSubDummy();
    case t_flashSubKind::e_inWindow:
        return new (std::nothrow) t_wndFlashSubImpl();
    case t_flashSubKind::e_background:
        return new (std::nothrow) t_wndFlashBkSubImpl();
    case t_flashSubKind::e_popup:
        return new (std::nothrow) t_wndFlashPopupImpl();
    default:
        return nullptr;
    }
}
