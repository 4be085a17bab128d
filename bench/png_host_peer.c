/* The host's libpng on the same PNG files, with the same transforms (expand, strip to 8
 * bits, grey to RGB) and premultiplication, from memory: median milliseconds per file.
 * Built and run by bench/picture_decode_bench.sh. Usage: png_host_peer RUNS FILE... */
#include <png.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

struct input { const unsigned char* data; size_t size, pos; };

static void read_fn(png_structp png, png_bytep out, size_t n)
{
    struct input* in = png_get_io_ptr(png);
    if (in->size - in->pos < n) png_error(png, "Read Error");
    memcpy(out, in->data + in->pos, n);
    in->pos += n;
}

static int decode(const unsigned char* data, size_t size)
{
    struct input in = {data, size, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    unsigned char* image = NULL;
    png_bytep* rows = NULL;
    uint32_t* dib = NULL;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, NULL);
        free(image); free(rows); free(dib);
        return 0;
    }
    png_set_read_fn(png, &in, read_fn);
    png_read_info(png, info);
    int depth = png_get_bit_depth(png, info), type = png_get_color_type(png, info);
    if (depth == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE || depth < 8 || png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    size_t rb = png_get_rowbytes(png, info);
    int ch = png_get_channels(png, info);
    image = malloc(rb * h);
    rows = malloc(sizeof(png_bytep) * h);
    dib = malloc((size_t)w * h * 4);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = image + rb * y;
    png_read_image(png, rows);
    for (png_uint_32 y = 0; y < h; ++y) {
        const unsigned char* p = rows[y];
        uint32_t* o = dib + (size_t)(h - 1 - y) * w;
        for (png_uint_32 x = 0; x < w; ++x, p += ch) {
            uint32_t a = ch == 4 ? p[3] : 255;
            o[x] = a << 24 | (p[0] * a / 255) << 16 | (p[1] * a / 255) << 8 | (p[2] * a / 255);
        }
    }
    png_read_end(png, NULL);
    png_destroy_read_struct(&png, &info, NULL);
    free(image); free(rows); free(dib);
    return 1;
}

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int cmp(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

int main(int argc, char** argv)
{
    int runs = atoi(argv[1]);
    double* times = malloc(sizeof(double) * runs);
    for (int f = 2; f < argc; ++f) {
        FILE* file = fopen(argv[f], "rb");
        if (!file) return 1;
        fseek(file, 0, SEEK_END);
        long size = ftell(file);
        fseek(file, 0, SEEK_SET);
        unsigned char* data = malloc(size);
        if (fread(data, 1, size, file) != (size_t)size) return 1;
        fclose(file);
        for (int r = 0; r < runs; ++r) {
            double start = now_ms();
            if (!decode(data, size)) { fprintf(stderr, "host libpng failed: %s\n", argv[f]); return 1; }
            times[r] = now_ms() - start;
        }
        qsort(times, runs, sizeof(double), cmp);
        const char* name = strrchr(argv[f], '/');
        printf("%s %.3f\n", name ? name + 1 : argv[f], times[runs / 2]);
        free(data);
    }
    return 0;
}
