// The stroke keys of stroke input: a picture of five keys tinted with the skin's text
// colour; hovering a key shows its hint and clicking it types the stroke.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/core/error_chain.h"
#include "ime_ui/windows/base/wnd_string_item.h"

class t_wndHint;

const int c_strokeCellCount = 5;

// The cell of a point dx pixels from the left edge: i when i * cell < dx < (i + 1) * cell;
// -1 on a border or outside.
int StrokeCellAt(int dx, int cellWidth);
// Premultiplied BGRA of one stroke-picture pixel (0x00RRGGBB) tinted with a COLORREF:
// the darker the pixel, the more opaque.
uint32_t TintStrokePixel(uint32_t rgb, uint32_t colour);
// The hint of a cell, null outside 0..4.
const wchar_t* StrokeHintText(int cell);

class t_wndCompStringBiHua : public t_wndStringItem {
public:
    t_wndCompStringBiHua();
    ~t_wndCompStringBiHua() override;

    // First measure while shown loads the picture; (width + 12, height) while shown.
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override;
    bool HitTest(int x, int y, int mode) override;
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseLeave() override;
    bool OnLButtonUp(UINT keys, int x, int y) override;

    // "IDB_BIHUA" of module (null: Resource.dll), tinted with style 5's colour. False
    // (and the item hidden) without picture or colour; a picture that decodes but cannot
    // be read adds "获取BITMAP失败!" to errors.
    bool LoadStrokeBitmap(t_errorChain& errors, HMODULE module = nullptr);
    // Takes top-down 0x00RRGGBB pixels as the stroke picture and tints them.
    bool SetStrokePixels(const uint32_t* pixels, int width, int height, uint32_t colour);

    int CellWidth() const { return bitmapWidth / c_strokeCellCount; }
    const uint32_t* TintedPixels() const { return m_tinted; }

    int bitmapWidth = 0, bitmapHeight = 0;
    int hoveredCell = -1, lastCell = -1;
    bool loadTried = false;

private:
    void HideStrokeHint();

    uint32_t* m_tinted = nullptr;       // top-down premultiplied BGRA
    std::unique_ptr<t_wndHint> m_hint;  // made on first hover
};
