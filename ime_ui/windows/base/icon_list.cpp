#include "ime_ui/windows/base/icon_list.h"

#include <cwchar>

#include "foundation/core/singleton.h"

uint32_t HashWideKey(const wchar_t* key)
{
    uint32_t h = 0;
    if (!key)
        return 0;
    for (const wchar_t* p = key; *p; ++p) {
        h = h * 16 + static_cast<uint16_t>(*p);
        if (h >= 0x10000000u)
            h ^= (h >> 28) * 0x10000010u;  // clears the top nibble, folds it into bits 4 to 7
    }
    return h;
}

bool t_imageKeyRules::Matches(const t_node* node, t_key key, unsigned hash)
{
    return node->hash == hash && wcscmp(node->key, key) == 0;
}

namespace {

// Pictures drawn as character masks: '#' full colour, '+' half, anything else clear.
uint32_t PixelOf(char c, uint32_t rgb)
{
    if (c == '#')
        return 0xFF000000u | rgb;
    if (c == '+') {
        const uint32_t r = ((rgb >> 16) & 0xFF) / 2, g = ((rgb >> 8) & 0xFF) / 2, b = (rgb & 0xFF) / 2;
        return 0x80000000u | (r << 16) | (g << 8) | b;
    }
    return 0;
}

template <int W, int H>
struct t_maskPicture {
    uint32_t pixels[W * H];
    t_builtinPicture picture;
    t_maskPicture(const char* const (&rows)[H], uint32_t rgb) : picture{pixels, W, H}
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                pixels[y * W + x] = PixelOf(rows[y][x], rgb);
    }
};

// A small person: the name mark of a candidate.
const char* const c_nameRows[9] = {
    "...###...", "..#####..", "..#####..", "...###...", ".........", ".#######.", "#########", "#########", "+#######+",
};

// An "i" in a round badge.
const char* const c_hintRows[16] = {
    ".....++++++.....", "...+########+...", "..############..", ".######..######.",
    ".######..######.", "################", "#####....#######", "#######..#######",
    "#######..#######", "#######..#######", "#######..#######", ".#####....#####.",
    ".##############.", "..############..", "...+########+...", ".....++++++.....",
};

const t_builtinPicture& NamePicture()
{
    static const t_maskPicture<9, 9> picture(c_nameRows, 0x3C78D8);
    return picture.picture;
}

const t_builtinPicture& HintIconPicture()
{
    static const t_maskPicture<16, 16> picture(c_hintRows, 0x2A7FFF);
    return picture.picture;
}

}  // namespace

t_listImagePre::t_listImagePre() : m_map(t_hashMemTriple())
{
    struct t_row {
        const wchar_t* name;
        const t_builtinPicture* picture;
    };
    const t_row rows[] = {{L"IDR_NAME", &NamePicture()}, {L"IDR_HINTICON", &HintIconPicture()}, {nullptr, nullptr}};
    for (const t_row* row = rows; row->name; ++row) {
        t_wideKeyNode* node = m_map.FindOrInsert(row->name);
        if (node)
            node->value = const_cast<t_builtinPicture*>(row->picture);
    }
}

t_listImagePre* t_listImagePre::Instance() { return ImmSingleton<t_listImagePre>::Instance("t_listImagePre"); }

const t_builtinPicture* t_listImagePre::Find(const wchar_t* name) const
{
    const t_wideKeyNode* node = m_map.Find(name);
    return node ? static_cast<const t_builtinPicture*>(node->value) : nullptr;
}
