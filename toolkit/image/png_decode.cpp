// Streaming PNG decoder for the image loader and the fuzzer.  libpng
// reports errors by longjmp: every function that calls it sets its own
// jump target and keeps only plain data (the stream record) across it.
#include "image/png_decode.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/image_limits.h"
#include "support/regular_file.h"

struct PngStream {
    png_structp png;
    png_infop info;
    FILE* file;
    const uint8_t* data;  // memory source
    size_t size;
    size_t pos;
    const char* name;
    uint32_t width;
    uint32_t height;
    int interlaced;
    int alpha;
    size_t rowBytes;  // of the chosen layout
    uint8_t* whole;   // interlaced pictures: every row, filled at the first read
    png_bytep* rows;
    uint32_t next;    // next row handed out
    int dead;
};

static void fail(png_structp png, png_const_charp message)
{
    PngStream* s = static_cast<PngStream*>(png_get_error_ptr(png));
    fprintf(stderr, "Error: PNG - %s (%s).\n", message, s->name);
    png_longjmp(png, 1);
}

// Warnings (a bad colour profile, an unknown chunk) never stop a load.
static void quiet(png_structp, png_const_charp)
{
}

static void read_memory(png_structp png, png_bytep out, size_t length)
{
    PngStream* s = static_cast<PngStream*>(png_get_io_ptr(png));
    if (length > s->size - s->pos)
        png_error(png, "Read Error");
    memcpy(out, s->data + s->pos, length);
    s->pos += length;
}

static PngStream* new_stream(const char* name)
{
    PngStream* s = static_cast<PngStream*>(calloc(1, sizeof(PngStream)));
    if (s) {
        s->name = name;
        s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s, fail, quiet);
        s->info = s->png ? png_create_info_struct(s->png) : nullptr;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        if (s->png) {
            png_set_crc_action(s->png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
            png_set_option(s->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
        }
#endif
    }
    if (!s || !s->info) {
        fprintf(stderr, "Error: PNG - Out of memory (%s).\n", name);
        png_stream_close(s);
        return nullptr;
    }
    return s;
}

// Reads the header.  Returns 1, or 0 after printing why.
static int read_header(PngStream* s, size_t max_pixels)
{
    if (setjmp(png_jmpbuf(s->png)))
        return 0;
    png_read_info(s->png, s->info);
    uint64_t w = png_get_image_width(s->png, s->info);
    uint64_t h = png_get_image_height(s->png, s->info);
    if (w == 0 || h == 0 || w > PNG_MAX_SIDE || h > PNG_MAX_SIDE || w * h > max_pixels) {
        fprintf(stderr, "Error: PNG - Picture of %llux%llu pixels is not supported (%s).\n",
                (unsigned long long)w, (unsigned long long)h, s->name);
        return 0;
    }
    s->width = (uint32_t)w;
    s->height = (uint32_t)h;
    s->interlaced = png_get_interlace_type(s->png, s->info) != PNG_INTERLACE_NONE;
    s->alpha = (png_get_color_type(s->png, s->info) & PNG_COLOR_MASK_ALPHA) ||
               png_get_valid(s->png, s->info, PNG_INFO_tRNS);
    return 1;
}

static PngStream* finish_open(PngStream* s, size_t max_pixels, int* width, int* height)
{
    if (!read_header(s, max_pixels)) {
        png_stream_close(s);
        return nullptr;
    }
    *width = (int)s->width;
    *height = (int)s->height;
    return s;
}

PngStream* png_stream_open_file(const char* path, int* width, int* height)
{
    FILE* file = regular_file_open(path);
    if (!file) {
        fprintf(stderr, "Error: PNG - Can't open %s\n", path);
        return nullptr;
    }
    PngStream* s = new_stream(path);
    if (!s) {
        fclose(file);
        return nullptr;
    }
    s->file = file;
    png_init_io(s->png, file);
    return finish_open(s, (size_t)IMAGE_MAX_PIXELS, width, height);
}

PngStream* png_stream_open_memory(const uint8_t* data, size_t size, size_t max_pixels, const char* name,
                                  int* width, int* height)
{
    PngStream* s = new_stream(name);
    if (!s)
        return nullptr;
    s->data = data;
    s->size = data ? size : 0;
    png_set_read_fn(s->png, s, read_memory);
    return finish_open(s, max_pixels, width, height);
}

int png_stream_has_alpha(const PngStream* s)
{
    return s && s->alpha;
}

static bool host_is_lsb_first()
{
    const uint16_t one = 1;
    uint8_t first;
    memcpy(&first, &one, 1);
    return first == 1;
}

int png_stream_set_layout(PngStream* s, PngLayout layout)
{
    if (!s || s->dead || s->rowBytes)
        return 0;
    png_structp png = s->png;
    if (setjmp(png_jmpbuf(png))) {
        s->dead = 1;
        return 0;
    }
    // Palettes, small grey samples and transparent colours to 8-bit RGB(A).
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (layout != PNG_LAYOUT_RGBA)
        png_set_strip_alpha(png);
    else if (!s->alpha)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    if (layout == PNG_LAYOUT_NATIVE32) {
        if (host_is_lsb_first())
            png_set_bgr(png);
        png_set_filler(png, 0, host_is_lsb_first() ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, s->info);
    size_t bpp = layout == PNG_LAYOUT_RGB ? 3 : 4;
    if (png_get_rowbytes(png, s->info) != (size_t)s->width * bpp)
        png_error(png, "Unexpected row layout");
    s->rowBytes = (size_t)s->width * bpp;
    return (int)bpp;
}

// Interlaced pictures arrive in seven passes over the whole picture.
static void read_whole(PngStream* s)
{
    s->whole = static_cast<uint8_t*>(malloc(s->rowBytes * s->height));
    s->rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * s->height));
    if (!s->whole || !s->rows)
        png_error(s->png, "Out of memory");
    for (uint32_t y = 0; y < s->height; y++)
        s->rows[y] = s->whole + s->rowBytes * y;
    png_read_image(s->png, s->rows);
}

int png_stream_read(PngStream* s, uint8_t* out, int rows)
{
    if (!s || s->dead || !s->rowBytes)
        return -1;
    if (setjmp(png_jmpbuf(s->png))) {
        s->dead = 1;
        return -1;
    }
    if (s->interlaced && !s->whole)
        read_whole(s);
    int done = 0;
    for (; done < rows && s->next < s->height; done++, s->next++) {
        uint8_t* dst = out + (size_t)done * s->rowBytes;
        if (s->whole)
            memcpy(dst, s->rows[s->next], s->rowBytes);
        else
            png_read_row(s->png, dst, nullptr);
    }
    return done;
}

void png_stream_close(PngStream* s)
{
    if (!s)
        return;
    if (s->png)
        png_destroy_read_struct(&s->png, s->info ? &s->info : nullptr, nullptr);
    if (s->file)
        fclose(s->file);
    free(s->rows);
    free(s->whole);
    free(s);
}
