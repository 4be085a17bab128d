// Four small icons kept as alpha masks from the resource library and coloured on demand
// with the text colour of the item that shows them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/error_chain.h"

enum class t_maskKind : int {
    e_name = 0,
    e_cloud = 1,
    e_suggestHelp = 2,
    e_suggestSearch = 3,
};
const int c_maskKindCount = 4;

// One premultiplied BGRA word per mask value for a COLORREF (0xFFFFFFFF counts as white).
void TintMask(const uint8_t* mask, uint32_t* out, size_t count, uint32_t colour);

class t_maskIcons {
public:
    t_maskIcons() = default;
    ~t_maskIcons() { Release(); }
    t_maskIcons(const t_maskIcons&) = delete;
    t_maskIcons& operator=(const t_maskIcons&) = delete;

    // Loads the kind's mask from module (null: Resource.dll) unless it is loaded, then
    // fills its tinted pixels. False when the mask cannot be had.
    bool Tint(t_maskKind kind, uint32_t colour, HMODULE module = nullptr);
    // Decodes the kind's PNG resource and keeps its alpha bytes; a failure leaves the kind
    // as it was.
    bool Load(t_maskKind kind, HMODULE module = nullptr);
    // Takes a mask directly (width x height bytes, copied).
    bool SetMask(t_maskKind kind, const uint8_t* mask, int width, int height);
    void Release();

    // Null until the kind was tinted.
    const uint32_t* Tinted(t_maskKind kind) const { return m_icons[Index(kind)].tinted; }
    SIZE Size(t_maskKind kind) const { return m_icons[Index(kind)].size; }

private:
    struct t_icon {
        uint8_t* mask = nullptr;
        uint32_t* tinted = nullptr;
        SIZE size = {0, 0};
    };
    static int Index(t_maskKind kind) { return static_cast<int>(kind) & 3; }

    t_icon m_icons[c_maskKindCount];
};

// Top-down 32-bit pixels of a picture resource decoded by the picture registry; false
// when the module, resource or decode fails. The caller frees pixels with delete[].
bool LoadResourcePixels(HMODULE module, const wchar_t* name, const wchar_t* type, uint32_t*& pixels, int& width,
                        int& height);
// The same; a picture that decodes but whose pixels cannot be read or held (no pixels, a
// side of 0 or over 4096) adds "获取BITMAP失败!" to errors.
bool LoadResourcePixels(t_errorChain& errors, HMODULE module, const wchar_t* name, const wchar_t* type,
                        uint32_t*& pixels, int& width, int& height);
