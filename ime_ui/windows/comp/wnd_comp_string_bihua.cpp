#include "ime_ui/windows/comp/wnd_comp_string_bihua.h"

#include <cstring>
#include <new>

#include "foundation/core/owned.h"
#include "graphics/paint/paint_ctx.h"
#include "ime_ui/windows/base/mask_icons.h"
#include "ime_ui/windows/base/skin_style_access.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_hint.h"
#include "toolkit/controls/wnd_top.h"

namespace {

const int c_strokeMargin = 12;
const int c_strokeColourStyle = 5;
const int c_strokeHighlightStyle = 6;
const DWORD c_strokeHintStyle = 0x88000000;

const wchar_t* const c_strokeHints[c_strokeCellCount] = {
    L" 横/提，按 h 键输入 ",      L" 竖/竖钩，按 s 键输入 ", L" 撇，按 p 键输入 ",
    L" 点/捺，按 d 或 n 键输入 ", L" 折，按 z 键输入 ",
};

}  // namespace

int StrokeCellAt(int dx, int cellWidth)
{
    if (cellWidth <= 0 || dx <= 0)
        return -1;
    const int i = dx / cellWidth;
    if (i >= c_strokeCellCount || dx == i * cellWidth)
        return -1;
    return i;
}

uint32_t TintStrokePixel(uint32_t rgb, uint32_t colour)
{
    const uint32_t sum = ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
    uint32_t d = (765 - sum) / 3;
    if (d == 0)
        d = 1;
    const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return (d << 24) | ((red * d / 255) << 16) | ((green * d / 255) << 8) | (blue * d / 255);
}

const wchar_t* StrokeHintText(int cell)
{
    return cell >= 0 && cell < c_strokeCellCount ? c_strokeHints[cell] : nullptr;
}

t_wndCompStringBiHua::t_wndCompStringBiHua()
{
    acceptsMouse = true;
    cursorRestore = true;
}

t_wndCompStringBiHua::~t_wndCompStringBiHua() { delete[] m_tinted; }

bool t_wndCompStringBiHua::SetStrokePixels(const uint32_t* pixels, int width, int height, uint32_t colour)
{
    if (!pixels || width <= 0 || height <= 0 ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > (1u << 24))
        return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint32_t* tinted = new (std::nothrow) uint32_t[count];
    if (!tinted)
        return false;
    for (size_t i = 0; i < count; ++i)
        tinted[i] = TintStrokePixel(pixels[i] & 0xFFFFFF, colour);
    delete[] m_tinted;
    m_tinted = tinted;
    bitmapWidth = width;
    bitmapHeight = height;
    return true;
}

bool t_wndCompStringBiHua::LoadStrokeBitmap(t_errorChain& errors, HMODULE module)
{
    loadTried = true;
    uint32_t colour = 0xFFFFFFFFu;
    const bool hasColour = SkinStyleColour(GetContext()->GetSkin(), c_strokeColourStyle, colour);
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    bool ok = LoadResourcePixels(errors, module, L"IDB_BIHUA", RT_BITMAP, pixels, width, height);
    if (ok)
        ok = hasColour && SetStrokePixels(pixels, width, height, colour);
    delete[] pixels;
    if (!ok)
        visible = false;
    return ok;
}

int t_wndCompStringBiHua::Measure(HDC)
{
    if (visible && !loadTried) {
        // The input method only logs a picture it cannot read; the item then stays hidden.
        t_errorChain logged;
        LoadStrokeBitmap(logged);
    }
    if (visible)
        SetSize(bitmapWidth + c_strokeMargin, bitmapHeight);
    else
        SetSize(0, 0);
    return 3;
}

void t_wndCompStringBiHua::Paint_Text(t_paintCtx& context)
{
    if (!visible || !m_tinted)
        return;
    t_memDC canvas;
    if (!t_memDC::Create(canvas, context.Dc(), bitmapWidth, bitmapHeight))
        return;
    uint32_t* bits = canvas.Pixels();
    // The DIB runs bottom-up, the tinted pixels top-down.
    for (int y = 0; y < bitmapHeight; ++y)
        memcpy(bits + static_cast<size_t>(bitmapHeight - 1 - y) * bitmapWidth,
               m_tinted + static_cast<size_t>(y) * bitmapWidth, static_cast<size_t>(bitmapWidth) * 4);
    uint32_t highlight = 0;
    const int cell = CellWidth();
    if (hoveredCell >= 0 && SkinStyleColour(GetContext()->GetSkin(), c_strokeHighlightStyle, highlight)) {
        lastCell = hoveredCell;
        const uint32_t word =
            0xFF000000u | ((highlight & 0xFF) << 16) | (highlight & 0xFF00) | ((highlight >> 16) & 0xFF);
        for (int y = 2; y < bitmapHeight - 2; ++y) {
            uint32_t* row = bits + static_cast<size_t>(bitmapHeight - 1 - y) * bitmapWidth;
            for (int x = cell * hoveredCell + 2; x < cell * (hoveredCell + 1) - 2 && x < bitmapWidth; ++x)
                if (row[x] > 0xFEFFFFFFu)
                    row[x] = word;
        }
    }
    GdiFlush();
    const RECT box = GetRectInHwnd();
    BLENDFUNCTION blend = canvas.blend;
    blend.SourceConstantAlpha = static_cast<BYTE>(alpha);
    AlphaBlend(context.Dc(), box.left, box.top, bitmapWidth, bitmapHeight, canvas.dc, 0, 0, bitmapWidth, bitmapHeight,
               blend);
    canvas.Release();
}

bool t_wndCompStringBiHua::HitTest(int x, int y, int)
{
    if (!visible)
        return false;
    const RECT r = GetRect();
    return x >= r.left && x < r.left + bitmapWidth && y >= r.top && y < r.bottom;
}

void t_wndCompStringBiHua::HideStrokeHint()
{
    if (m_hint)
        m_hint->Hide();
}

void t_wndCompStringBiHua::OnMouseMove(UINT keys, int x, int y)
{
    t_wndStringItem::OnMouseMove(keys, x, y);
    if (!HitTest(x, y, 0)) {
        hoveredCell = lastCell = -1;
        HideStrokeHint();
        return;
    }
    const RECT r = GetRect();
    const int cell = StrokeCellAt(x - r.left, CellWidth());
    if (cell == hoveredCell)
        return;
    hoveredCell = cell;
    if (cell < 0) {
        HideStrokeHint();
    } else {
        if (!m_hint) {
            m_hint = MakeOwned<t_wndHint>();
            if (m_hint &&
                !m_hint->Create(c_strokeHintStyle, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(GetHwnd()), nullptr, nullptr))
                m_hint.reset();
        }
        if (m_hint) {
            m_hint->SetText(StrokeHintText(cell));
            SIZE size = {0, 0};
            m_hint->MeasureHint(size);
            m_hint->Move(r.left + cell * CellWidth() + 5, r.top - 2, size.cx, size.cy, true);
            m_hint->Show(true);
        }
    }
    Invalidate(nullptr);
}

void t_wndCompStringBiHua::OnMouseLeave()
{
    hoveredCell = lastCell = -1;
    Invalidate(nullptr);
    HideStrokeHint();
    t_wndStringItem::OnMouseLeave();
}

bool t_wndCompStringBiHua::OnLButtonUp(UINT keys, int x, int y)
{
    if (top && top->dragState == t_wndTop::e_dragMoving)
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    if (!HitTest(x, y, 0))
        return t_wndStringItem::OnLButtonUp(keys, x, y);
    const RECT r = GetRect();
    int cell = StrokeCellAt(x - r.left, CellWidth());
    if (cell < 0)
        cell = 0;  // a border point types the first stroke
    cursorOffsetX = x - r.left;
    cursorOffsetY = y - r.top;
    cursorRestorePending = true;
    t_uiContext* ui = GetContext();
    ui->Imc().InputStroke(ui->hostWindow, cell);
    return true;
}
