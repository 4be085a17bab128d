/* The host's FreeType on the text of font_text_bench: 1000 CJK characters (40 lines of 25,
 * the ideographs of bench/cjk_lines.h) at 16 pixels. Cold: library started, face opened,
 * every glyph loaded, rendered (8-bit coverage) and kept, the lines measured. Warm: the kept
 * coverage of every character blended in a colour into a 600 x 800 32-bit premultiplied
 * buffer (source over, divisions rounded). Prints the medians in milliseconds.
 *   ft_host_peer <font file> <runs> */
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { LINES = 40, PER_LINE = 25, PIXELS = 16, WIDTH = 600, HEIGHT = LINES * 20 };

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int compare(const void* a, const void* b)
{
    const double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double median(double* v, int n)
{
    qsort(v, n, sizeof(double), compare);
    return v[n / 2];
}

struct glyph {
    FT_BitmapGlyph bitmap;
    int advance;
};

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const int runs = atoi(argv[2]) > 0 ? atoi(argv[2]) : 9;
    double* cold = calloc(runs, sizeof(double));
    double* warm = calloc(runs, sizeof(double));
    uint32_t* buffer = calloc((size_t)WIDTH * HEIGHT, 4);
    static struct glyph glyphs[LINES * PER_LINE];
    for (int r = 0; r < runs; ++r) {
        double start = now_ms();
        FT_Library library;
        FT_Face face;
        if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &face) ||
            FT_Set_Pixel_Sizes(face, 0, PIXELS))
            return 1;
        long width = 0;
        unsigned code = 0x4E00;
        for (int i = 0; i < LINES * PER_LINE; ++i, code += 17) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            FT_Glyph g;
            if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LCD) || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) ||
                FT_Get_Glyph(face->glyph, &g))
                return 1;
            glyphs[i].bitmap = (FT_BitmapGlyph)g;
            glyphs[i].advance = (int)((face->glyph->metrics.horiAdvance + 63) >> 6);
            width += glyphs[i].advance;
        }
        cold[r] = now_ms() - start;
        const int ascent = (int)(face->size->metrics.ascender >> 6);
        start = now_ms();
        const uint32_t blue = 200, green = 30, red = 20;
        for (int line = 0; line < LINES; ++line) {
            int x = 0;
            for (int j = 0; j < PER_LINE; ++j) {
                const struct glyph* g = &glyphs[line * PER_LINE + j];
                const FT_Bitmap* b = &g->bitmap->bitmap;
                const int left = x + g->bitmap->left, top = line * 20 + ascent - g->bitmap->top;
                for (unsigned row = 0; row < b->rows; ++row) {
                    const int y = top + (int)row;
                    if (y < 0 || y >= HEIGHT)
                        continue;
                    const unsigned char* in = b->buffer + (long)b->pitch * row;
                    uint32_t* out = buffer + (size_t)y * WIDTH;
                    for (unsigned col = 0; col < b->width; ++col) {
                        const int px = left + (int)col;
                        const uint32_t c = in[col];
                        if (px < 0 || px >= WIDTH || !c)
                            continue;
                        const uint32_t s = (blue * c / 255) | (green * c / 255) << 8 | (red * c / 255) << 16 | c << 24;
                        const uint32_t t = out[px], keep = 255 - c;
                        uint32_t o = 0;
                        for (int k = 0; k < 32; k += 8) {
                            const uint32_t v = (s >> k & 0xFF) + ((t >> k & 0xFF) * keep + 127) / 255;
                            o |= (v > 255 ? 255 : v) << k;
                        }
                        out[px] = o;
                    }
                }
                x += g->advance;
            }
        }
        warm[r] = now_ms() - start;
        for (int i = 0; i < LINES * PER_LINE; ++i)
            FT_Done_Glyph((FT_Glyph)glyphs[i].bitmap);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        if (width <= 0)
            return 1;
    }
    printf("host FreeType: cold open+measure %.2f ms, warm draw %.2f ms\n", median(cold, runs), median(warm, runs));
    return 0;
}
